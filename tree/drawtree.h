#pragma once
// The owner-drawn tree: the application paints each cell's content and gives each node's width; everything
// else (structure, lines, buttons, images, selection, scrolling) is the base tree's.

#include <functional>

#include "tree/treecontrol.h"

namespace lazytree {

class TCustomLazyDrawTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;

  std::function<void(TBaseLazyTreeControl* Sender, const TLTPaintInfo& PaintInfo)> OnDrawNode;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* HintCanvas, PLazyNode Node, TColumnIndex Column,
                     int& NodeWidth)>
      OnGetNodeWidth;
  // Not published: the margins a cell keeps around its content.
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* HintCanvas, PLazyNode Node, TColumnIndex Column,
                     TLTCellContentMarginType Type, plat::TPoint& CellContentMargin)>
      FOnGetCellContentMargin;

 protected:
  void PaintNodeContent(const TLTPaintInfo& PaintInfo) override;
  int DoGetNodeWidth(PLazyNode Node, TColumnIndex Column) override;
  plat::TPoint CellContentMargin(PLazyNode Node, TColumnIndex Column, TLTCellContentMarginType Type,
                                 plat::TCanvas* Canvas) override;
  // The hint kind is the owner-drawn one unless a hint-kind handler decides (hints come with their own Part).
  TLTHintKind DefaultHintKind() const override { return vhkOwnerDraw; }
};

// The published form.
class TLazyDrawTree : public TCustomLazyDrawTree {
 public:
  using TCustomLazyDrawTree::TCustomLazyDrawTree;
};

}  // namespace lazytree
