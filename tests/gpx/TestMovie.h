#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds small but well-formed movies in memory: a file type box, the media data, and a
// movie with a header and any number of tracks whose samples live in the media data.
class TestMovie {
  public:
    struct Track {
        std::string handler = "text";  // hdlr handler type
        std::string format = "text";   // sample entry type
        uint32_t timescale = 1000;
        uint32_t delta = 1000;  // every sample lasts this many ticks
        std::vector<std::vector<uint8_t>> samples;
        int samplesPerChunk = 1;
        // A damaged table: every chunk points at the bytes of the first sample, which alone
        // is stored (one sample a chunk).
        bool allAtFirstSample = false;
    };

    TestMovie& addTrack(Track t) {
        tracks_.push_back(std::move(t));
        return *this;
    }
    // Boxes placed at the top level between the file type box and the media data.
    TestMovie& addTopLevel(std::vector<uint8_t> box) {
        topLevel_.push_back(std::move(box));
        return *this;
    }
    // Boxes placed inside the movie box after the tracks (e.g. an index box).
    TestMovie& addMovieChild(std::vector<uint8_t> box) {
        movieChildren_.push_back(std::move(box));
        return *this;
    }
    // Raw bytes appended to the media data after the samples; returns their file offset
    // once built (see payloadOffset()).
    TestMovie& setExtraMedia(std::vector<uint8_t> bytes) {
        extraMedia_ = std::move(bytes);
        return *this;
    }

    TestMovie& durationSeconds(double s) {
        duration_ = s;
        return *this;
    }
    TestMovie& creationTime1904(uint64_t t) {
        creation_ = t;
        return *this;
    }
    TestMovie& moovFirst(bool on = true) {
        moovFirst_ = on;
        return *this;
    }
    TestMovie& largeMdat(bool on = true) {
        largeMdat_ = on;
        return *this;
    }
    TestMovie& co64(bool on = true) {
        co64_ = on;
        return *this;
    }
    TestMovie& withoutMovie(bool on = true) {
        withoutMovie_ = on;
        return *this;
    }

    std::vector<uint8_t> build();

    // After build(): where the extra media bytes start in the file.
    uint64_t extraMediaOffset() const { return extraOffset_; }

  private:
    std::vector<uint8_t> buildMovie(uint64_t mediaStart) const;

    std::vector<Track> tracks_;
    std::vector<std::vector<uint8_t>> topLevel_;
    std::vector<std::vector<uint8_t>> movieChildren_;
    std::vector<uint8_t> extraMedia_;
    double duration_ = 10.0;
    uint64_t creation_ = 0;
    bool moovFirst_ = false;
    bool largeMdat_ = false;
    bool co64_ = false;
    bool withoutMovie_ = false;
    uint64_t extraOffset_ = 0;
};
