#include "platform/rtl/strutils.h"

namespace plat {

int Pos(const QString& Substr, const QString& S) { return PosEx(Substr, S, 1); }

int PosEx(const QString& Substr, const QString& S, int Offset) {
  if (Substr.isEmpty() || Offset < 1 || Offset > S.size()) return 0;
  const qsizetype at = S.indexOf(Substr, Offset - 1, Qt::CaseSensitive);
  return at < 0 ? 0 : static_cast<int>(at) + 1;
}

QString Copy(const QString& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || Index > S.size()) return QString();
  const qsizetype avail = S.size() - (Index - 1);
  return S.mid(Index - 1, Count < avail ? Count : avail);
}

void Delete(QString& S, int Index, int Count) {
  if (Index < 1 || Index > S.size() || Count <= 0) return;
  const qsizetype avail = S.size() - (Index - 1);
  S.remove(Index - 1, Count < avail ? Count : avail);
}

void Insert(const QString& Source, QString& S, int Index) {
  if (Source.isEmpty()) return;
  if (Index < 1) Index = 1;
  if (Index > S.size() + 1) Index = static_cast<int>(S.size()) + 1;
  S.insert(Index - 1, Source);
}

}  // namespace plat
