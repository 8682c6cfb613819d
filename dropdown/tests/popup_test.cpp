// The popup of the drop-down edit: opening and closing by keys and by deactivation, the value restored on
// cancel, placement against fake monitors, sizing, the 250 ms guard of the drop button, and the vetoes.
#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "dropdown/tests/dropdown_fixture.h"
#include "platform/forms/monitors.h"
#include "platform/forms/popupform.h"

using namespace plat;

namespace dropdown {
namespace {

using testing::DropDownForm;

// Fake monitors installed for one test: a 1024 x 768 primary monitor unless told otherwise.
struct FakeMonitors {
  FakeMonitors() { SetMonitors(&monitors); }
  ~FakeMonitors() { SetMonitors(nullptr); }
  TFixedMonitors monitors;
};

struct FakeClock {
  FakeClock() {
    SetTickSource([this] { return now; });
  }
  ~FakeClock() { SetTickSource(nullptr); }
  std::uint32_t now = 100000;
};

// A shown form with its drop-down and a fake clock.
struct ShownDropDown : DropDownForm {
  ShownDropDown() {
    monitors.monitors.Add(TRect(0, 0, 1024, 768), TRect(0, 0, 1024, 740));
    form->Show();
    QApplication::processEvents();
  }
  QWidget* Popup() const { return drop->DropDownForm()->Widget(); }
  bool Open() const { return drop->DroppedDown() && drop->DropDownForm()->Visible(); }
  FakeMonitors monitors;
  FakeClock clock;
};

TEST(Popup, KeysOpenAndClose) {
  ShownDropDown s;
  QWidget* edit = s.drop->Widget();
  QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
  EXPECT_TRUE(s.Open());
  EXPECT_TRUE(s.drop->DropDownForm()->Widget()->isVisible());
  QTest::keyClick(s.drop->Inner->Widget(), Qt::Key_Up, Qt::AltModifier);
  EXPECT_FALSE(s.Open());
  QTest::keyClick(edit, Qt::Key_F4);
  EXPECT_TRUE(s.Open());
  QTest::keyClick(s.drop->Inner->Widget(), Qt::Key_F4);
  EXPECT_FALSE(s.Open());
  s.drop->ShowDropDown();
  QTest::keyClick(s.drop->Inner->Widget(), Qt::Key_Return);
  EXPECT_FALSE(s.Open());
  s.drop->ShowDropDown();
  QTest::keyClick(s.Popup(), Qt::Key_Escape);  // a key on the popup itself reaches the edit too
  EXPECT_FALSE(s.Open());
}

TEST(Popup, EscapeRestoresTheValueHeldAtOpeningAndEnterKeepsTheNew) {
  ShownDropDown s;
  s.drop->SetText(QStringLiteral("set"));
  s.drop->SetPlainText(QStringLiteral("typed"));  // the user's text, not written through Text
  std::vector<bool> dropUps;
  s.drop->OnDropUp = [&](TObject*, bool Cancelled) { dropUps.push_back(Cancelled); };
  s.drop->ShowDropDown();
  s.drop->SetPlainText(QStringLiteral("changed in the popup"));
  QTest::keyClick(s.drop->Inner->Widget(), Qt::Key_Escape);
  EXPECT_EQ(s.drop->Text(), QStringLiteral("typed"));
  s.drop->ShowDropDown();
  s.drop->SetPlainText(QStringLiteral("picked"));
  QTest::keyClick(s.drop->Inner->Widget(), Qt::Key_Return);
  EXPECT_EQ(s.drop->Text(), QStringLiteral("picked"));
  EXPECT_EQ(dropUps, (std::vector<bool>{true, false}));
}

TEST(Popup, OutsideClickCancelsAndTheClosingClickDoesNotReopen) {
  ShownDropDown s;
  s.drop->SetText(QStringLiteral("before"));
  s.drop->ShowDropDown();
  s.drop->SetPlainText(QStringLiteral("during"));
  s.clock.now = 200000;
  s.Popup()->close();  // what the window system does on a click outside the popup
  EXPECT_FALSE(s.Open());
  EXPECT_EQ(s.drop->Text(), QStringLiteral("before"));
  EXPECT_EQ(s.drop->DropDownForm()->DeActivateTime(), 200000u);
  auto click = [&] { s.drop->Button()->OnClick(s.drop->Button()); };
  s.clock.now = 200250;
  click();
  EXPECT_FALSE(s.Open());
  s.clock.now = 200251;
  click();
  EXPECT_TRUE(s.Open());
}

TEST(Popup, DeactivationRules) {
  ShownDropDown s;
  TDropDownForm& popup = *s.drop->DropDownForm();
  s.drop->ShowDropDown();
  // A window inside the popup (here its hosted edit) keeps it open.
  popup.Perform(WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(s.drop->Inner->Handle()));
  EXPECT_TRUE(s.Open());
  popup.SetBlockActivate(true);
  s.clock.now = 300000;
  popup.Perform(WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(s.form->Handle()));
  EXPECT_TRUE(s.Open());
  EXPECT_NE(popup.DeActivateTime(), 300000u);
  popup.SetBlockActivate(false);
  popup.SetCancelOnDeActivate(false);
  bool cancelled = true;
  s.drop->OnDropUp = [&](TObject*, bool c) { cancelled = c; };
  popup.Perform(WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(s.form->Handle()));
  EXPECT_FALSE(s.Open());
  EXPECT_FALSE(cancelled);
}

TEST(Popup, PlacedByTheDropPositionAndTheWorkArea) {
  DropDownForm f;
  f.form->Show();
  QApplication::processEvents();
  TExtCustomDropDown& d = *f.drop;
  d.SetDropDownWidth(200);
  d.SetDropDownHeight(100);
  const TPoint p = f.form->ClientToScreen(TPoint(d.Left(), d.Top()));
  const struct {
    const char* name;
    TDropPosition position;
    int screenHeight;
    TRect workArea;
    TPoint expected;
  } cases[] = {
      {"auto, room below", dpAuto, p.Y + 101, TRect(0, 0, 2000, 2000), TPoint(p.X, p.Y + 24 - 1)},
      {"auto, popup reaches the screen height", dpAuto, p.Y + 100, TRect(0, 0, 2000, 2000), TPoint(p.X, p.Y - 100)},
      {"up", dpUp, 2000, TRect(0, 0, 2000, 2000), TPoint(p.X, p.Y - 100)},
      {"down near the bottom", dpDown, p.Y + 10, TRect(0, 0, 2000, 2000), TPoint(p.X, p.Y + 23)},
      {"shifted left to the work area's edge", dpDown, 2000, TRect(0, 0, p.X + 50, 2000),
       TPoint(p.X + 50 - 200, p.Y + 23)},
      {"not shifted on a monitor left of 0", dpDown, 2000, TRect(-1280, 0, p.X + 50, 2000), TPoint(p.X, p.Y + 23)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMonitors m;
    m.monitors.Add(TRect(0, 0, 4000, c.screenHeight), c.workArea);
    d.SetDropPosition(c.position);
    d.ShowDropDown();
    ASSERT_TRUE(d.DroppedDown());
    EXPECT_EQ(TPoint(d.DropDownForm()->Left(), d.DropDownForm()->Top()), c.expected);
    d.HideDropDown(true);
  }
}

TEST(Popup, SizedFromTheControlAndTheUserSize) {
  ShownDropDown s;
  TExtCustomDropDown& d = *s.drop;
  d.ShowDropDown();
  // The hosted control's width; its height plus the border and the shown bars.
  EXPECT_EQ(d.DropDownForm()->Width(), 150);
  EXPECT_EQ(d.DropDownForm()->Height(), 2 + 22 + 22 + 60);
  d.DropDownForm()->SetBounds(d.DropDownForm()->Left(), d.DropDownForm()->Top(), 300, 250);
  d.HideDropDown(false);
  d.ShowDropDown();
  EXPECT_EQ(d.DropDownForm()->Width(), 300);
  EXPECT_EQ(d.DropDownForm()->Height(), 250);
  d.HideDropDown(false);
  d.SetDropDownWidth(180);  // forgets the user's width only
  d.ShowDropDown();
  EXPECT_EQ(d.DropDownForm()->Width(), 180);
  EXPECT_EQ(d.DropDownForm()->Height(), 250);
}

TEST(Popup, NeverOpensWhenVetoedReadOnlyOrDisabled) {
  ShownDropDown s;
  TExtCustomDropDown& d = *s.drop;
  d.OnDropDown = [](TObject*, bool& accept) { accept = false; };
  d.ShowDropDown();
  EXPECT_FALSE(s.Open());
  d.OnDropDown = nullptr;
  d.SetReadOnly(true);
  QTest::keyClick(d.Widget(), Qt::Key_F4);
  EXPECT_FALSE(s.Open());
  d.SetReadOnly(false);
  d.SetEnabled(false);
  d.ShowDropDown();
  EXPECT_FALSE(s.Open());
}

TEST(Popup, DisplayOnlyEditOpensOnAClickAndDropsTyping) {
  ShownDropDown s;
  testing::TTestDropDown& d = *s.drop;
  d.SetText(QStringLiteral("shown"));
  d.SetEditorEnabled(false);
  QTest::keyClicks(d.Widget(), QStringLiteral("xy"));
  QTest::keyClick(d.Widget(), Qt::Key_Left);
  EXPECT_EQ(d.Text(), QStringLiteral("shown"));
  QTest::mouseClick(d.Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(s.Open());
  QTest::keyClick(d.Inner->Widget(), Qt::Key_Escape);
  EXPECT_FALSE(s.Open());
}

TEST(Popup, ReturnIsTabMovesTheFocus) {
  ShownDropDown s;
  auto* next = new TEdit(s.form.get());
  next->SetParent(s.form.get());
  next->SetBounds(20, 80, 100, 24);
  s.drop->SetReturnIsTab(true);
  s.drop->SetFocus();
  QApplication::processEvents();
  QTest::keyClick(s.drop->Widget(), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_TRUE(next->Focused());
}

TEST(Popup, ButtonWidthLaysOutTheButtonAndTheText) {
  DropDownForm f;
  TExtCustomDropDown& d = *f.drop;
  d.SetDropDownButtonWidth(25);
  EXPECT_EQ(d.Button()->Width(), 25);
  EXPECT_EQ(d.GetEditRect().Right, d.ClientWidth() - 25 - 3);
  d.Button()->SetBounds(0, 0, 60, 20);  // the container keeps the button's width
  EXPECT_EQ(d.Button()->Width(), 25);
}

TEST(Popup, LabelPlacedBesideTheEdit) {
  DropDownForm f;
  TExtCustomDropDown& d = *f.drop;
  d.SetLabelPosition(lpLeftCenter);
  d.LabelFont()->SetHeight(-40);  // taller than the edit
  d.SetLabelCaption(QStringLiteral("Value"));
  TLabel* l = d.Label();
  ASSERT_NE(l, nullptr);
  ASSERT_GT(l->Height(), d.Height());
  EXPECT_EQ(l->Top(), d.Top() - (l->Height() - d.Height()) / 2);
  EXPECT_EQ(l->Left() + l->Width() + d.LabelMargin(), d.Left());
}

}  // namespace
}  // namespace dropdown
