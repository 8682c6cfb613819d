// The sort state that clicks on sort-row headers leave behind, against a host that records which sort ran:
// single-column flips and unsorting, and the sort keys that the index key extends (the held key cannot be
// simulated on the whole grid).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/input/header_clicks.h"
#include "grid/input/sort_clicks.h"

namespace grid {
namespace {

constexpr std::uint32_t D = TSortClicks::DescendingBit;

struct FakeSortHost : TSortClickHost {
  TSortView view;
  TSortSettings sort{view};
  bool keyDown = false, nodes = false;
  std::string log;

  TSortSettings& Sort() override { return sort; }
  bool IndexKeyDown() override { return keyDown; }
  bool HasNodes() override { return nodes; }
  void QSort() override { log += "sort "; }
  void QSortGroup() override { log += "group "; }
  void QUnSort() override { log += "unsort "; }
  void QSortIndexed() override { log += "indexed "; }
  void QSortGroupIndexed() override { log += "groupindexed "; }
};

struct TClick {
  int Col;
  bool Key = false;
};

struct TSortCase {
  const char* Name;
  bool Indexed, UndoSort, InitDescending, Nodes;
  std::vector<TClick> Clicks;
  int Column;
  TSortDirection Direction;
  std::vector<std::uint32_t> Keys;  // indexed cases only
  std::string Log;
};

TEST(SortClicks, ClickSequencesLeaveTheSortStateAndRunTheMatchingSort) {
  const std::vector<TSortCase> cases = {
      {"first click sorts ascending", false, false, false, false, {{2}}, 2, sdAscending, {}, "sort "},
      {"second click flips", false, false, false, false, {{2}, {2}}, 2, sdDescending, {}, "sort sort "},
      {"third click flips back without undo", false, false, false, false, {{2}, {2}, {2}}, 2, sdAscending, {},
       "sort sort sort "},
      {"third click unsorts with undo", false, true, false, false, {{2}, {2}, {2}}, -1, sdAscending, {},
       "sort sort unsort "},
      {"undo from a descending start", false, true, true, false, {{2}, {2}, {2}}, -1, sdDescending, {},
       "sort sort unsort "},
      {"another column starts at the first direction", false, false, false, false, {{2}, {2}, {3}}, 3,
       sdAscending, {}, "sort sort sort "},
      {"grouped rows never unsort", false, true, false, true, {{2}, {2}, {2}}, 2, sdAscending, {},
       "group group group "},
      {"indexed first click", true, false, false, false, {{2}}, 2, sdAscending, {2}, "indexed "},
      {"indexed same column flips", true, false, false, false, {{2}, {2}}, 2, sdDescending, {2 | D},
       "indexed indexed "},
      {"index key adds a column", true, false, false, false, {{2}, {3, true}}, 2, sdAscending, {2, 3},
       "indexed indexed "},
      {"index key flips an added column", true, false, false, false, {{2}, {3, true}, {3, true}}, 2, sdAscending,
       {2, 3 | D}, "indexed indexed indexed "},
      {"index key flips the first key", true, false, false, false, {{2}, {3, true}, {2, true}}, 2, sdDescending,
       {2 | D, 3}, "indexed indexed indexed "},
      {"a plain click replaces several keys", true, false, false, false, {{2}, {3, true}, {2}}, 2, sdAscending,
       {2}, "indexed indexed indexed "},
      {"a plain click on another column", true, false, false, false, {{2}, {3, true}, {4}}, 4, sdAscending, {4},
       "indexed indexed indexed "},
      {"indexed from a descending start", true, false, true, false, {{5}, {6, true}}, 5, sdDescending,
       {5 | D, 6 | D}, "indexed indexed "},
      {"indexed grouped rows", true, false, false, true, {{2}, {3, true}}, 2, sdAscending, {2, 3},
       "groupindexed groupindexed "},
  };
  for (const TSortCase& c : cases) {
    SCOPED_TRACE(c.Name);
    FakeSortHost host;
    host.sort.UndoSort = c.UndoSort;
    host.sort.InitSortDirection = c.InitDescending ? sdDescending : sdAscending;
    host.nodes = c.Nodes;
    TSortClicks clicks(host);
    for (const TClick& k : c.Clicks) {
      host.keyDown = k.Key;
      if (c.Indexed)
        clicks.SortIndexed(k.Col);
      else
        clicks.SortSingle(k.Col);
    }
    EXPECT_EQ(host.sort.Column(), c.Column);
    EXPECT_EQ(host.sort.Direction(), c.Direction);
    if (c.Indexed) {
      EXPECT_EQ(host.sort.Keys(), c.Keys);
    }
    EXPECT_EQ(host.log, c.Log);
  }
}

}  // namespace
}  // namespace grid
