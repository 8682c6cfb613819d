// The column grid: the column collection kept in step with the grid, the cell rules the columns decide, and
// the collection and column order stored and loaded.
#include "grid/column_grid.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "grid/edit/edit_link.h"
#include "grid/edit/special_editors.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/messages.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifile.h"

namespace grid {
namespace {

struct ColumnGridTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtColumnGrid* g = new TExtColumnGrid(form.get());
  ColumnGridTest() {
    form->SetBounds(0, 0, 440, 320);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 420, 300);
    g->SetColCount(3);
    g->SetRowCount(5);
    g->SetFixedCols(0);
    g->SetFixedRows(1);
  }
  TGridColumnItem* C(int i) { return g->Columns()->Items(i); }
  std::vector<TColumnRecord> Records() {
    std::vector<TColumnRecord> r;
    for (int i = 0; i < g->Columns()->Count(); ++i) r.push_back(C(i)->ToRecord());
    return r;
  }
};

TEST_F(ColumnGridTest, OnlyNormalCellsOfWritableColumnsCanBeEdited) {
  C(0)->ReadOnly = true;
  C(2)->ReadOnly = true;
  const auto editable = [&](int c, int r) {
    bool can = true;
    g->CheckCellEditable(c, r, can);
    return can;
  };
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(editable(c, r), c == 1 && r >= 1) << c << "," << r;
  g->SetReadOnly(1, 2, true);
  EXPECT_FALSE(editable(1, 2));
  EXPECT_TRUE(editable(1, 3));
  C(1)->SetFixed(true);
  EXPECT_FALSE(editable(1, 3));
  g->OnCanEditCell = [](plat::TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = ACol == 0 && ARow == 4; };
  EXPECT_TRUE(editable(0, 4));
  EXPECT_FALSE(editable(1, 3));
}

TEST_F(ColumnGridTest, NewColumnsCopyTheLastColumnsVisualsButTheGridsColourAndFont) {
  g->SetColor(plat::clWhite);
  C(2)->SetColor(plat::clYellow);
  C(2)->SetAlignment(plat::taRightJustify);
  C(2)->ReadOnly = true;
  C(2)->Font()->SetColor(plat::clRed);
  C(2)->Name = "last";
  C(2)->ComboItems()->Add("x");
  g->SetColCount(5);
  ASSERT_EQ(g->Columns()->Count(), 5);
  for (int i : {3, 4}) {
    EXPECT_EQ(C(i)->Alignment(), plat::taRightJustify);
    EXPECT_TRUE(C(i)->ReadOnly);
    EXPECT_EQ(C(i)->Color(), plat::clWhite);
    EXPECT_EQ(C(i)->Font()->Color(), g->Font()->Color());
    EXPECT_EQ(C(i)->Name, "");
    EXPECT_EQ(C(i)->ComboItems()->Count(), 0);
  }
  g->SetColCount(2);
  EXPECT_EQ(g->Columns()->Count(), 2);
}

TEST_F(ColumnGridTest, HeadersFollowTheListAndTheColumns) {
  g->ColumnHeaders()->SetCommaText("One,Two,Three");
  EXPECT_EQ(C(0)->Header(), "One");
  EXPECT_EQ(C(2)->Header(), "Three");
  EXPECT_EQ(g->Cells(1, 0), "Two");
  C(1)->SetHeader("Zwei");
  EXPECT_EQ(g->Cells(1, 0), "Zwei");
  EXPECT_EQ(g->ColumnHeaders()->Strings(1), "Zwei");
  EXPECT_EQ(g->ColumnHeaders()->Count(), 3);
}

TEST_F(ColumnGridTest, HiddenColumnsKeepTheirColumnObjects) {
  TGridColumnItem* middle = C(1);
  g->HideColumn(1);
  EXPECT_EQ(g->ColCount(), 2);
  EXPECT_EQ(g->Columns()->Count(), 3);
  C(0)->SetColor(plat::clAqua);  // the collection's update must not add or remove columns now
  EXPECT_EQ(g->Columns()->Count(), 3);
  EXPECT_EQ(g->ColCount(), 2);
  g->UnHideColumn(1);
  EXPECT_EQ(C(1), middle);
  EXPECT_EQ(g->ColCount(), 3);
}

TEST_F(ColumnGridTest, InsertRemoveAndMoveKeepOneColumnPerRealColumn) {
  for (int i = 0; i < 3; ++i) C(i)->Name = QString("c%1").arg(i);
  C(0)->ColumnPopupType = cpAllCellsLClick;
  g->InsertCols(1, 2);
  ASSERT_EQ(g->Columns()->Count(), 5);
  EXPECT_EQ(C(0)->Name, "c0");
  EXPECT_EQ(C(1)->Name, "");
  EXPECT_EQ(C(3)->Name, "c1");
  g->RemoveCols(1, 2);
  ASSERT_EQ(g->Columns()->Count(), 3);
  EXPECT_EQ(C(1)->Name, "c1");
  std::vector<int> moved;
  g->OnAfterColumnMoved = [&](plat::TObject*, int f, int t) { moved = {f, t}; };
  g->MoveColumn(0, 2);
  EXPECT_EQ(moved, (std::vector<int>{0, 2}));
  EXPECT_EQ(C(0)->Name, "c1");
  EXPECT_EQ(C(2)->Name, "c0");
  EXPECT_EQ(C(2)->ColumnPopupType, cpAllCellsLClick);  // every setting travels with its column
}

TEST_F(ColumnGridTest, DataCheckBoxColumnsHandOutTheSharedVirtualCheckBox) {
  C(1)->SetEditor(edDataCheckBox);
  EXPECT_EQ(g->GetCellType(1, 2), ctDataCheckBox);
  EXPECT_EQ(g->GetCellType(1, 0), ctEmpty);  // header row
  EXPECT_EQ(g->GetCellType(0, 2), ctEmpty);
  TCellGraphic* a = g->GetCellGraphic(1, 2);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->CellType, ctVirtCheckBox);
  EXPECT_TRUE(a->Shared());
  EXPECT_EQ(g->GetCellGraphic(1, 3), a);
  EXPECT_EQ(g->GetCellGraphic(0, 2), nullptr);
}

TEST_F(ColumnGridTest, CellColoursAlignmentAndTextsComeFromTheColumn) {
  C(1)->SetColor(plat::clYellow);
  C(1)->Font()->SetColor(plat::clBlue);
  C(1)->HeaderFont()->SetColor(plat::clMaroon);
  C(2)->SetFixed(true);
  C(1)->SetAlignment(plat::taCenter);
  C(1)->CheckTrue = "on";
  plat::TBrush brush;
  plat::TFont font;
  brush.SetColor(plat::clWhite);
  g->DoGetCellColor(1, 2, {}, &brush, &font);
  EXPECT_EQ(brush.Color(), plat::clYellow);
  EXPECT_EQ(font.Color(), plat::clBlue);
  g->DoGetCellColor(1, 0, {}, &brush, &font);
  EXPECT_EQ(font.Color(), plat::clMaroon);
  g->DoGetCellColor(2, 2, {}, &brush, &font);
  EXPECT_EQ(brush.Color(), g->FixedColor());
  g->SetColors(1, 3, plat::clLime);
  g->DoGetCellColor(1, 3, {}, &brush, &font);
  EXPECT_EQ(brush.Color(), plat::clLime);
  plat::TAlignment ha = plat::taLeftJustify;
  TVAlignment va = vtaTop;
  g->DoGetAlignment(1, 2, ha, va);
  EXPECT_EQ(ha, plat::taCenter);
  QString t;
  g->GetCheckTrue(1, 2, t);
  EXPECT_EQ(t, "on");
  g->GetCheckTrue(1, 0, t);
  EXPECT_EQ(t, "Y");
  EXPECT_EQ(g->GetVersionString(), "3.1.3.1 Aug, 2012");
}

TEST_F(ColumnGridTest, ColumnSizeLimitsApplyToUserAndAutoSizing) {
  C(0)->MinSize = 30;
  C(0)->MaxSize = 90;
  C(0)->AutoMaxSize = 60;
  struct Case { bool autoSize; int in, out; } cases[] = {{false, 10, 30}, {false, 100, 90}, {false, 50, 50},
                                                          {true, 100, 60}, {true, 10, 10}};
  for (const Case& c : cases) {
    int w = c.in;
    c.autoSize ? g->UpdateAutoColSize(0, w) : g->UpdateColSize(0, w);
    EXPECT_EQ(w, c.out) << c.autoSize << " " << c.in;
  }
}

TEST_F(ColumnGridTest, TheCollectionRoundTripsThroughAStream) {
  C(0)->SetHeader("Register");
  C(1)->SetWidth(77);
  C(1)->SetEditor(edComboList);
  C(1)->ComboItems()->SetCommaText("a,b");
  C(2)->ReadOnly = true;
  C(2)->SetColor(plat::clInfoBk);
  C(2)->Font()->SetStyle(plat::TFontStyles{plat::fsBold});
  plat::TMemoryStream st;
  g->SaveColumnsToStream(st);
  st.SetPosition(0);

  TExtColumnGrid other(form.get());
  other.SetFixedRows(1);
  other.SetColCount(5);
  other.LoadColumnsFromStream(st);
  EXPECT_EQ(st.Position(), st.Size());
  EXPECT_EQ(other.ColCount(), 3);
  ASSERT_EQ(other.Columns()->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(other.Columns()->Items(i)->ToRecord(), C(i)->ToRecord()) << i;
  EXPECT_EQ(other.ColWidths(1), 77);
  EXPECT_EQ(other.ColumnHeaders()->Strings(0), "Register");
}

TEST_F(ColumnGridTest, ARefusedStreamChangesNothing) {
  C(1)->SetColor(plat::clYellow);
  plat::TMemoryStream good;
  g->SaveColumnsToStream(good);
  const QByteArray bytes(good.Memory(), static_cast<qsizetype>(good.Size()));
  const std::vector<TColumnRecord> before = Records();
  for (const QByteArray& bad : {bytes.left(bytes.size() - 1), bytes.left(10), QByteArray("TPF0 some other stream"),
                                QByteArray()}) {
    plat::TMemoryStream st(bad);
    st.SetPosition(0);
    try {
      g->LoadColumnsFromStream(st);
      ADD_FAILURE() << "accepted " << bad.size() << " bytes";
    } catch (const plat::EReadError& e) {
      EXPECT_TRUE(e.Message().startsWith("Not a column stream")) << e.Message().toStdString();
    }
    EXPECT_EQ(st.Position(), 0);
    EXPECT_EQ(Records(), before);
    EXPECT_EQ(g->ColCount(), 3);
  }
}

TEST_F(ColumnGridTest, ColumnPositionsSavedAfterAMoveRestoreTheOrder) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("cols.ini");
  for (int i = 0; i < 3; ++i) C(i)->Name = QString("c%1").arg(i);
  g->Columns()->SetOrganization();
  g->MoveColumn(0, 2);
  g->SaveColumnPositions(ini, "Grid");
  plat::TIniFile file(ini);
  EXPECT_EQ(file.ReadInteger("Grid", "CP0", -1), 1);
  EXPECT_EQ(file.ReadInteger("Grid", "CP1", -1), 2);
  EXPECT_EQ(file.ReadInteger("Grid", "CP2", -1), 0);

  TExtColumnGrid fresh(form.get());
  fresh.SetColCount(3);
  for (int i = 0; i < 3; ++i) fresh.Columns()->Items(i)->Name = QString("c%1").arg(i);
  fresh.Columns()->SetOrganization();
  fresh.LoadColumnPositions(ini, "Grid");
  EXPECT_EQ(fresh.Columns()->Items(0)->Name, "c1");
  EXPECT_EQ(fresh.Columns()->Items(1)->Name, "c2");
  EXPECT_EQ(fresh.Columns()->Items(2)->Name, "c0");
  EXPECT_EQ(fresh.Columns()->Items(2)->DefIdx, 0);

  // Keys that are no permutation of the columns change nothing.
  for (const char* values : {"0,0,1", "0,1,7", "0,1,-1"}) {
    const QStringList v = QString(values).split(',');
    plat::TIniFile bad(dir.filePath("bad.ini"));
    for (int i = 0; i < 3; ++i) bad.WriteString("Grid", QString("CP%1").arg(i), v[i]);
    bad.UpdateFile();
    fresh.LoadColumnPositions(dir.filePath("bad.ini"), "Grid");
    EXPECT_EQ(fresh.Columns()->Items(0)->Name, "c1") << values;
    EXPECT_EQ(fresh.Columns()->Items(2)->Name, "c0") << values;
  }
}

// The grid's own save and load of the column order reach the INI file only when ColumnSize names one.
TEST_F(ColumnGridTest, ColPositionsUseTheIniFileColumnSizeNames) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("order.ini");
  for (int i = 0; i < 3; ++i) C(i)->Name = QString("c%1").arg(i);
  g->Columns()->SetOrganization();
  g->MoveColumn(0, 2);
  g->ColumnSize()->Key = ini;
  g->ColumnSize()->Section = "Order";
  // The registry's stand-in takes relative key paths only: an absolute one is refused, the file not made.
  EXPECT_THROW(g->SaveColPositions(), plat::Exception);
  EXPECT_FALSE(QFile::exists(ini));
  g->ColumnSize()->Location = clIniFile;
  g->SaveColPositions();
  EXPECT_EQ(plat::TIniFile(ini).ReadInteger("Order", "CP2", -1), 0);

  TExtColumnGrid fresh(form.get());
  fresh.SetColCount(3);
  for (int i = 0; i < 3; ++i) fresh.Columns()->Items(i)->Name = QString("c%1").arg(i);
  fresh.Columns()->SetOrganization();
  fresh.ColumnSize()->Assign(g->ColumnSize());
  fresh.ColumnSize()->Location = clRegistry;
  EXPECT_THROW(fresh.LoadColPositions(), plat::Exception);
  EXPECT_EQ(fresh.Columns()->Items(0)->Name, "c0");
  fresh.ColumnSize()->Location = clIniFile;
  fresh.LoadColPositions();
  EXPECT_EQ(fresh.Columns()->Items(0)->Name, "c1");
  EXPECT_EQ(fresh.Columns()->Items(2)->Name, "c0");
}

// A column's combo list, drop-down length, spin range and edit link become the grid's when its editor is
// asked for; a link or menu that goes away is forgotten by the columns.
TEST_F(ColumnGridTest, TheColumnSetsUpTheGridsEditors) {
  C(1)->SetEditor(edSpinEdit);
  C(1)->SpinMin = -5;
  C(1)->SpinMax = 12;
  C(1)->SpinStep = 3;
  C(2)->SetEditor(edComboList);
  C(2)->ComboItems()->Add("one");
  C(2)->ComboItems()->Add("two");
  C(2)->DropDownCount = 4;
  auto* link = new TEditLink(form.get());
  auto* menu = new plat::TPopupMenu(form.get());
  C(2)->EditLink = link;
  C(2)->ColumnPopup = menu;
  TEditorType e = edNormal;
  g->GetCellEditorType(1, 2, e);
  EXPECT_EQ(e, edSpinEdit);
  ASSERT_NE(g->SpinEdit(), nullptr);
  EXPECT_EQ(g->SpinEdit()->MinValue, -5);
  EXPECT_EQ(g->SpinEdit()->MaxValue, 12);
  EXPECT_EQ(g->SpinEdit()->Increment, 3);
  EXPECT_EQ(g->EditLink(), nullptr);
  g->GetCellEditorType(2, 2, e);
  EXPECT_EQ(e, edComboList);
  EXPECT_EQ(g->ComboItems()->Count(), 2);
  EXPECT_EQ(g->ComboItems()->Strings(1), "two");
  EXPECT_EQ(g->ControlLook()->DropDownCount, 4);
  EXPECT_EQ(g->EditLink(), link);
  e = edNormal;
  g->GetCellEditorType(2, 0, e);  // header cells keep the grid's editor
  EXPECT_EQ(e, edNormal);
  g->SetEditLink(nullptr);
  delete link;
  delete menu;
  EXPECT_EQ(C(2)->EditLink, nullptr);
  EXPECT_EQ(C(2)->ColumnPopup, nullptr);
}

// Which presses open a column's menu: each popup type against the button and the kind of row pressed.
TEST_F(ColumnGridTest, ColumnMenusOpenForTheirButtonAndRows) {
  form->Show();
  plat::TPopupMenu menu(form.get());
  int shown = 0;
  const plat::TPopupMenuRunner old = plat::SetPopupMenuRunner([&](plat::TPopupMenu* m, int, int) -> plat::TMenuItem* {
    if (m == &menu) ++shown;
    return nullptr;
  });
  C(1)->ColumnPopup = &menu;
  int announced = 0;
  g->OnColumnPopup = [&](plat::TObject*, int ACol, int, plat::TPopupMenu* m) {
    EXPECT_EQ(ACol, 1);
    EXPECT_EQ(m, &menu);
    ++announced;
  };
  const auto press = [&](bool right, int row) {
    const plat::TRect r = g->CellRect(1, row);
    const plat::UINT down = right ? plat::WM_RBUTTONDOWN : plat::WM_LBUTTONDOWN;
    const plat::UINT up = right ? plat::WM_RBUTTONUP : plat::WM_LBUTTONUP;
    g->Perform(down, right ? plat::MK_RBUTTON : plat::MK_LBUTTON, plat::MakeLParam(r.Left + 5, r.Top + 5));
    g->Perform(up, 0, plat::MakeLParam(r.Left + 5, r.Top + 5));
  };
  struct Case { TColumnPopupType type; bool right; int row; int shown, announced; } cases[] = {
      {cpFixedCellsRClick, true, 0, 1, 1},  {cpFixedCellsRClick, true, 2, 0, 1}, {cpFixedCellsRClick, false, 0, 0, 0},
      {cpNormalCellsLClick, false, 2, 1, 1}, {cpNormalCellsLClick, false, 0, 0, 1}, {cpAllCellsRClick, true, 3, 1, 1},
  };
  for (const Case& c : cases) {
    shown = announced = 0;
    C(1)->ColumnPopupType = c.type;
    press(c.right, c.row);
    EXPECT_EQ(shown, c.shown) << c.type << " " << c.right << " " << c.row;
    EXPECT_EQ(announced, c.announced) << c.type << " " << c.right << " " << c.row;
  }
  plat::SetPopupMenuRunner(old);
}

TEST_F(ColumnGridTest, ScalingScalesTheColumnFonts) {
  C(0)->Font()->SetSize(10);
  C(0)->HeaderFont()->SetSize(8);
  g->ChangeScale(3, 2);
  EXPECT_EQ(C(0)->Font()->Size(), 15);
  EXPECT_EQ(C(0)->HeaderFont()->Size(), 12);
}

TEST_F(ColumnGridTest, ColumnByNameIsExact) {
  C(1)->Name = "Total";
  EXPECT_EQ(g->ColumnByName("Total"), C(1));
  EXPECT_EQ(g->ColumnByName("total"), nullptr);
  EXPECT_EQ(C(1)->DisplayName(), "Col 1: Total");
  EXPECT_EQ(C(0)->DisplayName(), "Column 0");
}

// A choice in a column's filter list writes the entry's condition into the grid's filter for the column, names
// the header with AutoFilterDisplay and applies the filter again through the data services' switch.
TEST_F(ColumnGridTest, AFilterChoiceBecomesTheColumnsCondition) {
  struct TFilteringGrid : TExtColumnGrid {
    using TExtColumnGrid::TExtColumnGrid;
    std::vector<bool> switched;
    void SetFilterActive(bool Value) override {
      switched.push_back(Value);
      TExtColumnGrid::SetFilterActive(Value);
    }
  };
  auto* f = new TFilteringGrid(form.get());
  f->SetColCount(3);
  f->SetRowCount(5);
  f->SetFixedRows(1);
  const char* values[] = {"150", "3", "200", "50"};
  for (int r = 1; r < 5; ++r) f->SetCells(1, r, values[r - 1]);
  f->Columns()->Items(1)->Filter()->Add("Big=>100");
  f->Columns()->Items(1)->Filter()->Add("<5");
  f->Columns()->Items(1)->FilterCaseSensitive = true;
  f->AutoFilterDisplay = true;
  std::vector<QString> events;
  f->OnFilterSelect = [&](plat::TObject*, int Col, int Item, QString Name, QString& Cond) {
    events.push_back(QString("%1 %2 %3 %4").arg(Col).arg(Item).arg(Name, Cond));
    if (Item == 1) Cond = "<6";
  };
  int done = 0;
  f->OnFilterDone = [&](plat::TObject*) { ++done; };

  f->SetRow(3);
  f->ApplyColumnFilter(1, 0);
  ASSERT_NE(f->Filter()->ColumnFilter(1), nullptr);
  EXPECT_EQ(f->Filter()->ColumnFilter(1)->Condition, ">100");
  EXPECT_TRUE(f->Filter()->ColumnFilter(1)->CaseSensitive);
  EXPECT_EQ(f->Columns()->Items(1)->Header(), "Big");
  EXPECT_EQ(f->Cells(1, 0), "Big");
  EXPECT_EQ(f->switched, (std::vector<bool>{false, true}));
  EXPECT_TRUE(f->FilterActive(1));
  EXPECT_FALSE(f->FilterActive(2));
  EXPECT_EQ(f->Row(), 1);
  EXPECT_EQ(f->RowCount(), 3);  // the rows of 3 and 50 are hidden
  EXPECT_EQ(done, 1);
  EXPECT_EQ(f->FilterColumn(), -1);

  f->AutoFilterUpdate = false;
  f->ApplyColumnFilter(1, 1);  // a bare condition is its own name; the handler changes it
  EXPECT_EQ(f->Filter()->ColumnFilter(1)->Condition, "<6");
  EXPECT_EQ(f->Filter()->Count(), 1);
  EXPECT_EQ(f->Columns()->Items(1)->Header(), "<5");
  EXPECT_EQ(done, 1);
  EXPECT_EQ(events, (std::vector<QString>{"1 0 Big >100", "1 1 <5 <5"}));

  // Entries that do not exist, and columns without a list, change nothing.
  f->ApplyColumnFilter(1, 2);
  f->ApplyColumnFilter(2, 0);
  f->ApplyColumnFilter(7, 0);
  EXPECT_EQ(f->Filter()->Count(), 1);
  EXPECT_EQ(events.size(), 2u);
}

}  // namespace
}  // namespace grid
