#include "tools/converter_sim/converter_sim.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <sstream>

namespace convsim {

namespace {

const QByteArray Analyzer_On = QByteArrayLiteral("Veltrum_Enable_Analyzer_Mode");
const QByteArray Analyzer_Off = QByteArrayLiteral("Veltrum_Disable_Analyzer_Mode");
const QByteArray Analyzer_On_Reply = QByteArrayLiteral("\n\rAnalyzer_Mode Enabled!\n\r");
const QByteArray Analyzer_Off_Reply = QByteArrayLiteral("\n\rAnalyzer_Mode Disabled!\n\r");
const QByteArray No_Slave = QByteArrayLiteral("NO_SLAVE\n\r");

uint8_t Sum(const uint8_t* First, const uint8_t* Last) {
  unsigned S = 0;
  for (; First != Last; ++First) S += *First;
  return static_cast<uint8_t>(S);
}

bool Is_Long_Frame(std::span<const uint8_t> F) {
  const size_t N = F.size();
  return N >= 9 && F[0] == 0x68 && F[3] == 0x68 && F[1] == F[2] && static_cast<size_t>(F[1]) + 6 == N &&
         F[N - 1] == 0x16 && F[N - 2] == Sum(F.data() + 4, F.data() + N - 2);
}

void Fix_Checksum(TBytes& F) { F[F.size() - 2] = Sum(F.data() + 4, F.data() + F.size() - 2); }

uint32_t Id_Of(std::span<const uint8_t> F) {
  return static_cast<uint32_t>(F[7]) | static_cast<uint32_t>(F[8]) << 8 | static_cast<uint32_t>(F[9]) << 16 |
         static_cast<uint32_t>(F[10]) << 24;
}

uint64_t Now_Ms() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

bool Parse_Hex(const std::string& Text, TBytes& Bytes, std::string* Why) {
  Bytes.clear();
  std::istringstream In(Text);
  std::string Tok;
  while (In >> Tok) {
    if (Tok.size() != 2 || !std::isxdigit(static_cast<unsigned char>(Tok[0])) ||
        !std::isxdigit(static_cast<unsigned char>(Tok[1]))) {
      if (Why) *Why = "malformed hex byte \"" + Tok + "\"";
      return false;
    }
    Bytes.push_back(static_cast<uint8_t>(std::stoi(Tok, nullptr, 16)));
  }
  if (Bytes.empty()) {
    if (Why) *Why = "no bytes";
    return false;
  }
  return true;
}

bool Load_Hex_File(const QString& Path, TBytes& Bytes, std::string* Why) {
  QFile F(Path);
  if (!F.open(QIODevice::ReadOnly)) {
    if (Why) *Why = "cannot read " + Path.toStdString();
    return false;
  }
  return Parse_Hex(F.readAll().toStdString(), Bytes, Why);
}

TBytes Patch_Telegram(const TBytes& Frame, uint8_t A, std::optional<uint32_t> Id) {
  TBytes F = Frame;
  if (!Is_Long_Frame(F) || F.size() < 11) return F;
  F[5] = A;
  if (Id) {
    for (int I = 0; I < 4; ++I) F[7 + I] = static_cast<uint8_t>(*Id >> (8 * I));
  }
  Fix_Checksum(F);
  return F;
}

TBytes With_More_Follows(const TBytes& Frame) {
  if (!Is_Long_Frame(Frame) || Frame[1] == 0xFF) return Frame;
  TBytes F(Frame.begin(), Frame.end() - 2);
  F.push_back(0x1F);
  F.push_back(0);
  F.push_back(0x16);
  F[1] = F[2] = static_cast<uint8_t>(Frame[1] + 1);
  Fix_Checksum(F);
  return F;
}

bool Make_Meter(uint8_t Primary, std::optional<uint32_t> Id, const std::vector<TBytes>& Telegrams, TSimMeter& Meter,
                std::string* Why) {
  if (Telegrams.empty()) {
    if (Why) *Why = "a meter needs at least one telegram";
    return false;
  }
  for (const TBytes& T : Telegrams) {
    if (!Is_Long_Frame(T) || T.size() < 21) {
      if (Why) *Why = "a telegram is not a long frame with a full header";
      return false;
    }
  }
  Meter = TSimMeter{};
  Meter.Primary = Primary;
  for (const TBytes& T : Telegrams) Meter.Telegrams.push_back(Patch_Telegram(T, Primary, Id));
  const TBytes& T = Meter.Telegrams.front();
  Meter.Id = Id_Of(T);
  Meter.Manufacturer = static_cast<uint16_t>(T[11] | T[12] << 8);
  Meter.Version = T[13];
  Meter.Medium = T[14];
  return true;
}

namespace {
bool Select_Matches(const TSimMeter& M, std::span<const uint8_t> F) {
  // F: 68 0B 0B 68 C A=FD CI=52 ID0..ID3 MAN0 MAN1 VER MED CS 16; nibble 0xF of the ID is a wildcard.
  const uint32_t Pattern = Id_Of(F);
  for (int I = 0; I < 8; ++I) {
    const uint32_t P = (Pattern >> (4 * I)) & 0xF;
    if (P != 0xF && P != ((M.Id >> (4 * I)) & 0xF)) return false;
  }
  const uint16_t Man = static_cast<uint16_t>(F[11] | F[12] << 8);
  if (Man != 0xFFFF && Man != M.Manufacturer) return false;
  if (F[13] != 0xFF && F[13] != M.Version) return false;
  if (F[14] != 0xFF && F[14] != M.Medium) return false;
  return true;
}

void Reset(TSimMeter& M) {
  M.Next = 0;
  M.Last_FCB = -1;
}
}  // namespace

std::optional<TBytes> TWiredBus::Relay(std::span<const uint8_t> F, int* Answerer, int* Telegram) {
  if (Answerer) *Answerer = -1;
  if (Telegram) *Telegram = -1;
  std::vector<std::pair<int, TBytes>> Answers;
  int Telegram_No = -1;
  auto Addressed = [](const TSimMeter& M, uint8_t A) { return A == M.Primary || (A == 253 && M.Selected); };
  const bool Short = F.size() == 5 && F[0] == 0x10 && F[4] == 0x16 && F[3] == static_cast<uint8_t>(F[1] + F[2]);
  if (Short) {
    const uint8_t C = F[1], A = F[2];
    if (C == 0x40) {  // SND_NKE
      for (size_t I = 0; I < Meters.size(); ++I) {
        TSimMeter& M = Meters[I];
        if (A == 255 || A == 254) {
          Reset(M);
        } else if (Addressed(M, A)) {
          Reset(M);
          if (A == 253) M.Selected = false;
          Answers.push_back({-1, {0xE5}});
        }
      }
    } else if ((C & 0xCF) == 0x4B) {  // REQ_UD2
      const int FCB = (C & 0x20) ? 1 : 0;
      const bool FCV = (C & 0x10) != 0;
      for (size_t I = 0; I < Meters.size(); ++I) {
        TSimMeter& M = Meters[I];
        if (!Addressed(M, A)) continue;
        // The next telegram only when the FCB toggled since the last request; otherwise the last one again.
        if (M.Last_FCB < 0)
          M.Next = 0;
        else if (FCV && FCB != M.Last_FCB)
          M.Next = (M.Next + 1) % static_cast<int>(M.Telegrams.size());
        M.Last_FCB = FCB;
        Telegram_No = M.Next;
        Answers.push_back({static_cast<int>(I), M.Telegrams[static_cast<size_t>(M.Next)]});
      }
    }
  } else if (Is_Long_Frame(F) && F.size() >= 9 && (F[4] & 0xCF) == 0x43) {  // SND_UD
    const uint8_t A = F[5], CI = F[6];
    if (CI == 0x50) {  // application reset
      for (TSimMeter& M : Meters) {
        if (A == 255 || A == 254) {
          Reset(M);
        } else if (Addressed(M, A)) {
          Reset(M);
          Answers.push_back({-1, {0xE5}});
        }
      }
    } else if (CI == 0x52 && A == 253 && F.size() == 17) {  // select by secondary address
      for (TSimMeter& M : Meters) {
        M.Selected = Select_Matches(M, F);
        if (M.Selected) Answers.push_back({-1, {0xE5}});
      }
    }
  }
  if (Answers.empty()) return std::nullopt;
  if (Answers.size() > 1) return Collision;
  if (Answerer) *Answerer = Answers.front().first;
  if (Telegram) *Telegram = Answers.front().first >= 0 ? Telegram_No : -1;
  return Answers.front().second;
}

TConverterCore::TConverterCore() {
  Add_Command(Analyzer_On, [](TConverterCore& C, std::vector<TBytes>& R) {
    C.Mode = TMode::Analyzer;
    R.push_back(Bytes_Of(Analyzer_On_Reply));
  });
  Add_Command(Analyzer_Off, [](TConverterCore& C, std::vector<TBytes>& R) {
    C.Mode = TMode::Normal;
    R.push_back(Bytes_Of(Analyzer_Off_Reply));
  });
  Set_Mode_Handler(TMode::Analyzer, [](TConverterCore& C, std::span<const uint8_t> D, std::vector<TBytes>& R) {
    std::optional<TBytes> A = C.Bus.Relay(D, &C.Last_Answerer_, &C.Last_Telegram_);
    R.push_back(A ? std::move(*A) : Bytes_Of(No_Slave));
    return true;
  });
}

void TConverterCore::Add_Command(const QByteArray& Text, TCommand Command) { Commands_[Text] = std::move(Command); }

void TConverterCore::Set_Mode_Handler(TMode M, TModeHandler Handler) { Handlers_[M] = std::move(Handler); }

std::vector<TBytes> TConverterCore::Handle(std::span<const uint8_t> Datagram) {
  std::lock_guard<std::mutex> L(Lock);
  std::vector<TBytes> Replies;
  Last_Answerer_ = Last_Telegram_ = -1;
  Last_Was_Relay_ = false;
  const QByteArray Text(reinterpret_cast<const char*>(Datagram.data()), static_cast<qsizetype>(Datagram.size()));
  if (auto It = Commands_.find(Text); It != Commands_.end()) {
    It->second(*this, Replies);
    return Replies;
  }
  if (auto It = Handlers_.find(Mode); It != Handlers_.end() && It->second)
    Last_Was_Relay_ = It->second(*this, Datagram, Replies);
  return Replies;
}

// --- the UDP peer ------------------------------------------------------------------------------------------------

TConverterSim::TConverterSim() : Delay_Thread_([this] { Delay_Loop(); }) {}

TConverterSim::~TConverterSim() {
  Stop();
  {
    std::lock_guard<std::mutex> L(Delay_Lock_);
    Delay_Stop_ = true;
  }
  Delay_Cv_.notify_all();
  Delay_Thread_.join();
}

void TConverterSim::Set_Faults(const TSimFaults& Faults) {
  std::lock_guard<std::mutex> L(Lock_);
  Faults_ = Faults;
  Rng_.seed(Faults.Seed);
}

bool TConverterSim::Start(const QString& Address, uint16_t Port, QString* Error) {
  Stop();
  QString Foreign;
  {
    std::lock_guard<std::mutex> L(Lock_);
    Foreign = Faults_.Foreign_Address;
  }
  // The extra senders first: the listener uses them as soon as it runs.
  Other_Socket_.Open(Address, 0, nullptr);
  Foreign_Socket_.Open(Foreign, 0, nullptr);  // without it the forged answers are simply not sent
  if (!Socket_.Open(Address, Port, [this](const plat::TUdpDatagram& D) { On_Datagram(D); }, Error)) {
    Other_Socket_.Close();
    Foreign_Socket_.Close();
    return false;
  }
  return true;
}

bool TConverterSim::Start_Shared(const QString& Address, uint16_t Port, QString* Error) {
  if (!Start(Address, 0, Error)) return false;
  if (Raw_.Start(Address, Port, [this](const plat::TUdpDatagram& D) { On_Datagram(D); }, Error)) return true;
  Stop();
  return false;
}

void TConverterSim::Stop() {
  Raw_.Stop();
  Socket_.Close();
  Other_Socket_.Close();
  Foreign_Socket_.Close();
  std::lock_guard<std::mutex> L(Delay_Lock_);
  Delayed_.clear();
}

std::set<uint32_t> TConverterSim::Clean_Readouts() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Clean_;
}

void TConverterSim::Clear_Clean_Readouts() {
  std::lock_guard<std::mutex> L(Lock_);
  Clean_.clear();
}

uint64_t TConverterSim::Datagrams_Received() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Received_;
}

bool TConverterSim::Send_To_Peer(const TBytes& Datagram) {
  uint32_t Address;
  uint16_t Port;
  {
    std::lock_guard<std::mutex> L(Lock_);
    Address = Peer_Address_;
    Port = Peer_Port_;
  }
  if (Address == 0 || !Socket_.Active()) return false;
  return Socket_.Send_To(Address, Port, Datagram.data(), Datagram.size());
}

void TConverterSim::On_Datagram(const plat::TUdpDatagram& D) {
  const std::vector<TBytes> Replies = Core.Handle(std::span<const uint8_t>(D.Data, D.Size));
  int Answerer, Telegram;
  bool Relay;
  uint32_t Answerer_Id = 0;
  {
    std::lock_guard<std::mutex> L(Core.Lock);
    Answerer = Core.Last_Answerer();
    Telegram = Core.Last_Telegram();
    Relay = Core.Last_Was_Relay();
    if (Answerer >= 0) Answerer_Id = Core.Bus.Meters[static_cast<size_t>(Answerer)].Id;
  }
  std::lock_guard<std::mutex> L(Lock_);
  ++Received_;
  Peer_Address_ = D.From_Address;
  Peer_Port_ = D.From_Port;
  const TSimFaults& F = Faults_;
  const bool Faulty = Relay || F.On_Commands;
  std::uniform_real_distribution<double> U(0.0, 1.0);
  auto Hit = [&](double Share) { return Faulty && Share > 0 && U(Rng_) < Share; };
  for (TBytes Reply : Replies) {
    if (Hit(F.Drop)) continue;
    bool Clean = true;
    if (Hit(F.Garbage)) {
      std::uniform_int_distribution<int> Len(2, 40), Byte(0, 255);
      Reply.resize(static_cast<size_t>(Len(Rng_)));
      for (uint8_t& B : Reply) B = static_cast<uint8_t>(Byte(Rng_));
      Clean = false;
    }
    if (Hit(F.Oversized)) {
      TBytes Big(U(Rng_) < 0.5 ? 3000 : 9000, 0xE5);
      Socket_.Send_To(D.From_Address, D.From_Port, Big.data(), Big.size());
    }
    if (Hit(F.Stray)) {
      std::uniform_int_distribution<int> Byte(0, 254);
      int B = Byte(Rng_);
      if (B >= 0xE5) ++B;  // anything but the single ACK
      const uint8_t Stray = static_cast<uint8_t>(B);
      Socket_.Send_To(D.From_Address, D.From_Port, &Stray, 1);
    }
    if (Hit(F.Foreign) && Foreign_Socket_.Active()) {
      // A forged answer: a telegram of a meter that does not exist, or a single ACK.
      const TBytes Forged = Reply.size() > 21 ? Patch_Telegram(Reply, Reply[5], 0x98765432u) : TBytes{0xE5};
      Foreign_Socket_.Send_To(D.From_Address, D.From_Port, Forged.data(), Forged.size());
    }
    if (Hit(F.Late)) {
      {
        std::lock_guard<std::mutex> DL(Delay_Lock_);
        Delayed_.push_back({Now_Ms() + F.Late_Ms, Reply, D.From_Address, D.From_Port});
      }
      Delay_Cv_.notify_all();
      continue;
    }
    plat::TUdpSocket& From = (Hit(F.Other_Port) && Other_Socket_.Active()) ? Other_Socket_ : Socket_;
    From.Send_To(D.From_Address, D.From_Port, Reply.data(), Reply.size());
    if (Hit(F.Twice)) From.Send_To(D.From_Address, D.From_Port, Reply.data(), Reply.size());
    if (Clean && Answerer >= 0 && Telegram == 0) Clean_.insert(Answerer_Id);
  }
}

void TConverterSim::Delay_Loop() {
  std::unique_lock<std::mutex> L(Delay_Lock_);
  while (!Delay_Stop_) {
    if (Delayed_.empty()) {
      Delay_Cv_.wait(L);
      continue;
    }
    auto Next = std::min_element(Delayed_.begin(), Delayed_.end(),
                                 [](const TDelayed& A, const TDelayed& B) { return A.Due_Ms < B.Due_Ms; });
    const uint64_t Now = Now_Ms();
    if (Next->Due_Ms > Now) {
      Delay_Cv_.wait_for(L, std::chrono::milliseconds(Next->Due_Ms - Now));
      continue;
    }
    TDelayed D = std::move(*Next);
    Delayed_.erase(Next);
    L.unlock();
    Socket_.Send_To(D.To_Address, D.To_Port, D.Bytes.data(), D.Bytes.size());
    L.lock();
  }
}

}  // namespace convsim
