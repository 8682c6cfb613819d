#include "platform/forms/forms.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "platform/forms/host.h"
#include "platform/rtl/exceptions.h"

namespace plat {

Qt::CursorShape CursorToQt(TCursor c);

// Never deleted: forms owned by the application may still hold widgets when the process ends.
TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

QString ExceptionMessage(const std::exception& E) {
  if (auto* pe = dynamic_cast<const Exception*>(&E)) return pe->Message();
  return QString::fromUtf8(E.what());
}

void ShowExceptionFallback() {
  TMessageBoxRequest r;
  r.Type = mtError;
  try {
    throw;
  } catch (const std::exception& e) {
    r.Text = ExceptionMessage(e);
  } catch (...) {
    r.Text = QStringLiteral("Unknown exception");
  }
  ShowMessageBox(r);
}

// ---------------------------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  QWidget* w = Widget();
  w->setWindowFlag(Qt::Window, true);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->setAutoFillBackground(true);
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  ApplyWindowFlags();
  Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
  if (!FDestroyed) {
    FDestroyed = true;
    try {
      if (OnDestroy) OnDestroy(this);
    } catch (...) {
      HandleExceptionInHost(this);
    }
  }
  if (FModalLoop) FModalLoop->exit(0);
  auto& v = Screen->FForms;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
}

void TCustomForm::AfterConstruction() {
  if (FCreated) return;
  FCreated = true;
  DoCreate();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::TextChanged() {
  if (Widget()) Widget()->setWindowTitle(FText);
}

void TCustomForm::ApplyWindowFlags() {
  QWidget* w = Widget();
  if (!w) return;
  const bool wasVisible = w->isVisible();
  Qt::WindowFlags f = Qt::Window;
  switch (FBorderStyle) {
    case bsNone: f |= Qt::FramelessWindowHint; break;
    case bsDialog: f = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint; break;
    case bsToolWindow:
    case bsSizeToolWin: f = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint; break;
    default:
      f |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
      if (FBorderIcons.Contains(biSystemMenu)) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (FBorderIcons.Contains(biMinimize)) f |= Qt::WindowMinimizeButtonHint;
      if (FBorderIcons.Contains(biMaximize) && FBorderStyle == bsSizeable) f |= Qt::WindowMaximizeButtonHint;
      break;
  }
  if (FFormStyle == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
  w->setWindowFlags(f);
  const bool fixed = FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow ||
                     FBorderStyle == bsNone;
  if (fixed)
    w->setFixedSize(Width(), Height());
  else {
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  if (wasVisible) w->show();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  FBorderStyle = v;
  ApplyWindowFlags();
}
void TCustomForm::SetBorderIcons(TBorderIcons v) {
  FBorderIcons = v;
  ApplyWindowFlags();
}
void TCustomForm::SetFormStyle(TFormStyle v) {
  FFormStyle = v;
  ApplyWindowFlags();
}

void TCustomForm::PlaceOnFirstShow() {
  if (FPlaced) return;
  FPlaced = true;
  QWidget* w = Widget();
  QRect area;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
      if (QScreen* s = QGuiApplication::primaryScreen()) area = s->availableGeometry();
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* ref = nullptr;
      if (FPosition == poOwnerFormCenter) ref = dynamic_cast<TCustomForm*>(Owner());
      if (!ref && Application) ref = Application->MainForm();
      if (ref && ref != this && ref->Widget())
        area = QRect(ref->Widget()->pos(), ref->Widget()->size());
      else if (QScreen* s = QGuiApplication::primaryScreen())
        area = s->availableGeometry();
      break;
    }
    default: break;
  }
  if (area.isValid()) {
    SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(),
              Height());
  }
  (void)w;
}

void TCustomForm::FocusFirstControl() {
  TWinControl* c = FActiveControl;
  if (!c || !c->CanFocus()) c = FindNextControl(nullptr, true, true, false);
  if (!c) return;
  c->SetFocus();
  // Qt may have focused it already when the window became active.
  if (c->Focused()) SetFocusedControl(c);
}

void TCustomForm::VisibleChanged() {
  QWidget* w = Widget();
  if (!w) return;
  if (Visible()) {
    DoShow();
    if (!Visible()) return;  // OnShow hid the form again
    PlaceOnFirstShow();
    const bool fixed = FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow ||
                       FBorderStyle == bsNone;
    if (fixed) w->setFixedSize(Width(), Height());
    w->show();
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) w->raise();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    FocusFirstControl();
  } else {
    w->hide();
    DoHide();
  }
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || FModalLoop) throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
  QPointer<QWidget> alive(Widget());
  if (Application && !Application->Running()) Application->FTerminated = false;
  FModalResult = mrNone;
  Widget()->setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  FModalLoop = &loop;
  Show();
  for (;;) {
    if (FModalResult == mrNone && !(Application && Application->Terminated())) loop.exec(QEventLoop::DialogExec);
    if (!alive) return mrCancel;
    if (Application && Application->Terminated()) FModalResult = mrCancel;
    if (FModalResult != mrNone) {
      CloseModal();
      if (FModalResult != mrNone || (Application && Application->Terminated())) break;
    }
  }
  FModalLoop = nullptr;
  Hide();
  if (Widget()) Widget()->setWindowModality(Qt::NonModal);
  return FModalResult;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone) FModalResult = mrNone;
  if (action == caFree) Release();
}

void TCustomForm::SetModalResult(TModalResult v) {
  FModalResult = v;
  if (FModalLoop && v != mrNone) FModalLoop->exit(0);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModalLoop) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    Hide();
  } else if (action == caHide || action == caMinimize) {
    Hide();
  } else {
    Hide();
    Release();
  }
}

void TCustomForm::Release() {
  QPointer<QWidget> alive(Widget());
  TCustomForm* self = this;
  QTimer::singleShot(0, qApp, [alive, self] {
    if (alive) delete self;
  });
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  if (c && !ContainsControl(c)) throw EInvalidOperation(QStringLiteral("Invalid active control"));
  if (Visible() && c && Widget() && Widget()->isVisible()) {
    c->SetFocus();
  } else {
    FActiveControl = c;
  }
}

bool TCustomForm::SetFocusedControl(TWinControl* c) {
  if (c == FActiveControl) return true;
  TWinControl* old = FActiveControl;
  FActiveControl = c;
  // Exit the old control and its containers up to the common parent, then enter the new chain downwards.
  if (old) {
    for (TWinControl* p = old; p && p != this && !(c && p->ContainsControl(c)); p = p->Parent())
      p->Perform(CM_EXIT);
  }
  if (c) {
    std::vector<TWinControl*> chain;
    for (TWinControl* p = c; p && p != this && !(old && p->ContainsControl(old)); p = p->Parent())
      chain.push_back(p);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->Perform(CM_ENTER);
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(c));
  return true;
}

void TCustomForm::ControlRemoved(TControl* c) {
  if (FActiveControl && (FActiveControl == c || (dynamic_cast<TWinControl*>(c) &&
                                                 static_cast<TWinControl*>(c)->ContainsControl(FActiveControl))))
    FActiveControl = nullptr;
}

void TCustomForm::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_DIALOGKEY:
      if (GetKeyState(VK_MENU) >= 0) {
        switch (M.WParam) {
          case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
              SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
              M.Result = 1;
              return;
            }
            break;
          case VK_LEFT:
          case VK_RIGHT:
          case VK_UP:
          case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
              FActiveControl->Parent()->SelectNext(FActiveControl, M.WParam == VK_RIGHT || M.WParam == VK_DOWN,
                                                   false);
              M.Result = 1;
            }
            return;
          default: break;
        }
      }
      TWinControl::Dispatch(M);
      return;
    case CM_ACTIVATE:
      if (OnActivate) OnActivate(this);
      return;
    case CM_DEACTIVATE:
      if (OnDeactivate) OnDeactivate(this);
      return;
    default:
      TWinControl::Dispatch(M);
      return;
  }
}

// ---------------------------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}
TApplication::~TApplication() = default;

void TApplication::FormCreated(TCustomForm* f) {
  if (!FMainForm) FMainForm = f;
  f->AfterConstruction();
}

void TApplication::Run() {
  FRunning = true;
  if (FMainForm) FMainForm->Show();
  if (!FTerminated) QCoreApplication::exec();
  FRunning = false;
}

void TApplication::Terminate() {
  FTerminated = true;
  for (TCustomForm* f : Screen->FForms)
    if (f->FModalLoop) f->FModalLoop->exit(0);
  if (FRunning) QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr ep = std::current_exception();
  if (!ep) return;
  try {
    std::rethrow_exception(ep);
  } catch (const std::exception& e) {
    HandleException(Sender, e);
  } catch (...) {
    HandleException(Sender, Exception(QStringLiteral("Unknown exception")));
  }
}

void TApplication::HandleException(TObject* Sender, const std::exception& E) {
  if (OnException)
    OnException(Sender, E);
  else
    ShowException(E);
}

void TApplication::ShowException(const std::exception& E) {
  QString msg = ExceptionMessage(E);
  if (!msg.isEmpty() && msg.back().isLetterOrNumber()) msg += u'.';
  MessageBox(msg, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const QString& Text, const QString& Caption, UINT Flags) {
  return MessageBoxFlags(Text, Caption.isEmpty() ? FTitle : Caption, Flags);
}

QString TApplication::ExeName() const { return QCoreApplication::applicationFilePath(); }

// ---------------------------------------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

int TScreen::Width() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 0;
}

void TScreen::SetCursor(TCursor v) {
  if (v == FCursor) return;
  if (FCursor != crDefault) QGuiApplication::restoreOverrideCursor();
  FCursor = v;
  if (v != crDefault) QGuiApplication::setOverrideCursor(QCursor(CursorToQt(v)));
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* f = ActiveForm();
  return f ? f->ActiveControl() : nullptr;
}

TCustomForm* TScreen::ActiveForm() const {
  QWidget* w = QApplication::activeWindow();
  for (TCustomForm* f : FForms)
    if (f->Widget() == w) return f;
  return nullptr;
}

}  // namespace plat
