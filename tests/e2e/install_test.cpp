// The drawer as `cmake --install` lays it out, installed over a drawer that
// already holds a user's ROM and picture, then started as a user would.
#include "rommaker.h"
#include "screen.h"
#include "session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/wait.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The flat background of our nocart.png.
constexpr uint32_t kNoCartridgeColour = 0x2B3A55;

std::string Validate(const fs::path &entry, const fs::path &output) {
    Process validator({"desktop-file-validate", entry.string()},
                      SpawnOptions{CurrentEnvironment(), {}, output.string(), -1});
    const std::optional<int> status = validator.Wait(10s);
    return (status && *status == 0 ? "" : "failed\n") + ReadFile(output);
}

TEST(Install, LaysOutACompleteDrawerAndKeepsTheUsersFiles) {
    TestDrawer drawer(KARVOLIN_PROGRAM);
    const fs::path dir = drawer.drawer();
    fs::create_directories(dir / "images");
    fs::create_directories(dir / "roms");
    ASSERT_TRUE(rommaker::WriteRom(dir / "roms/kong.rom", *rommaker::RowFingerprint(14), 4096));
    std::ofstream(dir / "images/253740.png") << "the user's own";
    ASSERT_TRUE(e2e::Run({CMAKE_COMMAND, "--install", BUILD_DIR, "--prefix", dir.string()},
                         CurrentEnvironment(), 30s));

    for (const char *file : {"karvolin", "karvolin-drawer", "karvolin.png", "images/nocart.png"})
        EXPECT_TRUE(fs::is_regular_file(dir / file)) << file;
    EXPECT_EQ(ReadFile(dir / "images/253740.png"), "the user's own");
    EXPECT_EQ(fs::file_size(dir / "roms/kong.rom"), 4096u);
    const std::string entry = ReadFile(dir / "karvolin.desktop");
    EXPECT_NE(entry.find("\nExec=" + (dir / "karvolin").string() + "\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=" + (dir / "karvolin.png").string() + "\n"), std::string::npos);
    EXPECT_NE(entry.find("\nCategories=Game;Emulator;\n"), std::string::npos);
    EXPECT_EQ(Validate(dir / "karvolin.desktop", drawer.root() / "validate.txt"), "");

    XServer server;
    ASSERT_TRUE(server.ok());
    Session session(server, drawer);
    ASSERT_TRUE(session.Start());
    const QImage shot = session.GrabWhen(
        [](const QImage &image) { return CountColour(image, kNoCartridgeColour) > 220 * 140 / 2; },
        5s);
    EXPECT_GT(CountColour(shot, kNoCartridgeColour), 220 * 140 / 2) << "nocart.png not shown";
    ASSERT_TRUE(session.Key("q"));
    const std::optional<int> status = session.WaitForExit(5s);
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

} // namespace
} // namespace e2e
