// The string grid object paints through the cell renderer: its look, selection colours, disjunct selections,
// cell objects and HTML texts reach the painted cells, and its colour properties are the renderer's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <array>
#include <vector>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvastracer.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/imagelist.h"
#include "platform/testing/pixels.h"
#include "grid/view/tests/render_fixture.h"

namespace grid {
namespace {

using plat::TColor;
using plat::TRect;
using plat::TraceKind;
using plat::testing::PixelAt;

constexpr TColor kSelection = TColor(0x336699);

// The shared shown grid in the XP look with a selection over (2,2)-(3,3), a check box in (2,5) and an HTML
// text in (3,6).
struct ExtGridPaint : TShownGrid<TExtStringGrid> {
  ExtGridPaint() {
    g->SetLook(glXP);
    g->SetSelectionColor(kSelection);
    g->SetSelectionTextColor(plat::clWhite);
    g->ControlLook()->SetControlStyle(csClassic);
    for (int c = 1; c < 6; ++c) g->SetCells(c, 0, QStringLiteral("Head %1").arg(c));
    for (int r = 1; r < 10; ++r) g->SetCells(0, r, QString::number(r));
    g->SetSelection(plat::TGridRect{2, 2, 3, 3});
    g->AddCheckBox(2, 5, true, false);
    g->SetCells(2, 5, QStringLiteral("checked"));
    g->SetCells(3, 6, QStringLiteral("<b>bold</b> and <i>slanted</i>"));
    QApplication::processEvents();
  }
  // A point inside the cell, clear of its left-aligned text and the focus frame.
  TColor Fill(const QImage& img, int c, int r) {
    const TRect cell = g->CellRect(c, r);
    return PixelAt(img, cell.Right - 6, cell.Top + 6);
  }
};

TEST_F(ExtGridPaint, ColourPropertiesAreTheRenderersOwn) {
  const TGridColors& c = g->RenderSettings().Colors;
  EXPECT_EQ(c.SelectionColor, kSelection);
  EXPECT_EQ(c.SelectionTextColor, plat::clWhite);
  g->SetActiveCellColor(TColor(0x123456));
  EXPECT_EQ(c.ActiveCellColor, TColor(0x123456));
  g->SetFixedFooters(1);
  EXPECT_EQ(g->RenderSettings().FixedFooters, 1);
  // A look rewrites the selection colours once, and the grid's readers see that one copy.
  g->SetLook(glOffice2007);
  EXPECT_EQ(g->Look(), glOffice2007);
  EXPECT_EQ(g->SelectionColor(), c.SelectionColor);
  EXPECT_EQ(g->SelectionColorTo(), c.SelectionColorTo);
  EXPECT_EQ(g->ControlLook(), &g->Renderer().ControlLook);
  EXPECT_EQ(g->FixedFont(), &g->RenderSettings().FixedFont);
}

TEST_F(ExtGridPaint, SelectionLookAndCellObjectsReachThePaintedCells) {
  plat::TRecordingTracer t;
  const QImage img = Paint(&t);
  EXPECT_TRUE(img.save(QString(TEST_BINARY_DIR) + "/extgrid_paint.png"));
  const struct { int c, r; bool selected; } cells[] = {
      {2, 2, true}, {3, 3, true}, {2, 4, false}, {4, 2, false}, {1, 7, false},
  };
  for (const auto& k : cells) {
    SCOPED_TRACE(testing::Message() << k.c << "," << k.r);
    EXPECT_EQ(Fill(img, k.c, k.r) == kSelection, k.selected);
  }
  // The check box is the renderer's frame control, checked.
  const auto boxes = In(t, TraceKind::FrameControl, g->CellRect(2, 5));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE((boxes[0].Flags >> 16) & plat::DFCS_CHECKED);
  // The HTML text is laid out by runs, never drawn with its tags.
  bool sawBold = false;
  for (TraceKind kind : {TraceKind::TextOut, TraceKind::TextRect, TraceKind::DrawText, TraceKind::DrawTextLine})
    for (const auto& r : In(t, kind, g->CellRect(3, 6))) {
      EXPECT_FALSE(r.Text.contains(u'<')) << r.Text.toStdString();
      sawBold = sawBold || r.Text.contains(QStringLiteral("bold"));
    }
  EXPECT_TRUE(sawBold);
}

TEST_F(ExtGridPaint, DisjunctRowsAndHiddenSelectionFollowTheGrid) {
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->SetRowSelect(7, true);
  QImage img = Paint();
  EXPECT_NE(Fill(img, 2, 7), plat::clWhite);  // flagged through the grid's own selection model
  EXPECT_EQ(Fill(img, 2, 8), plat::clWhite);
  g->MouseActions()->SetDisjunctRowSelect(false);
  g->SetShowSelection(false);
  img = Paint();
  EXPECT_NE(Fill(img, 2, 2), kSelection);
}

// A data check box is checked when its text is the grid's CheckTrue text (or the one OnGetCheckTrue gives).
TEST_F(ExtGridPaint, DataCheckBoxFollowsTheGridsCheckTrueText) {
  const struct { const char* checkTrue; const char* text; bool byEvent; bool checked; } cases[] = {
      {"Y", "Y", false, true},       {"yes", "yes", false, true}, {"yes", "Y", false, false},
      {"Y", "ja", true, true},       {"Y", "Y", true, false},
  };
  g->AddCheckBox(4, 5, false, true);
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.checkTrue << " / " << k.text << (k.byEvent ? " (event)" : ""));
    g->CheckTrue = QString::fromUtf8(k.checkTrue);
    g->OnGetCheckTrue = nullptr;
    if (k.byEvent) g->OnGetCheckTrue = [](plat::TObject*, int, int, QString& v) { v = QStringLiteral("ja"); };
    g->SetCells(4, 5, QString::fromUtf8(k.text));
    plat::TRecordingTracer t;
    Paint(&t);
    const auto boxes = In(t, TraceKind::FrameControl, g->CellRect(4, 5));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(bool((boxes[0].Flags >> 16) & plat::DFCS_CHECKED), k.checked);
  }
}

// A cell object that shows its cell's number paints a text that is not a number as no value: no image, an
// empty gauge, the text unformatted, and never an error raised in the middle of painting.
TEST_F(ExtGridPaint, NumberDrivenCellsPaintATextThatIsNoNumberAsNoValue) {
  plat::TImageList images(nullptr);
  images.SetSize(8, 8);
  for (int i = 0; i < 3; ++i) {
    QImage img(8, 8, QImage::Format_ARGB32);
    img.fill(QColor(40 * i, 90, 160));
    images.AddImage(img);
  }
  g->SetGridImages(&images);
  g->CellObjects().AddDataImage(4, 2, 0, haCenter, vaCenter);
  g->CellObjects().AddRangeIndicator(5, 2, 100, plat::clRed, plat::clGreen, true);
  g->CellObjects().AddExtProgress(5, 3, 0, 100);
  g->OnGetFloatFormat = [](plat::TObject*, int ACol, int ARow, bool&, QString& F) {
    if (ACol == 4 && ARow == 4) F = QStringLiteral("%d units");
  };
  std::vector<QString> errors;
  plat::Application->OnException = [&](plat::TObject*, const std::exception& e) {
    errors.push_back(QString::fromUtf8(e.what()));
  };
  const struct { const char* text; int image; } cases[] = {
      {"1", 1}, {"2", 2}, {"", 0}, {"-", 0}, {"5", -1}, {"abc", -1}, {"1.5", -1}, {"<b>x</b>", -1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text);
    for (int r : {2, 3}) g->SetCells(5, r, QString::fromUtf8(k.text));
    g->SetCells(4, 2, QString::fromUtf8(k.text));
    g->SetCells(4, 4, QString::fromUtf8(k.text));
    plat::TRecordingTracer t;
    Paint(&t);
    std::vector<int> drawn;
    for (const auto& d : In(t, TraceKind::Draw, g->CellRect(4, 2)))
      if (d.Text == u"ImageList") drawn.push_back(int(d.Flags & 0x7fffffff));
    EXPECT_EQ(drawn, k.image < 0 ? std::vector<int>{} : std::vector<int>{k.image});
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
    errors.clear();
  }
  plat::Application->OnException = nullptr;
  g->SetGridImages(nullptr);
  // Reading the value the user typed still says what is wrong.
  g->SetCells(4, 2, QStringLiteral("abc"));
  EXPECT_THROW(g->Ints(4, 2), EExtGridError);
  EXPECT_THROW(g->Floats(4, 2), EExtGridError);
}

// The radio group's items are the list stored in the cell object, and a node level is the one kept in the
// column-0 cell properties of the row.
TEST_F(ExtGridPaint, RadioItemsAndNodeLevelsComeFromTheCellObjects) {
  plat::TStrings* items = g->CellChecks().CreateRadio(4, 7, 0, 1);
  ASSERT_NE(items, nullptr);
  for (const char* s : {"alpha", "beta", "gamma"}) items->Add(QString::fromUtf8(s));
  g->SetRowHeights(7, 72);  // room for the three items one under another
  g->CellNode()->SetTreeColor(TColor(0x00A000));  // apart from the grey fixed-cell edges
  g->AddNode(7, 2);  // the grid has nodes: tree lines show
  g->GetCellProperties(0, 8)->NodeLevel = 1;
  plat::TRecordingTracer t;
  Paint(&t);
  QStringList drawn;
  for (TraceKind kind : {TraceKind::TextOut, TraceKind::TextRect, TraceKind::DrawText, TraceKind::DrawTextLine})
    for (const auto& r : In(t, kind, g->CellRect(4, 7))) drawn << r.Text;
  for (const char* s : {"alpha", "beta", "gamma"}) EXPECT_TRUE(drawn.join(' ').contains(QString::fromUtf8(s))) << s;
  const auto treeLines = [&](int row) {
    int n = 0;
    for (const auto& r : In(t, TraceKind::Line, g->CellRect(0, row)))
      if (r.PenColor == g->CellNode()->TreeColor()) ++n;
    return n;
  };
  EXPECT_GT(treeLines(8), 0);
  EXPECT_EQ(treeLines(9), 0);
}

TEST_F(ExtGridPaint, PasswordCellsShowOnlyThePasswordCharacter) {
  g->SetCells(4, 3, "secret");
  g->SetCells(4, 4, "<b>hidden</b>");
  g->SetCells(3, 3, "open");
  g->PasswordChar = QStringLiteral("#");
  g->OnIsPasswordCell = [](plat::TObject*, int ARow, int ACol, bool& IsPassword) {
    IsPassword = ACol == 4 && (ARow == 3 || ARow == 4);
  };
  plat::TRecordingTracer t;
  Paint(&t);
  const auto drawn = [&](int c, int r) {
    QStringList texts;
    for (TraceKind kind : {TraceKind::TextOut, TraceKind::TextRect, TraceKind::DrawText, TraceKind::DrawTextLine})
      for (const auto& rec : In(t, kind, g->CellRect(c, r))) texts << rec.Text;
    return texts.join(QString());
  };
  // Only the password character reaches the canvas (measuring passes may draw a text more than once), and
  // markup is not rendered: it would give its text away.
  for (int r : {3, 4}) {
    const QString d = drawn(4, r);
    EXPECT_FALSE(d.isEmpty()) << r;
    EXPECT_EQ(d.count(u'#'), d.size()) << d.toStdString();
  }
  EXPECT_TRUE(drawn(3, 3).contains("open"));
}

// The header cell of the current column is highlighted by real column, so hidden columns before it do not
// move the highlight onto a neighbour.
TEST_F(ExtGridPaint, ActiveCellHeaderFollowsTheCurrentColumnPastHiddenColumns) {
  const TColor active = TColor(0x2040C0);
  const struct { int hidden; int col; int highlighted; } cases[] = {
      {-1, 3, 3},  // nothing hidden: display column 3
      {1, 3, 3},   // real column 1 hidden: display column 3 shows real column 4, its header is display 3
      {2, 2, 2},
  };
  // A gradient look paints the header itself; a plain one takes the grid's cell colour.
  for (TGridLook look : {glXP, glClassic, glStandard}) {
    g->SetLook(look);
    g->SetActiveCellShow(true);
    g->SetActiveCellColor(active);
    g->SetActiveCellColorTo(plat::clNone);
    for (const auto& k : cases) {
      SCOPED_TRACE(testing::Message() << "look " << int(look) << " hidden " << k.hidden << " col " << k.col);
      g->UnHideColumnsAll();
      if (k.hidden >= 0) g->HideColumn(k.hidden);
      g->SetSelection(plat::TGridRect{k.col, 4, k.col, 4});
      const QImage img = Paint();
      for (int c = 1; c < g->ColCount(); ++c) EXPECT_EQ(Fill(img, c, 0) == active, c == k.highlighted) << c;
      EXPECT_EQ(Fill(img, 0, 4), active);
    }
  }
}

// Sort glyph bitmaps replace the line glyphs only as complete pairs; each bitmap here has its own size.
TEST_F(ExtGridPaint, SortGlyphBitmapsReplaceTheLineGlyphsOnlyAsPairs) {
  TSortSettings& s = *g->SortSettings();
  s.SetShow(true);
  s.SetRow(0);
  s.SetColumn(2);
  s.Keys() = {2u | 0x80000000u, 4u};
  const auto sized = [](plat::TBitmap* b, int n) { b->SetSize(n, n); };
  struct Case {
    const char* name;
    TSortDirection dir;
    bool indexShow;
    int setUp, setDown, setIndexUp, setIndexDown;  // sizes, 0: left empty
    int col, drawnSize;                            // 0: the line glyphs are drawn
  } cases[] = {
      {"ascending pair", sdAscending, false, 8, 9, 0, 0, 2, 8},
      {"descending pair", sdDescending, false, 8, 9, 0, 0, 2, 9},
      {"up glyph alone", sdAscending, false, 8, 0, 0, 0, 2, 0},
      {"index descending key", sdAscending, true, 0, 0, 10, 11, 2, 10},
      {"index ascending key", sdAscending, true, 0, 0, 10, 11, 4, 11},
      {"index glyph alone", sdAscending, true, 0, 0, 10, 0, 2, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    s.SetDirection(k.dir);
    s.SetIndexShow(k.indexShow);
    sized(s.UpGlyph(), k.setUp);
    sized(s.DownGlyph(), k.setDown);
    sized(s.IndexUpGlyph(), k.setIndexUp);
    sized(s.IndexDownGlyph(), k.setIndexDown);
    plat::TRecordingTracer t;
    Paint(&t);
    std::vector<int> drawn;
    for (const auto& r : In(t, TraceKind::Draw, g->CellRect(k.col, 0)))
      if (r.Text == "TBitmap") drawn.push_back(r.Rect.Width());
    const auto lines = In(t, TraceKind::Line, g->CellRect(k.col, 0)).size() +
                       In(t, TraceKind::Polygon, g->CellRect(k.col, 0)).size();
    if (k.drawnSize) {
      EXPECT_EQ(drawn, std::vector<int>{k.drawnSize});
    } else {
      EXPECT_TRUE(drawn.empty());
      EXPECT_GT(lines, 0u);
    }
  }
}

// A rich-text cell is drawn by its formatted runs inside the cell, never with its control words.
TEST_F(ExtGridPaint, RichTextCellDrawsItsFormattedRunsInsideTheCell) {
  g->SetCells(4, 7, QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b Bold\\b0  rest}"));
  plat::TRecordingTracer t;
  Paint(&t);
  const TRect cell = g->CellRect(4, 7);
  bool boldRun = false, restRun = false;
  for (const auto& r : In(t, TraceKind::DrawText, cell)) {
    EXPECT_FALSE(r.Text.contains(u'\\') || r.Text.contains(QStringLiteral("Arial"))) << r.Text.toStdString();
    EXPECT_GE(r.Rect.Left, cell.Left + 2);
    boldRun = boldRun || (r.Text.contains(QStringLiteral("Bold")) && r.FontStyle.Contains(plat::fsBold));
    restRun = restRun || (r.Text.contains(QStringLiteral("rest")) && !r.FontStyle.Contains(plat::fsBold));
  }
  EXPECT_TRUE(boldRun);
  EXPECT_TRUE(restRun);
  EXPECT_EQ(g->Renderer().CellBalloonText(4, 7), "Bold rest");
}

// A screenshot of the sort glyph bitmaps on two sorted columns and of rich-text cells with colours and sizes.
TEST_F(ExtGridPaint, ScreenshotOfSortGlyphsAndRichText) {
  TSortSettings& s = *g->SortSettings();
  s.SetShow(true);
  s.SetRow(0);
  s.SetColumn(2);
  s.Keys() = {2u | 0x80000000u, 4u};
  s.SetIndexShow(true);
  const auto glyph = [](plat::TBitmap* b, bool up) {
    b->SetSize(14, 14);
    b->Canvas()->Brush()->SetColor(plat::clFuchsia);
    b->Canvas()->FillRect(TRect(0, 0, 14, 14));
    b->Canvas()->Brush()->SetColor(up ? plat::clAqua : plat::clYellow);
    b->Canvas()->Pen()->SetColor(plat::clBlack);
    const std::array<plat::TPoint, 3> tri = up ? std::array<plat::TPoint, 3>{plat::TPoint(1, 12), plat::TPoint(12, 12), plat::TPoint(6, 1)}
                                               : std::array<plat::TPoint, 3>{plat::TPoint(1, 1), plat::TPoint(12, 1), plat::TPoint(6, 12)};
    b->Canvas()->Polygon(tri);
  };
  glyph(s.IndexUpGlyph(), true);
  glyph(s.IndexDownGlyph(), false);
  g->SetColWidths(3, 150);
  g->SetCells(3, 7, QStringLiteral("{\\rtf1{\\colortbl;\\red200\\green0\\blue0;}\\b Bold\\b0 , \\i slanted\\i0 , "
                                   "\\cf1 red\\cf0  \\ul under\\ulnone}"));
  g->SetCells(3, 8, QStringLiteral("{\\rtf1\\fs24 large\\fs16  small}"));
  g->SetCells(4, 8, QStringLiteral("helo world"));
  g->CellObjects().AddMarker(4, 8, 0, 4);
  EXPECT_TRUE(Paint().save(QString(TEST_BINARY_DIR) + "/extgrid_sort_rich.png"));
}

// The spell-check range is underlined in red under its characters, only for cells without another object.
TEST_F(ExtGridPaint, MarkerRangeIsUnderlinedUnderItsCharactersOnly) {
  struct {
    int c, r;
    bool checkBox;
    bool underlined;
  } cases[] = {{4, 8, false, true}, {1, 8, true, false}};
  for (const auto& k : cases) {
    g->SetCells(k.c, k.r, QStringLiteral("helo world"));
    if (k.checkBox) g->AddCheckBox(k.c, k.r, false, false);
    g->CellObjects().AddMarker(k.c, k.r, 5, 5);
    int pos = -1, len = -1;
    g->GetMarker(k.c, k.r, pos, len);
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(len, 5);
  }
  plat::TRecordingTracer t;
  Paint(&t);
  for (const auto& k : cases) {
    SCOPED_TRACE(k.c);
    std::vector<plat::TCanvasTraceRecord> red;
    for (const auto& r : In(t, TraceKind::Line, g->CellRect(k.c, k.r)))
      if (r.PenColor == TColor(0xFF) && r.PenWidth == 2) red.push_back(r);
    EXPECT_EQ(!red.empty(), k.underlined);
    if (red.empty()) continue;
    // From "world" on: right of "helo " and below the text's middle.
    const int textLeft = g->CellRect(k.c, k.r).Left + 2;
    EXPECT_GE(red.front().Points.front().X, textLeft + g->Canvas()->TextWidth(QStringLiteral("helo")));
    EXPECT_GT(red.front().Points.front().Y, g->CellRect(k.c, k.r).Top + 12);
  }
}

// A grid that shows formulas by a value of its own.
struct FormulaGrid : TExtStringGrid {
  using TExtStringGrid::TExtStringGrid;
  void GetFormulaText(int, int, QString& Text) override { Text = QStringLiteral("<b>42</b>"); }
};

TEST_F(ExtGridPaint, FormulaCellsShowWhatTheGridAnswersForThem) {
  g->SetCells(4, 8, QStringLiteral("=A1+1"));
  auto* f = new FormulaGrid(form.get());
  f->SetParent(form.get());
  f->SetCells(1, 1, QStringLiteral("=A1+1"));
  const auto drawn = [](TExtStringGrid* grid, TraceKind kind, int c, int r) {
    grid->Canvas()->SetTracer(nullptr);
    plat::TRecordingTracer t;
    grid->Canvas()->SetTracer(&t);
    grid->Widget()->grab();
    grid->Canvas()->SetTracer(nullptr);
    QStringList out;
    for (const auto& rec : In(t, kind, grid->CellRect(c, r))) out << rec.Text;
    return out.join(u'|');
  };
  // The grid itself shows the formula text; a grid answering with HTML has it drawn as HTML.
  EXPECT_EQ(drawn(g, TraceKind::DrawText, 4, 8), "=A1+1");
  EXPECT_EQ(drawn(f, TraceKind::DrawText, 1, 1), "42");
}

TEST_F(ExtGridPaint, FixedEditHandlerChoosesTheEditorAndItsValues) {
  g->OnFixedEdit = [](plat::TObject*, int, int, TGridFixedCellEditor& kind, plat::TStrings* values) {
    kind = fceComboList;
    values->Clear();
    values->Add(QStringLiteral("one"));
    values->Add(QStringLiteral("two"));
  };
  g->HeaderClicks().StartFixedCellEdit(2, 0);
  ASSERT_NE(g->HeaderClicks().FixedCombo(), nullptr);
  EXPECT_TRUE(g->HeaderClicks().FixedCombo()->Visible());
  EXPECT_EQ(g->HeaderClicks().FixedCombo()->Items()->Count(), 2);
  EXPECT_TRUE(g->HeaderClicks().FixedEdit() == nullptr || !g->HeaderClicks().FixedEdit()->Visible());
}

TEST_F(ExtGridPaint, DeleteRowHookClearsTheOnlyNormalRowUnlessFixedRowAlways) {
  struct {
    int rows;
    bool fixedRowAlways;
    int rowsAfter;
    QString leftInRow1;
  } cases[] = {{10, false, 9, "row 2"}, {2, false, 2, ""}, {2, true, 1, ""}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.rows * 10 + k.fixedRowAlways);
    g->SetRowCount(k.rows);
    g->SetFixedRowAlways(k.fixedRowAlways);
    g->SetCells(1, 1, QStringLiteral("row 1"));
    if (k.rows > 2) g->SetCells(1, 2, QStringLiteral("row 2"));
    std::vector<int> fired;
    g->OnAutoDeleteRow = [&](plat::TObject*, int r) { fired.push_back(r); };
    g->DoDeleteRow(1);
    EXPECT_EQ(g->RowCount(), k.rowsAfter);
    if (g->RowCount() > 1) {
      EXPECT_EQ(g->Cells(1, 1), k.leftInRow1);
    }
    EXPECT_EQ(fired, std::vector<int>{1});
  }
  g->DoInsertRow(1);
  EXPECT_EQ(g->RowCount(), 2);
}

}  // namespace
}  // namespace grid
