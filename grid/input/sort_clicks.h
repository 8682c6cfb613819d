#pragma once
// What a click on a header of the sort row does to the sort state: one sort column whose direction a second
// click flips (a third may unsort), or a list of sort keys that the index key extends. It decides the keys,
// column and direction and asks its host for the sort that follows; the sorting itself is the host's.

#include <cstdint>

namespace grid {

class TSortSettings;

class TSortClickHost {
 public:
  virtual TSortSettings& Sort() = 0;
  // Whether the key that adds a column to the sort keys (shift or control, by the settings) is held.
  virtual bool IndexKeyDown() = 0;
  // Grouped rows sort within their groups.
  virtual bool HasNodes() = 0;
  virtual void QSort() = 0;
  virtual void QSortGroup() = 0;
  virtual void QUnSort() = 0;
  virtual void QSortIndexed() = 0;
  virtual void QSortGroupIndexed() = 0;

 protected:
  ~TSortClickHost() = default;
};

class TSortClicks {
 public:
  // A sort key with this bit set sorts its column descending.
  static constexpr std::uint32_t DescendingBit = 0x80000000u;

  explicit TSortClicks(TSortClickHost& Host) : FHost(Host) {}
  // A click on the header of real column RC, with a single sort column.
  void SortSingle(int RC);
  // The same with the sort keys: with the index key held the column is added or flips; without it the column
  // becomes the only key (or flips when it already is).
  void SortIndexed(int RC);

 private:
  TSortClickHost& FHost;
};

}  // namespace grid
