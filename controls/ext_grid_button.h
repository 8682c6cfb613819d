#pragma once
// TExtGridButton: the flat glyph button of the grid's search panel (find next, find previous, highlight,
// close). A window-less button with glyphs for its states, colour gradients for normal, hot, down and checked
// looks, seven colour looks, a check style, speed-button groups (GroupIndex, AllowAllUp) and an optional
// drop-down part at its right edge.

#include <QString>

#include <memory>

#include "platform/forms/actions.h"
#include "platform/forms/controls.h"
#include "platform/forms/menus.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/types.h"

namespace controls {

enum TExtButtonState { ebsUp, ebsDisabled, ebsDown, ebsExclusive };
enum TExtButtonLayout { eblGlyphLeft, eblGlyphRight, eblGlyphTop, eblGlyphBottom };
enum TExtGridButtonKind { tasButton, tasCheck };

// Glyph and caption positions in a client area (pure: painting and tests share it).
struct TButtonLayoutResult {
  plat::TPoint Glyph, Caption;
};
TButtonLayoutResult LayoutGlyphAndCaption(plat::TSize Client, plat::TSize GlyphSize, plat::TSize CaptionSize,
                                          TExtButtonLayout Layout, int Margin, int Spacing);

class TExtGridButton;

// Ties a button to an action: the caption while the button shows the action's caption, the checked state of
// a group button that may be released (AllowAllUp) while Down shows the action's checked state, and the
// group index while it is the action's.
class TExtGridButtonActionLink : public plat::TControlActionLink {
 public:
  explicit TExtGridButtonActionLink(TExtGridButton* Client);
  bool IsCheckedLinked() const override;
  bool IsGroupIndexLinked() const override;
  void SetChecked(bool Value) override;
  void SetGroupIndex(int Value) override;

 private:
  TExtGridButton* Button() const;
};

class TExtGridButton : public plat::TGraphicControl {
 public:
  explicit TExtGridButton(plat::TComponent* AOwner);
  ~TExtGridButton() override;

  // ---- colours (setters store and repaint where the look shows it)
  plat::TColor ColorTo = plat::clNone, ColorHot = plat::TColor(0xCAC7C7), ColorHotTo = plat::clNone;
  plat::TColor ColorDown = plat::TColor(0xD8D3D2), ColorDownTo = plat::clNone;
  plat::TColor ColorChecked = plat::clGray, ColorCheckedTo = plat::clNone;
  plat::TColor BorderColor = plat::clNone, BorderDownColor = plat::clNone, BorderHotColor = plat::clNone;
  // 0 .. 6 set the colours of a look; other numbers change nothing.
  int Look() const { return FLook; }
  void SetLook(int Value);
  // Takes the look of the desktop's colour scheme now and on every theme change.
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  // Look 2 for the blue scheme, 3 green, 4 grey, 1 otherwise.
  void ThemeAdapt();

  // ---- glyphs
  plat::TBitmap* Glyph() { return &FGlyph; }
  // Also makes the disabled glyph (grey) while that one is empty.
  void SetGlyph(const plat::TBitmap& Value);
  plat::TBitmap* GlyphHot() { return &FGlyphHot; }
  plat::TBitmap* GlyphDown() { return &FGlyphDown; }
  plat::TBitmap* GlyphDisabled() { return &FGlyphDisabled; }
  plat::TBitmap* ShadeGlyph() { return &FGlyphShade; }

  // ---- behaviour and layout
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Shaded() const { return FShaded; }
  void SetShaded(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // -1 centres; values below -1 are refused.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  TExtButtonLayout Layout() const { return FLayout; }
  void SetLayout(TExtButtonLayout Value);
  TExtGridButtonKind Style() const { return FStyle; }
  void SetStyle(TExtGridButtonKind Value);
  bool Rounded() const { return FRounded; }
  void SetRounded(bool Value);
  bool DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(bool Value);
  // Kept false unless the button is in a group or a check button.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  // A button that is not flat draws the themed push button when themes are on.
  bool AutoXPStyle = false;
  plat::TNotifyEvent OnDropDown;
  // Pops up under the button when its drop-down part is pressed; cleared when the menu goes away.
  plat::TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(plat::TPopupMenu* Value);

  // The action the button follows and runs when clicked (nullptr: none); not owned.
  plat::TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(plat::TBasicAction* Value);
  TExtGridButtonActionLink* ActionLink() const { return FActionLink.get(); }
  // OnClick, or the action when there is no OnClick.
  void Click() override;
  void Loaded() override;

  TExtButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  bool InClient(int X, int Y) const { return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight(); }
  void TellGroup();
  void ButtonPressed(int Group, TExtGridButton* Sender);
  void MakeShade();
  void ActionChange(plat::TCustomAction* A);
  void PaintThemed(plat::TCanvas& C, plat::TRect& R);
  void Fill(plat::TCanvas& C, plat::TRect R, plat::TColor From, plat::TColor To, plat::TColor Pen);
  void PaintFlat(plat::TCanvas& C, plat::TRect& R);
  void PaintContent(plat::TCanvas& C, plat::TRect R, plat::TPoint Offset);
  const plat::TBitmap& GlyphNow() const;
  template <class T>
  void Change(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
  }

  TExtButtonState FState = ebsUp;
  bool FDragging = false, FMouseInControl = false;
  plat::TBitmap FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FGlyphShade;
  bool FFlat = true, FShaded = true, FShowCaption = true, FRounded = false, FDropDownButton = false;
  int FSpacing = 4, FMargin = -1;
  TExtButtonLayout FLayout = eblGlyphLeft;
  TExtGridButtonKind FStyle = tasButton;
  bool FDown = false, FAllowAllUp = false;
  int FGroupIndex = 0;
  int FLook = -1;
  bool FAutoThemeAdapt = false;
  plat::TPopupMenu* FDropDownMenu = nullptr;
  std::unique_ptr<TExtGridButtonActionLink> FActionLink;
};

}  // namespace controls
