#pragma once
// The checks a node or a variable passes before it enters the network: each value against its range, the
// registers of one node or variable against each other, the node's address against the other nodes, and every
// Modbus register against the registers the rest of the network already publishes. Window-free: the editor and
// the new-node-ID dialog show the messages these return.

#include <array>
#include <optional>
#include <vector>

#include <QString>

#include "core/mbus_network.h"
#include "core/network_input.h"

namespace core::net {

// One message box: the index of its (first) text and the whole message.
struct TCheck_Message {
  int Text = 0;
  QString Message;
};
// Empty when every check passed; otherwise the messages in the order they are shown.
using TCheck_Result = std::vector<TCheck_Message>;

// What is being modified: the selected node and, when a variable is selected, its index (-1 for none).
struct TSelection {
  int Node = -1;
  int Var = -1;
};

// The registers looked for in the network. Reg_TP, when 1 or more, is the first of a six-register block.
struct TRegisters_Probe {
  int64_t Reg_Mod = 0;
  int64_t Reg_RE_Mod = 0;
  int64_t Reg_TP = 0;
  int64_t Mod_Count = 1;  // registers the value at Reg_Mod takes
};
// The registers a variable's value takes (the register-count rule; a float or a forced 32-bit integer two).
int64_t Value_Registers(int dimension, int64_t length, bool conv_Float, bool force_Int32);
// Where not to look: the variable being modified, and the node whose own registers are being entered.
struct TRegisters_Skip {
  int Node = -1;
  int Var = -1;
  int Node_Registers_Of = -1;
};

class TNetwork_Checks {
 public:
  TNetwork_Checks(const TNetwork& net, int32_t deviceType) : FNet(net), FDevice_Type(deviceType) {}

  // The variable page; newVar false: the selected variable is being modified. When every check passes, Checked
  // (if given) takes the page's values as the checks read them, so that nothing is read twice.
  TCheck_Result Check_Var(const TVar_Input& in, bool newVar, const TSelection& sel,
                          TVariabile* Checked = nullptr) const;
  // The node page; sel.Node >= 0 and sel.Var < 0: the selected node is being modified. When every check passes,
  // Checked (the node being modified, or a new one) takes the page's values; its variables stay, and the hidden
  // address fields of a wireless node change its addresses only where they hold a number.
  TCheck_Result Check_Node(const TNode_Input& in, const TNode_Layout& layout, const TSelection& sel,
                           TNodo* Checked = nullptr) const;
  // The first collision of the probe with the registers of the enabled nodes and their enabled variables.
  std::optional<TCheck_Message> Check_Registers(const TRegisters_Probe& p, const TRegisters_Skip& skip) const;
  // Whether no other node uses the address; the message when one does (texts 241/242, or 240 over every node).
  std::optional<TCheck_Message> Check_Node_ID(int64_t id, int typeId, const TSelection& sel) const;
  std::optional<TCheck_Message> Check_Node_ID2(int64_t id, int typeId) const;

 private:
  bool Wireless(const TNodo& n) const { return Is_Wireless(n, FDevice_Type); }
  std::optional<TCheck_Message> Node_Rows(const TNodo& n, const TRegisters_Probe& p) const;
  std::optional<TCheck_Message> Var_Rows(const TNodo& n, const TVariabile& v, const TRegisters_Probe& p) const;
  struct TNode_Numbers;
  bool Wired_Part(const TNode_Input& in, const TNode_Numbers& x, const TSelection& sel, TCheck_Result& out) const;
  bool Wireless_Part(const TNode_Input& in, const TNode_Numbers& x, TCheck_Result& out) const;
  bool Common_Part(const TNode_Layout& layout, bool wireless, const TNode_Numbers& x, TCheck_Result& out) const;
  void Node_Registers_Part(const TNode_Layout& layout, bool wireless, const TNode_Numbers& x, const TSelection& sel,
                           TCheck_Result& out) const;

  const TNetwork& FNet;
  int32_t FDevice_Type;
};

// The new-node-ID dialog: form type 1 a wired node, 2 a variable, 3 a wireless node; per pasted variable the
// three register texts (register, scale register, first time-point register).
struct TPaste_Group {
  std::array<QString, 3> Registers;
  QString Description;
  bool Time_Point = false;  // the pasted variable publishes a time-point block
  // The size of the pasted value, for the registers it takes.
  int Dimension = 0;
  int Length = 0;
  bool Conv_Float = false;
  bool Force_Int32 = false;
};
struct TPaste_Input {
  int Form_Type = 1;
  bool Primary = true;
  QString Pri, Sec, wAdd;
  QString Node_State, Ident, RSSI;  // form types 1 and 3
  QString Node_Description;
  std::vector<TPaste_Group> Groups;
};
// The values of a paste as the dialog's checks read them.
struct TPaste_Values {
  bool Primary = true;
  std::optional<int32_t> Pri, Sec;                // form type 1; a hidden field that holds no number: none
  int32_t Node_State = 0, Ident = 0, RSSI = 0;   // form types 1 and 3
  QString wAdd;                                  // form type 3, as typed
  std::vector<std::array<int32_t, 3>> Registers;  // per group: register, scale register, first time-point register
};
// The dialog's checks on OK. Range failures end the check at once; address and collision failures are all
// reported. The pasted node's registers are checked against the network, and each group against the network,
// the pasted node's registers and the groups accepted before it in the same paste. When every check passes,
// Checked (if given) takes the values read.
TCheck_Result Check_Paste(const TNetwork& net, int32_t deviceType, const TPaste_Input& in,
                          TPaste_Values* Checked = nullptr);

// Whole networks, so that no Modbus register is given to two values. Disabled nodes and values publish nothing
// and are passed over, as the compiler passes them over.
// The first collision of the nodes of Added with the network and with the added nodes before them, with the
// message the editor shows for it; nullopt when they fit.
std::optional<TCheck_Message> Check_Added_Nodes(const TNetwork& net, const TNetwork& added, int32_t deviceType);
// The first register two enabled values (or a value and a node register) of the network share.
std::optional<TCheck_Message> Find_Overlap(const TNetwork& net, int32_t deviceType);
// The register after the highest one a node or value of the network takes, enabled or not (so that ticking a
// value later makes no collision either); 1 for an empty network.
int64_t First_Free_Register(const TNetwork& net, int32_t deviceType);

// The message of text i, from the language table.
QString Check_Text(int i);

}  // namespace core::net
