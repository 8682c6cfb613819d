// Message order of mouse, key and focus input as the hosts turn Qt's events into messages.
#include <QApplication>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "platform/forms/comctrls.h"
#include "platform/forms/controls.h"
#include "platform/forms/menus.h"
#include "platform/forms/forms.h"
#include "platform/forms/msgqueue.h"
#include "platform/forms/stdctrls.h"
#include "platform/forms/tests/recorder.h"

using namespace plat;
using plat::testing::MessageLog;
using plat::testing::ShowActive;
using plat::testing::TLoggingControl;

namespace {

struct InputFixture : ::testing::Test {
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetName("InputForm");
    form->SetBounds(100, 100, 300, 200);
  }
  TLoggingControl* AddLogging(const QString& name, int left) {
    auto* c = new TLoggingControl(form.get(), &log.Lines);
    c->SetName(name);
    c->SetParent(form.get());
    c->SetBounds(left, 10, 80, 60);
    log.Watch(c);
    return c;
  }
  std::unique_ptr<TForm> form;
  MessageLog log;
};

QPoint InWindow(TControl* c, QPoint p) { return c->Widget()->mapTo(c->Widget()->window(), p); }

TEST_F(InputFixture, ClickAndDoubleClickFollowTheFrameworkOrder) {
  TLoggingControl* c = AddLogging("Box", 10);
  ShowActive(form.get());
  QWindow* win = form->Widget()->windowHandle();
  ASSERT_NE(win, nullptr);
  log.Lines.clear();

  QTest::mouseClick(win, Qt::LeftButton, {}, InWindow(c, QPoint(5, 5)));
  EXPECT_EQ(log.Lines, QStringList({"Box:LDOWN", "Box:OnMouseDown", "Box:LUP", "Box:OnClick", "Box:OnMouseUp"}));

  log.Lines.clear();
  QTest::mouseDClick(win, Qt::LeftButton, {}, InWindow(c, QPoint(6, 6)));
  // A double click is down, up, click; then the double-click message and its up (no second click).
  EXPECT_EQ(log.Lines, QStringList({"Box:LDOWN", "Box:OnMouseDown", "Box:LUP", "Box:OnClick", "Box:OnMouseUp",
                                    "Box:LDBL", "Box:OnDblClick", "Box:OnMouseDown(double)", "Box:LUP",
                                    "Box:OnMouseUp"}));
}

TEST_F(InputFixture, KeysGiveKeyDownCharKeyUp) {
  TLoggingControl* c = AddLogging("Box", 10);
  ShowActive(form.get());
  c->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(c->Focused());
  log.Lines.clear();

  QTest::keyClick(c->Widget(), Qt::Key_A);
  EXPECT_EQ(log.Lines, QStringList({"Box:KEYDOWN", "Box:OnKeyDown(65)", "Box:CHAR", "Box:OnKeyPress(97)",
                                    "Box:KEYUP", "Box:OnKeyUp(65)"}));

  // Ctrl+letter types the control character, a key without a character sends none.
  log.Lines.clear();
  QTest::keyClick(c->Widget(), Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(c->Widget(), Qt::Key_Delete);
  EXPECT_TRUE(log.Lines.contains("Box:OnKeyPress(3)"));
  EXPECT_TRUE(log.Lines.contains("Box:OnKeyDown(46)"));
  EXPECT_EQ(log.Lines.filter("OnKeyPress").size(), 1);
}

TEST_F(InputFixture, DialogKeysGoToTheFormUnlessTheControlWantsThem) {
  TLoggingControl* a = AddLogging("A", 10);
  TLoggingControl* b = AddLogging("B", 100);
  ShowActive(form.get());
  a->SetFocus();
  QApplication::processEvents();
  log.Lines.clear();

  // Tab: not wanted, so the form moves the focus; A sees no key-down and no character for it.
  QTest::keyClick(a->Widget(), Qt::Key_Tab);
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(log.Lines.filter("A:KEYDOWN").size(), 0);
  EXPECT_EQ(log.Lines.filter("CHAR").size(), 0);
  EXPECT_EQ(form->ActiveControl(), b);

  // Shift+Tab goes back.
  QTest::keyClick(b->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(a->Focused());

  // A control answering DLGC_WANTTAB gets the key and its character.
  a->DlgCode = DLGC_WANTTAB;
  log.Lines.clear();
  QTest::keyClick(a->Widget(), Qt::Key_Tab);
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(log.Lines, QStringList({"A:KEYDOWN", "A:OnKeyDown(9)", "A:CHAR", "A:OnKeyPress(9)", "A:KEYUP",
                                    "A:OnKeyUp(9)"}));
}

TEST_F(InputFixture, EnterAndEscapeClickTheDefaultAndCancelButtons) {
  auto* edit = new TEdit(form.get());
  edit->SetName("Edit");
  edit->SetParent(form.get());
  auto* ok = new TButton(form.get());
  ok->SetName("Ok");
  ok->SetParent(form.get());
  ok->SetDefault(true);
  auto* cancel = new TButton(form.get());
  cancel->SetName("Cancel");
  cancel->SetParent(form.get());
  cancel->SetCancel(true);
  QStringList clicks;
  ok->OnClick = [&](TObject*) { clicks << "ok"; };
  cancel->OnClick = [&](TObject*) { clicks << "cancel"; };
  QStringList chars;
  edit->OnKeyPress = [&](TObject*, char16_t& k) { chars << QString::number(k); };
  ShowActive(form.get());
  edit->SetFocus();
  QApplication::processEvents();

  QTest::keyClick(edit->Widget(), Qt::Key_Return);
  QTest::keyClick(edit->Widget(), Qt::Key_Escape);
  EXPECT_EQ(clicks, QStringList({"ok", "cancel"}));
  EXPECT_TRUE(chars.isEmpty());  // a handled dialog key types nothing

  // With the cancel button focused, Enter clicks it rather than the default button.
  cancel->SetFocus();
  QApplication::processEvents();
  clicks.clear();
  QTest::keyClick(cancel->Widget(), Qt::Key_Return);
  EXPECT_EQ(clicks, QStringList({"cancel"}));
}

TEST_F(InputFixture, KeyPressHandlersReplaceOrSwallowTypedCharacters) {
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  edit->OnKeyPress = [](TObject*, char16_t& k) {
    if (k == u'a') k = u'b';
    if (k == u'x') k = 0;
  };
  ShowActive(form.get());
  edit->SetFocus();
  QApplication::processEvents();
  QTest::keyClicks(edit->Widget(), "axc");
  EXPECT_EQ(edit->Text(), "bc");
  // Backspace is a character too; the widget still deletes with it.
  QTest::keyClick(edit->Widget(), Qt::Key_Backspace);
  EXPECT_EQ(edit->Text(), "b");
}

TEST_F(InputFixture, FocusMessagesCarryTheOtherControl) {
  TLoggingControl* a = AddLogging("A", 10);
  TLoggingControl* b = AddLogging("B", 100);
  MessageLog params;
  params.Watch(a, true);
  params.Watch(b, true);
  ShowActive(form.get());
  a->SetFocus();
  QApplication::processEvents();
  log.Lines.clear();
  params.Lines.clear();

  b->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(log.Lines, QStringList({"A:KILLFOCUS", "B:SETFOCUS", "A:CM_EXIT", "A:OnExit", "B:CM_ENTER",
                                    "B:OnEnter"}));
  EXPECT_TRUE(params.Lines.contains(QString("A:KILLFOCUS(%1)").arg(b->Handle())));
  EXPECT_TRUE(params.Lines.contains(QString("B:SETFOCUS(%1)").arg(a->Handle())));
  EXPECT_EQ(GetFocus(), b->Handle());
}

TEST_F(InputFixture, WindowTimersArriveByTheirId) {
  TLoggingControl* a = AddLogging("A", 10);
  MessageLog ids;
  ids.Watch(a, true);
  a->SetTimer(111, 5);
  QTRY_VERIFY_WITH_TIMEOUT(ids.Lines.contains("A:TIMER(111)"), 2000);
  EXPECT_TRUE(a->KillTimer(111));
  EXPECT_FALSE(a->KillTimer(111));
  ids.Lines.clear();
  QTest::qWait(30);
  EXPECT_TRUE(ids.Lines.isEmpty());
}

TEST_F(InputFixture, PostedMessagesWaitForTheEventLoop) {
  TLoggingControl* a = AddLogging("A", 10);
  const UINT msg = RegisterWindowMessage("GridEditDone");
  EXPECT_GE(msg, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("grideditdone"), msg);
  EXPECT_NE(RegisterWindowMessage("Other"), msg);
  std::vector<TMessage> got;
  auto prev = a->WindowProc;
  a->WindowProc = [&](TMessage& m) {
    if (m.Msg == msg) got.push_back(m);
    prev(m);
  };
  EXPECT_TRUE(PostMessage(a->Handle(), msg, 3, 7));
  EXPECT_TRUE(got.empty());
  Application->ProcessMessages();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].WParam, 3u);
  EXPECT_EQ(got[0].LParam, 7);
  EXPECT_FALSE(PostMessage(0xDEAD, msg, 0, 0));
}

TEST_F(InputFixture, PostedKeyDownIsHandledLikeATypedKey) {
  auto* e1 = new TEdit(form.get());
  e1->SetParent(form.get());
  auto* e2 = new TEdit(form.get());
  e2->SetParent(form.get());
  e2->SetTop(40);
  ShowActive(form.get());
  e1->SetFocus();
  QApplication::processEvents();
  PostMessage(e1->Handle(), WM_KEYDOWN, 'Q', 0);
  Application->ProcessMessages();
  EXPECT_EQ(e1->Text(), "q");
  PostMessage(e1->Handle(), WM_KEYDOWN, VK_TAB, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(e2->Focused());
}

TEST_F(InputFixture, WindowScrollBarsFollowTheWindowRules) {
  TLoggingControl* a = AddLogging("A", 10);
  a->SetBounds(0, 0, 200, 100);
  ShowActive(form.get());
  TScrollInfo si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 500;
  // The position is clamped to the last full page.
  EXPECT_EQ(a->SetScrollInfo(SB_VERT, si), 90);
  EXPECT_TRUE(a->ScrollBarVisible(SB_VERT));
  EXPECT_EQ(a->ClientWidth(), 200 - 17);
  TScrollInfo got;
  got.fMask = SIF_ALL;
  ASSERT_TRUE(a->GetScrollInfo(SB_VERT, got));
  EXPECT_EQ(got.nMax, 99);
  EXPECT_EQ(got.nPage, 10u);
  EXPECT_EQ(got.nPos, 90);

  // A click on the bar reports the action; the position moves only when the window moves it.
  MessageLog codes;
  codes.Watch(a, true);
  auto* bar = a->Widget()->findChild<QScrollBar*>("VertScrollBar");
  ASSERT_NE(bar, nullptr);
  a->SetScrollPos(SB_VERT, 20);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(codes.Lines, QStringList({QString("A:VSCROLL(%1)").arg(MakeWParam(SB_LINEDOWN, 20)),
                                      QString("A:VSCROLL(%1)").arg(MakeWParam(SB_ENDSCROLL, 20))}));
  EXPECT_EQ(a->GetScrollPos(SB_VERT), 20);

  // A range that fits the page hides the bar again.
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = 5;
  a->SetScrollInfo(SB_VERT, si);
  EXPECT_FALSE(a->ScrollBarVisible(SB_VERT));
  EXPECT_EQ(a->ClientWidth(), 200);
}

}  // namespace

namespace {

TEST_F(InputFixture, EditableComboBoxSeesItsKeysAndFocus) {
  auto* cb = new TComboBox(form.get());
  cb->SetName("Combo");
  cb->SetParent(form.get());
  cb->SetStyle(csDropDown);
  QStringList keys;
  cb->OnKeyPress = [&](TObject*, char16_t& k) {
    keys << QString(QChar(k));
    if (k == u'x') k = u'y';
  };
  int changes = 0;
  cb->OnChange = [&](TObject*) { ++changes; };
  log.Watch(cb);
  ShowActive(form.get());
  cb->SetFocus();
  QApplication::processEvents();
  EXPECT_TRUE(cb->Focused());
  EXPECT_TRUE(log.Lines.contains("Combo:SETFOCUS"));
  QTest::keyClicks(QApplication::focusWidget(), "ax");
  EXPECT_EQ(keys, QStringList({"a", "x"}));
  EXPECT_EQ(cb->Text(), "ay");
  EXPECT_EQ(changes, 2);
}

}  // namespace

namespace {

TEST_F(InputFixture, RightClickOnATreeKeepsTheSelectionAndOpensItsMenu) {
  auto* tv = new TTreeView(form.get());
  tv->SetParent(form.get());
  tv->SetBounds(0, 0, 200, 150);
  TTreeNode* first = tv->Items()->Add(nullptr, "First");
  TTreeNode* second = tv->Items()->Add(nullptr, "Second");
  auto* menu = new TPopupMenu(form.get());
  menu->Items()->Add(NewItem(form.get(), "Delete"));
  tv->SetPopupMenu(menu);
  int menus = 0;
  auto old = SetPopupMenuRunner([&](TPopupMenu*, int, int) {
    ++menus;
    return nullptr;
  });
  QStringList clicks;
  tv->OnClick = [&](TObject*) { clicks << "click"; };
  ShowActive(form.get());
  first->SetSelected(true);
  QWidget* vp = tv->TreeWidget()->viewport();
  const QRect r2 = tv->TreeWidget()->visualItemRect(second->Item());
  QTest::mouseClick(form->Widget()->windowHandle(), Qt::RightButton, {}, vp->mapTo(form->Widget(), r2.center()));
  EXPECT_EQ(tv->Selected(), first);
  EXPECT_EQ(menus, 1);
  // A left click selects and then clicks.
  QTest::mouseClick(form->Widget()->windowHandle(), Qt::LeftButton, {}, vp->mapTo(form->Widget(), r2.center()));
  EXPECT_EQ(tv->Selected(), second);
  EXPECT_EQ(clicks, QStringList({"click"}));
  SetPopupMenuRunner(old);
}

}  // namespace
