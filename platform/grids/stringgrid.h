// TStringGrid: the draw grid with one text and one object slot per cell.
//
// The store is a vector of rows, each a vector of texts (and, only once an object is set in the row, a vector
// of objects), grown on write and never shrunk by ColCount/RowCount: cells beyond the counts keep their
// contents, reads beyond what was ever written give an empty text and no object. Only row and column moves,
// DeleteRow (which moves the row to the end before the count drops) and explicit writes change stored cells.
//
// Every cell access goes through the protected virtuals GetCellText/SetCellText/GetCellObject/SetCellObject
// and every data move through MoveStoredColumn/MoveStoredRow, so a derived grid can keep its cells elsewhere.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/grids/grids.h"
#include "platform/rtl/strings.h"

namespace plat {

class TStringGrid;

// A row or a column of a string grid as a list of lines: Count is ColCount (RowCount); lines are the cells.
// Lines cannot be inserted or deleted (EInvalidGridOperation); Add fills the first empty cell.
class TStringGridStrings : public TStrings {
 public:
  TStringGridStrings(TStringGrid* Grid, bool IsRow, int Index);
  int Count() const override;
  int Add(const QString& S) override;
  void Insert(int Index, const QString& S) override;
  void Delete(int Index) override;
  // Every cell of the line becomes empty, without an object.
  void Clear() override;
  // Cells take the source's lines and objects; cells past the source's end are cleared.
  void Assign(TPersistent* Source) override;

 protected:
  QString Get(int Index) const override;
  void Put(int Index, const QString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* Object) override;

 private:
  void CellOf(int Index, int& c, int& r) const;
  TStringGrid* FGrid;
  bool FIsRow;
  int FIndex;
};

class TStringGrid : public TDrawGrid {
 public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;

  QString Cells(int ACol, int ARow) const { return GetCellText(ACol, ARow); }
  void SetCells(int ACol, int ARow, const QString& Value);
  TObject* Objects(int ACol, int ARow) const { return GetCellObject(ACol, ARow); }
  void SetObjects(int ACol, int ARow, TObject* Value);
  // Views of one row / column (owned by the grid, valid while it lives).
  TStrings* Rows(int ARow);
  TStrings* Cols(int ACol);
  void SetRows(int ARow, TStrings* Value) { Rows(ARow)->Assign(Value); }
  void SetCols(int ACol, TStrings* Value) { Cols(ACol)->Assign(Value); }

  // What the store holds: rows written so far and, of those, the widest.
  int StoredRowCount() const { return static_cast<int>(FStore.size()); }
  int StoredColCount() const;

 protected:
  friend class TStringGridStrings;

  // ---- the cell store (override to keep the cells elsewhere)
  virtual QString GetCellText(int ACol, int ARow) const;
  virtual void SetCellText(int ACol, int ARow, const QString& Value);
  virtual TObject* GetCellObject(int ACol, int ARow) const;
  virtual void SetCellObject(int ACol, int ARow, TObject* Value);
  // The stored column (row) `From` goes to `To`; those between shift by one. All stored cells move, also
  // those beyond ColCount / RowCount.
  virtual void MoveStoredColumn(int From, int To);
  virtual void MoveStoredRow(int From, int To);

  void HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  QString HandleGetEditText(int ACol, int ARow) override;
  void HandleSetEditText(int ACol, int ARow, const QString& Value) override;
  void HandleColumnMoved(int FromIndex, int ToIndex) override;
  void HandleRowMoved(int FromIndex, int ToIndex) override;

 private:
  struct TRowStore {
    std::vector<QString> Texts;
    std::unique_ptr<std::vector<TObject*>> Objects;  // only once an object was set in the row
  };
  TRowStore& RowFor(int ARow);
  TStrings* View(bool IsRow, int Index);

  std::vector<TRowStore> FStore;
  std::map<int, std::unique_ptr<TStringGridStrings>> FRowViews;
  std::map<int, std::unique_ptr<TStringGridStrings>> FColViews;
};

}  // namespace plat
