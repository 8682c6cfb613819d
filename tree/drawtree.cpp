#include "tree/drawtree.h"

namespace lazytree {

void TCustomLazyDrawTree::PaintNodeContent(const TLTPaintInfo& PaintInfo) {
  if (OnDrawNode) OnDrawNode(this, PaintInfo);
}

int TCustomLazyDrawTree::DoGetNodeWidth(PLazyNode Node, TColumnIndex Column) {
  int width = 2 * TextMargin();
  if (OnGetNodeWidth) OnGetNodeWidth(this, Canvas(), Node, Column, width);
  return width;
}

plat::TPoint TCustomLazyDrawTree::CellContentMargin(PLazyNode Node, TColumnIndex Column, TLTCellContentMarginType Type,
                                                   plat::TCanvas* Canvas) {
  plat::TPoint margin{0, 0};
  if (FOnGetCellContentMargin) FOnGetCellContentMargin(this, Canvas ? Canvas : this->Canvas(), Node, Column, Type, margin);
  return margin;
}

}  // namespace lazytree
