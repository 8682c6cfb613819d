// The renderer's newer pieces on a shown grid: the grid's virtuals deciding colours, alignment and fixed cells,
// printing fonts and colours, the named bitmaps of check boxes, radio buttons and nodes, scroll-bar cells,
// self-drawing cells, header drop-down buttons, themed headers, buttons and progress bars, the selection's
// resize handle and the measured box of turned text.
#include <QImage>

#include <map>

#include "grid/view/render_grid.h"
#include "grid/view/render_resources.h"
#include "grid/view/tests/render_fixture.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/themes.h"

namespace grid {
namespace {

using plat::TColor;
using plat::TRect;
using plat::TraceKind;
using plat::testing::PixelAt;

// A grid whose virtuals answer for a few cells: column 2 right and bottom aligned, column 3 word-wrapped, cell
// (4, 5) fixed; printing takes a 14-point font and a yellow brush; a scroll bar in (2, 3); row 6 not editable.
class THostGrid : public TRenderGrid {
 public:
  using TRenderGrid::TRenderGrid;
  void CellAlignment(int RCol, int ARow, plat::TAlignment& HA, TVAlignment& VA) override {
    TRenderGrid::CellAlignment(RCol, ARow, HA, VA);
    if (RCol == 2) HA = plat::taRightJustify, VA = vtaBottom;
  }
  void DoGetWordWrap(int ACol, int, bool& WW) override { WW = WW || ACol == 3; }
  bool IsFixed(int ACol, int ARow) override { return (ACol == 4 && ARow == 5) || TRenderGrid::IsFixed(ACol, ARow); }
  const plat::TFont* PrintFont(bool) override { return &PrintFace; }
  void DoGetCellPrintColor(int, int, TGridDrawState, plat::TBrush* B, plat::TFont*) override {
    B->SetColor(plat::clYellow);
  }
  bool ScrollProp(int RCol, int ARow, int& Page, int& Range) override {
    if (RCol != 2 || ARow != 3 || Range_ < 0) return TRenderGrid::ScrollProp(RCol, ARow, Page, Range);
    Page = 2, Range = Range_;
    return true;
  }
  int ScrollPosition(int, int) override { return 3; }
  bool IsCellEditable(int, int ARow) override { return ARow != 6; }
  bool FixedDropDownShown(int) override { return true; }
  plat::TFont PrintFace;
  int Range_ = -1;
};

struct RenderParts : TShownGrid<THostGrid> {
  RenderParts() {
    g->PrintFace.SetName("DejaVu Sans");
    g->PrintFace.SetSize(14);
  }
  std::vector<plat::TCanvasTraceRecord> TextsIn(const plat::TRecordingTracer& t, int c, int r) {
    return In(t, TraceKind::DrawText, g->CellRect(c, r));
  }
  // The contents of one cell in a given state, drawn on a bitmap of the grid's size.
  plat::TRecordingTracer DrawCell(int c, int r, plat::TGridDrawState State) {
    plat::TBitmap bmp(500, 280);
    plat::TRecordingTracer t;
    bmp.Canvas()->SetTracer(&t);
    bmp.Canvas()->Font()->Assign(g->Font());
    g->Renderer().DrawCellContents(*bmp.Canvas(), c, r, g->CellRect(c, r), State);
    bmp.Canvas()->SetTracer(nullptr);
    return t;
  }
};

TEST_F(RenderParts, TheGridsVirtualsDecideAlignmentWordWrapAndFixedCells) {
  g->RenderSettings().WordWrap = false;
  for (int c = 1; c < 5; ++c) g->SetCells(c, 3, QStringLiteral("text %1").arg(c));
  const plat::TRecordingTracer t = Trace();
  const auto flags = [&](int c) { return TextsIn(t, c, 3).at(0).Flags; };
  EXPECT_TRUE(flags(2) & plat::DT_RIGHT);
  EXPECT_TRUE(flags(2) & plat::DT_BOTTOM);
  EXPECT_FALSE(flags(1) & plat::DT_RIGHT);
  EXPECT_TRUE(flags(3) & plat::DT_WORDBREAK);
  EXPECT_FALSE(flags(1) & plat::DT_WORDBREAK);

  plat::TBrush brush;
  plat::TFont font;
  TColor to, mf, mt;
  plat::TAlignment ha;
  TVAlignment va;
  bool ww = false;
  TCellGradientDirection gd;
  plat::TGridDrawState state;
  g->Renderer().GetVisualProperties(4, 5, state, false, true, true, &brush, to, mf, mt, &font, ha, va, ww, gd);
  EXPECT_TRUE(state.Contains(plat::gdFixed));
  // Printing: the print font and colour, and a fixed cell is not marked fixed.
  for (int c : {2, 0}) {
    plat::TGridDrawState ps;
    g->Renderer().GetVisualProperties(c, 5, ps, true, false, true, &brush, to, mf, mt, &font, ha, va, ww, gd);
    EXPECT_EQ(font.Size(), 14) << c;
    EXPECT_EQ(brush.Color(), plat::clYellow) << c;
    EXPECT_FALSE(ps.Contains(plat::gdFixed)) << c;
  }
}

TEST(GridBitmaps, EachHasItsSizeAndItsKeyColourInTheCorners) {
  const std::map<QString, int> sizes{
      {"ESGCHK01", 20}, {"ESGCHK04", 20}, {"ESGCHK05", 16}, {"ESGCHK08", 16}, {"ESGRAD01", 16},
      {"ESGRAD08", 16}, {"ESGLEAFOPEN", 16}, {"ESGLEAFCLOSE", 16}, {"XPNODEO", 9}, {"XPNODEC", 9},
      {"ESGFILT", 16}, {"metrocheckon", 16}, {"metroradiooff", 16}, {"ESGCLOSE", 16}};
  for (const auto& [name, size] : sizes) {
    const plat::TBitmap* b = GridBitmap(name);
    ASSERT_NE(b, nullptr) << name.toStdString();
    EXPECT_EQ(b->Width(), size) << name.toStdString();
    EXPECT_EQ(b->Height(), size) << name.toStdString();
    const QImage& img = b->Image();
    EXPECT_EQ(img.pixelColor(0, size - 1), QColor(255, 0, 255)) << name.toStdString();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(255, 0, 255)) << name.toStdString();
  }
  EXPECT_EQ(GridBitmap("esgchk05"), GridBitmap("ESGCHK05"));
  EXPECT_EQ(GridBitmap("NOSUCHBITMAP"), nullptr);
  // Checked and unchecked, enabled and disabled differ.
  EXPECT_NE(GridBitmap("ESGCHK05")->Image(), GridBitmap("ESGCHK06")->Image());
  EXPECT_NE(GridBitmap("ESGCHK05")->Image(), GridBitmap("ESGCHK07")->Image());
}

// The XP and Ext looks draw the bitmap of their state, transparent: its glyph pixels land in the cell and its
// key colour never shows.
TEST_F(RenderParts, CheckBoxesAndRadioButtonsOfTheBitmapLooksShowTheirBitmap) {
  const struct { TCellType type; TControlStyle style; bool checked; int row; const char* name; } cases[] = {
      {ctCheckBox, csWinXP, true, 3, "ESGCHK05"},   {ctCheckBox, csWinXP, false, 3, "ESGCHK06"},
      {ctCheckBox, csWinXP, true, 6, "ESGCHK07"},   {ctCheckBox, csWinXP, false, 6, "ESGCHK08"},
      {ctCheckBox, csExt, true, 3, "ESGCHK01"},     {ctCheckBox, csExt, false, 6, "ESGCHK04"},
      {ctRadioButton, csWinXP, true, 3, "ESGRAD05"}, {ctRadioButton, csExt, false, 6, "ESGRAD04"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    g->Renderer().ControlLook.SetControlStyle(k.style);
    TCellGraphicView v{k.type};
    v.CellBoolean = k.checked;
    g->SetCellGraphic(2, k.row, v);
    plat::TRecordingTracer t;
    const QImage img = Paint(&t);
    const auto draws = In(t, TraceKind::Draw, g->CellRect(2, k.row));
    ASSERT_EQ(draws.size(), 1u);
    const QImage& glyph = GridBitmap(k.name)->Image();
    int glyphPixels = 0;
    for (int y = 0; y < glyph.height(); ++y)
      for (int x = 0; x < glyph.width(); ++x) {
        const QColor p = glyph.pixelColor(x, y);
        const TColor drawn = PixelAt(img, draws[0].Rect.Left + x, draws[0].Rect.Top + y);
        EXPECT_NE(drawn, TColor(0xFF00FF));
        if (p == QColor(255, 0, 255)) continue;
        EXPECT_EQ(drawn, plat::RGB(p.red(), p.green(), p.blue())) << x << "," << y;
        ++glyphPixels;
      }
    EXPECT_GT(glyphPixels, 20);
    g->ClearCellGraphic(2, k.row);
  }
}

// Leaf and XP nodes show their bitmaps on the cell's colour; the 3-D node a raised frame; glyph nodes their
// glyph; the flat node its box.
TEST_F(RenderParts, EachNodeTypeDrawsItsGlyph) {
  g->NodeLevels[3] = 1;
  plat::TBitmap glyph(11, 11);
  glyph.Canvas()->Brush()->SetColor(plat::clRed);
  glyph.Canvas()->FillRect(TRect(0, 0, 11, 11));
  g->Renderer().CellNode.SetExpandGlyph(&glyph);
  g->Renderer().CellNode.SetContractGlyph(&glyph);
  const struct { TNodeType type; TraceKind kind; int width; } cases[] = {
      {cnLeaf, TraceKind::Draw, 16}, {cnXP, TraceKind::Draw, 9}, {cnGlyph, TraceKind::Draw, 11},
      {cn3D, TraceKind::Edge, 0},    {cnFlat, TraceKind::Rectangle, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(int(k.type));
    g->Renderer().CellNode.SetNodeType(k.type);
    TCellGraphicView v{ctNode};
    v.CellBoolean = true;
    g->SetCellGraphic(0, 3, v);
    plat::TRecordingTracer t;
    const QImage img = Paint(&t);
    const auto records = In(t, k.kind, g->CellRect(0, 3));
    ASSERT_FALSE(records.empty());
    if (k.width > 0) {
      EXPECT_EQ(records[0].Rect.Width(), k.width);
      // The bitmap's key colour became the cell's colour.
      if (k.type != cnGlyph) {
        EXPECT_NE(PixelAt(img, records[0].Rect.Left, records[0].Rect.Top), TColor(0xFF00FF));
      }
    }
    g->ClearCellGraphic(0, 3);
  }
}

TEST_F(RenderParts, AScrollBarCellShowsItsBarAndMovesItsTextUp) {
  g->SetCells(2, 3, QStringLiteral("scrolled"));
  g->SetCells(2, 4, QStringLiteral("plain"));
  const TRect cell = g->CellRect(2, 3);
  plat::TRecordingTracer none = Trace();
  EXPECT_TRUE(In(none, TraceKind::FrameControl, cell).empty());
  g->Range_ = 2;  // the page shows the whole range: no bar
  EXPECT_TRUE(In(Trace(), TraceKind::FrameControl, cell).empty());
  g->Range_ = 10;
  const plat::TRecordingTracer t = Trace();
  const auto arrows = In(t, TraceKind::FrameControl, cell);
  ASSERT_EQ(arrows.size(), 2u);
  for (const auto& a : arrows) {
    EXPECT_EQ(a.Flags & 0xFFFF, unsigned(plat::DFC_SCROLL));
    EXPECT_EQ(a.Rect.Width(), 17);
    EXPECT_LE(a.Rect.Right, cell.Right);
  }
  const TRect before = TextsIn(none, 2, 3).at(0).Rect, after = TextsIn(t, 2, 3).at(0).Rect;
  EXPECT_EQ(after.Top, before.Top - 3);  // the position
  EXPECT_EQ(after.Right, before.Right - 17);
  EXPECT_EQ(TextsIn(t, 2, 4).at(0).Rect, TextsIn(none, 2, 4).at(0).Rect);
}

// A self-drawing cell object draws in its cell, before the text when it says so.
TEST_F(RenderParts, SelfDrawingCellsDrawThemselvesBeforeOrAfterTheText) {
  struct TDrawer : ICellDrawer {
    bool Before = false;
    TRect Last;
    bool Selected = false;
    void Draw(plat::TCanvas& C, TRect R, TBaseGrid*, bool Sel, int, int) override {
      Last = R;
      Selected = Sel;
      C.Brush()->SetColor(plat::clLime);
      C.FillRect(TRect(R.Left + 2, R.Top + 2, R.Left + 10, R.Top + 10));
    }
    int GetWidth() override { return 12; }
    int GetHeight() override { return 12; }
    bool DrawsBeforeText() override { return Before; }
  } drawer;
  g->SetCells(3, 4, QStringLiteral("after"));
  for (bool before : {false, true}) {
    drawer.Before = before;
    TCellGraphicView v{ctInterface};
    v.Drawer = &drawer;
    g->SetCellGraphic(3, 4, v);
    const plat::TRecordingTracer t = Trace();
    int fill = -1, text = -1;
    for (int i = 0; i < int(t.Records.size()); ++i) {
      const auto& r = t.Records[std::size_t(i)];
      if (r.Kind == TraceKind::FillRect && r.BrushColor == plat::clLime) fill = i;
      if (r.Kind == TraceKind::DrawText && r.Text == "after") text = i;
    }
    ASSERT_GE(fill, 0);
    ASSERT_GE(text, 0);
    EXPECT_EQ(fill < text, before);
    const TRect cell = g->CellRect(3, 4);
    EXPECT_TRUE(drawer.Last.Left >= cell.Left - 2 && drawer.Last.Right <= cell.Right) << before;
  }
}

TEST_F(RenderParts, HotHeadersShowTheirDropDownButton) {
  g->Renderer().ControlLook.FixedDropDownButton = true;
  const TRect cell = g->CellRect(2, 0);
  const plat::TRecordingTracer t = DrawCell(2, 0, plat::TGridDrawState{plat::gdHotTrack});
  int separators = 0;
  for (const auto& l : t.OfKind(TraceKind::Line))
    if (l.Points[0].X == cell.Right - 16 && l.Points[1].X == l.Points[0].X) ++separators;
  EXPECT_EQ(separators, 1);
  bool triangle = false;
  for (const auto& p : t.OfKind(TraceKind::Polygon))
    if (p.Points.size() == 3 && p.BrushColor == plat::clBlack) triangle = true;
  EXPECT_TRUE(triangle);
  // Without the hot state the header has no button.
  EXPECT_TRUE(DrawCell(2, 0, plat::TGridDrawState{}).OfKind(TraceKind::Polygon).empty());
}

TEST_F(RenderParts, ListViewHeadersUseTheThemedHeaderItem) {
  g->SetLook(glListView);
  const struct { plat::TGridDrawState state; unsigned part, themeState; } cases[] = {
      {{}, 3, 1}, {{plat::gdHotTrack}, 1, 2}, {{plat::gdPressed}, 1, 3}};
  for (const auto& k : cases) {
    const auto parts = DrawCell(2, 0, k.state).OfKind(TraceKind::ThemePart);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].Text, "header");
    EXPECT_EQ(parts[0].Flags, k.part | (k.themeState << 16));
  }
}

TEST_F(RenderParts, ButtonsAndProgressBarsTakeTheThemedParts) {
  TCellGraphicView button{ctButton, haLeft, vaCenter, 40 | (16 << 16)};
  button.CellText = QStringLiteral("Go");
  g->SetCellGraphic(2, 3, button);
  g->SetCells(3, 3, QStringLiteral("40"));
  TCellGraphicView bar{ctProgress};
  g->SetCellGraphic(3, 3, bar);
  g->Renderer().ControlLook.SetControlStyle(csTheme);
  g->Renderer().ControlLook.SetProgressXP(true);
  const plat::TRecordingTracer t = Trace();
  std::multimap<QString, unsigned> parts;
  for (const auto& p : t.OfKind(TraceKind::ThemePart)) parts.emplace(p.Text.toLower(), p.Flags & 0xFFFF);
  EXPECT_EQ(parts.count("button"), 1u);
  EXPECT_EQ(parts.find("button")->second, unsigned(plat::BP_PUSHBUTTON));
  ASSERT_EQ(parts.count("progress"), 2u);  // the bar, then its chunk
  // Flat buttons are drawn by the frame control instead.
  g->Renderer().ControlLook.SetFlatButton(true);
  EXPECT_FALSE(In(Trace(), TraceKind::FrameControl, g->CellRect(2, 3)).empty());
}

TEST_F(RenderParts, TheResizeHandleMarksTheSelectionsBottomRightCell) {
  g->RenderSettings().SelectionRectangle = true;
  g->RenderSettings().SelectionRectangleColor = TColor(0x0000C0);
  g->RenderSettings().SelectionResizer = true;
  g->SetSelection(plat::TGridRect{2, 2, 3, 4});
  const QImage img = Paint();
  const TRect corner = g->CellRect(3, 4), other = g->CellRect(2, 4);
  EXPECT_EQ(PixelAt(img, corner.Right - 3, corner.Bottom - 3), TColor(0x0000C0));
  EXPECT_NE(PixelAt(img, other.Right - 3, other.Bottom - 3), TColor(0x0000C0));
  g->RenderSettings().SelectionResizer = false;
  EXPECT_NE(PixelAt(Paint(), corner.Right - 3, corner.Bottom - 3), TColor(0x0000C0));
}

TEST_F(RenderParts, TurnedTextMeasuresTheBoxOfItsTurnedExtent) {
  g->SetCells(2, 3, QStringLiteral("turned text"));
  const plat::TSize flat = g->Renderer().GetCellTextSize(2, 3, false, false);
  for (int angle : {0, 90}) {
    TCellGraphicView v{ctRotated};
    v.CellAngle = angle;
    g->SetCellGraphic(2, 3, v);
    const plat::TSize turned = g->Renderer().GetCellTextSize(2, 3, false, false);
    if (angle == 0) {
      EXPECT_EQ(turned.cx, flat.cx + 12);
      EXPECT_EQ(turned.cy, flat.cy + 12);
    } else {
      EXPECT_EQ(turned.cx, flat.cy + 12);
      EXPECT_EQ(turned.cy, flat.cx + 12);
    }
  }
}

}  // namespace
}  // namespace grid
