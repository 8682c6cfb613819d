// Edit masks of the in-place editor: "mask;save;blank".
//
// Mask characters: L letter (required), l letter, A letter or digit (required), a letter or digit, C any
// character (required), c any character, 0 digit (required), 9 digit, # digit or sign, > the following
// letters in upper case, < in lower case, <> no change, \ the next character is a literal, _ a blank literal,
// ! (accepted, no effect here); any other character is a literal. The second field "0" keeps literals out of
// the value (default: they are part of it); the third field is the character shown for an empty position
// (default "_"). A mask without input positions is no mask.
#pragma once

#include <QString>

#include <vector>

namespace plat {

class TEditMask {
 public:
  TEditMask() = default;
  explicit TEditMask(const QString& mask);

  bool Empty() const { return FInputs == 0; }
  int Length() const { return static_cast<int>(FPos.size()); }
  QChar Blank() const { return FBlank; }
  bool SavesLiterals() const { return FSaveLiterals; }

  // The text the editor shows for a value (positions the value does not fill show the blank).
  QString Display(const QString& value) const;
  // The value of a shown text: empty positions become spaces; literals only when the mask saves them.
  QString Value(const QString& display) const;
  // The first input position at or after / before `pos` (-1: none).
  int NextInput(int pos) const;
  int PrevInput(int pos) const;
  // The character as position `pos` takes it (case converted), or a null QChar when it does not fit.
  QChar Accept(int pos, QChar ch) const;
  // Every required position holds a character.
  bool Complete(const QString& display) const;
  // Typing ch into the shown text at the selection (start caret, length selLength): the selection's input
  // positions are emptied and ch lands on the first input position at or after the caret, which then goes on
  // to the next input position. False (nothing changed) when ch does not fit there.
  bool Type(QString& display, int& caret, int selLength, QChar ch) const;
  // Backspace (backwards) or Delete: empties the input position before (at) the caret, which goes there.
  bool Clear(QString& display, int& caret, bool backwards) const;

 private:
  enum Kind { Literal, Letter, AlphaNum, AnyChar, Digit, DigitOrSign };
  enum Case { AsTyped, Upper, Lower };
  struct Position {
    Kind kind = Literal;
    bool required = false;
    Case charCase = AsTyped;
    QChar literal;
  };
  bool IsInput(int pos) const { return pos >= 0 && pos < Length() && FPos[pos].kind != Literal; }
  std::vector<Position> FPos;
  int FInputs = 0;
  bool FSaveLiterals = true;
  QChar FBlank = u'_';
};

}  // namespace plat
