// Headers, fills, swapping, the current cell and its font, and moving the current cell.
#include "grid/cell_ops.h"

#include <gtest/gtest.h>

#include "platform/forms/forms.h"

namespace grid {
namespace {

class TOpsGrid : public TBaseGrid {
 public:
  explicit TOpsGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {}
  TGridHiding hiding{*this};
  TTypedCells typed{*this, hiding};
  TGridCellOps ops{*this, hiding, typed};
};

struct OpsTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TOpsGrid* g = new TOpsGrid(form.get());
  TGridCellOps& o = g->ops;
  OpsTest() {
    g->SetColCount(4);
    g->SetRowCount(5);
  }
};

TEST_F(OpsTest, HeadersGoIntoTheFixedRowAndColumn) {
  plat::TStringList headers;
  headers.SetCommaText("A,B\\nC,D,E,F");
  o.ShowColumnHeaders(headers);
  EXPECT_EQ(g->Cells(0, 0), "A");
  EXPECT_FALSE(g->Cells(1, 0).contains("\\n"));
  EXPECT_TRUE(g->Cells(1, 0).startsWith("B") && g->Cells(1, 0).endsWith("C"));
  EXPECT_EQ(g->Cells(3, 0), "E");  // lines past the columns are dropped
  o.ClearColumnHeaders();
  EXPECT_EQ(g->Cells(1, 0), "");
  o.ShowRowHeaders(headers);
  EXPECT_EQ(g->Cells(0, 2), "D");
  o.ClearRowHeaders();
  EXPECT_EQ(g->Cells(0, 2), "");
  g->SetFixedRows(0);
  o.ShowColumnHeaders(headers);  // no fixed row: nothing
  EXPECT_EQ(g->Cells(0, 0), "");
}

TEST_F(OpsTest, FillsCoverTheNormalAreaOrEverything) {
  int changes = 0;
  o.OnAllCellsChanged = [&](plat::TObject*) { ++changes; };
  o.FixedFooters = [] { return 1; };
  o.LinearFill(false);
  EXPECT_EQ(g->Cells(2, 3), "2:3");
  EXPECT_EQ(g->Cells(0, 3), "");  // fixed column
  EXPECT_EQ(g->Cells(2, 4), "");  // footer row
  o.FormatFill(true, "%d-%d");
  EXPECT_EQ(g->Cells(0, 4), "0-4");
  o.TextFill(false, "t");
  EXPECT_EQ(g->Cells(3, 1), "t");
  o.RandomFill(false, 3);
  for (int r = 1; r < 4; ++r)
    for (int c = 1; c < 4; ++c) EXPECT_LT(g->typed.GetInts(c, r), 3);
  EXPECT_EQ(changes, 4);
}

TEST_F(OpsTest, SwapCurrentCellAndFont) {
  g->SetCells(1, 1, "a");
  g->SetCells(2, 2, "b");
  TCellProperties* p = g->GetCellProperties(1, 1);
  p->FontName = "Mono";
  p->FontSize = 13;
  o.SwapCells({1, 1}, {2, 2});
  EXPECT_EQ(g->Cells(1, 1), "b");
  EXPECT_EQ(g->Cells(2, 2), "a");
  EXPECT_EQ(g->GetGridObject(2, 2), p);
  EXPECT_EQ(p->OwnerRow, 2);
  EXPECT_EQ(o.GetCellFont(2, 2).Name(), "Mono");
  EXPECT_EQ(o.GetCellFont(2, 2).Size(), 13);
  EXPECT_EQ(&o.GetCellFont(3, 3), g->Font());

  g->MergeCells(1, 2, 2, 2);
  g->SetCells(1, 2, "area");
  o.GotoCell(2, 3);
  EXPECT_EQ(g->Row(), 3);
  EXPECT_EQ(o.GetCurrentCell(), "area");  // the base cell's raw text
  o.SetCurrentCell("new");
  EXPECT_EQ(g->GetGridCell(1, 2), "new");
  o.FocusCell(3, 4);
  EXPECT_EQ(g->Selection(), (plat::TGridRect{3, 4, 3, 4}));
  o.MoveCurrentCell(3, 1);
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 1);
}

}  // namespace
}  // namespace grid
