// Sorting siblings by the comparison event: stability in both directions, cancelling, the whole-tree sort with
// and without automatic sorting, and the ordering of node arrays by address.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

// Each node holds a key; the handler compares keys and counts its calls.
class KeyedTree : public TBaseLazyTree {
 public:
  int comparisons = 0, invalidates = 0;
  std::vector<TLTOperationKind> started;
  TColumnIndex sortColumn = -2;

  KeyedTree() {
    SetNodeDataType<int>();
    OnCompareNodes = [this](TBaseLazyTree*, PLazyNode a, PLazyNode b, TColumnIndex, int& r) {
      ++comparisons;
      r = Key(a) - Key(b);
    };
    OnStartOperation = [this](TBaseLazyTree*, TLTOperationKind k) { started.push_back(k); };
  }
  int& Key(PLazyNode n) { return *GetNodeData<int>(n); }
  PLazyNode Add(PLazyNode parent, int key) {
    PLazyNode n = AddChild(parent);
    Key(n) = key;
    return n;
  }
  std::vector<int> Keys(PLazyNode parent) {
    std::vector<int> keys;
    for (PLazyNode c = GetFirstChildNoInit(parent); c; c = c->NextSibling) keys.push_back(Key(c));
    return keys;
  }
  using TBaseLazyTree::SortNodeArray;

 protected:
  void Invalidate() override { ++invalidates; }
  TColumnIndex SortColumn() const override { return sortColumn; }
};

TEST(Sort, WithoutHandlerKeepsTheOrder) {
  KeyedTree tree;
  for (int k : {3, 1, 2}) tree.Add(nullptr, k);
  tree.OnCompareNodes = nullptr;
  tree.Sort(nullptr, NoColumn, sdAscending);
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{3, 1, 2}));
  tree.Sort(nullptr, NoColumn, sdDescending);
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(testing::CheckTree(tree), "");
}

TEST(Sort, EqualNodesKeepTheirOrderInBothDirections) {
  KeyedTree tree;
  PLazyNode a = tree.Add(nullptr, 1), b = tree.Add(nullptr, 2), c = tree.Add(nullptr, 1);
  tree.Sort(nullptr, NoColumn, sdAscending);
  EXPECT_EQ(tree.GetFirstNoInit(), a);
  EXPECT_EQ(a->NextSibling, c);
  EXPECT_EQ(c->NextSibling, b);
  tree.Sort(nullptr, NoColumn, sdDescending);
  EXPECT_EQ(tree.GetFirstNoInit(), b);
  EXPECT_EQ(b->NextSibling, a);
  EXPECT_EQ(a->NextSibling, c);
  EXPECT_EQ(testing::CheckTree(tree), "");
}

TEST(Sort, MatchesStableSortOverRandomKeys) {
  for (uint32_t count : {2u, 3u, 7u, 64u, 1000u, 4097u}) {
    std::mt19937 rng(count);
    KeyedTree tree;
    PLazyNode parent = tree.AddChild(nullptr);
    std::vector<std::pair<int, PLazyNode>> want;
    for (uint32_t i = 0; i < count; ++i) {
      PLazyNode n = tree.Add(parent, static_cast<int>(rng() % (count / 2 + 1)));
      want.emplace_back(tree.Key(n), n);
    }
    for (TSortDirection dir : {sdAscending, sdDescending}) {
      std::vector<std::pair<int, PLazyNode>> expect = want;
      std::stable_sort(expect.begin(), expect.end(), [&](const auto& x, const auto& y) {
        return dir == sdAscending ? x.first < y.first : x.first > y.first;
      });
      // Sort from the original order each time, so equal keys keep their insertion order.
      tree.Sort(parent, 0, dir);
      std::vector<PLazyNode> got;
      for (PLazyNode c = parent->FirstChild; c; c = c->NextSibling) got.push_back(c);
      ASSERT_EQ(got.size(), count);
      if (dir == sdAscending)
        for (uint32_t i = 0; i < count; ++i) ASSERT_EQ(got[i], expect[i].second) << count << " at " << i;
      else
        for (uint32_t i = 0; i < count; ++i) ASSERT_EQ(tree.Key(got[i]), expect[i].first) << count << " at " << i;
      EXPECT_EQ(testing::CheckTree(tree), "");
      EXPECT_EQ(parent->LastChild(), got.back());
    }
  }
}

TEST(Sort, CancelledSortKeepsTheRemainingOrder) {
  KeyedTree tree;
  for (int k : {5, 4, 3, 2, 1}) tree.Add(nullptr, k);
  tree.OnCompareNodes = [&](TBaseLazyTree* t, PLazyNode, PLazyNode, TColumnIndex, int& r) {
    ++tree.comparisons;
    t->CancelOperation();
    r = 1;  // would move the second node first
  };
  tree.Sort(nullptr, NoColumn, sdAscending);
  EXPECT_EQ(tree.comparisons, 1);
  // The first merge took its second node; everything after kept its relative order.
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{4, 5, 3, 2, 1}));
  EXPECT_EQ(testing::CheckTree(tree), "");
  EXPECT_EQ(tree.OperationCount(), 0u);
}

TEST(Sort, NothingToSortStartsNoOperation) {
  KeyedTree tree;
  PLazyNode lone = tree.Add(nullptr, 1);
  PLazyNode child = tree.Add(lone, 2);
  tree.Sort(lone, NoColumn, sdAscending);
  tree.Sort(child, NoColumn, sdAscending);  // no children at all
  tree.Sort(nullptr, NoColumn, sdAscending);
  EXPECT_TRUE(tree.started.empty());
  EXPECT_EQ(tree.comparisons, 0);
}

TEST(SortTree, SortsEveryLevelOrNothing) {
  KeyedTree tree;
  tree.TreeOptions().AutoOptions = {};
  PLazyNode p = tree.Add(nullptr, 2);
  tree.Add(nullptr, 1);
  for (int k : {9, 7, 8}) tree.Add(p, k);
  tree.invalidates = 0;
  tree.SortTree(-2, sdAscending);
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{2, 1}));
  EXPECT_EQ(tree.invalidates, 1);  // still repainted
  tree.SortTree(NoColumn, sdAscending);
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{1, 2}));
  EXPECT_EQ(tree.Keys(p), (std::vector<int>{7, 8, 9}));
  EXPECT_EQ(tree.started.front(), okSortTree);
  EXPECT_EQ(testing::CheckTree(tree), "");
  // With automatic sorting a collapsed node's children wait until it is opened.
  tree.TreeOptions().AutoOptions = {};
  for (int k : {6, 5}) tree.Add(p, k);
  tree.TreeOptions().AutoOptions = {toAutoSort};
  tree.SortTree(NoColumn, sdAscending);
  EXPECT_EQ(tree.Keys(p), (std::vector<int>{7, 8, 9, 6, 5}));
  tree.TreeOptions().AutoOptions = {};
  tree.SortTree(NoColumn, sdAscending);
  EXPECT_EQ(tree.Keys(p), (std::vector<int>{5, 6, 7, 8, 9}));
}

TEST(SortTree, DeepChainNeedsNoDeepStack) {
  KeyedTree tree;
  tree.TreeOptions().AutoOptions = {};
  PLazyNode n = nullptr;
  for (int i = 0; i < 5000; ++i) {
    PLazyNode parent = n;
    n = tree.Add(parent, 2);
    tree.Add(parent, 1);
  }
  tree.SortTree(NoColumn, sdAscending);
  EXPECT_EQ(tree.Key(tree.GetFirstNoInit()), 1);
  EXPECT_EQ(tree.Key(tree.GetFirstNoInit()->NextSibling), 2);
  EXPECT_EQ(tree.Key(n->Parent->FirstChild), 1);
}

TEST(SortTree, AutoSortSortsOnceAtTheEndOfAnUpdate) {
  KeyedTree tree;
  tree.sortColumn = NoColumn;
  tree.TreeOptions().AutoOptions = {toAutoSort};
  tree.BeginUpdate();
  for (int k : {3, 1, 2}) tree.Add(nullptr, k);
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{3, 1, 2}));
  tree.EndUpdate();
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(std::count(tree.started.begin(), tree.started.end(), okSortTree), 1);
  // Outside a bracket each addition sorts its siblings.
  tree.Add(nullptr, 0);
  EXPECT_EQ(tree.Keys(nullptr), (std::vector<int>{0, 1, 2, 3}));
}

TEST(SortNodeArray, OrdersByAddress) {
  std::mt19937 rng(7);
  std::vector<TLazyNode> blocks(300);
  std::vector<PLazyNode> a;
  for (int i = 0; i < 1000; ++i) a.push_back(&blocks[rng() % blocks.size()]);
  std::vector<PLazyNode> want = a;
  std::sort(want.begin(), want.end());
  KeyedTree::SortNodeArray(a.data(), 0, static_cast<int>(a.size()) - 1);
  EXPECT_EQ(a, want);
  // Only the given slots move.
  std::vector<PLazyNode> part = {&blocks[5], &blocks[3], &blocks[2], &blocks[1], &blocks[0]};
  KeyedTree::SortNodeArray(part.data(), 1, 3);
  EXPECT_EQ(part, (std::vector<PLazyNode>{&blocks[5], &blocks[1], &blocks[2], &blocks[3], &blocks[0]}));
}

}  // namespace
}  // namespace lazytree
