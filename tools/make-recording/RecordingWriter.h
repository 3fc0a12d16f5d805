#pragma once

#include <string>

namespace makerec {

class Options;
class Route;
class SourceMovie;
struct Embedding;

// Lays the recording out and writes it: ftyp, the layout's top-level boxes, then mdat and
// moov in the order cameras use (or moov first), with the options that make damaged and
// very large files.
class RecordingWriter {
  public:
    RecordingWriter(const SourceMovie& source, const Embedding& embedding, const Route& route,
                    const Options& options);

    void write(const std::string& path) const;

  private:
    const SourceMovie& source_;
    const Embedding& embedding_;
    const Route& route_;
    const Options& options_;
};

}  // namespace makerec
