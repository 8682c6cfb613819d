#include "dropdown/button_appearance.h"

namespace dropdown {

TExtButtonAppearance::TExtButtonAppearance() { FFont.SetName(QStringLiteral("Tahoma")); }

void TExtButtonAppearance::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TExtButtonAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  SetBorderColor(s->FBorderColor);
  SetBorderColorHot(s->FBorderColorHot);
  SetBorderColorDown(s->FBorderColorDown);
  SetBorderColorDisabled(s->FBorderColorDisabled);
  SetBorderColorChecked(s->FBorderColorChecked);
  SetColor(s->FColor);
  SetColorTo(s->FColorTo);
  SetColorDown(s->FColorDown);
  SetColorDownTo(s->FColorDownTo);
  SetColorHot(s->FColorHot);
  SetColorHotTo(s->FColorHotTo);
  SetColorCheckedTo(s->FColorCheckedTo);
  SetColorDisabled(s->FColorDisabled);
  SetColorDisabledTo(s->FColorDisabledTo);
  SetColorChecked(s->FColorChecked);
  SetGradient(s->FGradient);
  FFont.Assign(s->FFont);
}

}  // namespace dropdown
