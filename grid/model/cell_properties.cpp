#include "grid/model/cell_properties.h"

#include "grid/model/cell_graphic.h"
#include "grid/model/cellgrid.h"

namespace grid {

TCellProperties::TCellProperties(TCellGrid* AOwner, int ACol, int ARow)
    : OwnerCol(ACol), OwnerRow(ARow), FOwnerGrid(AOwner), FWordWrap(AOwner ? AOwner->WordWrap() : true) {
  if (AOwner) AOwner->NoteCellPropsCreated();
}

TCellProperties::~TCellProperties() {
  auto* graphic = dynamic_cast<TCellGraphic*>(FGraphicObject);
  if (graphic && !graphic->Shared()) delete graphic;
}

void TCellProperties::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TCellProperties*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  IsBaseCell = s->IsBaseCell;
  CellSpanX = s->CellSpanX;
  CellSpanY = s->CellSpanY;
  OwnerRow = s->OwnerRow;
  OwnerCol = s->OwnerCol;
  CellObject = s->CellObject;
  Alignment = s->Alignment;
  BorderColor = s->BorderColor;
  BorderWidth = s->BorderWidth;
  FBrushColor = s->FBrushColor;
  BrushStyle = s->BrushStyle;
  FontColor = s->FontColor;
  FontStyle = s->FontStyle;
  FontName = s->FontName;
  FontSize = s->FontSize;
  ReadOnly = s->ReadOnly;
  Editor = s->Editor;
  FVAlignment = s->FVAlignment;
  FWordWrap = s->FWordWrap;
  NodeLevel = s->NodeLevel;
  Control = s->Control;
}

void TCellProperties::RepaintOwner() {
  if (!FOwnerGrid) return;
  FOwnerGrid->UpdateOwners();
  FOwnerGrid->RepaintCell(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColor(plat::TColor Value) {
  FBrushColor = Value;
  RepaintOwner();
}

void TCellProperties::SetBrushColorTo(plat::TColor Value) {
  FBrushColorTo = Value;
  RepaintOwner();
}

void TCellProperties::SetVAlignment(TVAlignment Value) {
  FVAlignment = Value;
  RepaintOwner();
}

void TCellProperties::SetWordWrap(bool Value) {
  FWordWrap = Value;
  RepaintOwner();
}

}  // namespace grid
