#include "tree/treeheaderpopup.h"

#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {

TBaseLazyTreeControl* TLTHeaderPopupMenu::Tree() const {
  return dynamic_cast<TBaseLazyTreeControl*>(PopupComponent());
}

void TLTHeaderPopupMenu::RebuildItems() {
  TBaseLazyTreeControl* tree = Tree();
  if (!tree) return;
  Items()->Clear();
  auto clicked = [this](plat::TObject* Sender) { MenuItemClicked(dynamic_cast<plat::TMenuItem*>(Sender)); };
  if (FOptions.Has(poResizeToFitItem)) {
    plat::TMenuItem* fit = plat::NewItem(this, QStringLiteral("&Resize All Columns To Fit"), clicked);
    fit->SetName(QString::fromLatin1(ResizeToFitItemName));
    Items()->Add(fit);
    Items()->Add(plat::NewItem(this, QStringLiteral("-")));
  }
  const TLazyTreeColumns& cols = tree->Header().Columns();
  int visibleCount = 0;
  plat::TMenuItem* lastVisible = nullptr;
  for (int i = 0; i < cols.Count(); ++i) {
    const TColumnIndex column =
        FOptions.Has(poOriginalOrder) ? i : cols.ColumnFromPosition(static_cast<TColumnPosition>(i));
    if (!cols.IsValidColumn(column)) continue;
    const TLazyTreeColumn* c = cols.Items(column);
    if (c->Visible()) ++visibleCount;
    TAddPopupItemType cmd = apNormal;
    if (OnAddHeaderPopupItem) OnAddHeaderPopupItem(tree, column, cmd);
    if (cmd == apHidden) continue;
    plat::TMenuItem* item = plat::NewItem(this, c->Text(), clicked);
    item->SetTag(column);
    item->SetChecked(c->Visible());
    Items()->Add(item);
    if (cmd == apDisabled)
      item->SetEnabled(false);
    else if (c->Visible())
      lastVisible = item;
  }
  // The last visible column cannot be hidden, unless hiding all is allowed.
  if (visibleCount == 1 && lastVisible && !FOptions.Has(poAllowHideAll)) lastVisible->SetEnabled(false);
}

void TLTHeaderPopupMenu::Popup(int X, int Y) {
  RebuildItems();
  plat::TPopupMenu::Popup(X, Y);
}

void TLTHeaderPopupMenu::MenuItemClicked(plat::TMenuItem* Item) {
  TBaseLazyTreeControl* tree = Tree();
  if (!tree || !Item) return;
  TLTHeader& header = tree->Header();
  if (Item->Name() == QLatin1String(ResizeToFitItemName)) {
    header.AutoFitColumns(true, smaUseColumnOption, NoColumn, NoColumn);
    return;
  }
  const auto column = static_cast<TColumnIndex>(Item->Tag());
  if (!header.Columns().IsValidColumn(column)) return;
  TLazyTreeColumn* c = header.Columns().Items(column);
  TLTColumnOptions o = c->Options();
  if (Item->Checked())
    o.Exclude(coVisible);
  else
    o.Include(coVisible);
  c->SetOptions(o);
  if (OnColumnChange) OnColumnChange(tree, column, !Item->Checked());
}

}  // namespace lazytree
