#pragma once
// TExtMultiColumnDropDown: a drop-down edit whose popup lists items in several columns under a header row.
// One column, the lookup column, gives the text the edit shows and the text typing is matched against: the
// user picks an item in the popup, steps through the items with the keys or the wheel without opening it, or
// types the beginning of an item and gets the rest completed.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "dropdown/lookup_dropdown.h"
#include "dropdown/multicolumn_items.h"

namespace dropdown::multicolumn {

class TExtColGrid;

using TDrawCellEvent =
    std::function<void(plat::TObject* Sender, int Column, int Row, plat::TCanvas* ACanvas, plat::TRect ARect)>;
using TGetCellTextEvent = std::function<void(plat::TObject* Sender, int Column, int Row, QString& Text)>;

class TExtMultiColumnDropDown : public TExtLookupDropDown, private TColGridLink {
 public:
  explicit TExtMultiColumnDropDown(plat::TComponent* AOwner);
  ~TExtMultiColumnDropDown() override;

  // The inherited copy, then the list settings, the columns, the items and ItemIndex (text left alone).
  void Assign(plat::TPersistent* Source) override;

  TDropDownItems* Items() const { return FItems.get(); }
  void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
  // The first item whose lookup string equals Value exactly; -1 when none.
  int GetItemIndex(const QString& Value) const;
  int RowCount() const { return FItems->Count(); }

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

  // Scales the grid's column widths to the popup's width (the columns keep their Width).
  void SizeColumnsToDropDown();

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
  int LookupItemCount() const override { return FItems->Count(); }
  QString LookupText(int Index) const override;
  plat::TStringGrid* ListGrid() const override;

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

  void FillFromDropDown();
  void AutoSizeColumns();
  void AutoSizeRows();
  int RowHeight() const;
  void GridSelect();
  void ShowRow(int Row);

  std::unique_ptr<TDropDownItems> FItems;
  std::unique_ptr<TDropDownColumns> FColumns;
  TExtColGrid* FGrid = nullptr;
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
  bool FShowing = false;
};

}  // namespace dropdown::multicolumn

namespace dropdown {
using multicolumn::TExtMultiColumnDropDown;
}
