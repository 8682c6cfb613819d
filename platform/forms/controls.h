// Controls: TControl, TWinControl, TCustomControl and TGraphicControl. Each control is hosted by a Qt widget
// that turns Qt's events into messages; a message goes through WindowProc (replaceable), WndProc, Dispatch
// (the per-class switch; "inherited" = the base class's Dispatch) and DefaultHandler, which runs the widget's
// own Qt handling of the event that caused the message.
//
// Properties are read with Name() and written with SetName(...). Events are std::function slots.
#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/graphics/color.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/types.h"
#include "platform/rtl/component.h"

class QWidget;
class QEvent;
class QKeyEvent;
class QMouseEvent;
class QScrollBar;

namespace plat {

class TCanvas;
class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;

namespace detail {
class HostBridge;
class ControlAccess;
}  // namespace detail

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csClickEvents, csFramed, csSetCaption, csOpaque, csDoubleClicks,
  csFixedWidth, csFixedHeight, csNoStdEvents, csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem { csLButtonDown, csClicked, csPalette, csReadingState, csFocusing, csCreating, csCustomPaint };
using TControlState = TSet<TControlStateItem>;

// Cursors: the framework's numbers.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;
// Cursors loaded into the application's numbered slots (positive numbers) show the shape given here.
void SetCursorSlot(TCursor Slot, Qt::CursorShape Shape);

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // The Qt widget that hosts the control (inside platform/forms only; others treat it as opaque).
  QWidget* Widget() const;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  TPoint ClientToScreen(const TPoint& p) const;
  TPoint ScreenToClient(const TPoint& p) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors v);

  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to the top-level window shown.
  bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);

  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont& f) { FFont->Assign(f); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);

  QString Caption() const { return GetText(); }
  void SetCaption(const QString& v) { SetText(v); }
  QString Text() const { return GetText(); }
  void SetText(const QString& v);

  QString Hint() const { return FHint; }
  void SetHint(const QString& v);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* v);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v);

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle v) { FControlStyle = v; }
  TControlState ControlState() const { return FControlState; }

  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  // Messages.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  std::function<void(TMessage&)> WindowProc;  // defaults to WndProc; may be replaced and restored
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  void Invalidate();
  void Update();   // paints pending areas now
  void Repaint();  // invalidates and paints now
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // The name also becomes the widget's object name, so tests and screenshots find controls by it.
  void SetName(const QString& NewName) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

  virtual void Click();
  virtual void DblClick();

 protected:
  // For controls hosted by another Qt widget class: the host is made by platform/forms itself.
  TControl(TComponent* AOwner, QWidget* Host);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual QString GetText() const { return FText; }
  // Called after the text changed (the widget takes it over here).
  virtual void TextChanged() {}
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void Resize();
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  // Background role the Color goes to (edits and lists paint Color as their base).
  virtual bool ColorIsBase() const { return false; }
  void ApplyPalette();
  void ApplyFont();
  void RequestAlign();

  // Set by controls whose widget Qt places and shows itself (pages of a tab control).
  bool FQtPlaced = false;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  QString FText;

 private:
  friend class TWinControl;
  friend class detail::HostBridge;
  friend class detail::ControlAccess;

  void InitControl();
  void DoMouseDownMsg(TMessage& M, TMouseButton Button, TShiftState Extra);
  void DoMouseUpMsg(TMessage& M, TMouseButton Button);
  void UpdateWidgetGeometry();
  void UpdateWidgetVisibility();
  void RememberAnchorDistances();
  // WM_SIZE once per new size, whether the size came from code or from the window system.
  void NotifySized();
  int FNotifiedWidth = -1, FNotifiedHeight = -1;

  QPointer<QWidget> FWidget;
  detail::HostBridge* FBridge = nullptr;
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  int FAnchorRight = 0, FAnchorBottom = 0;  // distances kept for right/bottom anchors
  bool FAnchorsKnown = false;
  bool FVisible = true;
  bool FEnabled = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  bool FColorSet = false;
  QString FHint;
  bool FShowHint = false;
  TPopupMenu* FPopupMenu = nullptr;
  TCursor FCursor = crDefault;
  bool FSettingBounds = false;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // A windowed control always has its handle: an id that finds the control (FindControl) and addresses
  // posted messages.
  HWND Handle() const { return FHandle; }
  bool HandleAllocated() const { return true; }
  void HandleNeeded() {}

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(static_cast<std::size_t>(Index)); }
  bool ContainsControl(const TControl* Control) const;
  void Broadcast(TMessage& Message);

  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  int TabOrder() const;
  void SetTabOrder(int v);
  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  // The next control in tab order after CurControl (nullptr: the first), or nullptr.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  void GetTabOrderList(std::vector<TWinControl*>& List) const;

  // Window timers: WM_TIMER carries the id given here. Setting an id again restarts it.
  void SetTimer(std::uintptr_t id, UINT Elapse);
  bool KillTimer(std::uintptr_t id);

  // Window scroll bars (SB_HORZ, SB_VERT), placed at the right and bottom edge inside the control; the client
  // rectangle excludes them. Actions on them arrive as WM_HSCROLL / WM_VSCROLL with LParam 0.
  int SetScrollInfo(int Bar, const TScrollInfo& Info, bool Redraw = true);
  bool GetScrollInfo(int Bar, TScrollInfo& Info) const;
  void ShowScrollBar(int Bar, bool Show);
  int SetScrollPos(int Bar, int Pos, bool Redraw = true);
  int GetScrollPos(int Bar) const;
  void SetScrollRange(int Bar, int Min, int Max, bool Redraw = true);
  bool ScrollBarVisible(int Bar) const;
  // A shown bar may be greyed out (it stays in place and takes no input).
  void EnableScrollBar(int Bar, bool Enable);
  bool ScrollBarEnabled(int Bar) const;
  // The look of both window scroll bars: their thickness in pixels (17 by default) and the colour of their
  // trough (clNone: the style's own).
  void SetScrollBarLook(int Size, TColor Color);
  int ScrollBarSize() const { return FScrollBarSize; }
  TRect ClientRect() const override;


  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void Realign();

 protected:
  TWinControl(TComponent* AOwner, QWidget* Host);

  virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char16_t& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // WM_GETDLGCODE's answer when no handler gives one.
  virtual LRESULT DefaultDlgCode() const { return 0; }
  bool DoKeyDown(TMessage& M);
  bool DoKeyUp(TMessage& M);
  bool DoKeyPress(TMessage& M);
  // How far below the control's top the vertical scroll bar starts (a band of the control above the client
  // rows, such as a header, keeps the full width). Call RelayoutScrollBars when it changes.
  virtual int VerticalScrollBarTop() const { return 0; }
  void RelayoutScrollBars() { LayoutScrollBars(); }

 private:
  friend class TControl;
  friend class detail::HostBridge;
  friend class detail::ControlAccess;
  struct ScrollBarState;

  void InitWinControl();
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void LayoutScrollBars();
  ScrollBarState& Bar(int b) const;

  HWND FHandle = 0;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  std::map<std::uintptr_t, int> FTimers;  // window timer id -> Qt timer id
  mutable std::unique_ptr<ScrollBarState> FHorz, FVert;
  int FScrollBarSize = 17;
  TColor FScrollBarColor = clNone;
  bool FAligning = false;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  // Valid while Paint runs: draws into the control's back buffer, which is put on screen afterwards.
  TCanvas* Canvas() const { return FCanvas.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint();
  void PaintHandler(TMessage& Message);

 private:
  std::unique_ptr<TCanvas> FCanvas;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint();

 private:
  std::unique_ptr<TCanvas> FCanvas;
};

// The form that holds the control (nullptr when it is not on a form).
TCustomForm* GetParentForm(const TControl* Control);

}  // namespace plat
