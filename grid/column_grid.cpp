// The column grid: the collection kept in step with the grid, and the grid's virtuals answered from the
// column settings.
#include "grid/column_grid.h"

#include "controls/spin_edit.h"
#include "controls/text_utils.h"
#include "grid/edit/edit_link.h"
#include "grid/edit/special_editors.h"
#include "platform/rtl/format.h"
#include "platform/rtl/math.h"

namespace grid {

TExtColumnGrid::TExtColumnGrid(plat::TComponent* AOwner) : TExtStringGrid(AOwner) {
  FColumnCollection = CreateColumns();
  FColumnCollection->FNoRecursiveUpdate = true;
  SynchColumns();
  FColumnCollection->FNoRecursiveUpdate = false;
  FCellGraphic = std::make_unique<TCellGraphic>();
  FCellGraphic->SetShared(true);
  FSaveCol = std::make_unique<TGridColumnItem>(nullptr);
  // The columns take their headers from the list before the string grid writes it into row 0.
  plat::TNotifyEvent show = ColumnHeaders()->OnChange;
  ColumnHeaders()->OnChange = [this, show](plat::TObject* Sender) {
    ColumnHeadersChanged();
    if (show) show(Sender);
  };
}

TExtColumnGrid::~TExtColumnGrid() {
  FDestroying = true;
  ColumnHeaders()->OnChange = nullptr;
}

void TExtColumnGrid::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
  TExtStringGrid::Notification(AComponent, Operation);
  if (Operation != plat::opRemove || !FColumnCollection) return;
  for (int i = 0; i < FColumnCollection->Count(); ++i) {
    TGridColumnItem* c = FColumnCollection->Items(i);
    if (c->EditLink && static_cast<plat::TComponent*>(c->EditLink) == AComponent) c->EditLink = nullptr;
    if (c->ColumnPopup && static_cast<plat::TComponent*>(c->ColumnPopup) == AComponent) c->ColumnPopup = nullptr;
  }
}

std::unique_ptr<TGridColumnCollection> TExtColumnGrid::CreateColumns() {
  return std::make_unique<TGridColumnCollection>(this);
}

TGridColumnItem* TExtColumnGrid::ColumnOf(int ACol) const {
  if (!FColumnCollection || ACol < 0 || ACol >= FColumnCollection->Count()) return nullptr;
  return FColumnCollection->Items(ACol);
}

TGridColumnItem* TExtColumnGrid::ColumnByName(const QString& AValue) const {
  for (int i = 0; i < FColumnCollection->Count(); ++i)
    if (FColumnCollection->Items(i)->Name == AValue) return FColumnCollection->Items(i);
  return nullptr;
}

// ---------------------------------------------------------------- keeping the collection in step

void TExtColumnGrid::SynchColumns() {
  if (!FColumnCollection) return;
  const int want = ColCount() + NumHiddenColumns();
  while (FColumnCollection->Count() < want) FColumnCollection->Add();
  while (FColumnCollection->Count() > want) FColumnCollection->Delete(FColumnCollection->Count() - 1);
}

void TExtColumnGrid::SetColCount(int Value) {
  TExtStringGrid::SetColCount(Value);
  FColumnCollection->FNoRecursiveUpdate = true;
  SynchColumns();
  FColumnCollection->FNoRecursiveUpdate = false;
}

// Every count change (hiding keeps ColCount + hidden the same) keeps one column per real column, except
// inside the column inserts and removals, which place their columns themselves.
void TExtColumnGrid::SizeChanged(int OldColCount, int OldRowCount) {
  TExtStringGrid::SizeChanged(OldColCount, OldRowCount);
  if (FInColumnOp || !FColumnCollection || FDestroying) return;
  const bool was = FColumnCollection->FNoRecursiveUpdate;
  FColumnCollection->FNoRecursiveUpdate = true;
  SynchColumns();
  FColumnCollection->FNoRecursiveUpdate = was;
}

void TExtColumnGrid::Loaded() {
  TExtStringGrid::Loaded();
  SynchColumns();
  FColumnCollection->SetOrganization();
}

void TExtColumnGrid::AllCellsChanged() {
  TExtStringGrid::AllCellsChanged();
  FColumnCollection->FNoRecursiveUpdate = true;
  SynchColumns();
  FColumnCollection->FNoRecursiveUpdate = false;
}

void TExtColumnGrid::InsertCols(int ColIndex, int CCount) {
  FInColumnOp = true;
  TExtStringGrid::InsertCols(ColIndex, CCount);
  FInColumnOp = false;
  FColumnCollection->FNoRecursiveUpdate = true;
  for (int i = 0; i < CCount && ColIndex <= FColumnCollection->Count(); ++i) FColumnCollection->Insert(ColIndex);
  SynchColumns();
  FColumnCollection->FNoRecursiveUpdate = false;
}

void TExtColumnGrid::RemoveCols(int ColIndex, int CCount) {
  FInColumnOp = true;
  TExtStringGrid::RemoveCols(ColIndex, CCount);
  FInColumnOp = false;
  FColumnCollection->FNoRecursiveUpdate = true;
  for (int i = 0; i < CCount && ColIndex < FColumnCollection->Count(); ++i) FColumnCollection->Delete(ColIndex);
  SynchColumns();
  FColumnCollection->FNoRecursiveUpdate = false;
}

void TExtColumnGrid::Group(int Colindex) {
  if (TGridColumnItem* c = ColumnOf(Colindex)) FSaveCol->Assign(c);
  TExtStringGrid::Group(Colindex);
}

void TExtColumnGrid::UnGroup() {
  const int col = GroupColumn();
  TExtStringGrid::UnGroup();
  if (col != -1)
    if (TGridColumnItem* c = ColumnOf(col)) {
      c->Assign(FSaveCol.get());
      c->StoreHeader(Cells(col, 0));
    }
}

// The column object moves with its column; every setting travels with it.
void TExtColumnGrid::HandleColumnMoved(int FromIndex, int ToIndex) {
  FColumnCollection->FNoRecursiveUpdate = true;
  const int top = TopRow();
  const int from = RealColIndex(FromIndex), to = RealColIndex(ToIndex);
  TExtStringGrid::HandleColumnMoved(FromIndex, ToIndex);
  BeginUpdate();
  FColMoving = true;
  if (TGridColumnItem* c = ColumnOf(from); c && to >= 0 && to < FColumnCollection->Count()) c->SetIndex(to);
  EndUpdate();
  SetTopRow(top);
  FColMoving = false;
  FColumnCollection->FNoRecursiveUpdate = false;
  if (OnAfterColumnMoved) OnAfterColumnMoved(this, from, to);
}

void TExtColumnGrid::ColWidthsChanged() {
  TExtStringGrid::ColWidthsChanged();
  if (IsLoading() || FDestroying || !FColumnCollection) return;
  for (int c = 0; c < ColCount(); ++c)
    if (TGridColumnItem* col = ColumnOf(RealColIndex(c))) col->SetStoredWidth(ColWidths(c));
}

void TExtColumnGrid::ChangeScale(int M, int D) {
  TExtStringGrid::ChangeScale(M, D);
  if (IsDesigning() || M == D || D == 0) return;
  for (int c = 0; c < ColCount() && c < FColumnCollection->Count(); ++c) {
    TGridColumnItem* col = FColumnCollection->Items(c);
    col->Font()->SetSize(plat::MulDiv(col->Font()->Size(), M, D));
    col->HeaderFont()->SetSize(plat::MulDiv(col->HeaderFont()->Size(), M, D));
  }
}

void TExtColumnGrid::HandleMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  TExtStringGrid::HandleMouseDown(Button, Shift, X, Y);
  if (Button != plat::mbLeft && Button != plat::mbRight) return;
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (c < 0 || r < 0) return;
  TGridColumnItem* col = ColumnOf(RealColIndex(c));
  if (!col || !col->ColumnPopup) return;
  const bool left = Button == plat::mbLeft;
  const TColumnPopupType fixedKind = left ? cpFixedCellsLClick : cpFixedCellsRClick;
  const TColumnPopupType normalKind = left ? cpNormalCellsLClick : cpNormalCellsRClick;
  const TColumnPopupType allKind = left ? cpAllCellsLClick : cpAllCellsRClick;
  const TColumnPopupType t = col->ColumnPopupType;
  if (t != fixedKind && t != normalKind && t != allKind) return;
  if (OnColumnPopup) OnColumnPopup(this, c, r, col->ColumnPopup);
  const bool fixedRow = r < FixedRows();
  if (t == allKind || (fixedRow && t == fixedKind) || (!fixedRow && t == normalKind)) {
    const plat::TRect cell = CellRect(c, r);
    const plat::TPoint at = ClientToScreen({cell.Left, cell.Bottom});
    col->ColumnPopup->Popup(at.X, at.Y);
  }
}

// ---------------------------------------------------------------- headers

void TExtColumnGrid::UpdateColumnHeaders() {
  if (FixedRows() == 0 || FInHeaderUpdate) return;
  FInHeaderUpdate = true;
  plat::TStringList* list = ColumnHeaders();
  list->BeginUpdate();
  list->Clear();
  for (int i = 0; i < FColumnCollection->Count(); ++i) {
    TGridColumnItem* c = FColumnCollection->Items(i);
    const QString cell = Cells(i, 0);
    if (c->Header().isEmpty() && !cell.isEmpty()) c->StoreHeader(cell);
    list->Add(c->Header());
  }
  list->EndUpdate();
  FInHeaderUpdate = false;
}

void TExtColumnGrid::ColumnHeadersChanged() {
  const plat::TStringList* list = ColumnHeaders();
  for (int i = 0; i < FColumnCollection->Count() && i < list->Count(); ++i)
    FColumnCollection->Items(i)->StoreHeader(list->Strings(i));
}

// ---------------------------------------------------------------- which cells a column decides

bool TExtColumnGrid::InColumnRange(int ACol, int ARow) const {
  return ACol < FColumnCollection->Count() && ACol >= FixedCols() && ARow >= FixedRows();
}

bool TExtColumnGrid::IsNormalCell(int ACol, int ARow) const {
  return InColumnRange(ACol, ARow) && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() &&
         ARow < RowCount() - FixedFooters();
}

void TExtColumnGrid::GetDefaultCellProperties(int ACol, int ARow, plat::TFont* AFont, plat::TBrush* ABrush,
                                              plat::TColor& AColorTo, plat::TColor& AMirrorColor,
                                              plat::TColor& AMirrorColorTo, plat::TAlignment& HA,
                                              TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
  TGridColumnItem* c = ColumnOf(ACol);
  if (!c)
    return TExtStringGrid::GetDefaultCellProperties(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor,
                                                    AMirrorColorTo, HA, VA, WW, GD);
  AFont->Assign(c->Font());
  ABrush->SetColor(c->Color());
  AColorTo = plat::clNone;
  AMirrorColor = AMirrorColorTo = plat::clNone;
  HA = ARow < FixedRows() ? c->HeaderAlignment() : c->Alignment();
  VA = VAlignment();
  WW = WordWrap();
  GD = GradientVertical;
  if (IsFixed(DisplColIndex(ACol), ARow) || (Bands()->Active() && c->ShowBands())) {
    ABrush->SetColor(plat::clNone);
    AColorTo = plat::clNone;
  }
}

QString TExtColumnGrid::GetFormattedCell(int ACol, int ARow) {
  TGridColumnItem* c = ColumnOf(ACol);
  if (!c) return TExtStringGrid::GetFormattedCell(ACol, ARow);
  const QString text = Cells(ACol, ARow);
  QString format = c->FloatFormat();
  const int kind = controls::NumericTextKind(text.trimmed());
  bool isFloat = kind == 0 || kind == 1;
  if (OnGetFloatFormat) OnGetFloatFormat(this, ACol, ARow, isFloat, format);
  if (format.isEmpty() || !isFloat) return text;
  // A format that takes no floating-point value leaves the text as it is.
  try {
    return plat::Format(format, {Floats(ACol, ARow)});
  } catch (const plat::Exception&) {
    return text;
  }
}

QString TExtColumnGrid::GetCellFloatFormat(int ACol, int ARow) const {
  (void)ARow;
  const TGridColumnItem* c = ColumnOf(ACol);
  return c && !c->FloatFormat().isEmpty() ? c->FloatFormat() : FloatFormat();
}

TCellType TExtColumnGrid::GetCellType(int ACol, int ARow) {
  const TCellType t = TExtStringGrid::GetCellType(ACol, ARow);
  if (t == ctEmpty && IsNormalCell(ACol, ARow) && ColumnOf(ACol)->Editor() == edDataCheckBox) return ctDataCheckBox;
  return t;
}

TCellGraphic* TExtColumnGrid::GetCellGraphic(int ACol, int ARow) {
  if (FDestroying) return nullptr;
  TCellGraphic* g = TExtStringGrid::GetCellGraphic(ACol, ARow);
  if (g || !IsNormalCell(ACol, ARow) || ColumnOf(ACol)->Editor() != edDataCheckBox) return g;
  FCellGraphic->CellType = ctVirtCheckBox;
  FCellGraphic->CellTransparent = ControlLook()->ControlStyle() == csFlat;
  return FCellGraphic.get();
}

void TExtColumnGrid::UpdateColSize(int ACol, int& AWidth) {
  if (TGridColumnItem* c = ColumnOf(ACol)) {
    if (c->MinSize > 0 && AWidth < c->MinSize) AWidth = c->MinSize;
    if (c->MaxSize > 0 && AWidth > c->MaxSize) AWidth = c->MaxSize;
  }
  TExtStringGrid::UpdateColSize(ACol, AWidth);
}

void TExtColumnGrid::UpdateAutoColSize(int ACol, int& AWidth) {
  if (TGridColumnItem* c = ColumnOf(ACol)) {
    if (c->AutoMinSize > 0 && AWidth < c->AutoMinSize) AWidth = c->AutoMinSize;
    if (c->AutoMaxSize > 0 && AWidth > c->AutoMaxSize) AWidth = c->AutoMaxSize;
  }
  TExtStringGrid::UpdateAutoColSize(ACol, AWidth);
}

// ---------------------------------------------------------------- looks

void TExtColumnGrid::DoGetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                    plat::TFont* AFont) {
  TGridColumnItem* c = ColumnOf(ACol);
  if (c && ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() &&
      ARow < RowCount() - FixedFooters()) {
    if (c->Fixed())
      ABrush->SetColor(FixedColor());
    else if (ARow >= FixedRows() && (!c->ShowBands() || !Bands()->Active()))
      ABrush->SetColor(c->Color());
    AFont->Assign(ARow < FixedRows() ? c->HeaderFont() : c->Font());
    if (HasCellProperties(ACol, ARow)) {
      const TCellProperties* p = GetGridObject(ACol, ARow);
      if (p->BrushColor() != plat::clNone) ABrush->SetColor(p->BrushColor());
      if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
    }
  }
  TExtStringGrid::DoGetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::DoGetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                         plat::TFont* AFont) {
  if (TGridColumnItem* c = ColumnOf(ACol)) {
    const bool fixed = ACol < FixedCols() || ARow < FixedRows() ||
                       ACol >= ColCount() + NumHiddenColumns() - FixedRightCols() ||
                       ARow >= RowCount() - FixedFooters();
    const TCellProperties* p = HasCellProperties(ACol, ARow) ? GetGridObject(ACol, ARow) : nullptr;
    if (fixed) {
      AFont->Assign(PrintSettings()->FixedFont());
    } else {
      if (c->Fixed())
        ABrush->SetColor(FixedColor());
      else if (!(c->ShowBands() && Bands()->Active() && Bands()->Print))
        ABrush->SetColor(c->PrintColor);
      if (p && p->BrushColor() != plat::clNone) ABrush->SetColor(p->BrushColor());
      if (c->PrintFontCustom) {
        AFont->Assign(c->PrintFont());
        if (p && p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
        if (p && !p->FontStyle.Empty()) AFont->SetStyle(p->FontStyle);
        if (p && p->FontSize != 0) AFont->SetSize(p->FontSize);
        if (p && !p->FontName.isEmpty()) AFont->SetName(p->FontName);
      } else {
        AFont->Assign(PrintSettings()->Font());
      }
    }
  }
  TExtStringGrid::DoGetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::DoGetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
  if (TGridColumnItem* c = ColumnOf(ACol); c && InColumnRange(ACol, ARow)) {
    Borders = c->Borders();
    APen->Assign(c->BorderPen());
  }
  TExtStringGrid::DoGetCellBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::DoGetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
  if (TGridColumnItem* c = ColumnOf(ACol); c && InColumnRange(ACol, ARow) && c->PrintBorderCustom) {
    Borders = c->PrintBorders;
    APen->Assign(c->PrintBorderPen());
  }
  TExtStringGrid::DoGetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::DoGetAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA) {
  if (TGridColumnItem* c = ColumnOf(ACol)) {
    HA = ARow < FixedRows() ? c->HeaderAlignment() : c->Alignment();
    if (HasCellProperties(ACol, ARow)) HA = GetGridObject(ACol, ARow)->Alignment;
  }
  TExtStringGrid::DoGetAlignment(ACol, ARow, HA, VA);
}

void TExtColumnGrid::DoGetFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) {
  if (TGridColumnItem* c = ColumnOf(ACol)) {
    AStyle = c->SortStyle;
    aPrefix = c->SortPrefix;
    aSuffix = c->SortSuffix;
  }
  TExtStringGrid::DoGetFormat(ACol, AStyle, aPrefix, aSuffix);
}

// ---------------------------------------------------------------- editing

void TExtColumnGrid::GetCellEditorType(int ACol, int ARow, TEditorType& AEditor) {
  if (TGridColumnItem* c = ColumnOf(ACol)) {
    if (InColumnRange(ACol, ARow)) {
      AEditor = c->Editor();
      // The grid's editors show what the column holds: its list (and list length), its spin range and step,
      // its edit link.
      ComboItems()->Assign(c->ComboItems());
      ControlLook()->DropDownCount = c->DropDownCount;
      if (AEditor == edSpinEdit || AEditor == edFloatSpinEdit || AEditor == edTimeSpinEdit ||
          AEditor == edDateSpinEdit)
        if (controls::TEsgSpinEdit* spin = SpinEdit()) {
          spin->MinValue = c->SpinMin;
          spin->MaxValue = c->SpinMax;
          spin->Increment = c->SpinStep;
        }
      SetEditLink(c->EditLink);
    }
    if (!c->FloatFormat().isEmpty()) SetFloatFormat(c->FloatFormat());
  }
  TExtStringGrid::GetCellEditorType(ACol, ARow, AEditor);
}

void TExtColumnGrid::DoIsFixedCell(int ACol, int ARow, bool& IsFixed) {
  const int c = RealColIndex(ACol);
  if (TGridColumnItem* col = ColumnOf(c); col && ACol >= FixedCols() && ARow >= FixedRows()) IsFixed = col->Fixed();
  TExtStringGrid::DoIsFixedCell(ACol, ARow, IsFixed);
}

void TExtColumnGrid::CheckCellEditable(int ACol, int ARow, bool& CanEdit) {
  CanEdit = false;
  if (!IsLoading() && InColumnRange(ACol, ARow)) {
    const TGridColumnItem* c = ColumnOf(ACol);
    CanEdit = !(c->ReadOnly || c->Fixed());
  }
  if (HasCellProperties(ACol, ARow) && CanEdit) CanEdit = !GetGridObject(ACol, ARow)->ReadOnly;
  const plat::TPoint b = HasCellProperties(ACol, ARow) ? BaseCell(ACol, ARow) : plat::TPoint(ACol, ARow);
  DoCanEditCell(b.X, b.Y, CanEdit);
}

void TExtColumnGrid::DoIsPasswordCell(int ACol, int ARow, bool& IsPassword) {
  if (TGridColumnItem* c = ColumnOf(ACol)) IsPassword = c->Password();
  TExtStringGrid::DoIsPasswordCell(ACol, ARow, IsPassword);
}

bool TExtColumnGrid::HasComboBox(int ACol, int ARow) {
  if (!ColumnOf(ACol)) return TExtStringGrid::HasComboBox(ACol, ARow);
  bool has = false;
  if (InColumnRange(ACol, ARow)) {
    const TEditorType e = ColumnOf(ACol)->Editor();
    has = e == edComboEdit || e == edComboList;
  }
  if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, has);
  return has;
}

void TExtColumnGrid::GetCheckTrue(int ACol, int ARow, QString& Value) {
  TExtStringGrid::GetCheckTrue(ACol, ARow, Value);
  if (IsNormalCell(ACol, ARow)) Value = ColumnOf(ACol)->CheckTrue;
}

void TExtColumnGrid::GetCheckFalse(int ACol, int ARow, QString& Value) {
  TExtStringGrid::GetCheckFalse(ACol, ARow, Value);
  if (IsNormalCell(ACol, ARow)) Value = ColumnOf(ACol)->CheckFalse;
}

int TExtColumnGrid::HandleGetEditLimit() {
  if (Col() >= FixedCols())
    if (TGridColumnItem* c = ColumnOf(RealColIndex(Col()))) return c->EditLength;
  return TExtStringGrid::HandleGetEditLimit();
}

QString TExtColumnGrid::GetEditMask(int ACol, int ARow) {
  QString mask;
  if (ACol >= FixedCols())
    if (TGridColumnItem* c = ColumnOf(RealColIndex(ACol))) mask = c->EditMask;
  const QString base = TExtStringGrid::GetEditMask(ACol, ARow);
  return base.isEmpty() ? mask : base;
}

bool TExtColumnGrid::BuildColumnFilterList(int ACol) {
  FilterList()->SetSorted(false);
  TExtStringGrid::BuildColumnFilterList(ACol);
  TGridColumnItem* c = ColumnOf(ACol);
  if (!c || c->Filter()->Count() == 0) return false;
  plat::TStringList* list = FilterList();
  list->Clear();
  for (int i = 0; i < c->Filter()->Count(); ++i) {
    const QString e = c->Filter()->Strings(i);
    const qsizetype eq = e.indexOf(u'=');
    list->Add(eq < 0 ? e : e.left(eq));
  }
  return true;
}

void TExtColumnGrid::ApplyColumnFilter(int RCol, int ItemIndex) {
  // A check list's change (no single item) is the data services' filter building.
  if (ItemIndex < 0) {
    TExtStringGrid::ApplyColumnFilter(RCol, ItemIndex);
    return;
  }
  FFilterCol = RCol;
  DoFilterSelect(ItemIndex);
}

void TExtColumnGrid::DoFilterSelect(int ItemIndex) {
  TGridColumnItem* c = FFilterCol >= 0 ? ColumnOf(FFilterCol) : nullptr;
  if (c && ItemIndex >= 0 && ItemIndex < c->Filter()->Count()) {
    // An entry is "friendly name=condition", or a bare condition that is its own name.
    const QString entry = c->Filter()->Strings(ItemIndex);
    const qsizetype eq = entry.indexOf(u'=');
    const QString friendly = eq < 0 ? entry : entry.left(eq);
    if (AutoFilterDisplay) c->SetHeader(friendly);
    if (AutoFilterUpdate) SetFilterActive(false);
    QString condition = eq < 0 ? entry : entry.mid(eq + 1);
    if (OnFilterSelect) OnFilterSelect(this, FFilterCol, ItemIndex, friendly, condition);
    TFilterData* f = Filter()->GetColFilter(FFilterCol);
    f->Condition = condition;
    f->CaseSensitive = c->FilterCaseSensitive;
    if (AutoFilterUpdate) {
      SetFilterActive(true);
      if (RowCount() != FixedRows() && !(RowCount() == 1 && FixedRowAlways())) SetRow(FixedRows());
      DoFilterDone();
    }
  }
  FFilterCol = -1;
}

QString TExtColumnGrid::GetVersionString() const {
  const int v = GetVersionNr();
  return QStringLiteral("%1.%2.%3.%4 Aug, 2012").arg(v >> 24 & 0xFF).arg(v >> 16 & 0xFF).arg(v >> 8 & 0xFF).arg(v & 0xFF);
}

}  // namespace grid
