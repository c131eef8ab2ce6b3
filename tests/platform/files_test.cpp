// DOS files: what is not an existing regular file is refused.
#include "temp_dir.h"

#include <proto/dos.h>

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
