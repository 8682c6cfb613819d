// Texts drawn from their kept glyphs: the pixels and widths are Qt's own for the same font and text, on the
// first drawing (which keeps nothing), on the second (which keeps the glyphs) and after; texts drawn again and
// again through the canvas, copied from their stamps, still give Qt's pixels on every background, pen, format,
// origin and clip; and the canvas keeps its Qt font while only the colour changes.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <vector>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/shapedtext.h"

using namespace plat;

namespace {

QImage Blank() {
  QImage image(320, 40, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

// Qt's drawing of the text, the reference.
QImage DrawnByQt(const QFont& Font, const QString& Text) {
  QImage image = Blank();
  QPainter p(&image);
  p.setFont(Font);
  p.drawText(QPoint(6, 25), Text);
  return image;
}

// The way the canvas draws: the kept glyphs where they serve, Qt's drawing where they do not.
QImage DrawnKept(const QFont& Font, const QString& Text, bool& Kept) {
  QImage image = Blank();
  QPainter p(&image);
  p.setFont(Font);
  Kept = DrawShapedText(p, QPointF(6, 25), Font, Text);
  if (!Kept) p.drawText(QPoint(6, 25), Text);
  return image;
}

TEST(ShapedText, KeptGlyphsDrawQtsPixelsAndWidths) {
  struct Case {
    QString text;
    bool kept;  // drawn from kept glyphs from the second time on
  };
  const Case cases[] = {
      {QStringLiteral("Row 17"), true},
      {QStringLiteral("  blanks around  "), true},
      {QStringLiteral("office affluent"), true},
      {QString::fromUtf8("\xC3\x9C" "ber e\xCC\x81t\xC3\xA9"), true},                 // precomposed and combining
      {QString::fromUtf8("left \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D right"), true},  // right-to-left inside
      {QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D left"), false},        // starts right to left
      {QStringLiteral("tab\there"), false},
      {QStringLiteral("line\nbreak"), false},
  };
  QFont plain(QStringLiteral("DejaVu Sans"));
  plain.setPixelSize(13);
  QFont bold = plain;
  bold.setBold(true);
  QFont underlined = plain;
  underlined.setUnderline(true);
  for (const QFont& font : {plain, bold, underlined})
    for (const Case& c : cases) {
      SCOPED_TRACE(c.text.toStdString() + " " + font.toString().toStdString());
      const QImage expected = DrawnByQt(font, c.text);
      for (int time = 1; time <= 3; ++time) {
        bool kept = false;
        EXPECT_EQ(DrawnKept(font, c.text, kept), expected) << "drawing " << time;
        EXPECT_EQ(kept, time > 1 && c.kept && !font.underline()) << "drawing " << time;
      }
      EXPECT_EQ(ShapedTextWidth(font, c.text), QFontMetrics(font).horizontalAdvance(c.text));
    }
}

TEST(ShapedText, ARightToLeftPainterDrawsItself) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  QImage image = Blank();
  QPainter p(&image);
  p.setLayoutDirection(Qt::RightToLeft);
  for (int time = 0; time < 3; ++time) EXPECT_FALSE(DrawShapedText(p, QPointF(6, 25), font, QStringLiteral("abc")));
}

// --- Texts drawn again and again through the canvas --------------------------------------------------------

struct StampCase {
  const char* name;
  QImage::Format format;
  QRgb back, pen;
  TPoint windowOrg;
  std::vector<TRect> clip;  // the canvas's clip in device pixels (none when empty)
  TRect text;               // the text's rectangle in logical pixels
  bool crossed;             // a line of another colour runs under the text
};

QImage Background(const StampCase& c) {
  QImage image(160, 48, c.format);
  image.fill(c.back);
  if (c.crossed)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, 20, qRgb(200, 0, 0));
  return image;
}

QFont CanvasFont() {
  TFont font;
  font.SetName(QStringLiteral("DejaVu Sans"));
  font.SetSize(10);
  return font.QtFont();
}

// What Qt draws for the text at the rectangle's top-left, in the canvas's font, origin and clips.
QImage StampDrawnByQt(const StampCase& c, const QString& Text) {
  QImage image = Background(c);
  QPainter p(&image);
  const QFont font = CanvasFont();
  p.setFont(font);
  p.setPen(QColor::fromRgb(c.pen));
  if (!c.clip.empty()) {
    QRegion region;
    for (const TRect& r : c.clip) region += ToQRect(r);
    p.setClipRegion(region);
  }
  p.translate(-c.windowOrg.X, -c.windowOrg.Y);
  p.setClipRect(ToQRect(c.text), Qt::IntersectClip);
  p.drawText(QPoint(c.text.Left, c.text.Top + QFontMetrics(font).ascent()), Text);
  return image;
}

QImage StampDrawnByCanvas(const StampCase& c, const QString& Text) {
  QImage image = Background(c);
  TCanvas canvas(&image);
  canvas.Font()->SetName(QStringLiteral("DejaVu Sans"));
  canvas.Font()->SetSize(10);
  canvas.Font()->SetColor(FromQColor(QColor::fromRgb(c.pen)));
  canvas.Brush()->SetStyle(bsClear);
  canvas.SetWindowOrg(c.windowOrg);
  if (!c.clip.empty()) {
    QRegion region;
    for (const TRect& r : c.clip) region += ToQRect(r);
    const TRegion clip(region);
    canvas.SelectClipRgn(&clip);
  }
  TRect r = c.text;
  canvas.DrawText(Text, r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  canvas.EndPainting();
  return image;
}

TEST(ShapedText, TextsDrawnAgainAndAgainKeepQtsPixels) {
  constexpr auto kRgb = QImage::Format_RGB32;
  constexpr auto kPremultiplied = QImage::Format_ARGB32_Premultiplied;
  const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), navy = qRgb(0, 0, 128), cream = qRgb(255, 250, 220);
  const StampCase cases[] = {
      {"plain", kRgb, white, black, {0, 0}, {}, Rect(10, 6, 150, 30), false},
      {"the same elsewhere", kRgb, white, black, {0, 0}, {}, Rect(37, 21, 150, 45), false},
      {"selected", kRgb, navy, white, {0, 0}, {}, Rect(10, 6, 150, 30), false},
      {"premultiplied image", kPremultiplied, cream, navy, {0, 0}, {}, Rect(10, 6, 150, 30), false},
      {"moved origin", kRgb, white, black, {-7, 3}, {}, Rect(10, 6, 150, 30), false},
      {"cut by its rectangle", kRgb, white, black, {0, 0}, {}, Rect(10, 6, 31, 30), false},
      {"cut by the canvas clip", kRgb, white, black, {0, 0}, {Rect(0, 0, 160, 14)}, Rect(10, 6, 150, 30), false},
      {"clipped away", kRgb, white, black, {0, 0}, {Rect(0, 40, 160, 48)}, Rect(10, 6, 150, 30), false},
      {"clip of two rectangles", kRgb, white, black, {0, 0}, {Rect(0, 0, 30, 48), Rect(50, 0, 160, 48)},
       Rect(10, 6, 150, 30), false},
      {"over a line", kRgb, white, black, {0, 0}, {}, Rect(10, 6, 150, 30), true},
  };
  const QString texts[] = {QStringLiteral("Row 17"), QStringLiteral("Cell 3.2 jolly"), QStringLiteral("   "),
                           QString::fromUtf8("Ã" "ber WÃ©j")};
  for (const StampCase& c : cases)
    for (const QString& text : texts) {
      SCOPED_TRACE(std::string(c.name) + ": " + text.toStdString());
      const QImage expected = StampDrawnByQt(c, text);
      for (int time = 1; time <= 5; ++time)  // kept from the second, stamped from the third drawing on
        ASSERT_EQ(StampDrawnByCanvas(c, text), expected) << "drawing " << time;
    }
}

TEST(ShapedText, TheCanvasKeepsItsQtFontWhileOnlyTheColourChanges) {
  TBitmap bmp(200, 40);
  TCanvas* c = bmp.Canvas();
  c->Font()->SetName(QStringLiteral("DejaVu Sans"));
  c->Font()->SetSize(10);
  const std::uint64_t id = c->Font()->QtFontId();
  c->Font()->SetColor(clRed);
  EXPECT_EQ(c->Font()->QtFontId(), id);
  TFont copy;
  copy.Assign(*c->Font());
  EXPECT_EQ(copy.QtFontId(), id);  // assigned: the same Qt font
  copy.SetSize(20);
  EXPECT_NE(copy.QtFontId(), id);
  EXPECT_EQ(copy.QtFont().pixelSize(), 27);
  copy.SetSize(10);
  EXPECT_EQ(copy.QtFont().pixelSize(), 13);
  // Drawing in the new colour after a text in the old one: the painter gets the colour, not a stale pen.
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 200, 40));
  c->Brush()->SetStyle(bsClear);
  for (TColor colour : {clRed, clBlue}) {
    c->Font()->SetColor(colour);
    for (int time = 0; time < 3; ++time) c->TextOut(4, 4, QStringLiteral("Hello"));
  }
  c->EndPainting();
  int blue = 0, red = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      const QRgb px = bmp.Image().pixel(x, y);
      if (px == qRgb(0, 0, 255)) ++blue;
      if (px == qRgb(255, 0, 0)) ++red;
    }
  EXPECT_GT(blue, 10);
  EXPECT_EQ(red, 0);
}

}  // namespace
