#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "SkinFolder.h"
#include "UserInput.h"
#include "platform/SkinElement.h"
#include "skin/QtSkinElement.h"
#include "skin/QtSkinHost.h"
#include "skin/SkinSurface.h"

namespace {

const QColor kBackground(0, 0, 0);
const QColor kNormal(255, 0, 0);
const QColor kHover(0, 0, 255);
const QColor kPressed(0, 255, 0);

// A 200 × 120 window: buttons along the top, a horizontal slider whose value v sits at
// x = 5 + v, a vertical one whose value v sits at y = 105 - v, pictures and a text.
const char* const kSkin = R"({
  "skin": 1, "size": [200, 120], "background": "#000000",
  "areas": {"client": [10, 60, 100, 50]},
  "images": {"strip": "strip.svg"},
  "styles": {"plate": {"kind": "button",
                       "looks": {"normal": "red.svg", "hover": "blue.svg", "pressed": "lime.svg"}}},
  "elements": [
    {"name": "open", "style": "plate", "rect": [0, 0, 20, 20], "value": "1001"},
    {"name": "speaker", "kind": "toggle", "style": "plate", "rect": [20, 0, 20, 20]},
    {"name": "under", "style": "plate", "rect": [40, 0, 20, 20]},
    {"name": "over", "style": "plate", "rect": [50, 0, 20, 20]},
    {"name": "digit", "kind": "picture", "rect": [120, 0, 10, 10], "image": "strip", "numbers": [0, 0]},
    {"name": "chart", "kind": "picture", "rect": [140, 0, 10, 10],
     "looks": {"normal": "red.svg", "pressed": "lime.svg"}},
    {"name": "caption", "kind": "text", "rect": [0, 45, 100, 10], "label": "hello"},
    {"name": "progress", "kind": "slider", "rect": [0, 30, 110, 10], "range": [0, 100],
     "thumb": "white.svg"},
    {"name": "level", "kind": "slider", "orientation": "vertical", "rect": [180, 20, 10, 90],
     "range": [0, 80], "start": 40, "thumb": "white.svg"}
  ]})";

const char* const kOtherSkin = R"({
  "skin": 1, "size": [200, 120], "background": "#000000",
  "areas": {"client": [0, 0, 50, 50]},
  "elements": [{"name": "close", "kind": "button", "rect": [0, 0, 20, 20],
                "looks": {"normal": "red.svg", "pressed": "lime.svg"}}]})";

struct Click {
    QString name;
};
struct Value {
    QString name;
    int value;
    bool operator==(const Value& other) const { return name == other.name && value == other.value; }
};

class SkinHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder.write(QStringLiteral("red.svg"), SkinFolder::solid(20, 20, "#ff0000"));
        m_folder.write(QStringLiteral("blue.svg"), SkinFolder::solid(20, 20, "#0000ff"));
        m_folder.write(QStringLiteral("lime.svg"), SkinFolder::solid(20, 20, "#00ff00"));
        m_folder.write(QStringLiteral("white.svg"), SkinFolder::solid(10, 10, "#ffffff"));
        m_folder.write(QStringLiteral("strip.svg"),
                       "<svg xmlns='http://www.w3.org/2000/svg' width='30' height='10'>"
                       "<rect width='10' height='10' fill='#ff0000'/>"
                       "<rect x='10' width='10' height='10' fill='#00ff00'/>"
                       "<rect x='20' width='10' height='10' fill='#0000ff'/></svg>");
        m_skin = m_folder.write(QStringLiteral("skin.mp4"), kSkin);
        m_otherSkin = m_folder.write(QStringLiteral("other.mp4"), kOtherSkin);
        QString error;
        ASSERT_TRUE(m_host.loadSkin(m_skin, &error)) << error.toStdString();
        m_host.setClickHandler([this](SkinElement& e) { m_clicks.push_back(e.name()); });
        m_host.setValueHandler([this](SkinElement& e, int value) {
            m_values.push_back(Value{e.name(), value});
        });
        m_host.applySkin(&m_window);
        m_window.show();
    }

    SkinElement& element(const char* name) {
        SkinElement* e = m_host.element(QString::fromLatin1(name));
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }

    QColor pixel(QPoint at) { return m_window.grab().toImage().pixelColor(at); }

    SkinSurface* surface() { return m_window.findChild<SkinSurface*>(); }

    SkinFolder m_folder;
    QString m_skin;
    QString m_otherSkin;
    QtSkinHost m_host;
    QWidget m_window;
    UserInput m_input{m_window};
    std::vector<QString> m_clicks;
    std::vector<Value> m_values;
};

TEST_F(SkinHostTest, FindsElementsAndAreasWithoutRegardToCase) {
    SkinElement* open = m_host.element(QStringLiteral("open"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(m_host.element(QStringLiteral("OPEN")), open);
    EXPECT_EQ(m_host.element(QStringLiteral("Open")), open);
    EXPECT_EQ(open->name(), QStringLiteral("open"));
    EXPECT_EQ(open->valueText(), QStringLiteral("1001"));
    EXPECT_EQ(m_host.element(QStringLiteral("opener")), nullptr);

    EXPECT_EQ(m_host.area(QStringLiteral("CLIENT")), QRect(10, 60, 100, 50));
    EXPECT_TRUE(m_host.area(QStringLiteral("ControlBand")).isEmpty());
}

TEST(SkinHostWithoutSkinTest, HasNothingAndLeavesWindowsAlone) {
    QtSkinHost host;
    QWidget window;
    window.resize(300, 200);
    host.applySkin(&window);
    EXPECT_EQ(host.element(QStringLiteral("open")), nullptr);
    EXPECT_TRUE(host.area(QStringLiteral("client")).isEmpty());
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(SkinHostTest, SkinnedWindowIsFixedAndFrameless) {
    EXPECT_EQ(m_window.minimumSize(), QSize(200, 120));
    EXPECT_EQ(m_window.maximumSize(), QSize(200, 120));
    EXPECT_TRUE(m_window.windowFlags().testFlag(Qt::FramelessWindowHint));
    // Skinning a shown window again (the settings window switches language so) keeps it shown.
    ASSERT_TRUE(m_host.loadSkin(m_otherSkin));
    m_host.applySkin(&m_window);
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_EQ(pixel(QPoint(10, 10)), kNormal);
}

TEST_F(SkinHostTest, ContentPlacedInAreasStaysAboveTheSkin) {
    QWidget window;
    QLabel before(&window);
    before.setAutoFillBackground(true);
    before.setStyleSheet(QStringLiteral("background: #ff00ff"));
    QtSkinHost host;
    ASSERT_TRUE(host.loadSkin(m_skin));
    host.applySkin(&window);
    before.setGeometry(host.area(QStringLiteral("client")));
    QLabel after(&window);
    after.setStyleSheet(QStringLiteral("background: #00ffff"));
    after.setGeometry(0, 0, 20, 20);
    window.show();
    const QImage image = window.grab().toImage();
    EXPECT_EQ(image.pixelColor(QPoint(60, 85)), QColor(255, 0, 255));
    EXPECT_EQ(image.pixelColor(QPoint(10, 10)), QColor(0, 255, 255));
    EXPECT_EQ(image.pixelColor(QPoint(150, 100)), kBackground);
}

struct LookCase {
    SkinElement::Look look;
    bool pressedFlag;
    QColor shown;
};

class SkinLookTest : public SkinHostTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(SkinLookTest, ButtonsAndPicturesShowTheirLook) {
    for (const char* name : {"open", "speaker", "chart"}) {
        element(name).setLook(GetParam().look);
        element(name).setPressedFlag(GetParam().pressedFlag);
    }
    EXPECT_EQ(pixel(QPoint(10, 10)), GetParam().shown);
    EXPECT_EQ(pixel(QPoint(30, 10)), GetParam().shown);
    EXPECT_EQ(pixel(QPoint(145, 5)), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Looks, SkinLookTest,
                         ::testing::Values(LookCase{SkinElement::Look::Normal, false, kNormal},
                                           LookCase{SkinElement::Look::Pressed, false, kPressed},
                                           LookCase{SkinElement::Look::Selected, false, kPressed},
                                           LookCase{SkinElement::Look::Normal, true, kPressed},
                                           LookCase{SkinElement::Look::Selected, true, kPressed}));

TEST_F(SkinHostTest, PointerGivesHoverAndPressFeedback) {
    m_input.hover(QPoint(10, 10));
    EXPECT_EQ(pixel(QPoint(10, 10)), kHover);
    m_input.hover(QPoint(30, 10));
    EXPECT_EQ(pixel(QPoint(10, 10)), kNormal);
    EXPECT_EQ(pixel(QPoint(30, 10)), kHover);
    m_input.leave();
    EXPECT_EQ(pixel(QPoint(30, 10)), kNormal);

    m_input.press(QPoint(10, 10));
    EXPECT_EQ(pixel(QPoint(10, 10)), kPressed);
    m_input.move(QPoint(100, 100));
    EXPECT_EQ(pixel(QPoint(10, 10)), kNormal);
    m_input.move(QPoint(12, 12));
    EXPECT_EQ(pixel(QPoint(10, 10)), kPressed);
    m_input.release(QPoint(12, 12));
    EXPECT_EQ(pixel(QPoint(10, 10)), kHover);
}

TEST_F(SkinHostTest, ClickIsRaisedOnceOnReleaseOverTheSameElement) {
    m_input.press(QPoint(10, 10));
    EXPECT_TRUE(m_clicks.empty());
    m_input.release(QPoint(10, 10));
    EXPECT_EQ(m_clicks, std::vector<QString>{QStringLiteral("open")});

    m_clicks.clear();
    m_input.press(QPoint(10, 10));
    m_input.release(QPoint(30, 10));  // let go over another button
    m_input.press(QPoint(100, 100));
    m_input.release(QPoint(10, 10));  // pressed on the background
    m_input.click(QPoint(10, 10), Qt::RightButton);
    m_input.click(QPoint(125, 5));  // a picture
    m_input.click(QPoint(20, 50));  // a text
    EXPECT_TRUE(m_clicks.empty());

    // Where two overlap, the one drawn later is on top.
    m_input.click(QPoint(55, 10));
    m_input.click(QPoint(45, 10));
    EXPECT_EQ(m_clicks, (std::vector<QString>{QStringLiteral("over"), QStringLiteral("under")}));
}

TEST_F(SkinHostTest, ToggleClickLeavesItsStateToTheWindow) {
    // The window inverts the mute flag itself on the click; the engine must not do it too.
    m_input.click(QPoint(30, 10));
    EXPECT_EQ(m_clicks, std::vector<QString>{QStringLiteral("speaker")});
    EXPECT_FALSE(element("speaker").pressedFlag());
}

TEST_F(SkinHostTest, ClickOnTheTrackJumpsThereAndRaisesTheValue) {
    m_input.press(QPoint(45, 35));
    EXPECT_EQ(m_values, (std::vector<Value>{Value{QStringLiteral("progress"), 40}}));
    m_input.release(QPoint(45, 35));
    EXPECT_EQ(element("progress").sliderValue(), 40);
    EXPECT_EQ(m_values.size(), 1u);
    EXPECT_TRUE(m_clicks.empty());

    m_input.click(QPoint(109, 35));
    m_input.click(QPoint(1, 35));
    EXPECT_EQ(m_values.back(), (Value{QStringLiteral("progress"), 0}));
    EXPECT_EQ(m_values.at(1), (Value{QStringLiteral("progress"), 100}));
}

TEST_F(SkinHostTest, DraggingTheThumbRaisesEachNewValue) {
    element("progress").setSliderValue(20);  // thumb centre at x = 25
    // Taking the thumb 3 pixels right of its centre moves nothing and raises nothing.
    m_input.press(QPoint(28, 35));
    EXPECT_TRUE(m_values.empty());
    m_input.move(QPoint(38, 35));
    m_input.move(QPoint(39, 36));
    m_input.move(QPoint(39, 80));  // off the slider: only the position along it counts
    m_input.move(QPoint(400, 80));
    m_input.release(QPoint(400, 80));
    EXPECT_EQ(m_values, (std::vector<Value>{{QStringLiteral("progress"), 30},
                                            {QStringLiteral("progress"), 31},
                                            {QStringLiteral("progress"), 100}}));
    EXPECT_EQ(element("progress").sliderValue(), 100);
}

TEST_F(SkinHostTest, WindowMovingTheSliderIsSilentAndClamped) {
    SkinElement& progress = element("progress");
    EXPECT_EQ(progress.sliderValue(), 0);
    EXPECT_EQ(element("level").sliderValue(), 40);
    progress.setSliderValue(55);
    EXPECT_EQ(progress.sliderValue(), 55);
    progress.setSliderValue(150);
    EXPECT_EQ(progress.sliderValue(), 100);
    progress.setSliderValue(-5);
    EXPECT_EQ(progress.sliderValue(), 0);
    EXPECT_TRUE(m_values.empty());

    // The thumb is drawn where the value says.
    progress.setSliderValue(55);
    EXPECT_EQ(pixel(QPoint(60, 35)), QColor(255, 255, 255));
    EXPECT_EQ(pixel(QPoint(20, 35)), kBackground);
}

TEST_F(SkinHostTest, WindowSnappingTheSliderDuringADragIsKept) {
    // The play-speed handler snaps the slider to its stops while the user drags it.
    m_host.setValueHandler([this](SkinElement& e, int value) {
        m_values.push_back(Value{e.name(), value});
        e.setSliderValue(value < 50 ? 20 : 80);
    });
    m_input.press(QPoint(35, 35));
    m_input.move(QPoint(36, 35));
    m_input.move(QPoint(36, 35));
    m_input.release(QPoint(36, 35));
    EXPECT_EQ(m_values, (std::vector<Value>{{QStringLiteral("progress"), 30},
                                            {QStringLiteral("progress"), 31}}));
    EXPECT_EQ(element("progress").sliderValue(), 20);
}

TEST_F(SkinHostTest, VerticalSliderGrowsUpwards) {
    m_input.click(QPoint(185, 45));
    m_input.click(QPoint(185, 21));
    m_input.click(QPoint(185, 109));
    EXPECT_EQ(m_values, (std::vector<Value>{{QStringLiteral("level"), 60},
                                            {QStringLiteral("level"), 80},
                                            {QStringLiteral("level"), 0}}));
}

TEST_F(SkinHostTest, ImageReferenceSelectsARegionAsLargeAsTheElement) {
    SkinElement& digit = element("digit");
    EXPECT_EQ(digit.imageName(), QStringLiteral("strip"));
    EXPECT_EQ(pixel(QPoint(125, 5)), kNormal);

    digit.setImageReference(QStringLiteral("strip"), {10, 0});
    EXPECT_EQ(pixel(QPoint(125, 5)), kPressed);
    // Further numbers (the control bar sends the strip's size and more) change nothing.
    digit.setImageReference(QStringLiteral("STRIP"), {20, 0, 250, 30, 1, 0, 60});
    EXPECT_EQ(pixel(QPoint(125, 5)), kHover);
    EXPECT_EQ(digit.imageNumbers(), (QList<int>{20, 0, 250, 30, 1, 0, 60}));

    // Half of the region lies beyond the image: that half stays empty.
    digit.setImageReference(QStringLiteral("strip"), {25, 0});
    EXPECT_EQ(pixel(QPoint(122, 5)), kHover);
    EXPECT_EQ(pixel(QPoint(127, 5)), kBackground);

    digit.setImageReference(QStringLiteral("no such image"), {0, 0});
    EXPECT_EQ(pixel(QPoint(125, 5)), kBackground);
}

TEST_F(SkinHostTest, KeyboardWalksAndPressesTheControls) {
    QLineEdit other(&m_window);
    other.setGeometry(10, 60, 100, 20);
    other.show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    other.setFocus();

    auto focus = [] { return QApplication::focusWidget(); };
    auto focused = [this] {
        return surface()->focusedElement() ? surface()->focusedElement()->name() : QString();
    };
    UserInput::key(focus(), Qt::Key_Tab);
    ASSERT_EQ(focus(), surface());
    EXPECT_EQ(focused(), QStringLiteral("open"));
    UserInput::key(focus(), Qt::Key_Space);
    UserInput::key(focus(), Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("speaker"));
    UserInput::key(focus(), Qt::Key_Return);
    EXPECT_EQ(m_clicks, (std::vector<QString>{QStringLiteral("open"), QStringLiteral("speaker")}));

    // Pictures and texts are passed over.
    UserInput::key(focus(), Qt::Key_Tab);
    UserInput::key(focus(), Qt::Key_Tab);
    UserInput::key(focus(), Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("progress"));
    UserInput::key(focus(), Qt::Key_Right);
    UserInput::key(focus(), Qt::Key_PageUp);
    UserInput::key(focus(), Qt::Key_End);
    UserInput::key(focus(), Qt::Key_End);  // already there: nothing new
    UserInput::key(focus(), Qt::Key_Left);
    EXPECT_EQ(m_values, (std::vector<Value>{{QStringLiteral("progress"), 1},
                                            {QStringLiteral("progress"), 11},
                                            {QStringLiteral("progress"), 100},
                                            {QStringLiteral("progress"), 99}}));

    // Past the last control focus goes on to the window's other widgets, and back.
    UserInput::key(focus(), Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("level"));
    UserInput::key(focus(), Qt::Key_Up);
    EXPECT_EQ(m_values.back(), (Value{QStringLiteral("level"), 41}));
    UserInput::key(focus(), Qt::Key_Tab);
    EXPECT_EQ(focus(), &other);
    UserInput::key(focus(), Qt::Key_Backtab);
    EXPECT_EQ(focus(), surface());
    EXPECT_EQ(focused(), QStringLiteral("level"));
}

TEST_F(SkinHostTest, FailedLoadKeepsTheSkinInUse) {
    m_folder.write(QStringLiteral("broken.mp4"), "{\"skin\": 1");
    QString error;
    EXPECT_FALSE(m_host.loadSkin(m_folder.path(QStringLiteral("broken.mp4")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(m_host.element(QStringLiteral("open")), nullptr);
    EXPECT_EQ(m_host.area(QStringLiteral("client")), QRect(10, 60, 100, 50));
    m_input.click(QPoint(10, 10));
    EXPECT_EQ(m_clicks, std::vector<QString>{QStringLiteral("open")});
}

TEST_F(SkinHostTest, ElementsOfAnEarlierSkinStayUsable) {
    SkinElement* old = m_host.element(QStringLiteral("open"));
    ASSERT_TRUE(m_host.loadSkin(m_otherSkin));
    EXPECT_EQ(m_host.element(QStringLiteral("open")), nullptr);
    EXPECT_EQ(old->name(), QStringLiteral("open"));
    old->setLook(SkinElement::Look::Pressed);

    m_host.applySkin(&m_window);
    EXPECT_EQ(m_host.area(QStringLiteral("client")), QRect(0, 0, 50, 50));
    EXPECT_EQ(pixel(QPoint(10, 10)), kNormal);
    m_input.click(QPoint(10, 10));
    EXPECT_EQ(m_clicks, std::vector<QString>{QStringLiteral("close")});
}

TEST_F(SkinHostTest, ClickHandlerMaySwitchTheSkin) {
    m_host.setClickHandler([this](SkinElement& e) {
        m_clicks.push_back(e.name());
        if (e.name() == QLatin1String("open")) {
            ASSERT_TRUE(m_host.loadSkin(m_otherSkin));
            m_host.applySkin(&m_window);
            // The element clicked is still there to read.
            EXPECT_EQ(e.valueText(), QStringLiteral("1001"));
        }
    });
    m_input.click(QPoint(10, 10));
    m_input.click(QPoint(10, 10));
    EXPECT_EQ(m_clicks, (std::vector<QString>{QStringLiteral("open"), QStringLiteral("close")}));
}

TEST_F(SkinHostTest, ClickHandlerMayReplaceItself) {
    int later = 0;
    m_host.setClickHandler([&](SkinElement& e) {
        m_clicks.push_back(e.name());
        m_host.setClickHandler([&](SkinElement&) { ++later; });
    });
    m_input.click(QPoint(10, 10));
    m_input.click(QPoint(10, 10));
    EXPECT_EQ(m_clicks.size(), 1u);
    EXPECT_EQ(later, 1);
}

TEST_F(SkinHostTest, WindowOutlivingItsHostKeepsWorking) {
    auto host = std::make_unique<QtSkinHost>();
    QWidget window;
    ASSERT_TRUE(host->loadSkin(m_skin));
    host->applySkin(&window);
    window.show();
    host.reset();
    UserInput(window).click(QPoint(10, 10));
    window.grab();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.findChild<SkinSurface*>(), nullptr);
}

TEST_F(SkinHostTest, HostMayGoInItsOwnClick) {
    auto host = std::make_unique<QtSkinHost>();
    QWidget window;
    ASSERT_TRUE(host->loadSkin(m_skin));
    host->applySkin(&window);
    window.show();
    int clicks = 0;
    host->setClickHandler([&](SkinElement&) {
        ++clicks;
        host.reset();
    });
    UserInput input(window);
    input.click(QPoint(10, 10));
    input.click(QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinHostTest, HostOutlivingItsWindowKeepsWorking) {
    QtSkinHost host;
    auto window = std::make_unique<QWidget>();
    ASSERT_TRUE(host.loadSkin(m_skin));
    host.applySkin(window.get());
    window.reset();
    host.element(QStringLiteral("open"))->setLook(SkinElement::Look::Pressed);
    host.element(QStringLiteral("progress"))->setSliderValue(3);
    EXPECT_EQ(host.element(QStringLiteral("progress"))->sliderValue(), 3);
}

TEST_F(SkinHostTest, DrawsCrispAtFractionalPixelRatios) {
    // A hard edge at x = 8 lands on a whole device pixel at 125 % (120 dpi); drawn at the
    // device's own resolution it stays hard instead of a blurred, stretched 96 dpi picture.
    m_folder.write(QStringLiteral("edge.svg"),
                   "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                   "<rect width='8' height='20' fill='#000000'/>"
                   "<rect x='8' width='32' height='20' fill='#ffffff'/></svg>");
    const QString path =
        m_folder.write(QStringLiteral("edge.mp4"),
                       R"({"skin": 1, "size": [40, 20], "background": {"picture": "edge.svg"}})");
    QtSkinHost host;
    QWidget window;
    ASSERT_TRUE(host.loadSkin(path));
    host.applySkin(&window);
    for (const qreal ratio : {1.0, 1.25, 2.0}) {
        QPixmap picture(QSize(40, 20) * ratio);
        picture.setDevicePixelRatio(ratio);
        window.render(&picture);
        const QImage image = picture.toImage();
        const int edge = qRound(8 * ratio);
        EXPECT_EQ(image.pixelColor(edge - 1, 10), QColor(0, 0, 0)) << ratio;
        EXPECT_EQ(image.pixelColor(edge, 10), QColor(255, 255, 255)) << ratio;
    }
}

}  // namespace
