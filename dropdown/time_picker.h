#pragma once
// TExtTimePickerDropDown: a masked edit for a time of day (hours, minutes and, with ShowSeconds, seconds,
// separated by the locale's time separator) whose popup shows the analog clock, optionally with a standard
// time picker below it. Up and Down step the part under the caret; a typed complete time becomes Time; the
// hands set in the popup become Time when the popup closes (Esc gives back the time it opened with).

#include <cstdint>
#include <memory>

#include "dropdown/clock_appearance.h"
#include "dropdown/ext_dropdown.h"
#include "platform/rtl/datetime.h"

namespace plat {
class TDateTimePicker;
class TPanel;
}  // namespace plat

namespace dropdown {

class TExtWatch;

class TExtTimePickerDropDown : public TExtCustomDropDown {
 public:
  explicit TExtTimePickerDropDown(plat::TComponent* AOwner);
  ~TExtTimePickerDropDown() override;

  plat::TDateTime Time() const { return FTime; }
  // Rewrites the text (which then sets Time from it: whole seconds, or whole minutes without seconds); moves
  // the open popup's clock and picker. Fires no OnTimeChange.
  void SetTime(plat::TDateTime Value);
  // Replace one part of Time (milliseconds kept) and fire OnTimeChange; a value out of range or equal to the
  // current part does nothing.
  void SetHourPart(int Value);
  void SetMinutePart(int Value);
  void SetSecondPart(int Value);

  bool ShowSeconds() const { return FShowSeconds; }
  void SetShowSeconds(bool Value);
  bool ShowTimePicker() const { return FShowTimePicker; }
  void SetShowTimePicker(bool Value) { FShowTimePicker = Value; }
  TWatchAppearance* WatchAppearance() const { return FWatchAppearance.get(); }
  void SetWatchAppearance(const TWatchAppearance& Value) { FWatchAppearance->Assign(Value); }
  TWatchSettings* WatchSettings() const { return FWatchSettings.get(); }
  void SetWatchSettings(const TWatchSettings& Value) { FWatchSettings->Assign(Value); }
  bool ShowWatchAMPM() const { return FShowWatchAMPM; }
  void SetShowWatchAMPM(bool Value) { FShowWatchAMPM = Value; }
  bool ShowWatchNumbers() const { return FShowWatchNumbers; }
  void SetShowWatchNumbers(bool Value) { FShowWatchNumbers = Value; }
  bool Animation() const { return FAnimation; }
  void SetAnimation(bool Value) { FAnimation = Value; }
  int AnimationFactor() const { return FAnimationFactor; }
  void SetAnimationFactor(int Value) { FAnimationFactor = Value; }

  // The popup's parts: nullptr until the popup first opens (the picker until it is first shown).
  TExtWatch* Watch() const { return FExtWatch; }
  plat::TDateTimePicker* DateTimePicker() const { return FDateTimePicker; }
  plat::TPanel* PanelCtrl() const { return FPanelCtrl; }

  void SetComponentStyle(TExtStyle AStyle) override;
  // Steps the part under the caret with Up and Down (the grid's time cell editor calls it).
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  // Takes a complete typed time over into Time; an hour above 23 or a minute or second above 59 raises
  // EConvertError and leaves Time as it was.
  void HandleChange() override;

  plat::TNotifyEvent OnTimeChange;

 protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoHideDropDown(bool Cancelled) override;
  void DropDownHidden() override;
  void DropDownFormKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void DropDownFormKeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;

 private:
  QString FormatTime(int Hour, int Minute, int Second) const;
  void ApplyMask();
  void SizePanel(int Height);
  void SetPart(int Index, int Value);
  void WatchChange();
  void TimePickerChange();

  bool FShowTimePicker = false;
  TExtWatch* FExtWatch = nullptr;
  plat::TDateTimePicker* FDateTimePicker = nullptr;
  plat::TPanel* FPanelCtrl = nullptr;
  std::unique_ptr<TWatchAppearance> FWatchAppearance;
  bool FShowWatchAMPM = true;
  bool FShowWatchNumbers = true;
  bool FAnimation = true;
  int FAnimationFactor = 10;
  plat::TDateTime FTime = 0;
  std::unique_ptr<TWatchSettings> FWatchSettings;
  bool FInternalCall = false;
  bool FShowSeconds = true;
  // Time as it stood when the popup opened: a cancelled popup gives it back.
  plat::TDateTime FOpenTime = 0;
};

}  // namespace dropdown
