// The search panel's small controls: the flat glyph button (margins, groups, check style, drop-down part,
// disabled glyph, looks and painted colours), the owner-drawn check box (read-only, keys, accelerator) and the
// return-aware edit. Pictures of the button's states are kept under screens/ for a look.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "controls/ext_check_box.h"
#include "controls/ext_grid_button.h"
#include "controls/ret_edit.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/testing/pixels.h"

using namespace plat;

namespace controls {
namespace {

struct PanelForm {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  PanelForm() {
    form->SetBounds(0, 0, 320, 120);
    form->SetColor(clWhite);
  }
  template <class T>
  T* Add(int x, int y, int w, int h) {
    T* c = new T(form.get());
    c->SetParent(form.get());
    c->SetBounds(x, y, w, h);
    return c;
  }
  void Click(TControl* c, int x = 5, int y = 5) {
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y));
    c->Perform(WM_LBUTTONUP, 0, MakeLParam(x, y));
  }
};

TEST(ButtonLayout, MarginsAndSpacingPlaceGlyphAndCaption) {
  struct Case {
    TExtButtonLayout layout;
    int margin, spacing;
    int gx, cx;
  } cases[] = {
      {eblGlyphLeft, 4, 4, 4, 24},          // glyph 16 at the margin, caption after it and the spacing
      {eblGlyphLeft, -1, 4, 20, 40},        // centred: (100 - (16 + 4 + 40) + 1) / 2
      {eblGlyphLeft, -1, -1, 14, 44},       // margin and spacing the same third of the free room
      {eblGlyphLeft, 4, -1, 4, 40},         // spacing takes half the rest
      {eblGlyphRight, 4, 4, 80, 36},
  };
  for (const Case& c : cases) {
    const TButtonLayoutResult r = LayoutGlyphAndCaption({100, 30}, {16, 16}, {40, 14}, c.layout, c.margin, c.spacing);
    EXPECT_EQ(r.Glyph.X, c.gx) << c.layout << " " << c.margin << " " << c.spacing;
    EXPECT_EQ(r.Caption.X, c.cx) << c.layout << " " << c.margin << " " << c.spacing;
    EXPECT_EQ(r.Glyph.Y, 7);  // centred across: (30 - 16 + 1) / 2
  }
  const TButtonLayoutResult top = LayoutGlyphAndCaption({40, 60}, {16, 16}, {30, 14}, eblGlyphTop, 3, 2);
  EXPECT_EQ(top.Glyph.Y, 3);
  EXPECT_EQ(top.Caption.Y, 21);
  EXPECT_EQ(top.Glyph.X, 12);
}

TEST(ExtGridButton, DefaultsMarginAndLooks) {
  PanelForm f;
  auto* b = new TExtGridButton(f.form.get());
  EXPECT_EQ(b->Width(), 22);
  EXPECT_EQ(b->Height(), 23);
  EXPECT_TRUE(b->Flat());
  EXPECT_EQ(b->Margin(), -1);
  EXPECT_EQ(b->Spacing(), 4);
  b->SetMargin(-2);
  EXPECT_EQ(b->Margin(), -1);
  b->SetMargin(3);
  EXPECT_EQ(b->Margin(), 3);
  b->SetLook(2);
  EXPECT_EQ(b->Color(), TColor(0xFDEADA));
  EXPECT_EQ(b->ColorCheckedTo, TColor(5615103));
  EXPECT_EQ(b->BorderHotColor, clBlack);
  EXPECT_FALSE(b->Rounded());
  b->SetLook(0);
  EXPECT_TRUE(b->Rounded());
  EXPECT_EQ(b->BorderDownColor, TColor(0xAF987A));
  b->SetLook(7);  // no such look
  EXPECT_EQ(b->Color(), TColor(0xEDF1F1));
}

TEST(ExtGridButton, AGroupKeepsOneButtonDown) {
  PanelForm f;
  auto* one = f.Add<TExtGridButton>(0, 0, 22, 23);
  auto* two = f.Add<TExtGridButton>(30, 0, 22, 23);
  one->SetGroupIndex(1);
  two->SetGroupIndex(1);
  int clicks = 0;
  two->OnClick = [&](TObject*) { ++clicks; };
  f.Click(one);
  EXPECT_TRUE(one->Down());
  f.Click(two);
  EXPECT_TRUE(two->Down());
  EXPECT_FALSE(one->Down());
  f.Click(two);  // a pressed group button does not release itself
  EXPECT_TRUE(two->Down());
  EXPECT_EQ(clicks, 2);
  two->SetAllowAllUp(true);
  EXPECT_TRUE(one->AllowAllUp());  // the group takes the setting
  f.Click(two);
  EXPECT_FALSE(two->Down());
  auto* plain = f.Add<TExtGridButton>(60, 0, 22, 23);
  plain->SetDown(true);  // neither grouped nor a check button
  EXPECT_FALSE(plain->Down());
}

TEST(ExtGridButton, CheckStyleTogglesAndTheDropDownPartNeverClicks) {
  PanelForm f;
  auto* b = f.Add<TExtGridButton>(0, 0, 60, 23);
  b->SetStyle(tasCheck);
  f.Click(b);
  EXPECT_TRUE(b->Down());
  f.Click(b);
  EXPECT_FALSE(b->Down());
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
  b->Perform(WM_LBUTTONUP, 0, MakeLParam(200, 5));  // released outside
  EXPECT_FALSE(b->Down());

  auto* d = f.Add<TExtGridButton>(0, 30, 60, 23);
  d->SetDropDownButton(true);
  int clicks = 0, drops = 0;
  d->OnClick = [&](TObject*) { ++clicks; };
  d->OnDropDown = [&](TObject*) { ++drops; };
  f.Click(d, 55, 5);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(clicks, 0);
  f.Click(d, 20, 5);
  EXPECT_EQ(clicks, 1);
}

TEST(ExtGridButton, TheDisabledGlyphIsMadeGreyOnce) {
  PanelForm f;
  auto* b = new TExtGridButton(f.form.get());
  TBitmap g(2, 1);
  g.Canvas()->SetPixels(0, 0, TColor(0x0000FF));  // red
  g.Canvas()->SetPixels(1, 0, TColor(0xFFFFFF));
  b->SetGlyph(g);
  const QImage disabled = b->GlyphDisabled()->Image();
  EXPECT_EQ(qRed(disabled.pixel(0, 0)), 96 + 85 / 2);
  EXPECT_EQ(qGreen(disabled.pixel(0, 0)), qBlue(disabled.pixel(0, 0)));
  EXPECT_EQ(qRed(disabled.pixel(1, 0)), 96 + 255 / 2);
  TBitmap other(2, 1);
  other.Canvas()->SetPixels(0, 0, TColor(0));
  b->SetGlyph(other);
  EXPECT_EQ(qRed(b->GlyphDisabled()->Image().pixel(0, 0)), 96 + 85 / 2);  // kept
}

TEST(ExtGridButton, PaintsItsStatesInTheirColours) {
  PanelForm f;
  auto* normal = f.Add<TExtGridButton>(10, 10, 70, 24);
  auto* hot = f.Add<TExtGridButton>(90, 10, 70, 24);
  auto* checked = f.Add<TExtGridButton>(170, 10, 70, 24);
  for (TExtGridButton* b : {normal, hot, checked}) {
    b->SetLook(5);
    b->SetCaption("Find");
    b->ColorHot = TColor(0x30C0F0);
    b->ColorChecked = TColor(0xF0A060);
  }
  checked->SetStyle(tasCheck);
  checked->SetDown(true);
  f.form->Show();
  QApplication::processEvents();
  hot->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(hot->MouseInControl());
  const QImage img = f.form->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  QDir().mkpath(QStringLiteral(TEST_BINARY_DIR "/screens"));
  img.save(QStringLiteral(TEST_BINARY_DIR "/screens/search_panel_buttons.png"));
  EXPECT_EQ(plat::testing::PixelAt(img, 13, 30), ColorToRGB(clBtnFace));
  EXPECT_EQ(plat::testing::PixelAt(img, 93, 30), TColor(0x30C0F0));
  EXPECT_EQ(plat::testing::PixelAt(img, 173, 30), TColor(0xF0A060));
  hot->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(hot->MouseInControl());
}

TEST(ExtCheckBox, ReadOnlyKeepsItsStateButStillClicks) {
  PanelForm f;
  auto* box = f.Add<TExtCheckBox>(10, 10, 120, 20);
  box->SetCaption("Match &case");
  f.form->Show();
  QApplication::processEvents();
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  f.Click(box);
  EXPECT_TRUE(box->Checked());
  box->Perform(WM_KEYDOWN, VK_SPACE, 0);
  box->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(box->Checked());
  box->Perform(CM_DIALOGCHAR, u'c', 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 3);
  box->ReadOnly = true;
  f.Click(box);
  box->Perform(WM_KEYDOWN, VK_SPACE, 0);
  box->Perform(WM_KEYUP, VK_SPACE, 0);
  box->Perform(CM_DIALOGCHAR, u'C', 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 6);
  box->Perform(CM_DIALOGCHAR, u'x', 0);
  EXPECT_EQ(clicks, 6);
  box->SetState(cbGrayed);
  EXPECT_FALSE(box->Checked());
  box->SetButtonVertAlign(tlCenter);
  EXPECT_EQ(box->BoxRect(), TRect(0, 4, 13, 17));
  box->SetAlignment(taRightJustify);
  EXPECT_EQ(box->BoxRect().Left, 107);
}

TEST(RetEdit, EnterAndCtrlEnterAreReportedAndSwallowed) {
  PanelForm f;
  auto* e = f.Add<TRetEdit>(10, 10, 120, 22);
  QStringList log;
  e->OnReturn = [&](TObject*) { log << "return"; };
  e->OnCtrlReturn = [&](TObject*) { log << "ctrl"; };
  e->OnKeyPress = [&](TObject*, char16_t& k) { log << QString("char %1").arg(int(k)); };
  e->Perform(WM_KEYDOWN, VK_RETURN, 0);
  SetKeyStateDown(VK_CONTROL, true);
  e->Perform(WM_KEYDOWN, VK_RETURN, 0);
  SetKeyStateDown(VK_CONTROL, false);
  e->Perform(WM_CHAR, 13, 0);
  e->Perform(WM_CHAR, 10, 0);
  EXPECT_EQ(log.join(','), "return,ctrl,char 13,char 10");
  e->Perform(WM_CHAR, u'a', 0);
  EXPECT_EQ(e->Text(), "a");
  EXPECT_EQ(log.size(), 5);
}

}  // namespace
}  // namespace controls
