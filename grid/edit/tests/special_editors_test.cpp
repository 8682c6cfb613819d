// The special editors' keys and text through the real grid: the masked button editor, the cursor walk out of
// the button and combo editors, their lookup completion, paste and change events, and the spin editor opened
// by a press on its always-visible buttons; the editors of fixed cells.
#include "grid/edit/tests/edit_test_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

#include "grid/edit/special_editors.h"
#include "grid/input/header_clicks.h"

namespace grid {
namespace {

using edittest::EditFixture;
using SpecialEditors = EditFixture;

TEST_F(SpecialEditors, MaskedButtonEditorTypesIntoTheMaskAndStoresItsValue) {
  struct Case {
    QString mask, cell, typed, shown, stored;
  } cases[] = {
      {"00/00/0000", "", "24122025", "24/12/2025", "24/12/2025"},
      {"00/00/0000;0", "", "241x2", "24/12/____", "2412    "},  // literals not saved, the letter refused
      {">LL-000", "ab-123", "", "AB-123", "AB-123"},
      {"(000) 000", "", "12", "(12_) ___", "(12 )    "},
  };
  g->DefaultEditor = edMaskEditBtn;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask.toStdString());
    g->EditMask = c.mask;
    g->SetCells(1, 1, c.cell);
    g->SetFocus();
    g->FocusCell(1, 1);
    Key(Qt::Key_F2);
    TGridEditBtn* b = g->BtnEdit();
    ASSERT_TRUE(b->Visible());
    ASSERT_TRUE(b->IsMasked());
    b->SetSelStart(0);
    b->SetSelLength(0);
    Type(c.typed);
    EXPECT_EQ(b->Text(), c.shown);
    Key(Qt::Key_Return);
    EXPECT_FALSE(b->Visible());
    EXPECT_EQ(g->Cells(1, 1), c.stored);
  }
  // Backspace empties the position before the caret; other button kinds have no mask.
  g->EditMask = "00-00";
  g->SetCells(1, 1, "12-34");
  Key(Qt::Key_F2);
  g->BtnEdit()->SetSelStart(5);
  g->BtnEdit()->SetSelLength(0);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(g->BtnEdit()->Text(), "12-3_");
  Key(Qt::Key_Escape);
  g->DefaultEditor = edEditBtn;
  Key(Qt::Key_F2);
  EXPECT_FALSE(g->BtnEdit()->IsMasked());
}

TEST_F(SpecialEditors, ButtonAndComboEditorsWalkOutOverTheTextsEdge) {
  g->Navigation()->CursorWalkEditor = true;
  g->AddComboString("one");
  LogValidation();
  struct Case {
    TEditorType kind;
    int key;
    int caret;  // put there before the key
    int col;    // current column afterwards
  } cases[] = {{edEditBtn, Qt::Key_Right, 5, 2}, {edEditBtn, Qt::Key_Left, 0, 0},
               {edEditBtn, Qt::Key_Left, 1, 1},  // the caret only reached the start
               {edComboEdit, Qt::Key_Right, 5, 2}, {edComboEdit, Qt::Key_Left, 1, 1}};
  g->SetFixedCols(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(QString("%1 %2 at %3").arg(int(c.kind)).arg(c.key).arg(c.caret).toStdString());
    log.clear();
    g->DefaultEditor = c.kind;
    g->SetCells(1, 1, "alpha");
    g->SetFocus();
    g->FocusCell(1, 1);
    Key(Qt::Key_F2);
    plat::TWinControl* ctrl = g->EditCtrl();
    ASSERT_NE(ctrl, nullptr);
    auto* edit = dynamic_cast<plat::TCustomEdit*>(ctrl);
    auto* combo = dynamic_cast<plat::TComboBox*>(ctrl);
    if (edit) edit->SetSelStart(c.caret), edit->SetSelLength(0);
    if (combo) combo->SetSelStart(c.caret), combo->SetSelLength(0);
    Key(c.key);
    EXPECT_EQ(g->Col(), c.col);
    if (c.col != 1) {
      EXPECT_EQ(g->Cells(1, 1), "alpha");
      EXPECT_TRUE(g->EditMode());  // the walk opened the neighbour's editor
      EXPECT_EQ(g->EditCtrl(), ctrl);
      EXPECT_EQ(ctrl->Text(), g->Cells(c.col, 1));
    }
    if (g->EditMode()) g->HideInplaceEdit();
  }
}

TEST_F(SpecialEditors, ButtonEditorCompletesPastesAndReportsChanges) {
  g->DefaultEditor = edEditBtn;
  g->Lookup = true;
  g->LookupItems()->Add("Gamma");
  std::vector<QString> changes;
  g->OnEditChange = [&](plat::TObject*, int c, int r, QString v) { changes.push_back(QString("%1,%2:%3").arg(c).arg(r).arg(v)); };
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  TGridEditBtn* b = g->BtnEdit();
  Type("g");
  EXPECT_EQ(b->Text(), "gamma");
  EXPECT_EQ(b->SelLength(), 4);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(b->Text(), "g");  // no completion after Backspace
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), "1,1:g");
  QGuiApplication::clipboard()->setText("pasted\r\n");
  bool asked = false;
  g->OnClipboardBeforePasteCell = [&](plat::TObject*, int, int, QString& v, bool&) {
    asked = true;
    v = v.toUpper();
  };
  b->Perform(plat::WM_PASTE, 0, 0);
  EXPECT_TRUE(asked);
  EXPECT_EQ(b->Text(), "gPASTED");
  Key(Qt::Key_Return);
  EXPECT_EQ(g->Cells(1, 1), "gPASTED");
}

TEST_F(SpecialEditors, APressOnAnAlwaysVisibleSpinButtonStepsTheOpenedEditor) {
  g->ControlLook()->SetSpinButtonsAlwaysVisible(true);
  g->DefaultEditor = edSpinEdit;
  g->SetCells(1, 2, "7");
  g->MouseActions()->DirectEdit = true;
  const plat::TRect r = g->CellRect(1, 2);
  QTest::mouseClick(g->Widget(), Qt::LeftButton, {}, QPoint(r.Right - 6, r.Top + 3));
  Flush();
  ASSERT_TRUE(g->EditMode());
  EXPECT_EQ(g->SpinEdit()->Value(), 8);
  g->HideInplaceEdit();
  EXPECT_EQ(g->Cells(1, 2), "8");
  // The next edit that no press started does not step.
  g->FocusCell(1, 1);
  g->SetCells(1, 1, "3");
  Key(Qt::Key_F2);
  EXPECT_EQ(g->SpinEdit()->Value(), 3);
}

// A typed Enter never reaches a fixed cell's editor: it neither commits nor shows up as a key-press, while the
// other characters type as usual.
TEST_F(SpecialEditors, FixedCellEditorsDropATypedEnter) {
  for (TGridFixedCellEditor kind : {fceEdit, fceComboEdit}) {
    SCOPED_TRACE(int(kind));
    g->MouseActions()->FixedRowsEditor = kind;
    g->SetCells(2, 0, "head");
    THeaderClicks& h = g->HeaderClicks();
    h.StartFixedCellEdit(2, 0);
    plat::TWinControl* ed = kind == fceEdit ? static_cast<plat::TWinControl*>(h.FixedEdit()) : h.FixedCombo();
    ASSERT_NE(ed, nullptr);
    QApplication::processEvents();
    ASSERT_TRUE(ed->Focused());
    QString pressed;
    ed->OnKeyPress = [&](plat::TObject*, char16_t& k) { pressed += QChar(k); };
    Key(Qt::Key_End);
    Type("x");
    Key(Qt::Key_Return);
    EXPECT_EQ(pressed, "x");
    EXPECT_TRUE(ed->Visible());
    EXPECT_EQ(ed->Text(), "headx");
    EXPECT_EQ(g->Cells(2, 0), "head");
    other->SetFocus();  // leaving commits
    QApplication::processEvents();
    EXPECT_EQ(g->Cells(2, 0), "headx");
    EXPECT_FALSE(ed->Visible());
    ed->OnKeyPress = nullptr;
    g->SetFocus();
  }
}

// A value refused when the focus leaves keeps the fixed editor open and focused, and its fixed cell becomes the
// grid's current cell; an accepted value is stored and hides the editor.
TEST_F(SpecialEditors, RefusedFixedCellValueKeepsTheEditorAndMakesItsCellCurrent) {
  g->MouseActions()->FixedRowsEditor = fceEdit;
  g->MouseActions()->FixedColsEditor = fceEdit;
  for (auto [c, r] : {std::pair{2, 0}, std::pair{0, 3}}) {
    SCOPED_TRACE(QString("%1,%2").arg(c).arg(r).toStdString());
    g->SetCells(c, r, "old");
    g->FocusCell(1, 1);
    g->SetFocus();
    g->HeaderClicks().StartFixedCellEdit(c, r);
    plat::TEdit* ed = g->HeaderClicks().FixedEdit();
    ASSERT_NE(ed, nullptr);
    QApplication::processEvents();
    ed->SetText("new");
    LogValidation(false);
    other->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(ed->Visible());
    EXPECT_TRUE(ed->Focused());
    EXPECT_EQ(g->Col(), c);
    EXPECT_EQ(g->Row(), r);
    EXPECT_EQ(g->Cells(c, r), "old");
    LogValidation(true);
    other->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(ed->Visible());
    EXPECT_EQ(g->Cells(c, r), "new");
    EXPECT_EQ(Log(), QString("validate %1,%2=new | validate %1,%2=new").arg(c).arg(r));
    log.clear();
  }
}

}  // namespace
}  // namespace grid
