#include "dropdown/ext_dropdown.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QToolTip>

#include <algorithm>

#include "dropdown/button_appearance.h"
#include "dropdown/paint_routines.h"
#include "platform/forms/forms.h"
#include "platform/forms/monitors.h"
#include "platform/forms/msgqueue.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/themes.h"

namespace dropdown {

using namespace plat;

// ---- construction -------------------------------------------------------------------------------------

TExtCustomDropDown::TExtCustomDropDown(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  FBorderColor = clNone;
  FFocusBorderColor = clNone;
  FDisabledBorder = true;
  FDropDownBorderColor = clBlack;
  FDropDownGradient = gdHorizontal;
  FDropDownColor = clWhite;
  FDropDownColorTo = clNone;
  FDropDownHeight = 0;
  FDropDownWidth = 0;
  FDropDownBorderWidth = 1;
  FDropDownSizeable = true;
  FDropDownShadow = true;
  FEditorEnabled = true;
  FEditType = etString;
  FParentFnt = false;
  TCustomMaskEdit::SetBounds(Left(), Top(), 200, 21);
  FButtonWidth = 17;
  CreateDropDownForm();
  CreateDropDownButton();
  FControlStyle.Exclude(csSetCaption);
  SetReadOnly(false);
  FDropPosition = dpAuto;
  SetText(QString());
  FOldText.clear();
  FUserDropDownWidth = -1;
  FUserDropDownHeight = -1;
  FDropDownEnabled = false;
  FDropDownHeader = std::make_unique<THeaderAppearance>(this);
  FDropDownHeader->OnChange = [this](TObject*) {
    if (FDroppedDown) FDropDownForm->InitializeAndUpdate();
  };
  FDropDownHeader->OnButtonsChanged = FDropDownHeader->OnChange;
  FDropDownFooter = std::make_unique<TFooterAppearance>(this);
  FDropDownFooter->OnChange = FDropDownHeader->OnChange;
  FDropDownFooter->OnButtonsChanged = FDropDownHeader->OnChange;
  FButtonAppearance = std::make_unique<TExtButtonAppearance>();
  FDefaultHandling = true;
  FCanUndo = true;
  FAutoThousandSeparator = true;
  SetSelectionColorStyle(scOffice2007);
  FFocusDraw = true;
  SetComponentStyle(controls::tsOffice2007Luna);
  FLabelFont = std::make_unique<TFont>();
  FLabelFont->OnChange = [this](TObject*) {
    if (FLabel) UpdateLabel();
  };
  SetEditRect();
}

TExtCustomDropDown::~TExtCustomDropDown() {
  FDestroying = true;
  if (FDropDownForm) {
    FDropDownForm->OnHide = nullptr;
    DropDownFormDestroyed();
  }
  FDropDownForm.reset();
}

void TExtCustomDropDown::CreateDropDownForm() {
  if (FDropDownForm) return;
  FDropDownForm = std::make_unique<TDropDownForm>(nullptr);
  FDropDownForm->SetExtDropDown(this);
  FDropDownForm->Hide();
  FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), FDropDownWidth, FDropDownHeight);
  FDropDownForm->OnClose = [](TObject*, TCloseAction&) {};
  FDropDownForm->OnHide = [this](TObject*) { DropDownHidden(); };
  FDropDownForm->OnFormKeyPress = [this](TObject*, char16_t& Key) { DropDownFormKeyPress(Key); };
  FDropDownForm->OnFormKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) {
    DropDownFormKeyDown(Key, Shift);
  };
  FDropDownForm->OnFormKeyUp = [this](TObject*, std::uint16_t& Key, TShiftState Shift) {
    DropDownFormKeyUp(Key, Shift);
  };
  FDropDownForm->OnWheelDown = [this](TShiftState Shift, TPoint Pos) { DropDownFormWheelDown(Shift, Pos); };
  FDropDownForm->OnWheelUp = [this](TShiftState Shift, TPoint Pos) { DropDownFormWheelUp(Shift, Pos); };
  FDropDownForm->OnSizing = [this](TObject*) { DropDownSizing(); };
}

void TExtCustomDropDown::CreateDropDownButton() {
  if (!FButton) {
    FButton = new TDropDownEditButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [this](TObject*) { DropDownButtonClick(); };
  }
  UpdateDropDownButton();
}

void TExtCustomDropDown::UpdateDropDownButton() {
  FButton->SetButtonWidth(FButtonWidth);
  FButton->SetBounds(FButton->Left(), FButton->Top(), FButtonWidth, 17);
  FButton->SetVisible(true);
  FButton->SetFocusControl(this);
}

void TExtCustomDropDown::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TExtCustomDropDown*>(Source);
  if (!s) return;
  FFocusDraw = s->FFocusDraw;
  FForceShadow = s->FForceShadow;
  FDropDownEnabled = s->FDropDownEnabled;
  FDropDownColor = s->FDropDownColor;
  FDropDownColorTo = s->FDropDownColorTo;
  FDropDownGradient = s->FDropDownGradient;
  FDropDownBorderColor = s->FDropDownBorderColor;
  FDropDownBorderWidth = s->FDropDownBorderWidth;
  FDropDownShadow = s->FDropDownShadow;
  FDropDownWidth = s->FDropDownWidth;
  FDropDownHeight = s->FDropDownHeight;
  FDropDownSizeable = s->FDropDownSizeable;
  FEditType = s->FEditType;
  FReturnIsTab = s->FReturnIsTab;
  FLengthLimit = s->FLengthLimit;
  FPrecision = s->FPrecision;
  FPrefix = s->FPrefix;
  FSuffix = s->FSuffix;
  FDefaultHandling = s->FDefaultHandling;
  FCanUndo = s->FCanUndo;
  FExcelStyleDecimalSeparator = s->FExcelStyleDecimalSeparator;
  FValidChars = s->FValidChars;
  FSigned = s->FSigned;
  FAutoThousandSeparator = s->FAutoThousandSeparator;
  FButtonAppearance->Assign(s->FButtonAppearance.get());
  FDropDownHeader->Assign(s->FDropDownHeader.get());
  FDropDownFooter->Assign(s->FDropDownFooter.get());
  FDropPosition = s->FDropPosition;
  FFlat = s->FFlat;
  SetDropDownButtonWidth(s->FButtonWidth);
  SetDropDownButtonHint(s->FButtonHint);
  FEditorEnabled = s->FEditorEnabled;
  if (FButton && s->FButton) {
    FButton->Glyph()->Assign(s->FButton->Glyph());
    FButton->SetButtonCaption(s->FButton->ButtonCaption());
  }
  FEtched = s->FEtched;
  FImages = s->FImages;
  SetSelectionColorStyle(s->FSelectionColorStyle);
  FSelectionColor = s->FSelectionColor;
  FSelectionColorTo = s->FSelectionColorTo;
}

QString TExtCustomDropDown::Version() const {
  const std::uint32_t v = GetVersionNr();
  return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

// ---- properties ----------------------------------------------------------------------------------------

void TExtCustomDropDown::SetDropDownWidth(int Value) {
  if (Value == FDropDownWidth) return;
  FDropDownWidth = Value;
  FUserDropDownWidth = -1;
}

void TExtCustomDropDown::SetDropDownHeight(int Value) {
  if (Value == FDropDownHeight) return;
  FDropDownHeight = Value;
  FUserDropDownHeight = -1;
}

void TExtCustomDropDown::SetButtonAppearance(TExtButtonAppearance* Value) { FButtonAppearance->Assign(Value); }

void TExtCustomDropDown::SetEditorEnabled(bool Value) {
  FEditorEnabled = Value;
  if (Value)
    FControlStyle.Include(csDoubleClicks);
  else
    FControlStyle.Exclude(csDoubleClicks);
}

void TExtCustomDropDown::SetDropDownButtonWidth(int Value) {
  if (Value == FButtonWidth) return;
  FButtonWidth = Value;
  if (!FButton) return;
  FButton->SetButtonWidth(Value);
  ResizeControl();
}

void TExtCustomDropDown::SetDropDownButtonHint(const QString& Value) {
  if (Value == FButtonHint) return;
  FButtonHint = Value;
  if (!FButton) return;
  FButton->SetHint(Value);
  FButton->SetShowHint(!Value.isEmpty());
}

void TExtCustomDropDown::SetDropDownButtonGlyph(TBitmap* Value) {
  if (FButton) FButton->Glyph()->Assign(Value);
}

void TExtCustomDropDown::SetDropDownButtonCaption(const QString& Value) {
  if (FButton) FButton->SetButtonCaption(Value);
}

void TExtCustomDropDown::SetBorderColor(TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  Invalidate();
  if (FButton) FButton->SpeedButton()->Invalidate();
}

void TExtCustomDropDown::SetDisabledBorder(bool Value) {
  if (Value == FDisabledBorder) return;
  FDisabledBorder = Value;
  Invalidate();
}

void TExtCustomDropDown::SetControl(TControl* Value) {
  if (Value == FControl) return;
  FControl = Value;
  PlaceDropDownControl();
}

void TExtCustomDropDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove || FDestroying) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    Invalidate();
  }
  if (AComponent == FControl) SetControl(nullptr);
  if (AComponent == FFocusControl) FFocusControl = nullptr;
}

// ---- showing and hiding the popup ------------------------------------------------------------------------

void TExtCustomDropDown::DropDownButtonClick() {
  if (!FDropDownForm || FDropDownForm->Visible()) return;
  // The click that closed the open popup by deactivating it must not open it again.
  if (static_cast<std::uint32_t>(TickCount() - FDropDownForm->DeActivateTime()) > 250) DoShowDropDown();
}

void TExtCustomDropDown::BeforeDropDown() {
  if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TExtCustomDropDown::FocusDropDownControl() {
  if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
}

void TExtCustomDropDown::PlaceDropDownControl() {
  if (!FControl || !FDropDownForm) return;
  if (FControl->Align() != alClient) {
    // The popup takes the control's own size the first time, before the control fills the popup, with room for
    // the bars that show above and below it.
    const int w = FControl->Width() + 2 * FDropDownBorderWidth;
    int h = FControl->Height() + 2 * FDropDownBorderWidth;
    if (FDropDownHeader && FDropDownHeader->Visible() && FDropDownForm->Header()) h += FDropDownHeader->Height;
    if (FDropDownFooter && FDropDownFooter->Visible() && FDropDownForm->Footer()) h += FDropDownFooter->Height;
    if (!FDropDownForm->Visible())
      FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
  }
  FControl->SetParent(FDropDownForm.get());
  const bool header = FDropDownHeader && FDropDownHeader->Visible() && FDropDownForm->Header();
  FControl->SetTop(header ? FDropDownHeader->Height + 2 : FDropDownBorderWidth);
  FControl->SetAlign(alClient);
}

void TExtCustomDropDown::UpdateDropDownSize() {
  if (!FDropDownForm) return;
  int w = Width();
  if (FDropDownWidth > 0)
    w = FDropDownWidth;
  else if (FControl && FControl->Visible())
    w = FControl->Width();
  int h = 0;
  if (FDropDownHeight > 0) {
    h = FDropDownHeight;
  } else {
    h = 2 * FDropDownBorderWidth;
    if (FDropDownHeader->Visible()) h += FDropDownHeader->Height;
    if (FDropDownFooter->Visible()) h += FDropDownFooter->Height;
    if (FControl && FControl->Visible()) h += FControl->Height();
  }
  FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
}

void TExtCustomDropDown::DoShowDropDown() {
  if (!FDropDownForm || FDropDownForm->Visible() || !Enabled() || ReadOnly()) return;
  TDropDownForm& form = *FDropDownForm;
  BeforeDropDown();
  form.SetShadow(FDropDownShadow);
  form.SetSizeable(FDropDownSizeable);
  form.InitializeAndUpdate();
  form.SetBounds(Left(), Top(), form.Width(), form.Height());
  UpdateDropDownSize();
  PlaceDropDownControl();
  if (auto* wc = dynamic_cast<TWinControl*>(FControl)) {
    wc->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
    wc->OnKeyUp = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
    wc->OnKeyPress = [this](TObject*, char16_t& Key) { ControlKeyPress(Key); };
  }
  const TPoint p = Parent() ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientToScreen(TPoint(0, 0));
  const int popupHeight = form.Height();
  const bool below = FDropPosition == dpDown ||
                     (FDropPosition == dpAuto && Monitors().PrimaryScreenHeight() > p.Y + popupHeight);
  int left = p.X, top = below ? p.Y + Height() - 1 : p.Y - popupHeight;
  bool accept = true;
  form.SetBounds(left, top, form.Width(), form.Height());
  if (OnDropDown) OnDropDown(this, accept);
  if (!accept) return;
  TRect work;
  if (!Monitors().WorkAreaNear(p, work)) work = Monitors().PrimaryWorkArea();
  left = form.Left();
  top = form.Top();
  if (work.Left >= 0 && left + form.Width() > work.Right && left < work.Right) left = work.Right - form.Width();
  int w = FUserDropDownWidth != -1 ? FUserDropDownWidth : form.Width();
  int h = FUserDropDownHeight != -1 ? FUserDropDownHeight : form.Height();
  AdaptDropDownHeight(h);
  FOpenText = Text();
  FDroppedDown = true;
  form.SetBounds(left, top, w, h);
  form.Show();
  FocusDropDownControl();
}

void TExtCustomDropDown::DoHideDropDown(bool Cancelled) {
  if (!FDropDownForm || !FDropDownForm->Visible()) return;
  if (OnBeforeDropUp) OnBeforeDropUp(this);
  FUserDropDownWidth = FDropDownForm->Width();
  FUserDropDownHeight = FDropDownForm->Height();
  FDropDownForm->Hide();
  QToolTip::hideText();
  // A cancelled popup gives the edit back the value it held when the popup opened.
  if (Cancelled) SetText(FOpenText);
  if (OnDropUp) OnDropUp(this, Cancelled);
}

void TExtCustomDropDown::DropDownHidden() {
  FDroppedDown = false;
  if (TabStop() && CanFocus() && !Focused() && !FDestroying) SetFocus();
}

// ---- keys and wheel forwarded from the popup ---------------------------------------------------------------

void TExtCustomDropDown::DropDownFormWheelDown(TShiftState, TPoint) { HandleMouseWheelDown(); }
void TExtCustomDropDown::DropDownFormWheelUp(TShiftState, TPoint) { HandleMouseWheelUp(); }

void TExtCustomDropDown::DropDownFormKeyPress(char16_t& Key) { Perform(WM_CHAR, Key, 0); }
void TExtCustomDropDown::DropDownFormKeyDown(std::uint16_t& Key, TShiftState) { Perform(WM_KEYDOWN, Key, 0); }
void TExtCustomDropDown::DropDownFormKeyUp(std::uint16_t& Key, TShiftState) { Perform(WM_KEYUP, Key, 0); }
void TExtCustomDropDown::ControlKeyDown(std::uint16_t& Key, TShiftState) { Perform(WM_KEYDOWN, Key, 0); }
void TExtCustomDropDown::ControlKeyUp(std::uint16_t& Key, TShiftState) { Perform(WM_KEYUP, Key, 0); }
void TExtCustomDropDown::ControlKeyPress(char16_t& Key) { Perform(WM_CHAR, Key, 0); }

// ---- layout ---------------------------------------------------------------------------------------------

int TExtCustomDropDown::GetMinHeight() const {
  const int h = QFontMetrics(Font()->QtFont()).height();
  const int s = QFontMetrics(TFont().QtFont()).height();
  return h + std::min(h, s) / 4;
}

void TExtCustomDropDown::ResizeControl() {
  const int d = FFlat ? 3 : 4;
  const int minHeight = GetMinHeight();
  if (minHeight > Height()) {
    SetBounds(Left(), Top(), Width(), minHeight);
    Invalidate();
    return;
  }
  if (FButton) {
    // A single 3-D border: the button stands inside the frame.
    FButton->SetBounds(Width() - FButtonWidth - d, FFlat ? 2 : 0, FButtonWidth, Height() - d);
    SetEditRect();
  }
  Invalidate();
}

void TExtCustomDropDown::SetEditRect() {
  FEditRect = TRect(1, 1, ClientWidth() - FButtonWidth - 3, ClientHeight() + 1);
  if (QLineEdit* e = LineEdit()) e->setTextMargins(FEditRect.Left, 0, std::max(0, Width() - FEditRect.Right), 0);
}

void TExtCustomDropDown::Loaded() {
  TCustomMaskEdit::Loaded();
  FParentFnt = ParentFont();
  SetEditRect();
  ResizeControl();
  if (FButton) FButton->SetEnabled(Enabled());
  if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
  if (FLabel) UpdateLabel();
  if (FLabel && ParentFont()) FLabel->SetFont(*Font());
}

void TExtCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FLabel && FLabel->Parent()) UpdateLabel();
}

void TExtCustomDropDown::EnabledChanged() {
  TCustomMaskEdit::EnabledChanged();
  if (FButton) FButton->SetEnabled(Enabled());
  if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
}

void TExtCustomDropDown::VisibleChanged() {
  TCustomMaskEdit::VisibleChanged();
  if (FLabel && !FLabel->Caption().isEmpty()) FLabel->SetVisible(Visible());
}

void TExtCustomDropDown::FontChanged() {
  TCustomMaskEdit::FontChanged();
  SetEditRect();
  if (FLabel && ParentFont()) {
    FLabel->SetFont(*Font());
    UpdateLabel();
  }
}

// ---- the attached label ---------------------------------------------------------------------------------

void TExtCustomDropDown::DoLabelClick() {
  if (OnLabelClick) OnLabelClick(this);
}

void TExtCustomDropDown::DoLabelDblClick() {
  if (OnLabelDblClick) OnLabelDblClick(this);
}

QString TExtCustomDropDown::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TExtCustomDropDown::SetLabelCaption(const QString& Value) {
  if (!FLabel) CreateLabel();
  FLabel->SetCaption(Value);
  UpdateLabel();
}

void TExtCustomDropDown::CreateLabel() {
  FLabel = new TLabel(this);
  FLabel->SetParent(Parent());
  FLabel->SetFocusControl(this);
  FLabel->SetFont(*FLabelFont);
  FLabel->OnClick = [this](TObject*) { DoLabelClick(); };
  FLabel->OnDblClick = [this](TObject*) { DoLabelDblClick(); };
  FLabel->SetParentFont(ParentFont());
}

void TExtCustomDropDown::SetLabelFont(const TFont& Value) {
  if (!ParentFont()) FLabelFont->Assign(Value);
  if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::SetLabelMargin(int Value) {
  FLabelMargin = Value;
  if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::SetLabelPosition(TLabelPosition Value) {
  FLabelPosition = Value;
  if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::SetLabelTransparent(bool Value) {
  FLabelTransparent = Value;
  if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::UpdateLabel() {
  if (!FLabel) return;
  if (FLabel->Parent() != Parent()) FLabel->SetParent(Parent());
  FLabel->SetTransparent(FLabelTransparent);
  FLabel->SetFont(FParentFnt ? *Font() : *FLabelFont);
  TBitmap scratch(1, 1);
  TCanvas& measure = *scratch.Canvas();
  measure.Font()->Assign(*FLabel->Font());
  TRect r(0, 0, 1000, 255);
  measure.DrawText(FLabel->DisplayText(), r, DT_CALCRECT | DT_HIDEPREFIX);
  const int w = r.Width();
  const int l = Left(), t = Top(), wd = Width(), ht = Height(), m = FLabelMargin;
  const int lh = FLabel->Height(), lw = FLabel->Width();
  const int centred = lh > ht ? t - (lh - ht) / 2 : t + (ht - lh) / 2;
  int top = t, left = l;
  switch (FLabelPosition) {
    case lpLeftTop: top = t, left = l - w - m; break;
    case lpLeftCenter: top = centred, left = l - w - m; break;
    case lpLeftBottom: top = t + ht - lh, left = l - w - m; break;
    case lpTopLeft: top = t - lh - m, left = l; break;
    case lpBottomLeft: top = t + ht + m, left = l; break;
    case lpLeftTopLeft: top = t, left = l - m; break;
    case lpLeftCenterLeft: top = centred, left = l - m; break;
    case lpLeftBottomLeft: top = t + ht - lh, left = l - m; break;
    case lpTopCenter: top = t - lh - m, left = l + (wd - lw) / 2; break;
    case lpBottomCenter: top = t + ht + m, left = l + (wd - lw) / 2; break;
    case lpRightTop: top = t, left = l + wd + m; break;
    case lpRightCenter: top = centred, left = l + wd + m; break;
    case lpRighBottom: top = t + ht - lh, left = l + wd + m; break;
    case lpTopRight: top = t - lh - m, left = l + wd - lw; break;
    case lpBottomRight: top = t + ht + m, left = l + wd - lw; break;
  }
  FLabel->SetBounds(left, top, FLabel->Width(), FLabel->Height());
  FLabel->SetVisible(Visible());
}

// ---- painting over the edit -----------------------------------------------------------------------------

void TExtCustomDropDown::DrawBorder() {
  // The frame is painted after the edit's own painting; a repaint brings it up to date.
  if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
  Invalidate();
  if (FButton) FButton->SpeedButton()->SetFocused(FMouseInControl || Focused());
}

void TExtCustomDropDown::PaintMessage(TMessage& M) {
  TCustomMaskEdit::Dispatch(M);
  if (!Widget()) return;
  TCanvas canvas(Widget());
  const TRect frame(0, 0, Width(), Height());
  const bool themed = PlatformFacts().ComCtl32Major > 5;
  auto frameIn = [&](TColor c) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(c);
    canvas.FrameRect(frame);
  };
  if (!Enabled() && themed && FDisabledBorder) {
    frameIn(clSilver);
  } else if (FBorderColor != clNone && (!Focused() || FFocusBorderColor == clNone)) {
    frameIn(FBorderColor);
  } else if (FFocusBorderColor != clNone) {
    if (Focused()) frameIn(FFocusBorderColor);
  } else if (FFlat) {
    const bool hot = FMouseInControl || Focused();
    const TColor back = Parent() ? Parent()->Color() : clBtnFace;
    TRect r = frame;
    if (hot) {
      DrawEdge(&canvas, r, BDR_SUNKENOUTER, BF_RECT);
    } else {
      canvas.Brush()->SetColor(back);
      canvas.FrameRect(r);
    }
    r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    canvas.Brush()->SetColor(hot ? clBtnFace : back);
    canvas.FrameRect(r);
  }
  PaintEditContent(canvas);
  canvas.EndPainting();
}

void TExtCustomDropDown::PaintEditContent(TCanvas& Canvas) {
  if (FEditorEnabled || !Focused() || !FFocusDraw) return;
  TRect r(2, 2, Width() - FButtonWidth - 1, Height() - 2);
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(clHighlight);
  Canvas.Pen()->SetStyle(psClear);
  Canvas.FillRect(r);
  r = TRect(r.Left + 2, r.Top, r.Right - 3, r.Bottom);
  Canvas.Font()->Assign(*Font());
  Canvas.Font()->SetColor(clHighlightText);
  Canvas.Brush()->SetStyle(bsClear);
  Canvas.DrawText(Text(), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

}  // namespace dropdown
