#pragma once
// A form with one drop-down edit whose popup hosts a plain edit, and a guard for the locale separators.

#include <memory>

#include "dropdown/ext_dropdown.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/rtl/formatsettings.h"

namespace dropdown::testing {

// A drop-down whose popup holds an edit 150 x 60 that takes the focus when the popup opens.
class TTestDropDown : public TExtCustomDropDown {
 public:
  explicit TTestDropDown(plat::TComponent* AOwner) : TExtCustomDropDown(AOwner) {
    Inner = new plat::TEdit(this);
    Inner->SetBounds(0, 0, 150, 60);
    SetControl(Inner);
    FFocusControl = Inner;
  }
  plat::TEdit* Inner;
  using TExtCustomDropDown::SetControl;
};

struct DropDownForm {
  DropDownForm() {
    form = std::make_unique<plat::TForm>(nullptr);
    form->SetBounds(100, 100, 320, 160);
    drop = new TTestDropDown(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 200, 24);
  }
  std::unique_ptr<plat::TForm> form;
  TTestDropDown* drop;
};

// Sets the decimal and thousand separators for one test.
class Separators {
 public:
  Separators(QChar Decimal, QChar Thousand) : FSaved(plat::FormatSettings) {
    plat::FormatSettings.DecimalSeparator = Decimal;
    plat::FormatSettings.ThousandSeparator = Thousand;
  }
  ~Separators() { plat::FormatSettings = FSaved; }

 private:
  plat::TFormatSettings FSaved;
};

}  // namespace dropdown::testing
