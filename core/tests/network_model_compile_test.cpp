// A network entered through the editor's pages, checked and written as the editor does, compiles for every device
// type and variant, and the register map of the images holds what the network publishes.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <set>
#include <tuple>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "core/network_checks.h"
#include "core/network_compiler.h"
#include "core/par_gen_file.h"

using namespace core::net;

namespace {

uint32_t U32(const QByteArray& b, int off) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(b[off + i]);
  return v;
}
uint16_t U16(const QByteArray& b, int off) { return uint16_t(uint8_t(b[off]) | (uint8_t(b[off + 1]) << 8)); }

// (register, register count) of every map entry between two offsets.
using TMap = std::multiset<std::pair<int, int>>;
void Read_Map(const QByteArray& b, uint32_t from, uint32_t to, int entry, TMap& out) {
  for (uint32_t p = from; p + uint32_t(entry) <= to; p += uint32_t(entry))
    out.insert({U16(b, int(p)), uint8_t(b[int(p) + 2])});
}

TMap Image_Map(const core::bank::Bank_Set& set) {
  TMap m;
  if (const auto* bank = set.Find(QStringLiteral("bank.bin"))) {
    const QByteArray& b = bank->Data;
    const int base = U32(b, 0) == 12 ? 0 : 2049;  // the header format starts after its 2048-byte header
    const bool standard = set.Find(QStringLiteral("bank2.bin")) && base == 0;
    Read_Map(b, U32(b, base + 4), U32(b, base + 8), standard ? 13 : 14, m);
  }
  if (const auto* bank2 = set.Find(QStringLiteral("bank2.bin"))) {
    const QByteArray& b = bank2->Data;
    Read_Map(b, U32(b, 5), U32(b, 17), 14, m);
    Read_Map(b, U32(b, 17), U32(b, 9), 14, m);
  }
  return m;
}

class ModelCompile : public ::testing::Test {
 protected:
  void SetUp() override { Load_Default_Texts(); }

  // Enters a node through the node page; the checks must pass.
  void Enter_Node(TNetwork& net, const TNode_Layout& layout, TNode_Input in) {
    TNodo n;
    const TCheck_Result r = TNetwork_Checks(net, layout.Device_Type).Check_Node(in, layout, {}, &n);
    ASSERT_TRUE(r.empty()) << r[0].Message.toStdString();
    net.Nodi_List.push_back(n);
  }
  void Enter_Var(TNetwork& net, int32_t type, TVar_Input in) {
    const int node = int(net.Nodi_List.size()) - 1;
    TVariabile v;
    const TCheck_Result r = TNetwork_Checks(net, type).Check_Var(in, true, {node, -1}, &v);
    ASSERT_TRUE(r.empty()) << r[0].Message.toStdString();
    net.Nodi_List.back().Var_List.push_back(v);
  }
};

}  // namespace

TEST_F(ModelCompile, EveryDeviceTypeAndVariant) {
  for (int32_t type : Known_Device_Types) {
    for (int selDev : {0, 1}) {
      if (selDev == 1 && !Device_Model(type).Has_Variant()) continue;
      SCOPED_TRACE(testing::Message() << "type " << type << " variant " << selDev);
      const TNode_Layout layout = Layout_For(type, selDev);
      TNetwork net;
      int reg = 100;
      for (int node = 0; node < 2; ++node) {
        TNode_Input in;
        in.Enable = true;
        in.Description = QStringLiteral("Meter %1").arg(node);
        in.MBus_Type = 1;
        in.Pri = QString::number(node + 1);
        in.Node_State = QString::number(10 + node);
        in.Ident = in.MSD = in.Access = QStringLiteral("0");
        Enter_Node(net, layout, in);
        // Every data size, a float, a variable length and a time point.
        for (int dim = 0; dim < 8; ++dim) {
          TVar_Input v = New_Var_Input();
          v.Description = QStringLiteral("v%1").arg(dim);
          v.Dimension = dim;
          v.Length = QStringLiteral("9");
          v.Conv_Float = dim == 1;
          v.Register = QString::number(reg += 10);
          v.Scale = QStringLiteral("0");
          Enter_Var(net, type, v);
        }
        TVar_Input tp = New_Var_Input();
        tp.Type_Of_Data = 20;
        tp.TP_Box = true;
        tp.Register = QString::number(reg += 10);
        tp.Scale = QStringLiteral("0");
        tp.TP_Year = QString::number(reg += 10);
        Enter_Var(net, type, tp);
      }
      if (layout.Wireless_Side()) {
        TNode_Input w;
        w.Enable = true;
        w.MBus_Type = 0;
        w.wManID = w.wVer = w.wDevType = QStringLiteral("1");
        w.wAdd = QStringLiteral("4294967295");
        w.wNode_State = QStringLiteral("30");
        w.wIdent = w.wAccess = QStringLiteral("0");
        w.wRSSI = QStringLiteral("31");
        w.MSD = QStringLiteral("0");
        Enter_Node(net, layout, w);
        TVar_Input v = New_Var_Input();
        v.Register = QString::number(reg += 10);
        v.Scale = QStringLiteral("0");
        Enter_Var(net, type, v);
      }

      QTemporaryDir dir;
      const QString mbus = dir.filePath("M_Bus.xml"), parGen = dir.filePath("ParGen.xml");
      ASSERT_TRUE(Save_Network(mbus, net, type));
      pargen::TParGen_Data par = pargen::ParGen_Defaults(type);
      par.Sel_Dev = selDev;
      par.Sel_Dev_MBus_Present = 1;
      ASSERT_TRUE(pargen::Save_ParGen(parGen, type, par));
      core::bank::Bank_Set set;
      ASSERT_NO_THROW(set = core::bank::Compile(type, selDev, parGen, mbus));

      // What the network publishes: each variable's first register and its register count.
      const bool standard = type == 1 || type == 1001;
      TMap expected;
      for (const TNodo& n : net.Nodi_List)
        for (const TVariabile& v : n.Var_List) {
          if (v.TP_Mod_Regs && v.Type_Of_Data == 20)
            expected.insert({v.TP_Mod_Year, 6});
          else
            expected.insert({v.Modbus_Register, v.Conv_Float ? 2 : Register_Count(v.Dimension, v.Length)});
        }
      TMap image = Image_Map(set);
      if (standard && selDev == 0) {
        // bank.bin (time points of five registers) and bank2.bin: each value is mapped in both.
        TMap twice;
        for (auto [r, c] : expected) {
          twice.insert({r, c});
          if (c != 6 || r == 0)
            twice.insert({r, c});
          else
            twice.insert({r, 5});
        }
        expected = twice;
      } else if (standard) {
        TMap twice;
        for (auto e : expected) twice.insert(e), twice.insert(e);
        expected = twice;
      }
      EXPECT_GE(image.size(), 18u);
      EXPECT_EQ(image, expected);
    }
  }
}
