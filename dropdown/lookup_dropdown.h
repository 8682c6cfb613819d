#pragma once
// TExtLookupDropDown: what the drop-downs whose popup lists items under a header row have in common. One column
// of the items, the lookup column, gives the text the edit shows; the base keeps the choice (ItemIndex), steps
// through the items by key and wheel, completes typed text from the lookup texts and sizes the popup's list grid
// and its columns. The descendants own the items, the columns and the grid and answer the questions below.

#include <QString>
#include <QStringList>

#include <cstdint>

#include "dropdown/ext_dropdown.h"
#include "dropdown/multicolumn_lookup.h"

namespace plat {
class TCanvas;
class TCollection;
class TCollectionItem;
class TFont;
class TStringGrid;
}  // namespace plat

namespace dropdown {

class TExtLookupDropDown : public TExtCustomDropDown {
 public:
  explicit TExtLookupDropDown(plat::TComponent* AOwner) : TExtCustomDropDown(AOwner) {}

  int ItemIndex() const { return FItemIndex; }
  // Ignored at or beyond the item count; otherwise stored, and the edit shows the item's lookup string (nothing
  // for a negative index, a negative lookup column or an item without that string).
  virtual void SetItemIndex(int Value);
  int LookupColumn() const { return FLookupColumn; }
  void SetLookupColumn(int Value) { FLookupColumn = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
  bool MatchCase() const { return FMatchCase; }
  void SetMatchCase(bool Value) { FMatchCase = Value; }
  // Stored only: every lookup matches at the start of the text.
  bool MatchStart() const { return FMatchStart; }
  void SetMatchStart(bool Value) { FMatchStart = Value; }

  void BeginUpdate() {}
  // Rebuilds the lookup texts from the items: changes to the items reach the completion only through here.
  void EndUpdate() { BuildLookupItems(); }
  void BuildLookupItems();

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void SelectNextPage();
  void SelectPreviousPage();

  // A text written by code is no typing: it is not completed.
  void SetText(const QString& Value) override;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  // The items and the text of one in the lookup column (empty when it has none there).
  virtual int LookupItemCount() const = 0;
  virtual QString LookupText(int Index) const = 0;
  // How many entries the stepping runs over: the items, unless a descendant lists others.
  virtual int StepCount() const { return LookupItemCount(); }
  // The popup's list grid (null before the popup exists).
  virtual plat::TStringGrid* ListGrid() const = 0;

  // Completion while typing: the first item (in list order) whose lookup text starts with what stands left of
  // the caret fills in the rest, selected; without one, what stood right of the caret goes.
  void HandleChange() override;
  // Backspace, Escape and Delete turn the completion off until another key; Escape takes the item the text names.
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  // Enter with ReturnIsTab is swallowed.
  void HandleKeyPress(char16_t& Key) override;
  // The release of the key that completed takes the completed item and selects the completed part.
  virtual void HandleKeyUp(std::uint16_t& Key, plat::TShiftState Shift);
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) final { HandleKeyUp(Key, Shift); }
  void HandleMouseWheelDown() override;
  void HandleMouseWheelUp() override;

  void WriteText(const QString& Value) { SetText(Value); }
  // The item whose lookup text equals the edit's text in any letter case; -1 when none (or no lookup column).
  int TextItemIndex() const;
  // The stepping keys (page, line, and with WholeList Home and End).
  void StepByKey(std::uint16_t Key, bool WholeList);
  // Backspace in a typed lookup: the entry (or the selected text) loses its end, the caret goes to the end.
  void LookupBackspace();
  // A lookup found Found for the typed entry: the edit shows it, with SelectRest the part not typed selected.
  void ShowLookup(const QString& Found, bool SelectRest);

  // ---- the list grid in the popup
  // The height of the popup's header and footer bars, as far as they are shown.
  int BarsHeight() const;
  // Every data row fits below the header row (a grid without data rows fits).
  bool AllListRowsVisible() const;
  // The columns' widths, and the scroll bar's when not every row fits.
  int ListGridWidth() const;
  // The popup takes the list grid's width; the grid fills the popup.
  void FitDropDownWidth();
  // Scales the grid's column widths from the columns' Width to the popup's width (Columns: drop-down columns).
  void SpreadColumns(const plat::TCollection& Columns);
  // Columns with AutoSize take the width of their widest item (image and text); header texts do not count. The
  // width goes into the column, the grid's own column and the grid.
  void AutoSizeListColumns(plat::TCollection& Columns, const plat::TCollection& Items,
                           plat::TCollection& GridColumns);
  // Whether a column wraps its words, and the height an item's row needs for its wrapped texts and image.
  static bool AnyWordwrap(const plat::TCollection& Columns);
  // Canvas is a scratch canvas for measuring (its font changes).
  int WrappedItemHeight(plat::TCanvas& Canvas, const plat::TCollection& Columns,
                        const plat::TCollectionItem& Item) const;
  // The list colours of a component style into the descendant's fields; false when the style sets none.
  bool ApplyListStyle(TExtStyle AStyle, plat::TFont* HeaderFont, plat::TColor& HeaderColor,
                      plat::TColor& HeaderColorTo, plat::TColor& LineColor, plat::TColor& FixedLineColor,
                      plat::TColor& SelectionTextColor);

  int FItemIndex = -1;
  int FLookupColumn = 0;
  bool FCaseSensitive = false;
  bool FMatchCase = false;
  bool FMatchStart = true;
  // The lookup text list (one entry per item) and the same folded to upper case for the completion.
  QStringList FLookupItems;
  QStringList FLookupFolded;
  // The completion's searches over the two lists (with and without MatchCase).
  multicolumn::TPrefixIndex FExactIndex, FFoldedIndex;
  // Characters typed for a lookup.
  QString FLookupEntry;
  // Off after Backspace, Escape and Delete: the next change is not completed.
  bool FWorkMode = true;
  int FOldItemIndex = -1;
  // The completion waiting for the key release: the item and the typed length.
  bool FItemChange = false;
  int FItemIdx = -1;
  int FItemSel = 0;
  // The text at the time the edit last took the focus: the edit is modified when its text differs.
  QString FOldValue;
  bool FTextFromCode = false;
};

}  // namespace dropdown
