// Standard controls over Qt's own widgets: label, edit, memo, combo box, button, check box, radio button,
// group box, list box and scroll bar.
#pragma once

#include <QString>

#include <memory>

#include "platform/forms/controls.h"
#include "platform/forms/dialogs.h"
#include "platform/rtl/strings.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QPushButton;
class QCheckBox;
class QRadioButton;
class QGroupBox;
class QListWidget;
class QScrollBar;

namespace plat {

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// The text a label shows for a caption: "&x" marks x as the mnemonic (shown underlined) and drops the "&",
// "&&" shows one "&", a lone "&" at the end is dropped. MnemonicIndex gets the index of the marked character
// in the result (-1: none; the first mark counts).
QString StripAccelChars(const QString& Caption, int* MnemonicIndex = nullptr);

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* AOwner);
  QLabel* Label() const;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  // What the label shows (captions with "&" resolved).
  QString DisplayText() const;
  void AdjustBounds();

 protected:
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void UpdateLabel();
  bool FAutoSize = true;
  bool FWordWrap = false;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TCustomEdit : public TWinControl {
 public:
  int MaxLength() const { return FMaxLength; }
  virtual void SetMaxLength(int v) = 0;
  bool ReadOnly() const { return FReadOnly; }
  virtual void SetReadOnly(bool v) = 0;
  virtual int SelStart() const = 0;
  virtual void SetSelStart(int v) = 0;
  virtual int SelLength() const = 0;
  virtual void SetSelLength(int v) = 0;
  virtual QString SelText() const = 0;
  virtual void SetSelText(const QString& v) = 0;
  virtual void SelectAll() = 0;
  void ClearSelection() { SetSelText(QString()); }
  virtual bool Modified() const = 0;
  virtual void SetModified(bool v) = 0;
  void Clear() { SetText(QString()); }

  TNotifyEvent OnChange;

 protected:
  TCustomEdit(TComponent* AOwner, QWidget* Host);
  virtual void Change();
  bool ColorIsBase() const override { return true; }
  int FMaxLength = 0;
  bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner);
  QLineEdit* LineEdit() const;

  void SetMaxLength(int v) override;
  void SetReadOnly(bool v) override;
  char16_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char16_t v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase v);
  int SelStart() const override;
  void SetSelStart(int v) override;
  int SelLength() const override;
  void SetSelLength(int v) override;
  QString SelText() const override;
  void SetSelText(const QString& v) override;
  void SelectAll() override;
  bool Modified() const override;
  void SetModified(bool v) override;

  void DefaultHandler(TMessage& Message) override;

 protected:
  QString GetText() const override;
  void TextChanged() override;
  LRESULT DefaultDlgCode() const override;

 private:
  char16_t FPasswordChar = 0;
  TAlignment FAlignment = taLeftJustify;
  TEditCharCase FCharCase = ecNormal;
};

class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* AOwner);
  ~TMemo() override;
  QPlainTextEdit* PlainTextEdit() const;

  // The lines of the memo; changes go straight to the widget.
  TStrings* Lines() const { return FLines.get(); }
  void SetMaxLength(int v) override;
  void SetReadOnly(bool v) override;
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool v) { FWantReturns = v; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool v) { FWantTabs = v; }
  int SelStart() const override;
  void SetSelStart(int v) override;
  int SelLength() const override;
  void SetSelLength(int v) override;
  QString SelText() const override;
  void SetSelText(const QString& v) override;
  void SelectAll() override;
  bool Modified() const override;
  void SetModified(bool v) override;

  void DefaultHandler(TMessage& Message) override;

 protected:
  // Lines joined by CR LF.
  QString GetText() const override;
  void TextChanged() override;
  LRESULT DefaultDlgCode() const override;

 private:
  std::unique_ptr<TStrings> FLines;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;
  QComboBox* ComboBox() const;

  TStrings* Items() const { return FItems.get(); }
  int ItemIndex() const;
  void SetItemIndex(int v);  // -1 clears the selection
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle v);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int v);
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  int SelStart() const;
  void SetSelStart(int v);
  int SelLength() const;
  void SetSelLength(int v);
  void Clear();
  // Width of the dropped list (0: the combo's width; never narrower than the combo). With DropDownAlignRight
  // a wider list ends at the combo's right edge instead of starting at its left edge. CB_SETDROPPEDWIDTH
  // sets the width too.
  int DroppedWidth() const { return FDroppedWidth; }
  void SetDroppedWidth(int v) { FDroppedWidth = v < 0 ? 0 : v; }
  bool DropDownAlignRight() const { return FDropDownAlignRight; }
  void SetDropDownAlignRight(bool v) { FDropDownAlignRight = v; }
  void DefaultHandler(TMessage& Message) override;

  // OnChange: the user changed the text or chose an item (not when code sets ItemIndex).
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  virtual void DropDownShown();
  virtual void DropDownHidden();

 protected:
  QString GetText() const override;
  void TextChanged() override;
  LRESULT DefaultDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  bool ColorIsBase() const override { return true; }
  virtual void Change();
  virtual void Select();

 private:
  std::unique_ptr<TStrings> FItems;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FMaxLength = 0;
  int FDroppedWidth = 0;
  bool FDropDownAlignRight = false;
};

class TButtonControl : public TWinControl {
 protected:
  TButtonControl(TComponent* AOwner, QWidget* Host);
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* AOwner);
  QPushButton* PushButton() const;

  // Clicking sets the holding form's ModalResult to this value (before OnClick runs).
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  // Enter clicks the default button (unless another button has the focus); Escape clicks the cancel button.
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void TextChanged() override;
  LRESULT DefaultDlgCode() const override;

 private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  QCheckBox* CheckBox() const;
  // Setting the state from code also runs OnClick, as the framework does.
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const;
  void SetState(TCheckBoxState v);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v);

 protected:
  void TextChanged() override;
  LRESULT DefaultDlgCode() const override { return DLGC_BUTTON; }

 private:
  bool FAllowGrayed = false;
};

class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  QRadioButton* RadioButton() const;
  // Becoming checked (by the user or by code) runs OnClick and unchecks the siblings.
  bool Checked() const;
  void SetChecked(bool v);

 protected:
  void TextChanged() override;
  LRESULT DefaultDlgCode() const override { return DLGC_BUTTON | DLGC_RADIOBUTTON; }
};

class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* AOwner);
  QGroupBox* GroupBox() const;

 protected:
  void TextChanged() override;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;

class TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* AOwner);
  ~TListBox() override;
  QListWidget* ListWidget() const;

  // Owner-drawn styles paint each item through OnDrawItem on Canvas, with Rect in the list's client
  // coordinates; the brush and font colour are set for the item's state first (the handler fills the
  // rectangle itself). Without a handler the item is filled and its text drawn.
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle v);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  TCanvas* Canvas() const { return FCanvas.get(); }
  TDrawItemEvent OnDrawItem;
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);

  TStrings* Items() const { return FItems.get(); }
  int Count() const;
  int ItemIndex() const;
  void SetItemIndex(int v);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool v);
  int SelCount() const;
  int TopIndex() const;
  void SetTopIndex(int v);  // scrolls item v to the top, as far as the list can scroll
  void Clear();
  // The item at a client point (-1: none).
  int ItemAtPos(const TPoint& Pos, bool Existing = true) const;

  void Dispatch(TMessage& Message) override;

 protected:
  LRESULT DefaultDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  bool ColorIsBase() const override { return true; }

 private:
  friend class TListBoxStrings;
  std::unique_ptr<TStrings> FItems;
  std::unique_ptr<TCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 13;
  bool FMultiSelect = false;
  bool FSettingIndex = false;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* AOwner);
  QScrollBar* Bar() const;

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind v);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  int PageSize() const { return FPageSize; }
  void SetMin(int v) { SetParams(FPosition, v, FMax); }
  void SetMax(int v) { SetParams(FPosition, FMin, v); }
  void SetPosition(int v) { SetParams(v, FMin, FMax); }
  void SetPageSize(int v);
  void SetParams(int APosition, int AMin, int AMax);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int v);
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int v);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  void DoScrollAction(int QtAction);

 private:
  void SyncBar();
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0, FSmallChange = 1, FLargeChange = 1;
};

}  // namespace plat
