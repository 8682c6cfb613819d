#pragma once
// A forward-only reader of the large XML parts of office packages (sheets, shared strings): the part is read
// piece by piece and handed out as a stream of tags and texts, without building a tree, so a sheet of a million
// cells is read in one pass with a small buffer.
//
// The text is checked as it goes: a part that is no well-formed XML document (tags that do not nest, bytes that
// are not UTF-8, references to unknown entities or to characters XML cannot hold, repeated attributes, text
// outside the root element) raises the error the caller gives, at the point where it is found. Texts come with
// their references resolved and their line breaks as one LF; comments, processing instructions and the
// document type declaration are passed over.

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace grid::office {

class TPartReader;

class TXmlStream {
 public:
  enum TToken { tkEnd, tkStart, tkEndTag, tkText };

  // Fail is called (and must raise) for a part that is not well-formed; it gets what is wrong.
  TXmlStream(TPartReader& Source, std::function<void(const QString&)> Fail);
  ~TXmlStream();
  TXmlStream(const TXmlStream&) = delete;
  TXmlStream& operator=(const TXmlStream&) = delete;

  // The next token. An empty element (<a/>) gives a start and then an end tag. tkEnd once after the root
  // element closed and only blanks, comments and processing instructions followed.
  TToken Next();

  // Of a start or end tag: the name as written and without its prefix ("x:c" gives "c"). Elements are nested
  // Depth() deep (the root is 1) while their start and end tags are the current token.
  std::string_view Name() const { return FName; }
  std::string_view LocalName() const;
  int Depth() const { return FDepth; }
  // Of a start tag: the attributes, names as written and values with references resolved.
  int AttributeCount() const { return static_cast<int>(FAttrs.size()); }
  std::string_view AttributeName(int I) const { return FAttrs[static_cast<size_t>(I)].Name; }
  std::string_view AttributeValue(int I);
  // The value of the attribute named exactly Name; false when the tag has none.
  bool Attribute(std::string_view Name, std::string_view& Value);
  // Of a text (character data or a CDATA section): UTF-8, valid until the next call.
  std::string_view Text() const { return FText; }

 private:
  struct TSpan {
    qsizetype NameAt, NameLen, ValueAt, ValueLen;
    bool Plain;
  };
  struct TAttr {
    std::string_view Name, Raw;
    bool Plain;  // holds no reference and no blank other than spaces: the raw value is the value
  };

  [[noreturn]] void Fail(const QString& What) const;
  // Bytes available from FPos; reads more when fewer than N are there. False at the end of the part.
  bool Have(qsizetype N) { return FEnd - FPos >= N || Fill(N); }
  bool Fill(qsizetype N);
  // The offset from FPos of Ch at or after From; -1 when the part ends first.
  qsizetype Find(char Ch, qsizetype From);
  qsizetype Find(std::string_view Seq, qsizetype From);
  bool Refill();
  void CheckUtf8(bool AtEnd);
  void Prepare();

  TToken StartOrEndTag();
  TToken TextRun();
  TToken Cdata();
  void Skip(std::string_view Close, qsizetype From);
  void SkipDoctype();
  // Resolves references and line breaks of Raw into Out (Attribute: blanks become spaces).
  std::string_view Decode(std::string_view Raw, std::string& Out, bool Attribute);
  bool IsBlank(std::string_view S) const;

  TPartReader& FSource;
  std::function<void(const QString&)> FFail;
  std::vector<char> FBuf;
  qsizetype FPos = 0, FEnd = 0, FChecked = 0;  // FChecked: bytes before it are valid UTF-8
  bool FEof = false;
  bool FPrepared = false;
  bool FUtf8 = false;  // the buffer holds UTF-8, checked as it comes

  std::vector<std::string> FOpen;  // names of the open elements (slots beyond FOpenTop are reused)
  int FOpenTop = 0;
  int FDepth = 0;
  bool FPendingEnd = false;  // an empty element gives its end tag next
  bool FRootSeen = false;
  std::string_view FName, FText;
  std::vector<TAttr> FAttrs;
  std::vector<TSpan> FSpans;
  std::string FTextBuf, FAttrBuf;
  QByteArray FWhole;  // a part in another encoding, as UTF-8
};

}  // namespace grid::office
