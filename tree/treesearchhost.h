#pragma once
// How the tree window answers its incremental search: a thin adapter over the window's members (private to the
// window's own sources).

#include "tree/treecontrol.h"
#include "tree/treesearch.h"

namespace lazytree {

class TBaseLazyTreeControl::TSearchHostAdapter final : public TTreeSearchHost {
 public:
  explicit TSearchHostAdapter(TBaseLazyTreeControl& Tree) : T(Tree) {}
  TBaseLazyTree& Store() override { return T; }
  PLazyNode FocusedNode() const override { return T.FFocusedNode; }
  int Compare(PLazyNode Node, const QString& Text) override { return T.DoIncrementalSearch(Node, Text); }
  void Found(PLazyNode Node) override;
  void Miss() override;
  void StartSearchTimer(uint32_t Milliseconds) override { T.StartTimer(SearchTimer, Milliseconds); }
  void StopSearchTimer() override { T.StopTimer(SearchTimer); }

 private:
  TBaseLazyTreeControl& T;
};

}  // namespace lazytree
