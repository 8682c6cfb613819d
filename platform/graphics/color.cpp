#include "platform/graphics/color.h"

#include <array>

namespace plat {

namespace {

constexpr std::array<TColor, COLOR_ENDCOLORS + 1> kDefaultSystemColors = {
    RGB(0xC8, 0xC8, 0xC8),  // scroll bar
    RGB(0x00, 0x00, 0x00),  // desktop
    RGB(0x99, 0xB4, 0xD1),  // active caption
    RGB(0xBF, 0xCD, 0xDB),  // inactive caption
    RGB(0xF0, 0xF0, 0xF0),  // menu
    RGB(0xFF, 0xFF, 0xFF),  // window
    RGB(0x64, 0x64, 0x64),  // window frame
    RGB(0x00, 0x00, 0x00),  // menu text
    RGB(0x00, 0x00, 0x00),  // window text
    RGB(0x00, 0x00, 0x00),  // caption text
    RGB(0xB4, 0xB4, 0xB4),  // active border
    RGB(0xF4, 0xF7, 0xFC),  // inactive border
    RGB(0xAB, 0xAB, 0xAB),  // application work space
    RGB(0x33, 0x99, 0xFF),  // highlight
    RGB(0xFF, 0xFF, 0xFF),  // highlight text
    RGB(0xF0, 0xF0, 0xF0),  // button face
    RGB(0xA0, 0xA0, 0xA0),  // button shadow
    RGB(0x6D, 0x6D, 0x6D),  // grey text
    RGB(0x00, 0x00, 0x00),  // button text
    RGB(0x43, 0x4E, 0x54),  // inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // button highlight
    RGB(0x69, 0x69, 0x69),  // 3-D dark shadow
    RGB(0xE3, 0xE3, 0xE3),  // 3-D light
    RGB(0x00, 0x00, 0x00),  // info text
    RGB(0xFF, 0xFF, 0xE1),  // info background
    RGB(0x00, 0x00, 0x00),  // (unused)
    RGB(0x00, 0x66, 0xCC),  // hot-tracked item
    RGB(0xB9, 0xD1, 0xEA),  // active caption gradient
    RGB(0xD7, 0xE4, 0xF2),  // inactive caption gradient
    RGB(0x33, 0x99, 0xFF),  // menu highlight
    RGB(0xF0, 0xF0, 0xF0),  // menu bar
};

std::array<TColor, COLOR_ENDCOLORS + 1>& Table() {
  static std::array<TColor, COLOR_ENDCOLORS + 1> table = kDefaultSystemColors;
  return table;
}

}  // namespace

TColor SetSystemColor(int index, TColor rgb) {
  if (index < 0 || index > COLOR_ENDCOLORS) return clBlack;
  TColor old = Table()[index];
  Table()[index] = TColor(std::uint32_t(rgb) & 0xFFFFFF);
  return old;
}

TColor GetSysColor(int index) {
  if (index < 0 || index > COLOR_ENDCOLORS) return clBlack;
  return Table()[index];
}

void ResetSystemColors() { Table() = kDefaultSystemColors; }

TColor ColorToRGB(TColor c) {
  if (IsSystemColor(c)) return GetSysColor(int(std::uint32_t(c) & 0xFF));
  return c;
}

QColor ToQColor(TColor c) {
  if (c == clNone) return QColor(0, 0, 0, 0);
  TColor rgb = ColorToRGB(c) & 0xFFFFFF;
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

}  // namespace plat
