#include "dropdown/picker_item.h"

#include "platform/graphics/graphic.h"

namespace dropdown {

TPickerItem::TPickerItem(plat::TCollection* Collection)
    : plat::TCollectionItem(Collection), FImage(std::make_unique<plat::TPicture>()) {}

TPickerItem::~TPickerItem() = default;

void TPickerItem::AssignPickerItem(const TPickerItem& Source) {
  SetCaption(Source.FCaption);
  SetImageIndex(Source.FImageIndex);
  FImage->Assign(*Source.FImage);
  FEnabled = Source.FEnabled;
}

void TPickerItem::NotifyChange() {
  auto* items = dynamic_cast<TPickerItems*>(Collection());
  if (items && items->OnChange) items->OnChange(items);
}

void TPickerItem::SetCaption(const QString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  NotifyChange();
}

void TPickerItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  NotifyChange();
}

void TPickerItem::SetImage(plat::TPicture* Value) { FImage->Assign(Value); }

}  // namespace dropdown
