// Popup menus: TMenuItem (a tree of items; an item owns its sub-items) and TPopupMenu, shown with Qt's menu.
// Tests replace the menu loop with SetPopupMenuRunner.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/controls.h"

namespace plat {

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // "-" makes the item a separator line.
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& v) { FCaption = v; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; }
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v) { FRadioItem = v; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool v) { FAutoCheck = v; }
  bool IsLine() const { return FCaption == QStringLiteral("-"); }

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const { return FParent; }
  // The item becomes a sub-item of this one, which then owns it.
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Delete(int Index);  // frees the item
  void Remove(TMenuItem* Item);  // takes the item out without freeing it
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

  virtual void Click();
  TNotifyEvent OnClick;

 private:
  QString FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  int FGroupIndex = 0;
  TMenuItem* FParent = nullptr;
  std::vector<TMenuItem*> FItems;
};

// Creates a menu item owned by AOwner with a caption and click handler.
TMenuItem* NewItem(TComponent* AOwner, const QString& Caption, TNotifyEvent OnClick = {});

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  TMenuItem* Items() const { return FItems.get(); }
  // Shows the menu at a screen point and runs the chosen item's Click.
  virtual void Popup(int X, int Y);
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* v) { FPopupComponent = v; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }

  TNotifyEvent OnPopup;

 private:
  std::unique_ptr<TMenuItem> FItems;
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
};

// Runs a shown menu and returns the chosen item (nullptr: none). The default runs Qt's menu.
using TPopupMenuRunner = std::function<TMenuItem*(TPopupMenu* Menu, int X, int Y)>;
TPopupMenuRunner SetPopupMenuRunner(TPopupMenuRunner Runner);

}  // namespace plat
