#pragma once
// The tree's hint window: it shows node hints, column hints and the tooltips of clipped cell texts from the
// hint data the tree hands over, kept inside the desktop.

#include <QVariantAnimation>
#include <QWidget>

#include "tree/treecontrol.h"

namespace lazytree {

class TLazyTreeHintWindow : public QWidget {
 public:
  TLazyTreeHintWindow();
  ~TLazyTreeHintWindow() override;
  const TLTHintData& HintData() const { return FHintData; }
  // Shows the window at Rect (screen coordinates) for Data, moved inside the desktop; an empty rectangle, data
  // without a tree, or a cursor that has left the tree's hint rectangle cancels instead.
  void ActivateHint(plat::TRect Rect, const TLTHintData& Data, plat::TPoint CursorClientPos);
  // Renders the hint (what the window shows) into an image of the window's size.
  QImage Render();
  // One step of the opening animation: the fade's opacity Step / Steps, or the slide's Step lowest rows of the
  // hint shown at the window's top.
  void AnimationStep(int Step, int Steps);
  THintAnimationType Animation() const { return FAnimation; }
  int VisibleRows() const { return FVisibleRows; }

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;

 private:
  void StartAnimation(THintAnimationType Kind, uint32_t Duration);
  TLTHintData FHintData;
  THintAnimationType FAnimation = hatNone;
  int FVisibleRows = 0;
  QVariantAnimation* FAnimator = nullptr;
};

}  // namespace lazytree
