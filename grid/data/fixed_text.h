#pragma once
// Fixed-width text and the aligned plain-text ("ASCII") layout of the grid.
//
// Fixed width: each row of the save range is one line, each column a field of a given width, cut or padded with
// blanks, without separators. It is read back by splitting every line at given character positions.
// Aligned layout: a table for people to read, each column as wide as its widest line plus one blank, right- and
// centre-aligned cells placed as the grid shows them, the further lines of multi-line cells (with Multilinecells)
// on continuation lines under their own column.
// Widths and positions count characters (UTF-16 units), not bytes.

#include <QByteArray>
#include <QString>

#include "grid/data/grid_data_host.h"

namespace grid {

class TIntList;

// Positions holds the width of each exported column from the save range's first column on; missing entries
// are filled in place with the widest line of that column + 1, so the caller sees the widths used. A line break
// inside a cell becomes a blank, so every row stays one line. EExtGridError "Cannot Create file <name>" when the
// file cannot be written.
void SaveToFixed(TGridDataHost& Host, const QString& FileName, TIntList& Positions);
// Positions holds 1-based character positions (sorted ascending in place); field k runs from position k - 1 to
// just before position k. MaxRows: -1 reads every line, otherwise at most max(1, MaxRows) lines. EExtGridError
// "File <name> not found" when it cannot be read, and "At least two positions are needed to split fixed-width
// text" for fewer than two positions.
void LoadFromFixed(TGridDataHost& Host, const QString& FileName, TIntList& Positions, bool DoTrim, int MaxRows = -1);
// The same reader over a file's bytes.
void LoadFixedBytes(TGridDataHost& Host, const QByteArray& Bytes, TIntList& Positions, bool DoTrim, int MaxRows);

// Unicode: UTF-16LE with a mark; otherwise UTF-8 (or an appended file's own encoding).
void SaveToASCII(TGridDataHost& Host, const QString& FileName, bool Unicode);
void AppendToASCII(TGridDataHost& Host, const QString& FileName, bool Unicode);
// The text of the aligned layout, lines ended by CR LF.
QString ASCIIText(TGridDataHost& Host);
// The text SaveToFixed writes with the widths of Positions (completed as SaveToFixed does).
QString FixedText(TGridDataHost& Host, TIntList& Positions);

}  // namespace grid
