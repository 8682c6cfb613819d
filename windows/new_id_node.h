#pragma once
// "New Node ID": gives a pasted node or variable a new address and new Modbus registers before the network editor
// adds it. Form type 1 a wired node, 2 a variable, 3 a wireless node. The editor fills it with Setup, shows it,
// and on OK reads Values back; the dialog checks them with the network checks first.
//
// The register grid is a column grid: its columns 0 and 2 are read-only, column 1 takes the registers.

#include <vector>

#include "controls/lb_button.h"
#include "core/network_checks.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

namespace grid {
class TExtColumnGrid;
}

class TFNewIDNode : public plat::TForm {
 public:
  explicit TFNewIDNode(plat::TComponent* AOwner);
  ~TFNewIDNode() override;

  void Set_Lang();
  void FormShow(plat::TObject* Sender);
  void LbButton2Click(plat::TObject* Sender);  // OK

  // Fills the fields and the grid (three rows per group; one empty row for a node without variables).
  void Setup(const core::net::TPaste_Input& In, const core::net::TNetwork* Net, int DeviceType);
  core::net::TPaste_Input Values() const;
  // What the checks read at the last OK that passed.
  const core::net::TPaste_Values& Checked_Values() const { return FChecked; }

  int Form_Type = 1;

  TDialogFrame Frame;  // the title and button panels with OK and Cancel
  plat::TPanel* Panel1 = nullptr;
  plat::TRadioButton* RB_ID_Primary = nullptr;
  plat::TEdit* E_New_Node_ID_Pri = nullptr;
  plat::TRadioButton* RB_ID_Secondary = nullptr;
  plat::TEdit* E_New_Node_ID_Sec = nullptr;
  plat::TLabel* L_wMBus_Add = nullptr;
  plat::TEdit* E_wMBus_Add = nullptr;
  plat::TLabel* L_MR_NodeState = nullptr;
  plat::TEdit* E_MR_NodeState = nullptr;
  plat::TLabel* L_MR_IdentNum = nullptr;
  plat::TEdit* E_MR_IdentNum = nullptr;
  plat::TLabel* L_wMBus_RSSI = nullptr;
  plat::TEdit* E_wMBus_RSSI = nullptr;
  plat::TLabel* L_MR_Var = nullptr;
  grid::TExtColumnGrid* ESG_MR_Var = nullptr;

 protected:
  void DoCreate() override;

 private:
  void Place_Grid(int PanelHeight);
  void Fit_Columns();

  const core::net::TNetwork* FNet = nullptr;
  int FDeviceType = 0;
  QString FNode_Description;
  std::vector<core::net::TPaste_Group> FGroups;
  core::net::TPaste_Values FChecked;
};

extern TFNewIDNode* FNewIDNode;
