#include "tree/treecolumns.h"

#include <algorithm>
#include <cmath>

#include "tree/treecontrol.h"
#include "tree/treeheaderhost.h"

namespace lazytree {

// ------------------------------------------------------------------------------------------------------------
// A column

// The column joins its collection only once it is whole: joining runs the collection's update, which reads it.
TLazyTreeColumn::TLazyTreeColumn(plat::TCollection* Collection) : plat::TCollectionItem(nullptr) {
  auto* owner = static_cast<TLazyTreeColumns*>(Collection);
  const int width = owner ? owner->FDefaultWidth : 50;
  FWidth = FLastWidth = width;
  if (owner) {
    FPosition = static_cast<TColumnPosition>(owner->Count());
    SetCollection(Collection);
  }
  ParentBiDiModeChanged();
  ParentColorChanged();
}

TLazyTreeColumn::~TLazyTreeColumn() {
  TLazyTreeColumns* owner = Owner();
  if (owner && !owner->FClearing) {
    if (TBaseLazyTreeControl* t = Tree()) t->CancelEditNode();
    const TColumnIndex index = Index();
    owner->DropFromPositionMap(index);
    owner->FixIndexesAfterDeleting(index);
  }
  SetCollection(nullptr);  // leaves while still whole, so that the collection's notices see a column
}

TLazyTreeColumns* TLazyTreeColumn::Owner() const { return static_cast<TLazyTreeColumns*>(Collection()); }

TBaseLazyTreeControl* TLazyTreeColumn::Tree() const { return Owner() ? Owner()->Tree() : nullptr; }
TTreeHeaderHost* TLazyTreeColumn::TreeHost() const { return Owner() ? Owner()->TreeHost() : nullptr; }

TLTHeader* TLazyTreeColumn::Header() const { return Owner() ? Owner()->FHeader : nullptr; }

void TLazyTreeColumn::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TLazyTreeColumn*>(Source);
  if (!s) {
    plat::TCollectionItem::Assign(Source);
    return;
  }
  const TLTColumnOptions own = FOptions;
  FOptions = {};
  SetBiDiMode(s->FBiDiMode);
  SetImageIndex(s->FImageIndex);
  SetLayout(s->FLayout);
  SetMargin(s->FMargin);
  SetMaxWidth(s->FMaxWidth);
  SetMinWidth(s->FMinWidth);
  SetPosition(s->FPosition);
  SetSpacing(s->FSpacing);
  SetStyle(s->FStyle);
  SetText(s->FText);
  FHint = s->FHint;
  SetWidth(s->FWidth);
  SetAlignment(s->FAlignment);
  SetCaptionAlignment(s->CaptionAlignment());
  SetColor(s->FColor);
  FTag = s->FTag;
  FOptions = own;
  SetOptions(s->FOptions);
  Changed(false);
}

bool TLazyTreeColumn::Equals(const TLazyTreeColumn& o) const {
  return FBiDiMode == o.FBiDiMode && FImageIndex == o.FImageIndex && FLayout == o.FLayout && FMargin == o.FMargin &&
         FMaxWidth == o.FMaxWidth && FMinWidth == o.FMinWidth && FPosition == o.FPosition &&
         FSpacing == o.FSpacing && FStyle == o.FStyle && FText == o.FText && FHint == o.FHint &&
         FWidth == o.FWidth && FAlignment == o.FAlignment && CaptionAlignment() == o.CaptionAlignment() &&
         FColor == o.FColor && FTag == o.FTag && FOptions == o.FOptions;
}

QString TLazyTreeColumn::DisplayName() const {
  for (QChar c : FText)
    if (c.unicode() > 255) return QStringLiteral("Column %1").arg(Index());
  return FText;
}

void TLazyTreeColumn::SetAlignment(plat::TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
  if (TBaseLazyTreeControl* t = Tree()) t->Invalidate();
}

void TLazyTreeColumn::SetBiDiMode(TBiDiMode Value) {
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  FOptions.Exclude(coParentBidiMode);
  Changed(false);
  if (TBaseLazyTreeControl* t = Tree()) t->Invalidate();
}

void TLazyTreeColumn::SetCaptionAlignment(plat::TAlignment Value) {
  if (FOptions.Has(coUseCaptionAlignment) && FCaptionAlignment == Value) return;
  FCaptionAlignment = Value;
  FOptions.Include(coUseCaptionAlignment);
  if (TLTHeader* h = Header()) h->InvalidateColumn(Index());
}

void TLazyTreeColumn::SetColor(plat::TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FOptions.Exclude(coParentColor);
  Changed(false);
  if (TBaseLazyTreeControl* t = Tree()) t->Invalidate();
}

void TLazyTreeColumn::SetText(const QString& Value) {
  if (FText == Value) return;
  FText = Value;
  FCaptionText.clear();
  Changed(false);
}

void TLazyTreeColumn::SetMaxWidth(int Value) {
  if (Value < FMinWidth) Value = FMinWidth;
  FMaxWidth = Value;
  SetWidth(FWidth);
}

void TLazyTreeColumn::SetMinWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value > FMaxWidth) Value = FMaxWidth;
  FMinWidth = Value;
  SetWidth(FWidth);
}

void TLazyTreeColumn::ParentBiDiModeChanged() {
  // The tree lays out left to right only; a column following it reads left to right.
  if (!FOptions.Has(coParentBidiMode) || !Owner() || FBiDiMode == bdLeftToRight) return;
  FBiDiMode = bdLeftToRight;
  Changed(false);
}

void TLazyTreeColumn::ParentColorChanged() {
  TBaseLazyTreeControl* t = Tree();
  if (!FOptions.Has(coParentColor) || !t || FColor == t->Color()) return;
  FColor = t->Color();
  Changed(false);
}

void TLazyTreeColumn::RestoreLastWidth() {
  if (TLTHeader* h = Header()) h->AnimatedResize(Index(), FLastWidth);
}

// The fixed-area limits of the header applied to a visible fixed column.
int TLazyTreeColumn::FixedAreaWidth(int V) const {
  const TLazyTreeColumns* owner = Owner();
  const TLTHeader* h = Header();
  const int cw = Tree() ? Tree()->ClientWidth() : 0;
  const int others = owner->GetVisibleFixedWidth() - FWidth;
  int sumMax = 0, sumMin = 0;
  for (TLazyTreeColumn* c : owner->GetVisibleColumns())
    if (c->FOptions.Has(coFixed)) {
      sumMax += c->FMaxWidth;
      sumMin += c->FMinWidth;
    }
  if (h->MinWidthPercent() > 0) sumMax = std::max(sumMax, cw * h->MinWidthPercent() / 100);
  if (h->MaxWidthPercent() > 0) sumMin = std::min(sumMin, cw * h->MaxWidthPercent() / 100);
  const int upper = std::min(sumMax - others, FMaxWidth);
  const int lower = std::max(sumMin - others, FMinWidth);
  V = std::min(std::max(V, lower), upper);
  if (h->MinWidthPercent() > 0) V = std::max(V, cw * h->MinWidthPercent() / 100 - others);
  if (h->MaxWidthPercent() > 0) V = std::min(V, cw * h->MaxWidthPercent() / 100 - others);
  return V;
}

void TLazyTreeColumn::SetWidth(int V) {
  TLTHeader* h = Header();
  if (!h || !h->FStates.Has(hsScaling)) {
    if (h && Visible() && FOptions.Has(coFixed))
      V = FixedAreaWidth(V);
    else
      V = std::min(std::max(V, FMinWidth), FMaxWidth);
  }
  if (V == FWidth) return;
  FLastWidth = FWidth;
  if (!h || !h->FStates.Has(hsResizing)) FBonusPixel = false;
  const bool autoSized = h && h->FOptions.Has(hoAutoResize) && h->FAutoSizeIndex == Index();
  if (!autoSized) {
    FWidth = V;
    if (Owner()) Owner()->RecomputeColumnLefts(false);
  }
  TBaseLazyTreeControl* t = Tree();
  if (!t || TreeHost()->Loading() || Owner()->UpdateCount() > 0) return;
  if (h->FOptions.Has(hoAutoResize)) h->FitAutoSizeColumn(false);
  t->ColumnResized(Index());
}

void TLazyTreeColumn::SetOptions(TLTColumnOptions Value) {
  if (Value == FOptions) return;
  const TLTColumnOptions set = Value - FOptions, cleared = FOptions - Value;
  FOptions = Value;
  if (set.Has(coParentBidiMode)) ParentBiDiModeChanged();
  if (set.Has(coParentColor)) ParentColorChanged();
  if (set.Has(coAutoSpring)) FSpringRest = 0;
  if ((set.Has(coFixed) || cleared.Has(coFixed)) && Visible() && Header()) Header()->ApplyFixedAreaLimits();
  Changed(false);
  TBaseLazyTreeControl* t = Tree();
  if (!t || TreeHost()->Loading()) return;
  const bool visibleChanged = set.Has(coVisible) || cleared.Has(coVisible);
  if ((visibleChanged || set.Has(coParentColor)) && !TreeHost()->Updating()) {
    t->Invalidate();
    if (visibleChanged) t->UpdateHorizontalScrollBar(false);
  }
}

void TLazyTreeColumn::SetPosition(TColumnPosition V) {
  TLazyTreeColumns* owner = Owner();
  TBaseLazyTreeControl* t = Tree();
  if (!owner || (t && TreeHost()->Loading())) {
    FPosition = V;
    return;
  }
  if (V > static_cast<TColumnPosition>(owner->Count() - 1)) V = static_cast<TColumnPosition>(owner->Count() - 1);
  if (V == FPosition) return;
  owner->SyncPositionMapLength();
  if (t) t->CancelEditNode();
  owner->MoveInPositionMap(Index(), V);
  Changed(false);
  if (owner->UpdateCount() == 0 && t) {
    if (Header()) Header()->InvalidateColumn(Index());
    t->Invalidate();
  }
  // The fixed block stays together: the column takes the fixedness of its neighbour.
  const bool fixed = FOptions.Has(coFixed);
  const int neighbourPos = fixed && FPosition > 0 ? static_cast<int>(FPosition) - 1 : static_cast<int>(FPosition) + 1;
  if (neighbourPos < 0 || neighbourPos >= owner->Count()) return;
  const TLazyTreeColumn* n = owner->Items(owner->FPositionToIndex[static_cast<std::size_t>(neighbourPos)]);
  TLTColumnOptions o = FOptions;
  if (n->FOptions.Has(coFixed))
    o.Include(coFixed);
  else
    o.Exclude(coFixed);
  SetOptions(o);
}

int TLazyTreeColumn::Left() const {
  if (Visible() && FOptions.Has(coFixed)) return FLeft;
  return FLeft - (Tree() ? Tree()->EffectiveOffsetX() : 0);
}

// ------------------------------------------------------------------------------------------------------------
// The collection

TLazyTreeColumns::TLazyTreeColumns(TLTHeader* AOwner)
    : plat::TCollection(plat::ItemClassOf<TLazyTreeColumn>()), FHeader(AOwner) {}

TLazyTreeColumns::~TLazyTreeColumns() {
  FClearing = true;
  plat::TCollection::Clear();
}

TBaseLazyTreeControl* TLazyTreeColumns::Tree() const { return FHeader ? FHeader->FOwner : nullptr; }
TTreeHeaderHost* TLazyTreeColumns::TreeHost() const { return FHeader ? FHeader->FHost : nullptr; }

void TLazyTreeColumns::Clear() {
  FClearing = true;
  if (TBaseLazyTreeControl* t = Tree()) t->CancelEditNode();
  FHoverIndex = FDownIndex = FTrackIndex = FClickIndex = NoColumn;
  FCheckBoxHit = false;
  if (FHeader && !FHeader->FStates.Has(hsLoading)) {
    FHeader->FAutoSizeIndex = NoColumn;
    FHeader->FMainColumn = NoColumn;
    FHeader->FSortColumn = NoColumn;
  }
  if (TTreeHeaderHost* h = TreeHost(); h && !h->Loading()) h->SetFocusedColumnQuietly(NoColumn);
  plat::TCollection::Clear();
  FPositionToIndex.clear();
  FClearing = false;
}

void TLazyTreeColumns::Assign(plat::TPersistent* Source) {
  plat::TCollection::Assign(Source);
  if (auto* s = dynamic_cast<TLazyTreeColumns*>(Source)) {
    FPositionToIndex = s->FPositionToIndex;
    FNeedPositionsFix = false;
    RecomputeColumnLefts(true);
  }
}

bool TLazyTreeColumns::Equals(const TLazyTreeColumns& Other) const {
  if (Count() != Other.Count() || FPositionToIndex != Other.FPositionToIndex) return false;
  for (int i = 0; i < Count(); ++i)
    if (!Items(i)->Equals(*Other.Items(i))) return false;
  return true;
}

void TLazyTreeColumns::Notify(plat::TCollectionItem* Item, plat::TCollectionNotification Action) {
  plat::TCollection::Notify(Item, Action);
  TBaseLazyTreeControl* t = Tree();
  if ((Action == plat::cnExtracting || Action == plat::cnDeleting) && t && !TreeHost()->Loading() &&
      t->FocusedColumn() == Item->Index())
    TreeHost()->SetFocusedColumnQuietly(NoColumn);
}

void TLazyTreeColumns::Update(plat::TCollectionItem* Item) {
  SyncPositionMapLength();
  TBaseLazyTreeControl* t = Tree();
  TTreeHeaderHost* host = TreeHost();
  if (host && host->Destroying()) return;
  if (host && host->Loading())
    FNeedPositionsFix = true;
  else
    RecomputeColumnLefts(false);
  if (Count() > 0 && FHeader && FHeader->FMainColumn < 0) FHeader->FMainColumn = 0;
  if (!t || host->Loading() || (FHeader && FHeader->FStates.Has(hsLoading))) return;
  if (FHeader->FOptions.Has(hoAutoResize)) FHeader->FitAutoSizeColumn(false);
  if (Item) {
    FHeader->InvalidateColumn(Item->Index());
  } else {
    t->UpdateHorizontalScrollBar(false);
    FHeader->Invalidate();
    t->Invalidate();
  }
}

// ------------------------------------------------------------------------------------------------------------
// Position map

void TLazyTreeColumns::RecomputeColumnLefts(bool Force) {
  TTreeHeaderHost* host = TreeHost();
  if ((host && host->Destroying()) || FNeedPositionsFix || (!Force && UpdateCount() > 0)) return;
  SyncPositionMapLength();
  int left = 0;
  for (std::size_t p = 0; p < FPositionToIndex.size(); ++p) {
    TLazyTreeColumn* c = Items(FPositionToIndex[p]);
    c->FPosition = static_cast<TColumnPosition>(p);
    c->FLeft = left;
    if (c->Visible()) left += c->FWidth;
  }
  if (TBaseLazyTreeControl* t = Tree()) t->UpdateHorizontalScrollBar(false);
}

void TLazyTreeColumns::SyncPositionMapLength() {
  const auto count = static_cast<std::size_t>(Count());
  const std::size_t old = FPositionToIndex.size();
  if (old == count) return;
  FPositionToIndex.resize(count);
  for (std::size_t p = old; p < count; ++p) FPositionToIndex[p] = static_cast<TColumnIndex>(p);
  if (count < old) {
    // Entries that point past the end move down until every one is a valid index.
    for (bool again = true; again;) {
      again = false;
      for (TColumnIndex& e : FPositionToIndex)
        if (e >= static_cast<TColumnIndex>(count)) {
          --e;
          again = true;
        }
    }
  }
}

void TLazyTreeColumns::RebuildPositionMap() {
  SyncPositionMapLength();
  for (int i = 0; i < Count(); ++i) {
    const TColumnPosition p = std::min<TColumnPosition>(Items(i)->FPosition, static_cast<TColumnPosition>(Count() - 1));
    FPositionToIndex[p] = i;
  }
  FNeedPositionsFix = false;
  RecomputeColumnLefts(true);
}

void TLazyTreeColumns::ResetPositionMap(bool Reverse) {
  SyncPositionMapLength();
  for (int p = 0; p < Count(); ++p)
    FPositionToIndex[static_cast<std::size_t>(p)] = Reverse ? Count() - 1 - p : p;
  RecomputeColumnLefts(true);
}

void TLazyTreeColumns::MoveInPositionMap(TColumnIndex Column, TColumnPosition NewPosition) {
  auto it = std::find(FPositionToIndex.begin(), FPositionToIndex.end(), Column);
  if (it == FPositionToIndex.end()) return;
  const auto old = static_cast<std::size_t>(it - FPositionToIndex.begin());
  const auto to = static_cast<std::size_t>(NewPosition);
  if (old < to)
    std::rotate(FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old),
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old) + 1,
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(to) + 1);
  else if (old > to)
    std::rotate(FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(to),
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old),
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old) + 1);
  FPositionToIndex[to] = Column;
}

void TLazyTreeColumns::DropFromPositionMap(TColumnIndex Index) {
  FPositionToIndex.erase(std::remove(FPositionToIndex.begin(), FPositionToIndex.end(), Index),
                         FPositionToIndex.end());
  for (TColumnIndex& e : FPositionToIndex)
    if (e > Index) --e;
}

void TLazyTreeColumns::FixIndexesAfterDeleting(TColumnIndex Index) {
  auto fix = [Index](TColumnIndex& v) {
    if (v == Index)
      v = NoColumn;
    else if (v > Index)
      --v;
  };
  for (TColumnIndex* v : {&FHoverIndex, &FDownIndex, &FTrackIndex, &FClickIndex}) fix(*v);
  if (!FHeader) return;
  fix(FHeader->FAutoSizeIndex);
  fix(FHeader->FSortColumn);
  if (FHeader->FMainColumn == Index)
    FHeader->FMainColumn = Count() > 1 ? 0 : NoColumn;  // the column is still counted here
  else if (FHeader->FMainColumn > Index)
    --FHeader->FMainColumn;
}

// ------------------------------------------------------------------------------------------------------------
// Queries

TColumnIndex TLazyTreeColumns::GetFirstColumn() const {
  return FPositionToIndex.empty() ? ColumnNotFound : FPositionToIndex[0];
}

TColumnIndex TLazyTreeColumns::GetNextColumn(TColumnIndex Column) const {
  if (!IsValidColumn(Column)) return ColumnNotFound;
  const TColumnPosition p = Items(Column)->FPosition + 1;
  return p < FPositionToIndex.size() ? FPositionToIndex[p] : ColumnNotFound;
}

TColumnIndex TLazyTreeColumns::GetPreviousColumn(TColumnIndex Column) const {
  if (!IsValidColumn(Column)) return ColumnNotFound;
  const TColumnPosition p = Items(Column)->FPosition;
  return p > 0 ? FPositionToIndex[p - 1] : ColumnNotFound;
}

namespace {
bool Qualifies(const TLazyTreeColumn* c, bool ConsiderAllowFocus) {
  return c->Visible() && (!ConsiderAllowFocus || c->Options().Has(coAllowFocus));
}
}  // namespace

TColumnIndex TLazyTreeColumns::GetNextVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus) const {
  for (Column = GetNextColumn(Column); Column != ColumnNotFound; Column = GetNextColumn(Column))
    if (Qualifies(Items(Column), ConsiderAllowFocus)) return Column;
  return ColumnNotFound;
}

TColumnIndex TLazyTreeColumns::GetPreviousVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus) const {
  for (Column = GetPreviousColumn(Column); Column != ColumnNotFound; Column = GetPreviousColumn(Column))
    if (Qualifies(Items(Column), ConsiderAllowFocus)) return Column;
  return ColumnNotFound;
}

TColumnIndex TLazyTreeColumns::GetFirstVisibleColumn(bool ConsiderAllowFocus) const {
  for (TColumnIndex c : FPositionToIndex)
    if (Qualifies(Items(c), ConsiderAllowFocus)) return c;
  return ColumnNotFound;
}

TColumnIndex TLazyTreeColumns::GetLastVisibleColumn(bool ConsiderAllowFocus) const {
  for (auto it = FPositionToIndex.rbegin(); it != FPositionToIndex.rend(); ++it)
    if (Qualifies(Items(*it), ConsiderAllowFocus)) return *it;
  return ColumnNotFound;
}

std::vector<TLazyTreeColumn*> TLazyTreeColumns::GetVisibleColumns() const {
  std::vector<TLazyTreeColumn*> r;
  for (TColumnIndex c : FPositionToIndex)
    if (Items(c)->Visible()) r.push_back(Items(c));
  return r;
}

int TLazyTreeColumns::GetVisibleFixedWidth() const {
  int w = 0;
  for (TLazyTreeColumn* c : GetVisibleColumns())
    if (c->FOptions.Has(coFixed)) w += c->FWidth;
  return w;
}

int TLazyTreeColumns::GetScrollWidth() const {
  int sum = 0, n = 0;
  for (TLazyTreeColumn* c : GetVisibleColumns())
    if (!c->FOptions.Has(coFixed)) {
      sum += c->FWidth;
      ++n;
    }
  if (n == 0) return Tree() ? static_cast<int>(Tree()->Indent()) : 18;
  return static_cast<int>(std::nearbyint(double(sum) / n));
}

int TLazyTreeColumns::TotalWidth() const {
  for (auto it = FPositionToIndex.rbegin(); it != FPositionToIndex.rend(); ++it) {
    const TLazyTreeColumn* c = Items(*it);
    if (c->Visible()) return c->FLeft + c->FWidth;
  }
  return 0;
}

void TLazyTreeColumns::GetColumnBounds(TColumnIndex Column, int& Left, int& Right) const {
  if (Column < 0) {
    Left = 0;
    Right = Tree() ? Tree()->ClientWidth() : 0;
    return;
  }
  Left = Items(Column)->Left();
  Right = Left + Items(Column)->FWidth;
}

TColumnIndex TLazyTreeColumns::WalkToX(int X, int Start, int& Left, int& Right) const {
  int edge = Start;
  for (TColumnIndex c : FPositionToIndex) {
    const TLazyTreeColumn* col = Items(c);
    if (!col->Visible()) continue;
    const int left = edge;
    edge += col->FWidth;
    if (edge > X) {
      Left = left;
      Right = edge;
      return c;
    }
  }
  return ColumnNotFound;
}

TColumnIndex TLazyTreeColumns::HitColumnSpan(plat::TPoint P, int& Left, bool Relative, int& Right) const {
  const int start = Relative && P.X >= GetVisibleFixedWidth() && Tree() ? -Tree()->EffectiveOffsetX() : 0;
  return WalkToX(P.X, start, Left, Right);
}

TColumnIndex TLazyTreeColumns::ColumnFromPosition(plat::TPoint P, bool Relative) const {
  if (P.X < 0 || P.Y < 0 || (Tree() && P.Y > Tree()->Height())) return ColumnNotFound;
  int left = 0, right = 0;
  return HitColumnSpan(P, left, Relative, right);
}

TColumnIndex TLazyTreeColumns::ColumnFromPosition(TColumnPosition PositionIndex) const {
  return PositionIndex < FPositionToIndex.size() ? FPositionToIndex[PositionIndex] : NoColumn;
}

}  // namespace lazytree
