// The handle functions that reach a window through its handle: messages, timers, focus, scroll bars and
// repainting. A handle no window owns (any more) makes each of them do nothing and answer so.

#include <QApplication>

#include "platform/forms/controls.h"
#include "platform/forms/msgqueue.h"

namespace plat {

LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* c = FindControl(Handle);
  return c ? c->Perform(Msg, WParam, LParam) : 0;
}

std::uintptr_t SetTimer(HWND Handle, std::uintptr_t IDEvent, UINT Elapse) {
  TWinControl* c = FindControl(Handle);
  if (!c) return 0;
  c->SetTimer(IDEvent, Elapse);
  return IDEvent;
}

bool KillTimer(HWND Handle, std::uintptr_t IDEvent) {
  TWinControl* c = FindControl(Handle);
  return c && c->KillTimer(IDEvent);
}

HWND GetFocus() {
  auto* c = dynamic_cast<TWinControl*>(FindControlOfWidget(QApplication::focusWidget()));
  return c ? c->Handle() : 0;
}

HWND SetFocus(HWND Handle) {
  const HWND old = GetFocus();
  if (TWinControl* c = FindControl(Handle)) c->SetFocus();
  return old;
}

int SetScrollInfo(HWND Handle, int Bar, const TScrollInfo& Info, bool Redraw) {
  TWinControl* c = FindControl(Handle);
  return c ? c->SetScrollInfo(Bar, Info, Redraw) : 0;
}
bool GetScrollInfo(HWND Handle, int Bar, TScrollInfo& Info) {
  TWinControl* c = FindControl(Handle);
  return c && c->GetScrollInfo(Bar, Info);
}
int SetScrollPos(HWND Handle, int Bar, int Pos, bool Redraw) {
  TWinControl* c = FindControl(Handle);
  return c ? c->SetScrollPos(Bar, Pos, Redraw) : 0;
}
int GetScrollPos(HWND Handle, int Bar) {
  TWinControl* c = FindControl(Handle);
  return c ? c->GetScrollPos(Bar) : 0;
}
bool ShowScrollBar(HWND Handle, int Bar, bool Show) {
  TWinControl* c = FindControl(Handle);
  if (!c) return false;
  c->ShowScrollBar(Bar, Show);
  return true;
}
bool InvalidateRect(HWND Handle) {
  TWinControl* c = FindControl(Handle);
  if (!c) return false;
  c->Invalidate();
  return true;
}
bool UpdateWindow(HWND Handle) {
  TWinControl* c = FindControl(Handle);
  if (!c) return false;
  c->Update();
  return true;
}

}  // namespace plat
