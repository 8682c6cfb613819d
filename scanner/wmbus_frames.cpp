#include "scanner/wmbus_frames.h"

#include "scanner/scan_steps.h"

namespace wmbus {

const QByteArray Cmd_Enable_Configuration = QByteArrayLiteral("Veltrum_Enable_Configuration_Mode");
const QByteArray Reply_Configuration_Enabled = QByteArrayLiteral("\n\rConfiguration_Mode Enabled!\n\r");
const QByteArray Cmd_Type_Radio_Module = QByteArrayLiteral("Veltrum_Type_Radio_Module");
const QByteArray Reply_Telit = QByteArrayLiteral("\n\rTELIT\n\r");
const QByteArray Reply_RadioCrafts = QByteArrayLiteral("\n\rRADIOCRAFTS\n\r");
const QByteArray Cmd_Disable_Configuration = QByteArrayLiteral("Veltrum_Disable_Configuration_Mode");
const QByteArray Reply_Configuration_Disabled = QByteArrayLiteral("\n\rConfiguration_Mode Disabled!\n\r");
const QByteArray Telit_OK = QByteArrayLiteral("OK\r");

namespace {
bool Narrowband(int Mode) { return Mode == Mode_N1 || Mode == Mode_N2; }
}  // namespace

QByteArray Telit_Config_Command(int Send_Step, int Mode, int Channel) {
  using namespace scan_step;
  switch (Send_Step) {
    case Telit_Config_First: return QByteArrayLiteral("+++");
    case Telit_Config_Reset: return QByteArrayLiteral("ATR\r");
    case Telit_Config_400: return Telit_Set_Register(400, Mode);
    case Telit_Config_401: return Telit_Set_Register(401, 0);
    case Telit_Config_402: return Telit_Set_Register(402, 191);
    case Telit_Config_420: return Telit_Set_Register(420, Channel);
    case Telit_Config_421: return Telit_Set_Register(421, 0);
    case Telit_Config_422: return Telit_Set_Register(422, 3);
    case Telit_Config_430: return Telit_Set_Register(430, 5);
    case Telit_Config_431: return Telit_Set_Register(431, 5);
    case Telit_Config_440: return Telit_Set_Register(440, 0);
    case Telit_Config_441: return Telit_Set_Register(441, 0);
    case Telit_Config_442: return Telit_Set_Register(442, 0);
    case Telit_Config_452: return Telit_Set_Register(452, 0);
    case Telit_Config_453: return Telit_Set_Register(453, 0);
    case Telit_Config_454: return Telit_Set_Register(454, 0);
    case Telit_Transparent: return QByteArrayLiteral("ATO\r");
    default: return QByteArray();
  }
}

int Telit_Next_Config_Step(int Send_Step, int Mode) {
  using namespace scan_step;
  int Next = Next_Pair(Send_Step);
  if (Narrowband(Mode) && (Next == Telit_Config_421 || Next == Telit_Config_442 || Next == Telit_Config_454))
    Next = Next_Pair(Next);
  return Next;
}

QByteArray Telit_Set_Register(int Register, int Value) {
  return "ATS" + QByteArray::number(Register) + '=' + QByteArray::number(Value) + '\r';
}

std::vector<uint8_t> Build_RadioCrafts_Config(int Mode) {
  uint8_t M = 0x03;
  switch (Mode) {
    case Mode_T: M = 0x01; break;
    case Mode_C: M = 0x0A; break;
    case Mode_N1: M = 0x11; break;
    case Mode_N2: M = 0x10; break;
    default: break;
  }
  return {0x03, M, 0x04, 0x00, 0x05, 0x01, 0x12, 0x01, 0x16, 0x17, 0x3A, 0x01, 0x3D, 0x02, 0x37, 0x01};
}

std::vector<uint8_t> Build_RadioCrafts_Clear() { return std::vector<uint8_t>(8, 0); }

std::vector<uint8_t> Build_RadioCrafts_Key_Address(int32_t Address, uint16_t Manufacturer, uint8_t Version,
                                                   uint8_t DeviceType) {
  const uint32_t A = uint32_t(Address);
  return {uint8_t(A), uint8_t(A >> 8), uint8_t(A >> 16), uint8_t(A >> 24), uint8_t(Manufacturer),
          uint8_t(Manufacturer >> 8), Version, DeviceType};
}

std::vector<uint8_t> Build_RadioCrafts_Key(const std::array<uint8_t, 16>& Key) {
  return std::vector<uint8_t>(Key.begin(), Key.end());
}

}  // namespace wmbus
