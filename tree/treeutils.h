#pragma once
// Drawing helpers the tree's painting, hints, header, drag image and exports share: rectangles, clipping,
// measuring, shortening and wrapping text, the 32-bit blending engine and greyed image drawing.

#include <QString>

#include <cstdint>

#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/region.h"

namespace lazytree {

enum TAlphaBlendMode : uint8_t { abConstant, abPerPixel, abPerPixelTimesConstant, abConstantWithColor };

plat::TRect NormalizedRect(const plat::TRect& R);
// R (logical) becomes the canvas's clip, intersected with Region (device coordinates) when one is given.
void ClipCanvasToRect(plat::TCanvas* Canvas, const plat::TRect& R, const plat::TRegion* Region = nullptr);
// R grows from its top-left corner to the extent of Text drawn with Flags.
void CalcTextRect(plat::TCanvas* Canvas, const QString& Text, plat::TRect& R, unsigned Flags);
// The longest prefix of S that fits Width together with "..." (EllipsisWidth 0: measured), followed by "...";
// S itself when it fits with the ellipsis width to spare; empty when not even the ellipsis fits.
QString ShortenWithEllipsis(plat::TCanvas* Canvas, const QString& S, int Width, int EllipsisWidth = 0);
// Text broken into lines no wider than Bounds (joined by LF); right to left, the first line holds the last words.
QString WrapTextToWidth(plat::TCanvas* Canvas, const QString& Text, const plat::TRect& Bounds, bool RightToLeft,
                        unsigned DrawFormat);
// Blends R of Source's image onto Destination's image at Target (abConstantWithColor: R of the destination with
// the colour passed as Bias). Both canvases must draw on 32-bit images; the rectangle is clipped to both.
void AlphaBlendRect(plat::TCanvas* Source, plat::TCanvas* Destination, const plat::TRect& R,
                    const plat::TPoint& Target, TAlphaBlendMode Mode, int ConstantAlpha, int Bias);
// What image-list drawing expects of a colour (the markers for none and default kept).
uint32_t ColorToImageListRGB(plat::TColor Color);
// Every processor this program runs on has the multimedia instructions the blending once needed.
inline bool CpuHasMMX() { return true; }
void DrawImageOrSaturated(plat::TCustomImageList* ImageList, int Index, plat::TCanvas* Canvas, int X, int Y,
                          plat::TDrawingStyle Style, bool Enabled);
// The image in grey (luminance), keeping its alpha.
void DrawImageSaturated(plat::TCustomImageList* ImageList, plat::TCanvas* Canvas, int X, int Y, int Index);

constexpr uint32_t CLR_NONE = 0xFFFFFFFF;
constexpr uint32_t CLR_DEFAULT = 0xFF000000;

}  // namespace lazytree
