// Painting of TExtPageControl: after the strip's own look, the control paints the whole tab band, the page
// frame and every tab itself (unless TabBorder3D leaves the tabs to the strip).
#include <QImage>

#include <algorithm>
#include <cmath>

#include "controls/ext_page_control.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/rtl/math.h"

namespace controls {

using namespace plat;

// ---- shared painters ------------------------------------------------------------------------------------------

void FillTabGradient(TCanvas& Canvas, TColor From, TColor To, int Count, const TRect& Rect,
                     TGradientDirection Direction) {
  if (Count <= 0) Count = 1;
  const TColor f = ColorToRGB(From), t = ColorToRGB(To);
  const bool horizontal = Direction == gdHorizontal;
  const double d = double(horizontal ? Rect.Width() : Rect.Height()) / Count;
  auto channel = [&](int shift, int n) {
    const int a = (f >> shift) & 0xFF, b = (t >> shift) & 0xFF;
    return int(a + Round(double(n) * (b - a) / Count));
  };
  for (int n = 0; n < Count; ++n) {
    const TColor c = RGB(channel(0, n), channel(8, n), channel(16, n));
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Pen()->SetColor(c);
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(c);
    const int from = int(Round(n * d));
    const int to = from + int(Round(d)) + 1;
    if (horizontal)
      Canvas.Rectangle(Rect.Left + from, Rect.Top, Rect.Left + to, Rect.Bottom);
    else
      Canvas.Rectangle(Rect.Left, Rect.Top + from, Rect.Right, Rect.Top + to);
  }
}

void DrawThreeSlices(TCanvas& Canvas, const TBitmap& Picture, int X, int Y, int Length, bool Vertical) {
  if (Picture.Empty()) return;
  const QImage& img = Picture.Image();
  const TColor key = Picture.TransparentColor();
  const int size = Vertical ? img.height() : img.width();
  const int half = size / 2;
  auto part = [&](int from, int count, int stretchTo, int at) {
    if (count <= 0 || stretchTo <= 0) return;
    QImage slice = Vertical ? img.copy(0, from, img.width(), count) : img.copy(from, 0, count, img.height());
    if (stretchTo != count)
      slice = Vertical ? slice.scaled(img.width(), stretchTo) : slice.scaled(stretchTo, img.height());
    TBitmap b;
    b.SetImage(slice);
    b.SetTransparentColor(key);
    b.SetTransparent(true);
    Canvas.Draw(Vertical ? X : X + at, Vertical ? Y + at : Y, &b);
  };
  const int middle = Length - size;
  part(0, half, half, 0);
  part(std::max(0, half - 1), std::min(2, size), middle, half);
  part(half, size - half, size - half, half + std::max(0, middle));
}

// ---- the close button -----------------------------------------------------------------------------------------

TPoint TExtPageControl::CloseButtonOrigin(const TExtTabSheet* Sheet, TCloseButtonState State) const {
  const TRect R = TabRect(TabIndexOfPage(Sheet));
  const int lm = FTabMargin->LeftMargin(), tm = FTabMargin->TopMargin(), la = FLowerActive;
  const int to = FTabBackGroundActive->Empty() ? 0 : FTabOverlap;
  const bool active = Sheet == FActivePage;
  switch (TabPosition()) {
    case tpTop:
    case tpBottom:
      return TPoint(R.Left + lm, R.Top + tm + (active || State != cbsNormal ? la : 0));
    case tpRight:
      if (State == cbsHot) return TPoint(R.Left + lm, R.Top + tm);
      return TPoint(R.Left + lm + 2 - (active ? la : 0), R.Top + tm);
    case tpLeft:
      return TPoint(R.Left + lm + (active || State != cbsNormal ? la : 0), R.Bottom - tm + to);
  }
  return TPoint();
}

TRect TExtPageControl::CloseButtonHitRect(const TExtTabSheet* Sheet) const {
  if (!Sheet || !Sheet->FShowClose || !Sheet->FTabShowing || Sheet->FPageControl != this) return TRect();
  const TRect R = TabRect(TabIndexOfPage(Sheet));
  const int lm = FTabMargin->LeftMargin(), tm = FTabMargin->TopMargin();
  if (TabPosition() == tpLeft) {
    const int x = R.Left + lm + (FTabBackGroundActive->Empty() ? 0 : 2);
    const int y = R.Bottom - tm + (FTabBackGroundActive->Empty() ? 0 : FTabOverlap);
    return TRect(x + 2, y - 13, x + 14, y - 2);
  }
  const int x = R.Left + lm, y = R.Top + tm;
  return TRect(x + 2, y + 2, x + 14, y + 13);
}

void TExtPageControl::DrawCloseButton(TCanvas* C, const TExtTabSheet* Sheet, TCloseButtonState State) {
  const TPoint o = CloseButtonOrigin(Sheet, State);
  const int x = o.X, y = o.Y;
  const bool left = TabPosition() == tpLeft;
  if (!FCloseGlyph->Empty()) {
    const int gy = left ? y - 13 : y + 2;
    C->SaveDC();
    C->IntersectClipRect(TRect(x + 2, gy, x + 14, gy + 11));
    TBitmap glyph;
    glyph.Assign(*FCloseGlyph);
    glyph.SetTransparentMode(tmAuto);
    glyph.SetTransparent(true);
    C->Draw(x + 2, gy, &glyph);
    C->RestoreDC(-1);
    return;
  }
  const TColor fill = State == cbsPressed ? clSilver : clWhite;
  const TColor outline = State == cbsNormal ? clGray : clBlack;
  const TColor strokes = State == cbsHot ? clGray : clBlack;
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(outline);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(fill);
  if (left)
    C->Rectangle(x + 2, y - 13, x + 14, y - 2);
  else
    C->Rectangle(x + 2, y + 2, x + 14, y + 13);
  C->Pen()->SetColor(strokes);
  // The four strokes of the cross; for tabs on the left the figure is mirrored upwards from the origin.
  const int a = left ? -10 : 9, b = left ? -5 : 4, c = left ? -6 : 5, d = left ? -11 : 10;
  const int strokes4[4][4] = {{5, a, 11, b}, {6, a, 10, b}, {5, c, 11, d}, {6, c, 10, d}};
  for (const auto& s : strokes4) {
    C->MoveTo(x + s[0], y + s[1]);
    C->LineTo(x + s[2], y + s[3]);
  }
}

// ---- the painter ----------------------------------------------------------------------------------------------

class TExtPagePainter {
 public:
  TExtPagePainter(TExtPageControl& Control, TCanvas& Canvas)
      : P(Control), C(Canvas), W(Control.Width()), H(Control.Height()), Pos(Control.TabPosition()) {}

  void Run() {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(P.Parent() ? P.Parent()->Color() : clBtnFace);
    C.Font()->Assign(*P.Font());
    BandExtents();
    StripEnd();
    BandBackground();
    PageRing();
    PageBorder();
    SplitLine();
    for (int i = P.PageCount() - 1; i >= 0; --i) {
      TExtTabSheet* s = P.GetPage(i);
      if (s->TabVisible() && s->TabShowing()) PaintTab(s, i);
    }
    if (Deferred) FinishDeferred();
    HoverOutline();
  }

 private:
  struct Origin {
    int x = 0, y = 0;
  };

  void Line(int x1, int y1, int x2, int y2) {
    C.MoveTo(x1, y1);
    C.LineTo(x2, y2);
  }
  void Lines(std::initializer_list<TPoint> pts) {
    auto it = pts.begin();
    C.MoveTo(it->X, it->Y);
    for (++it; it != pts.end(); ++it) C.LineTo(it->X, it->Y);
  }
  void PenColor(TColor c) {
    C.Pen()->SetStyle(psSolid);
    C.Pen()->SetColor(c);
  }
  void Fill(const TRect& r, TColor c) {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(c);
    C.FillRect(r);
  }
  TRect Rect(const TExtTabSheet* s) const { return P.TabRect(P.TabIndexOfPage(s)); }

  void BandExtents() {
    bandBottom = 0;
    bandTop = P.TabCount() > 0 ? P.TabRect(0).Top : 0;
    bandLeft = W;
    bandRight = 0;
    bool any = false;
    for (int i = P.PageCount() - 1; i >= 0; --i) {
      TExtTabSheet* s = P.GetPage(i);
      if (!s->TabVisible() || !s->TabShowing()) continue;
      any = true;
      TRect r = Rect(s);
      bandBottom = std::max(bandBottom, r.Bottom);
      bandTop = std::min(bandTop, r.Top);
      bandLeft = std::min(bandLeft, r.Left);
      bandRight = std::max(bandRight, r.Right);
      r.Right += 2;
      switch (Pos) {
        case tpTop: r.Left -= 2; r.Top -= 2; break;
        case tpBottom: r.Left -= 2; r.Bottom += 2; break;
        case tpLeft: r.Left -= 2; r.Top -= 2; r.Right -= 2; r.Bottom += 2; break;
        case tpRight: r.Top -= 2; r.Bottom += 2; break;
      }
      C.FillRect(r);
    }
    if (!any) {
      if (Pos == tpTop) bandBottom = 2;
      if (Pos == tpBottom) bandTop = H - 2;
      if (Pos == tpLeft) bandRight = 2;
      if (Pos == tpRight) bandLeft = W - 2;
    }
  }

  void StripEnd() {
    if (P.MultiLine()) return;
    if (Pos == tpTop) {
      Fill(TRect(W - 35, 0, W, bandBottom), P.Color());
      PenColor(clWhite);
      Line(std::max(bandRight, W - 35), bandBottom, W, bandBottom);
    } else if (Pos == tpBottom) {
      Fill(TRect(W - 35, bandTop, W, H), P.Color());
      PenColor(cl3DDkShadow);
      Line(std::max(bandRight, W - 35), bandTop - 1, W, bandTop - 1);
    }
  }

  void BandBackground() {
    switch (Pos) {
      case tpTop: Fill(TRect(0, 0, W, bandBottom), P.FTabBackGroundColor); break;
      case tpBottom: Fill(TRect(0, bandTop, W, H), P.FTabBackGroundColor); break;
      case tpLeft: Fill(TRect(0, 0, bandRight, H - 1), P.FTabBackGroundColor); break;
      case tpRight: Fill(TRect(bandLeft, 0, W, H - 1), P.FTabBackGroundColor); break;
    }
  }

  // The four three-pixel strips just inside the frame; Top is the strip with the smallest y.
  TRegion Ring(TRect* Top) const {
    const int in = P.FTabSheet3D ? 1 : 0;
    TRect l(1, 1, 4, H - 1), r(W - 4, 1, W - 1, H - 1), t(1, 1, W - 1, 4), b(1, H - 4, W - 1, H - 1);
    switch (Pos) {
      case tpTop:
        l.Top = r.Top = bandBottom + in;
        t = TRect(1, bandBottom + in, W - 1, bandBottom + 4);
        break;
      case tpBottom:
        l.Bottom = r.Bottom = bandTop - in;
        b = TRect(1, bandTop - 4, W - 1, bandTop - in);
        break;
      case tpLeft:
        t.Left = b.Left = bandRight + in;
        l = TRect(bandRight + in, 1, bandRight + 4, H - 1);
        break;
      case tpRight:
        t.Right = b.Right = bandLeft - in;
        r = TRect(bandLeft - 4, 1, bandLeft - in, H - 1);
        break;
    }
    *Top = t;
    return TRegion(l).Combined(TRegion(r), RGN_OR).Combined(TRegion(t), RGN_OR).Combined(TRegion(b), RGN_OR);
  }

  void PageRing() {
    TExtTabSheet* a = P.FActivePage;
    painted = a && (a->ColorTo() != clNone || a->Color() != P.Color());
    if (!painted) return;
    TRect top;
    const TRegion ring = Ring(&top);
    C.SelectClipRgn(&ring);
    const TRect client(0, 0, W, H);
    if (a->ColorTo() == clNone) {
      PenColor(a->Color());
      C.Brush()->SetStyle(bsSolid);
      C.Brush()->SetColor(a->Color());
      C.Rectangle(client);
    } else {
      FillTabGradient(C, a->Color(), a->ColorTo(), 16, client, gdVertical);
      Fill(top, a->Color());
    }
    C.SelectClipRgn(nullptr);
  }

  void PageBorder() {
    if (P.FTabSheet3D) return;
    PenColor(P.FTabSheetBorderColor);
    const int bb = bandBottom, bt = bandTop, br = bandRight, bl = bandLeft;
    switch (Pos) {
      case tpTop:
        Line(0, bb, 0, H); Line(0, H - 1, W, H - 1); Line(W - 1, H - 2, W - 1, bb); Line(0, bb, W, bb);
        break;
      case tpBottom:
        Line(0, 0, 0, bt); Line(0, bt - 1, W, bt - 1); Line(W - 1, bt - 1, W - 1, 0); Line(0, 0, W, 0);
        break;
      case tpLeft:
        Line(br, 0, br, H); Line(br, H - 2, W - 2, H - 2); Line(W - 2, H, W - 2, 0); Line(W - 2, 0, br, 0);
        break;
      case tpRight:
        Line(0, 0, 0, H); Line(0, H, bl, H); Line(bl - 1, H, bl - 1, 0); Line(bl - 1, 0, 0, 0);
        break;
    }
    PenColor(P.Color());
    switch (Pos) {
      case tpTop:
        if (!painted) { Line(1, H - 2, W - 1, H - 2); Line(W - 2, H - 2, W - 2, bb); }
        break;
      case tpBottom:
        if (!painted) { Line(1, bt - 2, W - 1, bt - 2); Line(W - 2, bt - 2, W - 2, 0); }
        break;
      case tpLeft:
        Line(br, H - 1, W - 1, H - 1); Line(W - 1, H - 1, W - 1, -1);
        break;
      case tpRight:
        Line(0, H - 1, bl, H - 1);
        if (!painted) Line(bl - 2, H - 3, bl - 2, 0);
        break;
    }
    if (P.FRoundEdges) RoundCorners();
  }

  // Each far corner: the corner pixels in the control's colour and the border one pixel inward around it.
  // (a, b) are distances from the corner along its two edges.
  void RoundCorners() {
    static const int control[7][2] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {0, 2}, {0, 3}};
    static const int border[4][2] = {{1, 2}, {1, 3}, {2, 1}, {3, 1}};
    struct Corner { int x, y, dx, dy; };
    Corner corners[2];
    switch (Pos) {
      case tpTop: corners[0] = {0, H - 1, 1, -1}; corners[1] = {W - 1, H - 1, -1, -1}; break;
      case tpBottom: corners[0] = {0, 0, 1, 1}; corners[1] = {W - 1, 0, -1, 1}; break;
      case tpLeft: corners[0] = {W - 1, 0, -1, 1}; corners[1] = {W - 1, H - 1, -1, -1}; break;
      case tpRight: corners[0] = {0, 0, 1, 1}; corners[1] = {0, H - 1, 1, -1}; break;
    }
    for (const Corner& k : corners) {
      for (const auto& p : control) C.SetPixels(k.x + p[0] * k.dx, k.y + p[1] * k.dy, P.Color());
      for (const auto& p : border) C.SetPixels(k.x + p[0] * k.dx, k.y + p[1] * k.dy, P.FTabSheetBorderColor);
    }
  }

  void SplitLine() {
    if (P.FTabSplitLine || P.FTabSheet3D || P.PageCount() == 0) return;
    TExtTabSheet* a = P.FActivePage;
    TColor pen = P.Color();
    if (painted) pen = Pos == tpBottom && a->ColorTo() != clNone ? a->ColorTo() : a->Color();
    PenColor(pen);
    const int ov = P.FTabOverlap;
    switch (Pos) {
      case tpTop: Line(2, bandBottom, bandRight + ov, bandBottom); break;
      case tpBottom: Line(2, bandTop - 1, bandRight + ov, bandTop - 1); break;
      case tpLeft: {
        const int extra = P.FTabStyle == tsClassic && !P.FTabBackGround->Empty() ? 2 : 0;
        Line(bandRight, 2, bandRight, bandBottom + ov + extra);
        break;
      }
      case tpRight: Line(bandLeft - 1, bandBottom + ov - 1, bandLeft - 1, 2); break;
    }
  }

  Origin TextOrigin(const TExtTabSheet* s, const TRect& R, bool active) const {
    const int la = active ? P.FLowerActive : 0;
    const bool close = s->ShowClose();
    switch (Pos) {
      case tpTop: return {R.Left + (close ? 18 : 4), R.Top + 1 + la};
      case tpBottom: return {R.Left + (close ? 18 : 4), active ? R.Top + P.FLowerActive + 1 : R.Top};
      case tpLeft: return {R.Left + 1 + la, R.Bottom - (close ? 17 : 4)};
      case tpRight: return {R.Right - 1 - la, R.Top + (close ? 17 : 4)};
    }
    return {};
  }

  void TabColours(const TExtTabSheet* s, int page, bool active, TColor& from, TColor& to,
                  TGradientDirection& dir) const {
    if (active && P.FActiveColor != clNone) {
      from = P.FActiveColor, to = P.FActiveColorTo, dir = s->TabGradientDirection();
    } else if (page == P.FHoverTab && (P.FTabHoverColor != clNone || P.FTabHoverColorTo != clNone)) {
      from = P.FTabHoverColor, to = P.FTabHoverColorTo, dir = s->HoverGradientDirection();
    } else {
      from = s->TabColor(), to = s->TabColorTo(), dir = s->TabGradientDirection();
    }
  }

  // Without a background picture: fill (plain or gradient) and outline; returns the adjusted rectangle.
  TRect FillAndOutline(const TExtTabSheet* s, int page, TRect T, bool active, Origin& o) {
    TColor from, to;
    TGradientDirection dir;
    TabColours(s, page, active, from, to, dir);
    const bool horizontal = dir == gdHorizontal;
    if (Pos == tpTop) T.Top -= 1;
    if (Pos == tpBottom) T.Bottom += 1;
    if (Pos == tpLeft) T.Left -= 1;
    if (from != clNone) Fill(T, from);
    if (to != clNone) {
      TRect g = T;
      switch (Pos) {
        case tpTop: g.Bottom -= 1; if (horizontal) g.Right -= 1; break;
        case tpBottom: if (horizontal) g.Right -= 1; else g.Bottom -= 1; break;
        case tpLeft: g.Right -= 1; if (!horizontal) g.Bottom -= 1; break;
        case tpRight: if (!active && !horizontal) g.Bottom -= 1; break;
      }
      FillTabGradient(C, from, to, 16, g, dir);
    }
    if (Pos == tpRight) T.Right += 1;
    C.Brush()->SetStyle(bsClear);
    Outline(s, T, active, o);
    return T;
  }

  void Outline(const TExtTabSheet* s, const TRect& T, bool active, Origin& o) {
    const int L = T.Left, Tp = T.Top, R = T.Right, B = T.Bottom;
    PenColor(P.FTabBorderColor);
    if (P.FTabStyle == tsClassic) {
      if (active) {
        switch (Pos) {
          case tpTop: Lines({{L, B - 1}, {L, Tp}, {R, Tp}, {R, B}}); break;
          case tpBottom: Lines({{L, Tp}, {L, B}, {R, B}, {R, Tp - 1}}); break;
          case tpLeft: Lines({{R - 1, Tp}, {L, Tp}, {L, B}, {R, B}}); break;
          case tpRight: Lines({{L, Tp}, {R - 1, Tp}, {R - 1, B}, {L - 1, B}}); break;
        }
        return;
      }
      const int w = R > W - 5 ? 0 : 1, h = B > H - 5 ? 0 : 1;
      bool nextToPage = false;
      switch (Pos) {
        case tpTop: nextToPage = B >= bandBottom; break;
        case tpBottom: nextToPage = Tp <= bandTop; break;
        case tpLeft: nextToPage = R >= bandRight; break;
        case tpRight: nextToPage = L <= bandLeft; break;
      }
      const int e = !P.FTabSheet3D && !P.FTabSplitLine && nextToPage ? 1 : 0;
      switch (Pos) {
        case tpTop: C.Rectangle(L, Tp, R + w, B + e); break;
        case tpBottom: C.Rectangle(L, Tp - e, R + w, B); o.y += 2; break;
        case tpLeft: C.Rectangle(L, Tp, R + e, B + h); break;
        case tpRight: C.Rectangle(L - e, Tp, R, B + h); break;
      }
      return;
    }
    if (active) {
      switch (Pos) {
        case tpTop: Lines({{L, B}, {L, Tp}, {R, Tp}, {R, B}}); break;
        case tpBottom: Lines({{L, Tp - 1}, {L, B}, {R, B}, {R, Tp - 1}}); break;
        case tpLeft: Lines({{R, Tp}, {L, Tp}, {L, B}, {R, B}}); break;
        case tpRight: Lines({{L - 1, Tp}, {R - 1, Tp}, {R - 1, B}, {L - 1, B}}); break;
      }
      return;
    }
    switch (Pos) {
      case tpTop: Line(L, B, R, B); break;
      case tpBottom: Line(L, Tp - 1, R, Tp - 1); break;
      case tpLeft: Line(R, Tp, R, B); break;
      case tpRight: Line(L - 1, Tp, L - 1, B); break;
    }
    Separator(s, T);
  }

  void Separator(const TExtTabSheet* s, const TRect& T) {
    TExtTabSheet* next = nullptr;
    for (int i = s->PageIndex() + 1; i < P.PageCount() && !next; ++i)
      if (P.GetPage(i)->TabVisible()) next = P.GetPage(i);
    const bool horizontal = Pos == tpTop || Pos == tpBottom;
    const bool last = horizontal ? T.Right >= bandRight - 3 : T.Bottom >= bandBottom - 3;
    if (next == P.FActivePage && next && !last) return;
    PenColor(P.FActiveColor);
    if (horizontal) {
      Line(T.Right - 2, T.Bottom - 3, T.Right - 2, T.Top + 2);
      Line(T.Right - 3, T.Bottom - 3, T.Right - 3, T.Top + 2);
    } else {
      Line(T.Left + 2, T.Bottom - 2, T.Right - 2, T.Bottom - 2);
      Line(T.Left + 2, T.Bottom - 3, T.Right - 2, T.Bottom - 3);
    }
  }

  void Background(const TRect& R) {
    const int ov = P.FTabOverlap;
    switch (Pos) {
      case tpTop: DrawThreeSlices(C, *P.FTabBackGround, R.Left - 1, R.Top - 2, R.Width() + ov + 2, false); break;
      case tpBottom: DrawThreeSlices(C, *P.FTabBackGround, R.Left - 2, R.Top - 1, R.Width() + ov + 2, false); break;
      case tpLeft: DrawThreeSlices(C, *P.FTabBackGround, R.Left, R.Top, R.Height() + ov + 3, true); break;
      case tpRight: DrawThreeSlices(C, *P.FTabBackGround, R.Left - 1, R.Top - 2, R.Height() + ov + 3, true); break;
    }
  }

  void SelectFont(bool active) {
    if (Pos != tpLeft && Pos != tpRight) return;
    TFont turned;
    turned.Assign(active ? *P.FActiveFont : *C.Font());
    turned.SetOrientation(Pos == tpLeft ? -2700 : -900);
    C.Font()->Assign(turned);
  }

  void PaintTab(TExtTabSheet* s, int page) {
    const TRect R = Rect(s);
    const bool active = s == P.FActivePage;
    Origin o = TextOrigin(s, R, active);
    TRect T = R;
    bool deferred = false;
    if (P.FTabBackGround->Empty()) {
      T = FillAndOutline(s, page, R, active, o);
    } else {
      if (Pos == tpLeft) o.x -= 2, o.y -= 3;
      if (Pos == tpRight) o.x -= P.TabHeight() / 3, o.y -= 3;
      if (Pos == tpBottom) o.y += 3;
      deferred = active && !P.FTabBackGroundActive->Empty();
      if (!deferred) Background(R);
    }
    SelectFont(active);
    const TTabMargin& m = *P.FTabMargin;
    o.x += m.LeftMargin();
    if (Pos == tpLeft) {
      o.y -= m.TopMargin();
      if (!P.FTabBackGroundActive->Empty()) o.y += P.FTabOverlap + 3;
    } else {
      o.y += m.TopMargin();
    }
    if (deferred) {
      Deferred = s, DeferredOrigin = o, DeferredRect = R;
      C.Font()->Assign(*P.Font());
      return;
    }
    Content(s, R, T, active, o, false);
  }

  void Content(TExtTabSheet* s, const TRect& R, const TRect& T, bool active, Origin o, bool finishing) {
    if (s->ShowClose()) P.DrawCloseButton(&C, s, cbsNormal);
    if (P.FImages && s->ImageIndex() >= 0) {
      switch (Pos) {
        case tpLeft: P.FImages->Draw(&C, o.x, o.y - 14, s->ImageIndex(), true); o.y -= P.FImages->Height(); break;
        case tpRight: P.FImages->Draw(&C, o.x - 14, o.y, s->ImageIndex(), true); o.y += P.FImages->Height(); break;
        default: P.FImages->Draw(&C, o.x - 2, o.y, s->ImageIndex(), true); o.x += P.FImages->Width(); break;
      }
    }
    const bool horizontal = Pos == tpTop || Pos == tpBottom;
    if (active && horizontal && !finishing) {
      C.Font()->Assign(*P.FActiveFont);
    } else {
      C.Font()->SetColor(s->TabEnable() ? s->TextColor() : clGray);
    }
    C.Brush()->SetStyle(bsClear);
    if (horizontal) {
      if (finishing && Pos == tpBottom) o.y -= 2;
      TRect tr(o.x, o.y, R.Right, R.Bottom);
      C.DrawText(s->Caption(), tr, DT_SINGLELINE | DT_NOCLIP);
    } else {
      C.TextOut(o.x, o.y, s->Caption());
    }
    C.Font()->Assign(*P.Font());
    if (P.FShowFocus && active && P.Focused() && !P.Designing()) {
      const int ov = finishing ? P.FTabOverlap : 0;
      C.Pen()->SetColor(clBlack);
      C.Pen()->SetStyle(psDot);
      C.Brush()->SetStyle(bsClear);
      C.Rectangle(T.Left + 5, T.Top + 3, T.Right - 5 - (horizontal ? ov : 0), T.Bottom - 3 - (horizontal ? 0 : ov));
      C.Pen()->SetStyle(psSolid);
    }
  }

  void FinishDeferred() {
    const TRect& R = DeferredRect;
    const int ov = P.FTabOverlap;
    const bool lowered = P.FLowerActive >= 1;
    const TBitmap& pic = *P.FTabBackGroundActive;
    switch (Pos) {
      case tpTop: DrawThreeSlices(C, pic, R.Left - 2, lowered ? R.Top - 1 : R.Top - 2, R.Width() + ov + 2, false); break;
      case tpBottom: DrawThreeSlices(C, pic, R.Left - 2, lowered ? R.Top - 3 : R.Top - 1, R.Width() + ov + 2, false); break;
      case tpLeft: DrawThreeSlices(C, pic, lowered ? R.Left + 1 : R.Left, R.Top, R.Height() + ov + 3, true); break;
      case tpRight: DrawThreeSlices(C, pic, lowered ? R.Left - 3 : R.Left - 1, R.Top - 2, R.Height() + ov + 3, true); break;
    }
    SelectFont(true);
    Content(Deferred, R, R, true, DeferredOrigin, true);
  }

  void HoverOutline() {
    if (P.FHoverTab < 0 || P.FHoverTab == P.ActivePageIndex() || P.FTabHoverBorder == clNone) return;
    TExtTabSheet* s = P.GetPage(P.FHoverTab);
    if (!s || !s->TabShowing()) return;
    TRect r = Rect(s);
    if ((Pos == tpTop || Pos == tpBottom) && r.Right > W - 5) r.Right -= 1;
    if ((Pos == tpLeft || Pos == tpRight) && r.Bottom > H - 5) r.Bottom -= 1;
    PenColor(P.FTabHoverBorder);
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    switch (Pos) {
      case tpTop: Lines({{L, B - 2}, {L, T - 1}, {R, T - 1}, {R, B - 1}}); break;
      case tpBottom: Lines({{L, T + 1}, {L, B}, {R, B}, {R, T}}); break;
      case tpLeft: Lines({{R - 2, T}, {L - 1, T}, {L - 1, B - 2}, {R - 1, B - 2}}); break;
      case tpRight: Lines({{L + 1, T}, {R + 1, T}, {R + 1, B}, {L, B}}); break;
    }
  }

  TExtPageControl& P;
  TCanvas& C;
  const int W, H;
  const TTabPosition Pos;
  int bandTop = 0, bandBottom = 0, bandLeft = 0, bandRight = 0;
  bool painted = false;
  TExtTabSheet* Deferred = nullptr;
  Origin DeferredOrigin;
  TRect DeferredRect;
};

void TExtPageControl::Paint() {
  TCustomTabControl::Paint();
  if (FTabBorder3D) return;
  TCanvas* C = Canvas();
  TExtPagePainter(*this, *C).Run();
  // What the platform draws straight onto the window between paints: the active close button's hot or
  // pressed state, and the scroll buttons (a window of their own there).
  if (FActivePage && FActivePage->FShowClose && FActivePage->FTabShowing && FCloseState != cbsNormal)
    DrawCloseButton(C, FActivePage, FCloseState);
  PaintScrollButtons(C);
}

}  // namespace controls
