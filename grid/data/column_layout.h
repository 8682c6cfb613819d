#pragma once
// The grid's column layout kept between runs: widths and order as integer values in a settings store, and
// the whole column state (count, widths, order, visibility) as one text "N#w0,w1,..#o0,o1,..#v0,v1,..".
// Whatever is read is checked first (numbers, and the order as a permutation of the grid's columns), so a bad
// text or store changes nothing.

#include <QString>

#include <vector>

#include "grid/data/settings_store.h"

namespace grid {

// What the layout needs of the grid. Columns are real columns unless said otherwise.
class TLayoutHost {
 public:
  virtual ~TLayoutHost() = default;
  // Shown columns, and all of them (the hidden ones included).
  virtual int ColCount() const = 0;
  virtual int AllColCount() const = 0;
  virtual void SetColCount(int Value) = 0;
  // By display column.
  virtual int ColWidth(int ACol) const = 0;
  virtual void SetColWidth(int ACol, int Value) = 0;
  virtual int DefaultColWidth() const = 0;
  virtual void SetDefaultColWidth(int Value) = 0;
  virtual bool IsHiddenColumn(int ACol) const = 0;
  virtual void HideColumn(int ACol) = 0;
  virtual void UnHideColumnsAll() = 0;
  // The recorded order: real columns in display order (empty when never moved).
  virtual std::vector<int> ColumnOrder() const = 0;
  virtual void SetColumnOrderList(const std::vector<int>& Order) = 0;
  // Moves the columns so that column c goes to the place the order list gives it.
  virtual void ResetColumnOrder() = 0;
  virtual bool Stretch() const = 0;
  virtual void SetStretch(bool Value) = 0;
  virtual int StretchColumn() const = 0;
};

struct TColumnStates {
  int Count = 0;
  std::vector<int> Widths, Order;
  std::vector<bool> Visible;
};

TColumnStates ReadColumnStates(TLayoutHost& Host);
QString ColumnStatesText(const TColumnStates& States);
// Strict: plat::EConvertError for a number that does not convert, a count below 0, or an order that is not a
// permutation of 0..Count-1 (entries of -1 aside).
TColumnStates ParseColumnStates(const QString& Value);
// Nothing for a text without "#"; otherwise parsed in full before anything changes.
void ApplyColumnStates(TLayoutHost& Host, const QString& Value);

// For each real column, its place in Order (-1 when it is not there).
std::vector<int> InverseOrder(const std::vector<int>& Order, int Count);
// Order holds each of 0..Count-1 exactly once.
bool IsColumnPermutation(const std::vector<int>& Order, int Count);

// Widths as "Col<i>" and the order as "Pos<i>" in Section of the store.
void SaveColSizes(TLayoutHost& Host, TSettingsStore& Store, const QString& Section);
void LoadColSizes(TLayoutHost& Host, const TSettingsStore& Store, const QString& Section);
void SaveColPositions(TLayoutHost& Host, TSettingsStore& Store, const QString& Section);
// Only when "Pos0" is there and the keys make a permutation of the grid's columns; hidden columns stay hidden.
void LoadColPositions(TLayoutHost& Host, const TSettingsStore& Store, const QString& Section);

}  // namespace grid
