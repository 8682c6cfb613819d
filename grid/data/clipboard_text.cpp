#include "grid/data/clipboard_text.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/exceptions.h"

namespace grid::cliptext {

// ---------------------------------------------------------------- lines

bool TLineReader::Next(QStringView& Line, bool& Break) {
  if (FDone) return false;
  const qsizetype n = FText.size();
  const QChar* s = FText.constData();
  bool quoted = false, fieldStart = true;
  for (qsizetype i = FPos; i < n; ++i) {
    const char16_t c = s[i].unicode();
    if (c == u'\r' || (c == u'\n' && !quoted)) {
      Line = QStringView(s + FPos, i - FPos);
      Break = true;
      FPos = i + 1;
      if (c == u'\r' && FPos < n && s[FPos] == u'\n') ++FPos;
      return true;
    }
    if (c == u'"') {
      if (fieldStart) {
        quoted = true;
      } else if (quoted) {
        const char16_t next = i + 1 < n ? s[i + 1].unicode() : u'\t';
        if (next == u'"') ++i;  // a doubled quote inside the field
        else if (next == u'\t' || next == u'\r' || next == u'\n') quoted = false;
      }
    }
    fieldStart = c == u'\t';
  }
  Line = QStringView(s + FPos, n - FPos);
  Break = false;
  FPos = n;
  FDone = true;
  return true;
}

// ---------------------------------------------------------------- cell texts

bool IsWideText(const QString& S) { return S.size() >= 2 && S[0] == u'|' && S[1] == u'\\'; }

QString DecodeWide(const QString& S) {
  if (!IsWideText(S)) return S;
  QString r;
  const qsizetype n = S.size();
  r.reserve((n - 2) / 2);
  for (qsizetype i = 2; i + 1 < n; i += 2)
    r += QChar(char16_t(((S[i].unicode() & 0xFF) << 8) | (S[i + 1].unicode() & 0xFF)));
  return r;
}

QString EncodeWide(const QString& S) {
  QString r = QStringLiteral("|\\");
  r.reserve(2 + 2 * S.size());
  for (QChar c : S) {
    r += QChar(c.unicode() >> 8);
    r += QChar(c.unicode() & 0xFF);
  }
  return r;
}

int LineCount(const QString& S, bool MultiLine) { return MultiLine ? 1 + int(S.count(u'\r')) : 1; }

void QuoteMultiLine(QString& S) {
  S.replace(QLatin1String("\r\n"), QString(QChar(11)));
  S = u'"' + S + u'"';
}

void UnquoteField(QString& S) {
  const bool breaks = std::any_of(S.cbegin(), S.cend(), [](QChar c) { return c == u'\n' || c == QChar(11); });
  if (!breaks) return;
  if (S.startsWith(u'"')) S.remove(0, 1);
  if (S.endsWith(u'"') && S.count(u'"') == 1) S.chop(1);
  S.replace(QChar(11), QLatin1String("\r\n"));
}

bool HasTwoDateSeparators(const QString& S) {
  const QChar sep = plat::FormatSettings.DateSeparator;
  const qsizetype p = S.indexOf(sep);
  return p >= 1 && S.indexOf(sep, p + 2) >= 0;
}

// ---------------------------------------------------------------- series

namespace {

class TDateSeries : public TSeries {
 public:
  TDateSeries(const QString& A, const QString& B) : FTimeOnly(!A.contains(plat::FormatSettings.DateSeparator)) {
    plat::TDateTime b = 0;
    FOk = plat::TryStrToDateTime(A, FValue) && plat::TryStrToDateTime(B, b);
    if (!FOk) return;
    plat::Word ya = 0, ma = 0, da = 0, yb = 0, mb = 0, db = 0;
    plat::DecodeDate(FValue, ya, ma, da);
    plat::DecodeDate(b, yb, mb, db);
    FYears = yb - ya, FMonths = mb - ma, FDays = db - da;
    FDelta = b - FValue;
  }
  bool Next(QString& Text) override {
    if (!FOk) return false;
    if (!FFirst && !Step()) return false;
    FFirst = false;
    Text = FTimeOnly ? plat::TimeToStr(FValue) : plat::DateToStr(FValue);
    return true;
  }
  bool EventsAlways() const override { return true; }

 private:
  // The next date: whole years, months or days when only one of them differs, else the difference.
  bool Step() {
    plat::Word y = 0, m = 0, d = 0;
    plat::DecodeDate(FValue, y, m, d);
    const double time = FValue - std::floor(FValue);
    int ny = y, nm = m;
    if (FDays != 0 && FYears == 0 && FMonths == 0) {
      FValue += FDays;
      return true;
    }
    if (FYears != 0 && FMonths == 0 && FDays == 0) {
      ny += FYears;
    } else if (FMonths != 0 && FYears == 0 && FDays == 0) {
      const int months = ny * 12 + (nm - 1) + FMonths;
      ny = months / 12, nm = months % 12 + 1;
    } else {
      FValue += FDelta;
      return true;
    }
    plat::TDateTime next = 0;
    if (!plat::TryEncodeDate(ny, nm, d, next)) return false;
    FValue = next + time;
    return true;
  }
  bool FTimeOnly, FOk = false, FFirst = true;
  plat::TDateTime FValue = 0;
  int FYears = 0, FMonths = 0, FDays = 0;
  double FDelta = 0;
};

class TNumberSeries : public TSeries {
 public:
  TNumberSeries(const QString& A, const QString& B, const QString& Format) : FFormat(Format) {
    double b = 0;
    FOk = plat::TryStrToFloat(A, FStart) && plat::TryStrToFloat(B, b);
    FStep = b - FStart;
  }
  bool Next(QString& Text) override {
    if (!FOk) return false;
    try {
      Text = plat::Format(FFormat, {FStart + FStep * FIndex++});
    } catch (const plat::Exception&) {
      FOk = false;
    }
    return FOk;
  }

 private:
  QString FFormat;
  bool FOk = false;
  double FStart = 0, FStep = 0;
  int FIndex = 0;
};

class TIntegerSeries : public TSeries {
 public:
  TIntegerSeries(int64_t A, int64_t B) : FValue(A), FStep(B - A) {}
  bool Next(QString& Text) override {
    Text = QString::number(FValue);
    FValue += FStep;
    return true;
  }

 private:
  int64_t FValue, FStep;
};

bool DateLike(const QString& S) {
  return HasTwoDateSeparators(S) || S.contains(plat::FormatSettings.TimeSeparator);
}

}  // namespace

std::unique_ptr<TSeries> MakeSeries(const QString& A, const QString& B, const QString& FloatFormat) {
  if (DateLike(A) && DateLike(B)) return std::make_unique<TDateSeries>(A, B);
  const QChar dec = plat::FormatSettings.DecimalSeparator;
  if (A.contains(dec) || B.contains(dec)) return std::make_unique<TNumberSeries>(A, B, FloatFormat);
  int64_t a = 0, b = 0;
  // Values a double cannot hold exactly are not counted on (their walk could overflow): they repeat instead.
  if (plat::TryStrToInt64(A, a) && plat::TryStrToInt64(B, b) && std::abs(a) < (int64_t(1) << 52) &&
      std::abs(b) < (int64_t(1) << 52))
    return std::make_unique<TIntegerSeries>(a, b);
  return nullptr;
}

}  // namespace grid::cliptext
