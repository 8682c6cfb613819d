#pragma once
// The visible machinery of every drop-down: the popup window that hosts the drop-down's control between an
// optional header and footer bar and closes when the user turns to another window (TDropDownForm), the
// container at the edit's right edge (TDropDownEditButton) and the arrow button inside it
// (TExtDropDownSpeedButton).

#include <cstdint>
#include <functional>

#include "platform/forms/controls.h"
#include "platform/forms/popupform.h"
#include "platform/graphics/graphic.h"

class QWidget;

namespace dropdown {

class TExtCustomDropDown;

// Milliseconds since an arbitrary start, wrapping at 2^32 (the popup's deactivation time is compared with it).
std::uint32_t TickCount();
// Tests drive the clock; an empty function restores the system's.
void SetTickSource(std::function<std::uint32_t()> Source);

// The popup. It is created once per drop-down, hidden, and only shown and hidden afterwards.
class TDropDownForm : public plat::TPopupForm {
 public:
  explicit TDropDownForm(plat::TComponent* AOwner);
  TDropDownForm(plat::TComponent* AOwner, int Dummy);

  // Tick count of the last deactivation while shown (see TickCount).
  std::uint32_t DeActivateTime() const { return FDeActivate; }
  bool Shadow() const { return FShadow; }
  void SetShadow(bool Value) { FShadow = Value; }
  TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }
  void SetExtDropDown(TExtCustomDropDown* Value) { FExtDropDown = Value; }
  // The bottom-right corner (its last 10 pixels each way) resizes the popup.
  bool Sizeable() const { return FSizeable; }
  void SetSizeable(bool Value) { FSizeable = Value; }
  // Closing by deactivation counts as cancelled.
  bool CancelOnDeActivate() const { return FCancelOnDeActivate; }
  void SetCancelOnDeActivate(bool Value) { FCancelOnDeActivate = Value; }
  // While set, activation changes are ignored: a descendant sets it around the dialogs it opens from the popup.
  bool BlockActivate() const { return FBlockActivate; }
  void SetBlockActivate(bool Value) { FBlockActivate = Value; }
  // The header and footer bars (TExtHeader, TExtFooter), made the first time they show.
  plat::TControl* Header() const { return FHeader; }
  plat::TControl* Footer() const { return FFooter; }

  // Builds or refreshes the bars from the drop-down's header and footer settings.
  virtual void InitializeAndUpdate();
  // Resizing from the bottom-right corner as if it was pressed at the screen point Global (the footer's size
  // grip starts it this way); the moves and the release that follow go to GripSizeTo and EndGripSizing.
  void BeginGripSizing(const plat::TPoint& Global);
  bool GripSizing() const { return FGripping; }
  void GripSizeTo(const plat::TPoint& Global) { ResizeFromGrip(Global); }
  void EndGripSizing();
  virtual void UpdateSize() {}
  // The client rectangle that aligned children fill: inset by the drop-down's border width.
  plat::TRect ClientRect() const override;

  plat::TNotifyEvent OnSizing;
  // Events the drop-down wires (the popup's own keys, wheel and life).
  plat::TKeyEvent OnFormKeyDown;
  plat::TKeyEvent OnFormKeyUp;
  plat::TKeyPressEvent OnFormKeyPress;
  std::function<void(plat::TShiftState, plat::TPoint)> OnWheelDown;
  std::function<void(plat::TShiftState, plat::TPoint)> OnWheelUp;

  void Dispatch(plat::TMessage& Message) override;
  // The popup's background and border, painted over its client area by the host after each paint.
  void PaintBackground(plat::TCanvas& Canvas);

 protected:
  void Activated(plat::WPARAM State, plat::HWND Other);
  plat::TControl* FHeader = nullptr;
  plat::TControl* FFooter = nullptr;

 private:
  void ResizeFromGrip(const plat::TPoint& Global);
  std::uint32_t FDeActivate = 0;
  bool FShadow = true;
  TExtCustomDropDown* FExtDropDown = nullptr;
  bool FSizeable = false;
  bool FCancelOnDeActivate = true;
  bool FBlockActivate = false;
  bool FGripping = false;
  plat::TPoint FGripOffset;
};

enum TDropButtonStyle { bsButton, bsDropDown };

// The arrow button inside the edit's button container.
class TExtDropDownSpeedButton : public plat::TGraphicControl {
 public:
  explicit TExtDropDownSpeedButton(plat::TComponent* AOwner);

  bool Etched() const { return FEtched; }
  void SetEtched(bool Value);
  bool Focused() const { return FFocused; }
  void SetFocused(bool Value);
  bool Hot() const { return FHot; }
  TDropButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TDropButtonStyle Value);
  // From now on the button never draws pressed.
  void SetUp() { FUp = true; }
  bool Down() const { return FDown; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value) { FFlat = Value; }
  plat::TBitmap* Glyph() { return &FGlyph; }
  int NumGlyphs = 1;
  bool ThemesActive() const;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  void PaintDropDownLook();
  void PaintButtonLook();
  int ThemeState() const;
  bool DrawnPressed() const { return FDown && !FUp; }
  bool FEtched = false;
  bool FFocused = false;
  bool FHot = false;
  bool FUp = false;
  bool FIsWinXP = true;
  bool FDown = false;
  bool FFlat = false;
  TDropButtonStyle FButtonStyle = bsDropDown;
  plat::TBitmap FGlyph;
};

// The container at the right edge of the edit; its click (on the button's release) opens the popup.
class TDropDownEditButton : public plat::TWinControl {
 public:
  explicit TDropDownEditButton(plat::TComponent* AOwner);

  TExtDropDownSpeedButton* SpeedButton() const { return FButton; }
  plat::TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(plat::TWinControl* Value) { FFocusControl = Value; }
  int ButtonWidth() const { return FBWidth; }
  void SetButtonWidth(int Value) { FBWidth = Value; }
  // The width is always the button width, whatever is asked for.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  plat::TBitmap* Glyph() const { return FButton->Glyph(); }
  QString ButtonCaption() const { return FButton->Caption(); }
  void SetButtonCaption(const QString& Value) { FButton->SetCaption(Value); }
  int NumGlyphs() const { return FButton->NumGlyphs; }
  void SetNumGlyphs(int Value) { FButton->NumGlyphs = Value; }

  // Colours of the coloured look; ButtonColor clNone selects the system looks.
  plat::TColor ButtonColorDown = plat::clNone;
  plat::TColor ButtonBorderColor = plat::clNone;
  plat::TColor ButtonTextColor = plat::clNone;
  plat::TColor ButtonTextColorHot = plat::clNone;
  plat::TColor ButtonColor = plat::clNone;
  plat::TColor ButtonColorHot = plat::clNone;
  plat::TColor ButtonTextColorDown = plat::clNone;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void EnabledChanged() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  void AdjustButtonSize();
  TExtDropDownSpeedButton* FButton = nullptr;
  plat::TWinControl* FFocusControl = nullptr;
  int FBWidth = 16;
};

}  // namespace dropdown
