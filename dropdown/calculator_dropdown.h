#pragma once
// TExtCalculatorDropdown: a numeric edit whose popup is a calculator keypad. Digits, operators, percent, square
// root, reciprocal and the memory keys run a running-total calculator without precedence (each operator acts
// on the accumulated value and the display in the order keyed); the display is the edit's text, rewritten
// with Precision decimals after every step. A division by zero, the square root of a negative number and the
// reciprocal of 0 show "Error"; a result the display cannot hold counts as an overflow and gives 0.

#include <cstdint>
#include <memory>

#include "dropdown/calculator_panel.h"
#include "dropdown/ext_dropdown.h"

namespace dropdown {

class TExtCalculatorDropdown : public TExtCustomDropDown {
 public:
  explicit TExtCalculatorDropdown(plat::TComponent* AOwner);
  ~TExtCalculatorDropdown() override;

  // The display's value; an empty text first becomes 0, a text that is no number reads as 0.
  long double Value();
  void SetValue(long double Value);
  // Completes the pending operation, as "=" does.
  void CalcResult() { DoEquals(); }
  bool ShowThousandSeparator() const { return FShowThousandSeparator; }
  void SetShowThousandSeparator(bool Value);
  TButtonAppearance* CalcButtonAppearance() const { return FCalcButtonAppearance.get(); }
  void SetCalcButtonAppearance(TButtonAppearance* Value) { FCalcButtonAppearance->Assign(Value); }
  // The keypad; nullptr until the popup first opens.
  TCustomButtonPanel* ButtonPanel() const { return FExtButtonPanel; }
  long double Memory() const { return FMVal; }
  long double Accumulator() const { return FPrevval; }

  // A click on the keypad key at Index (what the keypad's OnButtonClick calls).
  void ButtonClick(plat::TObject* Sender, int Index);
  void SetComponentStyle(TExtStyle AStyle) override;
  void Dispatch(plat::TMessage& Message) override;
  // The calculator's handling of a typed character, then the edit's (the grid's cell editor calls it).
  void HandleKeyPress(char16_t& Key) override;

 protected:
  // Called before every keypad key and every character typed in the popup is processed.
  virtual void BeforeCalcInput() {}
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DropDownFormKeyPress(char16_t& Key) override;
  void DropDownFormKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void SetFocusMessage(plat::TMessage& Message) override;

 private:
  // The display with its thousand separators removed, converted by the locale's rules; EConvertError for a
  // text that is no number.
  long double DisplayValue() const;
  bool PopupShowing() const;
  void Calculate();
  void DoEquals();
  void DoPercent();
  void DoOperator(int Op);
  void DigitKey(int Digit);
  void BackKey();
  // Shows the value, or "Error" when the display cannot hold it.
  void ShowValue(long double V);
  // Steps 1 to 5 of a typed character; Key 0 when the calculator took it.
  void CalcKeyPress(char16_t& Key);
  bool Full() const { return MaxLength() > 0 && Text().size() == MaxLength(); }

  TCustomButtonPanel* FExtButtonPanel = nullptr;
  // 0 while the integer part is typed; else the divisor of the next decimal digit.
  std::int64_t FDecim = 0;
  bool FNewval = false;
  long double FPrevval = 0;
  // -1 none, 0 add, 1 multiply, 2 subtract, 3 divide.
  int FPrevop = -1;
  bool FCalcClosed = true;
  std::unique_ptr<TButtonAppearance> FCalcButtonAppearance;
  long double FMVal = 0;
  bool FShowThousandSeparator = false;
  bool FInCharMessage = false;
};

}  // namespace dropdown
