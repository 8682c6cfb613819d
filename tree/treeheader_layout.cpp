// Where a header button's caption, header glyph (image or check box) and sort arrow go: sizes, the vertical
// placement by glyph layout, the horizontal placement by caption alignment, then clamping into the margins.
#include <algorithm>

#include "platform/graphics/drawtext.h"
#include "platform/graphics/imagelist.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"
#include "tree/treeheaderhost.h"
#include "tree/treeutils.h"

namespace lazytree {
namespace {

constexpr int SortGlyphSize = 16;

// The measures of one button's content, inside its client area (the button less a 2-pixel frame).
struct TContent {
  int CW = 0, CH = 0;
  int GW = 0, GH = 0;  // header glyph
  int SW = 0, SH = 0;  // sort arrow
  int TW = 0, TH = 0;  // caption
  int Margin = 0, Spacing = 0, TextSpacing = 0;
  bool Glyph = false, Sort = false, Rtl = false;
  TLTHeaderColumnLayout Layout = blGlyphLeft;
  bool Horizontal() const { return Layout == blGlyphLeft || Layout == blGlyphRight; }
};

void PlaceVertically(const TContent& C, THeaderLayout& L, int& TextY) {
  if (C.Horizontal() || !C.Glyph) {
    L.GlyphPos.Y = (C.CH - C.GH) / 2;
    TextY = std::max((C.CH - C.TH) / 2, -5);
  } else if (C.Layout == blGlyphTop) {
    L.GlyphPos.Y = (C.CH - (C.GH + C.TH + C.TextSpacing)) / 2;
    TextY = L.GlyphPos.Y + C.GH + C.TextSpacing;
  } else {
    TextY = (C.CH - (C.GH + C.TH + C.TextSpacing)) / 2;
    L.GlyphPos.Y = TextY + C.TH + C.TextSpacing;
  }
}

void PlaceLeft(const TContent& C, THeaderLayout& L, int& TextX) {
  int x = C.Margin;
  if (C.Rtl && C.Sort) {
    L.SortGlyphPos.X = x;
    x += C.SW + C.Spacing;
  }
  if (C.Horizontal()) {
    if (C.Glyph && C.Layout == blGlyphLeft) {
      L.GlyphPos.X = x;
      x += C.GW + C.Spacing;
    }
    TextX = x;
    x += C.TextSpacing + C.TW;
    if (C.Glyph && C.Layout == blGlyphRight) {
      L.GlyphPos.X = x;
      x += C.GW + C.Spacing;
    }
  } else {
    TextX = x;
    if (!C.Glyph) {
      x += C.TW + C.TextSpacing;
    } else {
      L.GlyphPos.X = std::max((C.CW - C.GW) / 2, x);
      x = std::max(L.GlyphPos.X + C.GW + C.Spacing, TextX + C.TW + C.TextSpacing);
    }
  }
  if (!C.Rtl && C.Sort) L.SortGlyphPos.X = x;
}

void PlaceRight(const TContent& C, THeaderLayout& L, int& TextX) {
  int x = C.CW - C.Margin;  // a right edge
  if (!C.Rtl && C.Sort) {
    x -= C.SW;
    L.SortGlyphPos.X = x;
    x -= C.Spacing;
  }
  if (C.Horizontal()) {
    if (C.Glyph && C.Layout == blGlyphRight) {
      L.GlyphPos.X = x - C.GW;
      x = L.GlyphPos.X - C.Spacing;
    }
    TextX = x - C.TW;
    x -= C.TW + C.TextSpacing;
    if (C.Glyph && C.Layout == blGlyphLeft) {
      L.GlyphPos.X = x - C.GW;
      x = L.GlyphPos.X - C.Spacing;
    }
  } else {
    TextX = x - C.TW;
    if (!C.Glyph) {
      x = TextX - C.TextSpacing;
    } else {
      L.GlyphPos.X = (C.CW - C.GW) / 2;
      if (x < L.GlyphPos.X + C.GW + C.Spacing) L.GlyphPos.X = x - C.GW - C.Spacing;
      x = std::min(L.GlyphPos.X - C.Spacing, TextX - C.TextSpacing);
    }
  }
  if (C.Rtl && C.Sort) L.SortGlyphPos.X = x - C.SW;
}

void PlaceCentred(const TContent& C, THeaderLayout& L, int& TextX) {
  if (C.Horizontal()) {
    int l = (C.CW - (C.GW + C.TextSpacing + C.TW)) / 2;
    if (C.Glyph && C.Layout == blGlyphRight) L.GlyphPos.X = l + C.TextSpacing + C.TW;
    if (C.Glyph && C.Layout == blGlyphLeft) {
      L.GlyphPos.X = l;
      l += C.TextSpacing + C.GW;
    }
    TextX = l;
  } else {
    L.GlyphPos.X = (C.CW - C.GW) / 2;
    TextX = (C.CW - C.TW) / 2 - (C.Sort ? C.SW / 2 : 0);
  }
  int lo = TextX, hi = TextX + C.TW;
  if (C.Glyph) {
    lo = std::min(L.GlyphPos.X, TextX);
    hi = std::max(L.GlyphPos.X + C.GW, TextX + C.TW);
  }
  if (C.Sort) L.SortGlyphPos.X = C.Rtl ? lo - C.Spacing - C.SW : hi + C.Spacing;
}

}  // namespace

THeaderLayout TLTHeader::LayoutHeaderContent(plat::TCanvas* Canvas, TLazyTreeColumn& Col, const plat::TRect& Client,
                                             bool ShowSortGlyph, bool ShowHeaderGlyph) {
  THeaderLayout L;
  const QString& caption = Col.FText;
  if (caption.isEmpty() && !ShowSortGlyph && !ShowHeaderGlyph) return L;
  TContent c;
  c.Rtl = Col.UseRightToLeftReading();
  plat::TAlignment align = Col.CaptionAlignment();
  if (c.Rtl && align != plat::taCenter) align = align == plat::taLeftJustify ? plat::taRightJustify : plat::taLeftJustify;
  c.CW = Client.Width();
  c.CH = Client.Height();
  c.Glyph = ShowHeaderGlyph;
  c.Sort = ShowSortGlyph;
  c.Layout = Col.FLayout;
  if (c.Glyph) {
    const plat::TSize size = HeaderGlyphSize(Col);
    c.GW = size.cx;
    c.GH = size.cy;
  }
  c.SW = c.SH = c.Sort ? SortGlyphSize : 0;
  c.Margin = Col.FMargin;
  c.Spacing = Col.FSpacing;
  c.TextSpacing = caption.isEmpty() ? 0 : c.Spacing;
  const bool wrap = Col.FOptions.Has(coWrapCaption);
  if (!caption.isEmpty()) {
    if (wrap) {
      if (Col.FCaptionText.isEmpty()) Col.FCaptionText = WrapTextToWidth(Canvas, caption, Client, c.Rtl, plat::DT_NOPREFIX);
      plat::TRect r(0, 0, c.CW, 0);
      Canvas->DrawText(Col.FCaptionText, r, plat::DT_CALCRECT | plat::DT_NOPREFIX | plat::DT_WORDBREAK);
      c.TW = c.CW;
      c.TH = r.Height();
    } else {
      Col.FCaptionText = caption;
      c.TW = Canvas->TextWidth(caption) + 2;
      c.TH = Canvas->TextHeight(caption);
    }
  }
  if (c.Sort) L.SortGlyphPos.Y = (c.CH - c.SH) / 2;
  int textX = 0, textY = 0;
  if (caption.isEmpty() && !c.Glyph) {
    L.SortGlyphPos = {(c.CW - c.SW) / 2, (c.CH - c.SH) / 2};
  } else {
    PlaceVertically(c, L, textY);
    if (align == plat::taLeftJustify) PlaceLeft(c, L, textX);
    else if (align == plat::taRightJustify) PlaceRight(c, L, textX);
    else PlaceCentred(c, L, textX);
  }
  // Clamping into the margins: the sort arrow first, then the glyph, then the caption in what is left.
  int minLeft = c.Margin, maxRight = c.CW - c.Margin;
  if (c.Sort) {
    if (!c.Rtl) {
      if (L.SortGlyphPos.X + c.SW > maxRight) L.SortGlyphPos.X = maxRight - c.SW;
      maxRight = L.SortGlyphPos.X - c.Spacing;
    }
    L.SortGlyphPos.X = std::max(L.SortGlyphPos.X, c.Margin);
    if (c.Rtl) minLeft = L.SortGlyphPos.X + c.SW + c.Spacing;
    L.SortGlyphPos = {L.SortGlyphPos.X + Client.Left, L.SortGlyphPos.Y + Client.Top};
  }
  if (c.Glyph) {
    if (L.GlyphPos.X + c.GW > maxRight) L.GlyphPos.X = maxRight - c.GW;
    if (c.Layout == blGlyphRight) maxRight = L.GlyphPos.X - c.Spacing;
    L.GlyphPos.X = std::max(L.GlyphPos.X, minLeft);
    if (c.Layout == blGlyphLeft) minLeft = L.GlyphPos.X + c.GW + c.Spacing;
    if (Col.Index() != MainColumn() || Col.FCheckBox) L.GlyphPos.X -= 2;
    L.GlyphPos = {L.GlyphPos.X + Client.Left, L.GlyphPos.Y + Client.Top};
  }
  if (!caption.isEmpty()) {
    textX = std::max(textX, minLeft);
    L.TextRect = plat::TRect(textX, textY, textX + c.TW, textY + c.TH);
    L.TextRect.Right = std::min(L.TextRect.Right, maxRight);
    L.TextRect = plat::TRect(L.TextRect.Left + Client.Left, L.TextRect.Top + Client.Top,
                             L.TextRect.Right + Client.Left, L.TextRect.Bottom + Client.Top);
    if (wrap) Col.FCaptionText = WrapTextToWidth(Canvas, caption, L.TextRect, c.Rtl, plat::DT_NOPREFIX);
  }
  return L;
}

plat::TSize TLTHeader::HeaderGlyphSize(const TLazyTreeColumn& Column) const {
  const plat::TCustomImageList* list = Column.FCheckBox ? FOwner->CheckImagesInForce() : Images();
  return list ? plat::TSize(list->Width(), list->Height()) : plat::TSize(0, 0);
}

plat::TCustomImageList* TLTHeader::Images() const { return FHost->HeaderImages(); }

void TLTHeader::SetImages(plat::TCustomImageList* Value) { FHost->SetHeaderImages(Value); }

}  // namespace lazytree
