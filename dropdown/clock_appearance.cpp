#include "dropdown/clock_appearance.h"

namespace dropdown {

using namespace plat;

TWatchAppearance::TWatchAppearance()
    : FHourFont(std::make_unique<TFont>()), FAMPMFont(std::make_unique<TFont>()),
      FPicture(std::make_unique<TPicture>()) {
  FPicture->OnChange = [this](TObject*) { Changed(); };
  ResetDefaults();
}

TWatchAppearance::~TWatchAppearance() { FPicture->OnChange = nullptr; }

void TWatchAppearance::ResetDefaults() {
  FSize = 0;
  FHourPointer = 0;
  FBackgroundColor = 0xFFFFFF;
  FMinutePointerShadow = clBtnShadow;
  FBackgroundColorTo = clNone;
  FHourPointerShadow = clBtnShadow;
  FSecondPointerShadow = clBtnShadow;
  FSecondPointer = 0x0000FF;
  FBorderColor = 0;
  FMinutePointer = 0;
  TFont hour;
  hour.SetName(QStringLiteral("Tahoma"));
  hour.SetSize(8);
  FHourFont->Assign(hour);
  TFont ampm;
  ampm.SetName(QStringLiteral("Tahoma"));
  ampm.SetSize(10);
  FAMPMFont->Assign(ampm);
  FAMPMFrame = apRect;
  FWatchShape = wsCircle;
  FPointerStyle = psLine;
  FBorderStyle = wbLine;
  FHourPointerSize = 4;
  FSecondPointerSize = 1;
  FMinutePointerSize = 3;
  FHourColor = 0;
  FMinuteColor = 0x808080;
  FCenterPointSize = 4;
  FCenterPointColor = 0;
  FCenterPointBorderColor = clNone;
  FBackgroundGradient = wgVertical;
  FRounding = 5;
  FHourMarkLength = 0;
  FHourMarkWidth = 1;
  FMinuteMarkLength = 0;
  FMinuteMarkWidth = 1;
  FBorderWidth = 4;
  FAMPMColor = 0xFFFFFF;
  FAMPMBorderColor = 0;
  FCenterPointOuterBorderColor = clNone;
  FTickMarks = tmAll;
  FHourMarkStyle = hmsLine;
}

void TWatchAppearance::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TWatchAppearance*>(Source)) {
    Assign(*s);
    return;
  }
  TPersistent::Assign(Source);
}

void TWatchAppearance::Assign(const TWatchAppearance& s) {
  if (&s == this) return;
  FSize = s.FSize;
  FHourPointer = s.FHourPointer;
  FBackgroundColor = s.FBackgroundColor;
  FMinutePointerShadow = s.FMinutePointerShadow;
  FBackgroundColorTo = s.FBackgroundColorTo;
  FHourPointerShadow = s.FHourPointerShadow;
  FSecondPointerShadow = s.FSecondPointerShadow;
  FSecondPointer = s.FSecondPointer;
  FBorderColor = s.FBorderColor;
  FMinutePointer = s.FMinutePointer;
  // The fonts and the picture are copied without notifying: only the three setters below may fire.
  FHourFont->Assign(*s.FHourFont);
  FAMPMFont->Assign(*s.FAMPMFont);
  {
    auto saved = std::move(FPicture->OnChange);
    FPicture->OnChange = nullptr;
    FPicture->Assign(*s.FPicture);
    FPicture->OnChange = std::move(saved);
  }
  FAMPMFrame = s.FAMPMFrame;
  FWatchShape = s.FWatchShape;
  FPointerStyle = s.FPointerStyle;
  FBorderStyle = s.FBorderStyle;
  FHourPointerSize = s.FHourPointerSize;
  FSecondPointerSize = s.FSecondPointerSize;
  FMinutePointerSize = s.FMinutePointerSize;
  FHourColor = s.FHourColor;
  FMinuteColor = s.FMinuteColor;
  FCenterPointSize = s.FCenterPointSize;
  FCenterPointColor = s.FCenterPointColor;
  FCenterPointBorderColor = s.FCenterPointBorderColor;
  FBackgroundGradient = s.FBackgroundGradient;
  FRounding = s.FRounding;
  FHourMarkLength = s.FHourMarkLength;
  FHourMarkWidth = s.FHourMarkWidth;
  FMinuteMarkLength = s.FMinuteMarkLength;
  FMinuteMarkWidth = s.FMinuteMarkWidth;
  FBorderWidth = s.FBorderWidth;
  FAMPMColor = s.FAMPMColor;
  FAMPMBorderColor = s.FAMPMBorderColor;
  SetCenterPointOuterBorderColor(s.FCenterPointOuterBorderColor);
  SetTickMarks(s.FTickMarks);
  SetHourMarkStyle(s.FHourMarkStyle);
}

void TWatchAppearance::SetHourFont(const TFont& Value) {
  FHourFont->Assign(Value);
  Changed();
}

void TWatchAppearance::SetAMPMFont(const TFont& Value) {
  FAMPMFont->Assign(Value);
  Changed();
}

void TWatchAppearance::SetPicture(const TPicture& Value) {
  // The picture's own change notification fires OnChange.
  FPicture->Assign(Value);
}

// ---- TWatchSettings -----------------------------------------------------------------------------------

void TWatchSettings::SetAuto(bool Value) {
  if (Value == FAuto) return;
  FAuto = Value;
  Changed();
}

void TWatchSettings::SetSecond(bool Value) {
  if (Value == FSeconds) return;
  FSeconds = Value;
  Changed();
}

void TWatchSettings::SetTimeOffset(int Value) {
  if (Value == FTimeOffset) return;
  FTimeOffset = Value;
  Changed();
}

void TWatchSettings::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TWatchSettings*>(Source)) {
    Assign(*s);
    return;
  }
  TPersistent::Assign(Source);
}

void TWatchSettings::Assign(const TWatchSettings& Source) {
  if (&Source == this) return;
  FSeconds = Source.FSeconds;
  FTimeOffset = Source.FTimeOffset;
  SetAuto(Source.FAuto);
}

}  // namespace dropdown
