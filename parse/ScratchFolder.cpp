#include "ScratchFolder.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

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

std::string ScratchFolder::driveName(std::string_view path) {
    if (path.size() >= 2 && isLetter(path[0]) && path[1] == ':') {
        return std::string(path.substr(0, 2));
    }
    if (path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        // \\server\share: the drive ends before the separator after the share name.
        size_t end = 2;
        int separators = 0;
        while (end < path.size()) {
            if (isSeparator(path[end]) && ++separators == 2) {
                break;
            }
            ++end;
        }
        return std::string(path.substr(0, end));
    }
    return {};
}

std::string ScratchFolder::folderForProgramPath(std::string_view programPath) {
    std::string drive = driveName(programPath);
    return drive.empty() ? path() : drive + "\\" + kFolderName;
}
