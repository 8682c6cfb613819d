#include "windows/scan_decode.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QThread>

#include <algorithm>

#include "core/com_ports.h"
#include "core/device_model.h"
#include "core/lang_texts.h"
#include "platform/graphics/canvas.h"
#include "scanner/wmbus_decode.h"

using namespace plat;

TFScanDecode* FScanDecode = nullptr;

TScan_Setup& Scan_Setup() {
  static TScan_Setup Setup;
  return Setup;
}

namespace {

constexpr int Window_Width = 600;
constexpr int Label_Left = 16;
constexpr int Field_Left = 240;
constexpr int Pitch = 28;
constexpr int Buttons_Height = 48;

TComboBox* Make_List(TWinControl* Parent, const char* Name, int Width) {
  TComboBox* c = Make_Control<TComboBox>(Parent, Name, Field_Left, 0, Width, 21);
  c->SetStyle(csDropDownList);
  return c;
}

void Fill(TComboBox* Box, const QStringList& Items, int Index) {
  Box->Items()->Clear();
  for (const QString& s : Items) Box->Items()->Add(s);
  Box->SetItemIndex(Index);
}

}  // namespace

// ---- the wireless grid ----------------------------------------------------------------------------------

namespace {

constexpr TColor Encrypted_Color = TColor(12172287);  // light red
constexpr TColor Readable_Color = TColor(11075496);   // light green
constexpr int Lock_Size = 16;

// A padlock on a transparent ground: closed and red for an encrypted device, open and green for a readable one.
QImage Lock_Image(bool Closed) {
  QImage img(Lock_Size, Lock_Size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setPen(QColor(0, 0, 0));
  p.setBrush(Qt::NoBrush);
  if (Closed) {
    p.drawRect(4, 1, 7, 7);
  } else {
    p.drawRect(8, 0, 7, 7);
  }
  p.setBrush(Closed ? QColor(200, 0, 0) : QColor(0, 140, 0));
  p.drawRect(2, 7, 11, 7);
  return img;
}

constexpr int Node_Image_Size = 16;

// The trees' pictures by level: 0 a meter (a box with its display), 1 a record (a written page), 2 a detail
// of a record (a bullet).
QImage Node_Image(int Level) {
  QImage img(Node_Image_Size, Node_Image_Size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setPen(QColor(40, 40, 40));
  if (Level == 0) {
    p.setBrush(QColor(70, 110, 170));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(QColor(215, 240, 195));
    p.drawRect(3, 3, 9, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 0));
    p.drawRect(4, 10, 2, 2);
    p.drawRect(9, 10, 2, 2);
  } else if (Level == 1) {
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(2, 1, 11, 13);
    p.setPen(QColor(60, 90, 200));
    for (int y = 4; y <= 11; y += 3) p.drawLine(4, y, 11, y);
  } else {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(235, 130, 20));
    p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
  }
  return img;
}

}  // namespace

TWireless_Grid::TWireless_Grid(TComponent* AOwner) : grid::TExtStringGrid(AOwner) {
  IL_Wireless_Table = new TImageList(this, Lock_Size, Lock_Size);
  IL_Wireless_Table->SetName(QStringLiteral("IL_Wireless_Table"));
  IL_Wireless_Table->AddImage(Lock_Image(true));
  IL_Wireless_Table->AddImage(Lock_Image(false));
  SetGridImages(IL_Wireless_Table);
}

void TWireless_Grid::Set_Row_Look(int Row, bool Cripted) {
  if (Row < 1 || Row >= RowCount()) return;
  for (int c = 1; c <= 12; ++c) SetColors(c, Row, Cripted ? Encrypted_Color : Readable_Color);
  AddImageIdx(12, Row, Cripted ? 0 : 1, grid::haCenter, grid::vaCenter);
}

void TWireless_Grid::Clear_Looks() {
  for (int r = 1; r < RowCount(); ++r) {
    for (int c = 1; c <= 12; ++c) SetColors(c, r, clNone);
    RemoveCellGraphic(12, r);
  }
}

int TWireless_Grid::Row_Image(int Row) {
  if (Row < 1 || Row >= RowCount() || GetCellType(12, Row) != grid::ctImageList) return -1;
  return GetCellGraphic(12, Row)->CellIndex;
}

TColor TWireless_Grid::Row_Color(int Row) const {
  const TColor c = Row >= 1 && Row < RowCount() ? Colors(1, Row) : clNone;
  return c == clNone ? clWhite : c;
}

// ---- the window -----------------------------------------------------------------------------------------

TFScanDecode::TFScanDecode(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FScanDecode"));
  Setup_Window(this);
  SetClientWidth(Window_Width);
  SetClientHeight(491);
  Make_Buttons();
  Make_Parameter_Panel();
  Make_Result_Panels();
  L_Scan_Report = Make_Label(this, "L_Scan_Report", 16, 16);
  L_Scan_Report->Font()->SetColor(clMaroon);
  L_Scan_Report->SetWordWrap(true);  // a long reason wraps inside the window
  L_Scan_Report->SetAutoSize(false);
  L_Scan_Report->SetBounds(16, 0, ClientWidth() - 32, 30);
  L_Scan_Report->SetVisible(false);
  T_InScan = new TTimer(this);
  T_InScan->SetName(QStringLiteral("T_InScan"));
  T_InScan->SetEnabled(false);
  T_InScan->SetInterval(1000);
  T_InScan->OnTimer = [this](TObject* s) { T_InScanTimer(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject*, TCloseAction& a) { FormClose(a); };
}

TFScanDecode::~TFScanDecode() {
  if (TR_ScanDecode && TR_ScanDecode->FInScan) {
    // The program ends mid-scan: let the scanner leave the converter's analyzer mode first, for a while.
    TR_ScanDecode->Request_Close();
    QElapsedTimer t;
    t.start();
    while (TR_ScanDecode->FInScan && t.elapsed() < 3000) QThread::msleep(10);
  }
  TR_ScanDecode.reset();
  if (FScanDecode == this) FScanDecode = nullptr;
}

void TFScanDecode::Make_Buttons() {
  P_Buttons = Make_Control<TPanel>(this, "P_Buttons", 0, 0, Window_Width, Buttons_Height);
  P_Buttons->SetAlign(alBottom);
  P_Buttons->SetBevelOuter(bvNone);
  P_Buttons->SetShowCaption(false);
  P_Buttons->SetParentColor(true);
  auto button = [this](const char* Name) {
    controls::TLbButton* b = Make_Control<controls::TLbButton>(P_Buttons, Name, 0, 10, 150, 28);
    b->OnClick = [this](TObject* s) { BtnClick(s); };
    return b;
  };
  Btn_StartScan = button("Btn_StartScan");
  Btn_StopScan = button("Btn_StopScan");
  Btn_AbortScan = button("Btn_AbortScan");
  Btn_NewScan = button("Btn_NewScan");
  Btn_SaveConf = button("Btn_SaveConf");
  Btn_SaveConfManual = button("Btn_SaveConfManual");
  Btn_SaveConfManual->SetWidth(190);
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName(QStringLiteral("PopupMenu1"));
  PopupMenu1->Items()->Add(NewItem(this, QStringLiteral("Scan Cyclic"), [this](TObject* s) { Ciclic1Click(s); }));
  Label1 = Make_Label(P_Buttons, "Label1", 4, 4);
  Label1->SetVisible(false);
}

void TFScanDecode::Make_Parameter_Panel() {
  P_Main = Make_Control<TPanel>(this, "P_Main", 0, 0, Window_Width, 300);
  P_Main->SetAlign(alClient);
  P_Main->SetBevelOuter(bvNone);
  P_Main->SetShowCaption(false);
  P_Main->SetParentColor(true);
  auto label = [this](const char* Name) { return Make_Label(P_Main, Name, Label_Left, 0); };
  L_ScanMethod = label("L_ScanMethod");
  CB_ScanMethod = Make_List(P_Main, "CB_ScanMethod", 200);
  L_ScanBy = label("L_ScanBy");
  CB_ScanBy = Make_List(P_Main, "CB_ScanBy", 200);
  L_HardwareType = label("L_HardwareType");
  CB_HardwareType = Make_List(P_Main, "CB_HardwareType", 200);
  L_IP = label("L_IP");
  E_IP1 = Make_Control<TEdit>(P_Main, "E_IP1", Field_Left, 0, 44, 21);
  E_IP2 = Make_Control<TEdit>(P_Main, "E_IP2", Field_Left + 50, 0, 44, 21);
  E_IP3 = Make_Control<TEdit>(P_Main, "E_IP3", Field_Left + 100, 0, 44, 21);
  E_IP4 = Make_Control<TEdit>(P_Main, "E_IP4", Field_Left + 150, 0, 44, 21);
  E_IP1->SetText(QStringLiteral("192"));
  E_IP2->SetText(QStringLiteral("168"));
  E_IP3->SetText(QStringLiteral("2"));
  E_IP4->SetText(QStringLiteral("205"));
  E_IP1->OnKeyPress = [this](TObject*, char16_t& k) { Key_Press_IP(E_IP2, k); };
  E_IP2->OnKeyPress = [this](TObject*, char16_t& k) { Key_Press_IP(E_IP3, k); };
  E_IP3->OnKeyPress = [this](TObject*, char16_t& k) { Key_Press_IP(E_IP4, k); };
  E_IP4->OnKeyPress = [this](TObject*, char16_t& k) { Key_Press_IP(nullptr, k); };
  L_ComPort = label("L_ComPort");
  CB_ComPort = Make_List(P_Main, "CB_ComPort", 150);
  Btn_COM_List = Make_Control<controls::TLbButton>(P_Main, "Btn_COM_List", Field_Left + 156, 0, 44, 22);
  Btn_COM_List->SetHint(QStringLiteral("Update COM Ports List"));
  Btn_COM_List->SetCaption(QStringLiteral("..."));
  Btn_COM_List->OnClick = [this](TObject*) { Update_List_of_COM_Port(); };
  L_Port = label("L_Port");
  E_Port = Make_Control<TEdit>(P_Main, "E_Port", Field_Left, 0, 80, 21);
  E_Port->SetText(QStringLiteral("502"));
  L_MBus_Param = label("L_MBus_Param");
  L_MBus_Param->Font()->SetStyle(TFontStyles{fsBold});
  L_MBus_Baud = label("L_MBus_Baud");
  CB_MBus_Baud = Make_List(P_Main, "CB_MBus_Baud", 120);
  Fill(CB_MBus_Baud, {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400"}, 3);
  L_MBus_Parity = label("L_MBus_Parity");
  CB_MBus_Parity = Make_List(P_Main, "CB_MBus_Parity", 120);
  Fill(CB_MBus_Parity, {"NONE", "EVEN", "ODD"}, 1);
  L_wMBus_Mode = label("L_wMBus_Mode");
  CB_wMBus_Mode = Make_List(P_Main, "CB_wMBus_Mode", 120);
  Fill(CB_wMBus_Mode, {"S", "T", "N1", "N2", "C"}, 0);
  L_wMBus_Radio_Channel = label("L_wMBus_Radio_Channel");
  CB_wMBus_Radio_Channel = Make_List(P_Main, "CB_wMBus_Radio_Channel", 160);
  Fill(CB_wMBus_Radio_Channel,
       {"1a @ 4800 bps", "1b @ 4800 bps", "2a @ 2400 bps", "2b @ 2400 bps", "3a @ 4800 bps", "3b @ 4800 bps",
        "0 @ 19200 bps", "2a @ 4800 bps", "2b @ 4800 bps"},
       0);
  L_Opt_Scan = label("L_Opt_Scan");
  L_Opt_Scan->Font()->SetStyle(TFontStyles{fsBold});
  CB_Opt_App_Reset = Make_Control<TCheckBox>(P_Main, "CB_Opt_App_Reset", Label_Left, 0, 300, 19);
  CB_Opt_SND_NKE = Make_Control<TCheckBox>(P_Main, "CB_Opt_SND_NKE", Label_Left, 0, 300, 19);
  L_Opt_Cut_After = label("L_Opt_Cut_After");
  E_Opt_Cut_After = Make_Control<TEdit>(P_Main, "E_Opt_Cut_After", Field_Left, 0, 60, 21);
  E_Opt_Cut_After->SetText(QStringLiteral("3"));
  for (TComboBox* c : {CB_HardwareType, CB_MBus_Baud, CB_MBus_Parity, CB_ScanBy, CB_ScanMethod}) {
    c->OnChange = [this](TObject*) { Move_Object_Type_Form(); };
  }
}

void TFScanDecode::Make_Result_Panels() {
  P_TreeView = Make_Control<TPanel>(this, "P_TreeView", 0, 0, Window_Width, 300);
  P_TreeView->SetAlign(alClient);
  P_TreeView->SetBevelOuter(bvNone);
  P_TreeView->SetShowCaption(false);
  P_TreeView->SetParentColor(true);
  L_ScanProgress = Make_Label(P_TreeView, "L_ScanProgress", 12, 8);
  L_ScanProgress->Font()->SetStyle(TFontStyles{fsBold});
  L_Num_Slave = Make_Label(P_TreeView, "L_Num_Slave", 200, 8);
  L_Num_Slave->Font()->SetStyle(TFontStyles{fsBold});
  L_ListDevice = Make_Label(P_TreeView, "L_ListDevice", 12, 30);
  LB_AvailableDevice = Make_Control<TListBox>(P_TreeView, "LB_AvailableDevice", 12, 48, Window_Width - 24, 380);
  LB_AvailableDevice->SetStyle(lbOwnerDrawFixed);
  LB_AvailableDevice->OnDrawItem = [this](TWinControl*, int i, TRect r, TOwnerDrawState) {
    Draw_Progress_Line(i, r);
  };
  IL_Tree1 = new TImageList(this, Node_Image_Size, Node_Image_Size);
  IL_Tree1->SetName(QStringLiteral("IL_Tree1"));
  for (int level = 0; level <= 2; ++level) IL_Tree1->AddImage(Node_Image(level));
  LST = Make_Control<TScan_Tree>(P_TreeView, "LST", 12, 30, Window_Width - 24, 400);
  LST->SetImages(IL_Tree1);

  P_View_Wireless = Make_Control<TPanel>(this, "P_View_Wireless", 0, 0, Window_Width, 400);
  P_View_Wireless->SetAlign(alClient);
  P_View_Wireless->SetBevelOuter(bvNone);
  P_View_Wireless->SetShowCaption(false);
  P_View_Wireless->SetParentColor(true);
  ESG_Wireless = Make_Control<TWireless_Grid>(P_View_Wireless, "ESG_Wireless", 0, 0, Window_Width, 200);
  ESG_Wireless->SetColCount(13);
  ESG_Wireless->SetFixedCols(0);
  ESG_Wireless->SetRowCount(2);
  ESG_Wireless->SetFixedRows(1);
  ESG_Wireless->SetOptions(ESG_Wireless->Options().Include(goRowSelect));
  ESG_Wireless->OnClickCell = [this](TObject*, int ARow, int) { ESG_WirelessClickCell(ARow); };
  ESG_Wireless->OnDblClickCell = [this](TObject*, int ARow, int) { ESG_WirelessDblClickCell(ARow); };
  const char* heads[13] = {"N",           "Date Time",          "Message Type",  "Manufacturer (LLA)",
                           "Address (LLA)", "Version (LLA)",    "Device Type (LLA)", "Manufacturer (ALA)",
                           "Address (ALA)", "Version (ALA)",    "Device Type (ALA)", "RSSI",
                           "Cripted"};
  for (int c = 0; c < 13; ++c) ESG_Wireless->SetCells(c, 0, QString::fromLatin1(heads[c]));
  LST_Wireless = Make_Control<TScan_Tree>(P_View_Wireless, "LST_Wireless", 0, 204, Window_Width, 200);
  LST_Wireless->SetImages(IL_Tree1);
}

void TFScanDecode::DoCreate() {
  FScanDecode = this;
  TScanEnvironment env;
  env.Transport = std::make_unique<TUdpScanTransport>(Scan_Setup().Net);
  TR_ScanDecode = std::make_unique<TMBusScanDecode>(std::move(env));
  TR_ScanDecode->Set_Timing(Scan_Setup().Timing);
  LST->OnCaption = [this](TScan_Tree*, lazytree::PLazyNode n, TMyRec& d) {
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    const int level = int(LST->GetNodeLevel(n));
    lazytree::PLazyNode slave = level == 0 ? n : level == 1 ? n->Parent : n->Parent->Parent;
    if (int(slave->Index) >= List_Dev_MBus.size()) return;
    const TSlave_MBus& s = *List_Dev_MBus[int(slave->Index)];
    if (level == 0) {
      d.Caption = scan_text::Slave(s);
      return;
    }
    const std::size_t rec = level == 1 ? n->Index : n->Parent->Index;
    if (rec >= s.List_Var.size()) return;
    d.Caption = level == 1 ? scan_text::Record(s.List_Var[rec]) : scan_text::Detail(s.List_Var[rec], int(n->Index));
  };
  LST_Wireless->OnCaption = [this](TScan_Tree*, lazytree::PLazyNode n, TMyRec& d) {
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    if (FShown_Device < 0 || FShown_Device >= List_Dev_Wireless.size()) return;
    const TSlave_wMBus& s = *List_Dev_Wireless[FShown_Device];
    const int level = int(LST_Wireless->GetNodeLevel(n));
    if (level == 0) {
      d.Caption = scan_text::Wireless_Device(s);
      return;
    }
    const std::size_t rec = level == 1 ? n->Index : n->Parent->Index;
    if (rec >= s.List_Var.size()) return;
    d.Caption = level == 1 ? scan_text::Wireless_Record(s.List_Var[rec])
                           : scan_text::Detail(s.List_Var[rec], int(n->Index));
  };
  LST_Wireless->OnChecked = [this](TScan_Tree*, lazytree::PLazyNode n) {
    const lazytree::TCheckState st = n->CheckState;
    if (st != lazytree::csCheckedNormal && st != lazytree::csUncheckedNormal) return;
    const bool on = st == lazytree::csCheckedNormal;
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    if (FShown_Device < 0 || FShown_Device >= List_Dev_Wireless.size()) return;
    TSlave_wMBus& s = *List_Dev_Wireless[FShown_Device];
    const int level = int(LST_Wireless->GetNodeLevel(n));
    if (level == 0) s.Enable = on;
    if (level == 1 && n->Index < s.List_Var.size()) s.List_Var[n->Index].Enable = on;
  };
  Form_Type = 0;
  Colomns_Width_Init();
  ESG_Wireless->SetHeight(200);
  Set_Lang();
  Form_Style(TScan_Style::Idle);
  TForm::DoCreate();
}

void TFScanDecode::Set_Lang() {
  SetCaption(Lang_Text(400));
  L_ScanBy->SetCaption(Lang_Text(403));
  Fill(CB_ScanBy, {Lang_Text(404), Lang_Text(405)}, 0);
  L_HardwareType->SetCaption(Lang_Text(406));
  Fill(CB_HardwareType, {Lang_Text(407), Lang_Text(408)}, 0);
  L_IP->SetCaption(Lang_Text(409));
  L_ComPort->SetCaption(Lang_Text(410));
  L_MBus_Param->SetCaption(Lang_Text(411));
  L_MBus_Baud->SetCaption(Lang_Text(412));
  L_MBus_Parity->SetCaption(Lang_Text(413));
  L_Opt_Scan->SetCaption(Lang_Text(414));
  CB_Opt_App_Reset->SetCaption(Lang_Text(415));
  CB_Opt_SND_NKE->SetCaption(Lang_Text(416));
  L_Opt_Cut_After->SetCaption(Lang_Text(417));
  L_ScanProgress->SetCaption(Lang_Text(418));
  L_ListDevice->SetCaption(Lang_Text(420));
  Btn_StartScan->SetCaption(Lang_Text(421));
  Btn_StopScan->SetCaption(Lang_Text(422));
  Btn_AbortScan->SetCaption(Lang_Text(423));
  Btn_NewScan->SetCaption(Lang_Text(424));
  Btn_SaveConf->SetCaption(Lang_Text(425));
  Btn_SaveConfManual->SetCaption(Lang_Text(439));
  L_ScanMethod->SetCaption(Lang_Text(431));
  Fill(CB_ScanMethod, {Lang_Text(432), Lang_Text(433)}, 0);
  L_wMBus_Mode->SetCaption(Lang_Text(434));
  L_wMBus_Radio_Channel->SetCaption(Lang_Text(435));
  L_Port->SetCaption(Lang_Text(436));
}

void TFScanDecode::Colomns_Width_Init() {
  const int widths[13] = {40, 65, 90, 120, 90, 85, 110, 120, 90, 85, 110, 50, 70};
  for (int c = 0; c < 13; ++c) ESG_Wireless->SetColWidths(c, widths[c]);
}

void TFScanDecode::Place_Row(TControl* Label, TControl* Field, int& Top) {
  if (Label) {
    Label->SetTop(Top + 3);
    Label->SetVisible(true);
  }
  if (Field) {
    Field->SetTop(Top);
    Field->SetVisible(true);
  }
  Top += Pitch;
}

void TFScanDecode::Move_Object_Type_Form() {
  for (TControl* c : std::initializer_list<TControl*>{
           L_ScanMethod, CB_ScanMethod, L_ScanBy, CB_ScanBy, L_IP, E_IP1, E_IP2, E_IP3, E_IP4, L_ComPort,
           CB_ComPort, Btn_COM_List, L_Port, E_Port, L_MBus_Baud, CB_MBus_Baud, L_MBus_Parity, CB_MBus_Parity,
           L_wMBus_Mode, CB_wMBus_Mode, L_wMBus_Radio_Channel, CB_wMBus_Radio_Channel, L_Opt_Scan,
           CB_Opt_App_Reset, CB_Opt_SND_NKE, L_Opt_Cut_After, E_Opt_Cut_After}) {
    c->SetVisible(false);
  }
  const bool wireless = Wireless_Chosen();
  int top = 16;
  if (Form_Type == 1) Place_Row(L_ScanMethod, CB_ScanMethod, top);
  if (!wireless) Place_Row(L_ScanBy, CB_ScanBy, top);
  Place_Row(L_HardwareType, CB_HardwareType, top);
  if (CB_HardwareType->ItemIndex() == 1) {
    Place_Row(L_ComPort, CB_ComPort, top);
    Btn_COM_List->SetTop(CB_ComPort->Top());
    Btn_COM_List->SetVisible(true);
  } else {
    for (TEdit* e : {E_IP1, E_IP2, E_IP3}) Place_Row(nullptr, e, top), top -= Pitch;
    Place_Row(L_IP, E_IP4, top);
  }
  if (wireless) {
    Place_Row(L_Port, E_Port, top);
    E_Port->SetEnabled(true);
  }
  top += 8;
  Place_Row(L_MBus_Param, nullptr, top);
  if (wireless) {
    Place_Row(L_wMBus_Mode, CB_wMBus_Mode, top);
    Place_Row(L_wMBus_Radio_Channel, CB_wMBus_Radio_Channel, top);
  } else {
    Place_Row(L_MBus_Baud, CB_MBus_Baud, top);
    Place_Row(L_MBus_Parity, CB_MBus_Parity, top);
    top += 8;
    Place_Row(L_Opt_Scan, nullptr, top);
    CB_Opt_App_Reset->SetTop(top), CB_Opt_App_Reset->SetVisible(true), top += Pitch - 4;
    CB_Opt_SND_NKE->SetTop(top), CB_Opt_SND_NKE->SetVisible(true), top += Pitch;
    Place_Row(L_Opt_Cut_After, E_Opt_Cut_After, top);
  }
  SetClientHeight(Form_Type == 1 ? 539 : 491);
}

void TFScanDecode::Key_Press_IP(TEdit* Next, char16_t& Key) {
  if (Key != u'.') return;
  Key = 0;
  if (Next && Next->CanFocus()) Next->SetFocus();
}

void TFScanDecode::Update_List_of_COM_Port() {
  CB_ComPort->Items()->Clear();
  for (const QString& port : List_COM_Ports()) CB_ComPort->Items()->Add(port);
  if (CB_ComPort->Items()->Count() > 0) CB_ComPort->SetItemIndex(0);
}

void TFScanDecode::Form_Style(TScan_Style Index) {
  using S = TScan_Style;
  // The window always scans over Ethernet.
  CB_HardwareType->SetEnabled(false);
  CB_HardwareType->SetItemIndex(0);
  FStyle = Index;
  const bool idle = Index == S::Idle, running = Index == S::Wired_Running || Index == S::Wireless_Running,
             ended = Index == S::Wired_Ended || Index == S::Wireless_Ended;
  const bool wired = Index == S::Wired_Running || Index == S::Wired_Ended;
  P_Main->SetVisible(idle);
  P_TreeView->SetVisible(wired);
  P_View_Wireless->SetVisible(!idle && !wired);
  Btn_StartScan->SetVisible(idle);
  Btn_StopScan->SetVisible(running);
  Btn_AbortScan->SetVisible(running);
  Btn_NewScan->SetVisible(ended);
  Btn_SaveConf->SetVisible(ended);
  Btn_SaveConfManual->SetVisible(ended);
  const int right = ClientWidth() - 12;
  Btn_StartScan->SetLeft(right - Btn_StartScan->Width());
  Btn_AbortScan->SetLeft(right - Btn_AbortScan->Width());
  Btn_StopScan->SetLeft(Btn_AbortScan->Left() - 8 - Btn_StopScan->Width());
  Btn_SaveConfManual->SetLeft(right - Btn_SaveConfManual->Width());
  Btn_SaveConf->SetLeft(Btn_SaveConfManual->Left() - 8 - Btn_SaveConf->Width());
  Btn_NewScan->SetLeft(Btn_SaveConf->Left() - 8 - Btn_NewScan->Width());
  L_ListDevice->SetVisible(Index == S::Wired_Running);
  LB_AvailableDevice->SetVisible(Index == S::Wired_Running);
  LST->SetVisible(Index == S::Wired_Ended);
  L_Num_Slave->SetVisible(Index == S::Wired_Ended);
  L_ScanProgress->SetCaption(Lang_Text(Index == S::Wired_Ended ? 419 : 418));
  if (Index == S::Wired_Ended) {
    LST->SetBounds(12, 30, ClientWidth() - 24, P_TreeView->ClientHeight() - 40);
    L_Num_Slave->SetLeft(L_ScanProgress->Left() + L_ScanProgress->Width() + 12);
  }
  if (Index == S::Wired_Running) LB_AvailableDevice->SetHeight(P_TreeView->ClientHeight() - 58);
  if (!idle && !wired) {
    // The grid of heard devices on top, the chosen device's records below it.
    const int w = P_View_Wireless->ClientWidth(), h = P_View_Wireless->ClientHeight();
    ESG_Wireless->SetBounds(0, 0, w, ESG_Wireless->Height());
    LST_Wireless->SetBounds(0, ESG_Wireless->Height() + 4, w, std::max(40, h - ESG_Wireless->Height() - 4));
  }
}

void TFScanDecode::Draw_Progress_Line(int Index, const TRect& Rect) {
  TCanvas* c = LB_AvailableDevice->Canvas();
  c->FillRect(Rect);
  const QString line = LB_AvailableDevice->Items()->Strings(Index);
  const int bracket = line.indexOf(u'[');
  if (line.contains(QStringLiteral("[NOT FOUND]")) && bracket >= 0) {
    c->Font()->SetColor(clRed);
    c->TextOut(Rect.Left + 2, Rect.Top + 1, line.left(bracket).trimmed());
    c->TextOut(Rect.Left + 72, Rect.Top + 1, line.mid(bracket).trimmed());
  } else {
    c->Font()->SetColor(clBlue);
    c->TextOut(Rect.Left + 2, Rect.Top + 1, line);
  }
}

void TFScanDecode::Show_Scan_Report(const TMBusScanDecode& Engine) {
  Show_Scan_Report(Engine.FResult.load(), Engine.Open_Error(), Engine.Full_List_Dropped());
}

void TFScanDecode::Show_Scan_Report(int32_t Result, const QString& Open_Error, uint64_t Ignored_Telegrams) {
  QString Text;
  if (Result == Result_No_Socket) {
    Text = Open_Error;
  } else if (Result == Result_Not_Confirmed) {
    Text = Lang_Text(429);
  } else if (Ignored_Telegrams > 0) {
    Text = QStringLiteral("The list of devices is full (%1): %2 telegrams of further devices were ignored")
               .arg(Max_Wireless_Devices)
               .arg(Ignored_Telegrams);
  }
  L_Scan_Report->SetCaption(Text);
  L_Scan_Report->SetVisible(!Text.isEmpty());
  if (!Text.isEmpty()) {
    // Above the buttons, over whichever panel shows.
    L_Scan_Report->SetTop(ClientHeight() - Buttons_Height - L_Scan_Report->Height() - 4);
    L_Scan_Report->BringToFront();
  }
}
