// A text file variable: a name bound to a path, opened for reading, writing
// or appending, used line by line and closed again. Every failing operation
// raises EInOutError with its code. Files are Windows-1250 on disk, lines
// end in CR LF when written and at LF or CR LF when read.
//
// Rewrite takes an exclusive open-file-description lock on the file and
// holds it for the life of the variable: another instance can neither
// re-create the file nor append to it while this one lives, while readers
// that take no lock read freely.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "FileHandle.h"

namespace quillomar {

class TTextFile {
public:
    TTextFile() = default;
    ~TTextFile() = default;
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;

    // Binds the variable to aPath; a relative path resolves against the
    // current directory when the file is opened.
    void AssignFile(std::string aPath);
    const std::string& FileName() const noexcept { return fPath; }

    // Creates or truncates the file and opens it for writing, after taking
    // the lock (I/O error 32 when another instance holds it).
    void Rewrite();
    // Opens the existing file for writing at its end.
    void Append();
    // Opens the existing file for reading from its first line.
    void Reset();

    // Writes aHead and aTail as one line with CR LF, in one write.
    void WriteLn(std::string_view aHead, std::string_view aTail = {});
    // Reads the next line (UTF-8); past the end, an empty line.
    std::string ReadLn();
    // True at the end of the file or at a Ctrl-Z that starts a line.
    bool Eof();
    void CloseFile();

    bool IsOpen() const noexcept { return fMode != TMode::Closed; }
    // True while this variable holds the lock taken by Rewrite.
    bool HoldsLock() const noexcept { return fLock.Valid(); }
    // The writable descriptor that carries the lock, -1 when none is held.
    int LockDescriptor() const noexcept { return fLock.Get(); }

private:
    enum class TMode { Closed, Input, Output };

    void CloseIfOpen() noexcept;
    void RequireInput();
    // The next byte without consuming it, or -1 at the end of the data.
    int Peek();
    bool Fill();

    std::string fPath;
    TFileHandle fFd;
    TFileHandle fLock;
    // The identity of the locked file, to know an append reaches it.
    dev_t fLockDev = 0;
    ino_t fLockIno = 0;
    TMode fMode = TMode::Closed;
    std::vector<char> fBuffer;
    size_t fPos = 0;
    size_t fLen = 0;
};

}  // namespace quillomar
