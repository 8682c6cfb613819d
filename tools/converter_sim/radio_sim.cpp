#include "tools/converter_sim/radio_sim.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <sstream>

namespace convsim {

namespace {

// The simulator spells out the radio module's texts itself rather than sharing the scanner's constants: as an
// independent peer, a wrong text on either side shows up as a failed exchange instead of agreeing with itself.
const QByteArray Config_On = QByteArrayLiteral("Veltrum_Enable_Configuration_Mode");
const QByteArray Config_Off = QByteArrayLiteral("Veltrum_Disable_Configuration_Mode");
const QByteArray Config_On_Reply = QByteArrayLiteral("\n\rConfiguration_Mode Enabled!\n\r");
const QByteArray Config_Off_Reply = QByteArrayLiteral("\n\rConfiguration_Mode Disabled!\n\r");
const QByteArray Type_Query = QByteArrayLiteral("Veltrum_Type_Radio_Module");
const QByteArray Telit_Reply = QByteArrayLiteral("\n\rTELIT\n\r");
const QByteArray RadioCrafts_Reply = QByteArrayLiteral("\n\rRADIOCRAFTS\n\r");
const TBytes OK = {'O', 'K', '\r'};
const TBytes Error_Reply = {'E', 'R', 'R', 'O', 'R', '\r'};
const TBytes Prompt = {'>'};

bool Valid_Telegram(const TBytes& T) { return T.size() >= 11 && size_t(T[0]) + 1 == T.size(); }

}  // namespace

bool Load_Wireless_File(const QString& Path, std::vector<TWirelessTelegram>& Telegrams, std::string* Why) {
  QFile F(Path);
  if (!F.open(QIODevice::ReadOnly)) {
    if (Why) *Why = "cannot read " + Path.toStdString();
    return false;
  }
  Telegrams.clear();
  std::istringstream In(F.readAll().toStdString());
  std::string Line;
  int No = 0;
  while (std::getline(In, Line)) {
    ++No;
    const size_t First = Line.find_first_not_of(" \t\r");
    if (First == std::string::npos || Line[First] == '#') continue;
    TWirelessTelegram T;
    const size_t Slash = Line.find('/');
    std::string Reason;
    if (!Parse_Hex(Line.substr(0, Slash), T.Telegram, &Reason) ||
        (Slash != std::string::npos && !Parse_Hex(Line.substr(Slash + 1), T.Decrypted, &Reason))) {
      if (Why) *Why = "line " + std::to_string(No) + ": " + Reason;
      return false;
    }
    if (!Valid_Telegram(T.Telegram) || (!T.Decrypted.empty() && !Valid_Telegram(T.Decrypted))) {
      if (Why) *Why = "line " + std::to_string(No) + ": the L field does not match the telegram's length";
      return false;
    }
    Telegrams.push_back(std::move(T));
  }
  if (Telegrams.empty()) {
    if (Why) *Why = "no telegram in " + Path.toStdString();
    return false;
  }
  return true;
}

std::optional<TKeyAddress> Telegram_Address(const TBytes& T) {
  if (T.size() < 11) return std::nullopt;
  const uint8_t CI = T[10];
  size_t A = 4, M = 2, V = 8;  // link layer
  if (CI != 0x7A && CI != 0x78 && CI != 0x8D) {
    if (T.size() < 19) return std::nullopt;
    A = 11, M = 15, V = 17;
  }
  TKeyAddress K;
  K.Address = uint32_t(T[A]) | uint32_t(T[A + 1]) << 8 | uint32_t(T[A + 2]) << 16 | uint32_t(T[A + 3]) << 24;
  K.Manufacturer = uint16_t(T[M] | T[M + 1] << 8);
  K.Version = T[V];
  K.DeviceType = T[V + 1];
  return K;
}

void TRadioModuleSim::Install(TConverterCore& Core) {
  Core.Add_Command(Config_On, [](TConverterCore& C, std::vector<TBytes>& R) {
    C.Mode = TConverterCore::TMode::Configuration;
    R.push_back(Bytes_Of(Config_On_Reply));
  });
  Core.Add_Command(Config_Off, [this](TConverterCore& C, std::vector<TBytes>& R) {
    C.Mode = TConverterCore::TMode::Normal;
    Leave();
    R.push_back(Bytes_Of(Config_Off_Reply));
  });
  Core.Add_Command(Type_Query, [this](TConverterCore&, std::vector<TBytes>& R) {
    R.push_back(Bytes_Of(Family_ == TFamily::Telit ? Telit_Reply : RadioCrafts_Reply));
  });
  Core.Set_Mode_Handler(TConverterCore::TMode::Configuration,
                        [this](TConverterCore&, std::span<const uint8_t> D, std::vector<TBytes>& R) {
                          Handle(D, R);
                          return true;
                        });
}

bool TRadioModuleSim::Listening() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Listening_;
}

std::vector<TBytes> TRadioModuleSim::Received() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Received_;
}

std::vector<std::pair<int, int>> TRadioModuleSim::Telit_Writes() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Writes_;
}

TBytes TRadioModuleSim::RadioCrafts_Config() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Config_;
}

std::vector<int> TRadioModuleSim::RadioCrafts_Cleared() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Cleared_;
}

std::vector<std::pair<TKeyAddress, std::array<uint8_t, 16>>> TRadioModuleSim::Active_Keys() const {
  std::lock_guard<std::mutex> L(Lock_);
  std::vector<std::pair<TKeyAddress, std::array<uint8_t, 16>>> Keys;
  if (Telit_Key_) Keys.push_back(*Telit_Key_);
  for (const TEntry& E : Table_)
    if (E.Active && E.Address && E.Key) Keys.push_back({*E.Address, *E.Key});
  return Keys;
}

std::optional<TBytes> TRadioModuleSim::Forward(const TWirelessTelegram& T, uint8_t Signal) const {
  bool Keyed = false;
  {
    std::lock_guard<std::mutex> L(Lock_);
    if (!Listening_) return std::nullopt;
    if (const auto A = Telegram_Address(T.Telegram)) {
      if (Telit_Key_ && Telit_Key_->first == *A) Keyed = true;
      for (const TEntry& E : Table_)
        if (E.Active && E.Address == A && E.Key) Keyed = true;
    }
  }
  TBytes D = Keyed && !T.Decrypted.empty() ? T.Decrypted : T.Telegram;
  if (D.empty()) return std::nullopt;
  if (Family_ == TFamily::Telit) D.push_back(0x00);
  D.push_back(Signal);
  return D;
}

void TRadioModuleSim::Leave() {
  std::lock_guard<std::mutex> L(Lock_);
  Listening_ = false;
  Command_Mode_ = false;
  Menu_ = TMenu::Off;
}

void TRadioModuleSim::Handle(std::span<const uint8_t> D, std::vector<TBytes>& Replies) {
  std::lock_guard<std::mutex> L(Lock_);
  Received_.emplace_back(D.begin(), D.end());
  if (Family_ == TFamily::Telit)
    Telit(QByteArray(reinterpret_cast<const char*>(D.data()), qsizetype(D.size())), Replies);
  else
    RadioCrafts(D, Replies);
}

void TRadioModuleSim::Telit(const QByteArray& Text, std::vector<TBytes>& Replies) {
  if (Text == "+++") {
    Command_Mode_ = true;
    Listening_ = false;
    Replies.push_back(OK);
    return;
  }
  if (!Command_Mode_) return;  // transparent mode: the module sends what it is given
  if (Text == "ATR\r") {
    Replies.push_back(OK);
  } else if (Text == "ATO\r") {
    Command_Mode_ = false;
    Listening_ = true;
    Replies.push_back(OK);
  } else if (Text.startsWith("ATS") && Text.endsWith('\r') && Text.contains('=')) {
    const int Eq = int(Text.indexOf('='));
    bool Ok_R = false, Ok_V = false;
    const int Reg = Text.mid(3, Eq - 3).toInt(&Ok_R);
    const int Value = Text.mid(Eq + 1, Text.size() - Eq - 2).toInt(&Ok_V);
    if (!Ok_R || !Ok_V || Reg < 0 || Reg >= int(Registers_.size()) || Value < 0 || Value > 255) {
      Replies.push_back(Error_Reply);
      return;
    }
    Registers_[size_t(Reg)] = Value;
    Writes_.push_back({Reg, Value});
    if (Reg == 460 && Value == 5) {  // the key in 470..485 is for the device in 461..468
      TKeyAddress A;
      A.Manufacturer = uint16_t(Registers_[461] | Registers_[462] << 8);
      A.Address = uint32_t(Registers_[463]) | uint32_t(Registers_[464]) << 8 | uint32_t(Registers_[465]) << 16 |
                  uint32_t(Registers_[466]) << 24;
      A.Version = uint8_t(Registers_[467]);
      A.DeviceType = uint8_t(Registers_[468]);
      std::array<uint8_t, 16> K{};
      for (int I = 0; I < 16; ++I) K[size_t(I)] = uint8_t(Registers_[size_t(470 + I)]);
      Telit_Key_ = std::make_pair(A, K);
    }
    Replies.push_back(OK);
  } else {
    Replies.push_back(Error_Reply);
  }
}

void TRadioModuleSim::RadioCrafts(std::span<const uint8_t> D, std::vector<TBytes>& Replies) {
  const size_t N = D.size();
  if (Menu_ == TMenu::Off) {
    if (N == 1 && D[0] == 0x00) {
      Menu_ = TMenu::Menu;
      Listening_ = false;
      Replies.push_back(Prompt);
    }
    return;
  }
  if (Menu_ == TMenu::Memory) {
    if (N == 1 && D[0] == 0xFF) {
      Menu_ = TMenu::Menu;
      Replies.push_back(Prompt);
    } else {
      Config_.assign(D.begin(), D.end());  // address and value pairs; the module answers nothing
    }
    return;
  }
  const bool Table = Menu_ == TMenu::Table_Address || Menu_ == TMenu::Table_Key || Menu_ == TMenu::Table_Activate;
  if (Table && N == 1 && D[0] >= 1 && D[0] <= 64) {  // commands are all above 64
    Slot_ = D[0];
    if (Menu_ == TMenu::Table_Activate) Table_[size_t(Slot_)].Active = true;
    return;
  }
  if (Table && Slot_ >= 1 && Menu_ == TMenu::Table_Address && N == 8) {
    TEntry& E = Table_[size_t(Slot_)];
    if (std::all_of(D.begin(), D.end(), [](uint8_t B) { return B == 0; })) {
      E = TEntry{};
      Cleared_.push_back(Slot_);
    } else {
      TKeyAddress A;
      A.Address = uint32_t(D[0]) | uint32_t(D[1]) << 8 | uint32_t(D[2]) << 16 | uint32_t(D[3]) << 24;
      A.Manufacturer = uint16_t(D[4] | D[5] << 8);
      A.Version = D[6];
      A.DeviceType = D[7];
      E.Address = A;
    }
    Slot_ = 0;
    Replies.push_back(Prompt);
    return;
  }
  if (Table && Slot_ >= 1 && Menu_ == TMenu::Table_Key && N == 16) {
    std::array<uint8_t, 16> K{};
    std::copy(D.begin(), D.end(), K.begin());
    Table_[size_t(Slot_)].Key = K;
    Slot_ = 0;
    Replies.push_back(Prompt);
    return;
  }
  if (N == 2 && D[0] == 0x00 && D[1] == 0x40) {
    Menu_ = TMenu::Menu;
    Replies.push_back(Prompt);
    return;
  }
  if (N != 1) return;  // not understood: the module keeps silent
  Slot_ = 0;
  switch (D[0]) {
    case 0x00:
    case 0xFF:
      Menu_ = TMenu::Menu;
      Replies.push_back(Prompt);
      break;
    case '0': {
      TBytes Dump(256);
      for (size_t I = 0; I < Dump.size(); ++I) Dump[I] = uint8_t(I);
      Dump.push_back('>');
      Replies.push_back(std::move(Dump));
      break;
    }
    case 'M': Menu_ = TMenu::Memory; Replies.push_back(Prompt); break;
    case 'B': Menu_ = TMenu::Table_Address; Replies.push_back(Prompt); break;
    case 'K': Menu_ = TMenu::Table_Key; Replies.push_back(Prompt); break;
    case 'A': Menu_ = TMenu::Table_Activate; Replies.push_back(Prompt); break;
    case 'X':
      Menu_ = TMenu::Off;
      Listening_ = true;
      break;
    default: break;
  }
}

TWirelessTransmitter::TWirelessTransmitter(const TRadioModuleSim& Module, std::vector<TWirelessTelegram> Telegrams,
                                           uint32_t Pace_Ms, bool Repeat, uint8_t Signal,
                                           std::function<bool(const TBytes&)> Send)
    : Module_(Module),
      Telegrams_(std::move(Telegrams)),
      Pace_Ms_(Pace_Ms ? Pace_Ms : 1),
      Repeat_(Repeat),
      Signal_(Signal),
      Send_(std::move(Send)) {
  Thread_ = std::thread([this] {
    size_t Next = 0;
    std::unique_lock<std::mutex> L(Lock_);
    while (!Stop_) {
      Cv_.wait_for(L, std::chrono::milliseconds(Pace_Ms_), [this] { return Stop_; });
      if (Stop_ || Telegrams_.empty()) continue;
      if (Next >= Telegrams_.size()) {
        if (!Repeat_) continue;
        Next = 0;
      }
      const std::optional<TBytes> D = Module_.Forward(Telegrams_[Next], Signal_);
      if (!D) continue;  // the module is not listening: the telegram is not heard
      L.unlock();
      const bool Ok = Send_(*D);
      L.lock();
      if (Ok) {
        ++Next;
        ++Sent_;
      }
    }
  });
}

TWirelessTransmitter::~TWirelessTransmitter() {
  {
    std::lock_guard<std::mutex> L(Lock_);
    Stop_ = true;
  }
  Cv_.notify_all();
  Thread_.join();
}

}  // namespace convsim
