// The track-bar and memo drop-downs: stepping and dragging the track bar's value from the edit, the value kept
// or given back when the popup closes, the memo's one-line display and its text kept or restored; and both
// popups as the user sees them (saved as PNG files next to the test binary).
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "dropdown/memo_dropdown.h"
#include "dropdown/trackbar_dropdown.h"
#include "platform/forms/forms.h"
#include "platform/forms/trackbar.h"
#include "platform/rtl/strings.h"

using namespace plat;

namespace dropdown {
namespace {

template <class T>
struct Shown {
  Shown() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 240);
    drop = new T(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 200, 24);
    form->Show();
    QApplication::processEvents();
  }
  void SavePopup(const char* name) {
    drop->ShowDropDown();
    QApplication::processEvents();
    const QImage img = drop->DropDownForm()->Widget()->grab().toImage();
    EXPECT_TRUE(img.scaled(img.width() * 2, img.height() * 2)
                    .save(QStringLiteral(TEST_BINARY_DIR "/%1.png").arg(QString::fromUtf8(name))));
  }
  std::unique_ptr<TForm> form;
  T* drop;
};

TEST(TrackBarDropDown, UpAndDownStepByFrequencyWithinTheLimits) {
  struct Case {
    int frequency, position;
    std::uint16_t key;
    int expected;
  };
  const Case cases[] = {
      {1, 0, VK_UP, 0},   // at Min
      {3, 2, VK_UP, 2},   // 2 - 3 is below Min
      {3, 2, VK_DOWN, 5},
      {3, 8, VK_DOWN, 8},  // 8 + 3 is above Max
      {1, 10, VK_UP, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    Shown<TExtTrackBarDropDown> s;
    s.drop->SetFrequency(c.frequency);
    s.drop->SetPosition(c.position);
    s.drop->Perform(WM_KEYDOWN, c.key, 0);
    EXPECT_EQ(s.drop->Position(), c.expected);
    EXPECT_EQ(s.drop->Text(), QString::number(c.expected));
  }
}

TEST(TrackBarDropDown, DraggingOverTheEditMovesOneStepPerPageSizePixels) {
  struct Case {
    int pageSize;
    std::vector<int> moves;  // x positions after a press at 10
    int expected;
  };
  const Case cases[] = {
      {2, {17}, 3},          // 7 pixels, 2 per step
      {2, {17, 18, 20}, 4},  // each move counts from the last x: 0, then 1
      {2, {4}, 0},           // to the left: -3, held at Min
      {0, {15}, 5},          // a page size of 0 counts as 1
      {-3, {13}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pageSize);
    Shown<TExtTrackBarDropDown> s;
    s.drop->SetPageSize(c.pageSize);
    s.drop->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(10, 5));
    for (int x : c.moves) s.drop->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, 5));
    s.drop->Perform(WM_LBUTTONUP, 0, MakeLParam(c.moves.back(), 5));
    s.drop->HideDropDown(false);
    EXPECT_EQ(s.drop->Position(), c.expected);
    s.drop->Perform(WM_MOUSEMOVE, 0, MakeLParam(100, 5));  // the drag has ended
    EXPECT_EQ(s.drop->Position(), c.expected);
  }
}

TEST(TrackBarDropDown, PopupValueKeptOnCloseAndGivenBackOnCancel) {
  Shown<TExtTrackBarDropDown> s;
  int changes = 0;
  s.drop->OnTrackChange = [&](TObject*) { ++changes; };
  s.drop->SetMax(20);
  s.drop->SetPosition(4);
  s.drop->ShowDropDown();
  ASSERT_TRUE(s.drop->DroppedDown());
  EXPECT_EQ(s.drop->TrackBar()->Position(), 4);
  EXPECT_EQ(s.drop->TrackBar()->Max(), 20);
  s.drop->TrackBar()->SetPosition(7);
  EXPECT_EQ(s.drop->Text(), QStringLiteral("7"));
  EXPECT_EQ(s.drop->Position(), 7);
  QTest::keyClick(s.drop->DropDownForm()->Widget(), Qt::Key_Escape);
  EXPECT_FALSE(s.drop->DroppedDown());
  EXPECT_EQ(s.drop->Text(), QStringLiteral("4"));
  EXPECT_EQ(s.drop->Position(), 4);
  s.drop->ShowDropDown();
  s.drop->TrackBar()->SetPosition(12);
  s.drop->DropDownForm()->Widget()->close();  // a click elsewhere
  EXPECT_FALSE(s.drop->DroppedDown());
  EXPECT_EQ(s.drop->Position(), 12);
  EXPECT_EQ(s.drop->Text(), QStringLiteral("12"));
  EXPECT_GE(changes, 2);
  // The track bar's limits hold for a position set by code.
  s.drop->SetPosition(50);
  EXPECT_EQ(s.drop->Position(), 20);
}

TEST(MemoDropDown, OneLineDisplayOfTheLines) {
  Shown<TExtMemoDropDown> s;
  s.drop->SetEditorEnabled(false);
  s.drop->MemoText()->SetText(QStringLiteral("Water\r\nHeat\r\nGas"));
  EXPECT_EQ(s.drop->Text(), QStringLiteral("Water..."));
  s.drop->MemoText()->SetText(QStringLiteral("Water"));
  EXPECT_EQ(s.drop->Text(), QStringLiteral("Water"));
  const QString longLine = QStringLiteral("A very long first line that will never fit into the edit's width");
  s.drop->MemoText()->SetText(longLine + QStringLiteral("\r\nsecond"));
  EXPECT_TRUE(s.drop->Text().endsWith(QStringLiteral("...")));
  EXPECT_TRUE(longLine.startsWith(s.drop->Text().chopped(3)));
  EXPECT_LT(s.drop->Text().size(), longLine.size());
  // With the editor on the edit holds every line and typing there replaces them.
  s.drop->SetEditorEnabled(true);
  s.drop->MemoText()->SetText(QStringLiteral("one\r\ntwo"));
  EXPECT_EQ(s.drop->Text(), QStringLiteral("one\r\ntwo"));
  s.drop->SetText(QStringLiteral("typed"));
  EXPECT_EQ(s.drop->MemoText()->Count(), 1);
  EXPECT_EQ(s.drop->MemoText()->Strings(0), QStringLiteral("typed"));
}

TEST(MemoDropDown, EscapeRestoresTheLinesAndAClickElsewhereKeepsThem) {
  Shown<TExtMemoDropDown> s;
  s.drop->SetEditorEnabled(false);
  s.drop->MemoText()->SetText(QStringLiteral("Water\r\nHeat\r\nGas"));
  s.drop->ShowDropDown();
  ASSERT_TRUE(s.drop->DroppedDown());
  EXPECT_EQ(s.drop->Memo()->Lines()->Count(), 3);
  s.drop->Memo()->Lines()->SetText(QStringLiteral("Electricity"));
  QTest::keyClick(s.drop->Memo()->Widget(), Qt::Key_Escape);
  EXPECT_FALSE(s.drop->DroppedDown());
  // All three lines are back, not the one-line display the edit showed.
  EXPECT_EQ(s.drop->MemoText()->Count(), 3);
  EXPECT_EQ(s.drop->MemoText()->Strings(2), QStringLiteral("Gas"));
  EXPECT_EQ(s.drop->Text(), QStringLiteral("Water..."));
  s.drop->ShowDropDown();
  EXPECT_EQ(s.drop->Memo()->Lines()->Count(), 3);
  s.drop->Memo()->Lines()->SetText(QStringLiteral("Electricity\r\nCooling"));
  s.drop->DropDownForm()->Widget()->close();
  EXPECT_FALSE(s.drop->DroppedDown());
  EXPECT_EQ(s.drop->MemoText()->Count(), 2);
  EXPECT_EQ(s.drop->MemoText()->Strings(1), QStringLiteral("Cooling"));
  EXPECT_EQ(s.drop->Text(), QStringLiteral("Electricity..."));
}

TEST(MemoDropDown, OnlyAltEscapeAndF4LeaveTheMemo) {
  Shown<TExtMemoDropDown> s;
  s.drop->MemoText()->SetText(QStringLiteral("x"));
  s.drop->ShowDropDown();
  QWidget* memo = s.drop->Memo()->Widget();
  QTest::keyClick(memo, Qt::Key_Return);  // a new line in the memo, not the edit's Enter
  EXPECT_TRUE(s.drop->DroppedDown());
  QTest::keyClick(memo, Qt::Key_F4);
  EXPECT_FALSE(s.drop->DroppedDown());
}

TEST(PopupScreens, TrackBarAndMemo) {
  Shown<TExtTrackBarDropDown> t;
  t.drop->SetPosition(6);
  t.SavePopup("trackbar_popup");
  Shown<TExtMemoDropDown> m;
  m.drop->MemoText()->SetText(QStringLiteral("Water meter in the cellar\r\nHeat meter, flat 3"));
  m.SavePopup("memo_popup");
}

}  // namespace
}  // namespace dropdown
