#pragma once
// Clicks on the string grid's fixed cells beyond selecting: a release on a header of the sort row sorts by
// that column (one column with a toggling direction, or several with the index key held), a fixed cell may
// open a small edit or combo editor of its own, and the header of a column with filter values opens its filter
// list under the filter button. The sorting itself and applying a filter are the grid's virtual entry points.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "grid/data/sort_host.h"
#include "grid/input/sort_clicks.h"
#include "grid/model/gridtypes.h"
#include "grid/view/render_cells.h"
#include "platform/forms/menus.h"
#include "platform/forms/stdctrls.h"

namespace grid {

class TExtStringGrid;
class TInputHost;

enum TIndexSortKey { ikShift, ikCtrl };

// The sort settings; the painted part (column, row, direction, keys, indicator switches) is the renderer's.
class TSortSettings {
 public:
  explicit TSortSettings(TSortView& View, TExtStringGrid* Grid = nullptr) : FView(View), FGrid(Grid) {}
  bool Show() const { return FView.Show; }
  void SetShow(bool V) { FView.Show = V; }
  bool IndexShow() const { return FView.IndexShow; }
  void SetIndexShow(bool V) { FView.IndexShow = V; }
  bool FixedCols() const { return FView.FixedCols; }
  void SetFixedCols(bool V) { FView.FixedCols = V; }
  int Row() const { return FView.Row; }
  // Exception "Sort row should be smaller than number of fixed rows" for a row that is not a fixed row.
  void SetRow(int V);
  int Column() const { return FView.Column; }
  void SetColumn(int V) { FView.Column = V; }
  TSortDirection Direction() const { return FView.Direction; }
  void SetDirection(TSortDirection V) { FView.Direction = V; }
  // The sort keys: real columns, a descending key with bit 31 set.
  std::vector<std::uint32_t>& Keys() { return FView.Index; }
  plat::TColor IndexColor() const { return FView.IndexColor; }
  void SetIndexColor(plat::TColor V) { FView.IndexColor = V; }
  // Sort glyphs: empty bitmaps draw the built-in line glyphs and triangles.
  plat::TBitmap* UpGlyph() { return &FView.Glyphs->UpGlyph; }
  plat::TBitmap* DownGlyph() { return &FView.Glyphs->DownGlyph; }
  plat::TBitmap* IndexUpGlyph() { return &FView.Glyphs->IndexUpGlyph; }
  plat::TBitmap* IndexDownGlyph() { return &FView.Glyphs->IndexDownGlyph; }

  TSortDirection InitSortDirection = sdAscending;
  TIndexSortKey IndexSortKey = ikShift;
  bool UndoSort = false;
  bool AutoColumnMerge = false;
  // Sorting exchanges only the sort column's cells; grouping sorts by the grouped column first.
  bool SortSingleColumn = false, AutoSortForGrouping = true;
  unsigned SortTime = 0;
  // How cells compare: the format detected from the cells (else text, with or without case), the tie-break on
  // the next columns, where empty cells go, and whether the displayed texts are compared.
  bool AutoFormat = true, IgnoreCase = false, Full = true, IgnoreBlanks = false, SortOnVirtualCells = true;
  TSortBlankPosition BlankPos = blFirst;
  // Column 0 stays in place while the grid has fixed columns.
  bool NormalCellsOnly = false;
  plat::TColor HeaderColor = plat::clNone, HeaderColorTo = plat::clNone;
  plat::TColor HeaderMirrorColor = plat::clNone, HeaderMirrorColorTo = plat::clNone;
  TSortOptions Options() const;
  // Every setting but IgnoreCase and SortOnVirtualCells, glyphs by content; anything but sort settings: nothing.
  void Assign(const TSortSettings& Source);
  // The sort state as text ("u2", "d2", "i;u1;d3"); loading it sorts the grid. A text naming a column the grid
  // does not have is ignored; a text of one character raises "Invalid sort settings specifier".
  QString SaveToString() const;
  void LoadFromString(const QString& Value);
  // Not sorted any more: no column, no keys.
  void Remove();
  void ToggleDirection() { SetDirection(Direction() == sdAscending ? sdDescending : sdAscending); }
  // The sign of the last quicksort (1 ascending, -1 descending, 0 before any), which SortLine follows.
  int SortDir = 0;

 private:
  TSortView& FView;
  TExtStringGrid* FGrid;
};

// How the filter list of a header looks: sized to its items or to Width x Height, its colour and font, and
// whether it takes the left edge and width of its column.
class TFilterDropDown {
 public:
  bool AutoSize = false, ColumnWidth = false;
  int Width = 150, Height = 150;
  plat::TColor Color = plat::clWindow;
  plat::TFont* Font() { return &FFont; }

 private:
  plat::TFont FFont;
};

// The single-choice filter list: a release on an item, or Enter, chooses it; Escape closes the list.
class TDropList : public plat::TListBox {
 public:
  using plat::TListBox::TListBox;
  std::function<void(int ItemIndex)> OnSelect;
  std::function<void()> OnCancel;
  void Dispatch(plat::TMessage& Message) override;
};

// The filter list with a check box before each item: a click on the box (or Space) flips it.
class TDropCheckList : public plat::TListBox {
 public:
  explicit TDropCheckList(plat::TComponent* AOwner);
  bool Checked(int Index) const;
  void SetChecked(int Index, bool Value);
  // Each change of a check, from the user.
  std::function<void(int Index)> OnCheckChanged;
  void Dispatch(plat::TMessage& Message) override;

 private:
  void Toggle(int Index);
  std::vector<bool> FChecked;
};

// The editors of fixed cells: a typed Enter is dropped (the cell is committed when the focus leaves), every
// other character goes the usual way.
class TGridTransEdit : public plat::TEdit {
 public:
  using plat::TEdit::TEdit;

 protected:
  void KeyPress(char16_t& Key) override;
};

class TGridTransCombo : public plat::TComboBox {
 public:
  using plat::TComboBox::TComboBox;

 protected:
  void KeyPress(char16_t& Key) override;
};

class THeaderClicks : private TSortClickHost {
 public:
  THeaderClicks(TExtStringGrid& Grid, TInputHost& Host) : G(Grid), H(Host) {}
  ~THeaderClicks();

  // The end of a release over a header: sorts when the press and the release were on the sort row.
  void HeaderClick(int X, int Y, int ACol, int ARow, bool MoveEnded);
  // Opens the fixed cell's editor when the press (Right: the right button) asks for it; true when it opened.
  bool FixedEditOnPress(plat::TMouseButton Button, int X, int Y, int ACol, int ARow);
  bool FixedEditOnDblClick(int ACol, int ARow);
  // Opens the edit or combo editor over a fixed cell.
  void StartFixedCellEdit(int ACol, int ARow);
  // The filter list of the released header: opened under its filter button, or closed.
  void FilterListOnRelease(int X, int Y, int ACol, int ARow);
  // A press on the drop-down button of a hovered fixed cell (its right 16 pixels): true when a handler took it.
  bool DropDownPress(int X, int Y, int ACol, int ARow);
  bool DropDownDown() const { return FDropDownDown; }
  void DropDownReleased() { FDropDownDown = false; }
  // The filter button area of a header (its right 16 pixels); whether it leads to a list.
  bool InFilterButton(int X, int Y, int ACol, int ARow);

  TGridTransEdit* FixedEdit() const { return FEdit; }
  TGridTransCombo* FixedCombo() const { return FCombo; }
  TDropList* FilterList() const { return FDropList; }
  TDropCheckList* FilterCheckList() const { return FDropCheckList; }
  TFilterDropDown* FilterDropDown() { return &FFilterDropDown; }

  int FilterCol() const { return FFilterCol; }
  int FixedColEdit() const { return FFixedColEdit; }
  int FixedRowEdit() const { return FFixedRowEdit; }

 private:
  // The sort clicks' host: the grid's sort settings and sorts.
  TSortSettings& Sort() override;
  bool IndexKeyDown() override;
  bool HasNodes() override;
  void QSort() override;
  void QSortGroup() override;
  void QUnSort() override;
  void QSortIndexed() override;
  void QSortGroupIndexed() override;
  bool StopFixedEdit();
  void FixedEditDone(plat::TWinControl* Editor);
  void CloseFilterList();
  void FilterChosen(int ItemIndex);
  plat::TListBox* EnsureFilterList(bool Check);
  void FillFilterList(plat::TListBox* List, int& Widest);
  void PlaceFilterList(plat::TListBox* List, int ACol, int ARow, int Widest);

  TExtStringGrid& G;
  TInputHost& H;
  TSortClicks FSortClicks{*this};
  TGridTransEdit* FEdit = nullptr;
  TGridTransCombo* FCombo = nullptr;
  TDropList* FDropList = nullptr;
  TDropCheckList* FDropCheckList = nullptr;
  TFilterDropDown FFilterDropDown;
  int FFixedColEdit = -1, FFixedRowEdit = -1;
  int FFilterCol = -1;
  bool FClosing = false;
  bool FDropDownDown = false;
};

}  // namespace grid
