#pragma once

#include <string>

namespace makerec {

// A private directory for ffmpeg's intermediate movie and its log, removed with everything
// in it when the tool is done, whether it succeeded or not.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace makerec
