#include "platform/forms/datetimepicker.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>

#include "platform/forms/host.h"
#include "platform/rtl/formatsettings.h"

namespace plat {

namespace {

const QDate& Epoch() {
  static const QDate epoch(1899, 12, 30);
  return epoch;
}

QDateTime ToQt(TDateTime v) {
  const double days = std::floor(v);
  const int ms = int(std::lround((v - days) * 86400000.0));
  return QDateTime(Epoch().addDays(qint64(days)), QTime(0, 0).addMSecs(std::min(ms, 86399999)));
}

TDateTime FromQt(const QDateTime& d) {
  return double(Epoch().daysTo(d.date())) + d.time().msecsSinceStartOfDay() / 86400000.0;
}

// The locale's formats use "m" for the month in dates and "n" for minutes in times.
QString LocaleDateFormat() {
  QString f = FormatSettings.ShortDateFormat;
  f.replace(QLatin1Char('m'), QLatin1Char('M'));
  return PickerFormatToQt(f);
}

QString LocaleTimeFormat() {
  QString f = FormatSettings.LongTimeFormat;
  f.replace(QLatin1Char('n'), QLatin1Char('m'));
  f.replace(QLatin1Char('h'), QLatin1Char('H'));
  return PickerFormatToQt(f);
}

}  // namespace

QString PickerFormatToQt(const QString& Format) {
  QString out;
  for (int i = 0; i < Format.size();) {
    const QChar c = Format[i];
    int run = 1;
    while (i + run < Format.size() && Format[i + run] == c) ++run;
    if (c == u'\'') {  // quoted text stays as it is
      const int end = int(Format.indexOf(u'\'', i + 1));
      const int stop = end < 0 ? int(Format.size()) : end + 1;
      out += Format.mid(i, stop - i);
      i = stop;
      continue;
    }
    switch (c.unicode()) {
      case u'y': out += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy"); break;
      case u't': out += QStringLiteral("AP"); break;
      case u'd': case u'M': case u'h': case u'H': case u'm': case u's': out += QString(run, c); break;
      default: out += QString(run, c); break;
    }
    i += run;
  }
  return out;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner)
    : TWinControl(AOwner, detail::MakeHost<detail::THost<QDateTimeEdit>>(this)) {
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  QDateTimeEdit* e = DateTimeEdit();
  e->setMinimumDate(QDate(100, 1, 1));
  e->setCalendarPopup(true);
  QObject::connect(e, &QDateTimeEdit::dateTimeChanged, e, [this](const QDateTime&) {
    if (!FSetting) detail::Guarded(this, [this] { Change(); });
  });
  FSetting = true;
  e->setDateTime(ToQt(Now()));
  FSetting = false;
  ApplyFormat();
}

// The popup goes with the picker's widget; it must not report a close-up to a picker being taken apart.
TDateTimePicker::~TDateTimePicker() {
  if (FPopup) FPopup->OnPick = nullptr, FPopup->OnClosed = nullptr;
}

QDateTimeEdit* TDateTimePicker::DateTimeEdit() const { return static_cast<QDateTimeEdit*>(Widget()); }

QString TDateTimePicker::GetText() const { return DateTimeEdit() ? DateTimeEdit()->text() : QString(); }

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
  FKind = v;
  ApplyFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
  FDateMode = v;
  DateTimeEdit()->setCalendarPopup(v == dmComboBox && FKind == dtkDate);
}

void TDateTimePicker::ApplyFormat() {
  QDateTimeEdit* e = DateTimeEdit();
  FSetting = true;
  if (!FFormat.isEmpty())
    e->setDisplayFormat(PickerFormatToQt(FFormat));
  else
    e->setDisplayFormat(FKind == dtkTime ? LocaleTimeFormat() : LocaleDateFormat());
  e->setCalendarPopup(FDateMode == dmComboBox && FKind == dtkDate);
  FSetting = false;
}

TDateTime TDateTimePicker::DateTime() const { return FromQt(DateTimeEdit()->dateTime()); }

void TDateTimePicker::SetDateTime(TDateTime v) {
  FSetting = true;
  DateTimeEdit()->setDateTime(ToQt(v));
  FSetting = false;
}

TDateTime TDateTimePicker::Date() const { return double(Epoch().daysTo(DateTimeEdit()->date())); }
void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(std::floor(v) + Time()); }
TDateTime TDateTimePicker::Time() const { return DateTimeEdit()->time().msecsSinceStartOfDay() / 86400000.0; }
void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(Date() + (v - std::floor(v))); }

void TDateTimePicker::SetFormat(const QString& v) {
  FFormat = v;
  ApplyFormat();
}

void TDateTimePicker::SetShowCheckbox(bool v) {
  FShowCheckbox = v;
  if (v && !FCheckbox) {
    FCheckbox = new QCheckBox(Widget());
    FCheckbox->setChecked(FChecked);
    QObject::connect(FCheckbox, &QCheckBox::toggled, FCheckbox, [this](bool on) {
      if (FSetting) return;
      FChecked = on;
      detail::Guarded(this, [this] { Change(); });
    });
  }
  if (FCheckbox) FCheckbox->setVisible(v);
  PlaceCheckbox();
}

void TDateTimePicker::SetChecked(bool v) {
  FChecked = v;
  if (FCheckbox) {
    FSetting = true;
    FCheckbox->setChecked(v);
    FSetting = false;
  }
}

void TDateTimePicker::PlaceCheckbox() {
  if (FCheckbox) FCheckbox->setGeometry(2, std::max(0, (Height() - 16) / 2), 16, 16);
}

void TDateTimePicker::Resize() {
  TWinControl::Resize();
  PlaceCheckbox();
}

void TDateTimePicker::Dispatch(TMessage& M) {
  if (M.Msg == WM_KEYDOWN && (M.WParam == VK_LEFT || M.WParam == VK_RIGHT) && !DoKeyDown(M)) {
    const int next = CurrentField() + (M.WParam == VK_RIGHT ? 1 : -1);
    if (next >= 0 && next < FieldCount()) SetCurrentField(next);
    return;
  }
  const bool altDown = M.Msg == WM_SYSKEYDOWN && M.WParam == VK_DOWN;
  if (CanDropDown() && ((M.Msg == WM_KEYDOWN && M.WParam == VK_F4) || altDown) && !DoKeyDown(M)) {
    SetDroppedDown(!DroppedDown());
    return;
  }
  if (M.Msg == WM_LBUTTONDOWN && CanDropDown() && Enabled()) {
    const int x = static_cast<short>(M.LParam & 0xFFFF), y = static_cast<short>((M.LParam >> 16) & 0xFFFF);
    if (InDropButton(x, y)) {
      if (CanFocus() && !Focused()) SetFocus();
      SetDroppedDown(!DroppedDown());
      return;
    }
  }
  TWinControl::Dispatch(M);
}

// ---- the month calendar -----------------------------------------------------------------------------------------

bool TDateTimePicker::InDropButton(int X, int Y) const {
  QDateTimeEdit* e = DateTimeEdit();
  QStyleOptionComboBox opt;
  opt.initFrom(e);
  opt.editable = true;
  opt.frame = e->hasFrame();
  const QRect arrow = e->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, e);
  return arrow.contains(X, Y) || (X >= Width() - 20 && X < Width() && Y >= 0 && Y < Height());
}

bool TDateTimePicker::DroppedDown() const { return FPopup && FPopup->isVisible(); }

void TDateTimePicker::SetDroppedDown(bool v) {
  if (v == DroppedDown()) return;
  if (!v) {
    FPopup->hide();
    return;
  }
  if (!CanDropDown() || !Widget()) return;
  if (!FPopup) {
    FPopup = new TCalendarPopup(Widget());
    FPopup->OnPick = [this](const QDate& d) {
      QDateTimeEdit* e = DateTimeEdit();
      if (d == e->date()) return;
      e->setDate(d);  // a change by the user: OnChange follows
    };
    FPopup->OnClosed = [this] { detail::Guarded(this, [this] { CloseUp(); }); };
  }
  DropDown();
  QDateTimeEdit* e = DateTimeEdit();
  FPopup->Popup(e->date(), CalendarStyle, e->mapToGlobal(QPoint(0, e->height())), e->minimumDate(),
                e->maximumDate());
}

void TDateTimePicker::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TDateTimePicker::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

int TDateTimePicker::CurrentField() const { return DateTimeEdit()->currentSectionIndex(); }
void TDateTimePicker::SetCurrentField(int v) {
  // The field is selected whole, so that typing replaces it.
  QDateTimeEdit* e = DateTimeEdit();
  e->setCurrentSectionIndex(v);
  e->setSelectedSection(e->sectionAt(v));
}
namespace {
QDateTimeEdit::Section SectionOf(TDateTimeField Field) {
  static const QDateTimeEdit::Section sections[] = {
      QDateTimeEdit::DaySection,  QDateTimeEdit::MonthSection,  QDateTimeEdit::YearSection,
      QDateTimeEdit::HourSection, QDateTimeEdit::MinuteSection, QDateTimeEdit::SecondSection};
  return sections[Field];
}
}  // namespace

int TDateTimePicker::FieldValue(TDateTimeField Field) const {
  QDateTimeEdit* e = DateTimeEdit();
  if (!(e->displayedSections() & SectionOf(Field))) return -1;
  bool ok = false;
  const int v = e->sectionText(SectionOf(Field)).trimmed().toInt(&ok);
  return ok ? v : -1;
}

bool TDateTimePicker::FieldFull(TDateTimeField Field) const {
  QDateTimeEdit* e = DateTimeEdit();
  const int width = Field == dfYear && e->displayFormat().contains(QLatin1String("yyyy")) ? 4 : 2;
  return e->sectionText(SectionOf(Field)).trimmed().size() >= width;
}

int TDateTimePicker::FieldCount() const { return DateTimeEdit()->sectionCount(); }

}  // namespace plat
