#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <stdexcept>

#include "TempHome.h"
#include "platform/fake/FakePlatform.h"
#include "shell/Application.h"
#include "shell/Startup.h"
#include "shell/StartupWindows.h"
#include "shell/StringTable.h"
#include "shell/clsIniFile.h"

namespace {

// Writes each step into a log; one step can be made to fail.
class RecordingWindows : public StartupWindows {
  public:
    RecordingWindows(QStringList& log, QString failAt) : m_log(log), m_failAt(std::move(failAt)) {}

    void showSplash() override { step(QStringLiteral("splash")); }
    void dockControlBar() override { step(QStringLiteral("control bar")); }
    void dockMapPanel() override { step(QStringLiteral("map panel")); }
    void showMainWindow() override { step(QStringLiteral("main window")); }

  private:
    void step(const QString& name) {
        if (name == m_failAt) {
            throw std::runtime_error("Object variable not set");
        }
        m_log << name;
    }

    QStringList& m_log;
    QString m_failAt;
};

class StartupTest : public ::testing::Test {
  protected:
    void writeSettings(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(m_home.settingsFile()).absolutePath());
        QFile file(m_home.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray settingsText() const {
        QFile file(m_home.settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void expectFatal(const QString& description) const {
        ASSERT_EQ(m_platform.messageBoxes.shown().size(), 1);
        const auto& box = m_platform.messageBoxes.shown().first();
        EXPECT_EQ(box.icon, MessageBoxService::Icon::Critical);
        EXPECT_EQ(box.buttons, MessageBoxService::Buttons::Ok);
        EXPECT_EQ(box.title, QStringLiteral("system information"));
        EXPECT_EQ(box.text,
                  QStringLiteral("System resource lost,please reboot or re-setup") + description);
    }

    TempHome m_home;
    FakePlatform m_platform;
    Application m_app{m_platform.services(), StringTable::builtIn(),
                      QStringLiteral("/opt/harventis/harventis-dvr-tools")};
    QStringList m_steps;
};

TEST_F(StartupTest, FreshMachineWritesDefaultsInOrder) {
    ASSERT_FALSE(QFile::exists(m_home.settingsFile()));
    m_app.setStartupWindows(std::make_unique<RecordingWindows>(m_steps, QString()));

    EXPECT_TRUE(Startup(m_app).runInteractive());

    EXPECT_EQ(settingsText(), QByteArray("[config]\nmainv=1001\nArea=2021\nUnit=1001\n"));
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
    EXPECT_EQ(m_app.languageCode(), 1001);
    EXPECT_EQ(m_app.languageBase(), 10000);
    EXPECT_EQ(m_app.timeZoneEntry(), 2021);
    EXPECT_EQ(m_app.unitCode(), 1001);
    EXPECT_EQ(m_app.unitFactor(), 1.0);
    EXPECT_EQ(m_app.settings().fileName(), m_home.settingsFile());
    EXPECT_EQ(m_steps, (QStringList{QStringLiteral("splash"), QStringLiteral("control bar"),
                                    QStringLiteral("map panel"), QStringLiteral("main window")}));
}

TEST_F(StartupTest, WithoutWindowStepsStartupStillReadsSettings) {
    EXPECT_TRUE(Startup(m_app).runInteractive());
    EXPECT_EQ(settingsText(), QByteArray("[config]\nmainv=1001\nArea=2021\nUnit=1001\n"));
}

TEST_F(StartupTest, StoredSettingsSetLanguageAndUnit) {
    struct Case {
        QByteArray file;
        int languageNumber;
        int languageBase;
        double unitFactor;
        QString caption3000;
    };
    const Case cases[] = {
        {"[config]\nmainv=1002\nArea=2001\nUnit=1002\n", 2, 20000, 0.6213712,
         QStringLiteral("系統提示資訊")},
        {"[config]\nmainv=2001\nArea=2013\nUnit=1003\n", 1, 10000, 0.5399568,
         QStringLiteral("Information prompted")},
        {"[CONFIG]\nMAINV = 1001\nAREA=2025\nUNIT=2002\n", 1, 10000, 0.6213712,
         QStringLiteral("Information prompted")},
        // A unit digit without a factor keeps the factor of a fresh start.
        {"[config]\nmainv=1001\nArea=2021\nUnit=1004\n", 1, 10000, 0.0,
         QStringLiteral("Information prompted")},
    };
    for (const Case& c : cases) {
        TempHome home;
        FakePlatform platform;
        Application app(platform.services(), StringTable::builtIn(), QString());
        QDir().mkpath(QFileInfo(home.settingsFile()).absolutePath());
        QFile file(home.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.file);
        file.close();

        ASSERT_TRUE(Startup(app).runInteractive()) << c.file.toStdString();
        EXPECT_EQ(app.languageNumber(), c.languageNumber) << c.file.toStdString();
        EXPECT_EQ(app.languageBase(), c.languageBase) << c.file.toStdString();
        EXPECT_EQ(app.unitFactor(), c.unitFactor) << c.file.toStdString();
        EXPECT_EQ(app.text(3000), c.caption3000) << c.file.toStdString();
        EXPECT_TRUE(platform.messageBoxes.shown().isEmpty());
        // Nothing was unset, so nothing was written.
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.file);
    }
}

TEST_F(StartupTest, MilesPerHourShowsHundredKmhAs62Point13712) {
    writeSettings("[config]\nmainv=1001\nArea=2021\nUnit=1002\n");
    ASSERT_TRUE(Startup(m_app).runInteractive());
    EXPECT_DOUBLE_EQ(100.0 * m_app.unitFactor(), 62.13712);
}

TEST_F(StartupTest, UnusableValuesAreReplacedByDefaults) {
    // Values that would end every start with the fatal message are replaced where they stand;
    // the others, and every other line, stay as they are.
    struct Case {
        QByteArray stored;
        QByteArray expected;
    };
    const Case cases[] = {
        {"[config]\nmainv=abc\nArea=\nUnit=10x2\nMapBase=keep\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1001\nMapBase=keep\n"},
        // Language numbers without texts: 5, 3, 0 and -2.
        {"[config]\nmainv=1005\nArea=2021\nUnit=1002\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1002\n"},
        {"[config]\nmainv=1003\nArea=2021\nUnit=1002\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1002\n"},
        {"[config]\nmainv=1000\nArea=2021\nUnit=1002\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1002\n"},
        {"[config]\nmainv=-1002\nArea=2021\nUnit=1002\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1002\n"},
        // Time-zone entries beyond 2001 to 2025; 2000 is a text, but the count of entries.
        {"[config]\nmainv=1002\nArea=9999\nUnit=1003\nMapBase=https://\xE5\x9C\xB0.example/\n",
         "[config]\nmainv=1002\nArea=2021\nUnit=1003\nMapBase=https://\xE5\x9C\xB0.example/\n"},
        {"[config]\nmainv=1001\nArea=2000\nUnit=1001\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1001\n"},
        {"[config]\nmainv=1001\nArea=2026\nUnit=1001\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1001\n"},
        {"[config]\nmainv=1001\nArea=-2021\nUnit=1001\n",
         "[config]\nmainv=1001\nArea=2021\nUnit=1001\n"},
        // In range: the first and last entries, language 2 under another code, any unit digit.
        {"[config]\nmainv=2002\nArea=2001\nUnit=1009\n",
         "[config]\nmainv=2002\nArea=2001\nUnit=1009\n"},
        {"[config]\nmainv=1001\nArea=2025\nUnit=1000\n",
         "[config]\nmainv=1001\nArea=2025\nUnit=1000\n"},
    };
    for (const Case& c : cases) {
        writeSettings(c.stored);
        EXPECT_TRUE(Startup(m_app).runInteractive()) << c.stored.toStdString();
        EXPECT_EQ(settingsText(), c.expected) << c.stored.toStdString();
    }
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

TEST_F(StartupTest, FailedTimeZoneLookupEndsBeforeUnitIsWritten) {
    // A table whose English lacks the time-zone entries.
    Application app(m_platform.services(),
                    StringTable::fromJson(R"({"languages":{"10000":{"1100":"Caption"}}})"),
                    QString());
    app.setStartupWindows(std::make_unique<RecordingWindows>(m_steps, QString()));

    EXPECT_FALSE(Startup(app).runInteractive());

    // mainv and Area were stored before the lookup failed; Unit comes only after it.
    EXPECT_EQ(settingsText(), QByteArray("[config]\nmainv=1001\nArea=2021\n"));
    expectFatal(QStringLiteral("Resource with identifier '12021' not found"));
    EXPECT_TRUE(m_steps.isEmpty());
}

TEST_F(StartupTest, FailingWindowStepStopsTheRest) {
    m_app.setStartupWindows(
        std::make_unique<RecordingWindows>(m_steps, QStringLiteral("map panel")));
    EXPECT_FALSE(Startup(m_app).runInteractive());
    expectFatal(QStringLiteral("Object variable not set"));
    EXPECT_EQ(m_steps, (QStringList{QStringLiteral("splash"), QStringLiteral("control bar")}));
}

TEST_F(StartupTest, SettingsFileThatCannotBeCreatedIsFatal) {
    // A plain file where the settings folder should be.
    QDir().mkpath(m_home.configHome());
    QFile blocker(m_home.configHome() + QStringLiteral("/harventis-dvr-tools"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    EXPECT_FALSE(Startup(m_app).runInteractive());
    expectFatal(QStringLiteral("Cannot create the settings file ") + m_home.settingsFile());
}

class InstallerTest : public StartupTest {
  protected:
    void SetUp() override {
        m_folder = m_home.root() + QStringLiteral("/Opt/Some Folder");
        ASSERT_TRUE(QDir().mkpath(m_folder));
    }

    QString m_folder;
};

TEST_F(InstallerTest, PathAndLanguageCreateLaunchers) {
    // The folder typed in lower case comes back as stored.
    const QString typed = m_home.root() + QStringLiteral("/opt/some folder");
    EXPECT_EQ(Startup(m_app).runInstaller(typed + QStringLiteral("*1")), 0);

    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
    EXPECT_EQ(m_app.installerArguments(), (QStringList{typed, QStringLiteral("1")}));
    QFile launcher(m_home.desktopLauncher());
    ASSERT_TRUE(launcher.open(QIODevice::ReadOnly));
    const QByteArray text = launcher.readAll();
    EXPECT_TRUE(text.contains("\nName=Harventis DVR Tools\n"));
    EXPECT_TRUE(text.contains("\nExec=\"" + m_folder.toUtf8() + "/harventis-dvr-tools\" %F\n"))
        << text.toStdString();
    EXPECT_TRUE(QFile::exists(m_home.menuLauncher()));
    EXPECT_TRUE(QFileInfo(m_home.scratchFolder()).isDir());
}

TEST_F(InstallerTest, ChineseCaptionNamesTheSameLaunchers) {
    EXPECT_EQ(Startup(m_app).runInstaller(m_folder + QStringLiteral("**2")), 0);
    EXPECT_TRUE(QFile::exists(m_home.desktopLauncher()));
    EXPECT_TRUE(QFile::exists(m_home.menuLauncher()));
}

TEST_F(InstallerTest, ThreeArgumentsRemoveLaunchers) {
    ASSERT_EQ(Startup(m_app).runInstaller(m_folder + QStringLiteral("*1")), 0);
    EXPECT_EQ(Startup(m_app).runInstaller(QStringLiteral("remove*all*now")), 0);
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
    EXPECT_FALSE(QFile::exists(m_home.scratchFolder()));
    EXPECT_TRUE(QFile::exists(m_home.menuLauncher()));

    // Nothing left to remove: the operation reports it through the exit status only.
    EXPECT_EQ(Startup(m_app).runInstaller(QStringLiteral("remove*all*now")), 1);
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

TEST_F(InstallerTest, NothingToDoEndsQuietly) {
    for (const QString& line : {QStringLiteral("single"), QStringLiteral("***")}) {
        EXPECT_EQ(Startup(m_app).runInstaller(line), 0) << line.toStdString();
    }
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
    EXPECT_FALSE(QFile::exists(m_home.scratchFolder()));
    // Installer mode never binds the settings.
    EXPECT_FALSE(QFile::exists(m_home.settingsFile()));
}

TEST_F(InstallerTest, MissingFolderCreatesNothing) {
    EXPECT_EQ(Startup(m_app).runInstaller(m_home.root() + QStringLiteral("/nowhere*1")), 1);
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
}

TEST_F(InstallerTest, BadLanguageArgumentIsFatal) {
    struct Case {
        QString language;
        QString description;
    };
    const Case cases[] = {
        {QStringLiteral("x"), QStringLiteral("Type mismatch")},
        {QStringLiteral("3"), QStringLiteral("Resource with identifier '31100' not found")},
        {QStringLiteral("999999"),
         QStringLiteral("Resource with identifier '9999991100' not found")},
    };
    for (const Case& c : cases) {
        m_platform.messageBoxes.clear();
        EXPECT_EQ(Startup(m_app).runInstaller(m_folder + u'*' + c.language), 1);
        expectFatal(c.description);
    }
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
}

}  // namespace
