#include "test_drawer.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TestDrawer::TestDrawer(const fs::path &program) {
    std::string pattern = (fs::temp_directory_path() / "karvolin-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return;
    // The program finds its drawer through its own path, so compare paths in
    // their resolved form.
    root_ = fs::canonical(pattern);
    fs::create_directories(drawer());
    fs::create_directories(configDir());
    fs::create_directories(root_ / "runtime");
    fs::permissions(root_ / "runtime", fs::perms::owner_all);
    fs::copy_file(program, this->program());
    WriteStandIn();
}

TestDrawer::~TestDrawer() {
    std::error_code ignored;
    if (!root_.empty())
        fs::remove_all(root_, ignored);
}

// Each run writes its arguments, NUL-ended, to a file of its own, renamed
// into place only when complete.
void TestDrawer::WriteStandIn() const {
    const fs::path bin = root_ / "bin";
    fs::create_directories(bin / "runs");
    const fs::path script = bin / "colem";
    std::ofstream(script) << "#!/bin/sh\n"
                          << "out='" << (bin / "runs").string() << "'/run.$$\n"
                          << "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$out.part\"\n"
                          << "mv \"$out.part\" \"$out\"\n";
    fs::permissions(script, fs::perms::owner_all);
}

bool TestDrawer::MakeDemo(const fs::path &maker) const {
    return Run({maker.string(), drawer().string()}, CurrentEnvironment());
}

void TestDrawer::WriteSettings(const std::string &text) const {
    std::ofstream(settingsFile(), std::ios::binary) << text;
}

std::string TestDrawer::ReadSettings() const {
    return ReadFile(settingsFile());
}

Environment TestDrawer::ProgramEnvironment(Environment base) const {
    // Only what a run needs: a desktop session's theme or style settings
    // would change the look that the tests read.
    static const char *const kept[] = {
        "PATH",          "DISPLAY",      "WAYLAND_DISPLAY", "LANG",
        "LC_ALL",        "TZ",           "TMPDIR",          "ASAN_OPTIONS",
        "UBSAN_OPTIONS", "LSAN_OPTIONS", "QT_QPA_PLATFORM", "QT_WAYLAND_DISABLE_WINDOWDECORATION"};
    Environment own;
    for (const char *name : kept)
        if (const auto entry = base.find(name); entry != base.end())
            own.insert(*entry);
    base = std::move(own);
    base["HOME"] = root_.string();
    base["XDG_CONFIG_HOME"] = configDir().string();
    base["XDG_CACHE_HOME"] = (root_ / "cache").string();
    base["XDG_DATA_HOME"] = (root_ / "data").string();
    base["XDG_RUNTIME_DIR"] = (root_ / "runtime").string();
    // In a sanitizer build, leaks inside system libraries are not ours.
    std::string &leaks = base["LSAN_OPTIONS"];
    leaks += (leaks.empty() ? "" : ":") +
             std::string("suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0");
    const auto path = base.find("PATH");
    base["PATH"] = (root_ / "bin").string() + (path != base.end() ? ":" + path->second : "");
    return base;
}

std::vector<std::vector<std::string>> TestDrawer::EmulatorRuns() const {
    std::vector<std::vector<std::string>> runs;
    for (const auto &entry : fs::directory_iterator(root_ / "bin" / "runs")) {
        if (entry.path().extension() == ".part")
            continue;
        std::vector<std::string> argv;
        std::istringstream in(ReadFile(entry.path()));
        for (std::string argument; std::getline(in, argument, '\0');)
            argv.push_back(argument);
        runs.push_back(argv);
    }
    return runs;
}

} // namespace e2e
