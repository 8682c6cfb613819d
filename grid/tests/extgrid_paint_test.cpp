// The string grid object paints through the cell renderer: its look, selection colours, disjunct selections,
// cell objects and HTML texts reach the painted cells, and its colour properties are the renderer's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvastracer.h"
#include "platform/graphics/classic.h"
#include "platform/testing/pixels.h"

namespace grid {
namespace {

using plat::TColor;
using plat::TRect;
using plat::TraceKind;
using plat::testing::PixelAt;

constexpr TColor kSelection = TColor(0x336699);

// 6 x 10 cells of 80 x 24, one fixed row and column, a selection over (2,2)-(3,3), a check box in (2,5) and an
// HTML text in (3,6).
struct ExtGridPaint : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g;
  ExtGridPaint() {
    form->SetBounds(0, 0, 520, 300);
    g = new TExtStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 500, 280);
    g->SetColCount(6);
    g->SetRowCount(10);
    g->SetDefaultColWidth(80);
    g->SetDefaultRowHeight(24);
    g->Font()->SetName("DejaVu Sans");
    g->Font()->SetSize(8);
    g->FixedFont()->Assign(g->Font());
    g->SetColor(plat::clWhite);
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
    form->Show();
    QApplication::processEvents();
  }
  QImage Paint(plat::ICanvasTracer* tracer = nullptr) {
    g->Canvas()->SetTracer(tracer);
    QImage img = g->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    g->Canvas()->SetTracer(nullptr);
    return img;
  }
  // A point inside the cell, clear of its left-aligned text and the focus frame.
  TColor Fill(const QImage& img, int c, int r) {
    const TRect cell = g->CellRect(c, r);
    return PixelAt(img, cell.Right - 6, cell.Top + 6);
  }
  static std::vector<plat::TCanvasTraceRecord> In(const plat::TRecordingTracer& t, TraceKind kind, TRect cell) {
    std::vector<plat::TCanvasTraceRecord> out;
    for (const auto& r : t.OfKind(kind)) {
      const plat::TPoint p = r.Points.empty() ? plat::TPoint(r.Rect.Left, r.Rect.Top) : r.Points.front();
      if (p.X >= cell.Left && p.X < cell.Right && p.Y >= cell.Top && p.Y < cell.Bottom) out.push_back(r);
    }
    return out;
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

}  // namespace
}  // namespace grid
