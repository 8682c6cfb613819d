// The look presets, component styles, XP schemes and colour tones as tables of resulting colours.
#include "grid/view/render_looks.h"

#include "controls/draw_utils.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

using plat::clNone;
using plat::TColor;

struct GridLookPresets : ::testing::Test {
  TGridColors c;
  TControlLook cl{nullptr};
  GridLookPresets() { ConnectControlLook(cl, c); }
};

TEST(LookNames, IdentAndDisplayNamePerLook) {
  const struct { TGridLook look; const char* ident; const char* name; } cases[] = {
      {glStandard, "glStandard", "Standard"},   {glSoft, "glSoft", "Soft"},
      {glClassic, "glClassic", "Classic"},      {glExt, "glExt", "Ext"},
      {glXP, "glXP", "Windows XP"},             {glListView, "glListView", "ListView"},
      {glVista, "glVista", "Windows Vista"},    {glWin7, "glWin7", "Windows 7"},
      {glOffice2007, "glOffice2007", "Office2007"}, {glCustom, "", ""},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(LookIdent(k.look), k.ident);
    EXPECT_EQ(LookName(k.look), k.name);
  }
}

TEST_F(GridLookPresets, ANewGridStartsXPWithWhiteToButtonFace) {
  EXPECT_EQ(c.Look, glXP);
  EXPECT_EQ(c.Fixed.From, Hex(0xFFFFFF));
  EXPECT_EQ(c.Fixed.To, plat::ColorToRGB(plat::clBtnFace));
  EXPECT_EQ(c.Fixed.MirrorFrom, clNone);
}

TEST_F(GridLookPresets, SettingTheCurrentLookAgainChangesNothing) {
  c.SelectionColor = plat::clRed;
  EXPECT_FALSE(SetGridLook(c, cl, glXP));
  EXPECT_EQ(c.SelectionColor, plat::clRed);
  EXPECT_TRUE(SetGridLook(c, cl, glSoft));
  EXPECT_TRUE(SetGridLook(c, cl, glXP));
  EXPECT_EQ(c.SelectionColor, Hex(0xB6CAEA));
}

// Each look: the fixed gradient, selection colours and selection style it leaves.
TEST_F(GridLookPresets, EveryLookPresetAsATable) {
  const struct {
    TGridLook look;
    TColor from, to, mirrorTo, selection, active;
    TGridSelectionStyle style;
  } cases[] = {
      {glStandard, plat::ColorToRGB(plat::clBtnFace), clNone, clNone, plat::clHighlight, Hex(0x808080), ssDefault},
      {glSoft, plat::ColorToRGB(plat::clBtnFace), clNone, clNone, plat::clHighlight, Hex(0x808080), ssDefault},
      {glClassic, plat::ColorToRGB(plat::clBtnFace), clNone, clNone, plat::clHighlight, Hex(0x808080), ssDefault},
      {glExt, Hex(0xFFFFFF), Hex(0xC0C0C0), clNone, Hex(0xB6CAEA), Hex(0xB6CAEA), ssDefault},
      {glListView, Hex(0xFFFFFF), plat::ColorToRGB(plat::clBtnFace), clNone, plat::clHighlight, Hex(0x808080),
       ssDefault},
      {glVista, Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0xF1F2F4), Hex(0xB6CAEA), Hex(0xF1F8FD), ssVista},
      {glWin7, Hex(0xFAFCFD), Hex(0xE6F0FA), Hex(0xDDE9F7), Hex(0xB6CAEA), Hex(0xDCEBFC), ssWin7},
      {glOffice2007, Hex(0xF6F9FB), Hex(0xD2DBE8), clNone, Hex(0xF1C15E), Hex(0xF9D89D), ssOffice2007},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(LookIdent(k.look).toStdString());
    TGridColors fresh;
    TControlLook look{nullptr};
    ConnectControlLook(look, fresh);
    SetGridLook(fresh, look, glCustom);
    SetGridLook(fresh, look, k.look);
    EXPECT_EQ(fresh.Fixed.From, k.from);
    EXPECT_EQ(fresh.Fixed.To, k.to);
    EXPECT_EQ(fresh.Fixed.MirrorTo, k.mirrorTo);
    EXPECT_EQ(fresh.SelectionColor, k.selection);
    EXPECT_EQ(fresh.ActiveCellColor, k.active);
    EXPECT_EQ(fresh.SelectionStyle, k.style);
    EXPECT_EQ(fresh.ScrollType, ssNormal);
    EXPECT_EQ(fresh.BorderColor, Hex(0x7F9DB9));
  }
}

TEST_F(GridLookPresets, TheCustomLookKeepsTheGradientSet) {
  c.Fixed.From = Hex(0x123456);
  SetGridLook(c, cl, glCustom);
  EXPECT_EQ(c.Fixed.From, Hex(0x123456));
}

// Each style: the look it ends with and the colours it leaves.
TEST_F(GridLookPresets, EveryComponentStyleAsATable) {
  const struct {
    TExtGridStyle style;
    TGridLook look;
    TColor from, to, selection, gridLines, fixedLines, header;
    TGridSelectionStyle selStyle;
  } cases[] = {
      {gsOffice2003Blue, glXP, Hex(0xCBE1FC), Hex(0x7DA5E0), Hex(0xFBE694), Hex(0xC0C0C0), Hex(0x808080), clNone,
       ssDefault},
      {gsOffice2003Silver, glXP, Hex(0xE1E2EC), Hex(0x9896B3), Hex(0xFBE694), Hex(0xC0C0C0), Hex(0x808080), clNone,
       ssDefault},
      {gsOffice2003Olive, glXP, Hex(0xEAF0CF), Hex(0xB1C08C), Hex(0xFBE694), Hex(0xC0C0C0), Hex(0x808080), clNone,
       ssDefault},
      {gsOffice2003Classic, glXP, Hex(0xFFFFFF), Hex(0xD8D4CC), plat::clHighlight, Hex(0xC0C0C0), Hex(0x808080),
       clNone, ssDefault},
      {gsOffice2007Luna, glOffice2007, Hex(0xF6F9FB), Hex(0xD2DBE8), Hex(0xF1C15E), Hex(0xEBEDF1), Hex(0xA4BBD1),
       clNone, ssOffice2007},
      {gsOffice2007Obsidian, glOffice2007, Hex(0xF7F7F7), Hex(0xDEDEDE), Hex(0xF1C15E), Hex(0xD0D7E5),
       Hex(0x808080), clNone, ssOffice2007},
      {gsWindowsXP, glXP, plat::clBtnFace, plat::clBtnFace, plat::clHighlight, Hex(0xC0C0C0), Hex(0x808080), clNone,
       ssDefault},
      {gsOffice2007Silver, glOffice2007, Hex(0xF1F3F3), Hex(0xC8C9CA), Hex(0xF5C795), Hex(0xD0D7E5), Hex(0x808080),
       clNone, ssOffice2007},  // the look preset's selection style stays where the scheme lists none
      {gsWindowsVista, glVista, Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0xB6CAEA), Hex(0xF0ECEC), Hex(0xD1D2D4),
       Hex(0xF2F9FC), ssVista},
      {gsWindows7, glWin7, Hex(0xFAFCFD), Hex(0xE6F0FA), Hex(0xB6CAEA), Hex(0xF0ECEC), Hex(0xD1D2D4), Hex(0xF2F9FC),
       ssWin7},
      {gsOffice2010Blue, glOffice2007, Hex(0xDAE7F5), Hex(0xDAE7F5), Hex(0xB7DBFF), Hex(0xC0C0C0), Hex(0xA0B0C7),
       Hex(0xC7CED6), ssDefault},
      {gsOffice2010Silver, glOffice2007, Hex(0xDFE3E8), Hex(0xDFE3E8), Hex(0xB7DBFF), Hex(0xC0C0C0),
       Hex(0xB1B5BA), Hex(0xAAAAAA), ssDefault},
      {gsOffice2010Black, glOffice2007, Hex(0x6A6A6A), Hex(0x6A6A6A), Hex(0xB7DBFF), Hex(0xC0C0C0), Hex(0x444444),
       Hex(0xBABABA), ssDefault},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(int(k.style));
    TGridColors fresh;
    TControlLook look{nullptr};
    ConnectControlLook(look, fresh);
    SetGridStyle(fresh, look, k.style);
    EXPECT_EQ(fresh.Look, k.look);
    EXPECT_EQ(plat::ColorToRGB(fresh.Fixed.From), plat::ColorToRGB(k.from));
    EXPECT_EQ(plat::ColorToRGB(fresh.Fixed.To), plat::ColorToRGB(k.to));
    EXPECT_EQ(fresh.SelectionColor, k.selection);
    EXPECT_EQ(fresh.GridLineColor, k.gridLines);
    EXPECT_EQ(fresh.GridFixedLineColor, k.fixedLines);
    EXPECT_EQ(fresh.HeaderColor, k.header);
    EXPECT_EQ(fresh.SelectionStyle, k.selStyle);
  }
}

TEST_F(GridLookPresets, Office2010OnAnXPGridRunsTheLunaPresetFirstThenOverrides) {
  SetGridStyle(c, cl, gsOffice2010Blue);
  EXPECT_EQ(c.Look, glOffice2007);
  EXPECT_EQ(c.SelectionStyle, ssDefault);
  // Luna's hover set stays where 2010 lists its own; its grid lines are replaced.
  EXPECT_EQ(c.Fixed.HoverFrom, Hex(0xFFDF6B));
  EXPECT_EQ(c.GridLineColor, Hex(0xC0C0C0));
  EXPECT_EQ(c.ComponentStyle, controls::tsOffice2007Luna);
}

TEST_F(GridLookPresets, StylesThatListNoHoverColoursKeepTheEarlierOnes) {
  SetGridStyle(c, cl, gsWindowsVista);
  const TColor hover = c.Fixed.HoverFrom;
  SetGridStyle(c, cl, gsWhidbey);  // no look change, no hover colours
  EXPECT_EQ(c.Fixed.HoverFrom, hover);
  EXPECT_EQ(c.SelectionColor, plat::clHighlight);
}

TEST_F(GridLookPresets, ColourTonesMakeAFlatMetroGridAndAStyleTurnsTheBarsBack) {
  controls::TColorTones t;
  t.Background = {Hex(0xFFFFFF), Hex(0xCCCCCC), Hex(0x000000)};
  t.Foreground = {Hex(0x2B579A), Hex(0x2B579A), Hex(0xFFFFFF)};
  t.Selected = {Hex(0xCDE6F7), Hex(0xCDE6F7), Hex(0x000000)};
  SetGridColorTones(c, cl, t);
  EXPECT_TRUE(c.Flat);
  EXPECT_EQ(c.ScrollType, ssMetro);
  EXPECT_EQ(c.Look, glClassic);
  EXPECT_EQ(c.FixedColor, Hex(0x2B579A));
  EXPECT_EQ(c.SelectionColor, Hex(0xCDE6F7));
  EXPECT_EQ(c.GridFixedLineColor, controls::ChangeColorPercent(Hex(0x2B579A), -20));
  EXPECT_EQ(cl.ControlStyle(), csGlyph);
  EXPECT_TRUE(cl.FlatButton());
  EXPECT_FALSE(c.BorderSingle);
  SetGridComponentStyle(c, cl, controls::tsCustom);
  EXPECT_EQ(c.ScrollType, ssMetro);
  SetGridComponentStyle(c, cl, controls::tsOffice2003Blue);
  EXPECT_EQ(c.ScrollType, ssNormal);
}

TEST_F(GridLookPresets, XPSchemesAsATable) {
  const struct { TXPColorScheme scheme; TColor from, to, active, footerTo; } cases[] = {
      {xpBlue, Hex(0xCBE1FC), Hex(0x7DA5E0), Hex(0xFBE694), Hex(0x7DA5E0)},
      {xpGreen, Hex(0xEAF0CF), Hex(0xB1C08C), Hex(0xFBE694), Hex(0xB1C08C)},
      {xpGray, Hex(0xE1E2EC), Hex(0x9896B3), Hex(0xFBE694), Hex(0x9896B3)},
      {vistaAero, Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0xFBE694), Hex(0x9896B3)},
      {xpNone, Hex(0xFFFFFF), plat::clBtnFace, Hex(0xFFFFFF), Hex(0xB3D9FF)},
  };
  for (const auto& k : cases) {
    SetGridTheme(c, cl, k.scheme);
    EXPECT_EQ(c.Fixed.From, k.from);
    EXPECT_EQ(plat::ColorToRGB(c.Fixed.To), plat::ColorToRGB(k.to));
    EXPECT_EQ(c.ActiveCellColor, k.active);
    EXPECT_EQ(c.FooterColorTo, k.footerTo);
  }
  EXPECT_EQ(cl.FixedGradientFrom(), clNone);  // xpNone stores none in the control look
}

TEST_F(GridLookPresets, OfficeThemesMapToStylesAndAnUnknownThemeChangesNothing) {
  EXPECT_FALSE(AdaptToOfficeTheme(c, cl, controls::otUnknown));
  EXPECT_EQ(c.Look, glXP);
  EXPECT_TRUE(AdaptToOfficeTheme(c, cl, controls::ot2007Black));
  EXPECT_EQ(c.ComponentStyle, controls::tsOffice2007Obsidian);
  EXPECT_EQ(c.Fixed.From, Hex(0xF7F7F7));
  EXPECT_FALSE(AdaptToOfficeTheme(c, cl, controls::ot2007Black));  // same theme again
}

TEST_F(GridLookPresets, ControlLookColoursWriteThroughAsRGBAndSkipNone) {
  cl.SetFixedGradientFrom(plat::clBtnFace);
  EXPECT_EQ(c.Fixed.From, plat::ColorToRGB(plat::clBtnFace));
  cl.SetFixedGradientTo(clNone);
  EXPECT_NE(c.Fixed.To, clNone);
  cl.SetFixedGradientMirrorTo(clNone);
  EXPECT_EQ(c.Fixed.MirrorTo, clNone);
  cl.SetFixedGradientHoverFrom(Hex(0x010203));
  EXPECT_EQ(c.Fixed.HoverFrom, Hex(0x010203));
}

}  // namespace
}  // namespace grid
