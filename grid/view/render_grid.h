#pragma once
// TRenderGrid: the base grid with the cell renderer attached - its visual properties and cell contents come
// from the renderer, its paint ends with the grid-level extras, and the looks, styles and tones update the
// grid's own colour properties. Cell objects come from the cell store (the object a cell's properties hold)
// or, for drawing alone, from SetCellGraphic.

#include <map>

#include "grid/view/render_cells.h"

namespace grid {

// What changed the grid's colours.
enum class TColorsChange { Look, Style, ComponentStyle, Tones, Theme };

class TRenderGrid : public TBaseGrid, public TRenderHost, public controls::IExtStyle, public controls::IExtTones {
 public:
  explicit TRenderGrid(plat::TComponent* AOwner);

  TCellRenderer& Renderer() { return FRenderer; }
  TRenderSettings& RenderSettings() { return FRenderer.Settings; }

  // ---- looks
  TGridLook Look() const { return FRenderer.Settings.Colors.Look; }
  void SetLook(TGridLook Value);
  void SetStyle(TExtGridStyle Value);
  void SetComponentStyle(controls::TExtStyle Value) override;
  void SetColorTones(controls::TColorTones Value) override;
  void SetTheme(TXPColorScheme Value);
  // The component style of the user's office theme when it changed since the last time (not in the
  // designer), with what follows a component style.
  void AdaptToOfficeTheme();

  // ---- cell objects and what the renderer asks
  void SetCellGraphic(int RCol, int ARow, const TCellGraphicView& G) { FGraphics[{RCol, ARow}] = G; Invalidate(); }
  void ClearCellGraphic(int RCol, int ARow) { FGraphics.erase({RCol, ARow}); }
  const TCellGraphicView* CellGraphicView(int RCol, int ARow) override;
  plat::TCustomImageList* GridImages = nullptr;
  plat::TCustomImageList* ImageList(int, int) override { return GridImages; }
  std::map<int, int> NodeLevels;  // row -> level
  std::map<int, QStringList> RadioItems;  // real column -> items
  int NodeLevel(int ARow) override;
  bool IsNodeRow(int ARow) override;
  QStringList RadioStrings(int RCol, int) override { return RadioItems[RCol]; }
  bool FitCellsInGrid = false;

  // The sizing guide lines, drawn straight onto the grid's canvas.
  void DrawColumnSizingLine(int X) { FRenderer.DrawColumnSizingLine(*Canvas(), X); }
  void DrawRowSizingLine(int Y) { FRenderer.DrawRowSizingLine(*Canvas(), Y); }

 protected:
  void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                           plat::TBrush* ABrush, plat::TColor& AColorTo, plat::TColor& AMirrorColor,
                           plat::TColor& AMirrorColorTo, plat::TFont* AFont, plat::TAlignment& HA, TVAlignment& VA,
                           bool& WW, TCellGradientDirection& GD) override {
    FRenderer.GetVisualProperties(ACol, ARow, AState, Print, Select, Remap, ABrush, AColorTo, AMirrorColor,
                                  AMirrorColorTo, AFont, HA, VA, WW, GD);
  }
  void DrawCellContents(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect,
                        TGridDrawState AState) override {
    FRenderer.DrawCellContents(ACanvas, ACol, ARow, ARect, AState);
  }
  bool IsFixed(int ACol, int ARow) override;
  bool HasNodes() override { return !NodeLevels.empty(); }
  void Paint() override;
  // After a look, a style, a scheme or tones wrote the colours.
  virtual void ColorsApplied(TColorsChange Change) { (void)Change; }

 private:
  void ApplyColors(TColorsChange Change);

  TCellRenderer FRenderer{*this, *this};
  std::map<std::pair<int, int>, TCellGraphicView> FGraphics;
  // Views of the stored cell objects met in the current paint (each is read once per paint).
  std::map<std::pair<int, int>, TCellGraphicView> FObjectViews;
};

}  // namespace grid
