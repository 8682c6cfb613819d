#pragma once
// The cell renderer of the string grid: it resolves each cell's brush, font, gradient, alignment and fixed-cell
// look (ResolveVisualProperties), and paints the cell contents over the background the base cell painter laid:
// fixed cells by look, the row indicator and modified bar, the cell object (images, check boxes, radio buttons,
// node glyphs, gauges, buttons, ratings, comments), the text (plain, mini-HTML, rich text) with its sort
// indicator, cell borders and the focus rectangle. The grid owns one renderer and forwards its two virtual
// steps to it; what only the grid object knows (cell objects, selection, nodes, editability) it answers
// through TRenderHost.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

#include "controls/draw_utils.h"
#include "grid/basegrid.h"
#include "grid/model/cell_graphic.h"
#include "grid/model/options.h"
#include "grid/view/options_look.h"
#include "grid/view/render_looks.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/imagelist.h"

namespace grid {

// A one-pixel line in the canvas's pen, from (x1, y1) up to but not including (x2, y2).
inline void Line(plat::TCanvas& C, int x1, int y1, int x2, int y2) {
  C.MoveTo(x1, y1);
  C.LineTo(x2, y2);
}

enum TSortDirection { sdAscending, sdDescending };

// An object that draws a cell of its own (a ctInterface cell object): its size and whether it draws before
// the cell text.
class TFilePicture;

class ICellDrawer {
 public:
  virtual ~ICellDrawer() = default;
  virtual void Draw(plat::TCanvas& Canvas, plat::TRect Rect, TBaseGrid* Grid, bool Selected, int ARow, int ACol) = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual bool DrawsBeforeText() { return false; }
};

// A cell object as drawing reads it. Several types keep colours in the number fields (CellBitmap, CellIcon,
// CellIndex, CellAngle); bitmap types keep their graphic in Graphic.
struct TCellGraphicView {
  TCellType CellType = ctNone;
  TCellHAlign CellHAlign = haLeft;
  TCellVAlign CellVAlign = vaTop;
  int CellIndex = 0;
  bool CellTransparent = false;
  bool CellBoolean = false;
  bool CellVar = false;
  plat::TCheckBoxState CellCheckBoxState = plat::cbUnchecked;
  int CellAngle = 0;
  int CellErrFrom = 0, CellErrLen = 0;
  QString CellText{};
  plat::TColor CellBitmap = 0, CellIcon = 0;  // colours of the gauges, shapes and ratings
  plat::TGraphic* Graphic = nullptr;          // ctBitmap, ctIcon, ctPicture, ctBitButton glyph
  std::vector<int> Images{};                  // ctImages: image indexes
  ICellDrawer* Drawer = nullptr;              // ctInterface: the object that draws the cell
  const TFilePicture* FilePicture = nullptr;  // ctFilePicture: the picture that draws itself
  const TCellGraphic* Source = nullptr;       // the stored object (none for drawing-only objects)
  // Written by painting: the button's offset in its cell, (y shl 16) + x.
  mutable std::uint32_t CellValue = 0;
};

// The drawing view of a stored cell object.
TCellGraphicView ViewOfCellGraphic(const TCellGraphic& G);

// The placed object: its rectangle in the cell and whether the text is drawn beside it.
struct TGraphicPlacement {
  plat::TRect Rect;
  int Width = 0, Height = 0;
  bool TextBeside = true;
};

class TCellRenderer;

// What only the grid object knows. Indexes: ACol a display column, RCol a real one.
class TRenderHost {
 public:
  virtual ~TRenderHost() = default;
  virtual const TCellGraphicView* CellGraphicView(int RCol, int ARow) { (void)RCol, (void)ARow; return nullptr; }
  virtual int RealColumn(int ACol) { return ACol; }
  virtual bool IsSelectedCell(int ACol, int ARow);
  virtual bool IsCellEditable(int RCol, int ARow) { (void)RCol, (void)ARow; return true; }
  // Disabled rows show in the disabled font colour only while the grid keeps an enabled-rows list.
  virtual bool UseEnabledRows() { return false; }
  virtual bool IsRowDisabled(int ARow) { (void)ARow; return false; }
  virtual bool IsRowModified(int ARow) { (void)ARow; return false; }
  virtual int NodeLevel(int ARow) { (void)ARow; return 0; }
  virtual bool IsNodeRow(int ARow) { (void)ARow; return false; }
  virtual bool NodeCollapsed(int ARow) { (void)ARow; return false; }
  // 0 none, 1 a line from the top to mid-height, 2 a line to the bottom.
  virtual int NodeSpanType(int ARow) { (void)ARow; return 0; }
  virtual QStringList RadioStrings(int RCol, int ARow) { (void)RCol, (void)ARow; return {}; }
  virtual plat::TCustomImageList* ImageList(int RCol, int ARow) { (void)RCol, (void)ARow; return nullptr; }
  // The cell's number, or none when its text is not one (painted as no value, never as an error).
  virtual std::optional<double> CellFloat(int RCol, int ARow);
  virtual std::optional<int> CellInt(int RCol, int ARow);
  // The text that shows a data check box checked.
  virtual QString CheckTrueText(int RCol, int ARow) { (void)RCol, (void)ARow; return QStringLiteral("Y"); }
  // A password cell shows each character of its text as PasswordChar (ACol: display column).
  virtual bool IsPasswordCell(int ACol, int ARow) { (void)ACol, (void)ARow; return false; }
  virtual QString CellPasswordChar() { return QStringLiteral("*"); }
  // The text shown for a formula cell (a text starting "="); the cell text unchanged by default.
  virtual void GetFormulaText(int ACol, int ARow, QString& Text) { (void)ACol, (void)ARow, (void)Text; }
  // The cell text as displayed (RCol): by default the renderer's number formatting.
  virtual QString GetFormattedCell(int ACol, int ARow);
  // The grid's float format and its format event; false when no handler is assigned.
  virtual QString FloatFormatText() { return QStringLiteral("%.2f"); }
  virtual bool DoGetFloatFormat(int ACol, int ARow, bool& IsFloat, QString& Format);
  virtual bool HasFocusNow();
  // Disjunct selection flags (rows by real row when persistent) and whether a mouse button is held.
  virtual bool IsRowFlagged(int ARow) { (void)ARow; return false; }
  virtual bool IsColFlagged(int ACol) { (void)ACol; return false; }
  virtual bool IsCellFlagged(int ACol, int ARow) { (void)ACol, (void)ARow; return false; }
  virtual bool MouseButtonDown() { return false; }
  virtual int RealRow(int ARow) { return ARow; }
  // Columns with a filter list show the filter glyph in the filter row.
  virtual bool HasFilterList(int RCol) { (void)RCol; return false; }
  virtual bool FilterActive(int RCol) { (void)RCol; return false; }
  // Cells whose editor is a drop-down list or a spin edit (their buttons can show at all times).
  virtual bool HasComboBox(int RCol, int ARow) { (void)RCol, (void)ARow; return false; }
  virtual bool HasSpinEdit(int RCol, int ARow) { (void)RCol, (void)ARow; return false; }
  // The grid's cell-colour virtuals (active-cell header, cell-property colours, OnGetCellColor) and the one
  // used while printing.
  virtual void DoGetCellColor(int RCol, int ARow, TGridDrawState AState, plat::TBrush* ABrush, plat::TFont* AFont);
  virtual void DoGetCellPrintColor(int RCol, int ARow, TGridDrawState AState, plat::TBrush* ABrush,
                                   plat::TFont* AFont);
  // Fonts of printing: nullptr keeps the display font.
  virtual const plat::TFont* PrintFont(bool Fixed) { (void)Fixed; return nullptr; }
  // Alignment and word wrap of a cell as the grid decides them (RCol).
  virtual void CellAlignment(int RCol, int ARow, plat::TAlignment& HA, TVAlignment& VA);
  virtual void DoGetWordWrap(int ACol, int ARow, bool& WordWrap) { (void)ACol, (void)ARow, (void)WordWrap; }
  // The drawing events the grid raises besides the renderer's own slots.
  virtual void DoGetCellGradient(int RCol, int ARow, plat::TColor& Color, plat::TColor& ColorTo,
                                 plat::TColor& MirrorFrom, plat::TColor& MirrorTo, TCellGradientDirection& GD);
  virtual void DoGetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders);
  // False when no cell can have borders of its own (nothing asks DoGetCellBorder then).
  virtual bool MayHaveCellBorders();
  virtual void DoGetCellBorderProp(int RCol, int ARow, plat::TPen* L, plat::TPen* T, plat::TPen* R, plat::TPen* B);
  virtual void DoPainted() {}
  // The link under the mouse in this cell (-1: none) and the blink phase of the grid timer.
  virtual int HoverLink(int ACol, int ARow) { (void)ACol, (void)ARow; return -1; }
  virtual bool BlinkPhase() { return false; }
  // The cell being edited (its measured text counts an empty last line).
  virtual bool IsEditingCell(int ACol, int ARow) { (void)ACol, (void)ARow; return false; }
  // Rotated text: true with the angle in degrees.
  virtual bool IsRotated(int RCol, int ARow, int& Angle);
  // The hot and pressed state of fixed cells and buttons, kept by the mouse handling.
  virtual bool IsHoverButton(int ACol, int ARow) { (void)ACol, (void)ARow; return false; }
  virtual bool FixedDropDownShown(int RCol) { (void)RCol; return false; }
  virtual bool FixedDropDownOpen() { return false; }
  // The column being moved by the mouse (display index), -1 when none.
  virtual int MovingColumn() { return -1; }
  // Scroll-bar cells: position, page and range (page or range below 0: none).
  virtual int ScrollPosition(int RCol, int ARow) { (void)RCol, (void)ARow; return 0; }
  virtual bool ScrollProp(int RCol, int ARow, int& PageSize, int& Range);
  // The floating footer and the search panel take this much of the client's bottom.
  virtual int FooterHeight() { return 0; }
  // The form designer with its column numbers and its quick-configuration panel.
  virtual bool ShowsColumnNumbers() { return false; }
  virtual void PaintDesignHelper() {}
  TBaseGrid* Grid = nullptr;
  TCellRenderer* Renderer = nullptr;
};

struct TSortView {
  int Column = -1, Row = 0;
  bool Show = false, IndexShow = false, FixedCols = false;
  TSortDirection Direction = sdAscending;
  // The multi-column sort list: real columns, a descending one with the top bit set.
  std::vector<std::uint32_t> Index{};
  plat::TColor IndexColor = plat::clYellow;
  // Bitmaps drawn instead of the line glyphs: UpGlyph/DownGlyph only as a pair, the index glyphs likewise.
  struct TGlyphs {
    plat::TBitmap UpGlyph, DownGlyph, IndexUpGlyph, IndexDownGlyph;
  };
  std::shared_ptr<TGlyphs> Glyphs = std::make_shared<TGlyphs>();
  bool HasGlyphPair() const { return !Glyphs->UpGlyph.Empty() && !Glyphs->DownGlyph.Empty(); }
  bool HasIndexGlyphPair() const { return !Glyphs->IndexUpGlyph.Empty() && !Glyphs->IndexDownGlyph.Empty(); }
  int IndexOf(int ACol) const {
    for (std::size_t i = 0; i < Index.size(); ++i)
      if (int(Index[i] & 0x7FFFFFFFu) == ACol) return int(i);
    return -1;
  }
};

// The settings of the renderer (the grid's published drawing properties).
struct TRenderSettings {
  TGridColors Colors;
  TSortView Sort;
  plat::TFont FixedFont, ActiveCellFont;
  bool ShowSelection = true, ActiveCellShow = false, UseDisabledFont = false, HideFocusRect = false;
  bool NoDefaultDraw = false, NoImageAndText = false, SelectionColorMixer = false, EnableHTML = true;
  bool Multilinecells = false, EnhTextSize = false, URLShow = false, URLFull = false, WordWrap = true;
  bool SelectionRectangle = false, ShowModified = false, XYOffsetTopLeftOnly = false;
  bool DisjunctRowSelect = false, DisjunctColSelect = false, DisjunctCellSelect = false;
  bool RowSelectPersistent = false;
  int SelectionColorMixerFactor = 70, ZoomFactor = 0, FixedRightCols = 0, FixedFooters = 0;
  plat::TColor DisabledFontColor = plat::clSilver, URLColor = plat::clBlue;
  plat::TColor ShowModifiedColor = plat::clRed, SelectionRectangleColor = plat::clBlack;
  plat::TPoint XYOffset{2, 2};
  TVAlignment VAlignment = vtaCenter;
  plat::TBitmap* RowIndicator = nullptr;
  int FilterDropDownRow = 0;
  bool FixedRowAlways = false;
  plat::TBitmap* FilterGlyph = nullptr;  // none: the "ESGFILT" bitmap on the fixed colour
  plat::TBitmap* FilterGlyphActive = nullptr;
  bool SelectionResizer = false, URLUnderlineOnHover = false, SelectionRTFKeep = false;
  // The threshold gauges of ctXPProgress cells (none: the gauge's own defaults).
  const TGridProgressAppearance* ProgressAppearance = nullptr;
};

using TGetCellGradientEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, plat::TColor& Color,
                                                 plat::TColor& ColorTo, plat::TColor& ColorMirror,
                                                 plat::TColor& ColorMirrorTo, TCellGradientDirection& GD)>;
using TCustomCellDrawEvent = std::function<void(plat::TObject* Sender, plat::TCanvas& Canvas, int ACol, int ARow,
                                                TGridDrawState AState, plat::TRect ARect, bool Printing)>;
using TGetCellBorderEvent =
    std::function<void(plat::TObject* Sender, int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders)>;
using TGetCellBorderPropEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, plat::TPen* LeftPen,
                                                   plat::TPen* TopPen, plat::TPen* RightPen, plat::TPen* BottomPen)>;
using TGetFloatFormatEvent =
    std::function<void(plat::TObject* Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat)>;

// MixSelectionColor: the selection colour over a cell colour by Factor per cent.
plat::TColor MixSelectionColor(plat::TColor Selection, plat::TColor Cell, bool Mixer, int Factor);
// Tooltip text of a cell: tabs become blanks, leading line breaks and tabs go, more than 2048 characters are
// cut to 2045 and "..."; a title over 100 characters to 97 and "...".
QString BalloonText(const QString& Text);
QString BalloonTitle(const QString& Title);
// ClampPercent: 0..100.
double ClampPercent(double Value);

// The working values of one cell while its contents are painted.
struct TCellWork {
  int Col = 0, RCol = 0, Row = 0;
  plat::TRect Rect;
  TGridDrawState State;
  plat::TAlignment HA = plat::taLeftJustify;
  TVAlignment VA = vtaTop;
  bool WW = false, Fixed = false;
  plat::TColor ColorTo = plat::clNone, MirrorColor = plat::clNone, MirrorColorTo = plat::clNone;
  plat::TColor SavedBrush = plat::clNone, SavedFont = plat::clNone;
  const TCellGraphicView* Graphic = nullptr;
  int GraphicW = 0, GraphicH = 0;
  bool TextBeside = true;
  int TextWidth = 0;
  int ScrollPos = 0;  // a scroll-bar cell's position: its text moves up by it
  plat::TColor Link = plat::clBlue;  // the colour of links in the text
  bool FilterGlyph = false;          // the filter glyph took the right 16 pixels
  bool Ctl3D = true;
};

class TCellRenderer {
 public:
  TCellRenderer(TBaseGrid& Grid, TRenderHost& Host);

  TRenderSettings Settings;
  TControlLook ControlLook{nullptr};
  TCellNode CellNode{nullptr};
  TBackGround BackGround{nullptr};
  TBands Bands;

  TGetCellGradientEvent OnGetCellGradient;
  TCustomCellDrawEvent OnCustomCellBkgDraw, OnCustomCellDraw;
  TGetFloatFormatEvent OnGetFloatFormat;
  TGetCellBorderEvent OnGetCellBorder;
  TGetCellBorderPropEvent OnGetCellBorderProp;
  plat::TNotifyEvent OnPainted;

  // ---- cell colours, fonts and alignment
  void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                           plat::TBrush* ABrush, plat::TColor& AColorTo, plat::TColor& AMirrorColor,
                           plat::TColor& AMirrorColorTo, plat::TFont* AFont, plat::TAlignment& HA, TVAlignment& VA,
                           bool& WW, TCellGradientDirection& GD);
  // A fixed cell: left of FixedCols, above FixedRows, or what the grid's IsFixed says (footers, right columns,
  // OnIsFixedCell).
  bool IsFixedCell(int ACol, int ARow);
  // The font of a cell for measuring: the fixed or the normal font, the cell's own font properties, then the
  // grid's cell-colour virtual.
  void GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, plat::TFont* AFont,
                         plat::TBrush* ABrush, bool Remap);

  // ---- the contents of one cell over its background
  void DrawCellContents(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect, TGridDrawState AState);

  // ---- cell objects
  // The object's size; pictures take their stretched size in the cell of column RCol (-1: their own size).
  TGraphicPlacement GetCellGraphicSize(const TCellGraphicView& G, int ARow, int RCol = -1);
  // The object's rectangle in the cell rectangle R (pure: painting and hit tests share it).
  TGraphicPlacement PlaceGraphic(const TCellGraphicView& G, plat::TRect R, plat::TAlignment TextHA,
                                 TVAlignment TextVA, int TextWidth, int ARow, int RCol = -1);
  void DrawCheckBox(plat::TCanvas& C, plat::TRect R, bool Checked, plat::TCheckBoxState State, bool TriState,
                    TControlStyle Style, bool Grayed, bool Enabled);
  void DrawRadioGroup(plat::TCanvas& C, plat::TRect R, bool Upward, double Scale, TControlStyle Style,
                      bool Selected, const QStringList& Items, bool Disabled, bool Horizontal, int ItemIndex,
                      int Count, const QString& CellText);
  void DrawSortIndicator(plat::TCanvas& C, int ACol, int Y, int X);

  // ---- text
  // The cell text as displayed (RCol): the grid's (virtual) answer.
  QString GetFormattedCell(int ACol, int ARow) { return FHost.GetFormattedCell(ACol, ARow); }
  // The number formatting of a cell text by the float format event (the default GetFormattedCell).
  QString FormatCellText(int ACol, int ARow);
  // The tooltip text of a cell: HTML and rich text as plain text, wide text decoded, then BalloonText.
  QString CellBalloonText(int ACol, int ARow);
  // The size of the text of cell (real column ACol, display column DisplayCol, ARow) as drawn: VS for the
  // cell's own width (word-wrapped height), SB leaving room for a 17-pixel button.
  plat::TSize MeasureCellText(int ACol, int DisplayCol, int ARow, bool VS, bool SB);
  plat::TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
  // A rich-text cell (RCol) drawn into a rectangle of any canvas (screen or printer).
  void DrawRichCell(int ACol, int ARow, plat::TRect ARect, plat::TCanvas& ACanvas);

  // ---- the grid as a whole
  void PaintGridExtras(plat::TCanvas& ACanvas);
  void PaintBackgroundOutsideCells(plat::TCanvas& ACanvas);
  void PaintBorder(plat::TCanvas& AWindowCanvas, int W, int H, bool FitCellsInGrid);
  void DrawColumnSizingLine(plat::TCanvas& ACanvas, int X);
  void DrawRowSizingLine(plat::TCanvas& ACanvas, int Y);
  // The focus frame around a cell: outer rectangle (cell + 9 each way from -4) and the inner cut-out.
  static plat::TRect FocusFrameRect(plat::TRect Cell);

 private:
  void ApplyFixedLook(TGridDrawState& AState, plat::TBrush* B, plat::TColor& To, plat::TColor& MF, plat::TColor& MT,
                      plat::TFont* F, bool Print);
  void ApplySelection(TCellWork& W, int ACol, int ARow, bool Select, bool Print, TGridDrawState& AState,
                      plat::TBrush* B, plat::TColor& To, plat::TColor& MF, plat::TColor& MT, plat::TFont* F);
  void SelectionColours(plat::TBrush* B, plat::TColor& To, plat::TColor& MF, plat::TColor& MT, plat::TFont* F);
  void DrawFixedByLook(plat::TCanvas& C, TCellWork& W);
  void DrawFixedEdges(plat::TCanvas& C, TCellWork& W);
  void DrawTreeLines(plat::TCanvas& C, const TCellWork& W);
  void DrawCellBorders(plat::TCanvas& C, const TCellWork& W);
  void DrawFocus(plat::TCanvas& C, const TCellWork& W);
  void DrawCellText(plat::TCanvas& C, TCellWork& W);
  void DrawTextBeside(plat::TCanvas& C, TCellWork& W, const QString& Text, int Kind, plat::TRect R);
  void DrawPlainText(plat::TCanvas& C, TCellWork& W, const QString& Text, plat::TRect R, int Indent);
  void DrawHTMLText(plat::TCanvas& C, TCellWork& W, const QString& Text, plat::TRect R);
  void DrawRichText(plat::TCanvas& C, TCellWork& W, const QString& Text, plat::TRect R);
  void DrawMarker(plat::TCanvas& C, const TCellWork& W, const QString& Text, plat::TRect R);
  bool SortIndicatorShown(int RCol, int ARow);
  int FormulaAware(int RCol, int ARow, QString& Text);
  void DrawSortIndexGlyph(plat::TCanvas& C, int At, int Y, int X);
  bool DrawFilterGlyph(plat::TCanvas& C, const TCellWork& W);
  void DrawCellGraphic(plat::TCanvas& C, TCellWork& W, plat::TRect R);
  void DrawNode(plat::TCanvas& C, const TCellWork& W, plat::TRect R);
  void DrawProgress(plat::TCanvas& C, const TCellWork& W, plat::TRect R);
  void DrawButton(plat::TCanvas& C, TCellWork& W, plat::TRect R, plat::TRect Obj);
  void DrawRating(plat::TCanvas& C, const TCellWork& W, int X, int Y);
  void DrawRotatedText(plat::TCanvas& C, const TCellWork& W, plat::TRect R);
  void DrawSelectionRectangle(plat::TCanvas& C, const TCellWork& W);
  void DrawFixedDropDown(plat::TCanvas& C, TCellWork& W, plat::TRect R, bool Held);
  void DrawListViewHeader(plat::TCanvas& C, const TCellWork& W);
  void DrawFixedRightEdges(plat::TCanvas& C, const TCellWork& W);
  void DrawColumnNumber(plat::TCanvas& C, const TCellWork& W);
  bool DrawScrollBar(plat::TCanvas& C, TCellWork& W);
  void DrawInterface(plat::TCanvas& C, const TCellWork& W, plat::TRect R);
  void SelectedTextColours(plat::TCanvas& C, const TCellWork& W, plat::TColor& Link);
  void DrawCellBackground(plat::TCanvas& C, const TCellWork& W);
  int ButtonLook() const;
  controls::GaugeAppearance GaugeLook(plat::TColor CellColor) const;

  TBaseGrid& FGrid;
  TRenderHost& FHost;
};

}  // namespace grid
