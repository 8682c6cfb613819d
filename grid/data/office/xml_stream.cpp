#include "grid/data/office/xml_stream.h"

#include <QStringConverter>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "grid/data/office/zip_package.h"
#include "platform/xml/xml_text_check.h"

namespace grid::office {

namespace {

constexpr qsizetype kChunk = qsizetype(1) << 18;
constexpr int kMaxDepth = 1000;  // deeper nesting is no office part; it would only be an attack on memory

bool IsSpace(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; }

bool IsNameStart(unsigned char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_' || C == ':' || C >= 0x80;
}

struct TNameChars {
  bool Table[256];
  constexpr TNameChars() : Table() {
    for (int c = 0; c < 256; ++c)
      Table[c] = !(c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '/' || c == '>' || c == '=' || c == '"' ||
                   c == '\'' || c == '<' || c == '&');
  }
};
constexpr TNameChars kNameChars;

inline bool IsNameChar(char C) { return kNameChars.Table[static_cast<unsigned char>(C)]; }

// Whether a character reference names a character a document may hold (control characters are allowed as
// references, as the format's own writers write them).
bool IsReferable(char32_t U) {
  return (U >= 1 && U <= 0xD7FF) || (U >= 0xE000 && U <= 0xFFFD) || (U >= 0x10000 && U <= 0x10FFFF);
}

void AppendUtf8(std::string& Out, char32_t U) {
  if (U < 0x80) {
    Out += static_cast<char>(U);
  } else if (U < 0x800) {
    Out += static_cast<char>(0xC0 | (U >> 6));
    Out += static_cast<char>(0x80 | (U & 0x3F));
  } else if (U < 0x10000) {
    Out += static_cast<char>(0xE0 | (U >> 12));
    Out += static_cast<char>(0x80 | ((U >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (U & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (U >> 18));
    Out += static_cast<char>(0x80 | ((U >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((U >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (U & 0x3F));
  }
}

}  // namespace

TXmlStream::TXmlStream(TPartReader& Source, std::function<void(const QString&)> Fail)
    : FSource(Source), FFail(std::move(Fail)) {}

TXmlStream::~TXmlStream() = default;

void TXmlStream::Fail(const QString& What) const {
  FFail(What);
  throw std::logic_error("TXmlStream: the failure handler returned");
}

std::string_view TXmlStream::LocalName() const {
  const size_t colon = FName.find(':');
  return colon == std::string_view::npos ? FName : FName.substr(colon + 1);
}

// ---- the buffer

bool TXmlStream::Refill() {
  if (FEof) return false;
  if (FPos > 0) {
    std::memmove(FBuf.data(), FBuf.data() + FPos, static_cast<size_t>(FEnd - FPos));
    FEnd -= FPos;
    FChecked -= FPos;
    FPos = 0;
  }
  if (FEnd == static_cast<qsizetype>(FBuf.size())) {
    // A small part gets a buffer of its size; a large one a piece at a time, more only for a longer token.
    const qint64 claimed = FSource.ClaimedSize();
    const size_t first = static_cast<size_t>(claimed > 0 && claimed < kChunk ? std::max<qint64>(claimed + 1, 4096) : kChunk);
    FBuf.resize(FBuf.empty() ? first : FBuf.size() * 2);
  }
  const qsizetype want = static_cast<qsizetype>(FBuf.size()) - FEnd;
  const qsizetype n = FSource.Read(FBuf.data() + FEnd, want);
  FEnd += n;
  if (n < want) FEof = true;
  if (FUtf8) CheckUtf8(FEof);
  return n > 0;
}

// Checks the bytes read since the last check; a sequence cut by the end of the buffer waits for the next piece.
void TXmlStream::CheckUtf8(bool AtEnd) {
  const auto* p = reinterpret_cast<const unsigned char*>(FBuf.data());
  qsizetype i = FChecked;
  while (i < FEnd) {
    if (i + 8 <= FEnd) {
      quint64 w;
      std::memcpy(&w, p + i, 8);
      if ((w & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int len = 0;
    char32_t u = 0, min = 0;
    if ((c & 0xE0) == 0xC0) len = 2, u = c & 0x1F, min = 0x80;
    else if ((c & 0xF0) == 0xE0) len = 3, u = c & 0x0F, min = 0x800;
    else if ((c & 0xF8) == 0xF0) len = 4, u = c & 0x07, min = 0x10000;
    else Fail(QStringLiteral("Bytes that are not UTF-8 in a UTF-8 text"));
    if (i + len > FEnd) {
      if (AtEnd) Fail(QStringLiteral("Bytes that are not UTF-8 in a UTF-8 text"));
      break;
    }
    for (int k = 1; k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) Fail(QStringLiteral("Bytes that are not UTF-8 in a UTF-8 text"));
      u = (u << 6) | (p[i + k] & 0x3F);
    }
    if (u < min || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
      Fail(QStringLiteral("Bytes that are not UTF-8 in a UTF-8 text"));
    i += len;
  }
  FChecked = i;
}

bool TXmlStream::Fill(qsizetype N) {
  while (FEnd - FPos < N)
    if (!Refill()) return false;
  return true;
}

qsizetype TXmlStream::Find(char Ch, qsizetype From) {
  for (;;) {
    const char* base = FBuf.data() + FPos;
    const qsizetype avail = FEnd - FPos;
    if (From < avail) {
      const void* hit = std::memchr(base + From, Ch, static_cast<size_t>(avail - From));
      if (hit) return static_cast<const char*>(hit) - base;
    }
    From = std::max(From, avail);
    if (!Refill()) return -1;
  }
}

qsizetype TXmlStream::Find(std::string_view Seq, qsizetype From) {
  for (;;) {
    const qsizetype avail = FEnd - FPos;
    const std::string_view have(FBuf.data() + FPos, static_cast<size_t>(avail));
    const size_t at = have.find(Seq, static_cast<size_t>(std::min(From, avail)));
    if (at != std::string_view::npos) return static_cast<qsizetype>(at);
    From = std::max(From, avail - static_cast<qsizetype>(Seq.size()) + 1);
    if (!Refill()) return -1;
  }
}

// The first piece decides the encoding: UTF-8 (with or without its mark) is read as it comes; a part in another
// encoding is read whole and turned into UTF-8 first.
void TXmlStream::Prepare() {
  FPrepared = true;
  Have(512);
  const QByteArray head(FBuf.data() + FPos, static_cast<qsizetype>(std::min<qsizetype>(FEnd - FPos, 512)));
  const plat::xmltext::TTextEncoding encoding = plat::xmltext::EncodingOf(head);
  if (encoding == plat::xmltext::TTextEncoding::Utf8) {
    if (head.startsWith("\xEF\xBB\xBF")) FPos += 3;
    FUtf8 = true;
    CheckUtf8(FEof);
    return;
  }
  // The bytes were not UTF-8 after all: read the rest and check the converted text instead.
  QByteArray all(FBuf.data() + FPos, FEnd - FPos);
  while (!FEof) {
    const qsizetype at = all.size();
    all.resize(at + kChunk);
    const qsizetype n = FSource.Read(all.data() + at, kChunk);
    all.resize(at + n);
    if (n < kChunk) FEof = true;
  }
  QString text;
  if (encoding == plat::xmltext::TTextEncoding::Latin1) {
    text = QString::fromLatin1(all);
  } else {
    const std::optional<QStringConverter::Encoding> e = QStringConverter::encodingForData(all, u'<');
    QStringDecoder decoder(e.value_or(QStringConverter::Utf16));
    text = decoder.decode(all);
    if (decoder.hasError()) Fail(QStringLiteral("The text cannot be read in its encoding"));
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  }
  FWhole = text.toUtf8();
  FBuf.assign(FWhole.constBegin(), FWhole.constEnd());
  FWhole.clear();
  FPos = FChecked = 0;
  FEnd = static_cast<qsizetype>(FBuf.size());
  FUtf8 = true;
  CheckUtf8(true);
}

// ---- tokens

bool TXmlStream::IsBlank(std::string_view S) const {
  for (char c : S)
    if (!IsSpace(c)) return false;
  return true;
}

TXmlStream::TToken TXmlStream::Next() {
  if (!FPrepared) Prepare();
  if (FPendingEnd) {
    FPendingEnd = false;
    FDepth = FOpenTop--;
    return tkEndTag;
  }
  for (;;) {
    if (!Have(1)) {
      if (FOpenTop > 0) Fail(QStringLiteral("The text ends inside the element <%1>").arg(QString::fromUtf8(FOpen[FOpenTop - 1])));
      if (!FRootSeen) Fail(QStringLiteral("No root element"));
      return tkEnd;
    }
    if (FBuf[FPos] != '<') {
      const TToken t = TextRun();
      if (t != tkEnd) return t;
      continue;
    }
    if (!Have(2)) Fail(QStringLiteral("A tag is cut off"));
    const char second = FBuf[FPos + 1];
    if (second == '?') {
      Skip("?>", 2);
      continue;
    }
    if (second == '!') {
      Have(9);
      const std::string_view head(FBuf.data() + FPos, static_cast<size_t>(std::min<qsizetype>(9, FEnd - FPos)));
      if (head.substr(0, 4) == "<!--") {
        Skip("-->", 4);
        continue;
      }
      if (head == "<![CDATA[") {
        if (FOpenTop == 0) Fail(QStringLiteral("Text outside the root element"));
        return Cdata();
      }
      if (head == "<!DOCTYPE" && !FRootSeen) {
        SkipDoctype();
        continue;
      }
      Fail(QStringLiteral("A declaration that is none"));
    }
    return StartOrEndTag();
  }
}

// Character data up to the next tag; blanks outside the root element are passed over (tkEnd).
TXmlStream::TToken TXmlStream::TextRun() {
  // Most texts of a sheet are short and plain: one loop finds their end and whether they need decoding.
  qsizetype end = -1;
  bool plain = true;
  {
    const char* q = FBuf.data() + FPos;
    const qsizetype avail = FEnd - FPos;
    for (qsizetype k = 0; k < avail && k < 64; ++k) {
      const char c = q[k];
      if (c == '<') {
        end = k;
        break;
      }
      if (c == '&' || c == '\r') plain = false;
    }
    if (end < 0) {
      end = Find('<', 0);
      if (end < 0) end = FEnd - FPos;
      plain = std::memchr(FBuf.data() + FPos, '&', static_cast<size_t>(end)) == nullptr &&
              std::memchr(FBuf.data() + FPos, '\r', static_cast<size_t>(end)) == nullptr;
    }
  }
  const std::string_view raw(FBuf.data() + FPos, static_cast<size_t>(end));
  FPos += end;
  if (FOpenTop == 0) {
    if (!IsBlank(raw)) Fail(QStringLiteral("Text outside the root element"));
    return tkEnd;
  }
  FText = plain ? raw : Decode(raw, FTextBuf, false);
  FDepth = FOpenTop;
  return tkText;
}

TXmlStream::TToken TXmlStream::Cdata() {
  const qsizetype end = Find("]]>", 9);
  if (end < 0) Fail(QStringLiteral("A CDATA section is not closed"));
  const std::string_view raw(FBuf.data() + FPos + 9, static_cast<size_t>(end - 9));
  FPos += end + 3;
  if (std::memchr(raw.data(), '\r', raw.size()) == nullptr) {
    FText = raw;
  } else {
    FTextBuf.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\r') FTextBuf += raw[i];
      else if (i + 1 >= raw.size() || raw[i + 1] != '\n') FTextBuf += '\n';
    }
    FText = FTextBuf;
  }
  FDepth = FOpenTop;
  return tkText;
}

void TXmlStream::Skip(std::string_view Close, qsizetype From) {
  const qsizetype end = Find(Close, From);
  if (end < 0) Fail(QStringLiteral("A comment or processing instruction is not closed"));
  FPos += end + static_cast<qsizetype>(Close.size());
}

// <!DOCTYPE ...> with an internal subset in brackets, whose declarations may hold quoted '>'.
void TXmlStream::SkipDoctype() {
  qsizetype i = 9;
  int brackets = 0;
  for (;;) {
    if (!Have(i + 1)) Fail(QStringLiteral("The document type declaration is not closed"));
    const char c = FBuf[FPos + i];
    if (c == '"' || c == '\'') {
      const qsizetype close = Find(c, i + 1);
      if (close < 0) Fail(QStringLiteral("The document type declaration is not closed"));
      i = close + 1;
      continue;
    }
    if (c == '[') ++brackets;
    else if (c == ']') --brackets;
    else if (c == '>' && brackets <= 0) break;
    ++i;
  }
  FPos += i + 1;
}

TXmlStream::TToken TXmlStream::StartOrEndTag() {
  // The tag is parsed within the bytes up to the first '>' after it, found first; a '>' inside a quoted value
  // moves that limit on.
  qsizetype limit = -1;
  {
    // Tags are short: a plain loop finds their end sooner than a library search would start.
    const char* q = FBuf.data() + FPos;
    const qsizetype avail = FEnd - FPos;
    for (qsizetype k = 1; k < avail; ++k)
      if (q[k] == '>') {
        limit = k;
        break;
      }
    if (limit < 0) limit = Find('>', std::max<qsizetype>(1, avail));
  }
  if (limit < 0) Fail(QStringLiteral("A tag is cut off"));
  const char* p = FBuf.data() + FPos;
  const bool end = p[1] == '/';
  qsizetype i = end ? 2 : 1;
  if (!IsNameStart(static_cast<unsigned char>(p[i]))) Fail(QStringLiteral("A tag without a name"));
  const qsizetype nameAt = i;
  while (IsNameChar(p[i])) ++i;  // stops at the '>' at the latest
  const qsizetype nameLen = i - nameAt;

  if (end) {
    while (IsSpace(p[i])) ++i;
    if (i != limit) Fail(QStringLiteral("An end tag holds more than its name"));
    const std::string_view name(p + nameAt, static_cast<size_t>(nameLen));
    if (FOpenTop == 0) Fail(QStringLiteral("The end tag </%1> closes no element").arg(QString::fromUtf8(name)));
    const std::string& open = FOpen[static_cast<size_t>(FOpenTop - 1)];
    if (name != open)
      Fail(QStringLiteral("The end tag </%1> does not close <%2>").arg(QString::fromUtf8(name), QString::fromUtf8(open)));
    FPos += i + 1;
    FName = open;
    FDepth = FOpenTop--;
    return tkEndTag;
  }

  std::vector<TSpan>& spans = FSpans;
  spans.clear();
  bool empty = false;
  for (;;) {
    const qsizetype before = i;
    while (IsSpace(p[i])) ++i;
    const char c = p[i];
    if (c == '>') break;
    if (c == '/') {
      if (i + 1 != limit) Fail(QStringLiteral("A stray / in a tag"));
      empty = true;
      ++i;
      break;
    }
    if (i == before || !IsNameStart(static_cast<unsigned char>(c))) Fail(QStringLiteral("A malformed attribute"));
    TSpan s{i, 0, 0, 0, true};
    while (IsNameChar(p[i])) ++i;
    s.NameLen = i - s.NameAt;
    while (IsSpace(p[i])) ++i;
    if (p[i] != '=') Fail(QStringLiteral("An attribute without a value"));
    ++i;
    while (IsSpace(p[i])) ++i;
    const char quote = p[i];
    if (quote != '"' && quote != '\'') Fail(QStringLiteral("An attribute value without quotes"));
    s.ValueAt = i + 1;
    const void* hit = std::memchr(p + s.ValueAt, quote, static_cast<size_t>(limit - s.ValueAt));
    qsizetype close = hit ? static_cast<const char*>(hit) - p : -1;
    if (close < 0) {
      close = Find(quote, limit);
      if (close < 0) Fail(QStringLiteral("A tag is cut off"));
      limit = Find('>', close + 1);
      if (limit < 0) Fail(QStringLiteral("A tag is cut off"));
      p = FBuf.data() + FPos;
    }
    s.ValueLen = close - s.ValueAt;
    const char* v = p + s.ValueAt;
    for (qsizetype k = 0; k < s.ValueLen; ++k) {
      const char x = v[k];
      if (x == '<') Fail(QStringLiteral("A < in an attribute value"));
      if (x == '&' || x == '\t' || x == '\n' || x == '\r') s.Plain = false;
    }
    spans.push_back(s);
    i = close + 1;
  }
  if (FOpenTop == 0 && FRootSeen) Fail(QStringLiteral("More than one root element"));
  if (FOpenTop >= kMaxDepth) Fail(QStringLiteral("Elements nested too deeply"));
  if (FOpen.size() <= static_cast<size_t>(FOpenTop)) FOpen.resize(static_cast<size_t>(FOpenTop) + 1);
  std::string& slot = FOpen[static_cast<size_t>(FOpenTop)];
  slot.assign(p + nameAt, static_cast<size_t>(nameLen));
  ++FOpenTop;
  FRootSeen = true;
  FName = slot;
  FDepth = FOpenTop;
  FAttrs.clear();
  for (const TSpan& s : spans) {
    const std::string_view name(p + s.NameAt, static_cast<size_t>(s.NameLen));
    for (const TAttr& a : FAttrs)
      if (a.Name == name) Fail(QStringLiteral("Attribute \"%1\" repeated").arg(QString::fromUtf8(name)));
    FAttrs.push_back({name, std::string_view(p + s.ValueAt, static_cast<size_t>(s.ValueLen)), s.Plain});
    // References are checked now, whether or not the value is asked for.
    if (!s.Plain) Decode(FAttrs.back().Raw, FAttrBuf, true);
  }
  FPos += i + 1;
  FPendingEnd = empty;
  return tkStart;
}

std::string_view TXmlStream::AttributeValue(int I) {
  const TAttr& a = FAttrs[static_cast<size_t>(I)];
  return a.Plain ? a.Raw : Decode(a.Raw, FAttrBuf, true);
}

bool TXmlStream::Attribute(std::string_view Name, std::string_view& Value) {
  for (int i = 0; i < AttributeCount(); ++i)
    if (FAttrs[static_cast<size_t>(i)].Name == Name) {
      Value = AttributeValue(i);
      return true;
    }
  return false;
}

std::string_view TXmlStream::Decode(std::string_view Raw, std::string& Out, bool Attribute) {
  Out.clear();
  Out.reserve(Raw.size());
  for (size_t i = 0; i < Raw.size(); ++i) {
    const char c = Raw[i];
    if (c == '\r') {
      if (i + 1 < Raw.size() && Raw[i + 1] == '\n') ++i;
      Out += Attribute ? ' ' : '\n';
    } else if (Attribute && (c == '\n' || c == '\t')) {
      Out += ' ';
    } else if (c != '&') {
      Out += c;
    } else {
      const size_t semi = Raw.find(';', i + 1);
      if (semi == std::string_view::npos || semi - i > 12) Fail(QStringLiteral("An & that starts no reference"));
      const std::string_view ref = Raw.substr(i + 1, semi - i - 1);
      if (ref == "lt") Out += '<';
      else if (ref == "gt") Out += '>';
      else if (ref == "amp") Out += '&';
      else if (ref == "quot") Out += '"';
      else if (ref == "apos") Out += '\'';
      else if (ref.size() >= 2 && ref[0] == '#') {
        const bool hex = ref[1] == 'x';
        const std::string_view digits = ref.substr(hex ? 2 : 1);
        char32_t u = 0;
        if (digits.empty()) Fail(QStringLiteral("A character reference without digits"));
        for (char d : digits) {
          int v;
          if (d >= '0' && d <= '9') v = d - '0';
          else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
          else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
          else Fail(QStringLiteral("A character reference with a stray character"));
          u = u * (hex ? 16 : 10) + static_cast<char32_t>(v);
          if (u > 0x10FFFF) Fail(QStringLiteral("A reference to a character XML cannot hold"));
        }
        if (!IsReferable(u)) Fail(QStringLiteral("A reference to a character XML cannot hold"));
        AppendUtf8(Out, u);
      } else {
        Fail(QStringLiteral("A reference to an unknown entity"));
      }
      i = semi;
    }
  }
  return Out;
}

}  // namespace grid::office
