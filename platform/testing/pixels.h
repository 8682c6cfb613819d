// Pixel assertions for painting tests: exact colours at points and over rectangles, colour counts and
// bounding boxes. A failing check prints an ASCII picture of the area around the fault.
#pragma once

#include <string>

#include <QImage>

#include <gtest/gtest.h>

#include "platform/graphics/color.h"
#include "platform/graphics/types.h"

namespace plat {
class TBitmap;
}

namespace plat::testing {

// Use as EXPECT_TRUE(ExpectPixel(img, x, y, clRed)).
::testing::AssertionResult ExpectPixel(const QImage& img, int x, int y, TColor colour);
::testing::AssertionResult ExpectPixel(const TBitmap& bmp, int x, int y, TColor colour);
// Every pixel of r has the colour.
::testing::AssertionResult ExpectRectFilled(const QImage& img, const TRect& r, TColor colour);
::testing::AssertionResult ExpectRectFilled(const TBitmap& bmp, const TRect& r, TColor colour);

// Pixels of the colour inside r (the whole image when r is empty).
int CountColour(const QImage& img, TColor colour, const TRect& r = TRect());
int CountColour(const TBitmap& bmp, TColor colour, const TRect& r = TRect());
// The smallest rectangle holding every pixel of the colour; empty when there is none.
TRect BoundingBox(const QImage& img, TColor colour);
TRect BoundingBox(const TBitmap& bmp, TColor colour);
// The smallest rectangle holding every pixel that is NOT the colour (what was drawn on a plain background).
TRect BoundingBoxExcept(const QImage& img, TColor background);

// One character per pixel of r: '.' for the most frequent colour, then letters in order of appearance,
// followed by a legend "A = 0x0000FF" (TColor values). The pixel at `mark` is shown as '@'.
std::string AsciiDump(const QImage& img, const TRect& r, const TPoint* mark = nullptr);

TColor PixelAt(const QImage& img, int x, int y);

}  // namespace plat::testing
