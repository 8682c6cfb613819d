#include "platform/forms/calendarpopup.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"

namespace plat {

namespace {

QDate& PinnedToday() {
  static QDate today;
  return today;
}

// The calendar page: today's day is ringed unless the style says otherwise.
class TMonthPage : public QCalendarWidget {
 public:
  using QCalendarWidget::QCalendarWidget;
  bool TodayCircle = true;

 protected:
  void paintCell(QPainter* painter, const QRect& rect, QDate date) const override {
    QCalendarWidget::paintCell(painter, rect, date);
    if (!TodayCircle || date != TCalendarPopup::Today()) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(QColor(0xC0, 0x20, 0x20), 1.5));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(QRectF(rect).adjusted(2, 1.5, -2, -1.5));
    painter->restore();
  }
};

}  // namespace

QDate TCalendarPopup::Today() { return PinnedToday().isValid() ? PinnedToday() : QDate::currentDate(); }

void TCalendarPopup::SetToday(const QDate& Date) { PinnedToday() = Date; }

TCalendarPopup::TCalendarPopup(QWidget* Owner) : QFrame(Owner, Qt::Popup) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  FCalendar = new TMonthPage(this);
  FCalendar->setGridVisible(false);
  FCalendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
  layout->addWidget(FCalendar);
  FToday = new QToolButton(this);
  FToday->setAutoRaise(true);
  FToday->setToolButtonStyle(Qt::ToolButtonTextOnly);
  FToday->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  layout->addWidget(FToday);
  QObject::connect(FCalendar, &QCalendarWidget::clicked, this, [this](QDate d) { Pick(d); });
  QObject::connect(FCalendar, &QCalendarWidget::activated, this, [this](QDate d) { Pick(d); });
  QObject::connect(FToday, &QToolButton::clicked, this, [this] { Pick(Today()); });
}

void TCalendarPopup::Popup(const QDate& Date, unsigned Style, const QPoint& Anchor, const QDate& Minimum,
                           const QDate& Maximum) {
  auto* page = static_cast<TMonthPage*>(FCalendar);
  page->TodayCircle = (Style & MCS_NOTODAYCIRCLE) == 0;
  FCalendar->setVerticalHeaderFormat((Style & MCS_WEEKNUMBERS) != 0 ? QCalendarWidget::ISOWeekNumbers
                                                                     : QCalendarWidget::NoVerticalHeader);
  FCalendar->setFirstDayOfWeek(Qt::Monday);
  FCalendar->setDateRange(Minimum, Maximum);
  FCalendar->setSelectedDate(Date);
  FCalendar->setCurrentPage(Date.year(), Date.month());
  QString format = FormatSettings.ShortDateFormat;
  format.replace(QLatin1Char('m'), QLatin1Char('M'));
  FToday->setText(QStringLiteral("Today: ") + Today().toString(format));
  FToday->setVisible((Style & MCS_NOTODAY) == 0);
  adjustSize();
  resize(minimumSizeHint().expandedTo(sizeHint()) + QSize(2, 2));
  move(Anchor);
  show();
  FCalendar->setFocus(Qt::PopupFocusReason);
}

void TCalendarPopup::Pick(const QDate& Date) {
  if (FPicking || !Date.isValid()) return;
  FPicking = true;
  if (OnPick) OnPick(Date);  // the new date first, then the close-up
  hide();
  FPicking = false;
}

void TCalendarPopup::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape || (e->key() == Qt::Key_F4) ||
      (e->key() == Qt::Key_Up && (e->modifiers() & Qt::AltModifier))) {
    hide();
    return;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    Pick(FCalendar->selectedDate());
    return;
  }
  QFrame::keyPressEvent(e);
}

void TCalendarPopup::hideEvent(QHideEvent* e) {
  QFrame::hideEvent(e);
  if (OnClosed) OnClosed();
}

}  // namespace plat
