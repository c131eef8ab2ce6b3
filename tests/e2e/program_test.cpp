// The real program in a drawer of its own on a private X server, as a user meets it.
#include "demo_drawer.h"
#include "e2e.h"
#include "packed.h"
#include "rommaker.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <set>
#include <sys/stat.h>

using namespace e2e;

static XServer &Server() {
    static XServer server;
    return server;
}

// The demo ROM the list shows at `index`: names sorted by byte value.
static demo::DemoRom DemoRomAt(size_t index) {
    std::vector<demo::DemoRom> roms = demo::DemoRoms();
    std::sort(roms.begin(), roms.end(), [](const demo::DemoRom &a, const demo::DemoRom &b) {
        return demo::DisplayName(a) < demo::DisplayName(b);
    });
    return roms.at(index);
}

// Whether a picture shows box art or the placeholder in this colour.
static bool Shows(const QImage &image, uint32_t colour) {
    return CountColour(image, colour) > 220 * 140 / 2;
}

// Every demo ROM identifies as its row, every picture is the table's, in its colour.
TEST(DemoDrawer, RomsIdentifyAndPicturesMatchTheTable) {
    TestDrawer drawer(KARVOLIN_PROGRAM);
    ASSERT_TRUE(drawer.MakeDemo(DEMO_DRAWER_MAKER));
    const auto picture = [&](const char *file) {
        return QImage(QString::fromStdString((drawer.drawer() / "images" / file).string()));
    };
    for (const demo::DemoRom &rom : demo::DemoRoms()) {
        char text[16];
        std::snprintf(text, sizeof text, "%X", GetFileFingerPrint(drawer.rom(rom.file).c_str()));
        EXPECT_EQ(LookUpGameName(text), rom.row) << rom.file;
        // The two versions of one cartridge share a picture and its colour.
        EXPECT_EQ(rom.row >= 0 &&
                      Shows(picture(GameList[rom.row].Image), demo::BoxArtColour(rom.row)),
                  rom.row >= 0 && rom.picture)
            << rom.file;
    }
    EXPECT_TRUE(Shows(picture("nocart.png"), demo::NoCartridgeColour()));
}

class ProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Server().ok()) << "cannot start Xvfb";
        ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    }

    TestDrawer drawer_{KARVOLIN_PROGRAM};
    Session session_{Server(), drawer_};
};

// A screen reader finds every control by role and name. The top game is ready;
// the mouse launches it, another game, and that one with every option set
// (one by its label); Quit saves the options and the game launched last, on
// which the next run starts.
TEST_F(ProgramTest, EachOptionSetWithTheMouseReachesTheNextLaunch) {
    std::ofstream(drawer_.settingsFile()) << "[Settings]\nSoundOn = 0\nPalette = 2\n";
    ASSERT_TRUE(session_.Start());
    std::string named;
    for (const Control &control : session_.Controls())
        if (std::set<std::string>{"frame", "list", "check box", "combo box", "push button"}.count(
                control.role))
            named += control.role + " " + control.name + "\n";
    EXPECT_EQ(named,
              "frame Karvolin\nlist Available Games\ncheck box Sound Enabled\n"
              "check box Full Screen\ncheck box Double Size\ncheck box Scan Lines\n"
              "combo box Spinner\ncombo box Palette\npush button Launch\npush button Quit\n");
    const demo::DemoRom top = DemoRomAt(0), third = DemoRomAt(2);
    const std::string first = drawer_.rom(top.file).string(), game = drawer_.rom(third.file);
    ASSERT_TRUE(session_.Click("push button", "Launch"));
    EXPECT_EQ(session_.EmulatorRuns(1), (Runs{{first, "-palette", "2"}}));
    ASSERT_TRUE(session_.Click("list item", demo::DisplayName(top)));
    ASSERT_TRUE(session_.Key({"Down", "Down"}));
    ASSERT_TRUE(session_.Shows(demo::BoxArtColour(third.row))) << "box art of " << third.file;
    ASSERT_TRUE(session_.Click("push button", "Launch"));
    for (const auto &[role, name] : {std::pair{"check box", "Sound Enabled"},
                                     {"label", "Full Screen"},
                                     {"check box", "Double Size"},
                                     {"check box", "Scan Lines"},
                                     {"combo box", "Spinner"}})
        ASSERT_TRUE(session_.Click(role, name)) << name;
    // The spinner's list pops up: its third entry.
    WaitFor([&] { return Server().WindowsOf(session_.process.pid()).size() > 1; });
    ASSERT_TRUE(Server().Xdo({"key", "Down", "Down", "Return"}));
    ASSERT_TRUE(session_.Click("push button", "Launch"));
    Runs expected{
        {first, "-palette", "2"},
        {game, "-palette", "2"},
        {game, "-fullscreen", "-sound", "-scanlines", "-double", "-spin1y", "-palette", "2"}};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(session_.EmulatorRuns(3), expected);
    // Without the emulator, Launch says so in one line and the launcher goes on.
    fs::rename(drawer_.root() / "bin/colem", drawer_.root() / "colem");
    ASSERT_TRUE(session_.Click("push button", "Launch"));
    ASSERT_TRUE(session_.Click("push button", "Quit"));
    EXPECT_EQ(session_.WaitForExit(), 0);
    EXPECT_EQ(ReadFile(drawer_.settingsFile()),
              "[Settings]\nSoundOn = 1\nPalette = 2\nLastGame = " + third.file +
                  "\nFullScreen = 1\nDoubleSize = 1\nScanLines = 1\n");
    EXPECT_EQ(session_.Output(), "Cannot start colem: not found in PATH\n");

    // The next run starts on the game launched last, ready; once its file is
    // gone, on the top one.
    fs::rename(drawer_.root() / "colem", drawer_.root() / "bin/colem");
    for (const demo::DemoRom &last : {third, top}) {
        Session again{Server(), drawer_};
        ASSERT_TRUE(again.Start());
        EXPECT_TRUE(again.Shows(demo::BoxArtColour(last.row))) << "box art of " << last.file;
        ASSERT_TRUE(again.Key({last.row == third.row ? "l" : "Tab", "q"}));
        EXPECT_EQ(again.WaitForExit(), 0);
        fs::remove(drawer_.rom(third.file));
    }
    expected.push_back({game, "-fullscreen", "-sound", "-scanlines", "-double", "-palette", "2"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(session_.EmulatorRuns(4), expected);
}

// Keys alone, with named pipes where the program reads: nothing waits for a
// writer, each save refused says so, the status is 1. Return launches the top
// game; Tab and Shift+Tab walk the controls in order; a chooser follows Down.
TEST_F(ProgramTest, KeyboardAloneInADrawerWithPipes) {
    const fs::path images = drawer_.drawer() / "images";
    fs::create_directories(drawer_.configDir() / "mui");
    for (const fs::path &pipe :
         {drawer_.rom("pipe.rom"), images / "nocart.png", images / GameList[DemoRomAt(0).row].Image,
          drawer_.settingsFile(), drawer_.configDir() / "mui/windows.geometry"}) {
        fs::remove(pipe);
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0) << pipe;
    }
    ASSERT_TRUE(session_.Start());
    const QImage shot = Server().Grab(session_.window);
    EXPECT_EQ(std::pair(Shows(shot, demo::BoxArtColour(DemoRomAt(0).row)),
                        Shows(shot, demo::NoCartridgeColour())),
              std::pair(false, false))
        << "box art, placeholder";
    ASSERT_TRUE(session_.Key({"Return", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab",
                              "shift+Tab", "Down", "l", "q"}));
    EXPECT_EQ(session_.WaitForExit(), 1);
    const std::string top = drawer_.rom(DemoRomAt(0).file).string();
    EXPECT_EQ(session_.EmulatorRuns(2),
              (Runs{{top, "-sound", "-palette", "0"}, {top, "-sound", "-palette", "1"}}));
    const fs::path placement = drawer_.configDir() / "mui/windows.geometry";
    EXPECT_EQ(session_.Output(), "Cannot save " + placement.string() + ": it is a named pipe\n" +
                                     "Cannot save " + drawer_.settingsFile().string() +
                                     ": it is a named pipe\n");
}

// Output to a pipe nobody reads, no emulator, no room to save: the launcher
// quits as ever, with status 1 for the settings not saved, and no file left.
TEST_F(ProgramTest, NoReaderNoEmulatorNoRoomEndsNothing) {
    fs::remove(drawer_.root() / "bin/colem");
    ASSERT_TRUE(session_.Start(true));
    ASSERT_TRUE(session_.Key({"Down", "l", "Tab", "space", "q"}));
    EXPECT_EQ(session_.WaitForExit(), 1);
    for (const auto &entry : fs::recursive_directory_iterator(drawer_.configDir()))
        EXPECT_TRUE(entry.is_directory()) << entry.path();
}

// Box art larger than the screen is scaled into it; the window's own size comes back.
TEST_F(ProgramTest, HugeBoxArtStaysOnTheScreen) {
    const demo::DemoRom second = DemoRomAt(1);
    QImage huge(5000, 5000, QImage::Format_RGB32);
    huge.fill(demo::BoxArtColour(second.row));
    const fs::path file = drawer_.drawer() / "images" / GameList[second.row].Image;
    ASSERT_TRUE(huge.save(QString::fromStdString(file.string())));
    ASSERT_TRUE(session_.Start());
    ASSERT_TRUE(session_.Shows(demo::BoxArtColour(DemoRomAt(0).row)));
    const QSize own = Server().Geometry(session_.window).size();
    // The first entry, clicked, takes the keys; the next one has the huge art.
    ASSERT_TRUE(session_.Click("list item", demo::DisplayName(DemoRomAt(0))));
    ASSERT_TRUE(session_.Key({"Down"}));
    EXPECT_TRUE(session_.Shows(demo::BoxArtColour(second.row), 500 * 500));
    const QRect fitted = Server().Geometry(session_.window);
    EXPECT_TRUE(QRect(0, 0, 1280, 1024).contains(fitted))
        << fitted.x() << "," << fitted.y() << " " << fitted.width() << "x" << fitted.height();

    ASSERT_TRUE(session_.Key({"Up"}));
    EXPECT_TRUE(WaitFor([&] { return Server().Geometry(session_.window).size() == own; }));
    ASSERT_TRUE(session_.Key({"q"}));
    EXPECT_EQ(session_.WaitForExit(), 0);
    const std::string size =
        " " + std::to_string(own.width()) + " " + std::to_string(own.height()) + " ";
    EXPECT_NE(ReadFile(drawer_.configDir() / "mui/windows.geometry").find(size), std::string::npos);
}

// `cmake --install` over a drawer holding a user's zipped ROM and its picture:
// both kept, the game shown and launched, the emulator given the zip.
TEST(Install, LaysOutACompleteDrawerAndKeepsTheUsersFiles) {
    TestDrawer drawer(KARVOLIN_PROGRAM);
    const fs::path dir = drawer.drawer();
    fs::create_directories(dir / "images");
    const std::vector<uint8_t> kong = *rommaker::MakeRom(*rommaker::RowFingerprint(14), 4096);
    const std::string zip = drawer.rom("Donkey Kong (USA).zip").string();
    ASSERT_TRUE(WritePacked(zip, Packing::ZipDeflated, std::string(kong.begin(), kong.end())));
    const std::string zipBytes = ReadFile(zip);
    QImage art(220, 140, QImage::Format_RGB32);
    art.fill(0x3366CC);
    ASSERT_TRUE(art.save(QString::fromStdString((dir / "images/253740.png").string())));
    const std::string artBytes = ReadFile(dir / "images/253740.png");
    ASSERT_TRUE(e2e::Run({CMAKE_COMMAND, "--install", BUILD_DIR, "--prefix", dir.string()}));

    for (const char *file :
         {"karvolin", "karvolin-drawer", "karvolin.png", "images/nocart.png", "karvolin.desktop"})
        EXPECT_TRUE(fs::is_regular_file(dir / file)) << file;
    EXPECT_EQ(ReadFile(dir / "images/253740.png"), artBytes);
    EXPECT_EQ(ReadFile(zip), zipBytes); // the entry's own tests are the drawer tool's

    Session session{Server(), drawer};
    ASSERT_TRUE(session.Start());
    EXPECT_TRUE(session.Shows(0x3366CC)) << "the user's picture";
    ASSERT_TRUE(session.Key({"l", "q"}));
    EXPECT_EQ(session.WaitForExit(), 0);
    EXPECT_EQ(session.EmulatorRuns(1), (Runs{{zip, "-sound", "-palette", "0"}}));
}

// Every way to end the program saves the settings, with status 0; a signal or
// the end of the X server (as at logout) within a second.
class EndingTest : public testing::TestWithParam<std::string_view> {};

TEST_P(EndingTest, SavesTheSettingsAndExitsWithZero) {
    const std::string_view way = GetParam();
    TestDrawer drawer(KARVOLIN_PROGRAM);
    std::optional<XServer> own; // a server to end, not the shared one
    if (way == "ServerEnds")
        own.emplace();
    Session session{own ? *own : Server(), drawer};
    ASSERT_TRUE(session.Start());
    // Launch with nothing to launch; then double size, ticked once it shows.
    ASSERT_TRUE(session.Key({"l"}));
    ASSERT_TRUE(session.Click("check box", "Double Size"));
    ASSERT_TRUE(
        session.Find("check box", "Double Size", [](const Control &c) { return c.checked; }));

    const auto begin = std::chrono::steady_clock::now();
    if (way == "CloseGadget")
        session.server.Close(session.window);
    else if (way == "QuitKey")
        session.Key({"q"});
    else if (way == "ServerEnds")
        own.reset();
    else
        session.process.Signal(way == "Interrupt" ? SIGINT : SIGTERM);
    EXPECT_EQ(session.WaitForExit(), 0);
    const auto took = std::chrono::steady_clock::now() - begin; // the user's ways are not timed
    EXPECT_LT(way == "CloseGadget" || way == "QuitKey" ? 0s : took, 1s);
    EXPECT_EQ(ReadFile(drawer.settingsFile()), "[Settings]\nDoubleSize = 1\n");
    EXPECT_EQ(session.Output(), "");
    EXPECT_TRUE(drawer.EmulatorRuns().empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingTest,
                         testing::Values("CloseGadget", "QuitKey", "Interrupt", "Terminate",
                                         "ServerEnds"),
                         [](const auto &info) { return std::string(info.param); });
