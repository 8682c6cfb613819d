#pragma once
// The trees of the Scan & Decode window: string trees whose nodes carry a caption (TMyRec) and, at levels 0
// and 1, a check box. The tree asks the window for a node's caption when it first needs the node, and tells it
// when the user ticks or unticks a box. A node's normal and selected image is its level (0, 1 or 2) in the
// tree's image list (the window gives both trees IL_Tree1). Painting, clicks, selection and wheel panning are
// the string tree's.

#include <QString>

#include <functional>

#include "tree/stringtree.h"

// Node data of both trees.
struct TMyRec {
  QString Caption;
  bool Check;
};

class TScan_Tree : public lazytree::TLazyStringTree {
 public:
  explicit TScan_Tree(plat::TComponent* AOwner);

  // Adds a node under Parent (none: the top level); with Checked it gets a check box, ticked, at once, so that
  // a node never shown still counts as checked.
  lazytree::PLazyNode Add(lazytree::PLazyNode Parent, bool Checked);
  QString Caption(lazytree::PLazyNode Node);
  // Sets a check box as a click does (asking OnChecking), and reports it through OnChecked.
  void Click_Check(lazytree::PLazyNode Node);

  std::function<void(TScan_Tree* Sender, lazytree::PLazyNode Node, TMyRec& Data)> OnCaption;
  // The window's check notice (the tree's own OnChecked forwards to it).
  std::function<void(TScan_Tree* Sender, lazytree::PLazyNode Node)> OnChecked;
};
