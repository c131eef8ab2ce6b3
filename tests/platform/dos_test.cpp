// Amiga names on the host: devices for DOS calls and the runtime's streams;
// DOS refuses what is not an existing regular file.
#include "dos/host_dos.h"
#include "temp_dir.h"

#include <proto/dos.h>

#include <cerrno>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>
#include <sys/stat.h>
#include <fcntl.h>

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

TEST(DosFiles, RefusesWhatIsNotAnExistingFile) {
    TempDir dir;
    dir.Write("sub/x", "");
    EXPECT_EQ(Open((dir / "missing").c_str(), MODE_OLDFILE), nullptr);
    EXPECT_EQ(IoErr(), ERROR_OBJECT_NOT_FOUND);
    EXPECT_EQ(Open((dir / "sub").c_str(), MODE_OLDFILE), nullptr);
    EXPECT_EQ(IoErr(), ERROR_OBJECT_WRONG_TYPE);
    EXPECT_EQ(Open("NOSUCHDEV:file", MODE_OLDFILE), nullptr);
    EXPECT_EQ(IoErr(), ERROR_DEVICE_NOT_MOUNTED);
    EXPECT_EQ(Open((dir / "sub").c_str(), MODE_NEWFILE), nullptr);

    // Only regular files are read, links followed; nothing else is opened,
    // neither by DOS nor by the runtime's streams. (The writer held open on
    // the FIFO keeps a faulty open from blocking this test.)
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    const int writer = ::open((dir / "pipe").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero").c_str()), 0);
    ASSERT_EQ(::symlink("sub/x", (dir / "link").c_str()), 0);
    for (const char *name : {"pipe", "zero", "sub"}) {
        EXPECT_EQ(Open((dir / name).c_str(), MODE_OLDFILE), nullptr) << name;
        EXPECT_EQ(IoErr(), ERROR_OBJECT_WRONG_TYPE) << name;
        EXPECT_EQ(std::fopen((dir / name).c_str(), "rb"), nullptr) << name;
    }
    ::close(writer);
    FILE *linked = std::fopen((dir / "link").c_str(), "rb");
    ASSERT_NE(linked, nullptr);
    std::fclose(linked);
}
