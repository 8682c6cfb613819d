// The colour picker drop-down: named colours and the choice with its events, the texts of a colour (web names
// included), the colour in the edit, the keys and the wheel on the list and the palette, picking from each
// popup, cancelling, and the popup's size per way of choosing.
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "dropdown/color_picker.h"
#include "dropdown/color_selector.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/color.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::ExpectPixel;
using plat::testing::PixelAt;

namespace dropdown {
namespace {

struct Picker {
  explicit Picker(bool defaults = true) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 360, 300);
    drop = new TExtColorPickerDropDown(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 160, 24);
    if (defaults) drop->AddDefaultColors();
    drop->OnSelect = [this](TObject* Sender) {
      EXPECT_EQ(Sender, drop);
      events += 'S';
    };
    form->Show();
    QApplication::processEvents();
  }
  void Key(std::uint16_t key) const { drop->Perform(WM_KEYDOWN, key, 0); }
  bool open() const { return drop->DroppedDown() && drop->DropDownForm()->Visible(); }
  std::unique_ptr<TForm> form;
  TExtColorPickerDropDown* drop;
  std::string events;
};

// ---- the choice and its texts -------------------------------------------------------------------------------

TEST(ColorPickerChoice, SelectedColourFindsItsNameAndFiresOnce) {
  Picker p;
  ASSERT_EQ(p.drop->Colors()->Count(), 16);
  p.drop->SetSelectedColor(0x0000FF);
  EXPECT_EQ(p.drop->ItemIndex(), 9);
  EXPECT_EQ(p.drop->SelectedColorText(), QStringLiteral("Red"));
  EXPECT_EQ(p.events, "S");
  p.drop->SetSelectedColor(0x0000FF);  // unchanged: nothing
  EXPECT_EQ(p.events, "S");
  // A colour without a name clears the name silently.
  p.drop->SetSelectedColor(0x123456);
  EXPECT_EQ(p.drop->ItemIndex(), -1);
  EXPECT_EQ(p.events, "S");
  // ItemIndex fires for every index, the selected one and -1 included, and takes the name's colour.
  p.drop->SetItemIndex(2);
  p.drop->SetItemIndex(2);
  EXPECT_EQ(p.drop->SelectedColor(), 0x008000);
  p.drop->SetItemIndex(-1);
  EXPECT_EQ(p.drop->SelectedColor(), 0x008000);
  EXPECT_EQ(p.events, "SSSS");
}

TEST(ColorPickerChoice, IndicesOutOfRangeAreRefusedOrClamped) {
  Picker p;
  p.drop->SetItemIndex(16);
  p.drop->SetItemIndex(1000);
  EXPECT_EQ(p.drop->ItemIndex(), -1);
  EXPECT_EQ(p.events, "");
  p.drop->SetItemIndex(-5);  // below -1: no name
  EXPECT_EQ(p.drop->ItemIndex(), -1);
  // The names shrink under a selected one: the text does not read past them.
  p.drop->SetItemIndex(15);
  p.drop->Colors()->Clear();
  EXPECT_EQ(p.drop->SelectedColorText(), QString());
  p.drop->SetColorValueText(cvtHTML);
  EXPECT_EQ(p.drop->SelectedColorText(), QStringLiteral("#FFFFFF"));
  p.drop->SetColumns(0);  // the list needs a column
  EXPECT_EQ(p.drop->Columns(), 1);
}

TEST(ColorPickerText, ByColorValueText) {
  struct Case {
    TColor colour;
    TColorValueText kind;
    const char* text;
  } cases[] = {
      {0x123456, cvtHex, "123456"},
      {0x123456, cvtRGB, "Red:86,Green:52,Blue:18"},
      {0x123456, cvtHTML, "#563412"},
      {0x123456, cvtWebName, "#563412"},
      {0x123456, cvtNone, ""},
      {0x0000FF, cvtHex, "0000FF"},
      {0x0000FF, cvtWebName, "clWebRed"},
      {0x4F4F2F, cvtWebName, "clWebDarkSlategray"},
      {0x000001, cvtHex, "000001"},
      {clBtnFace, cvtHex, "FF00000F"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColorValueAsText(c.colour, c.kind), QString::fromLatin1(c.text)) << c.text;
  // A system colour reads as the colour it resolves to now.
  const TColor saved = SetSystemColor(COLOR_BTNFACE, 0x405060);
  EXPECT_EQ(ColorValueAsText(clBtnFace, cvtRGB), QStringLiteral("Red:96,Green:80,Blue:64"));
  SetSystemColor(COLOR_BTNFACE, 0xD3D3D3);
  EXPECT_EQ(ColorValueAsText(clBtnFace, cvtWebName), QStringLiteral("clWebLightgrey"));
  SetSystemColor(COLOR_BTNFACE, saved);
}

TEST(ColorPickerText, PickerUsesTheNameOnlyInTheListStyle) {
  Picker p;
  p.drop->SetColorValueText(cvtRGB);
  p.drop->SetSelectedColor(0x0000FF);
  EXPECT_EQ(p.drop->SelectedColorText(), QStringLiteral("Red"));
  p.drop->SetColorSelectionStyle(csColorCube);
  EXPECT_EQ(p.drop->SelectedColorText(), QStringLiteral("Red:255,Green:0,Blue:0"));
  // No colour at all has no text in any form (it is not white).
  p.drop->SetSelectedColor(clNone);
  for (TColorValueText kind : {cvtHex, cvtWebName, cvtRGB, cvtHTML}) {
    p.drop->SetColorValueText(kind);
    EXPECT_EQ(p.drop->SelectedColorText(), QString()) << kind;
  }
}

TEST(WebColors, TableOfUniqueValues) {
  ASSERT_EQ(WebColorCount(), 138);
  std::set<TColor> values;
  std::set<QString> names;
  for (int i = 0; i < WebColorCount(); ++i) {
    values.insert(WebColorValue(i));
    names.insert(WebColorIdent(i));
    EXPECT_TRUE(WebColorIdent(i).startsWith(QStringLiteral("clWeb")));
    EXPECT_EQ(WebColorName(WebColorValue(i)), WebColorIdent(i));
  }
  EXPECT_EQ(values.size(), 138u);
  EXPECT_EQ(names.size(), 138u);
  EXPECT_EQ(WebColorIdent(0), QStringLiteral("clWebSnow"));
  EXPECT_EQ(WebColorValue(0), 0xFAFAFF);
  EXPECT_EQ(WebColorIdent(137), QStringLiteral("clWebBlack"));
  EXPECT_EQ(WebColorName(0xD3D3D3), QStringLiteral("clWebLightgrey"));
  EXPECT_EQ(WebColorName(0x507FFF), QStringLiteral("clWebCoral"));  // CSS #FF7F50
  EXPECT_EQ(WebColorValue(138), clNone);
  EXPECT_EQ(WebColorIdent(-1), QString());
}

// ---- the colour in the edit ---------------------------------------------------------------------------------

TEST(ColorPickerEdit, ShowsABoxOfTheColourAndItsText) {
  Picker p;
  p.drop->SetSelectedColor(0x0000FF);
  QImage img = p.drop->Widget()->grab().toImage();
  // 14 x 14 at left 5, vertically centred, black outline, filled red.
  const int top = (24 - 14) / 2 + 1;
  EXPECT_TRUE(ExpectPixel(img, 5, top + 5, clBlack));
  EXPECT_TRUE(ExpectPixel(img, 10, top, clBlack));
  EXPECT_TRUE(ExpectPixel(img, 10, top + 13, clBlack));
  EXPECT_TRUE(ExpectPixel(img, 10, top + 7, 0x0000FF));
  EXPECT_TRUE(ExpectPixel(img, 17, top + 7, 0x0000FF));
  // The caption stands right of the box.
  const TRect text = plat::testing::BoundingBoxExcept(img.copy(23, 2, 100, 20), PixelAt(img, 60, 3));
  EXPECT_FALSE(text.IsEmpty());

  // Without a colour nothing is drawn; OnDrawSelectedColor replaces the painting.
  p.drop->SetSelectedColor(clNone);
  img = p.drop->Widget()->grab().toImage();
  EXPECT_FALSE(ExpectPixel(img, 10, top + 7, 0x0000FF));
  TRect given;
  p.drop->OnDrawSelectedColor = [&](TObject*, TCanvas* Canvas, TRect R) {
    given = R;
    Canvas->Brush()->SetColor(clLime);
    Canvas->FillRect(R);
  };
  img = p.drop->Widget()->grab().toImage();
  EXPECT_EQ(given, TRect(1, 1, 160 - 17 - 2, 24 - 2));
  EXPECT_TRUE(ExpectPixel(img, 30, 10, clLime));
}

// ---- keys and the wheel -------------------------------------------------------------------------------------

TEST(ColorPickerKeys, ClosedListStepsThroughTheNames) {
  Picker p;
  struct Step {
    std::uint16_t key;
    int index;
    const char* events;
  } steps[] = {
      {VK_UP, 0, "S"},        // from none to the first
      {VK_UP, 0, "S"},        // nothing before the first
      {VK_DOWN, 1, "SS"},
      {VK_END, 15, "SSS"},
      {VK_DOWN, 15, "SSS"},   // nothing after the last
      {VK_HOME, 0, "SSSS"},
      {VK_RIGHT, 0, "SSSS"},  // left and right do nothing while closed
      {VK_LEFT, 0, "SSSS"},
  };
  for (const Step& s : steps) {
    p.Key(s.key);
    EXPECT_EQ(p.drop->ItemIndex(), s.index) << s.key;
    EXPECT_EQ(p.events, s.events) << s.key;
  }
  EXPECT_FALSE(p.open());
  EXPECT_EQ(p.drop->SelectedColor(), 0x000000);
}

TEST(ColorPickerKeys, TypeAheadLooksUpTheNamesAndRestartsAfterHalfASecond) {
  Picker p;
  p.Key('G');
  EXPECT_EQ(p.drop->ItemIndex(), 2);  // Green
  p.Key('R');
  EXPECT_EQ(p.drop->ItemIndex(), 2);  // GR: still Green
  p.Key('A');
  EXPECT_EQ(p.drop->ItemIndex(), 7);  // GRA: Gray
  EXPECT_FALSE(p.open());
  QTest::qWait(650);
  p.Key('R');
  EXPECT_EQ(p.drop->ItemIndex(), 9);  // a new text: R, Red
  p.Key('X');                         // RX matches nothing: the choice stays
  EXPECT_EQ(p.drop->ItemIndex(), 9);
}

TEST(ColorPickerKeys, OpenListMovesWithoutClosingAndEnterTakesTheHotItem) {
  Picker p;
  p.drop->SetColumns(2);
  p.drop->SetSelectedColor(0x808080);  // Gray, 7
  p.events.clear();
  p.drop->ShowDropDown();
  ASSERT_TRUE(p.open());
  TExtCustomItemSelector& list = *p.drop->ItemSelector();
  EXPECT_EQ(list.Items()->Count(), 16);
  EXPECT_EQ(list.ItemIndex(), 7);
  p.Key(VK_DOWN);  // a row of two on
  EXPECT_EQ(p.drop->ItemIndex(), 9);
  p.Key(VK_UP);
  p.Key(VK_UP);
  EXPECT_EQ(p.drop->ItemIndex(), 5);
  p.Key(VK_RIGHT);
  EXPECT_EQ(p.drop->ItemIndex(), 6);
  p.Key(VK_END);
  EXPECT_EQ(p.drop->ItemIndex(), 15);
  p.Key(VK_DOWN);  // beyond the last: ignored
  EXPECT_EQ(p.drop->ItemIndex(), 15);
  EXPECT_TRUE(p.open());
  EXPECT_EQ(p.events, "SSSSS");
  // The wheel moves the hot item; Enter chooses it and closes.
  p.drop->ItemSelector()->ItemSelectorPanel()->SetItemHot(3);
  p.drop->Perform(WM_MOUSEWHEEL, WPARAM(std::uint32_t(-120) << 16), 0);
  EXPECT_EQ(list.ItemHot(), 4);
  p.Key(VK_RETURN);
  EXPECT_FALSE(p.open());
  EXPECT_EQ(p.drop->ItemIndex(), 4);
  EXPECT_EQ(p.drop->SelectedColor(), 0x800000);
}

TEST(ColorPickerKeys, EnterWithoutAHotItemFiresOnSelect) {
  Picker p;
  p.Key(VK_RETURN);
  EXPECT_EQ(p.events, "S");
  p.drop->ShowDropDown();
  p.Key(VK_RETURN);
  EXPECT_FALSE(p.open());
  EXPECT_EQ(p.events, "SS");
}

TEST(ColorPickerKeys, PaletteKeysOpenAndClosed) {
  Picker p;
  p.drop->SetColorSelectionStyle(csDiscrete);
  TCustomColorSelector& boxes = *p.drop->ColorSelector();
  struct Step {
    std::uint16_t key;
    int box;
  } closed[] = {{VK_RIGHT, 0}, {VK_DOWN, 1}, {VK_UP, 0}, {VK_END, 59}, {VK_LEFT, 58}, {VK_HOME, 0}, {VK_NEXT, 59},
                {VK_PRIOR, 0}};
  for (const Step& s : closed) {
    p.Key(s.key);
    EXPECT_EQ(boxes.ItemIndex(), s.box) << s.key;
    EXPECT_EQ(p.drop->SelectedColor(), boxes.Items()->GetItem(s.box)->Color()) << s.key;
    EXPECT_EQ(p.drop->ItemIndex(), -1);
  }
  EXPECT_FALSE(p.open());
  p.drop->ShowDropDown();
  ASSERT_TRUE(p.open());
  struct Step open[] = {{VK_DOWN, 10}, {VK_DOWN, 20}, {VK_RIGHT, 21}, {VK_UP, 11}, {VK_UP, 1}, {VK_UP, 1}};
  for (const Step& s : open) {
    p.Key(s.key);
    EXPECT_EQ(boxes.ItemIndex(), s.box) << s.key;
  }
  EXPECT_TRUE(p.open());
  EXPECT_EQ(p.drop->SelectedColor(), 0x000000);
  // The wheel makes boxes hot; Enter on the hot box chooses it and closes the popup.
  p.drop->Perform(WM_MOUSEWHEEL, WPARAM(std::uint32_t(-120) << 16), 0);
  p.drop->Perform(WM_MOUSEWHEEL, WPARAM(std::uint32_t(-120) << 16), 0);
  EXPECT_EQ(boxes.ItemHot(), 1);
  p.Key(VK_RETURN);
  EXPECT_FALSE(p.open());
  EXPECT_EQ(p.drop->SelectedColor(), 0x000000);
  // Closed, the wheel moves the selection.
  p.drop->Perform(WM_MOUSEWHEEL, WPARAM(std::uint32_t(-120) << 16), 0);
  EXPECT_EQ(boxes.ItemIndex(), 2);
  EXPECT_EQ(p.drop->SelectedColor(), 0xE1ECEE);
}

// ---- picking from the popups and cancelling -----------------------------------------------------------------

TEST(ColorPickerPopup, CancellingThePaletteBringsBackTheColourItOpenedWith) {
  for (TColor opened : {TColor(0xF2F2F2), TColor(0x123456), clNone}) {
    Picker p;
    p.drop->SetColorSelectionStyle(csDiscrete);
    p.drop->SetSelectedColor(opened);
    p.drop->ShowDropDown();
    p.Key(VK_RIGHT);
    p.Key(VK_DOWN);
    EXPECT_NE(p.drop->SelectedColor(), opened);
    p.Key(VK_ESCAPE);
    EXPECT_FALSE(p.open());
    EXPECT_EQ(p.drop->SelectedColor(), opened) << std::hex << opened;
  }
}

TEST(ColorPickerPopup, CancellingTheListBringsBackIndexAndColour) {
  for (TColor opened : {TColor(0x00FFFF), TColor(0x123456)}) {
    Picker p;
    p.drop->SetSelectedColor(opened);
    const int index = p.drop->ItemIndex();
    p.drop->ShowDropDown();
    p.Key(VK_DOWN);
    p.Key(VK_DOWN);
    EXPECT_NE(p.drop->SelectedColor(), opened);
    p.drop->HideDropDown(true);
    EXPECT_EQ(p.drop->ItemIndex(), index);
    EXPECT_EQ(p.drop->SelectedColor(), opened) << std::hex << opened;
  }
}

TEST(ColorPickerPopup, ClickingAListItemChoosesItAndCloses) {
  Picker p;
  p.drop->ShowDropDown();
  TCustomItemSelector& panel = *p.drop->ItemSelector()->ItemSelectorPanel();
  const TRect r = panel.GetItemRect(12);
  QTest::mouseClick(panel.Widget(), Qt::LeftButton, {}, QPoint(r.Left + 5, r.Top + 5));
  EXPECT_FALSE(p.open());
  EXPECT_EQ(p.drop->ItemIndex(), 12);
  EXPECT_EQ(p.drop->SelectedColor(), 0xFF0000);
  EXPECT_EQ(p.drop->SelectedColorText(), QStringLiteral("Blue"));
  EXPECT_EQ(p.events, "S");
}

TEST(ColorPickerPopup, ClickingACubeCellChoosesItsColourAndCloses) {
  Picker p;
  p.drop->SetColorSelectionStyle(csColorCube);
  p.drop->SetSelectedColor(0x663300);
  p.events.clear();
  p.drop->ShowDropDown();
  ASSERT_TRUE(p.open());
  TExtColorCubePanel& cube = *p.drop->CubePanel();
  EXPECT_EQ(cube.SelectedIndex(), 1);
  EXPECT_EQ(cube.Width(), 182);
  EXPECT_EQ(cube.Height(), 160);
  EXPECT_EQ(p.drop->DropDownForm()->Width(), 184);
  EXPECT_EQ(p.drop->DropDownForm()->Height(), 162);
  // A colour without a name: one event, for the cleared name.
  const TPoint c = cube.CellCenter(122);
  QTest::mouseClick(cube.Widget(), Qt::LeftButton, {}, QPoint(c.X, c.Y));
  EXPECT_FALSE(p.open());
  EXPECT_EQ(p.drop->SelectedColor(), cube.CellColor(122));
  EXPECT_EQ(p.drop->ItemIndex(), -1);
  EXPECT_EQ(p.events, "S");
  // Red is a named colour: the name's event, then the cleared name's.
  p.events.clear();
  p.drop->ShowDropDown();
  const TPoint red = cube.CellCenter(118);
  ASSERT_EQ(cube.CellColor(118), 0x0000FF);
  QTest::mouseClick(cube.Widget(), Qt::LeftButton, {}, QPoint(red.X, red.Y));
  EXPECT_EQ(p.drop->SelectedColor(), 0x0000FF);
  EXPECT_EQ(p.drop->ItemIndex(), -1);
  EXPECT_EQ(p.events, "SS");
  EXPECT_FALSE(p.open());
}

TEST(ColorPickerPopup, ClickingTheSpectrumChoosesTheColourUnderThePointer) {
  Picker p;
  p.drop->SetColorSelectionStyle(csSpectrum);
  p.drop->ShowDropDown();
  ASSERT_TRUE(p.open());
  TExtColorSpectrumPanel& s = *p.drop->SpectrumPanel();
  EXPECT_EQ(p.drop->DropDownForm()->Width(), 152);
  EXPECT_EQ(p.drop->DropDownForm()->Height(), 176);
  EXPECT_EQ(s.SelectedColor(), clNone);
  QWidget* image = s.SpectrumImage()->Widget();
  QTest::mouseMove(image, QPoint(85, 64));
  QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(85, 64));
  EXPECT_FALSE(p.open());
  const TColor expected = PixelAt(TExtColorSpectrumPanel::SpectrumBitmap(), 85, 64);
  EXPECT_EQ(p.drop->SelectedColor(), expected);
  EXPECT_GT(GetBValue(expected), 0xF0);
  EXPECT_EQ(p.events, "S");
}

TEST(ColorPickerPopup, EachStyleSizesThePopupToItsControl) {
  Picker p;
  p.drop->SetDropDownBorderWidth(2);
  struct Case {
    TColorSelectionStyle style;
    int w, h;
  } cases[] = {{csDiscrete, 169, 88}, {csColorCube, 186, 164}, {csSpectrum, 154, 178}, {csDiscrete, 169, 88}};
  for (const Case& c : cases) {
    p.drop->SetColorSelectionStyle(c.style);
    EXPECT_EQ(p.drop->DropDownForm()->Width(), c.w) << c.style;
    EXPECT_EQ(p.drop->DropDownForm()->Height(), c.h) << c.style;
    p.drop->ShowDropDown();
    ASSERT_TRUE(p.open());
    EXPECT_EQ(p.drop->DropDownForm()->Width(), c.w) << c.style;
    EXPECT_EQ(p.drop->DropDownForm()->Height(), c.h) << c.style;
    EXPECT_FALSE(p.drop->DropDownForm()->Sizeable());
    EXPECT_TRUE(p.drop->Control()->Visible());
    p.drop->HideDropDown(true);
  }
  // Back to the list: the list's height and a sizeable popup.
  p.drop->SetColorSelectionStyle(csList);
  p.drop->ShowDropDown();
  EXPECT_EQ(p.drop->DropDownForm()->Height(), 200);
  EXPECT_TRUE(p.drop->DropDownForm()->Sizeable());
  // Sixteen names do not fit 200 pixels: a vertical scroll bar, and the popup widened for it (no
  // horizontal one).
  TExtCustomItemSelector& list = *p.drop->ItemSelector();
  TSize panel;
  list.GetSelectorPanelSize(panel);
  EXPECT_TRUE(list.ScrollBarVisible(SB_VERT));
  EXPECT_FALSE(list.ScrollBarVisible(SB_HORZ)) << list.Width() << " " << panel.cx << " "
                                               << p.drop->DropDownForm()->Width();
  EXPECT_FALSE(p.drop->CubePanel()->Visible());
  EXPECT_FALSE(p.drop->SpectrumPanel()->Visible());
  EXPECT_FALSE(p.drop->ColorSelector()->Visible());
}

}  // namespace
}  // namespace dropdown
