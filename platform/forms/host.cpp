#include "platform/forms/host.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QTimerEvent>
#include <QWheelEvent>

#include "platform/forms/forms.h"
#include "platform/forms/msgqueue.h"

namespace plat {

void HandleExceptionInHost(TObject* Sender) {
  if (Application)
    Application->HandleException(Sender);
  else
    ShowExceptionFallback();
}

namespace detail {

namespace {

HWND g_lastFocusLost = 0;

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  WPARAM k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

void TrackModifiers(Qt::KeyboardModifiers mods) {
  SetKeyStateDown(VK_SHIFT, (mods & Qt::ShiftModifier) != 0);
  SetKeyStateDown(VK_CONTROL, (mods & Qt::ControlModifier) != 0);
  SetKeyStateDown(VK_MENU, (mods & Qt::AltModifier) != 0);
}

void TrackButtons(Qt::MouseButtons b) {
  SetKeyStateDown(VK_LBUTTON, (b & Qt::LeftButton) != 0);
  SetKeyStateDown(VK_RBUTTON, (b & Qt::RightButton) != 0);
  SetKeyStateDown(VK_MBUTTON, (b & Qt::MiddleButton) != 0);
}

}  // namespace

QEvent::Type PostedMessageEventType() {
  static const QEvent::Type t = static_cast<QEvent::Type>(QEvent::registerEventType());
  return t;
}

bool HostBridge::HandleEvent(QEvent* e) {
  QPointer<QWidget> alive(AsWidget());
  TControl* sender = FControl;
  try {
    return Dispatch(e);
  } catch (...) {
    // The control may be gone by now; the error box still needs a sender, which it only reads by name.
    HandleExceptionInHost(alive ? sender : nullptr);
    return true;
  }
}

bool HostBridge::HandleViewportEvent(QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
      return HandleEvent(e);
    default:
      return CallViewportBase(e);
  }
}

void HostBridge::Deliver(TMessage& m, QEvent* e) {
  QEvent* saved = FCurrent;
  const bool savedDone = FBaseDone;
  const bool savedResult = FBaseResult;
  FCurrent = e;
  FBaseDone = false;
  FBaseResult = false;
  FControl->WindowProc(m);
  FCurrent = saved;
  FBaseDone = savedDone;
  FBaseResult = savedResult;
}

void HostBridge::RunDefault(TMessage& m) {
  if (FCurrent == nullptr) {
    // A message sent or posted from code: keys and characters still get the widget's own handling.
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_CHAR) {
      const auto vk = static_cast<std::uint16_t>(m.WParam);
      const int key = m.Msg == WM_KEYDOWN ? VKToQtKey(vk) : 0;
      QString text;
      if (m.Msg == WM_CHAR) text = QString(QChar(static_cast<char16_t>(m.WParam)));
      if (m.Msg == WM_KEYDOWN && !TextOfVK(vk, false).isEmpty()) return;  // the WM_CHAR types it
      QKeyEvent ke(QEvent::KeyPress, key, Qt::NoModifier, text);
      CallBase(&ke);
    }
    return;
  }
  if (FBaseDone) return;
  if (FCurrent->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(FCurrent);
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
      if (FDeferKeyDefault) return;  // the character message runs Qt's handling of a typing key
    } else if (m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR) {
      const char16_t original = CharFromKeyEvent(*ke);
      const auto now = static_cast<char16_t>(m.WParam);
      if (now != original) {
        // A handler replaced the character: the widget sees the new one.
        FBaseDone = true;
        QKeyEvent replaced(QEvent::KeyPress, 0, ke->modifiers() & ~Qt::ControlModifier, QString(QChar(now)));
        FBaseResult = CallBase(&replaced);
        return;
      }
    } else {
      return;
    }
  }
  FBaseDone = true;
  FBaseResult = FInViewport ? CallViewportBase(FCurrent) : CallBase(FCurrent);
}

void HostBridge::MouseMessage(QEvent* e, const QPoint& pos) {
  auto* me = static_cast<QMouseEvent*>(e);
  TrackButtons(me->buttons());
  TrackModifiers(me->modifiers());
  UINT msg = 0;
  const bool dbl = e->type() == QEvent::MouseButtonDblClick &&
                   FControl->ControlStyle().Contains(csDoubleClicks);
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      switch (me->button()) {
        case Qt::LeftButton: msg = dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN; break;
        case Qt::RightButton: msg = dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN; break;
        case Qt::MiddleButton: msg = dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN; break;
        default: break;
      }
      break;
    case QEvent::MouseButtonRelease:
      switch (me->button()) {
        case Qt::LeftButton: msg = WM_LBUTTONUP; break;
        case Qt::RightButton: msg = WM_RBUTTONUP; break;
        case Qt::MiddleButton: msg = WM_MBUTTONUP; break;
        default: break;
      }
      break;
    case QEvent::MouseMove: msg = WM_MOUSEMOVE; break;
    default: break;
  }
  if (msg == 0) {
    FInViewport ? CallViewportBase(e) : CallBase(e);
    return;
  }
  TMessage m{msg, MouseKeys(me->buttons(), me->modifiers()), MakeLParam(pos.x(), pos.y()), 0};
  Deliver(m, e);
  e->accept();  // a click on a control never goes on to its parent
}

void HostBridge::KeyPressRoad(QKeyEvent* e) {
  // Keys never travel on to the parent window, whatever the widget's own handling said.
  struct AcceptAtEnd {
    QEvent* e;
    ~AcceptAtEnd() { e->accept(); }
  } acceptAtEnd{e};
  QPointer<QWidget> alive(AsWidget());
  auto* wc = dynamic_cast<TWinControl*>(FControl);
  const std::uint16_t vk = VKFromKeyEvent(*e);
  TrackModifiers(e->modifiers());
  if (vk) SetKeyStateDown(vk, true);  // after the modifiers: a modifier key's press counts even if unflagged
  const LPARAM kd = KeyDataFromKeyEvent(*e, false);
  e->accept();
  if (wc && vk) {
    if (wc->Perform(CM_CHILDKEY, vk, reinterpret_cast<LPARAM>(wc)) != 0) return;
    if (!alive || !FControl) return;
    LRESULT mask = 0;
    switch (vk) {
      case VK_TAB: mask = DLGC_WANTTAB; break;
      case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
      case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
      default: break;
    }
    if (mask != 0 && wc->Perform(CM_WANTSPECIALKEY, vk, kd) == 0 && (wc->Perform(WM_GETDLGCODE) & mask) == 0) {
      TCustomForm* form = GetParentForm(wc);
      if (form && form->Perform(CM_DIALOGKEY, vk, kd) != 0) return;  // handled: no key-down, no character
    }
    if (!alive || !FControl) return;
  }
  const char16_t ch = CharFromKeyEvent(*e);
  const bool alt = (e->modifiers() & Qt::AltModifier) != 0;
  if (vk) {
    TMessage down{alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, kd, 0};
    FDeferKeyDefault = ch != 0;
    Deliver(down, e);
    FDeferKeyDefault = false;
    if (!alive || !FControl) return;
  }
  if (ch) {
    TMessage chm{alt ? WM_SYSCHAR : WM_CHAR, ch, kd, 0};
    Deliver(chm, e);
  } else if (!vk) {
    CallBase(e);  // keys without a virtual key (dead keys, input methods) stay Qt's
  }
}

bool HostBridge::Dispatch(QEvent* e) {
  QWidget* w = AsWidget();
  const QEvent::Type t = e->type();
  if (t == PostedMessageEventType()) {
    TMessage m = static_cast<PostedMessageEvent*>(e)->Message;
    if (m.Msg == WM_KEYDOWN) {
      // A posted key-down is a key press: dialog keys, key-down and the character it types.
      const auto vk = static_cast<std::uint16_t>(m.WParam);
      const bool shift = GetKeyState(VK_SHIFT) < 0;
      Qt::KeyboardModifiers mods;
      if (shift) mods |= Qt::ShiftModifier;
      if (GetKeyState(VK_CONTROL) < 0) mods |= Qt::ControlModifier;
      QKeyEvent ke(QEvent::KeyPress, VKToQtKey(vk), mods, TextOfVK(vk, shift));
      KeyPressRoad(&ke);
    } else {
      Deliver(m, nullptr);
    }
    return true;
  }
  switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(e);
      QPoint pos = me->position().toPoint();
      if (FInViewport) {
        if (auto* sa = dynamic_cast<QAbstractScrollArea*>(w)) pos = sa->viewport()->mapTo(w, pos);
      }
      MouseMessage(e, pos);
      return true;
    }
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(e);
      const QPoint g = we->globalPosition().toPoint();
      TMessage m{WM_MOUSEWHEEL, MakeWParam(static_cast<int>(MouseKeys(we->buttons(), we->modifiers())), we->angleDelta().y()),
                 MakeLParam(g.x(), g.y()), 0};
      Deliver(m, e);
      if (m.Result != 0) e->accept();
      return m.Result != 0 || FBaseResult;
    }
    case QEvent::KeyPress:
      KeyPressRoad(static_cast<QKeyEvent*>(e));
      return true;
    case QEvent::KeyRelease: {
      auto* ke = static_cast<QKeyEvent*>(e);
      if (ke->isAutoRepeat()) return true;  // a held key repeats its key-down only
      const std::uint16_t vk = VKFromKeyEvent(*ke);
      TrackModifiers(ke->modifiers());
      if (vk) SetKeyStateDown(vk, false);  // a modifier's own release may still carry its flag
      if (vk) {
        const bool alt = (ke->modifiers() & Qt::AltModifier) != 0;
        TMessage m{alt ? WM_SYSKEYUP : WM_KEYUP, vk, KeyDataFromKeyEvent(*ke, true), 0};
        Deliver(m, e);
      } else {
        CallBase(e);
      }
      e->accept();  // keys never travel on to the parent window
      return true;
    }
    case QEvent::FocusIn: {
      auto* fe = static_cast<QFocusEvent*>(e);
      auto* wc = dynamic_cast<TWinControl*>(FControl);
      if (!wc || fe->reason() == Qt::PopupFocusReason) return CallBase(e);
      HWND prev = g_lastFocusLost;
      if (prev == wc->Handle() || FindControl(prev) == nullptr) prev = 0;
      TMessage m{WM_SETFOCUS, prev, 0, 0};
      Deliver(m, e);
      return true;
    }
    case QEvent::FocusOut: {
      auto* fe = static_cast<QFocusEvent*>(e);
      auto* wc = dynamic_cast<TWinControl*>(FControl);
      if (!wc || fe->reason() == Qt::PopupFocusReason) return CallBase(e);
      auto* next = dynamic_cast<TWinControl*>(FindControlOfWidget(QApplication::focusWidget()));
      g_lastFocusLost = wc->Handle();
      TMessage m{WM_KILLFOCUS, next && next != wc ? next->Handle() : 0, 0, 0};
      Deliver(m, e);
      return true;
    }
    case QEvent::ApplicationPaletteChange:
    case QEvent::PaletteChange: {
      // The colours changed (the application's palette reaches each window as a palette change): controls
      // that keep pictures in the system colours make them again.
      const bool r = CallBase(e);
      TMessage m{CM_SYSCOLORCHANGE, 0, 0, 0};
      Deliver(m, nullptr);
      return r;
    }
    case QEvent::Paint: {
      TMessage m{WM_PAINT, 0, 0, 0};
      Deliver(m, e);
      return true;
    }
    case QEvent::Resize: {
      const bool r = CallBase(e);
      ControlAccess::AdoptGeometry(FControl, w->geometry(), false, true);
      ControlAccess::NotifySized(FControl);
      return r;
    }
    case QEvent::Move: {
      const bool r = CallBase(e);
      ControlAccess::AdoptGeometry(FControl, w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry(), true,
                                   false);
      return r;
    }
    case QEvent::Timer: {
      auto* te = static_cast<QTimerEvent*>(e);
      if (auto* wc = dynamic_cast<TWinControl*>(FControl)) {
        for (const auto& [id, qid] : wc->FTimers) {
          if (qid == te->timerId()) {
            TMessage m{WM_TIMER, id, 0, 0};
            Deliver(m, nullptr);
            return true;
          }
        }
      }
      return CallBase(e);
    }
    case QEvent::ToolTip: {
      // The mouse rests: the control may show a hint of its own (a non-zero result), else Qt shows its tooltip.
      auto* he = static_cast<QHelpEvent*>(e);
      QPoint pos = he->pos();
      if (FInViewport) {
        if (auto* sa = dynamic_cast<QAbstractScrollArea*>(w)) pos = sa->viewport()->mapTo(w, pos);
      }
      TMessage m{CM_HINTSHOW, 0, MakeLParam(pos.x(), pos.y()), 0};
      Deliver(m, e);
      if (m.Result != 0) {
        e->accept();
        return true;
      }
      return FInViewport ? CallViewportBase(e) : CallBase(e);
    }
    case QEvent::Enter: {
      TMessage m{CM_MOUSEENTER, 0, 0, 0};
      Deliver(m, e);
      return true;
    }
    case QEvent::Leave: {
      TMessage m{CM_MOUSELEAVE, 0, 0, 0};
      Deliver(m, e);
      return true;
    }
    case QEvent::ContextMenu: {
      auto* ce = static_cast<QContextMenuEvent*>(e);
      const LPARAM lp = ce->reason() == QContextMenuEvent::Keyboard
                            ? LPARAM(-1)
                            : MakeLParam(ce->globalPos().x(), ce->globalPos().y());
      TMessage m{WM_CONTEXTMENU, 0, lp, 0};
      Deliver(m, e);
      if (m.Result != 0) {
        e->accept();
        return true;
      }
      return FBaseResult;
    }
    case QEvent::Close: {
      TMessage m{WM_CLOSE, 0, 0, 0};
      Deliver(m, nullptr);
      e->ignore();  // the form hides itself (or not) as its close rules say
      return true;
    }
    case QEvent::WindowActivate: {
      const bool r = CallBase(e);
      TMessage m{CM_ACTIVATE, 0, 0, 0};
      Deliver(m, nullptr);
      return r;
    }
    case QEvent::WindowDeactivate: {
      const bool r = CallBase(e);
      TMessage m{CM_DEACTIVATE, 0, 0, 0};
      Deliver(m, nullptr);
      return r;
    }
    default:
      return CallBase(e);
  }
}

}  // namespace detail

bool PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* c = FindControl(Handle);
  if (!c || !c->Widget()) return false;
  QCoreApplication::postEvent(c->Widget(), new detail::PostedMessageEvent(TMessage{Msg, WParam, LParam, 0}));
  return true;
}

UINT RegisterWindowMessage(const QString& Name) {
  // Names compare without regard to case, as atom names do.
  static std::map<QString, UINT> table;
  const QString key = Name.toUpper();
  auto it = table.find(key);
  if (it != table.end()) return it->second;
  const UINT id = 0xC000 + static_cast<UINT>(table.size());
  table.emplace(key, id);
  return id;
}

}  // namespace plat
