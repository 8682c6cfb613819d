#include "grid/view/render_resources.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>

#include <map>
#include <memory>

#include "controls/draw_utils.h"

namespace grid {

namespace {

const QColor kKey(255, 0, 255);  // the transparent background of every bitmap

// What the box or button of a check or radio bitmap looks like.
struct TGlyphLook {
  QColor Border, Top, Bottom, Mark;
};

TGlyphLook LookOf(bool Ext, bool Enabled) {
  if (!Enabled) return {QColor(0xCA, 0xC8, 0xBB), QColor(0xFF, 0xFF, 0xFF), QColor(0xF4, 0xF4, 0xF0),
                        QColor(0xCA, 0xC8, 0xBB)};
  if (Ext) return {QColor(0x80, 0x80, 0x80), QColor(0xFF, 0xFF, 0xFF), QColor(0xDC, 0xDC, 0xDC),
                   QColor(0x00, 0x00, 0x80)};
  return {QColor(0x1C, 0x51, 0x80), QColor(0xDC, 0xDC, 0xD7), QColor(0xFF, 0xFF, 0xFF), QColor(0x21, 0xA1, 0x21)};
}

QImage Blank(int W, int H) {
  QImage image(W, H, QImage::Format_RGB32);
  image.fill(kKey);
  return image;
}

void Tick(QPainter& p, int X, int Y, const QColor& Color) {
  p.setPen(Color);
  for (int d = 0; d < 3; ++d) {
    p.drawLine(X, Y + 2 + d, X + 2, Y + 4 + d);
    p.drawLine(X + 2, Y + 4 + d, X + 6, Y + d);
  }
}

// A check box: Box pixels square at (1, 1) in a Size x Size bitmap.
QImage CheckImage(int Size, int Box, bool Checked, bool Enabled, bool Ext) {
  QImage image = Blank(Size, Size);
  QPainter p(&image);
  const TGlyphLook look = LookOf(Ext, Enabled);
  QLinearGradient fill(0, 1, 0, Box);
  fill.setColorAt(0, look.Top);
  fill.setColorAt(1, look.Bottom);
  p.fillRect(QRect(1, 1, Box, Box), fill);
  p.setPen(look.Border);
  p.drawRect(QRect(1, 1, Box - 1, Box - 1));
  if (Checked) Tick(p, 1 + (Box - 7) / 2, 1 + (Box - 7) / 2, look.Mark);
  return image;
}

// A radio button: a 13-pixel round button at (1, 1) of a 16 x 16 bitmap.
QImage RadioImage(bool Checked, bool Enabled, bool Ext) {
  QImage image = Blank(16, 16);
  QPainter p(&image);
  const TGlyphLook look = LookOf(Ext, Enabled);
  QLinearGradient fill(0, 2, 0, 13);
  fill.setColorAt(0, look.Top);
  fill.setColorAt(1, look.Bottom);
  p.setPen(look.Border);
  p.setBrush(fill);
  p.drawEllipse(QRect(1, 1, 12, 12));
  if (Checked) {
    p.setPen(look.Mark);
    p.setBrush(look.Mark);
    p.drawEllipse(QRect(5, 5, 4, 4));
  }
  return image;
}

void PlusMinus(QPainter& p, int X, int Y, int Size, bool Plus, const QColor& Color) {
  const int mid = Size / 2;
  p.setPen(Color);
  p.drawLine(X + 2, Y + mid, X + Size - 3, Y + mid);
  if (Plus) p.drawLine(X + mid, Y + 2, X + mid, Y + Size - 3);
}

// The leaf look of nodes: a soft box with a plus (collapsed) or a minus.
QImage LeafImage(bool Collapsed) {
  QImage image = Blank(16, 16);
  QPainter p(&image);
  QLinearGradient fill(0, 2, 0, 12);
  fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  fill.setColorAt(1, QColor(0xC8, 0xE0, 0xB4));
  p.fillRect(QRect(3, 2, 9, 9), fill);
  p.setPen(QColor(0x4E, 0x8A, 0x3C));
  p.drawRect(QRect(2, 1, 10, 10));
  PlusMinus(p, 2, 1, 11, Collapsed, QColor(0x1E, 0x4A, 0x14));
  return image;
}

// The XP look of nodes: 9 x 9 with round corners.
QImage XPNodeImage(bool Collapsed) {
  QImage image = Blank(9, 9);
  QPainter p(&image);
  QLinearGradient fill(0, 1, 0, 8);
  fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  fill.setColorAt(1, QColor(0xC6, 0xD2, 0xE0));
  p.fillRect(QRect(1, 1, 7, 7), fill);
  p.setPen(QColor(0x78, 0x98, 0xB5));
  p.drawLine(1, 0, 7, 0);
  p.drawLine(1, 8, 7, 8);
  p.drawLine(0, 1, 0, 7);
  p.drawLine(8, 1, 8, 7);
  PlusMinus(p, 0, 0, 9, Collapsed, QColor(0, 0, 0));
  return image;
}

QImage FilterImage() {
  QImage image = Blank(16, 16);
  QPainter p(&image);
  const QPolygon funnel({{3, 4}, {13, 4}, {9, 8}, {9, 13}, {7, 14}, {7, 8}});
  p.setPen(QColor(0, 0, 0));
  p.setBrush(QColor(0xFF, 0xFF, 0xFF));
  p.drawPolygon(funnel);
  return image;
}

// The flat glyphs of colour tones: an outlined square or circle, filled with a mark when on.
QImage MetroImage(bool Radio, bool On) {
  QImage image = Blank(16, 16);
  QPainter p(&image);
  const QColor frame(0x5E, 0x5E, 0x5E), mark(0x2B, 0x57, 0x97);
  p.setPen(frame);
  p.setBrush(QColor(0xFF, 0xFF, 0xFF));
  if (Radio) {
    p.drawEllipse(QRect(1, 1, 13, 13));
    if (On) {
      p.setPen(mark);
      p.setBrush(mark);
      p.drawEllipse(QRect(4, 4, 7, 7));
    }
  } else {
    p.drawRect(QRect(1, 1, 13, 13));
    if (On) Tick(p, 4, 4, mark);
  }
  return image;
}

QImage CloseImage() {
  QImage image = Blank(16, 16);
  QPainter p(&image);
  p.setPen(QColor(0x80, 0x80, 0x80));
  for (int d = 0; d < 2; ++d) {
    p.drawLine(4 + d, 4, 11 + d, 11);
    p.drawLine(11 + d, 4, 4 + d, 11);
  }
  return image;
}

std::map<QString, std::unique_ptr<plat::TBitmap>>& Bitmaps() {
  static std::map<QString, std::unique_ptr<plat::TBitmap>> bitmaps;
  return bitmaps;
}

void Add(const QString& Name, const QImage& Image) {
  auto bitmap = std::make_unique<plat::TBitmap>();
  bitmap->SetImage(Image);
  bitmap->SetTransparent(true);
  controls::RegisterResourceImage(Name, Image);
  Bitmaps()[Name.toUpper()] = std::move(bitmap);
}

}  // namespace

void RegisterGridBitmaps() {
  if (!Bitmaps().empty()) return;
  // Check boxes: 1..4 the Ext look (20 x 20), 5..8 the XP look (16 x 16); in each group checked, unchecked,
  // checked disabled, unchecked disabled. Radio buttons likewise, all 16 x 16.
  for (int i = 0; i < 8; ++i) {
    const bool ext = i < 4, checked = i % 2 == 0, enabled = i % 4 < 2;
    const QString n = QString::number(i + 1).rightJustified(2, u'0');
    Add(QStringLiteral("ESGCHK") + n, ext ? CheckImage(20, 15, checked, enabled, true)
                                          : CheckImage(16, 13, checked, enabled, false));
    Add(QStringLiteral("ESGRAD") + n, RadioImage(checked, enabled, ext));
  }
  Add(QStringLiteral("ESGLEAFOPEN"), LeafImage(false));
  Add(QStringLiteral("ESGLEAFCLOSE"), LeafImage(true));
  Add(QStringLiteral("XPNODEO"), XPNodeImage(false));
  Add(QStringLiteral("XPNODEC"), XPNodeImage(true));
  Add(QStringLiteral("ESGFILT"), FilterImage());
  Add(QStringLiteral("metrocheckon"), MetroImage(false, true));
  Add(QStringLiteral("metrocheckoff"), MetroImage(false, false));
  Add(QStringLiteral("metroradioon"), MetroImage(true, true));
  Add(QStringLiteral("metroradiooff"), MetroImage(true, false));
  Add(QStringLiteral("ESGCLOSE"), CloseImage());
}

plat::TBitmap* GridBitmap(const QString& Name) {
  RegisterGridBitmaps();
  const auto it = Bitmaps().find(Name.toUpper());
  return it == Bitmaps().end() ? nullptr : it->second.get();
}

}  // namespace grid
