#include <gtest/gtest.h>

#include "grid/model/cellgrid.h"
#include "grid/model/tests/gridcheck.h"
#include "grid/model/tests/testgrid.h"

namespace grid {
namespace {

using plat::TPoint;
using plat::TRect;
using testing::CheckGrid;
using testing::TTestGrid;
using Cell = TTestGrid::Cell;

TEST(CellStore, TextOnlyCellsHaveNoProperties) {
  TTestGrid g(5, 5);
  g.SetCells(1, 1, "a");
  EXPECT_EQ(g.Cells(1, 1), "a");
  EXPECT_FALSE(g.HasCellProperties(1, 1));
  EXPECT_FALSE(g.HasCellProps());
  EXPECT_EQ(g.Cells(4, 4), "");
  EXPECT_EQ(g.StoredRowCount(), 2);  // nothing stored below the written row
  // Outside the grid the text still goes through the store (hidden columns keep their cells there).
  g.SetCells(7, 2, "far");
  EXPECT_EQ(g.Cells(7, 2), "far");
}

TEST(CellStore, NonBaseCellsReadAndWriteTheirBaseCell) {
  TTestGrid g(6, 4);
  g.SetGridCell(3, 2, "own");
  g.SetCells(2, 1, "base");
  g.MergeCells(2, 1, 3, 2);
  g.HasParent = true;
  g.Repaints.clear();
  EXPECT_EQ(g.Cells(3, 2), "base");
  EXPECT_EQ(g.GetGridCell(3, 2), "own");

  g.SetCells(4, 2, "new");
  EXPECT_EQ(g.GetGridCell(2, 1), "new");
  EXPECT_EQ(g.GetGridCell(4, 2), "");
  EXPECT_EQ(g.TextChanges, (std::vector<Cell>{{2, 1}}));
  EXPECT_EQ(g.Repaints, (std::vector<Cell>{{4, 2}}));
  EXPECT_EQ(CheckGrid(g), "");
}

TEST(CellStore, DisplayTextEventOnlyForNormalRowsWithTheBaseCell) {
  TTestGrid g(4, 4);
  std::vector<Cell> seen;
  g.OnGetDisplText = [&](plat::TObject*, int c, int r, QString& v) {
    seen.push_back({c, r});
    v += "!";
  };
  g.SetCells(0, 0, "x");
  EXPECT_EQ(g.Cells(0, 0), "x");  // the normal row count starts at 0: no event
  EXPECT_TRUE(seen.empty());
  g.SetNormalRowCount(2);
  g.MergeCells(0, 0, 2, 2);
  EXPECT_EQ(g.Cells(1, 1), "x!");
  EXPECT_EQ(g.Cells(0, 2), "");
  EXPECT_EQ(seen, (std::vector<Cell>{{0, 0}}));
}

// A window that answers the counts and adds to display texts, kept apart from the store it shows.
class TDecoratingWindow : public TCellGridHost {
 public:
  int ColCount() const override { return 3; }
  int RowCount() const override { return 3; }
  void DecorateDisplText(int, int, QString& v) override { v += "+"; }
  void GetDisplTextExtra(int, int, QString& v) override { v += "x"; }
};

TEST(CellStore, HostHooksFollowTheEventAndChangesNeedNoListener) {
  TDecoratingWindow window;
  TCellGrid store(window);
  store.OnGetDisplText = [](plat::TObject*, int, int, QString& v) { v += "!"; };
  store.SetNormalRowCount(3);
  // Without a listener every write, merge and undo move goes through and nothing is told.
  store.SetCells(0, 0, "a");
  store.MergeCells(0, 0, 2, 2);
  store.SetCells(1, 1, "b");
  store.SetCurrentCell(1, 1);
  store.InvalidateGrid();
  EXPECT_EQ(store.Cells(1, 1), "b!+x");
  EXPECT_EQ(CheckGrid(store), "");

  TCellProperties* props = store.GetCellProperties(2, 2);
  testing::TTestGridWindow heard(3, 3);
  store.SetListener(&heard);
  props->SetBrushColor(plat::clRed);
  store.SetCurrentCell(2, 1);
  EXPECT_EQ(heard.Repaints, (std::vector<Cell>{{2, 2}}));
  EXPECT_EQ(heard.Col, 2);
  EXPECT_EQ(heard.Row, 1);
  store.SetListener(nullptr);
}

TEST(CellStore, MergeEncodingAndQueries) {
  TTestGrid g(8, 6);
  g.MergeCells(2, 1, 3, 2);
  const TCellProperties* base = g.GetGridObject(2, 1);
  const TCellProperties* last = g.GetGridObject(4, 2);
  ASSERT_TRUE(base && last);
  EXPECT_TRUE(base->IsBaseCell);
  EXPECT_EQ(TPoint(base->CellSpanX, base->CellSpanY), TPoint(2, 1));
  EXPECT_FALSE(last->IsBaseCell);
  EXPECT_EQ(TPoint(last->CellSpanX, last->CellSpanY), TPoint(2, 1));
  EXPECT_EQ(g.CellSpan(2, 1), TPoint(2, 1));
  EXPECT_EQ(g.CellSpan(4, 2), TPoint(2, 1));
  EXPECT_EQ(g.CellExt(3, 1), TPoint(1, 1));
  EXPECT_EQ(g.FullCell(4, 2), TRect(2, 1, 4, 2));
  EXPECT_EQ(g.BaseCell(3, 2), TPoint(2, 1));
  EXPECT_TRUE(g.IsXMergedCell(3, 2));
  EXPECT_TRUE(g.IsYMergedCell(2, 2));
  EXPECT_TRUE(g.IsMergedNonBaseCell(3, 1));
  EXPECT_FALSE(g.IsMergedNonBaseCell(2, 1));
  int bc = 0, br = 0;
  EXPECT_FALSE(g.ResolveBaseCell(4, 2, bc, br));
  EXPECT_EQ(TPoint(bc, br), TPoint(2, 1));
  EXPECT_TRUE(g.ResolveBaseCell(5, 5, bc, br));
  EXPECT_EQ(TPoint(bc, br), TPoint(5, 5));
  EXPECT_EQ(g.MergeCount(), 1);
  EXPECT_EQ(CheckGrid(g), "");
}

TEST(CellStore, OneCellMergeIsABaseCellButNotMerged) {
  TTestGrid g(3, 3);
  g.MergeCells(1, 1, 1, 1);
  EXPECT_TRUE(g.HasCellProperties(1, 1));
  EXPECT_FALSE(g.IsMergedCell(1, 1));
  EXPECT_EQ(g.CellSpan(1, 1), TPoint(0, 0));
  EXPECT_EQ(g.GetGridObject(1, 1)->CellSpanX, 0);
}

TEST(CellStore, SplitOfAnUnmergedCellCreatesPropertiesAndCountsDown) {
  TTestGrid g(3, 3);
  g.SplitCells(1, 2);
  EXPECT_TRUE(g.HasCellProperties(1, 2));
  EXPECT_EQ(g.MergeCount(), -1);
  g.MergeCells(0, 0, 2, 3);
  g.SplitCells(1, 2);  // any cell of the area splits it whole
  for (int c = 0; c < 2; ++c)
    for (int r = 0; r < 3; ++r) EXPECT_FALSE(g.IsMergedCell(c, r)) << c << "," << r;
  EXPECT_EQ(g.MergeCount(), -1);
  EXPECT_EQ(CheckGrid(g), "");
}

TEST(CellStore, MergingOverAnAreaSplitsItFirstAndClipsToTheGrid) {
  TTestGrid g(6, 6);
  g.MergeCells(0, 0, 3, 3);
  g.MergeCells(2, 2, 3, 3);  // overlaps the corner cell of the first area
  EXPECT_EQ(CheckGrid(g), "");
  EXPECT_FALSE(g.IsMergedCell(0, 0));
  EXPECT_FALSE(g.IsMergedCell(1, 1));
  EXPECT_EQ(g.BaseCell(4, 4), TPoint(2, 2));
  g.MergeCells(4, 4, 5, 5);  // clipped to 2 x 2
  EXPECT_EQ(g.CellSpan(5, 5), TPoint(1, 1));
  EXPECT_FALSE(g.IsMergedCell(2, 2));
  EXPECT_EQ(g.StoredRowCount(), 6);
  g.MergeCells(9, 9, 2, 2);  // outside: counted, nothing created
  EXPECT_EQ(g.StoredRowCount(), 6);
  EXPECT_EQ(g.MergeCount(), 4);
  EXPECT_EQ(CheckGrid(g), "");
}

TEST(CellStore, SpanComparisonsOfRowsAndColumns) {
  TTestGrid g(6, 6);
  EXPECT_FALSE(g.RowSpanIdentical(1, 2));  // no vertical merge at all
  EXPECT_EQ(g.MinRowSpan(1), 6);
  EXPECT_EQ(g.MaxRowSpan(1), 0);
  g.MergeCells(0, 1, 1, 3);
  g.MergeCells(1, 1, 1, 2);
  EXPECT_TRUE(g.RowSpanIdentical(1, 2));
  EXPECT_EQ(g.MinRowSpan(1), 1);
  EXPECT_EQ(g.MaxRowSpan(1), 2);
  g.MergeCells(3, 1, 1, 2);
  g.MergeCells(3, 3, 1, 2);
  EXPECT_FALSE(g.RowSpanIdentical(2, 3));  // column 3: rows 2 and 3 lie in two different areas

  TTestGrid h(6, 6);
  h.MergeCells(1, 4, 3, 1);
  EXPECT_TRUE(h.ColSpanIdentical(1, 2));
  h.MergeCells(3, 0, 2, 1);
  EXPECT_FALSE(h.ColSpanIdentical(2, 3));  // row 0: column 3 merged, column 2 not
}

TEST(CellStore, UserValuesLeaveAnEmptyTextEmpty) {
  TTestGrid g(4, 4);
  g.SetObjectEx(1, 1, 42);
  EXPECT_EQ(g.GetObjectEx(1, 1), 42u);
  EXPECT_EQ(g.Cells(1, 1), "");
  g.SetCells(2, 2, "t");
  g.SetGraphicObjectEx(2, 2, nullptr);
  EXPECT_EQ(g.Cells(2, 2), "t");
  EXPECT_EQ(g.GetObjectEx(3, 3), 0u);
  EXPECT_FALSE(g.HasCellProperties(3, 3));  // reading creates nothing
}

TEST(CellStore, LastRowWritesReachTheFooterHook) {
  TTestGrid g(3, 4);
  g.SetHideLastRow(true);
  g.SetCells(0, 2, "x");
  EXPECT_EQ(g.LastRowChanges, 0);
  g.SetCells(0, 3, "y");
  EXPECT_EQ(g.LastRowChanges, 1);
}

TEST(CellStore, OutOfRangePropertyWritesAreIgnored) {
  TTestGrid g(3, 3);
  EXPECT_EQ(g.GetCellProperties(3, 0), nullptr);
  EXPECT_EQ(g.GetCellProperties(-1, 0), nullptr);
  g.SetObjectEx(5, 5, 1);
  g.SplitCells(-2, 7);
  EXPECT_FALSE(g.HasCellProps());
  EXPECT_EQ(g.StoredRowCount(), 0);
}

class DefaultsGrid : public TTestGrid {
 public:
  using TTestGrid::TTestGrid;
  void GetDefaultCellProperties(int, int, TCellDefaults& d) override {
    d.FontName = "Mono";
    d.FontSize = 9;
    d.BrushColor = plat::clYellow;
    d.ColorTo = plat::clRed;
    d.HA = plat::taCenter;
    d.VA = vtaBottom;
    d.WW = false;
    d.GD = GradientHorizontal;
  }
};

TEST(CellProperties, NewPropertiesTakeTheGridDefaultsAndSettersRepaint) {
  DefaultsGrid g(3, 3);
  TCellProperties* p = g.GetCellProperties(1, 2);
  EXPECT_EQ(p->FontName, "Mono");
  EXPECT_EQ(p->FontSize, 9);
  EXPECT_EQ(p->BrushColor(), plat::clYellow);
  EXPECT_EQ(p->BrushColorTo(), plat::clRed);
  EXPECT_EQ(p->Alignment, plat::taCenter);
  EXPECT_EQ(p->VAlignment(), vtaBottom);
  EXPECT_FALSE(p->WordWrap());
  EXPECT_EQ(p->GradientDirection, GradientHorizontal);
  g.Repaints.clear();
  p->SetBrushColor(plat::clBlue);
  p->SetWordWrap(true);
  p->Alignment = plat::taRightJustify;  // a plain store
  EXPECT_EQ(g.Repaints, (std::vector<Cell>{{1, 2}, {1, 2}}));

  TCellProperties copy(nullptr, 0, 0);
  p->CalcType = acSUM;
  p->CellSpanX = 4;
  copy.Assign(p);
  EXPECT_EQ(copy.BrushColor(), plat::clBlue);
  EXPECT_EQ(copy.CellSpanX, 4);
  EXPECT_EQ(copy.OwnerCol, 1);
  EXPECT_EQ(copy.BrushColorTo(), plat::clNone);  // not copied
  EXPECT_EQ(copy.CalcType, acNONE);              // not copied
  EXPECT_EQ(copy.GradientDirection, GradientVertical);
}

TEST(CellStore, FreeingAndDetaching) {
  TTestGrid g(4, 4);
  g.SetCells(1, 1, "a");
  g.GetCellProperties(1, 1)->SetBrushColor(plat::clRed);
  g.GetCellProperties(2, 1);
  g.FreeCellProperties(0, 0, 1, 3);
  EXPECT_FALSE(g.HasCellProperties(1, 1));
  EXPECT_TRUE(g.HasCellProperties(2, 1));
  EXPECT_EQ(g.Cells(1, 1), "a");

  // Detaching hands the record elsewhere: the slot is emptied, nothing freed.
  TCellProperties* p = g.GetCellProperties(3, 2);
  g.SetCells(3, 2, "b");
  g.ClearCellRefs(3, 2);
  EXPECT_FALSE(g.HasCellProperties(3, 2));
  EXPECT_EQ(g.Cells(3, 2), "");
  g.SetGridObject(0, 3, p);
  EXPECT_EQ(g.GetGridObject(0, 3), p);
  p->OwnerCol = 0;
  p->OwnerRow = 3;
  std::unique_ptr<TCellProperties> handedOver(g.GetGridObject(2, 1));
  g.ClearRowRefs(1);
  EXPECT_FALSE(g.HasCellProperties(2, 1));  // detached: whoever took the record frees it
  EXPECT_EQ(CheckGrid(g), "");
}

TEST(CellStore, RowAndColumnMovesCarryTextAndProperties) {
  TTestGrid g(4, 5);
  for (int r = 0; r < 5; ++r) g.SetCells(0, r, QString::number(r));
  TCellProperties* p = g.GetCellProperties(1, 3);
  g.MoveStoreRow(3, 0);
  EXPECT_EQ(g.Cells(0, 0), "3");
  EXPECT_EQ(g.Cells(0, 1), "0");
  EXPECT_EQ(g.GetGridObject(1, 0), p);
  g.MoveStoreColumn(1, 3);
  EXPECT_EQ(g.GetGridObject(3, 0), p);
  g.InsertStoreRows(1, 2);
  EXPECT_EQ(g.Cells(0, 3), "0");
  g.DeleteStoreRows(0, 1);  // frees the properties still in the row
  EXPECT_EQ(g.GetGridObject(3, 0), nullptr);
  EXPECT_EQ(g.Cells(0, 2), "0");
}

TEST(CellStore, RowsTakenOutAndPutInInOnePassKeepTheOthersInOrder) {
  TTestGrid g(3, 8);
  for (int r = 0; r < 8; ++r) g.SetCells(0, r, QString::number(r));
  g.GetCellProperties(1, 6)->SetBrushColor(plat::clRed);
  g.EraseStoreRows({1, 2, 5});
  std::vector<QString> texts;
  for (int r = 0; r < g.StoredRowCount(); ++r) texts.push_back(g.GetGridCell(0, r));
  EXPECT_EQ(texts, (std::vector<QString>{"0", "3", "4", "6", "7"}));
  EXPECT_EQ(g.GetGridObject(1, 3)->OwnerRow, 3);  // properties name their new cell
  g.InsertEmptyStoreRows({0, 2, 7});
  texts.clear();
  for (int r = 0; r < g.StoredRowCount(); ++r) texts.push_back(g.GetGridCell(0, r));
  EXPECT_EQ(texts, (std::vector<QString>{"", "0", "", "3", "4", "6", "7", ""}));
  EXPECT_EQ(g.GetGridObject(1, 5)->OwnerRow, 5);
  EXPECT_EQ(CheckGrid(g), "");
}

// The store counts the references it hands out with each read; whatever happens to the cells, the copies read
// stay valid and independent, and once the store lets go of a text its last holder owns it alone again.
TEST(CellStore, TextCopiesOutliveEveryWayACellLetsGoOfItsText) {
  struct Case {
    const char* name;
    void (*let_go)(TTestGrid& g);
  };
  const Case cases[] = {
      {"overwritten", [](TTestGrid& g) { for (int c = 0; c < 3; ++c) g.SetCells(c, 1, "x"); }},
      {"cleared", [](TTestGrid& g) { for (int c = 0; c < 3; ++c) g.SetCells(c, 1, QString()); }},
      {"row deleted", [](TTestGrid& g) { g.DeleteStoreRows(1, 1); }},
      {"row taken out", [](TTestGrid& g) { g.EraseStoreRows({1}); }},
      {"rows moved and inserted", [](TTestGrid& g) {
         g.MoveStoreRow(1, 3);
         g.InsertStoreRows(0, 2);
         g.InsertEmptyStoreRows({1, 4});
         g.MoveStoreColumn(2, 3);
         g.MoveStoreColumn(3, 1);
         g.MoveStoreColumn(1, 2);
       }},
      {"grid destroyed", [](TTestGrid&) {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    QString text = QString::number(12345);  // a text with heap data of its own
    std::vector<QString> copies;
    {
      TTestGrid g(4, 4);
      for (int c = 0; c < 3; ++c) g.SetCells(c, 1, text);
      g.MergeCells(0, 2, 2, 1);
      g.SetCells(0, 2, text);
      // Far more reads than the store keeps references in hand for at a time.
      for (int i = 0; i < 200; ++i) {
        for (int c = 0; c < 3; ++c) copies.push_back(g.Cells(c, 1));
        copies.push_back(g.Cells(i % 2, 2));
      }
      QString changed = g.Cells(1, 1);
      changed[0] = u'9';
      EXPECT_EQ(g.Cells(1, 1), "12345");
      EXPECT_EQ(text, "12345");
      k.let_go(g);
      EXPECT_EQ(CheckGrid(g), "");
    }
    for (const QString& copy : copies) ASSERT_EQ(copy, "12345");
    copies.clear();
    EXPECT_TRUE(text.isDetached());
  }
}

}  // namespace
}  // namespace grid
