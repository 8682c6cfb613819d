#include "dropdown/clock.h"

#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dropdown/paint_routines.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/keys.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/region.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/math.h"

namespace dropdown {

using namespace plat;

namespace {

// The integer nearest to X, a tie going to the even integer.
int N(double X) { return static_cast<int>(Round(X)); }

double Rad(double Degrees) { return Degrees * std::numbers::pi / 180.0; }

// The point at angle Degrees (clockwise from 12 o'clock) and distance D from the centre.
TPoint At(const TPoint& C, double Degrees, double D) {
  return TPoint(N(C.X + D * std::sin(Rad(Degrees))), N(C.Y - D * std::cos(Rad(Degrees))));
}

struct TParts {
  Word H = 0, M = 0, S = 0, MS = 0;
};

TParts Decode(TDateTime T) {
  TParts p;
  DecodeTime(T, p.H, p.M, p.S, p.MS);
  return p;
}

// T with its time of day replaced, the date kept.
TDateTime WithTime(TDateTime T, int H, int M, int S, int MS) { return std::trunc(T) + EncodeTime(H, M, S, MS); }

void Line(TCanvas& C, TPoint A, TPoint B) {
  C.MoveTo(A.X, A.Y);
  C.LineTo(B.X, B.Y);
}

void SetPen(TCanvas& C, TColor Color, int Width) {
  C.Pen()->SetStyle(psSolid);
  C.Pen()->SetColor(Color);
  C.Pen()->SetWidth(Width);
}

}  // namespace

TExtWatch::TExtWatch(TComponent* AOwner)
    : TCustomControl(AOwner), FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>()), FBKGCache(std::make_unique<TBitmap>()) {
  FAppearance->OnChange = [this](TObject*) { AppearanceChanged(); };
  FSettings->OnChange = [this](TObject*) { SettingsChanged(); };
  FWatchTimer = new TTimer(this);
  FWatchTimer->SetInterval(100);
  FWatchTimer->SetEnabled(FSettings->Auto());
  FWatchTimer->OnTimer = [this](TObject*) { RefreshPointers(); };
  FAnimationTimer = new TTimer(this);
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer->SetInterval(1);
  FAnimationTimer->OnTimer = [this](TObject*) { AnimationTick(); };
  FRollTimer = new TTimer(this);
  FRollTimer->SetEnabled(false);
  FRollTimer->SetInterval(10);
  FRollTimer->OnTimer = [this](TObject*) { RollTick(); };
  SetParentColor(true);
  SetBounds(Left(), Top(), 180, 180);
}

TExtWatch::~TExtWatch() {
  FAppearance->OnChange = nullptr;
  FSettings->OnChange = nullptr;
}

// ---- state ----------------------------------------------------------------------------------------------

bool TExtWatch::Live() const { return FSettings->Auto(); }
bool TExtWatch::Animating() const { return FAnimationTimer->Enabled(); }
bool TExtWatch::Rolling() const { return FRollTimer->Enabled(); }

void TExtWatch::AppearanceChanged() { InvalidateFace(); }

void TExtWatch::InvalidateFace() {
  FCacheValid = false;
  Invalidate();
}

void TExtWatch::SettingsChanged() {
  FWatchTimer->SetEnabled(Live());
  if (Live()) {
    // The hands follow the system time now; a running animation would write its steps into Time.
    FAnimationTimer->SetEnabled(false);
    UpdateLiveAM();
  }
  InvalidateFace();
}

void TExtWatch::SetShowAMPM(bool Value) {
  FShowAMPM = Value;
  InvalidateFace();
}

void TExtWatch::SetShowNumbers(bool Value) {
  FShowNumbers = Value;
  InvalidateFace();
}

void TExtWatch::Resize() {
  TCustomControl::Resize();
  InvalidateFace();
}

void TExtWatch::ColorChanged() {
  TCustomControl::ColorChanged();
  InvalidateFace();
}

LRESULT TExtWatch::DefaultDlgCode() const { return TabStop() ? DLGC_WANTARROWS | DLGC_WANTALLKEYS : 0; }

TDateTime TExtWatch::GetDisplayTime() const {
  if (Live()) return Now() + FSettings->TimeOffset() / 1440.0;
  return FTime;
}

void TExtWatch::SetTime(TDateTime Value) {
  if (Value == FTime) return;
  InternalSetTime(Value);
  RefreshPointers();
}

void TExtWatch::InternalSetTime(TDateTime Value) {
  if (Value == FTime) return;
  FTime = Value;
  const bool saved = FInternalSet;
  FInternalSet = true;
  SetAM(Decode(FTime).H < 12);
  FInternalSet = saved;
}

void TExtWatch::RefreshPointers() {
  if (Live()) UpdateLiveAM();
  RepaintHands();
}

void TExtWatch::RepaintHands() {
  // The face stays in the cache; this paint copies it and draws the hands over it.
  FHandsOnly = true;
  try {
    Repaint();
  } catch (...) {
    FHandsOnly = false;
    throw;
  }
  FHandsOnly = false;
}

// ---- hour and minute ------------------------------------------------------------------------------------

void TExtWatch::SetHour(int Value) {
  // An hour the time cannot hold would otherwise fail on every animation tick.
  if (Value < 0 || Value > 23) throw Exception(QStringLiteral("Invalid time"));
  const TParts p = Decode(GetDisplayTime());
  if (Value == p.H) return;
  if (FAnimation && !FInternalCall && !ComponentState().Contains(TComponentStateFlag::csDesigning) &&
      !ComponentState().Contains(TComponentStateFlag::csLoading)) {
    FCurrentHourTo = Value;
    FHourAnimating = true;
    FAnimationTimer->SetEnabled(true);
    return;
  }
  SetHourNow(Value, true);
}

void TExtWatch::SetHourNow(int Value, bool Notify) {
  const TParts p = Decode(GetDisplayTime());
  if (Value == p.H) return;
  InternalSetTime(WithTime(FTime, Value, p.M, p.S, p.MS));
  RefreshPointers();
  if (Notify && OnChange) OnChange(this);
}

void TExtWatch::SetMinute(int Value) {
  if (Value >= 60 || Value < 0) throw Exception(QStringLiteral("Invalid time"));
  const TParts p = Decode(GetDisplayTime());
  if (Value == p.M) return;
  if (FAnimation && !FInternalCall && !ComponentState().Contains(TComponentStateFlag::csDesigning) &&
      !ComponentState().Contains(TComponentStateFlag::csLoading)) {
    FCurrentMinuteTo = Value;
    FHourAnimating = false;
    FMinuteFrom = p.M;
    FAnimationTimer->SetEnabled(true);
    return;
  }
  if (!FAnimation) FMinuteFrom = p.M;
  SetMinuteNow(Value, true);
}

void TExtWatch::SetMinuteNow(int Value, bool Notify) {
  const TParts p = Decode(GetDisplayTime());
  if (Value == p.M) return;
  int h = p.H;
  // Minute 0 reached from the upper half of the dial passes the full hour.
  if (Value == 0 && FMinuteFrom > 30) {
    h = h == 23 ? 0 : h + 1;
    FMinuteFrom = 0;
  }
  InternalSetTime(WithTime(FTime, h, Value, p.S, p.MS));
  RefreshPointers();
  if (Notify && OnChange) OnChange(this);
}

void TExtWatch::AnimationTick() {
  if (!FAnimation || ComponentState().Contains(TComponentStateFlag::csDesigning) ||
      ComponentState().Contains(TComponentStateFlag::csLoading))
    return;
  const int factor = std::max(1, FAnimationFactor);
  const TParts p = Decode(GetDisplayTime());
  if (FHourAnimating) {
    const int hour = p.H;
    if (hour == FCurrentHourTo) {
      FAnimationTimer->SetEnabled(false);
      return;
    }
    const int d = std::abs(FCurrentHourTo - hour);
    const int step = std::max(1, N(static_cast<double>(d) / factor));
    const int next = hour < FCurrentHourTo ? hour + step : hour - step;
    // Only the step that reaches the target completes the change and notifies.
    const bool done = next == FCurrentHourTo;
    if (done) FAnimationTimer->SetEnabled(false);
    SetHourNow(next, done);
    return;
  }
  const int minute = p.M;
  if (minute == FCurrentMinuteTo) {
    FAnimationTimer->SetEnabled(false);
    return;
  }
  const bool wrap = FCurrentMinuteTo == 0 && minute > 30;
  const int d = wrap ? 60 - minute : std::abs(FCurrentMinuteTo - minute);
  const int step = std::max(1, N(static_cast<double>(d) / factor));
  int next = (minute < FCurrentMinuteTo || wrap) ? minute + step : minute - step;
  if (next >= 60) next -= 60;
  const bool done = next == FCurrentMinuteTo;
  if (done) FAnimationTimer->SetEnabled(false);
  SetMinuteNow(next, done);
}

// ---- AM and PM ------------------------------------------------------------------------------------------

void TExtWatch::SetAM(bool AM) {
  if (AM == FAM) return;
  FAM = AM;
  const TRect box = GetAMPMRect();
  if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet && box.Height() > 2) {
    // The box rolls its text on a timer; the face keeps the old text underneath until the roll ends.
    FRollSteps = box.Height() - 2;
    FRollStep = 0;
    FRollDown = !AM;
    FRollTimer->SetEnabled(true);
    RepaintHands();
    return;
  }
  FRollTimer->SetEnabled(false);
  InvalidateFace();
}

void TExtWatch::RollTick() {
  if (++FRollStep >= FRollSteps) {
    FRollTimer->SetEnabled(false);
    InvalidateFace();
    return;
  }
  RepaintHands();
}

void TExtWatch::UpdateLiveAM() {
  const bool am = Decode(GetDisplayTime()).H < 12;
  if (am == FAM) return;
  FAM = am;
  FRollTimer->SetEnabled(false);
  FCacheValid = false;
}

// ---- mouse and keys -------------------------------------------------------------------------------------

bool TExtWatch::InFace(int X, int Y) const {
  const TRect r = GetWatchRect();
  if (r.Width() <= 0) return false;
  return TRegion::FromEllipse(r).Contains(TPoint(X, Y));
}

int TExtWatch::MinuteAtPos(int X, int Y) const {
  const TPoint c = GetCenter();
  int dy = std::abs(c.Y - Y), dx = std::abs(c.X - X);
  if (dy == 0) dy = 1;
  if (dx == 0) dx = 1;
  const int m = N(std::atan(static_cast<double>(dy) / dx) * 180.0 / std::numbers::pi / 6.0);
  int r;
  if (X >= c.X && Y >= c.Y)
    r = m + 15;
  else if (X <= c.X && Y >= c.Y)
    r = 45 - m;
  else if (X <= c.X && Y <= c.Y)
    r = m + 45;
  else
    r = 15 - m;
  return r < 0 || r > 59 ? 0 : r;
}

int TExtWatch::HourAtPos(int X, int Y) const {
  // The 12 o'clock position is the first hour of the half shown, whichever side of it the click fell:
  // 0 in AM, 12 in PM.
  const int h = N(MinuteAtPos(X, Y) / 5.0) % 12;
  return FAM ? h : h + 12;
}

void TExtWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Live()) return;
  if (!InFace(X, Y)) {
    SetMinute(MinuteAtPos(X, Y));
    return;
  }
  if (GetAMPMRect().Contains(TPoint(X, Y))) {
    if (FAnimation) SetAM(!FAM);
    const int h = Decode(GetDisplayTime()).H;
    const int nh = h < 12 ? h + 12 : h - 12;
    FCurrentHourTo = nh;
    FInternalCall = true;
    try {
      SetHour(nh);
    } catch (...) {
      FInternalCall = false;
      throw;
    }
    FInternalCall = false;
    return;
  }
  SetHour(HourAtPos(X, Y));
}

void TExtWatch::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(TComponentStateFlag::csDesigning)) return;
  SetCursor(GetAMPMRect().Contains(TPoint(X, Y)) ? crHandPoint : crDefault);
}

void TExtWatch::HandleKey(std::uint16_t Key) {
  if (Live()) return;
  const TParts p = Decode(GetDisplayTime());
  const int h = p.H, m = p.M;
  if (Key == 'A' && h > 11) SetHour(h - 12);
  if (Key == 'P' && h < 12) SetHour(h + 12);
  auto now = [this](auto&& F) {
    FInternalCall = true;
    try {
      F();
    } catch (...) {
      FInternalCall = false;
      throw;
    }
    FInternalCall = false;
  };
  switch (Key) {
    case VK_PRIOR:
      if (h <= 22)
        SetHour(h + 1);
      else
        now([&] { SetHour(0); });
      break;
    case VK_NEXT:
      if (h > 0)
        SetHour(h - 1);
      else
        now([&] { SetHour(23); });
      break;
    case VK_HOME: now([&] { SetHour(12); }); break;
    case VK_END: SetMinute(0); break;
    case VK_LEFT:
      if (m > 0)
        SetMinute(m - 1);
      else
        SetTime(WithTime(FTime, h == 0 ? 23 : h - 1, 59, p.S, p.MS));
      break;
    case VK_RIGHT:
      if (m < 59)
        SetMinute(m + 1);
      else
        SetMinute(0);
      break;
    default: break;
  }
}

// ---- geometry -------------------------------------------------------------------------------------------

TRect TExtWatch::GetWatchRect() const {
  const int w = ClientWidth(), h = ClientHeight();
  int s = FAppearance->Size();
  if (s > 0)
    s = std::min({s, h, w});
  else
    s = std::min(w, h) - 20;
  const int left = (w - s) / 2, top = (h - s) / 2;
  return TRect(left, top, left + s, top + s);
}

TPoint TExtWatch::GetCenter() const {
  const TRect r = GetWatchRect();
  return TPoint(r.Left + r.Width() / 2, r.Top + r.Width() / 2);
}

int TExtWatch::GetRadius() const { return GetWatchRect().Width() / 2; }

TRect TExtWatch::GetAMPMRect() const {
  if (!FShowAMPM) return TRect(-1, -1, -1, -1);
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(*FAppearance->AMPMFont());
  const TSize sz = GetTextSize(*measure.Canvas(), QStringLiteral("AM"));
  if (sz.cx <= 0 || sz.cy <= 0) return TRect(-1, -1, -1, -1);
  const int w = sz.cx + 8;
  const TPoint c = GetCenter();
  const int left = c.X - w / 2;
  const int top = c.Y + N((GetRadius() - sz.cy) / 3.0);
  return TRect(left, top, left + w, top + sz.cy);
}

// ---- painting -------------------------------------------------------------------------------------------

void TExtWatch::Paint() {
  TCustomControl::Paint();
  TCanvas& c = *Canvas();
  if (Live()) UpdateLiveAM();
  const int w = ClientWidth(), h = ClientHeight();
  // Every paint but the ones for moving hands draws the face anew, so that no change of the looks is missed.
  if (!FHandsOnly || !FCacheValid || FBKGCache->Width() != w || FBKGCache->Height() != h) {
    FBKGCache->SetSize(w, h);
    TCanvas& b = *FBKGCache->Canvas();
    b.Brush()->SetStyle(bsSolid);
    b.Brush()->SetColor(Color());
    b.FillRect(TRect(0, 0, w, h));
    DrawFace(b);
    DrawMarks(b);
    DrawNumbers(b);
    // While the box rolls, the face keeps the text the roll started from.
    const bool shownAM = Rolling() ? !FAM : FAM;
    DrawAMPM(b, shownAM ? QStringLiteral("AM") : QStringLiteral("PM"));
    FCacheValid = true;
  }
  c.Draw(0, 0, FBKGCache.get());
  if (Rolling()) DrawAMPMRoll(c);
  DrawPointers(c);
}

void TExtWatch::DrawFace(TCanvas& C) {
  const TWatchAppearance& a = *FAppearance;
  const TRect face = GetWatchRect();
  const TRect client(0, 0, ClientWidth(), ClientHeight());
  const TWatchShape shape = a.Shape();
  const TRect area = shape == wsCircle ? face : client;
  const TRect clip(area.Left - 1, area.Top - 1, area.Right + 2, area.Bottom + 2);
  if (shape == wsCircle) {
    C.SelectClipRgn(std::make_shared<TRegion>(TRegion::FromEllipse(clip)).get());
  } else if (shape == wsRoundRect) {
    QPainterPath path;
    path.addRoundedRect(QRectF(clip.Left, clip.Top, clip.Width(), clip.Height()), 10, 10);
    const TRegion rr{QRegion(path.toFillPolygon().toPolygon())};
    C.SelectClipRgn(&rr);
  }
  if (a.BackgroundColor() != clNone && a.BackgroundColorTo() != clNone) {
    DrawDropDownGradient(C, a.BackgroundColor(), a.BackgroundColorTo(), a.BackgroundGradient() == wgRadial, area, 80);
  } else if (a.BackgroundColor() != clNone) {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(a.BackgroundColor());
    C.FillRect(area);
  }
  if (a.BorderColor() != clNone && a.BorderWidth() > 0) {
    SetPen(C, a.BorderColor(), a.BorderWidth());
    C.Brush()->SetStyle(bsClear);
    if (shape == wsCircle)
      C.Ellipse(face);
    else if (shape == wsRect)
      C.Rectangle(client);
    else
      C.RoundRect(client, 20, 20);
  }
  C.SelectClipRgn(nullptr);
  if (TGraphic* g = a.Picture()->Graphic(); g && g->Width() > 0 && g->Height() > 0) {
    TBitmap pic(ClientWidth(), ClientHeight());
    pic.Canvas()->Brush()->SetColor(clWhite);
    pic.Canvas()->FillRect(TRect(0, 0, ClientWidth(), ClientHeight()));
    pic.Canvas()->Draw(0, 0, g);
    pic.SetTransparent(true);
    C.Draw(0, 0, &pic);
  }
}

void TExtWatch::DrawMarks(TCanvas& C) {
  const TWatchAppearance& a = *FAppearance;
  const TTickMarks marks = a.TickMarks();
  if (marks == tmNone) return;
  const TPoint c = GetCenter();
  const double rb = GetRadius() - a.BorderWidth() / 2;
  const double rh = a.HourMarkLength() != 0 ? rb - a.HourMarkLength() : 0.9 * rb;
  SetPen(C, a.HourColor(), a.HourMarkWidth());
  for (int hour = 0; hour < 12; ++hour) {
    const bool quarter = hour % 3 == 0;
    if (!quarter && marks == tmQuartHours) continue;
    const double deg = hour * 30.0;
    const TPoint p1 = At(c, deg, rh), p2 = At(c, deg, rb);
    if (quarter && a.HourMarkStyle() == hmsQuartDblLine) {
      // Two lines 2 pixels either side of the mark's axis.
      const bool horizontalMark = hour == 3 || hour == 9;
      for (int off : {-2, 2}) {
        const TPoint d = horizontalMark ? TPoint(0, off) : TPoint(off, 0);
        Line(C, TPoint(p1.X + d.X, p1.Y + d.Y), TPoint(p2.X + d.X, p2.Y + d.Y));
      }
    } else {
      Line(C, p1, p2);
    }
  }
  if (marks != tmAll) return;
  const double rm = a.MinuteMarkLength() != 0 ? rb - a.MinuteMarkLength() : 0.95 * rb;
  SetPen(C, a.MinuteColor(), a.MinuteMarkWidth());
  for (int minute = 0; minute < 60; ++minute) {
    if (minute % 5 == 0) continue;
    Line(C, At(c, minute * 6.0, rm), At(c, minute * 6.0, rb));
  }
}

void TExtWatch::DrawNumbers(TCanvas& C) {
  const TWatchAppearance& a = *FAppearance;
  if (!FShowNumbers || a.TickMarks() == tmNone || a.TickMarks() == tmHours) return;
  const TPoint c = GetCenter();
  const int rb = GetRadius() - a.BorderWidth() / 2;
  const int b = a.HourMarkLength() != 0 ? a.HourMarkLength() : N(rb - 0.9 * rb) + 2;
  C.SetFont(*a.HourFont());
  C.Brush()->SetStyle(bsClear);
  for (int number = 1; number <= 12; ++number) {
    if (a.TickMarks() == tmQuartHours && number % 3 != 0) continue;
    const QString text = QString::number(number);
    const TSize sz = GetTextSize(C, text);
    const int k = number == 10 ? N(0.2 * sz.cy) : number == 11 ? N(0.15 * sz.cy) : 0;
    const double d = rb - (b + 2) - b - k + b / 2;
    const double th = Rad(number * 30.0);
    const int x = N(std::sin(th) * d) + c.X + 1;
    const int y = c.Y - N(std::cos(th) * d) + 1;
    C.TextOut(x - sz.cx / 2 - 1, y - sz.cy / 2 - 1, text);
  }
}

void TExtWatch::DrawAMPM(TCanvas& C, const QString& Text) {
  if (!FShowAMPM) return;
  const TWatchAppearance& a = *FAppearance;
  TRect r = GetAMPMRect();
  if (r.Left == -1 && r.Right == -1) return;
  if (a.AMPMColor() != clNone || a.AMPMBorderColor() != clNone) {
    if (a.AMPMColor() != clNone) {
      C.Brush()->SetStyle(bsSolid);
      C.Brush()->SetColor(a.AMPMColor());
    } else {
      C.Brush()->SetStyle(bsClear);
    }
    if (a.AMPMBorderColor() != clNone)
      SetPen(C, a.AMPMBorderColor(), 1);
    else
      C.Pen()->SetStyle(psClear);
    if (a.AMPMFrame() == apRect)
      C.Rectangle(r);
    else
      C.RoundRect(r, 5, 5);
  }
  C.SetFont(*a.AMPMFont());
  C.Brush()->SetStyle(bsClear);
  C.DrawText(Text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TExtWatch::DrawAMPMRoll(TCanvas& C) {
  const TWatchAppearance& a = *FAppearance;
  const TRect box = GetAMPMRect();
  const TRect inner(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  const int iw = inner.Width(), ih = inner.Height();
  if (iw <= 0 || ih <= 0) return;
  // A strip twice the inner height, "AM" above "PM"; the visible window slides one pixel per step.
  TBitmap strip(iw, 2 * ih);
  TCanvas& s = *strip.Canvas();
  s.Brush()->SetStyle(bsSolid);
  s.Brush()->SetColor(a.AMPMColor());
  s.FillRect(TRect(0, 0, iw, 2 * ih));
  s.SetFont(*a.AMPMFont());
  s.Brush()->SetStyle(bsClear);
  TRect top(-1, -1, iw + 1, ih + 1), bottom(-1, ih - 1, iw + 1, 2 * ih + 1);
  s.DrawText(QStringLiteral("AM"), top, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  s.DrawText(QStringLiteral("PM"), bottom, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  const int offset = FRollDown ? FRollStep : ih - FRollStep;
  C.CopyRect(inner, &s, TRect(0, offset, iw, offset + ih));
}

void TExtWatch::DrawPointers(TCanvas& C) {
  const TWatchAppearance& a = *FAppearance;
  const TParts p = Decode(GetDisplayTime());
  const TPoint c = GetCenter();
  const double r = GetRadius();
  const int hour = p.H % 12;
  const double th = 30.0 * hour + p.M / 12.0 * 6.0;
  const double tm = 6.0 * p.M;
  const double ts = 6.0 * p.S;
  auto shifted = [](TPoint P, int dx, int dy) { return TPoint(P.X + dx, P.Y + dy); };
  auto lineHand = [&](double deg, double back, double len, TColor color, int width, int dx, int dy) {
    SetPen(C, color, width);
    Line(C, shifted(At(c, deg + 180.0, back), dx, dy), shifted(At(c, deg, len), dx, dy));
  };
  auto shapeHand = [&](double deg, double len, TColor color, int dx, int dy) {
    SetPen(C, color, 1);
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(color);
    const TPoint pts[4] = {shifted(At(c, deg + 180.0, 0.1 * r), dx, dy), shifted(At(c, deg + 90.0, 0.05 * r), dx, dy),
                           shifted(At(c, deg, len), dx, dy), shifted(At(c, deg - 90.0, 0.05 * r), dx, dy)};
    C.Polygon(pts);
  };
  switch (a.PointerStyle()) {
    case psLine:
    case psLineArrow:
      if (a.HourPointerShadow() != clNone) lineHand(th, 0.1 * r, 0.46 * r, a.HourPointerShadow(), a.HourPointerSize(), -1, 3);
      if (a.MinutePointerShadow() != clNone)
        lineHand(tm, 0.1 * r, 0.65 * r, a.MinutePointerShadow(), a.MinutePointerSize(), 0, 3);
      lineHand(th, 0.1 * r, 0.5 * r, a.HourPointer(), a.HourPointerSize(), 0, 0);
      lineHand(tm, 0.1 * r, 0.7 * r, a.MinutePointer(), a.MinutePointerSize(), 0, 0);
      if (a.PointerStyle() == psLineArrow) {
        // A small filled head at each tip.
        for (auto [deg, len, color] : {std::tuple{th, 0.5 * r, a.HourPointer()}, std::tuple{tm, 0.7 * r, a.MinutePointer()}}) {
          SetPen(C, color, 1);
          C.Brush()->SetStyle(bsSolid);
          C.Brush()->SetColor(color);
          const TPoint base = At(c, deg, len - 0.1 * r);
          const TPoint tip = At(c, deg, len + 0.02 * r);
          const double half = 0.05 * r;
          const TPoint pts[3] = {tip, At(base, deg + 90.0, half), At(base, deg - 90.0, half)};
          C.Polygon(pts);
        }
      }
      break;
    case psShortLine:
      // Short hands from the centre, without tails.
      lineHand(th, 0, 0.35 * r, a.HourPointer(), a.HourPointerSize(), 0, 0);
      lineHand(tm, 0, 0.5 * r, a.MinutePointer(), a.MinutePointerSize(), 0, 0);
      break;
    case psPointer:
      if (a.HourPointerShadow() != clNone) shapeHand(th, 0.5 * r, a.HourPointerShadow(), 1, 3);
      shapeHand(th, 0.5 * r, a.HourPointer(), 0, 0);
      if (a.MinutePointerShadow() != clNone) shapeHand(tm, 0.7 * r, a.MinutePointerShadow(), 1, 3);
      shapeHand(tm, 0.7 * r, a.MinutePointer(), 0, 0);
      break;
  }
  if (Live() && FSettings->Second() && a.PointerStyle() != psShortLine)
    lineHand(ts, 0.2 * r, 0.9 * r, a.SecondPointer(), a.SecondPointerSize(), 0, 0);
  const int s = a.CenterPointSize();
  if (s > 0) {
    const int x0 = N(c.X - s / 2.0), y0 = N(c.Y - s / 2.0);
    if (a.CenterPointColor() != clNone) {
      SetPen(C, a.CenterPointColor(), 1);
      C.Brush()->SetStyle(bsSolid);
      C.Brush()->SetColor(a.CenterPointColor());
      C.Ellipse(x0, y0, x0 + s, y0 + s);
    }
    int w = 0;
    C.Brush()->SetStyle(bsClear);
    if (a.CenterPointOuterBorderColor() != clNone) {
      w = N(0.2 * s);
      SetPen(C, a.CenterPointOuterBorderColor(), w);
      C.Ellipse(x0, y0, x0 + s, y0 + s);
    }
    if (a.CenterPointBorderColor() != clNone) {
      const int d = s - w;
      const int x1 = N(c.X - d / 2.0), y1 = N(c.Y - d / 2.0);
      SetPen(C, a.CenterPointBorderColor(), N(0.1 * s));
      C.Ellipse(x1, y1, x1 + d, y1 + d);
    }
  }
}

}  // namespace dropdown
