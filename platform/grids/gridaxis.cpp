#include "platform/grids/gridaxis.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace plat {

namespace {
int LowBit(int k) { return k & -k; }
}  // namespace

void TGridAxis::SetCount(int count) {
  count = std::max(count, 0);
  if (count == FCount) return;
  const int old = FCount;
  FCount = count;
  if (!FDense.empty()) FDense.resize(static_cast<std::size_t>(count), FDefault);
  if (count < old) {
    FSizes.erase(FSizes.lower_bound(count), FSizes.end());
    if (!HasOwnSizes())
      FTree.clear();
    else
      FTree.resize(static_cast<std::size_t>(count) + 1);  // the sums of the kept indexes stay as they are
    return;
  }
  if (FTree.empty()) return;
  if (count - old > old / 4) {
    Rebuild();
    return;
  }
  // New indexes have no own size: each node only sums the older indexes it covers.
  FTree.resize(static_cast<std::size_t>(count) + 1);
  for (int k = old + 1; k <= count; ++k) FTree[k] = DeltaSum(k - 1) - DeltaSum(k - LowBit(k));
}

void TGridAxis::SetDefaultSize(int size) {
  FDefault = std::max(size, 0);
  FSizes.clear();
  FDense.clear();
  FTree.clear();
}

int TGridAxis::Size(int index) const {
  if (!FDense.empty()) return index >= 0 && index < FCount ? FDense[static_cast<std::size_t>(index)] : FDefault;
  auto it = FSizes.find(index);
  return it == FSizes.end() ? FDefault : it->second;
}

int TGridAxis::Delta(int index) const { return Size(index) - FDefault; }

// Many own sizes: a map costs more per lookup and per byte than an array of all sizes.
void TGridAxis::MakeDense() {
  FDense.assign(static_cast<std::size_t>(FCount), FDefault);
  for (const auto& [index, size] : FSizes) FDense[static_cast<std::size_t>(index)] = size;
  FSizes.clear();
}

void TGridAxis::StoreSize(int index, int size) {
  if (!FDense.empty()) {
    FDense[static_cast<std::size_t>(index)] = size;
    return;
  }
  if (size == FDefault) {
    FSizes.erase(index);
    return;
  }
  FSizes[index] = size;
  if (static_cast<int>(FSizes.size()) > std::max(64, FCount / 16)) MakeDense();
}

void TGridAxis::SetSize(int index, int size) {
  if (index < 0 || index >= FCount) return;
  size = std::max(size, 0);
  const int change = size - Size(index);
  if (change == 0) return;
  StoreSize(index, size);
  if (FTree.empty()) {
    Rebuild();
    return;
  }
  AddDelta(index, change);
  if (!HasOwnSizes()) FTree.clear();
}

void TGridAxis::AddDelta(int index, int delta) {
  for (int k = index + 1; k <= FCount; k += LowBit(k)) FTree[k] += delta;
}

void TGridAxis::Rebuild() {
  FTree.assign(HasOwnSizes() ? static_cast<std::size_t>(FCount) + 1 : 0, 0);
  if (FTree.empty()) return;
  for (const auto& [index, size] : FSizes) FTree[index + 1] += size - FDefault;
  for (std::size_t i = 0; i < FDense.size(); ++i) FTree[i + 1] += FDense[i] - FDefault;
  for (int k = 1; k <= FCount; ++k) {
    const int parent = k + LowBit(k);
    if (parent <= FCount) FTree[parent] += FTree[k];
  }
}

std::int64_t TGridAxis::DeltaSum(int count) const {
  std::int64_t s = 0;
  for (int k = count; k > 0; k -= LowBit(k)) s += FTree[k];
  return s;
}

std::int64_t TGridAxis::Pos(int index) const {
  index = std::clamp(index, 0, FCount);
  const std::int64_t base = std::int64_t(index) * (FDefault + FGap);
  return FTree.empty() ? base : base + DeltaSum(index);
}

int TGridAxis::IndexAt(std::int64_t p) const {
  if (p < 0) return -1;
  if (p >= Extent()) return FCount;
  const std::int64_t unit = FDefault + FGap;
  if (FTree.empty()) return static_cast<int>(p / unit);  // unit > 0 here, or Extent() would be 0
  // Largest k with Pos(k) <= p: Pos grows with k because no size is negative.
  int k = 0;
  std::int64_t acc = 0;
  for (int step = static_cast<int>(std::bit_floor(static_cast<unsigned>(FCount))); step > 0; step >>= 1) {
    const int next = k + step;
    if (next <= FCount && std::int64_t(next) * unit + acc + FTree[next] <= p) {
      k = next;
      acc += FTree[next];
    }
  }
  return std::min(k, FCount - 1);
}

void TGridAxis::Move(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= FCount || to >= FCount) return;
  if (!FDense.empty()) {
    auto f = FDense.begin() + from, t = FDense.begin() + to;
    if (from < to)
      std::rotate(f, f + 1, t + 1);
    else
      std::rotate(t, f, f + 1);
    Rebuild();
    return;
  }
  const int lo = std::min(from, to), hi = std::max(from, to);
  std::map<int, int> moved;
  for (auto it = FSizes.lower_bound(lo); it != FSizes.end() && it->first <= hi;) {
    int i = it->first;
    if (i == from)
      i = to;
    else
      i += from < to ? -1 : 1;
    moved[i] = it->second;
    it = FSizes.erase(it);
  }
  FSizes.insert(moved.begin(), moved.end());
  Rebuild();
}

void TGridAxis::Scale(int m, int d) {
  if (d == 0) return;
  auto scale = [m, d](int v) { return static_cast<int>(std::lround(double(v) * m / d)); };
  FDefault = scale(FDefault);
  std::map<int, int> scaled;
  for (const auto& [index, size] : FSizes)
    if (scale(size) != FDefault) scaled[index] = scale(size);
  FSizes.swap(scaled);
  for (int& size : FDense) size = scale(size);
  Rebuild();
}

}  // namespace plat
