// Header painting: one button per visible column (classic edges by header style), the caption cut with an
// ellipsis or word-wrapped, the sort arrow, the drop marks of a column drag, and the background right of the
// last column. The fixed block stays in place while the other buttons move with the horizontal offset.
#include <QPainter>

#include <algorithm>
#include <array>

#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/imagelist.h"
#include "tree/checkstate.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"
#include "tree/treeutils.h"

namespace lazytree {
namespace {

constexpr int GlyphSize = 16;  // sort arrows and drop marks

struct TEdgeStyle {
  unsigned Edge, Flags;
};
struct TButtonEdges {
  TEdgeStyle Normal, Pressed, Hot;
};

TButtonEdges EdgesOf(TLTHeaderStyle Style) {
  switch (Style) {
    case hsFlatButtons: return {{plat::BDR_RAISEDINNER, 10251}, {plat::BDR_SUNKENOUTER, 10255}, {plat::BDR_RAISEDINNER, 10251}};
    case hsPlates: return {{plat::BDR_RAISEDINNER, 14351}, {plat::BDR_SUNKENOUTER, 10255}, {plat::BDR_RAISEDINNER, 10251}};
    default: return {{plat::EDGE_RAISED, 14347}, {plat::EDGE_RAISED, 30735}, {plat::EDGE_RAISED, 14347}};
  }
}

// An arrow in a 16 x 16 cell: up for ascending, down for descending, left or right for the drop marks.
void DrawArrow(plat::TCanvas* Canvas, plat::TPoint At, int Direction /*0 up, 1 down, 2 left, 3 right*/) {
  const int x = At.X, y = At.Y;
  std::array<plat::TPoint, 3> pts;
  switch (Direction) {
    case 0: pts = {plat::TPoint{x + 4, y + 10}, plat::TPoint{x + 12, y + 10}, plat::TPoint{x + 8, y + 6}}; break;
    case 1: pts = {plat::TPoint{x + 4, y + 6}, plat::TPoint{x + 12, y + 6}, plat::TPoint{x + 8, y + 10}}; break;
    case 2: pts = {plat::TPoint{x + 10, y + 4}, plat::TPoint{x + 10, y + 12}, plat::TPoint{x + 5, y + 8}}; break;
    default: pts = {plat::TPoint{x + 6, y + 4}, plat::TPoint{x + 6, y + 12}, plat::TPoint{x + 11, y + 8}}; break;
  }
  Canvas->Brush()->SetColor(plat::clBtnShadow);
  Canvas->Pen()->SetColor(plat::clBtnShadow);
  Canvas->Polygon(pts);
}

}  // namespace

void TLTHeader::PaintCaptionText(plat::TCanvas* Canvas, const QString& Caption, plat::TRect Bounds, bool Enabled,
                                 bool Hot, unsigned DrawFormat, bool WrapCaption) {
  QString text = Caption;
  if (!WrapCaption && Canvas->TextWidth(text) > Bounds.Width()) text = ShortenWithEllipsis(Canvas, text, Bounds.Width());
  if (WrapCaption) DrawFormat |= plat::DT_WORDBREAK;
  Canvas->SetBkMode(plat::TRANSPARENT);
  if (Enabled) {
    Canvas->Font()->SetColor(Hot ? FOwner->Colors().HeaderHotColor() : FFont.Color());
    Canvas->DrawText(text, Bounds, DrawFormat);
    return;
  }
  // Disabled: embossed, a highlight one pixel down and right under the shadow.
  plat::TRect shifted(Bounds.Left + 1, Bounds.Top + 1, Bounds.Right + 1, Bounds.Bottom + 1);
  Canvas->Font()->SetColor(plat::clBtnHighlight);
  Canvas->DrawText(text, shifted, DrawFormat);
  Canvas->Font()->SetColor(plat::clBtnShadow);
  Canvas->DrawText(text, Bounds, DrawFormat);
}

bool TLTHeader::AdvancedOwnerDraw() const {
  return FOptions.Has(hoOwnerDraw) && OnAdvancedHeaderDraw && OnHeaderDrawQueryElements;
}

void TLTHeader::PaintHeaderGlyph(plat::TCanvas* Canvas, TLazyTreeColumn& C, const THeaderPaintInfo& Info) {
  plat::TCustomImageList* list = C.FCheckBox ? FOwner->CheckImagesInForce() : Images();
  if (!list) return;
  if (C.FCheckBox) {
    TLTImageInfo image;
    image.Images = list;
    image.Index = CheckImageIndex(C.FCheckType, C.FCheckState, Info.IsEnabled, false);
    image.XPos = Info.GlyphPos.X;
    image.YPos = Info.GlyphPos.Y;
    FOwner->DrawCheckImage(Canvas, image, false);
  } else {
    list->Draw(Canvas, Info.GlyphPos.X, Info.GlyphPos.Y, C.FImageIndex, Info.IsEnabled);
  }
  // Where a click counts as on the icon or the check box (the window paints the band at header coordinates).
  C.FHasImage = true;
  C.FImageRect = plat::TRect(Info.GlyphPos.X, Info.GlyphPos.Y, Info.GlyphPos.X + list->Width(),
                             Info.GlyphPos.Y + list->Height());
}

void TLTHeader::PaintOneColumn(plat::TCanvas* Canvas, TColumnIndex Index, const plat::TRect& Button) {
  TLazyTreeColumns& cols = *FColumns;
  TLazyTreeColumn& c = *cols.Items(Index);
  const TLTColumnOptions o = c.FOptions;
  THeaderPaintInfo info;
  info.TargetCanvas = Canvas;
  info.Column = &c;
  info.PaintRectangle = Button;
  info.IsHoverIndex = Index == cols.FHoverIndex && FOptions.Has(hoHotTrack) && o.Has(coEnabled);
  info.IsDownIndex = Index == cols.FDownIndex && !cols.FCheckBoxHit;
  info.IsEnabled = o.Has(coEnabled) && FOwner->Enabled();
  info.ShowSortGlyph = Index == FSortColumn && FOptions.Has(hoShowSortGlyphs);
  info.ShowHeaderGlyph = FOptions.Has(hoShowImages) && ((Images() && c.FImageIndex >= 0) || c.FCheckBox);
  // Only a bevelled tree hides the last button's right edge under hoAutoResize; this tree has no bevel.
  info.ShowRightBorder = true;
  if (o.Has(coShowDropMark) && Index == cols.FDropTarget && Index != cols.FDragIndex)
    info.DropMark = cols.FDropBefore ? 1 : 2;
  const bool advanced = AdvancedOwnerDraw();
  if (c.FStyle == vsOwnerDraw && FOptions.Has(hoOwnerDraw) && OnHeaderDraw && !advanced) {
    OnHeaderDraw(this, Canvas, &c, Button, info.IsHoverIndex, info.IsDownIndex, info.DropMark);
    return;
  }
  THeaderPaintElements elements;
  if (advanced) OnHeaderDrawQueryElements(this, info, elements);
  if (elements.Has(hpeBackground)) {
    OnAdvancedHeaderDraw(this, info, THeaderPaintElements{hpeBackground});
  } else {
    const TButtonEdges edges = EdgesOf(FStyle);
    TEdgeStyle e = info.IsDownIndex ? edges.Pressed
                   : info.IsHoverIndex && FStyle == hsPlates && o.Has(coAllowClick) ? edges.Hot
                                                                                     : edges.Normal;
    if (!info.IsDownIndex && info.ShowRightBorder) e.Flags |= plat::BF_RIGHT;
    plat::TRect face = Button;
    plat::DrawEdge(Canvas->Handle(), face, e.Edge, e.Flags);
  }
  const plat::TRect client(Button.Left + 2, Button.Top + 2, Button.Right - 2, Button.Bottom - 2);
  unsigned format = plat::DT_NOPREFIX;
  const plat::TAlignment align = c.CaptionAlignment();
  format |= align == plat::taCenter ? plat::DT_CENTER : align == plat::taRightJustify ? plat::DT_RIGHT : plat::DT_LEFT;
  if (c.UseRightToLeftReading()) format |= plat::DT_RTLREADING;
  const THeaderLayout l = LayoutHeaderContent(Canvas, c, client, info.ShowSortGlyph, info.ShowHeaderGlyph);
  const int shift = info.IsDownIndex ? 1 : 0;  // a pressed button's content moves down and right
  info.TextRectangle = plat::TRect(l.TextRect.Left + shift, l.TextRect.Top + shift, l.TextRect.Right + shift,
                                   l.TextRect.Bottom + shift);
  info.GlyphPos = {l.GlyphPos.X + shift, l.GlyphPos.Y + shift};
  info.SortGlyphPos = {l.SortGlyphPos.X + shift, l.SortGlyphPos.Y + shift};
  c.FLastTextRect = info.TextRectangle;
  elements.Exclude(hpeBackground);
  c.FHasImage = false;
  const int imagesWidth = Images() ? Images()->Width() : 0;
  if (!elements.Has(hpeHeaderGlyph) && info.ShowHeaderGlyph &&
      (!info.ShowSortGlyph || c.UseRightToLeftReading() || info.SortGlyphPos.X >= info.GlyphPos.X + imagesWidth))
    PaintHeaderGlyph(Canvas, c, info);
  const bool wrap = o.Has(coWrapCaption);
  if (!elements.Has(hpeText) && !c.FText.isEmpty())
    PaintCaptionText(Canvas, wrap ? c.FCaptionText : c.FText, info.TextRectangle, info.IsEnabled,
                     info.IsHoverIndex, format, wrap);
  if (!elements.Has(hpeSortGlyph) && info.ShowSortGlyph)
    DrawArrow(Canvas, info.SortGlyphPos, FSortDirection == sdAscending ? 0 : 1);
  if (!elements.Has(hpeDropMark) && info.DropMark != 0) {
    const int y = (Button.Top + Button.Bottom - GlyphSize) / 2;
    DrawArrow(Canvas, {info.DropMark == 1 ? Button.Left : Button.Right - GlyphSize, y}, info.DropMark == 1 ? 2 : 3);
  }
  if (!elements.Empty()) {
    Canvas->SaveDC();
    OnAdvancedHeaderDraw(this, info, elements);
    Canvas->RestoreDC(-1);
  }
}

void TLTHeader::PaintHeader(plat::TCanvas* Canvas, plat::TRect R, plat::TPoint Target) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  TLazyTreeColumns& cols = *FColumns;
  Canvas->SetFont(FFont);
  const plat::TRect background(Target.X, Target.Y, Target.X + R.Width(), Target.Y + FHeight);
  THeaderPaintElements elements;
  THeaderPaintInfo info;
  info.TargetCanvas = Canvas;
  info.PaintRectangle = R;
  if (AdvancedOwnerDraw()) OnHeaderDrawQueryElements(this, info, elements);
  if (elements.Has(hpeBackground)) {
    info.PaintRectangle = background;
    OnAdvancedHeaderDraw(this, info, THeaderPaintElements{hpeBackground});
  } else {
    Canvas->Brush()->SetColor(FBackgroundColor);
    Canvas->FillRect(background);
  }
  R.Left = std::max(R.Left, 0);
  R.Right = std::min(R.Right, cols.TotalWidth());
  R.Top = std::max(R.Top, 0);
  R.Bottom = std::min(R.Bottom, FHeight);
  const int maxX = Target.X + R.Width();
  TColumnIndex column = cols.ColumnFromPosition(plat::TPoint(R.Left, 0), false);
  if (column < 0) return;
  int x = cols.Items(column)->FLeft + Target.X - R.Left;
  const int bottom = Target.Y + R.Height();
  while (column >= 0 && x < maxX) {
    const int w = cols.Items(column)->FWidth;
    // Each button is clipped to its visible part; the caller's clip comes back afterwards.
    const int saved = Canvas->SaveDC();
    ClipCanvasToRect(Canvas, plat::TRect(std::max(Target.X, x), Target.Y + R.Top, std::min(x + w, maxX), bottom));
    PaintOneColumn(Canvas, column, plat::TRect(x, Target.Y, x + w, bottom));
    Canvas->RestoreDC(saved);
    x += w;
    column = cols.GetNextVisibleColumn(column);
  }
}

void TLTHeader::PaintHeader(plat::TCanvas* Canvas, const plat::TRect& R, int HOffset) {
  if (!FOptions.Has(hoVisible)) return;
  const int fixed = FColumns->GetVisibleFixedWidth();
  if (fixed >= 1) PaintHeader(Canvas, plat::TRect(0, 0, std::min(R.Right, fixed), R.Height()), {R.Left, R.Top});
  PaintHeader(Canvas, plat::TRect(fixed - HOffset, 0, R.Right + fixed - HOffset, R.Height()), {R.Left + fixed, R.Top});
}

}  // namespace lazytree
