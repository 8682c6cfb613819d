#pragma once
// The tree window's scroll state and what moves it: the offsets and their clamping, the ranges, the window's
// scroll bars, scroll-bar messages and the wheel, the nodes at the top and bottom edge, keeping a node in view
// and auto-scrolling at the edges. The scroller owns that state and sees the window through TTreeScrollHost,
// so it can be built and tested alone over a node store.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/forms/stdctrls.h"
#include "tree/lazytree.h"
#include "tree/positioncache.h"

namespace lazytree {

enum TScrollBarStyle : uint8_t { sbmRegular, sbm3D };
enum TOffsetUpdateOption : uint8_t { ouRepaintHeader, ouRepaintScrollBars, ouScrollClientArea, ouUpdateScrollBars };
using TOffsetUpdateOptions = TEnumSet<TOffsetUpdateOption, uint8_t>;
constexpr TOffsetUpdateOptions DefaultScrollUpdateFlags{ouRepaintHeader, ouRepaintScrollBars, ouScrollClientArea,
                                                        ouUpdateScrollBars};
enum TScrollDirection : uint8_t { sdLeft, sdUp, sdRight, sdDown };
using TScrollDirections = TEnumSet<TScrollDirection, uint8_t>;

// The tree's scroll-bar settings. Changing which bars exist re-applies the window (BarsChanged).
class TScrollBarOptions {
 public:
  explicit TScrollBarOptions(std::function<void()> BarsChanged) : FBarsChanged(std::move(BarsChanged)) {}
  bool AlwaysVisible() const { return FAlwaysVisible; }
  void SetAlwaysVisible(bool Value);
  plat::TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(plat::TScrollStyle Value);
  TScrollBarStyle ScrollBarStyle() const { return FScrollBarStyle; }
  void SetScrollBarStyle(TScrollBarStyle Value) { FScrollBarStyle = Value; }
  int HorizontalIncrement() const { return FIncrementX; }
  void SetHorizontalIncrement(int Value) { FIncrementX = std::clamp(Value, 1, 10000); }
  int VerticalIncrement() const { return FIncrementY; }
  void SetVerticalIncrement(int Value) { FIncrementY = std::clamp(Value, 1, 10000); }
  void Assign(const TScrollBarOptions& Source);
  bool HasHorizontal() const { return FScrollBars == plat::ssHorizontal || FScrollBars == plat::ssBoth; }
  bool HasVertical() const { return FScrollBars == plat::ssVertical || FScrollBars == plat::ssBoth; }

 private:
  std::function<void()> FBarsChanged;
  bool FAlwaysVisible = false;
  plat::TScrollStyle FScrollBars = plat::ssBoth;
  TScrollBarStyle FScrollBarStyle = sbmRegular;
  int FIncrementX = 20;
  int FIncrementY = 20;
};

// What the scroller needs of the window it scrolls.
class TTreeScrollHost {
 public:
  virtual TBaseLazyTree& Store() = 0;
  virtual const TScrollBarOptions& BarOptions() const = 0;
  // The position cache when one may be used.
  virtual const TCache* UsableCache() = 0;
  // The rows' client area (below the header band) and the band's height.
  virtual int ClientW() const = 0;
  virtual int ClientH() const = 0;
  virtual int HeaderBand() const = 0;
  virtual uint32_t BottomSpace() const = 0;
  // How wide the content is: the columns' total, or the widest row in view without columns.
  virtual int ContentWidth() = 0;
  // One wheel line sideways.
  virtual int HorizontalWheelStep() const = 0;
  // The window's own road to a new offset (the scroller's ScrollToOffset, or what a subclass puts in front).
  virtual bool ScrollTo(plat::TPoint Offset, TOffsetUpdateOptions Options) = 0;
  // Called after the offsets moved: the scroll event, restyled bars, an open editor follows its cell.
  virtual void Scrolled(int DeltaX, int DeltaY) = 0;
  virtual void CancelHint() = 0;
  // Inside BeginUpdate/EndUpdate: nothing is repainted.
  virtual bool Updating() const = 0;
  virtual void InvalidateWindow() = 0;
  virtual void UpdateWindow() = 0;
  // The window's scroll bars.
  virtual void ShowBar(int Bar, bool Show) = 0;
  virtual void SetBarInfo(int Bar, const plat::TScrollInfo& Info, bool Repaint) = 0;
  virtual int BarPos(int Bar) const = 0;
  virtual int BarTrackPos(int Bar) const = 0;
  virtual void RelayoutBars() = 0;
  virtual void BarsChanged() = 0;
  // The display rectangle of a node's row (client coordinates), of its text part with TextOnly.
  virtual plat::TRect NodeRect(PLazyNode Node, bool TextOnly) = 0;
  // Auto-scrolling: whether it may run now, the mouse, where the last click (or panning start) was, the
  // timer, and the rubber band following the content under the mouse (true when it changed).
  virtual bool CanAutoScroll() const = 0;
  virtual plat::TPoint CursorClientPos() const = 0;
  virtual plat::TPoint LastClickPos() const = 0;
  virtual uint32_t AutoScrollDelay() const = 0;
  virtual void StartScrollTimer(uint32_t Delay) = 0;
  virtual void StopScrollTimer() = 0;
  virtual void BandFollowsScroll(plat::TPoint P) = 0;

 protected:
  ~TTreeScrollHost() = default;
};

class TTreeScroller {
 public:
  explicit TTreeScroller(TTreeScrollHost& Host) : FHost(Host) {}
  TTreeScroller(const TTreeScroller&) = delete;
  TTreeScroller& operator=(const TTreeScroller&) = delete;

  int OffsetX() const { return FOffsetX; }
  int OffsetY() const { return FOffsetY; }
  int EffectiveOffsetX() const { return FEffectiveOffsetX; }
  uint32_t RangeX() const { return FRangeX; }
  uint32_t RangeY() const { return FRangeY; }
  TScrollDirections ScrollDirections() const { return FScrollDirections; }

  // The one place where offsets change (each clamped to the range); answers whether anything moved.
  bool ScrollToOffset(plat::TPoint Value, TOffsetUpdateOptions Options);
  void UpdateVerticalRange();
  void UpdateHorizontalRange();
  void UpdateRanges();
  void UpdateVerticalScrollBar(bool DoRepaint);
  void UpdateHorizontalScrollBar(bool DoRepaint);
  void UpdateScrollBars(bool DoRepaint);
  // The whole content, at least the client area (tree coordinates).
  plat::TRect TreeRect(int ClientWidth) const;

  // A scroll-bar message's code for one bar.
  void ScrollMessage(int Code, bool Vertical);
  // Wheel notches (120 a notch) of Lines lines each; Ctrl scrolls pages, Shift (or no vertical room) sideways.
  void Wheel(plat::TShiftState Shift, int WheelDelta, int Lines);
  void Resized();

  // The node whose row lies at y (client coordinates when Relative); NodeTop receives its top.
  PLazyNode NodeAt(int Y, bool Relative, int& NodeTop);
  // Rows or heights change: the remembered lookup goes.
  void ForgetLookup() { FLastLookup.Node = nullptr; }
  PLazyNode TopNode();
  PLazyNode BottomNode();
  void SetTopNode(PLazyNode Node);
  void SetBottomNode(PLazyNode Node);
  bool ScrollIntoView(PLazyNode Node, bool Center);

  TScrollDirections AutoScrollDirections(int X, int Y) const;
  void UpdateAutoScroll(int X, int Y);
  void AutoScrollStep();

 private:
  void SetOffsetX(int Value) { FHost.ScrollTo({Value, FOffsetY}, DefaultScrollUpdateFlags); }
  void SetOffsetY(int Value) { FHost.ScrollTo({FOffsetX, Value}, DefaultScrollUpdateFlags); }
  bool BarNeeded(int Client, uint32_t Range) const;
  // A bar's info from its range, position and page (all zero for a hidden bar).
  void FillBarInfo(plat::TScrollInfo& Info, bool Shown, int Client, uint32_t Range, int Position) const;
  void ExpandAncestors(PLazyNode Node);
  void StopAutoScroll();

  TTreeScrollHost& FHost;
  int FOffsetX = 0;
  int FOffsetY = 0;
  int FEffectiveOffsetX = 0;
  uint32_t FRangeX = 0;
  uint32_t FRangeY = 0;
  TScrollDirections FScrollDirections;
  int FScrollBarTop = 0;  // the header band the vertical bar was last placed below
  // The last row found by position: the scroll-bar update and the top-node query of one scroll ask for it twice.
  struct {
    PLazyNode Node = nullptr;
    uint32_t Top = 0;
    uint32_t Bottom = 0;
  } FLastLookup;
};

}  // namespace lazytree
