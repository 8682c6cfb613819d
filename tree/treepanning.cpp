// The window's side of wheel panning (TTreePanner): starting and stopping it, the direction cursor, and how
// the window answers the panner.
#include <QCursor>
#include <QWidget>

#include <limits>

#include "tree/treecontrol.h"
#include "tree/treepanhost.h"

namespace lazytree {

void TBaseLazyTreeControl::BeginWheelPanning(const plat::TPoint& Position) { FPanner->Begin(Position); }
void TBaseLazyTreeControl::StopWheelPanning() { FPanner->Stop(); }
void TBaseLazyTreeControl::ChoosePanningCursor(int X, int Y) { FPanner->ChooseCursor(X, Y); }
const QString& TBaseLazyTreeControl::PanningCursorName() const { return FPanner->CursorName(); }
QWidget* TBaseLazyTreeControl::PanningWindow() const { return FPanner->Window(); }

void TBaseLazyTreeControl::TPanHostAdapter::ShowPanCursor(Qt::CursorShape Shape) {
  if (QWidget* w = T.Widget()) w->setCursor(QCursor(Shape));
}

void TBaseLazyTreeControl::TPanHostAdapter::RestoreCursor() {
  T.FShownCursor = std::numeric_limits<plat::TCursor>::min();  // forces the control's own cursor back
  T.ShowCursor(T.Cursor());
}

void TBaseLazyTreeControl::TPanHostAdapter::BeginCapture() {
  T.SetFocus();
  T.SetMouseCapture(true);
}

void TBaseLazyTreeControl::TPanHostAdapter::EndCapture() {
  if (T.MouseCapture()) T.SetMouseCapture(false);
}

}  // namespace lazytree
