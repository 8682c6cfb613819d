// scan_run: one wired M-Bus scan through a converter, from the command line.
//
//   scan_run --converter IP --bind IP --mode primary|secondary [--from N] [--to N] [--baud B] [--cut-after N]
//            [--local-port P] [--converter-port P] [--app-reset] [--snd-nke]
//
// --from/--to bound the primary addresses scanned (default 0..250). Progress goes to standard output as lines
// ("address 5: not found", "slave 12345678: found"); at the end comes one JSON object per slave found, with its
// fields and records. Exit status: 0 when the scan ended normally, 1 when the converter did not confirm analyzer
// mode or the scan did not end, 2 on a usage error.

#include "core/device_model.h"
#include "scanner/mbus_json.h"
#include "scanner/mbus_scan.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

namespace {

[[noreturn]] void Usage(const std::string& Why) {
  std::cerr << "scan_run: " << Why << "\n"
            << "usage: scan_run --converter IP --bind IP --mode primary|secondary [--from N] [--to N] [--baud B]\n"
            << "       [--cut-after N] [--local-port P] [--converter-port P] [--app-reset] [--snd-nke]\n";
  std::exit(2);
}

int Number(const char* Text, int Min, int Max, const std::string& What) {
  char* End = nullptr;
  const long V = std::strtol(Text, &End, 10);
  if (End == Text || *End || V < Min || V > Max)
    Usage(What + " must be a number from " + std::to_string(Min) + " to " + std::to_string(Max));
  return static_cast<int>(V);
}

}  // namespace

int main(int argc, char** argv) {
  QString Converter, Bind;
  std::string Mode;
  int From = 0, To = 250, Baud = 2400, Cut_After = 1, Local_Port = 10000, Converter_Port = 10000;
  bool App_Reset = false, Snd_Nke = false;
  for (int I = 1; I < argc; ++I) {
    const std::string A = argv[I];
    auto Next = [&]() -> const char* {
      if (I + 1 >= argc) Usage("missing value after " + A);
      return argv[++I];
    };
    if (A == "--converter") Converter = QString::fromLocal8Bit(Next());
    else if (A == "--bind") Bind = QString::fromLocal8Bit(Next());
    else if (A == "--mode") Mode = Next();
    else if (A == "--from") From = Number(Next(), 0, 250, "--from");
    else if (A == "--to") To = Number(Next(), 0, 250, "--to");
    else if (A == "--baud") Baud = Number(Next(), 1, 10000000, "--baud");
    else if (A == "--cut-after") Cut_After = Number(Next(), 0, 250, "--cut-after");
    else if (A == "--local-port") Local_Port = Number(Next(), 0, 65535, "--local-port");
    else if (A == "--converter-port") Converter_Port = Number(Next(), 1, 65535, "--converter-port");
    else if (A == "--app-reset") App_Reset = true;
    else if (A == "--snd-nke") Snd_Nke = true;
    else Usage("unknown option " + A);
  }
  uint32_t Ignored;
  if (!plat::Parse_IPv4(Converter, Ignored)) Usage("--converter needs an IPv4 address");
  if (!plat::Parse_IPv4(Bind, Ignored)) Usage("--bind needs an IPv4 address");
  if (Mode != "primary" && Mode != "secondary") Usage("--mode must be primary or secondary");
  if (From > To) Usage("--from must not be above --to");

  TScanNetConfig Net;
  Net.Bind_Address = Bind;
  Net.Local_Port = static_cast<uint16_t>(Local_Port);
  Net.Converter_Port = static_cast<uint16_t>(Converter_Port);
  TScanEnvironment Env;
  Env.Transport = std::make_unique<TUdpScanTransport>(Net);
  TMBusScanDecode Scanner(std::move(Env));
  TScanTiming Timing;
  Timing.First_Primary = From;
  Timing.Last_Primary = To;
  Scanner.Set_Timing(Timing);
  Scanner.Event_Run.SetEvent();

  std::mutex Out_Lock;
  auto Progress = [&](int32_t Msg, int32_t Address, int32_t Found, int32_t Kind) {
    std::lock_guard<std::mutex> L(Out_Lock);
    if (Msg == 1) {
      std::cout << "scan started (" << (Kind == 1 ? "primary" : "secondary") << ")\n";
    } else if (Msg == 2 && Kind == 1) {
      std::cout << "address " << Address << ": " << (Found ? "found" : "not found") << '\n';
    } else if (Msg == 2) {
      char Id[16];
      std::snprintf(Id, sizeof Id, "%08X", static_cast<uint32_t>(Address));
      std::cout << "slave " << Id << ": " << (Found ? "found" : "not found") << '\n';
    } else if (Msg == 3) {
      std::cout << "scan ended\n";
    }
    std::cout.flush();
  };
  if (!Scanner.Start_Scan(Mode == "primary" ? saPrimaryAddress : saSecondaryAddress, shEthernet, Converter, Baud, 1,
                          App_Reset, Snd_Nke, Cut_After, Progress)) {
    std::cerr << "scan_run: the scan could not be started\n";
    return 1;
  }
  while (Scanner.FInScan) std::this_thread::sleep_for(std::chrono::milliseconds(20));

  std::lock_guard<std::mutex> L(List_Dev_Lock);
  for (const TSlave_MBus* S : List_Dev_MBus) std::cout << Slave_Json(*S) << '\n';
  qDeleteAll(List_Dev_MBus);
  List_Dev_MBus.clear();
  std::cout.flush();
  if (Scanner.FResult != 1) {
    std::cerr << "scan_run: the converter did not confirm analyzer mode\n";
    return 1;
  }
  return 0;
}
