// converter_sim: a simulated converter on UDP, for trying the scanner by hand.
//
//   converter_sim [--listen IP] [--port N] [--meter PRIMARY:ID:FILE[,FILE...]]... [--config FILE]
//                 [--drop S] [--late S --late-ms MS] [--twice S] [--other-port S] [--foreign S] [--garbage S]
//                 [--oversized S] [--stray S] [--faults-on-commands] [--seed N]
//                 [--radio telit|radiocrafts [--telegrams FILE] [--pace MS] [--once] [--signal B]]
//                 [--shared-port]
//
// ID is the eight-digit identification number, or "-" to keep the telegram's own. A config file holds one
// meter a line: "meter PRIMARY ID FILE [FILE...]"; blank lines and lines starting with '#' are skipped, and
// relative file names are taken from the config file's folder. S is a share from 0 to 1 of the relayed answers.
// --radio gives the converter a wireless M-Bus radio module of that family; while it listens it forwards the
// telegrams of FILE (one a line as hex pairs, optionally "/" and the decrypted form sent once the device's key
// is installed; see radio_sim.h) to the last peer, one every MS milliseconds (default 1000), over again unless
// --once; B is the signal byte appended to each (default 64). Listen on the wireless port with --port.
// --shared-port: the program under test binds PORT on every address of this network namespace; the simulator
// hears the requests to IP:PORT through a raw socket and answers from IP on a port of its own.
// Runs until interrupted.

#include "tools/converter_sim/converter_sim.h"
#include "tools/converter_sim/radio_sim.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <time.h>

namespace {

volatile std::sig_atomic_t Stop_Requested = 0;
void On_Signal(int) { Stop_Requested = 1; }

[[noreturn]] void Usage(const std::string& Why) {
  std::cerr << "converter_sim: " << Why << "\n"
            << "usage: converter_sim [--listen IP] [--port N] [--meter PRIMARY:ID:FILE[,FILE...]]... [--config FILE]\n"
            << "       [--drop S] [--late S --late-ms MS] [--twice S] [--other-port S] [--foreign S]\n"
            << "       [--garbage S] [--oversized S] [--stray S] [--faults-on-commands] [--seed N]\n"
            << "       [--radio telit|radiocrafts [--telegrams FILE] [--pace MS] [--once] [--signal B]]\n"
            << "       [--shared-port]\n";
  std::exit(2);
}

bool Parse_Id(const QString& Text, std::optional<uint32_t>& Id) {
  if (Text == QStringLiteral("-")) {
    Id.reset();
    return true;
  }
  if (Text.size() != 8) return false;
  for (const QChar C : Text)
    if (C < u'0' || C > u'9') return false;
  Id = Text.toUInt(nullptr, 16);  // the decimal digits are the nibbles
  return true;
}

bool Add_Meter(convsim::TConverterCore& Core, const QString& Primary, const QString& Id, const QStringList& Files,
               const QString& Base, std::string& Why) {
  bool Ok = false;
  const int P = Primary.toInt(&Ok);
  if (!Ok || P < 0 || P > 250) {
    Why = "primary address must be 0..250: " + Primary.toStdString();
    return false;
  }
  std::optional<uint32_t> Ident;
  if (!Parse_Id(Id, Ident)) {
    Why = "identification must be eight decimal digits or -: " + Id.toStdString();
    return false;
  }
  std::vector<convsim::TBytes> Telegrams;
  for (const QString& F : Files) {
    const QString Path = QFileInfo(F).isAbsolute() || Base.isEmpty() ? F : QDir(Base).filePath(F);
    convsim::TBytes T;
    if (!convsim::Load_Hex_File(Path, T, &Why)) return false;
    Telegrams.push_back(std::move(T));
  }
  convsim::TSimMeter M;
  if (!convsim::Make_Meter(static_cast<uint8_t>(P), Ident, Telegrams, M, &Why)) return false;
  Core.Bus.Meters.push_back(std::move(M));
  return true;
}

double Share(const char* Text) {
  char* End = nullptr;
  const double V = std::strtod(Text, &End);
  if (End == Text || *End || V < 0 || V > 1) Usage(std::string("a share must be a number from 0 to 1: ") + Text);
  return V;
}

}  // namespace

int main(int argc, char** argv) {
  QString Listen = QStringLiteral("127.0.0.2");
  int Port = 10000;
  convsim::TSimFaults Faults;
  convsim::TConverterSim Sim;
  std::string Why;
  std::string Radio;
  QString Telegram_File;
  int Pace = 1000, Signal = 64;
  bool Once = false;
  bool Shared = false;
  for (int I = 1; I < argc; ++I) {
    const std::string A = argv[I];
    auto Next = [&]() -> const char* {
      if (I + 1 >= argc) Usage("missing value after " + A);
      return argv[++I];
    };
    if (A == "--listen") {
      Listen = QString::fromLocal8Bit(Next());
    } else if (A == "--port") {
      Port = std::atoi(Next());
      if (Port < 0 || Port > 65535) Usage("port must be 0..65535");
    } else if (A == "--meter") {
      const QStringList Parts = QString::fromLocal8Bit(Next()).split(u':');
      if (Parts.size() != 3) Usage("--meter needs PRIMARY:ID:FILE[,FILE...]");
      if (!Add_Meter(Sim.Core, Parts[0], Parts[1], Parts[2].split(u','), QString(), Why)) Usage(Why);
    } else if (A == "--config") {
      const QString Path = QString::fromLocal8Bit(Next());
      std::ifstream In(Path.toLocal8Bit().constData());
      if (!In) Usage("cannot read " + Path.toStdString());
      std::string Line;
      while (std::getline(In, Line)) {
        const QStringList W = QString::fromStdString(Line).simplified().split(u' ', Qt::SkipEmptyParts);
        if (W.isEmpty() || W[0].startsWith(u'#')) continue;
        if (W[0] != QStringLiteral("meter") || W.size() < 4) Usage("config line not understood: " + Line);
        if (!Add_Meter(Sim.Core, W[1], W[2], W.mid(3), QFileInfo(Path).absolutePath(), Why)) Usage(Why);
      }
    } else if (A == "--drop") {
      Faults.Drop = Share(Next());
    } else if (A == "--late") {
      Faults.Late = Share(Next());
    } else if (A == "--late-ms") {
      Faults.Late_Ms = static_cast<uint32_t>(std::atoi(Next()));
    } else if (A == "--twice") {
      Faults.Twice = Share(Next());
    } else if (A == "--other-port") {
      Faults.Other_Port = Share(Next());
    } else if (A == "--foreign") {
      Faults.Foreign = Share(Next());
    } else if (A == "--garbage") {
      Faults.Garbage = Share(Next());
    } else if (A == "--oversized") {
      Faults.Oversized = Share(Next());
    } else if (A == "--stray") {
      Faults.Stray = Share(Next());
    } else if (A == "--faults-on-commands") {
      Faults.On_Commands = true;
    } else if (A == "--radio") {
      Radio = Next();
      if (Radio != "telit" && Radio != "radiocrafts") Usage("--radio must be telit or radiocrafts");
    } else if (A == "--telegrams") {
      Telegram_File = QString::fromLocal8Bit(Next());
    } else if (A == "--pace") {
      Pace = std::atoi(Next());
      if (Pace < 1 || Pace > 3600000) Usage("--pace must be 1..3600000 milliseconds");
    } else if (A == "--once") {
      Once = true;
    } else if (A == "--signal") {
      Signal = std::atoi(Next());
      if (Signal < 0 || Signal > 255) Usage("--signal must be 0..255");
    } else if (A == "--shared-port") {
      Shared = true;
    } else if (A == "--seed") {
      Faults.Seed = static_cast<uint32_t>(std::strtoul(Next(), nullptr, 10));
    } else {
      Usage("unknown option " + A);
    }
  }
  Sim.Set_Faults(Faults);
  std::unique_ptr<convsim::TRadioModuleSim> Module;
  std::vector<convsim::TWirelessTelegram> Telegrams;
  if (!Telegram_File.isEmpty() && Radio.empty()) Usage("--telegrams needs --radio");
  if (!Radio.empty()) {
    Module = std::make_unique<convsim::TRadioModuleSim>(Radio == "telit" ? convsim::TRadioModuleSim::TFamily::Telit
                                                                          : convsim::TRadioModuleSim::TFamily::RadioCrafts);
    Module->Install(Sim.Core);
    if (!Telegram_File.isEmpty() && !convsim::Load_Wireless_File(Telegram_File, Telegrams, &Why)) Usage(Why);
  }
  QString Error;
  const bool Started = Shared ? Sim.Start_Shared(Listen, static_cast<uint16_t>(Port), &Error)
                             : Sim.Start(Listen, static_cast<uint16_t>(Port), &Error);
  if (!Started) {
    std::cerr << "converter_sim: " << Error.toStdString() << '\n';
    return 1;
  }
  std::unique_ptr<convsim::TWirelessTransmitter> Transmitter;
  if (Module)
    Transmitter = std::make_unique<convsim::TWirelessTransmitter>(
        *Module, Telegrams, static_cast<uint32_t>(Pace), !Once, static_cast<uint8_t>(Signal),
        [&Sim](const convsim::TBytes& D) { return Sim.Send_To_Peer(D); });
  std::signal(SIGINT, On_Signal);
  std::signal(SIGTERM, On_Signal);
  std::cout << "converter_sim: listening on " << Listen.toStdString() << ':' << (Shared ? Port : int(Sim.Port())) << " with "
            << Sim.Core.Bus.Meters.size() << " meter(s)" << std::endl;
  while (!Stop_Requested) {
    struct timespec T = {0, 100 * 1000 * 1000};
    nanosleep(&T, nullptr);
  }
  Transmitter.reset();
  Sim.Stop();
  return 0;
}
