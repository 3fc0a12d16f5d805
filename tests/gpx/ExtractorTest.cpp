#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ByteWriter.h"
#include "CGpxDLL.h"
#include "Extractor.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "MovieReader.h"
#include "TestMovie.h"

namespace fs = std::filesystem;
using gpx::Extractor;

namespace {

std::vector<uint8_t> textSample(const std::string& s) {
    ByteWriter w;
    w.be16(uint16_t(s.size())).text(s);
    return w.take();
}

// A fix second seconds after 11:59:00 on 2020-01-01.
std::string rmc(int second, char status, const char* lat = "3436.2234", const char* ns = "S") {
    int t = 11 * 3600 + 59 * 60 + second;
    char body[160];
    std::snprintf(body, sizeof body,
                  "GPRMC,%02d%02d%02d.00,%c,%s,%s,05822.8955,W,19.438,90.0,010120,,,A", t / 3600,
                  t / 60 % 60, t % 60, status, lat, ns);
    unsigned sum = 0;
    for (const char* p = body; *p != 0; ++p) {
        sum ^= static_cast<unsigned char>(*p);
    }
    char line[200];
    std::snprintf(line, sizeof line, "$%s*%02X\r\n", body, sum);
    return line;
}

TestMovie::Track nmeaTrack(int seconds, const std::string& handler = "text",
                           const std::string& format = "text") {
    TestMovie::Track t;
    t.handler = handler;
    t.format = format;
    for (int i = 0; i < seconds; ++i) {
        t.samples.push_back(textSample(rmc(i, i == 1 ? 'V' : 'A')));
    }
    return t;
}

Extractor::Result extract(const std::vector<uint8_t>& bytes) {
    gpx::MediaFile file;
    file.openMemory(bytes);
    return Extractor::extract(file);
}

std::string tempPath(const std::string& name) {
    return (fs::temp_directory_path() / ("gpx-test-" + std::to_string(getpid()) + "-" + name))
        .string();
}

}  // namespace

TEST(Extractor, ReadsTextTracksWhateverTheFileLayout) {
    struct Variant {
        const char* name;
        bool moovFirst, largeMdat, co64;
        const char* handler;
        const char* format;
    };
    for (Variant v : {Variant{"plain", false, false, false, "text", "text"},
                      Variant{"movie first", true, false, false, "text", "text"},
                      Variant{"64-bit media box", false, true, false, "text", "text"},
                      Variant{"64-bit offsets", false, false, true, "text", "text"},
                      Variant{"subtitle track", false, false, false, "sbtl", "tx3g"}}) {
        SCOPED_TRACE(v.name);
        TestMovie m;
        m.addTrack(nmeaTrack(4, v.handler, v.format))
            .moovFirst(v.moovFirst)
            .largeMdat(v.largeMdat)
            .co64(v.co64)
            .durationSeconds(4);
        auto r = extract(m.build());
        ASSERT_EQ(r.outcome, Extractor::Outcome::Extracted);
        EXPECT_DOUBLE_EQ(r.duration, 4.0);
        ASSERT_EQ(r.samples.size(), 4u);
        EXPECT_EQ(r.samples[0].nStatus, 1);
        EXPECT_EQ(r.samples[1].nStatus, 0);
        EXPECT_NEAR(r.samples[3].dLatitude, -(34 + 36.2234 / 60), 1e-9);
        EXPECT_NEAR(r.samples[3].dLongitude, -(58 + 22.8955 / 60), 1e-9);
        EXPECT_NEAR(r.samples[3].dSpeed, 36.0, 0.001);
        EXPECT_EQ(r.samples[3].nSecond, 3);
        EXPECT_EQ(r.samples[1].nSecond, 1);  // a void fix keeps its time
    }
}

TEST(Extractor, AMovieWithoutGpsGivesNoSamplesButItsLength) {
    TestMovie m;
    TestMovie::Track video;
    video.handler = "vide";
    video.format = "avc1";
    video.samples = {std::vector<uint8_t>(100, 7), std::vector<uint8_t>(50, 9)};
    m.addTrack(video).durationSeconds(61.5);
    auto r = extract(m.build());
    EXPECT_EQ(r.outcome, Extractor::Outcome::Extracted);
    EXPECT_TRUE(r.samples.empty());
    EXPECT_DOUBLE_EQ(r.duration, 61.5);

    // Subtitles without GPS in them are no GPS either.
    TestMovie subtitles;
    TestMovie::Track t;
    t.samples = {textSample("Hello"), textSample("World")};
    subtitles.addTrack(t);
    EXPECT_TRUE(extract(subtitles.build()).samples.empty());
}

TEST(Extractor, TellsFilesThatAreNotMoviesFromUnreadableOnes) {
    EXPECT_EQ(extract({}).outcome, Extractor::Outcome::NotAMovie);
    EXPECT_EQ(extract(ByteWriter().text("GIF89a....................").take()).outcome,
              Extractor::Outcome::NotAMovie);
    EXPECT_EQ(extract(ByteWriter().be32(16).text("abcd").zeros(8).take()).outcome,
              Extractor::Outcome::NotAMovie);

    auto missing = Extractor::extract(std::string("/nonexistent/folder/file.mp4"));
    EXPECT_EQ(missing.outcome, Extractor::Outcome::Unreadable);
    EXPECT_EQ(missing.error, ENOENT);
    auto folder = Extractor::extract(fs::temp_directory_path().string());
    EXPECT_EQ(folder.outcome, Extractor::Outcome::Unreadable);
}

TEST(Extractor, AnEmptyLayoutDoesNotHideTheTrackThatHoldsTheGps) {
    auto emptyIndex = ByteWriter::box("gps ", ByteWriter().be32(0x101).be32(0).data());
    auto emptyCameraBox =
        ByteWriter::box("free", ByteWriter::box("cprt", ByteWriter().text(";CAMERA;1.0;").data()));
    for (bool inMovie : {true, false}) {
        SCOPED_TRACE(inMovie ? "empty index" : "empty camera box");
        TestMovie m;
        m.addTrack(nmeaTrack(10)).durationSeconds(10);
        if (inMovie) {
            m.addMovieChild(emptyIndex);
        } else {
            m.addTopLevel(emptyCameraBox);
        }
        auto r = extract(m.build());
        ASSERT_EQ(r.samples.size(), 10u);
        EXPECT_EQ(r.samples[0].nStatus, 1);
        EXPECT_EQ(r.samples[9].nStatus, 1);
    }
    // Alone, the empty camera box still gives the recording its no-fix seconds.
    TestMovie alone;
    alone.addTopLevel(emptyCameraBox).durationSeconds(3);
    auto r = extract(alone.build());
    ASSERT_EQ(r.samples.size(), 3u);
    EXPECT_EQ(r.samples[2].nStatus, 0);
}

TEST(Extractor, TakesTheDataSpanWhenTheMovieHeaderHasNoLength) {
    TestMovie m;
    m.addTrack(nmeaTrack(4)).durationSeconds(0);  // as fragmented recordings write it
    auto r = extract(m.build());
    ASSERT_EQ(r.samples.size(), 4u);
    EXPECT_DOUBLE_EQ(r.duration, 4.0);
    EXPECT_EQ(r.samples[3].nStatus, 1);
}

TEST(Extractor, SkipsATrackWithoutTimescale) {
    // Its ticks counted as seconds would spread ten samples over two and a half hours.
    TestMovie m;
    auto t = nmeaTrack(10);
    t.timescale = 0;
    m.addTrack(t).durationSeconds(10);
    auto r = extract(m.build());
    EXPECT_EQ(r.outcome, Extractor::Outcome::Extracted);
    EXPECT_TRUE(r.samples.empty());
}

TEST(Extractor, AStaleFirstFixInATextTrackNeitherCountsNorSetsTheTime) {
    for (const char* handler : {"text", "sbtl"}) {
        SCOPED_TRACE(handler);
        TestMovie::Track t =
            nmeaTrack(0, handler, handler == std::string("text") ? "text" : "tx3g");
        t.samples.push_back(textSample(rmc(-91, 'A')));  // the receiver's clock had not settled
        for (int i = 1; i < 10; ++i) {
            t.samples.push_back(textSample(rmc(i, 'A')));
        }
        TestMovie m;
        m.addTrack(t).durationSeconds(10);
        auto r = extract(m.build());
        ASSERT_EQ(r.samples.size(), 10u);
        EXPECT_EQ(r.samples[0].nStatus, 0);
        EXPECT_EQ(r.samples[0].nMinute, 59);
        EXPECT_EQ(r.samples[0].nSecond, 0);
        EXPECT_EQ(r.samples[1].nStatus, 1);
        EXPECT_EQ(r.samples[1].nSecond, 1);
    }
}

TEST(Extractor, KeepsOnlyTheTracksAndBoxesThatCanCarryGps) {
    TestMovie m;
    TestMovie::Track empty;
    empty.handler = "vide";
    empty.format = "avc1";
    for (int i = 0; i < 100; ++i) {
        m.addTrack(empty);
    }
    for (size_t i = 0; i < gpx::MovieInfo::kMaxTracks + 4; ++i) {
        m.addTrack(nmeaTrack(3));
    }
    for (int i = 0; i < 100; ++i) {
        m.addTopLevel(ByteWriter::box("skip", {}));
    }
    for (size_t i = 0; i < gpx::MovieInfo::kMaxTopLevel; ++i) {
        m.addTopLevel(ByteWriter::box("free", {}));
    }
    m.durationSeconds(3);
    gpx::MediaFile file;
    file.openMemory(m.build());
    auto movie = gpx::MovieReader::read(file);
    EXPECT_EQ(movie.tracks.size(), gpx::MovieInfo::kMaxTracks);
    for (const auto& t : movie.tracks) {
        EXPECT_EQ(t.handler, gpx::fourcc("text"));
    }
    ASSERT_EQ(movie.topLevel.size(), gpx::MovieInfo::kMaxTopLevel);
    EXPECT_EQ(movie.topLevel[0].type, gpx::fourcc("ftyp"));
    EXPECT_EQ(movie.topLevel[1].type, gpx::fourcc("free"));
    EXPECT_EQ(Extractor::extract(file).samples[2].nStatus, 1);
}

TEST(Extractor, ReadsEachSampleOfATextTrackOnlyOnce) {
    // Every sample points at the same block of fifty fixes: it is read and decoded once.
    std::string block;
    for (int i = 0; i < 50; ++i) {
        block += rmc(i, 'A');
    }
    TestMovie::Track t;
    t.samples.assign(200, textSample(block));
    t.allAtFirstSample = true;
    TestMovie m;
    gpx::MediaFile file;
    file.openMemory(m.addTrack(t).durationSeconds(200).build());
    auto r = Extractor::extract(file);
    ASSERT_EQ(r.samples.size(), 200u);
    EXPECT_EQ(r.samples[0].nStatus, 1);
    EXPECT_EQ(r.samples[1].nStatus, 0);  // the block's fixes all belong to second 0
    EXPECT_LT(file.bytesRead(), 2 * file.size());
}

TEST(Extractor, ReadsWhatIsLeftOfACutOffRecording) {
    TestMovie m;
    m.addTrack(nmeaTrack(10)).moovFirst().durationSeconds(10);
    auto whole = m.build();
    // The movie comes first here, the samples fill the media box to the end of the file:
    // a cut inside the media keeps the samples before it.
    size_t sampleBytes = whole.size() / 2;
    auto cutAfter = [&](size_t keep) {
        std::vector<uint8_t> part(whole.begin(), whole.begin() + long(keep));
        return extract(part);
    };
    auto full = cutAfter(whole.size());
    ASSERT_EQ(full.samples.size(), 10u);
    auto lastTwoGone = cutAfter(whole.size() - 2 * textSample(rmc(0, 'A')).size() + 1);
    ASSERT_EQ(lastTwoGone.samples.size(), 10u);  // the movie header still says ten seconds
    EXPECT_EQ(lastTwoGone.samples[7].nStatus, 1);
    EXPECT_EQ(lastTwoGone.samples[8].nStatus, 0);
    EXPECT_EQ(lastTwoGone.samples[9].nStatus, 0);
    for (size_t keep : {sampleBytes, size_t(40), size_t(7), size_t(0)}) {
        auto r = cutAfter(keep);
        EXPECT_NE(r.outcome, Extractor::Outcome::Unreadable);
        EXPECT_LE(r.samples.size(), 10u);
    }
}

TEST(Extractor, ReadsOnlyTheBoxesItNeedsOfALargeRecording) {
    // A text track at the start of 200 MB of media data, the movie after it: the media data
    // is a sparse hole the extractor must step over by its header, not read.
    TestMovie m;
    m.addTrack(nmeaTrack(5)).durationSeconds(5).largeMdat().co64();
    auto bytes = m.build();
    size_t mdatAt = 0;
    for (size_t i = 4; i + 4 <= bytes.size(); ++i) {
        if (std::string(bytes.begin() + long(i), bytes.begin() + long(i) + 4) == "mdat") {
            mdatAt = i - 4;
            break;
        }
    }
    uint64_t mdatSize = 0;
    for (int k = 0; k < 8; ++k) {
        mdatSize = mdatSize << 8 | bytes[mdatAt + 8 + size_t(k)];
    }
    const uint64_t gap = 200u << 20;
    uint64_t grown = mdatSize + gap;
    for (int k = 7; k >= 0; --k) {
        bytes[mdatAt + 8 + size_t(k)] = uint8_t(grown);
        grown >>= 8;
    }
    size_t moovAt = size_t(mdatAt + mdatSize);
    std::string path = tempPath("large.mp4");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), long(moovAt));
        out.seekp(long(moovAt + gap));
        out.write(reinterpret_cast<const char*>(bytes.data() + moovAt),
                  long(bytes.size() - moovAt));
    }
    gpx::MediaFile file;
    ASSERT_EQ(file.open(path), 0);
    auto r = Extractor::extract(file);
    EXPECT_EQ(r.outcome, Extractor::Outcome::Extracted);
    ASSERT_EQ(r.samples.size(), 5u);
    EXPECT_EQ(r.samples[4].nStatus, 1);
    EXPECT_LT(file.bytesRead(), 64u << 10);
    fs::remove(path);
}

TEST(GpxLibrary, OwnsTheRecordsItHandsOut) {
    TestMovie m;
    m.addTrack(nmeaTrack(3)).durationSeconds(3);
    auto bytes = m.build();
    std::string path = tempPath("owned.mp4");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));

    CGpxDLL library;
    GPX_DATA* first = library.GpxDataExtract(path.c_str());
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->nCount, 3);
    EXPECT_DOUBLE_EQ(first->dDuration, 3.0);
    // The caller may change the samples until it hands the record back.
    first->pSamples[0].dLatitude = 1.0;
    GPX_DATA* second = library.GpxDataExtract(path.c_str());
    EXPECT_NE(second->pSamples[0].dLatitude, 1.0);
    library.GpxDataDelete(first);
    library.GpxDataDelete(first);  // twice: ignored
    GPX_DATA foreign{};
    library.GpxDataDelete(&foreign);  // not ours: ignored
    // second is released with the library object

    int thrown = 0;
    try {
        library.GpxDataExtract("/nonexistent/recording.mp4");
    } catch (int e) {
        thrown = e;
    }
    EXPECT_EQ(thrown, ENOENT);

    std::string text = tempPath("notes.txt");
    std::ofstream(text) << "not a movie";
    EXPECT_EQ(library.GpxDataExtract(text.c_str()), nullptr);
    fs::remove(text);
    fs::remove(path);
}
