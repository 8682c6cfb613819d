#pragma once
// The wired M-Bus scanner: a worker thread that drives a converter over UDP, finds the slaves on its wired line
// by primary address or by a secondary-address search, decodes their replies into List_Dev_MBus and reports
// progress through a callback.
//
// Threads: the owner (the scan window's GUI thread) calls the start, stop and abort operations and polls
// FInScan and FResult; the scanner thread runs the steps and calls the progress callback; the socket's listener
// thread only files incoming datagrams into an inbox. The flags are atomics, the step state is guarded by a
// mutex that the owner's calls take too, and List_Dev_MBus is guarded by List_Dev_Lock (core/device_model.h).

#include "platform/io/udp_socket.h"
#include "scanner/mbus_types.h"
#include "scanner/scan_export.h"
#include "scanner/scan_steps.h"
#include "scanner/wmbus_types.h"

#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

class TComm;

enum TScanType { saPrimaryAddress, saSecondaryAddress };
enum TSelectHard { shEthernet, shSerial };
enum TMBusType { mtWired, mtWireless };
enum TRadioModule { rmTelit, rmRadioCrafts };

// Outcome of the last scan, in FResult: -1 before the first scan, 1 once a scan has begun (and after a normal
// end), 2 when the converter did not confirm a mode change (or, while listening, a module command failed), 3 when
// the scanner's socket could not be opened (its local port in use): Open_Error() says why.
enum : int32_t { Result_None = -1, Result_Scanned = 1, Result_Not_Confirmed = 2, Result_No_Socket = 3 };

// Progress of a wired scan: what the report is, the address it is about (the primary address or the
// identification number, whose hex digits are the eight decimal digits), whether a slave answered there (1/0),
// and the kind of scan. The values are those the scan window's callback has always been given.
enum class TScan_Report : int32_t { Started = 1, Address = 2, Ended = 3 };
enum class TScan_Kind : int32_t { Primary = 1, Secondary = 2 };
using TUpdate_Slave_List_Proc =
    std::function<void(TScan_Report MsgType, int32_t Address, int32_t Found, TScan_Kind ScanKind)>;

// Wireless progress: a telegram of the device at Index of List_Dev_Wireless was taken (also when the device kept
// its previous data). Called on the socket's listener thread with no lock held; Slave points into the list (read
// it under List_Dev_Lock), or is null when the scan was started for a caller that takes the index alone.
using TUpdate_Wireless_Slave_Proc = std::function<void(int Index, TSlave_wMBus* Slave)>;

// A 32-bit millisecond tick that wraps, and a sleep.
class TScanClock {
 public:
  virtual ~TScanClock() = default;
  virtual uint32_t Tick() = 0;
  virtual void Sleep(uint32_t Ms) = 0;
};

class TSteadyScanClock final : public TScanClock {
 public:
  uint32_t Tick() override;
  void Sleep(uint32_t Ms) override;
};

// The link to the converter. Open hands every incoming datagram, with the sender's IPv4 address and port, to
// Receiver (on any thread); Send sends one datagram to the converter's command port at Address.
class TScanTransport {
 public:
  using TReceiver =
      std::function<void(const uint8_t* Data, size_t Size, uint32_t From_Address, uint16_t From_Port)>;
  virtual ~TScanTransport() = default;
  virtual bool Open(TReceiver Receiver, QString* Error) = 0;
  virtual void Close() = 0;
  virtual bool Send(uint32_t Address, const uint8_t* Data, size_t Size) = 0;
  // Wireless listening binds local port Port and talks to the converter's Port; 0 goes back to the wired ports.
  // Takes effect at the next Open.
  virtual void Set_Wireless_Port(uint16_t Port) { (void)Port; }
};

// Where the scanner's socket binds and where the converter listens. The program binds every local address on
// port 10000 and talks to the converter's port 10000; tests bind a loopback address.
struct TScanNetConfig {
  QString Bind_Address = QStringLiteral("0.0.0.0");
  uint16_t Local_Port = 10000;
  uint16_t Converter_Port = 10000;
};

class TUdpScanTransport final : public TScanTransport {
 public:
  explicit TUdpScanTransport(TScanNetConfig Config = {}) : Config_(std::move(Config)) {}
  bool Open(TReceiver Receiver, QString* Error) override;
  void Close() override;
  bool Send(uint32_t Address, const uint8_t* Data, size_t Size) override;
  void Set_Wireless_Port(uint16_t Port) override { Wireless_Port_ = Port; }
  uint16_t Local_Port() const { return Socket_.Local_Port(); }

 private:
  TScanNetConfig Config_;
  uint16_t Wireless_Port_ = 0;
  plat::TUdpSocket Socket_{8192};
};

// A manual-reset event: Set lets every waiter through until Reset.
class TManualResetEvent {
 public:
  void SetEvent();
  void ResetEvent();
  bool Is_Set() const;
  // Waits until the event is set or Also() holds (checked whenever the event or Wake is signalled).
  void WaitFor(const std::function<bool()>& Also);
  void Wake();  // re-checks the waiters' conditions

 private:
  mutable std::mutex Lock_;
  std::condition_variable Cv_;
  bool Set_ = false;
};

// Waits and time-outs of the scan. The defaults are the converter protocol's; tests may shorten them.
struct TScanTiming {
  uint32_t Step_Pause = 40;       // after every step while scanning
  uint32_t Idle_Pause = 10;       // after every pass while idle
  uint32_t Primary_Sleep = 500;   // before application reset, SND_NKE and REQ_UD2 of the primary scan
  uint32_t Time_Out_Base = 400;   // the fixed part of the M-Bus time-outs is this + 50
  uint32_t Text_Time_Out = 1000;  // converter text commands
  int First_Primary = 0;
  int Last_Primary = 250;
  uint32_t Radio_Block_Time_Out = 500;  // RadioCrafts module configuration block
  uint32_t Radio_Slot_Time_Out = 100;   // RadioCrafts key-table slot number
};

struct TScanEnvironment {
  std::unique_ptr<TScanTransport> Transport;  // default: UDP with TScanNetConfig's defaults
  TScanClock* Clock = nullptr;                // default: the steady clock; not owned
  bool Start_Thread = true;                   // false: the caller drives Run_Pass itself (tests)
};

class TMBusScanDecode {
 public:
  static constexpr int Ans_Array_Size = 2051;  // longest reply taken; longer datagrams are dropped
  static constexpr uint16_t Command_Port = 10000;

  TMBusScanDecode();
  explicit TMBusScanDecode(TScanEnvironment Env);
  ~TMBusScanDecode();  // ends the thread: aborts a running scan (its end steps are not awaited) and joins
  TMBusScanDecode(const TMBusScanDecode&) = delete;
  TMBusScanDecode& operator=(const TMBusScanDecode&) = delete;

  // Starts a wired scan. False, with nothing changed, while a scan runs, and also when IP_COM is not an IPv4
  // address, Baud is not above 0, or SelHard is shSerial (no serial transport is built).
  bool Start_Scan(TScanType ScanT, TSelectHard SelHard, const QString& IP_COM, int Baud, int Par, bool AppReset,
                  bool SNDNKE, int CutAfter, TUpdate_Slave_List_Proc Proc_Slave_List);
  void Stop_Scan() { FStopScan = true; }
  void Abort_Scan() {
    FAbortScan = true;
    Event_Run.Wake();
  }
  // Starts listening for wireless devices through the converter at IP_COM, whose radio module is configured for
  // wMBus_Mode (1 S, 5 T, 15 N1, 17 N2, 11 C) and channel index wMBus_Radio_Channel. Local port and converter
  // port are both Port. False, with nothing changed, while a scan runs, and also when IP_COM is not an IPv4
  // address, Port is 0, or SelHard is shSerial (no serial transport is built). With FromDLL the callback gets
  // a null device. Listening lasts until Stop_Scan or Abort_Scan.
  bool Start_Scan_Wireless(TSelectHard SelHard, const QString& IP_COM, uint16_t Port, int wMBus_Mode,
                           int wMBus_Radio_Channel, TUpdate_Wireless_Slave_Proc Proc_Wireless, bool FromDLL);
  // Hands the 16-byte AES key of device Index (of List_Dev_Wireless) to the radio module. True when the key
  // install has begun (the device's Enable_Key and Key are set); false, with nothing changed, when the machine
  // is not listening (configuring, installing another key, stopped), Index is not a device, Key is not 16
  // bytes, or a RadioCrafts module's key table has no free slot left (64 devices keyed).
  bool Insert_Wireless_Key(int Index, std::span<const uint8_t> Key);
  // The radio module the converter reported at the last wireless start.
  TRadioModule Radio_Module() const { return Radio_Telit_.load() ? rmTelit : rmRadioCrafts; }
  // Set by every telegram taken since the last wireless start.
  bool New_Frame_Wireless() const { return New_Frame_Wireless_.load(); }
  // True while forwarded telegrams are decoded (the module is configured and listening).
  bool Wireless_Receive_Message() const { return Wireless_Receive_Message_.load(); }

  // Write List_Dev_MBus / List_Dev_Wireless as M_Bus.xml (see scan_export.h), holding List_Dev_Lock meanwhile.
  // Checks gives the check state of the wired slaves and records in the scan window's tree.
  bool Save_XML_Conf_Wired(const TSaveConfXML& DataIn, const TScan_Check_State& Checks = {});
  bool Save_XML_Conf_Wireless(const TSaveConfXML& DataIn);

  // For a window that closes while a scan may run: aborts, closes the run gate, and lets the end steps (leaving
  // analyzer mode) still run to their end before the thread blocks.
  void Request_Close();

  // Only while no scan runs; false otherwise.
  bool Set_Timing(const TScanTiming& Timing);

  // One pass of the thread loop without the wait for Event_Run: one step and the step pause while scanning,
  // else the idle pause. For owners that run the scanner without its thread.
  void Run_Pass();

  // Flags the owner reads and writes.
  std::atomic<bool> FExit{false};
  std::atomic<bool> FInScan{false};
  std::atomic<int32_t> FResult{-1};
  std::atomic<bool> FStopScan{false};
  std::atomic<bool> FAbortScan{false};
  TManualResetEvent Event_Run;  // the window sets it when shown and resets it when closed
  QString SaveXMLFile;          // cleared by the window before a wired scan; not used by the scan

  int32_t Step() const { return Step_Scan.load(); }
  // Datagrams dropped since the start of the scan: from another sender (while listening, also from another port
  // of the converter than the one that answered the configuration-mode handshake), and too long.
  uint64_t Foreign_Dropped() const { return Foreign_Dropped_.load(); }
  uint64_t Oversized_Dropped() const { return Oversized_Dropped_.load(); }
  // Datagrams passed over while awaiting a primary readout because they were not one (a stray byte on the line).
  uint64_t Stray_Replies() const { return Stray_Replies_.load(); }
  // Telegrams of devices not taken because List_Dev_Wireless already holds Max_Wireless_Devices; counted since
  // the start of the listening, and taken again once the list has room.
  uint64_t Full_List_Dropped() const { return Full_List_Dropped_.load(); }
  // Why the last scan's socket could not be opened (with FResult Result_No_Socket); empty otherwise.
  QString Open_Error() const;

 private:
  void Execute();
  void Scan_Decode();
  void UDP_Read(const uint8_t* Data, size_t Size, uint32_t From, uint16_t Port);
  void Scan_Decode_Wireless();
  void Telit_Steps(int32_t Step);
  void RadioCrafts_Steps(int32_t Step);
  void RadioCrafts_Key_Steps(int32_t Step);
  // RadioCrafts pairs: send Frame with its time-out (then the answer step of Step); the answer is the prompt
  // alone, or a reply beginning with it (First_Byte_Only), else the run fails; or any answer, the time-out too.
  void Module_Send(const std::vector<uint8_t>& Frame, uint32_t Time_Out, int32_t Step);
  void Expect_Prompt(int32_t Next, bool First_Byte_Only);
  void Any_Answer(int32_t Next);
  void Decode_Wireless_Frame(const uint8_t* Data, size_t Size);
  void Notify_Wireless_Slave(int Index, TSlave_wMBus* Slave);
  bool Open_Transport();
  void Close_Transport();
  // A run's first step: opens the transport and sends the command that opens the converter's mode (then
  // Await_Step); without a socket the run ends with Result_No_Socket at its closing step Close_Step.
  void Open_Run(const QByteArray& Command, int32_t Await_Step, int32_t Close_Step);
  // Takes the converter's address and clears the run state, then lets the worker start the scan.
  void Begin_Run(const QString& IP, uint32_t Addr);
  void Fail_Wireless();
  static bool Is_Reply(const std::vector<uint8_t>& Reply, const QByteArray& Text);

  // An answer step's outcome: the awaited reply is in Reply, nothing yet, or the time-out passed with no reply.
  enum class TAnswer { None, Reply, Timed_Out };
  using TPass_Over = bool (*)(const TMBusScanDecode& Self, const std::vector<uint8_t>& Datagram);
  // The first datagram since the request that Pass_Over (when given) does not pass over; a reply that is there
  // counts even when the time-out has passed meanwhile.
  TAnswer Await_Answer(std::vector<uint8_t>& Reply, TPass_Over Pass_Over = nullptr);
  // A telegram the converter still forwards while the module is being configured is not the module's answer.
  static bool Is_Forwarded_Telegram(const TMBusScanDecode& Self, const std::vector<uint8_t>& Datagram);
  // While a mode switch is awaited, any other datagram (a stray byte, a late answer) is passed over.
  static bool Not_Analyzer_Enabled(const TMBusScanDecode& Self, const std::vector<uint8_t>& Datagram);
  static bool Not_Configuration_Enabled(const TMBusScanDecode& Self, const std::vector<uint8_t>& Datagram);
  static bool Not_Radio_Module(const TMBusScanDecode& Self, const std::vector<uint8_t>& Datagram);
  // True when the module's reply is in Reply (datagrams Pass_Over names are passed over); on its time-out the
  // run fails.
  bool Module_Reply(std::vector<uint8_t>& Reply, TPass_Over Pass_Over = Is_Forwarded_Telegram);

  // The steps that leave the converter's mode at the end of a run: up to three tries of the command that closes
  // the mode, then the socket is closed and the run ends (with the end report when one is due).
  struct TLeave_Steps {
    int32_t Start, Send, Await, Close;
    const QByteArray& Command;
    const QByteArray& Confirmed;
    TPass_Over Pass_Over;
  };
  void Leave_Mode_Step(int32_t Step, const TLeave_Steps& Leave);

  void Send_Command(const QByteArray& Text);
  void Send_Command(const std::vector<uint8_t>& Frame);
  // Sends a text command to the converter or its module with the text time-out and moves on to Next_Step.
  void Send_Text_Command(const QByteArray& Text, int32_t Next_Step);
  bool TimeOut_Expired();
  // The oldest datagram of the inbox; Reply_Port_ then holds the port it came from.
  bool Take_Reply(std::vector<uint8_t>& Reply);
  void Notify_Slave_List(TScan_Report MsgType, int32_t Address, int32_t Found, TScan_Kind ScanKind);
  uint32_t Short_Time_Out() const;
  uint32_t Long_Time_Out() const;

  enum class TReadOutcome { Ignored, More, Finished, Invalid };
  TReadOutcome Read_Telegram(const std::vector<uint8_t>& Reply, bool Secondary);
  void Digit_Step(int Digit);
  void Digit_Answer_Step(int Digit);
  // Steps of the wired machine by kind: the primary scan, the secondary search.
  void Primary_Step(int32_t Step);
  void Secondary_Step(int32_t Step);
  void Await_Data_Step();
  void Await_Selected_Step();
  // Waits for a single ACK, passing over anything else; true on the ACK or the time-out.
  bool ACK_Or_Time_Out();

  std::unique_ptr<TScanTransport> Transport_;
  TScanClock* Clock_;
  TSteadyScanClock Steady_Clock_;
  std::unique_ptr<TComm> Comm;
  TScanTiming Timing_;

  // Guarded by Step_Lock_: the scan parameters and the step state.
  std::mutex Step_Lock_;
  TMBusType MBusType = mtWired;
  TScanType ScanType = saPrimaryAddress;
  TSelectHard Select_Hardware = shEthernet;
  QString IP_Address;
  QString ComPort;
  uint32_t Converter_Address_ = 0;
  int32_t Baudrate = 2400;
  int32_t Parity = 1;
  bool App_Reset = false;
  bool SND_NKE = false;
  int32_t Cut_After = 0;
  TUpdate_Slave_List_Proc Update_Slave_List;
  std::atomic<int32_t> Step_Scan{0};
  uint32_t TimeOut_Calc = 0;
  uint32_t Start_Send = 0;
  int32_t ID_Dev_Primary = -1;
  bool ID_Dev_Found = false;
  int32_t Num_Frame_Read = 0;
  int Index[8] = {-1, -1, -1, -1, -1, -1, -1, -1};  // Index_A .. Index_H
  int32_t Index_Device = -1;
  TSlave_MBus* Current_Slave_ = nullptr;  // the slave being read (owned by List_Dev_MBus)
  uint32_t Current_Id_ = 0;
  int32_t Sec_Add_Next_Step = 0;
  int32_t Phase_Scan_Sec_Add = 0;
  int32_t Count_Disable_Analyzer = 0;
  bool Enable_Send_In_Last_Step = false;
  TScan_Kind Type_To_Send_In_Last_Step = TScan_Kind::Primary;
  bool Transport_Open_ = false;
  bool Finish_Pending_ = false;

  // Wireless listening, guarded by Step_Lock_ unless atomic.
  std::atomic<bool> Radio_Telit_{true};              // RadioModule: rmTelit when set
  int32_t wMBusMode = 1;
  int32_t wMBusRadioChannel = 0;
  uint16_t Port_Wireless = 0;
  std::atomic<bool> Wireless_Receive_Message_{false};
  std::atomic<bool> New_Frame_Wireless_{false};
  std::array<uint8_t, 16> Wireless_Key{};
  int32_t Wireless_Key_Index = -1;
  struct TKeyed_Device {  // the device being keyed, as it was when its key was given
    int32_t Address = 0;
    uint16_t Manufacturer = 0;
    uint8_t Version = 0;
    uint8_t DeviceType = 0;
    int32_t Slot = -1;
  } Key_Device_;
  int32_t Index_Key_Send = 0;
  int32_t Index_RadioCrafts_Erase_Position = 0;
  int32_t Index_RadioCrafts_Position_Used = 1;
  bool From_DLL = false;
  std::mutex Wireless_Proc_Lock_;  // UpdateListWirelessSlave is read on the listener thread
  TUpdate_Wireless_Slave_Proc UpdateListWirelessSlave;
  std::atomic<bool> Close_Requested_{false};
  struct TReport {
    TScan_Report M;
    int32_t A, F;
    TScan_Kind K;
  };
  std::vector<TReport> Reports_;  // made during a step, delivered after it without any lock held

  // The inbox: datagrams from the converter since the last send. Guarded by Inbox_Lock_.
  std::mutex Inbox_Lock_;
  struct TInbox_Datagram {
    std::vector<uint8_t> Bytes;
    uint16_t Port = 0;
  };
  std::deque<TInbox_Datagram> Inbox_;
  uint16_t Reply_Port_ = 0;  // of the datagram Take_Reply took last; scanner thread only
  std::atomic<uint32_t> Accept_From_{0};
  // The converter's port that answered the configuration-mode handshake of a wireless run. The converter's
  // sending port is not known beforehand, so it is learnt from that answer; from then on a datagram from any
  // other port is not the converter's. 0: not learnt (wired runs never learn it: any port of the converter).
  std::atomic<uint16_t> Accept_Port_{0};
  std::atomic<uint64_t> Foreign_Dropped_{0};
  std::atomic<uint64_t> Oversized_Dropped_{0};
  std::atomic<uint64_t> Stray_Replies_{0};
  std::atomic<uint64_t> Full_List_Dropped_{0};
  mutable std::mutex Open_Error_Lock_;
  QString Open_Error_;  // guarded by Open_Error_Lock_

  std::thread Thread_;
};
