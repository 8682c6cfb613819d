// The selection as the window changes it: clicks with Shift and Ctrl, the rubber band (its rectangle and the
// pass over the rows it covers), the focused column of a selected node, and keeping one node selected.
#include <algorithm>

#include "tree/treecontrol.h"
#include "tree/treegesture.h"
#include "tree/treeutils.h"

namespace lazytree {

void TBaseLazyTreeControl::HandleClickSelection(PLazyNode /*LastFocused*/, PLazyNode NewNode,
                                                plat::TShiftState Shift, bool DragPending) {
  const bool ctrl = Shift.Contains(plat::ssCtrl);
  const bool shift = Shift.Contains(plat::ssShift);
  if (ctrl && shift) {
    AddRangeToSelection(RangeAnchor(), NewNode, true);
  } else if (ctrl) {
    if (!TreeOptions().SelectionOptions.Has(toSiblingSelectConstraint)) SetRangeAnchor(NewNode);
    if (DragPending)
      DoStateChange({tsToggleFocusedSelection});  // the release toggles it when no drag started
    else if (NewNode->Has(vsSelected))
      RemoveFromSelection(NewNode);
    else
      AddToSelection(NewNode);
  } else if (shift) {
    if (!RangeAnchor()) SetRangeAnchor(RootNode()->FirstChild);
    AddRangeToSelection(RangeAnchor(), NewNode, false);
  }
  Invalidate();
}

void TBaseLazyTreeControl::SelectionFocusesColumn() {
  if (!FHeader->UseColumns()) return;
  const TLazyTreeColumns& columns = FHeader->Columns();
  if (columns.IsValidColumn(FFocusedColumn) && columns[FFocusedColumn]->Visible()) return;
  const TColumnIndex main = FHeader->MainColumn();
  if (!columns.IsValidColumn(main)) return;
  if (columns[main]->Visible() && columns[main]->Options().Has(coAllowFocus))
    FFocusedColumn = main;
  else
    FFocusedColumn = columns.GetFirstVisibleColumn(true);
}

void TBaseLazyTreeControl::EnsureNodeSelected() {
  if (IsDestroying() || !TreeOptions().SelectionOptions.Has(toAlwaysSelectNode) || IsEmpty()) return;
  if (SelectedCount() == 0 && !SelectionLocked()) {
    PLazyNode node = NextNodeToSelect();
    if (!node && Focused()) node = GetFirstVisible(nullptr, true);
    if (node) SetSelected(node, true);
  }
  if (!FFocusedNode) {
    PLazyNode node = GetFirstSelected();
    if (!node) node = GetFirstVisible(nullptr, true);
    if (node) FocusBySelection(node);
  }
  if (PLazyNode first = GetFirstSelected())
    ScrollIntoView(first, TreeOptions().SelectionOptions.Has(toCenterScrollIntoView));
}

// ------------------------------------------------------------------------------------------------------------
// Rubber band

// What the pass over the rows needs: the two rectangles (ordered, tree coordinates) and the main column.
struct TBaseLazyTreeControl::TBandGeometry {
  plat::TRect OldRect, NewRect;
  bool OldEmpty = false;  // the band has just started: only the new rectangle counts
  TColumnIndex Column = NoColumn;
  int SpanLeft = 0, SpanRight = 0;
  plat::TAlignment Alignment = plat::taLeftJustify;
  bool Toggle = false;
};

bool TBaseLazyTreeControl::UpdateRectSelection() {
  if (RootNode()->TotalCount <= 1 || !TreeStates().Has(tsDrawSelecting)) return false;
  TBandGeometry g;
  g.OldRect = NormalizedRect(FGestures->LastRect());
  g.NewRect = NormalizedRect(FGestures->NewRect());
  g.OldEmpty = FGestures->LastRect() == plat::TRect(0, 0, 0, 0);
  g.Toggle = FGestures->Toggles();
  const TLazyTreeColumns& columns = FHeader->Columns();
  g.Column = FHeader->UseColumns() ? FHeader->MainColumn() : NoColumn;
  g.Alignment = HitColumnAlignment(g.Column);
  const bool rightToLeft = HitColumnRightToLeft(g.Column);
  // The span is taken in tree coordinates, like the rectangles.
  if (columns.IsValidColumn(g.Column)) {
    g.SpanLeft = columns[g.Column]->AbsoluteLeft();
    g.SpanRight = g.SpanLeft + columns[g.Column]->Width();
  } else {
    g.SpanRight = static_cast<int>(std::max<int64_t>(ClientW(), RangeX()));
  }
  ClearTempNodes();
  if (!RectSelectPass(g, rightToLeft)) return false;
  PackSelection();
  InternalAddToSelection(TempNodes().data(), static_cast<int>(TempNodes().size()), false);
  ClearTempNodes();
  Invalidate();
  Change(nullptr);
  return true;
}

// Walks the rows between the top and the bottom of both rectangles once; a row whose coverage differs between
// them changes: with Ctrl held at the start it toggles, else it follows the new rectangle.
bool TBaseLazyTreeControl::RectSelectPass(const TBandGeometry& G, bool RightToLeft) {
  const TCustomLazyTreeOptions& o = TreeOptions();
  const TLazyTreeColumns& columns = FHeader->Columns();
  const plat::TRect& a = G.OldRect;
  const plat::TRect& b = G.NewRect;
  const int top = G.OldEmpty ? b.Top : std::min(a.Top, b.Top);
  const int bottom = G.OldEmpty ? b.Bottom : std::max(a.Bottom, b.Bottom);
  int rowTop = 0;
  PLazyNode node = GetNodeAt(0, top, false, rowTop);
  if (!node) return false;
  const bool simple = o.SelectionOptions.Has(toSimpleDrawSelection) ||
                      (!RightToLeft && o.SelectionOptions.Has(toFullRowSelect));
  const bool fixedIndent = o.PaintOptions.Has(toFixedIndent);
  const int showRoot = o.PaintOptions.Has(toShowRoot) ? 1 : 0;
  const int checkWidth = o.MiscOptions.Has(toCheckSupport) && CheckImagesInForce() ? CheckImageWidth() : 0;
  const int columnsWidth = FHeader->UseColumns() ? columns.TotalWidth() : 0;
  // Right to left the geometry is mirrored from the span's right edge, and so is the alignment: left
  // alignment keeps the text next to the node's images on either side.
  const plat::TAlignment align = G.Alignment;
  const bool autoSpan = o.AutoOptions.Has(toAutoSpanColumns) && columns.IsValidColumn(G.Column);
  bool changed = false;
  for (; node; node = GetNextVisible(node, true)) {
    const int rowBottom = rowTop + static_cast<int>(node->NodeHeight);
    const int indent = static_cast<int>(Indent()) * (fixedIndent ? 1 : static_cast<int>(GetNodeLevel(node)) + showRoot);
    int content = Margin() + indent;  // from the span's start edge to the node's content
    int textStart = content;
    if (checkWidth > 0 && node->CheckType != ctNone) textStart += checkWidth + 2;
    if (const int w = HitImageWidth(node, G.Column, false)) textStart += w + 2;
    if (const int w = HitImageWidth(node, G.Column, true)) textStart += w + 2;
    // The text box [boxLeft, boxRight] in tree coordinates.
    int boxLeft = 0, boxRight = 0;
    if (!simple) {
      if (!RightToLeft) {
        const int textLeft = G.SpanLeft + textStart;
        int end = G.SpanRight;
        if (autoSpan)
          for (TColumnIndex c = columns.GetNextVisibleColumn(G.Column); c >= 0 && CellIsEmpty(node, c);
               c = columns.GetNextVisibleColumn(c))
            end += columns[c]->Width();
        boxLeft = textLeft;
        boxRight = end;
        if (!(textLeft > a.Left && textLeft > b.Left && align == plat::taLeftJustify)) {
          const int w = DoGetNodeWidth(node, G.Column);
          if (w < end - textLeft) {
            if (align == plat::taLeftJustify) boxRight = textLeft + w;
            else if (align == plat::taRightJustify) boxLeft = end - w;
            else boxLeft = textLeft + (end - textLeft - w) / 2, boxRight = boxLeft + w;
          }
        }
      } else {
        const int textRight = G.SpanRight - textStart;
        int end = G.SpanLeft;
        if (autoSpan)
          for (TColumnIndex c = columns.GetPreviousVisibleColumn(G.Column); c >= 0 && CellIsEmpty(node, c);
               c = columns.GetPreviousVisibleColumn(c))
            end -= columns[c]->Width();
        boxLeft = end;
        boxRight = textRight;
        if (!(textRight < a.Right && textRight < b.Right && align == plat::taLeftJustify)) {
          const int w = DoGetNodeWidth(node, G.Column);
          if (w < textRight - end) {
            if (align == plat::taLeftJustify) boxLeft = textRight - w;
            else if (align == plat::taRightJustify) boxRight = end + w;
            else boxLeft = end + (textRight - end - w) / 2, boxRight = boxLeft + w;
          }
        }
      }
    }
    const int nodeLeft = G.SpanLeft + content;
    auto covers = [&](const plat::TRect& r) {
      if (!(r.Top < rowBottom && r.Bottom >= rowTop)) return false;
      if (simple) {
        if (RightToLeft) return true;
        return (columnsWidth == 0 || r.Left < columnsWidth) && nodeLeft < r.Right;
      }
      return r.Left <= boxRight && r.Right >= boxLeft;
    };
    const bool inOld = !G.OldEmpty && covers(a);
    const bool inNew = covers(b);
    if (inOld != inNew) {
      if (node->Has(vsSelected)) {
        if (G.Toggle || !inNew) {
          WithdrawFromSelection(node);
          changed = true;
        }
      } else if (G.Toggle || inNew) {
        AddTempNode(node);
        changed = true;
      }
    }
    if (rowBottom > bottom) break;
    rowTop = rowBottom;
  }
  return changed;
}

}  // namespace lazytree
