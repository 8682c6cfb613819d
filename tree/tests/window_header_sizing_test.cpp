// Header settings and column sizing: height limits, main and sort column clamping, the fixed-area constraints,
// the auto-size column, the proportional resize with its odd pixels, spring columns, animated resizes and
// auto-fit against measured content.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/imagelist.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

// A tree whose nodes report a content width from a table (by creation order), so auto-fit has something to
// measure.
class TMeasuredTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;
  std::map<PLazyNode, int> Widths;
  int Measured = 0;

 protected:
  int DoGetNodeWidth(PLazyNode Node, TColumnIndex) override {
    ++Measured;
    auto it = Widths.find(Node);
    return it == Widths.end() ? 0 : it->second;
  }
};

struct Fixture {
  plat::TForm form{nullptr};
  TMeasuredTree* tree;
  Fixture() {
    form.SetBounds(0, 0, 800, 600);
    tree = new TMeasuredTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
  }
  TLTHeader& H() { return tree->Header(); }
  TLazyTreeColumns& Cols() { return H().Columns(); }
  void Add(std::initializer_list<int> widths) {
    for (int w : widths) Cols().Add()->SetWidth(w);
  }
  std::vector<int> Widths() {
    std::vector<int> w;
    for (int i = 0; i < Cols().Count(); ++i) w.push_back(Cols()[i]->Width());
    return w;
  }
};

TEST(HeaderSettings, HeightFollowsLimitsAndPercentages) {
  struct Case {
    const char* name;
    int minHeight;
  } cases[] = {{"default minimum", 10}, {"minimum above the percentage", 30}};
  for (const Case& c : cases) {
    Fixture f;
    f.H().SetHeight(5);
    EXPECT_EQ(f.H().Height(), 10) << c.name;
    f.H().SetMinHeight(c.minHeight);
    f.H().SetHeight(30);
    ASSERT_EQ(f.H().Height(), 30) << c.name;
    // A window interior (client height + header height) of 100 pixels.
    f.tree->SetClientHeight(70);
    ASSERT_EQ(f.tree->ClientHeight() + f.H().Height(), 100);
    f.H().FixedAreaConstraints().SetMaxHeightPercent(20);
    EXPECT_EQ(f.H().Height(), 20) << c.name;
  }
}

TEST(HeaderSettings, DefaultHeightIsFollowedByAnUntouchedHeight) {
  Fixture f;
  f.H().SetDefaultHeight(25);
  EXPECT_EQ(f.H().Height(), 25);
  f.H().SetHeight(30);
  f.H().SetDefaultHeight(21);
  EXPECT_EQ(f.H().Height(), 30);
  f.H().SetDefaultHeight(5);
  EXPECT_EQ(f.H().DefaultHeight(), 10);  // clamped to the minimum height
}

TEST(HeaderSettings, MainAndSortColumnsAreClamped) {
  Fixture f;
  EXPECT_EQ(f.H().MainColumn(), NoColumn);
  EXPECT_FALSE(f.H().AllowFocus(0));
  f.Add({50, 50, 50});
  struct {
    int set, main, sort;
  } cases[] = {{5, 2, 2}, {-3, 0, NoColumn}, {1, 1, 1}};
  for (auto c : cases) {
    f.H().SetMainColumn(c.set);
    f.H().SetSortColumn(c.set);
    EXPECT_EQ(f.H().MainColumn(), c.main) << c.set;
    EXPECT_EQ(f.H().SortColumn(), c.sort) << c.set;
  }
  EXPECT_TRUE(f.H().AllowFocus(1));
}

TEST(HeaderSettings, SortingRunsOnlyWhenTheTreeSortsItself) {
  Fixture f;
  f.Add({50, 50});
  std::vector<std::pair<TColumnIndex, TSortDirection>> sorts;
  f.H().OnSort = [&](TColumnIndex c, TSortDirection d) { sorts.emplace_back(c, d); };
  TLTAutoOptions autoOpts = f.tree->TreeOptions().AutoOptions;
  autoOpts.Exclude(toAutoSort);
  f.tree->SetAutoOptions(autoOpts);
  f.H().SetSortColumn(1);
  EXPECT_TRUE(sorts.empty());
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
  f.H().SetSortDirection(sdDescending);
  f.H().SetSortDirection(sdDescending);  // unchanged: nothing
  f.H().SetSortColumn(0);
  ASSERT_EQ(sorts.size(), 2u);
  EXPECT_EQ(sorts[0], std::make_pair(TColumnIndex{1}, sdDescending));
  EXPECT_EQ(sorts[1], std::make_pair(TColumnIndex{0}, sdDescending));
}

TEST(HeaderSettings, ConstraintPercentagesPullTheirPartner) {
  TLTFixedAreaConstraints c;
  int changes = 0;
  c.OnChange = [&] { ++changes; };
  c.SetMinWidthPercent(40);
  c.SetMaxWidthPercent(30);  // a maximum below the minimum pulls it down
  EXPECT_EQ(c.MinWidthPercent(), 30);
  c.SetMinHeightPercent(50);
  EXPECT_EQ(c.MaxHeightPercent(), 0);  // an unset maximum stays unset
  c.SetMaxHeightPercent(60);
  c.SetMinHeightPercent(70);  // a minimum above a set maximum pushes it up
  EXPECT_EQ(c.MaxHeightPercent(), 70);
  c.SetMinHeightPercent(70);
  EXPECT_EQ(changes, 5);
  c.SetMaxWidthPercent(300);
  EXPECT_EQ(c.MaxWidthPercent(), 100);
}

TEST(ColumnSizing, AnEmptyCollectionHasNothingToSize) {
  Fixture f;
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoAutoResize});
  f.H().FitAutoSizeColumn(true);
  f.H().AutoFitColumns(true, smaUseColumnOption, NoColumn, NoColumn);
  f.H().AutoFitColumns(false, smaAllColumns, 3, 1);
  EXPECT_EQ(f.H().ResizeColumns(0, 0, 5, {}), 0);
  EXPECT_EQ(f.H().ResizeColumns(10, 0, 5, {}), 0);
  EXPECT_EQ(f.Cols().Count(), 0);
}

TEST(ColumnSizing, TheAutoSizeColumnTakesTheWidthLeft) {
  struct Case {
    const char* name;
    int autoSizeIndex, maxWidth, expectIndex, expectWidth;
  } cases[] = {
      {"index past the columns fits the last", 5, 10000, 2, -1},
      {"capped by its maximum", 1, 100, 1, 100},
      {"a valid index", 0, 10000, 0, -1},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.tree->SetBounds(0, 0, 500 + (f.tree->Width() - f.tree->ClientWidth()), 200);
    f.Add({100, 100, 100});
    f.Cols()[c.expectIndex]->SetMaxWidth(c.maxWidth);
    f.H().SetAutoSizeIndex(c.autoSizeIndex);
    f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoAutoResize});
    const int expect = c.expectWidth < 0 ? 500 - 200 : c.expectWidth;
    EXPECT_EQ(f.Cols()[c.expectIndex]->Width(), expect) << c.name;
    // Growing the window grows the column with it (within its maximum).
    f.tree->SetBounds(0, 0, f.tree->Width() + 40, 200);
    EXPECT_EQ(f.Cols()[c.expectIndex]->Width(), std::min(expect + 40, c.maxWidth)) << c.name;
  }
}

TEST(ColumnSizing, OddPixelsOfAProportionalResizeGoToSuccessiveColumns) {
  Fixture f;
  f.Add({50, 50, 50});
  EXPECT_EQ(f.H().ResizeColumns(10, 0, 2, {coResizable}), 10);
  EXPECT_EQ(f.Widths(), (std::vector<int>{54, 53, 53}));
  EXPECT_EQ(f.H().ResizeColumns(10, 0, 2, {coResizable}), 10);
  EXPECT_EQ(f.Widths(), (std::vector<int>{57, 57, 56}));
  // Shrinking walks from the end of the range.
  EXPECT_EQ(f.H().ResizeColumns(-4, 0, 2, {coResizable}), -4);
  EXPECT_EQ(f.Widths(), (std::vector<int>{56, 55, 55}));  // the last column had its pixel
}

TEST(ColumnSizing, AResizeBeyondTheRoomStopsAtTheLimits) {
  Fixture f;
  f.Add({50, 50, 50});
  f.Cols()[0]->SetMinWidth(40);
  f.Cols()[1]->SetMinWidth(45);
  f.Cols()[2]->SetOptions(f.Cols()[2]->Options() - TLTColumnOptions{coResizable});  // does not take part
  EXPECT_EQ(f.H().ResizeColumns(-100, 0, 2, {coResizable}), -15);
  EXPECT_EQ(f.Widths(), (std::vector<int>{40, 45, 50}));
  f.Cols()[1]->SetMaxWidth(47);
  EXPECT_EQ(f.H().ResizeColumns(4, 1, 1, {coResizable}), 2);
}

TEST(ColumnSizing, SpringColumnsShareWidthChangesWithCarriedFractions) {
  Fixture f;
  f.Add({50, 50, 50});
  for (int i : {0, 2}) f.Cols()[i]->SetOptions(f.Cols()[i]->Options() + TLTColumnOptions{coAutoSpring});
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoAutoSpring});
  f.H().DistributeSpringWidth();  // the first call only records the width
  EXPECT_EQ(f.Widths(), (std::vector<int>{50, 50, 50}));
  f.tree->SetBounds(0, 0, f.tree->Width() + 3, 200);
  EXPECT_EQ(f.Widths(), (std::vector<int>{51, 50, 51}));
  f.tree->SetBounds(0, 0, f.tree->Width() + 1, 200);
  EXPECT_EQ(f.Widths(), (std::vector<int>{52, 50, 52}));
  f.tree->SetBounds(0, 0, f.tree->Width() - 2, 200);
  EXPECT_EQ(f.Widths(), (std::vector<int>{51, 50, 51}));
}

TEST(ColumnSizing, AnimatedResizeClampsAndSkipsNoChange) {
  Fixture f;
  f.Add({50});
  int resized = 0;
  f.H().OnColumnResize = [&](TLTHeader*, TColumnIndex) { ++resized; };
  f.Cols()[0]->SetMaxWidth(60);
  resized = 0;
  f.H().AnimatedResize(0, 50);
  f.H().AnimatedResize(7, 90);  // no such column
  EXPECT_EQ(resized, 0);
  f.H().AnimatedResize(0, 70);
  EXPECT_EQ(f.Cols()[0]->Width(), 60);
  EXPECT_EQ(resized, 1);
  f.H().RestoreColumns();
  EXPECT_EQ(f.Cols()[0]->Width(), 50);
}

TEST(ColumnSizing, AutoFitMeasuresIndentMarginAndGridLine) {
  Fixture f;
  f.Add({50, 50});
  PLazyNode a = f.tree->AddChild(nullptr);
  PLazyNode b = f.tree->AddChild(a);
  f.tree->SetExpanded(a, true);
  f.tree->Widths = {{a, 30}, {b, 25}};
  const int indent = static_cast<int>(f.tree->Indent());
  const int margin = f.tree->Margin();
  TLTPaintOptions paint = f.tree->TreeOptions().PaintOptions;
  paint.Include(toShowRoot);
  paint.Exclude(toShowVertGridLines);
  f.tree->SetPaintOptions(paint);
  // Main column: the child's deeper indent wins (2 * indent + 25 against indent + 30).
  EXPECT_EQ(f.tree->GetMaxColumnWidth(0, false), std::max(indent + 30, 2 * indent + 25) + margin);
  EXPECT_EQ(f.tree->GetMaxColumnWidth(1, false), 30 + margin);
  paint.Include(toShowVertGridLines);
  f.tree->SetPaintOptions(paint);
  EXPECT_EQ(f.tree->GetMaxColumnWidth(1, false), 30 + margin + 1);

  std::vector<TColumnIndex> fitted;
  f.H().OnAfterAutoFitColumn = [&](TLTHeader*, TColumnIndex c) { fitted.push_back(c); };
  f.H().OnBeforeAutoFitColumn = [](TLTHeader*, TColumnIndex c, TSmartAutoFitType&, bool& allowed) { allowed = c != 0; };
  f.H().AutoFitColumns(true, smaUseColumnOption, NoColumn, NoColumn);
  EXPECT_EQ(fitted, std::vector<TColumnIndex>{1});
  EXPECT_EQ(f.Cols()[1]->Width(), 30 + margin + 1);
  EXPECT_EQ(f.Cols()[0]->Width(), 50);
  f.H().OnAfterGetMaxColumnWidth = [](TLTHeader*, TColumnIndex, int& w) { w = 77; };
  f.H().OnBeforeAutoFitColumn = nullptr;
  f.H().AutoFitColumns(false, smaNoColumn, 0, 0);
  EXPECT_EQ(f.Cols()[0]->Width(), 77);
}

TEST(ColumnSizing, AutoFitMeasuresChecksImagesAndContentMargins) {
  Fixture f;
  f.Add({50, 50});
  PLazyNode a = f.tree->AddChild(nullptr);
  PLazyNode b = f.tree->AddChild(nullptr);
  f.tree->Widths = {{a, 30}, {b, 25}};
  TLTPaintOptions paint = f.tree->TreeOptions().PaintOptions;
  paint.Exclude(toShowVertGridLines);
  paint.Exclude(toShowRoot);
  f.tree->SetPaintOptions(paint);
  const int margin = f.tree->Margin();
  ASSERT_EQ(f.tree->GetMaxColumnWidth(1, false), 30 + margin);
  // A check box counts in the main column only, for nodes that have one.
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  b->CheckType = ctCheckBox;
  EXPECT_EQ(f.tree->GetMaxColumnWidth(0, false), std::max(30, 25 + 18) + margin);
  EXPECT_EQ(f.tree->GetMaxColumnWidth(1, false), 30 + margin);
  // The first node with a normal image makes room for images in every node after it, not before it.
  auto* images = new plat::TImageList(&f.form);
  f.tree->SetImages(images);
  f.tree->OnGetImageIndex = [&](auto*, PLazyNode n, TLTImageKind k, TColumnIndex c, bool&, int& i) {
    if (k == ikNormal && n == b && c == 1) i = 0;
  };
  EXPECT_EQ(f.tree->GetMaxColumnWidth(1, false), std::max(30, 18 + 25) + margin);
  f.tree->Widths = {{a, 25}, {b, 30}};
  f.tree->OnGetImageIndex = [&](auto*, PLazyNode n, TLTImageKind k, TColumnIndex c, bool&, int& i) {
    if (k == ikNormal && n == a && c == 1) i = 0;
  };
  EXPECT_EQ(f.tree->GetMaxColumnWidth(1, false), 18 + 30 + margin) << "b follows a node with an image";
  // The margins a cell keeps around its content.
  f.tree->OnBeforeCellPaint = [](auto*, auto*, PLazyNode, TColumnIndex, TLTCellPaintMode, const plat::TRect&,
                                 plat::TRect& r) { r.Left += 2, r.Right -= 4; };
  EXPECT_EQ(f.tree->GetMaxColumnWidth(1, false), 18 + 30 + 6 + margin);
}

}  // namespace
}  // namespace lazytree
