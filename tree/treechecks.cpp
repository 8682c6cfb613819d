// The window's part of check controls: the accessibility notice after a state change, and the busy cursor
// while every node's state is set.

#include "platform/forms/forms.h"
#include "tree/treeaccessibility.h"
#include "tree/treecontrol.h"

namespace lazytree {

void TBaseLazyTreeControl::DoChecked(PLazyNode Node) {
  TBaseLazyTree::DoChecked(Node);
  FAccessibility->NotifyStateChange(Node);
}

void TBaseLazyTreeControl::BeginLongWork() {
  if (plat::Screen) plat::Screen->SetCursor(plat::crHourGlass);
}

void TBaseLazyTreeControl::EndLongWork() {
  if (plat::Screen) plat::Screen->SetCursor(plat::crDefault);
}

}  // namespace lazytree
