#pragma once
// The step codes of the scanner's two machines. The numbers are part of the scanner's interface: progress
// reporting and the tests read Step() and compare it with these codes, so a code never changes its number.
//
// Steps that send come in pairs with the step that awaits the answer, which is always the next code
// (Answer_Step). The secondary search has one pair per digit of the identification number.

#include <cstdint>

namespace scan_step {

// The step that awaits the answer to what Send_Step sent, and the other way round.
constexpr int32_t Answer_Step(int32_t Send_Step) { return Send_Step + 1; }
constexpr int32_t Send_Step_Of(int32_t Answer) { return Answer - 1; }
// In a sequence of pairs: the send step of the pair after the one that Send_Step begins.
constexpr int32_t Next_Pair(int32_t Send_Step) { return Send_Step + 2; }
// The send steps of the paired sequences are the even codes.
constexpr bool Is_Send_Step(int32_t Step) { return Step % 2 == 0; }

// --- the wired machine ------------------------------------------------------------------------------------------
enum TWired : int32_t {
  Enable_Analyzer = 0,        // open the converter's analyzer mode
  Await_Analyzer = 1,
  Broadcast_SND_NKE = 2,      // primary scan: reset every slave's link
  Await_Broadcast = 3,
  Next_Address = 4,           // the next primary address, or the end of the scan
  Send_App_Reset = 5,
  Await_App_Reset = 6,
  Send_SND_NKE = 7,
  Await_SND_NKE = 8,
  Request_Data = 9,           // REQ_UD2 to the primary address
  Await_Data = 10,
  Secondary_Start = 100,      // secondary search: report the start
  Deselect = 101,             // SND_NKE to the selected slave
  Await_Deselect = 102,
  Reset_All = 103,            // application reset to every slave
  Await_Reset_All = 104,
  Secondary_SND_NKE = 105,    // SND_NKE to every slave
  Await_Secondary_SND_NKE = 106,
  Clear_Digits = 107,
  Select_First_Digit = 108,   // select by the most significant digit (the digit steps follow, Select_Digit)
  Await_Last_Digit = 123,     // the answer to the select by the least significant digit
  Request_Selected = 124,     // REQ_UD2 to the selected slave
  Await_Selected = 125,
  End_Scan = 200,             // the scan's work is over: leave analyzer mode
  Disable_Analyzer = 201,
  Await_Disable_Analyzer = 202,
  Close_Scan = 203,           // the socket is closed and the scan ends
};

inline constexpr int Digit_Count = 8;
// The step that selects by digit D (0 = the most significant) and the step that awaits its answer.
inline constexpr int32_t Select_Digit[Digit_Count] = {108, 110, 112, 114, 116, 118, 120, 122};
inline constexpr int32_t Await_Digit[Digit_Count] = {109, 111, 113, 115, 117, 119, 121, 123};
static_assert(Select_Digit[0] == Select_First_Digit && Await_Digit[Digit_Count - 1] == Await_Last_Digit);

// --- the wireless machine ---------------------------------------------------------------------------------------
enum TWireless : int32_t {
  Enable_Configuration = 0,   // open the converter's configuration mode
  Await_Configuration = 1,
  Ask_Radio_Module = 2,
  Await_Radio_Module = 3,

  // Telit: the configuration sends one command a pair of steps (the commands are built in wmbus_frames.cpp); the
  // last one switches to transparent mode.
  Telit_Config_First = 100,   // "+++": command mode
  Telit_Config_Reset = 102,   // "ATR"
  Telit_Config_400 = 104,     // the register writes, by register (modes N1 and N2 leave out 421, 442, 454)
  Telit_Config_401 = 106,
  Telit_Config_402 = 108,
  Telit_Config_420 = 110,
  Telit_Config_421 = 112,
  Telit_Config_422 = 114,
  Telit_Config_430 = 116,
  Telit_Config_431 = 118,
  Telit_Config_440 = 120,
  Telit_Config_441 = 122,
  Telit_Config_442 = 124,
  Telit_Config_452 = 126,
  Telit_Config_453 = 128,
  Telit_Config_454 = 130,
  Telit_Transparent = 132,    // "ATO": back to transparent mode, then listening
  Telit_Listening = 134,
  Telit_Key_Command_Mode = 200,  // "+++"
  Telit_Key_Address_First = 202, // the eight register writes of the device's address, 202 .. 216
  Telit_Key_Address_Last = 216,
  Telit_Key_Byte = 218,       // one key byte a pair of steps, 16 times
  Telit_Key_Enable = 220,

  RadioCrafts_Menu = 300,     // 0x00: the module's menu
  RadioCrafts_Dump = 302,     // "0": 256 bytes of memory and the prompt
  RadioCrafts_Memory = 304,   // "M"
  RadioCrafts_Config = 306,   // the 16-byte configuration block
  RadioCrafts_Memory_End = 308,  // 0xFF
  RadioCrafts_Table = 310,    // "B": the key table's address entries
  RadioCrafts_Erase_Start = 312,
  RadioCrafts_Erase_Next = 313,  // the next slot to erase, or the end of the erasing
  RadioCrafts_Erase_Slot = 314,
  RadioCrafts_Erase_Entry = 316,
  RadioCrafts_Exit = 318,     // "X": leave the menu, no answer awaited
  RadioCrafts_Listen = 319,
  RadioCrafts_Listening = 320,
  RadioCrafts_Key_Menu = 400,
  RadioCrafts_Key_Table = 402,       // "B"
  RadioCrafts_Key_Address_Slot = 404,
  RadioCrafts_Key_Address = 406,
  RadioCrafts_Key_Keys = 408,        // "K"
  RadioCrafts_Key_Key_Slot = 410,
  RadioCrafts_Key_Key = 412,
  RadioCrafts_Key_Activation = 414,  // "A"
  RadioCrafts_Key_Activation_Slot = 416,
  RadioCrafts_Key_Activate = 418,

  Leave_Configuration = 500,  // the listening is over (or failed): leave configuration mode
  Disable_Configuration = 501,
  Await_Disable_Configuration = 502,
  Close_Listening = 503,
};

}  // namespace scan_step
