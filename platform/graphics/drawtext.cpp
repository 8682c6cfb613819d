#include "platform/graphics/drawtext.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/graphics/canvas.h"
#include "platform/graphics/shapedtext.h"

namespace plat {

QString StripPrefixes(const QString& text, int* underline) {
  QString out;
  out.reserve(text.size());
  int u = -1;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
        continue;
      }
      if (i + 1 < text.size()) u = int(out.size());
      continue;
    }
    out += text[i];
  }
  if (underline) *underline = u;
  return out;
}

namespace {

const QString kEllipsis = QStringLiteral("...");

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

int FloorDiv(int a, int b) {
  int q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

struct Line {
  QString text;
  int underline = -1;  // index into text
};

class Layout {
 public:
  Layout(const QFont& font, unsigned flags, int tabChars)
      : font_(font), fm_(font), flags_(flags), tabChars_(tabChars) {}

  bool Expands(const QString& s) const { return (flags_ & DT_EXPANDTABS) && s.contains(QLatin1Char('\t')); }

  // The width of a line that is drawn or reported: the same texts come again on the next paint, so their
  // shaping is kept (the trial widths of wrapping and eliding are not).
  int LineWidth(const QString& s) const { return Expands(s) ? Width(s) : ShapedTextWidth(font_, s); }

  int Width(const QString& s) const {
    if (s.isEmpty()) return 0;
    if (!(flags_ & DT_EXPANDTABS) || !s.contains(QLatin1Char('\t'))) return fm_.horizontalAdvance(s);
    int x = 0;
    int start = 0;
    for (int i = 0; i <= s.size(); ++i) {
      if (i == s.size() || s[i] == QLatin1Char('\t')) {
        if (i > start) x += fm_.horizontalAdvance(s.mid(start, i - start));
        if (i < s.size()) x = (x / TabWidth() + 1) * TabWidth();
        start = i + 1;
      }
    }
    return x;
  }

  // Draws s with its top-left at (x, y), tab segments placed at their stops.
  // Clip: the one rectangle p clips to, in device pixels, when known.
  void Draw(QPainter* p, int x, int y, const QString& s, const QRect* clip) const {
    int base = y + fm_.ascent();
    if (!Expands(s)) {
      if (!DrawShapedText(*p, QPointF(x, base), font_, s, clip)) p->drawText(QPoint(x, base), s);
      return;
    }
    int cx = 0;
    int start = 0;
    for (int i = 0; i <= s.size(); ++i) {
      if (i == s.size() || s[i] == QLatin1Char('\t')) {
        if (i > start) {
          QString seg = s.mid(start, i - start);
          p->drawText(QPoint(x + cx, base), seg);
          cx += fm_.horizontalAdvance(seg);
        }
        if (i < s.size()) cx = (cx / TabWidth() + 1) * TabWidth();
        start = i + 1;
      }
    }
  }

  // Shortens s with "..." so that it fits maxW. The underline index is dropped when its character goes.
  Line Elide(const Line& in, int maxW) const {
    if (Width(in.text) <= maxW) return in;
    Line out;
    const QString& s = in.text;
    if (flags_ & DT_PATH_ELLIPSIS) {
      int sep = std::max(int(s.lastIndexOf(QLatin1Char('\\'))), int(s.lastIndexOf(QLatin1Char('/'))));
      if (sep > 0) {
        QString tail = s.mid(sep);
        for (int n = sep - 1; n >= 0; --n) {
          QString cand = s.left(n) + kEllipsis + tail;
          if (Width(cand) <= maxW || n == 0) {
            if (Width(cand) <= maxW) {
              out.text = cand;
              out.underline = in.underline >= 0 && in.underline < n ? in.underline : -1;
              return out;
            }
            break;
          }
        }
        // Even the last part does not fit: shorten that at its end.
        Line t;
        t.text = kEllipsis + tail;
        return ElideEnd(t, maxW);
      }
    }
    if (flags_ & DT_WORD_ELLIPSIS) {
      int n = int(s.size());
      while (n > 0) {
        int sp = int(s.lastIndexOf(QLatin1Char(' '), n - 1));
        if (sp <= 0) break;
        n = sp;
        while (n > 0 && IsBlank(s[n - 1])) --n;
        QString cand = s.left(n) + kEllipsis;
        if (Width(cand) <= maxW) {
          out.text = cand;
          out.underline = in.underline >= 0 && in.underline < n ? in.underline : -1;
          return out;
        }
      }
    }
    return ElideEnd(in, maxW);
  }

  Line ElideEnd(const Line& in, int maxW) const {
    const QString& s = in.text;
    for (int n = int(s.size()); n >= 0; --n) {
      QString cand = s.left(n) + kEllipsis;
      if (Width(cand) <= maxW || n == 0) {
        Line out;
        out.text = cand;
        out.underline = in.underline >= 0 && in.underline < n ? in.underline : -1;
        return out;
      }
    }
    return in;
  }

  const QFontMetrics& Metrics() const { return fm_; }

 private:
  const QFont& font_;
  QFontMetrics fm_;
  // Measured on the first tab only: most texts have none, and the average width costs a glyph walk.
  int TabWidth() const {
    if (tabWidth_ == 0) tabWidth_ = std::max(1, tabChars_ * fm_.averageCharWidth());
    return tabWidth_;
  }

  unsigned flags_;
  int tabChars_;
  mutable int tabWidth_ = 0;
};

// Breaks one paragraph [ps, pe) of t into lines no wider than maxW.
void WrapParagraph(const Layout& lay, const QString& t, int ps, int pe, int maxW, bool breakWords, int underline,
                   std::vector<Line>& out) {
  auto add = [&](int a, int b) {
    Line l;
    l.text = t.mid(a, b - a);
    l.underline = underline >= a && underline < b ? underline - a : -1;
    out.push_back(l);
  };
  if (ps >= pe) {
    add(ps, ps);
    return;
  }
  int pos = ps;
  while (pos < pe) {
    int best = -1;
    int firstWordEnd = -1;
    int k = pos;
    while (k < pe) {
      int j = k;
      while (j < pe && IsBlank(t[j])) ++j;
      while (j < pe && !IsBlank(t[j])) ++j;
      if (firstWordEnd < 0) firstWordEnd = j;
      if (lay.Width(t.mid(pos, j - pos)) <= maxW) {
        best = j;
        k = j;
      } else {
        break;
      }
    }
    int end;
    if (best < 0) {
      end = firstWordEnd;
      if (breakWords) {
        int m = pos + 1;
        while (m < firstWordEnd && lay.Width(t.mid(pos, m + 1 - pos)) <= maxW) ++m;
        end = m;
      }
    } else {
      end = best;
    }
    int drawEnd = end;
    while (drawEnd > pos && IsBlank(t[drawEnd - 1])) --drawEnd;
    add(pos, drawEnd);
    int next = end;
    while (next < pe && IsBlank(t[next])) ++next;
    pos = next;
  }
}

// Where the canvas's own painter on its image clips this text, in the image's pixels, when that is one
// rectangle: the canvas's clip and the text's rectangle, both as the canvas gave them to the painter.
std::optional<QRect> DeviceClip(TCanvas& Canvas, const QPainter& P, const TRect& R, unsigned Flags) {
  QImage* image = Canvas.Image();
  if (!image || P.device() != image) return std::nullopt;
  const TPoint shift = Canvas.LogicalToDevice(TPoint(0, 0));
  if (P.deviceTransform() != QTransform::fromTranslate(shift.X, shift.Y)) return std::nullopt;
  QRect clip = image->rect();
  if (const std::optional<TRegion>& region = Canvas.ClipRegion()) {
    if (region->QtRegion().rectCount() != 1) return std::nullopt;
    clip &= region->QtRegion().boundingRect();
  }
  if (!(Flags & DT_NOCLIP)) clip &= ToQRect(Canvas.LogicalToDevice(R));
  return clip;
}

}  // namespace

int DrawTextOnCanvas(TCanvas& canvas, const QString& text, TRect& r, unsigned flags, DRAWTEXTPARAMS* params) {
  const bool single = flags & DT_SINGLELINE;
  const bool calc = flags & DT_CALCRECT;
  const bool anyEllipsis = flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
  int leftMargin = params ? params->iLeftMargin : 0;
  int rightMargin = params ? params->iRightMargin : 0;
  int tabChars = params && params->iTabLength > 0 ? params->iTabLength : 8;
  if (params) params->uiLengthDrawn = int(text.size());

  QString src = text;
  if (single) src.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  int underline = -1;
  QString t = (flags & DT_NOPREFIX) ? src : StripPrefixes(src, &underline);
  if (flags & DT_HIDEPREFIX) underline = -1;

  Layout lay(canvas.QtFont(), flags, tabChars);
  const QFontMetrics& fm = lay.Metrics();
  const int lineH = fm.height() + ((flags & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
  const int maxW = std::max(0, r.Width() - leftMargin - rightMargin);

  std::vector<Line> lines;
  if (single) {
    Line l;
    l.text = t;
    l.underline = underline;
    lines.push_back(l);
  } else {
    int ps = 0;
    for (int i = 0; i <= t.size(); ++i) {
      bool end = i == t.size();
      bool brk = !end && (t[i] == QLatin1Char('\r') || t[i] == QLatin1Char('\n'));
      if (!end && !brk) continue;
      if (flags & DT_WORDBREAK) {
        WrapParagraph(lay, t, ps, i, maxW, flags & DT_EDITCONTROL, underline, lines);
      } else {
        Line l;
        l.text = t.mid(ps, i - ps);
        l.underline = underline >= ps && underline < i ? underline - ps : -1;
        lines.push_back(l);
      }
      if (brk && t[i] == QLatin1Char('\r') && i + 1 < t.size() && t[i + 1] == QLatin1Char('\n')) ++i;
      ps = i + 1;
    }
  }

  if (anyEllipsis) {
    for (Line& l : lines) l = lay.Elide(l, maxW);
  }

  if (calc) {
    int w = 0;
    for (const Line& l : lines) w = std::max(w, lay.LineWidth(l.text));
    r.Right = r.Left + leftMargin + w + rightMargin;
    r.Bottom = r.Top + int(lines.size()) * lineH;
    return int(lines.size()) * lineH;
  }

  canvas.Trace(TraceKind::DrawText, r, {}, text, flags);
  if (text.isEmpty()) return 0;

  if (!single && r.Height() >= lineH) {
    int fit = r.Height() / lineH;
    if (int(lines.size()) > fit && (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) && (flags & DT_WORDBREAK)) {
      lines.resize(size_t(fit));
      Line& last = lines.back();
      Line more;
      more.text = last.text + kEllipsis;
      more.underline = last.underline;
      if (lay.Width(more.text) <= maxW) {
        last = more;
      } else {
        last = lay.ElideEnd(last, maxW);
      }
    } else if (int(lines.size()) > fit && (flags & DT_EDITCONTROL)) {
      lines.resize(size_t(fit));  // a partly visible last line is not drawn
    }
  }

  int y0 = r.Top;
  if (single) {
    if (flags & DT_VCENTER) y0 = FloorDiv(r.Top + r.Bottom - lineH, 2);
    else if (flags & DT_BOTTOM) y0 = r.Bottom - lineH;
  }

  QPainter* p = canvas.TextPainter();
  if (p) {
    p->save();
    if (!(flags & DT_NOCLIP)) p->setClipRect(ToQRect(r), Qt::IntersectClip);
    if (flags & DT_RTLREADING) p->setLayoutDirection(Qt::RightToLeft);
  }
  const std::optional<QRect> deviceClip = p ? DeviceClip(canvas, *p, r, flags) : std::nullopt;
  const bool opaque = canvas.BkMode() == OPAQUE;
  const QColor bk = ToQColor(canvas.BkColor());
  int y = y0;
  for (const Line& l : lines) {
    int w = lay.LineWidth(l.text);
    int left = r.Left + leftMargin, right = r.Right - rightMargin;
    int x = left;
    if (flags & DT_CENTER) x = FloorDiv(left + right - w, 2);
    else if (flags & DT_RIGHT) x = right - w;
    if (p) {
      if (opaque && w > 0) p->fillRect(QRect(x, y, w, lineH), bk);
      if (!(flags & DT_PREFIXONLY)) lay.Draw(p, x, y, l.text, deviceClip ? &*deviceClip : nullptr);
      if (l.underline >= 0 && l.underline < l.text.size()) {
        int ux = x + lay.Width(l.text.left(l.underline));
        int uw = lay.Width(l.text.mid(l.underline, 1));
        int uy = y + fm.ascent() + std::max(1, fm.underlinePos());
        p->fillRect(QRect(ux, uy, uw, std::max(1, int(fm.lineWidth()))), p->pen().color());
      }
    }
    canvas.Trace(TraceKind::DrawTextLine, TRect(x, y, x + w, y + lineH), {TPoint(x, y)}, l.text,
                 unsigned(l.underline + 1));
    y += lineH;
  }
  if (p) p->restore();

  if (single && (flags & (DT_VCENTER | DT_BOTTOM))) return y0 + lineH - r.Top;
  return int(lines.size()) * lineH;
}

}  // namespace plat
