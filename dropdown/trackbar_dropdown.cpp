#include "dropdown/trackbar_dropdown.h"

#include <algorithm>

#include "platform/forms/keys.h"
#include "platform/forms/trackbar.h"
#include "platform/rtl/strutils.h"

namespace dropdown {

using namespace plat;

TExtTrackBarDropDown::TExtTrackBarDropDown(TComponent* AOwner) : TExtCustomDropDown(AOwner) {
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  SetEditType(etNumeric);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetForceShadow(true);
  CreateDropDownForm();  // the base's constructor made the popup before this class could add its track bar
}

TExtTrackBarDropDown::~TExtTrackBarDropDown() = default;

void TExtTrackBarDropDown::CreateDropDownForm() {
  TExtCustomDropDown::CreateDropDownForm();
  if (!FTrackBar) {
    FTrackBar = new TTrackBar(this);
    FTrackBar->SetParent(DropDownForm());
    FTrackBar->SetBounds(0, 0, FTrackBar->Width(), 40);
  }
  FTrackBar->OnChange = [this](TObject*) { TrackBarChange(); };
}

void TExtTrackBarDropDown::BeforeDropDown() {
  TExtCustomDropDown::BeforeDropDown();
  DropDownForm()->SetCancelOnDeActivate(false);
  if (FTrackBar) {
    FTrackBar->SetMin(FMin);
    FTrackBar->SetMax(FMax);
    FTrackBar->SetPosition(FPosition);
    FTrackBar->SetPageSize(FPageSize);
    FTrackBar->SetFrequency(FFrequency);
    FTrackBar->SetWidth(Width());
  }
  SetControl(FTrackBar);
}

void TExtTrackBarDropDown::TrackBarChange() {
  FPosition = FTrackBar->Position();
  SetPlainText(QString::number(FPosition));
  if (OnTrackChange) OnTrackChange(this);
}

void TExtTrackBarDropDown::SetMin(int Value) {
  FMin = Value;
  if (!FTrackBar) return;
  FTrackBar->SetMin(Value);
  FMin = FTrackBar->Min();
}

void TExtTrackBarDropDown::SetMax(int Value) {
  FMax = Value;
  if (!FTrackBar) return;
  FTrackBar->SetMax(Value);
  FMax = FTrackBar->Max();
}

void TExtTrackBarDropDown::SetPosition(int Value) {
  FPosition = Value;
  if (!FTrackBar) return;
  FTrackBar->SetPosition(Value);
  FPosition = FTrackBar->Position();
}

void TExtTrackBarDropDown::SetFrequency(int Value) {
  FFrequency = Value;
  if (FTrackBar) FTrackBar->SetFrequency(Value);
}

void TExtTrackBarDropDown::SetPageSize(int Value) {
  FPageSize = Value;
  if (FTrackBar) FTrackBar->SetPageSize(Value);
}

void TExtTrackBarDropDown::HandleChange() {
  TExtCustomDropDown::HandleChange();
  SetPosition(StrToInt(Text()));
}

void TExtTrackBarDropDown::StepKey(std::uint16_t Key) {
  if (Key == VK_UP && FPosition - FFrequency >= FMin) SetPosition(FPosition - FFrequency);
  if (Key == VK_DOWN && FPosition + FFrequency <= FMax) SetPosition(FPosition + FFrequency);
}

void TExtTrackBarDropDown::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_KEYDOWN: {
      const auto key = static_cast<std::uint16_t>(M.WParam);
      TExtCustomDropDown::Dispatch(M);
      if (!EditorEnabled() && GetKeyState(VK_MENU) >= 0) StepKey(key);
      return;
    }
    case WM_LBUTTONDOWN:
      if (DropDownEnabled() && !EditorEnabled()) {
        FMouseX = TWMMouse(M).XPos();
        FMouseDraging = true;
      }
      break;
    case WM_MOUSEMOVE:
      if (FMouseDraging) {
        const int x = TWMMouse(M).XPos();
        // A page size below 1 would divide by zero; it counts as 1.
        SetPosition(FPosition + (x - FMouseX) / std::max(1, FPageSize));
        FMouseX = x;
      }
      break;
    case WM_LBUTTONUP: FMouseDraging = false; break;
    default: break;
  }
  TExtCustomDropDown::Dispatch(M);
}

}  // namespace dropdown
