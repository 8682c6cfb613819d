#include "grid/extgrid_unit.h"

#include <QWidget>

#include <algorithm>
#include <vector>

#include "controls/date_picker.h"
#include "controls/theme_services.h"
#include "grid/edit/edit_manager.h"
#include "grid/extgrid.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/formatsettings.h"

namespace grid {

namespace {

struct TUnitState {
  int Starts = 0;
  std::vector<TExtStringGrid*> Grids;
  QStringList Classes;
  bool OwnsThemeSink = false;
};

TUnitState& Unit() {
  static TUnitState state;
  return state;
}

// The theme notifier's messages reach the grids that registered for them.
void DeliverThemeMessage(controls::TThemeWindow Wnd, unsigned Msg, std::intptr_t WParam, const QString&) {
  for (TExtStringGrid* g : Unit().Grids)
    if (static_cast<const void*>(g) == Wnd) g->Perform(Msg, static_cast<plat::WPARAM>(WParam), 0);
}

}  // namespace

void InitExtGridUnit() {
  TUnitState& u = Unit();
  if (u.Starts++ > 0) return;
  // Streaming knows the grid and its companion controls by name (a failure there would be ignored).
  u.Classes = {QStringLiteral("TExtStringGrid"),      QStringLiteral("TDropList"),
               QStringLiteral("TArrowWindow"),        QStringLiteral("TGridCombo"),
               QStringLiteral("TGridSpin"),           QStringLiteral("TGridTransEdit"),
               QStringLiteral("TGridTransCombo"),     QStringLiteral("TGridCheckBox"),
               QStringLiteral("TGridEditBtn"),        QStringLiteral("TGridDateTimePicker"),
               QStringLiteral("TGridUnitEditBtn"),    QStringLiteral("TGridTrackbarDropDown"),
               QStringLiteral("TGridMemoDropDown"),   QStringLiteral("TGridCalculatorDropDown"),
               QStringLiteral("TGridTimepickerDropDown"), QStringLiteral("TGridDetailPickerDropDown"),
               QStringLiteral("TGridGridDropDown"),   QStringLiteral("TGridColorDropDown"),
               QStringLiteral("TGridImageDropDown"),  QStringLiteral("TGridButton"),
               QStringLiteral("TGridDatePicker"),     QStringLiteral("THeaderDragButton"),
               QStringLiteral("TControlEdit"),        QStringLiteral("TControlCombo"),
               QStringLiteral("TScrollBar"),          QStringLiteral("TExtRichEdit"),
               QStringLiteral("TFooterPanel"),        QStringLiteral("TSearchPanel")};
  GridEditDoneMessage();
  controls::DTPShiftFocusMessage();
  // Another control may already deliver the notifier's messages; then the grids leave it alone.
  if (!controls::ThemeMessageSink()) {
    controls::ThemeMessageSink() = DeliverThemeMessage;
    u.OwnsThemeSink = true;
  }
}

void DoneExtGridUnit() {
  TUnitState& u = Unit();
  if (u.Starts == 0) return;
  if (u.OwnsThemeSink) controls::ThemeMessageSink() = nullptr;
  const std::vector<TExtStringGrid*> grids = u.Grids;
  u = TUnitState();
  u.Grids = grids;
}

int ExtGridUnitStarts() { return Unit().Starts; }

void RegisterLiveGrid(TExtStringGrid* Grid) {
  InitExtGridUnit();
  Unit().Grids.push_back(Grid);
}

void UnRegisterLiveGrid(TExtStringGrid* Grid) { std::erase(Unit().Grids, Grid); }

TExtStringGrid* FocusFrameGrid() {
  for (TExtStringGrid* g : Unit().Grids)
    if (g->FocusFrameShown()) return g;
  return nullptr;
}

const QStringList& RegisteredGridClasses() { return Unit().Classes; }
QString GridClipboardFormat() { return QStringLiteral("TExtStringGrid Cells"); }

bool ComCtrlOk() { return GetDllFileVersion(QStringLiteral("comctl32.dll")) > 262213; }

QChar GetTimeSeparator() { return plat::FormatSettings.TimeSeparator; }
QChar GetDateSeparator() { return plat::FormatSettings.DateSeparator; }
QChar GetThousandSeparator() { return plat::FormatSettings.ThousandSeparator; }
QChar GetDecimalSeparator() { return plat::FormatSettings.DecimalSeparator; }
QString GetShortDateFormat() { return plat::FormatSettings.ShortDateFormat; }
QString GetShortTimeFormat() { return plat::FormatSettings.ShortTimeFormat; }
QString GetLongTimeFormat() { return plat::FormatSettings.LongTimeFormat; }

void SetWindowTransparentStyle(plat::TWinControl* Wnd) {
  if (Wnd && Wnd->Widget()) Wnd->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

int GetDllFileVersion(const QString& FileName) {
  if (FileName.compare(QLatin1String("comctl32.dll"), Qt::CaseInsensitive) != 0) return -1;
  const plat::TPlatformFacts& f = plat::PlatformFacts();
  return (f.ComCtl32Major << 16) | (f.ComCtl32Minor & 0xFFFF);
}

}  // namespace grid
