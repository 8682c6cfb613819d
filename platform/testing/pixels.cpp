#include "platform/testing/pixels.h"

#include <algorithm>
#include <map>
#include <vector>

#include <QString>

#include "platform/graphics/graphic.h"

namespace plat::testing {

namespace {

TRect ImageRect(const QImage& img) { return TRect(0, 0, img.width(), img.height()); }

TRect Around(const QImage& img, const TRect& r) {
  TRect a = r;
  InflateRect(a, 3, 3);
  // Keep dumps readable.
  if (a.Width() > 64) a.Right = a.Left + 64;
  if (a.Height() > 40) a.Bottom = a.Top + 40;
  TRect out;
  IntersectRect(out, a, ImageRect(img));
  return out;
}

std::string Hex(TColor c) {
  return QString::asprintf("0x%06X", unsigned(c)).toStdString();
}

}  // namespace

TColor PixelAt(const QImage& img, int x, int y) {
  return FromQColor(QColor::fromRgb(img.pixel(x, y)));
}

std::string AsciiDump(const QImage& img, const TRect& area, const TPoint* mark) {
  TRect r;
  if (!IntersectRect(r, area, ImageRect(img))) return "(outside the image)\n";
  std::map<TColor, int> counts;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) ++counts[PixelAt(img, x, y)];
  TColor common = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  std::map<TColor, char> symbols;
  std::vector<TColor> order;
  symbols[common] = '.';
  order.push_back(common);
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string out = "  area " + std::to_string(r.Left) + "," + std::to_string(r.Top) + " .. " +
                    std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "\n";
  for (int y = r.Top; y < r.Bottom; ++y) {
    out += "  ";
    for (int x = r.Left; x < r.Right; ++x) {
      TColor c = PixelAt(img, x, y);
      auto it = symbols.find(c);
      if (it == symbols.end()) {
        size_t n = symbols.size() - 1;
        char ch = n < 62 ? letters[n] : '?';
        it = symbols.emplace(c, ch).first;
        order.push_back(c);
      }
      out += (mark && mark->X == x && mark->Y == y) ? '@' : it->second;
    }
    out += "\n";
  }
  for (TColor c : order) out += std::string("  ") + symbols[c] + " = " + Hex(c) + "\n";
  return out;
}

::testing::AssertionResult ExpectPixel(const QImage& img, int x, int y, TColor colour) {
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
    return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is outside the " << img.width() << "x"
                                         << img.height() << " image";
  TColor want = ColorToRGB(colour) & 0xFFFFFF;
  TColor got = PixelAt(img, x, y);
  if (got == want) return ::testing::AssertionSuccess();
  TPoint p(x, y);
  return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << Hex(got) << ", expected "
                                       << Hex(want) << " (marked @)\n"
                                       << AsciiDump(img, Around(img, TRect(x, y, x + 1, y + 1)), &p);
}

::testing::AssertionResult ExpectPixel(const TBitmap& bmp, int x, int y, TColor colour) {
  return ExpectPixel(bmp.Image(), x, y, colour);
}

::testing::AssertionResult ExpectRectFilled(const QImage& img, const TRect& r, TColor colour) {
  TColor want = ColorToRGB(colour) & 0xFFFFFF;
  TRect in;
  IntersectRect(in, r, ImageRect(img));
  if (in != r)
    return ::testing::AssertionFailure() << "rectangle " << r.Left << "," << r.Top << "," << r.Right << ","
                                         << r.Bottom << " is not inside the image";
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      TColor got = PixelAt(img, x, y);
      if (got != want) {
        TPoint p(x, y);
        return ::testing::AssertionFailure()
               << "rectangle " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << " should be "
               << Hex(want) << " but pixel " << x << "," << y << " is " << Hex(got) << " (marked @)\n"
               << AsciiDump(img, Around(img, r), &p);
      }
    }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ExpectRectFilled(const TBitmap& bmp, const TRect& r, TColor colour) {
  return ExpectRectFilled(bmp.Image(), r, colour);
}

int CountColour(const QImage& img, TColor colour, const TRect& area) {
  TRect r = area.IsEmpty() ? ImageRect(img) : area;
  if (!IntersectRect(r, r, ImageRect(img))) return 0;
  TColor want = ColorToRGB(colour) & 0xFFFFFF;
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (PixelAt(img, x, y) == want) ++n;
  return n;
}

int CountColour(const TBitmap& bmp, TColor colour, const TRect& r) { return CountColour(bmp.Image(), colour, r); }

static TRect Box(const QImage& img, TColor colour, bool equal) {
  TColor want = ColorToRGB(colour) & 0xFFFFFF;
  int l = img.width(), t = img.height(), r = -1, b = -1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((PixelAt(img, x, y) == want) == equal) {
        l = std::min(l, x);
        t = std::min(t, y);
        r = std::max(r, x);
        b = std::max(b, y);
      }
  if (r < 0) return TRect();
  return TRect(l, t, r + 1, b + 1);
}

TRect BoundingBox(const QImage& img, TColor colour) { return Box(img, colour, true); }
TRect BoundingBox(const TBitmap& bmp, TColor colour) { return Box(bmp.Image(), colour, true); }
TRect BoundingBoxExcept(const QImage& img, TColor background) { return Box(img, background, false); }

}  // namespace plat::testing
