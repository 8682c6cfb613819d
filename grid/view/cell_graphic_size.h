#pragma once
// The room a cell object takes in its cell: on screen (what column and row autosizing add to the text) and in
// print. An object placed beside the text adds to the width only, one above or under the text to the height
// only; a cell without text gives the object its whole size. Objects aligned haFull or vaFull take the cell.

#include "grid/model/cell_graphic.h"
#include "platform/graphics/types.h"

namespace plat {
class TCanvas;
class TCustomImageList;
class TFont;
}  // namespace plat

namespace grid {

class TExtStringGrid;

// What the object of a ctInterface cell answers: it draws itself and tells its size.
class IInterfacedCell {
 public:
  virtual ~IInterfacedCell() = default;
  virtual void Draw(plat::TCanvas* Canvas, plat::TRect R, int Col, int Row, bool Selected, TExtStringGrid* Grid) = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual bool IsEnabled() { return true; }
};

// What the sizer asks of its grid. Columns are real columns.
class TGraphicSizeHost {
 public:
  // The cell's merged area (real columns) and the sizes of a real column and of a row.
  virtual plat::TRect SizedArea(int RCol, int ARow) = 0;
  virtual int RealColWidth(int RCol) = 0;
  virtual int SizedRowHeight(int ARow) = 0;
  // The grid's canvas and font, for measuring texts.
  virtual plat::TCanvas& MeasureCanvas() = 0;
  virtual plat::TFont* MeasureFont() = 0;
  virtual bool CellTextEmpty(int RCol, int ARow) = 0;
  virtual TCellGraphic* CellGraphicAt(int RCol, int ARow) = 0;
  virtual plat::TCustomImageList* CellImages() = 0;
  virtual int CheckBoxSize() = 0;
  virtual int RadioButtonSize() = 0;
  // The room autosizing keeps around a cell's contents, and the vertical text offset in a cell.
  virtual plat::TPoint ContentsMargins() = 0;
  virtual int CellMarginY() = 0;

 protected:
  ~TGraphicSizeHost() = default;
};

class TCellGraphicSizer {
 public:
  explicit TCellGraphicSizer(TGraphicSizeHost& Host) : FHost(Host) {}

  // Columns are real columns. YMargin is taken off the height a picture may fill.
  plat::TPoint ScreenSize(int ACol, int ARow, int YMargin);
  plat::TPoint PrintSize(int ACol, int ARow, int MaxW, int MaxH, double Scale);

 private:
  // The size before the whole-cell rule; FixedWidth says the width is the object's own.
  plat::TPoint ObjectSize(const TCellGraphic& G, int ACol, int ARow, int YMargin, bool& FixedWidth);
  plat::TPoint RadioSize(const TCellGraphic& G);
  plat::TPoint ImagesSize(const TCellGraphic& G, plat::TCustomImageList* Images);
  plat::TPoint ButtonSize(const TCellGraphic& G, bool HasText, bool& FixedWidth);
  // The cell's size in pixels: the whole merged area.
  plat::TSize CellSize(int ACol, int ARow);

  TGraphicSizeHost& FHost;
};

}  // namespace grid
