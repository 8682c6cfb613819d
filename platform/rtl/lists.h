#pragma once
// Index-checked lists of pointers. TList holds untyped pointers, TPointerList<T> typed ones, TObjectList
// TObject pointers and, with OwnsObjects, deletes the objects it removes. Index errors raise EListError
// "List index out of bounds (n)".

#include <QString>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

namespace plat {

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };
using enum TListNotification;

template <class T>
class TPointerList {
 public:
  using Pointer = T*;
  // Compare(a, b) < 0 when a sorts before b.
  using TListSortCompare = std::function<int(Pointer, Pointer)>;

  TPointerList() = default;
  TPointerList(const TPointerList&) = delete;
  TPointerList& operator=(const TPointerList&) = delete;
  virtual ~TPointerList() = default;

  int Count() const { return static_cast<int>(FItems.size()); }
  Pointer Items(int Index) const {
    Check(Index);
    return FItems[Index];
  }
  Pointer operator[](int Index) const { return Items(Index); }
  void SetItems(int Index, Pointer Item) {
    Check(Index);
    Pointer old = FItems[Index];
    if (old == Item) return;
    FItems[Index] = Item;
    if (old) Notify(old, lnDeleted);
    if (Item) Notify(Item, lnAdded);
  }
  Pointer First() const { return Items(0); }
  Pointer Last() const { return Items(Count() - 1); }

  int Add(Pointer Item) {
    FItems.push_back(Item);
    if (Item) Notify(Item, lnAdded);
    return Count() - 1;
  }
  void Insert(int Index, Pointer Item) {
    if (Index < 0 || Index > Count()) Error(Index);
    FItems.insert(FItems.begin() + Index, Item);
    if (Item) Notify(Item, lnAdded);
  }
  void Delete(int Index) {
    Check(Index);
    Pointer item = FItems[Index];
    FItems.erase(FItems.begin() + Index);
    if (item) Notify(item, lnDeleted);
  }
  // Index the item had, -1 when absent.
  int Remove(Pointer Item) {
    const int i = IndexOf(Item);
    if (i >= 0) Delete(i);
    return i;
  }
  // Takes the item out without deleting it; null when absent.
  Pointer Extract(Pointer Item) {
    const int i = IndexOf(Item);
    if (i < 0) return nullptr;
    FItems.erase(FItems.begin() + i);
    Notify(Item, lnExtracted);
    return Item;
  }
  // Removes the items from the last to the first.
  void Clear() {
    while (!FItems.empty()) Delete(Count() - 1);
  }
  int IndexOf(Pointer Item) const {
    const auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
  }
  void Exchange(int Index1, int Index2) {
    Check(Index1);
    Check(Index2);
    std::swap(FItems[Index1], FItems[Index2]);
  }
  void Move(int CurIndex, int NewIndex) {
    Check(CurIndex);
    Check(NewIndex);
    Pointer item = FItems[CurIndex];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, item);
  }
  // Drops the null entries.
  void Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }
  // Stable: equal items keep their order.
  void Sort(const TListSortCompare& Compare) {
    std::stable_sort(FItems.begin(), FItems.end(), [&](Pointer a, Pointer b) { return Compare(a, b) < 0; });
  }

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 protected:
  virtual void Notify(Pointer, TListNotification) {}
  [[noreturn]] static void Error(int Index) {
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  }
  void Check(int Index) const {
    if (Index < 0 || Index >= Count()) Error(Index);
  }

 private:
  std::vector<Pointer> FItems;
};

using TList = TPointerList<void>;

class TObjectList : public TPointerList<TObject> {
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override { Clear(); }

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

 protected:
  void Notify(TObject* Item, TListNotification Action) override {
    if (FOwnsObjects && Action == lnDeleted) delete Item;
  }

 private:
  bool FOwnsObjects;
};

}  // namespace plat
