#pragma once

#include <QString>

class QImage;

// A snapshot written as a JPEG file, whole or not at all: an existing file of that name is
// replaced only once the new picture has been written in full.
class SnapshotFile {
  public:
    static constexpr int kQuality = 92;

    // A name typed without an extension gets ".jpg"; any other name stays as it is.
    static QString withExtension(const QString& path);
    // False, with the reason in error, when the picture is empty or the file cannot be written.
    static bool write(const QImage& picture, const QString& path, QString* error);
};
