#pragma once
// TExtCheckBox: the owner-drawn check box of the grid's search panel (its match-case option). It paints its
// box and caption itself, may take its parent's background (Transparent), turns Enter into Tab on request
// (ReturnIsTab), and keeps its state while ReadOnly although it still reports clicks.

#include <QString>

#include <memory>

#include "platform/forms/controls.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/gdivalues.h"
#include "platform/graphics/graphic.h"

namespace controls {

// Whether Key is the accelerator ("&" letter, any case) of Caption.
bool IsCaptionAccel(char16_t Key, const QString& Caption);

class TExtCheckBox : public plat::TCustomControl {
 public:
  explicit TExtCheckBox(plat::TComponent* AOwner);
  ~TExtCheckBox() override;

  // Unless ReadOnly: Checked := not Checked.
  virtual void Toggle();
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  plat::TCheckBoxState State() const { return FState; }
  void SetState(plat::TCheckBoxState Value);
  bool Checked() const { return FState == plat::cbChecked; }
  void SetChecked(bool Value);
  // taLeftJustify: box left of the caption; taRightJustify: box at the right edge.
  plat::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(plat::TAlignment Value);
  plat::TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
  void SetButtonVertAlign(plat::TTextLayout Value);
  bool Ellipsis() const { return FEllipsis; }
  void SetEllipsis(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool ReadOnly = false;
  bool ReturnIsTab = false;
  bool Hot() const { return FHot; }
  bool IsDown() const { return FDown; }
  // The box's rectangle in client pixels (themed or classic).
  plat::TRect BoxRect() const;
  // Whether the box is drawn by the theme (themes on, common controls 6 or later).
  bool Themed() const;
  // The theme state the box is drawn in (CBS_...).
  int ThemeState() const;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  void TextChanged() override { Invalidate(); }
  plat::LRESULT DefaultDlgCode() const override;

 private:
  bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X <= Width() && Y <= Height(); }
  void ClickNow();
  void PaintBox(plat::TCanvas& C);
  void InvalidateBox() { Invalidate(); }

  plat::TCheckBoxState FState = plat::cbUnchecked;
  plat::TAlignment FAlignment = plat::taLeftJustify;
  plat::TTextLayout FBtnVAlign = plat::tlTop;
  bool FEllipsis = false, FTransparent = false;
  bool FDown = false, FFocused = false, FHot = false, FClicksDisabled = false, FMouseDown = false;
  std::unique_ptr<plat::TBitmap> FBkgBmp;
};

}  // namespace controls
