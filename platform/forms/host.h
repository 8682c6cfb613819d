// Internal to platform/forms: the Qt widgets that host controls. Not for use outside this folder.
#pragma once

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <type_traits>
#include <utility>

#include "platform/forms/controls.h"

class QKeyEvent;

namespace plat {

void HandleExceptionInHost(TObject* Sender);  // Application->HandleException with a fallback

namespace detail {

// Runs f; an exception never leaves it: it goes to the application's error box.
template <typename F>
void Guarded(TObject* sender, F&& f) {
  try {
    std::forward<F>(f)();
  } catch (...) {
    HandleExceptionInHost(sender);
  }
}

// Event type of posted messages.
QEvent::Type PostedMessageEventType();

class PostedMessageEvent : public QEvent {
 public:
  explicit PostedMessageEvent(const TMessage& m) : QEvent(PostedMessageEventType()), Message(m) {}
  TMessage Message;
};

// The part of a host that does not depend on the Qt base class.
class HostBridge {
 public:
  explicit HostBridge(TControl* c) : FControl(c) {}
  virtual ~HostBridge() = default;
  virtual QWidget* AsWidget() = 0;
  virtual bool CallBase(QEvent* e) = 0;  // the Qt widget's own handling
  virtual bool CallViewportBase(QEvent* e) { return CallBase(e); }

  bool HandleEvent(QEvent* e);            // entry from event(): never lets an exception through
  bool HandleViewportEvent(QEvent* e);    // scroll-area viewports: mouse and context menu

  // Delivers m through the control's WindowProc while e is the event DefaultHandler falls back to.
  void Deliver(TMessage& m, QEvent* e);
  // Runs Qt's handling of the current event once (DefaultHandler of message m).
  void RunDefault(TMessage& m);
  // Runs the key-press road: dialog keys, WM_KEYDOWN, WM_CHAR.
  void KeyPressRoad(QKeyEvent* e);

  TControl* FControl;
  QEvent* FCurrent = nullptr;
  bool FBaseDone = false;
  bool FBaseResult = false;
  bool FDeferKeyDefault = false;  // Qt handling of a typing key waits for WM_CHAR
  bool FInViewport = false;

 private:
  bool Dispatch(QEvent* e);
  void MouseMessage(QEvent* e, const QPoint& pos);
};

template <class Base>
class THost : public Base, public HostBridge {
 public:
  template <typename... A>
  explicit THost(TControl* c, A&&... args) : Base(std::forward<A>(args)...), HostBridge(c) {}
  QWidget* AsWidget() override { return this; }
  bool CallBase(QEvent* e) override { return Base::event(e); }

 protected:
  bool event(QEvent* e) override {
    if (FControl == nullptr) return Base::event(e);
    return HandleEvent(e);
  }
  // The control decides where Tab goes (dialog keys), not Qt's focus chain.
  bool focusNextPrevChild(bool) override { return false; }
};

// Hosts over scroll areas (lists, trees, multi-line edits): their mouse events arrive at the viewport.
template <class Base>
class TScrollAreaHost : public THost<Base> {
 public:
  using THost<Base>::THost;

 protected:
  bool viewportEvent(QEvent* e) override {
    if (this->FControl == nullptr) return Base::viewportEvent(e);
    this->FInViewport = true;
    const bool r = this->HandleViewportEvent(e);
    this->FInViewport = false;
    return r;
  }

 public:
  bool CallViewportBase(QEvent* e) override { return Base::viewportEvent(e); }
};

// Access for the hosts and the standard controls to the controls' private state.
class ControlAccess {
 public:
  static HostBridge* Bridge(TControl* c) { return c->FBridge; }
  static void AdoptGeometry(TControl* c, const QRect& r, bool move, bool resize);
  static void Detach(TControl* c);
  static void NotifySized(TControl* c) { c->NotifySized(); }
};

template <class W, typename... A>
W* MakeHost(TControl* c, A&&... args) {
  return new W(c, std::forward<A>(args)...);
}

}  // namespace detail
}  // namespace plat
