// karvolin-drawer run as a user runs it, on drawers made with the ROM maker.
#include "rommaker.h"
#include "temp_dir.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

static std::string Quote(std::string text) { // for the shell
    for (size_t at = 0; (at = text.find('\'', at)) != std::string::npos; at += 4)
        text.replace(at, 1, "'\\''");
    return "'" + text + "'";
}

// A key's value with the escapes of a string value undone.
static std::string EntryValue(const std::string &entry, const std::string &key) {
    const size_t start = entry.find("\n" + key + "=") + key.size() + 2;
    std::string text;
    for (size_t i = start; i < entry.size() && entry[i] != '\n'; ++i) {
        const size_t code = entry[i] == '\\' ? std::string_view("sntr\\").find(entry[++i]) : 5;
        text += code < 5 ? " \n\t\r\\"[code] : code == 5 ? entry[i] : '?';
    }
    return text;
}

struct Result {
    int status = -1;
    std::string out, err;
};

class DrawerToolTest : public testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_.path() / "drawer/roms"); }

    void Rom(const char *file, uint32_t fingerprint) {
        ASSERT_TRUE(rommaker::WriteRom(drawer() / "roms" / file, fingerprint, 4096));
    }
    void Rom(const char *file, int row) { Rom(file, *rommaker::RowFingerprint(row)); }
    fs::path drawer() const { return dir_.path() / "drawer"; }

    // Runs a program (standard output to `out`), writing files of `limit` blocks at most.
    Result Run(const std::vector<std::string> &args, const std::string &program = DRAWER_TOOL,
               const std::string &out = "", int limit = 0) {
        std::string command = Quote(program);
        for (const std::string &arg : args)
            command += " " + Quote(arg);
        if (limit)
            command = "ulimit -f " + std::to_string(limit) + " && exec " + command;
        command += " >" + (out.empty() ? dir_ / "out" : out) + " 2>" + (dir_ / "err");
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir_.Read("out"), dir_.Read("err")};
    }

    TempDir dir_;
};

TEST_F(DrawerToolTest, ListsTheRomsAsTheLauncherNamesAndPicturesThem) {
    Rom("kong.rom", 14);         // picture present
    Rom("b.rom", 96);            // Mr. Do!, picture cut short
    Rom("dig.rom", 13);          // Dig Dug, picture missing
    Rom("zz.rom", 0x1234u);      // unknown
    Rom("Alpha.ROM", 0xABCDEFu); // unknown, with a picture after its file name
    dir_.Write("drawer/images/253740.png", kTinyPng);
    dir_.Write("drawer/images/Alpha.png", kTinyPng);
    dir_.Write("drawer/images/2D538F.png", kTinyPng.substr(0, 50));
    // Without DRAWER the tool looks at its own folder, as the launcher does.
    fs::copy_file(DRAWER_TOOL, drawer() / "karvolin-drawer");
    const Result listed = Run({}, drawer() / "karvolin-drawer");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "Alpha.ROM\tABCDEF\tAlpha.ROM\tAlpha.png\tok\tAlpha.png\n"
                          "dig.rom\tB82A2422\tDig Dug\tnocart.png\tmissing\t2B1123.png\n"
                          "kong.rom\tDCB0E6C4\tDonkey Kong\t253740.png\tok\t253740.png\n"
                          "b.rom\t432D496\tMr. Do!\tnocart.png\tbroken\t2D538F.png\n"
                          "zz.rom\t1234\tzz.rom\tnocart.png\tunknown\tzz.png\n");
    EXPECT_EQ(listed.err, "ROMs: 5, known: 3, pictures present: 2, missing: 2, broken: 1\n");
    EXPECT_EQ(Run({drawer()}).out, listed.out);
    // From a bin folder, the user's drawer, with the system copy's pictures, not its ROMs.
    fs::create_directories(dir_.path() / "bin");
    fs::copy_file(DRAWER_TOOL, dir_.path() / "bin/karvolin-drawer");
    dir_.Write("sys/karvolin/images/253740.png", kTinyPng);
    dir_.Write("sys/karvolin/roms/b.rom", dir_.Read("drawer/roms/b.rom"));
    dir_.Write("data/karvolin/roms/kong.rom", dir_.Read("drawer/roms/kong.rom"));
    ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (dir_ / "sys").c_str(), 1);
    EXPECT_EQ(Run({}, dir_ / "bin/karvolin-drawer").out,
              "kong.rom\tDCB0E6C4\tDonkey Kong\t253740.png\tok\t253740.png\n");
    EXPECT_EQ(Run({"--desktop-entry"}, dir_ / "bin/karvolin-drawer").status, 2);

    const std::string table = Run({"--table"}).out;
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), NUM_GAMES);
    EXPECT_EQ(table.rfind("0\t5855D2D7\tNoiseGen Test Prog\t138371.png\n", 0), 0u);
    EXPECT_NE(table.find("\n151\t4E04681\tThe Yolk's on You (Proto)\t190A35.png\n"),
              std::string::npos);
}

// Pictures named after the ROM file, else the title with or without a
// subtitle; a copy that fails leaves nothing; nothing is replaced.
TEST_F(DrawerToolTest, ImportsArtByFileNameOrTitleAndNeverOverwrites) {
    Rom("2010.rom", 35);
    Rom("Antarctic Adventure (USA, Europe).col", 36); // the table says "Antartic"
    Rom("dig.rom", 13);                               // only a text file carries its title
    Rom("dk.rom", 14);                                // only a longer title's picture
    Rom("joust.rom", 20);                             // its table picture is cut short
    Rom("mrdo.rom", 96);
    Rom("Tom & Jerry (Homebrew).rom", 0x42u);
    Rom("zaxxon.rom", 146); // its picture is too large to copy
    const std::string cut(kTinyPng.substr(0, 50));
    dir_.Write("drawer/images/2D097C.png", cut);
    for (const char *name :
         {"2010 - The Graphic Action Game (USA).png", "Antarctic Adventure (USA, Europe).png",
          "Dig Dug.txt", "Donkey Kong Junior (USA).png", "Joust (USA).png", "mr_do.jpg",
          "Tom _ Jerry (Homebrew).png"})
        dir_.Write(std::string("art/") + name, kTinyPng);
    dir_.Write("art/Zaxxon (USA).png", std::string(kTinyPng) + std::string(65536, 'x'));

    const Result imported = Run({"--import-art", dir_ / "art", drawer()}, DRAWER_TOOL, "", 64);
    EXPECT_EQ(imported.out,
              "copied\t359A24.png\t2010\t2010 - The Graphic Action Game (USA).png\n"
              "copied\t18FCF3.png\tAntartic Adventure\tAntarctic Adventure (USA, Europe).png\n"
              "unmatched\t2B1123.png\tDig Dug\n"
              "unmatched\t253740.png\tDonkey Kong\n"
              "copied\tjoust.png\tJoust\tJoust (USA).png\n"
              "copied\t2D538F.png\tMr. Do!\tmr_do.jpg\n"
              "copied\tTom _ Jerry (Homebrew).png\tTom & Jerry (Homebrew).rom\t"
              "Tom _ Jerry (Homebrew).png\n");
    EXPECT_EQ(imported.status, 1);
    EXPECT_EQ(imported.err, "karvolin-drawer: cannot copy " + dir_ / "art/Zaxxon (USA).png" +
                                " to " + (drawer() / "images/2418CF.png").string() +
                                ": File too large\n");
    EXPECT_EQ(dir_.Read("drawer/images/2D097C.png"), cut);
    EXPECT_EQ(std::distance(fs::directory_iterator(drawer() / "images"), {}), 6)
        << "no temporary file, no partial copy left";
    EXPECT_EQ(Run({drawer()}).err,
              "ROMs: 8, known: 7, pictures present: 5, missing: 3, broken: 0\n");
}

// A desktop entry for any folder is valid, and gio starts exactly that program;
// a path an entry cannot hold gets a line saying so.
TEST_F(DrawerToolTest, DesktopEntryNamesAnyFolderExactly) {
    std::string started;
    for (const std::string name :
         {"plain", "two words", "it's \"q\"", "$HOME 100% `id`", "back\\slash\\",
          "tab\tnew\nline\r", "semi;(a|b)&<x>~*?#", "\u00fc\u00df \u20ac", "x=y [z]"}) {
        const std::string folder = dir_ / name;
        dir_.Write(name + "/karvolin", "#!/bin/sh\nprintf '%s\\0' \"$0\" >>" + Quote(dir_ / "ran"));
        fs::permissions(folder + "/karvolin", fs::perms::owner_all);
        const Result result = Run({"--desktop-entry", folder + "/sub/.."});
        EXPECT_EQ(EntryValue(result.out, "Icon"), folder + "/karvolin.png") << name;
        const std::string entry = dir_.Write("k.desktop", result.out);
        const Result valid = Run({entry}, "desktop-file-validate");
        EXPECT_EQ(valid.out + valid.err, "") << name;
        EXPECT_EQ(Run({"-i", "PATH=/usr/bin:/bin", "gio", "launch", entry}, "env").status, 0);
        started += folder + "/karvolin" + '\0';
        for (int i = 0; i < 500 && dir_.Read("ran").size() < started.size(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(dir_.Read("ran"), started) << name;
    }
    for (const char *name : {"caf\xE9", "bell\a", "\xED\xA0\x80", "\xC0\xAF"}) {
        const Result result = Run({"--desktop-entry", dir_ / name});
        EXPECT_EQ(result.status, 1) << name;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

// Usage and version; wrong use and output that cannot be written, said in a line.
TEST_F(DrawerToolTest, WrongUseSaysWhyInOneLine) {
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--import-art FOLDER"), std::string::npos);
    EXPECT_EQ(Run({"--version"}).out, "karvolin-drawer 1.1\n");
    fs::create_directories(dir_.path() / "empty");
    using Args = std::vector<std::string>;
    for (const Args &args :
         {Args{"--bogus"}, Args{dir_ / "empty"}, Args{"--import-art"},
          Args{"--import-art", dir_ / "missing", drawer()},
          Args{"--import-art", dir_ / "out", drawer()}, Args{"--table", drawer()},
          Args{drawer(), drawer()}, Args{"--table"}, Args{"--help"}}) {
        const bool full = args.size() == 1 && (args[0] == "--table" || args[0] == "--help");
        const Result result = Run(args, DRAWER_TOOL, full ? "/dev/full" : "");
        EXPECT_EQ(result.status, full ? 1 : 2) << args[0];
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(Run({"--table"}, DRAWER_TOOL, "/dev/full").err,
              "karvolin-drawer: cannot write to standard output: No space left on device\n");
}
