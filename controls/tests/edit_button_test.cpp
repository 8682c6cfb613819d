// The edit with a button and the unit editor: units split off values, the unit menu, keys with the editor
// disabled, the button press on release, layout and the button's looks.
#include <QApplication>
#include <QClipboard>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "controls/edit_button.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/graphics/canvas.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;

namespace controls {
namespace {

struct EditForm {
  EditForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 100);
    edit = new TEsgUnitEditBtn(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 150, 24);
    TStringList units;
    units.Add("km");
    units.Add("m");
    edit->SetUnits(units);
    // The unit menu would wait for a choice: by default it is closed at once.
    oldRunner = SetPopupMenuRunner([](TPopupMenu*, int, int) -> TMenuItem* { return nullptr; });
  }
  ~EditForm() { SetPopupMenuRunner(oldRunner); }
  TPopupMenuRunner oldRunner;
  void ShowFocused() {
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    edit->SetFocus();
    QApplication::processEvents();
  }
  std::unique_ptr<TForm> form;
  TEsgUnitEditBtn* edit;
};

TEST(EditButton, TextAndUnitTakesTheFirstUnitThatEndsTheValue) {
  const struct {
    std::initializer_list<const char*> units;
    const char* value;
    const char* text;
    const char* unit;
  } cases[] = {
      {{"km", "m"}, "12km", "12", "km"}, {{"m", "km"}, "12km", "12k", "m"}, {{"m"}, "m5m", "0", ""},
      {{"m"}, "12", "0", ""},            {{}, "12km", "0", ""},               {{"kg"}, "kg", "", "kg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EditForm f;
    TStringList units;
    for (const char* u : c.units) units.Add(u);
    f.edit->SetUnits(units);
    f.edit->SetTextAndUnit(c.value);
    EXPECT_EQ(f.edit->Text(), c.text);
    EXPECT_EQ(f.edit->UnitID(), c.unit);
    EXPECT_EQ(f.edit->TextAndUnit(), QString(c.text) + c.unit);
  }
}

TEST(EditButton, UnitMenuSetsTheUnitAndReportsOnlyChanges) {
  EditForm f;
  QStringList log;
  f.edit->OnClickBtn = [&](TObject*) { log << "ClickBtn"; };
  f.edit->OnUnitChanged = [&](TObject*, const QString& u) { log << "Unit " + u; };
  int pick = 1;
  QStringList shown;
  auto old = SetPopupMenuRunner([&](TPopupMenu* menu, int, int) -> TMenuItem* {
    for (int i = 0; i < menu->Items()->Count(); ++i) shown << menu->Items()->Items(i)->Caption();
    return menu->Items()->Items(pick);
  });
  f.edit->ClickButton();
  EXPECT_EQ(shown, QStringList({"km", "m"}));
  EXPECT_EQ(f.edit->UnitID(), "m");
  f.edit->ClickButton();  // the same unit again: no change reported
  pick = 0;
  f.edit->ClickButton();
  SetPopupMenuRunner(old);
  EXPECT_EQ(log, QStringList({"ClickBtn", "Unit m", "ClickBtn", "ClickBtn", "Unit km"}));
  // Commands carrying the edit's change code, or numbers beyond the list, change nothing.
  f.edit->Perform(WM_COMMAND, (0x0300u << 16) | 2u, 0);
  f.edit->Perform(WM_COMMAND, 3, 0);
  EXPECT_EQ(f.edit->UnitID(), "km");
}

TEST(EditButton, ReleaseOfTheLeftButtonPressesItWhereverThePointerIs) {
  EditForm f;
  int clicks = 0;
  f.edit->OnClickBtn = [&](TObject*) { ++clicks; };
  TExtSpeedButton* sb = f.edit->Button()->SpeedButton();
  sb->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  EXPECT_TRUE(sb->Down());
  sb->Perform(WM_LBUTTONUP, 0, MakeLParam(-40, 90));  // dragged off
  EXPECT_FALSE(sb->Down());
  EXPECT_EQ(clicks, 1);
  sb->Perform(WM_RBUTTONUP, 0, MakeLParam(3, 3));
  EXPECT_EQ(clicks, 1);
}

TEST(EditButton, DisabledEditorTakesNoTypingCutOrPasteButF4AndTheButtonWork) {
  EditForm f;
  f.ShowFocused();
  ASSERT_TRUE(f.edit->Focused());
  int clicks = 0;
  f.edit->OnClickBtn = [&](TObject*) { ++clicks; };
  f.edit->SetText("12");
  f.edit->SetEditorEnabled(false);
  f.edit->SelectAll();
  QApplication::clipboard()->setText("99");
  QTest::keyClicks(f.edit->Widget(), "34");
  QTest::keyClick(f.edit->Widget(), Qt::Key_Backspace);
  f.edit->Perform(WM_CUT);
  f.edit->Perform(WM_PASTE);
  EXPECT_EQ(f.edit->Text(), "12");
  QTest::keyClick(f.edit->Widget(), Qt::Key_F4);
  EXPECT_EQ(clicks, 1);
  QTest::keyClick(f.edit->Widget(), Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(clicks, 1);
  f.edit->SetEditorEnabled(true);
  f.edit->SelectAll();
  QTest::keyClicks(f.edit->Widget(), "34");
  EXPECT_EQ(f.edit->Text(), "34");
  f.edit->SelectAll();
  f.edit->Perform(WM_PASTE);
  EXPECT_EQ(f.edit->Text(), "99");
  f.form->Hide();
}

TEST(EditButton, ButtonSitsInsideTheRightEdgeAndTheTextStopsBeforeUnitAndButton) {
  EditForm f;
  TEsgEditButton* b = f.edit->Button();
  EXPECT_EQ(b->Width(), 18);
  EXPECT_EQ(b->BoundsRect(), TRect(150 - 18 - 3, 2, 150 - 3, 24 - 3));
  EXPECT_EQ(b->SpeedButton()->BoundsRect(), TRect(0, 0, 18, 19));
  // Client width 146: right = 146 - (18 + 20 + 5) - 3.
  EXPECT_EQ(f.edit->TextRect(), TRect(1, 1, 100, 21));
  EXPECT_TRUE(f.edit->RightAlign());
  EXPECT_EQ(f.edit->Text(), "0");
  f.edit->SetUnitSpace(0);
  EXPECT_EQ(f.edit->TextRect().Right, 146 - 23);
  f.edit->SetHeight(5);  // raised to the font's height and a quarter
  EXPECT_GT(f.edit->Height(), 12);
}

TEST(EditButton, ButtonLooks) {
  EditForm f;
  f.form->Show();
  TEsgEditButton* b = f.edit->Button();
  TExtSpeedButton* sb = b->SpeedButton();
  auto grab = [&] {
    b->Repaint();
    return b->Widget()->grab().toImage();
  };
  // Plain colours by state.
  b->ButtonColor = clRed;
  b->ButtonColorHot = clLime;
  b->ButtonColorDown = clBlue;
  EXPECT_TRUE(ExpectPixel(grab(), 9, 9, clRed));
  sb->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(ExpectPixel(grab(), 9, 9, clLime));
  sb->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  EXPECT_TRUE(ExpectPixel(grab(), 9, 9, clBlue));
  sb->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
  sb->Perform(CM_MOUSELEAVE);
  // Classic push button face, with a glyph centred in it.
  b->ButtonColor = clNone;
  sb->SetFlat(false);
  TBitmap glyph(6, 4);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(TRect(0, 0, 6, 4));
  glyph.Canvas()->SetPixels(0, 3, clWhite);  // the transparent colour
  f.edit->SetGlyph(&glyph);
  const QImage img = grab();
  EXPECT_TRUE(ExpectPixel(img, 3, 3, clBtnFace));
  EXPECT_EQ(BoundingBox(img, clFuchsia), TRect(6, 7, 12, 11));
  f.form->Hide();
}

}  // namespace
}  // namespace controls

namespace controls {
namespace {

TEST(EditButton, Screenshot) {
  EditForm f;
  f.edit->SetTextAndUnit("12.5km");
  f.edit->SetButtonCaption("...");
  auto* plain = new TEsgEditBtn(f.form.get());
  plain->SetParent(f.form.get());
  plain->SetBounds(10, 50, 150, 24);
  plain->SetText("C:\\data");
  f.form->Show();
  const QImage img = f.form->Widget()->grab().toImage();
  img.save(QStringLiteral(TEST_BINARY_DIR "/screens/edit_button.png"));
  // The unit text is drawn between the number and the button.
  EXPECT_FALSE(BoundingBoxExcept(f.edit->UnitLabel()->Widget()->grab().toImage(), clWindow).IsEmpty());
  f.form->Hide();
}

}  // namespace
}  // namespace controls
