#include "services/SnapshotFile.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

QString SnapshotFile::withExtension(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".jpg") : path;
}

bool SnapshotFile::write(const QImage& picture, const QString& path, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return false;
    };
    if (picture.isNull()) {
        return fail(QStringLiteral("no picture of the video is shown yet"));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(kQuality);
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB888))) {
        file.cancelWriting();
        return fail(writer.errorString());
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}
