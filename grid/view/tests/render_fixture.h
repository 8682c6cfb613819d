#pragma once
// A shown grid of 6 columns x 10 rows of 80 x 24 cells (one fixed row and column) in a pinned font, painted
// into an image with an optional canvas tracer, and the trace records that start inside one cell.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/canvastracer.h"
#include "platform/testing/pixels.h"

namespace grid {

template <class Grid>
struct TShownGrid : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  Grid* g;
  TShownGrid() {
    form->SetBounds(0, 0, 520, 300);
    g = new Grid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 500, 280);
    g->SetColCount(6);
    g->SetRowCount(10);
    g->SetDefaultColWidth(80);
    g->SetDefaultRowHeight(24);
    g->Font()->SetName("DejaVu Sans");
    g->Font()->SetSize(8);
    g->RenderSettings().FixedFont.Assign(g->Font());
    g->SetColor(plat::clWhite);
    form->Show();
    QApplication::processEvents();
  }
  QImage Paint(plat::ICanvasTracer* tracer = nullptr) {
    g->Canvas()->SetTracer(tracer);
    QImage img = g->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    g->Canvas()->SetTracer(nullptr);
    return img;
  }
  plat::TRecordingTracer Trace() {
    plat::TRecordingTracer t;
    Paint(&t);
    return t;
  }
  static std::vector<plat::TCanvasTraceRecord> In(const plat::TRecordingTracer& t, plat::TraceKind kind,
                                                  plat::TRect cell) {
    std::vector<plat::TCanvasTraceRecord> out;
    for (const auto& r : t.OfKind(kind)) {
      const plat::TPoint p = r.Points.empty() ? plat::TPoint(r.Rect.Left, r.Rect.Top) : r.Points.front();
      if (p.X >= cell.Left && p.X < cell.Right && p.Y >= cell.Top && p.Y < cell.Bottom) out.push_back(r);
    }
    return out;
  }
};

}  // namespace grid
