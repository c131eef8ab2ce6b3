// Amiga names and files on the host, and the matcher.
#include "dos/host_dos.h"
#include "dos/pattern.h"
#include "temp_dir.h"

#include <proto/dos.h>

#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using platform::dos::HostPath;
using platform::dos::Pattern;
constexpr auto kRead = platform::dos::Use::Read;

// Assigned devices, host paths and unknown devices, for DOS and the runtime's streams.
TEST(HostPath, ResolvesDevicesAndPassesHostPaths) {
    const std::string exeFolder = HostPath("progdir:", kRead);
    EXPECT_EQ(HostPath("/tmp/x:y", kRead), "/tmp/x:y");
    EXPECT_EQ(HostPath("relative/file", kRead), "relative/file");
    long error = 0;
    EXPECT_EQ(HostPath("NOSUCHDEV:x", kRead, &error), "");
    EXPECT_EQ(error, ERROR_DEVICE_NOT_MOUNTED);

    TempDir dir;
    ASSERT_TRUE(AssignPath("PROGDIR:", dir.path().c_str()));
    ASSERT_TRUE(AssignPath("Extra", dir.path().c_str()));
    EXPECT_EQ(HostPath("PROGDIR:roms/a.rom", kRead), dir / "roms/a.rom");
    EXPECT_EQ(HostPath("EXTRA:b", kRead), dir / "b");
    AssignPath("PROGDIR", nullptr);
    AssignPath("EXTRA", nullptr);
    EXPECT_EQ(HostPath("PROGDIR:x", kRead), exeFolder + "/x");
    EXPECT_EQ(HostPath("EXTRA:b", kRead), "");

    const char *path = "PROGDIR:roms/Foo.rom";
    EXPECT_EQ(FilePart(path), path + 13);
    EXPECT_STREQ(FilePart("PROGDIR:"), "");
    EXPECT_STREQ(FilePart("PROGDIR:roms/a:b.rom"), "a:b.rom");
    EXPECT_STREQ(FilePart("DEV:file"), "file");

    // The runtime's streams resolve devices: reading makes no folder; an unknown
    // device is a missing file.
    ::setenv("XDG_CONFIG_HOME", (dir / "missing/nested").c_str(), 1);
    EXPECT_EQ(std::fopen("ENVARC:a.ini", "rb"), nullptr);
    EXPECT_FALSE(fs::exists(dir / "missing")) << "reading must not create the folder";
    errno = 0;
    EXPECT_EQ(std::fopen("NOSUCHDEV:x", "wb"), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

// From a bin folder a program's drawer is the user's, made like the system's
// copies, a file it lacks read from the first system folder holding it.
TEST(HostPath, DrawerAndConfigFolderFollowTheBaseDirectoryRules) {
    TempDir dir;
    const auto at = [&](std::string text) { // '@' stands for the test's folder
        for (size_t i; (i = text.find('@')) != std::string::npos;)
            text.replace(i, 1, dir.path());
        return text;
    };
    for (const char *file :
         {"sys1/probe/images/nocart.png", "sys2/probe/images/nocart.png", "sys2/probe/images/b.png",
          "sys2/probe/images/c.png", "data/probe/images/c.png", "sys2/probe/roms/s.rom"})
        dir.Write(file, "");
    for (const char *folder : {"drawer", "bin"}) {
        fs::create_directories(dir.path() / folder);
        fs::copy_file(PATH_PROBE, dir.path() / folder / "probe");
    }
    const std::string data = "XDG_DATA_HOME=@/data XDG_DATA_DIRS=rel:@/sys1::@/sys2 @/bin/probe ";
    const std::pair<std::string, std::string> rows[] = {
        {"@/drawer/probe PROGDIR:images/nocart.png w:PROGDIR:roms/ ENVARC:k.ini",
         "@/drawer/images/nocart.png @/drawer/roms/ @/home/.config/k.ini "},
        {"XDG_CONFIG_HOME=cfg XDG_DATA_HOME=data @/bin/probe PROGDIR:roms/a.rom ENVARC:k.ini",
         "@/home/.local/share/probe/roms/a.rom @/home/.config/k.ini "}, // relative: ignored
        {"XDG_CONFIG_HOME=/cfg " + data +
             "PROGDIR:images/nocart.png PROGDIR:images/b.png PROGDIR:images/c.png "
             "PROGDIR:images/none.png w:PROGDIR:images/b.png PROGDIR: ENVARC:k.ini",
         "@/sys1/probe/images/nocart.png @/sys2/probe/images/b.png @/data/probe/images/c.png "
         "@/data/probe/images/none.png @/data/probe/images/b.png @/data/probe /cfg/k.ini "},
        {data + "n:other PROGDIR:images/nocart.png", "@/data/other/images/nocart.png "},
    };
    for (const auto &[command, expected] : rows) {
        const std::string line = "env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_DATA_DIRS "
                                 "HOME=@/home " +
                                 command;
        FILE *probe = ::popen(at(line).c_str(), "r");
        std::string out;
        for (int c; (c = std::fgetc(probe)) != EOF;)
            out += c == '\n' ? ' ' : char(c);
        EXPECT_EQ(::pclose(probe), 0);
        EXPECT_EQ(out, at(expected)) << command;
    }
    // The drawers made, with the folders the system's copies hold, and no more.
    EXPECT_EQ((std::vector{fs::is_directory(dir / "data/probe/roms"),
                           fs::is_directory(dir / "data/other"),
                           fs::exists(dir / "data/probe/roms/s.rom"),
                           fs::exists(dir / "data/other/images")}),
              (std::vector{true, true, false, false}));
}

TEST(DosFiles, RefusesWhatIsNotAnExistingFile) {
    TempDir dir;
    dir.Write("sub/x", "");
    const std::tuple<std::string, LONG, LONG> refused[] = {
        {dir / "missing", MODE_OLDFILE, ERROR_OBJECT_NOT_FOUND},
        {"NOSUCHDEV:file", MODE_OLDFILE, ERROR_DEVICE_NOT_MOUNTED},
        {dir / "sub/x", MODE_OLDFILE + 1, ERROR_WRITE_PROTECTED}}; // DOS only reads
    for (const auto &[name, mode, error] : refused) {
        EXPECT_EQ(Open(name.c_str(), mode), nullptr) << name;
        EXPECT_EQ(IoErr(), error) << name;
    }

    // A lock names what exists, by its whole host name, which AddPart extends.
    EXPECT_EQ(Lock((dir / "missing").c_str(), SHARED_LOCK), nullptr);
    BPTR lock = Lock((dir / "sub/../sub/").c_str(), SHARED_LOCK);
    char name[4096];
    ASSERT_NE(lock, BPTR(0));
    ASSERT_TRUE(NameFromLock(lock, name, sizeof name));
    EXPECT_FALSE(NameFromLock(lock, name, 3));
    UnLock(lock);
    EXPECT_TRUE(AddPart(name, "roms", sizeof name));
    EXPECT_FALSE(AddPart(name, "x", std::strlen(name) + 2));
    EXPECT_EQ(name, dir / "sub/roms");

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

// Each row: a pattern, a name it matches, and one it does not.
TEST(Wildcards, MatchAsAmigaDosDoes) {
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"#?.rom", "Foo.ROM", "foo.rom.bak"},
        {"#?.(rom|c(ol|ob))", "x.COB", "x.co"}, // "#?" and endings: matched by the end
        {"#?'?.gz", "a?.GZ", "a.gz"},
        {"a?c", "abc", "ac"},
        {"#a", "aAa", "ab"},
        {"x#(ab)y", "xababy", "xaay"},
        {"(foo|ba#r)", "barrr", "fooba"},
        {"~(#?.info)", "disk", "Disk.INFO"},
        {"~a", "aa", "a"},
        {"[a-c]1", "B1", "d1"},
        {"[~a-c]1", "d1", "a1"},
        {"'#'?", "#?", "#a"},
        {"a'(b", "a(b", "ab"},
        {"%", "", "a"},
        {"*", "*", "x"}}; // a star is an ordinary character
    Pattern pattern;
    for (const auto &[text, yes, no] : cases) {
        ASSERT_TRUE(pattern.Compile(text)) << text;
        EXPECT_EQ(std::pair(pattern.Matches(yes), pattern.Matches(no)), std::pair(true, false))
            << text << " vs " << yes << ", " << no;
    }
    for (const char *bad : {"(ab", "ab)", "[ab", "#", "a~", "x'"})
        EXPECT_FALSE(pattern.Compile(bad)) << bad;
    ASSERT_TRUE(pattern.Compile("plain"));
    EXPECT_FALSE(pattern.IsWild());
    ASSERT_TRUE(pattern.Compile("#?#?#?#?#?#?#?#?x"));
    EXPECT_FALSE(pattern.Matches(std::string(200, 'a'))) << "no exponential backtracking";
}

// An anchor with a path buffer of the given size, ended when it goes.
struct Anchor {
    std::vector<char> block;
    AnchorPath *ap;
    explicit Anchor(int bufferSize = 1024) : block(sizeof(AnchorPath) + 1024) {
        ap = reinterpret_cast<AnchorPath *>(block.data());
        ap->ap_Strlen = WORD(bufferSize);
    }
    ~Anchor() { MatchEnd(ap); }

    // Every match: path -> entry type; the code that ended the match in *end.
    std::map<std::string, LONG> All(const std::string &pattern, LONG *end) {
        std::map<std::string, LONG> found;
        LONG code = MatchFirst(pattern.c_str(), ap);
        for (; code == 0; code = MatchNext(ap))
            found[ap->ap_Buf] = ap->ap_Info.fib_DirEntryType;
        *end = code;
        return found;
    }
};

TEST(MatchCalls, ListOneLevelWithTypesAndWholePaths) {
    TempDir dir;
    dir.Write("roms/Game.rom", "12345");
    dir.Write("roms/UPPER.ROM", "");
    dir.Write("roms/notes.txt", "");
    dir.Write("roms/folder.rom/inner.rom", "");
    ASSERT_EQ(::symlink("Game.rom", (dir / "roms/link.rom").c_str()), 0);
    ASSERT_EQ(::symlink("gone", (dir / "roms/dangling.rom").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "roms/pipe.rom").c_str(), 0600), 0); // not listed
    ASSERT_TRUE(AssignPath("PROGDIR", dir.path().c_str()));

    Anchor anchor;
    LONG end = 0;
    EXPECT_EQ(anchor.All("PROGDIR:roms/#?.rom", &end),
              (std::map<std::string, LONG>{
                  {"PROGDIR:roms/Game.rom", ST_FILE},
                  {"PROGDIR:roms/UPPER.ROM", ST_FILE},
                  {"PROGDIR:roms/folder.rom", ST_USERDIR},
                  {"PROGDIR:roms/link.rom", ST_FILE}, // a link to a file is that file
                  {"PROGDIR:roms/dangling.rom", ST_SOFTLINK},
              }));
    EXPECT_EQ(std::pair(end, IoErr()), std::pair(ERROR_NO_MORE_ENTRIES, ERROR_NO_MORE_ENTRIES));

    // An entry whose full path would not fit the buffer is skipped.
    Anchor small(int(std::strlen("PROGDIR:roms/Game.rom") + 1));
    EXPECT_EQ(small.All("PROGDIR:roms/#?.rom", &end),
              (std::map<std::string, LONG>{{"PROGDIR:roms/Game.rom", ST_FILE},
                                           {"PROGDIR:roms/link.rom", ST_FILE}}));

    // A pattern without wildcards finds the entry in its real case.
    ASSERT_EQ(MatchFirst("PROGDIR:roms/game.ROM", anchor.ap), 0);
    EXPECT_STREQ(anchor.ap->ap_Buf, "PROGDIR:roms/Game.rom");
    EXPECT_STREQ(anchor.ap->ap_Info.fib_FileName, "Game.rom");
    EXPECT_EQ(MatchFirst("PROGDIR:roms/absent.rom", anchor.ap), ERROR_OBJECT_NOT_FOUND);
    EXPECT_EQ(MatchFirst("PROGDIR:nodir/#?", anchor.ap), ERROR_OBJECT_NOT_FOUND);
    EXPECT_EQ(MatchFirst("PROGDIR:roms/(a", anchor.ap), ERROR_BAD_TEMPLATE);
    EXPECT_EQ(MatchFirst("NOSUCHDEV:#?", anchor.ap), ERROR_DEVICE_NOT_MOUNTED);
    EXPECT_EQ(MatchFirst("PROGDIR:roms/#?.zip", anchor.ap), ERROR_NO_MORE_ENTRIES);

    // A FIFO or a link to one put in the place of the file just matched is refused.
    for (const bool link : {false, true}) {
        ASSERT_EQ(MatchFirst("PROGDIR:roms/Game.rom", anchor.ap), 0);
        fs::rename(dir / "roms/Game.rom", dir / "Game.rom");
        ASSERT_EQ(link ? ::symlink("pipe.rom", (dir / "roms/Game.rom").c_str())
                       : ::mkfifo((dir / "roms/Game.rom").c_str(), 0600),
                  0);
        EXPECT_EQ(Open(anchor.ap->ap_Buf, MODE_OLDFILE), nullptr);
        EXPECT_EQ(IoErr(), ERROR_OBJECT_WRONG_TYPE);
        fs::remove(dir / "roms/Game.rom");
        fs::rename(dir / "Game.rom", dir / "roms/Game.rom");
    }
    AssignPath("PROGDIR", nullptr);
}
