// The plain paint loop: what is drawn where, through the canvas tracer and the painted image.
#include <QDir>

#include <gtest/gtest.h>

#include "gridfixture.h"
#include "platform/testing/pixels.h"

using namespace gridtest;

namespace {

TEST(GridScreenshot, PlainStringGridWithSelectionAndEditor) {
  GridFixture f(360, 170);
  TTestGrid* g = f.grid;
  g->SetColCount(5);
  g->SetRowCount(8);
  g->SetOptions(g->Options() + TGridOptions{goEditing, goColSizing});
  for (int c = 0; c < 5; ++c) g->SetCells(c, 0, QString("Col %1").arg(c));
  for (int r = 1; r < 8; ++r) {
    g->SetCells(0, r, QString("Row %1").arg(r));
    for (int c = 1; c < 5; ++c) g->SetCells(c, r, QString("%1.%2").arg(r).arg(c));
  }
  g->SetColWidths(0, 50);
  g->SetCol(1);
  g->SetRow(2);
  f.Key(VK_RIGHT, TShiftState{ssShift});
  f.Key(VK_RIGHT, TShiftState{ssShift});
  f.Key(VK_DOWN, TShiftState{ssShift});
  ASSERT_EQ(g->Selection(), (TGridRect{1, 2, 3, 3}));
  g->ShowEditor();
  QApplication::processEvents();
  const QImage img = f.form->Widget()->grab().toImage();
  const QString path = QDir(TEST_BINARY_DIR).filePath("stringgrid.png");
  ASSERT_TRUE(img.save(path));
  EXPECT_TRUE(g->InplaceEditor() && g->InplaceEditor()->Visible());
}

}  // namespace

namespace {

using plat::testing::ExpectPixel;
using plat::testing::ExpectRectFilled;

struct PaintTest : ::testing::Test {
  GridFixture f{300, 150};
  TTestGrid* g = f.grid;
  std::vector<TGridCoord> drawn;
  void SetUp() override {
    g->SetScrollBars(ssNone);
    g->SetColCount(4);
    g->SetRowCount(4);
    g->SetColor(clWhite);
    g->SetFixedColor(clYellow);
    g->OnDrawCell = [this](TObject*, int c, int r, TRect, TGridDrawState) { drawn.push_back({c, r}); };
  }
};

TEST_F(PaintTest, ColoursOfFixedNormalSelectedCellsLinesAndBackground) {
  g->SetFocus();
  ASSERT_TRUE(g->Focused());
  g->SetSelection(TGridRect{2, 2, 3, 2});
  QImage img = f.Paint();
  const TColor highlight = ColorToRGB(clHighlight);
  EXPECT_TRUE(ExpectRectFilled(img, TRect(10, 5, 50, 20), clYellow));      // fixed corner (inside its edge)
  EXPECT_TRUE(ExpectRectFilled(img, TRect(70, 30, 120, 45), clWhite));     // normal cell (1,1)
  EXPECT_TRUE(ExpectRectFilled(img, TRect(131, 51, 193, 73), clWhite));    // focused (2,2): its focus frame
  EXPECT_TRUE(ExpectPixel(img, 130, 50, clBlack));                         // ... only, not the highlight
  EXPECT_TRUE(ExpectRectFilled(img, TRect(196, 51, 258, 74), highlight));  // selected (3,2)
  EXPECT_TRUE(ExpectPixel(img, 129, 40, clSilver));                        // line after column 1
  EXPECT_TRUE(ExpectPixel(img, 100, 49, clSilver));                        // line below row 1
  EXPECT_TRUE(ExpectPixel(img, 64, 10, clBlack));                          // line in the fixed part
  EXPECT_TRUE(ExpectRectFilled(img, TRect(260, 0, 300, 150), clWhite));    // past the last column
  EXPECT_TRUE(ExpectRectFilled(img, TRect(0, 100, 260, 150), clWhite));    // below the last row
  g->SetOptions(g->Options() + TGridOptions{goDrawFocusSelected});
  img = f.Paint();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(131, 51, 193, 73), highlight));
}

// A grid drawn into another device (its parent grabbed to a picture) draws every cell, wherever it sits in the
// parent: the part to paint must be taken in the grid's own coordinates, not the picture's.
TEST_F(PaintTest, GridGrabbedWithItsParentAtAnOffsetDrawsEveryCell) {
  f.form->SetBounds(0, 0, 360, 200);
  g->SetBounds(40, 30, 300, 150);
  QApplication::processEvents();
  const QImage img = f.form->Widget()->grab().toImage();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(40 + 10, 30 + 5, 40 + 50, 30 + 20), clYellow));     // fixed corner
  EXPECT_TRUE(ExpectRectFilled(img, TRect(40 + 70, 30 + 30, 40 + 120, 30 + 45), clWhite));    // cell (1,1)
  EXPECT_TRUE(ExpectRectFilled(img, TRect(40 + 196, 30 + 76, 40 + 258, 30 + 98), clWhite));   // cell (3,3)
  EXPECT_TRUE(ExpectRectFilled(img, TRect(40 + 260, 30 + 100, 40 + 300, 30 + 150), clWhite));  // past the cells
}

TEST_F(PaintTest, EveryCellInViewIsDrawnOnceAndNoOther) {
  g->SetRowCount(1000000);
  g->SetColCount(50);
  g->SetTopRow(500000);
  g->SetLeftCol(20);
  TRecordingTracer tracer;
  f.Paint(&tracer);
  // 150 px: the fixed row and five rows (the fifth partly); 300 px: the fixed column and four columns.
  std::vector<TGridCoord> expect;
  for (int r : {0, 500000, 500001, 500002, 500003, 500004})
    for (int c : {0, 20, 21, 22, 23}) expect.push_back({c, r});
  auto key = [](const TGridCoord& a, const TGridCoord& b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; };
  std::sort(drawn.begin(), drawn.end(), key);
  std::sort(expect.begin(), expect.end(), key);
  EXPECT_EQ(drawn, expect);
  // Cell fills: one per cell, at the cell's own rectangle.
  int fills = 0;
  for (const auto& rec : tracer.OfKind(TraceKind::FillRect))
    if (rec.Rect == g->CellRect(21, 500002)) ++fills;
  EXPECT_EQ(fills, 1);
}

TEST_F(PaintTest, TextsAreDrawnInTheirCellsAndFocusOnlyWithDefaultDrawing) {
  g->SetCells(1, 1, "one");
  g->SetCells(2, 3, "two");
  g->SetCells(3, 9, "beyond");  // stored, but no such row
  TRecordingTracer tracer;
  f.Paint(&tracer);
  const auto texts = tracer.OfKind(TraceKind::TextRect);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "one");
  EXPECT_EQ(texts[0].Rect, g->CellRect(1, 1));
  EXPECT_EQ(texts[0].Points.at(0), TPoint(g->CellRect(1, 1).Left + 2, g->CellRect(1, 1).Top + 2));
  EXPECT_EQ(texts[1].Text, "two");
  g->SetDefaultDrawing(false);
  tracer.Clear();
  f.Paint(&tracer);
  EXPECT_TRUE(tracer.OfKind(TraceKind::TextRect).empty());
  EXPECT_EQ(tracer.Count(TraceKind::FocusRect), 0);
  // The grid fills no cell itself (its lines and the background past the cells it still draws).
  for (const auto& rec : tracer.OfKind(TraceKind::FillRect))
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) EXPECT_NE(rec.Rect, g->CellRect(c, r));
}

TEST_F(PaintTest, LinesFollowTheOptionsAndTheLineWidth) {
  g->SetGridLineWidth(3);
  g->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
  QImage img = f.Paint();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(131, 70, 134, 90), clSilver));  // 3 px after column 1
  g->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goHorzLine});
  EXPECT_EQ(g->CellRect(2, 1).Left, 128);  // no vertical lines: no room for them
  img = f.Paint();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(128, 30, 140, 50), clWhite));
}

TEST_F(PaintTest, SizingLineIsDrawnWhileSizing) {
  g->SetOptions(g->Options() + TGridOptions{goColSizing});
  const int edge = g->CellRect(1, 0).Right;
  f.Press(edge, 5);
  f.Move(edge + 40, 5);
  const QImage img = f.Paint();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(edge + 40, 30, edge + 41, 100), clBlack));
  f.Release(edge + 40, 5);
  EXPECT_EQ(g->ColWidths(1), 104);
}

}  // namespace
