#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

#include "platform/fake/FakePlatform.h"
#include "services/TrackTable.h"
#include "services/clsDot.h"
#include "shell/Application.h"
#include "shell/FileExists.h"
#include "shell/StringTable.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/clsIniFile.h"

namespace {

class ApplicationTest : public ::testing::Test {
  protected:
    FakePlatform m_platform;
    Application m_app{m_platform.services(), StringTable::builtIn(),
                      QStringLiteral("/opt/harventis/harventis-dvr-tools")};
};

TEST(UnitFactor, LastDigitChoosesTheFactor) {
    struct Case {
        int code;
        double previous;
        double expected;
    };
    const Case cases[] = {
        {1001, 0.0, 1.0},       {1002, 0.0, 0.6213712}, {1003, 0.0, 0.5399568},
        {2002, 1.0, 0.6213712}, {1004, 0.0, 0.0},       {1004, 0.5399568, 0.5399568},
        {1000, 0.7, 0.7},       {1009, 1.0, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Application::unitFactorFor(c.code, c.previous), c.expected) << c.code;
    }
}

TEST_F(ApplicationTest, UnknownUnitKeepsTheFactorInForce) {
    EXPECT_EQ(m_app.unitFactor(), 0.0);
    m_app.setUnitCode(1002);
    m_app.setUnitCode(1004);
    EXPECT_EQ(m_app.unitCode(), 1004);
    EXPECT_EQ(m_app.unitFactor(), 0.6213712);
}

TEST_F(ApplicationTest, LanguageCodeGivesNumberAndBase) {
    struct Case {
        int code;
        int number;
        int base;
    };
    const Case cases[] = {{1001, 1, 10000}, {1002, 2, 20000}, {2001, 1, 10000}, {1003, 3, 30000}};
    for (const Case& c : cases) {
        m_app.setLanguageCode(c.code);
        EXPECT_EQ(m_app.languageNumber(), c.number) << c.code;
        EXPECT_EQ(m_app.languageBase(), c.base) << c.code;
    }
}

TEST_F(ApplicationTest, TextsComeFromTheLanguageBase) {
    m_app.setLanguageCode(1001);
    EXPECT_EQ(m_app.text(TextId::kExitQuestion), QStringLiteral("Really want to exit the system?"));
    m_app.setLanguageCode(1002);
    EXPECT_EQ(m_app.text(TextId::kExitQuestion), QStringLiteral("是否真的要退出系統？"));
    EXPECT_EQ(m_app.sharedText(TextId::kLanguageChinese), QStringLiteral("繁體中文"));

    m_app.setLanguageCode(1003);
    EXPECT_THROW(m_app.text(TextId::kExitQuestion), std::runtime_error);
    // A number beyond every base is a missing text as well, not an overflow.
    m_app.setLanguageCode(1002);
    EXPECT_THROW(m_app.text(2147480000), std::runtime_error);
}

TEST_F(ApplicationTest, ButtonLabelsFollowTheLanguageOnceChosen) {
    using Answer = MessageBoxService::Answer;
    EXPECT_EQ(m_app.buttonLabel(Answer::Yes), QString());
    m_app.setLanguageCode(1001);
    EXPECT_EQ(m_app.buttonLabel(Answer::Yes), QStringLiteral("Yes"));
    EXPECT_EQ(m_app.buttonLabel(Answer::Cancel), QStringLiteral("Cancel"));
    m_app.setLanguageCode(1002);
    EXPECT_EQ(m_app.buttonLabel(Answer::No), QStringLiteral("否"));
    EXPECT_EQ(m_app.buttonLabel(Answer::Ok), QStringLiteral("確定"));
    // A language without texts leaves the box its own labels.
    m_app.setLanguageCode(1005);
    EXPECT_EQ(m_app.buttonLabel(Answer::Retry), QString());
}

TEST(Twips, ScreensOf108DpiOrMoreHave12) {
    struct Case {
        double dpi;
        int twips;
    };
    const Case cases[] = {{72.0, 15},  {96.0, 15},  {107.9, 15},
                          {108.0, 12}, {120.0, 12}, {192.0, 12}};
    for (const Case& c : cases) {
        EXPECT_EQ(WindowGeometry::twipsForDpi(c.dpi), c.twips) << c.dpi;
    }
}

TEST_F(ApplicationTest, KindLabelsFollowTwipsAndLanguage) {
    // No screen in these tests.
    EXPECT_EQ(m_app.twipsPerPixel(), 15);
    m_app.setLanguageCode(1001);
    EXPECT_EQ(m_app.kindLabel(false), QStringLiteral("  Normal"));
    EXPECT_EQ(m_app.kindLabel(true), QStringLiteral("  Lock"));
    m_app.setTwipsPerPixel(12);
    m_app.setLanguageCode(1002);
    EXPECT_EQ(m_app.kindLabel(false), QStringLiteral("正常"));
    EXPECT_EQ(m_app.kindLabel(true), QStringLiteral("鎖定"));
}

TEST_F(ApplicationTest, MapBaseComesFromSettingsOrTheTable) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mtconfig.mp4"));
    m_app.settings().SetParamter(QStringLiteral("config"), path);
    EXPECT_EQ(m_app.mapBaseAddress(), m_app.sharedText(TextId::kMapBase));

    m_app.settings().SaveSetting(QStringLiteral("MapBase"),
                                 QStringLiteral("https://maps.example.test/harvdvr"));
    EXPECT_EQ(m_app.mapBaseAddress(), QStringLiteral("https://maps.example.test/harvdvr/"));
}

TEST_F(ApplicationTest, SettingsStoreIsMadeOnce) {
    clsIniFile* first = &m_app.settings();
    EXPECT_EQ(&m_app.settings(), first);
}

TEST_F(ApplicationTest, ProgramFolderHoldsTheProgram) {
    EXPECT_EQ(m_app.programFolder(), QStringLiteral("/opt/harventis"));
}

// Stand-ins for window classes; each logs its birth and death.
struct LoggingWindow {
    LoggingWindow(QStringList& log, QString name) : m_log(log), m_name(std::move(name)) {
        m_log << QStringLiteral("make ") + m_name;
    }
    ~LoggingWindow() { m_log << QStringLiteral("drop ") + m_name; }
    LoggingWindow(const LoggingWindow&) = delete;
    LoggingWindow& operator=(const LoggingWindow&) = delete;

    QStringList& m_log;
    QString m_name;
};
struct FirstWindow : LoggingWindow {
    using LoggingWindow::LoggingWindow;
};
struct SecondWindow : LoggingWindow {
    using LoggingWindow::LoggingWindow;
};
struct NeverRegistered {};

TEST(ApplicationWindows, OneInstancePerClassMadeOnFirstUse) {
    QStringList log;
    FakePlatform platform;
    {
        Application app(platform.services(), StringTable(), QString());
        int made = 0;
        app.registerWindow<FirstWindow>([&](Application&) {
            ++made;
            return std::make_unique<FirstWindow>(log, QStringLiteral("first"));
        });
        app.registerWindow<SecondWindow>([&](Application& owner) {
            // A window may reach another while it is made.
            owner.window<FirstWindow>();
            return std::make_unique<SecondWindow>(log, QStringLiteral("second"));
        });
        EXPECT_FALSE(app.isLoaded<FirstWindow>());
        EXPECT_TRUE(log.isEmpty());

        SecondWindow& second = app.window<SecondWindow>();
        EXPECT_EQ(&app.window<SecondWindow>(), &second);
        EXPECT_EQ(&app.window<FirstWindow>(), &app.window<FirstWindow>());
        EXPECT_EQ(made, 1);
        EXPECT_TRUE(app.isLoaded<FirstWindow>());

        app.unload<FirstWindow>();
        EXPECT_FALSE(app.isLoaded<FirstWindow>());
        app.window<FirstWindow>();
        EXPECT_EQ(made, 2);
    }
    // The application drops its windows last made first.
    EXPECT_EQ(log, (QStringList{QStringLiteral("make first"), QStringLiteral("make second"),
                                QStringLiteral("drop first"), QStringLiteral("make first"),
                                QStringLiteral("drop first"), QStringLiteral("drop second")}));
}

TEST(ApplicationWindows, FailuresAreRunTimeErrors) {
    QStringList log;
    FakePlatform platform;
    Application app(platform.services(), StringTable(), QString());

    try {
        app.window<NeverRegistered>();
        FAIL() << "an unregistered window was made";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("NeverRegistered"), std::string::npos);
    }

    bool fail = true;
    app.registerWindow<FirstWindow>([&](Application&) -> std::unique_ptr<FirstWindow> {
        if (fail) {
            throw std::runtime_error("skin file missing");
        }
        return std::make_unique<FirstWindow>(log, QStringLiteral("first"));
    });
    EXPECT_THROW(app.window<FirstWindow>(), std::runtime_error);
    EXPECT_FALSE(app.isLoaded<FirstWindow>());
    fail = false;
    EXPECT_NO_THROW(app.window<FirstWindow>());

    // A window that needs itself while being made.
    app.registerWindow<SecondWindow>([&](Application& owner) {
        owner.window<SecondWindow>();
        return std::make_unique<SecondWindow>(log, QStringLiteral("second"));
    });
    EXPECT_THROW(app.window<SecondWindow>(), std::runtime_error);
    EXPECT_FALSE(app.isLoaded<SecondWindow>());
}

TEST(TrackTable, KeepsInsertionOrderAndNeverReplaces) {
    const auto a = std::make_shared<clsDot>();
    const auto b = std::make_shared<clsDot>();
    const auto c = std::make_shared<clsDot>();
    TrackTable table;
    EXPECT_EQ(TrackTable::keyFor(3), QStringLiteral("No3"));
    EXPECT_TRUE(table.add(TrackTable::keyFor(10), a));
    EXPECT_TRUE(table.add(TrackTable::keyFor(2), b));
    EXPECT_FALSE(table.add(TrackTable::keyFor(10), c));
    EXPECT_EQ(table.keys(), (QStringList{QStringLiteral("No10"), QStringLiteral("No2")}));
    EXPECT_EQ(table.find(QStringLiteral("No10")), a);
    EXPECT_EQ(table.find(QStringLiteral("No3")), nullptr);
    EXPECT_FALSE(table.contains(QStringLiteral("no10")));

    EXPECT_TRUE(table.remove(QStringLiteral("No10")));
    EXPECT_FALSE(table.remove(QStringLiteral("No10")));
    EXPECT_TRUE(table.add(TrackTable::keyFor(10), c));
    EXPECT_EQ(table.keys(), (QStringList{QStringLiteral("No2"), QStringLiteral("No10")}));
}

TEST(FileExists, OnlyFilesCount) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.mp4"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("b.mp4"))));
    EXPECT_FALSE(FileExists(QString()));
}

}  // namespace
