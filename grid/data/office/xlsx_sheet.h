#pragma once
// The cells of one worksheet part, both ways: the values a sheet holds as the grid's texts, a new sheet made
// from a block of texts, and a block of texts written into an existing sheet with everything else of it kept.

#include <QByteArray>
#include <QChar>
#include <QString>

#include <functional>
#include <vector>

#include "grid/data/office/xlsx_workbook.h"

namespace grid::office {

struct TSheetCell {
  int Col = 0, Row = 0;  // from 1
  QString Text;
};

class TPartReader;

// The cells of a sheet that hold a value, in the order the part lists them: texts as they are, numbers as
// NumberText (dates and times as the locale's date and time texts), booleans as "True"/"False", formulas as
// their saved results. Error values are left out. plat::Exception "Incorrect XLS file" for a part that cannot
// be read as a sheet. The part is read in one pass as it is inflated; it is never held whole.
std::vector<TSheetCell> ReadSheetCells(TPartReader& Sheet, const TCellContext& Context);
std::vector<TSheetCell> ReadSheetCells(const QByteArray& Xml, const TCellContext& Context);
// The texts of a shared strings part in order (a text of runs joined); Fail (which raises) for a part that is
// no well-formed XML.
std::vector<QString> ReadSharedStrings(TPartReader& Part, const std::function<void(const QString&)>& Fail);
// The row of the sheet's saved active cell (1 when it names none).
int ActiveCellRow(const QByteArray& Xml);

// Texts for rows FirstRow .. FirstRow + Rows - 1 and columns 1 .. Cols of a sheet, row by row.
struct TCellBlock {
  int FirstRow = 1, Rows = 0, Cols = 0;
  std::vector<QString> Texts;
  const QString& At(int R, int C) const { return Texts[static_cast<size_t>(R) * static_cast<size_t>(Cols) + static_cast<size_t>(C)]; }
};

// A whole sheet holding the block (empty texts make no cells).
QByteArray NewSheetXml(const TCellBlock& Block);
// The sheet with the block written into it: every cell of the block takes its text (an empty text empties
// the cell, keeping its look), everything else stays. EExtGridError when the part is no sheet.
QByteArray MergeIntoSheet(const QByteArray& Xml, const TCellBlock& Block);

}  // namespace grid::office
