#include "grid/extobj.h"

#include "platform/forms/controls.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/math.h"

namespace grid {

bool TControlList::HasHandle(quintptr Handle) const {
  for (int i = 0; i < Count(); ++i)
    if (auto* win = dynamic_cast<plat::TWinControl*>(GetControl(i)->Control); win && quintptr(win->Handle()) == Handle)
      return true;
  return false;
}

void TFilePicture::SetFilename(const QString& Value) {
  FFilename = Value;
  plat::TPicture picture;
  picture.LoadFromFile(Value);
  FWidth = picture.Width();
  FHeight = picture.Height();
}

void TFilePicture::DrawPicture(plat::TCanvas& Canvas, const plat::TRect& r) const {
  if (FFilename.isEmpty()) return;
  plat::TPicture picture;
  picture.LoadFromFile(FFilename);
  Canvas.StretchDraw(r, picture.Graphic());
}

void TFilePicture::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TFilePicture*>(Source);
  if (!s) return TPersistent::Assign(Source);
  FFilename = s->FFilename;
  FWidth = s->FWidth;
  FHeight = s->FHeight;
}

bool IsWinXPOrLater() { return plat::PlatformFacts().WindowsXPOrLater; }

bool IsThemedComCtl() {
  return IsWinXPOrLater() && plat::IsThemeActive() && plat::PlatformFacts().ComCtl32Major > 5;
}

TXPColorScheme CurrentXPColorScheme() {
  if (!IsWinXPOrLater() || !plat::IsThemeActive()) return xpNone;
  QString file, color, size;
  if (!plat::GetCurrentThemeName(&file, &color, &size)) return xpNone;
  color.truncate(255);
  if (color == QLatin1String("NormalColor")) return xpBlue;
  if (color == QLatin1String("HomeStead")) return xpGreen;
  if (color == QLatin1String("Metallic")) return xpGray;
  return xpNone;
}

void DrawGradientSteps(plat::TCanvas& Canvas, plat::TColor FromColor, plat::TColor ToColor, plat::TColor BorderColor,
                       int Steps, const plat::TRect& R, bool Horizontal) {
  if (Steps == 0) Steps = 1;
  const plat::TColor f = plat::ColorToRGB(FromColor), t = plat::ColorToRGB(ToColor);
  const double stepR = double(plat::GetRValue(t) - plat::GetRValue(f)) / Steps;
  const double stepG = double(plat::GetGValue(t) - plat::GetGValue(f)) / Steps;
  const double stepB = double(plat::GetBValue(t) - plat::GetBValue(f)) / Steps;
  const double band = double(Horizontal ? R.Right - R.Left : R.Bottom - R.Top) / Steps;
  Canvas.Brush()->SetStyle(plat::bsSolid);
  for (int i = 0; i < Steps; ++i) {
    const plat::TColor c = plat::RGB(plat::GetRValue(f) + int(plat::Round(i * stepR)),
                                     plat::GetGValue(f) + int(plat::Round(i * stepG)),
                                     plat::GetBValue(f) + int(plat::Round(i * stepB)));
    Canvas.Pen()->SetColor(c);
    Canvas.Brush()->SetColor(c);
    const int offset = int(plat::Round(i * band) % 65536);
    const int extent = int(plat::Round(band)) + 1;
    if (Horizontal)
      Canvas.Rectangle(R.Left + offset, R.Top, R.Left + offset + extent, R.Bottom);
    else
      Canvas.Rectangle(R.Left, R.Top + offset, R.Right, R.Top + offset + extent);
  }
  if (BorderColor != plat::clNone) {
    Canvas.Pen()->SetColor(BorderColor);
    Canvas.Brush()->SetStyle(plat::bsClear);
    Canvas.Rectangle(R);
  }
}

}  // namespace grid
