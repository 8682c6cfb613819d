// The grid drop-down: construction, the choice and its stepping, rows and items, the popup's preparation, size,
// showing and closing, and the component styles.
#include "dropdown/grid_dropdown.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dropdown/grid_dropdown_grid.h"
#include "dropdown/multicolumn_styles.h"
#include "dropdown/popup_bars.h"
#include "platform/forms/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/strings.h"

namespace dropdown::griddrop {

using namespace plat;

namespace {

// The item index a data row keeps in the object of its first cell (-1 in the header cells).
TObject* IndexObject(int Index) { return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Index)); }
int ObjectIndex(TObject* Object) { return static_cast<int>(reinterpret_cast<std::intptr_t>(Object)); }

}  // namespace

// The popup grid's questions, answered by the drop-down.
class TCustomExtGridDropDown::TLink : public TGridPopupLink {
 public:
  explicit TLink(TCustomExtGridDropDown& Owner) : D(Owner) {}
  void LinkSelectCell(int Row) override { D.GridSelectCell(Row); }
  void LinkEditKeyDown(std::uint16_t Key) override { D.Perform(WM_KEYDOWN, Key, 0); }
  void LinkCellEditEnded(int Col, int Row) override { D.CellEditEnded(Col, Row); }

 private:
  TCustomExtGridDropDown& D;
};

// ---- construction -----------------------------------------------------------------------------------------

TCustomExtGridDropDown::TCustomExtGridDropDown(TComponent* AOwner)
    : TExtLookupDropDown(AOwner),
      FLink(std::make_unique<TLink>(*this)),
      FItems(std::make_unique<TDropDownItems>(this)),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>()),
      FBands(std::make_unique<grid::TBands>()),
      FNavigation(std::make_unique<grid::TNavigation>()),
      FMouseActions(std::make_unique<grid::TMouseActions>(this)),
      FSearchFooter(std::make_unique<grid::TSearchFooter>(this, false)) {
  FNavigation->HomeEndKey = grid::heFirstLastRow;
  CreateDropDownForm();
  SetSelectionColorStyle(scOffice2007);
  SetComponentStyle(controls::tsOffice2007Luna);
  // This class's defaults win over the style's colours (but the header font keeps the style's colour).
  HeaderColor = clWhite;
  HeaderColorTo = 0x808080;
  LineColor = 0xF1EDEB;
  FixedLineColor = 0xD1BBA4;
  SelectionTextColor = clBlack;
  SetDropDownColor(clWhite);
  SetDropDownHeight(200);
  SetAutoSelect(true);
  if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csReading) &&
      !ComponentState().Contains(csLoading))
    for (int i = 0; i < 3; ++i) FColumns->Add();
}

TCustomExtGridDropDown::~TCustomExtGridDropDown() {
  if (FGrid) {
    FGrid->SetLink(nullptr);
    FGrid->OnSelect = nullptr;
  }
}

std::unique_ptr<TDropDownItems> TCustomExtGridDropDown::CreateItems() {
  return std::make_unique<TDropDownItems>(this);
}

void TCustomExtGridDropDown::SetStyle(TDropDownStyle Value) {
  FStyle = Value;
  SetEditorEnabled(Value == dsDropDown);
}

void TCustomExtGridDropDown::SetGridImages(TCustomImageList* Value) {
  FGridImages = Value;
  if (FGrid) FGrid->SetGridImages(Value);
}

void TCustomExtGridDropDown::Notification(TComponent* AComponent, TOperation Operation) {
  TExtLookupDropDown::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove || AComponent != FGridImages) return;
  FGridImages = nullptr;
  if (FGrid) FGrid->SetGridImages(nullptr);
}

// ---- the choice -------------------------------------------------------------------------------------------

QString TCustomExtGridDropDown::LookupText(int Index) const {
  QString s;
  if (Index >= 0 && Index < FItems->Count()) FItems->GetItem(Index)->ColumnText(FLookupColumn, s);
  return s;
}

QString TCustomExtGridDropDown::RowLookupText(int Row) const {
  return FGrid && FLookupColumn >= 0 ? FGrid->Cells(FLookupColumn, Row) : QString();
}

void TCustomExtGridDropDown::SetItemIndex(int Value) {
  if (FUseItems) {
    if (Value >= FItems->Count()) return;
    FItemIndex = Value;
    WriteText(LookupText(Value));
    return;
  }
  if (!FGrid) {
    FItemIndex = Value;
    return;
  }
  if (Value == FItemIndex || Value >= FGrid->RowCount()) return;
  FItemIndex = Value;
  WriteText(Value < 0 ? QString() : RowLookupText(Value + FGrid->FixedRows()));
}

int TCustomExtGridDropDown::GetItemCount() const {
  if (FUseItems) return FItems->Count();
  return FGrid ? std::max(0, FGrid->RowCount() - FGrid->FixedRows()) : 0;
}

bool TCustomExtGridDropDown::LookupMatch(const QString& Value, QString& Found, int& Index) const {
  const Qt::CaseSensitivity cs = FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  Index = -1;
  if (FUseItems) {
    QString s;
    for (int i = 0; i < FItems->Count(); ++i)
      if (FItems->GetItem(i)->ColumnText(FLookupColumn, s) && s.startsWith(Value, cs)) {
        Found = s;
        Index = i;
        return true;
      }
    return false;
  }
  if (!FGrid) return false;
  for (int r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r) {
    const QString s = RowLookupText(r);
    if (s.startsWith(Value, cs)) {
      Found = s;
      Index = r;
      return true;
    }
  }
  return false;
}

int TCustomExtGridDropDown::RowToItem(int Row) const {
  if (!FGrid || Row >= FGrid->RowCount() || Row < 0) return Row;
  return ObjectIndex(FGrid->Objects(0, Row));
}

int TCustomExtGridDropDown::ItemToRow(int Item) const {
  if (!FGrid || Item < 0 || FGrid->RowCount() <= FGrid->FixedRows()) return FItemIndex;
  for (int r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r)
    if (RowToItem(r) == Item) return r;
  return FItemIndex;
}

TStringGrid* TCustomExtGridDropDown::ListGrid() const { return FGrid; }

// ---- the popup grid ---------------------------------------------------------------------------------------

void TCustomExtGridDropDown::CreateDropDownForm() {
  TExtLookupDropDown::CreateDropDownForm();
  if (!FDropDownForm || !FItems || FGrid) return;
  FGrid = new TExtColGrid(this);
  FGrid->SetParent(FDropDownForm.get());
  FGrid->SetLink(FLink.get());
  FGrid->SetBounds(0, 0, FGrid->Width(), 180);
  FGrid->SetColor(DropDownColor());
  FGrid->Navigation()->HomeEndKey = grid::heFirstLastRow;
  FGrid->OnSelect = [this](TObject*) { GridSelect(); };
  FFocusControl = FGrid;
  SetControl(FGrid);
}

// The grid's current row changes: the selected row follows, and the choice unless the wheel moved the row.
void TCustomExtGridDropDown::GridSelectCell(int Row) {
  FSelRow = Row;
  if (!FGrid || FGrid->WheelSelection() || FQuietRow) return;
  if (FUseItems) {
    SetItemIndex(RowToItem(Row));
  } else {
    WriteText(RowLookupText(Row));
    FItemIndex = Row - FGrid->FixedRows();
  }
}

// A cell edit ended by Enter: the edit shows the row's lookup cell; in the lookup column the popup closes.
void TCustomExtGridDropDown::CellEditEnded(int Col, int Row) {
  if (!FGrid || !DroppedDown() || Row >= FGrid->RowCount()) return;
  WriteText(RowLookupText(Row));
  FItemIndex = FUseItems ? RowToItem(Row) : Row - FGrid->FixedRows();
  if (Col != FLookupColumn) return;
  // The text is the edited cell's: the close must not write the item's text over it.
  FGrid->SetSelectionConfirmed(false);
  DoHideDropDown(false);
}

void TCustomExtGridDropDown::GridSelect() {
  if (FGrid->SelectionConfirmed())
    SetItemIndex(FUseItems ? RowToItem(FGrid->Row()) : FGrid->Row() - FGrid->FixedRows());
  if (!FGridEditable) DoHideDropDown(false);
  if (OnSelect) OnSelect(this);
}

void TCustomExtGridDropDown::FillFromDropDown() {
  TExtColGrid& g = *FGrid;
  g.SetColumns(FColumns.get());
  if (g.ColCount() < FColumns->Count()) g.SetColCount(FColumns->Count());
  if (FUseItems) g.SetRowCount(FItems->Count() + 1);
  for (int c = 0; c < FColumns->Count(); ++c) g.SetColWidths(c, FColumns->GetItem(c)->Width());
  g.LineColor = LineColor;
  g.FixedLineColor = FixedLineColor;
  g.HeaderColor = HeaderColor;
  g.HeaderColorTo = HeaderColorTo;
  g.HeaderHeight = HeaderHeight;
  g.HeaderFont()->Assign(*FHeaderFont);
  g.SetHoverRow(HoverRow);
  g.SetHoverRowColor(HoverRowColor);
  g.SetHoverRowColorTo(HoverRowColorTo);
  g.SetImages(Images());
  // A row height below 1 would divide the popup's height by zero when rows are counted.
  g.SetDefaultRowHeight(RowHeight());
  g.SetRowHeights(0, HeaderHeight);
  TGridOptions o = g.Options();
  auto option = [&o](TGridOption Option, bool On) { On ? o.Include(Option) : o.Exclude(Option); };
  option(goColSizing, ColumnSizing);
  option(goColMoving, ColumnMoving);
  option(goRowSizing, RowSizing);
  option(goRowMoving, RowMoving);
  g.SetOptions(o);
  if (AutoSizeColumns) {
    if (FUseItems) {
      AutoSizeItemColumns();
    } else {
      g.AutoSizeColumns(false, 4);
    }
  }
  AutoSizeItemRows();
}

void TCustomExtGridDropDown::AutoSizeItemColumns() { AutoSizeListColumns(*FColumns, *FItems, *FGrid->Columns()); }

void TCustomExtGridDropDown::AutoSizeItemRows() {
  if (!AnyWordwrap(*FColumns)) return;
  TBitmap scratch(1, 1);
  for (int r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r) {
    const int index = r - FGrid->FixedRows();
    // A row without an item counts as empty.
    FGrid->SetRowHeights(
        r, index < FItems->Count() ? WrappedItemHeight(*scratch.Canvas(), *FColumns, *FItems->GetItem(index)) : 24);
  }
}

// One data row per item (the item's index in its first cell's object), the headers in row 0.
void TCustomExtGridDropDown::FillFromItems() {
  TExtColGrid& g = *FGrid;
  grid::TExtStringGrid::TUpdateGuard guard(g);
  if (g.ColCount() != FColumns->Count()) g.SetColCount(std::max(1, FColumns->Count()));
  for (int c = 0; c < g.ColCount(); ++c) {
    g.SetCells(c, 0, c < FColumns->Count() ? FColumns->GetItem(c)->Header() : QString());
    g.SetObjects(c, 0, IndexObject(-1));
  }
  if (FItems->Count() == 0) return;
  g.SetRowCount(g.FixedRows() + FItems->Count());
  const int columns = g.ColCount();
  for (int k = 0; k < FItems->Count(); ++k) {
    const TStringList& texts = *FItems->GetItem(k)->Text();
    const int row = k + g.FixedRows();
    for (int c = 0; c < columns; ++c) g.SetCells(c, row, c < texts.Count() ? texts.Strings(c) : QString());
    g.SetObjects(0, row, IndexObject(k));
  }
}

void TCustomExtGridDropDown::BeforeDropDown() {
  FDropDownForm->SetCancelOnDeActivate(false);
  FQuietRow = true;  // preparing the grid moves its row; the choice does not follow that
  if (FGrid) {
    TExtColGrid& g = *FGrid;
    // Rows are written below: every row the narrowing hid comes back first, and the narrowing is made again.
    g.ShowAllRows();
    FillFromDropDown();
    g.SetColor(DropDownColor());
    grid::TSortSettings& sort = *g.SortSettings();
    sort.SetShow(FSorting != gsNone);
    sort.SetIndexShow(FSorting == gsMultiColumn);
    FBalloonRearmed = false;
    g.SetGridImages(FGridImages);
    HookGridEvents();
    g.OnEndBlockFocus = [this](TObject*) { FDropDownForm->SetBlockActivate(false); };
    g.SearchFooter()->Assign(FSearchFooter.get());
    g.MouseActions()->Assign(FMouseActions.get());
    g.Navigation()->Assign(FNavigation.get());
    g.Bands()->Assign(FBands.get());
    TGridOptions o = g.Options();
    o.Include(goThumbTracking);
    FRowSelect ? o.Include(goRowSelect) : o.Exclude(goRowSelect);
    FGridEditable ? o.Include(goEditing) : o.Exclude(goEditing);
    g.SetOptions(o);
    g.SetComponentStyle(GetComponentStyle());
  }
  if (FUseItems) {
    TExtLookupDropDown::BeforeDropDown();  // the handler may still change the items
    if (FGrid) {
      FGrid->SetRowCount(FItems->Count() + 1);
      FGrid->SetFixedRows(1);
      FillFromItems();
    }
  }
  if (FGrid) {
    TExtColGrid& g = *FGrid;
    if (!FUseItems) {
      QString found;
      int row = -1;
      LookupMatch(Text(), found, row);
      if (g.RowCount() > g.FixedRows()) g.SetRow(row >= g.FixedRows() ? row : g.FixedRows());
    }
    const grid::TSortSettings& sort = *g.SortSettings();
    if (sort.Column() >= 0 && sort.Show()) g.QSort();
    if (FLookupMethod == lmNarrowDown && !FLookupEntry.trimmed().isEmpty())
      g.NarrowRows(FLookupEntry.trimmed(), FLookupColumn);
    if (FUseItems) {
      const int row = ItemToRow(FItemIndex);
      if (FItemIndex >= 0 && row >= g.FixedRows() && row < g.RowCount()) g.SetRow(row);
    }
    FSelRow = g.Row();
    g.SetSelectionConfirmed(false);
  }
  FQuietRow = false;
  FOldItemIndex = FItemIndex;
  if (!FUseItems) TExtLookupDropDown::BeforeDropDown();
}

void TCustomExtGridDropDown::UpdateDropDownSize() {
  TExtLookupDropDown::UpdateDropDownSize();
  if (!FGrid || !DropDownAutoWidth) return;
  FitDropDownWidth();
}

// Whole data rows only, with 6 pixels beyond the header row.
void TCustomExtGridDropDown::AdaptDropDownHeight(int& Height) {
  const int bars = BarsHeight();
  const int rows = (Height - bars - HeaderHeight - 2) / RowHeight();
  Height = bars + HeaderHeight + rows * RowHeight() + 6;
}

void TCustomExtGridDropDown::DoShowDropDown() {
  TExtLookupDropDown::DoShowDropDown();
  if (!FGrid || !DroppedDown()) return;
  if (!FUseItems)
    while (FColumns->Count() < FGrid->ColCount()) FColumns->Add();
  SizeColumnsToDropDown();
  const int row = FGrid->Row();
  if (!AllListRowsVisible() && (FGrid->TopRow() + FGrid->VisibleRowCount() < row || row < FGrid->TopRow()))
    FGrid->SetTopRow(row);
  FGrid->SetTabStop(true);
  if (FGrid->CanFocus()) FGrid->SetFocus();
}

void TCustomExtGridDropDown::DropDownSizing() {
  TExtLookupDropDown::DropDownSizing();
  SizeColumnsToDropDown();
}

void TCustomExtGridDropDown::SizeColumnsToDropDown() {
  if (!ColumnSizeWithDropDown || !FGrid || !FDropDownForm) return;
  SpreadColumns(*FColumns);
}

void TCustomExtGridDropDown::DoHideDropDown(bool Cancelled) {
  if (FDropDownForm && FDropDownForm->Visible() && FGrid) {
    if (Cancelled) {
      // The inherited hide gives the edit back its text from the opening; the choice of that time goes with it.
      FItemIndex = FOldItemIndex;
    } else {
      if (FGrid->SelectionConfirmed())
        SetItemIndex(FUseItems ? RowToItem(FSelRow) : FSelRow - FGrid->FixedRows());
      FOldItemIndex = FItemIndex;
      FGrid->SetSelectionConfirmed(false);
    }
  }
  TExtLookupDropDown::DoHideDropDown(Cancelled);
}

// ---- styles -----------------------------------------------------------------------------------------------

void TCustomExtGridDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  multicolumn::SelectionStyleLines(Value, LineColor, FixedLineColor);
  TExtLookupDropDown::SetSelectionColorStyle(Value);
}

// The Office 2010 styles set the stored list colours too (as the multi-column drop-down does): they follow the
// style like the others, though the popup grid draws in its own look.
void TCustomExtGridDropDown::SetComponentStyle(TExtStyle AStyle) {
  TExtLookupDropDown::SetComponentStyle(AStyle);
  ApplyListStyle(AStyle, FHeaderFont.get(), HeaderColor, HeaderColorTo, LineColor, FixedLineColor,
                 SelectionTextColor);
}

}  // namespace dropdown::griddrop
