// The paint pass: the visible rows from the one at the window's top, each painted into a row image (or straight
// onto the target) with its erase, cells, lines, button, images, content and events, then the area below.
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>

#include "platform/graphics/drawtext.h"
#include "tree/checkimages.h"
#include "tree/checkstate.h"
#include "tree/treecontrol.h"
#include "tree/treegesture.h"
#include "tree/treeutils.h"

namespace lazytree {

using plat::TCanvas;
using plat::TRect;

namespace {

int MulDiv(int a, int b, int c) { return c == 0 ? -1 : static_cast<int>(std::lround(double(a) * b / c)); }

// The row's content centre line and the expand button's top.
void VerticalAlignment(PLazyNode Node, TLTNodeAlignment Mode, int ImageHeight, bool Buttons, int ButtonHeight,
                       int& VAlign, int& ButtonY) {
  const int h = Node->NodeHeight;
  switch (Mode) {
    case naFromBottom: VAlign = h - Node->Align; break;
    case naFromTop: VAlign = Node->Align; break;
    default:
      if (ImageHeight > 0)
        VAlign = MulDiv(h - ImageHeight, Node->Align, 100) + ImageHeight / 2;
      else if (Buttons)
        VAlign = MulDiv(h - ButtonHeight, Node->Align, 100) + ButtonHeight / 2;
      else
        VAlign = MulDiv(h, Node->Align, 100);
      break;
  }
  ButtonY = VAlign - ButtonHeight / 2 - (ButtonHeight & 1);
}

}  // namespace

bool TBaseLazyTreeControl::LeftButtonDown() const {
  return TreeStates().Has(tsLeftButtonDown) || (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
}

void TBaseLazyTreeControl::PaintTree(TCanvas* Canvas, const TRect& Window, const plat::TPoint& Target,
                                     TLTInternalPaintOptions Options) {
  if (TreeStates().Has(tsPainting)) return;
  DoStateChange({tsPainting});
  struct Leave {
    TBaseLazyTreeControl* tree;
    ~Leave() noexcept(false) { tree->DoStateChange({}, {tsPainting}); }
  } leave{this};
  if (OnBeforePaint) OnBeforePaint(this, Canvas);
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  if (paint.Has(toAlwaysHideSelection) || (!Focused() && paint.Has(toHideSelection))) Options.Exclude(poDrawSelection);
  if (paint.Has(toHideFocusRect)) Options.Exclude(poDrawFocusRect);
  const bool unbuffered = Options.Has(poUnbuffered);
  const bool useColumns = FHeader->UseColumns();
  const TLazyTreeColumns& cols = FHeader->Columns();
  uint32_t top = 0;
  PLazyNode node =
      Window.Top >= 0 ? NodeAtPosition(*this, FPositionCache.Usable(), static_cast<uint32_t>(Window.Top), top) : nullptr;
  int nodeTop = node ? static_cast<int>(top) : Window.Top;
  // The rubber band, from here on in the coordinates of the row being painted.
  TRect band = NormalizedRect(FGestures->NewRect());
  const bool selecting = TreeStates().Has(tsDrawSelecting) && !band.IsEmpty() && LeftButtonDown();
  band.Top -= nodeTop;
  band.Bottom -= nodeTop;
  const int maxRight = Target.X + Window.Width(), maxBottom = Target.Y + Window.Height();
  TRect targetRect(Target.X, Target.Y - (Window.Top - nodeTop), maxRight, Target.Y - (Window.Top - nodeTop));
  Canvas->Font()->Assign(*Font());
  const int plusWidth = FButtonImages.Plus ? FButtonImages.Plus->Width() : 9;
  const int plusHeight = FButtonImages.Plus ? FButtonImages.Plus->Height() : 9;
  const int half = static_cast<int>(std::nearbyint((static_cast<int>(FIndent) - plusWidth) / 2.0));
  int buttonX = half + 1;
  QImage rowImage;
  TCanvas rowCanvas;
  while (node && targetRect.Top < maxBottom) {
    std::vector<TLTLineType> lines;
    int selectLevel = ComputeLineImage(node, lines);
    const int indentSize = static_cast<int>(lines.size());
    if (!paint.Has(toFixedIndent)) buttonX = half + (indentSize - 1) * static_cast<int>(FIndent) + 1;
    if (!node->Has(vsInitialized)) InitNode(node);
    if (node->Has(vsSelected) && !paint.Has(toChildrenAbove)) ++selectLevel;
    MeasureItemHeight(node);
    const int h = node->NodeHeight;
    // Dots sit on the tree's own checkerboard: the origin's parity makes up for where the row lands.
    const plat::TPoint brushOrigin = unbuffered ? plat::TPoint((Window.Left + targetRect.Left) & 1,
                                                               (nodeTop + targetRect.Top) & 1)
                                                : plat::TPoint(Window.Left & 1, nodeTop & 1);
    nodeTop += h;
    targetRect.Bottom = targetRect.Top + h;
    if (!(Options.Has(poSelectedOnly) && selectLevel == 0) && h > 0) {
      TCanvas* c = Canvas;
      if (unbuffered) {
        c->SaveDC();
        c->SetWindowOrg({Window.Left - targetRect.Left, -targetRect.Top});
        c->IntersectClipRect(TRect(Window.Left, 0, Window.Right, std::min(h, maxBottom - targetRect.Top)));
      } else {
        // One row image serves every row of its height; each row starts cleared. A row is opaque, so the image
        // is too, and copying it to the target takes no conversion.
        if (rowImage.width() != Window.Width() || rowImage.height() != h)
          rowImage = QImage(Window.Width(), h, QImage::Format_RGB32);
        rowImage.fill(Qt::black);
        rowCanvas.SetDevice(&rowImage);
        rowCanvas.SetWindowOrg({Window.Left, 0});
        rowCanvas.Font()->Assign(*Font());
        c = &rowCanvas;
      }
      c->SetBrushOrigin(brushOrigin);
      PaintRow(c, node, Window, lines, indentSize, buttonX, plusHeight, Options, useColumns, cols, targetRect.Top);
      if (selecting) DrawSelectionFrame(c, Window.Left, TRect(0, 0, Window.Width(), h), band);
      if (unbuffered) {
        c->RestoreDC(-1);
      } else {
        rowCanvas.SetDevice(nullptr);
        Canvas->DrawImage(plat::Bounds(targetRect.Left, targetRect.Top, rowImage.width(), h), rowImage,
                          plat::Rect(0, 0, rowImage.width(), h), plat::cmSrcCopy);
      }
    }
    targetRect.Top += h;
    band.Top -= h;
    band.Bottom -= h;
    node = GetNextVisible(node, true);
  }
  PaintBelowRows(Canvas, plat::TPoint(targetRect.Left, targetRect.Top), maxRight, maxBottom, Window, Options);
  if (selecting && targetRect.Top < maxBottom) {
    TRect onTarget = band;
    plat::OffsetRect(onTarget, targetRect.Left - Window.Left, targetRect.Top);
    DrawSelectionFrame(Canvas, 0, TRect(targetRect.Left, targetRect.Top, maxRight, maxBottom), onTarget);
  }
  if (RootNode()->ChildCount == 0 && !FEmptyListMessage.isEmpty()) {
    Canvas->Font()->Assign(*Font());
    Canvas->Font()->SetColor(plat::clGrayText);
    Canvas->Brush()->SetStyle(plat::bsClear);
    TRect r(OffsetX() + 2, 2, OffsetX() + Width(), Height() - 2);
    Canvas->DrawText(FEmptyListMessage, r, plat::DT_LEFT | plat::DT_NOCLIP | plat::DT_WORDBREAK);
  }
  if (OnAfterPaint) OnAfterPaint(this, Canvas);
}

// What every cell of a row is painted with.
struct TBaseLazyTreeControl::TRowPaint {
  PLazyNode Node;
  const TRect& Window;
  const std::vector<TLTLineType>& Lines;
  int IndentSize, ButtonX, ButtonY, VAlign;
  TLTInternalPaintOptions Options;
  bool UseColumns;
};

TColumnIndex TBaseLazyTreeControl::NextPaintColumn(PLazyNode, TColumnIndex Column, TRect&) {
  if (!FHeader->UseColumns()) return ColumnNotFound;
  return FHeader->Columns().GetNextVisibleColumn(Column);
}

plat::TSize TBaseLazyTreeControl::NodeImageSize(PLazyNode, TLTImageKind, TColumnIndex) {
  return FImages.List ? plat::TSize{FImages.List->Width(), FImages.List->Height()} : plat::TSize{0, 0};
}

void TBaseLazyTreeControl::PaintRow(TCanvas* c, PLazyNode node, const TRect& Window,
                                    const std::vector<TLTLineType>& lines, int indentSize, int buttonX, int plusHeight,
                                    TLTInternalPaintOptions Options, bool useColumns, const TLazyTreeColumns& cols,
                                    int rowTargetTop) {
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  const int h = node->NodeHeight;
  int imageHeight = 0;
  if (FImages.List)
    imageHeight = NodeImageSize(node, ikNormal, NoColumn).cy;
  else if (FStateImages.List)
    imageHeight = FStateImages.List->Height();
  int vAlign = 0, buttonY = 0;
  VerticalAlignment(node, FNodeAlignment, imageHeight, paint.Has(toShowButtons), plusHeight, vAlign, buttonY);
  const TRect itemRect(0, 0, std::max<int>(ClientW(), static_cast<int>(RangeX())), h);
  bool custom = false;
  if (OnBeforeItemPaint) OnBeforeItemPaint(this, c, node, itemRect, custom);
  if (custom) return;
  // Erase.
  plat::TColor color = FColors.BackGroundColor();
  TItemEraseAction action = eaDefault;
  if (OnBeforeItemErase) OnBeforeItemErase(this, c, node, itemRect, color, action);
  const TRect eraseRect(Window.Left, 0, Window.Right, h);
  if (action == eaColor) {
    c->Brush()->SetColor(color);
    c->FillRect(eraseRect);
  } else if (action == eaDefault) {
    // The picture keeps its place in the client area while the rows scroll over it.
    EraseRowDefault(c, node, eraseRect, color, Options, plat::TPoint(-EffectiveOffsetX(), rowTargetTop));
  }
  if (OnAfterItemErase) OnAfterItemErase(this, c, node, itemRect);
  // Cells: one per visible column (a cell may take in the empty cells after it), or one without columns.
  const TRowPaint row{node, Window, lines, indentSize, buttonX, buttonY, vAlign, Options, useColumns};
  TRect cell = itemRect;
  TColumnIndex column = NoColumn;
  if (useColumns) {
    column = cols.GetFirstVisibleColumn();
    if (column >= 0) {
      cell.Left = cols.Items(column)->AbsoluteLeft();
      cell.Right = cell.Left + cols.Items(column)->Width();
    }
  }
  while ((column > ColumnNotFound || !useColumns) && cell.Left < Window.Right) {
    const bool isMain = column == FHeader->MainColumn();
    const bool skip = useColumns && (column < 0 || !cols.Items(column)->Visible() ||
                                     (Options.Has(poMainOnly) && !isMain));
    const TColumnIndex next = skip ? cols.GetNextVisibleColumn(column) : NextPaintColumn(node, column, cell);
    if (!skip && cell.Right > Window.Left) PaintCell(c, row, column, cell, isMain);
    if (!useColumns || cell.Left >= Window.Right || next < 0) break;
    column = next;
    cell.Left = cols.Items(column)->AbsoluteLeft();
    cell.Right = cell.Left + cols.Items(column)->Width();
    cell.Bottom = h;
  }
  if (OnAfterItemPaint) OnAfterItemPaint(this, c, node, itemRect);
  if (node == FDropTargetNode && paint.Has(toShowDropmark) && Options.Has(poDrawDropMark))
    DrawDropMark(c, node, itemRect);
}

// The options of one cell: no selection under an open editor, no column colour where the selection or the
// tree's colour fills the cell.
TLTInternalPaintOptions TBaseLazyTreeControl::CellPaintOptions(const TRowPaint& Row, TColumnIndex Column) const {
  TLTInternalPaintOptions po = Row.Options;
  const bool editorHere = TreeStates().Has(tsEditing) && Row.Node == FFocusedNode &&
                          (Column == FEditColumn || !Row.UseColumns);
  if (editorHere) po.Exclude(poDrawSelection);
  const TLazyTreeColumns& cols = FHeader->Columns();
  if (!Row.UseColumns || (cols.IsValidColumn(Column) && cols.Items(Column)->Options().Has(coParentColor)) ||
      (Row.Node->Has(vsSelected) && TreeOptions().SelectionOptions.Has(toFullRowSelect) &&
       po.Has(poDrawSelection)))
    po.Exclude(poColumnColor);
  return po;
}

// The check, state and normal image slots of a cell, placed from the content's leading edge (the right one in a
// right-to-left column).
void TBaseLazyTreeControl::PlaceCellImages(TLTPaintInfo& Info, const TRowPaint& Row, bool IsMain, bool RightToLeft) {
  PLazyNode node = Row.Node;
  TLTImageInfo& check = Info.ImageInfo[iiCheck];
  TLTImageInfo& state = Info.ImageInfo[iiState];
  TLTImageInfo& normal = Info.ImageInfo[iiNormal];
  if (IsMain && TreeOptions().MiscOptions.Has(toCheckSupport))
    if (plat::TCustomImageList* list = CheckImagesInForce()) {
      check.Images = list;
      check.Index = CheckImageIndex(static_cast<TCheckType>(node->CheckType),
                                    static_cast<TCheckState>(node->CheckState),
                                    !node->Has(vsDisabled) && Enabled(), node == FHotNode);
    }
  if (FStateImages.List) FetchImageInfo(node, Info.Column, ikState, state, FStateImages.List);
  if (FImages.List)
    FetchImageInfo(node, Info.Column, node->Has(vsSelected) ? ikSelected : ikNormal, normal, FImages.List);
  TRect& content = Info.ContentRect;
  for (TLTImageInfo* image : {&check, &state, &normal}) {
    if (image->Index < 0 || !image->Images) continue;
    // The state image keeps the size of its list whatever list the query named.
    const plat::TCustomImageList* sized = image == &state ? FStateImages.List : image->Images;
    image->YPos = Info.CellRect.Top + Row.VAlign - sized->Height() / 2;
    if (RightToLeft) {
      image->XPos = content.Right - sized->Width();
      content.Right -= sized->Width() + 2;
    } else {
      image->XPos = content.Left - 1;
      content.Left += sized->Width() + 2;
    }
  }
  if (!IsMain) return;
  const int indentation = static_cast<int>(FIndent) * (TreeOptions().PaintOptions.Has(toFixedIndent) ? 1 : Row.IndentSize);
  const int shift = RightToLeft ? -indentation : indentation;
  (RightToLeft ? content.Right : content.Left) += shift;
  for (TLTImageInfo* image : {&check, &state, &normal}) image->XPos += shift;
}

// The cell's grid lines; each takes its pixel row or column off the cell and the content.
void TBaseLazyTreeControl::PaintCellGridLines(TLTPaintInfo& Info, const TRowPaint& Row, bool IsMain) {
  TCanvas* c = Info.Canvas;
  TRect& cell = Info.CellRect;
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  if (!Info.PaintOptions.Has(poGridLines)) return;
  if (paint.Has(toShowHorzGridLines)) {
    c->Font()->SetColor(FColors.GridLineColor());
    // In band mode the line of the main column starts where the node's own level begins.
    if (IsMain && FLineMode == lmBands)
      DrawHorzDottedLine(c, cell.Left + Row.IndentSize * static_cast<int>(FIndent), cell.Right - 1, cell.Bottom - 1);
    else
      DrawHorzDottedLine(c, cell.Left, cell.Right, cell.Bottom - 1);
    --cell.Bottom;
    --Info.ContentRect.Bottom;
  }
  const TLazyTreeColumns& cols = FHeader->Columns();
  if (!Row.UseColumns || !paint.Has(toShowVertGridLines) || !cols.IsValidColumn(Info.Column)) return;
  const TLazyTreeColumn* column = cols.Items(Info.Column);
  if (FHeader->Options().Has(hoAutoResize) && Info.Column == cols.GetLastVisibleColumn()) return;
  if (cell.Right == ClientW() && !column->Options().Has(coFixed)) return;
  if (!column->UseRightToLeftReading() || !CellIsEmpty(Row.Node, Info.Column)) {
    c->Font()->SetColor(FColors.GridLineColor());
    const bool selectedBack = Info.PaintOptions.Has(poDrawSelection) &&
                              TreeOptions().SelectionOptions.Has(toFullRowSelect) && Row.Node->Has(vsSelected) &&
                              !paint.Has(toUseBlendedSelection) && !TreeStates().Has(tsUseExplorerTheme);
    DrawVertDottedLine(c, cell.Top, cell.Bottom, cell.Right - 1, selectedBack);
  }
  --cell.Right;
  --Info.ContentRect.Right;
}

void TBaseLazyTreeControl::PaintCell(TCanvas* c, const TRowPaint& Row, TColumnIndex column, TRect cell, bool isMain) {
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  PLazyNode node = Row.Node;
  const bool clipped = Row.UseColumns;
  if (clipped) {
    c->SaveDC();
    c->IntersectClipRect(cell);
  }
  const TLazyTreeColumns& cols = FHeader->Columns();
  TLTPaintInfo info;
  info.Canvas = c;
  info.PaintOptions = CellPaintOptions(Row, column);
  info.Node = node;
  info.Column = column;
  info.Position = cols.IsValidColumn(column) ? cols.Items(column)->Position() : 0;
  info.CellRect = cell;
  info.NodeWidth = DoGetNodeWidth(node, column);
  info.ContentRect = cell;
  const bool rightToLeft = cols.IsValidColumn(column) && cols.Items(column)->BiDiMode() != bdLeftToRight;
  (rightToLeft ? info.ContentRect.Right : info.ContentRect.Left) += rightToLeft ? -FMargin : FMargin;
  info.Alignment = cols.IsValidColumn(column) ? cols.Items(column)->Alignment() : FAlignment;
  // The content of a right-to-left column starts at its right edge, so left and right alignment trade places;
  // the selection and the string tree's text both follow this alignment.
  if (rightToLeft && info.Alignment != plat::taCenter)
    info.Alignment = info.Alignment == plat::taLeftJustify ? plat::taRightJustify : plat::taLeftJustify;
  PlaceCellImages(info, Row, isMain, rightToLeft);
  PaintCellGridLines(info, Row, isMain);
  info.BrushOrigin = c->BrushOrigin();
  PaintCellBackground(info, Row.Window.Left, Row.Window.Width());
  if (isMain) {
    if (paint.Has(toShowTreeLines) && !(paint.Has(toHideTreeLinesIfThemed) && TreeStates().Has(tsUseThemes))) {
      const auto& lines = Row.Lines;
      if (paint.Has(toFixedIndent))
        DrawTreeLines(c, node, info.CellRect, Row.VAlign,
                      std::vector<TLTLineType>(lines.end() - std::min<std::size_t>(1, lines.size()), lines.end()),
                      info.PaintOptions.Has(poGridLines), rightToLeft);
      else
        DrawTreeLines(c, node, info.CellRect, Row.VAlign, lines, info.PaintOptions.Has(poGridLines), rightToLeft);
    }
    const bool autoHidden = node->Has(vsAllChildrenHidden) && TreeOptions().AutoOptions.Has(toAutoHideButtons);
    if (paint.Has(toShowButtons) && node->Has(vsHasChildren) && !autoHidden)
      DrawExpandButton(c, node, info.CellRect, Row.ButtonX, Row.ButtonY, node == FHotNode && FHotNodeButtonHit,
                       rightToLeft);
    if (info.ImageInfo[iiCheck].Index >= 0) DrawCheckImage(c, info.ImageInfo[iiCheck], node->Has(vsSelected));
  }
  if (info.ImageInfo[iiState].Index >= 0) DrawNodeImage(c, node, column, info.ImageInfo[iiState], false);
  if (info.ImageInfo[iiNormal].Index >= 0) DrawNodeImage(c, node, column, info.ImageInfo[iiNormal], true);
  const bool editorHere = TreeStates().Has(tsEditing) && node == FFocusedNode && (column == FEditColumn || !clipped);
  if (!editorHere) PaintNodeContent(info);
  if (OnAfterCellPaint) OnAfterCellPaint(this, c, node, column, info.CellRect);
  if (clipped) c->RestoreDC(-1);
}

// The area below the last row: the handler's, or the column colours and then the background colour.
void TBaseLazyTreeControl::PaintBelowRows(TCanvas* Canvas, plat::TPoint Target, int MaxRight, int MaxBottom,
                                          const TRect& Window, TLTInternalPaintOptions Options) {
  if (Target.Y >= MaxBottom) return;
  const TRect area(Target.X, Target.Y, MaxRight, MaxBottom);
  bool handled = false;
  if (OnPaintBackground) OnPaintBackground(this, Canvas, area, handled);
  if (handled) return;
  if (UseBackground(Options)) {
    // Anchored to the target like the rows' picture, so rows and the area below meet without a seam.
    if (TreeOptions().PaintOptions.Has(toStaticBackground))
      DrawStaticBackground(Canvas, area, {0, 0});
    else
      DrawTiledBackground(Canvas, area, {0, 0});
    return;
  }
  // Column by column in the rows' horizontal coordinates, each with a full-height grid line at its right edge
  // when asked for; the rest in the background colour.
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  const bool fullGrid = Options.Has(poGridLines) && paint.Has(toFullVertGridLines) && paint.Has(toShowVertGridLines);
  const bool autoResize = FHeader->Options().Has(hoAutoResize);
  const TLazyTreeColumns& cols = FHeader->Columns();
  const TColumnIndex last = cols.GetLastVisibleColumn();
  int left = area.Left;
  for (TLazyTreeColumn* col : cols.GetVisibleColumns()) {
    const int right = std::min(area.Right, Target.X + col->AbsoluteLeft() + col->Width() - Window.Left);
    if (right <= left) continue;
    int fillRight = right;
    if (fullGrid && !(autoResize && col->Index() == last)) {
      Canvas->Font()->SetColor(FColors.GridLineColor());
      DrawVertDottedLine(Canvas, area.Top, area.Bottom - 1, right - 1, false);
      --fillRight;
    }
    Canvas->Brush()->SetColor(col->Options().Has(coParentColor) ? FColors.BackGroundColor() : col->Color());
    Canvas->FillRect(TRect(left, area.Top, fillRight, area.Bottom));
    left = right;
  }
  Canvas->Brush()->SetColor(FColors.BackGroundColor());
  Canvas->FillRect(TRect(left, area.Top, area.Right, area.Bottom));
}

}  // namespace lazytree
