// The framework's page control (TPageControl with TTabSheet pages, over Qt's tab widget) and tree view
// (TTreeView with TTreeNode items, over Qt's tree widget).
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/controls.h"

class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace plat {

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  // Adds the sheet as the last page of the control (nullptr: takes it out).
  void SetPageControl(TPageControl* v);
  int PageIndex() const;
  void SetPageIndex(int v);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  // Position among the visible tabs (-1 when the tab is hidden).
  int TabIndex() const;

 protected:
  void TextChanged() override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  QTabWidget* TabWidget() const;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const;
  // Code changing the page runs no OnChanging/OnChange, as in the framework.
  void SetActivePage(TTabSheet* v);
  int ActivePageIndex() const;
  void SetActivePageIndex(int v);
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

  // The user moves to another page: OnChanging may refuse, OnChange follows the change.
  TNotifyEvent OnChange;
  std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;

  void CurrentChanged(int Index);

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* p, int index);
  void RemovePage(TTabSheet* p);
  std::vector<TTabSheet*> FPages;
  TTabSheet* FShown = nullptr;
  bool FSettingPage = false;
};

class TTreeView;
class TTreeNodes;

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;
  ~TTreeNode();

  QString Text() const;
  void SetText(const QString& v);
  void* Data() const { return FData; }
  void SetData(void* v) { FData = v; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int v) { FSelectedIndex = v; }

  TTreeNode* Parent() const;
  int Count() const;
  TTreeNode* Item(int Index) const;
  int Index() const;  // among the siblings
  int Level() const;  // 0 for a top-level node
  int AbsoluteIndex() const;
  bool HasChildren() const { return Count() > 0; }
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetLastChild() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  TTreeNode* GetNext() const;  // the next node in the whole tree, depth first
  int IndexOf(const TTreeNode* Child) const;

  bool Selected() const;
  void SetSelected(bool v);
  bool Focused() const;
  bool Expanded() const;
  void SetExpanded(bool v);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  void MakeVisible();
  void Delete();  // removes the node with its children
  void DeleteChildren();

  TTreeNodes* Owner() const { return FOwner; }
  TTreeView* TreeView() const;
  QTreeWidgetItem* Item() const { return FItem; }

 private:
  friend class TTreeNodes;
  TTreeNode(TTreeNodes* owner, QTreeWidgetItem* item) : FOwner(owner), FItem(item) {}
  TTreeNodes* FOwner;
  QTreeWidgetItem* FItem;
  void* FData = nullptr;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TTreeView* owner) : FOwner(owner) {}
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // Add: a new last sibling of Sibling (nullptr: a new last top-level node). AddChild: a new last child of
  // Parent (nullptr: top level). AddFirst/AddChildFirst put it first; Insert puts it before Sibling.
  TTreeNode* Add(TTreeNode* Sibling, const QString& S);
  TTreeNode* AddObject(TTreeNode* Sibling, const QString& S, void* Data);
  TTreeNode* AddFirst(TTreeNode* Sibling, const QString& S);
  TTreeNode* AddChild(TTreeNode* Parent, const QString& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const QString& S, void* Data);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const QString& S);
  // New last children of Parent (nullptr: top level), one per text, inserted into the view at once.
  std::vector<TTreeNode*> AddChildren(TTreeNode* Parent, const QStringList& Texts);
  TTreeNode* Insert(TTreeNode* Sibling, const QString& S);
  void Delete(TTreeNode* Node);
  void Clear();
  void BeginUpdate();
  void EndUpdate();

  int Count() const;  // every node of the tree
  TTreeNode* Item(int Index) const;  // by absolute index, depth first
  TTreeNode* GetFirstNode() const;
  TTreeView* Owner() const { return FOwner; }
  // The node of a Qt item (nullptr for none).
  TTreeNode* NodeOf(QTreeWidgetItem* item) const;

 private:
  friend class TTreeNode;
  TTreeNode* InsertAt(QTreeWidgetItem* parent, int index, const QString& S, void* Data);
  void Forget(QTreeWidgetItem* item);
  TTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FNodes;
  int FUpdate = 0;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

class TTreeView : public TWinControl {
 public:
  explicit TTreeView(TComponent* AOwner);
  ~TTreeView() override;
  QTreeWidget* TreeWidget() const;

  TTreeNodes* Items() const { return FItems.get(); }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* v);
  TTreeNode* GetNodeAt(int X, int Y) const;
  void FullExpand();
  void FullCollapse();

  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  // False: the selection keeps its active colour while the tree has no focus.
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool v);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool v) { FShowLines = v; }
  // False: a right click does not move the selection.
  bool RightClickSelect() const { return FRightClickSelect; }
  void SetRightClickSelect(bool v) { FRightClickSelect = v; }

  // OnChange follows every change of the selected node (by the user or by code).
  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandedEvent OnExpanded;
  TTVExpandedEvent OnCollapsed;

  void Dispatch(TMessage& Message) override;
  void CurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);

 protected:
  LRESULT DefaultDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  bool ColorIsBase() const override { return true; }

 private:
  std::unique_ptr<TTreeNodes> FItems;
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FShowRoot = true;
  bool FShowLines = true;
  bool FRightClickSelect = false;
  bool FReverting = false;
};

}  // namespace plat
