// The spectrum panel: its picture and its eyedropper pointer, both made here in code, the two colour boxes
// below the picture, and taking the colour under the pointer.
#include <QCursor>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

#include <cmath>

#include "dropdown/color_panels.h"
#include "platform/forms/extctrls.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"

namespace dropdown {

using namespace plat;

namespace {

constexpr int SpectrumSize = 128;

// HSL (each 0..1) to a colour; hue is a fraction of the full circle.
QRgb FromHsl(double Hue, double Saturation, double Lightness) {
  const double c = (1.0 - std::abs(2.0 * Lightness - 1.0)) * Saturation;
  const double h = Hue * 6.0;
  const double x = c * (1.0 - std::abs(std::fmod(h, 2.0) - 1.0));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h) % 6) {
    case 0: r = c, g = x; break;
    case 1: r = x, g = c; break;
    case 2: g = c, b = x; break;
    case 3: g = x, b = c; break;
    case 4: r = x, b = c; break;
    default: r = c, b = x; break;
  }
  const double m = Lightness - c / 2.0;
  auto byte = [m](double v) { return static_cast<int>(std::lround((v + m) * 255.0)); };
  return qRgb(byte(r), byte(g), byte(b));
}

QImage MakeSpectrum() {
  QImage img(SpectrumSize, SpectrumSize, QImage::Format_RGB32);
  // Sampled at the pixel centres: hue x / 128 of the circle from red, lightness from white at the top
  // through the pure hues in the middle (between rows 63 and 64) to black at the bottom.
  for (int y = 0; y < SpectrumSize; ++y) {
    const double lightness = 1.0 - (y + 0.5) / SpectrumSize;
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < SpectrumSize; ++x) line[x] = FromHsl((x + 0.5) / SpectrumSize, 1.0, lightness);
  }
  return img;
}

// An eyedropper seen from the side, its tip at the lower left: a thin glass tube, a collar and a rubber
// bulb, drawn along the diagonal in black outline with a white body; everything else transparent.
QImage MakePointer() {
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.translate(TExtColorSpectrumPanel::PointerHotX + 0.5, TExtColorSpectrumPanel::PointerHotY + 0.5);
  p.rotate(-45.0);
  // Along the axis: tube from the tip to 24, collar 24..28, bulb 28..40.
  QPainterPath tube;
  tube.moveTo(0, 0);
  tube.lineTo(3, -1.5);
  tube.lineTo(24, -1.5);
  tube.lineTo(24, 1.5);
  tube.lineTo(3, 1.5);
  tube.closeSubpath();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(tube);
  p.drawRect(QRectF(24, -4.5, 4, 9));
  p.setBrush(Qt::black);
  p.drawRoundedRect(QRectF(28, -3.5, 11, 7), 3, 3);
  p.end();
  // Two colours only: whatever is not fully transparent becomes pure black or pure white.
  for (int y = 0; y < 32; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < 32; ++x) {
      if (qAlpha(line[x]) < 128) {
        line[x] = qRgba(0, 0, 0, 0);
        continue;
      }
      line[x] = qGray(line[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
  }
  return img;
}

}  // namespace

const QImage& TExtColorSpectrumPanel::SpectrumBitmap() {
  static const QImage spectrum = MakeSpectrum();
  return spectrum;
}

const QImage& TExtColorSpectrumPanel::PointerImage() {
  static const QImage pointer = MakePointer();
  return pointer;
}

TExtColorSpectrumPanel::TExtColorSpectrumPanel(TComponent* AOwner) : TExtCustomColorSelectorPanel(AOwner) {
  FSpectrumImage = new TImage(this);
  FSpectrumImage->SetParent(this);
  FSpectrumImage->SetBounds(0, 0, SpectrumSize, SpectrumSize);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetImage(SpectrumBitmap());
  FSpectrumImage->Picture()->SetGraphic(&bitmap);
  FSpectrumImage->OnMouseMove = [this](TObject*, TShiftState Shift, int X, int Y) {
    SpectrumMouseMove(Shift, X, Y);
  };
  FSpectrumImage->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
    SpectrumMouseDown(Button, Shift, X, Y);
  };
  FSpectrumImage->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
    SpectrumMouseUp(Button, Shift, X, Y);
  };
  // The framework's cursor table holds shapes only: the image shows the eyedropper itself and reports the
  // slot number as its cursor.
  FSpectrumImage->SetCursor(PointerCursor);
  if (QWidget* w = FSpectrumImage->Widget())
    w->setCursor(QCursor(QPixmap::fromImage(PointerImage()), PointerHotX, PointerHotY));
}

TExtColorSpectrumPanel::~TExtColorSpectrumPanel() {
  delete FSpectrumImage;
  FSpectrumImage = nullptr;
}

void TExtColorSpectrumPanel::ArrangeSpectrum() {
  SetBounds(Left(), Top(), 150, 174);
  TImage& image = *FSpectrumImage;
  image.SetBounds((Width() - image.Width()) / 2, 10, image.Width(), image.Height());
  const int bottom = image.Top() + image.Height();
  FSelectedRect =
      TRect(image.Left() - 1, bottom + 8, image.Left() + image.Width() / 2 - 2, bottom + 28);
  FHotRect = TRect(FSelectedRect.Right + 4, FSelectedRect.Top, image.Left() + image.Width() + 1,
                   FSelectedRect.Bottom);
  FHotColor = clNone;
  Invalidate();
}

void TExtColorSpectrumPanel::SetSelectedColor(TColor Value) {
  if (Value != FSelectedColor) FSelectedColor = Value;
}

void TExtColorSpectrumPanel::DrawBox(TCanvas& Canvas, const TRect& R, TColor Color) {
  Canvas.Brush()->SetStyle(bsClear);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(TColor(0x808080));
  Canvas.Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
  Canvas.Pen()->SetColor(clWhite);
  if (Color != clNone) {
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(Color);
  }
  Canvas.Rectangle(R);
}

void TExtColorSpectrumPanel::DrawSelectedBox(TCanvas& Canvas) { DrawBox(Canvas, FSelectedRect, FSelectedColor); }

void TExtColorSpectrumPanel::DrawHotBox(TCanvas& Canvas) { DrawBox(Canvas, FHotRect, FHotColor); }

void TExtColorSpectrumPanel::Paint() {
  if (!Canvas()) return;
  TCanvas& canvas = *Canvas();
  const TRect image = FSpectrumImage->BoundsRect();
  canvas.Brush()->SetStyle(bsClear);
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetColor(clWhite);
  canvas.Rectangle(image.Left - 1, image.Top - 1, image.Right + 1, image.Bottom + 1);
  canvas.Pen()->SetColor(TColor(0x808080));
  canvas.Rectangle(image.Left - 2, image.Top - 2, image.Right + 2, image.Bottom + 2);
  DrawSelectedBox(canvas);
  DrawHotBox(canvas);
}

TColor TExtColorSpectrumPanel::DisplayedColor(int X, int Y) const {
  QWidget* w = Widget();
  if (!w || X < 0 || Y < 0 || X >= Width() || Y >= Height()) return clNone;
  // What the panel shows there: its own painting with the picture on top, as rendered now. (The whole panel
  // is rendered: a part of it would not place the picture right.)
  const QImage shown = w->grab().toImage();
  return X < shown.width() && Y < shown.height() ? FromQColor(shown.pixelColor(X, Y)) : clNone;
}

void TExtColorSpectrumPanel::SpectrumMouseMove(TShiftState, int X, int Y) {
  FHotColor = DisplayedColor(FSpectrumImage->Left() + X, FSpectrumImage->Top() + Y);
  Invalidate();
}

void TExtColorSpectrumPanel::SpectrumMouseDown(TMouseButton, TShiftState, int X, int Y) {
  // The press point counts as a move: a click that came without one still takes the colour under it.
  FHotColor = DisplayedColor(FSpectrumImage->Left() + X, FSpectrumImage->Top() + Y);
  SetSelectedColor(FHotColor);
  Invalidate();
  if (OnSelect) OnSelect(this);
}

void TExtColorSpectrumPanel::SpectrumMouseUp(TMouseButton, TShiftState, int, int) {
  if (OnShouldHide) OnShouldHide(this);
}

void TExtColorSpectrumPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TExtCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
  if (OnShouldHide) OnShouldHide(this);
}

}  // namespace dropdown
