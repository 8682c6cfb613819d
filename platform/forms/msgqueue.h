// Window-handle functions: finding a control by its handle, sending and posting messages, registered
// messages, timers, focus, capture and scroll bars addressed by handle.
#pragma once

#include <QString>

#include "platform/forms/messages.h"

namespace plat {

class TWinControl;
class TControl;

// The windowed control with this handle, or nullptr (also for a destroyed control's old handle).
TWinControl* FindControl(HWND Handle);
// The control that hosts the given Qt widget or one of its inner widgets, or nullptr.
TControl* FindControlOfWidget(const void* QtWidget);

LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Queues the message for the control; it is delivered through the control's WindowProc by the event loop
// (or Application->ProcessMessages). A posted WM_KEYDOWN is handled like a key typed on the keyboard:
// dialog keys first, then WM_KEYDOWN and the WM_CHAR it produces. Returns false for an unknown handle.
bool PostMessage(HWND Handle, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// The same name always gives the same number, from 0xC000 upwards.
UINT RegisterWindowMessage(const QString& Name);

std::uintptr_t SetTimer(HWND Handle, std::uintptr_t IDEvent, UINT Elapse);
bool KillTimer(HWND Handle, std::uintptr_t IDEvent);

HWND GetFocus();
HWND SetFocus(HWND Handle);  // returns the handle that had the focus
HWND GetCapture();
HWND SetCapture(HWND Handle);
bool ReleaseCapture();

int SetScrollInfo(HWND Handle, int Bar, const TScrollInfo& Info, bool Redraw = true);
bool GetScrollInfo(HWND Handle, int Bar, TScrollInfo& Info);
int SetScrollPos(HWND Handle, int Bar, int Pos, bool Redraw = true);
int GetScrollPos(HWND Handle, int Bar);
bool ShowScrollBar(HWND Handle, int Bar, bool Show);

bool InvalidateRect(HWND Handle);
bool UpdateWindow(HWND Handle);

}  // namespace plat
