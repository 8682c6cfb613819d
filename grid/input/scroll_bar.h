#pragma once
// TScrollControl: the thin custom-painted scroll bar of ScrollType ssMetro (a thumb over the grid, paging by a
// press beside it, dragging by a press on it). THeaderDragButton: the floating button that shows a column
// header while the column is dragged to a new place.

#include <QString>

#include "platform/forms/controls.h"

namespace grid {

class TExtStringGrid;
class TRenderGrid;

enum TScrollDirection { sdVertical, sdHorizontal };

class TScrollControl : public plat::TCustomControl {
 public:
  explicit TScrollControl(plat::TComponent* AOwner);
  // The parent when it is a string grid; nothing happens without one.
  TExtStringGrid* OwnerGrid() const;
  int TrackStart() const;
  int TrackLength() const;
  // Thumb position and size; false when there is nothing to scroll or no room for a track.
  bool ThumbBounds(int& Pos, int& Size) const;
  TScrollDirection Direction() const { return FDirection; }
  void SetDirection(TScrollDirection v) { FDirection = v; Invalidate(); }
  int ScrollWidth = 4;
  bool Dragging() const { return FDownOnScroller; }
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  bool Vert() const { return FDirection == sdVertical; }
  // Whether the grid has more rows (columns) than it shows.
  bool CanScroll() const;
  TScrollDirection FDirection = sdVertical;
  bool FDownOnScroller = false;
  int FDownPos = 0;
  int FDownRow = 0;
};

class THeaderDragButton : public plat::TCustomControl {
 public:
  explicit THeaderDragButton(plat::TComponent* AOwner);
  TRenderGrid* Grid = nullptr;
  bool Flat = false;  // kept, not used when painting

 protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }
};

}  // namespace grid
