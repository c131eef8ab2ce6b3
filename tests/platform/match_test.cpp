// The matcher: wildcard semantics on names, then real directories.
#include "dos/pattern.h"
#include "temp_dir.h"

#include <proto/dos.h>
#include <proto/exec.h>

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using platform::dos::Pattern;
namespace fs = std::filesystem;

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

namespace {

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

} // namespace

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

    // The file just matched, opened at once by its name: a FIFO or a link to
    // one put in its place meanwhile is refused, without blocking.
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
