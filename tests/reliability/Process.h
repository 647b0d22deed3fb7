// Helpers for the tests that drive quillomar-cli as a process: a child
// process owned by the test, the reading of report files, and a wait for the
// report files' locks to be released.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "FileHandle.h"

extern char** environ;

namespace quillomar::test {

// The eight report files, in their order of creation.
inline const std::vector<std::string>& ReportFileNames() {
    static const std::vector<std::string> kNames = {
        "ShortPrimes.txt",       "LongPrimes.txt",   "FlowPrimes.txt",     "FlowPurePrimes.txt",
        "FlowReversePrimes.txt", "FlowUpPrimes.txt", "FlowDownPrimes.txt", "Odds.txt"};
    return kNames;
}

inline std::string ReadFile(const std::string& aPath) {
    std::ifstream lIn(aPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(lIn), std::istreambuf_iterator<char>());
}

// A child process running a program in a directory, its standard output and
// error sent to files. Killed and waited for on destruction if still running.
class TChild {
public:
    TChild(const std::vector<std::string>& aArgs, const std::string& aDirectory, const std::string& aStdout,
           const std::string& aStderr) {
        posix_spawn_file_actions_t lActions;
        posix_spawn_file_actions_init(&lActions);
        posix_spawn_file_actions_addopen(&lActions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&lActions, STDOUT_FILENO, aStdout.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&lActions, STDERR_FILENO, aStderr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addchdir_np(&lActions, aDirectory.c_str());
        std::vector<char*> lArgv;
        for (const std::string& a : aArgs) lArgv.push_back(const_cast<char*>(a.c_str()));
        lArgv.push_back(nullptr);
        int r = posix_spawn(&fPid, lArgv[0], &lActions, nullptr, lArgv.data(), environ);
        posix_spawn_file_actions_destroy(&lActions);
        if (r != 0) throw std::runtime_error("cannot start " + aArgs[0]);
    }
    ~TChild() {
        if (fPid > 0) {
            ::kill(fPid, SIGKILL);
            Wait();
        }
    }
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;

    // Signals the process if it is still running. Never with a pid of 0 or
    // less: kill(-1) would signal every process of the user.
    void Kill(int aSignal) const {
        if (fPid > 0) ::kill(fPid, aSignal);
    }

    // Waits for the end; returns the wait status.
    int Wait() {
        if (fPid > 0) {
            while (::waitpid(fPid, &fStatus, 0) < 0 && errno == EINTR) {
            }
            fPid = -1;
        }
        return fStatus;
    }
    // True once the process has ended (and was waited for).
    bool Ended() {
        if (fPid > 0 && ::waitpid(fPid, &fStatus, WNOHANG) == fPid) fPid = -1;
        return fPid <= 0;
    }
    // The exit status, or -signal when killed.
    int ExitCode() {
        int s = Wait();
        return WIFEXITED(s) ? WEXITSTATUS(s) : WIFSIGNALED(s) ? -WTERMSIG(s) : -1000;
    }

private:
    pid_t fPid = -1;
    int fStatus = 0;
};

// True while some process holds a write lock on the file (no file: false).
inline bool LockHeld(const std::string& aPath) {
    TFileHandle lFd(::open(aPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!lFd.Valid()) return false;
    struct flock lLock {};
    lLock.l_type = F_WRLCK;
    lLock.l_whence = SEEK_SET;
    return ::fcntl(lFd.Get(), F_OFD_GETLK, &lLock) == 0 && lLock.l_type != F_UNLCK;
}

// Waits until no report file of aDirectory is locked; false after aTimeout.
inline bool WaitForRelease(const std::string& aDirectory,
                           std::chrono::milliseconds aTimeout = std::chrono::seconds(10)) {
    const auto lDeadline = std::chrono::steady_clock::now() + aTimeout;
    for (;;) {
        bool lHeld = false;
        for (const std::string& lName : ReportFileNames()) lHeld = lHeld || LockHeld(aDirectory + "/" + lName);
        if (!lHeld) return true;
        if (std::chrono::steady_clock::now() > lDeadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The path of quillomar-cli: $QUILLOMAR_CLI when set, else the build tree's.
inline std::string CliPath() {
    const char* lOverride = std::getenv("QUILLOMAR_CLI");
    return lOverride && *lOverride ? lOverride : QUILLOMAR_CLI_PATH;
}

// The first aCount primes, ten to a line, as quillomar-cli primes writes them.
inline std::string PrimesText(int aCount) {
    std::string lText;
    int lFound = 0;
    for (int n = 2; lFound < aCount; ++n) {
        bool lPrime = true;
        for (int d = 2; d * d <= n; ++d) {
            if (n % d == 0) {
                lPrime = false;
                break;
            }
        }
        if (!lPrime) continue;
        lText += (lFound % 10 == 0 ? "" : " ") + std::to_string(n);
        if (++lFound % 10 == 0 || lFound == aCount) lText += '\n';
    }
    return lText;
}

}  // namespace quillomar::test
