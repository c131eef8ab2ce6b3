// Amiga names on the host: devices for DOS calls and the runtime's streams.
#include "dos/host_dos.h"
#include "temp_dir.h"

#include <proto/dos.h>

#include <cerrno>
#include <cstdio>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using platform::dos::HostPath;

TEST(HostPath, ResolvesDevicesAndPassesHostPaths) {
    const std::string exeFolder = fs::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(HostPath("PROGDIR:roms/a.rom", false), exeFolder + "/roms/a.rom");
    EXPECT_EQ(HostPath("progdir:", false), exeFolder);
    EXPECT_EQ(HostPath("/tmp/x:y", false), "/tmp/x:y");
    EXPECT_EQ(HostPath("relative/file", false), "relative/file");
    long error = 0;
    EXPECT_EQ(HostPath("NOSUCHDEV:x", false, &error), "");
    EXPECT_EQ(error, ERROR_DEVICE_NOT_MOUNTED);

    TempDir dir;
    ASSERT_TRUE(AssignPath("PROGDIR:", dir.path().c_str()));
    ASSERT_TRUE(AssignPath("Extra", dir.path().c_str()));
    EXPECT_EQ(HostPath("PROGDIR:roms/a.rom", false), dir / "roms/a.rom");
    EXPECT_EQ(HostPath("EXTRA:b", false), dir / "b");
    AssignPath("PROGDIR", nullptr);
    AssignPath("EXTRA", nullptr);
    EXPECT_EQ(HostPath("PROGDIR:x", false), exeFolder + "/x");
    EXPECT_EQ(HostPath("EXTRA:b", false), "");

    const char *path = "PROGDIR:roms/Foo.rom";
    EXPECT_EQ(FilePart(path), path + 13);
    EXPECT_STREQ(FilePart("PROGDIR:"), "");
    EXPECT_STREQ(FilePart("PROGDIR:roms/a:b.rom"), "a:b.rom");
    EXPECT_STREQ(FilePart("DEV:file"), "file");
}

TEST(HostPath, ConfigFolderFollowsTheBaseDirectoryRules) {
    TempDir dir;
    ::setenv("HOME", dir.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", "not/absolute", 1); // ignored: must be absolute
    EXPECT_EQ(HostPath("ENVARC:k.ini", false), dir / ".config/k.ini");
    ::setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
    EXPECT_EQ(HostPath("ENVARC:k.ini", false), dir / "cfg/k.ini");
}

// The runtime's streams resolve devices (the settings saves write and rename
// through ENVARC:): reading a missing file makes no folder, and an unknown
// device is a missing file.
TEST(RuntimeStreams, ResolveDevices) {
    TempDir dir;
    ::setenv("XDG_CONFIG_HOME", (dir / "missing/nested").c_str(), 1);
    EXPECT_EQ(std::fopen("ENVARC:a.ini", "rb"), nullptr);
    EXPECT_FALSE(fs::exists(dir / "missing")) << "reading must not create the folder";
    dir.Write("missing/nested/b.ini", "x");
    EXPECT_EQ(std::remove("ENVARC:b.ini"), 0);
    EXPECT_FALSE(fs::exists(dir / "missing/nested/b.ini"));
    errno = 0;
    EXPECT_EQ(std::fopen("NOSUCHDEV:x", "wb"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(std::rename((dir / "none").c_str(), "NOSUCHDEV:x"), -1);
}
