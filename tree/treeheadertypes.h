#pragma once
// Small types of the tree's header: the button look, the fixed-area limits and the auto-fit kinds.

#include <cstdint>
#include <functional>

namespace lazytree {

enum TLTHeaderStyle : uint8_t { hsThickButtons, hsFlatButtons, hsPlates };
enum TSmartAutoFitType : uint8_t { smaAllColumns, smaNoColumn, smaUseColumnOption };

// Percentage limits (0..100, 0 = no limit) of the header height (of the window interior) and of the total
// width of the visible fixed columns (of the client width). A new maximum pulls a larger minimum down to it,
// a new minimum pushes a smaller non-zero maximum up to it.
class TLTFixedAreaConstraints {
 public:
  enum TIndex : uint8_t { MaxHeight, MaxWidth, MinHeight, MinWidth };

  int MaxHeightPercent() const { return FPercent[MaxHeight]; }
  int MaxWidthPercent() const { return FPercent[MaxWidth]; }
  int MinHeightPercent() const { return FPercent[MinHeight]; }
  int MinWidthPercent() const { return FPercent[MinWidth]; }
  void SetMaxHeightPercent(int Value) { SetPercent(MaxHeight, Value); }
  void SetMaxWidthPercent(int Value) { SetPercent(MaxWidth, Value); }
  void SetMinHeightPercent(int Value) { SetPercent(MinHeight, Value); }
  void SetMinWidthPercent(int Value) { SetPercent(MinWidth, Value); }
  void SetPercent(TIndex Index, int Value);
  // Stores a value as it stands (stream reading): no cross-limits, no notice.
  void StorePercent(TIndex Index, int Value) { FPercent[Index] = static_cast<uint8_t>(Value); }
  void Assign(const TLTFixedAreaConstraints& Source);

  std::function<void()> OnChange;

 private:
  uint8_t FPercent[4] = {0, 0, 0, 0};
};

}  // namespace lazytree

#include "platform/forms/controls.h"
#include "platform/forms/keys.h"
#include "platform/graphics/types.h"

namespace lazytree {

// Where a header button's caption, header glyph and sort arrow go.
struct THeaderLayout {
  plat::TRect TextRect{};
  plat::TPoint SortGlyphPos{};
  plat::TPoint GlyphPos{};
};

enum TLTHeaderHitPosition : uint8_t { hhiNoWhere, hhiOnColumn, hhiOnIcon, hhiOnCheckbox };

// What a click in the header hit: header coordinates, the button, the keys, the column and the part of it.
struct TLTHeaderHitInfo {
  int X = 0, Y = 0;
  plat::TMouseButton Button = plat::mbLeft;
  plat::TShiftState Shift;
  int Column = -1;
  uint8_t HitPosition = 0;  // bits of TLTHeaderHitPosition
  bool Has(TLTHeaderHitPosition P) const { return (HitPosition >> P) & 1u; }
};

class TLTHeader;
class TBaseLazyTreeControl;

// The events the header's mouse handling raises (the tree's handlers). Var results start as documented at
// each dispatch: Allowed true, the track point and the cursor as they are.
struct TLTHeaderMouseEvents {
  using THeader = TLTHeader;
  std::function<void(THeader*, plat::TMouseButton, plat::TShiftState, int X, int Y)> OnHeaderMouseDown;
  std::function<void(THeader*, plat::TShiftState, int X, int Y)> OnHeaderMouseMove;
  std::function<void(THeader*, plat::TMouseButton, plat::TShiftState, int X, int Y)> OnHeaderMouseUp;
  std::function<void(THeader*, const TLTHeaderHitInfo&)> OnHeaderClick;
  std::function<void(THeader*, const TLTHeaderHitInfo&)> OnHeaderDblClick;
  std::function<void(THeader*, int Column, bool& Allowed)> OnHeaderDragging;
  std::function<void(THeader*, int Column, int OldPosition)> OnHeaderDragged;
  std::function<void(THeader*, int Column, plat::TPoint DropPosition)> OnHeaderDraggedOut;
  std::function<void(THeader*, int Column, plat::TShiftState)> OnBeforeColumnWidthTracking;
  std::function<void(THeader*, int Column, plat::TShiftState, plat::TPoint& TrackPoint, plat::TPoint P,
                     bool& Allowed)>
      OnColumnWidthTracking;
  std::function<void(THeader*, int Column)> OnAfterColumnWidthTracking;
  std::function<void(THeader*, int Column, plat::TShiftState, plat::TPoint P, bool& Allowed)>
      OnColumnWidthDblClickResize;
  std::function<void(THeader*, plat::TShiftState)> OnBeforeHeaderHeightTracking;
  std::function<void(THeader*, plat::TPoint& P, plat::TShiftState, bool& Allowed)> OnHeaderHeightTracking;
  std::function<void(THeader*)> OnAfterHeaderHeightTracking;
  std::function<void(THeader*, plat::TPoint& P, plat::TShiftState, bool& Allowed)> OnHeaderHeightDblClickResize;
  std::function<void(THeader*, plat::TPoint P, int Column, bool& Allowed)> OnCanSplitterResizeColumn;
  std::function<void(THeader*, plat::TPoint P, bool& Allowed)> OnCanSplitterResizeHeader;
  std::function<void(THeader*, plat::TCursor& Cursor)> OnGetHeaderCursor;
  // A column was shown or hidden from the automatic column menu (the tree's event).
  std::function<void(TBaseLazyTreeControl* Sender, int Column, bool Visible)> OnColumnVisibilityChanged;
};

}  // namespace lazytree
