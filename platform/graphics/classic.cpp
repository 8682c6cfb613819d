#include "platform/graphics/classic.h"

#include <QPainter>

#include <algorithm>

namespace plat {

namespace {

void HLine(TCanvas& c, int x1, int x2, int y, TColor colour) {
  if (x2 <= x1) return;
  QPainter* p = c.Painter();
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->fillRect(QRect(x1, y, x2 - x1, 1), ToQColor(colour));
}

void VLine(TCanvas& c, int x, int y1, int y2, TColor colour) {
  if (y2 <= y1) return;
  QPainter* p = c.Painter();
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->fillRect(QRect(x, y1, 1, y2 - y1), ToQColor(colour));
}

void Fill(TCanvas& c, const TRect& r, TColor colour) {
  if (r.IsEmpty()) return;
  QPainter* p = c.Painter();
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->fillRect(ToQRect(r), ToQColor(colour));
}

// One ring of the edge: top/left in tl, bottom/right in br.
void Ring(TCanvas& c, TRect& r, unsigned sides, TColor tl, TColor br) {
  if (r.IsEmpty()) return;
  if (sides & BF_BOTTOM) HLine(c, r.Left, r.Right, r.Bottom - 1, br);
  if (sides & BF_RIGHT) VLine(c, r.Right - 1, r.Top, r.Bottom, br);
  if (sides & BF_TOP) HLine(c, r.Left, r.Right - ((sides & BF_RIGHT) ? 1 : 0), r.Top, tl);
  if (sides & BF_LEFT) VLine(c, r.Left, r.Top, r.Bottom - ((sides & BF_BOTTOM) ? 1 : 0), tl);
  if (sides & BF_LEFT) ++r.Left;
  if (sides & BF_TOP) ++r.Top;
  if (sides & BF_RIGHT) --r.Right;
  if (sides & BF_BOTTOM) --r.Bottom;
}

}  // namespace

bool DrawEdge(HDC dc, TRect& r, unsigned edge, unsigned flags) {
  if (!dc) return false;
  TCanvas& c = *dc;
  TRect work = r;
  unsigned sides = flags & BF_RECT;
  unsigned outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  TColor oTL = clNone, oBR = clNone, iTL = clNone, iBR = clNone;
  if (flags & BF_MONO) {
    if (outer) oTL = oBR = clWindowFrame;
    if (inner) iTL = iBR = clWindow;
  } else if (flags & BF_FLAT) {
    if (outer) oTL = oBR = clBtnShadow;
    if (inner) iTL = iBR = clBtnFace;
  } else {
    bool soft = flags & BF_SOFT;
    if (outer == BDR_RAISEDOUTER) { oTL = soft ? clBtnHighlight : cl3DLight; oBR = cl3DDkShadow; }
    else if (outer == BDR_SUNKENOUTER) { oTL = soft ? cl3DDkShadow : clBtnShadow; oBR = clBtnHighlight; }
    if (inner == BDR_RAISEDINNER) { iTL = soft ? cl3DLight : clBtnHighlight; iBR = clBtnShadow; }
    else if (inner == BDR_SUNKENINNER) { iTL = soft ? clBtnShadow : cl3DDkShadow; iBR = cl3DLight; }
  }
  if (oTL != clNone) Ring(c, work, sides, oTL, oBR);
  if (iTL != clNone) Ring(c, work, sides, iTL, iBR);
  if (flags & BF_MIDDLE) Fill(c, work, (flags & (BF_MONO | BF_FLAT)) ? clWindow : clBtnFace);
  c.Trace(TraceKind::Edge, r, {}, {}, edge | (flags << 16));
  if (flags & BF_ADJUST) r = work;
  return true;
}

void DrawArrowGlyph(TCanvas& canvas, const TRect& r, int direction, TColor colour) {
  int s = std::min(r.Width(), r.Height());
  if (s <= 0) return;
  int h = std::max(1, (s - 4) / 4 + 1);  // 4 rows for a 16-pixel button
  int cx = r.Left + (r.Width() - 1) / 2, cy = r.Top + (r.Height() - 1) / 2;
  QPainter* p = canvas.Painter();
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_Source);
  QColor col = ToQColor(colour);
  for (int i = 0; i < h; ++i) {
    // Row i of the triangle, from the tip (one pixel) to the base (2h-1 pixels).
    int half = i;
    switch (direction) {
      case 0: p->fillRect(QRect(cx - half, cy - h / 2 + i, 2 * half + 1, 1), col); break;
      case 1: p->fillRect(QRect(cx - half, cy + (h - 1) / 2 - i, 2 * half + 1, 1), col); break;
      case 2: p->fillRect(QRect(cx - h / 2 + i, cy - half, 1, 2 * half + 1), col); break;
      default: p->fillRect(QRect(cx + (h - 1) / 2 - i, cy - half, 1, 2 * half + 1), col); break;
    }
  }
}

namespace {

TRect CentredSquare(const TRect& r) {
  int s = std::min(r.Width(), r.Height());
  int x = r.Left + (r.Width() - s) / 2, y = r.Top + (r.Height() - s) / 2;
  return TRect(x, y, x + s, y + s);
}

void CheckMark(TCanvas& c, const TRect& box, TColor colour) {
  // A 7 x 7 tick, centred.
  int x0 = box.Left + (box.Width() - 7) / 2, y0 = box.Top + (box.Height() - 7) / 2;
  static constexpr int kRow[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) VLine(c, x0 + i, y0 + kRow[i], y0 + kRow[i] + 3, colour);
}

bool DrawButton(TCanvas& c, const TRect& r, unsigned state) {
  unsigned kind = state & 0x1F;
  bool inactive = state & DFCS_INACTIVE, pushed = state & DFCS_PUSHED, checked = state & DFCS_CHECKED;
  bool flat = state & (DFCS_FLAT | DFCS_MONO);
  if (kind & DFCS_BUTTONPUSH) {
    TRect work = r;
    if (pushed || checked) {
      DrawEdge(&c, work, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN,
               BF_RECT | BF_ADJUST | (flat ? BF_FLAT : 0u));
      Fill(c, work, checked && !pushed ? cl3DLight : clBtnFace);
    } else {
      DrawEdge(&c, work, flat ? BDR_RAISEDOUTER : EDGE_RAISED,
               BF_RECT | BF_ADJUST | BF_SOFT | (flat ? BF_FLAT : 0u));
      Fill(c, work, clBtnFace);
    }
    return true;
  }
  TRect box = CentredSquare(r);
  if (box.IsEmpty()) return true;
  TColor back = (pushed || inactive) ? clBtnFace : clWindow;
  TColor mark = inactive ? clGrayText : clWindowText;
  if ((kind & DFCS_BUTTONRADIO) || kind == DFCS_BUTTONRADIOIMAGE || kind == DFCS_BUTTONRADIOMASK) {
    QPainter* p = c.Painter();
    if (!p) return true;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    QRectF e(box.Left, box.Top, box.Width() - 1, box.Height() - 1);
    p->setPen(QPen(ToQColor(clBtnShadow), 1));
    p->setBrush(ToQColor(back));
    p->drawEllipse(e);
    if (!flat) {
      // Sunken like the check box: an outer ring shadowed at the upper left and lit at the lower right, and an
      // inner ring dark at the upper left and face-coloured at the lower right.
      p->setBrush(Qt::NoBrush);
      p->setPen(QPen(ToQColor(clBtnHighlight), 1));
      p->drawArc(e, -45 * 16, 180 * 16);
      const QRectF in = e.adjusted(1, 1, -1, -1);
      p->setPen(QPen(ToQColor(cl3DDkShadow), 1));
      p->drawArc(in, 45 * 16, 180 * 16);
      p->setPen(QPen(ToQColor(clBtnFace), 1));
      p->drawArc(in, -135 * 16, 180 * 16);
    }
    if (checked) {
      // A round dot of whole pixels (without antialiasing a small ellipse comes out as a bar).
      const int d = std::max(2, box.Width() / 3);
      const int x = box.Left + (box.Width() - d) / 2, y = box.Top + (box.Height() - d) / 2;
      const QColor m = ToQColor(mark);
      p->fillRect(QRect(x + 1, y, d - 2, d), m);
      p->fillRect(QRect(x, y + 1, d, d - 2), m);
    }
    return true;
  }
  // Check box (two- or three-state).
  TRect work = box;
  if (flat) {
    Ring(c, work, BF_RECT, clBtnShadow, clBtnShadow);
  } else {
    DrawEdge(&c, work, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  }
  bool third = (kind & DFCS_BUTTON3STATE) && checked;
  Fill(c, work, third ? clBtnFace : back);
  if (checked) CheckMark(c, work, third ? clBtnShadow : mark);
  return true;
}

bool DrawScroll(TCanvas& c, const TRect& r, unsigned state) {
  unsigned kind = state & 0xFF;
  if (kind == DFCS_SCROLLSIZEGRIP) {
    Fill(c, r, clBtnFace);
    for (int i = 0; i < 3; ++i) {
      int off = 4 * i + 2;
      for (int k = 0; k < 2; ++k) {
        QPainter* p = c.Painter();
        if (!p) return true;
        p->setPen(QPen(ToQColor(k == 0 ? clBtnHighlight : clBtnShadow), 1));
        p->drawLine(r.Right - 1 - off - k, r.Bottom - 1, r.Right - 1, r.Bottom - 1 - off - k);
      }
    }
    return true;
  }
  int dir = kind == DFCS_SCROLLUP ? 0 : kind == DFCS_SCROLLLEFT ? 2 : kind == DFCS_SCROLLRIGHT ? 3 : 1;
  DrawButton(c, r, DFCS_BUTTONPUSH | (state & (DFCS_PUSHED | DFCS_FLAT | DFCS_MONO)));
  TRect g = r;
  if (state & DFCS_PUSHED) OffsetRect(g, 1, 1);
  if (state & DFCS_INACTIVE) {
    TRect s = g;
    OffsetRect(s, 1, 1);
    DrawArrowGlyph(c, s, dir, clBtnHighlight);
    DrawArrowGlyph(c, g, dir, clBtnShadow);
  } else {
    DrawArrowGlyph(c, g, dir, clBtnText);
  }
  return true;
}

bool DrawCaption(TCanvas& c, const TRect& r, unsigned state) {
  DrawButton(c, r, DFCS_BUTTONPUSH | (state & (DFCS_PUSHED | DFCS_FLAT | DFCS_MONO)));
  QPainter* p = c.Painter();
  if (!p) return true;
  TRect g = r;
  InflateRect(g, -std::max(2, r.Width() / 4), -std::max(2, r.Height() / 4));
  if (state & DFCS_PUSHED) OffsetRect(g, 1, 1);
  QColor col = ToQColor(state & DFCS_INACTIVE ? clGrayText : clBtnText);
  p->setCompositionMode(QPainter::CompositionMode_Source);
  switch (state & 0xFF) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i < g.Width() && i < g.Height(); ++i) {
        p->fillRect(QRect(g.Left + i, g.Top + i, 2, 1), col);
        p->fillRect(QRect(g.Right - 2 - i, g.Top + i, 2, 1), col);
      }
      break;
    case DFCS_CAPTIONMIN: p->fillRect(QRect(g.Left, g.Bottom - 2, g.Width(), 2), col); break;
    case DFCS_CAPTIONMAX:
      p->setPen(QPen(col, 1));
      p->setBrush(Qt::NoBrush);
      p->drawRect(QRect(g.Left, g.Top, g.Width() - 1, g.Height() - 1));
      p->fillRect(QRect(g.Left, g.Top + 1, g.Width(), 1), col);
      break;
    default: break;
  }
  return true;
}

}  // namespace

bool DrawFrameControl(HDC dc, const TRect& r, unsigned type, unsigned state) {
  if (!dc || r.IsEmpty()) return false;
  bool ok = false;
  switch (type) {
    case DFC_BUTTON: ok = DrawButton(*dc, r, state); break;
    case DFC_SCROLL: ok = DrawScroll(*dc, r, state); break;
    case DFC_CAPTION: ok = DrawCaption(*dc, r, state); break;
    default: return false;
  }
  dc->Trace(TraceKind::FrameControl, r, {}, {}, type | (state << 16));
  return ok;
}

}  // namespace plat
