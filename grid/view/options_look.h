#pragma once
// The grid's option objects that own fonts or bitmaps: the search footer, node looks, printing, background
// and the look of controls in cells; and the header and footer settings of drop-down popups that the control
// look keeps for the grid's drop-down editors.
//
// As in the model's option objects, settings that only store are plain fields; the others have a setter and
// reach the grid through events the grid connects (OnChange, OnRepaint, OnInvalidate, OnGradientCopy).

#include <QString>

#include <functional>

#include "grid/model/gridtypes.h"
#include "grid/model/options.h"
#include "grid/print/print_settings.h"
#include "grid/view/dropdown_bar_buttons.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/component.h"
#include "platform/rtl/events.h"
#include "platform/rtl/strings.h"

namespace grid {

// A setting that stores and always notifies.
#define GRID_ALWAYS_PROPERTY(Type, Name, Default) \
 public:                                          \
  Type Name() const { return F##Name; }           \
  void Set##Name(Type Value) {                    \
    F##Name = Value;                              \
    Changed();                                    \
  }                                               \
                                                  \
 private:                                         \
  Type F##Name = Default;

// Settings of the search panel under the grid. The captions and hints get their texts only when the footer is
// made while the grid is designed (InitDesign); at run time they come from the stored form.
class TSearchFooter : public plat::TPersistent {
  PLAT_CLASS(TSearchFooter)

  TSearchFooter(plat::TComponent* AOwner, bool InitDesign);
  // Every published value except AutoSearch and SearchFixedCells (the font by Assign).
  void Assign(plat::TPersistent* Source) override;
  plat::TFont* Font() { return &FFont; }
  void SetFont(plat::TFont* Value);  // assigns, notifies

  bool AutoSearch = true;
  int SearchColumn = -1;
  TSearchDirection SearchDirection = sdTopBottom;
  bool AlwaysHighLight = false, SearchActiveColumnOnly = false, SearchMatchStart = false;
  bool SearchFixedCells = false, SearchHiddenRows = false;
  QString LastSearch;
  plat::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  plat::TFont FFont;
  GRID_CHANGE_PROPERTY(bool, Visible, false)
  GRID_ALWAYS_PROPERTY(TColor, Color, plat::clWhite)
  GRID_ALWAYS_PROPERTY(TColor, ColorTo, plat::clBtnFace)
  GRID_CHANGE_PROPERTY(QString, FindNextCaption, QString())
  GRID_CHANGE_PROPERTY(QString, FindPrevCaption, QString())
  GRID_CHANGE_PROPERTY(QString, MatchCaseCaption, QString())
  GRID_CHANGE_PROPERTY(QString, HighLightCaption, QString())
  GRID_CHANGE_PROPERTY(QString, HintClose, QString())
  GRID_CHANGE_PROPERTY(QString, HintFindNext, QString())
  GRID_CHANGE_PROPERTY(QString, HintFindPrev, QString())
  GRID_CHANGE_PROPERTY(QString, HintHighlight, QString())
  GRID_CHANGE_PROPERTY(bool, ShowFindNext, true)
  GRID_CHANGE_PROPERTY(bool, ShowFindPrev, true)
  GRID_CHANGE_PROPERTY(bool, ShowMatchCase, true)
  GRID_CHANGE_PROPERTY(bool, ShowHighLight, true)
  GRID_ALWAYS_PROPERTY(bool, ShowClose, true)
  GRID_ALWAYS_PROPERTY(bool, AutoThemeAdapt, false)
};

// Looks of node rows; a change of the tree's look repaints the grid (OnRepaint).
class TCellNode : public plat::TPersistent {
  PLAT_CLASS(TCellNode)

  explicit TCellNode(plat::TComponent* AOwner) { (void)AOwner; }
  void Assign(plat::TPersistent* Source) override;
  plat::TBitmap* ExpandGlyph() { return &FExpandGlyph; }
  void SetExpandGlyph(plat::TBitmap* Value) { FExpandGlyph.Assign(Value); }
  plat::TBitmap* ContractGlyph() { return &FContractGlyph; }
  void SetContractGlyph(plat::TBitmap* Value) { FContractGlyph.Assign(Value); }

  TColor Color = plat::clSilver;
  TColor NodeColor = plat::clBlack;
  bool ExpandOne = false;
  plat::TNotifyEvent OnRepaint;

 private:
  void Changed() {
    if (OnRepaint) OnRepaint(this);
  }
  plat::TBitmap FExpandGlyph;
  plat::TBitmap FContractGlyph;
  GRID_CHANGE_PROPERTY(TNodeType, NodeType, cnXP)
  GRID_CHANGE_PROPERTY(bool, ShowTree, true)
  GRID_CHANGE_PROPERTY(bool, ShowTreeFull, true)
  GRID_CHANGE_PROPERTY(TColor, TreeColor, plat::clGray)
  GRID_CHANGE_PROPERTY(int, NodeIndent, 12)
};

// The grid's background; every setter stores and invalidates the grid (OnInvalidate).
class TBackGround : public plat::TPersistent {
  PLAT_CLASS(TBackGround)

  explicit TBackGround(plat::TComponent* AGrid) { (void)AGrid; }
  plat::TBitmap* Bitmap() { return &FBitmap; }
  void SetBitmap(plat::TBitmap* Value);
  plat::TNotifyEvent OnInvalidate;

 private:
  void Changed() {
    if (OnInvalidate) OnInvalidate(this);
  }
  plat::TBitmap FBitmap;
  GRID_ALWAYS_PROPERTY(TBackGroundDisplay, Display, bdTile)
  GRID_ALWAYS_PROPERTY(TBackGroundCells, Cells, bcNormal)
  GRID_ALWAYS_PROPERTY(int, Left, 0)
  GRID_ALWAYS_PROPERTY(int, Top, 0)
  GRID_ALWAYS_PROPERTY(TColor, Color, plat::clWindow)
  GRID_ALWAYS_PROPERTY(TColor, ColorTo, plat::clBtnFace)
};

// The header and footer bars of drop-down popups, kept by the control look for the drop-down editors and by
// every drop-down for its own popup. Only Visible notifies (the popup rebuilds its bars); the other settings
// are read when the popup opens.
enum TDropDownBarGradient { dbgHorizontal, dbgVertical };
enum TDropDownBarButtonAlignment { dbaLeft, dbaRight };

class TDropDownBarAppearance : public plat::TPersistent {
 public:
  plat::TComponent* Owner() const { return FOwner; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    Changed();
  }
  plat::TFont* Font() { return &FFont; }
  void SetFont(const plat::TFont& Value) { FFont.Assign(Value); }
  // Color, ColorTo, BorderColor, Font and GradientDirection of another appearance of the same kind.
  void AssignColors(plat::TPersistent* Source);

  int Height = 22;
  int BorderWidth = 1;
  int ImageIndex = -1;
  QString Caption;
  plat::TColor ColorTo = 0xFFFFFF;
  plat::TColor Color = 0xC0C0C0;
  plat::TColor BorderColor = 0;
  TDropDownBarGradient GradientDirection = dbgVertical;
  TDropDownBarButtonAlignment ButtonAlignment = dbaRight;
  plat::TNotifyEvent OnChange;
  plat::TNotifyEvent OnButtonsChanged;

 protected:
  explicit TDropDownBarAppearance(plat::TComponent* AOwner) : FOwner(AOwner) {}
  void Changed() {
    if (OnChange) OnChange(this);
  }
  void AssignBar(const TDropDownBarAppearance& s);
  // Bound to the button definitions' OnChange.
  void ButtonsChanged() {
    if (OnButtonsChanged) OnButtonsChanged(this);
  }
  plat::TFont FFont;

 private:
  plat::TComponent* FOwner;
  bool FVisible = true;
};

class THeaderAppearance : public TDropDownBarAppearance {
  PLAT_CLASS(THeaderAppearance)

  explicit THeaderAppearance(plat::TComponent* AOwner);
  void Assign(plat::TPersistent* Source) override;
  THeaderButtons* Buttons() { return &FButtons; }
  void SetButtons(THeaderButtons* Value) { FButtons.Assign(Value); }

 private:
  THeaderButtons FButtons;
};

class TFooterAppearance : public TDropDownBarAppearance {
  PLAT_CLASS(TFooterAppearance)

  explicit TFooterAppearance(plat::TComponent* AOwner);
  void Assign(plat::TPersistent* Source) override;
  TFooterButtons* Buttons() { return &FButtons; }
  void SetButtons(TFooterButtons* Value) { FButtons.Assign(Value); }

  bool SizeGrip = true;

 private:
  TFooterButtons FButtons;
};

// The grid's fixed-cell gradient colours the control look copies into the grid, by role.
enum TFixedGradientRole {
  fgFrom, fgTo, fgMirrorFrom, fgMirrorTo, fgHoverFrom, fgHoverTo, fgHoverMirrorFrom, fgHoverMirrorTo,
  fgHoverBorder, fgDownFrom, fgDownTo, fgDownMirrorFrom, fgDownMirrorTo, fgDownBorder
};

class TControlLook : public plat::TPersistent {
  PLAT_CLASS(TControlLook)

  explicit TControlLook(plat::TComponent* AOwner);
  // Resets the colours to their defaults (without copying them into the grid or repainting).
  void Init();
  // Copies the settings listed for the look, gradient colours to the same properties without copying them into
  // the grid.
  void Assign(plat::TPersistent* Source) override;

  plat::TBitmap* CheckedGlyph() { return &FCheckedGlyph; }
  void SetCheckedGlyph(plat::TBitmap* Value);
  plat::TBitmap* UnCheckedGlyph() { return &FUnCheckedGlyph; }
  void SetUnCheckedGlyph(plat::TBitmap* Value);
  plat::TBitmap* RadioOnGlyph() { return &FRadioOnGlyph; }
  void SetRadioOnGlyph(plat::TBitmap* Value);
  plat::TBitmap* RadioOffGlyph() { return &FRadioOffGlyph; }
  void SetRadioOffGlyph(plat::TBitmap* Value);
  THeaderAppearance* DropDownHeader() { return &FDropDownHeader; }
  void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader.Assign(Value); }
  TFooterAppearance* DropDownFooter() { return &FDropDownFooter; }
  void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter.Assign(Value); }

  // Gradient colours: each setter stores, then copies into the grid (OnGradientCopy); the mirror colours
  // always, the others only when not clNone.
  TColor Gradient(TFixedGradientRole Role) const { return FGradient[Role]; }
  void SetGradient(TFixedGradientRole Role, TColor Value);
  TColor FixedGradientFrom() const { return FGradient[fgFrom]; }
  void SetFixedGradientFrom(TColor Value) { SetGradient(fgFrom, Value); }
  TColor FixedGradientTo() const { return FGradient[fgTo]; }
  void SetFixedGradientTo(TColor Value) { SetGradient(fgTo, Value); }
  TColor FixedGradientMirrorFrom() const { return FGradient[fgMirrorFrom]; }
  void SetFixedGradientMirrorFrom(TColor Value) { SetGradient(fgMirrorFrom, Value); }
  TColor FixedGradientMirrorTo() const { return FGradient[fgMirrorTo]; }
  void SetFixedGradientMirrorTo(TColor Value) { SetGradient(fgMirrorTo, Value); }
  TColor FixedGradientHoverFrom() const { return FGradient[fgHoverFrom]; }
  void SetFixedGradientHoverFrom(TColor Value) { SetGradient(fgHoverFrom, Value); }
  TColor FixedGradientHoverTo() const { return FGradient[fgHoverTo]; }
  void SetFixedGradientHoverTo(TColor Value) { SetGradient(fgHoverTo, Value); }
  TColor FixedGradientHoverMirrorFrom() const { return FGradient[fgHoverMirrorFrom]; }
  void SetFixedGradientHoverMirrorFrom(TColor Value) { SetGradient(fgHoverMirrorFrom, Value); }
  TColor FixedGradientHoverMirrorTo() const { return FGradient[fgHoverMirrorTo]; }
  void SetFixedGradientHoverMirrorTo(TColor Value) { SetGradient(fgHoverMirrorTo, Value); }
  TColor FixedGradientHoverBorder() const { return FGradient[fgHoverBorder]; }
  void SetFixedGradientHoverBorder(TColor Value) { SetGradient(fgHoverBorder, Value); }
  TColor FixedGradientDownFrom() const { return FGradient[fgDownFrom]; }
  void SetFixedGradientDownFrom(TColor Value) { SetGradient(fgDownFrom, Value); }
  TColor FixedGradientDownTo() const { return FGradient[fgDownTo]; }
  void SetFixedGradientDownTo(TColor Value) { SetGradient(fgDownTo, Value); }
  TColor FixedGradientDownMirrorFrom() const { return FGradient[fgDownMirrorFrom]; }
  void SetFixedGradientDownMirrorFrom(TColor Value) { SetGradient(fgDownMirrorFrom, Value); }
  TColor FixedGradientDownMirrorTo() const { return FGradient[fgDownMirrorTo]; }
  void SetFixedGradientDownMirrorTo(TColor Value) { SetGradient(fgDownMirrorTo, Value); }
  TColor FixedGradientDownBorder() const { return FGradient[fgDownBorder]; }
  void SetFixedGradientDownBorder(TColor Value) { SetGradient(fgDownBorder, Value); }

  TColor ProgressBorderColor = plat::clGray;
  bool CheckAlwaysActive = false, RadioAlwaysActive = false, FixedDropDownButton = false;
  int DropDownCount = 8;
  int HintMaxWidth = 0;
  plat::TNotifyEvent OnInvalidate;
  std::function<void(TFixedGradientRole, TColor)> OnGradientCopy;

 private:
  void Changed() {
    if (OnInvalidate) OnInvalidate(this);
  }
  plat::TBitmap FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
  THeaderAppearance FDropDownHeader;
  TFooterAppearance FDropDownFooter;
  TColor FGradient[fgDownBorder + 1];
  GRID_ALWAYS_PROPERTY(int, CheckSize, 15)
  GRID_ALWAYS_PROPERTY(int, RadioSize, 10)
  GRID_ALWAYS_PROPERTY(TControlStyle, ControlStyle, csTheme)
  GRID_ALWAYS_PROPERTY(TColor, Color, plat::clBlack)
  GRID_ALWAYS_PROPERTY(bool, FlatButton, false)
  GRID_ALWAYS_PROPERTY(bool, ProgressXP, false)
  GRID_ALWAYS_PROPERTY(bool, DropDownAlwaysVisible, false)
  GRID_ALWAYS_PROPERTY(bool, SpinButtonsAlwaysVisible, false)
  GRID_ALWAYS_PROPERTY(bool, NoDisabledCheckRadioLook, false)
  GRID_ALWAYS_PROPERTY(bool, NoDisabledButtonLook, false)
  GRID_ALWAYS_PROPERTY(int, ProgressMarginX, 2)
  GRID_ALWAYS_PROPERTY(int, ProgressMarginY, 2)
  GRID_ALWAYS_PROPERTY(TColor, CommentColor, plat::clRed)
};

}  // namespace grid
