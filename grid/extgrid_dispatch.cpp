// The string grid's event dispatchers and the small operations around them: each dispatcher fires its event
// when assigned and otherwise does the grid's own default. Also the change notifications, merged columns and
// controls placed on cells.
#include <algorithm>

#include "grid/extgrid.h"
#include "controls/text_utils.h"
#include "platform/rtl/strings.h"

namespace grid {

using plat::goEditing;
using plat::goRowSelect;

// ---------------------------------------------------------------- cell ranges

void TExtStringGrid::CellsChanged(plat::TRect R) {
  if (OnCellsChanged) OnCellsChanged(this, R);
  for (TGridChangeNotifier* n : FNotifierList) n->CellsChanged(this, R);
  CalcFooter(-1);
}

void TExtStringGrid::AllCellsChanged() { CalcFooter(-1); }

void TExtStringGrid::RegisterNotifier(TGridChangeNotifier* ANotifier) {
  if (std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) == FNotifierList.end())
    FNotifierList.push_back(ANotifier);
}

void TExtStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier) {
  std::erase(FNotifierList, ANotifier);
}

// ---------------------------------------------------------------- merged columns

void TExtStringGrid::SplitAllColumnCells() {
  for (int c = 0; c < AllColCount(); ++c)
    for (int r = 0; r < RowCount(); ++r)
      if (HasCellProperties(c, r) && IsBaseCell(c, r) && IsMergedCell(c, r)) SplitCells(c, r);
}

void TExtStringGrid::RemergeColumns() {
  SplitAllColumnCells();
  for (int i = 0; i < FMergedColumns.Count(); ++i) MergeColumnCells(FMergedColumns[i], i == 0);
}

// ---------------------------------------------------------------- cell controls

plat::TControl* TExtStringGrid::CellControls(int i, int j) const {
  return HasCellProperties(i, j) ? GetGridObject(i, j)->Control : nullptr;
}

void TExtStringGrid::SetCellControls(int i, int j, plat::TControl* AControl) {
  const int idx = FControlList.ControlIndex(i, RealRowIndex(j));
  const bool had = idx >= 0;
  if (had) FControlList.RemoveControl(idx);
  if (!AControl) {
    if (had) --FControlCount;
    if (HasCellProperties(i, j)) GetGridObject(i, j)->Control = nullptr;
    return;
  }
  if (!had) ++FControlCount;
  FControlList.AddControl(i, RealRowIndex(j), AControl);
  TCellProperties* p = GetCellProperties(i, j);
  if (p) p->Control = AControl;
  AControl->SetParent(this);
  const plat::TRect r = CalcCellRect(DisplColIndex(i), j);
  AControl->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

// ---------------------------------------------------------------- editing

void TExtStringGrid::CheckCellEditable(int ACol, int ARow, bool& CanEdit) {
  const plat::TPoint b = HasCellProperties(ACol, ARow) ? BaseCell(ACol, ARow) : plat::TPoint(ACol, ARow);
  if (HasCellProperties(b.X, b.Y) && CanEdit) {
    CanEdit = !GetGridObject(b.X, b.Y)->ReadOnly;
    if (!Options().Contains(goEditing) && !FEdit.State().EditDisable && !FMouseActions.RangeSelectAndEdit) CanEdit = false;
  }
  if (b.X < ColCount() + NumHiddenColumns())
    DoCanEditCell(b.X, b.Y, CanEdit);
  else
    CanEdit = true;
}

void TExtStringGrid::DoCanEditCell(int ACol, int ARow, bool& CanEdit) {
  if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TExtStringGrid::DoGetEditorType(int ACol, int ARow, TEditorType& AEditor) {
  if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TExtStringGrid::HasNoEditor(int ACol, int ARow) {
  if (!OnGetEditorType) return false;
  TEditorType e = edNormal;
  OnGetEditorType(this, ACol, ARow, e);
  return e == edNone;
}

bool TExtStringGrid::HasComboBox(int ACol, int ARow) {
  bool has = false;
  if (OnHasComboBox) {
    OnHasComboBox(this, ACol, ARow, has);
    return has;
  }
  if (!FControlLook.DropDownAlwaysVisible()) return false;
  TEditorType e = DefaultEditor;
  GetCellEditorType(ACol, ARow, e);
  return e == edComboEdit || e == edComboList;
}

bool TExtStringGrid::HasSpinEdit(int ACol, int ARow) {
  if (ACol < FixedCols() || ARow < FixedRows()) return false;
  bool has = false;
  if (OnHasSpinEdit) {
    OnHasSpinEdit(this, ACol, ARow, has);
    return has;
  }
  if (!FControlLook.SpinButtonsAlwaysVisible()) return false;
  TEditorType e = DefaultEditor;
  DoGetEditorType(ACol, ARow, e);
  return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
}

void TExtStringGrid::DoIsFixedCell(int ACol, int ARow, bool& IsFixed) {
  const int fixedRows = plat::TStringGrid::FixedRows(), fixedCols = plat::TStringGrid::FixedCols();
  IsFixed = IsFixed || ACol < fixedCols || ARow < fixedRows ||
            (FFixedRowAlways && RowCount() == fixedRows) || (FFixedColAlways && ColCount() == fixedCols);
  if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

bool TExtStringGrid::IsFixed(int ACol, int ARow) {
  bool fixed = TRenderGrid::IsFixed(ACol, ARow);
  DoIsFixedCell(RealColIndex(ACol), ARow, fixed);
  return fixed;
}

void TExtStringGrid::Paint() {
  // The switches the grid keeps in its option objects are handed to the renderer as the paint starts.
  SyncDrawSettings();
  MoveFocusWindow();
  TRenderGrid::Paint();
  FScrolling.DrawPanOrigin(*Canvas());
}

void TExtStringGrid::DoIsPasswordCell(int ACol, int ARow, bool& IsPassword) {
  if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TExtStringGrid::GetCheckTrue(int ACol, int ARow, QString& Value) {
  Value = CheckTrue;
  if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void TExtStringGrid::GetCheckFalse(int ACol, int ARow, QString& Value) {
  Value = CheckFalse;
  if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

void TExtStringGrid::DoCellChanging(int NewCol, int NewRow, bool& Allow) {
  if (NewRow != Row() && OnRowChanging) OnRowChanging(this, Row(), NewRow, Allow);
  if (NewCol != Col() && OnColChanging) OnColChanging(this, Col(), NewCol, Allow);
  if ((NewRow != Row() || NewCol != Col()) && OnCellChanging)
    OnCellChanging(this, Row(), Col(), NewRow, NewCol, Allow);
}

// ACol is a real column; the cell is remembered by its display column, as the keyboard remembers it.
void TExtStringGrid::CellEntered(int ACol, int ARow) {
  FEdit.State().OldCol = DisplColIndex(ACol);
  FEdit.State().OldRow = ARow;
  FEdit.State().OldCellText = GridCells(ACol, ARow);
}

void TExtStringGrid::DoButtonClick(int ACol, int ARow) {
  if (OnButtonClick) OnButtonClick(this, ACol, ARow);
}

void TExtStringGrid::DoExpandClick(int ACol, int ARow, bool Expanded) {
  if (OnExpandClick) OnExpandClick(this, ACol, ARow, Expanded);
}

void TExtStringGrid::DoComboCloseUp(int ACol, int ARow) {
  if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TExtStringGrid::DoComboDropDown(int ACol, int ARow) {
  if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}

void TExtStringGrid::DoSearchFooterAction(const QString& Value, int ACol, int ARow, int SearchAction) {
  if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

// A text with a space becomes a name with its quoted value, so that the filter compares the whole text.
bool TExtStringGrid::BuildColumnFilterList(int ACol) {
  FFilterList.Clear();
  if (FilterDropDownAuto && (ACol >= FixedCols() || FilterDropDownColumns == fdAll)) {
    FFilterList.SetSorted(true);
    FFilterList.SetDuplicates(plat::TDuplicates::dupIgnore);
    const auto add = [&](QString t) {
      t = t.trimmed();
      FFilterList.Add(t.contains(u' ') ? t + QStringLiteral("=\"") + t + u'"' : t);
    };
    for (int r = FixedRows(); r <= RowCount() - DrawSettings().FixedFooters - 1; ++r) add(Cells(ACol, r));
    // The rows a filter hides offer their values too, unless the list narrows along with the filter.
    if (!FilterIncremental)
      for (int r = 0; r < AllRowCount(); ++r)
        if (IsHiddenRow(r)) add(AllCells(ACol, r));
    FFilterList.SetSorted(false);
    if (!FilterDropDownClear.isEmpty()) FFilterList.Insert(0, FilterDropDownClear);
  }
  if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, &FFilterList);
  return FFilterList.Count() > 0;
}

// ---------------------------------------------------------------- looks asked by painting

void TExtStringGrid::DoGetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                    plat::TFont* AFont) {
  // ACol is a real column: the header cell of the current column is compared by its real index too, so
  // hidden columns before it do not move the highlight.
  const int fixedCols = plat::TStringGrid::FixedCols();
  const int fixedCol = fixedCols > 0 ? RealColumn(fixedCols - 1) : -1, activeCol = RealColumn(Col());
  if (DrawSettings().ActiveCellShow && ((ACol == fixedCol && ARow == Row()) ||
                                        (ARow == plat::TStringGrid::FixedRows() - 1 && ACol == activeCol))) {
    AFont->Assign(&FActiveCellFont);
    ABrush->SetColor(DrawColors().ActiveCellColor);
  }
  if (HasCellProperties(ACol, ARow)) {
    const TCellProperties* p = GetGridObject(ACol, ARow);
    static constexpr TCellTypes kPlainKinds{ctIcon, ctNone, ctImageList, ctEmpty, ctImages, ctComment};
    if (p->BrushColor() != plat::clNone && kPlainKinds.Contains(CellObjects().GetCellType(ACol, ARow)))
      ABrush->SetColor(p->BrushColor());
    if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
    if (!p->FontStyle.Empty()) AFont->SetStyle(p->FontStyle);
    if (p->FontSize != 0) AFont->SetSize(p->FontSize);
    if (!p->FontName.isEmpty()) AFont->SetName(p->FontName);
  }
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

QStringList TExtStringGrid::RadioStrings(int RCol, int ARow) {
  const plat::TStrings* items = CellChecks().GetRadioStrings(RCol, ARow);
  if (!items) return TRenderGrid::RadioStrings(RCol, ARow);
  QStringList out;
  for (int i = 0; i < items->Count(); ++i) out << items->Strings(i);
  return out;
}

int TExtStringGrid::NodeLevel(int ARow) {
  if (HasCellProperties(0, ARow)) return GetGridObject(0, ARow)->NodeLevel;
  return TRenderGrid::NodeLevel(ARow);
}

void TExtStringGrid::DoGetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                         plat::TFont* AFont) {
  if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

// Group header rows (a node in column 0) may be underlined and summary rows topped with a line.
void TExtStringGrid::DoGetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
  if (ACol > 0 && FGrouping.HeaderUnderline && FObjects.GetCellType(0, ARow) == ctNode) {
    Borders.Include(cbBottom);
    APen->SetColor(FGrouping.HeaderLineColor);
    APen->SetWidth(FGrouping.HeaderLineWidth);
  }
  if (ACol > 0 && FGrouping.SummaryLine && FObjects.GetCellType(0, ARow) == ctSummary) {
    Borders.Include(cbTop);
    APen->SetColor(FGrouping.SummaryLineColor);
    APen->SetWidth(FGrouping.SummaryLineWidth);
  }
  if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::DoGetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
  if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::DoGetAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA) {
  if (ACol == 0 && FMouseActions.HotmailRowSelect()) HA = plat::taCenter;
  if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HA, VA);
}

void TExtStringGrid::DoGetFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) {
  if (OnGetFormat) OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TExtStringGrid::DoGetWordWrap(int ACol, int ARow, bool& WordWrap) {
  if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

void TExtStringGrid::DoGridHint(int ACol, int ARow, QString& Hint) {
  if (OnGridHint) OnGridHint(this, ARow, ACol, Hint);
  QString wide;
  if (OnGridWideHint) OnGridWideHint(this, ARow, ACol, wide);
  if (!wide.isEmpty()) Hint = wide;
}

int TExtStringGrid::DoGetCellCursor(int ACol, int ARow, int X, int Y) {
  int cursor = Cursor();
  if (OnGetCellCursor) OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
  return cursor;
}

void TExtStringGrid::GetCellAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA) {
  HA = FDefaultAlignment;
  VA = FVAlignment;
  const QString text = Cells(ACol, ARow);
  const bool formula = text.startsWith(u'=');
  if (AutoNumAlign && !formula) {
    const int kind = controls::NumericTextKind(text.trimmed());
    if (kind == 0 || kind == 1 || kind == 5) HA = plat::taRightJustify;
  }
  if (HasCellProperties(ACol, ARow) && !formula) HA = GetGridObject(ACol, ARow)->Alignment;
  DoGetAlignment(ACol, ARow, HA, VA);
}

void TExtStringGrid::GetDefaultCellProperties(int ACol, int ARow, plat::TFont* AFont, plat::TBrush* ABrush,
                                              plat::TColor& AColorTo, plat::TColor& AMirrorColor,
                                              plat::TColor& AMirrorColorTo, plat::TAlignment& HA,
                                              TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
  TBaseGrid::GetDefaultCellProperties(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, HA, VA,
                                      WW, GD);
  const bool fixed = ACol < plat::TStringGrid::FixedCols() || ARow < plat::TStringGrid::FixedRows();
  const bool selected = ACol >= Selection().Left && ACol <= Selection().Right && ARow >= Selection().Top &&
                        ARow <= Selection().Bottom;
  // A fixed cell's properties start from the fixed font the cell is painted in, not the grid font: a node or
  // an image in a fixed column keeps the fixed cells' text colour.
  if (fixed) AFont->Assign(&FFixedFont);
  if (fixed || FBands.Active() || FBackGround.Display() == bdGradientHorz ||
      FBackGround.Display() == bdGradientVert || selected) {
    ABrush->SetColor(plat::clNone);
    AColorTo = plat::clNone;
  }
}

}  // namespace grid
