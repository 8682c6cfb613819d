#include "platform/grids/stringgrid.h"

#include <algorithm>

#include "platform/graphics/canvas.h"
#include "platform/rtl/exceptions.h"

namespace plat {

namespace {
template <class V>
void MoveEntry(V& v, int from, int to) {
  auto f = v.begin() + from, t = v.begin() + to;
  if (from < to)
    std::rotate(f, f + 1, t + 1);
  else
    std::rotate(t, f, f + 1);
}

void CheckCell(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) throw EInvalidGridOperation("Grid index out of range");
}
}  // namespace

// ---- TStringGridStrings ---------------------------------------------------------------------------------------

TStringGridStrings::TStringGridStrings(TStringGrid* Grid, bool IsRow, int Index)
    : FGrid(Grid), FIsRow(IsRow), FIndex(Index) {}

int TStringGridStrings::Count() const { return FIsRow ? FGrid->ColCount() : FGrid->RowCount(); }

void TStringGridStrings::CellOf(int Index, int& c, int& r) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  c = FIsRow ? Index : FIndex;
  r = FIsRow ? FIndex : Index;
}

QString TStringGridStrings::Get(int Index) const {
  int c = 0, r = 0;
  CellOf(Index, c, r);
  return FGrid->GetCellText(c, r);
}

void TStringGridStrings::Put(int Index, const QString& S) {
  int c = 0, r = 0;
  CellOf(Index, c, r);
  FGrid->SetCells(c, r, S);
}

TObject* TStringGridStrings::GetObject(int Index) const {
  int c = 0, r = 0;
  CellOf(Index, c, r);
  return FGrid->GetCellObject(c, r);
}

void TStringGridStrings::PutObject(int Index, TObject* Object) {
  int c = 0, r = 0;
  CellOf(Index, c, r);
  FGrid->SetObjects(c, r, Object);
}

int TStringGridStrings::Add(const QString& S) {
  for (int i = 0; i < Count(); ++i)
    if (Get(i).isEmpty() && GetObject(i) == nullptr) {
      Put(i, S);
      return i;
    }
  return -1;
}

void TStringGridStrings::Insert(int, const QString&) {
  throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Delete(int) { throw EInvalidGridOperation("Cannot insert or delete rows from grid"); }

void TStringGridStrings::Clear() {
  for (int i = 0; i < Count(); ++i) {
    Put(i, QString());
    PutObject(i, nullptr);
  }
}

void TStringGridStrings::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TStrings*>(Source);
  if (!src) {
    TStrings::Assign(Source);
    return;
  }
  BeginUpdate();
  for (int i = 0; i < Count(); ++i) {
    const bool has = i < src->Count();
    Put(i, has ? src->Strings(i) : QString());
    PutObject(i, has ? src->Objects(i) : nullptr);
  }
  EndUpdate();
}

// ---- TStringGrid ----------------------------------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

int TStringGrid::StoredColCount() const {
  std::size_t n = 0;
  for (const TRowStore& r : FStore) n = std::max(n, r.Texts.size());
  return static_cast<int>(n);
}

TStringGrid::TRowStore& TStringGrid::RowFor(int ARow) {
  if (ARow >= static_cast<int>(FStore.size())) FStore.resize(static_cast<std::size_t>(ARow) + 1);
  return FStore[static_cast<std::size_t>(ARow)];
}

QString TStringGrid::GetCellText(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0 || ARow >= static_cast<int>(FStore.size())) return QString();
  const auto& t = FStore[static_cast<std::size_t>(ARow)].Texts;
  return ACol < static_cast<int>(t.size()) ? t[static_cast<std::size_t>(ACol)] : QString();
}

void TStringGrid::SetCellText(int ACol, int ARow, const QString& Value) {
  CheckCell(ACol, ARow);
  if (Value.isEmpty() && GetCellText(ACol, ARow).isEmpty()) return;  // nothing to store
  auto& t = RowFor(ARow).Texts;
  if (ACol >= static_cast<int>(t.size())) {
    // A row is usually filled across the grid: room for all its columns at once.
    t.reserve(static_cast<std::size_t>(std::max(ACol + 1, ColCount())));
    t.resize(static_cast<std::size_t>(ACol) + 1);
  }
  t[static_cast<std::size_t>(ACol)] = Value;
}

TObject* TStringGrid::GetCellObject(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0 || ARow >= static_cast<int>(FStore.size())) return nullptr;
  const auto& o = FStore[static_cast<std::size_t>(ARow)].Objects;
  return o && ACol < static_cast<int>(o->size()) ? (*o)[static_cast<std::size_t>(ACol)] : nullptr;
}

void TStringGrid::SetCellObject(int ACol, int ARow, TObject* Value) {
  CheckCell(ACol, ARow);
  if (!Value && !GetCellObject(ACol, ARow)) return;
  auto& o = RowFor(ARow).Objects;
  if (!o) o = std::make_unique<std::vector<TObject*>>();
  if (ACol >= static_cast<int>(o->size())) o->resize(static_cast<std::size_t>(std::max(ACol + 1, ColCount())));
  (*o)[static_cast<std::size_t>(ACol)] = Value;
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& Value) {
  SetCellText(ACol, ARow, Value);
  InvalidateCell(ACol, ARow);
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) { SetCellObject(ACol, ARow, Value); }

TStrings* TStringGrid::View(bool IsRow, int Index) {
  if (Index < 0) throw EInvalidGridOperation("Grid index out of range");
  auto& views = IsRow ? FRowViews : FColViews;
  auto& v = views[Index];
  if (!v) v = std::make_unique<TStringGridStrings>(this, IsRow, Index);
  return v.get();
}

TStrings* TStringGrid::Rows(int ARow) { return View(true, ARow); }
TStrings* TStringGrid::Cols(int ACol) { return View(false, ACol); }

void TStringGrid::MoveStoredColumn(int From, int To) {
  const int need = std::max(From, To) + 1;
  for (TRowStore& r : FStore) {
    const int have = static_cast<int>(r.Texts.size());
    if (have > std::min(From, To)) {
      if (have < need) r.Texts.resize(static_cast<std::size_t>(need));
      MoveEntry(r.Texts, From, To);
    }
    if (r.Objects && static_cast<int>(r.Objects->size()) > std::min(From, To)) {
      if (static_cast<int>(r.Objects->size()) < need) r.Objects->resize(static_cast<std::size_t>(need));
      MoveEntry(*r.Objects, From, To);
    }
  }
}

void TStringGrid::MoveStoredRow(int From, int To) {
  if (static_cast<int>(FStore.size()) <= std::min(From, To)) return;  // nothing stored there
  RowFor(std::max(From, To));
  MoveEntry(FStore, From, To);
}

void TStringGrid::HandleColumnMoved(int FromIndex, int ToIndex) {
  MoveStoredColumn(FromIndex, ToIndex);
  TDrawGrid::HandleColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::HandleRowMoved(int FromIndex, int ToIndex) {
  MoveStoredRow(FromIndex, ToIndex);
  TDrawGrid::HandleRowMoved(FromIndex, ToIndex);
}

QString TStringGrid::HandleGetEditText(int ACol, int ARow) {
  QString v = GetCellText(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
  return v;
}

void TStringGrid::HandleSetEditText(int ACol, int ARow, const QString& Value) {
  SetCells(ACol, ARow, Value);
  TDrawGrid::HandleSetEditText(ACol, ARow, Value);
}

void TStringGrid::HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing()) {
    const QString text = GetCellText(ACol, ARow);
    if (!text.isEmpty()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text);
  }
  TDrawGrid::HandleDrawCell(ACol, ARow, ARect, AState);
}

}  // namespace plat
