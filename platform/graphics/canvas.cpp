#include "platform/graphics/canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "platform/graphics/graphic.h"
#include "platform/graphics/shapedtext.h"

namespace plat {

namespace {

// On/off runs of the one-pixel pen styles, in pixels.
std::span<const int> PenPattern(TPenStyle style) {
  static constexpr int kDash[] = {18, 6};
  static constexpr int kDot[] = {3, 3};
  static constexpr int kDashDot[] = {9, 6, 3, 6};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  static constexpr int kAlternate[] = {1, 1};
  switch (style) {
    case psDash: return kDash;
    case psDot: return kDot;
    case psDashDot: return kDashDot;
    case psDashDotDot: return kDashDotDot;
    case psAlternate: return kAlternate;
    default: return {};
  }
}

// Whether pattern position i is "on"; also steps through the pattern.
bool PatternOn(std::span<const int> pattern, int i) {
  if (pattern.empty()) return true;
  int total = 0;
  for (int n : pattern) total += n;
  int pos = i % total;
  for (size_t k = 0; k < pattern.size(); ++k) {
    if (pos < pattern[k]) return k % 2 == 0;
    pos -= pattern[k];
  }
  return true;
}

QPainter::CompositionMode CopyModeComposition(TCopyMode m) {
  switch (m) {
    case cmSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case cmSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case cmSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case cmSrcErase: return QPainter::RasterOp_SourceAndNotDestination;
    case cmNotSrcCopy: return QPainter::RasterOp_NotSource;
    case cmNotSrcErase: return QPainter::RasterOp_NotSourceAndNotDestination;
    case cmMergePaint: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_Source;
  }
}

QImage Opaque(const QImage& img) {
  // Alpha is not part of a copy: the pixels are taken as opaque.
  if (img.format() == QImage::Format_RGB32) return img;
  const QImage src = img.format() == QImage::Format_ARGB32 ? img : img.convertToFormat(QImage::Format_ARGB32);
  const int width = src.width(), height = src.height();
  QImage out(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < width; ++x) d[x] = s[x] | 0xFF000000u;
  }
  return out;
}

}  // namespace

struct TCanvas::SavedState {
  std::optional<TRegion> clip;
  TPoint windowOrg, viewportOrg, brushOrigin;
  std::optional<int> bkMode;
  std::uint64_t bkModeVersion;
  std::optional<TColor> bkColor;
  std::uint64_t bkColorVersion;
  std::optional<TColor> textColor;
  std::uint64_t textFontVersion;
  TPolyFillMode polyFillMode;
};

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {}

TCanvas::TCanvas(QPaintDevice* device) : TCanvas() { device_ = device; }

TCanvas::~TCanvas() { EndPainting(); }

void TCanvas::SetDevice(QPaintDevice* device) {
  EndPainting();
  device_ = device;
  clip_.reset();
  windowOrg_ = viewportOrg_ = brushOrigin_ = TPoint();
  saved_.clear();
  stateDirty_ = true;
}

QImage* TCanvas::Image() const {
  if (device_ && device_->devType() == QInternal::Image) return static_cast<QImage*>(device_);
  return nullptr;
}

void TCanvas::SetPainter(QPainter* painter) {
  if (own_) EndPainting();
  external_ = painter;
  stateDirty_ = true;
  painterFontId_ = 0;
  applied_.reset();
}

void TCanvas::EndPainting() {
  if (own_) {
    if (own_->isActive()) own_->end();
    own_.reset();
  }
  stateDirty_ = true;
  painterFontId_ = 0;
  applied_.reset();
}

TSize TCanvas::DeviceSize() const {
  if (device_) return TSize(device_->width(), device_->height());
  if (external_ && external_->device()) return TSize(external_->device()->width(), external_->device()->height());
  return TSize();
}

QPainter* TCanvas::ActivePainter() {
  QPainter* p = external_;
  if (!p) {
    if (!device_) return nullptr;
    if (device_->width() <= 0 || device_->height() <= 0) return nullptr;
    if (!own_ || !own_->isActive()) {
      own_ = std::make_unique<QPainter>();
      if (!own_->begin(device_)) {
        own_.reset();
        return nullptr;
      }
      stateDirty_ = true;
      painterFontId_ = 0;
      applied_.reset();
    }
    p = own_.get();
  }
  if (stateDirty_) ApplyState(p);
  return p;
}

QPainter* TCanvas::Painter() {
  QPainter* p = ActivePainter();
  stateDirty_ = true;  // the caller may change anything
  painterFontId_ = 0;
  applied_.reset();
  return p;
}

void TCanvas::ApplyState(QPainter* p) {
  const TPoint shift = viewportOrg_ - windowOrg_;
  // A lent painter may have been changed by its owner since; the own one has what it was given last.
  const TAppliedState* known = external_ || !applied_ ? nullptr : &*applied_;
  if (!known) {
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  }
  if (!known || known->shift != shift) p->setWorldTransform(QTransform::fromTranslate(shift.X, shift.Y));
  if (!known || known->shift != shift || known->clip != clip_) {
    if (!clip_) {
      p->setClipping(false);
    } else if (clip_->QtRegion().rectCount() == 1) {
      // One rectangle clips the same pixels as the region made of it, without building a region.
      p->setClipRect(clip_->QtRegion().boundingRect().translated(-shift.X, -shift.Y));
    } else {
      p->setClipRegion(clip_->QtRegion().translated(-shift.X, -shift.Y));
    }
  }
  if (external_)
    applied_.reset();
  else
    applied_ = TAppliedState{shift, clip_};
  stateDirty_ = false;
}

TRect TCanvas::LogicalToDevice(const TRect& r) const {
  TPoint a = LogicalToDevice(r.TopLeft());
  return TRect(a.X, a.Y, a.X + r.Width(), a.Y + r.Height());
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

// ---- background and text colour

int TCanvas::BkMode() const {
  if (bkModeOverride_ && bkModeVersion_ == brush_->Version()) return *bkModeOverride_;
  return brush_->Style() == bsSolid && !brush_->Bitmap() ? OPAQUE : TRANSPARENT;
}

void TCanvas::SetBkMode(int mode) {
  bkModeOverride_ = mode;
  bkModeVersion_ = brush_->Version();
}

TColor TCanvas::BkColor() const {
  if (bkColorOverride_ && bkColorVersion_ == brush_->Version()) return *bkColorOverride_;
  return ColorToRGB(brush_->Color());
}

void TCanvas::SetBkColor(TColor c) {
  bkColorOverride_ = c;
  bkColorVersion_ = brush_->Version();
}

TColor TCanvas::TextColor() const {
  if (textColorOverride_ && textFontVersion_ == font_->Version()) return *textColorOverride_;
  return font_->Color();
}

void TCanvas::SetTextColor(TColor c) {
  textColorOverride_ = c;
  textFontVersion_ = font_->Version();
}

// ---- tracing

void TCanvas::Trace(TraceKind kind, const TRect& r, std::vector<TPoint> points, const QString& text,
                    unsigned flags) {
  if (!tracer_) return;
  TCanvasTraceRecord rec;
  rec.Kind = kind;
  rec.Rect = r;
  rec.Points = std::move(points);
  rec.Text = text;
  rec.Flags = flags;
  rec.FontName = font_->Name();
  rec.FontSize = font_->Size();
  rec.FontStyle = font_->Style();
  rec.FontColor = TextColor();
  rec.PenColor = pen_->Style() == psClear ? clNone : pen_->Color();
  rec.PenWidth = pen_->Width();
  rec.BrushColor = brush_->Style() == bsClear ? clNone : brush_->Color();
  rec.Orientation = font_->Orientation();
  tracer_->Trace(rec);
}

// ---- pen and brush on the painter

bool TCanvas::PenVisible() const { return pen_->Style() != psClear && pen_->Mode() != pmNop; }

bool TCanvas::BrushVisible() const { return brush_->Style() != bsClear || brush_->Bitmap() != nullptr; }

void TCanvas::ApplyPenMode(QPainter* p) {
  QPainter::CompositionMode m = QPainter::CompositionMode_SourceOver;
  switch (pen_->Mode()) {
    case pmNot: m = QPainter::RasterOp_NotDestination; break;
    case pmNotCopy: m = QPainter::RasterOp_NotSource; break;
    case pmMergePenNot: m = QPainter::RasterOp_SourceOrNotDestination; break;
    case pmMaskPenNot: m = QPainter::RasterOp_SourceAndNotDestination; break;
    case pmMergeNotPen: m = QPainter::RasterOp_NotSourceOrDestination; break;
    case pmMaskNotPen: m = QPainter::RasterOp_NotSourceAndDestination; break;
    case pmMerge: m = QPainter::RasterOp_SourceOrDestination; break;
    case pmNotMerge: m = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case pmMask: m = QPainter::RasterOp_SourceAndDestination; break;
    case pmNotMask: m = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case pmXor: m = QPainter::RasterOp_SourceXorDestination; break;
    case pmNotXor: m = QPainter::RasterOp_NotSourceXorDestination; break;
    default: break;
  }
  p->setCompositionMode(m);
}

static QColor PenQColor(const TPen& pen) {
  if (pen.Mode() == pmBlack) return QColor(0, 0, 0);
  if (pen.Mode() == pmWhite) return QColor(255, 255, 255);
  return ToQColor(pen.Color() == clNone ? clBlack : pen.Color());
}

void TCanvas::SetBrushOnPainter(QPainter* p) {
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  TPoint bo = DeviceToLogical(brushOrigin_);
  p->setBrushOrigin(bo.X, bo.Y);
  if (brush_->Bitmap() && !brush_->Bitmap()->Empty()) {
    const QImage& image = brush_->Bitmap()->Image();
    if (!textureBrush_ || textureKey_ != image.cacheKey()) {
      textureBrush_ = std::make_unique<QBrush>(Opaque(image));
      textureKey_ = image.cacheKey();
    }
    p->setBrush(*textureBrush_);
    p->setBackgroundMode(Qt::TransparentMode);
    return;
  }
  Qt::BrushStyle st = Qt::SolidPattern;
  switch (brush_->Style()) {
    case bsClear: st = Qt::NoBrush; break;
    case bsHorizontal: st = Qt::HorPattern; break;
    case bsVertical: st = Qt::VerPattern; break;
    case bsFDiagonal: st = Qt::FDiagPattern; break;
    case bsBDiagonal: st = Qt::BDiagPattern; break;
    case bsCross: st = Qt::CrossPattern; break;
    case bsDiagCross: st = Qt::DiagCrossPattern; break;
    default: break;
  }
  p->setBrush(QBrush(ToQColor(brush_->Color() == clNone ? clWhite : brush_->Color()), st));
  if (st != Qt::SolidPattern && st != Qt::NoBrush && BkMode() == OPAQUE) {
    p->setBackgroundMode(Qt::OpaqueMode);
    p->setBackground(QBrush(ToQColor(BkColor())));
  } else {
    p->setBackgroundMode(Qt::TransparentMode);
  }
}

void TCanvas::FillDevice(const TRect& r, TColor color) {
  QPainter* p = ActivePainter();
  if (!p || r.IsEmpty()) return;
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->fillRect(ToQRect(r), ToQColor(color));
}

// One-pixel lines, rasterised here so the pixels are the same as the framework's: the end point is left
// out unless asked for, and the dash pattern runs on along a polyline.
void TCanvas::PlotLine(TPoint a, TPoint b, bool includeEnd, int& patternIndex) {
  QPainter* p = ActivePainter();
  if (!p) return;
  std::span<const int> pattern = PenPattern(pen_->Style());
  QColor on = PenQColor(*pen_);
  if (pattern.empty() && (a.X == b.X || a.Y == b.Y)) {
    // Solid horizontal and vertical lines (most grid and frame lines) as one rectangle.
    int x1 = std::min(a.X, b.X), x2 = std::max(a.X, b.X), y1 = std::min(a.Y, b.Y), y2 = std::max(a.Y, b.Y);
    if (!includeEnd) {
      if (a == b) return;
      if (b.X > a.X) --x2; else if (b.X < a.X) ++x1;
      if (b.Y > a.Y) --y2; else if (b.Y < a.Y) ++y1;
    }
    ApplyPenMode(p);
    p->setPen(Qt::NoPen);
    p->setBrush(on);
    p->drawRect(QRect(x1, y1, x2 - x1 + 1, y2 - y1 + 1));
    patternIndex += std::max(x2 - x1, y2 - y1) + 1;
    return;
  }
  bool gaps = !pattern.empty() && BkMode() == OPAQUE;
  QColor off = ToQColor(BkColor());
  std::vector<QPoint> onPts, offPts;
  int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
  int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  int err = dx + dy;
  int x = a.X, y = a.Y;
  for (;;) {
    bool atEnd = x == b.X && y == b.Y;
    if (atEnd && !includeEnd) break;
    if (PatternOn(pattern, patternIndex)) {
      onPts.emplace_back(x, y);
    } else if (gaps) {
      offPts.emplace_back(x, y);
    }
    ++patternIndex;
    if (atEnd) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  p->setBrush(Qt::NoBrush);
  if (!offPts.empty()) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    QPen pen(off, 1);
    pen.setCosmetic(true);
    p->setPen(pen);
    p->drawPoints(offPts.data(), int(offPts.size()));
  }
  if (!onPts.empty()) {
    ApplyPenMode(p);
    QPen pen(on, 1);
    pen.setCosmetic(true);
    p->setPen(pen);
    p->drawPoints(onPts.data(), int(onPts.size()));
  }
}

void TCanvas::StrokeWide(const std::vector<TPoint>& pts, bool closed) {
  QPainter* p = ActivePainter();
  if (!p || pts.empty()) return;
  ApplyPenMode(p);
  QPen pen(PenQColor(*pen_), pen_->Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p->setPen(pen);
  p->setBrush(Qt::NoBrush);
  QPolygonF poly;
  // Pixel centres: a wide line along x = 10 covers 9..11 for width 3.
  for (const TPoint& t : pts) poly << QPointF(t.X + 0.5, t.Y + 0.5);
  if (pts.size() == 1) {
    p->drawPoint(poly[0]);
  } else if (closed) {
    p->drawPolygon(poly);
  } else {
    p->drawPolyline(poly);
  }
}

// ---- lines and shapes

void TCanvas::LineToPixels(int x, int y) {
  TPoint from = penPos_, to(x, y);
  penPos_ = to;
  Changing();
  if (PenVisible()) {
    if (pen_->Width() <= 1) {
      int idx = 0;
      PlotLine(from, to, false, idx);
    } else {
      StrokeWide({from, to}, false);
    }
  }
  Trace(TraceKind::Line, TRect(std::min(from.X, to.X), std::min(from.Y, to.Y), std::max(from.X, to.X) + 1,
                               std::max(from.Y, to.Y) + 1),
        {from, to});
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  Changing();
  if (PenVisible()) {
    if (pen_->Width() <= 1) {
      int idx = 0;
      for (size_t i = 1; i < points.size(); ++i) PlotLine(points[i - 1], points[i], false, idx);
    } else {
      StrokeWide(std::vector<TPoint>(points.begin(), points.end()), false);
    }
  }
  Trace(TraceKind::Polyline, TRect(), std::vector<TPoint>(points.begin(), points.end()));
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  Changing();
  QPainter* p = ActivePainter();
  if (p) {
    if (BrushVisible() && points.size() >= 3) {
      SetBrushOnPainter(p);
      p->setPen(Qt::NoPen);
      QPolygon poly;
      for (const TPoint& t : points) poly << ToQPoint(t);
      p->drawPolygon(poly, polyFillMode_ == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    }
    if (PenVisible()) {
      if (pen_->Width() <= 1) {
        int idx = 0;
        for (size_t i = 0; i < points.size(); ++i)
          PlotLine(points[i], points[(i + 1) % points.size()], points.size() == 1, idx);
      } else {
        StrokeWide(std::vector<TPoint>(points.begin(), points.end()), true);
      }
    }
  }
  Trace(TraceKind::Polygon, TRect(), std::vector<TPoint>(points.begin(), points.end()));
  Changed();
}

void TCanvas::RectanglePixels(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  TRect r(x1, y1, x2, y2);
  Changing();
  QPainter* p = ActivePainter();
  if (p && !r.IsEmpty()) {
    bool pen = PenVisible();
    int w = std::max(1, pen_->Width());
    if (BrushVisible()) {
      TRect fill = pen ? TRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1) : TRect(x1, y1, x2 - 1, y2 - 1);
      if (pen && w > 1 && pen_->Style() == psInsideFrame) fill = TRect(x1 + w, y1 + w, x2 - w, y2 - w);
      if (!fill.IsEmpty()) {
        SetBrushOnPainter(p);
        p->setPen(Qt::NoPen);
        p->drawRect(ToQRect(fill));
      }
    }
    if (pen) {
      if (w <= 1) {
        std::vector<TPoint> pts = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}};
        int idx = 0;
        for (int i = 0; i < 4; ++i) PlotLine(pts[i], pts[(i + 1) % 4], r.Width() == 1 || r.Height() == 1, idx);
      } else if (pen_->Style() == psInsideFrame) {
        int h = w / 2;
        StrokeWide({{x1 + h, y1 + h}, {x2 - 1 - (w - 1 - h), y1 + h}, {x2 - 1 - (w - 1 - h), y2 - 1 - (w - 1 - h)},
                    {x1 + h, y2 - 1 - (w - 1 - h)}},
                   true);
      } else {
        StrokeWide({{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}}, true);
      }
    }
  }
  Trace(TraceKind::Rectangle, r);
  Changed();
}

void TCanvas::FillRectPixels(const TRect& r) {
  Changing();
  QPainter* p = ActivePainter();
  if (p && !r.IsEmpty() && BrushVisible()) {
    SetBrushOnPainter(p);
    p->setPen(Qt::NoPen);
    if (brush_->Style() == bsSolid && !brush_->Bitmap()) {
      p->fillRect(ToQRect(r), ToQColor(brush_->Color()));
    } else {
      p->drawRect(ToQRect(r));
    }
  }
  Trace(TraceKind::FillRect, r);
  Changed();
}

void TCanvas::FrameRectPixels(const TRect& r) {
  Changing();
  QPainter* p = ActivePainter();
  if (p && !r.IsEmpty() && BrushVisible()) {
    SetBrushOnPainter(p);
    p->setPen(Qt::NoPen);
    QRect q = ToQRect(r);
    p->drawRect(QRect(q.left(), q.top(), q.width(), 1));
    p->drawRect(QRect(q.left(), q.bottom(), q.width(), 1));
    p->drawRect(QRect(q.left(), q.top(), 1, q.height()));
    p->drawRect(QRect(q.right(), q.top(), 1, q.height()));
  }
  Trace(TraceKind::FrameRect, r);
  Changed();
}

namespace {
QPen ShapePen(const TPen& pen) {
  int w = std::max(1, pen.Width());
  Qt::PenStyle st = Qt::SolidLine;
  if (w == 1) {
    switch (pen.Style()) {
      case psDash: st = Qt::DashLine; break;
      case psDot: case psAlternate: st = Qt::DotLine; break;
      case psDashDot: st = Qt::DashDotLine; break;
      case psDashDotDot: st = Qt::DashDotDotLine; break;
      default: break;
    }
  }
  QPen p(PenQColor(pen), w, st, Qt::SquareCap, Qt::MiterJoin);
  if (w == 1) p.setCosmetic(true);
  return p;
}
}  // namespace

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cw, int ch) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  Changing();
  QPainter* p = ActivePainter();
  if (p && x2 > x1 && y2 > y1) {
    QRectF box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    if (BrushVisible()) {
      SetBrushOnPainter(p);
      p->setPen(Qt::NoPen);
      p->drawRoundedRect(box, cw / 2.0, ch / 2.0);
    }
    if (PenVisible()) {
      ApplyPenMode(p);
      p->setPen(ShapePen(*pen_));
      p->setBrush(Qt::NoBrush);
      p->drawRoundedRect(box, cw / 2.0, ch / 2.0);
    }
  }
  Trace(TraceKind::RoundRect, TRect(x1, y1, x2, y2), {TPoint(cw, ch)});
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  Changing();
  QPainter* p = ActivePainter();
  if (p && x2 > x1 && y2 > y1) {
    QRectF box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    if (BrushVisible()) {
      SetBrushOnPainter(p);
      p->setPen(Qt::NoPen);
      p->drawEllipse(box);
    }
    if (PenVisible()) {
      ApplyPenMode(p);
      p->setPen(ShapePen(*pen_));
      p->setBrush(Qt::NoBrush);
      p->drawEllipse(box);
    }
  }
  Trace(TraceKind::Ellipse, TRect(x1, y1, x2, y2));
  Changed();
}

void TCanvas::ArcShape(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  Changing();
  QPainter* p = ActivePainter();
  if (p && x2 > x1 && y2 > y1) {
    QRectF box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    double cx = (x1 + x2 - 1) / 2.0, cy = (y1 + y2 - 1) / 2.0;
    double a1 = std::atan2(-(y3 - cy), x3 - cx) * 180.0 / M_PI;
    double a2 = std::atan2(-(y4 - cy), x4 - cx) * 180.0 / M_PI;
    double span = std::fmod(a2 - a1 + 720.0, 360.0);
    if (span == 0) span = 360.0;
    int start16 = int(std::lround(a1 * 16)), span16 = int(std::lround(span * 16));
    if (kind != 0 && BrushVisible()) {
      SetBrushOnPainter(p);
      p->setPen(Qt::NoPen);
      if (kind == 1) p->drawPie(box, start16, span16); else p->drawChord(box, start16, span16);
    }
    if (PenVisible()) {
      ApplyPenMode(p);
      p->setPen(ShapePen(*pen_));
      p->setBrush(Qt::NoBrush);
      if (kind == 0) p->drawArc(box, start16, span16);
      else if (kind == 1) p->drawPie(box, start16, span16);
      else p->drawChord(box, start16, span16);
    }
  }
  Trace(kind == 0 ? TraceKind::Arc : kind == 1 ? TraceKind::Pie : TraceKind::Chord, TRect(x1, y1, x2, y2),
        {TPoint(x3, y3), TPoint(x4, y4)});
  Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ArcShape(0, x1, y1, x2, y2, x3, y3, x4, y4);
}
void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ArcShape(1, x1, y1, x2, y2, x3, y3, x4, y4);
}
void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ArcShape(2, x1, y1, x2, y2, x3, y3, x4, y4);
}

TColor TCanvas::Pixels(int x, int y) {
  QImage* img = Image();
  if (!img) return clNone;
  TPoint d = LogicalToDevice(TPoint(x, y));
  if (d.X < 0 || d.Y < 0 || d.X >= img->width() || d.Y >= img->height()) return clNone;
  if (clip_ && !clip_->Contains(d)) return clNone;
  return FromQColor(QColor::fromRgb(img->pixel(d.X, d.Y)));
}

void TCanvas::SetPixels(int x, int y, TColor c) {
  Changing();
  QPainter* p = ActivePainter();
  if (p) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->fillRect(QRect(x, y, 1, 1), ToQColor(c));
  }
  Trace(TraceKind::Pixel, TRect(x, y, x + 1, y + 1), {TPoint(x, y)});
  Changed();
}

void TCanvas::FloodFill(int x, int y, TColor c, TFillStyle style) {
  Changing();
  QImage* img = Image();
  QPainter* p = ActivePainter();
  TPoint d = LogicalToDevice(TPoint(x, y));
  if (img && p && d.X >= 0 && d.Y >= 0 && d.X < img->width() && d.Y < img->height() && BrushVisible()) {
    const int w = img->width(), h = img->height();
    const QRgb key = ToQColor(c).rgb() & 0xFFFFFF;
    auto rgbAt = [&](int px, int py) { return img->pixel(px, py) & 0xFFFFFF; };
    auto inside = [&](int px, int py) {
      if (clip_ && !clip_->Contains(TPoint(px, py))) return false;
      bool same = rgbAt(px, py) == key;
      return style == fsSurface ? same : !same;
    };
    std::vector<uint8_t> seen(size_t(w) * h, 0);
    std::vector<QRect> spans;
    std::vector<QPoint> stack;
    if (inside(d.X, d.Y)) stack.emplace_back(d.X, d.Y);
    while (!stack.empty()) {
      QPoint s = stack.back();
      stack.pop_back();
      int sy = s.y();
      if (seen[size_t(sy) * w + s.x()]) continue;
      int l = s.x(), r = s.x();
      while (l > 0 && !seen[size_t(sy) * w + l - 1] && inside(l - 1, sy)) --l;
      while (r + 1 < w && !seen[size_t(sy) * w + r + 1] && inside(r + 1, sy)) ++r;
      for (int i = l; i <= r; ++i) seen[size_t(sy) * w + i] = 1;
      spans.emplace_back(l, sy, r - l + 1, 1);
      for (int ny : {sy - 1, sy + 1}) {
        if (ny < 0 || ny >= h) continue;
        for (int i = l; i <= r; ++i)
          if (!seen[size_t(ny) * w + i] && inside(i, ny)) stack.emplace_back(i, ny);
      }
    }
    // Fill in device coordinates.
    p->save();
    p->setWorldTransform(QTransform());
    SetBrushOnPainter(p);
    TPoint bo = brushOrigin_;
    p->setBrushOrigin(bo.X, bo.Y);
    p->setPen(Qt::NoPen);
    for (const QRect& s : spans) p->drawRect(s);
    p->restore();
  }
  Trace(TraceKind::FloodFill, TRect(x, y, x + 1, y + 1), {TPoint(x, y)}, {}, unsigned(c));
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  QPainter* p = ActivePainter();
  if (p && !r.IsEmpty()) {
    std::set<std::pair<int, int>> frame;
    for (int x = r.Left; x < r.Right; ++x) {
      frame.insert({x, r.Top});
      frame.insert({x, r.Bottom - 1});
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
      frame.insert({r.Left, y});
      frame.insert({r.Right - 1, y});
    }
    std::vector<QPoint> pts;
    for (auto [x, y] : frame) {
      TPoint d = LogicalToDevice(TPoint(x, y));
      if (((d.X + d.Y) & 1) == 0) pts.emplace_back(x, y);
    }
    p->setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    if (!pts.empty()) p->drawPoints(pts.data(), int(pts.size()));
  }
  Trace(TraceKind::FocusRect, r);
  Changed();
}

// ---- text

int TCanvas::TextWidth(const QString& text) { return TextExtent(text).cx; }

int TCanvas::TextHeight(const QString& text) { return TextExtent(text).cy; }

TSize TCanvas::TextExtentPixels(const QString& text) {
  const QFont& font = font_->QtFont();
  return TSize(text.isEmpty() ? 0 : ShapedTextWidth(font, text), QFontMetrics(font).height());
}

QPainter* TCanvas::TextPainter() {
  QPainter* p = ActivePainter();
  if (!p) return nullptr;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  // A lent painter may have been given another font by its owner since.
  const std::uint64_t fontId = font_->QtFontId();
  if (external_ || painterFontId_ != fontId) {
    p->setFont(font_->QtFont());
    painterFontId_ = external_ ? 0 : fontId;
  }
  p->setPen(QPen(ToQColor(TextColor() == clNone ? clBlack : TextColor())));
  p->setBrush(Qt::NoBrush);
  p->setBackgroundMode(Qt::TransparentMode);
  return p;
}

void TCanvas::DrawTextBox(int x, int y, const QString& text, const TRect* clip, bool opaqueRect) {
  QPainter* p = TextPainter();
  if (!p) return;
  QFontMetrics fm(font_->QtFont());
  const int h = fm.height();
  p->save();
  if (clip) p->setClipRect(ToQRect(*clip), Qt::IntersectClip);
  if (opaqueRect && clip) p->fillRect(ToQRect(*clip), ToQColor(BkColor()));
  p->translate(x, y);
  if (font_->Orientation() != 0) p->rotate(-font_->Orientation() / 10.0);
  // The text is measured only for the background box (measuring shapes the text a second time).
  if (!opaqueRect && BkMode() == OPAQUE && !text.isEmpty())
    p->fillRect(QRect(0, 0, ShapedTextWidth(font_->QtFont(), text), h), ToQColor(BkColor()));
  if (!text.isEmpty()) {
    if (textFlags_ & ETO_RTLREADING) p->setLayoutDirection(Qt::RightToLeft);
    const QPoint origin(0, fm.ascent());
    if (font_->Orientation() != 0 || !DrawShapedText(*p, origin, font_->QtFont(), text)) p->drawText(origin, text);
  }
  p->restore();
}

void TCanvas::TextOutPixels(int x, int y, const QString& text) {
  Changing();
  DrawTextBox(x, y, text, nullptr, false);
  TSize ext = TextExtent(text);
  Trace(TraceKind::TextOut, TRect(x, y, x + ext.cx, y + ext.cy), {TPoint(x, y)}, text);
  penPos_ = TPoint(x + ext.cx, y);
  Changed();
}

void TCanvas::TextRectPixels(const TRect& r, int x, int y, const QString& text) {
  Changing();
  bool opaque = BrushVisible() || (textFlags_ & ETO_OPAQUE);
  DrawTextBox(x, y, text, &r, opaque);
  Trace(TraceKind::TextRect, r, {TPoint(x, y)}, text);
  Changed();
}

// ---- pictures

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  TRect r(x, y, x + graphic->Width(), y + graphic->Height());
  graphic->Draw(*this, r);
  Trace(TraceKind::Draw, r, {}, graphic->ClassName());
  Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic, std::uint8_t opacity) {
  if (!graphic || graphic->Empty()) return;
  QPainter* p = ActivePainter();
  if (!p) return;
  p->setOpacity(opacity / 255.0);
  Draw(x, y, graphic);
  p->setOpacity(1.0);
}

void TCanvas::StretchDrawPixels(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  graphic->Draw(*this, r);
  Trace(TraceKind::StretchDraw, r, {}, graphic->ClassName());
  Changed();
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image, const TRect& src, TCopyMode mode) {
  QPainter* p = ActivePainter();
  if (!p || dest.IsEmpty()) return;
  switch (mode) {
    case cmBlackness: FillDevice(dest, clBlack); return;
    case cmWhiteness: FillDevice(dest, clWhite); return;
    case cmDstInvert:
      p->setCompositionMode(QPainter::RasterOp_NotDestination);
      p->fillRect(ToQRect(dest), Qt::black);
      return;
    case cmPatCopy:
    case cmPatInvert:
    case cmPatPaint:
      SetBrushOnPainter(p);
      if (mode == cmPatInvert) p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      if (mode == cmPatPaint) p->setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
      p->setPen(Qt::NoPen);
      p->drawRect(ToQRect(dest));
      return;
    default: break;
  }
  if (image.isNull() || src.IsEmpty()) return;
  p->setCompositionMode(CopyModeComposition(mode));
  p->drawImage(ToQRect(dest), Opaque(image), ToQRect(src));
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src) {
  if (!source) return;
  Changing();
  QImage* img = source->Image();
  if (img) {
    TRect s = source->LogicalToDevice(src);
    QImage piece = img->copy(ToQRect(s));
    DrawImage(dest, piece, TRect(0, 0, piece.width(), piece.height()), copyMode_);
  }
  Trace(TraceKind::CopyRect, dest, {src.TopLeft(), src.BottomRight()});
  Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& src, TColor color) {
  if (!bitmap) return;
  Changing();
  QImage piece = bitmap->Image().copy(ToQRect(src)).convertToFormat(QImage::Format_RGB32);
  QRgb key = ToQColor(color).rgb() & 0xFFFFFF;
  QRgb fill = ToQColor(brush_->Color()).rgb();
  for (int y = 0; y < piece.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(piece.scanLine(y));
    for (int x = 0; x < piece.width(); ++x)
      if ((row[x] & 0xFFFFFF) == key) row[x] = fill;
  }
  DrawImage(dest, piece, TRect(0, 0, piece.width(), piece.height()), cmSrcCopy);
  Trace(TraceKind::CopyRect, dest, {src.TopLeft(), src.BottomRight()});
  Changed();
}

// ---- clipping and states

TRect TCanvas::ClipRectPixels() const {
  TSize ds = DeviceSize();
  TRect dev(0, 0, ds.cx, ds.cy);
  if (clip_) {
    TRect b = clip_->BoundingRect();
    if (!IntersectRect(dev, dev, b)) return TRect();
  }
  TPoint a = DeviceToLogical(dev.TopLeft());
  return TRect(a.X, a.Y, a.X + dev.Width(), a.Y + dev.Height());
}

int TCanvas::SelectClipRgn(const TRegion* region) {
  if (region) {
    clip_ = *region;
  } else {
    clip_.reset();
  }
  stateDirty_ = true;
  return clip_ ? clip_->Kind() : SIMPLEREGION;
}

int TCanvas::IntersectClipRectPixels(const TRect& r) {
  TSize ds = DeviceSize();
  TRegion base = clip_ ? *clip_ : TRegion(TRect(0, 0, ds.cx, ds.cy));
  clip_ = base.Combined(TRegion(LogicalToDevice(r)), RGN_AND);
  stateDirty_ = true;
  return clip_->Kind();
}

int TCanvas::ExcludeClipRectPixels(const TRect& r) {
  TSize ds = DeviceSize();
  TRegion base = clip_ ? *clip_ : TRegion(TRect(0, 0, ds.cx, ds.cy));
  clip_ = base.Combined(TRegion(LogicalToDevice(r)), RGN_DIFF);
  stateDirty_ = true;
  return clip_->Kind();
}

void TCanvas::SetWindowOrg(const TPoint& p) {
  windowOrg_ = p;
  stateDirty_ = true;
}

void TCanvas::SetViewportOrg(const TPoint& p) {
  viewportOrg_ = p;
  stateDirty_ = true;
}

int TCanvas::SaveDC() {
  saved_.push_back(SavedState{clip_, windowOrg_, viewportOrg_, brushOrigin_, bkModeOverride_, bkModeVersion_,
                              bkColorOverride_, bkColorVersion_, textColorOverride_, textFontVersion_,
                              polyFillMode_});
  return int(saved_.size());
}

bool TCanvas::RestoreDC(int level) {
  int n = int(saved_.size());
  int target = level > 0 ? level : n + level + 1;
  if (target < 1 || target > n) return false;
  SavedState s = saved_[target - 1];
  saved_.resize(target - 1);
  clip_ = s.clip;
  windowOrg_ = s.windowOrg;
  viewportOrg_ = s.viewportOrg;
  brushOrigin_ = s.brushOrigin;
  bkModeOverride_ = s.bkMode;
  bkModeVersion_ = s.bkModeVersion;
  bkColorOverride_ = s.bkColor;
  bkColorVersion_ = s.bkColorVersion;
  textColorOverride_ = s.textColor;
  textFontVersion_ = s.textFontVersion;
  polyFillMode_ = s.polyFillMode;
  stateDirty_ = true;
  return true;
}

// ---- handle-style functions

int DrawText(HDC dc, const QString& text, int count, TRect& r, unsigned flags) {
  return DrawTextEx(dc, text, count, r, flags, nullptr);
}

int DrawTextEx(HDC dc, const QString& text, int count, TRect& r, unsigned flags, DRAWTEXTPARAMS* params) {
  if (!dc) return 0;
  QString t = count < 0 || count >= text.size() ? text : text.left(count);
  return dc->DrawText(t, r, flags, params);
}

int SetBkMode(HDC dc, int mode) {
  if (!dc) return 0;
  int old = dc->BkMode();
  dc->SetBkMode(mode);
  return old;
}

TColor SetBkColor(HDC dc, TColor c) {
  if (!dc) return clNone;
  TColor old = dc->BkColor();
  dc->SetBkColor(c);
  return old;
}

TColor SetTextColor(HDC dc, TColor c) {
  if (!dc) return clNone;
  TColor old = dc->TextColor();
  dc->SetTextColor(c);
  return old;
}

int SelectClipRgn(HDC dc, const HRGN& rgn) {
  if (!dc) return RGN_ERROR;
  return dc->SelectClipRgn(rgn.get());
}

int ExtSelectClipRgn(HDC dc, const HRGN& rgn, int mode) {
  if (!dc) return RGN_ERROR;
  if (mode == RGN_COPY || !dc->HasClip()) {
    if (!rgn && mode != RGN_COPY) return RGN_ERROR;
    return dc->SelectClipRgn(rgn.get());
  }
  if (!rgn) return RGN_ERROR;
  TRegion combined = dc->ClipRegion()->Combined(*rgn, TRegionCombine(mode));
  return dc->SelectClipRgn(&combined);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  return dc ? dc->IntersectClipRect(TRect(left, top, right, bottom)) : RGN_ERROR;
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  return dc ? dc->ExcludeClipRect(TRect(left, top, right, bottom)) : RGN_ERROR;
}

int GetClipBox(HDC dc, TRect& r) {
  if (!dc) return RGN_ERROR;
  r = dc->ClipRect();
  if (!dc->HasClip()) return SIMPLEREGION;
  return dc->ClipRegion()->Kind();
}

int SaveDC(HDC dc) { return dc ? dc->SaveDC() : 0; }
bool RestoreDC(HDC dc, int level) { return dc && dc->RestoreDC(level); }

namespace {

// The three origins of a canvas (window, viewport, brush) are set and read alike: setting reports the old one.
using OriginGetter = TPoint (TCanvas::*)() const;
using OriginSetter = void (TCanvas::*)(const TPoint&);

bool SetOrigin(HDC dc, OriginGetter get, OriginSetter set, const TPoint& to, TPoint* old) {
  if (!dc) return false;
  if (old) *old = (dc->*get)();
  (dc->*set)(to);
  return true;
}

bool GetOrigin(HDC dc, OriginGetter get, TPoint* p) {
  if (!dc || !p) return false;
  *p = (dc->*get)();
  return true;
}

}  // namespace

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old) {
  return SetOrigin(dc, &TCanvas::WindowOrg, &TCanvas::SetWindowOrg, TPoint(x, y), old);
}

bool GetWindowOrgEx(HDC dc, TPoint* p) { return GetOrigin(dc, &TCanvas::WindowOrg, p); }

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
  return SetOrigin(dc, &TCanvas::ViewportOrg, &TCanvas::SetViewportOrg, TPoint(x, y), old);
}

bool GetViewportOrgEx(HDC dc, TPoint* p) { return GetOrigin(dc, &TCanvas::ViewportOrg, p); }

void MoveWindowOrg(HDC dc, int dx, int dy) {
  if (dc) dc->MoveWindowOrg(dx, dy);
}

bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* old) {
  return SetOrigin(dc, &TCanvas::BrushOrigin, &TCanvas::SetBrushOrigin, TPoint(x, y), old);
}

bool DrawFocusRect(HDC dc, const TRect& r) {
  if (!dc) return false;
  dc->DrawFocusRect(r);
  return true;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int sx, int sy, TCopyMode rop) {
  return StretchBlt(dest, x, y, width, height, src, sx, sy, width, height, rop);
}

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int sx, int sy, int sw, int sh,
                TCopyMode rop) {
  if (!dest) return false;
  TRect d(x, y, x + width, y + height);
  if (!src) {
    dest->DrawImage(d, QImage(), TRect(), rop);
    return true;
  }
  QImage* img = src->Image();
  if (!img) return false;
  TRect s = src->LogicalToDevice(TRect(sx, sy, sx + sw, sy + sh));
  QImage piece = img->copy(ToQRect(s));
  dest->DrawImage(d, piece, TRect(0, 0, piece.width(), piece.height()), rop);
  dest->Trace(TraceKind::CopyRect, d, {TPoint(sx, sy), TPoint(sx + sw, sy + sh)});
  return true;
}

bool PatBlt(HDC dc, int x, int y, int width, int height, TCopyMode rop) {
  if (!dc) return false;
  dc->DrawImage(TRect(x, y, x + width, y + height), QImage(), TRect(), rop);
  return true;
}

bool GetTextExtentPoint32(HDC dc, const QString& text, TSize& size) {
  if (!dc) return false;
  size = dc->TextExtent(text);
  return true;
}

int TRecordingTracer::Count(TraceKind kind) const {
  return int(std::count_if(Records.begin(), Records.end(), [kind](const auto& r) { return r.Kind == kind; }));
}

std::vector<TCanvasTraceRecord> TRecordingTracer::OfKind(TraceKind kind) const {
  std::vector<TCanvasTraceRecord> out;
  for (const auto& r : Records)
    if (r.Kind == kind) out.push_back(r);
  return out;
}

std::vector<QString> TRecordingTracer::Texts() const {
  std::vector<QString> out;
  for (const auto& r : Records)
    if (r.Kind == TraceKind::TextOut || r.Kind == TraceKind::TextRect || r.Kind == TraceKind::DrawText)
      out.push_back(r.Text);
  return out;
}

}  // namespace plat
