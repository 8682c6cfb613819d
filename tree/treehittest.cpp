// Hit testing: which node, column and part of a row lie under a point of the client area.

#include <algorithm>

#include "tree/hittest.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {

namespace {

// The text and the space around it, for a point right of the images (X and Pos in the same coordinates).
THitPositions ClassifyText(const THitCell& c, int X, int Pos) {
  const int t = c.TextWidth;
  const int w = c.Width;
  if (t > w - Pos) return {hiOnItemLabel};
  switch (c.Alignment) {
    case plat::taRightJustify: return {X < w - t ? hiOnItemLeft : hiOnItemLabel};
    case plat::taCenter: {
      const int l = (Pos + w - t) / 2;
      if (X < l) return {hiOnItemLeft};
      return {X < l + t ? hiOnItemLabel : hiOnItemRight};
    }
    default: return {X < Pos + t ? hiOnItemLabel : hiOnItemRight};
  }
}

// Left to right: indentation, check box, state image, normal image, then the text.
THitPositions ClassifyLeftToRight(const THitCell& c, int X) {
  THitPositions r{hiOnItem};
  const int indent = c.MainColumn ? c.Indent : 0;
  if (c.MainColumn && X < indent + c.Margin) {
    if (c.ButtonZone) {
      if (X >= indent - c.LevelIndent) r.Include(hiOnItemButton);
      if (X >= indent - c.ButtonWidth) r.Include(hiOnItemButtonExact);
    }
    if (!r.Has(hiOnItemButton) && !r.Has(hiOnItemButtonExact)) r.Include(hiOnItemIndent);
    return r;
  }
  if (!c.MainColumn && c.ReportMode) return r;
  int pos = indent + c.Margin;
  if (c.MainColumn && c.HasCheck) {
    pos += c.CheckWidth + 2;
    if (X < pos) return {hiOnItem, hiOnItemCheckbox};
  }
  if (c.StateImageWidth > 0) {
    pos += c.StateImageWidth + 2;
    if (X < pos) return {hiOnItem, hiOnStateIcon};
  }
  if (c.NormalImageWidth > 0) {
    pos += c.NormalImageWidth + 2;
    if (X < pos) return {hiOnItem, hiOnNormalIcon};
  }
  return r + ClassifyText(c, X, pos);
}

}  // namespace

// Right to left the regions are the mirror image of the left-to-right ones, measured from the cell's right
// edge; left and right of the text swap with them. The margin between the indentation and the content belongs
// to the check box there, for a node that has one.
THitPositions ClassifyHitInCell(const THitCell& Cell) {
  if (!Cell.RightToLeft) return ClassifyLeftToRight(Cell, Cell.X);
  const int mirrored = Cell.Width - 1 - Cell.X;
  if (Cell.MainColumn && Cell.HasCheck && mirrored >= Cell.Indent && mirrored < Cell.Indent + Cell.Margin)
    return {hiOnItem, hiOnItemCheckbox};
  THitPositions r = ClassifyLeftToRight(Cell, mirrored);
  const bool left = r.Has(hiOnItemLeft), right = r.Has(hiOnItemRight);
  r -= THitPositions{hiOnItemLeft, hiOnItemRight};
  if (left) r.Include(hiOnItemRight);
  if (right) r.Include(hiOnItemLeft);
  return r;
}

void TBaseLazyTreeControl::GetHitTestInfoAt(int X, int Y, bool Relative, THitInfo& HitInfo) {
  HitInfo = THitInfo{};
  const int64_t maxX = std::max<int64_t>(ClientW(), RangeX());
  const int64_t maxY = std::max<int64_t>(ClientH(), RangeY());
  if (X < 0) HitInfo.HitPositions.Include(hiToLeft);
  else if (X > maxX) HitInfo.HitPositions.Include(hiToRight);
  if (Y < 0) HitInfo.HitPositions.Include(hiAbove);
  else if (Y > maxY) HitInfo.HitPositions.Include(hiBelow);
  if (Relative) {
    if (X >= FixedColumnsWidth()) X += EffectiveOffsetX();  // fixed columns do not scroll
    Y -= OffsetY();
  }
  HitInfo.HitPoint = {X, Y};
  if (!HitInfo.HitPositions.Empty()) return;
  int top = 0;
  PLazyNode node = GetNodeAt(X, Y, false, top);
  if (!node) {
    HitInfo.HitPositions.Include(hiNowhere);
    return;
  }
  HitInfo.HitNode = node;
  if (!node->Has(vsInitialized)) InitNode(node);
  int left = 0, right = static_cast<int>(maxX);
  TColumnIndex column = NoColumn;
  if (HitColumnsInUse()) column = HitColumnSpan(node, X, left, right);
  HitInfo.HitColumn = column;
  if (column == ColumnNotFound) {
    HitInfo.HitPositions.Include(hiNowhere);
    return;
  }
  HitInfo.HitPositions = {hiOnItem};
  if (TreeOptions().MiscOptions.Has(toNodeHeightResize)) {
    if (Y <= top + 1) HitInfo.HitPositions.Include(hiUpperSplitter);
    else if (Y >= top + static_cast<int>(node->NodeHeight) - 3) HitInfo.HitPositions.Include(hiLowerSplitter);
  }
  HitInfo.HitPositions += ClassifyHitInCell(DescribeHitCell(node, column, X - left, right - left));
}

THitCell TBaseLazyTreeControl::DescribeHitCell(PLazyNode Node, TColumnIndex Column, int X, int Width) {
  THitCell c;
  const TCustomLazyTreeOptions& o = TreeOptions();
  c.X = X;
  c.Width = Width;
  c.MainColumn = Column == HitMainColumn();
  const int indent = static_cast<int>(Indent());
  c.LevelIndent = indent;
  if (o.PaintOptions.Has(toFixedIndent)) c.Indent = indent;
  else c.Indent = indent * static_cast<int>(GetNodeLevel(Node) + (o.PaintOptions.Has(toShowRoot) ? 1 : 0));
  c.Margin = Margin();
  c.ButtonZone = o.PaintOptions.Has(toShowButtons) && Node->Has(vsHasChildren);
  c.ButtonWidth = PlusButtonWidth();
  c.HasCheck = o.MiscOptions.Has(toCheckSupport) && Node->CheckType != ctNone && CheckImageWidth() > 0;
  c.CheckWidth = CheckImageWidth();
  c.StateImageWidth = HitImageWidth(Node, Column, true);
  c.NormalImageWidth = HitImageWidth(Node, Column, false);
  c.ReportMode = o.MiscOptions.Has(toReportMode);
  c.Alignment = HitColumnAlignment(Column);
  c.RightToLeft = HitColumnRightToLeft(Column);
  // Asked last: the text width is worth measuring only right of the images.
  c.TextWidth = DoGetNodeWidth(Node, Column);
  return c;
}

int TBaseLazyTreeControl::FixedColumnsWidth() const { return FHeader->Columns().GetVisibleFixedWidth(); }

bool TBaseLazyTreeControl::HitColumnsInUse() const { return FHeader->UseColumns(); }

TColumnIndex TBaseLazyTreeControl::HitMainColumn() const { return FHeader->MainColumn(); }

plat::TAlignment TBaseLazyTreeControl::HitColumnAlignment(TColumnIndex Column) const {
  const TLazyTreeColumns& columns = FHeader->Columns();
  return columns.IsValidColumn(Column) ? columns[Column]->Alignment() : FAlignment;
}

bool TBaseLazyTreeControl::HitColumnRightToLeft(TColumnIndex Column) const {
  const TLazyTreeColumns& columns = FHeader->Columns();
  return columns.IsValidColumn(Column) && columns[Column]->BiDiMode() != bdLeftToRight;
}

TColumnIndex TBaseLazyTreeControl::HitColumnSpan(PLazyNode Node, int X, int& Left, int& Right) {
  const TLazyTreeColumns& columns = FHeader->Columns();
  const TColumnIndex hit = columns.HitColumnSpan({X, 0}, Left, false, Right);
  if (hit < 0 || !TreeOptions().AutoOptions.Has(toAutoSpanColumns)) return hit;
  // An empty cell belongs to the nearest filled cell on its left; empty cells after the hit widen it.
  TColumnIndex column = hit;
  while (CellIsEmpty(Node, column)) {
    const TColumnIndex previous = columns.GetPreviousVisibleColumn(column);
    if (previous < 0) break;
    column = previous;
    Left -= columns[column]->Width();
  }
  for (TColumnIndex next = columns.GetNextVisibleColumn(hit); next >= 0 && CellIsEmpty(Node, next);
       next = columns.GetNextVisibleColumn(next))
    Right += columns[next]->Width();
  return column;
}

int TBaseLazyTreeControl::HitImageWidth(PLazyNode Node, TColumnIndex Column, bool State) {
  plat::TCustomImageList* list = State ? FStateImages.List : FImages.List;
  if (!list) return 0;
  TLTImageInfo info;
  const TLTImageKind kind = State ? ikState : Node->Has(vsSelected) ? ikSelected : ikNormal;
  FetchImageInfo(Node, Column, kind, info, list);
  return info.Index >= 0 && info.Images ? info.Images->Width() : 0;
}

}  // namespace lazytree
