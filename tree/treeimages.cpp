#include "tree/treeimages.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "platform/graphics/canvas.h"
#include "tree/lazytypes.h"

namespace lazytree {

using namespace plat;

QImage PatternImage(const TLinePattern& Pattern, TColor Line, TColor Background) {
  QImage image(8, 8, QImage::Format_RGB32);
  const QRgb line = ToQColor(Line).rgb(), back = ToQColor(Background).rgb();
  for (int y = 0; y < 8; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < 8; ++x) row[x] = (Pattern[static_cast<std::size_t>(y)] >> (7 - x)) & 1 ? back : line;
  }
  return image;
}

namespace {

// An empty bitmap of the button size, filled with the colour that is taken as transparent.
std::unique_ptr<TBitmap> Prepared(int size, TColor fill) {
  auto b = std::make_unique<TBitmap>(size, size, pf32bit);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(Rect(0, 0, size, size));
  b->SetTransparentColor(fill);
  b->SetTransparent(true);
  return b;
}

void DrawShape(TBitmap& b, const TButtonLook& look, bool plus) {
  TCanvas* c = b.Canvas();
  const int w = b.Width();
  if (look.Triangle) {
    c->Brush()->SetColor(clBlack);
    c->Pen()->SetColor(clBlack);
    const TPoint minus[] = {{0, 2}, {8, 2}, {4, 6}};
    const TPoint plusShape[] = {{2, 0}, {6, 4}, {2, 8}};
    c->Polygon(plus ? std::span<const TPoint>(plusShape) : std::span<const TPoint>(minus));
    return;
  }
  if (look.FillMode == 2) {  // shaded: a light gradient face, drawn here instead of a stored picture
    QImage face(w, w, QImage::Format_ARGB32);
    QPainter p(&face);
    QLinearGradient g(0, 0, w, w);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(0xC0, 0xC8, 0xD8));
    p.fillRect(face.rect(), g);
    p.end();
    c->DrawImage(Rect(0, 0, w, w), face, Rect(0, 0, w, w), cmSrcCopy);
    c->Brush()->SetStyle(bsClear);
  } else if (look.FillMode == 0 || look.FillMode == 1) {
    c->Brush()->SetColor(look.FillMode == 0 ? look.Background : clWindow);
  } else {
    c->Brush()->SetStyle(bsClear);  // transparent: the prepared fill stays
  }
  c->Pen()->SetColor(look.TreeLine);
  c->Rectangle(0, 0, w, w);
  c->Pen()->SetColor(look.NodeFont);
  c->MoveTo(2, w / 2);
  c->LineTo(w - 2, w / 2);
  if (plus) {
    c->MoveTo(w / 2, 2);
    c->LineTo(w / 2, w - 2);
  }
}

// The style's own branch glyph, closed (plus) or open (minus).
void DrawThemed(TBitmap& b, bool plus) {
  QImage image = b.Image().convertToFormat(QImage::Format_ARGB32);
  QPainter p(&image);
  QStyleOption opt;
  opt.rect = QRect(0, 0, b.Width(), b.Height());
  opt.state = QStyle::State_Children | QStyle::State_Enabled | (plus ? QStyle::State_None : QStyle::State_Open);
  QApplication::style()->drawPrimitive(QStyle::PE_IndicatorBranch, &opt, &p);
  p.end();
  b.SetImage(image);
}

}  // namespace

void BuildButtonImages(TButtonImages& Images, const TButtonLook& Look,
                       const std::function<void(TButtonImages& Images, int& Size)>& Prepare) {
  int size = 9;
  const TColor fill = Look.Themed ? Look.Background : clFuchsia;
  auto prepareAll = [&] {
    for (auto* b : {&Images.Plus, &Images.PlusHot, &Images.PlusSelectedHot, &Images.Minus, &Images.MinusHot,
                    &Images.MinusSelectedHot})
      *b = Prepared(size, fill);
  };
  prepareAll();
  if (Prepare) {
    Prepare(Images, size);
    Images.Size = size;
    return;
  }
  for (bool plus : {false, true}) {
    TBitmap& b = plus ? *Images.Plus : *Images.Minus;
    if (Look.Themed)
      DrawThemed(b, plus);
    else
      DrawShape(b, Look, plus);
    (plus ? Images.PlusHot : Images.MinusHot)->Assign(b);
    (plus ? Images.PlusSelectedHot : Images.MinusSelectedHot)->Assign(b);
  }
  Images.Size = size;
}

TRegion PanningImageRegion(const QImage& Image) {
  if (Image.isNull()) throw ELazyTreeAssertion("Invalid wheel panning image.");
  const QRgb key = ToQColor(clFuchsia).rgb() & 0xFFFFFF;
  QRegion region;
  for (int y = 0; y < Image.height(); ++y) {
    int start = -1;
    for (int x = 0; x <= Image.width(); ++x) {
      const bool inside = x < Image.width() && (Image.pixel(x, y) & 0xFFFFFF) != key;
      if (inside && start < 0) start = x;
      if (!inside && start >= 0) {
        region += QRect(start, y, x - start, 1);
        start = -1;
      }
    }
  }
  return TRegion(region);
}

}  // namespace lazytree
