#include "windows/par_gen.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"
#include "windows/window_frame.h"

using namespace plat;
using pargen::TParGen_Data;
using pargen::TParGen_List;

TFParGen* FParGen = nullptr;

namespace {

constexpr int Box_Left = 8;
constexpr int Box_Width = 296;
constexpr int First_Box_Top = 70;
constexpr int Box_Gap = 6;
constexpr int Collapsed_Height = 26;
constexpr int Control_Left = 150;
constexpr int Control_Width = 134;

// Label top of row slot i in the M-Bus and Modbus Slave boxes (one row step is 34 pixels).
constexpr int Slot(int i) { return 24 + 34 * i; }
// Label tops of the IP, mask, gateway, port and time-out rows of the TCP box.
constexpr int Tcp_Top[] = {20, 64, 108, 160, 194};

// The Lang_Texts index of the caption of the TCP box: the Ethernet port of types 2 and 3 and of type 6 carry
// their own texts.
int Tcp_Box_Caption(TSettings_Form form) {
  if (form == TSettings_Form::Wireless_Serial) return 273;
  if (form == TSettings_Form::Serial_Ethernet_Variant) return 354;
  return 95;
}

}  // namespace

// ---- rows ------------------------------------------------------------------------------------------------------

void TFParGen::TRow::Place(int LabelTop) const {
  for (const auto& [c, dy] : Parts) c->SetTop(LabelTop + dy);
}

void TFParGen::TRow::SetVisible(bool V) const {
  for (const auto& p : Parts) p.first->SetVisible(V);
}

int TFParGen::TRow::Bottom() const {
  int b = 0;
  for (const auto& p : Parts) b = std::max(b, p.first->Top() + p.first->Height());
  return b;
}

// ---- creation ---------------------------------------------------------------------------------------------------

TFParGen::TFParGen(TComponent* AOwner, int DeviceType) : TForm(AOwner), FDeviceType(DeviceType) {
  SetName(QStringLiteral("FParGen"));
  Setup_Window(this);
  Build_Controls();
  OnShow = [this](TObject* s) { FormShow(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
}

TFParGen::~TFParGen() {
  if (FParGen == this) FParGen = nullptr;
}

void TFParGen::Build_Controls() {
  const TDialogFrame frame = Make_Dialog_Frame(this);
  P_Title = frame.P_Title;
  L_SW_Code = frame.L_SW_Code;
  L_SW_Desc = frame.L_SW_Desc;
  P_Button = frame.P_Button;
  Btn_OK = frame.Btn_OK;
  Btn_Cancel = frame.Btn_Cancel;
  // Cancel decides in its handler whether the window closes.
  Btn_Cancel->SetModalResult(mrNone);
  Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
  Btn_Cancel->OnClick = [this](TObject* s) { Btn_CancelClick(s); };

  auto box = [&](TBox& b, const char* name, const char* collapse, const char* expande, bool* flag) {
    b.Box = Make_Control<TGroupBox>(this, name, Box_Left, First_Box_Top, Box_Width, 58);
    b.Box->SetVisible(false);
    b.Collapse = Make_Control<TButton>(b.Box, collapse, 280, 10, 11, 11);
    b.Collapse->SetCaption(QStringLiteral("-"));
    b.Collapse->OnClick = [this](TObject* s) { Btn_GB_Collapse(s); };
    b.Expande = Make_Control<TButton>(b.Box, expande, 280, 10, 11, 11);
    b.Expande->SetCaption(QStringLiteral("+"));
    b.Expande->OnClick = [this](TObject* s) { Btn_GB_Expande(s); };
    b.Expanded = flag;
  };
  auto label = [&](TBox& b, const char* name, const QString& caption = QString()) {
    TLabel* l = Make_Label(b.Box, name, 12, 0);
    l->SetCaption(caption);
    return l;
  };
  auto list = [&](TBox& b, const char* name, TParGen_List items, int left = Control_Left, int width = Control_Width) {
    TComboBox* c = Make_Control<TComboBox>(b.Box, name, left, 0, width, 21);
    c->SetStyle(csDropDownList);
    c->Items()->SetText(pargen::List_Items(items, FDeviceType).join(u'\n'));
    c->OnChange = [this](TObject* s) { On_Change(s); };
    return c;
  };
  auto edit = [&](TBox& b, const char* name, int left, int width) {
    TEdit* e = Make_Control<TEdit>(b.Box, name, left, 0, width, 21);
    e->OnChange = [this](TObject* s) { On_Change(s); };
    return e;
  };
  auto check = [&](TBox& b, const char* name, int width, const QString& caption = QString()) {
    TCheckBox* c = Make_Control<TCheckBox>(b.Box, name, 12, 0, width, 21);
    c->SetCaption(caption);
    c->OnClick = [this](TObject* s) { On_Click(s); };
    return c;
  };

  // Variant.
  box(FSelect, "GB_Select_Device", "Btn_Select_Device_Collapse", "Btn_Select_Device_Expande", &GB_Select_Device_Visible);
  GB_Select_Device = FSelect.Box;
  CB_Select_Device = list(FSelect, "CB_Select_Device", TParGen_List::Select_Device, 12, 272);
  CB_Select_Device->Items()->Clear();
  FSelect.Rows = {{{{CB_Select_Device, -3}}}};
  FSelect.FixedHeight = 58;

  // M-Bus on wire.
  box(FWirePresent, "GB_Sel_Dev_Wire_Present", "Btn_Sel_Dev_Wire_Present_Collapse", "Btn_Sel_Dev_Wire_Present_Expande",
      &GB_Sel_Dev_Wire_Present_Visible);
  GB_Sel_Dev_Wire_Present = FWirePresent.Box;
  GB_Sel_Dev_Wire_Present->SetCaption(QStringLiteral(" Select Device "));
  L_SD_Wire_Present_MBus = label(FWirePresent, "L_SD_Wire_Present_MBus", QStringLiteral("M-Bus on Wire"));
  CB_SD_Wire_Present_MBus = list(FWirePresent, "CB_SD_Wire_Present_MBus", TParGen_List::Wire_Present_MBus);
  FWirePresent.Rows = {{{{L_SD_Wire_Present_MBus, 0}, {CB_SD_Wire_Present_MBus, -3}}}};
  FWirePresent.FixedHeight = 58;

  // Ethernet.
  box(FTCP, "GB_Modbus_TCP_Slave", "Btn_Modbus_TCP_Slave_Collapse", "Btn_Modbus_TCP_Slave_Expande",
      &GB_Modbus_TCP_Slave_Visible);
  GB_Modbus_TCP_Slave = FTCP.Box;
  L_ModTCPs_IP = label(FTCP, "L_ModTCPs_IP");
  L_ModTCPs_SM = label(FTCP, "L_ModTCPs_SM");
  CB_ModTCPs_EN_GAT = check(FTCP, "CB_ModTCPs_EN_GAT", 150);
  CB_ModTCPs_EN_GAT->SetHeight(17);
  auto address = [&](std::array<TEdit*, 4>& edits, const char* prefix, TControl* head, int headDy) {
    TRow row;
    row.Parts.push_back({head, headDy});
    for (int i = 0; i < 4; ++i) {
      const QByteArray name = QByteArray(prefix) + QByteArray::number(i + 1);
      edits[std::size_t(i)] = edit(FTCP, name.constData(), 12 + 50 * i, 40);
      edits[std::size_t(i)]->OnKeyPress = [this](TObject* s, char16_t& k) { KeyPress(s, k); };
      row.Parts.push_back({edits[std::size_t(i)], 16});
      if (i < 3) {
        const QByteArray dot = QByteArray("L_") + prefix + "_Dot" + QByteArray::number(i + 1);
        TLabel* l = Make_Label(FTCP.Box, dot.constData(), 12 + 50 * i + 43, 0);
        l->SetCaption(QStringLiteral("."));
        row.Parts.push_back({l, 20});
      }
    }
    return row;
  };
  FTCP.Rows.push_back(address(E_IP, "E_IP", L_ModTCPs_IP, 0));
  FTCP.Rows.push_back(address(E_SM, "E_SM", L_ModTCPs_SM, 0));
  FTCP.Rows.push_back(address(E_GAT, "E_GAT", CB_ModTCPs_EN_GAT, -2));
  L_ModTCPs_Port = label(FTCP, "L_ModTCPs_Port");
  E_PORT = edit(FTCP, "E_PORT", 184, 60);
  FTCP.Rows.push_back({{{L_ModTCPs_Port, 0}, {E_PORT, -3}}});
  L_ModTCPs_Con_TO = label(FTCP, "L_ModTCPs_Con_TO");
  E_MTCPs_Conn_TO = edit(FTCP, "E_MTCPs_Conn_TO", 184, 60);
  FTCP.Rows.push_back({{{L_ModTCPs_Con_TO, 0}, {E_MTCPs_Conn_TO, -3}}});
  for (int i = 0; i < 4; ++i) {
    FAddressEdits[std::size_t(i)] = E_IP[std::size_t(i)];
    FAddressEdits[std::size_t(4 + i)] = E_SM[std::size_t(i)];
    FAddressEdits[std::size_t(8 + i)] = E_GAT[std::size_t(i)];
  }

  // M-Bus master line.
  box(FMBus, "GB_MBus", "Btn_MBus_Collapse", "Btn_MBus_Expande", &GB_MBus_Visible);
  GB_MBus = FMBus.Box;
  L_MBus_Baud = label(FMBus, "L_MBus_Baud");
  CB_MBus_Baud = list(FMBus, "CB_MBus_Baud", TParGen_List::MBus_Baud);
  L_MBus_Par = label(FMBus, "L_MBus_Par");
  CB_MBus_Parity = list(FMBus, "CB_MBus_Parity", TParGen_List::MBus_Parity);
  L_MBus_Polls = label(FMBus, "L_MBus_Polls");
  CB_MBus_Polls = list(FMBus, "CB_MBus_Polls", TParGen_List::MBus_Polls);
  L_MBus_Delay = label(FMBus, "L_MBus_Delay");
  E_MBus_Delay = edit(FMBus, "E_MBus_Delay", Control_Left, 70);
  L_MBus_NodeState1 = label(FMBus, "L_MBus_NodeState1");
  L_MBus_NodeState2 = label(FMBus, "L_MBus_NodeState2");
  E_MBus_NodeState = edit(FMBus, "E_MBus_NodeState", Control_Left, 70);
  L_MBus_Serial = label(FMBus, "L_MBus_Serial", QStringLiteral("Serial"));
  CB_MBus_Serial = list(FMBus, "CB_MBus_Serial", TParGen_List::MBus_Serial);
  CB_MBus_Fix_CField = check(FMBus, "CB_MBus_Fix_CField", 136);
  CB_MBus_Fix_CField_Val = list(FMBus, "CB_MBus_Fix_CField_Val", TParGen_List::MBus_Fix_CField_Val);
  CB_MBus_Exception_Until_First_Read =
      check(FMBus, "CB_MBus_Exception_Until_First_Read", 272, QStringLiteral("Reply with Exception Until First Read"));
  FMBus.Rows = {
      {{{L_MBus_Baud, 0}, {CB_MBus_Baud, -3}}},
      {{{L_MBus_Par, 0}, {CB_MBus_Parity, -3}}},
      {{{L_MBus_Polls, 0}, {CB_MBus_Polls, -3}}},
      {{{L_MBus_Delay, 0}, {E_MBus_Delay, -3}}},
      // The node-state label takes two lines; its edit stands beside the second, short one.
      {{{L_MBus_NodeState1, -3}, {L_MBus_NodeState2, 10}, {E_MBus_NodeState, 10}}},
      {{{L_MBus_Serial, 0}, {CB_MBus_Serial, -3}}},
      {{{CB_MBus_Fix_CField, -3}, {CB_MBus_Fix_CField_Val, -3}}},
      {{{CB_MBus_Exception_Until_First_Read, -3}}},
  };

  // Modbus slave port.
  box(FModSlave, "GB_Modbus_Slave", "Btn_Modbus_Slave_Collapse", "Btn_Modbus_Slave_Expande", &GB_Modbus_Slave_Visible);
  GB_Modbus_Slave = FModSlave.Box;
  L_ModSlave_Serial = label(FModSlave, "L_ModSlave_Serial");
  CB_Serial_Modbus_Slave = list(FModSlave, "CB_Serial_Modbus_Slave", TParGen_List::Serial_Modbus_Slave);
  L_ModSlave_Baud = label(FModSlave, "L_ModSlave_Baud");
  CB_Baud_Modbus_Slave = list(FModSlave, "CB_Baud_Modbus_Slave", TParGen_List::Baud_Modbus_Slave);
  L_ModSlave_Par = label(FModSlave, "L_ModSlave_Par");
  CB_Par_Modbus_Slave = list(FModSlave, "CB_Par_Modbus_Slave", TParGen_List::Par_Modbus_Slave);
  L_ModSlave_StopBits = label(FModSlave, "L_ModSlave_StopBits");
  CB_ModSlave_StopBits = list(FModSlave, "CB_ModSlave_StopBits", TParGen_List::ModSlave_StopBits);
  L_ModSlave_IDDev = label(FModSlave, "L_ModSlave_IDDev");
  E_ID_Modbus_Slave = edit(FModSlave, "E_ID_Modbus_Slave", Control_Left, 70);
  L_ModSlave_Protocol = label(FModSlave, "L_ModSlave_Protocol");
  CB_Protocol_Modbus_Slave = list(FModSlave, "CB_Protocol_Modbus_Slave", TParGen_List::Protocol_Modbus_Slave);
  FModSlave.Rows = {
      {{{L_ModSlave_Serial, 0}, {CB_Serial_Modbus_Slave, -3}}},
      {{{L_ModSlave_Baud, 0}, {CB_Baud_Modbus_Slave, -3}}},
      {{{L_ModSlave_Par, 0}, {CB_Par_Modbus_Slave, -3}}},
      {{{L_ModSlave_StopBits, 0}, {CB_ModSlave_StopBits, -3}}},
      {{{L_ModSlave_IDDev, 0}, {E_ID_Modbus_Slave, -3}}},
      {{{L_ModSlave_Protocol, 0}, {CB_Protocol_Modbus_Slave, -3}}},
  };

  // Wireless M-Bus radio.
  box(FwMBus, "GB_wMBus", "Btn_wMBus_Collapse", "Btn_wMBus_Expande", &GB_wMBus_Visible);
  GB_wMBus = FwMBus.Box;
  L_wMBus_Mode = label(FwMBus, "L_wMBus_Mode");
  CB_wMBus_Mode = list(FwMBus, "CB_wMBus_Mode", TParGen_List::wMBus_Mode);
  L_wMBus_Radio_Channel = label(FwMBus, "L_wMBus_Radio_Channel");
  CB_wMBus_Radio_Channel = list(FwMBus, "CB_wMBus_Radio_Channel", TParGen_List::wMBus_Radio_Channel);
  FwMBus.Rows = {
      {{{L_wMBus_Mode, 0}, {CB_wMBus_Mode, -3}}},
      {{{L_wMBus_Radio_Channel, 0}, {CB_wMBus_Radio_Channel, -3}}},
  };
  FwMBus.FixedHeight = 92;

  Btn_Select_Device_Collapse = FSelect.Collapse;
  Btn_Select_Device_Expande = FSelect.Expande;
  Btn_Sel_Dev_Wire_Present_Collapse = FWirePresent.Collapse;
  Btn_Sel_Dev_Wire_Present_Expande = FWirePresent.Expande;
  Btn_Modbus_TCP_Slave_Collapse = FTCP.Collapse;
  Btn_Modbus_TCP_Slave_Expande = FTCP.Expande;
  Btn_MBus_Collapse = FMBus.Collapse;
  Btn_MBus_Expande = FMBus.Expande;
  Btn_Modbus_Slave_Collapse = FModSlave.Collapse;
  Btn_Modbus_Slave_Expande = FModSlave.Expande;
  Btn_wMBus_Collapse = FwMBus.Collapse;
  Btn_wMBus_Expande = FwMBus.Expande;

  SetClientWidth(312);
}

void TFParGen::DoCreate() {
  L_SW_Code->SetCaption(SW_Code_Type(FDeviceType));
  CB_Select_Device->Items()->SetText(pargen::List_Items(TParGen_List::Select_Device, FDeviceType).join(u'\n'));
  CB_Select_Device->SetItemIndex(0);
  Collapse_Expand_Creation();
  Move_GroupBoxs();
  Set_Lang();
  TForm::DoCreate();
}

void TFParGen::Collapse_Expand_Creation() {
  for (TBox* b : {&FSelect, &FWirePresent, &FTCP, &FMBus, &FModSlave, &FwMBus}) {
    *b->Expanded = true;
    b->Collapse->SetVisible(true);
    b->Expande->SetVisible(false);
  }
}

void TFParGen::Set_Lang() {
  SetCaption(Lang_Text(90));
  L_SW_Desc->SetCaption(Lang_Text(91));
  Btn_OK->SetCaption(Lang_Text(92));
  Btn_Cancel->SetCaption(Lang_Text(93));
  GB_Select_Device->SetCaption(Lang_Text(94));
  GB_Modbus_TCP_Slave->SetCaption(Lang_Text(Tcp_Box_Caption(Device_Model(FDeviceType).Settings)));
  L_ModTCPs_IP->SetCaption(Lang_Text(96));
  L_ModTCPs_SM->SetCaption(Lang_Text(97));
  CB_ModTCPs_EN_GAT->SetCaption(Lang_Text(98));
  L_ModTCPs_Port->SetCaption(Lang_Text(99));
  L_ModTCPs_Con_TO->SetCaption(Lang_Text(100));
  GB_MBus->SetCaption(Lang_Text(101));
  L_MBus_Baud->SetCaption(Lang_Text(102));
  L_MBus_Par->SetCaption(Lang_Text(103));
  L_MBus_Polls->SetCaption(Lang_Text(104));
  CB_MBus_Polls->Items()->Clear();
  CB_MBus_Polls->Items()->Add(Lang_Text(274));
  CB_MBus_Polls->Items()->Add(Lang_Text(275));
  if (Device_Model(FDeviceType).Polling == TPolling::With_Passive) CB_MBus_Polls->Items()->Add(Lang_Text(276));
  CB_MBus_Polls->SetItemIndex(pargen::Polls_Fixed_Cyclic(FDeviceType) ? pargen::Polls_Cyclic : 0);
  L_MBus_Delay->SetCaption(Lang_Text(105));
  L_MBus_NodeState1->SetCaption(Lang_Text(106));
  L_MBus_NodeState2->SetCaption(Lang_Text(107));
  for (TBox* b : {&FSelect, &FTCP, &FMBus, &FModSlave, &FwMBus}) {
    b->Collapse->SetHint(Lang_Text(108));
    b->Collapse->SetShowHint(true);
    b->Expande->SetHint(Lang_Text(109));
    b->Expande->SetShowHint(true);
  }
  GB_Modbus_Slave->SetCaption(Lang_Text(277));
  L_ModSlave_Serial->SetCaption(Lang_Text(278));
  L_ModSlave_Baud->SetCaption(Lang_Text(279));
  L_ModSlave_Par->SetCaption(Lang_Text(280));
  L_ModSlave_IDDev->SetCaption(Lang_Text(281));
  L_ModSlave_Protocol->SetCaption(Lang_Text(282));
  GB_wMBus->SetCaption(Lang_Text(283));
  L_wMBus_Mode->SetCaption(Lang_Text(284));
  L_wMBus_Radio_Channel->SetCaption(Lang_Text(344));
  L_ModSlave_StopBits->SetCaption(Lang_Text(352));
  CB_MBus_Fix_CField->SetCaption(Lang_Text(377));
  CB_MBus_Exception_Until_First_Read->SetCaption(QStringLiteral("Reply with Exception Until First Read"));
}

// ---- values -----------------------------------------------------------------------------------------------------

TParGen_Data TFParGen::Values() const {
  TParGen_Data d;
  d.Sel_Dev = CB_Select_Device->ItemIndex();
  d.Sel_Dev_MBus_Present = CB_SD_Wire_Present_MBus->ItemIndex();
  for (std::size_t i = 0; i < 4; ++i) {
    d.IP[i] = E_IP[i]->Text();
    d.SM[i] = E_SM[i]->Text();
    d.GA[i] = E_GAT[i]->Text();
  }
  d.Gat_Enable = CB_ModTCPs_EN_GAT->Checked();
  d.TCP_Port = E_PORT->Text();
  d.TCP_Conn_TimeOut = E_MTCPs_Conn_TO->Text();
  d.Meter_Baud = CB_MBus_Baud->ItemIndex();
  d.Meter_Par = CB_MBus_Parity->ItemIndex();
  d.Meter_Polls = CB_MBus_Polls->ItemIndex();
  d.Meter_Req_Delay = E_MBus_Delay->Text();
  d.Node_State = E_MBus_NodeState->Text();
  d.Enable_Use_Fix_C_Field = CB_MBus_Fix_CField->Checked();
  d.Use_Fix_C_Field_Value = CB_MBus_Fix_CField_Val->ItemIndex();
  d.Reply_Exception_Until_First_Read = CB_MBus_Exception_Until_First_Read->Checked();
  d.MBUS_Ser = CB_MBus_Serial->ItemIndex();
  d.Mod_Ser = CB_Serial_Modbus_Slave->ItemIndex();
  d.Mod_Baud = CB_Baud_Modbus_Slave->ItemIndex();
  d.Mod_Par = CB_Par_Modbus_Slave->ItemIndex();
  d.Mod_StopBit = CB_ModSlave_StopBits->ItemIndex();
  d.Mod_Id = E_ID_Modbus_Slave->Text();
  d.Mod_Protocol = CB_Protocol_Modbus_Slave->ItemIndex();
  d.wMBus_Mode = CB_wMBus_Mode->ItemIndex();
  d.wMBus_Radio_Channel = CB_wMBus_Radio_Channel->ItemIndex();
  return d;
}

void TFParGen::Set_Values(const TParGen_Data& d) {
  const bool loading = FLoading;
  FLoading = true;
  CB_Select_Device->SetItemIndex(d.Sel_Dev);
  CB_SD_Wire_Present_MBus->SetItemIndex(d.Sel_Dev_MBus_Present);
  for (std::size_t i = 0; i < 4; ++i) {
    E_IP[i]->SetText(d.IP[i]);
    E_SM[i]->SetText(d.SM[i]);
    E_GAT[i]->SetText(d.GA[i]);
  }
  CB_ModTCPs_EN_GAT->SetChecked(d.Gat_Enable);
  E_PORT->SetText(d.TCP_Port);
  E_MTCPs_Conn_TO->SetText(d.TCP_Conn_TimeOut);
  CB_MBus_Baud->SetItemIndex(d.Meter_Baud);
  CB_MBus_Parity->SetItemIndex(d.Meter_Par);
  CB_MBus_Polls->SetItemIndex(d.Meter_Polls);
  E_MBus_Delay->SetText(d.Meter_Req_Delay);
  E_MBus_NodeState->SetText(d.Node_State);
  CB_MBus_Fix_CField->SetChecked(d.Enable_Use_Fix_C_Field);
  CB_MBus_Fix_CField_Val->SetItemIndex(d.Use_Fix_C_Field_Value);
  CB_MBus_Exception_Until_First_Read->SetChecked(d.Reply_Exception_Until_First_Read);
  CB_MBus_Serial->SetItemIndex(d.MBUS_Ser);
  CB_Serial_Modbus_Slave->SetItemIndex(d.Mod_Ser);
  CB_Baud_Modbus_Slave->SetItemIndex(d.Mod_Baud);
  CB_Par_Modbus_Slave->SetItemIndex(d.Mod_Par);
  CB_ModSlave_StopBits->SetItemIndex(d.Mod_StopBit);
  E_ID_Modbus_Slave->SetText(d.Mod_Id);
  CB_Protocol_Modbus_Slave->SetItemIndex(d.Mod_Protocol);
  CB_wMBus_Mode->SetItemIndex(d.wMBus_Mode);
  CB_wMBus_Radio_Channel->SetItemIndex(d.wMBus_Radio_Channel);
  FLoading = loading;
}

// ---- reading, checking, writing ----------------------------------------------------------------------------------

void TFParGen::FormShow(TObject*) {
  TParGen_Data d = Values();
  QString error;
  const pargen::TParGen_Read r = pargen::Read_ParGen(File_ParGen, FDeviceType, d, &error);
  Set_Values(d);
  Apply_Polling_Rule();
  Is_Change = false;
  Move_GroupBoxs();
  if (r == pargen::TParGen_Read::Malformed) {
    // The window still opens, with the defaults; the file stays as it is until the user saves.
    const Exception e(QStringLiteral("The file %1 is not a valid configuration file (%2). The window shows the "
                                     "default values; OK replaces the file and keeps the old one as %1.bad")
                          .arg(File_ParGen, error));
    Application->ShowException(e);
  }
}

void TFParGen::FormActivate(TObject*) {
  if (Top() < 0) SetTop(0);
}

bool TFParGen::Controllo_Dati() {
  const std::optional<int> failed = pargen::Check_ParGen(FDeviceType, Values());
  if (!failed) return true;
  MessageDlg(Lang_Text(*failed), mtError, TMsgDlgButtons{mbOK});
  return false;
}

void TFParGen::Btn_OKClick(TObject*) {
  if (!Controllo_Dati()) return;
  QString error;
  if (!pargen::Save_ParGen(File_ParGen, FDeviceType, Values(), &error)) {
    Application->ShowException(Exception(error));
    return;
  }
  SetModalResult(mrOk);
}

void TFParGen::Btn_CancelClick(TObject*) {
  if (Is_Change && MessageDlg(Lang_Text(126), mtConfirmation, mbYesNo) != mrYes) return;
  SetModalResult(mrCancel);
}

// ---- coupling --------------------------------------------------------------------------------------------------

void TFParGen::On_Change(TObject* Sender) {
  if (FLoading) return;
  Is_Change = true;
  if (Sender == CB_Select_Device) Move_GroupBoxs();
  if (Device_Model(FDeviceType).Serial_Ports == TSerial_Ports::Modbus_And_MBus) {
    // At most one side on RS232.
    if (Sender == CB_MBus_Serial && CB_MBus_Serial->ItemIndex() == 1) CB_Serial_Modbus_Slave->SetItemIndex(0);
    if (Sender == CB_Serial_Modbus_Slave && CB_Serial_Modbus_Slave->ItemIndex() == 1) CB_MBus_Serial->SetItemIndex(0);
  }
  if (Sender == CB_SD_Wire_Present_MBus && pargen::Polls_Fixed_Cyclic(FDeviceType)) Move_GroupBoxs();
  if (Sender == CB_MBus_Polls) Apply_Polling_Rule();
}

void TFParGen::On_Click(TObject*) {
  if (FLoading) return;
  Is_Change = true;
}

void TFParGen::Apply_Polling_Rule() {
  // The exception reply only makes sense while the converter polls cyclically; a disabled box keeps its state.
  if (Device_Model(FDeviceType).Reply_Exception)
    CB_MBus_Exception_Until_First_Read->SetEnabled(CB_MBus_Polls->ItemIndex() == pargen::Polls_Cyclic);
}

void TFParGen::Apply_Presence_Rule() {
  const bool loading = FLoading;
  FLoading = true;
  CB_MBus_Polls->SetItemIndex(pargen::Polls_Cyclic);
  CB_MBus_Polls->SetEnabled(false);
  FLoading = loading;
}

void TFParGen::KeyPress(TObject* Sender, char16_t& Key) {
  if (Key != u'.') return;
  Key = 0;
  for (std::size_t i = 0; i + 1 < FAddressEdits.size(); ++i) {
    if (FAddressEdits[i] != Sender) continue;
    if (FAddressEdits[i + 1]->CanFocus()) {
      FAddressEdits[i + 1]->SetFocus();
      FAddressEdits[i + 1]->SelectAll();  // the next number typed replaces the field's text
    }
    return;
  }
}

// ---- layout -----------------------------------------------------------------------------------------------------

TFParGen::TBox* TFParGen::Box_Of_Button(TObject* Sender) {
  for (TBox* b : {&FSelect, &FWirePresent, &FTCP, &FMBus, &FModSlave, &FwMBus})
    if (b->Collapse == Sender || b->Expande == Sender) return b;
  return nullptr;
}

void TFParGen::Btn_GB_Collapse(TObject* Sender) {
  TBox* b = Box_Of_Button(Sender);
  if (!b) return;
  b->Box->SetHeight(Collapsed_Height);
  b->Collapse->SetVisible(false);
  b->Expande->SetVisible(true);
  *b->Expanded = false;
  Move_GroupBoxs();
}

void TFParGen::Btn_GB_Expande(TObject* Sender) {
  TBox* b = Box_Of_Button(Sender);
  if (!b) return;
  b->Collapse->SetVisible(true);
  b->Expande->SetVisible(false);
  *b->Expanded = true;
  Move_GroupBoxs();
}

void TFParGen::Arrange(const std::vector<TPlacedBox>& Plan) {
  for (TBox* b : {&FSelect, &FWirePresent, &FTCP, &FMBus, &FModSlave, &FwMBus}) {
    bool planned = false;
    for (const TPlacedBox& p : Plan) planned = planned || p.Box == b;
    if (!planned) b->Box->SetVisible(false);
  }
  int top = First_Box_Top;
  for (const TPlacedBox& p : Plan) {
    TBox& b = *p.Box;
    const bool expanded = *b.Expanded;
    int bottom = 0;
    for (std::size_t r = 0; r < b.Rows.size(); ++r) {
      const auto placed = std::find_if(p.Rows.begin(), p.Rows.end(), [&](const auto& x) { return x.first == int(r); });
      const bool shown = placed != p.Rows.end();
      if (shown) {
        b.Rows[r].Place(placed->second);
        bottom = std::max(bottom, b.Rows[r].Bottom());
      }
      // A collapsed box shows its caption only.
      b.Rows[r].SetVisible(shown && expanded);
    }
    const int height = !expanded ? Collapsed_Height : b.FixedHeight ? b.FixedHeight : bottom + 15;
    b.Box->SetBounds(Box_Left, top, Box_Width, height);
    b.Box->SetVisible(true);
    top += height + Box_Gap;
  }
  const int last = top - Box_Gap;
  SetClientWidth(312);
  SetClientHeight(last + 54);
  // The buttons stand 13 pixels below the last box.
  const int buttonTop = last + 13 - P_Button->Top();
  Btn_OK->SetTop(buttonTop);
  Btn_Cancel->SetTop(buttonTop);
  Place_Dialog_Buttons(TDialogFrame{P_Title, L_SW_Code, L_SW_Desc, P_Button, Btn_OK, Btn_Cancel});
}

void TFParGen::Move_GroupBoxs() {
  switch (Device_Model(FDeviceType).Settings) {
    case TSettings_Form::Ethernet: RePosition_Objects_427(); break;
    case TSettings_Form::Serial_Ethernet_Variant: RePosition_Objects_318(); break;
    case TSettings_Form::Serial_Two_Ports: RePosition_Objects_536(); break;
    case TSettings_Form::Serial: RePosition_Objects_754(); break;
    case TSettings_Form::Wireless_Serial: RePosition_Objects_863(); break;
    case TSettings_Form::Wireless_TCP: RePosition_Objects_872(); break;
    case TSettings_Form::None: Arrange({}); break;
  }
}

void TFParGen::RePosition_Objects_427() {
  std::vector<std::pair<int, int>> tcp = {{0, Tcp_Top[0]}, {1, Tcp_Top[1]}, {2, Tcp_Top[2]}, {3, Tcp_Top[3]}};
  if (CB_Select_Device->ItemIndex() == 1) tcp.push_back({4, Tcp_Top[4]});
  // The fixed-C-field and exception rows take the places of the serial and fixed-C-field rows.
  Arrange({{&FSelect, {{0, 24}}},
           {&FTCP, tcp},
           {&FMBus, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}, {4, Slot(4)}, {6, Slot(5)}, {7, Slot(6)}}}});
}

void TFParGen::RePosition_Objects_318() {
  std::vector<TPlacedBox> plan = {
      {&FSelect, {{0, 24}}},
      {&FModSlave, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}, {4, Slot(4)}, {5, Slot(5)}}},
      {&FMBus, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}}}};
  if (CB_Select_Device->ItemIndex() == 1) {
    GB_Modbus_TCP_Slave->SetCaption(Lang_Text(354));
    plan.push_back({&FTCP, {{0, Tcp_Top[0]}, {1, Tcp_Top[1]}, {2, Tcp_Top[2]}}});
  }
  Arrange(plan);
}

void TFParGen::RePosition_Objects_536() {
  // The M-Bus serial row stands first, the others one row lower.
  Arrange({{&FModSlave, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}, {4, Slot(4)}, {5, Slot(5)}}},
           {&FMBus, {{5, Slot(0)}, {0, Slot(1)}, {1, Slot(2)}, {2, Slot(3)}, {3, Slot(4)}}}});
}

void TFParGen::RePosition_Objects_754() {
  // No serial row: the other Modbus rows move up one row each.
  Arrange({{&FModSlave, {{1, Slot(0)}, {2, Slot(1)}, {3, Slot(2)}, {4, Slot(3)}, {5, Slot(4)}}},
           {&FMBus, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}}}});
}

void TFParGen::RePosition_Objects_863() {
  const bool loading = FLoading;
  FLoading = true;
  CB_Protocol_Modbus_Slave->SetItemIndex(0);
  FLoading = loading;
  Apply_Presence_Rule();
  std::vector<TPlacedBox> plan = {
      {&FWirePresent, {{0, 24}}},
      {&FModSlave, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}, {4, Slot(4)}}},
      {&FwMBus, {{0, Slot(0)}, {1, Slot(1)}}}};
  if (CB_SD_Wire_Present_MBus->ItemIndex() == 1)
    plan.push_back({&FMBus, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}, {4, Slot(4)}}});
  plan.push_back({&FTCP, {{0, Tcp_Top[0]}, {1, Tcp_Top[1]}, {2, Tcp_Top[2]}}});
  Arrange(plan);
}

void TFParGen::RePosition_Objects_872() {
  Apply_Presence_Rule();
  std::vector<TPlacedBox> plan = {
      {&FWirePresent, {{0, 24}}},
      {&FTCP, {{0, Tcp_Top[0]}, {1, Tcp_Top[1]}, {2, Tcp_Top[2]}, {3, Tcp_Top[3]}, {4, Tcp_Top[4]}}},
      {&FwMBus, {{0, Slot(0)}, {1, Slot(1)}}}};
  if (CB_SD_Wire_Present_MBus->ItemIndex() == 1)
    plan.push_back({&FMBus, {{0, Slot(0)}, {1, Slot(1)}, {2, Slot(2)}, {3, Slot(3)}, {4, Slot(4)}}});
  Arrange(plan);
}
