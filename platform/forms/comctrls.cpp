#include "platform/forms/comctrls.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

#include "platform/forms/host.h"
#include "platform/rtl/exceptions.h"

namespace plat {

using detail::Guarded;
using detail::MakeHost;
using detail::THost;
using detail::TScrollAreaHost;

namespace {
[[noreturn]] void IndexError(int i) { throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i)); }
constexpr int kNodeRole = Qt::UserRole + 0x4E4F;
}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Pages

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FQtPlaced = true;
  Widget()->setAutoFillBackground(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* v) {
  if (v == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  if (v) v->InsertPage(this, v->PageCount());
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& p = FPageControl->FPages;
  return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int v) {
  if (!FPageControl) return;
  TPageControl* pc = FPageControl;
  v = std::clamp(v, 0, pc->PageCount() - 1);
  if (v == PageIndex()) return;
  TTabSheet* active = pc->ActivePage();
  pc->RemovePage(this);
  pc->InsertPage(this, v);
  pc->SetActivePage(active);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (TTabSheet* s : FPageControl->FPages) {
    if (s == this) return n;
    if (s->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  FTabVisible = v;
  if (FPageControl) FPageControl->TabWidget()->setTabVisible(PageIndex(), v);
}

void TTabSheet::TextChanged() {
  if (FPageControl) FPageControl->TabWidget()->setTabText(PageIndex(), FText);
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner, MakeHost<THost<QTabWidget>>(this)) {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
  QTabWidget* t = TabWidget();
  t->setFocusPolicy(Qt::TabFocus);
  QObject::connect(t, &QTabWidget::currentChanged, t, [this](int i) { Guarded(this, [this, i] { CurrentChanged(i); }); });
}

TPageControl::~TPageControl() {
  // The sheets are children freed by TWinControl's destructor, after this control's members are gone: they
  // must not reach back to remove themselves.
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
}

QTabWidget* TPageControl::TabWidget() const { return static_cast<QTabWidget*>(Widget()); }

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) IndexError(Index);
  return FPages[static_cast<std::size_t>(Index)];
}

void TPageControl::InsertPage(TTabSheet* p, int index) {
  FSettingPage = true;
  p->FPageControl = this;
  p->SetParent(this);
  FPages.insert(FPages.begin() + index, p);
  TabWidget()->insertTab(index, p->Widget(), p->Caption());
  TabWidget()->setTabVisible(index, p->FTabVisible);
  FShown = ActivePage();
  FSettingPage = false;
}

void TPageControl::RemovePage(TTabSheet* p) {
  auto it = std::find(FPages.begin(), FPages.end(), p);
  if (it == FPages.end()) return;
  FSettingPage = true;
  const int i = static_cast<int>(it - FPages.begin());
  FPages.erase(it);
  if (TabWidget()) TabWidget()->removeTab(i);
  p->FPageControl = nullptr;
  FShown = ActivePage();
  FSettingPage = false;
}

TTabSheet* TPageControl::ActivePage() const {
  const int i = TabWidget() ? TabWidget()->currentIndex() : -1;
  return i >= 0 && i < PageCount() ? FPages[static_cast<std::size_t>(i)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* v) {
  if (v && v->FPageControl != this) return;
  FSettingPage = true;
  TabWidget()->setCurrentIndex(v ? v->PageIndex() : -1);
  FShown = ActivePage();
  FSettingPage = false;
}

int TPageControl::ActivePageIndex() const { return ActivePage() ? ActivePage()->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int v) {
  SetActivePage(v >= 0 && v < PageCount() ? FPages[static_cast<std::size_t>(v)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  const int n = PageCount();
  if (n == 0) return nullptr;
  int start = CurPage ? CurPage->PageIndex() : (GoForward ? n - 1 : 0);
  int i = start;
  for (int k = 0; k < n; ++k) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TTabSheet* p = FPages[static_cast<std::size_t>(i)];
    if (!CheckTabVisible || p->TabVisible()) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* p = FindNextPage(ActivePage(), GoForward, CheckTabVisible);
  if (!p || p == ActivePage()) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  SetActivePage(p);
  if (OnChange) OnChange(this);
}

void TPageControl::CurrentChanged(int Index) {
  (void)Index;
  if (FSettingPage) return;
  TTabSheet* now = ActivePage();
  if (now == FShown) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) {
    // Refused: the page that was shown stays.
    SetActivePage(FShown);
    return;
  }
  FShown = now;
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------------------
// Tree nodes

TTreeNode::~TTreeNode() = default;

QString TTreeNode::Text() const { return FItem->text(0); }
void TTreeNode::SetText(const QString& v) { FItem->setText(0, v); }
TTreeNode* TTreeNode::Parent() const { return FOwner->NodeOf(FItem->parent()); }
int TTreeNode::Count() const { return FItem->childCount(); }

TTreeNode* TTreeNode::Item(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FOwner->NodeOf(FItem->child(Index));
}

int TTreeNode::Index() const {
  if (QTreeWidgetItem* p = FItem->parent()) return p->indexOfChild(FItem);
  return FItem->treeWidget()->indexOfTopLevelItem(FItem);
}

int TTreeNode::Level() const {
  int l = 0;
  for (QTreeWidgetItem* p = FItem->parent(); p; p = p->parent()) ++l;
  return l;
}

int TTreeNode::AbsoluteIndex() const {
  int i = 0;
  for (TTreeNode* n = FOwner->GetFirstNode(); n; n = n->GetNext(), ++i)
    if (n == this) return i;
  return -1;
}

TTreeNode* TTreeNode::GetFirstChild() const { return Count() ? FOwner->NodeOf(FItem->child(0)) : nullptr; }
TTreeNode* TTreeNode::GetLastChild() const { return Count() ? FOwner->NodeOf(FItem->child(Count() - 1)) : nullptr; }

TTreeNode* TTreeNode::GetNextSibling() const {
  const int i = Index() + 1;
  if (QTreeWidgetItem* p = FItem->parent()) return i < p->childCount() ? FOwner->NodeOf(p->child(i)) : nullptr;
  QTreeWidget* t = FItem->treeWidget();
  return i < t->topLevelItemCount() ? FOwner->NodeOf(t->topLevelItem(i)) : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const int i = Index() - 1;
  if (i < 0) return nullptr;
  if (QTreeWidgetItem* p = FItem->parent()) return FOwner->NodeOf(p->child(i));
  return FOwner->NodeOf(FItem->treeWidget()->topLevelItem(i));
}

TTreeNode* TTreeNode::GetNext() const {
  if (Count()) return GetFirstChild();
  for (const TTreeNode* n = this; n; n = n->Parent())
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

int TTreeNode::IndexOf(const TTreeNode* Child) const { return Child ? FItem->indexOfChild(Child->FItem) : -1; }

bool TTreeNode::Selected() const { return FItem->treeWidget()->currentItem() == FItem; }

void TTreeNode::SetSelected(bool v) {
  if (v)
    FItem->treeWidget()->setCurrentItem(FItem);
  else if (Selected())
    FItem->treeWidget()->setCurrentItem(nullptr);
}

bool TTreeNode::Focused() const { return Selected(); }
bool TTreeNode::Expanded() const { return FItem->isExpanded(); }
void TTreeNode::SetExpanded(bool v) { FItem->setExpanded(v); }

void TTreeNode::Expand(bool Recurse) {
  FItem->setExpanded(true);
  if (Recurse)
    for (int i = 0; i < Count(); ++i) Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  FItem->setExpanded(false);
  if (Recurse)
    for (int i = 0; i < Count(); ++i) Item(i)->Collapse(true);
}

void TTreeNode::MakeVisible() {
  for (QTreeWidgetItem* p = FItem->parent(); p; p = p->parent()) p->setExpanded(true);
  FItem->treeWidget()->scrollToItem(FItem);
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren() {
  while (Count()) FOwner->Delete(Item(Count() - 1));
}

TTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::NodeOf(QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  return reinterpret_cast<TTreeNode*>(item->data(0, kNodeRole).value<quintptr>());
}

TTreeNode* TTreeNodes::InsertAt(QTreeWidgetItem* parent, int index, const QString& S, void* Data) {
  auto* item = new QTreeWidgetItem(QStringList{S});
  auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this, item));
  node->FData = Data;
  item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(node.get())));
  QTreeWidget* t = FOwner->TreeWidget();
  QSignalBlocker block(t);
  if (parent)
    parent->insertChild(index, item);
  else
    t->insertTopLevelItem(index, item);
  FNodes.push_back(std::move(node));
  return FNodes.back().get();
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const QString& S) { return AddObject(Sibling, S, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const QString& S, void* Data) {
  QTreeWidgetItem* parent = Sibling ? Sibling->FItem->parent() : nullptr;
  const int n = parent ? parent->childCount() : FOwner->TreeWidget()->topLevelItemCount();
  return InsertAt(parent, n, S, Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const QString& S) {
  return InsertAt(Sibling ? Sibling->FItem->parent() : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const QString& S) { return AddChildObject(Parent, S, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const QString& S, void* Data) {
  QTreeWidgetItem* p = Parent ? Parent->FItem : nullptr;
  const int n = p ? p->childCount() : FOwner->TreeWidget()->topLevelItemCount();
  return InsertAt(p, n, S, Data);
}

std::vector<TTreeNode*> TTreeNodes::AddChildren(TTreeNode* Parent, const QStringList& Texts) {
  std::vector<TTreeNode*> added;
  added.reserve(std::size_t(Texts.size()));
  QList<QTreeWidgetItem*> items;
  items.reserve(Texts.size());
  FNodes.reserve(FNodes.size() + std::size_t(Texts.size()));
  for (const QString& text : Texts) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this, item));
    item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(node.get())));
    items.append(item);
    added.push_back(node.get());
    FNodes.push_back(std::move(node));
  }
  QTreeWidget* t = FOwner->TreeWidget();
  QSignalBlocker block(t);
  if (Parent)
    Parent->FItem->addChildren(items);
  else
    t->addTopLevelItems(items);
  return added;
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const QString& S) {
  return InsertAt(Parent ? Parent->FItem : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const QString& S) {
  if (!Sibling) return Add(nullptr, S);
  return InsertAt(Sibling->FItem->parent(), Sibling->Index(), S, nullptr);
}

void TTreeNodes::Forget(QTreeWidgetItem* item) {
  for (int i = 0; i < item->childCount(); ++i) Forget(item->child(i));
  TTreeNode* n = NodeOf(item);
  FNodes.erase(std::remove_if(FNodes.begin(), FNodes.end(), [n](const auto& p) { return p.get() == n; }),
               FNodes.end());
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node) return;
  QTreeWidgetItem* item = Node->FItem;
  Forget(item);  // Node is gone from here on
  delete item;   // Qt removes it (and its children) from the tree; the current item may change
}

void TTreeNodes::Clear() {
  QTreeWidget* t = FOwner->TreeWidget();
  {
    QSignalBlocker block(t);
    t->clear();
  }
  FNodes.clear();
  FOwner->CurrentItemChanged(nullptr, nullptr);
}

void TTreeNodes::BeginUpdate() {
  if (FUpdate++ == 0) FOwner->TreeWidget()->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate() {
  if (FUpdate > 0 && --FUpdate == 0) FOwner->TreeWidget()->setUpdatesEnabled(true);
}

int TTreeNodes::Count() const { return static_cast<int>(FNodes.size()); }

TTreeNode* TTreeNodes::Item(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  TTreeNode* n = GetFirstNode();
  for (int i = 0; i < Index && n; ++i) n = n->GetNext();
  return n;
}

TTreeNode* TTreeNodes::GetFirstNode() const {
  QTreeWidget* t = FOwner->TreeWidget();
  return t->topLevelItemCount() ? NodeOf(t->topLevelItem(0)) : nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Tree view

TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner, MakeHost<TScrollAreaHost<QTreeWidget>>(this)) {
  FItems = std::make_unique<TTreeNodes>(this);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
  QTreeWidget* t = TreeWidget();
  t->setHeaderHidden(true);
  t->setColumnCount(1);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QObject::connect(t, &QTreeWidget::currentItemChanged, t, [this](QTreeWidgetItem* c, QTreeWidgetItem* p) {
    Guarded(this, [&] { CurrentItemChanged(c, p); });
  });
  QObject::connect(t, &QTreeWidget::itemExpanded, t, [this](QTreeWidgetItem* i) {
    Guarded(this, [&] {
      if (OnExpanded) OnExpanded(this, FItems->NodeOf(i));
    });
  });
  QObject::connect(t, &QTreeWidget::itemCollapsed, t, [this](QTreeWidgetItem* i) {
    Guarded(this, [&] {
      if (OnCollapsed) OnCollapsed(this, FItems->NodeOf(i));
    });
  });
}

TTreeView::~TTreeView() {
  // Nodes first, while the widget still exists to answer them.
  if (TreeWidget()) {
    QSignalBlocker block(TreeWidget());
    TreeWidget()->clear();
  }
  FItems.reset();
}

QTreeWidget* TTreeView::TreeWidget() const { return static_cast<QTreeWidget*>(Widget()); }

TTreeNode* TTreeView::Selected() const { return FItems->NodeOf(TreeWidget()->currentItem()); }

void TTreeView::SetSelected(TTreeNode* v) { TreeWidget()->setCurrentItem(v ? v->Item() : nullptr); }

TTreeNode* TTreeView::GetNodeAt(int X, int Y) const {
  QTreeWidget* t = TreeWidget();
  const QPoint vp = t->viewport()->mapFrom(t, QPoint(X, Y));
  return FItems->NodeOf(t->itemAt(vp));
}

void TTreeView::FullExpand() { TreeWidget()->expandAll(); }
void TTreeView::FullCollapse() { TreeWidget()->collapseAll(); }

void TTreeView::SetReadOnly(bool v) { FReadOnly = v; }

void TTreeView::SetHideSelection(bool v) {
  FHideSelection = v;
  QPalette pal = TreeWidget()->palette();
  if (!v) {
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
  } else {
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Inactive, QPalette::Button));
  }
  TreeWidget()->setPalette(pal);
}

void TTreeView::SetShowRoot(bool v) {
  FShowRoot = v;
  TreeWidget()->setRootIsDecorated(v);
}

void TTreeView::CurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
  if (FReverting) return;
  TTreeNode* node = FItems->NodeOf(current);
  if (OnChanging && previous) {
    bool allow = true;
    OnChanging(this, node, allow);
    if (!allow) {
      FReverting = true;
      TreeWidget()->setCurrentItem(previous);
      FReverting = false;
      return;
    }
  }
  if (OnChange) OnChange(this, node);
}

void TTreeView::Dispatch(TMessage& M) {
  if ((M.Msg == WM_RBUTTONDOWN || M.Msg == WM_RBUTTONUP) && !FRightClickSelect) {
    // The right button leaves the selection alone; only the events run.
    TWMMouse mm(M);
    if (M.Msg == WM_RBUTTONDOWN)
      MouseDown(mbRight, KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
    else
      MouseUp(mbRight, KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
    return;
  }
  TWinControl::Dispatch(M);
}

}  // namespace plat
