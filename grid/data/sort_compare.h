#pragma once
// How two cells of a column compare when the grid sorts: the sort format (asked of the grid, or detected from
// the two cells), then the comparison of that format, then the placing of empty cells.
//
// A comparison is a pure function of the two cells, so a sort that keeps its rows in place until the order is
// known may read each cell's text once and remember what it derived from it (its number, its date, whether it
// is a number). TCellComparer does that for the rows it is told to key; other rows are read afresh each time.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

#include "grid/data/sort_host.h"

namespace grid {

class TCellComparer {
 public:
  TCellComparer(TSortHost& Host, const TSortOptions& Options);
  ~TCellComparer();
  TCellComparer(const TCellComparer&) = delete;
  TCellComparer& operator=(const TCellComparer&) = delete;

  // Rows [First, First + Count) are read once per column and remembered until Forget.
  void KeyRows(int First, int Count);
  void Forget();

  // A column of the keyed rows whose every comparison goes the same way (all numbers, or all texts that no
  // format detection could read otherwise), read once: the kind of comparison and each keyed row's key in
  // row order. False when the comparisons must look at the cells each time (then Keys is left alone).
  struct TColumnKeyList {
    enum TKind { ckNumbers, ckTexts, ckTextsNoCase } Kind = ckTexts;
    // Numbers: the value and whether it converted, and whether the text was empty once prefix and suffix
    // were cut. Texts: the texts, valid until Forget.
    std::vector<double> Values;
    std::vector<std::uint8_t> Flags;
    std::vector<QStringView> Texts;
    enum : std::uint8_t { kfOk = 1, kfEmpty = 2 };
  };
  bool ColumnKeyList(int ACol, TColumnKeyList& Keys);

  // -1, 0 or 1; SortDir is the direction that the placing of empty cells follows (1 ascending, -1
  // descending, 0 none).
  int CompareCells(int ACol, int ARow1, int ARow2, int SortDir);

  TSortHost& Host() { return FHost; }
  const TSortOptions& Options() const { return FOptions; }

 private:
  struct TKey;
  struct TColumnKeys;
  // The numeric reading of a text: its value, whether it converted, and whether it was empty once the prefix
  // and suffix were cut.
  struct TNumber {
    double Value = 0;
    bool Ok = false;
    bool Empty = false;
  };

  TKey* KeyOf(int ACol, int ARow);
  // How every comparison of a keyed column goes when it is known before the sort: 0 not known (each
  // comparison detects its format), else by number or by text.
  int FastKind(int ACol);
  int CompareFast(int Kind, int ACol, int ARow1, int ARow2, int SortDir);
  const QString& Text(int ACol, int ARow, QString& Scratch);
  bool IsNumber(int ACol, int ARow);
  bool HasChar(int ACol, int ARow, QChar Ch);
  bool CheckBox(int ACol, int ARow, bool& Checked);
  TSortStyle DetectFormat(int ACol, int ARow1, int ARow2);
  int DateTest(int ACol, int ARow1);
  int DateTestOf(const QString& S1);
  TNumber Number(int ACol, int ARow, TSortStyle Style, const QString& Prefix, const QString& Suffix);
  TNumber ReadNumber(int ACol, int ARow, const QString& Text, TSortStyle Style, const QString& Prefix,
                     const QString& Suffix);
  double DateValue(int ACol, int ARow, TSortStyle Style);
  double ReadDate(const QString& S, TSortStyle Style);
  int CompareNumbers(int ACol, int ARow1, int ARow2, TSortStyle Style, const QString& Prefix,
                     const QString& Suffix, bool& Empty1, bool& Empty2);
  int CompareByFormat(int ACol, int ARow1, int ARow2, TSortStyle Style, const QString& Prefix,
                      const QString& Suffix, bool& Empty1, bool& Empty2);

  TSortHost& FHost;
  TSortOptions FOptions;
  int FFirst = 0, FCount = 0;
  std::vector<TColumnKeys> FColumns;
};

// The numeric reading of a text that does not convert whole: the digits before the first other character,
// without sign or exponent (0 when it starts with something else).
double LeadingDigitsValue(const QString& S);
// The number in a cell's text as the sort reads it with the locale's separators (thousands separators dropped
// when DropThousands, the first decimal separator taken as the point, then TextToFloat), for the plain decimal
// forms only: [-] digits [. digits] [(e|E) [+|-] digits], ASCII, at most 40 characters, a normal or zero result.
// Gives the very double the general reading gives; false for every other text (the caller reads it the
// general way), so nothing is decided here that the general reading would decide otherwise.
bool ReadPlainDecimal(QStringView S, bool DropThousands, double& Value);
// The whole text as a number with "." as decimal separator; false when anything is left over.
bool TextToFloat(const QString& S, double& Value);
// Ordinal comparison after upper-casing the letters a to z; -1, 0 or 1.
int CompareAsciiNoCase(QStringView S1, QStringView S2);

}  // namespace grid
