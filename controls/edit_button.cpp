#include "controls/edit_button.h"

#include <QLineEdit>

#include <algorithm>

#include "controls/draw_utils.h"
#include "controls/theme_services.h"
#include "platform/forms/menus.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/themes.h"

namespace controls {

using namespace plat;

namespace {

// The edit's notification code for a text change, carried in the high word of a command message.
constexpr unsigned EN_CHANGE = 0x0300;

// The unit text beside the number, drawn as the edit draws text.
class TUnitText : public TGraphicControl {
 public:
  explicit TUnitText(TComponent* AOwner) : TGraphicControl(AOwner) { FControlStyle.Exclude(csCaptureMouse); }
  std::function<QString()> Text;

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    c->Font()->Assign(*Parent()->Font());
    c->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    c->DrawText(Text ? Text() : QString(), r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  }
};

int FontHeight(const TFont& f) {
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(f);
  return probe.Canvas()->TextHeight("Wg");
}

}  // namespace

// ---- TExtSpeedButton -------------------------------------------------------------------------------------------

TEsgEditButton* TExtSpeedButton::Owner() const { return dynamic_cast<TEsgEditButton*>(Parent()); }

void TExtSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TStateButton::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && OnRelease) OnRelease();
}

void TExtSpeedButton::Paint() {
  TCanvas* C = Canvas();
  C->Font()->Assign(*Font());
  TRect R = ClientRect();
  TEsgEditButton* owner = Owner();
  if (owner && owner->ButtonColor != clNone) {
    FFlat = true;
    TColor c = FDown ? owner->ButtonColorDown : FHot ? owner->ButtonColorHot : owner->ButtonColor;
    if (c == clNone) c = owner->ButtonColor;
    C->Pen()->SetColor(c);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(c);
    C->Rectangle(R);
  } else if (FIsWinXP && XPVS().IsThemeActive && XPVS().IsThemeActive() &&
             PaintThemePart(*C, Parent(), "button", BP_PUSHBUTTON, FDown ? PBS_PRESSED : FHot ? PBS_HOT : PBS_NORMAL,
                           R)) {
  } else if (FFlat) {
    DrawEdge(C, R, FDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  } else {
    DrawFrameControl(C, R, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (FDown ? DFCS_PUSHED : 0u));
  }
  const int shift = FDown ? 1 : 0;
  if (!FGlyph->Empty()) {
    const int x = FGlyph->Width() < R.Width() ? R.Left + (R.Width() - FGlyph->Width()) / 2 : 0;
    const int y = FGlyph->Height() < R.Height() ? R.Top + (R.Height() - FGlyph->Height()) / 2 : 0;
    C->Draw(x + shift, y + shift, FGlyph.get());
  }
  if (!Caption().isEmpty()) {
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    TRect tr(R.Left + shift, R.Top + shift, R.Right + shift, R.Bottom + shift);
    C->DrawText(Caption(), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

// ---- TEsgEditButton --------------------------------------------------------------------------------------------

TEsgEditButton::TEsgEditButton(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FControlStyle.Exclude(csAcceptsControls);
  FControlStyle.Exclude(csSetCaption);
  FButton = new TExtSpeedButton(this);
  FButton->SetParent(this);
  FButton->OnRelease = [this] { Released(); };
  SetBounds(0, 0, 20, 25);
}

void TEsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FButton && !ComponentState().Contains(csLoading)) FButton->SetBounds(0, 0, AWidth, AHeight);
}

void TEsgEditButton::SetFocusControl(TWinControl* v) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TEsgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TEsgEditButton::SetGlyph(const TBitmap* v) {
  if (v)
    FButton->Glyph()->Assign(*v);
  else
    FButton->Glyph()->SetSize(0, 0);
  FButton->Glyph()->SetTransparent(true);
  FButton->Invalidate();
}

void TEsgEditButton::SetButtonCaption(const QString& v) {
  FButton->SetCaption(v);
  FButton->Invalidate();
}

void TEsgEditButton::Released() {
  if (OnClick) OnClick(this);
  if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (TabStop() && !Focused() && CanFocus())
    SetFocus();
}

// ---- TEsgEditBtn -----------------------------------------------------------------------------------------------

TEsgEditBtn::TEsgEditBtn(TComponent* AOwner) : TEdit(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  SetTabStop(true);
  FButton = new TEsgEditButton(this);
  FButton->SetParent(this);
  FButton->SetBounds(0, 0, 18, 18);
  FButton->SetFocusControl(this);
  FButton->OnClick = [this](TObject*) { ClickButton(); };
  SetText(QStringLiteral("0"));
  UpdateLayout();
}

TEsgEditBtn::~TEsgEditBtn() { FButton = nullptr; }

void TEsgEditBtn::SetRightAlign(bool v) {
  FRightAlign = v;
  SetAlignment(v ? taRightJustify : taLeftJustify);
}

int TEsgEditBtn::ButtonWidth() const { return FButton ? FButton->Width() : 0; }

void TEsgEditBtn::SetButtonWidth(int v) {
  FButton->SetWidth(v);
  UpdateLayout();
}

void TEsgEditBtn::SetIsWinXP(bool v) {
  FIsWinXP = v;
  FButton->SpeedButton()->SetIsWinXP(v);
}

void TEsgEditBtn::ClickButton() {
  if (OnClickBtn) OnClickBtn(this);
}

void TEsgEditBtn::Resize() {
  TEdit::Resize();
  UpdateLayout();
}

void TEsgEditBtn::UpdateLayout() {
  if (!FButton || FAdjusting) return;
  FAdjusting = true;
  const int fh = FontHeight(*Font());
  const int minHeight = fh + std::min(fh, FontHeight(TFont())) / 4;
  if (Height() < minHeight) SetHeight(minHeight);
  // The edit's frame takes 2 pixels on each side; the text rectangle is in the client space inside it.
  const int bw = FButton->Width();
  FButton->SetBounds(Width() - bw - 3, 2, bw, std::max(0, Height() - 5));
  const int clientWidth = Width() - 4, clientHeight = Height() - 4;
  const int right = clientWidth - (bw + FUnitSize + 5) - (FUnitSize > 0 ? 3 : 0);
  FTextRect = TRect(1, 1, right, clientHeight + 1);
  LineEdit()->setTextMargins(0, 0, std::max(0, clientWidth - right), 0);
  LayoutChanged();
  FAdjusting = false;
}

void TEsgEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TEdit::KeyDown(Key, Shift);
  if (Key == VK_F4 && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) ClickButton();
}

void TEsgEditBtn::DoEnter() {
  TEdit::DoEnter();
  if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
}

void TEsgEditBtn::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_CHAR:
      if (!FEditorEnabled) return;
      break;
    case WM_CUT:
    case WM_PASTE:
      if (!FEditorEnabled || ReadOnly()) return;
      break;
    default: break;
  }
  TEdit::Dispatch(M);
}

// ---- TEsgUnitEditBtn -------------------------------------------------------------------------------------------

TEsgUnitEditBtn::TEsgUnitEditBtn(TComponent* AOwner)
    : TEsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>()) {
  auto* label = new TUnitText(this);
  label->Text = [this] { return FUnitID; };
  label->SetParent(this);
  FUnitLabel = label;
  FUnitSize = 20;
  SetRightAlign(true);
  UpdateLayout();
}

TEsgUnitEditBtn::~TEsgUnitEditBtn() = default;

void TEsgUnitEditBtn::LayoutChanged() {
  if (!FUnitLabel) return;
  const int bw = ButtonWidth(), clientWidth = Width() - 4;
  // Client x from width - button - 3 - UnitSpace to width - button - 3, y from 2; the frame adds 2.
  FUnitLabel->SetBounds(clientWidth - bw - 3 - FUnitSize + 2, 4, FUnitSize, std::max(0, Height() - 6));
}

void TEsgUnitEditBtn::SetUnits(const TStrings& v) { FUnits->Assign(const_cast<TStrings*>(&v)); }

void TEsgUnitEditBtn::SetUnitID(const QString& v) {
  FUnitID = v;
  if (FUnitLabel) FUnitLabel->Invalidate();
}

void TEsgUnitEditBtn::SetUnitSpace(int v) {
  FUnitSize = v;
  UpdateLayout();
  Invalidate();
}

void TEsgUnitEditBtn::SetTextAndUnit(const QString& v) {
  for (int i = 0; i < FUnits->Count(); ++i) {
    const QString unit = FUnits->Strings(i);
    const int pos = int(v.indexOf(unit)) + 1;  // 1-based, 0: absent
    if (pos > 0 && pos == v.size() - unit.size() + 1) {
      SetText(v.left(v.size() - unit.size()));
      SetUnitID(unit);
      return;
    }
  }
}

void TEsgUnitEditBtn::ClickButton() {
  TEsgEditBtn::ClickButton();
  TPopupMenu menu(nullptr);
  for (int i = 0; i < FUnits->Count(); ++i) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(FUnits->Strings(i));
    item->OnClick = [this, i](TObject*) { Perform(WM_COMMAND, WPARAM(i + 1), 0); };
    menu.Items()->Add(item);
  }
  const TPoint at = ClientToScreen(TPoint(ClientWidth() - 15, ClientHeight()));
  menu.Popup(at.X, at.Y);
}

void TEsgUnitEditBtn::Dispatch(TMessage& M) {
  if (M.Msg == WM_COMMAND && ((M.WParam >> 16) & 0xFFFF) != EN_CHANGE) {
    const int id = int(M.WParam & 0xFFFF);
    if (id >= 1 && id <= FUnits->Count()) {
      const QString unit = FUnits->Strings(id - 1);
      const bool changed = unit != FUnitID;
      SetUnitID(unit);
      if (changed && OnUnitChanged) OnUnitChanged(this, unit);
      return;
    }
  }
  TEsgEditBtn::Dispatch(M);
}

}  // namespace controls
