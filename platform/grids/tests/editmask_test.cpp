// Edit masks: parsing, the shown text of a value and the value of a shown text, what each position takes,
// and masked typing in the grid's editor.
#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include "gridfixture.h"
#include "platform/grids/editmask.h"

using namespace gridtest;

namespace {

TEST(EditMask, ShownTextAndValueBothWays) {
  struct Case {
    const char* mask;
    const char* value;
    const char* shown;
    const char* back;  // the value read back from the shown text
  };
  const Case cases[] = {
      {"000", "12", "12_", "12 "},
      {"99:99;1;_", "12:3", "12:3_", "12:3 "},
      {"99:99;0;_", "123", "12:3_", "123 "},
      {"00/00/0000;1;*", "01/02/2024", "01/02/2024", "01/02/2024"},
      {">LL-000", "ab-123", "AB-123", "AB-123"},
      {"<LL>L", "ABc", "abC", "abC"},
      {"\\A000", "A123", "A123", "A123"},   // "\A" is the literal A
      {"(999)_000;0", "12345", "(123) 45_", "12345 "},
      {"0x", "7x", "7x", "7x"},
      {"L0", "1a", "__", "  "},             // characters that do not fit are left empty
  };
  for (const Case& c : cases) {
    const TEditMask m(QString::fromUtf8(c.mask));
    ASSERT_FALSE(m.Empty()) << c.mask;
    EXPECT_EQ(m.Display(QString::fromUtf8(c.value)), QString::fromUtf8(c.shown)) << c.mask;
    EXPECT_EQ(m.Value(QString::fromUtf8(c.shown)), QString::fromUtf8(c.back)) << c.mask;
  }
  EXPECT_TRUE(TEditMask("").Empty());
  EXPECT_TRUE(TEditMask("--;0;_").Empty());  // literals only: no mask
}

TEST(EditMask, PositionsAndCompleteness) {
  const TEditMask m("#9-aA;1;_");
  EXPECT_EQ(m.NextInput(0), 0);
  EXPECT_EQ(m.NextInput(2), 3);
  EXPECT_EQ(m.PrevInput(2), 1);
  EXPECT_EQ(m.NextInput(5), -1);
  EXPECT_EQ(m.Accept(0, u'-'), QChar(u'-'));
  EXPECT_TRUE(m.Accept(1, u'-').isNull());
  EXPECT_TRUE(m.Accept(2, u'5').isNull());  // a literal takes nothing
  EXPECT_EQ(m.Accept(3, u'7'), QChar(u'7'));
  EXPECT_TRUE(m.Accept(4, u'!').isNull());
  EXPECT_FALSE(m.Complete("__-__"));
  EXPECT_TRUE(m.Complete("__-_x"));  // only the last position is required
}

TEST(EditMask, TypingIntoTheGridsEditorFollowsTheMask) {
  struct MaskGrid : TTestGrid {
    using TTestGrid::TTestGrid;
    QString GetEditMask(int, int) override { return "99:99;0;_"; }
  };
  GridFixture f(300, 150);
  auto* g = new MaskGrid(f.form.get());
  g->SetParent(f.form.get());
  g->SetOptions(g->Options() + TGridOptions{goEditing});
  g->SetCells(1, 1, "1234");
  g->Perform(WM_CHAR, u'0', 1);  // typing opens the editor: the selection empties, the 0 goes first
  TInplaceEdit* e = g->InplaceEditor();
  ASSERT_TRUE(e && e->Visible());
  EXPECT_EQ(e->Text(), "0_:__");
  for (char16_t ch : std::u16string(u"9x5")) e->Perform(WM_CHAR, ch, 1);  // x does not fit
  EXPECT_EQ(e->Text(), "09:5_");
  EXPECT_EQ(g->Cells(1, 1), "095 ");
  e->Perform(WM_CHAR, 8, 1);  // Backspace empties the position before the caret
  EXPECT_EQ(e->Text(), "09:__");
  e->SetSelStart(0);
  e->Perform(WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(e->Text(), "_9:__");
  EXPECT_EQ(g->Cells(1, 1), " 9  ");
  QGuiApplication::clipboard()->setText("4a321");  // pasted text is typed: what does not fit is dropped
  e->SetSelStart(0);
  e->Perform(WM_PASTE);
  EXPECT_EQ(e->Text(), "43:21");
  EXPECT_EQ(g->Cells(1, 1), "4321");
}

}  // namespace
