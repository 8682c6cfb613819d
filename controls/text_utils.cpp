#include "controls/text_utils.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/strutils.h"

using namespace plat;

namespace controls {

namespace {

constexpr QChar CR = u'\r';
constexpr QChar LF = u'\n';

TDateTime EncodeDateOrRaise(int y, int m, int d) { return EncodeDate(y, m, d); }

void DecodeDateParts(TDateTime date, int& y, int& m, int& d) {
  Word yy = 0, mm = 0, dd = 0;
  DecodeDate(date, yy, mm, dd);
  y = yy;
  m = mm;
  d = dd;
}

bool IsURLCharacter(QChar c) {
  const char16_t u = c.unicode();
  if (u > 255) return false;
  if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')) return true;
  switch (u) {
    case u'%': case u'(': case u')': case u'-': case u'.': case u'/': case u':': case u'@': case u'\\':
    case u'_': case u'{': case u'}':
      return true;
    default:
      return false;
  }
}

TDateTime ParseShortDate(const QString& Text, bool MonthFirst) {
  QString s = Text;
  QChar sep;
  for (QChar c : {QChar(u'/'), QChar(u'.'), QChar(u'-')}) {
    if (s.contains(c)) {
      sep = c;
      break;
    }
  }
  if (sep.isNull()) return 0;
  int p = Pos(sep, s);
  int first = 0, second = 0, year = 0;
  if (!TryStrToInt(Copy(s, 1, p - 1), first)) return 0;
  Delete(s, 1, p);
  p = Pos(sep, s);
  if (p == 0) return 0;
  if (!TryStrToInt(Copy(s, 1, p - 1), second)) return 0;
  Delete(s, 1, p);
  if (!TryStrToInt(s, year)) return 0;
  year &= 0xFFFF;
  // A written century is kept; only two-digit years get one.
  if (year < 100) year += year <= 25 ? 2000 : 1900;
  return MonthFirst ? EncodeDateOrRaise(year, first, second) : EncodeDateOrRaise(year, second, first);
}

QString ReplaceAll(QString s, const QString& from, const QString& to) { return s.replace(from, to); }

}  // namespace

// ---- locale and character tests ----------------------------------------------------------------------------

QChar LocaleTimeSeparator() { return FormatSettings.TimeSeparator; }
QChar LocaleDateSeparator() { return FormatSettings.DateSeparator; }
QChar LocaleThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar LocaleDecimalSeparator() { return FormatSettings.DecimalSeparator; }
void LocaleShortDateFormat(QString& S) { S = FormatSettings.ShortDateFormat; }

bool IsDigitChar(QChar Ch) { return Ch.isDigit(); }
bool IsDigitOrMinus(QChar Ch) { return IsDigitChar(Ch) || Ch == u'-'; }
bool IsNumberChar(QChar Ch) {
  return IsDigitChar(Ch) || Ch == LocaleThousandSeparator() || Ch == LocaleDecimalSeparator() || Ch == u'e' ||
         Ch == u'E';
}
bool IsSignedNumberChar(QChar Ch) { return IsNumberChar(Ch) || Ch == u'+' || Ch == u'-'; }
bool IsPlainNumberChar(QChar Ch) {
  return IsDigitChar(Ch) || Ch == u'-' || Ch == u'.' || Ch == u'e' || Ch == u'E' || Ch == u'+';
}
bool IsWordBreakChar(QChar Ch) {
  return Ch == u' ' || Ch == u'\'' || Ch == u',' || Ch == u'-' || Ch == u'.';
}

// ---- search and integers ------------------------------------------------------------------------------------

int PosInUpper(const QString& Sub, const QString& S) { return Pos(Sub, UpperCase(S)); }

int PosStore(const QString& Sub, const QString& S, int& Index) {
  Index = Pos(Sub, S);
  return Index;
}

int CharIndex(QChar Ch, const QString& S) { return int(S.indexOf(Ch)) + 1; }

int CharIndexStore(QChar Ch, const QString& S, int& Index) {
  const int p = CharIndex(Ch, S);
  if (p > 0) Index = p;
  return p;
}

int WidePosOf(const QString& Sub, const QString& S) { return Pos(Sub, S); }

int CountChar(QChar Ch, const QString& S) { return int(S.count(Ch)); }

QChar FirstSetCharOutsideQuotes(std::initializer_list<QChar> CharSet, const QString& S, int& Index) {
  int quotes = 0;
  for (int i = 0; i < S.size(); ++i) {
    const QChar c = S[i];
    if (c == u'"') ++quotes;
    if (quotes % 2 == 0) {
      for (QChar m : CharSet) {
        if (m == c) {
          Index = i + 1;
          return c;
        }
      }
    }
  }
  Index = -1;
  return QChar(0);
}

int FindClosingQuote(QChar Quote, const QString& S, int& Pos) {
  int run = 0;
  const int n = int(S.size());
  for (int i = 1; i <= n; ++i) {
    if (S[i - 1] == Quote) {
      if (i == n) {
        Pos = i;
        return Pos;
      }
      ++run;
    } else {
      if (run % 2 == 1) {
        Pos = i - 1;
        return Pos;
      }
      run = 0;
    }
  }
  Pos = 0;
  return 0;
}

int CountClosingQuotes(QChar Quote, const QString& S) {
  QString rest = S;
  int count = 0;
  int p = 0;
  while (FindClosingQuote(Quote, rest, p) > 0) {
    ++count;
    Delete(rest, 1, p);
  }
  return count;
}

void SplitToken(QString& S, const QString& Delim, QString& Token) {
  const int p = Pos(Delim, S);
  if (p > 0) {
    Token = Copy(S, 1, p - 1);
    Delete(S, 1, p);
  } else {
    Token.clear();
  }
}

bool HasTwoDateSeparators(const QString& S) {
  const QString sep(LocaleDateSeparator());
  const int p = Pos(sep, S);
  return p >= 2 && PosEx(sep, S, p + 2) > 0;
}

bool IsURLText(const QString& S) {
  return S.contains(QStringLiteral("://")) || S.contains(QStringLiteral("mailto:"));
}

void RemoveURLScheme(QString& S) {
  int p = Pos(QStringLiteral("://"), S);
  if (p > 0) {
    Delete(S, 1, p + 2);
    return;
  }
  p = Pos(QStringLiteral("mailto:"), S);
  if (p > 0) Delete(S, 1, p + 6);
}

bool ParseRCReference(const QString& S, TPoint& Cell) {
  const QString u = UpperCase(S);
  if (u.size() < 4 || u[0] != u'R') return false;
  const int c = Pos(QStringLiteral("C"), u);
  if (c == 0) return false;
  int row = 0, col = 0;
  if (!TryStrToInt(Copy(u, 2, c - 2), row)) return false;
  if (!TryStrToInt(Copy(u, c + 1, int(u.size())), col)) return false;
  Cell.X = col;
  Cell.Y = row;
  return true;
}

int CellTextType(const QString& S, bool CheckHTML) {
  if (S.isEmpty()) return 0;
  const QString s = S + u' ';
  if (CheckHTML && (s.contains(QStringLiteral("</")) || s.contains(QStringLiteral("<B")) ||
                    s.contains(QStringLiteral("<I")) || s.contains(QStringLiteral("<C"))))
    return 1;
  if (s[0] == u'{' && s[1] == u'\\') return 2;
  if (s[0] == u'=') return 3;
  if (s[0] == u'|' && s[1] == u'\\') {
    if (s.size() > 4 && s[3] == u'=' && s[4].unicode() == 0) return 3;
    return 5;
  }
  return 0;
}

int IntMax(int A, int B) { return A > B ? A : B; }
int IntMin(int A, int B) { return A < B ? A : B; }

int LimitValue(int Value, int Min, int Max) {
  if (Min == Max) return Value;
  if (Min > 0 && Value < Min) Value = Min;
  if (Max > 0 && Value > Max) Value = Max;
  return Value;
}

bool CellInGridRect(const TRect& Rect, int Col, int Row) {
  return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

// ---- text transforms ----------------------------------------------------------------------------------------

QString DoubleQuotes(const QString& S) { return ReplaceAll(S, QStringLiteral("\""), QStringLiteral("\"\"")); }

QString UndoubleChar(QChar Ch, const QString& S) {
  if (!S.contains(Ch)) return S;
  QString r;
  r.reserve(S.size());
  for (int i = 0; i < S.size(); ++i) {
    r += S[i];
    if (S[i] == Ch && i + 1 < S.size() && S[i + 1] == Ch) ++i;
  }
  return r;
}

void QuoteMultiLineField(QString& S) {
  S.replace(QStringLiteral("\r\n"), QString(QChar(11)));
  S = u'"' + S + u'"';
}

void CRLFToLF(QString& S) { S.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

void LTToCRLF(QString& S) {
  if (S.contains(QChar(11))) S.replace(QChar(11), QStringLiteral("\r\n"));
}

void CRToTilde(QString& S) {
  S.remove(LF);
  S.replace(CR, u'~');
}

void TildeToCRLF(QString& S) {
  if (S == QStringLiteral("^")) {
    S.clear();
    return;
  }
  S.replace(u'~', QStringLiteral("\r\n"));
}

QString CRToBackslashN(const QString& S) {
  QString r = S;
  r.remove(LF);
  return r.replace(CR, QStringLiteral("\\n"));
}

QString BackslashNToCR(const QString& S) { return ReplaceAll(S, QStringLiteral("\\n"), QString(CR)); }

QString CRToBR(const QString& S) {
  if (!S.contains(CR)) return S;
  return ReplaceAll(S, QString(CR), QStringLiteral("<br>"));
}

QString RemoveCR(const QString& S) {
  QString r = S;
  return r.remove(CR);
}

QString CRToLF(const QString& S) {
  QString r = S;
  return r.replace(CR, LF);
}

void FillWithChar(QString& S, QChar Ch) { S.fill(Ch); }

void StrToOem(QString& S) {
  QStringEncoder toOem("IBM850");
  QStringDecoder fromAnsi("windows-1252");
  if (!toOem.isValid() || !fromAnsi.isValid()) return;
  const QByteArray oem = toOem.encode(S);
  S = fromAnsi.decode(oem);
}

void OemToStr(QString& S) {
  QStringEncoder toAnsi("windows-1252");
  QStringDecoder fromOem("IBM850");
  if (!toAnsi.isValid() || !fromOem.isValid()) return;
  const QByteArray ansi = toAnsi.encode(S);
  S = fromOem.decode(ansi);
}

QString JoinAllStrings(const TStrings& Strings) {
  QString r;
  for (int i = 0; i < Strings.Count(); ++i) r += Strings[i];
  return r;
}

QString EncodeLineBreaks(const QString& S) {
  if (!S.contains(CR)) return S;
  QString r = S;
  for (QChar& c : r) {
    if (c == CR) c = QChar(9);
    else if (c == LF) c = QChar(8);
    else if (c.unicode() == 0) c = QChar(1);
  }
  return r;
}

QString DecodeLineBreaks(const QString& S, bool AllLines) {
  QString r = S;
  if (r.contains(QChar(8))) {
    for (QChar& c : r) {
      if (c.unicode() == 9) c = CR;
      else if (c.unicode() == 8) c = LF;
      else if (c.unicode() == 1) c = QChar(0);
    }
  }
  if (!AllLines) {
    QString line;
    ExtractFirstLine(r, false, line);
    return line;
  }
  return r;
}

void ExtractFirstLine(QString& S, bool KeepRest, QString& Line) {
  const int p = int(S.indexOf(CR));
  if (p < 0) {
    Line = S;
    S.clear();
    return;
  }
  Line = S.left(p);
  int cut = p + 1;
  if (cut < S.size() && S[cut] == LF) ++cut;
  if (KeepRest)
    S = S.mid(cut);
  else
    S.clear();
}

int TextLineCount(const QString& S, bool MultiLine) {
  if (!MultiLine) return 1;
  return 1 + int(S.count(CR));
}

QString MixedCase(const QString& S) {
  QString r = S;
  const int n = int(r.size());
  bool capitalize = true;
  for (int i = 1; i <= n; ++i) {
    QChar& c = r[i - 1];
    if (IsWordBreakChar(c)) {
      capitalize = true;
    } else {
      if (capitalize) {
        c = c.toUpper();
        capitalize = false;
      } else {
        c = c.toLower();
      }
    }
    if (Copy(r, 1, i) == QStringLiteral("Mc")) capitalize = true;
    if (i > 2 && Pos(QStringLiteral(" Mc"), r) == i - 2) capitalize = true;
    if (i >= n - 2 && ((i >= 2 && Copy(r, i - 1, 2) == QStringLiteral(" I")) ||
                       (i >= 3 && Copy(r, i - 2, 3) == QStringLiteral(" II"))))
      capitalize = true;
  }
  return r;
}

QString EncodeWideText(const QString& S) {
  QString r = QStringLiteral("|\\");
  r.reserve(2 + 2 * S.size());
  for (QChar c : S) {
    r += QChar(c.unicode() >> 8);
    r += QChar(c.unicode() & 0xFF);
  }
  return r;
}

QString DecodeWideText(const QString& S) {
  if (!S.startsWith(QStringLiteral("|\\"))) return S;
  QString r;
  const int n = int(S.size());
  r.reserve((n - 2) / 2);
  for (int i = 2; i + 1 < n; i += 2)
    r += QChar(char16_t(((S[i].unicode() & 0xFF) << 8) | (S[i + 1].unicode() & 0xFF)));
  return r;
}

// ---- numbers and dates --------------------------------------------------------------------------------------

int NumericTextKind(const QString& S) {
  if (S.isEmpty()) return 2;
  const QChar thousand = LocaleThousandSeparator();
  const QChar decimal = LocaleDecimalSeparator();
  bool allDigits = true, isDecimal = true, scientific = true, seenE = false;
  int minus = 0, decimalSeps = 0, lastThousand = -1;
  const int n = int(S.size());
  for (int i = 1; i <= n; ++i) {
    const QChar c = S[i - 1];
    const bool isE = c == u'e' || c == u'E';
    if (isE) {
      if (seenE) scientific = false;
      seenE = true;
      if (i == 1) scientific = false;
    }
    if (!IsDigitOrMinus(c)) allDigits = false;
    if (i > 1 && c == u'-') {
      allDigits = false;
      isDecimal = false;
    }
    if (i == n && (c == u'+' || c == u'-' || isE)) scientific = false;
    if (!IsDigitChar(c) && c != u'-' && c != thousand && c != decimal) isDecimal = false;
    if (IsSignedNumberChar(c)) {
      if (c == thousand) scientific = false;
    } else {
      scientific = false;
    }
    if (c == thousand) {
      if (lastThousand >= 0 && i - lastThousand <= 3) isDecimal = false;
      lastThousand = i;
    }
    if (c == decimal) ++decimalSeps;
    if (c == u'-') ++minus;
  }
  int result;
  if (allDigits) {
    result = 0;
  } else {
    result = isDecimal && !seenE ? 1 : 2;
    if (scientific && seenE) {
      result = 5;
      if (minus == 2) minus = 1;
    }
  }
  if (minus > 1 || decimalSeps > 1) result = 2;
  return result;
}

QString NumericTextToDotDecimal(const QString& S) {
  if (S.isEmpty()) return QString();
  QString s = Trim(S);
  bool negative = s.size() >= 1 && s.front() == u'(' && s.back() == u')';
  while (s.size() >= 2 && !IsNumberChar(s[0])) {
    if (s[0] == u'-') negative = true;
    s.remove(0, 1);
  }
  const QChar thousand = LocaleThousandSeparator();
  const QChar decimal = LocaleDecimalSeparator();
  QString r;
  for (QChar c : s) {
    if (c == thousand) continue;
    if (c == decimal) r += u'.';
    else if (IsPlainNumberChar(c)) r += c;
    else break;
  }
  if (negative) r.prepend(u'-');
  return r;
}

TDateTime ParseDateMDY(const QString& S) { return ParseShortDate(S, true); }
TDateTime ParseDateDMY(const QString& S) { return ParseShortDate(S, false); }

TDateTime StepDate(int16_t Years, int16_t Months, int16_t Days, double Delta, TDateTime Date) {
  int y = 0, m = 0, d = 0;
  DecodeDateParts(Date, y, m, d);
  if (Days != 0 && Years == 0 && Months == 0) return Date + Days;
  if (Years != 0 && Months == 0 && Days == 0) return EncodeDateOrRaise(y + Years, m, d);
  if (Months != 0 && Years == 0 && Days == 0) {
    m += Months;
    if (m == 0) {
      m = 12;
      --y;
    } else if (m > 12) {
      m -= 12;
      ++y;
    }
    return EncodeDateOrRaise(y, m, d);
  }
  return Date + Delta;
}

// ---- output builders ----------------------------------------------------------------------------------------

void BuildClipboardHTML(QString& S) {
  const QString doctype = QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
  const QString head = QStringLiteral(
      "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head><body>"
      "<!--StartFragment-->");
  const QString tail = QStringLiteral("<!--EndFragment--></body></html>");
  auto number = [](const char* name, qsizetype v) {
    return QString::fromLatin1(name) + QStringLiteral("%1").arg(qlonglong(v), 8, 10, QChar(u'0')) +
           QStringLiteral("\r\n");
  };
  // The header has a fixed length (eight-digit numbers), so the offsets follow from the parts' byte lengths.
  const qsizetype headerLen = QStringLiteral("Version:1.0\r\n").size() +
                              4 * (8 + 2) + QStringLiteral("StartHTML:EndHTML:StartFragment:EndFragment:").size();
  const qsizetype fragment = S.toUtf8().size();
  const qsizetype startFragment = headerLen + doctype.toUtf8().size() + head.toUtf8().size();
  const qsizetype endFragment = startFragment + fragment;
  const qsizetype endHTML = endFragment + tail.toUtf8().size();
  S = QStringLiteral("Version:1.0\r\n") + number("StartHTML:", headerLen) + number("EndHTML:", endHTML) +
      number("StartFragment:", startFragment) + number("EndFragment:", endFragment) + doctype + head + S + tail;
}

bool MakeURLAnchor(const QString& S, const QString& Prefix, QString& Html) {
  if (Pos(Prefix, UpperCase(S)) == 0) return false;
  QString h = S;
  h.replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
  const int p = Pos(Prefix, UpperCase(h));
  if (p == 0) return false;
  int e = p;
  while (e <= h.size() && IsURLCharacter(h[e - 1])) ++e;
  const QString url = Copy(h, p, e - p);
  Insert(QStringLiteral("</a>"), h, e);
  Insert(QStringLiteral("<a href=\"") + url + QStringLiteral("\">"), h, p);
  Html = h;
  return true;
}

}  // namespace controls
