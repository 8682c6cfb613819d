// Cell objects: their size and place in the cell, and the drawing of each kind.
#include <algorithm>
#include <array>
#include <cmath>

#include "controls/draw_utils.h"
#include "grid/extobj.h"
#include "grid/model/intlist.h"
#include "grid/view/render_cells.h"
#include "grid/view/render_resources.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphic.h"

namespace grid {

using plat::clNone;
using plat::TCanvas;
using plat::TColor;
using plat::TPoint;
using plat::TRect;

namespace {

bool IsCheckType(TCellType t) {
  return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
         t == ctRadioButton || t == ctTriStateCheckBox;
}
bool IsDataCheck(TCellType t) { return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox; }

// The pie gauge fills its slice by flooding from a point, which needs pixels to read; the grid may paint on a
// surface without them, so the pie is drawn on a small bitmap first and copied with its corners left out.
void DrawPie(TCanvas& C, const TRect& R, TColor Color, int Percent) {
  const TColor key = plat::ColorToRGB(Color) == TColor(0xFE00FE) ? TColor(0x00FE00) : TColor(0xFE00FE);
  plat::TBitmap bmp(R.Width(), R.Height());
  TCanvas* bc = bmp.Canvas();
  bc->Brush()->SetColor(key);
  bc->FillRect(TRect(0, 0, R.Width(), R.Height()));
  controls::DrawPieGauge(*bc, TRect(0, 0, R.Width(), R.Height()), Color, Percent, false);
  bmp.SetTransparentColor(key);
  bmp.SetTransparent(true);
  C.Draw(R.Left, R.Top, &bmp);
}

// A named bitmap of the grid, transparent at (X, Y).
void DrawGridBitmap(TCanvas& C, int X, int Y, const QString& Name) {
  if (plat::TBitmap* b = GridBitmap(Name)) C.Draw(X, Y, b);
}

}  // namespace

TCellGraphicView ViewOfCellGraphic(const TCellGraphic& G) {
  TCellGraphicView v;
  v.CellType = G.CellType;
  v.CellHAlign = G.CellHAlign;
  v.CellVAlign = G.CellVAlign;
  v.CellIndex = G.CellIndex;
  v.CellTransparent = G.CellTransparent;
  v.CellBoolean = G.CellBoolean;
  v.CellVar = G.CellVar.isValid() && G.CellVar.toBool();
  v.CellCheckBoxState = G.CellCheckBoxState;
  v.CellAngle = G.CellAngle;
  v.CellErrFrom = G.CellErrFrom;
  v.CellErrLen = G.CellErrLen;
  v.CellText = G.CellText;
  v.CellBitmap = G.CellBitmapColor;
  v.CellIcon = G.CellIconColor;
  v.Graphic = dynamic_cast<plat::TGraphic*>(G.CellBitmap ? G.CellBitmap : G.CellIcon);
  if (const auto* picture = dynamic_cast<plat::TPicture*>(G.CellBitmap)) v.Graphic = picture->Graphic();
  v.FilePicture = dynamic_cast<const TFilePicture*>(G.CellBitmap);
  v.Drawer = dynamic_cast<ICellDrawer*>(G.CellBitmap);
  v.Source = &G;
  if (const auto* list = dynamic_cast<const TIntList*>(G.CellBitmap))
    for (int i = 0; i < list->Count(); ++i) v.Images.push_back(list->Items(i));
  return v;
}

TGraphicPlacement TCellRenderer::GetCellGraphicSize(const TCellGraphicView& G, int ARow, int RCol) {
  TGraphicPlacement p;
  const int check = ControlLook.CheckSize(), radio = ControlLook.RadioSize();
  plat::TCustomImageList* images = FHost.ImageList(0, ARow);
  switch (G.CellType) {
    case ctBitmap: case ctIcon:
      if (G.Graphic) p.Width = G.Graphic->Width(), p.Height = G.Graphic->Height();
      break;
    case ctPicture: case ctFilePicture: {
      int w = 0, h = 0;
      if (G.FilePicture) w = G.FilePicture->Width(), h = G.FilePicture->Height();
      else if (G.Graphic) w = G.Graphic->Width(), h = G.Graphic->Height();
      // The picture's drawn size follows its stretch mode in the cell's size.
      if (G.Source && RCol >= 0) {
        const plat::TPoint size = G.Source->GetPictureSize(w, h, FGrid.ColWidths(FGrid.DisplColIndex(RCol)),
                                                           FGrid.RowHeights(ARow));
        w = size.X, h = size.Y;
      }
      p.Width = w, p.Height = h;
      break;
    }
    case ctInterface:
      if (G.Drawer) p.Width = G.Drawer->GetWidth(), p.Height = G.Drawer->GetHeight();
      break;
    case ctImageList: case ctDataImage:
      if (images) p.Width = images->Width(), p.Height = images->Height();
      p.TextBeside = G.CellType == ctImageList || !images;
      break;
    case ctCheckBox: case ctTriStateCheckBox: p.Width = p.Height = check; break;
    case ctDataCheckBox: case ctVirtCheckBox: case ctRowCheckBox:
      p.Width = p.Height = check;
      p.TextBeside = false;
      break;
    case ctRotated: case ctRadio: case ctProgress: case ctRangeIndicator: case ctXPProgress:
      p.TextBeside = false;
      break;
    case ctImages:
      if (images) {
        const int n = int(G.Images.size());
        p.Width = G.CellBoolean ? n * images->Width() : images->Width();
        p.Height = G.CellBoolean ? images->Height() : n * images->Height();
      }
      break;
    case ctButton: case ctBitButton:
      p.Width = G.CellIndex & 0xFFFF;
      p.Height = (unsigned(G.CellIndex) >> 16) & 0xFFFF;
      break;
    case ctProgressPie: p.Width = p.Height = 20; break;
    case ctRadioButton: p.Width = p.Height = radio + 4; break;
    case ctShape: p.Width = p.Height = FGrid.RowHeights(ARow) - 2 * Settings.XYOffset.Y; break;
    case ctRating:
      p.Width = G.CellAngle * 18;
      p.Height = 16;
      p.TextBeside = false;
      break;
    default: break;
  }
  return p;
}

TGraphicPlacement TCellRenderer::PlaceGraphic(const TCellGraphicView& G, TRect R, plat::TAlignment TextHA,
                                              TVAlignment TextVA, int TextWidth, int ARow, int RCol) {
  TGraphicPlacement p = GetCellGraphicSize(G, ARow, RCol);
  const int w = p.Width, h = p.Height;
  const int t = TextWidth > 0 ? TextWidth + 2 : 0;
  if (G.CellType != ctNode && G.CellType != ctProgress && G.CellType != ctRangeIndicator &&
      G.CellType != ctXPProgress)
    plat::InflateRect(R, 1 - Settings.XYOffset.X, 1 - Settings.XYOffset.Y);
  int x = R.Left + 1, right = -1;
  TCellVAlign va = G.CellVAlign;
  if (IsCheckType(G.CellType)) {
    if (TextVA != Settings.VAlignment) va = TextVA == vtaTop ? vaTop : TextVA == vtaCenter ? vaCenter : vaBottom;
    const bool data = IsDataCheck(G.CellType);
    if (TextHA == plat::taRightJustify)
      x = data ? R.Right - w - 1 : R.Right - t - w - 1;
    else if (TextHA == plat::taCenter)
      x = (data || t == 0) ? R.Left + std::max(0, R.Width() - w) / 2 : R.Left + std::max(0, R.Width() - t) / 2 - w;
    x = std::max(x, R.Left);
  } else {
    switch (G.CellHAlign) {
      case haLeft: x = R.Left + 1; break;
      case haRight: x = R.Right - w - 1; break;
      case haCenter: x = w <= R.Width() ? R.Left + (R.Width() - w) / 2 : R.Left + 1; break;
      case haFull: x = R.Left, right = R.Right; break;
      case haBeforeText:
        x = TextHA == plat::taLeftJustify    ? R.Left + 1
            : TextHA == plat::taRightJustify ? R.Right - t - w
                                             : R.Left + (R.Width() - t - w) / 2;
        if (x < R.Left) x = R.Left + 1;
        break;
      case haAfterText:
        x = TextHA == plat::taLeftJustify    ? R.Left + t
            : TextHA == plat::taRightJustify ? R.Right - w - 1
                                             : R.Left + t + (R.Width() - t - w) / 2;
        x = std::max(x, R.Left);
        break;
    }
  }
  int y = R.Top + 1, bottom = -1;
  switch (va) {
    case vaTop: case vaAboveText: y = R.Top + 1; break;
    case vaBottom: y = R.Bottom - h - 1; break;
    case vaCenter: y = h <= R.Height() ? R.Top + (R.Height() - h) / 2 : R.Top + 1; break;
    case vaUnderText: y = R.Bottom - h; break;
    case vaFull: y = R.Top, bottom = R.Bottom; break;
  }
  p.Rect = TRect(x, y, right >= 0 ? right : x + w, bottom >= 0 ? bottom : y + h);
  return p;
}

void TCellRenderer::DrawCheckBox(TCanvas& C, TRect R, bool Checked, plat::TCheckBoxState State, bool TriState,
                                 TControlStyle Style, bool Grayed, bool Enabled) {
  if (ControlLook.NoDisabledCheckRadioLook() || ControlLook.CheckAlwaysActive) Enabled = true;
  if (TriState) {
    Checked = State == plat::cbChecked;
    Grayed = State == plat::cbGrayed;
  }
  const int size = ControlLook.CheckSize();
  if (Style == csTheme && !plat::ThemeServices().ThemesEnabled()) Style = csClassic;
  switch (Style) {
    case csWinXP: case csExt: {
      // 1..4 the Ext bitmaps, 5..8 the XP ones: checked, unchecked, checked disabled, unchecked disabled.
      const int n = (Style == csExt ? 1 : 5) + (Checked ? 0 : 1) + (Enabled ? 0 : 2);
      DrawGridBitmap(C, R.Left, R.Top, QStringLiteral("ESGCHK0") + QString::number(n));
      return;
    }
    case csTervane: {
      const TRect b(R.Left, R.Top, R.Left + size, R.Top + size);
      C.Brush()->SetColor(Enabled ? plat::clBtnFace : plat::clBtnShadow);
      C.Pen()->SetColor(plat::clBtnFace);
      C.Rectangle(b);
      C.Pen()->SetColor(plat::clBtnHighlight);
      Line(C, b.Left, b.Bottom - 1, b.Left, b.Top);
      C.LineTo(b.Right - 1, b.Top);
      C.Pen()->SetColor(plat::clBtnShadow);
      C.LineTo(b.Right - 1, b.Bottom - 1);
      C.LineTo(b.Left, b.Bottom - 1);
      if (Checked) {
        C.Pen()->SetColor(Enabled ? ControlLook.Color() : plat::clGray);
        Line(C, b.Left + 2, b.Top + size / 2, b.Left + 2, b.Bottom - 2);
        Line(C, b.Left + 3, b.Top - 1 + size / 2, b.Left + 3, b.Bottom - 3);
        Line(C, b.Left + 2, b.Bottom - 2, b.Right - 2, b.Top + 2);
        Line(C, b.Left + 3, b.Bottom - 2, b.Right - 1, b.Top + 2);
      }
      return;
    }
    case csGlyph: {
      plat::TBitmap* g = Checked ? ControlLook.CheckedGlyph() : ControlLook.UnCheckedGlyph();
      if (!g->Empty()) {
        g->SetTransparent(true);
        C.Draw(R.Left, R.Top, g);
      }
      return;
    }
    case csTheme: {
      const int state = Grayed ? (Enabled ? 9 : 12) : Checked ? (Enabled ? 5 : 8) : (Enabled ? 1 : 4);
      if (controls::PaintThemePart(C, nullptr, "button", 3, state, TRect(R.Left, R.Top, R.Left + size, R.Top + size)))
        return;
      break;
    }
    default: break;
  }
  const int dx = (R.Width() - size) / 2, dy = (R.Height() - size) / 2;
  const TRect box(R.Left + dx, R.Top + dy, R.Left + dx + size, R.Top + dy + size);
  unsigned state = plat::DFCS_BUTTONCHECK;
  if (Checked) state |= plat::DFCS_CHECKED;
  if (Grayed) state |= plat::DFCS_CHECKED | plat::DFCS_BUTTON3STATE;
  if (Style == csFlat) state |= plat::DFCS_FLAT;
  if (!Enabled) state |= plat::DFCS_INACTIVE;
  plat::DrawFrameControl(C.Handle(), box, plat::DFC_BUTTON, state);
}

void TCellRenderer::DrawRadioGroup(TCanvas& C, TRect R, bool Upward, double Scale, TControlStyle Style,
                                   bool Selected, const QStringList& Items, bool Disabled, bool Horizontal,
                                   int ItemIndex, int Count, const QString& CellText) {
  if (ControlLook.NoDisabledCheckRadioLook() || ControlLook.RadioAlwaysActive) Disabled = false;
  if (Style == csTheme && !plat::ThemeServices().ThemesEnabled()) Style = csClassic;
  C.SetBkMode(plat::TRANSPARENT);
  if (Selected && Settings.ShowSelection && Settings.Colors.SelectionTextColor != clNone)
    C.Font()->SetColor(Settings.Colors.SelectionTextColor);
  const int dir = Upward ? -1 : 1;
  const int h = C.TextHeight(QStringLiteral("gh"));
  const int size = ControlLook.RadioSize();
  const bool classic = Style == csClassic || Style == csFlat;
  int before = 0;
  const auto text = [&C](int x, int y, const QString& s) {
    C.Brush()->SetStyle(plat::bsClear);
    C.TextOut(x, y, s);
  };
  for (int r = 1; r <= Count; ++r) {
    const QString item = Items.value(r - 1);
    const bool checked = r - 1 == ItemIndex || (ItemIndex == -1 && !Items.isEmpty() && item == CellText);
    int x, y;
    if (classic) {
      if (Horizontal) {
        x = (r - 1) * size + before + R.Left + 2;
        y = R.Top + (R.Height() - size) / 2;
        if (!item.isEmpty()) text(x + int(std::lround(Scale * size)), y - 2, item);
      } else if (!item.isEmpty()) {
        x = R.Left + 2;
        y = R.Top + h * (r - 1) * dir + 2;
        text(x + int(std::lround(Scale * (size + 4))), y - 2, item);
      } else {
        x = R.Left + (R.Width() - int(std::lround(Scale * size))) / 2;
        y = R.Top + (R.Height() - size) / 2;
      }
      const int s = int(std::lround(Scale * (Style == csFlat ? size + 2 : size)));
      unsigned state = plat::DFCS_BUTTONRADIO;
      if (Style == csFlat) state |= plat::DFCS_FLAT;
      if (Disabled) state |= plat::DFCS_INACTIVE;
      if (checked) state |= plat::DFCS_CHECKED;
      plat::DrawFrameControl(C.Handle(), TRect(x, y, x + s, y + s), plat::DFC_BUTTON, state);
    } else {
      const int hh = std::max(16, h);
      const bool bitmaps = Style != csTervane && Style != csTheme;
      if (Horizontal) {
        x = before + R.Left + r * 16 - 14;
        y = R.Top + (R.Height() - 16) / 2;
        if (!item.isEmpty()) text(x + 16, bitmaps ? y + 1 : y - 2, item);
      } else if (!item.isEmpty()) {
        x = R.Left + 2;
        y = R.Top + hh * (r - 1) * dir + 2;
        text(bitmaps ? R.Left + 18 : R.Left + 20, bitmaps ? y + 1 : R.Top + hh * (r - 1) * dir, item);
      } else {
        x = R.Left + (R.Width() - 16) / 2;
        y = R.Top + (R.Height() - 16) / 2;
      }
      if (Style == csTervane || (Style == csTheme && !controls::PaintThemePart(
                                                         C, nullptr, "button", 2,
                                                         checked ? (Disabled ? 8 : 5) : (Disabled ? 4 : 1),
                                                         TRect(x, y, x + 16, y + 16)))) {
        const std::array<TPoint, 4> outer{TPoint(x + 2, y + 8), TPoint(x + 8, y + 2), TPoint(x + 14, y + 8),
                                          TPoint(x + 8, y + 14)};
        C.Brush()->SetColor(plat::clBtnFace);
        C.Pen()->SetColor(plat::clBtnFace);
        C.Polygon(outer);
        C.Pen()->SetColor(checked ? plat::clGray : plat::clWhite);
        Line(C, x + 2, y + 8, x + 8, y + 2);
        C.LineTo(x + 14, y + 8);
        C.Pen()->SetColor(checked ? plat::clWhite : plat::clGray);
        C.LineTo(x + 8, y + 14);
        C.LineTo(x + 2, y + 8);
        if (checked) {
          const std::array<TPoint, 4> inner{TPoint(x + 6, y + 8), TPoint(x + 8, y + 6), TPoint(x + 10, y + 8),
                                            TPoint(x + 8, y + 10)};
          C.Brush()->SetColor(ControlLook.Color());
          C.Pen()->SetColor(ControlLook.Color());
          C.Polygon(inner);
        }
      } else if (Style == csGlyph) {
        plat::TBitmap* g = checked ? ControlLook.RadioOnGlyph() : ControlLook.RadioOffGlyph();
        if (!g->Empty()) {
          g->SetTransparent(true);
          C.Draw(x, y, g);
        }
      } else if (bitmaps) {
        const int n = (Style == csExt ? 1 : 5) + (checked ? 0 : 1) + (Disabled ? 2 : 0);
        DrawGridBitmap(C, x, y, QStringLiteral("ESGRAD0") + QString::number(n));
      }
    }
    before += item.isEmpty() ? 0 : C.TextWidth(item);
  }
}

void TCellRenderer::DrawSortIndicator(TCanvas& C, int ACol, int Y, int X) {
  TSortView& sort = Settings.Sort;
  const int at = sort.IndexShow ? sort.IndexOf(ACol) : -1;
  if (at >= 0) {
    DrawSortIndexGlyph(C, at, Y, X);
    return;
  }
  const bool descending = sort.Direction == sdDescending;
  if (sort.HasGlyphPair()) {
    plat::TBitmap& g = descending ? sort.Glyphs->DownGlyph : sort.Glyphs->UpGlyph;
    g.SetTransparent(true);
    C.Draw(X - 4, Y - 4, &g);
    if (descending) C.Brush()->SetColor(FGrid.FixedColor());
  } else if (descending) {
    C.Pen()->SetColor(plat::clWhite);
    Line(C, X + 4, Y - 4, X, Y + 4);
    C.Pen()->SetColor(plat::clGray);
    C.LineTo(X - 4, Y - 4);
    C.LineTo(X + 4, Y - 4);
  } else {
    C.Pen()->SetColor(plat::clWhite);
    Line(C, X - 4, Y + 4, X + 4, Y + 4);
    C.LineTo(X, Y - 4);
    C.Pen()->SetColor(plat::clGray);
    C.LineTo(X - 4, Y + 4);
  }
  C.Pen()->SetColor(plat::clBlack);
}

// The position of a column in the multi-column sort (At from 0), on a triangle or glyph pointing its way.
void TCellRenderer::DrawSortIndexGlyph(TCanvas& C, int At, int Y, int X) {
  TSortView& sort = Settings.Sort;
  const bool descending = sort.Index[At] & 0x80000000u;
  C.Brush()->SetColor(sort.IndexColor);
  C.Pen()->SetColor(plat::clBlack);
  C.SetBkMode(plat::TRANSPARENT);
  plat::TFont saved;
  saved.Assign(C.Font());
  C.Font()->SetColor(plat::clBlack);
  C.Font()->SetSize(6);
  if (sort.HasIndexGlyphPair()) {
    // The up glyph marks a descending key and the down glyph an ascending one.
    plat::TBitmap& g = descending ? sort.Glyphs->IndexUpGlyph : sort.Glyphs->IndexDownGlyph;
    g.SetTransparent(true);
    C.Draw(X - 7, Y - 7, &g);
  } else {
    const std::array<TPoint, 3> tri =
        descending ? std::array<TPoint, 3>{TPoint(X - 7, Y - 5), TPoint(X + 7, Y - 5), TPoint(X, Y + 8)}
                   : std::array<TPoint, 3>{TPoint(X - 6, Y + 8), TPoint(X + 6, Y + 8), TPoint(X, Y - 4)};
    C.Polygon(tri);
  }
  C.Brush()->SetStyle(plat::bsClear);
  C.TextOut(X - 2, descending ? Y - 4 : Y - 2, QString::number(At + 1));
  C.Brush()->SetStyle(plat::bsSolid);
  C.SetFont(saved);
}

void TCellRenderer::DrawCellGraphic(TCanvas& C, TCellWork& W, TRect R) {
  const TCellGraphicView& g = *W.Graphic;
  const TGraphicPlacement p = PlaceGraphic(g, R, W.HA, W.VA, W.TextWidth, W.Row, W.RCol);
  const int x = p.Rect.Left, y = p.Rect.Top;
  const bool editable = FHost.IsCellEditable(W.RCol, W.Row);
  const TControlStyle style = ControlLook.ControlStyle();
  switch (g.CellType) {
    case ctBitmap:
      if (g.Graphic) {
        // A transparent bitmap leaves out its bottom-left pixel's colour.
        const bool transparent = g.Graphic->Transparent();
        if (g.CellTransparent) g.Graphic->SetTransparent(true);
        C.Draw(x, y, g.Graphic);
        g.Graphic->SetTransparent(transparent);
      }
      break;
    case ctIcon:
      if (g.Graphic) C.Draw(x, y, g.Graphic);
      break;
    case ctPicture:
      if (g.Graphic) {
        if (g.CellAngle != 0)
          C.StretchDraw(p.Rect, g.Graphic);
        else
          C.Draw(x, y, g.Graphic);
      }
      break;
    case ctFilePicture:
      if (g.FilePicture) g.FilePicture->DrawPicture(C, p.Rect);
      break;
    case ctInterface: DrawInterface(C, W, TRect(R.Left - 1, R.Top - 1, R.Right, R.Bottom)); break;
    case ctImageList: case ctDataImage: {
      plat::TCustomImageList* il = FHost.ImageList(W.RCol, W.Row);
      // A data image whose text is not a number shows no image.
      const std::optional<int> data = g.CellType == ctDataImage ? FHost.CellInt(W.RCol, W.Row) : 0;
      const int idx = data ? *data + g.CellIndex : -1;
      if (il && idx >= 0 && idx < il->Count()) il->Draw(&C, x, y, idx, true);
      break;
    }
    case ctImages: {
      plat::TCustomImageList* il = FHost.ImageList(W.RCol, W.Row);
      if (!il) break;
      int ix = x, iy = y;
      for (int idx : g.Images) {
        if (idx >= 0 && idx < il->Count()) il->Draw(&C, ix, iy, idx, true);
        (g.CellBoolean ? ix : iy) += g.CellBoolean ? il->Width() : il->Height();
      }
      break;
    }
    case ctCheckBox: case ctRowCheckBox:
      DrawCheckBox(C, p.Rect, g.CellBoolean, plat::cbUnchecked, false, style, g.CellAngle > 0, editable);
      break;
    case ctDataCheckBox: case ctVirtCheckBox:
      DrawCheckBox(C, p.Rect, FGrid.Cells(W.RCol, W.Row) == FHost.CheckTrueText(W.RCol, W.Row), plat::cbUnchecked,
                   false, style, false, editable);
      break;
    case ctTriStateCheckBox:
      DrawCheckBox(C, p.Rect, false, g.CellCheckBoxState, true, style, false, editable);
      break;
    case ctRadioButton: {
      const int rx = x + Settings.XYOffset.X, s = ControlLook.RadioSize();
      // One button without a text: no item to compare with the cell text, so only CellBoolean checks it.
      DrawRadioGroup(C, TRect(rx, y, rx + s, y + s), false, 1.0, style, false, {}, !editable, false,
                     g.CellBoolean ? 0 : -1, 1, QString());
      break;
    }
    case ctRadio: {
      const QStringList items = FHost.RadioStrings(W.RCol, W.Row);
      DrawRadioGroup(C, R, false, 1.0, style, W.State.Contains(gdSelected), items, !editable, g.CellBoolean,
                     g.CellIndex, int(items.size()), FGrid.Cells(W.RCol, W.Row));
      break;
    }
    case ctNode: DrawNode(C, W, R); break;
    case ctProgress: case ctXPProgress: DrawProgress(C, W, R); break;
    case ctProgressPie:
      DrawPie(C, TRect(x, y, x + 20, y + 20), g.CellBitmap, g.CellAngle);
      break;
    case ctRangeIndicator: {
      TRect b = R;
      plat::InflateRect(b, -ControlLook.ProgressMarginX(), -ControlLook.ProgressMarginY());
      // The negative colour is kept in CellBitmap, the positive one in CellIcon.
      controls::DrawSignedBar(C, b, FHost.CellInt(W.RCol, W.Row).value_or(0), g.CellIndex, g.CellBoolean,
                              g.CellBitmap, g.CellIcon);
      break;
    }
    case ctComment:
      if (ControlLook.CommentColor() != clNone) {
        const TColor c = g.CellAngle != int(clNone) && g.CellAngle != 0 ? TColor(g.CellIndex)
                                                                        : ControlLook.CommentColor();
        const std::array<TPoint, 3> tri{TPoint(R.Right - 7, R.Top), TPoint(R.Right - 2, R.Top),
                                        TPoint(R.Right - 2, R.Top + 5)};
        C.Brush()->SetColor(c);
        C.Pen()->SetColor(c);
        C.Polygon(tri);
        C.Brush()->SetColor(FGrid.Color());
      }
      break;
    case ctButton: case ctBitButton: case ctExpand: DrawButton(C, W, R, p.Rect); break;
    case ctShape:
      controls::PaintCellShape(C, x, y, p.Width - 1, p.Height - 1, controls::TCellShape(g.CellAngle), g.CellBitmap,
                               TColor(g.CellIndex));
      break;
    case ctRating: DrawRating(C, W, x, y); break;
    case ctRotated: DrawRotatedText(C, W, R); break;
    default: break;
  }
}

void TCellRenderer::DrawRating(TCanvas& C, const TCellWork& W, int X, int Y) {
  const TCellGraphicView& g = *W.Graphic;
  const double v = std::trunc(FHost.CellFloat(W.RCol, W.Row).value_or(0) * 2) / 2;
  for (int i = 1; i <= g.CellAngle; ++i, X += 18) {
    controls::PaintCellShape(C, X, Y, 16, 16, controls::csStar, i > v ? g.CellBitmap : TColor(g.CellIndex),
                             i > v ? g.CellBitmap : TColor(g.CellIndex));
    if (i - 1 < v && v < i)
      controls::PaintCellShape(C, X, Y, 16, 16, controls::csHalfStar, TColor(g.CellIndex), TColor(g.CellIndex));
  }
}

// Text turned by CellAngle degrees (counter-clockwise), centred in the cell and clipped to it.
void TCellRenderer::DrawRotatedText(TCanvas& C, const TCellWork& W, TRect R) {
  const QString text = FGrid.Cells(W.RCol, W.Row);
  plat::InflateRect(R, -2, -2);
  const double a = W.Graphic->CellAngle * M_PI / 180.0;
  const int w = C.TextWidth(text), h = C.TextHeight(text);
  // The text box's centre goes to the cell's centre; the origin is its turned top-left corner.
  const double cx = (R.Left + R.Right) / 2.0, cy = (R.Top + R.Bottom) / 2.0;
  const double ox = cx - (w / 2.0) * std::cos(a) - (h / 2.0) * std::sin(a);
  const double oy = cy + (w / 2.0) * std::sin(a) - (h / 2.0) * std::cos(a);
  const int orientation = C.Font()->Orientation();
  C.Font()->SetOrientation(W.Graphic->CellAngle * 10);
  C.Brush()->SetStyle(plat::bsClear);
  C.TextRect(R, int(std::lround(ox)), int(std::lround(oy)), text);
  C.Font()->SetOrientation(orientation);
  C.Brush()->SetStyle(plat::bsSolid);
  if (SortIndicatorShown(W.RCol, W.Row)) DrawSortIndicator(C, W.RCol, R.Top + 8, R.Right - 10);
}

void TCellRenderer::DrawNode(TCanvas& C, const TCellWork& W, TRect R) {
  const TCellGraphicView& g = *W.Graphic;
  const TGridColors& colors = Settings.Colors;
  const int I = CellNode.NodeIndent();
  const auto n = [&](int row) { return FHost.NodeLevel(row) * I; };
  const bool collapsed = g.CellBoolean;
  const bool normalRow = W.Row >= FGrid.FixedRows() && W.Row < FGrid.RowCount() - Settings.FixedFooters;
  if (CellNode.ShowTree() && normalRow) {
    C.Pen()->SetColor(CellNode.TreeColor());
    C.Pen()->SetWidth(1);
    const TGridLook l = colors.Look;
    if (W.Col < FGrid.FixedCols() && !colors.Flat && (l == glSoft || l == glExt || l == glXP || l == glListView))
      R.Left += 1;
    const int x = R.Left + n(W.Row) - I + I / 2 + 2, mid = R.Top + R.Height() / 2;
    if (W.Row + 1 < FGrid.RowCount() && n(W.Row + 1) > 0 && !(collapsed && n(W.Row + 1) < n(W.Row)))
      Line(C, x, mid, x, R.Bottom);
    if (W.Row > 0 && n(W.Row - 1) >= n(W.Row)) Line(C, x, R.Top, x, R.Top + 6);
  }
  const int left = R.Left + n(W.Row) - I / 2 - 4;
  // The colour the glyph bitmaps stand on: the cell's, or the selection's.
  TColor back = C.Brush()->Color();
  if (back == clNone) back = FGrid.FixedCols() > 0 ? FGrid.FixedColor() : FGrid.Color();
  if (Settings.ShowSelection) {
    const bool rowSel = Settings.DisjunctRowSelect;
    if ((W.State.Contains(gdSelected) && !rowSel) ||
        (rowSel && FHost.IsRowFlagged(W.Row) && FGrid.Options().Contains(plat::goRowSelect) &&
         W.Col >= FGrid.FixedCols()))
      back = colors.SelectionColor;
  }
  const TNodeType type = CellNode.NodeType();
  const int h = R.Height();
  if (type == cnLeaf) {
    controls::DrawResourceBitmap(C, back, TRect(left, R.Top + (h - 12) / 2, R.Right, R.Bottom),
                                 collapsed ? QStringLiteral("ESGLEAFCLOSE") : QStringLiteral("ESGLEAFOPEN"));
    return;
  }
  if (type == cnXP) {
    controls::DrawResourceBitmap(C, back, TRect(left + 4, R.Top + (h - 10) / 2, R.Right, R.Bottom),
                                 collapsed ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"));
    return;
  }
  if (type == cnGlyph && !CellNode.ExpandGlyph()->Empty() && !CellNode.ContractGlyph()->Empty()) {
    plat::TBitmap* glyph = collapsed ? CellNode.ContractGlyph() : CellNode.ExpandGlyph();
    controls::DrawBitmapOnColor(C, *glyph, back, TRect(left, R.Top + (h - glyph->Height()) / 2, R.Right, R.Bottom));
    return;
  }
  const int top = R.Top + std::max(0, h - 8) / 2;
  const TRect box(left + 4, top, left + 12, top + 8);
  if (type == cn3D) {
    // A raised frame around the box: white top-left, grey bottom-right.
    TRect f = box;
    plat::InflateRect(f, 1, 1);
    controls::FillRectColor(C, f, CellNode.Color);
    C.Pen()->SetWidth(1);
    C.Pen()->SetColor(plat::clWhite);
    Line(C, f.Left, f.Bottom - 1, f.Left, f.Top);
    C.LineTo(f.Right - 1, f.Top);
    C.Pen()->SetColor(plat::clGray);
    C.LineTo(f.Right - 1, f.Bottom - 1);
    C.LineTo(f.Left, f.Bottom - 1);
  }
  C.Brush()->SetColor(CellNode.Color);
  if (type == cnFlat) {
    C.Pen()->SetColor(CellNode.NodeColor);
    C.Rectangle(box.Left, box.Top, box.Right + 1, box.Bottom + 1);
    Line(C, box.Left + 2, box.Top + 4, box.Left + 7, box.Top + 4);
    if (collapsed) Line(C, box.Left + 4, box.Top + 2, box.Left + 4, box.Top + 7);
  } else {
    TRect e = box;
    C.FillRect(e);
    plat::DrawEdge(C.Handle(), e, collapsed ? plat::EDGE_RAISED : plat::EDGE_SUNKEN, plat::BF_RECT | plat::BF_SOFT);
  }
}

// The threshold gauge's look from the grid's progress appearance; the uncompleted part takes the cell's colour
// unless the appearance names one.
controls::GaugeAppearance TCellRenderer::GaugeLook(TColor CellColor) const {
  controls::GaugeAppearance a;
  a.Font = FGrid.Font();
  a.BackgroundColor = CellColor;
  const TGridProgressAppearance* p = Settings.ProgressAppearance;
  if (!p) return a;
  a.Level0Color = p->Level0Color(), a.Level0ColorTo = p->Level0ColorTo();
  a.Level1Color = p->Level1Color(), a.Level1ColorTo = p->Level1ColorTo();
  a.Level2Color = p->Level2Color(), a.Level2ColorTo = p->Level2ColorTo();
  a.Level3Color = p->Level3Color(), a.Level3ColorTo = p->Level3ColorTo();
  a.Level1Perc = p->Level1Perc(), a.Level2Perc = p->Level2Perc();
  a.ShowBorder = p->ShowBorder(), a.BorderColor = p->BorderColor();
  a.Stacked = p->Stacked(), a.ShowPercentage = p->ShowPercentage();
  a.CompletionSmooth = p->CompletionSmooth(), a.ShowGradient = p->ShowGradient(), a.Steps = p->Steps();
  a.PercentFontColor = p->CompleteFontColor();
  if (p->UnCompleteColor() != clNone) a.BackgroundColor = p->UnCompleteColor();
  return a;
}

void TCellRenderer::DrawProgress(TCanvas& C, const TCellWork& W, TRect R) {
  const TCellGraphicView& g = *W.Graphic;
  const int mx = ControlLook.ProgressMarginX(), my = ControlLook.ProgressMarginY();
  if (g.CellType == ctXPProgress) {
    const controls::GaugeAppearance a = GaugeLook(C.Brush()->Color());
    plat::InflateRect(R, -mx, -my);
    R.Right -= 1;
    R.Bottom -= 1;
    // An empty range shows 0 per cent; the result stays within 0..100.
    const double range = double(g.CellErrLen) - g.CellErrFrom;
    const double value = FHost.CellInt(W.RCol, W.Row).value_or(0);
    const int pct = range == 0 ? 0 : int(std::lround(ClampPercent(std::abs(value - g.CellErrFrom) / range * 100)));
    controls::PaintThresholdGauge(C, R, pct, a);
    return;
  }
  const double value = FHost.CellFloat(W.RCol, W.Row).value_or(0);
  const TControlStyle style = ControlLook.ControlStyle();
  if ((style == csWinXP || style == csTheme) && plat::ThemeServices().ThemesAvailable() && ControlLook.ProgressXP()) {
    plat::InflateRect(R, -mx, -my);
    if (controls::PaintThemePart(C, nullptr, "Progress", plat::PP_BAR, 0, R)) {
      plat::InflateRect(R, -2, -2);
      TRect chunk = R;
      chunk.Right = R.Left + int(std::lround(ClampPercent(value) * R.Width() / 100));
      if (chunk.Right > chunk.Left) controls::PaintThemePart(C, nullptr, "Progress", plat::PP_CHUNK, 1, chunk);
      return;
    }
    plat::InflateRect(R, mx, my);
  }
  plat::InflateRect(R, -2, -2);
  const TColor fill = g.CellBitmap;
  const TColor fillText = g.CellBoolean ? TColor(g.CellIndex) : (plat::ColorToRGB(fill) ^ 0xFFFFFF);
  const TColor rest = g.CellIcon;
  const TColor restText = g.CellBoolean ? TColor(g.CellAngle) : (plat::ColorToRGB(rest) ^ 0xFFFFFF);
  controls::DrawLinearGauge(C, R, fill, fillText, rest, restText, value, mx, my, g.CellErrFrom, g.CellErrLen,
                            g.CellText, ControlLook.ProgressBorderColor, false);
}

}  // namespace grid
