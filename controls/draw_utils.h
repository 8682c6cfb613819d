#pragma once
// Drawing and colour routines of the grid family: selection boxes, gradients, gauges, cell shapes, button glyphs,
// an error underline and small colour computations. No state; every routine draws on the given canvas and
// leaves its brush, pen and font changed. clNone means "no colour" everywhere.

#include <QImage>
#include <QString>

#include <cstdint>

#include "controls/theme_services.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/color.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/types.h"

namespace plat {
class TBitmap;
}

namespace controls {

enum TCellShape {
  csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond, csLineVert,
  csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp, csArrowDown, csArrowLeft,
  csArrowRight, csHalfStar
};

enum TGradientDirection { gdHorizontal, gdVertical };

struct GaugeAppearance {
  plat::TColor Level0Color = plat::clLime, Level0ColorTo = plat::clLime;
  plat::TColor Level1Color = plat::clYellow, Level1ColorTo = plat::clYellow;
  plat::TColor Level2Color = plat::RGB(255, 128, 0), Level2ColorTo = plat::RGB(255, 128, 0);
  plat::TColor Level3Color = plat::clRed, Level3ColorTo = plat::clRed;
  int Level1Perc = 70;
  int Level2Perc = 90;
  plat::TColor BorderColor = plat::clBlack;
  bool ShowBorder = true;
  bool Stacked = false;
  bool ShowPercentage = false;
  const plat::TFont* Font = nullptr;  // not owned; none: the canvas font
  plat::TColor PercentFontColor = plat::clBlack;
  bool CompletionSmooth = true;
  bool ShowGradient = false;
  int Steps = 8;
  plat::TColor BackgroundColor = plat::clWhite;
  bool Vertical = false;
};

// ---- colour computations -------------------------------------------------------------------------------------

plat::TColor DarkenColorHalf(plat::TColor Color);
// Each channel c + Percent * c / 100, rounded half to even and limited to 0..255.
plat::TColor ChangeColorPercent(plat::TColor Color, int Percent);
// ToColor clNone, or Max equal to Min: FromColor.
plat::TColor InterpolateColorAt(plat::TColor FromColor, plat::TColor ToColor, int Min, int Max, int Offset);
// "RRGGBB" of the stored value (system colours are not resolved).
QString ColorToHTMLHex(plat::TColor Color);

// ---- canvas painters ---------------------------------------------------------------------------------------

void FillGradientBands(plat::TCanvas& Canvas, plat::TColor FromColor, plat::TColor ToColor, int Steps,
                       plat::TRect Rect, bool Horizontal);
void FillGradientBox(plat::TCanvas& Canvas, plat::TRect Rect, plat::TColor Color, plat::TColor ColorTo,
                     plat::TColor ColorMirror, plat::TColor ColorMirrorTo, TGradientDirection Direction,
                     plat::TColor BorderColor, bool SidesOnly, bool Fill);
// Join: 0 both side edges, 1 left edge only, 2 right edge only, 3 none, 4 none but both insets kept.
void DrawRoundedSelection(plat::TCanvas& Canvas, plat::TColor Color, plat::TColor ColorTo, plat::TColor ColorMirror,
                          plat::TColor ColorMirrorTo, plat::TColor InnerTopColor, plat::TColor InnerBottomColor,
                          plat::TColor BorderColor, plat::TColor CornerColor, plat::TColor OuterCornerColor,
                          plat::TRect Rect, int Join);
void FillRectColor(plat::TCanvas& Canvas, const plat::TRect& Rect, plat::TColor Color);
// Count bands (0 counts as 1) across Rect, the first in Color and the last in ColorTo, each channel stepped
// linearly and rounded per band; horizontal bands follow each other from left to right.
void DrawDropDownGradient(plat::TCanvas& Canvas, plat::TColor Color, plat::TColor ColorTo, int Count,
                          const plat::TRect& Rect, TGradientDirection Direction);
void DrawSmallDownArrow(plat::TCanvas& Canvas, int X, int Y, plat::TColor Color);
// The bitmap's top-left colour shows BackColor; drawn at Rect's top-left in the bitmap's size.
void DrawBitmapOnColor(plat::TCanvas& Canvas, plat::TBitmap& Bitmap, plat::TColor BackColor, const plat::TRect& Rect);
// Bitmaps of the program's resources: those registered by name (letter case ignored) first, then
// ":/<Name>" (also with ".bmp" or ".png"); a null image when missing.
void RegisterResourceImage(const QString& Name, const QImage& Image);
QImage ResourceImage(const QString& Name);
// A bitmap of the program's resources; nothing when missing.
void DrawResourceBitmap(plat::TCanvas& Canvas, plat::TColor BackColor, const plat::TRect& Rect, const QString& ResName);
void DrawLinearGauge(plat::TCanvas& Canvas, plat::TRect Rect, plat::TColor Color, plat::TColor FontColor,
                     plat::TColor RestColor, plat::TColor RestFontColor, double Value, int MarginX, int MarginY,
                     int Min, int Max, const QString& Format, plat::TColor BorderColor, bool Inverted);
void PaintThresholdGauge(plat::TCanvas& Canvas, plat::TRect Rect, int Percent, GaugeAppearance Appearance);
void DrawPieGauge(plat::TCanvas& Canvas, const plat::TRect& Rect, plat::TColor Color, int Percent, bool Inverted);
// Max of 0 draws nothing.
void DrawSignedBar(plat::TCanvas& Canvas, plat::TRect Rect, int Value, int Max, bool ShowValue, plat::TColor NegColor,
                   plat::TColor PosColor);
void PaintCellShape(plat::TCanvas& Canvas, int X, int Y, int Width, int Height, TCellShape Shape,
                    plat::TColor BrushColor, plat::TColor PenColor);
// Red zig-zag under characters ErrFrom (0-based) .. ErrFrom + ErrLen - 1 of Text as a one-line edit in Rect
// shows them with the canvas font.
void DrawErrorUnderline(plat::TCanvas& Canvas, const QString& Text, const plat::TRect& Rect, int Offset, int ErrFrom,
                        int ErrLen);
// Character position in a one-line edit: x of the left edge of character Index (0-based) in the canvas font.
plat::TPoint EditCharPosition(plat::TCanvas& Canvas, const QString& Text, int Index);

// Look: 0 themed, 1 classic frame control, 2 flat frame control, 3 tones. State: 0 normal, 1 hot, 2 down,
// 3 disabled. Themed drawing falls back to the classic look while styles are off.
void PaintDropDownButton(plat::TCanvas& Canvas, TThemeWindow ThemeWindow, const plat::TRect& Rect,
                         const TColorTones& Tones, int State, int Look);
// A theme part through the editors' theme table; False (nothing drawn) while styles are off.
bool PaintThemePart(plat::TCanvas& Canvas, TThemeWindow ThemeWindow, const char* ThemeClass, int Part, int State,
                   const plat::TRect& Rect);
void PaintPushButtonFace(plat::TCanvas& Canvas, TThemeWindow ThemeWindow, const plat::TRect& Rect,
                         const TColorTones& Tones, int State, int Look);
void PaintSpinButtonPair(plat::TCanvas& Canvas, TThemeWindow ThemeWindow, const plat::TRect& Rect,
                         const TColorTones& Tones, int State, int Look);

// ---- window routines (translucent windows are always available here) ---------------------------------------

bool UpdateLayeredWindowDyn(TThemeWindow Wnd, const void* DstDC, const plat::TPoint* DstPos,
                            const plat::TSize* Size, const void* SrcDC, const plat::TPoint* SrcPos,
                            plat::TColor Key, const void* Blend, std::uint32_t Flags);
bool SetLayeredWindowAttributesDyn(TThemeWindow Wnd, plat::TColor Key, std::uint8_t Alpha, std::uint32_t Flags);

}  // namespace controls
