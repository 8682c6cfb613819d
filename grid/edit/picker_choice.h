#pragma once
// What the colour and image picker editors tell the grid about the user's choice. A drop-down library that
// registers editor families for edColorPickerDropDown and edImagePickerDropDown implements these beside
// TCellEditorKind, so the grid's select events report the choice without knowing the editors.

#include <QString>

#include "platform/graphics/gdivalues.h"

namespace grid {

class TColorPickerChoice {
 public:
  virtual ~TColorPickerChoice() = default;
  virtual plat::TColor SelectedColor() const = 0;
  // The colour as the picker names it.
  virtual QString SelectedColorText() const = 0;
};

class TImagePickerChoice {
 public:
  virtual ~TImagePickerChoice() = default;
  // The chosen item, -1 when none.
  virtual int ItemIndex() const = 0;
};

}  // namespace grid
