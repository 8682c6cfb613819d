#pragma once
// The tree's hint window: it shows node hints, column hints and the tooltips of clipped cell texts from the
// hint data the tree hands over, kept inside the desktop.

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

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;

 private:
  TLTHintData FHintData;
};

}  // namespace lazytree
