// Fuzzes the integer conversion against a reference written from the rules:
// leading blanks, at most one sign, then decimal digits in the 32-bit range
// or "$", "x", "X", "0x", "0X" and at most eight significant hex digits.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Errors.h"
#include "FuzzSupport.h"
#include "IntConvert.h"

namespace {

using quillomar::fuzz::Check;

bool AllDigits(std::string_view aText, int aBase) {
    for (char c : aText) {
        bool lDecimal = c >= '0' && c <= '9';
        bool lHex = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!(lDecimal || (aBase == 16 && lHex))) return false;
    }
    return true;
}

std::optional<int32_t> Reference(std::string_view aText) {
    size_t lFirst = aText.find_first_not_of(' ');
    if (lFirst == std::string_view::npos) return std::nullopt;
    aText.remove_prefix(lFirst);
    bool lNegative = false;
    if (aText[0] == '+' || aText[0] == '-') {
        lNegative = aText[0] == '-';
        aText.remove_prefix(1);
    }
    int lBase = 10;
    if (aText.starts_with("0x") || aText.starts_with("0X")) {
        lBase = 16;
        aText.remove_prefix(2);
    } else if (aText.starts_with("$") || aText.starts_with("x") || aText.starts_with("X")) {
        lBase = 16;
        aText.remove_prefix(1);
    }
    if (aText.empty() || !AllDigits(aText, lBase)) return std::nullopt;
    size_t lSignificant = aText.find_first_not_of('0');
    aText.remove_prefix(lSignificant == std::string_view::npos ? aText.size() : lSignificant);
    if (aText.size() > (lBase == 16 ? 8u : 10u)) return std::nullopt;
    uint64_t lValue = 0;
    if (!aText.empty()) std::from_chars(aText.data(), aText.data() + aText.size(), lValue, lBase);
    if (lBase == 16) {
        auto lBits = static_cast<uint32_t>(lValue);
        if (lNegative) lBits = 0u - lBits;
        return static_cast<int32_t>(lBits);
    }
    if (lValue > (lNegative ? 2147483648u : 2147483647u)) return std::nullopt;
    return static_cast<int32_t>(lNegative ? -static_cast<int64_t>(lValue) : static_cast<int64_t>(lValue));
}

// True when aText is well-formed UTF-8; sets aChars to its character count.
bool ValidUtf8(std::string_view aText, size_t& aChars) {
    aChars = 0;
    for (size_t i = 0; i < aText.size(); ++aChars) {
        auto b = static_cast<unsigned char>(aText[i]);
        size_t lLen = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        if (lLen == 0 || i + lLen > aText.size()) return false;
        for (size_t k = 1; k < lLen; ++k) {
            if ((static_cast<unsigned char>(aText[i + k]) & 0xC0) != 0x80) return false;
        }
        i += lLen;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
    using namespace quillomar;
    const std::string_view lText(reinterpret_cast<const char*>(aData), aSize);
    const std::optional<int32_t> lGot = TryStrToInt(lText);
    Check(lGot == Reference(lText), "TryStrToInt differs from the reference");
    try {
        const int32_t lValue = StrToInt(lText);
        Check(lGot && lValue == *lGot, "StrToInt accepted what TryStrToInt refused");
    } catch (const EConvertError& e) {
        Check(!lGot, "StrToInt refused a valid integer");
        // The raised message is read as a C string, so a NUL in the piece
        // ends it there; the layout is checked on the full text.
        const std::string lMessage = ConvertErrorMessage(lText);
        Check(std::string_view(e.what()) == std::string_view(lMessage.c_str()), "the raised message");
        const std::string_view lTail = "' is not a valid integer value for Integer type";
        Check(lMessage.starts_with("'") && lMessage.ends_with(lTail), "conversion message layout");
        const std::string_view lNamed(lMessage.data() + 1, lMessage.size() - 1 - lTail.size());
        size_t lChars = 0;
        if (ValidUtf8(lText, lChars)) {
            if (lChars <= 64) {
                Check(lNamed == lText, "a short piece is named whole");
            } else {
                Check(lNamed.ends_with("\u2026"), "a long piece ends in an ellipsis");
                std::string_view lPrefix = lNamed.substr(0, lNamed.size() - 3);
                size_t lPrefixChars = 0;
                Check(lText.starts_with(lPrefix) && ValidUtf8(lPrefix, lPrefixChars) && lPrefixChars == 64,
                      "a long piece is named by its first 64 characters");
            }
        } else {
            Check(lNamed.size() <= lText.size() + 3, "the named piece is no longer than the piece");
        }
    }
    return 0;
}
