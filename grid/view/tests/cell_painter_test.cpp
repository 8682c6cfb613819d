// The base cell painting through the canvas tracer and painted pixels: lines, gradients, merged areas, the
// fixed-area clip, and the hover, active-row and selection highlights.
#include "grid/view/cell_painter.h"

#include <gtest/gtest.h>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

namespace grid {
namespace {

using plat::TColor;
using plat::TRect;
using plat::testing::ExpectPixel;
using plat::testing::ExpectRectFilled;
using plat::testing::PixelAt;

constexpr int kW = 40, kH = 20;
constexpr TColor kGrid = 0xEEEEEE;  // the grid's colour
constexpr TColor kCell = 0xFFFFFF;  // the brush the grid's visual properties give normal cells
constexpr TColor kFixed = 0xC8D0D4;
constexpr TColor kSel = 0x6A240A;   // the brush of selected cells

// A grid of equal cells: columns 40 wide, rows 20 high, with a scroll position.
class TPaintGrid : public TCellGridHost, public TCellGrid, public TCellPaintHost {
 public:
  TPaintGrid() : TCellGrid(static_cast<TCellGridHost&>(*this)) {}
  int cols = 6, rows = 6, fixedCols = 1, fixedRows = 1, leftCol = 1, topRow = 1;
  plat::TPoint current{2, 2};
  TRect selection{2, 2, 2, 2};
  TCellPaintOptions options;
  bool focused = true, nodes = false;
  plat::TFont font;
  TColor colorTo = plat::clNone;
  std::vector<TRect> contents;

  int ColCount() const override { return cols; }
  int RowCount() const override { return rows; }
  TCellGrid& PaintCells() override { return *this; }
  int PaintFixedCols() const override { return fixedCols; }
  int PaintFixedRows() const override { return fixedRows; }
  plat::TPoint PaintCurrentCell() const override { return current; }
  TRect PaintSelection() const override { return selection; }
  int FixedColsWidth() const override { return fixedCols * kW; }
  int FixedRowsHeight() const override { return fixedRows * kH; }
  plat::TSize PaintClientSize() const override { return {cols * kW, rows * kH}; }
  TColor PaintColor() const override { return kGrid; }
  const plat::TFont& PaintFont() const override { return font; }
  TCellPaintOptions PaintOptions() const override { return options; }
  bool PaintFocused() const override { return focused; }
  bool IsFixed(int c, int r) override { return c < fixedCols || r < fixedRows; }
  bool HasNodes() override { return nodes; }

  // One cell in client pixels, scrolled cells shifted by the scroll position.
  TRect CalcCellRect(int c, int r) const {
    int x = c * kW, y = r * kH;
    if (c >= fixedCols) x -= (leftCol - fixedCols) * kW;
    if (r >= fixedRows) y -= (topRow - fixedRows) * kH;
    return {x, y, x + kW, y + kH};
  }
  TRect CellRect(int c, int r) override {
    const plat::TRect full = FullCell(c, r);
    const TRect a = CalcCellRect(full.Left, full.Top), b = CalcCellRect(full.Right, full.Bottom);
    return {a.Left, a.Top, b.Right, b.Bottom};
  }
  void GetVisualProperties(int, int, TGridDrawState& s, bool, bool, bool, plat::TBrush* brush, TColor& to, TColor&,
                           TColor&, plat::TFont*, plat::TAlignment&, TVAlignment&, bool&,
                           TCellGradientDirection&) override {
    brush->SetColor(s.Contains(gdFixed) ? kFixed : s.Contains(gdSelected) ? kSel : kCell);
    to = colorTo;
  }
  void DrawCellContents(plat::TCanvas& canvas, int c, int r, TRect rect, TGridDrawState state) override {
    contents.push_back(rect);
    TCellPaintHost::DrawCellContents(canvas, c, r, rect, state);
  }
};

class CellPainting : public ::testing::Test {
 protected:
  CellPainting() : bmp(240, 120), painter(grid) {
    c = bmp.Canvas();
    c->Brush()->SetColor(plat::clBlack);
    c->FillRect(TRect(0, 0, 240, 120));
    c->SetTracer(&trace);
    grid.font.SetName("DejaVu Sans");
    grid.font.SetSize(8);
  }
  // Draws one cell as the grid's paint loop would: at its own rectangle.
  void Draw(int col, int row, TGridDrawState state = {}) {
    painter.HandleDrawCell(*c, col, row, grid.CalcCellRect(col, row), state);
  }
  const QImage& Img() {
    c->EndPainting();
    return bmp.Image();
  }
  int FillsOf(const TRect& r) const {
    int n = 0;
    for (const auto& rec : trace.Records)
      if (rec.Kind == plat::TraceKind::Rectangle && rec.Rect == r) ++n;
    return n;
  }
  TPaintGrid grid;
  plat::TBitmap bmp;
  plat::TCanvas* c;
  plat::TRecordingTracer trace;
  TBaseCellPainter painter;
};

TEST_F(CellPainting, LinesOfNormalAndFixedCells) {
  Draw(2, 2);  // client (80,40)-(120,60)
  Draw(0, 4);  // fixed, client (0,80)-(40,100)
  const QImage& img = Img();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(80, 59, 120, 60), plat::clSilver));  // bottom line
  EXPECT_TRUE(ExpectRectFilled(img, TRect(119, 40, 120, 60), plat::clSilver));  // right line
  EXPECT_TRUE(ExpectRectFilled(img, TRect(80, 40, 119, 59), kCell));
  EXPECT_TRUE(ExpectRectFilled(img, TRect(0, 99, 40, 100), plat::clGray));
  EXPECT_TRUE(ExpectRectFilled(img, TRect(39, 80, 40, 100), plat::clGray));
  EXPECT_TRUE(ExpectRectFilled(img, TRect(0, 80, 39, 99), kFixed));
  ASSERT_EQ(grid.contents.size(), 2u);
  EXPECT_EQ(grid.contents[0], TRect(81, 41, 119, 59));  // shrunk by the line width on every side
  EXPECT_EQ(grid.contents[1], TRect(0, 80, 39, 98));    // fixed: 1 at the right, 2 at the bottom
}

TEST_F(CellPainting, WideLinesAreInsetAndShrinkTheContents) {
  painter.Settings.GridLineWidth = 3;
  grid.options.VertLine = false;
  Draw(2, 2);
  Draw(1, 0);  // a fixed cell keeps its one-pixel lines
  const QImage& img = Img();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(80, 57, 119, 60), plat::clSilver));
  EXPECT_TRUE(ExpectPixel(img, 100, 56, kCell));
  EXPECT_TRUE(ExpectPixel(img, 118, 45, kCell));  // no vertical line
  EXPECT_EQ(grid.contents.front(), TRect(83, 43, 117, 57));
  EXPECT_TRUE(ExpectRectFilled(img, TRect(40, 19, 80, 20), plat::clGray));
  EXPECT_TRUE(ExpectPixel(img, 50, 18, kFixed));
}

TEST_F(CellPainting, NoBottomLinesInTheNodeColumn) {
  grid.nodes = true;
  grid.fixedCols = 0;
  grid.leftCol = 0;
  Draw(0, 2);
  EXPECT_TRUE(ExpectPixel(Img(), 10, 59, kCell));
}

TEST_F(CellPainting, GradientBackgroundRunsFromBrushToColorTo) {
  grid.colorTo = plat::clBlue;
  Draw(2, 2);
  const QImage& img = Img();
  EXPECT_TRUE(ExpectPixel(img, 90, 40, kCell));
  const TColor bottom = PixelAt(img, 90, 58);
  EXPECT_LT(plat::GetRValue(bottom), 40);  // close to blue
  EXPECT_GT(plat::GetBValue(bottom), 200);
}

TEST_F(CellPainting, HoverRowColoursTheCellsItsSettingsName) {
  painter.Settings.HoverRow = true;
  painter.Settings.HoverRowIdx = 2;
  painter.Settings.HoverRowColor = plat::clYellow;
  struct Case {
    THoverRowCells cells;
    int col;
    TGridDrawState state;
    TColor expect;
  };
  const Case cases[] = {
      {{hcNormal, hcSelected}, 2, {gdSelected}, plat::clYellow},
      {{hcNormal}, 2, {gdSelected}, kSel},
      {{hcNormal}, 3, {}, plat::clYellow},
      {{hcNormal, hcSelected}, 0, {}, kFixed},  // fixed cells keep their look
      {{hcNormal, hcFixed}, 0, {}, plat::clYellow},
  };
  for (const Case& k : cases) {
    painter.Settings.HoverRowCells = k.cells;
    Draw(k.col, 2, k.state);
    const TRect r = grid.CalcCellRect(k.col, 2);
    EXPECT_TRUE(ExpectPixel(Img(), r.Left + 5, r.Top + 5, k.expect)) << "column " << k.col;
  }
}

TEST_F(CellPainting, ActiveRowSparesTheCurrentCellWhileTheSelectionShows) {
  painter.Settings.ActiveRowShow = true;
  painter.Settings.ActiveRowColor = plat::clLime;
  for (int col = 0; col < 5; ++col) Draw(col, 2, col == 2 ? TGridDrawState{gdSelected} : TGridDrawState{});
  Draw(3, 3);
  const QImage& img = Img();
  EXPECT_TRUE(ExpectPixel(img, 5, 45, kFixed));         // fixed column
  EXPECT_TRUE(ExpectPixel(img, 85, 45, kSel));           // the current cell
  EXPECT_TRUE(ExpectPixel(img, 125, 45, plat::clLime));  // the rest of the row
  EXPECT_TRUE(ExpectPixel(img, 45, 45, plat::clLime));
  EXPECT_TRUE(ExpectPixel(img, 125, 65, kCell));         // another row
  painter.Settings.ShowSel = false;
  Draw(2, 2, {gdSelected});
  EXPECT_TRUE(ExpectPixel(Img(), 85, 45, plat::clLime));
}

TEST_F(CellPainting, MergedAreaIsPaintedOnceWhenItsBaseIsOutOfView) {
  grid.MergeCells(1, 1, 3, 2);   // columns 1..3, rows 1..2
  grid.leftCol = 2;              // column 1 (the base) is scrolled out of view
  grid.SetCells(1, 1, "merged");
  const TRect area = grid.CellRect(1, 1);
  EXPECT_EQ(area, TRect(0, 20, 120, 60));
  for (int col = 2; col <= 3; ++col)
    for (int row = 1; row <= 2; ++row) Draw(col, row);
  EXPECT_EQ(FillsOf(area), 1);
  EXPECT_EQ(trace.Texts(), std::vector<QString>{"merged"});
  // Half under the fixed column: nothing drawn left of it.
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(0, 20, 40, 60), plat::clBlack));
  EXPECT_TRUE(ExpectPixel(Img(), 45, 25, kCell));
  // The next pass paints it again, once.
  painter.EndPaintPass();
  trace.Clear();
  Draw(3, 2);
  Draw(2, 1);
  EXPECT_EQ(FillsOf(area), 1);
}

TEST_F(CellPainting, SelectionStylesJoinAcrossTheSelectedColumns) {
  painter.Settings.SelectionStyle = ssWin7;
  grid.options.VertLine = grid.options.HorzLine = false;  // the selection then reaches one pixel further
  grid.selection = TRect(3, 2, 1, 2);                     // columns 1..3 (40..160), either order
  const TColor border = SelectionStyleColors(ssWin7, true).Border;
  // Each cell checked right after it is drawn: join 1 keeps only the left edge, 3 neither, 2 only the right.
  struct Case {
    int col;
    bool leftEdge, rightEdge;
  };
  for (const Case k : {Case{1, true, false}, Case{2, false, false}, Case{3, false, true}}) {
    Draw(k.col, 2, {gdSelected});
    const TRect r = grid.CalcCellRect(k.col, 2);
    EXPECT_EQ(PixelAt(Img(), r.Left, 50) == border, k.leftEdge) << "column " << k.col;
    EXPECT_EQ(PixelAt(Img(), r.Right - 1, 50) == border, k.rightEdge) << "column " << k.col;
  }
  // Without the focus the grey colours are used; a one-column selection has both edges.
  grid.focused = false;
  grid.selection = TRect(4, 2, 4, 2);
  Draw(4, 2, {gdSelected});
  const TColor grey = SelectionStyleColors(ssWin7, false).Border;
  EXPECT_TRUE(ExpectPixel(Img(), 160, 50, grey));
  EXPECT_TRUE(ExpectPixel(Img(), 199, 50, grey));
}

TEST_F(CellPainting, HiddenLastRowIsAPlainRectangle) {
  grid.SetHideLastRow(true);
  grid.SetCells(2, 5, "footer");
  Draw(2, 5);
  const QImage& img = Img();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(80, 100, 120, 120), kGrid));
  EXPECT_TRUE(trace.Texts().empty());
  EXPECT_TRUE(grid.contents.empty());
}

TEST_F(CellPainting, ExtendedPaintDrawsIntoTheGivenRectangleWithoutContents) {
  grid.SetCells(2, 2, "x");
  painter.PaintCellExt(*c, 2, 2, TRect(160, 60, 200, 80), {gdSelected});
  EXPECT_TRUE(grid.contents.empty());
  EXPECT_TRUE(ExpectPixel(Img(), 170, 65, plat::clInfoBk));  // a selected cell drawn this way takes the active-row look
}

}  // namespace
}  // namespace grid
