// The string grid's sorting as its users see it: the frame around the quicksort (fixed rows and footers,
// column 0, the current row), the group sorts, unsorting, the sort settings' text and the header click.
#include <gtest/gtest.h>

#include <QApplication>

#include <algorithm>
#include <functional>

#include "controls/text_utils.h"
#include "grid/extgrid.h"
#include <QTest>

#include "platform/forms/forms.h"
#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

struct GridSortTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  GridSortTest() {
    g->SetParent(form.get());
    g->SetBounds(0, 0, 400, 300);
    g->SetColCount(4);
  }
  void Fill(int ACol, const QStringList& Texts) {
    g->SetRowCount(int(Texts.size()));
    for (int r = 0; r < Texts.size(); ++r) g->SetCells(ACol, r, Texts[r]);
  }
  QStringList Col(int ACol) const {
    QStringList l;
    for (int r = 0; r < g->RowCount(); ++r) l << g->Cells(ACol, r);
    return l;
  }
};

TEST_F(GridSortTest, FixedRowsAndFooterRowsStayAndColumnZeroCanStay) {
  Fill(0, {"h", "a", "b", "c", "f"});
  Fill(1, {"H", "3", "1", "2", "F"});
  g->SetFixedFooters(1);
  g->Sort(1, sdAscending);
  EXPECT_EQ(Col(1), QStringList({"H", "1", "2", "3", "F"}));
  EXPECT_EQ(Col(0), QStringList({"h", "b", "c", "a", "f"}));
  g->SortSettings()->NormalCellsOnly = true;
  g->Sort(1, sdDescending);
  EXPECT_EQ(Col(1), QStringList({"H", "3", "2", "1", "F"}));
  EXPECT_EQ(Col(0), QStringList({"h", "b", "c", "a", "f"}));  // column 0 kept its values
  EXPECT_EQ(g->RowCount(), 5);
  EXPECT_EQ(g->UpdateCount(), 0);
}

TEST_F(GridSortTest, TheFloatingFooterRowStaysLastAndComesBack) {
  Fill(1, {"H", "3", "1", "2", "sum"});
  g->FloatingFooter()->SetFooterStyle(fsFixedLastRow);
  g->FloatingFooter()->SetVisible(true);
  g->Sort(1, sdDescending);
  EXPECT_EQ(Col(1), QStringList({"H", "3", "2", "1", "sum"}));
  EXPECT_TRUE(g->FloatingFooter()->Visible());
  EXPECT_EQ(g->FixedFooters(), 1);
}

// Cells are read where they are stored only while no display-text hook changes them: with a hook the sort
// orders what the hook shows, for numbers and for words.
TEST_F(GridSortTest, DisplayTextHooksDecideTheOrder) {
  struct TCase {
    const char* Name;
    QStringList Stored;
    std::function<void(TExtStringGrid&)> Hook;
    QStringList Sorted;
  };
  const auto negate = [](TExtStringGrid& G) {
    G.OnGetDisplText = [](plat::TObject*, int, int, QString& V) { V = QString::number(-V.toDouble()); };
  };
  const auto reverseWords = [](TExtStringGrid& G) {
    G.OnGetDisplWideText = [](plat::TObject*, int, int, QString& V) { std::reverse(V.begin(), V.end()); };
  };
  const TCase cases[] = {
      {"numbers as stored", {"3.5", "-1", "20", "0.25"}, nullptr, {"-1", "0.25", "3.5", "20"}},
      {"numbers as shown", {"3.5", "-1", "20", "0.25"}, negate, {"-20", "-3.5", "-0.25", "1"}},
      {"words as stored", {"ab", "ca", "bc"}, nullptr, {"ab", "bc", "ca"}},
      {"words as shown", {"ab", "ca", "bc"}, reverseWords, {"ac", "ba", "cb"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    g->OnGetDisplText = nullptr;
    g->OnGetDisplWideText = nullptr;
    if (c.Hook) c.Hook(*g);
    g->SetFixedRows(0);
    g->SetRowCount(int(c.Stored.size()));
    for (int r = 0; r < c.Stored.size(); ++r) g->SetGridCells(2, r, c.Stored[r]);
    g->SortSettings()->SortOnVirtualCells = true;
    g->Sort(2, sdAscending);
    QStringList shown;
    // The wide-text hook's results are kept encoded.
    for (const QString& t : Col(2)) shown << controls::DecodeWideText(t);
    EXPECT_EQ(shown, c.Sorted);
  }
}

TEST_F(GridSortTest, NothingWithoutAColumnOrWithOneRow) {
  Fill(1, {"H", "3", "1"});
  g->SortSettings()->SetColumn(-1);
  g->QSort();
  EXPECT_EQ(Col(1), QStringList({"H", "3", "1"}));
  g->SetRowCount(1);
  g->SortByColumn(1);
  EXPECT_EQ(g->SortSettings()->Column(), -1);
}

TEST_F(GridSortTest, UnSortGoesBackToTheOrderOfTheLastReset) {
  Fill(1, {"H", "3", "1", "2", "5", "4"});
  Fill(2, {"", "a", "b", "c", "d", "e"});
  g->Sort(1, sdAscending);
  g->Sort(2, sdDescending);
  g->Sort(1, sdDescending);
  g->QUnSort();
  EXPECT_EQ(Col(2), QStringList({"", "a", "b", "c", "d", "e"}));
  // Rows added since: the next sort starts a new record from the order at that moment.
  g->Sort(1, sdAscending);
  g->SetRowCount(7);
  g->SetCells(1, 6, "0"), g->SetCells(2, 6, "z");
  const QStringList before = Col(2);
  g->Sort(1, sdDescending);
  g->QUnSort();
  EXPECT_EQ(Col(2), before);
}

TEST_F(GridSortTest, TheSettingsTextSortsAFreshGridAndIgnoresMissingColumns) {
  Fill(2, {"H", "1", "3", "2"});
  g->Sort(2, sdDescending);
  EXPECT_EQ(g->SortSettings()->SaveToString(), "d2");

  TExtStringGrid* fresh = new TExtStringGrid(form.get());
  fresh->SetColCount(4);
  fresh->SetRowCount(4);
  for (int r = 0; r < 4; ++r) fresh->SetCells(2, r, QStringList({"H", "1", "3", "2"})[r]);
  fresh->SortSettings()->LoadFromString("d2");
  EXPECT_TRUE(fresh->SortSettings()->Show());
  EXPECT_EQ(fresh->Cells(2, 1), "3");
  EXPECT_EQ(fresh->Cells(2, 3), "1");

  TExtStringGrid* other = new TExtStringGrid(form.get());
  other->SetColCount(4);
  other->SortSettings()->LoadFromString("u999");
  EXPECT_FALSE(other->SortSettings()->Show());
  EXPECT_EQ(other->SortSettings()->Column(), -1);
  EXPECT_THROW(other->SortSettings()->LoadFromString("u"), plat::Exception);
  EXPECT_THROW(other->SortSettings()->SetRow(1), plat::Exception);  // one fixed row: only row 0
}

TEST_F(GridSortTest, IndexedSortNeedsKeys) {
  Fill(1, {"H", "b", "a", "b"});
  Fill(3, {"", "1", "9", "2"});
  EXPECT_THROW(g->QSortIndexed(), EExtGridError);
  g->SortSettings()->LoadFromString("i;u1;d3");
  EXPECT_EQ(Col(1), QStringList({"H", "a", "b", "b"}));
  EXPECT_EQ(Col(3), QStringList({"", "9", "2", "1"}));
  EXPECT_EQ(g->SortSettings()->SaveToString(), "i;u1;d3");
}

TEST_F(GridSortTest, SortLineSwapsRowsThatCompareTheWrongWay) {
  Fill(1, {"H", "5", "3"});
  g->Sort(1, sdDescending);  // sets the running direction
  EXPECT_FALSE(g->SortLine(1, 1, 2));
  g->Sort(1, sdAscending);
  g->SetCells(1, 1, "9");
  EXPECT_TRUE(g->SortLine(1, 1, 2));
  EXPECT_EQ(Col(1), QStringList({"H", "5", "9"}));
}

TEST_F(GridSortTest, HeaderClicksSortTheRowsAndTheThirdClickUnsorts) {
  Fill(2, {"H", "b", "c", "a", "d"});
  Fill(0, {"", "1", "2", "3", "4"});
  TSortSettings& s = *g->SortSettings();
  s.SetShow(true);
  s.UndoSort = true;
  form->SetBounds(0, 0, 420, 320);
  form->Show();
  const plat::TRect r = g->CellRect(2, 0);
  const QPoint at(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  auto click = [&] {
    QTest::mousePress(g->Widget(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(g->Widget(), Qt::LeftButton, {}, at);
    // Clicks closer together than a double click would not sort twice.
    QTest::qWait(QApplication::doubleClickInterval() + 20);
  };
  click();
  EXPECT_EQ(Col(2), QStringList({"H", "a", "b", "c", "d"}));
  EXPECT_EQ(g->RenderSettings().Sort.Column, 2);  // the indicator follows the settings
  click();
  EXPECT_EQ(Col(2), QStringList({"H", "d", "c", "b", "a"}));
  EXPECT_EQ(g->RenderSettings().Sort.Direction, sdDescending);
  click();
  EXPECT_EQ(Col(0), QStringList({"", "1", "2", "3", "4"}));
  EXPECT_EQ(s.Column(), -1);
}

TEST_F(GridSortTest, GroupSortsOnlyTheChildrenOfExpandedDeepestNodes) {
  Fill(1, {"H", "n1", "c", "a", "b", "n2", "z", "y"});
  g->AddNode(1, 4);
  g->AddNode(5, 3);
  g->ContractNode(5);
  g->SortSettings()->SetColumn(1);
  g->QSortGroup();
  QStringList l = Col(1);
  EXPECT_EQ(l.mid(0, 5), QStringList({"H", "n1", "a", "b", "c"}));
}

}  // namespace
}  // namespace grid
