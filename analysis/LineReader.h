// A text file read line by line by the same rules as TTextFile, without
// the code-page conversion: each line is handed out as its bytes on disk.
// A line ends at LF or at a Ctrl-Z; CRs are dropped; a last line without a
// line end is still read; a Ctrl-Z that starts a line is the end of the
// file; past the end every line is empty. Data appended to the file is read
// once the reader gets there, as with TTextFile.
//
// Windows-1250 maps distinct bytes to distinct characters, so one line
// begins with another in bytes exactly when it does after conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FileHandle.h"

namespace quillomar {

class TLineReader {
public:
    // Opens aPath for reading; EInOutError as TTextFile::Reset raises it.
    explicit TLineReader(const std::string& aPath);
    TLineReader(const TLineReader&) = delete;
    TLineReader& operator=(const TLineReader&) = delete;

    // True at the end of the data or at a Ctrl-Z that starts a line.
    bool Eof();
    // The next line; the view is valid until the next call of the reader.
    std::string_view ReadLn();
    void Close() noexcept { fFd.Reset(); }
    // The size of the open file now, -1 when it cannot be told.
    int64_t FileSize() const noexcept;

private:
    bool Fill();

    TFileHandle fFd;
    std::vector<char> fBuffer;
    size_t fPos = 0;
    size_t fLen = 0;
    size_t fNextCtrlZ = 0;  // position of the next Ctrl-Z in the buffer, fLen when none
    std::string fLine;      // a line that needed copying
};

}  // namespace quillomar
