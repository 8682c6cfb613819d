#pragma once
// The colour box selector: the colour picker's palette of small boxes, Columns per row. Boxes of one column
// may be joined into a framed strip (top, middle and bottom boxes); a row holding a stand-alone box is followed
// by a gap. The hot box (under the mouse or moved by keys) and the selected box get a two-colour frame.

#include <memory>

#include "dropdown/color_panels.h"
#include "dropdown/ext_dropdown.h"

namespace dropdown {

// The border colours of the colour boxes.
class TColorBoxAppearance : public plat::TPersistent {
  PLAT_CLASS(TColorBoxAppearance)

  TColorBoxAppearance() = default;
  // Another appearance: the five colours. Another class: the base's rule.
  void Assign(plat::TPersistent* Source) override;
  // The defaults below.
  void LoadDefaults();

  plat::TColor BorderColor = plat::TColor(0xC5C5C5);
  plat::TColor OuterBorderColorHot = plat::TColor(0x3694F2);
  plat::TColor InnerBorderColorHot = plat::TColor(0x94E2FF);
  plat::TColor OuterBorderColorSelected = plat::TColor(0x0000FF);
  plat::TColor InnerBorderColorSelected = plat::TColor(0x94E2FF);
};

class TCustomColorSelector : public TExtCustomColorSelectorPanel {
 public:
  explicit TCustomColorSelector(plat::TComponent* AOwner);
  ~TCustomColorSelector() override;

  TColorBoxItems* Items() const { return FItems.get(); }
  void SetItems(TColorBoxItems* Value);
  // The 60 boxes of the picker's palette, in place of the present ones.
  void LoadDefaultPalette();

  int ItemIndex() const { return FItemIndex; }
  // Refused at or beyond the number of boxes and for a disabled box; fires OnItemSelect for every box,
  // also the selected one; -1 only clears the selection.
  void SetItemIndex(int Value);
  int ItemHot() const { return FItemHot; }
  // A box that is not enabled (or no box) leaves no hot box.
  void SetItemHot(int Value);
  plat::TColor SelectedColor() const { return FSelectedColor; }
  // Selects the first box of the colour; none (-1) when no box has it or it is clNone.
  void SetSelectedColor(plat::TColor Value);

  // Each ends in SetItemIndex; nothing outside the boxes.
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  // The first box whose rectangle holds the point (right and bottom edges excluded); -1 when none.
  int ItemAtPos(int X, int Y) const;
  // (-1, -1, -1, -1) out of range.
  plat::TRect GetItemRect(int Index) const;

  int Columns() const { return FColumns; }
  // Values below 1 are refused (rows need at least one box).
  void SetColumns(int Value);
  int ColumnGap() const { return FColumnGap; }
  void SetColumnGap(int Value);
  int ColorBoxWidth() const { return FColorBoxWidth; }
  void SetColorBoxWidth(int Value);
  int ColorBoxHeight() const { return FColorBoxHeight; }
  void SetColorBoxHeight(int Value);
  int OffsetX() const { return FOffsetX; }
  int OffsetY() const { return FOffsetY; }
  TColorBoxAppearance* ColorBoxAppearance() const { return FColorBoxAppearance.get(); }
  void SetColorBoxAppearance(TColorBoxAppearance* Value);
  TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
  // The three named styles load the default border colours; scCustom keeps them.
  void SetItemColorStyle(TSelectionColorStyle Value);

  virtual void DrawItem(plat::TCanvas& Canvas, int Index);
  // The client rectangle less the offsets.
  virtual plat::TRect GetDrawArea() const;
  virtual plat::TSize GetColorBoxSize() const;
  // Places the boxes row by row and sizes the selector to them (100 x 50 without boxes).
  virtual void ArrangeItems();
  virtual void InvalidateItem(int Index);

  plat::TNotifyEvent OnItemSelect;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void Loaded() override;

 private:
  bool ValidIndex(int Index) const { return Index >= 0 && Index < FItems->Count(); }
  bool BoxEnabled(int Index) const { return ValidIndex(Index) && FItems->GetItem(Index)->Enabled(); }

  std::unique_ptr<TColorBoxItems> FItems;
  int FItemIndex = -1;
  int FItemHot = -1;
  plat::TColor FSelectedColor = plat::clNone;
  int FColumns = 10;
  int FColumnGap = 4;
  int FColorBoxWidth = 12;
  int FColorBoxHeight = 12;
  int FOffsetX = 4;
  int FOffsetY = 4;
  std::unique_ptr<TColorBoxAppearance> FColorBoxAppearance;
  TSelectionColorStyle FItemColorStyle = scOffice2007;
};

}  // namespace dropdown
