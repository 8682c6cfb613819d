#include "controls/state_button.h"

namespace controls {

using namespace plat;

TStateButton::TStateButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->SetSize(0, 0);
  FControlStyle.Exclude(csSetCaption);
}

TStateButton::~TStateButton() = default;

void TStateButton::SetIsWinXP(bool v) {
  FIsWinXP = v;
  Invalidate();
}

void TStateButton::SetFlat(bool v) {
  FFlat = v;
  Invalidate();
}

void TStateButton::Dispatch(TMessage& M) {
  if (M.Msg == CM_MOUSEENTER || M.Msg == CM_MOUSELEAVE) {
    FHot = M.Msg == CM_MOUSEENTER;
    Invalidate();
  }
  TGraphicControl::Dispatch(M);
}

void TStateButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  FDown = true;
  Invalidate();
}

void TStateButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FDown = false;
  Invalidate();
}

}  // namespace controls
