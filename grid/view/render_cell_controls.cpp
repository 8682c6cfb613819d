// Cells that look like controls: push, bitmap and expand buttons, the scroll bar of a scroll-bar cell and
// objects that draw themselves.
#include <algorithm>

#include "controls/draw_utils.h"
#include "grid/view/render_cells.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/themes.h"

namespace grid {

using plat::clNone;
using plat::TCanvas;
using plat::TColor;
using plat::TRect;

namespace {

// A classic vertical scroll bar in R: arrow buttons, the track, and the thumb for Pos in 0..Range of which
// Page shows.
void PaintScrollBar(TCanvas& C, TRect R, int Pos, int Page, int Range) {
  const int arrow = std::min(R.Width(), R.Height() / 2);
  TRect up(R.Left, R.Top, R.Right, R.Top + arrow), down(R.Left, R.Bottom - arrow, R.Right, R.Bottom);
  plat::DrawFrameControl(C.Handle(), up, plat::DFC_SCROLL, plat::DFCS_SCROLLUP);
  plat::DrawFrameControl(C.Handle(), down, plat::DFC_SCROLL, plat::DFCS_SCROLLDOWN);
  const TRect track(R.Left, up.Bottom, R.Right, down.Top);
  if (track.Height() <= 0) return;
  controls::FillRectColor(C, track, Hex(0xE8E8E8));
  const int span = Range + 1;
  const int thumb = std::clamp(int(qint64(track.Height()) * Page / span), std::min(8, track.Height()), track.Height());
  const int steps = std::max(1, span - Page);
  const int top = track.Top + int(qint64(track.Height() - thumb) * std::clamp(Pos, 0, steps) / steps);
  TRect t(R.Left, top, R.Right, top + thumb);
  controls::FillRectColor(C, t, plat::clBtnFace);
  plat::DrawEdge(C.Handle(), t, plat::EDGE_RAISED, plat::BF_RECT);
}

}  // namespace

// Step 2 of a cell's contents: a scroll-bar cell whose page is smaller than its range shows its bar at the
// right edge; the text then keeps left of it and moves up by the position.
bool TCellRenderer::DrawScrollBar(TCanvas& C, TCellWork& W) {
  int page = -1, range = -1;
  if (!FHost.ScrollProp(W.RCol, W.Row, page, range) || page < 0 || page >= range) return false;
  constexpr int kBarWidth = 17;
  const TRect bar(std::max(W.Rect.Left, W.Rect.Right - kBarWidth), W.Rect.Top, W.Rect.Right, W.Rect.Bottom);
  W.ScrollPos = std::max(0, FHost.ScrollPosition(W.RCol, W.Row));
  PaintScrollBar(C, bar, W.ScrollPos, page, range);
  W.Rect.Right = bar.Left;
  return true;
}

void TCellRenderer::DrawInterface(TCanvas& C, const TCellWork& W, TRect R) {
  if (W.Graphic && W.Graphic->Drawer)
    W.Graphic->Drawer->Draw(C, R, &FGrid, W.State.Contains(gdSelected), W.Row, W.RCol);
}

// 0 themed, 1 classic, 2 flat, 3 the colour tones of a flat grid.
int TCellRenderer::ButtonLook() const {
  if (Settings.Colors.Flat && Settings.Colors.Tones.Background.BrushColor != clNone) return 3;
  if (ControlLook.FlatButton()) return 2;
  return plat::PlatformFacts().WindowsXPOrLater ? 0 : 1;
}

void TCellRenderer::DrawButton(TCanvas& C, TCellWork& W, TRect R, TRect Obj) {
  const TCellGraphicView& g = *W.Graphic;
  const bool enabled = ControlLook.NoDisabledButtonLook() || FHost.IsCellEditable(W.RCol, W.Row);
  int state = g.CellBoolean ? 2 : FHost.IsHoverButton(W.Col, W.Row) ? 1 : 0;
  if (!enabled && g.CellType != ctExpand) state = 3;
  if (g.CellType == ctExpand) Obj = TRect(R.Right - 13, R.Top, R.Right, R.Top + 13);
  // The offset is kept for callers that read it; hit tests place the button with PlaceGraphic.
  g.CellValue = (std::uint32_t(std::clamp(Obj.Top - R.Top, 0, 0xFFFF)) << 16) |
                std::uint32_t(std::clamp(Obj.Left - R.Left, 0, 0xFFFF));
  const int look = ButtonLook();
  controls::PaintPushButtonFace(C, nullptr, Obj, Settings.Colors.Tones, state, look);
  TRect face = Obj;
  if (state == 2) plat::OffsetRect(face, 1, 1);
  if (g.CellType == ctExpand) {
    C.Pen()->SetColor(plat::clBlack);
    C.Pen()->SetWidth(1);
    const int r = R.Right, t = R.Top;
    if (g.CellVar) {
      Line(C, r - 10, t + 8, r - 7, t + 5);
      C.LineTo(r - 3, t + 9);
    } else {
      Line(C, r - 10, t + 5, r - 7, t + 8);
      C.LineTo(r - 3, t + 4);
    }
    return;
  }
  int textLeft = face.Left + 1;
  if (g.CellType == ctBitButton && g.Graphic && !g.Graphic->Empty()) {
    int gy = (face.Height() - g.Graphic->Height()) / 2;
    if (gy < 1) gy = 3;
    // With a caption (or no room to centre it) the glyph goes left and the caption follows it.
    const bool beside = !g.CellText.isEmpty() || face.Width() <= g.Graphic->Width();
    const int gx = beside ? face.Left + 3 : face.Left + (face.Width() - g.Graphic->Width()) / 2;
    const bool transparent = g.Graphic->Transparent();
    g.Graphic->SetTransparent(true);
    C.Draw(gx, face.Top + gy, g.Graphic);
    g.Graphic->SetTransparent(transparent);
    if (beside) textLeft = gx + g.Graphic->Width() + 4;
  }
  if (g.CellText.isEmpty()) return;
  C.SetBkMode(plat::TRANSPARENT);
  C.Brush()->SetColor(plat::clBtnFace);
  if (look == 3) {
    const controls::TColorTones& t = Settings.Colors.Tones;
    const controls::TColorTone& tone = state == 1 ? t.Hover : state == 2 ? t.Selected : state == 3 ? t.Disabled
                                                                                                   : t.Background;
    C.Font()->SetColor(tone.TextColor);
  } else {
    C.Font()->SetColor(state == 3 ? plat::clGrayText : plat::clBtnText);
  }
  TRect t(textLeft, face.Top, face.Right, face.Bottom);
  const unsigned lines = g.CellText.contains(u'\r') ? plat::DT_WORDBREAK : plat::DT_SINGLELINE;
  C.DrawText(g.CellText, t, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_END_ELLIPSIS | lines);
}

}  // namespace grid
