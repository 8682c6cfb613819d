// Text layout with the window framework's DrawText rules, over the Qt font metrics of the canvas font.
#pragma once

#include <QString>

#include "platform/graphics/types.h"

namespace plat {

class TCanvas;

enum : unsigned {
  DT_TOP = 0x0,
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10,
  DT_SINGLELINE = 0x20,
  DT_EXPANDTABS = 0x40,
  DT_TABSTOP = 0x80,
  DT_NOCLIP = 0x100,
  DT_EXTERNALLEADING = 0x200,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
  DT_INTERNAL = 0x1000,
  DT_EDITCONTROL = 0x2000,
  DT_PATH_ELLIPSIS = 0x4000,
  DT_END_ELLIPSIS = 0x8000,
  DT_MODIFYSTRING = 0x10000,
  DT_RTLREADING = 0x20000,
  DT_WORD_ELLIPSIS = 0x40000,
  DT_NOFULLWIDTHCHARBREAK = 0x80000,
  DT_HIDEPREFIX = 0x100000,
  DT_PREFIXONLY = 0x200000,
};

struct DRAWTEXTPARAMS {
  int iTabLength = 0;    // tab stop distance in average character widths (0: 8)
  int iLeftMargin = 0;   // pixels
  int iRightMargin = 0;  // pixels
  int uiLengthDrawn = 0; // out: characters processed
};

// Lays out and (without DT_CALCRECT) draws text in r with the canvas font, its colour and the canvas
// background mode. Rules:
// - without DT_SINGLELINE, CR LF, CR and LF break lines; with it they are dropped;
// - DT_WORDBREAK breaks at blanks and never inside a word unless DT_EDITCONTROL is set (then a word wider
//   than the line is broken between characters); blanks at a break are not drawn;
// - vertical alignment (DT_VCENTER, DT_BOTTOM) applies only with DT_SINGLELINE;
// - "&x" draws x underlined (DT_HIDEPREFIX: not underlined), "&&" draws "&", DT_NOPREFIX draws '&' as is;
// - DT_END_ELLIPSIS, DT_WORD_ELLIPSIS and DT_PATH_ELLIPSIS shorten a line that is too wide with "...",
//   at the end, at a word end, or in the folder part before the last '\' or '/'; with several lines the
//   last line that fits ends in "..." when more text follows below the rectangle;
// - DT_EXPANDTABS sets tab stops every 8 average character widths;
// - DT_CALCRECT draws nothing and sets r.Right and r.Bottom to hold the text (Left and Top stay);
// - without DT_NOCLIP the drawing is clipped to r.
// Returns the text height (with DT_VCENTER/DT_BOTTOM: the offset from r.Top to the bottom of the text);
// 0 for an empty text without DT_CALCRECT.
int DrawTextOnCanvas(TCanvas& canvas, const QString& text, TRect& r, unsigned flags,
                     DRAWTEXTPARAMS* params = nullptr);

// Removes the prefix characters as drawing does ("&&" -> "&", "&x" -> "x"); *underline receives the index
// of the underlined character in the result, or -1.
QString StripPrefixes(const QString& text, int* underline = nullptr);

}  // namespace plat
