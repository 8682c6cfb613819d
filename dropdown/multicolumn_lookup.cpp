// The completion's search over the lookup texts (see multicolumn_lookup.h).
#include "dropdown/multicolumn_lookup.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace dropdown::multicolumn {

void TPrefixIndex::Build(const QStringList& Texts) {
  FTexts = &Texts;
  FSorted.resize(static_cast<std::size_t>(Texts.size()));
  std::iota(FSorted.begin(), FSorted.end(), 0);
  // Equal texts keep their list order, so the run of a prefix starts with its earliest equal text.
  std::stable_sort(FSorted.begin(), FSorted.end(), [&Texts](int A, int B) { return Texts[A] < Texts[B]; });
  FSize = std::max(1, static_cast<int>(FSorted.size()));
  FTree.assign(2 * static_cast<std::size_t>(FSize), INT_MAX);
  for (std::size_t i = 0; i < FSorted.size(); ++i) FTree[FSize + i] = FSorted[i];
  for (int i = FSize - 1; i > 0; --i) FTree[i] = std::min(FTree[2 * i], FTree[2 * i + 1]);
  FBuilt = true;
}

// The smallest list position among FSorted[From .. To - 1].
int TPrefixIndex::RunMinimum(int From, int To) const {
  int best = INT_MAX;
  for (int l = From + FSize, r = To + FSize; l < r; l /= 2, r /= 2) {
    if (l & 1) best = std::min(best, FTree[l++]);
    if (r & 1) best = std::min(best, FTree[--r]);
  }
  return best;
}

int TPrefixIndex::Find(const QStringList& Texts, const QString& Prefix) {
  if (Prefix.isEmpty() || Texts.isEmpty()) return -1;
  if (!FBuilt || FTexts != &Texts || static_cast<int>(FSorted.size()) != Texts.size()) Build(Texts);
  // In text order the texts below the prefix come first, then those that start with it, then the others.
  const auto first = std::lower_bound(FSorted.begin(), FSorted.end(), Prefix,
                                      [&Texts](int P, const QString& Key) { return Texts[P] < Key; });
  const auto last = std::partition_point(first, FSorted.end(), [&Texts, &Prefix](int P) {
    return Texts[P].startsWith(Prefix);
  });
  if (first == last) return -1;
  return RunMinimum(static_cast<int>(first - FSorted.begin()), static_cast<int>(last - FSorted.begin()));
}

}  // namespace dropdown::multicolumn
