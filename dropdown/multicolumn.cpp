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

namespace {
constexpr int PageStep = 10;
}  // namespace

// ---- construction -----------------------------------------------------------------------------------------

TExtMultiColumnDropDown::TExtMultiColumnDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner),
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
  TExtCustomDropDown::Assign(Source);
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

void TExtMultiColumnDropDown::SetText(const QString& Value) {
  const bool saved = FTextFromCode;
  FTextFromCode = true;
  TExtCustomDropDown::SetText(Value);
  FTextFromCode = saved;
}

void TExtMultiColumnDropDown::WriteText(const QString& Value) { SetText(Value); }

QString TExtMultiColumnDropDown::LookupText(int Index) const {
  QString s;
  if (Index >= 0 && Index < FItems->Count()) FItems->GetItem(Index)->ColumnText(FLookupColumn, s);
  return s;
}

void TExtMultiColumnDropDown::SetItemIndex(int Value) {
  if (Value >= FItems->Count()) return;
  FItemIndex = Value;
  WriteText(LookupText(Value));
}

int TExtMultiColumnDropDown::GetItemIndex(const QString& Value) const {
  return FItems->IndexInColumn(FLookupColumn, Value);
}

void TExtMultiColumnDropDown::BuildLookupItems() {
  if (FLookupColumn < 0 || FItems->Count() == 0) return;
  FLookupItems.clear();
  FLookupFolded.clear();
  FExactIndex.Clear();
  FFoldedIndex.Clear();
  FLookupItems.reserve(FItems->Count());
  FLookupFolded.reserve(FItems->Count());
  for (int i = 0; i < FItems->Count(); ++i) {
    const QString s = LookupText(i);
    FLookupItems.append(s);
    FLookupFolded.append(s.toUpper());
  }
}

void TExtMultiColumnDropDown::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TExtMultiColumnDropDown::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TExtMultiColumnDropDown::SelectNext() {
  if (FItems->Count() == 0) return;
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex + 1 < FItems->Count())
    SetItemIndex(FItemIndex + 1);
}

void TExtMultiColumnDropDown::SelectPrevious() {
  if (FItems->Count() == 0) return;
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex > 0)
    SetItemIndex(FItemIndex - 1);
}

void TExtMultiColumnDropDown::SelectNextPage() {
  if (FItems->Count() == 0) return;
  SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + PageStep, FItems->Count() - 1));
}

void TExtMultiColumnDropDown::SelectPreviousPage() {
  if (FItems->Count() == 0) return;
  SetItemIndex(FItemIndex < 0 ? 0 : std::max(FItemIndex - PageStep, 0));
}

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
  TExtCustomDropDown::CreateDropDownForm();
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
  TExtCustomDropDown::BeforeDropDown();
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
  TBitmap scratch(1, 1);
  TCanvas& c = *scratch.Canvas();
  TCustomImageList* images = Images();
  for (int col = 0; col < FColumns->Count(); ++col) {
    TDropDownColumn& column = *FColumns->GetItem(col);
    if (!column.AutoSize()) continue;
    c.Font()->Assign(*column.Font());
    int width = 0;
    QString s;
    for (int i = 0; i < FItems->Count(); ++i) {
      const TDropDownItem& item = *FItems->GetItem(i);
      int w = 0;
      if (column.ColumnType() == ctImage && images && item.ImageIndex() >= 0) w += images->Width() + 4;
      if (item.ColumnText(col, s) && !s.isEmpty()) w += c.TextWidth(s) + 6;
      width = std::max(width, w);
    }
    column.SetWidth(width);
    FGrid->Columns()->GetItem(col)->SetWidth(width);
    FGrid->SetColWidths(col, width);
  }
}

// With word-wrapped columns every item row is as high as its tallest wrapped text or image (24 at least).
void TExtMultiColumnDropDown::AutoSizeRows() {
  bool wraps = false;
  for (int col = 0; col < FColumns->Count(); ++col) wraps = wraps || FColumns->GetItem(col)->Wordwrap();
  if (!wraps) return;
  TBitmap scratch(1, 1);
  TCanvas& c = *scratch.Canvas();
  TCustomImageList* images = Images();
  QString s;
  for (int i = 0; i < FItems->Count(); ++i) {
    const TDropDownItem& item = *FItems->GetItem(i);
    int height = 24;
    for (int col = 0; col < FColumns->Count(); ++col) {
      const TDropDownColumn& column = *FColumns->GetItem(col);
      if (!column.Wordwrap()) continue;
      if (column.ColumnType() == ctImage && images && item.ImageIndex() >= 0)
        height = std::max(height, images->Height() + 6);
      if (!item.ColumnText(col, s) || s.isEmpty()) continue;
      c.Font()->Assign(*column.Font());
      TRect r(0, 0, FGrid->ColWidths(col), 0);
      c.DrawText(s, r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
      height = std::max(height, r.Height() + 6);
    }
    FGrid->SetRowHeights(i + 1, height);
  }
}

int TExtMultiColumnDropDown::BarsHeight() const {
  int h = 0;
  if (DropDownHeader()->Visible()) h += DropDownHeader()->Height;
  if (DropDownFooter()->Visible()) h += DropDownFooter()->Height;
  return h;
}

bool TExtMultiColumnDropDown::AllItemRowsVisible() const {
  if (!FGrid || !FDropDownForm) return true;
  const int rows = FGrid->RowCount() - FGrid->FixedRows();
  const int room = FDropDownForm->Height() - 2 * DropDownBorderWidth() - BarsHeight() -
                   (FGrid->FixedRows() > 0 ? FGrid->RowHeights(0) : 0);
  return static_cast<std::int64_t>(FGrid->RowHeightsBetween(FGrid->FixedRows(), FGrid->RowCount())) <= room ||
         rows == 0;
}

int TExtMultiColumnDropDown::GetGridWidth() const {
  int w = 0;
  for (int c = 0; c < FGrid->ColCount(); ++c) w += FGrid->ColWidths(c);
  if (!AllItemRowsVisible()) w += FGrid->ScrollBarSize();
  return w;
}

void TExtMultiColumnDropDown::UpdateDropDownSize() {
  TExtCustomDropDown::UpdateDropDownSize();
  if (!FGrid || !FDropDownAutoWidth) return;
  const int w = GetGridWidth() + 2 * DropDownBorderWidth();
  FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, FDropDownForm->Height());
  FGrid->SetAlign(alClient);
}

// Whole item rows only: the height keeps the bars, the header row and 2 pixels of border.
void TExtMultiColumnDropDown::AdaptDropDownHeight(int& Height) {
  const int bars = BarsHeight();
  const int rows = (Height - bars - FHeaderHeight - 2) / RowHeight();
  Height = bars + FHeaderHeight + rows * RowHeight() + 2;
}

void TExtMultiColumnDropDown::DoShowDropDown() {
  TExtCustomDropDown::DoShowDropDown();
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
  TExtCustomDropDown::DropDownSizing();
  SizeColumnsToDropDown();
}

void TExtMultiColumnDropDown::SizeColumnsToDropDown() {
  if (!FColumnSizeWithDropDown || !FGrid || !FDropDownForm) return;
  FGrid->SetScrollBars(ssVertical);
  if (FColumns->Count() == 0) return;
  int total = 1;
  for (int c = 0; c < FColumns->Count(); ++c) total += FColumns->GetItem(c)->Width();
  int available = FDropDownForm->Width();
  if (!AllItemRowsVisible()) available -= FGrid->ScrollBarSize();
  const double factor = static_cast<double>(available) / total;
  double carry = 0;
  // The fractions each column loses to rounding are carried on, so the columns fill the popup.
  for (int c = 0; c < FColumns->Count() && c < FGrid->ColCount(); ++c) {
    const double exact = factor * FColumns->GetItem(c)->Width();
    const int n = static_cast<int>(std::nearbyint(exact));
    carry += exact - n;
    if (carry > 1.0) {
      FGrid->SetColWidths(c, n + 1);
      carry -= 1.0;
    } else {
      FGrid->SetColWidths(c, n);
    }
  }
}

void TExtMultiColumnDropDown::GridSelect() {
  if (FGrid->SelectionConfirmed()) SetItemIndex(FGrid->Row() - 1);
  DoHideDropDown(false);
  if (OnSelect) OnSelect(this);
}

void TExtMultiColumnDropDown::DoHideDropDown(bool Cancelled) {
  if (!FDropDownForm || !FDropDownForm->Visible()) {
    TExtCustomDropDown::DoHideDropDown(Cancelled);
    return;
  }
  TExtCustomDropDown::DoHideDropDown(Cancelled);
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
  TExtCustomDropDown::SetSelectionColorStyle(Value);
}

void TExtMultiColumnDropDown::SetComponentStyle(TExtStyle AStyle) {
  TExtCustomDropDown::SetComponentStyle(AStyle);
  TListStyleColors c;
  if (!FHeaderFont || !ListStyleColors(AStyle, c)) return;
  FHeaderColor = c.HeaderColor;
  FHeaderColorTo = c.HeaderColorTo;
  if (c.HeaderFontColor != clNone) FHeaderFont->SetColor(c.HeaderFontColor);
  SetSelectionColorStyle(c.SelectionStyle);
  if (c.SelectionStyle == scCustom) {
    SetSelectionColor(c.SelectionColor);
    SetSelectionColorTo(c.SelectionColorTo);
  }
  FLineColor = c.LineColor;
  FFixedLineColor = c.FixedLineColor;
  FSelectionTextColor = c.SelectionTextColor;
}

}  // namespace dropdown::multicolumn
