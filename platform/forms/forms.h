// Forms, the application object and the screen: TCustomForm/TForm (ShowModal with ModalResult, the close
// rules, dialog keys), TApplication (the global Application: main form, error box, message processing) and
// TScreen (the global Screen).
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/forms/dialogs.h"

class QEventLoop;

namespace plat {

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
  poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Runs OnCreate once; TApplication::CreateForm calls it after construction, and a form built in code may
  // call it after adding its controls.
  void AfterConstruction();

  // Shows the form and waits until ModalResult is set (by code, a button or closing the window) and the
  // close rules allow it; returns the modal result. Closing from the title bar gives mrCancel.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v);
  bool Modal() const { return FModalLoop != nullptr; }
  void Close();
  bool CloseQuery();
  // Frees the form once the events now being handled are done.
  void Release();

  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* c);
  // Called when a control of the form gets the focus: moves ActiveControl, sends CM_EXIT and CM_ENTER.
  bool SetFocusedControl(TWinControl* c);
  void ControlRemoved(TControl* c);

  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons v);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle v);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void Dispatch(TMessage& Message) override;

 protected:
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  void VisibleChanged() override;
  void TextChanged() override;

 private:
  friend class TWinControl;
  friend class TApplication;
  void ApplyWindowFlags();
  void CloseModal();
  void PlaceOnFirstShow();
  void FocusFirstControl();

  TModalResult FModalResult = mrNone;
  QEventLoop* FModalLoop = nullptr;
  TWinControl* FActiveControl = nullptr;
  bool FKeyPreview = false;
  bool FCreated = false;
  bool FPlaced = false;
  bool FDestroyed = false;
  TPosition FPosition = poDesigned;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormStyle FFormStyle = fsNormal;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
  friend class TCustomForm;

 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Creates a form owned by the application and runs its OnCreate; the first form becomes the main form.
  template <class T>
  T* CreateForm() {
    T* f = new T(this);
    FormCreated(f);
    return f;
  }
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = CreateForm<T>();
  }
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* f) { FMainForm = f; }

  // Shows the main form and runs the event loop until Terminate.
  void Run();
  bool Running() const { return FRunning; }
  // Ends Run and every modal loop (they return mrCancel). Without a running Run (tests), the flag is
  // forgotten when the next modal form starts, so one test's end does not end the next test's dialogs.
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Delivers the events and posted messages waiting now, then returns.
  void ProcessMessages();

  // Call inside a catch block: OnException when assigned, otherwise the framework's error box (ShowException).
  void HandleException(TObject* Sender);
  // The same for an error that was never raised: E takes the way of an exception that reached the application.
  void HandleException(TObject* Sender, const std::exception& E);
  // The error box: the message (with a full stop added when it ends in a letter or digit), the application's
  // title, an error icon and OK.
  void ShowException(const std::exception& E);
  TExceptionEvent OnException;

  int MessageBox(const QString& Text, const QString& Caption = QString(), UINT Flags = MB_OK);
  QString Title() const { return FTitle; }
  void SetTitle(const QString& v) { FTitle = v; }
  QString ExeName() const;

 private:
  void FormCreated(TCustomForm* f);
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FRunning = false;
  QString FTitle;
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  int PixelsPerInch() const { return 96; }
  int Width() const;
  int Height() const;
  // The application-wide cursor; crDefault lets every control show its own.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v);
  TWinControl* ActiveControl() const;
  TCustomForm* ActiveForm() const;
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int i) const { return FForms.at(static_cast<std::size_t>(i)); }

 private:
  friend class TCustomForm;
  friend class TApplication;
  TCursor FCursor = crDefault;
  std::vector<TCustomForm*> FForms;
};

extern TApplication* Application;
extern TScreen* Screen;

// The error box shown when no application object exists (only during start and exit).
void ShowExceptionFallback();

// Text of an exception for the error box: the runtime's message, or what() of other exceptions.
QString ExceptionMessage(const std::exception& E);

}  // namespace plat
