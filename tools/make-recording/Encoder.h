#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace makerec {

// Runs ffmpeg to make the picture and sound of a recording: its moving test pattern in
// H.264 and a quiet tone in AAC, exactly as many seconds long as the route.
class Encoder {
  public:
    // Beyond ten minutes the defaults favour speed: a smaller, slower picture, thinner sound.
    static constexpr size_t kLongRoute = 600;

    Encoder(int width, int height, int fps, size_t seconds, bool audio);

    std::vector<std::string> arguments(const std::string& outPath) const;
    // Writes the movie to outPath; ffmpeg's messages go to logPath. Throws ToolError with
    // ffmpeg's last message when it fails.
    void run(const std::string& outPath, const std::string& logPath) const;

  private:
    int width_;
    int height_;
    int fps_;
    size_t seconds_;
    bool audio_;
};

}  // namespace makerec
