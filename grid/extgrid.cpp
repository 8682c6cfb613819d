#include "grid/extgrid.h"

#include <algorithm>

#include "platform/graphics/color.h"
#include "grid/extgrid_unit.h"
#include "platform/graphics/themes.h"

namespace grid {

using plat::goEditing;
using plat::goRowSelect;

// ---------------------------------------------------------------- creation

TExtStringGrid::TExtStringGrid(plat::TComponent* AOwner)
    : TRenderGrid(AOwner), FSearchFooter(this, AOwner && AOwner->ComponentState().Contains(plat::csDesigning)) {
  FFixedFont.SetName(QStringLiteral("Tahoma"));
  FFixedFont.SetStyle(plat::TFontStyles{plat::fsBold});
  FActiveCellFont.SetStyle(plat::TFontStyles{plat::fsBold});
  FExtGradient[1] = plat::ColorToRGB(plat::clBtnFace);
  TGridColors& c = DrawColors();
  c.SelectionColor = plat::TColor(0xEACAB6);
  c.SelectionTextColor = plat::clBlack;
  c.ActiveCellColor = plat::clGray;
  DrawSettings().SelectionColorMixerFactor = 50;
  TRenderGrid::FitCellsInGrid = true;
  SetRowCount(10);
  SetBounds(Left(), Top(), 400, 250);
  TBaseGrid::SetDefaultRowHeight(22);
  FFixedRowHeight = 22;
  ConnectCollaborators();
  ConnectOptions();
  FFloatingFooter.SetHeight(DefaultRowHeight());
  const plat::TPlatformFacts& facts = plat::PlatformFacts();
  FIsWinXP = facts.WindowsXPOrLater;
  FIsWin7 = facts.Windows7OrLater;
  FIsWinVista = facts.VistaOrLater;
  FIsThemed = facts.ComCtl32Major > 5;
  RegisterLiveGrid(this);
}

TExtStringGrid::~TExtStringGrid() {
  FInDestroy = true;
  UnRegisterLiveGrid(this);
  KillTimer(GridTimerId);
  RegisterThemeWindow(false);
  FEdit.ReleaseEditors();
  delete FooterPanel();
  // Saving the sizes and showing the hidden columns again (so that the sizes stored with them are whole) are
  // worth trying, never worth ending the program for: an exception must not leave a destructor.
  try {
    if (FColumnSize.Save && !IsDesigning()) SaveColSizes();
  } catch (...) {
  }
  try {
    FHiding.UnHideColumnsAll();
  } catch (...) {
  }
  FSel.OnRowDisjunctSelect = nullptr;
  FSel.OnRowDisjunctSelected = nullptr;
}

void TExtStringGrid::ConnectCollaborators() {
  FSel.FixedFooters = [this] { return DrawSettings().FixedFooters; };
  FOps.FixedFooters = [this] { return DrawSettings().FixedFooters; };
  FOps.FixedRightCols = [this] { return DrawSettings().FixedRightCols; };
  FOps.OnAllCellsChanged = [this](plat::TObject*) { AllCellsChanged(); };
  FLooks.UpdatePending = [this] { return UpdateCount() > 0; };
  FTyped.OnCellFloatFormat = [this](int ACol, int ARow) {
    bool isFloat = true;
    QString fmt = FTyped.FloatFormat;
    if (OnGetFloatFormat) OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    return fmt;
  };
  FSel.OnRowDisjunctSelect = [this](plat::TObject* S, int ARow, bool AState, bool& Allow) {
    if (OnRowDisjunctSelect) OnRowDisjunctSelect(S, ARow, AState, Allow);
  };
  FSel.OnRowDisjunctSelected = [this](plat::TObject* S, int ARow) {
    if (OnRowDisjunctSelected) OnRowDisjunctSelected(S, ARow);
  };
}

void TExtStringGrid::ConnectOptions() {
  const auto repaint = [this](plat::TObject*) { Invalidate(); };
  FBands.OnChange = repaint;
  FFixedFont.OnChange = repaint;
  FActiveCellFont.OnChange = repaint;
  FProgressAppearance.OnChange = repaint;
  FBackGround.OnInvalidate = repaint;
  FBalloon.OnEnableChange = [this](plat::TObject*) { BalloonEnableChanged(); };
  FControlLook.OnInvalidate = repaint;
  FCellNode.OnRepaint = repaint;
  FMouseActions.OnInvalidate = repaint;
  FMouseActions.OnIsDesigning = [this](plat::TObject*, bool& Result) { Result = IsDesigning(); };
  FMouseActions.OnDisableEdit = [this](plat::TObject*) {
    plat::TGridOptions o = Options();
    o.Exclude(goEditing);
    SetOptions(o);
  };
  FShowModified.OnChange = [this](plat::TObject*) { RepaintCol(0); };
  // The search panel takes its settings; its room below the cells comes and goes with it.
  FSearchFooter.OnChange = [this](plat::TObject*) {
    ApplySearchFooter();
    UpdateScrollBars();
    Realign();
    Invalidate();
  };
  FColumnSize.OnStretch = [this](plat::TObject*) {
    if (Parent()) InitOrigColSizes();
  };
  FColumnHeaders.OnChange = [this](plat::TObject*) {
    ColumnHeadersChanged();
    FOps.ShowColumnHeaders(FColumnHeaders);
  };
  FRowHeaders.OnChange = [this](plat::TObject*) { FOps.ShowRowHeaders(FRowHeaders); };
  FMergedColumns.OnChange = [this](plat::TObject*, int, int) { RemergeColumns(); };
}

// ---------------------------------------------------------------- assignment and loading

void TExtStringGrid::Assign(plat::TPersistent* Source) {
  auto* src = dynamic_cast<TExtStringGrid*>(Source);
  if (!src) return;
  AssignSettings(*src);
  AssignSizes(*src);
  AssignCells(src);
}

void TExtStringGrid::AssignSettings(TExtStringGrid& Src) {
  Font()->Assign(Src.Font());
  DrawColors().ActiveCellColor = Src.DrawColors().ActiveCellColor;
  DrawColors().ActiveCellColorTo = Src.DrawColors().ActiveCellColorTo;
  FActiveCellFont.Assign(&Src.FActiveCellFont);
  DrawSettings().ActiveCellShow = Src.DrawSettings().ActiveCellShow;
  SetActiveRowShow(Src.ActiveRowShow());
  SetAlign(Src.Align());
  AnchorHint = Src.AnchorHint;
  AutoNumAlign = Src.AutoNumAlign;
  AutoSize = Src.AutoSize;
  AutoThemeAdapt = Src.AutoThemeAdapt;
  AutoFilterUpdate = Src.AutoFilterUpdate;
  FMouseActions.Assign(&Src.FMouseActions);
  FNavigation.Assign(&Src.FNavigation);
  FGrouping.Assign(&Src.FGrouping);
  FSearchFooter.Assign(&Src.FSearchFooter);
  FPrintSettings.Assign(&Src.FPrintSettings);
  FHTMLSettings.Assign(&Src.FHTMLSettings);
  FBands.Assign(&Src.FBands);
  FCellNode.Assign(&Src.FCellNode);
  FDragScrollOptions.Assign(&Src.FDragScrollOptions);
  FDragDropSettings.Assign(&Src.FDragDropSettings);
  FProgressAppearance.Assign(&Src.FProgressAppearance);
  FColumnSize.Assign(&Src.FColumnSize);
  FSyncGrid.Assign(&Src.FSyncGrid);
  FFocusHelper.Assign(&Src.FFocusHelper);
  SetFixedRowAlways(Src.FFixedRowAlways);
}

void TExtStringGrid::AssignSizes(TExtStringGrid& Src) {
  SetColCount(Src.ColCount());
  SetRowCount(Src.RowCount());
  SetFixedRows(Src.plat::TStringGrid::FixedRows());
  SetFixedCols(Src.plat::TStringGrid::FixedCols());
  SetDefaultColWidth(Src.DefaultColWidth());
  SetDefaultRowHeight(Src.DefaultRowHeight());
  SetFixedRowHeight(Src.FFixedRowHeight);
  SetFixedColWidth(Src.FixedColWidth());
  InvalidEntryTitle = Src.InvalidEntryTitle;
  InvalidEntryIcon = Src.InvalidEntryIcon;
  InvalidEntryText = Src.InvalidEntryText;
  SetOptions(Src.Options());
  for (int c = 0; c < ColCount(); ++c) SetColWidths(c, Src.ColWidths(c));
  FColumnHeaders.Assign(&Src.FColumnHeaders);
  for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, Src.RowHeights(r));
  ScrollProportional = Src.ScrollProportional;
  ScrollSynch = Src.ScrollSynch;
  ScrollHints = Src.ScrollHints;
  ScrollBarAlways = Src.ScrollBarAlways;
  SetScrollBars(Src.ScrollBars());
  ScrollColor = Src.ScrollColor;
  ScrollType = Src.ScrollType;
  ScrollWidth = Src.ScrollWidth;
}

void TExtStringGrid::Loaded() {
  TBaseGrid::Loaded();
  FUserCursor = Cursor();
  FOps.ShowColumnHeaders(FColumnHeaders);
  FOps.ShowRowHeaders(FRowHeaders);
  if (TGridDropTarget* t = FDragDrop.Target()) {
    t->AcceptText = FDragDropSettings.OleAcceptText;
    t->AcceptFiles = FDragDropSettings.OleAcceptFiles;
    t->AcceptURLs = FDragDropSettings.OleAcceptURLs;
  }
  if (DrawColors().Look == glExt) {
    DrawColors().Look = glCustom;
    SetLook(glExt);
  }
  if (AutoSize) AutoSizeColumns(false, 4);
  if (FColumnSize.Save) LoadColSizes();
  FMinFixedRows = plat::TStringGrid::FixedRows();
  FMinFixedCols = plat::TStringGrid::FixedCols();
  MinRowHeight = DefaultRowHeight();
  MinColWidth = 10;
  FMaxRowCount = RowCount();
  FLoaded = true;
  if (Options().Contains(plat::goAlwaysShowEditor)) {
    FNavigation.AlwaysEdit = true;
    plat::TGridOptions o = Options();
    o.Exclude(plat::goAlwaysShowEditor);
    SetOptions(o);
  }
  if (!IsDesigning() && !plat::IsThemeActive() && FControlLook.ControlStyle() == csTheme)
    FControlLook.SetControlStyle(csClassic);
  FSearchFooter.SetAutoThemeAdapt(AutoThemeAdapt);
  ApplySearchFooter();
  UpdateScrollBarVisibility(false);
  if (AutoThemeAdapt && !IsDesigning()) {
    AdaptToOfficeTheme();
    if (FWndCreated) RegisterThemeWindow(true);
  }
  InitOrigColSizes();
  SetColumnOrder();
  if (FBalloon.Enable()) BalloonInit();
  ApplyVCLStyle();
}

void TExtStringGrid::Invalidate() {
  if (FEdit.State().EditChange) {
    FEdit.State().EditChange = false;
    return;
  }
  TBaseGrid::Invalidate();
  if (!IsLoading() && FooterPanel() && FFloatingFooter.Visible()) FooterPanel()->Invalidate();
}

void TExtStringGrid::UpdateFooter() {
  if (FooterPanel()) FooterPanel()->Invalidate();
}

void TExtStringGrid::ScreenToCell(plat::TPoint pt, int& ACol, int& ARow) {
  const plat::TPoint p = ScreenToClient(pt);
  ACol = ARow = -1;
  MouseToCell(p.X, p.Y, ACol, ARow);
}

QString TExtStringGrid::GetVersionString() const { return Version() + QStringLiteral(" Sep, 2012"); }

QString TExtStringGrid::Version() const {
  const unsigned v = static_cast<unsigned>(GetVersionNr());
  return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

// ---------------------------------------------------------------- counts and sizes

void TExtStringGrid::SetRowCount(int Value) {
  if (plat::TStringGrid::RowCount() == plat::TStringGrid::FixedRows() && FFixedRowAlways && FSel.SelectionHidden())
    FSel.UnHideSelection();
  const int old = RowCount();
  TBaseGrid::SetRowCount(Value);
  if (FFixedRowAlways && FMinFixedRows < Value && plat::TStringGrid::FixedRows() != FMinFixedRows)
    plat::TStringGrid::SetFixedRows(FMinFixedRows);
  FMaxRowCount = std::max(FMaxRowCount, Value);
  SetNormalRowCount(Value);
  UpdateFooter();
  FScrolling.UpdateVertProportional();
  UpdateScrollBarVisibility(false);
  // The footer row stays the last row: its cells and properties move there, the rows between move up.
  if (FFloatingFooter.Visible() && RowCount() != old && old > 0) {
    MoveStoreRow(old - 1, RowCount() - 1);
    CalcFooter(-1);
    Invalidate();
  }
}

void TExtStringGrid::SetColCount(int Value) {
  TBaseGrid::SetColCount(Value);
  if (FFixedColAlways && FMinFixedCols < Value && plat::TStringGrid::FixedCols() != FMinFixedCols)
    plat::TStringGrid::SetFixedCols(FMinFixedCols);
  FMaxColCount = std::max(FMaxColCount, Value);
  UpdateFooter();
  FScrolling.UpdateHorzProportional();
  UpdateScrollBarVisibility(false);
}

void TExtStringGrid::SetFixedRows(int Value) {
  if (!IsLoading()) FMinFixedRows = Value;
  if (FFixedRowAlways && Value >= RowCount()) Value = RowCount() - 1;
  plat::TStringGrid::SetFixedRows(Value);
}

void TExtStringGrid::SetFixedCols(int Value) {
  if (!IsLoading()) FMinFixedCols = Value;
  if (FFixedColAlways && Value >= ColCount()) Value = ColCount() - 1;
  plat::TStringGrid::SetFixedCols(Value);
}

void TExtStringGrid::SetDefaultRowHeight(int Value) {
  TBaseGrid::SetDefaultRowHeight(Value);
  if (IsDesigning()) FFixedRowHeight = Value;
  FFloatingFooter.SetHeight(Value);
}

void TExtStringGrid::SetFixedRowHeight(int Value) {
  FFixedRowHeight = Value;
  if (IsLoading()) return;
  if (Value == DefaultRowHeight()) {
    TBaseGrid::SetDefaultRowHeight(Value);
    return;
  }
  for (int r = 0; r < plat::TStringGrid::FixedRows(); ++r) SetRowHeights(r, Value);
}

void TExtStringGrid::SetFixedColWidth(int Value) {
  if (IsLoading() || Value == DefaultColWidth()) return;
  for (int c = 0; c < plat::TStringGrid::FixedCols(); ++c) SetColWidths(c, Value);
}

void TExtStringGrid::InitOrigColSizes() {
  FOrigColSizes.Clear();
  for (int c = 0; c < ColCount(); ++c) FOrigColSizes.Insert(c, ColWidths(c));
  FOldSize = SynchWidth();
}

int TExtStringGrid::OrigColSize(int ACol) const {
  return ACol >= 0 && ACol < FOrigColSizes.Count() ? FOrigColSizes[ACol] : -1;
}

void TExtStringGrid::SetColumnOrder() {
  FColumnOrder.Clear();
  for (int c = 0; c < ColCount(); ++c) FColumnOrder.Insert(c, c);
}

void TExtStringGrid::ResetColumnOrder() {
  UnHideColumnsAll();
  if (FColumnOrder.Count() == 0) {
    SetColumnOrder();
    return;
  }
  // Bring each column back to its recorded place; the recorded order follows every move.
  for (int c = 0; c < std::min(ColCount(), FColumnOrder.Count()); ++c) {
    const int at = FColumnOrder.IndexOf(c);
    if (at >= 0 && at != c && at < ColCount()) MoveColumn(at, c);
  }
}

void TExtStringGrid::HandleColumnMoved(int FromIndex, int ToIndex) {
  // With hidden columns the cells move by their real columns, and the hidden ones stay hidden.
  const int rf = RealColIndex(FromIndex), rt = RealColIndex(ToIndex);
  const bool hidden = NumHiddenColumns() > 0;
  if (hidden) HiddenColumnsFollowMove(rf, rt);
  TBaseGrid::HandleColumnMoved(hidden ? rf : FromIndex, hidden ? rt : ToIndex);
  Hiding().RecordColumnMoved(rf, rt);
  SortColumnFollowsMove(rf, rt);
  RowColOps().ControlColMoved(rf, rt);
  SyncGridMove(true, FromIndex, ToIndex);
  if (FromIndex < 0 || FromIndex >= FColumnOrder.Count() || ToIndex < 0 || ToIndex >= FColumnOrder.Count()) return;
  const int v = FColumnOrder[FromIndex];
  FColumnOrder.Delete(FromIndex);
  FColumnOrder.Insert(ToIndex, v);
}

int TExtStringGrid::ColumnPosition(int ACol) const {
  int p = FColumnOrder.IndexOf(ACol);
  if (p < 0) p = ACol;
  if (GroupColumn() >= 0 && ACol >= GroupColumn()) --p;
  return p;
}

int TExtStringGrid::ColumnAtPosition(int P) {
  if (FColumnOrder.Count() == 0) SetColumnOrder();
  int c = P >= 0 && P < FColumnOrder.Count() ? FColumnOrder[P] : P;
  if (GroupColumn() >= 0 && c >= GroupColumn()) ++c;
  return c;
}

int TExtStringGrid::ColumnByHeader(const QString& AValue) {
  for (int c = 0; c < TotalColCount(); ++c)
    if (AllCells(c, 0) == AValue) return c;
  return -1;
}

void TExtStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TBaseGrid::SetBounds(ALeft, ATop, AWidth, FSizing.IntegralHeight(AHeight));
}

void TExtStringGrid::SetIntegralHeight(bool Value) {
  IntegralHeight = Value;
  SetBounds(Left(), Top(), Width(), Height());
}

void TExtStringGrid::ColWidthsChanged() {
  TBaseGrid::ColWidthsChanged();
  FSizing.ColWidthsChanged();
  AfterSizesChanged();
  UpdateFooter();
  if (FColumnSize.Stretch() && ScrollProportional) FScrolling.UpdateVertProportional();
}

void TExtStringGrid::RowHeightsChanged() {
  TBaseGrid::RowHeightsChanged();
  FSizing.RowHeightsChanged();
  AfterSizesChanged();
}

// A check box editor does not follow its cell's new size: it closes. The controls on cells move with them.
void TExtStringGrid::AfterSizesChanged() {
  if (FInDestroy || !FWndCreated) return;
  if (EditMode() && FEdit.State().EditControl == edCheckBox) HideInplaceEdit();
  CellControlsUpdate(false);
}

void TExtStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  if (ColCount() < OldColCount) FHiding.ForgetColumnsBeyondCount();
  if (Parent() && !IsLoading() && FColumnSize.Stretch()) FSizing.StretchColumn(FColumnSize.StretchColumn);
  TBaseGrid::SizeChanged(OldColCount, OldRowCount);
  FSizing.Remember();
}

void TExtStringGrid::CalcSizingState(int X, int Y, plat::TGridState& State, int& Index, int& SizingPos,
                                     int& SizingOfs) {
  TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
  FSizing.CheckSizingState(X, Y, State);
}

void TExtStringGrid::MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  FSizing.BeginUserSizing(GridState(), FSizingIndex);
  TBaseGrid::MouseUp(Button, Shift, X, Y);
  FSizing.EndUserSizing();
}

void TExtStringGrid::UpdateColSize(int ACol, int& AWidth) {
  if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TExtStringGrid::UpdateAutoColSize(int ACol, int& AWidth) {
  if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

int TExtStringGrid::GetPrintColWidth(int ACol) const {
  if (ACol < 0 || ACol >= int(FPrintColWidth.size())) throw EExtGridError(QStringLiteral("Columns is not in valid range"));
  return FPrintColWidth[ACol];
}

int TExtStringGrid::GetPrintColOffset(int ACol) const {
  if (ACol < 0 || ACol >= int(FPrintColOffset.size())) throw EExtGridError(QStringLiteral("Columns is not in valid range"));
  return FPrintColOffset[ACol];
}

void TExtStringGrid::SetPrintColumn(int ACol, int Width, int Offset) {
  (void)GetPrintColWidth(ACol);
  FPrintColWidth[ACol] = Width;
  FPrintColOffset[ACol] = Offset;
}

// ---------------------------------------------------------------- property writers

void TExtStringGrid::SetColumnHeaders(plat::TStrings* Value) {
  if (plat::TStringGrid::FixedRows() > 0) FOps.ClearColumnHeaders();
  FColumnHeaders.Assign(Value);
  FOps.ShowColumnHeaders(FColumnHeaders);
}

void TExtStringGrid::SetRowHeaders(plat::TStrings* Value) {
  if (IsDesigning()) FOps.ClearRowHeaders();
  FRowHeaders.Assign(Value);
  FOps.ShowRowHeaders(FRowHeaders);
}

void TExtStringGrid::SetLookupItems(plat::TStrings* Value) {
  if (Value) FLookupItems.Assign(Value);
}

void TExtStringGrid::SetSelectionColorMixerFactor(int Value) {
  StoreAndInvalidate(DrawSettings().SelectionColorMixerFactor, std::clamp(Value, 0, 100));
}

void TExtStringGrid::SetShowSelection(bool Value) {
  if (Value == DrawSettings().ShowSelection) return;
  DrawSettings().ShowSelection = Value;
  SetShowSel(Value);
  Invalidate();
}

void TExtStringGrid::SetActiveCellFont(plat::TFont* Value) {
  FActiveCellFont.Assign(Value);
  Invalidate();
}

void TExtStringGrid::SetBackGround(TBackGround* Value) {
  FBackGround.Assign(Value);
  Invalidate();
}

void TExtStringGrid::SetBorderColor(plat::TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  if (Parent()) Invalidate();
}

void TExtStringGrid::SetFlat(bool Value) {
  FFlat = Value;
  if (!IsLoading()) Invalidate();
}

void TExtStringGrid::SetWordWrap(bool Value) {
  FWordWrap = Value;
  CellStore().SetWordWrap(Value);
  if (plat::TInplaceEdit* e = InplaceEditor()) e->SetWordWrap(Value);
  if (UpdateCount() == 0) Invalidate();
}

void TExtStringGrid::SetVAlignment(TVAlignment Value) {
  static constexpr int flags[] = {0, 4, 8};
  FVAlignment = Value;
  FVAlignFlag = flags[Value];
  if (UpdateCount() == 0) Invalidate();
}

void TExtStringGrid::SetXYOffset(plat::TPoint Value) {
  FXYOffset = Value;
  Invalidate();
}

void TExtStringGrid::SetExtGradient(int Index, plat::TColor Value) {
  FExtGradient[Index] = Value == plat::clNone ? Value : plat::ColorToRGB(Value);
  Invalidate();
}

void TExtStringGrid::SetRowIndicator(plat::TBitmap* Value) {
  FRowIndicator.Assign(Value);
  RepaintCell(0, Row());
}

void TExtStringGrid::SetMaxEditLength(int Value) {
  FMaxEditLength = Value;
  if (plat::TInplaceEdit* e = InplaceEditor()) e->SetMaxLength(Value);
}

void TExtStringGrid::SetSpreadSheet(bool Value) {
  FSpreadSheet = Value;
  SetSelectionRectangle(true);
  SetSelectionResizer(true);
  FNavigation.AllowSmartClipboard = true;
  SetOptions(Options() + plat::TGridOptions{plat::goRangeSelect, goEditing});
  FMouseActions.RangeSelectAndEdit = true;
}

void TExtStringGrid::SetCol(int Value) {
  TBaseGrid::SetCol(Value);
  auto* sync = dynamic_cast<TExtStringGrid*>(FSyncGrid.Grid());
  if (sync && FSyncGrid.SelectionColumn && Value < sync->ColCount()) sync->SetCol(Value);
}

void TExtStringGrid::SetSelection(const plat::TGridRect& Value) {
  TBaseGrid::SetSelection(Value);
  if (DrawSettings().ActiveCellShow) {
    RepaintRow(0);
    RepaintCol(0);
  }
  if (ActiveRowShow()) RepaintRow(Value.Bottom);
}

}  // namespace grid
