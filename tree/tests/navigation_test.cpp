// Walking functions: every order compared with orders computed from the links by plain recursion, and the
// edge cases at the ends of a walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

using NodeList = std::vector<PLazyNode>;

void PreOrder(PLazyNode n, NodeList& out) {
  for (PLazyNode c = n->FirstChild; c; c = c->NextSibling) {
    out.push_back(c);
    PreOrder(c, out);
  }
}

void PostOrder(PLazyNode n, NodeList& out) {
  for (PLazyNode c = n->FirstChild; c; c = c->NextSibling) {
    PostOrder(c, out);
    out.push_back(c);
  }
}

uint32_t Level(const TBaseLazyTree& t, PLazyNode n) {
  uint32_t l = 0;
  while (n->Parent != t.RootNode()) {
    n = n->Parent;
    ++l;
  }
  return l;
}

bool Shown(const TBaseLazyTree& t, PLazyNode n) {
  if (!n->Has(vsVisible)) return false;
  if (n->Has(vsFiltered) && !t.TreeOptions().PaintOptions.Has(toShowFilteredNodes)) return false;
  for (PLazyNode a = n->Parent; a != t.RootNode(); a = a->Parent)
    if (!a->Has(vsExpanded) || !a->Has(vsVisible)) return false;
  return true;
}

NodeList Walk(PLazyNode first, const std::function<PLazyNode(PLazyNode)>& next) {
  NodeList out;
  for (PLazyNode n = first; n; n = next(n)) {
    out.push_back(n);
    if (out.size() > 100000) break;  // a cycle would never end
  }
  return out;
}

// A random tree of about 80 nodes with some expanded, hidden, filtered, selected and checked ones.
void BuildRandom(TBaseLazyTree& t, std::mt19937& rng) {
  NodeList all;
  for (int i = 0; i < 80; ++i) {
    PLazyNode parent = all.empty() || rng() % 5 == 0 ? nullptr : all[rng() % all.size()];
    all.push_back(t.AddChild(parent));
  }
  for (PLazyNode n : all) {
    if (rng() % 10 < 6 && n->ChildCount > 0) t.ToggleNode(n);
    if (rng() % 10 == 0) t.SetVisible(n, false);
    if (rng() % 10 == 0) t.SetFiltered(n, true);
    if (rng() % 8 == 0) t.AddToSelection(n);
    n->CheckState = static_cast<TCheckState>(rng() % 9);
  }
}

class NavigationOrders : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(NavigationOrders, WalksMatchTheOrdersOfTheLinks) {
  const auto [childrenAbove, showFiltered] = GetParam();
  for (unsigned seed = 1; seed <= 25; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TBaseLazyTree t;
    if (childrenAbove) t.TreeOptions().PaintOptions.Include(toChildrenAbove);
    if (showFiltered) t.TreeOptions().PaintOptions.Include(toShowFilteredNodes);
    BuildRandom(t, rng);
    ASSERT_EQ(testing::CheckTree(t), "");

    NodeList pre, order;
    PreOrder(t.RootNode(), pre);
    if (childrenAbove)
      PostOrder(t.RootNode(), order);
    else
      order = pre;
    NodeList backwards(order.rbegin(), order.rend());
    NodeList preBack(pre.rbegin(), pre.rend());

    // Plain walks, in the tree's walking order and always in normal order.
    EXPECT_EQ(Walk(t.GetFirstNoInit(true), [&](PLazyNode n) { return t.GetNextNoInit(n, true); }), order);
    EXPECT_EQ(Walk(t.GetLastNoInit(nullptr, true), [&](PLazyNode n) { return t.GetPreviousNoInit(n, true); }),
              backwards);
    EXPECT_EQ(Walk(t.GetFirst(), [&](PLazyNode n) { return t.GetNext(n); }), pre);
    EXPECT_EQ(Walk(t.GetLast(), [&](PLazyNode n) { return t.GetPrevious(n); }), preBack);
    EXPECT_EQ(Walk(t.GetFirst(true), [&](PLazyNode n) { return t.GetNext(n, true); }), order);
    EXPECT_EQ(Walk(t.GetLast(nullptr, true), [&](PLazyNode n) { return t.GetPrevious(n, true); }), backwards);

    // Visible walks follow display order and skip what is not shown.
    NodeList shown;
    std::copy_if(order.begin(), order.end(), std::back_inserter(shown), [&](PLazyNode n) { return Shown(t, n); });
    NodeList shownBack(shown.rbegin(), shown.rend());
    EXPECT_EQ(shown.size(), t.VisibleCount());
    EXPECT_EQ(Walk(t.GetFirstVisibleNoInit(), [&](PLazyNode n) { return t.GetNextVisibleNoInit(n); }), shown);
    EXPECT_EQ(Walk(t.GetFirstVisible(), [&](PLazyNode n) { return t.GetNextVisible(n); }), shown);
    EXPECT_EQ(Walk(t.GetLastVisibleNoInit(), [&](PLazyNode n) { return t.GetPreviousVisibleNoInit(n); }), shownBack);
    EXPECT_EQ(Walk(t.GetLastVisible(), [&](PLazyNode n) { return t.GetPreviousVisible(n); }), shownBack);
    NodeList viaEnum;
    for (PLazyNode n : t.VisibleNodes()) viaEnum.push_back(n);
    EXPECT_EQ(viaEnum, shown);

    // Filtered walks.
    for (const TCheckState state : {csCheckedNormal, csMixedPressed}) {
      NodeList checked;
      std::copy_if(order.begin(), order.end(), std::back_inserter(checked),
                   [&](PLazyNode n) { return n->CheckState == state; });
      NodeList viaChecked;
      for (PLazyNode n : t.CheckedNodes(state, true)) viaChecked.push_back(n);
      EXPECT_EQ(viaChecked, checked);
      EXPECT_EQ(Walk(t.GetPreviousChecked(nullptr, state, true),
                     [&](PLazyNode n) { return t.GetPreviousChecked(n, state, true); }),
                NodeList(checked.rbegin(), checked.rend()));
    }
    NodeList selected;
    std::copy_if(order.begin(), order.end(), std::back_inserter(selected), [](PLazyNode n) { return n->Has(vsSelected); });
    NodeList viaSelected;
    for (PLazyNode n : t.SelectedNodes(true)) viaSelected.push_back(n);
    EXPECT_EQ(viaSelected, selected);
    EXPECT_EQ(Walk(t.GetPreviousSelected(nullptr, true), [&](PLazyNode n) { return t.GetPreviousSelected(n, true); }),
              NodeList(selected.rbegin(), selected.rend()));
    NodeList leaves;
    std::copy_if(pre.begin(), pre.end(), std::back_inserter(leaves), [](PLazyNode n) { return !n->Has(vsHasChildren); });
    NodeList viaLeaves;
    for (PLazyNode n : t.LeafNodes()) viaLeaves.push_back(n);
    EXPECT_EQ(viaLeaves, leaves);
    EXPECT_EQ(Walk(t.GetPreviousLeaf(nullptr), [&](PLazyNode n) { return t.GetPreviousLeaf(n); }),
              NodeList(leaves.rbegin(), leaves.rend()));

    // Levels: from every node, the nearest node of each level after and before it in normal order.
    for (uint32_t level = 0; level < 4; ++level) {
      NodeList atLevel;
      std::copy_if(pre.begin(), pre.end(), std::back_inserter(atLevel), [&](PLazyNode n) { return Level(t, n) == level; });
      for (std::size_t i = 0; i < pre.size(); ++i) {
        PLazyNode after = nullptr;
        PLazyNode before = nullptr;
        for (std::size_t j = i + 1; j < pre.size() && !after; ++j)
          if (Level(t, pre[j]) == level) after = pre[j];
        for (std::size_t j = i; j-- > 0 && !before;)
          if (Level(t, pre[j]) == level) before = pre[j];
        ASSERT_EQ(t.GetNextLevel(pre[i], level), after) << "node " << i << " level " << level;
        ASSERT_EQ(t.GetPreviousLevel(pre[i], level), before) << "node " << i << " level " << level;
      }
    }

    // Positions, ancestry and display order.
    for (std::size_t i = 0; i < pre.size(); i += 7) {
      EXPECT_EQ(t.AbsoluteIndex(pre[i]), i);
      for (std::size_t j = 0; j < pre.size(); j += 5) {
        const int c = t.CompareDisplayOrder(pre[i], pre[j], true);
        const auto pos = [&](PLazyNode n) { return std::find(order.begin(), order.end(), n) - order.begin(); };
        EXPECT_EQ(c < 0, pos(pre[i]) < pos(pre[j])) << i << " " << j;
        EXPECT_EQ(c == 0, i == j);
      }
    }

    // A subtree iteration visits the subtree in normal order, once each.
    for (std::size_t i = 0; i < pre.size(); i += 9) {
      NodeList sub{pre[i]};
      PreOrder(pre[i], sub);
      NodeList visited;
      t.IterateSubtree(pre[i], [&](TBaseLazyTree*, PLazyNode n, void*, bool&) { visited.push_back(n); }, nullptr);
      EXPECT_EQ(visited, sub);
      visited.clear();
      t.IterateSubtree(pre[i], [&](TBaseLazyTree*, PLazyNode n, void*, bool&) { visited.push_back(n); }, nullptr, {},
                       false, true);
      EXPECT_EQ(visited, NodeList(sub.begin() + 1, sub.end()));
    }
    EXPECT_EQ(testing::CheckTree(t), "");
  }
}

INSTANTIATE_TEST_SUITE_P(AllOrders, NavigationOrders,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

TEST(Navigation, EndsOfTheWalks) {
  TBaseLazyTree t;
  EXPECT_EQ(t.GetFirst(), nullptr);
  EXPECT_EQ(t.GetLast(), nullptr);
  EXPECT_EQ(t.GetFirstVisible(), nullptr);
  EXPECT_EQ(t.GetLastVisible(), nullptr);
  EXPECT_EQ(t.GetFirstLeaf(), nullptr);
  EXPECT_EQ(t.GetFirstLevel(0), nullptr);
  EXPECT_EQ(t.GetNext(nullptr), nullptr);
  EXPECT_EQ(t.GetPrevious(nullptr), nullptr);
  EXPECT_EQ(t.GetNextVisible(nullptr), nullptr);
  EXPECT_EQ(t.GetNextSibling(nullptr), nullptr);
  EXPECT_EQ(t.AbsoluteIndex(nullptr), 0u);
  int steps = 0;
  for (PLazyNode n : t.Nodes()) steps += n != nullptr;
  EXPECT_EQ(steps, 0);

  PLazyNode a = t.AddChild(nullptr);
  PLazyNode b = t.AddChild(nullptr);
  PLazyNode b1 = t.AddChild(b);
  EXPECT_EQ(t.GetNext(b1), nullptr);
  EXPECT_EQ(t.GetPrevious(a), nullptr);
  EXPECT_EQ(t.GetNextVisible(b), nullptr) << "b is collapsed";
  EXPECT_EQ(t.GetPreviousVisible(a), nullptr);
  EXPECT_EQ(t.GetFirstChild(a), nullptr);
  EXPECT_EQ(t.GetLastChild(nullptr), b);
  EXPECT_EQ(t.GetLast(), b1);
  EXPECT_EQ(t.GetLastVisible(), b);
  EXPECT_EQ(t.GetNodeLevel(b1), 1u);
  EXPECT_EQ(t.GetNodeParent(b1), b);
  EXPECT_EQ(t.GetNodeParent(b), nullptr);
  EXPECT_EQ(t.GetNodeLevel(t.RootNode()), 0u);
  EXPECT_EQ(t.AbsoluteIndex(b1), a->TotalCount + 1);
  EXPECT_TRUE(t.HasAsParent(b1, t.RootNode()));
  EXPECT_TRUE(t.HasAsParent(b1, b));
  EXPECT_FALSE(t.HasAsParent(b1, b1));
  EXPECT_FALSE(t.HasAsParent(nullptr, b));
  EXPECT_EQ(TBaseLazyTree::TreeOfNode(b1), &t);
  EXPECT_EQ(t.LevelDifference(a, b1), 1);

  PLazyNode c = t.AddChild(nullptr);
  EXPECT_EQ(t.CompareDisplayOrder(a, c), -2);
  EXPECT_EQ(t.CompareDisplayOrder(b1, b), 1) << "a child comes after its parent";

  // A finished enumeration stays finished.
  auto children = t.ChildNodes(a);
  TLTLazyNodeEnumerator e = children.GetEnumerator();
  EXPECT_FALSE(e.MoveNext());
  EXPECT_FALSE(e.MoveNext());
  auto all = t.Nodes();
  TLTLazyNodeEnumerator f = all.GetEnumerator();
  int count = 0;
  while (f.MoveNext()) ++count;
  EXPECT_EQ(count, 4);
  EXPECT_FALSE(f.MoveNext());
  EXPECT_EQ(f.Current(), nullptr);

  for (const auto& [name, call] : std::vector<std::pair<const char*, std::function<void()>>>{
           {"GetNextVisibleSibling(nil)", [&] { t.GetNextVisibleSibling(nullptr); }},
           {"GetNext(root)", [&] { t.GetNext(t.RootNode()); }},
           {"GetPreviousNoInit(root)", [&] { t.GetPreviousNoInit(t.RootNode()); }},
           {"GetNextVisible(root)", [&] { t.GetNextVisible(t.RootNode()); }},
           {"GetNextSibling(root)", [&] { t.GetNextSibling(t.RootNode()); }},
           {"GetVisibleParent(root)", [&] { t.GetVisibleParent(t.RootNode()); }},
           {"IterateSubtree(root)", [&] { t.IterateSubtree(t.RootNode(), nullptr, nullptr); }},
           {"CompareDisplayOrder(nil)", [&] { t.CompareDisplayOrder(nullptr, a); }},
           {"LevelDifference(nil)", [&] { t.LevelDifference(a, nullptr); }},
       })
    EXPECT_THROW(call(), ELazyTreeAssertion) << name;
}

TEST(Navigation, ChildrenAboveOrderStartsAtTheDeepestFirstNode) {
  TBaseLazyTree t;
  t.TreeOptions().PaintOptions.Include(toChildrenAbove);
  PLazyNode a = t.AddChild(nullptr);
  PLazyNode b = t.AddChild(a);
  PLazyNode c = t.AddChild(b);
  EXPECT_EQ(Walk(t.GetFirst(true), [&](PLazyNode n) { return t.GetNext(n, true); }), (NodeList{c, b, a}));
  EXPECT_EQ(Walk(t.GetFirst(false), [&](PLazyNode n) { return t.GetNext(n, false); }), (NodeList{a, b, c}));
  EXPECT_EQ(t.GetFirstLevel(1), b);
  EXPECT_EQ(t.CompareDisplayOrder(c, a, true), -1);
  EXPECT_EQ(t.CompareDisplayOrder(c, a, false), 1);
}

TEST(Navigation, FilteredSearchesAndLazyChildren) {
  TBaseLazyTree t;
  int inits = 0;
  t.OnInitNode = [&](TBaseLazyTree*, PLazyNode, PLazyNode, TLazyNodeInitStates& s) {
    ++inits;
    s.Include(ivsHasChildren);
  };
  t.OnInitChildren = [](TBaseLazyTree* tree, PLazyNode n, uint32_t& count) {
    count = tree->GetNodeLevel(n) < 2 ? 2 : 0;
  };
  t.SetRootNodeCount(2);
  EXPECT_EQ(t.GetFirstSelected(), nullptr);
  EXPECT_EQ(inits, 0) << "nothing selected: no walk at all";
  EXPECT_EQ(Walk(t.GetFirstNoInit(), [&](PLazyNode n) { return t.GetNextNoInit(n); }).size(), 2u)
      << "a walk without initialisation creates no children";
  EXPECT_EQ(inits, 0);
  EXPECT_EQ(Walk(t.GetFirst(), [&](PLazyNode n) { return t.GetNext(n); }).size(), 14u);
  EXPECT_EQ(t.TotalCount(), 14u);

  PLazyNode lastTop = t.GetLastChildNoInit(nullptr);
  PLazyNode deepLast = t.GetLastNoInit();
  EXPECT_EQ(deepLast->Parent->Parent, lastTop);
  t.AddToSelection(deepLast);
  EXPECT_EQ(t.GetPreviousSelected(nullptr), deepLast);
  EXPECT_EQ(t.GetFirstSelected(), deepLast);

  PLazyNode first = t.GetFirstNoInit();
  for (auto [state, expectFound] : {std::pair{csCheckedPressed, false}, std::pair{csCheckedDisabled, false},
                                    std::pair{csCheckedNormal, true}}) {
    first->CheckState = state;
    EXPECT_EQ(t.GetFirstChecked(csCheckedNormal) == first, expectFound) << int(state);
  }

  int visited = 0;
  EXPECT_EQ(t.IterateSubtree(nullptr, [&](TBaseLazyTree*, PLazyNode, void*, bool&) { ++visited; }, nullptr), nullptr);
  EXPECT_EQ(visited, 14);
  visited = 0;
  t.IterateSubtree(nullptr, [&](TBaseLazyTree*, PLazyNode, void*, bool&) { ++visited; }, nullptr, {vsSelected});
  EXPECT_EQ(visited, 1);
  PLazyNode third = t.GetNext(t.GetNext(first));
  EXPECT_EQ(t.IterateSubtree(nullptr, [&](TBaseLazyTree*, PLazyNode n, void*, bool& abort) { abort = n == third; },
                             nullptr),
            third);
  EXPECT_FALSE(t.TreeStates().Has(tsIterating));
}

TEST(Navigation, RangesAreSelectedInDisplayOrderWhicheverEndComesFirst) {
  TBaseLazyTree t;
  t.SetRootNodeCount(6);
  NodeList top;
  for (PLazyNode n = t.GetFirstNoInit(); n; n = n->NextSibling) top.push_back(n);
  t.SetChildCount(top[1], 2);  // collapsed: its children are not in the range
  t.SetVisible(top[3], false);
  std::vector<PLazyNode> changes;
  t.OnChange = [&](TBaseLazyTree*, PLazyNode n) { changes.push_back(n); };
  t.AddToSelection(top[5]);
  t.AddRangeToSelection(top[4], top[0], false);
  NodeList selected;
  for (PLazyNode n : t.SelectedNodes()) selected.push_back(n);
  EXPECT_EQ(selected, (NodeList{top[0], top[1], top[2], top[4]}));
  EXPECT_EQ(changes, (NodeList{top[5], nullptr}));
  t.AddRangeToSelection(top[5], top[5], true);
  EXPECT_EQ(t.SelectedCount(), 5u);
  EXPECT_EQ(testing::CheckTree(t), "");
  EXPECT_THROW(t.AddRangeToSelection(top[0], nullptr, true), ELazyTreeAssertion);
  EXPECT_THROW(t.AddToSelection(static_cast<PLazyNode>(nullptr)), ELazyTreeAssertion);
}

TEST(Navigation, LineImages) {
  struct Case {
    const char* name;
    bool showRoot;
    int node;  // index in normal order
    std::vector<TLTLineType> expected;
  };
  // a(a1, a2(a21)), b
  const std::vector<Case> cases = {
      {"first of several top-level nodes", true, 0, {ltBottomRight}},
      {"inner child with a later sibling", true, 1, {ltTopDown, ltTopDownRight}},
      {"last child", true, 2, {ltTopDown, ltTopRight}},
      {"grandchild below a last child", true, 3, {ltTopDown, ltNone, ltTopRight}},
      {"last top-level node", true, 4, {ltTopRight}},
      {"without the root level", false, 3, {ltNone, ltTopRight}},
      {"top-level node without the root level", false, 0, {}},
  };
  for (const Case& c : cases) {
    TBaseLazyTree t;
    if (!c.showRoot) t.TreeOptions().PaintOptions.Exclude(toShowRoot);
    PLazyNode a = t.AddChild(nullptr);
    t.AddChild(a);
    PLazyNode a2 = t.AddChild(a);
    t.AddChild(a2);
    t.AddChild(nullptr);
    NodeList pre;
    PreOrder(t.RootNode(), pre);
    std::vector<TLTLineType> image;
    t.ComputeLineImage(pre[static_cast<std::size_t>(c.node)], image);
    EXPECT_EQ(image, c.expected) << c.name;
  }
}

}  // namespace
}  // namespace lazytree
