#include "platform/forms/controls.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

#include "platform/forms/forms.h"
#include "platform/forms/host.h"
#include "platform/forms/scrollbarstate.h"
#include "platform/forms/menus.h"
#include "platform/forms/msgqueue.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/exceptions.h"

namespace plat {

namespace {

std::map<HWND, TWinControl*>& HandleTable() {
  static std::map<HWND, TWinControl*> t;
  return t;
}
HWND g_nextHandle = 0x100;
TControl* g_capture = nullptr;
bool g_grabbed = false;

std::map<TCursor, Qt::CursorShape>& CursorSlots() {
  static std::map<TCursor, Qt::CursorShape> table;
  return table;
}

Qt::CursorShape CursorShape(TCursor c) {
  if (c > 0) {
    const auto it = CursorSlots().find(c);
    return it == CursorSlots().end() ? Qt::ArrowCursor : it->second;
  }
  switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crDrag: case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

}  // namespace

Qt::CursorShape CursorToQt(TCursor c) { return CursorShape(c); }

void SetCursorSlot(TCursor Slot, Qt::CursorShape Shape) { CursorSlots()[Slot] = Shape; }

// ---------------------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TControl(AOwner, detail::MakeHost<detail::THost<QWidget>>(this)) {}

TControl::TControl(TComponent* AOwner, QWidget* Host) : TComponent(AOwner), FWidget(Host) {
  FBridge = dynamic_cast<detail::HostBridge*>(Host);
  InitControl();
}

QWidget* TControl::Widget() const { return FWidget.data(); }

void TControl::InitControl() {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont = std::make_unique<TFont>();
  FFont->OnChange = [this](auto*) {
    if (FUpdatingFont) return;
    FParentFont = false;
    FontChanged();
  };
  if (FWidget) {
    FWidget->hide();
    FWidget->setMouseTracking(true);
    FWidget->setAttribute(Qt::WA_Hover, false);
  }
}

TControl::~TControl() {
  if (g_capture == this) g_capture = nullptr;
  if (FParent) FParent->RemoveControl(this);
  FParent = nullptr;
  detail::ControlAccess::Detach(this);
}

void detail::ControlAccess::Detach(TControl* c) {
  if (c->FBridge) c->FBridge->FControl = nullptr;
  c->FBridge = nullptr;
  delete c->FWidget;
  c->FWidget = nullptr;
}

void TControl::SetName(const QString& NewName) {
  TComponent::SetName(NewName);
  if (FWidget) FWidget->setObjectName(Name());
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this) throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
  if (FParent) FParent->RemoveControl(this);
  FParent = AParent;
  if (FWidget) FWidget->setParent(AParent ? AParent->Widget() : nullptr);
  if (AParent) {
    AParent->InsertControl(this);
    if (FParentFont) {
      FUpdatingFont = true;
      FFont->Assign(*AParent->Font());
      FUpdatingFont = false;
      ApplyFont();
    }
    if (FParentColor) {
      FColor = AParent->Color();
      FColorSet = true;
      ApplyPalette();
    }
  }
  UpdateWidgetGeometry();
  UpdateWidgetVisibility();
  RememberAnchorDistances();
  RequestAlign();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (AWidth < 0) AWidth = 0;
  if (AHeight < 0) AHeight = 0;
  const bool moved = ALeft != FLeft || ATop != FTop;
  const bool sized = AWidth != FWidth || AHeight != FHeight;
  if (!moved && !sized) return;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateWidgetGeometry();
  if (FParent && !FParent->FAligning) RememberAnchorDistances();
  if (sized) NotifySized();
  RequestAlign();
}

void TControl::NotifySized() {
  if (FWidth == FNotifiedWidth && FHeight == FNotifiedHeight) return;
  FNotifiedWidth = FWidth;
  FNotifiedHeight = FHeight;
  Perform(WM_SIZE, 0, MakeLParam(FWidth, FHeight));
}

void TControl::UpdateWidgetGeometry() {
  if (!FWidget || FQtPlaced) return;
  FSettingBounds = true;
  if (FWidget->isWindow()) {
    FWidget->move(FLeft, FTop);
    if (FWidget->minimumSize() == FWidget->maximumSize())
      FWidget->setFixedSize(FWidth, FHeight);  // a fixed border keeps its size fixed
    else
      FWidget->resize(FWidth, FHeight);
  } else {
    FWidget->setGeometry(FLeft, FTop, FWidth, FHeight);
  }
  FSettingBounds = false;
}

void detail::ControlAccess::AdoptGeometry(TControl* c, const QRect& r, bool move, bool resize) {
  if (c->FSettingBounds) return;
  if (move) {
    c->FLeft = r.x();
    c->FTop = r.y();
  }
  if (resize) {
    c->FWidth = r.width();
    c->FHeight = r.height();
  }
}

void TControl::RememberAnchorDistances() {
  if (!FParent) return;
  const TRect pr = FParent->ClientRect();
  FAnchorRight = pr.Width() - (FLeft + FWidth);
  FAnchorBottom = pr.Height() - (FTop + FHeight);
  FAnchorsKnown = true;
}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int v) { SetWidth(v + (FWidth - ClientWidth())); }
void TControl::SetClientHeight(int v) { SetHeight(v + (FHeight - ClientHeight())); }

TPoint TControl::ClientToScreen(const TPoint& p) const {
  if (!FWidget) return p;
  return FromQPoint(FWidget->mapToGlobal(ToQPoint(p)));
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  if (!FWidget) return p;
  return FromQPoint(FWidget->mapFromGlobal(ToQPoint(p)));
}

void TControl::SetAlign(TAlign v) {
  if (v == FAlign) return;
  FAlign = v;
  if (v == alClient || v == alTop || v == alBottom) FAnchors = TAnchors{akLeft, akTop, akRight};
  RequestAlign();
}

void TControl::SetAnchors(TAnchors v) {
  FAnchors = v;
  RememberAnchorDistances();
}

void TControl::RequestAlign() {
  if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  UpdateWidgetVisibility();
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
  VisibleChanged();
  if (FAlign != alNone) RequestAlign();
}

void TControl::UpdateWidgetVisibility() {
  if (!FWidget || FWidget->isWindow() || FQtPlaced) return;
  FWidget->setVisible(FVisible && FParent != nullptr);
}

bool TControl::Showing() const {
  if (!FWidget) return false;
  return FWidget->isVisible();
}

void TControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  if (FWidget) FWidget->setEnabled(v);
  Perform(CM_ENABLEDCHANGED);
  EnabledChanged();
}

void TControl::SetParentFont(bool v) {
  FParentFont = v;
  if (v && FParent) {
    FUpdatingFont = true;
    FFont->Assign(*FParent->Font());
    FUpdatingFont = false;
    FParentFont = true;
    FontChanged();
  }
}

void TControl::FontChanged() {
  ApplyFont();
  Perform(CM_FONTCHANGED);
  // Children that take the parent's font follow.
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    for (TControl* c : w->FControls) {
      if (!c->FParentFont) continue;
      c->FUpdatingFont = true;
      c->FFont->Assign(*FFont);
      c->FUpdatingFont = false;
      c->FontChanged();
      c->Perform(CM_PARENTFONTCHANGED);
    }
  }
}

void TControl::ApplyFont() {
  if (!FWidget) return;
  FWidget->setFont(FFont->QtFont());
  QPalette pal = FWidget->palette();
  const QColor fc = ToQColor(FFont->Color());
  pal.setColor(QPalette::WindowText, fc);
  pal.setColor(QPalette::Text, fc);
  pal.setColor(QPalette::ButtonText, fc);
  FWidget->setPalette(pal);
  if (FColorSet) ApplyPalette();
}

void TControl::SetColor(TColor v) {
  FColorSet = true;
  FParentColor = false;
  if (v == FColor) {
    ApplyPalette();
    return;
  }
  FColor = v;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  FParentColor = v;
  if (v && FParent) {
    FColor = FParent->Color();
    FColorSet = true;
    FParentColor = true;
    ColorChanged();
  }
}

void TControl::ColorChanged() {
  ApplyPalette();
  Perform(CM_COLORCHANGED);
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    for (TControl* c : w->FControls) {
      if (!c->FParentColor) continue;
      c->FColor = FColor;
      c->FColorSet = true;
      c->ColorChanged();
      c->Perform(CM_PARENTCOLORCHANGED);
    }
  }
  Invalidate();
}

void TControl::ApplyPalette() {
  if (!FWidget || !FColorSet || FColor == clDefault || FColor == clNone) return;
  QPalette pal = FWidget->palette();
  const QColor c = ToQColor(FColor);
  if (ColorIsBase()) {
    pal.setColor(QPalette::Base, c);
  } else {
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Button, c);
  }
  FWidget->setPalette(pal);
}

void TControl::SetText(const QString& v) {
  if (v == GetText()) return;
  FText = v;
  TextChanged();
  Perform(CM_TEXTCHANGED);
}

void TControl::SetHint(const QString& v) {
  FHint = v;
  if (FWidget) FWidget->setToolTip(FShowHint ? FHint : QString());
}

void TControl::SetShowHint(bool v) {
  FShowHint = v;
  SetHint(FHint);
}

void TControl::SetPopupMenu(TPopupMenu* v) {
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = v;
  if (v) v->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetCursor(TCursor v) {
  FCursor = v;
  if (FWidget) {
    if (v == crDefault)
      FWidget->unsetCursor();
    else
      FWidget->setCursor(CursorShape(v));
  }
  Perform(CM_CURSORCHANGED);
}

bool TControl::MouseCapture() const { return g_capture == this; }

void TControl::SetMouseCapture(bool v) {
  // Between a press and its release Qt already sends every mouse event to the pressed widget; an explicit
  // grab is needed only for a capture taken with no button down.
  if (v) {
    if (g_capture && g_capture != this && g_grabbed && g_capture->FWidget) g_capture->FWidget->releaseMouse();
    g_capture = this;
    g_grabbed = false;
    if (FWidget && FWidget->isVisible() && QGuiApplication::mouseButtons() == Qt::NoButton &&
        QGuiApplication::platformName() != QStringLiteral("offscreen")) {
      FWidget->grabMouse();
      g_grabbed = true;
    }
  } else if (g_capture == this) {
    g_capture = nullptr;
    if (g_grabbed && FWidget) FWidget->releaseMouse();
    g_grabbed = false;
    Perform(WM_CAPTURECHANGED);
  }
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (FBridge) {
    // A message sent from code has no Qt event behind it.
    QEvent* saved = FBridge->FCurrent;
    const bool savedDone = FBridge->FBaseDone;
    FBridge->FCurrent = nullptr;
    WindowProc(m);
    FBridge->FCurrent = saved;
    FBridge->FBaseDone = savedDone;
  } else {
    WindowProc(m);
  }
  return m.Result;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_LBUTTONDOWN: DoMouseDownMsg(M, mbLeft, {}); return;
    case WM_RBUTTONDOWN: DoMouseDownMsg(M, mbRight, {}); return;
    case WM_MBUTTONDOWN: DoMouseDownMsg(M, mbMiddle, {}); return;
    case WM_LBUTTONDBLCLK:
      DefaultHandler(M);
      if (FControlState.Contains(csClicked)) FControlState.Exclude(csClicked);
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) DblClick();
      {
        TWMMouse mm(M);
        TShiftState s = KeysToShiftState(mm.Keys());
        s.Include(ssDouble);
        MouseDown(mbLeft, s, mm.XPos(), mm.YPos());
      }
      return;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      DefaultHandler(M);
      TWMMouse mm(M);
      TShiftState s = KeysToShiftState(mm.Keys());
      s.Include(ssDouble);
      MouseDown(M.Msg == WM_RBUTTONDBLCLK ? mbRight : mbMiddle, s, mm.XPos(), mm.YPos());
      return;
    }
    case WM_LBUTTONUP: DoMouseUpMsg(M, mbLeft); return;
    case WM_RBUTTONUP: DoMouseUpMsg(M, mbRight); return;
    case WM_MBUTTONUP: DoMouseUpMsg(M, mbMiddle); return;
    case WM_MOUSEMOVE: {
      DefaultHandler(M);
      TWMMouse mm(M);
      MouseMove(KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
      return;
    }
    case WM_MOUSEWHEEL: {
      TWMMouseWheel mw(M);
      TPoint p(mw.XPos(), mw.YPos());
      if (DoMouseWheel(KeysToShiftState(mw.Keys()), mw.WheelDelta(), p))
        M.Result = 1;
      else
        DefaultHandler(M);
      return;
    }
    case WM_CONTEXTMENU: {
      TPoint p(SignedLo(static_cast<std::uintptr_t>(M.LParam)), SignedHi(static_cast<std::uintptr_t>(M.LParam)));
      const bool keyboard = M.LParam == -1;
      if (keyboard) p = ClientToScreen(TPoint(FWidth / 2, FHeight / 2));
      bool handled = false;
      if (OnContextPopup) {
        OnContextPopup(this, ScreenToClient(p), handled);
        if (handled) {
          M.Result = 1;
          return;
        }
      }
      if (FPopupMenu && FPopupMenu->AutoPopup()) {
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(p.X, p.Y);
        M.Result = 1;
        return;
      }
      DefaultHandler(M);
      return;
    }
    case WM_SIZE:
      DefaultHandler(M);
      Resize();
      return;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      DefaultHandler(M);
      return;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      DefaultHandler(M);
      return;
    case WM_CANCELMODE:
      if (MouseCapture()) SetMouseCapture(false);
      DefaultHandler(M);
      return;
    default:
      DefaultHandler(M);
      return;
  }
}

void TControl::DoMouseDownMsg(TMessage& M, TMouseButton Button, TShiftState Extra) {
  DefaultHandler(M);
  TWMMouse mm(M);
  if (Button == mbLeft) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  }
  MouseDown(Button, KeysToShiftState(mm.Keys()) + Extra, mm.XPos(), mm.YPos());
}

void TControl::DoMouseUpMsg(TMessage& M, TMouseButton Button) {
  DefaultHandler(M);
  TWMMouse mm(M);
  if (Button == mbLeft) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
      FControlState.Exclude(csClicked);
      if (ClientRect().Contains(TPoint(mm.XPos(), mm.YPos()))) Click();
    }
  }
  MouseUp(Button, KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
}

void TControl::DefaultHandler(TMessage& Message) {
  if (FBridge) FBridge->RunDefault(Message);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Invalidate() {
  if (FWidget) FWidget->update();
}
void TControl::Update() {
  if (FWidget && FWidget->isVisible()) FWidget->repaint();
}
void TControl::Repaint() {
  if (FWidget && FWidget->isVisible()) FWidget->repaint();
}

void TControl::BringToFront() {
  if (FWidget) FWidget->raise();
  if (FParent) {
    auto& v = FParent->FControls;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    v.push_back(this);
  }
}

void TControl::SendToBack() {
  if (FWidget) FWidget->lower();
  if (FParent) {
    auto& v = FParent->FControls;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    v.insert(v.begin(), this);
  }
}

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* c = Control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// ---------------------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TWinControl(AOwner, detail::MakeHost<detail::THost<QWidget>>(this)) {
  Widget()->setFocusPolicy(Qt::TabFocus);
}

TWinControl::TWinControl(TComponent* AOwner, QWidget* Host) : TControl(AOwner, Host) { InitWinControl(); }

void TWinControl::InitWinControl() {
  FHandle = g_nextHandle++;
  HandleTable()[FHandle] = this;
  FControlStyle.Include(csAcceptsControls);
}

TWinControl::~TWinControl() {
  // Child controls go with their parent, as the framework does it.
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    delete c;  // removes itself from FControls
  }
  for (auto& [id, qid] : FTimers)
    if (Widget()) Widget()->killTimer(qid);
  FTimers.clear();
  HandleTable().erase(FHandle);
}

void TWinControl::InsertControl(TControl* c) {
  FControls.push_back(c);
  if (auto* w = dynamic_cast<TWinControl*>(c)) FTabList.push_back(w);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), 1);
}

void TWinControl::RemoveControl(TControl* c) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), c), FTabList.end());
  if (auto* f = GetParentForm(this)) f->ControlRemoved(c);
  Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::Broadcast(TMessage& Message) {
  const auto list = FControls;
  for (TControl* c : list) {
    c->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::SetTabStop(bool v) {
  FTabStop = v;
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& l = Parent()->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!Parent()) return;
  auto& l = Parent()->FTabList;
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
  if (v < 0) v = 0;
  if (v > static_cast<int>(l.size())) v = static_cast<int>(l.size());
  l.insert(l.begin() + v, this);
}

bool TWinControl::Focused() const {
  QWidget* f = QApplication::focusWidget();
  return f && Widget() && (f == Widget() || f->focusProxy() == Widget() || Widget()->focusProxy() == f);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return GetParentForm(this) != nullptr || Parent() == nullptr;
}

void TWinControl::SetFocus() {
  if (auto* f = GetParentForm(this)) {
    if (!f->Visible() && f != this) {
      // The form is not shown yet: the control becomes its active control and gets the focus on show.
      f->SetActiveControl(this);
      return;
    }
    if (f != this && QApplication::activeWindow() != f->Widget()) {
      f->Widget()->activateWindow();
      QApplication::setActiveWindow(f->Widget());
    }
  }
  if (Widget()) Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int n = static_cast<int>(list.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[i] == CurControl) start = i;
  if (start < 0) start = GoForward ? n - 1 : 0;
  int i = start;
  for (int k = 0; k < n; ++k) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[i];
    if (c == CurControl) break;
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this)) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* c = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) c->SetFocus();
}

void TWinControl::SetTimer(std::uintptr_t id, UINT Elapse) {
  if (!Widget()) return;
  KillTimer(id);
  FTimers[id] = Widget()->startTimer(static_cast<int>(Elapse));
}

bool TWinControl::KillTimer(std::uintptr_t id) {
  auto it = FTimers.find(id);
  if (it == FTimers.end()) return false;
  if (Widget()) Widget()->killTimer(it->second);
  FTimers.erase(it);
  return true;
}

void TWinControl::Realign() {
  if (FAligning) return;
  TRect r = ClientRect();
  AlignControls(nullptr, r);
}

void TWinControl::AlignControls(TControl* AControl, TRect& R) {
  (void)AControl;
  FAligning = true;
  auto place = [&](TAlign a) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->FAlign == a && c->FVisible) list.push_back(c);
    auto key = [a](TControl* c) {
      switch (a) {
        case alTop: return c->FTop;
        case alBottom: return -(c->FTop + c->FHeight);
        case alLeft: return c->FLeft;
        case alRight: return -(c->FLeft + c->FWidth);
        default: return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) { return key(x) < key(y); });
    for (TControl* c : list) {
      switch (a) {
        case alTop:
          c->SetBounds(R.Left, R.Top, R.Width(), c->FHeight);
          R.Top += c->FHeight;
          break;
        case alBottom:
          c->SetBounds(R.Left, R.Bottom - c->FHeight, R.Width(), c->FHeight);
          R.Bottom -= c->FHeight;
          break;
        case alLeft:
          c->SetBounds(R.Left, R.Top, c->FWidth, R.Height());
          R.Left += c->FWidth;
          break;
        case alRight:
          c->SetBounds(R.Right - c->FWidth, R.Top, c->FWidth, R.Height());
          R.Right -= c->FWidth;
          break;
        case alClient: c->SetBounds(R.Left, R.Top, R.Width(), R.Height()); break;
        default: break;
      }
    }
  };
  place(alTop);
  place(alBottom);
  place(alLeft);
  place(alRight);
  place(alClient);
  // Anchored controls keep their distances to the right and bottom edges.
  const TRect client = ClientRect();
  for (TControl* c : FControls) {
    if (c->FAlign != alNone || !c->FAnchorsKnown) continue;
    const TAnchors a = c->FAnchors;
    int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft))
        w = client.Width() - c->FAnchorRight - l;
      else
        l = client.Width() - c->FAnchorRight - w;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop))
        h = client.Height() - c->FAnchorBottom - t;
      else
        t = client.Height() - c->FAnchorBottom - h;
    }
    c->SetBounds(l, t, w, h);
  }
  FAligning = false;
}

void TWinControl::WndProc(TMessage& M) {
  // The form learns of the focus change first: it moves ActiveControl and sends CM_EXIT and CM_ENTER.
  if (M.Msg == WM_SETFOCUS) {
    TCustomForm* f = GetParentForm(this);
    if (f && f != this && !f->SetFocusedControl(this)) return;
  }
  TControl::WndProc(M);
}

void TWinControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(M)) DefaultHandler(M);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(M)) DefaultHandler(M);
      return;
    case WM_CHAR:
      if (!DoKeyPress(M)) DefaultHandler(M);
      return;
    case CM_CHILDKEY:
      if (Parent()) Parent()->WindowProc(M);
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(M);
      return;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case WM_SIZE:
      TControl::Dispatch(M);
      LayoutScrollBars();
      return;
    default:
      TControl::Dispatch(M);
      return;
  }
}

void TWinControl::DefaultHandler(TMessage& M) {
  if (M.Msg == WM_GETDLGCODE) {
    M.Result = DefaultDlgCode();
    return;
  }
  TControl::DefaultHandler(M);
}

bool TWinControl::DoKeyDown(TMessage& M) {
  TWMKey k(M);
  const TShiftState shift = KeyDataToShiftState(k.KeyData());
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(M)) return true;
  std::uint16_t key = k.CharCode();
  KeyDown(key, shift);
  k.SetCharCode(key);
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& M) {
  TWMKey k(M);
  const TShiftState shift = KeyDataToShiftState(k.KeyData());
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(M)) return true;
  std::uint16_t key = k.CharCode();
  KeyUp(key, shift);
  k.SetCharCode(key);
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& M) {
  TWMKey k(M);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(M)) return true;
  char16_t c = k.CharCode();
  KeyPress(c);
  k.SetCharCode(c);
  return c == 0;
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(char16_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------------------------------------------------
// TCustomControl and TGraphicControl

namespace {

// Paints through the control's Paint into a back buffer of the widget's size and puts it on the widget.
template <typename PaintFn>
void PaintBuffered(TControl* c, TCanvas* canvas, bool opaque, PaintFn paint) {
  QWidget* w = c->Widget();
  if (!w || w->width() <= 0 || w->height() <= 0) return;
  const qreal dpr = 1.0;
  QImage buffer(w->size(), QImage::Format_ARGB32_Premultiplied);
  buffer.setDevicePixelRatio(dpr);
  if (opaque)
    buffer.fill(ToQColor(c->Color()));
  else
    buffer.fill(Qt::transparent);
  canvas->SetDevice(&buffer);
  canvas->Font()->Assign(*c->Font());
  paint();
  canvas->SetDevice(nullptr);
  QPainter p(w);
  p.drawImage(0, 0, buffer);
}

}  // namespace

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  Widget()->setAttribute(Qt::WA_OpaquePaintEvent);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_PAINT) {
    PaintHandler(M);
    return;
  }
  TWinControl::Dispatch(M);
}

void TCustomControl::PaintHandler(TMessage& M) {
  (void)M;
  PaintBuffered(this, FCanvas.get(), true, [this] { Paint(); });
}

void TCustomControl::Paint() {}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  Widget()->setFocusPolicy(Qt::NoFocus);
  SetParentColor(true);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_PAINT) {
    PaintBuffered(this, FCanvas.get(), ControlStyle().Contains(csOpaque), [this] { Paint(); });
    return;
  }
  TControl::Dispatch(M);
}

void TGraphicControl::Paint() {}

// ---------------------------------------------------------------------------------------------------------
// Handle functions

TWinControl* FindControl(HWND Handle) {
  auto it = HandleTable().find(Handle);
  return it == HandleTable().end() ? nullptr : it->second;
}

TControl* FindControlOfWidget(const void* QtWidget) {
  for (auto* w = static_cast<QWidget*>(const_cast<void*>(QtWidget)); w; w = w->parentWidget()) {
    if (auto* b = dynamic_cast<detail::HostBridge*>(w))
      if (b->FControl) return b->FControl;
  }
  return nullptr;
}

HWND GetCapture() {
  auto* w = dynamic_cast<TWinControl*>(g_capture);
  return w ? w->Handle() : 0;
}

HWND SetCapture(HWND Handle) {
  const HWND old = GetCapture();
  if (TWinControl* c = FindControl(Handle)) c->SetMouseCapture(true);
  return old;
}

bool ReleaseCapture() {
  if (g_capture) g_capture->SetMouseCapture(false);
  return true;
}

}  // namespace plat
