#pragma once
// The button definitions of a drop-down popup's header and footer bars. A definition describes one flat button
// of the bar; the bar creates its buttons from them each time the popup is set up. Caption, Enabled and Width
// changes tell the collection's OnChange (an open popup rebuilds its buttons); Height, ImageIndex and
// ModalResult are read at the next rebuild only. Adding or removing definitions tells nobody.

#include <QString>

#include "platform/rtl/collection.h"
#include "platform/rtl/events.h"

namespace grid {

class TDropDownBarButtons;

// The common part of the header's and the footer's definitions.
class TDropDownBarButton : public plat::TCollectionItem {
  PLAT_CLASS(TDropDownBarButton)

  explicit TDropDownBarButton(plat::TCollection* Collection) : plat::TCollectionItem(Collection) {}

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // 0: the button's own size.
  int Height() const { return FHeight; }
  void SetHeight(int Value) { FHeight = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value);

 protected:
  void NotifyChange();
  // Copies the common settings of Source (the caption through its setter).
  void AssignButton(const TDropDownBarButton& Source);

 private:
  QString FCaption;
  int FImageIndex = -1;
  bool FEnabled = true;
  int FHeight = 0;
  int FWidth = 0;
};

class THeaderButton : public TDropDownBarButton {
  PLAT_CLASS(THeaderButton)

  explicit THeaderButton(plat::TCollection* Collection) : TDropDownBarButton(Collection) {}
  // Another header button only; any other source raises the cannot-assign error.
  void Assign(plat::TPersistent* Source) override;
};

class TFooterButton : public TDropDownBarButton {
  PLAT_CLASS(TFooterButton)

  explicit TFooterButton(plat::TCollection* Collection) : TDropDownBarButton(Collection) {}
  void Assign(plat::TPersistent* Source) override;
  // The modal result the button gives its popup (1 OK, 2 Cancel, ... as the framework's dialogs count).
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }

 private:
  int FModalResult = 0;
};

class TDropDownBarButtons : public plat::TCollection {
 public:
  plat::TNotifyEvent OnChange;
  // Tells OnChange; a definition calls it when its caption, Enabled or width changes.
  void NotifyChange() {
    if (OnChange) OnChange(this);
  }

 protected:
  explicit TDropDownBarButtons(plat::TCollectionItemClass ItemClass) : plat::TCollection(std::move(ItemClass)) {}
};

class THeaderButtons : public TDropDownBarButtons {
  PLAT_CLASS(THeaderButtons)

  explicit THeaderButtons(plat::TPersistent* AOwner);
  plat::TPersistent* Owner() const override { return FOwner; }
  THeaderButton* Add() { return static_cast<THeaderButton*>(plat::TCollection::Add()); }
  THeaderButton* Insert(int Index) { return static_cast<THeaderButton*>(plat::TCollection::Insert(Index)); }
  THeaderButton* GetItem(int Index) const { return static_cast<THeaderButton*>(Items(Index)); }
  void SetItem(int Index, THeaderButton* Value) { SetItems(Index, Value); }

 private:
  plat::TPersistent* FOwner;
};

class TFooterButtons : public TDropDownBarButtons {
  PLAT_CLASS(TFooterButtons)

  explicit TFooterButtons(plat::TPersistent* AOwner);
  plat::TPersistent* Owner() const override { return FMyOwner; }
  TFooterButton* Add() { return static_cast<TFooterButton*>(plat::TCollection::Add()); }
  TFooterButton* Insert(int Index) { return static_cast<TFooterButton*>(plat::TCollection::Insert(Index)); }
  TFooterButton* GetItem(int Index) const { return static_cast<TFooterButton*>(Items(Index)); }
  void SetItem(int Index, TFooterButton* Value) { SetItems(Index, Value); }

 private:
  plat::TPersistent* FMyOwner;
};

}  // namespace grid
