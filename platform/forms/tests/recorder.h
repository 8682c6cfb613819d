// Test helpers: a custom control and a hook that record the messages and events a control sees.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "platform/forms/controls.h"
#include "platform/forms/forms.h"

namespace plat::testing {

inline QString MsgName(UINT m) {
  switch (m) {
    case WM_LBUTTONDOWN: return "LDOWN";
    case WM_LBUTTONUP: return "LUP";
    case WM_LBUTTONDBLCLK: return "LDBL";
    case WM_RBUTTONDOWN: return "RDOWN";
    case WM_RBUTTONUP: return "RUP";
    case WM_KEYDOWN: return "KEYDOWN";
    case WM_KEYUP: return "KEYUP";
    case WM_CHAR: return "CHAR";
    case WM_SYSKEYDOWN: return "SYSKEYDOWN";
    case WM_SETFOCUS: return "SETFOCUS";
    case WM_KILLFOCUS: return "KILLFOCUS";
    case CM_ENTER: return "CM_ENTER";
    case CM_EXIT: return "CM_EXIT";
    case WM_TIMER: return "TIMER";
    case WM_HSCROLL: return "HSCROLL";
    case WM_VSCROLL: return "VSCROLL";
    case CM_DIALOGKEY: return "DIALOGKEY";
    default: return QString();
  }
}

// Wraps a control's WindowProc and writes the messages of interest to a log ("NAME:MSG" or with a value).
class MessageLog {
 public:
  void Watch(TControl* c, bool withParam = false) {
    auto prev = c->WindowProc;
    c->WindowProc = [this, c, prev, withParam](TMessage& m) {
      const QString n = MsgName(m.Msg);
      if (!n.isEmpty()) {
        QString e = c->Name() + ":" + n;
        if (withParam) e += "(" + QString::number(m.WParam) + ")";
        Lines << e;
      }
      prev(m);
    };
  }
  QStringList Lines;
};

// A plain custom control that logs its events.
class TLoggingControl : public TCustomControl {
 public:
  TLoggingControl(TComponent* owner, QStringList* log) : TCustomControl(owner), FLog(log) {
    OnClick = [this](TObject*) { FLog->append(Name() + ":OnClick"); };
    OnDblClick = [this](TObject*) { FLog->append(Name() + ":OnDblClick"); };
    OnMouseDown = [this](TObject*, TMouseButton, TShiftState s, int, int) {
      FLog->append(Name() + (s.Contains(ssDouble) ? ":OnMouseDown(double)" : ":OnMouseDown"));
    };
    OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { FLog->append(Name() + ":OnMouseUp"); };
    OnKeyDown = [this](TObject*, std::uint16_t& k, TShiftState) {
      FLog->append(Name() + ":OnKeyDown(" + QString::number(k) + ")");
    };
    OnKeyPress = [this](TObject*, char16_t& k) { FLog->append(Name() + ":OnKeyPress(" + QString::number(k) + ")"); };
    OnKeyUp = [this](TObject*, std::uint16_t& k, TShiftState) {
      FLog->append(Name() + ":OnKeyUp(" + QString::number(k) + ")");
    };
    OnEnter = [this](TObject*) { FLog->append(Name() + ":OnEnter"); };
    OnExit = [this](TObject*) { FLog->append(Name() + ":OnExit"); };
    SetTabStop(true);
  }
  LRESULT DlgCode = 0;

 protected:
  LRESULT DefaultDlgCode() const override { return DlgCode; }

 private:
  QStringList* FLog;
};

// A shown, active form for input tests.
inline void ShowActive(TCustomForm* f) {
  f->Show();
  QApplication::setActiveWindow(f->Widget());
  QApplication::processEvents();
}

}  // namespace plat::testing

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
