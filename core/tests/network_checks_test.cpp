#include "core/network_checks.h"

#include <gtest/gtest.h>

#include "core/lang_texts.h"

using namespace core::net;

namespace {

class NetworkChecks : public ::testing::Test {
 protected:
  void SetUp() override { Load_Default_Texts(); }

  static TNodo Node(const char* desc, int32_t state = 0, int32_t ident = 0) {
    TNodo n;
    n.Enable = 1;
    n.Description = QString::fromUtf8(desc);
    n.Node_Pri = 5;
    n.Node_State = state;
    n.Ident_Num = ident;
    n.MBus_Type = 1;
    return n;
  }
  static TVariabile Var(const char* desc, int32_t reg, int32_t scale = 0, int32_t year = 0) {
    TVariabile v;
    v.Enable = true;
    v.Description = QString::fromUtf8(desc);
    v.Modbus_Register = reg;
    v.Modbus_Scale = scale;
    v.TP_Mod_Regs = year != 0;
    v.TP_Mod_Year = year;
    return v;
  }
  // A valid variable page with the given registers.
  static TVar_Input Page(const char* reg, const char* scale = "0") {
    TVar_Input in = New_Var_Input();
    in.Register = QString::fromUtf8(reg);
    in.Scale = QString::fromUtf8(scale);
    return in;
  }
  static std::vector<int> Texts(const TCheck_Result& r) {
    std::vector<int> t;
    for (const TCheck_Message& m : r) t.push_back(m.Text);
    return t;
  }
  static QString T(int i) { return Lang_Texts.value(i); }
};

}  // namespace

TEST_F(NetworkChecks, VariableRanges) {
  struct Case {
    const char* what;
    void (*set)(TVar_Input&);
    int text;  // 0: passes
  };
  const Case cases[] = {
      {"register 0", [](TVar_Input& i) { i.Register = "0"; }, 219},
      {"register 60000", [](TVar_Input& i) { i.Register = "60000"; }, 219},
      {"register no number", [](TVar_Input& i) { i.Register = "x"; }, 219},
      {"register 59999", [](TVar_Input& i) { i.Register = "59999"; }, 0},
      {"scale -1", [](TVar_Input& i) { i.Scale = "-1"; }, 220},
      {"scale 60000", [](TVar_Input& i) { i.Scale = "60000"; }, 220},
      {"register = scale", [](TVar_Input& i) { i.Scale = "10"; }, 221},
      {"storage -1", [](TVar_Input& i) { i.Storage = "-1"; }, 222},
      {"storage 0xFFFFFFFF", [](TVar_Input& i) { i.Storage = "0xFFFFFFFF"; }, 0},
      {"storage 4294967296", [](TVar_Input& i) { i.Storage = "4294967296"; }, 222},
      {"storage 4294967295", [](TVar_Input& i) { i.Storage = "4294967295"; }, 0},
      {"tariff 0x100000", [](TVar_Input& i) { i.Tariff = "0x100000"; }, 223},
      {"tariff 0xFFFFF", [](TVar_Input& i) { i.Tariff = "0xFFFFF"; }, 0},
      {"length 192", [](TVar_Input& i) { i.Dimension = 7, i.Length = "192"; }, 224},
      {"length 192 unused", [](TVar_Input& i) { i.Length = "192"; }, 0},
      {"year 0", [](TVar_Input& i) { i.Type_Of_Data = 20, i.TP_Box = true, i.TP_Year = "0"; }, 225},
      {"year 59996", [](TVar_Input& i) { i.Type_Of_Data = 20, i.TP_Box = true, i.TP_Year = "59996"; }, 225},
      {"year unchecked", [](TVar_Input& i) { i.TP_Year = "0"; }, 0},
      {"block covers register", [](TVar_Input& i) { i.Register = "100", i.TP_Box = true, i.TP_Year = "95"; }, 226},
      {"block below register", [](TVar_Input& i) { i.Register = "100", i.TP_Box = true, i.TP_Year = "94"; }, 0},
      {"block covers scale", [](TVar_Input& i) { i.Scale = "20", i.TP_Box = true, i.TP_Year = "18"; }, 227},
      {"position 0", [](TVar_Input& i) { i.Position = "0"; }, 228},
      {"position 101", [](TVar_Input& i) { i.Position = "101"; }, 228},
      {"position 100", [](TVar_Input& i) { i.Position = "100"; }, 0},
  };
  TNetwork net;
  const TNetwork_Checks checks(net, 3);
  for (const Case& c : cases) {
    TVar_Input in = Page("10");
    c.set(in);
    const TCheck_Result r = checks.Check_Var(in, true, {});
    EXPECT_EQ(Texts(r), c.text ? std::vector<int>{c.text} : std::vector<int>{}) << c.what;
    if (c.text) {
      EXPECT_EQ(r[0].Message, T(c.text)) << c.what;
    }
  }
}

TEST_F(NetworkChecks, EveryCollisionFamilyWithItsMessage) {
  TNetwork net;
  TNodo w = Node("Radio", 0, 0);
  w.MBus_Type = 0;
  w.RSSI = 700;
  net.Nodi_List = {Node("Boiler", 500, 501), w};
  net.Nodi_List[0].Var_List = {Var("Energy", 300, 310), Var("Clock", 400, 0, 200)};
  const TNetwork_Checks checks(net, 7);
  struct Case {
    TRegisters_Probe p;
    std::vector<int> texts;
    const char* var;  // nullptr: a node row
  };
  const Case cases[] = {
      {{500, 0, 0}, {177, 178}, nullptr},       {{501, 0, 0}, {179, 180}, nullptr},
      {{700, 0, 0}, {370, 371}, nullptr},       {{1, 500, 0}, {181, 182}, nullptr},
      {{1, 501, 0}, {183, 184}, nullptr},       {{1, 700, 0}, {372, 373}, nullptr},
      {{1, 0, 497}, {185, 186}, nullptr},       {{1, 0, 501}, {187, 188}, nullptr},
      {{1, 0, 695}, {374, 375}, nullptr},       {{300, 0, 0}, {189, 190, 191}, "Energy"},
      {{310, 0, 0}, {192, 193, 194}, "Energy"}, {{205, 0, 0}, {195, 196, 197}, "Clock"},
      {{1, 300, 0}, {198, 199, 200}, "Energy"}, {{1, 310, 0}, {201, 202, 203}, "Energy"},
      {{1, 200, 0}, {204, 205, 206}, "Clock"},  {{1, 0, 296}, {207, 208, 209}, "Energy"},
      {{1, 0, 306}, {210, 211, 212}, "Energy"}, {{1, 0, 197}, {213, 214, 215}, "Clock"},
      {{1, 0, 203}, {216, 217, 218}, "Clock"},
  };
  for (const Case& c : cases) {
    const auto hit = checks.Check_Registers(c.p, {});
    ASSERT_TRUE(hit.has_value()) << c.texts[0];
    EXPECT_EQ(hit->Text, c.texts[0]);
    const QString node = c.p.Reg_Mod == 700 || c.p.Reg_RE_Mod == 700 || c.p.Reg_TP == 695 ? "Radio" : "Boiler";
    QString expected = T(c.texts[0]) + node + T(c.texts[1]);
    if (c.var) expected += QString::fromUtf8(c.var) + T(c.texts[2]);
    EXPECT_EQ(hit->Message, expected) << c.texts[0];
  }
  // The wording of one, as the user reads it.
  EXPECT_EQ(checks.Check_Registers({500, 0, 0}, {})->Message,
            QStringLiteral("Error!! ModBus Register already use in the Node \"Boiler\" (Node State)"));
  // Blocks next to an existing one pass; the RSSI of a wired node never collides.
  for (int64_t tp : {194, 206}) EXPECT_FALSE(checks.Check_Registers({1, 0, tp}, {})) << tp;
  const TNetwork_Checks wired(net, 3);
  EXPECT_FALSE(wired.Check_Registers({700, 0, 0}, {}));
}

TEST_F(NetworkChecks, DisabledNodesAndVariablesNeverCollide) {
  TNetwork net;
  net.Nodi_List = {Node("Off", 500), Node("On")};
  net.Nodi_List[0].Enable = 0;
  net.Nodi_List[0].Var_List = {Var("a", 300)};
  net.Nodi_List[1].Var_List = {Var("b", 301)};
  net.Nodi_List[1].Var_List[0].Enable = false;
  const TNetwork_Checks checks(net, 3);
  for (int64_t r : {500, 300, 301}) EXPECT_FALSE(checks.Check_Registers({r, 0, 0}, {})) << r;
}

TEST_F(NetworkChecks, ModifyingAVariableSkipsItselfButACopyCollides) {
  TNetwork net;
  net.Nodi_List = {Node("Boiler")};
  net.Nodi_List[0].Var_List = {Var("Energy", 100, 0)};
  const TNetwork_Checks checks(net, 3);
  EXPECT_TRUE(checks.Check_Var(Page("100"), false, {0, 0}).empty());
  EXPECT_EQ(Texts(checks.Check_Var(Page("100"), true, {0, 0})), std::vector<int>{189});
  // An existing register inside a new block.
  TVar_Input tp = Page("900");
  tp.TP_Box = true;
  tp.TP_Year = "96";
  EXPECT_EQ(Texts(checks.Check_Var(tp, true, {0, -1})), std::vector<int>{207});
}

TEST_F(NetworkChecks, ValuesOfSeveralRegistersDoNotOverlap) {
  TNetwork net;
  net.Nodi_List = {Node("Boiler")};
  TVariabile wide = Var("Energy", 100);
  wide.Dimension = 3;  // 64 bits: registers 100..103
  net.Nodi_List[0].Var_List = {wide};
  const TNetwork_Checks checks(net, 3);
  struct Case {
    const char* reg;
    int dimension;
    bool conv_Float;
    std::vector<int> texts;
  };
  const Case cases[] = {
      {"103", 1, false, {189}},  // inside the 64-bit value
      {"104", 1, false, {}},     // just after it
      {"99", 2, false, {189}},   // a 32-bit value reaching into it
      {"99", 1, true, {189}},    // a float takes two registers
      {"98", 2, false, {}},
  };
  for (const Case& c : cases) {
    TVar_Input in = Page(c.reg);
    in.Dimension = c.dimension;
    in.Conv_Float = c.conv_Float;
    EXPECT_EQ(Texts(checks.Check_Var(in, true, {0, -1})), c.texts) << c.reg;
  }
}

TEST_F(NetworkChecks, AddedNodesAreCheckedAgainstTheNetworkAndEachOther) {
  TNetwork net;
  net.Nodi_List = {Node("Boiler", 50, 51)};
  TVariabile wide = Var("Energy", 100);
  wide.Dimension = 2;  // 100..101
  net.Nodi_List[0].Var_List = {wide, Var("Time", 300, 0, 200)};
  auto added = [](std::vector<TNodo> nodes) {
    TNetwork a;
    a.Nodi_List = std::move(nodes);
    return a;
  };
  auto with = [](TNodo n, std::vector<TVariabile> vars) {
    n.Var_List = std::move(vars);
    return n;
  };
  TVariabile off = Var("Off", 101);
  off.Enable = false;
  TNodo disabled = with(Node("Spare", 50), {Var("X", 100)});
  disabled.Enable = 0;
  struct Case {
    const char* what;
    TNetwork nodes;
    int text;  // 0: fits
  };
  const Case cases[] = {
      {"after every register", added({with(Node("New", 400, 401), {Var("A", 402), Var("B", 403)})}), 0},
      {"second register of a wide value", added({with(Node("New"), {Var("A", 101)})}), 189},
      {"inside a time-point block", added({with(Node("New"), {Var("A", 203)})}), 195},
      {"a node register", added({with(Node("New"), {Var("A", 51)})}), 179},
      {"a new node state on a value", added({Node("New", 100)}), 189},
      {"two added nodes on one register", added({with(Node("N1"), {Var("A", 500)}), with(Node("N2"), {Var("B", 500)})}), 189},
      {"an added value on its own node's register", added({with(Node("N1", 600), {Var("A", 600)})}), 177},
      {"disabled values and nodes publish nothing", added({with(Node("N1"), {off}), disabled}), 0},
  };
  for (const Case& c : cases) {
    const auto hit = Check_Added_Nodes(net, c.nodes, 3);
    EXPECT_EQ(hit ? hit->Text : 0, c.text) << c.what;
  }
  const auto hit = Check_Added_Nodes(net, cases[1].nodes, 3);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->Message, T(189) + "Boiler" + T(190) + "Energy" + T(191));
  // The same test over a whole network finds a file that already overlaps.
  EXPECT_FALSE(Find_Overlap(net, 3));
  net.Nodi_List.push_back(cases[2].nodes.Nodi_List[0]);
  ASSERT_TRUE(Find_Overlap(net, 3));
  EXPECT_EQ(Find_Overlap(net, 3)->Text, 195);
}

// A large network where the two values that meet lie far apart, with other registers in between: a value of
// the last node is moved onto a register of the first one (or the first one's reach is widened).
TEST_F(NetworkChecks, OverlapsAreFoundFarApartInALargeNetwork) {
  TNetwork base;
  for (int n = 0; n < 40; ++n) {
    TNodo node = Node(QByteArray("Node " + QByteArray::number(n)).constData());
    for (int k = 0; k < 5; ++k) {
      const int32_t reg = 1000 + 20 * (5 * n + k);
      node.Var_List.push_back(Var(QByteArray("V" + QByteArray::number(k)).constData(), reg, reg + 10));
    }
    base.Nodi_List.push_back(node);
  }
  struct Case {
    const char* what;
    void (*change)(TNodo& first, TNodo& last);
    int text;  // 0: no overlap
  };
  const Case cases[] = {
      {"untouched", [](TNodo&, TNodo&) {}, 0},
      {"register on register", [](TNodo&, TNodo& l) { l.Var_List[4].Modbus_Register = 1000; }, 189},
      {"register on scale", [](TNodo&, TNodo& l) { l.Var_List[4].Modbus_Register = 1010; }, 192},
      {"scale on register", [](TNodo&, TNodo& l) { l.Var_List[4].Modbus_Scale = 1000; }, 198},
      {"time-point block over a scale",
       [](TNodo&, TNodo& l) { l.Var_List[4].TP_Mod_Regs = true, l.Var_List[4].TP_Mod_Year = 1008; }, 210},
      {"register inside a block",
       [](TNodo& f, TNodo& l) {
         f.Var_List[0].TP_Mod_Regs = true, f.Var_List[0].TP_Mod_Year = 9000;
         l.Var_List[4].Modbus_Register = 9003;
       },
       195},
      {"register inside a wide value",
       [](TNodo& f, TNodo& l) { f.Var_List[0].Dimension = 3, l.Var_List[4].Modbus_Register = 1003; }, 189},
      {"node state on a register", [](TNodo&, TNodo& l) { l.Node_State = 1020; }, 189},
      {"access number on a scale", [](TNodo&, TNodo& l) { l.Access_Number = 1030; }, 192},
      {"register on a node state", [](TNodo& f, TNodo& l) { f.Ident_Num = 9500, l.Var_List[4].Modbus_Register = 9500; },
       179},
      {"a value's own registers may meet",
       [](TNodo&, TNodo& l) {
         l.Var_List[4].Dimension = 3;
         l.Var_List[4].Modbus_Scale = l.Var_List[4].Modbus_Register + 2;
         l.Var_List[3].TP_Mod_Regs = true, l.Var_List[3].TP_Mod_Year = l.Var_List[3].Modbus_Scale - 1;
       },
       0},
      {"a disabled value publishes nothing",
       [](TNodo&, TNodo& l) { l.Var_List[4].Enable = false, l.Var_List[4].Modbus_Register = 1000; }, 0},
  };
  for (const Case& c : cases) {
    TNetwork net = base;
    c.change(net.Nodi_List.front(), net.Nodi_List.back());
    const auto hit = Find_Overlap(net, 3);
    EXPECT_EQ(hit ? hit->Text : 0, c.text) << c.what;
  }
}

TEST_F(NetworkChecks, FirstFreeRegisterFollowsEveryRegisterInUse) {
  auto first = [](std::vector<TNodo> nodes) {
    TNetwork net;
    net.Nodi_List = std::move(nodes);
    return First_Free_Register(net, 3);
  };
  auto with = [](TNodo n, std::vector<TVariabile> vars) {
    n.Var_List = std::move(vars);
    return n;
  };
  TVariabile wide = Var("Energy", 10);
  wide.Dimension = 3;  // 10..13
  TVariabile off = Var("Off", 70);
  off.Enable = false;
  EXPECT_EQ(first({}), 1);
  EXPECT_EQ(first({with(Node("A"), {wide})}), 14);
  EXPECT_EQ(first({with(Node("A"), {Var("V", 5, 20)})}), 21);
  EXPECT_EQ(first({with(Node("A"), {Var("V", 5, 0, 30)})}), 36);
  EXPECT_EQ(first({Node("A", 40)}), 42);  // a scanned node state takes two registers
  EXPECT_EQ(first({with(Node("A"), {off})}), 71);  // a value ticked later must not collide either
}

TEST_F(NetworkChecks, WiredNodeRangesAndAddresses) {
  TNetwork net;
  net.Nodi_List = {Node("Boiler"), Node("Pump")};
  net.Nodi_List[1].Node_Pri = 7;
  net.Nodi_List[1].Var_List = {Var("Energy", 40)};
  const TNode_Layout layout = Layout_For(3, 0);
  struct Case {
    const char* what;
    void (*set)(TNode_Input&);
    std::vector<int> texts;
    TSelection sel;
  };
  const Case cases[] = {
      {"primary 256", [](TNode_Input& i) { i.Pri = "256"; }, {229}, {}},
      {"secondary 100000000", [](TNode_Input& i) { i.Primary = false, i.Sec = "100000000"; }, {230}, {}},
      {"address in use, then a register fault",
       [](TNode_Input& i) { i.Pri = "5", i.Node_State = "60000"; },
       {242, 231},
       {}},
      {"address of the node itself", [](TNode_Input& i) { i.Pri = "5"; }, {}, {0, -1}},
      {"address in use by the selected variable's node", [](TNode_Input& i) { i.Pri = "7"; }, {241}, {1, 0}},
      {"ident 60000", [](TNode_Input& i) { i.Ident = "60000"; }, {232}, {}},
      {"both 0", [](TNode_Input& i) { i.Node_State = "0", i.Ident = "0"; }, {}, {}},
      {"both 5", [](TNode_Input& i) { i.Node_State = "5", i.Ident = "5"; }, {233}, {}},
      {"msd 60000", [](TNode_Input& i) { i.MSD = "60000"; }, {234}, {}},
      {"msd = ident", [](TNode_Input& i) { i.MSD = "2", i.Ident = "2", i.Node_State = "3"; }, {235}, {}},
      {"msd = state", [](TNode_Input& i) { i.MSD = "3", i.Ident = "2", i.Node_State = "3"; }, {236}, {}},
      {"msd length 0", [](TNode_Input& i) { i.MSD = "10", i.MSD_Length = "0"; }, {237}, {}},
      {"msd offset 241", [](TNode_Input& i) { i.MSD = "10", i.MSD_Offset = "241"; }, {238}, {}},
      {"msd 200 + 42", [](TNode_Input& i) { i.MSD = "10", i.MSD_Length = "200", i.MSD_Offset = "42"; }, {239}, {}},
      {"msd 200 + 41", [](TNode_Input& i) { i.MSD = "10", i.MSD_Length = "200", i.MSD_Offset = "41"; }, {}, {}},
      {"msd 0 skips length", [](TNode_Input& i) { i.MSD = "0", i.MSD_Length = "0"; }, {}, {}},
      {"access 60000", [](TNode_Input& i) { i.Access = "60000"; }, {384}, {}},
      {"access = ident", [](TNode_Input& i) { i.Access = "12", i.Ident = "12"; }, {385}, {}},
      {"access = state", [](TNode_Input& i) { i.Access = "12", i.Node_State = "12"; }, {386}, {}},
      {"access = msd", [](TNode_Input& i) { i.Access = "12", i.MSD = "12"; }, {387}, {}},
      {"node state on a variable's register", [](TNode_Input& i) { i.Node_State = "40"; }, {189}, {}},
  };
  const TNetwork_Checks checks(net, 3);
  for (const Case& c : cases) {
    TNode_Input in;
    in.Pri = "9";
    in.Node_State = "1";
    in.Ident = "2";
    in.MSD = "3";
    in.Access = "4";
    c.set(in);
    EXPECT_EQ(Texts(checks.Check_Node(in, layout, c.sel)), c.texts) << c.what;
  }
}

TEST_F(NetworkChecks, WirelessNodeRanges) {
  struct Case {
    const char* what;
    void (*set)(TNode_Input&);
    int text;
  };
  const Case cases[] = {
      {"manufacturer 65536", [](TNode_Input& i) { i.wManID = "65536"; }, 322},
      {"address 4294967296", [](TNode_Input& i) { i.wAdd = "4294967296"; }, 323},
      {"address no number", [](TNode_Input& i) { i.wAdd = "abc"; }, 323},
      {"address 4294967295", [](TNode_Input& i) { i.wAdd = "4294967295"; }, 0},
      {"version 256", [](TNode_Input& i) { i.wVer = "256"; }, 324},
      {"device type -1", [](TNode_Input& i) { i.wDevType = "-1"; }, 325},
      {"key 16 bad", [](TNode_Input& i) { i.wKey_Enable = true, i.wKey[15] = "256"; }, 341},
      {"key 1 bad", [](TNode_Input& i) { i.wKey_Enable = true, i.wKey[0] = ""; }, 326},
      {"keys ignored when disabled", [](TNode_Input& i) { i.wKey[0] = "x"; }, 0},
      {"state", [](TNode_Input& i) { i.wNode_State = "60000"; }, 231},
      {"ident", [](TNode_Input& i) { i.wIdent = "-2"; }, 232},
      {"rssi", [](TNode_Input& i) { i.wRSSI = "60000"; }, 367},
      {"access", [](TNode_Input& i) { i.wAccess = "60000"; }, 380},
      {"ident = state", [](TNode_Input& i) { i.wIdent = "7", i.wNode_State = "7"; }, 233},
      {"ident = rssi", [](TNode_Input& i) { i.wIdent = "7", i.wRSSI = "7"; }, 368},
      {"ident = access", [](TNode_Input& i) { i.wIdent = "7", i.wAccess = "7"; }, 381},
      {"state = rssi", [](TNode_Input& i) { i.wNode_State = "7", i.wRSSI = "7"; }, 369},
      {"state = access", [](TNode_Input& i) { i.wNode_State = "7", i.wAccess = "7"; }, 382},
      {"rssi = access", [](TNode_Input& i) { i.wRSSI = "7", i.wAccess = "7"; }, 383},
      {"msd = panel ident", [](TNode_Input& i) { i.MSD = "2"; }, 235},
  };
  TNetwork net;
  const TNetwork_Checks checks(net, 1007);
  for (const Case& c : cases) {
    TNode_Input in;
    in.MBus_Type = 0;
    in.wManID = in.wAdd = in.wVer = in.wDevType = "1";
    in.wKey.fill("0");
    in.wNode_State = "1";
    in.wIdent = "2";
    in.wRSSI = "3";
    in.wAccess = "4";
    in.MSD = "0";
    in.Access = "x";  // the node page's own field is hidden for a wireless node
    c.set(in);
    EXPECT_EQ(Texts(checks.Check_Node(in, Layout_For(1007, 0), {})),
              c.text ? std::vector<int>{c.text} : std::vector<int>{})
        << c.what;
  }
}

TEST_F(NetworkChecks, PasteChecks) {
  TNetwork net;
  net.Nodi_List = {Node("Boiler", 50, 51)};
  net.Nodi_List[0].Var_List = {Var("Energy", 100, 0, 200)};
  auto paste = [](int form, std::vector<std::array<const char*, 3>> groups) {
    TPaste_Input in;
    in.Form_Type = form;
    in.Pri = "6";
    in.Node_State = "0";
    in.Ident = "0";
    in.RSSI = "0";
    in.wAdd = "1";
    in.Node_Description = "Copy";
    for (const auto& g : groups) in.Groups.push_back({{g[0], g[1], g[2]}, "V", true});
    return in;
  };
  struct Case {
    const char* what;
    TPaste_Input in;
    std::vector<int> texts;
  };
  TPaste_Input usedAddress = paste(1, {{"100", "0", "0"}});
  usedAddress.Pri = "5";
  TPaste_Input badSecondary = paste(1, {});
  badSecondary.Primary = false;
  badSecondary.Sec = "100000000";
  TPaste_Input wirelessAddress = paste(3, {});
  wirelessAddress.wAdd = "4294967296";
  TPaste_Input nodeState = paste(1, {});
  nodeState.Node_State = "50";
  TPaste_Input ownRegister = paste(1, {{"70", "0", "0"}});
  ownRegister.Ident = "70";
  const Case cases[] = {
      {"node without variables", paste(1, {}), {}},
      {"address in use and a register collision", usedAddress, {240, 189}},
      {"secondary range", badSecondary, {269}},
      {"wireless address", wirelessAddress, {343}},
      {"register no number", paste(2, {{"x", "0", "0"}}), {270}},
      {"scale range", paste(2, {{"1", "60000", "0"}}), {271}},
      {"time point range", paste(2, {{"1", "0", "59996"}}), {272}},
      {"block overlap", paste(2, {{"900", "0", "197"}}), {213}},
      {"groups of one paste", paste(1, {{"900", "0", "0"}, {"900", "0", "0"}}), {189}},
      {"pasted node state on the network", nodeState, {177}},
      {"group on the pasted node's own register", ownRegister, {179}},
      {"clean", paste(1, {{"900", "901", "0"}, {"902", "0", "903"}}), {}},
  };
  // The year register of a variable without a block takes no registers.
  TPaste_Input noBlock = paste(1, {{"900", "0", "1"}, {"901", "0", "1"}});
  for (TPaste_Group& g : noBlock.Groups) g.Time_Point = false;
  EXPECT_TRUE(Check_Paste(net, 3, noBlock).empty());
  // Two pasted 64-bit values four registers apart do not overlap; three apart they do.
  for (const auto& [second, texts] : {std::pair{"904", std::vector<int>{}}, std::pair{"903", std::vector<int>{189}}}) {
    TPaste_Input wide = paste(1, {{"900", "0", "0"}, {second, "0", "0"}});
    for (TPaste_Group& g : wide.Groups) g.Dimension = 3;
    EXPECT_EQ(Texts(Check_Paste(net, 3, wide)), texts) << second;
  }
  for (const Case& c : cases) EXPECT_EQ(Texts(Check_Paste(net, 3, c.in)), c.texts) << c.what;
}

TEST_F(NetworkChecks, PagesRoundTripThroughTheRecords) {
  const TNetwork empty;
  for (int32_t type : {3, 7}) {
    const TNode_Layout layout = Layout_For(type, 0);
    TNode_Input in;
    in.Enable = true;
    in.Description = "Boiler";
    in.MBus_Type = 1;
    in.Pri = "5";
    in.Node_State = "10";
    in.Ident = "11";
    in.Cut_After = 249;
    in.MSD = "12";
    in.MSD_Length = "20";
    in.MSD_Offset = "3";
    in.Access = "13";
    TNodo n;
    ASSERT_TRUE(TNetwork_Checks(empty, type).Check_Node(in, layout, {}, &n).empty());
    EXPECT_EQ(n.Node_Pri, 5);
    EXPECT_EQ(n.MBus_Type, 1);
    EXPECT_EQ(Node_Caption(n, type), Typed_Node_Caption(in, layout));
    const TNode_Input back = Node_Input(n, layout);
    EXPECT_EQ(back.Pri, "5");
    EXPECT_EQ(back.Cut_After, 249);
    EXPECT_EQ(back.Access, "13");
  }
  // Rows a layout does not show publish nothing.
  TNode_Input in;
  in.Node_State = in.Ident = in.MSD = "0";
  TNodo n;
  ASSERT_TRUE(TNetwork_Checks(empty, 4).Check_Node(in, Layout_For(4, 0), {}, &n).empty());
  EXPECT_EQ(n.Access_Number, 0);
  EXPECT_EQ(n.Manufacturer_Spec, 0);
  ASSERT_TRUE(TNetwork_Checks(empty, 4).Check_Node(in, Layout_For(4, 1), {}, &n).empty());
  EXPECT_EQ(n.Access_Number, 1);
  // A failed check leaves the node as it was.
  in.Access = "x";
  EXPECT_FALSE(TNetwork_Checks(empty, 4).Check_Node(in, Layout_For(4, 1), {}, &n).empty());
  EXPECT_EQ(n.Access_Number, 1);

  TVar_Input v = New_Var_Input();
  v.Register = "100";
  v.Scale = "0";
  v.Storage = "4294967295";
  v.VIFE = 0;
  TVariabile rec;
  rec.VIFE = 255;
  EXPECT_EQ(Var_Input(rec).VIFE, 0);
  ASSERT_TRUE(TNetwork_Checks(empty, 3).Check_Var(v, true, {}, &rec).empty());
  EXPECT_EQ(rec.Storage_Number, 4294967295u);
  EXPECT_EQ(rec.Modbus_Register, 100);
  EXPECT_EQ(Var_Input(rec).Storage, "4294967295");
}
