// Cuts seeds for the fuzz targets out of recordings and camera logs, so each target starts
// from what cameras really write instead of from nothing:
//   fuzz_nmea       the text of each text or subtitle sample, a BlackVue 'gps ' log, and
//                   pieces of a GPS log file (.gps) ending at a line end
//   fuzz_telemetry  each telemetry sample, each Novatek block the movie's index names, a
//                   BlackVue '3gf ' record list, and pieces of an accelerometer log (.3gf)
//                   ending at a record's end
//   fuzz_mp4        for the recordings after --movie-only, their boxes without the media
//                   data: a real recording is megabytes, too long for a fuzz input, and its
//                   movie header comes last, after the media data
// Usage: seed-cutter OUT-FOLDER FILE... [--movie-only FILE...]
// Writes OUT-FOLDER/<target>/<file's name without ending>-<piece>-<n>. A file that holds
// none of these pieces gives nothing; only a file that cannot be read or written fails.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "BoxReader.h"
#include "Bytes.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "MovieReader.h"
#include "NovatekDecoder.h"
#include "SampleTable.h"

namespace fs = std::filesystem;

namespace {

// An hour of recording has thousands of samples; a few of each kind seed as well, and small
// inputs keep the fuzzers fast.
constexpr size_t kPiecesPerKind = 12;
constexpr uint64_t kLargestPiece = 256 * 1024;
constexpr size_t kLogPiece = 4096;
// An accelerometer record: u32 milliseconds and three i16 readings.
constexpr size_t kRecordBytes = 10;

class Cutter {
  public:
    Cutter(fs::path out, const fs::path& source)
        : out_(std::move(out)), stem_(source.stem().string()) {}

    // Writes bytes as the next piece of kind for target, until the kind has enough.
    void write(const std::string& target, const std::string& kind, std::span<const uint8_t> bytes) {
        size_t& count = counts_[target + '/' + kind];
        if (bytes.empty() || count >= kPiecesPerKind) {
            return;
        }
        const fs::path folder = out_ / target;
        fs::create_directories(folder);
        const fs::path path = folder / (stem_ + '-' + kind + '-' + std::to_string(count++));
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) {
            throw std::runtime_error("cannot write " + path.string());
        }
    }

  private:
    fs::path out_;
    std::string stem_;
    std::map<std::string, size_t> counts_;
};

std::vector<uint8_t> piece(const gpx::MediaFile& file, uint64_t offset, uint64_t size) {
    return file.bytes(offset, static_cast<size_t>(std::min(size, kLargestPiece)));
}

void cutTracks(const gpx::MediaFile& file, const gpx::MovieInfo& movie, Cutter& cutter) {
    using gpx::fourcc;
    for (const gpx::TrackInfo& track : movie.tracks) {
        const bool text = track.handler == fourcc("text") || track.handler == fourcc("sbtl") ||
                          track.handler == fourcc("subt");
        const bool telemetry = track.format == fourcc("gpmd");
        if (!text && !telemetry) {
            continue;
        }
        std::vector<gpx::Sample> samples = gpx::SampleTable::read(file, track);
        samples.resize(std::min(samples.size(), kPiecesPerKind));
        for (const gpx::Sample& sample : samples) {
            const std::vector<uint8_t> bytes = piece(file, sample.offset, sample.size);
            if (telemetry) {
                cutter.write("fuzz_telemetry", "telemetry", bytes);
            } else if (bytes.size() > 2) {
                // A text sample is a 16-bit length and the text.
                const size_t length =
                    std::min<size_t>(gpx::bytes::be16(bytes, 0), bytes.size() - 2);
                cutter.write("fuzz_nmea", "text", std::span(bytes).subspan(2, length));
            }
        }
    }
}

void cutNovatekBlocks(const gpx::MediaFile& file, const gpx::MovieInfo& movie, Cutter& cutter) {
    if (!movie.novatekIndex) {
        return;
    }
    // u32 version, u32 count, then u32 offset and u32 size per second.
    const gpx::Box& index = *movie.novatekIndex;
    const std::vector<uint8_t> entries = piece(file, index.payload, index.payloadSize());
    for (size_t at = 8; gpx::bytes::has(entries, at, 8); at += 8) {
        const uint32_t offset = gpx::bytes::be32(entries, at);
        const uint32_t size = gpx::bytes::be32(entries, at + 4);
        if (offset != 0 && size != 0) {
            cutter.write(
                "fuzz_telemetry", "block",
                piece(file, offset, std::min<uint64_t>(size, gpx::NovatekBlock::kHeadBytes)));
        }
    }
}

void cutCameraBox(const gpx::MediaFile& file, const gpx::MovieInfo& movie, Cutter& cutter) {
    using gpx::fourcc;
    for (const gpx::Box& top : movie.topLevel) {
        if (top.type != fourcc("free")) {
            continue;
        }
        gpx::BoxReader children(file, top.payload, top.end);
        while (auto child = children.next()) {
            if (child->type == fourcc("gps ")) {
                cutter.write("fuzz_nmea", "log", piece(file, child->payload, child->payloadSize()));
            } else if (child->type == fourcc("3gf ")) {
                cutter.write("fuzz_telemetry", "records",
                             piece(file, child->payload, child->payloadSize()));
            }
        }
    }
}

void cutMovieOnly(const gpx::MediaFile& file, const gpx::MovieInfo& movie, Cutter& cutter) {
    std::vector<uint8_t> boxes;
    for (const gpx::Box& top : movie.topLevel) {
        if (top.type != gpx::fourcc("mdat")) {
            const std::vector<uint8_t> bytes = piece(file, top.start, top.end - top.start);
            boxes.insert(boxes.end(), bytes.begin(), bytes.end());
        }
    }
    cutter.write("fuzz_mp4", "movie", boxes);
}

// Pieces of a log of at most kLogPiece bytes, each ending where a line or record ends.
void cutLog(const gpx::MediaFile& file, const std::string& target, bool text, Cutter& cutter) {
    const std::vector<uint8_t> log = piece(file, 0, file.size());
    size_t at = 0;
    while (at < log.size()) {
        size_t end = std::min(log.size(), at + kLogPiece);
        if (end < log.size()) {
            if (text) {
                const auto lineEnd = std::find(std::make_reverse_iterator(log.begin() + end),
                                               std::make_reverse_iterator(log.begin() + at), '\n');
                if (lineEnd.base() != log.begin() + at) {
                    end = static_cast<size_t>(lineEnd.base() - log.begin());
                }
            } else {
                end = at + (end - at) / kRecordBytes * kRecordBytes;
            }
        }
        cutter.write(target, "log", std::span(log).subspan(at, end - at));
        at = end;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: seed-cutter OUT-FOLDER FILE... [--movie-only FILE...]\n";
        return 1;
    }
    try {
        bool movieOnly = false;
        for (int i = 2; i < argc; ++i) {
            const fs::path path = argv[i];
            if (path == "--movie-only") {
                movieOnly = true;
                continue;
            }
            gpx::MediaFile file;
            if (file.open(path) != 0) {
                throw std::runtime_error("cannot read " + path.string());
            }
            Cutter cutter(argv[1], path);
            std::string ending = path.extension().string();
            std::transform(ending.begin(), ending.end(), ending.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (ending == ".gps") {
                cutLog(file, "fuzz_nmea", true, cutter);
            } else if (ending == ".3gf") {
                cutLog(file, "fuzz_telemetry", false, cutter);
            } else {
                const gpx::MovieInfo movie = gpx::MovieReader::read(file);
                cutTracks(file, movie, cutter);
                cutNovatekBlocks(file, movie, cutter);
                cutCameraBox(file, movie, cutter);
                if (movieOnly) {
                    cutMovieOnly(file, movie, cutter);
                }
            }
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "seed-cutter: " << e.what() << '\n';
        return 1;
    }
}
