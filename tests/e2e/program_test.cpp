// The program as a user meets it: the real binary in a drawer of its own, on
// a private X server, driven with the mouse and keys, ended every way a
// user or the system can end it.
#include "demo_drawer.h"
#include "screen.h"
#include "session.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>

namespace e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

XServer &Server() {
    static XServer server;
    return server;
}

// The window is one column of nine rows: title, game list, picture, two rows
// of check marks, spinner, palette, Launch, Quit. Without any picture file
// the picture row is empty and does not show; the rest is counted from the
// bottom.
struct Layout {
    std::vector<Band> rows;
    explicit Layout(const QImage &image) : rows(RowBands(image)) {}
    bool complete() const { return rows.size() >= 8; }
    const Band &FromBottom(size_t n) const { return rows[rows.size() - n]; }
    const Band &options1() const { return FromBottom(6); }
    const Band &options2() const { return FromBottom(5); }
    const Band &palette() const { return FromBottom(3); }
};

// The four check marks in reading order: sound, full screen, double size,
// scan lines; empty when they are not all found.
std::vector<QRect> Checks(const QImage &image) {
    const Layout layout(image);
    if (!layout.complete())
        return {};
    std::vector<QRect> checks = CheckBoxes(image, layout.options1());
    const std::vector<QRect> second = CheckBoxes(image, layout.options2());
    checks.insert(checks.end(), second.begin(), second.end());
    return checks.size() == 4 ? checks : std::vector<QRect>{};
}

std::vector<bool> Ticks(const QImage &image) {
    std::vector<bool> ticks;
    for (const QRect &box : Checks(image))
        ticks.push_back(IsTicked(image, box));
    return ticks;
}

// The demo ROM the list shows at `index`: names sorted by byte value.
demo::DemoRom DemoRomAt(size_t index) {
    std::vector<demo::DemoRom> roms = demo::DemoRoms();
    std::sort(roms.begin(), roms.end(), [](const demo::DemoRom &a, const demo::DemoRom &b) {
        return demo::DisplayName(a) < demo::DisplayName(b);
    });
    return roms.at(index);
}

// A picture of box art or the placeholder fills at least this many pixels.
constexpr long kPictureShown = 220 * 140 / 2;

bool ExitedCleanly(const std::optional<int> &status) {
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

class ProgramTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(Server().ok()) << "cannot start Xvfb"; }

    // Starts the program and waits until its whole window is drawn.
    QImage Start(Session &session) {
        if (!session.Start())
            return {};
        return session.GrabWhen([](const QImage &image) { return Checks(image).size() == 4; }, 5s);
    }

    // Clicks the middle of a check mark; true once it shows `ticked`.
    static bool Toggle(Session &session, size_t check, bool ticked) {
        const auto shows = [&](const QImage &image) {
            const std::vector<QRect> checks = Checks(image);
            return !checks.empty() && IsTicked(image, checks[check]) == ticked;
        };
        const std::vector<QRect> before = Checks(session.Grab());
        if (before.empty() ||
            !session.Click(before[check].center().x(), before[check].center().y()))
            return false;
        return shows(session.GrabWhen(shows, 3s));
    }

    // Clicks the top entry of the game list (the window's second row); the
    // entry then shown active.
    static std::optional<Highlight> ChooseTopEntry(Session &session) {
        const QImage shot = session.Grab();
        const Layout layout(shot);
        if (!layout.complete())
            return std::nullopt;
        const Band list = layout.rows[1];
        const auto inList = [&](const QImage &image) {
            const std::optional<Highlight> found = FindHighlight(image);
            return found && found->area.bottom() < list.bottom ? found : std::nullopt;
        };
        if (!session.Click(shot.width() / 2, list.top + 8))
            return std::nullopt;
        return inList(session.GrabWhen([&](const QImage &image) { return !!inList(image); }, 3s));
    }

    std::vector<std::vector<std::string>> WaitForEmulatorRuns(size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (drawer_.EmulatorRuns().size() < count && std::chrono::steady_clock::now() < deadline)
            Process::Pause(20ms);
        Process::Pause(200ms); // a run too many would show up by now
        return drawer_.EmulatorRuns();
    }

    TestDrawer drawer_{KARVOLIN_PROGRAM};
};

TEST_F(ProgramTest, FirstRunShowsDefaultsAndStoresOnlyThePaletteChange) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    Session session(Server(), drawer_);
    const QImage shot = Start(session);
    ASSERT_EQ(Checks(shot).size(), 4u) << "window not drawn as expected";
    EXPECT_EQ(Layout(shot).rows.size(), 9u);
    EXPECT_EQ(Ticks(shot), (std::vector<bool>{true, false, false, false}));
    EXPECT_FALSE(FindHighlight(shot)) << "no entry is active before the user chooses one";
    EXPECT_GT(CountColour(shot, demo::NoCartridgeColour()), kPictureShown);

    // Open the palette chooser (the widest piece of its row) and take its
    // third entry from the list that pops up.
    const std::vector<QRect> pieces = Pieces(shot, Layout(shot).palette(), 8);
    ASSERT_FALSE(pieces.empty());
    const QRect chooser = *std::max_element(pieces.begin(), pieces.end(),
                                            [](auto &a, auto &b) { return a.width() < b.width(); });
    ASSERT_TRUE(session.Click(chooser.center().x(), chooser.center().y()));
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (Server().WindowsOf(session.pid()).size() < 2 &&
           std::chrono::steady_clock::now() < deadline)
        Process::Pause(20ms);
    ASSERT_EQ(Server().WindowsOf(session.pid()).size(), 2u) << "no list popped up";
    ASSERT_TRUE(Server().Xdo({"key", "Down", "Down", "Return"}));

    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(ExitedCleanly(session.WaitForExit(5s)));
    EXPECT_EQ(drawer_.ReadSettings(), "[Settings]\nPalette = 2\n");
    EXPECT_EQ(session.Output(), "") << "a normal run prints nothing";
}

TEST_F(ProgramTest, StoredSettingsShownAndLaunchRunsTheSelectedGame) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    drawer_.WriteSettings("[Settings]\nSoundOn = 0\nPalette = 2\n");
    Session session(Server(), drawer_);
    const QImage shot = Start(session);
    EXPECT_EQ(Ticks(shot), (std::vector<bool>{false, false, false, false}));
    EXPECT_GT(CountColour(shot, demo::NoCartridgeColour()), kPictureShown);

    // Launch before any entry is chosen starts nothing.
    ASSERT_TRUE(session.Key("l"));
    const std::optional<Highlight> top = ChooseTopEntry(session);
    ASSERT_TRUE(top);

    const demo::DemoRom third = DemoRomAt(2);
    ASSERT_TRUE(third.row >= 0 && third.picture) << "the third game needs box art";
    const uint32_t art = demo::BoxArtColour(third.row);
    const int rowHeight = top->area.height();
    ASSERT_TRUE(session.Click(top->area.center().x(), top->area.top() + rowHeight * 5 / 2));
    const QImage selected = session.GrabWhen(
        [&](const QImage &image) { return CountColour(image, art) > kPictureShown; }, 3s);
    EXPECT_GT(CountColour(selected, art), kPictureShown) << "box art of " << third.file;
    const std::optional<Highlight> active = FindHighlight(selected);
    ASSERT_TRUE(active);
    EXPECT_EQ(active->area.top(), top->area.top() + 2 * rowHeight);

    EXPECT_TRUE(Toggle(session, 1, true)) << "full screen";
    ASSERT_TRUE(session.Key("l"));
    const auto runs = WaitForEmulatorRuns(1);
    ASSERT_EQ(runs.size(), 1u);
    const std::string path = (drawer_.drawer() / "roms" / third.file).string();
    EXPECT_EQ(runs[0], (std::vector<std::string>{path, "-fullscreen", "-palette", "2"}));

    // Without the emulator, Launch says so in one line and the launcher goes on.
    fs::remove(drawer_.root() / "bin" / "colem");
    ASSERT_TRUE(session.Key("l"));
    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(ExitedCleanly(session.WaitForExit(5s)));
    EXPECT_EQ(drawer_.ReadSettings(), "[Settings]\nSoundOn = 0\nPalette = 2\nFullScreen = 1\n");
    EXPECT_EQ(session.Output(), "Cannot start colem: not found in PATH\n");
}

// Keys alone: the list has them when the window opens, Tab and Shift+Tab walk
// every control in window order, and a focused chooser follows Up and Down.
TEST_F(ProgramTest, KeyboardAloneChoosesAGameAndAPalette) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    Session session(Server(), drawer_);
    ASSERT_EQ(Checks(Start(session)).size(), 4u) << "window not drawn as expected";
    for (const char *key : {"Down", "l", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab",
                            "shift+Tab", "Down", "l", "q"})
        ASSERT_TRUE(session.Key(key)) << key;
    EXPECT_TRUE(ExitedCleanly(session.WaitForExit(5s)));
    auto runs = WaitForEmulatorRuns(2);
    std::sort(runs.begin(), runs.end());
    const std::string top = (drawer_.drawer() / "roms" / DemoRomAt(0).file).string();
    EXPECT_EQ(runs, (std::vector<std::vector<std::string>>{{top, "-sound", "-palette", "0"},
                                                           {top, "-sound", "-palette", "1"}}));
    EXPECT_EQ(drawer_.ReadSettings(), "[Settings]\nPalette = 1\n");
}

// The window as a screen reader reads it through AT-SPI, on a private session
// bus; a click where AT-SPI places the "Full Screen" label ticks that box.
TEST_F(ProgramTest, AssistiveTechnologyFindsEveryControlByName) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    Environment environment =
        drawer_.ProgramEnvironment(Server().ClientEnvironment(CurrentEnvironment()));
    environment["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1";
    const fs::path report = drawer_.root() / "controls.txt";
    Process reader({"dbus-run-session", "--", "/usr/bin/python3", ACCESSIBLE_TREE_READER,
                    report.string(), drawer_.program().string()},
                   {environment, drawer_.root().string(), drawer_.outputFile().string(), -1});
    EXPECT_TRUE(ExitedCleanly(reader.Wait(30s))) << ReadFile(drawer_.outputFile());
    EXPECT_EQ(ReadFile(report), "frame Karvolin\nlist Available Games\n"
                                "check box Sound Enabled\ncheck box Full Screen\n"
                                "check box Double Size\ncheck box Scan Lines\n"
                                "combo box Spinner\ncombo box Palette\n"
                                "push button Launch\npush button Quit\n");
    EXPECT_EQ(drawer_.ReadSettings(), "[Settings]\nFullScreen = 1\n");
}

TEST_F(ProgramTest, TheOnlyGameOfADrawerCanBeChosenAndLaunched) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    const demo::DemoRom game = DemoRomAt(2);
    for (const auto &rom : fs::directory_iterator(drawer_.drawer() / "roms"))
        if (rom.path().filename() != game.file)
            fs::remove(rom.path());
    Session session(Server(), drawer_);
    ASSERT_FALSE(FindHighlight(Start(session)));
    ASSERT_TRUE(ChooseTopEntry(session));
    const auto art = [&](const QImage &image) {
        return CountColour(image, demo::BoxArtColour(game.row)) > kPictureShown;
    };
    EXPECT_TRUE(art(session.GrabWhen(art, 3s))) << "box art of " << game.file;
    ASSERT_TRUE(session.Key("l"));
    const std::string path = (drawer_.drawer() / "roms" / game.file).string();
    EXPECT_EQ(WaitForEmulatorRuns(1),
              (std::vector<std::vector<std::string>>{{path, "-sound", "-palette", "0"}}));
    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(ExitedCleanly(session.WaitForExit(5s)));
}

// Named pipes where the program reads a file: a ROM, the placeholder, a
// game's picture, the settings and the window placement. None of them is
// read, so nothing waits for a writer.
TEST_F(ProgramTest, PipesInTheDrawerAreNeitherReadNorWaitedFor) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    const demo::DemoRom top = DemoRomAt(0);
    ASSERT_TRUE(top.row >= 0 && top.picture);
    const fs::path images = drawer_.drawer() / "images";
    fs::create_directories(drawer_.configDir() / "mui");
    for (const fs::path &pipe : {drawer_.drawer() / "roms/pipe.rom", images / "nocart.png",
                                 images / GameList[top.row].Image, drawer_.settingsFile(),
                                 drawer_.configDir() / "mui/windows.geometry"}) {
        fs::remove(pipe);
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0) << pipe;
    }
    Session session(Server(), drawer_);
    const QImage shot = Start(session);
    ASSERT_EQ(Checks(shot).size(), 4u) << "window not drawn as expected";
    EXPECT_EQ(Layout(shot).rows.size(), 8u) << "no picture to show";
    ASSERT_TRUE(ChooseTopEntry(session));
    ASSERT_TRUE(session.Key("l"));
    const std::string path = (drawer_.drawer() / "roms" / top.file).string();
    EXPECT_EQ(WaitForEmulatorRuns(1),
              (std::vector<std::vector<std::string>>{{path, "-sound", "-palette", "0"}}));
    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(ExitedCleanly(session.WaitForExit(5s)));
    EXPECT_TRUE(fs::is_fifo(drawer_.settingsFile())) << "nothing changed, nothing saved";
}

// Box art far larger than the screen is scaled into it; the next game's
// picture lets the window take its own size again, and that size is the one
// remembered.
TEST_F(ProgramTest, HugeBoxArtStaysOnTheScreen) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    const demo::DemoRom second = DemoRomAt(1);
    ASSERT_TRUE(second.row >= 0 && second.picture) << "the second game needs box art";
    const uint32_t art = demo::BoxArtColour(second.row);
    QImage huge(5000, 5000, QImage::Format_RGB32);
    huge.fill(art);
    const fs::path file = drawer_.drawer() / "images" / GameList[second.row].Image;
    ASSERT_TRUE(huge.save(QString::fromStdString(file.string())));
    Session session(Server(), drawer_);
    const QImage shot = Start(session);
    ASSERT_EQ(Layout(shot).rows.size(), 9u);

    // The first entry, clicked, takes the keys; the next one has the huge art.
    ASSERT_TRUE(session.Click(shot.width() / 2, Layout(shot).rows[1].top + 6));
    ASSERT_TRUE(session.Key("Down"));
    const auto shown = [&](const QImage &image) { return CountColour(image, art) > 500 * 500; };
    EXPECT_TRUE(shown(session.GrabWhen(shown, 5s)));
    const WindowGeometry fitted = Server().Geometry(session.window());
    EXPECT_TRUE(
        QRect(0, 0, 1280, 1024).contains(QRect(fitted.x, fitted.y, fitted.width, fitted.height)))
        << fitted.x << "," << fitted.y << " " << fitted.width << "x" << fitted.height;

    ASSERT_TRUE(session.Key("Up"));
    const auto ownSize = [&](const QImage &image) { return image.size() == shot.size(); };
    EXPECT_TRUE(ownSize(session.GrabWhen(ownSize, 3s)));
    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(ExitedCleanly(session.WaitForExit(5s)));
    const std::string size =
        " " + std::to_string(shot.width()) + " " + std::to_string(shot.height());
    EXPECT_NE(ReadFile(drawer_.configDir() / "mui/windows.geometry").find(size + " "),
              std::string::npos);
}

TEST_F(ProgramTest, EmptyDrawerOpensWithAnEmptyListAndQuitsCleanly) {
    fs::create_directories(drawer_.drawer() / "roms");
    Session session(Server(), drawer_);
    const QImage shot = Start(session);
    ASSERT_EQ(Checks(shot).size(), 4u) << "window not drawn as expected";
    EXPECT_FALSE(FindHighlight(shot)) << "no entry to show active";

    ASSERT_TRUE(session.Key("l"));
    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(ExitedCleanly(session.WaitForExit(5s)));
    EXPECT_TRUE(WaitForEmulatorRuns(0).empty());
    EXPECT_EQ(session.Output(), "");
}

// Every way to end the program takes the same orderly path: settings
// saved, window gone, exit status 0; a signal or the end of the X server (as
// at logout) ends it within a second.
enum class Ending { CloseGadget, QuitKey, Interrupt, Terminate, ServerEnds };

class EndingTest : public ProgramTest, public testing::WithParamInterface<Ending> {};

TEST_P(EndingTest, SavesTheSettingsAndExitsWithZero) {
    ASSERT_TRUE(drawer_.MakeDemo(DEMO_DRAWER_MAKER));
    std::optional<XServer> own; // a server to end, not the shared one
    if (GetParam() == Ending::ServerEnds)
        own.emplace();
    Session session(own ? *own : Server(), drawer_);
    ASSERT_EQ(Checks(Start(session)).size(), 4u) << "window not drawn as expected";
    ASSERT_TRUE(Toggle(session, 2, true)) << "double size";

    const auto begin = std::chrono::steady_clock::now();
    switch (GetParam()) {
    case Ending::CloseGadget:
        session.Close();
        break;
    case Ending::QuitKey:
        session.Key("q");
        break;
    case Ending::Interrupt:
        session.Signal(SIGINT);
        break;
    case Ending::Terminate:
        session.Signal(SIGTERM);
        break;
    case Ending::ServerEnds:
        own.reset();
        break;
    }
    const std::optional<int> status = session.WaitForExit(5s);
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_TRUE(ExitedCleanly(status));
    if (GetParam() >= Ending::Interrupt) {
        EXPECT_LT(took, 1s);
    }
    EXPECT_EQ(drawer_.ReadSettings(), "[Settings]\nDoubleSize = 1\n");
    if (GetParam() != Ending::ServerEnds) {
        EXPECT_FALSE(Server().Exists(session.window()));
    }
    EXPECT_EQ(session.Output(), "");
}

const char *NameOf(Ending ending) {
    static const char *const names[] = {"CloseGadget", "QuitKey", "Interrupt", "Terminate",
                                        "ServerEnds"};
    return names[static_cast<int>(ending)];
}

void PrintTo(Ending ending, std::ostream *out) {
    *out << NameOf(ending);
}

std::string EndingName(const testing::TestParamInfo<Ending> &info) {
    return NameOf(info.param);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingTest,
                         testing::Values(Ending::CloseGadget, Ending::QuitKey, Ending::Interrupt,
                                         Ending::Terminate, Ending::ServerEnds),
                         EndingName);

} // namespace
} // namespace e2e
