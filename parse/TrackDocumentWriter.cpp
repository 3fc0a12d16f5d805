#include "TrackDocumentWriter.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::string_view kLine = "\r\n";     // a plain line end
constexpr std::string_view kTwice = "\r\r\n";  // a template ending in CR LF, then LF → CR LF

// The C locale's "%f": to_chars with six fixed digits prints exactly what printf prints, at
// a fraction of the cost, which matters for an hour-long recording.
void appendFloat(std::string& out, std::string_view open, double v, std::string_view close) {
    char buf[400];  // "%f" of a double is at most ~320 characters
    out += open;
    if (std::isfinite(v)) {
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
        out.append(buf, static_cast<size_t>(r.ptr - buf));
    } else {
        int n = std::snprintf(buf, sizeof buf, "%f", v);
        out.append(buf, n > 0 ? static_cast<size_t>(n) : 0);
    }
    out += close;
}

void appendInt(std::string& out, std::string_view open, int v, std::string_view close) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out += open;
    out.append(buf, static_cast<size_t>(r.ptr - buf));
    out += close;
}

// Creates a new file beside path under a name nobody else uses, with the permissions the
// user's umask gives an ordinary file (mkstemp would make it private, and setting a fixed
// mode afterwards would ignore the umask). Returns the descriptor, or -1.
int createTemporary(const std::string& path, std::string& temp) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path + ".";
        for (int i = 0; i < 6; ++i) {
            temp += kLetters[random() % (sizeof kLetters - 1)];
        }
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

std::string TrackDocumentWriter::formatFloat(double v) {
    std::string out;
    appendFloat(out, {}, v, {});
    return out;
}

bool TrackDocumentWriter::emit(const GPX_DATA& data,
                               const std::function<bool(const std::string&)>& sink) {
    constexpr size_t kPiece = 64 * 1024;
    std::string out;
    int count = data.pSamples != nullptr && data.nCount > 0 ? data.nCount : 0;
    out.reserve(kPiece + 1024);
    out += "<?xml version=\"1.0\"?>";
    out += kLine;
    out += "<versionx x=\"1.0\">";
    out += kLine;
    appendFloat(out, "<Duration>", data.dDuration, "</Duration>");
    out += kTwice;
    for (int i = 0; i < count; ++i) {
        const GPX_SAMPLE& s = data.pSamples[i];
        out += "\t<gpsinfo>";
        out += kLine;
        appendInt(out, "\t\t<Status>", s.nStatus, "</Status>");
        out += kTwice;
        appendFloat(out, "\t\t<Latitude>", s.dLatitude, "</Latitude>");
        out += kTwice;
        appendFloat(out, "\t\t<Longitude>", s.dLongitude, "</Longitude>");
        out += kTwice;
        appendFloat(out, "\t\t<Angle>", s.dAngle, "</Angle>");
        out += kTwice;
        appendFloat(out, "\t\t<Speed>", s.dSpeed, "</Speed>");
        out += kTwice;
        appendInt(out, "\t\t<utc_Year>", s.nYear, "</utc_Year>");
        out += kTwice;
        appendInt(out, "\t\t<utc_Month>", s.nMonth, "</utc_Month>");
        out += kTwice;
        appendInt(out, "\t\t<utc_Day>", s.nDay, "</utc_Day>");
        out += kTwice;
        appendInt(out, "\t\t<utc_Hour>", s.nHour, "</utc_Hour>");
        out += kTwice;
        appendInt(out, "\t\t<utc_Minute>", s.nMinute, "</utc_Minute>");
        out += kTwice;
        appendInt(out, "\t\t<utc_Second>", s.nSecond, "</utc_Second>");
        out += kTwice;
        appendFloat(out, "\t\t<G_sum>", s.dGSum, "</G_sum>");
        out += kTwice;
        appendFloat(out, "\t\t<G_x>", s.dGx, "</G_x>");
        out += kTwice;
        appendFloat(out, "\t\t<G_y>", s.dGy, "</G_y>");
        out += kTwice;
        appendFloat(out, "\t\t<G_z>", s.dGz, "</G_z>");
        out += kTwice;
        out += "\t</gpsinfo>";
        out += kLine;
        if (out.size() >= kPiece) {
            if (!sink(out)) {
                return false;
            }
            out.clear();
        }
    }
    out += "</versionx>";
    out += kLine;
    return sink(out);
}

std::string TrackDocumentWriter::render(const GPX_DATA& data) {
    std::string document;
    emit(data, [&](const std::string& piece) {
        document += piece;
        return true;
    });
    return document;
}

bool TrackDocumentWriter::writeFile(const std::string& path, const GPX_DATA& data) {
    std::string temp;
    int fd = createTemporary(path, temp);
    if (fd < 0) {
        return false;
    }
    bool ok = emit(data, [fd](const std::string& piece) {
        size_t done = 0;
        while (done < piece.size()) {
            ssize_t n = ::write(fd, piece.data() + done, piece.size() - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            done += static_cast<size_t>(n);
        }
        return true;
    });
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
