#pragma once
// TExtStringGridCheck: the cell checker a string grid can be linked to. The base defines the vocabulary (the
// switches and four operations) and changes nothing: derived checkers correct or mark the text.

#include <QString>

#include "platform/rtl/component.h"

namespace controls {

class TExtStringGridCheck : public plat::TComponent {
 public:
  explicit TExtStringGridCheck(plat::TComponent* AOwner) : plat::TComponent(AOwner) {}

  // The text with its errors marked (for example wrapped in tags); the base returns it unchanged.
  virtual QString MarkError(int ACol, int ARow, const QString& S) {
    (void)ACol, (void)ARow;
    return S;
  }
  // The corrected text; the base returns it unchanged.
  virtual QString Correct(int ACol, int ARow, const QString& S) {
    (void)ACol, (void)ARow;
    return S;
  }
  // Called before and after a range of cells is examined.
  virtual void StartCheck() {}
  virtual void StopCheck() {}

  bool AutoCorrect() const { return FAutoCorrect; }
  void SetAutoCorrect(bool v) { FAutoCorrect = v; }
  bool AutoMarkError() const { return FAutoMarkError; }
  void SetAutoMarkError(bool v) { FAutoMarkError = v; }
  bool GotoCell() const { return FGotoCell; }
  void SetGotoCell(bool v) { FGotoCell = v; }
  bool UseCorrect() const { return FUseCorrect; }
  void SetUseCorrect(bool v) { FUseCorrect = v; }
  bool UseMarkError() const { return FUseMarkError; }
  void SetUseMarkError(bool v) { FUseMarkError = v; }

 private:
  bool FAutoCorrect = false;
  bool FAutoMarkError = false;
  bool FGotoCell = false;
  bool FUseCorrect = false;
  bool FUseMarkError = false;
};

}  // namespace controls
