#include "TestMovie.h"

#include "ByteWriter.h"

std::vector<uint8_t> TestMovie::buildMovie(uint64_t mediaStart) const {
    ByteWriter mvhd;
    mvhd.be32(uint32_t(creation_))
        .be32(uint32_t(creation_))
        .be32(1000)
        .be32(uint32_t(duration_ * 1000 + 0.5))
        .be32(0x00010000)
        .be16(0x0100)
        .zeros(10)
        .zeros(36)
        .zeros(24)
        .be32(uint32_t(tracks_.size() + 1));
    std::vector<uint8_t> moov = ByteWriter::fullBox("mvhd", 0, mvhd.data());

    uint64_t offset = mediaStart;
    for (const Track& t : tracks_) {
        ByteWriter mdhd;
        mdhd.be32(0)
            .be32(0)
            .be32(t.timescale)
            .be32(uint32_t(t.samples.size() * t.delta))
            .be16(0)
            .be16(0);
        ByteWriter hdlr;
        hdlr.be32(0).text(t.handler).zeros(12).text("test\0");
        ByteWriter entry;
        entry.zeros(6).be16(1).zeros(8);
        ByteWriter stsd;
        stsd.be32(1).bytes(ByteWriter::box(t.format, entry.data()));
        ByteWriter stts;
        stts.be32(1).be32(uint32_t(t.samples.size())).be32(t.delta);
        size_t chunks =
            (t.samples.size() + size_t(t.samplesPerChunk) - 1) / size_t(t.samplesPerChunk);
        ByteWriter stsc;
        stsc.be32(1).be32(1).be32(uint32_t(t.samplesPerChunk)).be32(1);
        ByteWriter stsz;
        stsz.be32(0).be32(uint32_t(t.samples.size()));
        for (const auto& s : t.samples) {
            stsz.be32(uint32_t(s.size()));
        }
        ByteWriter stco;
        stco.be32(uint32_t(chunks));
        uint64_t first = offset;
        for (size_t c = 0; c < chunks; ++c) {
            if (co64_) {
                stco.be64(t.allAtFirstSample ? first : offset);
            } else {
                stco.be32(uint32_t(t.allAtFirstSample ? first : offset));
            }
            for (size_t k = c * size_t(t.samplesPerChunk);
                 k < std::min(t.samples.size(), (c + 1) * size_t(t.samplesPerChunk)); ++k) {
                offset += t.allAtFirstSample && k > 0 ? 0 : t.samples[k].size();
            }
        }
        auto stbl = ByteWriter::box(
            "stbl",
            ByteWriter::concat({ByteWriter::fullBox("stsd", 0, stsd.data()),
                                ByteWriter::fullBox("stts", 0, stts.data()),
                                ByteWriter::fullBox("stsc", 0, stsc.data()),
                                ByteWriter::fullBox("stsz", 0, stsz.data()),
                                ByteWriter::fullBox(co64_ ? "co64" : "stco", 0, stco.data())}));
        auto minf = ByteWriter::box("minf", stbl);
        auto mdia = ByteWriter::box(
            "mdia", ByteWriter::concat({ByteWriter::fullBox("mdhd", 0, mdhd.data()),
                                        ByteWriter::fullBox("hdlr", 0, hdlr.data()), minf}));
        auto trak = ByteWriter::box("trak", mdia);
        moov.insert(moov.end(), trak.begin(), trak.end());
    }
    for (const auto& child : movieChildren_) {
        moov.insert(moov.end(), child.begin(), child.end());
    }
    return ByteWriter::box("moov", moov);
}

std::vector<uint8_t> TestMovie::build() {
    ByteWriter media;
    for (const Track& t : tracks_) {
        for (size_t k = 0; k < t.samples.size() && (k == 0 || !t.allAtFirstSample); ++k) {
            media.bytes(t.samples[k]);
        }
    }
    size_t extraAt = media.size();
    media.bytes(extraMedia_);

    std::vector<uint8_t> head =
        ByteWriter::box("ftyp", ByteWriter().text("isom").be32(0x200).text("isommp41").data());
    for (const auto& b : topLevel_) {
        head.insert(head.end(), b.begin(), b.end());
    }
    size_t mdatHeader = largeMdat_ ? 16 : 8;

    // The movie's size does not depend on where the media lands, so build it once to
    // learn its size, then again with the real offsets.
    size_t moovSize = withoutMovie_ ? 0 : buildMovie(0).size();
    uint64_t mediaStart = head.size() + (moovFirst_ ? moovSize : 0) + mdatHeader;
    std::vector<uint8_t> moov = withoutMovie_ ? std::vector<uint8_t>{} : buildMovie(mediaStart);
    extraOffset_ = mediaStart + extraAt;

    ByteWriter mdat;
    if (largeMdat_) {
        mdat.be32(1).text("mdat").be64(16 + media.size());
    } else {
        mdat.be32(uint32_t(8 + media.size())).text("mdat");
    }
    mdat.bytes(media.data());

    ByteWriter file;
    file.bytes(head);
    if (moovFirst_) {
        file.bytes(moov);
    }
    file.bytes(mdat.data());
    if (!moovFirst_) {
        file.bytes(moov);
    }
    return file.take();
}
