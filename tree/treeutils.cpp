#include "tree/treeutils.h"

#include <QImage>
#include <QStringList>

#include <algorithm>
#include <utility>

#include "platform/graphics/drawtext.h"
#include "tree/lazytypes.h"

namespace lazytree {

using namespace plat;

TRect NormalizedRect(const TRect& R) {
  return TRect(std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
               std::max(R.Top, R.Bottom));
}

void ClipCanvasToRect(TCanvas* Canvas, const TRect& R, const TRegion* Region) {
  TRegion clip(Canvas->LogicalToDevice(R));
  if (Region) clip = clip.Combined(*Region, RGN_AND);
  Canvas->SelectClipRgn(&clip);
}

void CalcTextRect(TCanvas* Canvas, const QString& Text, TRect& R, unsigned Flags) {
  R.Right = R.Left + 1;
  R.Bottom = R.Top + 1;
  Canvas->DrawText(Text, R, Flags | DT_CALCRECT);
}

QString ShortenWithEllipsis(TCanvas* Canvas, const QString& S, int Width, int EllipsisWidth) {
  if (S.isEmpty() || Width <= 0) return {};
  const QString ellipsis = QStringLiteral("...");
  if (EllipsisWidth == 0) EllipsisWidth = Canvas->TextWidth(ellipsis);
  int low = 0, high = static_cast<int>(S.size());
  while (low < high) {
    const int probe = (low + high + 1) / 2;
    if (Canvas->TextWidth(S.left(probe)) + EllipsisWidth <= Width)
      low = probe;
    else
      high = probe - 1;
  }
  if (low == S.size()) return S;
  return EllipsisWidth < Width ? S.left(low) + ellipsis : QString();
}

namespace {

int ExtentOf(TCanvas* Canvas, const QString& S, unsigned Format) {
  TRect r;
  CalcTextRect(Canvas, S, r, Format);
  return r.Width();
}

// A word too wide for a line of its own: the longest part (a prefix, or a suffix right to left) of at least one
// character that fits, tried from its length minus one down.
std::pair<QString, QString> SplitWord(TCanvas* Canvas, const QString& Word, int Width, bool RightToLeft,
                                      unsigned Format) {
  if (Word.size() <= 1) return {Word, {}};
  for (qsizetype n = Word.size() - 1; n >= 1; --n) {
    const QString part = RightToLeft ? Word.right(n) : Word.left(n);
    if (n == 1 || ExtentOf(Canvas, part, Format) <= Width) {
      const QString rest = RightToLeft ? Word.left(Word.size() - n) : Word.mid(n);
      return {part, rest};
    }
  }
  return {Word, {}};
}

}  // namespace

QString WrapTextToWidth(TCanvas* Canvas, const QString& Text, const TRect& Bounds, bool RightToLeft,
                        unsigned DrawFormat) {
  const QString s = Text.trimmed();
  if (s.isEmpty()) return {};
  QStringList words = s.split(QLatin1Char(' '));
  if (RightToLeft) std::reverse(words.begin(), words.end());
  const int width = Bounds.Width();
  QString result, line;
  for (qsizetype i = 0; i < words.size();) {
    QString word = words[i];
    const QString candidate = line.isEmpty() ? word
                              : RightToLeft  ? word + QLatin1Char(' ') + line
                                             : line + QLatin1Char(' ') + word;
    if (ExtentOf(Canvas, candidate, DrawFormat) <= width) {
      line = candidate;
      ++i;
      continue;
    }
    if (line.isEmpty()) {
      auto [part, rest] = SplitWord(Canvas, word, width, RightToLeft, DrawFormat);
      result += part + QLatin1Char('\n');
      if (rest.isEmpty())
        ++i;
      else
        words[i] = rest;
      continue;
    }
    result += line + QLatin1Char('\n');
    line.clear();
  }
  if (!line.isEmpty()) result += line + QLatin1Char('\n');
  result.chop(1);
  return result;
}

namespace {

QImage* BlendImage(TCanvas* Canvas) {
  QImage* image = Canvas ? Canvas->Image() : nullptr;
  if (!image || image->isNull()) throw ELazyTreeAssertion("Alpha blending DC error: no bitmap available.");
  if (image->depth() != 32) throw ELazyTreeAssertion("Alpha blending error: bitmap must use 32 bpp.");
  return image;
}

inline uint8_t Mix(int s, int d, int alpha, int bias) {
  const int t = (s * alpha + d * (256 - alpha)) >> 8;
  return static_cast<uint8_t>(std::clamp(t + bias, 0, 255));
}

// One row of Count pixels, every channel (blue, green, red, alpha) alike.
void BlendLine(const uint8_t* src, uint8_t* dst, int count, TAlphaBlendMode mode, int constantAlpha, int bias) {
  for (int i = 0; i < count; ++i, src += 4, dst += 4) {
    int alpha = constantAlpha;
    if (mode == abPerPixel) alpha = src[3];
    if (mode == abPerPixelTimesConstant) alpha = (src[3] * constantAlpha) >> 8;
    for (int c = 0; c < 4; ++c) dst[c] = Mix(src[c], dst[c], alpha, bias);
  }
}

}  // namespace

void AlphaBlendRect(TCanvas* Source, TCanvas* Destination, const TRect& R, const TPoint& Target,
                    TAlphaBlendMode Mode, int ConstantAlpha, int Bias) {
  if (R.IsEmpty()) return;
  QImage* dst = BlendImage(Destination);
  if (Mode == abConstantWithColor) {
    const TColor rgb = ColorToRGB(static_cast<TColor>(Bias));
    const uint8_t colour[4] = {static_cast<uint8_t>((rgb >> 16) & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                               static_cast<uint8_t>(rgb & 0xFF), 0};
    const int left = std::max(R.Left, 0), right = std::min(R.Right, dst->width());
    for (int y = std::max(R.Top, 0); y < std::min(R.Bottom, dst->height()); ++y) {
      uint8_t* row = dst->scanLine(y) + 4 * left;
      // A colour has no coverage of its own: the pixel keeps its alpha (an opaque target stays opaque).
      for (int x = left; x < right; ++x, row += 4) {
        const uint8_t alpha = row[3];
        BlendLine(colour, row, 1, abConstant, ConstantAlpha, 0);
        row[3] = alpha;
      }
    }
    return;
  }
  QImage* src = BlendImage(Source);
  // Clipped to both images: a rectangle reaching past either would read or write outside its pixels.
  int left = R.Left, top = R.Top, right = R.Right, bottom = R.Bottom;
  int tx = Target.X, ty = Target.Y;
  auto cut = [](int& a, int& b, int& target, int srcLimit, int dstLimit) {
    if (a < 0) { target -= a; a = 0; }
    if (target < 0) { a -= target; target = 0; }
    b = std::min({b, srcLimit, a + (dstLimit - target)});
  };
  cut(left, right, tx, src->width(), dst->width());
  cut(top, bottom, ty, src->height(), dst->height());
  const int count = right - left;
  if (count <= 0) return;
  for (int y = top; y < bottom; ++y)
    BlendLine(src->constScanLine(y) + 4 * left, dst->scanLine(ty + (y - top)) + 4 * tx, count, Mode, ConstantAlpha,
              Bias);
}

uint32_t ColorToImageListRGB(TColor Color) {
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return static_cast<uint32_t>(ColorToRGB(Color));
}

void DrawImageOrSaturated(TCustomImageList* ImageList, int Index, TCanvas* Canvas, int X, int Y,
                          TDrawingStyle Style, bool Enabled) {
  if (Enabled)
    ImageList->Draw(Canvas, X, Y, Index, Style, itImage, true);
  else
    DrawImageSaturated(ImageList, Canvas, X, Y, Index);
}

void DrawImageSaturated(TCustomImageList* ImageList, TCanvas* Canvas, int X, int Y, int Index) {
  QImage image = ImageList->GetImage(Index);
  if (image.isNull()) return;
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int g = qGray(p[x]);
      p[x] = qRgba(g, g, g, qAlpha(p[x]));
    }
  }
  Canvas->DrawImage(Bounds(X, Y, image.width(), image.height()), image, Rect(0, 0, image.width(), image.height()),
                    cmSrcCopy);
}

}  // namespace lazytree
