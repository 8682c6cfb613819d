#pragma once
// The Scan & Decode window: scans the M-Bus line behind a converter (wired, by primary or secondary address)
// or listens to wireless M-Bus telegrams through it, shows what it finds, takes the keys of encrypted wireless
// devices and saves the chosen result as the configuration's M_Bus.xml through the scanner's export.
//
// The window owns the scanner for the whole run of the program. No scan step runs on the GUI thread: the
// scanner's thread runs the steps, its progress reports are copied and queued to the GUI thread in the order
// they were made, and a 1000 ms timer polls for the end of a scan. Closing the window mid-scan asks the scanner
// to end its scan through its closing steps (which leave the converter's analyzer mode) without waiting here.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

#include "controls/lb_button.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/stdctrls.h"
#include "grid/extgrid.h"
#include "platform/graphics/imagelist.h"
#include "platform/grids/stringgrid.h"
#include "core/mbus_network.h"
#include "scanner/mbus_scan.h"
#include "scanner/scan_export.h"
#include "windows/scan_decode_tree.h"
#include "windows/window_frame.h"

// How the window makes its scanner: where its socket binds and the scan's waits. Read when the window is
// created; the program keeps the defaults, tests bind loopback and shorten the waits.
struct TScan_Setup {
  TScanNetConfig Net;
  TScanTiming Timing;
};
TScan_Setup& Scan_Setup();

// The wireless devices' grid: a colour per data row for columns 1 to 12 (the cells' brush colours) and the
// lock picture of the grid's image list (IL_Wireless_Table: 0 closed, 1 open) centred in column 12.
class TWireless_Grid : public grid::TExtStringGrid {
 public:
  explicit TWireless_Grid(plat::TComponent* AOwner);
  void Set_Row_Look(int Row, bool Cripted);  // Row >= 1
  void Clear_Looks();                        // every row, before the rows are cut back
  plat::TColor Row_Color(int Row) const;     // clWhite for a row without a look
  int Row_Image(int Row);                    // 0 encrypted, 1 readable, -1 none

 private:
  plat::TImageList* IL_Wireless_Table = nullptr;
};

// Texts of the window's lines, made from the scan lists.
namespace scan_text {
// The progress line of a wired report; empty when the report adds none.
QString Progress_Line(TScan_Report MsgType, int32_t Address, int32_t Found, TScan_Kind ScanKind);
QString Slave(const TSlave_MBus& S);
QString Record(const TVariable_MBus& V);
QString Detail(const TVariable_MBus& V, int Position);  // Position 0..11
QString Wireless_Device(const TSlave_wMBus& D);
QString Wireless_Record(const TVariable_MBus& V);
// Columns 0..11 of the grid row of device Index.
QStringList Wireless_Row(int Index, const TSlave_wMBus& D);
// The radio's mode code for the mode list's item: S 1, T 5, N1 15, N2 17, C 11.
int Mode_Code(int Item);
}  // namespace scan_text

// What the window shows: its parameters (idle), a wired scan running or ended, a wireless listening running or
// ended. The numbers are the window's historical style numbers.
enum class TScan_Style : int { Idle = 1, Wired_Running = 2, Wired_Ended = 3, Wireless_Running = 4, Wireless_Ended = 5 };

class TFScanDecode : public plat::TForm {
 public:
  explicit TFScanDecode(plat::TComponent* AOwner);
  ~TFScanDecode() override;

  // Set by the main window before each showing.
  int XML_Code_Dev = 0;
  QString FileName_MBus;
  int Form_Type = 0;  // 1: the wireless-capable layout
  bool Cyclic_Scan = false;
  int Error_Cyclic = 0;

  std::unique_ptr<TMBusScanDecode> TR_ScanDecode;

  // The parameter panel.
  plat::TPanel* P_Main = nullptr;
  plat::TLabel* L_ScanMethod = nullptr;
  plat::TComboBox* CB_ScanMethod = nullptr;
  plat::TLabel* L_ScanBy = nullptr;
  plat::TComboBox* CB_ScanBy = nullptr;
  plat::TLabel* L_HardwareType = nullptr;
  plat::TComboBox* CB_HardwareType = nullptr;
  plat::TLabel* L_IP = nullptr;
  plat::TEdit* E_IP1 = nullptr;
  plat::TEdit* E_IP2 = nullptr;
  plat::TEdit* E_IP3 = nullptr;
  plat::TEdit* E_IP4 = nullptr;
  plat::TLabel* L_ComPort = nullptr;
  plat::TComboBox* CB_ComPort = nullptr;
  controls::TLbButton* Btn_COM_List = nullptr;
  plat::TLabel* L_Port = nullptr;
  plat::TEdit* E_Port = nullptr;
  plat::TLabel* L_MBus_Param = nullptr;
  plat::TLabel* L_MBus_Baud = nullptr;
  plat::TComboBox* CB_MBus_Baud = nullptr;
  plat::TLabel* L_MBus_Parity = nullptr;
  plat::TComboBox* CB_MBus_Parity = nullptr;
  plat::TLabel* L_wMBus_Mode = nullptr;
  plat::TComboBox* CB_wMBus_Mode = nullptr;
  plat::TLabel* L_wMBus_Radio_Channel = nullptr;
  plat::TComboBox* CB_wMBus_Radio_Channel = nullptr;
  plat::TLabel* L_Opt_Scan = nullptr;
  plat::TCheckBox* CB_Opt_App_Reset = nullptr;
  plat::TCheckBox* CB_Opt_SND_NKE = nullptr;
  plat::TLabel* L_Opt_Cut_After = nullptr;
  plat::TEdit* E_Opt_Cut_After = nullptr;

  // The result panels.
  plat::TPanel* P_TreeView = nullptr;
  plat::TLabel* L_ScanProgress = nullptr;
  plat::TLabel* L_Num_Slave = nullptr;
  plat::TLabel* L_ListDevice = nullptr;
  plat::TListBox* LB_AvailableDevice = nullptr;
  TScan_Tree* LST = nullptr;
  plat::TPanel* P_View_Wireless = nullptr;
  TWireless_Grid* ESG_Wireless = nullptr;
  TScan_Tree* LST_Wireless = nullptr;
  plat::TImageList* IL_Tree1 = nullptr;  // the trees' node pictures, one per level

  plat::TPanel* P_Buttons = nullptr;
  controls::TLbButton* Btn_StartScan = nullptr;
  controls::TLbButton* Btn_StopScan = nullptr;
  controls::TLbButton* Btn_AbortScan = nullptr;
  controls::TLbButton* Btn_NewScan = nullptr;
  controls::TLbButton* Btn_SaveConf = nullptr;
  controls::TLbButton* Btn_SaveConfManual = nullptr;
  plat::TPopupMenu* PopupMenu1 = nullptr;
  plat::TLabel* Label1 = nullptr;  // Error_Cyclic, hidden
  plat::TTimer* T_InScan = nullptr;

  // Hidden while there is nothing to report.
  plat::TLabel* L_Scan_Report = nullptr;

  TScan_Style Style() const { return FStyle; }
  int Shown_Device() const { return FShown_Device; }  // the device of the wireless tree, -1 none

  void Set_Lang();
  void FormShow(plat::TObject* Sender);
  void FormClose(plat::TCloseAction& Action);
  void Move_Object_Type_Form();
  void Update_List_of_COM_Port();
  void Form_Style(TScan_Style Index);
  void BtnClick(plat::TObject* Sender);
  void Select_Scan();
  void StartScan();
  void StarScanWireless();
  void StopScan();
  void AbortScan();
  void NewScan();
  void T_InScanTimer(plat::TObject* Sender);
  void Ciclic1Click(plat::TObject* Sender);
  void Cancel_Device_List();
  void Cancel_Device_List_Wireless();
  void Cancel_Grid_Wireless();
  void Colomns_Width_Init();
  void Show_Slave_in_Tree();
  void Show_Slave_in_Tree_Wireless(int Index);
  void ESG_WirelessClickCell(int ARow);
  void ESG_WirelessDblClickCell(int ARow);
  void Select_SaveXML(int Type_SaveXML);
  bool SaveXML(bool Append, int Start_Modbus, int Start_Modbus_node);
  bool SaveXMLWireless(bool Append, int Start_Modbus, int Start_Modbus_node);
  // Fills the start-address dialog: one row per found device, each proposed the register after those of the
  // devices above it, the first First.
  void Carica_Dati_Modbus_Start_Add(int64_t First = 1);

  // A device's nodes in a tree: its own and one per record.
  struct TSlave_Nodes {
    lazytree::PLazyNode Device = nullptr;
    std::vector<lazytree::PLazyNode> Records;
  };

  // Whether a start goes the wireless way: the wireless layout with "M-Bus Wireless" chosen.
  bool Wireless_Chosen() const;
  // The progress reports as they arrive on the GUI thread.
  void Slave_List_Report(TScan_Report MsgType, int32_t Address, int32_t Found, TScan_Kind ScanKind);
  void Wireless_Row_Report(int Index, const QStringList& Cells, bool Cripted);

  // Shows what the user must know about the scanner's last scan: that it could not open its socket (with the
  // system's reason, such as the port being in use), that the converter did not confirm its mode, or that the
  // list of heard wireless devices is full and telegrams of further devices were ignored.
  void Show_Scan_Report(const TMBusScanDecode& Engine);
  void Show_Scan_Report(int32_t Result, const QString& Open_Error, uint64_t Ignored_Telegrams);

 protected:
  void DoCreate() override;

 private:
  void Make_Parameter_Panel();
  void Make_Result_Panels();
  void Make_Buttons();
  void Place_Row(plat::TControl* Label, plat::TControl* Field, int& Top);
  void Draw_Progress_Line(int Index, const plat::TRect& Rect);
  QString Scan_Address() const;
  void Key_Press_IP(plat::TEdit* Next, char16_t& Key);
  void Make_Save(int Type_SaveXML, bool Append, int Start);
  // The export's options from the window's fields and the start-address dialog.
  TSaveConfXML Save_Data(bool Append, int Start_Modbus, int Start_Modbus_node) const;
  // The wired tree's ticks, as the export asks for them.
  TScan_Check_State Ticks() const;
  core::net::TNetwork Network_To_Append() const;
  // The collision message of the records a save would add (to Existing when appending), or the export's refusal
  // of them; empty when they fit.
  QString Save_Collision(const TSaveConfXML& D, const core::net::TNetwork& Existing);

  // The wired tree's nodes of each found slave, by list position: the export reads the ticks through them (the
  // scan's records know nothing of the tree). Emptied with the tree.
  std::vector<TSlave_Nodes> FWired_Nodes;
  TScan_Style FStyle = TScan_Style::Idle;
  int FShown_Device = -1;
  bool FWireless_Running = false;  // the running or last scan was a wireless one
};

extern TFScanDecode* FScanDecode;
