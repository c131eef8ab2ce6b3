// SystemTagList: runs a command line as its own process.
//
// The line is split by the AmigaDOS shell's rules and executed directly,
// never parsed by /bin/sh, so no character of a file name can run a command
// (a script without a "#!" line is handed to /bin/sh as a file to run).
// An asynchronous command is started through an intermediate process that
// exits at once (the command is adopted by init and never becomes our
// zombie); the command gets its own session and /dev/null as its streams. A
// command that cannot be started is reported on standard error.
#include "host_dos.h"

#include <dos/dos.h>
#include <dos/dostags.h>
#include <proto/dos.h>
#include <proto/utility.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace platform::dos {

// Splits a command line as the AmigaDOS shell does: blanks separate words,
// double quotes group, and inside quotes "*"" is a quote and "**" a star.
std::vector<std::string> SplitCommandLine(const char *line) {
    std::vector<std::string> words;
    const char *p = line;
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\n')
            ++p;
        if (!*p)
            break;
        std::string word;
        if (*p == '"') {
            for (++p; *p && *p != '"'; ++p) {
                if (*p == '*' && (p[1] == '"' || p[1] == '*'))
                    ++p;
                else if (*p == '*' && (p[1] == 'N' || p[1] == 'n')) {
                    ++p;
                    word += '\n';
                    continue;
                }
                word += *p;
            }
            if (*p == '"')
                ++p;
        } else {
            while (*p && *p != ' ' && *p != '\t' && *p != '\n')
                word += *p++;
        }
        words.push_back(std::move(word));
    }
    return words;
}

namespace {

bool IsExecutableFile(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The executable for a command name: a name with a '/' as it stands, other
// names searched in PATH. Empty when nothing executable is found; `why` then
// says so.
std::string FindCommand(const std::string &name, std::string &why) {
    if (name.find('/') != std::string::npos) {
        if (IsExecutableFile(name))
            return name;
        why = access(name.c_str(), F_OK) == 0 ? "not executable" : ErrorText(errno);
        return {};
    }
    const char *path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    why = "not found in PATH";
    size_t start = 0;
    for (;;) {
        const size_t end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? end : end - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        if (access(candidate.c_str(), F_OK) == 0)
            why = "not executable";
        if (end == std::string::npos)
            return {};
        start = end + 1;
    }
}

// A command that cannot be started is the one failure the user must hear of:
// one line on standard error.
LONG CannotStart(const std::string &name, const std::string &why) {
    std::fprintf(stderr, "Cannot start %s: %s\n", name.c_str(), why.c_str());
    return -1;
}

struct Options {
    bool asynch = false;
    bool ownInput = false; // a stream was given: the child keeps ours
    bool ownOutput = false;
};

Options ReadTags(const struct TagItem *tags) {
    Options options;
    struct TagItem *cursor = const_cast<struct TagItem *>(tags);
    while (struct TagItem *tag = NextTagItem(&cursor)) {
        switch (tag->ti_Tag) {
        case SYS_Asynch:
            options.asynch = tag->ti_Data != 0;
            break;
        case SYS_Input:
            options.ownInput = tag->ti_Data != 0;
            break;
        case SYS_Output:
            options.ownOutput = tag->ti_Data != 0;
            break;
        default:
            break;
        }
    }
    return options;
}

// Sends errno through the pipe to the launcher and ends the child.
[[noreturn]] void Fail(int errorPipe) {
    const int error = errno;
    [[maybe_unused]] ssize_t n = write(errorPipe, &error, sizeof error);
    _exit(127);
}

// In the forked child: nothing of the launcher's process state reaches the
// command. Default signal dispositions first, then an empty mask (so that no
// handler of ours can run here); a new session; no descriptor but the three
// streams (the rest close at exec, the error pipe with them). Only
// async-signal-safe calls from here on.
[[noreturn]] void ExecChild(const Options &options, const char *file, char *const argv[],
                            char *const shellArgv[], int errorPipe) {
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig)
        sigaction(sig, &defaults, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    setsid();
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null >= 0) {
        if (!options.ownInput)
            dup2(null, 0);
        if (!options.ownOutput) {
            dup2(null, 1);
            dup2(null, 2);
        }
    }
    if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0)
        for (int fd = 3; fd < 65536; ++fd)
            if (fd != errorPipe)
                close(fd);
    execve(file, argv, environ);
    // A script without a "#!" line is run by the shell, as every shell and
    // execvp do; the shell reads the script, never the command line.
    if (errno == ENOEXEC)
        execve(shellArgv[0], shellArgv, environ);
    Fail(errorPipe);
}

pid_t WaitFor(pid_t pid, int *status) {
    pid_t result;
    do
        result = waitpid(pid, status, 0);
    while (result < 0 && errno == EINTR);
    return result;
}

} // namespace
} // namespace platform::dos

LONG SystemTagList(CONST_STRPTR command, const struct TagItem *tags) {
    using namespace platform::dos;
    if (!command)
        return -1;
    std::vector<std::string> words = SplitCommandLine(command);
    if (words.empty())
        return -1;
    std::string why;
    const std::string file = FindCommand(words[0], why);
    if (file.empty())
        return CannotStart(words[0], why);
    // Arguments that name Amiga paths reach the command as host paths.
    for (size_t i = 1; i < words.size(); ++i)
        if (HasDevice(words[i])) {
            std::string host = HostPath(words[i].c_str(), Use::Read);
            if (!host.empty())
                words[i] = std::move(host);
        }
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::string shell = "/bin/sh", script = file;
    std::vector<char *> shellArgv{shell.data(), script.data()};
    shellArgv.insert(shellArgv.end(), argv.begin() + 1, argv.end());
    const Options options = ReadTags(tags);

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return CannotStart(words[0], ErrorText(errno));
    // No signal handler of ours may run in a child before it has reset them.
    sigset_t all, saved;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &saved);
    const pid_t child = fork();
    const int forkError = errno;
    if (child == 0) {
        close(errorPipe[0]);
        if (options.asynch) {
            // The intermediate process: it ends at once, the command's exec
            // error (or its own fork error) travels back through the pipe.
            const pid_t command = fork();
            if (command < 0)
                Fail(errorPipe[1]);
            if (command > 0)
                _exit(0);
        }
        ExecChild(options, file.c_str(), argv.data(), shellArgv.data(), errorPipe[1]);
    }
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
    close(errorPipe[1]);
    if (child < 0) {
        close(errorPipe[0]);
        return CannotStart(words[0], ErrorText(forkError));
    }
    int status = 0;
    if (options.asynch)
        WaitFor(child, &status);
    // The pipe closes on a successful exec; otherwise it carries errno.
    int execError = 0;
    ssize_t got;
    do
        got = read(errorPipe[0], &execError, sizeof execError);
    while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (got == sizeof execError) {
        if (!options.asynch)
            WaitFor(child, &status);
        return CannotStart(words[0], ErrorText(execError));
    }
    if (options.asynch)
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
    if (WaitFor(child, &status) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
