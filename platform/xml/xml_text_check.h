#pragma once
// The well-formedness rules the parser under TXMLDocument lets through, checked on the raw text before it is
// parsed: each of them would otherwise load a file that a later save silently changes.

#include <QByteArray>
#include <QString>

namespace plat::xmltext {

enum class TTextEncoding {
  Utf8,        // checked as UTF-8: a byte sequence that is not UTF-8 is refused
  Latin1,      // every byte is a character; references are still checked
  Unchecked,   // two- or four-byte units (UTF-16, UTF-32): left to the parser
};

// The encoding the parser will read Data in: a byte-order mark, else the one single-byte encoding a declaration
// may switch to (ISO-8859-1), else UTF-8.
TTextEncoding EncodingOf(const QByteArray& Data);

struct TTextFault {
  QString What;
  qsizetype Offset = -1;  // byte offset of the fault in the text; -1 when the text passes
};

// Refuses bytes that are not UTF-8 (Utf8 only), character references to characters XML does not allow (such as
// "&#0;" or a surrogate "&#xD800;"; control characters are allowed as references, as the writer writes them), references to entities other than the five predefined ones (a document of
// ours declares none), and an '&' that starts no reference. Comments, CDATA sections, processing instructions
// and the document type declaration hold no references and are skipped.
TTextFault CheckText(const QByteArray& Text, TTextEncoding Encoding);

// "line L, column C" of a byte offset in a UTF-8 text (columns count characters).
QString Position(const QByteArray& Text, qsizetype Offset);

}  // namespace plat::xmltext
