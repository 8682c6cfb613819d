// The string grid object: creation defaults, property writers, assignment, the select-cell rule with its
// editing switch, the Row and TopRow writers and the order in which the grid fires its events.
#include "grid/extgrid.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/forms/forms.h"
#include "platform/forms/messages.h"
#include "grid/griderror.h"

namespace grid {
namespace {

using plat::goEditing;
using plat::goRowSelect;

struct ExtGridTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  std::vector<QString> log;
  ExtGridTest() {
    form->SetBounds(0, 0, 440, 320);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 420, 300);
    g->SetColCount(6);
    g->SetDefaultColWidth(50);
    form->Show();
  }
  void LogMoves() {
    g->OnRowChanging = [&](plat::TObject*, int o, int n, bool&) { log.push_back(QString("row %1>%2").arg(o).arg(n)); };
    g->OnColChanging = [&](plat::TObject*, int o, int n, bool&) { log.push_back(QString("col %1>%2").arg(o).arg(n)); };
    g->OnCellChanging = [&](plat::TObject*, int, int, int r, int c, bool&) {
      log.push_back(QString("cell %1,%2").arg(c).arg(r));
    };
    g->OnRowUpdate = [&](plat::TObject*, int o, int n) { log.push_back(QString("update %1>%2").arg(o).arg(n)); };
  }
  QString Log() const {
    QStringList l(log.begin(), log.end());
    return l.join(" | ");
  }
};

TEST_F(ExtGridTest, NewGridHasItsDefaults) {
  TExtStringGrid fresh(nullptr);
  EXPECT_EQ(fresh.RowCount(), 10);
  EXPECT_EQ(fresh.NormalRowCount(), 10);
  EXPECT_EQ(fresh.DefaultRowHeight(), 22);
  EXPECT_EQ(fresh.FixedRowHeight(), 22);
  EXPECT_EQ(fresh.Look(), glXP);
  EXPECT_EQ(fresh.Width(), 400);
  EXPECT_EQ(fresh.Height(), 250);
  EXPECT_EQ(fresh.SelectionColor(), 0xEACAB6);
  EXPECT_EQ(fresh.SelectionColorTo(), plat::clNone);
  EXPECT_EQ(fresh.SelectionTextColor(), plat::clBlack);
  EXPECT_EQ(fresh.SelectionColorMixerFactor(), 50);
  EXPECT_TRUE(fresh.ShowSelection());
  EXPECT_EQ(fresh.ActiveCellColor(), plat::clGray);
  EXPECT_EQ(fresh.FloatFormat(), "%.2f");
  EXPECT_EQ(fresh.CheckTrue, "Y");
  EXPECT_EQ(fresh.CheckFalse, "N");
  EXPECT_EQ(fresh.FilterDropDownClear, "(All)");
  EXPECT_EQ(fresh.PasswordChar, "*");
  EXPECT_EQ(fresh.DefaultEditor, edNormal);
  EXPECT_EQ(fresh.VAlignment(), vtaTop);
  EXPECT_EQ(fresh.XYOffset(), plat::TPoint(2, 2));
  EXPECT_EQ(fresh.ExtGradientFrom(), plat::clWhite);
  EXPECT_EQ(fresh.ExtGradientTo(), plat::ColorToRGB(plat::clBtnFace));
  EXPECT_EQ(fresh.InvalidEntryIcon, ieWarning);
  EXPECT_EQ(fresh.FixedFont()->Name(), "Tahoma");
  EXPECT_TRUE(fresh.FixedFont()->Style().Contains(plat::fsBold));
  EXPECT_TRUE(fresh.ActiveCellFont()->Style().Contains(plat::fsBold));
  EXPECT_EQ(fresh.NumHiddenColumns(), 0);
  EXPECT_EQ(fresh.Version(), "6.2.1.3");
  EXPECT_EQ(fresh.GetVersionString(), "6.2.1.3 Sep, 2012");
}

TEST_F(ExtGridTest, WritersHoldTheirRanges) {
  struct Case {
    int asked, stored;
  } cases[] = {{150, 100}, {-3, 0}, {40, 40}, {100, 100}};
  for (const Case& c : cases) {
    g->SetSelectionColorMixerFactor(c.asked);
    EXPECT_EQ(g->SelectionColorMixerFactor(), c.stored) << c.asked;
  }
  g->SetVAlignment(vtaCenter);
  EXPECT_EQ(g->VAlignFlag(), 4);
  g->SetVAlignment(vtaBottom);
  EXPECT_EQ(g->VAlignFlag(), 8);
  g->SetSpreadSheet(true);
  EXPECT_TRUE(g->Options().Contains(goEditing));
  EXPECT_TRUE(g->MouseActions()->RangeSelectAndEdit);
  EXPECT_TRUE(g->SelectionRectangle());
}

TEST_F(ExtGridTest, FixedRowsStayBelowTheCountWithFixedRowAlways) {
  g->SetRowCount(5);
  g->SetFixedRowAlways(true);
  g->SetFixedRows(5);
  EXPECT_EQ(g->FixedRows(), 4);
  EXPECT_EQ(g->MinFixedRows(), 5);
  g->SetRowCount(8);  // the minimum fits again only below the count
  EXPECT_EQ(g->FixedRows(), 5);
}

TEST_F(ExtGridTest, SaveRangesFollowTheSaveFlags) {
  g->SetRowCount(10);
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  g->SetFixedFooters(2);
  g->SetFixedRightCols(1);
  g->SaveFixedCells = false;
  EXPECT_EQ(g->SaveStartCol(), 1);
  EXPECT_EQ(g->SaveStartRow(), 1);
  EXPECT_EQ(g->SaveEndCol(), 4);
  EXPECT_EQ(g->SaveEndRow(), 7);
  EXPECT_EQ(g->SaveColCount(), 4);
  EXPECT_EQ(g->SaveRowCount(), 7);
  g->SaveFixedRows = true;
  EXPECT_EQ(g->SaveStartRow(), 0);
  EXPECT_EQ(g->SaveEndRow(), 9);
  EXPECT_EQ(g->SaveRowCount(), 10);
  EXPECT_EQ(g->SaveColCount(), 4);
}

TEST_F(ExtGridTest, MovingTheCellFiresChangingEventsThenRowUpdate) {
  LogMoves();
  g->MoveColRow(2, 3, true, true);
  EXPECT_EQ(Log(), "row 1>3 | col 1>2 | cell 2,3 | update -1>3");
  log.clear();
  g->MoveColRow(4, 3, true, true);  // same row: no row events
  EXPECT_EQ(Log(), "col 2>4 | cell 4,3");
  EXPECT_EQ(g->Col(), 4);
}

TEST_F(ExtGridTest, ARefusedChangeKeepsTheCurrentCell) {
  g->OnCellChanging = [&](plat::TObject*, int, int, int r, int, bool& allow) { allow = r != 5; };
  int updates = 0;
  g->OnRowUpdate = [&](plat::TObject*, int, int) { ++updates; };
  g->MoveColRow(1, 5, true, true);
  EXPECT_EQ(g->Row(), 1);
  g->MoveColRow(1, 6, true, true);
  EXPECT_EQ(g->Row(), 6);
  EXPECT_EQ(updates, 2);  // the rule reports the asked row either way
}

TEST_F(ExtGridTest, FixedTargetsAreRefusedUnlessRowsAreSelected) {
  bool fixed = false;
  g->OnIsFixedCell = [&](plat::TObject*, int, int c, bool& f) { f = fixed && c == 3; };
  fixed = true;
  g->MoveColRow(3, 2, true, true);
  EXPECT_EQ(g->Col(), 1);
  g->SetOptions(g->Options() + plat::TGridOptions{goRowSelect});
  g->MoveColRow(3, 2, true, true);
  EXPECT_EQ(g->Col(), 3);
}

TEST_F(ExtGridTest, TheRuleSwitchesEditingPerCell) {
  g->SetOptions(g->Options() + plat::TGridOptions{goEditing});
  g->SetReadOnly(3, 2, true);
  g->MoveColRow(3, 2, true, true);
  EXPECT_EQ(g->Col(), 3);
  EXPECT_FALSE(g->Options().Contains(goEditing));
  EXPECT_TRUE(g->EditDisabled());
  g->MoveColRow(4, 2, true, true);  // editable again: the switch turns editing back on
  EXPECT_TRUE(g->Options().Contains(goEditing));
  EXPECT_FALSE(g->EditDisabled());
  // A grid that never had editing on stays read-only.
  g->SetOptions(g->Options() - plat::TGridOptions{goEditing});
  g->MoveColRow(2, 4, true, true);
  EXPECT_FALSE(g->Options().Contains(goEditing));
}

TEST_F(ExtGridTest, ControlCellsSwitchEditingOnForTheirClicks) {
  g->CellObjects().AddButton(2, 2, 20, 16, "go", haLeft, vaTop);
  ASSERT_TRUE(g->IsControlCell(2, 2));
  g->MoveColRow(2, 2, true, true);  // a grid without editing keeps its cells' properties read-only
  EXPECT_FALSE(g->Options().Contains(goEditing));
  g->MoveColRow(1, 1, true, true);
  g->OnCanEditCell = [](plat::TObject*, int r, int c, bool& can) { can = can || (c == 2 && r == 2); };
  g->MoveColRow(2, 2, true, true);  // the application lets the control be clicked: editing goes on
  EXPECT_TRUE(g->Options().Contains(goEditing));
  EXPECT_FALSE(g->EditDisabled());
  g->CellObjects().AddButton(3, 3, 20, 16, "no", haLeft, vaTop);
  g->SetReadOnly(3, 3, true);
  g->MoveColRow(3, 3, true, true);
  EXPECT_TRUE(g->EditDisabled());  // refused while editing is on
  EXPECT_EQ(g->Col(), 3);
}

TEST_F(ExtGridTest, CellColoursAndAlignmentFollowPropertiesAndNumbers) {
  plat::TBrush brush;
  plat::TFont font;
  brush.SetColor(plat::clWhite);
  g->SetColors(2, 2, plat::clYellow);
  g->SetFontColors(2, 2, plat::clRed);
  g->DoGetCellColor(2, 2, {}, &brush, &font);
  EXPECT_EQ(brush.Color(), plat::clYellow);
  EXPECT_EQ(font.Color(), plat::clRed);
  g->CellObjects().AddButton(2, 2, 20, 16, "b", haLeft, vaTop);  // a button keeps the painter's brush
  brush.SetColor(plat::clWhite);
  g->DoGetCellColor(2, 2, {}, &brush, &font);
  EXPECT_EQ(brush.Color(), plat::clWhite);

  g->AutoNumAlign = true;
  struct Case {
    const char* text;
    plat::TAlignment ha;
  } cases[] = {{"12", plat::taRightJustify}, {" 1.5 ", plat::taRightJustify}, {"1e3", plat::taRightJustify},
               {"abc", plat::taLeftJustify}, {"=1+2", plat::taLeftJustify}};
  for (const Case& c : cases) {
    g->SetCells(4, 4, c.text);
    plat::TAlignment ha;
    TVAlignment va;
    g->GetCellAlignment(4, 4, ha, va);
    EXPECT_EQ(ha, c.ha) << c.text;
  }
  g->SetAlignments(4, 4, plat::taCenter);  // the cell's own alignment wins over the number rule
  plat::TAlignment ha;
  TVAlignment va;
  g->SetCells(4, 4, "12");
  g->GetCellAlignment(4, 4, ha, va);
  EXPECT_EQ(ha, plat::taCenter);
}

TEST_F(ExtGridTest, CanEditCellHasTheLastWordAndEditOnDblClickOnlyRefuses) {
  g->SetOptions(g->Options() + plat::TGridOptions{goEditing});
  g->OnCanEditCell = [&](plat::TObject*, int r, int c, bool& can) { can = !(c == 2 && r == 2); };
  g->MoveColRow(2, 2, true, true);
  EXPECT_FALSE(g->Options().Contains(goEditing));
  g->MoveColRow(3, 3, true, true);
  EXPECT_TRUE(g->Options().Contains(goEditing));
  g->MouseActions()->SetEditOnDblClickOnly(true);
  g->MoveColRow(4, 4, true, true);
  EXPECT_FALSE(g->Options().Contains(goEditing));
}

TEST_F(ExtGridTest, DisabledRowsAndMergedCellsRedirectTheMove) {
  g->SetRowEnabled(4, false);
  g->MoveColRow(2, 4, true, true);
  EXPECT_EQ(g->Row(), 1);  // skipped
  g->Navigation()->SkipDisabledRows = false;
  g->MoveColRow(2, 4, true, true);
  EXPECT_EQ(g->Row(), 4);
  g->MergeCells(2, 6, 2, 2);
  g->MoveColRow(3, 7, true, true);  // range selection lets the move into the area
  EXPECT_EQ(g->Col(), 3);
  g->MoveColRow(1, 1, true, true);
  g->SetOptions(g->Options() - plat::TGridOptions{plat::goRangeSelect});
  g->MoveColRow(3, 7, true, true);  // a non-base cell: the current cell goes to the base cell
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(g->Row(), 6);
}

struct Listener : ITExtStringGridSelect {
  std::vector<QString>* log;
  void SelectionChanged(TExtStringGrid*, int c, int r) override { log->push_back(QString("listener %1,%2").arg(c).arg(r)); }
};

TEST_F(ExtGridTest, ListenerHearsBeforeRowUpdateAndUnregisteringClearsIt) {
  LogMoves();
  g->OnRowChanging = nullptr;
  g->OnColChanging = nullptr;
  g->OnCellChanging = nullptr;
  Listener l, other;
  l.log = other.log = &log;
  g->RegisterSelListener(&l);
  g->MoveColRow(1, 2, true, true);
  EXPECT_EQ(Log(), "listener 1,2 | update -1>2");
  g->UnRegisterSelListener(&other);
  log.clear();
  g->MoveColRow(1, 3, true, true);
  EXPECT_EQ(Log(), "update 2>3");
}

TEST_F(ExtGridTest, RowWriterReportsOnceAndTheSynchronisedGridFollows) {
  TExtStringGrid* other = new TExtStringGrid(form.get());
  other->SetParent(form.get());
  g->SetRowCount(30);
  g->SyncGrid()->SetGrid(other);
  g->SyncGrid()->SelectionRow = true;
  int updates = 0;
  g->OnRowUpdate = [&](plat::TObject*, int, int) { ++updates; };
  g->SetRow(5);
  EXPECT_EQ(other->Row(), 5);
  const int after = updates;
  g->SetRow(5);
  EXPECT_EQ(updates, after);  // the same row again: nothing
  g->SetTopRow(2);
  EXPECT_EQ(g->TopRow(), 2);
  g->SetTopRow(0);  // outside FixedRows .. RowCount - 1: ignored
  EXPECT_EQ(g->TopRow(), 2);
  g->SetTopRow(30);
  EXPECT_EQ(g->TopRow(), 2);
}

TEST_F(ExtGridTest, RowWriterSetsDisjunctFlags) {
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->SetRow(3);
  EXPECT_TRUE(g->GetRowSelect(3));
  EXPECT_FALSE(g->GetRowSelect(2));
}

TEST_F(ExtGridTest, AssignCopiesSettingsSizesAndCellsFromAGridOnly) {
  TExtStringGrid* src = new TExtStringGrid(form.get());
  src->SetColCount(4);
  src->SetRowCount(7);
  src->SetColWidths(2, 77);
  src->SetRowHeights(3, 40);
  src->SetActiveCellColor(plat::clRed);
  src->Navigation()->AdvanceOnEnter = true;
  src->InvalidEntryTitle = "Bad";
  src->SetCells(1, 1, "a");
  src->SetColors(2, 2, plat::clBlue);
  src->ColumnHeaders()->SetText("x\ny\nz");
  g->Assign(src);
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->RowCount(), 7);
  EXPECT_EQ(g->ColWidths(2), 77);
  EXPECT_EQ(g->RowHeights(3), 40);
  EXPECT_EQ(g->ActiveCellColor(), plat::clRed);
  EXPECT_TRUE(g->Navigation()->AdvanceOnEnter);
  EXPECT_EQ(g->InvalidEntryTitle, "Bad");
  EXPECT_EQ(g->Cells(1, 1), "a");
  EXPECT_EQ(g->Colors(2, 2), plat::clBlue);
  EXPECT_EQ(g->Cells(1, 0), "y");
  src->SetColors(2, 2, plat::clGreen);  // copies, not shared properties
  EXPECT_EQ(g->Colors(2, 2), plat::clBlue);

  plat::TStringList notAGrid;
  g->Assign(&notAGrid);
  EXPECT_EQ(g->ColCount(), 4);
}

TEST_F(ExtGridTest, ChangedCellsReachTheEventThenEachNotifierOnce) {
  struct N : TGridChangeNotifier {
    std::vector<QString>* log;
    void CellsChanged(TExtStringGrid*, plat::TRect r) override { log->push_back(QString("notifier %1").arg(r.Left)); }
  } n;
  n.log = &log;
  g->OnCellsChanged = [&](plat::TObject*, plat::TRect r) { log.push_back(QString("event %1").arg(r.Left)); };
  g->RegisterNotifier(&n);
  g->RegisterNotifier(&n);
  g->CellsChanged(plat::TRect(3, 0, 4, 1));
  EXPECT_EQ(Log(), "event 3 | notifier 3");
  g->UnRegisterNotifier(&n);
  log.clear();
  g->CellsChanged(plat::TRect(1, 0, 4, 1));
  EXPECT_EQ(Log(), "event 1");
}

TEST_F(ExtGridTest, DispatchersAnswerWithoutTheirEvents) {
  QString v;
  g->GetCheckTrue(1, 1, v);
  EXPECT_EQ(v, "Y");
  g->OnGetCheckFalse = [](plat::TObject*, int, int, QString& s) { s = "no"; };
  g->GetCheckFalse(1, 1, v);
  EXPECT_EQ(v, "no");
  EXPECT_FALSE(g->HasNoEditor(1, 1));
  g->OnGetEditorType = [](plat::TObject*, int c, int, TEditorType& e) { e = c == 2 ? edNone : edComboList; };
  EXPECT_TRUE(g->HasNoEditor(2, 1));
  EXPECT_FALSE(g->HasComboBox(3, 1));  // drop-down buttons not always shown
  g->ControlLook()->SetDropDownAlwaysVisible(true);
  EXPECT_TRUE(g->HasComboBox(3, 1));
  bool fixed = false;
  g->DoIsFixedCell(0, 3, fixed);
  EXPECT_TRUE(fixed);
  QString hint = "plain";
  g->OnGridWideHint = [](plat::TObject*, int, int, QString& h) { h = "wide"; };
  g->DoGridHint(1, 1, hint);
  EXPECT_EQ(hint, "wide");
}

TEST_F(ExtGridTest, GroupHeaderAndSummaryRowsGetTheirLines) {
  g->CellObjects().CreateCellGraphic(0, 3)->CellType = ctNode;
  g->CellObjects().CreateCellGraphic(0, 5)->CellType = ctSummary;
  g->Grouping()->HeaderUnderline = true;
  g->Grouping()->SummaryLine = true;
  g->Grouping()->SummaryLineColor = plat::clRed;
  struct Case {
    int col, row;
    bool top, bottom;
  } cases[] = {{1, 3, false, true}, {0, 3, false, false}, {2, 5, true, false}, {2, 4, false, false}};
  for (const Case& c : cases) {
    plat::TPen pen;
    TCellBorders b;
    g->DoGetCellBorder(c.col, c.row, &pen, b);
    EXPECT_EQ(b.Contains(cbTop), c.top) << c.col << "," << c.row;
    EXPECT_EQ(b.Contains(cbBottom), c.bottom) << c.col << "," << c.row;
    if (c.top) {
      EXPECT_EQ(pen.Color(), plat::clRed);
    }
  }
  g->OnGetCellBorder = [](plat::TObject*, int, int, plat::TPen*, TCellBorders& b) { b = {}; };  // last word
  plat::TPen pen;
  TCellBorders b;
  g->DoGetCellBorder(1, 3, &pen, b);
  EXPECT_FALSE(b.Contains(cbBottom));
}

TEST_F(ExtGridTest, EditCellOpensTheEditorAndUpdateEditModeFollowsTheCell) {
  g->SetOptions(g->Options() + plat::TGridOptions{goEditing});
  g->EditCell(3, 4);
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 4);
  EXPECT_TRUE(g->EditorMode());
  g->SetEditorMode(false);
  g->SetReadOnly(3, 4, true);
  g->UpdateEditMode();  // the current cell became read-only: editing goes off for it
  EXPECT_FALSE(g->Options().Contains(goEditing));
  EXPECT_TRUE(g->EditDisabled());
}

TEST_F(ExtGridTest, CellControlsSitOverTheirCell) {
  auto* ctl = new plat::TControl(g);
  g->SetCellControls(2, 3, ctl);
  EXPECT_EQ(g->CellControls(2, 3), ctl);
  EXPECT_EQ(g->ControlCount(), 1);
  const plat::TRect r = g->CalcCellRect(2, 3);
  EXPECT_EQ(ctl->Left(), r.Left - 1);
  EXPECT_EQ(ctl->Top(), r.Top - 1);
  EXPECT_EQ(ctl->Width(), r.Width() + 1);
  g->SetCellControls(2, 3, ctl);  // again: still one
  EXPECT_EQ(g->ControlCount(), 1);
  g->SetCellControls(2, 3, nullptr);
  EXPECT_EQ(g->CellControls(2, 3), nullptr);
  EXPECT_EQ(g->ControlCount(), 0);
}

TEST_F(ExtGridTest, CurrentEditTextReadsAndWritesTheCurrentCell) {
  g->MoveColRow(2, 2, true, true);
  g->SetCurrentEditText("typed");
  EXPECT_EQ(g->Cells(2, 2), "typed");
  EXPECT_EQ(g->CurrentEditText(), "typed");
  g->HideColumn(1);  // the current cell is by real column
  g->MoveColRow(2, 2, true, true);
  EXPECT_EQ(g->CurrentEditText(), g->Cells(3, 2));
}

TEST_F(ExtGridTest, StretchingFillsTheClientWithTheChosenColumn) {
  g->SetColCount(3);
  g->SetFixedCols(0);
  g->SetColWidths(0, 50);
  g->SetColWidths(1, 60);
  g->SetColWidths(2, 70);
  g->SetClientWidth(300);
  g->StretchRightColumn();  // nothing while stretching is off
  EXPECT_EQ(g->ColWidths(2), 70);
  g->ColumnSize()->SetStretch(true);
  g->StretchColumn(-1);
  EXPECT_EQ(g->ColWidths(2), 189);
  g->SetColWidths(0, 40);  // any width change stretches again
  EXPECT_EQ(g->ColWidths(2), 199);
  EXPECT_THROW(g->StretchColumn(3), EExtGridError);
  try {
    g->StretchColumn(3);
  } catch (const EExtGridError& e) {
    EXPECT_EQ(e.Message(), "Stretch column index out of range");
  }
}

TEST_F(ExtGridTest, IntegralHeightTrimsToWholeRows) {
  g->SetColCount(3);
  g->SetBorderStyle(plat::bsSingle);
  g->SetDefaultRowHeight(22);
  struct Case {
    bool integral;
    int asked, got;
  } cases[] = {{false, 200, 200}, {true, 200, 202}, {true, 210, 202}, {true, 221, 202}, {true, 225, 224}};
  for (const Case& c : cases) {
    g->SetIntegralHeight(c.integral);
    g->SetBounds(0, 0, 420, c.asked);
    EXPECT_EQ(g->Height(), c.got) << c.asked;
  }
}

TEST_F(ExtGridTest, FilterListHoldsDistinctTextsAfterTheClearEntry) {
  g->SetRowCount(5);
  g->FilterDropDownAuto = true;
  const char* texts[] = {"a", "b c", " a ", "d"};
  for (int r = 1; r < 5; ++r) g->SetCells(1, r, texts[r - 1]);
  g->HideRow(4);  // hidden rows count too
  ASSERT_TRUE(g->BuildColumnFilterList(1));
  QStringList entries;
  for (int i = 0; i < g->FilterList()->Count(); ++i) entries << g->FilterList()->Strings(i);
  EXPECT_EQ(entries, QStringList({"(All)", "a", "b c=\"b c\"", "d"}));
  g->OnGetColumnFilter = [](plat::TObject*, int, plat::TStrings* f) { f->Clear(); };
  EXPECT_FALSE(g->BuildColumnFilterList(1));
}

void Drag(TExtStringGrid* g, int x, int y, int dx) {
  g->Perform(plat::WM_LBUTTONDOWN, 1, plat::MakeLParam(x, y));
  g->Perform(plat::WM_MOUSEMOVE, 1, plat::MakeLParam(x + dx, y));
  g->Perform(plat::WM_LBUTTONUP, 0, plat::MakeLParam(x + dx, y));
}

TEST_F(ExtGridTest, UserSizingAsksFirstThenScalesAndReportsItsEnd) {
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goColSizing});
  const plat::TRect r = g->CalcCellRect(2, 0);
  EXPECT_TRUE(g->IsOnSizingBorder(r.Right - 1, r.Top + 5));
  EXPECT_FALSE(g->IsOnSizingBorder(r.Left + 20, r.Top + 5));
  EXPECT_FALSE(g->IsOnSizingBorder(r.Right - 1, g->CalcCellRect(2, 3).Top + 5));

  bool allow = false;
  g->OnColumnSize = [&](plat::TObject*, int c, bool& a) {
    log.push_back(QString("ask %1").arg(c));
    a = allow;
  };
  g->OnEndColumnSize = [&](plat::TObject*, int c) { log.push_back(QString("end %1").arg(c)); };
  g->OnUpdateColumnSize = [&](plat::TObject*, int c, int& w) {
    log.push_back(QString("update %1 %2").arg(c).arg(w));
    w = std::min(w, 70);
  };
  Drag(g, r.Right - 1, r.Top + 5, 30);
  EXPECT_EQ(g->ColWidths(2), 50);  // refused: no sizing
  allow = true;
  g->MouseActions()->AllColumnSize = true;
  log.clear();
  Drag(g, r.Right - 1, r.Top + 5, 50);
  EXPECT_EQ(Log(), "ask 2 | end 2 | update 2 100");
  EXPECT_EQ(g->ColWidths(2), 70);
  EXPECT_EQ(g->ColWidths(3), 100);  // scaled by 100 / 50 before the width was held
  EXPECT_EQ(g->ColWidths(0), 50);   // fixed columns keep theirs
}

TEST_F(ExtGridTest, MergedColumnsFollowTheirList) {
  g->SetRowCount(6);
  const char* col1[] = {"", "a", "a", "b", "b", "b"};
  const char* col2[] = {"", "x", "x", "x", "y", "y"};
  for (int r = 0; r < 6; ++r) {
    g->SetCells(1, r, col1[r]);
    g->SetCells(2, r, col2[r]);
  }
  g->MergeCells(3, 1, 1, 3);  // an area no listed column keeps
  g->MergedColumns()->Add(1);
  EXPECT_FALSE(g->IsMergedCell(3, 1));  // every column was split first
  EXPECT_EQ(g->BaseCell(1, 2), plat::TPoint(1, 1));
  EXPECT_EQ(g->BaseCell(1, 5), plat::TPoint(1, 3));
  g->MergedColumns()->Add(2);  // only inside the areas of column 1: rows 3 and 4, 5 stay apart
  EXPECT_EQ(g->BaseCell(2, 2), plat::TPoint(2, 1));
  EXPECT_FALSE(g->IsMergedCell(2, 3));
  EXPECT_EQ(g->BaseCell(2, 5), plat::TPoint(2, 4));
}

TEST_F(ExtGridTest, LoadingEndsWithHeadersMinimumsAndRecordedColumns) {
  g->BeginLoading();
  g->SetFixedRows(2);
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goAlwaysShowEditor});
  g->RowHeaders()->SetText("r0\nr1\nr2");
  g->SetColWidths(3, 44);
  EXPECT_EQ(g->MinFixedRows(), 1);  // not remembered while loading
  EXPECT_FALSE(g->IsLoaded());
  g->EndLoading();
  EXPECT_TRUE(g->IsLoaded());
  EXPECT_EQ(g->MinFixedRows(), 2);
  EXPECT_EQ(g->Cells(0, 2), "r2");
  EXPECT_TRUE(g->Navigation()->AlwaysEdit);
  EXPECT_FALSE(g->Options().Contains(plat::goAlwaysShowEditor));
  EXPECT_EQ(g->OrigColSize(3), 44);
  EXPECT_EQ(g->ColumnAtPosition(3), 3);
  EXPECT_EQ(g->MinColWidth, 10);
}

TEST_F(ExtGridTest, ColumnOrderIsRecordedAndRestored) {
  g->SetColumnOrder();
  g->ColumnHeaders()->SetText("a\nb\nc\nd\ne\nf");
  g->MoveColumn(1, 4);
  EXPECT_EQ(g->ColumnByHeader("b"), 4);
  EXPECT_EQ(g->ColumnPosition(1), 4);  // the recorded order follows the move
  EXPECT_EQ(g->ColumnAtPosition(4), 1);
  EXPECT_EQ(g->ColumnByHeader("none"), -1);
  g->ResetColumnOrder();
  for (int c = 0; c < 6; ++c) EXPECT_EQ(g->Cells(c, 0), QString(QChar(u'a' + c))) << c;
}

TEST_F(ExtGridTest, ResizeFiresTheGridsOwnEventAndHandlersReachTheirEvents) {
  int resized = 0, richSel = 0;
  g->OnResize = [&](plat::TObject* s) { resized += s == g; };
  g->OnRichEditSelectionChange = [&](plat::TObject*) { ++richSel; };
  g->SetBounds(0, 0, 300, 200);
  EXPECT_EQ(resized, 1);
  g->RichEditSelectionChanged();
  EXPECT_EQ(richSel, 1);
}

TEST_F(ExtGridTest, PrintColumnTablesCheckTheirRange) {
  g->SetPrintColumn(511, 40, 100);
  EXPECT_EQ(g->GetPrintColWidth(511), 40);
  EXPECT_EQ(g->GetPrintColOffset(511), 100);
  for (int bad : {-1, 512}) {
    try {
      g->GetPrintColWidth(bad);
      ADD_FAILURE() << bad;
    } catch (const EExtGridError& e) {
      EXPECT_EQ(e.Message(), "Columns is not in valid range");
    }
  }
}

// Cells of hidden rows live outside the grid while the rows are hidden; column operations in that time must
// carry them along, or a row shown again puts its texts under the wrong columns.
TEST_F(ExtGridTest, HiddenRowsKeepTheirCellsUnderTheirColumnsThroughColumnOperations) {
  struct Case {
    const char* name;
    std::function<void(TExtStringGrid&)> op;
    const char* row3;  // columns 0..n-1 of row 3 after the rows are shown again
  };
  const Case cases[] = {
      {"move right", [](TExtStringGrid& g) { g.MoveColumn(1, 4); }, "a c d e b f"},
      {"move left", [](TExtStringGrid& g) { g.MoveColumn(4, 1); }, "a e b c d f"},
      {"insert", [](TExtStringGrid& g) { g.InsertCols(2, 2); }, "a b   c d e f"},
      {"remove", [](TExtStringGrid& g) { g.RemoveCols(1, 2); }, "a d e f"},
      {"swap", [](TExtStringGrid& g) { g.SwapColumns(0, 5); }, "f b c d e a"},
  };
  for (const Case& c : cases) {
    TExtStringGrid& grid = *new TExtStringGrid(form.get());
    grid.SetParent(form.get());
    grid.SetColCount(6);
    grid.SetRowCount(6);
    for (int r = 0; r < 6; ++r)
      for (int col = 0; col < 6; ++col) grid.SetCells(col, r, QString(QChar(u'a' + col)));
    grid.HideRows(3, 4);
    c.op(grid);
    grid.UnHideRowsAll();
    QStringList row3, row1;
    for (int col = 0; col < grid.ColCount(); ++col) row3 << grid.Cells(col, 3), row1 << grid.Cells(col, 1);
    EXPECT_EQ(row3.join(' '), c.row3) << c.name;
    EXPECT_EQ(row3, row1) << c.name;  // hidden rows moved exactly as the shown ones
    delete &grid;
  }
}

}  // namespace
}  // namespace grid
