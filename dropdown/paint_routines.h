#pragma once
// The painting routines the drop-downs share: band gradients, colour blending, gradient boxes, an image with
// a caption, transparent bitmaps, text measuring and cutting, and mini-HTML captions. Plain functions with no
// state; each leaves the canvas's pen, brush and font changed. Real values go to the nearest integer, a tie
// to the even one.

#include <QString>

#include "platform/graphics/color.h"
#include "platform/graphics/types.h"

namespace plat {
class TCanvas;
class TBitmap;
class TCustomImageList;
}  // namespace plat

namespace controls {
class TPictureContainer;
}

namespace dropdown {

// Count bands (0 counts as 1) across Rect from Color towards ColorTo: band n has Color plus, per channel,
// round(n * (ColorTo - Color) / Count). Horizontal: bands left to right over Rect less its last column;
// otherwise top to bottom over Rect less its last row. Each band is N(S) + 1 wide, S = extent / Count.
void DrawDropDownGradient(plat::TCanvas& Canvas, plat::TColor Color, plat::TColor ColorTo, bool Horizontal,
                          const plat::TRect& Rect, int Count);
// Percent % of Color1 and the rest of Color2, per channel; 100 or more gives Color1, 0 or less Color2.
plat::TColor BlendColor(plat::TColor Color1, plat::TColor Color2, int Percent);
// Per channel: a non-zero channel scaled by min(100, D + 100) %, a zero channel max(0, D).
plat::TColor AdjustColorChannels(plat::TColor Color, int DR, int DG, int DB);
// Vertical is true for bands from top to bottom. ColorTo clNone: a plain fill in Color (none for clNone too).
void DrawGradientBox(plat::TCanvas* Canvas, const plat::TRect& Rect, plat::TColor Color, plat::TColor ColorTo,
                     bool Vertical, int BorderWidth, plat::TColor BorderColor);
void DrawImageAndText(plat::TCanvas* Canvas, const plat::TRect& Rect, const QString& Text, int ImageIndex,
                      plat::TCustomImageList* Images);
// The bitmap with its top-left colour see-through, over BackColor, copied to Rect.
void DrawTransparentBitmap(plat::TCanvas& Canvas, plat::TBitmap& Bitmap, plat::TColor BackColor,
                           const plat::TRect& Rect);
plat::TSize GetTextSize(plat::TCanvas& Canvas, const QString& Text);
// The longest form of Text (shortened from the end, "..." added with Ellipsis) narrower than MaxWidth; Text
// itself when it fits or when no form does.
void CutTextToWidth(plat::TCanvas& Canvas, const QString& Text, int MaxWidth, QString& Result, bool Ellipsis);
// Renders (Draw) or measures mini-HTML Text in Rect; Size gets the rendered width and height.
void DrawHTMLText(plat::TCanvas& Canvas, const QString& Text, const plat::TRect& Rect, plat::TSize& Size,
                  controls::TPictureContainer* Images, bool Draw, plat::TCustomImageList* ImageList);
QString CaseAdjusted(const QString& Text, bool CaseSensitive);

}  // namespace dropdown
