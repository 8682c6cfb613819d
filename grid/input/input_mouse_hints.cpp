// What the mouse shows beside the cells: the cell hint in the grid's hint window when the mouse rests, the
// balloon of the cell, the cancelling of both when the mouse reaches another cell, and the scroll bar that the
// grid places over a hovered scroll-bar cell.
#include <QWidget>

#include <algorithm>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "grid/input/input_mouse.h"
#include "grid/view/hint_window.h"
#include "grid/view/side_windows.h"
#include "platform/forms/forms.h"

namespace grid {

using plat::TPoint;
using plat::TRect;

void TGridMouse::ShowCellHint(TPoint P) {
  CancelCellHint();
  ShowBalloon(P);
  if (!G.ShowHint()) return;
  QString hint;
  TPoint pos = P;
  G.GetCellHintInfo(P, hint, pos);
  if (hint.isEmpty()) return;
  if (!FCellHint) FCellHint = std::make_unique<THTMLHintWindow>(nullptr);
  THTMLHintWindow::WideFontName = G.Font()->Name();
  FCellHint->Images = G.GridImages();
  const int maxWidth = G.ControlLook()->HintMaxWidth > 0 ? G.ControlLook()->HintMaxWidth : plat::Screen->Width();
  FCellHint->ShowAt(G.ClientToScreen(pos), maxWidth, hint, G.HintColor);
  FCellHintText = hint;
}

void TGridMouse::CancelCellHint() {
  if (FCellHint && FCellHint->Visible()) FCellHint->ReleaseHint();
  FCellHintText.clear();
  PopBalloon();
}

void TGridMouse::PopBalloon() {
  if (G.ToolTipWindow()) G.ToolTipWindow()->SetVisible(false);
  FLastBalloonPos = {-1, -1};
}

// The balloon of the cell under P (balloons switched on): its text as plain text, the title and icon of a
// balloon cell, both open to OnCellBalloon. Shown below the mouse, kept inside the grid.
bool TGridMouse::ShowBalloon(TPoint P) {
  TBalloonTipWindow* tip = G.ToolTipWindow();
  if (!G.Balloon()->Enable() || !tip) return false;
  int ACol = -1, ARow = -1;
  G.MouseToCell(P.X, P.Y, ACol, ARow);
  if (ACol < 0 || ARow < 0) return false;
  const TPoint b = G.BaseCell(ACol, ARow);
  const int rc = G.RealColIndex(b.X);
  QString text = G.Renderer().CellBalloonText(b.X, b.Y), title = QStringLiteral(" "), cellText;
  int icon = 1;
  TBalloonIcon cellIcon = biInfo;
  if (G.CellObjects().IsBalloon(rc, b.Y, title, cellText, cellIcon)) {
    text = cellText;
    icon = int(cellIcon);
  }
  if (G.OnCellBalloon) G.OnCellBalloon(&G, b.X, b.Y, title, text, icon);
  if (text.trimmed().isEmpty()) return false;
  tip->SetTitle(icon, BalloonTitle(title));
  tip->Text = text;
  const TBalloonSettings& bs = *G.Balloon();
  tip->SetColor(bs.BackgroundColor != plat::clNone ? bs.BackgroundColor : plat::clInfoBk);
  tip->TextColor = bs.TextColor != plat::clNone ? bs.TextColor : plat::clInfoText;
  const TRect need = tip->TextSize(300);
  int left = std::clamp(P.X, 0, std::max(0, G.ClientWidth() - need.Width()));
  int top = P.Y + 20;
  if (top + need.Height() > G.ClientHeight()) top = std::max(0, P.Y - 4 - need.Height());
  tip->SetBounds(left, top, need.Width(), need.Height());
  // Like any tooltip the balloon lets the mouse through to the cells under it.
  if (tip->Widget()) tip->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
  tip->SetVisible(true);
  tip->BringToFront();
  FLastBalloonPos = b;
  return true;
}

// A hint or balloon of another cell goes as soon as the mouse reaches a different base cell.
void TGridMouse::MoveCancelHints(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return;
  const TPoint b = G.BaseCell(ACol, ARow);
  if (FHover.LastHintPos.X >= 0 && !(b == FHover.LastHintPos)) {
    FHover.LastHintPos = {-1, -1};
    if (FCellHint && FCellHint->Visible()) FCellHint->ReleaseHint();
    FCellHintText.clear();
  }
  if (G.Balloon()->Enable() && FLastBalloonPos.X >= -1 && FLastBalloonPos.Y >= -1 && !(b == FLastBalloonPos))
    PopBalloon();
}

// One vertical scroll bar follows the mouse over scroll-bar cells whose content is taller than the cell.
void TGridMouse::MoveCellScrollBar(int ACol, int ARow) {
  const int rc = G.RealColIndex(ACol);
  if (!G.CellObjects().HasScrollBar(rc, ARow)) {
    if (FScrollBar && FScrollBar->Visible()) FScrollBar->SetVisible(false);
    return;
  }
  FScrollCol = ACol;
  FScrollRow = ARow;
  const TScrollProp prop = G.CellObjects().GetScrollProp(rc, ARow);
  if (prop.PageSize >= prop.Range) {
    // Nothing to scroll here: a bar left over another cell would scroll this one.
    if (FScrollBar) FScrollBar->SetVisible(false);
    return;
  }
  if (!FScrollBar) {
    FScrollBar = new plat::TScrollBar(&G);
    FScrollBar->SetKind(plat::sbVertical);
    // A cell's content scrolls by 10 units a line and 100 a page, within the bar's range.
    FScrollBar->SetSmallChange(10);
    FScrollBar->SetLargeChange(100);
    FScrollBar->SetParent(&G);
    FScrollBar->SetVisible(false);
    FScrollBar->OnChange = [this](plat::TObject*) {
      if (FScrollSetup) return;  // setting the bar up is no scrolling
      const int c = G.RealColIndex(FScrollCol);
      if (!G.CellObjects().HasScrollBar(c, FScrollRow)) return;
      G.CellObjects().SetScrollPosition(c, FScrollRow, FScrollBar->Position());
      G.RepaintCell(FScrollCol, FScrollRow);
      if (G.OnScrollCell)
        G.OnScrollCell(&G, FScrollCol, FScrollRow, FScrollBar->Position(), FScrollBar->Min(), FScrollBar->Max());
    };
  }
  const TRect r = G.CellRect(ACol, ARow);
  const int l = G.GridLineWidth();
  if (FScrollBar->Visible() && FScrollBar->Top() == r.Top + l && FScrollBar->Left() == r.Right - FScrollBar->Width() - l)
    return;
  FScrollSetup = true;
  FScrollBar->SetPageSize(0);
  FScrollBar->SetParams(G.CellObjects().GetScrollPosition(rc, ARow), 0, prop.Range);
  FScrollBar->SetPageSize(prop.PageSize);
  FScrollBar->SetBounds(r.Right - 17 - l, r.Top + l, 17, r.Bottom - r.Top - 2 * l);
  FScrollSetup = false;
  FScrollBar->SetVisible(true);
}

// A hovered fixed cell of the last fixed row with a down gradient shows its down colours while the button is held.
void TGridMouse::RepaintHoverDown() {
  const int c = FHover.HoverFixedX, r = FHover.HoverFixedY;
  if (G.HoverFixedCells != hfNone && c >= 0 && r >= 0 && r == G.FixedRows() - 1 &&
      G.ControlLook()->FixedGradientDownTo() != plat::clNone)
    G.RepaintCell(c, r);
}

}  // namespace grid
