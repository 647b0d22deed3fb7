#include "Codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace quillomar {

namespace {

// One iconv conversion descriptor, closed on destruction.
class TIconv {
public:
    TIconv(const char* aTo, const char* aFrom) : fCd(iconv_open(aTo, aFrom)) {
        if (fCd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + aFrom + " to " + aTo);
        }
    }
    ~TIconv() { iconv_close(fCd); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // Converts as much as possible; returns false at an unconvertible input
    // sequence, leaving aIn pointing at it.
    bool Convert(const char*& aIn, size_t& aInLeft, std::string& aOut) {
        char lBuffer[4096];
        while (aInLeft > 0) {
            char* lOut = lBuffer;
            size_t lOutLeft = sizeof lBuffer;
            char* lIn = const_cast<char*>(aIn);
            size_t r = iconv(fCd, &lIn, &aInLeft, &lOut, &lOutLeft);
            aIn = lIn;
            aOut.append(lBuffer, static_cast<size_t>(lOut - lBuffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                iconv(fCd, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t fCd;
};

size_t Utf8Length(unsigned char aLead) {
    if (aLead < 0x80) return 1;
    if ((aLead & 0xE0) == 0xC0) return 2;
    if ((aLead & 0xF0) == 0xE0) return 3;
    if ((aLead & 0xF8) == 0xF0) return 4;
    return 1;
}

}  // namespace

bool IsAscii(std::string_view aText) noexcept {
    // Eight bytes at a time: the texts of a long run are tens of kilobytes.
    const char* p = aText.data();
    size_t n = aText.size();
    uint64_t lOr = 0;
    for (; n >= 32; p += 32, n -= 32) {
        uint64_t w[4];
        std::memcpy(w, p, sizeof w);
        lOr |= w[0] | w[1] | w[2] | w[3];
    }
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t w;
        std::memcpy(&w, p, sizeof w);
        lOr |= w;
    }
    for (; n > 0; ++p, --n) lOr |= static_cast<unsigned char>(*p);
    return (lOr & 0x8080808080808080ULL) == 0;
}

std::string ToAnsi(std::string_view aUtf8) {
    if (IsAscii(aUtf8)) return std::string(aUtf8);
    TIconv lExact("WINDOWS-1250", "UTF-8");
    std::string lOut;
    const char* lIn = aUtf8.data();
    size_t lLeft = aUtf8.size();
    while (!lExact.Convert(lIn, lLeft, lOut)) {
        // One character the code page lacks: best fit, else the default.
        size_t lLen = std::min(Utf8Length(static_cast<unsigned char>(*lIn)), lLeft);
        TIconv lFit("WINDOWS-1250//TRANSLIT", "UTF-8");
        const char* lOne = lIn;
        size_t lOneLeft = lLen;
        std::string lFitted;
        if (lFit.Convert(lOne, lOneLeft, lFitted) && !lFitted.empty()) {
            lOut += lFitted;
        } else {
            lOut += '?';
        }
        lIn += lLen;
        lLeft -= lLen;
    }
    return lOut;
}

std::string FromAnsi(std::string_view aAnsi) {
    if (IsAscii(aAnsi)) return std::string(aAnsi);
    TIconv lConv("UTF-8", "WINDOWS-1250");
    std::string lOut;
    const char* lIn = aAnsi.data();
    size_t lLeft = aAnsi.size();
    while (!lConv.Convert(lIn, lLeft, lOut)) {
        // An unassigned byte: the C1 control of the same value.
        unsigned char b = static_cast<unsigned char>(*lIn);
        lOut += static_cast<char>(0xC0 | (b >> 6));
        lOut += static_cast<char>(0x80 | (b & 0x3F));
        ++lIn;
        --lLeft;
    }
    return lOut;
}

}  // namespace quillomar
