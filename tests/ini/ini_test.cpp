// The settings store and its text file.
#include "ini_roundtrip.h"
#include "temp_dir.h"

#include <INIFile.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;
using Results = std::vector<int>; // in the order of the calls

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
    std::string Get(const char *section, const char *var) {
        char buffer[INI_VALUE_SIZE];
        const char *value = INIGetString(&ini, section, var, buffer, sizeof buffer);
        return value ? value : "<missing>";
    }
    size_t FilesInDir() {
        auto entries = std::filesystem::directory_iterator(dir.path());
        return static_cast<size_t>(std::distance(begin(entries), end(entries)));
    }
};

// What the reader takes from a file; the example comes back byte for byte.
TEST_F(IniFile, ReaderRules) {
    EXPECT_EQ(LoadINI(&ini, (dir / "missing.ini").c_str()), 0);
    EXPECT_EQ(Load("[S]\nv = 1\n" + std::string(INI_MAX_FILE_SIZE, '\n')), -1);
    EXPECT_EQ(ini.Sections, nullptr);
    // A file, the variables it loads, the file they save as.
    const std::tuple<std::string, LONG, std::string> cases[] = {
        {kExample, 5, kExample},
        {"a = 1\n[S]\nb=2\n", 1, "[S]\nb = 2\n"},
        {"  [  Set tings  ] junk\nPalette=2\n[Set tings\nSoundOn=1\n", 2,
         "[Set tings]\nPalette = 2\nSoundOn = 1\n"},
        {"[  ]\na=1\n[]\nb=2\n[S] c=3\nd=4\n", 1, "[S]\nd = 4\n"},
        {"[S]\nPalette=2\nPalette = 2\n\t Palette\t=\t2\r\nk =  \t\r\n", 4,
         "[S]\nPalette = 2\nk = \n"},
        {"[S]\na = b = c \n; c = 1\n; note\n= 5\n#x\n", 2, "[S]\na = b = c\n; c = 1\n"},
        {"[S]\na=1\n[T]\nb=2\n[S]\na=3\nc=4", 4, "[S]\na = 3\nc = 4\n[T]\nb = 2\n"},
        {"[S]\na=1\0junk=2\n\x7f=\xff\n"s, 2, "[S]\na = 1\n\x7f = \xff\n"}};
    for (const auto &[text, count, dump] : cases)
        EXPECT_EQ((std::pair<LONG, std::string>{Load(text), Dump()}), std::pair(count, dump))
            << text;
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
    // A section, a name and a value set, and the file they come back from.
    const std::tuple<const char *, const char *, std::string, std::string> lossy[] = {
        {"", "a", "1", ""},
        {"S", "", "1", ""},
        {"S", " pad ", " v ", "[S]\npad = v\n"},
        {"S", "a=b", "1", "[S]\na = b = 1\n"},
        {"S", "[x", "1", ""},
        {"S", "lf", "1\n2", "[S]\nlf = 1\n"},
        {"S", name63.c_str(), std::string(200, 'v'),
         "[S]\n" + name63 + " = " + std::string(189, 'v') + "\n"}};
    for (const auto &[section, name, value, dump] : lossy) {
        TrashINI(&ini);
        INISetString(&ini, section, name, value.c_str());
        EXPECT_NE(RoundTripExemption(ini), nullptr) << name;
        Load(Dump());
        EXPECT_EQ(Dump(), dump) << name;
    }
}

// A save replaces only a regular file (through links, keeping its mode) or a
// new name; anything else stays, said in one line. No temporary file stays.
TEST_F(IniFile, SavesOnlyWhatIsTheUsersAndSaysWhyNot) {
    namespace fs = std::filesystem;
    using fs::perms;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1); // created by the save
    Load(kExample);
    enum Kind { File, Locked, None, Chain, Dangling, LinkFifo, LinkDevice, Fifo, Folder, RoFolder };
    // Saved as ENVARC:<name>; what is there; the result; what is at the end of
    // the links afterwards; the end of the line on standard error.
    const std::tuple<const char *, Kind, LONG, const char *, const char *> cases[] = {
        {"plain.ini", File, 5, kExample, ""},
        {"new.ini", None, 5, kExample, ""},
        {"chain.ini", Chain, 5, kExample, ""},
        {"dangling.ini", Dangling, 5, kExample, ""},
        {"fifo-link.ini", LinkFifo, -1, "fifo", ", a named pipe\n"},
        {"device-link.ini", LinkDevice, -1, "device", ", a device\n"},
        {"fifo.ini", Fifo, -1, "fifo", ": it is a named pipe\n"},
        {"folder.ini", Folder, -1, "folder", ": it is a folder\n"},
        {"locked.ini", Locked, -1, "old", ": it is read-only\n"},
        {"ro/in.ini", RoFolder, -1, "missing", "/config/ro is read-only\n"},
    };
    for (const auto &[name, kind, result, stays, says] : cases) {
        const fs::path path = dir / ("config/"s + name);
        const bool linked =
            kind == Chain || kind == Dangling || kind == LinkFifo || kind == LinkDevice;
        const fs::path at = linked ? fs::path(dir / ("t-"s + name)) : path;
        fs::create_directories(path.parent_path());
        if (kind == Chain) {
            fs::create_symlink(fs::relative(at, path.parent_path()), dir / "config/half");
            fs::create_symlink("half", path);
        } else if (linked) {
            fs::create_symlink(at, path);
        }
        if (kind == File || kind == Locked || kind == Chain) {
            std::ofstream(at) << "old";
            fs::permissions(at, kind == Locked ? perms::owner_read | perms::others_read
                                               : perms::owner_read | perms::owner_write);
        }
        if ((kind == Fifo || kind == LinkFifo) && mkfifo(at.c_str(), 0600) != 0)
            FAIL() << name;
        if (kind == LinkDevice && mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            continue; // making a device node needs root
        if (kind == Folder)
            fs::create_directory(at);
        if (kind == RoFolder)
            fs::permissions(path.parent_path(), perms::owner_read | perms::owner_exec);
        const perms before = fs::exists(at) ? fs::status(at).permissions() : perms::none;
        testing::internal::CaptureStderr();
        EXPECT_EQ(SaveINI(&ini, ("ENVARC:"s + name).c_str()), result) << name;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(said.ends_with(says) && said.empty() == !*says) << name << ": " << said;
        const fs::file_status now = fs::status(at);
        const std::string found = fs::is_fifo(now)             ? "fifo"
                                  : fs::is_character_file(now) ? "device"
                                  : fs::is_directory(now)      ? "folder"
                                  : !fs::exists(now)
                                      ? "missing"
                                      : dir.Read(fs::relative(at, dir.path()).string());
        EXPECT_EQ(found, stays) << name;
        EXPECT_TRUE(before == perms::none || now.permissions() == before) << name;
        EXPECT_EQ(fs::is_symlink(path), linked) << name;
        if (kind == RoFolder)
            fs::permissions(path.parent_path(), perms::owner_all);
    }
    for (const auto &entry : fs::recursive_directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();

    // A full disk: the child may write only 4 KiB to any file.
    for (int i = 0; i < 200; i++)
        INISetString(&ini, "Big", std::to_string(i).c_str(), std::string(100, 'x').c_str());
    dir.Write("old.ini", kExample);
    const size_t files = FilesInDir();
    pid_t child = fork();
    if (child == 0) {
        rlimit limit{4096, 4096};
        signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(SaveINI(&ini, (dir / "old.ini").c_str()) == -1 ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(dir.Read("old.ini"), kExample);
    EXPECT_EQ(FilesInDir(), files);
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(IniFile, LookupsAreExactMissingThingsGiveDefaultsIntegersWrap) {
    EXPECT_EQ((Results{INIHasVar(&ini, "S", nullptr), INIDeleteVar(&ini, "S", nullptr)}),
              (Results{0, 0}));
    EXPECT_EQ(INIGetInteger(&ini, "S", "v", 42), 42);
    INISetString(&ini, "Settings", "SoundOn", "12345");
    INISetString(&ini, "Settings", "SoundOn", "7");
    INISetString(&ini, "Settings", "Empty", "");
    EXPECT_EQ(ini.Sections[0].NumVars, 2);
    EXPECT_EQ(Get("Settings", "SoundOn"), "7");
    EXPECT_EQ(INIGetInteger(&ini, "Settings", "Empty", 9), 0);
    EXPECT_EQ(INIGetFloat(&ini, "Settings", "Empty", 9), 0);
    EXPECT_EQ(
        (Results{INIHasVar(&ini, "settings", nullptr), INIHasVar(&ini, "Settings", "soundon")}),
        (Results{0, 0}));
    EXPECT_EQ(INIGetFloat(&ini, "Settings", "soundon", 1.5), 1.5);
    // Integers are written as 32-bit unsigned text and read back with wrapping.
    INISetInteger(&ini, "S", "minus", -1);
    EXPECT_EQ(Get("S", "minus"), "4294967295");
    EXPECT_EQ(INIGetInteger(&ini, "S", "minus", 0), -1);
    const std::pair<const char *, LONG> texts[] = {
        {" \t-12abc", -12},  {"+7", 7},
        {"x1", 0},           {"2147483648", INT32_MIN},
        {"-4294967297", -1}, {"99999999999999999999999999", static_cast<LONG>(0xE3FFFFFF)}};
    for (auto [text, expected] : texts) {
        INISetString(&ini, "S", "t", text);
        EXPECT_EQ(INIGetInteger(&ini, "S", "t", 5), expected) << text;
    }
}

// Records keep their order as they come and go; a store trashed twice works;
// texts that do not fit.
TEST_F(IniFile, RecordsKeepTheirOrderAsTheyComeAndGoAndTextsThatDoNotFit) {
    for (int i = 0; i < 17; i++) {
        INISetInteger(&ini, std::to_string(i).c_str(), "v", i);
        INISetInteger(&ini, "0", std::to_string(i).c_str(), i * 2);
    }
    for (int i = 0; i < 17; i++) {
        EXPECT_STREQ(ini.Sections[i].Name, std::to_string(i).c_str());
        EXPECT_STREQ(ini.Sections[0].Vars[i + 1].Value, std::to_string(i * 2).c_str());
    }
    // In this order: the second delete of a name finds nothing; an emptied section stays.
    EXPECT_EQ((Results{INIDeleteVar(&ini, "0", "16"), INIDeleteVar(&ini, "0", "v"),
                       INIDeleteVar(&ini, "0", "0"), INIDeleteVar(&ini, "0", "0"),
                       INIDeleteVar(&ini, "1", nullptr), INIDeleteVar(&ini, "2", "v"),
                       INIHasVar(&ini, "1", nullptr), INIHasVar(&ini, "2", nullptr)}),
              (Results{1, 1, 1, 0, 1, 1, 0, 1}));
    EXPECT_STREQ(ini.Sections[0].Vars[0].Name, "1");
    EXPECT_STREQ(ini.Sections[1].Name, "2");
    TrashINI(&ini);
    TrashINI(&ini);
    EXPECT_EQ(ini.Sections, nullptr);
    INISetString(&ini, "S", "v", "2");
    EXPECT_EQ(Get("S", "v"), "2");

    // A float's text over 255 bytes keeps the old value; a short buffer gets a
    // terminated piece; a store that never held a section leaves a file alone.
    TrashINI(&ini);
    INISetFloat(&ini, "S", "f", 2e247);  // 248 digits and ".000000": 255 bytes
    INISetFloat(&ini, "S", "f", -2e247); // one byte too long
    EXPECT_EQ(INIGetFloat(&ini, "S", "f", 0), 2e247);
    char buffer[6] = "xxxxx";
    EXPECT_EQ(INIGetString(&ini, "S", "f", buffer, 0), nullptr);
    EXPECT_EQ(INIGetString(&ini, "S", "f", buffer, 3), buffer);
    EXPECT_EQ(std::string(buffer, 6), std::string("19\0xx\0", 6));
    TrashINI(&ini);
    dir.Write("kept.ini", "[Kept]\n");
    EXPECT_EQ(SaveINI(&ini, (dir / "kept.ini").c_str()), 0);
    EXPECT_EQ(dir.Read("kept.ini"), "[Kept]\n");
}

TEST(IniCorpus, EverySeedSurvivesTheRoundTrip) {
    TempDir dir;
    int seeds = 0, checked = 0;
    for (const auto &entry : std::filesystem::directory_iterator(KARVOLIN_INI_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const RoundTripResult result =
            CheckIniRoundTrip(std::string(std::istreambuf_iterator<char>(in), {}), dir / "");
        EXPECT_EQ(result.failure, "") << entry.path();
        seeds++;
        checked += result.checked;
    }
    EXPECT_GE(seeds, 10);
    EXPECT_GE(checked * 2, seeds); // most seeds must exercise the comparison
}
