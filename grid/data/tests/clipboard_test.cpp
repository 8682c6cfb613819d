// The grid's clipboard over a window-free grid: the copied text, the text paste and its growth rules, the smart
// paste series, the cell format between grids, cut, undo and the HTML copy.

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "grid/data/clipboard.h"
#include "grid/data/clipboard_text.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"
#include "grid/model/undoredo.h"
#include "platform/rtl/formatsettings.h"

namespace grid {
namespace {

using testing::Cells;
using testing::Fill;
using testing::TTable;

// A grid whose cells of the last row carry a picture each.
class TPictureGrid : public TDataGrid {
 public:
  using TDataGrid::TDataGrid;
  void ExportCellPictures(int ACol, int ARow, QString& Text, TExportPictures& Pictures) override {
    (void)Text, (void)ACol;
    if (ARow == RowCount() - 1) Pictures.Jpegs << QByteArray("\xFF\xD8jpeg");
  }
};

// A host over a TDataGrid that logs the events and the paste hooks; Board stands for the system clipboard.
class TFakeHost : public TClipboardHost {
 public:
  explicit TFakeHost(TClipboardContent& Board, qint32 ID = 1) : FBoard(Board) {
    G.ID = ID;
    O.Editing = true;
    O.AllowClipboardRowGrow = O.AllowClipboardColGrow = false;
  }

  TGridDataHost& Data() override { return G; }
  TClipboardOptions ClipOptions() const override { return O; }
  plat::TRect Selection() const override { return Sel; }
  void SetSelection(plat::TRect R) override { Sel = R; }
  QString CellText(int ACol, int ARow) override { return G.GetGridCell(ACol, ARow); }
  void SetCellText(int ACol, int ARow, const QString& Value) override { G.SetGridCell(ACol, ARow, Value); }
  bool IsEditable(int ACol, int ARow) override { return !ReadOnly.count({ACol, ARow}); }
  QString StrippedCell(int ACol, int ARow) override {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return CellText(ACol, ARow).remove(tag);
  }
  void SetRowModified(int ARow) override { Modified.insert(ARow); }
  void InsertRows(int ARow, int Count) override {
    G.SetRowCount(G.RowCount() + Count);
    G.InsertStoreRows(ARow, Count);
  }
  bool RowSelected(int ARow) const override { return SelectedRows.count(ARow) > 0; }
  TExtGridUndoRedo* UndoRedo() override { return Undo; }
  void BeforePasteCell(int ACol, int ARow, QString& Value, bool& Allow, bool Wide) override {
    (void)Wide;
    Before.push_back({ACol, ARow});
    if (Refuse.count({ACol, ARow})) Allow = false;
    (void)Value;
  }
  void PasteCell(int ACol, int ARow, const QString& Value) override {
    Pasted.push_back({ACol, ARow});
    Clip.StorePastedCell(ACol, ARow, Value);
  }
  void PasteDone(plat::TPoint FromTopLeft, plat::TRect ToRect, TClipOperation Operation) override {
    Done.push_back({FromTopLeft, ToRect, Operation});
    Clip.MarkPastedRows(ToRect);
  }
  TClipboardContent ReadClipboard() override { return FBoard; }
  void WriteClipboard(const TClipboardContent& Content) override { FBoard = Content; }
  THTMLOptions HTMLOptions() override { return {}; }

  struct TDone {
    plat::TPoint From;
    plat::TRect To;
    TClipOperation Op;
  };
  TPictureGrid G{4, 4};
  TClipboardOptions O;
  plat::TRect Sel{0, 0, 0, 0};
  std::set<std::pair<int, int>> ReadOnly, Refuse;
  std::set<int> SelectedRows, Modified;
  std::vector<std::pair<int, int>> Before, Pasted;
  std::vector<TDone> Done;
  TExtGridUndoRedo* Undo = nullptr;
  TGridClipboard Clip{*this};

 private:
  TClipboardContent& FBoard;
};

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSaved = plat::FormatSettings;
    plat::FormatSettings.DecimalSeparator = u'.';
    plat::FormatSettings.DateSeparator = u'/';
    plat::FormatSettings.TimeSeparator = u':';
    plat::FormatSettings.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    plat::FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");
  }
  void TearDown() override { plat::FormatSettings = FSaved; }
  // Pastes Text into the selection R of a grid of Cols x Rows empty cells; answers the grid's cells.
  TTable SmartPaste(const QString& Text, plat::TRect R, int Cols, int Rows) {
    H.G.SetColCount(Cols);
    H.G.SetRowCount(Rows);
    H.O.AllowSmartClipboard = true;
    Board = {};
    Board.HasText = true;
    Board.Text = Text;
    H.Sel = R;
    H.Clip.PasteSelectionFromClipboard();
    return Cells(H.G);
  }
  plat::TFormatSettings FSaved;
  TClipboardContent Board;
  TFakeHost H{Board};
};

// ---------------------------------------------------------------- the copied text

TEST_F(ClipboardTest, SelectionTextJoinsFieldsByTabAndEndsRowsOfBlocks) {
  Fill(H.G, {{"a", "b", "x"}, {"c", "d", "y"}, {"x\r\ny", "<b>t</b>", "z"}});
  struct Case {
    plat::TRect R;
    const char* Text;
  } cases[] = {
      {{0, 0, 1, 1}, "a\tb\r\nc\td\r\n"},
      {{0, 0, 0, 0}, "a"},
      {{1, 0, 2, 0}, "b\tx"},
      {{0, 0, 0, 1}, "a\r\nc\r\n"},
      // CR becomes LF inside the quotes; the LF stays.
      {{0, 2, 0, 2}, "\"x\n\ny\""},
      {{1, 2, 1, 2}, "<b>t</b>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(H.Clip.SelectionText(c.R, false), QString::fromLatin1(c.Text)) << c.Text;
    EXPECT_EQ(H.Clip.ClipTopLeft(), plat::TPoint(c.R.Left, c.R.Top));
  }
}

TEST_F(ClipboardTest, SpreadsheetFormatQuotesStrippedMultiLineCellsWithCharacter11) {
  Fill(H.G, {{"<b>x</b>\r\ny"}});
  H.O.CopyHTMLTagsToClipboard = false;
  H.O.ExcelClipboardFormat = true;
  H.O.Multilinecells = true;
  EXPECT_EQ(H.Clip.SelectionText({0, 0, 0, 0}, false), QStringLiteral("\"x\x0By\""));
}

TEST_F(ClipboardTest, DisjunctCopyLeavesOutRowsThatAreNotSelected) {
  Fill(H.G, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
  H.O.DisjunctRowSelect = true;
  H.SelectedRows = {0, 2};
  H.Clip.CopySelectionToClipboard();
  EXPECT_EQ(Board.Text, QStringLiteral("a\tb\r\ne\tf\r\n"));
  EXPECT_EQ(H.Clip.LastOperation(), coCopy);
}

TEST_F(ClipboardTest, CopyOffersRichTextOfTheFirstCellAndTheCellsWhenAllowed) {
  Fill(H.G, {{"{\\rtf1 hi}", "b"}});
  H.Sel = {0, 0, 1, 0};
  H.Clip.CopySelectionToClipboard();
  EXPECT_FALSE(Board.HasRTF);
  EXPECT_FALSE(Board.HasCells);
  H.O.AllowRTFClipboard = H.O.AllowFmtClipboard = true;
  H.Clip.CopySelectionToClipboard();
  EXPECT_EQ(Board.RTF, QByteArray("{\\rtf1 hi}"));
  EXPECT_TRUE(Board.HasCells);
}

TEST(ClipboardTextSize, ColumnsAreTheWidestLineAndRowsTheBreaksLessEmptyLines) {
  struct Case {
    const char* Text;
    int Cols, Rows;
  } cases[] = {
      {"a", 1, 0},         {"a\tb\tc", 3, 0},         {"a\tb\r\nc\td\r\n", 2, 1},
      {"a\r\nb", 1, 1},    {"a\r\nb\tc\td\r\n", 3, 1}, {"a\nb\nc\n", 1, 2},
      {"", 1, 0},          {"\"x\ny\"\tz", 2, 0},
  };
  for (const Case& c : cases) {
    const TTextSize s = TextSize(QString::fromLatin1(c.Text));
    EXPECT_EQ(s.Cols, c.Cols) << c.Text;
    EXPECT_EQ(s.Rows, c.Rows) << c.Text;
  }
}

// ---------------------------------------------------------------- the text paste

TEST_F(ClipboardTest, TextPasteWritesNothingOutsideTheGridWithoutGrowth) {
  H.G.SetColCount(2);
  H.G.SetRowCount(2);
  int lines = 0, fields = 0;
  const int n = H.Clip.TextPaste(0, 0, QStringLiteral("a\tb\tc\r\nd\te\tf\r\ng\th\ti"), lines, fields);
  EXPECT_EQ(n, 9);
  EXPECT_EQ(Cells(H.G), (TTable{{"a", "b"}, {"d", "e"}}));
  EXPECT_EQ(H.G.ColCount(), 2);
  EXPECT_EQ(H.G.RowCount(), 2);
  for (const auto& [c, r] : H.Before) EXPECT_TRUE(c < 2 && r < 2) << c << "," << r;
  for (const auto& [c, r] : H.Pasted) EXPECT_TRUE(c < 2 && r < 2) << c << "," << r;
}

TEST_F(ClipboardTest, TextPasteGrowsTheGridToFitWhenAllowed) {
  H.G.SetColCount(2);
  H.G.SetRowCount(2);
  H.O.AllowClipboardColGrow = H.O.AllowClipboardRowGrow = true;
  int lines = 0, fields = 0;
  H.Clip.TextPaste(1, 1, QStringLiteral("a\tb\r\nc\td\r\n"), lines, fields);
  EXPECT_EQ(Cells(H.G), (TTable{{"", "", ""}, {"", "a", "b"}, {"", "c", "d"}}));
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(fields, 1);
  ASSERT_FALSE(H.Done.empty());
  EXPECT_EQ(H.Done.back().To, plat::TRect(1, 1, 2, 2));
}

TEST_F(ClipboardTest, TextPasteSkipsReadOnlyAndRefusedCellsAndNeedsEditing) {
  H.ReadOnly = {{1, 0}};
  H.Refuse = {{0, 1}};
  int lines = 0, fields = 0;
  H.Clip.TextPaste(0, 0, QStringLiteral("a\tb\r\nc\td"), lines, fields);
  EXPECT_EQ(Cells(H.G)[0][0], "a");
  EXPECT_EQ(Cells(H.G)[0][1], "");
  EXPECT_EQ(Cells(H.G)[1][0], "");
  EXPECT_EQ(Cells(H.G)[1][1], "d");
  H.O.Editing = false;
  EXPECT_EQ(H.Clip.TextPaste(2, 2, QStringLiteral("z"), lines, fields), 0);
  EXPECT_EQ(Cells(H.G)[2][2], "");
  H.O.AllowClipboardAlways = true;
  H.Clip.TextPaste(1, 0, QStringLiteral("z"), lines, fields);
  EXPECT_EQ(Cells(H.G)[0][1], "z");
}

TEST_F(ClipboardTest, PastedFieldsRoundTripMultiLineCells) {
  Fill(H.G, {{"x\r\ny", "<i>p</i>\r\nq"}, {"", ""}});
  H.O.ExcelClipboardFormat = H.O.Multilinecells = true;
  const QString text = H.Clip.SelectionText({0, 0, 1, 0}, false);
  int lines = 0, fields = 0;
  H.Clip.TextPaste(0, 1, text, lines, fields);
  EXPECT_EQ(lines, 1);
  EXPECT_EQ(H.G.GetGridCell(0, 1), QStringLiteral("x\n\ny"));
  EXPECT_EQ(H.G.GetGridCell(1, 1), QStringLiteral("<i>p</i>\n\nq"));
}

TEST_F(ClipboardTest, LinesEndingInLineFeedAloneArePastedAsRows) {
  int lines = 0, fields = 0;
  H.Clip.TextPaste(0, 0, QStringLiteral("a\tb\nc\td\n"), lines, fields);
  EXPECT_EQ(Cells(H.G)[0][1], "b");
  EXPECT_EQ(Cells(H.G)[1][0], "c");
}

TEST_F(ClipboardTest, InsertActionInsertsOneRowPerPastedLine) {
  Fill(H.G, {{"r0"}, {"r1"}, {"r2"}});
  H.O.ClipboardPasteAction = paInsert;
  int lines = 0, fields = 0;
  H.Clip.TextPaste(0, 1, QStringLiteral("a\r\nb\r\nc\r\n"), lines, fields);
  EXPECT_EQ(Cells(H.G), (TTable{{"r0"}, {"a"}, {"b"}, {"c"}, {"r1"}, {"r2"}}));
}

TEST_F(ClipboardTest, APasteIsUndoneInOneStep) {
  TExtGridUndoRedo undo(nullptr);
  undo.SetGrid(&H.G);
  H.Undo = &undo;
  Fill(H.G, {{"o1", "o2"}, {"o3", "o4"}});
  int lines = 0, fields = 0;
  H.Clip.TextPaste(0, 0, QStringLiteral("a\tb\r\nc\td\r\n"), lines, fields);
  EXPECT_EQ(Cells(H.G), (TTable{{"a", "b"}, {"c", "d"}}));
  undo.Undo();
  EXPECT_EQ(Cells(H.G), (TTable{{"o1", "o2"}, {"o3", "o4"}}));
  undo.Redo();
  EXPECT_EQ(Cells(H.G), (TTable{{"a", "b"}, {"c", "d"}}));
}

TEST_F(ClipboardTest, SetSelectionAsTextStoresRawAndGrowsButNeverPastTheGrid) {
  H.G.SetColCount(2);
  H.G.SetRowCount(2);
  H.ReadOnly = {{0, 0}};
  H.Sel = {0, 0, 0, 0};
  H.Clip.SetSelectionAsText(QStringLiteral("a\tb\tc\r\nd\r\ne"));
  EXPECT_EQ(Cells(H.G), (TTable{{"a", "b", "c"}, {"d", "", ""}, {"e", "", ""}}));
  EXPECT_TRUE(H.Before.empty());
}

// ---------------------------------------------------------------- smart paste

TEST_F(ClipboardTest, SmartPasteContinuesSeriesDownAColumnAndAlongARow) {
  struct Case {
    const char* Text;
    plat::TRect R;
    QStringList Want;
    const char* FloatFormat;
  } cases[] = {
      {"1\r\n3\r\n", {0, 0, 0, 4}, {"1", "3", "5", "7", "9"}, "%g"},
      {"10\r\n7\r\n", {0, 0, 0, 3}, {"10", "7", "4", "1"}, "%g"},
      {"1.5\r\n2.0\r\n", {0, 0, 0, 3}, {"1.5", "2.0", "2.5", "3.0"}, "%.1f"},
      {"15/01/2024\r\n15/02/2024\r\n", {0, 0, 0, 3}, {"15/01/2024", "15/02/2024", "15/03/2024", "15/04/2024"}, "%g"},
      {"30/12/2024\r\n31/12/2024\r\n", {0, 0, 0, 2}, {"30/12/2024", "31/12/2024", "01/01/2025"}, "%g"},
      {"10:00:00\r\n10:30:00\r\n", {0, 0, 0, 2}, {"10:00:00", "10:30:00", "11:00:00"}, "%g"},
      {"x\r\ny\r\n", {0, 0, 0, 4}, {"x", "y", "x", "y", "x"}, "%g"},
      {"1\t3", {0, 0, 4, 0}, {"1", "3", "5", "7", "9"}, "%g"},
      {"a\tb", {0, 0, 4, 0}, {"a", "b", "a", "b", "a"}, "%g"},
  };
  for (const Case& c : cases) {
    H.O.FloatFormat = QString::fromLatin1(c.FloatFormat);
    H.G.ClearCells();
    const TTable t = SmartPaste(QString::fromLatin1(c.Text), c.R, 5, 5);
    QStringList got;
    for (int i = 0; i < c.Want.size(); ++i) got << (c.R.Left == c.R.Right ? t[size_t(i)][0] : t[0][size_t(i)]);
    EXPECT_EQ(got, c.Want) << c.Text;
  }
}

TEST_F(ClipboardTest, SmartPasteSkipsReadOnlyCellsButTheSeriesStillAdvances) {
  H.ReadOnly = {{0, 2}};
  const TTable t = SmartPaste(QStringLiteral("1\r\n2\r\n"), {0, 0, 0, 3}, 1, 4);
  EXPECT_EQ(t, (TTable{{"1"}, {"2"}, {""}, {"4"}}));
}

TEST_F(ClipboardTest, SmartPasteOfOneValueFillsTheSelection) {
  H.ReadOnly = {{2, 2}};
  const TTable t = SmartPaste(QStringLiteral("v"), {0, 0, 2, 2}, 3, 3);
  EXPECT_EQ(t, (TTable{{"v", "v", "v"}, {"v", "v", "v"}, {"v", "v", ""}}));
  // One before-event from the paste of the value, then one for each other writable cell.
  EXPECT_EQ(H.Before.size(), 1u + 7u);
}

TEST_F(ClipboardTest, SmartPasteOfOneLineRepeatsItInEveryRowOfABlock) {
  const TTable t = SmartPaste(QStringLiteral("a\tb"), {0, 0, 1, 2}, 2, 3);
  EXPECT_EQ(t, (TTable{{"a", "b"}, {"a", "b"}, {"a", "b"}}));
}

TEST_F(ClipboardTest, WithoutSmartPasteOnlyTheBlockIsPasted) {
  H.O.AllowSmartClipboard = false;
  Board.HasText = true;
  Board.Text = QStringLiteral("1\r\n3\r\n");
  H.Sel = {0, 0, 0, 3};
  H.Clip.PasteSelectionFromClipboard();
  EXPECT_EQ(Cells(H.G)[2][0], "");
  EXPECT_EQ(Cells(H.G)[1][0], "3");
}

// ---------------------------------------------------------------- the cell format between grids

TEST_F(ClipboardTest, CellsPastedIntoTheSameGridNameTheCopiedTopLeftAnotherGridNone) {
  H.O.AllowFmtClipboard = true;
  Fill(H.G, {{"a", "b", "", ""}, {"c", "d", "", ""}, {"", "", "", ""}, {"", "", "", ""}});
  H.Sel = {0, 0, 1, 1};
  H.Clip.CopySelectionToClipboard();
  ASSERT_TRUE(Board.HasCells);
  Board.HasText = false;
  H.Sel = {2, 2, 2, 2};
  H.Clip.PasteSelectionFromClipboard();
  EXPECT_EQ(Cells(H.G)[3][3], "d");
  ASSERT_FALSE(H.Done.empty());
  EXPECT_EQ(H.Done.back().From, plat::TPoint(0, 0));
  EXPECT_EQ(H.Done.back().To, plat::TRect(2, 2, 3, 3));

  TFakeHost other(Board, 2);
  other.O.AllowFmtClipboard = true;
  other.Sel = {1, 0, 1, 0};
  other.Clip.PasteSelectionFromClipboard();
  EXPECT_EQ(Cells(other.G)[1][2], "d");
  ASSERT_FALSE(other.Done.empty());
  EXPECT_EQ(other.Done.back().From, plat::TPoint(-1, -1));
}

TEST_F(ClipboardTest, CorruptCellsOnTheClipboardFailAndLeaveTheGrid) {
  H.O.AllowFmtClipboard = true;
  Board.HasCells = true;
  Board.Cells = QByteArray("\x01\x02garbage", 9);
  H.Sel = {0, 0, 0, 0};
  EXPECT_THROW(H.Clip.PasteSelectionFromClipboard(), EExtGridError);
  EXPECT_EQ(Cells(H.G)[0][0], "");
}

TEST_F(ClipboardTest, RichTextPastesIntoTheCellAsItIs) {
  H.O.AllowRTFClipboard = true;
  Board.HasRTF = true;
  Board.RTF = QByteArray("{\\rtf1 x}\0junk", 14);
  Board.HasText = true;
  Board.Text = QStringLiteral("x");
  H.Sel = {1, 1, 1, 1};
  H.Clip.PasteSelectionFromClipboard();
  EXPECT_EQ(H.G.GetGridCell(1, 1), QStringLiteral("{\\rtf1 x}"));
}

// ---------------------------------------------------------------- cut

TEST_F(ClipboardTest, CutEmptiesExactlyTheEditableCellsOfTheSaveRange) {
  Fill(H.G, {{"a", "b"}, {"c", "d"}});
  H.ReadOnly = {{1, 0}};
  H.O.ShowModified = true;
  H.Clip.CutToClipboard();
  EXPECT_EQ(Board.Text, QStringLiteral("a\tb\r\nc\td\r\n"));
  EXPECT_EQ(Cells(H.G), (TTable{{"", "b"}, {"", ""}}));
  EXPECT_EQ(H.Modified, (std::set<int>{0, 1}));
  EXPECT_EQ(H.Clip.LastOperation(), coCut);
}

TEST_F(ClipboardTest, CutSelectionIsUndoneInOneStep) {
  TExtGridUndoRedo undo(nullptr);
  undo.SetGrid(&H.G);
  H.Undo = &undo;
  Fill(H.G, {{"a", "b", "c"}, {"d", "e", "f"}});
  H.Sel = {1, 0, 2, 1};
  H.Clip.CutSelectionToClipboard();
  EXPECT_EQ(Board.Text, QStringLiteral("b\tc\r\ne\tf\r\n"));
  EXPECT_EQ(Cells(H.G), (TTable{{"a", "", ""}, {"d", "", ""}}));
  undo.Undo();
  EXPECT_EQ(Cells(H.G), (TTable{{"a", "b", "c"}, {"d", "e", "f"}}));
}

// ---------------------------------------------------------------- HTML

TEST_F(ClipboardTest, HTMLCopyLeavesNoPictureFilesBehind) {
  testing::TScratch work;
  const QString old = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work.Path(QString())));
  Fill(H.G, {{"a", "b"}, {"c", "d"}});
  H.Clip.CopyToClipBoardAsHTML();
  QDir::setCurrent(old);
  EXPECT_TRUE(Board.HasHTML);
  EXPECT_EQ(Board.Text, Board.HTML);
  EXPECT_TRUE(Board.HTML.contains(QStringLiteral("<img")));
  EXPECT_FALSE(QDir(work.Path(QStringLiteral("images"))).exists());
  static const QRegularExpression src(QStringLiteral("src= \"file://([^\"]+)\""));
  const QRegularExpressionMatch m = src.match(Board.HTML);
  ASSERT_TRUE(m.hasMatch());
  EXPECT_FALSE(QFileInfo::exists(m.captured(1)));
  EXPECT_FALSE(QFileInfo(m.captured(1)).absoluteDir().exists());
}

}  // namespace
}  // namespace grid
