#pragma once
// TExtColGrid of the grid drop-down: the full string grid its popup hosts. It tells the drop-down about row
// changes and picks (Enter, a release over a data row), keeps apart the rows the user chose by key or mouse
// press from those the wheel only passed, and narrows its rows down to those whose cell in a column contains a
// text, one level of hidden rows per typed character.

#include <QString>

#include <memory>
#include <vector>

#include "dropdown/grid_dropdown_items.h"
#include "grid/extgrid.h"

namespace dropdown::griddrop {

// What the popup grid asks of its drop-down.
class TGridPopupLink {
 public:
  virtual ~TGridPopupLink() = default;
  // The current row changes to Row (by key, press or wheel).
  virtual void LinkSelectCell(int Row) = 0;
  // A key the grid hands to the drop-down's edit as a key-down.
  virtual void LinkEditKeyDown(std::uint16_t Key) = 0;
  // A cell edit (real column) ended by Enter in the cell editor; the value is in the cell.
  virtual void LinkCellEditEnded(int Col, int Row) = 0;
};

class TExtColGrid : public grid::TExtStringGrid {
 public:
  explicit TExtColGrid(plat::TComponent* AOwner);
  ~TExtColGrid() override;

  TGridPopupLink* Link() const { return FLink; }
  void SetLink(TGridPopupLink* Value) { FLink = Value; }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }

  // Copied from the drop-down; the grid draws in its own look, not with these.
  plat::TColor HeaderColor = plat::clWhite, HeaderColorTo = 0x808080;
  int HeaderHeight = 25;
  plat::TColor LineColor = 0x808080, FixedLineColor = plat::clBlack;
  plat::TFont* HeaderFont() const { return FHeaderFont.get(); }
  plat::TCustomImageList* Images() const { return FImages; }
  void SetImages(plat::TCustomImageList* Value) { FImages = Value; }
  // Stores the value; the string grid's own lines get the width 0.
  int LineWidth() const { return FLineWidth; }
  void SetLineWidth(int Value);

  bool SelectionConfirmed() const { return FConfirmed; }
  void SetSelectionConfirmed(bool Value) { FConfirmed = Value; }
  bool WheelSelection() const { return FWheel; }

  // Hides the data rows whose cell in Column does not contain Condition (any letter case). A condition one
  // character longer than the last adds a level over the rows still shown; one character shorter takes the last
  // level back; anything else starts afresh. An empty condition shows every row this narrowing hid.
  void NarrowRows(const QString& Condition, int Column);
  void ShowAllRows();
  int NarrowLevels() const { return static_cast<int>(FLevels.size()); }

  plat::TNotifyEvent OnSelect;

 protected:
  virtual void DoSelect();
  bool HandleSelectCell(int ACol, int ARow) override;
  void EditorKeyDownHook(std::uint16_t Key, plat::TShiftState Shift) override;
  void HandleMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void HandleMouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  // Keys (Tab ignored, Alt+Up and Alt+Down to the edit, Enter picks), Enter's character, and the wheel.
  void Dispatch(plat::TMessage& Message) override;
  plat::LRESULT DefaultDlgCode() const override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  void AddLevel(const QString& Condition, int Column);
  void TakeBackLevel();
  bool KeyDownMessage(std::uint16_t Key);

  TGridPopupLink* FLink = nullptr;
  std::unique_ptr<TDropDownColumns> FColumns;
  std::unique_ptr<plat::TFont> FHeaderFont;
  plat::TCustomImageList* FImages = nullptr;
  int FLineWidth = 1;
  bool FWheel = false;
  bool FConfirmed = false;
  // The narrowing: the last condition and, per level, whether it hid rows (only those levels are taken back).
  QString FLastCondition;
  std::vector<bool> FLevels;
};

}  // namespace dropdown::griddrop
