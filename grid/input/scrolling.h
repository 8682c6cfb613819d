#pragma once
// Moving the string grid's view: scroll hints while the thumb is dragged and synchronous scrolling, the
// proportional scroll bars, what follows a change of the top-left cell, the mouse wheel (scrolling or moving
// the current row, Ctrl+wheel zoom), middle-button wheel panning, and Zoom.

#include <QTimer>

#include <memory>

#include "platform/forms/messages.h"
#include "platform/grids/grids.h"

namespace grid {

class TExtStringGrid;
class TInputHost;
class THTMLHintWindow;
class TScrollControl;

enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// Drag-scroll directions, combined as bits.
enum TDragScrollDirection { dsdUp = 1, dsdDown = 2, dsdLeft = 4, dsdRight = 8 };

// The pan cursors by direction: 8000 origin, 8001 down, 8002 left, 8003 right, 8004 up, 8005 up-right,
// 8006 up-left, 8007 down-right, 8008 down-left.
int PanCursorId(int V, int H);

class TGridScrolling {
 public:
  TGridScrolling(TExtStringGrid& Grid, TInputHost& Host);
  ~TGridScrolling();
  TGridScrolling(const TGridScrolling&) = delete;
  TGridScrolling& operator=(const TGridScrolling&) = delete;

  // WM_HSCROLL / WM_VSCROLL around the base grid's scrolling.
  void ScrollMessage(plat::TMessage& M, bool Vert);
  // The row (column) a thumb position 0 .. 127 stands for, held to the scrollable range.
  int RowOfPosition(int Pos) const;
  int ColOfPosition(int Pos) const;
  void UpdateHorzProportional();
  void UpdateVertProportional();
  // After the base grid's top-left change.
  void TopLeftChanged();

  // WM_MOUSEWHEEL (true: handled, the framework's wheel handling does not run).
  bool WheelMessage(plat::TMessage& M);
  // The framework's wheel notifications; Result is the notification's answer.
  bool HandleWheel(bool Down, plat::TShiftState Shift, plat::TPoint MousePos, bool& Result);
  void Zoom(int x);

  // Wheel panning: a middle press starts it, any press or key ends it; every timer message makes one step.
  bool PanMessage(plat::TMessage& M);
  void PanStep();
  bool Panning() const { return FPanning; }
  plat::TPoint PanOrigin() const { return FPanOrigin; }
  int PanCursor() const { return FPanCursor; }
  void InvalidatePanOrigin();
  void DrawPanOrigin(plat::TCanvas& Canvas);

  // Scrolling while something is dragged over the grid's margins: the first step after the initial delay,
  // then one step per repeat delay. The timer is the grid's own and ends with it.
  void DragOver(int X, int Y, TDragState State);
  void DragScrollTick();
  int DragScrollDirection() const { return FDragDir; }
  // The drag-scroll timer's interval (-1 while there is none).
  int DragTimerInterval() const;

  // The thin custom bars of ScrollType ssMetro: made when that type is chosen, freed otherwise.
  void UpdateMetroBars();
  TScrollControl* VertBar() const { return FVertBar; }
  TScrollControl* HorzBar() const { return FHorzBar; }

  THTMLHintWindow* HintWindow() const { return FHint.get(); }
  bool HintShowing() const { return FHintShow; }

  int WheelScroll = 3;  // rows per wheel notch (the system's wheel lines)
  bool ScrollLock = false;
  int OldLeftCol = -1, OldTopRow = -1;
  // Where the cursor is, in client pixels (tests set it; the window's cursor position otherwise).
  std::function<plat::TPoint()> CursorPos;

 private:
  plat::TGridRect BackgroundCells() const;
  void RepaintBackground(const plat::TGridRect& Before);
  void CloseCheckBoxEditor();
  void ShowHint(const QString& Text);
  void HideHint();
  void EndPan();
  plat::TPoint ClientCursor() const;

  TExtStringGrid& FGrid;
  TInputHost& FHost;
  std::unique_ptr<THTMLHintWindow> FHint;
  bool FHintShow = false;
  bool FPanning = false;
  plat::TPoint FPanOrigin;
  int FPanCursor = 8000;
  std::unique_ptr<QTimer> FDragTimer;
  int FDragDir = 0;
  TScrollControl* FVertBar = nullptr;
  TScrollControl* FHorzBar = nullptr;
};

}  // namespace grid
