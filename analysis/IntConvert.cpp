#include "IntConvert.h"

#include "Errors.h"

namespace quillomar {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Length in bytes of the first aChars UTF-8 characters of aText.
size_t Utf8Prefix(std::string_view aText, size_t aChars) {
    size_t lPos = 0;
    for (size_t lCount = 0; lPos < aText.size() && lCount < aChars; ++lCount) {
        ++lPos;
        while (lPos < aText.size() && (static_cast<unsigned char>(aText[lPos]) & 0xC0) == 0x80) ++lPos;
    }
    return lPos;
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view aText) {
    size_t i = 0;
    const size_t n = aText.size();
    while (i < n && aText[i] == ' ') ++i;
    bool lNegative = false;
    if (i < n && (aText[i] == '+' || aText[i] == '-')) {
        lNegative = aText[i] == '-';
        ++i;
    }
    bool lHex = false;
    if (i < n && (aText[i] == '$' || aText[i] == 'x' || aText[i] == 'X')) {
        lHex = true;
        ++i;
    } else if (i + 1 < n && aText[i] == '0' && (aText[i + 1] == 'x' || aText[i + 1] == 'X')) {
        lHex = true;
        i += 2;
    }
    if (i >= n) return std::nullopt;
    if (lHex) {
        uint32_t lValue = 0;
        int lSignificant = 0;
        for (; i < n; ++i) {
            int d = HexDigit(aText[i]);
            if (d < 0) return std::nullopt;
            if (lSignificant > 0 || d != 0) ++lSignificant;
            if (lSignificant > 8) return std::nullopt;
            lValue = (lValue << 4) | static_cast<uint32_t>(d);
        }
        if (lNegative) lValue = 0u - lValue;
        return static_cast<int32_t>(lValue);
    }
    int64_t lValue = 0;
    const int64_t lLimit = lNegative ? 2147483648LL : 2147483647LL;
    for (; i < n; ++i) {
        char c = aText[i];
        if (c < '0' || c > '9') return std::nullopt;
        lValue = lValue * 10 + (c - '0');
        if (lValue > lLimit) return std::nullopt;
    }
    return static_cast<int32_t>(lNegative ? -lValue : lValue);
}

int32_t StrToInt(std::string_view aText) {
    if (auto lValue = TryStrToInt(aText)) return *lValue;
    throw EConvertError(ConvertErrorMessage(aText));
}

std::string ConvertErrorMessage(std::string_view aText) {
    constexpr size_t kMaxChars = 64;
    std::string lShown;
    size_t lPrefix = Utf8Prefix(aText, kMaxChars);
    if (lPrefix < aText.size()) {
        lShown.assign(aText.substr(0, lPrefix));
        lShown += "\u2026";
    } else {
        lShown.assign(aText);
    }
    return "'" + lShown + "' is not a valid integer value for Integer type";
}

}  // namespace quillomar
