// deps: platform_rtl
// Integer-text conversion throughput: every window check and the compiler's attribute reads go through it.
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

#include "platform/rtl/strutils.h"

namespace {

QStringList Texts(const char* const* Items, int Count) {
  QStringList l;
  for (int i = 0; i < Count; ++i) l << QString::fromLatin1(Items[i]);
  return l;
}

const char* const kDecimal[] = {"0", "12", "  502", "-1", "+247", "65535", "2147483647", "-2147483648"};
const char* const kHex[] = {"0xFF", "$10", "x7F", "0X1F6", "$FFFFFFFF", "0x80000000", "-$1", "0x00000001"};
const char* const kInvalid[] = {"12 ", "", "abc", "0x", "2147483648", "1.5", "$G", " - 1"};

void Convert(benchmark::State& State, const QStringList& Texts) {
  for (auto _ : State) {
    for (const QString& t : Texts) {
      int v = 0;
      benchmark::DoNotOptimize(plat::TryStrToInt(t, v));
      benchmark::DoNotOptimize(v);
    }
  }
  State.SetItemsProcessed(State.iterations() * Texts.size());
}

void BM_TryStrToInt_Decimal(benchmark::State& State) { Convert(State, Texts(kDecimal, 8)); }
void BM_TryStrToInt_Hex(benchmark::State& State) { Convert(State, Texts(kHex, 8)); }
void BM_TryStrToInt_Invalid(benchmark::State& State) { Convert(State, Texts(kInvalid, 8)); }

void BM_StrToInt_Decimal(benchmark::State& State) {
  const QStringList texts = Texts(kDecimal, 8);
  for (auto _ : State)
    for (const QString& t : texts) benchmark::DoNotOptimize(plat::StrToInt(t));
  State.SetItemsProcessed(State.iterations() * texts.size());
}

void BM_StrToInt64_Hex(benchmark::State& State) {
  const QStringList texts = Texts(kHex, 8);
  for (auto _ : State)
    for (const QString& t : texts) benchmark::DoNotOptimize(plat::StrToInt64(t));
  State.SetItemsProcessed(State.iterations() * texts.size());
}

}  // namespace

BENCHMARK(BM_TryStrToInt_Decimal);
BENCHMARK(BM_TryStrToInt_Hex);
BENCHMARK(BM_TryStrToInt_Invalid);
BENCHMARK(BM_StrToInt_Decimal);
BENCHMARK(BM_StrToInt64_Hex);
