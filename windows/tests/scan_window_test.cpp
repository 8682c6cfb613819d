// The Scan & Decode window as a user takes it, against the simulated converter on loopback (scanner
// 127.0.0.1, converter 127.0.0.2) in real time: a primary scan from the main window that finds the simulated
// meters, their records in the tree, a save, the saved network opened in the network editor and compiled; a
// wireless session with a key given through the key dialog; and the checks the window makes before a scan.

#include <QLineEdit>
#include <QTest>

#include "input_helpers.h"
#include "core/compiler.h"
#include "core/mbus_network.h"
#include "core/network_checks.h"
#include "core/par_gen_file.h"
#include "platform/forms/menus.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/canvastracer.h"
#include "scanner/tests/corpus_support.h"
#include "tools/converter_sim/converter_sim.h"
#include "tools/converter_sim/radio_sim.h"
#include "grid/column_grid.h"
#include "windows/insert_key_wireless.h"
#include "windows/meter_bus.h"
#include "windows/modbus_start_add_sd.h"
#include "windows/scan_modbus_start.h"
#include "windows/scan_decode.h"
#include "windows_fixture.h"

using namespace plat;
using lazytree::PLazyNode;

namespace {

convsim::TSimMeter Meter(uint8_t Primary, uint32_t Id, const char* File) {
  std::vector<uint8_t> t;
  EXPECT_TRUE(corpus::Read_Hex(corpus::Dir("test-frames") + u'/' + QLatin1StringView(File) + QStringLiteral(".hex"), t));
  convsim::TSimMeter m;
  std::string why;
  EXPECT_TRUE(convsim::Make_Meter(Primary, Id, {t}, m, &why)) << why;
  return m;
}

void Shot(const char* Name) {
  FScanDecode->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/") + QLatin1StringView(Name));
}

std::vector<PLazyNode> Children(TScan_Tree* Tree, PLazyNode Parent) {
  std::vector<PLazyNode> out;
  for (PLazyNode n = Parent ? Parent->FirstChild : Tree->GetFirstChild(nullptr); n; n = n->NextSibling)
    out.push_back(n);
  return out;
}

// A real left click on a part of the node's row (its check box, its caption), wherever the tree shows it.
void Click_Part(TScan_Tree* Tree, PLazyNode Node, lazytree::THitPosition Part) {
  const plat::TRect r = Tree->GetDisplayRect(Node, lazytree::NoColumn, false);
  const int y = (r.Top + r.Bottom) / 2;
  for (int x = 0; x < Tree->ClientWidth(); ++x) {
    lazytree::THitInfo hit;
    Tree->GetHitTestInfoAt(x, y, true, hit);
    if (hit.HitNode == Node && hit.HitPositions.Has(Part)) {
      QTest::mouseClick(Tree->Widget(), Qt::LeftButton, {}, QPoint(x + 4, y));
      return;
    }
  }
  ADD_FAILURE() << "no such part in the node's row";
}

// The image index each shown node's row paints, traced on an unbuffered paint of that row alone. A row's node
// image is its rightmost image-list picture (the check box comes before it).
std::map<PLazyNode, int> Painted_Images(TScan_Tree* Tree) {
  std::map<PLazyNode, int> out;
  for (PLazyNode n = Tree->GetFirstVisible(); n; n = Tree->GetNextVisible(n)) {
    const plat::TRect r = Tree->GetDisplayRect(n, lazytree::NoColumn, false);
    if (r.Bottom > Tree->ClientHeight()) break;
    QImage image(Tree->ClientWidth(), r.Height(), QImage::Format_ARGB32);
    TCanvas canvas(&image);
    TRecordingTracer tracer;
    canvas.SetTracer(&tracer);
    Tree->PaintTree(&canvas, plat::Rect(0, r.Top, Tree->ClientWidth(), r.Bottom), {0, 0},
                    lazytree::WindowPaintOptions + lazytree::TLTInternalPaintOptions{lazytree::poUnbuffered});
    int left = -1;
    for (const TCanvasTraceRecord& d : tracer.OfKind(TraceKind::Draw)) {
      if (d.Text != "ImageList" || d.Rect.Left <= left) continue;
      left = d.Rect.Left;
      out[n] = int(d.Flags);
    }
  }
  return out;
}

class ScanWindow : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    QString error;
    ASSERT_TRUE(Sim.Start(QStringLiteral("127.0.0.2"), 0, &error)) << error.toStdString();
    TScan_Setup& s = Scan_Setup();
    s.Net.Bind_Address = QStringLiteral("127.0.0.1");
    s.Net.Local_Port = 0;
    s.Net.Converter_Port = Sim.Port();
    s.Timing = TScanTiming{};
    s.Timing.First_Primary = 0;
    s.Timing.Last_Primary = 4;
    s.Timing.Primary_Sleep = 20;
    s.Timing.Step_Pause = 2;
    s.Timing.Idle_Pause = 2;
    s.Timing.Time_Out_Base = 150;
    s.Timing.Radio_Slot_Time_Out = 10;
    s.Timing.Radio_Block_Time_Out = 50;
    Previous_Runner = SetPopupMenuRunner([](TPopupMenu*, int, int) { return static_cast<TMenuItem*>(nullptr); });
  }
  void TearDown() override {
    SetPopupMenuRunner(Previous_Runner);
    WindowsTest::TearDown();  // frees the window, which ends its scanner
    Sim.Stop();
    Scan_Setup() = TScan_Setup{};
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    qDeleteAll(List_Dev_MBus);
    List_Dev_MBus.clear();
    qDeleteAll(List_Dev_Wireless);
    List_Dev_Wireless.clear();
  }

  // A configuration whose settings point the scan at the simulated converter.
  void Open_Project() {
    QDir().mkpath(dir_.filePath("PROJECTS/Plant1/bin"));
    Dir_Project = dir_.filePath("PROJECTS/Plant1");
    FTessaroneFirmWare->Set_Files();
    pargen::TParGen_Data settings = pargen::ParGen_Defaults();
    settings.IP = {"127", "0", "0", "2"};
    ASSERT_TRUE(pargen::Save_ParGen(File_ParGen, Device_Type, settings));
  }

  // The simulator runs on its own thread from SetUp on: its bus changes under its lock.
  void Set_Meters(std::vector<convsim::TSimMeter> Meters) {
    std::lock_guard<std::mutex> l(Sim.Core.Lock);
    Sim.Core.Bus.Meters = std::move(Meters);
  }

  bool Converter_In_Normal_Mode() {
    std::lock_guard<std::mutex> l(Sim.Core.Lock);
    return Sim.Core.Mode == convsim::TConverterCore::TMode::Normal;
  }

  convsim::TConverterSim Sim;
  TPopupMenuRunner Previous_Runner;
};

TEST_F(ScanWindow, PrimaryScanFromTheMainWindowSavedOpenedAndCompiled) {
  Set_Meters({Meter(1, 0x11111111, "emh_diz"), Meter(3, 0x33333333, "kamstrup_382_005")});
  Start();
  Open_Project();
  TFScanDecode* f = FScanDecode;
  bool done = false;
  size_t records = 0;
  OnModal(f, [&] {
    EXPECT_EQ(f->Style(), TScan_Style::Idle);
    EXPECT_EQ(QStringList({f->E_IP1->Text(), f->E_IP2->Text(), f->E_IP3->Text(), f->E_IP4->Text()}),
              QStringList({"127", "0", "0", "2"}));
    EXPECT_FALSE(f->CB_ScanMethod->Visible());  // a wired-only device
    EXPECT_FALSE(f->CB_HardwareType->Enabled());
    Shot("scan_decode_idle.png");
    Click(f->Btn_StartScan);
    EXPECT_EQ(f->Style(), TScan_Style::Wired_Running);
    EXPECT_TRUE(f->T_InScan->Enabled());
    // A second start while the scan runs changes nothing.
    f->StartScan();
    EXPECT_EQ(boxes_.LastText(), T(426));
    WaitUntil([&] { return f->LB_AvailableDevice->Items()->Count() >= 2; }, 20000);
    Shot("scan_decode_running.png");
    WaitUntil([&] { return f->Style() == TScan_Style::Wired_Ended; }, 30000);
    ASSERT_EQ(f->Style(), TScan_Style::Wired_Ended);
    QStringList lines;
    for (int i = 0; i < f->LB_AvailableDevice->Items()->Count(); ++i) lines << f->LB_AvailableDevice->Items()->Strings(i);
    EXPECT_EQ(lines, QStringList({"ID = 0\t[NOT FOUND]", "ID = 1\t", "ID = 2\t[NOT FOUND]", "ID = 3\t",
                                  "ID = 4\t[NOT FOUND]"}));
    EXPECT_EQ(f->L_Num_Slave->Caption(), "2");
    const auto slaves = Children(f->LST, nullptr);
    ASSERT_EQ(slaves.size(), 2u);
    EXPECT_TRUE(f->LST->Caption(slaves[0]).startsWith("Primary Address = 1 - Secondary Address = 11111111 - "))
        << f->LST->Caption(slaves[0]).toStdString();
    const auto recs = Children(f->LST, slaves[0]);
    ASSERT_FALSE(recs.empty());
    records = recs.size();
    EXPECT_TRUE(f->LST->Caption(recs[0]).startsWith("Value = ")) << f->LST->Caption(recs[0]).toStdString();
    const auto details = Children(f->LST, recs[0]);
    ASSERT_EQ(details.size(), 12u);
    EXPECT_TRUE(f->LST->Caption(details[8]).startsWith("VIF = $"));
    // Every slave and record counts as ticked, also those never shown; the user unticks the first record.
    for (PLazyNode s : slaves) EXPECT_EQ(s->CheckState, lazytree::csCheckedNormal);
    f->LST->ToggleNode(slaves[0]);
    Click_Part(f->LST, recs[0], lazytree::hiOnItemCheckbox);
    EXPECT_EQ(recs[0]->CheckState, lazytree::csUncheckedNormal);
    Click_Part(f->LST, recs[1], lazytree::hiOnItemLabel);
    EXPECT_TRUE(f->LST->Selected(recs[1]));
    EXPECT_EQ(recs[1]->CheckState, lazytree::csCheckedNormal) << "a click on the caption only selects";
    // A node's normal and selected picture is its level; it has no state or overlay picture.
    f->LST->ToggleNode(recs[0]);
    const struct {
      PLazyNode Node;
      int Level;
    } levels[] = {{slaves[0], 0}, {slaves[1], 0}, {recs[0], 1}, {recs[1], 1}, {details[0], 2}, {details[11], 2}};
    for (const auto& c : levels) {
      const auto query = [&](lazytree::TLTImageKind Kind) {
        bool ghosted = false;
        int index = -1;
        f->LST->QueryImageIndex(c.Node, Kind, lazytree::NoColumn, ghosted, index);
        return index;
      };
      EXPECT_EQ(query(lazytree::ikNormal), c.Level) << f->LST->Caption(c.Node).toStdString();
      EXPECT_EQ(query(lazytree::ikSelected), c.Level);
      EXPECT_EQ(query(lazytree::ikState), -1);
      EXPECT_EQ(query(lazytree::ikOverlay), -1);
    }
    EXPECT_EQ(f->LST->Images(), f->IL_Tree1);
    EXPECT_EQ(f->LST_Wireless->Images(), f->IL_Tree1);
    EXPECT_EQ(f->IL_Tree1->Count(), 3);
    const std::map<PLazyNode, int> painted = Painted_Images(f->LST);
    ASSERT_GE(painted.size(), 16u) << "two slaves, one unfolded with its records, one record with its details";
    for (const auto& [n, index] : painted)
      EXPECT_EQ(index, int(f->LST->GetNodeLevel(n))) << f->LST->Caption(n).toStdString();
    EXPECT_EQ(painted.at(details[0]), 2);
    Shot("scan_decode_done.png");
    Click(f->Btn_SaveConf);
    EXPECT_EQ(boxes_.LastText(), T(430));
    done = true;
    f->Close();
  });
  FTessaroneFirmWare->Btn_ScanDecode->Click();
  ASSERT_TRUE(done);
  EXPECT_FALSE(f->T_InScan->Enabled());
  EXPECT_TRUE(Converter_In_Normal_Mode());

  const core::net::TRead_Result r = core::net::Load_Network(File_MBus, Device_Type);
  ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
  ASSERT_EQ(r.Network.Nodi_List.size(), 2u);
  EXPECT_EQ(r.Network.Nodi_List[0].Node_Pri, 1);
  EXPECT_EQ(r.Network.Nodi_List[1].Node_Pri, 3);
  ASSERT_EQ(r.Network.Nodi_List[0].Var_List.size(), records);
  EXPECT_FALSE(r.Network.Nodi_List[0].Var_List[0].Enable);
  EXPECT_TRUE(r.Network.Nodi_List[1].Var_List.at(0).Enable);  // never unfolded, still ticked
  EXPECT_EQ(r.Network.Nodi_List[0].Cut_After, 2);              // three telegrams typed, the index stored

  // The network editor opens what was saved, and the configuration compiles.
  int shown = -1;
  OnModal(FMeter_Bus, [&] {
    shown = FMeter_Bus->NODE_ORIG->Count();
    FMeter_Bus->SetModalResult(mrCancel);
  });
  FTessaroneFirmWare->Btn_MBus->Click();
  EXPECT_EQ(shown, 2);
  Bank_Device_Type = Device_Type;
  Bank_Sel_Dev = 0;
  EXPECT_NO_THROW(Compile_Configuration());
}

TEST_F(ScanWindow, ClosingMidScanEndsTheScanAndTheNextShowingStartsIdle) {
  Scan_Setup().Timing.Last_Primary = 250;
  Start();
  Open_Project();
  TFScanDecode* f = FScanDecode;
  OnModal(f, [&] {
    f->Ciclic1Click(nullptr);  // cyclic scanning, which closing ends too
    EXPECT_EQ(f->Style(), TScan_Style::Wired_Running);
    WaitUntil([&] { return f->LB_AvailableDevice->Items()->Count() >= 1; }, 10000);
    f->Close();
  });
  f->ShowModal();
  EXPECT_FALSE(f->T_InScan->Enabled());
  EXPECT_FALSE(f->Cyclic_Scan);
  WaitUntil([&] { return !f->TR_ScanDecode->FInScan; }, 5000);
  EXPECT_FALSE(f->TR_ScanDecode->FInScan);
  EXPECT_TRUE(Converter_In_Normal_Mode());
  TScan_Style style = TScan_Style::Wired_Running;
  OnModal(f, [&] {
    style = f->Style();
    f->Close();
  });
  f->ShowModal();
  EXPECT_EQ(style, TScan_Style::Idle);
}

TEST_F(ScanWindow, StartChecksTheAddressAndTheWirelessPort) {
  Start();
  TFScanDecode* f = FScanDecode;
  f->Form_Type = 1;
  f->Move_Object_Type_Form();
  f->CB_ScanMethod->SetItemIndex(1);
  f->Move_Object_Type_Form();
  EXPECT_TRUE(f->E_Port->Visible());
  EXPECT_FALSE(f->CB_MBus_Baud->Visible());
  EXPECT_EQ(f->ClientHeight(), 539);
  Type(f->E_IP1, "127");
  Type(f->E_IP2, "0");
  Type(f->E_IP3, "0");
  Type(f->E_IP4, "2");
  const struct {
    const char* Port;
    int Message;  // 0: no message
  } cases[] = {{"70000", 438}, {"x", 438}, {"-1", 438}, {"0", 0}};
  for (const auto& c : cases) {
    boxes_.Clear();
    Type(f->E_Port, QString::fromLatin1(c.Port));
    f->Select_Scan();
    if (c.Message) {
      EXPECT_EQ(boxes_.LastText(), T(c.Message)) << c.Port;
    } else {
      EXPECT_EQ(boxes_.Count(), 0) << c.Port;
    }
    EXPECT_EQ(f->Style(), TScan_Style::Idle) << c.Port;  // port 0 passes the check, but the scanner takes no port 0
  }
  // An address that is no address starts nothing.
  boxes_.Clear();
  f->CB_ScanMethod->SetItemIndex(0);
  Type(f->E_IP4, "300");
  f->Select_Scan();
  EXPECT_EQ(boxes_.LastText(), T(71));
  EXPECT_EQ(f->Style(), TScan_Style::Idle);
  // "." moves on to the next field and is not typed.
  Type(f->E_IP1, "12.");
  EXPECT_EQ(f->E_IP1->Text(), "12");
}

TEST_F(ScanWindow, WirelessSessionWithAKeyGivenThroughTheDialog) {
  convsim::TRadioModuleSim module(convsim::TRadioModuleSim::TFamily::Telit);
  {
    std::lock_guard<std::mutex> l(Sim.Core.Lock);  // the simulator already runs on its own thread
    module.Install(Sim.Core);
  }
  const convsim::TBytes plain = {0x18, 0x44, 0x2D, 0x2C, 0x11, 0x11, 0x11, 0x11, 0x1B, 0x16, 0x7A, 0x21, 0x00,
                                 0x00, 0x00, 0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x02, 0x5A, 0x2C, 0x01};
  const convsim::TBytes encrypted = {0x18, 0x44, 0x2D, 0x2C, 0x22, 0x22, 0x22, 0x22, 0x1B, 0x16, 0x7A, 0x21, 0x00,
                                     0x00, 0x05, 0x93, 0x11, 0x7E, 0x02, 0x44, 0xA0, 0x31, 0x00, 0x12, 0x9C};
  const convsim::TBytes decrypted = {0x1A, 0x44, 0x2D, 0x2C, 0x22, 0x22, 0x22, 0x22, 0x1B, 0x16, 0x7A, 0x21, 0x00,
                                     0x00, 0x05, 0x2F, 0x2F, 0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x02, 0x5A, 0x2C, 0x01};
  convsim::TWirelessTransmitter air(module, {{plain, {}}, {encrypted, decrypted}}, 30, true, 0x40,
                                    [this](const convsim::TBytes& d) { return Sim.Send_To_Peer(d); });
  Start();
  Open_Project();
  TFScanDecode* f = FScanDecode;
  f->Form_Type = 1;
  f->XML_Code_Dev = 13;
  f->FileName_MBus = File_MBus;
  bool done = false;
  OnModal(f, [&] {
    f->CB_ScanMethod->SetItemIndex(1);
    f->Move_Object_Type_Form();
    Type(f->E_Port, QString::number(Sim.Port()));
    Click(f->Btn_StartScan);
    ASSERT_EQ(f->Style(), TScan_Style::Wireless_Running);
    WaitUntil([&] { return f->ESG_Wireless->RowCount() >= 3 && !f->ESG_Wireless->Cells(8, 2).isEmpty(); }, 20000);
    ASSERT_GE(f->ESG_Wireless->RowCount(), 3);
    int keyed = -1;
    for (int row = 1; row < f->ESG_Wireless->RowCount(); ++row) {
      if (f->ESG_Wireless->Cells(8, row) == "22222222") keyed = row;
    }
    ASSERT_GE(keyed, 1);
    const int readable = keyed == 1 ? 2 : 1;
    EXPECT_EQ(f->ESG_Wireless->Cells(0, keyed), QString::number(keyed));
    EXPECT_EQ(f->ESG_Wireless->Row_Color(keyed), TColor(12172287));
    EXPECT_EQ(f->ESG_Wireless->Row_Color(readable), TColor(11075496));
    // The row number keeps the grid's own colour; the lock sits in column 12 (closed 0, open 1).
    EXPECT_EQ(f->ESG_Wireless->Colors(0, keyed), clNone);
    EXPECT_EQ(f->ESG_Wireless->Colors(12, keyed), TColor(12172287));
    EXPECT_EQ(f->ESG_Wireless->Row_Image(keyed), 0);
    EXPECT_EQ(f->ESG_Wireless->Row_Image(readable), 1);
    EXPECT_EQ(f->ESG_Wireless->Cells(2, readable), "0x44");
    EXPECT_EQ(f->ESG_Wireless->Cells(8, readable), "11111111");
    f->ESG_WirelessClickCell(keyed);
    const auto top = Children(f->LST_Wireless, nullptr);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_TRUE(f->LST_Wireless->Caption(top[0]).endsWith(" - CRIPTED!!")) << f->LST_Wireless->Caption(top[0]).toStdString();
    Shot("scan_decode_wireless.png");
    // A readable device's row opens no key dialog.
    int opened = 0;
    f->ESG_WirelessDblClickCell(readable);
    // A mouse double click on the encrypted device's row opens the key dialog; cancelled, nothing changes.
    {
      int cancelled = 0;
      OnModal(FInsertKeyWireless, [&] {
        ++cancelled;
        FInsertKeyWireless->SetModalResult(mrCancel);
      });
      const TRect cell = f->ESG_Wireless->CellRect(3, keyed);
      QWidget* grid = f->ESG_Wireless->Widget();
      const QPoint at = grid->mapTo(grid->window(), QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
      QTest::mouseDClick(grid->window()->windowHandle(), Qt::LeftButton, {}, at);
      EXPECT_EQ(cancelled, 1);
      EXPECT_EQ(f->ESG_Wireless->Row_Color(keyed), TColor(12172287));
    }
    OnModal(FInsertKeyWireless, [&] {
      ++opened;
      Type(FInsertKeyWireless->E_Key, "000000000000000000000000000000005a");
      Click(FInsertKeyWireless->Btn_OK);
      if (FInsertKeyWireless->ModalResult() == mrNone) FInsertKeyWireless->SetModalResult(mrCancel);
    });
    f->ESG_WirelessDblClickCell(keyed);
    EXPECT_EQ(opened, 1);
    WaitUntil([&] { return f->ESG_Wireless->Row_Color(keyed) == TColor(11075496); }, 20000);
    EXPECT_EQ(f->ESG_Wireless->Row_Color(keyed), TColor(11075496));
    EXPECT_EQ(f->ESG_Wireless->Row_Image(keyed), 1);
    f->ESG_Wireless->SetLeftCol(8);
    Shot("scan_decode_wireless_locks.png");
    f->ESG_Wireless->SetLeftCol(0);
    f->ESG_WirelessClickCell(keyed);
    const auto keyed_top = Children(f->LST_Wireless, nullptr);
    ASSERT_EQ(keyed_top.size(), 1u);
    EXPECT_FALSE(f->LST_Wireless->Caption(keyed_top[0]).contains("CRIPTED"));
    EXPECT_FALSE(Children(f->LST_Wireless, keyed_top[0]).empty());
    // A mouse click on a device's row shows that device's tree.
    {
      const TRect cell = f->ESG_Wireless->CellRect(3, readable);
      QTest::mouseClick(f->ESG_Wireless->Widget(), Qt::LeftButton, {},
                        QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
      const auto clicked_top = Children(f->LST_Wireless, nullptr);
      ASSERT_EQ(clicked_top.size(), 1u);
      EXPECT_TRUE(f->LST_Wireless->Caption(clicked_top[0]).contains("Address = 11111111"))
          << f->LST_Wireless->Caption(clicked_top[0]).toStdString();
    }
    // Unticking the device in its tree leaves it out of the save.
    f->ESG_WirelessClickCell(readable);
    f->LST_Wireless->Click_Check(Children(f->LST_Wireless, nullptr)[0]);
    Click(f->Btn_StopScan);
    WaitUntil([&] { return f->Style() == TScan_Style::Wireless_Ended; }, 10000);
    ASSERT_EQ(f->Style(), TScan_Style::Wireless_Ended);
    Shot("scan_decode_wireless_done.png");
    Click(f->Btn_SaveConf);
    EXPECT_EQ(boxes_.LastText(), T(430));
    done = true;
    f->Close();
  });
  f->ShowModal();
  ASSERT_TRUE(done);
  EXPECT_TRUE(Converter_In_Normal_Mode());
  const QByteArray saved = Read("PROJECTS/Plant1/M_Bus.xml");
  EXPECT_TRUE(saved.contains("Nodo")) << saved.toStdString();
}

// Saving asks before it touches an existing file, and the start dialogs come only with the device codes that
// use them.
TEST_F(ScanWindow, SaveAsksAndShowsTheStartDialogsByDeviceCode) {
  Set_Meters({Meter(1, 0x11111111, "emh_diz"), Meter(2, 0x22222222, "emh_diz"),
              Meter(3, 0x33333333, "kamstrup_382_005"), Meter(4, 0x44444444, "emh_diz")});
  Start();
  Open_Project();
  TFScanDecode* f = FScanDecode;
  f->FileName_MBus = File_MBus;
  f->XML_Code_Dev = 1;
  OnModal(f, [&] {
    f->StartScan();
    WaitUntil([&] { return f->Style() == TScan_Style::Wired_Ended; }, 30000);
    ASSERT_EQ(f->L_Num_Slave->Caption(), "4");
    Write("PROJECTS/Plant1/M_Bus.xml", "<M-Bus_Network/>");
    const QByteArray before = Read("PROJECTS/Plant1/M_Bus.xml");
    // Cancel on the question saves nothing and shows no dialog.
    boxes_.Clear();
    boxes_.Answer(mrCancel);
    f->Select_SaveXML(0);
    EXPECT_EQ(boxes_.Count(), 1);
    EXPECT_EQ(boxes_.LastText(), T(437));
    EXPECT_EQ(Read("PROJECTS/Plant1/M_Bus.xml"), before);
    // "Save Node Add. Conf." replacing the file: one start register per found slave, from the dialog's grid.
    boxes_.Clear();
    boxes_.Answer(mrNo);
    int rows = -1;
    OnModal(FModbusStartAdd_SD, [&] {
      rows = FModbusStartAdd_SD->Data_Rows;
      for (int r = 1; r <= 4; ++r) FModbusStartAdd_SD->sga->SetCells(1, r, QString::number(1000 * r));
      Click(FModbusStartAdd_SD->Frame.Btn_OK);
      if (FModbusStartAdd_SD->ModalResult() == mrNone) FModbusStartAdd_SD->SetModalResult(mrCancel);
    });
    f->Select_SaveXML(1);
    EXPECT_EQ(rows, 4);
    EXPECT_EQ(boxes_.LastText(), T(430));
    // Device code 5 shows no start dialog, also when appending.
    f->XML_Code_Dev = 5;
    boxes_.Clear();
    boxes_.Answer(mrYes);
    f->Select_SaveXML(0);
    EXPECT_EQ(boxes_.LastText(), T(430));
    f->Close();
  });
  f->ShowModal();
  const core::net::TRead_Result r = core::net::Load_Network(File_MBus, Device_Type);
  ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
  ASSERT_EQ(r.Network.Nodi_List.size(), 8u);  // four, then the same four appended
  EXPECT_EQ(r.Network.Nodi_List[0].Var_List.at(0).Modbus_Register, 1000);
  EXPECT_EQ(r.Network.Nodi_List[3].Var_List.at(0).Modbus_Register, 4000);
}

// A scan saved into a network that already publishes registers: the start register proposed comes after them,
// one that would collide is refused with the editor's collision message before anything is written, and the
// per-node starts are proposed one after the other.
TEST_F(ScanWindow, AppendedScanNeverGivesARegisterToTwoValues) {
  Set_Meters({Meter(1, 0x11111111, "emh_diz"), Meter(2, 0x22222222, "emh_diz")});
  Start();
  Open_Project();
  TFScanDecode* f = FScanDecode;
  f->FileName_MBus = File_MBus;
  f->XML_Code_Dev = 1;
  const QByteArray existing =
      "<M-Bus_Network><Nodo Node_Enable=\"1\" ID_Primary=\"9\" Descrizione=\"Boiler\" Node_State=\"5\">"
      "<Variabile Enable=\"1\" Desc=\"Energy\" Type=\"0\" Fun_Field=\"0\" Dim=\"2\" ModReg=\"10\" ModScale=\"0\"/>"
      "</Nodo></M-Bus_Network>";
  QString proposed, refusal;
  QStringList starts;
  OnModal(f, [&] {
    f->StartScan();
    WaitUntil([&] { return f->Style() == TScan_Style::Wired_Ended; }, 30000);
    ASSERT_EQ(f->L_Num_Slave->Caption(), "2");
    Write("PROJECTS/Plant1/M_Bus.xml", existing);
    boxes_.Clear();
    boxes_.Answer(mrYes);
    OnModal(FScanModbusStart, [&] {
      proposed = FScanModbusStart->E_StartModAdd->Text();
      Type(FScanModbusStart->E_StartModAdd, "11");
      Click(FScanModbusStart->Frame.Btn_OK);
      refusal = boxes_.LastText();
      if (FScanModbusStart->ModalResult() != mrNone) return;
      Type(FScanModbusStart->E_StartModAdd, proposed);
      Click(FScanModbusStart->Frame.Btn_OK);
    });
    f->Select_SaveXML(0);
    EXPECT_EQ(Read("PROJECTS/Plant1/M_Bus.xml").count("<Nodo"), 3);
    // The per-node table proposes each slave a start after the network and the slave above it.
    boxes_.Answer(mrYes);
    OnModal(FModbusStartAdd_SD, [&] {
      starts = FModbusStartAdd_SD->Start_Texts();
      FModbusStartAdd_SD->sga->SetCells(1, 2, starts.value(0));  // both slaves on one register: refused
      Click(FModbusStartAdd_SD->Frame.Btn_OK);
      EXPECT_EQ(FModbusStartAdd_SD->ModalResult(), mrNone);
      FModbusStartAdd_SD->sga->SetCells(1, 2, starts.value(1));
      Click(FModbusStartAdd_SD->Frame.Btn_OK);
      if (FModbusStartAdd_SD->ModalResult() == mrNone) FModbusStartAdd_SD->SetModalResult(mrCancel);
    });
    f->Select_SaveXML(1);
    EXPECT_EQ(boxes_.LastText(), T(430));
    // Without a start dialog (device code 5) the appended scan starts after the network too.
    f->XML_Code_Dev = 5;
    boxes_.Answer(mrYes);
    f->Select_SaveXML(0);
    EXPECT_EQ(boxes_.LastText(), T(430));
    f->Close();
  });
  f->ShowModal();
  EXPECT_EQ(proposed, "12");
  EXPECT_EQ(refusal, T(189) + "Boiler" + T(190) + "Energy" + T(191));
  ASSERT_EQ(starts.size(), 2);
  const core::net::TRead_Result r = core::net::Load_Network(File_MBus, Device_Type);
  ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
  ASSERT_EQ(r.Network.Nodi_List.size(), 7u);
  EXPECT_EQ(r.Network.Nodi_List[1].Var_List.at(0).Modbus_Register, 12);
  EXPECT_FALSE(core::net::Find_Overlap(r.Network, Device_Type));
  EXPECT_EQ(starts.value(0).toInt(), core::net::First_Free_Register(
      core::net::TNetwork{{r.Network.Nodi_List.begin(), r.Network.Nodi_List.begin() + 3}}, Device_Type));
}

}  // namespace
