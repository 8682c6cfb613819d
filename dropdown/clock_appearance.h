#pragma once
// The looks of the analog clock (TWatchAppearance) and its live-clock settings (TWatchSettings). Every setter
// stores the value and, when it changed, fires OnChange, which the clock answers by redrawing its face.

#include <QString>

#include <cstdint>
#include <memory>

#include "platform/graphics/color.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/events.h"
#include "platform/rtl/object.h"

namespace dropdown {

enum TAMPMFrame { apRect, apRoundRect };
enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TWatchBorderStyle { wbLine, wbDoubleLine, wbNone };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };

// A value setter that fires OnChange only when the value changes.
#define DROPDOWN_WATCH_PROP(Type, Name, Field) \
  Type Name() const { return Field; }          \
  void Set##Name(Type Value) {                 \
    if (Value == Field) return;                \
    Field = Value;                             \
    Changed();                                 \
  }

class TWatchAppearance : public plat::TPersistent {
  PLAT_CLASS(TWatchAppearance)

  TWatchAppearance();
  ~TWatchAppearance() override;

  // Every field back to its default, without OnChange.
  void ResetDefaults();
  // Copies every field of another appearance; fires OnChange only when CenterPointOuterBorderColor,
  // TickMarks or HourMarkStyle changed. Any other source is ignored.
  void Assign(plat::TPersistent* Source) override;
  void Assign(const TWatchAppearance& Source);

  DROPDOWN_WATCH_PROP(int, Size, FSize)
  DROPDOWN_WATCH_PROP(plat::TColor, HourPointer, FHourPointer)
  DROPDOWN_WATCH_PROP(plat::TColor, BackgroundColor, FBackgroundColor)
  DROPDOWN_WATCH_PROP(plat::TColor, MinutePointerShadow, FMinutePointerShadow)
  DROPDOWN_WATCH_PROP(plat::TColor, BackgroundColorTo, FBackgroundColorTo)
  DROPDOWN_WATCH_PROP(plat::TColor, HourPointerShadow, FHourPointerShadow)
  DROPDOWN_WATCH_PROP(plat::TColor, SecondPointer, FSecondPointer)
  DROPDOWN_WATCH_PROP(plat::TColor, BorderColor, FBorderColor)
  DROPDOWN_WATCH_PROP(plat::TColor, MinutePointer, FMinutePointer)
  DROPDOWN_WATCH_PROP(TAMPMFrame, AMPMFrame, FAMPMFrame)
  DROPDOWN_WATCH_PROP(TWatchShape, Shape, FWatchShape)
  DROPDOWN_WATCH_PROP(TPointerStyle, PointerStyle, FPointerStyle)
  DROPDOWN_WATCH_PROP(std::uint8_t, HourPointerSize, FHourPointerSize)
  DROPDOWN_WATCH_PROP(std::uint8_t, SecondPointerSize, FSecondPointerSize)
  DROPDOWN_WATCH_PROP(std::uint8_t, MinutePointerSize, FMinutePointerSize)
  DROPDOWN_WATCH_PROP(plat::TColor, HourColor, FHourColor)
  DROPDOWN_WATCH_PROP(plat::TColor, MinuteColor, FMinuteColor)
  DROPDOWN_WATCH_PROP(std::uint8_t, CenterPointSize, FCenterPointSize)
  DROPDOWN_WATCH_PROP(plat::TColor, CenterPointColor, FCenterPointColor)
  DROPDOWN_WATCH_PROP(plat::TColor, CenterPointBorderColor, FCenterPointBorderColor)
  DROPDOWN_WATCH_PROP(TWatchGradient, BackgroundGradient, FBackgroundGradient)
  DROPDOWN_WATCH_PROP(std::uint8_t, HourMarkLength, FHourMarkLength)
  DROPDOWN_WATCH_PROP(std::uint8_t, HourMarkWidth, FHourMarkWidth)
  DROPDOWN_WATCH_PROP(std::uint8_t, MinuteMarkLength, FMinuteMarkLength)
  DROPDOWN_WATCH_PROP(std::uint8_t, MinuteMarkWidth, FMinuteMarkWidth)
  DROPDOWN_WATCH_PROP(int, BorderWidth, FBorderWidth)
  DROPDOWN_WATCH_PROP(plat::TColor, AMPMColor, FAMPMColor)
  DROPDOWN_WATCH_PROP(plat::TColor, AMPMBorderColor, FAMPMBorderColor)
  DROPDOWN_WATCH_PROP(plat::TColor, CenterPointOuterBorderColor, FCenterPointOuterBorderColor)
  DROPDOWN_WATCH_PROP(TTickMarks, TickMarks, FTickMarks)
  DROPDOWN_WATCH_PROP(THourMarkStyle, HourMarkStyle, FHourMarkStyle)

  // Stored and copied; the drawing does not use them.
  plat::TColor SecondPointerShadow() const { return FSecondPointerShadow; }
  TWatchBorderStyle BorderStyle() const { return FBorderStyle; }
  int Rounding() const { return FRounding; }

  // Setting a font or the picture assigns into the owned object and always fires OnChange.
  plat::TFont* HourFont() const { return FHourFont.get(); }
  void SetHourFont(const plat::TFont& Value);
  plat::TFont* AMPMFont() const { return FAMPMFont.get(); }
  void SetAMPMFont(const plat::TFont& Value);
  plat::TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const plat::TPicture& Value);

  // Direct writes without OnChange (the style presets set a few colours this way).
  void SetAMPMColorDirect(plat::TColor Value) { FAMPMColor = Value; }
  void SetAMPMBorderColorDirect(plat::TColor Value) { FAMPMBorderColor = Value; }

  plat::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }

  int FSize = 0;
  plat::TColor FHourPointer = 0;
  plat::TColor FBackgroundColor = 0xFFFFFF;
  plat::TColor FMinutePointerShadow = plat::clBtnShadow;
  plat::TColor FBackgroundColorTo = plat::clNone;
  plat::TColor FHourPointerShadow = plat::clBtnShadow;
  plat::TColor FSecondPointerShadow = plat::clBtnShadow;
  plat::TColor FSecondPointer = 0x0000FF;
  plat::TColor FBorderColor = 0;
  plat::TColor FMinutePointer = 0;
  std::unique_ptr<plat::TFont> FHourFont;
  std::unique_ptr<plat::TFont> FAMPMFont;
  std::unique_ptr<plat::TPicture> FPicture;
  TAMPMFrame FAMPMFrame = apRect;
  TWatchShape FWatchShape = wsCircle;
  TPointerStyle FPointerStyle = psLine;
  TWatchBorderStyle FBorderStyle = wbLine;
  std::uint8_t FHourPointerSize = 4;
  std::uint8_t FSecondPointerSize = 1;
  std::uint8_t FMinutePointerSize = 3;
  plat::TColor FHourColor = 0;
  plat::TColor FMinuteColor = 0x808080;
  std::uint8_t FCenterPointSize = 4;
  plat::TColor FCenterPointColor = 0;
  plat::TColor FCenterPointBorderColor = plat::clNone;
  TWatchGradient FBackgroundGradient = wgVertical;
  int FRounding = 5;
  std::uint8_t FHourMarkLength = 0;
  std::uint8_t FHourMarkWidth = 1;
  std::uint8_t FMinuteMarkLength = 0;
  std::uint8_t FMinuteMarkWidth = 1;
  int FBorderWidth = 4;
  plat::TColor FAMPMColor = 0xFFFFFF;
  plat::TColor FAMPMBorderColor = 0;
  plat::TColor FCenterPointOuterBorderColor = plat::clNone;
  TTickMarks FTickMarks = tmAll;
  THourMarkStyle FHourMarkStyle = hmsLine;
};

// Live mode: the clock shows the system time (plus TimeOffset minutes) and, with Second, a second hand.
class TWatchSettings : public plat::TPersistent {
  PLAT_CLASS(TWatchSettings)

  bool Auto() const { return FAuto; }
  void SetAuto(bool Value);
  bool Second() const { return FSeconds; }
  void SetSecond(bool Value);
  int TimeOffset() const { return FTimeOffset; }
  void SetTimeOffset(int Value);
  // Copies Second and TimeOffset directly and Auto through its setter.
  void Assign(plat::TPersistent* Source) override;
  void Assign(const TWatchSettings& Source);

  plat::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  bool FAuto = false;
  bool FSeconds = true;
  int FTimeOffset = 0;
};

}  // namespace dropdown
