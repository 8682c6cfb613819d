// The window's side of the rubber band and the row-height tracking (TTreeGestures): the members that read
// them and how the window answers the gestures.
#include <QApplication>

#include "tree/treecontrol.h"
#include "tree/treegesturehost.h"

namespace lazytree {

const plat::TRect& TBaseLazyTreeControl::NewSelRect() const { return FGestures->NewRect(); }
void TBaseLazyTreeControl::SetNewSelRect(const plat::TRect& Value) { FGestures->SetNewRect(Value); }
const plat::TRect& TBaseLazyTreeControl::LastSelRect() const { return FGestures->LastRect(); }
TTreeGesture TBaseLazyTreeControl::MouseGesture() const { return FGestures->State(); }
bool TBaseLazyTreeControl::TrackSelectionRect(int X, int Y) { return FGestures->TrackBand(X, Y); }

int TBaseLazyTreeControl::TGestureHostAdapter::DragDistance() const { return QApplication::startDragDistance(); }

void TBaseLazyTreeControl::TGestureHostAdapter::StopOtherGestures() {
  T.CancelHint();
  T.StopWheelPanning();
  for (int id : {ExpandTimer, EditTimer, 3, ScrollTimer, SearchTimer}) T.StopTimer(id);
  T.EndIncrementalSearch();
}

bool TBaseLazyTreeControl::TGestureHostAdapter::HeightTrackAllowed(PLazyNode Node, TColumnIndex Column,
                                                                  plat::TShiftState Shift, plat::TPoint TrackPoint,
                                                                  plat::TPoint P) {
  bool allowed = true;
  if (T.OnNodeHeightTracking) T.OnNodeHeightTracking(&T, Node, Column, Shift, TrackPoint, P, allowed);
  return allowed;
}

}  // namespace lazytree
