#pragma once
// TExtColorPickerDropDown: a drop-down for choosing a colour. The edit shows a small box in the chosen colour
// and, optionally, a text naming or encoding it; it cannot be typed into unless EditorEnabled is set. The
// popup offers one of four ways to choose (ColorSelectionStyle): a list of named colours, a palette of 60
// colour boxes, a hexagonal colour cube or a colour spectrum.

#include <QString>

#include <memory>

#include "dropdown/color_panels.h"
#include "dropdown/ext_dropdown.h"
#include "dropdown/item_selector.h"

namespace plat {
class TTimer;
}

namespace dropdown {

class TCustomColorSelector;
class TSelectorSteps;

enum TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

// The web colour whose value is the colour's RGB value (system colours resolved first), as its identifier
// ("clWebSnow"); empty when none is.
QString WebColorName(plat::TColor Color);
// The number of web colours and each identifier with its value, in table order.
int WebColorCount();
QString WebColorIdent(int Index);
plat::TColor WebColorValue(int Index);
// The text the picker shows for a colour without a list caption.
QString ColorValueAsText(plat::TColor Color, TColorValueText Kind);

class TExtColorPickerDropDown : public TExtCustomDropDown {
 public:
  explicit TExtColorPickerDropDown(plat::TComponent* AOwner);
  ~TExtColorPickerDropDown() override;

  // Appends the 16 default named colours (those present stay).
  void AddDefaultColors();

  TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
  // Prepares the popup control of the style at once and sizes the popup to it.
  void SetColorSelectionStyle(TColorSelectionStyle Value);
  TColorItems* Colors() const { return FColors.get(); }
  void SetColors(TColorItems* Value) { FColors->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // Ignored at or beyond the number of colours (below -1 counts as -1); takes SelectedColor from the named
  // colour, repaints and fires OnSelect, also for -1 and for the index already selected.
  void SetItemIndex(int Value);
  plat::TColor SelectedColor() const { return FSelectedColor; }
  // Selects the first named colour that has it (firing OnSelect) or clears the selected name (silently).
  void SetSelectedColor(plat::TColor Value);
  QString SelectedColorText() const { return GetSelectedColorText(); }
  virtual QString GetSelectedColorText() const;
  TColorValueText ColorValueText() const { return FColorValueText; }
  void SetColorValueText(TColorValueText Value);
  bool ShowText() const { return FShowText; }
  void SetShowText(bool Value);

  // Stored; the popup takes them when it next opens.
  int ColorBoxWidth() const { return FColorBoxWidth; }
  void SetColorBoxWidth(int Value) { FColorBoxWidth = Value; }
  int ColorBoxHeight() const { return FColorBoxHeight; }
  void SetColorBoxHeight(int Value) { FColorBoxHeight = Value; }
  int Columns() const { return FColumns; }
  // Values below 1 are refused.
  void SetColumns(int Value);
  TItemLayout Layout() const { return FLayout; }
  void SetLayout(TItemLayout Value) { FLayout = Value; }
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }

  // The popup's controls (nullptr until their style is first chosen).
  TExtCustomItemSelector* ItemSelector() const { return FItemSelector; }
  TCustomColorSelector* ColorSelector() const { return FColorSelector; }
  TExtColorCubePanel* CubePanel() const { return FCubePanel; }
  TExtColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }

  void SetComponentStyle(TExtStyle AStyle) override;
  void SetSelectionColorStyle(TSelectionColorStyle Value) override;

  plat::TNotifyEvent OnSelect;
  TOnDrawSelectedItem OnDrawSelectedColor;
  TDrawItemEvent OnDrawColor;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void PlaceDropDownControl() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancelled) override;
  void DropDownFormDestroyed() override;
  void HandleMouseWheelDown() override;
  void HandleMouseWheelUp() override;
  void PaintEditContent(plat::TCanvas& Canvas) override;

 private:
  // The popup control of the current style, created when missing, made the hosted control and loaded.
  void PreparePopupControl();
  plat::TControl* StyleControl() const;
  void CreateStyleControl();
  void PrepareList();
  void FillListItems();
  void ListItemSelect();
  void PanelSelect(plat::TColor Color, bool Hide);
  void KeyTimerTick();
  bool EnterOnHotItem(std::uint16_t Key);
  void ListKeyDown(std::uint16_t Key);
  void DiscreteKeyDown(std::uint16_t Key);
  TSelectorSteps Steps();
  template <class TStep>
  void Internal(TStep Step);

  TColorSelectionStyle FColorSelectionStyle = csList;
  std::unique_ptr<TColorItems> FColors;
  int FItemIndex = -1;
  plat::TColor FSelectedColor = plat::clNone;
  TColorValueText FColorValueText = cvtNone;
  bool FShowText = true;
  int FColorBoxWidth = 14;
  int FColorBoxHeight = 14;
  int FColumns = 1;
  TItemLayout FLayout = ilCaptionRight;
  std::unique_ptr<TItemAppearance> FItemAppearance;

  TExtCustomItemSelector* FItemSelector = nullptr;
  TCustomColorSelector* FColorSelector = nullptr;
  TExtColorCubePanel* FCubePanel = nullptr;
  TExtColorSpectrumPanel* FSpectrumPanel = nullptr;

  // The size the current style's panel gave itself: the popup is sized from it.
  plat::TSize FPanelSize;
  int FOldItemIndex = -1;
  plat::TColor FOldSelectedColor = plat::clNone;
  bool FInternalCall = false;
  plat::TTimer* FKeyTimer = nullptr;
  QString FCurSearch;
  bool FDestroying = false;
};

}  // namespace dropdown
