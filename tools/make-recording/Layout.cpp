#include "Layout.h"

#include <array>
#include <string_view>

#include "BlackVueLayout.h"
#include "GoProLayout.h"
#include "NmeaTextLayout.h"
#include "NovatekLayout.h"
#include "Options.h"
#include "PlainLayout.h"
#include "SeventyMaiLayout.h"
#include "ThinkwareLayout.h"
#include "ToolError.h"

namespace makerec {

namespace {

constexpr std::array<std::string_view, 9> kNames = {"novatek",   "novatek-a119", "nmea-text",
                                                    "nmea-sbtl", "thinkware",    "blackvue",
                                                    "70mai",     "gopro",        "none"};

}  // namespace

std::unique_ptr<Layout> Layout::create(const Options& o) {
    const std::string& name = o.layout;
    if (name == "novatek") {
        return std::make_unique<NovatekLayout>(NovatekLayout::Record::Classic, o.blockSize, o.index,
                                               false);
    }
    if (name == "novatek-a119") {
        return std::make_unique<NovatekLayout>(NovatekLayout::Record::A119, o.blockSize, o.index,
                                               o.localTime);
    }
    if (name == "nmea-text") {
        return std::make_unique<NmeaTextLayout>(NmeaTextLayout::Track::Text);
    }
    if (name == "nmea-sbtl") {
        return std::make_unique<NmeaTextLayout>(NmeaTextLayout::Track::Subtitle);
    }
    if (name == "thinkware") {
        return std::make_unique<ThinkwareLayout>();
    }
    if (name == "blackvue") {
        return std::make_unique<BlackVueLayout>();
    }
    if (name == "70mai") {
        return std::make_unique<SeventyMaiLayout>();
    }
    if (name == "gopro") {
        return std::make_unique<GoProLayout>();
    }
    if (name == "none") {
        return std::make_unique<PlainLayout>();
    }
    throw ToolError("unknown layout '" + name + "' (one of " + nameList() + ")");
}

bool Layout::known(const std::string& name) {
    for (std::string_view known : kNames) {
        if (known == name) {
            return true;
        }
    }
    return false;
}

std::string Layout::nameList() {
    std::string list;
    for (std::string_view name : kNames) {
        list += (list.empty() ? "" : ", ") + std::string(name);
    }
    return list;
}

}  // namespace makerec
