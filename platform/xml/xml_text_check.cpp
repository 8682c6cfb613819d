#include "platform/xml/xml_text_check.h"

#include <cstdint>
#include <algorithm>
#include <cstring>

namespace plat::xmltext {

namespace {

// Offset of the first byte that does not start a well-formed UTF-8 sequence (overlong forms, surrogates and
// values above U+10FFFF included), or -1.
qsizetype FirstInvalidUtf8(const QByteArray& text) {
  const auto* p = reinterpret_cast<const uint8_t*>(text.constData());
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    // Runs of ASCII, the bulk of every file, eight bytes at a time.
    uint64_t word = 0;
    while (i + 8 <= n && (std::memcpy(&word, p + i, 8), (word & 0x8080808080808080ull) == 0)) i += 8;
    if (i >= n) break;
    const uint8_t b = p[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    int more = 0;
    uint8_t low = 0x80, high = 0xBF;  // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) more = 1;
    else if (b == 0xE0) more = 2, low = 0xA0;
    else if (b == 0xED) more = 2, high = 0x9F;  // no surrogates
    else if (b >= 0xE1 && b <= 0xEF) more = 2;
    else if (b == 0xF0) more = 3, low = 0x90;
    else if (b == 0xF4) more = 3, high = 0x8F;  // nothing above U+10FFFF
    else if (b >= 0xF1 && b <= 0xF3) more = 3;
    else return i;
    if (i + more >= n) return i;
    if (p[i + 1] < low || p[i + 1] > high) return i;
    for (int k = 2; k <= more; ++k)
      if ((p[i + k] & 0xC0) != 0x80) return i;
    i += more + 1;
  }
  return -1;
}

// A character a reference may name: any character but U+0000, the surrogates and U+FFFE/U+FFFF. The control
// characters U+0001..U+001F are allowed as references (not as raw bytes), as in XML 1.1, because the writer
// saves a text holding one that way and the file must load again.
bool IsReferable(uint32_t c) {
  return c != 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFE && c != 0xFFFF;
}

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || (static_cast<uint8_t>(c) >= 0x80);
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-'; }

// Checks the reference that starts with the '&' at `at`; an empty text when it is sound.
QString CheckReference(const QByteArray& t, qsizetype at) {
  const qsizetype n = t.size();
  qsizetype k = at + 1;
  if (k < n && t[k] == '#') {
    ++k;
    const bool hex = k < n && t[k] == 'x';
    if (hex) ++k;
    const qsizetype digits = k;
    uint32_t value = 0;
    for (; k < n; ++k) {
      const char c = t[k];
      int d = -1;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      if (d < 0) break;
      value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + uint32_t(d);
    }
    if (k == digits || k >= n || t[k] != ';') return QStringLiteral("Malformed character reference");
    if (IsReferable(value)) return QString();
    return QStringLiteral("Character reference \"%1\" names a character XML does not allow")
        .arg(QString::fromLatin1(t.mid(at, k + 1 - at)));
  }
  if (k >= n || !IsNameStart(t[k])) return QStringLiteral("'&' that starts no reference (write it as \"&amp;\")");
  while (k < n && IsNameChar(t[k])) ++k;
  if (k >= n || t[k] != ';') return QStringLiteral("'&' that starts no reference (write it as \"&amp;\")");
  const QByteArrayView name = QByteArrayView(t).sliced(at + 1, k - at - 1);
  if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos") return QString();
  return QStringLiteral("Undeclared entity \"&%1;\"").arg(QString::fromUtf8(name));
}

// End (one past) of the markup that starts with `open` at `at`, when it is closed by `close`; -1 when it is
// never closed, which the parser reports.
qsizetype Skip(const QByteArray& t, qsizetype at, const char* open, const char* close) {
  const qsizetype end = t.indexOf(close, at + qsizetype(std::strlen(open)));
  return end < 0 ? -1 : end + qsizetype(std::strlen(close));
}

// End of a document type declaration: its internal subset in brackets and quoted literals may hold '>'.
qsizetype SkipDoctype(const QByteArray& t, qsizetype at) {
  char quote = 0;
  int depth = 0;
  for (qsizetype k = at + 2; k < t.size(); ++k) {
    const char c = t[k];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      ++depth;
    } else if (c == ']') {
      --depth;
    } else if (c == '>' && depth <= 0) {
      return k + 1;
    }
  }
  return -1;
}

}  // namespace

QString Position(const QByteArray& Text, qsizetype Offset) {
  Offset = std::clamp<qsizetype>(Offset, 0, Text.size());
  const QByteArray before = Text.left(Offset);
  const qsizetype line = before.count('\n') + 1;
  const qsizetype lineStart = before.lastIndexOf('\n') + 1;
  const qsizetype column = QString::fromUtf8(before.mid(lineStart)).size() + 1;
  return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

TTextEncoding EncodingOf(const QByteArray& Data) {
  if (Data.startsWith("\xEF\xBB\xBF")) return TTextEncoding::Utf8;
  if (Data.startsWith("\xFE\xFF") || Data.startsWith("\xFF\xFE")) return TTextEncoding::Unchecked;
  for (qsizetype i = 0; i < 4 && i < Data.size(); ++i)
    if (Data[i] == 0) return TTextEncoding::Unchecked;
  if (!Data.startsWith("<?xml")) return TTextEncoding::Utf8;
  const qsizetype end = Data.indexOf("?>");
  const QByteArray decl = Data.left(end < 0 ? 0 : end);
  const qsizetype at = decl.indexOf("encoding");
  if (at < 0) return TTextEncoding::Utf8;
  qsizetype k = at + 8;
  while (k < decl.size() && (decl[k] == ' ' || decl[k] == '=' || decl[k] == '\t' || decl[k] == '\r' || decl[k] == '\n')) ++k;
  if (k >= decl.size() || (decl[k] != '"' && decl[k] != '\'')) return TTextEncoding::Utf8;
  const qsizetype close = decl.indexOf(decl[k], k + 1);
  const QByteArray name = decl.mid(k + 1, close < 0 ? -1 : close - k - 1).toLower();
  // The parser switches to a single-byte encoding only for these two names.
  return name == "iso-8859-1" || name == "latin1" ? TTextEncoding::Latin1 : TTextEncoding::Utf8;
}

TTextFault CheckText(const QByteArray& Text, TTextEncoding Encoding) {
  if (Encoding == TTextEncoding::Unchecked) return {};
  if (Encoding == TTextEncoding::Utf8) {
    const qsizetype bad = FirstInvalidUtf8(Text);
    if (bad >= 0) return {QStringLiteral("Bytes that are not UTF-8 in a UTF-8 text"), bad};
  }
  // Every '&' outside comments, CDATA sections, processing instructions and the document type declaration
  // starts a reference, in text and attribute values alike; markup is found from its '<'. Both characters are
  // looked for with memchr: a network file is megabytes of attributes with a reference here and there.
  const char* const t = Text.constData();
  const qsizetype n = Text.size();
  auto next = [t, n](char c, qsizetype from) {
    const void* hit = from < n ? std::memchr(t + from, c, size_t(n - from)) : nullptr;
    return hit ? static_cast<const char*>(hit) - t : n;
  };
  qsizetype lt = next('<', 0), amp = next('&', 0);
  while (amp < n || lt < n) {
    if (amp < lt) {
      const QString problem = CheckReference(Text, amp);
      if (!problem.isEmpty()) return {problem, amp};
      amp = next('&', amp + 1);
      continue;
    }
    const QByteArrayView rest(t + lt, n - lt);
    qsizetype end = lt + 1;
    if (rest.startsWith("<!--")) end = Skip(Text, lt, "<!--", "-->");
    else if (rest.startsWith("<![CDATA[")) end = Skip(Text, lt, "<![CDATA[", "]]>");
    else if (rest.startsWith("<?")) end = Skip(Text, lt, "<?", "?>");
    else if (rest.startsWith("<!")) end = SkipDoctype(Text, lt);
    if (end < 0) break;  // never closed: the parser says so
    lt = next('<', end);
    if (amp < end) amp = next('&', end);
  }
  return {};
}

}  // namespace plat::xmltext
