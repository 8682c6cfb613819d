#include "grid/view/render_looks.h"

#include <optional>

#include "controls/draw_utils.h"
#include "grid/view/render_resources.h"

namespace grid {

using plat::clNone;
using plat::TColor;

namespace {

constexpr TColor kKeep = 0x2FFFFFFF;      // the value stays as it is
constexpr TColor kMirrorTo = 0x2FFFFFFE;  // the gradient's MirrorTo as it ends

void Put(TColor& Target, TColor Value) {
  if (Value != kKeep) Target = Value;
}

// One component style: the look it sets first and the values it writes (kKeep: left alone).
struct TStyleScheme {
  std::optional<TGridLook> LookFirst;
  TColor Gradient[4];
  TColor Hover[5];
  TColor Down[5];
  TColor Header[4];
  TColor Active[2];
  TColor GridLines, FixedLines;
  TColor Footer[2];
  TColor Selection, SelectionText;
  bool StoredNone;                         // the control look's From and To end as clNone
  std::optional<TGridSelectionStyle> SelStyle;
};

constexpr TColor K = kKeep, N = clNone;
#define KEEP5 {K, K, K, K, K}
#define KEEP4 {K, K, K, K}

TStyleScheme Office2003(TColor from, TColor to) {
  return {glXP, {from, to, N, N}, KEEP5, KEEP5, KEEP4, {Hex(0xFBE694), Hex(0xEE9515)}, Hex(0xC0C0C0),
          Hex(0x808080), {Hex(0xCBE1FC), N}, Hex(0xFBE694), plat::clBlack, false, {}};
}

TStyleScheme Office2010(TColor grad, TColor header, TColor fixedLines) {
  return {glOffice2007, {grad, grad, grad, grad},
          {Hex(0xFFDF6B), Hex(0xFFEFAF), Hex(0xFFEFAF), Hex(0xFFFCE6), Hex(0xE8BF3A)},
          {Hex(0xFFD55B), Hex(0xFFE064), Hex(0xFFE064), Hex(0xFFEF71), Hex(0xC28A30)},
          {header, header, header, header}, {Hex(0xFFD55B), Hex(0xFFEF71)}, Hex(0xC0C0C0), fixedLines,
          {grad, grad}, Hex(0xB7DBFF), plat::clBlack, true, ssDefault};
}

std::optional<TStyleScheme> SchemeOf(TExtGridStyle s) {
  const TColor vistaHeader[4] = {Hex(0xF2F9FC), Hex(0xF2F9FC), Hex(0xE1F1F9), Hex(0xD8ECF6)};
  switch (s) {
    case gsOffice2003Blue: return Office2003(Hex(0xCBE1FC), Hex(0x7DA5E0));
    case gsOffice2003Silver: return Office2003(Hex(0xE1E2EC), Hex(0x9896B3));
    case gsOffice2003Olive: return Office2003(Hex(0xEAF0CF), Hex(0xB1C08C));
    case gsOffice2003Classic:
      return TStyleScheme{glXP, {Hex(0xFFFFFF), Hex(0xD8D4CC), N, N}, KEEP5, KEEP5, KEEP4,
                          {Hex(0xD4D5D8), Hex(0xD4D5D8)}, Hex(0xC0C0C0), Hex(0x808080), {Hex(0xFFFFFF), N}, K, K,
                          true, {}};
    case gsOffice2007Luna:
      return TStyleScheme{glOffice2007, {Hex(0xF6F9FB), Hex(0xD2DBE8), N, N},
                          {Hex(0xDFE2E4), Hex(0xCDD3DB), Hex(0xCDD3DB), Hex(0xBCC5D2), Hex(0x879FB7)},
                          {Hex(0x9DC1E4), Hex(0x9DC1E4), Hex(0x9DC1E4), Hex(0x9DC1E4), Hex(0x9DC1E4)}, KEEP4,
                          {Hex(0xF9D89D), Hex(0xF1C15E)}, Hex(0xEBEDF1), Hex(0xA4BBD1), {Hex(0xF6F9FB), N},
                          Hex(0xF1C15E), plat::clBlack, false, {}};
    case gsOffice2007Obsidian:
      return TStyleScheme{glOffice2007, {Hex(0xF7F7F7), Hex(0xDEDEDE), N, N}, KEEP5, KEEP5, KEEP4,
                          {Hex(0xF9D89D), Hex(0xF1C15E)}, Hex(0xD0D7E5), Hex(0x808080), {Hex(0xF7F7F7), N},
                          Hex(0xF1C15E), plat::clBlack, false, {}};
    case gsWindowsXP:
      return TStyleScheme{glXP, {plat::clBtnFace, plat::clBtnFace, N, N}, KEEP5, KEEP5, KEEP4,
                          {plat::clBtnFace, plat::clBtnFace}, Hex(0xC0C0C0), Hex(0x808080), {plat::clBtnFace, N},
                          K, K, true, {}};
    case gsWhidbey:
      return TStyleScheme{{}, {Hex(0xFFFFFF), plat::clBtnFace, N, N}, KEEP5, KEEP5, KEEP4,
                          {Hex(0xFBE694), Hex(0xEE9515)}, Hex(0xC0C0C0), Hex(0x808080), {Hex(0xFFFFFF), N}, K, K,
                          true, {}};
    case gsOffice2007Silver:
      return TStyleScheme{glOffice2007, {Hex(0xF1F3F3), Hex(0xC8C9CA), K, K}, KEEP5, KEEP5, KEEP4,
                          {Hex(0xFFCC99), Hex(0xFF9C69)}, Hex(0xD0D7E5), Hex(0x808080), {Hex(0xF1F3F3), kMirrorTo},
                          Hex(0xF5C795), plat::clBlack, false, {}};
    case gsWindowsVista:
      return TStyleScheme{glVista, {Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0xF7F8FA), Hex(0xF1F2F4)},
                          {Hex(0xE3F7FF), Hex(0xE3F7FF), Hex(0xBDEDFF), Hex(0xB7E7FB), Hex(0x93C9E3)},
                          {Hex(0xBCE4F9), Hex(0xBCE4F9), Hex(0x8DD6F7), Hex(0x8AD1F5), Hex(0x4F90AE)},
                          {vistaHeader[0], vistaHeader[1], vistaHeader[2], vistaHeader[3]},
                          {Hex(0xF1F8FD), Hex(0xD5EFFC)}, Hex(0xF0ECEC), Hex(0xD1D2D4), {Hex(0xFFFFFF), Hex(0xF1F2F4)},
                          Hex(0xB6CAEA), plat::clBlack, true, ssVista};
    case gsWindows7:
      return TStyleScheme{glWin7, {Hex(0xFAFCFD), Hex(0xE6F0FA), Hex(0xDCE6F4), Hex(0xDDE9F7)},
                          {Hex(0xF8FBFE), Hex(0xEDF2FA), Hex(0xD7E4F4), Hex(0xC1D2E8), Hex(0xE3E8EE)},
                          {Hex(0xDDE8F1), Hex(0xD8E4F1), Hex(0xCFDBEC), Hex(0xCFDCED), Hex(0xAABCD5)},
                          {vistaHeader[0], vistaHeader[1], vistaHeader[2], vistaHeader[3]},
                          {Hex(0xDCEBFC), Hex(0xC1DBFC)}, Hex(0xF0ECEC), Hex(0xD1D2D4), {Hex(0xFAFCFD), Hex(0xDDE9F7)},
                          Hex(0xB6CAEA), plat::clBlack, true, ssWin7};
    case gsTerminal:
      return TStyleScheme{glStandard, KEEP4, KEEP5, KEEP5, KEEP4, {K, K}, K, K, {K, K}, K, K, false, {}};
    case gsOffice2010Blue: return Office2010(Hex(0xDAE7F5), Hex(0xC7CED6), Hex(0xA0B0C7));
    case gsOffice2010Silver: return Office2010(Hex(0xDFE3E8), Hex(0xAAAAAA), Hex(0xB1B5BA));
    case gsOffice2010Black: return Office2010(Hex(0x6A6A6A), Hex(0xBABABA), Hex(0x444444));
    case gsCustom: break;
  }
  return std::nullopt;
}

void ResetFixedGradient(TGridColors& C, TControlLook& CL) {
  for (TFixedGradientRole r : {fgMirrorFrom, fgMirrorTo, fgFrom, fgTo}) CL.SetGradient(r, clNone);
  C.Fixed.From = C.Fixed.To = C.Fixed.MirrorFrom = C.Fixed.MirrorTo = clNone;
  C.HeaderColor = clNone;
}

void ApplyLookColours(TGridColors& C, TControlLook& CL, TGridLook L) {
  const bool plain = L == glStandard || L == glSoft || L == glClassic;
  if (plain) {
    C.FixedColor = plat::clBtnFace;
    CL.SetFixedGradientFrom(plat::clBtnFace);
    CL.SetFixedGradientTo(clNone);
  } else {
    CL.SetFixedGradientFrom(Hex(0xFFFFFF));
    CL.SetFixedGradientTo(plat::clBtnFace);
  }
  C.GridFixedLineColor = Hex(0x808080);
  CL.SetFixedGradientMirrorFrom(clNone);
  CL.SetFixedGradientMirrorTo(clNone);
  C.Fixed.MirrorFrom = C.Fixed.MirrorTo = clNone;
  C.GridLineColor = Hex(0xC0C0C0);
  if (plain || L == glListView) {
    C.ActiveCellColor = Hex(0x808080);
    C.ActiveCellColorTo = clNone;
    C.SelectionColor = plat::clHighlight;
    C.SelectionTextColor = plat::clHighlightText;
    C.FooterColor = C.FooterColorTo = plat::clBtnFace;
    return;
  }
  C.ActiveCellColor = C.SelectionColor = Hex(0xB6CAEA);
  C.ActiveCellColorTo = C.SelectionColorTo = clNone;
  C.SelectionTextColor = plat::clBlack;
  C.FooterColor = C.Fixed.From;
  C.FooterColorTo = C.Fixed.To;
  CL.SetFixedGradientFrom(Hex(0xFFFFFF));
  CL.SetFixedGradientTo(L == glXP ? plat::clBtnFace : Hex(0xC0C0C0));
  CL.SetFixedGradientHoverFrom(Hex(0xD1D0CF));
  CL.SetFixedGradientHoverTo(Hex(0xC8C6BE));
  CL.SetFixedGradientHoverMirrorFrom(Hex(0xC8C6BE));
  CL.SetFixedGradientHoverMirrorTo(Hex(0xBFBCAB));
  CL.SetFixedGradientDownFrom(Hex(0x888786));
  CL.SetFixedGradientDownTo(Hex(0x7E7C73));
  CL.SetFixedGradientDownMirrorFrom(Hex(0x7E7C73));
  CL.SetFixedGradientDownMirrorTo(Hex(0x767362));
}

void ApplyScheme(TGridColors& C, TControlLook& CL, const TStyleScheme& s) {
  if (s.LookFirst) SetGridLook(C, CL, *s.LookFirst);
  TFixedCellGradient& f = C.Fixed;
  TColor* grad[4] = {&f.From, &f.To, &f.MirrorFrom, &f.MirrorTo};
  for (int i = 0; i < 4; ++i) Put(*grad[i], s.Gradient[i]);
  TColor* hover[5] = {&f.HoverFrom, &f.HoverTo, &f.HoverMirrorFrom, &f.HoverMirrorTo, &f.HoverBorder};
  TColor* down[5] = {&f.DownFrom, &f.DownTo, &f.DownMirrorFrom, &f.DownMirrorTo, &f.DownBorder};
  for (int i = 0; i < 5; ++i) {
    Put(*hover[i], s.Hover[i]);
    Put(*down[i], s.Down[i]);
  }
  TColor* header[4] = {&C.HeaderColor, &C.HeaderColorTo, &C.HeaderMirrorColor, &C.HeaderMirrorColorTo};
  for (int i = 0; i < 4; ++i) Put(*header[i], s.Header[i]);
  Put(C.ActiveCellColor, s.Active[0]);
  Put(C.ActiveCellColorTo, s.Active[1]);
  Put(C.GridLineColor, s.GridLines);
  Put(C.GridFixedLineColor, s.FixedLines);
  Put(C.FooterColor, s.Footer[0]);
  Put(C.FooterColorTo, s.Footer[1] == kMirrorTo ? f.MirrorTo : s.Footer[1]);
  Put(C.SelectionColor, s.Selection);
  Put(C.SelectionTextColor, s.SelectionText);
  if (s.SelStyle) C.SelectionStyle = *s.SelStyle;
  // The control look keeps the gradient's From and To, or none.
  const TColor from = s.StoredNone ? clNone : f.From, to = s.StoredNone ? clNone : f.To;
  if (s.Gradient[0] != kKeep || s.StoredNone) {
    const TColor keepFrom = f.From, keepTo = f.To;
    CL.SetFixedGradientFrom(from);
    CL.SetFixedGradientTo(to);
    f.From = keepFrom;  // the write-through never changes the set just written
    f.To = keepTo;
  }
}

}  // namespace

TGridColors::TGridColors() : Fixed{Hex(0xFFFFFF), plat::ColorToRGB(plat::clBtnFace)} {}

void ConnectControlLook(TControlLook& Look, TGridColors& Colors) {
  Look.OnGradientCopy = [&Colors](TFixedGradientRole Role, TColor Value) {
    TFixedCellGradient& f = Colors.Fixed;
    TColor* members[] = {&f.From,          &f.To,          &f.MirrorFrom,      &f.MirrorTo,      &f.HoverFrom,
                         &f.HoverTo,       &f.HoverMirrorFrom, &f.HoverMirrorTo, &f.HoverBorder, &f.DownFrom,
                         &f.DownTo,        &f.DownMirrorFrom,  &f.DownMirrorTo,  &f.DownBorder};
    const bool rgb = Role <= fgMirrorTo && Value != clNone;
    *members[Role] = rgb ? plat::ColorToRGB(Value) : Value;
  };
}

QString LookIdent(TGridLook ALook) {
  static const char* const idents[] = {"glStandard", "glSoft",    "glClassic", "glExt",        "glXP",
                                       "glListView", "glVista",   "glWin7",    "glOffice2007", ""};
  return ALook >= glStandard && ALook <= glCustom ? QString::fromLatin1(idents[ALook]) : QString();
}

QString LookName(TGridLook ALook) {
  static const char* const names[] = {"Standard", "Soft",          "Classic",   "",           "Windows XP",
                                      "ListView", "Windows Vista", "Windows 7", "Office2007", ""};
  if (ALook == glExt) return LookIdent(ALook).mid(2);
  return ALook >= glStandard && ALook <= glCustom ? QString::fromLatin1(names[ALook]) : QString();
}

bool SetGridLook(TGridColors& C, TControlLook& CL, TGridLook ALook, bool Loading) {
  if (ALook == C.Look || ALook < glStandard || ALook > glCustom) return false;
  C.Look = ALook;
  if (ALook != glCustom) ResetFixedGradient(C, CL);
  switch (ALook) {
    case glVista:
      SetGridStyle(C, CL, gsWindowsVista);
      C.ComponentStyle = controls::tsWindowsVista;
      C.SelectionStyle = ssVista;
      break;
    case glWin7:
      SetGridStyle(C, CL, gsWindows7);
      C.ComponentStyle = controls::tsWindows7;
      C.SelectionStyle = ssWin7;
      break;
    case glOffice2007:
      SetGridStyle(C, CL, gsOffice2007Luna);
      C.ComponentStyle = controls::tsOffice2007Luna;
      C.SelectionStyle = ssOffice2007;
      break;
    case glCustom: break;
    default:
      C.SelectionStyle = ssDefault;
      if (!Loading) ApplyLookColours(C, CL, ALook);
  }
  C.ScrollType = ssNormal;
  C.BorderSingle = true;
  C.BorderColor = Hex(0x7F9DB9);
  return true;
}

void SetGridStyle(TGridColors& C, TControlLook& CL, TExtGridStyle AStyle) {
  if (AStyle < gsOffice2003Blue || AStyle > gsOffice2010Black) return;
  C.SelectionColor = plat::clHighlight;
  C.SelectionColorTo = clNone;
  C.SelectionTextColor = plat::clHighlightText;
  C.SelectionStyle = ssDefault;
  C.HeaderColor = C.HeaderColorTo = C.HeaderMirrorColor = C.HeaderMirrorColorTo = clNone;
  CL.Init();
  if (const std::optional<TStyleScheme> s = SchemeOf(AStyle)) ApplyScheme(C, CL, *s);
  if (AStyle == gsWindowsXP) C.Look = glXP;
  if (AStyle == gsOffice2007Luna && C.Look == glOffice2007) C.SelectionStyle = ssOffice2007;
}

void SetGridComponentStyle(TGridColors& C, TControlLook& CL, controls::TExtStyle AStyle) {
  SetGridStyle(C, CL, TExtGridStyle(AStyle));
  // Stored after the scheme: a look preset the scheme runs must not replace the style asked for.
  C.ComponentStyle = AStyle;
  if (AStyle != controls::tsCustom && C.ScrollType == ssMetro) C.ScrollType = ssNormal;
}

void SetGridColorTones(TGridColors& C, TControlLook& CL, const controls::TColorTones& T) {
  C.Tones = T;
  SetGridLook(C, CL, glClassic);
  C.Flat = true;
  C.ScrollType = ssMetro;
  C.FixedColor = T.Foreground.BrushColor;
  C.FixedFontColor = T.Foreground.TextColor;
  C.FontName = C.FixedFontName = controls::DefaultUIFontName();
  C.Color = T.Background.BrushColor;
  C.FontColor = T.Background.TextColor;
  C.SelectionColor = T.Selected.BrushColor;
  C.SelectionTextColor = T.Selected.TextColor;
  C.SelectionColorTo = clNone;
  C.GridLineColor = Hex(0xE6E6E6);
  C.GridFixedLineColor = controls::ChangeColorPercent(T.Foreground.BrushColor, -20);
  C.BorderSingle = false;
  CL.SetControlStyle(csGlyph);
  CL.CheckedGlyph()->Assign(GridBitmap(QStringLiteral("metrocheckon")));
  CL.UnCheckedGlyph()->Assign(GridBitmap(QStringLiteral("metrocheckoff")));
  CL.RadioOffGlyph()->Assign(GridBitmap(QStringLiteral("metroradiooff")));
  CL.RadioOnGlyph()->Assign(GridBitmap(QStringLiteral("metroradioon")));
  CL.SetFlatButton(true);
  C.FooterColor = C.FooterColorTo = T.Foreground.BrushColor;
  C.NodeType = cnFlat;
}

void SetGridTheme(TGridColors& C, TControlLook& CL, TXPColorScheme Scheme) {
  struct TRow { TColor g[4], active[2], footer[2]; };
  const TColor orange[2] = {Hex(0xFBE694), Hex(0xEE9515)};
  TRow row;
  switch (Scheme) {
    case xpBlue: row = {{Hex(0xCBE1FC), Hex(0x7DA5E0), N, N}, {orange[0], orange[1]}, {Hex(0xCBE1FC), Hex(0x7DA5E0)}}; break;
    case xpGreen: row = {{Hex(0xEAF0CF), Hex(0xB1C08C), N, N}, {orange[0], orange[1]}, {Hex(0xEAF0CF), Hex(0xB1C08C)}}; break;
    case xpGray: row = {{Hex(0xE1E2EC), Hex(0x9896B3), N, N}, {orange[0], orange[1]}, {Hex(0xE1E2EC), Hex(0x9896B3)}}; break;
    case vistaAero:
      row = {{Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0xF7F8FA), Hex(0xF1F2F4)}, {orange[0], orange[1]},
             {Hex(0xE1E2EC), Hex(0x9896B3)}};
      break;
    case xpNone: row = {{Hex(0xFFFFFF), plat::clBtnFace, N, N}, {Hex(0xFFFFFF), Hex(0xB3D9FF)}, {Hex(0xFFFFFF), Hex(0xB3D9FF)}}; break;
    default: return;
  }
  C.Fixed.From = row.g[0];
  C.Fixed.To = row.g[1];
  C.Fixed.MirrorFrom = row.g[2];
  C.Fixed.MirrorTo = row.g[3];
  C.ActiveCellColor = row.active[0];
  C.ActiveCellColorTo = row.active[1];
  C.FooterColor = row.footer[0];
  C.FooterColorTo = row.footer[1];
  const TFixedCellGradient keep = C.Fixed;
  CL.SetFixedGradientFrom(Scheme == xpNone ? clNone : row.g[0]);
  CL.SetFixedGradientTo(Scheme == xpNone ? clNone : row.g[1]);
  C.Fixed = keep;
}

bool AdaptToOfficeTheme(TGridColors& C, TControlLook& CL, controls::TOfficeTheme Theme) {
  using namespace controls;
  static const TExtStyle styles[] = {tsOffice2003Blue,  tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
                                     tsOffice2007Luna,  tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue,
                                     tsOffice2010Silver, tsOffice2010Black};
  if (Theme == otUnknown || Theme == C.OfficeTheme || Theme < ot2003Blue || Theme > otUnknown) return false;
  SetGridComponentStyle(C, CL, styles[Theme]);
  C.OfficeTheme = Theme;
  return true;
}

}  // namespace grid
