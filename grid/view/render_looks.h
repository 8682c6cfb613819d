#pragma once
// The looks, component styles, XP colour schemes and colour tones of the grid: named presets that write the
// grid's fixed-cell gradient set, selection, active-cell, line, footer and sort-header colours. The presets
// are tables of values applied to one TGridColors; the grid keeps a TGridColors and repaints after a change.

#include <QString>

#include "controls/theme_services.h"
#include "grid/model/gridtypes.h"
#include "grid/view/options_look.h"
#include "platform/graphics/color.h"

namespace grid {

enum TGridLook { glStandard, glSoft, glClassic, glExt, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TExtGridStyle {
  gsOffice2003Blue, gsOffice2003Silver, gsOffice2003Olive, gsOffice2003Classic, gsOffice2007Luna,
  gsOffice2007Obsidian, gsWindowsXP, gsWhidbey, gsCustom, gsOffice2007Silver, gsWindowsVista, gsWindows7,
  gsTerminal, gsOffice2010Blue, gsOffice2010Silver, gsOffice2010Black
};
enum TScrollType { ssNormal, ssFlat, ssMetro, ssEncarta };

// #RRGGBB as written in colour tables to the stored 0x00BBGGRR value.
constexpr plat::TColor Hex(unsigned rgb) {
  return plat::TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// The colours fixed cells are painted with: normal, hot and pressed sets.
struct TFixedCellGradient {
  plat::TColor From, To, MirrorFrom = plat::clNone, MirrorTo = plat::clNone;
  plat::TColor HoverFrom = 0, HoverTo = 0, HoverMirrorFrom = 0, HoverMirrorTo = 0, HoverBorder = 0;
  plat::TColor DownFrom = 0, DownTo = 0, DownMirrorFrom = 0, DownMirrorTo = 0, DownBorder = 0;
};

// Everything a look, a style, a scheme or a tones record writes.
struct TGridColors {
  TGridColors();
  TGridLook Look = glXP;
  TFixedCellGradient Fixed;
  plat::TColor Color = plat::clWindow, FontColor = plat::clWindowText;
  plat::TColor FixedColor = plat::clBtnFace, FixedFontColor = plat::clWindowText;
  QString FontName, FixedFontName;
  plat::TColor GridLineColor = plat::clSilver, GridFixedLineColor = plat::clGray;
  plat::TColor ActiveCellColor = Hex(0xB6CAEA), ActiveCellColorTo = plat::clNone;
  plat::TColor SelectionColor = plat::clHighlight, SelectionColorTo = plat::clNone;
  plat::TColor SelectionMirrorColor = plat::clNone, SelectionMirrorColorTo = plat::clNone;
  plat::TColor SelectionTextColor = plat::clHighlightText;
  TGridSelectionStyle SelectionStyle = ssDefault;
  plat::TColor FooterColor = plat::clBtnFace, FooterColorTo = plat::clNone;
  plat::TColor HeaderColor = plat::clNone, HeaderColorTo = plat::clNone;
  plat::TColor HeaderMirrorColor = plat::clNone, HeaderMirrorColorTo = plat::clNone;
  TScrollType ScrollType = ssNormal;
  bool BorderSingle = true;
  plat::TColor BorderColor = Hex(0x7F9DB9);
  bool Flat = false;
  controls::TExtStyle ComponentStyle = controls::tsWindowsXP;
  controls::TOfficeTheme OfficeTheme = controls::otUnknown;
  controls::TColorTones Tones;
  TNodeType NodeType = cnXP;
};

// Wires a control look to the grid's colours: its gradient setters write through to Fixed (From, To and the
// hot and pressed members only when not clNone, the mirror colours always; the four normal ones as RGB).
void ConnectControlLook(TControlLook& Look, TGridColors& Colors);

QString LookIdent(TGridLook ALook);
QString LookName(TGridLook ALook);

// Setting a look runs its preset; the same look again changes nothing (returns false). Loading skips the
// colour part of the preset.
bool SetGridLook(TGridColors& C, TControlLook& CL, TGridLook ALook, bool Loading = false);
void SetGridStyle(TGridColors& C, TControlLook& CL, TExtGridStyle AStyle);
void SetGridComponentStyle(TGridColors& C, TControlLook& CL, controls::TExtStyle AStyle);
void SetGridColorTones(TGridColors& C, TControlLook& CL, const controls::TColorTones& ATones);
void SetGridTheme(TGridColors& C, TControlLook& CL, TXPColorScheme Scheme);
// With a changed Office theme applies its component style and remembers the theme; otUnknown does nothing.
bool AdaptToOfficeTheme(TGridColors& C, TControlLook& CL, controls::TOfficeTheme Theme);

}  // namespace grid
