#include "grid/edit/inplace_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "controls/text_utils.h"
#include "grid/edit/edit_host.h"
#include "grid/edit/edit_walk.h"
#include "grid/extgrid.h"
#include "platform/forms/beep.h"
#include "platform/forms/msgqueue.h"
#include "platform/grids/editmask.h"
#include "platform/rtl/formatsettings.h"

namespace grid {

using plat::TShiftState;

namespace {

bool NoModifier(TShiftState Shift) {
  return !Shift.Contains(plat::ssShift) && !Shift.Contains(plat::ssCtrl) && !Shift.Contains(plat::ssAlt);
}

// The kinds whose Enter breaks the line when the grid feeds lines on Enter.
bool LineFeedKind(TEditorType Kind) {
  return Kind == edNormal || Kind == edCapital || Kind == edMixedCase || Kind == edLowerCase ||
         Kind == edUpperCase || Kind == edValidChars;
}

}  // namespace

QString PastedText(const QString& Clip) {
  QString value = Clip;
  const qsizetype crlf = value.indexOf(QStringLiteral("\r\n"));
  if (crlf >= 0 && crlf == value.size() - 2) value.chop(2);
  return value;
}

QString LookupCompletion(const QString& Prefix, const plat::TStrings& Items, bool CaseSensitive) {
  if (Prefix.isEmpty()) return QString();
  const Qt::CaseSensitivity cs = CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  for (int i = 0; i < Items.Count(); ++i) {
    const QString item = Items.Strings(i);
    if (item.startsWith(Prefix, cs)) return Prefix + item.mid(Prefix.size(), 255);
  }
  return QString();
}

TExtInplaceEdit::TExtInplaceEdit(plat::TComponent* AOwner) : plat::TInplaceEdit(AOwner) {
  QTextDocument* doc = PlainTextEdit()->document();
  QObject::connect(doc, &QTextDocument::contentsChange, PlainTextEdit(),
                   [this](int position, int removed, int added) { PasswordEdited(position, removed, added); });
}

TExtStringGrid* TExtInplaceEdit::Grid() const { return dynamic_cast<TExtStringGrid*>(plat::TInplaceEdit::Grid()); }

void TExtInplaceEdit::SetVAlign(bool Value) {
  FValign = Value;
  if (QPlainTextEdit* e = PlainTextEdit()) {
    QTextOption o = e->document()->defaultTextOption();
    o.setAlignment(Value ? Qt::AlignRight : Qt::AlignLeft);
    e->document()->setDefaultTextOption(o);
  }
}

int TExtInplaceEdit::PlainLength() const { return static_cast<int>(PlainTextEdit()->document()->characterCount()) - 1; }

// ---------------------------------------------------------------- password text

// A password edit keeps its text to itself and shows one password character per character. Typing goes
// through KeyPress (which hands the real characters over in FTyping); every other change of the shown text
// (deleting, cutting, replacing a selection) is applied to the real text at the same place.
void TExtInplaceEdit::SetPassword(bool Value) {
  if (FPassword == Value) return;
  // The switch empties the editor; the cell it edits keeps its text.
  FShowing = FSilent = true;
  FPassword = Value;
  FPlain.clear();
  PlainTextEdit()->setPlainText(QString());
  PlainTextEdit()->setUndoRedoEnabled(!Value);
  FShowing = FSilent = false;
}

QString TExtInplaceEdit::GetText() const { return FPassword ? FPlain : plat::TInplaceEdit::GetText(); }

QString TExtInplaceEdit::DisplayedText() const { return PlainTextEdit()->toPlainText(); }

void TExtInplaceEdit::TextChanged() {
  if (!FPassword) return plat::TInplaceEdit::TextChanged();
  TExtStringGrid* g = Grid();
  const QChar mask = g && !g->PasswordChar.isEmpty() ? g->PasswordChar.at(0) : QChar(u'*');
  FShowing = true;
  FPlain = FText;
  PlainTextEdit()->setPlainText(QString(FPlain.size(), mask));
  FShowing = false;
}

void TExtInplaceEdit::PasswordEdited(int Position, int Removed, int Added) {
  if (!FPassword || FShowing) return;
  QString added = FTyping.left(Added);
  if (added.size() < Added) added += PlainTextEdit()->toPlainText().mid(Position + added.size(), Added - added.size());
  FTyping.clear();
  FPlain = FPlain.left(Position) + added + FPlain.mid(Position + Removed);
}

// ---------------------------------------------------------------- loading and placing

void TExtInplaceEdit::UpdateContents() {
  TExtStringGrid* g = Grid();
  if (!g) return plat::TInplaceEdit::UpdateContents();
  TEditState& st = g->EditState();
  st.NoEditChange = true;
  SetPassword(g->EditState().EditControl == edPassword);
  plat::TInplaceEdit::UpdateContents();
  FLengthLimit = g->MaxEditLength();
  plat::TColor color = plat::clWindow;
  plat::TFont font;
  g->EditManager().EditorLooks(g->Col(), g->Row(), color, font);
  SetColor(color);
  Font()->Assign(font);
  FColE = g->Col();
  FRowE = g->Row();
  g->DoGetEditorProp(g->RealCol(), g->Row(), nullptr);
  st.NoEditChange = false;
}

void TExtInplaceEdit::BoundsChanged() {
  plat::TRect r = FEditRect;
  TExtStringGrid* g = Grid();
  if (g && g->PaintRightToLeft()) ++r.Left;
  SetBounds(r.Left, r.Top, std::max(0, r.Width() - 1), std::max(0, r.Height() - 1));
}

// ---------------------------------------------------------------- characters

bool AcceptKindChar(const TExtStringGrid& Grid, TEditorType Kind, const QString& Text, int SelStart, int SelLength,
                    char16_t& Key) {
  if (Key < 32) return true;
  const QString outside = Text.left(SelStart) + Text.mid(SelStart + SelLength);
  const bool ctrl = plat::GetKeyState(plat::VK_CONTROL) < 0;
  const QChar ch(Key);
  const QChar dec = plat::FormatSettings.DecimalSeparator, thousand = plat::FormatSettings.ThousandSeparator;
  const auto beep = [] {
    plat::MessageBeep(0);
    return false;
  };
  switch (Kind) {
    case edNumeric:
    case edNumericEditBtn:
      if (ch.isDigit()) return true;
      if (ch == u'-' && SelStart == 0 && !outside.contains(u'-')) return true;
      return beep();
    case edPositiveNumeric: return ch.isDigit() || beep();
    case edFloat:
    case edFloatEditBtn:
    case edPositiveFloat: {
      const bool positive = Kind == edPositiveFloat;
      if (ch.isDigit()) return true;
      if (ch == thousand) return false;
      if (ch == dec) return !outside.contains(dec);
      if (ch == u'-') {
        if (positive) return ctrl;
        return (SelStart == 0 && !outside.contains(u'-')) || beep();
      }
      if (ch == u',' || ch == u'.') return false;
      return ctrl || beep();
    }
    case edCapital:
    case edUpperCase: Key = ch.toUpper().unicode(); return true;
    case edLowerCase: Key = ch.toLower().unicode(); return true;
    case edValidChars:
      if (!Grid.ValidChars.isEmpty()) return Grid.ValidChars.contains(ch) || beep();
      return (Key < 256 && Grid.ValidCharSet.count(Key) > 0) || beep();
    default: return true;
  }
}

bool TExtInplaceEdit::AcceptChar(char16_t& Key) {
  TExtStringGrid* g = Grid();
  return !g || AcceptKindChar(*g, g->EditState().EditControl, Text(), SelStart(), SelLength(), Key);
}

bool TExtInplaceEdit::LineBreaksAllowed() const {
  TExtStringGrid* g = Grid();
  return g->Navigation()->AllowCtrlEnter && (g->WordWrap() || g->Multilinecells());
}

void TExtInplaceEdit::InsertLineBreak() { SetSelText(QStringLiteral("\n")); }

void TExtInplaceEdit::KeyPress(char16_t& Key) {
  TExtStringGrid* g = Grid();
  if (!g) return plat::TInplaceEdit::KeyPress(Key);
  if (Key == u'\r' && FDropReturn) {
    FDropReturn = false;
    Key = 0;
    return;
  }
  FDropReturn = false;
  if (Key == 1) {  // Ctrl+A
    Key = 0;
    return;
  }
  if (Key == 10) {  // Ctrl+Enter
    if (LineBreaksAllowed() && !FPassword) InsertLineBreak();
    Key = 0;
    return;
  }
  if (FLengthLimit > 0 && Text().size() >= FLengthLimit && SelLength() == 0 && Key != 8 && Key != 27 &&
      Key != u'\r') {
    Key = 0;
    return;
  }
  if (Key == u'\r' && g->Navigation()->LineFeedOnEnter && LineFeedKind(g->EditState().EditControl)) {
    InsertLineBreak();
    Key = 0;
    return;
  }
  if (Key >= 32 && !AcceptChar(Key)) {
    Key = 0;
    return;
  }
  const int caret = SelStart();
  const bool typed = Key >= 32;
  if (typed && FPassword) FTyping = QString(QChar(Key));
  plat::TInplaceEdit::KeyPress(Key);
  FTypedChar = typed && Key != 0;
  if (Key >= 32 && FPassword) {
    // The shown text gets the password character; the real one arrives through FTyping.
    const QChar mask = g->PasswordChar.isEmpty() ? QChar(u'*') : g->PasswordChar.at(0);
    PlainTextEdit()->insertPlainText(QString(mask));
    Key = 0;
  } else if (Key >= 32 && g->EditState().EditControl == edMixedCase) {
    // The character goes in first; then the whole text is rewritten in mixed case.
    SetSelText(QString(QChar(Key)));
    Key = 0;
    SetText(controls::MixedCase(Text()));
    SetSelStart(caret + 1);
    SetSelLength(0);
  }
  FTyping.clear();
  // A filled edit mask moves on by itself, as if Enter was typed.
  if (typed && IsMasked() && g->Navigation()->AdvanceAuto()) {
    const plat::TEditMask mask(EditMask());
    if (!Text().contains(mask.Blank()) && SelStart() >= PlainLength())
      plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_RETURN, 0);
  }
}

// ---------------------------------------------------------------- keys

void TExtInplaceEdit::Refused(const QString& OldText, int Caret) {
  TExtStringGrid* g = Grid();
  const TEditState& st = g->EditState();
  SetText(st.NewCellText);
  if (g->Navigation()->EditSelectAll) {
    SelectAll();
  } else {
    SetSelStart(Caret);
    SetSelLength(0);
  }
  Invalidate();
  g->EditState().OldCellText = OldText;
}

bool TExtInplaceEdit::CommitForMove(const QString& Text) {
  TExtStringGrid* g = Grid();
  TEditState& st = g->EditState();
  st.Validating = true;
  g->SetCurrentCellText(Text);
  st.Validating = false;
  return g->EditManager().ValidateCell(Text);
}

bool TExtInplaceEdit::OnEdgeLine(bool Up) const {
  QPlainTextEdit* e = PlainTextEdit();
  if (!e) return true;
  const int line = e->textCursor().blockNumber();
  return Up ? line == 0 : line == e->document()->blockCount() - 1;
}

// The message-level steps, before the platform sees the key.
bool TExtInplaceEdit::EditKeyDown(std::uint16_t Key, TShiftState Shift) {
  TExtStringGrid* g = Grid();
  TEditManager& m = g->EditManager();
  const TNavigation& nav = *g->Navigation();
  const QString T = Text();
  const QString oldText = g->EditState().OldCellText;
  const bool ctrl = Shift.Contains(plat::ssCtrl), shift = Shift.Contains(plat::ssShift);
  const int caret = SelStart();
  switch (Key) {
    case plat::VK_ESCAPE:
      // The cell gets back the text it had when the edit started, and the edit ends.
      SetText(g->CellCacheText());
      m.HideInplaceEdit();
      return true;
    case 'A':
      if (!ctrl || Shift.Contains(plat::ssAlt)) return false;
      SelectAll();
      return true;
    case plat::VK_TAB:
      if (!m.WantsTabKey()) return false;
      if (!m.ValidateCell(T)) {
        Refused(oldText, static_cast<int>(T.size()));
        return true;
      }
      SetText(m.State().NewCellText);
      m.HideInplaceEdit();
      if (g->Options().Contains(plat::goTabs))
        g->EditorTabToNextCell(shift);
      else
        plat::PostMessage(g->Handle(), plat::WM_KEYDOWN, plat::VK_TAB, 0);
      return true;
    case plat::VK_LEFT:
    case plat::VK_RIGHT: {
      // Shift with the caret at the text's edge ends the edit in place.
      const bool edge = Key == plat::VK_LEFT ? caret == 0 && SelLength() == 0 : caret >= PlainLength();
      if (!shift || ctrl || !edge || !nav.CursorWalkEditor) return false;
      if (!CommitForMove(T)) {
        Refused(oldText, static_cast<int>(T.size()));
        return true;
      }
      SetText(m.State().NewCellText);
      m.HideInplaceEdit();
      if (g->CanFocus()) g->SetFocus();
      return true;
    }
    case plat::VK_UP:
    case plat::VK_DOWN:
      if (ctrl || !OnEdgeLine(Key == plat::VK_UP)) return false;
      if (!CommitForMove(T)) {
        Refused(oldText, static_cast<int>(T.size()));
        return true;
      }
      SetText(m.State().NewCellText);
      FMovedCell = true;
      return false;
    case plat::VK_RETURN:
      if (ctrl) {
        if (!LineBreaksAllowed()) return true;
        if (!nav.LineFeedOnEnter) return false;
        InsertLineBreak();
        FDropReturn = true;
        return true;
      }
      if (nav.LineFeedOnEnter) return false;
      if (!m.ValidateCell(T)) {
        Refused(oldText, static_cast<int>(T.size()));
        FDropReturn = true;  // the Enter character that follows must not close the editor
        return true;
      }
      if (Text() != m.State().NewCellText) SetText(m.State().NewCellText);
      return false;  // the platform hands the Enter on to the grid, which ends the edit
    case plat::VK_HOME:
    case plat::VK_END:
      if (ctrl || shift) return false;
      SetSelStart(Key == plat::VK_HOME ? 0 : PlainLength());
      SetSelLength(0);
      return true;
    default: return false;
  }
}

void TExtInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TExtStringGrid* g = Grid();
  if (!g) return plat::TInplaceEdit::KeyDown(Key, Shift);
  g->EditorKeyDownHook(Key, Shift);
  FOldSelStart = SelStart();
  FMovedCell = false;
  if (EditKeyDown(Key, Shift)) {
    Key = 0;
    return;
  }
  if (Key == plat::VK_BACK || Key == plat::VK_DELETE)
    FWorkmode = false;
  else if (Key != plat::VK_RETURN && Key != plat::VK_UP && Key != plat::VK_DOWN)
    FWorkmode = true;
  const bool ctrl = Shift.Contains(plat::ssCtrl);
  if (Key == plat::VK_RETURN && (ctrl || (Shift.Contains(plat::ssShift) && g->Navigation()->LineFeedOnEnter))) {
    // A line break follows: the row makes room for it first.
    GrowRowForLines(*g, controls::TextLineCount(Text() + QStringLiteral("\r\n "), true));
  }
  if ((Key == plat::VK_UP || Key == plat::VK_DOWN) && !ctrl && !OnEdgeLine(Key == plat::VK_UP)) return;
  const int row = g->Row();
  if ((Key == plat::VK_LEFT || Key == plat::VK_RIGHT) && !ctrl && !g->Options().Contains(plat::goAlwaysShowEditor)) {
    // The caret moves inside the text; leaving the cell over its edge is the cursor walk's, on key-up.
    plat::TMemo::KeyDown(Key, Shift);
  } else {
    plat::TInplaceEdit::KeyDown(Key, Shift);
  }
  if (FMovedCell && g->MouseActions()->DisjunctRowSelect() && g->Row() != row) {
    g->ClearRowSelect();
    g->SetRowSelect(g->Row(), true);
  }
}

void TExtInplaceEdit::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  TExtStringGrid* g = Grid();
  if (!g) return plat::TInplaceEdit::KeyUp(Key, Shift);
  if (Key == plat::VK_LEFT || Key == plat::VK_RIGHT) {
    const bool right = Key == plat::VK_RIGHT;
    const bool atEdge = right ? FOldSelStart >= PlainLength() : FOldSelStart == 0 && SelStart() == 0;
    if (g->Navigation()->CursorWalkEditor && NoModifier(Shift) && SelLength() == 0 && atEdge) {
      Key = 0;
      const QString text = Text(), oldText = g->EditState().OldCellText;
      if (CursorWalk(*g, right, text, TWalkCommit::Validate) == TWalkResult::Refused)
        Refused(oldText, static_cast<int>(text.size()));
    }
    return;
  }
  plat::TInplaceEdit::KeyUp(Key, Shift);
  DoChange();
  if (Visible()) SizeWhileTyping(*g);
}

void TExtInplaceEdit::KeyUpHooks() {
  TExtStringGrid* g = Grid();
  const QString text = Text();
  const int caret = SelStart();
  if (caret > 0 && Visible()) {
    QTextCursor c(PlainTextEdit()->document());
    c.setPosition(caret - 1);
    g->EditorKeyUpHook(text, PlainTextEdit()->cursorRect(c).left(), caret);
  }
  g->EditorFormulaHook(text.startsWith(u'='));
}

void TExtInplaceEdit::DoChange() {
  TExtStringGrid* g = Grid();
  if (!g || FPassword || !FWorkmode || SelLength() != 0 || !g->Lookup || g->LookupItems()->Count() == 0) return;
  const int caret = SelStart();
  const QString typed = Text().left(caret);
  const QString completed = LookupCompletion(typed, *g->LookupItems(), g->LookupCaseSensitive);
  if (completed.isEmpty() || completed == Text()) return;
  SetText(completed);
  SetSelStart(static_cast<int>(typed.size()));
  SetSelLength(static_cast<int>(completed.size() - typed.size()));
}

void TExtInplaceEdit::Change() {
  if (FSilent) return;
  plat::TInplaceEdit::Change();
  TExtStringGrid* g = Grid();
  if (!g) return;
  if (!g->EditState().NoEditChange && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), Text());
  // A typed character that fills the text moves on by itself: an Enter follows, as if typed.
  const TNavigation& nav = *g->Navigation();
  if (FTypedChar && nav.AdvanceAuto() && nav.AdvanceOnEnter && g->MaxEditLength() > 0 &&
      Text().size() >= g->MaxEditLength() && SelLength() == 0 && SelStart() == PlainLength())
    plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_RETURN, 0);
  FTypedChar = false;
}

// ---------------------------------------------------------------- clipboard

bool TExtInplaceEdit::AcceptsPaste(QString& Text) const {
  TExtStringGrid* g = Grid();
  const auto noMinus = [](const QString& s) { return !s.contains(u'-'); };
  switch (g->EditState().EditControl) {
    case edNumeric: return controls::NumericTextKind(Text) == 0;
    case edPositiveNumeric: return controls::NumericTextKind(Text) == 0 && noMinus(Text);
    case edFloat: {
      const int k = controls::NumericTextKind(Text);
      return k == 0 || k == 1;
    }
    case edPositiveFloat: {
      const int k = controls::NumericTextKind(Text);
      return (k == 0 || k == 1) && noMinus(Text);
    }
    case edMixedCase: Text = controls::MixedCase(Text); return true;
    case edLowerCase: Text = Text.toLower(); return true;
    case edUpperCase: Text = Text.toUpper(); return true;
    case edValidChars:
      for (QChar c : Text)
        if (!g->ValidChars.contains(c)) return false;
      return true;
    default: return true;
  }
}

void TExtInplaceEdit::Paste() {
  TExtStringGrid* g = Grid();
  const QString clip = QGuiApplication::clipboard()->text();
  bool allow = !clip.isNull();
  QString value = clip;
  if (g->OnClipboardPaste) g->OnClipboardPaste(this, allow);
  if (allow && g->OnClipboardBeforePasteCell) g->OnClipboardBeforePasteCell(this, g->Col(), g->Row(), value, allow);
  if (!allow || (FLengthLimit >= 1 && value.size() > FLengthLimit)) return;
  value = PastedText(value);
  const QString t = Text();
  const int start = SelStart(), len = SelLength();
  QString result = t.left(start) + value + t.mid(start + len);
  if (FLengthLimit >= 1 && result.size() > FLengthLimit) return;
  if (!AcceptsPaste(result)) return;
  SetText(result);
  g->SetCurrentEditText(Text());
  if (len > 0) {
    SetSelStart(start);
    SetSelLength(static_cast<int>(value.size()));
  } else {
    SetSelStart(start + static_cast<int>(value.size()));
    SetSelLength(0);
  }
  if (g->OnClipboardAfterPasteCell) g->OnClipboardAfterPasteCell(this, g->Col(), g->Row(), Text());
}

// ---------------------------------------------------------------- focus

// A click that opened the editor puts the caret where it pressed.
void TExtInplaceEdit::CaretToClick() {
  TExtStringGrid* g = Grid();
  TMousePress& press = g->Mouse().Press();
  press.LButFlg = false;
  const QPoint at(press.Clickposx - Left(), press.Clickposy - Top());
  if (at.x() < 0 || at.y() < 0 || at.x() >= Width() || at.y() >= Height()) return;
  QPlainTextEdit* e = PlainTextEdit();
  e->setTextCursor(e->cursorForPosition(e->viewport()->mapFrom(e, at)));
}

void TExtInplaceEdit::SetFocusMsg() {
  TExtStringGrid* g = Grid();
  FGotFocus = true;
  g->EditState().NoEditChange = false;
  FLengthLimit = g->MaxEditLength();
  SetMaxLength(FLengthLimit);
  const bool click = g->Mouse().Press().LButFlg;
  if (IsMasked() && !click && g->Navigation()->ImproveMaskSel) {
    SetSelStart(0);
    SetSelLength(1);
    return;
  }
  if (!g->Navigation()->EditSelectAll) {
    SetSelStart(PlainLength());
    SetSelLength(0);
  }
  if (click) CaretToClick();
}

void TExtInplaceEdit::ReloadFromCell() {
  TExtStringGrid* g = Grid();
  TEditState& st = g->EditState();
  const bool noChange = st.NoEditChange;
  st.NoEditChange = true;
  SetText(g->CurrentCell());
  st.NoEditChange = noChange;
}

void TExtInplaceEdit::KillFocus(plat::HWND Next) {
  TExtStringGrid* g = Grid();
  TEditState& st = g->EditState();
  TEditManager& m = g->EditManager();
  st.StartEditChar = 0;
  if (g->LookupHistory && !FPassword && g->LookupItems()->IndexOf(Text()) < 0) g->LookupItems()->Add(Text());
  g->EditorFormulaHook(false);
  if (FAltBack) return;
  if (Next != g->Handle() && st.EditMode) {
    // Focus goes to another window: the typed text is validated and stays in the cell. A refused text stays
    // in the open editor with the message, so that nothing typed is lost while the focus is elsewhere; the
    // cell keeps the text the validation put back, which stays the comparison base when the user returns.
    if (!m.ValidateCell(Text())) {
      FSilent = true;
      SetText(st.NewCellText);
      FSilent = false;
      return;
    }
    ReloadFromCell();
    const int col = FColE, row = FRowE;
    m.HideInplaceEdit();
    st.Editing = false;
    st.EditMode = false;
    if (col >= 0 && col < g->ColCount() && row >= 0 && row < g->RowCount()) m.Host().HandleSelectCell(col, row);
  }
  ReloadFromCell();
  g->EditorKeyUpHook(Text(), -1, -1);
  if (FGotFocus) {
    FGotFocus = false;
    m.EditingDone(g->RealColIndex(FColE < 0 ? g->Col() : FColE), FRowE < 0 ? g->Row() : FRowE);
  }
}

void TExtInplaceEdit::Dispatch(plat::TMessage& Message) {
  TExtStringGrid* g = Grid();
  if (!g) return plat::TInplaceEdit::Dispatch(Message);
  switch (Message.Msg) {
    case plat::WM_SYSKEYDOWN:
      if (Message.WParam == plat::VK_BACK) FAltBack = true;
      break;
    case plat::WM_SYSKEYUP:
      if (Message.WParam == plat::VK_BACK) FAltBack = false;
      break;
    case plat::WM_CHAR:
      // The keypad's decimal point types the locale's decimal separator.
      if (g->ExcelStyleDecimalSeparator && Message.WParam == u'.' &&
          (static_cast<std::uint32_t>(Message.LParam) & plat::KF_KEYPAD) != 0)
        Message.WParam = plat::FormatSettings.DecimalSeparator.unicode();
      break;
    case plat::WM_KEYUP:
      plat::TInplaceEdit::Dispatch(Message);
      KeyUpHooks();
      return;
    case plat::WM_PASTE:
      if (!IsMasked()) {
        if (!ReadOnly()) Paste();
        return;
      }
      break;
    case plat::WM_CUT:
    case plat::WM_COPY: {
      bool allow = true;
      auto& ev = Message.Msg == plat::WM_CUT ? g->OnClipboardCut : g->OnClipboardCopy;
      if (ev) ev(this, allow);
      if (!allow) return;
      break;
    }
    case plat::WM_LBUTTONDBLCLK:
      plat::TInplaceEdit::Dispatch(Message);
      if (g->OnDblClickCell) g->OnDblClickCell(g, g->Row(), g->Col());
      return;
    case plat::CM_WANTSPECIALKEY:
      // Tab stays in the editor whenever the grid validates on it.
      if (Message.WParam == plat::VK_TAB && g->WantsTabKey()) {
        Message.Result = 1;
        return;
      }
      break;
    case plat::WM_SETFOCUS:
      plat::TInplaceEdit::Dispatch(Message);
      SetFocusMsg();
      return;
    case plat::WM_KILLFOCUS:
      plat::TInplaceEdit::Dispatch(Message);
      KillFocus(static_cast<plat::HWND>(Message.WParam));
      return;
    default: break;
  }
  plat::TInplaceEdit::Dispatch(Message);
}

}  // namespace grid
