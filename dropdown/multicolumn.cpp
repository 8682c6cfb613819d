// The multi-column drop-down: properties, the choice and its stepping, the popup's preparation, size, showing
// and closing, and the component styles.
#include "dropdown/multicolumn.h"

#include <algorithm>
#include <cmath>

#include "dropdown/multicolumn_grid.h"
#include "dropdown/multicolumn_styles.h"
#include "dropdown/popup_bars.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/strings.h"

namespace dropdown::multicolumn {

using namespace plat;

// ---- construction -----------------------------------------------------------------------------------------

TExtMultiColumnDropDown::TExtMultiColumnDropDown(TComponent* AOwner)
    : TExtLookupDropDown(AOwner),
      FItems(std::make_unique<TDropDownItems>(this)),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>()) {
  // The base made the popup form and applied its styles before this class existed: the grid joins the popup
  // now, and the styles run again through this class.
  CreateDropDownForm();
  SetSelectionColorStyle(scOffice2007);
  SetComponentStyle(controls::tsOffice2007Luna);
  // This class's defaults win over the style's colours (but the header font keeps the style's colour).
  FHeaderColor = clWhite;
  FHeaderColorTo = 0x808080;
  FLineColor = 0xF1EDEB;
  FFixedLineColor = 0xD1BBA4;
  FSelectionTextColor = clBlack;
  SetDropDownColor(clWhite);
  SetDropDownHeight(200);
  SetAutoSelect(true);
}

TExtMultiColumnDropDown::~TExtMultiColumnDropDown() {
  if (FGrid) {
    FGrid->SetLink(nullptr);
    FGrid->OnSelect = nullptr;
  }
}

void TExtMultiColumnDropDown::Assign(TPersistent* Source) {
  TExtLookupDropDown::Assign(Source);
  auto* s = dynamic_cast<TExtMultiColumnDropDown*>(Source);
  if (!s) return;
  FCaseSensitive = s->FCaseSensitive;
  FDropDownAutoWidth = s->FDropDownAutoWidth;
  FDropDownRowHeight = s->FDropDownRowHeight;
  FLineColor = s->FLineColor;
  FFixedLineColor = s->FFixedLineColor;
  FColumnSizing = s->FColumnSizing;
  FColumnSizeWithDropDown = s->FColumnSizeWithDropDown;
  FColumns->Assign(s->FColumns.get());
  FHeaderColor = s->FHeaderColor;
  FHeaderColorTo = s->FHeaderColorTo;
  FHeaderHeight = s->FHeaderHeight;
  FHeaderFont->Assign(*s->FHeaderFont);
  FLookupColumn = s->FLookupColumn;
  FSelectionTextColor = s->FSelectionTextColor;
  FItems->Clear();
  for (int i = 0; i < s->FItems->Count(); ++i) FItems->Add()->Assign(s->FItems->GetItem(i));
  FItemIndex = s->FItemIndex;
}

void TExtMultiColumnDropDown::SetHeaderFont(const TFont& Value) { FHeaderFont->Assign(Value); }

// ---- the choice -------------------------------------------------------------------------------------------

QString TExtMultiColumnDropDown::LookupText(int Index) const {
  QString s;
  if (Index >= 0 && Index < FItems->Count()) FItems->GetItem(Index)->ColumnText(FLookupColumn, s);
  return s;
}

int TExtMultiColumnDropDown::GetItemIndex(const QString& Value) const {
  return FItems->IndexInColumn(FLookupColumn, Value);
}

TStringGrid* TExtMultiColumnDropDown::ListGrid() const { return FGrid; }

// ---- the popup grid's questions ---------------------------------------------------------------------------

bool TExtMultiColumnDropDown::LinkDrawItem(int Column, int Row, TCanvas& Canvas, const TRect& Rect) {
  if (!OnDropDownDrawItem) return false;
  OnDropDownDrawItem(this, Column, Row, &Canvas, Rect);
  return true;
}

void TExtMultiColumnDropDown::LinkGetItemText(int Column, int Row, QString& Text) {
  if (OnDropDownGetItemText) OnDropDownGetItemText(this, Column, Row, Text);
}

void TExtMultiColumnDropDown::LinkDrawSelection(TCanvas& Canvas, const TRect& Rect, int Join, TColor Color) {
  DrawSelectionBackground(Canvas, Rect, Join, Color);
}

void TExtMultiColumnDropDown::LinkDrawGradient(TCanvas& Canvas, TColor Color, TColor ColorTo, const TRect& Rect,
                                               int Steps) {
  DrawGradient(Canvas, Color, ColorTo, gdVertical, Rect, Steps);
}

// The current row of the open popup changes: the choice follows at once, unless only the wheel moved the row
// or the popup is still being prepared.
void TExtMultiColumnDropDown::LinkSelectRow(int Row) {
  if (FShowing || !FGrid || FGrid->WheelSelection()) return;
  SetItemIndex(Row - 1);
}

void TExtMultiColumnDropDown::LinkEditKeyDown(std::uint16_t Key) { Perform(WM_KEYDOWN, Key, 0); }

// ---- the popup --------------------------------------------------------------------------------------------

void TExtMultiColumnDropDown::CreateDropDownForm() {
  TExtLookupDropDown::CreateDropDownForm();
  if (!FDropDownForm || !FItems || FGrid) return;
  FGrid = new TExtColGrid(this);
  FGrid->SetParent(FDropDownForm.get());
  FGrid->SetLink(this);
  FGrid->SetBounds(0, 0, FGrid->Width(), 180);
  FGrid->SetColor(DropDownColor());
  FFocusControl = FGrid;
  SetControl(FGrid);
}

int TExtMultiColumnDropDown::RowHeight() const { return std::max(1, FDropDownRowHeight); }

void TExtMultiColumnDropDown::BeforeDropDown() {
  TExtLookupDropDown::BeforeDropDown();
  if (!FGrid) return;
  FDropDownForm->SetCancelOnDeActivate(false);
  FShowing = true;
  FillFromDropDown();
  TGridOptions options = FGrid->Options();
  options.Include(goThumbTracking);
  FGrid->SetOptions(options);
  FGrid->SetColor(DropDownColor());
  FGrid->OnSelect = [this](TObject*) { GridSelect(); };
  FGrid->SetSelectionConfirmed(false);
  const int row = FItemIndex + 1;
  if (FGrid->RowCount() > 1) FGrid->SetRow(row < FGrid->FixedRows() ? 1 : std::min(row, FGrid->RowCount() - 1));
  FOldItemIndex = FItemIndex;
  FLookupEntry.clear();
}

void TExtMultiColumnDropDown::FillFromDropDown() {
  TExtColGrid& g = *FGrid;
  g.SetColumns(FColumns.get());
  g.SetColCount(FColumns->Count());
  g.SetRowCount(FItems->Count() + 1);
  if (g.RowCount() > 1) {
    g.SetFixedRows(1);
    g.SetRow(1);
  }
  for (int c = 0; c < FColumns->Count(); ++c) g.SetColWidths(c, FColumns->GetItem(c)->Width());
  g.SetLineColor(FLineColor);
  g.SetFixedLineColor(FFixedLineColor);
  g.SetHeaderColor(FHeaderColor);
  g.SetHeaderColorTo(FHeaderColorTo);
  g.SetHeaderHeight(FHeaderHeight);
  g.SetHeaderFont(*FHeaderFont);
  g.SetImages(Images());
  // A row height below 1 would divide the popup's height by zero when rows are counted.
  g.SetDefaultRowHeight(RowHeight());
  g.SetRowHeights(0, FHeaderHeight);
  TGridOptions options = g.Options();
  if (FColumnSizing)
    options.Include(goColSizing);
  else
    options.Exclude(goColSizing);
  g.SetOptions(options);
  AutoSizeColumns();
  AutoSizeRows();
}

// Columns with AutoSize take the width of their widest item (image and text); header texts do not count.
void TExtMultiColumnDropDown::AutoSizeColumns() {
  AutoSizeListColumns(*FColumns, *FItems, *FGrid->Columns());
}

// With word-wrapped columns every item row is as high as its tallest wrapped text or image (24 at least).
void TExtMultiColumnDropDown::AutoSizeRows() {
  if (!AnyWordwrap(*FColumns)) return;
  TBitmap scratch(1, 1);
  for (int i = 0; i < FItems->Count(); ++i)
    FGrid->SetRowHeights(i + 1, WrappedItemHeight(*scratch.Canvas(), *FColumns, *FItems->GetItem(i)));
}

void TExtMultiColumnDropDown::UpdateDropDownSize() {
  TExtLookupDropDown::UpdateDropDownSize();
  if (!FGrid || !FDropDownAutoWidth) return;
  FitDropDownWidth();
}

// Whole item rows only: the height keeps the bars, the header row and 2 pixels of border.
void TExtMultiColumnDropDown::AdaptDropDownHeight(int& Height) {
  const int bars = BarsHeight();
  const int rows = (Height - bars - FHeaderHeight - 2) / RowHeight();
  Height = bars + FHeaderHeight + rows * RowHeight() + 2;
}

void TExtMultiColumnDropDown::DoShowDropDown() {
  TExtLookupDropDown::DoShowDropDown();
  if (FGrid && DroppedDown()) {
    SizeColumnsToDropDown();
    if (FGrid->RowCount() > 1) {
      const int row = std::min(FItemIndex < 0 ? 1 : FItemIndex + 1, FGrid->RowCount() - 1);
      FGrid->SetRow(row);
      // A row out of view comes in as the last visible row.
      if (row < FGrid->TopRow() || row >= FGrid->TopRow() + FGrid->VisibleRowCount())
        FGrid->SetTopRow(std::max(FGrid->FixedRows(), row - FGrid->VisibleRowCount() + 1));
    }
  }
  FShowing = false;
}

void TExtMultiColumnDropDown::DropDownSizing() {
  TExtLookupDropDown::DropDownSizing();
  SizeColumnsToDropDown();
}

void TExtMultiColumnDropDown::SizeColumnsToDropDown() {
  if (!FColumnSizeWithDropDown || !FGrid || !FDropDownForm) return;
  SpreadColumns(*FColumns);
}

void TExtMultiColumnDropDown::GridSelect() {
  if (FGrid->SelectionConfirmed()) SetItemIndex(FGrid->Row() - 1);
  DoHideDropDown(false);
  if (OnSelect) OnSelect(this);
}

void TExtMultiColumnDropDown::DoHideDropDown(bool Cancelled) {
  if (!FDropDownForm || !FDropDownForm->Visible()) {
    TExtLookupDropDown::DoHideDropDown(Cancelled);
    return;
  }
  TExtLookupDropDown::DoHideDropDown(Cancelled);
  if (Cancelled) {
    // The inherited hide gave the edit back its text from the opening; the choice of that time goes with it
    // (written through SetItemIndex, -1 would empty a text the user typed).
    FItemIndex = FOldItemIndex;
  } else if (FGrid && FGrid->SelectionConfirmed()) {
    SetItemIndex(FGrid->Row() - 1);
  }
  FOldItemIndex = FItemIndex;
}

// ---- styles -----------------------------------------------------------------------------------------------

void TExtMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  SelectionStyleLines(Value, FLineColor, FFixedLineColor);
  TExtLookupDropDown::SetSelectionColorStyle(Value);
}

void TExtMultiColumnDropDown::SetComponentStyle(TExtStyle AStyle) {
  TExtLookupDropDown::SetComponentStyle(AStyle);
  ApplyListStyle(AStyle, FHeaderFont.get(), FHeaderColor, FHeaderColorTo, FLineColor, FFixedLineColor,
                 FSelectionTextColor);
}

}  // namespace dropdown::multicolumn
