#pragma once
// Child processes for the end-to-end tests and the start-up benchmark:
// started with an explicit environment, waited for with a deadline, and
// always reaped, so no test leaves a process behind.
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace e2e {

using Environment = std::map<std::string, std::string>;

// The current environment as a map, so a test can change a few entries.
Environment CurrentEnvironment();

struct SpawnOptions {
    Environment environment;
    std::string workingDir; // empty: inherit
    std::string outputFile; // standard output and error go here; empty: /dev/null
    int passFd = -1;        // a descriptor the child inherits as descriptor 3
};

class Process {
  public:
    Process() = default;
    Process(const std::vector<std::string> &argv, const SpawnOptions &options);
    ~Process(); // kills and reaps a child that is still running
    Process(Process &&other) noexcept;
    Process &operator=(Process &&other) noexcept;
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // Waits for the child to end; its wait status, or nothing on timeout.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    // Sends a signal while the child runs.
    void Signal(int signal) const;
    // SIGKILL and reap, if it still runs.
    void Kill();
    static void Pause(std::chrono::milliseconds time);

  private:
    pid_t pid_ = -1;
};

// Runs a command to its end (at most `timeout`); true when it exited with 0.
bool Run(const std::vector<std::string> &argv, const Environment &environment,
         std::chrono::milliseconds timeout = std::chrono::seconds(10));

} // namespace e2e
