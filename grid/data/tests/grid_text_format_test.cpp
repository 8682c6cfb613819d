// The grid text format in its file and stream forms.

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include "grid/data/grid_text_format.h"
#include "grid/griderror.h"
#include "grid/data/tests/data_test_util.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

namespace grid {
namespace {

using testing::Fill;
using testing::ReadAll;
using testing::TScratch;
using testing::TTable;
using testing::WriteAll;

const QString Nul(1, QChar(0));

// Texts the format must carry: commas, line breaks, a tab, NUL and text outside ASCII.
const TTable Awkward = {
    {"plain", "a,b,,c", "line1\r\nline2"},
    {"", QString::fromUtf8("Z\u00e4hler \u20ac \U0001F600"), "tab\there"},
    {"lone\nLF", "nul" + Nul + "inside", " lead and trail "},
};

TEST(GridTextFile, RoundTripsAwkwardTextsInBothEncodings) {
  for (bool unicode : {false, true}) {
    TScratch dir;
    TDataGrid src;
    Fill(src, Awkward);
    src.SetColWidth(1, 123);
    SaveGridTextFile(src, dir.Path("g.txt"), unicode);
    const QByteArray bytes = ReadAll(dir.Path("g.txt"));
    EXPECT_EQ(bytes.startsWith("\xFF\xFE"), unicode);
    TDataGrid dst(1, 1);
    dst.Options.Multilinecells = true;
    LoadGridTextFile(dst, dir.Path("g.txt"));
    EXPECT_EQ(testing::Cells(dst), Awkward) << unicode;
    EXPECT_EQ(dst.ColWidth(1), 123);
    EXPECT_EQ(dst.CellsChangedCount, 1);
    EXPECT_EQ(dst.AllCellsChangedCount, 1);
  }
}

TEST(GridTextFile, WritesOneLinePerCellWithCodedLineBreaks) {
  TScratch dir;
  TDataGrid g;
  Fill(g, {{"x,y", "a\r\nb"}});
  SaveGridTextFile(g, dir.Path("g.txt"), false);
  EXPECT_EQ(ReadAll(dir.Path("g.txt")), QByteArray("2,1\r\ncw 0,64\r\ncw 1,64\r\n0,0,x,y\r\n1,0,a\t\bb\r\n"));
}

TEST(GridTextFile, WithoutMultilineCellsKeepsTheFirstLine) {
  TScratch dir;
  TDataGrid g;
  Fill(g, {{"a\r\nb"}});
  SaveGridTextFile(g, dir.Path("g.txt"), false);
  TDataGrid dst;
  LoadGridTextFile(dst, dir.Path("g.txt"));
  EXPECT_EQ(dst.GetGridCell(0, 0), "a");
}

TEST(GridTextFile, HiddenColumnsRaiseTheCountAndGetWidthLines) {
  TScratch dir;
  TDataGrid g(3, 2);
  g.HiddenColumns = 2;
  g.SetGridCell(4, 1, "hidden");
  g.Options.SaveHiddenCells = true;
  SaveGridTextFile(g, dir.Path("g.txt"), false);
  const QByteArray text = ReadAll(dir.Path("g.txt"));
  EXPECT_TRUE(text.startsWith("5,2\r\n")) << text.constData();
  EXPECT_TRUE(text.contains("cw 3,64\r\ncw 4,64\r\n"));
  EXPECT_TRUE(text.contains("4,1,hidden\r\n"));
}

TEST(GridTextFile, RefusesCorruptCountsAndSkipsCellsOutsideTheGrid) {
  TScratch dir;
  for (const char* bad : {"", "0,5\r\n", "3,0\r\n", "x\r\n", "-2,4\r\n", "99999999,1\r\n"}) {
    WriteAll(dir.Path("bad.txt"), bad);
    TDataGrid g;
    EXPECT_THROW(LoadGridTextFile(g, dir.Path("bad.txt")), EExtGridError) << bad;
  }
  WriteAll(dir.Path("g.txt"), "2,2\r\ncw 7,500\r\n1,1,in\r\n2,0,right\r\n0,2,below\r\n-1,0,left\r\nnonsense\r\n");
  TDataGrid g(1, 1);
  LoadGridTextFile(g, dir.Path("g.txt"));
  EXPECT_EQ(testing::Cells(g), (TTable{{"", ""}, {"", "in"}}));
  EXPECT_THROW(LoadGridTextFile(g, dir.Path("missing.txt")), plat::EFOpenError);
}

TEST(GridTextFile, CountsFollowTheFixedPartsNotSaved) {
  TScratch dir;
  WriteAll(dir.Path("g.txt"), "2,3\r\n");
  TDataGrid g;
  g.FixedColCount = 1, g.FixedRowCount = 1;
  g.Options.SaveFixedCells = false;
  LoadGridTextFile(g, dir.Path("g.txt"));
  EXPECT_EQ(g.ColCount(), 3);
  EXPECT_EQ(g.RowCount(), 4);
}

TEST(GridTextFile, ReportsProgressOnChangeWithoutRunningEvents) {
  TScratch dir;
  TDataGrid src(1, 400);
  for (int r = 0; r < 400; ++r) src.SetGridCell(0, r, "x");
  std::vector<int> saved;
  src.OnFileProgress = [&](int p) { saved.push_back(p); };
  SaveGridTextFile(src, dir.Path("g.txt"), false);
  ASSERT_EQ(saved.size(), 101u);
  EXPECT_EQ(saved.front(), 0);
  EXPECT_EQ(saved.back(), 100);

  // A queued event must not run while a load is in progress: it could free or reload the grid under it.
  bool ran = false, ranDuringLoad = false;
  QTimer::singleShot(0, [&] { ran = true; });
  TDataGrid dst;
  std::vector<int> loaded;
  dst.OnFileProgress = [&](int p) {
    loaded.push_back(p);
    ranDuringLoad = ranDuringLoad || ran;
  };
  LoadGridTextFile(dst, dir.Path("g.txt"));
  EXPECT_FALSE(ranDuringLoad);
  EXPECT_EQ(loaded.size(), 101u);
  QCoreApplication::processEvents();
  EXPECT_TRUE(ran);
}

TEST(GridTextFile, LeadingNumbersAreReadLeniently) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"12", 12},   {"  7", 7},   {"+5", 5},      {"-5", -5},  {"-5x", 5},
               {"$1F", 31},  {"0x10", 16}, {"X10", 16},    {"12abc", 12}, {"", 0},
               {"abc", 0},   {"99999999999", 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(GridTextFile, ExportNotificationsFrameTheRows) {
  TScratch dir;
  TDataGrid g(1, 3);
  g.FixedRowCount = 1;
  g.Options.SaveFixedCells = false;
  std::vector<std::pair<int, int>> log;
  g.OnExportNotification = [&](TGridExportState s, int r) { log.emplace_back(s, r); };
  SaveGridTextFile(g, dir.Path("g.txt"), false);
  EXPECT_EQ(log, (std::vector<std::pair<int, int>>{
                     {esExportStart, 1}, {esExportNextRow, 1}, {esExportNextRow, 2}, {esExportDone, -1}}));
}

// ---- stream form

TEST(GridTextStream, RoundTripsRelativeToTheSaveRange) {
  TDataGrid src;
  Fill(src, Awkward);
  src.FixedColCount = 1, src.FixedRowCount = 1;
  src.Options.SaveFixedCells = false;
  plat::TMemoryStream ms;
  SaveGridTextStream(src, ms);
  // UTF-16 units without a mark; the first line counts the save range only.
  EXPECT_TRUE(ms.Bytes().startsWith(QByteArray("2\0,\0" "2\0\r\0\n\0", 10)));
  TDataGrid dst(1, 1);
  dst.FixedColCount = 1, dst.FixedRowCount = 1;
  dst.Options.SaveFixedCells = false;
  dst.Options.Multilinecells = true;
  ms.SetPosition(0);
  LoadGridTextStream(dst, ms);
  EXPECT_EQ(dst.ColCount(), 3);
  EXPECT_EQ(dst.RowCount(), 3);
  for (int r = 1; r < 3; ++r)
    for (int c = 1; c < 3; ++c) EXPECT_EQ(dst.GetGridCell(c, r), Awkward[r][c]) << c << "," << r;
  EXPECT_EQ(dst.GetGridCell(0, 0), "");
}

QByteArray Utf16(const QString& S) { return QByteArray(reinterpret_cast<const char*>(S.utf16()), S.size() * 2); }

TEST(GridTextStream, StopsInFrontOfForeignDataAndLeavesTheStreamThere) {
  const QByteArray grid = Utf16("2,1\r\ncw 0,50\r\n0,0,a\r\n1,0,b,c\r\n");
  const QByteArray tail = Utf16("next,thing\r\nmore\r\n");
  plat::TMemoryStream ms(grid + tail);
  TDataGrid g;
  LoadGridTextStream(g, ms);
  EXPECT_EQ(testing::Cells(g), (TTable{{"a", "b,c"}}));
  EXPECT_EQ(g.ColWidth(0), 50);
  EXPECT_EQ(ms.Position(), grid.size());
}

TEST(GridTextStream, SkipsCellsOutsideTheGridAndRefusesBadNumbers) {
  plat::TMemoryStream ms(Utf16("1,1\r\n0,0,in\r\n5,0,out\r\n0,70000,out\r\ncw 9,10\r\n"));
  TDataGrid g;
  LoadGridTextStream(g, ms);
  EXPECT_EQ(testing::Cells(g), (TTable{{"in"}}));
  plat::TMemoryStream bad(Utf16("1,1\r\n0x,0,a\r\n"));
  EXPECT_THROW(LoadGridTextStream(g, bad), plat::EConvertError);
  plat::TMemoryStream negative(Utf16("-1,3\r\n"));
  EXPECT_THROW(LoadGridTextStream(g, negative), EExtGridError);
}

}  // namespace
}  // namespace grid
