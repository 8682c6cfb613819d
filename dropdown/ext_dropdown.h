#pragma once
// TExtCustomDropDown: the base of every drop-down editor. A one-line masked edit with a drop button at its
// right edge that opens a borderless popup (TDropDownForm) below or above the edit. The popup hosts one control
// chosen by the descendant (a track bar, a keypad, a list, a grid ...), optionally between a header and a
// footer bar.
//
// How a descendant plugs in:
//  - it creates its hosted control in its constructor (or lazily), owned by the drop-down and handed over with
//    SetControl, which puts it into the popup;
//  - BeforeDropDown loads the control from the edit's value (call the inherited operation first);
//  - AdaptDropDownHeight may change the popup's final height; FocusDropDownControl focuses FFocusControl;
//  - DoHideDropDown(Cancelled) takes the value back (call the inherited operation around its own steps);
//  - keys typed in the popup are sent to the edit, so Enter, Escape, F4 and Alt+Up/Down close the popup from
//    anywhere inside it.
// A popup closed cancelled (Escape, a click outside) gives the edit back the value it held when it opened.
//
// The edit holds prefix + value + suffix and filters what is typed or pasted by EditType (typed input, see
// the section below). Separators are the locale's, read at each use.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/theme_services.h"
#include "dropdown/dropdown_form.h"
#include "grid/view/options_look.h"
#include "platform/grids/maskedit.h"

namespace plat {
class TCustomImageList;
class TLabel;
}  // namespace plat

namespace dropdown {

class TExtButtonAppearance;

using controls::TExtStyle;
using controls::TColorTones;
using grid::THeaderAppearance;
using grid::TFooterAppearance;

enum TDropPosition { dpAuto, dpDown, dpUp };
enum TGradientDirection { gdHorizontal, gdVertical };
enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };
enum TDropDownEditType {
  etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
  etAlphaNumeric, etValidChars
};
enum TLabelPosition {
  lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
  lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
  lpBottomRight
};

using TDropDownEvent = std::function<void(plat::TObject* Sender, bool& AcceptDrop)>;
using TDropUpEvent = std::function<void(plat::TObject* Sender, bool Cancelled)>;
using TClipboardEvent = std::function<void(plat::TObject* Sender, const QString& Value, bool& Allow)>;
using TDropDownButtonItemClick = std::function<void(plat::TObject* Sender, int ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(plat::TObject* Sender, plat::TCanvas* ACanvas, plat::TRect ARect)>;
using TGetTextEvent = std::function<void(plat::TObject* Sender, QString& Text)>;

class TExtCustomDropDown : public plat::TCustomMaskEdit, public controls::IExtStyle, public controls::IExtTones {
 public:
  explicit TExtCustomDropDown(plat::TComponent* AOwner);
  ~TExtCustomDropDown() override;

  // Copies the drop-down settings of another drop-down; any other source is ignored.
  void Assign(plat::TPersistent* Source) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // ---- the popup -------------------------------------------------------------------------------------------
  void ShowDropDown() { DoShowDropDown(); }
  void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
  bool DroppedDown() const { return FDroppedDown; }
  TDropDownForm* DropDownForm() const { return FDropDownForm.get(); }
  TDropDownEditButton* Button() const { return FButton; }
  plat::TControl* Control() const { return FControl; }

  int DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int Value);
  int DropDownHeight() const { return FDropDownHeight; }
  void SetDropDownHeight(int Value);
  TDropPosition DropPosition() const { return FDropPosition; }
  void SetDropPosition(TDropPosition Value) { FDropPosition = Value; }
  bool DropDownShadow() const { return FDropDownShadow; }
  void SetDropDownShadow(bool Value) { FDropDownShadow = Value; }
  bool ForceShadow() const { return FForceShadow; }
  void SetForceShadow(bool Value) { FForceShadow = Value; }
  int DropDownBorderWidth() const { return FDropDownBorderWidth; }
  void SetDropDownBorderWidth(int Value) { FDropDownBorderWidth = Value; }
  plat::TColor DropDownColor() const { return FDropDownColor; }
  void SetDropDownColor(plat::TColor Value) { FDropDownColor = Value; }
  plat::TColor DropDownColorTo() const { return FDropDownColorTo; }
  void SetDropDownColorTo(plat::TColor Value) { FDropDownColorTo = Value; }
  TGradientDirection DropDownGradient() const { return FDropDownGradient; }
  void SetDropDownGradient(TGradientDirection Value) { FDropDownGradient = Value; }
  plat::TColor DropDownBorderColor() const { return FDropDownBorderColor; }
  void SetDropDownBorderColor(plat::TColor Value) { FDropDownBorderColor = Value; }
  bool DropDownSizeable() const { return FDropDownSizeable; }
  void SetDropDownSizeable(bool Value) { FDropDownSizeable = Value; }
  bool DropDownEnabled() const { return FDropDownEnabled; }
  void SetDropDownEnabled(bool Value) { FDropDownEnabled = Value; }
  THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
  void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
  TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
  void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
  TExtButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TExtButtonAppearance* Value);

  // ---- the edit and its button -----------------------------------------------------------------------------
  // False turns the edit into a display: typing is dropped and a click opens the popup.
  bool EditorEnabled() const { return FEditorEnabled; }
  virtual void SetEditorEnabled(bool Value);
  int DropDownButtonWidth() const { return FButtonWidth; }
  void SetDropDownButtonWidth(int Value);
  QString DropDownButtonHint() const { return FButtonHint; }
  void SetDropDownButtonHint(const QString& Value);
  plat::TBitmap* DropDownButtonGlyph() const { return FButton ? FButton->Glyph() : nullptr; }
  void SetDropDownButtonGlyph(plat::TBitmap* Value);
  QString DropDownButtonCaption() const { return FButton ? FButton->ButtonCaption() : QString(); }
  void SetDropDownButtonCaption(const QString& Value);
  plat::TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(plat::TColor Value);
  plat::TColor FocusBorderColor() const { return FFocusBorderColor; }
  void SetFocusBorderColor(plat::TColor Value) { FFocusBorderColor = Value; }
  bool DisabledBorder() const { return FDisabledBorder; }
  void SetDisabledBorder(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value) { FFlat = Value; }
  bool Etched() const { return FEtched; }
  void SetEtched(bool Value) { FEtched = Value; }
  bool FocusDraw() const { return FFocusDraw; }
  void SetFocusDraw(bool Value) { FFocusDraw = Value; }
  plat::TCustomImageList* Images() const { return FImages; }
  virtual void SetImages(plat::TCustomImageList* Value) { FImages = Value; }
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
  bool DefaultHandling() const { return FDefaultHandling; }
  void SetDefaultHandling(bool Value) { FDefaultHandling = Value; }
  bool CanUndo() const { return FCanUndo; }
  void SetCanUndo(bool Value) { FCanUndo = Value; }
  QString Version() const;
  // The formatting rectangle last computed: where the text may stand.
  plat::TRect GetEditRect() const { return FEditRect; }

  // ---- the attached label ----------------------------------------------------------------------------------
  QString LabelCaption() const;
  void SetLabelCaption(const QString& Value);
  plat::TLabel* Label() const { return FLabel; }
  plat::TFont* LabelFont() const { return FLabelFont.get(); }
  void SetLabelFont(const plat::TFont& Value);
  int LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(int Value);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition Value);
  bool LabelTransparent() const { return FLabelTransparent; }
  void SetLabelTransparent(bool Value);
  bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
  void SetLabelAlwaysEnabled(bool Value) { FLabelAlwaysEnabled = Value; }

  // ---- typed input -----------------------------------------------------------------------------------------
  // The value: the raw text without the prefix (when it starts with it) and without as many characters at the
  // end as the suffix has.
  QString Text() const;
  // Formats and stores the value with prefix and suffix.
  virtual void SetText(const QString& Value);
  // The raw text, unchanged (no formatting, no prefix or suffix).
  void SetPlainText(const QString& Value);
  TDropDownEditType EditType() const { return FEditType; }
  void SetEditType(TDropDownEditType Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  int LengthLimit() const { return FLengthLimit; }
  void SetLengthLimit(int Value) { FLengthLimit = static_cast<std::int16_t>(Value); }
  QString Prefix() const { return FPrefix; }
  void SetPrefix(const QString& Value);
  QString Suffix() const { return FSuffix; }
  void SetSuffix(const QString& Value);
  bool Signed() const { return FSigned; }
  void SetSigned(bool Value) { FSigned = Value; }
  QString ValidChars() const { return FValidChars; }
  void SetValidChars(const QString& Value) { FValidChars = Value; }
  bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
  void SetAllowNumericNullValue(bool Value) { FAllowNumericNullValue = Value; }
  bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
  void SetAutoThousandSeparator(bool Value) { FAutoThousandSeparator = Value; }
  bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
  void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  void SetFloatValue(double X);
  void SetIntValue(int N);
  // Nothing while the editor is disabled or read-only.
  void SetModified(bool Value) override;
  double GetFloatValue() const;
  // Selects the value part (the whole text without prefix and suffix).
  void SelectAll() override;
  // Caret just before / after the value's first decimal separator (the value's start without one).
  void SelectBeforeDecimal();
  void SelectAfterDecimal();

  // ---- styles ----------------------------------------------------------------------------------------------
  void SetComponentStyle(TExtStyle AStyle) override;
  void SetColorTones(TColorTones ATones) override;
  TExtStyle GetComponentStyle() const { return FExtStyle; }
  TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
  virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
  plat::TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(plat::TColor Value) { FSelectionColor = Value; }
  plat::TColor SelectionColorTo() const { return FSelectionColorTo; }
  void SetSelectionColorTo(plat::TColor Value) { FSelectionColorTo = Value; }
  // The selected-item box of list-like descendants in the selection colour style.
  virtual void DrawSelectionBackground(plat::TCanvas& Canvas, const plat::TRect& Rect, int Join,
                                       plat::TColor CornerColor);
  virtual void DrawGradient(plat::TCanvas& Canvas, plat::TColor Color, plat::TColor ColorTo,
                            TGradientDirection Direction, const plat::TRect& Rect, int Steps);

  // ---- events ----------------------------------------------------------------------------------------------
  plat::TNotifyEvent OnBeforeDropDown;
  TDropDownEvent OnDropDown;
  plat::TNotifyEvent OnBeforeDropUp;
  TDropUpEvent OnDropUp;
  TDropDownButtonItemClick OnDropDownHeaderButtonClick;
  TDropDownButtonItemClick OnDropDownFooterButtonClick;
  TDrawBackGroundEvent OnDrawHeader;
  TDrawBackGroundEvent OnDrawFooter;
  TGetTextEvent OnGetHeaderText;
  TGetTextEvent OnGetFooterText;
  TClipboardEvent OnClipboardCopy;
  TClipboardEvent OnClipboardPaste;
  TClipboardEvent OnClipboardCut;
  plat::TNotifyEvent OnLabelClick;
  plat::TNotifyEvent OnLabelDblClick;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  // ---- hooks of the descendants (extend by calling the inherited operation first) -------------------------
  virtual void DoLabelClick();
  virtual void DoLabelDblClick();
  virtual std::uint32_t GetVersionNr() const { return 0x01020104; }
  virtual void CreateDropDownForm();
  virtual void CreateDropDownButton();
  virtual void UpdateDropDownButton();
  virtual void BeforeDropDown();
  virtual void AdaptDropDownHeight(int& Height) { (void)Height; }
  virtual void FocusDropDownControl();
  virtual void DoShowDropDown();
  virtual void PlaceDropDownControl();
  virtual void UpdateDropDownSize();
  virtual void DoHideDropDown(bool Cancelled);
  virtual void DropDownHidden();
  virtual void DropDownFormDestroyed() {}
  virtual void DropDownFormWheelDown(plat::TShiftState Shift, plat::TPoint MousePos);
  virtual void DropDownFormWheelUp(plat::TShiftState Shift, plat::TPoint MousePos);
  virtual void DropDownFormKeyPress(char16_t& Key);
  virtual void DropDownFormKeyDown(std::uint16_t& Key, plat::TShiftState Shift);
  virtual void DropDownFormKeyUp(std::uint16_t& Key, plat::TShiftState Shift);
  virtual void ControlKeyDown(std::uint16_t& Key, plat::TShiftState Shift);
  virtual void ControlKeyUp(std::uint16_t& Key, plat::TShiftState Shift);
  virtual void ControlKeyPress(char16_t& Key);
  virtual void DropDownSizing() {}
  virtual void HandleMouseWheelDown() {}
  virtual void HandleMouseWheelUp() {}
  virtual void PaintEditContent(plat::TCanvas& Canvas);
  virtual void SetEditRect();
  virtual void ResizeControl();

  // ---- framework hooks the grid's drop-down cell editors call as inherited behaviour -------------------
  // Mask-edit key handling, then Alt+Up or Alt+Down toggles the popup.
  virtual void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift);
  // Mask-edit character handling; Enter is swallowed.
  virtual void HandleKeyPress(char16_t& Key);
  virtual void HandleWindowMessage(plat::TMessage& Message);
  virtual void SetFocusMessage(plat::TMessage& Message);
  virtual void WantSpecialKeyMessage(plat::TMessage& Message);
  // The edit's change notification (swallowed once after a rewrite the user did not make).
  virtual void HandleChange();
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) final { HandleKeyDown(Key, Shift); }
  void KeyPress(char16_t& Key) final { HandleKeyPress(Key); }
  void Change() final { HandleChange(); }

  void SetControl(plat::TControl* Value);
  void DropDownButtonClick();
  void CreateLabel();
  void UpdateLabel();
  void DrawBorder();
  int GetMinHeight() const;
  // The shown text, prefix and suffix included.
  QString RawText() const { return plat::TCustomMaskEdit::GetText(); }
  void SetRawText(const QString& Value);
  void Loaded() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void EnabledChanged() override;
  void VisibleChanged() override;
  void FontChanged() override;

  plat::TControl* FControl = nullptr;
  plat::TWinControl* FFocusControl = nullptr;
  std::unique_ptr<TDropDownForm> FDropDownForm;
  bool FBlockChange = false;
  bool FIsModified = false;

 private:
  // Keys and characters (typed input).
  bool EditKeyDown(plat::TMessage& M);
  bool EditKeyDownValueRules(plat::TMessage& M, std::uint16_t Key, plat::TShiftState Shift);
  void EditChar(plat::TMessage& M);
  bool EnterEscapeChar(plat::TMessage& M, char16_t Key);
  bool TypedChar(plat::TMessage& M, char16_t& Key);
  bool NumericChar(plat::TMessage& M, char16_t Key);
  bool FloatChar(plat::TMessage& M, char16_t Key, bool Money);
  void ToggleSign(bool SelectedAll);
  void InheritedChar(plat::TMessage& M);
  void KillFocusMessage(plat::TMessage& M);
  void MouseDownMessage(plat::TMessage& M);
  void MouseUpMessage(plat::TMessage& M);
  void KeepSelectionInValue();
  void Cut(plat::TMessage& M);
  void Copy(plat::TMessage& M);
  void Paste();
  void ApplyThousandSeparators();
  void PaintMessage(plat::TMessage& M);
  void PopupKeys(std::uint16_t Key);
  int ValueStart() const { return static_cast<int>(FPrefix.size()); }
  int ValueEnd() const;
  int IntegerPartEnd(const QString& Value) const;
  int DecimalPosition() const;
  bool IsSignKey(char16_t Ch) const;
  bool DecimalsFull(const QString& Value, int Caret) const;
  bool ThousandSeparatorMisplaced(const QString& Value, int Caret) const;
  bool IsNumericType() const { return FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney; }
  void SetValueKeepingAffixes(const QString& Value, int Caret);
  void ApplyStyleTables(TExtStyle AStyle);

  plat::TLabel* FLabel = nullptr;
  bool FParentFnt = false;
  int FDropDownWidth = 0;
  int FDropDownHeight = 0;
  int FUserDropDownWidth = -1;
  int FUserDropDownHeight = -1;
  bool FEditorEnabled = true;
  TDropPosition FDropPosition = dpAuto;
  bool FFlat = false;
  plat::TCustomImageList* FImages = nullptr;
  bool FDropDownShadow = true;
  int FDropDownBorderWidth = 1;
  QString FButtonHint;
  plat::TColor FDropDownColorTo = plat::clNone;
  plat::TColor FDropDownColor = plat::clWhite;
  plat::TColor FDropDownBorderColor = plat::clBlack;
  int FButtonWidth = 17;
  bool FMouseInControl = false;
  bool FEtched = false;
  std::unique_ptr<THeaderAppearance> FDropDownHeader;
  std::unique_ptr<TExtButtonAppearance> FButtonAppearance;
  std::unique_ptr<TFooterAppearance> FDropDownFooter;
  TGradientDirection FDropDownGradient = gdHorizontal;
  bool FDropDownSizeable = true;
  plat::TColor FSelectionColor = plat::clNone;
  plat::TColor FSelectionColorTo = plat::clNone;
  TSelectionColorStyle FSelectionColorStyle = scOffice2007;
  TDropDownEditType FEditType = etString;
  std::int16_t FLengthLimit = 0;
  std::int16_t FPrecision = 0;
  QString FPrefix, FSuffix;
  QString FOldString;
  bool FSigned = false;
  bool FReturnIsTab = false;
  bool FAllowNumericNullValue = false;
  bool FDefaultHandling = true;
  bool FCanUndo = true;
  bool FExcelStyleDecimalSeparator = false;
  QString FValidChars;
  bool FBlockCopy = false;
  bool FButtonDown = false;
  bool FAutoThousandSeparator = true;
  plat::TRect FEditRect;
  bool FDropDownEnabled = false;
  bool FDroppedDown = false;
  bool FFocusDraw = true;
  bool FForceShadow = false;
  TExtStyle FExtStyle = controls::tsOffice2007Luna;
  int FLabelMargin = 4;
  TLabelPosition FLabelPosition = lpLeftTop;
  bool FLabelAlwaysEnabled = false;
  bool FLabelTransparent = false;
  std::unique_ptr<plat::TFont> FLabelFont;
  plat::TColor FBorderColor = plat::clNone;
  plat::TColor FFocusBorderColor = plat::clNone;
  bool FDisabledBorder = true;
  TDropDownEditButton* FButton = nullptr;
  QString FOldText;
  // The value as it stood when the popup opened: a cancelled popup gives it back.
  QString FOpenText;
  bool FAutoSelect = true;
  bool FAltToggled = false;
  bool FDestroying = false;
};

}  // namespace dropdown
