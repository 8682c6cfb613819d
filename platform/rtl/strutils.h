#pragma once
// Text helpers with the 1-based positions, clamping and conversion rules that the ported algorithms rely on.
// Blanks are the characters up to U+0020. Integer texts follow one rule everywhere (see StrToInt).

#include <QChar>
#include <QString>

#include <concepts>
#include <cstdint>
#include <string_view>

#include "platform/rtl/formatsettings.h"

namespace plat {

// ---- 1-based positions -------------------------------------------------------------------------------------

// Position (1-based) of Substr in S, 0 when absent or when Substr is empty.
int Pos(const QString& Substr, const QString& S);
// Like Pos, starting the search at 1-based Offset; 0 when Offset < 1 or past the end.
int PosEx(const QString& Substr, const QString& S, int Offset = 1);
// Count characters of S from 1-based Index; Index < 1 starts at 1, a count past the end stops at the end.
QString Copy(const QString& S, int Index, int Count);
// Removes Count characters from 1-based Index; an Index outside 1..Length does nothing.
void Delete(QString& S, int Index, int Count);
// Inserts Source before 1-based Index; Index < 1 inserts at the start, past the end appends.
void Insert(const QString& Source, QString& S, int Index);
// The character at 1-based Index; a null character outside 1..Length.
QChar CharAt(const QString& S, int Index);
// Count copies of Ch; empty for Count <= 0.
QString StringOfChar(QChar Ch, int Count);

// ---- blanks and letter case --------------------------------------------------------------------------------

QString Trim(const QString& S);
QString TrimLeft(const QString& S);
QString TrimRight(const QString& S);

// ASCII letters only; other characters are kept.
QString UpperCase(const QString& S);
QString LowerCase(const QString& S);
// Ordinal comparisons returning < 0, 0 or > 0. CompareText and SameText ignore the case of ASCII letters.
int CompareStr(const QString& S1, const QString& S2);
int CompareText(const QString& S1, const QString& S2);
bool SameText(const QString& S1, const QString& S2);
// Unicode-aware letter case (every script's letters), comparisons still ordinal after case folding.
QString AnsiUpperCase(const QString& S);
QString AnsiLowerCase(const QString& S);
int AnsiCompareStr(const QString& S1, const QString& S2);
int AnsiCompareText(const QString& S1, const QString& S2);
bool AnsiSameText(const QString& S1, const QString& S2);

// ---- integers ----------------------------------------------------------------------------------------------
// The one integer-text rule: leading blanks are skipped, then an optional sign, then decimal digits, or hex
// digits after "$", "x", "X", "0x" or "0X". Nothing may follow the digits (not even blanks); an empty text
// fails. A decimal value outside the target width fails; a hex text is the bit pattern of the width
// ("0xFFFFFFFF" is -1 in 32 bits) and fails when it needs more bits than the width. "010" is 10.

bool TryStrToInt(const QString& S, int& Value);
bool TryStrToInt64(const QString& S, int64_t& Value);
// The same rule over UTF-8 text (bytes outside ASCII are no digits), for readers that convert stored text
// without making a QString of it.
bool TryStrToIntUtf8(std::string_view S, int& Value);
bool TryStrToInt64Utf8(std::string_view S, int64_t& Value);
// A text ending at its first NUL byte. Up to nine plain decimal digits, the common case of stored numbers, are
// read inline (nine digits always fit, a tenth may not); everything else goes through the rule above.
bool TryStrToIntUtf8Rule(const char* S, int& Value);
inline bool TryStrToIntUtf8(const char* S, int& Value) {
  int v = 0, n = 0;
  for (; n < 9 && S[n] >= '0' && S[n] <= '9'; ++n) v = v * 10 + (S[n] - '0');
  if (n > 0 && S[n] == 0) {
    Value = v;
    return true;
  }
  return TryStrToIntUtf8Rule(S, Value);
}
bool TryStrToInt64Utf8(const char* S, int64_t& Value);
// Raise EConvertError "'S' is not a valid integer value".
int StrToInt(const QString& S);
// The message StrToInt raises for a text that is not an integer, for callers that report it their own way.
QString NotIntegerMessage(const QString& S);
int64_t StrToInt64(const QString& S);
int StrToIntDef(const QString& S, int Default);
int64_t StrToInt64Def(const QString& S, int64_t Default);

template <std::integral T>
QString IntToStr(T Value) {
  return QString::number(Value);
}

namespace detail {
QString HexDigits(uint64_t Pattern, int MinDigits);
}
// Upper-case hex of the value's bit pattern (32 bits for types up to 32 bits, else 64), at least Digits digits.
template <std::integral T>
QString IntToHex(T Value, int Digits) {
  if constexpr (sizeof(T) <= 4)
    return detail::HexDigits(static_cast<uint32_t>(Value), Digits);
  else
    return detail::HexDigits(static_cast<uint64_t>(Value), Digits);
}

// ---- floating point ----------------------------------------------------------------------------------------

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
using enum TFloatFormat;

// ffGeneral: shortest text of at most Precision significant digits, fixed while the value has fewer than
// Precision integer digits and is at least 0.0001, else "1.5E-7" with at least Digits exponent digits.
// ffExponent: "-d.ddddE+ddd" with Precision digits and at least Digits exponent digits. ffFixed: Digits
// decimals ("1E20"-style when the integer part has more than Precision digits). ffNumber: ffFixed with thousand
// separators. ffCurrency: ffNumber in the settings' currency layout. Decimal rounding is half away from zero;
// NaN and infinities give "NAN", "INF", "-INF".
QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                    const TFormatSettings& Settings);
QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
// ffGeneral with 15 digits.
QString FloatToStr(double Value, const TFormatSettings& Settings);
QString FloatToStr(double Value);

// Blanks around the text, an optional sign, digits with one decimal separator, an optional exponent
// ("E-3", "e+12"). Thousand separators are not accepted.
bool TryStrToFloat(const QString& S, double& Value, const TFormatSettings& Settings);
bool TryStrToFloat(const QString& S, double& Value);
// Raise EConvertError "'S' is not a valid floating point value".
double StrToFloat(const QString& S, const TFormatSettings& Settings);
double StrToFloat(const QString& S);
double StrToFloatDef(const QString& S, double Default, const TFormatSettings& Settings);
double StrToFloatDef(const QString& S, double Default);

}  // namespace plat
