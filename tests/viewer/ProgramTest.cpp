#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include "TempHome.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class ProgramTest : public ::testing::Test {
  protected:
    // The program with its homes in the temporary folder. With display false no display can
    // be reached, so a window object made by mistake would end the program.
    ProgramRun run(const QStringList& arguments, bool display) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : TempHome::variables()) {
            env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
        }
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                   display ? QStringLiteral("offscreen") : QStringLiteral("xcb"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(HARVENTIS_VIEWER_PROGRAM), arguments);
        ProgramRun result;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    TempHome m_home;
};

class InstallerProgramTest : public ProgramTest {};

TEST_F(InstallerProgramTest, CreatesAndRemovesLaunchersWithoutADisplay) {
    const QString folder = m_home.root() + QStringLiteral("/some folder");
    ASSERT_TRUE(QDir().mkpath(folder));

    const ProgramRun created = run({folder + QStringLiteral("*1")}, false);
    EXPECT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.isEmpty());
    QFile launcher(m_home.desktopLauncher());
    ASSERT_TRUE(launcher.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        launcher.readAll().contains("\nExec=\"" + folder.toUtf8() + "/harventis-dvr-tools\" %F\n"));
    EXPECT_TRUE(QFile::exists(m_home.menuLauncher()));
    EXPECT_TRUE(QFileInfo(m_home.scratchFolder()).isDir());
    EXPECT_FALSE(QFile::exists(m_home.settingsFile()));

    // Arguments are joined with blanks before the line is split at "*".
    const ProgramRun removed =
        run({QStringLiteral("remove*the"), QStringLiteral("launchers*now")}, false);
    EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    EXPECT_FALSE(QFile::exists(m_home.desktopLauncher()));
    EXPECT_FALSE(QFile::exists(m_home.scratchFolder()));
    EXPECT_TRUE(QFile::exists(m_home.menuLauncher()));
}

TEST_F(InstallerProgramTest, FatalMessageGoesToTheErrorStream) {
    const ProgramRun result = run({m_home.root() + QStringLiteral("*7")}, false);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              QByteArray("system information: System resource lost,please reboot or re-setup"
                         "Resource with identifier '71100' not found\n"));
}

class InteractiveProgramTest : public ProgramTest {};

TEST_F(InteractiveProgramTest, FirstStartWritesTheDefaultSettings) {
    // The program runs until the user ends it: it is stopped once its state file says the
    // frame is up.
    const QString stateFile = m_home.root() + QStringLiteral("/state.json");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : TempHome::variables()) {
        env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    }
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HARVENTIS_STATE_FILE"), stateFile);
    // The map's web engine as root, without a GPU, with a private runtime folder.
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), QStringLiteral("--disable-gpu"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"),
               QStringLiteral("qt.webenginecontext.info=false"));
    const QString runtime = m_home.root() + QStringLiteral("/runtime");
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(HARVENTIS_VIEWER_PROGRAM), {});
    ASSERT_TRUE(process.waitForStarted());
    bool up = false;
    for (int i = 0; i < 1200 && !up && process.state() == QProcess::Running; ++i) {
        process.waitForFinished(100);
        up = QFile::exists(stateFile);
    }
    process.kill();
    process.waitForFinished();
    ASSERT_TRUE(up) << process.readAllStandardError().toStdString();

    QFile settings(m_home.settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), QByteArray("[config]\nmainv=1001\nArea=2021\nUnit=1001\n"));
}

}  // namespace
