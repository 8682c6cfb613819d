#pragma once
// The grid text format: a first line "C,R" with the column and row counts, one line "cw c,w" per column width,
// then one line "c,r,text" per non-empty cell. Line breaks inside a cell are coded (CR as character 9, LF as 8,
// NUL as 1) so that every cell is one line; commas in the text are not escaped (the text is all that follows the
// second comma).
//
// File form: cell indexes as stored, UTF-16LE with a mark or the system code page (UTF-8), CR LF line ends.
// Stream form (also what AssignCells copies through): UTF-16LE code units without a mark, every line ended by
// CR LF, cell indexes relative to the save range, and the reader stops in front of the first line that is not
// a grid line, so other data may follow the grid in the same stream.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "grid/data/grid_data_host.h"

namespace plat {
class TStream;
}

namespace grid {

void SaveGridTextFile(TGridDataHost& Host, const QString& FileName, bool Unicode);
// EExtGridError "File contains no data or corrupt file <name>" for a file whose counts are not positive (or
// beyond what a grid holds). Cells outside the counts are skipped.
void LoadGridTextFile(TGridDataHost& Host, const QString& FileName);
// The same reader over a file's bytes; FileName only names the file in the error.
void LoadGridTextBytes(TGridDataHost& Host, const QByteArray& Bytes, const QString& FileName);
void SaveGridTextStream(TGridDataHost& Host, plat::TStream& Stream);
// Reads from the stream's position. Numbers are converted strictly (EConvertError); cells outside the grid are
// skipped.
void LoadGridTextStream(TGridDataHost& Host, plat::TStream& Stream);

// Line-break coding of a cell text (only a text holding a line break is coded).
QString EncodeLineBreaks(const QString& S);
// Undoes EncodeLineBreaks; without AllLines only the first line remains.
QString DecodeLineBreaks(const QString& S, bool AllLines);
// The leading number of a text as the file form reads it: blanks skipped, "+" or "-", decimal or hex digits
// after "$", "x", "X", "0x", "0X", up to the first character that does not belong; 0 without digits. The sign
// counts only when nothing follows the digits. Values beyond the int range are held at its ends.
int LeadingNumber(QStringView S);

// Counts beyond these are taken as a corrupt file rather than a grid to make.
inline constexpr int MaxLoadColCount = 1 << 16;
inline constexpr int MaxLoadRowCount = 1 << 20;

}  // namespace grid
