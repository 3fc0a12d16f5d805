#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "TempHome.h"
#include "shell/DesktopEntry.h"
#include "shell/DesktopLaunchers.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

constexpr QFileDevice::Permissions kMode0755 =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser | QFileDevice::ReadGroup |
    QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

class DesktopLaunchersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_programFolder = m_home.root() + QStringLiteral("/opt/some folder");
        ASSERT_TRUE(QDir().mkpath(m_programFolder));
        touch(m_programFolder + QStringLiteral("/harventis-dvr-tools"));
    }

    QByteArray expectedLauncher(const QString& program, const QString& folder) const {
        return "[Desktop Entry]\n"
               "Type=Application\n"
               "Version=1.0\n"
               "Name=Harventis DVR Tools\n"
               "Exec=\"" +
               program.toUtf8() +
               "\" %F\n"
               "Path=" +
               folder.toUtf8() +
               "\n"
               "Icon=" +
               folder.toUtf8() +
               "/harventis-dvr-tools.svg\n"
               "Terminal=false\n"
               "Categories=AudioVideo;Video;Player;\n"
               "MimeType=video/mp4;\n";
    }

    TempHome m_home;
    QString m_programFolder;
    DesktopLaunchers m_launchers{QStringLiteral("harventis-dvr-tools")};
};

TEST_F(DesktopLaunchersTest, CreateWritesBothLaunchersAndTheScratchFolder) {
    ASSERT_TRUE(m_launchers.create(QStringLiteral("Harventis DVR Tools"), m_programFolder));

    const QByteArray expected =
        expectedLauncher(m_programFolder + QStringLiteral("/harventis-dvr-tools"), m_programFolder);
    for (const QString& launcher : {m_home.desktopLauncher(), m_home.menuLauncher()}) {
        EXPECT_EQ(readAll(launcher), expected) << launcher.toStdString();
        EXPECT_EQ(QFile::permissions(launcher), kMode0755) << launcher.toStdString();
    }
    EXPECT_TRUE(QFileInfo(m_home.scratchFolder()).isDir());
}

TEST_F(DesktopLaunchersTest, ProgramFileAsTargetRunsThatFile) {
    const QString program = m_programFolder + QStringLiteral("/harventis-dvr-tools");
    ASSERT_TRUE(m_launchers.create(QStringLiteral("Harventis DVR Tools"), program));
    EXPECT_EQ(readAll(m_home.desktopLauncher()), expectedLauncher(program, m_programFolder));
}

TEST_F(DesktopLaunchersTest, DesktopFolderFollowsTheUserDirsFile) {
    QDir().mkpath(m_home.configHome());
    QFile dirs(m_home.configHome() + QStringLiteral("/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    dirs.close();

    ASSERT_TRUE(m_launchers.create(QStringLiteral("Harventis DVR Tools"), m_programFolder));
    EXPECT_TRUE(
        QFile::exists(m_home.home() + QStringLiteral("/Schreibtisch/Harventis DVR Tools.desktop")));
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
}

TEST_F(DesktopLaunchersTest, CreateWithScratchFolderAlreadyThereStillSucceeds) {
    ASSERT_TRUE(QDir().mkpath(m_home.scratchFolder()));
    EXPECT_TRUE(m_launchers.create(QStringLiteral("Harventis DVR Tools"), m_programFolder));
}

TEST_F(DesktopLaunchersTest, EmptyTargetCreatesNothing) {
    EXPECT_FALSE(m_launchers.create(QStringLiteral("Harventis DVR Tools"), QString()));
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
    EXPECT_FALSE(QFile::exists(m_home.menuLauncher()));
    EXPECT_FALSE(QFile::exists(m_home.scratchFolder()));
}

TEST_F(DesktopLaunchersTest, FailingDesktopStepEndsCreation) {
    // A plain file where the desktop folder should be.
    touch(m_home.home() + QStringLiteral("/Desktop"));
    EXPECT_FALSE(m_launchers.create(QStringLiteral("Harventis DVR Tools"), m_programFolder));
    EXPECT_FALSE(QFile::exists(m_home.menuLauncher()));
    EXPECT_FALSE(QFile::exists(m_home.scratchFolder()));
}

TEST_F(DesktopLaunchersTest, RemoveDeletesDesktopLauncherAndScratchFolderOnly) {
    ASSERT_TRUE(m_launchers.create(QStringLiteral("Harventis DVR Tools"), m_programFolder));
    touch(m_home.scratchFolder() + QStringLiteral("/output.kml"));

    EXPECT_TRUE(m_launchers.remove());
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
    EXPECT_FALSE(QFile::exists(m_home.scratchFolder()));
    EXPECT_TRUE(QFile::exists(m_home.menuLauncher()));
}

TEST_F(DesktopLaunchersTest, RemoveWithoutDesktopLauncherKeepsScratchFolder) {
    ASSERT_TRUE(QDir().mkpath(m_home.scratchFolder()));
    EXPECT_FALSE(m_launchers.remove());
    EXPECT_TRUE(QFileInfo(m_home.scratchFolder()).isDir());
}

TEST(DesktopEntry, ExecArgumentSurvivesQuotingAndEscaping) {
    struct Case {
        QString path;
        QString execValue;
    };
    const Case cases[] = {
        {QStringLiteral("/opt/some folder/app"), QStringLiteral("\"/opt/some folder/app\"")},
        {QStringLiteral("/opt/say \"hi\"/app"), QStringLiteral("\"/opt/say \\\\\"hi\\\\\"/app\"")},
        {QStringLiteral("/opt/$HOME/`x`/app"),
         QStringLiteral("\"/opt/\\\\$HOME/\\\\`x\\\\`/app\"")},
        // A literal backslash takes four in the file: one pair for the quotes, one for the
        // string value.
        {QStringLiteral("/opt/back\\slash"), QStringLiteral("\"/opt/back\\\\\\\\slash\"")},
        {QStringLiteral("/opt/100%/app"), QStringLiteral("\"/opt/100%%/app\"")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesktopEntry::escapeValue(DesktopEntry::quoteExecArgument(c.path)), c.execValue)
            << c.path.toStdString();
    }
}

TEST(DesktopEntry, StringValuesEscapeLineBreaksAndLeadingBlank) {
    EXPECT_EQ(DesktopEntry::escapeValue(QStringLiteral(" a\tb\nc\rd\\e ")),
              QStringLiteral("\\sa\\tb\\nc\\rd\\\\e "));
}

}  // namespace
