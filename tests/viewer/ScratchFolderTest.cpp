#include <gtest/gtest.h>

#include <QString>

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

}  // namespace
