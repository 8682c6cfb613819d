#pragma once
// A context menu listing a tree's columns, checked while visible; choosing an entry shows or hides its column.
// It can start with an entry that fits all columns to their content. The items are rebuilt on every popup,
// so the menu always shows the current columns; it works only when opened for a tree (PopupComponent).

#include <cstdint>
#include <functional>

#include "platform/forms/menus.h"
#include "tree/lazytypes.h"

namespace lazytree {

class TBaseLazyTreeControl;

enum TLTHeaderPopupOption : uint8_t { poOriginalOrder, poAllowHideAll, poResizeToFitItem };
using TLTHeaderPopupOptions = TEnumSet<TLTHeaderPopupOption, uint8_t>;
enum TAddPopupItemType : uint8_t { apNormal, apDisabled, apHidden };

class TLTHeaderPopupMenu : public plat::TPopupMenu {
 public:
  explicit TLTHeaderPopupMenu(plat::TComponent* AOwner) : plat::TPopupMenu(AOwner) {}

  TLTHeaderPopupOptions Options() const { return FOptions; }
  void SetOptions(TLTHeaderPopupOptions Value) { FOptions = Value; }
  void Popup(int X, int Y) override;
  // Rebuilds the entries from the tree's columns (what Popup does before showing the menu).
  void RebuildItems();

  std::function<void(TBaseLazyTreeControl* Sender, TColumnIndex Column, TAddPopupItemType& Cmd)> OnAddHeaderPopupItem;
  std::function<void(TBaseLazyTreeControl* Sender, TColumnIndex Column, bool Visible)> OnColumnChange;

  static constexpr const char* ResizeToFitItemName = "LT_ResizeToFitMenuItem";

 private:
  TBaseLazyTreeControl* Tree() const;
  void MenuItemClicked(plat::TMenuItem* Item);

  TLTHeaderPopupOptions FOptions;
};

}  // namespace lazytree
