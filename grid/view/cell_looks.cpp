#include "grid/view/cell_looks.h"

namespace grid {

void TCellLooks::Repaint(int i, int j, bool Always) {
  if (!Always && UpdatePending && UpdatePending()) return;
  FGrid.RepaintCell(FHiding.RealToDisplCol(i), j);
}

void TCellLooks::RepaintRow(int j) {
  for (int c = 0; c <= FGrid.LeftCol() + FGrid.VisibleColCount() && c < FGrid.ColCount(); ++c) FGrid.RepaintCell(c, j);
}

plat::TColor TCellLooks::GetColors(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->BrushColor() : plat::clNone;
}

void TCellLooks::SetColors(int i, int j, plat::TColor Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->SetBrushColor(Value);
    Repaint(i, j, false);
  }
}

plat::TColor TCellLooks::GetColorsTo(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->BrushColorTo() : plat::clNone;
}

void TCellLooks::SetColorsTo(int i, int j, plat::TColor Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->SetBrushColorTo(Value);
    Repaint(i, j, true);
  }
}

TCellGradientDirection TCellLooks::GetGradientDir(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->GradientDirection : GradientVertical;
}

void TCellLooks::SetGradientDir(int i, int j, TCellGradientDirection Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->GradientDirection = Value;
    Repaint(i, j, true);
  }
}

plat::TColor TCellLooks::GetFontColors(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->FontColor : plat::clNone;
}

void TCellLooks::SetFontColors(int i, int j, plat::TColor Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->FontColor = Value;
    Repaint(i, j, true);
  }
}

plat::TFontStyles TCellLooks::GetFontStyles(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->FontStyle : plat::TFontStyles();
}

void TCellLooks::SetFontStyles(int i, int j, plat::TFontStyles Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->FontStyle = Value;
    Repaint(i, j, true);
  }
}

int TCellLooks::GetFontSizes(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->FontSize : 0;
}

void TCellLooks::SetFontSizes(int i, int j, int Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->FontSize = Value;
    Repaint(i, j, true);
  }
}

QString TCellLooks::GetFontNames(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->FontName : QString();
}

void TCellLooks::SetFontNames(int i, int j, const QString& Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->FontName = Value;
    Repaint(i, j, true);
  }
}

void TCellLooks::SetCellFont(int i, int j, const plat::TFont& AFont) {
  if (TCellProperties* p = Make(i, j)) {
    p->FontName = AFont.Name();
    p->FontSize = AFont.Size();
    p->FontStyle = AFont.Style();
    p->FontColor = AFont.Color();
    Repaint(i, j, false);
  }
}

plat::TAlignment TCellLooks::GetAlignments(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p ? p->Alignment : plat::taLeftJustify;
}

void TCellLooks::SetAlignments(int i, int j, plat::TAlignment Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->Alignment = Value;
    Repaint(i, j, true);
  }
}

bool TCellLooks::GetReadOnly(int i, int j) const {
  const TCellProperties* p = Props(i, j);
  return p && p->ReadOnly;
}

void TCellLooks::SetReadOnly(int i, int j, bool Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->ReadOnly = Value;
    Repaint(i, j, true);
  }
}

bool TCellLooks::GetWordWraps(int i, int j) {
  const TCellProperties* p = Make(i, j);
  return p ? p->WordWrap() : FGrid.WordWrap();
}

void TCellLooks::SetWordWraps(int i, int j, bool Value) {
  if (TCellProperties* p = Make(i, j)) {
    p->SetWordWrap(Value);
    Repaint(i, j, true);
  }
}

// ---- whole rows ----------------------------------------------------------------------------------------

void TCellLooks::SetRowColor(int i, plat::TColor AColor) {
  for (int c = FGrid.FixedCols(); c < AllColCount(); ++c) {
    if (AColor == plat::clNone) {
      if (!FGrid.HasCellProperties(c, i)) continue;
      if (!FGrid.GetGraphicObjectEx(c, i))
        FGrid.FreeCellPropertiesAt(c, i);
      else
        FGrid.GetCellProperties(c, i)->SetBrushColor(plat::clNone);
    } else if (TCellProperties* p = Make(c, i)) {
      p->SetBrushColor(AColor);
    }
  }
  RepaintRow(i);
}

void TCellLooks::SetRowColorTo(int i, plat::TColor AColor) {
  // clNone resets the gradient end only: freeing the cells' properties would lose merges, objects and fonts.
  for (int c = FGrid.FixedCols(); c < AllColCount(); ++c) {
    if (AColor == plat::clNone && !FGrid.HasCellProperties(c, i)) continue;
    if (TCellProperties* p = Make(c, i)) p->SetBrushColorTo(AColor);
  }
  RepaintRow(i);
}

void TCellLooks::SetRowFontColor(int i, plat::TColor AColor) {
  for (int c = FGrid.FixedCols(); c < AllColCount(); ++c) {
    if (AColor == plat::clNone) {
      if (FGrid.HasCellProperties(c, i) && GetColors(c, i) == plat::clNone) FGrid.FreeCellPropertiesAt(c, i);
    } else if (TCellProperties* p = Make(c, i)) {
      p->FontColor = AColor;
    }
  }
  RepaintRow(i);
}

// ---- widths by real column -----------------------------------------------------------------------------

int TCellLooks::GetAllColWidths(int ACol) const {
  if (FHiding.IsHiddenColumn(ACol)) return FHiding.Columns().Width(ACol);
  return FGrid.ColWidths(FHiding.RealToDisplCol(ACol));
}

void TCellLooks::SetAllColWidths(int ACol, int Value) {
  FHiding.Columns().SetWidth(ACol, Value);
  if (!FHiding.IsHiddenColumn(ACol)) FGrid.SetColWidths(FHiding.RealToDisplCol(ACol), Value);
}

}  // namespace grid
