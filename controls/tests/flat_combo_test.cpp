// The flat combo box: its settings' limits, focus colours, own borders and button (not right to left), the
// close notice, flat colours and the attached label's places.
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "controls/flat_combo.h"
#include "platform/forms/forms.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;

namespace controls {
namespace {

struct ComboForm {
  ComboForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 150);
    form->SetColor(clTeal);
    combo = new TEsgComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(100, 50, 120, 22);
    combo->Items()->Add("one");
    combo->Items()->Add("two");
  }
  QImage Grab() {
    combo->Repaint();
    return combo->Widget()->grab().toImage();
  }
  std::unique_ptr<TForm> form;
  TEsgComboBox* combo;
};

TEST(FlatCombo, ButtonWidthLimitsAndSelectItem) {
  ComboForm f;
  EXPECT_EQ(f.combo->ButtonWidth(), 19);
  for (int v : {13, 33}) {
    f.combo->SetButtonWidth(v);
    EXPECT_EQ(f.combo->ButtonWidth(), 19);
  }
  for (int v : {14, 32}) {
    f.combo->SetButtonWidth(v);
    EXPECT_EQ(f.combo->ButtonWidth(), v);
  }
  f.combo->SelectItem("two");
  EXPECT_EQ(f.combo->ItemIndex(), 1);
  f.combo->SelectItem("three");
  EXPECT_EQ(f.combo->ItemIndex(), 1);
}

TEST(FlatCombo, FocusColourReturnsToTheInitColour) {
  ComboForm f;
  f.combo->SetColor(clWhite);
  f.combo->SetFocusColor(clYellow);
  f.combo->Perform(CM_ENTER);
  EXPECT_EQ(f.combo->Color(), clYellow);
  EXPECT_TRUE(f.combo->HasFocus());
  f.combo->Perform(CM_EXIT);
  EXPECT_EQ(f.combo->Color(), TColor(0));  // Init never ran: black
  f.combo->SetColor(clWhite);
  f.combo->Init();
  f.combo->Perform(CM_ENTER);
  f.combo->Perform(CM_EXIT);
  EXPECT_EQ(f.combo->Color(), clWhite);
  // The label turns bold while focused.
  f.combo->SetFocusLabel(true);
  f.combo->SetLabelCaption("Name");
  f.combo->Perform(CM_ENTER);
  EXPECT_TRUE(f.combo->ComboLabel()->Font()->Style().Contains(fsBold));
  f.combo->Perform(CM_EXIT);
  EXPECT_FALSE(f.combo->ComboLabel()->Font()->Style().Contains(fsBold));
}

TEST(FlatCombo, OwnBordersAndButton) {
  ComboForm f;
  f.form->Show();
  f.combo->Perform(CM_EXIT);  // showing the form focused it
  const int H = f.combo->Height(), W = f.combo->Width();
  EXPECT_FALSE(f.combo->OwnLook());
  // A focus border only while focused.
  f.combo->SetFocusBorderColor(clRed);
  EXPECT_FALSE(ExpectPixel(f.Grab(), 0, H / 2, clRed));
  f.combo->Perform(CM_ENTER);
  EXPECT_TRUE(ExpectPixel(f.Grab(), 0, H / 2, clRed));
  f.combo->Perform(CM_EXIT);
  f.combo->SetFocusBorderColor(clNone);
  // A border colour, and an own button face that follows the pointer.
  f.combo->SetBorderColor(clBlue);
  f.combo->ButtonColor = clLime;
  f.combo->ButtonColorHot = clFuchsia;
  QImage img = f.Grab();
  EXPECT_TRUE(ExpectPixel(img, 0, H / 2, clBlue));
  EXPECT_TRUE(ExpectPixel(img, W - 8, 4, clLime));
  f.combo->Perform(WM_MOUSEMOVE, 0, MakeLParam(W - 5, 5));
  EXPECT_TRUE(f.combo->ButtonHover());
  EXPECT_TRUE(ExpectPixel(f.Grab(), W - 8, 4, clFuchsia));
  f.combo->Perform(WM_MOUSEMOVE, 0, MakeLParam(5, 5));
  EXPECT_FALSE(f.combo->ButtonHover());
  // Right to left: neither the own button nor the own borders.
  f.combo->Widget()->setLayoutDirection(Qt::RightToLeft);
  img = f.Grab();
  EXPECT_EQ(CountColour(img, clBlue), 0);
  EXPECT_EQ(CountColour(img, clLime), 0);
  f.form->Hide();
}

TEST(FlatCombo, FlatLookTakesTheParentColour) {
  ComboForm f;
  f.combo->SetFlat(true);
  EXPECT_EQ(f.combo->Color(), clTeal);
  f.form->Show();
  const QImage img = f.Grab();
  EXPECT_TRUE(ExpectPixel(img, 0, 5, clTeal));  // the outer frame in the parent's colour
  f.combo->SetFlatParentColor(false);
  f.combo->SetFlat(true);
  EXPECT_EQ(f.combo->Color(), clWindow);
  // Disabled, a flat combo takes the parent's colour; enabled again, its own.
  f.combo->SetColor(clWhite);
  f.combo->SetEnabled(false);
  EXPECT_EQ(f.combo->Color(), clTeal);
  f.combo->SetEnabled(true);
  EXPECT_EQ(f.combo->Color(), clWhite);
  f.form->Hide();
}

TEST(FlatCombo, ClosingTheListRaisesDropUpOnce) {
  ComboForm f;
  int ups = 0;
  f.combo->OnDropUp = [&](TObject*) { ++ups; };
  f.form->Show();
  f.combo->SetDroppedDown(true);
  f.combo->SetDroppedDown(false);
  EXPECT_EQ(ups, 1);
  f.form->Hide();
}

TEST(FlatCombo, LabelPlacesAroundTheCombo) {
  ComboForm f;
  f.combo->SetLabelCaption("Label");
  TLabel* l = f.combo->ComboLabel();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Parent(), f.form.get());
  EXPECT_EQ(l->FocusControl(), f.combo);
  const int w = l->Width(), h = l->Height();
  const int L = 100, T = 50, W = 120, H = 22, M = 4;
  const struct {
    TLabelPosition pos;
    int left, top;
  } cases[] = {
      {lpLeftTop, L - w - M, T},          {lpLeftCenter, L - w - M, T + (H - h) / 2},
      {lpLeftBottom, L - w - M, T + H - h}, {lpTopLeft, L, T - h - M},
      {lpBottomLeft, L, T + H + M},       {lpLeftTopLeft, L - M, T},
      {lpTopCenter, L + (W - w) / 2, T - h - M}, {lpRightCenter, L + W + M, T + (H - h) / 2},
      {lpRighBottom, L + W + M, T + H - h},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.pos));
    f.combo->SetLabelPosition(c.pos);
    EXPECT_EQ(l->Left(), c.left);
    EXPECT_EQ(l->Top(), c.top);
  }
  f.combo->SetLeft(150);  // the label moves along
  EXPECT_EQ(l->Left(), 150 + W + M);
  f.combo->SetVisible(false);
  EXPECT_FALSE(l->Visible());
  f.combo->SetVisible(true);
  f.combo->SetEnabled(false);
  EXPECT_FALSE(l->Enabled());
  f.combo->SetLabelAlwaysEnabled(true);
  EXPECT_TRUE(l->Enabled());
}

}  // namespace
}  // namespace controls

namespace controls {
namespace {

TEST(FlatCombo, Screenshot) {
  ComboForm f;
  f.form->SetColor(clBtnFace);
  f.combo->SetLabelCaption("Unit:");
  f.combo->SetLabelPosition(lpLeftCenter);
  f.combo->SetFlat(true);
  f.combo->SetItemIndex(0);
  auto* coloured = new TEsgComboBox(f.form.get());
  coloured->SetParent(f.form.get());
  coloured->SetBounds(100, 90, 120, 22);
  coloured->Items()->Add("coloured");
  coloured->SetItemIndex(0);
  coloured->SetBorderColor(clNavy);
  coloured->ButtonColor = TColor(0xF0D0B0);
  coloured->ButtonBorderColor = clNavy;
  coloured->ButtonTextColor = clNavy;
  coloured->SetLabelCaption("Coloured");
  coloured->SetLabelPosition(lpLeftCenter);
  f.form->Show();
  const QImage img = f.form->Widget()->grab().toImage();
  img.save(QStringLiteral(TEST_BINARY_DIR "/screens/flat_combo.png"));
  EXPECT_GT(CountColour(img, clNavy), 100);
  f.form->Hide();
}

}  // namespace
}  // namespace controls
