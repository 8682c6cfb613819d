// The search panel's small controls: the flat glyph button (margins, groups, check style, drop-down part,
// disabled glyph, looks and painted colours), the owner-drawn check box (read-only, keys, accelerator) and the
// return-aware edit. Pictures of the button's states are kept under screens/ for a look.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/ext_check_box.h"
#include "controls/ext_grid_button.h"
#include "controls/ret_edit.h"
#include "platform/forms/actions.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/themes.h"
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
}

// The box is 14 x 14 and themed while themes are on, the classic 13 x 13 box otherwise; both sit at the
// aligned edge and at the top, centre or bottom.
TEST(ExtCheckBox, BoxPlaceFollowsAlignmentAndTheme) {
  PanelForm f;
  auto* box = f.Add<TExtCheckBox>(10, 10, 120, 30);
  struct Case {
    bool themes;
    TAlignment align;
    TTextLayout valign;
    TRect box;
  } cases[] = {
      {true, taLeftJustify, tlTop, TRect(0, 4, 14, 18)},       {true, taLeftJustify, tlCenter, TRect(0, 9, 14, 23)},
      {true, taRightJustify, tlBottom, TRect(105, 16, 119, 30)}, {false, taLeftJustify, tlTop, TRect(0, 4, 13, 17)},
      {false, taLeftJustify, tlCenter, TRect(0, 9, 13, 22)},    {false, taRightJustify, tlBottom, TRect(107, 13, 120, 26)},
  };
  for (const Case& c : cases) {
    TPlatformFactsScope keep;
    PlatformFacts().ThemesActive = c.themes;
    box->SetAlignment(c.align);
    box->SetButtonVertAlign(c.valign);
    EXPECT_EQ(box->Themed(), c.themes);
    EXPECT_EQ(box->BoxRect(), c.box) << c.themes << " " << c.align << " " << c.valign;
  }
}

TEST(ExtCheckBox, ThemeStateFollowsCheckStateThenDisabledPressedHot) {
  PanelForm f;
  auto* box = f.Add<TExtCheckBox>(10, 10, 120, 20);
  f.form->Show();
  QApplication::processEvents();
  EXPECT_EQ(box->ThemeState(), CBS_UNCHECKEDNORMAL);
  box->Perform(CM_MOUSEENTER);
  EXPECT_EQ(box->ThemeState(), CBS_UNCHECKEDHOT);
  box->SetChecked(true);
  EXPECT_EQ(box->ThemeState(), CBS_CHECKEDHOT);
  box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
  EXPECT_EQ(box->ThemeState(), CBS_CHECKEDPRESSED);
  box->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
  EXPECT_EQ(box->ThemeState(), CBS_UNCHECKEDHOT);  // the click toggled it
  box->SetState(cbGrayed);
  box->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(box->ThemeState(), CBS_MIXEDNORMAL);
  box->SetEnabled(false);
  EXPECT_EQ(box->ThemeState(), CBS_MIXEDDISABLED);
}

class RecordingMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  void Popup(int X, int Y) override { at = TPoint(X, Y), ++shown; }
  TPoint at;
  int shown = 0;
};

TEST(ExtGridButton, TheDropDownMenuPopsUpUnderTheButtonAndIsForgottenWhenFreed) {
  PanelForm f;
  f.form->Show();
  QApplication::processEvents();
  auto* d = f.Add<TExtGridButton>(20, 30, 60, 23);
  d->SetDropDownButton(true);
  auto* menu = new RecordingMenu(nullptr);
  d->SetDropDownMenu(menu);
  f.Click(d, 55, 5);
  EXPECT_EQ(menu->shown, 1);
  EXPECT_EQ(menu->at, f.form->ClientToScreen({20, 53}));
  f.Click(d, 20, 5);
  EXPECT_EQ(menu->shown, 1);
  delete menu;
  EXPECT_EQ(d->DropDownMenu(), nullptr);
  f.Click(d, 55, 5);  // no menu left to pop up
}

TEST(ExtGridButton, AnActionGivesItsSettingsAndRunsOnClick) {
  PanelForm f;
  TCustomAction action(nullptr);
  action.SetCaption("Find");
  action.SetHint("Find the next match");
  int runs = 0;
  action.OnExecute = [&](TObject*) { ++runs; };
  auto* b = f.Add<TExtGridButton>(0, 0, 60, 23);
  b->SetAction(&action);
  EXPECT_EQ(b->Caption(), "Find");
  EXPECT_EQ(b->Hint(), "Find the next match");
  f.Click(b);
  EXPECT_EQ(runs, 1);
  action.SetCaption("Next");  // the button still shows the action's caption: it follows
  EXPECT_EQ(b->Caption(), "Next");
  b->SetCaption("Own");
  action.SetCaption("Later");  // its own caption now: it stays
  EXPECT_EQ(b->Caption(), "Own");
  action.SetEnabled(false);
  EXPECT_FALSE(b->Enabled());
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetEnabled(true);
  f.Click(b);
  EXPECT_EQ(clicks, 1);  // an own OnClick goes first
  EXPECT_EQ(runs, 1);
}

TEST(ExtGridButton, TheActionLinksCheckedStateAndGroupOnlyWhileTheyMatch) {
  PanelForm f;
  TCustomAction action(nullptr);
  action.SetGroupIndex(3);
  auto* one = f.Add<TExtGridButton>(0, 0, 22, 23);
  auto* two = f.Add<TExtGridButton>(30, 0, 22, 23);
  two->SetGroupIndex(3);
  one->SetAction(&action);
  EXPECT_EQ(one->GroupIndex(), 3);
  // Without AllowAllUp the checked state does not reach the button.
  action.SetChecked(true);
  EXPECT_FALSE(one->Down());
  action.SetChecked(false);
  one->SetAllowAllUp(true);
  action.SetChecked(true);
  EXPECT_TRUE(one->Down());
  // Pressing the other button of the group releases the first and clears the action's checked state.
  f.Click(two);
  EXPECT_TRUE(two->Down());
  EXPECT_FALSE(one->Down());
  EXPECT_FALSE(action.Checked());
  action.SetGroupIndex(4);
  EXPECT_EQ(one->GroupIndex(), 4);
  one->SetGroupIndex(5);
  action.SetGroupIndex(6);  // the button has its own group now
  EXPECT_EQ(one->GroupIndex(), 5);
}

TEST(ExtGridButton, AutoThemeAdaptTakesTheLookOfTheColourScheme) {
  PanelForm f;
  auto* b = f.Add<TExtGridButton>(0, 0, 22, 23);
  TPlatformFactsScope keep;
  struct Case {
    const char* scheme;
    bool themes;
    int look;
  } cases[] = {{"NormalColor", true, 2}, {"HomeStead", true, 3}, {"Metallic", true, 4}, {"Other", true, 1},
               {"NormalColor", false, 1}};
  for (const Case& c : cases) {
    PlatformFacts().ColorSchemeName = c.scheme;
    PlatformFacts().ThemesActive = c.themes;
    b->SetAutoThemeAdapt(true);
    EXPECT_EQ(b->Look(), c.look) << c.scheme;
  }
  PlatformFacts().ColorSchemeName = "HomeStead";
  PlatformFacts().ThemesActive = true;
  b->Perform(WM_THEMECHANGED);
  EXPECT_EQ(b->Look(), 3);
  b->SetAutoThemeAdapt(false);
  PlatformFacts().ColorSchemeName = "Metallic";
  b->Perform(WM_THEMECHANGED);
  EXPECT_EQ(b->Look(), 3);
}

TEST(ExtGridButton, ADoubleClickOnAPressedGroupButtonIsReportedTwice) {
  PanelForm f;
  auto* b = f.Add<TExtGridButton>(0, 0, 22, 23);
  int dbl = 0;
  b->OnDblClick = [&](TObject*) { ++dbl; };
  b->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(5, 5));
  const int once = dbl;
  b->SetGroupIndex(1);
  b->SetDown(true);
  b->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(5, 5));
  EXPECT_EQ(dbl, 2 * once + 1);
}

// A sheet of the themed and classic looks: check boxes unchecked, checked and mixed, each normal, hot,
// pressed and disabled; buttons up, hot, pressed, checked and disabled, flat and themed push buttons.
TEST(SearchPanelLooks, ThemedAndClassicStatesSheet) {
  TPlatformFactsScope keep;
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 560, 300);
  form->SetColor(clWhite);
  TBitmap glyph(16, 16);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(TRect(0, 0, 16, 16));
  glyph.Canvas()->Brush()->SetColor(TColor(0x2060C0));
  glyph.Canvas()->Ellipse(TRect(2, 2, 13, 13));
  glyph.Canvas()->Pen()->SetWidth(2);
  glyph.Canvas()->MoveTo(11, 11);
  glyph.Canvas()->LineTo(15, 15);
  glyph.SetTransparentColor(clFuchsia);
  glyph.SetTransparent(true);
  const TCheckBoxState states[] = {cbUnchecked, cbChecked, cbGrayed};
  const char* looks[] = {"normal", "hot", "pressed", "disabled"};
  std::vector<TExtCheckBox*> boxes;
  for (int s = 0; s < 3; ++s)
    for (int l = 0; l < 4; ++l) {
      auto* b = new TExtCheckBox(form.get());
      b->SetParent(form.get());
      b->SetBounds(10 + l * 130, 10 + s * 24, 125, 22);
      b->SetCaption(QStringLiteral("%1 &%2").arg(s == 0 ? "Off" : s == 1 ? "On" : "Mixed", looks[l]));
      b->SetState(states[s]);
      boxes.push_back(b);
    }
  std::vector<TExtGridButton*> buttons;
  for (int row = 0; row < 3; ++row)
    for (int l = 0; l < 5; ++l) {
      auto* b = new TExtGridButton(form.get());
      b->SetParent(form.get());
      b->SetBounds(10 + l * 105, 100 + row * 34, 96, 26);
      b->SetGlyph(glyph);
      b->SetCaption(QStringLiteral("Find"));
      if (row == 0) b->SetLook(2);
      if (row == 1) b->SetLook(0);
      if (row == 2) b->SetFlat(false), b->AutoXPStyle = true;
      if (l == 3) b->SetStyle(tasCheck), b->SetDown(true);
      if (l == 4) b->SetEnabled(false);
      buttons.push_back(b);
    }
  form->Show();
  QApplication::processEvents();
  for (int s = 0; s < 3; ++s) {
    boxes[s * 4 + 1]->Perform(CM_MOUSEENTER);
    boxes[s * 4 + 2]->Perform(CM_MOUSEENTER);
    boxes[s * 4 + 2]->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 8));
    boxes[s * 4 + 3]->SetEnabled(false);
  }
  for (int row = 0; row < 3; ++row) {
    buttons[row * 5 + 1]->Perform(CM_MOUSEENTER);
    buttons[row * 5 + 2]->Perform(CM_MOUSEENTER);
    buttons[row * 5 + 2]->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(20, 8));
  }
  QDir().mkpath(QStringLiteral(TEST_BINARY_DIR "/screens"));
  for (bool themes : {true, false}) {
    PlatformFacts().ThemesActive = themes;
    form->Repaint();
    const QImage img = form->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    img.save(QStringLiteral(TEST_BINARY_DIR "/screens/search_panel_%1.png").arg(themes ? "themed" : "classic"));
    // The themed box face is the window colour inside a grey frame; the classic box has a sunken frame.
    const TRect r = boxes[0]->BoxRect();
    const TPoint at = boxes[0]->ClientToScreen({r.Left, r.Top});
    const TPoint origin = form->ClientToScreen({0, 0});
    const TColor corner = plat::testing::PixelAt(img, at.X - origin.X, at.Y - origin.Y);
    if (themes)
      EXPECT_EQ(corner, RGB(0x70, 0x70, 0x70));
    else
      EXPECT_NE(corner, RGB(0x70, 0x70, 0x70));
    // The non-flat button with AutoXPStyle shows the themed push button's face while themes are on.
    const TPoint bp = buttons[10]->ClientToScreen({3, 3});
    const TColor face = plat::testing::PixelAt(img, bp.X - origin.X, bp.Y - origin.Y);
    EXPECT_EQ(face == RGB(0xE5, 0xE5, 0xE5), themes);
  }
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
