#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DateTime.h"

namespace makerec {

// What the command line asked for. Only checks that need nothing but the arguments are made
// here; everything that depends on the route is settled when the recording is made.
class Options {
  public:
    // Throws ToolError with a one-line reason.
    static Options parse(const std::vector<std::string>& args);
    static std::string usage();
    // "4G", "512K", "0x400", "1000": bytes.
    static std::optional<uint64_t> byteCount(const std::string& text);

    bool help = false;

    std::string layout;
    std::string out;
    std::string routePath;
    std::optional<size_t> synthSeconds;
    std::optional<DateTime> start;  // --synth only
    std::string writeRoute;

    std::optional<int> width;  // --size
    std::optional<int> height;
    std::optional<int> fps;
    bool audio = true;

    bool moovFirst = false;
    bool largeMdat = false;
    bool co64 = false;
    uint64_t pad = 0;
    bool padAfter = false;
    bool truncate = false;
    std::optional<uint64_t> cutAt;

    // Novatek layouts.
    bool index = true;
    std::optional<uint32_t> blockSize;  // else the layout's own
    bool localTime = false;             // novatek-a119 only
};

}  // namespace makerec
