#pragma once
// TEsgCustomCombo / TEsgComboBox: a combo box that can draw its own flat or coloured border and drop-down
// button over the platform's look, change colour and label style while focused, and carry a caption label
// placed around it.

#include <QString>

#include <memory>

#include "controls/state_button.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/gdiobjects.h"

namespace plat {
class TCanvas;
}

namespace controls {

enum TLabelPosition {
  lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
  lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

// The frame of a combo-like control (the flat combo box and the own-look date picker): the colour a frame
// takes - disabled-themed colour, focus colour while focused, border colour - or clNone for the flat frames;
// False when nothing is to be drawn (only a focus colour is set, and there is no focus).
bool ComboFrameColour(bool DisabledThemed, bool Focused, plat::TColor FocusBorderColor, plat::TColor BorderColor,
                      plat::TColor& Frame);
// One frame in Frame around the control, or (Frame clNone) the flat frames: the parent's colour around it and
// around the part left of the button, the control's colour inside that. Answers the innermost rectangle.
plat::TRect PaintComboFrame(plat::TCanvas& C, int Width, int Height, int ButtonWidth, plat::TColor Frame,
                            plat::TColor ParentColor, plat::TColor ControlColor);
// Places a caption label around a control (the margin M apart): beside it on the left or right, above or below.
void PlaceAttachedLabel(plat::TLabel& Label, const plat::TControl& Control, TLabelPosition Position, int Margin);

class TEsgCustomCombo : public plat::TComboBox, public TButtonColors {
 public:
  explicit TEsgCustomCombo(plat::TComponent* AOwner);
  ~TEsgCustomCombo() override;

  int ButtonWidth() const { return FButtonWidth; }
  // Values outside 14..32 are ignored.
  void SetButtonWidth(int v);
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  bool Etched() const { return FEtched; }
  void SetEtched(bool v);
  plat::TColor FlatLineColor() const { return FFlatLineColor; }
  void SetFlatLineColor(plat::TColor v);
  bool FlatParentColor() const { return FFlatParentColor; }
  void SetFlatParentColor(bool v);
  plat::TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(plat::TColor v);
  plat::TColor FocusBorderColor() const { return FFocusBorderColor; }
  void SetFocusBorderColor(plat::TColor v);
  plat::TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(plat::TColor v) { FFocusColor = v; }
  bool FocusLabel() const { return FFocusLabel; }
  void SetFocusLabel(bool v) { FFocusLabel = v; }
  bool DisabledBorder() const { return FDisabledBorder; }
  void SetDisabledBorder(bool v);
  int DropWidth() const { return FDropWidth; }
  void SetDropWidth(int v);
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  bool IsVista = false;

  // Attached label (created on the first caption).
  QString LabelCaption() const;
  void SetLabelCaption(const QString& v);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition v);
  int LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(int v);
  plat::TFont* LabelFont() const { return FLabelFont.get(); }
  void SetLabelFont(const plat::TFont& v);
  bool LabelTransparent() const { return FLabelTransparent; }
  void SetLabelTransparent(bool v);
  bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
  void SetLabelAlwaysEnabled(bool v);
  plat::TLabel* ComboLabel() const { return FLabel; }

  // Remembers Color as the colour to return to when the focus leaves.
  void Init() { FNormalColor = Color(); }
  void SelectItem(const QString& AString);
  bool HasFocus() const { return FHasFocus; }
  bool MouseInControl() const { return FMouseInControl; }
  bool ButtonHover() const { return FButtonHover; }
  // Whether the paint draws the control's own button and borders over the platform's look.
  bool OwnLook() const;

  plat::TNotifyEvent OnDropUp;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(plat::TMessage& Message) override;
  void DropDownShown() override;
  void DropDownHidden() override;

 protected:
  void Loaded() override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void EnabledChanged() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void VisibleChanged() override;
  void FontChanged() override;

 private:
  bool Themed() const;
  bool MouseButtonHeld() const;
  void DrawButton(plat::TCanvas& C);
  void DrawBorders(plat::TCanvas& C);
  void FocusChanged(bool Entering);
  void PlaceLabel();
  void LabelBold(bool v);

  int FButtonWidth = 19;  // the vertical scroll bar's width + 2
  bool FFlat = false;
  bool FEtched = false;
  plat::TColor FFlatLineColor = plat::clNone;
  bool FFlatParentColor = true;
  plat::TColor FLoadedColor = plat::clWindow;
  plat::TColor FOldColor = plat::clWindow;
  bool FOldParentColor = false;
  plat::TColor FBorderColor = plat::clNone;
  plat::TColor FFocusBorderColor = plat::clNone;
  plat::TColor FFocusColor = plat::clNone;
  plat::TColor FNormalColor = 0;
  bool FFocusLabel = false;
  bool FDisabledBorder = true;
  int FDropWidth = 0;
  bool FIsWinXP = false;
  bool FMouseInControl = false;
  bool FButtonHover = false;
  bool FHasFocus = false;
  plat::TLabel* FLabel = nullptr;
  std::unique_ptr<plat::TFont> FLabelFont;
  TLabelPosition FLabelPosition = lpLeftTop;
  int FLabelMargin = 4;
  bool FLabelTransparent = false;
  bool FLabelAlwaysEnabled = false;
};

class TEsgComboBox : public TEsgCustomCombo {
 public:
  using TEsgCustomCombo::TEsgCustomCombo;
};

}  // namespace controls
