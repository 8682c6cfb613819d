// The base grid on a shown form: the cell store behind the platform grid, merge-aware geometry, keys and
// wheel, the display-text events and the cells painted through the base cell painter.
#include "grid/basegrid.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/text_utils.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/testing/pixels.h"

namespace grid {
namespace {

using plat::TPoint;
using plat::TRect;

class TOpenGrid : public TBaseGrid {
 public:
  using TBaseGrid::TBaseGrid;
  std::vector<TPoint> changed;
  void CellTextChanged(int c, int r) override { changed.push_back({c, r}); }
};

// 8 columns x 12 rows of 50 x 20 cells, one fixed row and column, on a shown form.
struct BaseGridTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TOpenGrid* g;
  BaseGridTest() {
    form->SetBounds(0, 0, 440, 280);
    g = new TOpenGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 420, 260);
    g->SetColCount(8);
    g->SetRowCount(12);
    g->SetDefaultColWidth(50);
    g->SetDefaultRowHeight(20);
    g->Font()->SetName("DejaVu Sans");
    g->Font()->SetSize(8);
    g->SetColor(plat::clWhite);
    form->Show();
    QApplication::processEvents();
  }
  void Key(std::uint16_t vk) { g->Perform(plat::WM_KEYDOWN, vk, 1); }
  QImage Paint(plat::ICanvasTracer* tracer = nullptr) {
    g->Canvas()->SetTracer(tracer);
    QImage img = g->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    g->Canvas()->SetTracer(nullptr);
    return img;
  }
  TPoint Current() const { return {g->Col(), g->Row()}; }
};

TEST_F(BaseGridTest, ThePlatformGridReadsAndMovesTheCellStore) {
  g->SetCells(2, 3, "two");
  EXPECT_EQ(g->Rows(3)->Strings(2), "two");
  g->Cols(4)->SetStrings(5, "col");
  EXPECT_EQ(g->GetGridCell(4, 5), "col");
  TCellProperties* p = g->GetCellProperties(2, 3);
  g->MoveRow(3, 6);
  EXPECT_EQ(g->Cells(2, 6), "two");
  EXPECT_EQ(g->GetGridObject(2, 6), p);
  g->MoveColumn(2, 1);
  EXPECT_EQ(g->Cells(1, 6), "two");
  EXPECT_FALSE(g->HasCellProperties(2, 6));
  // The user value lives in the properties; the platform's slot holds the properties.
  g->SetObjects(5, 5, reinterpret_cast<plat::TObject*>(quintptr(77)));
  EXPECT_EQ(g->Objects(5, 5), reinterpret_cast<plat::TObject*>(quintptr(77)));
  EXPECT_EQ(g->Cells(5, 5), "");
}

TEST_F(BaseGridTest, NewPropertiesTakeTheGridFontAndColour) {
  g->Font()->SetStyle({plat::fsBold});
  TCellProperties* p = g->GetCellProperties(3, 3);
  EXPECT_EQ(p->FontName, "DejaVu Sans");
  EXPECT_EQ(p->FontSize, 8);
  EXPECT_TRUE(p->FontStyle.Contains(plat::fsBold));
  EXPECT_EQ(p->BrushColor(), plat::clWhite);
  EXPECT_EQ(p->BrushColorTo(), plat::clNone);
  EXPECT_TRUE(p->WordWrap());
}

TEST_F(BaseGridTest, MergedAreasAreOneRectangle) {
  g->MergeCells(2, 1, 3, 2);
  EXPECT_EQ(g->CellRect(2, 1).Left, g->CalcCellRect(2, 1).Left);
  EXPECT_EQ(g->CellRect(3, 2), g->CellRect(2, 1));
  const TRect base = g->CalcCellRect(2, 1);
  EXPECT_EQ(g->CellRect(4, 2), TRect(base.Left, base.Top, base.Left + 150, base.Top + 40));
  EXPECT_EQ(g->CellSize(3, 1), TPoint(150, 40));
  // Out of view the computed rectangle still holds; the platform's is empty there.
  g->SetRowCount(40);
  g->SetTopRow(5);
  ASSERT_EQ(g->TopRow(), 5);
  const TRect scrolled = g->CalcCellRect(6, 2);
  EXPECT_EQ(scrolled.Height(), 20);
  EXPECT_LT(scrolled.Top, g->FixedRowsHeight());
}

TEST_F(BaseGridTest, KeysLeaveMergedAreasAtTheirFarSideAndLandOnBaseCells) {
  g->MergeCells(2, 2, 3, 2);  // columns 2..4, rows 2..3
  g->SetCol(2);
  g->SetRow(2);
  Key(plat::VK_RIGHT);
  EXPECT_EQ(Current(), TPoint(5, 2));
  Key(plat::VK_LEFT);
  EXPECT_EQ(Current(), TPoint(2, 2));
  Key(plat::VK_DOWN);
  EXPECT_EQ(Current(), TPoint(2, 4));
  g->SetCol(3);
  g->SetRow(1);
  Key(plat::VK_DOWN);  // into the area: ends on its base cell
  EXPECT_EQ(Current(), TPoint(2, 2));
  g->SetCol(4);
  g->SetRow(4);
  Key(plat::VK_UP);
  EXPECT_EQ(Current(), TPoint(2, 2));
}

TEST_F(BaseGridTest, WheelEndsOnTheBaseCell) {
  g->MergeCells(1, 3, 2, 3);
  g->SetCol(2);
  g->SetRow(2);
  g->Perform(plat::WM_MOUSEWHEEL, plat::WPARAM(std::uint32_t(-120) << 16), 0);
  EXPECT_EQ(Current(), TPoint(1, 3));
}

TEST_F(BaseGridTest, WideDisplayTextIsDecodedForTheEventAndEncodedBack) {
  g->SetNormalRowCount(g->RowCount());
  g->SetGridCell(1, 1, controls::EncodeWideText(QString::fromUtf8("Ω1")));
  QString seen;
  g->OnGetDisplWideText = [&](plat::TObject* sender, int, int, QString& v) {
    EXPECT_EQ(sender, g);
    seen = v;
  };
  EXPECT_EQ(g->Cells(1, 1), controls::EncodeWideText(QString::fromUtf8("Ω1")));
  EXPECT_EQ(seen, QString::fromUtf8("Ω1"));
  g->SetGridCell(1, 2, "plain");
  EXPECT_EQ(g->Cells(1, 2), controls::EncodeWideText("plain"));  // encoded also when nothing changed
}

TEST_F(BaseGridTest, WritesIntoAnAreaNotifyWithTheBaseCell) {
  g->MergeCells(3, 3, 2, 2);
  g->SetCells(4, 4, "x");
  EXPECT_EQ(g->GetGridCell(3, 3), "x");
  ASSERT_EQ(g->changed.size(), 1u);
  EXPECT_EQ(g->changed[0], TPoint(3, 3));
}

TEST_F(BaseGridTest, PaintsMergedAreasOnceWithTheirLines) {
  g->MergeCells(2, 2, 2, 2);
  g->SetCells(2, 2, "area");
  g->SetCells(5, 5, "single");
  g->SetGridLineColor(plat::clRed);
  plat::TRecordingTracer trace;
  const int pass = g->PaintID();
  const QImage img = Paint(&trace);
  EXPECT_EQ(g->PaintID(), pass + 1);  // one paint pass
  const auto texts = trace.Texts();
  // The base cell paints the whole area, and the first of its other cells once more in the same pass.
  EXPECT_EQ(std::count(texts.begin(), texts.end(), QString("area")), 2);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), QString("single")), 1);
  // One bottom line under the whole area, none between its rows.
  const TRect area = g->CellRect(2, 2);
  EXPECT_TRUE(plat::testing::ExpectPixel(img, area.Left + 30, area.Bottom - 1, plat::clRed));
  EXPECT_FALSE(plat::testing::ExpectPixel(img, area.Left + 30, area.Top + 19, plat::clRed));
}

}  // namespace
}  // namespace grid
