// The grid's clipboard members: short forwarders to TGridClipboard (grid/data/clipboard.h), and the adapter
// through which the clipboard reaches the grid and the system clipboard (Qt's, with the MIME types text/plain,
// text/html, text/rtf and the grid's private cell type).

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "grid/data/clipboard.h"
#include "grid/extgrid.h"
#include "grid/input/grid_dnd.h"
#include "grid/input/grid_dnd_grid.h"
#include "grid/view/rich_cell.h"
#include "platform/forms/clipboard.h"

namespace grid {

namespace {

QString CellsMime() { return plat::MimeTypeOfClipboardFormat(QLatin1String(kFormatCells)); }

// Rich text arrives under any of these names; it leaves under the first.
const char* const kRTFMimes[] = {"text/rtf", "text/richtext", "application/rtf"};

class TClipboardAdapter final : public TClipboardHost {
 public:
  explicit TClipboardAdapter(TExtStringGrid& Grid) : FGrid(Grid) {}

  TGridDataHost& Data() override { return FGrid.DataHost(); }

  TClipboardOptions ClipOptions() const override {
    TExtStringGrid& g = FGrid;
    const TNavigation& n = *g.Navigation();
    const TMouseActions& m = *g.MouseActions();
    TClipboardOptions o;
    o.AllowFmtClipboard = n.AllowFmtClipboard;
    o.AllowRTFClipboard = n.AllowRTFClipboard;
    o.AllowSmartClipboard = n.AllowSmartClipboard;
    o.AllowClipboardAlways = n.AllowClipboardAlways;
    o.AllowClipboardRowGrow = n.AllowClipboardRowGrow;
    o.AllowClipboardColGrow = n.AllowClipboardColGrow;
    o.ClipboardPasteAction = n.ClipboardPasteAction;
    o.CopyHTMLTagsToClipboard = n.CopyHTMLTagsToClipboard;
    o.ExcelClipboardFormat = g.ExcelClipboardFormat;
    o.Multilinecells = g.Multilinecells();
    o.DisjunctRowSelect = m.DisjunctRowSelect();
    o.DisjunctColSelect = m.DisjunctColSelect();
    o.RangeSelectAndEdit = m.RangeSelectAndEdit;
    o.ShowModified = g.ShowModified()->Enabled;
    o.Editing = g.Options().Contains(plat::goEditing);
    o.RowSelect = g.Options().Contains(plat::goRowSelect);
    o.FloatFormat = g.FloatFormat();
    o.CheckTrue = g.CheckTrue;
    o.CheckFalse = g.CheckFalse;
    return o;
  }

  plat::TRect Selection() const override {
    const plat::TGridRect s = FGrid.Selection();
    return plat::TRect(s.Left, s.Top, s.Right, s.Bottom);
  }
  void SetSelection(plat::TRect R) override { FGrid.SetSelection(plat::TGridRect{R.Left, R.Top, R.Right, R.Bottom}); }
  void SetCurrentCell(int ACol, int ARow) override { FGrid.FocusCell(ACol, ARow); }
  plat::TRect MergedArea(int ACol, int ARow) const override {
    if (!FGrid.IsMergedCell(ACol, ARow)) return plat::TRect(ACol, ARow, ACol, ARow);
    const plat::TPoint base = FGrid.BaseCell(ACol, ARow);
    const plat::TPoint span = FGrid.CellSpan(base.X, base.Y);
    return plat::TRect(base.X, base.Y, base.X + span.X, base.Y + span.Y);
  }
  bool RowSelected(int ARow) const override { return FGrid.GetRowSelect(ARow); }
  bool ColSelected(int ACol) const override { return FGrid.GetColSelect(ACol); }
  bool FloatingFooterRow() const override { return FGrid.FloatingFooterFixedLastRow(); }

  QString CellText(int ACol, int ARow) override { return FGrid.Cells(ACol, ARow); }
  void SetCellText(int ACol, int ARow, const QString& Value) override { FGrid.SetCells(ACol, ARow, Value); }
  bool IsEditable(int ACol, int ARow) override { return FGrid.IsEditable(ACol, ARow); }
  QString StrippedCell(int ACol, int ARow) override { return FGrid.StrippedCells(ACol, ARow); }
  QString RichToPlain(const QString& RTF) override { return RichTextToPlain(RTF); }
  bool IsCheckCell(int ACol, int ARow) override { return FGrid.HasCheckBox(ACol, ARow); }
  bool CheckState(int ACol, int ARow) override {
    bool state = false;
    FGrid.GetCheckBoxState(ACol, ARow, state);
    return state;
  }
  void SetCheckStateNotify(int ACol, int ARow, bool Value) override {
    if (CheckState(ACol, ARow) != Value) FGrid.ToggleCellCheck(ACol, ARow, false);
  }
  void RepaintCell(int ACol, int ARow) override { FGrid.RepaintCell(ACol, ARow); }
  void Repaint() override { FGrid.Invalidate(); }
  void SetRowModified(int ARow) override { FGrid.SetRowModified(ARow, true); }
  void InsertRows(int ARow, int Count) override { FGrid.InsertRows(ARow, Count, true); }
  void ClearRow(int ARow) override { FGrid.ClearRows(ARow, 1); }
  void ClearCol(int ACol) override { FGrid.ClearCols(ACol, 1); }
  void FreeCellProperties(plat::TRect R) override { FGrid.FreeCellProperties(R.Left, R.Top, R.Right, R.Bottom); }
  TExtGridUndoRedo* UndoRedo() override { return FGrid.UndoRedo(); }

  void BeforePasteCell(int ACol, int ARow, QString& Value, bool& Allow, bool Wide) override {
    const TClipboardBeforePasteEvent& e = Wide ? FGrid.OnClipboardBeforePasteWideCell : FGrid.OnClipboardBeforePasteCell;
    if (e) e(&FGrid, ACol, ARow, Value, Allow);
  }
  void AfterPasteCell(int ACol, int ARow, const QString& Value, bool Wide) override {
    const TClipboardAfterPasteEvent& e = Wide ? FGrid.OnClipboardAfterPasteWideCell : FGrid.OnClipboardAfterPasteCell;
    if (e) e(&FGrid, ACol, ARow, Value);
  }
  void ImportNotification(TGridImportState AState, int ARow) override { FGrid.ImportNotification(AState, ARow); }
  void CellsChangedEvent(plat::TRect R) override {
    if (FGrid.OnCellsChanged) FGrid.OnCellsChanged(&FGrid, R);
  }

  void PasteCell(int ACol, int ARow, const QString& Value) override { FGrid.PasteCell(ACol, ARow, Value); }
  void BeginPaste() override { FGrid.BeginPaste(); }
  void EndPaste() override { FGrid.EndPaste(); }
  void PasteDone(plat::TPoint FromTopLeft, plat::TRect ToRect, TClipOperation Operation) override {
    FGrid.PasteDone(FromTopLeft, ToRect, Operation);
  }
  bool CanPasteCells() override { return FGrid.CanPasteCells(); }

  TClipboardContent ReadClipboard() override {
    TClipboardContent c;
    QClipboard* board = QGuiApplication::clipboard();
    const QMimeData* m = board ? board->mimeData() : nullptr;
    if (!m) return c;
    c.HasText = m->hasText();
    if (c.HasText) c.Text = m->text();
    c.HasHTML = m->hasHtml();
    if (c.HasHTML) c.HTML = m->html();
    for (const char* mime : kRTFMimes)
      if (m->hasFormat(QLatin1String(mime))) {
        c.RTF = m->data(QLatin1String(mime));
        c.HasRTF = true;
        break;
      }
    c.HasCells = m->hasFormat(CellsMime());
    if (c.HasCells) c.Cells = m->data(CellsMime());
    return c;
  }

  void WriteClipboard(const TClipboardContent& Content) override {
    auto* m = new QMimeData;
    if (Content.HasText) m->setText(Content.Text);
    if (Content.HasHTML) m->setHtml(Content.HTML);
    if (Content.HasRTF) m->setData(QLatin1String(kRTFMimes[0]), Content.RTF);
    if (Content.HasCells) m->setData(CellsMime(), Content.Cells);
    if (QClipboard* board = QGuiApplication::clipboard())
      board->setMimeData(m);
    else
      delete m;
  }

  THTMLOptions HTMLOptions() override {
    const THTMLSettings& h = *FGrid.HTMLSettings();
    THTMLOptions o;
    o.XHTML = h.XHTML;
    o.PrefixTag = h.PrefixTag, o.SuffixTag = h.SuffixTag;
    o.TableStyle = h.TableStyle, o.Summary = h.Summary;
    o.BorderSize = h.BorderSize, o.CellSpacing = h.CellSpacing, o.CellPadding = h.CellPadding, o.Width = h.Width;
    for (int i = 0; i < h.ColWidths.Count(); ++i) o.ColWidths << h.ColWidths.Items(i);
    o.SaveColor = h.SaveColor;
    o.ConvertSpecialChars = h.ConvertSpecialChars;
    o.NonBreakingText = h.NonBreakingText;
    o.ExportImages = h.ExportImages;
    return o;
  }

 private:
  TExtStringGrid& FGrid;
};

}  // namespace

class TClipboardPart {
 public:
  explicit TClipboardPart(TExtStringGrid& Grid) : Adapter(Grid), Clipboard(Adapter) {}
  TClipboardAdapter Adapter;
  TGridClipboard Clipboard;
};

void TClipboardPartDeleter::operator()(TClipboardPart* P) const { delete P; }

TGridClipboard& TExtStringGrid::GridClipboard() {
  if (!FClipboardPart) FClipboardPart.reset(new TClipboardPart(*this));
  return FClipboardPart->Clipboard;
}

void TExtStringGrid::CopySelectionToClipboard() { GridClipboard().CopySelectionToClipboard(); }
void TExtStringGrid::PasteSelectionFromClipboard() { GridClipboard().PasteSelectionFromClipboard(); }
void TExtStringGrid::CutSelectionToClipboard() { GridClipboard().CutSelectionToClipboard(); }
void TExtStringGrid::CopyToClipBoard() { GridClipboard().CopyToClipBoard(); }
void TExtStringGrid::CopyToClipBoardAsHTML() { GridClipboard().CopyToClipBoardAsHTML(); }
void TExtStringGrid::CutToClipboard() { GridClipboard().CutToClipboard(); }
void TExtStringGrid::PasteFromClipboard() { GridClipboard().PasteFromClipboard(); }
QString TExtStringGrid::GetSelectionAsText() { return GridClipboard().GetSelectionAsText(); }
void TExtStringGrid::SetSelectionAsText(const QString& Value) { GridClipboard().SetSelectionAsText(Value); }
void TExtStringGrid::PasteCell(int ACol, int ARow, const QString& Value) {
  GridClipboard().StorePastedCell(ACol, ARow, Value);
}
void TExtStringGrid::PasteDone(plat::TPoint FromTopLeft, plat::TRect ToRect, TClipOperation Operation) {
  (void)FromTopLeft, (void)Operation;
  GridClipboard().MarkPastedRows(ToRect);
}
bool TExtStringGrid::CanPasteCells() { return Navigation()->AllowFmtClipboard; }

// ---- drag leftovers and empty hooks

void TExtStringGrid::OleColumnDragStart(int ACol, int AIndex, plat::TListBox* AList) {
  DragDrop().OleColumnDragStart(ACol, AIndex, AList);
}

void TExtStringGrid::SelectorCellClick(int ACol, int ARow) { (void)ACol, (void)ARow; }

void TExtStringGrid::FormulaModeChange(bool Active) { (void)Active; }

}  // namespace grid
