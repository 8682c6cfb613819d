#pragma once
// The item selector: the scrolling grid of items that the detail, image and colour pickers show in their popup.
// Each item has a mini-HTML caption and either an image (a picture of its own or an image of an image list) or
// a colour box. Items stand in equal cells, Columns cells per row.
//
// Two controls make it: the container TExtCustomItemSelector holds the items, their appearance and every
// setting and scrolls vertically (and horizontally when needed); its child TCustomItemSelector lays the items
// out, sizes itself to fit them, draws them and hit-tests them. The panel reads every setting from its
// container.
//
// Item collections tell their OnChange when a caption, colour or image index changes; pictures, hints and
// adding or removing items tell nothing, so a picker that fills the items calls UpdateSelectorPanel itself.

#include <QString>

#include <functional>
#include <memory>

#include "dropdown/dropdown_styles.h"
#include "dropdown/ext_dropdown.h"
#include "dropdown/item_layout.h"
#include "dropdown/picker_item.h"
#include "platform/forms/controls.h"
#include "platform/rtl/collection.h"

namespace plat {
class TPicture;
}

namespace dropdown {

enum TSelectorType { stImage, stColor };

using TDrawItemEvent =
    std::function<void(plat::TObject* Sender, plat::TCanvas* Canvas, plat::TRect R, int Index)>;
using TItemSizeEvent = std::function<void(plat::TObject* Sender, plat::TSize& ASize)>;
// Paints the chosen item in a picker's edit (or a row of its popup) instead of the picker.
using TOnDrawSelectedItem = std::function<void(plat::TObject* Sender, plat::TCanvas* Canvas, plat::TRect R)>;

// The colours and the caption font of hot and selected items. The colour fields (of TItemAppearanceColors) are
// written directly; SetColorStyle loads a preset over the gradient and frame colours.
class TItemAppearance : public plat::TPersistent, public TItemAppearanceColors {
  PLAT_CLASS(TItemAppearance)

  explicit TItemAppearance(plat::TPersistent* AOwner);
  ~TItemAppearance() override;

  // The gradient and frame colours, the font, the style (whose preset then overrides those colours when it
  // differs from ours), the text colours and the plain borders. Another class: the base's rule.
  void Assign(plat::TPersistent* Source) override;
  TSelectionColorStyle ColorStyle() const { return FColorStyle; }
  // Nothing when Style is the current one; scCustom keeps every colour.
  void SetColorStyle(TSelectionColorStyle Style);
  plat::TFont* Font() const { return FFont.get(); }
  void SetFont(const plat::TFont& Value);
  plat::TPersistent* Owner() const { return FOwner; }

  plat::TNotifyEvent OnChange;

 private:
  plat::TPersistent* FOwner;
  TSelectionColorStyle FColorStyle = scCustom;
  std::unique_ptr<plat::TFont> FFont;
};

class TSelectorItems;

class TSelectorItem : public TPickerItem {
  PLAT_CLASS(TSelectorItem)

  explicit TSelectorItem(plat::TCollection* Collection) : TPickerItem(Collection) {}

  // Another selector item: caption, colour and image index through their setters, then the picture, Enabled
  // and the hint. Another class: the base's rule.
  void Assign(plat::TPersistent* Source) override;

  plat::TColor Color() const { return FColor; }
  void SetColor(plat::TColor Value);
  QString Hint() const { return FHint; }
  void SetHint(const QString& Value) { FHint = Value; }
  // The item's cell in panel coordinates; (-1, -1, -1, -1) until arranged.
  plat::TRect Rect() const { return FRect; }
  void SetRect(const plat::TRect& Value) { FRect = Value; }
  // True when the item has a picture of its own that is not empty.
  bool HasPicture() const;

 private:
  plat::TColor FColor = plat::clNone;
  plat::TRect FRect{-1, -1, -1, -1};
  QString FHint;
};

class TSelectorItems : public TPickerItemsOf<TSelectorItem> {
  PLAT_CLASS(TSelectorItems)

  explicit TSelectorItems(plat::TPersistent* AOwner) : TPickerItemsOf(AOwner) {}
};

class TExtCustomItemSelector;

// The inner panel: lays the items out, draws and hit-tests them.
class TCustomItemSelector : public plat::TCustomControl {
 public:
  // Raises "Invalid parent" unless AOwner is an item selector container.
  explicit TCustomItemSelector(plat::TComponent* AOwner);
  ~TCustomItemSelector() override;

  TExtCustomItemSelector* ExtItemSelector() const { return FExtItemSelector; }
  int Columns() const;
  TSelectorItems* Items() const;
  TSelectorType SelectorType() const;
  TItemLayout ItemLayout() const;
  plat::TCustomImageList* Images() const;
  TSelectionColorStyle ItemColorStyle() const;
  plat::TColor ItemColorHot() const;
  plat::TColor ItemColorHotTo() const;
  plat::TColor ItemColorSelected() const;
  plat::TColor ItemColorSelectedTo() const;
  int ColorBoxHeight() const;
  int ColorBoxWidth() const;

  int ItemIndex() const { return FItemIndex; }
  // Refused for a disabled item; fires OnItemSelect for every index of 0 or more, also the selected one;
  // -1 clears the selection silently.
  void SetItemIndex(int Value);
  int ItemHot() const { return FItemHot; }
  void SetItemHot(int Value);
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  // Selects the first item whose plain, trimmed, upper-cased caption begins with S (given in upper case).
  bool LookupItem(const QString& S);
  int ItemAtPos(int X, int Y) const;
  plat::TRect GetItemRect(int Index) const;

  virtual void DrawItem(int Index, plat::TCanvas* Canvas);
  virtual void GetItemsArea(plat::TRect& Rect) const;
  virtual void GetItemSize(plat::TSize& Size);
  virtual void InvalidateItem(int Index);
  virtual void ArrangeItems();

  plat::TNotifyEvent OnItemSelect;

  int OffSetX() const { return FOffSetX; }
  int OffSetY() const { return FOffSetY; }
  int ItemOffSetX() const { return FItemOffSetX; }
  int ItemOffSetY() const { return FItemOffSetY; }
  int CaptionGap() const { return FCaptionGap; }

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;

 private:
  static plat::TComponent* CheckedOwner(plat::TComponent* AOwner);
  bool ItemEnabledAt(int Index) const;
  bool ValidIndex(int Index) const;
  plat::TSize ContentSize(const TSelectorItem& Item) const;
  void DrawItemBackground(int Index, plat::TCanvas& Canvas, const plat::TRect& R);
  // Draws the item's colour box, picture or list image at (X, Y); false when nothing was drawn.
  bool DrawItemImage(const TSelectorItem& Item, plat::TCanvas& Canvas, int X, int Y);
  void DrawItemContent(int Index, plat::TCanvas& Canvas, plat::TRect R);

  int FItemIndex = -1;
  int FItemHot = -1;
  int FOffSetX = 2, FOffSetY = 2;
  int FItemOffSetX = 4, FItemOffSetY = 4;
  int FCaptionGap = 4;
  TExtCustomItemSelector* FExtItemSelector = nullptr;
};

// The container: owns the items, their appearance and the settings, and scrolls the panel.
class TExtCustomItemSelector : public plat::TWinControl {
 public:
  explicit TExtCustomItemSelector(plat::TComponent* AOwner);
  ~TExtCustomItemSelector() override;

  TSelectorItems* Items() const { return FItems.get(); }
  void SetItems(TSelectorItems* Value);
  TSelectorType SelectorType() const { return FSelectorType; }
  void SetSelectorType(TSelectorType Value);
  // Stored only; UpdateSelectorPanel shows it.
  TItemLayout ItemLayout() const { return FItemLayout; }
  void SetItemLayout(TItemLayout Value) { FItemLayout = Value; }
  int Columns() const { return FColumns; }
  // Values below 1 are refused.
  void SetColumns(int Value);
  int ColorBoxWidth() const { return FColorBoxWidth; }
  void SetColorBoxWidth(int Value);
  int ColorBoxHeight() const { return FColorBoxHeight; }
  void SetColorBoxHeight(int Value);
  plat::TCustomImageList* Images() const { return FImages; }
  void SetImages(plat::TCustomImageList* Value);
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  TCustomItemSelector* ItemSelectorPanel() const { return FItemSelectorPanel; }

  int ItemIndex() const;
  // The panel's selection, then the item scrolled into view.
  void SetItemIndex(int Value);
  int ItemHot() const;

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  bool LookupItem(const QString& S);
  void ScrollItemInView(int Index);
  // Whole rows that fit the container's height, times Columns; 0 without items.
  int GetVisibleItemCount() const;
  // The panel's size (100 x 50 without a panel).
  void GetSelectorPanelSize(plat::TSize& Size) const;
  void UpdateSelectorPanel();
  // The panel's position under the scroll bars (called when the panel or the container changes size).
  void UpdateScrollBars();

  plat::TNotifyEvent OnItemSelect;
  TDrawItemEvent OnDrawItem;
  TItemSizeEvent OnItemSize;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void Resize() override;

 private:
  void CreateSelectorPanel();
  void ScrollTo(int Bar, int Pos);
  void ScrollMessage(int Bar, plat::TMessage& Message);

  std::unique_ptr<TSelectorItems> FItems;
  TSelectorType FSelectorType = stImage;
  TItemLayout FItemLayout = ilCaptionRight;
  int FColumns = 1;
  int FColorBoxWidth = 14;
  int FColorBoxHeight = 14;
  plat::TCustomImageList* FImages = nullptr;
  TCustomItemSelector* FItemSelectorPanel = nullptr;
  std::unique_ptr<TItemAppearance> FItemAppearance;
  bool FDestroying = false;
  bool FUpdatingBars = false;
};

}  // namespace dropdown
