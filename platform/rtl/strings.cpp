#include "platform/rtl/strings.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <utility>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/updating.h"

namespace plat {

// ---- TStrings ------------------------------------------------------------------------------------------------

TStrings::~TStrings() = default;

void TStrings::Error(const QString& Msg) const { throw EStringListError(Msg); }

void TStrings::IndexError(int Index) const { Error(QStringLiteral("List index out of bounds (%1)").arg(Index)); }

int TStrings::Add(const QString& S) { return AddObject(S, nullptr); }

int TStrings::AddObject(const QString& S, TObject* Object) {
  const int at = Count();
  InsertObject(at, S, Object);
  return at;
}

void TStrings::AddStrings(const TStrings& Strings) {
  WithinUpdate(*this, [&] {
    for (int i = 0; i < Strings.Count(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  });
}

void TStrings::InsertObject(int Index, const QString& S, TObject* Object) {
  WithinUpdate(*this, [&] {
    Insert(Index, S);
    PutObject(Index, Object);
  });
}

void TStrings::Put(int Index, const QString& S) {
  TObject* const o = GetObject(Index);
  WithinUpdate(*this, [&] {
    Delete(Index);
    InsertObject(Index, S, o);
  });
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

void TStrings::Exchange(int Index1, int Index2) {
  WithinUpdate(*this, [&] {
    const QString s = Get(Index1);
    TObject* const o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
  });
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) IndexError(NewIndex);  // before the line is taken out
  WithinUpdate(*this, [&] {
    const QString s = Get(CurIndex);
    TObject* const o = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  });
}

int TStrings::CompareStrings(const QString& S1, const QString& S2) const { return AnsiCompareText(S1, S2); }

int TStrings::IndexOf(const QString& S) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const QString& Name) const {
  for (int i = 0, n = Count(); i < n; ++i) {
    const QString s = Get(i);
    const qsizetype p = s.indexOf(FNameValueSeparator);
    if (p >= 0 && CompareStrings(s.left(p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* Object) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (GetObject(i) == Object) return i;
  return -1;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

QString TStrings::Text() const {
  QString r;
  for (int i = 0, n = Count(); i < n; ++i) {
    r += Get(i);
    r += QStringLiteral("\r\n");
  }
  return r;
}

void TStrings::SetText(const QString& Value) {
  WithinUpdate(*this, [&] {
    Clear();
    const qsizetype n = Value.size();
    qsizetype i = 0;
    while (i < n) {
      const qsizetype start = i;
      while (i < n && Value[i] != u'\r' && Value[i] != u'\n') ++i;
      Add(Value.mid(start, i - start));
      if (i < n && Value[i] == u'\r') ++i;
      if (i < n && Value[i] == u'\n') ++i;
    }
  });
}

namespace {

QString QuotedStr(const QString& S, QChar Quote) {
  QString r = Quote;
  for (const QChar c : S) {
    r += c;
    if (c == Quote) r += c;
  }
  return r + Quote;
}

QString JoinDelimited(const TStrings& L, QChar Delimiter, QChar Quote, bool Strict) {
  const int n = L.Count();
  if (n == 1 && L[0].isEmpty()) return QString(2, Quote);
  QString r;
  for (int i = 0; i < n; ++i) {
    const QString s = L[i];
    bool quote = false;
    for (const QChar c : s) {
      if (c == Quote || c == Delimiter || (!Strict && c.unicode() <= 0x20)) {
        quote = true;
        break;
      }
    }
    if (i > 0) r += Delimiter;
    r += quote ? QuotedStr(s, Quote) : s;
  }
  return r;
}

void SplitDelimited(TStrings& L, const QString& V, QChar Delimiter, QChar Quote, bool Strict) {
  const qsizetype n = V.size();
  qsizetype i = 0;
  auto skipBlanks = [&] {
    if (!Strict)
      while (i < n && V[i].unicode() <= 0x20) ++i;
  };
  skipBlanks();
  while (i < n) {
    QString s;
    if (V[i] == Quote) {
      // Quoted: up to the closing quote, a doubled quote standing for one; an unclosed quote runs to the end.
      ++i;
      while (i < n) {
        if (V[i] == Quote) {
          if (i + 1 < n && V[i + 1] == Quote) {
            s += Quote;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        s += V[i++];
      }
    } else {
      const qsizetype start = i;
      while (i < n && V[i] != Delimiter && (Strict || V[i].unicode() > 0x20)) ++i;
      s = V.mid(start, i - start);
    }
    L.Add(s);
    skipBlanks();
    if (i < n && V[i] == Delimiter) {
      ++i;
      if (i == n) L.Add(QString());
      skipBlanks();
    }
  }
}

}  // namespace

QString TStrings::CommaText() const { return JoinDelimited(*this, u',', u'"', false); }

void TStrings::SetCommaText(const QString& Value) {
  WithinUpdate(*this, [&] {
    Clear();
    SplitDelimited(*this, Value, u',', u'"', false);
  });
}

QString TStrings::DelimitedText() const { return JoinDelimited(*this, FDelimiter, FQuoteChar, FStrictDelimiter); }

void TStrings::SetDelimitedText(const QString& Value) {
  WithinUpdate(*this, [&] {
    Clear();
    SplitDelimited(*this, Value, FDelimiter, FQuoteChar, FStrictDelimiter);
  });
}

QString TStrings::Names(int Index) const {
  const QString s = Get(Index);
  const qsizetype p = s.indexOf(FNameValueSeparator);
  return p < 0 ? QString() : s.left(p);
}

QString TStrings::Values(const QString& Name) const {
  const int i = IndexOfName(Name);
  return i < 0 ? QString() : ValueFromIndex(i);
}

void TStrings::SetValues(const QString& Name, const QString& Value) {
  const int i = IndexOfName(Name);
  if (!Value.isEmpty()) {
    const QString line = Name + FNameValueSeparator + Value;
    if (i < 0)
      Add(line);
    else
      Put(i, line);
  } else if (i >= 0) {
    Delete(i);
  }
}

QString TStrings::ValueFromIndex(int Index) const {
  const QString s = Get(Index);
  const qsizetype p = s.indexOf(FNameValueSeparator);
  return p < 0 ? QString() : s.mid(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const QString& Value) {
  if (Value.isEmpty()) {
    Delete(Index);
    return;
  }
  const QString name = Names(Index);
  Put(Index, name + FNameValueSeparator + Value);
}

void TStrings::LoadFromFile(const QString& FileName) {
  QFile f(FileName);
  if (!f.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
  const QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError)
    throw EReadError(QStringLiteral("Cannot read file \"%1\". %2").arg(FileName, f.errorString()));
  const auto bom = QStringConverter::encodingForData(data);
  QStringDecoder decode(bom.value_or(QStringConverter::Utf8), QStringConverter::Flag::ConvertInitialBom);
  QString text = decode(data);
  if (!text.isEmpty() && text[0] == QChar(0xFEFF)) text.remove(0, 1);
  SetText(text);
}

void TStrings::SaveToFile(const QString& FileName) const {
  QSaveFile f(FileName);
  const QByteArray data = Text().toUtf8();
  // Flushed before the commit: a write the disk refuses shows here, where the commit could publish a short file.
  if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.flush() || !f.commit())
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TStrings*>(Source)) {
    if (src == this) return;
    WithinUpdate(*this, [&] {
      Clear();
      FDelimiter = src->FDelimiter;
      FQuoteChar = src->FQuoteChar;
      FNameValueSeparator = src->FNameValueSeparator;
      FStrictDelimiter = src->FStrictDelimiter;
      AddStrings(*src);
    });
    return;
  }
  TPersistent::Assign(Source);
}

// ---- TStringList ---------------------------------------------------------------------------------------------

TStringList::~TStringList() = default;

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

QString TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[Index].S;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[Index].O;
}

void TStringList::Put(int Index, const QString& S) {
  if (FSorted) Error(QStringLiteral("Operation not allowed on sorted list"));
  CheckIndex(Index);
  Changing();
  FList[Index].S = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* Object) {
  CheckIndex(Index);
  Changing();
  FList[Index].O = Object;
  Changed();
}

void TStringList::InsertItem(int Index, const QString& S, TObject* Object) {
  Changing();
  FList.insert(FList.begin() + Index, Item{S, Object});
  Changed();
}

int TStringList::AddObject(const QString& S, TObject* Object) {
  int at = Count();
  if (FSorted && Find(S, at)) {
    switch (FDuplicates) {
      case dupIgnore: return at;
      case dupError: Error(QStringLiteral("String list does not allow duplicates"));
      case dupAccept: break;
    }
  }
  InsertItem(at, S, Object);
  return at;
}

void TStringList::Insert(int Index, const QString& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const QString& S, TObject* Object) {
  if (FSorted) Error(QStringLiteral("Operation not allowed on sorted list"));
  if (Index < 0 || Index > Count()) IndexError(Index);
  InsertItem(Index, S, Object);
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

void TStringList::ExchangeItems(int Index1, int Index2) { std::swap(FList[Index1], FList[Index2]); }

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  ExchangeItems(Index1, Index2);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) Error(QStringLiteral("Operation not allowed on sorted list"));
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  Item item = std::move(FList[CurIndex]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

int TStringList::CompareStrings(const QString& S1, const QString& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

bool TStringList::Find(const QString& S, int& Index) const {
  bool found = false;
  int l = 0, h = Count() - 1;
  while (l <= h) {
    const int i = (l + h) / 2;
    const int c = CompareStrings(FList[i].S, S);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) l = i;
      }
    }
  }
  Index = l;
  return found;
}

int TStringList::IndexOf(const QString& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int i;
  return Find(S, i) ? i : -1;
}

void TStringList::QuickSort(int L, int R, const TStringListSortCompare& Compare) {
  // Partition by index so that Compare always sees the list's current order.
  while (L < R) {
    int i = L, j = R;
    int p = (L + R) / 2;
    while (i <= j) {
      while (Compare(this, i, p) < 0) ++i;
      while (Compare(this, j, p) > 0) --j;
      if (i <= j) {
        if (i != j) ExchangeItems(i, j);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    }
    // Recurse into the smaller part, loop over the larger one: the stack stays logarithmic.
    if (j - L < R - i) {
      if (L < j) QuickSort(L, j, Compare);
      L = i;
    } else {
      if (i < R) QuickSort(i, R, Compare);
      R = j;
    }
  }
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FSorted || Count() <= 1 || !Compare) return;
  Changing();
  QuickSort(0, Count() - 1, Compare);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList* L, int a, int b) { return L->CompareStrings(L->FList[a].S, L->FList[b].S); });
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

}  // namespace plat
