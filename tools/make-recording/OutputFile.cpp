#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

#include "Bytes.h"
#include "ToolError.h"

namespace makerec {

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path) {
    throw ToolError(what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
    std::string pattern = target_ + ".partial-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = mkstemp(name.data());
    if (fd_ < 0) {
        fail("cannot create", pattern);
    }
    temporary_ = name.data();
    // mkstemp makes the file private; a recording is an ordinary file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, 0666 & ~mask);
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) {
        close(fd_);
    }
    if (!committed_) {
        unlink(temporary_.c_str());
    }
}

void OutputFile::write(const Bytes& bytes) {
    write(bytes.data(), bytes.size());
}

void OutputFile::write(const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("cannot write", temporary_);
        }
        data += written;
        size -= static_cast<size_t>(written);
        position_ += static_cast<uint64_t>(written);
    }
}

void OutputFile::skip(uint64_t count) {
    position_ += count;
    if (lseek(fd_, static_cast<off_t>(position_), SEEK_SET) < 0) {
        fail("cannot seek in", temporary_);
    }
}

void OutputFile::copyFrom(const std::string& path, uint64_t offset, uint64_t size) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in) {
        throw ToolError("cannot read " + path);
    }
    std::vector<char> buffer(1 << 20);
    while (size > 0) {
        const size_t want = size < buffer.size() ? static_cast<size_t>(size) : buffer.size();
        if (!in.read(buffer.data(), static_cast<std::streamsize>(want))) {
            throw ToolError("ffmpeg's movie " + path + " ended early");
        }
        write(reinterpret_cast<const uint8_t*>(buffer.data()), want);
        size -= want;
    }
}

void OutputFile::commit(std::optional<uint64_t> cutAt) {
    uint64_t length = position_;
    if (cutAt) {
        if (*cutAt > position_) {
            throw ToolError("--cut-at " + std::to_string(*cutAt) + " is beyond the end of the " +
                            std::to_string(position_) + "-byte recording");
        }
        length = *cutAt;
    }
    if (ftruncate(fd_, static_cast<off_t>(length)) != 0) {
        fail("cannot set the length of", temporary_);
    }
    if (close(fd_) != 0) {
        fd_ = -1;
        fail("cannot finish", temporary_);
    }
    fd_ = -1;
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        fail("cannot rename to", target_);
    }
    committed_ = true;
}

}  // namespace makerec
