#pragma once
// TLbButton: the push button of every window. A focusable, fully self-painted control with a caption, an
// optional glyph strip (normal, disabled, pressed, hot), six drawing styles, colour presets, hot tracking with
// an optional fading return, default and cancel keys, a modal result and an optional popup menu that opens
// under the button after each click.

#include <QString>

#include <functional>
#include <memory>

#include "platform/forms/controls.h"
#include "platform/forms/dialogs.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphic.h"

class QTimer;

namespace controls {

enum TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TLbButtonKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TLbButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TLbColorStyle {
  lcsCustom, lcsGold, lcsChrome, lcsBlue, lcsRed, lcsUltraFlat1, lcsUltraFlat2, lcsUltraFlatXP, lcsAqua,
  lcsDefault, lcsQuicken
};

class TLbButton;

// The fade of the hot colour after the mouse left a SlowDecease button: every 30 ms it hands one fade step to
// the GUI thread. It is created suspended and runs only while a fade is in progress.
class TLbButtonThread {
 public:
  explicit TLbButtonThread(std::function<void()> Notify);
  ~TLbButtonThread();
  void Resume();
  void Suspend();
  bool Suspended() const;
  std::function<void()> FNotify;

 private:
  std::unique_ptr<QTimer> FTimer;
};

// The images the kinds load ("LBOK", "LBCANCEL", ..., "LBALL") and the drop-down arrow "LBARROW"; an unknown
// name gives an empty bitmap.
std::unique_ptr<plat::TBitmap> LbButton_Resource(const QString& Name);

class TLbButton : public plat::TCustomControl {
 public:
  explicit TLbButton(plat::TComponent* AOwner);
  ~TLbButton() override;

  plat::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(plat::TAlignment v);
  plat::TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(plat::TColor v);
  plat::TColor LightColor() const { return FLightColor; }
  void SetLightColor(plat::TColor v);
  plat::TColor ColorWhenDown() const { return FColorWhenDown; }
  void SetColorWhenDown(plat::TColor v);
  plat::TColor HotTrackColor() const { return FHotTrackColor; }
  void SetHotTrackColor(plat::TColor v);
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  plat::TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(const plat::TBitmap* v);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int v);
  plat::TFont* HotTrackFont() const { return FHTFont.get(); }
  void SetHotTrackFont(const plat::TFont& v);
  bool UseHotTrackFont() const { return FUseHTFont; }
  void SetUseHotTrackFont(bool v);
  TLbButtonKind Kind() const { return FKind; }
  void SetKind(TLbButtonKind v);
  TLbButtonLayout Layout() const { return FLayout; }
  void SetLayout(TLbButtonLayout v);
  plat::TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(plat::TModalResult v);
  // Reads lcsCustom always; writing a preset sets its colours, Flat, the font colour and the style.
  TLbColorStyle ColorStyle() const { return FDummyStyle; }
  void SetColorStyle(TLbColorStyle v);
  TLbButtonStyle Style() const { return FStyle; }
  void SetStyle(TLbButtonStyle v);
  // The window is transparent in its corners (bsModern, bsShape, bsQuicken).
  bool Transparent() const { return FTransparent; }
  bool Default() const { return FDefault; }
  void SetDefault(bool v) { FDefault = v; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  bool SlowDecease() const { return FSlowDecease; }
  void SetSlowDecease(bool v);
  void SetEnabled(bool v) override;

  // State, for painting and for tests.
  bool Down() const { return bDown; }
  bool Hot() const { return bCursorOnButton; }
  int HotTrackStep() const { return FHotTrackStep; }
  TLbButtonThread* FadeThread() const { return FThread.get(); }
  // The face colour the painter uses now.
  plat::TColor FaceColor() const;
  // Index of the glyph image drawn now (-1: no glyph).
  int GlyphIndex() const;
  // The caption as drawn (shortened from the end to fit unless WordWrap).
  QString DrawnCaption();

  void Click() override;
  plat::TNotifyEvent OnMouseExit;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  plat::LRESULT DefaultDlgCode() const override;
  void TextChanged() override { Invalidate(); }

 private:
  void ClickAction();
  void FadeStep();
  bool ParentShowing() const;
  void PaintFace(plat::TCanvas* C, int W, int H, bool Focused);
  void Changed() { Invalidate(); }
  // Stores a new property value and repaints; an unchanged value repaints nothing.
  template <class T>
  void Change(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }

  plat::TAlignment FAlignment = plat::taCenter;
  plat::TColor FShadowColor = plat::clGray;
  plat::TColor FColorWhenDown = plat::clNone;
  bool FEnabled = true;
  bool FFlat = false;
  bool FWordWrap = false;
  std::unique_ptr<plat::TBitmap> FGlyph;
  plat::TColor FHotTrackColor = plat::clNone;
  std::unique_ptr<plat::TFont> FHTFont;
  TLbButtonKind FKind = bkCustom;
  TLbButtonLayout FLayout = blGlyphLeft;
  plat::TColor FLightColor = plat::clWhite;
  plat::TModalResult FModalResult = plat::mrNone;
  int FNumGlyphs = 0;
  bool FUseHTFont = false;
  TLbColorStyle FDummyStyle = lcsCustom;
  TLbButtonStyle FStyle = bsNormal;
  bool FDefault = false;
  bool FCancel = false;
  bool FSlowDecease = false;
  bool bDown = false;
  bool bCursorOnButton = false;
  std::unique_ptr<TLbButtonThread> FThread;
  int FHotTrackStep = 0;
  bool FTransparent = false;
  bool FDestroying = false;
};

}  // namespace controls
