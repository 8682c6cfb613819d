// Header painting: one button per visible column (classic edges by header style), the caption cut with an
// ellipsis or word-wrapped, the sort arrow, the drop marks of a column drag, and the background right of the
// last column. The fixed block stays in place while the other buttons move with the horizontal offset.
#include <QPainter>

#include <algorithm>
#include <array>

#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/themes.h"
#include "tree/checkimages.h"
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

// The header element of the theme in a state (the themed look of buttons and background).
bool DrawHeaderElement(plat::TCanvas* Canvas, int Part, int State, const plat::TRect& R) {
  return plat::ThemeServices().DrawElement(Canvas, {QStringLiteral("header"), Part, State}, R);
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
  // Only the last button of a bevelled tree whose last column takes the rest of the width under hoAutoResize
  // leaves its right edge to the bevel.
  info.ShowRightBorder = FStyle == hsThickButtons || !FOptions.Has(hoAutoResize) || FOwner->BevelKind() == bkNone;
  if (o.Has(coShowDropMark) && Index == cols.FDropTarget && Index != cols.FDragIndex)
    info.DropMark = cols.FDropBefore ? dmmLeft : dmmRight;
  const bool advanced = AdvancedOwnerDraw();
  if (c.FStyle == vsOwnerDraw && FOptions.Has(hoOwnerDraw) && OnHeaderDraw && !advanced) {
    OnHeaderDraw(this, Canvas, &c, Button, info.IsHoverIndex, info.IsDownIndex, info.DropMark);
    return;
  }
  THeaderPaintElements elements;
  if (advanced) OnHeaderDrawQueryElements(this, info, elements);
  const bool themed = FOwner->TreeStates().Has(tsUseThemes);
  if (elements.Has(hpeBackground)) {
    OnAdvancedHeaderDraw(this, info, THeaderPaintElements{hpeBackground});
  } else if (!themed || !DrawHeaderElement(Canvas, plat::HP_HEADERITEM,
                                           info.IsDownIndex    ? plat::HIS_PRESSED
                                           : info.IsHoverIndex ? plat::HIS_HOT
                                                               : plat::HIS_NORMAL,
                                           Button)) {
    const TButtonEdges edges = EdgesOf(FStyle);
    TEdgeStyle e = info.IsDownIndex ? edges.Pressed
                   : info.IsHoverIndex && FStyle == hsPlates && o.Has(coAllowClick) ? edges.Hot
                                                                                     : edges.Normal;
    // The right edge is left out only on the last column, for the bevel to draw.
    if (!info.IsDownIndex && (info.ShowRightBorder || Index != cols.Count() - 1)) e.Flags |= plat::BF_RIGHT;
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
  // A themed button shows its own hot look; the hot caption colour belongs to the classic one.
  if (!elements.Has(hpeText) && !c.FText.isEmpty())
    PaintCaptionText(Canvas, wrap ? c.FCaptionText : c.FText, info.TextRectangle, info.IsEnabled,
                     info.IsHoverIndex && !themed, format, wrap);
  if (!elements.Has(hpeSortGlyph) && info.ShowSortGlyph) PaintSortGlyph(Canvas, info.SortGlyphPos, themed);
  plat::TCustomImageList* glyphs = TreeUnitImages(tlUtilities);
  if (!elements.Has(hpeDropMark) && info.DropMark != dmmNone && glyphs) {
    const int y = (Button.Top + Button.Bottom - GlyphSize) / 2;
    if (info.DropMark == dmmLeft)
      glyphs->Draw(Canvas, Button.Left, y, UtilityDropLeft);
    else
      glyphs->Draw(Canvas, Button.Right - GlyphSize, y, UtilityDropRight);
  }
  if (!elements.Empty()) {
    Canvas->SaveDC();
    OnAdvancedHeaderDraw(this, info, elements);
    Canvas->RestoreDC(-1);
  }
}

void TLTHeader::PaintSortGlyph(plat::TCanvas* Canvas, plat::TPoint At, bool Themed) {
  const bool ascending = FSortDirection == sdAscending;
  if (FOwner->TreeStates().Has(tsUseExplorerTheme) &&
      DrawHeaderElement(Canvas, plat::HP_HEADERSORTARROW, ascending ? plat::HSAS_SORTEDUP : plat::HSAS_SORTEDDOWN,
                        plat::TRect(At.X, At.Y, At.X + GlyphSize, At.Y + GlyphSize)))
    return;
  if (plat::TCustomImageList* glyphs = TreeUnitImages(tlUtilities)) {
    const int index = Themed ? (ascending ? UtilityThemedSortAscending : UtilityThemedSortDescending)
                             : (ascending ? UtilitySortAscending : UtilitySortDescending);
    glyphs->Draw(Canvas, At.X, At.Y, index);
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
  } else if (!FOwner->TreeStates().Has(tsUseThemes) ||
             !DrawHeaderElement(Canvas, plat::HP_HEADERITEM, plat::HIS_NORMAL, background)) {
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
