#include "ExifToolOracle.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

std::optional<ExifToolOracle> ExifToolOracle::run(const std::string& path) {
    std::string cmd =
        "TZ=UTC exiftool -ee -n -G3 -s -a -api QuickTimeUTC -api LargeFileSupport=1 '" + path +
        "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe) {
        return std::nullopt;
    }
    ExifToolOracle oracle;
    std::map<int, Document> byNumber;
    char buf[1 << 16];
    bool any = false;
    while (std::fgets(buf, sizeof buf, pipe.get()) != nullptr) {
        std::string line(buf);
        any = true;
        // "[Doc12]         GPSLatitude                     : -34.6037231445313"
        if (line.rfind("[Doc", 0) != 0) {
            continue;
        }
        size_t close = line.find(']');
        size_t colon = line.find(" : ");
        if (close == std::string::npos || colon == std::string::npos) {
            continue;
        }
        int doc = std::atoi(line.substr(4, close - 4).c_str());
        std::string tag = line.substr(close + 1, colon - close - 1);
        tag.erase(0, tag.find_first_not_of(' '));
        tag.erase(tag.find_last_not_of(' ') + 1);
        std::string value = line.substr(colon + 3);
        while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) {
            value.pop_back();
        }
        byNumber[doc][tag].push_back(value);
    }
    if (!any) {
        return std::nullopt;
    }
    for (auto& [n, d] : byNumber) {
        oracle.documents_.push_back(std::move(d));
    }
    return oracle;
}

std::optional<std::string> ExifToolOracle::text(const Document& d, const std::string& tag,
                                                size_t i) {
    auto it = d.find(tag);
    if (it == d.end() || it->second.size() <= i) {
        return std::nullopt;
    }
    return it->second[i];
}

std::optional<double> ExifToolOracle::number(const Document& d, const std::string& tag, size_t i) {
    auto t = text(d, tag, i);
    if (!t) {
        return std::nullopt;
    }
    char* end = nullptr;
    double v = std::strtod(t->c_str(), &end);
    if (end == t->c_str()) {
        return std::nullopt;
    }
    return v;
}
