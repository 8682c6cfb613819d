#include "core/network_checks.h"

#include <algorithm>

#include "core/lang_texts.h"

namespace core::net {

namespace {

bool In(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }
// The six registers Y..Y+5 of a time-point block.
bool In_Block(int64_t v, int64_t y) { return In(v, y, y + 5); }

TCheck_Message Text_Only(int i) { return {i, Check_Text(i)}; }

// "texts[0] N texts[1]" or "texts[0] N texts[1] V texts[2]".
TCheck_Message Joined(std::initializer_list<int> texts, const QString& n, const QString* v = nullptr) {
  const int* t = texts.begin();
  QString m = Check_Text(t[0]) + n + Check_Text(t[1]);
  if (v) m += *v + Check_Text(t[2]);
  return {t[0], m};
}

}  // namespace

QString Check_Text(int i) { return Lang_Texts.value(i); }

int64_t Value_Registers(int dimension, int64_t length, bool conv_Float, bool force_Int32) {
  if (conv_Float || force_Int32) return 2;
  return Register_Count(dimension, int32_t(std::clamp<int64_t>(length, 0, 255)));
}

// ---------------------------------------------------------------------------------------------------------
// Register collisions

std::optional<TCheck_Message> TNetwork_Checks::Node_Rows(const TNodo& n, const TRegisters_Probe& p) const {
  const QString& N = n.Description;
  const bool rssi = Wireless(n) && n.RSSI >= 1;
  if (n.Node_State == p.Reg_Mod) return Joined({177, 178}, N);
  if (n.Ident_Num == p.Reg_Mod) return Joined({179, 180}, N);
  if (rssi && n.RSSI == p.Reg_Mod) return Joined({370, 371}, N);
  if (p.Reg_RE_Mod >= 1) {
    if (n.Node_State == p.Reg_RE_Mod) return Joined({181, 182}, N);
    if (n.Ident_Num == p.Reg_RE_Mod) return Joined({183, 184}, N);
    if (rssi && n.RSSI == p.Reg_RE_Mod) return Joined({372, 373}, N);
  }
  if (p.Reg_TP >= 1) {
    if (In_Block(n.Node_State, p.Reg_TP)) return Joined({185, 186}, N);
    if (In_Block(n.Ident_Num, p.Reg_TP)) return Joined({187, 188}, N);
    if (rssi && In_Block(n.RSSI, p.Reg_TP)) return Joined({374, 375}, N);
  }
  return std::nullopt;
}

std::optional<TCheck_Message> TNetwork_Checks::Var_Rows(const TNodo& n, const TVariabile& v,
                                                        const TRegisters_Probe& p) const {
  const QString& N = n.Description;
  const QString* V = &v.Description;
  const bool block = v.TP_Mod_Regs;
  const int64_t y = v.TP_Mod_Year;
  if (v.Modbus_Register == p.Reg_Mod) return Joined({189, 190, 191}, N, V);
  if (v.Modbus_Scale == p.Reg_Mod) return Joined({192, 193, 194}, N, V);
  if (block && In_Block(p.Reg_Mod, y)) return Joined({195, 196, 197}, N, V);
  if (p.Reg_RE_Mod >= 1) {
    if (v.Modbus_Register == p.Reg_RE_Mod) return Joined({198, 199, 200}, N, V);
    if (v.Modbus_Scale == p.Reg_RE_Mod) return Joined({201, 202, 203}, N, V);
    if (block && In_Block(p.Reg_RE_Mod, y)) return Joined({204, 205, 206}, N, V);
  }
  if (p.Reg_TP >= 1) {
    if (In_Block(v.Modbus_Register, p.Reg_TP)) return Joined({207, 208, 209}, N, V);
    if (In_Block(v.Modbus_Scale, p.Reg_TP)) return Joined({210, 211, 212}, N, V);
    // Together the two rows find every overlap of two blocks.
    if (block && In_Block(y, p.Reg_TP)) return Joined({213, 214, 215}, N, V);
    if (block && In_Block(y + 5, p.Reg_TP)) return Joined({216, 217, 218}, N, V);
  }
  // Values of more than one register must not share any of them either.
  const int64_t count = Value_Registers(v.Dimension, v.Length, v.Conv_Float, v.Force_Int32);
  const int64_t first = v.Modbus_Register;
  if (first < p.Reg_Mod + p.Mod_Count && p.Reg_Mod < first + count) return Joined({189, 190, 191}, N, V);
  return std::nullopt;
}

std::optional<TCheck_Message> TNetwork_Checks::Check_Registers(const TRegisters_Probe& p,
                                                               const TRegisters_Skip& skip) const {
  for (std::size_t i = 0; i < FNet.Nodi_List.size(); ++i) {
    const TNodo& n = FNet.Nodi_List[i];
    if (n.Enable != 1) continue;
    if (int(i) != skip.Node_Registers_Of)
      if (auto hit = Node_Rows(n, p)) return hit;
    for (std::size_t j = 0; j < n.Var_List.size(); ++j) {
      const TVariabile& v = n.Var_List[j];
      if (!v.Enable || (int(i) == skip.Node && int(j) == skip.Var)) continue;
      if (auto hit = Var_Rows(n, v, p)) return hit;
    }
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------------------------
// Addresses

std::optional<TCheck_Message> TNetwork_Checks::Check_Node_ID(int64_t id, int typeId, const TSelection& sel) const {
  const bool modifying = sel.Var < 0;
  for (std::size_t i = 0; i < FNet.Nodi_List.size(); ++i) {
    const TNodo& n = FNet.Nodi_List[i];
    if (modifying && int(i) == sel.Node) continue;
    if (Wireless(n)) continue;
    if (n.Node_ID_Type != typeId || (typeId == 1 ? n.Node_Sec : n.Node_Pri) != id) continue;
    return Text_Only(int(i) == sel.Node ? 241 : 242);
  }
  return std::nullopt;
}

std::optional<TCheck_Message> TNetwork_Checks::Check_Node_ID2(int64_t id, int typeId) const {
  for (const TNodo& n : FNet.Nodi_List)
    if (n.Node_ID_Type == typeId && (typeId == 1 ? n.Node_Sec : n.Node_Pri) == id) return Text_Only(240);
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------------------------
// The variable page

TCheck_Result TNetwork_Checks::Check_Var(const TVar_Input& in, bool newVar, const TSelection& sel) const {
  auto fail = [](int t) { return TCheck_Result{Text_Only(t)}; };
  const int64_t reg = Field_Value(in.Register);
  if (!In(reg, 1, 59999)) return fail(219);
  const int64_t scale = Field_Value(in.Scale);
  if (!In(scale, 0, 59999)) return fail(220);
  if (reg == scale) return fail(221);
  if (!In(Field_Value(in.Storage, true), 0, 0xFFFFFFFFll)) return fail(222);
  if (!In(Field_Value(in.Tariff, true), 0, 0xFFFFF)) return fail(223);
  if (in.Dimension == 7 && !In(Field_Value(in.Length), 0, 191)) return fail(224);
  // A checked block is checked whatever the data type: on "By Position" nodes every variable may publish one.
  int64_t y = 0;
  if (in.TP_Box) {
    y = Field_Value(in.TP_Year);
    if (!In(y, 1, 59995)) return fail(225);
  }
  if (y != 0) {
    if (In_Block(reg, y)) return fail(226);
    if (scale >= 1 && In_Block(scale, y)) return fail(227);
  }
  if (!In(Field_Value(in.Position), 1, 100)) return fail(228);
  const TRegisters_Skip skip{sel.Node, newVar ? -1 : sel.Var, -1};
  const int64_t count = Value_Registers(in.Dimension, Field_Value(in.Length), in.Conv_Float, in.Force_Int32);
  if (auto hit = Check_Registers({reg, scale, y, count}, skip)) return {*hit};
  return {};
}

// ---------------------------------------------------------------------------------------------------------
// The node page

bool TNetwork_Checks::Wired_Part(const TNode_Input& in, const TSelection& sel, TCheck_Result& out, int64_t& state,
                                 int64_t& ident) const {
  const int64_t id = Field_Value(in.Primary ? in.Pri : in.Sec);
  if (in.Primary && !In(id, 0, 255)) return out.push_back(Text_Only(229)), false;
  if (!in.Primary && !In(id, 0, 99999999)) return out.push_back(Text_Only(230)), false;
  // A used address is reported, and the other checks still run.
  if (auto used = Check_Node_ID(id, in.Primary ? 0 : 1, sel)) out.push_back(*used);
  state = Field_Value(in.Node_State);
  if (!In(state, 0, 59999)) return out.push_back(Text_Only(231)), false;
  ident = Field_Value(in.Ident);
  if (!In(ident, 0, 59999)) return out.push_back(Text_Only(232)), false;
  if (state >= 1 && state == ident) return out.push_back(Text_Only(233)), false;
  return true;
}

bool TNetwork_Checks::Wireless_Part(const TNode_Input& in, TCheck_Result& out, int64_t& state, int64_t& ident) const {
  auto fail = [&out](int t) { return out.push_back(Text_Only(t)), false; };
  if (!In(Field_Value(in.wManID), 0, 65535)) return fail(322);
  if (!In(Field_Value(in.wAdd, true), 0, 0xFFFFFFFFll)) return fail(323);
  if (!In(Field_Value(in.wVer), 0, 255)) return fail(324);
  if (!In(Field_Value(in.wDevType), 0, 255)) return fail(325);
  if (in.wKey_Enable)
    for (int k = 0; k < 16; ++k)
      if (!In(Field_Value(in.wKey[std::size_t(k)]), 0, 255)) return fail(326 + k);
  state = Field_Value(in.wNode_State);
  if (!In(state, 0, 59999)) return fail(231);
  ident = Field_Value(in.wIdent);
  if (!In(ident, 0, 59999)) return fail(232);
  const int64_t rssi = Field_Value(in.wRSSI);
  if (!In(rssi, 0, 59999)) return fail(367);
  const int64_t access = Field_Value(in.wAccess);
  if (!In(access, 0, 59999)) return fail(380);
  auto same = [](int64_t a, int64_t b) { return a >= 1 && b >= 1 && a == b; };
  if (same(ident, state)) return fail(233);
  if (same(ident, rssi)) return fail(368);
  if (same(ident, access)) return fail(381);
  if (same(state, rssi)) return fail(369);
  if (same(state, access)) return fail(382);
  if (same(rssi, access)) return fail(383);
  return true;
}

bool TNetwork_Checks::Common_Part(const TNode_Input& in, const TNode_Layout& layout, bool wireless, int64_t state,
                                  int64_t ident, TCheck_Result& out) const {
  auto fail = [&out](int t) { return out.push_back(Text_Only(t)), false; };
  if (!layout.Extras) return true;
  const int64_t msd = Field_Value(in.MSD);
  if (!In(msd, 0, 59999)) return fail(234);
  if (msd >= 1 && msd == ident) return fail(235);
  if (msd >= 1 && msd == state) return fail(236);
  if (msd >= 1) {
    const int64_t length = Field_Value(in.MSD_Length);
    if (!In(length, 1, 241)) return fail(237);
    const int64_t offset = Field_Value(in.MSD_Offset);
    if (!In(offset, 0, 240)) return fail(238);
    if (length + offset > 241) return fail(239);
  }
  if (wireless) return true;  // the panel has its own access number
  const int64_t access = Field_Value(in.Access);
  if (!In(access, 0, 59999)) return fail(384);
  if (access >= 1 && access == ident) return fail(385);
  if (access >= 1 && access == state) return fail(386);
  if (access >= 1 && access == msd) return fail(387);
  return true;
}

void TNetwork_Checks::Node_Registers_Part(const TNode_Input& in, const TNode_Layout& layout, const TSelection& sel,
                                          TCheck_Result& out) const {
  const bool wireless = layout.Wireless(in);
  std::vector<int64_t> regs = {Field_Value(wireless ? in.wNode_State : in.Node_State),
                               Field_Value(wireless ? in.wIdent : in.Ident)};
  if (wireless) regs.push_back(Field_Value(in.wRSSI));
  if (wireless) regs.push_back(Field_Value(in.wAccess));
  if (!wireless && layout.Extras) regs.push_back(Field_Value(in.Access));
  if (layout.Extras) regs.push_back(Field_Value(in.MSD));
  const int self = sel.Node >= 0 && sel.Var < 0 ? sel.Node : -1;
  for (int64_t r : regs) {
    if (r < 1) continue;
    if (auto hit = Check_Registers({r, 0, 0}, TRegisters_Skip{-1, -1, self})) {
      out.push_back(*hit);
      return;
    }
  }
}

TCheck_Result TNetwork_Checks::Check_Node(const TNode_Input& in, const TNode_Layout& layout,
                                          const TSelection& sel) const {
  TCheck_Result out;
  int64_t state = 0, ident = 0;
  const bool wireless = layout.Wireless(in);
  const bool ok = wireless ? Wireless_Part(in, out, state, ident) : Wired_Part(in, sel, out, state, ident);
  if (!ok || !Common_Part(in, layout, wireless, state, ident, out)) return out;
  // The node's own registers must not fall on a register the network already publishes.
  if (out.empty()) Node_Registers_Part(in, layout, sel, out);
  return out;
}

// ---------------------------------------------------------------------------------------------------------
// The new-node-ID dialog

TCheck_Result Check_Paste(const TNetwork& net, int32_t deviceType, const TPaste_Input& in) {
  TCheck_Result out;
  auto fail = [&out](int t) { return out.push_back(Text_Only(t)), out; };
  TNetwork scratch = net;
  const TNetwork_Checks checks(scratch, deviceType);
  if (in.Form_Type == 1) {
    const int64_t id = Field_Value(in.Primary ? in.Pri : in.Sec);
    if (in.Primary && !In(id, 0, 255)) return fail(268);
    if (!in.Primary && !In(id, 0, 99999999)) return fail(269);
    if (auto used = checks.Check_Node_ID2(id, in.Primary ? 0 : 1)) out.push_back(*used);
  }
  if (in.Form_Type == 3 && !In(Field_Value(in.wAdd, true), 0, 0xFFFFFFFFll)) return fail(343);
  // The pasted node's own registers, then the node itself as the home of the groups accepted so far.
  TNodo pasted;
  pasted.Enable = 1;
  pasted.Description = in.Node_Description;
  pasted.MBus_Type = in.Form_Type == 3 ? 0 : 1;
  if (in.Form_Type != 2) {
    const int64_t regs[3] = {Field_Value(in.Node_State), Field_Value(in.Ident),
                             in.Form_Type == 3 ? Field_Value(in.RSSI) : 0};
    const int texts[3] = {231, 232, 367};
    for (int k = 0; k < 3; ++k)
      if (!In(regs[k], 0, 59999)) return fail(texts[k]);
    for (int64_t r : regs)
      if (r >= 1)
        if (auto hit = checks.Check_Registers({r, 0, 0}, {})) out.push_back(*hit);
    pasted.Node_State = int32_t(regs[0]);
    pasted.Ident_Num = int32_t(regs[1]);
    pasted.RSSI = int32_t(regs[2]);
  }
  scratch.Nodi_List.push_back(pasted);
  for (const TPaste_Group& g : in.Groups) {
    const int64_t reg = Field_Value(g.Registers[0]);
    if (!In(reg, 1, 59999)) return fail(270);
    const int64_t scale = Field_Value(g.Registers[1]);
    if (!In(scale, 0, 59999)) return fail(271);
    const int64_t tp = Field_Value(g.Registers[2]);
    if (!In(tp, 0, 59995)) return fail(272);
    // The year register of a variable that publishes no block takes no registers.
    const int64_t block = g.Time_Point ? tp : 0;
    const int64_t count = Value_Registers(g.Dimension, g.Length, g.Conv_Float, g.Force_Int32);
    if (auto hit = checks.Check_Registers({reg, scale, block, count}, {})) out.push_back(*hit);
    TVariabile v;
    v.Enable = true;
    v.Dimension = g.Dimension;
    v.Length = g.Length;
    v.Conv_Float = g.Conv_Float;
    v.Force_Int32 = g.Force_Int32;
    v.Description = g.Description;
    v.Modbus_Register = int32_t(reg);
    v.Modbus_Scale = int32_t(scale);
    v.TP_Mod_Regs = block >= 1;
    v.TP_Mod_Year = int32_t(tp);
    scratch.Nodi_List.back().Var_List.push_back(v);
  }
  return out;
}

}  // namespace core::net
