// The hand-drawn classic look and the themed painter behind the platform facts.
#include <gtest/gtest.h>

#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::BoundingBox;
using plat::testing::BoundingBoxExcept;
using plat::testing::CountColour;
using plat::testing::ExpectPixel;

namespace {

TEST(ClassicTest, EdgeColoursByRing) {
  struct Case {
    unsigned edge, flags;
    TColor outerTL, innerTL, outerBR, innerBR;
  };
  const Case cases[] = {
      {EDGE_RAISED, BF_RECT, cl3DLight, clBtnHighlight, cl3DDkShadow, clBtnShadow},
      {EDGE_RAISED, BF_RECT | BF_SOFT, clBtnHighlight, cl3DLight, cl3DDkShadow, clBtnShadow},
      {EDGE_SUNKEN, BF_RECT, clBtnShadow, cl3DDkShadow, clBtnHighlight, cl3DLight},
      {EDGE_ETCHED, BF_RECT, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow},
      {EDGE_RAISED, BF_RECT | BF_FLAT, clBtnShadow, clBtnFace, clBtnShadow, clBtnFace},
      {EDGE_SUNKEN, BF_RECT | BF_MONO, clWindowFrame, clWindow, clWindowFrame, clWindow},
  };
  SetSystemColor(COLOR_BTNHIGHLIGHT, RGB(0xFE, 0xFE, 0xFE));  // tell highlight from the white background
  for (const auto& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.edge << "/" << k.flags);
    TBitmap b(12, 12);
    TRect r(1, 1, 11, 11);
    EXPECT_TRUE(DrawEdge(b.Canvas(), r, k.edge, k.flags));
    EXPECT_EQ(r, Rect(1, 1, 11, 11));  // no BF_ADJUST
    EXPECT_TRUE(ExpectPixel(b, 1, 5, k.outerTL));
    EXPECT_TRUE(ExpectPixel(b, 5, 1, k.outerTL));
    EXPECT_TRUE(ExpectPixel(b, 2, 5, k.innerTL));
    EXPECT_TRUE(ExpectPixel(b, 10, 5, k.outerBR));
    EXPECT_TRUE(ExpectPixel(b, 5, 10, k.outerBR));
    EXPECT_TRUE(ExpectPixel(b, 9, 5, k.innerBR));
    // The bottom and right lines own the corners they share with the top and left ones.
    EXPECT_TRUE(ExpectPixel(b, 10, 1, k.outerBR));
    EXPECT_TRUE(ExpectPixel(b, 1, 10, k.outerBR));
    EXPECT_TRUE(ExpectPixel(b, 5, 5, clWhite));  // no BF_MIDDLE
    EXPECT_EQ(BoundingBoxExcept(b.Image(), clWhite).Left, 1);
  }
  ResetSystemColors();
}

TEST(ClassicTest, EdgeAdjustsAndFillsTheMiddle) {
  TBitmap b(12, 12);
  TRect r(0, 0, 12, 12);
  DrawEdge(b.Canvas(), r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
  EXPECT_EQ(r, Rect(2, 2, 10, 10));
  EXPECT_TRUE(plat::testing::ExpectRectFilled(b, Rect(2, 2, 10, 10), clBtnFace));
  TRect side(0, 0, 12, 12);
  DrawEdge(b.Canvas(), side, BDR_RAISEDINNER, BF_LEFT | BF_ADJUST);
  EXPECT_EQ(side, Rect(1, 0, 12, 12));
}

TEST(ClassicTest, CheckBoxStates) {
  struct Case {
    unsigned state;
    TColor back, mark;  // clNone: no mark
  };
  const Case cases[] = {
      {DFCS_BUTTONCHECK, clWindow, clNone},
      {DFCS_BUTTONCHECK | DFCS_CHECKED, clWindow, clWindowText},
      {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, clBtnFace, clGrayText},
      {DFCS_BUTTON3STATE | DFCS_CHECKED, clBtnFace, clBtnShadow},
      {DFCS_BUTTONCHECK | DFCS_PUSHED, clBtnFace, clNone},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.state);
    TBitmap b(20, 16);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 20, 16));
    EXPECT_TRUE(DrawFrameControl(b.Canvas(), Rect(2, 1, 15, 14), DFC_BUTTON, k.state));
    EXPECT_EQ(BoundingBoxExcept(b.Image(), clRed), Rect(2, 1, 15, 14));
    EXPECT_TRUE(ExpectPixel(b, 4, 3, k.back));  // inside corner of the box
    if (k.mark == clNone) {
      EXPECT_EQ(CountColour(b, clWindowText, Rect(4, 3, 13, 12)), 0);
    } else {
      EXPECT_EQ(CountColour(b, k.mark, Rect(4, 3, 13, 12)), 21);  // seven columns of three
    }
  }
}

// A classic radio button is sunken in two rings and its dot is round: a 4 x 4 square without its corners.
TEST(ClassicTest, RadioButtonHasTwoRingsAndARoundDot) {
  TBitmap b(16, 16);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 16, 16));
  EXPECT_TRUE(DrawFrameControl(b.Canvas(), Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));
  EXPECT_EQ(CountColour(b, clWindowText, Rect(4, 4, 8, 8)), 12);
  for (TPoint corner : {TPoint(4, 4), TPoint(7, 4), TPoint(4, 7), TPoint(7, 7)})
    EXPECT_TRUE(ExpectPixel(b, corner.X, corner.Y, clWindow)) << corner.X << "," << corner.Y;
  EXPECT_GT(CountColour(b, clBtnShadow, Rect(0, 0, 6, 6)), 0);   // outer ring, upper left
  EXPECT_GT(CountColour(b, cl3DDkShadow, Rect(1, 1, 4, 4)), 0);  // inner ring, upper left
  EXPECT_GT(CountColour(b, clBtnFace, Rect(7, 7, 12, 12)), 0);   // inner ring, lower right
}

TEST(ClassicTest, ScrollArrowsPointTheirWay) {
  struct Case {
    unsigned kind;
    bool wideFirst;  // the first row (or column) of the glyph is its base
    bool vertical;
  };
  const Case cases[] = {
      {DFCS_SCROLLUP, false, true},
      {DFCS_SCROLLDOWN, true, true},
      {DFCS_SCROLLCOMBOBOX, true, true},
      {DFCS_SCROLLLEFT, false, false},
      {DFCS_SCROLLRIGHT, true, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.kind);
    TBitmap b(16, 16);
    DrawFrameControl(b.Canvas(), Rect(0, 0, 16, 16), DFC_SCROLL, k.kind);
    TRect g = BoundingBox(b, clBtnText);
    ASSERT_FALSE(g.IsEmpty());
    int along = k.vertical ? g.Height() : g.Width();
    int across = k.vertical ? g.Width() : g.Height();
    EXPECT_EQ(across, 2 * along - 1);
    TRect first = k.vertical ? Rect(0, g.Top, 16, g.Top + 1) : Rect(g.Left, 0, g.Left + 1, 16);
    EXPECT_EQ(CountColour(b, clBtnText, first) == across, k.wideFirst);
  }
  TBitmap b(16, 16);
  EXPECT_FALSE(DrawFrameControl(b.Canvas(), Rect(0, 0, 16, 16), DFC_MENU, 0));
}

TEST(ThemesTest, OpenThemeDataFollowsTheFacts) {
  TPlatformFactsScope scope;
  HTHEME h = OpenThemeData(nullptr, QStringLiteral("BUTTON"));
  EXPECT_NE(h, 0);
  EXPECT_EQ(ThemeClassName(h), QStringLiteral("button"));
  CloseThemeData(h);
  EXPECT_EQ(ThemeClassName(h), QString());
  struct Case {
    const char* list;
    const char* cls;
  };
  const Case cases[] = {{"Explorer::TreeView", "treeview"}, {"nothing;combobox", "combobox"}, {"Nothing", ""}};
  for (const auto& k : cases) {
    HTHEME t = OpenThemeData(nullptr, QString::fromUtf8(k.list));
    EXPECT_EQ(ThemeClassName(t), QString::fromUtf8(k.cls)) << k.list;
    EXPECT_EQ(t != 0, *k.cls != 0);
    CloseThemeData(t);
  }
  PlatformFacts().ThemesActive = false;
  EXPECT_FALSE(IsThemeActive());
  EXPECT_FALSE(ThemeServices().ThemesEnabled());
  EXPECT_EQ(OpenThemeData(nullptr, QStringLiteral("button")), 0);
  QString scheme;
  EXPECT_FALSE(GetCurrentThemeName(nullptr, &scheme, nullptr));
  ResetPlatformFacts();
  EXPECT_TRUE(GetCurrentThemeName(nullptr, &scheme, nullptr));
  EXPECT_EQ(scheme, QStringLiteral("NormalColor"));
}

TEST(ThemesTest, ThemedPartsDrawInsideTheirRectangle) {
  struct Case {
    const char* cls;
    int part, state;
  };
  const Case cases[] = {
      {"button", BP_PUSHBUTTON, PBS_HOT},        {"button", BP_CHECKBOX, CBS_CHECKEDNORMAL},
      {"button", BP_RADIOBUTTON, RBS_CHECKEDHOT}, {"combobox", CP_DROPDOWNBUTTON, CBXS_PRESSED},
      {"spin", SPNP_DOWN, UPS_NORMAL},           {"header", HP_HEADERITEM, HIS_HOT},
      {"progress", PP_CHUNK, 1},                 {"treeview", TVP_GLYPH, GLPS_CLOSED},
      {"treeview", TVP_TREEITEM, TREIS_HOTSELECTED},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.cls << " " << k.part << "/" << k.state);
    TBitmap b(30, 30);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 30, 30));
    TRecordingTracer tracer;
    b.Canvas()->SetTracer(&tracer);
    HTHEME h = OpenThemeData(nullptr, QString::fromUtf8(k.cls));
    EXPECT_EQ(DrawThemeBackground(h, b.Canvas(), k.part, k.state, Rect(5, 5, 25, 20), nullptr), S_OK);
    TRect box = BoundingBoxExcept(b.Image(), clRed);
    EXPECT_FALSE(box.IsEmpty());
    EXPECT_GE(box.Left, 5);
    EXPECT_GE(box.Top, 5);
    EXPECT_LE(box.Right, 25);
    EXPECT_LE(box.Bottom, 20);
    ASSERT_EQ(tracer.Count(TraceKind::ThemePart), 1);
    EXPECT_EQ(tracer.Records.back().Text, QString::fromUtf8(k.cls));
    // The clip rectangle limits the drawing.
    b.Canvas()->FillRect(Rect(0, 0, 30, 30));
    TRect clip(5, 5, 10, 10);
    DrawThemeBackground(h, b.Canvas(), k.part, k.state, Rect(5, 5, 25, 20), &clip);
    TRect clipped = BoundingBoxExcept(b.Image(), clRed);
    EXPECT_LE(clipped.Right, 10);
    EXPECT_LE(clipped.Bottom, 10);
    EXPECT_FALSE(b.Canvas()->HasClip());
    CloseThemeData(h);
    EXPECT_EQ(DrawThemeBackground(h, b.Canvas(), k.part, k.state, Rect(5, 5, 25, 20), nullptr), E_FAIL);
  }
  TBitmap b(10, 10);
  HTHEME h = OpenThemeData(nullptr, QStringLiteral("button"));
  EXPECT_EQ(DrawThemeBackground(h, b.Canvas(), 99, 1, Rect(0, 0, 10, 10), nullptr), E_FAIL);
  CloseThemeData(h);
  EXPECT_TRUE(ThemeServices().DrawElement(b.Canvas(), {QStringLiteral("button"), BP_PUSHBUTTON, PBS_NORMAL},
                                          Rect(0, 0, 10, 10)));
}

}  // namespace
