// The grid drop-down's popup grid: keys, mouse and wheel, and the narrowing of its rows.
#include "dropdown/grid_dropdown_grid.h"

#include <QTimer>
#include <QWidget>

#include "grid/model/intlist.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/graphics/gdiobjects.h"

namespace dropdown::griddrop {

using namespace plat;

TExtColGrid::TExtColGrid(TComponent* AOwner)
    : TExtStringGrid(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>()) {
  SetFixedRowAlways(true);
  SetFixedRows(1);
  SetFixedCols(0);
  TGridOptions options = Options();
  options.Include(goRowSelect);
  options.Include(goHorzLine);
  options.Exclude(goRangeSelect);
  SetOptions(options);
  Ctl3D = false;
  SetBorderStyle(bsNone);
}

TExtColGrid::~TExtColGrid() = default;

void TExtColGrid::SetLineWidth(int Value) {
  FLineWidth = Value;
  SetGridLineWidth(0);
  Invalidate();
}

void TExtColGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TExtStringGrid::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FImages) FImages = nullptr;
}

void TExtColGrid::DoSelect() {
  if (OnSelect) OnSelect(this);
}

// ---- keys, mouse and wheel ----------------------------------------------------------------------------------

LRESULT TExtColGrid::DefaultDlgCode() const {
  return TExtStringGrid::DefaultDlgCode() | DLGC_WANTARROWS | DLGC_WANTTAB;
}

bool TExtColGrid::HandleSelectCell(int ACol, int ARow) {
  const int row = Row();
  const bool allowed = TExtStringGrid::HandleSelectCell(ACol, ARow);
  if (allowed && ARow != row && FLink) FLink->LinkSelectCell(ARow);
  return allowed;
}

namespace {
bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }
}  // namespace

// True when the key-down is handled here.
bool TExtColGrid::KeyDownMessage(std::uint16_t Key) {
  if (Key == VK_TAB) return true;
  FConfirmed = true;
  TShiftState shift;
  if (KeyHeld(VK_SHIFT)) shift.Include(ssShift);
  if (KeyHeld(VK_CONTROL)) shift.Include(ssCtrl);
  if (KeyHeld(VK_MENU)) shift.Include(ssAlt);
  if (shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
    // The edit closes the popup on Alt+Up and Alt+Down.
    if (FLink) FLink->LinkEditKeyDown(Key);
    return true;
  }
  if (Key != VK_RETURN) return false;
  // Enter moves no cell: the drop-down's edit sees it (it may close the popup or end a cell edit), then the
  // row is picked.
  std::uint16_t key = Key;
  if (OnKeyDown) OnKeyDown(this, key, shift);
  DoSelect();
  return true;
}

void TExtColGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      if (KeyDownMessage(static_cast<std::uint16_t>(Message.WParam))) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CHAR:
      if (Message.WParam == u'\r') {
        Message.Result = 1;
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      // The wheel moves the current row without making it the user's pick.
      FWheel = true;
      FConfirmed = false;
      TExtStringGrid::Dispatch(Message);
      FWheel = false;
      return;
    default: break;
  }
  TExtStringGrid::Dispatch(Message);
}

// Enter in the cell editor: once the editor has written the cell and closed, the drop-down takes the row.
void TExtColGrid::EditorKeyDownHook(std::uint16_t Key, TShiftState Shift) {
  TExtStringGrid::EditorKeyDownHook(Key, Shift);
  if (Key != VK_RETURN || Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || !FLink || !Widget()) return;
  const int col = RealColIndex(Col()), row = Row();
  QTimer::singleShot(0, Widget(), [this, col, row] {
    if (FLink && !EditorMode()) FLink->LinkCellEditEnded(col, row);
  });
}

void TExtColGrid::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FConfirmed = true;
  TExtStringGrid::HandleMouseDown(Button, Shift, X, Y);
}

void TExtColGrid::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TExtStringGrid::HandleMouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  if (row >= FixedRows() && col >= 0 && !HasCheckBox(RealColIndex(col), row)) DoSelect();
}

// ---- narrowing ----------------------------------------------------------------------------------------------

void TExtColGrid::NarrowRows(const QString& Condition, int Column) {
  SetFixedRowAlways(true);
  const int n = static_cast<int>(Condition.size()), last = static_cast<int>(FLastCondition.size());
  if (!FLastCondition.isEmpty() && n == last + 1 && Condition.startsWith(FLastCondition)) {
    AddLevel(Condition, Column);
  } else if (n > 0 && last == n + 1 && FLastCondition.startsWith(Condition) && !FLevels.empty()) {
    TakeBackLevel();
  } else {
    ShowAllRows();
    if (n > 0) AddLevel(Condition, Column);
  }
  FLastCondition = Condition;
}

// Hides, in one list, the shown data rows whose cell does not contain the condition.
void TExtColGrid::AddLevel(const QString& Condition, int Column) {
  grid::TIntList rows(-1, -1);
  for (int r = FixedRows(); r < RowCount(); ++r)
    if (!Cells(Column, r).contains(Condition, Qt::CaseInsensitive)) rows.Add(r);
  const bool hides = rows.Count() > 0;
  if (hides) HideRowList(rows);
  FLevels.push_back(hides);
}

// The newest level's rows come back (a level that hid nothing opened no list of hidden rows).
void TExtColGrid::TakeBackLevel() {
  if (FLevels.back()) {
    UnHideRowList();
    Hiding().SetFilterLevel(Hiding().FilterLevel() - 1);
  }
  FLevels.pop_back();
}

void TExtColGrid::ShowAllRows() {
  while (!FLevels.empty()) TakeBackLevel();
  FLastCondition.clear();
}

}  // namespace dropdown::griddrop
