#pragma once
// The road every export, import, print and search of the grid's data services takes to the cells.
//
// A service never reads or writes a cell on its own: an export asks the host for each cell's export text through
// SaveCell, an import hands each text to LoadCell, and both report where they are through ExportNotification and
// the progress of FileProgress. TGridDataHost is all a service knows of the grid: the cell store, the counts and
// fixed parts, the hidden columns, the sizes, the save options and these per-cell operations. The window grid
// implements it through a small adapter; TDataGrid (data_grid.h) is a window-free grid that implements it for
// tools, tests and benchmarks.
//
// Rules every service keeps:
// - Export: ExportNotification(esExportStart, first row) before the first row, (esExportNextRow, row) before
//   each row, (esExportDone, -1) at the end (TExportRun does this). Every cell text comes from SaveCell.
// - Import: every text goes in through LoadCell, except the binary stream, which writes through WriteCell (the
//   displayed text, merge-aware, with change events). Text imports end with CellsChanged over the whole grid and
//   AllCellsChanged.
// - Progress is in whole per cent and fires only when the rounded value changes (TProgress).
// - Nothing pumps the event loop inside a load or a save: a handler that closed or reloaded the grid in the
//   middle of a load would pull the cells out from under it.
// - Failures are exceptions (EExtGridError for the grid's own conditions); the grid stays as far as it got.

#include <QByteArray>
#include <QString>

#include <cmath>

#include <QList>

#include "grid/model/gridtypes.h"
#include "platform/graphics/gdivalues.h"
#include "platform/graphics/types.h"

namespace grid {

class TCellGrid;
class TCellGraphic;

// Where an export or a paste into the grid stands (ExportNotification, ImportNotification).
enum TGridExportState { esExportStart, esExportNextRow, esExportNewRow, esExportSelRow, esExportDone, esExportFail };
enum TGridImportState { isImportStart, isImportNewRow, isImportSelRow, isImportDone };

// The grid options the services read; the host answers them as they are at the time of the call.
struct TGridDataOptions {
  // The save range: fixed rows and columns (or only one of the two) are saved too.
  bool SaveFixedCells = true, SaveFixedRows = false, SaveFixedCols = false;
  // Hidden columns are written too, addressed by their real index.
  bool SaveHiddenCells = false;
  // SaveCell: the displayed (formatted) text instead of the stored text; HTML kept; RTF kept.
  bool SaveVirtCells = true, SaveWithHTML = true, SaveWithRTF = false;
  // Line breaks inside cells survive imports (and split cells into lines in the aligned layout).
  bool Multilinecells = false;
  // CSV: the field separator (0: "," when writing, detected when reading) and its dialect.
  QChar Delimiter{0};
  // CSV: the character that quotes fields (a double quote unless a caller names another).
  QChar Quote{u'"'};
  bool AlwaysQuotes = false, QuoteEmptyCells = true, JavaCSV = false, LoadFirstRow = true, OemConvert = false;

  bool SavesFixedCols() const { return SaveFixedCells || SaveFixedCols; }
  bool SavesFixedRows() const { return SaveFixedCells || SaveFixedRows; }
};

// How a cell looks in an export: colours as RGB (clNone: not set), the font and the alignment.
struct TExportLook {
  plat::TColor Background = plat::clNone, FontColor = plat::clNone;
  QString FontName = QStringLiteral("Tahoma");
  int FontSize = 8;
  bool Bold = false, Italic = false;
  plat::TAlignment Alignment = plat::taLeftJustify;
  TVAlignment VAlignment = vtaTop;
  bool WordWrap = false;
};

// The pictures a cell shows in an HTML page, each as JPEG bytes, and where they go relative to the text.
struct TExportPictures {
  QList<QByteArray> Jpegs;
  bool BeforeText = false;
};

class TGridDataHost {
 public:
  virtual ~TGridDataHost() = default;

  // ---- the grid
  virtual TCellGrid& CellStore() = 0;
  virtual int ColCount() const = 0;
  virtual int RowCount() const = 0;
  virtual void SetColCount(int Value) = 0;
  virtual void SetRowCount(int Value) = 0;
  virtual int FixedCols() const { return 0; }
  virtual int FixedRows() const { return 0; }
  virtual int FixedRightCols() const { return 0; }
  virtual int FixedFooters() const { return 0; }
  // Hidden columns keep their cells beyond the shown ones; DisplToRealCol maps a shown column to its store column.
  virtual int NumHiddenColumns() const { return 0; }
  virtual int DisplToRealCol(int ACol) const { return ACol; }
  // Sizes in pixels, by display index.
  virtual int ColWidth(int ACol) const = 0;
  virtual void SetColWidth(int ACol, int Value) = 0;
  virtual int RowHeight(int ARow) const = 0;
  virtual void SetRowHeight(int ARow, int Value) = 0;
  virtual TGridDataOptions DataOptions() const = 0;

  // ---- the per-cell road
  // The export text of a cell (real column): the displayed or stored text, check boxes as their check texts,
  // HTML and rich text as the options say, and last the grid's OnSaveCell.
  virtual void SaveCell(int ACol, int ARow, QString& Value) = 0;
  // True when SaveCell would give every cell of the row its stored text unchanged (no hook, display text or
  // formatting in the way): a bulk export may then read the store's texts itself, without a copy per cell.
  virtual bool SavesStoredTexts(int ARow) const { (void)ARow; return false; }
  // Stores an imported text (real column): OnLoadCell first, then the raw text, no merge mapping, no events.
  virtual void LoadCell(int ACol, int ARow, const QString& Value) = 0;
  // True when LoadCell stores the text as it is given (no hook changes it): a bulk import may then put its texts
  // into the store itself.
  virtual bool LoadsRawTexts() const { return false; }
  // Writes a cell's displayed text the way the grid's Cells does (merged cells write their base cell).
  virtual void WriteCell(int ACol, int ARow, const QString& Value) = 0;
  // The same for a text the caller gives up, which a host may take over without copying it.
  virtual void WriteCellMoved(int ACol, int ARow, QString&& Value) { WriteCell(ACol, ARow, Value); }

  // ---- notifications
  virtual void ExportNotification(TGridExportState AState, int ARow) { (void)AState, (void)ARow; }
  virtual bool HasFileProgress() const { return false; }
  virtual void FileProgress(int Percent) { (void)Percent; }
  virtual void CellsChanged(plat::TRect R) { (void)R; }
  virtual void AllCellsChanged() {}
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}

  // ---- what single services need
  // The horizontal alignment a cell is drawn with (real column); the aligned text layout follows it.
  virtual plat::TAlignment CellAlignment(int ACol, int ARow) { (void)ACol, (void)ARow; return plat::taLeftJustify; }
  // A token telling this grid from others in a binary stream (a paste can tell it comes from the same grid).
  virtual qint32 GridID() const { return 0; }
  // Empties every cell (texts and properties); counts and sizes stay.
  virtual void ClearCells() = 0;
  // A new cell object on the cell (real column), replacing one it had.
  virtual TCellGraphic* CreateCellGraphic(int ACol, int ARow) = 0;
  // Pictures of cells travel in the binary stream as bytes the host makes and reads (bitmaps, icons and
  // pictures need the window system). False: the host does not carry this cell object's picture, and the cell
  // object is left out of the stream.
  virtual bool SaveGraphicPayload(const TCellGraphic& Graphic, QByteArray& Data) { (void)Graphic, (void)Data; return false; }
  // Makes the picture of a read cell object (real column) from its bytes; false when they do not make one.
  virtual bool LoadGraphicPayload(int ACol, int ARow, TCellGraphic& Graphic, const QByteArray& Data) {
    (void)ACol, (void)ARow, (void)Graphic, (void)Data;
    return false;
  }
  // After a binary stream was read: the grid recounts its node rows.
  virtual void BinaryLoaded() {}
  // The highest row count the grid has had (the CSV reader sets it after trimming).
  virtual void SetMaxRowCount(int Value) { (void)Value; }
  // Whether the floating footer row is shown (the CSV insert keeps it below the inserted rows).
  virtual bool FloatingFooterVisible() const { return false; }

  // ---- the HTML page
  // A fixed cell (display column): fixed rows and columns, footer rows and right columns.
  virtual bool IsFixedCell(int ACol, int ARow) const;
  // The look of a cell (real column) as the export draws it.
  virtual void ExportCellLook(int ACol, int ARow, TExportLook& Look) { (void)ACol, (void)ARow, (void)Look; }
  // The pictures of a cell (real column) for the page; the host may change the text the cell shows with them
  // (a data image shows no text, a node cell a "+" before it).
  virtual void ExportCellPictures(int ACol, int ARow, QString& Text, TExportPictures& Pictures) {
    (void)ACol, (void)ARow, (void)Text, (void)Pictures;
  }
};

// The cells the exports cover, from the counts and the options: the fixed parts only when they are saved.
struct TSaveRange {
  int StartCol = 0, EndCol = -1, StartRow = 0, EndRow = -1;
  int ColCount() const { return EndCol - StartCol + 1; }
  int RowCount() const { return EndRow - StartRow + 1; }
};
TSaveRange SaveRangeOf(const TGridDataHost& Host, const TGridDataOptions& Options);

// Rounds half to even, as every percentage and layout value of the services does.
inline int RoundEven(double Value) { return static_cast<int>(std::nearbyint(Value)); }

// Progress in whole per cent, fired only when the value changes; silent without a handler.
class TProgress {
 public:
  explicit TProgress(TGridDataHost& Host) : FHost(Host), FEnabled(Host.HasFileProgress()) {}
  bool Enabled() const { return FEnabled; }
  // Done of Total (Total below 1 counts as 1).
  void Report(double Done, double Total) {
    if (!FEnabled) return;
    const int p = RoundEven(Done / (Total < 1 ? 1 : Total) * 100);
    if (p == FLast) return;
    FLast = p;
    FHost.FileProgress(p);
  }

 private:
  TGridDataHost& FHost;
  bool FEnabled;
  int FLast = -1;
};

// The notifications of one export: start at construction, NextRow before each row, done at Finish.
class TExportRun {
 public:
  TExportRun(TGridDataHost& Host, int FirstRow) : FHost(Host) { Host.ExportNotification(esExportStart, FirstRow); }
  void NextRow(int ARow) { FHost.ExportNotification(esExportNextRow, ARow); }
  void Finish() { FHost.ExportNotification(esExportDone, -1); }

 private:
  TGridDataHost& FHost;
};

// An update bracket of the host for a scope.
class THostUpdate {
 public:
  explicit THostUpdate(TGridDataHost& Host) : FHost(Host) { Host.BeginUpdate(); }
  ~THostUpdate() { FHost.EndUpdate(); }
  THostUpdate(const THostUpdate&) = delete;
  THostUpdate& operator=(const THostUpdate&) = delete;

 private:
  TGridDataHost& FHost;
};

// The end of every text import: the whole grid changed.
void NotifyCellsLoaded(TGridDataHost& Host);

}  // namespace grid
