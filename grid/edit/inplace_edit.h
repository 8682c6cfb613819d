#pragma once
// TExtInplaceEdit: the string grid's text editor for the text kinds (normal, numeric, float, case
// conversions, password, valid characters). On top of the platform's in-place editor it filters characters
// per kind, validates before the user leaves the cell (Enter, Tab, Up and Down at the text's edges, losing
// the focus to another window), walks to the neighbouring cell when the caret runs off the text, breaks
// lines where the grid allows them and grows the row and column with the text, completes typed text from the
// lookup list, pastes under the kind's rules, hides password text and announces the end of the edit when the
// focus goes.

#include <QString>

#include "grid/model/gridtypes.h"
#include "platform/grids/grids.h"

namespace grid {

class TExtStringGrid;

// Whether a character may be typed into a text of the given kind at the selection (start, length); the case
// kinds convert Key. Characters a kind refuses audibly beep.
bool AcceptKindChar(const TExtStringGrid& Grid, TEditorType Kind, const QString& Text, int SelStart, int SelLength,
                    char16_t& Key);

// Text the grid's paste and lookup rules share: pasted text loses one trailing line break.
QString PastedText(const QString& Clip);
// The completion of the typed prefix from Items (the first item starting with it), or an empty text.
QString LookupCompletion(const QString& Prefix, const plat::TStrings& Items, bool CaseSensitive);

class TExtInplaceEdit : public plat::TInplaceEdit {
 public:
  explicit TExtInplaceEdit(plat::TComponent* AOwner);

  // Right-aligned text.
  bool VAlign() const { return FValign; }
  void SetVAlign(bool Value);
  // Maximum text length; below 1 no limit.
  int LengthLimit() const { return FLengthLimit; }
  void SetLengthLimit(int Value) { FLengthLimit = Value; }
  void UpdateContents() override;
  // Lookup completion from the grid's lookup list (after every key-up).
  void DoChange();
  // Whether a character may be typed for the current kind (beeps where the kind refuses it audibly).
  bool AcceptChar(char16_t& Key);
  // A password edit shows one password character per character of its text.
  bool Password() const { return FPassword; }
  QString DisplayedText() const;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void Change() override;
  // The editor leaves the cell's right and bottom line visible.
  void BoundsChanged() override;
  QString GetText() const override;
  void TextChanged() override;

 private:
  TExtStringGrid* Grid() const;
  // The key-down steps before the platform sees the key; true when the key was used up.
  bool EditKeyDown(std::uint16_t Key, plat::TShiftState Shift);
  // Refused value: the editor keeps the validation's text and the old text stays the comparison base.
  void Refused(const QString& OldText, int Caret);
  // The typed text goes into the cell without a validation of its own, then the validation runs.
  bool CommitForMove(const QString& Text);
  bool OnEdgeLine(bool Up) const;
  void InsertLineBreak();
  bool LineBreaksAllowed() const;
  void KillFocus(plat::HWND Next);
  void SetFocusMsg();
  void CaretToClick();
  void KeyUpHooks();
  void Paste();
  bool AcceptsPaste(QString& Text) const;
  int PlainLength() const;
  void SetPassword(bool Value);
  void PasswordEdited(int Position, int Removed, int Added);
  void ReloadFromCell();

  int FLengthLimit = 0;
  bool FValign = false;
  bool FGotFocus = false;
  bool FWorkmode = true;
  bool FAltBack = false;
  bool FDropReturn = false;
  bool FTypedChar = false;
  bool FMovedCell = false;
  int FOldSelStart = 0;
  int FColE = -1, FRowE = -1;
  // Password edits: the real text, the characters being typed, and a guard while the shown text is set.
  bool FPassword = false;
  QString FPlain, FTyping;
  bool FShowing = false, FSilent = false;
};

}  // namespace grid
