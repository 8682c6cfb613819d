// The Scan & Decode window's scans: starting, stopping and polling them, and the progress reports that the
// scanner's threads hand over to the GUI thread.
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

#include "core/device_model.h"
#include "platform/forms/dialogs.h"
#include "platform/rtl/strutils.h"
#include "platform/xml/xmldocument.h"
#include "windows/scan_decode.h"
#include "windows/update_commands.h"

using namespace plat;

bool TFScanDecode::Wireless_Chosen() const { return Form_Type == 1 && CB_ScanMethod->ItemIndex() == 1; }

QString TFScanDecode::Scan_Address() const {
  return Canonical_IP(E_IP1->Text(), E_IP2->Text(), E_IP3->Text(), E_IP4->Text());
}

void TFScanDecode::FormShow(TObject*) {
  Move_Object_Type_Form();
  Update_List_of_COM_Port();
  TR_ScanDecode->Event_Run.SetEvent();
  if (QFileInfo(File_ParGen).isFile()) {
    TXMLDocument doc;
    if (doc.LoadFromFile(File_ParGen)) {
      TEdit* edits[4] = {E_IP1, E_IP2, E_IP3, E_IP4};
      for (int i = 0; i < 4; ++i) {
        const TXMLNode e = doc.DocumentElement().FindNode(QStringLiteral("IP_%1").arg(i + 1));
        if (e) edits[i]->SetText(e.Text());
      }
    }
  }
  L_Scan_Report->SetVisible(false);
  Form_Style(TScan_Style::Idle);
}

void TFScanDecode::FormClose(TCloseAction&) {
  // A closed window starts no further scan, and a running one ends through its closing steps, which leave
  // the converter's analyzer mode; the scanner's thread then waits for the next showing.
  T_InScan->SetEnabled(false);
  Cyclic_Scan = false;
  TR_ScanDecode->Request_Close();
}

void TFScanDecode::BtnClick(TObject* Sender) {
  if (Sender == Btn_StartScan) {
    Select_Scan();
    const TPoint below = Btn_StartScan->ClientToScreen(TPoint{0, Btn_StartScan->Height()});
    PopupMenu1->Popup(below.X, below.Y);
  } else if (Sender == Btn_StopScan) {
    StopScan();
  } else if (Sender == Btn_AbortScan) {
    AbortScan();
  } else if (Sender == Btn_NewScan) {
    NewScan();
  } else if (Sender == Btn_SaveConf) {
    Select_SaveXML(0);
  } else if (Sender == Btn_SaveConfManual) {
    Select_SaveXML(1);
  }
}

void TFScanDecode::Select_Scan() {
  if (Wireless_Chosen()) {
    StarScanWireless();
  } else {
    StartScan();
  }
}

void TFScanDecode::StopScan() {
  Cyclic_Scan = false;
  if (TR_ScanDecode->FInScan) TR_ScanDecode->Stop_Scan();
}

void TFScanDecode::AbortScan() {
  Cyclic_Scan = false;
  if (TR_ScanDecode->FInScan) TR_ScanDecode->Abort_Scan();
}

void TFScanDecode::NewScan() {
  Cyclic_Scan = false;
  Cancel_Device_List();
  Form_Style(TScan_Style::Idle);
}

void TFScanDecode::StartScan() {
  if (TR_ScanDecode->FInScan) {
    MessageDlg(Lang_Text(426), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  const QString address = Scan_Address();
  if (address.isEmpty()) {
    MessageDlg(Lang_Text(71), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Cancel_Device_List();
  int baud = 0;
  if (!TryStrToInt(CB_MBus_Baud->Text(), baud)) baud = 2400;
  int cut = 0;
  if (!TryStrToInt(E_Opt_Cut_After->Text(), cut)) cut = 3;
  const QPointer<QWidget> target = Widget();
  TUpdate_Slave_List_Proc proc = [target](TScan_Report M, int32_t A, int32_t F, TScan_Kind K) {
    // Called on the scanner's thread: the four numbers cross to the GUI thread, in order.
    QMetaObject::invokeMethod(
        target.data(), [M, A, F, K] { if (FScanDecode) FScanDecode->Slave_List_Report(M, A, F, K); },
        Qt::QueuedConnection);
  };
  LB_AvailableDevice->Items()->Clear();
  LB_AvailableDevice->SetVisible(true);
  TR_ScanDecode->SaveXMLFile.clear();
  FWireless_Running = false;
  L_Scan_Report->SetVisible(false);
  if (!TR_ScanDecode->Start_Scan(CB_ScanBy->ItemIndex() == 1 ? saSecondaryAddress : saPrimaryAddress, shEthernet,
                                 address, baud, CB_MBus_Parity->ItemIndex(), CB_Opt_App_Reset->Checked(),
                                 CB_Opt_SND_NKE->Checked(), cut, proc)) {
    return;
  }
  Form_Style(TScan_Style::Wired_Running);
  T_InScan->SetEnabled(true);
}

void TFScanDecode::StarScanWireless() {
  if (TR_ScanDecode->FInScan) {
    MessageDlg(Lang_Text(426), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  int port = -1;
  if (!TryStrToInt(E_Port->Text(), port) || port < 0 || port > 65535) {
    MessageDlg(Lang_Text(438), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  const QString address = Scan_Address();
  if (address.isEmpty()) {
    MessageDlg(Lang_Text(71), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Cancel_Device_List_Wireless();
  Cancel_Grid_Wireless();
  const QPointer<QWidget> target = Widget();
  TUpdate_Wireless_Slave_Proc proc = [target](int Index, TSlave_wMBus* Slave) {
    // Called on the socket's listener thread: the row is taken as it stands now, then crosses in order.
    if (!Slave) return;
    QStringList cells;
    bool cripted = false;
    {
      std::lock_guard<std::mutex> l(List_Dev_Lock);
      cells = scan_text::Wireless_Row(Index, *Slave);
      cripted = Slave->Cripted;
    }
    QMetaObject::invokeMethod(
        target.data(),
        [Index, cells, cripted] { if (FScanDecode) FScanDecode->Wireless_Row_Report(Index, cells, cripted); },
        Qt::QueuedConnection);
  };
  FWireless_Running = true;
  L_Scan_Report->SetVisible(false);
  if (!TR_ScanDecode->Start_Scan_Wireless(shEthernet, address, uint16_t(port),
                                          scan_text::Mode_Code(CB_wMBus_Mode->ItemIndex()),
                                          CB_wMBus_Radio_Channel->ItemIndex(), proc, false)) {
    return;
  }
  Form_Style(TScan_Style::Wireless_Running);
  T_InScan->SetEnabled(true);
}

void TFScanDecode::T_InScanTimer(TObject*) {
  T_InScan->SetEnabled(false);
  if (TR_ScanDecode->FInScan) {
    T_InScan->SetEnabled(true);
    return;
  }
  // The queued reports of the scan come before what its end shows.
  QCoreApplication::sendPostedEvents(Widget());
  if (TR_ScanDecode->FResult == Result_Not_Confirmed) {
    MessageDlg(Lang_Text(429), mtError, TMsgDlgButtons{mbOK});
    Form_Style(TScan_Style::Idle);
  } else if (FWireless_Running) {
    Form_Style(TScan_Style::Wireless_Ended);
  } else {
    Form_Style(TScan_Style::Wired_Ended);
    Show_Slave_in_Tree();
  }
  Show_Scan_Report(*TR_ScanDecode);
  if (Cyclic_Scan) {
    int count = 0;
    {
      std::lock_guard<std::mutex> l(List_Dev_Lock);
      count = int(FWireless_Running ? List_Dev_Wireless.size() : List_Dev_MBus.size());
    }
    if (count != 30) ++Error_Cyclic;
    Label1->SetCaption(QString::number(Error_Cyclic));
    Select_Scan();
  }
}

void TFScanDecode::Ciclic1Click(TObject*) {
  Cyclic_Scan = true;
  Error_Cyclic = 0;
  Select_Scan();
}

void TFScanDecode::Slave_List_Report(TScan_Report MsgType, int32_t Address, int32_t Found, TScan_Kind ScanKind) {
  const QString line = scan_text::Progress_Line(MsgType, Address, Found, ScanKind);
  if (line.isEmpty()) return;
  LB_AvailableDevice->Items()->Add(line);
  LB_AvailableDevice->SetTopIndex(LB_AvailableDevice->Items()->Count() - 1);
}

void TFScanDecode::Wireless_Row_Report(int Index, const QStringList& Cells, bool Cripted) {
  const int row = Index + 1;
  if (ESG_Wireless->RowCount() < Index + 2) ESG_Wireless->SetRowCount(Index + 2);
  for (int c = 0; c < Cells.size() && c < 12; ++c) ESG_Wireless->SetCells(c, row, Cells[c]);
  ESG_Wireless->SetCells(12, row, QString());
  ESG_Wireless->Set_Row_Look(row, Cripted);
}
