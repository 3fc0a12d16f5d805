#pragma once

#include <memory>

class QString;
class SkinDocument;

// Reads and checks a skin file: a UTF-8 JSON document (named .mp4 or .MP4 like the rest of
// the program's files) and the pictures it names, relative to the skin file's folder.
// A file that is missing or faulty gives nothing, and error then names the file, the part
// of it (element, area, image, title) and the fault, for example
//   skin/control/MediaControl1.mp4: element "volume": slider without a range
class SkinReader {
  public:
    static std::shared_ptr<const SkinDocument> read(const QString& path, QString* error);
};
