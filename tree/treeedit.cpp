// In-place editing, the tree's side: when an edit may start, obtaining an editor, placing it over the cell, and
// ending it by acceptance or cancellation. An edit ends only through AcceptEdit or AbortEdit, each announced by
// its event, so no typed text is dropped without the application hearing of it.
#include <QFontMetrics>
#include <QThread>
#include <QWidget>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "tree/stringtree.h"
#include "tree/treeaccessibility.h"
#include "tree/treeedit.h"

namespace lazytree {

bool TBaseLazyTreeControl::CanEdit(PLazyNode Node, TColumnIndex Column) {
  const TCustomLazyTreeOptions& options = TreeOptions();
  const TLazyTreeColumns& columns = Header().Columns();
  bool allowed = options.MiscOptions.Has(toEditable) && Enabled() && !options.MiscOptions.Has(toReadOnly) &&
                 (Column < 0 || (columns.IsValidColumn(Column) && columns[Column]->Options().Has(coEditable)));
  if (OnEditing) OnEditing(this, Node, Column, allowed);
  return allowed;
}

bool TBaseLazyTreeControl::EditNode(PLazyNode Node, TColumnIndex Column) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  if (Column < NoColumn || Column >= Header().Columns().Count())
    throw ELazyTreeAssertion("Column must be a valid column index (-1 if no header is shown).");
  if (IsEditing() || TreeOptions().MiscOptions.Has(toReadOnly)) return IsEditing();
  SetFocusedNode(Node);
  if (FFocusedNode != Node || !CanEdit(Node, Column)) return false;
  FEditColumn = Column;
  if (!Node->Has(vsInitialized)) InitNode(Node);
  OpenEditor();
  return IsEditing();
}

bool TBaseLazyTreeControl::EndEditNode() {
  if (TreeStates().Has(tsEditing) || TreeStates().Has(tsEditPending)) return AcceptEdit();
  return true;
}

void TBaseLazyTreeControl::NotifyEditCancelled() {
  CancelEditNode();
  FAccessibility->NotifyNameChange();
}

bool TBaseLazyTreeControl::CancelEditNode() {
  if (TreeStates().Has(tsEditing) || TreeStates().Has(tsEditPending)) return AbortEdit();
  return true;
}

// The mouse's road: a release or double click on the focused cell armed an edit; timer 2 opens it.
void TBaseLazyTreeControl::MouseArmsEdit(TColumnIndex Column, uint32_t Delay) {
  FEditColumn = Column;
  StartTimer(EditTimer, Delay);
}

void TBaseLazyTreeControl::EditTimerFired() { OpenEditor(); }

bool TBaseLazyTreeControl::MouseEndsEdit() { return EndEditNode(); }

bool TBaseLazyTreeControl::MouseCanEdit(PLazyNode Node, TColumnIndex Column) { return CanEdit(Node, Column); }

void TBaseLazyTreeControl::ObtainEditor(PLazyNode Node, TColumnIndex Column, std::shared_ptr<ILTEditLink>& EditLink) {
  if (OnCreateEditor) OnCreateEditor(this, Node, Column, EditLink);
}

void TCustomLazyStringTree::ObtainEditor(PLazyNode Node, TColumnIndex Column, std::shared_ptr<ILTEditLink>& EditLink) {
  TBaseLazyTreeControl::ObtainEditor(Node, Column, EditLink);
  if (!EditLink) EditLink = std::make_shared<TStringEditLink>();
}

void TBaseLazyTreeControl::OpenEditor() {
  CancelHint();
  StopTimer(ScrollTimer);
  StopTimer(EditTimer);
  DoStateChange({}, {tsEditPending});
  PLazyNode node = FFocusedNode;
  if (!node || node->Has(vsDisabled) || TreeOptions().MiscOptions.Has(toReadOnly) || FEditLink) return;
  std::shared_ptr<ILTEditLink> link;
  ObtainEditor(node, FEditColumn, link);
  FEditLink = link;
  if (!link) return;
  DoStateChange({tsEditing}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsDrawSelecting,
                              tsMouseCheckPending, tsOLEDragging, tsOLEDragPending, tsScrolling, tsScrollPending});
  ScrollIntoView(node, TreeOptions().SelectionOptions.Has(toCenterScrollIntoView),
                 !TreeOptions().AutoOptions.Has(toDisableAutoscrollOnEdit));
  if (link->PrepareEdit(this, node, FEditColumn)) {
    UpdateEditBounds();
    InvalidateNode(node);
    if (!link->BeginEdit()) DoStateChange({}, {tsEditing});
  } else {
    DoStateChange({}, {tsEditing});
  }
  if (!IsEditing()) FEditLink.reset();
}

bool TBaseLazyTreeControl::AcceptEdit() {
  StopTimer(EditTimer);
  std::shared_ptr<ILTEditLink> link = FEditLink;  // alive while the editor hands its value over
  const bool ok = IsEditing() && link && link->EndEdit();
  if (ok) {
    DoStateChange({}, {tsEditing});
    FEditLink.reset();
    if (OnEdited) OnEdited(this, FFocusedNode, FEditColumn);
  }
  DoStateChange({}, {tsEditPending});
  return ok;
}

bool TBaseLazyTreeControl::AbortEdit() {
  StopTimer(EditTimer);
  DoStateChange({}, {tsEditPending});
  std::shared_ptr<ILTEditLink> link = FEditLink;
  const bool ok = IsEditing() && link && link->CancelEdit();
  if (ok) {
    DoStateChange({}, {tsEditing});
    if (OnEditCancelled) OnEditCancelled(this, FEditColumn);
    if (!IsDestroying()) FEditLink.reset();
  }
  return ok;
}

void TBaseLazyTreeControl::UpdateEditBounds() {
  PLazyNode node = FFocusedNode;
  if (!IsEditing() || !node || !FEditLink || FEditColumn >= Header().Columns().Count()) return;
  if (Widget() && QThread::currentThread() != Widget()->thread()) return;
  plat::TRect r = GetDisplayRect(node, FEditColumn, true, !node->Has(vsMultiline), false);
  if (TreeOptions().MiscOptions.Has(toGridExtensions)) {
    const TLazyTreeColumns& columns = Header().Columns();
    const plat::TAlignment alignment =
        columns.IsValidColumn(FEditColumn) ? columns[FEditColumn]->Alignment() : Alignment();
    int left = 0, right = ClientW();
    if (columns.IsValidColumn(FEditColumn)) {
      columns.GetColumnBounds(FEditColumn, left, right);
      left -= EffectiveOffsetX();
      right -= EffectiveOffsetX();
    }
    if (alignment == plat::taLeftJustify)
      r.Right = right;
    else
      r.Left = left;
  }
  if (TreeOptions().PaintOptions.Has(toShowHorzGridLines)) --r.Bottom;
  r.Bottom = r.Top + std::max(FEditLink->GetBounds().Height(), r.Height());
  FEditLink->SetBounds(r);
}

void TBaseLazyTreeControl::GetTextInfo(PLazyNode /*Node*/, TColumnIndex /*Column*/, plat::TFont* AFont,
                                       plat::TRect& R, QString& Text) {
  R = {};
  Text.clear();
  if (AFont) AFont->Assign(*Font());
}

// The string tree: the cell's font (OnPaintText may change it), its text, and the text rectangle with the
// height of one line of that font, centred in the cell.
void TCustomLazyStringTree::GetTextInfo(PLazyNode Node, TColumnIndex Column, plat::TFont* AFont, plat::TRect& R,
                                        QString& Text) {
  TBaseLazyTreeControl::GetTextInfo(Node, Column, AFont, R, Text);
  plat::TFont font;
  font.Assign(*Font());
  int textHeight = TextHeight();
  if (OnPaintText) {
    plat::TBitmap scratch(1, 1);
    plat::TCanvas* canvas = scratch.Canvas();
    canvas->SetFont(font);
    HookCanvasFontChange(canvas);
    SetFontChanged(false);
    try {
      DoPaintText(Node, canvas, Column, ttNormal);
    } catch (...) {
      UnhookCanvasFontChange(canvas);
      throw;
    }
    UnhookCanvasFontChange(canvas);
    if (FontChanged()) {
      font.Assign(*canvas->Font());
      textHeight = QFontMetrics(font.QtFont()).height();
    }
  }
  if (AFont) AFont->Assign(font);
  if (textHeight <= 0) textHeight = QFontMetrics(font.QtFont()).height();
  Text = GetText(Node, Column);
  R = GetDisplayRect(Node, Column, true, !Node->Has(vsMultiline), true);
  if (TreeOptions().PaintOptions.Has(toShowHorzGridLines)) --R.Bottom;
  const int grow = (R.Top + textHeight - R.Bottom) / 2;
  R.Top -= grow;
  R.Bottom = R.Top + textHeight;
}

}  // namespace lazytree
