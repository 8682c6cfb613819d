// The colour picker's texts for a colour: the web colour names and the hexadecimal, RGB and HTML forms.
#include <QStringList>

#include <array>
#include <cstdint>

#include "dropdown/color_picker.h"
#include "platform/graphics/color.h"

namespace dropdown {

using namespace plat;

namespace {

struct TWebColor {
  const char* Ident;
  std::uint32_t Css;  // the CSS value, 0xRRGGBB
};

// The CSS colour keywords, each named with the prefix clWeb; no two share a value.
constexpr TWebColor WebColors[] = {
      {"clWebSnow", 0xFFFAFA},
      {"clWebFloralWhite", 0xFFFAF0},
      {"clWebLavenderBlush", 0xFFF0F5},
      {"clWebOldLace", 0xFDF5E6},
      {"clWebIvory", 0xFFFFF0},
      {"clWebCornSilk", 0xFFF8DC},
      {"clWebBeige", 0xF5F5DC},
      {"clWebAntiqueWhite", 0xFAEBD7},
      {"clWebWheat", 0xF5DEB3},
      {"clWebAliceBlue", 0xF0F8FF},
      {"clWebGhostWhite", 0xF8F8FF},
      {"clWebLavender", 0xE6E6FA},
      {"clWebSeashell", 0xFFF5EE},
      {"clWebLightYellow", 0xFFFFE0},
      {"clWebPapayaWhip", 0xFFEFD5},
      {"clWebNavajoWhite", 0xFFDEAD},
      {"clWebMoccasin", 0xFFE4B5},
      {"clWebBurlywood", 0xDEB887},
      {"clWebAzure", 0xF0FFFF},
      {"clWebMintcream", 0xF5FFFA},
      {"clWebHoneydew", 0xF0FFF0},
      {"clWebLinen", 0xFAF0E6},
      {"clWebLemonChiffon", 0xFFFACD},
      {"clWebBlanchedAlmond", 0xFFEBCD},
      {"clWebBisque", 0xFFE4C4},
      {"clWebPeachPuff", 0xFFDAB9},
      {"clWebTan", 0xD2B48C},
      {"clWebYellow", 0xFFFF00},
      {"clWebDarkOrange", 0xFF8C00},
      {"clWebRed", 0xFF0000},
      {"clWebDarkRed", 0x8B0000},
      {"clWebMaroon", 0x800000},
      {"clWebIndianRed", 0xCD5C5C},
      {"clWebSalmon", 0xFA8072},
      {"clWebCoral", 0xFF7F50},
      {"clWebGold", 0xFFD700},
      {"clWebTomato", 0xFF6347},
      {"clWebCrimson", 0xDC143C},
      {"clWebBrown", 0xA52A2A},
      {"clWebChocolate", 0xD2691E},
      {"clWebSandyBrown", 0xF4A460},
      {"clWebLightSalmon", 0xFFA07A},
      {"clWebLightCoral", 0xF08080},
      {"clWebOrange", 0xFFA500},
      {"clWebOrangeRed", 0xFF4500},
      {"clWebFirebrick", 0xB22222},
      {"clWebSaddleBrown", 0x8B4513},
      {"clWebSienna", 0xA0522D},
      {"clWebPeru", 0xCD853F},
      {"clWebDarkSalmon", 0xE9967A},
      {"clWebRosyBrown", 0xBC8F8F},
      {"clWebPaleGoldenrod", 0xEEE8AA},
      {"clWebLightGoldenrodYellow", 0xFAFAD2},
      {"clWebOlive", 0x808000},
      {"clWebForestGreen", 0x228B22},
      {"clWebGreenYellow", 0xADFF2F},
      {"clWebChartreuse", 0x7FFF00},
      {"clWebLightGreen", 0x90EE90},
      {"clWebAquamarine", 0x7FFFD4},
      {"clWebSeaGreen", 0x2E8B57},
      {"clWebGoldenRod", 0xDAA520},
      {"clWebKhaki", 0xF0E68C},
      {"clWebOliveDrab", 0x6B8E23},
      {"clWebGreen", 0x008000},
      {"clWebYellowGreen", 0x9ACD32},
      {"clWebLawnGreen", 0x7CFC00},
      {"clWebPaleGreen", 0x98FB98},
      {"clWebMediumAquamarine", 0x66CDAA},
      {"clWebMediumSeaGreen", 0x3CB371},
      {"clWebDarkGoldenRod", 0xB8860B},
      {"clWebDarkKhaki", 0xBDB76B},
      {"clWebDarkOliveGreen", 0x556B2F},
      {"clWebDarkgreen", 0x006400},
      {"clWebLimeGreen", 0x32CD32},
      {"clWebLime", 0x00FF00},
      {"clWebSpringGreen", 0x00FF7F},
      {"clWebMediumSpringGreen", 0x00FA9A},
      {"clWebDarkSeaGreen", 0x8FBC8F},
      {"clWebLightSeaGreen", 0x20B2AA},
      {"clWebPaleTurquoise", 0xAFEEEE},
      {"clWebLightCyan", 0xE0FFFF},
      {"clWebLightBlue", 0xADD8E6},
      {"clWebLightSkyBlue", 0x87CEFA},
      {"clWebCornFlowerBlue", 0x6495ED},
      {"clWebDarkBlue", 0x00008B},
      {"clWebIndigo", 0x4B0082},
      {"clWebMediumTurquoise", 0x48D1CC},
      {"clWebTurquoise", 0x40E0D0},
      {"clWebCyan", 0x00FFFF},
      {"clWebPowderBlue", 0xB0E0E6},
      {"clWebSkyBlue", 0x87CEEB},
      {"clWebRoyalBlue", 0x4169E1},
      {"clWebMediumBlue", 0x0000CD},
      {"clWebMidnightBlue", 0x191970},
      {"clWebDarkTurquoise", 0x00CED1},
      {"clWebCadetBlue", 0x5F9EA0},
      {"clWebDarkCyan", 0x008B8B},
      {"clWebTeal", 0x008080},
      {"clWebDeepskyBlue", 0x00BFFF},
      {"clWebDodgerBlue", 0x1E90FF},
      {"clWebBlue", 0x0000FF},
      {"clWebNavy", 0x000080},
      {"clWebDarkViolet", 0x9400D3},
      {"clWebDarkOrchid", 0x9932CC},
      {"clWebMagenta", 0xFF00FF},
      {"clWebDarkMagenta", 0x8B008B},
      {"clWebMediumVioletRed", 0xC71585},
      {"clWebPaleVioletRed", 0xDB7093},
      {"clWebBlueViolet", 0x8A2BE2},
      {"clWebMediumOrchid", 0xBA55D3},
      {"clWebMediumPurple", 0x9370DB},
      {"clWebPurple", 0x800080},
      {"clWebDeepPink", 0xFF1493},
      {"clWebLightPink", 0xFFB6C1},
      {"clWebViolet", 0xEE82EE},
      {"clWebOrchid", 0xDA70D6},
      {"clWebPlum", 0xDDA0DD},
      {"clWebThistle", 0xD8BFD8},
      {"clWebHotPink", 0xFF69B4},
      {"clWebPink", 0xFFC0CB},
      {"clWebLightSteelBlue", 0xB0C4DE},
      {"clWebMediumSlateBlue", 0x7B68EE},
      {"clWebLightSlateGray", 0x778899},
      {"clWebWhite", 0xFFFFFF},
      {"clWebLightgrey", 0xD3D3D3},
      {"clWebGray", 0x808080},
      {"clWebSteelBlue", 0x4682B4},
      {"clWebSlateBlue", 0x6A5ACD},
      {"clWebSlateGray", 0x708090},
      {"clWebWhiteSmoke", 0xF5F5F5},
      {"clWebSilver", 0xC0C0C0},
      {"clWebDimGray", 0x696969},
      {"clWebMistyRose", 0xFFE4E1},
      {"clWebDarkSlateBlue", 0x483D8B},
      {"clWebDarkSlategray", 0x2F4F4F},
      {"clWebGainsboro", 0xDCDCDC},
      {"clWebDarkGray", 0xA9A9A9},
      {"clWebBlack", 0x000000},
};
static_assert(std::size(WebColors) == 138);

constexpr TColor FromCss(std::uint32_t Css) {
  return RGB(int((Css >> 16) & 0xFF), int((Css >> 8) & 0xFF), int(Css & 0xFF));
}

QString TwoHex(int Byte) { return QStringLiteral("%1").arg(Byte, 2, 16, QLatin1Char('0')).toUpper(); }

QString HtmlText(TColor Rgb) {
  return QLatin1Char('#') + TwoHex(GetRValue(Rgb)) + TwoHex(GetGValue(Rgb)) + TwoHex(GetBValue(Rgb));
}

}  // namespace

int WebColorCount() { return static_cast<int>(std::size(WebColors)); }

QString WebColorIdent(int Index) {
  return Index >= 0 && Index < WebColorCount() ? QString::fromLatin1(WebColors[Index].Ident) : QString();
}

TColor WebColorValue(int Index) {
  return Index >= 0 && Index < WebColorCount() ? FromCss(WebColors[Index].Css) : clNone;
}

QString WebColorName(TColor Color) {
  if (Color == clNone || Color == clDefault) return QString();
  const TColor rgb = ColorToRGB(Color);
  for (const TWebColor& web : WebColors)
    if (FromCss(web.Css) == rgb) return QString::fromLatin1(web.Ident);
  return QString();
}

QString ColorValueAsText(TColor Color, TColorValueText Kind) {
  const TColor rgb = ColorToRGB(Color);
  switch (Kind) {
    case cvtNone: return QString();
    case cvtHex:
      // The stored value as it stands: a system colour keeps its marker byte (eight digits).
      return QStringLiteral("%1").arg(static_cast<std::uint32_t>(Color), 6, 16, QLatin1Char('0')).toUpper();
    case cvtWebName: {
      const QString name = WebColorName(Color);
      return name.isEmpty() ? HtmlText(rgb) : name;
    }
    case cvtRGB:
      return QStringLiteral("Red:%1,Green:%2,Blue:%3").arg(GetRValue(rgb)).arg(GetGValue(rgb)).arg(GetBValue(rgb));
    case cvtHTML: return HtmlText(rgb);
  }
  return QString();
}

}  // namespace dropdown
