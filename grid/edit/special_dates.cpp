// The date and time editors of the string grid: the date (or time) picker with its dropped calendar, and the
// date-and-time picker. Both end the edit with the keys the grid's editors share, report their changes,
// drop-downs and close-ups to the grid, and write back when the focus goes elsewhere - but not when it only
// went into their own calendar.
#include <QDateTime>
#include <QDateTimeEdit>
#include <QPainter>

#include "grid/edit/special_editors.h"
#include "grid/extgrid.h"
#include "platform/forms/msgqueue.h"
#include "platform/graphics/color.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"

namespace grid {

using plat::TShiftState;

plat::TDateTime CellTextToDateTime(const QString& Text) {
  plat::TDateTime v = 0;
  if (!Text.trimmed().isEmpty()) {
    if (plat::TryStrToDateTime(Text, v)) return v;
    const QDateTime iso = QDateTime::fromString(Text.trimmed(), Qt::ISODate);
    if (iso.isValid()) return plat::DateTimeFromQDateTime(iso);
  }
  return plat::Now();
}

namespace {

bool WantsKey(plat::TMessage& M, std::initializer_list<std::uint16_t> Keys) {
  if (M.Msg != plat::CM_WANTSPECIALKEY) return false;
  for (std::uint16_t k : Keys)
    if (k == M.WParam) {
      M.Result = 1;
      return true;
    }
  return false;
}

}  // namespace

// ---------------------------------------------------------------- the date picker

TGridDatePicker::TGridDatePicker(plat::TComponent* AOwner)
    : controls::TEsgDateTimePicker(AOwner), TGridEditorSide(AOwner) {}

// The value a cell's text gives the picker: a time for the time kind, else a date; now when it does not convert.
plat::TDateTime TGridDatePicker::CellValue(const QString& Text) const {
  if (Kind() != plat::dtkTime) return CellTextToDateTime(Text);
  plat::TDateTime t = 0;
  return plat::TryStrToTime(Text, t) ? t : plat::Now();
}

void TGridDatePicker::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  const bool tab = Key == plat::VK_TAB && FGrid->WantsTabKey();
  const bool closing = tab || Key == plat::VK_RETURN || Key == plat::VK_ESCAPE || Key == plat::VK_PRIOR ||
                       Key == plat::VK_NEXT || Key == plat::VK_END;
  if (!closing) return controls::TEsgDateTimePicker::KeyDown(Key, Shift);
  const std::uint16_t k = Key;
  Key = 0;
  if (k == plat::VK_ESCAPE) {
    SetDateTime(CellValue(FGrid->CurrentCell()));
  } else if (k == plat::VK_RETURN || tab) {
    DateTimeEdit()->interpretText();  // the field being typed is finished first
    if (!Commit(Text())) {
      SetDateTime(CellValue(FGrid->EditState().NewCellText));
      return;
    }
  }
  if (!DroppedDown()) Close(k, Shift);
}

void TGridDatePicker::KeyPress(char16_t& Key) {
  controls::TEsgDateTimePicker::KeyPress(Key);
  if (FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);
}

void TGridDatePicker::RememberFields() {
  Fy = FieldValue(plat::dfYear), Fm = FieldValue(plat::dfMonth), Fd = FieldValue(plat::dfDay);
  Fth = FieldValue(plat::dfHour), Ftm = FieldValue(plat::dfMinute), Fts = FieldValue(plat::dfSecond);
  FFieldBefore = CurrentField();
}

// A field counts as changed once the typed digits fill it: a first digit of two does not move on.
bool TGridDatePicker::FieldChanged(plat::TDateTimeField Field, int Before) const {
  return FieldValue(Field) != Before && FieldFull(Field);
}

void TGridDatePicker::ShiftFocus() {
  bool next = false;
  if (Kind() == plat::dtkTime) {
    next = FieldChanged(plat::dfHour, Fth) || FieldChanged(plat::dfMinute, Ftm) || FieldChanged(plat::dfSecond, Fts);
  } else {
    const bool d = FieldChanged(plat::dfDay, Fd), m = FieldChanged(plat::dfMonth, Fm);
    const bool y = FieldChanged(plat::dfYear, Fy);
    const QString f = Format().trimmed();
    if (f.isEmpty()) {
      next = d || m;
    } else {
      const QChar last = f.back().toLower();
      const bool lastChanged = (d && last == u'd') || (m && last == u'm') || (y && last == u'y');
      next = (d || m || y) && !lastChanged;
    }
  }
  if (next && CurrentField() == FFieldBefore && CurrentField() + 1 < FieldCount())
    plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_RIGHT, 0);
}

// The grid hears of every change: the value, and the picker's date (or time) as text in the locale format.
void TGridDatePicker::Change() {
  controls::TEsgDateTimePicker::Change();
  if (!Visible()) return;
  const int col = FGrid->Col(), row = FGrid->RealRowIndex(FGrid->Row());
  if (FGrid->OnDateTimeChange) FGrid->OnDateTimeChange(FGrid, col, row, DateTime());
  if (FGrid->OnEditChange)
    FGrid->OnEditChange(FGrid, col, row, Kind() == plat::dtkTime ? plat::TimeToStr(Time()) : plat::DateToStr(Date()));
}

void TGridDatePicker::DropDown() {
  FOldDropped = true;
  if (FGrid->OnDatePickerDropDown) FGrid->OnDatePickerDropDown(FGrid, FGrid->RealRowIndex(FGrid->Row()), FGrid->Col());
  CalendarStyle = (Weeknumbers ? plat::MCS_WEEKNUMBERS : 0u) | (ShowToday ? 0u : plat::MCS_NOTODAY) |
                  (ShowTodayCircle ? 0u : plat::MCS_NOTODAYCIRCLE);
  controls::TEsgDateTimePicker::DropDown();
}

// With MouseActions.DirectDateClose the edit ends as the calendar closes.
void TGridDatePicker::CloseUp() {
  FOldDropped = false;
  controls::TEsgDateTimePicker::CloseUp();
  if (FGrid->OnDatePickerCloseUp) FGrid->OnDatePickerCloseUp(FGrid, FGrid->RealRowIndex(FGrid->Row()), FGrid->Col());
  if (FGrid->MouseActions()->DirectDateClose && FGrid->EditMode() && !FGrid->EditState().BlockKill) {
    FGrid->HideInplaceEdit();
    FocusGrid();
  }
}

// The picker sits flat in its cell: its frame is painted over in the window colour.
void TGridDatePicker::PaintFlatFrame() {
  QWidget* w = Widget();
  if (!w) return;
  QPainter p(w);
  p.setPen(plat::ToQColor(plat::clWindow));
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, Width() - 1, Height() - 1);
  p.drawRect(1, 1, Width() - 3, Height() - 3);
}

void TGridDatePicker::Dispatch(plat::TMessage& Message) {
  if (WantsKey(Message, {plat::VK_RETURN, plat::VK_ESCAPE}) ||
      (FGrid->WantsTabKey() && WantsKey(Message, {plat::VK_TAB})))
    return;
  if (Message.Msg == controls::DTPShiftFocusMessage()) {
    ShiftFocus();
    return;
  }
  switch (Message.Msg) {
    case plat::WM_KILLFOCUS:
      if (!FOldDropped) FocusLost();
      break;
    case plat::WM_CHAR:
      if (QChar(static_cast<char16_t>(Message.WParam)).isDigit()) {
        RememberFields();
        controls::TEsgDateTimePicker::Dispatch(Message);
        plat::PostMessage(Handle(), controls::DTPShiftFocusMessage(), 0, 0);
        return;
      }
      break;
    case plat::WM_PAINT:
      controls::TEsgDateTimePicker::Dispatch(Message);
      PaintFlatFrame();
      return;
    default: break;
  }
  controls::TEsgDateTimePicker::Dispatch(Message);
}

// ---------------------------------------------------------------- the date-and-time picker

TGridDateTimePicker::TGridDateTimePicker(plat::TComponent* AOwner)
    : controls::TExtDateTimePicker(AOwner), TGridEditorSide(AOwner) {
  SetAutoTab(true);
  OnTimeChange = [this](plat::TObject*) {
    if (Visible() && FGrid->OnDateTimeChange)
      FGrid->OnDateTimeChange(FGrid, FGrid->Col(), FGrid->RealRowIndex(FGrid->Row()), DateTime());
  };
}

void TGridDateTimePicker::CloseUp() {
  controls::TExtDateTimePicker::CloseUp();
  if (FGrid->OnDatePickerCloseUp) FGrid->OnDatePickerCloseUp(FGrid, FGrid->RealRowIndex(FGrid->Row()), FGrid->Col());
}

void TGridDateTimePicker::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Key == plat::VK_ESCAPE) {
    SetDateTime(OriginalDateTime);
    FGrid->HideInplaceEdit();
    FocusGrid();
  } else if (Key == plat::VK_RETURN) {
    FGrid->HideInplaceEdit();
    FocusGrid();
    FGrid->EditorAdvance(Shift.Contains(plat::ssShift));
  } else if (Key == plat::VK_TAB && FGrid->WantsTabKey()) {
    FGrid->HideInplaceEdit();
    FocusGrid();
    FGrid->SetCurrentCellText(Text());
    FGrid->EditorTabToNextCell(Shift.Contains(plat::ssShift));
  } else {
    return controls::TExtDateTimePicker::KeyDown(Key, Shift);
  }
  Key = 0;
}

void TGridDateTimePicker::Dispatch(plat::TMessage& Message) {
  if (WantsKey(Message, {plat::VK_RETURN, plat::VK_ESCAPE})) return;
  if (Message.Msg == plat::WM_KILLFOCUS && !DroppedDown()) {
    // Moving between the date and the embedded time part keeps the edit open.
    plat::TWinControl* next = plat::FindControl(static_cast<plat::HWND>(Message.WParam));
    if (!next || (next != TimePicker() && next != this)) FocusLost();
  }
  controls::TExtDateTimePicker::Dispatch(Message);
}

}  // namespace grid
