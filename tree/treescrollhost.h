#pragma once
// How the tree window answers its scroller: a thin adapter over the window's members (private to the window's
// own sources).

#include "tree/treecontrol.h"
#include "tree/treescroller.h"

namespace lazytree {

class TBaseLazyTreeControl::TScrollHostAdapter final : public TTreeScrollHost {
 public:
  explicit TScrollHostAdapter(TBaseLazyTreeControl& Tree) : T(Tree) {}
  TBaseLazyTree& Store() override { return T; }
  const TScrollBarOptions& BarOptions() const override { return T.FScrollBarOptions; }
  const TCache* UsableCache() override { return T.FPositionCache.Usable(); }
  int ClientW() const override { return T.ClientW(); }
  int ClientH() const override { return T.ClientH(); }
  int HeaderBand() const override { return T.HeaderBand(); }
  uint32_t BottomSpace() const override { return T.FBottomSpace; }
  int ContentWidth() override;
  int HorizontalWheelStep() const override;
  bool ScrollTo(plat::TPoint Offset, TOffsetUpdateOptions Options) override {
    return T.ScrollToOffset(Offset, Options, nullptr);
  }
  void Scrolled(int DeltaX, int DeltaY) override;
  void CancelHint() override { T.CancelHint(); }
  bool Updating() const override { return T.Updating(); }
  void InvalidateWindow() override { T.Invalidate(); }
  void UpdateWindow() override { T.Update(); }
  void ShowBar(int Bar, bool Show) override { T.DoShowScrollBar(Bar, Show); }
  void SetBarInfo(int Bar, const plat::TScrollInfo& Info, bool Repaint) override {
    T.SetScrollInfo(Bar, Info, Repaint);
  }
  int BarPos(int Bar) const override { return T.GetScrollPos(Bar); }
  int BarTrackPos(int Bar) const override;
  void RelayoutBars() override { T.RelayoutScrollBars(); }
  void BarsChanged() override { T.UpdateStyledScrollBars(); }
  plat::TRect NodeRect(PLazyNode Node, bool TextOnly) override {
    return T.GetDisplayRect(Node, NoColumn, TextOnly);
  }
  bool CanAutoScroll() const override { return T.CanAutoScroll(); }
  plat::TPoint CursorClientPos() const override { return T.CursorClientPos(); }
  plat::TPoint LastClickPos() const override { return T.FLastClickPos; }
  uint32_t AutoScrollDelay() const override { return T.FAutoScrollDelay; }
  void StartScrollTimer(uint32_t Delay) override { T.StartTimer(ScrollTimer, Delay); }
  void StopScrollTimer() override { T.StopTimer(ScrollTimer); }
  void BandFollowsScroll(plat::TPoint P) override;

 private:
  TBaseLazyTreeControl& T;
};

}  // namespace lazytree
