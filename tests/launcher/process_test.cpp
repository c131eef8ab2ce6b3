// The emulator's command line, and how it is run.
#include "launcher-class.h"
#include "standin.h"

#include <dos/dostags.h>
#include <proto/dos.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>

namespace {

// Option words, palette, the ROM path quoted; nothing when no ROM is selected
// or the line would not fit.
TEST(LaunchCommand, WordsQuotingAndLength) {
    const std::string fits(947, 'p'); // with the longest words and palette: 1023 bytes
    const std::string longest =
        "  -fullscreen -sound -scanlines -double -spin1x  -palette 4294967295";
    const struct {
        WORD fullScreen, sound, doubleSize, scanLines;
        ULONG palette;
        LONG spinner, rom;
        std::string path, command;
    } cases[] = {
        {0, 0, 0, 0, 0, 0, 0, "PROGDIR:roms/a.rom", "colem \"PROGDIR:roms/a.rom\"   -palette 0"},
        {1, 1, 1, 1, 1, 4, 0, "a",
         "colem \"a\"  -fullscreen -sound -scanlines -double -spin2y  -palette 1"},
        // Scan lines before double size; any value but 0 sets a flag.
        {0, 0, 7, -1, 0, 0, 0, "a", "colem \"a\"  -scanlines -double  -palette 0"},
        {0, 0, 0, 0, 0, 1, 0, "a", "colem \"a\"  -spin1x  -palette 0"},
        {0, 0, 0, 0, 0, 2, 0, "a", "colem \"a\"  -spin1y  -palette 0"},
        {0, 0, 0, 0, 0, 3, 0, "a", "colem \"a\"  -spin2x  -palette 0"},
        {0, 0, 0, 0, 0, 5, 0, "a", "colem \"a\"   -palette 0"},
        {0, 0, 0, 0, 0, -1, 0, "a", "colem \"a\"   -palette 0"},
        // Quotes and stars are escaped the AmigaDOS way; everything else stays.
        {0, 0, 0, 0, 0, 0, 0, "say \"hi\" *now*", "colem \"say *\"hi*\" **now**\"   -palette 0"},
        {0, 0, 0, 0, 0, 0, 0, "$(x) `y`; z", "colem \"$(x) `y`; z\"   -palette 0"},
        {0, 0, 0, 0, 0, 0, -1, "a", ""},
        {0, 0, 0, 0, 0, 0, -5, "a", ""},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits, "colem \"" + fits + "\"" + longest},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits + "p", ""},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits.substr(1) + "*", ""}, // a star takes two bytes
    };
    for (const auto &c : cases) {
        std::string path = c.path;
        STRPTR list[] = {path.data()};
        const LauncherData data = {c.fullScreen, c.sound,   c.doubleSize, c.scanLines,
                                   c.palette,    c.spinner, c.rom,        list};
        char options[48], command[1024];
        MakeOptionString(&data, options);
        EXPECT_EQ(FormatLaunchCommand(&data, options, command, sizeof command) ? command : "",
                  c.command);
    }
}

LONG RunAsync(const std::string &command) {
    return SystemTags(command.c_str(), SYS_Input, NULL, SYS_Output, NULL, SYS_Asynch, TRUE,
                      TAG_DONE);
}

// Whether a child of this process has ended and not been reaped.
bool Zombie() {
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

// Quotes, stars and shell syntax in the path arrive as they are and run
// nothing; an Amiga path arrives as a host path. A script without a "#!" line
// runs as a shell would run it, with the same arguments.
TEST(SystemTags, TheLaunchLineArrivesAsExactArgumentsWithoutAShell) {
    StandInEmulator colem;
    ASSERT_TRUE(AssignPath("KVTEST", colem.Dir().c_str()));
    const std::string touch = "touch " + (colem.Dir() / "ran").string();
    const std::string file = "my roms/it's \"odd\" *$(" + touch + ")* `" + touch + "`; " + touch;
    std::string path = "KVTEST:" + file;
    STRPTR list[] = {path.data()};
    const LauncherData data = {0, 1, 0, 0, 2, 0, 0, list};
    char options[48], command[1024];
    MakeOptionString(&data, options);
    ASSERT_TRUE(FormatLaunchCommand(&data, options, command, sizeof command));
    for (size_t run = 1; run <= 2; ++run) {
        if (run == 2) { // the same script without its first line
            std::ifstream in(colem.Dir() / "colem");
            std::string script(std::istreambuf_iterator<char>(in), {});
            std::ofstream(colem.Dir() / "colem") << script.substr(script.find('\n') + 1);
        }
        ASSERT_EQ(RunAsync(command), 0);
        const std::vector<pid_t> runs = colem.WaitForRuns(run);
        ASSERT_EQ(runs.size(), run);
        EXPECT_EQ(colem.Record("args", runs.back()), (colem.Dir() / file).string() + '\0' +
                                                         "-sound" + '\0' + "-palette" + '\0' + "2" +
                                                         '\0');
    }
    EXPECT_FALSE(fs::exists(colem.Dir() / "ran"));
    AssignPath("KVTEST", nullptr);
}

TEST(SystemTags, NeverWaitsAndLeavesNoZombie) {
    StandInEmulator colem(1.0);
    ASSERT_EQ(RunAsync("colem \"x.rom\""), 0);
    ASSERT_EQ(RunAsync("colem \"y.rom\""), 0);
    // Both emulators run at once, and still run while we are back here.
    const std::vector<pid_t> runs = colem.WaitForRuns(2);
    ASSERT_EQ(runs.size(), 2u);
    for (pid_t pid : runs)
        EXPECT_EQ(::kill(pid, 0), 0) << pid;
    for (pid_t pid : runs)
        while (::kill(pid, 0) == 0 && !Zombie())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(Zombie());
}

// A command that cannot start fails with one line on standard error saying
// why; an empty line fails quietly.
TEST(SystemTags, ACommandThatCannotStartFailsAndSaysWhy) {
    StandInEmulator colem;
    using fs::perms;
    // A command, the mode of the stand-in's script, the line said.
    const std::tuple<const char *, perms, const char *> cases[] = {
        {"no-such-emulator-anywhere", perms::owner_all,
         "Cannot start no-such-emulator-anywhere: not found in PATH\n"},
        {"colem \"x.rom\"", perms::owner_read, "Cannot start colem: not executable\n"},
        {"", perms::owner_all, ""},
        {"   ", perms::owner_all, ""}};
    for (const auto &[command, mode, message] : cases) {
        fs::permissions(colem.Dir() / "colem", mode);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunAsync(command), -1) << command;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), message);
    }
    EXPECT_TRUE(colem.Pids().empty());
    EXPECT_FALSE(Zombie());
}

// Whatever the launcher has open, ignores or blocks, the emulator starts with
// default signal handling, an empty signal mask and only /dev/null streams.
TEST(SystemTags, TheEmulatorInheritsNothingOfTheLaunchersProcess) {
    StandInEmulator colem;
    const int leaked = ::open("/dev/zero", O_RDONLY);
    const auto ignored = std::signal(SIGUSR1, SIG_IGN);
    sigset_t blocked{}, saved;
    sigaddset(&blocked, SIGUSR2);
    sigprocmask(SIG_BLOCK, &blocked, &saved);
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunAsync("colem \"x.rom\""), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    sigprocmask(SIG_SETMASK, &saved, nullptr);
    std::signal(SIGUSR1, ignored);
    ::close(leaked);

    const std::vector<pid_t> runs = colem.WaitForRuns(1);
    ASSERT_EQ(runs.size(), 1u);
    std::map<std::string, std::string> state; // descriptor or signal set -> its value
    std::istringstream record(colem.Record("state", runs[0]));
    for (std::string key, value; record >> key >> value;)
        state[key] = value;
    for (const char *signals : {"SigBlk:", "SigIgn:"}) {
        EXPECT_EQ(state[signals], "0000000000000000") << signals;
        state.erase(signals);
    }
    for (const char *stream : {"0", "1", "2"})
        EXPECT_EQ(state[stream], "/dev/null") << stream;
    for (const auto &[number, target] : state) // the shell keeps its script open
        EXPECT_TRUE(target == "/dev/null" || target == (colem.Dir() / "colem").string())
            << number << " -> " << target;
}

} // namespace
