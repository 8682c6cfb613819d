#pragma once
// Structure checker for tests: every link, index, count, height and tree-wide counter must agree with what
// the nodes hold. Returns an empty string when the tree is consistent, else the first problem found.

#include <string>

#include "tree/lazytree.h"
#include "tree/positioncache.h"

namespace lazytree::testing {

inline std::string CheckTree(const TBaseLazyTree& tree) {
  const PLazyNode root = tree.RootNode();
  if (root->Parent != nullptr || root->PrevSibling() != root || root->NextSibling != root)
    return "root links changed";
  const bool showFiltered = tree.TreeOptions().PaintOptions.Has(toShowFilteredNodes);
  auto effFiltered = [&](PLazyNode n) { return n->Has(vsFiltered) && !showFiltered; };
  uint32_t visible = 0;
  uint32_t selected = 0;
  std::string err;
  // Post-order over explicit links; totals of a node are checked once all its children are done.
  struct Frame {
    PLazyNode node;
    bool countsVisible;  // the node's rows are counted (fully visible chain down to it)
  };
  auto checkNode = [&](PLazyNode n) -> std::string {
    uint32_t count = 0;
    uint64_t total = 1;
    uint64_t height = (n != root && effFiltered(n)) ? 0 : n->NodeHeight;
    PLazyNode prev = nullptr;
    for (PLazyNode c = n->FirstChild; c; c = c->NextSibling) {
      if (c->Parent != n) return "child with a wrong parent";
      if (c->PrevSibling() != prev) return "broken PrevSibling";
      if (c->Index != count) return "wrong Index " + std::to_string(c->Index) + " at " + std::to_string(count);
      ++count;
      total += c->TotalCount;
      if (n->Has(vsExpanded) && c->Has(vsVisible)) height += c->TotalHeight;
      prev = c;
    }
    if (n->LastChild() != prev) return "wrong LastChild";
    if ((n->FirstChild == nullptr) != (count == 0)) return "wrong FirstChild";
    if (n->ChildCount != count) return "ChildCount " + std::to_string(n->ChildCount) + " for " + std::to_string(count);
    if (count > 0 && !n->Has(vsHasChildren)) return "children without vsHasChildren";
    if (n->TotalCount != total) return "TotalCount " + std::to_string(n->TotalCount) + " for " + std::to_string(total);
    if (n->TotalHeight != height)
      return "TotalHeight " + std::to_string(n->TotalHeight) + " for " + std::to_string(height);
    if (n->Has(vsDeleting) || n->Has(vsInitializing) || n->Has(vsToggling)) return "transient state left";
    return {};
  };
  std::vector<Frame> stack{{root, true}};
  while (!stack.empty()) {
    Frame f = stack.back();
    stack.pop_back();
    if (!(err = checkNode(f.node)).empty()) return err;
    if (f.node != root) {
      if (f.node->Has(vsSelected)) ++selected;
    }
    const bool childrenCount = f.countsVisible && f.node->Has(vsExpanded) && (f.node == root || f.node->Has(vsVisible));
    for (PLazyNode c = f.node->FirstChild; c; c = c->NextSibling) {
      if (childrenCount && c->Has(vsVisible) && !effFiltered(c)) ++visible;
      stack.push_back({c, childrenCount});
    }
  }
  if (visible != tree.VisibleCount())
    return "VisibleCount " + std::to_string(tree.VisibleCount()) + " for " + std::to_string(visible);
  if (selected != tree.SelectedCount())
    return "SelectedCount " + std::to_string(tree.SelectedCount()) + " for " + std::to_string(selected);
  return {};
}

// The shown rows: walking the visible nodes gives VisibleCount rows whose heights add up to the root's total
// height without its own row.
inline std::string CheckRows(const TBaseLazyTree& tree) {
  uint32_t rows = 0;
  uint64_t height = 0;
  for (PLazyNode n = tree.GetFirstVisibleNoInit(nullptr, true); n; n = tree.GetNextVisibleNoInit(n, true)) {
    ++rows;
    height += n->NodeHeight;
  }
  if (rows != tree.VisibleCount())
    return "walked " + std::to_string(rows) + " rows for VisibleCount " + std::to_string(tree.VisibleCount());
  const uint64_t total = tree.RootNode()->TotalHeight - tree.RootNode()->NodeHeight;
  if (height != total) return "rows are " + std::to_string(height) + " high for a total of " + std::to_string(total);
  return {};
}

// Entry k of a cache the tree may use holds the (2000 k)-th visible row and its absolute top.
inline std::string CheckCacheEntries(const TBaseLazyTree& tree, const TCache& cache) {
  if (!tree.TreeStates().Has(tsUseCache)) return {};
  std::size_t k = 0;
  uint32_t row = 0;
  uint64_t top = 0;
  for (PLazyNode n = tree.GetFirstVisibleNoInit(nullptr, true); n; n = tree.GetNextVisibleNoInit(n, true), ++row) {
    if (row % CacheThreshold == 0) {
      if (k >= cache.size()) return "no cache entry for row " + std::to_string(row);
      if (cache[k].Node != n || cache[k].AbsoluteTop != top)
        return "cache entry " + std::to_string(k) + " does not hold row " + std::to_string(row);
      ++k;
    }
    top += n->NodeHeight;
  }
  if (k != cache.size()) return std::to_string(cache.size()) + " cache entries for " + std::to_string(k);
  return {};
}

}  // namespace lazytree::testing
