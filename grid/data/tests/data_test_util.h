#pragma once
// Helpers of the data services' tests: a scratch folder, grids filled from tables, and file access.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <vector>

#include "grid/data/data_grid.h"

namespace grid::testing {

using TTable = std::vector<std::vector<QString>>;

// A grid of the table's size (the widest row) without fixed parts, holding the table.
inline void Fill(TDataGrid& g, const TTable& t) {
  int cols = 0;
  for (const auto& row : t) cols = std::max(cols, static_cast<int>(row.size()));
  g.SetColCount(cols);
  g.SetRowCount(static_cast<int>(t.size()));
  for (size_t r = 0; r < t.size(); ++r)
    for (size_t c = 0; c < t[r].size(); ++c) g.SetGridCell(static_cast<int>(c), static_cast<int>(r), t[r][c]);
}

inline TTable Cells(TDataGrid& g) {
  TTable t(static_cast<size_t>(g.RowCount()));
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) t[static_cast<size_t>(r)].push_back(g.GetGridCell(c, r));
  return t;
}

inline QByteArray ReadAll(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& Path, const QByteArray& Data) {
  QFile f(Path);
  if (f.open(QIODevice::WriteOnly)) f.write(Data);
}

// A folder of its own per test, removed afterwards.
class TScratch {
 public:
  QString Path(const QString& Name) const { return FDir.filePath(Name); }

 private:
  QTemporaryDir FDir;
};

}  // namespace grid::testing

// Readable table cells in failure messages.
inline void PrintTo(const QString& S, std::ostream* os) { *os << '"' << S.toStdString() << '"'; }
