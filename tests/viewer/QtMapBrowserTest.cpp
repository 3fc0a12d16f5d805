#include <gtest/gtest.h>

#include <QUrl>
#include <QWidget>
#include <optional>

#include "MapPageProbe.h"
#include "platform/QtMapBrowser.h"

namespace {

class QtMapBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bool finished = false;
        bool ok = false;
        m_browser.setLoadFinishedHandler([&](bool result) {
            finished = true;
            ok = result;
        });
        const QString page = QStringLiteral(
            "<html><body><script>var varLocal = \"(24.5, 121.25)\";"
            "function MoveCar(x, y) { window.moved = x + '|' + y; }</script></body></html>");
        m_browser.load(QStringLiteral("data:text/html;charset=utf-8,") +
                       QString::fromLatin1(QUrl::toPercentEncoding(page)));
        ASSERT_TRUE(MapPageProbe::waitUntil([&] { return finished; }));
        ASSERT_TRUE(ok);
    }

    std::optional<QString> read(const QString& name) {
        bool answered = false;
        std::optional<QString> value;
        m_browser.readPageValue(name, [&](std::optional<QString> v) {
            answered = true;
            value = std::move(v);
        });
        EXPECT_TRUE(MapPageProbe::waitUntil([&] { return answered; }));
        return value;
    }

    QWidget m_parent;
    QtMapBrowser m_browser{&m_parent};
};

TEST_F(QtMapBrowserTest, ReadsWritesAndRunsScriptsInThePage) {
    EXPECT_EQ(m_browser.widget()->parent(), &m_parent);
    EXPECT_EQ(read(QStringLiteral("varLocal")), QStringLiteral("(24.5, 121.25)"));

    m_browser.writePageValue(QStringLiteral("varLocal"), QString());
    EXPECT_EQ(read(QStringLiteral("varLocal")), QString());

    const QString awkward = QStringLiteral("a\"b'c\\d\n</script>台北");
    m_browser.writePageValue(QStringLiteral("varLocal"), awkward);
    EXPECT_EQ(read(QStringLiteral("varLocal")), awkward);

    m_browser.runScript(QStringLiteral("MoveCar('1213000000', '245000000');"));
    EXPECT_EQ(read(QStringLiteral("moved")), QStringLiteral("1213000000|245000000"));
}

TEST_F(QtMapBrowserTest, MissingOrBadNamesGiveNothing) {
    EXPECT_EQ(read(QStringLiteral("noSuchValue")), std::nullopt);
    EXPECT_EQ(read(QStringLiteral("varLocal;document.title='x'")), std::nullopt);
}

TEST_F(QtMapBrowserTest, ReadyFlagIsKeptForTheMapPanel) {
    EXPECT_EQ(m_browser.readyFlag(), 0);
    m_browser.setReadyFlag(1);
    EXPECT_EQ(m_browser.readyFlag(), 1);
}

}  // namespace
