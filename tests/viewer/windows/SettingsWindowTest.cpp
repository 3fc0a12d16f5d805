#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "LoaderFixture.h"
#include "list/frmMP4List.h"
#include "platform/fake/FakeSkinHost.h"
#include "playback/frmCurve.h"
#include "settings/frmSetupInfo.h"
#include "shell/AppPaths.h"
#include "shell/TextId.h"
#include "shell/clsIniFile.h"

namespace {

// The settings window opened over the viewer with one recording in the list, English and km/h.
class SettingsWindowTest : public LoaderFixture {
  protected:
    void SetUp() override {
        declareSkins(2);
        startViewer();
        const QString path = m_home.root() + QStringLiteral("/20100506/100000.MP4");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        addRecordings({path});
        m_platform.messageBoxes.clear();
    }

    frmSetupInfo& open() {
        windows().load<frmSetupInfo>();
        return app().window<frmSetupInfo>();
    }
    void click(frmSetupInfo& window, const QStringList& names) {
        for (const QString& name : names) {
            ASSERT_TRUE(skinOf(&window)->click(name)) << name.toStdString();
        }
    }
    QString setting(const char* key) {
        return app().settings().GetSetting(QString::fromLatin1(key));
    }
};

TEST_F(SettingsWindowTest, ChoicesShowAsSelectedAndOnlyChangesAreWritten) {
    const QString language = setting("mainv");
    const QString unit = setting("Unit");
    const struct {
        QStringList clicks;
        const char* unitAfter;
    } cases[] = {
        {{"LANG1002", "LANG1001", "CMDCLOSE"}, "1001"},
        {{"UNIT1003", "UNIT1001", "CMDCLOSE"}, "1001"},
        {{"CMDCLOSE"}, "1001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks.join(u' ').toStdString());
        m_platform.messageBoxes.clear();
        frmSetupInfo& window = open();
        EXPECT_EQ(skinOf(&window)->element(QStringLiteral("lang1001"))->look(),
                  SkinElement::Look::Selected);
        EXPECT_EQ(skinOf(&window)->element(QStringLiteral("unit1001"))->look(),
                  SkinElement::Look::Selected);
        click(window, c.clicks);
        EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
        EXPECT_EQ(setting("mainv"), language);
        EXPECT_EQ(setting("Unit"), unit);
        windows().unload<frmSetupInfo>();
    }

    // The pending unit moves the selected look; the window's skin follows a language click.
    frmSetupInfo& window = open();
    click(window, {"UNIT1002", "LANG1002"});
    FakeSkinHost& skin = *skinOf(&window);
    EXPECT_EQ(skin.loadedPath(), programPath(QStringLiteral("skin/setup/2.mp4")));
    EXPECT_EQ(skin.element(QStringLiteral("unit1001"))->look(), SkinElement::Look::Normal);
    EXPECT_EQ(skin.element(QStringLiteral("unit1002"))->look(), SkinElement::Look::Selected);
    EXPECT_EQ(skin.element(QStringLiteral("lang1002"))->look(), SkinElement::Look::Selected);
}

TEST_F(SettingsWindowTest, AUnitChangeIsWrittenAndShownAtOnce) {
    frmSetupInfo& window = open();
    click(window, {"UNIT1002", "CMDCLOSE"});
    EXPECT_EQ(setting("Unit"), QStringLiteral("1002"));
    EXPECT_EQ(app().unitCode(), 1002);
    EXPECT_DOUBLE_EQ(app().unitFactor(), 0.6213712);
    SkinElement* unit = skinOf(&app().window<frmCurve>())->element(QStringLiteral("unit"));
    EXPECT_EQ(unit->imageName(), QStringLiteral("1002"));
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

TEST_F(SettingsWindowTest, ARestartWritesTheListForTheNewRun) {
    m_platform.messageBoxes.queueAnswer(MessageBoxService::Answer::Yes);
    frmSetupInfo& window = open();
    click(window, {"LANG1002", "CMDCLOSE"});
    EXPECT_EQ(m_ended, QList<int>{0});
    ASSERT_EQ(m_platform.processes.started().size(), 1);
    EXPECT_EQ(m_platform.processes.started().first().program, app().programFile());
    QFile handedOver(AppPaths::handOverFile());
    ASSERT_TRUE(handedOver.open(QIODevice::ReadOnly));
    EXPECT_TRUE(handedOver.readAll().contains("100000.MP4"));
}

TEST_F(SettingsWindowTest, ALanguageChangeAsksInTheNewLanguageAndKeepsTheRunWhenItCannotRestart) {
    enum class World { StartFails, ListCannotBeWritten, EmptyList, AnswerNo };
    const struct {
        World world;
        bool ended;
        bool listLeft;
        int messages;
    } cases[] = {
        // The program ends once only: the run that ends comes last.
        {World::AnswerNo, false, false, 1},
        {World::StartFails, false, false, 2},
        {World::ListCannotBeWritten, false, false, 2},
        {World::EmptyList, true, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.world));
        app().setLanguageCode(1001);
        app().settings().SaveSetting(QStringLiteral("mainv"), QStringLiteral("1001"));
        m_platform.messageBoxes.clear();
        m_ended.clear();
        QFile::remove(AppPaths::handOverFile());
        QDir(AppPaths::handOverFile()).removeRecursively();
        m_platform.processes.setStartFails(c.world == World::StartFails);
        if (c.world == World::EmptyList) {
            list().LstMP4().clear();
        }
        if (c.world == World::ListCannotBeWritten) {
            ASSERT_TRUE(QDir().mkpath(AppPaths::handOverFile()));
        }
        m_platform.messageBoxes.queueAnswer(c.world == World::AnswerNo
                                                ? MessageBoxService::Answer::No
                                                : MessageBoxService::Answer::Yes);
        const auto startsBefore = m_platform.processes.started().size();

        frmSetupInfo& window = open();
        click(window, {"LANG1002", "CMDCLOSE"});

        EXPECT_EQ(setting("mainv"), QStringLiteral("1002"));
        EXPECT_EQ(app().languageCode(), 1002);
        ASSERT_EQ(m_platform.messageBoxes.shown().size(), c.messages);
        const auto& question = m_platform.messageBoxes.shown().first();
        EXPECT_EQ(question.text, app().text(TextId::kRestartForLanguage));
        EXPECT_EQ(question.title, app().text(TextId::kInformationPrompted));
        EXPECT_NE(question.text.indexOf(QChar(0x555f)), -1) << "asked in Chinese";
        EXPECT_EQ(m_ended, c.ended ? QList<int>{0} : QList<int>{});
        EXPECT_EQ(QFileInfo(AppPaths::handOverFile()).isFile(), c.listLeft);
        const bool asked = c.world != World::AnswerNo && c.world != World::ListCannotBeWritten;
        ASSERT_EQ(m_platform.processes.started().size(), startsBefore + (asked ? 1 : 0));
        if (asked) {
            const auto& started = m_platform.processes.started().last();
            EXPECT_EQ(started.program, app().programFile());
            EXPECT_TRUE(started.arguments.isEmpty());
            EXPECT_TRUE(started.detached);
        }
        if (c.world == World::StartFails) {
            EXPECT_EQ(m_platform.messageBoxes.shown().last().text,
                      app().text(TextId::kRestartFailed));
        }
        if (app().isLoaded<frmSetupInfo>()) {
            windows().unload<frmSetupInfo>();
        }
        if (c.world == World::ListCannotBeWritten) {
            QDir(AppPaths::handOverFile()).removeRecursively();
        }
    }
}

TEST_F(SettingsWindowTest, AChosenLanguageWithoutItsSkinClosesTheWindowAndChangesNothing) {
    frmSetupInfo& window = open();
    window.show();
    FakeSkinHost::forgetSkins();
    click(window, {"LANG1002"});
    expectOneMessage(MessageBoxService::Icon::Critical, app().text(TextId::kWarningTitle),
                     app().text(TextId::kSystemFileMissing));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(app().languageCode(), 1001);
    EXPECT_TRUE(m_ended.isEmpty());
}

}  // namespace
