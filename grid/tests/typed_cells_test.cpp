// Typed reads and writes of cells, with their errors, and texts by real row through the hidden-row store.
#include "grid/typed_cells.h"

#include <gtest/gtest.h>

#include "platform/forms/forms.h"
#include "platform/rtl/formatsettings.h"

namespace grid {
namespace {

class TTypedGrid : public TBaseGrid {
 public:
  explicit TTypedGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {}
  TGridHiding hiding{*this};
  TTypedCells typed{*this, hiding};
  int TotalColCount() const override { return ColCount() + hiding.NumHiddenColumns(); }
};

struct TypedTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TTypedGrid* g = new TTypedGrid(form.get());
  TTypedCells& t = g->typed;
  TypedTest() {
    g->SetColCount(4);
    g->SetRowCount(8);
  }
};

TEST_F(TypedTest, IntegersAndFloatsWithTheirErrors) {
  struct Case {
    const char* text;
    bool isInt;
    int i;
    bool isFloat;
    double f;
  };
  const Case cases[] = {
      {"", true, 0, true, 0},          {" ", true, 0, true, 0},          {"-", true, 0, true, 0},
      {" 7 ", true, 7, true, 7},       {"<b>42</b>", true, 42, true, 42}, {"12a", false, 0, true, 12},
      {"abc", false, 0, false, 0},     {"2.5", false, 0, true, 2.5},      {"-3", true, -3, true, -3},
  };
  for (const Case& k : cases) {
    g->SetCells(1, 1, k.text);
    if (k.isInt)
      EXPECT_EQ(t.GetInts(1, 1), k.i) << k.text;
    else
      EXPECT_THROW(
          {
            try {
              t.GetInts(1, 1);
            } catch (const EExtGridError& e) {
              EXPECT_EQ(e.Message(), "Cell does not contain integer value");
              throw;
            }
          },
          EExtGridError)
          << k.text;
    if (k.isFloat)
      EXPECT_DOUBLE_EQ(t.GetFloats(1, 1), k.f) << k.text;
    else
      EXPECT_THROW(t.GetFloats(1, 1), EExtGridError) << k.text;
  }
  t.SetInts(2, 2, -17);
  EXPECT_EQ(g->Cells(2, 2), "-17");
  t.SetFloats(2, 3, 3.14159);
  EXPECT_EQ(g->Cells(2, 3), "3.14");
  t.OnCellFloatFormat = [](int c, int) { return c == 3 ? QString("%.4f") : QString(); };
  t.SetFloats(3, 3, 3.14159);
  EXPECT_EQ(g->Cells(3, 3), "3.1416");
  t.SetFloats(0, 3, 2.0);
  EXPECT_EQ(g->Cells(0, 3), "2.00");
}

TEST_F(TypedTest, DatesAndTimes) {
  t.ShowNullDates = false;
  t.SetDates(1, 1, 0);
  EXPECT_EQ(g->Cells(1, 1), "");
  t.ShowNullDates = true;
  t.SetDates(1, 1, 0);
  EXPECT_FALSE(g->Cells(1, 1).isEmpty());
  const plat::TDateTime day = plat::EncodeDate(2024, 2, 29);
  t.SetDates(1, 2, day);
  EXPECT_DOUBLE_EQ(t.GetDates(1, 2), day);
  const plat::TDateTime time = plat::EncodeTime(13, 45, 10, 0);
  t.SetTimes(1, 3, time);
  EXPECT_NEAR(t.GetTimes(1, 3), time, 1e-9);
  g->SetCells(1, 4, "not a date");
  EXPECT_THROW(t.GetDates(1, 4), plat::EConvertError);
}

TEST_F(TypedTest, RealRowsReachHiddenRowsInTheirRecords) {
  for (int r = 0; r < 8; ++r) g->SetCells(1, r, QString::number(r * 10));
  g->SetCells(2, 5, "<b>5</b>");
  g->hiding.HideRows(4, 5);
  EXPECT_EQ(t.GetCellsEx(1, 6), "60");  // shown row 6 is display row 4
  EXPECT_EQ(t.GetAllInts(1, 5), 50);    // hidden: from its record
  EXPECT_THROW(t.GetAllInts(2, 5), EExtGridError);  // by real row the tags are not stripped
  t.SetAllInts(1, 4, 44);
  t.SetAllFloats(3, 6, 1.5);
  EXPECT_EQ(g->Cells(3, 4), "1.50");
  EXPECT_EQ(t.GetCellsEx(9, 4), "");  // past the record's cells
  t.SetGridCellsEx(6, 5, "raw");     // a raw write does not extend the record
  EXPECT_EQ(t.GetGridCellsEx(6, 5), "");
  t.SetCellsEx(6, 5, "text");        // a text write does
  EXPECT_EQ(t.GetGridCellsEx(6, 5), "text");
  g->SetNormalRowCount(8);
  g->OnGetDisplText = [](plat::TObject*, int, int, QString& v) { v += "!"; };
  EXPECT_EQ(t.GetCellsEx(1, 5), "50!");  // hidden rows pass the display-text hook too
  g->OnGetDisplText = nullptr;
  g->hiding.UnHideRows(4, 5);
  EXPECT_EQ(g->Cells(1, 4), "44");
  EXPECT_EQ(t.GetGridCellsEx(2, 5), "<b>5</b>");
}

}  // namespace
}  // namespace grid
