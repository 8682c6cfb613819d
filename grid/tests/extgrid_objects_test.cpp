// Cell objects, check boxes and row operations reached through the string grid object: its check texts and
// events, its hidden rows and its undo component take part.
#include "grid/extgrid.h"

#include <gtest/gtest.h>

#include "grid/model/tests/gridcheck.h"
#include "grid/model/undoredo.h"
#include "platform/forms/forms.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

struct ExtGridObjectsTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  ExtGridObjectsTest() {
    g->SetParent(form.get());
    g->SetBounds(0, 0, 300, 200);
    g->SetColCount(4);
    g->SetRowCount(8);
    for (int r = 0; r < 8; ++r) g->SetCells(0, r, QString("r%1").arg(r));
  }
};

TEST_F(ExtGridObjectsTest, ChecksUseTheGridsTextsEventsAndHiddenRows) {
  g->OnGetCheckTrue = [](plat::TObject*, int, int, QString& v) { v = "yes"; };
  g->AddCheckBox(2, 1, true, true);
  EXPECT_EQ(g->Cells(2, 1), "yes");
  EXPECT_TRUE(g->IsChecked(2, 1));
  EXPECT_TRUE(g->IsControlCell(2, 1));
  std::vector<bool> changes;
  g->OnCheckBoxChange = [&](plat::TObject*, int, int, bool s) { changes.push_back(s); };
  EXPECT_TRUE(g->ToggleCheckBox(2, 1));
  EXPECT_EQ(g->Cells(2, 1), "N");
  EXPECT_EQ(changes, std::vector<bool>{false});
  g->HideRows(5, 6);
  EXPECT_NO_THROW(g->AddCheckBox(1, 7, true, false));  // rows of the grid with its hidden ones
  EXPECT_THROW(g->AddCheckBox(1, 8, true, false), plat::Exception);
}

TEST_F(ExtGridObjectsTest, ImageCellsNeedTheGridsImageList) {
  g->AddImageIdx(1, 1, 0, haCenter, vaCenter);
  EXPECT_EQ(g->GetCellType(1, 1), ctEmpty);
  plat::TImageList images(nullptr);
  g->SetGridImages(&images);
  g->AddImageIdx(1, 1, 0, haCenter, vaCenter);
  EXPECT_EQ(g->GetCellType(1, 1), ctImageList);
  g->SetGridImages(nullptr);
}

TEST_F(ExtGridObjectsTest, RowOperationsKeepHiddenRowsObjectsAndMerges) {
  g->HideRows(4, 4);
  g->CellObjects().AddComment(1, 5, "five");  // display row 5 is real row 6
  g->InsertRows(2, 1);
  g->MergeCells(2, 0, 1, 3);
  g->RemoveRows(1, 1);
  EXPECT_EQ(g->CellObjects().GetComment(1, 5), "five");
  EXPECT_EQ(testing::CheckGrid(g->CellStore()), "");
  g->UnHideRowsAll();
  QStringList col;
  for (int r = 0; r < g->RowCount(); ++r) col << g->GetGridCell(0, r);
  EXPECT_EQ(col.join(' '), "r0  r2 r3 r4 r5 r6 r7");  // the inserted row (emptied) and r1 gone
}

TEST_F(ExtGridObjectsTest, RemovingCheckedOrUncheckedRows) {
  g->SetFixedRows(1);
  for (int r = 1; r < 8; ++r) g->AddCheckBox(1, r, r % 2 == 0, false);
  g->RemoveCheckedRows(1, true);  // rows 2, 4, 6
  QStringList col;
  for (int r = 0; r < g->RowCount(); ++r) col << g->GetGridCell(0, r);
  EXPECT_EQ(col.join(' '), "r0 r1 r3 r5 r7");
  g->RemoveCheckedRows(1, false);  // the fixed row has no box but is never looked at
  EXPECT_EQ(g->RowCount(), 1);
  EXPECT_EQ(g->GetGridCell(0, 0), "r0");
}

QString Column0(TExtStringGrid& g) {
  QStringList col;
  for (int r = 0; r < g.RowCount(); ++r) col << g.GetGridCell(0, r);
  return col.join(' ');
}

QString SelectedRows(TExtStringGrid& g) {
  QStringList rows;
  for (int r = 0; r < g.RowCount(); ++r)
    if (g.GetRowSelect(r)) rows << g.GetGridCell(0, r);
  return rows.join(' ');
}

TEST_F(ExtGridObjectsTest, FlagsFollowTheirRowsThroughInsertRemoveAndMove) {
  g->SetFixedRows(1);
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->SetRowSelect(3, true);
  g->SetRowSelect(6, true);
  g->SetRowModified(5, true);
  struct Case {
    const char* what;
    std::function<void(TExtStringGrid&)> op;
    const char* selected;
    int count;
  } cases[] = {
      {"insert above", [](TExtStringGrid& t) { t.InsertRows(2, 2); }, "r3 r6", 2},
      {"remove a selected row", [](TExtStringGrid& t) { t.RemoveRows(5, 1); }, "r6", 1},
      {"move a selected row up", [](TExtStringGrid& t) { t.MoveRows(7, 1, 1); }, "r6", 1},
  };
  for (const Case& c : cases) {
    c.op(*g);
    EXPECT_EQ(SelectedRows(*g), c.selected) << c.what;
    EXPECT_EQ(g->SelectedRowCount(), c.count) << c.what;
    for (int i = 0; i < g->SelectedRowCount(); ++i)
      EXPECT_TRUE(g->GetRowSelect(g->SelectedRow(i))) << c.what << " list entry " << i;
  }
  // The modified flag stayed with r5 through all of it.
  for (int r = 0; r < g->RowCount(); ++r) EXPECT_EQ(g->RowModified(r), g->GetGridCell(0, r) == "r5") << r;
}

TEST_F(ExtGridObjectsTest, RemovingRowsAndColumnsByTheirSelection) {
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  const auto header = [&] {
    QStringList h;
    for (int c = 0; c < g->ColCount(); ++c) h << g->GetGridCell(c, 0);
    return h.join(' ');
  };
  // The rectangle's rows, given bottom above top, go; so do the rows outside it.
  g->SetSelection({1, 4, 3, 2});
  g->RemoveSelectedRows();
  EXPECT_EQ(Column0(*g), "r0 r1 r5 r6 r7");
  g->SetSelection({1, 2, 1, 3});
  g->RemoveUnSelectedRows();
  EXPECT_EQ(Column0(*g), "r0 r5 r6");
  // Disjunct rows: the flagged ones go and no flag is left behind.
  g->InsertRows(3, 2);
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->SetRowSelect(1, true);
  g->SetRowSelect(3, true);
  g->RemoveSelectedRows();
  EXPECT_EQ(Column0(*g), "r0 r6 ");
  EXPECT_EQ(g->RowSelectCount(), 0);
  // Columns: a hidden column is not removed with the displayed ones beside it.
  for (int c = 0; c < 4; ++c) g->SetCells(c, 0, QString("c%1").arg(c));
  g->HideColumn(2);
  g->SetSelection({1, 1, 2, 1});  // display columns 1 and 2 are c1 and c3
  g->RemoveSelectedCols();
  EXPECT_EQ(header(), "c0");
  g->UnHideColumnsAll();
  EXPECT_EQ(header(), "c0 c2");
}

TEST_F(ExtGridObjectsTest, ScrollInViewCentresARowOutsideTheView) {
  g->SetFixedRows(1);
  g->SetRowCount(200);
  const int vis = g->VisibleRowCount();
  g->ScrollInView(1, 100);
  EXPECT_EQ(g->Row(), 100);
  EXPECT_EQ(g->TopRow(), 100 - vis / 2);
  g->ScrollInView(1, 100 - vis / 2);  // already in view: nothing moves
  EXPECT_EQ(g->TopRow(), 100 - vis / 2);
  EXPECT_EQ(g->Row(), 100);
  g->ScrollInView(1, 199);  // near the end the top row stops where the view is still full
  EXPECT_EQ(g->TopRow() + g->VisibleRowCount(), g->RowCount());
  g->ScrollInView(1, 500);  // outside the grid: ignored
  EXPECT_EQ(g->Row(), 199);
  g->ColorRect(1, 3, 2, 1, plat::clRed);  // bottom above top: nothing
  EXPECT_NE(g->Colors(1, 2), plat::clRed);
  g->ColorRect(1, 1, 2, 3, plat::clRed);
  EXPECT_EQ(g->Colors(2, 3), plat::clRed);
}

// Web addresses are anchored at the first prefix that the fixed order finds; node headers show their count.
TEST_F(ExtGridObjectsTest, ShownTextsAnchorAddressesAndCountGroupRows) {
  struct Case {
    const char* stored;
    const char* shown;
  } cases[] = {
      {"see www.example.org now", "see <a href=\"www.example.org\">www.example.org</a> now"},
      {"https://a.b/c", "<a href=\"https://a.b/c\">https://a.b/c</a>"},
      {"http://x.y and www.z.w", "<a href=\"http://x.y\">http://x.y</a> and www.z.w"},
      {"a <b> c", "a <b> c"},
      {"plain", "plain"},
  };
  g->SetURLShowInText(true);
  for (const Case& c : cases) {
    g->SetCells(1, 2, c.stored);
    EXPECT_EQ(g->Cells(1, 2), c.shown) << c.stored;
    EXPECT_EQ(g->GetGridCell(1, 2), c.stored);
  }
  g->SetURLShowInText(false);
  EXPECT_EQ(g->Cells(1, 2), "plain");

  g->SetCells(1, 3, "head");
  g->AddNode(3, 4);
  g->AddNode(5, 2);
  g->UpdateSubNodeCount(3, 1);  // one of the node's rows is a sub-node: not counted
  g->Grouping()->ShowGroupCount = true;
  EXPECT_EQ(g->Cells(1, 3), "head (2)");

  EXPECT_EQ(g->Cells(2, 3), "");
  g->Grouping()->GroupCountFormat = " [%d rows]";
  EXPECT_EQ(g->Cells(1, 3), "head [2 rows]");
  g->Grouping()->GroupCountFormat = " [%s]";  // a format that does not take a number
  EXPECT_EQ(g->Cells(1, 3), "head (2)");
}

}  // namespace
}  // namespace grid
