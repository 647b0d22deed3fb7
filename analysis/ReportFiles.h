// The report files: their names and header lines, the line layouts of the
// balance records, and the one operation that appends a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "TextFile.h"

namespace quillomar {

inline constexpr std::string_view kShortHeader = "Liczba pierwsza|Suma|Równowag";
inline constexpr std::string_view kLongHeader = "Liczba pierwsza|Suma|Równowag|Ciągi";
inline constexpr std::string_view kFlowHeader = "Liczba pierwsza|Suma|Równowag|Flow";

// 29 blanks and a bar: the start of a continuation line ("%29s|%s").
inline constexpr std::string_view kContinuation = "                             |";

// The short record "%15d|%4d|%8d" of (prime, difference, equals).
std::string ShortRecord(int64_t aPrime, int64_t aDifference, int64_t aEquals);

// Appends aValue as one line to aFile: open for appending (an open variable
// is closed first), write, close. When it returns the line is on disk.
void WriteToFile(TTextFile& aFile, std::string_view aValue);

// The same for a line made of two parts, written in one piece.
void WriteToFile(TTextFile& aFile, std::string_view aHead, std::string_view aTail);

}  // namespace quillomar
