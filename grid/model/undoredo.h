#pragma once
// Undo and redo of cell texts. Whoever changes a cell registers the change (cell, old text, new text); the
// component keeps the changes in order and a level, the number of changes in effect. A start and a stop
// item bracket a group that one undo or redo step covers.
//
// A change registered after an undo is appended behind the undone items, which stay: a later redo can apply
// an undone change again. Trimming to MaxLevel drops whole groups, the level never goes below 0, bracket items
// and cells outside the grid are never written, and Reset empties the level with the list.

#include <QString>

#include <functional>

#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"

namespace grid {

class TCellGrid;

class TUndoRedoItem : public plat::TCollectionItem {
  PLAT_CLASS(TUndoRedoItem)

  explicit TUndoRedoItem(plat::TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(plat::TPersistent* Source) override;

  int Row = 0;  // -1 in a bracket item
  int Col = 0;  // real column; -1 in a bracket item
  QString Value;      // the text after the change
  QString OrigValue;  // the text before the change
  bool SequenceStart = false;
  bool SequenceStop = false;

  bool IsBracket() const { return SequenceStart || SequenceStop; }
};

class TUndoRedoCollection : public plat::TCollection {
  PLAT_CLASS(TUndoRedoCollection)

  TUndoRedoCollection() : TCollection(plat::ItemClassOf<TUndoRedoItem>()) {}
  TUndoRedoItem* Items(int Index) const { return static_cast<TUndoRedoItem*>(TCollection::Items(Index)); }
  TUndoRedoItem* Add() { return static_cast<TUndoRedoItem*>(TCollection::Add()); }
};

// Sender, Grid, Col, Row, OrigValue (the text the cell holds now), NewValue (the text about to be written).
using TExtGridUndoRedoEvent = std::function<void(plat::TObject* Sender, TCellGrid* Grid, int Col, int Row,
                                                 const QString& OrigValue, const QString& NewValue)>;

class TExtGridUndoRedo : public plat::TComponent {
  PLAT_CLASS(TExtGridUndoRedo)

  explicit TExtGridUndoRedo(plat::TComponent* AOwner);
  ~TExtGridUndoRedo() override;

  virtual void RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue);
  virtual void StartSequence();
  virtual void StopSequence();
  void Undo();
  void Redo();
  void Reset();
  bool CanUndo() const { return FLevel > 0; }
  bool CanRedo() const { return FLevel < FItems.Count(); }

  TUndoRedoCollection* Items() { return &FItems; }
  TCellGrid* Grid() const { return FGrid; }
  // The grid is not owned; it forgets this component when either goes.
  void SetGrid(TCellGrid* Value);
  int Level() const { return FLevel; }
  void SetLevel(int Value) { FLevel = Value; }
  int MaxLevel() const { return FMaxLevel; }
  void SetMaxLevel(int Value) { FMaxLevel = Value; }

  TExtGridUndoRedoEvent OnUndo;
  TExtGridUndoRedoEvent OnRedo;

 private:
  void AppendBracket(bool Start);
  void DropOldestStep();
  // Writes one item's text back (undo) or again (redo) and moves the current cell to it. False for a bracket
  // item or a cell outside the grid, which are skipped.
  bool Apply(const TUndoRedoItem& Item, bool Undoing);

  TUndoRedoCollection FItems;
  TCellGrid* FGrid = nullptr;
  int FLevel = 0;
  int FMaxLevel = 0;
};

}  // namespace grid
