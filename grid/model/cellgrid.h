#pragma once
// TCellGrid: the cell store of the base grid, without any window. Every cell holds its text and one slot for
// its TCellProperties; on this the store builds merged cells (rectangles shown and edited as one, addressed
// through their top-left base cell), the merge-aware Cells access with its display-text hook, and the
// freeing and detaching of properties. The window grid owns a store: it answers the store's questions as its
// TCellGridHost (counts, current cell, display-text hooks) and hears its changes as its TCellGridListener.
//
// Cells are addressed by real column and by row. Storage is kept row by row and grows on write; it outlives
// count changes, so hidden columns at indexes at or beyond ColCount keep their cells. A cell that only holds
// text costs its text and an empty slot.

#include <QList>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

#include "grid/model/cell_properties.h"
#include "grid/model/gridtypes.h"
#include "platform/graphics/gdivalues.h"
#include "platform/graphics/types.h"

namespace grid {

class TExtGridUndoRedo;

// What a new TCellProperties takes from the grid (the grid's font, colour and alignment defaults).
struct TCellDefaults {
  QString FontName;
  int FontSize = 0;
  plat::TFontStyles FontStyle;
  plat::TColor FontColor = plat::clNone;
  plat::TColor BrushColor = plat::clNone;
  plat::TColor ColorTo = plat::clNone;
  plat::TColor MirrorColor = plat::clNone;
  plat::TColor MirrorColorTo = plat::clNone;
  plat::TAlignment HA = plat::taLeftJustify;
  TVAlignment VA = vtaTop;
  bool WW = true;
  TCellGradientDirection GD = GradientVertical;
};

namespace detail {

// One cell of the store: its text and the slot for its properties. Besides its own reference to the text's
// data the slot holds spare ones, taken in the one atomic add that storing the text costs anyway; each copy it
// gives out takes over a spare, so a read costs no atomic operation of its own (the copy releases its reference
// as any copy does). The spares are counted in the slot without locking: reads, like writes, belong to one
// thread at a time.
class TCellSlot {
 public:
  TCellSlot() = default;
  TCellSlot(const TCellSlot& Other) : Props(Other.Props) { SetText(Other.FText); }
  TCellSlot& operator=(const TCellSlot& Other) {
    Props = Other.Props;
    SetText(Other.FText);
    return *this;
  }
  TCellSlot(TCellSlot&& Other) noexcept
      : Props(Other.Props), FText(std::move(Other.FText)), FSpare(std::exchange(Other.FSpare, 0)) {}
  TCellSlot& operator=(TCellSlot&& Other) noexcept;
  ~TCellSlot() { DropSpare(); }

  const QString& Text() const { return FText; }
  void SetText(const QString& Value);
  // Takes the text over; a text held nowhere else gets its spares without an atomic operation.
  void SetText(QString&& Value);
  // A counted copy of the text.
  QString TextCopy() {
    if (!FSpare && !TakeSpares()) return FText;
    --FSpare;
    QString::DataPointer& d = FText.data_ptr();
    return QString(QString::DataPointer(d.d_ptr(), d.data(), d.size));
  }

  TCellProperties* Props = nullptr;

 private:
  bool TakeSpares();
  void DropSpare();

  QString FText;
  quint32 FSpare = 0;
};

// A stored row; HasProps marks a row that has held properties, so renumbering owners after a row move skips
// the rows of plain text.
struct TRowCells : std::vector<TCellSlot> {
  bool HasProps = false;
};

// Rows are relocated as plain memory, and the table keeps room at both ends, so inserting or removing rows at
// the top costs as little as at the bottom.
using TRowTable = QList<TRowCells>;

}  // namespace detail
}  // namespace grid

// Rows hold a vector (three pointers and a flag) that stays valid when moved as bytes.
Q_DECLARE_TYPEINFO(grid::detail::TRowCells, Q_RELOCATABLE_TYPE);

namespace grid {

// What the window showing a store supplies: its counts, its current cell and the hooks that display texts and
// new properties go through. The store only asks; what it changed it tells its listener.
class TCellGridHost {
 public:
  virtual ~TCellGridHost() = default;
  virtual int ColCount() const = 0;
  virtual int RowCount() const = 0;
  // Columns with cells, hidden ones included.
  virtual int TotalColCount() const { return ColCount(); }
  virtual int DisplColIndex(int ACol) const { return ACol; }
  virtual bool HasParentControl() const { return false; }
  virtual bool IsDestroying() const { return false; }
  // The current cell's column (display index).
  virtual int CurrentCol() const { return 0; }
  // The sender of the store's events.
  virtual plat::TObject* EventSender() { return nullptr; }
  // Runs after the display-text event, on every text it gives.
  virtual void DecorateDisplText(int ACol, int ARow, QString& Value) { (void)ACol, (void)ARow, (void)Value; }
  // Runs after the display text for rows below the normal row count (the window adds its wide-text event).
  virtual void GetDisplTextExtra(int ACol, int ARow, QString& Value) { (void)ACol, (void)ARow, (void)Value; }
  // The store's own defaults are filled in first; the window may replace any of them.
  virtual void GetDefaultCellProperties(int ACol, int ARow, TCellDefaults& Defaults) {
    (void)ACol, (void)ARow, (void)Defaults;
  }
};

// What the store tells about its changes. The window repaints and moves its current cell from these; the
// store never reaches the window otherwise.
class TCellGridListener {
 public:
  virtual ~TCellGridListener() = default;
  // A cell's text or properties changed (display column of the window).
  virtual void CellChanged(int ACol, int ARow) { (void)ACol, (void)ARow; }
  // More than single cells changed.
  virtual void StructureChanged() {}
  // The store moved the current cell (undo and redo go back to the cell they change).
  virtual void CurrentCellMoved(int ADisplCol, int ARow) { (void)ADisplCol, (void)ARow; }
  // The text of a merged area's base cell was written.
  virtual void CellTextChanged(int ACol, int ARow) { (void)ACol, (void)ARow; }
  // A write reached the last row while HideLastRow is on.
  virtual void LastRowChanged() {}
};

class TCellGrid {
 public:
  // The host outlives the store; the listener may be left out (nothing is told) or set later.
  explicit TCellGrid(TCellGridHost& Host, TCellGridListener* Listener = nullptr);
  TCellGrid(const TCellGrid&) = delete;
  TCellGrid& operator=(const TCellGrid&) = delete;
  // Frees every cell's properties; a linked undo component forgets the grid.
  ~TCellGrid();
  void SetListener(TCellGridListener* Value) { FListener = Value; }

  // ---- what the host answers and what the listener is told
  int ColCount() const { return FHost.ColCount(); }
  int RowCount() const { return FHost.RowCount(); }
  int TotalColCount() const { return FHost.TotalColCount(); }
  int DisplColIndex(int ACol) const { return FHost.DisplColIndex(ACol); }
  bool HasParentControl() const { return FHost.HasParentControl(); }
  bool IsDestroying() const { return FHost.IsDestroying(); }
  int CurrentCol() const { return FHost.CurrentCol(); }
  plat::TObject* EventSender() { return FHost.EventSender(); }
  void RepaintCell(int ACol, int ARow) {
    if (FListener) FListener->CellChanged(ACol, ARow);
  }
  void InvalidateGrid() {
    if (FListener) FListener->StructureChanged();
  }
  void SetCurrentCell(int ADisplCol, int ARow) {
    if (FListener) FListener->CurrentCellMoved(ADisplCol, ARow);
  }
  void CellTextChanged(int ACol, int ARow) {
    if (FListener) FListener->CellTextChanged(ACol, ARow);
  }

  // Fires OnGetDisplText when assigned, then the host's decoration.
  void GetDisplText(int ACol, int ARow, QString& Value);

  // ---- raw slots and texts
  bool HasCellProperties(int ACol, int ARow) const;
  TCellProperties* GetGridObject(int ACol, int ARow) const;
  // Stores Value in the slot; nothing is created or freed.
  void SetGridObject(int ACol, int ARow, TCellProperties* Value);
  QString GetGridCell(int ACol, int ARow) const;
  // The stored text without a copy (an empty text for a cell with none); valid until the cell is written.
  // Inline: bulk exports read every cell through it.
  const QString& GridCellRef(int ACol, int ARow) const {
    if (ARow >= 0 && ACol >= 0 && ARow < FRows.size()) {
      const TRowCells& row = FRows[ARow];
      if (static_cast<std::size_t>(ACol) < row.size()) return row[static_cast<std::size_t>(ACol)].Text();
    }
    return EmptyText();
  }
  // The stored text of a cell without properties, where it stands (the empty text for a cell never written);
  // nullptr for a cell with properties. Valid until the cell is written. Inline: a sort reads every cell of a
  // column through it.
  const QString* PlainCellRef(int ACol, int ARow) const {
    if (ARow >= 0 && ACol >= 0 && ARow < FRows.size()) {
      const TRowCells& row = FRows[ARow];
      if (static_cast<std::size_t>(ACol) < row.size()) {
        const TCellSlot& slot = row[static_cast<std::size_t>(ACol)];
        return slot.Props ? nullptr : &slot.Text();
      }
    }
    return &EmptyText();
  }
  void SetGridCell(int ACol, int ARow, const QString& Value);
  // The same for a text the caller gives up (bulk imports).
  void SetGridCell(int ACol, int ARow, QString&& Value);

  // ---- properties, user values and cell objects
  // Created on first use with the grid's defaults. Outside TotalColCount x RowCount: nullptr.
  TCellProperties* GetCellProperties(int ACol, int ARow);
  // Frees the properties in the slot (not their cell object) and stores Value; ignored outside the grid.
  void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
  quintptr GetObjectEx(int ACol, int ARow) const;
  void SetObjectEx(int ACol, int ARow, quintptr Value);
  plat::TObject* GetGraphicObjectEx(int ACol, int ARow) const;
  void SetGraphicObjectEx(int ACol, int ARow, plat::TObject* Value);
  static plat::TObject* GraphicOfProperties(const TCellProperties* Props) {
    return Props ? Props->FGraphicObject : nullptr;
  }

  // ---- merge-aware texts
  // A stored cell without properties in a row the display-text hooks leave alone is read inline; the rest
  // (empty, merged or hooked cells) takes ReadCellEx.
  QString GetCellEx(int ACol, int ARow) {
    if (ARow >= FNormalRowCount && static_cast<std::size_t>(ARow) < static_cast<std::size_t>(FRows.size())) {
      // Through the const table, which needs no detach check: the store is the table's only holder.
      auto& row = const_cast<TRowCells&>(FRows.at(ARow));
      if (static_cast<std::size_t>(ACol) < row.size() && !row[static_cast<std::size_t>(ACol)].Props)
        return row[static_cast<std::size_t>(ACol)].TextCopy();
    }
    return ReadCellEx(ACol, ARow);
  }
  void SetCellEx(int ACol, int ARow, const QString& Value);
  QString Cells(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
  void SetCells(int ACol, int ARow, const QString& Value) { SetCellEx(ACol, ARow, Value); }

  // The smallest rectangle (in cells, last cell inclusive) holding every cell of the counts whose text, read as
  // Cells reads it, is not empty; (0, 0, 0, 0) when all are empty.
  plat::TRect UsedCells();

  // ---- merging
  void MergeCells(int c, int r, int spanx, int spany);
  void SplitCells(int c, int r);
  // Splits every area that the boundary above row ARow cuts (rows coming or going there would cut it).
  void SplitAcrossRowBoundary(int ARow);
  bool IsBaseCell(int ACol, int ARow) const;
  bool IsMergedCell(int ACol, int ARow) const;
  bool IsMergedNonBaseCell(int ACol, int ARow) const;
  bool IsXMergedCell(int ACol, int ARow) const;
  bool IsYMergedCell(int ACol, int ARow) const;
  plat::TPoint BaseCell(int ACol, int ARow) const;
  plat::TPoint CellSpan(int ACol, int ARow) const;
  plat::TPoint CellExt(int ACol, int ARow) const;
  // In cells, the last cell inclusive.
  plat::TRect FullCell(int c, int r) const;
  // True for an unmerged cell or a base cell; a non-base cell gives its base in BaseCol, BaseRow.
  bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
  int MinRowSpan(int ARow) const;
  int MaxRowSpan(int ARow) const;
  bool RowSpanIdentical(int ARow1, int ARow2) const;
  bool ColSpanIdentical(int ACol1, int ACol2) const;
  int MergeCount() const { return FMergeCount; }

  // ---- freeing and detaching
  void FreeCellProperties(int FromCol, int FromRow, int ToCol, int ToRow);
  void FreeCellPropertiesAt(int ACol, int ARow);
  void FreeAllCellProperties();
  void ClearColumnRefs(int ACol);
  void ClearRowRefs(int ARow);
  void ClearCellRefs(int ACol, int ARow);

  // ---- data moves of the platform grid's row and column operations (slots move with their texts)
  void InsertStoreRows(int ARow, int ACount);
  void DeleteStoreRows(int ARow, int ACount);
  void MoveStoreRow(int FromIndex, int ToIndex);
  void MoveStoreColumn(int FromIndex, int ToIndex);
  // Takes the stored rows at the sorted indexes out (their cells must be detached or empty), in one pass.
  void EraseStoreRows(const std::vector<int>& SortedRows);
  // Empty rows at the sorted indexes they will have afterwards, in one pass.
  void InsertEmptyStoreRows(const std::vector<int>& SortedFinalRows);
  // Hidden rows: the stored rows at the sorted indexes leave the store whole, their texts and properties with
  // them, in one pass (Rows gets one row per index, empty for a row never stored); ReturnStoreRows puts such
  // rows (Rows[i] to SortedFinalRows[i], the indexes they will have afterwards) back in one pass.
  void TakeStoreRows(const std::vector<int>& SortedRows, std::vector<detail::TRowCells>& Rows);
  void ReturnStoreRows(const std::vector<int>& SortedFinalRows, std::vector<detail::TRowCells>& Rows);
  // Block moves of the row and column operations (store_moves.cpp): whole row vectors or slots move, cells
  // are never copied one by one. Inserted rows and columns are empty; erased ones free their properties.
  void MoveStoreRows(int FromIndex, int Count, int ToIndex);
  void SwapStoreRows(int ARow1, int ARow2);
  // The slots (text and properties) of two cells of one column change places.
  void SwapStoreCells(int ACol, int ARow1, int ARow2);
  // The rows from First on take a new order in one pass: row First + k gets the row that stood at From[k]
  // (From holds each of First .. First + From.size() - 1 once). The cell variant moves one column's slots.
  void PermuteStoreRows(int First, const std::vector<int>& From);
  void PermuteStoreCells(int ACol, int First, const std::vector<int>& From);
  void InsertStoreColumns(int ACol, int ACount);
  void EraseStoreColumns(int ACol, int ACount);
  void SwapStoreColumns(int ACol1, int ACol2);
  // Properties name the cell they are in; after rows moved they are renumbered lazily, here, before anything
  // reads them (their repaint does), so a run of row inserts or removals walks the rows once.
  void UpdateOwners() const;
  // Takes the properties of a cell out of the store without freeing them (nullptr when it has none).
  TCellProperties* TakeCellProperties(int ACol, int ARow);
  // Rows and columns the store holds data for (at least the written ones).
  int StoredRowCount() const { return static_cast<int>(FRows.size()); }
  int StoredColCount() const;

  // ---- state
  bool HasCellProps() const { return FHasCellProps; }
  void NoteCellPropsCreated() { FHasCellProps = true; }
  // Forgets that properties exist, once a clear has released every cell's properties.
  void NoteCellPropsCleared() { FHasCellProps = false; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { FWordWrap = Value; }
  int NormalRowCount() const { return FNormalRowCount; }
  void SetNormalRowCount(int Value) { FNormalRowCount = Value; }
  bool HideLastRow() const { return FHideLastRow; }
  void SetHideLastRow(bool Value) { FHideLastRow = Value; }
  TExtGridUndoRedo* UndoRedo() const { return FUndoRedo; }
  // Links an undo component (not owned) and makes this its grid.
  void SetUndoRedo(TExtGridUndoRedo* Value);

  TGetDisplTextEvent OnGetDisplText;

 private:
  using TCellSlot = detail::TCellSlot;
  using TRowCells = detail::TRowCells;
  using TRowTable = detail::TRowTable;

  QString ReadCellEx(int ACol, int ARow);
  static const QString& EmptyText();
  const TCellSlot* SlotAt(int ACol, int ARow) const;
  TCellSlot& SlotFor(int ACol, int ARow);
  bool InGrid(int ACol, int ARow) const;
  TCellProperties* PropsAt(int ACol, int ARow) const;
  plat::TPoint GetBaseCell(const TCellProperties& p, int ACol, int ARow) const;
  void ApplyDefaults(TCellProperties& p, int ACol, int ARow);
  void SplitArea(int BaseCol, int BaseRow, int W, int H);
  void SplitOverlapping(int c, int r, int spanx, int spany);
  template <class Fn>
  void BlankTextBracket(int ACol, int ARow, Fn&& fn);
  void DeleteProps(TCellProperties* Props, bool WithGraphic);
  // Properties name the cell they are in (repainting uses it): marks those of rows from FromRow on for
  // renumbering (UpdateOwners).
  void RenumberOwners(int FromRow);

  TCellGridHost& FHost;
  TCellGridListener* FListener;
  TRowTable FRows;
  mutable int FOwnersStaleFrom = -1;  // the first row whose owners may be stale; -1: none
  bool FHasCellProps = false;
  int FMergeCount = 0;
  int FNormalRowCount = 0;
  bool FHideLastRow = false;
  bool FWordWrap = true;
  TExtGridUndoRedo* FUndoRedo = nullptr;

  friend class TCellProperties;
};

}  // namespace grid
