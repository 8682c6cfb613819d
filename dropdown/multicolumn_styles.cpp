// The list colours of the component styles (see multicolumn_styles.h).
#include "dropdown/multicolumn_styles.h"

namespace dropdown::multicolumn {

using namespace plat;
using namespace controls;

namespace {

struct TStyleRow {
  TExtStyle Style;
  TListStyleColors Colors;
};

constexpr TColor Unchanged = clNone;

// The styles with a selection style of their own: their line colours win over the selection style's lines.
const TStyleRow StyledRows[] = {
    {tsOffice2003Blue, {0xD68759, 0x933803, 0xFFFFFF, 0x962D00, 0x962D00, scOffice2007}},
    {tsOffice2003Silver, {0xBDA4A5, 0x957475, Unchanged, 0x947C7C, 0x947C7C, scOffice2007}},
    {tsOffice2003Olive, {0x82C0AF, 0x447A63, Unchanged, 0x588060, 0x588060, scOffice2007}},
    {tsOffice2003Classic, {0x808080, 0x808080, Unchanged, 0x808080, 0x808080, scOffice2007}},
    {tsOffice2007Luna, {0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF, scOffice2007}},
    {tsOffice2007Obsidian, {0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C, scOffice2007}},
    {tsWhidbey, {0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00, scOffice2007}},
    {tsOffice2007Silver, {0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F, scOffice2007}},
    {tsWindowsVista, {0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA, 0xFCF2DA, scWindowsVista}},
    {tsWindows7, {0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8, scWindows7}},
};

// The styles with a custom selection.
const TStyleRow CustomRows[] = {
    {tsWindowsXP, {clBtnFace, clBtnFace, clBlack, 0xC0C0C0, clBlack, scCustom, clHighlight, clHighlight, clHighlightText}},
    {tsTerminal, {clBtnFace, clBtnFace, clBlack, 0x808080, 0x808080, scCustom, clHighlight, clHighlight, clHighlightText}},
    {tsOffice2010Blue, {0xEDDBCD, clNone, 0x5B391E, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0x6CD0FF, clBlack}},
    {tsOffice2010Silver, {0xEDE9E5, clNone, 0x5B391E, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0x6CD0FF, clBlack}},
    {tsOffice2010Black, {0x828282, clNone, 0xD7D7D6, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0x6CD0FF, clBlack}},
};

}  // namespace

bool ListStyleColors(TExtStyle Style, TListStyleColors& Colors) {
  for (const TStyleRow& row : StyledRows)
    if (row.Style == Style) {
      Colors = row.Colors;
      return true;
    }
  for (const TStyleRow& row : CustomRows)
    if (row.Style == Style) {
      Colors = row.Colors;
      return true;
    }
  return false;
}

bool SelectionStyleLines(TSelectionColorStyle Style, TColor& LineColor, TColor& FixedLineColor) {
  switch (Style) {
    case scOffice2007:
      LineColor = 0xF1EDEB;
      FixedLineColor = 0xD1BBA4;
      return true;
    case scWindowsVista:
    case scWindows7:
      LineColor = 0xECECF0;
      FixedLineColor = 0xD4D2D1;
      return true;
    default: return false;
  }
}

}  // namespace dropdown::multicolumn
