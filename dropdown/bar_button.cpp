#include "dropdown/bar_button.h"

#include <QCursor>

#include "dropdown/button_appearance.h"
#include "dropdown/ext_dropdown.h"
#include "dropdown/paint_routines.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/exceptions.h"

namespace dropdown {

using namespace plat;

namespace {

// The character after the caption's accelerator marker ("&&" is a literal ampersand), 0 without one.
QChar AcceleratorOf(const QString& Caption) {
  for (qsizetype i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != u'&') continue;
    if (Caption[i + 1] != u'&') return Caption[i + 1].toUpper();
    ++i;
  }
  return QChar();
}

}  // namespace

TExtButton::TExtButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 22, 23);
  SetParentFont(true);
  Font()->SetName(QStringLiteral("Tahoma"));
  SetShowHint(false);
}

TExtButton::~TExtButton() = default;

void TExtButton::SetAppearance(TExtButtonAppearance* Value) {
  FAppearance = Value;
  Invalidate();
}

void TExtButton::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TExtButton::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Invalidate();
}

void TExtButton::AdjustButtonSize() {
  if (!FAppearance) return;
  TBitmap scratch(1, 1);
  TCanvas& c = *scratch.Canvas();
  c.Font()->Assign(*FAppearance->Font());
  const TSize text = GetTextSize(c, Caption());
  int w = text.cx, h = text.cy;
  if (FImages && FImageIndex >= 0) {
    w = std::max(w, FImages->Width());
    h = std::max(h, FImages->Height());
  }
  SetBounds(Left(), Top(), w + 8, h + 4);
}

void TExtButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  if (FExtDropDown) {
    switch (FModalResult) {
      case 1: case 6: case 12: case 14: FExtDropDown->HideDropDown(false); break;
      case 2: case 3: case 5: case 7: case 13: FExtDropDown->HideDropDown(true); break;
      default: break;  // none, Retry and the others leave the popup open
    }
  }
  if (!FInternalClick) TCustomControl::Click();
}

// ---- state and mouse ---------------------------------------------------------------------------------------

bool TExtButton::CursorInside() const {
  return ClientRect().Contains(ScreenToClient(TPoint(QCursor::pos().x(), QCursor::pos().y())));
}

void TExtButton::MouseEntered() {
  FHot = true;
  FMouseInControl = true;
  if (Enabled()) Invalidate();
  if (OnMouseEnterButton) OnMouseEnterButton(this);
}

void TExtButton::MouseLeft() {
  FHot = false;
  FMouseInControl = false;
  if (Enabled()) Invalidate();
  if (OnMouseLeaveButton) OnMouseLeaveButton(this);
}

void TExtButton::UpdateTracking() {
  if (!Enabled()) return;
  const bool inside = CursorInside();
  if (inside != FMouseInControl) inside ? MouseEntered() : MouseLeft();
}

void TExtButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  FMouseDownInControl = true;
  FState = absDown;
  Invalidate();
  FDragging = true;
}

void TExtButton::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragging) {
    const TExtButtonState now = ClientRect().Contains(TPoint(X, Y)) ? absDown : absUp;
    if (now != FState) {
      FState = now;
      Invalidate();
    }
  } else if (!FHot) {
    UpdateTracking();
  }
}

void TExtButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  FMouseDownInControl = false;
  Invalidate();
  if (FDragging) {
    FDragging = false;
    FState = absUp;
    FHot = false;
  }
  UpdateTracking();
}

void TExtButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TExtButton::EnabledChanged() {
  TCustomControl::EnabledChanged();
  Invalidate();
}

void TExtButton::Dispatch(TMessage& M) {
  TButtonHost* host = dynamic_cast<TButtonHost*>(Parent());
  if (!host) {
    HandleMessage(M);
    return;
  }
  host->EnterButtonMessage();
  try {
    HandleMessage(M);
  } catch (...) {
    host->LeaveButtonMessage();
    throw;
  }
  host->LeaveButtonMessage();
}

void TExtButton::HandleMessage(TMessage& M) {
  switch (M.Msg) {
    case CM_MOUSEENTER:
      TCustomControl::Dispatch(M);
      MouseEntered();
      return;
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(M);
      MouseLeft();
      return;
    case WM_KEYDOWN:
      if (M.WParam == VK_RETURN || M.WParam == VK_SPACE) {
        FState = absDown;
        Invalidate();
        FInternalClick = true;
        Click();
        FInternalClick = false;
      }
      TCustomControl::Dispatch(M);
      return;
    case CM_DIALOGCHAR: {
      const QChar accel = AcceleratorOf(Caption());
      if (Enabled() && !accel.isNull() && QChar(static_cast<char16_t>(M.WParam)).toUpper() == accel) {
        Click();
        M.Result = 1;
        return;
      }
      TCustomControl::Dispatch(M);
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(M);
      Invalidate();
      return;
    default:
      TCustomControl::Dispatch(M);
      return;
  }
}

// ---- painting ----------------------------------------------------------------------------------------------

void TExtButton::Paint() {
  if (!Enabled()) {
    FState = absDisabled;
    FDragging = false;
  } else if (FState == absDisabled) {
    FState = absUp;
  }
  if (auto* source = dynamic_cast<TButtonHost*>(Parent())) source->PaintBackgroundUnder(*Canvas(), BoundsRect());
  DrawButton();
}

void TExtButton::DrawButton() {
  if (!FAppearance) return;
  const TExtButtonAppearance& a = *FAppearance;
  TColor from = a.Color(), to = a.ColorTo(), border = a.BorderColor();
  if (!Enabled()) {
    from = a.ColorDisabled(), to = a.ColorDisabledTo(), border = a.BorderColorDisabled();
  } else if (FState == absDown && FMouseDownInControl) {
    from = a.ColorDown(), to = clNone, border = a.BorderColorDown();
  } else if (FDown) {
    from = a.ColorChecked(), to = clNone, border = a.BorderColorChecked();
  } else if (FHot || Focused()) {
    from = a.ColorHot(), to = clNone, border = a.BorderColorHot();
  }
  TCanvas& c = *Canvas();
  const TRect r(0, 0, Width(), Height());
  DrawGradientBox(&c, r, from, to, a.Gradient() == 1, 1, border);
  c.Brush()->SetStyle(bsClear);
  c.Font()->Assign(*FAppearance->Font());
  DrawImageAndText(&c, r, Caption(), FImageIndex, FImages);
}

// ---- TDbgList ----------------------------------------------------------------------------------------------

void TDbgList::Delete(int Index) {
  GetItemsEx(Index);
  FItems.erase(FItems.begin() + Index);
}

TExtButton* TDbgList::GetItemsEx(int Index) const {
  if (Index >= Count()) throw Exception(QStringLiteral("Index out of bounds in list read access"));
  if (Index < 0) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return FItems[static_cast<std::size_t>(Index)];
}

void TDbgList::SetItemsEx(int Index, TExtButton* Value) {
  if (Index >= Count()) throw Exception(QStringLiteral("Index out of bounds in list write access"));
  if (Index < 0) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  FItems[static_cast<std::size_t>(Index)] = Value;
}

}  // namespace dropdown
