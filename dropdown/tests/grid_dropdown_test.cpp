// The grid drop-down: rows tied to items through sorting, picking and cancelling, lookup and narrowing by typed
// text, cell editing in the popup, a grid the application fills, the popup's height and column widths, and the
// events handed on from the popup grid.
#include <QApplication>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "dropdown/grid_dropdown.h"
#include "dropdown/grid_dropdown_grid.h"
#include "platform/forms/forms.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/rtl/strings.h"

using namespace plat;

namespace dropdown::griddrop {
namespace {

class TTestGridDropDown : public TCustomExtGridDropDown {
 public:
  using TCustomExtGridDropDown::TCustomExtGridDropDown;
  using TCustomExtGridDropDown::GetGrid;
  int Adapted(int Height) {
    AdaptDropDownHeight(Height);
    return Height;
  }
};

// A shown form with a grid drop-down of three columns and one item per row of texts given.
struct GridDrop {
  explicit GridDrop(std::initializer_list<std::initializer_list<QString>> rows) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 400, 300);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(20, 200, 100, 24);
    drop = new TTestGridDropDown(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 240, 24);
    for (const char* h : {"Name", "Code", "Town"}) drop->Columns()->Add()->SetHeader(QString::fromLatin1(h));
    for (const auto& row : rows) {
      TDropDownItem* item = drop->Items()->Add();
      for (const QString& s : row) item->Text()->Add(s);
    }
    drop->EndUpdate();
    drop->OnSelect = [this](TObject*) { ++selects; };
    form->Show();
    QApplication::processEvents();
    drop->SetFocus();
    QApplication::processEvents();
  }
  TExtColGrid& grid() const { return *drop->GetGrid(); }
  QWidget* edit() const { return drop->Widget(); }
  QWidget* gridWidget() const { return grid().Widget(); }
  bool open() const { return drop->DroppedDown() && drop->DropDownForm()->Visible(); }
  // The lookup-column texts of the rows the grid shows.
  QStringList shown() const {
    QStringList texts;
    for (int r = grid().FixedRows(); r < grid().RowCount(); ++r) texts << grid().Cells(0, r);
    return texts;
  }
  void clickHeader(int Col) const {
    const TRect r = grid().CellRect(Col, 0);
    const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    QTest::mousePress(gridWidget(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(gridWidget(), Qt::LeftButton, Qt::NoModifier, p);
  }
  std::unique_ptr<TForm> form;
  TEdit* other;
  TTestGridDropDown* drop;
  int selects = 0;
};

const std::initializer_list<std::initializer_list<QString>> Towns = {
    {"Milan", "20", "north"}, {"Bari", "70", "south"}, {"Rome", "00", "centre"}, {"Bergamo", "24", "north"}};

TEST(GridDropDownRows, EachDataRowKeepsItsItemAndHeadersKeepMinusOne) {
  GridDrop d(Towns);
  d.drop->ShowDropDown();
  ASSERT_TRUE(d.open());
  EXPECT_EQ(d.grid().RowCount(), 5);
  EXPECT_EQ(d.grid().Cells(2, 0), QStringLiteral("Town"));
  EXPECT_EQ(d.drop->RowToItem(0), -1);
  EXPECT_EQ(d.drop->RowToItem(3), 2);
  EXPECT_EQ(d.drop->ItemToRow(2), 3);
  EXPECT_EQ(d.drop->RowToItem(9), 9);  // past the rows: the row itself
  EXPECT_EQ(d.grid().Cells(1, 2), QStringLiteral("70"));
}

TEST(GridDropDownRows, OnASortedGridAPickTakesTheItemShownNotTheRowNumber) {
  GridDrop d(Towns);
  d.drop->SetSorting(gsSingleColumn);
  d.drop->ShowDropDown();
  d.clickHeader(0);  // Bari, Bergamo, Milan, Rome
  ASSERT_EQ(d.shown(), (QStringList{"Bari", "Bergamo", "Milan", "Rome"}));
  QTest::keyClick(d.gridWidget(), Qt::Key_Home);
  QTest::keyClick(d.gridWidget(), Qt::Key_Down);  // Bergamo, item 3
  QTest::keyClick(d.gridWidget(), Qt::Key_Return);
  EXPECT_FALSE(d.open());
  EXPECT_EQ(d.drop->ItemIndex(), 3);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Bergamo"));
  EXPECT_EQ(d.selects, 1);
  // The next opening sorts again and shows the chosen item's row.
  d.drop->ShowDropDown();
  EXPECT_EQ(d.grid().Cells(0, d.grid().Row()), QStringLiteral("Bergamo"));
}

TEST(GridDropDownRows, AHeaderClickSortKeepsTheSelectedItemsRowCurrent) {
  GridDrop d(Towns);
  d.drop->SetSorting(gsSingleColumn);
  d.drop->SetItemIndex(2);  // Rome
  d.drop->ShowDropDown();
  ASSERT_EQ(d.grid().Row(), 3);
  d.clickHeader(1);  // by code: Rome (00) first
  EXPECT_EQ(d.grid().Cells(0, 1), QStringLiteral("Rome"));
  EXPECT_EQ(d.grid().Row(), 1);
  EXPECT_EQ(d.drop->ItemIndex(), 2);
  EXPECT_TRUE(d.open());
}

TEST(GridDropDownRows, EscapeGivesBackTheChoiceAndAWheeledRowIsNotTaken) {
  GridDrop d(Towns);
  d.drop->SetItemIndex(1);
  d.drop->ShowDropDown();
  QTest::keyClick(d.gridWidget(), Qt::Key_Down);
  EXPECT_EQ(d.drop->ItemIndex(), 2);
  QTest::keyClick(d.gridWidget(), Qt::Key_Escape);
  EXPECT_FALSE(d.open());
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Bari"));

  d.drop->ShowDropDown();
  QWheelEvent e(QPointF(5, 40), QPointF(d.gridWidget()->mapToGlobal(QPoint(5, 40))), QPoint(), QPoint(0, -120),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(d.gridWidget(), &e);
  EXPECT_GT(d.grid().Row(), 2);
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  d.drop->HideDropDown(false);
  EXPECT_EQ(d.drop->ItemIndex(), 1);
}

// ---- typed lookup and narrowing ---------------------------------------------------------------------------

TEST(GridDropDownTyping, CompletesInTheEditFromTheFirstMatch) {
  GridDrop d(Towns);
  QTest::keyClicks(d.edit(), QStringLiteral("be"));
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Bergamo"));
  EXPECT_EQ(d.drop->SelText(), QStringLiteral("rgamo"));
  EXPECT_EQ(d.drop->ItemIndex(), 3);
}

TEST(GridDropDownTyping, DropDownListRestartsWithALoneCharacterWhileDropDownKeepsTheEntry) {
  const struct {
    TDropDownStyle style;
    const char* typed;
    int index;
    const char* text;
    const char* selected;
  } cases[] = {
      {dsDropDownList, "b", 1, "Bari", ""},
      {dsDropDownList, "be", 3, "Bergamo", ""},
      {dsDropDownList, "bem", 0, "Milan", ""},  // "bem" continues nothing: "m" alone
      {dsDropDownList, "bx", 1, "Bari", ""},  // neither "bx" nor "x": the last find stays
      {dsDropDown, "be", 3, "Bergamo", "rgamo"},
      {dsDropDown, "bem", 3, "Bergamo", "rgamo"},  // no restart: the entry stays "bem", nothing changes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    GridDrop d(Towns);
    d.drop->SetStyle(c.style);
    if (c.style == dsDropDownList) d.drop->SetItemIndex(-1);
    d.drop->ShowDropDown();
    QTest::keyClicks(d.gridWidget(), QString::fromLatin1(c.typed));
    EXPECT_EQ(d.drop->ItemIndex(), c.index);
    EXPECT_EQ(d.drop->Text(), QString::fromLatin1(c.text));
    EXPECT_EQ(d.drop->SelText(), QString::fromLatin1(c.selected));
  }
}

TEST(GridDropDownTyping, TypingInTheDropDownListEditLooksUpWithoutThePopup) {
  GridDrop d(Towns);
  d.drop->SetStyle(dsDropDownList);
  QTest::keyClicks(d.edit(), QStringLiteral("ro"));
  EXPECT_EQ(d.drop->ItemIndex(), 2);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Rome"));
  EXPECT_FALSE(d.open());
  d.drop->AutoShowDropDown = true;
  QTest::keyClick(d.edit(), Qt::Key_B);
  EXPECT_TRUE(d.open());
  EXPECT_EQ(d.grid().Cells(0, d.grid().Row()), QStringLiteral("Bari"));
}

TEST(GridDropDownTyping, NarrowingHidesRowsWithoutTheTextAndShowsThemAgain) {
  GridDrop d(Towns);
  d.drop->SetLookupMethod(lmNarrowDown);
  d.drop->ShowDropDown();
  QTest::keyClicks(d.gridWidget(), QStringLiteral("r"));
  EXPECT_EQ(d.shown(), (QStringList{"Bari", "Rome", "Bergamo"}));
  QTest::keyClicks(d.gridWidget(), QStringLiteral("g"));
  EXPECT_EQ(d.shown(), (QStringList{"Bergamo"}));
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Bergamo"));
  QTest::keyClicks(d.gridWidget(), QStringLiteral("x"));
  EXPECT_TRUE(d.shown().isEmpty());
  EXPECT_EQ(d.grid().RowCount(), 1);
  // Nothing was left: the entry starts again with the next character.
  QTest::keyClicks(d.gridWidget(), QStringLiteral("ba"));
  EXPECT_EQ(d.shown(), (QStringList{"Bari"}));
  QTest::keyClick(d.gridWidget(), Qt::Key_Backspace);
  EXPECT_EQ(d.shown(), (QStringList{"Bari", "Bergamo"}));
  QTest::keyClick(d.gridWidget(), Qt::Key_Backspace);
  EXPECT_EQ(d.shown(), (QStringList{"Milan", "Bari", "Rome", "Bergamo"}));
  EXPECT_EQ(d.grid().NarrowLevels(), 0);
}

TEST(GridDropDownTyping, NarrowingFromTheEditEndsWhenTheEditIsEnteredAgain) {
  GridDrop d(Towns);
  d.drop->SetLookupMethod(lmNarrowDown);
  d.drop->AutoShowDropDown = true;
  QTest::keyClicks(d.edit(), QStringLiteral("mi"));
  ASSERT_TRUE(d.open());
  EXPECT_EQ(d.shown(), (QStringList{"Milan"}));
  d.drop->HideDropDown(false);
  d.other->SetFocus();
  QApplication::processEvents();
  d.drop->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(d.grid().RowCount(), 5);
  EXPECT_EQ(d.grid().NarrowLevels(), 0);
}

// ---- cell editing in the popup --------------------------------------------------------------------------------

TEST(GridDropDownEditing, EnterInTheLookupColumnClosesWithTheCellsTextElsewhereOnlyEndsTheEdit) {
  for (const int column : {0, 1}) {
    SCOPED_TRACE(column);
    GridDrop d(Towns);
    d.drop->SetGridEditable(true);
    d.drop->SetRowSelect(false);
    d.drop->SetItemIndex(2);
    d.drop->ShowDropDown();
    d.grid().SetCol(column);
    d.grid().SetEditorMode(true);
    ASSERT_TRUE(d.grid().EditorMode());
    d.drop->Perform(WM_KEYDOWN, VK_RETURN, 0);
    d.grid().SetCells(column, 3, QStringLiteral("Roma"));
    EXPECT_FALSE(d.grid().EditorMode());
    d.drop->Perform(WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(d.open(), column != 0);
    EXPECT_EQ(d.drop->ItemIndex(), 2);
    EXPECT_EQ(d.drop->Text(), QStringLiteral("Rome"));
  }
}

// ---- a grid the application fills -------------------------------------------------------------------------

TEST(GridDropDownOwnRows, ItemIndexAndLookupWorkOnTheGridsRows) {
  GridDrop d({});
  d.drop->SetUseItems(false);
  TExtColGrid& g = d.grid();
  g.SetColCount(2);
  g.SetRowCount(4);
  const char* names[] = {"Oslo", "Bern", "Paris"};
  for (int r = 0; r < 3; ++r) g.SetCells(0, r + 1, QString::fromLatin1(names[r]));
  EXPECT_EQ(d.drop->GetItemCount(), 3);
  d.drop->SetItemIndex(1);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Bern"));
  QString found;
  int row = -1;
  EXPECT_TRUE(d.drop->LookupMatch(QStringLiteral("pa"), found, row));
  EXPECT_EQ(row, 3);
  EXPECT_EQ(found, QStringLiteral("Paris"));
  d.drop->SetText(QStringLiteral("Par"));
  d.drop->ShowDropDown();
  EXPECT_EQ(g.Row(), 3);
  QTest::keyClick(d.gridWidget(), Qt::Key_Up);
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  QTest::keyClick(d.gridWidget(), Qt::Key_Return);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Bern"));
}

// ---- sizes ----------------------------------------------------------------------------------------------

TEST(GridDropDownSizes, HeightSnapsWithSixPixelsAndColumnsScaleToTheWidth) {
  GridDrop d(Towns);
  EXPECT_EQ(d.drop->Adapted(127), 25 + 4 * 22 + 6);
  d.drop->DropDownRowHeight = 0;
  EXPECT_EQ(d.drop->Adapted(127), 25 + 100 + 6);
  d.drop->DropDownRowHeight = 22;
  d.drop->ShowDropDown();
  TDropDownForm& f = *d.drop->DropDownForm();
  f.SetBounds(f.Left(), f.Top(), 200, 400);
  d.drop->SizeColumnsToDropDown();
  EXPECT_EQ(d.grid().ColWidths(0), 66);
  EXPECT_EQ(d.grid().ColWidths(1), 66);
  EXPECT_EQ(d.grid().ColWidths(2), 67);
}

// ---- events ---------------------------------------------------------------------------------------------

TEST(GridDropDownEvents, HandedOnWithPresetsAndTheirSenders) {
  GridDrop d(Towns);
  d.drop->Columns()->GetItem(1)->SetColor(0x00FFFF);
  d.drop->Columns()->GetItem(1)->SetAlignment(taRightJustify);
  TColor seenColor = clNone;
  TAlignment seenAlign = taLeftJustify;
  QString seenFormat = QStringLiteral("unset");
  TObject* topLeftSender = nullptr;
  QString hint;
  d.drop->OnGridGetCellColor = [&](TObject*, int, int, TGridDrawState, TBrush* B, TFont*) { seenColor = B->Color(); };
  d.drop->OnGridGetAlignment = [&](TObject*, int, int, TAlignment& HA, grid::TVAlignment&) { seenAlign = HA; };
  d.drop->OnGridGetFloatFormat = [&](TObject*, int, int, bool&, QString& F) { seenFormat = F; };
  d.drop->OnGridTopLeftChanged = [&](TObject* S) { topLeftSender = S; };
  d.drop->OnGridHint = [&](TObject* S, int, int, QString& H) { H = S == d.drop->GetGrid() ? "grid" : "other"; };
  d.drop->ShowDropDown();
  TExtColGrid& g = d.grid();
  TBrush brush;
  TFont font;
  g.OnGetCellColor(&g, 1, 1, TGridDrawState{}, &brush, &font);
  EXPECT_EQ(seenColor, TColor(0x00FFFF));
  TAlignment ha = taLeftJustify;
  grid::TVAlignment va{};
  g.OnGetAlignment(&g, 1, 1, ha, va);
  EXPECT_EQ(seenAlign, taRightJustify);
  bool isFloat = true;
  QString format = QStringLiteral("%.2f");
  g.OnGetFloatFormat(&g, 1, 1, isFloat, format);
  EXPECT_EQ(seenFormat, QString());
  g.OnTopLeftChanged(&g);
  EXPECT_EQ(topLeftSender, d.drop);
  g.OnGridHint(&g, 1, 1, hint);
  EXPECT_EQ(hint, QStringLiteral("grid"));
}

}  // namespace
}  // namespace dropdown::griddrop

namespace dropdown::griddrop {
namespace {

TEST(GridDropDownEditing, EnterTypedIntoTheCellEditorEndsTheEditAndClosesOnlyInTheLookupColumn) {
  for (const int column : {0, 2}) {
    SCOPED_TRACE(column);
    GridDrop d(Towns);
    d.drop->SetGridEditable(true);
    d.drop->SetRowSelect(false);
    d.drop->SetItemIndex(2);
    d.drop->ShowDropDown();
    d.grid().SetCol(column);
    d.grid().SetEditorMode(true);
    ASSERT_NE(d.grid().InplaceEditor(), nullptr);
    QWidget* editor = d.grid().InplaceEditor()->Widget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("Roma"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(d.grid().EditorMode());
    EXPECT_EQ(d.grid().Cells(column, 3), QStringLiteral("Roma"));
    EXPECT_EQ(d.open(), column != 0);
    EXPECT_EQ(d.drop->Text(), column == 0 ? QStringLiteral("Roma") : QStringLiteral("Rome"));
    EXPECT_EQ(d.drop->ItemIndex(), 2);
  }
}

}  // namespace
}  // namespace dropdown::griddrop
