// The network editor and the new node ID dialog on the offscreen platform: building a network by typing and
// clicking, the checks with their message boxes, delete, copy and paste through the dialog, import, OK and
// Cancel, and what the file then holds.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "input_helpers.h"
#include "core/lang_texts.h"
#include "core/mbus_network.h"
#include "platform/forms/dialogs.h"
#include "grid/column_grid.h"
#include "windows/meter_bus.h"
#include "windows/new_id_node.h"

using namespace plat;
using namespace core::net;

namespace {

QByteArray Read_Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write_Bytes(const QString& path, const QByteArray& data) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
}

void Choose(TComboBox* c, int index) {
  c->ComboBox()->setCurrentIndex(index);
  emit c->ComboBox()->activated(index);
}

// Runs Act once Form is shown modally.
void OnModal(TForm* Form, std::function<void()> Act) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [Form, Act, tries, poll] {
    if (Form->Modal()) return Act();
    if (++*tries < 400) QTimer::singleShot(5, *poll);
  };
  QTimer::singleShot(0, *poll);
}

class MeterBusWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Load_Default_Texts();
    File_ParGen = dir.filePath("ParGen.xml");
    File_MBus = dir.filePath("M_Bus.xml");
    dialog = std::make_unique<TFNewIDNode>(nullptr);
    dialog->AfterConstruction();
  }
  void TearDown() override {
    form.reset();
    dialog.reset();
    File_ParGen.clear();
    File_MBus.clear();
  }
  TFMeter_Bus& Open(int type) {
    form = std::make_unique<TFMeter_Bus>(nullptr, type);
    form->AfterConstruction();
    form->Show();  // reads the file
    return *form;
  }
  // The tree entry of node i, or of variable j of node i.
  TTreeNode* Entry(int i, int j = -1) {
    TTreeNode* n = form->NODE_ORIG->Item(i);
    if (j >= 0) n->Expand(false);  // a node's variables are listed once it is opened
    return j < 0 ? n : n->Item(j);
  }
  void Select(TTreeNode* e) { form->TW->SetSelected(e); }
  void Add_Node(const char* desc, const char* pri, const char* state = "0", const char* ident = "0") {
    TFMeter_Bus& f = *form;
    Select(nullptr);
    f.CB_Node_En->SetChecked(true);
    Type(f.E_New_Node_Desc, QString::fromUtf8(desc));
    Type(f.E_New_Node_ID_Pri, QString::fromUtf8(pri));
    Type(f.E_Node_State, QString::fromUtf8(state));
    Type(f.E_Iden, QString::fromUtf8(ident));
    for (TEdit* e : {f.E_Manu_Spec_Data, f.E_Access_Number}) Type(e, "0");
    Click(f.btn_Add_Node);
  }
  void Add_Var(int node, const char* desc, const char* reg, int dim = 1) {
    TFMeter_Bus& f = *form;
    Select(Entry(node));
    Type(f.E_New_Var_Desc, QString::fromUtf8(desc));
    Choose(f.CB_Var_Dim, dim);
    Type(f.E_Var_MR, QString::fromUtf8(reg));
    Type(f.E_Scale_MB, "0");
    Click(f.btn_Add_Var);
  }
  void Shot(const char* name) {
    form->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/") + QString::fromLatin1(name));
  }

  QTemporaryDir dir;
  TScriptedMessageBoxes boxes;
  std::unique_ptr<TFNewIDNode> dialog;
  std::unique_ptr<TFMeter_Bus> form;
};

}  // namespace

TEST_F(MeterBusWindow, BuildsANetworkByTypingAndClickingAndOkWritesIt) {
  TFMeter_Bus& f = Open(3);
  EXPECT_EQ(f.NODE_ORIG->Text(), "M-Bus Network");
  EXPECT_EQ(f.btn_Add_Node->Caption(), "ADD NODE");
  // The long lists drop down wider than their boxes.
  EXPECT_GT(f.CB_VIFE->ComboBox()->view()->minimumWidth(), f.CB_VIFE->Width());
  Add_Node("Boiler", "5");
  Add_Node("Pump", "6", "20", "21");
  ASSERT_EQ(f.NODE_ORIG->Count(), 2);
  EXPECT_EQ(Entry(0)->Text(), "ID 5 - Boiler");
  Add_Var(0, "Energy", "100", 2);
  Add_Var(0, "Volume", "102");
  Add_Var(1, "Flow", "200");
  EXPECT_EQ(boxes.Count(), 0) << boxes.LastText().toStdString();
  EXPECT_EQ(Entry(0, 1)->Text(), "VAR - Volume");
  Select(Entry(0, 0));
  EXPECT_EQ(f.btn_Add_Var->Caption(), "MODIFY VARIABLE");
  EXPECT_EQ(f.E_Var_MR->Text(), "100");
  Shot("meter_bus_variables.png");
  Select(Entry(1));
  EXPECT_EQ(f.btn_Add_Node->Caption(), "MODIFY NODE");
  Shot("meter_bus_nodes.png");

  Click(f.Frame.Btn_OK);
  EXPECT_EQ(f.ModalResult(), mrOk);
  const TRead_Result r = Load_Network(File_MBus, 3);
  ASSERT_TRUE(r.Error.isEmpty());
  ASSERT_EQ(r.Network.Nodi_List.size(), 2u);
  EXPECT_EQ(r.Network.Nodi_List[1].Node_State, 20);
  EXPECT_EQ(r.Network.Nodi_List[0].Var_List[0].Dimension, 2);
  EXPECT_EQ(r.Network.Nodi_List[0].Var_List[1].Modbus_Register, 102);
  EXPECT_TRUE(Read_Bytes(File_MBus).contains("<!--SW_VERSION = 2.012-->"));
}

TEST_F(MeterBusWindow, ChecksStopAnEntryAndCancelAsks) {
  TFMeter_Bus& f = Open(3);
  Add_Node("Boiler", "5");
  Add_Var(0, "Energy", "100");
  Add_Var(0, "Copy", "100");  // the same register again
  ASSERT_EQ(boxes.Count(), 1);
  EXPECT_EQ(boxes.LastText(),
            "Error!! ModBus Register already use in the Node \"Boiler\", Variable \"Energy\" (Modbus Register)");
  EXPECT_EQ(Entry(0)->Count(), 1);
  Add_Node("Other", "300");
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(229));
  EXPECT_EQ(f.NODE_ORIG->Count(), 1);
  // Cancel asks; No keeps the editor and the file untouched.
  boxes.Answer(mrNo);
  Click(f.Frame.Btn_Cancel);
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(246));
  EXPECT_EQ(f.ModalResult(), mrNone);
  boxes.Answer(mrYes);
  Click(f.Frame.Btn_Cancel);
  EXPECT_EQ(f.ModalResult(), mrCancel);
  EXPECT_FALSE(QFile::exists(File_MBus));
}

TEST_F(MeterBusWindow, DeleteAsksForWhatIsSelected) {
  TFMeter_Bus& f = Open(3);
  Add_Node("A", "1");
  Add_Node("B", "2");
  Add_Var(0, "v", "100");
  Select(Entry(0, 0));
  f.btn_Delete_ItemClick(&f);
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(245));
  EXPECT_EQ(f.Network().Nodi_List[0].Var_List.size(), 0u);
  Select(Entry(1));
  boxes.Answer(mrNo);
  f.btn_Delete_ItemClick(&f);
  EXPECT_EQ(f.Network().Nodi_List.size(), 2u);
  Select(nullptr);
  f.btn_Delete_ItemClick(&f);
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(243));
  EXPECT_EQ(f.Network().Nodi_List.size(), 0u);
  EXPECT_EQ(f.NODE_ORIG->Text(), "M-Bus Network");
  EXPECT_EQ(f.NODE_ORIG->Count(), 0);
}

TEST_F(MeterBusWindow, PasteNodeThroughTheNewIdDialog) {
  TFMeter_Bus& f = Open(3);
  Add_Node("Boiler", "5", "50", "51");
  for (int i = 0; i < 3; ++i) Add_Var(0, "v", QByteArray::number(100 + 10 * i).constData());
  Select(Entry(0));
  f.CopyNode1Click(&f);
  EXPECT_TRUE(f.PasteNode1->Enabled());
  int rows = 0;
  OnModal(dialog.get(), [&] {
    rows = dialog->ESG_MR_Var->RowCount();
    dialog->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/new_id_node.png"));
    // The value column is the light green one.
    const TRect cell = dialog->ESG_MR_Var->CellRect(1, 2);
    const QImage grid = dialog->ESG_MR_Var->Widget()->grab().toImage();
    EXPECT_EQ(grid.pixelColor(cell.Left + 40, (cell.Top + cell.Bottom) / 2), QColor(218, 253, 217));
    // Pressing OK unchanged: the address and every register collide.
    Click(dialog->Frame.Btn_OK);
    const int first = boxes.Count();
    Type(dialog->E_New_Node_ID_Pri, "6");
    Type(dialog->E_MR_NodeState, "60");
    Type(dialog->E_MR_IdentNum, "61");
    for (int i = 0; i < 3; ++i) dialog->ESG_MR_Var->SetCells(1, 3 * i + 1, QString::number(300 + 10 * i));
    boxes.Clear();
    Click(dialog->Frame.Btn_OK);
    EXPECT_GT(first, 1);
    EXPECT_EQ(boxes.Count(), 0) << boxes.LastText().toStdString();
    if (dialog->ModalResult() == mrNone) dialog->SetModalResult(mrCancel);
  });
  f.PasteNode1Click(&f);
  EXPECT_EQ(rows, 10);
  ASSERT_EQ(f.Network().Nodi_List.size(), 2u);
  const TNodo& n = f.Network().Nodi_List[1];
  EXPECT_EQ(n.Node_Pri, 6);
  EXPECT_EQ(n.Node_State, 60);
  ASSERT_EQ(n.Var_List.size(), 3u);
  EXPECT_EQ(n.Var_List[2].Modbus_Register, 320);
  EXPECT_EQ(Entry(1)->Text(), "ID 6 - Boiler");
  EXPECT_EQ(Entry(1)->Count(), 3);
}

TEST_F(MeterBusWindow, AFileThatDoesNotReadIsNotOverwrittenWithoutAsking) {
  const QByteArray bad =
      "<M-Bus_Network><Nodo><Variabile Enable=\"1\" Type=\"1\" Fun_Field=\"0\" Dim=\"0\"/></Nodo></M-Bus_Network>";
  Write_Bytes(File_MBus, bad);
  TFMeter_Bus& f = Open(3);
  EXPECT_EQ(boxes.Count(), 1);  // the error
  EXPECT_EQ(boxes.LastText(), "M_Bus.xml, node 1, variable 1: the attribute ModReg is missing.");
  EXPECT_EQ(f.Network().Nodi_List.size(), 0u);
  boxes.Answer(mrNo);
  Click(f.Frame.Btn_OK);
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(256));
  EXPECT_EQ(f.ModalResult(), mrNone);
  EXPECT_EQ(Read_Bytes(File_MBus), bad);

  // An import of a broken file leaves the file as it was.
  const QString other = dir.filePath("other.xml");
  Write_Bytes(other, "<M-Bus_Network><Nodo>");
  SetFileDialogHook([&](TOpenDialog* d) {
    d->FileName = other;
    return true;
  });
  f.Btn_ImportNetClick(&f);
  SetFileDialogHook({});
  EXPECT_EQ(Read_Bytes(File_MBus), bad);
}

TEST_F(MeterBusWindow, OkRefusesAFileThatGivesARegisterToTwoValues) {
  const QByteArray overlapping =
      "<M-Bus_Network><Nodo Node_Enable=\"1\" ID_Primary=\"1\" Descrizione=\"Boiler\">"
      "<Variabile Enable=\"1\" Desc=\"Energy\" Type=\"0\" Fun_Field=\"0\" Dim=\"2\" ModReg=\"10\" ModScale=\"0\"/>"
      "</Nodo><Nodo Node_Enable=\"1\" ID_Primary=\"2\" Descrizione=\"Pump\">"
      "<Variabile Enable=\"1\" Desc=\"Flow\" Type=\"0\" Fun_Field=\"0\" Dim=\"1\" ModReg=\"11\" ModScale=\"0\"/>"
      "</Nodo></M-Bus_Network>";
  Write_Bytes(File_MBus, overlapping);
  TFMeter_Bus& f = Open(3);
  EXPECT_EQ(boxes.Count(), 0);
  Click(f.Frame.Btn_OK);
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(189) + "Boiler" + Lang_Texts.value(190) + "Energy" + Lang_Texts.value(191));
  EXPECT_EQ(f.ModalResult(), mrNone);
  EXPECT_EQ(Read_Bytes(File_MBus), overlapping);
  // Moving the second value off the first one's registers lets OK write the network.
  Select(Entry(1, 0));
  Type(f.E_Var_MR, "12");
  Click(f.btn_Add_Var);
  Click(f.Frame.Btn_OK);
  EXPECT_EQ(f.ModalResult(), mrOk);
  EXPECT_EQ(core::net::Load_Network(File_MBus, 3).Network.Nodi_List.at(1).Var_List.at(0).Modbus_Register, 12);
}

TEST_F(MeterBusWindow, EscapeIsCancelWithItsQuestion) {
  TFMeter_Bus& f = Open(3);
  QTest::keyClick(f.TW->Widget(), Qt::Key_Escape);
  EXPECT_EQ(f.ModalResult(), mrCancel);
  EXPECT_EQ(boxes.Count(), 0);
  f.SetModalResult(mrNone);
  Add_Node("Boiler", "5");
  boxes.Answer(mrNo);
  QTest::keyClick(f.E_New_Node_Desc->Widget(), Qt::Key_Escape);
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(246));
  EXPECT_EQ(f.ModalResult(), mrNone);
  EXPECT_EQ(f.Network().Nodi_List.size(), 1u);
}

TEST_F(MeterBusWindow, WirelessNodeShowsItsPanelAndKeys) {
  Write_Bytes(File_MBus,
              "<M-Bus_Network><Nodo MBus_Type=\"0\" wMBus_Add=\"77\" wMBus_En_Key=\"1\" wMBus_Key_1=\"11\" "
              "wMBus_Key_16=\"16\" Descrizione=\"Radio\"><Variabile Enable=\"1\" Type=\"1\" Fun_Field=\"0\" "
              "Dim=\"0\" ModReg=\"9\"/></Nodo></M-Bus_Network>");
  TFMeter_Bus& f = Open(7);
  EXPECT_EQ(Entry(0)->Text(), "wM-Bus Node - Address 77 - Radio");
  Select(Entry(0, 0));
  EXPECT_TRUE(f.P_wMBus_Node->Visible());
  EXPECT_FALSE(f.E_New_Node_ID_Pri->Visible());
  EXPECT_EQ(f.E_wMBus_K[0]->Text(), "11");
  EXPECT_EQ(f.E_wMBus_K[15]->Text(), "16");
  EXPECT_TRUE(f.CB_PostOpe->Visible());
  Select(Entry(0));
  Shot("meter_bus_wireless.png");
  Choose(f.CB_MBus_Type, 1);
  EXPECT_FALSE(f.P_wMBus_Node->Visible());
  EXPECT_TRUE(f.E_New_Node_ID_Pri->Visible());
}

TEST_F(MeterBusWindow, ExtraRowsFollowTheDeviceTypeAndVariant) {
  TFMeter_Bus& f = Open(4);
  EXPECT_FALSE(f.CB_Cut_After->Visible());
  EXPECT_FALSE(f.E_Access_Number->Visible());
  EXPECT_FALSE(f.CB_PostOpe->Visible());
  Write_Bytes(File_ParGen, "<GeneralParameter><Sel_Dev>1</Sel_Dev></GeneralParameter>");
  f.FormShow(&f);
  EXPECT_TRUE(f.CB_Cut_After->Visible());
  EXPECT_TRUE(f.E_Access_Number->Visible());
}

TEST_F(MeterBusWindow, ImportReplacesTheFileOnlyWhenItReads) {
  TFMeter_Bus& f = Open(3);
  Add_Node("Old", "1");
  Click(f.Frame.Btn_OK);
  const QByteArray old = Read_Bytes(File_MBus);
  const QString other = dir.filePath("other.xml");
  Write_Bytes(other, "<M-Bus_Network><Nodo ID_Primary=\"9\" Descrizione=\"New\"/></M-Bus_Network>");
  SetFileDialogHook([&](TOpenDialog* d) {
    d->FileName = other;
    return true;
  });
  boxes.Answer(mrNo);
  f.Btn_ImportNetClick(&f);
  EXPECT_EQ(boxes.LastText(), Lang_Texts.value(256));
  EXPECT_EQ(Read_Bytes(File_MBus), old);
  boxes.Answer(mrYes);
  f.Btn_ImportNetClick(&f);
  SetFileDialogHook({});
  EXPECT_EQ(Read_Bytes(File_MBus), Read_Bytes(other));
  ASSERT_EQ(f.NODE_ORIG->Count(), 1);
  EXPECT_EQ(Entry(0)->Text(), "ID 9 - New");
}

TEST_F(MeterBusWindow, AStaleModifyCaptionChangesNothing) {
  TFMeter_Bus& f = Open(3);
  Add_Node("Boiler", "5");
  Select(Entry(0));
  EXPECT_EQ(f.btn_Add_Node->Caption(), "MODIFY NODE");
  f.FormShow(&f);  // the next showing keeps the caption but selects nothing
  EXPECT_EQ(f.btn_Add_Node->Caption(), "MODIFY NODE");
  Click(f.btn_Add_Node);
  EXPECT_EQ(f.NODE_ORIG->Count(), 0);
  EXPECT_TRUE(f.Is_Change);
}
