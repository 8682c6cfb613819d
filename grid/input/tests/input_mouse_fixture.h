// The mouse tests' grid: a shown 6 x 10 string grid whose data-service entry points log that they ran, driven
// with synthetic Qt mouse events through the real window.
#pragma once

#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"

namespace grid {
namespace mousetest {

using plat::goColMoving;
using plat::goColSizing;
using plat::goEditing;
using plat::goRowSelect;

// A grid whose data-service entry points record that they ran.
class TLogGrid : public TExtStringGrid {
 public:
  using TExtStringGrid::TExtStringGrid;
  QStringList* Log = nullptr;
  void QSort() override { Note("QSort"); }
  void QSortIndexed() override { Note("QSortIndexed"); }
  void QUnSort() override { Note("QUnSort"); }
  void CopySelectionToClipboard() override { Note("copy"); }
  void StartMouseDrag(int ACol, int ARow, bool) override { Note(QString("drag %1,%2").arg(ACol).arg(ARow)); }
  bool OpenLink(const QString& Href) override {
    Note("open " + Href);
    return true;
  }
  void ApplyColumnFilter(int RCol, int Item) override { Note(QString("filter %1:%2").arg(RCol).arg(Item)); }
  bool HasFilterList(int RCol) override { return FilterDropDownAuto && RCol >= FixedCols(); }

 private:
  void Note(const QString& s) {
    if (Log) Log->append(s);
  }
};

struct MouseGrid {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TLogGrid* g = new TLogGrid(form.get());
  QStringList log;

  MouseGrid() {
    plat::ResetKeyStates();
    form->SetBounds(0, 0, 460, 340);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 440, 300);
    g->SetColCount(6);
    g->SetRowCount(10);
    g->SetDefaultColWidth(60);
    g->Log = &log;
    for (int c = 0; c < 6; ++c)
      for (int r = 0; r < 10; ++r) g->SetCells(c, r, QString("%1%2").arg(QChar('A' + c)).arg(r));
    form->Show();
  }
  ~MouseGrid() { plat::ResetKeyStates(); }

  QWidget* W() { return g->Widget(); }
  QPoint At(int c, int r, int dx = -1, int dy = -1) {
    const plat::TRect rc = g->CellRect(c, r);
    return {dx < 0 ? rc.Left + rc.Width() / 2 : rc.Left + dx, dy < 0 ? rc.Top + rc.Height() / 2 : rc.Top + dy};
  }
  void Press(QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mousePress(W(), Qt::LeftButton, m, p); }
  void Release(QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mouseRelease(W(), Qt::LeftButton, m, p); }
  void Click(QPoint p, Qt::KeyboardModifiers m = {}) {
    Press(p, m);
    Release(p, m);
  }
  void Move(QPoint p) { QTest::mouseMove(W(), p); }
  void Drag(QPoint from, QPoint to) {
    Press(from);
    Move(QPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
    Move(to);
    Release(to);
  }
  // Logs the click events of the grid with their arguments.
  void LogEvents() {
    g->OnMouseDown = [&](plat::TObject*, plat::TMouseButton, plat::TShiftState, int, int) { log << "down"; };
    g->OnMouseUp = [&](plat::TObject*, plat::TMouseButton, plat::TShiftState, int, int) { log << "up"; };
    g->OnClick = [&](plat::TObject*) { log << "click"; };
    g->OnDblClick = [&](plat::TObject*) { log << "dblclick"; };
    g->OnClickCell = [&](plat::TObject*, int r, int c) { log << QString("cell %1,%2").arg(c).arg(r); };
    g->OnDblClickCell = [&](plat::TObject*, int r, int c) { log << QString("dblcell %1,%2").arg(c).arg(r); };
    g->OnRightClickCell = [&](plat::TObject*, int r, int c) { log << QString("rightcell %1,%2").arg(c).arg(r); };
    g->OnCheckBoxClick = [&](plat::TObject*, int c, int r, bool s) {
      log << QString("check %1,%2=%3").arg(c).arg(r).arg(s);
    };
    g->OnButtonClick = [&](plat::TObject*, int c, int r) { log << QString("button %1,%2").arg(c).arg(r); };
    g->OnAnchorClick = [&](plat::TObject*, int r, int c, const QString& a, bool&) {
      log << QString("anchor %1,%2 %3").arg(c).arg(r).arg(a);
    };
    g->OnBeforeExpandNode = [&](plat::TObject*, int r, int, bool&) { log << QString("beforeexpand %1").arg(r); };
    g->OnExpandNode = [&](plat::TObject*, int r, int) { log << QString("expand %1").arg(r); };
    g->OnRadioClick = [&](plat::TObject*, int c, int r, int i) { log << QString("radio %1,%2=%3").arg(c).arg(r).arg(i); };
  }
  std::string Log() const { return log.join(" | ").toStdString(); }
};

}  // namespace mousetest
}  // namespace grid
