#include "core/network_input.h"

#include "core/device_model.h"
#include "platform/rtl/strutils.h"

namespace core::net {

namespace {

int32_t Int_Or(const QString& text, int32_t d) { return plat::StrToIntDef(text, d); }
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

void Apply_Node(const TNode_Input& in, const TNode_Layout& layout, TNodo& node) {
  const bool wireless = layout.Wireless(in);
  node.Enable = in.Enable ? 1 : 0;
  node.Description = in.Description;
  node.Node_ID_Type = in.Primary ? 0 : 1;
  // A wireless node's address fields are hidden; they keep what they held when it does not convert.
  node.Node_Pri = Int_Or(in.Pri, node.Node_Pri);
  node.Node_Sec = Int_Or(in.Sec, node.Node_Sec);
  node.Send_SNK = in.SND_NKE ? 1 : 0;
  node.Reset_App = in.Reset_App ? 1 : 0;
  node.Cut_After = in.Cut_After;
  // Rows the page does not show publish nothing.
  node.Manufacturer_Spec = layout.Extras ? Int_Or(in.MSD, 0) : 0;
  node.MSD_Length = layout.Extras ? Int_Or(in.MSD_Length, 0) : 0;
  node.MSD_Offset = layout.Extras ? Int_Or(in.MSD_Offset, 0) : 0;
  if (wireless) {
    node.Node_State = Int_Or(in.wNode_State, 0);
    node.Ident_Num = Int_Or(in.wIdent, 0);
    node.RSSI = Int_Or(in.wRSSI, 0);
    node.BCDtoINT_IN = in.wBCD ? 1 : 0;
    node.Swap_Ident = in.wSwap;
    node.Var_List_Type = in.wVar_Type;
    node.Access_Number = Int_Or(in.wAccess, 0);
  } else {
    node.Node_State = Int_Or(in.Node_State, 0);
    node.Ident_Num = Int_Or(in.Ident, 0);
    node.RSSI = 0;
    node.BCDtoINT_IN = in.BCDtoINT_IN ? 1 : 0;
    node.Swap_Ident = in.Swap;
    node.Var_List_Type = in.Var_Type;
    node.Access_Number = layout.Extras ? Int_Or(in.Access, 0) : 0;
  }
  if (layout.Wireless_Side()) {
    node.MBus_Type = in.MBus_Type;
    node.wMBus_ManID = in.wManID;
    node.wMBus_Add = in.wAdd;
    node.wMBus_Ver = in.wVer;
    node.wMBus_DevType = in.wDevType;
    node.wMBus_En_Key = in.wKey_Enable ? 1 : 0;
    node.wMBus_Key = in.wKey;
  } else {
    node.MBus_Type = 1;
    node.wMBus_ManID.clear();
    node.wMBus_Add.clear();
    node.wMBus_Ver.clear();
    node.wMBus_DevType.clear();
    node.wMBus_En_Key = 0;
    node.wMBus_Key = {};
  }
  node.Unread = 0;
}

void Apply_Var(const TVar_Input& in, TVariabile& v) {
  v.Enable = in.Enable;
  v.Description = in.Description;
  v.Type_Of_Data = in.Type_Of_Data;
  v.VIF_ASCII = in.VIF_ASCII;
  v.Function_Field = in.Function_Field;
  v.Dimension = in.Dimension;
  v.Length = Int_Or(in.Length, 0);
  v.Unita = in.Unit;
  v.Modbus_Register = Int_Or(in.Register, 0);
  v.Modbus_Scale = Int_Or(in.Scale, 0);
  v.Storage_Number = uint32_t(uint64_t(plat::StrToInt64Def(in.Storage, 0)));
  v.Tariff = uint32_t(Int_Or(in.Tariff, 0));
  v.VIFE = uint8_t(in.VIFE);
  v.BCDtoINT = in.BCDtoINT;
  v.Conv_Float = in.Conv_Float;
  v.Force_Int32 = in.Force_Int32;
  v.TP_Mod_Regs = in.TP_Box;
  v.TP_Mod_Year = Int_Or(in.TP_Year, 0);
  v.Position = Int_Or(in.Position, 1);
  v.Post_Operation = in.Post_Operation;
  v.Unread = 0;
  v.Fault_Attr = TVar_Attr::Count;
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
