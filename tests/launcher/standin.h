#pragma once
// A stand-in for the emulator: a script named colem, first in PATH, that
// writes its argument vector (NUL-separated) and appends its process id to
// files in a temporary folder, and can linger for a while. Asked to, it also
// records its open descriptors, blocked and ignored signals. Runs still
// lingering when it goes are killed.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

class StandInEmulator {
  public:
    explicit StandInEmulator(double lingerSeconds = 0, bool recordProcess = false) {
        char pattern[] = "/tmp/karvolin-colem-XXXXXX";
        dir_ = mkdtemp(pattern);
        const auto script = dir_ / "colem";
        std::ofstream out(script);
        out << "#!/bin/sh\n";
        if (recordProcess) // lines "<descriptor> <what it is open on>", then SigBlk and SigIgn
            out << "while read -r key value; do case $key in SigBlk:|SigIgn:) "
                << "signals=\"$signals$key $value\\n\";; esac; done < /proc/$$/status\n"
                << "find /proc/$$/fd/ -mindepth 1 -fprintf \"" << ProcessFile() << "\" '%f %l\\n'\n"
                << "printf \"$signals\" >> \"" << ProcessFile() << "\"\n";
        out << "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"" << Args() << ".tmp.$$\"\n"
            << "mv \"" << Args() << ".tmp.$$\" \"" << Args() << "\"\n"
            << "echo $$ >> \"" << (dir_ / "runs").string() << "\"\n"
            << "exec sleep " << lingerSeconds << "\n";
        out.close();
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        const char *path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        setenv("PATH", (dir_.string() + ":" + oldPath_).c_str(), 1);
    }
    ~StandInEmulator() {
        setenv("PATH", oldPath_.c_str(), 1);
        for (pid_t pid : Pids())
            kill(pid, SIGKILL);
        std::filesystem::remove_all(dir_);
    }

    std::string Args() const { return (dir_ / "args").string(); }
    std::string ProcessFile() const { return (dir_ / "process").string(); }

    // Waits up to five seconds for `count` runs; returns how many started.
    int WaitForRuns(int count) const {
        for (int i = 0; i < 500 && Runs() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return Runs();
    }

    int Runs() const { return static_cast<int>(Pids().size()); }

    // The process ids of the runs so far.
    std::vector<pid_t> Pids() const {
        std::ifstream in(dir_ / "runs");
        std::vector<pid_t> pids;
        for (pid_t pid; in >> pid;)
            pids.push_back(pid);
        return pids;
    }

    // The argument vector of the last run, without the program name.
    std::vector<std::string> LastArguments() const {
        std::ifstream in(Args(), std::ios::binary);
        std::vector<std::string> args;
        for (std::string arg; std::getline(in, arg, '\0');)
            args.push_back(arg);
        return args;
    }

    std::filesystem::path Dir() const { return dir_; }

  private:
    std::filesystem::path dir_;
    std::string oldPath_;
};
