#pragma once
// "Set Communication": the converter's variant, Ethernet settings, Modbus slave port, wireless M-Bus radio and
// M-Bus master line of the open configuration, kept in ParGen.xml. One set of controls in six group boxes serves
// every device type: the window shows the boxes and rows the type uses, stacks them and sizes itself to fit;
// each box collapses to its caption. It reads the file at every showing and writes it whole on OK.

#include <array>
#include <vector>

#include "controls/lb_button.h"
#include "core/device_model.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "core/par_gen_file.h"

class TFParGen : public plat::TForm {
 public:
  // The device type is the build's own unless a caller (a test) asks for another one.
  explicit TFParGen(plat::TComponent* AOwner, int DeviceType = Device_Type);
  ~TFParGen() override;

  int DeviceType() const { return FDeviceType; }

  void Set_Lang();
  // The checks of a save, in order; the first failure shows its text and gives false.
  bool Controllo_Dati();
  void Btn_OKClick(plat::TObject* Sender);
  void Btn_CancelClick(plat::TObject* Sender);
  // Reads File_ParGen into the controls (every showing).
  void FormShow(plat::TObject* Sender);
  void FormActivate(plat::TObject* Sender);
  void On_Change(plat::TObject* Sender);
  void On_Click(plat::TObject* Sender);
  // "." in an address edit moves on to the next address edit.
  using plat::TForm::KeyPress;
  void KeyPress(plat::TObject* Sender, char16_t& Key);
  void Btn_GB_Collapse(plat::TObject* Sender);
  void Btn_GB_Expande(plat::TObject* Sender);

  void Collapse_Expand_Creation();
  // Shows, fills and stacks the boxes for the device type and fits the window around them.
  void Move_GroupBoxs();
  void RePosition_Objects_427();  // types 1 and 1001
  void RePosition_Objects_318();  // types 2 and 3
  void RePosition_Objects_536();  // type 4
  void RePosition_Objects_754();  // type 5
  void RePosition_Objects_863();  // type 6
  void RePosition_Objects_872();  // types 7 and 1007

  // The values the controls hold, and setting them all at once.
  pargen::TParGen_Data Values() const;
  void Set_Values(const pargen::TParGen_Data& Data);

  bool Is_Change = false;
  bool GB_Select_Device_Visible = true;
  bool GB_Modbus_TCP_Slave_Visible = true;
  bool GB_MBus_Visible = true;
  bool GB_Modbus_Slave_Visible = true;
  bool GB_wMBus_Visible = true;
  bool GB_Sel_Dev_Wire_Present_Visible = true;

  plat::TPanel* P_Title = nullptr;
  plat::TLabel* L_SW_Code = nullptr;
  plat::TLabel* L_SW_Desc = nullptr;
  plat::TPanel* P_Button = nullptr;
  controls::TLbButton* Btn_OK = nullptr;
  controls::TLbButton* Btn_Cancel = nullptr;

  plat::TGroupBox* GB_Select_Device = nullptr;
  plat::TComboBox* CB_Select_Device = nullptr;

  plat::TGroupBox* GB_Sel_Dev_Wire_Present = nullptr;
  plat::TLabel* L_SD_Wire_Present_MBus = nullptr;
  plat::TComboBox* CB_SD_Wire_Present_MBus = nullptr;

  plat::TGroupBox* GB_Modbus_TCP_Slave = nullptr;
  plat::TLabel* L_ModTCPs_IP = nullptr;
  plat::TLabel* L_ModTCPs_SM = nullptr;
  plat::TCheckBox* CB_ModTCPs_EN_GAT = nullptr;
  std::array<plat::TEdit*, 4> E_IP{};
  std::array<plat::TEdit*, 4> E_SM{};
  std::array<plat::TEdit*, 4> E_GAT{};
  plat::TLabel* L_ModTCPs_Port = nullptr;
  plat::TEdit* E_PORT = nullptr;
  plat::TLabel* L_ModTCPs_Con_TO = nullptr;
  plat::TEdit* E_MTCPs_Conn_TO = nullptr;

  plat::TGroupBox* GB_MBus = nullptr;
  plat::TLabel* L_MBus_Baud = nullptr;
  plat::TComboBox* CB_MBus_Baud = nullptr;
  plat::TLabel* L_MBus_Par = nullptr;
  plat::TComboBox* CB_MBus_Parity = nullptr;
  plat::TLabel* L_MBus_Polls = nullptr;
  plat::TComboBox* CB_MBus_Polls = nullptr;
  plat::TLabel* L_MBus_Delay = nullptr;
  plat::TEdit* E_MBus_Delay = nullptr;
  plat::TLabel* L_MBus_NodeState1 = nullptr;
  plat::TLabel* L_MBus_NodeState2 = nullptr;
  plat::TEdit* E_MBus_NodeState = nullptr;
  plat::TLabel* L_MBus_Serial = nullptr;
  plat::TComboBox* CB_MBus_Serial = nullptr;
  plat::TCheckBox* CB_MBus_Fix_CField = nullptr;
  plat::TComboBox* CB_MBus_Fix_CField_Val = nullptr;
  plat::TCheckBox* CB_MBus_Exception_Until_First_Read = nullptr;

  plat::TGroupBox* GB_Modbus_Slave = nullptr;
  plat::TLabel* L_ModSlave_Serial = nullptr;
  plat::TComboBox* CB_Serial_Modbus_Slave = nullptr;
  plat::TLabel* L_ModSlave_Baud = nullptr;
  plat::TComboBox* CB_Baud_Modbus_Slave = nullptr;
  plat::TLabel* L_ModSlave_Par = nullptr;
  plat::TComboBox* CB_Par_Modbus_Slave = nullptr;
  plat::TLabel* L_ModSlave_StopBits = nullptr;
  plat::TComboBox* CB_ModSlave_StopBits = nullptr;
  plat::TLabel* L_ModSlave_IDDev = nullptr;
  plat::TEdit* E_ID_Modbus_Slave = nullptr;
  plat::TLabel* L_ModSlave_Protocol = nullptr;
  plat::TComboBox* CB_Protocol_Modbus_Slave = nullptr;

  plat::TGroupBox* GB_wMBus = nullptr;
  plat::TLabel* L_wMBus_Mode = nullptr;
  plat::TComboBox* CB_wMBus_Mode = nullptr;
  plat::TLabel* L_wMBus_Radio_Channel = nullptr;
  plat::TComboBox* CB_wMBus_Radio_Channel = nullptr;

  plat::TButton* Btn_Select_Device_Collapse = nullptr;
  plat::TButton* Btn_Select_Device_Expande = nullptr;
  plat::TButton* Btn_Sel_Dev_Wire_Present_Collapse = nullptr;
  plat::TButton* Btn_Sel_Dev_Wire_Present_Expande = nullptr;
  plat::TButton* Btn_Modbus_TCP_Slave_Collapse = nullptr;
  plat::TButton* Btn_Modbus_TCP_Slave_Expande = nullptr;
  plat::TButton* Btn_MBus_Collapse = nullptr;
  plat::TButton* Btn_MBus_Expande = nullptr;
  plat::TButton* Btn_Modbus_Slave_Collapse = nullptr;
  plat::TButton* Btn_Modbus_Slave_Expande = nullptr;
  plat::TButton* Btn_wMBus_Collapse = nullptr;
  plat::TButton* Btn_wMBus_Expande = nullptr;

 protected:
  void DoCreate() override;

 public:
  // One row of a box: its parts and where each stands relative to the row's label top.
  struct TRow {
    std::vector<std::pair<plat::TControl*, int>> Parts;
    void Place(int LabelTop) const;
    void SetVisible(bool V) const;
    int Bottom() const;
  };
  // A box of the window with its rows, its collapse and expand buttons and its expanded flag.
  struct TBox {
    plat::TGroupBox* Box = nullptr;
    plat::TButton* Collapse = nullptr;
    plat::TButton* Expande = nullptr;
    bool* Expanded = nullptr;
    std::vector<TRow> Rows;
    int FixedHeight = 0;  // 0: fitted to its rows
  };
  // A box as a device type shows it: which rows stand at which label tops.
  struct TPlacedBox {
    TBox* Box;
    std::vector<std::pair<int, int>> Rows;  // (row index, label top)
  };

 private:
  void Build_Controls();
  void Arrange(const std::vector<TPlacedBox>& Plan);
  void Apply_Presence_Rule();
  void Apply_Polling_Rule();
  TBox* Box_Of_Button(plat::TObject* Sender);

  int FDeviceType;
  bool FLoading = false;
  TBox FSelect, FWirePresent, FTCP, FMBus, FModSlave, FwMBus;
  std::array<plat::TEdit*, 12> FAddressEdits{};
};

extern TFParGen* FParGen;
