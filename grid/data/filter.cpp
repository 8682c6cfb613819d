#include "grid/data/filter.h"

#include <exception>

#include "grid/data/grid_data_host.h"
#include "platform/rtl/strutils.h"

namespace grid {

// ---- plain patterns ---------------------------------------------------------------------------------------------

namespace {

// Characters that make an expression more than a wildcard pattern: groups, and/or, comparisons, negation.
bool HasOperator(const QString& S) {
  for (QChar c : S)
    switch (c.unicode()) {
      case u'(': case u')': case u';': case u'^': case u'&': case u'|': case u'<': case u'>': case u'!':
        return true;
      default:
        break;
    }
  return false;
}

// Anchored at both ends; on a mismatch the last '*' takes one more character.
bool WildcardMatch(QStringView P, QStringView T) {
  qsizetype p = 0, t = 0, star = -1, mark = 0;
  while (t < T.size()) {
    if (p < P.size() && (P[p] == u'?' || (P[p] != u'*' && P[p] == T[t]))) {
      ++p, ++t;
    } else if (p < P.size() && P[p] == u'*') {
      star = p++;
      mark = t;
    } else if (star >= 0) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < P.size() && P[p] == u'*') ++p;
  return p == P.size();
}

}  // namespace

// The expression reader trims the text, drops blanks outside double quotes and one leading "="; a term
// without operators is a pattern whose double quotes only group, matched after upper-casing both sides unless
// case counts.
TFilterPattern::TFilterPattern(const QString& Expression, bool CaseSensitive) : FCaseSensitive(CaseSensitive) {
  if (HasOperator(Expression)) return;
  QString s;
  int quotes = 0;
  for (QChar c : plat::Trim(Expression)) {
    if (c == u'"') ++quotes;
    if (c == u' ' && quotes % 2 == 0) continue;
    s += c;
  }
  if (s.startsWith(u'=')) s.remove(0, 1);
  s.remove(u'"');
  FPattern = CaseSensitive ? s : plat::AnsiUpperCase(s);
  FPlain = true;
}

bool TFilterPattern::Matches(const QString& Value) const {
  if (FCaseSensitive) return WildcardMatch(FPattern, Value);
  return WildcardMatch(FPattern, plat::AnsiUpperCase(Value));
}

QString AsciiUpper(const QString& S) {
  QString r = S;
  for (QChar& c : r)
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
  return r;
}

// ---- the row test --------------------------------------------------------------------------------------------------

struct TGridFilter::TPrepared {
  const TFilterData* Data;
  TFilterPattern Pattern;
  QString Upper;  // the whole-row condition, upper-cased
};

std::vector<TGridFilter::TPrepared> TGridFilter::Prepare() {
  std::vector<TPrepared> r;
  TFilter& f = H.Filter();
  r.reserve(std::size_t(f.Count()));
  for (int i = 0; i < f.Count(); ++i) {
    const TFilterData* d = f.Items(i);
    r.push_back({d, TFilterPattern(d->Condition, d->CaseSensitive), d->Data == fcRow ? AsciiUpper(d->Condition) : QString()});
  }
  return r;
}

bool TGridFilter::Test(int ARow, const std::vector<TPrepared>& Conditions) {
  const int cols = H.AllColCount();
  const auto prepareText = [&](QString t) {
    t = plat::Trim(t);
    if (t.contains(QLatin1String("|\\"))) t = H.DecodeWideText(t);
    return t;
  };
  bool result = true;
  for (const TPrepared& p : Conditions) {
    const TFilterData& f = *p.Data;
    bool value = false;
    if (f.Data == fcRow) {
      QString row;
      for (int c = 0; c < cols; ++c) {
        if (c > 0) row += u'\n';
        row += H.FilterCellText(c, ARow, fcVirtual);
      }
      value = !p.Upper.isEmpty() && AsciiUpper(prepareText(row)).contains(p.Upper);
    } else {
      // A condition on a column the grid does not have tests an empty text.
      QString text = f.Column >= 0 && f.Column < cols ? prepareText(H.FilterCellText(f.Column, ARow, f.Data)) : QString();
      if (!f.Prefix.isEmpty() && text.startsWith(f.Prefix)) text.remove(0, f.Prefix.size());
      if (!f.Suffix.isEmpty()) {
        const qsizetype at = text.indexOf(f.Suffix);
        if (at >= 0 && at + f.Suffix.size() == text.size()) text.truncate(at);
      }
      if (f.Condition.isEmpty()) {
        value = true;
      } else if (f.Method == fmLiteral) {
        value = text == f.Condition;
      } else {
        try {
          value = p.Pattern.Plain() ? p.Pattern.Matches(text) : H.MatchExpression(f.Condition, text, f.CaseSensitive);
        } catch (const std::exception&) {
          value = false;
        }
      }
    }
    switch (f.Operation) {
      case foSHORT:
        result = value;
        if (!value) goto done;
        break;
      case foNONE: result = value; break;
      case foAND: result = result && value; break;
      case foXOR: result = result != value; break;
      case foOR: result = result || value; break;
    }
  }
done:
  bool accept = result;
  if (H.CustomFilter(ARow, accept)) return accept;
  return result;
}

bool TGridFilter::MatchesFilter(int ARow) {
  if (FRunning) return Test(ARow, *FRunning);
  return Test(ARow, Prepare());
}

// ---- levels ----------------------------------------------------------------------------------------------------

void TGridFilter::ApplyFilter() {
  FFilterFixedRows = H.FixedRows();
  const int first = H.FixedRows(), last = H.RowCount() - H.FixedFooters() - 1;
  const int total = last - first + 1;
  const bool progress = H.HasFilterProgress();
  const bool normalOnly = H.FilterNormalCellsOnly();
  const std::vector<TPrepared> prepared = Prepare();
  struct TRunning {
    const std::vector<TPrepared>*& Slot;
    ~TRunning() { Slot = nullptr; }
  } running{FRunning};
  FRunning = &prepared;
  std::vector<int> failing;
  int tested = 0;
  for (int r = first; r <= last; ++r) {
    if (normalOnly && H.IsNodeOrSummaryRow(r)) continue;
    if (!H.RowMatches(r)) failing.push_back(r);
    ++tested;
    if (progress && total > 0) H.FilterProgress(RoundEven(double(tested) / total * 100));
  }
  FRunning = nullptr;
  H.HideRowList(failing);
  // The closing report; a grid without normal rows has nothing to report a share of.
  if (progress && total > 0) H.FilterProgress(RoundEven(double(tested) / total * 100));
}

void TGridFilter::SetActive(bool Value) {
  if (Value != FActive) {
    FActive = Value;
    if (Value) {
      H.KeepCurrentCellInside();
      H.BeginUpdate();
      try {
        ApplyFilter();
      } catch (...) {
        H.EndUpdate();
        throw;
      }
      H.EndUpdate();
      H.SelectionShown();
    } else {
      H.UnHideRowList();
      H.SetFixedRows(FFilterFixedRows);
      H.RestoreHiddenSelection();
    }
    H.ScrollToFirstRow();
  }
  H.RecalcFooters();
}

void TGridFilter::FilterRow(int ARow) {
  if (ARow < 0 || ARow >= H.RowCount()) return;
  if (!H.RowMatches(ARow)) H.HideRealRow(H.RealRowIndex(ARow));
}

bool TGridFilter::RemoveLastFilter() {
  if (H.FilterLevel() == 0) return false;
  H.UnHideRowList();
  H.SetFixedRows(FFilterFixedRows);
  H.RestoreHiddenSelection();
  H.RecalcFooters();
  H.SetFilterLevel(H.FilterLevel() - 1);
  return H.FilterLevel() >= 2;
}

void TGridFilter::RemoveAllFilters() {
  if (H.FilterLevel() == 0) {
    H.Filter().Clear();
    return;
  }
  while (H.FilterLevel() > 0) RemoveLastFilter();
}

// ---- narrowing down -----------------------------------------------------------------------------------------------

void TGridFilter::BuildNarrowCondition(const QString& ACondition, int AColumn) {
  TFilter& f = H.Filter();
  f.Clear();
  TFilterData* d = f.Add();
  if (AColumn == -1) {
    d->Data = fcRow;
    d->Condition = ACondition;
  } else {
    d->Data = fcNormal;
    d->Condition = QLatin1Char('*') + ACondition + QLatin1Char('*');
    if (d->Condition.contains(u' ')) d->Condition = QLatin1Char('"') + d->Condition + QLatin1Char('"');
  }
  d->CaseSensitive = false;
  d->Column = AColumn;
}

namespace {
// Longer is Shorter with exactly one more character at its end.
bool OneMore(const QString& Longer, const QString& Shorter) {
  return Longer.size() == Shorter.size() + 1 && Longer.startsWith(Shorter);
}
}  // namespace

void TGridFilter::NarrowDown(const QString& ACondition, int AColumn) {
  H.SetFixedRowAlways();
  if (!FLastFilter.isEmpty() && OneMore(ACondition, FLastFilter)) {
    BuildNarrowCondition(ACondition, AColumn);
    ApplyFilter();
  } else if (!ACondition.isEmpty() && OneMore(FLastFilter, ACondition)) {
    RemoveLastFilter();
  } else {
    RemoveAllFilters();
    if (!ACondition.isEmpty()) {
      BuildNarrowCondition(ACondition, AColumn);
      ApplyFilter();
    }
  }
  FLastFilter = ACondition;
}

// ---- the drop-down's entries ---------------------------------------------------------------------------------------

QString TGridFilter::EntryName(const QString& Entry) {
  const qsizetype eq = Entry.indexOf(u'=');
  return eq < 0 ? Entry : Entry.left(eq);
}

QString TGridFilter::EntryCondition(const QString& Entry, const QString& ClearText) {
  const qsizetype eq = Entry.indexOf(u'=');
  const QString c = eq < 0 ? Entry : Entry.mid(eq + 1);
  return !ClearText.isEmpty() && c == ClearText ? QString() : c;
}

}  // namespace grid
