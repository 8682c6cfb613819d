#include "platform/forms/dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "platform/forms/forms.h"

namespace plat {

namespace {

TMessageBoxHook& Hook() {
  static TMessageBoxHook h;
  return h;
}

constexpr TMsgDlgBtn kOrder[] = {mbOK, mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel, mbAbort, mbRetry,
                                 mbIgnore, mbAll, mbHelp, mbClose};

TMsgDlgBtn FirstButton(TMsgDlgButtons b) {
  for (TMsgDlgBtn x : kOrder)
    if (b.Contains(x)) return x;
  return mbOK;
}

QMessageBox::StandardButton QtButton(TMsgDlgBtn b) {
  switch (b) {
    case mbYes: return QMessageBox::Yes;
    case mbNo: return QMessageBox::No;
    case mbOK: return QMessageBox::Ok;
    case mbCancel: return QMessageBox::Cancel;
    case mbAbort: return QMessageBox::Abort;
    case mbRetry: return QMessageBox::Retry;
    case mbIgnore: return QMessageBox::Ignore;
    case mbAll: return QMessageBox::YesToAll;
    case mbNoToAll: return QMessageBox::NoToAll;
    case mbYesToAll: return QMessageBox::YesToAll;
    case mbHelp: return QMessageBox::Help;
    case mbClose: return QMessageBox::Close;
  }
  return QMessageBox::Ok;
}

TModalResult RealBox(const TMessageBoxRequest& r) {
  QMessageBox box;
  switch (r.Type) {
    case mtWarning: box.setIcon(QMessageBox::Warning); break;
    case mtError: box.setIcon(QMessageBox::Critical); break;
    case mtInformation: box.setIcon(QMessageBox::Information); break;
    case mtConfirmation: box.setIcon(QMessageBox::Question); break;
    case mtCustom: box.setIcon(QMessageBox::NoIcon); break;
  }
  box.setWindowTitle(r.Caption);
  box.setText(r.Text);
  box.setTextFormat(Qt::PlainText);
  std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> buttons;
  for (TMsgDlgBtn b : kOrder) {
    if (!r.Buttons.Contains(b)) continue;
    QAbstractButton* qb = box.addButton(QtButton(b));
    buttons.emplace_back(qb, b);
    if (b == r.DefaultButton) box.setDefaultButton(static_cast<QPushButton*>(qb));
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (auto& [qb, b] : buttons)
    if (qb == clicked) return ModalResultOf(b);
  // Closed without a button: Cancel when there is one, else the only answer there is.
  if (r.Buttons.Contains(mbCancel)) return mrCancel;
  if (r.Buttons.Contains(mbNo) && !r.Buttons.Contains(mbOK)) return mrNo;
  return ModalResultOf(FirstButton(r.Buttons));
}

QString CaptionOf(TMsgDlgType t) {
  switch (t) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirmation");
    case mtCustom: break;
  }
  return Application ? Application->Title() : QString();
}

}  // namespace

TModalResult ModalResultOf(TMsgDlgBtn b) {
  switch (b) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbHelp: return mrNone;
    case mbClose: return mrClose;
  }
  return mrNone;
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
  TMessageBoxHook old = std::move(Hook());
  Hook() = std::move(hook);
  return old;
}

TModalResult ShowMessageBox(const TMessageBoxRequest& request) {
  if (Hook()) return Hook()(request);
  return RealBox(request);
}

TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlg(Msg, DlgType, Buttons, HelpCtx, FirstButton(Buttons));
}

TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                        TMsgDlgBtn DefaultButton) {
  (void)HelpCtx;
  TMessageBoxRequest r;
  r.Type = DlgType;
  r.Text = Msg;
  r.Caption = CaptionOf(DlgType);
  r.Buttons = Buttons.Empty() ? TMsgDlgButtons{mbOK} : Buttons;
  r.DefaultButton = r.Buttons.Contains(DefaultButton) ? DefaultButton : FirstButton(r.Buttons);
  return ShowMessageBox(r);
}

void ShowMessage(const QString& Msg) {
  TMessageBoxRequest r;
  r.Type = mtCustom;
  r.Text = Msg;
  r.Caption = Application ? Application->Title() : QString();
  ShowMessageBox(r);
}

int MessageBoxFlags(const QString& Text, const QString& Caption, UINT Flags) {
  TMessageBoxRequest r;
  r.Text = Text;
  r.Caption = Caption;
  switch (Flags & 0xF0) {
    case MB_ICONERROR: r.Type = mtError; break;
    case MB_ICONQUESTION: r.Type = mtConfirmation; break;
    case MB_ICONWARNING: r.Type = mtWarning; break;
    case MB_ICONINFORMATION: r.Type = mtInformation; break;
    default: r.Type = mtCustom; break;
  }
  std::vector<TMsgDlgBtn> order;
  switch (Flags & 0x0F) {
    case MB_OKCANCEL: order = {mbOK, mbCancel}; break;
    case MB_ABORTRETRYIGNORE: order = {mbAbort, mbRetry, mbIgnore}; break;
    case MB_YESNOCANCEL: order = {mbYes, mbNo, mbCancel}; break;
    case MB_YESNO: order = {mbYes, mbNo}; break;
    case MB_RETRYCANCEL: order = {mbRetry, mbCancel}; break;
    default: order = {mbOK}; break;
  }
  r.Buttons = TMsgDlgButtons{};
  for (TMsgDlgBtn b : order) r.Buttons.Include(b);
  std::size_t def = (Flags & 0xF00) >> 8;
  if (def >= order.size()) def = 0;
  r.DefaultButton = order[def];
  return ShowMessageBox(r);
}

TScriptedMessageBoxes::TScriptedMessageBoxes() {
  FPrevious = SetMessageBoxHook([this](const TMessageBoxRequest& r) { return Respond(r); });
}

TScriptedMessageBoxes::~TScriptedMessageBoxes() { SetMessageBoxHook(std::move(FPrevious)); }

TModalResult TScriptedMessageBoxes::Respond(const TMessageBoxRequest& r) {
  FRequests.push_back(r);
  if (!FAnswers.empty()) {
    const TModalResult a = FAnswers.front();
    FAnswers.pop_front();
    return a;
  }
  return ModalResultOf(r.DefaultButton);
}

namespace {
TFileDialogHook& FileHook() {
  static TFileDialogHook h;
  return h;
}
}  // namespace

TFileDialogHook SetFileDialogHook(TFileDialogHook hook) {
  TFileDialogHook old = std::move(FileHook());
  FileHook() = std::move(hook);
  return old;
}

QStringList TOpenDialog::QtFilters() const {
  QStringList out;
  const QStringList parts = Filter.split(u'|');
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    out << parts[i] + QStringLiteral(" (") + patterns.simplified() + QStringLiteral(")");
  }
  return out;
}

bool TOpenDialog::Execute() {
  if (FileHook()) return FileHook()(this);
  QFileDialog d;
  d.setAcceptMode(IsSaveDialog() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(IsSaveDialog() ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!Title.isEmpty()) d.setWindowTitle(Title);
  const QStringList filters = QtFilters();
  if (!filters.isEmpty()) {
    d.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size()) d.selectNameFilter(filters[FilterIndex - 1]);
  }
  if (!InitialDir.isEmpty()) d.setDirectory(InitialDir);
  if (!FileName.isEmpty()) d.selectFile(FileName);
  if (!DefaultExt.isEmpty()) d.setDefaultSuffix(DefaultExt);
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
  FileName = d.selectedFiles().first();
  FilterIndex = static_cast<int>(filters.indexOf(d.selectedNameFilter())) + 1;
  if (FilterIndex < 1) FilterIndex = 1;
  return true;
}

}  // namespace plat
