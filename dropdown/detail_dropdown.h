#pragma once
// TExtDetailDropDown: a drop-down edit whose popup lists items one per row, each with an image, a caption and
// a second line of mini-HTML notes. The user clicks an item, steps and pages with the keys or the wheel, or
// types: the text completes from the first caption that begins with what was typed, and while the popup is
// open typed letters search the list. The chosen item's caption becomes the text.
//
// The popup hosts an item selector (one column of rows as wide as the popup) whose rows the drop-down draws
// itself. The selector is refilled from Items each time the popup opens.

#include <QString>

#include <memory>

#include "dropdown/ext_dropdown.h"
#include "dropdown/item_selector.h"
#include "dropdown/picker_item.h"
#include "platform/rtl/collection.h"

namespace plat {
class TPicture;
class TTimer;
}  // namespace plat

namespace dropdown {

class TDetailItem : public TPickerItem {
  PLAT_CLASS(TDetailItem)

  explicit TDetailItem(plat::TCollection* Collection) : TPickerItem(Collection) {}

  // Another detail item: caption and image index through their setters, the picture, notes, Enabled, tag and
  // object. Another class: the base's rule.
  void Assign(plat::TPersistent* Source) override;

  QString Notes() const { return FNotes; }
  void SetNotes(const QString& Value) { FNotes = Value; }
  plat::TObject* ItemObject() const { return FItemObject; }
  void SetItemObject(plat::TObject* Value) { FItemObject = Value; }
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }

 private:
  QString FNotes;
  plat::TObject* FItemObject = nullptr;
  int FTag = 0;
};

class TDetailItems : public TPickerItemsOf<TDetailItem> {
  PLAT_CLASS(TDetailItems)

  explicit TDetailItems(plat::TPersistent* AOwner) : TPickerItemsOf(AOwner) {}
  // The first item whose caption equals AValue exactly (case-sensitive), -1 when none.
  int IndexOf(const QString& AValue) const;
};

class TExtDetailDropDown : public TExtCustomDropDown {
 public:
  explicit TExtDetailDropDown(plat::TComponent* AOwner);
  ~TExtDetailDropDown() override;

  TDetailItems* Items() const { return FItems.get(); }
  void SetItems(TDetailItems* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // A new index of an item: its caption becomes the text, selected whole, and OnSelect fires. -1 empties the
  // text without OnSelect. Other values are ignored.
  void SetItemIndex(int Value);
  TItemLayout Layout() const { return FLayout; }
  void SetLayout(TItemLayout Value) { FLayout = Value; }
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value) { FItemHeight = Value; }
  plat::TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(const plat::TFont& Value);
  plat::TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(const plat::TFont& Value);
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  bool MatchCase() const { return FMatchCase; }
  void SetMatchCase(bool Value) { FMatchCase = Value; }
  bool MatchStart() const { return FMatchStart; }
  void SetMatchStart(bool Value) { FMatchStart = Value; }
  // The popup's item selector (lives with the popup form).
  TExtCustomItemSelector* ItemSelector() const { return FItemSelector; }

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();

  // A text written by code is no typing: it is not completed.
  void SetText(const QString& Value) override;
  void SetComponentStyle(TExtStyle AStyle) override;
  void SetSelectionColorStyle(TSelectionColorStyle Value) override;

  plat::TNotifyEvent OnSelect;
  TOnDrawSelectedItem OnDrawSelectedImage;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoShowDropDown() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancelled) override;
  void DropDownSizing() override;
  void HandleMouseWheelDown() override;
  void HandleMouseWheelUp() override;
  void HandleChange() override;
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  virtual void HandleKeyUp(std::uint16_t& Key, plat::TShiftState Shift);
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) final { HandleKeyUp(Key, Shift); }

 private:
  void PrepareSelector();
  void FillSelectorItems();
  void SelectorItemSelect();
  void GetDetailItemSize(plat::TSize& ASize);
  void DrawDetailItem(plat::TCanvas* Canvas, int Index, plat::TRect R);
  void KeyTimerTick();
  // True when the key is swallowed while the popup is open.
  bool WindowKeyDown(std::uint16_t Key);
  void SelectInSelector(int Index, bool Repaint);
  void IncrementalSearch(std::uint16_t Key);
  void WheelStep(int Delta);

  TExtCustomItemSelector* FItemSelector = nullptr;
  TItemLayout FLayout = ilCaptionRight;
  std::unique_ptr<TDetailItems> FItems;
  int FItemIndex = -1;
  std::unique_ptr<TItemAppearance> FItemAppearance;
  bool FInternalCall = false;
  plat::TTimer* FKeyTimer = nullptr;
  QString FCurSearch;
  int FOldItemIndex = -1;
  int FItemHeight = 22;
  std::unique_ptr<plat::TFont> FCaptionFont;
  std::unique_ptr<plat::TFont> FNotesFont;
  bool FWorkMode = true;
  bool FItemChange = false;
  int FItemIdx = -1;
  int FItemSel = 0;
  QString FOldValue;
  bool FMatchCase = false;
  bool FMatchStart = false;
  bool FTextFromCode = false;
};

}  // namespace dropdown
