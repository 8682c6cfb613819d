// The calculator drop-down: a table of keypad sequences and the displays they leave, the memory, the limits
// of the display (errors, overflow, MaxLength), typed keys in the edit and in the popup, the keypad's layout
// and mouse, and the popup as the user sees it (saved as a PNG file next to the test binary).
#include <QApplication>
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "dropdown/button_appearance.h"
#include "dropdown/calculator_dropdown.h"
#include "dropdown/tests/dropdown_fixture.h"
#include "platform/forms/forms.h"

using namespace plat;

namespace dropdown {
namespace {

// A shown form with a calculator whose keypad exists (the popup was opened and closed once).
struct Calculator {
  Calculator() : seps(u'.', u',') {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 240);
    calc = new TExtCalculatorDropdown(form.get());
    calc->SetParent(form.get());
    calc->SetBounds(20, 20, 200, 24);
    form->Show();
    calc->ShowDropDown();
    calc->HideDropDown(false);
    QApplication::processEvents();
  }
  // Clicks the keys named by their captions ("ON" for the blank key), separated by blanks.
  QString Keys(const QString& Sequence) {
    TButtonItems& keys = *calc->ButtonPanel()->Buttons();
    for (const QString& k : Sequence.split(u' ', Qt::SkipEmptyParts)) {
      int index = -1;
      for (int i = 0; i < keys.Count(); ++i)
        if (keys.GetItem(i)->Name == QStringLiteral("BTN_") + k) index = i;
      EXPECT_GE(index, 0) << k.toStdString();
      calc->ButtonClick(calc->ButtonPanel(), index);
    }
    return calc->Text();
  }
  testing::Separators seps;
  std::unique_ptr<TForm> form;
  TExtCalculatorDropdown* calc;
};

TEST(Calculator, KeySequencesAndTheirDisplays) {
  struct Case {
    const char* keys;
    const char* display;
    int precision = 2;
  };
  const Case cases[] = {
      {"5 + 3 =", "8.00"},
      {"2 + 3 * 4 =", "20.00"},  // no precedence: (2 + 3) * 4
      {"7 / 0 =", "Error"},
      {"7 / 0 = 5 =", "5.00"},   // after the error a digit starts a new number
      {"7 / 0 = + 2 =", "2.00"},  // the error left the accumulator at 0
      {"1 . 2 5 7", "1.26"},
      {"1 . 2 5 7 * 1 0 0 =", "126.00"},  // the value carried on is the one shown
      {"1 2 . 2 5 BACK", "12.20"},
      {"5 BACK", "0.00"},
      {"5 + 3 BACK", "3.00"},  // with an operation pending Back does nothing
      {"5 + 3 CE 4 =", "4.00"},
      {"5 + 3 ON 4 =", "4.00"},
      {"5 + 3 C 4 =", "4.00"},
      {"2 0 0 + 1 0 %", "20.00"},
      {"2 0 0 + 1 0 % =", "220.00"},
      {"2 0 0 + 1 0 %", "20", 0},
      {"2 0 0 + 1 0 % =", "220", 0},
      {"5 MS MC MR", "0.00"},
      {"5 M+ M+ C MR", "10.00"},
      {"9 sqrt", "3.00"},
      {"9 +/- sqrt", "Error"},
      {"0 1/x", "Error"},
      {"4 1/x", "0.25"},
      {"4 +/- +/-", "4.00"},
      {"8 / 0 = BACK", "0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Calculator k;
    k.calc->SetPrecision(c.precision);
    EXPECT_EQ(k.Keys(QString::fromUtf8(c.keys)), QString::fromUtf8(c.display));
  }
}

TEST(Calculator, OverflowShowsZeroNotInfinity) {
  Calculator k;
  k.calc->SetValue(1e300L);
  k.Keys(QStringLiteral("*"));
  k.calc->SetValue(1e300L);
  EXPECT_EQ(k.Keys(QStringLiteral("=")), QStringLiteral("0.00"));
  EXPECT_EQ(k.calc->Accumulator(), 0);
  // The reciprocal of a value too small for the display to invert shows the error, never "inf".
  k.calc->SetPrecision(-1);
  k.calc->SetValue(1e-310L);
  EXPECT_EQ(k.Keys(QStringLiteral("1/x")), QStringLiteral("Error"));
  // The memory does not take a sum the display cannot show.
  k.calc->SetValue(1e308L);
  k.Keys(QStringLiteral("MS M+"));
  EXPECT_EQ(k.calc->Memory(), static_cast<long double>(1e308));
}

TEST(Calculator, ManyDecimalDigitsStayDefined) {
  Calculator k;
  k.calc->SetPrecision(-1);
  QString keys = QStringLiteral("1 .");
  for (int i = 0; i < 30; ++i) keys += QStringLiteral(" 1");
  k.Keys(keys);
  EXPECT_NEAR(k.calc->GetFloatValue(), 1.0 + 1.0 / 9.0, 1e-9);
}

TEST(Calculator, FullTextRefusesDigitsSignAndPoint) {
  Calculator k;
  k.calc->SetText(QStringLiteral("1.00"));
  k.calc->SetMaxLength(4);
  EXPECT_EQ(k.Keys(QStringLiteral("7 +/- .")), QStringLiteral("1.00"));
  EXPECT_FALSE(k.calc->Modified());
  k.Keys(QStringLiteral("+"));
  EXPECT_TRUE(k.calc->Modified());
}

TEST(Calculator, ValueThousandSeparatorsAndMemory) {
  Calculator k;
  k.calc->SetText(QString());
  EXPECT_EQ(k.calc->Value(), 0);
  EXPECT_EQ(k.calc->Text(), QStringLiteral("0.00"));
  k.calc->SetValue(3.14159L);
  EXPECT_EQ(k.calc->Text(), QStringLiteral("3.14"));
  k.calc->SetShowThousandSeparator(true);
  EXPECT_EQ(k.Keys(QStringLiteral("1 0 0 0 * 2 =")), QStringLiteral("2,000.00"));
  k.Keys(QStringLiteral("MS"));
  EXPECT_EQ(k.calc->Memory(), 2000);
  EXPECT_EQ(k.calc->Value(), 2000);
}

TEST(Calculator, ATextThatIsNoNumberRaisesAndKeepsTheState) {
  Calculator k;
  k.Keys(QStringLiteral("5 MS +"));
  k.calc->SetPlainText(QStringLiteral("abc"));
  EXPECT_THROW(k.Keys(QStringLiteral("=")), EConvertError);
  EXPECT_THROW(k.Keys(QStringLiteral("M+")), EConvertError);
  EXPECT_EQ(k.calc->Memory(), 5);
  EXPECT_EQ(k.calc->Value(), 0);
}

TEST(Calculator, KeysTypedInTheEditWhileThePopupIsClosed) {
  Calculator k;
  k.calc->SetFocus();
  QApplication::processEvents();
  k.calc->SelectAll();
  QTest::keyClicks(k.calc->Widget(), QStringLiteral("5+3"));
  QTest::keyClick(k.calc->Widget(), Qt::Key_Return);
  EXPECT_EQ(k.calc->Text(), QStringLiteral("8.00"));
  QTest::keyClicks(k.calc->Widget(), QStringLiteral("*2="));
  EXPECT_EQ(k.calc->Text(), QStringLiteral("16.00"));
  QTest::keyClick(k.calc->Widget(), Qt::Key_C);
  EXPECT_EQ(k.calc->Text(), QStringLiteral("0.00"));
  QTest::keyClick(k.calc->Widget(), Qt::Key_X);  // no calculator key: dropped
  EXPECT_EQ(k.calc->Text(), QStringLiteral("0.00"));
}

TEST(Calculator, KeysTypedInThePopup) {
  Calculator k;
  k.calc->SetText(QStringLiteral("7"));
  k.calc->ShowDropDown();
  QWidget* popup = k.calc->DropDownForm()->Widget();
  QTest::keyClicks(popup, QStringLiteral("2+3*2="));
  EXPECT_EQ(k.calc->Text(), QStringLiteral("10.00"));
  EXPECT_TRUE(k.calc->DroppedDown());
  QTest::keyClicks(popup, QStringLiteral("-4"));
  QTest::keyClick(popup, Qt::Key_Return);
  EXPECT_FALSE(k.calc->DroppedDown());
  EXPECT_EQ(k.calc->Text(), QStringLiteral("6.00"));
}

TEST(Calculator, CancelledPopupRestoresTheValueItOpenedOn) {
  Calculator k;
  k.calc->SetText(QStringLiteral("7"));
  k.calc->ShowDropDown();
  EXPECT_EQ(k.Keys(QStringLiteral("1 2")), QStringLiteral("12.00"));
  QTest::keyClick(k.calc->DropDownForm()->Widget(), Qt::Key_Escape);
  EXPECT_FALSE(k.calc->DroppedDown());
  EXPECT_EQ(k.calc->Text(), QStringLiteral("7.00"));
  // Closing by a click elsewhere is not a cancel.
  k.calc->ShowDropDown();
  k.Keys(QStringLiteral("4"));
  k.calc->DropDownForm()->Widget()->close();
  EXPECT_EQ(k.calc->Text(), QStringLiteral("4.00"));
}

TEST(Calculator, KeypadLayoutAndMouse) {
  Calculator k;
  k.calc->ShowDropDown();
  TCustomButtonPanel& pad = *k.calc->ButtonPanel();
  pad.SetBounds(pad.Left(), pad.Top(), 230, 150);  // the area 214 x 134: keys 34 x 26
  pad.ArrangeButtons();
  struct Key {
    int index;
    TRect rect;
  };
  const Key keys[] = {
      {0, TRect(8, 8, 42, 34)},       {1, TRect(46, 8, 100, 34)},     {2, TRect(104, 8, 158, 34)},
      {3, TRect(162, 8, 217, 34)},    {4, TRect(8, 38, 42, 64)},      {11, TRect(46, 38, 80, 64)},
      {12, TRect(79, 38, 113, 64)},   {20, TRect(150, 38, 184, 64)},  {27, TRect(183, 38, 217, 64)},
      {8, TRect(46, 113, 80, 139)},   {24, TRect(183, 113, 217, 139)},
  };
  for (const Key& key : keys) {
    SCOPED_TRACE(key.index);
    EXPECT_EQ(pad.GetButtonRect(key.index), key.rect);
  }
  EXPECT_EQ(pad.ButtonAtPos(79, 40), 11);  // the shared line belongs to the earlier key
  EXPECT_EQ(pad.ButtonAtPos(3, 3), -1);
  EXPECT_EQ(pad.GetButtonRect(28), TRect(-1, -1, -1, -1));
  k.calc->SetText(QStringLiteral("0"));
  QTest::mouseClick(pad.Widget(), Qt::LeftButton, {}, QPoint(60, 50));  // "7"
  EXPECT_EQ(k.calc->Text(), QStringLiteral("7.00"));
  // A press that ends on another key clicks nothing.
  QTest::mousePress(pad.Widget(), Qt::LeftButton, {}, QPoint(60, 50));
  QTest::mouseRelease(pad.Widget(), Qt::LeftButton, {}, QPoint(95, 50));
  EXPECT_EQ(k.calc->Text(), QStringLiteral("7.00"));
  pad.Buttons()->GetItem(12)->Enabled = false;  // "8"
  QTest::mouseClick(pad.Widget(), Qt::LeftButton, {}, QPoint(95, 50));
  EXPECT_EQ(k.calc->Text(), QStringLiteral("7.00"));
}

TEST(Calculator, StyleColoursTheKeypad) {
  Calculator k;
  k.calc->SetComponentStyle(controls::tsOffice2010Blue);
  const TExtButtonAppearance& b = *k.calc->ButtonAppearance();
  TButtonAppearance& c = *k.calc->CalcButtonAppearance();
  EXPECT_EQ(c.ColorHot(), b.ColorHot());
  EXPECT_EQ(c.GlowColorHot, b.ColorHot());
  EXPECT_EQ(c.BorderColorChecked(), b.BorderColorDisabled());
  k.calc->SetComponentStyle(controls::tsWindows7);
  EXPECT_EQ(c.GlowColorDown, TColor(0xD5C244));
  EXPECT_EQ(c.GlowColorHot, k.calc->ButtonAppearance()->ColorDownTo());
}

TEST(Calculator, Screenshot) {
  Calculator k;
  k.Keys(QStringLiteral("1 2 3 4 . 5"));
  k.calc->ShowDropDown();
  QApplication::processEvents();
  const QImage img = k.calc->DropDownForm()->Widget()->grab().toImage();
  EXPECT_EQ(img.width(), 230);
  EXPECT_TRUE(img.scaled(img.width() * 2, img.height() * 2).save(QStringLiteral(TEST_BINARY_DIR "/calculator_popup.png")));
}

}  // namespace
}  // namespace dropdown
