// The string grid's find, replace, highlighting and cell checking (the data services' walk over the grid's
// cells), and the search panel below the cells with the grid's answers to its controls.
#include "controls/ext_check_box.h"
#include "controls/ext_grid_button.h"
#include "controls/filter_match.h"
#include "controls/grid_check.h"
#include "controls/mini_html.h"
#include "controls/ret_edit.h"
#include "grid/data/cell_check.h"
#include "grid/data/highlight.h"
#include "grid/extgrid.h"
#include "grid/view/search_panel.h"

namespace grid {

namespace {

constexpr plat::TPoint kNoCell{-1, -1};
const QString& HiTag() {
  static const QString tag = QString::fromUtf16(kHighlightTag);
  return tag;
}
const QString& MarkTag() {
  static const QString tag = QString::fromUtf16(kMarkTag);
  return tag;
}

// The grid's CellChecker as the cell checking sees it.
class TCheckerLink : public TCellCheckerLink {
 public:
  explicit TCheckerLink(controls::TExtStringGridCheck& Checker) : C(Checker) {}
  bool GotoCell() const override { return C.GotoCell(); }
  bool UseCorrect() const override { return C.UseCorrect(); }
  bool UseMarkError() const override { return C.UseMarkError(); }
  void StartCheck() override { C.StartCheck(); }
  void StopCheck() override { C.StopCheck(); }
  QString Correct(int ACol, int ARow, const QString& S) override { return C.Correct(ACol, ARow, S); }
  QString MarkError(int ACol, int ARow, const QString& S) override { return C.MarkError(ACol, ARow, S); }

 private:
  controls::TExtStringGridCheck& C;
};

}  // namespace

// The grid's side of the find and of the search panel, the find's state and the panel.
class TGridFindArea : public TCellCheckHost, public TSearchPanelHost {
 public:
  explicit TGridFindArea(TExtStringGrid& Grid) : G(Grid) {}
  ~TGridFindArea() override { delete Panel; }

  // ---- TFindHost
  int ColCount() const override { return G.ColCount(); }
  int RowCount() const override { return G.RowCount(); }
  int FixedCols() const override { return G.FixedCols(); }
  int FixedRows() const override { return G.FixedRows(); }
  int FixedRightCols() const override { return G.FixedRightCols(); }
  int FixedFooters() const override { return G.FixedFooters(); }
  int NumHiddenColumns() const override { return G.NumHiddenColumns(); }
  int NumHiddenRows() const override { return G.NumHiddenRows(); }
  int RealColIndex(int ACol) const override { return G.RealColIndex(ACol); }
  bool IsIgnoredColumn(int ACol) const override { return G.Hiding().IsIgnoredColumn(ACol); }
  int Col() const override { return G.Col(); }
  int Row() const override { return G.Row(); }
  void Selection(int& Left, int& Top, int& Right, int& Bottom) const override {
    const plat::TGridRect s = G.Selection();
    Left = s.Left, Top = s.Top, Right = s.Right, Bottom = s.Bottom;
  }
  QString FindText(int RCol, int ARow, bool RealRow) override {
    return RealRow ? G.AllCells(RCol, ARow) : G.Cells(RCol, ARow);
  }
  QString StoredText(int RCol, int ARow) override { return G.GridCells(RCol, ARow); }
  bool HasDisplayTextHandler() const override { return static_cast<bool>(G.OnGetDisplText); }
  void WriteText(int RCol, int ARow, const QString& Value, bool RealRow) override {
    if (RealRow)
      G.SetAllCells(RCol, ARow, Value);
    else
      G.SetCells(RCol, ARow, Value);
  }
  bool IsBaseCell(int ACol, int ARow) const override { return G.IsBaseCell(ACol, ARow); }
  void RowChanged(int ARow) override {
    if (G.ShowModified()->Enabled) G.SetRowModified(ARow, true);
  }
  QString HTMLToPlainText(const QString& S) override { return controls::HTMLToPlainText(S); }
  bool MatchFilter(const QString& Expression, const QString& Value, bool CaseSensitive) override {
    return controls::MatchFilter(Expression, Value, CaseSensitive);
  }
  QString HighlightText(const QString& S, const QString& Search, const QString& Tag, bool CaseSensitive) override {
    QString result;
    controls::HighlightHTMLText(S, Search, Tag, result, CaseSensitive);
    return result;
  }
  QString RemoveTagPair(const QString& S, const QString& Tag) override {
    QString result;
    controls::RemoveHTMLTagPair(S, Tag, result);
    return result;
  }
  QString EntitiesToChars(const QString& S) override { return controls::EntitiesToChars(S, false); }
  QString CharsToEntities(const QString& S) override { return controls::CharsToEntities(S, false); }
  void GotoFound(int ACol, int ARow, const TFindParams& Params) override;
  void AfterAutoGoto() override;
  int IncrementalColumn() const override;
  void ExportNotification(TGridExportState AState, int ARow) override { G.ExportNotification(AState, ARow); }

  // ---- TCellCheckHost
  void GotoCell(int RCol, int ARow) override {
    const int col = G.DisplColIndex(RCol);
    SetCurrent(col, ARow);
    G.ScrollInView(col, ARow);
  }
  void SetCurrent(int ACol, int ARow) override {
    if (ARow >= 0 && ARow < G.RowCount()) G.SetRow(ARow);
    if (ACol >= 0 && ACol < G.ColCount()) G.SetCol(ACol);
  }

  // ---- TSearchPanelHost
  plat::TColor SearchPanelLineColor() const override { return G.GridLineColor(); }
  void SearchPanelCreated(TSearchPanel* P) override {
    if (G.OnCreatedSearchFooter) G.OnCreatedSearchFooter(&G, P);
  }

  // The search footer's parameters shared by its searches.
  TFindParams FooterParams(bool Backward);
  // Highlights (or removes the highlight of) the panel's text where the footer searches.
  void FooterHighlight(bool On);
  TSearchPanel& MakePanel();

  TExtStringGrid& G;
  TGridFind Finder{*this};
  TSearchPanel* Panel = nullptr;
};

void TGridFindArea::GotoFound(int ACol, int ARow, const TFindParams& Params) {
  int row = ARow, col = ACol;
  if (Params.Contains(fnIncludeHiddenRows) && G.NumHiddenRows() > 0) {
    // A row hidden inside a collapsed node: the node opens first.
    for (int d = G.FixedRows(); d < G.RowCount(); ++d) {
      const int real = G.RealRowIndex(d);
      if (real > ARow) break;
      if (G.IsNode(d) && G.NodeState(d) && real + G.GetNodeSpan(d) > ARow) {
        G.ExpandNode(real);
        break;
      }
    }
    row = G.DisplRowIndex(ARow);
  }
  if (Params.Contains(fnIncludeHiddenColumns)) col = G.DisplColIndex(ACol);
  if (row < 0 || row >= G.RowCount()) return;
  if (G.MouseActions()->DisjunctRowSelect()) {
    G.ClearRowSelect();
    G.SetRowSelect(row, true);
    G.SetRow(row);
    return;
  }
  SetCurrent(col, row);
}

void TGridFindArea::AfterAutoGoto() {
  const int a = G.FloatingFooter()->Visible() ? 2 : 0;
  const int visible = G.VisibleRowCount();
  if (G.Row() > G.TopRow() + visible - a - 2 && G.RowCount() > visible + G.FixedRows() + a)
    G.SetTopRow(std::min(G.TopRow() + a + 1, std::max(G.FixedRows(), G.RowCount() - visible)));
}

int TGridFindArea::IncrementalColumn() const {
  TSortSettings& s = *G.SortSettings();
  if (!s.Show()) return G.FixedCols();
  if (s.IndexShow()) return s.Keys().empty() ? G.FixedCols() : static_cast<int>(s.Keys().front() & 0x7FFFFFFFu);
  return s.Column();
}

TFindParams TGridFindArea::FooterParams(bool Backward) {
  const TSearchFooter& f = *G.SearchFooter();
  TFindParams p{fnAutoGoto};
  if (Panel->HiliteButton()->Down()) p.Include(fnIgnoreHTMLTags);
  if (Backward) p.Include(fnBackward);
  if (Panel->MatchCase()->Checked()) p.Include(fnMatchCase);
  if (f.SearchActiveColumnOnly) p.Include(fnFindInCurrentCol);
  if (f.SearchMatchStart) p.Include(fnMatchStart);
  if (f.SearchColumn >= 0 && f.SearchColumn < G.ColCount()) {
    p.Include(fnFindInPresetCol);
    Finder.FindCol = f.SearchColumn;
  }
  return p;
}

void TGridFindArea::FooterHighlight(bool On) {
  const int col = G.SearchFooter()->SearchColumn;
  if (On) {
    const QString text = Panel->EditControl()->Text();
    const bool doCase = Panel->MatchCase()->Checked();
    if (col == -1)
      G.HilightInGrid(false, doCase, text);
    else
      G.HilightInCol(false, doCase, col, text);
  } else if (col == -1) {
    G.UnHilightInGrid(false);
  } else {
    G.UnHilightInCol(false, col);
  }
}

TSearchPanel& TGridFindArea::MakePanel() {
  if (Panel) return *Panel;
  Panel = new TSearchPanel(&G, *this);
  Panel->SetAlign(plat::alBottom);
  Panel->SetHeight(0);
  Panel->SetVisible(false);
  Panel->SetParent(&G);
  Panel->OnEditChange = [this](plat::TObject*) { G.SearchFooterEditChange(); };
  Panel->OnBackwardClick = [this](plat::TObject*) { G.SearchFooterFindPrevious(); };
  Panel->OnForwardClick = [this](plat::TObject*) { G.SearchFooterFindNext(); };
  Panel->OnExitClick = [this](plat::TObject*) { G.SearchFooterClose(); };
  Panel->OnHighlightClick = [this](plat::TObject*) { G.SearchFooterHighlight(); };
  return *Panel;
}

void TExtStringGrid::TFindAreaDeleter::operator()(TGridFindArea* Area) const { delete Area; }

TGridFindArea& TExtStringGrid::FindArea() {
  if (!FFindArea) FFindArea.reset(new TGridFindArea(*this));
  return *FFindArea;
}

// ---- find and replace -----------------------------------------------------------------------------------------

plat::TPoint TExtStringGrid::Find(plat::TPoint StartCell, const QString& S, const TFindParams& Params) {
  return FindArea().Finder.Find(StartCell, S, Params);
}
plat::TPoint TExtStringGrid::FindWide(plat::TPoint StartCell, const QString& S, const TFindParams& Params) {
  return FindArea().Finder.FindWide(StartCell, S, Params);
}
plat::TPoint TExtStringGrid::FindFirst(const QString& S, const TFindParams& Params) {
  return FindArea().Finder.FindFirst(S, Params);
}
plat::TPoint TExtStringGrid::FindNext() { return FindArea().Finder.FindNext(); }
int TExtStringGrid::Replace(const QString& OrigStr, const QString& NewStr, const TFindParams& Params) {
  return FindArea().Finder.Replace(OrigStr, NewStr, Params);
}
bool TExtStringGrid::FindBusy() { return FindArea().Finder.FindBusy(); }
TFindParams TExtStringGrid::FindParams() { return FindArea().Finder.FindParams; }
plat::TPoint TExtStringGrid::SearchCell() { return FindArea().Finder.SearchCell; }
int TExtStringGrid::FindCol() { return FindArea().Finder.FindCol; }
void TExtStringGrid::SetFindCol(int Value) { FindArea().Finder.FindCol = Value; }
int TExtStringGrid::FindRow() { return FindArea().Finder.FindRow; }
void TExtStringGrid::SetFindRow(int Value) { FindArea().Finder.FindRow = Value; }
QString TExtStringGrid::IncrSearchText() const { return SearchInc(); }
int TExtStringGrid::Search(const QString& S) { return FindArea().Finder.Search(S); }

// ---- highlighting and marking ---------------------------------------------------------------------------------

QString TExtStringGrid::HilightText(bool DoCase, const QString& S, const QString& Text) {
  return FindArea().HighlightText(S, Text, HiTag(), DoCase);
}
QString TExtStringGrid::UnHilightText(const QString& S) { return FindArea().RemoveTagPair(S, HiTag()); }
QString TExtStringGrid::MarkText(bool DoCase, const QString& S, const QString& Text) {
  return FindArea().HighlightText(S, Text, MarkTag(), DoCase);
}
QString TExtStringGrid::UnMarkText(const QString& S) { return FindArea().RemoveTagPair(S, MarkTag()); }

void TExtStringGrid::HilightInCell(int ACol, int ARow, const QString& HiText, bool DoCase) {
  HilightRange(FindArea(), {ACol, ARow, ACol, ARow}, HiText, HiTag(), DoCase);
}
void TExtStringGrid::HilightInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText) {
  HilightRange(FindArea(), HighlightColRange(FindArea(), ACol, DoFixed), HiText, HiTag(), DoCase);
}
void TExtStringGrid::HilightInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText) {
  HilightRange(FindArea(), HighlightRowRange(FindArea(), ARow, DoFixed, hkHighlight), HiText, HiTag(), DoCase);
}
void TExtStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText) {
  HilightRange(FindArea(), HighlightGridRange(FindArea(), DoFixed, hkHighlight), HiText, HiTag(), DoCase);
}
void TExtStringGrid::UnHilightInCell(int ACol, int ARow) {
  UnHilightRange(FindArea(), {ACol, ARow, ACol, ARow}, HiTag());
}
void TExtStringGrid::UnHilightInCol(bool DoFixed, int ACol) {
  UnHilightRange(FindArea(), HighlightColRange(FindArea(), ACol, DoFixed), HiTag());
}
void TExtStringGrid::UnHilightInRow(bool DoFixed, int ARow) {
  UnHilightRange(FindArea(), HighlightRowRange(FindArea(), ARow, DoFixed, hkRemove), HiTag());
}
void TExtStringGrid::UnHilightInGrid(bool DoFixed) {
  UnHilightRange(FindArea(), HighlightGridRange(FindArea(), DoFixed, hkRemove), HiTag());
}
void TExtStringGrid::MarkInCell(int ACol, int ARow, const QString& HiText, bool DoCase) {
  HilightRange(FindArea(), {ACol, ARow, ACol, ARow}, HiText, MarkTag(), DoCase);
}
void TExtStringGrid::MarkInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText) {
  HilightRange(FindArea(), HighlightColRange(FindArea(), ACol, DoFixed), HiText, MarkTag(), DoCase);
}
void TExtStringGrid::MarkInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText) {
  HilightRange(FindArea(), HighlightRowRange(FindArea(), ARow, DoFixed, hkMark), HiText, MarkTag(), DoCase);
}
void TExtStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText) {
  HilightRange(FindArea(), HighlightGridRange(FindArea(), DoFixed, hkMark), HiText, MarkTag(), DoCase);
}
void TExtStringGrid::UnMarkInCell(int ACol, int ARow) { UnHilightRange(FindArea(), {ACol, ARow, ACol, ARow}, MarkTag()); }
void TExtStringGrid::UnMarkInCol(bool DoFixed, int ACol) {
  UnHilightRange(FindArea(), HighlightColRange(FindArea(), ACol, DoFixed), MarkTag());
}
void TExtStringGrid::UnMarkInRow(bool DoFixed, int ARow) {
  UnHilightRange(FindArea(), HighlightRowRange(FindArea(), ARow, DoFixed, hkRemove), MarkTag());
}
void TExtStringGrid::UnMarkInGrid(bool DoFixed) {
  UnHilightRange(FindArea(), HighlightGridRange(FindArea(), DoFixed, hkRemove), MarkTag());
}

// ---- cell checking --------------------------------------------------------------------------------------------

bool TExtStringGrid::CheckCell(int ACol, int ARow) {
  if (!CellChecker) return true;
  TCheckerLink link(*CellChecker);
  return grid::CheckCell(FindArea(), &link, ACol, ARow);
}
bool TExtStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow) {
  if (!CellChecker) return true;
  TCheckerLink link(*CellChecker);
  return grid::CheckCells(FindArea(), &link, FromCol, FromRow, ToCol, ToRow);
}
bool TExtStringGrid::CheckCol(bool DoFixed, int ACol) {
  if (!CellChecker) return true;
  TCheckerLink link(*CellChecker);
  return grid::CheckCol(FindArea(), &link, DoFixed, ACol);
}
bool TExtStringGrid::CheckRow(bool DoFixed, int ARow) {
  if (!CellChecker) return true;
  TCheckerLink link(*CellChecker);
  return grid::CheckRow(FindArea(), &link, DoFixed, ARow);
}
bool TExtStringGrid::CheckGrid(bool DoFixed) {
  if (!CellChecker) return true;
  TCheckerLink link(*CellChecker);
  return grid::CheckGrid(FindArea(), &link, DoFixed);
}

// ---- the search panel -----------------------------------------------------------------------------------------

TSearchPanel* TExtStringGrid::SearchPanel() { return FFindArea ? FFindArea->Panel : nullptr; }

void TExtStringGrid::ApplySearchFooter() {
  if (IsLoading()) return;
  TSearchFooter& f = FSearchFooter;
  // The panel is made the first time the footer shows; until then there is nothing to apply.
  if (!SearchPanel() && !f.Visible()) return;
  TGridFindArea& area = FindArea();
  TSearchPanel& p = area.MakePanel();
  if ((p.HiliteButton()->Down() && p.Visible() && !f.Visible()) || f.AlwaysHighLight) UnHilightInGrid(false);

  p.SetColor(f.Color());
  p.ColorTo = f.ColorTo();
  p.SetVisible(f.Visible());
  p.Font()->Assign(*f.Font());
  p.FindNextCaption = f.FindNextCaption();
  p.FindPrevCaption = f.FindPrevCaption();
  p.MatchCaseCaption = f.MatchCaseCaption();
  p.HighLightCaption = f.HighLightCaption();
  p.HintClose = f.HintClose();
  p.HintFindNext = f.HintFindNext();
  p.HintFindPrev = f.HintFindPrev();
  p.HintHighlight = f.HintHighlight();

  controls::TExtGridButton* search[] = {p.ForwardButton(), p.BackwardButton(), p.HiliteButton()};
  switch (FControlLook.ControlStyle()) {
    case csFlat:
      for (auto* b : search) b->SetFlat(true);
      break;
    case csWinXP:
    case csTheme:
      if (!AutoThemeAdapt)
        for (auto* b : search) b->SetFlat(false), b->AutoXPStyle = true;
      break;
    case csClassic:
      for (auto* b : search) b->SetFlat(false), b->AutoXPStyle = false;
      break;
    default:
      break;
  }
  if (AutoThemeAdapt)
    for (auto* b : search) b->SetAutoThemeAdapt(true), b->SetFlat(true);

  p.HiliteButton()->SetVisible(f.ShowHighLight());
  p.ExitButton()->SetVisible(f.ShowClose());
  p.MatchCase()->SetVisible(f.ShowMatchCase());
  p.BackwardButton()->SetVisible(f.ShowFindPrev());
  p.ForwardButton()->SetVisible(f.ShowFindNext());
  p.MatchCase()->SetTransparent(true);
  p.LayoutControls();

  p.SetHeight(f.Visible() ? 32 : 0);
  p.Invalidate();
  if (f.Visible()) ScrollAboveSearchPanel();
}

void TExtStringGrid::FocusSearchEdit() {
  TSearchPanel* p = SearchPanel();
  if (p && p->Visible() && p->EditControl()->CanFocus()) p->EditControl()->SetFocus();
}

bool TExtStringGrid::SearchPanelAccelerator(QChar Key) {
  TSearchPanel* p = SearchPanel();
  return p && p->Visible() && p->Accelerator(Key.unicode());
}

void TExtStringGrid::SearchFooterEditChange() {
  TGridFindArea& area = FindArea();
  TSearchPanel& p = area.MakePanel();
  const QString text = p.EditControl()->Text();
  bool defaultSearch = true;
  if (OnSearchEditChange) OnSearchEditChange(this, text, defaultSearch);
  if (!defaultSearch || !FSearchFooter.AutoSearch) return;
  TFindParams params = area.FooterParams(false);
  if (FSearchFooter.SearchFixedCells) params.Include(fnIncludeFixed);
  if (FSearchFooter.SearchHiddenRows) params.Include(fnIncludeHiddenRows);
  if (FSearchFooter.SearchDirection == sdLeftRight) params.Include(fnDirectionLeftRight);
  const bool highlight = p.HiliteButton()->Down() || FSearchFooter.AlwaysHighLight;
  if (highlight) area.FooterHighlight(false);
  if (text.isEmpty()) {
    p.EditControl()->SetColor(plat::clWindow);
    if (p.HiliteButton()->Down()) area.FooterHighlight(false);
    return;
  }
  const plat::TPoint found = Find(kNoCell, text, params);
  area.Finder.SearchCell = found;
  DoSearchFooterAction(text, found.X, found.Y, saFindFirst);
  if (found == kNoCell) {
    p.EditControl()->SetColor(plat::clRed);
    return;
  }
  p.EditControl()->SetColor(plat::clWindow);
  ScrollInView(found.X, found.Y);
  if (highlight) area.FooterHighlight(true);
}

namespace {

// Keeps the rows after a found row in view after a button search.
void KeepRowsBelowInView(TExtStringGrid& G) {
  const bool footer = G.FloatingFooter()->Visible();
  const int visible = G.VisibleRowCount();
  if (G.Row() > G.TopRow() + visible - 3 + (footer ? 0 : 1) && G.RowCount() > visible + G.FixedRows() + (footer ? 1 : 0))
    G.SetTopRow(std::min(G.TopRow() + 2, std::max(G.FixedRows(), G.RowCount() - visible)));
}

}  // namespace

void TExtStringGrid::SearchFooterFindNext() {
  TGridFindArea& area = FindArea();
  TSearchPanel& p = area.MakePanel();
  const QString text = p.EditControl()->Text();
  if (!FSearchFooter.AutoSearch && text != FSearchFooter.LastSearch) {
    area.Finder.SearchCell = kNoCell;
    FSearchFooter.LastSearch = text;
  }
  TFindParams params = area.FooterParams(false);
  if (FSearchFooter.SearchDirection == sdLeftRight) params.Include(fnDirectionLeftRight);
  const plat::TPoint found = Find(area.Finder.SearchCell, text, params);
  area.Finder.SearchCell = found;
  if (found != kNoCell) ScrollInView(found.X, found.Y);
  KeepRowsBelowInView(*this);
  DoSearchFooterAction(text, found.X, found.Y, saFindNext);
  p.Invalidate();
}

void TExtStringGrid::SearchFooterFindPrevious() {
  TGridFindArea& area = FindArea();
  TSearchPanel& p = area.MakePanel();
  const QString text = p.EditControl()->Text();
  if (!FSearchFooter.AutoSearch && text != FSearchFooter.LastSearch) {
    area.Finder.SearchCell = kNoCell;
    FSearchFooter.LastSearch = text;
  }
  const plat::TPoint found = Find(area.Finder.SearchCell, text, area.FooterParams(true));
  area.Finder.SearchCell = found;
  KeepRowsBelowInView(*this);
  if (found != kNoCell) ScrollInView(found.X, found.Y);
  DoSearchFooterAction(text, found.X, found.Y, saFindPrevious);
  p.Invalidate();
}

void TExtStringGrid::SearchFooterHighlight() {
  TGridFindArea& area = FindArea();
  area.FooterHighlight(area.MakePanel().HiliteButton()->Down());
}

void TExtStringGrid::SearchFooterClose() {
  if (OnSearchFooterClose) OnSearchFooterClose(this);
  FSearchFooter.SetVisible(false);
}

}  // namespace grid
