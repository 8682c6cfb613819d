// The string grid's view movements: the wheel (scrolling or moving the current row, Ctrl+wheel zoom), Zoom,
// scroll hints and synchronous scrolling, proportional bars, wheel panning, the update lock, the thin custom
// scroll bars and the hint window.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include <cmath>

#include "grid/input/scroll_bar.h"
#include "grid/input/tests/input_fixture.h"
#include "grid/view/hint_window.h"

namespace grid {
namespace {

using plat::TPoint;

struct ScrollTest : GridInput {
  ScrollTest() { g->SetRowCount(100); }
  void VScroll(int code, int pos = 0) { g->Perform(plat::WM_VSCROLL, plat::MakeWParam(code, pos), 0); }
};

TEST_F(ScrollTest, WheelScrollsTheViewButNotTheCell) {
  g->MouseActions()->SetWheelAction(waScroll);
  g->FocusCell(2, 3);
  Wheel(-120);
  EXPECT_EQ(g->TopRow(), 1 + g->Scrolling().WheelScroll);
  EXPECT_EQ(Cell(), TPoint(2, 3));
  Wheel(120);
  EXPECT_EQ(g->TopRow(), 1);
  g->SetTopRow(100 - g->VisibleRowCount());
  const int last = g->TopRow();
  Wheel(-120);
  EXPECT_EQ(g->TopRow(), last) << "at the last page a further turn does nothing";
}

TEST_F(ScrollTest, WheelMovesTheCurrentRowByTheIncrement) {
  g->FocusCell(2, 10);
  Wheel(-120);
  EXPECT_EQ(g->Row(), 10 + g->Scrolling().WheelScroll);
  g->MouseActions()->WheelIncrement = 5;
  Wheel(120);
  EXPECT_EQ(g->Row(), 8);
  g->FocusCell(2, 2);
  Wheel(120);
  EXPECT_EQ(g->Row(), 1) << "held to the first normal row";
}

TEST_F(ScrollTest, ARefusedWheelMoveGoesHalfWay) {
  g->MouseActions()->WheelIncrement = 4;
  g->FocusCell(2, 10);
  g->OnCanEditCell = nullptr;
  g->OnRowChanging = [](plat::TObject*, int, int n, bool& allow) { allow = n != 14; };
  Wheel(-120);
  EXPECT_EQ(g->Row(), 12);
}

TEST_F(ScrollTest, ZoomStepsStayWithinTen) {
  const int w = g->ColWidths(1), h = g->RowHeights(1);
  g->Zoom(3);
  g->Zoom(3);
  g->Zoom(5);  // would pass 10: ignored as a whole
  EXPECT_EQ(g->ZoomFactor, 6);
  EXPECT_EQ(g->ColWidths(1), w + 6);
  EXPECT_EQ(g->RowHeights(1), h + 6);
  g->SetColWidths(3, 4);
  g->Zoom(-5);
  EXPECT_EQ(g->ColWidths(3), 4) << "a width that would reach 0 stays";
}

TEST_F(ScrollTest, CtrlWheelZoomsOnlyWithIntelliZoom) {
  const int h = g->RowHeights(1);
  g->FocusCell(2, 10);
  Wheel(-120, {plat::ssCtrl});
  EXPECT_EQ(g->ZoomFactor, g->Scrolling().WheelScroll);
  EXPECT_EQ(g->RowHeights(1), h + g->Scrolling().WheelScroll);
  EXPECT_EQ(g->Row(), 10);
  g->IntelliZoom = false;
  Wheel(-120, {plat::ssCtrl});
  EXPECT_EQ(g->ZoomFactor, g->Scrolling().WheelScroll);
  EXPECT_EQ(g->Row(), 10 + g->Scrolling().WheelScroll);
}

TEST_F(ScrollTest, CtrlWheelRefitsTheCellsToTheirTexts) {
  g->SetCells(2, 3, "a much longer text than the column shows");
  Wheel(-120, {plat::ssCtrl});
  const int zoomed = g->ColWidths(2);
  g->AutoSizeCells(true, 4, 4);
  EXPECT_EQ(g->ColWidths(2), zoomed) << "the wheel zoom already fitted the cells";
  EXPECT_GT(zoomed, 60 + g->Scrolling().WheelScroll);
}

// With the flat kinds the thumb leaves room at the end: its position maps over the rest of the track.
TEST_F(ScrollTest, FlatBarsMapTheThumbOverTheRestOfTheTrack) {
  g->SetColCount(20);
  const int vis = g->VisibleColCount();
  const int k = static_cast<int>(std::lround(vis * 128.0 / 20));
  const int mapped = static_cast<int>(std::lround(40 * 127.0 / (128 - k)));
  g->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBPOSITION, mapped), 0);
  const int expected = g->LeftCol();
  g->SetLeftCol(1);
  g->SetScrollType(ssFlat);
  g->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBPOSITION, 40), 0);
  EXPECT_EQ(g->LeftCol(), expected);
  EXPECT_GT(expected, 1);
}

TEST_F(ScrollTest, LineDownStopsWhenTheLastRowEndsAboveTheSearchPanel) {
  g->SearchFooter()->SetVisible(true);
  g->MoveCurrentCell(2, 99);
  const int top = g->TopRow();
  EXPECT_TRUE(g->LastRowAboveSearchPanel());
  EXPECT_EQ(g->Perform(plat::WM_VSCROLL, plat::MakeWParam(plat::SB_LINEDOWN, 0), 0), 1);
  EXPECT_EQ(g->TopRow(), top);
  VScroll(plat::SB_LINEUP);
  EXPECT_EQ(g->TopRow(), top - 1);
}

TEST_F(ScrollTest, TheParentMayTakeTheWheelFirst) {
  g->OnParentWheel = [](int) { return true; };
  g->FocusCell(2, 10);
  Wheel(-120);
  EXPECT_EQ(g->Row(), 10);
}

TEST_F(ScrollTest, ThumbPositionsMapOntoTheScrollableRows) {
  const int last = 100 - g->VisibleRowCount();
  EXPECT_EQ(g->Scrolling().RowOfPosition(0), 1);
  EXPECT_EQ(g->Scrolling().RowOfPosition(127), last);
  g->SetRowCount(5);  // every row in view: never left of the normal rows
  EXPECT_EQ(g->Scrolling().RowOfPosition(127), 1);
}

TEST_F(ScrollTest, ScrollHintShowsTheRowWhileTheThumbIsDragged) {
  g->ScrollHints = shVertical;
  g->Scrolling().CursorPos = [] { return TPoint(100, 50); };
  g->OnScrollHint = [](plat::TObject*, int r, QString& s) { s += QStringLiteral(" of 100 (%1)").arg(r); };
  VScroll(plat::SB_THUMBTRACK, 127);
  ASSERT_TRUE(g->Scrolling().HintShowing());
  const int row = g->Scrolling().RowOfPosition(127);
  EXPECT_EQ(g->Scrolling().HintWindow()->Caption(), QStringLiteral("Row : %1 of 100 (%1)").arg(row));
  const TPoint at = g->ClientToScreen(TPoint(110, 50));
  EXPECT_EQ(g->Scrolling().HintWindow()->Left(), at.X);
  EXPECT_EQ(g->Scrolling().HintWindow()->Top(), at.Y);
  EXPECT_EQ(g->TopRow(), 1) << "without ScrollSynch the view waits for the release";
  VScroll(plat::SB_ENDSCROLL);
  EXPECT_FALSE(g->Scrolling().HintShowing());
  EXPECT_FALSE(g->Scrolling().HintWindow()->Visible());
  g->ScrollSynch = true;
  VScroll(plat::SB_THUMBTRACK, 64);
  EXPECT_EQ(g->TopRow(), g->Scrolling().RowOfPosition(64));
}

TEST_F(ScrollTest, ProportionalBarsShowTheVisiblePart) {
  g->SetRowCount(8);
  g->SetColCount(21);  // 20 normal columns of 60 pixels, about a third of them in view
  g->ScrollProportional = true;
  g->UpdateHorzScrollProportional();
  plat::TScrollInfo si;
  si.fMask = plat::SIF_ALL;
  g->GetScrollInfo(plat::SB_HORZ, si);
  const double e = (g->Width() - 61.0) / (20 * 61.0 + 1);
  EXPECT_EQ(si.nMax, static_cast<int>((e + 127) / (1 - e)));
  EXPECT_EQ(static_cast<int>(si.nPage), si.nMax - 126);
  g->SetColCount(4);  // everything in view: the scroll info is left alone
  plat::TScrollInfo before;
  before.fMask = plat::SIF_ALL;
  g->GetScrollInfo(plat::SB_HORZ, before);
  g->UpdateHorzScrollProportional();
  g->GetScrollInfo(plat::SB_HORZ, si);
  EXPECT_EQ(si.nMax, before.nMax);
  g->SetRowCount(100);
  g->UpdateVertScrollProportional();
  g->GetScrollInfo(plat::SB_VERT, si);
  const double ev = (g->Height() - 21.0) / (99 * 21.0 + 1);
  EXPECT_EQ(si.nMax, static_cast<int>((ev + 127) / (1 - ev)));
  EXPECT_EQ(static_cast<int>(si.nPage), si.nMax - 126);
}

TEST_F(ScrollTest, WheelPanningFollowsTheCursorAndStopsOnAKey) {
  TPoint cursor(100, 100);
  g->Scrolling().CursorPos = [&] { return cursor; };
  g->MouseActions()->SetWheelAction(waScroll);
  g->IntelliPan = ipVertical;
  g->Perform(plat::WM_MBUTTONDOWN, plat::MK_MBUTTON, plat::MakeLParam(100, 100));
  ASSERT_TRUE(g->Scrolling().Panning());
  cursor = TPoint(104, 105);  // within 5 pixels: nothing moves
  g->Scrolling().PanStep();
  EXPECT_EQ(g->TopRow(), 1);
  EXPECT_EQ(g->Scrolling().PanCursor(), 8000);
  cursor = TPoint(160, 140);  // down and right, but only vertical panning
  g->Scrolling().PanStep();
  g->Scrolling().PanStep();
  EXPECT_EQ(g->TopRow(), 3);
  EXPECT_EQ(g->LeftCol(), 1);
  EXPECT_EQ(g->Scrolling().PanCursor(), 8001);
  Key(plat::VK_ESCAPE);
  EXPECT_FALSE(g->Scrolling().Panning());
}

TEST(PanCursors, FollowTheDirection) {
  EXPECT_EQ(PanCursorId(0, 0), 8000);
  EXPECT_EQ(PanCursorId(1, 0), 8001);
  EXPECT_EQ(PanCursorId(0, -1), 8002);
  EXPECT_EQ(PanCursorId(0, 1), 8003);
  EXPECT_EQ(PanCursorId(-1, 0), 8004);
  EXPECT_EQ(PanCursorId(-1, 1), 8005);
  EXPECT_EQ(PanCursorId(-1, -1), 8006);
  EXPECT_EQ(PanCursorId(1, 1), 8007);
  EXPECT_EQ(PanCursorId(1, -1), 8008);
}

TEST_F(ScrollTest, UpdateLockCountsAndRepaintsOnceAtTheEnd) {
  g->BeginUpdate();
  g->BeginUpdate();
  g->EndUpdate();
  EXPECT_TRUE(g->LockUpdate());
  EXPECT_FALSE(g->Widget()->updatesEnabled());
  g->EndUpdate();
  EXPECT_FALSE(g->LockUpdate());
  EXPECT_TRUE(g->Widget()->updatesEnabled());
  g->EndUpdate();  // never below 0
  EXPECT_EQ(g->UpdateCount(), 0);
  g->SetLockUpdate(true);
  g->ResetUpdate();
  EXPECT_EQ(g->UpdateCount(), 0);
  EXPECT_FALSE(g->Widget()->updatesEnabled()) << "the reset leaves the redraw off";
  g->EndUpdate();
  EXPECT_TRUE(g->Widget()->updatesEnabled());
  // A lock taken while hidden is counted too, so that it cannot release an outer caller's lock.
  g->SetVisible(false);
  g->BeginUpdate();
  g->SetVisible(true);
  g->BeginUpdate();
  g->EndUpdate();
  EXPECT_EQ(g->UpdateCount(), 1);
  g->EndUpdate();
}

TEST_F(ScrollTest, TheGridsOwnBracketsKeepACallersLock) {
  g->MouseActions()->WheelIncrement = 2;
  g->BeginUpdate();
  g->FocusCell(2, 10);
  Wheel(-120);
  EXPECT_EQ(g->UpdateCount(), 1);
  g->EndUpdate();
}

// ---- the thin custom bars ------------------------------------------------------------------------------------

struct MetroBar : GridInput {
  TScrollControl* bar = nullptr;
  MetroBar() {
    g->SetFixedRows(0);
    g->SetDefaultRowHeight(30);
    g->SetRowCount(100);
    g->SetBounds(0, 0, 420, 300);  // 10 rows of 30 pixels in a track of 300
    g->SetScrollType(ssMetro);
    bar = g->VertScrollControl();
  }
};

TEST_F(MetroBar, ThumbSizeFollowsTheVisiblePart) {
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->TrackStart(), 0);
  int p = 0, z = 0;
  ASSERT_TRUE(bar->ThumbBounds(p, z));
  EXPECT_EQ(z, std::lround(bar->TrackLength() * g->VisibleRowCount() / 100.0));
  g->SetRowCount(1000);
  bar->ThumbBounds(p, z);
  EXPECT_EQ(z, 20) << "never below 20 pixels";
  g->SetTopRow(1000 - g->VisibleRowCount());
  bar->ThumbBounds(p, z);
  EXPECT_LE(p + z, bar->Height()) << "pulled back inside the control";
  g->SetRowCount(5);
  EXPECT_FALSE(bar->ThumbBounds(p, z)) << "all rows in view: no thumb";
}

TEST_F(MetroBar, PressingBesideTheThumbPagesAndOnItDrags) {
  g->SetTopRow(20);
  int p = 0, z = 0;
  bar->ThumbBounds(p, z);
  bar->Perform(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, plat::MakeLParam(2, p - 3));
  bar->Perform(plat::WM_LBUTTONUP, 0, plat::MakeLParam(2, p - 3));
  EXPECT_EQ(g->TopRow(), 20 - g->VisibleRowCount());
  g->SetTopRow(3);
  bar->ThumbBounds(p, z);
  bar->Perform(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, plat::MakeLParam(2, p - 3));
  EXPECT_EQ(g->TopRow(), 0) << "never above the first normal row";
  bar->Perform(plat::WM_LBUTTONUP, 0, plat::MakeLParam(2, p - 3));
  bar->ThumbBounds(p, z);
  bar->Perform(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, plat::MakeLParam(2, p + 2));
  EXPECT_TRUE(bar->Dragging());
  bar->Perform(plat::WM_MOUSEMOVE, plat::MK_LBUTTON, plat::MakeLParam(2, p + 2 + 27));
  EXPECT_EQ(g->TopRow(), 10);
  bar->Perform(plat::WM_LBUTTONUP, 0, plat::MakeLParam(2, p + 29));
  EXPECT_FALSE(bar->Dragging());
  g->SetScrollType(ssNormal);
  EXPECT_EQ(g->VertScrollControl(), nullptr);
}

// ---- the hint window --------------------------------------------------------------------------------------------

TEST(HintWindow, SizesToTheTextAndKeepsInsideTheMonitor) {
  THTMLHintWindow h(nullptr);
  h.Font()->SetName("DejaVu Sans");
  h.Font()->SetSize(8);
  h.MonitorRect = [](TPoint) { return plat::TRect(0, 0, 800, 600); };
  const plat::TRect m = h.CalcHintRect(1000, "plain words");
  h.ActivateHint(plat::TRect(100, 100, 0, 0), "plain words");
  EXPECT_EQ(h.Width(), m.Width() + 16) << "plain words go through the HTML renderer, margin 16";
  EXPECT_EQ(h.Height(), m.Height() + 4);
  h.ActivateHint(plat::TRect(790, 100, 0, 0), "near the right edge");
  EXPECT_EQ(h.Left() + h.Width(), 800 - 2);
  h.ActivateHint(plat::TRect(100, 598, 0, 0), "near the bottom");
  EXPECT_EQ(h.Top() + h.Height(), 600 - 2);
  EXPECT_TRUE(h.Visible());
  h.ReleaseHint();
  EXPECT_FALSE(h.Visible());
}

TEST_F(ScrollTest, ScreenshotOfTheHintAndTheMetroBar) {
  g->SetScrollType(ssMetro);
  g->VertScrollControl()->SetColor(plat::clGray);
  g->SetTopRow(30);
  QApplication::processEvents();
  form->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/scroll_metro.png"));
  THTMLHintWindow h(nullptr);
  h.Font()->SetName("DejaVu Sans");
  h.Font()->SetSize(8);
  h.SetColor(plat::clInfoBk);
  h.ActivateHint(plat::TRect(100, 100, 0, 0), "Row : <b>42</b> of <i>100</i>");
  QApplication::processEvents();
  h.Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/scroll_hint.png"));
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

// What the window shows after small scrolls (pixels moved, the new rows painted) is what a full paint draws.
TEST_F(ScrollTest, ScrolledPixelsMatchAFullPaint) {
  g->MouseActions()->SetWheelAction(waScroll);
  g->SetSelection({2, 5, 2, 5});
  QApplication::processEvents();
  auto screen = [this] {
    QApplication::processEvents();
    const QPoint at = g->Widget()->mapTo(form->Widget(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(form->Widget()->winId(), at.x(), at.y(), g->ClientWidth(), g->ClientHeight())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  };
  const QImage before = screen();
  ASSERT_FALSE(before.isNull());
  for (int delta : {-120, -120, 120, -120}) {
    Wheel(delta);
    const QImage shown = screen();
    const QImage full = g->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(
        0, 0, g->ClientWidth(), g->ClientHeight());
    EXPECT_EQ(shown, full) << "after a wheel turn of " << delta << ", top row " << g->TopRow();
  }
  EXPECT_GT(g->TopRow(), 1);
  g->SetColCount(20);
  for (int left : {2, 3, 2}) {
    g->SetLeftCol(left);
    const QImage full = g->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(
        0, 0, g->ClientWidth(), g->ClientHeight());
    EXPECT_EQ(screen(), full) << "left column " << left;
  }
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

TEST_F(ScrollTest, ScreenshotOfTheHeaderDragButton) {
  g->SetLook(glXP);
  THeaderDragButton b(nullptr);
  b.Grid = g;
  b.SetBounds(50, 50, 90, 22);
  b.SetCaption("Moved column with a long caption");
  b.Show();
  QApplication::processEvents();
  b.Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/header_drag_plain.png"));
  b.SetCaption("<b>Bold</b> head");
  b.Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/header_drag_html.png"));
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

TEST_F(ScrollTest, DragOverTheMarginsScrollsStepByStep) {
  g->DragScrollOptions()->Active = true;
  g->SetTopRow(10);
  g->HandleDragOver(200, 20, dsDragEnter);
  EXPECT_EQ(g->Scrolling().DragTimerInterval(), 1000);
  g->Scrolling().DragScrollTick();
  EXPECT_EQ(g->TopRow(), 9);
  EXPECT_EQ(g->Scrolling().DragTimerInterval(), 250) << "then every repeat delay";
  bool refuse = true;
  g->OnDragScroll = [&](plat::TObject*, int, int, int&, bool& can) { can = !refuse; };
  g->Scrolling().DragScrollTick();
  EXPECT_EQ(g->TopRow(), 9) << "refused: no step";
  EXPECT_EQ(g->Scrolling().DragTimerInterval(), 250) << "but the timer goes on";
  refuse = false;
  g->HandleDragOver(410, g->Height() - 10, dsDragMove);
  EXPECT_EQ(g->Scrolling().DragScrollDirection(), dsdDown | dsdRight);
  g->Scrolling().DragScrollTick();
  EXPECT_EQ(g->TopRow(), 10);
  g->HandleDragOver(200, 150, dsDragMove);
  EXPECT_EQ(g->Scrolling().DragTimerInterval(), -1) << "out of every margin: stopped";
  g->HandleDragOver(200, 20, dsDragMove);
  g->HandleDragOver(200, 20, dsDragLeave);
  EXPECT_EQ(g->Scrolling().DragTimerInterval(), -1);
}

}  // namespace
}  // namespace grid
