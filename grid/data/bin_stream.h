#pragma once
// The binary grid stream: the grid's own format for files, streams, the private clipboard format and cell drags
// (encoding in bin_records.h). It carries the cells of a rectangle with their text, their properties and their
// cell objects (check boxes, radio groups, image lists and, through the host, pictures), and for a whole grid its
// counts, column widths and row heights.
//
// Record order: one TGridPropIO; then per cell, row by row from Top to Bottom and column by column from Left to
// Right, one TGridCellIO, a TGridCellPropIO when the cell has properties, and a TGridGraphicIO with its payload
// record when it has an object to carry.
//
// The reader trusts nothing: every length is checked against the bytes left, a whole-grid record must hold a
// width for every column and a height for every row, and a cell that lands outside the grid is passed over.
// A stream it cannot read raises EExtGridError "Corrupt grid stream", leaving the grid as far as it got.

#include <QString>

#include "grid/data/grid_data_host.h"

namespace plat {
class TStream;
}

namespace grid {

// The save range of the grid.
void SaveToBinStream(TGridDataHost& Host, plat::TStream& Stream);
// The cells of Rect (Left, Top, Right, Bottom inclusive; display columns). A rectangle beyond what the format
// addresses (column or row 65535) raises EExtGridError and writes nothing.
void SaveRectToBinStream(TGridDataHost& Host, plat::TRect Rect, plat::TStream& Stream);
// At (0, 0), then the grid recounts its node rows.
void LoadFromBinStream(TGridDataHost& Host, plat::TStream& Stream);
// Places the cells with the first cell of a partial stream at Point; a whole-grid stream first clears the grid
// and takes its counts and sizes. Reads from the stream's position to its end.
void LoadAtPointFromBinStream(TGridDataHost& Host, plat::TPoint Point, plat::TStream& Stream);
void SaveToBinFile(TGridDataHost& Host, const QString& FileName);
void LoadFromBinFile(TGridDataHost& Host, const QString& FileName);

// The stream of a rectangle as bytes (what a file, the clipboard and a drag carry).
QByteArray BinStreamOfRect(TGridDataHost& Host, plat::TRect Rect);
// Reads Bytes as LoadAtPointFromBinStream does.
void LoadBinBytesAtPoint(TGridDataHost& Host, plat::TPoint Point, const QByteArray& Bytes);

// Whether Bytes read whole as a binary grid stream; Cols and Rows receive the size of its rectangle.
bool BinStreamReads(const QByteArray& Bytes, int& Cols, int& Rows);

// Largest count a whole-grid stream may set: the format addresses cells by 16-bit column and row.
inline constexpr int MaxBinCount = 65536;

}  // namespace grid
