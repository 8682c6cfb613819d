#pragma once
// TExtInplaceEdit: the string grid's text editor for the text kinds (normal, numeric, float, case
// conversions, password, valid characters). On top of the platform's in-place editor it filters characters
// per kind, validates before the user leaves the cell (Enter, Tab, Up and Down at the text's edges, losing
// the focus to another window), completes typed text from the lookup list, pastes under the kind's rules
// and announces the end of the edit when the focus goes.

#include <QString>

#include "grid/model/gridtypes.h"
#include "platform/grids/grids.h"

namespace grid {

class TExtStringGrid;

// Whether a character may be typed into a text of the given kind at the selection (start, length); the case
// kinds convert Key. Characters a kind refuses audibly beep.
bool AcceptKindChar(const TExtStringGrid& Grid, TEditorType Kind, const QString& Text, int SelStart, int SelLength,
                    char16_t& Key);

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

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void Change() override;
  // The editor leaves the cell's right and bottom line visible.
  void BoundsChanged() override;

 private:
  TExtStringGrid* Grid() const;
  // Refused value: the editor keeps the validation's text and the old text stays the comparison base.
  void Refused(const QString& OldText, int Caret);
  bool OnEdgeLine(bool Up) const;
  void KillFocus(plat::HWND Next);
  void SetFocusMsg();
  void Paste();
  bool AcceptsPaste(QString& Text) const;

  int FLengthLimit = 0;
  bool FValign = false;
  bool FGotFocus = false;
  bool FWorkmode = true;
  bool FAltBack = false;
  bool FDropReturn = false;
  bool FTypedChar = false;
  int FColE = -1, FRowE = -1;
};

}  // namespace grid
