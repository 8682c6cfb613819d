#include "tree/treeaccessibility.h"

#include <QAccessible>
#include <QWidget>

#include <algorithm>

#include "tree/treecontrol.h"

namespace lazytree {

TLTAccessibilityFactory& TLTAccessibilityFactory::GetAccessibilityFactory() {
  static TLTAccessibilityFactory factory;
  return factory;
}

void TLTAccessibilityFactory::RegisterAccessibleProvider(ILTAccessibleProvider* Item) {
  if (Item && std::find(FAccessibleProviders.begin(), FAccessibleProviders.end(), Item) == FAccessibleProviders.end())
    FAccessibleProviders.push_back(Item);
}

void TLTAccessibilityFactory::UnRegisterAccessibleProvider(ILTAccessibleProvider* Item) {
  FAccessibleProviders.erase(std::remove(FAccessibleProviders.begin(), FAccessibleProviders.end(), Item),
                             FAccessibleProviders.end());
}

QAccessibleInterface* TLTAccessibilityFactory::CreateIAccessible(TBaseLazyTreeControl* ATree) {
  if (!ATree || FAccessibleProviders.empty()) return nullptr;
  TTreeAccessibility& a = ATree->Accessibility();
  if (!a.Accessible()) return FAccessibleProviders[0]->CreateIAccessible(ATree);
  if (a.AccessibleItem()) return a.AccessibleItem();
  for (std::size_t i = FAccessibleProviders.size() - 1; i >= 1; --i)
    if (QAccessibleInterface* r = FAccessibleProviders[i]->CreateIAccessible(ATree)) return r;
  return FAccessibleProviders[0]->CreateIAccessible(ATree);
}

TTreeAccessibility::TTreeAccessibility(TBaseLazyTreeControl& Tree) : FTree(Tree) {}

TTreeAccessibility::~TTreeAccessibility() {
  Release(FAccessibleItem);
  Release(FAccessible);
}

// Qt's registry owns accessible objects (taking the ones not registered yet) and deletes them.
void TTreeAccessibility::Release(QAccessibleInterface*& Object) {
  if (!Object) return;
  QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(Object));
  Object = nullptr;
}

QAccessibleInterface* TTreeAccessibility::GetObject() {
  TLTAccessibilityFactory& f = TLTAccessibilityFactory::GetAccessibilityFactory();
  if (!FAccessible) FAccessible = f.CreateIAccessible(&FTree);
  if (FAccessible && !FAccessibleItem) FAccessibleItem = f.CreateIAccessible(&FTree);
  return FAccessible;
}

void TTreeAccessibility::NotifyStateChange(PLazyNode /*Node*/) {
  if (!FAccessibleItem || !FTree.Widget()) return;
  QAccessible::State changed;
  changed.expanded = true;
  changed.collapsed = true;
  QAccessibleStateChangeEvent event(FTree.Widget(), changed);
  QAccessible::updateAccessibility(&event);
}

void TTreeAccessibility::NotifyNameChange() {
  if (!FAccessibleItem || !FTree.Widget()) return;
  QAccessibleEvent event(FTree.Widget(), QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

// Item handles come from the client: only nodes of this tree are used.
bool TTreeAccessibility::OwnNode(PLazyNode Node) const {
  return Node && Node != FTree.RootNode() && TBaseLazyTree::TreeOfNode(Node) == &FTree;
}

bool TTreeAccessibility::GetItemRect(PLazyNode Node, bool TextOnly, plat::TRect& Rect) {
  if (!OwnNode(Node) || !FTree.GetVisible(Node)) return false;
  Rect = FTree.GetDisplayRect(Node, NoColumn, TextOnly);
  return true;
}

PLazyNode TTreeAccessibility::GetNextItem(int Code, PLazyNode Node) {
  const bool needsNode = Code != TVGN_ROOT && Code != TVGN_FIRSTVISIBLE && Code != TVGN_DROPHILITE &&
                         Code != TVGN_CARET && Code != TVGN_LASTVISIBLE;
  if (needsNode && !OwnNode(Node)) return nullptr;
  switch (Code) {
    case TVGN_ROOT: return FTree.GetFirst();
    case TVGN_NEXT: return FTree.GetNextSibling(Node);
    case TVGN_PREVIOUS: return FTree.GetPreviousSibling(Node);
    case TVGN_PARENT: return FTree.GetNodeParent(Node);
    case TVGN_CHILD: return FTree.GetFirstChild(Node);
    case TVGN_FIRSTVISIBLE: return FTree.GetFirstVisible(nullptr, true);
    case TVGN_NEXTVISIBLE: return FTree.GetNextVisible(Node, true);
    case TVGN_PREVIOUSVISIBLE: return FTree.GetPreviousVisible(Node, true);
    case TVGN_DROPHILITE: return FTree.DropTargetNode();
    case TVGN_CARET: return FTree.FocusedNode();
    case TVGN_LASTVISIBLE: return FTree.GetLastVisible(nullptr, true);
    default: return nullptr;
  }
}

bool TTreeAccessibility::GetItem(TTreeViewItem& Item) {
  if (!(Item.mask & TVIF_HANDLE) || !OwnNode(Item.hItem)) return false;
  PLazyNode n = Item.hItem;
  if (Item.mask & TVIF_CHILDREN) Item.cChildren = static_cast<int>(n->ChildCount);
  if (Item.mask & TVIF_IMAGE) Item.iImage = -1;  // node images come with the painting elements
  if (Item.mask & TVIF_SELECTEDIMAGE) Item.iSelectedImage = -1;
  if (Item.mask & TVIF_STATE) {
    Item.stateMask = 0xFF2F;
    Item.state = 0;
    if (n == FTree.FocusedNode()) Item.state |= TVIS_FOCUSED;
    if (n->Has(vsSelected)) Item.state |= TVIS_SELECTED;
    if (n->Has(vsCutOrCopy)) Item.state |= TVIS_CUT;
    if (n == FTree.DropTargetNode()) Item.state |= TVIS_DROPHILITED;
    if (n->Has(vsExpanded)) Item.state |= TVIS_EXPANDED;
  }
  if ((Item.mask & TVIF_TEXT) && Item.pszText && Item.cchTextMax > 0) {
    const QString text = FTree.AccessibleText(n);
    const int len = std::min<int>(static_cast<int>(text.size()), Item.cchTextMax - 1);
    for (int i = 0; i < len; ++i) Item.pszText[i] = static_cast<char16_t>(text[i].unicode());
    Item.pszText[len] = u'\0';
  }
  return true;
}

}  // namespace lazytree
