#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "ByteWriter.h"
#include "MediaFile.h"
#include "MovieReader.h"
#include "SampleTable.h"
#include "TestMovie.h"
#include "TrackSampleReader.h"

using gpx::MediaFile;
using gpx::MovieReader;
using gpx::SampleTable;

namespace {

std::vector<uint8_t> sampleText(const std::string& s) {
    ByteWriter w;
    w.be16(uint16_t(s.size())).text(s);
    return w.take();
}

TestMovie::Track textTrack(int count, int perChunk) {
    TestMovie::Track t;
    t.samplesPerChunk = perChunk;
    for (int i = 0; i < count; ++i) {
        t.samples.push_back(sampleText("sample " + std::to_string(i)));
    }
    return t;
}

}  // namespace

TEST(SampleTable, ListsSamplesAcrossChunkLayoutsAndOffsetWidths) {
    struct Case {
        int perChunk;
        bool co64;
        bool moovFirst;
        bool largeMdat;
    };
    for (Case c : {Case{1, false, false, false}, Case{3, false, false, false},
                   Case{4, true, false, false}, Case{2, false, true, true}}) {
        TestMovie movie;
        movie.addTrack(textTrack(10, c.perChunk))
            .co64(c.co64)
            .moovFirst(c.moovFirst)
            .largeMdat(c.largeMdat);
        MediaFile file;
        file.openMemory(movie.build());
        auto info = MovieReader::read(file);
        ASSERT_EQ(info.tracks.size(), 1u);
        auto samples = SampleTable::read(file, info.tracks[0]);
        ASSERT_EQ(samples.size(), 10u) << c.perChunk;
        for (size_t i = 0; i < samples.size(); ++i) {
            auto bytes = file.bytes(samples[i].offset + 2, samples[i].size - 2);
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "sample " + std::to_string(i));
            EXPECT_DOUBLE_EQ(samples[i].time, static_cast<double>(i));
            EXPECT_DOUBLE_EQ(samples[i].duration, 1.0);
        }
    }
}

namespace {

// A file holding one track whose sample tables are given as raw boxes.
std::vector<uint8_t> movieWithTables(const std::vector<uint8_t>& tables) {
    auto hdlr = ByteWriter::fullBox("hdlr", 0, ByteWriter().be32(0).text("text").zeros(12).data());
    auto mdhd = ByteWriter::fullBox("mdhd", 0,
                                    ByteWriter().be32(0).be32(0).be32(10).be32(100).be32(0).data());
    auto stbl = ByteWriter::box("stbl", tables);
    auto mdia =
        ByteWriter::box("mdia", ByteWriter::concat({mdhd, hdlr, ByteWriter::box("minf", stbl)}));
    auto moov = ByteWriter::box("moov", ByteWriter::box("trak", mdia));
    ByteWriter media;
    for (int i = 0; i < 64; ++i) {
        media.u8(uint8_t(i));
    }
    return ByteWriter::concat(
        {ByteWriter::box("ftyp", {0, 0, 0, 0}), moov, ByteWriter::box("mdat", media.data())});
}

std::vector<uint8_t> stts(std::initializer_list<std::pair<uint32_t, uint32_t>> runs) {
    ByteWriter w;
    w.be32(uint32_t(runs.size()));
    for (auto [count, delta] : runs) {
        w.be32(count).be32(delta);
    }
    return ByteWriter::fullBox("stts", 0, w.data());
}

}  // namespace

TEST(SampleTable, ReadsCompactSizesAndSeveralTimeRuns) {
    // 4-bit sizes, high nibble first: 1, 2, 3, 15.
    auto stz2 = ByteWriter::fullBox("stz2", 0,
                                    ByteWriter().zeros(3).u8(4).be32(4).u8(0x12).u8(0x3F).data());
    auto stsc = ByteWriter::fullBox("stsc", 0, ByteWriter().be32(1).be32(1).be32(4).be32(1).data());
    size_t mediaAt = 0;
    auto probe = movieWithTables(
        ByteWriter::concat({stz2, stsc, stts({{2, 10}, {2, 5}}),
                            ByteWriter::fullBox("stco", 0, ByteWriter().be32(1).be32(0).data())}));
    mediaAt = probe.size() - 64;
    auto bytes = movieWithTables(ByteWriter::concat(
        {stz2, stsc, stts({{2, 10}, {2, 5}}),
         ByteWriter::fullBox("stco", 0, ByteWriter().be32(1).be32(uint32_t(mediaAt)).data())}));
    MediaFile file;
    file.openMemory(bytes);
    auto info = MovieReader::read(file);
    auto samples = SampleTable::read(file, info.tracks.at(0));
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[0].size, 1u);
    EXPECT_EQ(samples[1].size, 2u);
    EXPECT_EQ(samples[2].size, 3u);
    EXPECT_EQ(samples[3].size, 15u);
    EXPECT_EQ(samples[3].offset, mediaAt + 6);
    EXPECT_DOUBLE_EQ(samples[1].time, 1.0);
    EXPECT_DOUBLE_EQ(samples[2].time, 2.0);
    EXPECT_DOUBLE_EQ(samples[3].time, 2.5);
    EXPECT_DOUBLE_EQ(samples[3].duration, 0.5);
}

TEST(SampleTable, KeepsTheConsistentPartOfDamagedTables) {
    // The size table claims 1000 entries but holds three; the chunk table points one chunk
    // past the end of the file and another 64 bits wide beyond 4 GiB.
    auto stsz = ByteWriter::fullBox("stsz", 0,
                                    ByteWriter().be32(0).be32(1000).be32(4).be32(4).be32(4).data());
    auto stsc = ByteWriter::fullBox("stsc", 0, ByteWriter().be32(1).be32(1).be32(1).be32(1).data());
    auto co64 = [](uint64_t first) {
        return ByteWriter::fullBox(
            "co64", 0,
            ByteWriter().be32(3).be64(first).be64(uint64_t(1) << 33).be64(first + 8).data());
    };
    auto probe = movieWithTables(ByteWriter::concat({stsz, stsc, stts({{3, 1}}), co64(0)}));
    uint64_t mediaAt = probe.size() - 64;
    MediaFile file;
    file.openMemory(
        movieWithTables(ByteWriter::concat({stsz, stsc, stts({{3, 1}}), co64(mediaAt)})));
    auto samples = SampleTable::read(file, MovieReader::read(file).tracks.at(0));
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].offset, mediaAt);
    EXPECT_EQ(samples[1].offset, mediaAt + 8);
    EXPECT_DOUBLE_EQ(samples[1].time, 2.0 / 10.0);
}

TEST(SampleTable, SurvivesMissingAndEmptyTables) {
    for (auto tables :
         {std::vector<uint8_t>{},
          ByteWriter::fullBox("stsz", 0, ByteWriter().be32(0).be32(0).data()),
          ByteWriter::concat(
              {ByteWriter::fullBox("stsc", 0, ByteWriter().be32(0xFFFFFFFF).data()),
               stts({{0xFFFFFFFF, 1}}),
               ByteWriter::fullBox("stsz", 0, ByteWriter().be32(7).be32(0xFFFFFFFF).data()),
               ByteWriter::fullBox("stco", 0, ByteWriter().be32(0xFFFFFFFF).be32(0).data())})}) {
        MediaFile file;
        file.openMemory(movieWithTables(tables));
        auto info = MovieReader::read(file);
        auto samples = SampleTable::read(file, info.tracks.at(0));
        EXPECT_LE(samples.size(), SampleTable::kMaxSamples);
        for (const auto& s : samples) {
            EXPECT_LE(s.offset + s.size, file.size());
        }
    }
}

TEST(SampleTable, ReadsTheBytesOfOneTrackOnlyOnce) {
    // Chunk offsets relative to the media: samples that overlap an earlier one in the file
    // are left out, empty ones stay, and the chunks need not be in file order.
    struct Case {
        const char* what;
        std::vector<uint32_t> chunks;  // one four-byte sample each, or empty at a 99
        std::vector<size_t> kept;      // the samples left, by index
    };
    const Case cases[] = {
        {"all at the same bytes", {0, 0, 0, 0}, {0}},
        {"each a byte further", {0, 1, 2, 3, 4, 8}, {0, 4, 5}},
        {"out of file order", {8, 0, 2, 4}, {0, 1, 3}},
        {"empty samples inside another", {0, 99, 99, 4}, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        ByteWriter sizes;
        sizes.be32(0).be32(uint32_t(c.chunks.size()));
        for (uint32_t at : c.chunks) {
            sizes.be32(at == 99 ? 0 : 4);
        }
        auto stsz = ByteWriter::fullBox("stsz", 0, sizes.data());
        auto stsc =
            ByteWriter::fullBox("stsc", 0, ByteWriter().be32(1).be32(1).be32(1).be32(1).data());
        auto stco = [&](uint64_t mediaAt) {
            ByteWriter w;
            w.be32(uint32_t(c.chunks.size()));
            for (uint32_t at : c.chunks) {
                w.be32(uint32_t(mediaAt + (at == 99 ? 2 : at)));
            }
            return ByteWriter::fullBox("stco", 0, w.data());
        };
        auto tables = [&](uint64_t mediaAt) {
            return ByteWriter::concat(
                {stsz, stsc, stts({{uint32_t(c.chunks.size()), 10}}), stco(mediaAt)});
        };
        uint64_t mediaAt = movieWithTables(tables(0)).size() - 64;
        MediaFile file;
        file.openMemory(movieWithTables(tables(mediaAt)));
        auto samples = SampleTable::read(file, MovieReader::read(file).tracks.at(0));
        std::vector<size_t> kept;
        for (const auto& s : samples) {
            kept.push_back(size_t(std::lround(s.time)));  // one second a sample: its index
        }
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

TEST(TrackSampleReader, ReadsNoMoreThanTheFileHoldsOverAllTracks) {
    // Tracks never share bytes; tables that make them (here: the same track three times)
    // get no more than one file's worth between them.
    TestMovie::Track t;
    t.samples.assign(200, std::vector<uint8_t>(100, 'x'));
    TestMovie movie;
    MediaFile file;
    file.openMemory(movie.addTrack(t).build());
    auto track = MovieReader::read(file).tracks.at(0);
    gpx::TrackSampleReader reader(file);
    uint64_t delivered = 0;
    for (int pass = 0; pass < 3; ++pass) {
        reader.read(track, 1000, [&](const gpx::Sample&, std::span<const uint8_t> bytes) {
            delivered += bytes.size();
            return true;
        });
    }
    EXPECT_GE(delivered, 200u * 100u);
    EXPECT_LE(delivered, file.size());

    // A handler that wants no more gets no more.
    size_t seen = 0;
    gpx::TrackSampleReader(file).read(track, 1000,
                                      [&](const gpx::Sample&, auto) { return ++seen < 3; });
    EXPECT_EQ(seen, 3u);
}
