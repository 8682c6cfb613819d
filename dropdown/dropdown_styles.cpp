// The component styles of the drop-downs as tables of colours, the selection colour styles and the gradient
// routines the descendants draw with.
#include "dropdown/dropdown_styles.h"

#include <array>

#include "controls/draw_utils.h"
#include "dropdown/button_appearance.h"
#include "dropdown/ext_dropdown.h"
#include "dropdown/paint_routines.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/gdivalues.h"

namespace dropdown {

using namespace plat;
using namespace controls;

namespace {

constexpr TColor Keep = 0x2FFFFFFF;  // a table entry that leaves the colour as it is

struct TBarStyle {
  TExtStyle Style;
  TColor DropDownColor, DropDownColorTo, DropDownBorderColor;
  TColor BarColor, BarColorTo, BarFont, HeaderBorder, FooterBorder;
};

// Popup and bars; the footer's border differs only for the 2003 blue style.
constexpr std::array<TBarStyle, 15> BarStyles{{
    {tsOffice2003Blue, RGB(255, 255, 255), clNone, Keep, RGB(203, 225, 252), RGB(125, 165, 224), RGB(0, 0, 0),
     RGB(0, 0, 0), RGB(0, 45, 150)},
    {tsOffice2003Silver, RGB(255, 255, 255), clNone, Keep, RGB(225, 226, 236), RGB(152, 150, 179), RGB(0, 0, 0),
     RGB(124, 124, 148), RGB(124, 124, 148)},
    {tsOffice2003Olive, RGB(255, 255, 255), clNone, clNone, RGB(234, 240, 207), RGB(177, 192, 140), RGB(0, 0, 0),
     RGB(96, 128, 88), RGB(96, 128, 88)},
    {tsOffice2003Classic, RGB(242, 242, 242), RGB(242, 242, 242), clNone, RGB(128, 128, 128), RGB(128, 128, 128),
     RGB(255, 255, 255), RGB(128, 128, 128), RGB(128, 128, 128)},
    {tsOffice2007Luna, RGB(218, 229, 243), RGB(208, 222, 240), clNone, RGB(227, 239, 255), RGB(175, 210, 255),
     RGB(8, 55, 114), RGB(175, 210, 255), RGB(175, 210, 255)},
    {tsOffice2007Obsidian, RGB(255, 255, 255), clNone, clNone, RGB(240, 241, 242), RGB(189, 194, 201),
     RGB(55, 60, 67), RGB(76, 83, 92), RGB(76, 83, 92)},
    {tsWindowsXP, RGB(255, 255, 255), clNone, Keep, RGB(255, 255, 255), clBtnFace, RGB(0, 0, 0),
     RGB(128, 128, 128), RGB(128, 128, 128)},
    {tsWhidbey, RGB(250, 249, 245), RGB(250, 249, 245), clNone, RGB(239, 238, 235), RGB(152, 152, 126),
     RGB(255, 255, 255), RGB(0, 45, 150), RGB(0, 45, 150)},
    {tsOffice2007Silver, RGB(241, 244, 248), RGB(227, 232, 240), clNone, RGB(246, 247, 248), RGB(219, 224, 232),
     RGB(21, 66, 139), RGB(111, 112, 116), RGB(111, 112, 116)},
    {tsWindowsVista, RGB(255, 255, 255), RGB(255, 255, 255), RGB(151, 151, 151), RGB(249, 253, 255),
     RGB(240, 250, 255), RGB(0, 0, 0), RGB(218, 242, 252), RGB(218, 242, 252)},
    {tsWindows7, RGB(255, 255, 255), RGB(255, 255, 255), RGB(151, 151, 151), RGB(250, 251, 253),
     RGB(235, 243, 253), RGB(0, 0, 0), RGB(184, 214, 251), RGB(184, 214, 251)},
    {tsTerminal, RGB(255, 255, 255), RGB(255, 255, 255), RGB(128, 128, 128), clBtnFace, clBtnFace, RGB(0, 0, 0),
     clNone, clNone},
    {tsOffice2010Blue, RGB(255, 255, 255), RGB(237, 239, 241), RGB(236, 237, 237), RGB(239, 246, 253),
     RGB(199, 218, 240), RGB(30, 57, 91), RGB(159, 178, 199), RGB(159, 178, 199)},
    {tsOffice2010Silver, RGB(255, 255, 255), RGB(237, 239, 241), RGB(236, 237, 237), RGB(255, 255, 255),
     RGB(224, 229, 237), RGB(30, 57, 91), RGB(200, 205, 210), RGB(200, 205, 210)},
    {tsOffice2010Black, RGB(255, 255, 255), RGB(237, 239, 241), RGB(236, 237, 237), RGB(191, 191, 191),
     RGB(145, 145, 145), RGB(214, 215, 215), RGB(109, 109, 109), RGB(109, 109, 109)},
}};

struct TStateColors {
  TColor Hot, HotTo, HotBorder, Down, DownTo, DownBorder, Disabled, DisabledTo, Checked, CheckedTo, CheckedBorder;
};

constexpr TStateColors WarmSet{RGB(255, 253, 235), RGB(255, 236, 172), RGB(219, 206, 153), RGB(255, 217, 170),
                               RGB(255, 187, 110), RGB(254, 174, 66),  RGB(242, 242, 242), RGB(182, 182, 182),
                               RGB(241, 175, 118), RGB(243, 144, 65),  RGB(123, 102, 69)};
constexpr TStateColors Set2010{RGB(253, 227, 138), clNone, RGB(241, 202, 88), RGB(255, 208, 108), clNone,
                               RGB(194, 138, 48),  RGB(242, 242, 242), RGB(182, 182, 182), RGB(254, 225, 69),
                               clNone,             RGB(206, 160, 79)};

struct TButtonStyle {
  TExtStyle Style;
  TColor Color, ColorTo, BorderColor;
  TStateColors States;
};

constexpr std::array<TButtonStyle, 15> ButtonStyles{{
    {tsOffice2003Blue, RGB(203, 225, 252), RGB(125, 165, 224), clNone, WarmSet},
    {tsOffice2003Silver, RGB(225, 226, 236), RGB(152, 150, 179), clNone, WarmSet},
    {tsOffice2003Olive, RGB(234, 240, 207), RGB(177, 192, 140), clNone, WarmSet},
    {tsOffice2003Classic, RGB(255, 255, 255), RGB(213, 209, 201), clNone,
     {RGB(182, 189, 210), RGB(182, 189, 210), RGB(128, 128, 128), RGB(133, 146, 181), RGB(133, 146, 181),
      RGB(128, 128, 128), RGB(212, 213, 216), RGB(212, 213, 216), RGB(212, 213, 216), RGB(212, 213, 216),
      RGB(128, 128, 128)}},
    {tsOffice2007Luna, RGB(227, 239, 255), RGB(196, 221, 255), clNone, WarmSet},
    {tsOffice2007Obsidian, RGB(240, 241, 242), RGB(189, 194, 201), clNone, WarmSet},
    {tsWindowsXP, RGB(255, 255, 255), clBtnFace, clNone,
     {RGB(198, 211, 239), RGB(198, 211, 239), clHighlight, clInactiveCaption, clInactiveCaption, clHighlight,
      RGB(182, 182, 182), RGB(182, 182, 182), RGB(220, 216, 185), RGB(220, 216, 185), RGB(0, 0, 0)}},
    {tsWhidbey, RGB(255, 255, 255), RGB(240, 237, 223), clNone, WarmSet},
    {tsOffice2007Silver, RGB(248, 248, 249), RGB(223, 226, 228), clNone, WarmSet},
    {tsWindowsVista, RGB(249, 253, 255), RGB(240, 250, 255), RGB(218, 242, 252),
     {RGB(240, 249, 254), RGB(240, 250, 255), RGB(218, 242, 252), RGB(240, 249, 254), RGB(215, 240, 253),
      RGB(154, 223, 254), RGB(255, 255, 255), RGB(255, 255, 255), RGB(240, 249, 254), RGB(215, 240, 253),
      RGB(154, 223, 254)}},
    {tsWindows7, RGB(250, 251, 253), RGB(235, 243, 253), RGB(184, 214, 251),
     {RGB(250, 251, 253), RGB(235, 243, 253), RGB(184, 214, 251), RGB(220, 235, 252), RGB(193, 219, 252),
      RGB(125, 162, 206), RGB(255, 255, 255), RGB(255, 255, 255), RGB(240, 249, 254), RGB(193, 219, 252),
      RGB(125, 162, 206)}},
    {tsTerminal, clBtnFace, clBtnFace, clNone,
     {RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), clHighlight, clHighlight, RGB(128, 128, 128),
      clBtnFace, clBtnFace, clBtnFace, clBtnFace, clHighlight}},
    {tsOffice2010Blue, RGB(239, 246, 253), RGB(199, 218, 240), RGB(159, 178, 199), Set2010},
    {tsOffice2010Silver, RGB(255, 255, 255), RGB(224, 229, 237), RGB(200, 205, 210), Set2010},
    {tsOffice2010Black, RGB(191, 191, 191), RGB(145, 145, 145), RGB(214, 215, 215), Set2010},
}};

void ApplyButtonStyle(TExtButtonAppearance& a, const TButtonStyle& s) {
  a.SetColor(s.Color);
  a.SetColorTo(s.ColorTo);
  a.SetBorderColor(s.BorderColor);
  a.SetColorHot(s.States.Hot);
  a.SetColorHotTo(s.States.HotTo);
  a.SetBorderColorHot(s.States.HotBorder);
  a.SetColorDown(s.States.Down);
  a.SetColorDownTo(s.States.DownTo);
  a.SetBorderColorDown(s.States.DownBorder);
  a.SetColorDisabled(s.States.Disabled);
  a.SetColorDisabledTo(s.States.DisabledTo);
  a.SetColorChecked(s.States.Checked);
  a.SetColorCheckedTo(s.States.CheckedTo);
  a.SetBorderColorChecked(s.States.CheckedBorder);
}

// The rounded selection box colours of the selection styles: inner corner, outer edge, lower inner line,
// upper inner line and the lower half's gradient.
struct TSelectionLook {
  TColor Light, Dark, InnerCorner, OuterEdge, LowerLine, UpperLine, LowerFrom, LowerTo;
};

constexpr TSelectionLook SelectionLooks[] = {
    {clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone},
    {RGB(253, 255, 215), RGB(252, 212, 88), RGB(223, 217, 195), RGB(211, 215, 141), RGB(255, 248, 202),
     RGB(255, 254, 244), RGB(252, 212, 88), RGB(252, 241, 179)},
    {RGB(241, 248, 253), RGB(213, 239, 252), RGB(203, 237, 252), RGB(153, 222, 253), RGB(231, 245, 253),
     RGB(246, 251, 253), clNone, clNone},
    {RGB(220, 235, 252), RGB(193, 219, 252), RGB(174, 197, 224), RGB(125, 162, 206), RGB(219, 234, 253),
     RGB(235, 244, 253), clNone, clNone},
};

}  // namespace

void TExtCustomDropDown::ApplyStyleTables(TExtStyle AStyle) {
  for (const TBarStyle& s : BarStyles) {
    if (s.Style != AStyle) continue;
    FDropDownColor = s.DropDownColor;
    FDropDownColorTo = s.DropDownColorTo;
    if (s.DropDownBorderColor != Keep) FDropDownBorderColor = s.DropDownBorderColor;
    FDropDownHeader->Color = s.BarColor;
    FDropDownHeader->ColorTo = s.BarColorTo;
    FDropDownHeader->Font()->SetColor(s.BarFont);
    FDropDownHeader->BorderColor = s.HeaderBorder;
    const bool swap = AStyle == tsWindowsVista;
    FDropDownFooter->Color = swap ? s.BarColorTo : s.BarColor;
    FDropDownFooter->ColorTo = swap ? s.BarColor : s.BarColorTo;
    FDropDownFooter->Font()->SetColor(s.BarFont);
    FDropDownFooter->BorderColor = s.FooterBorder;
  }
  for (const TButtonStyle& s : ButtonStyles) {
    if (s.Style == AStyle) ApplyButtonStyle(*FButtonAppearance, s);
  }
}

void TExtCustomDropDown::SetComponentStyle(TExtStyle AStyle) {
  FExtStyle = AStyle;
  if (AStyle == tsCustom) return;
  ApplyStyleTables(AStyle);
}

void TExtCustomDropDown::SetColorTones(TColorTones ATones) {
  if (FButton) {
    FButton->ButtonColor = ATones.Background.BrushColor;
    FButton->ButtonColorHot = ATones.Hover.BrushColor;
    FButton->ButtonColorDown = ATones.Selected.BrushColor;
    FButton->ButtonBorderColor = ATones.Background.BorderColor;
  }
  SetBorderColor(ATones.Background.BorderColor);
}

void TExtCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  FSelectionColorStyle = Value;
  if (Value == scCustom) return;
  FSelectionColor = SelectionLooks[Value].Light;
  FSelectionColorTo = SelectionLooks[Value].Dark;
}

void TExtCustomDropDown::DrawSelectionBackground(TCanvas& Canvas, const TRect& Rect, int Join, TColor CornerColor) {
  if (FSelectionColorStyle == scCustom) {
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(FSelectionColor);
    Canvas.Pen()->SetColor(FSelectionColor);
    Canvas.FillRect(Rect);
    return;
  }
  const TSelectionLook& l = SelectionLooks[FSelectionColorStyle];
  DrawRoundedSelection(Canvas, FSelectionColor, FSelectionColorTo, l.LowerFrom, l.LowerTo, l.UpperLine, l.LowerLine,
                       l.OuterEdge, l.InnerCorner, CornerColor, Rect, Join);
}

void TExtCustomDropDown::DrawGradient(TCanvas& Canvas, TColor Color, TColor ColorTo, TGradientDirection Direction,
                                      const TRect& Rect, int Steps) {
  DrawDropDownGradient(Canvas, Color, ColorTo, Direction == gdHorizontal, Rect, Steps);
}

void SetItemAppearanceStyle(TItemAppearanceColors* Appearance, TExtStyle Style) {
  if (!Appearance || Style == tsCustom) return;
  TItemAppearanceColors& a = *Appearance;
  a.BorderColorHot = clNone;
  a.BorderColorSelected = clNone;
  a.ColorSelectedText = RGB(0, 0, 0);
  a.ColorHotText = RGB(0, 0, 0);
  auto set = [&](TColor hot, TColor hotTo, TColor mHot, TColor mHotTo, TColor sel, TColor selTo, TColor mSel,
                 TColor mSelTo, TColor border) {
    a.ColorHot = hot, a.ColorHotTo = hotTo, a.ColorMirrorHot = mHot, a.ColorMirrorHotTo = mHotTo;
    a.ColorSelected = sel, a.ColorSelectedTo = selTo, a.ColorMirrorSelected = mSel, a.ColorMirrorSelectedTo = mSelTo;
    a.BorderColor = border;
  };
  auto edges = [&](TColor top, TColor bottom, TColor edge) {
    a.BorderColorTop = top, a.BorderColorBottom = bottom, a.EdgeColor = edge;
  };
  auto warm = [&] {
    set(RGB(255, 253, 235), RGB(255, 236, 172), RGB(255, 218, 89), RGB(255, 233, 164), RGB(255, 217, 170),
        RGB(255, 187, 110), RGB(254, 174, 66), RGB(254, 225, 122), RGB(254, 174, 66));
  };
  switch (Style) {
    case tsOffice2003Blue:
    case tsOffice2003Silver:
    case tsOffice2003Olive:
    case tsWhidbey:
      warm();
      edges(clNone, clNone, clNone);
      break;
    case tsOffice2007Luna:
    case tsOffice2007Obsidian:
    case tsOffice2007Silver:
      warm();
      edges(RGB(255, 254, 244), RGB(255, 248, 202), RGB(223, 217, 195));
      break;
    case tsOffice2003Classic:
      set(RGB(182, 189, 210), RGB(182, 189, 210), clNone, clNone, RGB(133, 146, 181), RGB(133, 146, 181), clNone,
          clNone, RGB(128, 128, 128));
      edges(clNone, clNone, clNone);
      break;
    case tsWindowsXP:
      set(RGB(198, 211, 239), RGB(198, 211, 239), clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight);
      a.ColorSelectedText = clHighlightText;
      edges(clNone, clNone, clNone);
      break;
    case tsWindowsVista:
      set(RGB(249, 253, 255), RGB(240, 250, 255), clNone, clNone, RGB(240, 249, 254), RGB(215, 240, 253), clNone,
          clNone, RGB(154, 223, 254));
      edges(RGB(246, 251, 253), RGB(231, 245, 253), RGB(203, 237, 252));
      break;
    case tsWindows7:
      set(RGB(250, 251, 253), RGB(235, 243, 253), clNone, clNone, RGB(220, 235, 252), RGB(193, 219, 252), clNone,
          clNone, RGB(125, 162, 206));
      edges(RGB(235, 244, 253), RGB(219, 234, 253), RGB(174, 197, 224));
      break;
    case tsTerminal:
      set(RGB(192, 192, 192), RGB(192, 192, 192), clNone, clNone, clHighlight, clNone, clNone, clNone,
          RGB(128, 128, 128));
      a.ColorSelectedText = clHighlightText;
      edges(clNone, clNone, clNone);
      break;
    case tsOffice2010Blue:
    case tsOffice2010Silver:
    case tsOffice2010Black:
      set(RGB(253, 249, 217), RGB(253, 227, 138), RGB(253, 227, 138), RGB(253, 249, 217), RGB(255, 238, 123),
          RGB(255, 208, 108), RGB(255, 208, 108), RGB(255, 238, 123), RGB(194, 138, 48));
      a.ColorSelectedText = RGB(0, 0, 0);
      edges(clNone, clNone, clNone);
      break;
    case tsCustom: break;
  }
}

}  // namespace dropdown
