#pragma once
// TStrings (the abstract list of lines with an object per line) and TStringList (its stored, optionally sorted
// form). Objects are never owned by the list. Index errors raise EStringListError "List index out of bounds (n)".

#include <QString>

#include <functional>
#include <vector>

#include "platform/rtl/events.h"
#include "platform/rtl/object.h"

namespace plat {

class TStrings : public TPersistent {
  PLAT_CLASS(TStrings)

  ~TStrings() override;

  virtual int Count() const = 0;
  QString Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const QString& S) { Put(Index, S); }
  QString operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* Object) { PutObject(Index, Object); }

  // Index of the new line.
  virtual int Add(const QString& S);
  virtual int AddObject(const QString& S, TObject* Object);
  void Append(const QString& S) { Add(S); }
  virtual void AddStrings(const TStrings& Strings);
  virtual void Insert(int Index, const QString& S) = 0;
  virtual void InsertObject(int Index, const QString& S, TObject* Object);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);

  // -1 when absent; comparisons follow CompareStrings (letter case ignored unless the list says otherwise).
  virtual int IndexOf(const QString& S) const;
  int IndexOfName(const QString& Name) const;
  int IndexOfObject(const TObject* Object) const;

  // Batches changes: OnChanging once at the first BeginUpdate, OnChange once at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // Each line followed by CR LF. SetText splits at CR LF, CR or LF; a final line break adds no empty line.
  QString Text() const;
  virtual void SetText(const QString& Value);
  // DelimitedText with ',' and '"', whatever Delimiter and QuoteChar are.
  QString CommaText() const;
  void SetCommaText(const QString& Value);
  // Lines joined by Delimiter; a line holding a blank (unless StrictDelimiter), the quote or the delimiter is
  // quoted with inner quotes doubled; a single empty line gives two quotes.
  QString DelimitedText() const;
  void SetDelimitedText(const QString& Value);
  QChar Delimiter() const { return FDelimiter; }
  void SetDelimiter(QChar C) { FDelimiter = C; }
  QChar QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(QChar C) { FQuoteChar = C; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool V) { FStrictDelimiter = V; }
  QChar NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(QChar C) { FNameValueSeparator = C; }

  // "name=value" lines. Names(i) is empty for a line without the separator; Values(name) is empty when no line
  // has the name; SetValues with an empty value deletes the line. ValueFromIndex is empty without a separator.
  QString Names(int Index) const;
  QString Values(const QString& Name) const;
  void SetValues(const QString& Name, const QString& Value);
  QString ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const QString& Value);

  // UTF-8 (a byte-order mark selects UTF-8 or UTF-16); EFOpenError when the file cannot be read.
  void LoadFromFile(const QString& FileName);
  // UTF-8 without a byte-order mark, written atomically; EFCreateError when it cannot be written.
  void SaveToFile(const QString& FileName) const;

  void Assign(TPersistent* Source) override;

  // < 0, 0, > 0, ordinal by UTF-16 code unit; the default ignores letter case.
  virtual int CompareStrings(const QString& S1, const QString& S2) const;

 protected:
  virtual QString Get(int Index) const = 0;
  virtual void Put(int Index, const QString& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* Object);
  // Called with true at the first BeginUpdate and with false at the last EndUpdate.
  virtual void SetUpdateState(bool Updating);
  int UpdateCount() const { return FUpdateCount; }
  [[noreturn]] void Error(const QString& Msg) const;
  [[noreturn]] void IndexError(int Index) const;

 private:
  int FUpdateCount = 0;
  QChar FDelimiter = u',';
  QChar FQuoteChar = u'"';
  QChar FNameValueSeparator = u'=';
  bool FStrictDelimiter = false;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };
using enum TDuplicates;

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
  PLAT_CLASS(TStringList)

  TStringList() = default;
  ~TStringList() override;

  int Count() const override { return static_cast<int>(FList.size()); }
  // In a sorted list a new line goes to its place: dupIgnore returns the existing line's index, dupError raises
  // EStringListError "String list does not allow duplicates", dupAccept inserts.
  int AddObject(const QString& S, TObject* Object) override;
  // Raise EStringListError "Operation not allowed on sorted list" on a sorted list.
  void Insert(int Index, const QString& S) override;
  void InsertObject(int Index, const QString& S, TObject* Object) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  // Checks both indexes (and that the list is not sorted) before anything moves, so a failed move loses no line.
  void Move(int CurIndex, int NewIndex) override;
  int IndexOf(const QString& S) const override;
  // Binary search of a sorted list: true when found; Index is the first match (any match for dupAccept) or
  // the place where S would go.
  virtual bool Find(const QString& S, int& Index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  int CompareStrings(const QString& S1, const QString& S2) const override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  QString Get(int Index) const override;
  void Put(int Index, const QString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* Object) override;
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();
  void InsertItem(int Index, const QString& S, TObject* Object);

 private:
  struct Item {
    QString S;
    TObject* O = nullptr;
  };
  void QuickSort(int L, int R, const TStringListSortCompare& Compare);
  void ExchangeItems(int Index1, int Index2);
  void CheckIndex(int Index) const;

  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace plat
