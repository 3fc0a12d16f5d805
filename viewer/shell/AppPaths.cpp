#include "shell/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QString>

#include "ScratchFolder.h"

namespace {

// The base directory rules: a relative value is invalid and is ignored like an unset one.
// QStandardPaths takes it as it is, which would put the settings below the current folder.
QString xdgFolder(const char* variable, const QString& belowHome) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::cleanPath(value.startsWith(u'/') ? value : QDir::homePath() + belowHome);
}

QString configHome() {
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

// The desktop line of the user-dirs file: "$HOME/…" or an absolute path, quoted; the last
// such line counts. Empty when there is none or it names a relative folder.
QString userDirsDesktop() {
    QFile file(configHome() + QStringLiteral("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QByteArray key = "XDG_DESKTOP_DIR=";
    QString desktop;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith(key)) {
            continue;
        }
        QString value = QFile::decodeName(line.mid(key.size()));
        if (value.size() > 2 && value.startsWith(u'"') && value.endsWith(u'"')) {
            value = value.mid(1, value.size() - 2);
        }
        if (value == QStringLiteral("$HOME") || value.startsWith(QStringLiteral("$HOME/"))) {
            value = QDir::homePath() + value.mid(5);
        }
        desktop = value.startsWith(u'/') ? QDir::cleanPath(value) : QString();
    }
    return desktop;
}

}  // namespace

QString AppPaths::settingsFile() {
    return configHome() + QStringLiteral("/harventis-dvr-tools/mtconfig.mp4");
}

QString AppPaths::handOverFile() {
    return configHome() + QStringLiteral("/harventis-dvr-tools/flow.xml");
}

QString AppPaths::scratchFolder() {
    return QString::fromStdString(ScratchFolder::path());
}

QString AppPaths::desktopFolder() {
    // Read here rather than through QStandardPaths, which looks for the user-dirs file below
    // a relative XDG_CONFIG_HOME as well and takes a relative desktop as it is.
    const QString desktop = userDirsDesktop();
    return desktop.isEmpty() ? QDir::homePath() + QStringLiteral("/Desktop") : desktop;
}

QString AppPaths::applicationsFolder() {
    return xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) +
           QStringLiteral("/applications");
}
