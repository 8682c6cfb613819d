#include "core/compiler_text.h"

namespace core::bank {

namespace {

// Interim conversion until the shared one is available: leading blanks, an optional sign, decimal digits,
// or hex digits after "$", "x", "X", "0x", "0X" (read as the bit pattern of the width).
bool Convert(std::string_view s, int bits, int64_t& out) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    neg = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t v = 0;
  const uint64_t limit = bits == 64 ? ~uint64_t(0) : 0xFFFFFFFFull;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    unsigned d;
    if (c >= '0' && c <= '9') d = unsigned(c - '0');
    else if (hex && c >= 'a' && c <= 'f') d = unsigned(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F') d = unsigned(c - 'A' + 10);
    else return false;
    const uint64_t base = hex ? 16 : 10;
    if (v > (limit - d) / base) return false;
    v = v * base + d;
  }
  if (hex) {
    if (bits == 32) v = uint64_t(int64_t(int32_t(uint32_t(v))));
    out = neg ? -int64_t(v) : int64_t(v);
    return true;
  }
  const uint64_t maxPos = bits == 64 ? uint64_t(INT64_MAX) : uint64_t(INT32_MAX);
  if (neg) {
    if (v > maxPos + 1) return false;
    out = v == maxPos + 1 ? (bits == 64 ? INT64_MIN : int64_t(INT32_MIN)) : -int64_t(v);
  } else {
    if (v > maxPos) return false;
    out = int64_t(v);
  }
  return true;
}

}  // namespace

bool TextToInt32(std::string_view text, int32_t& value) {
  int64_t v = 0;
  if (!Convert(text, 32, v)) return false;
  value = int32_t(v);
  return true;
}

bool TextToInt64(std::string_view text, int64_t& value) { return Convert(text, 64, value); }

QString ConvertErrorText(std::string_view text) {
  return QStringLiteral("'%1' is not a valid integer value")
      .arg(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

}  // namespace core::bank
