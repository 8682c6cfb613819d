#include "grid/model/cellgrid.h"

#include <algorithm>
#include <utility>

#include "grid/model/undoredo.h"

namespace grid {

using plat::TPoint;
using plat::TRect;

TCellGrid::TCellGrid(TCellGridHost& Host, TCellGridListener* Listener) : FHost(Host), FListener(Listener) {}

TCellGrid::~TCellGrid() {
  if (FUndoRedo && FUndoRedo->Grid() == this) FUndoRedo->SetGrid(nullptr);
  for (TRowCells& row : FRows)
    for (TCellSlot& s : row) DeleteProps(std::exchange(s.Props, nullptr), true);
}

void TCellGrid::SetUndoRedo(TExtGridUndoRedo* Value) {
  TExtGridUndoRedo* previous = std::exchange(FUndoRedo, Value);
  // A component linked before forgets this grid, so it never keeps a grid that goes away.
  if (previous && previous != Value && previous->Grid() == this) previous->SetGrid(nullptr);
  if (Value) Value->SetGrid(this);
}

// ---- slots ---------------------------------------------------------------------------------------------

namespace {
// Spares a slot takes at a time; texts already held this often get none, so shared counts stay far from
// overflowing.
constexpr int kSpareRefs = 63;
constexpr int kSpareLimit = 1 << 24;
}  // namespace

detail::TCellSlot& detail::TCellSlot::operator=(TCellSlot&& Other) noexcept {
  if (this != &Other) {
    DropSpare();
    Props = Other.Props;
    FText = std::move(Other.FText);
    FSpare = std::exchange(Other.FSpare, 0);
  }
  return *this;
}

void detail::TCellSlot::SetText(const QString& Value) {
  DropSpare();
  const QString::DataPointer& v = Value.data_ptr();
  QTypedArrayData<char16_t>* data = const_cast<QString::DataPointer&>(v).d_ptr();
  if (!data || data->ref_.loadRelaxed() >= kSpareLimit) {
    FText = Value;
    return;
  }
  // The slot's own reference and its spares in one step; the text is then taken over without a further count.
  data->ref_.fetchAndAddRelaxed(1 + kSpareRefs);
  FText = QString(QString::DataPointer(data, const_cast<char16_t*>(v.data()), v.size));
  FSpare = kSpareRefs;
}

void detail::TCellSlot::SetText(QString&& Value) {
  QTypedArrayData<char16_t>* data = Value.data_ptr().d_ptr();
  // Only this text holds the data, and no other thread can see it: the count is set, not added to.
  if (!data || data->ref_.loadRelaxed() != 1) return SetText(static_cast<const QString&>(Value));
  DropSpare();
  data->ref_.storeRelaxed(1 + kSpareRefs);
  FText = std::move(Value);
  FSpare = kSpareRefs;
}

bool detail::TCellSlot::TakeSpares() {
  QTypedArrayData<char16_t>* data = FText.data_ptr().d_ptr();
  if (!data || data->ref_.loadRelaxed() >= kSpareLimit) return false;
  data->ref_.fetchAndAddRelaxed(kSpareRefs);
  FSpare = kSpareRefs;
  return true;
}

void detail::TCellSlot::DropSpare() {
  // The slot's own reference remains, so this never releases the data.
  if (FSpare) FText.data_ptr().d_ptr()->ref_.fetchAndSubRelease(static_cast<int>(std::exchange(FSpare, 0)));
}

const TCellGrid::TCellSlot* TCellGrid::SlotAt(int ACol, int ARow) const {
  if (ARow < 0 || ACol < 0 || ARow >= static_cast<int>(FRows.size())) return nullptr;
  const TRowCells& row = FRows[ARow];
  return ACol < static_cast<int>(row.size()) ? &row[ACol] : nullptr;
}

TCellGrid::TCellSlot& TCellGrid::SlotFor(int ACol, int ARow) {
  if (ARow >= static_cast<int>(FRows.size())) FRows.resize(ARow + 1);
  TRowCells& row = FRows[ARow];
  if (ACol >= static_cast<int>(row.size())) {
    // Rows grow to the grid's width at once, so that filling a row allocates once.
    const std::size_t want = std::max<std::size_t>(ACol + 1, std::max(0, TotalColCount()));
    // Geometric growth: a grid widened one column at a time (imports, pastes) must not copy its rows each time.
    if (row.capacity() < want) row.reserve(std::max(want, row.capacity() * 2));
    row.resize(ACol + 1);
  }
  return row[ACol];
}

bool TCellGrid::InGrid(int ACol, int ARow) const {
  return ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < RowCount();
}

TCellProperties* TCellGrid::PropsAt(int ACol, int ARow) const {
  const TCellSlot* s = SlotAt(ACol, ARow);
  return s ? s->Props : nullptr;
}

int TCellGrid::StoredColCount() const {
  std::size_t n = 0;
  for (const TRowCells& row : FRows) n = std::max(n, row.size());
  return static_cast<int>(n);
}

bool TCellGrid::HasCellProperties(int ACol, int ARow) const {
  return InGrid(ACol, ARow) && PropsAt(ACol, ARow) != nullptr;
}

TCellProperties* TCellGrid::GetGridObject(int ACol, int ARow) const {
  UpdateOwners();
  return PropsAt(ACol, ARow);
}

void TCellGrid::SetGridObject(int ACol, int ARow, TCellProperties* Value) {
  if (ACol < 0 || ARow < 0) return;
  if (!Value && !PropsAt(ACol, ARow)) return;
  SlotFor(ACol, ARow).Props = Value;
  if (Value) FHasCellProps = FRows[ARow].HasProps = true;
}

QString TCellGrid::GetGridCell(int ACol, int ARow) const {
  const TCellSlot* s = SlotAt(ACol, ARow);
  return s ? s->Text() : QString();
}

const QString& TCellGrid::EmptyText() {
  static const QString empty;
  return empty;
}

void TCellGrid::SetGridCell(int ACol, int ARow, const QString& Value) {
  if (ACol < 0 || ARow < 0) return;
  // Writing an empty text where nothing is stored keeps the store as it is.
  if (Value.isEmpty() && !SlotAt(ACol, ARow)) return;
  SlotFor(ACol, ARow).SetText(Value);
}

void TCellGrid::SetGridCell(int ACol, int ARow, QString&& Value) {
  if (ACol < 0 || ARow < 0) return;
  if (Value.isEmpty() && !SlotAt(ACol, ARow)) return;
  SlotFor(ACol, ARow).SetText(std::move(Value));
}

// ---- properties ----------------------------------------------------------------------------------------

void TCellGrid::GetDisplText(int ACol, int ARow, QString& Value) {
  if (OnGetDisplText) OnGetDisplText(EventSender(), ACol, ARow, Value);
  FHost.DecorateDisplText(ACol, ARow, Value);
}

void TCellGrid::ApplyDefaults(TCellProperties& p, int ACol, int ARow) {
  TCellDefaults d;
  d.HA = plat::taLeftJustify;
  d.VA = vtaTop;
  d.WW = FWordWrap;
  d.GD = GradientVertical;
  FHost.GetDefaultCellProperties(ACol, ARow, d);
  p.CalcType = acNONE;
  p.Alignment = d.HA;
  p.SetVAlignment(d.VA);
  p.SetWordWrap(d.WW);
  p.FontName = d.FontName;
  p.FontSize = d.FontSize;
  p.FontStyle = d.FontStyle;
  p.FontColor = d.FontColor;
  p.SetBrushColor(d.BrushColor);
  p.SetBrushColorTo(d.ColorTo);
  p.GradientDirection = d.GD;
}

TCellProperties* TCellGrid::GetCellProperties(int ACol, int ARow) {
  if (!InGrid(ACol, ARow)) return nullptr;
  UpdateOwners();
  TCellSlot& s = SlotFor(ACol, ARow);
  if (!s.Props) {
    // The record goes into the slot before the defaults are asked for, so a repaint it triggers finds it.
    s.Props = new TCellProperties(this, ACol, ARow);
    FRows[ARow].HasProps = true;
    ApplyDefaults(*s.Props, ACol, ARow);
  }
  return PropsAt(ACol, ARow);
}

void TCellGrid::DeleteProps(TCellProperties* Props, bool WithGraphic) {
  // Properties own their cell object (their destructor frees it), whichever way they are released.
  (void)WithGraphic;
  delete Props;
}

void TCellGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value) {
  if (!InGrid(ACol, ARow)) return;
  TCellSlot& s = SlotFor(ACol, ARow);
  if (s.Props != Value) DeleteProps(s.Props, false);
  s.Props = Value;
  if (Value) FRows[ARow].HasProps = true;
}

template <class Fn>
void TCellGrid::BlankTextBracket(int ACol, int ARow, Fn&& fn) {
  // A cell that gets a value keeps an empty text empty; the blank is written only while the value is set.
  const bool wasEmpty = GetCellEx(ACol, ARow).isEmpty();
  if (wasEmpty) SetCellEx(ACol, ARow, QStringLiteral(" "));
  fn();
  if (wasEmpty) SetCellEx(ACol, ARow, QString());
}

quintptr TCellGrid::GetObjectEx(int ACol, int ARow) const {
  const TCellProperties* p = PropsAt(ACol, ARow);
  return p ? p->CellObject : 0;
}

void TCellGrid::SetObjectEx(int ACol, int ARow, quintptr Value) {
  if (!InGrid(ACol, ARow)) return;
  BlankTextBracket(ACol, ARow, [&] { GetCellProperties(ACol, ARow)->CellObject = Value; });
}

plat::TObject* TCellGrid::GetGraphicObjectEx(int ACol, int ARow) const {
  return GraphicOfProperties(PropsAt(ACol, ARow));
}

void TCellGrid::SetGraphicObjectEx(int ACol, int ARow, plat::TObject* Value) {
  if (IsDestroying() || !InGrid(ACol, ARow)) return;
  BlankTextBracket(ACol, ARow, [&] { GetCellProperties(ACol, ARow)->FGraphicObject = Value; });
}

plat::TRect TCellGrid::UsedCells() {
  TRect used(-1, -1, -1, -1);
  for (int r = 0; r < RowCount(); ++r)
    for (int c = 0; c < ColCount(); ++c) {
      if (GetCellEx(c, r).isEmpty()) continue;
      if (used.Left < 0) {
        used = TRect(c, r, c, r);
        continue;
      }
      used = TRect(std::min(used.Left, c), std::min(used.Top, r), std::max(used.Right, c), std::max(used.Bottom, r));
    }
  return used.Left < 0 ? TRect(0, 0, 0, 0) : used;
}

// ---- texts ---------------------------------------------------------------------------------------------

QString TCellGrid::ReadCellEx(int ACol, int ARow) {
  // The cells GetCellEx leaves to this path: a non-base cell of an area reads its base, and the display-text
  // hooks see the text of normal rows.
  const TCellSlot* s = SlotAt(ACol, ARow);
  int br = ARow;
  if (s && s->Props && !s->Props->IsBaseCell && InGrid(ACol, ARow)) {
    int bc = ACol;
    ResolveBaseCell(ACol, ARow, bc, br);
    s = SlotAt(bc, br);
    ACol = bc;
  }
  QString value = s ? s->Text() : QString();
  if (br < FNormalRowCount) {
    GetDisplText(ACol, br, value);
    FHost.GetDisplTextExtra(ACol, br, value);
  }
  return value;
}

void TCellGrid::SetCellEx(int ACol, int ARow, const QString& Value) {
  if (FHasCellProps && HasCellProperties(ACol, ARow)) {
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    SetGridCell(bc, br, Value);
    CellTextChanged(bc, br);
    if (HasParentControl()) RepaintCell(ACol, ARow);
  } else {
    SetGridCell(ACol, ARow, Value);
  }
  if (FHideLastRow && ARow == RowCount() - 1 && FListener) FListener->LastRowChanged();
}

}  // namespace grid
