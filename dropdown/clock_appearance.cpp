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
  FV = TValues{};
  TFont hour;
  hour.SetName(QStringLiteral("Tahoma"));
  hour.SetSize(8);
  FHourFont->Assign(hour);
  TFont ampm;
  ampm.SetName(QStringLiteral("Tahoma"));
  ampm.SetSize(10);
  FAMPMFont->Assign(ampm);
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
  FV = s.FV;
  // The fonts and the picture are copied without notifying: only the three setters below may fire.
  FHourFont->Assign(*s.FHourFont);
  FAMPMFont->Assign(*s.FAMPMFont);
  {
    auto saved = std::move(FPicture->OnChange);
    FPicture->OnChange = nullptr;
    FPicture->Assign(*s.FPicture);
    FPicture->OnChange = std::move(saved);
  }
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
