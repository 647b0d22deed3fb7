#include "LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "Errors.h"

namespace quillomar {

namespace {

constexpr size_t kBufferSize = 256 * 1024;
constexpr char kCtrlZ = '\x1A';

size_t FindFrom(const std::vector<char>& aBuffer, size_t aFrom, size_t aLen, char c) {
    const void* p = std::memchr(aBuffer.data() + aFrom, c, aLen - aFrom);
    return p ? static_cast<size_t>(static_cast<const char*>(p) - aBuffer.data()) : aLen;
}

// Appends aText to aOut without its CRs.
void AppendWithoutCr(std::string& aOut, const char* aText, size_t aLength) {
    const char* lEnd = aText + aLength;
    while (aText < lEnd) {
        const void* lCr = std::memchr(aText, '\r', static_cast<size_t>(lEnd - aText));
        const char* lStop = lCr ? static_cast<const char*>(lCr) : lEnd;
        aOut.append(aText, static_cast<size_t>(lStop - aText));
        aText = lCr ? lStop + 1 : lEnd;
    }
}

}  // namespace

TLineReader::TLineReader(const std::string& aPath) : fBuffer(kBufferSize) {
    int lFd;
    do {
        lFd = ::open(aPath.c_str(), O_RDONLY | O_CLOEXEC);
    } while (lFd < 0 && errno == EINTR);
    if (lFd < 0) throw EInOutError(InOutErrorCodeFromErrno(errno));
    fFd = TFileHandle(lFd);
}

bool TLineReader::Fill() {
    fPos = 0;
    fLen = 0;
    ssize_t n;
    do {
        n = ::read(fFd.Get(), fBuffer.data(), fBuffer.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw EInOutError(InOutErrorCodeFromErrno(errno));
    fLen = static_cast<size_t>(n);
    fNextCtrlZ = FindFrom(fBuffer, 0, fLen, kCtrlZ);
    return n > 0;
}

int64_t TLineReader::FileSize() const noexcept {
    struct stat lStat {};
    return ::fstat(fFd.Get(), &lStat) == 0 ? static_cast<int64_t>(lStat.st_size) : -1;
}

bool TLineReader::Eof() {
    if (fPos >= fLen && !Fill()) return true;
    return fBuffer[fPos] == kCtrlZ;
}

std::string_view TLineReader::ReadLn() {
    if (Eof()) return {};
    bool lCopied = false;
    fLine.clear();
    for (;;) {
        if (fPos >= fLen && !Fill()) break;  // the end of the data ends the line
        size_t lEnd = FindFrom(fBuffer, fPos, std::min(fLen, fNextCtrlZ), '\n');
        const bool lEnded = lEnd < fLen;  // at an LF, or at the Ctrl-Z where the search stopped
        const char* lStart = fBuffer.data() + fPos;
        const size_t lLength = lEnd - fPos;
        const void* lCr = std::memchr(lStart, '\r', lLength);
        if (lEnded && !lCopied && (!lCr || static_cast<const char*>(lCr) == lStart + lLength - 1)) {
            // The whole line in the buffer, at most a CR before its end.
            fPos = lEnd + 1;
            if (fBuffer[lEnd] == kCtrlZ) fNextCtrlZ = FindFrom(fBuffer, fPos, fLen, kCtrlZ);
            return {lStart, lCr ? lLength - 1 : lLength};
        }
        AppendWithoutCr(fLine, lStart, lLength);
        lCopied = true;
        fPos = lEnd;
        if (lEnded) {
            if (fBuffer[lEnd] == kCtrlZ) fNextCtrlZ = FindFrom(fBuffer, lEnd + 1, fLen, kCtrlZ);
            ++fPos;
            break;
        }
    }
    return fLine;
}

}  // namespace quillomar
