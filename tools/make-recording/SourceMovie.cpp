#include "SourceMovie.h"

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "ToolError.h"

namespace makerec {

namespace {

Bytes readRange(std::ifstream& in, uint64_t offset, uint64_t size) {
    std::vector<uint8_t> buffer(static_cast<size_t>(size));
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(size));
    if (!in) {
        throw ToolError("cannot read ffmpeg's movie");
    }
    return Bytes(buffer.data(), buffer.size());
}

}  // namespace

SourceMovie::SourceMovie(std::string path) : path_(std::move(path)) {
    std::error_code error;
    const uint64_t fileSize = std::filesystem::file_size(path_, error);
    std::ifstream in(path_, std::ios::binary);
    if (error || !in) {
        throw ToolError("cannot open ffmpeg's movie " + path_);
    }
    bool sawMdat = false;
    uint64_t pos = 0;
    while (pos + 8 <= fileSize) {
        const Bytes header = readRange(in, pos, pos + 16 <= fileSize ? 16 : 8);
        uint64_t size = Bytes::loadU32be(header.data());
        uint64_t headerSize = 8;
        if (size == 1 && header.size() == 16) {
            size = Bytes::loadU64be(header.data() + 8);
            headerSize = 16;
        } else if (size == 0) {
            size = fileSize - pos;
        }
        if (size < headerSize || size > fileSize - pos) {
            throw ToolError("ffmpeg's movie has a damaged box at " + std::to_string(pos));
        }
        const std::string type(reinterpret_cast<const char*>(header.data() + 4), 4);
        if (type == "ftyp") {
            ftyp_ = readRange(in, pos, size);
        } else if (type == "mdat") {
            mediaOffset_ = pos + headerSize;
            mediaSize_ = size - headerSize;
            sawMdat = true;
        } else if (type == "moov") {
            const Bytes body = readRange(in, pos + headerSize, size - headerSize);
            moov_.emplace("moov",
                          Atom::parse(body.data(), body.size(), {"trak", "mdia", "minf", "stbl"}));
        }
        pos += size;
    }
    if (ftyp_.empty() || !sawMdat || !moov_) {
        throw ToolError("ffmpeg's movie lacks ftyp, mdat or moov");
    }
}

}  // namespace makerec
