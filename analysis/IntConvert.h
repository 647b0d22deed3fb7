// Text to 32-bit integer: an optional run of leading blanks, at most one sign,
// then decimal digits in range or a hexadecimal number after "$", "x", "X",
// "0x" or "0X" with at most eight significant digits; nothing may follow.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillomar {

// The value of aText, or nothing when it is not an integer.
std::optional<int32_t> TryStrToInt(std::string_view aText);

// The value of aText; EConvertError naming the text when it is not an integer.
int32_t StrToInt(std::string_view aText);

// The message of the conversion error for aText. A text of more than 64
// characters is named by its first 64 characters followed by "…".
std::string ConvertErrorMessage(std::string_view aText);

}  // namespace quillomar
