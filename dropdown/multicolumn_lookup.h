#pragma once
// The completion's search over a drop-down's lookup texts: the first text in list order that starts with a typed
// part, found without walking the list. The texts are kept sorted with their list positions, so those starting
// with the typed part are one run; a minimum tree over the positions gives that run's first text in list order.

#include <QString>
#include <QStringList>

#include <vector>

namespace dropdown::multicolumn {

class TPrefixIndex {
 public:
  // Drops the index; the next Find builds it from the texts it is given.
  void Clear() { FBuilt = false; }
  // The list position of the first text that starts with Prefix (-1 when none or Prefix is empty). Texts must be
  // the list the index was (or is now) built from.
  int Find(const QStringList& Texts, const QString& Prefix);

 private:
  void Build(const QStringList& Texts);
  int RunMinimum(int From, int To) const;

  bool FBuilt = false;
  const QStringList* FTexts = nullptr;
  std::vector<int> FSorted;  // list positions in text order
  std::vector<int> FTree;    // minimum tree over FSorted (leaves at Size .. 2 * Size - 1)
  int FSize = 0;
};

}  // namespace dropdown::multicolumn
