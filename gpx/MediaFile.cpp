#include "MediaFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gpx {

MediaFile::~MediaFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int MediaFile::open(const std::string& path) {
    // Only a regular file is a recording. Anything else is refused before it is opened, as
    // opening a device may do something; and the file is opened without blocking, because
    // opening a named pipe for reading (one put in the file's place meanwhile) waits for a
    // writer that may never come. The flag is cleared before any read.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return errno != 0 ? errno : EIO;
    }
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        return err;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    if (int flags = ::fcntl(fd, F_GETFL); flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    // A file we may open but not read (a folder on some systems, a broken medium) is
    // unreadable too; find out now rather than reading it as an empty recording.
    char probe = 0;
    if (st.st_size > 0 && ::pread(fd, &probe, 1, 0) < 0) {
        int err = errno;
        ::close(fd);
        return err;
    }
    fd_ = fd;
    size_ = static_cast<uint64_t>(st.st_size);
    return 0;
}

void MediaFile::openMemory(std::vector<uint8_t> bytes) {
    memory_ = std::move(bytes);
    inMemory_ = true;
    size_ = memory_.size();
}

size_t MediaFile::read(uint64_t offset, void* out, size_t n) const {
    if (offset >= size_ || n == 0) {
        return 0;
    }
    uint64_t available = size_ - offset;
    if (n > available) {
        n = static_cast<size_t>(available);
    }
    size_t done = 0;
    if (inMemory_) {
        std::memcpy(out, memory_.data() + offset, n);
        done = n;
    } else if (n <= kSmallRead) {
        bool inWindow = offset >= windowStart_ && offset - windowStart_ <= window_.size() &&
                        n <= window_.size() - (offset - windowStart_);
        if (!inWindow) {
            window_.resize(kWindowBytes);
            window_.resize(readFile(offset, window_.data(), window_.size()));
            windowStart_ = offset;
        }
        done = std::min(n, window_.size() - static_cast<size_t>(offset - windowStart_));
        std::memcpy(out, window_.data() + (offset - windowStart_), done);
    } else {
        done = readFile(offset, static_cast<uint8_t*>(out), n);
    }
    bytesRead_ += done;
    return done;
}

size_t MediaFile::readFile(uint64_t offset, uint8_t* out, size_t n) const {
    size_t done = 0;
    while (done < n) {
        ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

std::vector<uint8_t> MediaFile::bytes(uint64_t offset, size_t n) const {
    if (offset >= size_) {
        return {};
    }
    uint64_t available = size_ - offset;
    if (n > available) {
        n = static_cast<size_t>(available);
    }
    std::vector<uint8_t> out(n);
    out.resize(read(offset, out.data(), n));
    return out;
}

}  // namespace gpx
