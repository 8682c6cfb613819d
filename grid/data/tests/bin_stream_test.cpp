// The binary grid stream: placement, whole grids, properties and cell objects, and a reader that trusts nothing.

#include <gtest/gtest.h>

#include <random>

#include "grid/data/bin_records.h"
#include "grid/data/bin_stream.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"
#include "grid/model/cell_checks.h"
#include "grid/model/cell_graphic.h"
#include "grid/model/cell_objects.h"
#include "grid/model/intlist.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"

namespace grid {
namespace {

using testing::Fill;
using testing::TScratch;
using testing::TTable;

TTable Numbered(int Cols, int Rows) {
  TTable t(static_cast<size_t>(Rows));
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Cols; ++c) t[static_cast<size_t>(r)].push_back(QString("%1:%2").arg(c).arg(r));
  return t;
}

TEST(BinStream, ARectangleLandsWithItsFirstCellAtThePoint) {
  TDataGrid src;
  Fill(src, Numbered(6, 7));
  src.SetGridCell(3, 4, QString::fromUtf8("\u00e4,\r\n\"x\""));
  plat::TMemoryStream ms;
  SaveRectToBinStream(src, plat::TRect(2, 3, 4, 5), ms);
  TDataGrid dst(4, 4);
  ms.SetPosition(0);
  LoadAtPointFromBinStream(dst, plat::TPoint(0, 1), ms);
  EXPECT_EQ(ms.Position(), ms.Size());
  EXPECT_EQ(dst.GetGridCell(0, 1), "2:3");
  EXPECT_EQ(dst.GetGridCell(1, 2), QString::fromUtf8("\u00e4,\r\n\"x\""));
  EXPECT_EQ(dst.GetGridCell(2, 3), "4:5");
  EXPECT_EQ(dst.GetGridCell(0, 0), "");
  // The row beyond the grid's last row is passed over.
  EXPECT_EQ(dst.RowCount(), 4);
}

TEST(BinStream, AWholeGridRestoresCountsWidthsAndHeights) {
  TScratch dir;
  TDataGrid src;
  Fill(src, Numbered(3, 2));
  src.SetColWidth(2, 99);
  src.SetRowHeight(1, 40);
  SaveToBinFile(src, dir.Path("g.grd"));
  TDataGrid dst(9, 9);
  dst.SetGridCell(8, 8, "old");
  LoadFromBinFile(dst, dir.Path("g.grd"));
  EXPECT_EQ(testing::Cells(dst), Numbered(3, 2));
  EXPECT_EQ(dst.ColWidth(2), 99);
  EXPECT_EQ(dst.RowHeight(1), 40);
  EXPECT_EQ(dst.GetGridCell(8, 8), "");
}

TEST(BinStream, CarriesPropertiesMergesAndCellObjects) {
  TDataGrid src(4, 3);
  TCellProperties* p = src.GetCellProperties(1, 1);
  p->FontName = "Serif";
  p->FontSize = 13;
  p->FontStyle.Include(plat::fsItalic);
  p->SetBrushColor(0x123456);
  p->Alignment = plat::taRightJustify;
  src.MergeCells(2, 0, 2, 2);
  src.SetGridCell(2, 0, "merged");
  TCellChecks checks(src.CellObjects());
  checks.AddCheckBox(0, 2, true, false);
  plat::TStrings* radio = checks.CreateRadio(1, 2, 0, 1);
  radio->Add("one"), radio->Add("two");
  TCellGraphic* images = src.CreateCellGraphic(3, 2);
  auto* list = new TIntList(3, 2);
  list->Add(4), list->Add(7);
  images->SetMultiImage(list, 0, haLeft, vaTop);

  TDataGrid dst(4, 3);
  LoadBinBytesAtPoint(dst, plat::TPoint(0, 0), BinStreamOfRect(src, plat::TRect(0, 0, 3, 2)));
  const TCellProperties* q = dst.GetGridObject(1, 1);
  ASSERT_TRUE(q);
  EXPECT_EQ(q->FontName, "Serif");
  EXPECT_EQ(q->FontSize, 13);
  EXPECT_TRUE(q->FontStyle.Contains(plat::fsItalic));
  EXPECT_EQ(q->BrushColor(), 0x123456);
  EXPECT_EQ(q->Alignment, plat::taRightJustify);
  EXPECT_TRUE(dst.IsMergedNonBaseCell(3, 1));
  EXPECT_EQ(dst.Cells(3, 1), "merged");
  bool state = false;
  TCellChecks dstChecks(dst.CellObjects());
  EXPECT_TRUE(dstChecks.GetCheckBoxState(0, 2, state));
  EXPECT_TRUE(state);
  const TCellGraphic* r = dst.CellObjects().GetCellGraphic(1, 2);
  ASSERT_TRUE(r && r->CellType == ctRadio);
  const auto* items = dynamic_cast<const plat::TStrings*>(r->CellBitmap);
  ASSERT_TRUE(items);
  EXPECT_EQ(items->Count(), 2);
  EXPECT_EQ(items->Strings(1), "two");
  const TCellGraphic* im = dst.CellObjects().GetCellGraphic(3, 2);
  ASSERT_TRUE(im && im->CellType == ctImages);
  EXPECT_EQ(dynamic_cast<const TIntList*>(im->CellBitmap)->StrValue(), "4,7");
}

TEST(BinStream, WritesOnlyWhatTheFormatAddresses) {
  TDataGrid g(2, 70000);
  EXPECT_THROW(BinStreamOfRect(g, plat::TRect(0, 0, 1, 69999)), EExtGridError);
}

TEST(BinStream, NodeRowsAreRecountedAfterALoad) {
  TDataGrid src(2, 4);
  src.CreateCellGraphic(0, 1)->CellType = ctNode;
  src.CreateCellGraphic(0, 3)->CellType = ctNode;
  plat::TMemoryStream ms;
  SaveToBinStream(src, ms);
  ms.SetPosition(0);
  TDataGrid dst;
  LoadFromBinStream(dst, ms);
  EXPECT_EQ(dst.NodeCount(), 2);
}

// Every cut and every single-byte change of a real stream either loads or raises the grid's error, and never
// writes outside the grid (the sanitizer build checks the memory side).
TEST(BinStream, DamagedStreamsFailCleanly) {
  TDataGrid src;
  Fill(src, Numbered(3, 3));
  src.GetCellProperties(1, 1)->FontName = "x";
  const QByteArray good = BinStreamOfRect(src, plat::TRect(0, 0, 2, 2));
  for (qsizetype n = 0; n < good.size(); ++n) {
    TDataGrid dst(3, 3);
    try {
      LoadBinBytesAtPoint(dst, plat::TPoint(0, 0), good.left(n));
    } catch (const EExtGridError&) {
    }
  }
  std::mt19937 rnd(7);
  for (int i = 0; i < 3000; ++i) {
    QByteArray bad = good;
    bad[static_cast<qsizetype>(rnd() % static_cast<unsigned>(bad.size()))] = static_cast<char>(rnd());
    TDataGrid dst(3, 3);
    try {
      LoadBinBytesAtPoint(dst, plat::TPoint(1, 1), bad);
    } catch (const EExtGridError&) {
    } catch (const plat::EConvertError&) {
    }
    EXPECT_LE(dst.ColCount(), MaxBinCount);
    EXPECT_LE(dst.RowCount(), MaxBinCount);
  }
}

// A drop takes a stream only when all of it reads.
TEST(BinStream, ReadsWholeTellsTheRectangleOrRefuses) {
  TDataGrid src;
  Fill(src, Numbered(3, 2));
  const QByteArray good = BinStreamOfRect(src, plat::TRect(1, 0, 2, 1));
  int cols = 0, rows = 0;
  EXPECT_TRUE(BinStreamReads(good, cols, rows));
  EXPECT_EQ(cols, 2);
  EXPECT_EQ(rows, 2);
  EXPECT_FALSE(BinStreamReads(good.left(good.size() - 1), cols, rows));
  EXPECT_FALSE(BinStreamReads(QByteArray("\x03\0\0\0\0\0\0\0abc", 11), cols, rows));
}

TEST(BinStream, AWholeGridNeedsASizeForEveryColumnAndRow) {
  // A record claiming a huge grid with short size lists is refused before the grid changes.
  QByteArray bytes;
  {
    binrec::TRecordWriter w(bytes);
    w.Begin(binrec::rPropIO);
    w.Int32(60000), w.Int32(60000);
    w.String("1,2"), w.String("3");
    w.Bool(true), w.Int32(0);
  }
  TDataGrid g(2, 2);
  g.SetGridCell(1, 1, "kept");
  EXPECT_THROW(LoadBinBytesAtPoint(g, plat::TPoint(0, 0), bytes), EExtGridError);
  EXPECT_EQ(g.ColCount(), 2);
  EXPECT_EQ(g.GetGridCell(1, 1), "kept");
  // A string longer than the bytes left is refused, not allocated.
  QByteArray cell;
  {
    binrec::TRecordWriter w(cell);
    w.Begin(binrec::rPropIO);
    w.Int32(1), w.Int32(1), w.String(""), w.String(""), w.Bool(false), w.Int32(0);
    w.Begin(binrec::rCellIO);
    w.Word(0), w.Word(0);
  }
  cell.append("\xFF\xFF\xFF\x7F", 4);
  EXPECT_THROW(LoadBinBytesAtPoint(g, plat::TPoint(0, 0), cell), EExtGridError);
  EXPECT_THROW(LoadBinBytesAtPoint(g, plat::TPoint(0, 0), QByteArray("TPF0junk")), EExtGridError);
}

}  // namespace
}  // namespace grid
