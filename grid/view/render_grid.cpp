#include "grid/view/render_grid.h"

namespace grid {

TRenderGrid::TRenderGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {
  FRenderer.ControlLook.OnInvalidate = [this](plat::TObject*) { Invalidate(); };
  FRenderer.CellNode.OnRepaint = [this](plat::TObject*) { Invalidate(); };
  FRenderer.BackGround.OnInvalidate = [this](plat::TObject*) { Invalidate(); };
}

const TCellGraphicView* TRenderGrid::CellGraphicView(int RCol, int ARow) {
  if (!FGraphics.empty()) {
    const auto it = FGraphics.find({RCol, ARow});
    if (it != FGraphics.end()) return &it->second;
  }
  const auto* stored = dynamic_cast<const TCellGraphic*>(GetGraphicObjectEx(RCol, ARow));
  if (!stored || stored->CellType == ctNone) return nullptr;
  TCellGraphicView& view = FObjectViews[{RCol, ARow}];
  view = ViewOfCellGraphic(*stored);
  return &view;
}

int TRenderGrid::NodeLevel(int ARow) {
  if (NodeLevels.empty()) return 0;
  const auto it = NodeLevels.find(ARow);
  return it == NodeLevels.end() ? 0 : it->second;
}

bool TRenderGrid::IsNodeRow(int ARow) {
  const TCellGraphicView* g = CellGraphicView(0, ARow);
  return g && g->CellType == ctNode;
}

bool TRenderGrid::IsFixed(int ACol, int ARow) {
  const TRenderSettings& s = FRenderer.Settings;
  return ACol >= ColCount() - s.FixedRightCols || ARow >= RowCount() - s.FixedFooters;
}

void TRenderGrid::Paint() {
  Canvas()->Pen()->SetStyle(plat::psSolid);
  Canvas()->Brush()->SetStyle(plat::bsSolid);
  FObjectViews.clear();
  TBaseGrid::Paint();
  FRenderer.PaintGridExtras(*Canvas());
  FRenderer.PaintBorder(*Canvas(), Width(), Height(), FitCellsInGrid);
}

void TRenderGrid::ApplyColors(TColorsChange Change) {
  const TGridColors& c = FRenderer.Settings.Colors;
  const bool WithWindowColors = Change == TColorsChange::Tones;
  SetFixedColor(c.FixedColor);
  SetGridLineColor(c.GridLineColor);
  SetGridFixedLineColor(c.GridFixedLineColor);
  SetSelectionStyle(c.SelectionStyle);
  if (WithWindowColors) {
    SetColor(c.Color);
    Font()->SetColor(c.FontColor);
    FRenderer.Settings.FixedFont.SetColor(c.FixedFontColor);
    if (!c.FontName.isEmpty()) Font()->SetName(c.FontName);
    if (!c.FixedFontName.isEmpty()) FRenderer.Settings.FixedFont.SetName(c.FixedFontName);
  }
  ColorsApplied(Change);
  Invalidate();
}

void TRenderGrid::SetLook(TGridLook Value) {
  if (SetGridLook(FRenderer.Settings.Colors, FRenderer.ControlLook, Value)) ApplyColors(TColorsChange::Look);
}

void TRenderGrid::SetStyle(TExtGridStyle Value) {
  SetGridStyle(FRenderer.Settings.Colors, FRenderer.ControlLook, Value);
  ApplyColors(TColorsChange::Style);
}

void TRenderGrid::SetComponentStyle(controls::TExtStyle Value) {
  SetGridComponentStyle(FRenderer.Settings.Colors, FRenderer.ControlLook, Value);
  ApplyColors(TColorsChange::ComponentStyle);
}

void TRenderGrid::SetColorTones(controls::TColorTones Value) {
  SetGridColorTones(FRenderer.Settings.Colors, FRenderer.ControlLook, Value);
  FRenderer.CellNode.SetNodeType(cnFlat);
  ApplyColors(TColorsChange::Tones);
}

void TRenderGrid::AdaptToOfficeTheme() {
  if (ComponentState().Contains(plat::csDesigning)) return;
  if (grid::AdaptToOfficeTheme(FRenderer.Settings.Colors, FRenderer.ControlLook, controls::DetectOfficeTheme()))
    ApplyColors(TColorsChange::ComponentStyle);
}

void TRenderGrid::SetTheme(TXPColorScheme Value) {
  SetGridTheme(FRenderer.Settings.Colors, FRenderer.ControlLook, Value);
  ApplyColors(TColorsChange::Theme);
}

}  // namespace grid
