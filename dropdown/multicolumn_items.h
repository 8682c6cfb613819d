#pragma once
// The columns and items of the multi-column drop-down, and what its popup list grid asks of the drop-down it
// is linked to (TColGridLink). The grid drop-down has classes of the same names in its own namespace.

#include <QString>

#include <memory>

#include "platform/graphics/color.h"
#include "platform/graphics/gdivalues.h"
#include "platform/graphics/types.h"
#include "platform/rtl/collection.h"

namespace plat {
class TCanvas;
class TCustomImageList;
class TFont;
class TStringList;
class TStrings;
}  // namespace plat

namespace dropdown::multicolumn {

enum TColumnType { ctText, ctImage };

// One column of the popup list.
class TDropDownColumn : public plat::TCollectionItem {
  PLAT_CLASS(TDropDownColumn)

  explicit TDropDownColumn(plat::TCollection* Collection);
  ~TDropDownColumn() override;
  // All nine properties of another column, the font by value.
  void Assign(plat::TPersistent* Source) override;

  bool Wordwrap() const { return FWordwrap; }
  void SetWordwrap(bool Value) { FWordwrap = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }
  QString Header() const { return FHeader; }
  void SetHeader(const QString& Value) { FHeader = Value; }
  plat::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(plat::TAlignment Value) { FAlignment = Value; }
  plat::TColor Color() const { return FColor; }
  void SetColor(plat::TColor Value) { FColor = Value; }
  TColumnType ColumnType() const { return FColumnType; }
  void SetColumnType(TColumnType Value) { FColumnType = Value; }
  plat::TFont* Font() const { return FFont.get(); }
  void SetFont(const plat::TFont& Value);
  bool Ellipsis() const { return FEllipsis; }
  void SetEllipsis(bool Value) { FEllipsis = Value; }

 private:
  bool FWordwrap = false;
  int FWidth = 80;
  bool FAutoSize = false;
  QString FHeader;
  plat::TAlignment FAlignment = plat::taLeftJustify;
  plat::TColor FColor = plat::clWhite;
  TColumnType FColumnType = ctText;
  std::unique_ptr<plat::TFont> FFont;
  bool FEllipsis = false;
};

class TDropDownColumns : public plat::TCollection {
  PLAT_CLASS(TDropDownColumns)

  explicit TDropDownColumns(plat::TPersistent* AOwner);
  TDropDownColumn* Add() { return static_cast<TDropDownColumn*>(plat::TCollection::Add()); }
  TDropDownColumn* Insert(int Index) { return static_cast<TDropDownColumn*>(plat::TCollection::Insert(Index)); }
  TDropDownColumn* GetItem(int Index) const { return static_cast<TDropDownColumn*>(Items(Index)); }
  void SetItem(int Index, TDropDownColumn* Value) { SetItems(Index, Value); }
  plat::TPersistent* Owner() const override { return FMyOwner; }

 private:
  plat::TPersistent* FMyOwner;
};

// One row of the popup list: one string per column (an item may hold fewer; the missing ones count as empty).
class TDropDownItem : public plat::TCollectionItem {
  PLAT_CLASS(TDropDownItem)

  explicit TDropDownItem(plat::TCollection* Collection);
  ~TDropDownItem() override;
  // ImageIndex and the strings of another item.
  void Assign(plat::TPersistent* Source) override;

  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  plat::TStringList* Text() const { return FText.get(); }
  // Copies the strings of Value.
  void SetText(plat::TStrings* Value);
  // The string of a column; false when the item has none there.
  bool ColumnText(int Column, QString& Value) const;

 private:
  int FImageIndex = -1;
  std::unique_ptr<plat::TStringList> FText;
};

class TDropDownItems : public plat::TCollection {
  PLAT_CLASS(TDropDownItems)

  explicit TDropDownItems(plat::TPersistent* AOwner);
  TDropDownItem* Add() { return static_cast<TDropDownItem*>(plat::TCollection::Add()); }
  TDropDownItem* Insert(int Index) { return static_cast<TDropDownItem*>(plat::TCollection::Insert(Index)); }
  TDropDownItem* GetItem(int Index) const { return static_cast<TDropDownItem*>(Items(Index)); }
  void SetItem(int Index, TDropDownItem* Value) { SetItems(Index, Value); }
  // The first item whose string in Column equals Value exactly (case-sensitive); -1 when none.
  int IndexInColumn(int Column, const QString& Value) const;
  plat::TPersistent* Owner() const override { return FMyOwner; }

 private:
  plat::TPersistent* FMyOwner;
};

// What the popup list grid asks of its drop-down: the data it shows, the drop-down's painting routines and
// events, and where its selection goes.
class TColGridLink {
 public:
  virtual ~TColGridLink() = default;
  virtual TDropDownItems& LinkItems() = 0;
  virtual plat::TCustomImageList* LinkImages() = 0;
  virtual plat::TColor LinkSelectionTextColor() = 0;
  // True when the application draws the cell itself (nothing else is drawn then).
  virtual bool LinkDrawItem(int Column, int Row, plat::TCanvas& Canvas, const plat::TRect& Rect) = 0;
  virtual void LinkGetItemText(int Column, int Row, QString& Text) = 0;
  virtual void LinkDrawSelection(plat::TCanvas& Canvas, const plat::TRect& Rect, int Join,
                                 plat::TColor Color) = 0;
  virtual void LinkDrawGradient(plat::TCanvas& Canvas, plat::TColor Color, plat::TColor ColorTo,
                                const plat::TRect& Rect, int Steps) = 0;
  // The grid's current row is about to change (key, click or wheel).
  virtual void LinkSelectRow(int Row) = 0;
  // A key the grid hands to the drop-down's edit as a key-down.
  virtual void LinkEditKeyDown(std::uint16_t Key) = 0;
};

}  // namespace dropdown::multicolumn
