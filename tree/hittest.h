#pragma once
// What lies under a point of the tree's client area: the node, the column and the parts of the node's row.

#include <cstdint>

#include "platform/graphics/gdivalues.h"
#include "platform/graphics/types.h"
#include "tree/lazytypes.h"

namespace lazytree {

enum THitPosition : uint8_t {
  hiAbove, hiBelow, hiNowhere, hiOnItem, hiOnItemButton, hiOnItemButtonExact, hiOnItemCheckbox, hiOnItemIndent,
  hiOnItemLabel, hiOnItemLeft, hiOnItemRight, hiOnNormalIcon, hiOnStateIcon, hiToLeft, hiToRight,
  hiUpperSplitter, hiLowerSplitter
};
using THitPositions = TEnumSet<THitPosition, uint32_t>;

struct THitInfo {
  PLazyNode HitNode = nullptr;
  THitPositions HitPositions;
  TColumnIndex HitColumn = NoColumn;
  plat::TPoint HitPoint;
};

// What the classification inside a cell needs to know about the row, so that it runs without a window.
struct THitCell {
  int X = 0;            // relative to the cell's left edge
  int Width = 0;        // the cell's right edge
  bool MainColumn = true;
  int Indent = 0;       // the indentation width before the node's content (main column)
  int LevelIndent = 0;  // the width of one indentation level
  int Margin = 0;
  bool ButtonZone = false;  // buttons shown and the node has children
  int ButtonWidth = 0;      // width of the plus-button bitmap
  int CheckWidth = 0;       // check image width; 0 without a check control
  bool HasCheck = false;
  int StateImageWidth = 0;   // 0: no state image
  int NormalImageWidth = 0;  // 0: no normal image
  int TextWidth = 0;
  bool ReportMode = false;
  plat::TAlignment Alignment = plat::taLeftJustify;
  bool RightToLeft = false;
};

// The parts of the row under the cell point; hiOnItem is already part of the result.
THitPositions ClassifyHitInCell(const THitCell& Cell);

}  // namespace lazytree
