#pragma once
// Derived forms of a check state, the state a click asks for, and where a check control's picture sits in a
// check image list. Plain functions of the values, so painting, input and the header share one table.

#include "tree/lazytypes.h"

namespace lazytree {

constexpr bool IsDisabled(TCheckState s) { return s == csUncheckedDisabled || s == csCheckedDisabled || s == csMixedDisabled; }
constexpr bool IsChecked(TCheckState s) {
  return s == csCheckedNormal || s == csCheckedPressed || s == csCheckedDisabled;
}

// The form shown while the mouse or the space bar holds the control down.
constexpr TCheckState GetPressed(TCheckState s) {
  switch (s) {
    case csUncheckedNormal: return csUncheckedPressed;
    case csCheckedNormal: return csCheckedPressed;
    case csMixedNormal: return csMixedPressed;
    default: return s;
  }
}

constexpr TCheckState GetUnpressed(TCheckState s) {
  switch (s) {
    case csUncheckedPressed: return csUncheckedNormal;
    case csCheckedPressed: return csCheckedNormal;
    case csMixedPressed: return csMixedNormal;
    default: return s;
  }
}

constexpr TCheckState GetEnabled(TCheckState s) {
  switch (s) {
    case csUncheckedDisabled: return csUncheckedNormal;
    case csCheckedDisabled: return csCheckedNormal;
    case csMixedDisabled: return csMixedNormal;
    default: return s;
  }
}

// Checked and unchecked swap; a mixed box becomes checked; disabled states stay.
constexpr TCheckState GetToggled(TCheckState s) {
  switch (s) {
    case csUncheckedNormal: return csCheckedNormal;
    case csUncheckedPressed: return csCheckedPressed;
    case csCheckedNormal: return csUncheckedNormal;
    case csCheckedPressed: return csUncheckedPressed;
    case csMixedNormal: return csCheckedNormal;
    case csMixedPressed: return csCheckedPressed;
    default: return s;
  }
}

// The state a click on a control of this type and state asks for.
constexpr TCheckState DefaultNextCheckState(TCheckType Type, TCheckState State) {
  switch (Type) {
    case ctTriStateCheckBox:
    case ctCheckBox: return GetToggled(State);
    case ctRadioButton: return csCheckedNormal;
    case ctButton: return csUncheckedNormal;
    default: return csMixedNormal;
  }
}

// Index of a control's picture in a check image list: 0 is the empty image, then groups of four (normal, hot,
// pressed, disabled) for unchecked and checked radio buttons, unchecked and checked boxes, the mixed box and
// the button. -1 for no control.
int CheckImageIndex(TCheckType Type, TCheckState State, bool Enabled, bool Hot);

}  // namespace lazytree
