#pragma once
#include "search_path.h"
#include "temp_dir.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

// A stand-in colem, the only one in PATH, that records each run's id, state
// and arguments and lingers; killed with the object.
class StandInEmulator {
  public:
    explicit StandInEmulator(double lingerSeconds = 0) {
        // The shell reads its own masks: a child would see the shell's while it waits.
        std::ofstream(dir_ / "colem")
            << "#!/bin/sh\ncd " << dir_ << "\nwhile read -r key value; do case $key in "
            << "SigBlk:|SigIgn:) signals=\"$signals$key $value\\n\";; esac; done < "
               "/proc/$$/status\n"
            << "/usr/bin/find /proc/$$/fd/ -mindepth 1 -fprintf state.$$ '%f %l\\n'\n"
            << "printf \"$signals\" >> state.$$\nprintf '%s\\0' \"$@\" > args.$$\n"
            << "echo $$ >> runs\nexec /bin/sleep " << lingerSeconds << "\n";
        fs::permissions(dir_ / "colem", fs::perms::owner_all);
        ::setenv("PATH", SearchPath(dir_).c_str(), 1);
    }
    ~StandInEmulator() {
        ::setenv("PATH", path_.c_str(), 1);
        for (pid_t pid : Pids())
            ::kill(pid, SIGKILL);
    }
    const fs::path &Dir() const { return dir_; }
    std::vector<pid_t> Pids() const {
        std::ifstream in(dir_ / "runs");
        return {std::istream_iterator<pid_t>(in), {}};
    }
    // Waits up to five seconds for `count` runs; the process ids of the runs.
    std::vector<pid_t> WaitForRuns(size_t count) const {
        for (int i = 0; i < 500 && Pids().size() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return Pids();
    }
    // "args": NUL-ended arguments; "state": "<descriptor> <target>" lines and
    // the blocked and ignored signals.
    std::string Record(const char *what, pid_t pid) const {
        return temp_.Read(what + ("." + std::to_string(pid)));
    }

  private:
    TempDir temp_;
    const fs::path &dir_ = temp_.path();
    std::string path_ = std::getenv("PATH");
};
