// Texts drawn from their kept glyphs: the pixels and widths are Qt's own for the same font and text, on the
// first drawing (which keeps nothing), on the second (which keeps the glyphs) and after; and the canvas keeps
// its Qt font while only the colour changes.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

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
