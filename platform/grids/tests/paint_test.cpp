// The plain paint loop: what is drawn where, through the canvas tracer and the painted image.
#include <QDir>

#include <gtest/gtest.h>

#include "gridfixture.h"
#include "platform/testing/pixels.h"

using namespace gridtest;

namespace {

TEST(GridScreenshot, PlainStringGridWithSelectionAndEditor) {
  GridFixture f(360, 170);
  TTestGrid* g = f.grid;
  g->SetColCount(5);
  g->SetRowCount(8);
  g->SetOptions(g->Options() + TGridOptions{goEditing, goColSizing});
  for (int c = 0; c < 5; ++c) g->SetCells(c, 0, QString("Col %1").arg(c));
  for (int r = 1; r < 8; ++r) {
    g->SetCells(0, r, QString("Row %1").arg(r));
    for (int c = 1; c < 5; ++c) g->SetCells(c, r, QString("%1.%2").arg(r).arg(c));
  }
  g->SetColWidths(0, 50);
  g->SetSelection(TGridRect{1, 2, 3, 3});
  g->SetCol(2);
  g->SetRow(5);
  g->ShowEditor();
  QApplication::processEvents();
  const QImage img = f.form->Widget()->grab().toImage();
  const QString path = QDir(TEST_BINARY_DIR).filePath("stringgrid.png");
  ASSERT_TRUE(img.save(path));
  EXPECT_TRUE(g->InplaceEditor() && g->InplaceEditor()->Visible());
}

}  // namespace
