#include "Options.h"

#include <charconv>
#include <limits>

#include "Layout.h"
#include "Route.h"
#include "ToolError.h"

namespace makerec {

namespace {

template <typename T>
std::optional<T> wholeNumber(std::string_view text, int base = 10) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<uint64_t> Options::byteCount(const std::string& text) {
    std::string_view digits = text;
    uint64_t unit = 1;
    if (!digits.empty()) {
        switch (digits.back()) {
            case 'K':
            case 'k':
                unit = uint64_t{1} << 10;
                break;
            case 'M':
            case 'm':
                unit = uint64_t{1} << 20;
                break;
            case 'G':
            case 'g':
                unit = uint64_t{1} << 30;
                break;
            default:
                break;
        }
        if (unit != 1) {
            digits.remove_suffix(1);
        }
    }
    std::optional<uint64_t> value;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        value = wholeNumber<uint64_t>(digits.substr(2), 16);
    } else {
        value = wholeNumber<uint64_t>(digits);
    }
    if (!value || *value > std::numeric_limits<uint64_t>::max() / unit) {
        return std::nullopt;
    }
    return *value * unit;
}

Options Options::parse(const std::vector<std::string>& args) {
    Options o;
    bool sawIndexOption = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw ToolError(name + " needs a value");
            }
            return args[++i];
        };
        auto bytes = [&]() {
            const std::string& text = value();
            const std::optional<uint64_t> count = byteCount(text);
            if (!count) {
                throw ToolError(name + " '" + text + "' is not a byte count like 4096, 512K, 4G");
            }
            return *count;
        };
        if (name == "--help" || name == "-h") {
            o.help = true;
        } else if (name == "--layout") {
            o.layout = value();
        } else if (name == "--route") {
            o.routePath = value();
        } else if (name == "--out") {
            o.out = value();
        } else if (name == "--synth") {
            const std::string& text = value();
            o.synthSeconds = wholeNumber<size_t>(text);
            if (!o.synthSeconds || *o.synthSeconds < 1 || *o.synthSeconds > Route::kMaxSeconds) {
                throw ToolError("--synth '" + text + "' is not a number of seconds (1 to " +
                                std::to_string(Route::kMaxSeconds) + ")");
            }
        } else if (name == "--start") {
            const std::string& text = value();
            o.start = DateTime::parseIso(text);
            if (!o.start || !Route::startFits(*o.start)) {
                throw ToolError("--start '" + text +
                                "' is not a UTC time like 2020-01-01T11:59:58Z in 2000..2039");
            }
        } else if (name == "--write-route") {
            o.writeRoute = value();
        } else if (name == "--size") {
            const std::string& text = value();
            const size_t x = text.find('x');
            const auto w = wholeNumber<int>(std::string_view(text).substr(0, x));
            const auto h = x == std::string::npos
                               ? std::nullopt
                               : wholeNumber<int>(std::string_view(text).substr(x + 1));
            // The encoder's 4:2:0 pictures need even sides.
            if (!w || !h || *w < 16 || *h < 16 || *w > 3840 || *h > 2160 || *w % 2 != 0 ||
                *h % 2 != 0) {
                throw ToolError("--size '" + text + "' is not WxH with even sides 16..3840x2160");
            }
            o.width = *w;
            o.height = *h;
        } else if (name == "--fps") {
            const std::string& text = value();
            o.fps = wholeNumber<int>(text);
            if (!o.fps || *o.fps < 1 || *o.fps > 120) {
                throw ToolError("--fps '" + text + "' is not a frame rate 1..120");
            }
        } else if (name == "--no-audio") {
            o.audio = false;
        } else if (name == "--moov-first") {
            o.moovFirst = true;
        } else if (name == "--large-mdat") {
            o.largeMdat = true;
        } else if (name == "--co64") {
            o.co64 = true;
        } else if (name == "--pad") {
            o.pad = bytes();
        } else if (name == "--pad-after") {
            o.padAfter = true;
        } else if (name == "--no-index") {
            o.index = false;
            sawIndexOption = true;
        } else if (name == "--truncate") {
            o.truncate = true;
        } else if (name == "--cut-at") {
            o.cutAt = bytes();
        } else if (name == "--block-size") {
            const uint64_t size = bytes();
            if (size > 0x1000000) {
                throw ToolError("--block-size is at most 16M");
            }
            o.blockSize = static_cast<uint32_t>(size);
        } else if (name == "--local-time") {
            o.localTime = true;
        } else {
            throw ToolError("unknown option '" + name + "' (see --help)");
        }
    }
    if (o.help) {
        return o;
    }
    if (o.layout.empty()) {
        throw ToolError("--layout is required (one of " + Layout::nameList() + ")");
    }
    if (!Layout::known(o.layout)) {
        throw ToolError("unknown layout '" + o.layout + "' (one of " + Layout::nameList() + ")");
    }
    if (o.out.empty()) {
        throw ToolError("--out is required");
    }
    if (o.routePath.empty() == !o.synthSeconds) {
        throw ToolError("give exactly one of --route FILE and --synth SECONDS");
    }
    if (o.start && !o.synthSeconds) {
        throw ToolError("--start only applies to --synth; a route file names its own start");
    }
    if (o.padAfter && o.pad == 0) {
        throw ToolError("--pad-after needs --pad");
    }
    if (o.truncate && o.largeMdat) {
        throw ToolError("--truncate leaves mdat with size 0, so it cannot also be --large-mdat");
    }
    if ((o.blockSize || sawIndexOption) && !Layout::isNovatek(o.layout)) {
        throw ToolError("--block-size and --no-index only apply to the novatek layouts");
    }
    if (o.localTime && o.layout != "novatek-a119") {
        throw ToolError("--local-time only applies to the novatek-a119 layout");
    }
    return o;
}

std::string Options::usage() {
    return "usage: make-recording --layout LAYOUT (--route ROUTE.txt | --synth SECONDS) --out "
           "OUT.mp4 [options]\n"
           "layouts: " +
           Layout::nameList() +
           "\n"
           "options:\n"
           "  --synth SECONDS      make up a drive instead of reading a route\n"
           "  --start TIME         start of the made-up drive (default 2020-01-01T11:59:58Z)\n"
           "  --write-route FILE   also save the route the recording was made from\n"
           "  --size WxH --fps N   picture (default 320x180 at 25 fps; 160x90 at 1 fps above "
           "10 min)\n"
           "  --no-audio           no sound track\n"
           "  --moov-first         movie header before the media data\n"
           "  --large-mdat         64-bit media data size\n"
           "  --co64               64-bit chunk offsets in every track\n"
           "  --pad BYTES          sparse hole in the media data before the GPS payload\n"
           "  --pad-after          put that hole after the GPS payload instead\n"
           "  --truncate           as after a power cut: no movie header, mdat size 0\n"
           "  --cut-at BYTES       cut the finished file at that length\n"
           "  --no-index           (novatek) no moov/gps index\n"
           "  --block-size N       (novatek) size of each freeGPS block (default 0x400;\n"
           "                       0x4000 for novatek-decimal)\n"
           "  --local-time         (novatek-a119) full year and local clock, as Kenwood\n";
}

}  // namespace makerec
