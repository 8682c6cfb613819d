#include "grid/data/grid_data_host.h"

namespace grid {

TSaveRange SaveRangeOf(const TGridDataHost& Host, const TGridDataOptions& Options) {
  TSaveRange r;
  const bool cols = Options.SavesFixedCols(), rows = Options.SavesFixedRows();
  r.StartCol = cols ? 0 : Host.FixedCols();
  r.EndCol = cols ? Host.ColCount() - 1 : Host.ColCount() - Host.FixedRightCols() - 1;
  r.StartRow = rows ? 0 : Host.FixedRows();
  r.EndRow = rows ? Host.RowCount() - 1 : Host.RowCount() - Host.FixedFooters() - 1;
  return r;
}

bool TGridDataHost::IsFixedCell(int ACol, int ARow) const {
  return ACol < FixedCols() || ARow < FixedRows() || ACol >= ColCount() - FixedRightCols() ||
         ARow >= RowCount() - FixedFooters();
}

void NotifyCellsLoaded(TGridDataHost& Host) {
  Host.CellsChanged(plat::TRect(0, 0, Host.ColCount(), Host.RowCount()));
  Host.AllCellsChanged();
}

}  // namespace grid
