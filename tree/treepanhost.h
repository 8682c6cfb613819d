#pragma once
// How the tree window answers its wheel panner: a thin adapter over the window's members (private to the
// window's own sources).

#include "tree/treecontrol.h"
#include "tree/treepanner.h"

namespace lazytree {

class TBaseLazyTreeControl::TPanHostAdapter final : public TTreePanHost {
 public:
  explicit TPanHostAdapter(TBaseLazyTreeControl& Tree) : T(Tree) {}
  TBaseLazyTree& Store() override { return T; }
  bool RoomX() const override { return static_cast<int64_t>(T.RangeX()) > T.ClientW(); }
  bool RoomY() const override { return static_cast<int64_t>(T.RangeY()) > T.ClientH(); }
  plat::TPoint ClientToScreen(plat::TPoint P) const override { return T.ClientToScreen(P); }
  plat::TPoint Origin() const override { return T.FLastClickPos; }
  void SetOrigin(plat::TPoint P) override { T.FLastClickPos = P; }
  void ChooseCursorAt(plat::TPoint P) override { T.ChoosePanningCursor(P.X, P.Y); }
  void ShowPanCursor(Qt::CursorShape Shape) override;
  void RestoreCursor() override;
  void BeginCapture() override;
  void EndCapture() override;
  void StartScrollTimer(uint32_t Milliseconds) override { T.StartTimer(ScrollTimer, Milliseconds); }
  void StopScrollTimer() override { T.StopTimer(ScrollTimer); }

 private:
  TBaseLazyTreeControl& T;
};

}  // namespace lazytree
