#include <QBuffer>
#include <QFile>
#include <QImage>

#include "WindowTest.h"
#include "frame/frmMain.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "platform/fake/FakeSkinHost.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"

namespace {

class VideoWindowTest : public WindowTest {
  protected:
    void SetUp() override { declareSkins(1); }

    QStringList clipCalls() const { return mtbk()->calls(); }
    void openRecording() {
        mtWmp()->setUrl(QStringLiteral("/recordings/20100506/120000.MP4"));
        mtWmp()->play();
    }
};

TEST_F(VideoWindowTest, LoadsWithRateOneNoSecondAndSnapshotRefused) {
    writeFile(QStringLiteral("system/bk.MP4"));
    ASSERT_TRUE(start());
    frmChild& video = app().window<frmChild>();
    EXPECT_EQ(video.picBackTag(), QStringLiteral("1"));
    EXPECT_EQ(video.mtWmpTag(), QStringLiteral("-1"));
    EXPECT_FALSE(video.tPlayTime().isActive());
    EXPECT_EQ(video.tPlayTime().interval(), 800);
    SkinElement* photo = skinOf(&app().window<frmCurve>())->element(QStringLiteral("photo"));
    ASSERT_NE(photo, nullptr);
    EXPECT_TRUE(photo->pressedFlag());
    // Nothing is opened in the recording player at load; the control bar sets its rate.
    EXPECT_EQ(mtWmp()->calls(), QStringList{QStringLiteral("rate=1")});
}

TEST_F(VideoWindowTest, BackgroundClipPlaysMutedLoopsAndGivesWayToARecording) {
    writeFile(QStringLiteral("system/bk.MP4"));
    ASSERT_TRUE(start());
    EXPECT_EQ(clipCalls(), (QStringList{QStringLiteral("mute=1"),
                                        QStringLiteral("url=") + programPath("system/bk.MP4"),
                                        QStringLiteral("play")}));
    EXPECT_EQ(mtbk()->playState(), MediaPlayer::kPlaying);

    struct Step {
        const char* what;
        std::function<void()> act;
        QStringList clipCallsAfter;
    };
    const Step steps[] = {
        {"the clip ends while on show: it starts again",
         [&] { mtbk()->simulatePlayState(MediaPlayer::kMediaEnded); },
         {QStringLiteral("position=0"), QStringLiteral("play")}},
        {"a recording plays: the clip pauses", [&] { openRecording(); }, {QStringLiteral("pause")}},
        {"the recording pauses: still visible, the clip stays paused",
         [&] { mtWmp()->pause(); },
         {}},
        {"the recording plays on", [&] { mtWmp()->play(); }, {}},
        {"the recording stops: the clip goes on",
         [&] { mtWmp()->stop(); },
         {QStringLiteral("play")}},
        {"a recording plays again", [&] { mtWmp()->play(); }, {QStringLiteral("pause")}},
        {"the recording ends",
         [&] { mtWmp()->simulatePlayState(MediaPlayer::kMediaEnded); },
         {QStringLiteral("play")}},
        {"a recording is closed while the clip runs", [&] { mtWmp()->close(); }, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        mtbk()->clearCalls();
        step.act();
        EXPECT_EQ(clipCalls(), step.clipCallsAfter);
    }
    // The recording's own sound was never touched by the clip's muting.
    EXPECT_FALSE(mtWmp()->calls().contains(QStringLiteral("mute=1")));
}

// What covers the picture: the recording fills it while it plays or pauses; otherwise the clip
// plays in its middle, and without the clip the picture shows whole.
TEST_F(VideoWindowTest, PictureShowsWhereverNoVideoPlays) {
    for (const bool clipPresent : {true, false}) {
        SCOPED_TRACE(clipPresent);
        m_app.reset();
        QFile::remove(programPath(QStringLiteral("system/bk.MP4")));
        if (clipPresent) {
            writeFile(QStringLiteral("system/bk.MP4"));
        }
        ASSERT_TRUE(start());
        const QLabel& picture = app().window<frmChild>().picBack();
        QWidget* clip = mtbk()->widget();
        QWidget* video = mtWmp()->widget();
        ASSERT_NE(clip, nullptr);
        ASSERT_NE(video, nullptr);

        EXPECT_FALSE(video->isVisible());
        EXPECT_EQ(clip->isVisible(), clipPresent);
        EXPECT_EQ(clip->parentWidget(), &picture);
        // In the middle, with the picture all around it.
        EXPECT_LE((clip->geometry().center() - picture.rect().center()).manhattanLength(), 1);
        EXPECT_TRUE(picture.rect().contains(clip->geometry().adjusted(-20, -20, 20, 20)));

        openRecording();
        EXPECT_TRUE(video->isVisible());
        EXPECT_EQ(video->geometry(), picture.rect());
        EXPECT_FALSE(clip->isVisible());
        mtWmp()->stop();
        EXPECT_FALSE(video->isVisible());
        EXPECT_EQ(clip->isVisible(), clipPresent);
    }
}

TEST_F(VideoWindowTest, ClipEndingBehindARecordingIsNotRestarted) {
    writeFile(QStringLiteral("system/bk.MP4"));
    ASSERT_TRUE(start());
    openRecording();
    mtbk()->clearCalls();
    mtbk()->simulatePlayState(MediaPlayer::kMediaEnded);
    EXPECT_TRUE(clipCalls().isEmpty());
}

TEST_F(VideoWindowTest, MissingBackgroundClipIsReportedAndTheWindowWorksWithoutIt) {
    ASSERT_TRUE(start());
    expectOneMessage(MessageBoxService::Icon::Critical,
                     QStringLiteral("The system warning information "),
                     QStringLiteral("System file is missing, the camera doesn't work!"));
    EXPECT_TRUE(clipCalls().isEmpty());
    EXPECT_TRUE(app().window<frmMain>().isVisible());
    EXPECT_TRUE(app().window<frmChild>().isVisible());
    openRecording();
    mtWmp()->stop();
    EXPECT_TRUE(clipCalls().isEmpty());
}

TEST_F(VideoWindowTest, PictureUnderAVideoNameIsReadByItsContent) {
    struct Case {
        const char* what;
        QByteArray bytes;
        bool shown;
    };
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(QColor(26, 27, 54));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const Case cases[] = {
        {"a picture", png, true},
        {"not a picture", QByteArray("no picture here"), false},
        {"no file", QByteArray(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_app.reset();
        QFile::remove(programPath(QStringLiteral("skin/support/playback.MP4")));
        if (!c.bytes.isEmpty()) {
            writeFile(QStringLiteral("skin/support/playback.MP4"), c.bytes);
        }
        writeFile(QStringLiteral("system/bk.MP4"));
        m_platform.messageBoxes.clear();
        ASSERT_TRUE(start());
        EXPECT_EQ(!app().window<frmChild>().picBack().pixmap().isNull(), c.shown);
        // A missing or unreadable picture is no error.
        EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
    }
}

}  // namespace
