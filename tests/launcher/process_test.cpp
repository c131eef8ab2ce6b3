// Running the emulator: the command line reaches it as exact arguments,
// nothing is run through a shell, the caller never waits and no zombie stays.
#include "standin.h"

#include <dos/dostags.h>
#include <proto/dos.h>

#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sys/types.h>

namespace {

LONG RunAsync(const std::string &command) {
    return SystemTags(command.c_str(), SYS_Input, NULL, SYS_Output, NULL, SYS_Asynch, TRUE,
                      TAG_DONE);
}

// Zombie children of this process, from /proc.
int Zombies() {
    int zombies = 0;
    DIR *proc = opendir("/proc");
    while (dirent *entry = readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        const auto close = line.rfind(')');
        char state = 0;
        int ppid = 0;
        if (close != std::string::npos &&
            sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && state == 'Z' &&
            ppid == getpid())
            ++zombies;
    }
    closedir(proc);
    return zombies;
}

TEST(SystemTags, ArgumentsArriveExactlyAndNoShellRuns) {
    StandInEmulator colem;
    const auto canary = colem.Dir() / "ran";
    const std::string path = "/tmp/my roms/it's \"odd\" *$(touch " + canary.string() +
                             ")* `touch " + canary.string() + "`; touch " + canary.string() +
                             ".rom";
    std::string quoted;
    for (char c : path)
        quoted += (c == '"' || c == '*') ? std::string("*") + c : std::string(1, c);
    ASSERT_EQ(RunAsync("colem \"" + quoted + "\"  -sound  -palette 2"), 0);
    ASSERT_EQ(colem.WaitForRuns(1), 1);
    EXPECT_EQ(colem.LastArguments(), (std::vector<std::string>{path, "-sound", "-palette", "2"}));
    EXPECT_FALSE(std::filesystem::exists(canary));
}

TEST(SystemTags, AmigaPathsInArgumentsBecomeHostPaths) {
    StandInEmulator colem;
    ASSERT_TRUE(AssignPath("KVTEST", colem.Dir().c_str()));
    ASSERT_EQ(RunAsync("colem \"KVTEST:roms/a b.rom\" plain:word"), 0);
    ASSERT_EQ(colem.WaitForRuns(1), 1);
    EXPECT_EQ(colem.LastArguments(),
              (std::vector<std::string>{(colem.Dir() / "roms/a b.rom").string(), "plain:word"}));
    AssignPath("KVTEST", nullptr);
}

TEST(SystemTags, NeverWaitsAndLeavesNoZombie) {
    StandInEmulator colem(1.0);
    ASSERT_EQ(RunAsync("colem \"x.rom\""), 0);
    ASSERT_EQ(RunAsync("colem \"y.rom\""), 0);
    // Both emulators run at once, and still run while we are back here.
    ASSERT_EQ(colem.WaitForRuns(2), 2);
    for (pid_t pid : colem.Pids())
        EXPECT_EQ(kill(pid, 0), 0) << pid;
    for (pid_t pid : colem.Pids())
        while (kill(pid, 0) == 0 && Zombies() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(Zombies(), 0);
}

// A command that cannot start fails with one line on standard error saying
// why; an empty line fails quietly.
TEST(SystemTags, ACommandThatCannotStartFailsAndSaysWhy) {
    StandInEmulator colem;
    const auto script = colem.Dir() / "colem";
    using std::filesystem::perms;
    const struct {
        const char *command;
        perms mode;             // of the stand-in's script
        const char *scriptText; // replaces the script; null keeps it
        const char *message;
    } cases[] = {
        {"no-such-emulator-anywhere", perms::owner_all, nullptr,
         "Cannot start no-such-emulator-anywhere: not found in PATH\n"},
        {"colem \"x.rom\"", perms::owner_read, nullptr, "Cannot start colem: not executable\n"},
        {"colem \"x.rom\"", perms::owner_all, "no program\n", // found, but its exec fails
         "Cannot start colem: exec format error\n"},
        {"", perms::owner_all, nullptr, ""},
        {"   ", perms::owner_all, nullptr, ""},
    };
    for (const auto &c : cases) {
        if (c.scriptText)
            std::ofstream(script) << c.scriptText;
        std::filesystem::permissions(script, c.mode);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunAsync(c.command), -1) << c.command;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
    }
    EXPECT_EQ(colem.Runs(), 0);
    EXPECT_EQ(Zombies(), 0);
}

// Whatever the launcher has open, ignores or blocks, the emulator starts with
// default signal handling, an empty signal mask and only /dev/null streams.
TEST(SystemTags, TheEmulatorInheritsNothingOfTheLaunchersProcess) {
    StandInEmulator colem(0, true);
    const int leaked = ::open("/dev/zero", O_RDONLY);
    const auto ignored = std::signal(SIGUSR1, SIG_IGN);
    sigset_t blocked, saved;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR2);
    sigprocmask(SIG_BLOCK, &blocked, &saved);
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunAsync("colem \"x.rom\""), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    sigprocmask(SIG_SETMASK, &saved, nullptr);
    std::signal(SIGUSR1, ignored);
    ::close(leaked);

    ASSERT_EQ(colem.WaitForRuns(1), 1);
    std::ifstream in(colem.ProcessFile());
    std::map<std::string, std::string> state; // descriptor or signal set -> its value
    for (std::string key, value; in >> key >> value;)
        state[key] = value;
    EXPECT_EQ(state["SigBlk:"], "0000000000000000");
    EXPECT_EQ(state["SigIgn:"], "0000000000000000");
    state.erase("SigBlk:");
    state.erase("SigIgn:");
    for (const char *stream : {"0", "1", "2"})
        EXPECT_EQ(state[stream], "/dev/null") << stream;
    for (const auto &[number, target] : state) // the shell keeps its script open
        EXPECT_TRUE(target == "/dev/null" || target == (colem.Dir() / "colem").string())
            << number << " -> " << target;
}

} // namespace
