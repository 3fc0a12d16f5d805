#include "Layout.h"

#include <array>
#include <string_view>
#include <utility>

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

constexpr std::array<std::string_view, 12> kNames = {
    "novatek",   "novatek-a119", "novatek-scaled", "novatek-decimal", "novatek-iqs", "nmea-text",
    "nmea-sbtl", "thinkware",    "blackvue",       "70mai",           "gopro",       "none"};

// The Novatek layouts by name, each with the record its blocks carry.
constexpr std::array<std::pair<std::string_view, NovatekLayout::Record>, 5> kNovatek = {{
    {"novatek", NovatekLayout::Record::Classic},
    {"novatek-a119", NovatekLayout::Record::A119},
    {"novatek-scaled", NovatekLayout::Record::Scaled},
    {"novatek-decimal", NovatekLayout::Record::Decimal},
    {"novatek-iqs", NovatekLayout::Record::Iqs},
}};

}  // namespace

std::unique_ptr<Layout> Layout::create(const Options& o) {
    const std::string& name = o.layout;
    for (auto [novatek, record] : kNovatek) {
        if (name == novatek) {
            return std::make_unique<NovatekLayout>(
                record, o.blockSize.value_or(NovatekLayout::defaultBlockSize(record)), o.index,
                o.localTime);
        }
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

bool Layout::isNovatek(const std::string& name) {
    for (auto [novatek, record] : kNovatek) {
        if (name == novatek) {
            return true;
        }
    }
    return false;
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
