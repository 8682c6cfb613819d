// The rubber band and the row-height tracking between a press and its release.
#include "tree/treegesture.h"

#include <algorithm>

#include "tree/treeutils.h"

namespace lazytree {

TTreeGesture TTreeGestures::State() const {
  const TLazyTreeStates s = FHost.Store().TreeStates();
  if (s.Has(tsNodeHeightTracking)) return TTreeGesture::HeightTracking;
  if (s.Has(tsNodeHeightTrackPending)) return TTreeGesture::HeightTrackPending;
  if (s.Has(tsDrawSelecting)) return TTreeGesture::Band;
  if (s.Has(tsDrawSelPending)) return TTreeGesture::BandPending;
  if (s.Has(tsLeftButtonDown) || s.Has(tsMiddleButtonDown) || s.Has(tsRightButtonDown)) return TTreeGesture::Pressed;
  return TTreeGesture::Idle;
}

// ------------------------------------------------------------------------------------------------------------
// Rubber band

void TTreeGestures::BeginBand(plat::TPoint P, plat::TShiftState Shift) {
  FHost.CaptureMouse();
  FHost.Store().DoStateChange({tsDrawSelPending});
  FBandShift = Shift;
  const plat::TPoint offsets = FHost.ScrollOffsets();
  const plat::TPoint p(P.X + offsets.X, P.Y - offsets.Y);
  FNewRect = plat::TRect(p.X, p.Y, p.X, p.Y);
  FLastRect = plat::TRect(0, 0, 0, 0);
}

bool TTreeGestures::TrackBand(int X, int Y) {
  if (FHost.Store().TreeStates().Has(tsDrawSelecting)) FLastRect = FNewRect;
  const plat::TPoint offsets = FHost.ScrollOffsets();
  const plat::TSize extent = FHost.BandExtent();
  const int x = std::clamp<int64_t>(static_cast<int64_t>(X) + offsets.X, 0, std::max(0, extent.cx));
  const int y = std::clamp<int64_t>(static_cast<int64_t>(Y) - offsets.Y, 0, std::max(0, extent.cy));
  const bool changed = x != FNewRect.Right || y != FNewRect.Bottom;
  FNewRect.Right = x;
  FNewRect.Bottom = y;
  return changed;
}

void TTreeGestures::MoveBand(int X, int Y) {
  if (FHost.Store().TreeStates().Has(tsScrolling) || !TrackBand(X, Y)) return;
  FHost.ApplyBand();
  FHost.InvalidateWindow();
  FHost.UpdateWindow();
}

void TTreeGestures::BandFollowsScroll(plat::TPoint P) {
  if (!TrackBand(P.X, P.Y)) return;
  FHost.ApplyBand();
  FHost.InvalidateWindow();
}

// Until the mouse has moved the drag distance the band is only pending; from then on a selection the press
// meant to clear at the release is cleared at once and the band selects.
bool TTreeGestures::MovePendingBand(int X, int Y) {
  if (TrackBand(X, Y)) FHost.UpdateWindow();
  const plat::TRect band = NormalizedRect(FNewRect);
  const int threshold = FHost.DragDistance();
  if (band.Width() <= threshold && band.Height() <= threshold) return true;
  TBaseLazyTree& store = FHost.Store();
  if (store.TreeStates().Has(tsClearPending)) {
    store.DoStateChange({}, {tsClearPending});
    store.ClearSelection();
  }
  store.DoStateChange({tsDrawSelecting}, {tsDrawSelPending});
  FHost.BandStarts();
  FHost.ApplyBand();
  FHost.InvalidateWindow();
  return true;
}

// ------------------------------------------------------------------------------------------------------------
// Row height

void TTreeGestures::BeginHeightTrack(PLazyNode Node, TColumnIndex Column) {
  FTrackNode = Node;
  FTrackColumn = Column;
  const plat::TRect r = FHost.RowRect(Node, Column);
  FTrackPoint = {r.Left, r.Top};
  FHost.Store().DoStateChange({tsNodeHeightTrackPending});
}

void TTreeGestures::StartHeightTracking() {
  FHost.StopOtherGestures();
  FHost.Store().DoStateChange({tsNodeHeightTracking},
                              {tsEditPending, tsNodeHeightTrackPending, tsIncrementalSearching, tsOLEDragPending,
                               tsScrolling, tsScrollPending, tsVCLDragPending});
}

// The row's bottom follows the mouse; it keeps at least one pixel.
void TTreeGestures::TrackHeight(plat::TShiftState Shift, int X, int Y) {
  if (FTrackNode && FHost.HeightTrackAllowed(FTrackNode, FTrackColumn, Shift, FTrackPoint, {X, Y}))
    FHost.Store().SetNodeHeight(FTrackNode, static_cast<uint32_t>(std::max(1, Y - FTrackPoint.Y)));
  FHost.UpdateWindow();
}

bool TTreeGestures::Moved(plat::TShiftState Shift, int X, int Y) {
  if (FHost.Store().TreeStates().Has(tsNodeHeightTrackPending)) StartHeightTracking();
  const TLazyTreeStates s = FHost.Store().TreeStates();
  if (s.Has(tsDrawSelPending)) return MovePendingBand(X, Y);
  if (!s.Has(tsNodeHeightTracking)) return false;
  TrackHeight(Shift, X, Y);
  return true;
}

}  // namespace lazytree
