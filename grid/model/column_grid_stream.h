#pragma once
// The stored form of a column grid's column collection: one record per column holding every published
// setting as plain values, and the project's own versioned binary layout for a list of them.
//
// Layout (little-endian): the 8 magic bytes "XCOLGRID", a 16-bit version (1), a 32-bit payload length, then the
// payload: a 32-bit column count and, per column, a 32-bit record length followed by the record's fields in
// the order of TColumnRecord. Strings are a 32-bit UTF-16 unit count and the units; string lists a 32-bit
// count and the strings. The reader checks every length against the bytes left, every enumeration against
// its range and that each record is used up exactly, so a truncated, padded or foreign stream is refused
// with a message and nothing half-read is handed out.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace grid {

struct TColumnFontRecord {
  QString Name;
  std::int32_t Height = -11;
  std::uint32_t Color = 0;
  std::uint8_t Style = 0;    // bit set of bold, italic, underline, strike-out
  std::uint8_t Charset = 1;
  std::uint8_t Pitch = 0;
  bool operator==(const TColumnFontRecord&) const = default;
};

struct TColumnPenRecord {
  std::int32_t Width = 1;
  std::uint32_t Color = 0;
  std::uint8_t Style = 0;
  bool operator==(const TColumnPenRecord&) const = default;
};

// Enumerations are kept as their ordinals; the reader refuses ordinals outside the ranges below.
struct TColumnRecord {
  std::int32_t Width = 50;
  std::uint8_t Alignment = 0;
  QString Header;
  std::uint8_t SortStyle = 0;
  QString SortPrefix, SortSuffix, EditMask;
  std::int32_t EditLength = 0;
  TColumnFontRecord Font;
  std::uint32_t Color = 0;
  std::uint8_t Editor = 0;
  bool Fixed = false, ReadOnly = false;
  QStringList ComboItems;
  std::int32_t DropDownCount = 8, SpinMin = 0, SpinMax = 0, SpinStep = 1;
  bool Password = false;
  TColumnFontRecord PrintFont;
  std::uint32_t PrintColor = 0xFFFFFF;
  std::uint8_t Borders = 0, PrintBorders = 15;  // bits: top, left, right, bottom
  TColumnPenRecord BorderPen{1, 0xC0C0C0, 0}, PrintBorderPen;
  std::int32_t Tag = 0;
  QString Name;
  QString CheckFalse = QStringLiteral("N"), CheckTrue = QStringLiteral("Y");
  bool ShowBands = false;
  QStringList Filter;
  std::int32_t MaxSize = 0, MinSize = 0, AutoMinSize = 0, AutoMaxSize = 0;
  std::uint8_t ColumnPopupType = 0;
  bool FilterCaseSensitive = false;
  QString FloatFormat;
  std::uint8_t HeaderAlignment = 0;
  TColumnFontRecord HeaderFont;
  bool PrintBorderCustom = true, PrintFontCustom = true;
  bool operator==(const TColumnRecord&) const = default;
};

// Highest ordinals the reader takes.
inline constexpr int kMaxAlignment = 2, kMaxSortStyle = 19, kMaxEditor = 42, kMaxPopupType = 5;
inline constexpr int kMaxPenStyle = 8, kMaxPitch = 2, kFontStyleBits = 0x0F, kBorderBits = 0x0F;
// Sizes the reader takes: widths, pen widths and font heights are pixels that go into int arithmetic of layouts
// and painting, and a drop-down count multiplies a row height; a stream holds nothing beyond what a screen could
// show.
inline constexpr int kMaxColumnPixels = 100000, kMaxPenWidth = 1000, kMaxFontHeight = 1000;
inline constexpr int kMaxDropDownCount = 10000;

inline constexpr std::uint16_t kColumnStreamVersion = 1;

QByteArray WriteColumnStream(const std::vector<TColumnRecord>& Columns);
// Reads one stream from the start of Data. On success fills Columns, sets Used to the bytes the stream took
// and answers true; otherwise leaves Columns alone, sets Error and answers false.
bool ReadColumnStream(const QByteArray& Data, std::vector<TColumnRecord>& Columns, qsizetype& Used,
                      QString& Error);

}  // namespace grid
