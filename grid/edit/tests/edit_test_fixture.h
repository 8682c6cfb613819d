#pragma once
// A shown string grid with a second control beside it, typed into and clicked through Qt's test input, so
// that keys and focus changes take the road a user's do.

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace grid::edittest {

// Where the editing tests put the pictures they take: GRID_EDIT_SHOTS when set, else the build folder.
inline QString ShotPath(const QString& Name) {
  const QString dir = qEnvironmentVariable("GRID_EDIT_SHOTS", QStringLiteral(TEST_BINARY_DIR));
  QDir().mkpath(dir);
  return dir + QStringLiteral("/") + Name + QStringLiteral(".png");
}

struct EditFixture : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  plat::TEdit* other = new plat::TEdit(form.get());
  std::vector<QString> log;

  EditFixture() {
    form->SetBounds(0, 0, 480, 320);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 420, 260);
    g->SetColCount(5);
    g->SetRowCount(6);
    g->SetDefaultColWidth(70);
    g->SetOptions(g->Options() + plat::TGridOptions{plat::goEditing});
    other->SetParent(form.get());
    other->SetBounds(0, 270, 100, 22);
    g->SetCells(1, 1, QStringLiteral("alpha"));
    g->SetCells(2, 1, QStringLiteral("beta"));
    g->SetCells(1, 2, QStringLiteral("12"));
    form->Show();
    g->SetFocus();
    QApplication::processEvents();
  }

  QWidget* FocusWidget() const { return QApplication::focusWidget(); }
  // A key typed on whatever has the focus.
  void Key(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* w = FocusWidget();
    ASSERT_NE(w, nullptr);
    QTest::keyClick(w, static_cast<Qt::Key>(qtKey), mods);
  }
  void Type(const QString& text) {
    for (QChar ch : text) {
      QWidget* w = FocusWidget();
      ASSERT_NE(w, nullptr);
      QTest::keyClick(w, ch.toLatin1());
    }
  }
  // Delivers posted messages (the end-of-edit notice).
  static void Flush() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  plat::TInplaceEdit* Ed() const { return g->InplaceEditor(); }
  bool TextEditorShown() const { return Ed() && Ed()->Visible(); }
  void ClickCell(int c, int r) {
    const plat::TRect rc = g->CellRect(c, r);
    QTest::mouseClick(g->Widget(), Qt::LeftButton, {}, QPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2));
  }
  void LogValidation(bool accept = true, QString replacement = QString()) {
    g->OnCellValidate = [this, accept, replacement](plat::TObject*, int c, int r, QString& v, bool& valid) {
      log.push_back(QStringLiteral("validate %1,%2=%3").arg(c).arg(r).arg(v));
      if (!replacement.isNull()) v = replacement;
      valid = accept;
    };
  }
  // Opens the editor of a kind on a cell holding the text, by F2 on the focused grid.
  void OpenWith(TEditorType Kind, int c, int r, const QString& text) {
    g->DefaultEditor = Kind;
    g->SetCells(c, r, text);
    g->SetFocus();
    g->FocusCell(c, r);
    Key(Qt::Key_F2);
  }
  void LogEnd() {
    g->OnEditingDone = [this](plat::TObject*) { log.push_back(QStringLiteral("editing done")); };
    g->OnEditCellDone = [this](plat::TObject*, int c, int r) { log.push_back(QStringLiteral("cell done %1,%2").arg(c).arg(r)); };
  }
  QString Log() const { return QStringList(log.begin(), log.end()).join(QStringLiteral(" | ")); }
};

}  // namespace grid::edittest
