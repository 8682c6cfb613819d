#include "grid/model/undoredo.h"

#include "grid/model/cellgrid.h"

namespace grid {

void TUndoRedoItem::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TUndoRedoItem*>(Source);
  if (!s) return TCollectionItem::Assign(Source);
  Row = s->Row;
  Col = s->Col;
  Value = s->Value;
  OrigValue = s->OrigValue;
  SequenceStart = s->SequenceStart;
  SequenceStop = s->SequenceStop;
}

TExtGridUndoRedo::TExtGridUndoRedo(plat::TComponent* AOwner) : TComponent(AOwner) {}

TExtGridUndoRedo::~TExtGridUndoRedo() {
  if (FGrid && FGrid->UndoRedo() == this) FGrid->SetUndoRedo(nullptr);
}

void TExtGridUndoRedo::SetGrid(TCellGrid* Value) {
  if (FGrid == Value) return;
  TCellGrid* old = FGrid;
  FGrid = Value;
  if (old && old->UndoRedo() == this) old->SetUndoRedo(nullptr);
}

void TExtGridUndoRedo::DropOldestStep() {
  // A group goes whole, so no stop item is left without its start.
  const TUndoRedoItem* first = FItems.Items(0);
  int n = 1;
  if (first->SequenceStart) {
    while (n < FItems.Count() && !FItems.Items(n - 1)->SequenceStop) ++n;
    if (!FItems.Items(n - 1)->SequenceStop) n = 1;  // an open group: only its start goes
  }
  for (int i = 0; i < n; ++i) FItems.Delete(0);
}

void TExtGridUndoRedo::RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue) {
  while (FMaxLevel > 0 && FItems.Count() >= FMaxLevel) DropOldestStep();
  TUndoRedoItem* item = FItems.Add();
  item->Col = ACol;
  item->Row = ARow;
  item->Value = NewValue;
  item->OrigValue = OldValue;
  FLevel = FItems.Count();
}

void TExtGridUndoRedo::AppendBracket(bool Start) {
  TUndoRedoItem* item = FItems.Add();
  item->Col = -1;
  item->Row = -1;
  item->SequenceStart = Start;
  item->SequenceStop = !Start;
  FLevel = FItems.Count();
}

void TExtGridUndoRedo::StartSequence() { AppendBracket(true); }
void TExtGridUndoRedo::StopSequence() { AppendBracket(false); }

bool TExtGridUndoRedo::Apply(const TUndoRedoItem& Item, bool Undoing) {
  if (Item.IsBracket() || Item.Col < 0 || Item.Row < 0 || Item.Col >= FGrid->TotalColCount() ||
      Item.Row >= FGrid->RowCount())
    return false;
  const QString& text = Undoing ? Item.OrigValue : Item.Value;
  const TExtGridUndoRedoEvent& event = Undoing ? OnUndo : OnRedo;
  if (event) event(this, FGrid, Item.Col, Item.Row, FGrid->GetCellEx(Item.Col, Item.Row), text);
  FGrid->SetCellEx(Item.Col, Item.Row, text);
  FGrid->SetCurrentCell(FGrid->DisplColIndex(Item.Col), Item.Row);
  return true;
}

void TExtGridUndoRedo::Undo() {
  if (!FGrid || FLevel <= 0 || FLevel > FItems.Count()) return;
  const TUndoRedoItem* item = FItems.Items(FLevel - 1);
  if (item->SequenceStop) {
    --FLevel;
    while (FLevel > 0 && !FItems.Items(FLevel - 1)->SequenceStart) {
      Apply(*FItems.Items(FLevel - 1), true);
      --FLevel;
    }
    if (FLevel > 0) --FLevel;  // past the start item
    FGrid->InvalidateGrid();
    return;
  }
  if (Apply(*item, true)) FGrid->RepaintCell(FGrid->CurrentCol(), item->Row);
  --FLevel;
}

void TExtGridUndoRedo::Redo() {
  if (!FGrid || FLevel < 0 || FLevel >= FItems.Count()) return;
  const TUndoRedoItem* item = FItems.Items(FLevel);
  ++FLevel;
  if (!item->SequenceStart) {
    Apply(*item, false);
    return;
  }
  // The group's changes, oldest first; the level ends behind the stop item (or the list's end when open).
  while (FLevel < FItems.Count()) {
    const TUndoRedoItem* next = FItems.Items(FLevel);
    ++FLevel;
    if (next->SequenceStop) break;
    Apply(*next, false);
  }
  FGrid->InvalidateGrid();
}

void TExtGridUndoRedo::Reset() {
  while (FItems.Count() > 0) FItems.Delete(0);
  FLevel = 0;
}

}  // namespace grid
