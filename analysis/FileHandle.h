// An owned POSIX file descriptor, closed on destruction.
#pragma once

#include <unistd.h>

#include <utility>

namespace quillomar {

class TFileHandle {
public:
    TFileHandle() noexcept = default;
    explicit TFileHandle(int aFd) noexcept : fFd(aFd) {}
    ~TFileHandle() { Reset(); }
    TFileHandle(TFileHandle&& aOther) noexcept : fFd(std::exchange(aOther.fFd, -1)) {}
    TFileHandle& operator=(TFileHandle&& aOther) noexcept {
        if (this != &aOther) {
            Reset();
            fFd = std::exchange(aOther.fFd, -1);
        }
        return *this;
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    int Get() const noexcept { return fFd; }
    bool Valid() const noexcept { return fFd >= 0; }

    // Closes the descriptor; returns the result of close(2) (0 when none).
    int Reset() noexcept {
        int r = 0;
        if (fFd >= 0) r = ::close(fFd);
        fFd = -1;
        return r;
    }

private:
    int fFd = -1;
};

}  // namespace quillomar
