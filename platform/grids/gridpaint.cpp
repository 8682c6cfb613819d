// TCustomGrid's paint loop: the fixed corner, the fixed rows, the fixed columns and the scrollable cells in
// view, each cell through HandleDrawCell, grid lines in the gaps, the background past the last cell, and the
// feedback of sizing and moving.
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/grids/grids.h"

namespace plat {

namespace {

constexpr TColor LineColor = clSilver;
constexpr TColor FixedLineColor = clBlack;

// Start pixels of a run of indexes in view (index -> pixel), computed once per paint.
struct TSpan {
  int First = 0;
  int Last = -1;  // inclusive; Last < First: nothing
  std::vector<int> Starts;
  bool Empty() const { return Last < First; }
};

// Brush and font changes make the canvas set up its painter again: change them only when they differ.
void Fill(TCanvas* c, const TRect& r, TColor colour) {
  if (r.IsEmpty()) return;
  if (c->Brush()->Style() != bsSolid) c->Brush()->SetStyle(bsSolid);
  if (c->Brush()->Color() != colour) c->Brush()->SetColor(colour);
  c->FillRect(r);
}

void SetFontColour(TCanvas* c, TColor colour) {
  if (c->Font()->Color() != colour) c->Font()->SetColor(colour);
}

}  // namespace

// The grid paints straight into the widget (Qt already buffers it): every pixel of the client is drawn,
// so no back buffer has to be made, cleared and copied for each paint.
void TCustomGrid::PaintDirect() {
  QWidget* w = Widget();
  if (!w || w->width() <= 0 || w->height() <= 0) return;
  QPainter painter(w);
  TCanvas* c = Canvas();
  c->SetPainter(&painter);
  c->Font()->Assign(*Font());
  if (ScrollBarVisible(SB_HORZ) && ScrollBarVisible(SB_VERT))  // the corner between the bars
    Fill(c, TRect(ClientWidth(), ClientHeight(), Width(), Height()), clBtnFace);
  // A paint event for part of the window (a scroll bar, one cell) draws only the cells that meet it.
  // The system clip is in the paint device's coordinates, which are not the grid's own when the grid is drawn
  // into another device (a parent grabbed to a picture, a print): map it back through the device transform.
  const QRect clip = painter.paintEngine() ? painter.paintEngine()->systemClip().boundingRect() : QRect();
  const QRect dirty = painter.deviceTransform().inverted().mapRect(clip);
  FPaintDirty = dirty.isEmpty() ? TRect() : TRect(dirty.left(), dirty.top(), dirty.right() + 1, dirty.bottom() + 1);
  Paint();
  FPaintDirty = TRect();
  c->SetPainter(nullptr);
}

void TCustomGrid::Paint() {
  TCanvas* c = Canvas();
  const bool focused = Focused();
  const TAxisView h = HorzView(), v = VertView();
  // The last scrollable index with a pixel in view.
  auto lastInView = [](const TAxisView& a) {
    if (a.Avail() <= 0 || a.First >= a.Axis->Count()) return a.First - 1;
    return std::min(a.Axis->IndexAt(a.Axis->Pos(a.First) + a.Avail() - 1), a.Axis->Count() - 1);
  };
  const int lastCol = lastInView(h), lastRow = lastInView(v);
  const int fixedCols = std::min(FFixedCols, ColCount()), fixedRows = std::min(FFixedRows, RowCount());
  PaintArea(0, fixedCols - 1, 0, fixedRows - 1, focused);
  PaintArea(h.First, lastCol, 0, fixedRows - 1, focused);
  PaintArea(0, fixedCols - 1, v.First, lastRow, focused);
  PaintArea(h.First, lastCol, v.First, lastRow, focused);

  // Past the last column and below the last row.
  const int right = lastCol >= h.First ? PixelOf(h, lastCol) + FCols.Size(lastCol) + FCols.Gap()
                                       : static_cast<int>(h.FixedExtent());
  const int bottom = lastRow >= v.First ? PixelOf(v, lastRow) + FRows.Size(lastRow) + FRows.Gap()
                                        : static_cast<int>(v.FixedExtent());
  Fill(c, TRect(right, 0, h.Client, v.Client), Color());
  Fill(c, TRect(0, bottom, std::min(right, h.Client), v.Client), Color());
  PaintFeedback();
}

void TCustomGrid::PaintArea(int firstCol, int lastCol, int firstRow, int lastRow, bool focused) {
  if (lastCol < firstCol || lastRow < firstRow) return;
  TCanvas* c = Canvas();
  const TAxisView h = HorzView(), v = VertView();
  std::vector<int> xs, ys;
  for (int i = firstCol; i <= lastCol; ++i) xs.push_back(PixelOf(h, i));
  for (int i = firstRow; i <= lastRow; ++i) ys.push_back(PixelOf(v, i));
  const TGridRect sel = Selection();
  const bool fixedArea = firstCol < FFixedCols || firstRow < FFixedRows;
  const TColor fontColour = Font()->Color();

  for (int r = firstRow; r <= lastRow; ++r) {
    const int y = ys[r - firstRow];
    for (int col = firstCol; col <= lastCol; ++col) {
      const int x = xs[col - firstCol];
      const TRect rect(x, y, x + FCols.Size(col), y + FRows.Size(r));
      if (!FPaintDirty.IsEmpty() &&
          (rect.Right + FCols.Gap() <= FPaintDirty.Left || rect.Left >= FPaintDirty.Right ||
           rect.Bottom + FRows.Gap() <= FPaintDirty.Top || rect.Top >= FPaintDirty.Bottom))
        continue;
      TGridDrawState state;
      const bool focusCell = focused && col == FCurrent.X && r == FCurrent.Y;
      if (fixedArea) {
        state.Include(gdFixed);
      } else {
        if (focusCell) state.Include(gdFocused);
        if (sel.Contains(col, r) &&
            (!focusCell || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect)))
          state.Include(gdSelected);
      }
      if (FDefaultDrawing) {
        Fill(c, rect, fixedArea ? FFixedColor : state.Contains(gdSelected) ? clHighlight : Color());
        SetFontColour(c, state.Contains(gdSelected) ? clHighlightText : fontColour);
      }
      HandleDrawCell(col, r, rect, state);
      if (FDefaultDrawing && fixedArea && FOptions.Contains(goFixedVertLine) && FOptions.Contains(goFixedHorzLine)) {
        TRect edge = rect;
        DrawEdge(c, edge, BDR_RAISEDINNER, BF_RECT);
      }
      if (FDefaultDrawing && state.Contains(gdFocused) && !FEditorMode && !FOptions.Contains(goRowSelect))
        c->DrawFocusRect(rect);
    }
  }

  // Lines in the gaps after each column and row of the area.
  const bool vert = fixedArea ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
  const bool horz = fixedArea ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
  const TColor colour = fixedArea ? FixedLineColor : LineColor;
  const int top = ys.front(), bottomEnd = ys.back() + FRows.Size(lastRow) + FRows.Gap();
  const int left = xs.front(), rightEnd = xs.back() + FCols.Size(lastCol) + FCols.Gap();
  if (vert && FCols.Gap() > 0)
    for (int col = firstCol; col <= lastCol; ++col) {
      const int x = xs[col - firstCol] + FCols.Size(col);
      Fill(c, TRect(x, top, x + FCols.Gap(), bottomEnd), colour);
    }
  if (horz && FRows.Gap() > 0)
    for (int r = firstRow; r <= lastRow; ++r) {
      const int y = ys[r - firstRow] + FRows.Size(r);
      Fill(c, TRect(left, y, rightEnd, y + FRows.Gap()), colour);
    }
}

void TCustomGrid::PaintFeedback() {
  TCanvas* c = Canvas();
  switch (FGridState) {
    case gsColSizing: Fill(c, TRect(FSizingPos, 0, FSizingPos + 1, ClientHeight()), clBlack); break;
    case gsRowSizing: Fill(c, TRect(0, FSizingPos, ClientWidth(), FSizingPos + 1), clBlack); break;
    case gsColMoving:
    case gsRowMoving: {
      const bool cols = FGridState == gsColMoving;
      const TRect r = cols ? CellRect(FMovePos, FFixedRows > 0 ? 0 : TopRow())
                           : CellRect(FFixedCols > 0 ? 0 : LeftCol(), FMovePos);
      if (r.IsEmpty()) break;
      const bool after = FMovePos > FMoveIndex;
      if (cols) {
        const int x = after ? r.Right : r.Left;
        Fill(c, TRect(x - 1, 0, x + 2, ClientHeight()), clHighlight);
      } else {
        const int y = after ? r.Bottom : r.Top;
        Fill(c, TRect(0, y - 1, ClientWidth(), y + 2), clHighlight);
      }
      break;
    }
    default: break;
  }
}

}  // namespace plat
