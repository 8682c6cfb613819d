#pragma once
// The grid's named bitmaps: check boxes and radio buttons of the XP and Ext looks ("ESGCHK01".."ESGCHK08",
// "ESGRAD01".."ESGRAD08"), the leaf and XP node glyphs ("ESGLEAFOPEN", "ESGLEAFCLOSE", "XPNODEO", "XPNODEC"),
// the filter funnel ("ESGFILT"), the metro check and radio glyphs ("metrocheckon", "metrocheckoff",
// "metroradioon", "metroradiooff") and the close cross ("ESGCLOSE"). They are drawn by code once and registered
// as resources, so DrawResourceBitmap finds them too. Each keeps its background in a key colour in the
// corners: drawn transparent (bottom-left pixel) or on a colour (top-left pixel), only the glyph shows.

#include <QString>

#include "platform/graphics/graphic.h"

namespace grid {

// The bitmap of that name (letter case ignored), nullptr for an unknown name. The bitmaps live as long as
// the program.
plat::TBitmap* GridBitmap(const QString& Name);
// Registers every bitmap with the resource lookup (done by the first GridBitmap call as well).
void RegisterGridBitmaps();

}  // namespace grid
