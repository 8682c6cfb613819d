// Random sequences of writes, merges, splits, undo and redo on the cell store, each step checked with the
// invariant checker and compared with a plain reference model (a map of texts and a list of areas).

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "grid/model/tests/gridcheck.h"
#include "grid/model/tests/testgrid.h"
#include "grid/model/undoredo.h"

namespace grid {
namespace {

using plat::TPoint;

struct RefArea {
  int c, r, w, h;
  bool Covers(int x, int y) const { return x >= c && x < c + w && y >= r && y < r + h; }
};

struct RefChange {
  int c, r;
  QString old, now;
};

class RefGrid {
 public:
  RefGrid(int cols, int rows) : cols_(cols), rows_(rows) {}

  const RefArea* AreaOf(int x, int y) const {
    for (const RefArea& a : areas_)
      if (a.Covers(x, y)) return &a;
    return nullptr;
  }
  TPoint Base(int x, int y) const {
    const RefArea* a = AreaOf(x, y);
    return a ? TPoint(a->c, a->r) : TPoint(x, y);
  }
  TPoint Span(int x, int y) const {
    const RefArea* a = AreaOf(x, y);
    return a ? TPoint(a->w - 1, a->h - 1) : TPoint(0, 0);
  }
  QString Raw(int x, int y) const {
    auto it = text_.find({x, y});
    return it == text_.end() ? QString() : it->second;
  }
  QString Cells(int x, int y) const {
    const TPoint b = Base(x, y);
    return Raw(b.X, b.Y);
  }
  void Set(int x, int y, const QString& v) {
    const TPoint b = Base(x, y);
    text_[{b.X, b.Y}] = v;
  }
  void Merge(int c, int r, int w, int h) {
    w = std::min(w, cols_ - c);
    h = std::min(h, rows_ - r);
    if (w < 1 || h < 1) return;
    std::erase_if(areas_, [&](const RefArea& a) {
      return a.c < c + w && c < a.c + a.w && a.r < r + h && r < a.r + a.h;
    });
    areas_.push_back({c, r, w, h});
  }
  void Split(int x, int y) {
    std::erase_if(areas_, [&](const RefArea& a) { return a.Covers(x, y); });
  }

  // Undo history as whole steps: a single change or a closed group.
  std::vector<std::vector<RefChange>> steps;
  int level = 0;
  TPoint current{0, 0};
  void Undo() {
    if (level == 0) return;
    const auto& step = steps[--level];
    for (auto it = step.rbegin(); it != step.rend(); ++it) Apply(it->c, it->r, it->old);
  }
  void Redo() {
    if (level >= static_cast<int>(steps.size())) return;
    for (const RefChange& ch : steps[level]) Apply(ch.c, ch.r, ch.now);
    ++level;
  }

 private:
  void Apply(int c, int r, const QString& v) {
    Set(c, r, v);
    current = {c, r};
  }
  int cols_, rows_;
  std::map<std::pair<int, int>, QString> text_;
  std::vector<RefArea> areas_;
};

std::string Compare(testing::TTestGrid& g, const RefGrid& ref, int cols, int rows) {
  if (std::string e = testing::CheckGrid(g); !e.empty()) return e;
  for (int c = 0; c < cols; ++c)
    for (int r = 0; r < rows; ++r) {
      const std::string at = testing::CellName(c, r);
      if (g.Cells(c, r) != ref.Cells(c, r)) return "text differs at " + at;
      if (g.GetGridCell(c, r) != ref.Raw(c, r)) return "stored text differs at " + at;
      if (g.BaseCell(c, r) != ref.Base(c, r)) return "base cell differs at " + at;
      if (g.CellSpan(c, r) != ref.Span(c, r)) return "span differs at " + at;
      const TPoint span = ref.Span(c, r);
      if (g.IsMergedCell(c, r) != (span.X > 0 || span.Y > 0)) return "merged flag differs at " + at;
    }
  return {};
}

TEST(CellStoreRandom, OperationsAgreeWithTheReference) {
  constexpr int kCols = 7, kRows = 6;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    testing::TTestGrid g(kCols, kRows);
    TExtGridUndoRedo undo(nullptr);
    g.SetUndoRedo(&undo);
    RefGrid ref(kCols, kRows);
    std::vector<RefChange> group;
    bool inGroup = false;
    auto change = [&] {
      const int c = pick(kCols), r = pick(kRows);
      const QString v = QString::number(pick(1000));
      undo.RegisterChange(c, r, g.Cells(c, r), v);
      const RefChange ch{c, r, ref.Cells(c, r), v};
      g.SetCells(c, r, v);
      ref.Set(c, r, v);
      if (inGroup) {
        group.push_back(ch);
      } else {
        ref.steps.push_back({ch});
        ref.level = static_cast<int>(ref.steps.size());
      }
    };
    for (int step = 0; step < 300; ++step) {
      const int op = pick(10);
      std::string what;
      if (op <= 2) {
        change();
        what = "set";
      } else if (op == 3 && !inGroup) {
        undo.StartSequence();
        inGroup = true;
        for (int n = 1 + pick(3); n > 0; --n) change();
        undo.StopSequence();
        inGroup = false;
        ref.steps.push_back(std::exchange(group, {}));
        ref.level = static_cast<int>(ref.steps.size());
        what = "group";
      } else if (op == 4) {
        const int c = pick(kCols), r = pick(kRows), w = 1 + pick(3), h = 1 + pick(3);
        g.MergeCells(c, r, w, h);
        ref.Merge(c, r, w, h);
        what = "merge";
      } else if (op == 5) {
        const int c = pick(kCols), r = pick(kRows);
        g.SplitCells(c, r);
        ref.Split(c, r);
        what = "split";
      } else if (op <= 7) {
        const bool had = ref.level > 0;
        undo.Undo();
        ref.Undo();
        if (had && TPoint(g.Col, g.Row) != ref.current) FAIL() << "current cell after undo, seed " << seed;
        what = "undo";
      } else if (op == 8) {
        undo.Redo();
        ref.Redo();
        what = "redo";
      } else {
        g.GetCellProperties(pick(kCols), pick(kRows))->SetBrushColor(plat::clRed);
        what = "colour";
      }
      ASSERT_EQ(undo.CanUndo(), ref.level > 0) << what << " seed " << seed << " step " << step;
      ASSERT_EQ(undo.CanRedo(), ref.level < static_cast<int>(ref.steps.size())) << what << " seed " << seed;
      const std::string diff = Compare(g, ref, kCols, kRows);
      ASSERT_EQ(diff, "") << "after " << what << ", seed " << seed << ", step " << step;
    }
  }
}

}  // namespace
}  // namespace grid
