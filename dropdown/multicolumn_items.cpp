// The multi-column drop-down's columns and items.
#include "dropdown/multicolumn_items.h"

#include "platform/graphics/gdiobjects.h"
#include "platform/rtl/strings.h"

namespace dropdown::multicolumn {

using namespace plat;

// ---- columns ----------------------------------------------------------------------------------------------

TDropDownColumn::TDropDownColumn(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()) {}

TDropDownColumn::~TDropDownColumn() = default;

void TDropDownColumn::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDropDownColumn*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  FWordwrap = s->FWordwrap;
  FWidth = s->FWidth;
  FAutoSize = s->FAutoSize;
  FHeader = s->FHeader;
  FAlignment = s->FAlignment;
  FColor = s->FColor;
  FColumnType = s->FColumnType;
  FFont->Assign(*s->FFont);
  FEllipsis = s->FEllipsis;
}

void TDropDownColumn::SetFont(const TFont& Value) { FFont->Assign(Value); }

TDropDownColumns::TDropDownColumns(TPersistent* AOwner)
    : TCollection(ItemClassOf<TDropDownColumn>()), FMyOwner(AOwner) {}

// ---- items ------------------------------------------------------------------------------------------------

TDropDownItem::TDropDownItem(TCollection* Collection)
    : TCollectionItem(Collection), FText(std::make_unique<TStringList>()) {}

TDropDownItem::~TDropDownItem() = default;

void TDropDownItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDropDownItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  FImageIndex = s->FImageIndex;
  FText->Assign(s->FText.get());
}

void TDropDownItem::SetText(TStrings* Value) { FText->Assign(Value); }

bool TDropDownItem::ColumnText(int Column, QString& Value) const {
  if (Column < 0 || Column >= FText->Count()) return false;
  Value = FText->Strings(Column);
  return true;
}

TDropDownItems::TDropDownItems(TPersistent* AOwner)
    : TCollection(ItemClassOf<TDropDownItem>()), FMyOwner(AOwner) {}

int TDropDownItems::IndexInColumn(int Column, const QString& Value) const {
  QString s;
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->ColumnText(Column, s) && s == Value) return i;
  return -1;
}

}  // namespace dropdown::multicolumn
