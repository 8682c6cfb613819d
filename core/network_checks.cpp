#include "core/network_checks.h"

#include <algorithm>
#include <climits>

#include "core/lang_texts.h"
#include "core/lang_texts_builtin.h"
#include "platform/rtl/strutils.h"

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

// The compiler reports collisions also where no language table was loaded: the built-in English text then.
QString Check_Text(int i) {
  if (i >= 0 && i < Lang_Texts.size()) return Lang_Texts[i];
  return i >= 0 && i < Lang_Max ? QString::fromUtf16(Lang_Builtin_Texts[i]) : QString();
}

int64_t Value_Registers(int dimension, int64_t length, bool conv_Float, bool force_Int32) {
  if (conv_Float || force_Int32) return 2;
  return Register_Count(dimension, int32_t(std::clamp<int64_t>(length, 0, 255)));
}

// ---------------------------------------------------------------------------------------------------------
// Register collisions

std::optional<TCheck_Message> TNetwork_Checks::Node_Rows(const TNodo& n, const TRegisters_Probe& p) const {
  const QString& N = n.Description;
  const bool rssi = Wireless(n) && n.RSSI >= 1;
  // A value of more than one register collides with a node register on any of them.
  auto in_value = [&p](int64_t r) { return r >= 1 && In(r, p.Reg_Mod, p.Reg_Mod + std::max<int64_t>(p.Mod_Count, 1) - 1); };
  if (in_value(n.Node_State)) return Joined({177, 178}, N);
  if (in_value(n.Ident_Num)) return Joined({179, 180}, N);
  if (rssi && in_value(n.RSSI)) return Joined({370, 371}, N);
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

namespace {

// The integer text of a field, nullopt when it does not convert.
std::optional<int64_t> Number(const QString& text, bool wide = false) {
  if (wide) {
    int64_t v = 0;
    return plat::TryStrToInt64(text, v) ? std::optional<int64_t>(v) : std::nullopt;
  }
  int v = 0;
  return plat::TryStrToInt(text, v) ? std::optional<int64_t>(v) : std::nullopt;
}

int64_t Or_Fail(const std::optional<int64_t>& v) { return v.value_or(-1); }

}  // namespace

TCheck_Result TNetwork_Checks::Check_Var(const TVar_Input& in, bool newVar, const TSelection& sel,
                                         TVariabile* Checked) const {
  auto fail = [](int t) { return TCheck_Result{Text_Only(t)}; };
  // Every field is read once; the checks and the stored variable use these numbers.
  const int64_t reg = Field_Value(in.Register);
  const int64_t scale = Field_Value(in.Scale);
  const int64_t storage = Field_Value(in.Storage, true);
  const int64_t tariff = Field_Value(in.Tariff, true);
  const std::optional<int64_t> length = Number(in.Length);
  const std::optional<int64_t> year_text = Number(in.TP_Year);
  const int64_t position = Field_Value(in.Position);
  if (!In(reg, 1, 59999)) return fail(219);
  if (!In(scale, 0, 59999)) return fail(220);
  if (reg == scale) return fail(221);
  if (!In(storage, 0, 0xFFFFFFFFll)) return fail(222);
  if (!In(tariff, 0, 0xFFFFF)) return fail(223);
  if (in.Dimension == 7 && !In(Or_Fail(length), 0, 191)) return fail(224);
  // A checked block is checked whatever the data type: on "By Position" nodes every variable may publish one.
  int64_t y = 0;
  if (in.TP_Box) {
    y = Or_Fail(year_text);
    if (!In(y, 1, 59995)) return fail(225);
  }
  if (y != 0) {
    if (In_Block(reg, y)) return fail(226);
    if (scale >= 1 && In_Block(scale, y)) return fail(227);
  }
  if (!In(position, 1, 100)) return fail(228);
  const TRegisters_Skip skip{sel.Node, newVar ? -1 : sel.Var, -1};
  const int64_t count = Value_Registers(in.Dimension, Or_Fail(length), in.Conv_Float, in.Force_Int32);
  if (auto hit = Check_Registers({reg, scale, y, count}, skip)) return {*hit};
  if (Checked) {
    TVariabile& v = *Checked;
    v.Enable = in.Enable;
    v.Description = in.Description;
    v.Type_Of_Data = in.Type_Of_Data;
    v.VIF_ASCII = in.VIF_ASCII;
    v.Function_Field = in.Function_Field;
    v.Dimension = in.Dimension;
    v.Length = int32_t(length.value_or(0));  // used by variable-length values only
    v.Unita = in.Unit;
    v.Modbus_Register = int32_t(reg);
    v.Modbus_Scale = int32_t(scale);
    v.Storage_Number = uint32_t(storage);
    v.Tariff = uint32_t(tariff);
    v.VIFE = uint8_t(in.VIFE);
    v.BCDtoINT = in.BCDtoINT;
    v.Conv_Float = in.Conv_Float;
    v.Force_Int32 = in.Force_Int32;
    v.TP_Mod_Regs = in.TP_Box;
    v.TP_Mod_Year = int32_t(year_text.value_or(0));
    v.Position = int32_t(position);
    v.Post_Operation = in.Post_Operation;
    v.Unread = 0;
    v.Fault_Attr = TVar_Attr::Count;
  }
  return {};
}

// ---------------------------------------------------------------------------------------------------------
// The node page

// Every number of the node page, read once; nullopt where the text does not convert.
struct TNetwork_Checks::TNode_Numbers {
  std::optional<int64_t> Pri, Sec, State, Ident, MSD, MSD_Length, MSD_Offset, Access;
  std::optional<int64_t> wManID, wAdd, wVer, wDevType, wState, wIdent, wRSSI, wAccess;
  std::array<std::optional<int64_t>, 16> wKey;

  explicit TNode_Numbers(const TNode_Input& in)
      : Pri(Number(in.Pri)), Sec(Number(in.Sec)), State(Number(in.Node_State)), Ident(Number(in.Ident)),
        MSD(Number(in.MSD)), MSD_Length(Number(in.MSD_Length)), MSD_Offset(Number(in.MSD_Offset)),
        Access(Number(in.Access)), wManID(Number(in.wManID)), wAdd(Number(in.wAdd, true)), wVer(Number(in.wVer)),
        wDevType(Number(in.wDevType)), wState(Number(in.wNode_State)), wIdent(Number(in.wIdent)),
        wRSSI(Number(in.wRSSI)), wAccess(Number(in.wAccess)) {
    for (std::size_t k = 0; k < 16; ++k) wKey[k] = Number(in.wKey[k]);
  }
  // The node's own registers, from the panel of its kind.
  int64_t Node_State(bool wireless) const { return Or_Fail(wireless ? wState : State); }
  int64_t Ident_Num(bool wireless) const { return Or_Fail(wireless ? wIdent : Ident); }
};

bool TNetwork_Checks::Wired_Part(const TNode_Input& in, const TNode_Numbers& x, const TSelection& sel,
                                 TCheck_Result& out) const {
  const int64_t id = Or_Fail(in.Primary ? x.Pri : x.Sec);
  if (in.Primary && !In(id, 0, 255)) return out.push_back(Text_Only(229)), false;
  if (!in.Primary && !In(id, 0, 99999999)) return out.push_back(Text_Only(230)), false;
  // A used address is reported, and the other checks still run.
  if (auto used = Check_Node_ID(id, in.Primary ? 0 : 1, sel)) out.push_back(*used);
  const int64_t state = x.Node_State(false), ident = x.Ident_Num(false);
  if (!In(state, 0, 59999)) return out.push_back(Text_Only(231)), false;
  if (!In(ident, 0, 59999)) return out.push_back(Text_Only(232)), false;
  if (state >= 1 && state == ident) return out.push_back(Text_Only(233)), false;
  return true;
}

bool TNetwork_Checks::Wireless_Part(const TNode_Input& in, const TNode_Numbers& x, TCheck_Result& out) const {
  auto fail = [&out](int t) { return out.push_back(Text_Only(t)), false; };
  if (!In(Or_Fail(x.wManID), 0, 65535)) return fail(322);
  if (!In(Or_Fail(x.wAdd), 0, 0xFFFFFFFFll)) return fail(323);
  if (!In(Or_Fail(x.wVer), 0, 255)) return fail(324);
  if (!In(Or_Fail(x.wDevType), 0, 255)) return fail(325);
  if (in.wKey_Enable)
    for (int k = 0; k < 16; ++k)
      if (!In(Or_Fail(x.wKey[std::size_t(k)]), 0, 255)) return fail(326 + k);
  const int64_t state = x.Node_State(true), ident = x.Ident_Num(true);
  if (!In(state, 0, 59999)) return fail(231);
  if (!In(ident, 0, 59999)) return fail(232);
  const int64_t rssi = Or_Fail(x.wRSSI);
  if (!In(rssi, 0, 59999)) return fail(367);
  const int64_t access = Or_Fail(x.wAccess);
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

bool TNetwork_Checks::Common_Part(const TNode_Layout& layout, bool wireless, const TNode_Numbers& x,
                                  TCheck_Result& out) const {
  auto fail = [&out](int t) { return out.push_back(Text_Only(t)), false; };
  if (!layout.Extras) return true;
  const int64_t state = x.Node_State(wireless), ident = x.Ident_Num(wireless);
  const int64_t msd = Or_Fail(x.MSD);
  if (!In(msd, 0, 59999)) return fail(234);
  if (msd >= 1 && msd == ident) return fail(235);
  if (msd >= 1 && msd == state) return fail(236);
  if (msd >= 1) {
    const int64_t length = Or_Fail(x.MSD_Length);
    if (!In(length, 1, 241)) return fail(237);
    const int64_t offset = Or_Fail(x.MSD_Offset);
    if (!In(offset, 0, 240)) return fail(238);
    if (length + offset > 241) return fail(239);
  }
  if (wireless) return true;  // the panel has its own access number
  const int64_t access = Or_Fail(x.Access);
  if (!In(access, 0, 59999)) return fail(384);
  if (access >= 1 && access == ident) return fail(385);
  if (access >= 1 && access == state) return fail(386);
  if (access >= 1 && access == msd) return fail(387);
  return true;
}

void TNetwork_Checks::Node_Registers_Part(const TNode_Layout& layout, bool wireless, const TNode_Numbers& x,
                                          const TSelection& sel, TCheck_Result& out) const {
  std::vector<int64_t> regs = {x.Node_State(wireless), x.Ident_Num(wireless)};
  if (wireless) regs.push_back(Or_Fail(x.wRSSI));
  if (wireless) regs.push_back(Or_Fail(x.wAccess));
  if (!wireless && layout.Extras) regs.push_back(Or_Fail(x.Access));
  if (layout.Extras) regs.push_back(Or_Fail(x.MSD));
  const int self = sel.Node >= 0 && sel.Var < 0 ? sel.Node : -1;
  for (int64_t r : regs) {
    if (r < 1) continue;
    if (auto hit = Check_Registers({r, 0, 0}, TRegisters_Skip{-1, -1, self})) {
      out.push_back(*hit);
      return;
    }
  }
}

namespace {

// The page's numbers put into the node; the checks have passed, so every shown field holds a number.
template <class TNumbers>
void Store_Node(const TNode_Input& in, const TNode_Layout& layout, const TNumbers& x, TNodo& node) {
  const bool wireless = layout.Wireless(in);
  auto n32 = [](const std::optional<int64_t>& v, int32_t d) { return v ? int32_t(*v) : d; };
  node.Enable = in.Enable ? 1 : 0;
  node.Description = in.Description;
  node.Node_ID_Type = in.Primary ? 0 : 1;
  // A wireless node's address fields are hidden; they keep what they held when they hold no number.
  node.Node_Pri = n32(x.Pri, node.Node_Pri);
  node.Node_Sec = n32(x.Sec, node.Node_Sec);
  node.Send_SNK = in.SND_NKE ? 1 : 0;
  node.Reset_App = in.Reset_App ? 1 : 0;
  node.Cut_After = in.Cut_After;
  // Rows the page does not show publish nothing.
  node.Manufacturer_Spec = layout.Extras ? n32(x.MSD, 0) : 0;
  node.MSD_Length = layout.Extras ? n32(x.MSD_Length, 0) : 0;
  node.MSD_Offset = layout.Extras ? n32(x.MSD_Offset, 0) : 0;
  node.Node_State = n32(wireless ? x.wState : x.State, 0);
  node.Ident_Num = n32(wireless ? x.wIdent : x.Ident, 0);
  node.RSSI = wireless ? n32(x.wRSSI, 0) : 0;
  node.BCDtoINT_IN = (wireless ? in.wBCD : in.BCDtoINT_IN) ? 1 : 0;
  node.Swap_Ident = wireless ? in.wSwap : in.Swap;
  node.Var_List_Type = wireless ? in.wVar_Type : in.Var_Type;
  node.Access_Number = wireless ? n32(x.wAccess, 0) : layout.Extras ? n32(x.Access, 0) : 0;
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

}  // namespace

TCheck_Result TNetwork_Checks::Check_Node(const TNode_Input& in, const TNode_Layout& layout, const TSelection& sel,
                                          TNodo* Checked) const {
  TCheck_Result out;
  const TNode_Numbers x(in);
  const bool wireless = layout.Wireless(in);
  const bool ok = wireless ? Wireless_Part(in, x, out) : Wired_Part(in, x, sel, out);
  if (!ok || !Common_Part(layout, wireless, x, out)) return out;
  // The node's own registers must not fall on a register the network already publishes.
  if (out.empty()) Node_Registers_Part(layout, wireless, x, sel, out);
  if (out.empty() && Checked) Store_Node(in, layout, x, *Checked);
  return out;
}

// ---------------------------------------------------------------------------------------------------------
// Whole networks

namespace {

// The registers a node publishes of its own, 0 for none.
std::array<int64_t, 5> Node_Own_Registers(const TNodo& n, int32_t deviceType) {
  return {n.Node_State, n.Ident_Num, Is_Wireless(n, deviceType) ? n.RSSI : 0, n.Access_Number, n.Manufacturer_Spec};
}

// The registers a node or value may be compared on, as closed ranges, with the node or value they belong to.
struct TTouch {
  int64_t Lo, Hi;
  int Owner;
};

// Every register any row of the collision checks compares, for every node and value that takes part. Two rows
// only ever match on a register both of them touch, so when no register is touched twice (by two owners) there
// is nothing to look for. The network's own nodes all get owner 0: they are not checked against each other.
void Add_Touches(std::vector<TTouch>& out, const TNetwork& net, int32_t deviceType, int& owner, bool oneOwner) {
  for (const TNodo& n : net.Nodi_List) {
    if (n.Enable != 1) continue;
    if (!oneOwner) ++owner;
    for (const int64_t r : Node_Own_Registers(n, deviceType))
      if (r >= 1) out.push_back({r, r, owner});
    for (const TVariabile& v : n.Var_List) {
      if (!v.Enable) continue;
      if (!oneOwner) ++owner;
      const int64_t count = std::max<int64_t>(Value_Registers(v.Dimension, v.Length, v.Conv_Float, v.Force_Int32), 1);
      out.push_back({v.Modbus_Register, int64_t(v.Modbus_Register) + count - 1, owner});
      out.push_back({v.Modbus_Scale, v.Modbus_Scale, owner});
      if (v.TP_Mod_Regs) out.push_back({v.TP_Mod_Year, int64_t(v.TP_Mod_Year) + 5, owner});
    }
  }
}

// Whether two owners touch one register; one sort and a sweep instead of every value against every other.
bool May_Collide(const TNetwork& net, const TNetwork& added, int32_t deviceType) {
  std::vector<TTouch> t;
  int owner = 0;
  Add_Touches(t, net, deviceType, owner, true);
  Add_Touches(t, added, deviceType, owner, false);
  std::sort(t.begin(), t.end(), [](const TTouch& a, const TTouch& b) { return a.Lo < b.Lo; });
  // The range reaching furthest so far, and the furthest reach of any other owner.
  int lead = -1;
  int64_t leadHi = INT64_MIN, otherHi = INT64_MIN;
  for (const TTouch& x : t) {
    if (x.Lo <= (x.Owner == lead ? otherHi : leadHi)) return true;
    if (x.Hi > leadHi) {
      if (x.Owner != lead) otherHi = std::max(otherHi, leadHi);
      lead = x.Owner;
      leadHi = x.Hi;
    } else if (x.Owner != lead) {
      otherHi = std::max(otherHi, x.Hi);
    }
  }
  return false;
}

}  // namespace

std::optional<TCheck_Message> Check_Added_Nodes(const TNetwork& net, const TNetwork& added, int32_t deviceType) {
  if (!May_Collide(net, added, deviceType)) return std::nullopt;
  // Something shares a register: the checks below name the first collision as the editor reports it.
  TNetwork scratch = net;
  const TNetwork_Checks checks(scratch, deviceType);
  for (const TNodo& n : added.Nodi_List) {
    if (n.Enable != 1) continue;
    for (const int64_t r : Node_Own_Registers(n, deviceType))
      if (r >= 1)
        if (auto hit = checks.Check_Registers({r, 0, 0, 1}, {})) return hit;
    // The node's values are checked against its own registers too.
    TNodo home = n;
    home.Var_List.clear();
    scratch.Nodi_List.push_back(std::move(home));
    for (const TVariabile& v : n.Var_List) {
      if (!v.Enable) continue;
      const int64_t block = v.TP_Mod_Regs ? v.TP_Mod_Year : 0;
      const int64_t count = Value_Registers(v.Dimension, v.Length, v.Conv_Float, v.Force_Int32);
      if (auto hit = checks.Check_Registers({v.Modbus_Register, v.Modbus_Scale, block, count}, {})) return hit;
      scratch.Nodi_List.back().Var_List.push_back(v);
    }
  }
  return std::nullopt;
}

std::optional<TCheck_Message> Find_Overlap(const TNetwork& net, int32_t deviceType) {
  return Check_Added_Nodes(TNetwork{}, net, deviceType);
}

int64_t First_Free_Register(const TNetwork& net, int32_t deviceType) {
  int64_t last = 0;
  for (const TNodo& n : net.Nodi_List) {
    for (const int64_t r : Node_Own_Registers(n, deviceType)) last = std::max(last, r);
    // A node state takes two registers when a scan gives it.
    if (n.Node_State >= 1) last = std::max<int64_t>(last, int64_t(n.Node_State) + 1);
    for (const TVariabile& v : n.Var_List) {
      const int64_t count = Value_Registers(v.Dimension, v.Length, v.Conv_Float, v.Force_Int32);
      last = std::max(last, int64_t(v.Modbus_Register) + count - 1);
      last = std::max<int64_t>(last, v.Modbus_Scale);
      if (v.TP_Mod_Regs) last = std::max<int64_t>(last, int64_t(v.TP_Mod_Year) + 5);
    }
  }
  return last + 1;
}

// ---------------------------------------------------------------------------------------------------------
// The new-node-ID dialog

TCheck_Result Check_Paste(const TNetwork& net, int32_t deviceType, const TPaste_Input& in, TPaste_Values* Checked) {
  TCheck_Result out;
  auto fail = [&out](int t) { return out.push_back(Text_Only(t)), out; };
  TNetwork scratch = net;
  const TNetwork_Checks checks(scratch, deviceType);
  TPaste_Values x;
  x.Primary = in.Primary;
  auto n32 = [](const std::optional<int64_t>& v) { return v ? std::optional<int32_t>(int32_t(*v)) : std::nullopt; };
  x.Pri = n32(Number(in.Pri));
  x.Sec = n32(Number(in.Sec));
  x.wAdd = in.wAdd;
  if (in.Form_Type == 1) {
    const int64_t id = in.Primary ? (x.Pri ? *x.Pri : -1) : (x.Sec ? *x.Sec : -1);
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
  const int64_t state = Field_Value(in.Node_State), ident = Field_Value(in.Ident), rssi = Field_Value(in.RSSI);
  if (in.Form_Type != 2) {
    const int64_t regs[3] = {state, ident, in.Form_Type == 3 ? rssi : 0};
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
  // The hidden RSSI field of a wired node publishes nothing when it holds no number.
  x.Node_State = pasted.Node_State;
  x.Ident = pasted.Ident_Num;
  x.RSSI = in.Form_Type == 3 ? pasted.RSSI : int32_t(std::max<int64_t>(rssi, 0));
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
    x.Registers.push_back({int32_t(reg), int32_t(scale), int32_t(tp)});
  }
  if (out.empty() && Checked) *Checked = std::move(x);
  return out;
}

}  // namespace core::net
