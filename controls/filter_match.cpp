#include "controls/filter_match.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "controls/text_utils.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"

namespace controls {

using namespace plat;

namespace {

constexpr int OperandLimit = 255;
// Groups nested deeper than this are taken as one term: a defined result without exhausting the stack.
constexpr int GroupDepthLimit = 200;

// Results of the pattern's endings against the value's endings, for one evaluation of a term. The '*' rule
// tries every ending of the value; remembering them keeps patterns with many stars polynomial.
using Memo = std::unordered_map<std::uint64_t, bool>;

bool Condition(QStringView C, QStringView V, Memo& memo);

bool IsNumber(const QString& Text, double& Number) {
  static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
  const QString s = LocaleNumberToDot(Text).trimmed();
  if (!number.match(s).hasMatch()) return false;
  bool ok = false;
  Number = s.toDouble(&ok);
  return ok && std::isfinite(Number);
}

// -1, 0 or 1 as the value compares below, equal to or above the operand.
int Compare(const QString& Value, const QString& Operand) {
  TDateTime vd = 0, od = 0;
  const bool vDate = ParseLocaleDateTime(Value, vd), oDate = ParseLocaleDateTime(Operand, od);
  double vn = 0, on = 0;
  const bool vNum = !vDate && IsNumber(Value, vn), oNum = !oDate && IsNumber(Operand, on);
  if (vNum && oNum) return vn < on ? -1 : vn > on ? 1 : 0;
  if (vDate && oDate) return vd < od ? -1 : vd > od ? 1 : 0;
  const int c = QStringView(Value).left(OperandLimit).compare(QStringView(Operand).left(OperandLimit));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

struct Part {
  bool Read = false;
  bool Holds = false;
};

// The comparison after the first Op ('>' or '<') of the term.
Part ReadPart(QStringView C, QChar Op, QStringView V) {
  const int at = int(C.indexOf(Op));
  if (at < 0) return {};
  const int n = int(C.size());
  int i = at + 1;
  bool inclusive = false;
  if (i < n && C[i] == u'=') {
    inclusive = true;
    ++i;
  }
  while (i < n && C[i] == u' ') ++i;
  const int start = i;
  bool quoted = false;
  for (; i < n; ++i) {
    const QChar c = C[i];
    if (c == u'"') quoted = !quoted;
    else if (c == u' ' || (!quoted && (c == u'&' || c == u'|'))) break;
  }
  QString operand = C.mid(start, i - start).toString();
  if (operand.startsWith(u'"')) operand.remove(0, 1);
  if (operand.endsWith(u'"')) operand.chop(1);
  const int cmp = Compare(V.toString(), operand.left(OperandLimit));
  return {true, Op == u'>' ? cmp > 0 || (inclusive && cmp == 0) : cmp < 0 || (inclusive && cmp == 0)};
}

// The pattern anchored at both ends: '*' any run, '?' one character, '!' negates, double quotes are skipped.
bool Wildcard(QStringView P, QStringView T, Memo& memo) {
  const int pn = int(P.size()), tn = int(T.size());
  int p = 0, t = 0;
  bool matched = true, negated = false;
  while (matched && !(p == pn && t == tn)) {
    if (p == pn) {
      matched = false;
      break;
    }
    const QChar c = P[p];
    if (c == u'!') {
      negated = true;
      ++p;
    } else if (c == u'"') {
      ++p;
    } else if (c == u'*') {
      while (p < pn && P[p] == u'*') ++p;
      const QStringView rest = P.mid(p);
      bool any = false;
      for (int k = tn; k >= t && !any; --k) any = Condition(rest, T.mid(k), memo);
      if (any)
        p = pn, t = tn;
      else
        matched = false;
    } else if (c == u'?') {
      matched = t < tn;
      if (matched) ++p, ++t;
    } else {
      matched = t < tn && T[t] == c;
      if (matched) ++p, ++t;
    }
  }
  return negated ? !matched : matched;
}

bool Condition(QStringView C, QStringView V, Memo& memo) {
  const std::uint64_t key = (std::uint64_t(C.size()) << 32) | std::uint64_t(V.size());
  if (auto it = memo.find(key); it != memo.end()) return it->second;
  const bool hasG = C.contains(u'>'), hasL = C.contains(u'<');
  Part g = hasG ? ReadPart(C, u'>', V) : Part{};
  Part l = hasL ? ReadPart(C, u'<', V) : Part{};
  if (C.contains(u'!')) {
    if (!g.Read) g = {true, true};
    if (!l.Read) l = {true, true};
  }
  bool r;
  if (C.contains(u'^') && (g.Read || l.Read))
    r = (!g.Read || g.Holds) || (!l.Read || l.Holds);
  else if (C.contains(u'&') && g.Read && l.Read)
    r = g.Holds && l.Holds;
  else if (hasG && g.Holds)
    r = true;
  else if (hasL && l.Holds)
    r = true;
  else
    r = Wildcard(C, V, memo);
  memo[key] = r;
  return r;
}

enum class Previous { None, And, Or, Group };

void Combine(bool& Result, bool Value, Previous Prev) {
  switch (Prev) {
    case Previous::None: Result = Value; break;
    case Previous::And: Result = Result && Value; break;
    case Previous::Or: Result = Result || Value; break;
    case Previous::Group: break;
  }
}

Previous PreviousOf(QChar Op) {
  if (Op == u'&') return Previous::And;
  if (Op == u'(') return Previous::Group;
  return Previous::Or;
}

bool MatchExpression(const QString& Expression, const QString& Value, bool CaseSensitive, int Depth) {
  QString s = RemoveBlanksOutsideQuotes(Trim(Expression));
  if (s.startsWith(u'=')) s.remove(0, 1);
  Previous prev = Previous::None;
  bool result = true;
  for (;;) {
    int at = -1;
    const QChar op = FirstSetCharOutsideQuotes({u'(', u';', u'^', u'&', u'|'}, s, at);
    if (at < 1) break;
    bool value;
    if (s.startsWith(u'(')) {
      // An unclosed group runs to the end of the expression.
      const int e = FindMatchingParen(s);
      const int end = e > 0 ? e : int(s.size()) + 1;
      const QString inner = s.mid(1, end - 2);
      value = Depth < GroupDepthLimit ? MatchExpression(inner, Value, CaseSensitive, Depth + 1)
                                      : MatchFilterTerm(inner, Value, CaseSensitive);
      s.remove(0, std::min<int>(end, int(s.size())));
    } else {
      value = MatchFilterTerm(s.left(at - 1), Value, CaseSensitive);
      s.remove(0, at);
    }
    Combine(result, value, prev);
    prev = PreviousOf(op);
  }
  Combine(result, MatchFilterTerm(s, Value, CaseSensitive), prev);
  return result;
}

bool FieldValue(const QString& Text, int& Value) { return TryStrToInt(Text, Value); }

}  // namespace

bool MatchFilter(const QString& Expression, const QString& Value, bool CaseSensitive) {
  return MatchExpression(Expression, Value, CaseSensitive, 0);
}

bool MatchFilterTerm(const QString& Term, const QString& Value, bool CaseSensitive) {
  if (CaseSensitive) return MatchFilterCondition(Term, Value);
  return MatchFilterCondition(AnsiUpperCase(Term), AnsiUpperCase(Value));
}

bool MatchFilterCondition(const QString& Condition, const QString& Value) {
  Memo memo;
  return controls::Condition(Condition, Value, memo);
}

QString RemoveBlanksOutsideQuotes(const QString& S) {
  QString r;
  r.reserve(S.size());
  int quotes = 0;
  for (QChar c : S) {
    if (c == u'"') ++quotes;
    if (c == u' ' && quotes % 2 == 0) continue;
    r += c;
  }
  return r;
}

int FindMatchingParen(const QString& S) {
  int open = 0, close = 0;
  for (int i = 0; i < S.size(); ++i) {
    if (S[i] == u'(') ++open;
    if (S[i] == u')') {
      ++close;
      if (open == close) return i + 1;
    }
  }
  return 0;
}

QString LocaleNumberToDot(const QString& Text) {
  const QChar decimal = LocaleDecimalSeparator(), thousand = LocaleThousandSeparator();
  QString r;
  r.reserve(Text.size());
  for (QChar c : Text) {
    if (c == decimal)
      r += u'.';
    else if (c != thousand)
      r += c;
  }
  return r;
}

bool ParseLocaleDateTime(const QString& S, TDateTime& DateTime) {
  const QString fmt = FormatSettings.ShortDateFormat.toUpper();
  const int pd = int(fmt.indexOf(u'D')), pm = int(fmt.indexOf(u'M')), py = int(fmt.indexOf(u'Y'));
  if (pd < 0 || pm < 0 || py < 0) return false;
  const QChar sep = LocaleDateSeparator();
  const int s1 = int(S.indexOf(sep));
  if (s1 < 0) return false;
  const int s2 = int(S.indexOf(sep, s1 + 1));
  if (s2 < 0) return false;
  QString third = Trim(S.mid(s2 + 1)), timePart;
  if (const int blank = int(third.indexOf(u' ')); blank >= 0) {
    timePart = third.mid(blank);
    third = third.left(blank);
  }
  const QString fields[3] = {S.left(s1), S.mid(s1 + 1, s2 - s1 - 1), third};
  // Rank of each of day, month and year among the three fields.
  auto rank = [&](int pos) { return int(pos > pd) + int(pos > pm) + int(pos > py); };
  int day = 0, month = 0, year = 0;
  if (!FieldValue(fields[rank(pd)], day) || !FieldValue(fields[rank(pm)], month) ||
      !FieldValue(fields[rank(py)], year))
    return false;
  if (day > 31 || month > 12) return false;
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return false;
  if (timePart.isEmpty()) {
    DateTime = date;
    return true;
  }
  timePart = Trim(timePart);
  const QChar ts = LocaleTimeSeparator();
  const int t1 = int(timePart.indexOf(ts));
  if (t1 < 0) {
    DateTime = date;
    return false;
  }
  int hour = 0, minute = 0, second = 0;
  if (!FieldValue(timePart.left(t1), hour) || hour > 23) return false;
  const QString after = timePart.mid(t1 + 1);
  const int t2 = int(after.indexOf(ts));
  if (!FieldValue(t2 < 0 ? after : after.left(t2), minute) || minute > 59) return false;
  if (t2 >= 0 && (!FieldValue(after.mid(t2 + 1), second) || second > 60)) return false;
  TDateTime time = 0;
  if (!TryEncodeTime(hour, minute, second, 0, time)) return false;
  DateTime = date + time;
  return true;
}

}  // namespace controls
