// deps: scanner converter_sim_lib
// A secondary-address search of 50 simulated meters over UDP on loopback, with the protocol's real timing. The
// scan is paced by the protocol (a step every 40 ms, time-outs waited out in such steps), so its wall time is
// compared with the sum of the pauses and sleeps the protocol prescribes for the same exchange: the difference
// is the engine's own overhead (goal: under 2 %). One iteration takes a few tens of seconds.

#include "core/device_model.h"
#include "scanner/mbus_scan.h"
#include "tools/converter_sim/converter_sim.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <random>
#include <set>
#include <thread>

namespace {

// The real clock, adding up every pause and sleep the scanner asks for.
class TCountingClock final : public TScanClock {
 public:
  uint32_t Tick() override { return Real_.Tick(); }
  void Sleep(uint32_t Ms) override {
    Slept_Ms += Ms;
    Real_.Sleep(Ms);
  }
  std::atomic<uint64_t> Slept_Ms{0};

 private:
  TSteadyScanClock Real_;
};

QString Corpus_File(const char* Name) {
  // The real telegram files beside the checkout (the build passes their folder).
  return QDir(QStringLiteral(BENCH_CORPUS_DIR)).filePath(QStringLiteral("test-frames/") + QLatin1StringView(Name));
}

void BM_SecondarySearch50Meters(benchmark::State& State) {
  convsim::TConverterSim Sim;
  convsim::TBytes T;
  std::string Why;
  if (!convsim::Load_Hex_File(Corpus_File("emh_diz.hex"), T, &Why)) {
    State.SkipWithError(Why.c_str());
    return;
  }
  std::mt19937 Rng(2024);
  std::set<uint32_t> Ids;
  while (Ids.size() < 50) {
    uint32_t Id = 0;
    for (int I = 0; I < 8; ++I) Id = Id << 4 | static_cast<uint32_t>(Rng() % 10);
    Ids.insert(Id);
  }
  int Primary = 1;
  for (uint32_t Id : Ids) {
    convsim::TSimMeter M;
    convsim::Make_Meter(static_cast<uint8_t>(Primary++), Id, {T}, M);
    Sim.Core.Bus.Meters.push_back(M);
  }
  QString Error;
  if (!Sim.Start(QStringLiteral("127.0.0.2"), 0, &Error)) {
    State.SkipWithError(Error.toStdString().c_str());
    return;
  }
  for (auto _ : State) {
    TCountingClock Clock;
    TScanNetConfig Net;
    Net.Bind_Address = QStringLiteral("127.0.0.1");
    Net.Local_Port = 0;
    Net.Converter_Port = Sim.Port();
    TScanEnvironment Env;
    Env.Transport = std::make_unique<TUdpScanTransport>(Net);
    Env.Clock = &Clock;
    TMBusScanDecode Scanner(std::move(Env));
    Scanner.Event_Run.SetEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the thread is in its idle loop
    std::atomic<int> Found{0};
    const uint64_t Idle_Slept = Clock.Slept_Ms;
    const auto T0 = std::chrono::steady_clock::now();
    Scanner.Start_Scan(saSecondaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 1,
                       [&](TScan_Report M, int32_t, int32_t F, TScan_Kind) { Found += M == TScan_Report::Address && F == 1; });
    while (Scanner.FInScan) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double Wall_Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - T0).count();
    // The idle pause running when the scan started is part of neither figure's protocol work: count it in both.
    const double Prescribed_Ms = static_cast<double>(Clock.Slept_Ms - Idle_Slept);
    State.counters["found"] = Found.load();
    State.counters["wall_ms"] = Wall_Ms;
    State.counters["prescribed_ms"] = Prescribed_Ms;
    State.counters["overhead_pct"] = 100.0 * (Wall_Ms - Prescribed_Ms) / Prescribed_Ms;
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    qDeleteAll(List_Dev_MBus);
    List_Dev_MBus.clear();
  }
  Sim.Stop();
}

BENCHMARK(BM_SecondarySearch50Meters)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
