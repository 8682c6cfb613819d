#pragma once
// TEsgEditBtn: a one-line edit with a push button inside its right edge (F4 presses it too), and
// TEsgUnitEditBtn: an edit whose button offers a menu of units shown beside the number. The button window
// TEsgEditButton holds one TExtSpeedButton that paints in plain colours, in the theme or in the classic look.

#include <QString>

#include <functional>
#include <memory>

#include "controls/state_button.h"
#include "platform/forms/controls.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/strings.h"

namespace controls {

class TEsgEditButton;

class TExtSpeedButton : public TStateButton {
 public:
  using TStateButton::TStateButton;
  // Called with the left button's release, wherever the pointer then is.
  std::function<void()> OnRelease;

 protected:
  void Paint() override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  TEsgEditButton* Owner() const;
};

class TEsgEditButton : public plat::TCustomControl, public TButtonColors {
 public:
  explicit TEsgEditButton(plat::TComponent* AOwner);
  TExtSpeedButton* SpeedButton() const { return FButton; }
  plat::TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(plat::TWinControl* v);
  plat::TNotifyEvent OnClick;

  bool Flat() const { return FButton->Flat(); }
  void SetFlat(bool v) { FButton->SetFlat(v); }
  plat::TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(const plat::TBitmap* v);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int v) { FNumGlyphs = v; }
  QString ButtonCaption() const { return FButton->Caption(); }
  void SetButtonCaption(const QString& v);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  void Released();
  TExtSpeedButton* FButton;
  plat::TWinControl* FFocusControl = nullptr;
  int FNumGlyphs = 1;
};

class TEsgEditBtn : public plat::TEdit {
 public:
  explicit TEsgEditBtn(plat::TComponent* AOwner);
  ~TEsgEditBtn() override;

  TEsgEditButton* Button() const { return FButton; }
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool v) { FEditorEnabled = v; }
  bool RightAlign() const { return FRightAlign; }
  void SetRightAlign(bool v);
  int ButtonWidth() const;
  void SetButtonWidth(int v);
  plat::TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(const plat::TBitmap* v) { FButton->SetGlyph(v); }
  QString ButtonCaption() const { return FButton->ButtonCaption(); }
  void SetButtonCaption(const QString& v) { FButton->SetButtonCaption(v); }
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  // The text rectangle: where the edit's text may go.
  plat::TRect TextRect() const { return FTextRect; }

  plat::TNotifyEvent OnClickBtn;
  // Raises OnClickBtn; derived editors add to it.
  virtual void ClickButton();

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void DoEnter() override;
  void Resize() override;
  // Places the button and sets the text rectangle.
  void UpdateLayout();
  virtual void LayoutChanged() {}
  int FUnitSize = 0;

 private:
  TEsgEditButton* FButton;
  bool FEditorEnabled = true;
  bool FRightAlign = false;
  bool FIsWinXP = false;
  bool FAutoSelect = true;
  bool FAdjusting = false;
  plat::TRect FTextRect;
};

using TUnitChangeEvent = std::function<void(plat::TObject* Sender, const QString& NewUnit)>;

class TEsgUnitEditBtn : public TEsgEditBtn {
 public:
  explicit TEsgUnitEditBtn(plat::TComponent* AOwner);
  ~TEsgUnitEditBtn() override;

  plat::TStringList* Units() const { return FUnits.get(); }
  void SetUnits(const plat::TStrings& v);
  QString UnitID() const { return FUnitID; }
  void SetUnitID(const QString& v);
  int UnitSpace() const { return FUnitSize; }
  void SetUnitSpace(int v);
  // The edit text followed by the unit. Writing splits off the first unit (in list order) that ends the value.
  QString TextAndUnit() const { return Text() + FUnitID; }
  void SetTextAndUnit(const QString& v);
  TUnitChangeEvent OnUnitChanged;

  void ClickButton() override;
  void Dispatch(plat::TMessage& Message) override;
  plat::TGraphicControl* UnitLabel() const { return FUnitLabel; }

 protected:
  void LayoutChanged() override;

 private:
  std::unique_ptr<plat::TStringList> FUnits;
  QString FUnitID;
  plat::TGraphicControl* FUnitLabel = nullptr;
};

}  // namespace controls
