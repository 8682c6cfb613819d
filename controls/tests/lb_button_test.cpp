#include "controls/lb_button.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/stdctrls.h"

using namespace plat;
using namespace controls;

namespace {

struct ButtonForm {
  ButtonForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    button = new TLbButton(form.get());
    button->SetName("Btn");
    button->SetParent(form.get());
    button->SetBounds(10, 10, 100, 26);
  }
  std::unique_ptr<TForm> form;
  TLbButton* button;
};

TEST(LbButton, Defaults) {
  ButtonForm f;
  TLbButton* b = f.button;
  TLbButton fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 100);
  EXPECT_EQ(fresh.Height(), 23);
  EXPECT_EQ(b->Kind(), bkCustom);
  EXPECT_EQ(b->Style(), bsNormal);
  EXPECT_EQ(b->ColorStyle(), lcsCustom);
  EXPECT_EQ(b->LightColor(), clWhite);
  EXPECT_EQ(b->ShadowColor(), TColor(0x808080));
  EXPECT_EQ(b->ColorWhenDown(), clNone);
  EXPECT_EQ(b->HotTrackColor(), clNone);
  EXPECT_EQ(b->Alignment(), taCenter);
  EXPECT_EQ(b->Color(), clBtnFace);
  EXPECT_TRUE(b->TabStop());
  EXPECT_FALSE(b->Default());
  EXPECT_FALSE(b->Cancel());
  // The fade exists for every button but does not run.
  ASSERT_NE(b->FadeThread(), nullptr);
  EXPECT_TRUE(b->FadeThread()->Suspended());
}

TEST(LbButton, KindsSetResultGlyphAndCaption) {
  const struct {
    TLbButtonKind kind;
    TModalResult result;
    const char16_t* caption;
    int glyphHeight;
  } kinds[] = {
      {bkOK, mrOk, u"OK", 18},          {bkCancel, mrCancel, u"Abbrechen", 18}, {bkHelp, mrNone, u"Hilfe", 18},
      {bkYes, mrYes, u"Ja", 18},        {bkNo, mrNo, u"Nein", 18},           {bkClose, mrNone, u"Schließen", 18},
      {bkAbort, mrAbort, u"Abbrechen", 18}, {bkRetry, mrRetry, u"Wiederholen", 18},
      {bkIgnore, mrIgnore, u"Ignorieren", 18}, {bkAll, 12, u"Alle", 19},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.kind);
    ButtonForm f;
    f.button->SetKind(k.kind);
    EXPECT_EQ(f.button->Kind(), k.kind);
    EXPECT_EQ(f.button->ModalResult(), k.result);
    EXPECT_EQ(f.button->Caption(), QString::fromUtf16(k.caption));
    EXPECT_EQ(f.button->NumGlyphs(), 2);
    EXPECT_EQ(f.button->Glyph()->Width(), 36);
    EXPECT_EQ(f.button->Glyph()->Height(), k.glyphHeight);
  }
  EXPECT_EQ(LbButton_Resource("LBARROW")->Width(), 5);
  EXPECT_EQ(LbButton_Resource("LBARROW")->Height(), 3);
  EXPECT_EQ(LbButton_Resource("NOPE")->Width(), 0);

  ButtonForm f;
  f.button->SetKind(bkOK);
  f.button->SetModalResult(mrYes);
  EXPECT_EQ(f.button->Kind(), bkCustom);
  EXPECT_EQ(f.button->ModalResult(), mrYes);
  f.button->SetKind(bkOK);
  TBitmap strip(36, 18);
  f.button->SetGlyph(&strip);
  EXPECT_EQ(f.button->Kind(), bkCustom);
  EXPECT_EQ(f.button->NumGlyphs(), 2);
  TBitmap four(72, 18);
  f.button->SetGlyph(&four);
  EXPECT_EQ(f.button->NumGlyphs(), 4);
  f.button->SetGlyph(nullptr);
  EXPECT_EQ(f.button->NumGlyphs(), 0);
  EXPECT_EQ(f.button->GlyphIndex(), -1);
}

TEST(LbButton, GlyphImageByState) {
  ButtonForm f;
  TLbButton* b = f.button;
  TBitmap two(36, 18);
  b->SetGlyph(&two);
  EXPECT_EQ(b->GlyphIndex(), 0);
  b->Perform(CM_MOUSEENTER);  // hot only while the parent shows
  b->SetEnabled(false);
  EXPECT_EQ(b->GlyphIndex(), 1);
  b->SetEnabled(true);

  TBitmap four(72, 18);
  b->SetGlyph(&four);
  f.form->Show();
  b->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(b->Hot());
  EXPECT_EQ(b->GlyphIndex(), 3);
  b->SetGlyph(&two);
  EXPECT_EQ(b->GlyphIndex(), 0);  // two images: hot still shows image 0
  b->SetGlyph(&four);
  b->Perform(WM_LBUTTONDOWN, 1, MakeLParam(5, 5));
  EXPECT_EQ(b->GlyphIndex(), 2);  // pressed wins over hot
  b->SetEnabled(false);
  EXPECT_EQ(b->GlyphIndex(), 1);
  f.form->Hide();
}

TEST(LbButton, ColourPresets) {
  ButtonForm f;
  TLbButton* b = f.button;
  b->SetColorStyle(lcsQuicken);
  EXPECT_EQ(b->ColorStyle(), lcsCustom);
  EXPECT_EQ(b->Style(), bsQuicken);
  EXPECT_TRUE(b->Transparent());
  EXPECT_EQ(b->Font()->Color(), clWhite);
  EXPECT_EQ(b->Color(), TColor(0x603000));
  EXPECT_EQ(b->ColorWhenDown(), TColor(0xAD6529));
  EXPECT_EQ(b->HotTrackColor(), TColor(0xCEAE9C));
  b->SetColorStyle(lcsUltraFlat1);
  EXPECT_TRUE(b->Flat());
  EXPECT_EQ(b->Style(), bsNormal);
  EXPECT_FALSE(b->Transparent());
  EXPECT_EQ(b->Font()->Color(), clBlack);
  b->SetColorStyle(lcsCustom);  // changes nothing
  EXPECT_TRUE(b->Flat());
  b->SetStyle(bsShape);
  EXPECT_TRUE(b->Transparent());

  // The hot colour blends by the fade step; pressed takes ColorWhenDown.
  b->SetColor(RGB(0, 0, 0));
  b->SetHotTrackColor(RGB(240, 80, 160));
  b->SetColorWhenDown(clNone);
  EXPECT_EQ(b->FaceColor(), RGB(0, 0, 0));
  f.form->Show();
  b->Perform(CM_MOUSEENTER);
  EXPECT_EQ(b->HotTrackStep(), 8);
  EXPECT_EQ(b->FaceColor(), RGB(240, 80, 160));
  b->SetColorWhenDown(RGB(1, 2, 3));
  b->Perform(WM_LBUTTONDOWN, 1, MakeLParam(5, 5));
  EXPECT_EQ(b->FaceColor(), RGB(1, 2, 3));
  f.form->Hide();
}

TEST(LbButton, LongCaptionsAreCutAtTheEnd) {
  ButtonForm f;
  f.button->SetBounds(0, 0, 60, 23);
  f.button->SetCaption("A rather long caption");
  const QString drawn = f.button->DrawnCaption();
  EXPECT_LT(drawn.size(), 21);
  EXPECT_TRUE(QString("A rather long caption").startsWith(drawn));
  f.button->SetWordWrap(true);
  EXPECT_EQ(f.button->DrawnCaption(), "A rather long caption");
  f.button->SetBounds(0, 0, 300, 23);
  f.button->SetWordWrap(false);
  EXPECT_EQ(f.button->DrawnCaption(), "A rather long caption");
}

TEST(LbButton, ClickRunsTheHandlerThenClosesAModalForm) {
  ButtonForm f;
  QStringList order;
  f.button->OnClick = [&](TObject*) {
    order << QString("click %1").arg(f.form->ModalResult());
  };
  f.button->SetModalResult(mrYes);
  QTimer::singleShot(0, [&] { f.button->Click(); });
  EXPECT_EQ(f.form->ShowModal(), mrYes);
  EXPECT_EQ(order, QStringList({"click 0"}));  // the handler ran before the form got its result

  // Disabled or invisible buttons do nothing.
  order.clear();
  f.form->SetModalResult(mrNone);
  f.button->SetEnabled(false);
  f.button->Click();
  f.button->SetEnabled(true);
  f.button->SetVisible(false);
  f.button->Click();
  EXPECT_TRUE(order.isEmpty());
  EXPECT_EQ(f.form->ModalResult(), mrNone);
}

TEST(LbButton, PopupMenuOpensUnderTheButtonAfterEachClick) {
  ButtonForm f;
  TPopupMenu menu(f.form.get());
  TMenuItem* item = NewItem(&menu, "Cyclic");
  menu.Items()->Add(item);
  f.button->SetPopupMenu(&menu);
  int clicks = 0;
  QList<QPoint> shown;
  f.button->OnClick = [&](TObject*) { ++clicks; };
  const TPopupMenuRunner previous = SetPopupMenuRunner([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
    EXPECT_EQ(m, &menu);
    EXPECT_EQ(clicks, static_cast<int>(shown.size()) + 1);  // after the click handler
    shown << QPoint(x, y);
    return nullptr;
  });
  f.button->Click();
  f.button->Click();
  SetPopupMenuRunner(previous);
  ASSERT_EQ(shown.size(), 2);
  const TPoint corner = f.button->ClientToScreen(TPoint(0, f.button->Height()));
  EXPECT_EQ(shown[0], QPoint(corner.X, corner.Y));
}

TEST(LbButton, EnterAndEscapeKeys) {
  ButtonForm f;
  TLbButton* def = f.button;
  def->SetDefault(true);
  auto* cancel = new TLbButton(f.form.get());
  cancel->SetParent(f.form.get());
  cancel->SetCancel(true);
  auto* other = new TLbButton(f.form.get());
  other->SetParent(f.form.get());
  auto* edit = new TEdit(f.form.get());
  edit->SetParent(f.form.get());
  auto* radio = new TRadioButton(f.form.get());
  radio->SetParent(f.form.get());
  int defClicks = 0, cancelClicks = 0;
  def->OnClick = [&](TObject*) { ++defClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };
  f.form->Show();

  const struct {
    TWinControl* active;
    bool defaultClicks;
  } cases[] = {{edit, true}, {radio, true}, {other, false}, {nullptr, true}};
  for (const auto& c : cases) {
    defClicks = 0;
    f.form->SetActiveControl(c.active);
    const LRESULT r = f.form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
    EXPECT_EQ(defClicks, c.defaultClicks ? 1 : 0);
    if (c.defaultClicks) {
      EXPECT_NE(r, 0);
    }
  }
  f.form->SetActiveControl(edit);
  f.form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0);
  EXPECT_EQ(cancelClicks, 1);
  f.form->Hide();
}

TEST(LbButton, SlowDeceaseFadesOverEightSteps) {
  ButtonForm f;
  TLbButton* b = f.button;
  f.form->Show();
  b->Perform(CM_MOUSEENTER);
  b->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(b->HotTrackStep(), 0);  // without the fade the hot colour drops at once
  EXPECT_TRUE(b->FadeThread()->Suspended());

  b->SetSlowDecease(true);
  b->Perform(CM_MOUSEENTER);
  b->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(b->HotTrackStep(), 8);
  EXPECT_FALSE(b->FadeThread()->Suspended());
  QElapsedTimer t;
  t.start();
  while (b->HotTrackStep() > 0 && t.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_EQ(b->HotTrackStep(), 0);
  EXPECT_GE(t.elapsed(), 8 * 30 - 40);
  EXPECT_TRUE(b->FadeThread()->Suspended());

  b->SetSlowDecease(false);
  EXPECT_EQ(b->FadeThread(), nullptr);
  f.form->Hide();
}

// Real input: a mouse click, Space on the focused button and the caption's accelerator each click once.
TEST(LbButton, MouseKeysAndAcceleratorClickOnce) {
  ButtonForm f;
  TLbButton* b = f.button;
  b->SetCaption("&Go");
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  f.form->Show();
  QTest::mouseClick(b->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());
  EXPECT_TRUE(b->Focused());  // a press takes the focus
  QTest::keyClick(b->Widget(), Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
  EXPECT_NE(f.form->Perform(CM_DIALOGCHAR, u'g', 0), 0);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(f.form->Perform(CM_DIALOGCHAR, u'x', 0), 0);
  EXPECT_EQ(clicks, 3);
  // A disabled button ignores the mouse.
  b->SetEnabled(false);
  QTest::mouseClick(b->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(clicks, 3);
  f.form->Hide();
}

// The glyph's own transparent colour and the transparent styles let what lies below show through.
TEST(LbButton, TransparentPixelsShowWhatIsBelow) {
  ButtonForm f;
  f.form->SetColor(RGB(10, 200, 30));
  TLbButton* b = f.button;
  b->SetColor(RGB(200, 100, 50));
  QImage strip(20, 20, QImage::Format_RGB32);
  strip.fill(QColor(255, 0, 255));
  for (int i = 8; i < 12; ++i) strip.setPixel(i, 10, qRgb(0, 0, 255));
  TBitmap glyph;
  glyph.SetImage(strip);
  b->SetGlyph(&glyph);
  b->SetLayout(blGlyphTop);
  b->SetBounds(10, 10, 40, 40);
  f.form->Show();
  QImage shot = b->Widget()->grab().toImage();
  // The glyph sits centred at (10, 8) .. (30, 28); its magenta shows the face.
  EXPECT_EQ(shot.pixelColor(12, 12), QColor(200, 100, 50));
  EXPECT_EQ(shot.pixelColor(20, 18), QColor(0, 0, 255));

  b->SetStyle(bsShape);
  shot = f.form->Widget()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(12, 12), QColor(10, 200, 30));  // a shape button shows the form
  f.form->Hide();
}

}  // namespace
