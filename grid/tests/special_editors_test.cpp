// The special editors' keys and text through the real grid: the masked button editor, the cursor walk out of
// the button and combo editors, their lookup completion, paste and change events, and the spin editor opened
// by a press on its always-visible buttons.
#include "edit_test_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

#include "grid/special_editors.h"

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

}  // namespace
}  // namespace grid
