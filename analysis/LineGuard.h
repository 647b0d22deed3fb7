// A helper process that keeps the report files whole when the program ends
// abnormally. A write of a line longer than a page can be cut short at a
// page edge when the process is killed during it (the kernel stops a write
// between pages for a fatal signal), leaving a torn last line. The guard is
// forked once the files are created and holds their open file descriptions,
// and with them their locks; when the program ends, however it ends, the
// guard cuts each file back to its last complete line (ending in CR LF) and
// only then exits, releasing the locks.
#pragma once

#include <sys/types.h>

#include <vector>

#include "FileHandle.h"

namespace quillomar {

class TLineGuard {
public:
    TLineGuard() = default;
    ~TLineGuard() { Stop(); }
    TLineGuard(const TLineGuard&) = delete;
    TLineGuard& operator=(const TLineGuard&) = delete;

    // Starts guarding the files open on aFds (writable descriptors). A guard
    // already running is stopped first. Returns false when no guard could be
    // started; the program then runs unguarded.
    bool Start(const std::vector<int>& aFds) noexcept;

    // Ends the guard: it makes its repairs and exits, and is waited for.
    void Stop() noexcept;

    bool Running() const noexcept { return fPid > 0; }

    // Cuts the regular file open on aFd back to just after its last CR LF
    // (to empty when it has none). Uses only async-signal-safe calls.
    static void CutToLastLine(int aFd) noexcept;

private:
    TFileHandle fPipe;  // write end; the guard sees its end when it closes
    pid_t fPid = -1;
};

}  // namespace quillomar
