// The popup's header and footer bars: where their buttons stand, what the bars paint, the footer buttons'
// modal results and size grip, which definition changes rebuild an open popup, and the appearance and list
// rules. The opened bars are also saved as PNG files next to the test binary.
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "dropdown/button_appearance.h"
#include "dropdown/paint_routines.h"
#include "dropdown/popup_bars.h"
#include "dropdown/tests/dropdown_fixture.h"
#include "platform/forms/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;

namespace dropdown {
namespace {

// A shown form whose drop-down has a popup 200 pixels wide; Open() opens it and returns the bars.
struct Bars : testing::DropDownForm {
  Bars() {
    drop->SetDropDownWidth(200);
    form->Show();
  }
  void Open() {
    drop->ShowDropDown();
    QApplication::processEvents();
  }
  TExtHeader* Header() const { return dynamic_cast<TExtHeader*>(drop->DropDownForm()->Header()); }
  TExtFooter* Footer() const { return dynamic_cast<TExtFooter*>(drop->DropDownForm()->Footer()); }
  grid::THeaderButtons& HeaderDefs() const { return *drop->DropDownHeader()->Buttons(); }
  grid::TFooterButtons& FooterDefs() const { return *drop->DropDownFooter()->Buttons(); }
};

QImage Grab(TControl* c) { return c->Widget()->grab().toImage(); }

TEST(PopupBars, HeaderButtonsStandInDefinitionOrderFromTheAlignedEdge) {
  Bars b;
  for (const char* caption : {"One", "Two", "Three"}) b.HeaderDefs().Add()->SetCaption(QString::fromUtf8(caption));
  b.HeaderDefs().GetItem(1)->SetHeight(40);
  b.drop->DropDownHeader()->Caption = QStringLiteral("Pick a meter");
  b.Open();
  TExtHeader* h = b.Header();
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(h->ButtonList().Count(), 3);
  const TDbgList& list = h->ButtonList();
  EXPECT_EQ(h->Width(), 198);  // inside the popup's one-pixel border
  EXPECT_EQ(list[0]->BoundsRect().Right, h->Width() - 2);
  EXPECT_EQ(list[1]->BoundsRect().Right, list[0]->Left());
  EXPECT_EQ(list[2]->BoundsRect().Right, list[1]->Left());
  EXPECT_EQ(h->GetCaptionLimit().Right, list[2]->Left() - 2);
  // A definition taller than the bar is cut to the button area: 22 less 2 at the top and 3 at the bottom.
  EXPECT_EQ(h->GetButtonAreaHeight(), 17);
  EXPECT_EQ(list[1]->Height(), 17);
  EXPECT_EQ(list[1]->Top(), 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list[i]->Tag(), i);
  b.drop->HideDropDown(false);
  b.drop->DropDownHeader()->ButtonAlignment = grid::dbaLeft;
  b.Open();
  EXPECT_EQ(b.Header()->ButtonList()[0]->Left(), 2);
  EXPECT_EQ(b.Header()->ButtonList()[1]->Left(), b.Header()->ButtonList()[0]->BoundsRect().Right);
  // Without buttons the caption has no limit.
  b.drop->HideDropDown(false);
  b.HeaderDefs().Clear();
  b.Open();
  EXPECT_EQ(b.Header()->GetCaptionLimit(), TRect(-1, -1, -1, -1));
}

TEST(PopupBars, BackgroundAndBorderPainting) {
  struct Case {
    const char* name;
    TColor color, colorTo;
    int popupBorder;
    TColor centre;   // clNone: the bar's own window colour (nothing painted)
    bool sideLine;   // the bar draws its outer edges itself
  };
  const Case cases[] = {
      {"no colours paint nothing", clNone, clNone, 1, clNone, false},
      {"a plain colour", clRed, clNone, 1, clRed, false},
      {"a popup without border of its own", clRed, clNone, 0, clRed, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bars b;
    b.drop->SetDropDownBorderWidth(c.popupBorder);
    b.drop->SetDropDownBorderColor(clBlack);  // the style's own is none
    grid::THeaderAppearance& a = *b.drop->DropDownHeader();
    a.Color = c.color;
    a.ColorTo = c.colorTo;
    a.BorderColor = clBlue;
    a.BorderWidth = 3;  // wider than the one-pixel light outline drawn over the outer edges
    b.Open();
    const QImage img = Grab(b.Header());
    const int w = img.width(), ht = img.height();
    const TColor own = ColorToRGB(b.Header()->Color());
    EXPECT_TRUE(ExpectPixel(img, w / 2, ht / 2, c.centre == clNone ? own : c.centre));
    EXPECT_TRUE(ExpectPixel(img, w / 2, ht - 1, clBlue));  // the line towards the hosted control
    EXPECT_TRUE(ExpectPixel(img, 0, ht / 2, BlendColor(clBlue, clWhite, 20)));
    EXPECT_EQ(PixelAt(img, 1, ht / 2) == clBlue, c.sideLine);
    EXPECT_EQ(PixelAt(img, w / 2, 1) == clBlue, c.sideLine);
    const QImage foot = Grab(b.Footer());
    EXPECT_TRUE(ExpectPixel(foot, foot.width() / 2, 0, b.drop->DropDownFooter()->BorderColor));
    b.drop->HideDropDown(false);
  }
}

TEST(PopupBars, HotButtonFaceAndGradientBar) {
  Bars b;
  b.HeaderDefs().Add()->SetCaption(QStringLiteral("Go"));
  b.drop->DropDownHeader()->Color = RGB(0, 0, 0);
  b.drop->DropDownHeader()->ColorTo = RGB(0, 0, 160);
  b.drop->DropDownHeader()->GradientDirection = grid::dbgVertical;
  b.drop->ButtonAppearance()->SetColorHot(RGB(0, 200, 0));
  b.drop->ButtonAppearance()->SetBorderColorHot(RGB(200, 0, 0));
  b.Open();
  TExtButton* button = b.Header()->ButtonList()[0];
  // An unfilled face shows the bar's gradient: the band under the button's top row is the bar's at that row.
  const QImage bar = Grab(b.Header());
  QImage face = Grab(button);
  EXPECT_TRUE(ExpectPixel(face, 1, 1, PixelAt(bar, button->Left() + 1, button->Top() + 1)));
  button->Perform(CM_MOUSEENTER);
  face = Grab(button);
  EXPECT_TRUE(button->Hot());
  EXPECT_TRUE(ExpectPixel(face, 1, 1, RGB(0, 200, 0)));
  EXPECT_TRUE(ExpectPixel(face, 0, 0, RGB(200, 0, 0)));
  button->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(button->Hot());
}

TEST(PopupBars, FooterButtonsCloseByTheirModalResultAndReportTheirIndex) {
  struct Case {
    int index;
    bool open;
    const char* text;
  };
  const Case cases[] = {{0, false, "during"}, {1, false, "before"}, {2, true, "during"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    Bars b;
    const std::pair<const char*, int> defs[] = {{"OK", mrOk}, {"Cancel", mrCancel}, {"Retry", mrRetry}};
    for (auto [caption, result] : defs) {
      grid::TFooterButton* d = b.FooterDefs().Add();
      d->SetCaption(QString::fromUtf8(caption));
      d->SetModalResult(result);
    }
    std::vector<int> clicked;
    b.drop->OnDropDownFooterButtonClick = [&](TObject* Sender, int Index) {
      EXPECT_EQ(Sender, b.drop);
      clicked.push_back(Index);
    };
    b.drop->SetText(QStringLiteral("before"));
    b.Open();
    b.drop->SetText(QStringLiteral("during"));
    QTest::mouseClick(b.Footer()->ButtonList()[c.index]->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(b.drop->DroppedDown(), c.open);
    EXPECT_EQ(b.drop->Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(clicked, std::vector<int>{c.index});
  }
}

TEST(PopupBars, SizeGripShowsOnlyOnASizeablePopupAndResizesIt) {
  Bars b;
  b.Open();
  TExtFooter* f = b.Footer();
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->HasSizeGrip());
  EXPECT_EQ(f->GetButtonArea().Right, f->Width() - 14);
  TDropDownForm& popup = *b.drop->DropDownForm();
  const int w = popup.Width(), h = popup.Height();
  const int x = f->Width() - 5, y = f->Height() - 5;
  f->Perform(WM_LBUTTONDOWN, 1, MakeLParam(x, y));
  f->Perform(WM_MOUSEMOVE, 1, MakeLParam(x + 30, y + 20));
  f->Perform(WM_LBUTTONUP, 0, MakeLParam(x + 30, y + 20));
  EXPECT_EQ(popup.Width(), w + 30);
  EXPECT_EQ(popup.Height(), h + 20);
  EXPECT_FALSE(popup.GripSizing());
  // A press outside the grip corner resizes nothing.
  f->Perform(WM_LBUTTONDOWN, 1, MakeLParam(20, 5));
  f->Perform(WM_MOUSEMOVE, 1, MakeLParam(60, 25));
  f->Perform(WM_LBUTTONUP, 0, MakeLParam(60, 25));
  EXPECT_EQ(popup.Width(), w + 30);
  b.drop->HideDropDown(false);
  b.drop->SetDropDownSizeable(false);
  b.Open();
  EXPECT_FALSE(f->HasSizeGrip());
  EXPECT_EQ(f->GetButtonArea().Right, f->Width() - 2);
}

TEST(PopupBars, OnlyCaptionEnabledAndWidthChangesRebuildAnOpenPopup) {
  Bars b;
  grid::THeaderButton* def = b.HeaderDefs().Add();
  def->SetCaption(QStringLiteral("A"));
  b.Open();
  auto button = [&] { return b.Header()->ButtonList()[0]; };
  const int autoHeight = button()->Height();
  def->SetHeight(12);
  EXPECT_EQ(button()->Height(), autoHeight);
  def->SetCaption(QStringLiteral("Longer"));
  EXPECT_EQ(button()->Caption(), QStringLiteral("Longer"));
  EXPECT_EQ(button()->Height(), 12);  // the rebuild takes the new height too
  def->SetEnabled(false);
  EXPECT_FALSE(button()->Enabled());
  def->SetWidth(50);
  EXPECT_EQ(button()->Width(), 50);
  // Adding a definition tells nobody: the open popup keeps its one button.
  b.HeaderDefs().Add();
  EXPECT_EQ(b.Header()->ButtonList().Count(), 1);
}

TEST(PopupBars, AClickThatRebuildsTheBarsLeavesTheClickedButtonAlive) {
  Bars b;
  grid::THeaderButton* def = b.HeaderDefs().Add();
  def->SetCaption(QStringLiteral("Count"));
  int clicks = 0;
  b.drop->OnDropDownHeaderButtonClick = [&](TObject*, int Index) {
    EXPECT_EQ(Index, 0);
    def->SetCaption(QStringLiteral("Count %1").arg(++clicks));  // rebuilds every button of the bar
  };
  b.Open();
  for (int i = 1; i <= 3; ++i) {
    QTest::mouseClick(b.Header()->ButtonList()[0]->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
    QApplication::processEvents();  // the replaced buttons go here
    EXPECT_EQ(b.Header()->ButtonList()[0]->Caption(), QStringLiteral("Count %1").arg(i));
  }
  EXPECT_EQ(clicks, 3);
}

TEST(PopupBars, CaptionFromTheAppearanceOrOnGetText) {
  Bars b;
  b.drop->DropDownHeader()->Color = clWhite;
  b.drop->DropDownHeader()->ColorTo = clNone;
  auto shot = [&] {
    b.Open();
    QImage img = Grab(b.Header());
    b.drop->HideDropDown(false);
    return img;
  };
  const QImage blank = shot();
  b.drop->DropDownHeader()->Caption = QStringLiteral("<b>Meters</b>");
  const QImage captioned = shot();
  EXPECT_NE(captioned, blank);
  b.drop->OnGetHeaderText = [](TObject*, QString& Text) { Text.clear(); };
  EXPECT_EQ(shot(), blank);
  b.drop->OnGetHeaderText = [](TObject*, QString& Text) { Text = QStringLiteral("Other"); };
  EXPECT_NE(shot(), captioned);
}

TEST(PopupBars, AppearanceAndDefinitionAssignRules) {
  TComponent owner(nullptr);
  grid::THeaderAppearance header(&owner), source(&owner);
  grid::TFooterAppearance footer(&owner);
  int changes = 0;
  header.OnChange = [&](TObject*) { ++changes; };
  source.Caption = QStringLiteral("Title");
  source.Color = clRed;
  source.Height = 30;
  source.SetVisible(false);
  source.Buttons()->Add()->SetCaption(QStringLiteral("X"));
  footer.Color = clGreen;
  header.Assign(&footer);  // another class: ignored
  EXPECT_EQ(header.Color, TColor(0xC0C0C0));
  header.AssignColors(&source);
  EXPECT_EQ(header.Color, clRed);
  EXPECT_TRUE(header.Caption.isEmpty());
  EXPECT_EQ(changes, 0);
  header.Assign(&source);
  EXPECT_EQ(header.Caption, QStringLiteral("Title"));
  EXPECT_EQ(header.Height, 30);
  EXPECT_EQ(header.Buttons()->Count(), 1);
  EXPECT_EQ(changes, 1);  // Visible changed through its setter
  grid::TFooterButtons defs(&owner);
  grid::TFooterButton* fb = defs.Add();
  EXPECT_THROW(header.Buttons()->GetItem(0)->Assign(fb), EConvertError);
  TExtButtonAppearance ba;
  EXPECT_THROW(ba.Assign(&header), EConvertError);
}

TEST(PopupBars, ButtonListBoundsErrors) {
  TDbgList list, other;
  TComponent owner(nullptr);
  auto* button = new TExtButton(&owner);
  other.Add(button);
  list.AssignList(other);
  EXPECT_EQ(list.GetItemsEx(0), button);
  auto message = [](auto&& f) {
    try {
      f();
    } catch (const Exception& e) {
      return e.Message();
    }
    return QString();
  };
  EXPECT_EQ(message([&] { list.GetItemsEx(1); }), QStringLiteral("Index out of bounds in list read access"));
  EXPECT_EQ(message([&] { list.SetItemsEx(1, button); }), QStringLiteral("Index out of bounds in list write access"));
  EXPECT_THROW(list.GetItemsEx(-1), EListError);
}

TEST(PopupBars, Screenshot) {
  Bars b;
  b.drop->SetComponentStyle(controls::tsOffice2007Luna);
  b.drop->DropDownHeader()->Caption = QStringLiteral("<b>Heat</b> meters");
  b.HeaderDefs().Add()->SetCaption(QStringLiteral("All"));
  b.HeaderDefs().Add()->SetCaption(QStringLiteral("None"));
  b.drop->DropDownFooter()->Caption = QStringLiteral("3 of 12");
  grid::TFooterButton* ok = b.FooterDefs().Add();
  ok->SetCaption(QStringLiteral("OK"));
  ok->SetModalResult(mrOk);
  b.Open();
  b.Header()->ButtonList()[1]->Perform(CM_MOUSEENTER);
  const QImage img = b.drop->DropDownForm()->Widget()->grab().toImage();
  EXPECT_TRUE(img.scaled(img.width() * 3, img.height() * 3).save(QStringLiteral(TEST_BINARY_DIR "/popup_bars.png")));
}

}  // namespace
}  // namespace dropdown
