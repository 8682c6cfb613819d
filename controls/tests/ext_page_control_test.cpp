// Pages, tab items, switching with its events and vetoes, keys, closing and docking of TExtPageControl.
#include <QApplication>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "controls/tests/page_control_fixture.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/stdctrls.h"
#include "platform/rtl/exceptions.h"

using namespace plat;
using controls::testing::PageForm;

namespace controls {
namespace {

void ShowActive(TCustomForm* f) {
  f->Show();
  QApplication::setActiveWindow(f->Widget());
  QApplication::processEvents();
}

LPARAM At(const TRect& r) { return MakeLParam(r.Left + 4, r.Top + 4); }

// Records the page control's and the sheets' events in order.
struct EventLog {
  explicit EventLog(PageForm& f) {
    f.pc->OnCanChange = [this](TObject*, int From, int To, bool& Allow) {
      Lines << QStringLiteral("CanChange %1>%2").arg(From).arg(To);
      if (VetoCanChange) Allow = false;
    };
    f.pc->OnChanging = [this](TObject*, bool& Allow) {
      Lines << "Changing";
      if (VetoChanging) Allow = false;
    };
    f.pc->OnChange = [this](TObject*) { Lines << "Change"; };
    for (auto* s : f.sheets) {
      s->OnShow = [this, s](TObject*) { Lines << "Show " + s->Name(); };
      s->OnHide = [this, s](TObject*) { Lines << "Hide " + s->Name(); };
    }
  }
  QStringList Lines;
  bool VetoCanChange = false;
  bool VetoChanging = false;
};

TEST(ExtPageControl, Defaults) {
  PageForm f(0);
  TExtPageControl* pc = f.pc;
  EXPECT_EQ(pc->Version(), "1.4.0.0");
  EXPECT_EQ(pc->TabStyle(), tsClassic);
  EXPECT_EQ(pc->LowerActive(), 2);
  EXPECT_EQ(pc->ActiveColor(), clBtnFace);
  EXPECT_EQ(pc->TabHoverColor(), clNone);
  EXPECT_EQ(pc->TabBorderColor(), clGray);
  EXPECT_EQ(pc->Font()->Name(), "Tahoma");
  EXPECT_EQ(pc->ActiveFont()->Name(), "Tahoma");
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->ActivePageIndex(), -1);
  EXPECT_EQ(pc->HoverTab(), -1);
  EXPECT_EQ(pc->TabImages(), pc->DummyImages());
  EXPECT_TRUE(pc->OwnerDraw());
  EXPECT_EQ(pc->FindNextPage(nullptr, true, false), nullptr);

  TExtTabSheet sheet(nullptr);
  EXPECT_EQ(sheet.ImageIndex(), -1);
  EXPECT_EQ(sheet.ImageIndexDummy(), 0);
  EXPECT_TRUE(sheet.TabVisible());
  EXPECT_TRUE(sheet.TabEnable());
  EXPECT_FALSE(sheet.Visible());
  EXPECT_EQ(sheet.Align(), alClient);
  sheet.SetImageIndex(-5);
  EXPECT_EQ(sheet.ImageIndex(), -1);
  sheet.SetImageIndex(3);
  EXPECT_EQ(sheet.ImageIndexDummy(), 3);
}

TEST(ExtPageControl, ItemTextFollowsCaptionAndCloseButton) {
  const struct {
    const char* caption;
    bool close;
    const char* item;
  } cases[] = {
      {"  Nodes    ", false, "  Nodes  "}, {"  Nodes    ", true, "  Nodes     "}, {"ab", false, ""},
      {"a", false, ""}, {"", false, ""}, {"", true, " "}, {"abc", false, "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    PageForm f(0);
    TExtTabSheet* s = f.Add(c.caption);
    s->SetShowClose(c.close);
    EXPECT_EQ(s->TabCaption(), c.item);
    EXPECT_EQ(f.pc->TabText(0), c.item);
  }
  // The whole caption is the item text with the platform drawing the tabs; a showing sheet's new caption
  // reaches its item.
  PageForm f(2);
  f.pc->SetTabBorder3D(true);
  EXPECT_EQ(f.pc->TabText(1), "  Page 2    ");
  EXPECT_EQ(f.pc->TabImages(), nullptr);
  f.pc->SetTabBorder3D(false);
  f.sheets[1]->SetCaption("Other");
  EXPECT_EQ(f.pc->TabText(1), "Oth");
}

TEST(ExtPageControl, BoldActiveFontPadsTheActiveItem) {
  PageForm f(2);
  TFont bold;
  bold.Assign(*f.pc->ActiveFont());
  bold.SetStyle(TFontStyles{fsBold});
  f.pc->SetActiveFont(bold);
  EXPECT_TRUE(f.pc->TabText(0).startsWith(f.sheets[0]->TabCaption()));
  EXPECT_GT(f.pc->TabText(0).size(), f.sheets[0]->TabCaption().size());
  EXPECT_EQ(f.pc->TabText(1), f.sheets[1]->TabCaption());
  f.pc->SetActivePage(f.sheets[1]);  // padding moves with the active page
  EXPECT_EQ(f.pc->TabText(0), f.sheets[0]->TabCaption());
  EXPECT_GT(f.pc->TabText(1).size(), f.sheets[1]->TabCaption().size());
}

TEST(ExtPageControl, FirstSheetBecomesActiveAndIndexSpacesSkipHiddenTabs) {
  PageForm f(4);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);
  EXPECT_TRUE(f.sheets[0]->Visible());
  EXPECT_FALSE(f.sheets[1]->Visible());
  f.sheets[1]->SetTabVisible(false);
  EXPECT_EQ(f.pc->TabCount(), 3);
  EXPECT_EQ(f.sheets[1]->TabIndex(), -1);
  EXPECT_EQ(f.sheets[2]->TabIndex(), 1);
  EXPECT_EQ(f.sheets[3]->PageIndex(), 3);
  EXPECT_EQ(f.pc->TabObject(2), f.sheets[3]);
  const TRect third = f.pc->TabRect(2);
  EXPECT_EQ(f.pc->PageIndexAt(third.Left + 3, third.Top + 3), 3);
  EXPECT_EQ(f.pc->PageIndexAt(-5, -5), -1);
  // Hiding the active tab selects the item now at its index.
  f.pc->SetActivePage(f.sheets[2]);
  f.sheets[2]->SetTabVisible(false);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[3]);
  f.sheets[3]->SetTabVisible(false);  // the last item: the one before it
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);
  f.sheets[0]->SetTabVisible(false);  // none left
  EXPECT_EQ(f.pc->ActivePage(), nullptr);
  EXPECT_EQ(f.pc->TabIndex(), -1);
}

TEST(ExtPageControl, ActivatingByCodeRaisesShowAndHideButNoChangeEvents) {
  PageForm f(3);
  EventLog log(f);
  f.pc->SetActivePage(f.sheets[2]);
  EXPECT_EQ(log.Lines, QStringList({"Show Sheet3", "Hide Sheet1"}));
  EXPECT_EQ(f.pc->TabIndex(), 2);
  log.Lines.clear();
  f.pc->SetActivePage(f.sheets[2]);  // already active
  f.pc->SetActivePageIndex(7);       // out of range: none
  EXPECT_EQ(log.Lines, QStringList({"Hide Sheet3"}));
  EXPECT_EQ(f.pc->ActivePage(), nullptr);
  EXPECT_EQ(f.pc->TabIndex(), -1);

  // A sheet of another control, or a disabled one, is ignored.
  PageForm other(1);
  f.pc->SetActivePage(other.sheets[0]);
  EXPECT_EQ(f.pc->ActivePage(), nullptr);
  f.sheets[1]->SetTabEnable(false);
  f.pc->SetActivePage(f.sheets[1]);
  EXPECT_EQ(f.pc->ActivePage(), nullptr);
  f.pc->SetActivePageIndex(0);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);
}

TEST(ExtPageControl, ClickSwitchesWithEventsInOrderAndVetoes) {
  PageForm f(3);
  EventLog log(f);
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(f.pc->TabRect(1)));
  f.pc->Perform(WM_LBUTTONUP, 0, At(f.pc->TabRect(1)));
  EXPECT_EQ(log.Lines, QStringList({"CanChange 0>1", "Changing", "Show Sheet2", "Hide Sheet1", "Change"}));
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[1]);

  for (int veto = 0; veto < 2; ++veto) {
    log.Lines.clear();
    log.VetoCanChange = veto == 0;
    log.VetoChanging = veto == 1;
    f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(f.pc->TabRect(2)));
    f.pc->Perform(WM_LBUTTONUP, 0, At(f.pc->TabRect(2)));
    EXPECT_EQ(log.Lines, veto == 0 ? QStringList({"CanChange 1>2"}) : QStringList({"CanChange 1>2", "Changing"}));
    EXPECT_EQ(f.pc->ActivePage(), f.sheets[1]);
    EXPECT_EQ(f.pc->TabIndex(), 1);
  }
  // A click on the active tab, or beside the tabs, asks nothing.
  log.Lines.clear();
  log.VetoCanChange = log.VetoChanging = false;
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(f.pc->TabRect(1)));
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(300, 100));
  EXPECT_TRUE(log.Lines.isEmpty());
  // A disabled tab cannot be chosen at run time.
  f.sheets[2]->SetTabEnable(false);
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(f.pc->TabRect(2)));
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[1]);
}

TEST(ExtPageControl, ShowHandlerErrorsGoToTheErrorBoxAndTheSwitchGoesOn) {
  PageForm f(2);
  QStringList errors;
  Application->OnException = [&](TObject*, const std::exception& e) { errors << e.what(); };
  f.sheets[1]->OnShow = [](TObject*) { throw Exception("show failed"); };
  f.pc->SetActivePage(f.sheets[1]);
  Application->OnException = nullptr;
  EXPECT_EQ(errors, QStringList({"show failed"}));
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[1]);
  EXPECT_FALSE(f.sheets[0]->Visible());
}

TEST(ExtPageControl, FindNextPageWrapsAndSkipsHiddenTabs) {
  PageForm f(4);
  auto* const* s = f.sheets.data();
  EXPECT_EQ(f.pc->FindNextPage(s[3], true, false), s[0]);
  EXPECT_EQ(f.pc->FindNextPage(s[0], false, false), s[3]);
  EXPECT_EQ(f.pc->FindNextPage(nullptr, true, false), s[0]);   // not in the list: from the last page
  EXPECT_EQ(f.pc->FindNextPage(nullptr, false, false), s[3]);  // going back: from page 0
  s[1]->SetTabVisible(false);
  s[2]->SetTabVisible(false);
  EXPECT_EQ(f.pc->FindNextPage(s[0], true, true), s[3]);
  EXPECT_EQ(f.pc->FindNextPage(s[0], true, false), s[1]);
  s[3]->SetTabVisible(false);
  s[0]->SetTabVisible(false);
  EXPECT_EQ(f.pc->FindNextPage(s[0], true, true), nullptr);
}

TEST(ExtPageControl, SelectNextPageWrapsAndAsksFirst) {
  PageForm f(3);
  EventLog log(f);
  f.pc->SelectNextPage(false);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[2]);
  EXPECT_EQ(log.Lines, QStringList({"CanChange 0>2", "Changing", "Show Sheet3", "Hide Sheet1", "Change"}));
  f.pc->SelectNextPage(true);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);
  log.VetoCanChange = true;
  f.pc->SelectNextPage(true);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);
}

TEST(ExtPageControl, CtrlTabSwitchesPagesWhileFocusIsInside) {
  PageForm f(3);
  auto* edit = new TEdit(f.form.get());
  edit->SetParent(f.sheets[0]);
  auto* outside = new TEdit(f.form.get());
  outside->SetParent(f.form.get());
  outside->SetBounds(0, 0, 5, 5);
  ShowActive(f.form.get());
  edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(edit->Focused());
  QTest::keyClick(edit->Widget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[1]);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[2]);  // wrapped backwards past the first page
  // A veto keeps the page.
  f.pc->OnCanChange = [](TObject*, int, int, bool& Allow) { Allow = false; };
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[2]);
  f.pc->OnCanChange = nullptr;
  // With the focus outside the control the key is not the control's.
  outside->SetFocus();
  QApplication::processEvents();
  QTest::keyClick(outside->Widget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[2]);
  f.form->Hide();
}

TEST(ExtPageControl, CloseButtonHitBoxesPerPosition) {
  // (x, y) origin of the hit box from the tab rectangle and the margins; LowerActive is never applied.
  for (TTabPosition pos : {tpTop, tpBottom, tpLeft, tpRight}) {
    SCOPED_TRACE(int(pos));
    PageForm f(2, pos);
    f.pc->TabMargin()->SetLeftMargin(3);
    f.pc->TabMargin()->SetTopMargin(5);
    f.sheets[0]->SetShowClose(true);
    const TRect R = f.pc->TabRect(0);
    const TRect box = f.pc->CloseButtonHitRect(f.sheets[0]);
    if (pos == tpLeft)
      EXPECT_EQ(box, TRect(R.Left + 3 + 2, R.Bottom - 5 - 13, R.Left + 3 + 14, R.Bottom - 5 - 2));
    else
      EXPECT_EQ(box, TRect(R.Left + 3 + 2, R.Top + 5 + 2, R.Left + 3 + 14, R.Top + 5 + 13));
    EXPECT_TRUE(f.pc->CloseButtonHitRect(f.sheets[1]).IsEmpty());  // no close button there
  }
}

TEST(ExtPageControl, ClosingTheActivePageWithItsButton) {
  PageForm f(3);
  f.sheets[0]->SetShowClose(true);
  QStringList log;
  f.sheets[0]->OnCanClose = [&](TObject*, bool& CanClose) {
    log << "CanClose";
    CanClose = log.size() > 1;
  };
  f.sheets[0]->OnClose = [&](TObject*) { log << "Close"; };
  const TRect box = f.pc->CloseButtonHitRect(f.sheets[0]);
  const LPARAM in = MakeLParam(box.Left + 3, box.Top + 3);
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, in);
  EXPECT_EQ(f.pc->CloseButtonState(), cbsPressed);
  f.pc->Perform(WM_LBUTTONUP, 0, in);  // refused the first time
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);
  EXPECT_EQ(f.pc->CloseButtonState(), cbsNormal);
  // Releasing outside the box closes nothing.
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, in);
  f.pc->Perform(WM_LBUTTONUP, 0, MakeLParam(box.Right + 20, box.Top));
  EXPECT_EQ(log, QStringList({"CanClose"}));
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, in);
  f.pc->Perform(WM_LBUTTONUP, 0, in);
  EXPECT_EQ(log, QStringList({"CanClose", "CanClose", "Close"}));
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[1]);
  EXPECT_EQ(f.pc->PageCount(), 2);
  EXPECT_EQ(f.sheets[0]->ExtPageControl(), nullptr);
  EXPECT_EQ(f.pc->ClosedTabList().IndexOf("Sheet1"), 0);

  EXPECT_FALSE(f.pc->OpenClosedTab("NoSuchSheet"));
  EXPECT_TRUE(f.pc->OpenClosedTab("Sheet1"));
  EXPECT_EQ(f.sheets[0]->ExtPageControl(), f.pc);
  EXPECT_EQ(f.sheets[0]->PageIndex(), 2);  // re-attached at the end
  EXPECT_EQ(f.pc->ClosedTabList().Count(), 1);  // reopened sheets stay listed
}

TEST(ExtPageControl, FreeOnCloseDestroysTheSheet) {
  PageForm f(2);
  f.pc->SetFreeOnClose(true);
  f.sheets[1]->SetShowClose(true);
  f.pc->SetActivePage(f.sheets[1]);
  const TRect box = f.pc->CloseButtonHitRect(f.sheets[1]);
  f.pc->Perform(WM_LBUTTONUP, 0, MakeLParam(box.Left + 3, box.Top + 3));
  EXPECT_EQ(f.pc->PageCount(), 1);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);
  EXPECT_EQ(f.form->FindComponent("Sheet2"), nullptr);
  EXPECT_EQ(f.pc->ClosedTabList().Count(), 0);
}

TEST(ExtPageControl, HoverNeedsAHoverColour) {
  PageForm f(3);
  f.sheets[0]->SetShowClose(true);
  const TRect third = f.pc->TabRect(2);
  const TRect box = f.pc->CloseButtonHitRect(f.sheets[0]);
  f.pc->Perform(WM_MOUSEMOVE, 0, At(third));
  f.pc->Perform(WM_MOUSEMOVE, 0, MakeLParam(box.Left + 2, box.Top + 2));
  EXPECT_EQ(f.pc->HoverTab(), -1);
  EXPECT_FALSE(f.pc->HoverClosedButton());

  f.pc->SetTabHoverColor(clYellow);
  f.pc->Perform(WM_MOUSEMOVE, 0, At(third));
  EXPECT_EQ(f.pc->HoverTab(), 2);
  f.pc->Perform(WM_MOUSEMOVE, 0, MakeLParam(box.Left + 2, box.Top + 2));
  EXPECT_EQ(f.pc->HoverTab(), 0);
  EXPECT_TRUE(f.pc->HoverClosedButton());
  EXPECT_EQ(f.pc->CloseButtonState(), cbsHot);
  f.pc->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(f.pc->HoverTab(), -1);
  EXPECT_FALSE(f.pc->HoverClosedButton());
}

TEST(ExtPageControl, FailuresKeepTheState) {
  PageForm f(3);
  try {
    f.sheets[0]->SetTabEnable(false);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Can not disable active tab.");
  }
  EXPECT_TRUE(f.sheets[0]->TabEnable());

  f.pc->SetTabStyle(tsDotNet);
  try {
    f.pc->SetTabSplitLine(true);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "TabSplitLine must be false when TabStyle is tsDotNet");
  }
  EXPECT_FALSE(f.pc->TabSplitLine());
  f.pc->SetTabStyle(tsClassic);
  f.pc->SetTabSplitLine(true);
  f.pc->SetTabStyle(tsDotNet);  // accepted this way round
  EXPECT_TRUE(f.pc->TabSplitLine());

  for (int bad : {3, 9, -1}) {
    try {
      f.sheets[0]->SetPageIndex(bad);
      FAIL() << "no error";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(),
                QStringLiteral("%1 is an invalid PageIndex value.  PageIndex must be between 0 and 2").arg(bad));
    }
  }
  EXPECT_EQ(f.sheets[0]->PageIndex(), 0);
}

TEST(ExtPageControl, PageIndexMovesPageAndItem) {
  PageForm f(3);
  f.pc->SetActivePage(f.sheets[0]);
  f.sheets[0]->SetPageIndex(2);
  EXPECT_EQ(f.pc->GetPage(2), f.sheets[0]);
  EXPECT_EQ(f.pc->TabObject(2), f.sheets[0]);
  EXPECT_EQ(f.pc->TabIndex(), 2);
  EXPECT_EQ(f.pc->TabObject(0), f.sheets[1]);
}

TEST(ExtPageControl, DefaultColoursRecolourOnlySheetsStillAtTheDefault) {
  PageForm f(2);
  EXPECT_EQ(f.sheets[0]->TabColor(), clBtnFace);  // adopted on attach
  f.sheets[1]->SetTabColor(clRed);
  f.pc->SetDefaultTabColor(clYellow);
  EXPECT_EQ(f.sheets[0]->TabColor(), clYellow);
  EXPECT_EQ(f.sheets[1]->TabColor(), clRed);
  f.pc->SetDefaultTextColor(clBlue);
  EXPECT_EQ(f.sheets[0]->TextColor(), clBlue);
  auto* late = f.Add("late");
  EXPECT_EQ(late->TabColor(), clYellow);
  EXPECT_EQ(late->TextColor(), clBlue);
}

TEST(ExtPageControl, MarginsReserveRoomOnceLoaded) {
  PageForm f(1);
  const int before = f.pc->TabRect(0).Width();
  f.pc->BeginLoading();
  f.pc->TabMargin()->SetLeftMargin(10);
  EXPECT_EQ(f.pc->TabRect(0).Width(), before);  // not while loading
  f.pc->EndLoading();
  EXPECT_EQ(f.pc->TabRect(0).Width(), before + 10);
  f.pc->TabMargin()->SetRightMargin(7);
  EXPECT_EQ(f.pc->TabRect(0).Width(), before + 17);
  f.pc->TabMargin()->SetTopMargin(9);  // top and bottom tabs take no room for it
  EXPECT_EQ(f.pc->TabRect(0).Width(), before + 17);
  f.pc->SetTabPosition(tpLeft);
  EXPECT_EQ(f.pc->DummyImages()->Height(), 16);
  EXPECT_EQ(f.pc->DummyImages()->Width(), 0);

  TTabMargin copy;
  int events = 0;
  copy.FOnMarginChange = [&](int, int, int) { ++events; };
  copy.Assign(f.pc->TabMargin());
  EXPECT_EQ(copy.RightMargin(), 7);
  EXPECT_EQ(events, 0);
  copy.SetRightMargin(7);
  EXPECT_EQ(events, 0);
  copy.SetRightMargin(8);
  EXPECT_EQ(events, 1);
}

TEST(ExtPageControl, PagesFillTheDisplayRect) {
  PageForm f(2, tpLeft);
  const TRect d = f.pc->DisplayRect();
  EXPECT_EQ(f.sheets[0]->BoundsRect(), d);
  EXPECT_EQ(d.Left, f.pc->TabRect(0).Right + 4);
}

TEST(ExtPageControl, DockingByCode) {
  PageForm f(1);
  auto* panel = new TPanel(f.form.get());
  panel->SetCaption("Tools\nmore");
  TExtTabSheet* sheet = f.pc->DockClient(panel);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(f.pc->DockClient(panel), nullptr);  // already docked here
  EXPECT_EQ(panel->Parent(), sheet);
  EXPECT_EQ(panel->Align(), alClient);
  EXPECT_EQ(f.pc->ActivePage(), sheet);
  EXPECT_EQ(f.pc->DockedControl(sheet), panel);
  f.pc->DockClientChanged(panel);
  EXPECT_EQ(sheet->Caption(), "Tools");
  panel->SetVisible(false);
  f.pc->DockClientChanged(panel);
  EXPECT_FALSE(sheet->TabVisible());
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);

  panel->SetVisible(true);
  f.pc->DockClientChanged(panel);
  f.pc->SetActivePage(sheet);
  f.pc->UndockClient(panel, f.form.get());
  EXPECT_EQ(panel->Parent(), f.form.get());
  EXPECT_EQ(panel->Align(), alNone);
  EXPECT_EQ(f.pc->PageCount(), 1);
  EXPECT_EQ(f.pc->ActivePage(), f.sheets[0]);

  // A form brings its text as the caption; a double click on its tab undocks it.
  auto* tool = new TForm(f.form.get());
  tool->SetCaption("Tool window");
  TExtTabSheet* s2 = f.pc->DockClient(tool);
  ASSERT_NE(s2, nullptr);
  EXPECT_EQ(s2->Caption(), "Tool window");
  EXPECT_FALSE(s2->TabVisible());  // the form is hidden, so is its tab
  tool->SetVisible(true);
  f.pc->DockClientChanged(tool);
  ASSERT_TRUE(s2->TabShowing());
  const TRect r = f.pc->TabRect(s2->TabIndex());
  f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(r));
  f.pc->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, At(r));
  EXPECT_EQ(f.pc->PageCount(), 1);
  EXPECT_EQ(tool->Parent(), nullptr);
}

}  // namespace
}  // namespace controls
