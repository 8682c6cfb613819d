#pragma once
// TCellProperties: the record a cell gets the first time anything per-cell is needed (colours, font,
// alignment, merge encoding, user value, cell object, editor kind). Cells that never need one cost nothing.
//
// Merge encoding: an unmerged cell is a base cell with both spans -1; the base (top-left) cell of an area W x H
// holds spans (W - 1, H - 1); every other cell of the area holds its offset (dx, dy) from the base and
// IsBaseCell false, so the base of any cell is found without a search.

#include <QString>

#include "grid/model/gridtypes.h"
#include "platform/graphics/gdivalues.h"
#include "platform/rtl/object.h"

namespace plat {
class TControl;
}

namespace grid {

class TCellGrid;

class TCellProperties : public plat::TPersistent {
  PLAT_CLASS(TCellProperties)

  // Marks the owner as having created cell properties.
  TCellProperties(TCellGrid* AOwner, int ACol, int ARow);
  // Frees the cell object it holds (a TCellGraphic that is not one of the grid's shared objects): the
  // properties own their cell object, so it goes wherever they go and is freed once with them.
  ~TCellProperties() override;

  // Copies the stored look, merge encoding, owner cell, user value and control of another TCellProperties
  // as plain fields (no repaint). Not copied: owner grid, cell object, gradient end colour, paint number,
  // calculation kind and object, gradient direction.
  void Assign(plat::TPersistent* Source) override;

  TCellGrid* OwnerGrid() const { return FOwnerGrid; }
  plat::TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(plat::TColor Value);        // repaints the owning cell
  plat::TColor BrushColorTo() const { return FBrushColorTo; }
  void SetBrushColorTo(plat::TColor Value);      // repaints the owning cell
  TVAlignment VAlignment() const { return FVAlignment; }
  void SetVAlignment(TVAlignment Value);         // repaints the owning cell
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);                  // repaints the owning cell

  // Plain fields: writing them only stores.
  int OwnerCol = 0;
  int OwnerRow = 0;
  quintptr CellObject = 0;                 // the grid's Objects value of the cell
  plat::TObject* FGraphicObject = nullptr;  // the cell object (reached through GraphicObjects)
  plat::TBrushStyle BrushStyle = plat::bsSolid;
  int FontSize = 0;
  plat::TColor FontColor = plat::clNone;
  plat::TFontStyles FontStyle;
  int CellSpanY = -1;
  int CellSpanX = -1;
  int BorderWidth = 0;
  plat::TColor BorderColor = 0;
  plat::TAlignment Alignment = plat::taLeftJustify;
  int FPaintID = 0;   // paint pass in which the merged area was last drawn
  bool IsBaseCell = true;
  TColumnCalcType CalcType = acNONE;
  plat::TObject* CalcObject = nullptr;  // not owned
  int NodeLevel = 0;
  TEditorType Editor = edNormal;
  QString FontName;
  bool ReadOnly = false;
  TCellGradientDirection GradientDirection = GradientVertical;
  plat::TControl* Control = nullptr;  // not owned

 private:
  void RepaintOwner();

  TCellGrid* FOwnerGrid;
  plat::TColor FBrushColor = plat::clNone;
  plat::TColor FBrushColorTo = plat::clNone;
  TVAlignment FVAlignment = vtaTop;
  bool FWordWrap;
};

}  // namespace grid
