// The string tree's default editor: the link object the tree holds while an edit runs, and its edit control.
// Whichever way the edit ends, the control asks the tree to accept or to cancel, or (when it is destroyed while
// still linked) stores a changed text itself, so that nothing typed goes silently.
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "tree/stringtree.h"
#include "tree/treeedit.h"

namespace lazytree {

namespace {

bool AutoAccept(TCustomLazyStringTree* Tree) { return Tree->StringOptions().Has(toAutoAcceptEditChange); }

}  // namespace

// ------------------------------------------------------------------------------------------------------------
// The edit control

TLTEdit::TLTEdit(TStringEditLink* Link) : plat::TMemo(nullptr), FLink(Link) {
  SetShowHint(false);
  SetTabStop(false);
  SetWantTabs(true);
  SetBounds(0, 0, 30, 0);  // the cell gives the height; a memo's own default would cover several rows
  PlainTextEdit()->setFrameShape(QFrame::Box);
  PlainTextEdit()->document()->setDocumentMargin(1);
}

TLTEdit::~TLTEdit() {
  // Destroyed while still linked (the tree or its form went first): a changed text is kept when the tree takes
  // edits on leaving.
  if (FLink && !FLink->Stopping() && FLink->Tree() && AutoAccept(FLink->Tree()) && Modified())
    FLink->Tree()->SetText(FLink->Node(), FLink->Column(), Text());
  Forget();
}

void TLTEdit::Release() {
  QMetaObject::invokeMethod(Widget(), [this] { delete this; }, Qt::QueuedConnection);
}

bool TLTEdit::SingleLine() const { return !FLink || !FLink->Node() || !FLink->Node()->Has(vsMultiline); }

void TLTEdit::ApplyNodeStyle(bool Multiline) {
  SetWordWrap(Multiline);
  SetScrollBars(Multiline ? plat::ssVertical : plat::ssNone);
}

plat::LRESULT TLTEdit::DefaultDlgCode() const {
  return plat::TMemo::DefaultDlgCode() | plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB | plat::DLGC_WANTALLKEYS;
}

void TLTEdit::Dispatch(plat::TMessage& M) {
  switch (M.Msg) {
    case plat::WM_KEYDOWN:
      if (KeyDownMessage(M)) return;
      break;
    case plat::WM_CHAR:
      // Tab and Escape never type; a single-line node takes no line break.
      if (M.WParam == 9 || M.WParam == 27) return;
      if ((M.WParam == 13 || M.WParam == 10) && (SingleLine() || !FLink)) return;
      break;
    case plat::WM_GETDLGCODE: M.Result = DefaultDlgCode(); return;
    default: break;
  }
  plat::TMemo::Dispatch(M);
}

// Tab moves the edit on to the next visible node, Return accepts (Ctrl+Return in a multi-line node), Escape
// cancels, Up and Down act as Left and Right in a single-line node, Ctrl+A selects the whole text.
bool TLTEdit::KeyDownMessage(plat::TMessage& M) {
  TCustomLazyStringTree* tree = FLink ? FLink->Tree() : nullptr;
  const auto key = static_cast<uint16_t>(M.WParam);
  const plat::TShiftState shift = plat::KeyDataToShiftState(M.LParam);
  switch (key) {
    case plat::VK_TAB:
      if (tree && tree->IsEditing()) {
        PLazyNode node = FLink->Node();
        tree->InvalidateNode(node);
        PLazyNode next = tree->GetNextVisible(node, true);
        tree->EndEditNode();
        tree->SetFocusedNode(next);
        if (tree->FocusedNode() && tree->CanEdit(tree->FocusedNode(), tree->FocusedColumn())) tree->OpenEditor();
      }
      return true;
    case plat::VK_RETURN:
      if (tree && (SingleLine() || shift.Contains(plat::ssCtrl))) {
        tree->InvalidateNode(FLink->Node());
        tree->AcceptEdit();
        tree->SetFocus();
        return true;
      }
      return false;
    case plat::VK_ESCAPE:
      if (tree) {
        tree->AbortEdit();
        tree->SetFocus();
      }
      return true;
    case plat::VK_UP:
    case plat::VK_DOWN: {
      if (!SingleLine()) return false;
      // The edit handles the key as Left or Right, with the modifiers held (Shift still selects).
      Qt::KeyboardModifiers mods;
      if (shift.Contains(plat::ssShift)) mods |= Qt::ShiftModifier;
      if (shift.Contains(plat::ssCtrl)) mods |= Qt::ControlModifier;
      QKeyEvent press(QEvent::KeyPress, key == plat::VK_UP ? Qt::Key_Left : Qt::Key_Right, mods);
      QCoreApplication::sendEvent(Widget(), &press);
      return true;
    }
    case 'A':
      if (shift == plat::TShiftState{plat::ssCtrl} && tree && tree->IsEditing()) SelectAll();
      return true;
    default: return false;
  }
}

void TLTEdit::Change() {
  plat::TMemo::Change();
  if (FLink && FLink->Tree() && SingleLine()) FitToText();
}

void TLTEdit::DoExit() {
  plat::TMemo::DoExit();
  if (!FLink || FLink->Stopping() || !FLink->Tree()) return;
  TCustomLazyStringTree* tree = FLink->Tree();
  if (AutoAccept(tree))
    tree->AcceptEdit();
  else
    tree->AbortEdit();
}

void TLTEdit::FitToText() {
  if (!FLink || !FLink->Tree() || !SingleLine()) return;
  TCustomLazyStringTree* tree = FLink->Tree();
  if (tree->TreeOptions().MiscOptions.Has(toGridExtensions)) return;
  const QFontMetrics metrics(Font()->QtFont());
  const int width = metrics.horizontalAdvance(Text() + QStringLiteral("yG")) + 2 * tree->TextMargin();
  const int height = metrics.height() + 2 * tree->TextMargin();
  if (height > Height()) SetHeight(height);
  if (width < Width()) tree->Invalidate();
  // The link places the control in tree client coordinates, below the header band.
  const int band = tree->HeaderBandHeight();
  const int left = Left(), top = Top() - band;
  plat::TRect r = FLink->Alignment() == plat::taRightJustify
                      ? plat::TRect(left + Width() - width, top, left + Width(), top + Height())
                      : plat::TRect(left, top, left + width, top + Height());
  FLink->SetBounds(r);
}

// ------------------------------------------------------------------------------------------------------------
// The link

TStringEditLink::TStringEditLink() = default;

TStringEditLink::~TStringEditLink() {
  if (FEdit) {
    FEdit->Forget();
    FEdit->Release();
  }
}

void TStringEditLink::SetEdit(TLTEdit* Value) {
  if (FEdit == Value) return;
  if (FEdit) {
    FEdit->Forget();
    delete FEdit;
  }
  FEdit = Value;
}

bool TStringEditLink::PrepareEdit(TBaseLazyTreeControl* Tree, PLazyNode Node, TColumnIndex Column) {
  auto* tree = dynamic_cast<TCustomLazyStringTree*>(Tree);
  if (!tree) return false;
  if (!FEdit) {
    FEdit = new TLTEdit(this);
    FEdit->Hide();
  }
  FEdit->FLink = this;
  FEdit->FRefLink = shared_from_this();
  FTree = tree;
  FNode = Node;
  FColumn = Column;
  QString text;
  tree->GetTextInfo(Node, Column, FEdit->Font(), FTextBounds, text);
  FEdit->Font()->SetColor(plat::clWindowText);
  FEdit->SetParent(tree);
  FEdit->ApplyNodeStyle(Node->Has(vsMultiline));
  FEdit->SetText(text);
  FEdit->SetModified(false);
  const TLazyTreeColumns& columns = tree->Header().Columns();
  FAlignment = columns.IsValidColumn(Column) ? columns[Column]->Alignment() : tree->Alignment();
  return true;
}

bool TStringEditLink::BeginEdit() {
  if (FStopping) return false;
  FEdit->Show();
  FEdit->SelectAll();
  FEdit->SetFocus();
  FEdit->FitToText();
  return true;
}

bool TStringEditLink::EndEdit() {
  if (FStopping) return false;
  FStopping = true;
  try {
    if (FEdit->Modified()) FTree->SetText(FNode, FColumn, FEdit->Text());
  } catch (...) {
    FStopping = false;
    throw;
  }
  FEdit->Hide();
  FEdit->Forget();
  return true;
}

bool TStringEditLink::CancelEdit() {
  if (FStopping) return false;
  FStopping = true;
  FEdit->Hide();
  FTree->CancelEditNode();
  FEdit->Forget();
  return true;
}

plat::TRect TStringEditLink::GetBounds() {
  if (!FEdit) return {};
  plat::TRect r = FEdit->BoundsRect();
  const int band = FTree ? FTree->HeaderBandHeight() : 0;
  r.Top -= band;
  r.Bottom -= band;
  return r;
}

void TStringEditLink::ProcessMessage(plat::TMessage& Message) {
  if (FEdit) FEdit->WindowProc(Message);
}

// R is in tree client coordinates: at least 30 pixels wide, never left of 0 nor past the client width.
void TStringEditLink::SetBounds(plat::TRect R) {
  if (FStopping || !FEdit || !FTree) return;
  R.Left = std::max(R.Left, 0);
  if (R.Width() < 30) {
    if (FAlignment == plat::taRightJustify)
      R.Left = R.Right - 30;
    else
      R.Right = R.Left + 30;
  }
  R.Right = std::min(R.Right, FTree->ClientWidth());
  const int band = FTree->HeaderBandHeight();
  FEdit->SetBounds(R.Left, R.Top + band, R.Width(), R.Height());
}

}  // namespace lazytree
