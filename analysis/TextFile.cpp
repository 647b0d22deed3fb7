#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>

#include <cerrno>

#include "Codepage.h"
#include "Errors.h"

namespace quillomar {

namespace {

constexpr size_t kReadBufferSize = 64 * 1024;
constexpr int kFileNotOpen = 103;
constexpr int kNotOpenForInput = 104;
constexpr int kNotOpenForOutput = 105;
constexpr int kFileLocked = 32;

[[noreturn]] void RaiseErrno(int aErrno) { throw EInOutError(InOutErrorCodeFromErrno(aErrno)); }

int OpenOrRaise(const std::string& aPath, int aFlags) {
    int lFd;
    do {
        lFd = ::open(aPath.c_str(), aFlags | O_CLOEXEC, 0666);
    } while (lFd < 0 && errno == EINTR);
    if (lFd < 0) RaiseErrno(errno);
    return lFd;
}

struct flock WholeFileLock(short aType) {
    struct flock lLock {};
    lLock.l_type = aType;
    lLock.l_whence = SEEK_SET;
    lLock.l_start = 0;
    lLock.l_len = 0;
    lLock.l_pid = 0;
    return lLock;
}

bool IsFile(int aFd, dev_t aDev, ino_t aIno) {
    struct stat lStat {};
    return ::fstat(aFd, &lStat) == 0 && lStat.st_dev == aDev && lStat.st_ino == aIno;
}

// Takes back the aWritten bytes a failed write left at the end of a regular
// file, so that a line reaches the file whole or not at all.
void TakeBack(int aFd, size_t aWritten) noexcept {
    struct stat lStat {};
    if (aWritten == 0 || ::fstat(aFd, &lStat) != 0 || !S_ISREG(lStat.st_mode)) return;
    if (lStat.st_size >= static_cast<off_t>(aWritten)) {
        while (::ftruncate(aFd, lStat.st_size - static_cast<off_t>(aWritten)) != 0 && errno == EINTR) {
        }
    }
}

// Writes every byte of the vector, continuing after short writes. When the
// write fails part way (a full disk after a short write), the part written
// is taken back before the error is raised.
void WriteAll(int aFd, struct iovec* aIov, int aCount) {
    size_t lWritten = 0;
    while (aCount > 0) {
        ssize_t n = ::writev(aFd, aIov, aCount);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int lErrno = errno;
            TakeBack(aFd, lWritten);
            RaiseErrno(lErrno);
        }
        auto lDone = static_cast<size_t>(n);
        lWritten += lDone;
        while (aCount > 0 && lDone >= aIov->iov_len) {
            lDone -= aIov->iov_len;
            ++aIov;
            --aCount;
        }
        if (aCount > 0) {
            aIov->iov_base = static_cast<char*>(aIov->iov_base) + lDone;
            aIov->iov_len -= lDone;
        }
    }
}

}  // namespace

void TTextFile::AssignFile(std::string aPath) {
    CloseIfOpen();
    fLock.Reset();
    fPath = std::move(aPath);
}

void TTextFile::CloseIfOpen() noexcept {
    fFd.Reset();
    fMode = TMode::Closed;
    fPos = fLen = 0;
}

void TTextFile::Rewrite() {
    CloseIfOpen();
    fLock.Reset();
    TFileHandle lFd(OpenOrRaise(fPath, O_WRONLY | O_CREAT));
    struct flock lLock = WholeFileLock(F_WRLCK);
    if (::fcntl(lFd.Get(), F_OFD_SETLK, &lLock) != 0) {
        if (errno == EAGAIN || errno == EACCES) throw EInOutError(kFileLocked);
        RaiseErrno(errno);
    }
    struct stat lStat {};
    if (::fstat(lFd.Get(), &lStat) != 0) RaiseErrno(errno);
    if (S_ISREG(lStat.st_mode) && ::ftruncate(lFd.Get(), 0) != 0) RaiseErrno(errno);
    int lDup = ::fcntl(lFd.Get(), F_DUPFD_CLOEXEC, 0);
    if (lDup < 0) RaiseErrno(errno);
    fFd = TFileHandle(lDup);
    fLock = std::move(lFd);
    fLockDev = lStat.st_dev;
    fLockIno = lStat.st_ino;
    fMode = TMode::Output;
}

void TTextFile::Append() {
    CloseIfOpen();
    TFileHandle lFd(OpenOrRaise(fPath, O_WRONLY | O_APPEND));
    if (!(fLock.Valid() && IsFile(lFd.Get(), fLockDev, fLockIno))) {
        struct flock lLock = WholeFileLock(F_WRLCK);
        if (::fcntl(lFd.Get(), F_OFD_GETLK, &lLock) == 0 && lLock.l_type != F_UNLCK) {
            throw EInOutError(kFileLocked);
        }
    }
    fFd = std::move(lFd);
    fMode = TMode::Output;
}

void TTextFile::Reset() {
    CloseIfOpen();
    fFd = TFileHandle(OpenOrRaise(fPath, O_RDONLY));
    fBuffer.resize(kReadBufferSize);
    fMode = TMode::Input;
}

void TTextFile::WriteLn(std::string_view aHead, std::string_view aTail) {
    if (fMode == TMode::Closed) throw EInOutError(kFileNotOpen);
    if (fMode != TMode::Output) throw EInOutError(kNotOpenForOutput);
    static constexpr char kCrLf[] = "\r\n";
    if (IsAscii(aHead) && IsAscii(aTail)) {
        struct iovec lIov[3] = {{const_cast<char*>(aHead.data()), aHead.size()},
                                {const_cast<char*>(aTail.data()), aTail.size()},
                                {const_cast<char*>(kCrLf), 2}};
        WriteAll(fFd.Get(), lIov, 3);
        return;
    }
    std::string lLine = ToAnsi(std::string(aHead) + std::string(aTail));
    lLine += kCrLf;
    struct iovec lIov[1] = {{lLine.data(), lLine.size()}};
    WriteAll(fFd.Get(), lIov, 1);
}

bool TTextFile::Fill() {
    fPos = 0;
    fLen = 0;
    for (;;) {
        ssize_t n = ::read(fFd.Get(), fBuffer.data(), fBuffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            RaiseErrno(errno);
        }
        fLen = static_cast<size_t>(n);
        return n > 0;
    }
}

int TTextFile::Peek() {
    if (fPos >= fLen && !Fill()) return -1;
    return static_cast<unsigned char>(fBuffer[fPos]);
}

void TTextFile::RequireInput() {
    if (fMode == TMode::Closed) throw EInOutError(kFileNotOpen);
    if (fMode != TMode::Input) throw EInOutError(kNotOpenForInput);
}

bool TTextFile::Eof() {
    RequireInput();
    int c = Peek();
    return c < 0 || c == 0x1A;
}

std::string TTextFile::ReadLn() {
    RequireInput();
    std::string lLine;
    int c = Peek();
    if (c < 0 || c == 0x1A) return lLine;
    while ((c = Peek()) >= 0) {
        // Take the run of ordinary bytes in one piece.
        const char* lStart = fBuffer.data() + fPos;
        const char* lEnd = fBuffer.data() + fLen;
        const char* p = lStart;
        while (p < lEnd && *p != '\n' && *p != '\r' && *p != 0x1A) ++p;
        lLine.append(lStart, static_cast<size_t>(p - lStart));
        fPos += static_cast<size_t>(p - lStart);
        if (p == lEnd) continue;
        ++fPos;
        if (*p == '\r') continue;  // dropped; a following LF ends the line
        break;                     // LF or Ctrl-Z ends the line
    }
    return FromAnsi(lLine);
}

void TTextFile::CloseFile() {
    if (fMode == TMode::Closed) throw EInOutError(kFileNotOpen);
    fMode = TMode::Closed;
    fPos = fLen = 0;
    if (fFd.Reset() != 0) RaiseErrno(errno);
}

}  // namespace quillomar
