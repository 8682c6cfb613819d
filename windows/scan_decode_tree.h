#pragma once
// The trees of the Scan & Decode window: a lazy tree whose nodes carry a caption (TMyRec) and, at levels 0 and
// 1, a check box. The tree asks the window for a node's caption when it first needs the node, and tells it
// when the user ticks or unticks a box.
//
// Until the tree's own painting and input are in place this control draws its visible lines itself (the
// expand button, the check box and the caption, indented by level) and takes clicks on the button and the box.

#include <QString>

#include <functional>

#include "tree/treecontrol.h"

// Node data of both trees.
struct TMyRec {
  QString Caption;
  bool Check;
};

class TScan_Tree : public lazytree::TBaseLazyTreeControl {
 public:
  explicit TScan_Tree(plat::TComponent* AOwner);

  // Adds a node under Parent (none: the top level); with Checked it gets a check box, ticked, at once, so that
  // a node never shown still counts as checked.
  lazytree::PLazyNode Add(lazytree::PLazyNode Parent, bool Checked);
  QString Caption(lazytree::PLazyNode Node);
  // Sets a check box as a click does, and reports it through OnChecked.
  void Click_Check(lazytree::PLazyNode Node);

  std::function<void(TScan_Tree* Sender, lazytree::PLazyNode Node, TMyRec& Data)> OnCaption;
  std::function<void(TScan_Tree* Sender, lazytree::PLazyNode Node)> OnChecked;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  static constexpr int Indent = 18;
  lazytree::PLazyNode Line_At(int Y, int& Line_Top);
};
