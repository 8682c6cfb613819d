// Where a drop lands and what it does: the target rules and arrows while dragging, scrolling at the edges, the
// rows a text drop inserts or appends, the remembered drag selection, and dropped files by their extension.

#include <gtest/gtest.h>

#include "grid/data/drop.h"
#include "grid/data/tests/data_test_util.h"

namespace grid {
namespace {

using testing::Cells;
using testing::Fill;
using testing::TTable;

// A window-free grid laid out in 50 x 20 pixel cells: fixed rows and columns first, then the scrolled part from
// (LeftCol, TopRow) on, with Visible rows and columns fully in view and one more partly.
class TFakeDropHost : public TDropHost {
 public:
  TFakeDropHost() : G(4, 8) {
    G.FixedRowCount = 1;
    G.FixedColCount = 1;
  }
  TDropOptions DropOptions() const override { return O; }
  TGridDataHost& Data() override { return G; }
  void PlaceText(int ACol, int ARow, const QString& Text) override {
    int r = ARow;
    for (const QString& line : Text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
      int c = ACol;
      for (const QString& f : line.split(u'\t'))
        if (c < G.ColCount() && r < G.RowCount()) G.SetGridCell(c++, r, f);
      ++r;
    }
  }
  int TopRow() const override { return Top; }
  int LeftCol() const override { return Left; }
  int VisibleRowCount() const override { return Visible; }
  int VisibleColCount() const override { return Visible; }
  void SetTopRow(int Value) override { Top = Value; }
  void SetLeftCol(int Value) override { Left = Value; }
  QPoint CellAt(QPoint Pt) const override {
    const int x = Pt.x() / 50, y = Pt.y() / 20;
    if (Pt.x() < 0 || Pt.y() < 0 || x > G.FixedCols() + Visible || y > G.FixedRows() + Visible) return {-1, -1};
    const int c = x < G.FixedCols() ? x : Left + x - G.FixedCols();
    const int r = y < G.FixedRows() ? y : Top + y - G.FixedRows();
    if (c >= G.ColCount() || r >= G.RowCount()) return {-1, -1};
    return {c, r};
  }
  plat::TRect CellRect(int ACol, int ARow) const override {
    const int x = ACol < G.FixedCols() ? ACol : ACol - Left + G.FixedCols();
    const int y = ARow < G.FixedRows() ? ARow : ARow - Top + G.FixedRows();
    if (x < 0 || y < 0 || x > G.FixedCols() + Visible || y > G.FixedRows() + Visible) return {};
    return plat::TRect(x * 50, y * 20, x * 50 + 50, y * 20 + 20);
  }
  void SetSelection(plat::TRect R) override { Sel = R; }
  plat::TRect Selection() const override { return Sel; }
  void InsertRows(int ARow, int Count) override {
    G.SetRowCount(G.RowCount() + Count);
    G.InsertStoreRows(ARow, Count);
  }
  void LoadCSV(const QString& FileName) override { Loaded << "csv:" + FileName; }
  void LoadWorkbook(const QString& FileName) override { Loaded << "xls:" + FileName; }
  void ShowArrows(const TDropArrows& A) override { Arrows = A; }
  void OleDragOver(int, int, bool& Allow) override {
    if (RefuseOver) Allow = false;
  }
  void OleDrop(int ARow, int ACol, const QString& Data, bool& Allow) override {
    Drops << QStringLiteral("%1,%2:%3").arg(ACol).arg(ARow).arg(Data);
    if (RefuseDrop) Allow = false;
  }
  void OleDropped(plat::TRect R) override { DroppedRect = R; }

  TDataGrid G;
  TDropOptions O;
  int Top = 1, Left = 1, Visible = 4;
  plat::TRect Sel, DroppedRect;
  TDropArrows Arrows;
  QStringList Loaded, Drops;
  bool RefuseOver = false, RefuseDrop = false;
  TGridDrop Drop{*this};
};

// The middle of a shown cell.
QPoint At(TFakeDropHost& H, int ACol, int ARow) {
  const plat::TRect r = H.CellRect(ACol, ARow);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TEST(DropTarget, TextMayDropOnNormalCellsWithTheArrowBesideTheRow) {
  TFakeDropHost h;
  bool allow = true;
  h.Drop.DragMove(At(h, 2, 0), allow, false, false);
  EXPECT_FALSE(allow) << "the fixed row of a grid with more rows";
  EXPECT_FALSE(h.Arrows.Left);
  h.Drop.DragMove(At(h, 2, 2), allow, false, false);
  EXPECT_TRUE(allow);
  EXPECT_TRUE(h.Arrows.Left);
  EXPECT_EQ(h.Arrows.LeftAt, QPoint(2 * 50 - 10, 2 * 20));
  h.O.OleEntireRows = true;
  h.Drop.DragMove(At(h, 2, 2), allow, false, false);
  EXPECT_EQ(h.Arrows.LeftAt, QPoint(1 * 50 - 10, 2 * 20)) << "whole rows: beside the first normal column";
  h.RefuseOver = true;
  h.Drop.DragMove(At(h, 2, 2), allow, false, false);
  EXPECT_FALSE(allow);
  EXPECT_EQ(h.Arrows, TDropArrows{});
  h.RefuseOver = false;
  h.Drop.DragMove(QPoint(-5, -5), allow, false, false);
  EXPECT_FALSE(allow);
  h.Drop.DragMove(QPoint(-5, -5), allow, false, true);
  EXPECT_TRUE(allow) << "files drop anywhere over the grid";
  EXPECT_EQ(h.Arrows, TDropArrows{}) << "but point at no cell";
  h.Drop.DragMove(At(h, 2, 2), allow, false, false);
  h.Drop.DragLeave();
  EXPECT_EQ(h.Arrows, TDropArrows{});
}

TEST(DropTarget, AColumnMayDropOnTheHeaderOrBeyondTheLastColumn) {
  TFakeDropHost h;
  bool allow = false;
  h.Drop.DragMove(At(h, 2, 0), allow, true, false);
  EXPECT_TRUE(allow);
  EXPECT_TRUE(h.Arrows.Down && h.Arrows.Up && !h.Arrows.Left);
  EXPECT_EQ(h.Arrows.DownAt, QPoint(100, -8));
  EXPECT_EQ(h.Arrows.UpAt, QPoint(100, 20));
  h.Drop.DragMove(At(h, 2, 2), allow, true, false);
  EXPECT_FALSE(allow);
  h.Drop.DragMove(At(h, 0, 0), allow, true, false);
  EXPECT_FALSE(allow) << "the fixed column";
  h.Drop.DragMove(QPoint(-5, -5), allow, true, false);
  EXPECT_TRUE(allow) << "outside the cells: after the last column";
}

TEST(DropTarget, ThePointerAtAnEdgeScrollsOneRowPerMove) {
  TFakeDropHost h;
  h.G.SetRowCount(20);
  bool allow = false;
  // The row below the fully shown ones.
  for (int move = 1; move <= 3; ++move) {
    h.Drop.DragMove(QPoint(75, (1 + h.Visible) * 20 + 5), allow, false, false);
    EXPECT_EQ(h.Top, 1 + move);
  }
  h.Drop.DragMove(QPoint(75, 5), allow, false, false);
  EXPECT_EQ(h.Top, 3) << "up over the header row";
  h.Top = 1;
  h.Drop.DragMove(QPoint(75, 5), allow, false, false);
  EXPECT_EQ(h.Top, 1) << "not above the first normal row";
  h.Drop.DragMove(QPoint(75, (1 + h.Visible) * 20 + 5), allow, true, false);
  EXPECT_EQ(h.Top, 1) << "a column drag does not scroll";
}

TEST(DropTarget, TwoLinesDroppedBelowTheLastRowAreAppendedAndSelected) {
  TFakeDropHost h;
  h.G.SetRowCount(4);
  h.O.OleEntireRows = h.O.OleAppendRows = h.O.OleInsertRows = true;
  const QPoint below(75, 5 * 20 + 5);
  ASSERT_EQ(h.CellAt(below), QPoint(-1, -1));
  bool allow = false;
  h.Drop.DragMove(below, allow, false, false);
  EXPECT_TRUE(allow);
  EXPECT_EQ(h.Arrows.LeftAt, QPoint(50 - 10, 4 * 20)) << "one row lower than the last row";
  EXPECT_TRUE(h.Drop.DropText(below, QStringLiteral("a\tb\r\nc\td\r\n")));
  EXPECT_EQ(h.G.RowCount(), 6);
  EXPECT_EQ(Cells(h.G)[4], (std::vector<QString>{"", "a", "b", ""}));
  EXPECT_EQ(Cells(h.G)[5], (std::vector<QString>{"", "c", "d", ""}));
  EXPECT_EQ(h.Sel, plat::TRect(1, 4, 2, 5));
  EXPECT_EQ(h.DroppedRect, h.Sel);
}

TEST(DropTarget, InsertedRowsAboveTheDraggedRowsCarryTheRememberedSelection) {
  TFakeDropHost h;
  Fill(h.G, {{"h"}, {"r1"}, {"r2"}, {"r3"}, {"r4"}, {"r5"}, {"r6"}});
  h.G.FixedRowCount = 1;
  h.G.FixedColCount = 0;
  h.Left = 0;
  h.O.OleInsertRows = h.O.OleRemoveRows = true;
  h.Drop.SetDropSelection(plat::TRect(0, 5, 0, 6));
  EXPECT_TRUE(h.Drop.DropText(At(h, 0, 2), QStringLiteral("r5\r\nr6\r\n")));
  EXPECT_EQ(Cells(h.G), (TTable{{"h"}, {"r1"}, {"r5"}, {"r6"}, {"r2"}, {"r3"}, {"r4"}, {"r5"}, {"r6"}}));
  ASSERT_TRUE(h.Drop.DropSelection());
  EXPECT_EQ(*h.Drop.DropSelection(), plat::TRect(0, 7, 0, 8));
  h.Drop.DropText(At(h, 0, 4), QStringLiteral("x\r\n"));
  EXPECT_EQ(*h.Drop.DropSelection(), plat::TRect(0, 8, 0, 9)) << "one more row above";
  h.O.OleRemoveRows = false;
  h.Drop.DropText(At(h, 0, 2), QStringLiteral("y\r\n"));
  EXPECT_EQ(*h.Drop.DropSelection(), plat::TRect(0, 8, 0, 9)) << "only a move remembers where its rows went";
}

TEST(DropTarget, ARefusedTextDropChangesNothing) {
  TFakeDropHost h;
  h.O.OleInsertRows = true;
  h.RefuseDrop = true;
  EXPECT_FALSE(h.Drop.DropText(At(h, 1, 2), QStringLiteral("a\r\n")));
  EXPECT_EQ(h.G.RowCount(), 8);
  EXPECT_EQ(h.G.GetGridCell(1, 2), "");
  EXPECT_EQ(h.Drops, QStringList{"1,2:a\r\n"});
}

TEST(DropTarget, RichTextAndLinksGoIntoTheCell) {
  TFakeDropHost h;
  EXPECT_TRUE(h.Drop.DropRTF(At(h, 1, 2), QStringLiteral("{\\rtf1 x}")));
  EXPECT_TRUE(h.Drop.DropURL(At(h, 2, 3), QStringLiteral("https://example.org/")));
  EXPECT_EQ(h.G.GetGridCell(1, 2), "{\\rtf1 x}");
  EXPECT_EQ(h.G.GetGridCell(2, 3), "https://example.org/");
  h.RefuseDrop = true;
  EXPECT_FALSE(h.Drop.DropRTF(At(h, 1, 3), QStringLiteral("{\\rtf1 y}")));
  EXPECT_EQ(h.G.GetGridCell(1, 3), "");
}

// One file, recognised by its extension alone, and loaded by one loader.
TEST(DropTarget, OneDroppedFileLoadsByItsExtension) {
  struct Case {
    QStringList Files;
    QString Loaded;
  } cases[] = {
      {{"/d/x.CSV"}, "csv:/d/x.CSV"},
      {{"/d/x.csv"}, "csv:/d/x.csv"},
      {{"/d/book.xlsx"}, "xls:/d/book.xlsx"},
      {{"/d/Book.XLS"}, "xls:/d/Book.XLS"},
      {{"/d/a.xls.csv"}, "csv:/d/a.xls.csv"},
      {{"/d/x.csv.exe"}, ""},
      {{"/d/x.csv.txt"}, ""},
      {{"/d/my.csvfile"}, ""},
      {{"/d/a.csv", "/d/b.csv"}, ""},
  };
  for (const Case& c : cases) {
    TFakeDropHost h;
    h.Drop.DropFiles(At(h, 1, 1), c.Files);
    EXPECT_EQ(h.Loaded.join('|'), c.Loaded) << c.Files.join(',').toStdString();
  }
  TFakeDropHost h;
  h.RefuseDrop = true;
  h.Drop.DropFiles(At(h, 1, 1), {"/d/x.csv"});
  EXPECT_TRUE(h.Loaded.isEmpty());
  EXPECT_EQ(h.Drops, QStringList{"-1,-1:/d/x.csv"});
}

}  // namespace
}  // namespace grid
