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
  EXPECT_EQ(testing::CheckGrid(*g), "");
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

}  // namespace
}  // namespace grid
