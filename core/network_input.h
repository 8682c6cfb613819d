#pragma once
// What the network editor's two pages hold, as typed (texts, list indexes, check boxes), and how that becomes a
// node or a variable of the network and back. Window-free, so the checks and the conversions can be tested and
// driven without the editor.

#include <array>
#include <cstdint>

#include <QString>

#include "core/mbus_network.h"

namespace core::net {

// The node page and the wireless panel.
struct TNode_Input {
  bool Enable = false;
  QString Description;
  int MBus_Type = 0;  // list index: 0 wM-Bus, 1 M-Bus on wires (wireless device types only)
  bool Primary = true;
  QString Pri = QStringLiteral("1");
  QString Sec = QStringLiteral("1");
  QString Node_State = QStringLiteral("1");
  QString Ident = QStringLiteral("1");
  bool BCDtoINT_IN = false;
  int Swap = 0;
  bool SND_NKE = false;
  bool Reset_App = false;
  int Var_Type = 0;
  int Cut_After = 0;  // item index of "1".."250"
  QString MSD = QStringLiteral("1");
  QString MSD_Length = QStringLiteral("1");
  QString MSD_Offset = QStringLiteral("1");
  QString Access = QStringLiteral("1");

  QString wManID, wAdd, wVer, wDevType;
  bool wKey_Enable = false;
  std::array<QString, 16> wKey;
  QString wNode_State, wIdent, wRSSI, wAccess;
  bool wBCD = false;
  int wSwap = 0;
  int wVar_Type = 0;
};

// The variable page.
struct TVar_Input {
  bool Enable = false;
  QString Description;
  int Type_Of_Data = 0;
  QString VIF_ASCII;
  int Function_Field = 0;
  int Dimension = 0;
  QString Length;
  int Unit = 0;
  QString Register;
  QString Scale;
  QString Storage;
  QString Tariff;
  int VIFE = 0;  // list index; the record's 255 is item 0
  bool TP_Box = false;
  QString TP_Year;
  bool BCDtoINT = false;
  bool Conv_Float = false;
  bool Force_Int32 = false;
  int Post_Operation = 0;
  QString Position;
};

// Which rows the node page shows for a device type: a wireless side, and the extra rows ("Cut after", the
// manufacturer-specific data, "Access Number") that types 2, 3, 6, 7, 1007, and the others in variant 1, have.
struct TNode_Layout {
  int32_t Device_Type = 0;
  bool Extras = false;
  bool Wireless_Side() const;
  // The node entered is a wireless one: a wireless device type with the M-Bus type list at "wM-Bus".
  bool Wireless(const TNode_Input& in) const;
};
TNode_Layout Layout_For(int32_t deviceType, int32_t selDev);
// "Post Operation" is offered on types 2, 3, 6, 7, 1007, and on 1 and 1001 in variant 1.
bool Has_Post_Operation(int32_t deviceType, int32_t selDev);

// The integer text of a field, or -1 when it does not convert (so that it fails every range).
int64_t Field_Value(const QString& text, bool wide = false);

// The checks (network_checks.h) turn the pages into a node or a variable, reading every field once.
// The pages showing a node or a variable.
TNode_Input Node_Input(const TNodo& node, const TNode_Layout& layout);
TVar_Input Var_Input(const TVariabile& var);
// The variable page reset for a new variable.
TVar_Input New_Var_Input();

// The tree caption of a node just entered, built from the typed address text.
QString Typed_Node_Caption(const TNode_Input& in, const TNode_Layout& layout);

}  // namespace core::net
