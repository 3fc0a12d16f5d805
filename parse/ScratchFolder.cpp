#include "ScratchFolder.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/tmp";
}

}  // namespace

std::string ScratchFolder::path() {
    std::string cache;
    // The base directory rules: a relative value is invalid and is ignored.
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/') {
        cache = xdg;
    } else {
        cache = homeFolder() + "/.cache";
    }
    while (cache.size() > 1 && cache.back() == '/') {
        cache.pop_back();
    }
    return cache + "/" + kFolderName;
}

std::string ScratchFolder::documentPath() {
    return path() + "/" + kDocumentName;
}

std::string ScratchFolder::windowsDocumentPath(const std::string& programPath) {
    size_t slash = programPath.substr(0, 10).find('\\');
    if (slash == std::string::npos) {
        return {};
    }
    return programPath.substr(0, slash + 1) + "\\" + kFolderName + "\\" + kDocumentName;
}

std::string ScratchFolder::documentPathFor(const std::string& programPath) {
    std::string windows = windowsDocumentPath(programPath);
    return windows.empty() ? documentPath() : windows;
}
