// Any text as a camera's GPS log, with and without a start time.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "BlackVueDecoder.h"
#include "NmeaParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    gpx::NmeaParser::parseText(text);
    gpx::RawTrack track;
    gpx::BlackVueDecoder::readGpsLog(
        text, size > 0 ? std::optional<int64_t>(data[0]) : std::nullopt, track);
    return 0;
}
