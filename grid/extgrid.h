#pragma once
// TExtStringGrid: the full string grid the program's windows place on their forms. It is a facade: it owns
// the option objects and the collaborators that hold the behaviour (hiding, typed cells, cell looks,
// selection, cell operations, cell entry), keeps the grid-level properties and their writers, forwards to the
// collaborators, and carries every event as a slot in the section it belongs to.
//
// Events marked "raised by later work" are in place for the painting, input, editor, printing, data and drag
// code that fires them; the grid itself raises the others. Indexes are display columns and display rows
// unless the member says "real".

#include <QString>

#include <memory>
#include <set>

#include "grid/autosize.h"
#include "grid/basegrid.h"
#include "grid/cell_ops.h"
#include "grid/data/find.h"
#include "grid/edit/cell_entry.h"
#include "grid/edit/edit_host.h"
#include "grid/edit/edit_manager.h"
#include "grid/extgrid_data.h"
#include "grid/extgrid_events.h"
#include "grid/extgrid_hosts.h"
#include "grid/extgrid_objects.h"
#include "grid/extobj.h"
#include "grid/grid_events.h"
#include "grid/grid_sizing.h"
#include "grid/hiding.h"
#include "grid/input/grid_dnd_grid.h"
#include "grid/input/header_clicks.h"
#include "grid/input/html_forms.h"
#include "grid/input/input_host.h"
#include "grid/input/input_keys.h"
#include "grid/input/input_mouse.h"
#include "grid/input/scrolling.h"
#include "grid/model/cell_objects.h"
#include "grid/model/filter_conditions.h"
#include "grid/model/intlist.h"
#include "grid/model/options.h"
#include "grid/model/row_col_ops.h"
#include "grid/row_nodes.h"
#include "grid/selection.h"
#include "grid/typed_cells.h"
#include "grid/view/cell_graphic_size.h"
#include "grid/view/cell_looks.h"
#include "grid/view/footer.h"
#include "grid/view/options_look.h"
#include "grid/view/render_grid.h"
#include "grid/view/render_looks.h"

class QPrinter;

namespace controls {
class TExtStringGridCheck;
}
namespace plat {
class TListBox;
class TStream;
}


namespace grid {

// The clipboard part (extgrid_clipboard.cpp).
class TGridClipboard;
class TClipboardPart;
struct TClipboardPartDeleter {
  void operator()(TClipboardPart* P) const;
};
enum TClipOperation : int;

class TExtStringGrid;
class TGridFilterPart;
class TGridSpin;
class TGridCombo;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridCheckBox;
class TGridButton;
class TGridDatePicker;
class TGridDateTimePicker;
class TBalloonTipWindow;
class TGridFocusWindow;
class TExtRichEdit;
class THTMLHintWindow;
class TSearchPanel;
class TGridFindArea;
class TGridPrintPart;


// Told when the current cell moves (one listener at a time).
class ITExtStringGridSelect {
 public:
  virtual ~ITExtStringGridSelect() = default;
  virtual void SelectionChanged(TExtStringGrid* Grid, int ACol, int ARow) = 0;
};

// Told about every changed cell rectangle (any number registered).
class TGridChangeNotifier : public plat::TObject {
 public:
  virtual void CellsChanged(TExtStringGrid* Grid, plat::TRect R) { (void)Grid, (void)R; }
};

class TExtStringGrid : public TRenderGrid, public TExtGridEvents, private TInputHost, private TEditHost,
                       private TGraphicSizeHost {

 public:
  explicit TExtStringGrid(plat::TComponent* AOwner);
  ~TExtStringGrid() override;
  TExtStringGrid(const TExtStringGrid&) = delete;
  TExtStringGrid& operator=(const TExtStringGrid&) = delete;

  // Counts the update lock for its lifetime and puts back the count it found, so that an inner bracket of the
  // grid's own never cancels a caller's lock.
  class TUpdateGuard {
   public:
    explicit TUpdateGuard(TExtStringGrid& Grid);
    ~TUpdateGuard();
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

   private:
    TExtStringGrid& FGrid;
    int FCount;
  };

  // Only from another TExtStringGrid: settings, counts, sizes, headers, then the cells. Anything else: nothing.
  void Assign(plat::TPersistent* Source) override;
  // Copies the cells, properties and hidden rows of another TExtStringGrid (nothing from anything else).
  virtual void AssignCells(plat::TPersistent* Source);
  // After the form is read: headers, minimums, recorded sizes and order.
  void Loaded() override;
  bool IsLoaded() const;
  // Update bracket: cell look writers leave their repaint to the end of the outermost bracket.
  // Update bracket: the window's redraw is off while the count is above 0, and the grid is painted once when
  // it returns to 0. The count is kept whether or not the grid is shown, so a bracket never stays open.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const;
  // The lighter pair: count only, no redraw switch; ResetUpdate sets the count to 0 whatever it was.
  void StartUpdate();
  void ResetUpdate();
  // Forgets the fixed-cell sizing flags and the hovered fixed cell (repainting it).
  void ResetFixedCellHighlight();
  // Whether a fixed cell lights up under the mouse (by HoverFixedCells).
  bool IsHoverFixedCell(int ACol, int ARow) const;
  // Handlers given to the editors: the ellipsis of an edit-button editor (OnEllipsClick may change S), the
  // header and footer buttons of drop-down editors, the memo drop-down's text (written as typed).
  virtual QString DoEllipsisClick(QString S);
  void DropDownHeaderButtonClicked(plat::TObject* Sender, int ButtonIndex);
  void DropDownFooterButtonClicked(plat::TObject* Sender, int ButtonIndex);
  void MemoEditorChanged(plat::TObject* Sender);
  bool LockUpdate() const;
  void SetLockUpdate(bool Value);
  // Skipped once right after the select-cell rule switched the editing option (that change repainted).
  void Invalidate();
  void InvalidateGrid() override;
  // Repaints the footer panel.
  void UpdateFooter();
  // The cell under a screen point (-1, -1 outside the cells).
  void ScreenToCell(plat::TPoint pt, int& ACol, int& ARow);
  static constexpr int VersionNr = 100794627;
  virtual int GetVersionNr() const;
  virtual QString GetVersionString() const;
  QString Version() const;

  // ======== cells
  // Typed access (display row, real column) and access by real row.
  int Ints(int ACol, int ARow);
  void SetInts(int ACol, int ARow, int Value);
  double Floats(int ACol, int ARow);
  void SetFloats(int ACol, int ARow, double Value);
  plat::TDateTime Dates(int ACol, int ARow);
  void SetDates(int ACol, int ARow, plat::TDateTime Value);
  plat::TDateTime Times(int ACol, int ARow);
  void SetTimes(int ACol, int ARow, plat::TDateTime Value);
  QString StrippedCells(int ACol, int ARow);
  int LinesInCell(int ACol, int ARow);
  QString AllCells(int ACol, int ARow);
  void SetAllCells(int ACol, int ARow, const QString& Value);
  QString AllGridCells(int ACol, int ARow);
  void SetAllGridCells(int ACol, int ARow, const QString& V);
  int AllInts(int ACol, int ARow);
  void SetAllInts(int ACol, int ARow, int Value);
  double AllFloats(int ACol, int ARow);
  void SetAllFloats(int ACol, int ARow, double Value);
  // Wide strings are the cell texts themselves here.
  QString WideCells(int ACol, int ARow);
  void SetWideCells(int ACol, int ARow, const QString& Value);
  QString AllWideCells(int ACol, int ARow);
  void SetAllWideCells(int ACol, int ARow, const QString& Value);
  // The user object of a cell by real row (a hidden row's is kept in its record).
  plat::TObject* AllObjects(int ACol, int ARow);
  void SetAllObjects(int ACol, int ARow, plat::TObject* Value);
  // By the column's place in the recorded column order, and by the row's place before sorting.
  QString OriginalCells(int ACol, int ARow);
  void SetOriginalCells(int ACol, int ARow, const QString& Value);
  QString UnSortedCells(int ACol, int ARow);
  void SetUnSortedCells(int ACol, int ARow, const QString& Value);
  // The row a display row had before sorting (a real row), and the other way round.
  int SortedRowIndex(int ARow) const;
  int UnSortedRowIndex(int ARow) const;
  // The VALUE of the form control with this ID in the cell's text (empty without one); the write changes
  // the cell only when the control is there.
  QString ControlValues(int ACol, int ARow, const QString& ID);
  void SetControlValues(int ACol, int ARow, const QString& ID, const QString& Value);
  QString FloatFormat() const;
  void SetFloatFormat(const QString& Value);
  bool ShowNullDates() const;
  void SetShowNullDates(bool Value);
  // Headers, fills, swaps.
  plat::TStringList* ColumnHeaders();
  void SetColumnHeaders(plat::TStrings* Value);
  plat::TStringList* RowHeaders();
  void SetRowHeaders(plat::TStrings* Value);
  void TextFill(bool DoFixed, const QString& Txt);
  void FormatFill(bool DoFixed, const QString& Fmt);
  void RandomFill(bool DoFixed, int Rnd);
  void LinearFill(bool DoFixed);
  void SwapCells(plat::TPoint FromCell, plat::TPoint ToCell);
  // The current cell (RealCol, Row): raw read, Cells write.
  QString CurrentCell();
  void SetCurrentCellText(const QString& Value);
  // The same read through Cells; the write goes the way typing goes (the platform's set-edit-text).
  QString CurrentEditText();
  void SetCurrentEditText(const QString& Value);
  plat::TStringList* LookupItems();
  void SetLookupItems(plat::TStrings* Value);
  // Change notifications of cell ranges.
  // After the display-text event: web addresses anchored (URLShowInText), node headers with their count.
  void DecorateDisplText(int ACol, int ARow, QString& Value) override;
  virtual void CellsChanged(plat::TRect R);
  virtual void AllCellsChanged();
  virtual void ColumnCellsChanged(int ACol);
  void RegisterNotifier(TGridChangeNotifier* ANotifier);
  void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
  // Recalculates the floating footer of a column (-1: every column; nothing while the footer is hidden).
  virtual void CalcFooter(int ACol);
  virtual void CalcFooterColumns(int ACol);
  // Cell ranges the file, clipboard and export code take.
  bool SaveFixedCells = true, SaveFixedRows = false, SaveFixedCols = false, SaveHiddenCells = false;
  bool SaveVirtCells = true, SaveWithHTML = true, QuoteEmptyCells = true, JavaCSV = false;
  QChar Delimiter{0};
  QString XMLEncoding = QStringLiteral("ISO-8859-1");
  bool AlwaysQuotes = false, LoadFirstRow = true, OemConvert = false, SaveWithRTF = false;
  int SaveStartCol() const;
  int SaveStartRow() const;
  int SaveEndCol() const;
  int SaveEndRow() const;
  int SaveColCount() const;
  int SaveRowCount() const;

  // ======== files and streams (grid/data): every cell goes out through SaveCell and comes in through LoadCell
  // The export text of a cell (real column): formatted or stored text, check boxes as their check texts, HTML and
  // rich text as SaveWithHTML and SaveWithRTF say, then OnSaveCell. LoadCell: OnLoadCell, then the raw text.
  virtual void SaveCell(int ACol, int ARow, QString& Value);
  virtual void LoadCell(int ACol, int ARow, const QString& Value);
  TGridDataHost& DataHost();
  void SaveToFile(const QString& FileName, bool Unicode = false);
  void LoadFromFile(const QString& FileName);
  void SaveToStream(plat::TStream& Stream);
  void LoadFromStream(plat::TStream& Stream);
  void SaveToBinFile(const QString& FileName);
  void LoadFromBinFile(const QString& FileName);
  void SaveToBinStream(plat::TStream& Stream);
  void SaveRectToBinStream(plat::TRect Rect, plat::TStream& Stream);
  void LoadFromBinStream(plat::TStream& Stream);
  void LoadAtPointFromBinStream(plat::TPoint Point, plat::TStream& Stream);
  void SaveToCSV(const QString& FileName, bool Unicode = false);
  void AppendToCSV(const QString& FileName, bool Unicode = false);
  void LoadFromCSV(const QString& FileName, int MaxRows = 0);
  void InsertFromCSV(const QString& FileName, int MaxRows = 0);
  void LoadFromCSVStream(plat::TStream& Stream, int MaxRows = 0);
  void SaveToFixed(const QString& FileName, TIntList& Positions);
  void LoadFromFixed(const QString& FileName, TIntList& Positions, bool DoTrim = true, int MaxRows = -1);
  // The hourglass shows while the aligned text is written.
  void SaveToASCII(const QString& FileName, bool Unicode = false);
  void AppendToASCII(const QString& FileName, bool Unicode = false);
  // The displayed text as a number (0 for an empty cell); EExtGridError "Error at position: <p> in Cell [c, r]."
  double CellToReal(int ACol, int ARow);

  // ======== counts, fixed parts and sizes
  void SetRowCount(int Value);
  void SetColCount(int Value);
  // With FixedRowAlways / FixedColAlways reads answer at least 1 and writes are held below the count.
  int FixedRows() const;
  void SetFixedRows(int Value);
  int FixedCols() const;
  void SetFixedCols(int Value);
  bool FixedRowAlways() const;
  void SetFixedRowAlways(bool Value);
  bool FixedColAlways() const;
  void SetFixedColAlways(bool Value);
  int FixedFooters() const;
  void SetFixedFooters(int Value);
  int FixedRightCols() const;
  void SetFixedRightCols(int Value);
  void SetDefaultRowHeight(int Value);
  int FixedRowHeight() const;
  void SetFixedRowHeight(int Value);
  int FixedColWidth() const;
  void SetFixedColWidth(int Value);
  int MinFixedRows() const;
  int MinFixedCols() const;
  int MaxRowCountSet() const;
  int MaxColCountSet() const;
  int ZoomFactor = 0, MinRowHeight = 0, MaxRowHeight = 0, MinColWidth = 0, MaxColWidth = 0;
  // Column order and first widths.
  void InitOrigColSizes();
  int OrigColSize(int ACol) const;
  void SetColumnOrder();
  void ResetColumnOrder();
  int ColumnPosition(int ACol) const;
  int ColumnAtPosition(int P);
  int ColumnByHeader(const QString& AValue);
  // Stretching: index -1 is the last column; an index at or above ColCount raises EExtGridError.
  void StretchColumn(int Index);
  void StretchRightColumn();
  bool IsOnSizingBorder(int X, int Y) const;
  // With IntegralHeight the window height is trimmed to whole rows.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetIntegralHeight(bool Value);
  // The width a column the user or autosizing sized may take (OnUpdateColumnSize).
  virtual void UpdateColSize(int ACol, int& AWidth);
  virtual void UpdateAutoColSize(int ACol, int& AWidth);
  // Widths and offsets of the last print layout, 512 entries; "Columns is not in valid range" outside.
  int GetPrintColWidth(int ACol) const;
  int GetPrintColOffset(int ACol) const;
  void SetPrintColumn(int ACol, int Width, int Offset);
  // -1 ungroups, a column above 0 groups by it, 0 does nothing.
  int GroupColumn() const;
  void SetGroupColumn(int Value);

  // ======== sizing to contents, fitting and numbering (display indexes)
  // Also the double-click on a header border.
  virtual void AutoSizeCol(int ACol, int Padding = 0);
  void AutoSizeColumns(bool DoFixedCols, int Padding = 0);
  void AutoSizeRow(int ARow, int Padding = 0);
  void AutoSizeRows(bool DoFixedRows, int Padding = 0);
  void AutoSizeCells(bool DoFixedCells, int PaddingX = 0, int PaddingY = 0);
  void AutoFitColumns(bool DoFixedCells);
  void SizeToCols();
  void SizeToRows();
  void SizeToCells();
  void AutoNumberCol(int ACol);
  void AutoNumberRow(int ARow);
  TGridAutoSize& AutoSizing();
  bool SizeGrowOnly = false;
  int AutoNumberStart = 0, AutoNumberOffset = 0;
  TSortDirection AutoNumberDirection = sdAscending;

  // ======== row nodes, expandable cells and grouping (see TGridNodes; rows named real are real rows)
  // (ExpandNode, ContractNode, ExpandAll, ContractAll, HasExpand and ToggleExpand stand with the mouse's.)
  void AddNode(int ARowReal, int Span);
  void AddSummary(int ARowReal);
  void RemoveNode(int ARowReal);
  void RemoveAllNodes();
  bool IsNode(int ARow) const;
  bool IsSummary(int ARow) const;
  int NumNodes() const;
  bool NodeState(int ARow) const;
  void SetNodeState(int ARow, bool Contracted);
  int GetNodeLevel(int ARow) const;
  int GetNodeSpan(int ARow) const;
  void SetNodeSpan(int ARow, int Span);
  void UpdateNodeSpan(int ARow, int Delta);
  int GetSubNodeCount(int ARow) const;
  void UpdateSubNodeCount(int ARow, int Delta);
  int GetNodeSpanType(int ARow) const;
  int GetParentRow(int ARow) const;
  void ExpandNodeRows(int ARowReal);
  void InsertNormalRow(int ARowReal);
  void RemoveNormalRow(int ARow);
  void InsertChildRow(int ARowReal, int InsertAt);
  void RemoveChildRow(int ARowReal);
  void AddExpand(int ACol, int ARow, int ExpandedHeight);
  void RemoveExpand(int ACol, int ARow);
  bool GetExpandState(int ACol, int ARow) const;
  int GetExpandHeight(int ACol, int ARow, bool Expanded) const;
  virtual void Group(int Colindex);
  virtual void UnGroup();
  virtual void SubGroup(int Colindex);
  virtual void SubUnGroup(int Colindex);
  bool IsGrouping() const;
  void GroupSum(int ACol);
  void GroupAvg(int ACol);
  void GroupMin(int ACol);
  void GroupMax(int ACol);
  void GroupCount(int ACol);
  void GroupCustomCalc(int ACol);
  void GroupDistinct(int ACol);
  void GroupStdDev(int ACol);
  bool NodeCollapsed(int ARow) override;

  // ======== drag and drop (display indexes)
  // Drags the selection, or with ColumnDrag the column ACol, through the drag loop.
  TDragResult StartOleDrag(int ACol, int ARow, bool ColumnDrag);
  TGridDragDrop& DragDrop();

  // ======== looks
  plat::TColor Colors(int i, int j) const;
  void SetColors(int i, int j, plat::TColor V);
  plat::TColor ColorsTo(int i, int j) const;
  void SetColorsTo(int i, int j, plat::TColor V);
  TCellGradientDirection Gradients(int i, int j) const;
  void SetGradients(int i, int j, TCellGradientDirection V);
  plat::TColor FontColors(int i, int j) const;
  void SetFontColors(int i, int j, plat::TColor V);
  plat::TFontStyles FontStyles(int i, int j) const;
  void SetFontStyles(int i, int j, plat::TFontStyles V);
  int FontSizes(int i, int j) const;
  void SetFontSizes(int i, int j, int V);
  QString FontNames(int i, int j) const;
  void SetFontNames(int i, int j, const QString& V);
  const plat::TFont& Fonts(int i, int j);
  void SetFonts(int i, int j, const plat::TFont& V);
  plat::TAlignment Alignments(int i, int j) const;
  void SetAlignments(int i, int j, plat::TAlignment V);
  bool ReadOnly(int i, int j) const;
  void SetReadOnly(int i, int j, bool V);
  bool WordWraps(int i, int j);
  void SetWordWraps(int i, int j, bool V);
  void SetRowColor(int i, plat::TColor C);
  void SetRowColorTo(int i, plat::TColor C);
  void SetRowFontColor(int i, plat::TColor C);
  int AllColWidths(int ACol) const;
  void SetAllColWidths(int ACol, int V);
  // Grid-level looks: the writers store and repaint when the value changes. The look, the selection colours
  // and the switches the renderer reads live in its settings, so that what is set is what is painted.
  using TRenderGrid::Look;
  using TRenderGrid::SetLook;
  plat::TColor SelectionColor() const;
  void SetSelectionColor(plat::TColor V);
  plat::TColor SelectionColorTo() const;
  void SetSelectionColorTo(plat::TColor V);
  plat::TColor SelectionMirrorColor() const;
  void SetSelectionMirrorColor(plat::TColor V);
  plat::TColor SelectionMirrorColorTo() const;
  void SetSelectionMirrorColorTo(plat::TColor V);
  plat::TColor SelectionTextColor() const;
  void SetSelectionTextColor(plat::TColor V);
  bool SelectionColorMixer() const;
  void SetSelectionColorMixer(bool V);
  int SelectionColorMixerFactor() const;
  void SetSelectionColorMixerFactor(int Value);  // held to 0 .. 100
  bool SelectionRectangle() const;
  void SetSelectionRectangle(bool V);
  bool SelectionResizer() const;
  void SetSelectionResizer(bool V);
  bool ShowSelection() const;
  void SetShowSelection(bool Value);
  bool ShowDesignHelper() const;
  void SetShowDesignHelper(bool V);
  plat::TAlignment DefaultAlignment() const;
  void SetDefaultAlignment(plat::TAlignment V);
  plat::TColor HighlightColor() const;
  void SetHighlightColor(plat::TColor V);
  plat::TColor HighlightTextColor() const;
  void SetHighlightTextColor(plat::TColor V);
  bool ActiveCellShow() const;
  void SetActiveCellShow(bool V);
  plat::TColor ActiveCellColor() const;
  void SetActiveCellColor(plat::TColor V);
  plat::TColor ActiveCellColorTo() const;
  void SetActiveCellColorTo(plat::TColor V);
  plat::TFont* ActiveCellFont();
  void SetActiveCellFont(plat::TFont* Value);
  plat::TFont* FixedFont();
  void SetFixedFont(plat::TFont* Value);
  plat::TColor BorderColor() const;
  void SetBorderColor(plat::TColor Value);
  bool Flat() const;
  void SetFlat(bool Value);
  bool WordWrap() const;
  void SetWordWrap(bool Value);
  TVAlignment VAlignment() const;
  void SetVAlignment(TVAlignment Value);
  // The vertical text flag drawing uses: top 0, centre 4, bottom 8.
  int VAlignFlag() const;
  plat::TPoint XYOffset() const;
  void SetXYOffset(plat::TPoint Value);
  void UpdateXYOffset(int X, int Y);
  bool XYOffsetTopLeftOnly = false;
  plat::TColor ExtGradientFrom() const;
  plat::TColor ExtGradientTo() const;
  plat::TColor ExtGradientMirrorFrom() const;
  plat::TColor ExtGradientMirrorTo() const;
  void SetExtGradient(int Index, plat::TColor Value);  // 0 From, 1 To, 2 MirrorFrom, 3 MirrorTo
  plat::TBitmap* RowIndicator();
  void SetRowIndicator(plat::TBitmap* Value);
  plat::TColor HintColor = plat::clInfoBk, DisabledFontColor = plat::clSilver, URLColor = plat::clBlue;
  // Web addresses: shown as links (URLShow, URLFull: with their scheme), or anchored inside any text.
  bool URLShow() const;
  void SetURLShow(bool V);
  bool URLShowInText() const;
  void SetURLShowInText(bool V);
  bool URLFull() const;
  void SetURLFull(bool V);
  void SetURLColor(plat::TColor V);
  bool Hovering = false, EnableHTML = true, EnableWheel = true, IntelliZoom = true, EnhRowColMove = true;
  bool UseInternalHintClass = true, AutoNumAlign = false, AnchorHint = false, AutoSize = false;
  bool AutoThemeAdapt = false, VCLStyle = false;
  bool UsesVCLStyle() override;
  bool IntegralHeight = false;  // write through SetIntegralHeight to apply the bounds again
  THoverFixedCells HoverFixedCells = hfNone;
  THintShowLargeText HintShowLargeTextPos = hpCell;
  TMouseSelectMode MouseSelectMode = msNormal;
  // Scroll bars.
  TScrollType ScrollType = ssNormal;
  TScrollBarAlways ScrollBarAlways = saNone;
  plat::TColor ScrollColor = plat::clNone;
  int ScrollWidth = 17;
  bool ScrollProportional = false, ScrollSynch = false;
  TScrollHintType ScrollHints = shNone;
  // Alignment and word wrap a cell is drawn with, after the properties, number alignment and events.
  void GetCellAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA);
  // Cell properties get the grid's colours, font and alignment, but no brush in fixed, banded or selected cells.
  void GetDefaultCellProperties(int ACol, int ARow, plat::TFont* AFont, plat::TBrush* ABrush,
                                plat::TColor& AColorTo, plat::TColor& AMirrorColor, plat::TColor& AMirrorColorTo,
                                plat::TAlignment& HA, TVAlignment& VA, bool& WW,
                                TCellGradientDirection& GD) override;

  // ======== merging
  // Columns kept merged: a change of the list splits every column and merges the listed ones again.
  TIntList* MergedColumns();
  void RemergeColumns();
  // Splits every merged area that starts in a column.
  void SplitAllColumnCells();
  // Merges runs of equal texts down the normal rows of a column; MainMerge false merges only inside the areas
  // of the column before it.
  virtual void MergeColumnCells(int ACol, bool MainMerge);

  // ======== hiding
  void HideColumn(int ACol);
  void HideColumns(int FromCol, int ToCol);
  void UnHideColumn(int ACol);
  void UnHideColumns(int FromCol, int ToCol);
  void UnHideColumnsAll();
  bool IsHiddenColumn(int ACol) const;
  int NumHiddenColumns() const;
  void HideRow(int ARow);
  void HideRows(int FromRow, int ToRow);
  void HideRowsEx(int FromRow, int ToRow);
  bool HideRowList(const TIntList& RowList);
  void UnHideRow(int ARow);
  void UnHideRows(int FromRow, int ToRow);
  void UnHideRowList();
  void UnHideRowsAll();
  bool IsHiddenRow(int ARow) const;
  int NumHiddenRows() const;
  int RealColIndex(int ACol) const;
  int DisplColIndex(int ACol) const;
  int RealRowIndex(int ARow) const;
  int DisplRowIndex(int ARow) const;
  int RealCol() const;
  int AllColCount() const;
  int AllRowCount() const;
  int TotalColCount() const;
  TIntList* IgnoreColumns();
  TGridHiding& Hiding();

  // ======== editing
  // The select-cell rule switches goEditing on and off per cell (see TCellEntry).
  void EditCell(int ACol, int ARow);
  // Runs the select-cell rule for the current cell again, so that the edit state follows the cell.
  void UpdateEditMode();
  TEditorType CurrentEditor() const;
  bool EditDisabled() const;
  TEditorType DefaultEditor = edNormal;
  int MaxEditLength() const;
  void SetMaxEditLength(int Value);
  QString CheckTrue = QStringLiteral("Y"), CheckFalse = QStringLiteral("N"), PasswordChar = QStringLiteral("*");
  QString InvalidEntryTitle, InvalidEntryText;
  TInvalidEntryIcon InvalidEntryIcon = ieWarning;
  bool SpreadSheet() const;
  void SetSpreadSheet(bool Value);
  // Dispatchers the editors, painting and input ask; each fires its event when assigned.
  virtual void CheckCellEditable(int ACol, int ARow, bool& CanEdit);
  virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
  virtual void DoGetEditorType(int ACol, int ARow, TEditorType& AEditor);
  virtual void GetCellEditorType(int ACol, int ARow, TEditorType& AEditor);
  virtual bool HasNoEditor(int ACol, int ARow);
  virtual bool HasComboBox(int ACol, int ARow);
  virtual bool HasSpinEdit(int ACol, int ARow);
  virtual void DoIsFixedCell(int ACol, int ARow, bool& IsFixed);
  // Display column; fixed by DoIsFixedCell on the real column.
  bool IsFixed(int ACol, int ARow) override;
  void Paint() override;
  virtual void DoIsPasswordCell(int ACol, int ARow, bool& IsPassword);
  virtual void GetCheckTrue(int ACol, int ARow, QString& Value);
  virtual void GetCheckFalse(int ACol, int ARow, QString& Value);
  virtual void DoCellChanging(int NewCol, int NewRow, bool& Allow);
  virtual bool ValidateCell(const QString& NewValue);
  // Remembers the cell and its stored text as the cell being entered.
  virtual void CellEntered(int ACol, int ARow);
  // Whether the cell holds a clickable cell control (check box, radio, button).
  virtual bool IsControlCell(int ACol, int ARow);
  virtual void DoButtonClick(int ACol, int ARow);
  virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
  virtual void DoComboCloseUp(int ACol, int ARow);
  virtual void DoComboDropDown(int ACol, int ARow);
  virtual void DoSearchFooterAction(const QString& Value, int ACol, int ARow, int SearchAction);
  // -- in-place editing (edit_manager.h): the edit's state, opening, validating, writing back and closing
  TEditManager& EditManager();
  TEditState& EditState();
  // The kind of the open edit (the text editor filters keys by it).
  TEditorType EditControl() const;
  void SetEditControl(TEditorType Value);
  bool EditMode() const;
  bool EditActive() const;
  bool Modified() const;
  void SetModified(bool Value);
  // The text the current cell had when its edit started (Escape puts it back).
  QString CellCacheText() const;
  bool IsEditable(int ACol, int ARow);
  void ShowCellEdit();
  void HideCellEdit();
  void ShowInplaceEdit();
  void HideInplaceEdit();
  void DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift);
  void Select();
  virtual bool ValidateCellWide(const QString& NewValue);
  void SetupCellEditor(int ACol, int ARow);
  void EditorToCell(int ACol, int ARow);
  void EditingDone(int ACol, int ARow);
  bool WantsTabKey() const;
  // Stores an editor's text: the platform's set-edit-text step, then the cell write (real column).
  virtual void WriteEditorText(int ACol, int ARow, const QString& Value);
  virtual void RestoreCellCache();
  // Fires OnGetEditorProp, then OnGetEditorPropInt, before an editor is filled (real column).
  virtual void DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink);
  // Moving on after an editor ended with Enter or Tab; the keyboard code may take these over.
  virtual void EditorAdvance(bool Backwards);
  virtual void EditorTabToNextCell(bool Backwards);
  virtual void AppendRowFromEditor();
  // The grid's key-down handling for a key an editor passes on.
  void PassKeyToGrid(std::uint16_t& Key, plat::TShiftState Shift);
  // The balloon a refused value shows at its editor (InvalidEntryTitle/Text/Icon).
  virtual void ShowInvalidEntryBalloon(plat::TWinControl* Target);
  QString LastBalloonText() const;
  // The balloon tooltip window of cell balloons (side_windows.h): made when Balloon.Enable goes on, freed
  // when it goes off.
  void BalloonInit();
  void BalloonDone();
  void BalloonEnableChanged();
  TBalloonTipWindow* ToolTipWindow() const;
  TEditLink* EditLink() const;
  void SetEditLink(TEditLink* Value);
  plat::TInplaceEdit* NormalEdit() const;
  // The control that edits now (nullptr for the text editor and the editors that leave it empty).
  plat::TWinControl* EditCtrl() const;
  // The special editors, each created on first use.
  TGridSpin* SpinEdit();
  TGridCombo* Combobox();
  TGridEditBtn* BtnEdit();
  TGridUnitEditBtn* BtnUnitEdit();
  TGridCheckBox* CheckEdit();
  TGridButton* Btn();
  TGridDatePicker* DateTimePicker();
  TGridDateTimePicker* DateAndTimePicker();
  TExtRichEdit* InplaceRichEdit();
  // The hidden rich editor that measures and converts RTF cells.
  TExtRichEdit* RichEdit();
  // RTF cells (rich_text.h): loads a cell's RTF into a rich editor, gives an editor's content as RTF (nothing
  // while the grid is being destroyed), stores it into a cell. Columns are real columns.
  void CellToRich(int Col, int Row, TExtRichEdit* Richeditor);
  QString RichToString(TExtRichEdit* Richeditor);
  void RichToCell(int Col, int Row, TExtRichEdit* Richeditor);
  // The per-grid editor family of a kind (created on first use; nullptr when the kind has none).
  TCellEditorKind* EditorKind(TEditorType Kind);
  // The combo editor's item list, shared by every cell (refill it in OnGetEditorProp).
  plat::TStringList* ComboItems();
  void ClearComboString();
  void AddComboString(const QString& s);
  void AddComboStringObject(const QString& s, plat::TObject* AObject);
  bool RemoveComboString(const QString& s);
  bool SetComboSelectionString(const QString& s);
  void SetComboSelection(int idx);
  int GetComboCount() const;
  int GetComboIndex(int ACol, int ARow);
  void SetComboIndex(int ACol, int ARow, int Value);
  bool Multilinecells() const;
  controls::TExtStringGridCheck* CellChecker = nullptr;
  bool EditWithTags = false, AlwaysValidate = false, ExcelStyleDecimalSeparator = false;
  bool Lookup = false, LookupCaseSensitive = false, LookupHistory = false;
  int MaxComboLength = 0;
  QString ValidChars;
  std::set<char16_t> ValidCharSet;
  // The edit mask of the text editor and the masked button editor; OnGetEditMask may change it per cell.
  QString EditMask;
  QString GetEditMask(int ACol, int ARow) override;
  // The length limit of the text and button editors (the platform's edit limit of the current cell).
  int EditLimit();
  // Hooks the text editor calls, empty here: with every key-down, and with whether its text starts a formula.
  virtual void EditorKeyDownHook(std::uint16_t Key, plat::TShiftState Shift);
  virtual void EditorFormulaHook(bool IsFormula);

  // ======== looks asked by painting
  virtual void DoGetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                              plat::TFont* AFont);
  virtual void DoGetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                   plat::TFont* AFont);
  virtual void DoGetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders);
  virtual void DoGetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders);
  virtual void DoGetAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA);
  virtual void DoGetFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix);
  virtual void DoGetWordWrap(int ACol, int ARow, bool& WordWrap);
  virtual void DoGridHint(int ACol, int ARow, QString& Hint);
  virtual int DoGetCellCursor(int ACol, int ARow, int X, int Y);
  bool HasCustomCellBorders() override;

  // ======== what the renderer asks, answered from the grid's own state
  int RealColumn(int ACol) override;
  int RealRow(int ARow) override;
  QString CheckTrueText(int RCol, int ARow) override;
  bool IsPasswordCell(int ACol, int ARow) override;
  QString CellPasswordChar() override;
  // Radio items and node levels come from the stored cell objects and cell properties; the renderer's
  // drawing-only lists answer cells that have none.
  QStringList RadioStrings(int RCol, int ARow) override;
  int NodeLevel(int ARow) override;
  bool IsRowDisabled(int ARow) override;
  bool IsRowModified(int ARow) override;
  bool IsRowFlagged(int ARow) override;
  bool IsColFlagged(int ACol) override;
  bool IsCellFlagged(int ACol, int ARow) override;
  bool IsCellEditable(int RCol, int ARow) override;
  plat::TCustomImageList* ImageList(int, int) override;
  // The rest of what painting asks (extgrid_render.cpp).
  bool UseEnabledRows() override;
  int NodeSpanType(int ARow) override;
  std::optional<double> CellFloat(int RCol, int ARow) override;
  std::optional<int> CellInt(int RCol, int ARow) override;
  QString FloatFormatText() override;
  bool DoGetFloatFormat(int ACol, int ARow, bool& IsFloat, QString& Format) override;
  const plat::TFont* PrintFont(bool Fixed) override;
  void CellAlignment(int RCol, int ARow, plat::TAlignment& HA, TVAlignment& VA) override;
  void DoGetCellGradient(int RCol, int ARow, plat::TColor& Color, plat::TColor& ColorTo, plat::TColor& MirrorFrom,
                         plat::TColor& MirrorTo, TCellGradientDirection& GD) override;
  void DoGetCellBorderProp(int RCol, int ARow, plat::TPen* L, plat::TPen* T, plat::TPen* R, plat::TPen* B) override;
  void DoPainted() override;
  bool HasFilterList(int RCol) override;
  bool MayHaveCellBorders() override;
  int HoverLink(int ACol, int ARow) override;
  bool BlinkPhase() override;
  bool IsEditingCell(int ACol, int ARow) override;
  bool IsHoverButton(int ACol, int ARow) override;
  bool FixedDropDownShown(int RCol) override;
  bool FixedDropDownOpen() override;
  int MovingColumn() override;
  int ScrollPosition(int RCol, int ARow) override;
  bool ScrollProp(int RCol, int ARow, int& PageSize, int& Range) override;
  int FooterHeight() override;
  bool ShowsColumnNumbers() override;
  // ---- the quick-configuration panel of the form designer (extgrid_design.cpp)
  void PaintDesignHelper() override;
  // 4 close, 1 "Allow edit", 2 "Column numbers", 3 the look, -1 none.
  int DesignHelperHitTest(int X, int Y);
  // The mouse over the panel in the designer: true when the grid takes the click there.
  bool DesignHelperMouse(int X, int Y);
  void DesignHelperClick(int X, int Y);
  plat::TRect DesignHelperRect();
  // Public drawing entry points of the grid.
  void GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, plat::TFont* AFont,
                         plat::TBrush* ABrush, bool Remap);
  plat::TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
  void DrawRichCell(int ACol, int ARow, plat::TRect ARect, plat::TCanvas* ACanvas);
  bool IsRotated(int RCol, int ARow, int& Angle) override;
  // ---- the soft focus frame around the edited cell (extgrid_focus.cpp): shown around a cell rectangle, moved
  // to the current cell, hidden; one grid of the program at a time shows it.
  void ShowFocusWindow(plat::TRect Rect);
  void MoveFocusWindow();
  void HideFocusWindow();
  TGridFocusWindow* FocusWindow() const;
  static TExtStringGrid* FocusFrameOwner();
  // Export and import tell the grid where they are; the grid itself does nothing with it.
  virtual void ExportNotification(TGridExportState AState, int ARow);
  virtual void ImportNotification(TGridImportState AState, int ARow);

  // ======== cell controls
  plat::TControl* CellControls(int i, int j) const;
  void SetCellControls(int i, int j, plat::TControl* AControl);
  TControlList* ControlList();
  int ControlCount() const;
  // Places the controls attached to cells over their cells, hiding those out of view or in hidden rows and
  // columns; with rebuildlist the list is made again from the cell properties first.
  void CellControlsUpdate(bool rebuildlist);
  // Controls whose cells went with removed rows or columns: hidden and no longer counted.
  void CellControlsDropped(const std::vector<plat::TControl*>& Controls);

  // ======== selection and the current cell
  // Row writer: a column outside the grid moves first to (FixedCols, Value); OnRowUpdate, disjunct flags,
  // the synchronised grid and the search panel follow (see TCellEntry).
  void SetRow(int Value);
  void SetCol(int Value);
  // Ignored outside FixedRows .. RowCount - 1.
  void SetTopRow(int Value);
  void SetSelection(const plat::TGridRect& Value);
  bool GetRowSelect(int ARow);
  void SetRowSelect(int ARow, bool Value);
  void SelectRows(int RowIndex, int RCount);
  void UnSelectRows(int RowIndex, int RCount);
  bool GetColSelect(int ACol);
  void SetColSelect(int ACol, bool Value);
  void SelectCols(int ColIndex, int CCount);
  void UnSelectCols(int ColIndex, int CCount);
  void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
  void ClearRowSelect();
  void ClearColSelect();
  void SelectionToRowSelect(bool All);
  void SelectionToColSelect(bool All);
  int RowSelectCount() const;
  int ColSelectCount() const;
  int SelectedRowCount() const;
  int SelectedColCount() const;
  int SelectedRow(int i) const;
  bool SelectedCells(int i, int j) const;
  void SetSelectedCells(int i, int j, bool Value);
  int SelectedCellsCount();
  plat::TPoint SelectedCell(int i) const;
  void ClearSelectedCells();
  void HideSelection();
  void UnHideSelection();
  bool SelectionHidden() const;
  void HideSelectedRows();
  void HideUnSelectedRows();
  bool RowModified(int ARow) const;
  void SetRowModified(int ARow, bool Value);
  int ModifiedRowCount() const;
  void ClearModifiedRows();
  bool RowEnabled(int ARow) const;
  void SetRowEnabled(int ARow, bool Value);
  void GotoCell(int ACol, int ARow);
  void FocusCell(int ACol, int ARow);
  void MoveCurrentCell(int ACol, int ARow);
  void RepaintRow(int ARow);
  void RepaintCol(int ACol);
  void RepaintRect(const plat::TGridRect& r);
  // The header cells of two positions (the last fixed column of each row, the last fixed row of each column).
  void RepaintActiveCells(int Col1, int Row1, int Row2, int Col2);
  // Whether the last row shows completely above the search panel.
  bool LastRowAboveSearchPanel();
  // A borderless, half-transparent window on top showing the cells of ARect as they are painted; the
  // caller shows and frees it (the grid owns it until then).
  plat::TForm* SelectionToForm(plat::TGridRect ARect);
  void RegisterSelListener(ITExtStringGridSelect* AListener);
  // Clears the listener whatever is passed.
  void UnRegisterSelListener(ITExtStringGridSelect* AListener);
  TGridSelection& SelectionModel();
  TTypedCells& TypedCells();
  // Handlers the editors and multi-image cell objects are connected to.
  void RichEditSelectionChanged();
  void CellListChanged(int ACol, int ARow);

  // ======== mouse
  // The mouse collaborators: press, move, release and their state; header clicks; HTML form controls.
  TGridMouse& Mouse();
  THeaderClicks& HeaderClicks();
  THTMLForms& HTMLForms();
  TSortSettings* SortSettings();
  bool FixedAsButtons = false, Ctl3D = true, URLEdit = false, URLUnderlineOnHover = false;
  bool HintShowSizing = false, HintShowCells = false, HintShowLargeText = false, HTMLHint = false;
  // Sorting (the data services' quicksort): by SortSettings.Column, by the sort keys, inside the deepest
  // expanded nodes, and back to the order recorded since the cross-reference was last reset.
  virtual void QSort();
  virtual void QSortIndexed();
  virtual void QSortGroup();
  virtual void QSortGroupIndexed();
  virtual void QUnSort();
  virtual void InitSortXRef();
  void Sort(int ACol, TSortDirection Direction);
  void SortByColumn(int ACol);
  // Rows Left..Right only, on ACol or by the sort keys.
  void QuickSort(int ACol, int Left, int Right);
  void QuickSortIndexed(int Left, int Right);
  // One step of a sort the caller drives: swaps the rows when they compare the wrong way round.
  bool SortLine(int ACol, int ARow1, int ARow2);
  // Storing and restoring the column order ("Pos<i>") in the place ColumnSize names (an INI file, or the
  // registry's stand-in under the user's configuration folder); nothing without Key and Section.
  virtual void SaveColPositions();
  virtual void LoadColPositions();
  // Column count, widths, order and visibility as one text, and back (checked before anything changes).
  QString ColumnStatesToString();
  void StringToColumnStates(const QString& Value);
  // ---- the looks kept in a visual-properties file (extgrid_layout.cpp): colours, fonts and style choices
  // as "key=value" lines; plat::Exception "Cannot Create " / "Cannot open file " + the name when the file
  // cannot be made or read. The fixed and active-cell fonts scale with the grid's form.
  void SaveVisualProps(const QString& FileName);
  void LoadVisualProps(const QString& FileName);
  void ChangeScale(int M, int D) override;
  // ---- (end of the looks file)
  // The recorded column order: real columns in display order (empty when never moved).
  TIntList* ColumnOrderList() { return &FColumnOrder; }
  // The filter conditions per column, and the switch that applies them: applying and taking a filter away
  // (hiding the rows that fail it) is the data services' work, done in their override of SetFilterActive.
  TFilter* Filter();
  bool FilterActive() const;
  virtual void SetFilterActive(bool Value);
  bool FilterActive(int RCol) override;
  // Applies item ItemIndex of a column's filter list (real column); the data services fill it.
  virtual void ApplyColumnFilter(int RCol, int ItemIndex);
  // Whether the grid's filter holds Condition for the column (real).
  virtual bool ColumnFilterHas(int RCol, const QString& Condition);
  // The header filter list: a check list instead of a single choice, and how it looks.
  bool FilterDropDownCheck = false;
  TFilterDropDown* FilterDropDown();
  // The menu of the fixed cells' drop-down button (OnFixedDropDownClick may choose another).
  plat::TPopupMenu* FixedDropDownMenu = nullptr;
  // Progress of long walks for the export code: 0 start (first row), 5 before a row, 2 done; empty here.
  virtual void ExportNotification(int State, int ARow);
  // ======== clipboard (grid/data/clipboard.h; defined in extgrid_clipboard.cpp): cells as text, HTML, rich text
  // and the grid's own cell format. The selection forms also serve the selection handle and the shortcut keys.
  virtual void CopySelectionToClipboard();
  virtual void PasteSelectionFromClipboard();
  virtual void CutSelectionToClipboard();
  void CopyToClipBoard();
  void CopyToClipBoardAsHTML();
  void CutToClipboard();
  void PasteFromClipboard();
  QString GetSelectionAsText();
  void SetSelectionAsText(const QString& Value);
  // Paste hooks for descendants: PasteCell stores one pasted value (display column), PasteDone marks the pasted
  // rows modified with ShowModified, CanPasteCells answers Navigation.AllowFmtClipboard.
  virtual void PasteCell(int ACol, int ARow, const QString& Value);
  virtual void BeginPaste() {}
  virtual void EndPaste() {}
  virtual void PasteDone(plat::TPoint FromTopLeft, plat::TRect ToRect, TClipOperation Operation);
  virtual bool CanPasteCells();
  // Multi-line cells are copied as spreadsheets quote them (character 11 for each line break).
  bool ExcelClipboardFormat = false;
  TGridClipboard& GridClipboard();
  // ======== clipboard and drag leftovers (defined in extgrid_clipboard.cpp)
  // A column chooser list starts dragging its item AIndex, which stands for the hidden real column ACol: the
  // column drop that follows shows that column where it lands and takes the item out of the list.
  void OleColumnDragStart(int ACol, int AIndex, plat::TListBox* AList);
  // Set by a descendant: a left press on a cell goes to SelectorCellClick instead of selecting or editing.
  bool CellSelectorMode = false;
  // Empty hooks for descendants: the press on a cell in cell-selector mode, and the text editor's formula mode
  // (true while its text starts with "=", false otherwise and when it loses the focus).
  virtual void SelectorCellClick(int ACol, int ARow);
  virtual void FormulaModeChange(bool Active);
  // A drag of the selection (or of a column) starts from a press on a drag source; the drag side fills it.
  virtual void StartMouseDrag(int ACol, int ARow, bool ColumnDrag);
  // Node glyph clicks (real rows); the node code fills them.
  virtual void ExpandNode(int ARealRow);
  virtual void ContractNode(int ARealRow);
  virtual void ExpandAll();
  virtual void ContractAll();
  bool IsInNodeGlyph(int ARow, int X);
  // A hook to change the rectangle a select-all press selects.
  virtual void AdjustSelectAll(plat::TGridRect& ARect);
  // A press on a radio group: the item under the offsets of the press in the cell (real column) is selected.
  virtual void ClickRadioGroup(int ACol, int ARow, int XOffset, int YOffset);
  // Rating cells: the handler may change the value; false refuses it.
  virtual bool DoRatingChange(int ACol, int ARow, double& Value);
  // Cell buttons and expand buttons (display column): the button's rectangle in client pixels.
  plat::TRect GetCellButtonRect(int ACol, int ARow);
  // The 11 x 11 button in the top-right corner of an expand cell (display column); empty for other cells.
  plat::TRect GetExpandButtonRect(int ACol, int ARow);
  bool HasButton(int RCol, int ARow);
  bool HasExpand(int RCol, int ARow);
  bool HasRating(int RCol, int ARow);
  bool IsRadio(int RCol, int ARow);
  bool HasRadioButton(int RCol, int ARow);
  void PushButton(int ACol, int ARow, bool Down);
  // Flips an expand cell; returns whether it is expanded now.
  bool ToggleExpand(int ACol, int ARow);
  // Whether a point of the cell (display column) hits its check box (anywhere unless PreciseCheckBoxCheck).
  bool InCheckBox(int ACol, int ARow, int X, int Y);
  // A followed anchor: "cell://RxCy" moves the current cell, http, https and mailto links open.
  void FollowAnchor(const QString& Anchor);
  virtual bool OpenLink(const QString& Href);
  // Ends the base grid's tracking of a press without a release.
  void CancelTracking();
  // Whether the floating footer shows as the grid's last row.
  bool FloatingFooterFixedLastRow() const;
  // The hint of the cell under the mouse (HintStr empty: no hint) and its position in client pixels.
  void GetCellHintInfo(plat::TPoint CursorPos, QString& HintStr, plat::TPoint& HintPos);
  void CancelCellHint();
  bool UseHTMLHints() const;
  void SetUseHTMLHints(bool Value);
  // The grid's cursor, also the one it goes back to after a cursor of its own (links, sizing, panning). A
  // cursor set from outside ends a mouse selection mode the grid's own cursor showed.
  void SetDefaultCursor(plat::TCursor Value);
  plat::TNotifyEvent OnStartBlockFocus, OnEndBlockFocus;
  // The sort column and sort keys follow a moved column (real indexes).
  void SortColumnFollowsMove(int From, int To);
  void HiddenColumnsFollowMove(int From, int To);
  // The synchronised grid moves the same column (Cols) or row.
  void SyncGridMove(bool Cols, int FromIndex, int ToIndex);
  bool FSyncedMove = false;  // this grid moves because its synchronised grid did
  plat::TCursor DefaultCursor() const;
  // The grid grows and shrinks with its owner form.
  bool SizeWithForm() const;
  void SetSizeWithForm(bool Value);

  // ======== owned option objects
  TFocusHelper* FocusHelper();
  TSearchFooter* SearchFooter();
  TPrintSettings* PrintSettings();
  THTMLSettings* HTMLSettings();
  TDragDropSettings* DragDropSettings();
  TDragScrollOptions* DragScrollOptions();
  TControlLook* ControlLook();
  TNavigation* Navigation();
  TColumnSize* ColumnSize();
  TCellNode* CellNode();
  TBands* Bands();
  TSizeWhileTyping* SizeWhileTyping();
  TMouseActions* MouseActions();
  TGrouping* Grouping();
  TBackGround* BackGround();
  void SetBackGround(TBackGround* Value);
  TGridProgressAppearance* ProgressAppearance();
  TSyncGrid* SyncGrid();
  TBalloonSettings* Balloon();
  TShowModified* ShowModified();
  bool FilterDropDownAuto = false, FilterNormalCellsOnly = true, AutoFilterUpdate = true;
  QString FilterDropDownClear = QStringLiteral("(All)");
  TFilterDropDownColumns FilterDropDownColumns = fdNormal;
  // The filter drop-down entries of a column: "(All)" first, then its distinct trimmed texts (hidden rows
  // included); OnGetColumnFilter may change them. False when the list ends empty.
  virtual bool BuildColumnFilterList(int ACol);
  plat::TStringList* FilterList();

  // ======== keyboard: navigation, editing keys, the cell advance on Tab and Enter
  // Tab: false when the focus was handed on to the next control.
  bool TabToNextCell(bool Backward);
  void AdvanceToNextCell(int ACol, int ARow, bool EditMode, bool Recursive, bool Forward, bool AutoEdit,
                         bool Force);
  void AutoAddRow();
  bool IsLastNormalRow() const;
  int FirstNavigableCol() const;
  int VisibleFixedRightCols() const;
  bool CanTabToCell(int ACol, int ARow);
  int FirstTabColumn(int ARow);
  int LastTabColumn(int ARow);
  virtual void GotoFirstRow();
  // Opens the editor of the form control with this ID in the cell's text (the first editable one for an empty
  // ID); without one the grid takes the focus.
  void EditCellControl(int ACol, int ARow, const QString& ID);
  // Called after F2 has been handled; empty in the grid.
  virtual void F2KeyHook();
  // The last row scrolls up until it ends above the search panel (nothing while the panel is hidden).
  void ScrollAboveSearchPanel();
  // Appends a row, before the floating footer row while that is shown.
  void AddRow();
  // A left click 2 pixels inside the cell's top-left corner, through the grid's own mouse handling.
  void ClickCell(int ACol, int ARow);
  virtual void RememberCellValue(int ACol, int ARow);
  // ---- one-line hooks for descendants
  // A fixed cell's editor opens: OnFixedEdit fills Values and may change the editor kind.
  virtual void DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, plat::TStrings* Values);
  // Row insertion and removal by the editing keys (display rows; with nodes a row under a node is a child
  // row): DoDeleteRow clears the only normal row instead of removing it unless FixedRowAlways, then fires
  // OnAutoDeleteRow with the row's real index.
  virtual void DoInsertRow(int ARow);
  virtual void DoDeleteRow(int ARow);
  virtual void DoFilterDone();
  // Called by the in-place editor after every key-up.
  virtual void EditorKeyUpHook(const QString& Text, int CaretPos, int CaretIndex);
  // The spell-check error range of a cell (0, 0 when none).
  void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);
  // The selection changed: the gradient looks repaint it, and OnSelectionChanged fires.
  void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
  // The first normal row whose sort-column text starts with S; the data services answer (-1 here).
  virtual int Search(const QString& S);
  TGridKeys& Keys();
  // The synchronised grid's current cell follows (by its SelectionColumn and SelectionRow switches).
  void FollowSyncGrid();
  QString SearchInc() const;
  // The grid timer's tick (every 500 ms while the window lives): search expiry, hovering, blinking.
  void GridTimerTick();
  static constexpr std::uintptr_t GridTimerId = 111;
  int TimerTicks() const;
  bool GridBlink() const;
  bool EnableBlink = false;

  // ======== scrolling: scroll hints, proportional bars, wheel, wheel panning and zoom
  TGridScrolling& Scrolling();
  void Zoom(int x);
  // Something is dragged over the grid at (X, Y): scrolls while it stays inside a margin.
  void HandleDragOver(int X, int Y, TDragState State);
  void UpdateVertScrollProportional();
  void UpdateHorzScrollProportional();
  TIntelliPan IntelliPan = ipVertical;
  // Offered the wheel before the grid (Delta in 1/120 notches); true consumes it.
  std::function<bool(int Delta)> OnParentWheel;
  // Called by the wheel handling; empty in the grid.
  virtual void WheelHook(int Delta, bool& Handled);
  // Called by the text editor's message handling; empty in the grid.
  virtual void EditorKeyMessageHook(plat::TMessage& Message);
  // The cells' area: the client without the footer panel and, while the search footer is shown, without the
  // room of its panel at the bottom (so the last row always ends above it).
  plat::TRect ClientRect() const override;
  TScrollControl* VertScrollControl() const;
  TScrollControl* HorzScrollControl() const;
  // ssMetro makes the thin custom bars (and hides the window bars), ssFlat and ssEncarta give the window bars
  // ScrollWidth and ScrollColor, ssNormal the style's own bars.
  void SetScrollType(TScrollType Value);

  // ======== window: creation, scroll bar visibility, size messages, themes, removed components
  // The first parent creates the grid's window side (CreateWnd): the grid timer, the footer panel, wheel lines.
  void SetParent(plat::TWinControl* AParent) override;
  bool WindowCreated() const;
  // Whether the frame of an edited cell shows for this grid.
  bool FocusFrameShown() const;
  // The width columns follow with ColumnSize.SynchWithGrid: the client width, counting the border.
  int SynchWidth() const;
  // With ScrollBarAlways a bar stays shown, greyed out, where everything fits; otherwise (and with Force) a bar
  // is shown only where something is out of view.
  void UpdateScrollBarVisibility(bool Force);
  void SetScrollBarAlways(TScrollBarAlways Value);
  void SetScrollColor(plat::TColor Value);
  void SetScrollWidth(int Value);
  void SetScrollProportional(bool Value);
  void SetAutoSize(bool Value);
  void SetAutoThemeAdapt(bool Value);
  // Takes the colours of the Office theme in use (none here unless an Office store says so).
  void AdaptToOfficeTheme();
  // No application style engine exists here: the grid never runs with one, and its colours stay its own.
  void ApplyVCLStyle();
  bool UseVCLStyles() const;
  void SetCellChecker(controls::TExtStringGridCheck* Value);
  // Platform facts taken at construction.
  bool IsWinXP() const;
  bool IsWin7() const;
  bool IsWinVista() const;
  bool IsThemedSystem() const;
  // Entry points of the grid's data services (file and registry storage of column sizes, the search panel);
  // until those are in place they do nothing.
  // Column widths ("Col<i>") in the place ColumnSize names; loading never writes the store.
  virtual void LoadColSizes();
  virtual void SaveColSizes();
  virtual void ApplySearchFooter();
  // The search panel's edit takes the focus (Ctrl+F); an accelerator of its buttons runs the button's action
  // (false: no button of the panel has it).
  virtual void FocusSearchEdit();
  virtual bool SearchPanelAccelerator(QChar Key);

  // ======== find, replace, highlighting, cell checking and the search panel (extgrid_find.cpp)
  // Find walks the cells from StartCell ((-1, -1): the first cell of the walk) and answers the next matching
  // cell, (-1, -1) when none; FindFirst and FindNext keep the found cell in SearchCell for the next call.
  plat::TPoint Find(plat::TPoint StartCell, const QString& S, const TFindParams& Params);
  plat::TPoint FindWide(plat::TPoint StartCell, const QString& S, const TFindParams& Params);
  plat::TPoint FindFirst(const QString& S, const TFindParams& Params);
  plat::TPoint FindNext();
  // OrigStr becomes NewStr (ignoring case) in every cell the walk finds, each cell once; the cells changed.
  int Replace(const QString& OrigStr, const QString& NewStr, const TFindParams& Params);
  bool FindBusy();
  TFindParams FindParams();
  plat::TPoint SearchCell();
  int FindCol();
  void SetFindCol(int Value);
  int FindRow();
  void SetFindRow(int Value);
  QString IncrSearchText() const;
  // Highlight ("hi") and error-mark ("e") tags around every occurrence of Text in the visible part of S.
  QString HilightText(bool DoCase, const QString& S, const QString& Text);
  QString UnHilightText(const QString& S);
  QString MarkText(bool DoCase, const QString& S, const QString& Text);
  QString UnMarkText(const QString& S);
  // The same in cells (real columns): one cell, a column, a row or the grid (the fixed cells with DoFixed).
  void HilightInCell(int ACol, int ARow, const QString& HiText, bool DoCase);
  void HilightInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText);
  void HilightInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText);
  void HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText);
  void UnHilightInCell(int ACol, int ARow);
  void UnHilightInCol(bool DoFixed, int ACol);
  void UnHilightInRow(bool DoFixed, int ARow);
  void UnHilightInGrid(bool DoFixed);
  void MarkInCell(int ACol, int ARow, const QString& HiText, bool DoCase);
  void MarkInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText);
  void MarkInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText);
  void MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText);
  void UnMarkInCell(int ACol, int ARow);
  void UnMarkInCol(bool DoFixed, int ACol);
  void UnMarkInRow(bool DoFixed, int ARow);
  void UnMarkInGrid(bool DoFixed);
  // The attached CellChecker over cells; without one every cell passes.
  bool CheckCell(int ACol, int ARow);
  bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
  bool CheckCol(bool DoFixed, int ACol);
  bool CheckRow(bool DoFixed, int ARow);
  bool CheckGrid(bool DoFixed);
  // The search panel below the cells (made with the grid's window) and the grid's answers to its controls.
  TSearchPanel* SearchPanel();
  void SearchFooterEditChange();
  void SearchFooterFindNext();
  void SearchFooterFindPrevious();
  void SearchFooterHighlight();
  void SearchFooterClose();

 private:
  struct TFindAreaDeleter {
    void operator()(TGridFindArea* Area) const;
  };
  std::unique_ptr<TGridFindArea, TFindAreaDeleter> FFindArea;
  TGridFindArea& FindArea();

 public:

  // ======== floating footer
  TFloatingFooter* FloatingFooter();
  const TFloatingFooter* FloatingFooter() const;
  TFooterPanel* FooterPanel() const;
  plat::TCanvas* FooterCanvas() const;
  // A column's calculation over the normal rows, as the footer shows it (hidden rows by CalculateHiddenRows).
  double ColumnCalc(int ACol, TColumnCalcType Calc);

  // ======== calculations and selection queries
  // Column statistics over rows FromRow..ToRow (-1: all normal rows; a ToRow past the rows: real rows with
  // the hidden ones); node and summary rows of a grouped grid and merged non-base cells do not count.
  double ColumnSum(int ACol, int FromRow, int ToRow);
  double ColumnAvg(int ACol, int FromRow, int ToRow);
  double ColumnMin(int ACol, int FromRow, int ToRow);
  double ColumnMax(int ACol, int FromRow, int ToRow);
  double ColumnStdDev(int ACol, int FromRow, int ToRow);
  double ColumnDistinct(int ACol, int FromRow, int ToRow);
  double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
  double GroupCalcByEvent(int ACol, int FromRow, int ToRow);
  double RowSum(int ARow, int FromCol, int ToCol);
  double RowAvg(int ARow, int FromCol, int ToCol);
  double RowMin(int ARow, int FromCol, int ToCol);
  double RowMax(int ARow, int FromCol, int ToCol);
  void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
  // The selected cells' displayed texts, tab between cells and CR LF between rows.
  QString SelectedText();
  bool IsSelected(int ACol, int ARow);

  // The column headers changed; empty here (the column grid copies them into its columns).
  virtual void ColumnHeadersChanged();

  // ======== filtering: the row test, filter levels, narrowing down, the drop-down's choice (TGridFilter)
  // A normal row (display index) passes the filter conditions; OnCustomFilter has the last word.
  virtual bool MatchesFilter(int ARow);
  // Hides the normal rows that fail as one new filter level (also when none fails).
  void ApplyFilter();
  // Tests one row (display index) and hides it when it fails.
  void FilterRow(int ARow);
  // The newest level comes back; true when two or more levels remain.
  bool RemoveLastFilter();
  // Every level comes back; with no level at all the conditions are cleared instead.
  void RemoveAllFilters();
  // Search as you type on a column (-1: anywhere in the row), one level per added character.
  void NarrowDown(const QString& ACondition, int AColumn);
  // The drop-down's value lists leave out the rows that filters hide.
  bool FilterIncremental = false;
  // The column whose filter drop-down is open (real index), -1 when none.
  int FilterDropDownColumn() const;

  // ======== events (the set is TExtGridEvents, extgrid_events.h; the renderer raises these two)
  // The grid's own resize event stands over the control's.
  using TExtGridEvents::OnResize;
  TCustomCellDrawEvent& OnCustomCellDraw{Renderer().OnCustomCellDraw};       // raised by the renderer
  TCustomCellDrawEvent& OnCustomCellBkgDraw{Renderer().OnCustomCellBkgDraw};
  // ---- cell objects, check boxes and radio controls in cells (the families live in the collaborators)
  TCellObjects& CellObjects();
  TCellChecks& CellChecks();
  plat::TCustomImageList* GridImages() const;
  void SetGridImages(plat::TCustomImageList* Value);
  virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
  virtual TCellType GetCellType(int ACol, int ARow);
  TCellGraphic* CreateCellGraphic(int ACol, int ARow);
  // The room a cell's object takes (real column): beside the text it widens, above or under it heightens,
  // aligned haFull or vaFull it takes the cell; in print bitmaps and icons keep their full size.
  virtual plat::TPoint GetCellGraphicSize(int ACol, int ARow);
  virtual void CellGraphicSize(int ACol, int ARow, plat::TPoint& Size, int YMargin);
  virtual void PrintGraphicSize(int ACol, int ARow, int MaxW, int MaxH, double Scale, plat::TPoint& Size);
  virtual plat::TCustomImageList* GetCellImageList();
  bool RemoveCellGraphic(int ACol, int ARow);
  // Pictures, icons and glyphs made for a cell and owned by its object (the caller fills them; nullptr for a
  // cell outside the grid); the Add operations of the model's families leave the caller's objects theirs.
  plat::TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
  plat::TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int padding,
                                TCellHAlign hal, TCellVAlign val);
  TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int padding,
                                  TCellHAlign hal, TCellVAlign val);
  plat::TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
  plat::TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                                 TCellVAlign val);
  void AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent, TStretchMode StretchMode,
                      int padding, TCellHAlign hal, TCellVAlign val);
  TFilePicture* GetFilePicture(int ACol, int ARow);
  plat::TPicture* GetPicture(int ACol, int ARow);
  bool HasPicture(int ACol, int ARow);
  void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
  void AddCheckBox(int ACol, int ARow, bool State, bool Data);
  void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
  static TCheckBoxState BoolToCheckBoxState(bool bChecked);
  // Tri-state check boxes down the normal rows (from row 0 with MouseActions.CheckAllCheck).
  void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
  bool HasCheckBox(int ACol, int ARow);
  bool IsChecked(int ACol, int ARow);
  bool GetCheckBoxState(int ACol, int ARow, bool& State);
  bool SetCheckBoxState(int ACol, int ARow, bool State);
  virtual bool ToggleCellCheck(int ACol, int ARow, bool FromUser);
  bool ToggleCheckBox(int ACol, int ARow);
  // From row 0 with MouseActions.CheckAllCheck, else from the first normal row.
  void AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox);
  void RemoveCheckBoxColumn(int ACol);
  void AddRadioButton(int ACol, int ARow, bool State);
  virtual bool CheckRadioButton(int ACol, int ARow, bool FromUser);

  // ---- row and column operations (rows: display rows; columns: real columns)
  TRowColOps& RowColOps();
  // Inserting and removing rows (extgrid_rows.cpp): the current cell, the top row, the largest row count and
  // the controls attached to cells follow. UpdateCellControls off leaves the controls on the cells they were on.
  virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
  virtual void RemoveRows(int RowIndex, int RCount);
  // As RemoveRows without the footers, the cell-selection check or the search panel: the remembered current
  // row comes back while it is inside the grid, else the first normal row.
  virtual void RemoveRowsEx(int RowIndex, int RCount);
  // UpdateHidden off is the hiding of rows (real indexes stay: hidden-row records and controls keep theirs).
  void RemoveRowsInternal(int ARow, int Count, bool UpdateHidden);
  void MoveRows(int FromIndex, int ToIndex, int Count);
  void SwapRows(int ARow1, int ARow2);
  // The sort routines' exchange of two rows; Swaps counts them, SortRow and the cross-reference follow.
  virtual void SortSwapRows(int ARow1, int ARow2);
  int Swaps() const;
  void SetSwaps(int Value);
  int SortRow() const;
  void SetSortRow(int Value);
  TIntList* SortRowXRef();
  void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);
  virtual void InsertCols(int ColIndex, int CCount);
  virtual void RemoveCols(int ColIndex, int CCount);
  void SwapColumns(int ACol1, int ACol2);
  virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
  void ClearRows(int RowIndex, int RCount);
  void ClearCols(int ColIndex, int CCount);
  void RemoveDuplicates(int ACol, bool DoCase);
  // The event dispatchers kept with the cell objects (extgrid_rows.cpp): the picker editors' choice, the
  // editing keys' questions before adding or inserting a row, and the unit editor's unit change.
  virtual void DoColorSelect();
  virtual void DoImageSelect();
  virtual void DoCanAddRow(bool& CanAdd);
  virtual void DoCanInsertRow(int ARow, bool& CanInsert);
  void DoUnitChanged(plat::TObject* Sender, const QString& NewUnit);
  // The sort glyph goes in this header row (below a merged header cell's span).
  bool IsSortIndicatorRow(int ACol, int ARow);
  // How far the node row's text is indented: its node level times the node look's indent.
  int GetNodeIndent(int ARow) override;
  // Removal by selection (extgrid_removal.cpp): the disjunct rows or columns, else those of the selection
  // rectangle; or every normal row or column outside them. Columns are display columns.
  void RemoveSelectedRows();
  void RemoveUnSelectedRows();
  void RemoveSelectedCols();
  void RemoveUnSelectedCols();
  // Removes display rows with their cell properties; the removals by selection go through it.
  virtual void DoRemoveRows(int ARow, int Count);
  void AddColumn();
  void ClearNormalRows(int RowIndex, int RCount);
  void ClearNormalCols(int ColIndex, int CCount);
  // Every normal cell, hidden columns included; with no fixed column the nodes go first.
  void ClearNormalCells();
  // The flagged rows or columns under disjunct selection, else the selection rectangle.
  void ClearSelection();
  // Every cell of the shown rows and all real columns (nodes removed first); ClearAll also empties the cells
  // kept for hidden rows, which stay hidden.
  void Clear();
  void ClearAll();
  void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
  void TrimColumn(int ACol);
  void TrimRow(int ARow);
  void TrimAll();
  void SplitColumnCells(int ColIndex);
  void SplitRowCells(int RowIndex);
  void MergeCols(int ColIndex1, int ColIndex2, const QString& Separator);
  bool IsWideCell(int ACol, int ARow) const;
  void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, plat::TColor AColor);
  // Brings a cell (display indexes) into view; a row or column that lay outside is made current and centred.
  void ScrollInView(int ColIndex, int RowIndex);
  void MergeRowCells(int RowIndex, bool MainMerge);
  void SplitAllCells();
  bool IsCell(const QString& SubStr, int& ACol, int& ARow) const;

 protected:
  // Keyboard, wheel, scroll and timer messages (the keyboard and scrolling collaborators).
  void Dispatch(plat::TMessage& Message) override;
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  plat::LRESULT DefaultDlgCode() const override;
  bool DoMouseWheelDown(plat::TShiftState Shift, plat::TPoint MousePos) override;
  bool DoMouseWheelUp(plat::TShiftState Shift, plat::TPoint MousePos) override;
  void TopLeftChanged() override;
  void AlignControls(plat::TControl* AControl, plat::TRect& Rect) override;
  // Focus arriving and leaving, clicks and the enabled switch.
  void DoEnter() override;
  void DoExit() override;
  void Click() override;
  void EnabledChanged() override;
  bool HandleSelectCell(int ACol, int ARow) override;
  bool HasNodes() override;
  bool BaseSelectCell(int ACol, int ARow) override;
  void BaseSetRow(int Value) override;
  void BaseSetTopRow(int Value) override;
  void ColWidthsChanged() override;
  void RowHeightsChanged() override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void CalcSizingState(int X, int Y, plat::TGridState& State, int& Index, int& SizingPos, int& SizingOfs) override;
  void Resize() override;
  // The window side of creation (see SetParent) and the WM_SIZE handling: synchronised and stretched columns.
  void CreateWnd();
  void SizeMessage(plat::TMessage& M);
  void DecideScrollBars(bool& Vert, bool& Horz) override;
  // A removed component leaves no reference behind (images, cell checker, synchronised grid).
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  // Focus, cancelled modes, the combo editor's notifications (extgrid_messages.cpp).
  void SetFocusMessage(plat::TMessage& M);
  void KillFocusMessage(plat::TMessage& M);
  void CancelModeMessage(plat::TMessage& M);
  void ComboCommand(plat::TMessage& M);
  void PaintMessage(plat::TMessage& M);
  void ColorChanged() override;
  void RepaintMergedArea(plat::TPoint Base);
  // The recorded column order follows every column move.
  void HandleColumnMoved(int FromIndex, int ToIndex) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void HandleMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void HandleMouseMove(plat::TShiftState Shift, int X, int Y) override;
  void HandleMouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void HandleRowMoved(int FromIndex, int ToIndex) override;
  // A mouse message for the mouse collaborator, anything else for the base grid.
  void MouseOrBaseDispatch(plat::TMessage& Message);
  // Pushed fixed cells are drawn pressed (and sunken), hovered fixed cells hot.
  void HandleDrawCell(int ACol, int ARow, const plat::TRect& ARect, TGridDrawState AState) override;
  bool MouseButtonDown() override;
  void ColorsApplied(TColorsChange Change) override;
  int HandleGetEditLimit() override;
  plat::TInplaceEdit* HandleCreateEditor() override;
  bool HandleCanEditShow() override;
  QString HandleGetEditText(int ACol, int ARow) override;
  void HandleSetEditText(int ACol, int ARow, const QString& Value) override;
  // A character typed on the grid that may start an edit is kept for the special editor it opens.
  bool CanEditAcceptKey(char16_t Key) override;
  bool IsLoading() const override;
  bool IsDesigning() const override;
  // The platform editor switch and merge-aware move, as the input handlers reach them too.
  void HideEditor() override;
  void ShowEditor() override;
  void ShowEditorChar(char16_t Ch) override;
  void MoveToBaseCell() override;

 private:
  // The rest of the input handlers' host.
  void SetGridState(plat::TGridState State) override;
  void SetAnchorAndCurrent(plat::TGridCoord Anchor, plat::TGridCoord Current) override;
  void BaseKeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void SetForceSelect(bool Value) override;
  bool KeepsSearchPanelClear(int ARow) override;
  // The rest of the editing collaborators' host.
  void SetCellCache(const QString& Text) override;
  void SetBlockFocus(bool Value) override;
  bool InDestroy() const override;
  ITExtStringGridSelect* SelListener() const override;
  // The cell object sizer's host (extgrid_forward.cpp).
  plat::TRect SizedArea(int RCol, int ARow) override;
  int RealColWidth(int RCol) override;
  int SizedRowHeight(int ARow) override;
  plat::TCanvas& MeasureCanvas() override;
  plat::TFont* MeasureFont() override;
  bool CellTextEmpty(int RCol, int ARow) override;
  TCellGraphic* CellGraphicAt(int RCol, int ARow) override;
  plat::TCustomImageList* CellImages() override;
  int CheckBoxSize() override;
  int RadioButtonSize() override;
  plat::TPoint ContentsMargins() override;
  int CellMarginY() override;
  // The group sorts: the children of every expanded node of the deepest level, on Column or by the keys.
  void SortGroups(bool Indexed);
  // The grid's own drawing properties into the renderer's settings (before painting and measuring).
  void SyncDrawSettings();
  void StyleToEditors(controls::TExtStyle Style);
  void TonesToEditors(const controls::TColorTones& Tones);
  TRenderSettings& DrawSettings();
  const TRenderSettings& DrawSettings() const;
  TGridColors& DrawColors();
  const TGridColors& DrawColors() const;
  template <class T>
  void StoreAndInvalidate(T& Field, const T& Value, bool Always = false) {
    if (!Always && Field == Value) return;
    Field = Value;
    Invalidate();
  }
  bool SavesFixedCols() const;
  bool SavesFixedRows() const;
  void ConnectCollaborators();
  void ConnectOptions();
  void RegisterThemeWindow(bool Register);

  void AssignSettings(TExtStringGrid& Src);
  void AfterSizesChanged();
  void AssignSizes(TExtStringGrid& Src);

  // Owned objects, in the order they are made.
  TFocusHelper FFocusHelper{this};
  TSearchFooter FSearchFooter;
  TPrintSettings FPrintSettings{this};
  THTMLSettings FHTMLSettings;
  TDragDropSettings FDragDropSettings{this};
  TDragScrollOptions FDragScrollOptions;
  TNavigation FNavigation;
  TColumnSize FColumnSize{this};
  TBands FBands;
  TSizeWhileTyping FSizeWhileTyping;
  TMouseActions FMouseActions{this};
  TGrouping FGrouping;
  plat::TStringList FColumnHeaders;
  TIntList FOrigColSizes{-1, -1};
  plat::TFont& FFixedFont{RenderSettings().FixedFont};
  plat::TFont& FActiveCellFont{RenderSettings().ActiveCellFont};
  plat::TStringList FRowHeaders;
  plat::TStringList FLookupItems;
  TIntList FMergedColumns{-1, -1};
  plat::TBitmap FRowIndicator;
  TControlList FControlList;
  TGridProgressAppearance FProgressAppearance;
  TSyncGrid FSyncGrid{this};
  TBalloonSettings FBalloon;
  TShowModified FShowModified;
  std::vector<TGridChangeNotifier*> FNotifierList;
  TIntList FColumnOrder{-1, -1};
  plat::TStringList FFilterList;
  TFilter FFilter;
  // The filter's state and its view of the grid, made on first use (extgrid_filter.cpp).
  struct TFilterPartDelete {
    void operator()(TGridFilterPart* P) const;
  };
  std::unique_ptr<TGridFilterPart, TFilterPartDelete> FFilterPart;
  TGridFilterPart& FilterPart();
  std::vector<int> FPrintColWidth = std::vector<int>(512), FPrintColOffset = std::vector<int>(512);
  // Collaborators.
  // The renderer's option objects are the grid's own: one copy that the painting and the editors both read.
  TControlLook& FControlLook{Renderer().ControlLook};
  TCellNode& FCellNode{Renderer().CellNode};
  TBackGround& FBackGround{Renderer().BackGround};
  TGridHiding FHiding{*this};
  TTypedCells FTyped{*this, FHiding};
  TCellLooks FLooks{*this, FHiding};
  TGridSelection FSel{*this, FHiding, FMouseActions};
  TGridCellOps FOps{*this, FHiding, FTyped};
  TCellEntry FEntry{*this, *this};
  TSizingAdapter FSizingHost{*this};
  TGridSizing FSizing{FSizingHost};
  TEditManager FEdit{*this, *this};
  TGridAutoSize FAutoSize{*this};
  TCellGraphicSizer FGraphicSizer{*this};
  // Cell objects, check controls and the structural operations (heights, widths and hidden rows follow).
  TExtGridObjects FCellObjects{*this, *this, FHiding, FSel};
  // The collaborators as the grid's own code names them.
  TCellObjects& FObjects{FCellObjects.Objects()};
  TRowColOps& FRowCol{FCellObjects.Rows()};
  // Keyboard, scrolling and the floating footer.
  TGridKeys FKeys{*this, *this};
  TGridScrolling FScrolling{*this, *this};
  TFooterAdapter FFooterHost{*this};
  TFloatingFooter FFloatingFooter{FFooterHost};
  int FTimerTicks = 0;
  // FBlockFocus / FBlockKill: an editor hands the focus back, the enter / exit handling is skipped.
  // FSelChange: the selection changed since the last exit.
  bool FBlockKill = false, FSelChange = false;
  bool FGridBlink = false;
  TGridNodes FNodes{*this};
  TGridGrouping FGroup{*this, FNodes};
  TGridDragDrop FDragDrop{*this};
  // The clipboard's state and its host adapter, made at first use.
  std::unique_ptr<TClipboardPart, TClipboardPartDeleter> FClipboardPart;
  TGridDataAdapter FDataHost{*this};

  // The mouse.
  TSortSettings FSortSettings{RenderSettings().Sort, this};
  TMoveAdapter FMoveHost{*this};
  TGridMouse FMouse{*this, *this, FMoveHost};
  THeaderClicks FHeaderClicks{*this, *this};
  THTMLForms FHTMLForms{*this};
  plat::TCursor FUserCursor = plat::crDefault;
  // The grid moves the focus itself: the focus handling leaves its state alone.
  bool FInvokedFocusChange = false;
  int FPaintCount = 0;
  bool FSizeWithForm = false;
  // The window side.
  bool FWndCreated = false, FUseVCLStyles = false, FDisableSize = false, FThemeRegistered = false;
  bool FIsWinXP = true, FIsWin7 = true, FIsWinVista = true, FIsThemed = true;
  int FOldSize = 0;
  bool FUseHTMLHints = false;
  int UnSortedRow(int ARow) const;

  ITExtStringGridSelect* FSelListener = nullptr;
  bool FSelectionResizer = false;
  bool FShowDesignHelper = true, FDesignColumnNumbers = false;
  int FDesignHot = -1;
  bool DesignHelperShown();
  plat::TAlignment FDefaultAlignment = plat::taLeftJustify;
  plat::TColor FHighlightColor = plat::clHighlight, FHighlightTextColor = plat::clHighlightText;
  // The border colour and Flat are the renderer's (looks and tones write them too).
  plat::TColor& FBorderColor{RenderSettings().Colors.BorderColor};
  bool& FFlat{RenderSettings().Colors.Flat};
  bool FWordWrap = true, FSpreadSheet = false;
  TVAlignment FVAlignment = vtaTop;
  int FVAlignFlag = 0;
  plat::TPoint FXYOffset{2, 2};
  plat::TColor FExtGradient[4] = {plat::clWhite, plat::clNone, plat::clNone, plat::clNone};
  int FMaxEditLength = 0;
  int FFixedRowHeight = 22;
  bool FFixedRowAlways = false, FFixedColAlways = false;
  int FMinFixedRows = 1, FMinFixedCols = 1, FMaxRowCount = 0, FMaxColCount = 0;
  int FControlCount = 0, FUpdateCount = 0;
  bool FLoaded = false;
  bool FInDestroy = false;
  // Editing: the focus frame shows for this grid's edit; the grid moves the focus itself.
  bool FFocusFrameShown = false, FBlockFocus = false;
  QString FLastBalloon;
  TGridFocusWindow* FFocusWindow = nullptr;
  TBalloonTipWindow* FToolTip = nullptr;
  TExtRichEdit* FRichEdit = nullptr;

  // ======== printing (grid/print; the print engine sees the grid through the adapter in extgrid_print.cpp)
 public:
  // All cells on the system's printer, or on Printer (a PDF printer writes a file). The print events, the print
  // colours and borders and PrintSettings apply; afterwards PrintNrOfPages, GetPrintColWidth and
  // GetPrintColOffset tell the layout of the run.
  void Print();
  void Print(QPrinter& Printer);
  // The chosen preview page (the first, unless changed) drawn into DisplayRect of Canvas (device pixels).
  void PrintPreview(plat::TCanvas& Canvas, plat::TRect DisplayRect);
  int PrintNrOfPages() const;
  // PrintSettings under Section of the INI file Key.
  void SavePrintSettings(const QString& Key, const QString& Section);
  void LoadPrintSettings(const QString& Key, const QString& Section);
  // Parts of the grid: a rectangle of cells (columns Left .. Right, rows Top .. Bottom), the selection, or only
  // the selected rows and columns (the disjunct row or column selection, else those of the selection); fixed
  // cells join a selected-only print with PrintSettings->FixedCellsAlways.
  void PrintRect(const plat::TGridRect& Gridrect);
  void PrintRect(QPrinter& Printer, const plat::TGridRect& Gridrect);
  void PrintSelection();
  void PrintSelection(QPrinter& Printer);
  void PrintSelectedRows();
  void PrintSelectedRows(QPrinter& Printer);
  void PrintSelectedCols();
  void PrintSelectedCols(QPrinter& Printer);
  void PrintPreviewRect(plat::TCanvas& Canvas, plat::TRect DisplayRect, const plat::TGridRect& Gridrect);
  void PrintPreviewSelection(plat::TCanvas& Canvas, plat::TRect DisplayRect);
  void PrintPreviewSelectedRows(plat::TCanvas& Canvas, plat::TRect DisplayRect);
  void PrintPreviewSelectedCols(plat::TCanvas& Canvas, plat::TRect DisplayRect);
  // The cells as one page filling DrawRect of Canvas (device pixels), whatever the page breaks would be.
  void PrintDraw(plat::TCanvas& Canvas, plat::TRect DrawRect);
  void PrintDrawRect(plat::TCanvas& Canvas, plat::TRect DrawRect, const plat::TGridRect& Gridrect);
  // The page the next preview draws (1-based; Print resets the range to every page).
  int PreviewPage() const;
  void SetPreviewPage(int Value);
  // Skip counting the pages before printing (the page numbers then show no count).
  bool FastPrint() const;
  void SetFastPrint(bool Value);
  bool PrinterDriverFix() const;
  void SetPrinterDriverFix(bool Value);
  // True only while a preview draws, so the print events can tell paper from screen.
  bool IsPrintPreview() const;
  // The page and the column band of the last print or preview, in tenths of a millimetre.
  plat::TRect PrintPageRect() const;
  int PrintPageWidth() const;
  int PrintColStart() const;
  int PrintColEnd() const;
  // Font heights in tenths of a millimetre (negative: the character height) from points, and back.
  int MapFontHeight(int PointSize) const;
  int MapFontSize(int Height) const;

 private:
  struct TPrintPartDeleter {
    void operator()(TGridPrintPart* Part) const;
  };
  TGridPrintPart& PrintPart();
  std::unique_ptr<TGridPrintPart, TPrintPartDeleter> FPrintPart;
};

using TUpdateGuard = TExtStringGrid::TUpdateGuard;

}  // namespace grid
