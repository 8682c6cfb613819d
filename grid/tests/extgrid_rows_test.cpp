// Row operations of the string grid object with controls attached to cells, objects the grid makes for cells,
// clearing with hidden rows, and the dispatchers kept with the cell objects.
#include "grid/extgrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "grid/edit/edit_setup.h"
#include "grid/edit/picker_choice.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/graphic.h"

namespace grid {
namespace {

struct ExtGridRowsTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  ExtGridRowsTest() {
    g->SetParent(form.get());
    g->SetBounds(0, 0, 300, 260);
    g->SetColCount(4);
    g->SetRowCount(10);
    for (int r = 0; r < 10; ++r) g->SetCells(0, r, QString("r%1").arg(r));
  }
  plat::TEdit* Attach(int c, int r) {
    auto* e = new plat::TEdit(form.get());
    g->SetCellControls(c, r, e);
    return e;
  }
  // The cell (real column, real row) the list places a control on; (-1, -1) when it is not listed.
  plat::TPoint PlaceOf(const plat::TControl* c) {
    for (int i = 0; i < g->ControlList()->Count(); ++i)
      if (TControlItem* item = g->ControlList()->GetControl(i); item->Control == c) return {item->X, item->Y};
    return {-1, -1};
  }
};

TEST_F(ExtGridRowsTest, AttachedControlsFollowInsertedRowsUnlessTold) {
  plat::TEdit* e = Attach(2, 3);
  g->InsertRows(1, 2, true);
  EXPECT_EQ(PlaceOf(e), plat::TPoint(2, 5));
  EXPECT_EQ(g->CellControls(2, 5), e);
  const plat::TRect r = g->CellRect(2, 5);
  EXPECT_EQ(e->BoundsRect(), plat::TRect(r.Left - 1, r.Top - 1, r.Right, r.Bottom));
  g->InsertRows(1, 2, false);  // the control stays where it was put
  EXPECT_EQ(PlaceOf(e), plat::TPoint(2, 5));
  EXPECT_EQ(g->Cells(0, 7), "r3");
}

TEST_F(ExtGridRowsTest, AttachedControlsFollowRemovedSwappedAndMovedRowsAndColumns) {
  plat::TEdit* a = Attach(1, 2);
  plat::TEdit* b = Attach(2, 6);
  g->RemoveRows(3, 2);  // b's row moves up by two
  EXPECT_EQ(PlaceOf(b), plat::TPoint(2, 4));
  g->SwapRows(2, 4);
  EXPECT_EQ(PlaceOf(a), plat::TPoint(1, 4));
  EXPECT_EQ(PlaceOf(b), plat::TPoint(2, 2));
  g->MoveRows(4, 1, 1);  // a's row goes to row 1
  EXPECT_EQ(PlaceOf(a), plat::TPoint(1, 1));
  EXPECT_EQ(g->Cells(0, 1), "r2");
  g->MoveColumn(1, 3);
  EXPECT_EQ(PlaceOf(a), plat::TPoint(3, 1));
  EXPECT_EQ(PlaceOf(b), plat::TPoint(1, 3));  // b's row was pushed down by a's, its column one left
  g->SwapColumns(1, 3);
  EXPECT_EQ(PlaceOf(a), plat::TPoint(1, 1));
  // A removed row takes its control out of view and out of the list.
  ASSERT_TRUE(a->Visible());
  g->RemoveRows(1, 1);
  EXPECT_FALSE(a->Visible());
  EXPECT_EQ(PlaceOf(a), plat::TPoint(-1, -1));
  EXPECT_EQ(g->ControlCount(), 1);
  g->RemoveCols(3, 1);
  EXPECT_EQ(PlaceOf(b), plat::TPoint(-1, -1));
  EXPECT_EQ(g->ControlCount(), 0);
}

TEST_F(ExtGridRowsTest, CreatedObjectsBelongToTheCell) {
  plat::TBitmap* bmp = g->CreateBitmap(1, 1, true, haCenter, vaCenter);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(g->GetCellType(1, 1), ctBitmap);
  EXPECT_TRUE(g->GetCellGraphic(1, 1)->CellCreated);
  plat::TPicture* pic = g->CreatePicture(1, 2, false, StretchWithAspectRatio, 2, haLeft, vaTop);
  ASSERT_NE(pic, nullptr);
  EXPECT_TRUE(g->HasPicture(1, 2));
  EXPECT_EQ(g->GetPicture(1, 2), pic);
  TFilePicture* file = g->CreateFilePicture(1, 3, false, noStretch, 0, haLeft, vaTop);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(g->GetFilePicture(1, 3), file);
  EXPECT_FALSE(g->HasPicture(1, 3));  // a file picture is a kind of its own
  EXPECT_NE(g->CreateIcon(2, 1, haLeft, vaTop), nullptr);
  EXPECT_EQ(g->GetCellType(2, 1), ctIcon);
  plat::TBitmap* glyph = g->CreateBitButton(2, 2, 40, 18, "Go", haLeft, vaTop);
  ASSERT_NE(glyph, nullptr);
  EXPECT_EQ(g->GetCellType(2, 2), ctBitButton);
  EXPECT_EQ(g->GetCellGraphic(2, 2)->CellBitmap, glyph);
  EXPECT_EQ(g->CreateBitmap(1, 99, false, haLeft, vaTop), nullptr);  // outside the grid
  // The caller's file picture stays the caller's.
  TFilePicture own;
  g->AddFilePicture(3, 1, &own, false, noStretch, 0, haLeft, vaTop);
  EXPECT_EQ(g->GetFilePicture(3, 1), &own);
  g->RemoveRows(1, 3);  // created objects go with their rows
  g->CellObjects().RemoveFilePicture(3, 1);
}

TEST_F(ExtGridRowsTest, RemoversKeepTheCurrentRowAndTheLargestRowCount) {
  g->SetRow(8);
  const int max = g->MaxRowCountSet();
  g->RemoveRows(1, 2);
  EXPECT_EQ(g->Row(), 7);  // the last row now
  EXPECT_EQ(g->MaxRowCountSet(), max - 2);
  g->SetRow(5);
  g->RemoveRowsEx(1, 1);
  EXPECT_EQ(g->Row(), 5);
  EXPECT_EQ(g->Cells(0, 1), "r4");
  g->SetRow(6);
  g->RemoveRowsEx(2, 5);  // the current row falls outside: the first normal row
  EXPECT_EQ(g->Row(), g->FixedRows());
  g->CellObjects().AddComment(1, 1, "x");
  g->DoRemoveRows(1, 1);
  EXPECT_EQ(g->RowCount(), 1);
  EXPECT_EQ(g->Cells(0, 0), "r0");
}

TEST_F(ExtGridRowsTest, ClearAllEmptiesHiddenRowsTooAndTheyStayHidden) {
  g->CellObjects().AddComment(2, 5, "c");
  g->SetCells(2, 5, "five");
  g->HideRows(5, 5);
  g->Clear();
  EXPECT_EQ(g->AllCells(2, 5), "five");  // Clear leaves what hidden rows keep
  g->ClearAll();
  EXPECT_EQ(g->NumHiddenRows(), 1);
  EXPECT_EQ(g->AllCells(2, 5), "");
  g->UnHideRowsAll();
  EXPECT_EQ(g->Cells(2, 5), "");
  EXPECT_EQ(g->GetCellGraphic(2, 5), nullptr);
  EXPECT_EQ(g->Cells(0, 1), "");
}

TEST_F(ExtGridRowsTest, TrimAndClearSelectionWorkOnDisplayColumns) {
  g->SetCells(2, 1, "  a\t");
  g->SetCells(3, 1, "keep");
  g->HideColumn(2);
  g->SaveHiddenCells = true;
  g->TrimRect(2, 1, 2, 1);  // display column 2 is real column 3
  EXPECT_EQ(g->GetGridCell(2, 1), "  a\t");
  g->UnHideColumnsAll();
  g->TrimRect(2, 1, 2, 1);
  EXPECT_EQ(g->GetGridCell(2, 1), "a");
  g->SetSelection({2, 1, 3, 2});
  g->ClearSelection();
  EXPECT_EQ(g->Cells(2, 1), "");
  EXPECT_EQ(g->Cells(3, 1), "");
  EXPECT_EQ(g->Cells(0, 1), "r1");
}

TEST_F(ExtGridRowsTest, SortIndicatorRowFollowsMergedHeaders) {
  g->SetFixedRows(2);
  g->SortSettings()->SetShow(true);
  g->SortSettings()->SetRow(1);
  g->MergeCells(1, 0, 1, 2);
  struct Case {
    int col, row;
    bool shown;
  } cases[] = {{1, 0, true}, {2, 0, false}, {2, 1, true}, {2, 2, false}};
  for (const Case& k : cases) EXPECT_EQ(g->IsSortIndicatorRow(k.col, k.row), k.shown) << k.col << "," << k.row;
  g->SortSettings()->SetShow(false);
  EXPECT_FALSE(g->IsSortIndicatorRow(2, 1));
}

// A stand-in for the drop-down library's pickers, registered for their editor kinds.
class TPickerStandIn : public TCellEditorKind, public TColorPickerChoice, public TImagePickerChoice {
 public:
  using TCellEditorKind::TCellEditorKind;
  plat::TWinControl* Setup(const TEditorCell&) override { return nullptr; }
  void WriteBack(const TEditorCell&) override {}
  plat::TWinControl* Control() const override { return nullptr; }
  plat::TColor SelectedColor() const override { return plat::clRed; }
  QString SelectedColorText() const override { return "clRed"; }
  int ItemIndex() const override { return 4; }
};

TEST_F(ExtGridRowsTest, DispatchersReportThePickersChoiceAndAsk) {
  g->MoveColRow(2, 3, true, true);
  QString seen;
  g->OnColorSelect = [&](plat::TObject*, int c, int r, plat::TColor color, QString text) {
    seen = QString("%1,%2 %3 %4").arg(c).arg(r).arg(color == plat::clRed).arg(text);
  };
  g->OnImageSelect = [&](plat::TObject*, int c, int r, int index) { seen = QString("%1,%2 %3").arg(c).arg(r).arg(index); };
  g->DoColorSelect();  // no picker registered yet: nothing to report
  EXPECT_EQ(seen, "");
  TEditorRegistry::Register({edColorPickerDropDown, edImagePickerDropDown},
                            [](TExtStringGrid& G) { return std::make_unique<TPickerStandIn>(G); });
  g->DoColorSelect();
  EXPECT_EQ(seen, "2,3 1 clRed");
  g->DoImageSelect();
  EXPECT_EQ(seen, "2,3 4");
  g->OnCanAddRow = [](plat::TObject*, bool& can) { can = false; };
  g->OnCanInsertRow = [](plat::TObject*, int row, bool& can) { can = row != 3; };
  bool add = true, insert = true;
  g->DoCanAddRow(add);
  g->DoCanInsertRow(3, insert);
  EXPECT_FALSE(add);
  EXPECT_FALSE(insert);
  g->OnUnitChanged = [&](plat::TObject*, int c, int r, QString unit) { seen = QString("%1,%2 %3").arg(c).arg(r).arg(unit); };
  g->DoUnitChanged(nullptr, "kWh");
  EXPECT_EQ(seen, "2,3 kWh");
}

// Pictures, icons, glyph buttons and attached controls as the user sees them; the picture goes to the test's
// folder (grid_objects_cells.png). The control sits over its cell's text after rows were inserted above it.
TEST_F(ExtGridRowsTest, ScreenshotOfObjectsInCells) {
  form->SetBounds(0, 0, 420, 300);
  g->SetBounds(0, 0, 400, 280);
  g->SetDefaultColWidth(96);
  g->SetDefaultRowHeight(36);
  g->SetColor(plat::clWhite);
  QImage img(28, 28, QImage::Format_RGB32);  // a plain bitmap: opaque, on the cells' white
  img.fill(Qt::white);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x2e, 0x7d, 0x32));
    p.drawEllipse(2, 2, 24, 24);
    p.setBrush(QColor(0xff, 0xc1, 0x07));
    p.drawRect(9, 9, 10, 10);
  }
  for (int c = 1; c < 4; ++c) g->SetCells(c, 0, QStringList{"", "Picture", "Icon", "Button"}[c]);
  plat::TPicture* pic = g->CreatePicture(1, 1, false, StretchWithAspectRatio, 2, haCenter, vaCenter);
  auto bmp = std::make_unique<plat::TBitmap>();
  bmp->SetImage(img);
  pic->SetGraphic(std::move(bmp));
  g->CreateIcon(2, 1, haBeforeText, vaCenter)->SetImage(img.scaled(16, 16));
  g->SetCells(2, 1, "icon");
  g->CreateBitButton(3, 1, 80, 26, "Go", haCenter, vaCenter)->SetImage(img.scaled(16, 16));
  g->CreateBitmap(1, 2, true, haBeforeText, vaCenter)->SetImage(img);
  g->SetCells(1, 2, "bitmap");
  auto* edit = new plat::TEdit(form.get());
  edit->SetText("control r3");
  g->SetCells(0, 3, "r3");
  g->SetCellControls(2, 3, edit);
  g->InsertRows(2, 2, true);  // the control moves down with row r3
  g->SetCells(0, 2, "new");
  g->SetCells(0, 3, "new");
  form->Show();
  QApplication::processEvents();
  EXPECT_EQ(g->CellControls(2, 5), edit);
  const QImage shot = g->Widget()->grab().toImage();
  EXPECT_TRUE(shot.save(QString(TEST_BINARY_DIR) + "/grid_objects_cells.png"));
}

// Node rows are indented by their level; rows outside the grid, plain rows and a grid without nodes are not.
TEST_F(ExtGridRowsTest, NodeIndentFollowsTheNodeLevel) {
  g->CellNode()->SetNodeIndent(10);
  EXPECT_EQ(g->GetNodeIndent(1), 0);
  g->AddNode(1, 6);
  g->AddNode(3, 3);
  const struct { int row, indent; } cases[] = {{1, 10}, {3, 20}, {8, 0}, {-1, 0}, {10, 0}};
  for (const auto& k : cases) EXPECT_EQ(g->GetNodeIndent(k.row), k.indent) << k.row;
}

// Only an expand cell has the corner button; a button cell or a plain cell answers an empty rectangle.
TEST_F(ExtGridRowsTest, ExpandButtonSitsInTheCellsTopRightCorner) {
  g->AddExpand(1, 2, 40);
  g->CellObjects().AddButton(2, 2, 30, 16, "b", haCenter, vaCenter);
  const plat::TRect r = g->CellRect(1, 2);
  EXPECT_EQ(g->GetExpandButtonRect(1, 2), plat::TRect(r.Right - 13, r.Top + 2, r.Right - 2, r.Top + 13));
  EXPECT_EQ(g->GetExpandButtonRect(2, 2), plat::TRect());
  EXPECT_EQ(g->GetExpandButtonRect(3, 2), plat::TRect());
  EXPECT_EQ(g->GetExpandButtonRect(-1, 2), plat::TRect());
}

// With numbers right-aligned, every way of adding a progress bar right-aligns its cell; otherwise it stays left.
TEST_F(ExtGridRowsTest, ProgressBarsFollowTheNumberAlignment) {
  for (bool autoNum : {false, true}) {
    g->AutoNumAlign = autoNum;
    g->CellObjects().AddProgress(1, 1, plat::clBlue, plat::clWhite);
    g->CellObjects().AddProgressEx(1, 2, plat::clBlue, plat::clWhite, plat::clWhite, plat::clBlack);
    g->CellObjects().AddProgressFormatted(1, 3, plat::clBlue, plat::clWhite, plat::clWhite, plat::clBlack, "%d",
                                          0, 10);
    const plat::TAlignment expected = autoNum ? plat::taRightJustify : plat::taLeftJustify;
    for (int r = 1; r <= 3; ++r) {
      EXPECT_TRUE(g->CellObjects().HasProgress(1, r));
      EXPECT_EQ(g->GetGridObject(1, r)->Alignment, expected) << autoNum << " row " << r;
    }
    g->ClearCols(1, 1);
  }
}

// Shrinking the column count cuts off the hidden columns that would come back past the shown ones, so that the
// grid still shows its hidden columns again when it is destroyed (nothing may throw out of its destructor).
TEST_F(ExtGridRowsTest, ShrinkingPastAHiddenColumnKeepsTheGridWhole) {
  struct {
    int Count;
    int Hidden;  // hidden columns left
  } cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Count);
    auto* grid = new TExtStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetColCount(5);
    grid->SetRowCount(6);
    grid->HideColumn(2);
    grid->SetColCount(c.Count);
    EXPECT_EQ(grid->NumHiddenColumns(), c.Hidden);
    grid->UnHideColumnsAll();
    EXPECT_EQ(grid->ColCount(), std::max(c.Count, 1) + c.Hidden);
    grid->HideColumn(grid->ColCount() - 1);
    grid->SetColCount(1);
    delete grid;
  }
}

// The rows (columns) a grid keeps at its minimum count start empty: they never show a row cut off before.
TEST_F(ExtGridRowsTest, RemovingTheLastRowOrColumnShowsNothingCutOffBefore) {
  g->SetCells(1, 0, "c1");
  g->SetRowCount(1);
  g->RemoveRows(0, 1);
  EXPECT_EQ(g->RowCount(), 1);
  EXPECT_EQ(g->Cells(0, 0), "");
  EXPECT_EQ(g->Cells(1, 0), "");
  g->SetRowCount(3);
  g->SetCells(1, 1, "kept");
  g->SetColCount(1);
  g->RemoveCols(0, 1);
  EXPECT_EQ(g->ColCount(), 1);
  EXPECT_EQ(g->Cells(0, 1), "");
}

// Splitting every area also splits one whose top row is hidden: showing the row again brings no merge back.
TEST_F(ExtGridRowsTest, SplitAllCellsSplitsAreasOfHiddenRows) {
  g->MergeCells(1, 2, 2, 3);  // columns 1..2, rows 2..4
  g->HideRow(2);
  g->SplitAllCells();
  g->UnHideRowsAll();
  ASSERT_EQ(g->RowCount(), 10);
  for (int r = 2; r <= 4; ++r)
    for (int c = 1; c <= 2; ++c) EXPECT_FALSE(g->IsMergedCell(c, r)) << c << "," << r;
}

}  // namespace
}  // namespace grid
