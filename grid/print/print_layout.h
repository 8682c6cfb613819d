#pragma once
// Layout routines that the grid's painting, its editing and its exports share with the print engine.

#include <QString>

#include "platform/graphics/types.h"

namespace grid {

class TGridDataHost;

// A font's height in tenths of a millimetre for a size in points (negative: the character height, as fonts
// take it), scaled by the print's font scale; and back.
int MapFontHeight(int PointSize, double FontScale = 1.0);
int MapFontSize(int Height);

// Where rotated text starts so that its box of Extent (the unrotated text's width and height) sits in Rect,
// turned counter-clockwise by Angle degrees, aligned by HAlign (0 left, 1 right, 2 centre) and VAlign (0 top,
// 1 centre, 2 bottom). Rect is in pixels with y down; the rectangle is first shrunk by 2 on each side.
plat::TPoint AlignRotatedText(const plat::TRect& Rect, plat::TSize Extent, int Angle, int HAlign, int VAlign,
                              bool Shrink = true);

// The longest line, in characters, of a column's export texts over all rows (real column).
int MaxColTextLength(TGridDataHost& Host, int ACol);

}  // namespace grid
