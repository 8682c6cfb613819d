#include "grid/inplace_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "controls/text_utils.h"
#include "grid/extgrid.h"
#include "platform/forms/beep.h"
#include "platform/forms/msgqueue.h"
#include "platform/rtl/formatsettings.h"

namespace grid {

using plat::TShiftState;

TExtInplaceEdit::TExtInplaceEdit(plat::TComponent* AOwner) : plat::TInplaceEdit(AOwner) {}

TExtStringGrid* TExtInplaceEdit::Grid() const { return dynamic_cast<TExtStringGrid*>(plat::TInplaceEdit::Grid()); }

void TExtInplaceEdit::SetVAlign(bool Value) {
  FValign = Value;
  if (QPlainTextEdit* e = PlainTextEdit()) {
    QTextOption o = e->document()->defaultTextOption();
    o.setAlignment(Value ? Qt::AlignRight : Qt::AlignLeft);
    e->document()->setDefaultTextOption(o);
  }
}

void TExtInplaceEdit::UpdateContents() {
  TExtStringGrid* g = Grid();
  if (!g) return plat::TInplaceEdit::UpdateContents();
  TEditState& st = g->EditState();
  st.NoEditChange = true;
  plat::TInplaceEdit::UpdateContents();
  FLengthLimit = g->MaxEditLength();
  if (g->FEditControl == edPassword) SetMaxLength(FLengthLimit);
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
  return !g || AcceptKindChar(*g, g->FEditControl, Text(), SelStart(), SelLength(), Key);
}

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
  if (FLengthLimit > 0 && Text().size() >= FLengthLimit && SelLength() == 0 && Key != 8 && Key != 27 &&
      Key != u'\r') {
    Key = 0;
    return;
  }
  if (Key >= 32 && !AcceptChar(Key)) {
    Key = 0;
    return;
  }
  const int caret = SelStart();
  const bool typed = Key >= 32;
  plat::TInplaceEdit::KeyPress(Key);
  FTypedChar = typed && Key != 0;
  if (Key >= 32 && g->FEditControl == edMixedCase) {
    // The character goes in first; then the whole text is rewritten in mixed case.
    SetSelText(QString(QChar(Key)));
    Key = 0;
    SetText(controls::MixedCase(Text()));
    SetSelStart(caret + 1);
    SetSelLength(0);
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
  g->FOldCellText = OldText;
}

bool TExtInplaceEdit::OnEdgeLine(bool Up) const {
  QPlainTextEdit* e = PlainTextEdit();
  if (!e) return true;
  const int line = e->textCursor().blockNumber();
  return Up ? line == 0 : line == e->document()->blockCount() - 1;
}

void TExtInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TExtStringGrid* g = Grid();
  if (!g) return plat::TInplaceEdit::KeyDown(Key, Shift);
  const QString T = Text();
  const QString oldText = g->FOldCellText;
  TEditManager& m = g->EditManager();
  const bool ctrl = Shift.Contains(plat::ssCtrl);
  if (Key == plat::VK_BACK || Key == plat::VK_DELETE)
    FWorkmode = false;
  else if (Key != plat::VK_RETURN && Key != plat::VK_UP && Key != plat::VK_DOWN)
    FWorkmode = true;
  if (Key == plat::VK_ESCAPE) {
    // The cell gets back the text it had when the edit started, and the edit ends.
    SetText(g->CellCacheText());
    m.HideInplaceEdit();
    Key = 0;
    return;
  }
  if (Key == 'A' && ctrl && !Shift.Contains(plat::ssAlt)) {
    SelectAll();
    Key = 0;
    return;
  }
  if (Key == plat::VK_RETURN && ctrl &&
      !(g->Navigation()->AllowCtrlEnter && (g->WordWrap() || g->Multilinecells()))) {
    Key = 0;
    return;
  }
  if (Key == plat::VK_TAB && m.WantsTabKey()) {
    if (!m.ValidateCell(T)) {
      Refused(oldText, static_cast<int>(T.size()));
    } else {
      SetText(m.State().NewCellText);
      m.HideInplaceEdit();
      if (g->Options().Contains(plat::goTabs))
        g->EditorTabToNextCell(Shift.Contains(plat::ssShift));
      else
        plat::PostMessage(g->Handle(), plat::WM_KEYDOWN, plat::VK_TAB, 0);
    }
    Key = 0;
    return;
  }
  if ((Key == plat::VK_UP || Key == plat::VK_DOWN) && !ctrl) {
    if (!OnEdgeLine(Key == plat::VK_UP)) return;  // the caret moves between the lines
    g->EditState().Validating = true;
    g->SetCurrentCellText(T);
    g->EditState().Validating = false;
    if (!m.ValidateCell(T)) {
      Refused(oldText, static_cast<int>(T.size()));
      Key = 0;
      return;
    }
    SetText(m.State().NewCellText);
  }
  if (Key == plat::VK_RETURN && !ctrl && !g->Navigation()->LineFeedOnEnter) {
    if (!m.ValidateCell(T)) {
      Refused(oldText, static_cast<int>(T.size()));
      FDropReturn = true;  // the Enter character that follows must not close the editor
      Key = 0;
      return;
    }
    if (Text() != m.State().NewCellText) SetText(m.State().NewCellText);
    // The platform hands the Enter on to the grid, which ends the edit.
  }
  if ((Key == plat::VK_HOME || Key == plat::VK_END) && !ctrl && !Shift.Contains(plat::ssShift)) {
    SetSelStart(Key == plat::VK_HOME ? 0 : static_cast<int>(T.size()));
    SetSelLength(0);
    Key = 0;
    return;
  }
  plat::TInplaceEdit::KeyDown(Key, Shift);
}

void TExtInplaceEdit::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  plat::TInplaceEdit::KeyUp(Key, Shift);
  if (Key != plat::VK_LEFT && Key != plat::VK_RIGHT) DoChange();
}

void TExtInplaceEdit::DoChange() {
  TExtStringGrid* g = Grid();
  if (!g || !FWorkmode || SelLength() != 0 || !g->Lookup || g->LookupItems()->Count() == 0) return;
  const int caret = SelStart();
  const QString typed = Text().left(caret);
  if (typed.isEmpty()) return;
  const Qt::CaseSensitivity cs = g->LookupCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  for (int i = 0; i < g->LookupItems()->Count(); ++i) {
    const QString item = g->LookupItems()->Strings(i);
    if (!item.startsWith(typed, cs)) continue;
    const QString completed = typed + item.mid(typed.size(), 255);
    if (completed == Text()) return;
    SetText(completed);
    SetSelStart(static_cast<int>(typed.size()));
    SetSelLength(static_cast<int>(completed.size() - typed.size()));
    return;
  }
}

void TExtInplaceEdit::Change() {
  plat::TInplaceEdit::Change();
  TExtStringGrid* g = Grid();
  if (!g) return;
  if (!g->EditState().NoEditChange && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), Text());
  // A typed character that fills the text moves on by itself: an Enter follows, as if typed.
  const TNavigation& nav = *g->Navigation();
  if (FTypedChar && nav.AdvanceAuto() && nav.AdvanceOnEnter && g->MaxEditLength() > 0 &&
      Text().size() >= g->MaxEditLength() && SelLength() == 0 && SelStart() == Text().size())
    plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_RETURN, 0);
  FTypedChar = false;
}

// ---------------------------------------------------------------- clipboard

bool TExtInplaceEdit::AcceptsPaste(QString& Text) const {
  TExtStringGrid* g = Grid();
  const auto noMinus = [](const QString& s) { return !s.contains(u'-'); };
  switch (g->FEditControl) {
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
  if (value.indexOf(QStringLiteral("\r\n")) == value.size() - 2 && value.endsWith(QStringLiteral("\r\n")))
    value.chop(2);
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

void TExtInplaceEdit::SetFocusMsg() {
  TExtStringGrid* g = Grid();
  FGotFocus = true;
  g->EditState().NoEditChange = false;
  FLengthLimit = g->MaxEditLength();
  if (!g->Navigation()->EditSelectAll) {
    SetSelStart(static_cast<int>(Text().size()));
    SetSelLength(0);
  }
}

void TExtInplaceEdit::KillFocus(plat::HWND Next) {
  TExtStringGrid* g = Grid();
  TEditState& st = g->EditState();
  TEditManager& m = g->EditManager();
  st.StartEditChar = 0;
  if (g->LookupHistory && g->LookupItems()->IndexOf(Text()) < 0) g->LookupItems()->Add(Text());
  if (FAltBack) return;
  if (Next != g->Handle()) {
    // Focus goes to another window: the typed text is validated and stays in the cell.
    m.ValidateCell(Text());
    const int col = FColE, row = FRowE;
    m.HideInplaceEdit();
    st.Editing = false;
    st.EditMode = false;
    if (col >= 0 && col < g->ColCount() && row >= 0 && row < g->RowCount()) g->HandleSelectCell(col, row);
  }
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
