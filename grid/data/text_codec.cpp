#include "grid/data/text_codec.h"

#include <QStringDecoder>

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

// One iconv conversion descriptor for the length of a call.
class TIconv {
 public:
  TIconv(const char* To, const char* From) : FCd(iconv_open(To, From)) {
    if (FCd == reinterpret_cast<iconv_t>(-1))
      throw plat::Exception(QStringLiteral("Code page %1 is not available").arg(QString::fromLatin1(From)));
  }
  ~TIconv() { iconv_close(FCd); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;
  // Converts as much as it can; returns false at a sequence the conversion cannot take (In then points at it).
  // The callers size Out for the whole text, so running out of room is a fault of the caller.
  bool Convert(char*& In, size_t& InLeft, char*& Out, size_t& OutLeft) {
    if (iconv(FCd, &In, &InLeft, &Out, &OutLeft) != static_cast<size_t>(-1)) return true;
    if (errno == E2BIG) throw plat::Exception(QStringLiteral("Text conversion ran out of room"));
    return false;
  }

 private:
  iconv_t FCd;
};

}  // namespace

TTextEncoding EncodingByMark(const QByteArray& Bytes, int* MarkLength) {
  int len = 0;
  TTextEncoding e = TTextEncoding::Utf8;
  if (Bytes.startsWith("\xEF\xBB\xBF")) e = TTextEncoding::Utf8Bom, len = 3;
  else if (Bytes.startsWith("\xFF\xFE")) e = TTextEncoding::Utf16LE, len = 2;
  else if (Bytes.startsWith("\xFE\xFF")) e = TTextEncoding::Utf16BE, len = 2;
  if (MarkLength) *MarkLength = len;
  return e;
}

QString DecodeText(const QByteArray& Bytes, const char* LegacyCodePage, TTextEncoding* Found) {
  int mark = 0;
  TTextEncoding e = EncodingByMark(Bytes, &mark);
  const QByteArrayView body = QByteArrayView(Bytes).sliced(mark);
  QString text;
  if (e == TTextEncoding::Utf16LE || e == TTextEncoding::Utf16BE) {
    QStringDecoder d(e == TTextEncoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                     QStringConverter::Flag::Stateless);
    text = d.decode(body);
  } else {
    QStringDecoder d(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    text = d.decode(body);
    if (d.hasError() && e == TTextEncoding::Utf8) {
      text = DecodeCodePage(body, LegacyCodePage);
      e = TTextEncoding::CodePage;
    }
  }
  if (Found) *Found = e;
  return text;
}

QByteArray EncodeText(QStringView Text, TTextEncoding Encoding, const char* LegacyCodePage) {
  switch (Encoding) {
    case TTextEncoding::Utf8:
      return Text.toUtf8();
    case TTextEncoding::Utf8Bom:
      return QByteArray("\xEF\xBB\xBF") + Text.toUtf8();
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: {
      QByteArray out("\xFF\xFE");
      out.reserve(2 + Text.size() * 2);
      for (QChar c : Text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
      }
      return out;
    }
    case TTextEncoding::CodePage:
      return EncodeCodePage(Text, LegacyCodePage);
  }
  return {};
}

QString DecodeCodePage(QByteArrayView Bytes, const char* CodePage) {
  TIconv cv("UTF-16LE", CodePage);
  QString out(Bytes.size(), Qt::Uninitialized);
  char* in = const_cast<char*>(Bytes.data());
  size_t inLeft = static_cast<size_t>(Bytes.size());
  char* o = reinterpret_cast<char*>(out.data());
  size_t oLeft = static_cast<size_t>(out.size()) * 2;
  while (inLeft > 0) {
    if (cv.Convert(in, inLeft, o, oLeft)) continue;
    // An undefined byte: the character of the same number, as other readers of these code pages do.
    const char16_t u = static_cast<unsigned char>(*in);
    memcpy(o, &u, 2);
    o += 2, oLeft -= 2, ++in, --inLeft;
  }
  out.truncate(static_cast<qsizetype>((out.size() * 2 - static_cast<qsizetype>(oLeft)) / 2));
  return out;
}

QByteArray EncodeCodePage(QStringView Text, const char* CodePage) {
  TIconv cv(CodePage, "UTF-16LE");
  QByteArray out(Text.size() * 2 + 4, Qt::Uninitialized);
  char* in = reinterpret_cast<char*>(const_cast<QChar*>(Text.data()));
  size_t inLeft = static_cast<size_t>(Text.size()) * 2;
  char* o = out.data();
  size_t oLeft = static_cast<size_t>(out.size());
  while (inLeft > 0) {
    if (cv.Convert(in, inLeft, o, oLeft)) continue;
    // A character the code page lacks (or half a surrogate pair): '?' for each UTF-16 unit of it.
    *o++ = '?', --oLeft;
    in += 2, inLeft -= 2;
  }
  out.truncate(out.size() - static_cast<qsizetype>(oLeft));
  return out;
}

QStringList SplitLines(QStringView Text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = Text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = Text[i].unicode();
    if (c != u'\r' && c != u'\n') continue;
    lines.append(Text.sliced(start, i - start).toString());
    if (c == u'\r' && i + 1 < n && Text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(Text.sliced(start).toString());
  return lines;
}

}  // namespace grid
