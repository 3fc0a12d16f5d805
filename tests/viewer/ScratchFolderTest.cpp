#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <optional>

#include "ScratchFolder.h"
#include "TempHome.h"
#include "shell/AppPaths.h"

namespace {

TEST(ScratchFolder, LivesInTheCacheFolder) {
    TempHome home;
    EXPECT_EQ(ScratchFolder::path(), home.cacheHome().toStdString() + "/HarventisDVRtempFile");
    EXPECT_EQ(AppPaths::scratchFolder(), home.scratchFolder());

    // Unset, empty or relative: the default below the home folder.
    for (const QByteArray& value : {QByteArray(), QByteArray("relative/cache")}) {
        home.set("XDG_CACHE_HOME", value);
        EXPECT_EQ(ScratchFolder::path(),
                  home.home().toStdString() + "/.cache/HarventisDVRtempFile");
    }
    home.unset("XDG_CACHE_HOME");
    EXPECT_EQ(ScratchFolder::path(), home.home().toStdString() + "/.cache/HarventisDVRtempFile");
}

TEST(ScratchFolder, DriveOfWindowsStylePaths) {
    struct Case {
        const char* path;
        const char* drive;
    };
    const Case cases[] = {
        {R"(C:\Program Files\Harventis\Harventis DVR Tools.exe)", "C:"},
        {"d:/tools/viewer", "d:"},
        {R"(\\server\share\tools\viewer.exe)", R"(\\server\share)"},
        {R"(\\server)", R"(\\server)"},
        {"/usr/local/bin/harventis-dvr-tools", ""},
        {"relative\\path", ""},
        {"C", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScratchFolder::driveName(c.path), c.drive) << c.path;
    }
}

TEST(ScratchFolder, ProgramPathChoosesTheFolder) {
    TempHome home;
    EXPECT_EQ(ScratchFolder::folderForProgramPath(
                  R"(C:\Program Files\Harventis\Harventis DVR Tools.exe)"),
              R"(C:\HarventisDVRtempFile)");
    EXPECT_EQ(ScratchFolder::folderForProgramPath("/opt/harventis/harventis-dvr-tools"),
              home.scratchFolder().toStdString());
}

TEST(AppPaths, FollowTheXdgVariables) {
    TempHome home;
    EXPECT_EQ(AppPaths::settingsFile(), home.settingsFile());
    EXPECT_EQ(AppPaths::desktopFolder(), home.home() + QStringLiteral("/Desktop"));
    EXPECT_EQ(AppPaths::applicationsFolder(), home.dataHome() + QStringLiteral("/applications"));
}

TEST(AppPaths, UnsetEmptyOrRelativeXdgFoldersFallBackBelowHome) {
    struct Case {
        const char* variable;
        QString (*path)();
        QString belowHome;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME", &AppPaths::settingsFile,
         QStringLiteral("/.config/harventis-dvr-tools/mtconfig.mp4")},
        {"XDG_DATA_HOME", &AppPaths::applicationsFolder,
         QStringLiteral("/.local/share/applications")},
    };
    // Nothing stands for an unset variable.
    const std::optional<QByteArray> values[] = {std::nullopt, QByteArray(),
                                                QByteArray("relative/folder"),
                                                QByteArray("./folder"), QByteArray("~/folder")};
    for (const Case& c : cases) {
        for (const auto& value : values) {
            TempHome home;
            if (value) {
                home.set(c.variable, *value);
            } else {
                home.unset(c.variable);
            }
            EXPECT_EQ(c.path(), home.home() + c.belowHome)
                << c.variable << "=" << value.value_or("(unset)").constData();
        }
    }
}

TEST(AppPaths, DesktopFolderComesFromTheUserDirsFileInTheConfigFolder) {
    // Paths below the temporary root; "<root>" in a value stands for it.
    struct Case {
        QByteArray configHome;
        QString userDirsFolder;
        QByteArray line;
        QString desktop;
    };
    const Case cases[] = {
        {"<root>/config", QStringLiteral("config"), "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"",
         QStringLiteral("home/Schreibtisch")},
        {"<root>/config", QStringLiteral("config"), "XDG_DESKTOP_DIR=\"$HOME/\"",
         QStringLiteral("home")},
        {"<root>/config", QStringLiteral("config"), "XDG_DESKTOP_DIR=\"<root>/shared desk/\"",
         QStringLiteral("shared desk")},
        // An unset or relative XDG_CONFIG_HOME is ignored: the file below ~/.config counts.
        {"config", QStringLiteral("home/.config"), "XDG_DESKTOP_DIR=\"$HOME/Bureau\"",
         QStringLiteral("home/Bureau")},
        {"", QStringLiteral("home/.config"), "XDG_DESKTOP_DIR=\"$HOME/Bureau\"",
         QStringLiteral("home/Bureau")},
        // No desktop line, or a desktop that is neither absolute nor below $HOME.
        {"<root>/config", QStringLiteral("config"), "XDG_MUSIC_DIR=\"$HOME/Musik\"",
         QStringLiteral("home/Desktop")},
        {"<root>/config", QStringLiteral("config"), "XDG_DESKTOP_DIR=\"Schreibtisch\"",
         QStringLiteral("home/Desktop")},
    };
    for (const Case& c : cases) {
        TempHome home;
        const QByteArray root = home.root().toLocal8Bit();
        home.set("XDG_CONFIG_HOME", QByteArray(c.configHome).replace("<root>", root));
        const QString folder = home.root() + u'/' + c.userDirsFolder;
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile file(folder + QStringLiteral("/user-dirs.dirs"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n" +
                   QByteArray(c.line).replace("<root>", root) + '\n');
        file.close();
        EXPECT_EQ(AppPaths::desktopFolder(), home.root() + u'/' + c.desktop) << c.line.constData();
    }
}

}  // namespace
