#pragma once
// A temporary drawer for one run of the real program: a copy of the binary
// with roms/ and images/ beside it, a private settings folder, and a
// stand-in `colem` first in PATH that records each argument vector it gets.
#include "process.h"

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

class TestDrawer {
  public:
    // Copies `program` into a new temporary drawer; no roms/ or images/ yet.
    explicit TestDrawer(const std::filesystem::path &program);
    ~TestDrawer(); // removes everything below root()
    TestDrawer(const TestDrawer &) = delete;
    TestDrawer &operator=(const TestDrawer &) = delete;

    const std::filesystem::path &root() const { return root_; }
    std::filesystem::path drawer() const { return root_ / "drawer"; }
    std::filesystem::path program() const { return drawer() / "karvolin"; }
    std::filesystem::path configDir() const { return root_ / "config"; }
    std::filesystem::path settingsFile() const { return configDir() / "karvolin.ini"; }
    std::filesystem::path outputFile() const { return root_ / "output.txt"; }

    // Fills roms/ and images/ with the demo drawer maker; true on success.
    bool MakeDemo(const std::filesystem::path &maker) const;
    void WriteSettings(const std::string &text) const;
    // The settings file's bytes; empty when it does not exist.
    std::string ReadSettings() const;

    // The environment for the program: from `base` only the search path, the
    // displays, the locale and sanitizer options; private home, config and
    // runtime folders; the stand-in first in PATH.
    Environment ProgramEnvironment(Environment base) const;

    // Every argument vector the stand-in recorded, in no particular order.
    std::vector<std::vector<std::string>> EmulatorRuns() const;

  private:
    void WriteStandIn() const;

    std::filesystem::path root_;
};

std::string ReadFile(const std::filesystem::path &file);

} // namespace e2e
