#pragma once
// Accessibility of the tree: a process-wide factory of registered providers that create the accessible objects
// (Qt's accessibility interfaces) for a tree, the tree's two objects, their state-change notices, and the three
// item queries a client may put to a tree as to a standard tree view (item rectangle, next item, item data).
// No provider is registered by the program, so without one the tree answers nothing and Qt's default
// accessibility for the widget applies.

#include <QString>

#include <cstdint>
#include <vector>

#include "platform/graphics/types.h"
#include "tree/lazytypes.h"

class QAccessibleInterface;

namespace lazytree {

class TBaseLazyTreeControl;

class ILTAccessibleProvider {
 public:
  virtual ~ILTAccessibleProvider() = default;
  virtual QAccessibleInterface* CreateIAccessible(TBaseLazyTreeControl* ATree) = 0;
};

class TLTAccessibilityFactory {
 public:
  static TLTAccessibilityFactory& GetAccessibilityFactory();
  void RegisterAccessibleProvider(ILTAccessibleProvider* Item);
  void UnRegisterAccessibleProvider(ILTAccessibleProvider* Item);
  // The tree's object when it has none yet (provider 0); else its item object when it has one; else the first
  // answer of providers Count-1 down to 1, or provider 0's.
  QAccessibleInterface* CreateIAccessible(TBaseLazyTreeControl* ATree);
  std::size_t ProviderCount() const { return FAccessibleProviders.size(); }

 private:
  std::vector<ILTAccessibleProvider*> FAccessibleProviders;
};

// Tree-view query codes.
enum TTreeViewNext : uint8_t {
  TVGN_ROOT, TVGN_NEXT, TVGN_PREVIOUS, TVGN_PARENT, TVGN_CHILD, TVGN_FIRSTVISIBLE, TVGN_NEXTVISIBLE,
  TVGN_PREVIOUSVISIBLE, TVGN_DROPHILITE, TVGN_CARET, TVGN_LASTVISIBLE
};
constexpr uint32_t TVIF_TEXT = 0x0001, TVIF_IMAGE = 0x0002, TVIF_STATE = 0x0008, TVIF_HANDLE = 0x0010,
                   TVIF_SELECTEDIMAGE = 0x0020, TVIF_CHILDREN = 0x0040;
constexpr uint32_t TVIS_FOCUSED = 0x0001, TVIS_SELECTED = 0x0002, TVIS_CUT = 0x0004, TVIS_DROPHILITED = 0x0008,
                   TVIS_EXPANDED = 0x0020;

struct TTreeViewItem {
  uint32_t mask = 0;
  PLazyNode hItem = nullptr;
  uint32_t state = 0;
  uint32_t stateMask = 0;
  char16_t* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = -1;
  int iSelectedImage = -1;
  int cChildren = 0;
};

// The tree's side: its accessible objects and the item queries.
class TTreeAccessibility {
 public:
  explicit TTreeAccessibility(TBaseLazyTreeControl& Tree);
  ~TTreeAccessibility();

  QAccessibleInterface* Accessible() const { return FAccessible; }
  QAccessibleInterface* AccessibleItem() const { return FAccessibleItem; }
  // What a client asking for the tree's client object gets: both objects are made when missing.
  QAccessibleInterface* GetObject();
  // After a node expanded or collapsed: a state-change notice while an item object exists.
  void NotifyStateChange(PLazyNode Node);
  // After an edit was cancelled: a name-change notice while an item object exists.
  void NotifyNameChange();

  // Whether the node is visible; then Rect receives its row or text rectangle.
  bool GetItemRect(PLazyNode Node, bool TextOnly, plat::TRect& Rect);
  PLazyNode GetNextItem(int Code, PLazyNode Node);
  bool GetItem(TTreeViewItem& Item);

 private:
  bool OwnNode(PLazyNode Node) const;
  void Release(QAccessibleInterface*& Object);

  TBaseLazyTreeControl& FTree;
  QAccessibleInterface* FAccessible = nullptr;
  QAccessibleInterface* FAccessibleItem = nullptr;
};

}  // namespace lazytree
