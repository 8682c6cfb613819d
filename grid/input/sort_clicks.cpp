#include "grid/input/sort_clicks.h"

#include <vector>

#include "grid/input/header_clicks.h"

namespace grid {

void TSortClicks::SortIndexed(int RC) {
  TSortSettings& s = FHost.Sort();
  std::vector<std::uint32_t>& keys = s.Keys();
  const bool key = FHost.IndexKeyDown();
  const std::uint32_t fresh = std::uint32_t(RC) | (s.InitSortDirection == sdAscending ? 0u : DescendingBit);
  auto find = [&]() {
    for (std::size_t i = 0; i < keys.size(); ++i)
      if (int(keys[i] & ~DescendingBit) == RC) return int(i);
    return -1;
  };
  const int at = find();
  if (key) {
    if (at < 0)
      keys.push_back(fresh);
    else
      keys[std::size_t(at)] ^= DescendingBit;
  } else if (keys.size() == 1 && at == 0) {
    keys[0] ^= DescendingBit;
  } else {
    keys.assign(1, fresh);
  }
  if (FHost.HasNodes())
    FHost.QSortGroupIndexed();
  else
    FHost.QSortIndexed();
  s.SetColumn(keys.empty() ? -1 : int(keys[0] & ~DescendingBit));
  s.SetDirection(!keys.empty() && (keys[0] & DescendingBit) ? sdDescending : sdAscending);
}

// The same column flips its direction (and with UndoSort the click that would return to the first direction
// unsorts instead).
void TSortClicks::SortSingle(int RC) {
  TSortSettings& s = FHost.Sort();
  bool undo = false;
  if (RC == s.Column()) {
    undo = s.UndoSort && s.Direction() != s.InitSortDirection;
    s.SetDirection(s.Direction() == sdAscending ? sdDescending : sdAscending);
  } else {
    s.SetDirection(s.InitSortDirection);
    s.SetColumn(RC);
  }
  if (FHost.HasNodes()) {
    FHost.QSortGroup();
  } else if (undo) {
    FHost.QUnSort();
    s.SetColumn(-1);
    s.SetDirection(s.InitSortDirection);
  } else {
    FHost.QSort();
  }
}

}  // namespace grid
