// The communication settings window on the offscreen platform, for every device type: what it shows for a new
// configuration, the layout of the boxes and rows, collapse and expand, the coupling of values, the checks with
// their message boxes, and the files it writes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "core/network_compiler.h"
#include "platform/forms/dialogs.h"
#include "platform/xml/xmldocument.h"
#include "windows/par_gen.h"

using namespace plat;
using pargen::TParGen_Data;

namespace {

QByteArray Read_Bytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

// A choice made by the user (code that sets ItemIndex raises no change event).
void Choose(TComboBox* c, int index) {
  c->ComboBox()->setCurrentIndex(index);
  emit c->ComboBox()->activated(index);
}

int Bottom(const TControl* c) { return c->Top() + c->Height(); }

// A click on an image button.
void Press(controls::TLbButton* b) { b->Click(); }

class ParGenWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Load_Default_Texts();
    File_ParGen = dir.filePath("ParGen.xml");
    File_MBus = dir.filePath("M_Bus.xml");
  }
  void TearDown() override {
    File_ParGen.clear();
    File_MBus.clear();
  }
  // A window of the device type as the program creates it, then shown (read) once.
  TFParGen& Open(int type) {
    form = std::make_unique<TFParGen>(nullptr, type);
    form->AfterConstruction();
    form->FormShow(form.get());
    return *form;
  }
  QString file() const { return File_ParGen; }

  QTemporaryDir dir;
  TScriptedMessageBoxes boxes;
  std::unique_ptr<TFParGen> form;
};

TEST_F(ParGenWindow, NewType3ConfigurationShowsAndSavesTheDefaults) {
  TFParGen& f = Open(3);
  EXPECT_EQ(f.E_IP[0]->Text() + "." + f.E_IP[1]->Text() + "." + f.E_IP[2]->Text() + "." + f.E_IP[3]->Text(),
            "192.168.0.10");
  EXPECT_EQ(f.E_SM[0]->Text() + "." + f.E_SM[1]->Text() + "." + f.E_SM[2]->Text() + "." + f.E_SM[3]->Text(),
            "255.255.255.0");
  EXPECT_EQ(f.E_GAT[0]->Text() + "." + f.E_GAT[1]->Text() + "." + f.E_GAT[2]->Text() + "." + f.E_GAT[3]->Text(),
            "192.168.0.1");
  EXPECT_FALSE(f.CB_ModTCPs_EN_GAT->Checked());
  EXPECT_EQ(f.CB_Select_Device->Text(), "VO51645-R2 Without Ethernet Port");
  EXPECT_EQ(f.CB_Serial_Modbus_Slave->Text(), "RS232");
  EXPECT_EQ(f.CB_Baud_Modbus_Slave->Text(), "115200");
  EXPECT_EQ(f.CB_Par_Modbus_Slave->Text(), "NONE");
  EXPECT_EQ(f.E_ID_Modbus_Slave->Text(), "1");
  EXPECT_EQ(f.CB_MBus_Baud->Text(), "2400");
  EXPECT_EQ(f.CB_MBus_Parity->Text(), "EVEN");
  EXPECT_EQ(f.CB_MBus_Polls->Text(), "On Request");
  EXPECT_EQ(f.CB_MBus_Polls->Items()->Count(), 3);
  EXPECT_EQ(f.E_MBus_Delay->Text(), "100");
  EXPECT_FALSE(f.Is_Change);

  Press(f.Btn_OK);
  EXPECT_EQ(f.ModalResult(), mrOk);
  EXPECT_EQ(boxes.Count(), 0);
  EXPECT_EQ(Read_Bytes(file()), pargen::ParGen_Bytes(3, pargen::ParGen_Defaults(3)));
  plat::TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromFile(file()));
  EXPECT_EQ(doc.DocumentElement().FindNode("Node_State").Text(), "0xFF");
  EXPECT_EQ(doc.DocumentElement().FindNode("Sel_Dev_MBus_Present").Text(), "1");
  EXPECT_EQ(doc.ChildNodes().Last().Text(), "SW_VERSION = 2.012");
}

TEST_F(ParGenWindow, AConfigurationMadeInTheWindowCompiles) {
  TFParGen& f = Open(3);
  Choose(f.CB_Select_Device, 1);
  f.E_IP[3]->SetText("20");
  f.CB_ModTCPs_EN_GAT->SetChecked(true);
  Choose(f.CB_MBus_Polls, pargen::Polls_Passive);
  Press(f.Btn_OK);
  ASSERT_EQ(f.ModalResult(), mrOk);
  const int selDev = core::bank::Read_Sel_Dev(file());
  EXPECT_EQ(selDev, 1);
  const core::bank::Bank_Set set = core::bank::Compile(3, selDev, file(), File_MBus);
  EXPECT_NE(set.Find("bank1.bin"), nullptr);
  EXPECT_NE(set.Find("bank2.bin"), nullptr);

  // The next showing reads back what was saved.
  f.SetModalResult(mrNone);
  f.E_IP[3]->SetText("99");
  f.FormShow(&f);
  EXPECT_EQ(f.E_IP[3]->Text(), "20");
  EXPECT_EQ(f.CB_MBus_Polls->ItemIndex(), pargen::Polls_Passive);
  EXPECT_TRUE(f.CB_ModTCPs_EN_GAT->Checked());
}

TEST_F(ParGenWindow, EveryDeviceTypeReadsBackWhatItSaved) {
  for (int type : Known_Device_Types) {
    SCOPED_TRACE(type);
    QFile::remove(file());
    TFParGen& f = Open(type);
    TParGen_Data d = f.Values();
    // Values every type can hold, unlike the defaults.
    d.IP = {"10", "0", "0", "7"};
    d.SM = {"255", "0", "0", "0"};
    d.GA = {"10", "0", "0", "1"};
    d.Gat_Enable = true;
    d.TCP_Port = "1502";
    d.Meter_Baud = 0;
    d.Meter_Par = 2;
    d.Meter_Req_Delay = "60";
    d.Mod_Baud = 3;
    d.Mod_Id = "33";
    d.Mod_Protocol = type == 6 ? 0 : 2;
    d.wMBus_Mode = 1;
    d.wMBus_Radio_Channel = 5;
    d.Enable_Use_Fix_C_Field = true;
    d.Use_Fix_C_Field_Value = 1;
    f.Set_Values(d);
    Press(f.Btn_OK);
    ASSERT_EQ(f.ModalResult(), mrOk) << boxes.LastText().toStdString();
    const TParGen_Data saved = f.Values();
    const QByteArray bytes = Read_Bytes(file());
    TFParGen& g = Open(type);
    EXPECT_EQ(pargen::ParGen_Bytes(type, g.Values()).toStdString(), pargen::ParGen_Bytes(type, saved).toStdString());
    Press(g.Btn_OK);
    EXPECT_EQ(Read_Bytes(file()).toStdString(), bytes.toStdString());
  }
}

TEST_F(ParGenWindow, EachFailedCheckShowsItsTextAndSavesNothing) {
  const struct {
    int type;
    const char* what;
    std::function<void(TFParGen&)> edit;
    int text;
  } cases[] = {
      {1, "ip 1", [](TFParGen& f) { f.E_IP[0]->SetText("256"); }, 110},
      {1, "mask 4", [](TFParGen& f) { f.E_SM[3]->SetText("x"); }, 117},
      {1, "gateway 2", [](TFParGen& f) { f.CB_ModTCPs_EN_GAT->SetChecked(true); f.E_GAT[1]->SetText(""); }, 119},
      {1, "port 10000", [](TFParGen& f) { f.E_PORT->SetText("10000"); }, 122},
      {1, "time-out 1 on variant 1", [](TFParGen& f) { Choose(f.CB_Select_Device, 1); f.E_MTCPs_Conn_TO->SetText("1"); }, 123},
      {1001, "delay", [](TFParGen& f) { f.E_MBus_Delay->SetText("65536"); }, 124},
      {1, "node state 256", [](TFParGen& f) { f.E_MBus_NodeState->SetText("256"); }, 125},
      {3, "two stop bits with even parity", [](TFParGen& f) { Choose(f.CB_ModSlave_StopBits, 1); Choose(f.CB_Par_Modbus_Slave, 1); }, 351},
      {2, "modbus id 0", [](TFParGen& f) { f.E_ID_Modbus_Slave->SetText("0"); }, 285},
      {3, "ethernet mask 1", [](TFParGen& f) { Choose(f.CB_Select_Device, 1); f.E_SM[0]->SetText("-1"); }, 359},
      {3, "ethernet gateway 4", [](TFParGen& f) { Choose(f.CB_Select_Device, 1); f.E_GAT[3]->SetText("1000"); }, 366},
      {4, "delay", [](TFParGen& f) { f.E_MBus_Delay->SetText("abc"); }, 124},
      {5, "two stop bits with odd parity", [](TFParGen& f) { Choose(f.CB_ModSlave_StopBits, 1); Choose(f.CB_Par_Modbus_Slave, 2); }, 351},
      {6, "modbus id 248", [](TFParGen& f) { f.E_ID_Modbus_Slave->SetText("248"); }, 285},
      {6, "node state with m-bus", [](TFParGen& f) { Choose(f.CB_SD_Wire_Present_MBus, 1); f.E_MBus_NodeState->SetText("x"); }, 125},
      {6, "ip 3", [](TFParGen& f) { f.E_IP[2]->SetText("x"); }, 288},
      {7, "port 0", [](TFParGen& f) { f.E_PORT->SetText("0"); }, 122},
      {1007, "delay with m-bus", [](TFParGen& f) { Choose(f.CB_SD_Wire_Present_MBus, 1); f.E_MBus_Delay->SetText("-5"); }, 124},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.type << ": " << c.what);
    QFile::remove(file());
    TFParGen& f = Open(c.type);
    c.edit(f);
    boxes.Clear();
    Press(f.Btn_OK);
    EXPECT_EQ(f.ModalResult(), mrNone);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Requests()[0].Type, mtError);
    EXPECT_EQ(boxes.Requests()[0].Text, Lang_Texts.value(c.text));
    EXPECT_TRUE(boxes.Requests()[0].Buttons == TMsgDlgButtons{mbOK});
    EXPECT_FALSE(QFile::exists(file()));
  }
}

TEST_F(ParGenWindow, MalformedFileGivesAClearErrorTheDefaultsAndStaysAsItWas) {
  const QByteArray broken = "<GeneralParameter><IP_1>10</IP_1>";
  {
    QFile out(file());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(broken);
  }
  TFParGen& f = Open(1);
  ASSERT_EQ(boxes.Count(), 1);
  EXPECT_EQ(boxes.Requests()[0].Type, mtError);
  EXPECT_TRUE(boxes.LastText().contains("ParGen.xml")) << boxes.LastText().toStdString();
  EXPECT_EQ(f.E_IP[0]->Text(), "192");
  EXPECT_EQ(Read_Bytes(file()), broken);
  // Cancel leaves it too.
  Press(f.Btn_Cancel);
  EXPECT_EQ(f.ModalResult(), mrCancel);
  EXPECT_EQ(Read_Bytes(file()), broken);
}

TEST_F(ParGenWindow, AFileThatCannotBeWrittenKeepsTheWindowOpen) {
  File_ParGen = dir.filePath("removed/ParGen.xml");
  TFParGen& f = Open(3);
  Press(f.Btn_OK);
  EXPECT_EQ(f.ModalResult(), mrNone);
  ASSERT_EQ(boxes.Count(), 1);
  EXPECT_EQ(boxes.Requests()[0].Type, mtError);
}

TEST_F(ParGenWindow, CancelAsksOnlyAfterAChange) {
  TFParGen& f = Open(3);
  Press(f.Btn_Cancel);
  EXPECT_EQ(f.ModalResult(), mrCancel);
  EXPECT_EQ(boxes.Count(), 0);

  // A typed change, then No keeps the window open and Yes closes it; nothing is written either way.
  f.SetModalResult(mrNone);
  f.FormShow(&f);
  f.E_MBus_Delay->SetText("5");
  EXPECT_TRUE(f.Is_Change);
  boxes.Answer(mrNo);
  Press(f.Btn_Cancel);
  EXPECT_EQ(f.ModalResult(), mrNone);
  ASSERT_EQ(boxes.Count(), 1);
  EXPECT_EQ(boxes.Requests()[0].Text, Lang_Texts.value(126));
  EXPECT_EQ(boxes.Requests()[0].Type, mtConfirmation);
  EXPECT_TRUE(boxes.Requests()[0].Buttons == mbYesNo);
  boxes.Answer(mrYes);
  Press(f.Btn_Cancel);
  EXPECT_EQ(f.ModalResult(), mrCancel);
  EXPECT_FALSE(QFile::exists(file()));

  // A click on a check box counts as a change, and the next showing forgets it.
  f.SetModalResult(mrNone);
  f.FormShow(&f);
  EXPECT_FALSE(f.Is_Change);
  f.CB_MBus_Fix_CField->SetChecked(true);
  EXPECT_TRUE(f.Is_Change);
  f.FormShow(&f);
  EXPECT_FALSE(f.Is_Change);
}

TEST_F(ParGenWindow, CouplingRules) {
  // Type 4: a new configuration has both ports on RS232; choosing RS232 on one side puts the other on RS485.
  TFParGen& f4 = Open(4);
  EXPECT_EQ(f4.CB_MBus_Serial->ItemIndex(), 1);
  EXPECT_EQ(f4.CB_Serial_Modbus_Slave->ItemIndex(), 1);
  Choose(f4.CB_Serial_Modbus_Slave, 0);
  Choose(f4.CB_MBus_Serial, 1);
  EXPECT_EQ(f4.CB_Serial_Modbus_Slave->ItemIndex(), 0);
  Choose(f4.CB_Serial_Modbus_Slave, 1);
  EXPECT_EQ(f4.CB_MBus_Serial->ItemIndex(), 0);

  // Type 1: the exception reply is enabled only while polling is cyclic, and keeps its state while disabled.
  TFParGen& f1 = Open(1);
  EXPECT_FALSE(f1.CB_MBus_Exception_Until_First_Read->Enabled());
  Choose(f1.CB_MBus_Polls, pargen::Polls_Cyclic);
  EXPECT_TRUE(f1.CB_MBus_Exception_Until_First_Read->Enabled());
  f1.CB_MBus_Exception_Until_First_Read->SetChecked(true);
  Choose(f1.CB_MBus_Polls, pargen::Polls_On_Request);
  EXPECT_FALSE(f1.CB_MBus_Exception_Until_First_Read->Enabled());
  EXPECT_TRUE(f1.CB_MBus_Exception_Until_First_Read->Checked());
  Press(f1.Btn_OK);
  plat::TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromFile(file()));
  EXPECT_EQ(doc.DocumentElement().FindNode("Reply_Exception_Until_First_Read").Text(), "1");
  EXPECT_EQ(doc.DocumentElement().FindNode("Meter_Req_Type").Text(), "1");
  // Type 1001 has no such rule.
  EXPECT_TRUE(Open(1001).CB_MBus_Exception_Until_First_Read->Enabled());

  // Types 6, 7 and 1007: polling is fixed on Cyclic.
  for (int type : {6, 7, 1007}) {
    QFile::remove(file());
    TFParGen& f = Open(type);
    Choose(f.CB_SD_Wire_Present_MBus, 1);
    EXPECT_EQ(f.CB_MBus_Polls->Text(), "Cyclic") << type;
    EXPECT_FALSE(f.CB_MBus_Polls->Enabled()) << type;
  }
}

// ---- layout --------------------------------------------------------------------------------------------------

struct Shown {
  std::vector<TGroupBox*> boxes;  // top to bottom
};

// The boxes the window shows, checked against the stacking rule, in order from the top.
std::vector<TGroupBox*> Stack(TFParGen& f) {
  std::vector<TGroupBox*> all = {f.GB_Select_Device, f.GB_Sel_Dev_Wire_Present, f.GB_Modbus_TCP_Slave,
                                 f.GB_MBus,          f.GB_Modbus_Slave,         f.GB_wMBus};
  std::vector<TGroupBox*> shown;
  for (TGroupBox* b : all)
    if (b->Visible()) shown.push_back(b);
  std::sort(shown.begin(), shown.end(), [](TGroupBox* a, TGroupBox* b) { return a->Top() < b->Top(); });
  int top = 70;
  for (TGroupBox* b : shown) {
    EXPECT_EQ(b->Top(), top) << b->Name().toStdString();
    EXPECT_EQ(b->Left(), 8) << b->Name().toStdString();
    top = Bottom(b) + 6;
  }
  const int last = shown.empty() ? 70 : Bottom(shown.back());
  EXPECT_EQ(f.ClientWidth(), 312);
  EXPECT_EQ(f.ClientHeight(), last + 54);
  EXPECT_EQ(f.P_Button->Top() + f.Btn_OK->Top(), last + 13);
  EXPECT_EQ(f.Btn_OK->Top(), f.Btn_Cancel->Top());
  return shown;
}

// Rows of a box, each given by its control; checks that the visible ones stand 34 pixels apart in this order
// (node state and the check-box rows are checked by their own tests) and that the box fits the last one.
void Expect_Rows(TGroupBox* box, const std::vector<TControl*>& rows) {
  int labelTop = 24;
  for (TControl* c : rows) {
    EXPECT_TRUE(c->Visible()) << c->Name().toStdString();
    EXPECT_EQ(c->Top(), labelTop - 3) << c->Name().toStdString();
    labelTop += 34;
  }
  EXPECT_EQ(box->Height(), Bottom(rows.back()) + 15) << box->Name().toStdString();
}

TEST_F(ParGenWindow, LayoutOfEachDeviceType) {
  {
    TFParGen& f = Open(1);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Select_Device, f.GB_Modbus_TCP_Slave, f.GB_MBus}));
    EXPECT_EQ(f.GB_Select_Device->Height(), 58);
    EXPECT_TRUE(f.L_ModTCPs_IP->Visible() && f.E_GAT[3]->Visible() && f.E_PORT->Visible());
    EXPECT_FALSE(f.E_MTCPs_Conn_TO->Visible());
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Caption(), " Modbus TCP Slave ");
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Height(), Bottom(f.E_PORT) + 15);
    // Baud .. delay on their slots, node state fifth, then the C field and the exception rows moved up.
    for (TControl* c : {static_cast<TControl*>(f.CB_MBus_Baud), static_cast<TControl*>(f.CB_MBus_Parity),
                        static_cast<TControl*>(f.CB_MBus_Polls), static_cast<TControl*>(f.E_MBus_Delay)})
      EXPECT_TRUE(c->Visible());
    EXPECT_EQ(f.CB_MBus_Baud->Top(), 21);
    EXPECT_EQ(f.E_MBus_Delay->Top(), 123);
    EXPECT_TRUE(f.L_MBus_NodeState1->Visible() && f.L_MBus_NodeState2->Visible() && f.E_MBus_NodeState->Visible());
    EXPECT_EQ(f.L_MBus_NodeState1->Top(), 157);
    EXPECT_EQ(f.E_MBus_NodeState->Top(), 170);
    EXPECT_FALSE(f.CB_MBus_Serial->Visible());
    EXPECT_FALSE(f.L_MBus_Serial->Visible());
    EXPECT_EQ(f.CB_MBus_Fix_CField->Top(), 194 - 3);
    EXPECT_EQ(f.CB_MBus_Fix_CField_Val->Top(), 194 - 3);
    EXPECT_EQ(f.CB_MBus_Exception_Until_First_Read->Top(), 228 - 3);
    EXPECT_EQ(f.GB_MBus->Height(), Bottom(f.CB_MBus_Exception_Until_First_Read) + 15);
    EXPECT_FALSE(f.GB_Modbus_Slave->Visible());
  }
  for (int type : {2, 3}) {
    TFParGen& f = Open(type);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Select_Device, f.GB_Modbus_Slave, f.GB_MBus}));
    Expect_Rows(f.GB_Modbus_Slave, {f.CB_Serial_Modbus_Slave, f.CB_Baud_Modbus_Slave, f.CB_Par_Modbus_Slave,
                                    f.CB_ModSlave_StopBits, f.E_ID_Modbus_Slave, f.CB_Protocol_Modbus_Slave});
    Expect_Rows(f.GB_MBus, {f.CB_MBus_Baud, f.CB_MBus_Parity, f.CB_MBus_Polls, f.E_MBus_Delay});
    EXPECT_FALSE(f.E_MBus_NodeState->Visible());
    EXPECT_FALSE(f.CB_MBus_Fix_CField->Visible());
    EXPECT_FALSE(f.CB_MBus_Exception_Until_First_Read->Visible());
  }
  {
    TFParGen& f = Open(4);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Modbus_Slave, f.GB_MBus}));
    Expect_Rows(f.GB_MBus, {f.CB_MBus_Serial, f.CB_MBus_Baud, f.CB_MBus_Parity, f.CB_MBus_Polls, f.E_MBus_Delay});
    EXPECT_TRUE(f.L_MBus_Serial->Visible());
  }
  {
    TFParGen& f = Open(5);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Modbus_Slave, f.GB_MBus}));
    EXPECT_FALSE(f.CB_Serial_Modbus_Slave->Visible());
    EXPECT_FALSE(f.L_ModSlave_Serial->Visible());
    Expect_Rows(f.GB_Modbus_Slave, {f.CB_Baud_Modbus_Slave, f.CB_Par_Modbus_Slave, f.CB_ModSlave_StopBits,
                                    f.E_ID_Modbus_Slave, f.CB_Protocol_Modbus_Slave});
    EXPECT_EQ(f.L_ModSlave_StopBits->Top(), f.CB_ModSlave_StopBits->Top() + 3);
    Expect_Rows(f.GB_MBus, {f.CB_MBus_Baud, f.CB_MBus_Parity, f.CB_MBus_Polls, f.E_MBus_Delay});
  }
  {
    TFParGen& f = Open(6);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Sel_Dev_Wire_Present, f.GB_Modbus_Slave, f.GB_wMBus,
                                                 f.GB_Modbus_TCP_Slave}));
    EXPECT_EQ(f.GB_Sel_Dev_Wire_Present->Height(), 58);
    EXPECT_EQ(f.GB_wMBus->Height(), 92);
    Expect_Rows(f.GB_Modbus_Slave, {f.CB_Serial_Modbus_Slave, f.CB_Baud_Modbus_Slave, f.CB_Par_Modbus_Slave,
                                    f.CB_ModSlave_StopBits, f.E_ID_Modbus_Slave});
    EXPECT_FALSE(f.CB_Protocol_Modbus_Slave->Visible());
    EXPECT_EQ(f.CB_Protocol_Modbus_Slave->ItemIndex(), 0);
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Caption(), " Ethernet ");
    EXPECT_FALSE(f.E_PORT->Visible());
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Height(), Bottom(f.E_GAT[0]) + 15);
    Choose(f.CB_SD_Wire_Present_MBus, 1);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Sel_Dev_Wire_Present, f.GB_Modbus_Slave, f.GB_wMBus, f.GB_MBus,
                                                 f.GB_Modbus_TCP_Slave}));
    EXPECT_TRUE(f.E_MBus_NodeState->Visible());
    EXPECT_EQ(f.GB_MBus->Height(), Bottom(f.E_MBus_NodeState) + 15);
  }
  for (int type : {7, 1007}) {
    TFParGen& f = Open(type);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Sel_Dev_Wire_Present, f.GB_Modbus_TCP_Slave, f.GB_wMBus}));
    EXPECT_TRUE(f.E_PORT->Visible() && f.E_MTCPs_Conn_TO->Visible());
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Caption(), " Modbus TCP Slave ");
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Height(), Bottom(f.E_MTCPs_Conn_TO) + 15);
  }
}

TEST_F(ParGenWindow, RowsDoNotOverlap) {
  // Within each shown box, no two visible parts of different rows share pixels.
  for (int type : Known_Device_Types) {
    TFParGen& f = Open(type);
    for (TGroupBox* b : Stack(f)) {
      std::vector<TControl*> parts;
      for (int i = 0; i < b->ControlCount(); ++i) {
        TControl* c = b->Controls(i);
        if (c->Visible() && c->Height() > 11) parts.push_back(c);
      }
      for (std::size_t i = 0; i < parts.size(); ++i)
        for (std::size_t j = i + 1; j < parts.size(); ++j) {
          const TRect a = parts[i]->BoundsRect(), c = parts[j]->BoundsRect();
          const bool overlap = a.Left < c.Right && c.Left < a.Right && a.Top < c.Bottom && c.Top < a.Bottom;
          EXPECT_FALSE(overlap) << "type " << type << ": " << parts[i]->Name().toStdString() << " and "
                                << parts[j]->Name().toStdString();
        }
      EXPECT_LE(b->Height(), 400);
    }
  }
}

TEST_F(ParGenWindow, VariantAndPresenceGrowAndShrinkTheWindow) {
  {
    TFParGen& f = Open(1);
    const int tcp = f.GB_Modbus_TCP_Slave->Height(), mbusTop = f.GB_MBus->Top(), height = f.ClientHeight();
    Choose(f.CB_Select_Device, 1);
    EXPECT_TRUE(f.E_MTCPs_Conn_TO->Visible());
    EXPECT_GT(f.GB_Modbus_TCP_Slave->Height(), tcp);
    EXPECT_GT(f.GB_MBus->Top(), mbusTop);
    EXPECT_GT(f.ClientHeight(), height);
    Stack(f);
    Choose(f.CB_Select_Device, 0);
    EXPECT_FALSE(f.E_MTCPs_Conn_TO->Visible());
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Height(), tcp);
    EXPECT_EQ(f.ClientHeight(), height);
  }
  {
    TFParGen& f = Open(3);
    const int height = f.ClientHeight();
    Choose(f.CB_Select_Device, 1);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Select_Device, f.GB_Modbus_Slave, f.GB_MBus,
                                                 f.GB_Modbus_TCP_Slave}));
    EXPECT_EQ(f.GB_Modbus_TCP_Slave->Caption(), " Ethernet ");
    EXPECT_FALSE(f.E_PORT->Visible());
    EXPECT_FALSE(f.E_MTCPs_Conn_TO->Visible());
    EXPECT_TRUE(f.E_GAT[3]->Visible());
    EXPECT_GT(f.ClientHeight(), height);
    Choose(f.CB_Select_Device, 0);
    EXPECT_FALSE(f.GB_Modbus_TCP_Slave->Visible());
    EXPECT_EQ(f.ClientHeight(), height);
  }
  {
    TFParGen& f = Open(7);
    const int height = f.ClientHeight();
    Choose(f.CB_SD_Wire_Present_MBus, 1);
    EXPECT_EQ(Stack(f), (std::vector<TGroupBox*>{f.GB_Sel_Dev_Wire_Present, f.GB_Modbus_TCP_Slave, f.GB_wMBus,
                                                 f.GB_MBus}));
    EXPECT_EQ(f.CB_MBus_Polls->ItemIndex(), pargen::Polls_Cyclic);
    EXPECT_FALSE(f.CB_MBus_Polls->Enabled());
    EXPECT_TRUE(f.E_MBus_NodeState->Visible());
    Choose(f.CB_SD_Wire_Present_MBus, 0);
    EXPECT_FALSE(f.GB_MBus->Visible());
    EXPECT_EQ(f.ClientHeight(), height);
  }
}

TEST_F(ParGenWindow, CollapseAndExpand) {
  TFParGen& f = Open(1);
  EXPECT_TRUE(f.Btn_MBus_Collapse->Visible());
  EXPECT_FALSE(f.Btn_MBus_Expande->Visible());
  EXPECT_EQ(f.Btn_MBus_Collapse->Left(), 280);
  EXPECT_EQ(f.Btn_MBus_Collapse->Top(), 10);
  EXPECT_EQ(f.Btn_MBus_Collapse->Width(), 11);
  EXPECT_EQ(f.Btn_MBus_Expande->Left(), 280);
  const int mbus = f.GB_MBus->Height(), tcpTop = f.GB_Modbus_TCP_Slave->Top(), height = f.ClientHeight();
  f.Btn_MBus_Collapse->Click();
  EXPECT_FALSE(f.GB_MBus_Visible);
  EXPECT_EQ(f.GB_MBus->Height(), 26);
  EXPECT_FALSE(f.CB_MBus_Baud->Visible());
  EXPECT_FALSE(f.Btn_MBus_Collapse->Visible());
  EXPECT_TRUE(f.Btn_MBus_Expande->Visible());
  EXPECT_EQ(f.GB_Modbus_TCP_Slave->Top(), tcpTop);
  EXPECT_EQ(f.ClientHeight(), height - (mbus - 26));
  Stack(f);
  // A collapsed box stays collapsed through a new layout.
  Choose(f.CB_Select_Device, 1);
  EXPECT_EQ(f.GB_MBus->Height(), 26);
  Choose(f.CB_Select_Device, 0);
  f.Btn_MBus_Expande->Click();
  EXPECT_TRUE(f.GB_MBus_Visible);
  EXPECT_EQ(f.GB_MBus->Height(), mbus);
  EXPECT_TRUE(f.CB_MBus_Baud->Visible());
  EXPECT_TRUE(f.Btn_MBus_Collapse->Visible());
  EXPECT_FALSE(f.Btn_MBus_Expande->Visible());
  EXPECT_EQ(f.ClientHeight(), height);

  // The variant box and, on type 4, the M-Bus box with its serial row first.
  f.Btn_Select_Device_Collapse->Click();
  EXPECT_EQ(f.GB_Select_Device->Height(), 26);
  EXPECT_FALSE(f.CB_Select_Device->Visible());
  EXPECT_EQ(f.GB_Modbus_TCP_Slave->Top(), 70 + 26 + 6);
  f.Btn_Select_Device_Expande->Click();
  EXPECT_EQ(f.GB_Select_Device->Height(), 58);
  EXPECT_TRUE(f.CB_Select_Device->Visible());

  TFParGen& f4 = Open(4);
  f4.Btn_MBus_Collapse->Click();
  EXPECT_FALSE(f4.CB_MBus_Serial->Visible());
  f4.Btn_MBus_Expande->Click();
  EXPECT_TRUE(f4.CB_MBus_Serial->Visible());
  Stack(f4);
}

TEST_F(ParGenWindow, DotMovesToTheNextAddressEdit) {
  TFParGen& f = Open(1);
  f.Show();
  f.Widget()->activateWindow();
  const struct {
    TEdit* from;
    TEdit* to;
  } cases[] = {{f.E_IP[0], f.E_IP[1]}, {f.E_IP[3], f.E_SM[0]}, {f.E_SM[3], f.E_GAT[0]}, {f.E_GAT[3], f.E_GAT[3]}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from->Name().toStdString());
    c.from->SetFocus();
    const QString before = c.from->Text();
    QTest::keyClick(c.from->Widget(), '.');
    EXPECT_EQ(c.from->Text(), before);
    EXPECT_TRUE(c.to->Focused());
  }
  // Other keys are typed.
  f.E_IP[0]->SetFocus();
  f.E_IP[0]->LineEdit()->selectAll();
  QTest::keyClicks(f.E_IP[0]->Widget(), "12");
  EXPECT_EQ(f.E_IP[0]->Text(), "12");
  f.Hide();
}

// Typing a whole address over a filled one: each "." moves on and selects the next field, so every number
// replaces what the field held.
TEST_F(ParGenWindow, TypingAnAddressOverAFilledOneReplacesEveryField) {
  TFParGen& f = Open(1);
  f.Show();
  f.Widget()->activateWindow();
  const char* Filled[4] = {"127", "168", "200", "205"};
  for (int i = 0; i < 4; ++i) f.E_IP[i]->SetText(QString::fromLatin1(Filled[i]));
  f.E_IP[0]->SetFocus();
  f.E_IP[0]->SelectAll();
  for (const char c : std::string("10.1.2.33")) QTest::keyClick(QApplication::focusWidget(), c);  // as typed
  const char* Typed[4] = {"10", "1", "2", "33"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.E_IP[i]->Text(), QString::fromLatin1(Typed[i])) << i;
  f.Hide();
}

TEST_F(ParGenWindow, SetLangTakesTheTextsOfTheTable) {
  TFParGen& f = Open(3);
  EXPECT_EQ(f.Caption(), "Set Communication");
  EXPECT_EQ(f.L_SW_Desc->Caption(), "Set Communication Setting");
  EXPECT_EQ(f.GB_MBus->Caption(), " M-Bus ");
  EXPECT_EQ(f.Btn_MBus_Collapse->Hint(), "Collapse");
  EXPECT_EQ(f.Btn_MBus_Expande->Hint(), "Expand");
  EXPECT_EQ(f.L_SW_Code->Caption(), "SW51645");
  Lang_Texts[101] = " Zaehler ";
  Lang_Texts[275] = "Zyklisch";
  Lang_Texts[352] = "Stoppbits";
  Lang_Texts[354] = " Netz ";
  f.Set_Lang();
  EXPECT_EQ(f.GB_MBus->Caption(), " Zaehler ");
  EXPECT_EQ(f.CB_MBus_Polls->Items()->Strings(1), "Zyklisch");
  EXPECT_EQ(f.CB_MBus_Polls->Items()->Count(), 3);
  EXPECT_EQ(f.L_ModSlave_StopBits->Caption(), "Stoppbits");
  EXPECT_EQ(f.GB_Modbus_TCP_Slave->Caption(), " Netz ");
  // Fixed texts stay.
  EXPECT_EQ(f.GB_Sel_Dev_Wire_Present->Caption(), " Select Device ");
  EXPECT_EQ(f.CB_MBus_Exception_Until_First_Read->Caption(), "Reply with Exception Until First Read");
  EXPECT_EQ(Open(1).CB_MBus_Polls->Items()->Count(), 2);
}

TEST_F(ParGenWindow, ShownModallyItReadsTheFileAndClosesAsAsked) {
  TFParGen& f = Open(3);
  pargen::TParGen_Data d = pargen::ParGen_Defaults(3);
  d.Mod_Id = "42";
  ASSERT_TRUE(pargen::Save_ParGen(file(), 3, d));
  // OK after a showing: the showing read the file, OK wrote it back.
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(f.E_ID_Modbus_Slave->Text(), "42");
    f.E_ID_Modbus_Slave->SetText("43");
    Press(f.Btn_OK);
  });
  EXPECT_EQ(f.ShowModal(), mrOk);
  pargen::TParGen_Data back = pargen::ParGen_Defaults(3);
  pargen::Read_ParGen(file(), 3, back);
  EXPECT_EQ(back.Mod_Id, "43");
  // The window's close button discards a change without asking.
  QTimer::singleShot(0, [&] {
    f.E_ID_Modbus_Slave->SetText("44");
    f.Widget()->close();
  });
  EXPECT_EQ(f.ShowModal(), mrCancel);
  EXPECT_EQ(boxes.Count(), 0);
  pargen::Read_ParGen(file(), 3, back);
  EXPECT_EQ(back.Mod_Id, "43");
}

TEST_F(ParGenWindow, ActivationMovesAWindowAboveTheScreenDown) {
  TFParGen& f = Open(3);
  f.SetTop(-40);
  f.FormActivate(&f);
  EXPECT_EQ(f.Top(), 0);
  f.SetTop(25);
  f.FormActivate(&f);
  EXPECT_EQ(f.Top(), 25);
}

}  // namespace
