// Real and display indexes checked against a brute-force reference after random hide and show sequences.
#include "grid/model/hidden_axes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace grid {
namespace {

TEST(HiddenColumns, ThePartsCases) {
  THiddenColumns cols;
  EXPECT_EQ(cols.DisplToReal(600), 600);
  cols.SetVisible(2, false);
  cols.SetWidth(2, 64);
  EXPECT_EQ(cols.DisplToReal(2), 3);
  EXPECT_EQ(cols.RealToDispl(3), 2);
  EXPECT_EQ(cols.RealToDispl(2), 2);  // where it comes back
  EXPECT_EQ(cols.Width(2), 64);
  EXPECT_FALSE(cols.IsHidden(600));
  cols.SetVisible(600, false);  // past 511: never hidden
  EXPECT_EQ(cols.NumHidden(), 1);
  cols.SetVisible(2, false);  // twice: counted once
  EXPECT_EQ(cols.NumHidden(), 1);
  EXPECT_EQ(cols.DisplToReal(-1), -1);
}

TEST(HiddenColumns, PastTheHideableColumnsTheMappingStaysConsistent) {
  THiddenColumns cols;
  cols.SetVisible(0, false);
  cols.SetVisible(511, false);
  // 600 real columns, 2 hidden: display 510 is real 512, and real 600 shows at 598.
  EXPECT_EQ(cols.DisplToReal(509), 510);
  EXPECT_EQ(cols.DisplToReal(510), 512);
  EXPECT_EQ(cols.RealToDispl(600), 598);
  EXPECT_EQ(cols.DisplToReal(598), 600);
}

TEST(HiddenColumns, FlagsAndWidthsFollowInsertedAndRemovedColumns) {
  struct Case {
    const char* what;
    bool insert;
    int at, count;
    std::vector<int> hidden;  // after the operation, with widths 10 * original column
    int removedHidden;
  } cases[] = {
      {"insert in front", true, 0, 2, {4, 7, 512}, 0},
      {"insert between", true, 4, 1, {2, 6, 511}, 0},
      {"insert behind", true, 9, 3, {2, 5}, 0},  // 510 went past 511 and shows again
      {"remove a hidden one", false, 2, 1, {4, 509}, 1},
      {"remove shown ones in front", false, 0, 2, {0, 3, 508}, 0},
      {"remove across both", false, 1, 4, {1, 506}, 1},
  };
  for (const Case& c : cases) {
    THiddenColumns cols;
    for (int h : {2, 5, 510}) cols.SetVisible(h, false), cols.SetWidth(h, 10 * h);
    int removed = 0;
    if (c.insert)
      cols.ColsInserted(c.at, c.count);
    else
      removed = cols.ColsRemoved(c.at, c.count);
    std::vector<int> hidden;
    for (int i = 0; i < 600; ++i)
      if (cols.IsHidden(i)) hidden.push_back(i);
    std::vector<int> want;
    for (int h : c.hidden)
      if (h < THiddenColumns::kHideable) want.push_back(h);
    EXPECT_EQ(hidden, want) << c.what;
    EXPECT_EQ(cols.NumHidden(), static_cast<int>(want.size())) << c.what;
    EXPECT_EQ(removed, c.removedHidden) << c.what;
    for (int h : want) {
      const int original = c.insert ? (h >= c.at + c.count ? h - c.count : h) : (h >= c.at ? h + c.count : h);
      EXPECT_EQ(cols.Width(h), 10 * original) << c.what << " column " << h;
    }
  }
}

TEST(HiddenColumns, RandomFlagsAgreeWithAScan) {
  std::mt19937 rng(7);
  THiddenColumns cols;
  std::vector<bool> hidden(700, false);
  for (int step = 0; step < 2000; ++step) {
    const int c = static_cast<int>(rng() % 600);
    const bool hide = rng() % 3 != 0;
    cols.SetVisible(c, !hide);
    if (c < 512) hidden[c] = hide;
    if (step % 50) continue;
    std::vector<int> shown;
    for (int r = 0; r < 700; ++r)
      if (!hidden[r]) shown.push_back(r);
    for (int d = 0; d < static_cast<int>(shown.size()); ++d) {
      ASSERT_EQ(cols.DisplToReal(d), shown[d]) << "display " << d << " step " << step;
      ASSERT_EQ(cols.RealToDispl(shown[d]), d) << "real " << shown[d];
    }
  }
}

TEST(HiddenRows, ThePartsCases) {
  THiddenRowIndex rows;
  EXPECT_EQ(rows.DisplToReal(4), 4);
  EXPECT_EQ(rows.DisplToReal(-3), -1);
  for (int r = 3; r <= 5; ++r) rows.Add(r);
  EXPECT_EQ(rows.DisplToReal(3), 6);
  EXPECT_EQ(rows.RealToDispl(6), 3);
  EXPECT_EQ(rows.RealToDispl(4), 3);
  EXPECT_TRUE(rows.IsHidden(4));
  EXPECT_FALSE(rows.Remove(7));
  // Rows inserted in front of hidden rows move their records.
  rows.Shift(4, 2);
  EXPECT_EQ(rows.Records(), (std::vector<int>{3, 6, 7}));
}

TEST(HiddenRows, RepeatedIndexesCountAsRecordsButHideOneRow) {
  THiddenRowIndex rows;
  rows.Add(2);
  rows.Add(2);
  EXPECT_EQ(rows.Count(), 2);
  EXPECT_EQ(rows.CountBelow(3), 2);
  EXPECT_EQ(rows.DisplToReal(2), 3);
  ASSERT_TRUE(rows.Remove(2));
  EXPECT_TRUE(rows.IsHidden(2));
  ASSERT_TRUE(rows.Remove(2));
  EXPECT_FALSE(rows.IsHidden(2));
}

// Single records, batches merged in at once (a filter level), batches taken out (records with no such index
// are skipped) and the whole set replaced (after a renumbering).
TEST(HiddenRows, RandomHideAndShowAgreeWithAScan) {
  constexpr int kRows = 3000;
  std::mt19937 rng(11);
  THiddenRowIndex rows;
  std::vector<int> count(kRows, 0);  // records per real row
  const auto batch = [&] {
    std::vector<int> b;
    for (int n = static_cast<int>(rng() % 40); n > 0; --n) b.push_back(static_cast<int>(rng() % kRows));
    std::sort(b.begin(), b.end());
    return b;
  };
  for (int step = 0; step < 4000; ++step) {
    const int r = static_cast<int>(rng() % kRows);
    switch (rng() % 8) {
      case 0: case 1: case 2: case 3:
        rows.Add(r);
        ++count[r];
        break;
      case 4: case 5:
        if (count[r] > 0) {
          ASSERT_TRUE(rows.Remove(r));
          --count[r];
        }
        break;
      case 6: {
        const std::vector<int> b = batch();
        if (step % 2) {
          rows.AddSorted(b);
          for (int x : b) ++count[x];
        } else {
          rows.RemoveSorted(b);
          for (int x : b)
            if (count[x] > 0) --count[x];
        }
        break;
      }
      case 7: {
        std::vector<int> all;
        for (int x = kRows - 1; x >= 0; --x) all.insert(all.end(), std::size_t(count[x]), x);
        rows.Assign(all);
        break;
      }
    }
    ASSERT_EQ(rows.Count(), std::accumulate(count.begin(), count.end(), 0));
    if (step % 400) continue;
    int shown = 0, below = 0;
    for (int real = 0; real < kRows; ++real) {
      ASSERT_EQ(rows.CountBelow(real), below);
      ASSERT_EQ(rows.IsHidden(real), count[real] > 0);
      if (count[real] == 0) {
        ASSERT_EQ(rows.DisplToReal(shown), real) << "display " << shown << " step " << step;
        ASSERT_EQ(rows.RealToDispl(real), real - below);
        ++shown;
      }
      below += count[real];
    }
  }
}

}  // namespace
}  // namespace grid
