#pragma once
// Date and time pickers on the platform picker. TEsgDateTimePicker can draw its own flat border and drop-down
// button (MetroStyle) and frame itself in a border or focus colour. TCustomDateTimePicker is its twin with a
// black default border, an outline of its own and AutoTab: after a typed digit changed a field, the caret
// moves on to the next field. TExtDateTimePicker shows a date, a time, or a date with an embedded time
// picker, and carries a caption label.

#include <QString>

#include <cmath>
#include <memory>

#include "controls/flat_combo.h"
#include "controls/state_button.h"
#include "platform/forms/datetimepicker.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

namespace controls {

// The message a picker posts to itself after a typed digit ("DTPShiftFocus").
plat::UINT DTPShiftFocusMessage();

class TEsgDateTimePicker : public plat::TDateTimePicker, public TButtonColors {
 public:
  explicit TEsgDateTimePicker(plat::TComponent* AOwner);
  virtual QString Version() const { return QStringLiteral("1.0.0.0"); }

  plat::TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  virtual void SetBorderStyle(plat::TFormBorderStyle v);
  plat::TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(plat::TColor v);
  plat::TColor FocusBorderColor() const { return FFocusBorderColor; }
  void SetFocusBorderColor(plat::TColor v);
  bool DisabledBorder() const { return FDisabledBorder; }
  void SetDisabledBorder(bool v);
  int ButtonWidth() const { return FButtonWidth; }
  bool MetroStyle = false;
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v) { FIsWinXP = v; }
  bool HasFocus() const { return FHasFocus; }
  bool ButtonHover() const { return FButtonHover; }
  // The own look is drawn now (MetroStyle, and the kind's own condition).
  virtual bool OwnLookActive() const;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  bool Themed() const;
  bool ThemeActive() const;
  // Where the platform's button area is erased (from the client's right edge) and whether the paint message
  // draws the outline: the twins differ here.
  virtual int EraseFromRight() const { return FButtonWidth + 15; }
  virtual bool OutlineInPaint() const { return false; }
  virtual bool SkipBorders() const { return false; }
  plat::TColor OutlineColour() const;
  plat::TColor FBorderColor = plat::clNone;

 private:
  void PaintOwnLook();
  void DrawButton(plat::TCanvas& C);
  void DrawOutline(plat::TCanvas& C);
  void DrawBorders(plat::TCanvas& C);
  plat::TFormBorderStyle FBorderStyle = plat::bsNone;
  plat::TColor FFocusBorderColor = plat::clNone;
  bool FDisabledBorder = false;
  int FButtonWidth = 19;
  bool FIsWinXP = true;
  bool FMouseInControl = false;
  bool FButtonHover = false;
  bool FHasFocus = false;
};

class TCustomDateTimePicker : public TEsgDateTimePicker {
 public:
  explicit TCustomDateTimePicker(plat::TComponent* AOwner);
  bool AutoTab() const { return FAutoTab; }
  virtual void SetAutoTab(bool v) { FAutoTab = v; }
  bool OwnLookActive() const override;
  virtual bool SkipOwnBorder() const { return true; }
  virtual void ShiftFocus();
  void Dispatch(plat::TMessage& Message) override;

 protected:
  int EraseFromRight() const override { return ButtonWidth() + 4; }
  bool OutlineInPaint() const override { return !Ctl3D(); }
  bool SkipBorders() const override { return SkipOwnBorder(); }
  // Stores what ShiftFocus compares with, before a typed digit reaches the fields.
  virtual void RememberFields();
  // Moves the caret on to the next field, unless the platform already moved it after a full field.
  void NextField();
  int Fh = 0, Fm = 0, Fs = 0;
  int FFieldBefore = 0;

 private:
  bool FAutoTab = false;
};

enum TExtDateTimeKind { dkDate, dkTime, dkDateTime };

class TExtDateTimePicker : public TCustomDateTimePicker {
 public:
  explicit TExtDateTimePicker(plat::TComponent* AOwner);
  ~TExtDateTimePicker() override;
  QString Version() const override { return QStringLiteral("1.2.0.0"); }

  TExtDateTimeKind Kind() const { return FKind; }
  void SetKind(TExtDateTimeKind v);
  TCustomDateTimePicker* TimePicker() const { return FTimePicker; }
  // The embedded picker's time joins the date (reading copies it into the base picker first).
  plat::TDateTime DateTime();
  virtual void SetDateTime(plat::TDateTime v);
  plat::TDateTime Date() { return std::floor(DateTime()); }
  // Keeps the time of day (milliseconds dropped).
  void SetDate(plat::TDateTime v);
  plat::TDateTime Time() const;
  void SetTime(plat::TDateTime v);
  QString TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const QString& v);
  void SetAutoTab(bool v) override;
  bool SkipOwnBorder() const override { return false; }
  void ShiftFocus() override;
  void SetBorderStyle(plat::TFormBorderStyle v) override;

  // Attached label.
  QString LabelCaption() const;
  void SetLabelCaption(const QString& v);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition v);
  int LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(int v);
  bool FocusLabel = false;
  plat::TLabel* PickerLabel() const { return FLabel; }

  plat::TNotifyEvent OnTimeChange;
  plat::TNotifyEvent OnLabelClick;
  plat::TNotifyEvent OnLabelDblClick;

  virtual void ChangeNotify();
  virtual void ClickNotify();
  virtual void TimePickerKeyPress(char16_t& Key) { (void)Key; }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Change() override;
  void RememberFields() override;
  void Resize() override;
  void EnabledChanged() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void VisibleChanged() override;

 private:
  void UpdateTimePicker();
  void PlaceLabel();
  TExtDateTimeKind FKind = dkDateTime;
  TCustomDateTimePicker* FTimePicker = nullptr;
  QString FTimeFormat;
  int Fy = 0, Fmo = 0, Fd = 0;
  plat::TLabel* FLabel = nullptr;
  TLabelPosition FLabelPosition = lpLeftTop;
  int FLabelMargin = 4;
};

}  // namespace controls
