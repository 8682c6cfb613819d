// The month calendar that drops down below a date-time picker: a calendar page with optional week numbers,
// today's date marked with a circle, and a "Today" line under the page that picks today. Picking a day (click,
// Enter, or the Today line) reports the date and closes the popup; Escape or a click elsewhere closes it
// unchanged.
#pragma once

#include <QDate>
#include <QFrame>

#include <functional>

class QCalendarWidget;
class QToolButton;

namespace plat {

// Month calendar styles.
constexpr unsigned MCS_WEEKNUMBERS = 0x0004;
constexpr unsigned MCS_NOTODAYCIRCLE = 0x0008;
constexpr unsigned MCS_NOTODAY = 0x0010;

class TCalendarPopup : public QFrame {
 public:
  explicit TCalendarPopup(QWidget* Owner);

  QCalendarWidget* Calendar() const { return FCalendar; }
  // Shows the month of Date with Date selected, below Anchor (global coordinates of its bottom-left corner),
  // sized to the calendar's minimum size plus 2 pixels each way.
  void Popup(const QDate& Date, unsigned Style, const QPoint& Anchor, const QDate& Minimum, const QDate& Maximum);
  // The day shown as today (the system date unless a test pins it).
  static QDate Today();
  static void SetToday(const QDate& Date);

  std::function<void(const QDate&)> OnPick;
  std::function<void()> OnClosed;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void Pick(const QDate& Date);
  QCalendarWidget* FCalendar;
  QToolButton* FToday;
  bool FPicking = false;
};

}  // namespace plat
