// The least any extraction of a recording has to do, for scripts/bench to time Parse against:
// start, read the movie's headers, make one small read per GPS block or text sample, and
// write a track document of the given size beside Parse's.
//
//   bench_floor RECORDING DOCUMENT_BYTES
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Bytes.h"
#include "MediaFile.h"
#include "MovieReader.h"
#include "SampleTable.h"
#include "ScratchFolder.h"

namespace {

// Where each block an index names starts, or each sample of the first text track.
std::vector<uint64_t> gpsPieces(const gpx::MediaFile& file, const gpx::MovieInfo& movie) {
    std::vector<uint64_t> at;
    if (movie.novatekIndex) {
        auto index = file.bytes(movie.novatekIndex->payload, movie.novatekIndex->payloadSize());
        for (size_t i = 8; gpx::bytes::has(index, i, 8); i += 8) {
            if (uint32_t offset = gpx::bytes::be32(index, i); offset != 0) {
                at.push_back(offset);
            }
        }
        return at;
    }
    for (const gpx::TrackInfo& track : movie.tracks) {
        for (const gpx::Sample& s : gpx::SampleTable::read(file, track)) {
            at.push_back(s.offset);
        }
        if (!at.empty()) {
            break;
        }
    }
    return at;
}

bool writeDocument(size_t bytes) {
    const std::string path = ScratchFolder::path() + "/floor.kml";
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    const std::string piece(64 * 1024, 'x');
    bool ok = true;
    for (size_t done = 0; ok && done < bytes; done += piece.size()) {
        size_t n = std::min(piece.size(), bytes - done);
        ok = ::write(fd, piece.data(), n) == static_cast<ssize_t>(n);
    }
    ok = ::close(fd) == 0 && ok;
    return ok && std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_floor RECORDING DOCUMENT_BYTES\n");
        return 2;
    }
    gpx::MediaFile file;
    if (file.open(argv[1]) != 0) {
        return 1;
    }
    gpx::MovieInfo movie = gpx::MovieReader::read(file);
    uint8_t head[512];
    for (uint64_t at : gpsPieces(file, movie)) {
        file.read(at, head, sizeof head);
    }
    return writeDocument(std::strtoull(argv[2], nullptr, 10)) ? 0 : 1;
}
