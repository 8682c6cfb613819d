#pragma once
// Finding text in the grid's cells: a walk from a start cell over the normal cells (or the fixed ones, the
// selection, one row or one column), row by row or column by column, forwards or backwards, with a cell test
// that compares with or without case, as a whole cell, at the start of the cell, as a filter expression or
// without the cell's HTML tags. On it sit the replace, the incremental lookup on the sort column, the
// highlighting and marking of text inside cells (highlight.h) and the cell checking (cell_check.h).
//
// TGridFind keeps the state that lives between calls (the last parameters, the last search text, the last found
// cell, the preset row and column) and sees the grid only through TFindHost.

#include <QString>

#include <cstdint>

#include "grid/data/grid_data_host.h"
#include "platform/graphics/types.h"
#include "platform/rtl/sets.h"

namespace grid {

enum TFindParameters {
  fnMatchCase,             // compare with case; otherwise both texts are upper-cased
  fnMatchFull,             // the cell text must equal the search text
  fnMatchRegular,          // the search text is a filter expression
  fnDirectionLeftRight,    // walk row by row; otherwise column by column
  fnMatchStart,            // the search text must stand at the start of the cell text
  fnFindInCurrentRow,      // only the current row
  fnFindInCurrentCol,      // only the current column
  fnIncludeFixed,          // fixed rows and columns are searched too
  fnAutoGoto,              // a found cell becomes the current cell
  fnIgnoreHTMLTags,        // tags are removed from the cell text before comparing
  fnBackward,              // walk backwards
  fnIncludeHiddenColumns,  // hidden columns are searched (columns are then real indexes)
  fnFindInPresetCol,       // only column FindCol
  fnFindInPresetRow,       // only row FindRow
  fnSelectedCells,         // only the selection rectangle
  fnIncludeHiddenRows,     // hidden rows are searched (rows are then real indexes)
};
using TFindParams = plat::TSet<TFindParameters, 15>;

// Which button of the search footer searched (OnSearchFooterAction).
enum TSearchAction { saFindFirst, saFindPrevious, saFindNext };

// The 16 bits of a parameter set, bit n for the value with ordinal n, and back.
std::uint16_t FindParamsToBits(const TFindParams& Params);
TFindParams FindParamsFromBits(std::uint16_t Bits);

// What the find, the highlighting and the cell checking need of the grid. Columns are display columns unless a
// call says real; rows are display rows unless a call says real.
class TFindHost {
 public:
  virtual ~TFindHost() = default;

  // ---- the grid
  virtual int ColCount() const = 0;
  virtual int RowCount() const = 0;
  virtual int FixedCols() const { return 0; }
  virtual int FixedRows() const { return 0; }
  virtual int FixedRightCols() const { return 0; }
  virtual int FixedFooters() const { return 0; }
  virtual int NumHiddenColumns() const { return 0; }
  virtual int NumHiddenRows() const { return 0; }
  virtual int RealColIndex(int ACol) const { return ACol; }
  virtual bool IsIgnoredColumn(int ACol) const { (void)ACol; return false; }
  // The current cell (display column and row) and the selection rectangle (inclusive).
  virtual int Col() const { return 0; }
  virtual int Row() const { return 0; }
  virtual void Selection(int& Left, int& Top, int& Right, int& Bottom) const {
    Left = Col(), Top = Row(), Right = Col(), Bottom = Row();
  }

  // ---- texts
  // The displayed text of a cell (real column); with RealRow the row is a real index (hidden rows included).
  virtual QString FindText(int RCol, int ARow, bool RealRow) = 0;
  // The cell's stored text (real column), as the highlighting reads it when no display-text handler is set.
  virtual QString StoredText(int RCol, int ARow) { return FindText(RCol, ARow, false); }
  // Whether the grid changes texts for display (then the highlighting starts from the displayed text).
  virtual bool HasDisplayTextHandler() const { return false; }
  // Writes a cell as the grid's Cells does (real column; merged cells write their base cell); with RealRow the
  // row is a real index.
  virtual void WriteText(int RCol, int ARow, const QString& Value, bool RealRow) = 0;
  // Only base cells of merged cells are highlighted (display column).
  virtual bool IsBaseCell(int ACol, int ARow) const { (void)ACol, (void)ARow; return true; }
  // A replace changed the row: the grid marks it modified when it shows modified rows.
  virtual void RowChanged(int ARow) { (void)ARow; }

  // ---- the grid's text services (its mini-HTML and filter expressions)
  // "<BR>" and "<HR>" become line breaks, other tags vanish.
  virtual QString HTMLToPlainText(const QString& S) = 0;
  virtual bool MatchFilter(const QString& Expression, const QString& Value, bool CaseSensitive) = 0;
  // Wraps every occurrence of Search in the visible text of S into <Tag> and </Tag>.
  virtual QString HighlightText(const QString& S, const QString& Search, const QString& Tag, bool CaseSensitive) = 0;
  // Removes the tags of that name (and turns "&lt;" and "&gt;" back into characters).
  virtual QString RemoveTagPair(const QString& S, const QString& Tag) = 0;
  virtual QString EntitiesToChars(const QString& S) = 0;
  virtual QString CharsToEntities(const QString& S) = 0;

  // ---- moving to a found cell
  // A found cell becomes the current cell (column and row as the walk found them: real indexes when hidden
  // columns or rows were searched).
  virtual void GotoFound(int ACol, int ARow, const TFindParams& Params) { (void)ACol, (void)ARow, (void)Params; }
  // After a find with fnAutoGoto: the rows below the current row come into view.
  virtual void AfterAutoGoto() {}
  // The real column the incremental lookup compares (the sort column), -1 for none.
  virtual int IncrementalColumn() const { return FixedCols(); }
  virtual void ExportNotification(TGridExportState AState, int ARow) { (void)AState, (void)ARow; }
};

// The state and operations of the find.
class TGridFind {
 public:
  explicit TGridFind(TFindHost& Host) : FHost(Host) {}

  // The next matching cell after StartCell, (-1, -1) when none; StartCell (-1, -1) starts at the first cell of
  // the walk. Past the last cell the walk starts over at the first cell (so FindNext goes round).
  plat::TPoint Find(plat::TPoint StartCell, const QString& S, const TFindParams& Params);
  // The same without the scrolling after an automatic move.
  plat::TPoint FindWide(plat::TPoint StartCell, const QString& S, const TFindParams& Params);
  plat::TPoint FindFirst(const QString& S, const TFindParams& Params);
  plat::TPoint FindNext();
  // Replaces OrigStr by NewStr (ignoring case) in every cell the walk finds; each cell is visited once, so a
  // replacement that still matches does not start the walk over. Returns the number of cells changed.
  int Replace(const QString& OrigStr, const QString& NewStr, const TFindParams& Params);
  // The incremental lookup: the first normal row whose text in the lookup column, without tags, starts with S
  // (S upper-cased by the caller); -1 when none.
  int Search(const QString& S);
  // Whether a cell matches the last find's text and parameters (ACol a display column unless hidden columns
  // are searched).
  bool CellMatchesFind(int ACol, int ARow, bool Wide);

  // The last find.
  TFindParams FindParams;
  QString SearchCache, SearchCacheWide;
  plat::TPoint SearchCell{-1, -1};
  int FindCol = 0, FindRow = 0;
  bool FindBusy() const { return FFindBusy; }

 private:
  plat::TPoint FindCell(plat::TPoint StartCell, const QString& S, const TFindParams& Params, bool Wide);
  TFindHost& FHost;
  bool FFindBusy = false;
  bool FNeedleAscii = true;
};

// Upper-cases a text for the find's comparisons (the platform's rule).
QString FindUpperCase(const QString& S);

}  // namespace grid
