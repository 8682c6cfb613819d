// Cell objects: their size and place in the cell, and the drawing of each kind.
#include <algorithm>
#include <array>
#include <cmath>

#include "controls/draw_utils.h"
#include "grid/render_cells.h"
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

void Line(TCanvas& C, int x1, int y1, int x2, int y2) {
  C.MoveTo(x1, y1);
  C.LineTo(x2, y2);
}

// The bitmap looks of check boxes and radio buttons, drawn in place of their resource bitmaps: a rounded box
// (XP: blue frame, Ext: grey frame on 20 x 20) with a green tick, or a round button with a green dot.
void DrawGlyphCheck(TCanvas& C, TRect R, int Size, bool Checked, bool Enabled, bool Ext) {
  const TRect box(R.Left, R.Top, R.Left + Size - 3, R.Top + Size - 3);
  C.Pen()->SetColor(!Enabled ? Hex(0xCAC8BB) : Ext ? Hex(0x808080) : Hex(0x1C5180));
  C.Pen()->SetWidth(1);
  C.Brush()->SetColor(Enabled ? Hex(0xF4F4F0) : Hex(0xFFFFFF));
  C.Rectangle(box);
  if (!Checked) return;
  C.Pen()->SetColor(Enabled ? Hex(0x21A121) : Hex(0xCAC8BB));
  for (int d = 0; d < 3; ++d) {
    Line(C, box.Left + 3, box.Top + 5 + d, box.Left + 5, box.Top + 7 + d);
    Line(C, box.Left + 5, box.Top + 7 + d, box.Left + 10, box.Top + 2 + d);
  }
}

void DrawGlyphRadio(TCanvas& C, int x, int y, bool Checked, bool Enabled, bool Ext) {
  C.Pen()->SetColor(!Enabled ? Hex(0xCAC8BB) : Ext ? Hex(0x808080) : Hex(0x1C5180));
  C.Brush()->SetColor(Enabled ? Hex(0xF4F4F0) : Hex(0xFFFFFF));
  C.Ellipse(x + 1, y + 1, x + 14, y + 14);
  if (!Checked) return;
  C.Pen()->SetColor(Enabled ? Hex(0x21A121) : Hex(0xCAC8BB));
  C.Brush()->SetColor(C.Pen()->Color());
  C.Ellipse(x + 4, y + 4, x + 11, y + 11);
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
  return v;
}

TGraphicPlacement TCellRenderer::GetCellGraphicSize(const TCellGraphicView& G, int ARow) {
  TGraphicPlacement p;
  const int check = ControlLook.CheckSize(), radio = ControlLook.RadioSize();
  plat::TCustomImageList* images = FHost.ImageList(0, ARow);
  switch (G.CellType) {
    case ctBitmap: case ctIcon: case ctPicture: case ctFilePicture:
      if (G.Graphic) p.Width = G.Graphic->Width(), p.Height = G.Graphic->Height();
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
                                              TVAlignment TextVA, int TextWidth, int ARow) {
  TGraphicPlacement p = GetCellGraphicSize(G, ARow);
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
  switch (Style) {
    case csWinXP: DrawGlyphCheck(C, R, 16, Checked, Enabled, false); return;
    case csExt: DrawGlyphCheck(C, R, 20, Checked, Enabled, true); return;
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
        DrawGlyphRadio(C, x, y, checked, !Disabled, Style == csExt);
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
  const TGraphicPlacement p = PlaceGraphic(g, R, W.HA, W.VA, W.TextWidth, W.Row);
  const int x = p.Rect.Left, y = p.Rect.Top;
  const bool editable = FHost.IsCellEditable(W.RCol, W.Row);
  const TControlStyle style = ControlLook.ControlStyle();
  switch (g.CellType) {
    case ctBitmap: case ctIcon: case ctPicture: case ctFilePicture:
      if (g.Graphic) {
        if (g.CellType == ctPicture && g.CellAngle != 0)
          C.StretchDraw(p.Rect, g.Graphic);
        else
          C.Draw(x, y, g.Graphic);
      }
      break;
    case ctImageList: case ctDataImage: {
      plat::TCustomImageList* il = FHost.ImageList(W.RCol, W.Row);
      const int idx = g.CellType == ctDataImage ? int(FHost.CellFloat(W.RCol, W.Row)) + g.CellIndex : g.CellIndex;
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
      DrawRadioGroup(C, TRect(rx, y, rx + s, y + s), false, 1.0, style, false, {QString()}, !editable, false,
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
      controls::DrawPieGauge(C, TRect(x, y, x + 20, y + 20), g.CellBitmap, g.CellAngle, false);
      break;
    case ctRangeIndicator: {
      TRect b = R;
      plat::InflateRect(b, -ControlLook.ProgressMarginX(), -ControlLook.ProgressMarginY());
      controls::DrawSignedBar(C, b, int(FHost.CellFloat(W.RCol, W.Row)), g.CellIndex, g.CellBoolean, g.CellIcon,
                              g.CellBitmap);
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
  const double v = std::trunc(FHost.CellFloat(W.RCol, W.Row) * 2) / 2;
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
  const int I = CellNode.NodeIndent();
  const auto n = [&](int row) { return FHost.NodeLevel(row) * I; };
  const bool collapsed = g.CellBoolean;
  if (CellNode.ShowTree() && W.Row >= FGrid.FixedRows()) {
    C.Pen()->SetColor(CellNode.TreeColor());
    C.Pen()->SetWidth(1);
    const int x = R.Left + n(W.Row) - I + I / 2 + 2;
    if (W.Row + 1 < FGrid.RowCount() && n(W.Row + 1) > 0 && !(collapsed && n(W.Row + 1) < n(W.Row)))
      Line(C, x, R.Top + R.Height() / 2, x, R.Bottom);
    if (W.Row > 0 && n(W.Row - 1) >= n(W.Row)) Line(C, x, R.Top, x, R.Top + 6);
  }
  TRect b = R;
  b.Left = R.Left + n(W.Row) - I / 2 - 4;
  TColor back = C.Brush()->Color();
  if (back == clNone) back = FGrid.FixedCols() > 0 ? FGrid.FixedColor() : FGrid.Color();
  const TNodeType type = CellNode.NodeType();
  const int top = R.Top + std::max(0, R.Height() - 8) / 2;
  const TRect box(b.Left + 4, top, b.Left + 12, top + 8);
  if (type == cn3D) {
    C.Brush()->SetColor(CellNode.Color);
    TRect e = box;
    plat::DrawEdge(C.Handle(), e, plat::BDR_RAISEDINNER, plat::BF_RECT);
  }
  if (type == cnGlyph && !CellNode.ExpandGlyph()->Empty() && !CellNode.ContractGlyph()->Empty()) {
    plat::TBitmap* glyph = collapsed ? CellNode.ContractGlyph() : CellNode.ExpandGlyph();
    controls::DrawBitmapOnColor(C, *glyph, back,
                                TRect(b.Left, R.Top + (R.Height() - glyph->Height()) / 2, R.Right, R.Bottom));
    return;
  }
  C.Brush()->SetColor(CellNode.Color);
  if (type == cnFlat || type == cnXP || type == cnLeaf) {
    // The XP and leaf looks are the flat box with rounded colours (their bitmaps are not shipped).
    C.Pen()->SetColor(type == cnXP ? Hex(0x7898B5) : CellNode.NodeColor);
    if (type == cnXP) C.Brush()->SetColor(plat::clWhite);
    C.Rectangle(box.Left, box.Top, box.Right + 1, box.Bottom + 1);
    C.Pen()->SetColor(type == cnXP ? plat::clBlack : CellNode.NodeColor);
    Line(C, box.Left + 2, box.Top + 4, box.Left + 7, box.Top + 4);
    if (collapsed) Line(C, box.Left + 4, box.Top + 2, box.Left + 4, box.Top + 7);
  } else {
    TRect e = box;
    C.FillRect(e);
    plat::DrawEdge(C.Handle(), e, collapsed ? plat::EDGE_RAISED : plat::EDGE_SUNKEN, plat::BF_RECT | plat::BF_SOFT);
  }
}

void TCellRenderer::DrawProgress(TCanvas& C, const TCellWork& W, TRect R) {
  const TCellGraphicView& g = *W.Graphic;
  const double value = FHost.CellFloat(W.RCol, W.Row);
  if (g.CellType == ctXPProgress) {
    controls::GaugeAppearance a;
    a.Font = FGrid.Font();
    a.BackgroundColor = C.Brush()->Color();
    plat::InflateRect(R, -ControlLook.ProgressMarginX(), -ControlLook.ProgressMarginY());
    R.Right -= 1;
    R.Bottom -= 1;
    // An empty range shows 0 per cent; the result stays within 0..100.
    const int range = g.CellErrLen - g.CellErrFrom;
    const int pct = range == 0 ? 0 : int(ClampPercent(std::lround(std::abs(value - g.CellErrFrom) / range * 100)));
    controls::PaintThresholdGauge(C, R, pct, a);
    return;
  }
  plat::InflateRect(R, -2, -2);
  const TColor fill = g.CellBitmap;
  const TColor fillText = g.CellBoolean ? TColor(g.CellIndex) : (plat::ColorToRGB(fill) ^ 0xFFFFFF);
  const TColor rest = g.CellIcon;
  const TColor restText = g.CellBoolean ? TColor(g.CellAngle) : (plat::ColorToRGB(rest) ^ 0xFFFFFF);
  controls::DrawLinearGauge(C, R, fill, fillText, rest, restText, value, ControlLook.ProgressMarginX(),
                            ControlLook.ProgressMarginY(), g.CellErrFrom, g.CellErrLen, g.CellText,
                            ControlLook.ProgressBorderColor, false);
}

int TCellRenderer::ButtonLook() const {
  if (Settings.Colors.Flat && Settings.Colors.Tones.Background.BrushColor != clNone) return 3;
  return ControlLook.FlatButton() ? 2 : 1;
}

void TCellRenderer::DrawButton(TCanvas& C, TCellWork& W, TRect R, TRect Obj) {
  const TCellGraphicView& g = *W.Graphic;
  const bool enabled = ControlLook.NoDisabledButtonLook() || FHost.IsCellEditable(W.RCol, W.Row);
  int state = g.CellBoolean ? 2 : 0;
  if (!enabled && g.CellType != ctExpand) state = 3;
  if (g.CellType == ctExpand) Obj = TRect(R.Right - 13, R.Top, R.Right, R.Top + 13);
  // The offset is kept for callers that read it; hit tests place the button with PlaceGraphic.
  g.CellValue = (std::uint32_t(std::clamp(Obj.Top - R.Top, 0, 0xFFFF)) << 16) |
                std::uint32_t(std::clamp(Obj.Left - R.Left, 0, 0xFFFF));
  controls::PaintPushButtonFace(C, nullptr, Obj, Settings.Colors.Tones, state, ButtonLook());
  TRect face = Obj;
  if (state == 2) plat::OffsetRect(face, 1, 1);
  if (g.CellType == ctExpand) {
    C.Pen()->SetColor(plat::clBlack);
    C.Pen()->SetWidth(1);
    const int r = R.Right, t = R.Top;
    if (g.CellVar) {
      Line(C, r - 10, t + 8, r - 7, t + 5);
      C.LineTo(r - 3, t + 9);
    } else {
      Line(C, r - 10, t + 5, r - 7, t + 8);
      C.LineTo(r - 3, t + 4);
    }
    return;
  }
  int textLeft = face.Left + 1;
  if (g.CellType == ctBitButton && g.Graphic && !g.Graphic->Empty()) {
    int gy = (face.Height() - g.Graphic->Height()) / 2;
    if (gy < 1) gy = 3;
    const bool beside = !g.CellText.isEmpty();
    const int gx = beside ? face.Left + 3 : face.Left + (face.Width() - g.Graphic->Width()) / 2;
    C.Draw(gx, face.Top + gy, g.Graphic);
    if (beside) textLeft = gx + g.Graphic->Width() + 4;
  }
  if (g.CellText.isEmpty()) return;
  C.SetBkMode(plat::TRANSPARENT);
  C.Font()->SetColor(state == 3 ? plat::clGrayText : plat::clBtnText);
  TRect t(textLeft, face.Top, face.Right, face.Bottom);
  const unsigned lines = g.CellText.contains(u'\r') ? plat::DT_WORDBREAK : plat::DT_SINGLELINE;
  C.DrawText(g.CellText, t, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_END_ELLIPSIS | lines);
}

}  // namespace grid
