// The floating footer: the fixed-last-row footer with its column calculations (checked against sums computed
// here), the footer styles, the template expansion, clicks and hints on the footer, and a screenshot.
#include <QApplication>
#include <QImage>
#include <QWidget>

#include <cmath>

#include "grid/input/tests/input_fixture.h"

namespace grid {
namespace {

using plat::TPoint;

struct FooterTest : GridInput {
  FooterTest() {
    // Column 1 holds 10, 20, ..., column 2 the squares of the row numbers, column 3 repeated words.
    for (int r = 1; r < 8; ++r) {
      g->SetCells(1, r, QString::number(r * 10));
      g->SetCells(2, r, QString::number(r * r));
      g->SetCells(3, r, r % 2 ? "odd" : "EVEN");
    }
    g->SetFloatFormat("%g");
  }
  TFloatingFooter& F() { return *g->FloatingFooter(); }
};

TEST_F(FooterTest, ShowingTheFooterMakesTheLastRowAFixedFooter) {
  EXPECT_EQ(g->FixedFooters(), 0);
  F().SetVisible(true);
  EXPECT_EQ(g->FixedFooters(), 1);
  EXPECT_TRUE(g->HideLastRow());
  ASSERT_NE(g->FooterPanel(), nullptr);
  EXPECT_EQ(g->FooterPanel()->Height(), F().Height() - 1);
  EXPECT_TRUE(g->FooterPanel()->Visible());
  F().SetFooterStyle(fsColumnPreview);
  EXPECT_FALSE(g->HideLastRow()) << "the grid shows its last row again";
  EXPECT_EQ(g->FixedFooters(), 1) << "kept until Visible is set again";
  F().SetVisible(false);
  EXPECT_EQ(g->FixedFooters(), 0);
  EXPECT_EQ(g->FooterPanel()->Height(), 0);
}

// The footer row stays the last row whichever way the count changes, and keeps its calculation.
TEST_F(FooterTest, ChangingTheRowCountKeepsTheFooterRowLast) {
  F().SetVisible(true);
  F().SetColumnCalc(1, acSUM);
  EXPECT_EQ(g->Cells(1, 7), "210") << "10 + 20 + ... + 60";
  g->SetRowCount(10);
  EXPECT_EQ(g->Cells(1, 9), "210");
  EXPECT_EQ(F().GetColumnCalc(1), acSUM) << "the calculation kind moved with the row";
  EXPECT_EQ(g->Cells(1, 7), "") << "the former footer row is an empty data row now";
  EXPECT_EQ(g->Cells(1, 6), "60");
  g->SetCells(1, 7, "5");
  g->SetCells(1, 8, "5");
  g->CalcFooter(-1);
  EXPECT_EQ(g->Cells(1, 9), "220");
  g->SetRowCount(6);
  EXPECT_EQ(F().GetColumnCalc(1), acSUM);
  EXPECT_EQ(g->Cells(1, 5), "100") << "the sum of the rows left: 10 + 20 + 30 + 40";
}

TEST_F(FooterTest, TheFooterPanelTakesItsRoomBelowTheCells) {
  const int before = g->ClientHeight();
  F().SetVisible(true);
  EXPECT_EQ(g->ClientHeight(), before - g->FooterPanel()->Height());
  EXPECT_EQ(g->FooterPanel()->Top() + g->FooterPanel()->Height(), before);
}

struct CalcCase {
  int col;
  TColumnCalcType calc;
  double expected;
  const char* what;
};

TEST_F(FooterTest, ColumnCalculationsMatchTheValues) {
  F().SetVisible(true);
  // The footer is row 7: the normal rows 1 .. 6 are calculated.
  std::vector<double> c1, c2;
  for (int r = 1; r <= 6; ++r) {
    c1.push_back(r * 10);
    c2.push_back(r * r);
  }
  double sum1 = 0, sum2 = 0;
  for (double v : c1) sum1 += v;
  for (double v : c2) sum2 += v;
  const double avg2 = sum2 / 6;
  double sq = 0;
  for (double v : c2) sq += (v - avg2) * (v - avg2);
  const CalcCase cases[] = {
      {1, acSUM, sum1, "sum"},
      {2, acAVG, avg2, "average"},
      {2, acMIN, 1, "minimum"},
      {2, acMAX, 36, "maximum"},
      {1, acCOUNT, 6, "count"},
      {3, acDISTINCT, 2, "distinct texts"},
      {2, acSTDDEV, std::sqrt(sq / 6), "population deviation"},
  };
  for (const CalcCase& c : cases) {
    F().SetColumnCalc(c.col, c.calc);
    EXPECT_EQ(F().GetColumnCalc(c.col), c.calc);
    EXPECT_NEAR(g->Cells(c.col, 7).toDouble(), c.expected, 1e-3) << c.what;
  }
  g->SetCells(1, 2, "1000");
  g->CellsChanged({1, 2, 1, 2});
  EXPECT_EQ(g->Cells(1, 7), "6") << "a change recalculates: the column now counts";
  F().SetColumnCalc(1, acSUM);
  EXPECT_EQ(g->Cells(1, 7).toDouble(), sum1 - 20 + 1000);
}

TEST_F(FooterTest, CustomCalculationAndReadingWithoutProperties) {
  F().SetVisible(true);
  EXPECT_EQ(F().GetColumnCalc(4), acNONE);
  EXPECT_FALSE(g->HasCellProperties(4, 7)) << "reading creates nothing";
  F().OnCalcFooter = [](plat::TObject*, int c, int r, QString& v) { v = QStringLiteral("c%1r%2").arg(c).arg(r); };
  F().SetColumnCalc(4, acCUSTOM);
  EXPECT_EQ(g->Cells(4, 7), "c4r7");
  F().SetColumnCalc(4, acSPREAD);
  EXPECT_EQ(g->Cells(4, 7), "c4r7") << "spread calculates nothing";
  F().EnableCalculation = false;
  F().SetColumnCalc(1, acSUM);
  EXPECT_EQ(g->Cells(1, 7), "70");
}

// Hidden rows count in the footer only with CalculateHiddenRows; the sums are those of the values shown here.
TEST_F(FooterTest, HiddenRowsCountOnlyWhenTheFooterCalculatesThem) {
  F().SetVisible(true);
  F().SetColumnCalc(1, acSUM);
  F().SetColumnCalc(2, acCOUNT);
  F().SetColumnCalc(4, acCUSTOM);
  int customRow = -1;
  F().OnCalcFooter = [&](plat::TObject*, int, int r, QString& v) {
    customRow = r;
    v = "x";
  };
  g->HideRows(2, 3);  // the values 20 and 30 (squares 4 and 9) leave the grid
  ASSERT_EQ(g->RowCount(), 6);
  const int footer = g->RowCount() - 1;
  const double all = 10 + 20 + 30 + 40 + 50 + 60, shown = 10 + 40 + 50 + 60;
  struct {
    bool hidden;
    double sum;
    int count, custom;
  } cases[] = {{true, all, 6, footer + 2}, {false, shown, 4, footer}};
  for (const auto& c : cases) {
    F().CalculateHiddenRows = c.hidden;
    g->CalcFooter(-1);
    EXPECT_EQ(g->Cells(1, footer).toDouble(), c.sum) << "hidden rows counted: " << c.hidden;
    EXPECT_EQ(g->Cells(2, footer).toInt(), c.count) << "hidden rows counted: " << c.hidden;
    EXPECT_EQ(customRow, c.custom) << "hidden rows counted: " << c.hidden;
  }
  g->UnHideRowsAll();
  EXPECT_EQ(F().GetColumnCalc(1), acSUM) << "the footer row is still the last row";
  g->CalcFooter(-1);
  EXPECT_EQ(g->Cells(1, g->RowCount() - 1).toDouble(), all);
}

TEST(FooterTemplate, TagsExpandToCellTexts) {
  auto cell = [](int n) { return QStringLiteral("<%1>").arg(n); };
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"Name: <#2> ", "Name: <2> "},
      {"<#1><#1>", "<1><1>"},
      {"a<#x>b", "ab"},
      {"a<#>b", "ab"},
      {"a<#99>b", "ab"},
      {"a<#-1>b", "ab"},
      {"x <#3", "x <#3"},
      {"plain", "plain"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandFooterTemplate(c.in, 6, cell), c.out) << c.in;
}

TEST_F(FooterTest, ClicksAndHintsNameTheFooterColumnUnderTheMouse) {
  g->SetColCount(10);
  F().SetVisible(true);
  g->SetLeftCol(2);
  ASSERT_EQ(g->LeftCol(), 2);
  int clickedRow = -1, clickedCol = -1;
  g->OnClickCell = [&](plat::TObject*, int r, int c) {
    clickedRow = r;
    clickedCol = c;
  };
  TFooterPanel* p = g->FooterPanel();
  EXPECT_EQ(p->ColumnAt(10), 0);
  EXPECT_EQ(p->ColumnAt(60 + 60 + 5), 3) << "the second scrollable column shown";
  EXPECT_EQ(p->ColumnAt(60 * 10), -1);
  p->Perform(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, plat::MakeLParam(125, 5));
  p->Perform(plat::WM_LBUTTONUP, 0, plat::MakeLParam(125, 5));
  EXPECT_EQ(clickedRow, 7);
  EXPECT_EQ(clickedCol, 3);
  F().SetShowHint(true);
  g->OnGridHint = [](plat::TObject*, int r, int c, QString& h) { h = QStringLiteral("r%1c%2").arg(r).arg(c); };
  EXPECT_EQ(p->HintAt(70), "r7c2");
  EXPECT_EQ(p->LastHintX(), 2);
}

TEST_F(FooterTest, BorderColorDrawsALineAlongTheTop) {
  F().SetVisible(true);
  F().SetFooterStyle(fsColumnPreview);
  g->FooterPanel()->Widget()->grab();
  const int right = g->FooterPanel()->LastRightEdge();
  EXPECT_EQ(right, 6 * 60);
  F().SetBorderColor(plat::clRed);
  QImage img = g->FooterPanel()->Widget()->grab().toImage();
  EXPECT_EQ(QColor(img.pixel(right / 2, 0)), QColor(Qt::red));
  F().SetBorderColor(plat::clNone);
  img = g->FooterPanel()->Widget()->grab().toImage();
  EXPECT_NE(QColor(img.pixel(right / 2, 0)), QColor(Qt::red));
}

TEST_F(FooterTest, CustomPreviewShowsTheCurrentRowThroughTheTemplate) {
  F().SetVisible(true);
  F().SetFooterStyle(fsCustomPreview);
  F().SetCustomTemplate("Row <#1>, square <b><#2></b>");
  g->FocusCell(1, 4);
  EXPECT_EQ(g->FooterPanel()->ExpandTemplate(), "Row 40, square <b>16</b>");
}

TEST_F(FooterTest, Screenshot) {
  g->SetLook(glXP);
  g->SetRowCount(30);
  for (int r = 8; r < 29; ++r) g->SetCells(1, r, QString::number(r));
  g->SetCells(0, 29, "Total");
  F().SetVisible(true);
  F().SetColumnCalc(1, acSUM);
  F().SetColumnCalc(2, acMAX);
  F().SetColumnCalc(3, acDISTINCT);
  F().SetBorderColor(plat::clNavy);
  g->SetTopRow(10);
  QApplication::processEvents();
  const QImage img = form->Widget()->grab().toImage();
  img.save(QStringLiteral(TEST_BINARY_DIR "/footer_fixed_last_row.png"));
  F().SetFooterStyle(fsCustomPreview);
  F().SetCustomTemplate("Row <#0>: value <b><#1></b>, square <i><#2></i>");
  g->FocusCell(2, 3);
  form->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/footer_custom_preview.png"));
}

}  // namespace
}  // namespace grid
