#include "shell/AppPaths.h"

#include <QDir>
#include <QStandardPaths>
#include <QString>

#include "ScratchFolder.h"

QString AppPaths::settingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/harventis-dvr-tools/mtconfig.mp4");
}

QString AppPaths::scratchFolder() {
    return QString::fromStdString(ScratchFolder::path());
}

QString AppPaths::desktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString AppPaths::applicationsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/applications");
}
