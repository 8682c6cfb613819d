#include "dropdown/paint_routines.h"

#include <algorithm>
#include <cmath>

#include "controls/mini_html.h"
#include "controls/picture.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"

namespace dropdown {

using namespace plat;

namespace {

// Nearest integer, a tie going to the even one.
int RoundEven(double x) { return static_cast<int>(std::nearbyint(x)); }

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

TColor FromChannels(int r, int g, int b) {
  auto clamp = [](int v) { return static_cast<TColor>(std::clamp(v, 0, 255)); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}

}  // namespace

void DrawDropDownGradient(TCanvas& Canvas, TColor Color, TColor ColorTo, bool Horizontal, const TRect& Rect,
                          int Count) {
  const int n = Count == 0 ? 1 : Count;
  const TColor from = ColorToRGB(Color), to = ColorToRGB(ColorTo);
  TRect r = Rect;
  if (Horizontal)
    r.Right -= 1;
  else
    r.Bottom -= 1;
  const double size = static_cast<double>(Horizontal ? r.Width() : r.Height()) / n;
  const int dr = Channel(to, 0) - Channel(from, 0), dg = Channel(to, 8) - Channel(from, 8);
  const int db = Channel(to, 16) - Channel(from, 16);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetWidth(1);
  Canvas.Brush()->SetStyle(bsSolid);
  for (int i = 0; i < n; ++i) {
    const TColor c = FromChannels(Channel(from, 0) + RoundEven(double(i) * dr / n),
                                  Channel(from, 8) + RoundEven(double(i) * dg / n),
                                  Channel(from, 16) + RoundEven(double(i) * db / n));
    Canvas.Pen()->SetColor(c);
    Canvas.Brush()->SetColor(c);
    // Band offsets are 16-bit coordinates.
    const int offset = RoundEven(i * size) & 0xFFFF;
    const int extent = RoundEven(size) + 1;
    if (Horizontal) {
      const int left = r.Left + offset;
      Canvas.Rectangle(left, r.Top, left + extent, r.Bottom);
    } else {
      const int top = r.Top + offset;
      Canvas.Rectangle(r.Left, top, r.Right, top + extent);
    }
  }
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
  if (Percent >= 100) return Color1;
  if (Percent <= 0) return Color2;
  const TColor a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  const double p = Percent / 100.0;
  auto mix = [&](int shift) { return RoundEven(p * Channel(a, shift) + (1 - p) * Channel(b, shift)); };
  return FromChannels(mix(0), mix(8), mix(16));
}

TColor AdjustColorChannels(TColor Color, int DR, int DG, int DB) {
  auto adjust = [](int c, int d) {
    if (c == 0) return std::max(0, d);
    return RoundEven(std::min(100, d + 100) / 100.0 * c);
  };
  const TColor c = ColorToRGB(Color);
  return FromChannels(adjust(Channel(c, 0), DR), adjust(Channel(c, 8), DG), adjust(Channel(c, 16), DB));
}

void DrawGradientBox(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, bool Vertical,
                     int BorderWidth, TColor BorderColor) {
  if (!Canvas) return;
  if (ColorTo != clNone) {
    DrawDropDownGradient(*Canvas, Color, ColorTo, !Vertical, Rect, 80);
  } else if (Color != clNone) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Rect);
  }
  if (BorderColor != clNone && BorderWidth > 0) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(BorderWidth);
    Canvas->Pen()->SetColor(BorderColor);
    Canvas->Rectangle(Rect);
    Canvas->Pen()->SetWidth(1);
  }
}

void DrawImageAndText(TCanvas* Canvas, const TRect& Rect, const QString& Text, int ImageIndex,
                      TCustomImageList* Images) {
  if (!Canvas) return;
  TRect textRect = Rect;
  bool image = false;
  if (ImageIndex >= 0 && Images) {
    Images->Draw(Canvas, Rect.Left + 4, Rect.Top + (Rect.Height() - Images->Height()) / 2, ImageIndex);
    textRect.Left += Images->Width() + 8;
    image = true;
  }
  if (Text.isEmpty()) return;
  Canvas->Brush()->SetStyle(bsClear);
  const unsigned align = image ? DT_LEFT : DT_CENTER;
  Canvas->DrawText(Text, textRect, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void DrawTransparentBitmap(TCanvas& Canvas, TBitmap& Bitmap, TColor BackColor, const TRect& Rect) {
  const int w = Bitmap.Width(), h = Bitmap.Height();
  if (w <= 0 || h <= 0) return;
  TBitmap work(w, h);
  TCanvas* c = work.Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(BackColor);
  c->FillRect(TRect(0, 0, w, h));
  const TColor key = FromQColor(Bitmap.Image().pixelColor(0, 0));
  c->BrushCopy(TRect(0, 0, w, h), &Bitmap, TRect(0, 0, w, h), key);
  Canvas.CopyRect(Rect, c, TRect(0, 0, Rect.Width(), Rect.Height()));
}

TSize GetTextSize(TCanvas& Canvas, const QString& Text) {
  if (Text.isEmpty()) return TSize(0, 0);
  TRect r(0, 0, 1000, 500);
  Canvas.DrawText(Text, r, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
  return TSize(r.Width(), r.Height());
}

void CutTextToWidth(TCanvas& Canvas, const QString& Text, int MaxWidth, QString& Result, bool Ellipsis) {
  Result = Text;
  if (GetTextSize(Canvas, Text).cx <= MaxWidth) return;
  QString s = Text;
  while (!s.isEmpty()) {
    s.chop(1);
    const QString form = Ellipsis ? s + QStringLiteral("...") : s;
    if (GetTextSize(Canvas, form).cx < MaxWidth) {
      Result = form;
      return;
    }
  }
}

void DrawHTMLText(TCanvas& Canvas, const QString& Text, const TRect& Rect, TSize& Size,
                  controls::TPictureContainer* Images, bool Draw, TCustomImageList* ImageList) {
  Size = TSize(0, 0);
  if (Text.isEmpty()) return;
  QString anchor, stripped, focusAnchor, anchorTitle, controlId, controlValue, controlType;
  int xSize = 0, ySize = 0, links = 0, mouseLink = 0;
  TRect hoverRect, controlRect;
  controls::RenderHTMLText(Canvas, Text, Rect, ImageList, 0, 0, -1, -1, 1, false, !Draw, false, false, false,
                           false, true, false, 1.0, clGray, clNone, clNone, clBlue, anchor, stripped, focusAnchor,
                           anchorTitle, xSize, ySize, links, mouseLink, hoverRect, controlRect, controlId,
                           controlValue, controlType, nullptr, Images, nullptr, 0);
  Size = TSize(xSize, ySize);
}

QString CaseAdjusted(const QString& Text, bool CaseSensitive) { return CaseSensitive ? Text : Text.toUpper(); }

}  // namespace dropdown
