// Random sequences of row and column inserts, removals, moves and swaps, merges, hiding and clearing, with
// cell objects in the cells, against a plain reference: rows in real order, each with its texts, its objects
// and whether it is hidden. After every step the store must pass the invariant checkers, every shown and
// hidden row must hold what the reference says, the objects the cells own must be exactly the live ones, and
// every attached control must sit on the cell of its row and column.

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "grid/model/cell_checks.h"
#include "grid/model/tests/gridcheck.h"
#include "grid/model/tests/opsgrid.h"

namespace grid {
namespace {

using testing::TCountedObject;
using testing::TOpsGrid;

struct RefRow {
  std::vector<QString> texts;
  std::map<int, int> objects;   // column -> token kept in the object's CellErrFrom
  std::map<int, int> controls;  // column -> token of the attached control
  bool hidden = false;
};

class RandomRowOps : public ::testing::TestWithParam<int> {
 protected:
  static constexpr int kCols = 5;
  std::mt19937 rnd{static_cast<unsigned>(GetParam())};
  int Rand(int n) { return n <= 0 ? 0 : static_cast<int>(rnd() % static_cast<unsigned>(n)); }

  std::vector<RefRow> ref;  // real order
  int cols = kCols;
  int nextToken = 1;

  std::vector<int> ShownReal() const {
    std::vector<int> v;
    for (int i = 0; i < static_cast<int>(ref.size()); ++i)
      if (!ref[i].hidden) v.push_back(i);
    return v;
  }
  RefRow NewRow() const { return RefRow{std::vector<QString>(cols), {}, {}, false}; }

  // Stand-in controls: addresses in a block, never dereferenced; the token is the offset.
  std::vector<char> controlBlock = std::vector<char>(4096);
  plat::TControl* ControlOf(int token) { return reinterpret_cast<plat::TControl*>(&controlBlock[token]); }
  int TokenOf(const plat::TControl* c) const {
    return static_cast<int>(reinterpret_cast<const char*>(c) - controlBlock.data());
  }

  std::string CompareControls(TOpsGrid& g) {
    int expected = 0;
    for (const RefRow& r : ref) expected += static_cast<int>(r.controls.size());
    if (g.Controls.Count() != expected) return "control count " + std::to_string(g.Controls.Count());
    for (int i = 0; i < g.Controls.Count(); ++i) {
      const TControlItem* item = g.Controls.GetControl(i);
      if (item->Y < 0 || item->Y >= static_cast<int>(ref.size())) return "control row " + std::to_string(item->Y);
      const auto it = ref[item->Y].controls.find(item->X);
      if (it == ref[item->Y].controls.end() || it->second != TokenOf(item->Control))
        return "control at " + testing::CellName(item->X, item->Y);
      // Where the cell still has its properties, they name the same control.
      const int d = g.Index.RealToDispl(item->Y);
      if (ref[item->Y].hidden || d < 0 || !g.HasCellProperties(item->X, d)) continue;
      const plat::TControl* own = g.GetGridObject(item->X, d)->Control;
      if (own && own != item->Control) return "properties name another control at " + testing::CellName(item->X, d);
    }
    return {};
  }
  // Where new shown rows go for display row d: before the real row shown there, or after the last shown one.
  int RealInsertPoint(int d) const {
    const std::vector<int> shown = ShownReal();
    if (d < static_cast<int>(shown.size())) return shown[d];
    return shown.empty() ? 0 : shown.back() + 1;
  }

  // The counted objects that cell objects own, in the store and in the hidden-row records: exactly the live
  // ones, or an object was leaked (more live) or freed while a cell still refers to it (fewer).
  static int OwnedCounted(const TOpsGrid& g, const std::vector<const TCellProperties*>& held) {
    int n = 0;
    const auto count = [&](const TCellProperties* p) {
      const auto* cg = p ? dynamic_cast<const TCellGraphic*>(p->FGraphicObject) : nullptr;
      if (!cg || !cg->CellCreated) return;
      for (const plat::TObject* o : {cg->CellBitmap, cg->CellIcon}) n += dynamic_cast<const TCountedObject*>(o) != nullptr;
    };
    for (int r = 0; r < g.StoredRowCount(); ++r)
      for (int c = 0; c < g.StoredColCount(); ++c) count(g.GetGridObject(c, r));
    for (const TCellProperties* p : held) count(p);
    return n;
  }

  std::string Compare(TOpsGrid& g, TCellObjects& objs) {
    const std::vector<int> shown = ShownReal();
    if (g.RowCount() != static_cast<int>(shown.size())) return "row count";
    if (g.ColCount() != cols) return "column count";
    if (g.Heights.size() != shown.size()) return "row heights";
    for (int d = 0; d < g.RowCount(); ++d) {
      const RefRow& row = ref[shown[d]];
      for (int c = 0; c < cols; ++c) {
        if (g.GridCellRef(c, d) != row.texts[c]) return "text at " + testing::CellName(c, d);
        const TCellGraphic* obj = objs.GetCellGraphic(c, d);
        auto it = row.objects.find(c);
        if ((obj != nullptr) != (it != row.objects.end())) return "object presence at " + testing::CellName(c, d);
        if (obj && obj->CellErrFrom != it->second) return "object moved at " + testing::CellName(c, d);
      }
    }
    for (const TOpsGrid::Record& rec : g.Hidden) {
      if (rec.Idx < 0 || rec.Idx >= static_cast<int>(ref.size()) || !ref[rec.Idx].hidden)
        return "hidden record index " + std::to_string(rec.Idx);
      const RefRow& row = ref[rec.Idx];
      for (int c = 0; c < cols; ++c)
        if (rec.Texts[c] != row.texts[c]) return "hidden text of record " + std::to_string(rec.Idx);
    }
    int hidden = 0;
    for (const RefRow& r : ref) hidden += r.hidden;
    if (hidden != static_cast<int>(g.Hidden.size())) return "hidden count";
    return {};
  }

  // Every kind that owns what it refers to (bitmaps, pictures, icons, glyphs, radio items, balloon strings,
  // image lists), some of them over a cell that already has an object, and a few that own nothing.
  void AddObject(TOpsGrid& g, TCellObjects& objs, int c, int d) {
    const int token = nextToken++;
    TCellChecks checks(objs);
    switch (Rand(10)) {
      case 0: objs.AddBitmap(c, d, new TCountedObject, false, haLeft, vaTop, true); break;
      case 1: objs.AddBalloon(c, d, "t", "x", biInfo); break;
      case 2: objs.AddMultiImage(c, d, 0, haLeft, vaTop); break;
      case 3: objs.AddPicture(c, d, new TCountedObject, false, Stretch, 0, haLeft, vaTop, true, Rand(2) == 0); break;
      case 4: objs.AddIcon(c, d, new TCountedObject, haLeft, vaTop, true); break;
      case 5: objs.AddBitButton(c, d, 20, 16, "b", new TCountedObject, haLeft, vaTop, true); break;
      case 6: checks.CreateRadio(c, d, 0, -1); break;
      case 7:  // a check box or radio button with a balloon attached (the box owns the balloon's strings)
        if (Rand(2) == 0)
          checks.AddCheckBox(c, d, true, false);
        else
          checks.AddRadioButton(c, d, false);
        objs.AddBalloon(c, d, "t", "x", biWarning);
        break;
      case 8: checks.AddCheckBox(c, d, cbGrayed); break;
      default: objs.AddComment(c, d, "c"); break;
    }
    if (TCellGraphic* obj = objs.GetCellGraphic(c, d)) {
      obj->CellErrFrom = token;
      ref[ShownReal()[d]].objects[c] = token;
    }
    (void)g;
  }
};

TEST_P(RandomRowOps, StoreFollowsTheReference) {
  TCountedObject::Live = 0;
  {
    TOpsGrid g(kCols, 12);
    g.HasParent = true;
    TRowColOps ops(g, g);
    TCellObjects objs(g, g);
    ref.assign(12, NewRow());
    for (int step = 0; step < 400; ++step) {
      const int rows = g.RowCount();
      const int op = Rand(16);
      std::string what;
      if (op == 0 || (op == 1 && rows < 4)) {  // insert rows
        const int d = Rand(rows + 1), n = 1 + Rand(3);
        const int at = RealInsertPoint(d);
        ref.insert(ref.begin() + at, n, NewRow());
        ops.InsertRows(d, n, true);
        what = "insert " + std::to_string(d) + "+" + std::to_string(n);
      } else if (op == 1 && rows > 0) {  // remove rows
        const int d = Rand(rows), n = std::min(1 + Rand(3), rows - d);
        const std::vector<int> shown = ShownReal();
        for (int k = n - 1; k >= 0; --k) ref.erase(ref.begin() + shown[d + k]);
        ops.RemoveRows(d, n);
        what = "remove " + std::to_string(d) + "+" + std::to_string(n);
      } else if (op == 2 && rows > 1) {  // move a block
        const int from = Rand(rows), n = std::min(1 + Rand(3), rows - from), to = Rand(rows + 1);
        int target = from + n < to ? to - n : to;
        target = std::min(target, rows - n);
        if (target != from) {
          const std::vector<int> shown = ShownReal();
          std::vector<RefRow> block;
          for (int k = 0; k < n; ++k) block.push_back(ref[shown[from + k]]);
          for (int k = n - 1; k >= 0; --k) ref.erase(ref.begin() + shown[from + k]);
          const int at = RealInsertPoint(target);
          ref.insert(ref.begin() + at, block.begin(), block.end());
        }
        ops.MoveRows(from, to, n);
        what = "move " + std::to_string(from) + "+" + std::to_string(n) + "->" + std::to_string(to);
      } else if (op == 3 && rows > 1) {  // swap
        const int a = Rand(rows), b = Rand(rows);
        const std::vector<int> shown = ShownReal();
        std::swap(ref[shown[a]], ref[shown[b]]);
        ops.SwapRows(a, b);
        what = "swap";
      } else if (op == 4 && rows > 0) {  // merge
        const int c = Rand(cols), d = Rand(rows);
        g.MergeCells(c, d, 1 + Rand(3), 1 + Rand(3));
        what = "merge";
      } else if (op == 5 && rows > 1) {  // hide a shown row (areas through it are split first)
        const int d = Rand(rows);
        for (int c = 0; c < cols; ++c)
          if (g.IsMergedCell(c, d)) g.SplitCells(c, d);
        const int real = g.DisplToRealRow(d);
        ref[ShownReal()[d]].hidden = true;
        g.HideRealRow(real);
        what = "hide " + std::to_string(real);
      } else if (op == 6 && Rand(4) == 0) {  // show everything
        for (RefRow& r : ref) r.hidden = false;
        g.UnHideAll();
        what = "unhide";
      } else if (op == 7 && Rand(8) == 0) {  // clear the whole grid (hidden rows keep theirs)
        for (RefRow& r : ref)
          if (!r.hidden) {
            for (QString& t : r.texts) t.clear();
            r.objects.clear();
          }
        ops.Clear();
        what = "clear all";
      } else if (op == 7 && rows > 0) {  // clear a rectangle
        const int c1 = Rand(cols), d1 = Rand(rows), c2 = c1 + Rand(cols - c1), d2 = d1 + Rand(3);
        const std::vector<int> shown = ShownReal();
        for (int d = d1; d <= std::min(d2, rows - 1); ++d)
          for (int c = c1; c <= c2; ++c) {
            ref[shown[d]].texts[c].clear();
            ref[shown[d]].objects.erase(c);
          }
        ops.ClearRect(c1, d1, c2, d2);
        what = "clear";
      } else if ((op == 8 || op == 9) && rows > 0) {  // objects
        AddObject(g, objs, Rand(cols), Rand(rows));
        what = "object";
      } else if (op == 12 && rows > 0) {  // attach a control
        const int c = Rand(cols), d = Rand(rows), token = nextToken++;
        ref[ShownReal()[d]].controls[c] = token;
        g.AttachControl(c, d, ControlOf(token));
        what = "control";
      } else if (op == 13 && cols > 1 && g.Hidden.empty()) {  // swap two columns
        const int a = Rand(cols), b = Rand(cols);
        for (RefRow& r : ref) {
          std::swap(r.texts[a], r.texts[b]);
          for (auto* m : {&r.objects, &r.controls}) {
            std::map<int, int> moved;
            for (auto [col, token] : *m) moved[col == a ? b : col == b ? a : col] = token;
            *m = moved;
          }
        }
        ops.SwapColumns(a, b);
        what = "swap columns";
      } else if (op == 10 && g.Hidden.empty() && cols < 8) {  // insert a column
        const int c = Rand(cols + 1);
        for (RefRow& r : ref) r.texts.insert(r.texts.begin() + c, QString());
        for (RefRow& r : ref)
          for (auto* m : {&r.objects, &r.controls}) {
            std::map<int, int> moved;
            for (auto [col, token] : *m) moved[col >= c ? col + 1 : col] = token;
            *m = moved;
          }
        ++cols;
        ops.InsertCols(c, 1);
        what = "insert column";
      } else if (op == 11 && g.Hidden.empty() && cols > 2) {  // remove a column
        const int c = Rand(cols);
        for (RefRow& r : ref) {
          r.texts.erase(r.texts.begin() + c);
          for (auto* m : {&r.objects, &r.controls}) {
            std::map<int, int> moved;
            for (auto [col, token] : *m)
              if (col != c) moved[col > c ? col - 1 : col] = token;
            *m = moved;
          }
        }
        --cols;
        ops.RemoveCols(c, 1);
        what = "remove column";
      } else if (rows > 0) {  // write a text
        const int c = Rand(cols), d = Rand(rows);
        const QString t = QString::number(step);
        ref[ShownReal()[d]].texts[c] = t;
        g.SetGridCell(c, d, t);
        what = "write";
      }
      ASSERT_EQ(testing::CheckGrid(g), "") << "step " << step << " " << what;
      std::vector<const TCellProperties*> held;
      for (const TOpsGrid::Record& rec : g.Hidden) held.insert(held.end(), rec.Props.begin(), rec.Props.end());
      ASSERT_EQ(testing::CheckCellObjects(g, held), "") << "step " << step << " " << what;
      ASSERT_EQ(Compare(g, objs), "") << "step " << step << " " << what;
      ASSERT_EQ(OwnedCounted(g, held), TCountedObject::Live) << "step " << step << " " << what;
      ASSERT_EQ(CompareControls(g), "") << "step " << step << " " << what;
    }
  }
  EXPECT_EQ(TCountedObject::Live, 0) << "objects handed to cells outlived the grid";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomRowOps, ::testing::Range(1, 31));

}  // namespace
}  // namespace grid
