// The clock's named looks (Style) and its colour sets per component style (SetComponentStyle).

#include <algorithm>
#include <optional>

#include "dropdown/clock.h"
#include "platform/rtl/math.h"

namespace dropdown {

using namespace plat;
using namespace controls;

namespace {

constexpr TColor kWindowText = clWindowText;  // 0xFF000008
constexpr TColor kBtnFace = clBtnFace;        // 0xFF00000F
constexpr TColor kBtnShadow = clBtnShadow;    // 0xFF000010

struct TFontLook {
  QString Name;
  int Size = 0;                     // 0: keep
  std::optional<bool> Bold;         // unset: keep
  std::optional<TColor> Color;      // unset: keep
};

void Look(TFont& f, const TFontLook& L) {
  if (!L.Name.isEmpty()) f.SetName(L.Name);
  if (L.Size > 0) f.SetSize(L.Size);
  if (L.Bold) f.SetStyle(*L.Bold ? TFontStyles{fsBold} : TFontStyles{});
  if (L.Color) f.SetColor(*L.Color);
}

}  // namespace

void TExtWatch::SetStyle(TWatchStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  TWatchAppearance& a = *FAppearance;
  a.ResetDefaults();
  auto hourFont = [&](const TFontLook& L) {
    TFont f;
    f.Assign(*a.HourFont());
    Look(f, L);
    a.SetHourFont(f);
  };
  auto ampmFont = [&](const TFontLook& L) {
    TFont f;
    f.Assign(*a.AMPMFont());
    Look(f, L);
    a.SetAMPMFont(f);
  };
  const QString sansSerif = QStringLiteral("MS Sans Serif");
  const int side = std::min(Width(), Height());
  switch (Value) {
    case wsClassic:
      ampmFont({sansSerif, 0, false, {}});
      hourFont({QStringLiteral("Comic Sans MS"), 10, true, {}});
      a.SetHourMarkLength(8);
      a.SetHourPointer(0);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetHourPointerSize(5);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetMinuteMarkLength(4);
      FAnimation = true;
      FAnimationFactor = 10;
      FShowAMPM = true;
      FShowNumbers = true;
      break;
    case wsTower:
      ampmFont({sansSerif, 0, false, {}});
      a.SetAMPMFrame(apRect);
      a.SetBorderWidth(1);
      a.SetBackgroundColor(0xB1F0FE);
      a.SetBackgroundColorTo(0x5BCCE8);
      a.SetBackgroundGradient(wgDiagonalForward);
      a.SetCenterPointColor(0x002BD5);
      a.SetCenterPointSize(6);
      hourFont({QStringLiteral("Century"), 0, true, kWindowText});
      a.SetHourPointer(0);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetHourPointerSize(5);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetSecondPointer(0x002BD5);
      a.SetShape(wsRect);
      a.SetPointerStyle(psPointer);
      a.SetAMPMColorDirect(0xB1F0FE);
      a.SetTickMarks(tmHours);
      FShowNumbers = false;
      break;
    case wsFluorescent:
      ampmFont({sansSerif, 10, false, kWindowText});
      a.SetAMPMFrame(apRoundRect);
      a.SetBorderColor(0xFF3E3E);
      a.SetBackgroundColor(0);
      a.SetBackgroundColorTo(0);
      a.SetCenterPointColor(0xFF3E3E);
      a.SetCenterPointBorderColor(0);
      a.SetCenterPointOuterBorderColor(0);
      a.SetCenterPointSize(20);
      hourFont({sansSerif, 8, false, kWindowText});
      a.SetHourColor(0xFF3E3E);
      a.SetHourPointer(0xFF3E3E);
      a.SetMinuteColor(0xFF3E3E);
      a.SetMinutePointer(0xFF3E3E);
      a.SetHourMarkLength(10);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetHourPointerSize(2);
      a.SetMinutePointerSize(2);
      a.SetShape(wsRoundRect);
      a.SetHourMarkWidth(2);
      a.SetHourMarkStyle(hmsQuartDblLine);
      a.SetTickMarks(tmHours);
      FShowAMPM = false;
      FShowNumbers = false;
      break;
    case wsEmerald:
      ampmFont({sansSerif, 0, false, 0xA00000});
      a.SetAMPMFrame(apRoundRect);
      a.SetBorderColor(0x3AE800);
      a.SetBackgroundColor(0x3AE800);
      a.SetBackgroundColorTo(0);
      a.SetBackgroundGradient(wgDiagonalForward);
      a.SetCenterPointBorderColor(0x40FF00);
      a.SetCenterPointColor(0x38E100);
      a.SetCenterPointSize(16);
      hourFont({sansSerif, 0, false, 0x3AE800});
      a.SetHourPointer(0x40FF00);
      a.SetMinutePointer(0x40FF00);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetHourPointerSize(5);
      a.SetShape(wsRect);
      a.SetPointerStyle(psPointer);
      a.SetAMPMColorDirect(clNone);
      a.SetCenterPointOuterBorderColor(0);
      a.SetHourMarkStyle(hmsQuartDblLine);
      a.SetHourColor(0x3AE800);
      a.SetSecondPointer(0x00FFFF);
      a.SetTickMarks(tmHours);
      FShowNumbers = false;
      FShowAMPM = false;
      break;
    case wsBlueStar:
      ampmFont({sansSerif, 10, false, 0xA00000});
      a.SetAMPMBorderColorDirect(clNone);
      a.SetAMPMFrame(apRoundRect);
      a.SetBorderColor(0xFFD5D5);
      a.SetBackgroundColor(0xFFD5D5);
      a.SetBackgroundColorTo(0xA00000);
      a.SetBackgroundGradient(wgRadial);
      hourFont({sansSerif, 8, false, 0xFFD5D5});
      a.SetHourPointer(0xA00000);
      a.SetMinutePointer(0xA00000);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetHourPointerSize(5);
      a.SetShape(wsRoundRect);
      a.SetPointerStyle(psPointer);
      a.SetAMPMColorDirect(clNone);
      FShowAMPM = true;
      FShowNumbers = true;
      break;
    case wsFuchsia:
      ampmFont({sansSerif, 10, false, kWindowText});
      a.SetAMPMFrame(apRoundRect);
      a.SetBorderColor(0xFFD0FF);
      a.SetBackgroundColor(0);
      a.SetBackgroundColorTo(0);
      a.SetCenterPointBorderColor(0xDD68DD);
      a.SetCenterPointSize(20);
      hourFont({sansSerif, 8, false, kWindowText});
      a.SetHourColor(0xFFD0FF);
      a.SetHourPointer(0xFFD0FF);
      a.SetMinuteColor(0xFFD0FF);
      a.SetMinutePointer(0xFFD0FF);
      a.SetHourMarkLength(10);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetHourPointerSize(2);
      a.SetMinutePointerSize(2);
      a.SetShape(wsRect);
      a.SetCenterPointOuterBorderColor(0);
      a.SetHourMarkWidth(2);
      a.SetHourMarkStyle(hmsQuartDblLine);
      a.SetSecondPointer(0xDD68DD);
      a.SetTickMarks(tmQuartHours);
      FShowAMPM = false;
      FShowNumbers = false;
      break;
    case wsBlack:
      ampmFont({sansSerif, 0, false, {}});
      a.SetBackgroundColor(0x202020);
      a.SetBackgroundColorTo(clNone);
      a.SetBorderColor(0);
      a.SetCenterPointBorderColor(0xFFFFFF);
      a.SetCenterPointOuterBorderColor(0xFFFFFF);
      a.SetCenterPointColor(0xFFFFFF);
      a.SetHourColor(0x585858);
      a.SetMinuteColor(0x585858);
      hourFont({QStringLiteral("Century Gothic"), 11, {}, 0xFFFFFF});
      a.SetHourPointer(0xFFFFFF);
      a.SetMinutePointer(0xFFFFFF);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetHourPointerSize(5);
      a.SetMinuteMarkLength(4);
      FShowAMPM = false;
      FShowNumbers = true;
      break;
    case wsBlackWhite:
      a.SetBackgroundColor(0xFFFFFF);
      a.SetBackgroundColorTo(clNone);
      a.SetBorderColor(0);
      a.SetBorderWidth(8);
      a.SetCenterPointBorderColor(0);
      a.SetCenterPointOuterBorderColor(0);
      a.SetCenterPointColor(0);
      a.SetCenterPointSize(8);
      a.SetHourColor(0x585858);
      hourFont({QStringLiteral("Century Gothic"), 14, true, 0});
      a.SetHourPointer(0);
      a.SetMinutePointer(0);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetMinutePointerShadow(kBtnShadow);
      a.SetHourPointerSize(5);
      a.SetMinuteMarkLength(4);
      a.SetSecondPointer(0x000080);
      a.SetPointerStyle(psPointer);
      a.SetTickMarks(tmQuartHours);
      FShowAMPM = false;
      FShowNumbers = true;
      break;
    case wsGray:
      ampmFont({sansSerif, 10, {}, {}});
      a.SetBackgroundColor(0xD1D1D1);
      a.SetBackgroundColorTo(0x6C6C6C);
      a.SetBackgroundGradient(wgRadial);
      a.SetBorderColor(0x454545);
      a.SetCenterPointBorderColor(0x454545);
      a.SetCenterPointColor(0);
      a.SetCenterPointOuterBorderColor(clNone);
      a.SetHourColor(0);
      hourFont({QStringLiteral("Comic Sans MS"), 8, false, {}});
      a.SetHourPointer(0x4E4E4E);
      a.SetMinutePointer(0x4E4E4E);
      a.SetHourPointerShadow(clNone);
      a.SetMinutePointerShadow(clNone);
      a.SetHourPointerSize(1);
      a.SetMinutePointerSize(1);
      a.SetMinuteColor(0x808080);
      a.SetSecondPointer(0x0000FF);
      FShowAMPM = true;
      FShowNumbers = true;
      break;
    case wsSuperNova:
      a.SetBackgroundColorTo(0xD1D3D3);
      a.SetBorderColor(clNone);
      a.SetCenterPointOuterBorderColor(0);
      a.SetCenterPointSize(10);
      // Taken from the clock's size now; a later resize keeps them.
      a.SetHourMarkLength(static_cast<std::uint8_t>(std::clamp<std::int64_t>(Round(side / 4.5), 0, 255)));
      a.SetHourPointer(0);
      a.SetHourPointerShadow(kBtnShadow);
      a.SetMinuteColor(0x808080);
      a.SetMinuteMarkLength(static_cast<std::uint8_t>(std::clamp(side / 3, 0, 255)));
      a.SetMinutePointer(0);
      FShowAMPM = false;
      FShowNumbers = false;
      break;
    case wsSports:
      a.SetBackgroundColor(0);
      a.SetBackgroundColorTo(clNone);
      a.SetBorderColor(0);
      a.SetBorderWidth(1);
      a.SetCenterPointBorderColor(0xFF0000);
      a.SetCenterPointOuterBorderColor(0);
      a.SetCenterPointColor(0x191919);
      a.SetCenterPointSize(static_cast<std::uint8_t>(std::clamp<std::int64_t>(Round(side / 3.6), 0, 255)));
      a.SetHourColor(0xABB0B1);
      hourFont({QStringLiteral("Times New Roman"), 9, {}, 0x797979});
      a.SetHourPointer(0x0000FF);
      a.SetHourPointerShadow(clNone);
      a.SetMinutePointerShadow(clNone);
      a.SetHourPointerSize(2);
      a.SetMinutePointerSize(2);
      a.SetMinuteColor(0x808080);
      a.SetMinutePointer(0x00FFFF);
      a.SetMinuteMarkLength(1);
      a.SetSecondPointer(0x188BFE);
      a.SetTickMarks(tmQuartHours);
      FShowAMPM = false;
      FShowNumbers = true;
      break;
    case wsSmooth:
      a.SetBackgroundColor(0xFFFFFF);
      a.SetBackgroundColorTo(0xABB0B1);
      a.SetBorderColor(0x585858);
      a.SetBorderWidth(1);
      a.SetCenterPointBorderColor(0);
      a.SetCenterPointOuterBorderColor(0x4A4A4A);
      a.SetCenterPointColor(0xFFFFFF);
      a.SetCenterPointSize(6);
      a.SetHourColor(0xABB0B1);
      hourFont({QStringLiteral("Times New Roman"), 9, {}, 0x797979});
      a.SetHourPointer(0x4A4A4A);
      a.SetMinutePointer(0x4A4A4A);
      a.SetHourPointerShadow(0xB2B2B2);
      a.SetMinutePointerShadow(0xB2B2B2);
      a.SetHourPointerSize(2);
      a.SetMinutePointerSize(2);
      a.SetMinuteColor(0x808080);
      a.SetMinuteMarkLength(1);
      a.SetSecondPointer(0x4A4A4A);
      a.SetTickMarks(tmQuartHours);
      FShowAMPM = false;
      FShowNumbers = true;
      break;
  }
  InvalidateFace();
}

// ---- colour sets per component style --------------------------------------------------------------------

namespace {

struct TWatchColorRow {
  TExtStyle Style;
  TColor AMPMBorder, AMPM, Background, BackgroundTo, Border, Marks, CenterBorder, CenterFill, Second;
};

// Marks is the colour of the hour and minute marks and of both hands; Border that of the face outline.
constexpr TWatchColorRow kRows[] = {
    {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF},
    {tsOffice2003Silver, 0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xFFFFFF},
    {tsOffice2003Olive, 0x962D00, 0x82C0AF, 0xB9EAE1, 0xB9EAE1, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0xFFFFFF},
    {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080},
    {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0x723708, 0xFFEFE3, 0xFFEFE3, 0x723708},
    {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3,
     0xF2F1F0},
    {tsWindowsXP, 0, kBtnFace, kBtnFace, kBtnFace, 0, 0, 0, 0, 0},
    {tsWhidbey, 0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898},
    {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0x74706F, 0xE8E0DB, 0x74706F, 0x74706F},
    {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A},
    {tsWindows7, 0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8},
    {tsTerminal, 0x808080, kBtnFace, kBtnFace, kBtnFace, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080},
    {tsOffice2010Blue, 0xC7B29F, 0xF0DAC7, 0xFDF6EF, 0xFDF6EF, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F},
    {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8},
    {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xBFBFBF, 0xBFBFBF, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D},
};

}  // namespace

void ApplyWatchComponentStyle(TWatchAppearance& a, TExtStyle AStyle) {
  a.SetCenterPointOuterBorderColor(0);
  TFont f;
  f.Assign(*a.HourFont());
  f.SetColor(0);
  a.SetHourFont(f);
  f.Assign(*a.AMPMFont());
  f.SetColor(0);
  a.SetAMPMFont(f);
  const auto* row = std::find_if(std::begin(kRows), std::end(kRows), [&](const auto& r) { return r.Style == AStyle; });
  if (row == std::end(kRows)) return;
  a.SetAMPMBorderColorDirect(row->AMPMBorder);
  a.SetAMPMColorDirect(row->AMPM);
  a.SetBackgroundColor(row->Background);
  a.SetBackgroundColorTo(row->BackgroundTo);
  a.SetBorderColor(row->Border);
  a.SetHourColor(row->Marks);
  a.SetMinuteColor(row->Marks);
  a.SetHourPointer(row->Marks);
  a.SetMinutePointer(row->Marks);
  a.SetCenterPointBorderColor(row->CenterBorder);
  a.SetCenterPointColor(row->CenterFill);
  a.SetSecondPointer(row->Second);
  const TColor shadow = AStyle == tsOffice2010Silver ? TColor(0xC0C0C0) : TColor(0xFFFFFF);
  a.SetHourPointerShadow(shadow);
  a.SetMinutePointerShadow(shadow);
  if (AStyle == tsOffice2007Obsidian) {
    f.Assign(*a.AMPMFont());
    f.SetColor(0xF2F1F0);
    a.SetAMPMFont(f);
    f.Assign(*a.HourFont());
    f.SetColor(0xF2F1F0);
    a.SetHourFont(f);
  }
}

void TExtWatch::SetComponentStyle(TExtStyle AStyle) {
  ApplyWatchComponentStyle(*FAppearance, AStyle);
  InvalidateFace();
}

}  // namespace dropdown
