#include <gtest/gtest.h>

#include <QStringList>

#include "platform/fake/FakeMapBrowser.h"
#include "services/MapPage.h"

namespace {

TEST(MapPage, CallsTheReadyPageWithTextsOfTheFormItExpects) {
    struct Case {
        const char* call;
        const char* argument;
        bool sent;
    };
    const Case cases[] = {
        {"getContentHis", "003121.533958!25.036512|", true},
        {"getContentHis", "121.533990!25.036540|-58.381592!-34.603723|", true},
        {"getContentHis", "1234", true},
        {"getContentHis", "Over", true},
        {"getContentHis", "003121.5!25.0|');alert(1);('", false},
        {"getContentHis", "121.5|25.0", false},
        {"clearHistroy", "003", true},
        {"clearHistroy", "03", false},
        {"clearHistroy", "003'", false},
        {"MoveCar", "121.533958|25.036512|12|270", true},
        {"MoveCar", "-58.381592|-34.603723|1|-5", true},
        {"MoveCar", "121.5|25.0|x|90", false},
        {"MoveCar", "121.5|25.0", false},
    };
    FakeMapBrowser browser;
    MapPage page;
    page.attach(&browser);
    page.setReadyFlag(MapPage::kReady);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        browser.clearScripts();
        const QString argument = QString::fromLatin1(c.argument);
        const QString call = QString::fromLatin1(c.call);
        const bool sent = call == QStringLiteral("getContentHis")  ? page.getContentHis(argument)
                          : call == QStringLiteral("clearHistroy") ? page.clearHistroy(argument)
                                                                   : page.MoveCar(argument);
        EXPECT_EQ(sent, c.sent);
        EXPECT_EQ(browser.scripts(), c.sent ? QStringList{call + QStringLiteral("('") + argument +
                                                          QStringLiteral("')")}
                                            : QStringList());
    }
}

TEST(MapPage, NothingReachesAPageThatIsNotReadyAndNothingIsKeptForLater) {
    FakeMapBrowser browser;
    MapPage page;
    QList<int> flags;
    page.addReadyHandler([&flags](int flag) { flags << flag; });
    // Without a browser the page is not ready and a flag has nowhere to go.
    EXPECT_FALSE(page.MoveCar(QStringLiteral("1.0|2.0|1|0")));
    page.setReadyFlag(MapPage::kReady);
    EXPECT_FALSE(page.isReady());

    page.attach(&browser);
    EXPECT_FALSE(page.clearHistroy(QStringLiteral("001")));
    EXPECT_FALSE(page.pollClick([](std::optional<QString>) { ADD_FAILURE(); }));
    page.setReadyFlag(MapPage::kReady);
    EXPECT_TRUE(page.isReady());
    EXPECT_EQ(browser.scripts(), QStringList());
    EXPECT_EQ(flags, QList<int>{MapPage::kReady});

    page.attach(nullptr);
    EXPECT_FALSE(page.isReady());
}

TEST(MapPage, TheClickIsTakenInOneScript) {
    FakeMapBrowser browser;
    MapPage page;
    page.attach(&browser);
    page.setReadyFlag(MapPage::kReady);
    browser.setAnswerReadsAtOnce(false);
    browser.setPageValue(MapPage::kTakenClickVariable, QStringLiteral("(25.0365, 121.5339)"));
    std::optional<QString> taken;
    ASSERT_TRUE(page.pollClick([&taken](std::optional<QString> click) { taken = click; }));
    ASSERT_EQ(browser.scripts().size(), 1);
    // Read and emptied together, in the page, before the answer comes back.
    EXPECT_TRUE(browser.scripts().first().contains(QStringLiteral("varLocal = ''")));
    EXPECT_FALSE(taken);
    browser.answerPendingReads();
    EXPECT_EQ(taken, QStringLiteral("(25.0365, 121.5339)"));
}

TEST(MapPage, SerialsHaveAtLeastThreeDigits) {
    EXPECT_EQ(MapPage::serialText(7), QStringLiteral("007"));
    EXPECT_EQ(MapPage::serialText(1234), QStringLiteral("1234"));
    for (const char* text : {"121.533958", "-34.603723", "0", "-0.5"}) {
        EXPECT_TRUE(MapPage::isCoordinate(QString::fromLatin1(text))) << text;
    }
    for (const char* text : {"", "1e5", "12,5", " 1", "1.", "0x10", "1234.5"}) {
        EXPECT_FALSE(MapPage::isCoordinate(QString::fromLatin1(text))) << text;
    }
}

}  // namespace
