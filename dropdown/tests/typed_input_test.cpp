// Typed input of the drop-down edit: the character rules of every edit type, typed through the edit's own key
// handling, the value-part keys with a prefix and suffix, the value model and the normalisation on leaving.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "dropdown/tests/dropdown_fixture.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"

using namespace plat;

namespace dropdown {
namespace {

using testing::DropDownForm;
using testing::Separators;

struct TypingCase {
  const char* name;
  TDropDownEditType type;
  int precision;
  bool isSigned;
  const char* raw;  // the text before typing (set unformatted)
  int selStart, selLength;
  const char* keys;
  const char* expected;
  int caret;  // -1: not checked
};

void Type(QWidget* w, const QString& keys) {
  for (QChar c : keys) QTest::keyClick(w, c.toLatin1());
}

void RunCases(const TypingCase* cases, std::size_t count, const char* extraSetupName = nullptr) {
  (void)extraSetupName;
  for (std::size_t i = 0; i < count; ++i) {
    const TypingCase& c = cases[i];
    SCOPED_TRACE(c.name);
    DropDownForm f;
    f.drop->SetEditType(c.type);
    f.drop->SetSigned(c.isSigned);
    f.drop->SetPrecision(c.precision);
    f.drop->SetPlainText(QString::fromUtf8(c.raw));
    f.drop->LineEdit()->setSelection(c.selStart, c.selLength);
    if (c.selLength == 0) f.drop->LineEdit()->setCursorPosition(c.selStart);
    Type(f.drop->Widget(), QString::fromUtf8(c.keys));
    EXPECT_EQ(f.drop->Text(), QString::fromUtf8(c.expected));
    if (c.caret >= 0) {
      EXPECT_EQ(f.drop->SelStart(), c.caret);
    }
  }
}

TEST(TypedInput, NumericTakesDigitsAndTogglesTheSign) {
  Separators sep(u'.', u',');
  const TypingCase cases[] = {
      {"digits", etNumeric, 0, false, "12", 2, 0, "3a.", "123", 3},
      {"minus refused unsigned", etNumeric, 0, false, "12", 0, 0, "-", "12", 0},
      {"minus on the selected value", etNumeric, 0, true, "12", 0, 2, "-", "-", 1},
      {"minus puts the sign in front", etNumeric, 0, true, "12", 1, 0, "-", "-12", 2},
      {"minus again takes it away", etNumeric, 0, true, "-12", 2, 0, "-", "12", 1},
  };
  RunCases(cases, std::size(cases));
}

TEST(TypedInput, FloatKeepsOneSeparatorAndItsDecimals) {
  Separators sep(u'.', u',');
  const TypingCase cases[] = {
      {"separator moves after the existing one", etFloat, 2, false, "1.5", 0, 0, ".", "1.5", 2},
      {"separator refused without precision", etFloat, 0, false, "15", 2, 0, ".", "15", 2},
      {"full decimals drop a digit at the end", etFloat, 2, false, "1.25", 4, 0, "5", "1.25", 4},
      {"full decimals replace the next digit", etFloat, 2, false, "1.25", 2, 0, "5", "1.55", 3},
      {"digits before the separator", etFloat, 2, false, "1.25", 1, 0, "9", "19.25", 2},
      {"separator into an empty value", etFloat, 2, false, "", 0, 0, ".", "0.", 2},
      {"group separator three after the last", etFloat, 0, false, "1,234", 5, 0, ",", "1,234,", 6},
      {"group separator inside a group", etFloat, 0, false, "1,234", 4, 0, ",", "1,234", 4},
      {"letters refused", etFloat, 2, false, "1", 1, 0, "x", "1", 1},
      {"sign toggled", etFloat, 2, true, "1.5", 3, 0, "-", "-1.5", 4},
  };
  RunCases(cases, std::size(cases));
}

TEST(TypedInput, MoneyRegroupsWhileTyping) {
  Separators sep(u'.', u',');
  const TypingCase cases[] = {
      {"grouped as typed", etMoney, 2, false, "", 0, 0, "1234", "1,234", 5},
      {"group separator not typed", etMoney, 2, false, "12", 2, 0, ",", "12", 2},
      {"second separator moves the caret", etMoney, 2, false, "1.50", 0, 0, ".", "1.50", 2},
  };
  RunCases(cases, std::size(cases));
}

TEST(TypedInput, TextTypesFilterAndCase) {
  Separators sep(u'.', u',');
  const TypingCase cases[] = {
      {"upper case", etUppercase, 0, false, "", 0, 0, "abC", "ABC", 3},
      {"lower case", etLowerCase, 0, false, "", 0, 0, "AbC", "abc", 3},
      {"mixed case", etMixedCase, 0, false, "", 0, 0, "hello world", "Hello World", 11},
      {"hexadecimal", etHex, 0, false, "", 0, 0, "1fG-z", "1f-", 3},
      {"alphanumeric", etAlphaNumeric, 0, false, "", 0, 0, "a1-_B", "a1B", 3},
      {"range", etRange, 0, false, "", 0, 0, "-1,,2;-3", "1,2;3", -1},
      {"range separator before another", etRange, 0, false, "1,2", 1, 0, ";", "1,2", 1},
  };
  RunCases(cases, std::size(cases));
}

TEST(TypedInput, ValidCharsAcceptOnlyTheirCharacters) {
  DropDownForm f;
  f.drop->SetEditType(etValidChars);
  f.drop->SetValidChars(QStringLiteral("xy"));
  Type(f.drop->Widget(), QStringLiteral("axbyc"));
  EXPECT_EQ(f.drop->Text(), QStringLiteral("xy"));
}

TEST(TypedInput, KeypadDecimalKeyTypesTheLocaleSeparator) {
  Separators sep(u',', u' ');
  DropDownForm f;
  f.drop->SetEditType(etFloat);
  f.drop->SetPrecision(2);
  f.drop->SetExcelStyleDecimalSeparator(true);
  f.drop->SetPlainText(QStringLiteral("12"));
  f.drop->LineEdit()->setCursorPosition(2);
  QTest::keyClick(f.drop->Widget(), '.');
  EXPECT_EQ(f.drop->Text(), QStringLiteral("12"));  // the main keyboard's "." is no separator here
  QTest::keyClick(f.drop->Widget(), Qt::Key_Period, Qt::KeypadModifier);
  EXPECT_EQ(f.drop->Text(), QStringLiteral("12,"));
}

TEST(TypedInput, LengthLimitCountsIntegerDigits) {
  Separators sep(u'.', u',');
  DropDownForm f;
  f.drop->SetEditType(etFloat);
  f.drop->SetPrecision(2);
  f.drop->SetLengthLimit(3);
  f.drop->SetPlainText(QStringLiteral("123.4"));
  f.drop->LineEdit()->setCursorPosition(1);
  QTest::keyClick(f.drop->Widget(), '9');
  EXPECT_EQ(f.drop->Text(), QStringLiteral("123.4"));
  f.drop->LineEdit()->setCursorPosition(5);
  QTest::keyClick(f.drop->Widget(), '5');
  EXPECT_EQ(f.drop->Text(), QStringLiteral("123.45"));
  // Deleting the separator would join five integer digits.
  f.drop->LineEdit()->setCursorPosition(3);
  QTest::keyClick(f.drop->Widget(), Qt::Key_Delete);
  EXPECT_EQ(f.drop->Text(), QStringLiteral("123.45"));
}

TEST(TypedInput, PrefixAndSuffixKeepTheCaretInTheValue) {
  DropDownForm f;
  f.drop->SetPrefix(QStringLiteral("$"));
  f.drop->SetSuffix(QStringLiteral(" EUR"));
  f.drop->SetText(QStringLiteral("42"));
  EXPECT_EQ(f.drop->LineEdit()->text(), QStringLiteral("$42 EUR"));
  EXPECT_EQ(f.drop->Text(), QStringLiteral("42"));
  QWidget* w = f.drop->Widget();
  QTest::keyClick(w, Qt::Key_End);
  EXPECT_EQ(f.drop->SelStart(), 3);
  QTest::keyClick(w, Qt::Key_Right);
  EXPECT_EQ(f.drop->SelStart(), 3);
  QTest::keyClick(w, Qt::Key_Home);
  EXPECT_EQ(f.drop->SelStart(), 1);
  QTest::keyClick(w, Qt::Key_Left);
  EXPECT_EQ(f.drop->SelStart(), 1);
  QTest::keyClick(w, Qt::Key_Backspace);
  EXPECT_EQ(f.drop->LineEdit()->text(), QStringLiteral("$42 EUR"));
  QTest::keyClick(w, Qt::Key_End);
  QTest::keyClick(w, Qt::Key_Delete);
  EXPECT_EQ(f.drop->LineEdit()->text(), QStringLiteral("$42 EUR"));
  Type(w, QStringLiteral("7"));
  EXPECT_EQ(f.drop->Text(), QStringLiteral("427"));
  f.drop->SelectAll();
  EXPECT_EQ(f.drop->SelText(), QStringLiteral("427"));
}

TEST(TypedInput, WrittenValuesAreFormattedByType) {
  Separators sep(u'.', u',');
  DropDownForm f;
  TExtCustomDropDown& d = *f.drop;
  d.SetEditType(etHex);
  d.SetText(QString());
  EXPECT_EQ(d.Text(), QStringLiteral("0"));
  d.SetText(QStringLiteral("ff"));
  EXPECT_EQ(d.Text(), QStringLiteral("FF"));
  EXPECT_EQ(d.GetFloatValue(), 255.0);
  d.SetEditType(etMoney);  // "FF" is no number: reset to zero
  EXPECT_EQ(d.Text(), QStringLiteral("0"));
  d.SetPrecision(2);
  d.SetFloatValue(1234567.891);
  EXPECT_EQ(d.Text(), QStringLiteral("1,234,567.89"));
  EXPECT_DOUBLE_EQ(d.GetFloatValue(), 1234567.89);
  d.SetEditType(etNumeric);
  d.SetPrecision(3);  // ignored: only text, float and money values have decimals
  EXPECT_EQ(d.Precision(), 2);
  d.SetEditType(etFloat);
  d.SetText(QStringLiteral("Error"));
  EXPECT_EQ(d.Text(), QStringLiteral("Error"));
  EXPECT_EQ(d.GetFloatValue(), 0.0);
}

TEST(TypedInput, LeavingTheEditFormatsTheNumber) {
  Separators sep(u'.', u',');
  DropDownForm f;
  f.form->Show();
  auto* other = new TEdit(f.form.get());
  other->SetParent(f.form.get());
  other->SetBounds(20, 80, 100, 24);
  f.drop->SetEditType(etMoney);
  f.drop->SetPrecision(2);
  f.drop->SetFocus();
  f.drop->SelectAll();
  Type(f.drop->Widget(), QStringLiteral("1234"));
  EXPECT_EQ(f.drop->Text(), QStringLiteral("1,234"));
  EXPECT_EQ(f.drop->SelStart(), 5);
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(f.drop->Text(), QStringLiteral("1,234.00"));
}

TEST(TypedInput, PastesFollowTheType) {
  Separators sep(u'.', u',');
  const struct {
    TDropDownEditType type;
    const char* before;
    const char* clip;
    const char* after;
  } cases[] = {
      {etString, "ab", "cd", "abcd"},   {etNumeric, "12", "34", "1234"}, {etNumeric, "12", "x", "12"},
      {etRange, "1", "2", "1"},         {etHex, "A", "B", "A"},          {etUppercase, "AB", "cd", "ABCD"},
      {etAlphaNumeric, "a", "-", "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clip);
    DropDownForm f;
    f.drop->SetEditType(c.type);
    f.drop->SetPlainText(QString::fromUtf8(c.before));
    f.drop->LineEdit()->setCursorPosition(static_cast<int>(strlen(c.before)));
    QApplication::clipboard()->setText(QString::fromUtf8(c.clip));
    f.drop->Perform(WM_PASTE);
    EXPECT_EQ(f.drop->Text(), QString::fromUtf8(c.after));
  }
}

TEST(TypedInput, ClipboardEventsMayRefuse) {
  DropDownForm f;
  f.drop->SetPlainText(QStringLiteral("abc"));
  f.drop->SelectAll();
  QString seen;
  f.drop->OnClipboardCut = [&](TObject*, const QString& v, bool& allow) {
    seen = v;
    allow = false;
  };
  bool copied = false;
  f.drop->OnClipboardCopy = [&](TObject*, const QString&, bool&) { copied = true; };
  f.drop->Perform(WM_CUT);
  EXPECT_EQ(seen, QStringLiteral("abc"));
  EXPECT_EQ(f.drop->Text(), QStringLiteral("abc"));
  EXPECT_FALSE(copied);
  f.drop->OnClipboardPaste = [](TObject*, const QString&, bool& allow) { allow = false; };
  QApplication::clipboard()->setText(QStringLiteral("zz"));
  f.drop->Perform(WM_PASTE);
  EXPECT_EQ(f.drop->Text(), QStringLiteral("abc"));
}

TEST(TypedInput, OneChangeEventPerKeystroke) {
  DropDownForm f;
  f.drop->SetPlainText(QStringLiteral("abc"));
  int changes = 0;
  f.drop->OnChange = [&](TObject*) { ++changes; };
  f.drop->SelectAll();
  QTest::keyClick(f.drop->Widget(), 'x');
  EXPECT_EQ(changes, 1);
  f.drop->SelectAll();
  QTest::keyClick(f.drop->Widget(), Qt::Key_Backspace);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(f.drop->Text(), QString());
}

}  // namespace
}  // namespace dropdown
