// The in-place editor and the grid's editor steps (show, hide, place, load and send back the text).
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

#include "platform/grids/grids.h"

namespace plat {

// ---- TInplaceEdit --------------------------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TMemo(AOwner), FGrid(dynamic_cast<TCustomGrid*>(AOwner)) {
  SetVisible(false);
  SetTabStop(false);
  SetWordWrap(true);
  SetWantReturns(false);
  SetWantTabs(false);
  SetScrollBars(ssNone);
  QPlainTextEdit* e = PlainTextEdit();
  e->setFrameStyle(QFrame::NoFrame);
  e->document()->setDocumentMargin(1);
  SetName("InplaceEdit");
}

void TInplaceEdit::Move(const TRect& r) {
  FEditRect = r;
  if (r.IsEmpty()) {
    Hide();
    return;
  }
  BoundsChanged();
  if (!Visible()) SetVisible(true);
}

void TInplaceEdit::BoundsChanged() { SetBounds(FEditRect.Left, FEditRect.Top, FEditRect.Width(), FEditRect.Height()); }

void TInplaceEdit::Hide() {
  if (!Visible()) return;
  const bool hadFocus = Focused();
  SetVisible(false);
  if (hadFocus && FGrid && FGrid->CanFocus()) FGrid->SetFocus();
}

void TInplaceEdit::SetFocus() {
  if (Visible()) TMemo::SetFocus();
}

void TInplaceEdit::UpdateContents() {
  if (!FGrid) return;
  const int col = FGrid->FInplaceCol, row = FGrid->FInplaceRow;
  FLoading = true;
  SetMaxLength(FGrid->HandleGetEditLimit());
  SetEditMask(FGrid->GetEditMask(col, row));
  SetReadOnly(!FGrid->CanEditModify());
  const QString text = FGrid->HandleGetEditText(col, row);
  SetText(IsMasked() ? FMask.Display(text) : text);
  FLoadedText = Text();
  FLoading = false;
}

void TInplaceEdit::SetEditMask(const QString& v) {
  FEditMask = v;
  FMask = TEditMask(v);
}

QString TInplaceEdit::EditValue() const { return IsMasked() ? FMask.Value(Text()) : Text(); }

void TInplaceEdit::SetMaskedText(const QString& text, int caret) {
  SetText(text);
  SetSelStart(std::clamp(caret, 0, static_cast<int>(text.size())));
  SetSelLength(0);
}

void TInplaceEdit::MaskedType(char16_t ch) {
  QString t = Text();
  int caret = SelStart();
  if (FMask.Type(t, caret, SelLength(), QChar(ch))) SetMaskedText(t, caret);
}

void TInplaceEdit::MaskedClear(bool backwards) {
  QString t = Text();
  int caret = SelStart();
  if (FMask.Clear(t, caret, backwards)) SetMaskedText(t, caret);
}

void TInplaceEdit::Reset() {
  if (Text() != FLoadedText) SetText(FLoadedText);
}

void TInplaceEdit::Change() {
  if (!FLoading && FGrid && FGrid->FInplaceCol >= 0)
    FGrid->HandleSetEditText(FGrid->FInplaceCol, FGrid->FInplaceRow, EditValue());
  TMemo::Change();
}

// Keys the grid moves on: vertical moves and page keys always, Tab with goTabs, and the horizontal keys at
// the text's edges (or with Ctrl).
bool TInplaceEdit::ForwardsKey(std::uint16_t Key, TShiftState Shift) const {
  const int len = static_cast<int>(Text().size());
  const int start = SelStart(), sel = SelLength();
  const bool all = sel == len;
  const bool leftSide = (start == 0 && sel == 0) || all;
  const bool rightSide = (start == len && sel == 0) || all;
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: return true;
    case VK_TAB: return FGrid && FGrid->Options().Contains(goTabs) && !Shift.Contains(ssAlt);
    case VK_LEFT:
    case VK_HOME: return Shift.Contains(ssCtrl) || (leftSide && !Shift.Contains(ssShift));
    case VK_RIGHT:
    case VK_END: return Shift.Contains(ssCtrl) || (rightSide && !Shift.Contains(ssShift));
    default: return false;
  }
}

void TInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (!FGrid) {
    TMemo::KeyDown(Key, Shift);
    return;
  }
  if (Key == VK_ESCAPE) {
    // Escape gives the cell back the text it had when the editor opened.
    Reset();
    FGrid->KeyDown(Key, Shift);
    if (!FGrid->Options().Contains(goAlwaysShowEditor)) FGrid->HideEditor();
    Key = 0;
    return;
  }
  if (ForwardsKey(Key, Shift)) {
    FGrid->KeyDown(Key, Shift);
    Key = 0;
    return;
  }
  TMemo::KeyDown(Key, Shift);
  if (Key == VK_DELETE && IsMasked()) {
    if (FGrid->CanEditModify()) MaskedClear(false);
    Key = 0;
  }
}

void TInplaceEdit::KeyPress(char16_t& Key) {
  if (FGrid) {
    if (Key == u'\r') {
      FGrid->KeyPress(Key);
      Key = 0;
      return;
    }
    if (Key == u'\t' || Key == 27) {
      Key = 0;
      return;
    }
    const bool typing = Key >= 32 || Key == 8;
    if (typing && (!FGrid->CanEditModify() || (Key >= 32 && !FGrid->CanEditAcceptKey(Key)))) {
      Key = 0;
      return;
    }
    if (Key >= 32 && !IsMasked() && MaxLength() > 0 && Text().size() - SelLength() >= MaxLength()) {
      Key = 0;
      return;
    }
  }
  TMemo::KeyPress(Key);
  if (Key != 0 && IsMasked() && (Key >= 32 || Key == 8)) {
    if (Key == 8)
      MaskedClear(true);
    else
      MaskedType(Key);
    Key = 0;
  }
}

LRESULT TInplaceEdit::DefaultDlgCode() const {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (FGrid && FGrid->Options().Contains(goTabs)) code |= DLGC_WANTTAB;
  return code;
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PASTE && IsMasked()) {
    // Pasted text is typed into the mask, one character after the other.
    if (!ReadOnly())
      for (QChar ch : QGuiApplication::clipboard()->text()) MaskedType(ch.unicode());
    return;
  }
  if (Message.Msg == WM_LBUTTONDBLCLK && FGrid) {
    TMemo::Dispatch(Message);
    FGrid->DblClick();
    return;
  }
  TMemo::Dispatch(Message);
}

// ---- the grid's editor steps ------------------------------------------------------------------------------------

TInplaceEdit* TCustomGrid::HandleCreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::HandleCanEditShow() {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode;
}

bool TCustomGrid::CanEditModify() { return true; }
bool TCustomGrid::CanEditAcceptKey(char16_t) { return true; }
QString TCustomGrid::HandleGetEditText(int, int) { return QString(); }
void TCustomGrid::HandleSetEditText(int, int, const QString&) {}
int TCustomGrid::HandleGetEditLimit() { return 0; }
QString TCustomGrid::GetEditMask(int, int) { return QString(); }

void TCustomGrid::SetEditorMode(bool v) {
  if (v)
    ShowEditor();
  else
    HideEditor();
}

void TCustomGrid::ShowEditor() {
  if (!FOptions.Contains(goEditing) || FOptions.Contains(goRowSelect)) return;
  FEditorMode = true;
  UpdateEdit();
}

void TCustomGrid::ShowEditorChar(char16_t Ch) {
  ShowEditor();
  if (!FInplaceEdit || !FInplaceEdit->Visible()) return;
  FInplaceEdit->SelectAll();
  FInplaceEdit->Perform(WM_CHAR, Ch, 0);
}

void TCustomGrid::UpdateText() {
  if (FInplaceEdit && FInplaceCol >= 0 && FInplaceRow >= 0 && CanEditModify())
    HandleSetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->EditValue());
}

void TCustomGrid::HideEditor() {
  FEditorMode = false;
  if (!FInplaceEdit || FInplaceCol < 0) return;
  UpdateText();
  FInplaceCol = FInplaceRow = -1;
  FInplaceEdit->Hide();
  Invalidate();
}

void TCustomGrid::UpdateEdit() {
  if (!HandleCanEditShow()) {
    // No editor for this cell: one still open over another cell hands its text back and goes.
    if (FInplaceEdit && FInplaceEdit->Visible() && (FInplaceCol != FCurrent.X || FInplaceRow != FCurrent.Y)) {
      UpdateText();
      FInplaceCol = FInplaceRow = -1;
      FInplaceEdit->Hide();
    }
    return;
  }
  if (!FInplaceEdit) {
    FInplaceEdit = HandleCreateEditor();
    FInplaceEdit->SetParent(this);
  }
  const bool otherCell = FInplaceCol != FCurrent.X || FInplaceRow != FCurrent.Y;
  if (otherCell) {
    UpdateText();
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    FInplaceEdit->UpdateContents();
    FInplaceEdit->SelectAll();
  }
  FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
  if (Focused()) FInplaceEdit->SetFocus();
  Invalidate();
}

// The editor reloads its cell and takes its place again (after scrolling, sizing or moving cells). Its text
// is not written back here: every change already went to the cell, and after a move of rows or columns the
// remembered cell may hold other data.
void TCustomGrid::InvalidateEditor() {
  if (!FInplaceEdit || FInplaceCol < 0) return;
  FInplaceCol = FInplaceRow = -1;
  UpdateEdit();
}

}  // namespace plat
