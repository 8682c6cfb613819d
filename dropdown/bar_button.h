#pragma once
// The flat push buttons of a drop-down popup's header and footer bars (TExtButton) and the bars' list of them
// (TDbgList). A button takes its colours from the drop-down's one TExtButtonAppearance, shared by every bar
// button; with no face colour set it lets the bar show through. A footer button with a closing modal result
// closes the popup (cancelled for Cancel, Abort, Ignore, No and No-to-all).

#include <QString>

#include <vector>

#include "platform/forms/controls.h"

namespace plat {
class TCustomImageList;
}

namespace dropdown {

class TExtButtonAppearance;
class TExtCustomDropDown;

enum TExtButtonStyle { tasButton, tasCheck };
enum TExtButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

// The parent of bar buttons: it paints under a button (so that an unfilled face shows the bar) and learns when
// a button handles a message, during which the button must not be freed (a click may rebuild the bar).
class TButtonHost {
 public:
  // Child is the button's rectangle in the parent's client coordinates; the canvas is the button's.
  virtual void PaintBackgroundUnder(plat::TCanvas& Canvas, const plat::TRect& Child) = 0;
  virtual void EnterButtonMessage() = 0;
  virtual void LeaveButtonMessage() = 0;

 protected:
  ~TButtonHost() = default;
};

class TExtButton : public plat::TCustomControl {
 public:
  explicit TExtButton(plat::TComponent* AOwner);
  ~TExtButton() override;

  TExtButtonAppearance* Appearance() const { return FAppearance; }
  void SetAppearance(TExtButtonAppearance* Value);
  plat::TCustomImageList* Images() const { return FImages; }
  // Stores the list without repainting.
  void SetImages(plat::TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }
  TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }
  void SetExtDropDown(TExtCustomDropDown* Value) { FExtDropDown = Value; }
  int OffSet() const { return FOffSet; }
  TExtButtonStyle Style() const { return FStyle; }
  TExtButtonState State() const { return FState; }
  bool Hot() const { return FHot; }
  bool Down() const { return FDown; }

  // Fits the button to its caption and image in the appearance's font: (text or image size) + (8, 4).
  void AdjustButtonSize();
  // Hands the modal result to the form, closes the popup for a closing result, then fires OnClick unless the
  // click came from the keyboard.
  void Click() override;

  plat::TNotifyEvent OnMouseEnterButton;
  plat::TNotifyEvent OnMouseLeaveButton;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Paint() override;
  virtual void DrawButton();
  void HandleMessage(plat::TMessage& Message);
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void EnabledChanged() override;

 private:
  void MouseEntered();
  void MouseLeft();
  void UpdateTracking();
  bool CursorInside() const;

  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  int FOffSet = 4;
  bool FMouseInControl = false;
  bool FHot = false;
  TExtButtonStyle FStyle = tasButton;
  TExtButtonState FState = absUp;
  bool FMouseDownInControl = false;
  bool FGrouped = true;
  bool FDragging = false;
  bool FInternalClick = false;
  TExtButtonAppearance* FAppearance = nullptr;
  plat::TCustomImageList* FImages = nullptr;
  int FImageIndex = -1;
  int FModalResult = 0;
  TExtCustomDropDown* FExtDropDown = nullptr;
};

// The bars' list of their buttons, with range-checked access.
class TDbgList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  void Add(TExtButton* Item) { FItems.push_back(Item); }
  void Clear() { FItems.clear(); }
  void Delete(int Index);
  // Empties the list and appends every item of ListA.
  void AssignList(const TDbgList& ListA) { FItems = ListA.FItems; }
  // Raise "Index out of bounds in list read access" / "... write access" for an index not below Count.
  TExtButton* GetItemsEx(int Index) const;
  void SetItemsEx(int Index, TExtButton* Value);
  TExtButton* operator[](int Index) const { return GetItemsEx(Index); }
  TExtButton* Last() const { return FItems.empty() ? nullptr : FItems.back(); }

 private:
  std::vector<TExtButton*> FItems;
};

}  // namespace dropdown
