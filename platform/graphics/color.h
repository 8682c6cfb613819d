// Colours as the window framework stores them: 0x00BBGGRR for plain colours; a value with the top bit set
// is a system colour whose low byte is the index into the system-colour table (clBtnFace = 0xFF00000F);
// clNone and clDefault are markers, not colours.
#pragma once

#include <cstdint>

#include <QColor>

#include "platform/graphics/gdivalues.h"

namespace plat {

// The system-colour table. It starts with fixed values (a light desktop scheme) so that drawing is the same
// on every machine; a test or the program may change an entry. Returns the previous value.
TColor SetSystemColor(int index, TColor rgb);
TColor GetSysColor(int index);
void ResetSystemColors();

// System colours become their 0x00BBGGRR value from the table; every other value is returned unchanged
// (clNone stays clNone).
TColor ColorToRGB(TColor c);

QColor ToQColor(TColor c);       // resolves system colours; clNone is a transparent colour
TColor FromQColor(const QColor& c);  // alpha dropped

}  // namespace plat
