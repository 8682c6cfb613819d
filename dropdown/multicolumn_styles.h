#pragma once
// The list colours the component styles give to the multi-column and grid drop-downs: header gradient and
// font, grid lines, selection style and colours, selected text.

#include "controls/theme_services.h"
#include "dropdown/ext_dropdown.h"
#include "platform/graphics/color.h"

namespace dropdown::multicolumn {

struct TListStyleColors {
  plat::TColor HeaderColor = plat::clNone, HeaderColorTo = plat::clNone;
  // clNone: the style leaves the header font colour as it is.
  plat::TColor HeaderFontColor = plat::clNone;
  plat::TColor LineColor = plat::clNone, FixedLineColor = plat::clNone;
  TSelectionColorStyle SelectionStyle = scCustom;
  // Only for scCustom: the selection colour pair (the other styles take theirs from the selection style).
  plat::TColor SelectionColor = plat::clNone, SelectionColorTo = plat::clNone;
  plat::TColor SelectionTextColor = plat::clBlack;
};

// The colours of a style; false for tsCustom, which changes nothing.
bool ListStyleColors(controls::TExtStyle Style, TListStyleColors& Colors);

// The grid lines a selection style brings (LineColor, FixedLineColor); false for scCustom.
bool SelectionStyleLines(TSelectionColorStyle Style, plat::TColor& LineColor, plat::TColor& FixedLineColor);

}  // namespace dropdown::multicolumn
