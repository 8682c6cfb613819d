// Component styles as colour tables: popup, bars and buttons per style, the custom style, colour tones, the
// selection styles and the item colours; and the drop button's coloured looks.
#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "dropdown/button_appearance.h"
#include "dropdown/dropdown_styles.h"
#include "dropdown/tests/dropdown_fixture.h"
#include "platform/graphics/gdivalues.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace controls;

namespace dropdown {
namespace {

using testing::DropDownForm;

TEST(Styles, PopupBarsAndButtonsFollowTheStyle) {
  DropDownForm f;
  TExtCustomDropDown& d = *f.drop;
  EXPECT_EQ(d.GetComponentStyle(), tsOffice2007Luna);  // the constructor's style
  EXPECT_EQ(d.DropDownColor(), RGB(218, 229, 243));
  d.SetComponentStyle(tsWindowsVista);
  EXPECT_EQ(d.DropDownColor(), RGB(255, 255, 255));
  EXPECT_EQ(d.DropDownBorderColor(), RGB(151, 151, 151));
  EXPECT_EQ(d.DropDownHeader()->Color, RGB(249, 253, 255));
  EXPECT_EQ(d.DropDownHeader()->ColorTo, RGB(240, 250, 255));
  EXPECT_EQ(d.DropDownFooter()->Color, RGB(240, 250, 255));  // the footer's gradient runs the other way
  EXPECT_EQ(d.DropDownFooter()->ColorTo, RGB(249, 253, 255));
  EXPECT_EQ(d.DropDownFooter()->BorderColor, RGB(218, 242, 252));
  EXPECT_EQ(d.ButtonAppearance()->ColorDownTo(), RGB(215, 240, 253));
  // A dash in the table leaves the border colour as it was.
  d.SetDropDownBorderColor(clLime);
  d.SetComponentStyle(tsOffice2003Blue);
  EXPECT_EQ(d.DropDownBorderColor(), clLime);
  EXPECT_EQ(d.DropDownHeader()->BorderColor, RGB(0, 0, 0));
  EXPECT_EQ(d.DropDownFooter()->BorderColor, RGB(0, 45, 150));
  EXPECT_EQ(d.DropDownHeader()->Font()->Color(), RGB(0, 0, 0));
  EXPECT_EQ(d.ButtonAppearance()->ColorHot(), RGB(255, 253, 235));
  int notices = 0;
  d.ButtonAppearance()->OnChange = [&](TObject*) { ++notices; };
  d.SetComponentStyle(tsOffice2010Black);
  EXPECT_EQ(d.ButtonAppearance()->ColorHotTo(), clNone);
  EXPECT_EQ(d.ButtonAppearance()->BorderColorChecked(), RGB(206, 160, 79));
  EXPECT_GT(notices, 0);
}

TEST(Styles, CustomStyleChangesOnlyTheStoredStyle) {
  DropDownForm f;
  TExtCustomDropDown& d = *f.drop;
  d.SetDropDownColor(clLime);
  d.DropDownHeader()->Color = clRed;
  d.SetComponentStyle(tsCustom);
  EXPECT_EQ(d.GetComponentStyle(), tsCustom);
  EXPECT_EQ(d.DropDownColor(), clLime);
  EXPECT_EQ(d.DropDownHeader()->Color, clRed);
}

TEST(Styles, ColorTonesColourTheButtonAndTheBorder) {
  DropDownForm f;
  TColorTones tones;
  tones.Background = {clRed, clMaroon, clNone};
  tones.Hover = {clYellow, clNone, clNone};
  tones.Selected = {clBlue, clNone, clNone};
  f.drop->SetColorTones(tones);
  EXPECT_EQ(f.drop->Button()->ButtonColor, clRed);
  EXPECT_EQ(f.drop->Button()->ButtonColorHot, clYellow);
  EXPECT_EQ(f.drop->Button()->ButtonColorDown, clBlue);
  EXPECT_EQ(f.drop->Button()->ButtonBorderColor, clMaroon);
  EXPECT_EQ(f.drop->BorderColor(), clMaroon);
}

TEST(Styles, SelectionStylesSetTheirColours) {
  DropDownForm f;
  TExtCustomDropDown& d = *f.drop;
  EXPECT_EQ(d.SelectionColor(), RGB(253, 255, 215));
  EXPECT_EQ(d.SelectionColorTo(), RGB(252, 212, 88));
  d.SetSelectionColorStyle(scWindows7);
  EXPECT_EQ(d.SelectionColor(), RGB(220, 235, 252));
  EXPECT_EQ(d.SelectionColorTo(), RGB(193, 219, 252));
  d.SetSelectionColor(clAqua);
  d.SetSelectionColorStyle(scCustom);
  EXPECT_EQ(d.SelectionColor(), clAqua);
  TBitmap b(20, 10);
  d.DrawSelectionBackground(*b.Canvas(), TRect(0, 0, 20, 10), 0, clWhite);
  EXPECT_TRUE(plat::testing::ExpectRectFilled(b, TRect(0, 0, 20, 10), clAqua));
}

TEST(Styles, ItemColoursPerStyle) {
  TItemAppearanceColors a;
  a.BorderColorHot = clRed;
  SetItemAppearanceStyle(&a, tsWindowsXP);
  EXPECT_EQ(a.ColorSelected, clHighlight);
  EXPECT_EQ(a.ColorSelectedTo, clNone);
  EXPECT_EQ(a.ColorSelectedText, clHighlightText);
  EXPECT_EQ(a.BorderColorHot, clNone);
  SetItemAppearanceStyle(&a, tsOffice2007Silver);
  EXPECT_EQ(a.ColorMirrorHot, RGB(255, 218, 89));
  EXPECT_EQ(a.EdgeColor, RGB(223, 217, 195));
  EXPECT_EQ(a.ColorSelectedText, RGB(0, 0, 0));
  a.ColorHot = clLime;
  SetItemAppearanceStyle(&a, tsCustom);
  EXPECT_EQ(a.ColorHot, clLime);
  SetItemAppearanceStyle(nullptr, tsWindows7);
}

TEST(Styles, PressedButtonAfterSetUpDrawsUnpressed) {
  DropDownForm f;
  f.form->Show();
  TDropDownEditButton& b = *f.drop->Button();
  b.ButtonColor = clRed;
  b.ButtonColorDown = clBlue;
  b.ButtonTextColor = clBlack;
  b.ButtonTextColorDown = clBlack;
  QWidget* w = b.SpeedButton()->Widget();
  const QPoint inside(2, 3);
  auto fillAt = [&] { return plat::testing::PixelAt(w->grab().toImage(), 12, 3); };
  QTest::mousePress(w, Qt::LeftButton, {}, inside);
  EXPECT_EQ(fillAt(), clBlue);
  QTest::mouseRelease(w, Qt::LeftButton, {}, inside);
  f.drop->HideDropDown(false);
  b.SpeedButton()->SetUp();
  QTest::mousePress(w, Qt::LeftButton, {}, inside);
  EXPECT_EQ(fillAt(), clRed);
  QTest::mouseRelease(w, Qt::LeftButton, {}, inside);
}

}  // namespace
}  // namespace dropdown
