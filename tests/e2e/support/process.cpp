#include "process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <string_view>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace e2e {
namespace {

std::vector<char *> Pointers(std::vector<std::string> &strings) {
    std::vector<char *> pointers;
    for (std::string &s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// A bare command name is looked up in PATH before forking.
std::string FindProgram(const std::string &name) {
    if (name.find('/') != std::string::npos)
        return name;
    const char *path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const std::string candidate = std::string(rest.substr(0, colon)) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return name;
}

// In the forked child: only async-signal-safe calls until exec. The child
// dies with the test process, so even a crashed test leaves no server or
// program running.
[[noreturn]] void StartChild(char **argv, char **envp, const char *output, const char *workingDir,
                             int passFd) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &defaults, nullptr);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = ::open(output, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0)
        ::_exit(127);
    // dup2 onto itself would keep close-on-exec set.
    if (passFd >= 0 && (passFd == 3 ? ::fcntl(3, F_SETFD, 0) : ::dup2(passFd, 3)) < 0)
        ::_exit(127);
    if (*workingDir && ::chdir(workingDir) != 0)
        ::_exit(127);
    ::execve(argv[0], argv, envp);
    ::_exit(127);
}

} // namespace

Environment CurrentEnvironment() {
    Environment environment;
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const size_t equals = text.find('=');
        if (equals != std::string::npos)
            environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    return environment;
}

Process::Process(const std::vector<std::string> &argv, const SpawnOptions &options) {
    std::vector<std::string> args = argv;
    if (args.empty())
        return;
    args[0] = FindProgram(args[0]);
    std::vector<std::string> env;
    for (const auto &[name, value] : options.environment)
        env.push_back(name + "=" + value);
    std::vector<char *> argp = Pointers(args);
    std::vector<char *> envp = Pointers(env);
    const std::string output = options.outputFile.empty() ? "/dev/null" : options.outputFile;

    const pid_t pid = ::fork();
    if (pid == 0)
        StartChild(argp.data(), envp.data(), output.c_str(), options.workingDir.c_str(),
                   options.passFd);
    if (pid > 0)
        pid_ = pid;
}

Process::~Process() {
    Kill();
}

Process::Process(Process &&other) noexcept : pid_(other.pid_) {
    other.pid_ = -1;
}

Process &Process::operator=(Process &&other) noexcept {
    if (this != &other) {
        Kill();
        pid_ = other.pid_;
        other.pid_ = -1;
    }
    return *this;
}

std::optional<int> Process::Wait(std::chrono::milliseconds timeout) {
    if (pid_ <= 0)
        return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno != EINTR)) {
            pid_ = -1;
            return status;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void Process::Signal(int signal) const {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

void Process::Kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

void Process::Pause(std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
}

bool Run(const std::vector<std::string> &argv, const Environment &environment,
         std::chrono::milliseconds timeout) {
    Process process(argv, SpawnOptions{environment, {}, {}, -1});
    if (!process.started())
        return false;
    const std::optional<int> status = process.Wait(timeout);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

} // namespace e2e
