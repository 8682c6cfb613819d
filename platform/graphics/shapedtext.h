// Texts shaped once: the width and the positioned glyphs of a one-line text in a font, kept for the next time
// the same text is measured or drawn in that font. Lists and grids draw the same few texts on every paint, and
// shaping is most of the cost of drawing a short text.
#pragma once

class QFont;
class QPainter;
class QPointF;
class QRect;
class QString;

namespace plat {

// The advance of Text in Font, as QFontMetrics::horizontalAdvance gives it.
int ShapedTextWidth(const QFont& Font, const QString& Text);

// Draws Text on one line with its baseline's left end at Origin, as QPainter::drawText(Origin, Text) does with
// the painter's font set to Font. False (nothing drawn) where the kept glyphs could differ from that: on a
// painter that does not rasterise, in a right-to-left painter, for a decorated font, or for a text with tabs,
// line breaks or a right-to-left start; the caller then draws the text itself.
// DeviceClip, when given, is the one rectangle the painter clips to, in the pixels of its device. With it, a
// text drawn again and again on an image over a background of one colour is copied from the pixels its first
// such drawing left (the same pixels: blending depends only on the pixel below, the glyph and the pen).
bool DrawShapedText(QPainter& Painter, const QPointF& Origin, const QFont& Font, const QString& Text,
                    const QRect* DeviceClip = nullptr);

}  // namespace plat
