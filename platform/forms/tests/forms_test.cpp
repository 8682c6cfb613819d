// Modal forms, the message-box service and the default error box.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QWidget>
#include <QPalette>

#include <gtest/gtest.h>

#include "platform/forms/dialogs.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/rtl/exceptions.h"

using namespace plat;

namespace {

TEST(ModalForm, EndsWhenATimerSetsTheModalResult) {
  TForm form(nullptr);
  QStringList events;
  form.OnShow = [&](TObject*) { events << "show"; };
  form.OnClose = [&](TObject*, TCloseAction& a) {
    events << QString("close(%1)").arg(a);
  };
  auto* timer = new TTimer(&form);
  timer->SetInterval(10);
  timer->OnTimer = [&](TObject*) {
    timer->SetEnabled(false);
    form.SetModalResult(mrOk);
  };
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(events, QStringList({"show", QString("close(%1)").arg(caHide)}));
}

TEST(ModalForm, ButtonModalResultEndsItAfterItsClickHandler) {
  TForm form(nullptr);
  auto* yes = new TButton(&form);
  yes->SetParent(&form);
  yes->SetModalResult(mrYes);
  int clicks = 0;
  TModalResult seenInHandler = -1;
  yes->OnClick = [&](TObject*) {
    ++clicks;
    seenInHandler = form.ModalResult();
  };
  QTimer::singleShot(10, [&] {
    QTest::mouseClick(yes->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  });
  EXPECT_EQ(form.ShowModal(), mrYes);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(seenInHandler, mrYes);  // the result is set before OnClick runs
}

TEST(ModalForm, CloseRulesCanKeepItOpen) {
  TForm form(nullptr);
  int asked = 0;
  form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked >= 2; };
  auto* timer = new TTimer(&form);
  timer->SetInterval(5);
  timer->OnTimer = [&](TObject*) { form.SetModalResult(mrOk); };
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(asked, 2);  // refused once, so the form went on running
  timer->SetEnabled(false);

  // OnClose with caNone keeps it open too; closing the window gives mrCancel.
  int closes = 0;
  form.OnCloseQuery = nullptr;
  form.OnClose = [&](TObject*, TCloseAction& a) {
    if (++closes == 1) a = caNone;
  };
  QTimer::singleShot(5, [&] { form.Widget()->close(); });
  QTimer::singleShot(30, [&] { form.Widget()->close(); });
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(closes, 2);
}

TEST(ModalForm, AVisibleFormCannotBecomeModal) {
  TForm form(nullptr);
  form.Show();
  EXPECT_THROW(form.ShowModal(), EInvalidOperation);
  form.Hide();
}

TEST(MessageBoxes, ScriptedAnswersAreRecordedAndReturned) {
  TScriptedMessageBoxes boxes;
  boxes.Answer(mrNo);
  EXPECT_EQ(MessageDlg("Delete the node?", mtConfirmation, mbYesNo), mrNo);
  // With no answer left, the default button answers.
  EXPECT_EQ(MessageDlg("Saved.", mtInformation, {mbOK}), mrOk);
  EXPECT_EQ(MessageDlg("Overwrite?", mtWarning, mbYesNo, 0, mbNo), mrNo);
  ASSERT_EQ(boxes.Count(), 3);
  EXPECT_EQ(boxes.Requests()[0].Text, "Delete the node?");
  EXPECT_EQ(boxes.Requests()[0].Type, mtConfirmation);
  EXPECT_EQ(boxes.Requests()[0].Caption, "Confirmation");
  EXPECT_TRUE(boxes.Requests()[0].Buttons == mbYesNo);
  EXPECT_EQ(boxes.Requests()[2].DefaultButton, mbNo);
}

TEST(MessageBoxes, FlagsOfTheSystemBoxMapToKindsAndButtons) {
  struct Case {
    UINT flags;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    TMsgDlgBtn def;
  };
  const Case cases[] = {
      {MB_OK | MB_ICONERROR, mtError, {mbOK}, mbOK},
      {MB_YESNO | MB_ICONWARNING, mtWarning, mbYesNo, mbYes},
      {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, mtConfirmation, mbYesNo, mbNo},
      {MB_OKCANCEL | MB_ICONINFORMATION, mtInformation, mbOKCancel, mbOK},
      {MB_YESNOCANCEL, mtCustom, mbYesNoCancel, mbYes},
  };
  for (const Case& c : cases) {
    TScriptedMessageBoxes boxes;
    boxes.Answer(IDCANCEL);
    EXPECT_EQ(Application->MessageBox("text", "title", c.flags), IDCANCEL);
    ASSERT_EQ(boxes.Count(), 1);
    const auto& r = boxes.Requests()[0];
    EXPECT_EQ(r.Type, c.type) << c.flags;
    EXPECT_TRUE(r.Buttons == c.buttons) << c.flags;
    EXPECT_EQ(r.DefaultButton, c.def) << c.flags;
    EXPECT_EQ(r.Caption, "title");
  }
}

TEST(ErrorBox, AnExceptionInAnEventHandlerEndsInTheErrorBox) {
  Application->SetTitle("Configurator");
  TScriptedMessageBoxes boxes;
  TForm form(nullptr);
  auto* b = new TButton(&form);
  b->SetParent(&form);
  b->OnClick = [](TObject*) { throw EConvertError("'abc' is not a valid integer value"); };
  form.Show();
  QTest::mouseClick(b->Widget(), Qt::LeftButton, {}, QPoint(5, 5));  // must not throw through Qt
  ASSERT_EQ(boxes.Count(), 1);
  EXPECT_EQ(boxes.Requests()[0].Text, "'abc' is not a valid integer value.");
  EXPECT_EQ(boxes.Requests()[0].Type, mtError);
  EXPECT_EQ(boxes.Requests()[0].Caption, "Configurator");

  // Timers and posted work are guarded the same way; a standard exception reads its what().
  auto* t = new TTimer(&form);
  t->SetInterval(1);
  t->OnTimer = [&](TObject*) {
    t->SetEnabled(false);
    throw std::runtime_error("disk full");
  };
  QTRY_COMPARE_WITH_TIMEOUT(boxes.Count(), 2, 2000);
  EXPECT_EQ(boxes.Requests()[1].Text, "disk full.");
  form.Hide();
}

TEST(ErrorBox, FullStopIsAddedOnlyAfterALetterOrDigit) {
  const std::pair<const char*, const char*> cases[] = {
      {"bad value", "bad value."}, {"bad value.", "bad value."}, {"range (1..5)", "range (1..5)"},
      {"", ""},                    {"why?", "why?"},             {"code 7", "code 7."},
  };
  TScriptedMessageBoxes boxes;
  for (const auto& [in, out] : cases) {
    Application->ShowException(Exception(QString::fromUtf8(in)));
    EXPECT_EQ(boxes.LastText(), QString::fromUtf8(out)) << in;
  }
}

TEST(ErrorBox, OnExceptionTakesOverFromTheBox) {
  TScriptedMessageBoxes boxes;
  QString seen;
  Application->OnException = [&](TObject*, const std::exception& e) { seen = ExceptionMessage(e); };
  try {
    throw EListError("List index out of bounds (5)");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  Application->OnException = nullptr;
  EXPECT_EQ(seen, "List index out of bounds (5)");
  EXPECT_EQ(boxes.Count(), 0);
}

}  // namespace

namespace {

TEST(ModalForm, TerminateEndsTheModalLoopWithCancel) {
  TForm form(nullptr);
  auto* timer = new TTimer(&form);
  timer->SetInterval(5);
  timer->OnTimer = [&](TObject*) {
    timer->SetEnabled(false);
    Application->Terminate();
  };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_TRUE(Application->Terminated());
  // Outside a running application the next modal form runs normally again.
  timer->OnTimer = [&](TObject*) {
    timer->SetEnabled(false);
    form.SetModalResult(mrOk);
  };
  timer->SetEnabled(true);
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_FALSE(Application->Terminated());
}

TEST(Controls, ParentColorReachesTheWidget) {
  TForm form(nullptr);
  form.SetColor(RGB(248, 247, 237));
  auto* l = new TLabel(&form);
  l->SetParent(&form);
  EXPECT_EQ(l->Color(), RGB(248, 247, 237));
  EXPECT_EQ(l->Widget()->palette().color(QPalette::Window), QColor(248, 247, 237));
}

}  // namespace
