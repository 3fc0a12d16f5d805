#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "BoxReader.h"
#include "ByteWriter.h"
#include "FourCC.h"
#include "MediaFile.h"

using gpx::Box;
using gpx::BoxReader;
using gpx::fourcc;
using gpx::MediaFile;

namespace {

std::vector<Box> walk(const std::vector<uint8_t>& bytes, bool* damaged = nullptr) {
    MediaFile file;
    file.openMemory(bytes);
    BoxReader reader(file, 0, file.size());
    std::vector<Box> boxes;
    while (auto b = reader.next()) {
        boxes.push_back(*b);
        if (boxes.size() > 100) {
            break;  // a reader that loops would never get here on these inputs
        }
    }
    if (damaged != nullptr) {
        *damaged = reader.damaged();
    }
    return boxes;
}

}  // namespace

TEST(BoxReader, ReadsPlainLargeAndToEndSizes) {
    ByteWriter w;
    w.bytes(ByteWriter::box("ftyp", {1, 2, 3, 4}));
    w.be32(1).text("free").be64(16 + 3).text("abc");  // 64-bit size
    w.be32(0).text("mdat").text("rest of the file");  // to the end
    auto boxes = walk(w.data());
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].type, fourcc("ftyp"));
    EXPECT_EQ(boxes[0].payloadSize(), 4u);
    EXPECT_EQ(boxes[1].type, fourcc("free"));
    EXPECT_EQ(boxes[1].payload, boxes[1].start + 16);
    EXPECT_EQ(boxes[1].payloadSize(), 3u);
    EXPECT_EQ(boxes[2].type, fourcc("mdat"));
    EXPECT_EQ(boxes[2].end, w.size());
    EXPECT_FALSE(boxes[2].truncated);
}

TEST(BoxReader, UuidBoxesCarryTheirUserType) {
    ByteWriter w;
    w.be32(8 + 16 + 2).text("uuid");
    for (uint8_t i = 0; i < 16; ++i) {
        w.u8(i);
    }
    w.text("xy");
    auto boxes = walk(w.data());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].userType[15], 15);
    EXPECT_EQ(boxes[0].payloadSize(), 2u);
}

TEST(BoxReader, ClampsABoxThatRunsPastTheEnd) {
    ByteWriter w;
    w.bytes(ByteWriter::box("ftyp", {0, 0, 0, 0}));
    w.be32(1000000).text("mdat").zeros(100);  // a recording cut off by a power failure
    auto boxes = walk(w.data());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[1].truncated);
    EXPECT_EQ(boxes[1].end, w.size());
}

TEST(BoxReader, StopsAtImpossibleOrCutHeaders) {
    for (uint32_t badSize : {2u, 5u, 7u}) {
        ByteWriter w;
        w.bytes(ByteWriter::box("ftyp", {0, 0, 0, 0}));
        w.be32(badSize).text("moov").zeros(32);
        bool damaged = false;
        auto boxes = walk(w.data(), &damaged);
        EXPECT_EQ(boxes.size(), 1u) << badSize;
        EXPECT_TRUE(damaged) << badSize;
    }
    // A 64-bit size smaller than its own header.
    ByteWriter w;
    w.be32(1).text("mdat").be64(4).zeros(8);
    bool damaged = false;
    EXPECT_TRUE(walk(w.data(), &damaged).empty());
    EXPECT_TRUE(damaged);
    // A 64-bit size whose header is cut short, and a uuid box without its user type.
    EXPECT_TRUE(walk(ByteWriter().be32(1).text("mdat").be32(0).data()).empty());
    EXPECT_TRUE(walk(ByteWriter().be32(12).text("uuid").be32(0).data()).empty());
}

TEST(BoxReader, IgnoresAShortTerminatorAtTheEndOfAContainer) {
    ByteWriter w;
    w.bytes(ByteWriter::box("udta", {})).be32(0);  // four zero bytes some cameras add
    bool damaged = true;
    auto boxes = walk(w.data(), &damaged);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(damaged);
}

TEST(BoxReader, WalksOnlyInsideItsContainer) {
    ByteWriter inner;
    inner.bytes(ByteWriter::box("mvhd", {1, 2})).bytes(ByteWriter::box("trak", {3}));
    auto moov = ByteWriter::box("moov", inner.data());
    ByteWriter w;
    w.bytes(moov).bytes(ByteWriter::box("mdat", {9, 9, 9}));
    MediaFile file;
    file.openMemory(w.data());
    BoxReader top(file, 0, file.size());
    auto first = top.next();
    ASSERT_TRUE(first);
    BoxReader children(file, first->payload, first->end);
    int n = 0;
    while (auto c = children.next()) {
        EXPECT_LE(c->end, first->end);
        ++n;
    }
    EXPECT_EQ(n, 2);
}

TEST(BoxReader, EndsAContainerOfMoreBoxesThanAnyRecordingHas) {
    const auto empty = ByteWriter::box("skip", {});
    std::vector<uint8_t> bytes((BoxReader::kMaxBoxes + 1) * empty.size());
    for (size_t at = 0; at < bytes.size(); at += empty.size()) {
        std::copy(empty.begin(), empty.end(), bytes.begin() + long(at));
    }
    MediaFile file;
    file.openMemory(bytes);
    BoxReader reader(file, 0, file.size());
    uint32_t n = 0;
    while (reader.next()) {
        ++n;
    }
    EXPECT_EQ(n, BoxReader::kMaxBoxes);
    EXPECT_TRUE(reader.damaged());
}

TEST(MediaFile, SmallReadsFromTheWindowMatchTheFile) {
    std::vector<uint8_t> bytes(3 * MediaFile::kWindowBytes + 100);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = uint8_t(i * 7 + i / 251);
    }
    std::string path = testing::TempDir() + "media-file-window.bin";
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    MediaFile file;
    ASSERT_EQ(file.open(path), 0);
    // Forward, back, across the window's end, at the file's end, and a large read between.
    const uint64_t k = MediaFile::kWindowBytes;
    for (uint64_t at : {uint64_t(0), uint64_t(5), k - 10, uint64_t(3), 2 * k + 50, uint64_t(100),
                        bytes.size() - 20, bytes.size() - 1, uint64_t(bytes.size())}) {
        for (size_t n : {size_t(1), size_t(32), MediaFile::kSmallRead, size_t(5000)}) {
            auto got = file.bytes(at, n);
            size_t expected = at >= bytes.size() ? 0 : std::min(n, bytes.size() - size_t(at));
            ASSERT_EQ(got.size(), expected) << at << " " << n;
            EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + long(at))) << at;
        }
    }
    std::remove(path.c_str());
}
