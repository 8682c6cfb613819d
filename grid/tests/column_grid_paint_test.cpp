// A column grid painted with grouped rows: column colours, group header and summary row colours and the node
// glyphs reach the painted image. The picture is kept under screens/ for a look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

#include "grid/column_grid.h"
#include "platform/forms/forms.h"
#include "platform/testing/pixels.h"

namespace grid {
namespace {

using plat::TColor;
using plat::testing::PixelAt;

constexpr TColor kColumn = TColor(0xE0FFFF), kHeader = TColor(0xF0D0B0), kSummary = TColor(0xC0F0C0);

struct ColumnGridPaint : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtColumnGrid* g;
  ColumnGridPaint() {
    form->SetBounds(0, 0, 460, 330);
    g = new TExtColumnGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 440, 310);
    g->Font()->SetName("DejaVu Sans");
    g->Font()->SetSize(8);
    g->FixedFont()->Assign(g->Font());
    g->SetColor(plat::clWhite);
    g->SetColCount(5);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetDefaultRowHeight(22);
    g->ColumnHeaders()->SetCommaText(",Meter,Medium,Register,Value");
    for (int c = 0; c < 5; ++c) g->Columns()->Items(c)->Font()->Assign(g->Font());
    g->Columns()->Items(3)->SetColor(kColumn);
    const char* rows[][4] = {{"Heat 1", "Heat", "40001", "12.5"}, {"Heat 2", "Heat", "40003", "7.25"},
                             {"Water 1", "Water", "40005", "3"},   {"Water 2", "Water", "40007", "4.5"},
                             {"Water 3", "Water", "40009", "1"},   {"Gas 1", "Gas", "40011", "9"}};
    g->SetRowCount(7);
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 4; ++c) g->SetCells(c + 1, r + 1, rows[r][c]);
    g->Grouping()->Summary = true;
    g->Grouping()->HeaderColor = kHeader;
    g->Grouping()->SummaryColor = kSummary;
    // The groups in the order of their rows.
    g->SortSettings()->AutoSortForGrouping = false;
    g->Group(2);
    g->GroupSum(3);
    g->ContractNode(g->RealRowIndex(10));  // the Gas group: its header and its summary stay shown
    g->AutoSizeColumns(false, 8);
    form->Show();
    QApplication::processEvents();
  }
  QImage Paint() { return g->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  TColor Fill(const QImage& img, int c, int r) {
    const plat::TRect cell = g->CellRect(c, r);
    return PixelAt(img, cell.Right - 4, cell.Bottom - 4);
  }
};

TEST_F(ColumnGridPaint, GroupedRowsShowTheirHeaderSummaryAndColumnColours) {
  const QImage img = Paint();
  QDir().mkpath(QStringLiteral(TEST_BINARY_DIR "/screens"));
  img.save(QStringLiteral(TEST_BINARY_DIR "/screens/column_grid_grouped.png"));
  ASSERT_TRUE(g->IsNode(1));
  EXPECT_EQ(g->Cells(1, 1), "Heat");
  EXPECT_EQ(Fill(img, 2, 1), kHeader);   // group header row
  EXPECT_EQ(Fill(img, 2, 2), kColumn);   // a data row of the coloured column (now column 2)
  EXPECT_EQ(Fill(img, 1, 2), plat::clWhite);
  ASSERT_TRUE(g->IsSummary(4));
  EXPECT_EQ(Fill(img, 2, 4), kSummary);  // the summary row's own colour wins over the column's
  EXPECT_EQ(g->Cells(3, 4), "19.75");
  EXPECT_TRUE(g->NodeState(10));
  EXPECT_EQ(g->Cells(1, 11), "");  // the Gas row is hidden, the summary moved up
  EXPECT_TRUE(g->IsSummary(11));
}

}  // namespace
}  // namespace grid
