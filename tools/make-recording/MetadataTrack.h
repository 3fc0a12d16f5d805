#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Atom.h"
#include "PayloadSlice.h"

namespace makerec {

// Times every new track shares with the movie.
struct TrackClock {
    int64_t created = 0;  // seconds since 1904
    uint32_t movieTimescale = 1000;
    uint32_t seconds = 0;  // the route's length
};

// A track of one-second samples (text, subtitles or timed metadata) whose sample data sits in
// the GPS payload. Builds its own trak once the payload's place in the file is known.
class MetadataTrack {
  public:
    static constexpr uint32_t kTimescale = 1000;

    // QuickTime text: handler 'text', sample entry 'text'.
    static MetadataTrack quickTimeText(std::string name);
    // Subtitles: handler 'sbtl', sample entry 'tx3g'.
    static MetadataTrack subtitle(std::string name);
    // Timed metadata: handler 'meta', sample entry of the given format ('gpmd').
    static MetadataTrack timedMetadata(std::string_view format, std::string name);

    // A text sample: u16 BE length, then the text.
    static Bytes textSample(std::string_view text);

    void addSample(PayloadSlice slice) { samples_.push_back(slice); }
    // Appends a text sample to the payload and takes it as the track's next sample.
    void addTextSample(Bytes& payload, std::string_view text);
    const std::vector<PayloadSlice>& samples() const { return samples_; }
    const std::string& handler() const { return handler_; }

    // Chunk offsets are payloadBase plus each sample's place in the payload; one sample per
    // chunk, as cameras that interleave write them.
    Atom trak(uint32_t trackId, uint64_t payloadBase, bool co64, const TrackClock& clock) const;

  private:
    MetadataTrack(std::string handler, std::string name, Atom sampleEntry, Atom mediaHeader);

    std::string handler_;
    std::string name_;
    Atom sampleEntry_;
    Atom mediaHeader_;
    std::vector<PayloadSlice> samples_;
};

}  // namespace makerec
