#include "core/network_input.h"

#include "core/device_model.h"
#include "platform/rtl/strutils.h"

namespace core::net {

namespace {

QString Num(int64_t v) { return QString::number(v); }

}  // namespace

bool TNode_Layout::Wireless_Side() const { return Has_Wireless_Side(Device_Type); }

bool TNode_Layout::Wireless(const TNode_Input& in) const { return Wireless_Side() && in.MBus_Type == 0; }

TNode_Layout Layout_For(int32_t deviceType, int32_t selDev) {
  return TNode_Layout{deviceType, Has_Post_Operation(deviceType, selDev) || selDev == 1};
}

bool Has_Post_Operation(int32_t deviceType, int32_t selDev) {
  return Device_Model(deviceType).Post_Operation[selDev == 1 ? 1 : 0];
}

int64_t Field_Value(const QString& text, bool wide) {
  if (wide) return plat::StrToInt64Def(text, -1);
  int v = 0;
  return plat::TryStrToInt(text, v) ? v : -1;
}

TNode_Input Node_Input(const TNodo& n, const TNode_Layout& layout) {
  TNode_Input in;
  in.Enable = n.Enable == 1;
  in.Description = n.Description;
  in.Primary = n.Node_ID_Type == 0;
  in.Pri = Num(n.Node_Pri);
  in.Sec = Num(n.Node_Sec);
  in.Node_State = Num(n.Node_State);
  in.Ident = Num(n.Ident_Num);
  in.BCDtoINT_IN = n.BCDtoINT_IN == 1;
  in.Swap = n.Swap_Ident;
  in.SND_NKE = n.Send_SNK == 1;
  in.Reset_App = n.Reset_App == 1;
  in.Var_Type = n.Var_List_Type;
  in.Cut_After = n.Cut_After;
  in.MSD = Num(n.Manufacturer_Spec);
  in.MSD_Length = Num(n.MSD_Length);
  in.MSD_Offset = Num(n.MSD_Offset);
  in.Access = Num(n.Access_Number);
  if (layout.Wireless_Side()) {
    in.MBus_Type = n.MBus_Type == 0 ? 0 : 1;
    in.wManID = n.wMBus_ManID;
    in.wAdd = n.wMBus_Add;
    in.wVer = n.wMBus_Ver;
    in.wDevType = n.wMBus_DevType;
    in.wKey_Enable = n.wMBus_En_Key == 1;
    in.wKey = n.wMBus_Key;
    in.wNode_State = Num(n.Node_State);
    in.wIdent = Num(n.Ident_Num);
    in.wRSSI = Num(n.RSSI);
    in.wBCD = in.BCDtoINT_IN;
    in.wSwap = n.Swap_Ident;
    in.wVar_Type = n.Var_List_Type;
    in.wAccess = Num(n.Access_Number);
  }
  return in;
}

TVar_Input Var_Input(const TVariabile& v) {
  TVar_Input in;
  in.Enable = v.Enable;
  in.Description = v.Description;
  in.Type_Of_Data = v.Type_Of_Data;
  in.VIF_ASCII = v.VIF_ASCII;
  in.Function_Field = v.Function_Field;
  in.Dimension = v.Dimension;
  in.Length = Num(v.Length);
  in.Unit = v.Unita;
  in.Register = Num(v.Modbus_Register);
  in.Scale = Num(v.Modbus_Scale);
  in.Storage = Num(v.Storage_Number);
  in.Tariff = Num(v.Tariff);
  in.VIFE = v.VIFE == 255 ? 0 : v.VIFE;
  in.TP_Box = v.TP_Mod_Regs;
  in.TP_Year = Num(v.TP_Mod_Year);
  in.BCDtoINT = v.BCDtoINT;
  in.Conv_Float = v.Conv_Float;
  in.Force_Int32 = v.Force_Int32;
  in.Post_Operation = v.Post_Operation;
  in.Position = Num(v.Position);
  return in;
}

TVar_Input New_Var_Input() {
  TVar_Input in;
  in.Enable = true;
  in.Storage = in.Tariff = in.Length = QStringLiteral("0");
  in.TP_Year = QStringLiteral("1");
  in.Position = QStringLiteral("1");
  return in;
}

QString Typed_Node_Caption(const TNode_Input& in, const TNode_Layout& layout) {
  if (layout.Wireless(in))
    return QStringLiteral("wM-Bus Node - Address ") + in.wAdd + QStringLiteral(" - ") + in.Description;
  return QStringLiteral("ID ") + (in.Primary ? in.Pri : in.Sec) + QStringLiteral(" - ") + in.Description;
}

}  // namespace core::net
