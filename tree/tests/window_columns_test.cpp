// The tree's columns: the empty collection's implicit column, positions and the position map, deleting and
// hiding columns, widths and their limits, the geometry queries and the header hit test.
#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/forms.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

struct Fixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  Fixture() {
    form.SetBounds(0, 0, 600, 400);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
  }
  TLazyTreeColumns& Cols() { return tree->Header().Columns(); }
  // Columns of the given widths, in creation order.
  void Add(std::initializer_list<int> widths) {
    for (int w : widths) Cols().Add()->SetWidth(w);
  }
  std::vector<TColumnIndex> Map() { return Cols().PositionToIndex(); }
};

TEST(TreeColumns, AnEmptyCollectionIsTheImplicitColumn) {
  Fixture f;
  TLazyTreeColumns& c = f.Cols();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.GetFirstColumn(), ColumnNotFound);
  EXPECT_EQ(c.GetFirstVisibleColumn(), ColumnNotFound);
  EXPECT_EQ(c.GetLastVisibleColumn(), ColumnNotFound);
  EXPECT_EQ(c.TotalWidth(), 0);
  EXPECT_EQ(c.GetVisibleFixedWidth(), 0);
  EXPECT_EQ(c.GetScrollWidth(), 18);
  int l = -1, r = -1;
  c.GetColumnBounds(NoColumn, l, r);
  EXPECT_EQ(l, 0);
  EXPECT_EQ(r, f.tree->ClientWidth());
  EXPECT_EQ(c.ColumnFromPosition(plat::TPoint(10, 5)), ColumnNotFound);
  EXPECT_EQ(c.ColumnFromPosition(TColumnPosition(0)), NoColumn);
  EXPECT_EQ(f.tree->Header().MainColumn(), NoColumn);
  f.tree->InvalidateColumn(NoColumn);
}

TEST(TreeColumns, NewColumnsTakeTheNextPositionAndTheFirstBecomesMain) {
  Fixture f;
  TLazyTreeColumn* a = f.Cols().Add();
  EXPECT_EQ(a->Width(), 50);
  EXPECT_EQ(a->Position(), 0u);
  EXPECT_EQ(f.tree->Header().MainColumn(), 0);
  TLazyTreeColumn* b = f.Cols().Add();
  EXPECT_EQ(b->Position(), 1u);
  EXPECT_EQ(b->Left(), 50);
  EXPECT_EQ(a->Color(), f.tree->Color());
  EXPECT_EQ(a->Options(), DefaultColumnOptions);
  EXPECT_EQ(f.Cols().TotalWidth(), 100);
  EXPECT_EQ(f.tree->RangeX(), 100u);
}

TEST(TreeColumns, MovingAColumnShiftsTheMapAndFollowsTheFixedBlock) {
  Fixture f;
  f.Add({10, 20, 30, 40});
  f.Cols()[0]->SetOptions(DefaultColumnOptions + TLTColumnOptions{coFixed});
  f.Cols()[3]->SetPosition(0);  // in front of a fixed column: becomes fixed
  EXPECT_EQ(f.Map(), (std::vector<TColumnIndex>{3, 0, 1, 2}));
  const int lefts[] = {40, 50, 70, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(f.Cols()[i]->Position(), static_cast<TColumnPosition>((i + 1) % 4)) << i;
    EXPECT_EQ(f.Cols()[i]->Left(), lefts[i]) << i;
  }
  EXPECT_TRUE(f.Cols()[3]->Options().Has(coFixed));
  f.Cols()[0]->SetPosition(3);  // behind an unfixed column: no longer fixed
  EXPECT_EQ(f.Map(), (std::vector<TColumnIndex>{3, 1, 2, 0}));
  EXPECT_FALSE(f.Cols()[0]->Options().Has(coFixed));
  f.Cols()[1]->SetPosition(static_cast<TColumnPosition>(-1));  // "negative": the last position
  EXPECT_EQ(f.Map(), (std::vector<TColumnIndex>{3, 2, 0, 1}));
  EXPECT_EQ(f.Cols().GetNextColumn(3), 2);
  EXPECT_EQ(f.Cols().GetPreviousColumn(3), ColumnNotFound);
  EXPECT_EQ(f.Cols().GetNextColumn(1), ColumnNotFound);
  EXPECT_EQ(f.Cols().GetNextColumn(NoColumn), ColumnNotFound);
}

TEST(TreeColumns, DeletingColumnsFixesTheStoredIndexes) {
  struct Case {
    const char* name;
    int columns;
    TColumnIndex main, deleted, mainAfter;
  };
  const Case cases[] = {
      {"main column 0 of three", 3, 0, 0, 0},
      {"column 0 while the main is 2", 3, 2, 0, 1},
      {"a later column", 3, 0, 2, 0},
      {"the only column", 1, 0, 0, NoColumn},
  };
  for (const Case& c : cases) {
    Fixture f;
    for (int i = 0; i < c.columns; ++i) f.Cols().Add();
    f.tree->Header().SetMainColumn(c.main);
    f.tree->Header().SetSortColumn(c.columns - 1);
    f.Cols().Delete(c.deleted);
    EXPECT_EQ(f.tree->Header().MainColumn(), c.mainAfter) << c.name;
    EXPECT_EQ(f.Map().size(), static_cast<std::size_t>(c.columns - 1)) << c.name;
    const TColumnIndex sortAfter = c.deleted == c.columns - 1 ? NoColumn : c.columns - 2;
    EXPECT_EQ(f.tree->Header().SortColumn(), sortAfter) << c.name;
    for (int i = 0; i < f.Cols().Count(); ++i) EXPECT_EQ(f.Cols()[i]->Position(), TColumnPosition(i)) << c.name;
  }
  Fixture f;
  f.Add({10, 20});
  f.Cols().Clear();
  EXPECT_EQ(f.Cols().Count(), 0);
  EXPECT_EQ(f.tree->Header().MainColumn(), NoColumn);
  EXPECT_EQ(f.tree->Header().AutoSizeIndex(), NoColumn);
}

TEST(TreeColumns, HiddenColumnsKeepTheirPlaceButTakeNoRoom) {
  Fixture f;
  f.Add({40, 60, 80});
  f.Cols()[2]->SetOptions(DefaultColumnOptions - TLTColumnOptions{coVisible});
  EXPECT_EQ(f.Cols().TotalWidth(), 100) << "ends at the last visible column";
  EXPECT_EQ(f.Cols().GetLastVisibleColumn(), 1);
  EXPECT_EQ(f.Cols()[2]->Width(), 80);
  f.Cols()[1]->SetOptions(DefaultColumnOptions - TLTColumnOptions{coVisible});
  EXPECT_EQ(f.Cols().GetNextVisibleColumn(0), ColumnNotFound);
  EXPECT_EQ(f.Cols().GetVisibleColumns().size(), 1u);
  f.Cols()[1]->SetOptions(DefaultColumnOptions - TLTColumnOptions{coAllowFocus});
  EXPECT_EQ(f.Cols().GetNextVisibleColumn(0), 1);
  EXPECT_EQ(f.Cols().GetNextVisibleColumn(0, true), ColumnNotFound);
}

TEST(TreeColumns, HeaderHitTestAndBounds) {
  Fixture f;
  f.Add({40, 60, 80, 100});  // 280 wide in a client of less than 300
  f.Cols()[1]->SetOptions(DefaultColumnOptions - TLTColumnOptions{coVisible});
  struct Case {
    int x, y;
    bool relative;
    TColumnIndex expected;
  };
  const Case cases[] = {
      {0, 0, true, 0},   {39, 5, true, 0},  {40, 5, true, 2},   {119, 5, true, 2}, {120, 5, true, 3},
      {219, 5, true, 3}, {220, 5, true, ColumnNotFound},           {-1, 5, true, ColumnNotFound},
      {10, -1, true, ColumnNotFound},     {10, 500, true, ColumnNotFound},
  };
  for (const Case& c : cases)
    EXPECT_EQ(f.Cols().ColumnFromPosition(plat::TPoint(c.x, c.y), c.relative), c.expected) << c.x << "," << c.y;
  int l = 0, r = 0;
  f.Cols().GetColumnBounds(3, l, r);
  EXPECT_EQ(l, 120);
  EXPECT_EQ(r, 220);
  EXPECT_EQ(f.Cols().HitColumnSpan(plat::TPoint(150, 0), l, true, r), 3);
  EXPECT_EQ(l, 120);
  EXPECT_EQ(r, 220);
}

TEST(TreeColumns, ScrolledColumnsAndTheFixedBlock) {
  Fixture f;
  f.Add({50, 200, 200});
  f.Cols()[0]->SetOptions(DefaultColumnOptions + TLTColumnOptions{coFixed});
  f.tree->SetOffsetX(-100);
  ASSERT_EQ(f.tree->EffectiveOffsetX(), 100);
  EXPECT_EQ(f.Cols()[0]->Left(), 0) << "a fixed column does not scroll";
  EXPECT_EQ(f.Cols()[1]->Left(), -50);
  EXPECT_EQ(f.Cols().GetVisibleFixedWidth(), 50);
  EXPECT_EQ(f.Cols().ColumnFromPosition(plat::TPoint(60, 0), true), 1);   // 60 + 100 scrolled = 160
  EXPECT_EQ(f.Cols().ColumnFromPosition(plat::TPoint(160, 0), true), 2);  // 260
  EXPECT_EQ(f.Cols().ColumnFromPosition(plat::TPoint(20, 0), true), 0);   // under the fixed block
  EXPECT_EQ(f.Cols().GetScrollWidth(), 200);
  f.tree->SetRootNodeCount(1);
  const plat::TRect cell = f.tree->GetDisplayRect(f.tree->GetFirst(), 1, false);
  EXPECT_EQ(cell.Left, -50);
  EXPECT_EQ(cell.Right, 149);
}

TEST(TreeColumns, WidthLimitsAndSmallSettings) {
  Fixture f;
  TLazyTreeColumn* c = f.Cols().Add();
  int resized = 0;
  f.tree->Header().OnColumnResize = [&](TLTHeader*, TColumnIndex col) {
    EXPECT_EQ(col, 0);
    ++resized;
  };
  c->SetWidth(3);
  EXPECT_EQ(c->Width(), 10);
  EXPECT_EQ(c->LastWidth(), 50);
  EXPECT_EQ(resized, 1);
  c->SetMaxWidth(5);
  EXPECT_EQ(c->MaxWidth(), 10) << "raised to MinWidth";
  c->SetMinWidth(20);
  EXPECT_EQ(c->MinWidth(), 10) << "lowered to MaxWidth";
  c->SetMaxWidth(300);
  c->SetWidth(500);
  EXPECT_EQ(c->Width(), 300);
  c->SetMargin(-1);
  EXPECT_EQ(c->Margin(), 4);
  EXPECT_EQ(c->CaptionAlignment(), plat::taLeftJustify);
  c->SetAlignment(plat::taRightJustify);
  EXPECT_EQ(c->CaptionAlignment(), plat::taRightJustify) << "follows Alignment until set";
  c->SetCaptionAlignment(plat::taCenter);
  EXPECT_TRUE(c->Options().Has(coUseCaptionAlignment));
  EXPECT_EQ(c->CaptionAlignment(), plat::taCenter);
  c->SetText(QStringLiteral("Value"));
  EXPECT_EQ(c->DisplayName(), QStringLiteral("Value"));
  c->SetText(QStringLiteral("Wert \u20AC"));
  EXPECT_EQ(c->DisplayName(), QStringLiteral("Column 0"));

  Fixture g;
  TLazyTreeColumn* copy = g.Cols().Add();
  copy->Assign(c);
  EXPECT_TRUE(copy->Equals(*c));
  EXPECT_TRUE(g.Cols().Equals(f.Cols()));
  copy->SetSpacing(9);
  EXPECT_FALSE(copy->Equals(*c));
}

TEST(TreeColumns, ScrollWidthIsTheRoundedAverageOfScrollingColumns) {
  Fixture f;
  f.Add({10, 11});  // 10.5: halves go to the even neighbour
  EXPECT_EQ(f.Cols().GetScrollWidth(), 10);
  f.Add({12});      // 11
  EXPECT_EQ(f.Cols().GetScrollWidth(), 11);
}

TEST(TreeColumns, PositionsReadWhileLoadingBecomeTheMapAfterwards) {
  Fixture f;
  f.tree->BeginLoading();
  f.Add({10, 20, 30});
  f.Cols()[0]->SetPosition(2);
  f.Cols()[1]->SetPosition(0);
  f.Cols()[2]->SetPosition(1);
  f.tree->EndLoading();
  EXPECT_EQ(f.Map(), (std::vector<TColumnIndex>{1, 2, 0}));
  EXPECT_EQ(f.Cols()[0]->Left(), 50);
  EXPECT_EQ(f.Cols()[1]->Left(), 0);
  EXPECT_EQ(f.tree->Header().MainColumn(), 0);
}

}  // namespace
}  // namespace lazytree
