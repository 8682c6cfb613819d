#include "platform/rtl/strutils.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <type_traits>

#include "platform/rtl/exceptions.h"

namespace plat {

// ---- 1-based positions -------------------------------------------------------------------------------------

int Pos(const QString& Substr, const QString& S) { return PosEx(Substr, S, 1); }

int PosEx(const QString& Substr, const QString& S, int Offset) {
  if (Substr.isEmpty() || Offset < 1 || Offset > S.size()) return 0;
  const qsizetype at = S.indexOf(Substr, Offset - 1, Qt::CaseSensitive);
  return at < 0 ? 0 : static_cast<int>(at) + 1;
}

QString Copy(const QString& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || Index > S.size()) return QString();
  const qsizetype avail = S.size() - (Index - 1);
  return S.mid(Index - 1, Count < avail ? Count : avail);
}

void Delete(QString& S, int Index, int Count) {
  if (Index < 1 || Index > S.size() || Count <= 0) return;
  const qsizetype avail = S.size() - (Index - 1);
  S.remove(Index - 1, Count < avail ? Count : avail);
}

void Insert(const QString& Source, QString& S, int Index) {
  if (Source.isEmpty()) return;
  if (Index < 1) Index = 1;
  if (Index > S.size() + 1) Index = static_cast<int>(S.size()) + 1;
  S.insert(Index - 1, Source);
}

QChar CharAt(const QString& S, int Index) {
  if (Index < 1 || Index > S.size()) return QChar();
  return S[Index - 1];
}

QString StringOfChar(QChar Ch, int Count) { return Count <= 0 ? QString() : QString(Count, Ch); }

// ---- blanks and letter case --------------------------------------------------------------------------------

namespace {

inline bool IsBlank(QChar c) { return c.unicode() <= 0x20; }

inline char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? c - 32 : c; }
inline char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

}  // namespace

QString Trim(const QString& S) {
  qsizetype b = 0, e = S.size();
  while (b < e && IsBlank(S[b])) ++b;
  while (e > b && IsBlank(S[e - 1])) --e;
  return S.mid(b, e - b);
}

QString TrimLeft(const QString& S) {
  qsizetype b = 0;
  while (b < S.size() && IsBlank(S[b])) ++b;
  return S.mid(b);
}

QString TrimRight(const QString& S) {
  qsizetype e = S.size();
  while (e > 0 && IsBlank(S[e - 1])) --e;
  return S.left(e);
}

QString UpperCase(const QString& S) {
  QString R = S;
  for (QChar& c : R) c = QChar(AsciiUpper(c.unicode()));
  return R;
}

QString LowerCase(const QString& S) {
  QString R = S;
  for (QChar& c : R) c = QChar(AsciiLower(c.unicode()));
  return R;
}

int CompareStr(const QString& S1, const QString& S2) {
  const qsizetype n = std::min(S1.size(), S2.size());
  for (qsizetype i = 0; i < n; ++i) {
    const int d = int(S1[i].unicode()) - int(S2[i].unicode());
    if (d != 0) return d;
  }
  return static_cast<int>(S1.size() - S2.size());
}

int CompareText(const QString& S1, const QString& S2) {
  const qsizetype n = std::min(S1.size(), S2.size());
  for (qsizetype i = 0; i < n; ++i) {
    const int d = int(AsciiUpper(S1[i].unicode())) - int(AsciiUpper(S2[i].unicode()));
    if (d != 0) return d;
  }
  return static_cast<int>(S1.size() - S2.size());
}

bool SameText(const QString& S1, const QString& S2) { return S1.size() == S2.size() && CompareText(S1, S2) == 0; }

QString AnsiUpperCase(const QString& S) { return S.toUpper(); }
QString AnsiLowerCase(const QString& S) { return S.toLower(); }
int AnsiCompareStr(const QString& S1, const QString& S2) { return QString::compare(S1, S2, Qt::CaseSensitive); }
int AnsiCompareText(const QString& S1, const QString& S2) {
  return QString::compare(S1, S2, Qt::CaseInsensitive);
}
bool AnsiSameText(const QString& S1, const QString& S2) { return AnsiCompareText(S1, S2) == 0; }

// ---- integers ----------------------------------------------------------------------------------------------

namespace {

template <class C>
inline int HexValue(C c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The integer-text rule for a width of Bits (32 or 64); the result is sign-extended into Out.
template <class C>
bool ParseIntegerText(const C* p, const C* const end, int Bits, int64_t& Out) {
  while (p < end && uint32_t(std::make_unsigned_t<C>(*p)) <= 0x20) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  bool hex = false;
  if (p < end && (*p == '$' || *p == 'x' || *p == 'X')) {
    hex = true;
    ++p;
  } else if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    hex = true;
    p += 2;
  }
  if (p == end) return false;
  const uint64_t widthMask = Bits == 32 ? 0xFFFFFFFFull : ~0ull;
  uint64_t v = 0;
  if (hex) {
    for (; p < end; ++p) {
      const int d = HexValue(*p);
      if (d < 0 || v > (widthMask >> 4)) return false;
      v = (v << 4) | static_cast<uint64_t>(d);
    }
    if (negative) v = (0 - v) & widthMask;
    Out = Bits == 32 ? static_cast<int32_t>(static_cast<uint32_t>(v)) : static_cast<int64_t>(v);
    return true;
  }
  const uint64_t limit = (1ull << (Bits - 1)) - (negative ? 0 : 1);
  for (; p < end; ++p) {
    if (*p < '0' || *p > '9') return false;
    const uint64_t d = uint64_t(*p - '0');
    if (v > (limit - d) / 10) return false;
    v = v * 10 + d;
  }
  Out = static_cast<int64_t>(negative ? 0 - v : v);
  return true;
}

bool ParseIntegerText(const QString& S, int Bits, int64_t& Out) {
  const char16_t* p = reinterpret_cast<const char16_t*>(S.constData());
  return ParseIntegerText(p, p + S.size(), Bits, Out);
}

[[noreturn]] void RaiseNotInteger(const QString& S) { throw EConvertError(NotIntegerMessage(S)); }

}  // namespace

QString NotIntegerMessage(const QString& S) { return QStringLiteral("'%1' is not a valid integer value").arg(S); }

bool TryStrToInt(const QString& S, int& Value) {
  int64_t v;
  if (!ParseIntegerText(S, 32, v)) return false;
  Value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64(const QString& S, int64_t& Value) { return ParseIntegerText(S, 64, Value); }

bool TryStrToIntUtf8(std::string_view S, int& Value) {
  int64_t v;
  if (!ParseIntegerText(S.data(), S.data() + S.size(), 32, v)) return false;
  Value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64Utf8(std::string_view S, int64_t& Value) {
  return ParseIntegerText(S.data(), S.data() + S.size(), 64, Value);
}

namespace {
const char* TextEnd(const char* S) {
  while (*S) ++S;
  return S;
}
}  // namespace

bool TryStrToIntUtf8Rule(const char* S, int& Value) {
  int64_t v;
  if (!ParseIntegerText(S, TextEnd(S), 32, v)) return false;
  Value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64Utf8(const char* S, int64_t& Value) { return ParseIntegerText(S, TextEnd(S), 64, Value); }

int StrToInt(const QString& S) {
  int v;
  if (!TryStrToInt(S, v)) RaiseNotInteger(S);
  return v;
}

int64_t StrToInt64(const QString& S) {
  int64_t v;
  if (!TryStrToInt64(S, v)) RaiseNotInteger(S);
  return v;
}

int StrToIntDef(const QString& S, int Default) {
  int v;
  return TryStrToInt(S, v) ? v : Default;
}

int64_t StrToInt64Def(const QString& S, int64_t Default) {
  int64_t v;
  return TryStrToInt64(S, v) ? v : Default;
}

namespace detail {
QString HexDigits(uint64_t Pattern, int MinDigits) {
  QString s = QString::number(Pattern, 16).toUpper();
  if (s.size() < MinDigits) s.prepend(QString(MinDigits - s.size(), u'0'));
  return s;
}
}  // namespace detail

// ---- floating point ----------------------------------------------------------------------------------------

namespace {

// A non-negative decimal value 0.Digits × 10^Exp, Digits without trailing zeros; empty Digits is zero.
struct Decimal {
  std::string Digits;
  int Exp = 0;
};

constexpr int kMaxDigits = 15;  // what a double holds reliably

void StripZeros(Decimal& d) {
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) d.Exp = 0;
}

Decimal ToDecimal(double v) {
  Decimal d;
  if (v == 0) return d;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*e", kMaxDigits - 1, std::fabs(v));
  const std::string s(buf);
  const auto e = s.find('e');
  d.Digits = s.substr(0, 1) + s.substr(2, e - 2);
  d.Exp = std::atoi(s.c_str() + e + 1) + 1;
  StripZeros(d);
  return d;
}

// Keeps the first Count digits, rounding half away from zero (Count may be 0 or negative).
Decimal RoundTo(Decimal d, int Count) {
  if (Count >= static_cast<int>(d.Digits.size())) return d;
  if (Count < 0) return Decimal{};
  const bool up = d.Digits[Count] >= '5';
  d.Digits.resize(Count);
  if (up) {
    int i = Count - 1;
    while (i >= 0 && d.Digits[i] == '9') d.Digits[i--] = '0';
    if (i >= 0) {
      ++d.Digits[i];
    } else {
      d.Digits.insert(d.Digits.begin(), '1');
      ++d.Exp;
    }
  }
  StripZeros(d);
  return d;
}

inline char DigitAt(const Decimal& d, int i) {
  return (i >= 0 && i < static_cast<int>(d.Digits.size())) ? d.Digits[i] : '0';
}

// Integer digits (with separators when Thousand is not null) and Decimals fraction digits.
QString FixedText(const Decimal& d, int Decimals, QChar DecimalSep, QChar Thousand) {
  QString intPart;
  if (d.Exp <= 0) {
    intPart = QStringLiteral("0");
  } else {
    for (int i = 0; i < d.Exp; ++i) {
      if (!Thousand.isNull() && i > 0 && (d.Exp - i) % 3 == 0) intPart += Thousand;
      intPart += QLatin1Char(DigitAt(d, i));
    }
  }
  if (Decimals <= 0) return intPart;
  QString frac;
  for (int i = 0; i < Decimals; ++i) frac += QLatin1Char(DigitAt(d, d.Exp + i));
  return intPart + DecimalSep + frac;
}

QString ExponentPart(int X, int MinDigits, bool PlusSign) {
  QString e = QString::number(std::abs(X));
  if (e.size() < MinDigits) e.prepend(QString(MinDigits - e.size(), u'0'));
  return QStringLiteral("E") + (X < 0 ? QStringLiteral("-") : (PlusSign ? QStringLiteral("+") : QString())) + e;
}

// "d.dddE+xx" with exactly Precision digits.
QString ExponentText(const Decimal& d, int Precision, int ExpDigits, QChar DecimalSep) {
  QString m(QLatin1Char(DigitAt(d, 0)));
  if (Precision > 1) {
    m += DecimalSep;
    for (int i = 1; i < Precision; ++i) m += QLatin1Char(DigitAt(d, i));
  }
  return m + ExponentPart(d.Digits.empty() ? 0 : d.Exp - 1, ExpDigits, true);
}

QString CurrencyText(const QString& Number, bool Negative, const TFormatSettings& S) {
  const QString& c = S.CurrencyString;
  if (!Negative) {
    switch (S.CurrencyFormat) {
      case 1: return Number + c;
      case 2: return c + u' ' + Number;
      case 3: return Number + u' ' + c;
      default: return c + Number;
    }
  }
  const QString n = Number;
  switch (S.NegCurrFormat) {
    case 1: return u'-' + c + n;
    case 2: return c + u'-' + n;
    case 3: return c + n + u'-';
    case 4: return u'(' + n + c + u')';
    case 5: return u'-' + n + c;
    case 6: return n + u'-' + c;
    case 7: return n + c + u'-';
    case 8: return u'-' + n + u' ' + c;
    case 9: return u'-' + c + u' ' + n;
    case 10: return n + u' ' + c + u'-';
    case 11: return c + u' ' + n + u'-';
    case 12: return c + u' ' + u'-' + n;
    case 13: return n + u'-' + u' ' + c;
    case 14: return u'(' + c + u' ' + n + u')';
    case 15: return u'(' + n + u' ' + c + u')';
    default: return u'(' + c + n + u')';
  }
}

}  // namespace

QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& Settings) {
  if (std::isnan(Value)) return QStringLiteral("NAN");
  if (std::isinf(Value)) return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (Precision < 1) Precision = 1;
  const int sig = std::min(Precision, kMaxDigits);
  if (Digits < 0) Digits = 0;
  const QChar dec = Settings.DecimalSeparator;
  const bool negative = std::signbit(Value);
  const Decimal exact = ToDecimal(Value);
  Decimal d;
  QString body;
  switch (Format) {
    case ffGeneral: {
      d = RoundTo(exact, sig);
      const int x = d.Exp - 1;
      if (d.Digits.empty()) {
        body = QStringLiteral("0");
      } else if (x < Precision && x >= -4) {
        body = FixedText(d, std::max(0, static_cast<int>(d.Digits.size()) - d.Exp), dec, QChar());
      } else {
        body = QLatin1Char(d.Digits[0]);
        if (d.Digits.size() > 1) body += dec + QString::fromLatin1(d.Digits.substr(1));
        body += ExponentPart(x, std::min(Digits, 4), false);
      }
      break;
    }
    case ffExponent:
      d = RoundTo(exact, sig);
      body = ExponentText(d, Precision, std::min(Digits, 4), dec);
      break;
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (Format == ffCurrency && Digits > 18) Digits = 18;
      if (exact.Exp > Precision) return FloatToStrF(Value, ffGeneral, Precision, 0, Settings);
      d = RoundTo(exact, std::min(exact.Exp + Digits, sig));
      body = FixedText(d, Digits, dec, Format == ffFixed ? QChar() : Settings.ThousandSeparator);
      if (Format == ffCurrency) return CurrencyText(body, negative && !d.Digits.empty(), Settings);
      break;
    }
  }
  return (negative && !d.Digits.empty()) ? u'-' + body : body;
}

QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
  return FloatToStrF(Value, Format, Precision, Digits, FormatSettings);
}

QString FloatToStr(double Value, const TFormatSettings& Settings) {
  return FloatToStrF(Value, ffGeneral, kMaxDigits, 0, Settings);
}

QString FloatToStr(double Value) { return FloatToStr(Value, FormatSettings); }

bool TryStrToFloat(const QString& S, double& Value, const TFormatSettings& Settings) {
  const QString t = Trim(S);
  std::string ascii;
  ascii.reserve(t.size());
  qsizetype i = 0;
  const qsizetype n = t.size();
  if (i < n && (t[i] == u'+' || t[i] == u'-')) {
    if (t[i] == u'-') ascii += '-';
    ++i;
  }
  int mantissaDigits = 0;
  bool seenPoint = false;
  for (; i < n; ++i) {
    const QChar c = t[i];
    if (c >= u'0' && c <= u'9') {
      ascii += static_cast<char>(c.unicode());
      ++mantissaDigits;
    } else if (c == Settings.DecimalSeparator && !seenPoint) {
      seenPoint = true;
      ascii += '.';
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (t[i] == u'e' || t[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
      if (t[i] == u'-') ascii += '-';
      ++i;
    }
    int expDigits = 0;
    for (; i < n && t[i] >= u'0' && t[i] <= u'9'; ++i, ++expDigits) ascii += static_cast<char>(t[i].unicode());
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  double v = 0;
  const auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
  if (r.ptr != ascii.data() + ascii.size()) return false;
  if (r.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow does not convert.
    const auto e = ascii.find('e');
    if (e == std::string::npos || ascii[e + 1] != '-') return false;
    v = ascii[0] == '-' ? -0.0 : 0.0;
  } else if (r.ec != std::errc()) {
    return false;
  }
  Value = v;
  return true;
}

bool TryStrToFloat(const QString& S, double& Value) { return TryStrToFloat(S, Value, FormatSettings); }

double StrToFloat(const QString& S, const TFormatSettings& Settings) {
  double v;
  if (!TryStrToFloat(S, v, Settings))
    throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
  return v;
}

double StrToFloat(const QString& S) { return StrToFloat(S, FormatSettings); }

double StrToFloatDef(const QString& S, double Default, const TFormatSettings& Settings) {
  double v;
  return TryStrToFloat(S, v, Settings) ? v : Default;
}

double StrToFloatDef(const QString& S, double Default) { return StrToFloatDef(S, Default, FormatSettings); }

}  // namespace plat
