#pragma once
// TExtColGrid: the popup list of the multi-column drop-down. A string grid with a header row that draws its
// cells itself from the linked drop-down's columns and items, and tells the drop-down about row changes,
// confirmed picks (a key or a press in the grid) and rows reached by the mouse wheel only.

#include <memory>

#include "dropdown/multicolumn_items.h"
#include "platform/grids/stringgrid.h"

namespace plat {
class TFont;
}

namespace dropdown::multicolumn {

class TExtColGrid : public plat::TStringGrid {
 public:
  explicit TExtColGrid(plat::TComponent* AOwner);
  ~TExtColGrid() override;

  TColGridLink* Link() const { return FLink; }
  void SetLink(TColGridLink* Value) { FLink = Value; }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* Value);

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
  // The width of the lines the cell painter draws (the platform grid's own lines stay 0).
  int LineWidth() const { return FLineWidth; }
  void SetLineWidth(int Value);
  plat::TCustomImageList* Images() const { return FImages; }
  void SetImages(plat::TCustomImageList* Value) { FImages = Value; }

  // Set by a key or a mouse press in the grid, cleared by the wheel: the current row is the user's pick.
  bool SelectionConfirmed() const { return FConfirmed; }
  void SetSelectionConfirmed(bool Value) { FConfirmed = Value; }
  // Set while the wheel moves the current row.
  bool WheelSelection() const { return FWheel; }

  plat::TNotifyEvent OnSelect;

 protected:
  virtual void DoSelect();
  void HandleDrawCell(int ACol, int ARow, const plat::TRect& ARect, plat::TGridDrawState AState) override;
  bool HandleSelectCell(int ACol, int ARow) override;
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void HandleMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void HandleMouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(plat::TShiftState Shift, plat::TPoint MousePos) override;
  bool DoMouseWheelUp(plat::TShiftState Shift, plat::TPoint MousePos) override;
  plat::LRESULT DefaultDlgCode() const override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  struct TCellLook;
  TCellLook CellLook(int ACol, int ARow);
  void DrawLines(plat::TCanvas& Canvas, const plat::TRect& R, bool Header);
  void DrawContent(plat::TCanvas& Canvas, plat::TRect R, const TCellLook& Look, bool Selected, bool Header);
  bool WheelStep(bool Down, plat::TShiftState Shift, plat::TPoint MousePos);

  TColGridLink* FLink = nullptr;
  std::unique_ptr<TDropDownColumns> FColumns;
  plat::TColor FHeaderColor = plat::clWhite;
  plat::TColor FHeaderColorTo = 0x808080;
  int FHeaderHeight = 25;
  std::unique_ptr<plat::TFont> FHeaderFont;
  plat::TColor FLineColor = 0x808080;
  plat::TColor FFixedLineColor = plat::clBlack;
  int FLineWidth = 1;
  plat::TCustomImageList* FImages = nullptr;
  bool FWheel = false;
  bool FConfirmed = false;
};

}  // namespace dropdown::multicolumn
