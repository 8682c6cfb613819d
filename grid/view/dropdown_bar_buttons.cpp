#include "grid/view/dropdown_bar_buttons.h"

namespace grid {

void TDropDownBarButton::NotifyChange() {
  // A whole collection being assigned tells once through its own users, not once per copied field.
  auto* c = dynamic_cast<TDropDownBarButtons*>(Collection());
  if (c && c->UpdateCount() == 0) c->NotifyChange();
}

void TDropDownBarButton::SetCaption(const QString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  NotifyChange();
}

void TDropDownBarButton::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  NotifyChange();
}

void TDropDownBarButton::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  NotifyChange();
}

void TDropDownBarButton::AssignButton(const TDropDownBarButton& Source) {
  SetCaption(Source.FCaption);
  FImageIndex = Source.FImageIndex;
  SetEnabled(Source.FEnabled);
  SetWidth(Source.FWidth);
  FHeight = Source.FHeight;
}

void THeaderButton::Assign(plat::TPersistent* Source) {
  if (auto* s = dynamic_cast<THeaderButton*>(Source)) {
    AssignButton(*s);
    return;
  }
  plat::TCollectionItem::Assign(Source);
}

void TFooterButton::Assign(plat::TPersistent* Source) {
  if (auto* s = dynamic_cast<TFooterButton*>(Source)) {
    AssignButton(*s);
    FModalResult = s->FModalResult;
    return;
  }
  plat::TCollectionItem::Assign(Source);
}

THeaderButtons::THeaderButtons(plat::TPersistent* AOwner)
    : TDropDownBarButtons(plat::ItemClassOf<THeaderButton>()), FOwner(AOwner) {}

TFooterButtons::TFooterButtons(plat::TPersistent* AOwner)
    : TDropDownBarButtons(plat::ItemClassOf<TFooterButton>()), FMyOwner(AOwner) {}

}  // namespace grid
