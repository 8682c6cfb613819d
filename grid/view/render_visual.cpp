// Cell colours, fonts and alignment: every step may override what an earlier one set.
#include <algorithm>
#include <cmath>

#include "controls/draw_utils.h"
#include "grid/view/render_cells.h"
#include "grid/view/render_resources.h"

namespace grid {

using plat::clNone;
using plat::TBrush;
using plat::TColor;
using plat::TFont;

bool TRenderHost::IsSelectedCell(int ACol, int ARow) {
  const plat::TGridRect s = Grid->Selection();
  return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

std::optional<double> TRenderHost::CellFloat(int RCol, int ARow) {
  bool ok = false;
  const double v = Grid->Cells(RCol, ARow).trimmed().toDouble(&ok);
  if (!ok) return std::nullopt;
  return v;
}

std::optional<int> TRenderHost::CellInt(int RCol, int ARow) {
  const std::optional<double> f = CellFloat(RCol, ARow);
  if (!f) return std::nullopt;
  const double v = *f;
  return v >= 2147483647.0 ? 2147483647 : v <= -2147483648.0 ? int(-2147483647 - 1) : int(std::lround(v));
}

bool TRenderHost::HasFocusNow() { return Grid->Focused(); }

void TRenderHost::DoGetCellColor(int RCol, int ARow, TGridDrawState, TBrush*, TFont* AFont) {
  (void)RCol, (void)ARow, (void)AFont;
}

void TRenderHost::DoGetCellPrintColor(int RCol, int ARow, TGridDrawState, TBrush*, TFont*) {
  (void)RCol, (void)ARow;
}

void TRenderHost::CellAlignment(int RCol, int ARow, plat::TAlignment& HA, TVAlignment& VA) {
  HA = plat::taLeftJustify;
  VA = Renderer->Settings.VAlignment;
  if (const TCellProperties* p = Grid->GetGridObject(RCol, ARow)) {
    HA = p->Alignment;
    VA = p->VAlignment();
  }
}

QString TRenderHost::GetFormattedCell(int ACol, int ARow) { return Renderer->FormatCellText(ACol, ARow); }

bool TRenderHost::DoGetFloatFormat(int ACol, int ARow, bool& IsFloat, QString& Format) {
  if (!Renderer->OnGetFloatFormat) return false;
  Renderer->OnGetFloatFormat(Grid, ACol, ARow, IsFloat, Format);
  return true;
}

void TRenderHost::DoGetCellGradient(int RCol, int ARow, TColor& Color, TColor& ColorTo, TColor& MirrorFrom,
                                    TColor& MirrorTo, TCellGradientDirection& GD) {
  if (Renderer->OnGetCellGradient) Renderer->OnGetCellGradient(Grid, ARow, RCol, Color, ColorTo, MirrorFrom, MirrorTo, GD);
}

void TRenderHost::DoGetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
  if (Renderer->OnGetCellBorder) Renderer->OnGetCellBorder(Grid, ACol, ARow, APen, Borders);
}

bool TRenderHost::MayHaveCellBorders() { return static_cast<bool>(Renderer->OnGetCellBorder); }

void TRenderHost::DoGetCellBorderProp(int RCol, int ARow, plat::TPen* L, plat::TPen* T, plat::TPen* R,
                                      plat::TPen* B) {
  if (Renderer->OnGetCellBorderProp) Renderer->OnGetCellBorderProp(Grid, ARow, RCol, L, T, R, B);
}

bool TRenderHost::IsRotated(int RCol, int ARow, int& Angle) {
  const TCellGraphicView* g = CellGraphicView(RCol, ARow);
  if (!g || g->CellType != ctRotated) return false;
  Angle = g->CellAngle;
  return true;
}

bool TRenderHost::ScrollProp(int RCol, int ARow, int& PageSize, int& Range) {
  (void)RCol, (void)ARow;
  PageSize = Range = -1;
  return false;
}

TColor MixSelectionColor(TColor Selection, TColor Cell, bool Mixer, int Factor) {
  if (!Mixer || Factor >= 100) return Selection;
  if (Factor < 1 || Selection == clNone) return Cell;
  if (Cell == clNone) return Selection;
  const TColor s = plat::ColorToRGB(Selection), c = plat::ColorToRGB(Cell);
  const double f = Factor / 100.0;
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = int((s >> shift) & 0xFF), b = int((c >> shift) & 0xFF);
    const int v = std::min(255, int(std::lround(f * a + (1 - f) * b)));
    out |= TColor(v) << shift;
  }
  return out;
}

double ClampPercent(double Value) { return Value < 0 ? 0 : Value > 100 ? 100 : Value; }

TCellRenderer::TCellRenderer(TBaseGrid& Grid, TRenderHost& Host) : FGrid(Grid), FHost(Host) {
  FHost.Grid = &Grid;
  FHost.Renderer = this;
  // The named bitmaps are drawn through the resource lookup too: they must be there before the first paint.
  RegisterGridBitmaps();
  ConnectControlLook(ControlLook, Settings.Colors);
  Settings.FixedFont.Assign(Grid.Font());
  Settings.ActiveCellFont.Assign(Grid.Font());
  Settings.ActiveCellFont.SetStyle(plat::TFontStyles{plat::fsBold});
}

bool TCellRenderer::IsFixedCell(int ACol, int ARow) {
  return ACol < FGrid.FixedCols() || ARow < FGrid.FixedRows() || static_cast<TCellPaintHost&>(FGrid).IsFixed(ACol, ARow);
}

namespace {

// Assigning a font makes the canvas set its painter up again: only when it differs.
void AssignFont(TFont* Target, const TFont& Source) {
  if (Target->Name() != Source.Name() || Target->Size() != Source.Size() || Target->Style() != Source.Style() ||
      Target->Color() != Source.Color())
    Target->Assign(const_cast<TFont*>(&Source));
}

void ApplyPropertyFont(const TCellProperties& p, TFont* AFont) {
  if (p.FontColor != clNone) AFont->SetColor(p.FontColor);
  if (p.FontStyle != plat::TFontStyles{}) AFont->SetStyle(p.FontStyle);
  if (p.FontSize != 0) AFont->SetSize(p.FontSize);
  if (!p.FontName.isEmpty()) AFont->SetName(p.FontName);
}

}  // namespace

void TCellRenderer::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont,
                                      TBrush* ABrush, bool Remap) {
  const bool fixed = IsFixedCell(ACol, ARow);
  AssignFont(AFont, fixed ? Settings.FixedFont : *FGrid.Font());
  const int rcol = Remap ? RCol : ACol;
  if (const TCellProperties* p = FGrid.GetGridObject(rcol, ARow)) ApplyPropertyFont(*p, AFont);
  FHost.DoGetCellColor(rcol, ARow, AState, ABrush, AFont);
}

void TCellRenderer::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                        bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                        TColor& AMirrorColorTo, TFont* AFont, plat::TAlignment& HA, TVAlignment& VA,
                                        bool& WW, TCellGradientDirection& GD) {
  TRenderSettings& s = Settings;
  const int fc = FGrid.FixedCols(), fr = FGrid.FixedRows();
  const bool leftTop = ACol < fc || ARow < fr;
  if (Print) {
    if (const TFont* f = FHost.PrintFont(leftTop)) AssignFont(AFont, *f);
    else if (leftTop) AssignFont(AFont, s.FixedFont);
  } else if (leftTop) {
    AssignFont(AFont, s.FixedFont);
  }
  const int rcol = Remap ? FHost.RealColumn(ACol) : ACol;

  ABrush->SetColor(clNone);
  AColorTo = AMirrorColor = AMirrorColorTo = clNone;
  bool ownColor = false;
  if (const TCellProperties* p = FGrid.GetGridObject(rcol, ARow)) {
    const TCellGraphicView* g = FHost.CellGraphicView(rcol, ARow);
    const TCellType type = g ? g->CellType : ctNone;
    if (type == ctNone || type == ctRotated || type == ctEmpty) {
      if (p->BrushColor() != clNone) {
        ABrush->SetColor(p->BrushColor());
        ownColor = true;
      }
    } else {
      ABrush->SetColor(p->BrushColor());
    }
    ApplyPropertyFont(*p, AFont);
    WW = p->WordWrap();
    AColorTo = p->BrushColorTo();
    GD = p->GradientDirection;
  }
  if (AState.Contains(gdSelected)) GD = GradientVertical;
  if (ABrush->Color() == clNone) {
    ABrush->SetColor(FGrid.Color());
    const bool normalCol = ACol >= fc && ACol < FGrid.ColCount() - s.FixedRightCols;
    const bool normalRow = ARow >= fr && ARow < FGrid.RowCount() - s.FixedFooters;
    if (Bands.Active() && (Bands.Print == Print || !Print) && normalCol && normalRow && Bands.TotalLength() > 0)
      ABrush->SetColor((ARow - fr) % Bands.TotalLength() < Bands.PrimaryLength() ? Bands.PrimaryColor()
                                                                                  : Bands.SecondaryColor());
    if (!normalCol || !normalRow) ABrush->SetColor(FGrid.FixedColor());
  }
  TCellWork w;
  w.Fixed = IsFixedCell(ACol, ARow);
  if (w.Fixed && !ownColor) ApplyFixedLook(AState, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont, Print);
  if (Print)
    FHost.DoGetCellPrintColor(rcol, ARow, AState, ABrush, AFont);
  else
    FHost.DoGetCellColor(rcol, ARow, AState, ABrush, AFont);
  TColor c = ABrush->Color();
  FHost.DoGetCellGradient(rcol, ARow, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
  ABrush->SetColor(c);
  w.SavedBrush = ABrush->Color();
  w.SavedFont = AFont->Color();
  ApplySelection(w, ACol, ARow, Select, Print, AState, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont);
  if (s.UseDisabledFont && ((FHost.UseEnabledRows() && FHost.IsRowDisabled(ARow)) || !FGrid.Enabled()))
    AFont->SetColor(s.DisabledFontColor);
  FHost.DoGetWordWrap(rcol, ARow, WW);
  FHost.CellAlignment(rcol, ARow, HA, VA);
}

void TCellRenderer::ApplyFixedLook(TGridDrawState& AState, TBrush* B, TColor& To, TColor& MF, TColor& MT, TFont* F,
                                   bool Print) {
  TRenderSettings& s = Settings;
  if (!Print) {
    B->SetColor(FGrid.FixedColor());
    AssignFont(F, s.FixedFont);
    AState.Include(gdFixed);
  }
  if (s.Colors.Look >= glExt) {
    const TFixedCellGradient& g = s.Colors.Fixed;
    B->SetColor(g.From);
    To = g.To;
    MF = g.MirrorFrom;
    MT = g.MirrorTo;
  }
}

void TCellRenderer::SelectionColours(TBrush* B, TColor& To, TColor& MF, TColor& MT, TFont* F) {
  const TGridColors& c = Settings.Colors;
  B->SetColor(c.SelectionColor);
  To = c.SelectionColorTo;
  MF = c.SelectionMirrorColor;
  MT = c.SelectionMirrorColorTo;
  if (c.SelectionTextColor != clNone) F->SetColor(c.SelectionTextColor);
}

// Selection colouring: disjunct rows, disjunct columns, the ordinary selection, disjunct cells, then the
// lighter shade of flagged rows away from the current row.
void TCellRenderer::ApplySelection(TCellWork& W, int ACol, int ARow, bool Select, bool Print, TGridDrawState& AState,
                                   TBrush* B, TColor& To, TColor& MF, TColor& MT, TFont* F) {
  const TRenderSettings& s = Settings;
  const TGridColors& c = s.Colors;
  const bool live = Select && !Print && s.ShowSelection;
  const bool normal = !W.Fixed;
  const bool down = FHost.MouseButtonDown();
  const int rrow = s.DisjunctRowSelect && s.RowSelectPersistent ? FHost.RealRow(ARow) : ARow;
  if (live && s.DisjunctRowSelect && normal) {
    const bool flagged = FHost.IsRowFlagged(rrow);
    if ((!(down && ARow == FGrid.Row()) && flagged) || (down && !flagged && AState.Contains(gdSelected))) {
      AState = TGridDrawState{gdSelected};
      SelectionColours(B, To, MF, MT, F);
    } else {
      AState.Exclude(gdSelected);
    }
  }
  if (live && s.DisjunctColSelect && normal) {
    const bool flagged = FHost.IsColFlagged(ACol);
    if ((!(down && ACol == FGrid.Col()) && flagged) || (down && !flagged && AState.Contains(gdSelected))) {
      AState = TGridDrawState{gdSelected};
      SelectionColours(B, To, MF, MT, F);
    }
  }
  const bool ordinary =
      (live && normal && FHost.IsSelectedCell(ACol, ARow) && !s.DisjunctRowSelect && !s.DisjunctColSelect) ||
      (AState.Contains(gdSelected) && down && s.ShowSelection);
  if (ordinary) {
    const TColor cell = B->Color();
    SelectionColours(B, To, MF, MT, F);
    if (cell != FGrid.Color())
      B->SetColor(MixSelectionColor(c.SelectionColor, cell, s.SelectionColorMixer, s.SelectionColorMixerFactor));
    AState.Include(gdSelected);
  }
  if (s.DisjunctCellSelect && s.ShowSelection) {
    if (FHost.IsCellFlagged(ACol, ARow)) {
      SelectionColours(B, To, MF, MT, F);
      AState.Include(gdSelected);
    } else if (ACol == FGrid.Col() && ARow == FGrid.Row()) {
      AState.Exclude(gdSelected);
      B->SetColor(W.SavedBrush);
      F->SetColor(W.SavedFont);
    }
  }
  if (s.DisjunctRowSelect && c.SelectionColorTo == clNone && ARow != FGrid.Row() && AState.Contains(gdSelected))
    B->SetColor(controls::ChangeColorPercent(B->Color(), 7));
}

}  // namespace grid
