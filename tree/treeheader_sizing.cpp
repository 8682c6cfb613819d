// Column sizing: the auto-size column, auto-fit to the widest content, the proportional resize that spreads a
// width change over a range of columns within their limits, spring columns, and restoring last widths.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tree/treecolumns.h"
#include "tree/treecontrol.h"
#include "tree/treeheaderhost.h"

namespace lazytree {

void TLTHeader::FitAutoSizeColumn(bool Force) {
  TLazyTreeColumns& cols = *FColumns;
  if (cols.Count() == 0) return;
  const TColumnIndex index = cols.IsValidColumn(FAutoSizeIndex) ? FAutoSizeIndex : cols.Count() - 1;
  int available = FOwner ? FOwner->ClientWidth() : 0;
  for (int i = 0; i < cols.Count(); ++i)
    if (i != index && cols.Items(i)->Visible()) available -= cols.Items(i)->FWidth;
  TLazyTreeColumn* c = cols.Items(index);
  const int w = std::max(std::min(c->FMaxWidth, available), c->FMinWidth);
  if (!Force && w == c->FWidth) return;
  c->FWidth = w;
  cols.RecomputeColumnLefts(false);
  if (!FOwner || FHost->Updating()) return;
  FOwner->BeginUpdate();
  try {
    FOwner->ColumnResized(index);
  } catch (...) {
    FOwner->EndUpdate();
    throw;
  }
  FOwner->EndUpdate();
}

namespace {

// One proportional resize over working copies of the widths; the columns only take the result at the end.
struct TResizePlan {
  std::vector<TLazyTreeColumn*> Columns;  // the range, nullptr for columns that do not take part
  std::vector<int> Widths, Limits, OldWidths;
  bool Growing = false;

  bool CanChange(std::size_t i) const {
    return Columns[i] && (Growing ? Widths[i] < Limits[i] : Widths[i] > Limits[i]);
  }
  int Room(std::size_t i) const { return Growing ? Limits[i] - Widths[i] : Widths[i] - Limits[i]; }
  // Gives up to Amount pixels to column i; returns what it took.
  int Give(std::size_t i, int Amount) {
    const int taken = std::min(Amount, Room(i));
    Widths[i] += Growing ? taken : -taken;
    return taken;
  }
};

}  // namespace

int TLTHeader::ResizeColumns(int ChangeBy, TColumnIndex RangeStart, TColumnIndex RangeEnd,
                             TLTColumnOptions Options) {
  TLazyTreeColumns& cols = *FColumns;
  RangeStart = std::max(RangeStart, 0);
  RangeEnd = std::min(RangeEnd, cols.Count() - 1);
  if (ChangeBy == 0 || RangeEnd < RangeStart) return 0;
  TResizePlan plan;
  plan.Growing = ChangeBy > 0;
  for (TColumnIndex i = RangeStart; i <= RangeEnd; ++i) {
    TLazyTreeColumn* c = cols.Items(i);
    const bool takesPart = (c->FOptions.ToBits() & Options.ToBits()) == Options.ToBits();
    plan.Columns.push_back(takesPart ? c : nullptr);
    plan.Widths.push_back(c->FWidth);
    plan.OldWidths.push_back(c->FWidth);
    plan.Limits.push_back(plan.Growing ? c->FMaxWidth : c->FMinWidth);
  }
  const std::size_t n = plan.Columns.size();
  const std::size_t bonusStart = plan.Growing ? 0 : n - 1;
  int remaining = std::abs(ChangeBy);
  while (remaining > 0) {
    int count = 0, room = 0;
    for (;;) {
      count = room = 0;
      for (std::size_t i = 0; i < n; ++i)
        if (plan.CanChange(i)) {
          ++count;
          room += plan.Room(i);
        }
      if (plan.Growing || !FStates.Has(hsScaling) || std::abs(ChangeBy) <= room) break;
      // Under the fixed-area limits a block that must shrink lowers the minimum of its widest column.
      std::size_t widest = n;
      for (std::size_t i = 0; i < n; ++i)
        if (plan.Columns[i] && (widest == n || plan.OldWidths[i] > plan.Widths[widest])) widest = i;
      if (widest == n || plan.Limits[widest] <= 10) break;
      plan.Limits[widest] -= plan.Limits[widest] / 10;
    }
    if (count == 0) break;
    remaining = std::min(remaining, room);
    const int amount = remaining;
    if (const int step = amount / count; step > 0)
      for (std::size_t i = 0; i < n; ++i)
        if (plan.CanChange(i)) remaining -= plan.Give(i, step);
    // The odd pixels go one at a time to columns that did not get one in the last resize this way.
    for (int odd = amount % count, guard = 0; odd > 0 && remaining > 0 && guard < 2; ++guard) {
      for (std::size_t k = 0; k < n && odd > 0 && remaining > 0; ++k) {
        const std::size_t i = plan.Growing ? bonusStart + k : bonusStart - k;
        if (!plan.CanChange(i) || plan.Columns[i]->FBonusPixel == plan.Growing) continue;
        remaining -= plan.Give(i, 1);
        --odd;
        plan.Columns[i]->FBonusPixel = plan.Growing;
      }
      if (odd > 0)
        for (std::size_t i = 0; i < n; ++i)
          if (plan.Columns[i]) plan.Columns[i]->FBonusPixel = !plan.Columns[i]->FBonusPixel;
    }
  }
  FStates.Include(hsResizing);
  int applied = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (plan.Columns[i]) {
      plan.Columns[i]->SetWidth(plan.Widths[i]);
      applied += plan.Columns[i]->FWidth - plan.OldWidths[i];
    }
  FStates.Exclude(hsResizing);
  return applied;
}

void TLTHeader::AnimatedResize(TColumnIndex Column, int NewWidth) {
  if (!FColumns->IsValidColumn(Column)) return;
  TLazyTreeColumn* c = FColumns->Items(Column);
  NewWidth = std::min(std::max(NewWidth, c->FMinWidth), c->FMaxWidth);
  if (NewWidth == c->FWidth) return;
  // This platform repaints from the model, so the resize shows its final state at once.
  c->SetWidth(NewWidth);
}

void TLTHeader::RestoreColumns() {
  TLazyTreeColumns& cols = *FColumns;
  for (int p = cols.Count() - 1; p >= 0; --p) {
    const TColumnIndex i = cols.ColumnFromPosition(static_cast<TColumnPosition>(p));
    if (!cols.IsValidColumn(i)) continue;
    TLazyTreeColumn* c = cols.Items(i);
    if (c->Visible() && c->FOptions.Has(coResizable)) c->RestoreLastWidth();
  }
}

void TLTHeader::DistributeSpringWidth() {
  const int headerWidth = FOwner ? FOwner->ClientWidth() : 0;
  const float delta = static_cast<float>(headerWidth - FLastWidth);
  if (FOptions.Has(hoAutoSpring) && FLastWidth != 0 && delta != 0) {
    const int sign = delta >= 0 ? 1 : -1;
    float rest = std::abs(delta);
    std::vector<TLazyTreeColumn*> springs;
    for (int i = 0; i < FColumns->Count(); ++i) {
      TLazyTreeColumn* c = FColumns->Items(i);
      if (c->Visible() && c->FOptions.Has(coAutoSpring)) springs.push_back(c);
    }
    if (!springs.empty()) {
      const float stepSize = rest / static_cast<float>(springs.size());
      for (TLazyTreeColumn* c : springs) {
        const float s = c->FSpringRest + stepSize;
        if (s >= 1) c->SetWidth(c->FWidth + sign * static_cast<int>(std::trunc(s)));
        c->FSpringRest = s - std::trunc(s);
        rest -= stepSize;
        if (rest < 0) break;
      }
    }
  }
  FLastWidth = headerWidth;
}

void TLTHeader::FitColumnAtPosition(int Position, TSmartAutoFitType SmartAutoFitType) {
  const TColumnIndex column = FColumns->ColumnFromPosition(static_cast<TColumnPosition>(Position));
  if (!FColumns->IsValidColumn(column)) return;
  const TLazyTreeColumn* c = FColumns->Items(column);
  if (!c->Visible() || !c->FOptions.Has(coResizable)) return;
  TSmartAutoFitType perColumn = SmartAutoFitType;
  bool allowed = true;
  if (OnBeforeAutoFitColumn) OnBeforeAutoFitColumn(this, column, perColumn, allowed);
  if (!allowed || FOwner->OperationCanceled()) return;
  const bool smart = SmartAutoFitType == smaAllColumns ||
                     (SmartAutoFitType == smaUseColumnOption && c->FOptions.Has(coSmartResize));
  const int w = FOwner->GetMaxColumnWidth(column, smart);
  AnimatedResize(column, w);
  if (OnAfterAutoFitColumn) OnAfterAutoFitColumn(this, column);
}

void TLTHeader::AutoFitColumns(bool /*Animated*/, TSmartAutoFitType SmartAutoFitType, int RangeStart,
                               int RangeEnd) {
  if (!FOwner) return;
  const int start = std::max(RangeStart, 0);
  const int end = RangeEnd < 0 ? FColumns->Count() - 1 : std::min(RangeEnd, FColumns->Count() - 1);
  if (end < start) return;
  FOwner->StartOperation(okAutoFitColumns);
  try {
    if (OnBeforeAutoFitColumns) OnBeforeAutoFitColumns(this, SmartAutoFitType);
    for (int p = start; p <= end; ++p) FitColumnAtPosition(p, SmartAutoFitType);
    if (OnAfterAutoFitColumns) OnAfterAutoFitColumns(this);
  } catch (...) {
    FOwner->EndOperation(okAutoFitColumns);
    throw;
  }
  FOwner->EndOperation(okAutoFitColumns);
}

// ------------------------------------------------------------------------------------------------------------
// Measuring a column's content

int TBaseLazyTreeControl::GetMaxColumnWidth(TColumnIndex Column, bool UseSmartColumnWidth) {
  if (OperationCanceled()) {
    const TLazyTreeColumns& cols = FHeader->Columns();
    return cols.IsValidColumn(Column) ? cols.Items(Column)->Width() : 0;
  }
  StartOperation(okGetMaxColumnWidth);
  int result = 0;
  try {
    if (FHeader->OnBeforeGetMaxColumnWidth) FHeader->OnBeforeGetMaxColumnWidth(FHeader.get(), Column, UseSmartColumnWidth);
    result = MeasureColumnContent(Column, UseSmartColumnWidth);
    if (FHeader->OnAfterGetMaxColumnWidth) FHeader->OnAfterGetMaxColumnWidth(FHeader.get(), Column, result);
  } catch (...) {
    EndOperation(okGetMaxColumnWidth);
    throw;
  }
  EndOperation(okGetMaxColumnWidth);
  return result;
}

int TBaseLazyTreeControl::MeasureColumnContent(TColumnIndex Column, bool UseSmartColumnWidth) {
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  const bool isMain = Column == FHeader->MainColumn();
  PLazyNode node = UseSmartColumnWidth ? TopNode() : GetFirstVisible(nullptr, true);
  PLazyNode stop = nullptr;
  if (UseSmartColumnWidth)
    if (PLazyNode bottom = BottomNode()) stop = GetNextVisible(bottom, true);
  const int indent = static_cast<int>(FIndent);
  int off = 0;
  if (isMain && node) {
    const int level = static_cast<int>(GetNodeLevel(node));
    off = paint.Has(toFixedIndent) ? indent : paint.Has(toShowRoot) ? (level + 1) * indent : level * indent;
  }
  off += FMargin;
  const bool withCheck = isMain && TreeOptions().MiscOptions.Has(toCheckSupport) && CheckImagesInForce();
  const int checkW = CheckImagesInForce() ? CheckImageWidth() + 2 : 0;
  const int stateW = FStateImages.List ? FStateImages.List->Width() + 2 : 0;
  // Once one node of the column shows a normal image, every later node is measured with that room too.
  bool normalImages = false;
  int result = 0;
  while (node && !OperationCanceled()) {
    int x = off;
    if (withCheck && node->CheckType != ctNone) x += checkW;
    if (FImages.List) {
      normalImages = normalImages || NodeHasImage(node, ikNormal, Column);
      if (normalImages) x += NodeImageSize(node, ikNormal, Column).cx + 2;
    }
    if (FStateImages.List && NodeHasImage(node, ikState, Column)) x += stateW;
    const int content = DoGetNodeWidth(node, Column) + DoGetNodeExtraWidth(node, Column) +
                        CellContentMargin(node, Column, ccmtAllSides, nullptr).X;
    result = std::max(result, x + content);
    PLazyNode next = GetNextVisible(node, true);
    if (next == stop || !next) break;
    if (isMain && !paint.Has(toFixedIndent)) off += LevelDifference(node, next) * indent;
    node = next;
  }
  if (paint.Has(toShowVertGridLines)) ++result;
  return result;
}

bool TBaseLazyTreeControl::NodeHasImage(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column) {
  TLTImageInfo info;
  FetchImageInfo(Node, Column, Kind, info, Kind == ikState ? FStateImages.List : FImages.List);
  return info.Index >= 0;
}

int TBaseLazyTreeControl::CheckImageWidth() const {
  if (FCheckImageKind == ckCustom) return FCustomCheckImages.List ? FCustomCheckImages.List->Width() : 0;
  return 16;  // the check images all have this size
}

}  // namespace lazytree
