// The grid's date editors through the real grid: the calendar that drops down on F4 (and at once with
// DirectDateDrop), its styles and notices, picking a day from it, the edit closing with it (DirectDateClose),
// the field stepping of typed digits, and a refused date.
#include "grid/edit/tests/edit_test_fixture.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QPainter>

#include "grid/edit/special_editors.h"
#include "platform/rtl/formatsettings.h"

namespace grid {
namespace {

using edittest::EditFixture;

struct DateEditors : EditFixture {
  plat::TFormatSettings saved = plat::FormatSettings;
  DateEditors() {
    plat::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    plat::FormatSettings.DateSeparator = u'/';
    plat::TCalendarPopup::SetToday(QDate(2024, 3, 20));
    g->DefaultEditor = edDateEdit;
    g->SetColWidths(1, 120);
    g->SetCells(1, 1, "15/03/2024");
    g->OnDatePickerDropDown = [this](plat::TObject*, int r, int c) { log.push_back(QString("drop %1,%2").arg(c).arg(r)); };
    g->OnDatePickerCloseUp = [this](plat::TObject*, int r, int c) { log.push_back(QString("close %1,%2").arg(c).arg(r)); };
  }
  ~DateEditors() override {
    plat::FormatSettings = saved;
    plat::TCalendarPopup::SetToday(QDate());
  }
  TGridDatePicker* Picker() { return g->DateTimePicker(); }
  plat::TCalendarPopup* Popup() { return Picker()->CalendarPopup(); }
  // A key typed into the dropped calendar page.
  void CalendarKey(int key) {
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->window(), Popup());
    QTest::keyClick(w, static_cast<Qt::Key>(key));
  }
};

TEST_F(DateEditors, F4DropsTheCalendarAndAPickedDayIsStored) {
  Picker()->Weeknumbers = true;
  Key(Qt::Key_F2);
  ASSERT_TRUE(Picker()->Visible());
  Key(Qt::Key_F4);
  ASSERT_TRUE(Picker()->DroppedDown());
  EXPECT_TRUE(Picker()->OldDropped());
  EXPECT_EQ(Log(), "drop 1,1");
  QCalendarWidget* cal = Popup()->Calendar();
  EXPECT_EQ(cal->selectedDate(), QDate(2024, 3, 15));
  EXPECT_EQ(cal->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
  // Below the picker (within the popup's own frame line).
  const QPoint below = Picker()->Widget()->mapToGlobal(QPoint(0, Picker()->Height()));
  EXPECT_LE((Popup()->pos() - below).manhattanLength(), 4);
  // The whole form with the calendar over it, to look at.
  QImage shot = form->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  {
    QPainter p(&shot);
    p.drawImage(Popup()->pos() - form->Widget()->mapToGlobal(QPoint(0, 0)), Popup()->grab().toImage());
  }
  shot.save(edittest::ShotPath("edit_date_calendar"));
  // Focus in the calendar does not end the edit; Right and Enter pick the next day.
  EXPECT_TRUE(g->EditMode());
  CalendarKey(Qt::Key_Right);
  CalendarKey(Qt::Key_Return);
  EXPECT_FALSE(Picker()->DroppedDown());
  EXPECT_FALSE(Picker()->OldDropped());
  EXPECT_EQ(Log(), "drop 1,1 | close 1,1");
  ASSERT_TRUE(Picker()->Visible());  // the edit stays open until it is committed
  EXPECT_EQ(Picker()->Text(), "16/03/2024");
  Key(Qt::Key_Return);
  EXPECT_FALSE(Picker()->Visible());
  EXPECT_EQ(g->Cells(1, 1), "16/03/2024");
}

TEST_F(DateEditors, CalendarStylesFollowThePickersSettings) {
  struct Case {
    bool weeks, today, circle;
  } cases[] = {{false, true, true}, {true, false, false}};
  for (const Case& c : cases) {
    Picker()->Weeknumbers = c.weeks;
    Picker()->ShowToday = c.today;
    Picker()->ShowTodayCircle = c.circle;
    g->SetFocus();
    Key(Qt::Key_F2);
    Key(Qt::Key_F4);
    ASSERT_TRUE(Picker()->DroppedDown());
    const unsigned style = Picker()->CalendarStyle;
    EXPECT_EQ((style & plat::MCS_WEEKNUMBERS) != 0, c.weeks);
    EXPECT_EQ((style & plat::MCS_NOTODAY) == 0, c.today);
    EXPECT_EQ((style & plat::MCS_NOTODAYCIRCLE) == 0, c.circle);
    CalendarKey(Qt::Key_Escape);
    EXPECT_FALSE(Picker()->DroppedDown());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(g->EditMode());
    EXPECT_EQ(g->Cells(1, 1), "15/03/2024");
  }
}

TEST_F(DateEditors, DirectDropOpensTheCalendarAndDirectCloseEndsTheEditWithIt) {
  g->MouseActions()->DirectDateDrop = true;
  g->MouseActions()->DirectDateClose = true;
  LogEnd();
  Key(Qt::Key_F2);
  ASSERT_TRUE(Picker()->DroppedDown());
  CalendarKey(Qt::Key_Down);  // a week later
  CalendarKey(Qt::Key_Return);
  Flush();
  EXPECT_FALSE(g->EditMode());
  EXPECT_FALSE(Picker()->Visible());
  EXPECT_EQ(g->Cells(1, 1), "22/03/2024");
  EXPECT_EQ(Log(), "drop 1,1 | close 1,1 | editing done | cell done 1,1");
}

TEST_F(DateEditors, TypedDigitsMoveOnFromAFilledFieldButNotFromTheLastOne) {
  Picker()->SetFormat("dd/MM/yyyy");
  Key(Qt::Key_F2);
  Picker()->SetCurrentField(0);
  Type("2");
  Flush();
  EXPECT_EQ(Picker()->CurrentField(), 0);  // a day of two digits is not typed yet
  Type("4");
  Flush();
  EXPECT_EQ(Picker()->CurrentField(), 1);
  Picker()->SetCurrentField(2);
  Type("2025");
  Flush();
  EXPECT_EQ(Picker()->CurrentField(), 2);
  Key(Qt::Key_Return);
  EXPECT_EQ(g->Cells(1, 1), "24/03/2025");
  Picker()->SetFormat("");
}

TEST_F(DateEditors, ARefusedDateKeepsThePickerOpenOnTheValidationsValue) {
  LogValidation(false, "01/01/2024");
  Key(Qt::Key_F2);
  Key(Qt::Key_PageUp);  // closes: the edit ends through the cell change
  EXPECT_FALSE(Picker()->Visible());
  log.clear();
  g->SetFocus();
  Key(Qt::Key_F2);
  Picker()->SetDateTime(plat::EncodeDate(2024, 5, 5));
  Key(Qt::Key_Return);
  EXPECT_TRUE(Picker()->Visible());
  EXPECT_EQ(Log(), "validate 1,1=05/05/2024");
  EXPECT_EQ(Picker()->Text(), "01/01/2024");
  EXPECT_EQ(g->Col(), 1);
}

}  // namespace
}  // namespace grid
