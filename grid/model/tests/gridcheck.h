#pragma once
// Invariant checker of the cell store: every non-base cell points at a base cell whose area covers it, every
// base cell's area consists of cells pointing back at it (so merged areas never overlap), and properties
// follow their cells. Returns an empty string when the store is consistent, else the first problem found.

#include <set>
#include <string>
#include <vector>

#include "grid/model/cell_graphic.h"
#include "grid/model/cellgrid.h"

namespace grid::testing {

inline std::string CellName(int c, int r) { return "(" + std::to_string(c) + "," + std::to_string(r) + ")"; }

inline std::string CheckGrid(const TCellGrid& g) {
  g.UpdateOwners();
  bool anyProps = false;
  for (int r = 0; r < g.StoredRowCount(); ++r)
    for (int c = 0; c < g.StoredColCount(); ++c) {
      const TCellProperties* p = g.GetGridObject(c, r);
      if (!p) continue;
      anyProps = true;
      if (p->OwnerGrid() != &g) return "properties of another grid at " + CellName(c, r);
      if (p->OwnerCol != c || p->OwnerRow != r) return "properties left their cell at " + CellName(c, r);
      if (p->IsBaseCell) {
        if ((p->CellSpanX < 0) != (p->CellSpanY < 0)) return "half-merged base " + CellName(c, r);
        if (p->CellSpanX < -1 || p->CellSpanY < -1) return "bad spans at " + CellName(c, r);
        for (int i = 0; i <= p->CellSpanX; ++i)
          for (int j = 0; j <= p->CellSpanY; ++j) {
            if (i == 0 && j == 0) continue;
            const TCellProperties* q = g.GetGridObject(c + i, r + j);
            if (!q || q->IsBaseCell || q->CellSpanX != i || q->CellSpanY != j)
              return "area of " + CellName(c, r) + " broken at " + CellName(c + i, r + j);
          }
        continue;
      }
      if (p->CellSpanX < 0 || p->CellSpanY < 0 || (p->CellSpanX == 0 && p->CellSpanY == 0))
        return "non-base cell without offset at " + CellName(c, r);
      const int bc = c - p->CellSpanX, br = r - p->CellSpanY;
      const TCellProperties* b = g.GetGridObject(bc, br);
      if (!b || !b->IsBaseCell) return "non-base cell " + CellName(c, r) + " without its base";
      if (b->CellSpanX < p->CellSpanX || b->CellSpanY < p->CellSpanY)
        return "non-base cell " + CellName(c, r) + " outside its base's area";
    }
  if (anyProps && !g.HasCellProps()) return "properties exist but the grid does not know";
  return {};
}

// Cell objects: every property record (in the store or held elsewhere, as hidden rows hold theirs) is in one
// place only, and every cell object belongs to exactly one of them and is not one of the grid's shared objects.
// So removing, moving, hiding or clearing cells can neither free an object twice nor lose it.
inline std::string CheckCellObjects(const TCellGrid& g, const std::vector<const TCellProperties*>& Elsewhere = {}) {
  std::set<const TCellProperties*> props;
  std::set<const plat::TObject*> objects;
  const auto take = [&](const TCellProperties* p, const std::string& where) -> std::string {
    if (!p) return {};
    if (!props.insert(p).second) return "properties in two places, again at " + where;
    const plat::TObject* o = p->FGraphicObject;
    if (!o) return {};
    if (!objects.insert(o).second) return "cell object shared by two cells, again at " + where;
    if (const auto* cg = dynamic_cast<const TCellGraphic*>(o); cg && cg->Shared())
      return "a shared object attached at " + where;
    return {};
  };
  for (int r = 0; r < g.StoredRowCount(); ++r)
    for (int c = 0; c < g.StoredColCount(); ++c)
      if (std::string e = take(g.GetGridObject(c, r), CellName(c, r)); !e.empty()) return e;
  for (std::size_t i = 0; i < Elsewhere.size(); ++i)
    if (std::string e = take(Elsewhere[i], "held record " + std::to_string(i)); !e.empty()) return e;
  return {};
}

}  // namespace grid::testing
