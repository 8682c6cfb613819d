// The grid's clipboard seen from another program: xclip, in a second process, reads what the grid copied as
// text/plain and text/html, and puts text that the grid then pastes through its shortcut keys.

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QDragMoveEvent>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "grid/input/tests/input_fixture.h"

namespace grid {
namespace {

// Runs xclip with Args and Input while this process keeps answering the X server (it owns the clipboard the
// other program reads); its standard output.
QByteArray Xclip(const QStringList& Args, const QByteArray& Input = {}) {
  const QString exe = QStandardPaths::findExecutable(QStringLiteral("xclip"));
  EXPECT_FALSE(exe.isEmpty()) << "xclip is missing (scripts/setup.sh installs it)";
  if (exe.isEmpty()) return {};
  QProcess p;
  p.start(exe, Args);
  EXPECT_TRUE(p.waitForStarted(5000));
  if (!Input.isNull()) {
    p.write(Input);
    p.closeWriteChannel();
  }
  QElapsedTimer t;
  t.start();
  while (p.state() != QProcess::NotRunning && t.elapsed() < 10000) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    p.waitForFinished(10);
  }
  EXPECT_EQ(p.state(), QProcess::NotRunning) << "xclip did not finish";
  if (p.state() != QProcess::NotRunning) p.kill();
  p.waitForFinished(1000);
  return p.readAllStandardOutput();
}

// Waits until the clipboard offers Text (the other program's content reaches this one asynchronously).
bool ClipboardHas(const QString& Text) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (QApplication::clipboard()->text() == Text) return true;
  }
  return false;
}

using ClipboardPeer = GridInput;

TEST_F(ClipboardPeer, AnotherProgramReadsTheCopiedCellsAsTextAndHTML) {
  g->Navigation()->AllowClipboardShortCuts = true;
  g->SetCells(1, 1, "a");
  g->SetCells(2, 1, "b");
  g->SetCells(1, 2, "c");
  g->SetCells(2, 2, "d");
  g->SetSelection(plat::TGridRect{1, 1, 2, 2});
  Key('C', {plat::ssCtrl});
  EXPECT_EQ(Xclip({"-selection", "clipboard", "-o", "-t", "text/plain"}), QByteArray("a\tb\r\nc\td\r\n"));

  g->CopyToClipBoardAsHTML();
  const QByteArray html = Xclip({"-selection", "clipboard", "-o", "-t", "text/html"});
  EXPECT_TRUE(html.contains("<TABLE")) << html.constData();
  EXPECT_TRUE(html.contains(">c</td><TD class=\"c1\" nowrap>d</td>")) << html.constData();
}

TEST_F(ClipboardPeer, TheGridPastesTextAnotherProgramPut) {
  Edit();
  g->Navigation()->AllowClipboardShortCuts = true;
  // xclip stays in the background as the clipboard's owner until the grid's next copy takes it over.
  Xclip({"-selection", "clipboard", "-i"}, "x\ty\r\nz\tw\r\n");
  ASSERT_TRUE(ClipboardHas(QStringLiteral("x\ty\r\nz\tw\r\n")));
  g->SetSelection(plat::TGridRect{2, 3, 2, 3});
  Key('V', {plat::ssCtrl});
  EXPECT_EQ(g->Cells(2, 3), "x");
  EXPECT_EQ(g->Cells(3, 3), "y");
  EXPECT_EQ(g->Cells(2, 4), "z");
  EXPECT_EQ(g->Cells(3, 4), "w");
  EXPECT_EQ(g->Cells(2, 5), "2:5");
  g->CopyToClipBoard();
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

// A text dragged over the grid shows the arrow beside the cell it would land in, and none over the header.
TEST_F(ClipboardPeer, TheDropArrowPointsAtTheTargetRow) {
  g->DragDropSettings()->SetOleDropTarget(true);
  QMimeData m;
  m.setText("x\ty");
  const plat::TRect cell = g->CellRect(2, 3);
  const QPoint at((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
  QDragEnterEvent enter(at, Qt::CopyAction, &m, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(g->Widget(), &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &m, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(g->Widget(), &move);
  EXPECT_TRUE(move.isAccepted());
  QWidget* arrow = nullptr;
  for (QWidget* w : g->Widget()->findChildren<QWidget*>())
    if (w->isVisible() && w->width() < 16 && w->height() < 16) arrow = w;
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(arrow->pos(), QPoint(cell.Left - 10, cell.Top + 1));
  QApplication::processEvents();
  const QString shots = qEnvironmentVariable("GRID_SHOTS");
  if (!shots.isEmpty()) form->Widget()->grab().save(shots + "/grid_drop_arrow.png");
  const plat::TRect head = g->CellRect(2, 0);
  QDragMoveEvent over(QPoint((head.Left + head.Right) / 2, (head.Top + head.Bottom) / 2), Qt::CopyAction, &m,
                      Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(g->Widget(), &over);
  EXPECT_FALSE(over.isAccepted() && over.dropAction() != Qt::IgnoreAction);
  EXPECT_FALSE(arrow->isVisible());
}

}  // namespace
}  // namespace grid
