#include "platform/graphics/shapedtext.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPaintEngine>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <QTextOption>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace plat {

namespace {

// A text as the raster engine leaves it on one background: the pixels its glyphs changed, for one pen colour,
// background pixel, image format and set of render hints. Blending is a function of the pixel below, the
// glyph's coverage and the pen, so on the same background the same pixels come out at any whole-pixel place.
struct TStamp {
  QRgb pen;
  quint32 back;  // the background pixel as stored in the image
  QImage::Format format;
  unsigned hints;
  QRect ink;  // relative to the origin; may be empty (a text of blanks)
  QImage pixels;
};

struct TShaped {
  int width = 0;
  bool drawn = false;  // drawn once: the second drawing shapes it for keeps
  // The glyphs with the baseline at y = 0 (nullopt: not shaped yet; empty: not drawable from here).
  std::optional<QList<QGlyphRun>> runs;
  int keptDraws = 0;  // drawings from the kept glyphs; a text comes to be stamped on the second of them
  // Where the glyphs may put ink, relative to the origin; trusted once a stamp showed that it holds.
  QRect bound;
  bool boundHolds = false;
  bool stampable = true;
  std::vector<TStamp> stamps;
};

// Per thread (drawing happens on the GUI thread; a worker measuring texts gets its own), a few fonts with the
// texts shaped in each. A font whose table grows past kMaxTexts starts again, so that texts seen once (an
// elided candidate, a scrolled-away cell) do not pile up. Stamps share one budget of bytes.
class TShapeCache {
 public:
  TShaped& Find(const QFont& Font, const QString& Text) {
    Slot& slot = SlotOf(Font);
    auto it = slot.texts.find(Text);
    if (it != slot.texts.end()) return it.value();
    if (slot.texts.size() >= kMaxTexts) {
      Release(slot);
      slot.texts.clear();
    }
    TShaped shaped;
    shaped.width = Text.isEmpty() ? 0 : slot.metrics.horizontalAdvance(Text);
    return slot.texts.insert(Text, shaped).value();
  }

  // Whether Bytes more of stamps fit the budget; if so, they are counted.
  bool Reserve(qsizetype Bytes) {
    if (stampBytes_ + Bytes > kMaxStampBytes) return false;
    stampBytes_ += Bytes;
    return true;
  }
  void Return(qsizetype Bytes) { stampBytes_ -= Bytes; }

 private:
  static constexpr qsizetype kMaxTexts = 4096;
  static constexpr std::size_t kMaxFonts = 16;
  static constexpr qsizetype kMaxStampBytes = qsizetype(8) << 20;
  struct Slot {
    QFont font;
    QFontMetrics metrics;
    QHash<QString, TShaped> texts;
    explicit Slot(const QFont& Font) : font(Font), metrics(Font) {}
  };

  void Release(const Slot& S) {
    for (const TShaped& shaped : S.texts)
      for (const TStamp& stamp : shaped.stamps) stampBytes_ -= stamp.pixels.sizeInBytes();
  }

  Slot& SlotOf(const QFont& Font) {
    // The last font asked for comes first: a paint pass asks for one font many times in a row.
    if (!slots_.empty() && slots_.front()->font == Font) return *slots_.front();
    for (std::size_t i = 1; i < slots_.size(); ++i)
      if (slots_[i]->font == Font) {
        std::swap(slots_[0], slots_[i]);
        return *slots_.front();
      }
    if (slots_.size() >= kMaxFonts) {
      Release(*slots_.back());
      slots_.pop_back();
    }
    slots_.insert(slots_.begin(), std::make_unique<Slot>(Font));
    return *slots_.front();
  }

  std::vector<std::unique_ptr<Slot>> slots_;
  qsizetype stampBytes_ = 0;
};

TShapeCache& Cache() {
  thread_local TShapeCache cache;
  return cache;
}

// A text that runs left to right on one line whatever the painter's direction (left to right, or taken from
// the text), without tabs or breaks.
bool Plain(const QString& Text) {
  for (QChar c : Text) {
    const char16_t u = c.unicode();
    if (u == u'\t' || u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029) return false;
  }
  return !Text.isRightToLeft();
}

// One line, left to right and never wrapped, its glyphs moved so that the baseline is at y = 0.
QList<QGlyphRun> Shape(const QFont& Font, const QString& Text) {
  QTextLayout layout(Text, Font);
  QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  bool single = line.isValid();
  if (single) {
    line.setLineWidth(1e6);
    single = !layout.createLine().isValid();
  }
  layout.endLayout();
  if (!single || line.textLength() != Text.size()) return {};
  QList<QGlyphRun> runs = line.glyphRuns();
  const QPointF baseline(0, line.ascent());
  for (QGlyphRun& run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& p : positions) p -= baseline;
    run.setPositions(positions);
    run.setBoundingRect(run.boundingRect().translated(-baseline));  // the layout's box moves with the glyphs
  }
  return runs;
}

// The outlines' box with room for hinting and antialiasing; a stamp checks that the ink stays inside.
QRect GlyphBound(const QList<QGlyphRun>& Runs) {
  QRectF box;
  for (const QGlyphRun& run : Runs) box |= run.boundingRect();
  return box.toAlignedRect().adjusted(-2, -2, 2, 2);
}

// --- Stamps ---------------------------------------------------------------------------------------------------

constexpr int kMaxStampsPerText = 4;
constexpr int kStampMargin = 2;  // around the bound in the scratch image, to see ink that leaves it

bool Uniform(const QImage& Image, const QRect& Area, quint32 Pixel) {
  for (int y = Area.top(); y <= Area.bottom(); ++y) {
    const quint32* line = reinterpret_cast<const quint32*>(Image.constScanLine(y)) + Area.left();
    for (int x = 0; x < Area.width(); ++x)
      if (line[x] != Pixel) return false;
  }
  return true;
}

// The rectangle of the pixels in Image that differ from Pixel (empty when none).
QRect InkBox(const QImage& Image, quint32 Pixel) {
  int left = Image.width(), right = -1, top = Image.height(), bottom = -1;
  for (int y = 0; y < Image.height(); ++y) {
    const quint32* line = reinterpret_cast<const quint32*>(Image.constScanLine(y));
    for (int x = 0; x < Image.width(); ++x)
      if (line[x] != Pixel) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Draws the runs on a scratch image of the background and keeps what changed. Null when the ink leaves the
// bound (the text is then never stamped) or the budget is spent.
const TStamp* MakeStamp(TShaped& Shaped, const QPainter& Painter, quint32 Back, QImage::Format Format) {
  const QRect scratchRect = Shaped.bound.adjusted(-kStampMargin, -kStampMargin, kStampMargin, kStampMargin);
  // The scratch image's bytes are reserved first, so that a spent budget costs no drawing.
  TShapeCache& cache = Cache();
  const qsizetype reserved = qsizetype(scratchRect.width()) * scratchRect.height() * 4;
  if (!cache.Reserve(reserved)) return nullptr;
  QImage scratch(scratchRect.size(), Format);
  if (scratch.isNull()) {
    cache.Return(reserved);
    return nullptr;
  }
  for (int y = 0; y < scratch.height(); ++y)
    std::fill_n(reinterpret_cast<quint32*>(scratch.scanLine(y)), scratch.width(), Back);
  {
    QPainter p(&scratch);
    p.setRenderHints(QPainter::RenderHints::fromInt(~0), false);
    p.setRenderHints(Painter.renderHints(), true);
    p.setPen(Painter.pen());
    const QPointF origin(-scratchRect.left(), -scratchRect.top());
    for (const QGlyphRun& run : *Shaped.runs) p.drawGlyphRun(origin, run);
  }
  const QRect ink = InkBox(scratch, Back);
  if (!ink.isEmpty() && !Shaped.bound.translated(-scratchRect.topLeft()).contains(ink)) {
    cache.Return(reserved);
    Shaped.stampable = false;
    return nullptr;
  }
  Shaped.boundHolds = true;
  TStamp stamp{Painter.pen().color().rgba(), Back, Format, Painter.renderHints().toInt(), QRect(), QImage()};
  if (!ink.isEmpty()) {
    stamp.pixels = scratch.copy(ink);
    stamp.ink = ink.translated(scratchRect.topLeft());
  }
  cache.Return(reserved - stamp.pixels.sizeInBytes());
  if (int(Shaped.stamps.size()) >= kMaxStampsPerText) {
    cache.Return(Shaped.stamps.front().pixels.sizeInBytes());
    Shaped.stamps.erase(Shaped.stamps.begin());
  }
  Shaped.stamps.push_back(std::move(stamp));
  return &Shaped.stamps.back();
}

// Puts the text's stamp on the painter's image when everything under the text is one background pixel;
// false leaves the drawing to the glyphs. Clip is where the painter clips, in the image's pixels.
bool DrawStamp(QPainter& Painter, const QPointF& Origin, const QRect& Clip, TShaped& Shaped) {
  QPaintDevice* device = Painter.device();
  if (!device || device->devType() != QInternal::Image) return false;
  QImage& image = *static_cast<QImage*>(device);
  const QImage::Format format = image.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return false;
  // The painter writes to this image's own pixels: a shared one would have them elsewhere.
  if (!image.isDetached()) return false;
  if (Painter.compositionMode() != QPainter::CompositionMode_SourceOver || Painter.opacity() != 1.0) return false;
  const QPen& pen = Painter.pen();
  if (pen.style() == Qt::NoPen || pen.brush().style() != Qt::SolidPattern) return false;
  const QTransform& transform = Painter.deviceTransform();
  if (transform.type() > QTransform::TxTranslate) return false;
  const QPointF at = transform.map(Origin);
  if (std::abs(at.x()) > 1e6 || std::abs(at.y()) > 1e6 || at.x() != std::floor(at.x()) ||
      at.y() != std::floor(at.y()))
    return false;
  const QPoint origin(int(at.x()), int(at.y()));
  const QRect area = Shaped.bound.translated(origin) & Clip & image.rect();
  if (area.isEmpty()) return Shaped.boundHolds;  // nothing of the text can show
  const quint32 back = reinterpret_cast<const quint32*>(image.constScanLine(area.top()))[area.left()];
  if (!Uniform(image, area, back)) return false;
  const QRgb penColour = pen.color().rgba();
  const unsigned hints = Painter.renderHints().toInt();
  const TStamp* stamp = nullptr;
  for (const TStamp& s : Shaped.stamps)
    if (s.pen == penColour && s.back == back && s.format == format && s.hints == hints) stamp = &s;
  if (!stamp) stamp = MakeStamp(Shaped, Painter, back, format);
  if (!stamp) return false;
  const QRect put = stamp->ink.translated(origin) & area;
  if (put.isEmpty()) return true;
  // Written in place, as the painter's engine writes them (bits() would count a detach).
  uchar* bits = const_cast<uchar*>(image.constBits());
  const qsizetype stride = image.bytesPerLine();
  const QPoint from = put.topLeft() - stamp->ink.translated(origin).topLeft();
  for (int y = 0; y < put.height(); ++y)
    std::memcpy(bits + (put.top() + y) * stride + std::size_t(put.left()) * 4,
                stamp->pixels.constScanLine(from.y() + y) + std::size_t(from.x()) * 4, std::size_t(put.width()) * 4);
  return true;
}

}  // namespace

int ShapedTextWidth(const QFont& Font, const QString& Text) { return Cache().Find(Font, Text).width; }

bool DrawShapedText(QPainter& Painter, const QPointF& Origin, const QFont& Font, const QString& Text,
                    const QRect* DeviceClip) {
  if (Text.isEmpty()) return true;
  const QPaintEngine* engine = Painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster || Painter.layoutDirection() == Qt::RightToLeft ||
      Font.underline() || Font.strikeOut() || Font.overline())
    return false;
  TShaped& shaped = Cache().Find(Font, Text);
  if (!shaped.runs) {
    // A text seen once (a row scrolled past) is drawn straight away: keeping its glyphs costs more than
    // drawing it, and pays only when it comes again.
    if (!shaped.drawn) {
      shaped.drawn = true;
      return false;
    }
    shaped.runs = Plain(Text) ? Shape(Font, Text) : QList<QGlyphRun>();
    if (!shaped.runs->isEmpty()) shaped.bound = GlyphBound(*shaped.runs);
  }
  if (shaped.runs->isEmpty()) return false;
  // Stamped from the second drawing of the kept glyphs on: a text drawn only twice or three times pays no
  // stamp, one drawn again and again is copied from it.
  if (DeviceClip && shaped.stampable) {
    if (shaped.keptDraws < 2) ++shaped.keptDraws;
    if (shaped.keptDraws >= 2 && DrawStamp(Painter, Origin, *DeviceClip, shaped)) return true;
  }
  for (const QGlyphRun& run : *shaped.runs) Painter.drawGlyphRun(Origin, run);
  return true;
}

}  // namespace plat
