#pragma once
// What the string grid's unit sets up once per process and the small routines it offers: the grids alive (so
// that a window move keeps an edited cell's focus frame in place and an Office theme change reaches the grids
// that follow it), the class names known to streaming, the registered clipboard format and window messages,
// the locale's separators and formats, and the file-version query.

#include <QString>
#include <QStringList>

#include "platform/forms/controls.h"

namespace grid {

class TExtStringGrid;

// Starts the unit once (a counter guards a second start); every grid's construction makes sure it ran.
void InitExtGridUnit();
// Removes the window hook and forgets what the start registered; a later InitExtGridUnit starts afresh.
void DoneExtGridUnit();
int ExtGridUnitStarts();

// The grids alive, in the order they were made.
void RegisterLiveGrid(TExtStringGrid* Grid);
void UnRegisterLiveGrid(TExtStringGrid* Grid);
// The grid whose focus frame shows (nullptr when none).
TExtStringGrid* FocusFrameGrid();

// The names registered with streaming at start-up.
const QStringList& RegisteredGridClasses();
// The clipboard format of cell blocks. The two window messages registered at the start are those of the
// editing (GridEditDoneMessage) and of the date picker (controls::DTPShiftFocusMessage).
QString GridClipboardFormat();
// Whether the common controls are newer than 4.69.
bool ComCtrlOk();

// The process-wide locale settings.
QChar GetTimeSeparator();
QChar GetDateSeparator();
QChar GetThousandSeparator();
QChar GetDecimalSeparator();
QString GetShortDateFormat();
QString GetShortTimeFormat();
QString GetLongTimeFormat();
// The window lets mouse input fall through to what lies below it.
void SetWindowTransparentStyle(plat::TWinControl* Wnd);
// The high 32 bits of a module's file version (major in the high word, minor in the low word); -1 when the
// module has no version known here. Only the common controls library is known.
int GetDllFileVersion(const QString& FileName);

}  // namespace grid
