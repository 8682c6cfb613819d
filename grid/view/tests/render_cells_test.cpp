// The cell renderer on a shown grid: resolved colours per look, every cell object through the canvas tracer,
// placement, text routing, the grid-level extras, and screenshots of every cell type under each look.
#include "grid/view/render_grid.h"

#include <gtest/gtest.h>

#include <set>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "controls/draw_utils.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvastracer.h"
#include "platform/graphics/classic.h"
#include "platform/testing/pixels.h"
#include "grid/view/tests/render_fixture.h"

namespace grid {
namespace {

using plat::clNone;
using plat::TColor;
using plat::TRect;
using plat::TraceKind;
using plat::testing::PixelAt;

// The renderer on the shared shown grid, with the colours it resolves for one cell.
struct RenderTest : TShownGrid<TRenderGrid> {
  // The brush and font colour resolved for one cell.
  std::pair<TColor, TColor> Resolve(int c, int r, plat::TGridDrawState* st = nullptr, bool select = true) {
    plat::TBrush brush;
    plat::TFont font;
    TColor to, mf, mt;
    plat::TAlignment ha;
    TVAlignment va;
    bool ww = false;
    TCellGradientDirection gd;
    plat::TGridDrawState state;
    g->Renderer().GetVisualProperties(c, r, state, false, select, true, &brush, to, mf, mt, &font, ha, va, ww, gd);
    if (st) *st = state;
    return {brush.Color(), font.Color()};
  }
};

TEST_F(RenderTest, FixedCellsTakeTheLookGradientOrTheFixedColourAndOwnColoursStay) {
  const struct { TGridLook look; bool gradient; } cases[] = {
      {glStandard, false}, {glSoft, false}, {glClassic, false}, {glExt, true},  {glXP, true},
      {glListView, true},  {glVista, true}, {glWin7, true},     {glOffice2007, true}, {glCustom, true},
  };
  g->SetLook(glStandard);
  for (const auto& k : cases) {
    SCOPED_TRACE(int(k.look));
    g->SetLook(k.look);
    const TGridColors& c = g->RenderSettings().Colors;
    plat::TGridDrawState st;
    const TColor brush = Resolve(0, 3, &st).first;
    EXPECT_TRUE(st.Contains(plat::gdFixed));
    EXPECT_EQ(brush, k.gradient ? c.Fixed.From : g->FixedColor());
    // A plain cell with its own brush colour keeps it under every look.
    TCellProperties* p = g->GetCellProperties(0, 4);
    p->SetBrushColor(plat::clRed);
    EXPECT_EQ(Resolve(0, 4).first, plat::clRed);
    // A check-box cell with a brush colour is painted as a fixed cell.
    g->GetCellProperties(0, 5)->SetBrushColor(plat::clRed);
    g->SetCellGraphic(0, 5, TCellGraphicView{ctCheckBox});
    EXPECT_EQ(Resolve(0, 5).first, k.gradient ? c.Fixed.From : g->FixedColor());
  }
}

TEST_F(RenderTest, BandsAlternateByRowAndMixingBlendsTheSelection) {
  g->Renderer().Bands.SetActive(true);
  g->Renderer().Bands.SetPrimaryColor(plat::clYellow);
  g->Renderer().Bands.SetSecondaryColor(plat::clAqua);
  g->Renderer().Bands.SetPrimaryLength(2);
  const TColor expect[] = {plat::clYellow, plat::clYellow, plat::clAqua, plat::clYellow, plat::clYellow};
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(Resolve(2, r).first, expect[r - 1]) << r;
  // Selected cell (2, 1) over a yellow band.
  g->SetCol(2);
  g->SetRow(1);
  g->RenderSettings().Colors.SelectionColor = Hex(0x0000FF);
  g->RenderSettings().SelectionColorMixer = true;
  const struct { int factor; TColor colour; } mix[] = {
      {0, plat::clYellow}, {100, Hex(0x0000FF)}, {50, Hex(0x8080 + 0x80 * 0)}};
  for (const auto& m : mix) {
    g->RenderSettings().SelectionColorMixerFactor = m.factor;
    const TColor got = Resolve(2, 1).first;
    if (m.factor == 50)
      EXPECT_EQ(got, MixSelectionColor(Hex(0x0000FF), plat::clYellow, true, 50));
    else
      EXPECT_EQ(got, m.colour);
  }
}

// A grid whose rows 4 and 6, column 5 and cell (1, 8) carry disjunct selection flags.
class TFlagGrid : public TRenderGrid {
 public:
  using TRenderGrid::TRenderGrid;
  bool down = false;
  bool IsRowFlagged(int r) override { return r == 4 || r == 6; }
  bool IsColFlagged(int c) override { return c == 5; }
  bool IsCellFlagged(int c, int r) override { return c == 1 && r == 8; }
  bool MouseButtonDown() override { return down; }
};

TEST_F(RenderTest, DisjunctSelectionsColourFlaggedRowsColumnsAndCells) {
  auto* f = new TFlagGrid(form.get());
  f->SetParent(form.get());
  f->SetColCount(6);
  f->SetRowCount(10);
  f->SetColor(plat::clWhite);
  f->SetCol(2);
  f->SetRow(4);
  TRenderSettings& s = f->RenderSettings();
  s.Colors.SelectionColor = Hex(0x336699);
  s.Colors.SelectionTextColor = plat::clWhite;
  const auto brush = [&](int c, int r, plat::TGridDrawState* st = nullptr) {
    plat::TBrush b;
    plat::TFont font;
    TColor to, mf, mt;
    plat::TAlignment ha;
    TVAlignment va;
    bool ww;
    TCellGradientDirection gd;
    plat::TGridDrawState state;
    f->Renderer().GetVisualProperties(c, r, state, false, true, true, &b, to, mf, mt, &font, ha, va, ww, gd);
    if (st) *st = state;
    return b.Color();
  };
  s.DisjunctRowSelect = true;
  plat::TGridDrawState st;
  EXPECT_EQ(brush(2, 4, &st), Hex(0x336699));  // current row, flagged
  EXPECT_TRUE(st.Contains(plat::gdSelected));
  EXPECT_EQ(brush(2, 6), controls::ChangeColorPercent(Hex(0x336699), 7));  // flagged, not current: lighter
  EXPECT_EQ(brush(2, 5), plat::clWhite);
  s.Colors.SelectionColorTo = Hex(0x112233);
  EXPECT_EQ(brush(2, 6), Hex(0x336699));  // a gradient selection keeps its colour
  s.DisjunctRowSelect = false;
  s.DisjunctColSelect = true;
  EXPECT_EQ(brush(5, 2), Hex(0x336699));
  EXPECT_EQ(brush(4, 2), plat::clWhite);
  s.DisjunctColSelect = false;
  s.DisjunctCellSelect = true;
  EXPECT_EQ(brush(1, 8), Hex(0x336699));
  EXPECT_EQ(brush(3, 8), plat::clWhite);
}

TEST(MixSelection, FactorsAndNoneColours) {
  const struct { TColor sel, cell; bool mixer; int factor; TColor out; } cases[] = {
      {Hex(0x0000FF), Hex(0xFFFF00), false, 50, Hex(0x0000FF)},
      {Hex(0x0000FF), Hex(0xFFFF00), true, 100, Hex(0x0000FF)},
      {Hex(0x0000FF), Hex(0xFFFF00), true, 0, Hex(0xFFFF00)},
      {Hex(0x0000FF), Hex(0xFFFF00), true, 50, Hex(0x8080 + 0x800000 - 0x8000 + 0x8000)},
      {clNone, Hex(0xFFFF00), true, 50, Hex(0xFFFF00)},
      {Hex(0x0000FF), clNone, true, 50, Hex(0x0000FF)},
  };
  for (const auto& k : cases) EXPECT_EQ(MixSelectionColor(k.sel, k.cell, k.mixer, k.factor), k.out);
}

TEST_F(RenderTest, SelectedCellShowsTheSelectionColourAndFixedGradientRunsTopToBottom) {
  g->SetCol(2);
  g->SetRow(2);
  g->RenderSettings().Colors.SelectionColor = Hex(0x3366CC);
  const QImage img = Paint();
  const TRect sel = g->CellRect(2, 2);
  EXPECT_EQ(PixelAt(img, sel.Left + 4, (sel.Top + sel.Bottom) / 2), Hex(0x3366CC));
  const TRect head = g->CellRect(3, 0);
  const TColor top = PixelAt(img, head.Left + 20, head.Top + 1);
  const TColor bottom = PixelAt(img, head.Left + 20, head.Bottom - 3);
  EXPECT_GT(top & 0xFF, bottom & 0xFF);  // white above, button face below
}

// Every object type draws through its own canvas operations.
TEST_F(RenderTest, EachCellObjectDrawsItsShapesTable) {
  const struct { TCellGraphicView view; TControlStyle style; TraceKind kind; int atLeast; } cases[] = {
      {{ctCheckBox}, csClassic, TraceKind::FrameControl, 1},
      {{ctCheckBox}, csFlat, TraceKind::FrameControl, 1},
      {{ctCheckBox}, csWinXP, TraceKind::Draw, 1},
      {{ctCheckBox}, csExt, TraceKind::Draw, 1},
      {{ctCheckBox, haLeft, vaTop, 0, false, true}, csTervane, TraceKind::Line, 8},
      {{ctRadioButton}, csClassic, TraceKind::FrameControl, 1},
      {{ctRadioButton, haLeft, vaTop, 0, false, true}, csTervane, TraceKind::Polygon, 2},
      {{ctRadioButton}, csWinXP, TraceKind::Draw, 1},
      {{ctComment}, csClassic, TraceKind::Polygon, 1},
      {{ctButton, haLeft, vaCenter, 20 | (16 << 16)}, csClassic, TraceKind::Rectangle, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(int(k.view.CellType) * 100 + int(k.style));
    g->Renderer().ControlLook.SetControlStyle(k.style);
    g->SetCellGraphic(2, 3, k.view);
    plat::TRecordingTracer t;
    Paint(&t);
    EXPECT_GE(int(In(t, k.kind, g->CellRect(2, 3)).size()), std::max(1, k.atLeast));
    g->ClearCellGraphic(2, 3);
  }
}

TEST_F(RenderTest, CheckBoxStatesReachTheFrameControl) {
  g->Renderer().ControlLook.SetControlStyle(csClassic);
  const struct { TCellGraphicView view; bool editable; unsigned state; } cases[] = {
      {{ctCheckBox, haLeft, vaTop, 0, false, true}, true, plat::DFCS_CHECKED},
      {{ctCheckBox}, true, 0},
      {{ctCheckBox, haLeft, vaTop, 0, false, false, false, plat::cbUnchecked, 1}, true,
       plat::DFCS_CHECKED | plat::DFCS_BUTTON3STATE},
      {{ctTriStateCheckBox, haLeft, vaTop, 0, false, false, false, plat::cbGrayed}, true,
       plat::DFCS_CHECKED | plat::DFCS_BUTTON3STATE},
  };
  for (const auto& k : cases) {
    g->SetCellGraphic(2, 3, k.view);
    plat::TRecordingTracer t;
    Paint(&t);
    const auto recs = In(t, TraceKind::FrameControl, g->CellRect(2, 3));
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ((recs[0].Flags >> 16) & (plat::DFCS_CHECKED | plat::DFCS_BUTTON3STATE), k.state);
  }
}

TEST_F(RenderTest, StoredCellObjectsAreDrawnFromTheCellStore) {
  g->Renderer().ControlLook.SetControlStyle(csClassic);
  auto* stored = new TCellGraphic;
  stored->SetCheckBox(true, false, false, haLeft, vaCenter);
  g->SetGraphicObjectEx(2, 3, stored);
  plat::TRecordingTracer t;
  Paint(&t);
  const auto recs = In(t, TraceKind::FrameControl, g->CellRect(2, 3));
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_TRUE((recs[0].Flags >> 16) & plat::DFCS_CHECKED);
}

TEST_F(RenderTest, DataCheckBoxFollowsTheCellTextAndSitsCentred) {
  g->Renderer().ControlLook.SetControlStyle(csClassic);
  g->GetCellProperties(2, 3)->Alignment = plat::taCenter;
  g->SetCellGraphic(2, 3, TCellGraphicView{ctDataCheckBox});
  g->SetCells(2, 3, "Y");
  plat::TRecordingTracer t;
  Paint(&t);
  const TRect cell = g->CellRect(2, 3);
  const auto recs = In(t, TraceKind::FrameControl, cell);
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_TRUE((recs[0].Flags >> 16) & plat::DFCS_CHECKED);
  const int mid = (recs[0].Rect.Left + recs[0].Rect.Right) / 2;
  EXPECT_NEAR(mid, (cell.Left + cell.Right) / 2, 2);
  EXPECT_TRUE(In(t, TraceKind::DrawTextLine, cell).empty());  // no text beside a data check box
}

TEST_F(RenderTest, CentredCheckBoxSitsLeftOfCentredTextByItsWidth) {
  const TRect r(0, 0, 200, 24);
  const TCellGraphicView box{ctCheckBox};
  const int w = g->Renderer().ControlLook.CheckSize();
  const TGraphicPlacement alone = g->Renderer().PlaceGraphic(box, r, plat::taCenter, vtaCenter, 0, 1);
  const TGraphicPlacement beside = g->Renderer().PlaceGraphic(box, r, plat::taCenter, vtaCenter, 40, 1);
  EXPECT_EQ(beside.Rect.Width(), w);
  EXPECT_LT(beside.Rect.Left, alone.Rect.Left);
  const TGraphicPlacement data = g->Renderer().PlaceGraphic(TCellGraphicView{ctDataCheckBox}, r, plat::taCenter,
                                                            vtaCenter, 40, 1);
  EXPECT_EQ(data.Rect.Left, alone.Rect.Left);
}

TEST_F(RenderTest, RightAlignedBeforeTextImageSitsLeftOfTheTextAndInsideTheCell) {
  TCellGraphicView img{ctButton, haBeforeText, vaCenter, 16 | (16 << 16)};
  const TRect r(100, 0, 200, 24);
  const TGraphicPlacement p = g->Renderer().PlaceGraphic(img, r, plat::taRightJustify, vtaCenter, 30, 1);
  EXPECT_LE(p.Rect.Right, r.Right - 30);
  const TGraphicPlacement wide = g->Renderer().PlaceGraphic(img, r, plat::taRightJustify, vtaCenter, 300, 1);
  EXPECT_GE(wide.Rect.Left, r.Left);
}

TEST_F(RenderTest, RatingDrawsFullHalfAndEmptyStars) {
  TCellGraphicView rating{ctRating};
  rating.CellAngle = 5;
  rating.CellIndex = int(Hex(0xFFC000));  // on colour
  rating.CellBitmap = Hex(0xC0C0C0);      // off colour
  g->SetColWidths(2, 120);
  g->SetCellGraphic(2, 3, rating);
  g->SetCells(2, 3, "3.7");
  plat::TRecordingTracer t;
  Paint(&t);
  int on = 0, off = 0;
  for (const auto& r : In(t, TraceKind::Polygon, g->CellRect(2, 3)))
    (r.BrushColor == Hex(0xFFC000) ? on : off) += 1;
  EXPECT_EQ(on, 4);   // three full stars and one half star
  EXPECT_EQ(off, 2);  // the star under the half and the last one
}

TEST_F(RenderTest, FlatNodeShowsPlusWhenCollapsedAndMinusWhenExpanded) {
  g->Renderer().CellNode.SetNodeType(cnFlat);
  for (bool collapsed : {true, false}) {
    TCellGraphicView node{ctNode};
    node.CellBoolean = collapsed;
    g->SetCellGraphic(0, 3, node);
    g->NodeLevels[3] = 1;
    plat::TRecordingTracer t;
    Paint(&t);
    int bars = 0;
    for (const auto& r : In(t, TraceKind::Line, g->CellRect(0, 3)))
      if (r.PenColor == g->Renderer().CellNode.NodeColor) ++bars;
    EXPECT_EQ(bars, collapsed ? 2 : 1);
  }
}

TEST_F(RenderTest, ExpandButtonChevronPointsUpWhenSet) {
  for (bool up : {true, false}) {
    TCellGraphicView exp{ctExpand};
    exp.CellVar = up;
    g->SetCellGraphic(2, 3, exp);
    plat::TRecordingTracer t;
    Paint(&t);
    const TRect cell = g->CellRect(2, 3);
    std::vector<plat::TPoint> pts;
    for (const auto& r : t.OfKind(TraceKind::Line))
      if (r.PenColor == plat::clBlack && r.Points.size() == 2 && r.Points[0].X >= cell.Right - 12 &&
          r.Points[0].Y < cell.Top + 12 && r.Points[0].Y >= cell.Top)
        pts.push_back(r.Points[1]);
    ASSERT_GE(pts.size(), 2u);
    // The middle point of the chevron is above its ends when it points up.
    EXPECT_EQ(pts[0].Y < pts[1].Y, up);
  }
}

TEST_F(RenderTest, XPProgressWithAnEmptyRangeDrawsWithoutDividingByZero) {
  TCellGraphicView bar{ctXPProgress};
  bar.CellErrFrom = bar.CellErrLen = 10;
  g->SetCellGraphic(2, 3, bar);
  g->SetCells(2, 3, "40");
  plat::TRecordingTracer t;
  Paint(&t);
  int drawn = 0;
  for (TraceKind k : {TraceKind::FillRect, TraceKind::Rectangle, TraceKind::Line, TraceKind::Polyline})
    drawn += int(In(t, k, g->CellRect(2, 3)).size());
  EXPECT_GT(drawn, 0);
}

// The pie's slice is flooded from a point inside it, which needs readable pixels; the grid's own surface must
// still show the slice, growing with the percentage.
TEST_F(RenderTest, PieGaugeFillsASliceThatGrowsWithItsPercentage) {
  const TColor blue = Hex(0x3366CC);
  int last = -1;
  for (int percent : {0, 30, 75}) {
    SCOPED_TRACE(percent);
    TCellGraphicView pie{ctProgressPie};
    pie.CellAngle = percent;
    pie.CellBitmap = blue;
    g->SetCellGraphic(2, 3, pie);
    const int filled = plat::testing::CountColour(Paint(), blue, g->CellRect(2, 3));
    if (percent == 0) EXPECT_EQ(filled, 0);
    else EXPECT_GT(filled, last + 20);
    last = filled;
  }
}

TEST_F(RenderTest, TextRoutesPlainHtmlAndFirstLineOnly) {
  const struct { QString text; bool multi; bool ww; QString drawn; } cases[] = {
      {"one\rtwo", false, false, "one"},
      {"one\r\ntwo", true, false, "one"},
      {"<b>bold</b>", false, false, ""},  // HTML: drawn by the mini-HTML renderer, not as one text
      {"<b>bold", false, false, "<b>bold"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text.toStdString());
    g->RenderSettings().Multilinecells = k.multi;
    g->RenderSettings().WordWrap = k.ww;
    g->SetCells(2, 3, k.text);
    plat::TRecordingTracer t;
    Paint(&t);
    const auto drawn = In(t, TraceKind::DrawText, g->CellRect(2, 3));
    if (k.drawn.isEmpty()) {
      for (const auto& r : drawn) EXPECT_NE(r.Text, k.text);
    } else {
      ASSERT_FALSE(drawn.empty());
      EXPECT_EQ(drawn.front().Text.split(u'\r').first().split(u'\n').first(), k.drawn);
    }
  }
}

TEST_F(RenderTest, MultiColumnSortShowsEachColumnsPositionOnItsTriangle) {
  TSortView& sort = g->RenderSettings().Sort;
  sort.Show = true;
  sort.Row = 0;
  sort.Column = 2;
  sort.Index = {2u, 4u | 0x80000000u};
  for (int c = 1; c < 6; ++c) g->SetCells(c, 0, "head");
  const auto numbers = [&] {
    plat::TRecordingTracer t;
    Paint(&t);
    std::vector<QString> out;
    for (const auto& r : t.OfKind(TraceKind::TextOut)) out.push_back(r.Text);
    return out;
  };
  // Without IndexShow only the first entry shows a plain glyph.
  EXPECT_TRUE(numbers().empty());
  sort.IndexShow = true;
  EXPECT_EQ(numbers(), (std::vector<QString>{"1", "2"}));
  plat::TRecordingTracer t;
  Paint(&t);
  int down = 0;
  for (const auto& r : In(t, TraceKind::Polygon, g->CellRect(4, 0)))
    if (r.Points.size() == 3 && r.Points[2].Y > r.Points[0].Y) ++down;  // apex below: descending
  EXPECT_EQ(down, 1);
}

TEST_F(RenderTest, FloatFormatEventFormatsNumbersAndHostileFormatsLeaveTheText) {
  QString format;
  g->Renderer().OnGetFloatFormat = [&](plat::TObject*, int, int, bool& IsFloat, QString& F) {
    F = format;
    (void)IsFloat;
  };
  g->SetCells(2, 3, "3.14159");
  const struct { QString format; QString out; } cases[] = {
      {"%.2f", "3.14"}, {"%d", "3"}, {"%s%s", "3.14159"}, {"", "3.14159"}};
  for (const auto& k : cases) {
    format = k.format;
    EXPECT_EQ(g->Renderer().GetFormattedCell(2, 3), k.out) << k.format.toStdString();
  }
}

TEST_F(RenderTest, CellBordersDrawTheSidesTheEventAsksForInItsPens) {
  g->Renderer().OnGetCellBorder = [](plat::TObject*, int c, int r, plat::TPen* pen, TCellBorders& b) {
    if (c == 2 && r == 3) {
      b = TCellBorders{cbLeft, cbBottom};
      pen->SetColor(plat::clRed);
    }
  };
  g->Renderer().OnGetCellBorderProp = [](plat::TObject*, int, int, plat::TPen*, plat::TPen*, plat::TPen*,
                                         plat::TPen* bottom) { bottom->SetColor(plat::clBlue); };
  plat::TRecordingTracer t;
  Paint(&t);
  const TRect cell = g->CellRect(2, 3);
  int red = 0, blue = 0;
  for (const auto& r : t.OfKind(TraceKind::Line)) {
    if (r.Points.size() != 2) continue;
    if (r.PenColor == plat::clRed && r.Points[0].X == r.Points[1].X && std::abs(r.Points[0].X - cell.Left) <= 1) ++red;
    if (r.PenColor == plat::clBlue && r.Points[0].Y == r.Points[1].Y && std::abs(r.Points[0].Y - cell.Bottom) <= 2)
      ++blue;
  }
  EXPECT_EQ(red, 1);
  EXPECT_EQ(blue, 1);
}

TEST_F(RenderTest, SelectionRectangleFramesOnlyTheOuterEdges) {
  g->RenderSettings().SelectionRectangle = true;
  g->RenderSettings().SelectionRectangleColor = plat::clRed;
  g->SetCol(2);
  g->SetRow(2);
  g->SetSelection(plat::TGridRect{2, 2, 3, 3});
  plat::TRecordingTracer t;
  Paint(&t);
  int lines = 0;
  for (const auto& r : t.OfKind(TraceKind::Line))
    if (r.PenColor == plat::clRed && r.PenWidth == 2) ++lines;
  EXPECT_EQ(lines, 8);  // each of the four cells draws its two outer edges
}

TEST_F(RenderTest, RotatedTextIsDrawnTurnedInsteadOfPlain) {
  TCellGraphicView rot{ctRotated};
  rot.CellAngle = 90;
  g->SetCellGraphic(2, 3, rot);
  g->SetCells(2, 3, "up");
  plat::TRecordingTracer t;
  Paint(&t);
  int turned = 0;
  for (const auto& r : t.OfKind(TraceKind::TextRect))
    if (r.Text == "up" && r.Orientation == 900) ++turned;
  EXPECT_EQ(turned, 1);
  EXPECT_TRUE(In(t, TraceKind::DrawText, g->CellRect(2, 3)).empty());
}

class TFilterGrid : public TRenderGrid {
 public:
  using TRenderGrid::TRenderGrid;
  bool HasFilterList(int c) override { return c == 2 || c == 3; }
  bool FilterActive(int c) override { return c == 3; }
};

TEST_F(RenderTest, FilterRowShowsTheGlyphAndKeepsTheTextClearOfIt) {
  auto* f = new TFilterGrid(form.get());
  f->SetParent(form.get());
  f->SetBounds(0, 0, 400, 200);
  f->SetColCount(5);
  f->SetRowCount(5);
  f->SetDefaultColWidth(80);
  for (int c = 1; c < 5; ++c) f->SetCells(c, 0, "head");
  plat::TRecordingTracer t;
  f->Canvas()->SetTracer(&t);
  f->Widget()->grab();
  f->Canvas()->SetTracer(nullptr);
  // Without glyphs both filter columns show the funnel bitmap at the header's right edge.
  std::set<int> glyphs;
  for (const auto& r : t.OfKind(TraceKind::Draw))
    if (r.Rect.Top == 0 && r.Rect.Width() == 16) {
      glyphs.insert(r.Rect.Left / 80);
      const TRect cell = f->CellRect(r.Rect.Left / 80, 0);
      EXPECT_LE(r.Rect.Right, cell.Right);
      EXPECT_GE(r.Rect.Right, cell.Right - 2);
    }
  EXPECT_EQ(glyphs, (std::set<int>{2, 3}));
  for (const auto& r : t.OfKind(TraceKind::DrawText))
    if (r.Text == "head" && r.Rect.Left / 80 == 2) {
      EXPECT_LE(r.Rect.Right, f->CellRect(2, 0).Right - 16);
    }
}

class TComboGrid : public TRenderGrid {
 public:
  using TRenderGrid::TRenderGrid;
  bool HasComboBox(int c, int) override { return c == 2; }
};

TEST_F(RenderTest, AlwaysVisibleDropDownButtonsNarrowTheText) {
  auto* f = new TComboGrid(form.get());
  f->SetParent(form.get());
  f->SetBounds(0, 0, 400, 200);
  f->SetColCount(4);
  f->SetRowCount(4);
  f->SetDefaultColWidth(80);
  f->SetCells(2, 2, "value");
  const auto textRight = [&] {
    plat::TRecordingTracer t;
    f->Canvas()->SetTracer(&t);
    f->Widget()->grab();
    f->Canvas()->SetTracer(nullptr);
    for (const auto& r : t.OfKind(TraceKind::DrawText))
      if (r.Text == "value") return r.Rect.Right;
    return -1;
  };
  const int plain = textRight();
  f->Renderer().ControlLook.SetDropDownAlwaysVisible(true);
  EXPECT_EQ(textRight(), plain - 16);
}

TEST_F(RenderTest, RowIndicatorIsSkippedWhileOnlyTheFixedRowShows) {
  plat::TBitmap arrow(8, 8);
  arrow.Canvas()->Brush()->SetColor(plat::clRed);
  arrow.Canvas()->FillRect(TRect(0, 0, 8, 8));
  g->RenderSettings().RowIndicator = &arrow;
  g->SetRow(1);
  const auto drawn = [&] {
    plat::TRecordingTracer t;
    Paint(&t);
    return int(In(t, TraceKind::Draw, g->CellRect(0, 1)).size());
  };
  EXPECT_EQ(drawn(), 1);
  g->SetRowCount(2);
  g->RenderSettings().FixedRowAlways = true;
  EXPECT_EQ(drawn(), 0);
  g->RenderSettings().RowIndicator = nullptr;
}

TEST_F(RenderTest, BalloonTextOfACellIsPlain) {
  const struct { QString cell; QString tip; } cases[] = {
      {"<b>bold</b> text", "bold text"},
      {"{\\rtf1 \\b rich}", "rich"},
      {"\t\r\nplain\tcell", "plain cell"},
  };
  for (const auto& k : cases) {
    g->SetCells(2, 3, k.cell);
    EXPECT_EQ(g->Renderer().CellBalloonText(2, 3), k.tip) << k.cell.toStdString();
  }
  EXPECT_EQ(g->Renderer().CellBalloonText(40, 3), QString());
}

TEST(Balloon, TextAndTitleAreCutAndCleaned) {
  EXPECT_EQ(BalloonText(QString(3000, u'x')).size(), 2048);
  EXPECT_TRUE(BalloonText(QString(3000, u'x')).endsWith("..."));
  EXPECT_EQ(BalloonText("\r\n\tab\tc"), "ab c");
  EXPECT_EQ(BalloonTitle(QString(120, u't')).size(), 100);
  EXPECT_EQ(BalloonTitle("short"), "short");
}

TEST_F(RenderTest, NoDefaultDrawWithoutEventsStillDrawsTheText) {
  g->RenderSettings().NoDefaultDraw = true;
  g->SetCells(2, 3, "kept");
  plat::TRecordingTracer t;
  Paint(&t);
  EXPECT_FALSE(In(t, TraceKind::DrawText, g->CellRect(2, 3)).empty());
  int calls = 0;
  g->OnDrawCell = [&](plat::TObject*, int, int, TRect, plat::TGridDrawState) { ++calls; };
  t.Clear();
  Paint(&t);
  EXPECT_TRUE(In(t, TraceKind::DrawText, g->CellRect(2, 3)).empty());
  EXPECT_GT(calls, 0);
}

TEST_F(RenderTest, BackgroundOutsideCellsOnlyWhereCellsEnd) {
  g->Renderer().BackGround.SetDisplay(bdGradientVert);
  g->Renderer().BackGround.SetColor(plat::clRed);
  g->Renderer().BackGround.SetColorTo(plat::clBlue);
  // 6 x 80 = 480 of 500 pixels: a strip on the right; 10 rows of 24 = 240 of 280: a strip below.
  QImage img = Paint();
  const TColor right = PixelAt(img, 495, 10);
  EXPECT_NE(right, plat::clWhite);
  EXPECT_NE(right, g->Color());
  // Cells filling the client area: nothing outside painted.
  g->SetColCount(8);
  g->SetRowCount(20);
  plat::TRecordingTracer t;
  Paint(&t);
  EXPECT_EQ(g->Canvas()->HasClip(), false);
  // A gradient without an end colour paints nothing outside.
  g->SetColCount(6);
  g->SetRowCount(10);
  g->Renderer().BackGround.SetColorTo(clNone);
  img = Paint();
  EXPECT_EQ(PixelAt(img, 495, 10), plat::clWhite);
}

TEST_F(RenderTest, CellsShowTheirSliceOfTheGridGradientExceptWhenSelected) {
  g->Renderer().BackGround.SetDisplay(bdGradientVert);
  g->Renderer().BackGround.SetColor(Hex(0xFF0000));
  g->Renderer().BackGround.SetColorTo(Hex(0x0000FF));
  g->SetCol(3);
  g->SetRow(8);
  g->RenderSettings().Colors.SelectionColor = Hex(0x00FF00);
  const QImage img = Paint();
  const TRect top = g->CellRect(2, 1), low = g->CellRect(2, 7), sel = g->CellRect(3, 8);
  const TColor a = PixelAt(img, top.Left + 5, top.Top + 5), b = PixelAt(img, low.Left + 5, low.Top + 5);
  EXPECT_GT(a & 0xFF, b & 0xFF);                  // more red near the top
  EXPECT_LT((a >> 16) & 0xFF, (b >> 16) & 0xFF);  // more blue further down
  EXPECT_EQ(PixelAt(img, sel.Left + 5, sel.Top + 5), Hex(0x00FF00));
}

TEST_F(RenderTest, AGuideLineDrawnTwiceLeavesTheGridAsItWas) {
  QImage before(200, 100, QImage::Format_RGB32);
  before.fill(Qt::white);
  for (int x = 0; x < 200; x += 7) before.setPixel(x, 50, qRgb(20, 90, 200));
  QImage img = before;
  plat::TCanvas c(&img);
  g->Renderer().DrawColumnSizingLine(c, 40);
  c.EndPainting();
  EXPECT_NE(img, before);
  g->Renderer().DrawColumnSizingLine(c, 40);
  g->Renderer().DrawRowSizingLine(c, 30);
  g->Renderer().DrawRowSizingLine(c, 30);
  c.EndPainting();
  EXPECT_EQ(img, before);
}

TEST_F(RenderTest, WindowBorderOnlyForTheGradientLooksAndNeverWhenFlat) {
  const struct { TGridLook look; bool border; } cases[] = {
      {glStandard, false}, {glSoft, true},  {glClassic, false}, {glExt, true},  {glXP, true},
      {glListView, true},  {glVista, true}, {glWin7, true},     {glOffice2007, true}, {glCustom, false},
  };
  for (bool flat : {false, true}) {
    for (const auto& k : cases) {
      g->SetLook(k.look);
      g->RenderSettings().Colors.Flat = flat;
      plat::TRecordingTracer t;
      QImage img(100, 50, QImage::Format_RGB32);
      plat::TCanvas c(&img);
      c.SetTracer(&t);
      g->Renderer().PaintBorder(c, 100, 50, false);
      EXPECT_EQ(t.Count(TraceKind::Polyline), k.border && !flat ? 1 : 0) << int(k.look) << flat;
    }
  }
}

TEST(FocusFrame, CellPlusNineFromMinusFour) {
  EXPECT_EQ(TCellRenderer::FocusFrameRect(TRect(10, 20, 60, 40)), TRect(6, 16, 65, 45));
}

// A grid with every cell type, painted under each look to a PNG in the test's build folder.
TEST_F(RenderTest, ScreenshotsOfEveryCellTypeUnderEachLook) {
  g->SetBounds(0, 0, 640, 380);
  form->SetBounds(0, 0, 660, 400);
  g->SetColCount(7);
  g->SetRowCount(14);
  g->SetColWidths(0, 70);
  g->RenderSettings().Sort = {2, 0, true, false, false, sdAscending};
  const char* heads[] = {"", "Plain", "Sorted", "Object", "HTML", "Gauge", "Button"};
  for (int c = 0; c < 7; ++c) g->SetCells(c, 0, heads[c]);
  for (int r = 1; r < 14; ++r) {
    g->SetCells(0, r, QString::number(r));
    g->SetCells(1, r, QStringLiteral("text %1").arg(r));
    g->SetCells(2, r, QString::number(r * 37 % 100));
  }
  g->SetCells(4, 1, "<b>bold</b> and <i>italic</i>");
  g->SetCells(4, 2, "<font color=\"clRed\">red</font> text");
  g->SetCells(4, 3, "{\\rtf1 rich \\b text}");
  g->SetCells(4, 4, "https://example.invalid");
  g->RenderSettings().URLShow = true;
  TCellGraphicView v;
  const auto put = [&](int c, int r, TCellType t, auto&& fill) {
    v = TCellGraphicView{t};
    fill(v);
    g->SetCellGraphic(c, r, v);
  };
  const auto none = [](TCellGraphicView&) {};
  put(3, 1, ctCheckBox, [](TCellGraphicView& x) { x.CellBoolean = true; x.CellHAlign = haBeforeText; });
  g->SetCells(3, 1, "check");
  put(3, 2, ctCheckBox, none);
  put(3, 3, ctTriStateCheckBox, [](TCellGraphicView& x) { x.CellCheckBoxState = plat::cbGrayed; });
  put(3, 4, ctRadioButton, [](TCellGraphicView& x) { x.CellBoolean = true; });
  put(3, 5, ctRadio, [](TCellGraphicView& x) { x.CellIndex = 1; x.CellBoolean = true; });
  g->RadioItems[3] = {"a", "b", "c"};
  put(3, 6, ctRating, [](TCellGraphicView& x) { x.CellAngle = 4; x.CellIndex = int(Hex(0xFFC000)); x.CellBitmap = Hex(0xD0D0D0); });
  g->SetCells(3, 6, "2.5");
  put(3, 7, ctComment, none);
  g->SetCells(3, 7, "commented");
  put(3, 8, ctShape, [](TCellGraphicView& x) { x.CellAngle = controls::csCircle; x.CellBitmap = Hex(0x33AA33); x.CellIndex = 0; });
  put(3, 9, ctRotated, [](TCellGraphicView& x) { x.CellAngle = 20; });
  g->SetCells(3, 9, "turned");
  put(0, 9, ctNode, [](TCellGraphicView& x) { x.CellBoolean = true; x.CellHAlign = haBeforeText; });
  put(0, 10, ctNode, [](TCellGraphicView& x) { x.CellHAlign = haBeforeText; });
  g->NodeLevels = {{9, 1}, {10, 1}, {11, 2}, {12, 2}};
  put(5, 1, ctProgress, [](TCellGraphicView& x) { x.CellErrLen = 100; x.CellBitmap = Hex(0x2E8B57); x.CellIcon = plat::clWhite; x.CellText = "%.0f%%"; });
  g->SetCells(5, 1, "65");
  put(5, 2, ctXPProgress, [](TCellGraphicView& x) { x.CellErrLen = 100; });
  g->SetCells(5, 2, "80");
  put(5, 3, ctProgressPie, [](TCellGraphicView& x) { x.CellAngle = 30; x.CellBitmap = Hex(0x3366CC); });
  put(5, 4, ctRangeIndicator, [](TCellGraphicView& x) { x.CellIndex = 100; x.CellBitmap = plat::clRed; x.CellIcon = plat::clGreen; });
  g->SetCells(5, 4, "-40");
  put(6, 1, ctButton, [](TCellGraphicView& x) { x.CellIndex = 60 | (18 << 16); x.CellText = "Push"; x.CellHAlign = haCenter; x.CellVAlign = vaCenter; });
  put(6, 2, ctExpand, [](TCellGraphicView& x) { x.CellVar = true; });
  put(6, 3, ctExpand, none);
  put(6, 4, ctButton, [](TCellGraphicView& x) { x.CellIndex = 60 | (18 << 16); x.CellText = "Down"; x.CellBoolean = true; x.CellHAlign = haCenter; x.CellVAlign = vaCenter; });
  g->RenderSettings().ActiveCellShow = true;
  g->SetCol(1);
  g->SetRow(2);
  const struct { TGridLook look; const char* name; } looks[] = {
      {glStandard, "standard"}, {glSoft, "soft"},   {glClassic, "classic"}, {glExt, "ext"},
      {glXP, "xp"},             {glListView, "listview"}, {glVista, "vista"}, {glWin7, "win7"},
      {glOffice2007, "office2007"},
  };
  const struct { TControlStyle style; } styles[] = {{csClassic}, {csFlat}, {csWinXP}, {csTervane}, {csExt},
                                                     {csTheme}, {csClassic}, {csWinXP}, {csTervane}};
  int i = 0;
  for (const auto& l : looks) {
    g->SetLook(l.look);
    g->Renderer().ControlLook.SetControlStyle(styles[i++].style);
    QApplication::processEvents();
    const QImage img = Paint();
    EXPECT_TRUE(img.save(QString(TEST_BINARY_DIR) + "/render_" + l.name + ".png"));
  }
  controls::TColorTones tones;
  tones.Background = {Hex(0xFFFFFF), Hex(0xC8C8C8), Hex(0x222222)};
  tones.Foreground = {Hex(0x2B579A), Hex(0x2B579A), Hex(0xFFFFFF)};
  tones.Selected = {Hex(0xCDE6F7), Hex(0x92C0E0), Hex(0x000000)};
  tones.Hover = {Hex(0xE6F2FA), Hex(0xE6F2FA), Hex(0x000000)};
  g->SetColorTones(tones);
  g->Renderer().ControlLook.SetControlStyle(csClassic);
  EXPECT_TRUE(Paint().save(QString(TEST_BINARY_DIR) + "/render_tones.png"));
  g->SetStyle(gsOffice2010Blue);
  EXPECT_TRUE(Paint().save(QString(TEST_BINARY_DIR) + "/render_office2010.png"));
}

}  // namespace
}  // namespace grid
