#pragma once
// Cell checking: an attached checker corrects a cell's text or marks its errors (for example a spelling
// checker wrapping misspelt words into error tags). The checker decides what a text becomes; the grid runs it
// over cells and writes the results back.

#include <QString>

#include "grid/data/find.h"

namespace grid {

// The checker as the cell checking sees it (the grid's CellChecker).
class TCellCheckerLink {
 public:
  virtual ~TCellCheckerLink() = default;
  virtual bool GotoCell() const = 0;
  virtual bool UseCorrect() const = 0;
  virtual bool UseMarkError() const = 0;
  virtual void StartCheck() = 0;
  virtual void StopCheck() = 0;
  virtual QString Correct(int ACol, int ARow, const QString& S) = 0;
  virtual QString MarkError(int ACol, int ARow, const QString& S) = 0;
};

// What the checking needs of the grid beyond the find's host: the current cell.
class TCellCheckHost : public TFindHost {
 public:
  // Makes the cell (real column) current and scrolls it into view.
  virtual void GotoCell(int RCol, int ARow) = 0;
  // Puts the current cell back (display column).
  virtual void SetCurrent(int ACol, int ARow) = 0;
};

// Runs Checker over one cell (real column): the displayed text without its error tags goes to Correct (with
// UseCorrect) and to MarkError (with UseMarkError, replacing Correct's result); the result is written back.
// True when the text stayed as it was; always true without a checker.
bool CheckCell(TCellCheckHost& Host, TCellCheckerLink* Checker, int ACol, int ARow);
// Every cell of the range row by row, also after a failure, between StartCheck and StopCheck; with GotoCell
// the current cell is put back afterwards. True when every cell passed.
bool CheckCells(TCellCheckHost& Host, TCellCheckerLink* Checker, int FromCol, int FromRow, int ToCol, int ToRow);
// A column, a row or the grid: every cell with DoFixed, else the normal cells.
bool CheckCol(TCellCheckHost& Host, TCellCheckerLink* Checker, bool DoFixed, int ACol);
bool CheckRow(TCellCheckHost& Host, TCellCheckerLink* Checker, bool DoFixed, int ARow);
bool CheckGrid(TCellCheckHost& Host, TCellCheckerLink* Checker, bool DoFixed);

}  // namespace grid
