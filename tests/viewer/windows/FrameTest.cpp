#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <stdexcept>

#include "WindowTest.h"
#include "about/frmAbout.h"
#include "about/frmTip.h"
#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "platform/fake/FakeSkinHost.h"
#include "playback/frmChild.h"
#include "settings/frmSetupInfo.h"
#include "shell/WindowGeometry.h"

namespace {

const QString kWarningTitle = QStringLiteral("The system warning information ");
const QString kSystemFileMissing =
    QStringLiteral("System file is missing, please re-install the system");

// The list window with its two frame operations counted.
class CountingList : public frmMP4List {
  public:
    using frmMP4List::frmMP4List;
    void cmdOpenFile() override { ++opened; }
    void DeleteList() override { ++deleted; }
    int opened = 0;
    int deleted = 0;
};

class ThrowingMessageBoxes : public MessageBoxService {
  public:
    Answer show(Icon, Buttons, const QString&, const QString&) override {
        throw std::runtime_error("no display for the box");
    }
};

class FrameTest : public WindowTest {
  protected:
    void startWithSkins(int language = 1) {
        declareSkins(language);
        writeFile(QStringLiteral("system/bk.MP4"));
        ASSERT_TRUE(start());
        ASSERT_TRUE(app().isLoaded<frmMain>());
        m_platform.messageBoxes.clear();
    }
    frmMain& frame() { return app().window<frmMain>(); }
    QRect home() { return QRect(app().window<frmTip>().pos(), WindowGeometry::kFrameSize); }
};

TEST_F(FrameTest, OpensAtTheSplashWithItsLanguagesSkinAndCaption) {
    for (const int language : {1, 2}) {
        SCOPED_TRACE(language);
        m_app.reset();
        FakeSkinHost::forgetSkins();
        writeSettings(QStringLiteral("[config]\nmainv=100%1\nArea=2021\nUnit=1001\n")
                          .arg(language)
                          .toLatin1());
        startWithSkins(language);

        EXPECT_TRUE(frame().isVisible());
        EXPECT_EQ(frame().geometry(), home());
        EXPECT_EQ(frame().windowTitle(), QStringLiteral("Harventis DVR Tools"));
        EXPECT_TRUE(frame().windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_FALSE(frame().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        ASSERT_NE(skinOf(&frame()), nullptr);
        EXPECT_EQ(skinOf(&frame())->loadedPath(),
                  programPath(QStringLiteral("skin/main/%1.mp4").arg(language)));
        EXPECT_EQ(skinOf(&app().window<frmTip>())->loadedPath(),
                  programPath(QStringLiteral("skin/load/load%1.mp4").arg(language)));
    }
}

TEST_F(FrameTest, SnapsBackToItsSizeAtItsPlace) {
    startWithSkins();
    const QRect expected = home();
    struct Attempt {
        const char* name;
        std::function<void(frmMain&)> act;
    };
    const Attempt attempts[] = {
        {"maximise", [](frmMain& f) { f.showMaximized(); }},
        {"full screen", [](frmMain& f) { f.showFullScreen(); }},
        {"maximised state", [](frmMain& f) { f.setWindowState(Qt::WindowMaximized); }},
        // A window system that ignores the frame's size limits.
        {"larger",
         [](frmMain& f) {
             f.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
             f.setGeometry(0, 0, 1200, 900);
         }},
        {"smaller",
         [](frmMain& f) {
             f.setMinimumSize(0, 0);
             f.setGeometry(40, 40, 300, 200);
         }},
    };
    for (const Attempt& attempt : attempts) {
        SCOPED_TRACE(attempt.name);
        attempt.act(frame());
        QCoreApplication::processEvents();
        EXPECT_EQ(frame().geometry(), expected);
        EXPECT_FALSE(frame().isMaximized());
        EXPECT_FALSE(frame().isFullScreen());
        frame().showNormal();
    }
}

TEST_F(FrameTest, ExitQuestionDecidesWhetherTheProgramEnds) {
    struct Case {
        MessageBoxService::Answer answer;
        bool ends;
    };
    for (const Case c :
         {Case{MessageBoxService::Answer::No, false}, Case{MessageBoxService::Answer::Yes, true}}) {
        SCOPED_TRACE(c.ends);
        m_app.reset();
        m_ended.clear();
        FakeSkinHost::forgetSkins();
        startWithSkins();
        m_platform.messageBoxes.queueAnswer(c.answer);
        FakeMediaPlayer* clip = mtbk();
        const int eventRunsBefore = m_platform.waits.processEventsCalls();

        const bool closed = frame().close();

        ASSERT_EQ(m_platform.messageBoxes.shown().size(), 1);
        const auto& box = m_platform.messageBoxes.shown().first();
        EXPECT_EQ(box.icon, MessageBoxService::Icon::Question);
        EXPECT_EQ(box.buttons, MessageBoxService::Buttons::YesNo);
        EXPECT_EQ(box.title, QStringLiteral("Information prompted"));
        EXPECT_EQ(box.text, QStringLiteral("Really want to exit the system?"));
        EXPECT_EQ(closed, c.ends);
        EXPECT_EQ(frame().isVisible(), !c.ends);
        EXPECT_EQ(m_ended, c.ends ? QList<int>{0} : QList<int>{});
        if (!c.ends) {
            // Everything goes on: the docked windows, the background clip.
            EXPECT_TRUE(app().window<frmMediaCtrl>().isVisible());
            EXPECT_EQ(clip->playState(), MediaPlayer::kPlaying);
            EXPECT_FALSE(clip->calls().contains(QStringLiteral("stop")));
            EXPECT_EQ(m_platform.waits.processEventsCalls(), eventRunsBefore);
        } else {
            // Waiting events get their chance before the program goes.
            EXPECT_EQ(m_platform.waits.processEventsCalls(), eventRunsBefore + 1);
        }
    }
}

TEST_F(FrameTest, AFailingExitQuestionKeepsTheProgramRunning) {
    declareSkins(1);
    writeFile(QStringLiteral("system/bk.MP4"));
    ThrowingMessageBoxes boxes;
    m_services.messageBoxes = &boxes;
    ASSERT_TRUE(start());
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    EXPECT_TRUE(m_ended.isEmpty());
}

TEST_F(FrameTest, ButtonsAreMatchedWithoutRegardToCase) {
    struct Case {
        const char* element;
        int opened;
        int deleted;
        const char* dialog;
    };
    const Case cases[] = {
        {"open", 1, 0, ""},
        {"OPEN", 1, 0, ""},
        {"Delete", 0, 1, ""},
        {"DELETE", 0, 1, ""},
        {"setup", 0, 0, "frmSetupInfo"},
        {"SeTuP", 0, 0, "frmSetupInfo"},
        {"info", 0, 0, "frmAbout"},
        {"INFO", 0, 0, "frmAbout"},
        {"close", 0, 0, ""},
    };
    declareSkins(1);
    writeFile(QStringLiteral("system/bk.MP4"));
    ASSERT_TRUE(start());
    // The list with counted operations, made in its band as the real one would be.
    app().unload<frmMP4List>();
    CountingList* list = nullptr;
    app().registerWindow<frmMP4List>([&](Application& a) {
        auto made =
            std::make_unique<CountingList>(windows(), &a.window<frmMediaCtrl>().myListBand());
        list = made.get();
        return made;
    });
    FakeSkinHost* frameSkin = skinOf(&frame());
    ASSERT_NE(frameSkin, nullptr);
    // The skin declares the four buttons; other names reach the window as clicks too.
    FakeSkinHost::declareSkin(
        frameSkin->loadedPath(),
        {"open", "OPEN", "Delete", "DELETE", "setup", "SeTuP", "info", "INFO", "close"}, {}, {});
    ASSERT_TRUE(frameSkin->loadSkin(frameSkin->loadedPath()));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        const int openedBefore = list != nullptr ? list->opened : 0;
        const int deletedBefore = list != nullptr ? list->deleted : 0;
        QString shownModal;
        // A modal dialog runs its own loop; look at it from inside and close it by its skin.
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->isVisible() && w->isModal()) {
                    shownModal = w->objectName();
                    FakeSkinHost* skin = skinOf(w);
                    if (skin == nullptr || !(skin->click("close") || skin->click("CMDCLOSE"))) {
                        w->close();
                    }
                }
            }
        });
        ASSERT_TRUE(frameSkin->click(QString::fromLatin1(c.element)));
        QCoreApplication::processEvents();

        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->opened - openedBefore, c.opened);
        EXPECT_EQ(list->deleted - deletedBefore, c.deleted);
        EXPECT_EQ(shownModal, QString::fromLatin1(c.dialog));
        // Each dialog is unloaded once it has closed.
        EXPECT_FALSE(app().isLoaded<frmAbout>());
        EXPECT_FALSE(app().isLoaded<frmSetupInfo>());
        EXPECT_TRUE(frame().isVisible());
    }
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty())
        << messageTexts().join('\n').toStdString();
}

TEST_F(FrameTest, MissingFrameSkinEndsTheProgram) {
    declareSkins(1, {QStringLiteral("skin/main/1.mp4")});
    writeFile(QStringLiteral("system/bk.MP4"));

    EXPECT_FALSE(start());

    expectOneMessage(MessageBoxService::Icon::Critical, kWarningTitle, kSystemFileMissing);
    EXPECT_EQ(m_ended, QList<int>{1});
    EXPECT_FALSE(app().isLoaded<frmMain>());
    EXPECT_FALSE(app().isLoaded<frmChild>());
    EXPECT_FALSE(app().isLoaded<frmMediaCtrl>());
}

TEST_F(FrameTest, MissingSettingsSkinEndsTheRunningProgram) {
    startWithSkins();
    FakeSkinHost::forgetSkins();
    declareSkins(1, {QStringLiteral("skin/setup/1.mp4")});

    ASSERT_TRUE(skinOf(&frame())->click(QStringLiteral("setup")));

    expectOneMessage(MessageBoxService::Icon::Critical, kWarningTitle, kSystemFileMissing);
    EXPECT_EQ(m_ended, QList<int>{1});
    EXPECT_FALSE(app().isLoaded<frmSetupInfo>());
    // Once ended, closing asks nothing more.
    m_platform.messageBoxes.clear();
    EXPECT_TRUE(frame().close());
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

}  // namespace
