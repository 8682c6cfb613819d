// The in-place editor: opening with F2, Enter and typing, sending text back while typing, closing with
// Enter and Escape, following the current cell, edit limit, and keys passed back to the grid.
#include <gtest/gtest.h>

#include "gridfixture.h"

using namespace gridtest;

namespace {

struct EditorTest : ::testing::Test {
  GridFixture f{400, 200};
  TTestGrid* g = f.grid;
  std::vector<QString> sent;
  void SetUp() override {
    g->SetColCount(6);
    g->SetRowCount(20);
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    g->SetCells(1, 1, "alpha");
    g->SetCells(2, 1, "beta");
    g->OnSetEditText = [this](TObject*, int c, int r, const QString& v) {
      sent.push_back(QString("%1,%2=%3").arg(c).arg(r).arg(v));
    };
  }
  TInplaceEdit* Ed() const { return g->InplaceEditor(); }
  bool Shown() const { return Ed() && Ed()->Visible(); }
  void EdKey(std::uint16_t vk) { Ed()->Perform(WM_KEYDOWN, vk, 1); }
  void EdChar(char16_t ch) { Ed()->Perform(WM_CHAR, ch, 1); }
};

TEST_F(EditorTest, F2OpensOverTheCellWithItsText) {
  EXPECT_FALSE(g->EditorMode());
  f.Key(VK_F2);
  ASSERT_TRUE(g->EditorMode());
  ASSERT_TRUE(Shown());
  EXPECT_EQ(Ed()->Text(), "alpha");
  EXPECT_EQ(Ed()->BoundsRect(), g->CellRect(1, 1));
  EXPECT_EQ(Ed()->SelLength(), 5);  // all selected: typing replaces
}

TEST_F(EditorTest, TypingSendsTextBackAndEnterCloses) {
  f.Char(u'x');  // a typed character opens the editor with it
  ASSERT_TRUE(Shown());
  EXPECT_EQ(Ed()->Text(), "x");
  EXPECT_EQ(g->Cells(1, 1), "x");
  EdChar(u'y');
  EXPECT_EQ(g->Cells(1, 1), "xy");
  EXPECT_EQ(sent.back(), "1,1=xy");
  EdChar(u'\r');
  EXPECT_FALSE(g->EditorMode());
  EXPECT_FALSE(Shown());
  EXPECT_EQ(g->Cells(1, 1), "xy");
  f.Char(u'\r');  // Enter on the grid opens it again
  EXPECT_TRUE(Shown());
  EXPECT_EQ(Ed()->Text(), "xy");
}

TEST_F(EditorTest, EscapePutsBackTheTextTheCellHadWhenOpened) {
  f.Key(VK_F2);
  EdChar(u'z');
  EXPECT_EQ(g->Cells(1, 1), "z");
  EdKey(VK_ESCAPE);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(g->Cells(1, 1), "alpha");
}

TEST_F(EditorTest, NavigationKeysMoveTheGridAndTheEditorFollowsOnlyWhenAlwaysShown) {
  f.Key(VK_F2);
  EdKey(VK_DOWN);  // goes to the grid: the cell moves, the editor closes
  EXPECT_EQ(g->Row(), 2);
  EXPECT_FALSE(Shown());
  g->SetOptions(g->Options() + TGridOptions{goAlwaysShowEditor});
  ASSERT_TRUE(Shown());
  EXPECT_EQ(Ed()->BoundsRect(), g->CellRect(1, 2));
  EdKey(VK_UP);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(Ed()->Text(), "alpha");
  EXPECT_EQ(Ed()->BoundsRect(), g->CellRect(1, 1));
}

TEST_F(EditorTest, LeftAndRightLeaveTheTextOnlyAtItsEdges) {
  g->SetOptions(g->Options() + TGridOptions{goAlwaysShowEditor});
  f.Key(VK_F2);
  Ed()->SetSelStart(2);
  Ed()->SetSelLength(0);
  EdKey(VK_RIGHT);  // inside the text: the caret moves, the grid does not
  EXPECT_EQ(g->Col(), 1);
  Ed()->SetSelStart(5);
  EdKey(VK_RIGHT);
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(Ed()->Text(), "beta");
  Ed()->SetSelStart(0);
  Ed()->SetSelLength(0);
  EdKey(VK_LEFT);
  EXPECT_EQ(g->Col(), 1);
}

TEST_F(EditorTest, PressOnTheCurrentCellOpensTheEditorAndAPressElsewhereClosesIt) {
  const TRect r = g->CellRect(1, 1);
  f.Click(r.Left + 3, r.Top + 3);
  ASSERT_TRUE(Shown());
  EdChar(u'Q');
  const TRect other = g->CellRect(3, 4);
  f.Click(other.Left + 3, other.Top + 3);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(g->Cells(1, 1), "Q");
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 4);
}

TEST_F(EditorTest, EditLimitAndReadOnlyCellsComeFromTheGrid) {
  struct LimitedGrid : TTestGrid {
    using TTestGrid::TTestGrid;
    int HandleGetEditLimit() override { return 3; }
    bool CanEditAcceptKey(char16_t k) override { return k != u'#'; }
    QString GetEditMask(int c, int) override { return c == 2 ? "999" : ""; }
  };
  auto* lg = new LimitedGrid(f.form.get());
  lg->SetParent(f.form.get());
  lg->SetOptions(lg->Options() + TGridOptions{goEditing});
  lg->SetEditorMode(true);
  TInplaceEdit* e = lg->InplaceEditor();
  ASSERT_TRUE(e && e->Visible());
  EXPECT_EQ(e->MaxLength(), 3);
  EXPECT_EQ(e->EditMask(), "");
  for (char16_t ch : std::u16string(u"ab#cd")) e->Perform(WM_CHAR, ch, 1);
  EXPECT_EQ(lg->Cells(1, 1), "abc");
  lg->SetCol(2);
  lg->SetEditorMode(true);
  EXPECT_EQ(e->EditMask(), "999");
  for (char16_t ch : std::u16string(u"1a#2")) e->Perform(WM_CHAR, ch, 1);
  EXPECT_EQ(e->Text(), "12_");
}

TEST_F(EditorTest, NoEditorWithoutEditingOrInRowSelect) {
  g->SetOptions(g->Options() - TGridOptions{goEditing});
  f.Key(VK_F2);
  f.Char(u'a');
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(Ed(), nullptr);
  g->SetOptions(g->Options() + TGridOptions{goEditing, goRowSelect});
  f.Key(VK_F2);
  EXPECT_FALSE(g->EditorMode());
}

TEST_F(EditorTest, ScrollingMovesTheEditorAndHidesItOutOfView) {
  f.Key(VK_F2);
  ASSERT_TRUE(Shown());
  g->SetTopRow(5);
  EXPECT_FALSE(Ed()->Visible());
  EXPECT_TRUE(g->EditorMode());
  g->SetTopRow(1);
  EXPECT_TRUE(Ed()->Visible());
  EXPECT_EQ(Ed()->BoundsRect(), g->CellRect(1, 1));
}

}  // namespace

namespace {

// A grid whose select-cell step says which cells may show the editor.
struct PartlyEditableGrid : TTestGrid {
  using TTestGrid::TTestGrid;
  bool HandleCanEditShow() override { return Col() != 3 && TTestGrid::HandleCanEditShow(); }
};

TEST(EditorSteps, AnAlwaysShownEditorLeavesCellsThatRefuseIt) {
  GridFixture f(400, 200);
  auto* g = new PartlyEditableGrid(f.form.get());
  g->SetParent(f.form.get());
  g->SetOptions(g->Options() + TGridOptions{goEditing, goAlwaysShowEditor});
  g->SetCol(2);
  ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->Visible());
  g->InplaceEditor()->Perform(WM_CHAR, u'k', 1);
  g->SetCol(3);
  EXPECT_FALSE(g->InplaceEditor()->Visible());
  EXPECT_EQ(g->Cells(2, 1), "k");
  g->SetCol(4);
  EXPECT_TRUE(g->InplaceEditor()->Visible());
  EXPECT_EQ(g->InplaceEditor()->BoundsRect(), g->CellRect(4, 1));
}

}  // namespace

namespace {

TEST(EditorSteps, AnOpenEditorFollowsItsCellThroughAColumnMove) {
  GridFixture f(400, 200);
  TTestGrid* g = f.grid;
  g->SetOptions(g->Options() + TGridOptions{goEditing});
  for (int c = 0; c < 5; ++c) g->SetCells(c, 1, QString("c%1").arg(c));
  g->SetCol(2);
  g->ShowEditor();
  g->InplaceEditor()->Perform(WM_CHAR, u'e', 1);
  g->MoveColumn(2, 4);
  g->HideEditor();
  EXPECT_EQ(g->Cells(4, 1), "e");   // the edited cell moved with its column
  EXPECT_EQ(g->Cells(2, 1), "c3");  // and the cell now at its old place kept its own text
}

}  // namespace
