#pragma once
// The grid's clipboard: copy, cut and paste of cells as plain text (fields by TAB, lines by CR LF), HTML, rich
// text and the grid's own cell format (the binary grid stream), and the smart paste that fills a selection or
// continues a series. The text paste core also serves text drops.
//
// TGridClipboard owns the clipboard state of one grid and sees the grid only through TClipboardHost; the system
// clipboard is reached through the host too (ReadClipboard / WriteClipboard), so the whole logic runs and is
// tested without a window system.
//
// Coordinates: ACol is a display column unless a parameter says "real column"; rectangles are cell rectangles
// with Right and Bottom inclusive.

#include <QByteArray>
#include <QString>

#include "grid/data/grid_data_host.h"
#include "grid/data/html_export.h"
#include "grid/model/gridtypes.h"

namespace grid {

class TExtGridUndoRedo;

enum TClipOperation : int { coCut, coCopy };

// What the clipboard holds, or is to hold: one entry per format, each present or not.
struct TClipboardContent {
  bool HasText = false, HasHTML = false, HasRTF = false, HasCells = false;
  QString Text;
  QString HTML;
  // Rich text as 8-bit characters, without a terminating zero.
  QByteArray RTF;
  // A binary grid stream.
  QByteArray Cells;
};

// The options the clipboard reads, as they are at the time of the call.
struct TClipboardOptions {
  bool AllowFmtClipboard = false, AllowRTFClipboard = false, AllowSmartClipboard = false;
  bool AllowClipboardAlways = false, AllowClipboardRowGrow = true, AllowClipboardColGrow = true;
  TClipboardPasteAction ClipboardPasteAction = paReplace;
  bool CopyHTMLTagsToClipboard = true, ExcelClipboardFormat = false, Multilinecells = false;
  bool DisjunctRowSelect = false, DisjunctColSelect = false, RangeSelectAndEdit = false;
  bool ShowModified = false, Editing = false, RowSelect = false;
  // Grid properties the series and the check boxes use.
  QString FloatFormat = QStringLiteral("%g");
  QString CheckTrue = QStringLiteral("Y"), CheckFalse = QStringLiteral("N");
};

class TClipboardHost {
 public:
  virtual ~TClipboardHost() = default;

  // ---- the grid: counts, save range, SaveCell and the binary stream go through the data host
  virtual TGridDataHost& Data() = 0;
  virtual TClipboardOptions ClipOptions() const = 0;
  virtual plat::TRect Selection() const = 0;
  virtual void SetSelection(plat::TRect R) = 0;
  virtual void SetCurrentCell(int ACol, int ARow) { (void)ACol, (void)ARow; }
  // The merged area a display cell belongs to (the cell itself when it is not merged).
  virtual plat::TRect MergedArea(int ACol, int ARow) const { return plat::TRect(ACol, ARow, ACol, ARow); }
  // Selection flags of a disjunct selection (the host looks rows up at the real row when it keeps them there).
  virtual bool RowSelected(int ARow) const { (void)ARow; return false; }
  virtual bool ColSelected(int ACol) const { (void)ACol; return false; }
  // The rows of the floating footer (style 0) keep the last row out of a paste's growth.
  virtual bool FloatingFooterRow() const { return false; }

  // ---- cells (real column)
  virtual QString CellText(int ACol, int ARow) = 0;
  virtual void SetCellText(int ACol, int ARow, const QString& Value) = 0;
  virtual bool IsEditable(int ACol, int ARow) = 0;
  // The cell's text without its HTML tags; the plain text of a rich text.
  virtual QString StrippedCell(int ACol, int ARow) { return CellText(ACol, ARow); }
  virtual QString RichToPlain(const QString& RTF) { return RTF; }
  virtual bool IsCheckCell(int ACol, int ARow) { (void)ACol, (void)ARow; return false; }
  virtual bool CheckState(int ACol, int ARow) { (void)ACol, (void)ARow; return false; }
  // Sets the check state with the check-change notification.
  virtual void SetCheckStateNotify(int ACol, int ARow, bool Value) { (void)ACol, (void)ARow, (void)Value; }
  virtual void RepaintCell(int ACol, int ARow) { (void)ACol, (void)ARow; }
  virtual void Repaint() {}
  virtual bool HasHiddenColumns() { return Data().NumHiddenColumns() > 0; }
  virtual void SetRowModified(int ARow) { (void)ARow; }
  virtual void InsertRows(int ARow, int Count) = 0;
  // Empties every cell of a row (display row) or a column (display column).
  virtual void ClearRow(int ARow);
  virtual void ClearCol(int ACol);
  // Frees the cell properties of a rectangle (display columns).
  virtual void FreeCellProperties(plat::TRect R) { (void)R; }
  virtual TExtGridUndoRedo* UndoRedo() { return nullptr; }

  // ---- events
  // Wide: the text is of a wide-encoded cell (the wide events fire).
  virtual void BeforePasteCell(int ACol, int ARow, QString& Value, bool& Allow, bool Wide) {
    (void)ACol, (void)ARow, (void)Value, (void)Allow, (void)Wide;
  }
  virtual void AfterPasteCell(int ACol, int ARow, const QString& Value, bool Wide) {
    (void)ACol, (void)ARow, (void)Value, (void)Wide;
  }
  virtual void ImportNotification(TGridImportState AState, int ARow) { (void)AState, (void)ARow; }
  // OnCellsChanged after a cut (display rectangle).
  virtual void CellsChangedEvent(plat::TRect R) { (void)R; }

  // ---- the paste hooks (descendants of the grid override them; the defaults are the clipboard's own)
  virtual void PasteCell(int ACol, int ARow, const QString& Value) = 0;
  virtual void BeginPaste() {}
  virtual void EndPaste() {}
  virtual void PasteDone(plat::TPoint FromTopLeft, plat::TRect ToRect, TClipOperation Operation) = 0;
  virtual bool CanPasteCells() { return ClipOptions().AllowFmtClipboard; }

  // ---- the system clipboard and what goes on it
  virtual TClipboardContent ReadClipboard() = 0;
  virtual void WriteClipboard(const TClipboardContent& Content) = 0;
  // The settings of the grid's HTML page.
  virtual THTMLOptions HTMLOptions() = 0;
};

// The size of a tab-separated text: the widest line in fields, and the rows it adds beyond the first (the lines
// that end with a line break less the empty lines).
struct TTextSize {
  int Cols = 0, Rows = 0;
};
TTextSize TextSize(const QString& Text);

class TGridClipboard {
 public:
  explicit TGridClipboard(TClipboardHost& Host) : FHost(Host) {}

  // ---- copy and cut
  // The text of rectangle R (display columns); Disjunct leaves out rows and columns that are not selected
  // when the selection is disjunct.
  QString SelectionText(plat::TRect R, bool Disjunct);
  QString GetSelectionAsText() { return SelectionText(FHost.Selection(), false); }
  // Puts R on the clipboard as text, rich text (cell R.Left, R.Top) and the grid's cells, as the options say.
  void CopyRect(plat::TRect R, bool Disjunct);
  void CopyToClipBoard();
  void CopySelectionToClipboard();
  // The grid as an HTML page. Its pictures go to a private temporary folder that is removed afterwards, never
  // into the working folder.
  void CopyToClipBoardAsHTML();
  void CutToClipboard();
  void CutSelectionToClipboard();

  // ---- paste
  // The text paste core: Text from (ACol, ARow) on. Lines and Fields receive the lines and the fields of the
  // last line handled; the result is the number of fields handled.
  int TextPaste(int ACol, int ARow, const QString& Text, int& Lines, int& Fields);
  // The clipboard at (ACol, ARow): the grid's cells, else rich text, else text; the number of cells pasted.
  int ClipboardPaste(int ACol, int ARow, int& Lines, int& Fields);
  void PasteFromClipboard();
  void PasteSelectionFromClipboard();
  // Places a TAB and CR LF separated text at the selection's top-left, without events and editability test.
  void SetSelectionAsText(const QString& Value);
  // PasteCell's default: stores a pasted value (a check box takes Value = CheckTrue as its state).
  void StorePastedCell(int ACol, int ARow, const QString& Value);
  // PasteDone's default: with ShowModified the rows of ToRect get their modified flag.
  void MarkPastedRows(plat::TRect ToRect);

  plat::TPoint ClipTopLeft() const { return FClipTopLeft; }
  TClipOperation LastOperation() const { return FClipLastOp; }
  bool PasteAll() const { return FPasteAll; }

 private:
  // The copied text of a cell (real column).
  QString CopyCellText(int ARealCol, int ARow, const TClipboardOptions& O);
  bool ColIncluded(int ACol, bool Disjunct, const TClipboardOptions& O) const;
  bool RowIncluded(int ARow, bool Disjunct, const TClipboardOptions& O) const;
  plat::TRect WidenedSelection();
  void PasteOneField(int ACol, int ARow, QStringView Text, bool Breaks, const TClipboardOptions& O,
                     plat::TPoint& Reached);
  int PasteCells(int ACol, int ARow, const QByteArray& Cells, int& Lines, int& Fields, const TClipboardOptions& O);
  // Smart paste steps.
  void FillSelection(plat::TRect S, const TClipboardOptions& O);
  // A date, number or integer series; false when the two values make none.
  bool ContinueSeries(plat::TRect S, const TClipboardOptions& O);
  void RepeatBlock(plat::TRect S, const TClipboardOptions& O);
  // Writes one value of a series or fill into a cell: before-event (not at the top-left), PasteCell,
  // PasteDone of that cell, after-event. Answers whether the cell was written.
  bool SeriesCell(plat::TRect S, int ACol, int ARow, const QString& Value, bool EventsAlways);
  bool CellWritable(int ACol, int ARow, const TClipboardOptions& O);

  TClipboardHost& FHost;
  plat::TPoint FClipTopLeft{-1, -1};
  TClipOperation FClipLastOp = coCopy;
  bool FPasteAll = false;
  // The cells the last paste covered (the block a smart paste repeats).
  plat::TRect FPastedBlock;
};

}  // namespace grid
