#include "grid/data/sort_compare.h"

#include <cfloat>
#include <charconv>
#include <cmath>

#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"

namespace grid {

namespace {

enum : std::uint16_t {
  kText = 1 << 0,
  kKindKnown = 1 << 1,
  kIsNumber = 1 << 2,
  kNumRead = 1 << 3,
  kNumOk = 1 << 4,
  kNumEmpty = 1 << 5,
  kDateRead = 1 << 6,
  kDSKnown = 1 << 7,
  kHasDS = 1 << 8,
  kTSKnown = 1 << 9,
  kHasTS = 1 << 10,
  kCheckKnown = 1 << 11,
  kIsCheck = 1 << 12,
  kChecked = 1 << 13,
};

// What the date test of a first text found: nothing, a date (a date-time when the text also holds the time
// separator), or a time; the second text must then hold the same separator.
enum TDateTest : std::int8_t { dtUnknown = -1, dtNone = 0, dtDate, dtDateTime, dtTime };

int Sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }
int Sign(int i) { return i < 0 ? -1 : (i > 0 ? 1 : 0); }

bool IsDateStyle(TSortStyle s) { return s == ssDate || s == ssDateTime; }

// The separator of the date (time) test stands at position 2 or 3, not last, between two digits.
// -1: the position rule fails (the next test may run); 0: position right but no digits around it; 1: hit.
int SeparatorTest(const QString& S, QChar Sep) {
  const qsizetype i = S.indexOf(Sep);
  if (i < 1 || i > 2 || i == S.size() - 1) return -1;
  return S[i - 1].isDigit() && S[i + 1].isDigit() ? 1 : 0;
}

void CutFirst(QString& S, const QString& Part) {
  const qsizetype i = S.indexOf(Part);
  if (i >= 0) S.remove(i, Part.size());
}

}  // namespace

struct TCellComparer::TKey {
  QString Text;
  double Num = 0;
  double Date = 0;
  std::uint16_t Flags = 0;
  TDateTest Test = dtUnknown;
};

// The remembered reading of one column: the keys of the keyed rows and the format they were read for.
struct TCellComparer::TColumnKeys {
  std::vector<TKey> Keys;
  bool NumSet = false;
  TSortStyle NumStyle = ssNumeric;
  QString NumPrefix, NumSuffix;
  bool DateSet = false;
  TSortStyle DateStyle = ssDate;
  // FastKind's answer (-1: not asked yet) and the format it found.
  int Fast = -1;
  TSortStyle FastStyle = ssNumeric;
  QString FastPrefix, FastSuffix;
  // The texts of a text key list, held until Forget so that its views stay valid.
  std::vector<QString> HeldTexts;
};

namespace {
enum { fkNone = 0, fkNumber, fkText, fkTextNoCase };
}

TCellComparer::TCellComparer(TSortHost& Host, const TSortOptions& Options) : FHost(Host), FOptions(Options) {}

TCellComparer::~TCellComparer() = default;

void TCellComparer::KeyRows(int First, int Count) {
  Forget();
  FFirst = First;
  FCount = Count > 0 ? Count : 0;
}

void TCellComparer::Forget() {
  FColumns.clear();
  FCount = 0;
}

TCellComparer::TKey* TCellComparer::KeyOf(int ACol, int ARow) {
  if (ARow < FFirst || ARow >= FFirst + FCount || ACol < 0) return nullptr;
  if (static_cast<std::size_t>(ACol) >= FColumns.size()) FColumns.resize(static_cast<std::size_t>(ACol) + 1);
  std::vector<TKey>& keys = FColumns[static_cast<std::size_t>(ACol)].Keys;
  if (keys.empty()) keys.resize(static_cast<std::size_t>(FCount));
  return &keys[static_cast<std::size_t>(ARow - FFirst)];
}

const QString& TCellComparer::Text(int ACol, int ARow, QString& Scratch) {
  TKey* k = KeyOf(ACol, ARow);
  if (!k) return Scratch = FHost.SortText(ACol, ARow, FOptions.SortOnVirtualCells);
  if (!(k->Flags & kText)) {
    k->Text = FHost.SortText(ACol, ARow, FOptions.SortOnVirtualCells);
    k->Flags |= kText;
  }
  return k->Text;
}

bool TCellComparer::IsNumber(int ACol, int ARow) {
  TKey* k = KeyOf(ACol, ARow);
  QString s;
  if (!k) return FHost.NumberKind(Text(ACol, ARow, s)) != 2;
  if (!(k->Flags & kKindKnown)) {
    k->Flags |= kKindKnown;
    if (FHost.NumberKind(Text(ACol, ARow, s)) != 2) k->Flags |= kIsNumber;
  }
  return k->Flags & kIsNumber;
}

bool TCellComparer::HasChar(int ACol, int ARow, QChar Ch) {
  const bool date = Ch == plat::FormatSettings.DateSeparator;
  const std::uint16_t known = date ? kDSKnown : kTSKnown, has = date ? kHasDS : kHasTS;
  TKey* k = KeyOf(ACol, ARow);
  QString s;
  if (!k) return Text(ACol, ARow, s).contains(Ch);
  if (!(k->Flags & known)) {
    k->Flags |= known;
    if (Text(ACol, ARow, s).contains(Ch)) k->Flags |= has;
  }
  return k->Flags & has;
}

bool TCellComparer::CheckBox(int ACol, int ARow, bool& Checked) {
  TKey* k = KeyOf(ACol, ARow);
  if (!k) return FHost.CheckBoxState(ACol, ARow, Checked);
  if (!(k->Flags & kCheckKnown)) {
    bool state = false;
    k->Flags |= kCheckKnown;
    if (FHost.CheckBoxState(ACol, ARow, state)) k->Flags |= kIsCheck;
    if (state) k->Flags |= kChecked;
  }
  Checked = k->Flags & kChecked;
  return k->Flags & kIsCheck;
}

int TCellComparer::DateTestOf(const QString& S1) {
  const int date = SeparatorTest(S1, plat::FormatSettings.DateSeparator);
  if (date == 1) return S1.contains(plat::FormatSettings.TimeSeparator) ? dtDateTime : dtDate;
  if (date == 0) return dtNone;
  return SeparatorTest(S1, plat::FormatSettings.TimeSeparator) == 1 ? dtTime : dtNone;
}

int TCellComparer::DateTest(int ACol, int ARow1) {
  TKey* k = KeyOf(ACol, ARow1);
  QString s;
  if (!k) return DateTestOf(Text(ACol, ARow1, s));
  if (k->Test == dtUnknown) k->Test = static_cast<TDateTest>(DateTestOf(Text(ACol, ARow1, s)));
  return k->Test;
}

TSortStyle TCellComparer::DetectFormat(int ACol, int ARow1, int ARow2) {
  bool checked = false;
  if (CheckBox(ACol, ARow1, checked)) return ssCheckBox;
  if (IsNumber(ACol, ARow1)) return ssNumeric;
  switch (DateTest(ACol, ARow1)) {
    case dtDate:
    case dtDateTime:
      if (HasChar(ACol, ARow2, plat::FormatSettings.DateSeparator))
        return DateTest(ACol, ARow1) == dtDateTime ? ssDateTime : ssDate;
      break;
    case dtTime:
      if (HasChar(ACol, ARow2, plat::FormatSettings.TimeSeparator)) return ssTime;
      break;
    default: break;
  }
  return FOptions.IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
}

TCellComparer::TNumber TCellComparer::ReadNumber(int ACol, int ARow, const QString& Text, TSortStyle Style,
                                                 const QString& Prefix, const QString& Suffix) {
  TNumber n;
  if (Prefix.isEmpty() && Suffix.isEmpty() && ReadPlainDecimal(Text, Style == ssFinancial, n.Value)) {
    n.Ok = true;
    return n;
  }
  QString t = Text;
  if (!Suffix.isEmpty()) CutFirst(t, Suffix);
  if (!Prefix.isEmpty()) CutFirst(t, Prefix);
  if (Style == ssFinancial) t.remove(plat::FormatSettings.ThousandSeparator);
  const QChar dec = plat::FormatSettings.DecimalSeparator;
  if (dec != u'.') {
    const qsizetype i = t.indexOf(dec);
    if (i >= 0) t[i] = u'.';
  }
  n.Empty = t.isEmpty();
  n.Ok = TextToFloat(t, n.Value);
  if (n.Ok) return n;
  const bool shownEmpty = FOptions.SortOnVirtualCells ? Text.isEmpty() : FHost.DisplayedEmpty(ACol, ARow);
  if (shownEmpty) {
    n.Value = 0;
    n.Ok = true;
  } else {
    n.Value = LeadingDigitsValue(t);
  }
  return n;
}

TCellComparer::TNumber TCellComparer::Number(int ACol, int ARow, TSortStyle Style, const QString& Prefix,
                                             const QString& Suffix) {
  QString s;
  TKey* k = KeyOf(ACol, ARow);
  if (!k) return ReadNumber(ACol, ARow, Text(ACol, ARow, s), Style, Prefix, Suffix);
  TColumnKeys& col = FColumns[static_cast<std::size_t>(ACol)];
  const TSortStyle variant = Style == ssFinancial ? ssFinancial : ssNumeric;
  if (!col.NumSet) {
    col.NumSet = true;
    col.NumStyle = variant, col.NumPrefix = Prefix, col.NumSuffix = Suffix;
  } else if (col.NumStyle != variant || col.NumPrefix != Prefix || col.NumSuffix != Suffix) {
    // The format changed in the middle of the sort: this reading is not the remembered one.
    return ReadNumber(ACol, ARow, Text(ACol, ARow, s), Style, Prefix, Suffix);
  }
  if (!(k->Flags & kNumRead)) {
    const TNumber n = ReadNumber(ACol, ARow, Text(ACol, ARow, s), Style, Prefix, Suffix);
    k->Num = n.Value;
    k->Flags |= kNumRead | (n.Ok ? kNumOk : 0) | (n.Empty ? kNumEmpty : 0);
  }
  TNumber n;
  n.Value = k->Num, n.Ok = k->Flags & kNumOk, n.Empty = k->Flags & kNumEmpty;
  return n;
}

double TCellComparer::ReadDate(const QString& S, TSortStyle Style) {
  double v = 0;
  switch (Style) {
    case ssDate:
    case ssDateTime:
      if (!S.isEmpty() && !plat::TryStrToDateTime(S, v)) v = 0;
      return v;
    case ssTime: return plat::TryStrToTime(S, v) ? v : 0;
    case ssShortDateEU: return FHost.ShortDate(S, true);
    case ssShortDateUS: return FHost.ShortDate(S, false);
    default: return 0;
  }
}

double TCellComparer::DateValue(int ACol, int ARow, TSortStyle Style) {
  QString s;
  TKey* k = KeyOf(ACol, ARow);
  if (!k) return ReadDate(Text(ACol, ARow, s), Style);
  TColumnKeys& col = FColumns[static_cast<std::size_t>(ACol)];
  const TSortStyle variant = IsDateStyle(Style) ? ssDate : Style;
  if (!col.DateSet) {
    col.DateSet = true;
    col.DateStyle = variant;
  } else if (col.DateStyle != variant) {
    return ReadDate(Text(ACol, ARow, s), Style);
  }
  if (!(k->Flags & kDateRead)) {
    k->Date = ReadDate(Text(ACol, ARow, s), Style);
    k->Flags |= kDateRead;
  }
  return k->Date;
}

int TCellComparer::CompareNumbers(int ACol, int ARow1, int ARow2, TSortStyle Style, const QString& Prefix,
                                  const QString& Suffix, bool& Empty1, bool& Empty2) {
  const TNumber n1 = Number(ACol, ARow1, Style, Prefix, Suffix);
  const TNumber n2 = Number(ACol, ARow2, Style, Prefix, Suffix);
  Empty1 = n1.Empty, Empty2 = n2.Empty;
  if (!n1.Ok && !n2.Ok) return 0;
  return Sign(n1.Value - n2.Value);
}

int TCellComparer::CompareByFormat(int ACol, int ARow1, int ARow2, TSortStyle Style, const QString& Prefix,
                                   const QString& Suffix, bool& Empty1, bool& Empty2) {
  QString s1, s2;
  const QString& t1 = Text(ACol, ARow1, s1);
  const QString& t2 = Text(ACol, ARow2, s2);
  Empty1 = t1.isEmpty(), Empty2 = t2.isEmpty();
  switch (Style) {
    case ssNumeric:
    case ssFinancial: return CompareNumbers(ACol, ARow1, ARow2, Style, Prefix, Suffix, Empty1, Empty2);
    case ssAlphaNoCase: return CompareAsciiNoCase(t1, t2);
    case ssAnsiAlphaCase: return Sign(plat::AnsiCompareStr(t1, t2));
    case ssAnsiAlphaNoCase: return Sign(plat::AnsiCompareText(t1, t2));
    case ssDate:
    case ssDateTime:
    case ssTime:
    case ssShortDateEU:
    case ssShortDateUS: return Sign(DateValue(ACol, ARow1, Style) - DateValue(ACol, ARow2, Style));
    case ssCustom: {
      int res = 0;
      FHost.CustomCompare(t1, t2, res);
      return res;
    }
    case ssRaw: {
      int res = 0;
      FHost.RawCompare(ACol, ARow1, ARow2, res);
      return res;
    }
    case ssHTML: {
      const QString h1 = FHost.StrippedText(ACol, ARow1), h2 = FHost.StrippedText(ACol, ARow2);
      Empty1 = h1.isEmpty(), Empty2 = h2.isEmpty();
      return Sign(h1.compare(h2));
    }
    case ssImages: {
      const long long k1 = FHost.ImageKey(ACol, ARow1), k2 = FHost.ImageKey(ACol, ARow2);
      return k1 < k2 ? -1 : (k1 > k2 ? 1 : 0);
    }
    case ssCheckBox: {
      bool c1 = false, c2 = false;
      CheckBox(ACol, ARow1, c1);
      CheckBox(ACol, ARow2, c2);
      return c1 == c2 ? 0 : (c1 ? 1 : -1);
    }
    default: return Sign(t1.compare(t2));
  }
}

int TCellComparer::FastKind(int ACol) {
  if (FCount == 0 || ACol < 0 || !FHost.FormatFixed()) return fkNone;
  if (static_cast<std::size_t>(ACol) >= FColumns.size()) FColumns.resize(static_cast<std::size_t>(ACol) + 1);
  TColumnKeys& col = FColumns[static_cast<std::size_t>(ACol)];
  if (col.Fast >= 0) return col.Fast;
  col.Fast = fkNone;
  TSortStyle style = FOptions.AutoFormat ? ssAutomatic : (FOptions.IgnoreCase ? ssAlphaNoCase : ssAlphabetic);
  QString prefix, suffix;
  FHost.GetFormat(ACol, style, prefix, suffix);
  int kind = fkNone;
  switch (style) {
    case ssAutomatic: {
      // Every pair compares the same way when all cells are numbers, or when none is a number, a check box or
      // a date or time: then the detection is done once here.
      bool allNumbers = true, noNumber = true, checked = false;
      for (int r = FFirst; r < FFirst + FCount; ++r) {
        // A plain cell is read where it stands (it has no check box); the others through their keys.
        if (const QString* t = FHost.PlainSortText(ACol, r, FOptions.SortOnVirtualCells)) {
          if (FHost.NumberKind(*t) != 2) {
            noNumber = false;
          } else {
            allNumbers = false;
            if (DateTestOf(*t) != dtNone) return col.Fast = fkNone;
          }
          if (!allNumbers && !noNumber) return col.Fast = fkNone;
          continue;
        }
        if (CheckBox(ACol, r, checked)) return col.Fast = fkNone;
        if (IsNumber(ACol, r)) {
          noNumber = false;
        } else {
          allNumbers = false;
          if (DateTest(ACol, r) != dtNone) return col.Fast = fkNone;
        }
        if (!allNumbers && !noNumber) return col.Fast = fkNone;
      }
      kind = allNumbers ? fkNumber : (FOptions.IgnoreCase ? fkTextNoCase : fkText);
      style = ssNumeric;
      break;
    }
    case ssAlphabetic:
    case ssAlphaCase: kind = fkText; break;
    case ssAlphaNoCase: kind = fkTextNoCase; break;
    case ssNumeric:
    case ssFinancial: kind = fkNumber; break;
    default: return col.Fast = fkNone;
  }
  col.FastStyle = style, col.FastPrefix = prefix, col.FastSuffix = suffix;
  return col.Fast = kind;
}

bool TCellComparer::ColumnKeyList(int ACol, TColumnKeyList& Keys) {
  const int kind = FastKind(ACol);
  if (kind == fkNone) return false;
  TColumnKeys& col = FColumns[static_cast<std::size_t>(ACol)];
  const std::size_t n = static_cast<std::size_t>(FCount);
  const bool virt = FOptions.SortOnVirtualCells;
  if (kind == fkNumber) {
    Keys.Kind = TColumnKeyList::ckNumbers;
    Keys.Values.resize(n);
    Keys.Flags.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      const int r = FFirst + static_cast<int>(i);
      // A plain cell's number is read from its text where it stands, and not remembered: the list is.
      const QString* t = FHost.PlainSortText(ACol, r, virt);
      const TNumber v = t ? ReadNumber(ACol, r, *t, col.FastStyle, col.FastPrefix, col.FastSuffix)
                          : Number(ACol, r, col.FastStyle, col.FastPrefix, col.FastSuffix);
      Keys.Values[i] = v.Value;
      Keys.Flags[i] = static_cast<std::uint8_t>((v.Ok ? TColumnKeyList::kfOk : 0) | (v.Empty ? TColumnKeyList::kfEmpty : 0));
    }
    return true;
  }
  Keys.Kind = kind == fkText ? TColumnKeyList::ckTexts : TColumnKeyList::ckTextsNoCase;
  Keys.Texts.resize(n);
  QString scratch;
  // Plain cells lend their stored text, held here; keyed rows their remembered text. Both stay where they
  // are until Forget, whatever a comparison event does to the cells meanwhile.
  col.HeldTexts.clear();
  col.HeldTexts.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const int r = FFirst + static_cast<int>(i);
    if (const QString* t = FHost.PlainSortText(ACol, r, virt)) {
      col.HeldTexts.push_back(*t);
      Keys.Texts[i] = col.HeldTexts.back();
    } else {
      Keys.Texts[i] = Text(ACol, r, scratch);
    }
  }
  return true;
}

int TCellComparer::CompareFast(int Kind, int ACol, int ARow1, int ARow2, int SortDir) {
  bool empty1 = false, empty2 = false;
  int res = 0;
  if (Kind == fkNumber) {
    const TColumnKeys& col = FColumns[static_cast<std::size_t>(ACol)];
    res = CompareNumbers(ACol, ARow1, ARow2, col.FastStyle, col.FastPrefix, col.FastSuffix, empty1, empty2);
  } else {
    QString s1, s2;
    const QString& t1 = Text(ACol, ARow1, s1);
    const QString& t2 = Text(ACol, ARow2, s2);
    empty1 = t1.isEmpty(), empty2 = t2.isEmpty();
    res = Kind == fkText ? Sign(t1.compare(t2)) : CompareAsciiNoCase(t1, t2);
  }
  if (FOptions.IgnoreBlanks && SortDir != 0 && empty1 != empty2)
    res = (empty1 ? -1 : 1) * (FOptions.BlankPos == blFirst ? 1 : -1) * SortDir;
  return res;
}

int TCellComparer::CompareCells(int ACol, int ARow1, int ARow2, int SortDir) {
  if (ARow1 >= FFirst && ARow2 >= FFirst && ARow1 < FFirst + FCount && ARow2 < FFirst + FCount)
    if (const int kind = FastKind(ACol)) return CompareFast(kind, ACol, ARow1, ARow2, SortDir);
  TSortStyle style = FOptions.AutoFormat ? ssAutomatic : (FOptions.IgnoreCase ? ssAlphaNoCase : ssAlphabetic);
  QString prefix, suffix;
  FHost.GetFormat(ACol, style, prefix, suffix);
  if (style == ssAutomatic) style = DetectFormat(ACol, ARow1, ARow2);
  if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
    if (IsNumber(ACol, ARow1) && IsNumber(ACol, ARow2))
      style = ssNumeric;
    else
      style = style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
  }
  bool empty1 = false, empty2 = false;
  int res = CompareByFormat(ACol, ARow1, ARow2, style, prefix, suffix, empty1, empty2);
  if (FOptions.IgnoreBlanks && SortDir != 0 && empty1 != empty2) {
    // The empty cell lands first (last) in the final order whatever the direction.
    res = (empty1 ? -1 : 1) * (FOptions.BlankPos == blFirst ? 1 : -1) * SortDir;
  }
  return res;
}

double LeadingDigitsValue(const QString& S) {
  double v = 0;
  qsizetype i = 0;
  while (i < S.size() && S[i] == u' ') ++i;
  for (; i < S.size() && S[i] >= u'0' && S[i] <= u'9'; ++i) v = v * 10 + (S[i].unicode() - u'0');
  if (i < S.size() && S[i] == u'.') {
    double scale = 0.1;
    for (++i; i < S.size() && S[i] >= u'0' && S[i] <= u'9'; ++i, scale /= 10) v += (S[i].unicode() - u'0') * scale;
  }
  return v;
}

bool ReadPlainDecimal(QStringView S, bool DropThousands, double& Value) {
  const QChar dec = plat::FormatSettings.DecimalSeparator;
  const QChar thousand = plat::FormatSettings.ThousandSeparator;
  // With one character for both the general reading drops every separator before it looks for the point.
  if (DropThousands && thousand == dec) return false;
  // Longer texts are rare in a number column; the general reading takes them.
  constexpr qsizetype kMax = 40;
  char buf[kMax];
  qsizetype n = 0;
  bool pointTaken = dec == u'.';
  for (const QChar c : S) {
    if (DropThousands && c == thousand) continue;
    char a;
    if (!pointTaken && c == dec) {
      a = '.';
      pointTaken = true;
    } else if (c.unicode() < 0x80) {
      a = static_cast<char>(c.unicode());
    } else {
      return false;
    }
    if (n == kMax) return false;
    buf[n++] = a;
  }
  // The form: [-] digits [. digits] [(e|E) [+|-] digits].
  qsizetype i = 0;
  const auto digits = [&] {
    const qsizetype from = i;
    while (i < n && buf[i] >= '0' && buf[i] <= '9') ++i;
    return i > from;
  };
  if (i < n && buf[i] == '-') ++i;
  const qsizetype mantissa = i;
  if (!digits()) return false;
  if (i < n && buf[i] == '.') {
    ++i;
    if (!digits()) return false;
  }
  const qsizetype mantissaEnd = i;
  if (i < n && (buf[i] == 'e' || buf[i] == 'E')) {
    ++i;
    if (i < n && (buf[i] == '+' || buf[i] == '-')) ++i;
    if (!digits()) return false;
  }
  if (i != n) return false;
  double v = 0;
  const auto [end, ec] = std::from_chars(buf, buf + n, v, std::chars_format::general);
  if (ec != std::errc() || end != buf + n || !std::isfinite(v)) return false;
  if (v == 0) {
    // A zero read from a digit other than 0 is an underflow, which the general reading refuses.
    for (qsizetype k = mantissa; k < mantissaEnd; ++k)
      if (buf[k] >= '1' && buf[k] <= '9') return false;
  } else if (std::fabs(v) < DBL_MIN) {
    return false;
  }
  Value = v;
  return true;
}

bool TextToFloat(const QString& S, double& Value) {
  if (S.isEmpty()) return false;
  bool ok = false;
  const double v = S.toDouble(&ok);
  // Infinities and NaN would compare with nothing; they are not numbers here.
  if (!ok || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

int CompareAsciiNoCase(QStringView S1, QStringView S2) {
  const qsizetype n = std::min(S1.size(), S2.size());
  const char16_t* a = S1.utf16();
  const char16_t* b = S2.utf16();
  for (qsizetype i = 0; i < n; ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = char16_t(x - 32);
    if (y >= u'a' && y <= u'z') y = char16_t(y - 32);
    if (x != y) return x < y ? -1 : 1;
  }
  return S1.size() == S2.size() ? 0 : (S1.size() < S2.size() ? -1 : 1);
}

}  // namespace grid
