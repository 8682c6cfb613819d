#include "platform/graphics/shapedtext.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPaintEngine>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <QTextLayout>
#include <QTextOption>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace plat {

namespace {

struct TShaped {
  int width = 0;
  bool drawn = false;  // drawn once: the second drawing shapes it for keeps
  // The glyphs with the baseline at y = 0 (nullopt: not shaped yet; empty: not drawable from here).
  std::optional<QList<QGlyphRun>> runs;
};

// Per thread (drawing happens on the GUI thread; a worker measuring texts gets its own), a few fonts with the
// texts shaped in each. A font whose table grows past kMaxTexts starts again, so that texts seen once (an
// elided candidate, a scrolled-away cell) do not pile up.
class TShapeCache {
 public:
  TShaped& Find(const QFont& Font, const QString& Text) {
    Slot& slot = SlotOf(Font);
    auto it = slot.texts.find(Text);
    if (it != slot.texts.end()) return it.value();
    if (slot.texts.size() >= kMaxTexts) slot.texts.clear();
    TShaped shaped;
    shaped.width = Text.isEmpty() ? 0 : slot.metrics.horizontalAdvance(Text);
    return slot.texts.insert(Text, shaped).value();
  }

 private:
  static constexpr qsizetype kMaxTexts = 4096;
  static constexpr std::size_t kMaxFonts = 16;
  struct Slot {
    QFont font;
    QFontMetrics metrics;
    QHash<QString, TShaped> texts;
    explicit Slot(const QFont& Font) : font(Font), metrics(Font) {}
  };

  Slot& SlotOf(const QFont& Font) {
    // The last font asked for comes first: a paint pass asks for one font many times in a row.
    if (!slots_.empty() && slots_.front()->font == Font) return *slots_.front();
    for (std::size_t i = 1; i < slots_.size(); ++i)
      if (slots_[i]->font == Font) {
        std::swap(slots_[0], slots_[i]);
        return *slots_.front();
      }
    if (slots_.size() >= kMaxFonts) slots_.pop_back();
    slots_.insert(slots_.begin(), std::make_unique<Slot>(Font));
    return *slots_.front();
  }

  std::vector<std::unique_ptr<Slot>> slots_;
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
  }
  return runs;
}

}  // namespace

int ShapedTextWidth(const QFont& Font, const QString& Text) { return Cache().Find(Font, Text).width; }

bool DrawShapedText(QPainter& Painter, const QPointF& Origin, const QFont& Font, const QString& Text) {
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
  }
  if (shaped.runs->isEmpty()) return false;
  for (const QGlyphRun& run : *shaped.runs) Painter.drawGlyphRun(Origin, run);
  return true;
}

}  // namespace plat
