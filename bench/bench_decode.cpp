// deps: scanner
// Decoding speed over the real telegrams of the corpus: telegrams and records per second on one core.

#include "scanner/mbus_decode.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_measure.h"

namespace {

namespace fs = std::filesystem;

// The real telegram files beside the checkout (the build passes their folder).
fs::path Corpus_Dir() { return BENCH_CORPUS_DIR; }

const std::vector<std::vector<uint8_t>>& Frames() {
  static const std::vector<std::vector<uint8_t>> All = [] {
    std::vector<std::vector<uint8_t>> Out;
    std::vector<fs::path> Files;
    for (const auto& E : fs::directory_iterator(Corpus_Dir() / "test-frames"))
      if (E.path().extension() == ".hex") Files.push_back(E.path());
    std::sort(Files.begin(), Files.end());
    for (const auto& F : Files) {
      std::ifstream In(F);
      std::vector<uint8_t> B;
      std::string Tok;
      while (In >> Tok) B.push_back(uint8_t(std::stoul(Tok, nullptr, 16)));
      if (Check_RSP_UD(B) == TDecodeError::None) Out.push_back(std::move(B));
    }
    return Out;
  }();
  return All;
}

// The record areas alone, into one list that has room for them all: what the wired and the wireless paths
// share, per record.
void BM_Decode_Records(benchmark::State& State) {
  const auto& F = Frames();
  std::vector<TVariable_MBus> List;
  List.reserve(512);
  int64_t Telegrams = 0, Records = 0;
  for (auto _ : State) {
    for (const auto& T : F) {
      List.clear();
      const TRecords_Result R = Decode_Records(List, std::span(T).subspan(19, T.size() - 21));
      benchmark::DoNotOptimize(R);
      Records += int64_t(List.size());
    }
    Telegrams += int64_t(F.size());
    benchmark::ClobberMemory();
  }
  State.counters["telegrams_per_s"] = benchmark::Counter(double(Telegrams), benchmark::Counter::kIsRate);
  State.counters["records_per_s"] = benchmark::Counter(double(Records), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Decode_Records);

// The record split as every caller makes it: each telegram's records into a list of their own.
void BM_Record_Split(benchmark::State& State) {
  const auto& F = Frames();
  int64_t Telegrams = 0, Records = 0;
  for (auto _ : State) {
    for (const auto& T : F) {
      std::vector<TVariable_MBus> List;
      const TRecords_Result R = Decode_Records(List, std::span(T).subspan(19, T.size() - 21));
      benchmark::DoNotOptimize(R);
      Records += int64_t(List.size());
    }
    Telegrams += int64_t(F.size());
  }
  State.counters["telegrams_per_s"] = benchmark::Counter(double(Telegrams), benchmark::Counter::kIsRate);
  State.counters["records_per_s"] = benchmark::Counter(double(Records), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Record_Split);

// Whole telegrams: envelope checks, the fixed header with its texts, and the records.
void BM_Decode_Telegrams(benchmark::State& State) {
  const auto& F = Frames();
  TSlave_MBus Slave;
  Slave.List_Var.reserve(512);
  int64_t Telegrams = 0, Records = 0;
  for (auto _ : State) {
    for (const auto& T : F) {
      Slave.List_Var.clear();
      const THeader_Result R = Decode_Header(T, Slave, true);
      benchmark::DoNotOptimize(R);
      Records += int64_t(Slave.List_Var.size());
    }
    Telegrams += int64_t(F.size());
  }
  State.counters["telegrams_per_s"] = benchmark::Counter(double(Telegrams), benchmark::Counter::kIsRate);
  State.counters["records_per_s"] = benchmark::Counter(double(Records), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Decode_Telegrams);

// A telegram as the scanner takes it: a fresh slave, its header and records decoded with the reception time of
// now, and nothing more.
int64_t Decode_Fresh(const std::vector<uint8_t>& T) {
  TSlave_MBus Slave;
  const THeader_Result R = Decode_Header(T, Slave, true);
  benchmark::DoNotOptimize(R);
  return int64_t(Slave.List_Var.size());
}

// The same, and every text the scan window shows of each record: value, unit and description, function and data
// field, reception date and time.
int64_t Decode_With_Texts(const std::vector<uint8_t>& T) {
  TSlave_MBus Slave;
  const THeader_Result R = Decode_Header(T, Slave, true);
  benchmark::DoNotOptimize(R);
  for (const TVariable_MBus& V : Slave.List_Var) {
    benchmark::DoNotOptimize(V.ValueStr());
    benchmark::DoNotOptimize(V.Desc_Type_Data());
    benchmark::DoNotOptimize(V.FunctionFieldStr());
    benchmark::DoNotOptimize(V.DataFieldStr());
    benchmark::DoNotOptimize(V.datagiorno());
    benchmark::DoNotOptimize(V.tempo());
  }
  return int64_t(Slave.List_Var.size());
}

template <int64_t (*Decode)(const std::vector<uint8_t>&)>
void Decode_Corpus(benchmark::State& State) {
  const auto& F = Frames();
  int64_t Telegrams = 0, Records = 0;
  for (auto _ : State) {
    for (const auto& T : F) Records += Decode(T);
    Telegrams += int64_t(F.size());
  }
  State.counters["telegrams_per_s"] = benchmark::Counter(double(Telegrams), benchmark::Counter::kIsRate);
  State.counters["records_per_s"] = benchmark::Counter(double(Records), benchmark::Counter::kIsRate);
}

void BM_Telegram_Without_Texts(benchmark::State& State) { Decode_Corpus<Decode_Fresh>(State); }
BENCHMARK(BM_Telegram_Without_Texts);

void BM_Telegram_With_Record_Texts(benchmark::State& State) { Decode_Corpus<Decode_With_Texts>(State); }
BENCHMARK(BM_Telegram_With_Record_Texts);

// The two above in one run, interleaved pass by pass over the whole corpus and timed on this thread's CPU clock
// so that other processes do not tilt it: texts_ratio = median with texts / median without (goal: at most 2).
void BM_Record_Texts_Ratio(benchmark::State& State) {
  const auto& F = Frames();
  constexpr int Passes = 41;
  std::vector<double> Bare, Texts;
  for (auto _ : State) {
    for (int P = 0; P < Passes; ++P) {
      double T0 = bench::ThreadCpuNs();
      for (const auto& T : F) Decode_Fresh(T);
      double T1 = bench::ThreadCpuNs();
      Bare.push_back(T1 - T0);
      T0 = bench::ThreadCpuNs();
      for (const auto& T : F) Decode_With_Texts(T);
      T1 = bench::ThreadCpuNs();
      Texts.push_back(T1 - T0);
    }
  }
  auto Median = [](std::vector<double> V) {
    std::nth_element(V.begin(), V.begin() + V.size() / 2, V.end());
    return V[V.size() / 2];
  };
  const double B = Median(Bare), X = Median(Texts);
  State.counters["bare_us"] = B / 1e3;
  State.counters["texts_us"] = X / 1e3;
  State.counters["texts_ratio"] = X / B;
}
BENCHMARK(BM_Record_Texts_Ratio)->Iterations(1)->Unit(benchmark::kMillisecond);

// Building the texts the scan window shows (value and description) for every record, for comparison.
void BM_Record_Texts(benchmark::State& State) {
  const auto& F = Frames();
  std::vector<TVariable_MBus> List;
  for (const auto& T : F) Decode_Records(List, std::span(T).subspan(19, T.size() - 21));
  int64_t Records = 0;
  for (auto _ : State) {
    for (const TVariable_MBus& R : List) {
      benchmark::DoNotOptimize(R.ValueStr());
      benchmark::DoNotOptimize(R.Desc_Type_Data());
    }
    Records += int64_t(List.size());
  }
  State.counters["records_per_s"] = benchmark::Counter(double(Records), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Record_Texts);

}  // namespace
