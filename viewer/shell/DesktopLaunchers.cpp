#include "shell/DesktopLaunchers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "shell/AppPaths.h"
#include "shell/DesktopEntry.h"

const QString DesktopLaunchers::kFixedName = QStringLiteral("Harventis DVR Tools");
const QString DesktopLaunchers::kIconFileName = QStringLiteral("harventis-dvr-tools.svg");

namespace {

const QString kExtension = QStringLiteral(".desktop");

// File managers run only launchers marked executable; 0755.
constexpr QFileDevice::Permissions kLauncherMode =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser | QFileDevice::ReadGroup |
    QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

bool writeLauncher(const QString& folder, const QString& fileName, const QByteArray& text) {
    if (!QDir().mkpath(folder)) {
        return false;
    }
    const QString path = folder + u'/' + fileName;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        return false;
    }
    return QFile::setPermissions(path, kLauncherMode);
}

}  // namespace

DesktopLaunchers::DesktopLaunchers(QString programFileName)
    : m_programFileName(std::move(programFileName)) {}

bool DesktopLaunchers::create(const QString& caption, const QString& target) const {
    if (target.isEmpty() || caption.trimmed().isEmpty() || caption.contains(u'/')) {
        return false;
    }
    const QFileInfo targetInfo(target);
    QString program = target;
    QString folder = targetInfo.absolutePath();
    if (targetInfo.isDir()) {
        folder = targetInfo.absoluteFilePath();
        program = folder + u'/' + m_programFileName;
    }
    const QByteArray text =
        DesktopEntry::launcher(caption, program, folder, folder + u'/' + kIconFileName);
    const QString fileName = caption + kExtension;

    if (!writeLauncher(AppPaths::desktopFolder(), fileName, text)) {
        return false;
    }
    if (!writeLauncher(AppPaths::applicationsFolder() + u'/' + kFixedName, fileName, text)) {
        return false;
    }
    // The result is settled before the scratch folder step: a folder that is already there
    // changes nothing.
    QDir().mkpath(AppPaths::scratchFolder());
    return true;
}

bool DesktopLaunchers::remove() const {
    const QString launcher = AppPaths::desktopFolder() + u'/' + kFixedName + kExtension;
    const QFileInfo info(launcher);
    if (!(info.exists() || info.isSymLink()) || info.isDir() || !QFile::remove(launcher)) {
        return false;
    }
    QDir(AppPaths::scratchFolder()).removeRecursively();
    return true;
}
