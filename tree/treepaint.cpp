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

plat::TCustomImageList* TBaseLazyTreeControl::CheckImagesInForce() const {
  switch (FCheckImageKind) {
    case ckCustom: return FCustomCheckImages.List;
    case ckSystemDefault: return SystemCheckImages(false);
    case ckSystemFlat: return SystemCheckImages(true);
    case ckLightCheck: return TreeUnitImages(tlLightCheck);
    case ckDarkCheck: return TreeUnitImages(tlDarkCheck);
    case ckLightTick: return TreeUnitImages(tlLightTick);
    case ckDarkTick: return TreeUnitImages(tlDarkTick);
    case ckFlat: return TreeUnitImages(tlFlat);
    case ckXP: return TreeUnitImages(tlXP);
    default: return nullptr;
  }
}

void TBaseLazyTreeControl::DrawCheckImage(TCanvas* Canvas, const TLTImageInfo& ImageInfo, bool Selected) {
  plat::TCustomImageList* list = ImageInfo.Images;
  if (!list || ImageInfo.Index < 0 || ImageInfo.Index >= list->Count()) return;
  const plat::TColor oldBlend = list->BlendColor();
  if (Selected && !ImageInfo.Ghosted)
    list->SetBlendColor(Focused() || TreeOptions().PaintOptions.Has(toPopupMode) ? FColors.FocusedSelectionColor()
                                                                                 : FColors.UnfocusedSelectionColor());
  list->Draw(Canvas, ImageInfo.XPos, ImageInfo.YPos, ImageInfo.Index, plat::dsTransparent, plat::itImage, true);
  list->SetBlendColor(oldBlend);
}

void TBaseLazyTreeControl::PaintCellBackground(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column,
                                               const TRect& CellRect, TRect& ContentRect, int NodeWidth,
                                               TLTInternalPaintOptions Options, int WindowOrgX, int MaxWidth) {
  const TLazyTreeColumns& cols = FHeader->Columns();
  if (Options.Has(poColumnColor) && cols.IsValidColumn(Column)) {
    Canvas->Brush()->SetColor(cols.Items(Column)->Color());
    Canvas->FillRect(CellRect);
  }
  if (OnBeforeCellPaint) OnBeforeCellPaint(this, Canvas, Node, Column, CellRect, ContentRect);
  TRect inner = ContentRect;
  const auto& sel = TreeOptions().SelectionOptions;
  const bool gridExt = TreeOptions().MiscOptions.Has(toGridExtensions), fullRow = sel.Has(toFullRowSelect);
  if (!gridExt && NodeWidth < inner.Width()) {
    if (FAlignment == plat::taRightJustify)
      inner.Left = inner.Right - NodeWidth;
    else if (FAlignment == plat::taCenter) {
      inner.Left = (inner.Left + inner.Right - NodeWidth) / 2;
      inner.Right = inner.Left + NodeWidth;
    } else {
      inner.Right = inner.Left + NodeWidth;
    }
  }
  if (gridExt || fullRow) {
    if (Node->Has(vsSelected)) inner = CellRect;
  }
  const bool inFocusColumn = Column == FFocusedColumn || fullRow;
  const bool focusedLook = Focused() || TreeOptions().PaintOptions.Has(toPopupMode);
  if (inFocusColumn && Options.Has(poDrawSelection) && Node->Has(vsSelected) && !inner.IsEmpty()) {
    const plat::TColor fill = focusedLook ? FColors.FocusedSelectionColor() : FColors.UnfocusedSelectionColor();
    if (TreeOptions().PaintOptions.Has(toUseBlendedSelection) && Canvas->Image()) {
      TRect r = inner;
      r.Left = std::max(r.Left - WindowOrgX, 0);
      r.Right = std::min(r.Right - WindowOrgX, MaxWidth);
      AlphaBlendRect(nullptr, Canvas, r, {}, abConstantWithColor, FSelectionBlendFactor, static_cast<int>(fill));
    } else {
      Canvas->Brush()->SetColor(fill);
      Canvas->Pen()->SetColor(focusedLook ? FColors.FocusedSelectionBorderColor()
                                          : FColors.UnfocusedSelectionBorderColor());
      const int radius = static_cast<int>(FSelectionCurveRadius);
      Canvas->RoundRect(inner, radius, radius);
    }
  }
  if (inFocusColumn && Options.Has(poDrawFocusRect) && focusedLook && Node == FFocusedNode)
    Canvas->DrawFocusRect(gridExt ? CellRect : inner);
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
  TRect band = NormalizedRect(FNewSelRect);
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
        rowImage = QImage(Window.Width(), h, QImage::Format_ARGB32);
        rowImage.fill(Qt::black);  // a fresh row starts cleared
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
    TRect r(FOffsetX + 2, 2, FOffsetX + Width(), Height() - 2);
    Canvas->DrawText(FEmptyListMessage, r, plat::DT_LEFT | plat::DT_NOCLIP | plat::DT_WORDBREAK);
  }
  if (OnAfterPaint) OnAfterPaint(this, Canvas);
}

void TBaseLazyTreeControl::PaintRow(TCanvas* c, PLazyNode node, const TRect& Window,
                                    const std::vector<TLTLineType>& lines, int indentSize, int buttonX, int plusHeight,
                                    TLTInternalPaintOptions Options, bool useColumns, const TLazyTreeColumns& cols,
                                    int rowTargetTop) {
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  const int h = node->NodeHeight;
  const int imageHeight = FImages.List ? FImages.List->Height() : FStateImages.List ? FStateImages.List->Height() : 0;
  int vAlign = 0, buttonY = 0;
  VerticalAlignment(node, FNodeAlignment, imageHeight, paint.Has(toShowButtons), plusHeight, vAlign, buttonY);
  const TRect itemRect(0, 0, std::max<int>(ClientW(), static_cast<int>(FRangeX)), h);
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
    EraseRowDefault(c, node, eraseRect, color, Options, plat::TPoint(-FEffectiveOffsetX, rowTargetTop));
  }
  if (OnAfterItemErase) OnAfterItemErase(this, c, node, itemRect);
  // Cells.
  TRect cell = itemRect;
  TColumnIndex column = NoColumn;
  if (useColumns) {
    column = cols.GetFirstVisibleColumn();
    if (column >= 0) {
      cell.Left = cols.Items(column)->AbsoluteLeft();
      cell.Right = cell.Left + cols.Items(column)->Width();
    }
  }
  for (;;) {
    const bool isMain = column == FHeader->MainColumn();
    const TColumnIndex next = useColumns ? cols.GetNextVisibleColumn(column) : ColumnNotFound;
    const bool skip = useColumns && (column < 0 || (Options.Has(poMainOnly) && !isMain));
    if (!skip && cell.Right > Window.Left) {
      TLTInternalPaintOptions po = Options;
      if (!useColumns || cols.Items(column)->Options().Has(coParentColor)) po.Exclude(poColumnColor);
      PaintCell(c, node, column, cell, isMain, lines, indentSize, buttonX, buttonY, vAlign, po, Window);
    }
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

void TBaseLazyTreeControl::PaintCell(TCanvas* c, PLazyNode node, TColumnIndex column, TRect cell, bool isMain,
                                     const std::vector<TLTLineType>& lines, int indentSize, int buttonX, int buttonY,
                                     int vAlign, TLTInternalPaintOptions po, const TRect& Window) {
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  const bool clipped = column >= 0;
  if (clipped) {
    c->SaveDC();
    c->IntersectClipRect(cell);
  }
  const int nodeWidth = DoGetNodeWidth(node, column);
  TRect content = cell;
  content.Left += FMargin;
  const int indentation = paint.Has(toFixedIndent) ? static_cast<int>(FIndent) : indentSize * static_cast<int>(FIndent);
  if (isMain) content.Left += indentation;
  TLTImageInfo check, state, normal;
  if (isMain && TreeOptions().MiscOptions.Has(toCheckSupport)) {
    if (plat::TCustomImageList* list = CheckImagesInForce()) {
      check.Images = list;
      check.Index = CheckImageIndex(static_cast<TCheckType>(node->CheckType), static_cast<TCheckState>(node->CheckState),
                                    !node->Has(vsDisabled) && Enabled(), false);
    }
  }
  if (FStateImages.List) FetchImageInfo(node, column, ikState, state, FStateImages.List);
  if (FImages.List) FetchImageInfo(node, column, node->Has(vsSelected) ? ikSelected : ikNormal, normal, FImages.List);
  for (TLTImageInfo* info : {&check, &state, &normal}) {
    if (info->Index < 0 || !info->Images) continue;
    info->XPos = content.Left;
    info->YPos = vAlign - info->Images->Height() / 2;
    content.Left += info->Images->Width() + 2;
  }
  if (po.Has(poGridLines) && paint.Has(toShowHorzGridLines)) {
    c->Font()->SetColor(FColors.GridLineColor());
    DrawHorzDottedLine(c, cell.Left, cell.Right, cell.Bottom - 1);
    --cell.Bottom;
    --content.Bottom;
  }
  if (column >= 0 && po.Has(poGridLines) && paint.Has(toShowVertGridLines)) {
    c->Font()->SetColor(FColors.GridLineColor());
    DrawVertDottedLine(c, cell.Top, cell.Bottom, cell.Right - 1, false);
    --cell.Right;
    --content.Right;
  }
  PaintCellBackground(c, node, column, cell, content, nodeWidth, po, Window.Left, Window.Width());
  if (isMain) {
    if (paint.Has(toShowTreeLines) && !(paint.Has(toHideTreeLinesIfThemed) && TreeStates().Has(tsUseThemes))) {
      if (paint.Has(toFixedIndent))
        DrawTreeLines(c, node, cell, vAlign, std::vector<TLTLineType>(lines.end() - std::min<std::size_t>(1, lines.size()), lines.end()),
                      po.Has(poGridLines));
      else
        DrawTreeLines(c, node, cell, vAlign, lines, po.Has(poGridLines));
    }
    const bool autoHidden = node->Has(vsAllChildrenHidden) && TreeOptions().AutoOptions.Has(toAutoHideButtons);
    if (paint.Has(toShowButtons) && node->Has(vsHasChildren) && !autoHidden)
      DrawExpandButton(c, node, cell, buttonX, buttonY, false);
  }
  if (isMain && check.Index >= 0) DrawCheckImage(c, check, node->Has(vsSelected));
  if (state.Index >= 0) DrawNodeImage(c, node, column, state, false);
  if (normal.Index >= 0) DrawNodeImage(c, node, column, normal, true);
  TLTPaintInfo info;
  info.Canvas = c;
  info.PaintOptions = po;
  info.Node = node;
  info.Column = column;
  info.Position = column >= 0 ? FHeader->Columns().Items(column)->Position() : 0;
  info.CellRect = cell;
  info.ContentRect = content;
  info.NodeWidth = nodeWidth;
  info.Alignment = column >= 0 ? FHeader->Columns().Items(column)->Alignment() : FAlignment;
  info.BrushOrigin = c->BrushOrigin();
  info.ImageInfo[iiNormal] = normal;
  info.ImageInfo[iiState] = state;
  info.ImageInfo[iiCheck] = check;
  PaintNodeContent(info);
  if (OnAfterCellPaint) OnAfterCellPaint(this, c, node, column, cell);
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
  int left = area.Left;
  for (TLazyTreeColumn* col : FHeader->Columns().GetVisibleColumns()) {
    const int l = std::max(area.Left, Target.X + col->AbsoluteLeft() - Window.Left);
    const int r = std::min(area.Right, Target.X + col->AbsoluteLeft() + col->Width() - Window.Left);
    if (r <= l) continue;
    Canvas->Brush()->SetColor(col->Options().Has(coParentColor) ? FColors.BackGroundColor() : col->Color());
    Canvas->FillRect(TRect(l, area.Top, r, area.Bottom));
    left = std::max(left, r);
  }
  Canvas->Brush()->SetColor(FColors.BackGroundColor());
  Canvas->FillRect(TRect(left, area.Top, area.Right, area.Bottom));
}

}  // namespace lazytree
