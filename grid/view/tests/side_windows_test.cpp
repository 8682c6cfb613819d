// The grid's side windows and bitmaps: arrow shapes, the blur of the focus-frame mask, the alpha merge and
// the balloon tooltip window that follows Balloon.Enable, and the editors of form controls in HTML cells.
#include "grid/view/side_windows.h"

#include <gtest/gtest.h>

#include "grid/edit/tests/edit_test_fixture.h"
#include "grid/extgrid.h"
#include "grid/input/html_forms.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"

namespace grid {
namespace {

TEST(SideWindows, ClampRoundByteTruncatesInsideAndClampsOutside) {
  struct Case {
    double x;
    int expected;
  } cases[] = {{255.0, 255}, {254.9, 254}, {-0.5, 0}, {300, 255}, {0, 0}, {17.99, 17}};
  for (const Case& c : cases) EXPECT_EQ(ClampRoundByte(0, 255, c.x), c.expected) << c.x;
  EXPECT_EQ(ClampInt(0, 9, -3), 0);
  EXPECT_EQ(ClampInt(0, 9, 12), 9);
  EXPECT_EQ(ClampInt(0, 9, 4), 4);
}

TEST(SideWindows, KernelWidthFollowsTheRadiusAndKeptWeightsSumToOne) {
  const TGaussKernel small = MakeGaussKernel(1), large = MakeGaussKernel(100);
  EXPECT_LE(small.HalfWidth, 4);
  EXPECT_GE(small.HalfWidth, 2);
  EXPECT_EQ(large.HalfWidth, 10);
  for (const TGaussKernel* k : {&small, &large}) {
    float sum = 0;
    for (int i = 10 - k->HalfWidth; i <= 10 + k->HalfWidth; ++i) sum += k->Weights[static_cast<std::size_t>(i)];
    EXPECT_NEAR(sum, 1.0f, 1e-5f);
  }
}

TEST(SideWindows, BlurRepeatsRowAndColumnFifteenInside) {
  plat::TBitmap b;
  MakeRoundRectMask(b, 60, 60, 3, 8, 0);
  ASSERT_EQ(b.PixelFormat(), plat::pf24bit);
  for (int y = 21; y <= 39; ++y) EXPECT_EQ(std::memcmp(b.ScanLine(y), b.ScanLine(15), 60 * 3), 0) << y;
  for (int y = 0; y < 60; ++y)
    for (int x = 21; x <= 39; ++x) EXPECT_EQ(std::memcmp(b.ScanLine(y) + x * 3, b.ScanLine(y) + 45, 3), 0);
  // The border is soft: from black at the corner to white inside.
  EXPECT_LT(b.ScanLine(0)[2], 64);
  EXPECT_GE(b.ScanLine(30)[30 * 3 + 2], 250);
  const int edge = b.ScanLine(30)[2 * 3 + 2];
  EXPECT_GT(edge, 0);
  EXPECT_LT(edge, 255);
}

TEST(SideWindows, BlurRefusesOtherFormatsAndIgnoresARadiusOfZero) {
  plat::TBitmap b(30, 30, plat::pf32bit);
  try {
    GaussianBlur(b, 2);
    FAIL() << "no error";
  } catch (const plat::Exception& e) {
    EXPECT_EQ(e.Message(), "Blur only works for 24-bit bitmaps");
  }
  plat::TBitmap sharp;
  MakeRoundRectMask(sharp, 40, 40, 0, 4, 0);
  const QImage before = sharp.Image().copy();
  GaussianBlur(sharp, 0);
  EXPECT_EQ(sharp.Image(), before);
}

TEST(SideWindows, MergeMaskPremultipliesByTheMasksRed) {
  plat::TBitmap picture(2, 1, plat::pf24bit), mask(2, 1, plat::pf24bit);
  std::uint8_t* p = picture.ScanLine(0);
  p[0] = 200, p[1] = 100, p[2] = 50, p[3] = p[4] = p[5] = 255;
  std::uint8_t* m = mask.ScanLine(0);
  m[0] = m[1] = 0, m[2] = 128, m[3] = m[4] = m[5] = 0;  // red 128, then red 0
  TGridAlphaMask a;
  a.MergeMask(mask, picture, plat::clRed);
  ASSERT_EQ(a.Width(), 2);
  const std::uint8_t* r = a.ScanLine(0);
  EXPECT_EQ(r[0], 100);  // round(200 * 128 / 255)
  EXPECT_EQ(r[1], 50);
  EXPECT_EQ(r[2], 25);
  EXPECT_EQ(r[3], 128);
  EXPECT_EQ(r[7], 0);
  EXPECT_EQ(r[4], 0);
  TGridAlphaMask untouched;
  plat::TBitmap wrong(3, 3, plat::pf32bit);
  untouched.MergeMask(mask, wrong, plat::clRed);
  EXPECT_EQ(untouched.Width(), 0);
  a.Opacity = 77;
  TGridAlphaMask copy;
  copy.SetSize(2, 1);
  copy.AssignMask(a);
  EXPECT_EQ(copy.Opacity, 77);
  EXPECT_EQ(copy.ScanLine(0)[3], 128);
}

TEST(SideWindows, ArrowsPointAtTheDropPosition) {
  plat::TForm form(nullptr);
  struct Case {
    TArrowDirection dir;
    QPoint tip;
  } cases[] = {{arrUp, {5, 0}}, {arrDown, {5, 8}}, {arrLeft, {8, 5}}, {arrRight, {0, 5}}};
  for (const Case& c : cases) {
    TArrowWindow w(&form, c.dir);
    EXPECT_EQ(w.Arrow().size(), 7);
    EXPECT_TRUE(w.Arrow().contains(c.tip)) << int(c.dir);
    EXPECT_EQ(w.Color(), plat::TColor(0x00FF00));
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(w.Parent(), &form);
  }
  TGridFocusWindow f(&form);
  EXPECT_EQ(f.Width(), 0);
  EXPECT_EQ(f.Color(), plat::TColor(0x0000FF));
}

TEST(SideWindows, BalloonWindowFollowsEnable) {
  plat::TForm form(nullptr);
  auto* g = new TExtStringGrid(&form);
  g->SetParent(&form);
  g->Balloon()->Transparency = 55;
  g->Balloon()->InitialDelay = 300;
  g->Balloon()->SetEnable(true);
  TBalloonTipWindow* tip = g->ToolTipWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->Title, "ToolTipText");
  EXPECT_EQ(tip->Icon, 3);
  EXPECT_EQ(tip->Alpha, 200);
  EXPECT_EQ(tip->InitialDelay, 300);
  EXPECT_EQ(tip->ReshowDelay, -1);
  EXPECT_TRUE(tip->ToolAdded);
  g->Balloon()->SetEnable(false);
  EXPECT_EQ(g->ToolTipWindow(), nullptr);
  EXPECT_FALSE(g->Balloon()->TooltipReady);
  g->Balloon()->Transparency = 0;
  g->Balloon()->SetEnable(true);
  ASSERT_NE(g->ToolTipWindow(), nullptr);
  EXPECT_EQ(g->ToolTipWindow()->Alpha, 255);
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

using FormControlEditors = edittest::EditFixture;

// Enter ends a form control's edit into the cell; Tab goes on to the cell's next editable control, or with
// AdvanceAuto to the next cell.
TEST_F(FormControlEditors, EnterEndsTheControlsEditAndTabGoesOnToTheNextControl) {
  g->SetColWidths(2, 200);
  g->SetDefaultRowHeight(30);
  g->SetCells(2, 2, "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"one\" WIDTH=\"60\"> "
                    "<CONTROL TYPE=\"EDIT\" ID=\"e2\" VALUE=\"two\" WIDTH=\"60\">");
  g->FocusCell(2, 2);
  g->EditCellControl(2, 2, "e1");
  plat::TEdit* e = g->HTMLForms().EditControl();
  ASSERT_NE(e, nullptr);
  EXPECT_NE(dynamic_cast<TControlEdit*>(e), nullptr);
  ASSERT_TRUE(e->Visible());
  EXPECT_EQ(e->Text(), "one");
  e->SetSelStart(3);
  Type("x");
  Key(Qt::Key_Tab);
  EXPECT_TRUE(g->Cells(2, 2).contains("VALUE=\"onex\""));
  ASSERT_TRUE(e->Visible());  // now over the second control
  EXPECT_EQ(g->HTMLForms().CurrentControlID(), "e2");
  EXPECT_EQ(e->Text(), "two");
  Flush();
  EXPECT_TRUE(form->Widget()->grab().toImage().save(edittest::ShotPath("edit_form_control")));
  e->SetSelStart(3);
  Type("y");
  Key(Qt::Key_Return);
  EXPECT_FALSE(e->Visible());
  EXPECT_TRUE(g->Cells(2, 2).contains("VALUE=\"twoy\""));
  EXPECT_EQ(FocusWidget(), g->Widget());
  // The last control hands Tab on to the next cell with AdvanceAuto.
  g->Navigation()->SetAdvanceAuto(true);
  g->EditCellControl(2, 2, "e2");
  ASSERT_TRUE(e->Visible());
  Key(Qt::Key_Tab);
  EXPECT_FALSE(e->Visible());
  EXPECT_EQ(g->Col() * 10 + g->Row(), 32);
}

}  // namespace
}  // namespace grid
