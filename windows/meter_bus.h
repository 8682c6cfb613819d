#pragma once
// "M-Bus Access": the editor of the open configuration's M-Bus network (M_Bus.xml). A tree of the nodes and
// their variables on the left; a "Nodes" and a "Variables" page on the right with the ADD/MODIFY buttons; a
// popup menu of the tree copies, pastes and deletes. Every node and variable passes the network checks before it
// enters the network. OK writes the file, Cancel leaves it, Import replaces it with another file.

#include <array>
#include <optional>

#include "controls/ext_page_control.h"
#include "controls/lb_button.h"
#include "core/device_model.h"
#include "core/network_checks.h"
#include "core/network_input.h"
#include "platform/forms/comctrls.h"
#include "platform/forms/dialogs.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

class TFMeter_Bus : public plat::TForm {
 public:
  // The device type is the build's own unless a caller (a test) asks for another one.
  explicit TFMeter_Bus(plat::TComponent* AOwner, int DeviceType = Device_Type);
  ~TFMeter_Bus() override;

  int DeviceType() const { return FDeviceType; }
  const core::net::TNetwork& Network() const { return Nodi_List; }

  void Set_Lang();
  void FormShow(plat::TObject* Sender);
  void TWClick(plat::TObject* Sender);
  void Aggiorna_Label();
  void Nodes_Move_Elements();
  void CB_MBus_TypeChange(plat::TObject* Sender);
  void Sposta_Oggetti_Var(int Var_type);
  // Widens a list's drop-down to its widest item.
  void Select_Width_ComboBox(plat::TComboBox* CB);
  void CB_Var_ToDChange(plat::TObject* Sender);
  void CB_Var_DimChange(plat::TObject* Sender);
  void E_TP_YearChange(plat::TObject* Sender);
  void btn_Add_NodeClick(plat::TObject* Sender);
  void btn_Add_VarClick(plat::TObject* Sender);
  void btn_Delete_ItemClick(plat::TObject* Sender);
  void CopyVariable1Click(plat::TObject* Sender);
  void CopyNode1Click(plat::TObject* Sender);
  void PasteVariable1Click(plat::TObject* Sender);
  void PasteNode1Click(plat::TObject* Sender);
  void Btn_ImportNetClick(plat::TObject* Sender);
  void LbButton2Click(plat::TObject* Sender);  // OK
  void LbButton4Click(plat::TObject* Sender);  // Cancel

  // The checks of the two pages; the first failure shows its message and gives false.
  // The checks of the two pages; when they pass, Checked (if given) takes the values they read.
  bool Controllo_Dati_New_Var(bool newvar, core::net::TVariabile* Checked = nullptr);
  bool Controllo_Dati_New_Nodo(core::net::TNodo* Checked = nullptr);

  // The pages as typed, and filling them.
  core::net::TNode_Input Node_Page() const;
  void Set_Node_Page(const core::net::TNode_Input& In);
  core::net::TVar_Input Var_Page() const;
  void Set_Var_Page(const core::net::TVar_Input& In);

  int IND_NODO = -1;
  int IND_VAR = -1;
  plat::TTreeNode* NODE_ORIG = nullptr;
  plat::TTreeNode* NODE_ID = nullptr;
  plat::TTreeNode* SELECT_NODE = nullptr;
  bool Is_Change = false;
  int App_Serie_B2_645 = 0;
  // The file did not read at the last showing: OK asks before it writes over it.
  bool Read_Failed = false;

  TDialogFrame Frame;  // the title and button panels with OK and Cancel
  controls::TLbButton* Btn_ImportNet = nullptr;
  plat::TOpenDialog* OD_Import_Net = nullptr;

  plat::TTreeView* TW = nullptr;
  plat::TPopupMenu* PopupMenu1 = nullptr;
  plat::TMenuItem* CopyVariable1 = nullptr;
  plat::TMenuItem* PasteVariable1 = nullptr;
  plat::TMenuItem* CopyNode1 = nullptr;
  plat::TMenuItem* PasteNode1 = nullptr;
  plat::TMenuItem* DeleteItem1 = nullptr;

  controls::TExtPageControl* PageControl = nullptr;
  controls::TExtTabSheet* TS_Nodes = nullptr;
  controls::TExtTabSheet* TS_Variables = nullptr;

  // Nodes page.
  plat::TCheckBox* CB_Node_En = nullptr;
  plat::TLabel* L_Node_Desc = nullptr;
  plat::TEdit* E_New_Node_Desc = nullptr;
  plat::TLabel* L_MBus_Type = nullptr;
  plat::TComboBox* CB_MBus_Type = nullptr;
  plat::TRadioButton* RB_ID_Primary = nullptr;
  plat::TEdit* E_New_Node_ID_Pri = nullptr;
  plat::TRadioButton* RB_ID_Secondary = nullptr;
  plat::TEdit* E_New_Node_ID_Sec = nullptr;
  plat::TLabel* L_Node_State = nullptr;
  plat::TEdit* E_Node_State = nullptr;
  plat::TLabel* L_Iden = nullptr;
  plat::TEdit* E_Iden = nullptr;
  plat::TCheckBox* CB_BCDtoINT_IN = nullptr;
  plat::TLabel* L_Swap_IN = nullptr;
  plat::TComboBox* CB_Swap_IN = nullptr;
  plat::TCheckBox* CB_SND_NKE = nullptr;
  plat::TCheckBox* CB_Reset_App = nullptr;
  plat::TLabel* L_Var_Type = nullptr;
  plat::TComboBox* CB_Var_Type = nullptr;
  plat::TLabel* L_Cut_After = nullptr;
  plat::TComboBox* CB_Cut_After = nullptr;
  plat::TLabel* L_Frames = nullptr;
  plat::TLabel* L_Manu_Spec_Data = nullptr;
  plat::TEdit* E_Manu_Spec_Data = nullptr;
  plat::TLabel* L_MSD_Length = nullptr;
  plat::TEdit* E_MSD_Length = nullptr;
  plat::TLabel* L_MSD_Offset = nullptr;
  plat::TEdit* E_MSD_Offset = nullptr;
  plat::TLabel* L_Access_Number = nullptr;
  plat::TEdit* E_Access_Number = nullptr;
  controls::TLbButton* btn_Add_Node = nullptr;

  // The wireless panel.
  plat::TPanel* P_wMBus_Node = nullptr;
  plat::TLabel* L_wMBus_ManID = nullptr;
  plat::TEdit* E_wMBus_ManID = nullptr;
  plat::TLabel* L_wMBus_Add = nullptr;
  plat::TEdit* E_wMBus_Add = nullptr;
  plat::TLabel* L_wMBus_Ver = nullptr;
  plat::TEdit* E_wMBus_Ver = nullptr;
  plat::TLabel* L_wMBus_DevType = nullptr;
  plat::TEdit* E_wMBus_DevType = nullptr;
  plat::TCheckBox* CB_wMBus_EnKey = nullptr;
  std::array<plat::TLabel*, 16> L_wMBus_K{};
  std::array<plat::TEdit*, 16> E_wMBus_K{};
  plat::TLabel* L_wMBus_NodeState = nullptr;
  plat::TEdit* E_wMBus_NodeState = nullptr;
  plat::TLabel* L_wMBus_Ident = nullptr;
  plat::TEdit* E_wMBus_Ident = nullptr;
  plat::TLabel* L_wMBus_RSSI = nullptr;
  plat::TEdit* E_wMBus_RSSI = nullptr;
  plat::TLabel* L_wMBus_Access_Number = nullptr;
  plat::TEdit* E_wMBus_Access_Number = nullptr;
  plat::TCheckBox* CB_wMBus_Conv_BCD = nullptr;
  plat::TLabel* L_wMBus_Swap_Ident = nullptr;
  plat::TComboBox* CB_wMBus_Swap_Ident = nullptr;
  plat::TLabel* L_wMBus_VarList = nullptr;
  plat::TComboBox* CB_wMBus_VarList = nullptr;

  // Variables page.
  plat::TCheckBox* CB_Var_En = nullptr;
  plat::TLabel* L_Var_Desc = nullptr;
  plat::TEdit* E_New_Var_Desc = nullptr;
  plat::TLabel* L_Var_ToD = nullptr;
  plat::TComboBox* CB_Var_ToD = nullptr;
  plat::TLabel* L_VIF_ASCII = nullptr;
  plat::TEdit* E_VIF_ASCII = nullptr;
  plat::TLabel* L_Var_FF = nullptr;
  plat::TComboBox* CB_Var_FF = nullptr;
  plat::TLabel* L_Var_Dim = nullptr;
  plat::TComboBox* CB_Var_Dim = nullptr;
  plat::TLabel* L_Length = nullptr;
  plat::TEdit* E_Length = nullptr;
  plat::TLabel* L_Var_Unit = nullptr;
  plat::TComboBox* CB_Var_Unit = nullptr;
  plat::TLabel* L_Var_MR = nullptr;
  plat::TEdit* E_Var_MR = nullptr;
  plat::TLabel* L_Scale_MB = nullptr;
  plat::TEdit* E_Scale_MB = nullptr;
  plat::TLabel* L_Sto_Num = nullptr;
  plat::TEdit* E_Sto_Num = nullptr;
  plat::TLabel* L_Tariff = nullptr;
  plat::TEdit* E_Tariff = nullptr;
  plat::TLabel* L_VIFE = nullptr;
  plat::TComboBox* CB_VIFE = nullptr;
  plat::TGroupBox* GroupBox4 = nullptr;
  plat::TCheckBox* CB_TP_MR = nullptr;
  std::array<plat::TLabel*, 6> L_TP{};  // YY MM DD HH MM SS
  plat::TEdit* E_TP_Year = nullptr;
  plat::TEdit* ST_TP_Month = nullptr;
  plat::TEdit* ST_TP_Day = nullptr;
  plat::TEdit* ST_TP_Hour = nullptr;
  plat::TEdit* ST_TP_Min = nullptr;
  plat::TEdit* ST_TP_Sec = nullptr;
  plat::TCheckBox* CB_BCDtoINT = nullptr;
  plat::TCheckBox* CB_Float = nullptr;
  plat::TCheckBox* CB_Force_Int32 = nullptr;
  plat::TLabel* L_PostOpe = nullptr;
  plat::TComboBox* CB_PostOpe = nullptr;
  plat::TLabel* L_Position = nullptr;
  plat::TEdit* E_Position = nullptr;
  controls::TLbButton* btn_Add_Var = nullptr;

  // One row of a page: its controls and their left edges; the rows shown stand one pitch apart.
  struct TRow {
    std::vector<plat::TControl*> Parts;
    int Height = 21;
    void SetVisible(bool V) const;
    void Place(int Top) const;
  };

 protected:
  void DoCreate() override;

 private:
  void Build_Frame();
  void Build_Tree();
  void Build_Node_Page();
  void Build_Wireless_Panel();
  void Build_Var_Page();
  void Stack(const std::vector<std::pair<const TRow*, bool>>& Rows, int Top);
  void Show_Message(const core::net::TCheck_Message& M);
  bool Show_Result(const core::net::TCheck_Result& R);
  core::net::TNode_Layout Layout() const;
  void Read_Network();
  void Select_Tree_Node(plat::TTreeNode* N);
  void Refresh_Paste_Items();
  // A node's variable entries, made when the node is first opened or given a variable.
  void Ensure_Var_Entries(plat::TTreeNode* Entry);
  bool Node_Selected() const;
  bool Var_Selected() const;
  // Shows the new-node-ID dialog filled from In; on OK, Out holds the values its checks read.
  bool Run_Paste_Dialog(const core::net::TPaste_Input& In, core::net::TPaste_Values& Out);
  bool Copy_Node_Wireless() const;

  int FDeviceType;
  bool FLoading = false;
  core::net::TNetwork Nodi_List;
  std::optional<core::net::TNodo> Copy_Node;
  std::optional<core::net::TVariabile> Copy_Var;

  TRow FNode_Rows_En, FNode_Rows_Desc, FNode_Rows_Type, FNode_Rows_Pri, FNode_Rows_Sec, FNode_Rows_State,
      FNode_Rows_Iden, FNode_Rows_BCD, FNode_Rows_Swap, FNode_Rows_SND, FNode_Rows_Reset, FNode_Rows_VarType,
      FNode_Rows_Cut, FNode_Rows_MSD, FNode_Rows_MSD_Len, FNode_Rows_MSD_Off, FNode_Rows_Access, FNode_Rows_Button;
  TRow FVar_Rows_En, FVar_Rows_Desc, FVar_Rows_ToD, FVar_Rows_VIF, FVar_Rows_FF, FVar_Rows_Dim, FVar_Rows_Len,
      FVar_Rows_Unit, FVar_Rows_MR, FVar_Rows_Scale, FVar_Rows_Sto, FVar_Rows_Tariff, FVar_Rows_VIFE, FVar_Rows_TP,
      FVar_Rows_BCD, FVar_Rows_Float, FVar_Rows_Post, FVar_Rows_Position, FVar_Rows_Button;
};

extern TFMeter_Bus* FMeter_Bus;
