#include "grid/data/office/sheet_values.h"

#include <cstdio>

namespace grid::office {

namespace {

bool IsDigit(QChar C) { return C >= u'0' && C <= u'9'; }

bool IsHex(QChar C) { return IsDigit(C) || (C >= u'a' && C <= u'f') || (C >= u'A' && C <= u'F'); }

// "_x" four hex digits "_" at I: what the format reads as one escaped character.
bool IsEscapeAt(QStringView T, qsizetype I) {
  if (I + 7 > T.size()) return false;
  return T[I] == u'_' && T[I + 1] == u'x' && IsHex(T[I + 2]) && IsHex(T[I + 3]) && IsHex(T[I + 4]) &&
         IsHex(T[I + 5]) && T[I + 6] == u'_';
}

// Characters XML 1.0 cannot hold, and the carriage return, which a reader would turn into a line feed.
bool NeedsEscape(char16_t C) {
  return (C < 0x20 && C != u'\t' && C != u'\n') || C == 0xFFFE || C == 0xFFFF;
}

void AppendHexEscape(QByteArray& Out, char16_t C) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "_x%04X_", static_cast<unsigned>(C));
  Out.append(buf, 7);
}

}  // namespace

QString ColumnLetters(int Col) {
  QByteArray b;
  AppendColumnLetters(b, Col);
  return QString::fromLatin1(b);
}

void AppendColumnLetters(QByteArray& Out, int Col) {
  char buf[8];
  int n = 0;
  while (Col > 0 && n < 8) {
    const int d = (Col - 1) % 26;
    buf[n++] = static_cast<char>('A' + d);
    Col = (Col - 1) / 26;
  }
  while (n > 0) Out.append(buf[--n]);
}

int ColumnOfLetters(QStringView Letters) {
  if (Letters.isEmpty() || Letters.size() > 3) return 0;
  int col = 0;
  for (QChar c : Letters) {
    const char16_t u = c.toUpper().unicode();
    if (u < u'A' || u > u'Z') return 0;
    col = col * 26 + (u - u'A' + 1);
  }
  return col <= MaxSheetColumns ? col : 0;
}

bool ParseCellRef(QStringView Ref, int& Col, int& Row) {
  qsizetype i = 0;
  if (i < Ref.size() && Ref[i] == u'$') ++i;
  const qsizetype letters = i;
  while (i < Ref.size() && Ref[i].isLetter()) ++i;
  Col = ColumnOfLetters(Ref.mid(letters, i - letters));
  if (i < Ref.size() && Ref[i] == u'$') ++i;
  const QStringView digits = Ref.mid(i);
  if (digits.isEmpty() || digits.size() > 7 || digits[0] == u'0') return false;
  Row = 0;
  for (QChar c : digits) {
    if (!IsDigit(c)) return false;
    Row = Row * 10 + (c.unicode() - u'0');
  }
  return Col > 0 && Row <= MaxSheetRows;
}

QString CellRef(int Col, int Row) { return ColumnLetters(Col) + QString::number(Row); }

bool IsCanonicalNumber(QStringView Text, QChar Decimal, QByteArray* Value) {
  qsizetype i = 0;
  const qsizetype n = Text.size();
  if (n == 0 || n > 32) return false;
  if (Text[0] == u'-') ++i;
  const qsizetype intStart = i;
  while (i < n && IsDigit(Text[i])) ++i;
  const qsizetype intDigits = i - intStart;
  if (intDigits == 0 || intDigits > 15 || (intDigits > 1 && Text[intStart] == u'0')) return false;
  int significant = Text[intStart] == u'0' ? 0 : static_cast<int>(intDigits);
  qsizetype fracStart = n;
  if (i < n) {
    if (Text[i] != Decimal) return false;
    fracStart = ++i;
    while (i < n && IsDigit(Text[i])) ++i;
    if (i < n || i == fracStart || Text[n - 1] == u'0') return false;
    qsizetype zeros = 0;
    if (significant == 0)
      while (Text[fracStart + zeros] == u'0') ++zeros;
    // Below 1E-4 a read value shows as an exponent, which would not give the text back.
    if (significant == 0 && zeros > 3) return false;
    significant += static_cast<int>(n - fracStart - zeros);
  }
  if (significant > 15) return false;
  if (significant == 0 && Text[0] == u'-') return false;  // "-0" reads back as "0"
  if (Value) {
    Value->resize(n);
    char* out = Value->data();
    for (qsizetype k = 0; k < n; ++k) out[k] = fracStart < n && k == fracStart - 1 ? '.' : static_cast<char>(Text[k].unicode());
  }
  return true;
}

QString NumberText(double Value, QChar Decimal) {
  if (Value == 0) return QStringLiteral("0");
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", Value);
  QString s;
  for (const char* p = buf; *p; ++p) {
    if (*p == '.') {
      s += Decimal;
    } else if (*p == 'e') {
      s += u'E';
      ++p;
      if (*p == '-') s += u'-';
      ++p;
      while (*p == '0' && p[1]) ++p;
      s += QLatin1String(p);
      break;
    } else {
      s += QLatin1Char(*p);
    }
  }
  return s;
}

QString FormatEscapes(QStringView Text) {
  QString out;
  out.reserve(Text.size());
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const char16_t u = Text[i].unicode();
    const bool pair = QChar::isHighSurrogate(u) && i + 1 < Text.size() && QChar::isLowSurrogate(Text[i + 1].unicode());
    if (pair) {
      out += Text.mid(i++, 2);
    } else if (u == u'_' && IsEscapeAt(Text, i)) {
      out += QLatin1String("_x005F_");
    } else if (NeedsEscape(u) || QChar::isSurrogate(u)) {
      out += QString::asprintf("_x%04X_", static_cast<unsigned>(u));
    } else {
      out += QChar(u);
    }
  }
  return out;
}

void AppendXmlText(QByteArray& Out, QStringView Text) {
  bool plain = true;
  for (QChar c : Text) {
    const char16_t u = c.unicode();
    if (u == u'&' || u == u'<' || u == u'>' || u == u'"' || u == u'_' || NeedsEscape(u) || c.isSurrogate()) {
      plain = false;
      break;
    }
  }
  if (plain) {
    Out.append(Text.toUtf8());
    return;
  }
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const char16_t u = Text[i].unicode();
    switch (u) {
      case u'&': Out.append("&amp;"); continue;
      case u'<': Out.append("&lt;"); continue;
      case u'>': Out.append("&gt;"); continue;
      case u'"': Out.append("&quot;"); continue;
      default: break;
    }
    if (u == u'_' && IsEscapeAt(Text, i)) {
      Out.append("_x005F_");
    } else if (NeedsEscape(u)) {
      AppendHexEscape(Out, u);
    } else if (QChar::isHighSurrogate(u) && i + 1 < Text.size() && QChar::isLowSurrogate(Text[i + 1].unicode())) {
      Out.append(Text.mid(i, 2).toUtf8());
      ++i;
    } else if (QChar::isSurrogate(u)) {
      AppendHexEscape(Out, u);
    } else {
      Out.append(Text.mid(i, 1).toUtf8());
    }
  }
}

QString DecodeEscapes(const QString& Text) {
  if (!Text.contains(QLatin1String("_x"))) return Text;
  QString out;
  out.reserve(Text.size());
  for (qsizetype i = 0; i < Text.size(); ++i) {
    if (IsEscapeAt(Text, i)) {
      out += QChar(static_cast<char16_t>(Text.mid(i + 2, 4).toUInt(nullptr, 16)));
      i += 6;
    } else {
      out += Text[i];
    }
  }
  return out;
}

bool NeedsPreserve(QStringView Text) {
  if (Text.isEmpty()) return false;
  if (Text.front().isSpace() || Text.back().isSpace()) return true;
  for (QChar c : Text)
    if (c == u'\n' || c == u'\t') return true;
  return false;
}

}  // namespace grid::office
