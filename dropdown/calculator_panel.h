#pragma once
// The calculator keypad: TButtonItem (one key), TButtonItems (the keys), TButtonAppearance (the keys' font and
// colours) and TCustomButtonPanel, the control that places, paints and clicks the keys. It stands alone or
// inside the calculator drop-down's popup. The default calculator layout has 28 keys in six columns; the index
// of a key is its place in the collection, its Tag the operation it stands for.

#include <QString>

#include <memory>

#include "dropdown/item_layout.h"
#include "platform/forms/controls.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/collection.h"

namespace plat {
class TCustomImageList;
}

namespace dropdown {

class TExtCustomDropDown;

class TButtonItem : public plat::TCollectionItem {
  PLAT_CLASS(TButtonItem)

  explicit TButtonItem(plat::TCollection* Collection);
  ~TButtonItem() override;
  // Caption, caption colour, tag, image index, picture, enabled and name; not the special flag nor the place.
  void Assign(plat::TPersistent* Source) override;

  QString Caption;
  int ImageIndex = -1;
  bool Enabled = true;
  int Tag = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  QString Name;
  plat::TColor CaptionColor = 0xFFFFFF;
  // Drawn in the appearance's SpecialTextColor.
  bool Special = false;
  plat::TPicture* Image() const { return FImage.get(); }
  void SetImage(plat::TPicture* Value);
  plat::TRect GetRect() const { return plat::TRect(Left, Top, Left + Width, Top + Height); }

 private:
  std::unique_ptr<plat::TPicture> FImage;
};

class TButtonItems : public plat::TCollection {
  PLAT_CLASS(TButtonItems)

  explicit TButtonItems(plat::TPersistent* AOwner);
  plat::TPersistent* Owner() const override { return FOwner; }
  TButtonItem* Add() { return static_cast<TButtonItem*>(plat::TCollection::Add()); }
  TButtonItem* Insert(int Index) { return static_cast<TButtonItem*>(plat::TCollection::Insert(Index)); }
  TButtonItem* GetItem(int Index) const { return static_cast<TButtonItem*>(Items(Index)); }
  void SetItem(int Index, TButtonItem* Value) { SetItems(Index, Value); }
  plat::TNotifyEvent OnChange;

 protected:
  void Update(plat::TCollectionItem* Item) override;

 private:
  plat::TPersistent* FOwner;
};

class TButtonAppearance : public plat::TPersistent {
  PLAT_CLASS(TButtonAppearance)

  TButtonAppearance();
  // Every colour and the font of another keypad appearance.
  void Assign(plat::TPersistent* Source) override;

#define DROPDOWN_KEY_COLOR(Name)                \
  plat::TColor Name() const { return F##Name; } \
  void Set##Name(plat::TColor Value) {          \
    if (Value == F##Name) return;               \
    F##Name = Value;                            \
    Changed();                                  \
  }
  DROPDOWN_KEY_COLOR(BorderColor)
  DROPDOWN_KEY_COLOR(BorderColorHot)
  DROPDOWN_KEY_COLOR(BorderColorDown)
  DROPDOWN_KEY_COLOR(BorderColorChecked)
  DROPDOWN_KEY_COLOR(Color)
  DROPDOWN_KEY_COLOR(ColorTo)
  DROPDOWN_KEY_COLOR(ColorDown)
  DROPDOWN_KEY_COLOR(ColorDownTo)
  DROPDOWN_KEY_COLOR(ColorHot)
  DROPDOWN_KEY_COLOR(ColorHotTo)
  DROPDOWN_KEY_COLOR(ColorCheckedTo)
  DROPDOWN_KEY_COLOR(ColorDisabled)
  DROPDOWN_KEY_COLOR(ColorDisabledTo)
  DROPDOWN_KEY_COLOR(ColorChecked)
  DROPDOWN_KEY_COLOR(TextColor)
  DROPDOWN_KEY_COLOR(SpecialTextColor)
#undef DROPDOWN_KEY_COLOR
  plat::TColor ShineColor() const { return FShineColor; }
  void SetShineColor(plat::TColor Value) { FShineColor = Value; }
  plat::TColor GlowColorHot = 0xD5C244;
  plat::TColor GlowColorDown = 0xD5C244;
  plat::TFont* Font() { return &FFont; }
  void SetFont(const plat::TFont& Value) { FFont.Assign(Value); }

  plat::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  plat::TColor FBorderColor = 0, FBorderColorHot = 0, FBorderColorDown = 0, FBorderColorChecked = 0xFF0000;
  plat::TColor FColor = 0x9A915F, FColorTo = 0xB0A170, FColorDown = 0x4B2F08, FColorDownTo = 0xADB514;
  plat::TColor FColorHot = 0x9F6F1C, FColorHotTo = 0xD5C244;
  plat::TColor FColorCheckedTo, FColorDisabled, FColorDisabledTo, FColorChecked;
  plat::TColor FShineColor = 0xFFFFFF;
  plat::TColor FTextColor = 0, FSpecialTextColor = 0x000080;
  plat::TFont FFont;
};

enum TButtonPanelType { plCalculator, plCustom };

using TCalculatorButtonClickEvent = std::function<void(plat::TObject* Sender, int Index)>;

class TCustomButtonPanel : public plat::TCustomControl {
 public:
  explicit TCustomButtonPanel(plat::TComponent* AOwner);
  ~TCustomButtonPanel() override;

  TButtonItems* Buttons() const { return FButtons.get(); }
  void SetButtons(TButtonItems* Value) { FButtons->Assign(Value); }
  TItemLayout ButtonLayout = ilCaptionRight;
  int ItemColorStyle = 0;
  plat::TCustomImageList* Images() const { return FImages; }
  void SetImages(plat::TCustomImageList* Value);
  plat::TControl* Edit() const { return FEdit; }
  void SetEdit(plat::TControl* Value);
  TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
  void SetButtonPanelType(TButtonPanelType Value);
  TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
  // The drop-down that hosts the panel (nullptr: the panel stands alone).
  void SetExtDropDown(TExtCustomDropDown* Value) { FExtDropDown = Value; }
  int ButtonHot() const { return FButtonHot; }
  int ButtonDown() const { return FButtonDown; }
  int CaptionGap = 0;

  // The first key whose rectangle holds the point (an earlier key wins on a shared line), -1 for none.
  int ButtonAtPos(int X, int Y) const;
  // The key's rectangle; (-1, -1, -1, -1) for an index outside the collection.
  plat::TRect GetButtonRect(int Index) const;

  virtual void DrawButton(int Index, plat::TCanvas* Canvas);
  virtual void GetButtonArea(plat::TRect& Rect) const;
  // The size that fits the largest picture and caption of all keys.
  virtual void MeasureButtons(int& Width, int& Height);
  virtual void ClearButtons();
  virtual void ResetButtons();
  virtual void CreateDefaultButtons();
  virtual void ArrangeButtons();
  virtual void InvalidateButton(int Index);
  virtual void DoButtonClick(int Index);

  TCalculatorButtonClickEvent OnButtonClick;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Loaded() override;
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  void SetButtonHot(int Index);
  void SetButtonDown(int Index);
  bool ButtonEnabled(int Index) const;
  plat::TSize PictureSize(const TButtonItem& Item) const;
  void DrawFace(plat::TCanvas& Canvas, const plat::TRect& Rect, int State);
  void DrawContent(plat::TCanvas& Canvas, const TButtonItem& Item, const plat::TRect& Content);

  std::unique_ptr<TButtonItems> FButtons;
  int FButtonHot = -1;
  int FOffSetX = 8, FOffSetY = 8;
  int FButtonOffSetX = 4, FButtonOffSetY = 4;
  plat::TCustomImageList* FImages = nullptr;
  plat::TControl* FEdit = nullptr;
  TButtonPanelType FButtonPanelType = plCalculator;
  std::unique_ptr<TButtonAppearance> FButtonAppearance;
  int FButtonDown = -1;
  TExtCustomDropDown* FExtDropDown = nullptr;
};

}  // namespace dropdown
