#pragma once
// The header and footer bars of a drop-down's popup (TExtHeader above the hosted control, TExtFooter below
// it). A bar paints a plain or gradient background, a border, an image of the drop-down's image list and a
// mini-HTML caption, and carries a row of flat buttons built from the drop-down's button definitions; a click
// reports the button's index through the drop-down's OnDropDownHeaderButtonClick / OnDropDownFooterButtonClick.
// The footer can show a size grip that resizes the popup from its bottom right corner.
//
// A bar keeps its own copy of the drop-down's appearance, refreshed by SetExtDropDown; its buttons are freed and
// made anew by RebuildButtons each time the popup is set up.

#include <memory>

#include "dropdown/bar_button.h"
#include "dropdown/ext_dropdown.h"

namespace dropdown {

// What the header and the footer share; Footer() tells them apart.
class TExtPopupBar : public plat::TCustomControl, public TButtonHost {
 public:
  ~TExtPopupBar() override;

  plat::TCustomImageList* Images() const { return FImages; }
  void SetImages(plat::TCustomImageList* Value);
  TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }
  // Takes the drop-down's images and a copy of its header (footer) appearance.
  void SetExtDropDown(TExtCustomDropDown* DropDown);
  // Visible and Height from the appearance.
  void ApplyAppearance();
  void RebuildButtons();
  const TDbgList& ButtonList() const { return FButtonList; }

  virtual void CreateButtons();
  virtual void ClearButtons();
  virtual void ArrangeButtons();
  virtual void UpdateButtons();

  // Where the buttons stand: the client rectangle less 2 (3 at the header's bottom; 14 at the footer's right
  // when its grip shows).
  virtual plat::TRect GetButtonArea() const;
  int GetButtonAreaHeight() const { return GetButtonArea().Height(); }
  // The caption's room beside the buttons: (-1, -1, -1, -1) without buttons.
  plat::TRect GetCaptionLimit() const;

  TDrawBackGroundEvent OnDrawBackGround;
  TGetTextEvent OnGetText;

  void PaintBackgroundUnder(plat::TCanvas& Canvas, const plat::TRect& Child) override;
  void EnterButtonMessage() override { ++FBusy; }
  void LeaveButtonMessage() override;
  void Dispatch(plat::TMessage& Message) override;

 protected:
  TExtPopupBar(plat::TComponent* AOwner, bool Footer);
  virtual grid::TDropDownBarAppearance& BarAppearance() const = 0;
  // The drop-down's definitions for this bar (nullptr without a drop-down).
  virtual grid::TDropDownBarButtons* Definitions() const = 0;
  // The drop-down's appearance this bar copies.
  virtual grid::TDropDownBarAppearance* SourceAppearance() const = 0;
  void Paint() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void ButtonClick(plat::TObject* Sender);
  bool Footer() const { return FFooter; }
  // Background and border (steps that a button's unfilled face shows too).
  void PaintBackground(plat::TCanvas& Canvas, const plat::TRect& R);
  void PaintCaption(plat::TCanvas& Canvas, plat::TRect C);

  plat::TCustomImageList* FImages = nullptr;
  TExtCustomDropDown* FExtDropDown = nullptr;
  TDbgList FButtonList;

 private:
  void FreeRetired();
  bool FFooter;
  // Buttons taken off the bar while one of them was handling a message; freed once it has returned.
  std::vector<TExtButton*> FRetired;
  int FBusy = 0;
};

class TExtHeader : public TExtPopupBar {
 public:
  explicit TExtHeader(plat::TComponent* AOwner);
  ~TExtHeader() override;
  THeaderAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(THeaderAppearance* Value) { FAppearance->Assign(Value); }
  // The drop-down's header button definitions; nullptr without a drop-down.
  grid::THeaderButtons* Buttons() const;

 protected:
  grid::TDropDownBarAppearance& BarAppearance() const override { return *FAppearance; }
  grid::TDropDownBarButtons* Definitions() const override { return Buttons(); }
  grid::TDropDownBarAppearance* SourceAppearance() const override;

 private:
  std::unique_ptr<THeaderAppearance> FAppearance;
};

class TExtFooter : public TExtPopupBar {
 public:
  explicit TExtFooter(plat::TComponent* AOwner);
  ~TExtFooter() override;
  TFooterAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(TFooterAppearance* Value) { FAppearance->Assign(Value); }
  grid::TFooterButtons* Buttons() const;
  // The appearance asks for a grip, a drop-down is set and its popup is sizeable.
  bool HasSizeGrip() const;
  plat::TRect GetButtonArea() const override;
  void DrawSizeGrip(plat::TCanvas& Canvas, const plat::TRect& Rect);

 protected:
  grid::TDropDownBarAppearance& BarAppearance() const override { return *FAppearance; }
  grid::TDropDownBarButtons* Definitions() const override { return Buttons(); }
  grid::TDropDownBarAppearance* SourceAppearance() const override;
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void Dispatch(plat::TMessage& Message) override;

 private:
  bool InGripCorner(int X, int Y) const;
  std::unique_ptr<TFooterAppearance> FAppearance;
  plat::TCursor FOldCursor = 0;
  bool FGripping = false;
};

}  // namespace dropdown
