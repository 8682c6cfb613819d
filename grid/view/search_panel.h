#pragma once
// The search panel under the grid: a search box, find-next, find-previous and highlight buttons, a match-case
// box and a close button on a gradient. The panel only shows and reports: its events go to the grid, which
// searches. Enter in the box is find-next, Ctrl+Enter find-previous and Escape closes, so the panel works from
// the keyboard alone; the buttons' accelerators reach it through the grid.

#include <QString>

#include "platform/forms/extctrls.h"
#include "platform/graphics/color.h"

namespace controls {
class TExtCheckBox;
class TExtGridButton;
class TRetEdit;
}  // namespace controls

namespace grid {

class TSearchPanel;

// What the panel needs of its grid.
class TSearchPanelHost {
 public:
  virtual ~TSearchPanelHost() = default;
  // The colour of the line along the panel's top edge.
  virtual plat::TColor SearchPanelLineColor() const = 0;
  // The panel has made its controls.
  virtual void SearchPanelCreated(TSearchPanel* Panel) = 0;
};

class TSearchPanel : public plat::TPanel {
 public:
  TSearchPanel(plat::TComponent* AOwner, TSearchPanelHost& Host);
  ~TSearchPanel() override;

  // The gradient's bottom colour (clNone: plain Color).
  plat::TColor ColorTo = plat::clNone;
  plat::TNotifyEvent OnForwardClick, OnBackwardClick, OnEditChange, OnExitClick, OnHighlightClick;
  QString FindNextCaption, FindPrevCaption, MatchCaseCaption, HighLightCaption;
  QString HintClose, HintFindNext, HintFindPrev, HintHighlight;

  controls::TRetEdit* EditControl() const { return FEdit; }
  controls::TExtGridButton* ForwardButton() const { return FForward; }
  controls::TExtGridButton* BackwardButton() const { return FBackward; }
  controls::TExtGridButton* ExitButton() const { return FExit; }
  controls::TExtGridButton* HiliteButton() const { return FHilite; }
  controls::TExtCheckBox* MatchCase() const { return FMatchCase; }

  // Puts the controls at their places (mirrored when the panel lays out right to left) and hands the captions
  // and hints to them; hints show only when their text is not empty.
  void LayoutControls();
  bool RightToLeft = false;
  // An accelerator character of the find-next, find-previous or highlight caption runs that button's action
  // when the button is visible and enabled; false when no button has it. Alt with the character in the search
  // box does the same.
  bool Accelerator(char16_t Key);

 protected:
  void Paint() override;
  void Resize() override;

 private:
  void EditChanged();
  void Fire(const plat::TNotifyEvent& Event);
  TSearchPanelHost& FHost;
  controls::TRetEdit* FEdit = nullptr;
  controls::TExtGridButton *FForward = nullptr, *FBackward = nullptr, *FExit = nullptr, *FHilite = nullptr;
  controls::TExtCheckBox* FMatchCase = nullptr;
};

}  // namespace grid
