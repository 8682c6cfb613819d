// Storing a column grid's columns: the collection as a stream of the project's own layout, and the column
// order as INI keys.
#include <set>
#include <vector>

#include "grid/column_grid.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifile.h"

namespace grid {

void TExtColumnGrid::SaveColumnsToStream(plat::TStream& St) {
  std::vector<TColumnRecord> records;
  records.reserve(static_cast<std::size_t>(FColumnCollection->Count()));
  for (int i = 0; i < FColumnCollection->Count(); ++i) records.push_back(FColumnCollection->Items(i)->ToRecord());
  const QByteArray bytes = WriteColumnStream(records);
  St.WriteBuffer(bytes.constData(), bytes.size());
}

// The whole stream is read and checked before any column changes; a refusal leaves grid and stream as they
// were. A loaded collection of another size sets the column count as the collection's own update does.
void TExtColumnGrid::LoadColumnsFromStream(plat::TStream& St) {
  const std::int64_t start = St.Position();
  const std::int64_t size = St.Size() - start;
  QByteArray bytes(static_cast<qsizetype>(size > 0 ? size : 0), Qt::Uninitialized);
  if (size > 0) St.ReadBuffer(bytes.data(), size);
  std::vector<TColumnRecord> records;
  qsizetype used = 0;
  QString error;
  if (!ReadColumnStream(bytes, records, used, error)) {
    St.SetPosition(start);
    throw plat::EReadError(error);
  }
  St.SetPosition(start + used);
  BeginUpdate();
  FColumnCollection->FNoRecursiveUpdate = true;
  const int count = static_cast<int>(records.size());
  while (FColumnCollection->Count() < count) FColumnCollection->Add();
  while (FColumnCollection->Count() > count) FColumnCollection->Delete(FColumnCollection->Count() - 1);
  const int shown = count - NumHiddenColumns();
  FInColumnOp = true;
  if (shown != ColCount() && shown > FixedCols()) TExtStringGrid::SetColCount(shown);
  FInColumnOp = false;
  SynchColumns();
  for (int i = 0; i < FColumnCollection->Count() && i < count; ++i) FColumnCollection->Items(i)->FromRecord(records[i]);
  FColumnCollection->FNoRecursiveUpdate = false;
  UpdateColumnHeaders();
  EndUpdate();
  Invalidate();
}

void TExtColumnGrid::SaveColPositions() {
  if (ColumnSize()->Location == clIniFile)
    SaveColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
  else
    TExtStringGrid::SaveColPositions();
}

void TExtColumnGrid::LoadColPositions() {
  if (ColumnSize()->Location == clIniFile)
    LoadColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
  else
    TExtStringGrid::LoadColPositions();
}

void TExtColumnGrid::SaveColumnPositions(const QString& Key, const QString& Section) {
  plat::TIniFile ini(Key);
  for (int i = 0; i < FColumnCollection->Count(); ++i)
    ini.WriteInteger(Section, QStringLiteral("CP%1").arg(i), FColumnCollection->Items(i)->DefIdx);
  ini.UpdateFile();
}

// Positions that are not each column exactly once (a missing key, a repeat, a value outside the columns)
// would leave columns unplaced or the reordering without end, so such a file changes nothing.
void TExtColumnGrid::LoadColumnPositions(const QString& Key, const QString& Section) {
  const plat::TIniFile ini(Key);
  const int n = FColumnCollection->Count();
  std::vector<int> index(static_cast<std::size_t>(n));
  std::set<int> seen;
  for (int j = 0; j < n; ++j) {
    index[j] = ini.ReadInteger(Section, QStringLiteral("CP%1").arg(j), -1);
    if (index[j] < 0 || index[j] >= n || !seen.insert(index[j]).second) return;
  }
  ResetColumnOrder();
  for (int j = 0; j < n; ++j) FColumnCollection->Items(index[j])->DefIdx = j;
  FColumnCollection->ResetOrganization();
  for (int i = 0; i < n; ++i) FColumnCollection->Items(i)->DefIdx = index[i];
}

}  // namespace grid
