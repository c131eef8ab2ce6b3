#include "temp_dir.h"
#include "ini_roundtrip.h"

#include <INIFile.h>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::string_literals;

const char kExample[] = "[Settings]\nFullScreen = 1\nSoundOn = 1\nDoubleSize = 0\n"
                        "ScanLines = 1\nPalette = 2\n";

struct IniFile : ::testing::Test {
    TempDir dir;
    INIFile ini;
    IniFile() { InitINI(&ini); }
    ~IniFile() override { TrashINI(&ini); }

    LONG Load(const std::string &text) {
        TrashINI(&ini);
        return LoadINI(&ini, dir.Write("in.ini", text).c_str());
    }
    // The store as the file that SaveINI writes.
    std::string Dump() {
        std::filesystem::remove(dir / "dump.ini");
        SaveINI(&ini, (dir / "dump.ini").c_str());
        return dir.Read("dump.ini");
    }
    size_t FilesInDir() {
        auto entries = std::filesystem::directory_iterator(dir.path());
        return static_cast<size_t>(std::distance(begin(entries), end(entries)));
    }
};

TEST_F(IniFile, ExampleLoadsAndSavesBackByteForByte) {
    EXPECT_EQ(LoadINI(&ini, (dir / "missing.ini").c_str()), 0);
    EXPECT_EQ(ini.Sections, nullptr);

    EXPECT_EQ(Load(kExample), 5);
    EXPECT_STREQ(ini.Sections[0].Vars[4].Value, "2");
    EXPECT_EQ(SaveINI(&ini, (dir / "out.ini").c_str()), 5);
    EXPECT_EQ(dir.Read("out.ini"), kExample);
    EXPECT_EQ(FilesInDir(), 2u); // no temporary file left behind
}

TEST_F(IniFile, ReaderRules) {
    const struct {
        std::string text, dump;
        LONG count;
    } cases[] = {
        {"a = 1\n[S]\nb=2\n", "[S]\nb = 2\n", 1},
        {"  [  Set tings  ] junk\nPalette=2\n[Set tings\nSoundOn=1\n",
         "[Set tings]\nPalette = 2\nSoundOn = 1\n", 2},
        {"[  ]\na=1\n[]\nb=2\n[S] c=3\nd=4\n", "[S]\nd = 4\n", 1},
        {"[S]\nPalette=2\nPalette = 2\n\t Palette\t=\t2\r\nk =  \t\r\n", "[S]\nPalette = 2\nk = \n",
         4},
        {"[S]\na = b = c \n; c = 1\n; note\n= 5\n#x\n", "[S]\na = b = c\n; c = 1\n", 2},
        {"[S]\na=1\n[T]\nb=2\n[S]\na=3\nc=4", "[S]\na = 3\nc = 4\n[T]\nb = 2\n", 4},
        {"[S]\na=1\0junk=2\n\x7f=\xff\n"s, "[S]\na = 1\n\x7f = \xff\n", 2},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Load(c.text), c.count) << c.text;
        EXPECT_EQ(Dump(), c.dump) << c.text;
    }
}

TEST_F(IniFile, LongLinesAreReadInPiecesAndWrittenWhole) {
    EXPECT_EQ(Load("[S]\nabc = " + std::string(300, 'v') + "=x\n"), 2);
    EXPECT_EQ(Dump(),
              "[S]\nabc = " + std::string(249, 'v') + "\n" + std::string(51, 'v') + " = x\n");
    // A cut header name never finds its record: each variable gets its own.
    EXPECT_EQ(Load("[" + std::string(70, 'h') + "]\na=1\nb=2\n"), 2);
    const std::string header = "[" + std::string(63, 'h') + "]\n";
    EXPECT_EQ(Dump(), header + "a = 1\n" + header + "b = 2\n");
    // Loading adds to the store: a line finds the first record of its name.
    const std::string name63(63, 'n');
    INISetString(&ini, "S", (name63 + "x").c_str(), "1");
    INISetString(&ini, "S", (name63 + "x").c_str(), "2");
    dir.Write("more.ini", "[S]\n" + name63 + " = 3\n");
    EXPECT_EQ(LoadINI(&ini, (dir / "more.ini").c_str()), 1);
    EXPECT_EQ(Dump(),
              header + "a = 1\n" + header + "b = 2\n[S]\n" + name63 + " = 3\n" + name63 + " = 2\n");

    TrashINI(&ini);
    INISetString(&ini, "S", std::string(80, 'n').c_str(), std::string(300, 'v').c_str());
    EXPECT_EQ(Dump().size(), 4 + 322u);
}

TEST_F(IniFile, RoundTripLosesWhatTheFormatCannotCarry) {
    const std::string name63(63, 'n');
    const struct {
        const char *section, *name;
        std::string value, dump;
    } lossy[] = {
        {"", "a", "1", ""},
        {"S", "", "1", ""},
        {"S", " pad ", " v ", "[S]\npad = v\n"},
        {"S", "a=b", "1", "[S]\na = b = 1\n"},
        {"S", "[x", "1", ""},
        {"S", "lf", "1\n2", "[S]\nlf = 1\n"},
        {"S", name63.c_str(), std::string(200, 'v'),
         "[S]\n" + name63 + " = " + std::string(189, 'v') + "\n"},
    };
    for (const auto &c : lossy) {
        TrashINI(&ini);
        INISetString(&ini, c.section, c.name, c.value.c_str());
        EXPECT_NE(RoundTripExemption(ini), nullptr) << c.name;
        Load(Dump());
        EXPECT_EQ(Dump(), c.dump) << c.name;
    }
}

TEST_F(IniFile, FailedSaveKeepsTheOldFile) {
    Load(kExample);
    std::filesystem::create_directory(dir / "folder.ini");
    EXPECT_EQ(SaveINI(&ini, (dir / "folder.ini").c_str()), 0); // the rename fails
    EXPECT_EQ(SaveINI(&ini, (dir / "none/x.ini").c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));

    // A full disk: the child may write only 4 KiB to any file.
    for (int i = 0; i < 200; i++)
        INISetString(&ini, "Big", std::to_string(i).c_str(), std::string(100, 'x').c_str());
    dir.Write("old.ini", kExample);
    pid_t child = fork();
    if (child == 0) {
        rlimit limit{4096, 4096};
        signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(SaveINI(&ini, (dir / "old.ini").c_str()) == 0 ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(dir.Read("old.ini"), kExample);
    EXPECT_EQ(FilesInDir(), 3u); // in.ini, folder.ini, old.ini: no temporary files
}

TEST_F(IniFile, EnvarcAndLinksLeadToTheFileWritten) {
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1); // created by the save
    Load(kExample);
    EXPECT_EQ(SaveINI(&ini, "ENVARC:karvolin.ini"), 5);
    EXPECT_EQ(dir.Read("config/karvolin.ini"), kExample);
    EXPECT_EQ(LoadINI(&ini, "ENVARC:karvolin.ini"), 5);
    EXPECT_EQ(ini.Sections[0].NumVars, 5);

    // Links are written through, to the end of a chain or to where a
    // dangling one points; the replaced file keeps its permission bits.
    namespace fs = std::filesystem;
    dir.Write("private.ini", "old");
    fs::permissions(dir / "private.ini", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("../private.ini", dir / "config/half");
    fs::create_symlink("half", dir / "config/chain.ini");
    fs::create_symlink(dir / "new.ini", dir / "config/dangling.ini");
    for (const char *name : {"ENVARC:chain.ini", "ENVARC:dangling.ini"})
        EXPECT_EQ(SaveINI(&ini, name), 5) << name;
    EXPECT_TRUE(fs::is_symlink(dir / "config/chain.ini") && fs::is_symlink(dir / "config/half"));
    EXPECT_EQ(dir.Read("private.ini") + dir.Read("new.ini"), kExample + std::string(kExample));
    EXPECT_EQ(fs::status(dir / "private.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FilesInDir(), 4u); // in.ini, config, private.ini, new.ini: no temporary files
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
