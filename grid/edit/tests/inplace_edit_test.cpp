// The text editor's own rules through the real grid: the cursor walk to the neighbouring cell, line breaks
// and the row and column growing while typing, password text, the keypad's decimal separator, the edit
// mask's caret and auto-advance, the caret of a click, the hooks, and a refusal when the focus leaves.
#include "grid/edit/tests/edit_test_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

#include "grid/edit/inplace_edit.h"
#include "platform/rtl/formatsettings.h"

namespace grid {
namespace {

using edittest::EditFixture;
using TextEditor = EditFixture;

TExtInplaceEdit* TextEd(TExtStringGrid* g) { return dynamic_cast<TExtInplaceEdit*>(g->InplaceEditor()); }

TEST_F(TextEditor, CaretRunningOffTheTextWalksToTheNeighbourWithCursorWalkEditor) {
  struct Case {
    const char* name;
    bool walk, alwaysEdit;
    int key;
    int col;           // current column afterwards
    bool editorOpen;   // on the new cell (or still on the old one when nothing moved)
  } cases[] = {
      {"right, walk, edit", true, true, Qt::Key_Right, 2, true},
      {"right, walk, no edit", true, false, Qt::Key_Right, 2, false},
      {"left, walk, edit", true, true, Qt::Key_Left, 0, true},
      {"right, no walk", false, true, Qt::Key_Right, 1, true},
      {"left, no walk", false, true, Qt::Key_Left, 1, true},
  };
  g->SetFixedCols(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    LogValidation();
    g->Navigation()->CursorWalkEditor = c.walk;
    g->Navigation()->CursorWalkAlwaysEdit = c.alwaysEdit;
    g->SetCells(0, 1, "zero");
    g->SetCells(1, 1, "alpha");
    g->SetCells(2, 1, "beta");
    g->SetFocus();
    g->FocusCell(1, 1);
    Key(Qt::Key_F2);
    ASSERT_TRUE(TextEditorShown());
    Key(c.key == Qt::Key_Right ? Qt::Key_End : Qt::Key_Home);
    Type("x");
    if (c.key == Qt::Key_Left) Key(Qt::Key_Home);
    Key(c.key);
    EXPECT_EQ(g->Col(), c.col);
    EXPECT_EQ(TextEditorShown(), c.editorOpen);
    if (c.col != 1) {
      EXPECT_EQ(Log(), c.key == Qt::Key_Right ? "validate 1,1=alphax" : "validate 1,1=xalpha");
      if (c.editorOpen) { EXPECT_EQ(Ed()->Text(), g->Cells(c.col, 1)); }
    }
    if (g->EditMode()) Key(Qt::Key_Escape);
  }
}

TEST_F(TextEditor, RefusedWalkKeepsTheTypedTextInTheCell) {
  g->Navigation()->CursorWalkEditor = true;
  LogValidation(false);
  Key(Qt::Key_F2);
  Key(Qt::Key_End);
  Type("q");
  Key(Qt::Key_Right);
  EXPECT_EQ(g->Col(), 1);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->Text(), "alphaq");
}

TEST_F(TextEditor, CtrlEnterBreaksTheLineAndTheRowGrowsWhileTyping) {
  g->RenderSettings().Multilinecells = true;
  g->SizeWhileTyping()->Height = true;
  std::vector<int> sized;
  g->OnEndRowSize = [&](plat::TObject*, int r) { sized.push_back(r); };
  const int before = g->RowHeights(1);
  Key(Qt::Key_F2);
  Key(Qt::Key_End);
  Key(Qt::Key_Return, Qt::ControlModifier);
  Type("b");
  Key(Qt::Key_Return, Qt::ControlModifier);
  Type("c");
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->Text(), "alpha\r\nb\r\nc");
  EXPECT_EQ(g->Cells(1, 1), "alpha\r\nb\r\nc");
  EXPECT_GT(g->RowHeights(1), before);
  ASSERT_FALSE(sized.empty());
  EXPECT_EQ(std::count(sized.begin(), sized.end(), 1), static_cast<long>(sized.size()));
  // The editor follows the grown row and keeps the caret after the last typed character.
  EXPECT_EQ(Ed()->Height(), g->CellRect(1, 1).Height() - 1);
  EXPECT_EQ(Ed()->SelStart(), 9);
  EXPECT_EQ(Ed()->SelLength(), 0);
  form->Widget()->grab().save(edittest::ShotPath("edit_row_grown"));
  Key(Qt::Key_Return);
  EXPECT_FALSE(TextEditorShown());
  EXPECT_EQ(g->Cells(1, 1), "alpha\r\nb\r\nc");
  // Without multi-line cells Ctrl+Enter is swallowed.
  g->RenderSettings().Multilinecells = false;
  g->SetWordWrap(false);
  g->FocusCell(2, 1);
  Key(Qt::Key_F2);
  Key(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(Ed()->Text(), "beta");
}

TEST_F(TextEditor, EnterFeedsLinesInTextKindsWithLineFeedOnEnter) {
  g->Navigation()->LineFeedOnEnter = true;
  struct Case {
    TEditorType kind;
    QString typed, stays;
  } cases[] = {{edNormal, "ab", "ab\r\n"}, {edUpperCase, "ab", "AB\r\n"}};
  for (const Case& c : cases) {
    g->DefaultEditor = c.kind;
    g->SetCells(1, 1, "");
    Key(Qt::Key_F2);
    Type(c.typed);
    Key(Qt::Key_Return);
    ASSERT_TRUE(TextEditorShown()) << int(c.kind);
    EXPECT_EQ(Ed()->Text(), c.stays);
    Key(Qt::Key_Escape);
  }
  // A numeric kind has no lines: Enter ends the edit.
  g->DefaultEditor = edNumeric;
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  Type("12");
  Key(Qt::Key_Return);
  EXPECT_FALSE(TextEditorShown());
  EXPECT_EQ(g->Cells(1, 1), "12");
}

TEST_F(TextEditor, ColumnGrowsToTheTypedTextWithSizeWhileTypingWidth) {
  g->SizeWhileTyping()->Width = true;
  const int before = g->ColWidths(1);
  Key(Qt::Key_F2);
  Key(Qt::Key_End);
  Type(" and a much longer text");
  EXPECT_GT(g->ColWidths(1), before + 60);
  EXPECT_EQ(Ed()->Text(), "alpha and a much longer text");
  EXPECT_EQ(Ed()->SelLength(), 0);
  EXPECT_EQ(Ed()->SelStart(), 28);
}

TEST_F(TextEditor, PasswordTextIsHiddenButStored) {
  g->DefaultEditor = edPassword;
  g->PasswordChar = "#";
  g->SetCells(1, 1, "pw");
  Key(Qt::Key_F2);
  TExtInplaceEdit* e = TextEd(g);
  ASSERT_TRUE(e->Visible());
  EXPECT_EQ(e->DisplayedText(), "##");
  Key(Qt::Key_End);
  Type("se");
  Key(Qt::Key_Backspace);
  Type("cr");
  EXPECT_EQ(e->DisplayedText(), "#####");
  EXPECT_EQ(e->Text(), "pwscr");
  EXPECT_EQ(g->Cells(1, 1), "pwscr");
  Key(Qt::Key_Home);
  Key(Qt::Key_Delete);
  EXPECT_EQ(e->Text(), "wscr");
  Key(Qt::Key_Return);
  EXPECT_EQ(g->Cells(1, 1), "wscr");
  // The next cell's plain editor shows its text again.
  g->DefaultEditor = edNormal;
  g->FocusCell(2, 1);
  Key(Qt::Key_F2);
  EXPECT_EQ(e->DisplayedText(), "beta");
}

TEST_F(TextEditor, KeypadPointTypesTheDecimalSeparatorWhenAsked) {
  const plat::TFormatSettings saved = plat::FormatSettings;
  plat::FormatSettings.DecimalSeparator = u',';
  plat::FormatSettings.ThousandSeparator = u'.';
  g->DefaultEditor = edFloat;
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  Type("1");
  Key(Qt::Key_Period, Qt::KeypadModifier);  // ignored: "." is no separator here
  g->ExcelStyleDecimalSeparator = true;
  Key(Qt::Key_Period, Qt::KeypadModifier);
  Type("5");
  EXPECT_EQ(Ed()->Text(), "1,5");
  plat::FormatSettings = saved;
}

TEST_F(TextEditor, MaskSelectsItsFirstPositionAndAFullMaskMovesOn) {
  g->EditMask = "00-00";
  g->Navigation()->ImproveMaskSel = true;
  g->Navigation()->SetAdvanceAuto(true);
  g->SetCells(1, 1, "");
  LogValidation();
  Key(Qt::Key_F2);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->SelStart(), 0);
  EXPECT_EQ(Ed()->SelLength(), 1);
  Type("123");
  EXPECT_EQ(g->Col() * 10 + g->Row(), 11);
  Type("4");
  Flush();
  EXPECT_EQ(g->Cells(1, 1), "12-34");
  EXPECT_EQ(Log(), "validate 1,1=12-34");
  EXPECT_NE(g->Col() * 10 + g->Row(), 11);
}

// A grid that records its editor hooks.
class THookGrid : public TExtStringGrid {
 public:
  using TExtStringGrid::TExtStringGrid;
  int KeyDowns = 0;
  std::vector<QString> Carets, Formulas;
  void EditorKeyDownHook(std::uint16_t, plat::TShiftState) override { ++KeyDowns; }
  void EditorKeyUpHook(const QString& Text, int CaretPos, int CaretIndex) override {
    Carets.push_back(QString("%1@%2:%3").arg(Text).arg(CaretPos >= 0 ? "x" : "-").arg(CaretIndex));
  }
  void EditorFormulaHook(bool IsFormula) override { Formulas.push_back(IsFormula ? "=" : "-"); }
};

TEST(TextEditorHooks, KeyDownCaretAndFormulaHooksFollowTheTyping) {
  plat::TForm form(nullptr);
  form.SetBounds(0, 0, 400, 200);
  auto* g = new THookGrid(&form);
  auto* other = new plat::TEdit(&form);
  g->SetParent(&form);
  other->SetParent(&form);
  other->SetBounds(0, 170, 80, 20);
  g->SetBounds(0, 0, 400, 160);
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goEditing});
  form.Show();
  g->SetFocus();
  QTest::keyClick(g->Widget(), Qt::Key_F2);
  QWidget* ed = QApplication::focusWidget();
  ASSERT_NE(ed, g->Widget());
  QTest::keyClick(ed, '=');
  QTest::keyClick(ed, 'a');
  EXPECT_EQ(g->KeyDowns, 2);
  EXPECT_EQ(g->Carets, (std::vector<QString>{"=@x:1", "=a@x:2"}));
  other->SetFocus();
  QApplication::processEvents();
  ASSERT_EQ(g->Carets.size(), 3u);
  EXPECT_EQ(g->Carets.back(), "=a@-:-1");  // the focus went: no caret
  EXPECT_EQ(g->Formulas, (std::vector<QString>{"=", "=", "-"}));
}

TEST_F(TextEditor, AClickThatOpensTheEditorPutsTheCaretUnderIt) {
  g->MouseActions()->CaretPositioning = true;
  g->SetCells(1, 1, "abcdefgh");
  g->Navigation()->EditSelectAll = false;
  const plat::TRect r = g->CellRect(1, 1);
  QTest::mouseClick(g->Widget(), Qt::LeftButton, {}, QPoint(r.Left + 4, (r.Top + r.Bottom) / 2));
  Key(Qt::Key_F2);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_LE(Ed()->SelStart(), 1);  // at the press, not at the end of the text
  EXPECT_EQ(Ed()->SelLength(), 0);
}

TEST_F(TextEditor, ARefusalWhenTheFocusLeavesKeepsTheTypedTextInTheOpenEditor) {
  g->InvalidEntryText = "Not this";
  LogValidation(false);
  LogEnd();
  Key(Qt::Key_F2);
  Key(Qt::Key_End);
  Type("zz");
  other->SetFocus();
  QApplication::processEvents();
  Flush();
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->Text(), "alphazz");
  EXPECT_EQ(g->LastBalloonText(), "(!) Not this");
  EXPECT_EQ(Log(), "validate 1,1=alphazz");  // the edit did not end
  // Back in the grid, an accepted value ends the edit the usual way.
  log.clear();
  LogValidation(true);
  Ed()->SetFocus();
  Key(Qt::Key_Return);
  Flush();
  EXPECT_EQ(g->Cells(1, 1), "alphazz");
  EXPECT_EQ(Log(), "validate 1,1=alphazz | editing done | cell done 1,1");
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

// Pasted text replaces the selection only when the result suits the kind and the length limit; a single
// trailing line end is dropped; what is accepted reaches the cell.
TEST_F(TextEditor, PasteFollowsTheKindAndTheLengthLimit) {
  struct Case {
    TEditorType kind;
    int limit;
    QString cell, clip;
    int selStart, selLength;
    QString result;
  } cases[] = {
      {edNumeric, 0, "", "12\r\n", 0, 0, "12"},
      {edNumeric, 0, "", "1.5", 0, 0, ""},           // no decimal number in a whole-number cell
      {edNumeric, 0, "", "-7", 0, 0, "-7"},
      {edPositiveNumeric, 0, "", "-7", 0, 0, ""},
      {edFloat, 0, "3", ".25", 1, 0, "3.25"},
      {edUpperCase, 0, "a", "bc", 1, 0, "ABC"},  // the whole resulting text is converted
      {edNormal, 3, "abc", "xy", 1, 2, "axy"},       // two onto a selection of two fits the limit of 3
      {edNormal, 3, "abc", "x", 3, 0, "abc"},        // a fourth character does not
      {edNormal, 0, "ab", "1\r\n2", 2, 0, "ab1\r\n2"},  // only a line end at the very end is dropped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString("kind %1 clip %2").arg(int(c.kind)).arg(c.clip).toStdString());
    g->DefaultEditor = c.kind;
    g->SetMaxEditLength(c.limit);
    g->SetCells(1, 1, c.cell);
    g->SetFocus();
    g->FocusCell(1, 1);
    Key(Qt::Key_F2);
    ASSERT_TRUE(TextEditorShown());
    QGuiApplication::clipboard()->setText(c.clip);
    Ed()->SetSelStart(c.selStart);
    Ed()->SetSelLength(c.selLength);
    Ed()->Perform(plat::WM_PASTE, 0, 0);
    EXPECT_EQ(Ed()->Text(), c.result);
    Key(Qt::Key_Return);
    EXPECT_EQ(g->Cells(1, 1), c.result);
  }
}

// While Alt+Backspace is held the focus may leave without ending the edit; once released, leaving ends it.
TEST_F(TextEditor, AltBackspaceHeldDuringTheFocusChangeKeepsTheEditOpen) {
  LogValidation(true);
  LogEnd();
  Key(Qt::Key_F2);
  ASSERT_TRUE(TextEditorShown());
  QTest::keyPress(FocusWidget(), Qt::Key_Backspace, Qt::AltModifier);
  other->SetFocus();
  QApplication::processEvents();
  Flush();
  EXPECT_TRUE(TextEditorShown());
  EXPECT_TRUE(g->EditMode());
  EXPECT_EQ(Log(), "");  // neither validated nor ended
  Ed()->SetFocus();
  QApplication::processEvents();
  QTest::keyRelease(FocusWidget(), Qt::Key_Backspace, Qt::AltModifier);
  Key(Qt::Key_End);
  Type("zz");
  other->SetFocus();
  QApplication::processEvents();
  Flush();
  EXPECT_FALSE(TextEditorShown());
  EXPECT_EQ(g->Cells(1, 1), "alphazz");
  EXPECT_EQ(Log(), "validate 1,1=alphazz | editing done | cell done 1,1");
}

}  // namespace
}  // namespace grid
