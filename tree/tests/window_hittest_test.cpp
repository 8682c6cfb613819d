// Hit testing: the parts of a cell under a point (indentation, buttons, check box, images, text and the space
// beside it, mirrored right to left), and the window's hit test over rows, columns, splitters and the outside.
#include <QApplication>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "tree/hittest.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

std::string Names(THitPositions p) {
  static const char* names[] = {"Above", "Below", "Nowhere", "Item", "Button", "ButtonExact", "Checkbox", "Indent",
                                "Label", "Left", "Right", "Normal", "State", "ToLeft", "ToRight", "Upper", "Lower"};
  std::string s;
  for (int i = 0; i <= hiLowerSplitter; ++i)
    if (p.Has(static_cast<THitPosition>(i))) s += std::string(s.empty() ? "" : " ") + names[i];
  return s;
}

// A main-column cell 200 wide: level-1 node with children, Indent 18 (so the content starts at 36 + Margin 4),
// a 13-pixel check box, a 16-pixel state and normal image, and 50 pixels of text.
THitCell Cell(int x) {
  THitCell c;
  c.X = x;
  c.Width = 200;
  c.Indent = 36;
  c.LevelIndent = 18;
  c.Margin = 4;
  c.ButtonZone = true;
  c.ButtonWidth = 9;
  c.HasCheck = true;
  c.CheckWidth = 13;
  c.StateImageWidth = 16;
  c.NormalImageWidth = 16;
  c.TextWidth = 50;
  return c;
}

TEST(HitCell, PartsOfARowLeftToRight) {
  // Content: check 40..54, state 55..72, normal 73..90, text from 91 to 141.
  struct Case {
    int x;
    const char* want;
  } cases[] = {
      {0, "Item Indent"},         {17, "Item Indent"},           {18, "Item Button"},
      {26, "Item Button"},        {27, "Item Button ButtonExact"}, {39, "Item Button ButtonExact"},
      {40, "Item Checkbox"},      {54, "Item Checkbox"},         {55, "Item State"},
      {72, "Item State"},         {73, "Item Normal"},           {90, "Item Normal"},
      {91, "Item Label"},         {140, "Item Label"},           {141, "Item Right"},
      {199, "Item Right"},
  };
  for (const Case& c : cases) EXPECT_EQ(Names(ClassifyHitInCell(Cell(c.x))), c.want) << "x " << c.x;
}

TEST(HitCell, AlignmentsReportModeAndMissingParts) {
  struct Case {
    const char* name;
    THitCell cell;
    const char* want;
  };
  auto with = [](int x, auto change) {
    THitCell c = Cell(x);
    change(c);
    return c;
  };
  const Case cases[] = {
      {"right: left of the text", with(120, [](THitCell& c) { c.Alignment = plat::taRightJustify; }), "Item Left"},
      {"right: on the text", with(150, [](THitCell& c) { c.Alignment = plat::taRightJustify; }), "Item Label"},
      // Centred: L = (91 + 200 - 50) / 2 = 120.
      {"centre: left", with(119, [](THitCell& c) { c.Alignment = plat::taCenter; }), "Item Left"},
      {"centre: label", with(120, [](THitCell& c) { c.Alignment = plat::taCenter; }), "Item Label"},
      {"centre: right", with(170, [](THitCell& c) { c.Alignment = plat::taCenter; }), "Item Right"},
      {"text wider than the room", with(195, [](THitCell& c) { c.TextWidth = 300; }), "Item Label"},
      {"no children: indentation only", with(30, [](THitCell& c) { c.ButtonZone = false; }), "Item Indent"},
      {"no check control", with(45, [](THitCell& c) { c.HasCheck = false; }), "Item State"},
      {"no images", with(60, [](THitCell& c) { c.StateImageWidth = c.NormalImageWidth = 0; }), "Item Label"},
      {"other column, report mode", with(5, [](THitCell& c) { c.MainColumn = false; c.ReportMode = true; }), "Item"},
      {"other column: no indentation", with(5, [](THitCell& c) { c.MainColumn = false; }), "Item State"},
  };
  for (const Case& c : cases) EXPECT_EQ(Names(ClassifyHitInCell(c.cell)), c.want) << c.name;
}

TEST(HitCell, RightToLeftMirrorsTheRegions) {
  struct Case {
    int x;
    plat::TAlignment align;
    const char* want;
  } cases[] = {
      {199, plat::taLeftJustify, "Item Indent"},   {181, plat::taLeftJustify, "Item Button"},
      {164, plat::taLeftJustify, "Item Button ButtonExact"},
      // The margin next to the content is part of the check box.
      {163, plat::taLeftJustify, "Item Checkbox"}, {160, plat::taLeftJustify, "Item Checkbox"},
      {159, plat::taLeftJustify, "Item Checkbox"}, {127, plat::taLeftJustify, "Item State"},
      {109, plat::taLeftJustify, "Item Normal"},   {108, plat::taLeftJustify, "Item Label"},
      // The text stands next to the content; the room beyond it lies on its left.
      {40, plat::taLeftJustify, "Item Left"},
      // Right-justified under right to left: the text sits at the far (left) edge.
      {10, plat::taRightJustify, "Item Label"},    {80, plat::taRightJustify, "Item Right"},
  };
  for (const Case& c : cases) {
    THitCell cell = Cell(c.x);
    cell.RightToLeft = true;
    cell.Alignment = c.align;
    EXPECT_EQ(Names(ClassifyHitInCell(cell)), c.want) << "x " << c.x;
  }
  // Without a check box the margin stays with the indentation, as left to right.
  THitCell cell = Cell(160);
  cell.RightToLeft = true;
  cell.HasCheck = false;
  EXPECT_EQ(Names(ClassifyHitInCell(cell)), "Item Button ButtonExact");
}

class THitTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;
  int nodeWidth = 40;
  int imageWidth = 0;
  bool columns = false;

 protected:
  int DoGetNodeWidth(PLazyNode, TColumnIndex) override { return nodeWidth; }
  int HitImageWidth(PLazyNode, TColumnIndex, bool State) override { return State ? 0 : imageWidth; }
  bool HitColumnsInUse() const override { return columns; }
  TColumnIndex HitMainColumn() const override { return columns ? 0 : NoColumn; }
  // Two columns of 100 pixels, then nothing.
  TColumnIndex HitColumnSpan(PLazyNode, int X, int& Left, int& Right) override {
    if (X >= 200) return ColumnNotFound;
    Left = X < 100 ? 0 : 100;
    Right = Left + 100;
    return X < 100 ? 0 : 1;
  }
};

// Client area 200 x 180; rows of 18 pixels: a parent with two children (expanded), then two leaves.
struct HitFixture {
  plat::TForm form{nullptr};
  THitTree* tree;
  PLazyNode parent, child, leaf;
  HitFixture() {
    form.SetBounds(0, 0, 400, 400);
    tree = new THitTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 200, 180);
    tree->SetMiscOptions(tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
    parent = tree->AddChild(nullptr);
    child = tree->AddChild(parent);
    tree->AddChild(parent);
    leaf = tree->AddChild(nullptr);
    tree->AddChild(nullptr);
    tree->SetExpanded(parent, true);
    leaf->CheckType = ctCheckBox;
  }
  THitInfo Hit(int x, int y) {
    THitInfo h;
    tree->GetHitTestInfoAt(x, y, true, h);
    return h;
  }
};

TEST(HitTest, RowsAndPartsInTheWindow) {
  HitFixture f;
  const int check = 16;  // the check images' size
  struct Case {
    const char* name;
    int x, y;
    PLazyNode* node;
    const char* want;
  };
  PLazyNode none = nullptr;
  // The leaf is the fourth row (y 54..71), at level 0: indentation 18, content from 22.
  const Case cases[] = {
      {"left of the window", -1, 60, &none, "ToLeft"},
      {"above the window", 10, -1, &none, "Above"},
      {"below the window", 10, 181, &none, "Below"},
      {"below the last row", 10, 100, &none, "Nowhere"},
      {"indent of a leaf", 5, 60, &f.leaf, "Item Indent"},
      {"button of the parent", 5, 5, &f.parent, "Item Button"},
      {"exact button", 15, 5, &f.parent, "Item Button ButtonExact"},
      {"child's indentation", 10, 20, &f.child, "Item Indent"},
      {"leaf's check box", 22, 60, &f.leaf, "Item Checkbox"},
      {"leaf's text", 22 + check + 2, 60, &f.leaf, "Item Label"},
      {"right of the text", 22 + check + 2 + 40, 60, &f.leaf, "Item Right"},
      {"parent has no check box", 22, 5, &f.parent, "Item Label"},
  };
  for (const Case& c : cases) {
    const THitInfo h = f.Hit(c.x, c.y);
    EXPECT_EQ(Names(h.HitPositions), c.want) << c.name;
    EXPECT_EQ(h.HitNode, *c.node) << c.name;
    EXPECT_EQ(h.HitColumn, NoColumn) << c.name;
  }
  f.tree->imageWidth = 16;
  EXPECT_EQ(Names(f.Hit(22 + check + 2, 60).HitPositions), "Item Normal");
}

TEST(HitTest, SplittersColumnsAndScrolling) {
  HitFixture f;
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toNodeHeightResize});
  EXPECT_EQ(Names(f.Hit(150, 19).HitPositions), "Item Right Upper");
  EXPECT_EQ(Names(f.Hit(150, 33).HitPositions), "Item Right Lower");
  EXPECT_EQ(Names(f.Hit(150, 30).HitPositions), "Item Right");
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions - TLTMiscOptions{toNodeHeightResize});

  f.tree->columns = true;
  THitInfo h = f.Hit(150, 60);  // second column: no indentation, the text from Margin
  EXPECT_EQ(h.HitColumn, 1);
  EXPECT_EQ(Names(h.HitPositions), "Item Right");
  EXPECT_EQ(Names(f.Hit(110, 60).HitPositions), "Item Label");
  EXPECT_EQ(Names(f.Hit(5, 60).HitPositions), "Item Indent");
  h = f.Hit(200, 60);
  EXPECT_EQ(h.HitColumn, ColumnNotFound);
  EXPECT_EQ(Names(h.HitPositions), "Nowhere");
  f.tree->columns = false;

  // Scrolled down by one row: client y 0 is the child's row; the hit point is in tree coordinates.
  f.tree->SetRootNodeCount(20);
  f.tree->SetOffsetY(-18);
  h = f.Hit(100, 2);
  EXPECT_EQ(h.HitNode, f.child);
  EXPECT_EQ(h.HitPoint, (plat::TPoint{100, 20}));
  THitInfo raw;
  f.tree->GetHitTestInfoAt(100, 2, false, raw);
  EXPECT_EQ(raw.HitNode, f.parent);
  // The node at a point above the window is the top row.
  EXPECT_EQ(f.tree->GetNodeAt(plat::TPoint{5, -30}), f.child);
  int top = 0;
  EXPECT_EQ(f.tree->GetNodeAt(0, 40, true, top), f.leaf);
  EXPECT_EQ(top, 36);
}

// The node at a vertical position follows every change of rows and heights: after each random change, every
// position answers what a plain walk over the visible rows gives (the positions asked before the change must not
// be answered from what was remembered then).
TEST(HitTest, NodeAtAVerticalPositionFollowsEveryChange) {
  plat::TForm form{nullptr};
  form.SetBounds(0, 0, 400, 400);
  auto* tree = new TBaseLazyTreeControl(&form);
  tree->SetParent(&form);
  tree->SetBounds(0, 0, 200, 180);
  std::mt19937 rng(7);
  std::vector<PLazyNode> nodes;
  for (int i = 0; i < 60; ++i)
    nodes.push_back(tree->AddChild(i == 0 || rng() % 3 == 0 ? nullptr : nodes[rng() % nodes.size()]));
  auto rows = [&](int64_t& bottom) {
    std::vector<std::pair<PLazyNode, int64_t>> list;  // each visible row and its top
    bottom = 0;
    for (PLazyNode n = tree->GetFirstVisibleNoInit(nullptr, true); n; n = tree->GetNextVisibleNoInit(n, true)) {
      list.push_back({n, bottom});
      bottom += n->NodeHeight;
    }
    return list;
  };
  auto askAll = [&](int64_t limit) {
    for (int64_t y = 0; y < limit; y += 5) {
      int top = 0;
      tree->GetNodeAt(0, static_cast<int>(y), false, top);
    }
  };
  const char* names[] = {"toggle", "height", "hide", "delete", "add", "sort"};
  for (int step = 0; step < 300; ++step) {
    int64_t bottom = 0;
    askAll(rows(bottom).size() ? bottom + 20 : 20);
    // The last position asked before the change is the first one checked after it.
    const int probe = bottom > 0 ? static_cast<int>(rng() % bottom) : 0;
    int probeTop = 0;
    tree->GetNodeAt(0, probe, false, probeTop);
    const int op = static_cast<int>(rng() % 6);
    PLazyNode n = nodes[rng() % nodes.size()];
    switch (op) {
      case 0: tree->ToggleNode(n); break;
      case 1: tree->SetNodeHeight(n, 8 + rng() % 30); break;
      case 2: tree->SetVisible(n, !n->Has(vsVisible)); break;
      case 3:
        if (!n->FirstChild && nodes.size() > 5) {
          std::erase(nodes, n);
          tree->DeleteNode(n);
        }
        break;
      case 4: nodes.push_back(tree->AddChild(rng() % 4 ? n : nullptr)); break;
      default:
        tree->OnCompareNodes = [](TBaseLazyTree*, PLazyNode a, PLazyNode b, TColumnIndex, int& r) {
          r = int(b->NodeHeight) - int(a->NodeHeight);
        };
        tree->Sort(n->Parent == tree->RootNode() ? nullptr : n->Parent, NoColumn, sdAscending, false);
        break;
    }
    const auto list = rows(bottom);
    auto expectedAt = [&](int64_t y) -> std::pair<PLazyNode, int64_t> {
      for (const auto& r : list)
        if (y >= r.second && y < r.second + r.first->NodeHeight) return r;
      return {nullptr, -1};
    };
    PLazyNode probed = tree->GetNodeAt(0, probe, false, probeTop);
    ASSERT_EQ(probed, expectedAt(probe).first) << "probe after " << names[op] << " at step " << step;
    if (probed) ASSERT_EQ(probeTop, expectedAt(probe).second) << "probe after " << names[op] << " at step " << step;
    size_t row = 0;
    for (int64_t y = 0; y < bottom + 20; ++y) {
      while (row < list.size() && y >= list[row].second + list[row].first->NodeHeight) ++row;
      int top = -1;
      PLazyNode found = tree->GetNodeAt(0, static_cast<int>(y), false, top);
      if (row < list.size()) {
        ASSERT_EQ(found, list[row].first) << "after " << names[op] << " at step " << step << ", y " << y;
        ASSERT_EQ(top, list[row].second) << "after " << names[op] << " at step " << step << ", y " << y;
      } else {
        ASSERT_EQ(found, nullptr) << "after " << names[op] << " at step " << step << ", y " << y;
      }
    }
  }
}

}  // namespace
}  // namespace lazytree
