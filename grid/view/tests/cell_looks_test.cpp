// The per-cell look API: defaults without creating properties, setters with their repaints, whole rows, and
// widths by real column.
#include "grid/view/cell_looks.h"

#include <gtest/gtest.h>

#include "platform/forms/forms.h"

namespace grid {
namespace {

class TLooksGrid : public TBaseGrid {
 public:
  explicit TLooksGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {}
  TGridHiding hiding{*this};
  TCellLooks looks{*this, hiding};
  int TotalColCount() const override { return ColCount() + hiding.NumHiddenColumns(); }
  std::vector<plat::TPoint> repaints;
  void RepaintCell(int c, int r) override { repaints.push_back({c, r}); }
};

struct LooksTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TLooksGrid* g = new TLooksGrid(form.get());
  TCellLooks& l = g->looks;
  LooksTest() {
    g->SetColCount(5);
    g->SetRowCount(5);
  }
};

TEST_F(LooksTest, GettersAnswerDefaultsWithoutCreatingProperties) {
  EXPECT_EQ(l.GetColors(2, 2), plat::clNone);
  EXPECT_EQ(l.GetColorsTo(2, 2), plat::clNone);
  EXPECT_EQ(l.GetGradientDir(2, 2), GradientVertical);
  EXPECT_EQ(l.GetFontColors(2, 2), plat::clNone);
  EXPECT_TRUE(l.GetFontStyles(2, 2).Empty());
  EXPECT_EQ(l.GetFontSizes(2, 2), 0);
  EXPECT_EQ(l.GetFontNames(2, 2), "");
  EXPECT_EQ(l.GetAlignments(2, 2), plat::taLeftJustify);
  EXPECT_FALSE(l.GetReadOnly(2, 2));
  EXPECT_FALSE(g->HasCellProps());
  EXPECT_TRUE(l.GetWordWraps(2, 2));  // this one creates them
  EXPECT_TRUE(g->HasCellProperties(2, 2));
}

TEST_F(LooksTest, SettersCreateStoreAndRepaintUnlessAnUpdateIsPending) {
  l.SetColors(1, 1, plat::clRed);
  l.SetAlignments(1, 1, plat::taCenter);
  l.SetFontStyles(1, 1, {plat::fsItalic});
  EXPECT_EQ(l.GetColors(1, 1), plat::clRed);
  EXPECT_EQ(l.GetAlignments(1, 1), plat::taCenter);
  EXPECT_TRUE(l.GetFontStyles(1, 1).Contains(plat::fsItalic));
  l.GetWordWraps(3, 3);  // the record exists before the writes below
  g->repaints.clear();
  bool pending = true;
  l.UpdatePending = [&] { return pending; };
  plat::TFont font;
  font.SetName("Mono");
  font.SetSize(11);
  l.SetCellFont(3, 3, font);
  EXPECT_EQ(l.GetFontNames(3, 3), "Mono");
  EXPECT_EQ(l.GetFontSizes(3, 3), 11);
  l.SetReadOnly(3, 3, true);  // repaints whatever the bracket
  EXPECT_EQ(g->repaints.size(), 1u);
  l.SetColors(9, 9, plat::clRed);  // outside the grid: nothing
  EXPECT_FALSE(g->HasCellProperties(9, 9));
}

TEST_F(LooksTest, WholeRowsAndTheirClearing) {
  g->MergeCells(1, 2, 2, 1);
  plat::TObject marker;
  g->SetGraphicObjectEx(3, 2, &marker);
  l.SetRowColor(2, plat::clBlue);
  EXPECT_EQ(l.GetColors(4, 2), plat::clBlue);
  EXPECT_FALSE(g->HasCellProperties(0, 2));  // the fixed column is left alone
  l.SetRowColorTo(2, plat::clNone);          // only the gradient end is reset
  EXPECT_TRUE(g->IsMergedCell(1, 2));
  EXPECT_EQ(l.GetColors(4, 2), plat::clBlue);
  l.SetRowColor(2, plat::clNone);
  EXPECT_FALSE(g->HasCellProperties(4, 2));
  EXPECT_TRUE(g->HasCellProperties(3, 2));  // the cell with an object keeps its properties
  EXPECT_EQ(l.GetColors(3, 2), plat::clNone);
  g->SetGraphicObjectEx(3, 2, nullptr);

  l.SetRowFontColor(3, plat::clGreen);
  EXPECT_EQ(l.GetFontColors(2, 3), plat::clGreen);
  l.SetColors(1, 3, plat::clNone);  // new records take the grid's colour
  l.SetColors(2, 3, plat::clYellow);
  l.SetRowFontColor(3, plat::clNone);
  EXPECT_FALSE(g->HasCellProperties(1, 3));
  EXPECT_TRUE(g->HasCellProperties(2, 3));  // it has a colour of its own
}

TEST_F(LooksTest, WidthsByRealColumn) {
  l.SetAllColWidths(2, 90);
  EXPECT_EQ(g->ColWidths(2), 90);
  g->hiding.HideColumns(1, 1);
  EXPECT_EQ(l.GetAllColWidths(2), 90);  // now at display 1
  EXPECT_EQ(g->ColWidths(1), 90);
  l.SetAllColWidths(1, 33);             // hidden: only remembered
  EXPECT_EQ(l.GetAllColWidths(1), 33);
  g->hiding.UnHideColumns(1, 1);
  EXPECT_EQ(g->ColWidths(1), 33);
}

}  // namespace
}  // namespace grid
