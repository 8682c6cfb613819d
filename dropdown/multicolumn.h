#pragma once
// TExtMultiColumnDropDown: a drop-down edit whose popup lists items in several columns under a header row.
// One column, the lookup column, gives the text the edit shows and the text typing is matched against: the
// user picks an item in the popup, steps through the items with the keys or the wheel without opening it, or
// types the beginning of an item and gets the rest completed.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "dropdown/ext_dropdown.h"
#include "dropdown/multicolumn_items.h"
#include "dropdown/multicolumn_lookup.h"

namespace dropdown::multicolumn {

class TExtColGrid;

using TDrawCellEvent =
    std::function<void(plat::TObject* Sender, int Column, int Row, plat::TCanvas* ACanvas, plat::TRect ARect)>;
using TGetCellTextEvent = std::function<void(plat::TObject* Sender, int Column, int Row, QString& Text)>;

class TExtMultiColumnDropDown : public TExtCustomDropDown, private TColGridLink {
 public:
  explicit TExtMultiColumnDropDown(plat::TComponent* AOwner);
  ~TExtMultiColumnDropDown() override;

  // The inherited copy, then the list settings, the columns, the items and ItemIndex (text left alone).
  void Assign(plat::TPersistent* Source) override;

  TDropDownItems* Items() const { return FItems.get(); }
  void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // Ignored at or beyond the item count; otherwise stored, and the edit shows the item's lookup string (nothing
  // for a negative index, a negative lookup column or an item without that string).
  void SetItemIndex(int Value);
  // The first item whose lookup string equals Value exactly; -1 when none.
  int GetItemIndex(const QString& Value) const;
  int RowCount() const { return FItems->Count(); }
  int LookupColumn() const { return FLookupColumn; }
  void SetLookupColumn(int Value) { FLookupColumn = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
  bool MatchCase() const { return FMatchCase; }
  void SetMatchCase(bool Value) { FMatchCase = Value; }
  // Stored only: every lookup matches at the start of the text.
  bool MatchStart() const { return FMatchStart; }
  void SetMatchStart(bool Value) { FMatchStart = Value; }

  plat::TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(plat::TColor Value) { FHeaderColor = Value; }
  plat::TColor HeaderColorTo() const { return FHeaderColorTo; }
  void SetHeaderColorTo(plat::TColor Value) { FHeaderColorTo = Value; }
  int HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
  plat::TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(const plat::TFont& Value);
  plat::TColor LineColor() const { return FLineColor; }
  void SetLineColor(plat::TColor Value) { FLineColor = Value; }
  plat::TColor FixedLineColor() const { return FFixedLineColor; }
  void SetFixedLineColor(plat::TColor Value) { FFixedLineColor = Value; }
  plat::TColor SelectionTextColor() const { return FSelectionTextColor; }
  void SetSelectionTextColor(plat::TColor Value) { FSelectionTextColor = Value; }
  // The height of an item row; values below 1 count as 1 wherever rows are counted or sized.
  int DropDownRowHeight() const { return FDropDownRowHeight; }
  void SetDropDownRowHeight(int Value) { FDropDownRowHeight = Value; }
  bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
  void SetDropDownAutoWidth(bool Value) { FDropDownAutoWidth = Value; }
  bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
  void SetColumnSizeWithDropDown(bool Value) { FColumnSizeWithDropDown = Value; }
  bool ColumnSizing() const { return FColumnSizing; }
  void SetColumnSizing(bool Value) { FColumnSizing = Value; }

  // The popup's list grid (lives with the popup).
  TExtColGrid* Grid() const { return FGrid; }

  void BeginUpdate() {}
  // Rebuilds the lookup texts from the items: changes to Items reach the completion only through here.
  void EndUpdate() { BuildLookupItems(); }
  void BuildLookupItems();

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void SelectNextPage();
  void SelectPreviousPage();

  // Scales the grid's column widths to the popup's width (the columns keep their Width).
  void SizeColumnsToDropDown();

  // A text written by code is no typing: it is not completed.
  void SetText(const QString& Value) override;
  void SetComponentStyle(TExtStyle AStyle) override;
  void SetSelectionColorStyle(TSelectionColorStyle Value) override;

  plat::TNotifyEvent OnSelect;
  TDrawCellEvent OnDropDownDrawItem;
  TGetCellTextEvent OnDropDownGetItemText;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void AdaptDropDownHeight(int& Height) override;
  void DoShowDropDown() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancelled) override;
  void ControlKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyPress(char16_t& Key) override;
  void DropDownSizing() override;
  void HandleMouseWheelDown() override;
  void HandleMouseWheelUp() override;
  void HandleChange() override;
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void HandleKeyPress(char16_t& Key) override;
  virtual void HandleKeyUp(std::uint16_t& Key, plat::TShiftState Shift);
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) final { HandleKeyUp(Key, Shift); }

  // The first item whose lookup string starts with Value (upper case unless CaseSensitive).
  bool LookupMatch(const QString& Value, QString& Found, int& Index) const;
  // One character typed into the open popup.
  void LookupKey(char16_t Key);

 private:
  // The popup grid's questions (TColGridLink).
  TDropDownItems& LinkItems() override { return *FItems; }
  plat::TCustomImageList* LinkImages() override { return Images(); }
  plat::TColor LinkSelectionTextColor() override { return FSelectionTextColor; }
  bool LinkDrawItem(int Column, int Row, plat::TCanvas& Canvas, const plat::TRect& Rect) override;
  void LinkGetItemText(int Column, int Row, QString& Text) override;
  void LinkDrawSelection(plat::TCanvas& Canvas, const plat::TRect& Rect, int Join, plat::TColor Color) override;
  void LinkDrawGradient(plat::TCanvas& Canvas, plat::TColor Color, plat::TColor ColorTo, const plat::TRect& Rect,
                        int Steps) override;
  void LinkSelectRow(int Row) override;
  void LinkEditKeyDown(std::uint16_t Key) override;

  QString LookupText(int Index) const;
  void FillFromDropDown();
  void AutoSizeColumns();
  void AutoSizeRows();
  int GetGridWidth() const;
  bool AllItemRowsVisible() const;
  int BarsHeight() const;
  int RowHeight() const;
  void GridSelect();
  void ShowRow(int Row);
  void WindowKeyDown(std::uint16_t Key);
  void WriteText(const QString& Value);

  std::unique_ptr<TDropDownItems> FItems;
  std::unique_ptr<TDropDownColumns> FColumns;
  TExtColGrid* FGrid = nullptr;
  int FItemIndex = -1;
  int FLookupColumn = 0;
  bool FCaseSensitive = false;
  bool FMatchCase = false;
  bool FMatchStart = true;
  plat::TColor FHeaderColor = plat::clWhite;
  plat::TColor FHeaderColorTo = 0x808080;
  int FHeaderHeight = 25;
  std::unique_ptr<plat::TFont> FHeaderFont;
  plat::TColor FLineColor = 0xF1EDEB;
  plat::TColor FFixedLineColor = 0xD1BBA4;
  plat::TColor FSelectionTextColor = plat::clBlack;
  int FDropDownRowHeight = 22;
  bool FDropDownAutoWidth = true;
  bool FColumnSizeWithDropDown = true;
  bool FColumnSizing = false;
  // The lookup text list (one entry per item) and the same folded to upper case for the completion.
  QStringList FLookupItems;
  QStringList FLookupFolded;
  // The completion's searches over the two lists (with and without MatchCase).
  TPrefixIndex FExactIndex, FFoldedIndex;
  // Characters typed into the open popup.
  QString FLookupEntry;
  // Off after Backspace, Escape and Delete: the next change is not completed.
  bool FWorkMode = true;
  bool FShowing = false;
  int FOldItemIndex = -1;
  // The completion waiting for the key release: the item and the typed length.
  bool FItemChange = false;
  int FItemIdx = -1;
  int FItemSel = 0;
  // The text at the time the edit last took the focus: the edit is modified when its text differs.
  QString FOldValue;
  bool FTextFromCode = false;
};

}  // namespace dropdown::multicolumn

namespace dropdown {
using multicolumn::TExtMultiColumnDropDown;
}
