// The tree's background picture (static or tiled, behind the rows and below them), the default erase of a row,
// the bevel and border ring around the control and the header's rectangle inside it.
#include <algorithm>

#include "platform/graphics/classic.h"
#include "tree/treecontrol.h"

namespace lazytree {

using plat::TCanvas;
using plat::TRect;

namespace {

plat::TBitmap* PictureBitmap(plat::TPicture* Picture) {
  auto* bitmap = dynamic_cast<plat::TBitmap*>(Picture->Graphic());
  return bitmap && !bitmap->Empty() ? bitmap : nullptr;
}

// Copies the part of the bitmap starting at (SrcX, SrcY) into Dest; a transparent bitmap keeps what lies
// below its transparent colour.
void CopyPiece(TCanvas* Canvas, plat::TBitmap* Bitmap, const TRect& Dest, int SrcX, int SrcY) {
  if (Dest.IsEmpty()) return;
  Canvas->SaveDC();
  Canvas->IntersectClipRect(Dest);
  Canvas->Draw(Dest.Left - SrcX, Dest.Top - SrcY, Bitmap);
  Canvas->RestoreDC(-1);
}

// The tile coordinate that a position falls on, wrapped into 0 .. Size - 1 also for negative positions.
int Wrap(int Value, int Size) { return ((Value % Size) + Size) % Size; }

unsigned BevelEdgeFlags(plat::TBevelCut Cut, bool Inner) {
  switch (Cut) {
    case plat::bvLowered: return Inner ? plat::BDR_SUNKENINNER : plat::BDR_SUNKENOUTER;
    case plat::bvRaised: return Inner ? plat::BDR_RAISEDINNER : plat::BDR_RAISEDOUTER;
    default: return 0;
  }
}

}  // namespace

void TBaseLazyTreeControl::SetBackground(const plat::TPicture& Value) {
  FBackground->Assign(Value);
  if (TreeOptions().PaintOptions.Has(toShowBackground) && !Loading()) Invalidate();
}

bool TBaseLazyTreeControl::UseBackground(TLTInternalPaintOptions Options) const {
  return Options.Has(poBackground) && TreeOptions().PaintOptions.Has(toShowBackground) &&
         PictureBitmap(FBackground.get()) != nullptr;
}

void TBaseLazyTreeControl::DrawStaticBackground(TCanvas* Canvas, const TRect& R, plat::TPoint Offset) {
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(R);
  plat::TBitmap* bitmap = PictureBitmap(FBackground.get());
  if (!bitmap) return;
  const TRect picture = plat::Bounds(FBackgroundOffsetX, FBackgroundOffsetY, bitmap->Width(), bitmap->Height());
  TRect moved = R;
  plat::OffsetRect(moved, Offset.X, Offset.Y);
  TRect visible;
  if (!plat::IntersectRect(visible, picture, moved)) return;
  TRect dest = visible;
  plat::OffsetRect(dest, -Offset.X, -Offset.Y);
  CopyPiece(Canvas, bitmap, dest, visible.Left - picture.Left, visible.Top - picture.Top);
}

void TBaseLazyTreeControl::DrawTiledBackground(TCanvas* Canvas, const TRect& R, plat::TPoint Offset) {
  plat::TBitmap* bitmap = PictureBitmap(FBackground.get());
  if (!bitmap || R.IsEmpty()) return;
  const int w = bitmap->Width(), h = bitmap->Height();
  const int firstX = Wrap(R.Left + Offset.X + FBackgroundOffsetX, w);
  int srcY = Wrap(R.Top + Offset.Y + FBackgroundOffsetY, h);
  for (int y = R.Top; y < R.Bottom; srcY = 0) {
    const int bandHeight = std::min(h - srcY, R.Bottom - y);
    int srcX = firstX;
    for (int x = R.Left; x < R.Right; srcX = 0) {
      const int pieceWidth = std::min(w - srcX, R.Right - x);
      CopyPiece(Canvas, bitmap, TRect(x, y, x + pieceWidth, y + bandHeight), srcX, srcY);
      x += pieceWidth;
    }
    y += bandHeight;
  }
}

void TBaseLazyTreeControl::EraseRowDefault(TCanvas* Canvas, PLazyNode Node, TRect R, plat::TColor Color,
                                           TLTInternalPaintOptions Options, plat::TPoint PictureOffset) {
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  if (UseBackground(Options)) {
    if (paint.Has(toStaticBackground))
      DrawStaticBackground(Canvas, R, PictureOffset);
    else
      DrawTiledBackground(Canvas, R, PictureOffset);
    return;
  }
  const bool fullRowSelected = Options.Has(poDrawSelection) && TreeOptions().SelectionOptions.Has(toFullRowSelect) &&
                               Node->Has(vsSelected) && !paint.Has(toUseBlendedSelection) &&
                               !TreeStates().Has(tsUseExplorerTheme);
  Canvas->Brush()->SetColor(Color);
  if (!fullRowSelected) {
    Canvas->FillRect(R);
    return;
  }
  if (paint.Has(toShowHorzGridLines)) {
    Canvas->FillRect(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
    --R.Bottom;
  }
  const bool focusedLook = Focused() || paint.Has(toPopupMode);
  Canvas->Brush()->SetColor(focusedLook ? FColors.FocusedSelectionColor() : FColors.UnfocusedSelectionColor());
  Canvas->Pen()->SetColor(focusedLook ? FColors.FocusedSelectionBorderColor()
                                      : FColors.UnfocusedSelectionBorderColor());
  const int radius = static_cast<int>(FSelectionCurveRadius);
  Canvas->RoundRect(R, radius, radius);
}

void TBaseLazyTreeControl::DrawBorderAndBevel(TCanvas* Canvas) {
  if (FBevelKind == bkNone && FBorderWidth == 0) return;
  TRect r(0, 0, Width(), Height());
  const plat::TSize border = GetBorderDimensions();
  plat::InflateRect(r, border.cx, border.cy);
  if (FBevelKind != bkNone) {
    const unsigned edge = BevelEdgeFlags(FBevelInner, true) | BevelEdgeFlags(FBevelOuter, false);
    unsigned flags = (FBevelEdges.Has(beLeft) ? plat::BF_LEFT : 0u) | (FBevelEdges.Has(beTop) ? plat::BF_TOP : 0u) |
                     (FBevelEdges.Has(beRight) ? plat::BF_RIGHT : 0u) |
                     (FBevelEdges.Has(beBottom) ? plat::BF_BOTTOM : 0u);
    if (FBevelKind == bkSoft) flags |= plat::BF_SOFT;
    if (FBevelKind == bkFlat) flags |= plat::BF_FLAT;
    if (!FCtl3D) flags |= plat::BF_MONO;
    TRect edgeRect = r;
    plat::DrawEdge(Canvas, edgeRect, edge, flags);
    const int bevel = (FBevelInner != plat::bvNone ? FBevelWidth : 0) + (FBevelOuter != plat::bvNone ? FBevelWidth : 0);
    if (FBevelEdges.Has(beLeft)) r.Left += bevel;
    if (FBevelEdges.Has(beTop)) r.Top += bevel;
    if (FBevelEdges.Has(beRight)) r.Right -= bevel;
    if (FBevelEdges.Has(beBottom)) r.Bottom -= bevel;
  }
  if (FBorderWidth == 0) return;
  // Only the ring between the bevel and the client area takes the border colour: four bands inside r.
  TRect inner = r;
  plat::InflateRect(inner, -FBorderWidth, -FBorderWidth);
  inner.Right = std::max(inner.Right, inner.Left);
  inner.Bottom = std::max(inner.Bottom, inner.Top);
  Canvas->Brush()->SetColor(FColors.BorderColor());
  Canvas->FillRect(TRect(r.Left, r.Top, r.Right, std::min(inner.Top, r.Bottom)));
  Canvas->FillRect(TRect(r.Left, std::max(inner.Bottom, r.Top), r.Right, r.Bottom));
  Canvas->FillRect(TRect(r.Left, inner.Top, std::min(inner.Left, r.Right), inner.Bottom));
  Canvas->FillRect(TRect(std::max(inner.Right, r.Left), inner.Top, r.Right, inner.Bottom));
}

TDropMode TBaseLazyTreeControl::DropModeAt(plat::TPoint P, THitInfo& HitInfo, const TRect& NodeRect) {
  const THitPositions& at = HitInfo.HitPositions;
  const bool onContent = at.Has(hiOnItemLabel) || at.Has(hiOnNormalIcon) || at.Has(hiOnStateIcon);
  const auto& o = TreeOptions();
  if (o.MiscOptions.Has(toReportMode)) {
    const bool wholeRow = at.Has(hiOnItem) && (o.MiscOptions.Has(toFullRowDrag) || o.SelectionOptions.Has(toFullRowSelect));
    if (!wholeRow && (!onContent || HitInfo.HitColumn != FHeader->MainColumn())) HitInfo.HitNode = nullptr;
  }
  if (!HitInfo.HitNode) return dmNowhere;
  if (onContent) return dmOnNode;
  if (!o.PaintOptions.Has(toShowDropmark)) return dmOnNode;
  return P.Y < (NodeRect.Top + NodeRect.Bottom) / 2 ? dmAbove : dmBelow;
}

void TBaseLazyTreeControl::ComputeHeaderRect(int HeaderHeight) {
  TRect r(0, 0, Width(), Height());
  const plat::TSize border = GetBorderDimensions();
  plat::InflateRect(r, border.cx, border.cy);
  const bool bevel = FBevelKind != bkNone;
  const int dx = FBorderWidth + (bevel && FBevelEdges.Has(beLeft) ? FBevelWidth : 0);
  const int dy = FBorderWidth + (bevel && FBevelEdges.Has(beTop) ? FBevelWidth : 0);
  plat::InflateRect(r, -dx, -dy);
  if (FHeader->Options().Has(hoVisible)) {
    r.Bottom = r.Top + HeaderHeight;
    if (r.Right < r.Left) r = TRect(0, 0, 0, 0);
  } else {
    r.Bottom = r.Top;
  }
  FHeaderRect = r;
}

TRect TLazyTreeColumn::GetRect() const {
  TRect r = Tree() ? Tree()->HeaderRect() : TRect();
  r.Left += FLeft;
  r.Right = r.Left + FWidth;
  return r;
}

}  // namespace lazytree
