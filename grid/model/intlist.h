#pragma once
// Integer lists of the grid family: TIntList (hidden-row lists, image lists of a cell, width lists,
// selections) bound to the cell it belongs to, its sort-key variant TSortIndexList, and TFileStringList, a
// string list read and written line by line.

#include <QString>

#include <cstdint>
#include <vector>

#include "grid/model/gridtypes.h"
#include "platform/rtl/object.h"
#include "platform/rtl/strings.h"

namespace grid {

class TIntList : public plat::TObject {
  PLAT_CLASS(TIntList)

  // (Col, Row): the cell the list belongs to; (-1, -1) or (0, 0) for a list of no cell.
  TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

  int Count() const { return static_cast<int>(FItems.size()); }
  // Index errors raise EListError "List index out of bounds (n)".
  int Items(int Index) const;
  int operator[](int Index) const { return Items(Index); }
  // Stores, then fires OnChange.
  void SetItems(int Index, int Value);
  int Add(int Value);            // notifies
  void Insert(int Index, int Value);  // does not notify
  void Delete(int Index);        // notifies
  void DeleteValue(int Value);   // the first equal item, through Delete; nothing when absent
  bool HasValue(int Value) const;
  int IndexOf(int Value) const;
  void Clear() { FItems.clear(); }  // does not notify
  void Exchange(int Index1, int Index2);

  // "1,-2,30"; empty for an empty list. Writing clears without notice and Adds each comma-text item; an item
  // that is not an integer raises EConvertError after the items before it were added.
  QString StrValue() const;
  void SetStrValue(const QString& Value);

  int Col() const { return FCol; }
  int Row() const { return FRow; }
  TImageChangeEvent OnChange;

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 protected:
  void Changed();
  void Check(int Index) const;

 private:
  std::vector<std::int32_t> FItems;
  int FCol;
  int FRow;
};

// Sort keys: the column in bits 0..30, bit 31 set for a descending key.
class TSortIndexList : public TIntList {
  PLAT_CLASS(TSortIndexList)

  TSortIndexList() : TIntList(-1, -1) {}

  void AddIndex(int ColumnIndex, bool Ascending);
  // Position of the first key of that column, -1 when none.
  int FindIndex(int ColumnIndex) const;
  void ToggleIndex(int ColumnIndex);
  int SortColumns(int i) const;
  void SetSortColumns(int i, int Value);
  bool SortDirections(int i) const;  // true = ascending
  void SetSortDirections(int i, bool Value);

  // "u3;d5": u ascending, d descending, with the low 16 bits of the column.
  QString SaveToString() const;
  // Items shorter than two characters are skipped; only a lower-case "u" means ascending.
  void LoadFromString(const QString& s);
};

// A text kept as lines in memory, read with ReadLn and written with Write/WriteLn.
class TFileStringList : public plat::TStringList {
  PLAT_CLASS(TFileStringList)

  void Reset();
  bool Eof() const { return fp >= Count(); }
  // Past the end: the string list's index error.
  void ReadLn(QString& s);
  void Write(const QString& s) { cache += s; }
  void WriteLn(const QString& s);

 private:
  int fp = 0;
  QString cache;
};

}  // namespace grid
