#pragma once
// The floating footer: a row shown in a panel below the grid's cells that stays in view however the grid
// scrolls vertically. Its styles: the grid's last row as fixed footer cells aligned with the grid's columns
// (usually column calculations), a preview of one column of the current row, a preview built from a template
// with cell references ("<#N>" is the text of column N in the current row), or a footer the application paints.

#include <QString>

#include "grid/model/gridtypes.h"
#include "platform/forms/controls.h"
#include "platform/rtl/component.h"

namespace plat {
class TCustomImageList;
}

namespace grid {

class TFooterPanel;
class TRenderGrid;
struct TExtGridEvents;

// What the footer asks of its grid beyond the painting grid's own members.
class TFooterHost {
 public:
  virtual TRenderGrid& FooterGrid() = 0;
  // The grid's own fixed columns (the base grid's count may differ) and the real column of a display one.
  virtual int GridFixedCols() const = 0;
  virtual int FooterRealCol(int ACol) const = 0;
  virtual bool GridFlat() const = 0;
  virtual plat::TColor GridSelectionTextColor() const = 0;
  virtual plat::TCustomImageList* FooterImages() const = 0;
  virtual plat::TColor FooterURLColor() const = 0;
  // The footer rows the grid paints fixed at its bottom.
  virtual void SetFooterRows(int Value) = 0;
  // Writes the column's calculation into the footer row.
  virtual void CalcFooterColumn(int ACol) = 0;
  // The grid's events, raised with the grid as sender.
  virtual TExtGridEvents& FooterEvents() = 0;

 protected:
  ~TFooterHost() = default;
};

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

class TFloatingFooter : public plat::TPersistent {
 public:
  explicit TFloatingFooter(TFooterHost& Host) : FHost(Host) {}
  // Only from another floating footer; Height, BorderColor and EnableCalculation are not copied.
  void Assign(plat::TPersistent* Source) override;

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TFooterStyle FooterStyle() const { return FFooterStyle; }
  void SetFooterStyle(TFooterStyle Value);
  // The panel's height + 1.
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  plat::TColor Color() const { return FColor; }
  void SetColor(plat::TColor Value);
  plat::TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(plat::TColor Value);
  int Column() const { return FColumn; }
  void SetColumn(int Value);
  QString CustomTemplate() const { return FCustomTemplate; }
  void SetCustomTemplate(const QString& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool CalculateHiddenRows = true;
  bool EnableCalculation = true;
  // (Sender, ACol, ARow, var Value): the footer text of a custom calculation.
  std::function<void(plat::TObject*, int, int, QString&)> OnCalcFooter;
  // The calculation kind of a column, kept in the cell properties of the footer row (the last row);
  // reading creates no properties.
  TColumnCalcType GetColumnCalc(int ACol) const;
  void SetColumnCalc(int ACol, TColumnCalcType Value);
  void Invalidate();
  // The panel showing the footer (null until the footer is first shown).
  TFooterPanel* Panel() const { return FPanel; }
  // A panel being destroyed is forgotten.
  void PanelGone(const TFooterPanel* P) {
    if (FPanel == P) FPanel = nullptr;
  }

 private:
  void ApplyToGrid();
  TFooterHost& FHost;
  // The panel that shows the footer, made the first time the footer is shown; the grid deletes it.
  TFooterPanel* FPanel = nullptr;
  int FHeight = 0;
  bool FVisible = false;
  plat::TColor FColor = plat::clBtnFace;
  TFooterStyle FFooterStyle = fsFixedLastRow;
  int FColumn = 0;
  QString FCustomTemplate;
  bool FShowHint = false;
  plat::TColor FBorderColor = plat::clNone;
};

// Expands the footer template: each "<#N>" becomes the text GetCell(N) gives; a tag whose N does not parse
// or is out of range is dropped; a "<#" without ">" ends the expansion with the rest kept as text.
QString ExpandFooterTemplate(const QString& Template, int ColCount, const std::function<QString(int)>& GetCell);

class TFooterPanel : public plat::TCustomControl {
 public:
  TFooterPanel(TFooterHost& Host, TFloatingFooter& Footer);
  ~TFooterPanel() override;
  // The footer column under a panel x coordinate: fixed columns from the left edge, then the columns from
  // the grid's left column; -1 past the last one.
  int ColumnAt(int X) const;
  // The width the footer paints: the fixed columns plus the columns from the left column on.
  int FooterWidth() const;
  QString ExpandTemplate() const;
  // The right edge the last paint ended at.
  int LastRightEdge() const { return FLastRight; }
  int LastHintX() const { return FLastHintX; }
  // The hint the panel shows at a point (empty when none): OnGridHint for the footer cell under it.
  QString HintAt(int X);

 protected:
  void Paint() override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void Dispatch(plat::TMessage& Message) override;

 private:
  int PaintFixedLastRow(plat::TCanvas& C);
  int PaintColumnPreview(plat::TCanvas& C);
  int PaintCustomPreview(plat::TCanvas& C);
  int PaintCustomFooter(plat::TCanvas& C);
  void PaintPreviewFrame(plat::TCanvas& C, const plat::TRect& R);
  void PaintSeparators(plat::TCanvas& C);
  TFooterHost& FHost;
  TFloatingFooter& FFooter;
  int FLastHintX = -1;
  int FLastRight = 0;
};

}  // namespace grid
