// The one message-box service: every message box of the program goes through ShowMessageBox, which tests
// replace with a scripted responder (TScriptedMessageBoxes) that records the text and returns a set answer.
#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/rtl/component.h"

namespace plat {

// Modal results (also the answers of message boxes).
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;
constexpr TModalResult mrClose = 11;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The modal result a button gives.
TModalResult ModalResultOf(TMsgDlgBtn b);

struct TMessageBoxRequest {
  TMsgDlgType Type = mtInformation;
  QString Text;
  QString Caption;
  TMsgDlgButtons Buttons{mbOK};
  TMsgDlgBtn DefaultButton = mbOK;
};

// Returns the modal result of the chosen button.
using TMessageBoxHook = std::function<TModalResult(const TMessageBoxRequest&)>;
// Installs a replacement for the real box (empty: the real box again); returns the previous hook.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);
TModalResult ShowMessageBox(const TMessageBoxRequest& request);

// The framework's dialog functions. The caption is the kind of message ("Warning", "Error", "Information",
// "Confirmation"); the default button is the first of OK, Yes, ... that the box has.
TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                        TMsgDlgBtn DefaultButton);
// An information-less box with the application's title and OK.
void ShowMessage(const QString& Msg);
// The system message box: MB_* flags in, ID* answer out (IDOK = mrOk, IDYES = mrYes, ...).
int MessageBoxFlags(const QString& Text, const QString& Caption, UINT Flags);

// Test responder: while it lives, message boxes are recorded and answered from the queue (in order); with
// the queue empty the answer is the box's default button.
class TScriptedMessageBoxes {
 public:
  TScriptedMessageBoxes();
  ~TScriptedMessageBoxes();
  TScriptedMessageBoxes(const TScriptedMessageBoxes&) = delete;
  TScriptedMessageBoxes& operator=(const TScriptedMessageBoxes&) = delete;

  void Answer(TModalResult result) { FAnswers.push_back(result); }
  const std::vector<TMessageBoxRequest>& Requests() const { return FRequests; }
  int Count() const { return static_cast<int>(FRequests.size()); }
  QString LastText() const { return FRequests.empty() ? QString() : FRequests.back().Text; }
  void Clear() { FRequests.clear(); }

 private:
  TModalResult Respond(const TMessageBoxRequest& r);
  std::deque<TModalResult> FAnswers;
  std::vector<TMessageBoxRequest> FRequests;
  TMessageBoxHook FPrevious;
};

// File choosers. Filter is "Description|patterns|Description|patterns" with patterns separated by ';';
// FilterIndex counts from 1. Execute returns true when the user chose a file (FileName holds it).
class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}
  virtual bool Execute();
  virtual bool IsSaveDialog() const { return false; }

  QString FileName;
  QString Filter;
  int FilterIndex = 1;
  QString InitialDir;
  QString Title;
  QString DefaultExt;  // added (with a dot) to a chosen name without an extension
  // The Qt filter list of Filter ("XML File (*.xml)|*.xml" -> "XML File (*.xml) (*.xml)").
  QStringList QtFilters() const;
};

class TSaveDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;
  bool IsSaveDialog() const override { return true; }
};

// Replaces the real file chooser (tests): the hook sets Dialog->FileName and returns whether a file was chosen.
using TFileDialogHook = std::function<bool(TOpenDialog* Dialog)>;
TFileDialogHook SetFileDialogHook(TFileDialogHook hook);

}  // namespace plat
