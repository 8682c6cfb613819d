#pragma once
// Text helpers with the 1-based positions and clamping rules that the ported algorithms rely on.

#include <QString>

namespace plat {

// Position (1-based) of Substr in S, 0 when absent or when Substr is empty.
int Pos(const QString& Substr, const QString& S);
// Like Pos, starting the search at 1-based Offset; 0 when Offset < 1 or past the end.
int PosEx(const QString& Substr, const QString& S, int Offset = 1);
// Count characters of S from 1-based Index; Index < 1 starts at 1, a count past the end stops at the end.
QString Copy(const QString& S, int Index, int Count);
// Removes Count characters from 1-based Index; an Index outside 1..Length does nothing.
void Delete(QString& S, int Index, int Count);
// Inserts Source before 1-based Index; Index < 1 inserts at the start, past the end appends.
void Insert(const QString& Source, QString& S, int Index);

}  // namespace plat
