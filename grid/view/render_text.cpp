// Cell text: plain text with alignment, word wrap and ellipsis; mini-HTML; rich text; the sort indicator
// beside the text; measuring; tooltip texts.
#include <QRegularExpression>

#include <array>
#include <cmath>

#include "controls/draw_utils.h"
#include "controls/mini_html.h"
#include "controls/text_utils.h"
#include "grid/view/html_cell.h"
#include "grid/view/render_cells.h"
#include "grid/view/rich_cell.h"
#include "platform/graphics/drawtext.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"

namespace grid {

using plat::clNone;
using plat::TCanvas;
using plat::TColor;
using plat::TRect;


QString BalloonText(const QString& Text) {
  QString s = Text;
  s.replace(u'\t', u' ');
  int skip = 0;
  while (skip < Text.size() && (Text[skip] == u'\r' || Text[skip] == u'\n' || Text[skip] == u'\t')) ++skip;
  s = s.mid(skip);
  if (s.size() > 2048) s = s.left(2045) + QStringLiteral("...");
  return s;
}

QString BalloonTitle(const QString& Title) {
  return Title.size() > 100 ? Title.left(97) + QStringLiteral("...") : Title;
}

QString TCellRenderer::FormatCellText(int ACol, int ARow) {
  const QString text = FGrid.Cells(ACol, ARow);
  const int kind = controls::NumericTextKind(text.trimmed());
  bool isFloat = kind == 0 || kind == 1 || kind == 5;
  QString format = FHost.FloatFormatText();
  if (!FHost.DoGetFloatFormat(ACol, ARow, isFloat, format)) return text;
  if (!isFloat || format.isEmpty()) return text;
  // A format is applied through the checked formatter: a wrong or hostile one leaves the cell text.
  try {
    if (format.contains(u'd')) {
      const std::optional<int> v = FHost.CellInt(ACol, ARow);
      return v ? plat::Format(format, {qint64(*v)}) : text;
    }
    const std::optional<double> v = FHost.CellFloat(ACol, ARow);
    return v ? plat::Format(format, {*v}) : text;
  } catch (const plat::Exception&) {
    return text;
  }
}

QString TCellRenderer::CellBalloonText(int ACol, int ARow) {
  int bc = ACol, br = ARow;
  FGrid.ResolveBaseCell(ACol, ARow, bc, br);
  if (bc < 0 || br < 0 || bc >= FGrid.ColCount() || br >= FGrid.RowCount()) return QString();
  const int rcol = FHost.RealColumn(bc);
  QString text = FGrid.Cells(rcol, br);
  switch (controls::CellTextType(text, true)) {
    case 1: text = controls::HTMLToPlainText(text); break;
    case 2: text = RichTextToPlain(text); break;
    case 5: text = controls::DecodeWideText(text); break;
    default: break;
  }
  return BalloonText(text);
}

// The filter row's glyph at the cell's right edge; true when the text must keep clear of it.
bool TCellRenderer::DrawFilterGlyph(TCanvas& C, const TCellWork& W) {
  if (W.Row != Settings.FilterDropDownRow || !FHost.HasFilterList(W.RCol)) return false;
  plat::TBitmap* glyph = FHost.FilterActive(W.RCol) ? Settings.FilterGlyphActive : Settings.FilterGlyph;
  const int x = W.Rect.Right - 16, y = W.Rect.Top;
  if (glyph && !glyph->Empty()) {
    const bool transparent = glyph->Transparent();
    glyph->SetTransparent(true);
    C.Draw(x, y, glyph);
    glyph->SetTransparent(transparent);
  } else {
    controls::DrawResourceBitmap(C, FGrid.FixedColor(), TRect(x, y, x + 16, y + 16), QStringLiteral("ESGFILT"));
  }
  return true;
}

// The colours of a selected cell's text (and of its links), or its own colours where the selection does not
// show.
void TCellRenderer::SelectedTextColours(TCanvas& C, const TCellWork& W, TColor& Link) {
  const TRenderSettings& s = Settings;
  const TGridColors& colors = s.Colors;
  const int fc = FGrid.FixedCols();
  const bool rowSelected = FGrid.Options().Contains(plat::goRowSelect) && FHost.IsRowFlagged(W.Row) &&
                           W.Col >= fc && W.Col < FGrid.ColCount() - s.FixedRightCols;
  if (!(W.State.Contains(gdSelected) || rowSelected) || W.Fixed) return;
  if (s.ShowSelection) {
    if (colors.SelectionColor != clNone) C.Brush()->SetColor(colors.SelectionColor);
    if (colors.SelectionTextColor != clNone && FGrid.Enabled()) C.Font()->SetColor(colors.SelectionTextColor);
    if (colors.SelectionTextColor != clNone) Link = colors.SelectionTextColor;
    return;
  }
  const bool checkBox = W.Graphic && (W.Graphic->CellType == ctCheckBox || W.Graphic->CellType == ctDataCheckBox ||
                                      W.Graphic->CellType == ctVirtCheckBox || W.Graphic->CellType == ctRowCheckBox ||
                                      W.Graphic->CellType == ctTriStateCheckBox);
  if (!FHost.HasFocusNow() || checkBox) {
    C.Brush()->SetColor(W.SavedBrush);
    C.Font()->SetColor(W.SavedFont);
    Link = s.URLColor;
  }
}

bool TCellRenderer::SortIndicatorShown(int RCol, int ARow) {
  const TSortView& s = Settings.Sort;
  const int at = s.IndexOf(RCol);
  return s.Show && ARow == s.Row && (RCol == s.Column || at >= 0) && FGrid.FixedRows() > 0 &&
         (RCol >= FGrid.FixedCols() || s.FixedCols) && (at <= 0 || s.IndexShow);
}

// The kind of a cell text; a formula's text is replaced by what the host shows for it and classified again.
int TCellRenderer::FormulaAware(int RCol, int ARow, QString& Text) {
  const int kind = controls::CellTextType(Text, Settings.EnableHTML);
  if (kind != 3) return kind;
  FHost.GetFormulaText(RCol, ARow, Text);
  return controls::CellTextType(Text, Settings.EnableHTML);
}

void TCellRenderer::DrawCellText(TCanvas& C, TCellWork& W) {
  const TRenderSettings& s = Settings;
  W.Link = s.URLColor;
  SelectedTextColours(C, W, W.Link);
  QString text = GetFormattedCell(W.RCol, W.Row);
  int kind = FormulaAware(W.RCol, W.Row, text);
  if (kind == 5) text = controls::DecodeWideText(text);
  if (FHost.IsPasswordCell(W.Col, W.Row)) {
    // Shown as plain text whatever it holds: markup would give away what it says.
    text = FHost.CellPasswordChar().repeated(text.length());
    kind = 0;
  }
  TRect r = W.Rect;
  if (W.Fixed) {
    r.Left += FGrid.GridLineWidth();
    r.Top += FGrid.GridLineWidth();
  }
  // A scrolled scroll-bar cell shows its text moved up by the position, inside the cell only.
  const int savedDC = W.ScrollPos > 0 ? C.SaveDC() : 0;
  if (W.ScrollPos > 0) {
    C.IntersectClipRect(W.Rect);
    r.Top -= W.ScrollPos;
  }
  W.FilterGlyph = DrawFilterGlyph(C, W);
  const bool normal = !W.Fixed;
  if (normal && !FHost.MouseButtonDown() &&
      ((s.DisjunctRowSelect && !FHost.IsRowFlagged(W.Row)) || (s.DisjunctColSelect && !FHost.IsColFlagged(W.Col)))) {
    // Outside the flagged rows and columns a cell shows its own colours.
    W.Link = s.URLColor;
    C.Brush()->SetColor(FGrid.Color());
    C.Font()->SetColor(FGrid.Font()->Color());
    FHost.DoGetCellColor(W.RCol, W.Row, W.State, C.Brush(), C.Font());
    if (s.ZoomFactor != 0) C.Font()->SetSize(std::max(1, C.Font()->Size() + s.ZoomFactor));
  }
  if (!BackGround.Bitmap()->Empty() || BackGround.Display() == bdGradientHorz ||
      BackGround.Display() == bdGradientVert)
    DrawCellBackground(C, W);
  if (s.SelectionRectangle) DrawSelectionRectangle(C, W);
  if (W.TextBeside) DrawTextBeside(C, W, text, kind, r);
  if (W.ScrollPos > 0) C.RestoreDC(savedDC);
}

void TCellRenderer::DrawTextBeside(TCanvas& C, TCellWork& W, const QString& text, int kind, TRect r) {
  const TRenderSettings& s = Settings;
  const bool filter = W.FilterGlyph;
  if (filter) r.Right -= kind == 1 ? 18 : 16;
  if (!s.XYOffsetTopLeftOnly) r.Right -= s.XYOffset.X;
  r.Left += s.XYOffset.X;
  r.Top += s.XYOffset.Y;
  int indent = 0;
  if (W.Graphic) {
    if (W.Graphic->CellHAlign == haBeforeText) r.Left += W.GraphicW;
    if (W.Graphic->CellHAlign == haAfterText) r.Right -= W.GraphicW;
    if (W.Graphic->CellVAlign == vaAboveText) r.Top += W.GraphicH;
    if (W.Graphic->CellVAlign == vaUnderText) r.Bottom -= W.GraphicH;
    if (W.Graphic->CellHAlign == haLeft ||
        (W.Graphic->CellHAlign == haBeforeText && W.HA == plat::taLeftJustify))
      indent = W.GraphicW;
  }
  if (W.Col == 0 && FHost.NodeLevel(W.Row) > 0 && !FHost.IsNodeRow(W.Row))
    r.Left -= FHost.NodeLevel(W.Row) * CellNode.NodeIndent();
  switch (kind) {
    case 1: DrawHTMLText(C, W, text, r); break;
    case 2: DrawRichText(C, W, text, r); break;
    default: DrawPlainText(C, W, text, r, indent);
  }
}

void TCellRenderer::DrawHTMLText(TCanvas& C, TCellWork& W, const QString& Text, TRect R) {
  const TRenderSettings& s = Settings;
  R.Left -= 1;
  const bool sort = SortIndicatorShown(W.RCol, W.Row);
  if (sort) R.Right -= 10;
  THTMLCell html;
  html.Text = Text;
  html.Rect = R;
  html.Images = FHost.ImageList(W.RCol, W.Row);
  html.URLColor = W.Link;
  html.HoverLink = FHost.HoverLink(W.Col, W.Row);
  html.HoverUnderline = s.URLUnderlineOnHover;
  html.Blink = FHost.BlinkPhase();
  html.WordWrap = W.WW;
  html.Render(C);
  W.TextWidth = html.Width + 2;
  if (sort) {
    const int y = W.VA == vtaTop ? R.Top + 8 : W.VA == vtaCenter ? R.Top + (R.Bottom - R.Top) / 2 : R.Bottom - 8;
    DrawSortIndicator(C, W.RCol, y, R.Right + 2);
  }
}

// Rich text (a cell starting "{\"): its formatted runs on the cell's page. Selected cells show it in the
// selection text colour.
void TCellRenderer::DrawRichText(TCanvas& C, TCellWork& W, const QString& Text, TRect R) {
  (void)R;
  const TRenderSettings& s = Settings;
  const bool selected = W.State.Contains(gdSelected) && !W.Fixed && s.ShowSelection;
  C.Pen()->SetColor(C.Brush()->Color());
  if (!(selected && !FHost.HasFocusNow() && s.Colors.SelectionColor == clNone)) C.FillRect(W.Rect);
  C.Brush()->SetStyle(plat::bsClear);
  const TColor force =
      selected && !W.State.Contains(gdFocused) && !s.SelectionRTFKeep ? s.Colors.SelectionTextColor : clNone;
  W.TextWidth = DrawRichCellText(C, Text, W.Rect, s.XYOffset.X, force, W.WW) + 2;
  C.Brush()->SetStyle(plat::bsSolid);
  C.Font()->SetColor(plat::clBlack);
}

void TCellRenderer::DrawPlainText(TCanvas& C, TCellWork& W, const QString& Text, TRect R, int Indent) {
  const TRenderSettings& s = Settings;
  QString text = Text;
  const bool sort = SortIndicatorShown(W.RCol, W.Row);
  if (sort && W.HA == plat::taCenter) R.Left += 10;
  const bool url = s.URLShow && controls::IsURLText(text);
  if (url) {
    if (!s.URLFull) controls::RemoveURLScheme(text);
    {
      plat::TFontStyles st = C.Font()->Style();
      st.Include(plat::fsUnderline);
      C.Font()->SetStyle(st);
    }
    C.Font()->SetColor(W.Link);
  }
  unsigned flags = plat::DT_EDITCONTROL;
  const int lines = s.Multilinecells ? controls::TextLineCount(text, true) : 1;
  if (lines == 1 && !W.WW) {
    const int cr = text.indexOf(u'\r');
    const int lf = text.indexOf(u'\n');
    const int cut = cr < 0 ? lf : lf < 0 ? cr : std::min(cr, lf);
    if (cut >= 0) text.truncate(cut);
    flags = plat::DT_SINGLELINE;
    if (s.EnhTextSize) flags |= plat::DT_END_ELLIPSIS;
  }
  if (W.WW && !s.Multilinecells && s.EnhTextSize) flags |= plat::DT_END_ELLIPSIS;
  flags |= plat::DT_EXPANDTABS | plat::DT_NOPREFIX;
  flags |= W.HA == plat::taRightJustify ? plat::DT_RIGHT : W.HA == plat::taCenter ? plat::DT_CENTER : plat::DT_LEFT;
  flags |= W.VA == vtaBottom ? plat::DT_BOTTOM : W.VA == vtaCenter ? plat::DT_VCENTER : plat::DT_TOP;
  flags |= (W.WW || s.Multilinecells) ? (plat::DT_WORDBREAK | plat::DT_EDITCONTROL) : plat::DT_SINGLELINE;
  C.SetBkMode(plat::TRANSPARENT);
  if (W.Graphic && !text.isEmpty()) {
    TRect calc = R;
    C.DrawText(text, calc, flags | plat::DT_CALCRECT);
    W.TextWidth = calc.Width() + 2;
  }
  TRect drawn = R;
  C.DrawText(text, drawn, flags);
  if (W.Graphic && W.Graphic->CellErrLen > 0 &&
      (W.Graphic->CellType == ctEmpty || W.Graphic->CellType == ctValue))
    DrawMarker(C, W, text, R);
  if (sort) {
    TRect cell = W.Rect;
    if (W.FilterGlyph) cell.Right -= 16;
    const int tw = C.TextWidth(text);
    const int q = std::max(0, std::min(cell.Right - cell.Left - 16, tw));
    const int x = W.HA == plat::taLeftJustify ? cell.Left + q + Indent + 10
                  : W.HA == plat::taRightJustify ? cell.Right - q - 10
                                                 : cell.Left + 8;
    const int y = W.VA == vtaTop ? R.Top + 8 : W.VA == vtaCenter ? R.Top + (R.Bottom - R.Top) / 2 : R.Bottom - 8;
    DrawSortIndicator(C, W.RCol, y, x);
  }
  if (url) {
    plat::TFontStyles st = C.Font()->Style();
    st.Exclude(plat::fsUnderline);
    C.Font()->SetStyle(st);
  }
}

// The spell-check error range of the first line, underlined where the line was drawn.
void TCellRenderer::DrawMarker(TCanvas& C, const TCellWork& W, const QString& Text, TRect R) {
  const int h = C.TextHeight(QStringLiteral("hg"));
  const int w = C.TextWidth(Text);
  const int x = W.HA == plat::taRightJustify ? R.Right - w : W.HA == plat::taCenter ? R.Left + (R.Width() - w) / 2 : R.Left;
  const int y = W.VA == vtaBottom ? R.Bottom - h : W.VA == vtaCenter ? R.Top + (R.Height() - h) / 2 : R.Top;
  // The underline measures from a one-line edit's margin of 1 pixel.
  controls::DrawErrorUnderline(C, Text, TRect(x - 1, y, x - 1 + w, y + h), h, W.Graphic->CellErrFrom,
                               W.Graphic->CellErrLen);
  C.Pen()->SetColor(plat::clBlack);
}

plat::TSize TCellRenderer::GetCellTextSize(int ACol, int ARow, bool VS, bool SB) {
  return MeasureCellText(ACol, FGrid.DisplColIndex(ACol), ARow, VS, SB);
}

plat::TSize TCellRenderer::MeasureCellText(int ACol, int DisplayCol, int ARow, bool VS, bool SB) {
  TRenderSettings& s = Settings;
  QString text = GetFormattedCell(ACol, ARow);
  int kind = controls::CellTextType(text, s.EnableHTML);
  TCanvas& C = *FGrid.Canvas();
  TGridDrawState state;
  plat::TBrush brush;
  GetFontProperties(DisplayCol, ACol, ARow, state, C.Font(), &brush, true);
  const bool header = DisplayCol < FGrid.FixedCols() || ARow < FGrid.FixedRows();
  if (header && s.ActiveCellShow && s.ActiveCellFont.Style().Contains(plat::fsBold)) {
    plat::TFontStyles st = C.Font()->Style();
    st.Include(plat::fsBold);
    C.Font()->SetStyle(st);
  }
  C.Font()->SetSize(std::max(1, C.Font()->Size() + s.ZoomFactor));
  if (kind == 3) {
    FHost.GetFormulaText(ACol, ARow, text);
    kind = controls::CellTextType(text, s.EnableHTML);
  }
  TRect r = FGrid.CalcCellRect(DisplayCol, ARow);
  if (s.XYOffsetTopLeftOnly) {
    r.Left += s.XYOffset.X;
    r.Top += s.XYOffset.Y;
  } else {
    plat::InflateRect(r, -s.XYOffset.X, -s.XYOffset.Y);
  }
  if (SB) r.Right -= 17;
  if (kind == 1) {
    THTMLCell html;
    html.Text = text;
    html.Rect = TRect(r.Left, r.Top, VS ? r.Right : 0xFFFF, 0xFFFF);
    html.CalcOnly = true;
    html.Render(C);
    return {html.Width + 2, html.Height + 2};
  }
  if (kind == 2) text = RichTextToPlain(text);
  int angle = 0;
  const bool rotated = FHost.IsRotated(ACol, ARow, angle);
  plat::TSize size;
  if (VS) {
    plat::InflateRect(r, -2, -2);
    // The cell being edited counts an empty last line too.
    if (FHost.IsEditingCell(DisplayCol, ARow) && text.endsWith(u'\n')) text += u'w';
    TRect calc = r;
    C.DrawText(text, calc, plat::DT_CALCRECT | plat::DT_EDITCONTROL | plat::DT_NOPREFIX | plat::DT_EXPANDTABS |
                               (rotated ? plat::DT_SINGLELINE : plat::DT_WORDBREAK));
    size = {calc.Width(), calc.Height()};
  } else {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!s.Multilinecells) lines = QStringList{lines.value(0)};
    int width = 0;
    for (QString line : lines) {
      if (s.URLShow && !s.URLFull && controls::IsURLText(line)) controls::RemoveURLScheme(line);
      width = std::max(width, C.TextWidth(line));
    }
    size = {width, C.TextHeight(QStringLiteral("gh")) * int(lines.size())};
  }
  if (!rotated) return size;
  // Turned text takes the box of its turned extent, with a margin of 6 on each side.
  const double a = angle * M_PI / 180.0;
  const int hs = std::abs(int(size.cy * std::sin(a))), wc = std::abs(int(size.cx * std::cos(a)));
  const int hc = std::abs(int(size.cy * std::cos(a))), ws = std::abs(int(size.cx * std::sin(a)));
  return {std::abs(hs - wc) + 12, std::abs(hc - ws) + 12};
}

void TCellRenderer::DrawRichCell(int ACol, int ARow, TRect ARect, TCanvas& ACanvas) {
  if (FGrid.ComponentState().Contains(plat::csDesigning)) return;
  const TRenderSettings& s = Settings;
  const int dc = FGrid.DisplColIndex(ACol);
  const bool current = dc == FGrid.Col() && ARow == FGrid.Row();
  const bool selected = (FHost.IsSelectedCell(dc, ARow) && !current) ||
                        (s.DisjunctRowSelect && FHost.IsRowFlagged(ARow)) ||
                        (s.DisjunctColSelect && FHost.IsColFlagged(dc));
  const TColor force = selected && !s.SelectionRTFKeep ? s.Colors.SelectionTextColor : clNone;
  DrawRichCellText(ACanvas, FGrid.Cells(ACol, ARow), ARect, s.XYOffset.X, force, s.WordWrap);
}

}  // namespace grid
