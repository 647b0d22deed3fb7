// Conversion between the program's UTF-8 text and Windows-1250, the code
// page of every file the system reads and writes.
#pragma once

#include <string>
#include <string_view>

namespace quillomar {

// True when every byte of aText is ASCII (the same in both encodings).
bool IsAscii(std::string_view aText) noexcept;

// UTF-8 to Windows-1250; a character the code page cannot hold becomes its
// best-fit character where iconv knows one, else "?".
std::string ToAnsi(std::string_view aUtf8);

// Windows-1250 to UTF-8; the five unassigned bytes map to the C1 controls
// of the same value.
std::string FromAnsi(std::string_view aAnsi);

}  // namespace quillomar
