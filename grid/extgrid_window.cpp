// The string grid's window side: what happens when the grid first gets a parent (the grid timer, the wheel
// step, the footer panel), the visibility and look of the window scroll bars, the size
// message (columns following the grid's width or one column stretched to fill it), the Office theme, and the
// references the grid drops when the components they name go away.
#include <QApplication>

#include <algorithm>

#include "controls/grid_check.h"
#include "controls/theme_services.h"
#include "grid/extgrid.h"
#include "grid/view/footer.h"
#include "platform/graphics/themes.h"

namespace grid {


// ---------------------------------------------------------------- creation

void TExtStringGrid::SetParent(plat::TWinControl* AParent) {
  TRenderGrid::SetParent(AParent);
  if (AParent && !FWndCreated) CreateWnd();
}

void TExtStringGrid::CreateWnd() {
  if (FInDestroy || ComponentState().Contains(plat::csDestroying) || !Parent()) return;
  FWndCreated = true;
  if (!IsDesigning()) {
    if (ScrollType == ssMetro) FScrolling.UpdateMetroBars();
    if (FBalloon.Enable()) BalloonInit();
  }
  if (FooterPanel()) FooterPanel()->SetVisible(FFloatingFooter.Visible());
  ApplySearchFooter();
  if (FColumnSize.Save) LoadColSizes();
  SetTimer(GridTimerId, 500);
  if (IsDesigning() && !FLoaded && !IsLoading()) Font()->SetName(QStringLiteral("Tahoma"));
  FIsWinXP = FIsWinXP && plat::IsThemeActive();
  // The system's wheel lines; a page (-1) is the rows in view.
  const int lines = QApplication::wheelScrollLines();
  FScrolling.WheelScroll = lines < 0 ? std::max(1, VisibleRowCount()) : std::max(1, lines);
  if (ScrollType != ssNormal && !IsLoading()) SetScrollBarLook(ScrollWidth, ScrollColor);
}

// ---------------------------------------------------------------- scroll bars

void TExtStringGrid::DecideScrollBars(bool& Vert, bool& Horz) {
  if (ScrollBarAlways == saNone) return;
  const bool rowsFit = MaxTopRow() <= plat::TStringGrid::FixedRows();
  const bool colsFit = MaxLeftCol() <= plat::TStringGrid::FixedCols();
  if (rowsFit) Vert = ScrollBarAlways == saVert || ScrollBarAlways == saBoth;
  if (colsFit) Horz = ScrollBarAlways == saHorz || ScrollBarAlways == saBoth;
  EnableScrollBar(plat::SB_VERT, !rowsFit);
  EnableScrollBar(plat::SB_HORZ, !colsFit);
}

// The platform keeps the bars as the grid needs them; DecideScrollBars keeps ScrollBarAlways' bars in place.
void TExtStringGrid::UpdateScrollBarVisibility(bool Force) {
  if (ScrollBarAlways == saNone && !Force) return;
  if (ScrollBarAlways == saNone) {
    EnableScrollBar(plat::SB_VERT, true);
    EnableScrollBar(plat::SB_HORZ, true);
  }
  UpdateScrollBars();
}

void TExtStringGrid::SetScrollBarAlways(TScrollBarAlways Value) {
  ScrollBarAlways = Value;
  UpdateScrollBarVisibility(true);
}

void TExtStringGrid::SetScrollType(TScrollType Value) {
  const TScrollType old = ScrollType;
  // The looks read (and change) the scroll type too.
  ScrollType = DrawColors().ScrollType = Value;
  FScrolling.UpdateMetroBars();
  if (Value != old && Value == ssMetro) SetScrollBars(plat::ssNone);
  if (Value != old && old == ssMetro) SetScrollBars(plat::ssBoth);
  // The flat kinds draw the window bars in the grid's width and colour; the others in the style's own.
  if (Value == ssFlat || Value == ssEncarta)
    SetScrollBarLook(ScrollWidth, ScrollColor);
  else
    SetScrollBarLook(17, plat::clNone);
}

void TExtStringGrid::SetScrollColor(plat::TColor Value) {
  ScrollColor = Value;
  if (ScrollType == ssFlat || ScrollType == ssEncarta) SetScrollBarLook(ScrollWidth, ScrollColor);
}

void TExtStringGrid::SetScrollWidth(int Value) {
  ScrollWidth = Value;
  if (ScrollType == ssFlat || ScrollType == ssEncarta) SetScrollBarLook(ScrollWidth, ScrollColor);
}

void TExtStringGrid::SetScrollProportional(bool Value) {
  ScrollProportional = Value;
  if (Value) {
    FScrolling.UpdateVertProportional();
    FScrolling.UpdateHorzProportional();
    return;
  }
  // Back to the grid's own thumb positions, one per scrollable row or column.
  UpdateScrollBars();
}

// ---------------------------------------------------------------- size

void TExtStringGrid::SizeMessage(plat::TMessage& M) {
  if (FColumnSize.SynchWithGrid && FOldSize > 0 && !FDisableSize) {
    HideEditor();
    const double f = static_cast<double>(SynchWidth()) / FOldSize;
    const bool normal = FColumnSize.SynchNormalCellsOnly;
    const int from = normal ? FixedCols() : 0, to = normal ? ColCount() - FixedRightCols() : ColCount();
    for (int c = std::max(0, from); c < to; ++c)
      if (OrigColSize(c) >= 0) SetColWidths(c, static_cast<int>(OrigColSize(c) * f));
  }
  const bool stretch = FColumnSize.Stretch() && (ScrollBarAlways == saNone || ScrollBarAlways == saVert);
  auto stretchColumn = [this] {
    const int s = FColumnSize.StretchColumn < 0 ? ColCount() - 1 : FColumnSize.StretchColumn;
    if (s < 0 || s >= ColCount()) return;
    int others = 0;
    for (int c = 0; c < ColCount(); ++c)
      if (c != s) others += ColWidths(c);
    if (others < Width()) StretchColumn(s);
  };
  if (stretch) stretchColumn();
  // The platform's handling lays out the window bars and fires OnResize (Resize).
  MouseOrBaseDispatch(M);
  // Showing or hiding a bar changed the client width the stretch filled.
  if (stretch) stretchColumn();
  if (ScrollProportional) {
    FScrolling.UpdateVertProportional();
    FScrolling.UpdateHorzProportional();
  }
}

void TExtStringGrid::Resize() {
  TBaseGrid::Resize();
  if (OnResize) OnResize(this);
  const TBackGroundDisplay d = FBackGround.Display();
  if ((d == bdGradientHorz || d == bdGradientVert) && FBackGround.ColorTo() != plat::clNone) Invalidate();
  UpdateScrollBarVisibility(false);
  CellControlsUpdate(false);
  if (IsDesigning()) Invalidate();
}

// ---------------------------------------------------------------- themes and styles

void TExtStringGrid::SetAutoSize(bool Value) {
  AutoSize = Value;
  if (Value && !IsLoading()) AutoSizeColumns(false, 10);
}

void TExtStringGrid::SetAutoThemeAdapt(bool Value) {
  if (Value == AutoThemeAdapt) return;
  AutoThemeAdapt = Value;
  FSearchFooter.SetAutoThemeAdapt(Value);
  if (Value) {
    AdaptToOfficeTheme();
    Invalidate();
  }
  if (IsDesigning() || IsLoading() || !FWndCreated) return;
  RegisterThemeWindow(Value);
}

void TExtStringGrid::RegisterThemeWindow(bool Register) {
  controls::TThemeNotifier* n = controls::ThemeNotifierInstance(nullptr);
  if (!n || Register == FThemeRegistered) return;
  FThemeRegistered = Register;
  if (Register)
    n->RegisterWindow(this);
  else
    n->UnRegisterWindow(this);
}

void TExtStringGrid::AdaptToOfficeTheme() {
  // The style reaches the editors, scroll bars and footers as any component style does.
  TRenderGrid::AdaptToOfficeTheme();
}

// ---------------------------------------------------------------- removed components

void TExtStringGrid::SetCellChecker(controls::TExtStringGridCheck* Value) {
  CellChecker = Value;
  if (Value) Value->FreeNotification(this);
}

void TExtStringGrid::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
  if (Operation == plat::opRemove) {
    if (AComponent == GridImages()) FCellObjects.GridImages = nullptr;
    if (AComponent == CellChecker) CellChecker = nullptr;
    if (!ComponentState().Contains(plat::csDestroying) && AComponent == FSyncGrid.Grid()) FSyncGrid.SetGrid(nullptr);
  }
  TRenderGrid::Notification(AComponent, Operation);
}

}  // namespace grid
