// The lookup drop-downs' common part: the choice and its stepping, the completion while typing, the edit's keys
// and the wheel, and the sizes of the popup's list grid and its columns.
#include "dropdown/lookup_dropdown.h"

#include <algorithm>
#include <cmath>

#include "dropdown/multicolumn_items.h"
#include "dropdown/multicolumn_styles.h"
#include "dropdown/popup_bars.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "platform/grids/stringgrid.h"
#include "platform/rtl/strings.h"

namespace dropdown {

using namespace plat;

namespace {

constexpr int PageStep = 10;

// A completion adds at most this many characters of the item's text.
constexpr int MaxCompletion = 255;

const multicolumn::TDropDownColumn& ColumnAt(const TCollection& Columns, int Index) {
  return *static_cast<const multicolumn::TDropDownColumn*>(Columns.Items(Index));
}

const multicolumn::TDropDownItem& ItemAt(const TCollection& Items, int Index) {
  return *static_cast<const multicolumn::TDropDownItem*>(Items.Items(Index));
}

}  // namespace

// ---- the choice -------------------------------------------------------------------------------------------

void TExtLookupDropDown::SetText(const QString& Value) {
  const bool saved = FTextFromCode;
  FTextFromCode = true;
  TExtCustomDropDown::SetText(Value);
  FTextFromCode = saved;
}

void TExtLookupDropDown::SetItemIndex(int Value) {
  if (Value >= LookupItemCount()) return;
  FItemIndex = Value;
  WriteText(LookupText(Value));
}

void TExtLookupDropDown::BuildLookupItems() {
  const int count = LookupItemCount();
  if (FLookupColumn < 0 || count == 0) return;
  FLookupItems.clear();
  FLookupFolded.clear();
  FExactIndex.Clear();
  FFoldedIndex.Clear();
  FLookupItems.reserve(count);
  FLookupFolded.reserve(count);
  for (int i = 0; i < count; ++i) {
    const QString s = LookupText(i);
    FLookupItems.append(s);
    FLookupFolded.append(s.toUpper());
  }
}

int TExtLookupDropDown::TextItemIndex() const {
  if (FLookupColumn < 0 || LookupItemCount() == 0) return -1;
  return static_cast<int>(FLookupFolded.indexOf(Text().toUpper()));
}

void TExtLookupDropDown::SelectFirst() {
  if (StepCount() > 0) SetItemIndex(0);
}

void TExtLookupDropDown::SelectLast() {
  const int n = StepCount();
  if (n > 0) SetItemIndex(n - 1);
}

void TExtLookupDropDown::SelectNext() {
  const int n = StepCount();
  if (n == 0) return;
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex + 1 < n)
    SetItemIndex(FItemIndex + 1);
}

void TExtLookupDropDown::SelectPrevious() {
  if (StepCount() == 0) return;
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex > 0)
    SetItemIndex(FItemIndex - 1);
}

void TExtLookupDropDown::SelectNextPage() {
  const int n = StepCount();
  if (n == 0) return;
  SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + PageStep, n - 1));
}

void TExtLookupDropDown::SelectPreviousPage() {
  if (StepCount() == 0) return;
  SetItemIndex(FItemIndex < 0 ? 0 : std::max(FItemIndex - PageStep, 0));
}

// ---- completion while typing --------------------------------------------------------------------------------

void TExtLookupDropDown::HandleChange() {
  FItemChange = false;
  TExtCustomDropDown::HandleChange();
  if (!FWorkMode || FTextFromCode) return;
  const QString text = Text();
  const bool modified = text != FOldValue;
  SetModified(modified);
  const int prefix = static_cast<int>(Prefix().size());
  const int caret = std::clamp(SelStart() - prefix, 0, static_cast<int>(text.size()));
  const QString typed = text.left(caret);
  if (typed.isEmpty()) return;
  // The first entry in list order that starts with the typed part (upper case unless MatchCase).
  const int i =
      FMatchCase ? FExactIndex.Find(FLookupItems, typed) : FFoldedIndex.Find(FLookupFolded, typed.toUpper());
  if (i >= 0) {
    const QString completed = typed + FLookupItems[i].mid(typed.size()).left(MaxCompletion);
    WriteText(completed);
    FItemIndex = i;
    SetSelStart(prefix + static_cast<int>(typed.size()));
    SetSelLength(static_cast<int>(completed.size() - typed.size()));
    FItemIdx = i;
    FItemSel = static_cast<int>(typed.size());
    FItemChange = true;
    SetModified(modified);
    return;
  }
  // No item continues what was typed: what stood right of the caret goes.
  WriteText(typed);
  SetSelStart(prefix + static_cast<int>(typed.size()));
  SetSelLength(0);
  SetModified(modified);
}

void TExtLookupDropDown::HandleKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (!(Key == VK_RETURN && ReturnIsTab())) TExtCustomDropDown::KeyUp(Key, Shift);
  if (!FItemChange) return;
  SetItemIndex(FItemIdx);
  SetSelStart(static_cast<int>(Prefix().size()) + FItemSel);
  SetSelLength(std::max(0, static_cast<int>(Text().size()) - FItemSel));
  SetModified(Text() != FOldValue);
  FItemChange = false;
}

// ---- the edit's keys ------------------------------------------------------------------------------------------

void TExtLookupDropDown::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (FLookupColumn < 0 || LookupItemCount() == 0) {
    TExtCustomDropDown::HandleKeyDown(Key, Shift);
    return;
  }
  if (Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE)
    FWorkMode = false;
  else if (Key != VK_RETURN)
    FWorkMode = true;
  const std::uint16_t key = Key;
  TExtCustomDropDown::HandleKeyDown(Key, Shift);
  if (key == VK_ESCAPE) SetItemIndex(static_cast<int>(FLookupFolded.indexOf(Text().toUpper())));
}

void TExtLookupDropDown::HandleKeyPress(char16_t& Key) {
  if (Key == u'\r' && ReturnIsTab()) {
    Key = 0;
    return;
  }
  TExtCustomDropDown::HandleKeyPress(Key);
}

void TExtLookupDropDown::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_ENTER) FOldValue = Text();
  TExtCustomDropDown::Dispatch(Message);
}

void TExtLookupDropDown::StepByKey(std::uint16_t Key, bool WholeList) {
  switch (Key) {
    case VK_PRIOR: SelectPreviousPage(); break;
    case VK_NEXT: SelectNextPage(); break;
    case VK_END:
      if (WholeList) SelectLast();
      break;
    case VK_HOME:
      if (WholeList) SelectFirst();
      break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: break;
  }
}

void TExtLookupDropDown::HandleMouseWheelDown() {
  TExtCustomDropDown::HandleMouseWheelDown();
  SelectNext();
}

void TExtLookupDropDown::HandleMouseWheelUp() {
  TExtCustomDropDown::HandleMouseWheelUp();
  SelectPrevious();
}

void TExtLookupDropDown::LookupBackspace() {
  if (SelLength() == 0) {
    FLookupEntry.chop(1);
    WriteText(FLookupEntry);
  } else {
    QString raw = RawText();
    raw.remove(SelStart(), SelLength());
    WriteText(raw.mid(Prefix().size()));
  }
  SetSelStart(static_cast<int>(RawText().size()));
}

void TExtLookupDropDown::ShowLookup(const QString& Found, bool SelectRest) {
  WriteText(Found);
  if (!SelectRest) return;
  SetSelStart(static_cast<int>(Prefix().size() + FLookupEntry.size()));
  SetSelLength(std::max(0, static_cast<int>(Found.size() - FLookupEntry.size())));
}

// ---- the list grid in the popup ---------------------------------------------------------------------------

int TExtLookupDropDown::BarsHeight() const {
  int h = 0;
  if (DropDownHeader()->Visible()) h += DropDownHeader()->Height;
  if (DropDownFooter()->Visible()) h += DropDownFooter()->Height;
  return h;
}

bool TExtLookupDropDown::AllListRowsVisible() const {
  const TStringGrid* g = ListGrid();
  if (!g || !FDropDownForm) return true;
  const int rows = g->RowCount() - g->FixedRows();
  const int room = FDropDownForm->Height() - 2 * DropDownBorderWidth() - BarsHeight() -
                   (g->FixedRows() > 0 ? g->RowHeights(0) : 0);
  return g->RowHeightsBetween(g->FixedRows(), g->RowCount()) <= room || rows == 0;
}

int TExtLookupDropDown::ListGridWidth() const {
  const TStringGrid* g = ListGrid();
  int w = 0;
  for (int c = 0; c < g->ColCount(); ++c) w += g->ColWidths(c);
  if (!AllListRowsVisible()) w += g->ScrollBarSize();
  return w;
}

void TExtLookupDropDown::FitDropDownWidth() {
  const int w = ListGridWidth() + 2 * DropDownBorderWidth();
  FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, FDropDownForm->Height());
  ListGrid()->SetAlign(alClient);
}

void TExtLookupDropDown::SpreadColumns(const TCollection& Columns) {
  TStringGrid* g = ListGrid();
  g->SetScrollBars(ssVertical);
  if (Columns.Count() == 0) return;
  int total = 1;
  for (int c = 0; c < Columns.Count(); ++c) total += ColumnAt(Columns, c).Width();
  int available = FDropDownForm->Width();
  if (!AllListRowsVisible()) available -= g->ScrollBarSize();
  const double factor = static_cast<double>(available) / total;
  double carry = 0;
  // The fractions each column loses to rounding are carried on, so the columns fill the popup.
  for (int c = 0; c < Columns.Count() && c < g->ColCount(); ++c) {
    const double exact = factor * ColumnAt(Columns, c).Width();
    const int n = static_cast<int>(std::nearbyint(exact));
    carry += exact - n;
    if (carry > 1.0) {
      g->SetColWidths(c, n + 1);
      carry -= 1.0;
    } else {
      g->SetColWidths(c, n);
    }
  }
}

void TExtLookupDropDown::AutoSizeListColumns(TCollection& Columns, const TCollection& Items,
                                             TCollection& GridColumns) {
  TBitmap scratch(1, 1);
  TCanvas& c = *scratch.Canvas();
  TCustomImageList* images = Images();
  QString s;
  for (int col = 0; col < Columns.Count(); ++col) {
    auto& column = static_cast<multicolumn::TDropDownColumn&>(*Columns.Items(col));
    if (!column.AutoSize()) continue;
    c.Font()->Assign(*column.Font());
    int width = 0;
    for (int i = 0; i < Items.Count(); ++i) {
      const multicolumn::TDropDownItem& item = ItemAt(Items, i);
      int w = 0;
      if (column.ColumnType() == multicolumn::ctImage && images && item.ImageIndex() >= 0)
        w += images->Width() + 4;
      if (item.ColumnText(col, s) && !s.isEmpty()) w += c.TextWidth(s) + 6;
      width = std::max(width, w);
    }
    column.SetWidth(width);
    static_cast<multicolumn::TDropDownColumn&>(*GridColumns.Items(col)).SetWidth(width);
    ListGrid()->SetColWidths(col, width);
  }
}

bool TExtLookupDropDown::AnyWordwrap(const TCollection& Columns) {
  for (int col = 0; col < Columns.Count(); ++col)
    if (ColumnAt(Columns, col).Wordwrap()) return true;
  return false;
}

// 24 at least; an image or a text in a word-wrapped column asks for its height and 6 pixels.
int TExtLookupDropDown::WrappedItemHeight(TCanvas& c, const TCollection& Columns,
                                          const TCollectionItem& Item) const {
  const auto& item = static_cast<const multicolumn::TDropDownItem&>(Item);
  TCustomImageList* images = Images();
  QString s;
  int height = 24;
  for (int col = 0; col < Columns.Count(); ++col) {
    const multicolumn::TDropDownColumn& column = ColumnAt(Columns, col);
    if (!column.Wordwrap()) continue;
    if (column.ColumnType() == multicolumn::ctImage && images && item.ImageIndex() >= 0)
      height = std::max(height, images->Height() + 6);
    if (!item.ColumnText(col, s) || s.isEmpty()) continue;
    c.Font()->Assign(*column.Font());
    TRect r(0, 0, ListGrid()->ColWidths(col), 0);
    c.DrawText(s, r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    height = std::max(height, r.Height() + 6);
  }
  return height;
}

bool TExtLookupDropDown::ApplyListStyle(TExtStyle AStyle, TFont* HeaderFont, TColor& HeaderColor,
                                        TColor& HeaderColorTo, TColor& LineColor, TColor& FixedLineColor,
                                        TColor& SelectionTextColor) {
  multicolumn::TListStyleColors c;
  if (!HeaderFont || !multicolumn::ListStyleColors(AStyle, c)) return false;
  HeaderColor = c.HeaderColor;
  HeaderColorTo = c.HeaderColorTo;
  if (c.HeaderFontColor != clNone) HeaderFont->SetColor(c.HeaderFontColor);
  SetSelectionColorStyle(c.SelectionStyle);
  if (c.SelectionStyle == scCustom) {
    SetSelectionColor(c.SelectionColor);
    SetSelectionColorTo(c.SelectionColorTo);
  }
  LineColor = c.LineColor;
  FixedLineColor = c.FixedLineColor;
  SelectionTextColor = c.SelectionTextColor;
  return true;
}

}  // namespace dropdown
