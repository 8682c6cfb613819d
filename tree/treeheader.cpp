// The header's settings: heights and their limits, options, sorting, the font, the fixed-area limits, scaling
// and copying another header.
#include <QFontMetrics>

#include <algorithm>

#include "platform/rtl/math.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"
#include "tree/treeheaderhost.h"
#include "tree/treedrag.h"

namespace lazytree {

void TLTFixedAreaConstraints::SetPercent(TIndex Index, int Value) {
  Value = std::clamp(Value, 0, 100);
  if (FPercent[Index] == Value) return;
  FPercent[Index] = static_cast<uint8_t>(Value);
  // The opposite limit of the same dimension follows so that the minimum never exceeds a set maximum.
  const auto pairOf = [](TIndex i) {
    switch (i) {
      case MaxHeight: return MinHeight;
      case MinHeight: return MaxHeight;
      case MaxWidth: return MinWidth;
      default: return MaxWidth;
    }
  };
  const TIndex other = pairOf(Index);
  const bool isMax = Index == MaxHeight || Index == MaxWidth;
  if (isMax && Value != 0 && FPercent[other] > Value) FPercent[other] = static_cast<uint8_t>(Value);
  if (!isMax && FPercent[other] != 0 && FPercent[other] < Value) FPercent[other] = static_cast<uint8_t>(Value);
  if (OnChange) OnChange();
}

void TLTFixedAreaConstraints::Assign(const TLTFixedAreaConstraints& Source) {
  std::copy(std::begin(Source.FPercent), std::end(Source.FPercent), std::begin(FPercent));
  if (OnChange) OnChange();
}

// ------------------------------------------------------------------------------------------------------------

TLTHeader::TLTHeader(TBaseLazyTreeControl* Owner, TTreeHeaderHost& Host)
    : FOwner(Owner),
      FHost(&Host),
      FColumns(std::make_unique<TLazyTreeColumns>(this)),
      FDragImage(std::make_unique<TLTDragImage>(Owner)) {
  FFont.OnChange = [this](plat::TObject*) { HeaderFontChanged(); };
  FFixedAreaConstraints.OnChange = [this] { ConstraintsChanged(); };
  // A dragged column shows translucent and a little darker (the byte 206 is a bias of -50), without fading
  // towards its edges.
  FDragImage->SetFade(false);
  FDragImage->SetPostBlendBias(0);
  FDragImage->SetPreBlendBias(static_cast<TLTBias>(206 - 256));
  FDragImage->SetTransparency(140);
}

void TLTHeader::Invalidate(TColumnIndex, bool) {
  // The window paints header and rows together, so any part of the header repaints the window.
  if (FOwner && FOptions.Has(hoVisible) && !FHost->Destroying()) FOwner->Invalidate();
}

TLTHeader::~TLTHeader() {
  FFont.OnChange = nullptr;
  FFixedAreaConstraints.OnChange = nullptr;
}

void TLTHeader::SetMainColumn(TColumnIndex Value) {
  if (FOwner && FHost->Loading()) {
    FMainColumn = Value;
    return;
  }
  Value = FColumns->Count() == 0 ? NoColumn : std::clamp(Value, 0, FColumns->Count() - 1);
  if (Value == FMainColumn) return;
  FMainColumn = Value;
  if (!FOwner) return;
  FHost->MainColumnChanged();
  if (!FOwner->TreeOptions().SelectionOptions.Has(toExtendedFocus)) FHost->SetFocusedColumnQuietly(FMainColumn);
  FOwner->Invalidate();
}

void TLTHeader::ClampMainColumn() {
  FMainColumn = FColumns->Count() == 0 ? NoColumn : std::clamp(FMainColumn, 0, FColumns->Count() - 1);
}

bool TLTHeader::AllowFocus(TColumnIndex Column) const {
  return FColumns->IsValidColumn(Column) && FColumns->Items(Column)->Options().Has(coAllowFocus);
}

void TLTHeader::SetAutoSizeIndex(TColumnIndex Value) {
  if (FAutoSizeIndex == Value) return;
  FAutoSizeIndex = Value;
  if (FOptions.Has(hoAutoResize)) FitAutoSizeColumn(false);
}

void TLTHeader::SetBackground(plat::TColor Value) {
  if (FBackgroundColor == Value) return;
  FBackgroundColor = Value;
  Invalidate();
}

void TLTHeader::SetStyle(TLTHeaderStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (!FOwner || !FHost->Loading()) Invalidate();
}

void TLTHeader::SetHeight(int Value) {
  if (!FOwner) {
    FHeight = Value;
    FStates.Include(hsNeedScaling);
    return;
  }
  const TLTFixedAreaConstraints& c = FFixedAreaConstraints;
  const int total = FHost->RowsHeight() + FHeight;
  const int maxP = total * c.MaxHeightPercent() / 100, minP = total * c.MinHeightPercent() / 100;
  const int lower = c.MaxHeightPercent() > 0 ? std::min(FMinHeight, maxP) : FMinHeight;
  const int upper = c.MinHeightPercent() > 0 ? std::max(FMaxHeight, minP) : FMaxHeight;
  int h = std::min(std::max(Value, lower), upper);
  if (c.MinHeightPercent() > 0) h = std::max(h, minP);
  if (c.MaxHeightPercent() > 0) h = std::min(h, maxP);
  if (h == FHeight) return;
  FHeight = h;
  if (FHost->Loading() || FStates.Has(hsScaling)) return;
  if (FOptions.Has(hoVisible)) FOwner->UpdateScrollBars(true);
  Invalidate();
  FOwner->Invalidate();
}

void TLTHeader::SetDefaultHeight(int Value) {
  Value = std::clamp(Value, FMinHeight, FMaxHeight);
  if (FHeight == FDefaultHeight) SetHeight(Value);
  FDefaultHeight = Value;
}

void TLTHeader::SetMaxHeight(int Value) {
  FMaxHeight = std::max(Value, FMinHeight);
  SetHeight(FHeight);
}

void TLTHeader::SetMinHeight(int Value) {
  FMinHeight = std::min(std::max(Value, 0), FMaxHeight);
  SetHeight(FHeight);
}

void TLTHeader::SetFont(const plat::TFont& Value) {
  FFont.Assign(Value);
  FParentFont = false;
}

void TLTHeader::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value) ParentFontChanged();
}

void TLTHeader::ParentFontChanged() {
  if (FParentFont && FOwner) FFont.Assign(*FOwner->Font());
}

void TLTHeader::HeaderFontChanged() {
  if (FOwner && FOwner->TreeOptions().AutoOptions.Has(toAutoChangeScale)) {
    int spacing = 0;
    for (int i = 0; i < FColumns->Count(); ++i) spacing = std::max(spacing, FColumns->Items(i)->Spacing());
    const int th = QFontMetrics(FFont.QtFont()).height();
    SetHeight(std::max(FHeight, th + spacing + spacing / 2));
  }
  Invalidate();
}

void TLTHeader::SetOptions(TLTHeaderOptions Value) {
  const TLTHeaderOptions old = FOptions;
  FOptions = Value;
  const bool autoResizeChanged = old.Has(hoAutoResize) != Value.Has(hoAutoResize);
  if (autoResizeChanged && FColumns->Count() > 0) {
    FitAutoSizeColumn(false);
    if (FOwner) {
      FOwner->UpdateHorizontalScrollBar(false);
      if (Value.Has(hoAutoResize)) FOwner->Invalidate();
    }
  }
  if (!FOwner || FHost->Loading()) return;
  // Showing or hiding the header moves the rows' area, so the vertical range follows.
  if (old.Has(hoVisible) != Value.Has(hoVisible)) FOwner->UpdateScrollBars(true);
  Invalidate();
  FOwner->Invalidate();
}

void TLTHeader::SetSortColumn(TColumnIndex Value) {
  if (FOwner && FHost->Loading()) {
    FSortColumn = Value;
    return;
  }
  ApplySortColumn(Value);
}

void TLTHeader::ApplySortColumn(TColumnIndex Value) {
  Value = std::min(std::max(Value, NoColumn), FColumns->Count() - 1);
  if (Value == FSortColumn) return;
  if (FSortColumn >= 0) InvalidateColumn(FSortColumn);
  FSortColumn = Value;
  if (FSortColumn >= 0) InvalidateColumn(FSortColumn);
  SortTree();
}

void TLTHeader::SetSortDirection(TSortDirection Value) {
  if (FSortDirection == Value) return;
  FSortDirection = Value;
  Invalidate();
  SortTree();
}

void TLTHeader::SortTree() {
  if (!FOwner || FHost->Updating()) return;
  if (!FOwner->TreeOptions().AutoOptions.Has(toAutoSort) && !FOptions.Has(hoHeaderClickAutoSort)) return;
  if (OnSort) OnSort(FSortColumn, FSortDirection);
  FOwner->SortTree(FSortColumn, FSortDirection, true);
}

void TLTHeader::ConstraintsChanged() {
  if (FOwner)
    ApplyFixedAreaLimits();
  else
    FStates.Include(hsNeedScaling);
}

void TLTHeader::ApplyFixedAreaLimits() {
  if (!FOwner || FHost->Loading() || FHost->Destroying() || FStates.Has(hsLoading)) return;
  FStates.Include(hsScaling);
  SetHeight(FHeight);
  const TLTFixedAreaConstraints& c = FFixedAreaConstraints;
  if (c.MinHeightPercent() > 0 || c.MaxHeightPercent() > 0) {
    for (TLazyTreeColumn* col : FColumns->GetVisibleColumns())
      if (col->Options().Has(coFixed) && col->FWidth < col->FMinWidth) col->FWidth = col->FMinWidth;
    const int fixed = FColumns->GetVisibleFixedWidth();
    const int cw = FOwner->ClientWidth();
    const int minW = cw * c.MinWidthPercent() / 100, maxW = cw * c.MaxWidthPercent() / 100;
    const TLTColumnOptions fixedVisible{coVisible, coFixed};
    if (c.MaxWidthPercent() > 0 && fixed > maxW)
      ResizeColumns(maxW - fixed, 0, FColumns->Count() - 1, fixedVisible);
    else if (c.MinWidthPercent() > 0 && fixed < minW)
      ResizeColumns(minW - fixed, 0, FColumns->Count() - 1, fixedVisible);
    FColumns->RecomputeColumnLefts(false);
  }
  FStates.Exclude(hsScaling);
  FStates.Exclude(hsNeedScaling);
}

void TLTHeader::TreeResized() {
  if (!FOwner || FOwner->TreeStates().Has(tsWindowCreating)) return;
  if (FOptions.Has(hoAutoResize) && !FStates.Has(hsAutoSizing))
    FitAutoSizeColumn(false);
  else if (!FStates.Has(hsScaling))
    ApplyFixedAreaLimits();
  DistributeSpringWidth();
  Invalidate();
}

void TLTHeader::ApplyScale(int M, int D) {
  SetHeight(plat::MulDiv(FHeight, M, D));
  if (!FParentFont) FFont.SetSize(plat::MulDiv(FFont.Size(), M, D));
  for (int i = 0; i < FColumns->Count(); ++i) {
    TLazyTreeColumn* c = FColumns->Items(i);
    c->SetWidth(plat::MulDiv(c->Width(), M, D));
  }
}

void TLTHeader::Assign(const TLTHeader& Source) {
  SetAutoSizeIndex(Source.FAutoSizeIndex);
  SetBackground(Source.FBackgroundColor);
  FColumns->Assign(Source.FColumns.get());
  SetFont(Source.FFont);
  FFixedAreaConstraints.Assign(Source.FFixedAreaConstraints);
  SetHeight(Source.FHeight);
  SetImages(Source.Images());
  SetMainColumn(Source.MainColumn());
  SetOptions(Source.FOptions);
  SetParentFont(Source.FParentFont);
  SetSortColumn(Source.FSortColumn);
  SetSortDirection(Source.FSortDirection);
  SetStyle(Source.FStyle);
  ApplyFixedAreaLimits();
}

}  // namespace lazytree
