// The network step of the program as a user takes it: the main window opens the network editor, two nodes with
// variables are typed in and added with the mouse, one node is copied and pasted through the new node ID dialog,
// OK writes M_Bus.xml, and the configuration compiles with the registers the editor showed.

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "input_helpers.h"
#include "core/compiler.h"
#include "core/mbus_network.h"
#include "grid/column_grid.h"
#include "windows/meter_bus.h"
#include "windows/new_id_node.h"
#include "windows_fixture.h"

using namespace plat;

namespace {

// A click on a tree entry.
void Click_Entry(TTreeView* tw, TTreeNode* e) {
  QTreeWidget* t = tw->TreeWidget();
  const QRect r = t->visualItemRect(e->Item());
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
}

// Typing into a cell of the grid: the first key opens the cell editor, the rest go to it.
void Type_Cell(TStringGrid* g, int col, int row, const QString& text) {
  g->SetCol(col);
  g->SetRow(row);
  QTest::keyClick(g->Widget(), text.at(0).toLatin1());
  ASSERT_NE(g->InplaceEditor(), nullptr);
  QWidget* editor = g->InplaceEditor()->Widget();
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, text);
}

}  // namespace

TEST_F(WindowsTest, NetworkEditorRoadFromTheMainWindowToTheCompiler) {
  Start();
  QDir().mkpath(dir_.filePath("PROJECTS/Plant1/bin"));
  Dir_Project = dir_.filePath("PROJECTS/Plant1");
  FTessaroneFirmWare->Set_Files();
  TFMeter_Bus* f = FMeter_Bus;
  bool done = false;

  OnModal(f, [&] {
    EXPECT_EQ(f->NODE_ORIG->Text(), "M-Bus Network");
    // Two nodes, each typed into the node page and added with the mouse.
    const char* nodes[2][3] = {{"Boiler", "5", "10"}, {"Pump", "6", "20"}};
    for (const auto& n : nodes) {
      f->CB_Node_En->SetChecked(true);
      Type(f->E_New_Node_Desc, n[0]);
      Type(f->E_New_Node_ID_Pri, n[1]);
      Type(f->E_Node_State, n[2]);
      Type(f->E_Iden, "0");
      Type(f->E_Manu_Spec_Data, "0");
      Type(f->E_Access_Number, "0");
      Click(f->btn_Add_Node);
    }
    ASSERT_EQ(f->NODE_ORIG->Count(), 2);
    // A variable for each: click the node, type the variable, add it.
    for (int i = 0; i < 2; ++i) {
      Click_Entry(f->TW, f->NODE_ORIG->Item(i));
      EXPECT_EQ(f->IND_NODO, i);
      Type(f->E_New_Var_Desc, i == 0 ? "Energy" : "Flow");
      Type(f->E_Var_MR, QString::number(100 + 100 * i));
      Type(f->E_Scale_MB, "0");
      Click(f->btn_Add_Var);
    }
    EXPECT_EQ(boxes_.Count(), 0) << boxes_.LastText().toStdString();
    f->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/meter_bus_road.png"));

    // Copy the first node and paste it with a new address and new registers.
    Click_Entry(f->TW, f->NODE_ORIG->Item(0));
    f->CopyNode1->Click();
    OnModal(FNewIDNode, [&] {
      Type(FNewIDNode->E_New_Node_ID_Pri, "7");
      Type(FNewIDNode->E_MR_NodeState, "30");
      Type_Cell(FNewIDNode->ESG_MR_Var, 1, 1, "300");
      Click(FNewIDNode->Frame.Btn_OK);
      if (FNewIDNode->ModalResult() == mrNone) FNewIDNode->SetModalResult(mrCancel);
    });
    f->PasteNode1->Click();
    EXPECT_EQ(boxes_.Count(), 0) << boxes_.LastText().toStdString();
    ASSERT_EQ(f->NODE_ORIG->Count(), 3);
    EXPECT_EQ(f->NODE_ORIG->Item(2)->Text(), "ID 7 - Boiler");
    Click(f->Frame.Btn_OK);
    done = true;
    if (f->ModalResult() == mrNone) f->SetModalResult(mrCancel);
  });
  FTessaroneFirmWare->Btn_MBus->Click();
  ASSERT_TRUE(done);

  const core::net::TRead_Result r = core::net::Load_Network(File_MBus, Device_Type);
  ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
  ASSERT_EQ(r.Network.Nodi_List.size(), 3u);
  EXPECT_EQ(r.Network.Nodi_List[2].Node_Pri, 7);
  EXPECT_EQ(r.Network.Nodi_List[2].Node_State, 30);
  EXPECT_EQ(r.Network.Nodi_List[2].Var_List.at(0).Modbus_Register, 300);

  // The update road compiles what the editor wrote: three values at the registers typed.
  Bank_Device_Type = Device_Type;
  Bank_Sel_Dev = 0;
  ASSERT_NO_THROW(Compile_Configuration());
  const core::bank::Bank_File* bank = Compiled_Bank_Set().Find(QStringLiteral("bank.bin"));
  ASSERT_NE(bank, nullptr);
  const QByteArray& b = bank->Data;
  auto u32 = [&b](int o) {
    return uint32_t(uint8_t(b[o])) | uint32_t(uint8_t(b[o + 1])) << 8 | uint32_t(uint8_t(b[o + 2])) << 16 |
           uint32_t(uint8_t(b[o + 3])) << 24;
  };
  QList<int> registers;
  for (uint32_t p = u32(4); p + 14 <= u32(8); p += 14) registers << (uint8_t(b[int(p)]) | uint8_t(b[int(p) + 1]) << 8);
  EXPECT_EQ(registers, QList<int>({100, 200, 300}));
}
