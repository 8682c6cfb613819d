#include "dropdown/memo_dropdown.h"

#include "dropdown/paint_routines.h"
#include "platform/forms/keys.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/strings.h"

namespace dropdown {

using namespace plat;

TExtMemoDropDown::TExtMemoDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FMemoText(std::make_unique<TStringList>()) {
  FMemoText->OnChange = [this](TObject*) { UpdateEditText(); };
  CreateDropDownForm();  // the base's constructor made the popup before this class could add its memo
}

TExtMemoDropDown::~TExtMemoDropDown() = default;

QString TExtMemoDropDown::JoinedText() const {
  QStringList lines;
  for (int i = 0; i < FMemoText->Count(); ++i) lines << FMemoText->Strings(i);
  return lines.join(QStringLiteral("\r\n"));
}

void TExtMemoDropDown::UpdateEditText() {
  QString t;
  if (FMemoText->Count() == 0 || EditorEnabled()) {
    t = JoinedText();
  } else {
    const QString first = FMemoText->Strings(0);
    TBitmap scratch(1, 1);
    TCanvas& c = *scratch.Canvas();
    c.Font()->Assign(*Font());
    const int room = GetEditRect().Width();
    if (GetTextSize(c, first).cx < room) {
      t = first;
      if (FMemoText->Count() > 1) t += QStringLiteral("...");
    } else {
      CutTextToWidth(c, first, room, t, true);
    }
  }
  const bool was = FInternalUpdate;
  FInternalUpdate = true;
  SetPlainText(t);
  FInternalUpdate = was;
}

void TExtMemoDropDown::SetMemoText(TStrings* Value) {
  FMemoText->Assign(Value);
  if (FMemo) FMemo->Lines()->Assign(Value);
}

void TExtMemoDropDown::SetMemoReadOnly(bool Value) {
  FMemoReadOnly = Value;
  if (FMemo && DroppedDown()) FMemo->SetReadOnly(Value);
}

void TExtMemoDropDown::CreateDropDownForm() {
  TExtCustomDropDown::CreateDropDownForm();
  if (FMemo) return;
  FMemo = new TMemo(this);
  FMemo->SetParent(DropDownForm());
  FMemo->SetHeight(100);
  FMemo->OnChange = [this](TObject*) {
    if (OnMemoChange) OnMemoChange(this);
  };
  SetControl(FMemo);
}

void TExtMemoDropDown::BeforeDropDown() {
  TExtCustomDropDown::BeforeDropDown();
  DropDownForm()->SetCancelOnDeActivate(false);
  if (!FMemo) return;
  FMemo->Lines()->Assign(FMemoText.get());
  FMemo->SetPopupMenu(FMemoPopup);
  FMemo->SetMaxLength(MaxLength());
  FMemo->SetScrollBars(FMemoScrollBars);
  FMemo->SetReadOnly(FMemoReadOnly);
}

void TExtMemoDropDown::DoHideDropDown(bool Cancelled) {
  const bool autoDrop = FAutoDrop;
  FAutoDrop = false;  // the focus returning to the edit must not open the popup again
  if (Cancelled && FMemo) FMemo->Lines()->Assign(FMemoText.get());
  // The edit shows MemoText; the value the base restores on a cancel must not flow back into MemoText, whose
  // lines the one-line display would cut.
  const bool was = FInternalUpdate;
  FInternalUpdate = true;
  TExtCustomDropDown::DoHideDropDown(Cancelled);
  FInternalUpdate = was;
  UpdateEditText();
  FAutoDrop = autoDrop;
}

void TExtMemoDropDown::DropDownHidden() {
  TExtCustomDropDown::DropDownHidden();
  if (FMemo) FMemoText->Assign(FMemo->Lines());
  UpdateEditText();
  SetSelStart(0);
  SetSelLength(0);
}

void TExtMemoDropDown::DoEnter() {
  TExtCustomDropDown::DoEnter();
  if (FAutoDrop) ShowDropDown();
}

void TExtMemoDropDown::HandleChange() {
  if (!FInternalUpdate) {
    const TNotifyEvent notify = FMemoText->OnChange;
    FMemoText->OnChange = nullptr;
    FMemoText->SetText(Text());
    FMemoText->OnChange = notify;
  }
  TExtCustomDropDown::HandleChange();
}

void TExtMemoDropDown::ControlKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Shift.Contains(ssCtrl) && Key == 'A' && FMemo) FMemo->SelectAll();
  if (Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4) TExtCustomDropDown::ControlKeyDown(Key, Shift);
}

void TExtMemoDropDown::ControlKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4) TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

void TExtMemoDropDown::ControlKeyPress(char16_t& Key) {
  if (GetKeyState(VK_MENU) < 0 || Key == 27) TExtCustomDropDown::ControlKeyPress(Key);
}

}  // namespace dropdown
