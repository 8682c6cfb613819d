#pragma once
// The images the tree draws its expand buttons and connector lines with: six button bitmaps (plus, minus, and
// their hot and selected-hot forms) in the chosen button style and fill, and the 8 x 8 line pattern whose dots
// continue from row to row.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include <QImage>

#include "platform/graphics/color.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/region.h"

namespace lazytree {

// Rows of 16-bit words, as the pattern brush takes them: a 0 bit is drawn in the line colour, a 1 bit in the
// background colour.
using TLinePattern = std::array<uint16_t, 8>;
constexpr TLinePattern DottedLinePattern{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
constexpr TLinePattern SolidLinePattern{0, 0, 0, 0, 0, 0, 0, 0};

// The 8 x 8 pattern in colours: Line for 0 bits, Background for 1 bits.
QImage PatternImage(const TLinePattern& Pattern, plat::TColor Line, plat::TColor Background);

struct TButtonImages {
  int Size = 9;
  std::unique_ptr<plat::TBitmap> Plus, PlusHot, PlusSelectedHot, Minus, MinusHot, MinusSelectedHot;
};

// What the button shapes are drawn with.
struct TButtonLook {
  bool Triangle = false;        // bsTriangle, else a rectangle
  int FillMode = 0;             // fmTreeColor, fmWindowColor, fmShaded, fmTransparent
  bool Themed = false;          // the style draws the glyphs
  plat::TColor Background = plat::clWindow;
  plat::TColor TreeLine = plat::clBtnShadow;
  plat::TColor NodeFont = plat::clWindowText;
};

// Builds the six bitmaps; Prepare, when set, draws them instead (all six prepared empty and transparent; it may
// change the size).
void BuildButtonImages(TButtonImages& Images, const TButtonLook& Look,
                       const std::function<void(TButtonImages& Images, int& Size)>& Prepare = nullptr);

// The wheel-panning window's shape: every run of pixels that are not fuchsia, row by row.
plat::TRegion PanningImageRegion(const QImage& Image);

}  // namespace lazytree
