#include "controls/state_button.h"

#include "platform/graphics/canvas.h"

namespace controls {

void TButtonColors::PaintFlatDropButton(plat::TCanvas& C, const plat::TRect& Face, const plat::TRect& Edge,
                                        int ArrowLeft, bool Hover, bool Held) const {
  plat::TColor fill = ButtonColor;
  if (Hover) fill = Held && ButtonColorDown != plat::clNone ? ButtonColorDown
                    : ButtonColorHot != plat::clNone      ? ButtonColorHot
                                                          : fill;
  C.Brush()->SetStyle(plat::bsSolid);
  C.Brush()->SetColor(fill);
  C.FillRect(Face);
  if (ButtonBorderColor != plat::clNone) {
    C.Pen()->SetColor(ButtonBorderColor);
    C.MoveTo(Edge.Left, Edge.Top);
    C.LineTo(Edge.Left, Edge.Bottom);
  }
  const plat::TColor arrow = Held && ButtonTextColorDown != plat::clNone ? ButtonTextColorDown : ButtonTextColor;
  if (arrow == plat::clNone) return;
  const int y = Edge.Top + 7;
  const plat::TPoint tri[3] = {{ArrowLeft, y}, {ArrowLeft + 6, y}, {ArrowLeft + 3, y + 3}};
  C.Pen()->SetColor(arrow);
  C.Brush()->SetColor(arrow);
  C.Polygon(tri);
}

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
