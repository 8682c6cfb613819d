// The string grid's side of painting: the grid properties handed to the renderer, what the renderer asks of
// the grid (events, fonts, filters, hover state, scroll-bar cells), and what follows a look, a style or a set
// of colour tones (scroll bars, border, footers, the editors that take the style).
#include <algorithm>

#include "grid/edit/special_editors.h"
#include "grid/extgrid.h"

namespace grid {

// ---------------------------------------------------------------- settings handed to the renderer

void TExtStringGrid::SyncDrawSettings() {
  TRenderSettings& s = DrawSettings();
  s.DisjunctRowSelect = FMouseActions.DisjunctRowSelect();
  s.DisjunctColSelect = FMouseActions.DisjunctColSelect();
  s.DisjunctCellSelect = FMouseActions.DisjunctCellSelect();
  s.RowSelectPersistent = FMouseActions.RowSelectPersistent;
  s.EnableHTML = EnableHTML;
  s.URLColor = URLColor;
  s.URLUnderlineOnHover = URLUnderlineOnHover;
  s.DisabledFontColor = DisabledFontColor;
  s.WordWrap = FWordWrap;
  s.XYOffset = FXYOffset;
  s.XYOffsetTopLeftOnly = XYOffsetTopLeftOnly;
  s.VAlignment = FVAlignment;
  s.ZoomFactor = ZoomFactor;
  s.RowIndicator = &FRowIndicator;
  s.ShowModified = FShowModified.Enabled;
  s.ShowModifiedColor = FShowModified.Color();
  s.SelectionResizer = FSelectionResizer;
  s.FixedRowAlways = FFixedRowAlways;
  s.ProgressAppearance = &FProgressAppearance;
}

plat::TSize TExtStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB) {
  SyncDrawSettings();
  return Renderer().GetCellTextSize(ACol, ARow, VS, SB);
}

// ---------------------------------------------------------------- what the renderer asks

bool TExtStringGrid::UseEnabledRows() { return FSel.UseEnabledRows(); }

bool TExtStringGrid::DoGetFloatFormat(int ACol, int ARow, bool& IsFloat, QString& Format) {
  if (!OnGetFloatFormat) return TRenderGrid::DoGetFloatFormat(ACol, ARow, IsFloat, Format);
  OnGetFloatFormat(this, ACol, ARow, IsFloat, Format);
  return true;
}

const plat::TFont* TExtStringGrid::PrintFont(bool Fixed) {
  if (!Fixed) return FPrintSettings.Font();
  return FPrintSettings.UseDisplayFont ? nullptr : FPrintSettings.FixedFont();
}

void TExtStringGrid::DoGetCellGradient(int RCol, int ARow, plat::TColor& Color, plat::TColor& ColorTo,
                                       plat::TColor& MirrorFrom, plat::TColor& MirrorTo, TCellGradientDirection& GD) {
  TRenderGrid::DoGetCellGradient(RCol, ARow, Color, ColorTo, MirrorFrom, MirrorTo, GD);
  if (OnGetCellGradient) OnGetCellGradient(this, ARow, RCol, Color, ColorTo, MirrorFrom, MirrorTo, GD);
}

// The event names each side's colour; the widths stay those of the border pen.
void TExtStringGrid::DoGetCellBorderProp(int RCol, int ARow, plat::TPen* L, plat::TPen* T, plat::TPen* R,
                                         plat::TPen* B) {
  TRenderGrid::DoGetCellBorderProp(RCol, ARow, L, T, R, B);
  if (!OnGetCellBorderProp) return;
  plat::TColor l = L->Color(), t = T->Color(), r = R->Color(), b = B->Color();
  OnGetCellBorderProp(this, ARow, RCol, l, t, r, b);
  L->SetColor(l);
  T->SetColor(t);
  R->SetColor(r);
  B->SetColor(b);
}

void TExtStringGrid::DoPainted() {
  if (OnPainted) OnPainted(this);
}

// A column has a filter list when the grid builds one from its values or the program supplies one.
bool TExtStringGrid::HasFilterList(int RCol) {
  if (OnGetColumnFilter) return true;
  return FilterDropDownAuto && (RCol >= FixedCols() || FilterDropDownColumns == fdAll);
}

int TExtStringGrid::HoverLink(int ACol, int ARow) {
  const TMouseHover& h = FMouse.Hover();
  return h.HoverCell == plat::TPoint(ACol, ARow) ? h.HoverLink : -1;
}

bool TExtStringGrid::IsHoverButton(int ACol, int ARow) {
  return FMouse.Hover().HoverButton == plat::TPoint(ACol, ARow);
}

bool TExtStringGrid::FixedDropDownShown(int RCol) {
  bool show = FControlLook.FixedDropDownButton;
  if (show && OnCanShowFixedDropDown) OnCanShowFixedDropDown(this, RCol, show);
  return show;
}

bool TExtStringGrid::ScrollProp(int RCol, int ARow, int& PageSize, int& Range) {
  if (!CellObjects().HasScrollBar(RCol, ARow)) return TRenderGrid::ScrollProp(RCol, ARow, PageSize, Range);
  const TScrollProp p = CellObjects().GetScrollProp(RCol, ARow);
  PageSize = p.PageSize;
  Range = p.Range;
  return true;
}

// The search panel (32 pixels) and the floating footer's panel cover the bottom of the client area.
int TExtStringGrid::FooterHeight() {
  int h = FSearchFooter.Visible() ? 32 : 0;
  if (FFloatingFooter.Visible() && FooterPanel()) h += FooterPanel()->Height();
  return h;
}

// ---------------------------------------------------------------- after a look, a style or colour tones

void TExtStringGrid::ColorsApplied(TColorsChange Change) {
  const TGridColors& c = DrawColors();
  if (ScrollType != c.ScrollType) SetScrollType(c.ScrollType);
  SetBorderStyle(c.BorderSingle ? plat::bsSingle : plat::bsNone);
  FSearchFooter.SetColor(c.FooterColor);
  FSearchFooter.SetColorTo(c.FooterColorTo);
  if (IsDesigning()) return;
  switch (Change) {
    case TColorsChange::Look:
      if (c.Look != glVista && c.Look != glWin7 && c.Look != glOffice2007 && c.Look != glCustom)
        StyleToEditors(controls::tsWindowsXP);
      if (!IsLoading()) FFloatingFooter.Invalidate();
      break;
    case TColorsChange::ComponentStyle: StyleToEditors(c.ComponentStyle); break;
    case TColorsChange::Tones: TonesToEditors(c.Tones); break;
    default: break;
  }
}

// The editors the grid owns that take a component style or colour tones get it; editors not made yet keep
// their own look.
void TExtStringGrid::StyleToEditors(controls::TExtStyle Style) {
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* e = dynamic_cast<controls::IExtStyle*>(Components(i))) e->SetComponentStyle(Style);
}

void TExtStringGrid::TonesToEditors(const controls::TColorTones& Tones) {
  FFloatingFooter.SetColor(Tones.Foreground.BrushColor);
  for (int i = 0; i < ComponentCount(); ++i) {
    plat::TComponent* e = Components(i);
    if (auto* combo = dynamic_cast<TGridCombo*>(e)) {
      combo->SetBorderColor(Color());
      combo->SetFlat(true);
    } else if (auto* picker = dynamic_cast<TGridDatePicker*>(e)) {
      picker->SetBorderColor(Tones.Background.BrushColor);
      picker->MetroStyle = true;
    }
    if (auto* t = dynamic_cast<controls::IExtTones*>(e)) t->SetColorTones(Tones);
  }
}

}  // namespace grid
