// The canvas's metric mapping: logical tenths of a millimetre, y up, mapped onto device pixels by the canvas.
//
// Each drawing call in MM_LOMETRIC maps its coordinates and then runs as the same call in MM_TEXT, with the pen
// and the font swapped for copies whose width and height are in pixels (TPixelScope). So the pixel rules of the
// canvas (line ends, fills, text boxes) hold in both modes, and the glyphs are drawn upright.
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

#include "platform/graphics/canvas.h"

namespace plat {

namespace {

int Scale(int v, double num, double den) { return static_cast<int>(std::lround(v * num / den)); }

}  // namespace

class TCanvas::TPixelScope {
 public:
  explicit TPixelScope(TCanvas& c) : FCanvas(c) {
    if (!c.pixelFont_) c.pixelFont_ = std::make_unique<TFont>(), c.pixelPen_ = std::make_unique<TPen>();
    if (c.pixelFontVersion_ != c.font_->Version()) {
      c.pixelFont_->Assign(*c.font_);
      const int h = c.font_->Height();
      c.pixelFont_->SetHeight(h < 0 ? -std::max(1, c.ToPixelsY(-h)) : std::max(1, c.ToPixelsY(h)));
      c.pixelFontVersion_ = c.font_->Version();
    }
    if (c.pixelPenVersion_ != c.pen_->Version()) {
      c.pixelPen_->Assign(*c.pen_);
      c.pixelPen_->SetWidth(std::max(1, c.ToPixelsX(c.pen_->Width())));
      c.pixelPenVersion_ = c.pen_->Version();
    }
    std::swap(c.font_, c.pixelFont_);
    std::swap(c.pen_, c.pixelPen_);
    c.mapMode_ = MM_TEXT;
  }
  ~TPixelScope() {
    std::swap(FCanvas.font_, FCanvas.pixelFont_);
    std::swap(FCanvas.pen_, FCanvas.pixelPen_);
    FCanvas.mapMode_ = MM_LOMETRIC;
  }
  TPixelScope(const TPixelScope&) = delete;
  TPixelScope& operator=(const TPixelScope&) = delete;

 private:
  TCanvas& FCanvas;
};

int TCanvas::SetMapMode(int mode, int dotsPerInch) {
  const int old = mapMode_;
  mapMode_ = mode == MM_LOMETRIC ? MM_LOMETRIC : MM_TEXT;
  if (mapMode_ == MM_LOMETRIC) {
    QPaintDevice* d = device_ ? device_ : external_ ? external_->device() : nullptr;
    mapDpi_ = dotsPerInch > 0 ? dotsPerInch : d ? d->logicalDpiY() : 96;
    if (mapDpi_ <= 0) mapDpi_ = 96;
  }
  pixelFontVersion_ = pixelPenVersion_ = ~std::uint64_t(0);
  return old;
}

int TCanvas::ToPixelsX(int v) const { return Scale(v, mapDpi_, 254.0); }
int TCanvas::ToPixelsY(int v) const { return Scale(v, mapDpi_, 254.0); }
int TCanvas::ToMetricX(int px) const { return Scale(px, 254.0, mapDpi_); }
int TCanvas::ToMetricY(int px) const { return Scale(px, 254.0, mapDpi_); }

TPoint TCanvas::MetricToPixels(const TPoint& p) const {
  if (!Metric()) return p;
  return TPoint(ToPixelsX(p.X), ToPixelsY(-p.Y));
}

TPoint TCanvas::PixelsToMetric(const TPoint& p) const {
  if (!Metric()) return p;
  return TPoint(ToMetricX(p.X), -ToMetricY(p.Y));
}

TRect TCanvas::MetricToPixels(const TRect& r) const {
  if (!Metric()) return r;
  const TPoint a = MetricToPixels(r.TopLeft()), b = MetricToPixels(r.BottomRight());
  return TRect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

// ---- the calls of the metric mode

void TCanvas::MoveTo(int x, int y) { penPos_ = TPoint(x, y); }

void TCanvas::LineTo(int x, int y) {
  if (!Metric()) return LineToPixels(x, y);
  const TPoint from = MetricToPixels(penPos_), to = MetricToPixels(TPoint(x, y));
  {
    TPixelScope s(*this);
    penPos_ = from;
    LineToPixels(to.X, to.Y);
  }
  penPos_ = TPoint(x, y);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (!Metric()) return RectanglePixels(x1, y1, x2, y2);
  const TRect r = MetricToPixels(TRect(x1, y1, x2, y2));
  TPixelScope s(*this);
  RectanglePixels(r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::FillRect(const TRect& r) {
  if (!Metric()) return FillRectPixels(r);
  const TRect d = MetricToPixels(r);
  TPixelScope s(*this);
  FillRectPixels(d);
}

void TCanvas::FrameRect(const TRect& r) {
  if (!Metric()) return FrameRectPixels(r);
  const TRect d = MetricToPixels(r);
  TPixelScope s(*this);
  FrameRectPixels(d);
}

TSize TCanvas::TextExtent(const QString& text) {
  if (!Metric()) return TextExtentPixels(text);
  TSize e;
  {
    TPixelScope s(*this);
    e = TextExtentPixels(text);
  }
  return TSize(ToMetricX(e.cx), ToMetricY(e.cy));
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  if (!Metric()) return TextOutPixels(x, y, text);
  const TPoint d = MetricToPixels(TPoint(x, y));
  int width;
  {
    TPixelScope s(*this);
    TextOutPixels(d.X, d.Y, text);
    width = penPos_.X - d.X;
  }
  penPos_ = TPoint(x + ToMetricX(width), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
  if (!Metric()) return TextRectPixels(r, x, y, text);
  const TRect d = MetricToPixels(r);
  const TPoint o = MetricToPixels(TPoint(x, y));
  TPixelScope s(*this);
  TextRectPixels(d, o.X, o.Y, text);
}

int TCanvas::DrawText(const QString& text, TRect& r, unsigned flags, DRAWTEXTPARAMS* params) {
  if (!Metric()) return DrawTextOnCanvas(*this, text, r, flags, params);
  TRect d = MetricToPixels(r);
  int h;
  {
    TPixelScope s(*this);
    h = DrawTextOnCanvas(*this, text, d, flags, params);
  }
  if (flags & DT_CALCRECT) {
    r.Right = r.Left + ToMetricX(d.Width());
    r.Bottom = r.Top - ToMetricY(d.Height());
  }
  return ToMetricY(h);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!Metric()) return StretchDrawPixels(r, graphic);
  const TRect d = MetricToPixels(r);
  TPixelScope s(*this);
  StretchDrawPixels(d, graphic);
}

TRect TCanvas::ClipRect() const {
  const TRect d = ClipRectPixels();
  if (!Metric()) return d;
  const TPoint a = PixelsToMetric(d.TopLeft()), b = PixelsToMetric(d.BottomRight());
  return TRect(a.X, a.Y, b.X, b.Y);
}

int TCanvas::IntersectClipRect(const TRect& r) { return IntersectClipRectPixels(MetricToPixels(r)); }

int TCanvas::ExcludeClipRect(const TRect& r) { return ExcludeClipRectPixels(MetricToPixels(r)); }

}  // namespace plat
