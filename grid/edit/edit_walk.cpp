#include "grid/edit/edit_walk.h"

#include <QPlainTextEdit>

#include <algorithm>

#include "grid/autosize.h"
#include "grid/edit/inplace_edit.h"
#include "grid/extgrid.h"

namespace grid {

// ---------------------------------------------------------------- the cursor walk

namespace {

// Keeps the Enter advance on the left-right direction while the walk uses it.
class TLeftRightAdvance {
 public:
  explicit TLeftRightAdvance(TNavigation& Nav) : FNav(Nav), FOld(Nav.AdvanceDirection()) {
    FNav.SetAdvanceDirection(adLeftRight);
  }
  ~TLeftRightAdvance() { FNav.SetAdvanceDirection(FOld); }
  TLeftRightAdvance(const TLeftRightAdvance&) = delete;
  TLeftRightAdvance& operator=(const TLeftRightAdvance&) = delete;

 private:
  TNavigation& FNav;
  TAdvanceDirection FOld;
};

// The display column the walk goes to; -1 when there is none that way.
int WalkTarget(TExtStringGrid& G, bool Right) {
  const int col = G.Col();
  if (!Right) return col - 1;
  if (col >= G.ColCount() - G.FixedRightCols() - 1) return -1;
  return std::min(col + std::max(0, G.CellSpan(col, G.Row()).X) + 1, G.ColCount() - 1);
}

}  // namespace

TWalkResult CursorWalk(TExtStringGrid& G, bool Right, const QString& Text, TWalkCommit Commit) {
  const int target = WalkTarget(G, Right);
  if (target < 0) return TWalkResult::NoNeighbour;
  const int row = G.Row();
  const bool toControl = target >= G.FixedCols() && G.IsControlCell(G.RealColIndex(target), row);
  if (toControl || Commit == TWalkCommit::Validate) {
    if (!G.ValidateCell(Text)) return TWalkResult::Refused;
  }
  G.HideInplaceEdit();
  if (G.CanFocus()) G.SetFocus();
  if (toControl) {
    G.FocusCell(target, row);
    return TWalkResult::Moved;
  }
  const int col = G.Col();
  {
    TLeftRightAdvance leftRight(*G.Navigation());
    G.AdvanceToNextCell(col, row, false, false, Right, false, true);
  }
  if (G.Navigation()->CursorWalkAlwaysEdit && (G.Col() != col || G.Row() != row)) G.ShowInplaceEdit();
  return TWalkResult::Moved;
}

// ---------------------------------------------------------------- sizing while typing

namespace {

// Sizing the row or column moves the text editor: the platform reloads it from the cell and selects all of
// it. The typed text is already in the cell; the caret and selection the user had are put back.
class TKeepCaret {
 public:
  explicit TKeepCaret(TExtStringGrid& G) : FGrid(G), FEdit(dynamic_cast<TExtInplaceEdit*>(G.InplaceEditor())) {
    if (!Active()) return;
    FText = FEdit->Text();
    FStart = FEdit->SelStart();
    FLength = FEdit->SelLength();
  }
  ~TKeepCaret() {
    if (!Active()) return;
    TEditState& st = FGrid.EditState();
    const bool noChange = st.NoEditChange;
    st.NoEditChange = true;
    if (FEdit->Text() != FText) FEdit->SetText(FText);
    FEdit->SetSelStart(FStart);
    FEdit->SetSelLength(FLength);
    st.NoEditChange = noChange;
  }
  TKeepCaret(const TKeepCaret&) = delete;
  TKeepCaret& operator=(const TKeepCaret&) = delete;

 private:
  bool Active() const { return FEdit && FEdit->Visible(); }
  TExtStringGrid& FGrid;
  TExtInplaceEdit* FEdit;
  QString FText;
  int FStart = 0, FLength = 0;
};

// The column size options stop following the grid while the edit sizes the row.
class TNoSynch {
 public:
  explicit TNoSynch(TColumnSize& Size) : FSize(Size), FOld(Size.SynchWithGrid) { FSize.SynchWithGrid = false; }
  ~TNoSynch() { FSize.SynchWithGrid = FOld; }
  TNoSynch(const TNoSynch&) = delete;
  TNoSynch& operator=(const TNoSynch&) = delete;

 private:
  TColumnSize& FSize;
  bool FOld;
};

void RowSized(TExtStringGrid& G, int Row) {
  if (G.OnEndRowSize) G.OnEndRowSize(&G, Row);
}

}  // namespace

void SizeWhileTyping(TExtStringGrid& G) {
  const TSizeWhileTyping& s = *G.SizeWhileTyping();
  if (!s.Width && !(s.Height && G.WordWrap())) return;
  TKeepCaret keep(G);
  if (s.Width) G.AutoSizing().AutoSizeColumnInternal(G.Col(), true);
  if (s.Height && G.WordWrap()) {
    {
      TNoSynch noSynch(*G.ColumnSize());
      G.AutoSizeRow(G.Row());
    }
    RowSized(G, G.Row());
  }
}

void GrowRowForLines(TExtStringGrid& G, int Lines) {
  if (!G.SizeWhileTyping()->Height || !G.Multilinecells()) return;
  const int row = G.Row();
  TKeepCaret keep(G);
  {
    TNoSynch noSynch(*G.ColumnSize());
    if (Lines < G.AutoSizing().MaxLinesInRow(row)) {
      G.AutoSizeRow(row);
    } else {
      plat::TCanvas& c = *G.Canvas();
      c.Font()->Assign(G.FixedFont());
      const int h = c.TextHeight(QStringLiteral("gh"));
      const int offset = G.XYOffsetTopLeftOnly ? G.XYOffset().Y : 2 * G.XYOffset().Y;
      G.SetRowHeights(row, LimitValue(offset + Lines * (h + h / 8), G.MinRowHeight, G.MaxRowHeight));
    }
  }
  RowSized(G, row);
}

}  // namespace grid
