#include "grid/model/undoredo.h"

#include <gtest/gtest.h>

#include "grid/model/tests/testgrid.h"

namespace grid {
namespace {

using testing::TTestGrid;

// A grid with its undo component; Change writes a cell and registers it, as the editing does.
struct UndoFixture : ::testing::Test {
  TTestGrid g{5, 5};
  TExtGridUndoRedo undo{nullptr};
  UndoFixture() { g.SetUndoRedo(&undo); }
  void Change(int c, int r, const QString& v) {
    undo.RegisterChange(c, r, g.Cells(c, r), v);
    g.SetCells(c, r, v);
  }
};

TEST_F(UndoFixture, ANewChangeAfterUndoKeepsTheUndoneItems) {
  Change(0, 0, "a");
  Change(1, 0, "b");
  undo.Undo();
  EXPECT_EQ(g.Cells(1, 0), "");
  Change(2, 0, "c");
  EXPECT_EQ(undo.Items()->Count(), 3);
  EXPECT_EQ(undo.Level(), 3);
  undo.Undo();
  EXPECT_EQ(g.Cells(2, 0), "");
  g.SetCells(1, 0, "other");
  undo.Undo();  // item 2 again: its old text comes back
  EXPECT_EQ(g.Cells(1, 0), "");
  EXPECT_EQ(undo.Level(), 1);
  EXPECT_EQ(g.Col, 1);
  EXPECT_EQ(g.Row, 0);
  undo.Redo();
  EXPECT_EQ(g.Cells(1, 0), "b");  // the undone change applies again
}

TEST_F(UndoFixture, GroupsUndoNewestFirstAndRedoOldestFirst) {
  Change(0, 0, "x");
  undo.StartSequence();
  Change(1, 1, "a");
  Change(1, 1, "b");
  undo.StopSequence();
  std::vector<QString> undone, redone;
  undo.OnUndo = [&](plat::TObject* s, TCellGrid* grid, int, int, const QString& cur, const QString& next) {
    EXPECT_EQ(s, &undo);
    EXPECT_EQ(grid, &g);
    undone.push_back(cur + ">" + next);
  };
  undo.OnRedo = [&](plat::TObject*, TCellGrid*, int, int, const QString& cur, const QString& next) {
    redone.push_back(cur + ">" + next);
  };
  undo.Undo();
  EXPECT_EQ(undone, (std::vector<QString>{"b>a", "a>"}));
  EXPECT_EQ(undo.Level(), 1);  // in front of the start item
  EXPECT_EQ(g.Invalidates, 1);
  undo.Redo();
  EXPECT_EQ(redone, (std::vector<QString>{">a", "a>b"}));
  EXPECT_EQ(undo.Level(), 5);  // behind the stop item
  EXPECT_EQ(g.Cells(1, 1), "b");
}

TEST_F(UndoFixture, MaxLevelDropsTheOldestWholeSteps) {
  undo.SetMaxLevel(2);
  Change(0, 0, "1");
  Change(0, 0, "2");
  Change(0, 0, "3");
  ASSERT_EQ(undo.Items()->Count(), 2);
  EXPECT_EQ(undo.Items()->Items(0)->Value, "2");

  undo.SetMaxLevel(3);
  undo.Reset();
  undo.StartSequence();
  Change(1, 0, "a");
  undo.StopSequence();
  Change(2, 0, "b");  // 3 items reached: the whole group goes, not its start alone
  ASSERT_EQ(undo.Items()->Count(), 1);
  undo.Undo();
  undo.Undo();  // nothing left: the level stays at 0
  EXPECT_EQ(undo.Level(), 0);
  EXPECT_EQ(g.Cells(2, 0), "");
  EXPECT_EQ(g.Cells(1, 0), "a");
}

TEST_F(UndoFixture, ResetEmptiesTheLevelAndBracketsAreNeverWritten) {
  Change(0, 0, "a");
  undo.Reset();
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_FALSE(undo.CanRedo());

  undo.StartSequence();  // an open group
  Change(3, 3, "z");
  undo.Undo();
  undo.Undo();  // reaches the start item: nothing is written to a cell (-1, -1)
  EXPECT_EQ(undo.Level(), 0);
  EXPECT_EQ(g.Cells(3, 3), "");
  undo.Redo();  // the start item opens the open group: its change applies again
  EXPECT_EQ(g.Cells(3, 3), "z");
  EXPECT_EQ(undo.Level(), 2);

  undo.RegisterChange(9, 9, "", "far");  // a cell outside the grid is skipped
  undo.Undo();
  EXPECT_EQ(g.GetGridCell(9, 9), "");
}

TEST(UndoRedo, WithoutAGridNothingHappensAndEachSideForgetsTheOther) {
  auto undo = std::make_unique<TExtGridUndoRedo>(nullptr);
  undo->RegisterChange(0, 0, "", "a");
  undo->Undo();
  EXPECT_EQ(undo->Level(), 1);
  {
    TTestGrid g(2, 2);
    g.SetUndoRedo(undo.get());
    EXPECT_EQ(undo->Grid(), &g);
  }
  EXPECT_EQ(undo->Grid(), nullptr);
  TTestGrid g(2, 2);
  g.SetUndoRedo(undo.get());
  TExtGridUndoRedo other(nullptr);
  g.SetUndoRedo(&other);  // the component linked before is let go
  EXPECT_EQ(undo->Grid(), nullptr);
  TTestGrid h(2, 2);
  h.SetUndoRedo(&other);  // a component serves one grid: the first grid lets it go
  EXPECT_EQ(g.UndoRedo(), nullptr);
  EXPECT_EQ(other.Grid(), &h);
  h.SetUndoRedo(undo.get());
  undo.reset();
  EXPECT_EQ(h.UndoRedo(), nullptr);
}

}  // namespace
}  // namespace grid
