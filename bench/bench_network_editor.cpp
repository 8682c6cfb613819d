// deps: windows Qt6::Widgets
// The network editor with a network of 250 nodes x 20 variables: showing it (reading M_Bus.xml into the network
// and the tree) beside parsing the file alone, and OK (writing the network whole) beside saving the parsed
// document alone (goal: each within 2x of the file alone). Offscreen platform.

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "core/mbus_network.h"
#include "platform/xml/xmldocument.h"
#include "windows/meter_bus.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_network_editor";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

struct Fixture {
  QTemporaryDir dir;
  QString file, copy;
  std::unique_ptr<TFMeter_Bus> form;

  Fixture() {
    App();
    Load_Default_Texts();
    file = dir.filePath("M_Bus.xml");
    copy = dir.filePath("copy.xml");
    core::net::TNetwork net;
    int reg = 1;
    for (int n = 0; n < 250; ++n) {
      core::net::TNodo node;
      node.Enable = 1;
      node.Description = QStringLiteral("Meter %1").arg(n);
      node.Node_Pri = n;
      node.Node_Sec = 10000000 + n;
      node.Node_ID_Type = n % 2;
      for (int v = 0; v < 20; ++v) {
        core::net::TVariabile var;
        var.Enable = v < 16;
        var.Description = QStringLiteral("Value %1").arg(v);
        var.Type_Of_Data = v % 20;
        var.Dimension = v % 7;
        var.Modbus_Register = reg;
        var.Modbus_Scale = reg + 4;
        var.Position = v + 1;
        reg = reg % 59000 + 6;
        node.Var_List.push_back(var);
      }
      net.Nodi_List.push_back(node);
    }
    core::net::Save_Network(file, net, 3);
    File_MBus = file;
    form = std::make_unique<TFMeter_Bus>(nullptr, 3);
    form->AfterConstruction();
  }
};

Fixture& Files() {
  static Fixture f;
  return f;
}

void BM_ParseFile(benchmark::State& state) {
  Fixture& f = Files();
  for (auto _ : state) {
    plat::TXMLDocument doc;
    benchmark::DoNotOptimize(doc.LoadFromFile(f.file));
  }
}
BENCHMARK(BM_ParseFile)->Unit(benchmark::kMillisecond);

// The network alone, without the tree; and from a parsed document.
void BM_ReadDocument(benchmark::State& state) {
  Fixture& f = Files();
  plat::TXMLDocument doc;
  doc.LoadFromFile(f.file);
  for (auto _ : state) benchmark::DoNotOptimize(core::net::Read_Network(doc, 3).Network.Nodi_List.size());
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);

void BM_LoadNetwork(benchmark::State& state) {
  Fixture& f = Files();
  for (auto _ : state) benchmark::DoNotOptimize(core::net::Load_Network(f.file, 3).Network.Nodi_List.size());
}
BENCHMARK(BM_LoadNetwork)->Unit(benchmark::kMillisecond);

// Reading the file, the network and the 5,251 tree entries.
void BM_EditorShow(benchmark::State& state) {
  Fixture& f = Files();
  File_MBus = f.file;
  for (auto _ : state) f.form->FormShow(f.form.get());
  state.counters["nodes"] = double(f.form->Network().Nodi_List.size());
}
BENCHMARK(BM_EditorShow)->Unit(benchmark::kMillisecond);

void BM_SaveFile(benchmark::State& state) {
  Fixture& f = Files();
  plat::TXMLDocument doc;
  doc.LoadFromFile(f.file);
  for (auto _ : state) benchmark::DoNotOptimize(doc.SaveToFile(f.copy));
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

// OK: the network built into a document and written whole.
void BM_EditorSave(benchmark::State& state) {
  Fixture& f = Files();
  File_MBus = f.file;
  f.form->FormShow(f.form.get());
  const core::net::TNetwork net = f.form->Network();
  for (auto _ : state) benchmark::DoNotOptimize(core::net::Save_Network(f.copy, net, 3));
}
BENCHMARK(BM_EditorSave)->Unit(benchmark::kMillisecond);

}  // namespace
