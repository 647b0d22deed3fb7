#include "LineGuard.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace quillomar {

namespace {

// "/proc/self/fd/N" in aPath, without the C library's formatting.
void ProcFdPath(int aFd, char (&aPath)[32]) {
    static constexpr char kPrefix[] = "/proc/self/fd/";
    char lDigits[12];
    int n = 0;
    unsigned lValue = static_cast<unsigned>(aFd);
    do {
        lDigits[n++] = static_cast<char>('0' + lValue % 10);
        lValue /= 10;
    } while (lValue != 0);
    size_t i = 0;
    for (; kPrefix[i] != '\0'; ++i) aPath[i] = kPrefix[i];
    while (n > 0) aPath[i++] = lDigits[--n];
    aPath[i] = '\0';
}

ssize_t PreadAll(int aFd, char* aBuffer, size_t aSize, off_t aOffset) {
    size_t lDone = 0;
    while (lDone < aSize) {
        ssize_t n = ::pread(aFd, aBuffer + lDone, aSize - lDone, aOffset + static_cast<off_t>(lDone));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        lDone += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(lDone);
}

// The body of the guard process: wait for the end of the program, repair,
// exit. Only async-signal-safe calls: the program may have other threads.
[[noreturn]] void RunGuard(int aPipe, const int* aFds, size_t aCount) {
    sigset_t lAll;
    sigfillset(&lAll);
    sigprocmask(SIG_SETMASK, &lAll, nullptr);  // Ctrl-C or a hang-up must not stop the repair
    ::prctl(PR_SET_NAME, "quillomar-guard", 0, 0, 0);
    char lByte;
    for (;;) {
        ssize_t n = ::read(aPipe, &lByte, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
    }
    for (size_t i = 0; i < aCount; ++i) TLineGuard::CutToLastLine(aFds[i]);
    ::_exit(0);
}

}  // namespace

void TLineGuard::CutToLastLine(int aFd) noexcept {
    // The descriptor may be write-only; read through a second one.
    char lPath[32];
    ProcFdPath(aFd, lPath);
    TFileHandle lIn(::open(lPath, O_RDONLY | O_CLOEXEC));
    struct stat lStat {};
    if (!lIn.Valid() || ::fstat(lIn.Get(), &lStat) != 0 || !S_ISREG(lStat.st_mode)) return;
    const off_t lSize = lStat.st_size;
    char lBuffer[8192];
    off_t lEnd = lSize;
    off_t lCut = 0;
    bool lAfterLf = false;  // the byte just after the chunk scanned next is an LF
    while (lEnd > 0 && lCut == 0) {
        const off_t lStart = std::max<off_t>(0, lEnd - static_cast<off_t>(sizeof lBuffer));
        const auto lLen = static_cast<size_t>(lEnd - lStart);
        if (PreadAll(lIn.Get(), lBuffer, lLen, lStart) < 0) return;
        for (size_t i = lLen; i-- > 0;) {
            if (lAfterLf && lBuffer[i] == '\r') {
                lCut = lStart + static_cast<off_t>(i) + 2;
                break;
            }
            lAfterLf = lBuffer[i] == '\n';
        }
        lEnd = lStart;
    }
    if (lCut < lSize) {
        while (::ftruncate(aFd, lCut) != 0 && errno == EINTR) {
        }
    }
}

bool TLineGuard::Start(const std::vector<int>& aFds) noexcept {
    Stop();
    if (aFds.empty()) return false;
    int lPipe[2];
    if (::pipe2(lPipe, O_CLOEXEC) != 0) return false;
    TFileHandle lRead(lPipe[0]);
    TFileHandle lWrite(lPipe[1]);
    // Everything the child needs is prepared here: after fork it may not
    // allocate.
    std::vector<int> lKeep;
    try {
        lKeep = aFds;
        lKeep.push_back(lRead.Get());
    } catch (...) {
        return false;
    }
    std::sort(lKeep.begin(), lKeep.end());
    const pid_t lPid = ::fork();
    if (lPid < 0) return false;
    if (lPid == 0) {
        // Keep only the guarded files and the read end: a descriptor left
        // open here (another guard's pipe, say) would keep it waiting.
        unsigned lNext = 0;
        for (int lFd : lKeep) {
            if (static_cast<unsigned>(lFd) > lNext) ::close_range(lNext, static_cast<unsigned>(lFd) - 1, 0);
            lNext = static_cast<unsigned>(lFd) + 1;
        }
        ::close_range(lNext, UINT_MAX, 0);
        RunGuard(lRead.Get(), aFds.data(), aFds.size());
    }
    fPid = lPid;
    fPipe = std::move(lWrite);
    return true;
}

void TLineGuard::Stop() noexcept {
    if (fPid <= 0) return;
    fPipe.Reset();
    int lStatus = 0;
    while (::waitpid(fPid, &lStatus, 0) < 0 && errno == EINTR) {
    }
    fPid = -1;
}

}  // namespace quillomar
