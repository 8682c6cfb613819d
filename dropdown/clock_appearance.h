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

  DROPDOWN_WATCH_PROP(int, Size, FV.Size)
  DROPDOWN_WATCH_PROP(plat::TColor, HourPointer, FV.HourPointer)
  DROPDOWN_WATCH_PROP(plat::TColor, BackgroundColor, FV.BackgroundColor)
  DROPDOWN_WATCH_PROP(plat::TColor, MinutePointerShadow, FV.MinutePointerShadow)
  DROPDOWN_WATCH_PROP(plat::TColor, BackgroundColorTo, FV.BackgroundColorTo)
  DROPDOWN_WATCH_PROP(plat::TColor, HourPointerShadow, FV.HourPointerShadow)
  DROPDOWN_WATCH_PROP(plat::TColor, SecondPointer, FV.SecondPointer)
  DROPDOWN_WATCH_PROP(plat::TColor, BorderColor, FV.BorderColor)
  DROPDOWN_WATCH_PROP(plat::TColor, MinutePointer, FV.MinutePointer)
  DROPDOWN_WATCH_PROP(TAMPMFrame, AMPMFrame, FV.AMPMFrame)
  DROPDOWN_WATCH_PROP(TWatchShape, Shape, FV.WatchShape)
  DROPDOWN_WATCH_PROP(TPointerStyle, PointerStyle, FV.PointerStyle)
  DROPDOWN_WATCH_PROP(std::uint8_t, HourPointerSize, FV.HourPointerSize)
  DROPDOWN_WATCH_PROP(std::uint8_t, SecondPointerSize, FV.SecondPointerSize)
  DROPDOWN_WATCH_PROP(std::uint8_t, MinutePointerSize, FV.MinutePointerSize)
  DROPDOWN_WATCH_PROP(plat::TColor, HourColor, FV.HourColor)
  DROPDOWN_WATCH_PROP(plat::TColor, MinuteColor, FV.MinuteColor)
  DROPDOWN_WATCH_PROP(std::uint8_t, CenterPointSize, FV.CenterPointSize)
  DROPDOWN_WATCH_PROP(plat::TColor, CenterPointColor, FV.CenterPointColor)
  DROPDOWN_WATCH_PROP(plat::TColor, CenterPointBorderColor, FV.CenterPointBorderColor)
  DROPDOWN_WATCH_PROP(TWatchGradient, BackgroundGradient, FV.BackgroundGradient)
  DROPDOWN_WATCH_PROP(std::uint8_t, HourMarkLength, FV.HourMarkLength)
  DROPDOWN_WATCH_PROP(std::uint8_t, HourMarkWidth, FV.HourMarkWidth)
  DROPDOWN_WATCH_PROP(std::uint8_t, MinuteMarkLength, FV.MinuteMarkLength)
  DROPDOWN_WATCH_PROP(std::uint8_t, MinuteMarkWidth, FV.MinuteMarkWidth)
  DROPDOWN_WATCH_PROP(int, BorderWidth, FV.BorderWidth)
  DROPDOWN_WATCH_PROP(plat::TColor, AMPMColor, FV.AMPMColor)
  DROPDOWN_WATCH_PROP(plat::TColor, AMPMBorderColor, FV.AMPMBorderColor)
  DROPDOWN_WATCH_PROP(plat::TColor, CenterPointOuterBorderColor, FCenterPointOuterBorderColor)
  DROPDOWN_WATCH_PROP(TTickMarks, TickMarks, FTickMarks)
  DROPDOWN_WATCH_PROP(THourMarkStyle, HourMarkStyle, FHourMarkStyle)

  // Stored and copied; the drawing does not use them.
  plat::TColor SecondPointerShadow() const { return FV.SecondPointerShadow; }
  TWatchBorderStyle BorderStyle() const { return FV.BorderStyle; }
  int Rounding() const { return FV.Rounding; }

  // Setting a font or the picture assigns into the owned object and always fires OnChange.
  plat::TFont* HourFont() const { return FHourFont.get(); }
  void SetHourFont(const plat::TFont& Value);
  plat::TFont* AMPMFont() const { return FAMPMFont.get(); }
  void SetAMPMFont(const plat::TFont& Value);
  plat::TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const plat::TPicture& Value);

  // Direct writes without OnChange (the style presets set a few colours this way).
  void SetAMPMColorDirect(plat::TColor Value) { FV.AMPMColor = Value; }
  void SetAMPMBorderColorDirect(plat::TColor Value) { FV.AMPMBorderColor = Value; }

  plat::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }

  // The plain values: defaults, a reset and a copy are one assignment of this whole.
  struct TValues {
    int Size = 0;
    plat::TColor HourPointer = 0;
    plat::TColor BackgroundColor = 0xFFFFFF;
    plat::TColor MinutePointerShadow = plat::clBtnShadow;
    plat::TColor BackgroundColorTo = plat::clNone;
    plat::TColor HourPointerShadow = plat::clBtnShadow;
    plat::TColor SecondPointerShadow = plat::clBtnShadow;
    plat::TColor SecondPointer = 0x0000FF;
    plat::TColor BorderColor = 0;
    plat::TColor MinutePointer = 0;
    TAMPMFrame AMPMFrame = apRect;
    TWatchShape WatchShape = wsCircle;
    TPointerStyle PointerStyle = psLine;
    TWatchBorderStyle BorderStyle = wbLine;
    std::uint8_t HourPointerSize = 4;
    std::uint8_t SecondPointerSize = 1;
    std::uint8_t MinutePointerSize = 3;
    plat::TColor HourColor = 0;
    plat::TColor MinuteColor = 0x808080;
    std::uint8_t CenterPointSize = 4;
    plat::TColor CenterPointColor = 0;
    plat::TColor CenterPointBorderColor = plat::clNone;
    TWatchGradient BackgroundGradient = wgVertical;
    int Rounding = 5;
    std::uint8_t HourMarkLength = 0;
    std::uint8_t HourMarkWidth = 1;
    std::uint8_t MinuteMarkLength = 0;
    std::uint8_t MinuteMarkWidth = 1;
    int BorderWidth = 4;
    plat::TColor AMPMColor = 0xFFFFFF;
    plat::TColor AMPMBorderColor = 0;
  };
  TValues FV;
  std::unique_ptr<plat::TFont> FHourFont;
  std::unique_ptr<plat::TFont> FAMPMFont;
  std::unique_ptr<plat::TPicture> FPicture;
  plat::TColor FCenterPointOuterBorderColor = plat::clNone;
  TTickMarks FTickMarks = tmAll;
  THourMarkStyle FHourMarkStyle = hmsLine;
};

// Live mode: the clock shows the system time (plus TimeOffset minutes) and, with Second, a second hand.
class TWatchSettings : public plat::TPersistent {
  PLAT_CLASS(TWatchSettings)

  DROPDOWN_WATCH_PROP(bool, Auto, FAuto)
  DROPDOWN_WATCH_PROP(bool, Second, FSeconds)
  DROPDOWN_WATCH_PROP(int, TimeOffset, FTimeOffset)
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
