#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "SkinFolder.h"
#include "UserInput.h"
#include "skin/QtSkinHost.h"
#include "skin/SkinTitleStrip.h"

namespace {

// A 200 × 100 window with a 20 pixel title strip: the caption on the left, minimise at
// 160..180 and close at 180..200, both lit red while the pointer is over them.
const char* const kSkin = R"({
  "skin": 1, "size": [200, 100], "background": "#000000",
  "title": {"rect": [0, 0, 200, 20],
            "caption": {"rect": [4, 0, 150, 20], "color": "#ffffff", "font": {"size": 12}},
            "minimise": {"rect": [160, 0, 20, 20], "looks": {"hover": "red.svg"}},
            "close": {"rect": [180, 0, 20, 20], "looks": {"hover": "red.svg"}}}})";

// A window that asks before it closes, as the frame does with its exit question.
class AskingWindow : public QWidget {
  public:
    bool answer = false;
    int asked = 0;

  protected:
    void closeEvent(QCloseEvent* event) override {
        ++asked;
        if (answer) {
            event->accept();
        } else {
            event->ignore();
        }
    }
};

class SkinTitleStripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder.write(QStringLiteral("red.svg"), SkinFolder::solid(20, 20, "#ff0000"));
        const QString path = m_folder.write(QStringLiteral("skin.mp4"), kSkin);
        QString error;
        ASSERT_TRUE(m_host.loadSkin(path, &error)) << error.toStdString();
        m_host.applySkin(&m_window);
        m_window.setWindowTitle(QStringLiteral("Harventis DVR Tools"));
        m_window.move(100, 100);
        m_window.show();
    }

    QImage caption() { return m_window.grab(QRect(0, 0, 150, 20)).toImage(); }

    SkinFolder m_folder;
    QtSkinHost m_host;
    AskingWindow m_window;
    UserInput m_input{m_window};
};

TEST_F(SkinTitleStripTest, CaptionIsTheWindowTitle) {
    const QImage product = caption();
    m_window.setWindowTitle(QString());
    const QImage empty = caption();
    m_window.setWindowTitle(QStringLiteral("Harventis DVR Tools"));
    EXPECT_EQ(caption(), product);
    EXPECT_NE(empty, product);
    QImage black(empty.size(), empty.format());
    black.fill(Qt::black);
    EXPECT_EQ(empty, black);
}

TEST_F(SkinTitleStripTest, CloseAsksTheWindowWhichMayRefuse) {
    m_input.click(QPoint(190, 10));
    EXPECT_EQ(m_window.asked, 1);
    EXPECT_TRUE(m_window.isVisible());

    m_window.answer = true;
    m_input.click(QPoint(190, 10));
    EXPECT_EQ(m_window.asked, 2);
    EXPECT_FALSE(m_window.isVisible());
}

TEST_F(SkinTitleStripTest, PressingCloseAndLettingGoElsewhereKeepsTheWindow) {
    m_input.press(QPoint(190, 10));
    m_input.release(QPoint(100, 10));
    EXPECT_EQ(m_window.asked, 0);
}

TEST_F(SkinTitleStripTest, MinimiseMinimises) {
    m_input.click(QPoint(170, 10));
    EXPECT_TRUE(m_window.isMinimized());
    EXPECT_EQ(m_window.asked, 0);
}

TEST_F(SkinTitleStripTest, ButtonsLightUnderThePointer) {
    EXPECT_EQ(m_window.grab().toImage().pixelColor(190, 10), QColor(0, 0, 0));
    m_input.hover(QPoint(190, 10));
    EXPECT_EQ(m_window.grab().toImage().pixelColor(190, 10), QColor(255, 0, 0));
    EXPECT_EQ(m_window.grab().toImage().pixelColor(170, 10), QColor(0, 0, 0));
    m_input.leave();
    EXPECT_EQ(m_window.grab().toImage().pixelColor(190, 10), QColor(0, 0, 0));
}

TEST_F(SkinTitleStripTest, DraggingTheStripMovesTheWindow) {
    const QPoint start = m_window.pos();
    auto* strip = m_window.findChild<SkinTitleStrip*>();
    ASSERT_NE(strip, nullptr);
    const QPoint grip(60, 10);
    const QPoint global = m_window.mapToGlobal(grip);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(grip), QPointF(global), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(30, 20)),
                     QPointF(global + QPoint(30, 20)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(strip, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(grip + QPoint(30, 20)),
                        QPointF(global + QPoint(30, 20)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(strip, &release);
    EXPECT_EQ(m_window.pos(), start + QPoint(30, 20));
    EXPECT_EQ(m_window.size(), QSize(200, 100));
}

TEST_F(SkinTitleStripTest, DoubleClickDoesNotMaximise) {
    auto* strip = m_window.findChild<SkinTitleStrip*>();
    ASSERT_NE(strip, nullptr);
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(60, 10),
                      QPointF(m_window.mapToGlobal(QPoint(60, 10))), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(strip, &twice);
    EXPECT_FALSE(m_window.isMaximized());
    EXPECT_EQ(m_window.size(), QSize(200, 100));
}

TEST_F(SkinTitleStripTest, SkinWithoutTitleDropsTheStrip) {
    const QString plain =
        m_folder.write(QStringLiteral("plain.mp4"), R"({"skin": 1, "size": [200, 100]})");
    ASSERT_TRUE(m_host.loadSkin(plain));
    m_host.applySkin(&m_window);
    const SkinTitleStrip* strip = m_window.findChild<SkinTitleStrip*>();
    EXPECT_TRUE(strip == nullptr || !strip->isVisible());
    m_input.click(QPoint(190, 10));
    EXPECT_EQ(m_window.asked, 0);
}

}  // namespace
