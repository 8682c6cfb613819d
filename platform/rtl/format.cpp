#include "platform/rtl/format.h"

#include <algorithm>
#include <cstdint>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

namespace plat {

namespace {

class Formatter {
 public:
  Formatter(const QString& Fmt, const TVarRec* Args, size_t Count, const TFormatSettings& Settings)
      : F(Fmt), A(Args), N(Count), S(Settings) {}

  QString Run() {
    QString out;
    out.reserve(F.size() + 16 * static_cast<qsizetype>(N));
    const qsizetype len = F.size();
    qsizetype i = 0;
    while (i < len) {
      const qsizetype pct = F.indexOf(u'%', i);
      if (pct < 0) {
        out += QStringView(F).mid(i);
        break;
      }
      out += QStringView(F).mid(i, pct - i);
      i = pct + 1;
      if (i < len && F[i] == u'%') {
        out += u'%';
        ++i;
        continue;
      }
      out += Spec(i);
    }
    return out;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(F));
  }

  const TVarRec& Next() {
    if (Arg >= N) throw EConvertError(QStringLiteral("No argument for format '%1'").arg(F));
    return A[Arg++];
  }

  // A decimal number or "*" (the next integer argument); -1 when absent.
  int Number(qsizetype& i) {
    if (i < F.size() && F[i] == u'*') {
      ++i;
      const TVarRec& v = Next();
      if (v.Kind() != TVarRec::TKind::Integer) Invalid();
      return static_cast<int>(std::clamp<int64_t>(v.AsInteger(), -1, 1 << 20));
    }
    if (i >= F.size() || F[i] < u'0' || F[i] > u'9') return -1;
    int64_t n = 0;
    while (i < F.size() && F[i] >= u'0' && F[i] <= u'9') {
      n = std::min<int64_t>(n * 10 + (F[i].unicode() - u'0'), 1 << 20);
      ++i;
    }
    return static_cast<int>(n);
  }

  QString Spec(qsizetype& i) {
    int first = Number(i);
    if (i < F.size() && F[i] == u':') {
      if (first < 0) Invalid();
      Arg = static_cast<size_t>(first);
      ++i;
      first = -1;
    }
    bool left = false;
    int width = first;
    if (width < 0) {
      if (i < F.size() && F[i] == u'-') {
        left = true;
        ++i;
      }
      width = Number(i);
    }
    int prec = -1;
    if (i < F.size() && F[i] == u'.') {
      ++i;
      prec = Number(i);
      if (prec < 0) Invalid();
    }
    if (i >= F.size()) Invalid();
    const char16_t type = QChar::toUpper(F[i].unicode());
    ++i;
    const QString body = Convert(type, prec);
    if (width > body.size()) {
      const QString pad(width - body.size(), u' ');
      return left ? body + pad : pad + body;
    }
    return body;
  }

  QString Convert(char16_t Type, int Prec) {
    using K = TVarRec::TKind;
    const TVarRec& v = Next();
    switch (Type) {
      case u'D': {
        if (v.Kind() != K::Integer) Invalid();
        const int64_t x = v.AsInteger();
        const uint64_t mag = x < 0 ? 0 - static_cast<uint64_t>(x) : static_cast<uint64_t>(x);
        QString d = QString::number(mag);
        if (Prec > d.size()) d.prepend(QString(Prec - d.size(), u'0'));
        return x < 0 ? u'-' + d : d;
      }
      case u'U':
      case u'X': {
        if (v.Kind() != K::Integer) Invalid();
        const uint64_t pattern = v.Wide() ? static_cast<uint64_t>(v.AsInteger())
                                          : static_cast<uint32_t>(v.AsInteger());
        if (Type == u'X') return detail::HexDigits(pattern, Prec);
        QString d = QString::number(pattern);
        if (Prec > d.size()) d.prepend(QString(Prec - d.size(), u'0'));
        return d;
      }
      case u'S': {
        if (v.Kind() != K::String && v.Kind() != K::Char) Invalid();
        return Prec >= 0 ? v.AsString().left(Prec) : v.AsString();
      }
      case u'P': {
        if (v.Kind() != K::Pointer) Invalid();
        return detail::HexDigits(reinterpret_cast<uintptr_t>(v.AsPointer()), int(sizeof(void*) * 2));
      }
      case u'F':
      case u'E':
      case u'G':
      case u'N':
      case u'M': {
        if (v.Kind() != K::Float) Invalid();
        const double x = v.AsFloat();
        switch (Type) {
          case u'F': return FloatToStrF(x, ffFixed, 18, Prec < 0 ? 2 : Prec, S);
          case u'N': return FloatToStrF(x, ffNumber, 18, Prec < 0 ? 2 : Prec, S);
          case u'M': return FloatToStrF(x, ffCurrency, 18, Prec < 0 ? S.CurrencyDecimals : Prec, S);
          case u'E': return FloatToStrF(x, ffExponent, Prec < 0 ? 15 : std::max(Prec, 1), 3, S);
          default: return FloatToStrF(x, ffGeneral, Prec < 0 ? 15 : std::max(Prec, 1), 0, S);
        }
      }
      default:
        Invalid();
    }
  }

  const QString& F;
  const TVarRec* A;
  size_t N;
  const TFormatSettings& S;
  size_t Arg = 0;
};

}  // namespace

QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings) {
  return Formatter(Fmt, Args.begin(), Args.size(), Settings).Run();
}

QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args) {
  return Format(Fmt, Args, FormatSettings);
}

QString Format(const QString& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& Settings) {
  return Formatter(Fmt, Args.data(), Args.size(), Settings).Run();
}

QString Format(const QString& Fmt, const std::vector<TVarRec>& Args) { return Format(Fmt, Args, FormatSettings); }

}  // namespace plat
