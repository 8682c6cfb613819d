#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <set>

#include "grid/data/column_layout.h"
#include "grid/data/settings_store.h"
#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

// Columns as the grid keeps them: widths by real column, hidden flags, the recorded order; every change is
// counted so that a refused text can be seen to change nothing.
class TLayoutGrid : public TLayoutHost {
 public:
  explicit TLayoutGrid(int Cols) : FWidths(std::size_t(Cols), 64) {}

  int ColCount() const override { return AllColCount() - int(Hidden.size()); }
  int AllColCount() const override { return int(FWidths.size()); }
  void SetColCount(int Value) override { ++Changes, FWidths.resize(std::size_t(Value), Default); }
  int ColWidth(int ACol) const override { return FWidths[std::size_t(Real(ACol))]; }
  void SetColWidth(int ACol, int Value) override { ++Changes, FWidths[std::size_t(Real(ACol))] = Value; }
  int DefaultColWidth() const override { return Default; }
  void SetDefaultColWidth(int Value) override { ++Changes, Default = Value; }
  bool IsHiddenColumn(int ACol) const override { return Hidden.count(ACol) > 0; }
  void HideColumn(int ACol) override { ++Changes, Hidden.insert(ACol); }
  void UnHideColumnsAll() override { ++Changes, Hidden.clear(); }
  std::vector<int> ColumnOrder() const override { return Order; }
  void SetColumnOrderList(const std::vector<int>& O) override { ++Changes, Order = O; }
  void ResetColumnOrder() override { ++Changes, ++Resets; }
  bool Stretch() const override { return FStretch; }
  void SetStretch(bool Value) override { ++Changes, FStretch = Value; }
  int StretchColumn() const override { return -1; }

  std::set<int> Hidden;
  std::vector<int> Order;
  int Default = 64, Changes = 0, Resets = 0;
  bool FStretch = false;

 private:
  int Real(int ACol) const {
    for (int r = 0, d = 0; r < AllColCount(); ++r)
      if (!Hidden.count(r) && d++ == ACol) return r;
    return ACol;
  }
  std::vector<int> FWidths;
};

TEST(ColumnStates, AHiddenColumnTravelsInTheText) {
  TLayoutGrid g(4);
  g.SetColWidth(0, 10), g.SetColWidth(1, 20), g.SetColWidth(3, 40);
  g.HideColumn(2);
  const QString text = ColumnStatesText(ReadColumnStates(g));
  EXPECT_EQ(text, "4#10,20,40,64#0,1,2,3#1,1,0,1");

  TLayoutGrid fresh(4);
  ApplyColumnStates(fresh, text);
  EXPECT_EQ(fresh.Hidden, std::set<int>({2}));
  EXPECT_EQ(fresh.ColCount(), 3);
  EXPECT_EQ(fresh.ColWidth(0), 10);
  EXPECT_EQ(fresh.ColWidth(2), 40);  // the shown columns take the widths in turn
  EXPECT_EQ(fresh.Order, std::vector<int>({0, 1, 2, 3}));
}

TEST(ColumnStates, ABadTextChangesNothing) {
  const char* bad[] = {
      "x#1,2#0,1#1,1",       // count
      "2#1,y#0,1#1,1",       // width
      "3#1,2,3#0,0,1#1,1,1", // a column twice
      "3#1,2,3#0,1,7#1,1,1", // a column the grid does not have
      "2#1,2#0,1#1,2",       // state
      "-1###",
  };
  for (const char* text : bad) {
    TLayoutGrid g(3);
    g.HideColumn(1);
    g.Changes = 0;
    EXPECT_THROW(ApplyColumnStates(g, text), plat::EConvertError) << text;
    EXPECT_EQ(g.Changes, 0) << text;
    EXPECT_EQ(g.Hidden, std::set<int>({1})) << text;
  }
  TLayoutGrid g(3);
  ApplyColumnStates(g, "no separator");
  EXPECT_EQ(g.Changes, 0);
}

TEST(ColumnStates, PermutationsAndTheirInverse) {
  EXPECT_TRUE(IsColumnPermutation({2, 0, 1, 3}, 4));
  EXPECT_FALSE(IsColumnPermutation({2, 0, 1}, 4));
  EXPECT_FALSE(IsColumnPermutation({2, 0, 0, 3}, 4));
  EXPECT_FALSE(IsColumnPermutation({2, 0, 1, 4}, 4));
  EXPECT_EQ(InverseOrder({2, 0, 1, 3}, 4), std::vector<int>({1, 2, 0, 3}));
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    ASSERT_TRUE(dir.isValid());
  }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(SettingsStoreTest, KeyPathsStayInsideTheTree) {
  const QString root = TSettingsStore::RegistryRoot();
  EXPECT_EQ(TSettingsStore::RegistryFile("Software\\Maker\\Grid"), root + "/Software/Maker/Grid.ini");
  for (const char* key : {"..\\evil", "Software/../../x", "/etc/passwd", "C:\\x", "", "a\\\\b", "a/./b"})
    EXPECT_THROW(TSettingsStore::RegistryFile(key), plat::Exception) << key;
}

TEST_F(SettingsStoreTest, WidthsAndOrderRoundTripThroughAnIniFile) {
  TLayoutGrid g(3);
  g.SetColWidth(0, 11), g.SetColWidth(1, 22), g.SetColWidth(2, 33);
  g.Order = {2, 0, 1};
  {
    TSettingsStore ini(slIniFile, Path("cols.ini"));
    SaveColSizes(g, ini, "Grid");
    SaveColPositions(g, ini, "Grid");
  }
  TLayoutGrid h(3);
  TSettingsStore ini(slIniFile, Path("cols.ini"));
  LoadColSizes(h, ini, "Grid");
  LoadColPositions(h, ini, "Grid");
  EXPECT_EQ(h.ColWidth(0), 11);
  EXPECT_EQ(h.ColWidth(2), 33);
  EXPECT_EQ(h.Order, std::vector<int>({2, 0, 1}));
  EXPECT_EQ(h.Resets, 1);
}

TEST_F(SettingsStoreTest, LoadingKeepsWhatIsMissingAndNeverWrites) {
  QFile f(Path("part.ini"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[Grid]\nCol1=99\nPos0=1\nPos1=1\nPos2=0\n");
  f.close();
  const QDateTime before = QFileInfo(f).lastModified();
  const QByteArray content = [&] { QFile r(Path("part.ini")); r.open(QIODevice::ReadOnly); return r.readAll(); }();

  TLayoutGrid g(3);
  TSettingsStore ini(slIniFile, Path("part.ini"));
  g.Changes = 0;
  LoadColSizes(g, ini, "Grid");
  EXPECT_EQ(g.ColWidth(0), 64);
  EXPECT_EQ(g.ColWidth(1), 99);
  g.Changes = 0;
  LoadColPositions(g, ini, "Grid");  // 1, 1, 0 is no order of three columns
  EXPECT_EQ(g.Changes, 0);
  ini.Flush();

  QFile r(Path("part.ini"));
  ASSERT_TRUE(r.open(QIODevice::ReadOnly));
  EXPECT_EQ(r.readAll(), content);
  EXPECT_EQ(QFileInfo(r).lastModified(), before);
  // A store that was only read does not create its file either.
  TSettingsStore missing(slIniFile, Path("none.ini"));
  LoadColSizes(g, missing, "Grid");
  missing.Flush();
  EXPECT_FALSE(QFile::exists(Path("none.ini")));
}

TEST_F(SettingsStoreTest, TheRegistryStandInWritesOneFilePerKey) {
  TLayoutGrid g(2);
  g.SetColWidth(1, 77);
  const QString key = "Grid" + QString::number(QCoreApplication::applicationPid()) + "\\Layout";
  TSettingsStore reg(slRegistry, key);
  SaveColSizes(g, reg, "Columns");
  EXPECT_TRUE(QFile::exists(reg.FileName()));
  TLayoutGrid h(2);
  LoadColSizes(h, TSettingsStore(slRegistry, key), "Columns");
  EXPECT_EQ(h.ColWidth(1), 77);
  QDir(QFileInfo(reg.FileName()).absolutePath()).removeRecursively();
}

}  // namespace
}  // namespace grid
