#include "ReportFiles.h"

#include <charconv>

namespace quillomar {

namespace {

// Appends aValue right-aligned in aWidth columns; a wider value is kept whole.
void AppendRight(std::string& aOut, int64_t aValue, size_t aWidth) {
    char lDigits[24];
    auto lResult = std::to_chars(lDigits, lDigits + sizeof lDigits, aValue);
    auto lLen = static_cast<size_t>(lResult.ptr - lDigits);
    if (lLen < aWidth) aOut.append(aWidth - lLen, ' ');
    aOut.append(lDigits, lLen);
}

}  // namespace

std::string ShortRecord(int64_t aPrime, int64_t aDifference, int64_t aEquals) {
    std::string lOut;
    lOut.reserve(32);
    AppendRight(lOut, aPrime, 15);
    lOut += '|';
    AppendRight(lOut, aDifference, 4);
    lOut += '|';
    AppendRight(lOut, aEquals, 8);
    return lOut;
}

void WriteToFile(TTextFile& aFile, std::string_view aValue) { WriteToFile(aFile, aValue, {}); }

void WriteToFile(TTextFile& aFile, std::string_view aHead, std::string_view aTail) {
    aFile.Append();
    aFile.WriteLn(aHead, aTail);
    aFile.CloseFile();
}

}  // namespace quillomar
