#pragma once
// The mouse gestures of the tree's rows that outlive a press: the rubber band (pending until dragged past the
// drag distance, then drawn, its rectangle following the mouse and the auto-scroll) and the tracking of a
// row's height on its splitter (pending until the first move, then following the mouse). The gesture object
// owns the band's rectangles, the modifiers it started with and the tracked row; it sees the tree window
// through TTreeGestureHost.

#include <cstdint>

#include "platform/forms/keys.h"
#include "platform/graphics/types.h"
#include "tree/lazytree.h"

namespace lazytree {

// Where the mouse of the rows is. The tree states hold it (tsLeftButtonDown .. tsNodeHeightTracking; painting,
// auto-scrolling and the tree's users read them); these names say what each combination means.
enum class TTreeGesture : uint8_t {
  Idle,                // no button held over the rows
  Pressed,             // a button is held and no band or height tracking runs (a click, or a drag to come)
  BandPending,         // a press started a rubber band: it is drawn once dragged past the drag distance
  Band,                // the rubber band is drawn and selects the rows it covers
  HeightTrackPending,  // a press on a row's splitter: the first move starts tracking its height
  HeightTracking,      // the row's height follows the mouse
};

// What the gestures need of the tree window.
class TTreeGestureHost {
 public:
  virtual TBaseLazyTree& Store() = 0;
  // Client to tree coordinates: the horizontal offset in force (added) and the vertical offset (subtracted).
  virtual plat::TPoint ScrollOffsets() const = 0;
  // The area the band may cover in tree coordinates: the larger of client area and content each way.
  virtual plat::TSize BandExtent() const = 0;
  virtual void CaptureMouse() = 0;
  // Pixels the mouse must move before a pending band is drawn.
  virtual int DragDistance() const = 0;
  // Height tracking starts: hints, panning, timers and the incremental search stop.
  virtual void StopOtherGestures() = 0;
  // The row a height tracking measures from (client coordinates).
  virtual plat::TRect RowRect(PLazyNode Node, TColumnIndex Column) = 0;
  // Whether the tracked row may take the height the mouse at P gives it (the window's handler).
  virtual bool HeightTrackAllowed(PLazyNode Node, TColumnIndex Column, plat::TShiftState Shift,
                                  plat::TPoint TrackPoint, plat::TPoint P) = 0;
  // The band is drawn from now on: the focus goes to the main column.
  virtual void BandStarts() = 0;
  // Applies the band to the selection.
  virtual void ApplyBand() = 0;
  virtual void InvalidateWindow() = 0;
  virtual void UpdateWindow() = 0;

 protected:
  ~TTreeGestureHost() = default;
};

class TTreeGestures {
 public:
  explicit TTreeGestures(TTreeGestureHost& Host) : FHost(Host) {}
  TTreeGestures(const TTreeGestures&) = delete;
  TTreeGestures& operator=(const TTreeGestures&) = delete;

  TTreeGesture State() const;

  // --- Rubber band ---
  // A press at client P starts a pending band; Shift is kept (Ctrl makes the band toggle the rows it covers).
  void BeginBand(plat::TPoint P, plat::TShiftState Shift);
  // Moves the band's corner to client (X, Y), within the band extent; true when the rectangle changed.
  bool TrackBand(int X, int Y);
  // A drawn band follows the mouse (no step while the scroll timer extends it itself).
  void MoveBand(int X, int Y);
  // The window scrolled under a drawn band: the corner stays under the mouse at client P.
  void BandFollowsScroll(plat::TPoint P);
  // The band (tree coordinates, as drawn: its corners in any order) and the one before its last change.
  const plat::TRect& NewRect() const { return FNewRect; }
  void SetNewRect(const plat::TRect& Value) { FNewRect = Value; }
  const plat::TRect& LastRect() const { return FLastRect; }
  // Ctrl was held when the band started: rows toggle instead of following the band.
  bool Toggles() const { return FBandShift.Contains(plat::ssCtrl); }

  // --- Row height ---
  // A press on Node's splitter in Column: tracking starts with the first move.
  void BeginHeightTrack(PLazyNode Node, TColumnIndex Column);
  PLazyNode HeightTrackNode() const { return FTrackNode; }

  // The move's part of the gestures, before anything else the move does: a pending height tracking starts, a
  // pending band is drawn once dragged far enough, a tracked row takes its height. True when the move ends here.
  bool Moved(plat::TShiftState Shift, int X, int Y);

 private:
  void StartHeightTracking();
  bool MovePendingBand(int X, int Y);
  void TrackHeight(plat::TShiftState Shift, int X, int Y);

  TTreeGestureHost& FHost;
  plat::TRect FNewRect;
  plat::TRect FLastRect;
  plat::TShiftState FBandShift;
  PLazyNode FTrackNode = nullptr;
  TColumnIndex FTrackColumn = NoColumn;
  plat::TPoint FTrackPoint{};
};

}  // namespace lazytree
