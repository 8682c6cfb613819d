// The window's side of the incremental search (TTreeSearch): its settings, keys and timer, how a node is
// compared (the handler, or the string tree's text), and what a match or a miss does.
#include "platform/forms/beep.h"
#include "tree/stringtree.h"
#include "tree/treecontrol.h"
#include "tree/treesearchhost.h"

namespace lazytree {

int TBaseLazyTreeControl::DoIncrementalSearch(PLazyNode Node, const QString& Text) {
  int result = 0;
  if (OnIncrementalSearch) OnIncrementalSearch(this, Node, Text, result);
  return result;
}

// Without a handler the string tree compares: a node matches when its text in the focused column starts with
// the search text (case-sensitive).
int TCustomLazyStringTree::DoIncrementalSearch(PLazyNode Node, const QString& Text) {
  if (OnIncrementalSearch) return TBaseLazyTreeControl::DoIncrementalSearch(Node, Text);
  return GetText(Node, FocusedColumn()).startsWith(Text) ? 0 : 1;
}

void TBaseLazyTreeControl::EndIncrementalSearch() { FSearch->End(); }
void TBaseLazyTreeControl::HandleSearchKey(char16_t C) { FSearch->Key(C); }
const QString& TBaseLazyTreeControl::SearchBuffer() const { return FSearch->Buffer(); }
PLazyNode TBaseLazyTreeControl::LastSearchNode() const { return FSearch->LastHit(); }
TLTIncrementalSearch TBaseLazyTreeControl::IncrementalSearch() const { return FSearch->Mode(); }
TLTSearchDirection TBaseLazyTreeControl::IncrementalSearchDirection() const { return FSearch->Direction(); }
void TBaseLazyTreeControl::SetIncrementalSearchDirection(TLTSearchDirection Value) { FSearch->SetDirection(Value); }
TLTSearchStart TBaseLazyTreeControl::IncrementalSearchStart() const { return FSearch->Start(); }
void TBaseLazyTreeControl::SetIncrementalSearchStart(TLTSearchStart Value) { FSearch->SetStart(Value); }
uint32_t TBaseLazyTreeControl::IncrementalSearchTimeout() const { return FSearch->Timeout(); }
void TBaseLazyTreeControl::SetIncrementalSearchTimeout(uint32_t Value) { FSearch->SetTimeout(Value); }

// A match becomes the one selected, focused node.
void TBaseLazyTreeControl::TSearchHostAdapter::Found(PLazyNode Node) {
  T.ClearSelection();
  T.SetFocusedNode(Node);
  T.AddToSelection(Node);
}

void TBaseLazyTreeControl::TSearchHostAdapter::Miss() { plat::MessageBeep(0); }

}  // namespace lazytree
