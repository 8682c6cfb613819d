// The text road of in-place editing through the real grid: opening, committing, cancelling, the
// validation and its refusals, leaving the cell by mouse, Tab and focus, and the end-of-edit notice.
#include "grid/edit/tests/edit_test_fixture.h"

#include "grid/edit/inplace_edit.h"

namespace grid {
namespace {

using edittest::EditFixture;
using EditTextRoad = EditFixture;

TEST_F(EditTextRoad, OpensByF2EnterAndTyping) {
  struct Case {
    const char* how;
    std::function<void(EditFixture&)> open;
    QString shown;
  } cases[] = {
      {"F2", [](EditFixture& f) { f.Key(Qt::Key_F2); }, "alpha"},
      {"Enter", [](EditFixture& f) { f.Key(Qt::Key_Return); }, "alpha"},
      {"typing", [](EditFixture& f) { f.Type("x"); }, "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    g->SetFocus();
    g->SetCells(1, 1, "alpha");
    c.open(*this);
    ASSERT_TRUE(TextEditorShown());
    EXPECT_TRUE(g->EditMode());
    EXPECT_EQ(Ed()->Text(), c.shown);
    EXPECT_EQ(FocusWidget(), Ed()->Widget()->focusWidget() ? FocusWidget() : Ed()->Widget());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(TextEditorShown());
    EXPECT_FALSE(g->EditMode());
    EXPECT_EQ(g->Cells(1, 1), "alpha");
  }
}

TEST_F(EditTextRoad, EnterValidatesStoresAndAnnouncesTheEndAfterTheHandler) {
  LogValidation();
  LogEnd();
  Key(Qt::Key_F2);
  Type("abc");
  Key(Qt::Key_Return);
  EXPECT_FALSE(TextEditorShown());
  EXPECT_FALSE(g->EditMode());
  EXPECT_EQ(g->Cells(1, 1), "abc");
  EXPECT_TRUE(g->Modified());
  EXPECT_EQ(Log(), "validate 1,1=abc | editing done");  // the cell's notice is posted, not sent
  Flush();
  EXPECT_EQ(Log(), "validate 1,1=abc | editing done | cell done 1,1");
}

TEST_F(EditTextRoad, EscapeRestoresTheTextTheCellHadWithoutValidation) {
  LogValidation();
  Key(Qt::Key_F2);
  Type("zz");
  EXPECT_EQ(g->Cells(1, 1), "zz");  // typed text reaches the cell at once
  Key(Qt::Key_Escape);
  EXPECT_FALSE(TextEditorShown());
  EXPECT_EQ(g->Cells(1, 1), "alpha");
  // Leaving the cell afterwards does not validate the restored text.
  Key(Qt::Key_Down);
  EXPECT_EQ(Log(), "");
  EXPECT_FALSE(g->Modified());
}

TEST_F(EditTextRoad, UnchangedValueIsValidatedOnlyWithAlwaysValidate) {
  LogValidation();
  Key(Qt::Key_F2);
  Key(Qt::Key_Return);
  EXPECT_EQ(Log(), "");
  EXPECT_FALSE(g->Modified());
  g->AlwaysValidate = true;
  Key(Qt::Key_F2);
  Key(Qt::Key_Return);
  EXPECT_EQ(Log(), "validate 1,1=alpha");
  EXPECT_FALSE(g->Modified());
}

TEST_F(EditTextRoad, RefusedValueKeepsTheEditorOpenWithTheMessage) {
  g->InvalidEntryTitle = "Wrong";
  g->InvalidEntryText = "Digits only";
  LogValidation(false);
  Key(Qt::Key_F2);
  Type("abc");
  Key(Qt::Key_Return);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_TRUE(g->EditMode());
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(Ed()->Text(), "abc");  // nothing typed is lost
  EXPECT_EQ(g->LastBalloonText(), "(!) Wrong: Digits only");
  EXPECT_FALSE(g->EditState().LastValidation);
  EXPECT_EQ(Ed()->SelLength(), 3);  // the refused text is selected for retyping
  // A corrected value is taken.
  log.clear();
  LogValidation(true);
  Type("7");
  Key(Qt::Key_Return);
  EXPECT_EQ(Log(), "validate 1,1=7");
  EXPECT_FALSE(TextEditorShown());
  EXPECT_EQ(g->Cells(1, 1), "7");
}

TEST_F(EditTextRoad, RefusalWithReplacementShowsAndStoresTheReplacement) {
  LogValidation(false, "fixed");
  Key(Qt::Key_F2);
  Type("abc");
  Key(Qt::Key_Return);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->Text(), "fixed");
  EXPECT_EQ(g->Cells(1, 1), "fixed");
}

TEST_F(EditTextRoad, LeavingByMouseValidatesAndARefusalKeepsTheCell) {
  LogValidation();
  Key(Qt::Key_F2);
  Type("q");
  ClickCell(3, 3);
  EXPECT_EQ(Log(), "validate 1,1=q");
  EXPECT_EQ(g->Cells(1, 1), "q");
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 3);
  log.clear();
  LogValidation(false);
  Key(Qt::Key_F2);
  Type("r");
  ClickCell(1, 4);
  EXPECT_EQ(Log(), "validate 3,3=r");
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 3);
  EXPECT_TRUE(TextEditorShown());
}

TEST_F(EditTextRoad, FocusToAnotherControlValidatesAndKeepsTheText) {
  LogValidation();
  LogEnd();
  Key(Qt::Key_F2);
  Type("w");
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_FALSE(TextEditorShown());
  EXPECT_EQ(g->Cells(1, 1), "w");
  Flush();
  EXPECT_EQ(Log(), "validate 1,1=w | editing done | cell done 1,1");
}

TEST_F(EditTextRoad, TabWithTabsValidatesAndMovesOn) {
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goTabs});
  LogValidation();
  Key(Qt::Key_F2);
  Type("t");
  Key(Qt::Key_Tab);
  EXPECT_EQ(Log(), "validate 1,1=t");
  EXPECT_EQ(g->Cells(1, 1), "t");
  EXPECT_EQ(g->Col(), 2);
  if (TextEditorShown()) {
    EXPECT_EQ(Ed()->Text(), "beta");  // an editor left open edits the new cell
  }
}

// A Tab refused with a replacement stays on the cell showing the replacement. The next validation compares
// with the text the cell had before, so pressing Tab again cannot slip the refused value through.
TEST_F(EditTextRoad, RefusedTabShowsTheReplacementAndARepeatedTabIsAskedAgain) {
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goTabs});
  LogValidation(false, "fixed");
  Key(Qt::Key_F2);
  Type("t");
  Key(Qt::Key_Tab);
  EXPECT_EQ(Log(), "validate 1,1=t");
  EXPECT_EQ(g->Col(), 1);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->Text(), "fixed");
  log.clear();
  Key(Qt::Key_Tab);
  EXPECT_EQ(Log(), "validate 1,1=fixed");
  EXPECT_EQ(g->Col(), 1);
  LogValidation();
  log.clear();
  Key(Qt::Key_Tab);
  EXPECT_EQ(Log(), "validate 1,1=fixed");
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(g->Cells(1, 1), "fixed");
}

TEST_F(EditTextRoad, CellsWithoutEditorOrWithClickableObjectsDoNotOpen) {
  g->OnGetEditorType = [](plat::TObject*, int c, int, TEditorType& e) {
    if (c == 1) e = edNone;
  };
  Key(Qt::Key_F2);
  EXPECT_FALSE(TextEditorShown());
  EXPECT_FALSE(g->EditMode());
  g->OnGetEditorType = nullptr;
  g->AddCheckBox(1, 1, false, false);
  Key(Qt::Key_F2);
  EXPECT_FALSE(TextEditorShown());
}

TEST_F(EditTextRoad, MergedCellsEditTheirBaseCell) {
  g->MergeCells(1, 3, 2, 2);
  g->SetCells(1, 3, "base");
  g->FocusCell(1, 3);
  Key(Qt::Key_F2);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->Text(), "base");
  Type("m");
  Key(Qt::Key_Return);
  EXPECT_EQ(g->Cells(1, 3), "m");
  EXPECT_EQ(g->GridCells(1, 3), "m");
}

TEST_F(EditTextRoad, HiddenColumnsGiveEventsTheRealColumn) {
  g->SetCells(3, 1, "third");
  g->HideColumn(2);
  LogValidation();
  std::vector<int> propCols;
  g->OnGetEditorProp = [&](plat::TObject*, int c, int, TEditLink*) { propCols.push_back(c); };
  g->FocusCell(2, 1);  // display column 2 is real column 3
  Key(Qt::Key_F2);
  ASSERT_TRUE(TextEditorShown());
  EXPECT_EQ(Ed()->Text(), "third");
  Type("h");
  Key(Qt::Key_Return);
  EXPECT_EQ(Log(), "validate 3,1=h");
  EXPECT_EQ(g->AllCells(3, 1), "h");
  ASSERT_FALSE(propCols.empty());
  EXPECT_EQ(propCols.front(), 3);
}

TEST_F(EditTextRoad, KindsFilterTypedCharacters) {
  struct Case {
    TEditorType kind;
    QString typed, result;
  } cases[] = {
      {edNumeric, "-1-2a", "-12"},     {edPositiveNumeric, "-1x2", "12"}, {edFloat, "-1.2.5,3", "-1.253"},
      {edPositiveFloat, "-3.5", "3.5"}, {edUpperCase, "abC", "ABC"},       {edLowerCase, "AbC", "abc"},
      {edMixedCase, "hello world", "Hello World"},                         {edNormal, "a-1.", "a-1."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    g->DefaultEditor = c.kind;
    g->SetCells(1, 1, "");
    Key(Qt::Key_F2);
    Type(c.typed);
    EXPECT_EQ(Ed()->Text(), c.result);
    Key(Qt::Key_Return);
    EXPECT_EQ(g->Cells(1, 1), c.result);
  }
  g->DefaultEditor = edValidChars;
  g->ValidChars = "ab";
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  Type("abcab");
  EXPECT_EQ(Ed()->Text(), "abab");
}

TEST_F(EditTextRoad, LengthLimitStopsTypingButNotBackspace) {
  g->SetMaxEditLength(3);
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  Type("abcd");
  EXPECT_EQ(Ed()->Text(), "abc");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Ed()->Text(), "ab");
}

TEST_F(EditTextRoad, LookupCompletesTheTypedPrefix) {
  g->Lookup = true;
  g->LookupItems()->Add("Alpha");
  g->LookupItems()->Add("Beta");
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  Type("b");
  EXPECT_EQ(Ed()->Text(), "beta");
  EXPECT_EQ(Ed()->SelLength(), 3);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Ed()->Text(), "b");  // Backspace does not complete again
}

TEST_F(EditTextRoad, ComboItemOperationsAskTheCellsEditorPropertiesFirst) {
  int asked = 0;
  g->OnGetEditorProp = [&](plat::TObject* s, int, int, TEditLink*) {
    ++asked;
    auto* grid = static_cast<TExtStringGrid*>(s);
    grid->ClearComboString();
    grid->AddComboString("one");
    grid->AddComboString("two");
  };
  g->SetCells(1, 1, "two");
  EXPECT_EQ(g->GetComboIndex(1, 1), 1);
  g->SetComboIndex(2, 1, 0);
  EXPECT_EQ(g->Cells(2, 1), "one");
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(g->RemoveComboString("one"));
  EXPECT_FALSE(g->RemoveComboString("one"));
  EXPECT_FALSE(g->SetComboSelectionString("zzz"));
  EXPECT_EQ(g->EditState().ComboIdx, -1);
  EXPECT_TRUE(g->SetComboSelectionString("two"));
  EXPECT_EQ(g->EditState().ComboIdx, 0);
}

TEST_F(EditTextRoad, ReadOnlyAndFixedCellsAreNotEditable) {
  EXPECT_TRUE(g->IsEditable(1, 1));
  g->SetReadOnly(1, 1, true);
  EXPECT_FALSE(g->IsEditable(1, 1));
  EXPECT_FALSE(g->IsEditable(0, 1));
  g->SetOptions(g->Options() - plat::TGridOptions{plat::goEditing});
  EXPECT_FALSE(g->IsEditable(2, 1));
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

using WideEdit = edittest::EditFixture;

TEST_F(WideEdit, WideValidationAsksItsOwnEventAndRefusesAlike) {
  LogValidation();
  std::vector<QString> wide;
  bool accept = false;
  g->OnCellValidateWide = [&](plat::TObject*, int c, int r, QString& v, bool& valid) {
    wide.push_back(QString("%1,%2=%3").arg(c).arg(r).arg(v));
    valid = accept;
  };
  Key(Qt::Key_F2);
  Type("w");
  EXPECT_FALSE(g->ValidateCellWide("w"));
  EXPECT_EQ(wide, std::vector<QString>{"1,1=w"});
  EXPECT_EQ(Log(), "");  // the narrow event is not asked
  EXPECT_EQ(g->Cells(1, 1), "alpha");
  EXPECT_TRUE(g->EditMode());
  accept = true;
  EXPECT_TRUE(g->ValidateCellWide("w2"));
  EXPECT_EQ(g->Cells(1, 1), "w2");
  EXPECT_TRUE(g->Modified());
}

}  // namespace
}  // namespace grid
