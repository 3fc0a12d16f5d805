#include "MetadataTrack.h"

#include <limits>
#include <utility>

#include "ToolError.h"

namespace makerec {

namespace {

void identityMatrix(Bytes& b) {
    const uint32_t matrix[9] = {0x00010000, 0, 0, 0, 0x00010000, 0, 0, 0, 0x40000000};
    for (uint32_t v : matrix) {
        b.u32be(v);
    }
}

uint32_t seconds32(int64_t seconds) {
    if (seconds < 0 || seconds > std::numeric_limits<uint32_t>::max()) {
        throw ToolError("the route's start cannot be stored in a movie header");
    }
    return static_cast<uint32_t>(seconds);
}

Bytes sampleEntryHead() {
    Bytes b;
    b.zeros(6);
    b.u16be(1);  // data reference index
    return b;
}

Atom dataInformation() {
    Bytes dref;
    dref.u32be(1);
    dref.append(Atom::full("url ", 0, 1, Bytes()).bytes());  // media is in this file
    return Atom("dinf", std::vector<Atom>{Atom::full("dref", 0, 0, dref)});
}

}  // namespace

MetadataTrack::MetadataTrack(std::string handler, std::string name, Atom sampleEntry,
                             Atom mediaHeader)
    : handler_(std::move(handler)),
      name_(std::move(name)),
      sampleEntry_(std::move(sampleEntry)),
      mediaHeader_(std::move(mediaHeader)) {}

MetadataTrack MetadataTrack::quickTimeText(std::string name) {
    Bytes entry = sampleEntryHead();
    entry.u32be(0);  // display flags
    entry.u32be(0);  // justification
    entry.zeros(6);  // background colour
    entry.zeros(8);  // default text box
    entry.zeros(8);
    entry.u16be(0);  // font number
    entry.u16be(0);  // font face
    entry.u8(0);
    entry.u16be(0);
    for (int i = 0; i < 3; ++i) {
        entry.u16be(0xFFFF);  // foreground colour
    }
    entry.u8(0);  // empty font name

    Bytes gmin;
    gmin.u16be(0x40);  // graphics mode: copy
    for (int i = 0; i < 3; ++i) {
        gmin.u16be(0x8000);
    }
    gmin.u16be(0);  // balance
    gmin.u16be(0);
    Bytes textInfo;
    identityMatrix(textInfo);
    Atom header("gmhd", std::vector<Atom>{Atom::full("gmin", 0, 0, gmin),
                                          Atom("text", std::move(textInfo))});
    return MetadataTrack("text", std::move(name), Atom("text", std::move(entry)),
                         std::move(header));
}

MetadataTrack MetadataTrack::subtitle(std::string name) {
    Bytes entry = sampleEntryHead();
    entry.u32be(0);  // display flags
    entry.u8(1);     // centred
    entry.u8(0xFF);  // at the bottom
    entry.zeros(4);  // background colour
    entry.zeros(8);  // default text box
    entry.u16be(0);  // style: first character
    entry.u16be(0);  // last character
    entry.u16be(1);  // font id
    entry.u8(0);     // face
    entry.u8(18);    // size
    entry.u32be(0xFFFFFFFF);
    Bytes fonts;
    fonts.u16be(1);
    fonts.u16be(1);
    const std::string_view font = "Sans-Serif";
    fonts.u8(static_cast<uint8_t>(font.size()));
    fonts.text(font);
    entry.append(Atom("ftab", std::move(fonts)).bytes());
    return MetadataTrack("sbtl", std::move(name), Atom("tx3g", std::move(entry)),
                         Atom::full("nmhd", 0, 0, Bytes()));
}

MetadataTrack MetadataTrack::timedMetadata(std::string_view format, std::string name) {
    Bytes entry = sampleEntryHead();
    entry.u32be(0);
    return MetadataTrack("meta", std::move(name), Atom(format, std::move(entry)),
                         Atom::full("nmhd", 0, 0, Bytes()));
}

Bytes MetadataTrack::textSample(std::string_view text) {
    if (text.size() > 0xFFFF) {
        throw ToolError("a text sample is longer than 65535 bytes");
    }
    Bytes sample;
    sample.u16be(static_cast<uint16_t>(text.size()));
    sample.text(text);
    return sample;
}

Atom MetadataTrack::trak(uint32_t trackId, uint64_t payloadBase, bool co64,
                         const TrackClock& clock) const {
    const uint32_t created = seconds32(clock.created);
    const auto count = static_cast<uint32_t>(samples_.size());

    Bytes tkhd;
    tkhd.u32be(created);
    tkhd.u32be(created);
    tkhd.u32be(trackId);
    tkhd.u32be(0);
    tkhd.u32be(clock.seconds * clock.movieTimescale);
    tkhd.zeros(8);
    tkhd.u16be(0);  // layer
    tkhd.u16be(0);  // alternate group
    tkhd.u16be(0);  // volume
    tkhd.u16be(0);
    identityMatrix(tkhd);
    tkhd.u32be(0);  // width
    tkhd.u32be(0);  // height

    Bytes mdhd;
    mdhd.u32be(created);
    mdhd.u32be(created);
    mdhd.u32be(kTimescale);
    mdhd.u32be(clock.seconds * kTimescale);
    mdhd.u16be(0x55C4);  // "und"
    mdhd.u16be(0);

    Bytes hdlr;
    hdlr.u32be(0);
    hdlr.fourcc(handler_);
    hdlr.zeros(12);
    hdlr.text(name_);
    hdlr.u8(0);

    Bytes stsd;
    stsd.u32be(1);
    stsd.append(sampleEntry_.bytes());

    // Every sample lasts one second.
    Bytes stts;
    stts.u32be(1);
    stts.u32be(count);
    stts.u32be(kTimescale);

    Bytes stsc;
    stsc.u32be(1);
    stsc.u32be(1);
    stsc.u32be(1);
    stsc.u32be(1);

    Bytes stsz;
    stsz.u32be(0);
    stsz.u32be(count);
    Bytes offsets;
    offsets.u32be(count);
    for (const PayloadSlice& s : samples_) {
        stsz.u32be(s.size);
        const uint64_t at = payloadBase + s.offset;
        if (co64) {
            offsets.u64be(at);
        } else {
            if (at > std::numeric_limits<uint32_t>::max()) {
                throw ToolError("a chunk offset beyond 4 GiB needs co64");
            }
            offsets.u32be(static_cast<uint32_t>(at));
        }
    }

    Atom stbl("stbl",
              std::vector<Atom>{Atom::full("stsd", 0, 0, stsd), Atom::full("stts", 0, 0, stts),
                                Atom::full("stsc", 0, 0, stsc), Atom::full("stsz", 0, 0, stsz),
                                Atom::full(co64 ? "co64" : "stco", 0, 0, offsets)});
    Atom minf("minf", std::vector<Atom>{mediaHeader_, dataInformation(), std::move(stbl)});
    Atom mdia("mdia", std::vector<Atom>{Atom::full("mdhd", 0, 0, mdhd),
                                        Atom::full("hdlr", 0, 0, hdlr), std::move(minf)});
    // Enabled and part of the movie, as cameras mark their GPS tracks.
    return Atom("trak", std::vector<Atom>{Atom::full("tkhd", 0, 3, tkhd), std::move(mdia)});
}

void MetadataTrack::addTextSample(Bytes& payload, std::string_view text) {
    const Bytes sample = textSample(text);
    addSample(PayloadSlice{payload.size(), static_cast<uint32_t>(sample.size())});
    payload.append(sample);
}

}  // namespace makerec
