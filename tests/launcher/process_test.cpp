// Running the emulator: the command line reaches it as exact arguments,
// nothing is run through a shell, the caller never waits and no zombie stays.
#include "standin.h"

#include <dos/dostags.h>
#include <proto/dos.h>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <csignal>
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

TEST(SystemTags, ACommandThatCannotStartFails) {
    EXPECT_EQ(RunAsync("no-such-emulator-anywhere \"x.rom\""), -1);
    EXPECT_EQ(RunAsync(""), -1);
    EXPECT_EQ(RunAsync("   "), -1);
    EXPECT_EQ(Zombies(), 0);
}

} // namespace
