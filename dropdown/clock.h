#pragma once
// TExtWatch: an analog clock face on which the user picks a time of day. A click inside the face sets the
// hour (the AM/PM box below the centre switches between the halves of the day), a click outside the face's
// circle sets the minute; HandleKey steps hour and minute from the keyboard. With Animation on, a new hour or
// minute slides the hand there in steps driven by a timer, each step 1/AnimationFactor of the remaining way;
// the AM/PM box rolls its text on a timer as well. In live mode (Settings.Auto) the clock shows the system
// time and ignores the user.
//
// The face (background, marks, numbers, AM/PM box) is drawn once into a cache bitmap; a moving hand only
// copies the cache and draws the hands.

#include <cstdint>
#include <memory>

#include "controls/theme_services.h"
#include "dropdown/clock_appearance.h"
#include "platform/forms/controls.h"
#include "platform/rtl/datetime.h"

namespace plat {
class TTimer;
}

namespace dropdown {

enum TWatchStyle {
  wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia, wsBlack, wsBlackWhite, wsGray,
  wsSuperNova, wsSports, wsSmooth
};

// The common first step and the colour row of a component style, applied to a clock appearance (the clock
// and the time picker's own appearance use it alike). tsCustom and values past the table set nothing more.
void ApplyWatchComponentStyle(TWatchAppearance& Appearance, controls::TExtStyle AStyle);

class TExtWatch : public plat::TCustomControl, public controls::IExtStyle {
 public:
  explicit TExtWatch(plat::TComponent* AOwner);
  ~TExtWatch() override;

  TWatchAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(const TWatchAppearance& Value) { FAppearance->Assign(Value); }
  TWatchSettings* Settings() const { return FSettings.get(); }
  void SetSettings(const TWatchSettings& Value) { FSettings->Assign(Value); }

  // The picked time (days before the point, the time of day after it). Writing it moves the hands at once
  // and fires no OnChange.
  plat::TDateTime Time() const { return FTime; }
  void SetTime(plat::TDateTime Value);
  // The time the hands show: the system time plus TimeOffset minutes in live mode, else Time.
  plat::TDateTime GetDisplayTime() const;
  // Value 0 to 23 (others raise "Invalid time"); animated when Animation is on.
  void SetHour(int Value);
  // Value 0 to 59 (others raise "Invalid time"); minute 0 reached from above 30 passes to the next hour.
  void SetMinute(int Value);
  // Page Up / Page Down step the hour, Home sets 12, End minute 0, Left / Right step the minute, A and P
  // switch to AM and PM. Nothing in live mode.
  void HandleKey(std::uint16_t Key);

  bool Animation() const { return FAnimation; }
  void SetAnimation(bool Value) { FAnimation = Value; }
  // The divisor of every animation step; values below 1 count as 1.
  int AnimationFactor() const { return FAnimationFactor; }
  void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
  bool ShowAMPM() const { return FShowAMPM; }
  void SetShowAMPM(bool Value);
  bool ShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value);
  bool AM() const { return FAM; }
  // The named looks; setting another style resets the whole appearance first.
  TWatchStyle Style() const { return FStyle; }
  void SetStyle(TWatchStyle Value);
  void SetComponentStyle(controls::TExtStyle AStyle) override;

  // ---- geometry (client coordinates) ----------------------------------------------------------------------
  plat::TRect GetWatchRect() const;
  plat::TPoint GetCenter() const;
  int GetRadius() const;
  // (-1, -1, -1, -1) while ShowAMPM is off.
  plat::TRect GetAMPMRect() const;
  int MinuteAtPos(int X, int Y) const;
  int HourAtPos(int X, int Y) const;

  // ---- timers and the face cache (the tests drive the timers through their OnTimer) ----------------------
  plat::TTimer* AnimationTimer() const { return FAnimationTimer; }
  plat::TTimer* WatchTimer() const { return FWatchTimer; }
  plat::TTimer* RollTimer() const { return FRollTimer; }
  bool Animating() const;
  bool Rolling() const;
  // The face without hands as last drawn.
  plat::TBitmap* BackgroundCache() const { return FBKGCache.get(); }
  // Redraws the hands over the cached face.
  void RefreshPointers();

  plat::TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void Resize() override;
  // The face is drawn over the control's colour, which follows the parent's.
  void ColorChanged() override;
  plat::LRESULT DefaultDlgCode() const override;

 private:
  void AppearanceChanged();
  void SettingsChanged();
  void InvalidateFace();
  void RepaintHands();
  void InternalSetTime(plat::TDateTime Value);
  // Sets the hour or minute at once, without animation; Notify fires OnChange.
  void SetHourNow(int Value, bool Notify);
  void SetMinuteNow(int Value, bool Notify);
  void AnimationTick();
  void SetAM(bool AM);
  void RollTick();
  void UpdateLiveAM();
  bool InFace(int X, int Y) const;
  bool Live() const;
  void DrawFace(plat::TCanvas& C);
  void DrawMarks(plat::TCanvas& C);
  void DrawNumbers(plat::TCanvas& C);
  void DrawAMPM(plat::TCanvas& C, const QString& Text);
  void DrawAMPMRoll(plat::TCanvas& C);
  void DrawPointers(plat::TCanvas& C);

  std::unique_ptr<TWatchAppearance> FAppearance;
  std::unique_ptr<TWatchSettings> FSettings;
  plat::TDateTime FTime = 0;
  std::unique_ptr<plat::TBitmap> FBKGCache;
  bool FCacheValid = false;
  // The paint under way only moves the hands.
  bool FHandsOnly = false;
  plat::TTimer* FWatchTimer = nullptr;
  bool FAnimation = true;
  int FAnimationFactor = 10;
  plat::TTimer* FAnimationTimer = nullptr;
  int FCurrentHourTo = 0;
  int FCurrentMinuteTo = 0;
  int FMinuteFrom = 0;
  bool FHourAnimating = false;
  bool FInternalCall = false;
  bool FAM = true;
  bool FShowAMPM = true;
  bool FShowNumbers = true;
  bool FInternalSet = false;
  TWatchStyle FStyle = wsClassic;
  // The AM/PM roll: the step reached, the number of steps (the box's inner height) and its direction.
  plat::TTimer* FRollTimer = nullptr;
  int FRollStep = 0;
  int FRollSteps = 0;
  bool FRollDown = false;
};

}  // namespace dropdown
