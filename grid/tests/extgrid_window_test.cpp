// The string grid's window side: what a parent brings (timer, wheel step), scroll bars kept in
// place by ScrollBarAlways, columns stretched or scaled with the grid's width, and references dropped when
// their components go.
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "controls/grid_check.h"
#include "controls/theme_services.h"
#include "grid/extgrid.h"
#include "grid/extgrid_unit.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/formatsettings.h"

namespace grid {
namespace {

struct GridWindow : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());

  GridWindow() {
    form->SetBounds(0, 0, 460, 320);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 300, 200);
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetDefaultRowHeight(20);
    for (int c = 0; c < 3; ++c) g->SetColWidths(c, 50 + 10 * c);
    form->Show();
    QApplication::processEvents();
  }
  bool Shown(int Bar) const { return g->ScrollBarVisible(Bar); }
  bool Enabled(int Bar) const { return g->ScrollBarEnabled(Bar); }
};

TEST_F(GridWindow, AParentCreatesTheWindowSide) {
  auto* loose = new TExtStringGrid(form.get());
  EXPECT_FALSE(loose->WindowCreated());
  EXPECT_FALSE(loose->KillTimer(TExtStringGrid::GridTimerId)) << "no timer without a window";
  EXPECT_TRUE(g->WindowCreated());
  EXPECT_EQ(g->Scrolling().WheelScroll, QApplication::wheelScrollLines());
  EXPECT_TRUE(g->KillTimer(TExtStringGrid::GridTimerId)) << "the grid timer runs from the window's creation";
}

// Which bars stand, and whether they take input, by ScrollBarAlways and by what fits.
TEST_F(GridWindow, ScrollBarAlwaysKeepsItsBarsGreyedWhereEverythingFits) {
  struct Case {
    TScrollBarAlways always;
    int rows;
    bool vShown, vEnabled, hShown;
  } cases[] = {
      {saNone, 4, false, true, false},  {saVert, 4, true, false, false}, {saHorz, 4, false, true, true},
      {saBoth, 4, true, false, true},   {saBoth, 40, true, true, true},  {saHorz, 40, true, true, true},
      {saNone, 40, true, true, false},
  };
  for (const Case& c : cases) {
    g->SetRowCount(c.rows);
    g->SetScrollBarAlways(c.always);
    SCOPED_TRACE(testing::Message() << "always " << c.always << ", rows " << c.rows);
    EXPECT_EQ(Shown(plat::SB_VERT), c.vShown);
    if (c.vShown) { EXPECT_EQ(Enabled(plat::SB_VERT), c.vEnabled); }
    EXPECT_EQ(Shown(plat::SB_HORZ), c.hShown);
    if (c.hShown) { EXPECT_FALSE(Enabled(plat::SB_HORZ)) << "all columns fit"; }
  }
  // The bar stays through later changes of the counts and sizes.
  g->SetScrollBarAlways(saVert);
  g->SetRowCount(3);
  g->SetBounds(0, 0, 320, 220);
  EXPECT_TRUE(Shown(plat::SB_VERT));
  EXPECT_FALSE(Enabled(plat::SB_VERT));
}

TEST_F(GridWindow, ScreenshotOfBarsKeptInPlace) {
  g->SetScrollBarAlways(saBoth);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) g->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
  QApplication::processEvents();
  const QImage img = g->Widget()->grab().toImage();
  EXPECT_TRUE(img.save(QStringLiteral(TEST_BINARY_DIR "/grid_scrollbars_always.png")));
  auto* v = g->Widget()->findChild<QScrollBar*>(QStringLiteral("VertScrollBar"));
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->isVisible());
  EXPECT_FALSE(v->isEnabled());
}

TEST_F(GridWindow, AResizeStretchesTheStretchColumnAndFiresOnResizeOnce) {
  int resized = 0;
  g->OnResize = [&](plat::TObject*) { ++resized; };
  g->ColumnSize()->SetStretch(true);
  g->SetBounds(0, 0, 400, 200);
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(g->ColWidths(2), g->ClientWidth() - 50 - 60 - 1);
  g->SetBounds(0, 0, 250, 200);
  EXPECT_EQ(g->ColWidths(2), g->ClientWidth() - 50 - 60 - 1);
  // A middle column may be the stretched one.
  g->ColumnSize()->StretchColumn = 1;
  g->SetBounds(0, 0, 380, 200);
  EXPECT_EQ(g->ColWidths(0) + g->ColWidths(1) + g->ColWidths(2), g->ClientWidth() - 1);
}

TEST_F(GridWindow, ScreenshotOfAStretchedLastColumn) {
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) g->SetCells(c, r, r == 0 ? QStringLiteral("Head %1").arg(c) : QStringLiteral("%1:%2").arg(c).arg(r));
  g->ColumnSize()->SetStretch(true);
  g->SetBounds(0, 0, 420, 120);
  QApplication::processEvents();
  EXPECT_EQ(g->ColWidths(2), g->ClientWidth() - 50 - 60 - 1);
  EXPECT_TRUE(g->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/grid_stretched_column.png")));
}

TEST_F(GridWindow, ColumnsFollowTheGridsWidthWithSynchWithGrid) {
  g->SetFixedCols(1);
  g->ColumnSize()->SynchWithGrid = true;
  g->InitOrigColSizes();
  const int w0 = g->SynchWidth();
  g->SetBounds(0, 0, 300 + w0 / 2, 200);
  const double f = double(g->SynchWidth()) / w0;
  for (int c = 0; c < 3; ++c) EXPECT_EQ(g->ColWidths(c), int((50 + 10 * c) * f)) << c;
  // Only the normal columns with SynchNormalCellsOnly; the widths come from the recorded ones each time.
  g->ColumnSize()->SynchNormalCellsOnly = true;
  g->SetBounds(0, 0, 300, 200);
  EXPECT_EQ(g->ColWidths(0), int(50 * f)) << "the fixed column keeps its width";
  EXPECT_EQ(g->ColWidths(1), 60);
  EXPECT_EQ(g->ColWidths(2), 70);
}

TEST_F(GridWindow, RemovedComponentsLeaveNoReference) {
  auto* images = new plat::TImageList(form.get());
  auto* checker = new controls::TExtStringGridCheck(form.get());
  auto* other = new TExtStringGrid(form.get());
  g->SetGridImages(images);
  g->SetCellChecker(checker);
  g->SyncGrid()->SetGrid(other);
  delete images;
  delete checker;
  delete other;
  EXPECT_EQ(g->GridImages(), nullptr);
  EXPECT_EQ(g->CellChecker, nullptr);
  EXPECT_EQ(g->SyncGrid()->Grid(), nullptr);
  g->SetRow(2);  // the synchronised grid is not reached
}

// The flat kinds give the window bars the grid's width; the normal kind the style's own.
TEST_F(GridWindow, FlatScrollBarsTakeTheScrollWidth) {
  g->SetRowCount(40);
  const int normal = g->Width() - g->ClientWidth();
  g->SetScrollType(ssFlat);
  g->SetScrollWidth(9);
  EXPECT_EQ(g->Width() - g->ClientWidth(), 9);
  g->SetScrollType(ssNormal);
  EXPECT_EQ(g->Width() - g->ClientWidth(), normal);
  g->SetScrollType(ssMetro);
  EXPECT_EQ(g->ScrollBars(), plat::ssNone);
  ASSERT_NE(g->VertScrollControl(), nullptr);
  g->SetScrollType(ssNormal);
  EXPECT_EQ(g->ScrollBars(), plat::ssBoth);
  EXPECT_EQ(g->VertScrollControl(), nullptr);
}

TEST_F(GridWindow, TheUnitStartsOnceWithItsRegistrations) {
  EXPECT_GE(ExtGridUnitStarts(), 1) << "every grid makes sure of the start";
  const QStringList& names = RegisteredGridClasses();
  EXPECT_EQ(names.size(), 28);
  EXPECT_TRUE(names.contains("TExtStringGrid"));
  EXPECT_TRUE(names.contains("TSearchPanel"));
  EXPECT_NE(GridEditDoneMessage(), 0u);
  EXPECT_EQ(GridClipboardFormat(), "TExtStringGrid Cells");
  EXPECT_EQ(GetDllFileVersion("COMCTL32.DLL"), (6 << 16) | 10);
  EXPECT_EQ(GetDllFileVersion("user32.dll"), -1);
  EXPECT_TRUE(ComCtrlOk());
  {
    plat::TPlatformFactsScope keep;
    plat::PlatformFacts().ComCtl32Major = 4;
    plat::PlatformFacts().ComCtl32Minor = 69;
    EXPECT_FALSE(ComCtrlOk()) << "4.69 itself is too old";
    plat::PlatformFacts().ComCtl32Minor = 70;
    EXPECT_TRUE(ComCtrlOk());
  }
  const plat::TFormatSettings keep = plat::FormatSettings;
  plat::FormatSettings.DecimalSeparator = u',';
  plat::FormatSettings.ShortTimeFormat = "hh.nn";
  EXPECT_EQ(GetDecimalSeparator(), u',');
  EXPECT_EQ(GetShortTimeFormat(), "hh.nn");
  plat::FormatSettings = keep;
}

// With AutoThemeAdapt the grid takes the Office theme now and whenever the theme notifier reports a change.
TEST_F(GridWindow, AutoThemeAdaptFollowsTheOfficeTheme) {
  using namespace controls;
  OfficeRegistry().Clear();
  g->SetAutoThemeAdapt(true);
  EXPECT_EQ(g->RenderSettings().Colors.OfficeTheme, ot2003Blue) << "no Office keys: the XP colour scheme";
  const QString key = "Software\\Microsoft\\Office\\14.0\\Common";
  OfficeRegistry().CreateKey(key + "\\General");
  OfficeRegistry().WriteInteger(key, "Theme", 3);
  SendThemeMessage(g, WM_OFFICETHEMECHANGE, 0, key);
  EXPECT_EQ(g->RenderSettings().Colors.OfficeTheme, ot2010Black);
  g->SetAutoThemeAdapt(false);
  OfficeRegistry().WriteInteger(key, "Theme", 2);
  SendThemeMessage(g, WM_OFFICETHEMECHANGE, 0, key);
  EXPECT_EQ(g->RenderSettings().Colors.OfficeTheme, ot2010Black) << "a grid that does not adapt keeps its look";
  OfficeRegistry().Clear();
}

TEST_F(GridWindow, ScreenToCellAndTheFooterRepaint) {
  int c = 0, r = 0;
  const plat::TRect cell = g->CellRect(1, 2);
  g->ScreenToCell(g->ClientToScreen({cell.Left + 3, cell.Top + 3}), c, r);
  EXPECT_EQ(c, 1);
  EXPECT_EQ(r, 2);
  g->ScreenToCell(g->ClientToScreen({290, 190}), c, r);
  EXPECT_EQ(c, -1);
  EXPECT_EQ(r, -1);
}

}  // namespace
}  // namespace grid
