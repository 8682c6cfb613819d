#pragma once
// Text encodings of the grid's files. The grid writes UTF-8 (with or without a byte order mark), UTF-16
// little-endian with a mark, or a legacy code page through iconv; it reads a file by its mark and, without one,
// as UTF-8 when the bytes are valid UTF-8, else in the legacy code page the caller names (files brought over from
// Windows are in Windows-1252, CSV for DOS programs in the OEM code page).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace grid {

enum class TTextEncoding {
  Utf8,       // the system code page here: UTF-8 without a mark
  Utf8Bom,    // UTF-8 with a mark
  Utf16LE,    // UTF-16 little-endian with a mark
  Utf16BE,    // only read
  CodePage,   // a legacy single-byte code page (without a mark)
};

// The legacy code pages the grid names: Windows files and the OEM code page of CSV for DOS programs.
inline constexpr const char* AnsiCodePage = "WINDOWS-1252";
inline constexpr const char* OemCodePage = "CP850";

// The encoding a byte order mark at the start of Bytes gives, and the mark's length; Utf8 and 0 without one.
TTextEncoding EncodingByMark(const QByteArray& Bytes, int* MarkLength = nullptr);

// Decodes a whole file: by its mark; without one as UTF-8 when valid, else in LegacyCodePage. Found (when
// given) receives what was used.
QString DecodeText(const QByteArray& Bytes, const char* LegacyCodePage = AnsiCodePage,
                   TTextEncoding* Found = nullptr);
// Encodes Text with its mark where the encoding has one (Utf16BE writes little-endian). CodePage takes
// LegacyCodePage; characters it lacks become '?'.
QByteArray EncodeText(QStringView Text, TTextEncoding Encoding, const char* LegacyCodePage = AnsiCodePage);

// Through iconv: single-byte code page to text and back. A byte the code page leaves undefined reads as the
// character of the same number; a character the code page lacks is written as '?'.
QString DecodeCodePage(QByteArrayView Bytes, const char* CodePage);
QByteArray EncodeCodePage(QStringView Text, const char* CodePage);

// Splits a text into lines at CR LF, CR or LF; a line break at the very end makes no empty last line.
QStringList SplitLines(QStringView Text);

}  // namespace grid
