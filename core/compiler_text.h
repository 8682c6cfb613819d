#pragma once
// The compiler's access to the program's one integer-text conversion, over the UTF-8 texts of the XML files.

#include <cstdint>
#include <string_view>

#include <QString>

namespace core::bank {

// True and the value when the text converts to a 32-bit (64-bit) integer.
bool TextToInt32(std::string_view text, int32_t& value);
bool TextToInt64(std::string_view text, int64_t& value);
// The conversion's own error message for a text that does not convert.
QString ConvertErrorText(std::string_view text);

}  // namespace core::bank
