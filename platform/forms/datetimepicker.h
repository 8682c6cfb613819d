// The framework's date-time picker (TDateTimePicker) over Qt's date-time edit: a date or a time edited in
// fields, a calendar that drops down for dates, an optional check box ("show none") and a display format in
// the framework's tokens. Qt moves on to the next field once a field is typed full.
#pragma once

#include <QString>

#include "platform/forms/calendarpopup.h"
#include "platform/forms/controls.h"
#include "platform/rtl/datetime.h"

class QCheckBox;
class QDateTimeEdit;

namespace plat {

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDateTimeField { dfDay, dfMonth, dfYear, dfHour, dfMinute, dfSecond };

// Format tokens of the picker (d dd ddd dddd M MM MMM MMMM y yy yyyy h hh H HH m mm s ss t tt, 'quoted') as
// Qt's display format.
QString PickerFormatToQt(const QString& Format);

class TDateTimePicker : public TWinControl {
 public:
  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;
  QDateTimeEdit* DateTimeEdit() const;

  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind v);
  TDTDateMode DateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode v);
  // Setting values by code raises no OnChange.
  TDateTime DateTime() const;
  void SetDateTime(TDateTime v);
  TDateTime Date() const;   // whole days
  void SetDate(TDateTime v);  // keeps the time of day
  TDateTime Time() const;   // the time of day
  void SetTime(TDateTime v);  // keeps the date
  // Empty: the locale's short date or long time format.
  QString Format() const { return FFormat; }
  void SetFormat(const QString& v);
  bool ShowCheckbox() const { return FShowCheckbox; }
  void SetShowCheckbox(bool v);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool v) { FCtl3D = v; }
  // The field the caret is in (0 = the first); setting it selects the field.
  int CurrentField() const;
  void SetCurrentField(int v);
  int FieldCount() const;
  // The number a field shows now, typed digits included (-1 when the format has no such field).
  int FieldValue(TDateTimeField Field) const;
  // The field holds as many digits as its format shows (a four-digit year: all four typed).
  bool FieldFull(TDateTimeField Field) const;

  // The month calendar of a date picker in combo-box mode drops down on F4, Alt+Down or a press on the
  // picker's button. Picking a day sets the date (keeping the time) as the user's change; the calendar's
  // styles (MCS_*) are read each time it drops down, after OnDropDown.
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  bool CanDropDown() const { return FKind == dtkDate && FDateMode == dmComboBox; }
  unsigned CalendarStyle = 0;
  // The popup (nullptr before the calendar first dropped down).
  TCalendarPopup* CalendarPopup() const { return FPopup; }

  // The user changed the value or the check box.
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown, OnCloseUp;

  // Left and Right move from field to field, as on the platform's picker.
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Change();
  // Before the calendar shows (fires OnDropDown) and after it closed (fires OnCloseUp).
  virtual void DropDown();
  virtual void CloseUp();
  // Where a press opens the calendar: the picker's drop-down button.
  virtual bool InDropButton(int X, int Y) const;
  // The text the fields show.
  QString GetText() const override;
  bool ColorIsBase() const override { return true; }
  LRESULT DefaultDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void Resize() override;

 private:
  void ApplyFormat();
  void PlaceCheckbox();
  TDateTimeKind FKind = dtkDate;
  TDTDateMode FDateMode = dmComboBox;
  QString FFormat;
  bool FShowCheckbox = false;
  bool FChecked = true;
  bool FCtl3D = true;
  bool FSetting = false;
  QCheckBox* FCheckbox = nullptr;
  TCalendarPopup* FPopup = nullptr;
};

}  // namespace plat
