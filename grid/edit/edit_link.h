#pragma once
// TEditLink: an application's own control as the editor of kind edCustom. The application derives from
// TEditLink, creates its control in CreateEditor (with GetParent as parent), moves values in and out in
// SetEditorValue and GetEditorValue, returns the control from GetEditControl and wires the control's key-down
// to EditKeyDown. The grid drives the link when an edCustom cell is edited; the link ends the edit from the
// control's keys and focus. The control lives over the cell (esInplace) or on a borderless stay-on-top popup
// form (esPopup) that the grid creates on the first popup edit and the link keeps.

#include <QString>

#include <functional>

#include "platform/forms/controls.h"
#include "platform/forms/forms.h"

namespace grid {

class TExtStringGrid;

enum TEditStyle { esInplace, esPopup };

class TEditLink : public plat::TComponent {
 public:
  explicit TEditLink(plat::TComponent* AOwner);
  ~TEditLink() override;

  TExtStringGrid* Grid() const { return FOwner; }
  void SetGrid(TExtStringGrid* Value) { FOwner = Value; }
  plat::TPoint EditCell() const { return FEditCell; }
  void SetEditCell(plat::TPoint Value) { FEditCell = Value; }

  bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false;
  bool WantKeyReturn = false, WantKeyEscape = false, WantTabs = false, WantReturns = false;
  TEditStyle EditStyle = esInplace;
  int PopupWidth = 100, PopupHeight = 100;
  bool AutoPopupWidth = false;
  int PopupLeft = -1, PopupTop = -1;

  // The application's side (empty in the base class).
  virtual void EditKeyDown(plat::TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift);
  virtual plat::TWinControl* GetEditControl() { return nullptr; }
  virtual void CreateEditor(plat::TWinControl* AParent) { (void)AParent; }
  virtual void DestroyEditor() {}
  virtual void SetFocus(bool Value);
  virtual void SetRect(const plat::TRect& r);
  virtual void SetVisible(bool Value);
  virtual void SetProperties() {}
  virtual void SetCellProps(plat::TColor AColor, const plat::TFont* AFont) { (void)AColor, (void)AFont; }
  virtual QString GetEditorValue() { return QString(); }
  virtual void SetEditorValue(const QString& s) { (void)s; }

  void EditExit(plat::TObject* Sender);
  void FormExit(plat::TObject* Sender);
  plat::TWinControl* GetParent() const;
  QString GetCellValue() const;
  void SetCellValue(const QString& s);
  void HideEditor();
  void RestoreWinProc();

  // The popup form (created by the grid on the first popup edit, owned by the application).
  plat::TForm* PopupForm() const { return FPopupForm; }
  void SetPopupForm(plat::TForm* Value);
  bool ForcedExit() const { return FForcedExit; }

 protected:
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  void FocusGrid();

  TExtStringGrid* FOwner = nullptr;
  plat::TPoint FEditCell;
  plat::TForm* FPopupForm = nullptr;
  bool FForcedExit = false;
  bool FSubClassed = false;
  std::function<void(plat::TMessage&)> FSavedProc;
  plat::TWinControl* FSubClassedCtrl = nullptr;
};

}  // namespace grid
