#pragma once
// TEsgSpinEdit: a one-line edit with a pair of step buttons that edits an integer, a real number, a date or a
// time held as its text. Each kind has its own key filter, steps and limits (equal limits: none). The buttons
// (TEsgSpinButton, two TExtTimerSpeedButton) step once when pressed, again after 400 ms and then every 100 ms
// while held. Derived editors override the virtual steps and filter; the buttons reach the overrides.

#include <QString>

#include <memory>

#include "controls/state_button.h"
#include "platform/forms/controls.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/datetime.h"

namespace controls {

enum TEsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = plat::TSet<TTimeBtnStateItem>;

class TEsgSpinButton;

// The glyphs of the vertical buttons: a black triangle on an olive (transparent) background, 9 x 6.
std::unique_ptr<plat::TBitmap> SpinGlyph(bool Up);

class TExtTimerSpeedButton : public TStateButton {
 public:
  explicit TExtTimerSpeedButton(plat::TComponent* AOwner);
  TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
  void SetTimeBtnState(TTimeBtnState v);
  TButtonDirection ButtonDirection() const { return FButtonDirection; }
  void SetButtonDirection(TButtonDirection v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool HasMouse() const { return Hot(); }
  // Null loads the direction's own glyph.
  void SetGlyph(const plat::TBitmap* v);
  // Created on the first press.
  plat::TTimer* RepeatTimer() const { return FRepeatTimer; }
  void TimerExpired();

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  TEsgSpinButton* Pair() const;
  plat::TTimer* FRepeatTimer = nullptr;
  TTimeBtnState FTimeBtnState{tbAllowTimer};
  TButtonDirection FButtonDirection = bdUp;
  bool FTransparent = false;
};

class TEsgSpinButton : public plat::TCustomControl, public TButtonColors {
 public:
  explicit TEsgSpinButton(plat::TComponent* AOwner);
  TExtTimerSpeedButton* UpButton() const { return FUpButton; }
  TExtTimerSpeedButton* DownButton() const { return FDownButton; }
  TExtTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
  plat::TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(plat::TWinControl* v);
  TSpinDirection Direction() const { return FDirection; }
  void SetDirection(TSpinDirection v);
  void SetIsWinXP(bool v);
  bool IsWinXP() const { return FIsWinXP; }

  plat::TNotifyEvent OnUpClick;
  plat::TNotifyEvent OnDownClick;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  plat::LRESULT DefaultDlgCode() const override { return plat::DLGC_WANTARROWS; }
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  void LayoutButtons();
  void ButtonPressed(TExtTimerSpeedButton* Button);
  void SetFocusBtn(TExtTimerSpeedButton* Button);
  TExtTimerSpeedButton* FUpButton;
  TExtTimerSpeedButton* FDownButton;
  TExtTimerSpeedButton* FFocusedButton;
  plat::TWinControl* FFocusControl = nullptr;
  TSpinDirection FDirection = spVertical;
  bool FIsWinXP = false;
};

class TEsgSpinEdit : public plat::TEdit {
 public:
  explicit TEsgSpinEdit(plat::TComponent* AOwner);
  ~TEsgSpinEdit() override;

  TEsgSpinButton* Button() const { return FButton; }
  TEsgSpinType SpinType() const { return FSpinType; }
  void SetSpinType(TEsgSpinType v);

  int Value() const;
  void SetValue(int v);
  int MinValue = 0;
  int MaxValue = 100;
  int Increment = 1;
  double FloatValue() const;
  void SetFloatValue(double v);
  double MinFloatValue = 0;
  double MaxFloatValue = 100.0;
  double IncrementFloat = 0.1;
  double IncrementFloatPage = 1.0;
  int Precision() const { return FPrecision; }
  void SetPrecision(int v);
  plat::TDateTime DateValue() const;
  void SetDateValue(plat::TDateTime v);
  plat::TDateTime TimeValue() const;
  void SetTimeValue(plat::TDateTime v);
  plat::TDateTime MinDateValue = 0;
  plat::TDateTime MaxDateValue = 0;
  int IncrementHours = 1;
  int IncrementMinutes = 1;
  int IncrementSeconds = 1;
  bool ShowSeconds = true;
  bool EditorEnabled = true;
  bool ReturnIsTab = false;
  bool ExcelStyleDecimalSeparator = false;
  bool AllowEmptyValue = false;
  bool AutoSelect = true;
  TEditAlign EditAlign() const { return FEditAlign; }
  void SetEditAlign(TEditAlign v);
  TSpinDirection Direction() const { return FButton->Direction(); }
  void SetDirection(TSpinDirection v);
  void SetSpinFlat(bool v);
  void SetSpinTransparent(bool v);
  void SetIsWinXP(bool v);
  plat::TRect TextRect() const { return FTextRect; }

  virtual void IncrementValue(bool Page);
  virtual void DecrementValue(bool Page);
  virtual bool AcceptsChar(char16_t& Key);
  virtual void SpinUpClick(plat::TObject* Sender);
  virtual void SpinDownClick(plat::TObject* Sender);

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Loaded() override;
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  void Resize() override;

 private:
  void Step(int Sign, bool Page);
  void StepDate(int Sign);
  void StepTime(int Sign);
  void UpdateLayout();
  void WriteKeepingCaret(const QString& Text);

  TEsgSpinButton* FButton;
  TEsgSpinType FSpinType = sptNormal;
  int FPrecision = 0;
  plat::TDateTime FDateValue = 0;
  plat::TDateTime FTimeValue = 0;
  TEditAlign FEditAlign = eaLeft;
  bool FIsWinXP = false;
  bool FUsDates = false;
  bool FAdjusting = false;
  plat::TRect FTextRect;
};

}  // namespace controls
