// Header painting: one button per visible column (classic edges by header style), the caption cut with an
// ellipsis or word-wrapped, the sort arrow, the drop marks of a column drag, and the background right of the
// last column. The fixed block stays in place while the other buttons move with the horizontal offset.
#include <QPainter>

#include <algorithm>
#include <array>

#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
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

THeaderLayout TLTHeader::LayoutHeaderContent(plat::TCanvas* Canvas, TLazyTreeColumn& C, const plat::TRect& Client,
                                             bool ShowSortGlyph) {
  THeaderLayout L;
  const QString& caption = C.FText;
  if (caption.isEmpty() && !ShowSortGlyph) return L;
  const bool rtl = C.UseRightToLeftReading();
  plat::TAlignment align = C.CaptionAlignment();
  if (rtl && align != plat::taCenter) align = align == plat::taLeftJustify ? plat::taRightJustify : plat::taLeftJustify;
  const int cw = Client.Width(), ch = Client.Height();
  const int sw = ShowSortGlyph ? GlyphSize : 0, sh = sw;
  const int margin = C.FMargin, spacing = C.FSpacing;
  const int textSpacing = caption.isEmpty() ? 0 : spacing;
  const bool wrap = C.FOptions.Has(coWrapCaption);
  int tw = 0, th = 0;
  if (!caption.isEmpty()) {
    if (wrap) {
      if (C.FCaptionText.isEmpty()) C.FCaptionText = WrapTextToWidth(Canvas, caption, Client, rtl, plat::DT_NOPREFIX);
      plat::TRect r(0, 0, cw, 0);
      Canvas->DrawText(C.FCaptionText, r, plat::DT_CALCRECT | plat::DT_NOPREFIX | plat::DT_WORDBREAK);
      tw = cw;
      th = r.Height();
    } else {
      C.FCaptionText = caption;
      tw = Canvas->TextWidth(caption) + 2;
      th = Canvas->TextHeight(caption);
    }
  }
  L.SortGlyphPos.Y = (ch - sh) / 2;
  int textX = 0;
  const int textY = std::max((ch - th) / 2, -5);
  if (caption.isEmpty()) {
    L.SortGlyphPos = {(cw - sw) / 2, (ch - sh) / 2};
  } else if (align == plat::taLeftJustify) {
    int x = margin;
    if (rtl && ShowSortGlyph) {
      L.SortGlyphPos.X = x;
      x += sw + spacing;
    }
    textX = x;
    x += textSpacing + tw;
    if (!rtl && ShowSortGlyph) L.SortGlyphPos.X = x;
  } else if (align == plat::taRightJustify) {
    int x = cw - margin;
    if (!rtl && ShowSortGlyph) {
      x -= sw;
      L.SortGlyphPos.X = x;
      x -= spacing;
    }
    textX = x - tw;
    x -= tw + textSpacing;
    if (rtl && ShowSortGlyph) L.SortGlyphPos.X = x - sw;
  } else {
    textX = (cw - (textSpacing + tw)) / 2;
    L.SortGlyphPos.X = rtl ? textX - spacing - sw : textX + tw + spacing;
  }
  int minLeft = margin, maxRight = cw - margin;
  if (ShowSortGlyph) {
    if (!rtl) {
      if (L.SortGlyphPos.X + sw > maxRight) L.SortGlyphPos.X = maxRight - sw;
      maxRight = L.SortGlyphPos.X - spacing;
    }
    L.SortGlyphPos.X = std::max(L.SortGlyphPos.X, margin);
    if (rtl) minLeft = L.SortGlyphPos.X + sw + spacing;
    L.SortGlyphPos = {L.SortGlyphPos.X + Client.Left, L.SortGlyphPos.Y + Client.Top};
  }
  if (!caption.isEmpty()) {
    textX = std::max(textX, minLeft);
    L.TextRect = plat::TRect(textX, textY, textX + tw, textY + th);
    L.TextRect.Right = std::min(L.TextRect.Right, maxRight);
    L.TextRect = plat::TRect(L.TextRect.Left + Client.Left, L.TextRect.Top + Client.Top,
                             L.TextRect.Right + Client.Left, L.TextRect.Bottom + Client.Top);
    if (wrap) C.FCaptionText = WrapTextToWidth(Canvas, caption, L.TextRect, rtl, plat::DT_NOPREFIX);
  }
  return L;
}

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

void TLTHeader::PaintOneColumn(plat::TCanvas* Canvas, TColumnIndex Index, const plat::TRect& Button) {
  TLazyTreeColumns& cols = *FColumns;
  TLazyTreeColumn& c = *cols.Items(Index);
  const TLTColumnOptions o = c.FOptions;
  const bool hover = Index == cols.FHoverIndex && FOptions.Has(hoHotTrack) && o.Has(coEnabled);
  const bool down = Index == cols.FDownIndex && !cols.FCheckBoxHit;
  const bool enabled = o.Has(coEnabled) && FOwner->Enabled();
  const bool sortGlyph = Index == FSortColumn && FOptions.Has(hoShowSortGlyphs);
  int dropMark = 0;  // 0 none, 1 left, 2 right
  if (o.Has(coShowDropMark) && Index == cols.FDropTarget && Index != cols.FDragIndex) dropMark = cols.FDropBefore ? 1 : 2;
  if (c.FStyle == vsOwnerDraw && FOptions.Has(hoOwnerDraw) && OnHeaderDraw) {
    OnHeaderDraw(this, Canvas, &c, Button, hover, down, dropMark);
    return;
  }
  const TButtonEdges edges = EdgesOf(FStyle);
  // Only a bevelled tree hides the last button's right edge under hoAutoResize; this tree has no bevel.
  const bool rightBorder = true;
  TEdgeStyle e = down ? edges.Pressed
                      : hover && FStyle == hsPlates && o.Has(coAllowClick) ? edges.Hot : edges.Normal;
  if (!down && rightBorder) e.Flags |= plat::BF_RIGHT;
  plat::TRect face = Button;
  plat::DrawEdge(Canvas->Handle(), face, e.Edge, e.Flags);
  const plat::TRect client(Button.Left + 2, Button.Top + 2, Button.Right - 2, Button.Bottom - 2);
  unsigned format = plat::DT_NOPREFIX;
  const plat::TAlignment align = c.CaptionAlignment();
  format |= align == plat::taCenter ? plat::DT_CENTER : align == plat::taRightJustify ? plat::DT_RIGHT : plat::DT_LEFT;
  if (c.UseRightToLeftReading()) format |= plat::DT_RTLREADING;
  THeaderLayout l = LayoutHeaderContent(Canvas, c, client, sortGlyph);
  if (down) {
    l.TextRect = plat::TRect(l.TextRect.Left + 1, l.TextRect.Top + 1, l.TextRect.Right + 1, l.TextRect.Bottom + 1);
    l.SortGlyphPos = {l.SortGlyphPos.X + 1, l.SortGlyphPos.Y + 1};
  }
  c.FLastTextRect = l.TextRect;
  const bool wrap = o.Has(coWrapCaption);
  if (!c.FText.isEmpty())
    PaintCaptionText(Canvas, wrap ? c.FCaptionText : c.FText, l.TextRect, enabled, hover, format, wrap);
  if (sortGlyph) DrawArrow(Canvas, l.SortGlyphPos, FSortDirection == sdAscending ? 0 : 1);
  if (dropMark != 0) {
    const int y = (Button.Top + Button.Bottom - GlyphSize) / 2;
    DrawArrow(Canvas, {dropMark == 1 ? Button.Left : Button.Right - GlyphSize, y}, dropMark == 1 ? 2 : 3);
  }
}

void TLTHeader::PaintHeader(plat::TCanvas* Canvas, plat::TRect R, plat::TPoint Target) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  TLazyTreeColumns& cols = *FColumns;
  Canvas->SetFont(FFont);
  Canvas->Brush()->SetColor(FBackgroundColor);
  Canvas->FillRect(plat::TRect(Target.X, Target.Y, Target.X + R.Width(), Target.Y + FHeight));
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
    ClipCanvasToRect(Canvas, plat::TRect(std::max(Target.X, x), Target.Y + R.Top, std::min(x + w, maxX), bottom));
    PaintOneColumn(Canvas, column, plat::TRect(x, Target.Y, x + w, bottom));
    Canvas->Painter()->setClipping(false);
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
