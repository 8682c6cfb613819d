// deps: core
// Compiling a network of 250 nodes x 20 variables beside parsing the same two XML files alone (goal: the
// compile within 1.5x of the parse). A 200000-byte image holds at most about 4500 variables (every variable
// takes at least a 30-byte block and a 14-byte map entry), so 16 of each node's 20 variables are enabled:
// the files hold all 5000, the images 4000.

#include "core/network_compiler.h"

#include <algorithm>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "bench/bench_measure.h"
#include "platform/xml/xmldocument.h"

namespace {

struct Fixture {
  QTemporaryDir dir;
  QString parGen, mbus;

  Fixture() {
    parGen = dir.filePath("ParGen.xml");
    mbus = dir.filePath("M_Bus.xml");
    QByteArray p = "<GeneralParameter>\n";
    const char* elems[][2] = {{"Sel_Dev", "1"}, {"Sel_Dev_MBus_Present", "1"}, {"Mod_Ser", "1"}, {"Mod_Baud", "7"},
                              {"Mod_Par", "0"}, {"Mod_Id", "1"}, {"Mod_StopBit", "0"}, {"Mod_Protocol", "0"},
                              {"Meter_Baud", "3"}, {"Meter_Par", "1"}, {"Meter_Req_Type", "1"},
                              {"Meter_Req_Delay", "100"}, {"Node_State", "0xFF"}, {"IP_1", "192"}, {"IP_2", "168"},
                              {"IP_3", "0"}, {"IP_4", "10"}, {"SM_1", "255"}, {"SM_2", "255"}, {"SM_3", "255"},
                              {"SM_4", "0"}, {"GA_1", "192"}, {"GA_2", "168"}, {"GA_3", "0"}, {"GA_4", "1"},
                              {"Gat_Enable", "0"}};
    for (const auto& e : elems) p += QByteArray("  <") + e[0] + ">" + e[1] + "</" + e[0] + ">\n";
    p += "</GeneralParameter>\n<!--SW_VERSION = 2.012-->\n";
    Write(parGen, p);

    // As the network editor writes it: every attribute of every node and variable.
    QByteArray m = "<M-Bus_Network>\n";
    int reg = 1;
    for (int n = 0; n < 250; ++n) {
      m += "  <Nodo Node_Enable=\"1\" ID_Primary=\"" + QByteArray::number(n % 250) + "\" ID_Secondary=\"" +
           QByteArray::number(10000000 + n) + "\" Descrizione=\"Meter " + QByteArray::number(n) +
           "\" Send_SND_NKE=\"1\" Reset_App=\"0\" Node_State=\"0\" Ident_Num=\"0\" BCDtoINT_IN=\"0\" Swap_IN=\"0\" "
           "Node_ID_Type=\"" + QByteArray::number(n % 2) + "\" Var_List_Type=\"0\" Cut_After=\"0\" "
           "Manufacturer_Specific_Data=\"0\" MSD_Length=\"0\" MSD_Offset=\"0\" Access_Number=\"0\">\n";
      for (int v = 0; v < 20; ++v) {
        const int dim = v % 8 == 7 ? 2 : v % 8;
        m += "    <Variabile Enable=\"" + QByteArray(v < 16 ? "1" : "0") + "\" Desc=\"Value " + QByteArray::number(v) +
             "\" Type=\"" + QByteArray::number(v % 20) + "\" Fun_Field=\"" + QByteArray::number(v % 4) + "\" Dim=\"" +
             QByteArray::number(dim) + "\" Unit=\"0\" ModReg=\"" + QByteArray::number(reg) + "\" ModScale=\"" +
             QByteArray::number(reg + 4) + "\" StoNumber=\"0\" Tariff=\"0\" VIFE=\"0\" BCDtoINT=\"0\" VIF_ASCII=\"\" "
             "Length=\"0\" Conv_Float=\"" + QByteArray(v % 3 == 0 ? "1" : "0") + "\" Force_Int32=\"0\" "
             "TP_Mod_Regs=\"0\" TP_Mod_Year=\"0\" Position=\"" + QByteArray::number(v + 1) + "\" Post_Operation=\"0\"/>\n";
        reg = reg % 59000 + 6;
      }
      m += "  </Nodo>\n";
    }
    m += "</M-Bus_Network>\n<!--SW_VERSION = 2.012-->\n";
    Write(mbus, m);
  }
  static void Write(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(data);
  }
};

Fixture& Files() {
  static Fixture f;
  return f;
}

void Parse(const Fixture& f) {
  plat::TXMLDocument a, b;
  benchmark::DoNotOptimize(a.LoadFromFile(f.parGen));
  benchmark::DoNotOptimize(b.LoadFromFile(f.mbus));
}

void BM_ParseOnly(benchmark::State& state) {
  Fixture& f = Files();
  for (auto _ : state) Parse(f);
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

// Serial image (type 3, variant 0).
void BM_CompileSerial(benchmark::State& state) {
  Fixture& f = Files();
  qsizetype bytes = 0;
  for (auto _ : state) bytes = core::bank::Compile(3, 0, f.parGen, f.mbus).Files.at(0).Data.size();
  state.counters["image_bytes"] = double(bytes);
}
BENCHMARK(BM_CompileSerial)->Unit(benchmark::kMillisecond);

// bank2.bin and bank1.bin (type 3, variant 1).
void BM_CompileNetwork(benchmark::State& state) {
  Fixture& f = Files();
  qsizetype bytes = 0;
  for (auto _ : state) bytes = core::bank::Compile(3, 1, f.parGen, f.mbus).Files.at(1).Data.size();
  state.counters["image_bytes"] = double(bytes);
}
BENCHMARK(BM_CompileNetwork)->Unit(benchmark::kMillisecond);

// The parse and both compiles in one run, interleaved pass by pass and timed on this thread's CPU clock so that
// other processes do not tilt them: *_ratio = median compile / median parse.
void BM_Compile_Ratio(benchmark::State& state) {
  Fixture& f = Files();
  constexpr int passes = 31;
  std::vector<double> parse, serial, network;
  auto time = [](std::vector<double>& out, auto&& work) {
    const double t0 = bench::ThreadCpuNs();
    work();
    out.push_back(bench::ThreadCpuNs() - t0);
  };
  for (auto _ : state)
    for (int p = 0; p < passes; ++p) {
      time(parse, [&] { Parse(f); });
      time(serial, [&] { benchmark::DoNotOptimize(core::bank::Compile(3, 0, f.parGen, f.mbus)); });
      time(network, [&] { benchmark::DoNotOptimize(core::bank::Compile(3, 1, f.parGen, f.mbus)); });
    }
  auto median = [](std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
  };
  const double p = median(parse);
  state.counters["parse_ms"] = p / 1e6;
  state.counters["serial_ratio"] = median(serial) / p;
  state.counters["network_ratio"] = median(network) / p;
}
BENCHMARK(BM_Compile_Ratio)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
