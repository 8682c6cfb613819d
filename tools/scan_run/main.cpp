// scan_run: one wired M-Bus scan, or a wireless listen, through a converter, from the command line.
//
//   scan_run --converter IP --bind IP --mode primary|secondary [--from N] [--to N] [--baud B] [--cut-after N]
//            [--local-port P] [--converter-port P] [--app-reset] [--snd-nke] [export options]
//   scan_run --converter IP --bind IP --mode wireless --port P [--module telit|radiocrafts] [--wmbus S|T|N1|N2|C]
//            [--channel N] [--seconds N] [--key ID:KEY]... [export options]
//   export options: --export FILE [--append] [--mod-start N] [--code-dev N]
//
// A wireless listen binds local port P, talks to the converter's port P, and lasts --seconds (default 10); with
// --module the converter must report that radio module. --key installs KEY (32 hex digits) for the device whose
// application-layer identification is ID (8 hex digits) once it is heard encrypted. Progress lines tell each
// telegram taken ("device 0: KAM 12345678 ..."); at the end comes one JSON object per device.
// --export writes the result as M_Bus.xml (appended to FILE with --append), registers from --mod-start
// (default 1), with the device code --code-dev (default: the one of the device type this build configures).
//
// --from/--to bound the primary addresses scanned (default 0..250). Progress goes to standard output as lines
// ("address 5: not found", "slave 12345678: found"); at the end comes one JSON object per slave found, with its
// fields and records. Exit status: 0 when the scan ended normally, 1 when the socket could not be opened, the
// converter did not confirm analyzer mode or the scan did not end, 2 on a usage error.

#include "core/device_model.h"
#include "scanner/mbus_json.h"
#include "scanner/mbus_scan.h"
#include "scanner/wmbus_frames.h"

#include <QByteArray>

#include <map>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

namespace {

// Why a scan did not end normally: the socket that could not be opened (its port in use), or Otherwise.
void Report_Failure(const TMBusScanDecode& Scanner, const char* Otherwise) {
  if (Scanner.FResult == Result_No_Socket)
    std::cerr << "scan_run: " << Scanner.Open_Error().toStdString() << '\n';
  else
    std::cerr << "scan_run: " << Otherwise << '\n';
}

[[noreturn]] void Usage(const std::string& Why) {
  std::cerr << "scan_run: " << Why << "\n"
            << "usage: scan_run --converter IP --bind IP --mode primary|secondary [--from N] [--to N] [--baud B]\n"
            << "       [--cut-after N] [--local-port P] [--converter-port P] [--app-reset] [--snd-nke]\n"
            << "       scan_run --converter IP --bind IP --mode wireless --port P [--module telit|radiocrafts]\n"
            << "       [--wmbus S|T|N1|N2|C] [--channel N] [--seconds N] [--key ID:KEY]...\n"
            << "       either form: [--export FILE [--append] [--mod-start N] [--code-dev N]]\n";
  std::exit(2);
}

int Number(const char* Text, int Min, int Max, const std::string& What) {
  char* End = nullptr;
  const long V = std::strtol(Text, &End, 10);
  if (End == Text || *End || V < Min || V > Max)
    Usage(What + " must be a number from " + std::to_string(Min) + " to " + std::to_string(Max));
  return static_cast<int>(V);
}

std::string Hex(uint32_t V, int Digits) {
  char B[16];
  std::snprintf(B, sizeof B, "%0*X", Digits, V);
  return B;
}

std::string Device_Json(int Index, const TSlave_wMBus& S) {
  std::string Out;
  TJson_Object_Writer W(Out);
  W.Num("Index", Index);
  W.Num("Message_Type", S.Message_Type);
  W.Str("LLA_Manu_str", S.LLA_Manu_str);
  W.Str("LLA_Address", QString::fromStdString(Hex(S.LLA_Address, 8)));
  W.Num("LLA_Version", S.LLA_Version);
  W.Num("LLA_DeviceType", S.LLA_DeviceType);
  W.Str("ALA_Manu_str", S.ALA_Manu_str);
  W.Str("ALA_Address", QString::fromStdString(Hex(uint32_t(S.ALA_Address), 8)));
  W.Num("ALA_Version", S.ALA_Version);
  W.Num("ALA_DeviceType", S.ALA_DeviceType);
  W.Num("RSSI", S.RSSI);
  W.Bool("Cripted", S.Cripted);
  W.Bool("Enable_Key", S.Enable_Key);
  W.Num("RadioCrafts_Ind_Tab_Decript", S.RadioCrafts_Ind_Tab_Decript);
  W.Raw("List_Var", Records_Json(S.List_Var));
  W.Close();
  return Out;
}

int Wireless_Mode_Code(const std::string& Name) {
  if (Name == "S") return wmbus::Mode_S;
  if (Name == "T") return wmbus::Mode_T;
  if (Name == "N1") return wmbus::Mode_N1;
  if (Name == "N2") return wmbus::Mode_N2;
  if (Name == "C") return wmbus::Mode_C;
  Usage("--wmbus must be S, T, N1, N2 or C");
}

}  // namespace

int main(int argc, char** argv) {
  QString Converter, Bind;
  std::string Mode;
  int From = 0, To = 250, Baud = 2400, Cut_After = 1, Local_Port = 10000, Converter_Port = 10000;
  bool App_Reset = false, Snd_Nke = false;
  int Port = -1, Channel = 0, Seconds = 10, Wireless_Mode = wmbus::Mode_S, Mod_Start = 1,
      Code_Dev = Get_XML_Code_Dev();
  std::string Module;
  QString Export;
  bool Append = false;
  std::map<uint32_t, QByteArray> Keys;  // application-layer identification -> 16 key bytes
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
    else if (A == "--port") Port = Number(Next(), 1, 65535, "--port");
    else if (A == "--module") Module = Next();
    else if (A == "--wmbus") Wireless_Mode = Wireless_Mode_Code(Next());
    else if (A == "--channel") Channel = Number(Next(), 0, 8, "--channel");
    else if (A == "--seconds") Seconds = Number(Next(), 1, 86400, "--seconds");
    else if (A == "--key") {
      const QStringList Parts = QString::fromLocal8Bit(Next()).split(u':');
      bool Ok = Parts.size() == 2 && Parts[0].size() == 8 && Parts[1].size() == 32;
      const uint32_t Id = Ok ? Parts[0].toUInt(&Ok, 16) : 0;
      const QByteArray Key = QByteArray::fromHex(Parts.value(1).toLatin1());
      if (!Ok || Key.size() != 16 || Key.toHex().compare(Parts[1].toLatin1(), Qt::CaseInsensitive) != 0)
        Usage("--key needs ID:KEY, 8 and 32 hex digits");
      Keys[Id] = Key;
    }
    else if (A == "--export") Export = QString::fromLocal8Bit(Next());
    else if (A == "--append") Append = true;
    else if (A == "--mod-start") Mod_Start = Number(Next(), 0, 59999, "--mod-start");
    else if (A == "--code-dev") Code_Dev = Number(Next(), 0, 14, "--code-dev");
    else Usage("unknown option " + A);
  }
  uint32_t Ignored;
  if (!plat::Parse_IPv4(Converter, Ignored)) Usage("--converter needs an IPv4 address");
  if (!plat::Parse_IPv4(Bind, Ignored)) Usage("--bind needs an IPv4 address");
  if (Mode != "primary" && Mode != "secondary" && Mode != "wireless")
    Usage("--mode must be primary, secondary or wireless");
  const bool Wireless = Mode == "wireless";
  if (Wireless && Port < 0) Usage("--mode wireless needs --port");
  if (!Module.empty() && Module != "telit" && Module != "radiocrafts") Usage("--module must be telit or radiocrafts");
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
  TSaveConfXML Save;
  Save.Append = Append ? 1 : 0;
  Save.XML_Code_Dev = Code_Dev;
  Save.Mod_Start = Mod_Start;
  Save.File_Name = Export;
  Save.Node_ID_Type = Mode == "secondary" ? 1 : 0;
  Save.SND_NKE = Snd_Nke ? 1 : 0;
  Save.Reset_App = App_Reset ? 1 : 0;
  Save.Cut_After = Cut_After;
  auto Write_Export = [&](bool Wireless_Result) {
    if (Export.isEmpty()) return true;
    try {
      const bool Written = Wireless_Result ? Scanner.Save_XML_Conf_Wireless(Save) : Scanner.Save_XML_Conf_Wired(Save);
      std::cout << (Written ? "exported to " : "nothing to export to ") << Export.toStdString() << '\n';
      return true;
    } catch (const plat::Exception& E) {
      std::cerr << "scan_run: " << E.Message().toStdString() << '\n';
      return false;
    }
  };
  if (Wireless) {
    // Keys wanted for devices not yet keyed: installed from this thread once the device was heard encrypted.
    std::vector<int> Heard_Encrypted;
    auto Heard = [&](int Index, TSlave_wMBus* S) {
      std::string Line;
      bool Want_Key = false;
      {
        std::lock_guard<std::mutex> DL(List_Dev_Lock);
        Line = "device " + std::to_string(Index) + ": " + S->ALA_Manu_str.toStdString() + ' ' +
               Hex(uint32_t(S->ALA_Address), 8) + " version " + std::to_string(S->ALA_Version) + " type " +
               std::to_string(S->ALA_DeviceType) + " rssi " + std::to_string(S->RSSI) + ' ' +
               (S->Cripted ? "encrypted" : "records " + std::to_string(S->List_Var.size()));
        Want_Key = S->Cripted && !S->Enable_Key && Keys.count(uint32_t(S->ALA_Address));
      }
      std::lock_guard<std::mutex> L(Out_Lock);
      std::cout << Line << std::endl;
      if (Want_Key) Heard_Encrypted.push_back(Index);
    };
    if (!Scanner.Start_Scan_Wireless(shEthernet, Converter, static_cast<uint16_t>(Port), Wireless_Mode, Channel, Heard,
                                     false)) {
      std::cerr << "scan_run: the listen could not be started\n";
      return 1;
    }
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
    bool Wrong_Module = false;
    while (Scanner.FInScan && std::chrono::steady_clock::now() < End) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (Scanner.Wireless_Receive_Message() && !Module.empty() &&
          (Scanner.Radio_Module() == rmTelit) != (Module == "telit")) {
        Wrong_Module = true;
        break;
      }
      std::vector<int> Pending;
      {
        std::lock_guard<std::mutex> L(Out_Lock);
        Pending.swap(Heard_Encrypted);
      }
      for (int Index : Pending) {
        QByteArray Key;
        {
          std::lock_guard<std::mutex> DL(List_Dev_Lock);
          Key = Keys[uint32_t(List_Dev_Wireless[Index]->ALA_Address)];
        }
        const auto* K = reinterpret_cast<const uint8_t*>(Key.constData());
        // Refused while another install runs: try again at the next telegram.
        const bool Begun = Scanner.Insert_Wireless_Key(Index, std::span<const uint8_t>(K, 16));
        std::lock_guard<std::mutex> L(Out_Lock);
        std::cout << "key for device " << Index << (Begun ? ": installing" : ": not now") << std::endl;
      }
    }
    Scanner.Stop_Scan();
    while (Scanner.FInScan) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bool Ok = Write_Export(true);
    {
      std::lock_guard<std::mutex> L(List_Dev_Lock);
      for (qsizetype I = 0; I < List_Dev_Wireless.size(); ++I)
        std::cout << Device_Json(int(I), *List_Dev_Wireless[I]) << '\n';
      qDeleteAll(List_Dev_Wireless);
      List_Dev_Wireless.clear();
    }
    std::cout.flush();
    if (Wrong_Module) {
      std::cerr << "scan_run: the converter carries another radio module\n";
      return 1;
    }
    if (Scanner.FResult != Result_Scanned) {
      Report_Failure(Scanner, "the converter or its radio module did not answer as expected");
      return 1;
    }
    if (Scanner.Full_List_Dropped() > 0)
      std::cerr << "scan_run: the list of devices was full; telegrams of further devices ignored: "
                << Scanner.Full_List_Dropped() << '\n';
    return Ok ? 0 : 1;
  }
  auto Progress = [&](TScan_Report Msg, int32_t Address, int32_t Found, TScan_Kind Kind) {
    std::lock_guard<std::mutex> L(Out_Lock);
    if (Msg == TScan_Report::Started) {
      std::cout << "scan started (" << (Kind == TScan_Kind::Primary ? "primary" : "secondary") << ")\n";
    } else if (Msg == TScan_Report::Address && Kind == TScan_Kind::Primary) {
      std::cout << "address " << Address << ": " << (Found ? "found" : "not found") << '\n';
    } else if (Msg == TScan_Report::Address) {
      char Id[16];
      std::snprintf(Id, sizeof Id, "%08X", static_cast<uint32_t>(Address));
      std::cout << "slave " << Id << ": " << (Found ? "found" : "not found") << '\n';
    } else if (Msg == TScan_Report::Ended) {
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

  const bool Exported = Write_Export(false);
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  for (const TSlave_MBus* S : List_Dev_MBus) std::cout << Slave_Json(*S) << '\n';
  qDeleteAll(List_Dev_MBus);
  List_Dev_MBus.clear();
  std::cout.flush();
  if (Scanner.FResult != Result_Scanned) {
    Report_Failure(Scanner, "the converter did not confirm analyzer mode");
    return 1;
  }
  return Exported ? 0 : 1;
}
