#pragma once
// How the tree window answers its mouse gestures: a thin adapter over the window's members (private to the
// window's own sources).

#include <algorithm>
#include <limits>

#include "tree/treecontrol.h"
#include "tree/treegesture.h"

namespace lazytree {

class TBaseLazyTreeControl::TGestureHostAdapter final : public TTreeGestureHost {
 public:
  explicit TGestureHostAdapter(TBaseLazyTreeControl& Tree) : T(Tree) {}
  TBaseLazyTree& Store() override { return T; }
  plat::TPoint ScrollOffsets() const override { return {T.EffectiveOffsetX(), T.OffsetY()}; }
  plat::TSize BandExtent() const override { return {Larger(T.ClientW(), T.RangeX()), Larger(T.ClientH(), T.RangeY())}; }
  void CaptureMouse() override { T.SetMouseCapture(true); }
  int DragDistance() const override;
  void StopOtherGestures() override;
  plat::TRect RowRect(PLazyNode Node, TColumnIndex Column) override {
    return T.GetDisplayRect(Node, Column, false);
  }
  bool HeightTrackAllowed(PLazyNode Node, TColumnIndex Column, plat::TShiftState Shift, plat::TPoint TrackPoint,
                          plat::TPoint P) override;
  void BandStarts() override { T.FFocusedColumn = T.FHeader->MainColumn(); }
  void ApplyBand() override { T.UpdateRectSelection(); }
  void InvalidateWindow() override { T.Invalidate(); }
  void UpdateWindow() override { T.Update(); }

 private:
  static int Larger(int Client, uint32_t Range) {
    return static_cast<int>(std::min<int64_t>(std::max<int64_t>(Client, Range), std::numeric_limits<int>::max()));
  }
  TBaseLazyTreeControl& T;
};

}  // namespace lazytree
