// The check image strips, drawn at start-up with the frame-control drawing: there are no picture files to
// load, so each named strip is painted here in the classic colours (white, silver, grey, black) that the
// loader maps to the system colours. Every strip has 25 squares in the check image layout.

#include "tree/checkimages.h"

#include <QPainter>

#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/color.h"

namespace lazytree {

namespace {

// Not one of the mapped colours, so it stays the strip's transparent colour after mapping.
constexpr QRgb StripBackground = 0xFFFF00FF;

struct TStripLook {
  const char* name;
  bool flat;   // the flat frame
  bool dark;   // a silver (button face) inside instead of white
  bool tick;   // a bold tick over the checked glyph
  bool xp;     // frame and glyph recoloured, colours not mapped
};

constexpr TStripLook Looks[] = {
    {"LT_CHECK_LIGHT", false, false, false, false}, {"LT_CHECK_DARK", false, true, false, false},
    {"LT_TICK_LIGHT", true, false, true, false},    {"LT_TICK_DARK", true, true, true, false},
    {"LT_FLAT", true, false, false, false},         {"LT_XP", true, false, false, true},
};

void ReplaceColour(QImage& Square, QRgb From, QRgb To) {
  for (int y = 0; y < Square.height(); ++y)
    for (int x = 0; x < Square.width(); ++x)
      if ((Square.pixel(x, y) & 0xFFFFFF) == (From & 0xFFFFFF)) Square.setPixel(x, y, To | 0xFF000000);
}

// Three dots: the glyph laid over button images.
void DrawEllipsis(QImage& Square, QRgb Colour = 0xFF000000) {
  const int y = Square.height() / 2;
  for (int x : {4, 7, 10})
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx) Square.setPixel(x + dx, y + dy, Colour);
}

void DrawTick(plat::TCanvas& Canvas) {
  Canvas.Pen()->SetColor(plat::clBlack);
  for (int d = 0; d < 2; ++d) {
    Canvas.MoveTo(3, 7 + d);
    Canvas.LineTo(6, 10 + d);
    Canvas.LineTo(12, 4 + d);
  }
}

// Square Index (1..24) of a strip: the check glyphs as in the system lists, then the push button.
QImage DrawSquare(const TStripLook& Look, int Index) {
  const int n = Index - 1;
  unsigned state = n < 8 ? plat::DFCS_BUTTONRADIO
                   : n < 16 ? plat::DFCS_BUTTONCHECK
                   : n < 20 ? plat::DFCS_BUTTON3STATE
                            : plat::DFCS_BUTTONPUSH;
  static constexpr unsigned kinds[] = {0, plat::DFCS_HOT, plat::DFCS_PUSHED, plat::DFCS_INACTIVE};
  state |= kinds[n % 4];
  const bool checked = (n >= 4 && n <= 7) || (n >= 12 && n < 20);
  if (checked) state |= plat::DFCS_CHECKED;
  if (Look.flat) state |= plat::DFCS_FLAT;
  QImage square(CheckImageSize, CheckImageSize, QImage::Format_RGB32);
  square.fill(StripBackground);
  {
    plat::TCanvas canvas(&square);
    plat::DrawFrameControl(&canvas, plat::TRect(0, 0, CheckImageSize, CheckImageSize), plat::DFC_BUTTON, state);
    if (Look.tick && checked && n >= 8 && n < 16 && n % 4 != 3) DrawTick(canvas);
  }
  if (n >= 20) DrawEllipsis(square, n == 23 ? 0xFF808080 : 0xFF000000);  // greyed when inactive
  if (Look.dark && n < 20) ReplaceColour(square, plat::ToQColor(plat::clWindow).rgb(), 0xC0C0C0);
  if (Look.xp && n < 20) {
    ReplaceColour(square, plat::ToQColor(plat::clBtnShadow).rgb(), 0x1C5180);
    ReplaceColour(square, plat::ToQColor(plat::clWindowText).rgb(), 0x21A121);
  }
  return square;
}

QImage DrawStrip(const TStripLook& Look) {
  QImage strip(25 * CheckImageSize, CheckImageSize, QImage::Format_RGB32);
  strip.fill(StripBackground);
  for (int i = 1; i < 25; ++i) {
    const QImage square = DrawSquare(Look, i);
    for (int y = 0; y < CheckImageSize; ++y)
      for (int x = 0; x < CheckImageSize; ++x) strip.setPixel(i * CheckImageSize + x, y, square.pixel(x, y));
  }
  return strip;
}

// A filled triangle of the arrow glyphs, pointing Up, down, left or right, inside a 16 x 16 square at Offset.
void Triangle(QPainter& P, QPoint Offset, int Direction, QColor Colour) {
  static const QPoint shapes[4][3] = {{{4, 10}, {11, 10}, {7, 6}},   // up
                                      {{4, 6}, {11, 6}, {7, 10}},    // down
                                      {{9, 4}, {9, 11}, {5, 7}},     // left
                                      {{6, 4}, {6, 11}, {10, 7}}};   // right
  QPoint points[3];
  for (int i = 0; i < 3; ++i) points[i] = shapes[Direction][i] + Offset;
  P.setPen(Colour);
  P.setBrush(Colour);
  P.drawPolygon(points, 3);
}

// Nine images of the tree's own: the left and right drop marks (an arrow in a round button), the descending
// and ascending sort arrows of the classic look (with a light edge below) and of the themed look (flat grey);
// the rest are empty. The themed descending arrow also marks button-type check images.
QImage DrawUtilities() {
  QImage strip(9 * CheckImageSize, CheckImageSize, QImage::Format_RGB32);
  strip.fill(StripBackground);
  QPainter p(&strip);
  const QColor button(0x33, 0x66, 0xCC), white(0xFF, 0xFF, 0xFF), grey(0x80, 0x80, 0x80);
  for (int mark : {UtilityDropLeft, UtilityDropRight}) {
    const QPoint at(mark * CheckImageSize, 0);
    p.setPen(button);
    p.setBrush(button);
    p.drawEllipse(QRect(at + QPoint(1, 1), QSize(13, 13)));
    Triangle(p, at, mark == UtilityDropLeft ? 2 : 3, white);
  }
  for (int sort : {UtilitySortDescending, UtilitySortAscending}) {
    const QPoint at(sort * CheckImageSize, 0);
    const int direction = sort == UtilitySortAscending ? 0 : 1;
    Triangle(p, at + QPoint(1, 1), direction, white);  // the light edge a raised glyph casts
    Triangle(p, at, direction, grey);
  }
  for (int sort : {UtilityThemedSortDescending, UtilityThemedSortAscending})
    Triangle(p, QPoint(sort * CheckImageSize, 0), sort == UtilityThemedSortAscending ? 0 : 1, grey);
  return strip;
}

}  // namespace

QImage CheckImageStrip(const QString& ResourceName) {
  if (ResourceName == QLatin1String("LT_UTILITIES")) return DrawUtilities();
  for (const TStripLook& look : Looks)
    if (ResourceName == QLatin1String(look.name)) return DrawStrip(look);
  return QImage();
}

}  // namespace lazytree
