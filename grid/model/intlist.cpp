#include "grid/model/intlist.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

namespace grid {

namespace {

constexpr std::uint32_t kDescending = 0x80000000u;

// The integer a leading-number parse stops at: optional sign, then digits; 0 when there are none.
int LeadingInt(const QString& s) {
  int i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  std::int64_t v = 0;
  for (; i < s.size() && s[i].isDigit() && s[i].unicode() < 128; ++i) {
    v = v * 10 + (s[i].unicode() - u'0');
    if (v > 0x7FFFFFFF) break;
  }
  return static_cast<int>(negative ? -v : v);
}

}  // namespace

void TIntList::Check(int Index) const {
  if (Index < 0 || Index >= Count())
    throw plat::EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TIntList::Changed() {
  if (OnChange) OnChange(this, FCol, FRow);
}

int TIntList::Items(int Index) const {
  Check(Index);
  return FItems[Index];
}

void TIntList::SetItems(int Index, int Value) {
  Check(Index);
  FItems[Index] = Value;
  Changed();
}

int TIntList::Add(int Value) {
  FItems.push_back(Value);
  Changed();
  return Count() - 1;
}

void TIntList::Insert(int Index, int Value) {
  if (Index < 0 || Index > Count()) Check(Index);
  FItems.insert(FItems.begin() + Index, Value);
}

void TIntList::Delete(int Index) {
  Check(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

int TIntList::IndexOf(int Value) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i] == Value) return i;
  return -1;
}

void TIntList::DeleteValue(int Value) {
  const int i = IndexOf(Value);
  if (i >= 0) Delete(i);
}

bool TIntList::HasValue(int Value) const { return IndexOf(Value) >= 0; }

void TIntList::Exchange(int Index1, int Index2) {
  Check(Index1);
  Check(Index2);
  std::swap(FItems[Index1], FItems[Index2]);
}

QString TIntList::StrValue() const {
  QString s;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) s += u',';
    s += QString::number(FItems[i]);
  }
  return s;
}

void TIntList::SetStrValue(const QString& Value) {
  FItems.clear();
  plat::TStringList parts;
  parts.SetCommaText(Value);
  for (int i = 0; i < parts.Count(); ++i) Add(plat::StrToInt(parts.Strings(i)));
}

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending) {
  Add(Ascending ? ColumnIndex : static_cast<int>(static_cast<std::uint32_t>(ColumnIndex) | kDescending));
}

int TSortIndexList::FindIndex(int ColumnIndex) const {
  for (int i = 0; i < Count(); ++i)
    if (SortColumns(i) == ColumnIndex) return i;
  return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex) {
  const int i = FindIndex(ColumnIndex);
  if (i >= 0) SetItems(i, static_cast<int>(static_cast<std::uint32_t>(Items(i)) ^ kDescending));
}

int TSortIndexList::SortColumns(int i) const {
  return static_cast<int>(static_cast<std::uint32_t>(Items(i)) & ~kDescending);
}

void TSortIndexList::SetSortColumns(int i, int Value) {
  const std::uint32_t key = static_cast<std::uint32_t>(Items(i));
  SetItems(i, static_cast<int>((key & kDescending) | (static_cast<std::uint32_t>(Value) & ~kDescending)));
}

bool TSortIndexList::SortDirections(int i) const { return Items(i) >= 0; }

void TSortIndexList::SetSortDirections(int i, bool Value) {
  const std::uint32_t key = static_cast<std::uint32_t>(Items(i));
  SetItems(i, static_cast<int>(Value ? key & ~kDescending : key | kDescending));
}

QString TSortIndexList::SaveToString() const {
  QString s;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) s += u';';
    s += SortDirections(i) ? u'u' : u'd';
    s += QString::number(static_cast<std::uint32_t>(Items(i)) & 0xFFFFu);
  }
  return s;
}

void TSortIndexList::LoadFromString(const QString& s) {
  Clear();
  qsizetype from = 0;
  while (from < s.size()) {
    qsizetype sep = s.indexOf(u';', from);
    if (sep < 0) sep = s.size();
    const QString item = s.mid(from, sep - from);
    from = sep + 1;
    if (item.size() < 2) continue;
    AddIndex(LeadingInt(item.mid(1)), item[0] == u'u');
  }
}

void TFileStringList::Reset() {
  fp = 0;
  cache.clear();
}

void TFileStringList::ReadLn(QString& s) {
  s = Strings(fp);
  ++fp;
}

void TFileStringList::WriteLn(const QString& s) {
  Add(cache + s);
  cache.clear();
}

}  // namespace grid
