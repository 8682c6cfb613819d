#include "platform/forms/popupform.h"

#include "platform/forms/msgqueue.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace plat {

namespace {

void MakePopupWindow(QWidget* w) {
  if (!w) return;
  const bool wasVisible = w->isVisible();
  w->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
  w->setMinimumSize(0, 0);
  w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (wasVisible) w->show();
}

}  // namespace

TPopupForm::TPopupForm(TComponent* AOwner) : TCustomForm(AOwner) {
  TCustomForm::SetBorderStyle(bsNone);
  MakePopupWindow(Widget());
}

void TPopupForm::Dispatch(TMessage& M) {
  if (M.Msg != WM_CLOSE) {
    TCustomForm::Dispatch(M);
    return;
  }
  // Only the window system closes a popup (code hides it): a click outside or another window's activation.
  if (!Visible()) return;
  HWND other = 0;
  if (QWidget* under = QApplication::widgetAt(QCursor::pos())) {
    if (auto* wc = dynamic_cast<TWinControl*>(FindControlOfWidget(under))) other = wc->Handle();
  }
  Perform(WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(other));
}

}  // namespace plat
