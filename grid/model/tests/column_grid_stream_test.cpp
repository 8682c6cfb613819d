// The column collection's stored form: round trips, refusals of truncated and foreign streams, and a
// deterministic mutation loop in which every accepted stream must be exactly what writing its columns gives.
#include "grid/model/column_grid_stream.h"

#include <gtest/gtest.h>

#include <random>

namespace grid {
namespace {

std::vector<TColumnRecord> SampleColumns() {
  TColumnRecord plain;
  TColumnRecord full;
  full.Width = 123;
  full.Alignment = 2;
  full.Header = QStringLiteral("Zählerstand \u20AC");
  full.SortStyle = kMaxSortStyle;
  full.SortPrefix = "<";
  full.SortSuffix = ">";
  full.EditMask = "!99/99/00;1;_";
  full.EditLength = -7;
  full.Font = {QStringLiteral("DejaVu Sans"), -13, 0xFF0000, 0x0F, 0, 2};
  full.Color = 0x1FFFFFFF;
  full.Editor = kMaxEditor;
  full.Fixed = full.ReadOnly = full.Password = full.ShowBands = full.FilterCaseSensitive = true;
  full.ComboItems = {"a", "", QStringLiteral("long item with = sign")};
  full.DropDownCount = 20;
  full.SpinMin = INT32_MIN;
  full.SpinMax = INT32_MAX;
  full.SpinStep = 5;
  full.PrintFont.Name = "Courier";
  full.PrintColor = 0x80000005;
  full.Borders = 0x0F;
  full.BorderPen = {3, 0x123456, kMaxPenStyle};
  full.PrintBorders = 0;
  full.Tag = 42;
  full.Name = "total";
  full.CheckFalse = "no";
  full.CheckTrue = "yes";
  full.Filter = {"Big=>100", "<0"};
  full.MaxSize = 300;
  full.MinSize = 20;
  full.AutoMinSize = 30;
  full.AutoMaxSize = 200;
  full.ColumnPopupType = kMaxPopupType;
  full.FloatFormat = "%.3f";
  full.HeaderAlignment = 1;
  full.HeaderFont.Style = 1;
  full.PrintBorderCustom = full.PrintFontCustom = false;
  return {plain, full, plain};
}

TEST(ColumnStream, RoundTripsEveryField) {
  for (const std::vector<TColumnRecord>& cols : {std::vector<TColumnRecord>{}, SampleColumns()}) {
    const QByteArray bytes = WriteColumnStream(cols);
    std::vector<TColumnRecord> back{TColumnRecord{}};
    qsizetype used = -1;
    QString error;
    ASSERT_TRUE(ReadColumnStream(bytes, back, used, error)) << error.toStdString();
    EXPECT_EQ(back, cols);
    EXPECT_EQ(used, bytes.size());
  }
}

TEST(ColumnStream, StopsAtItsOwnEndSoMoreDataMayFollow) {
  const QByteArray bytes = WriteColumnStream(SampleColumns());
  std::vector<TColumnRecord> back;
  qsizetype used = 0;
  QString error;
  ASSERT_TRUE(ReadColumnStream(bytes + "trailing data", back, used, error));
  EXPECT_EQ(used, bytes.size());
}

TEST(ColumnStream, RefusesEveryTruncation) {
  const QByteArray bytes = WriteColumnStream(SampleColumns());
  const std::vector<TColumnRecord> before{TColumnRecord{}};
  for (qsizetype n = 0; n < bytes.size(); ++n) {
    std::vector<TColumnRecord> cols = before;
    qsizetype used = -1;
    QString error;
    EXPECT_FALSE(ReadColumnStream(bytes.left(n), cols, used, error)) << n;
    EXPECT_TRUE(error.startsWith("Not a column stream: ")) << n;
    EXPECT_EQ(cols, before) << n;
    EXPECT_EQ(used, -1) << n;
  }
}

// Byte patches on a stream of one plain column and what the reader says about each.
TEST(ColumnStream, RefusesForeignAndDamagedStreams) {
  const QByteArray good = WriteColumnStream({TColumnRecord{}});
  const auto patched = [&](qsizetype at, QByteArray with) { return good.left(at) + with + good.mid(at + with.size()); };
  const qsizetype record = 14 + 4 + 4;  // header, column count, record length
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* message;
  } cases[] = {
      {"empty", QByteArray(), "ends inside its header"},
      {"other program's stream", QByteArray("TPF0\x10TExtColumnGridIO\x00\x00", 22), "unknown header"},
      {"text file", QByteArray("Width=50\r\nHeader=a\r\n"), "unknown header"},
      {"magic in lower case", patched(0, "xcolgrid"), "unknown header"},
      {"newer version", patched(8, QByteArray("\x02\x00", 2)), "version 2 is not supported"},
      {"payload longer than the data", patched(10, QByteArray("\xFF\x00\x00\x00", 4)), "ends inside its columns"},
      {"payload shorter than its columns", patched(10, QByteArray("\x08\x00\x00\x00", 4)), "longer than the stream"},
      {"huge column count", patched(14, QByteArray("\xFF\xFF\xFF\x7F", 4)), "larger than the stream"},
      {"record length too small", patched(18, QByteArray("\x05\x00\x00\x00", 4)), "does not match its length"},
      {"alignment 3", patched(record + 4, QByteArray("\x03", 1)), "Alignment out of range (3)"},
      {"header length beyond the end", patched(record + 5, QByteArray("\xFF\xFF\xFF\xFF", 4)), "Header longer"},
      {"sort style 20", patched(record + 9, QByteArray("\x14", 1)), "SortStyle out of range"},
  };
  for (const Case& c : cases) {
    std::vector<TColumnRecord> cols;
    qsizetype used = 0;
    QString error;
    EXPECT_FALSE(ReadColumnStream(c.bytes, cols, used, error)) << c.name;
    EXPECT_TRUE(error.contains(QLatin1String(c.message))) << c.name << ": " << error.toStdString();
    EXPECT_TRUE(cols.empty()) << c.name;
  }
}

// Sizes go into the int arithmetic of layouts and painting: the reader takes them up to their bounds and refuses
// anything beyond, as it refuses an ordinal out of range.
TEST(ColumnStream, BoundsEverySize) {
  struct Case {
    const char* name;
    void (*set)(TColumnRecord&);
    const char* message;  // nullptr: taken
  } cases[] = {
      {"widest column", [](TColumnRecord& c) { c.Width = kMaxColumnPixels; }, nullptr},
      {"width 2^30", [](TColumnRecord& c) { c.Width = 0x40000000; }, "Width out of range (1073741824)"},
      {"negative width", [](TColumnRecord& c) { c.Width = -1; }, "Width out of range (-1)"},
      {"largest fonts", [](TColumnRecord& c) { c.Font.Height = -kMaxFontHeight, c.HeaderFont.Height = kMaxFontHeight; }, nullptr},
      {"font height", [](TColumnRecord& c) { c.PrintFont.Height = INT32_MAX; }, "PrintFont out of range"},
      {"pen width", [](TColumnRecord& c) { c.BorderPen.Width = kMaxPenWidth + 1; }, "BorderPen out of range"},
      {"drop-down count", [](TColumnRecord& c) { c.DropDownCount = 1 << 30; }, "DropDownCount out of range"},
      {"no size limit", [](TColumnRecord& c) { c.MaxSize = c.MinSize = INT32_MIN; }, nullptr},
      {"size limit", [](TColumnRecord& c) { c.AutoMaxSize = kMaxColumnPixels + 1; }, "AutoMaxSize out of range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TColumnRecord r;
    c.set(r);
    std::vector<TColumnRecord> cols;
    qsizetype used = 0;
    QString error;
    EXPECT_EQ(ReadColumnStream(WriteColumnStream({TColumnRecord{}, r}), cols, used, error), c.message == nullptr);
    if (c.message) {
      EXPECT_TRUE(error.contains(QLatin1String(c.message))) << error.toStdString();
      EXPECT_TRUE(cols.empty());
    } else {
      EXPECT_EQ(cols, (std::vector<TColumnRecord>{TColumnRecord{}, r}));
    }
  }
}

// The layout is canonical (exact lengths, booleans 0 or 1, checked ordinals), so any stream the reader takes
// must be byte for byte what the writer makes of the columns it read.
TEST(ColumnStream, MutatedStreamsAreRefusedOrCanonical) {
  const QByteArray good = WriteColumnStream(SampleColumns());
  std::mt19937 rng(2718);
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    QByteArray b = good;
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      const qsizetype at = static_cast<qsizetype>(rng() % static_cast<std::uint32_t>(b.size() + 1));
      switch (rng() % 4) {
        case 0: if (at < b.size()) b[at] = static_cast<char>(rng()); break;
        case 1: if (at < b.size()) b[at] = static_cast<char>(b[at] ^ (1 << (rng() % 8))); break;
        case 2: b.insert(at, static_cast<char>(rng())); break;
        default: b.remove(at, 1 + static_cast<qsizetype>(rng() % 8)); break;
      }
    }
    std::vector<TColumnRecord> cols;
    qsizetype used = 0;
    QString error;
    if (!ReadColumnStream(b, cols, used, error)) {
      EXPECT_FALSE(error.isEmpty());
      continue;
    }
    ++accepted;
    ASSERT_EQ(WriteColumnStream(cols), b.left(used)) << "round " << round;
  }
  EXPECT_GT(accepted, 0);  // some mutations only change values, and those must read back as written
}

}  // namespace
}  // namespace grid
