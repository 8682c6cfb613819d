// The string grid's files and streams: the per-cell export and import operations, the number reading of a cell,
// and the services reached through the grid.

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "grid/extobj.h"

#include "grid/griderror.h"
#include "grid/input/tests/input_fixture.h"
#include "platform/rtl/streams.h"

namespace grid {
namespace {

using GridFiles = GridInput;

QString Saved(TExtStringGrid& G, int C, int R) {
  QString v;
  G.SaveCell(C, R, v);
  return v;
}

TEST_F(GridFiles, SaveCellGivesTheExportTextOfEachKindOfCell) {
  g->SetCells(1, 1, "");
  g->AddCheckBox(1, 1, true, false);
  g->SetCells(2, 1, "");
  g->AddCheckBox(2, 1, false, false);
  g->CheckTrue = "yes";
  EXPECT_EQ(Saved(*g, 1, 1), "yes");
  EXPECT_EQ(Saved(*g, 2, 1), "N");
  g->SetCells(1, 2, "<b>bold</b> text");
  EXPECT_EQ(Saved(*g, 1, 2), "<b>bold</b> text");
  g->SaveWithHTML = false;
  EXPECT_EQ(Saved(*g, 1, 2), "bold text");
  const QString rtf = "{\\rtf1\\ansi one\\par\r\ntwo}";
  g->SetCells(2, 2, rtf);
  EXPECT_EQ(Saved(*g, 2, 2), "one\r\ntwo");
  g->SaveWithRTF = true;
  EXPECT_EQ(Saved(*g, 2, 2), "{\\rtf1\\ansi one\\partwo}");
  g->OnSaveCell = [](plat::TObject*, int c, int r, QString& v) { v += QStringLiteral("@%1,%2").arg(c).arg(r); };
  EXPECT_EQ(Saved(*g, 3, 3), "3:3@3,3");
}

TEST_F(GridFiles, LoadCellStoresTheRawTextAfterTheEvent) {
  g->OnLoadCell = [](plat::TObject*, int, int, QString& v) { v = v.toUpper(); };
  g->LoadCell(2, 3, "abc");
  EXPECT_EQ(g->GridCells(2, 3), "ABC");
}

TEST_F(GridFiles, CellToRealReadsNumbersAndNamesWhereATextStops) {
  g->SetCells(1, 1, "1,234.5");
  EXPECT_DOUBLE_EQ(g->CellToReal(1, 1), 1234.5);
  g->SetCells(1, 2, "");
  EXPECT_DOUBLE_EQ(g->CellToReal(1, 2), 0);
  // The shared number normalisation ends the number at the first letter; what is left must convert whole.
  g->SetCells(1, 3, "12a3");
  EXPECT_DOUBLE_EQ(g->CellToReal(1, 3), 12);
  g->SetCells(1, 4, "12-3");
  try {
    g->CellToReal(1, 4);
    FAIL();
  } catch (const EExtGridError& e) {
    EXPECT_EQ(e.Message(), "Error at position: 3 in Cell [1, 4].");
  }
}

TEST_F(GridFiles, CsvAndStreamsGoThroughTheGridsCellsAndEvents) {
  QTemporaryDir dir;
  std::vector<int> progress;
  g->OnFileProgress = [&](plat::TObject*, int p) { progress.push_back(p); };
  g->SaveToCSV(dir.filePath("g.csv"));
  EXPECT_EQ(progress.back(), 100);
  auto* other = new TExtStringGrid(form.get());
  other->LoadFromCSV(dir.filePath("g.csv"));
  EXPECT_EQ(other->Cells(5, 7), "5:7");
  EXPECT_EQ(other->RowCount(), 8);

  plat::TMemoryStream ms;
  g->SaveToStream(ms);
  ms.SetPosition(0);
  auto* copy = new TExtStringGrid(form.get());
  copy->LoadFromStream(ms);
  EXPECT_EQ(copy->Cells(4, 6), "4:6");

  g->SetCells(2, 2, "merged");
  g->MergeCells(2, 2, 2, 1);
  plat::TMemoryStream bin;
  g->SaveRectToBinStream(plat::TRect(2, 2, 3, 3), bin);
  bin.SetPosition(0);
  copy->LoadAtPointFromBinStream(plat::TPoint(1, 1), bin);
  EXPECT_EQ(copy->Cells(1, 1), "merged");
  EXPECT_TRUE(copy->IsMergedNonBaseCell(2, 1));
  EXPECT_EQ(copy->Cells(2, 2), "3:3");
}

TEST_F(GridFiles, AssignCellsTakesTheSourcesTextStream) {
  auto* copy = new TExtStringGrid(form.get());
  copy->SetColCount(2);
  copy->SetRowCount(2);
  copy->SetCells(1, 1, "stale");
  copy->AssignCells(g);
  EXPECT_EQ(copy->ColCount(), 6);
  EXPECT_EQ(copy->RowCount(), 8);
  EXPECT_EQ(copy->Cells(1, 1), "1:1");
  EXPECT_EQ(copy->Cells(5, 7), "5:7");
  plat::TPicture notAGrid;
  copy->AssignCells(&notAGrid);
  EXPECT_EQ(copy->Cells(5, 7), "5:7");
}

TEST_F(GridFiles, BinaryLoadCountsTheNodeRows) {
  g->AddNode(2, 2);
  g->AddNode(5, 2);
  plat::TMemoryStream ms;
  g->SaveToBinStream(ms);
  ms.SetPosition(0);
  auto* copy = new TExtStringGrid(form.get());
  copy->LoadFromBinStream(ms);
  EXPECT_TRUE(copy->IsNode(2));
  EXPECT_EQ(copy->NumNodes(), 2);
}

// The pictures of cells travel in the binary stream: a picture, a bitmap and a file picture come back with
// their pixels, size and file.
TEST_F(GridFiles, CellPicturesSurviveTheBinaryStream) {
  QTemporaryDir dir;
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setPixel(2, 1, qRgb(200, 10, 30));
  ASSERT_TRUE(image.save(dir.filePath("p.png")));
  QFile file(dir.filePath("p.png"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray png = file.readAll();

  g->CreatePicture(1, 1, false, TStretchMode(0), 0, haLeft, vaTop)->LoadFromBytes(png);
  g->CreateBitmap(2, 1, false, haLeft, vaTop)->SetSize(4, 5);
  g->CreateFilePicture(3, 1, false, TStretchMode(0), 0, haLeft, vaTop)->SetFilename(dir.filePath("p.png"));
  plat::TMemoryStream ms;
  g->SaveToBinStream(ms);
  ms.SetPosition(0);
  auto* copy = new TExtStringGrid(form.get());
  copy->LoadFromBinStream(ms);

  plat::TPicture* p = copy->GetPicture(1, 1);
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->Graphic(), nullptr);
  EXPECT_EQ(p->Graphic()->ToImage().convertToFormat(QImage::Format_RGB32), image);
  EXPECT_EQ(copy->GetCellType(2, 1), ctBitmap);
  const auto* b = dynamic_cast<const plat::TBitmap*>(copy->GetCellGraphic(2, 1)->CellBitmap);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Width(), 4);
  EXPECT_EQ(b->Height(), 5);
  TFilePicture* f = copy->GetFilePicture(3, 1);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Filename(), dir.filePath("p.png"));
  EXPECT_EQ(f->Width(), 3);
}

TEST_F(GridFiles, HiddenColumnsAreSavedOnlyWhenAsked) {
  QTemporaryDir dir;
  g->HideColumn(2);
  g->SaveToCSV(dir.filePath("shown.csv"));
  g->SaveHiddenCells = true;
  g->SaveToCSV(dir.filePath("all.csv"));
  QFile shown(dir.filePath("shown.csv")), all(dir.filePath("all.csv"));
  ASSERT_TRUE(shown.open(QIODevice::ReadOnly) && all.open(QIODevice::ReadOnly));
  const QByteArray first = shown.readLine(), firstAll = all.readLine();
  EXPECT_EQ(first, "0:0,1:0,3:0,4:0,5:0\r\n");
  // Saved hidden columns are addressed by their real index, so the row comes out in its stored order.
  EXPECT_EQ(firstAll, "0:0,1:0,2:0,3:0,4:0,5:0\r\n");
}

}  // namespace
}  // namespace grid
