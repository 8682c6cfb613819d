#include "dropdown/popup_bars.h"

#include <QMetaObject>
#include <QWidget>

#include "dropdown/button_appearance.h"
#include "dropdown/paint_routines.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"

namespace dropdown {

using namespace plat;

// ---- TExtPopupBar ------------------------------------------------------------------------------------------

TExtPopupBar::TExtPopupBar(TComponent* AOwner, bool Footer) : TCustomControl(AOwner), FFooter(Footer) {}

TExtPopupBar::~TExtPopupBar() {
  for (TExtButton* b : FRetired) delete b;
}

void TExtPopupBar::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TExtPopupBar::SetExtDropDown(TExtCustomDropDown* DropDown) {
  FExtDropDown = DropDown;
  if (!DropDown) {
    SetImages(nullptr);
    return;
  }
  SetImages(DropDown->Images());
  BarAppearance().Assign(SourceAppearance());
}

void TExtPopupBar::ApplyAppearance() {
  SetVisible(BarAppearance().Visible());
  SetHeight(BarAppearance().Height);
}

void TExtPopupBar::RebuildButtons() {
  if (FExtDropDown) CreateButtons();
}

void TExtPopupBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TExtPopupBar::LeaveButtonMessage() { --FBusy; }

void TExtPopupBar::FreeRetired() {
  std::vector<TExtButton*> retired;
  retired.swap(FRetired);
  for (TExtButton* b : retired) delete b;
}

void TExtPopupBar::ClearButtons() {
  for (int i = FButtonList.Count() - 1; i >= 0; --i) {
    TExtButton* b = FButtonList[i];
    if (FBusy > 0) {
      // A button of this bar is inside its own click (whose event the window system is still delivering):
      // free the old buttons only once that event is over.
      b->SetVisible(false);
      if (FRetired.empty() && Widget())
        QMetaObject::invokeMethod(Widget(), [this] { FreeRetired(); }, Qt::QueuedConnection);
      FRetired.push_back(b);
    } else {
      delete b;
    }
  }
  FButtonList.Clear();
}

void TExtPopupBar::CreateButtons() {
  grid::TDropDownBarButtons* defs = Definitions();
  if (!FExtDropDown || !defs) return;
  ClearButtons();
  const int maxH = GetButtonAreaHeight();
  for (int i = 0; i < defs->Count(); ++i) {
    auto* def = static_cast<grid::TDropDownBarButton*>(defs->Items(i));
    auto* b = new TExtButton(this);
    b->SetParent(this);
    if (FFooter) b->SetExtDropDown(FExtDropDown);
    b->SetAppearance(FExtDropDown->ButtonAppearance());
    b->SetCaption(def->Caption());
    b->SetImages(FImages);
    b->SetImageIndex(def->ImageIndex());
    b->SetEnabled(def->Enabled());
    if (auto* f = dynamic_cast<grid::TFooterButton*>(def)) b->SetModalResult(f->ModalResult());
    b->AdjustButtonSize();
    if (def->Width() > 0) b->SetWidth(def->Width());
    if (def->Height() > 0) b->SetHeight(def->Height());
    if (b->Height() > maxH) b->SetHeight(maxH);
    b->SetTag(i);
    b->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
    FButtonList.Add(b);
  }
  ArrangeButtons();
}

TRect TExtPopupBar::GetButtonArea() const {
  const TRect r = ClientRect();
  return TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 3);
}

TRect TExtPopupBar::GetCaptionLimit() const {
  if (FButtonList.Count() == 0) return TRect(-1, -1, -1, -1);
  TRect r = GetButtonArea();
  r.Right = FButtonList.Last()->Left() - 2;
  return r;
}

void TExtPopupBar::ArrangeButtons() {
  if (FButtonList.Count() == 0) return;
  const TRect a = GetButtonArea();
  const bool right = BarAppearance().ButtonAlignment == grid::dbaRight;
  int x = right ? a.Right : a.Left;
  for (int i = 0; i < FButtonList.Count(); ++i) {
    TExtButton* b = FButtonList[i];
    const int top = std::max(a.Top, (a.Bottom - b->Height()) / 2);
    if (right) {
      b->SetBounds(x - b->Width(), top, b->Width(), b->Height());
      x = b->Left();
    } else {
      b->SetBounds(x, top, b->Width(), b->Height());
      x += b->Width();
    }
  }
}

void TExtPopupBar::UpdateButtons() {
  grid::TDropDownBarButtons* defs = Definitions();
  if (!FExtDropDown || !defs) return;
  for (int i = 0; i < FButtonList.Count(); ++i) {
    TExtButton* b = FButtonList[i];
    b->SetAppearance(FExtDropDown->ButtonAppearance());
    b->SetImages(FImages);
    if (i < defs->Count()) {
      auto* def = static_cast<grid::TDropDownBarButton*>(defs->Items(i));
      b->SetCaption(def->Caption());
      b->SetImageIndex(def->ImageIndex());
      b->SetEnabled(def->Enabled());
    }
    b->AdjustButtonSize();
  }
  ArrangeButtons();
}

void TExtPopupBar::ButtonClick(TObject* Sender) {
  auto* b = dynamic_cast<TExtButton*>(Sender);
  if (!b || !FExtDropDown) return;
  const TDropDownButtonItemClick& event =
      FFooter ? FExtDropDown->OnDropDownFooterButtonClick : FExtDropDown->OnDropDownHeaderButtonClick;
  if (event) event(FExtDropDown, static_cast<int>(b->Tag()));
}

void TExtPopupBar::Dispatch(TMessage& M) {
  TCustomControl::Dispatch(M);
  if (M.Msg == WM_SIZE) ArrangeButtons();
}

// ---- painting ----------------------------------------------------------------------------------------------

void TExtPopupBar::PaintBackground(TCanvas& c, const TRect& R) {
  const grid::TDropDownBarAppearance& a = BarAppearance();
  if (a.ColorTo == clNone) {
    if (a.Color != clNone) {
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(a.Color);
      c.FillRect(R);
    }
  } else {
    DrawDropDownGradient(c, a.Color, a.ColorTo, a.GradientDirection == grid::dbgHorizontal, R, 80);
  }
  if (a.BorderColor == clNone || a.BorderWidth <= 0) return;
  c.Pen()->SetStyle(psSolid);
  c.Pen()->SetWidth(a.BorderWidth);
  c.Pen()->SetColor(a.BorderColor);
  // With the popup's own border around it the bar draws only its edge towards the hosted control.
  const bool ownFrame = !FExtDropDown || FExtDropDown->DropDownBorderWidth() <= 0 ||
                        FExtDropDown->DropDownBorderColor() == clNone;
  if (!FFooter) {
    c.MoveTo(R.Left, R.Bottom - 1);
    c.LineTo(R.Right, R.Bottom - 1);
    if (ownFrame) {
      c.MoveTo(R.Left, R.Bottom - 1);
      c.LineTo(R.Left, R.Top);
      c.LineTo(R.Right, R.Top);
      c.LineTo(R.Right, R.Bottom - 1);
    }
  } else {
    c.MoveTo(R.Left, R.Top);
    c.LineTo(R.Right, R.Top);
    if (ownFrame) {
      c.MoveTo(R.Left, R.Top);
      c.LineTo(R.Left, R.Bottom);
      c.LineTo(R.Right, R.Bottom);
      c.LineTo(R.Right, R.Top);
    }
  }
  c.Pen()->SetWidth(1);
  c.Brush()->SetStyle(bsClear);
  c.Pen()->SetColor(BlendColor(a.BorderColor, clWhite, 20));
  if (!FFooter)
    c.Rectangle(R.Left, R.Top, R.Right, R.Bottom - a.BorderWidth);
  else
    c.Rectangle(R.Left, R.Top + a.BorderWidth, R.Right, R.Bottom);
}

void TExtPopupBar::PaintBackgroundUnder(TCanvas& Canvas, const TRect& Child) {
  // The bar's client rectangle seen from the child: the child's top left is the canvas origin.
  const TRect r(-Child.Left, -Child.Top, Width() - Child.Left, Height() - Child.Top);
  if (OnDrawBackGround) {
    OnDrawBackGround(this, &Canvas, r);
    return;
  }
  PaintBackground(Canvas, r);
}

void TExtPopupBar::PaintCaption(TCanvas& c, TRect C) {
  const grid::TDropDownBarAppearance& a = BarAppearance();
  if (a.ImageIndex >= 0 && FImages) {
    FImages->Draw(&c, C.Left + 4, C.Top + (C.Height() - FImages->Height()) / 2, a.ImageIndex, true);
    C.Left += FImages->Width() + 8;
  }
  QString caption = a.Caption;
  if (OnGetText) OnGetText(this, caption);
  if (caption.isEmpty()) return;
  if (FButtonList.Count() > 0) C.Right = GetCaptionLimit().Right;
  c.Font()->Assign(*const_cast<grid::TDropDownBarAppearance&>(a).Font());
  TSize size;
  DrawHTMLText(c, caption, C, size, nullptr, false, FImages);
  if (size.cy < C.Height()) C.Top += (C.Height() - size.cy) / 2;
  DrawHTMLText(c, caption, C, size, nullptr, true, FImages);
}

void TExtPopupBar::Paint() {
  TCanvas& c = *Canvas();
  const TRect r(0, 0, Width(), Height());
  if (OnDrawBackGround) {
    OnDrawBackGround(this, &c, r);
    return;
  }
  PaintBackground(c, r);
  const int bw = BarAppearance().BorderWidth;
  PaintCaption(c, TRect(r.Left + bw, r.Top + bw, r.Right - bw, r.Bottom - bw));
}

// ---- TExtHeader ----------------------------------------------------------------------------------------------

TExtHeader::TExtHeader(TComponent* AOwner)
    : TExtPopupBar(AOwner, false), FAppearance(std::make_unique<THeaderAppearance>(AOwner)) {
  FAppearance->OnChange = [this](TObject*) { ApplyAppearance(); };
  FAppearance->OnButtonsChanged = [](TObject*) {};
}

TExtHeader::~TExtHeader() = default;

grid::THeaderButtons* TExtHeader::Buttons() const {
  return FExtDropDown ? FExtDropDown->DropDownHeader()->Buttons() : nullptr;
}

grid::TDropDownBarAppearance* TExtHeader::SourceAppearance() const {
  return FExtDropDown ? FExtDropDown->DropDownHeader() : nullptr;
}

// ---- TExtFooter ----------------------------------------------------------------------------------------------

TExtFooter::TExtFooter(TComponent* AOwner)
    : TExtPopupBar(AOwner, true), FAppearance(std::make_unique<TFooterAppearance>(AOwner)) {
  FAppearance->OnChange = [this](TObject*) { ApplyAppearance(); };
}

TExtFooter::~TExtFooter() = default;

grid::TFooterButtons* TExtFooter::Buttons() const {
  return FExtDropDown ? FExtDropDown->DropDownFooter()->Buttons() : nullptr;
}

grid::TDropDownBarAppearance* TExtFooter::SourceAppearance() const {
  return FExtDropDown ? FExtDropDown->DropDownFooter() : nullptr;
}

bool TExtFooter::HasSizeGrip() const {
  return FAppearance->SizeGrip && FExtDropDown && FExtDropDown->DropDownSizeable();
}

TRect TExtFooter::GetButtonArea() const {
  const TRect r = ClientRect();
  return TRect(r.Left + 2, r.Top + 2, r.Right - (HasSizeGrip() ? 14 : 2), r.Bottom - 2);
}

void TExtFooter::DrawSizeGrip(TCanvas& c, const TRect& G) {
  const int l = G.Left, b = G.Bottom;
  c.Brush()->SetStyle(bsSolid);
  c.Pen()->SetStyle(psClear);
  for (int row = 0; row < 3; ++row) {
    for (int x = 4 + 4 * row; x <= 12; x += 4) {
      const int top = b - 5 - 4 * row;
      c.Brush()->SetColor(clWhite);
      c.FillRect(TRect(l + x + 1, top + 1, l + x + 3, top + 3));
      c.Brush()->SetColor(FAppearance->BorderColor);
      c.FillRect(TRect(l + x, top, l + x + 2, top + 2));
    }
  }
  c.Pen()->SetStyle(psSolid);
}

void TExtFooter::Paint() {
  TExtPopupBar::Paint();
  if (!HasSizeGrip()) return;
  const int bw = FAppearance->BorderWidth;
  DrawSizeGrip(*Canvas(), TRect(Width() - bw - 16, 1, Width() - bw - 1, Height()));
}

bool TExtFooter::InGripCorner(int X, int Y) const {
  return HasSizeGrip() && Parent() && X > Width() - 12 && Y > Height() - 15;
}

void TExtFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TExtPopupBar::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !InGripCorner(X, Y)) return;
  if (auto* form = dynamic_cast<TDropDownForm*>(Parent())) {
    // The popup resizes from its bottom right corner; the moves keep arriving here while the button is down.
    form->BeginGripSizing(ClientToScreen(TPoint(X, Y)));
    FGripping = true;
  }
}

void TExtFooter::MouseMove(TShiftState Shift, int X, int Y) {
  TExtPopupBar::MouseMove(Shift, X, Y);
  if (FGripping) {
    if (auto* form = dynamic_cast<TDropDownForm*>(Parent())) form->GripSizeTo(ClientToScreen(TPoint(X, Y)));
    return;
  }
  SetCursor(InGripCorner(X, Y) ? crSizeNWSE : FOldCursor);
}

void TExtFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TExtPopupBar::MouseUp(Button, Shift, X, Y);
  if (FGripping) {
    FGripping = false;
    if (auto* form = dynamic_cast<TDropDownForm*>(Parent())) form->EndGripSizing();
  }
  SetCursor(FOldCursor);
}

void TExtFooter::Dispatch(TMessage& M) {
  if (M.Msg == CM_MOUSEENTER && Cursor() != crSizeNWSE) FOldCursor = Cursor();
  TExtPopupBar::Dispatch(M);
  if (M.Msg == CM_MOUSELEAVE && !FGripping) SetCursor(FOldCursor);
}

}  // namespace dropdown
