#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ByteWriter.h"
#include "ParseTool.h"
#include "ScratchFolder.h"
#include "TestMovie.h"

namespace fs = std::filesystem;

namespace {

std::string rmcSample(int second) {
    char body[128];
    std::snprintf(body, sizeof body,
                  "$GPRMC,0000%02d.00,A,3436.2234,S,05822.8955,W,0,0,010120,,\r\n", second);
    return body;
}

std::vector<uint8_t> recording(int seconds) {
    TestMovie::Track t;
    for (int i = 0; i < seconds; ++i) {
        std::string text = rmcSample(i);
        t.samples.push_back(ByteWriter().be16(uint16_t(text.size())).text(text).take());
    }
    TestMovie m;
    m.addTrack(t).durationSeconds(seconds);
    return m.build();
}

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Each test gets its own cache folder and recordings folder, and puts the variables back.
class ParseToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("parse-test-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "cache" / "HarventisDVRtempFile");
        fs::create_directories(root_ / "videos");
        const char* old = std::getenv("XDG_CACHE_HOME");
        hadCache_ = old != nullptr;
        oldCache_ = hadCache_ ? old : "";
        setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
    }
    void TearDown() override {
        if (hadCache_) {
            setenv("XDG_CACHE_HOME", oldCache_.c_str(), 1);
        } else {
            unsetenv("XDG_CACHE_HOME");
        }
        fs::remove_all(root_);
    }

    fs::path save(const std::string& name, const std::vector<uint8_t>& bytes) {
        fs::path p = root_ / "videos" / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        return p;
    }
    fs::path document() const { return root_ / "cache" / "HarventisDVRtempFile" / "output.kml"; }
    std::vector<std::string> scratchEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(root_ / "cache" / "HarventisDVRtempFile")) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    fs::path root_;
    bool hadCache_ = false;
    std::string oldCache_;
};

const char* kProgram = "/opt/harventis/movsupport/Parse";

}  // namespace

TEST_F(ParseToolTest, WritesTheDocumentOfARecordingWhosePathHasBlanks) {
    fs::path p = save("drive to work 2020.mp4", recording(3));
    // The viewer passes the path unquoted: it arrives in pieces.
    std::vector<std::string> args = {kProgram, (root_ / "videos" / "drive").string(), "to", "work",
                                     "2020.mp4"};
    EXPECT_EQ(ParseTool::run(args), 0);
    std::string doc = read(document());
    EXPECT_EQ(doc.find("<?xml version=\"1.0\"?>\r\n"), 0u);
    EXPECT_NE(doc.find("<Latitude>-34.603723</Latitude>"), std::string::npos);
    EXPECT_NE(doc.find("<Longitude>-58.381592</Longitude>"), std::string::npos);
    EXPECT_NE(doc.find("<utc_Second>2</utc_Second>"), std::string::npos);
    EXPECT_EQ(scratchEntries(), std::vector<std::string>{"output.kml"});  // no temporary left
}

TEST_F(ParseToolTest, JoinsPiecesWithSingleBlanks) {
    EXPECT_EQ(ParseTool::joinArguments({kProgram, "/a", "b", "c.mp4"}), "/a b c.mp4");
    EXPECT_EQ(ParseTool::joinArguments({kProgram, "/a/b.mp4"}), "/a/b.mp4");
    // Two blanks in a row in the real path come back as one: that file is not found.
    save("two  blanks.mp4", recording(2));
    std::vector<std::string> args = {kProgram, (root_ / "videos" / "two").string(), "",
                                     "blanks.mp4"};
    EXPECT_EQ(ParseTool::joinArguments(args), (root_ / "videos" / "two  blanks.mp4").string());
    EXPECT_EQ(ParseTool::run({kProgram, (root_ / "videos" / "two").string(), "blanks.mp4"}), -1);
}

TEST_F(ParseToolTest, AcceptsPathsLongerThanTheOldLimit) {
    std::string folder(200, 'f');
    fs::create_directories(root_ / "videos" / folder);
    fs::path p = save(folder + "/" + std::string(120, 'r') + ".mp4", recording(2));
    ASSERT_GT(p.string().size(), 259u);
    EXPECT_EQ(ParseTool::run({kProgram, p.string()}), 0);
    EXPECT_TRUE(fs::exists(document()));
}

TEST_F(ParseToolTest, FailsWithoutWritingAnything) {
    fs::path text = save("notes.mp4", ByteWriter().text("this is no movie").take());
    struct Case {
        const char* what;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"no recording named", {kProgram}},
        {"a recording that does not exist", {kProgram, (root_ / "videos" / "gone.mp4").string()}},
        {"a folder", {kProgram, (root_ / "videos").string()}},
        {"a file that is no movie", {kProgram, text.string()}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseTool::run(c.args), -1) << c.what;
        EXPECT_TRUE(scratchEntries().empty()) << c.what;
    }
}

TEST_F(ParseToolTest, ReportsFailureWhenTheScratchFolderIsMissing) {
    fs::path p = save("a.mp4", recording(2));
    fs::remove_all(root_ / "cache" / "HarventisDVRtempFile");
    EXPECT_EQ(ParseTool::run({kProgram, p.string()}), -1);
    EXPECT_FALSE(fs::exists(root_ / "cache" / "HarventisDVRtempFile"));  // not created
}

TEST_F(ParseToolTest, ReplacesAnEarlierDocumentWhole) {
    std::ofstream(document()) << "an old document";
    fs::path p = save("a.mp4", recording(2));
    EXPECT_EQ(ParseTool::run({kProgram, p.string()}), 0);
    EXPECT_EQ(read(document()).find("<?xml"), 0u);
    EXPECT_EQ(scratchEntries().size(), 1u);
}

TEST_F(ParseToolTest, TheProgramSaysNothingAndExitsWithItsStatus) {
    fs::path p = save("a.mp4", recording(2));
    fs::path out = root_ / "console.txt";
    std::string parse = HARVENTIS_PARSE_PROGRAM;
    // A program that hangs is stopped and shows as timeout's status 124.
    auto runQuiet = [&](const std::string& arg) {
        std::string cmd = "timeout 20 '" + parse + "' " + arg + " > '" + out.string() + "' 2>&1";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
    };
    EXPECT_EQ(runQuiet("'" + p.string() + "'"), 0);
    EXPECT_TRUE(fs::exists(document()));
    EXPECT_EQ(runQuiet("/no/such/file.mp4"), 255);
    EXPECT_EQ(runQuiet(""), 255);
    // A named pipe nobody writes to is refused at once, not waited on.
    fs::path pipe = root_ / "videos" / "pipe.mp4";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(runQuiet("'" + pipe.string() + "'"), 255);
    EXPECT_EQ(fs::file_size(out), 0u);
}

TEST(ScratchFolder, FollowsTheCacheFolderAndTheWindowsRule) {
    const char* old = std::getenv("XDG_CACHE_HOME");
    std::string saved = old != nullptr ? old : "";
    setenv("XDG_CACHE_HOME", "/var/tmp/c/", 1);
    EXPECT_EQ(ScratchFolder::documentPath(), "/var/tmp/c/HarventisDVRtempFile/output.kml");
    setenv("XDG_CACHE_HOME", "relative/is/ignored", 1);
    EXPECT_TRUE(ScratchFolder::path().ends_with("/.cache/HarventisDVRtempFile"));
    EXPECT_EQ(ScratchFolder::path().front(), '/');
    if (old != nullptr) {
        setenv("XDG_CACHE_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_CACHE_HOME");
    }

    EXPECT_EQ(
        ScratchFolder::windowsDocumentPath("C:\\Program Files\\Harventis\\movsupport\\Parse.exe"),
        "C:\\\\HarventisDVRtempFile\\output.kml");
    EXPECT_EQ(ScratchFolder::windowsDocumentPath("\\\\server\\share\\Parse.exe"),
              "\\\\HarventisDVRtempFile\\output.kml");
    EXPECT_EQ(ScratchFolder::windowsDocumentPath("/opt/harventis/movsupport/Parse"), "");
    EXPECT_EQ(ScratchFolder::windowsDocumentPath("/opt/harve\\ntis/Parse"), "");  // 11th character
    EXPECT_EQ(ScratchFolder::windowsDocumentPath("/opt/harv\\entis/Parse"),
              "/opt/harv\\\\HarventisDVRtempFile\\output.kml");  // 10th
    EXPECT_EQ(ScratchFolder::documentPathFor("D:\\x\\Parse.exe"),
              "D:\\\\HarventisDVRtempFile\\output.kml");
}
