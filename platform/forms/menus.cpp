#include "platform/forms/menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <algorithm>
#include <map>

#include "platform/forms/host.h"
#include "platform/rtl/exceptions.h"

namespace plat {

namespace {

TPopupMenuRunner& Runner() {
  static TPopupMenuRunner r;
  return r;
}

void Fill(QMenu* menu, TMenuItem* item, std::map<QAction*, TMenuItem*>& map) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* sub = item->Items(i);
    if (!sub->Visible()) continue;
    if (sub->IsLine()) {
      menu->addSeparator();
      continue;
    }
    // The menu shows "&x" as a mnemonic and "&&" as "&", as the framework does.
    if (sub->Count() > 0) {
      QMenu* child = menu->addMenu(sub->Caption());
      child->setEnabled(sub->Enabled());
      Fill(child, sub, map);
      continue;
    }
    QAction* a = menu->addAction(sub->Caption());
    a->setEnabled(sub->Enabled());
    if (sub->Checked() || sub->AutoCheck()) {
      a->setCheckable(true);
      a->setChecked(sub->Checked());
    }
    map[a] = sub;
  }
}

TMenuItem* RunQtMenu(TPopupMenu* menu, int x, int y) {
  QMenu m;
  std::map<QAction*, TMenuItem*> map;
  Fill(&m, menu->Items(), map);
  QAction* chosen = m.exec(QPoint(x, y));
  auto it = map.find(chosen);
  return it == map.end() ? nullptr : it->second;
}

}  // namespace

TPopupMenuRunner SetPopupMenuRunner(TPopupMenuRunner r) {
  TPopupMenuRunner old = std::move(Runner());
  Runner() = std::move(r);
  return old;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  Clear();
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EInvalidOperation(QStringLiteral("Menu inserted twice"));
  if (Index < 0 || Index > Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  Item->FParent = this;
  FItems.insert(FItems.begin() + Index, Item);
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  Remove(item);
  delete item;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::SetChecked(bool v) {
  FChecked = v;
  if (v && FRadioItem && FParent) {
    for (TMenuItem* s : FParent->FItems)
      if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->FChecked = false;
  }
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

TMenuItem* NewItem(TComponent* AOwner, const QString& Caption, TNotifyEvent OnClick) {
  auto* item = new TMenuItem(AOwner);
  item->SetCaption(Caption);
  item->OnClick = std::move(OnClick);
  return item;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  TMenuItem* chosen = Runner() ? Runner()(this, X, Y) : RunQtMenu(this, X, Y);
  if (chosen) chosen->Click();
}

}  // namespace plat
