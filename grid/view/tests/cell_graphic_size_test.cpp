// The room a cell object takes beside, above or in place of its text, on screen and in print, and how column
// and row autosizing take it.
#include "grid/view/cell_graphic_size.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"

namespace grid {
namespace {

struct GraphicSizeTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  plat::TBitmap bmp;
  plat::TCustomImageList images{nullptr, 16, 12};
  GraphicSizeTest() {
    g->SetParent(form.get());
    g->SetBounds(0, 0, 400, 300);
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetDefaultColWidth(80);
    g->SetDefaultRowHeight(30);
    g->Font()->SetName("DejaVu Sans");
    g->Font()->SetSize(10);
    bmp.SetSize(24, 20);
  }
  plat::TPoint Screen(int c, int r) { return g->GetCellGraphicSize(c, r); }
  plat::TPoint Print(int c, int r) {
    plat::TPoint s;
    g->PrintGraphicSize(c, r, 200, 100, 2.0, s);
    return s;
  }
};

// A bitmap beside the text widens only, above or under it heightens only; without text it takes both; in print
// it always keeps its size.
TEST_F(GraphicSizeTest, PicturesBesideOrAboveTheirText) {
  struct Case {
    TCellHAlign h;
    TCellVAlign v;
    const char* text;
    int w, hgt;
  } cases[] = {
      {haBeforeText, vaTop, "x", 24, 0},  {haAfterText, vaCenter, "x", 24, 0}, {haLeft, vaUnderText, "x", 0, 20},
      {haLeft, vaAboveText, "x", 0, 20},  {haRight, vaTop, "x", 0, 0},         {haCenter, vaCenter, "", 24, 20},
      {haBeforeText, vaAboveText, "x", 24, 20},
  };
  for (const Case& c : cases) {
    g->SetCells(1, 1, c.text);
    g->CellObjects().AddBitmap(1, 1, &bmp, false, c.h, c.v);
    EXPECT_EQ(Screen(1, 1), plat::TPoint(c.w, c.hgt)) << int(c.h) << " " << int(c.v) << " " << c.text;
    EXPECT_EQ(Print(1, 1), plat::TPoint(24, 20));
  }
}

TEST_F(GraphicSizeTest, ControlsIndicatorsAndWholeCellObjects) {
  g->SetGridImages(&images);
  g->SetCells(1, 1, "text");
  g->AddImageIdx(1, 1, 0, haBeforeText, vaTop);
  EXPECT_EQ(Screen(1, 1), plat::TPoint(16, 0));
  EXPECT_EQ(Print(1, 1), plat::TPoint(16, 12));  // print: the width as on screen, the image's height

  g->AddCheckBox(1, 2, true, false);
  const int check = g->ControlLook()->CheckSize();
  EXPECT_EQ(Screen(1, 2), plat::TPoint(check, check));
  EXPECT_EQ(Print(1, 2), plat::TPoint(check, check));
  g->AddRadioButton(2, 2, false);
  EXPECT_EQ(Screen(2, 2), plat::TPoint(g->ControlLook()->RadioSize(), g->ControlLook()->RadioSize()));

  g->CellObjects().AddRating(0, 1, 5, plat::clYellow, plat::clGray);  // haFull, but its width is its own
  EXPECT_EQ(Screen(0, 1), plat::TPoint(90, 16));
  g->CellObjects().AddProgress(0, 2, plat::clBlue, plat::clWhite);
  EXPECT_EQ(Screen(0, 2), plat::TPoint(0, 0));
  EXPECT_EQ(Print(0, 2), plat::TPoint(80, 30));  // print: the cell

  // A button: packed 40 x 18; beside text only its width counts, a full-width one takes the caption's width.
  g->SetCells(2, 1, "t");
  g->CellObjects().AddButton(2, 1, 40, 18, "Go", haLeft, vaCenter);
  EXPECT_EQ(Screen(2, 1), plat::TPoint(40, 0));
  EXPECT_EQ(Print(2, 1), plat::TPoint(40, 18));
  g->SetCells(2, 1, "");
  g->CellObjects().AddButton(2, 1, 40, 18, "Go", haFull, vaCenter);
  const int caption = QFontMetrics(g->Font()->QtFont()).horizontalAdvance("Go") + 4;
  EXPECT_EQ(Screen(2, 1), plat::TPoint(caption, 18));

  // vaFull takes the height of the whole merged area.
  g->MergeCells(0, 3, 2, 1);
  g->CellObjects().AddShape(0, 3, csCircle, plat::clRed, plat::clBlack, haLeft, vaFull);
  EXPECT_EQ(Screen(0, 3), plat::TPoint(0, 30));
  EXPECT_EQ(Print(0, 3), plat::TPoint(30 - 2 * g->XYOffset().Y, 30 - 2 * g->XYOffset().Y));
  EXPECT_EQ(Screen(2, 3), plat::TPoint(0, 0));  // no object
}

TEST_F(GraphicSizeTest, RadioGroupsMeasureTheirItems) {
  plat::TStringList items;
  items.Add("one");
  items.Add("three");
  const QFontMetrics fm(g->Font()->QtFont());
  g->Canvas()->Font()->Assign(g->Font());  // items are measured in the canvas's current font
  g->CellChecks().AddRadio(1, 1, 1, 0, &items);  // side by side
  EXPECT_EQ(Screen(1, 1), plat::TPoint(fm.horizontalAdvance("one") + 12 + fm.horizontalAdvance("three") + 12,
                                       fm.height()));
  g->CellChecks().AddRadio(1, 1, 0, 0, &items);  // stacked
  EXPECT_EQ(Screen(1, 1), plat::TPoint(fm.horizontalAdvance("three") + 12, 2 * std::max(16, fm.height())));
}

// A picture shrinks to the cell less the text offsets; in print to the page room, divided by the scale.
TEST_F(GraphicSizeTest, PicturesFollowTheirStretchMode) {
  plat::TBitmap big;
  big.SetSize(200, 100);
  g->CellObjects().AddPicture(1, 1, &big, false, ShrinkWithAspectRatio, 0, haLeft, vaTop);
  const int cw = 80 - 1 - 4, ch = 30 - 1 - 4;
  EXPECT_EQ(Screen(1, 1), plat::TPoint(std::lrint(200.0 * ch / 100), ch));
  EXPECT_LE(Screen(1, 1).X, cw);
  EXPECT_EQ(Print(1, 1), plat::TPoint(100, 50));
}

class TSizedCell : public plat::TObject, public IInterfacedCell {
 public:
  TSizedCell(int W, int H) : FW(W), FH(H) {}
  void Draw(plat::TCanvas*, plat::TRect, int, int, bool, TExtStringGrid*) override {}
  int GetWidth() override { return FW; }
  int GetHeight() override { return FH; }

 private:
  int FW, FH;
};

TEST_F(GraphicSizeTest, InterfacedCellsTellTheirSizeOrTakeTheCell) {
  TSizedCell sized(33, 11), flat(33, 0);
  g->CellObjects().AddInterfacedCell(1, 1, &sized);
  EXPECT_EQ(Screen(1, 1), plat::TPoint(33, 11));
  g->CellObjects().AddInterfacedCell(1, 1, &flat);
  EXPECT_EQ(Screen(1, 1), plat::TPoint(80, 30));
  EXPECT_EQ(Print(1, 1), plat::TPoint(33, 30));
}

TEST_F(GraphicSizeTest, AutosizingAddsTheObjectsRoom) {
  g->SetCells(1, 1, "abc");
  g->CellObjects().AddBitmap(1, 1, &bmp, false, haBeforeText, vaTop);
  const QFontMetrics fm(g->Font()->QtFont());
  g->AutoSizeCol(1);
  EXPECT_EQ(g->ColWidths(1), 24 + fm.horizontalAdvance("abc") + 2 * g->XYOffset().X + 2 * g->GridLineWidth() + 2);
  g->CellObjects().AddBitmap(1, 1, &bmp, false, haLeft, vaUnderText);
  g->AutoSizeRow(1);
  EXPECT_EQ(g->RowHeights(1), 20 + fm.height() + 2 * g->XYOffset().Y + 2 * g->GridLineWidth());
}

}  // namespace
}  // namespace grid
