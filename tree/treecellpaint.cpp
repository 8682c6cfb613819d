// What the paint pass draws inside one cell besides lines, buttons and the content: the check image (from the
// list in force, or the theme's button elements), the cell background with selection, drop target, hot item
// and focus rectangle, the margins a cell keeps for its content, whether a cell is empty, and the canvas font
// hook that tells measuring and exporting whether a handler changed the font.
#include <algorithm>

#include "platform/graphics/themes.h"
#include "tree/checkimages.h"
#include "tree/treecontrol.h"
#include "tree/treeutils.h"

namespace lazytree {

using plat::TCanvas;
using plat::TRect;

namespace {

// The theme's button element of a check image index: radio buttons 1..8, check boxes (also mixed) 9..20 and
// push buttons 21..24 follow the element states one to one. False for the empty image and anything else.
bool CheckElement(int Index, int& Part, int& State) {
  if (Index >= 1 && Index <= 8) {
    Part = plat::BP_RADIOBUTTON;
    State = Index;
  } else if (Index >= 9 && Index <= 20) {
    Part = plat::BP_CHECKBOX;
    State = Index - 8;
  } else if (Index >= 21 && Index <= 24) {
    Part = plat::BP_PUSHBUTTON;
    State = Index - 20;
  } else {
    return false;
  }
  return true;
}

// The item states of the explorer look.
enum TExplorerItemState : int { esHot = 2, esSelected = 3, esSelectedNotFocused = 5, esHotSelected = 6 };

}  // namespace

plat::TCustomImageList* TBaseLazyTreeControl::CheckImageListForKind(TCheckImageKind Kind) {
  switch (Kind) {
    case ckSystemDefault: return SystemCheckImages(false);
    case ckSystemFlat: return SystemCheckImages(true);
    case ckLightCheck: return TreeUnitImages(tlLightCheck);
    case ckDarkCheck: return TreeUnitImages(tlDarkCheck);
    case ckLightTick: return TreeUnitImages(tlLightTick);
    case ckDarkTick: return TreeUnitImages(tlDarkTick);
    case ckFlat: return TreeUnitImages(tlFlat);
    case ckXP: return TreeUnitImages(tlXP);
    default: return nullptr;  // ckCustom: the tree's own list
  }
}

plat::TCustomImageList* TBaseLazyTreeControl::CheckImagesInForce() const {
  plat::TCustomImageList* list = CheckImageListForKind(FCheckImageKind);
  return list ? list : FCustomCheckImages.List;
}

bool TBaseLazyTreeControl::DrawThemedCheckImage(TCanvas* Canvas, const TLTImageInfo& ImageInfo) {
  int part = 0, state = 0;
  const plat::TCustomImageList* list = ImageInfo.Images;
  const int w = list ? list->Width() : CheckImageSize, h = list ? list->Height() : CheckImageSize;
  const TRect r(ImageInfo.XPos, ImageInfo.YPos, ImageInfo.XPos + w, ImageInfo.YPos + h);
  // The empty image and unknown indexes draw the root element, which shows nothing.
  if (!CheckElement(ImageInfo.Index, part, state)) return plat::ThemeServices().ThemesEnabled();
  if (!plat::ThemeServices().DrawElement(Canvas, {QStringLiteral("button"), part, state}, r)) return false;
  // A button check carries the drop-down arrow of the tree's own images over the push button.
  if (part == plat::BP_PUSHBUTTON)
    if (plat::TCustomImageList* utilities = TreeUnitImages(tlUtilities))
      utilities->Draw(Canvas, ImageInfo.XPos, ImageInfo.YPos, UtilityButtonArrow, state != plat::PBS_DISABLED);
  return true;
}

void TBaseLazyTreeControl::DrawCheckImage(TCanvas* Canvas, const TLTImageInfo& ImageInfo, bool Selected) {
  if (TreeStates().Has(tsUseThemes) && FCheckImageKind == ckSystemDefault && DrawThemedCheckImage(Canvas, ImageInfo))
    return;
  plat::TCustomImageList* list = ImageInfo.Images;
  if (!list || ImageInfo.Index < 0 || ImageInfo.Index >= list->Count()) return;
  const plat::TColor oldBlend = list->BlendColor();
  if (Selected && !ImageInfo.Ghosted) list->SetBlendColor(SelectionColor());
  list->Draw(Canvas, ImageInfo.XPos, ImageInfo.YPos, ImageInfo.Index, plat::dsTransparent, plat::itImage, true);
  list->SetBlendColor(oldBlend);
}

plat::TColor TBaseLazyTreeControl::SelectionColor() const {
  return Focused() || TreeOptions().PaintOptions.Has(toPopupMode) ? FColors.FocusedSelectionColor()
                                                                   : FColors.UnfocusedSelectionColor();
}

// ------------------------------------------------------------------------------------------------------------
// Cell background

bool TBaseLazyTreeControl::DrawExplorerItem(TCanvas* Canvas, const TRect& R, int State) {
  const plat::HTHEME theme = plat::OpenThemeData(Widget(), QStringLiteral("Explorer::TreeView"));
  if (!theme) return false;
  const bool drawn = plat::DrawThemeBackground(theme, Canvas, plat::TVP_TREEITEM, State, R, nullptr) == plat::S_OK;
  plat::CloseThemeData(theme);
  return drawn;
}

// Selection, drop target and focus frame of one cell in the explorer look or the classic one.
struct TBaseLazyTreeControl::TCellBackground {
  TCanvas* Canvas;
  TRect Cell, Inner, Row;
  bool Explorer, Blended, ExpandToCell;
  int WindowOrgX, MaxWidth;
};

void TBaseLazyTreeControl::FillSelection(TCellBackground& B, plat::TColor Fill, plat::TColor Border, int ExplorerState) {
  if (B.ExpandToCell) B.Inner = B.Cell;
  if (B.Inner.IsEmpty()) return;
  if (B.Explorer) {
    const bool fullRow = TreeOptions().SelectionOptions.Has(toFullRowSelect) &&
                         !TreeOptions().MiscOptions.Has(toGridExtensions);
    DrawExplorerItem(B.Canvas, fullRow ? B.Row : B.Inner, ExplorerState);
  } else if (B.Blended && B.Canvas->Image()) {
    // Blended straight on the row's image, whose left edge is the window's left.
    TRect r = B.Inner;
    r.Left = std::max(r.Left - B.WindowOrgX, 0);
    r.Right = std::min(r.Right - B.WindowOrgX, B.MaxWidth);
    AlphaBlendRect(nullptr, B.Canvas, r, {}, abConstantWithColor, FSelectionBlendFactor, static_cast<int>(Fill));
  } else {
    B.Canvas->Brush()->SetColor(Fill);
    B.Canvas->Pen()->SetColor(Border);
    const int radius = static_cast<int>(FSelectionCurveRadius);
    B.Canvas->RoundRect(B.Inner, radius, radius);
  }
}

void TBaseLazyTreeControl::PaintCellBackground(TLTPaintInfo& PaintInfo, int WindowOrgX, int MaxWidth) {
  TCanvas* canvas = PaintInfo.Canvas;
  PLazyNode node = PaintInfo.Node;
  const TColumnIndex column = PaintInfo.Column;
  const TLazyTreeColumns& cols = FHeader->Columns();
  const TCustomLazyTreeOptions& o = TreeOptions();
  const bool fullRow = o.SelectionOptions.Has(toFullRowSelect), gridExt = o.MiscOptions.Has(toGridExtensions);
  TCellBackground b{canvas, PaintInfo.CellRect, {}, {}, TreeStates().Has(tsUseExplorerTheme),
                    CpuHasMMX() && o.PaintOptions.Has(toUseBlendedSelection), gridExt || fullRow, WindowOrgX, MaxWidth};
  b.Row = TRect(0, b.Cell.Top, static_cast<int>(RangeX()), b.Cell.Bottom);
  if (!FHeader->UseColumns() && fullRow) b.Row.Right = std::max(b.Row.Right, ClientW());
  if (o.PaintOptions.Has(toShowVertGridLines)) --b.Row.Right;
  if (PaintInfo.PaintOptions.Has(poColumnColor) && cols.IsValidColumn(column)) {
    canvas->Brush()->SetColor(cols.Items(column)->Color());
    canvas->FillRect(b.Cell);
  }
  if (OnBeforeCellPaint) OnBeforeCellPaint(this, canvas, node, column, cpmPaint, b.Cell, PaintInfo.ContentRect);
  // The selection covers the content only, as wide as the node's text where that is narrower.
  b.Inner = PaintInfo.ContentRect;
  const int nodeWidth = PaintInfo.NodeWidth;
  if (!gridExt && nodeWidth < b.Inner.Width()) {
    if (PaintInfo.Alignment == plat::taRightJustify) {
      b.Inner.Left = b.Inner.Right - nodeWidth;
    } else if (PaintInfo.Alignment == plat::taCenter) {
      b.Inner.Left = (b.Inner.Left + b.Inner.Right - nodeWidth) / 2;
      b.Inner.Right = b.Inner.Left + nodeWidth;
    } else {
      b.Inner.Right = b.Inner.Left + nodeWidth;
    }
  }
  const bool focusedLook = Focused() || o.PaintOptions.Has(toPopupMode);
  const bool inFocusColumn = column == FFocusedColumn || fullRow;
  const bool hotCell = node == FHotNode && (fullRow || column == FCurrentHotColumn);
  if (inFocusColumn && PaintInfo.PaintOptions.Has(poDrawSelection)) {
    if (node == FDropTargetNode) {
      if (FLastDropMode == dmOnNode || node->Has(vsSelected))
        FillSelection(b, FColors.DropTargetColor(), FColors.DropTargetBorderColor(), esSelected);
      else
        canvas->Brush()->SetStyle(plat::bsClear);
    } else if (node->Has(vsSelected) && !(b.Explorer && o.PaintOptions.Has(toHotTrack) && hotCell)) {
      FillSelection(b, SelectionColor(),
                    focusedLook ? FColors.FocusedSelectionBorderColor() : FColors.UnfocusedSelectionBorderColor(),
                    focusedLook ? esSelected : esSelectedNotFocused);
    }
  }
  if (b.Explorer && o.PaintOptions.Has(toHotTrack) && hotCell)
    DrawExplorerItem(canvas, fullRow && !gridExt ? b.Row : b.Inner,
                     node->Has(vsSelected) && !o.PaintOptions.Has(toAlwaysHideSelection) ? esHotSelected : esHot);
  PaintFocusRect(PaintInfo, b);
}

void TBaseLazyTreeControl::PaintFocusRect(const TLTPaintInfo& PaintInfo, const TCellBackground& B) {
  const TCustomLazyTreeOptions& o = TreeOptions();
  const bool fullRow = o.SelectionOptions.Has(toFullRowSelect), gridExt = o.MiscOptions.Has(toGridExtensions);
  const TColumnIndex column = PaintInfo.Column;
  if (!(column == FFocusedColumn || fullRow) || !PaintInfo.PaintOptions.Has(poDrawFocusRect) ||
      !(Focused() || o.PaintOptions.Has(toPopupMode)) || PaintInfo.Node != FFocusedNode)
    return;
  // Outside the focused column only a full-row explorer look frames the whole row.
  if (column != FFocusedColumn && !(fullRow && B.Explorer)) return;
  TRect r = !o.SelectionOptions.Has(toExtendedFocus) && fullRow && B.Explorer ? B.Row : gridExt ? B.Cell : B.Inner;
  if (!B.Explorer) {
    B.Canvas->DrawFocusRect(r);
    return;
  }
  plat::InflateRect(r, -1, -1);
  if (PaintInfo.Node->Has(vsSelected)) {
    DrawExplorerItem(B.Canvas, r, esHotSelected);
  } else {
    // The items view's focus frame: a dotted frame of the focus colour.
    B.Canvas->DrawFocusRect(r);
  }
}

// ------------------------------------------------------------------------------------------------------------
// Margins and empty cells

plat::TPoint TBaseLazyTreeControl::CellContentMargin(PLazyNode Node, TColumnIndex Column,
                                                     TLTCellContentMarginType Type, TCanvas* Canvas) {
  if (!OnBeforeCellPaint) return {0, 0};
  if (!Canvas) Canvas = this->Canvas();
  const TRect cell = GetDisplayRect(Node, Column, false);
  TRect content = cell;
  Canvas->Font()->Assign(*Font());
  // The handler only reports here: what it might paint must not reach the screen.
  const bool suspended = FRedrawSuspended;
  FRedrawSuspended = true;
  try {
    OnBeforeCellPaint(this, Canvas, Node, Column, cpmGetContentMargin, cell, content);
  } catch (...) {
    FRedrawSuspended = suspended;
    throw;
  }
  FRedrawSuspended = suspended;
  switch (Type) {
    case ccmtTopLeftOnly: return {content.Left - cell.Left, content.Top - cell.Top};
    case ccmtBottomRightOnly: return {cell.Right - content.Right, cell.Bottom - content.Bottom};
    default:
      return {content.Left - cell.Left + cell.Right - content.Right,
              content.Top - cell.Top + cell.Bottom - content.Bottom};
  }
}

bool TBaseLazyTreeControl::CellIsEmpty(PLazyNode Node, TColumnIndex Column) {
  bool empty = true;
  if (OnGetCellIsEmpty) OnGetCellIsEmpty(this, Node, Column, empty);
  return empty;
}

// ------------------------------------------------------------------------------------------------------------
// Canvas font hook

void TBaseLazyTreeControl::HookCanvasFontChange(TCanvas* Canvas) {
  plat::TFont* font = Canvas->Font();
  if (font == FHookedFont) return;  // already ours
  FOldFontChange = font->OnChange;
  FHookedFont = font;
  font->OnChange = [this](plat::TObject* Sender) { CanvasFontChanged(Sender); };
}

void TBaseLazyTreeControl::UnhookCanvasFontChange(TCanvas* Canvas) {
  if (Canvas->Font() != FHookedFont) return;
  FHookedFont->OnChange = FOldFontChange;
  FOldFontChange = nullptr;
  FHookedFont = nullptr;
}

void TBaseLazyTreeControl::CanvasFontChanged(plat::TObject* Sender) {
  FFontChanged = true;
  if (FOldFontChange) FOldFontChange(Sender);
}

}  // namespace lazytree
