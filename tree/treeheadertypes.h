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
