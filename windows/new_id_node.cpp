#include "windows/new_id_node.h"

#include <QFontMetrics>

#include <algorithm>

#include "core/device_model.h"
#include "grid/column_grid.h"
#include "platform/graphics/canvas.h"
#include "windows/window_frame.h"

using namespace plat;
using namespace core::net;

TFNewIDNode* FNewIDNode = nullptr;

namespace {

constexpr int Panel_Top = 60;
constexpr int Field_Left = 300;

constexpr TColor Value_Column_Colour = TColor(14286298);  // light green: the column the user types into

}  // namespace

TFNewIDNode::TFNewIDNode(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FNewIDNode"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  Frame.Btn_OK->OnClick = [this](TObject* s) { LbButton2Click(s); };
  SetClientWidth(432);
  SetClientHeight(536);
  Place_Dialog_Buttons(Frame);

  Panel1 = Make_Control<TPanel>(this, "Panel1", 0, Panel_Top, 432, 161);
  Panel1->SetBevelOuter(bvNone);
  Panel1->SetShowCaption(false);
  Panel1->SetParentColor(true);
  RB_ID_Primary = Make_Control<TRadioButton>(Panel1, "RB_ID_Primary", 12, 8, 220, 19);
  E_New_Node_ID_Pri = Make_Control<TEdit>(Panel1, "E_New_Node_ID_Pri", Field_Left, 7, 110, 21);
  RB_ID_Secondary = Make_Control<TRadioButton>(Panel1, "RB_ID_Secondary", 12, 36, 220, 19);
  E_New_Node_ID_Sec = Make_Control<TEdit>(Panel1, "E_New_Node_ID_Sec", Field_Left, 35, 110, 21);
  L_wMBus_Add = Make_Label(Panel1, "L_wMBus_Add", 12, 11);
  E_wMBus_Add = Make_Control<TEdit>(Panel1, "E_wMBus_Add", Field_Left, 7, 110, 21);
  L_MR_NodeState = Make_Label(Panel1, "L_MR_NodeState", 12, 0);
  E_MR_NodeState = Make_Control<TEdit>(Panel1, "E_MR_NodeState", Field_Left, 0, 110, 21);
  L_MR_IdentNum = Make_Label(Panel1, "L_MR_IdentNum", 12, 0);
  E_MR_IdentNum = Make_Control<TEdit>(Panel1, "E_MR_IdentNum", Field_Left, 0, 110, 21);
  L_wMBus_RSSI = Make_Label(Panel1, "L_wMBus_RSSI", 12, 0);
  E_wMBus_RSSI = Make_Control<TEdit>(Panel1, "E_wMBus_RSSI", Field_Left, 0, 110, 21);
  RB_ID_Primary->SetChecked(true);

  L_MR_Var = Make_Label(this, "L_MR_Var", 12, 0);
  ESG_MR_Var = Make_Control<grid::TExtColumnGrid>(this, "ESG_MR_Var", 12, 0, 408, 200);
  ESG_MR_Var->SetColCount(3);
  ESG_MR_Var->SetFixedCols(0);
  ESG_MR_Var->SetFixedRows(1);
  ESG_MR_Var->SetRowCount(2);
  TGridOptions options = ESG_MR_Var->Options();
  ESG_MR_Var->SetOptions(options.Include(goEditing));
  const char* heads[3] = {"Desc. Reg.", "Index", "Description Variable"};
  for (int c = 0; c < 3; ++c) {
    grid::TGridColumnItem* column = ESG_MR_Var->Columns()->Items(c);
    column->SetHeader(QString::fromLatin1(heads[c]));
    column->ReadOnly = c != 1;  // only the registers take typing
  }
  ESG_MR_Var->Columns()->Items(1)->SetColor(Value_Column_Colour);
  OnShow = [this](TObject* s) { FormShow(s); };
}

TFNewIDNode::~TFNewIDNode() {
  if (FNewIDNode == this) FNewIDNode = nullptr;
}

void TFNewIDNode::DoCreate() {
  FNewIDNode = this;
  Frame.L_SW_Code->SetCaption(SW_Code_Type(Device_Type));
  Set_Lang();
  TForm::DoCreate();
}

void TFNewIDNode::Set_Lang() {
  SetCaption(Lang_Text(257));
  Frame.L_SW_Desc->SetCaption(Lang_Text(259));
  Frame.Btn_OK->SetCaption(Lang_Text(261));
  Frame.Btn_Cancel->SetCaption(Lang_Text(262));
  RB_ID_Primary->SetCaption(Lang_Text(263));
  RB_ID_Secondary->SetCaption(Lang_Text(264));
  L_MR_NodeState->SetCaption(Lang_Text(265));
  L_MR_IdentNum->SetCaption(Lang_Text(266));
  L_MR_Var->SetCaption(Lang_Text(267));
  L_wMBus_RSSI->SetCaption(Lang_Text(376));
  L_wMBus_Add->SetCaption(Lang_Text(342));
  Fit_Columns();
}

void TFNewIDNode::Fit_Columns() {
  // The register kinds and the headers show whole, in the language's texts; the description takes the rest.
  auto widest = [this](int Col, std::initializer_list<QString> Texts, int Least) {
    const QFontMetrics m(ESG_MR_Var->Columns()->Items(Col)->Font()->QtFont());
    const QFontMetrics h(ESG_MR_Var->Columns()->Items(Col)->HeaderFont()->QtFont());
    int w = Least;
    for (const QString& t : Texts) w = std::max({w, m.horizontalAdvance(t) + 8, h.horizontalAdvance(t) + 8});
    return w;
  };
  const int kind = widest(0, {ESG_MR_Var->Cells(0, 0), Lang_Text(252), Lang_Text(253), Lang_Text(254)}, 78);
  const int index = widest(1, {ESG_MR_Var->Cells(1, 0), QStringLiteral("59999")}, 64);
  ESG_MR_Var->Columns()->Items(0)->SetWidth(kind);
  ESG_MR_Var->Columns()->Items(1)->SetWidth(index);
  const int rest = ESG_MR_Var->ClientWidth() - kind - index - 3 * ESG_MR_Var->GridLineWidth();
  ESG_MR_Var->Columns()->Items(2)->SetWidth(std::max(widest(2, {ESG_MR_Var->Cells(2, 0)}, 100), rest));
}

void TFNewIDNode::Place_Grid(int PanelHeight) {
  Panel1->SetHeight(PanelHeight);
  L_MR_Var->SetTop(Panel_Top + PanelHeight + 4);
  const int top = Panel_Top + PanelHeight + 22;
  ESG_MR_Var->SetBounds(12, top, 408, Frame.P_Button->Top() - 8 - top);
  Fit_Columns();
}

void TFNewIDNode::FormShow(TObject*) {
  // The common state first, then what the form type changes.
  for (TControl* c :
       std::initializer_list<TControl*>{RB_ID_Primary, E_New_Node_ID_Pri, RB_ID_Secondary, E_New_Node_ID_Sec})
    c->SetVisible(Form_Type != 3);
  for (TControl* c : std::initializer_list<TControl*>{L_wMBus_Add, E_wMBus_Add, L_wMBus_RSSI, E_wMBus_RSSI})
    c->SetVisible(Form_Type == 3);
  const int first = Form_Type == 3 ? 36 : 64;  // the node-state row
  L_MR_NodeState->SetTop(first + 4);
  E_MR_NodeState->SetTop(first);
  L_MR_IdentNum->SetTop(first + 32);
  E_MR_IdentNum->SetTop(first + 28);
  L_wMBus_RSSI->SetTop(first + 60);
  E_wMBus_RSSI->SetTop(first + 56);
  if (Form_Type == 2) {
    SetCaption(Lang_Text(258));
    Frame.L_SW_Desc->SetCaption(Lang_Text(260));
    Place_Grid(8);
  } else {
    SetCaption(Lang_Text(257));
    Frame.L_SW_Desc->SetCaption(Lang_Text(259));
    Place_Grid(Form_Type == 3 ? E_wMBus_RSSI->Top() + E_wMBus_RSSI->Height() + 4 : 161);
  }
}

void TFNewIDNode::Setup(const TPaste_Input& In, const TNetwork* Net, int DeviceType) {
  FNet = Net;
  FDeviceType = DeviceType;
  FNode_Description = In.Node_Description;
  FGroups = In.Groups;
  Form_Type = In.Form_Type;
  (In.Primary ? RB_ID_Primary : RB_ID_Secondary)->SetChecked(true);
  E_New_Node_ID_Pri->SetText(In.Pri);
  E_New_Node_ID_Sec->SetText(In.Sec);
  E_wMBus_Add->SetText(In.wAdd);
  E_MR_NodeState->SetText(In.Node_State);
  E_MR_IdentNum->SetText(In.Ident);
  E_wMBus_RSSI->SetText(In.RSSI);
  const int groups = int(In.Groups.size());
  ESG_MR_Var->SetRowCount(groups ? 3 * groups + 1 : 2);
  for (int c = 0; c < 3; ++c) ESG_MR_Var->SetCells(c, 1, QString());
  for (int g = 0; g < groups; ++g)
    for (int k = 0; k < 3; ++k) {
      const int row = 3 * g + k + 1;
      ESG_MR_Var->SetCells(0, row, Lang_Text(252 + k));
      ESG_MR_Var->SetCells(1, row, In.Groups[std::size_t(g)].Registers[std::size_t(k)]);
      ESG_MR_Var->SetCells(2, row, In.Groups[std::size_t(g)].Description);
    }
}

TPaste_Input TFNewIDNode::Values() const {
  TPaste_Input in;
  in.Form_Type = Form_Type;
  in.Primary = RB_ID_Primary->Checked();
  in.Pri = E_New_Node_ID_Pri->Text();
  in.Sec = E_New_Node_ID_Sec->Text();
  in.wAdd = E_wMBus_Add->Text();
  in.Node_State = E_MR_NodeState->Text();
  in.Ident = E_MR_IdentNum->Text();
  in.RSSI = E_wMBus_RSSI->Text();
  in.Node_Description = FNode_Description;
  for (int g = 0; g < (ESG_MR_Var->RowCount() - 1) / 3; ++g) {
    // What the grid does not show comes from the groups the editor gave.
    TPaste_Group group = std::size_t(g) < FGroups.size() ? FGroups[std::size_t(g)] : TPaste_Group{};
    for (int k = 0; k < 3; ++k) group.Registers[std::size_t(k)] = ESG_MR_Var->Cells(1, 3 * g + k + 1);
    group.Description = ESG_MR_Var->Cells(2, 3 * g + 1);
    in.Groups.push_back(group);
  }
  return in;
}

void TFNewIDNode::LbButton2Click(TObject*) {
  // A value still in the cell editor counts.
  ESG_MR_Var->SetEditorMode(false);
  const TNetwork none;
  const TCheck_Result r = Check_Paste(FNet ? *FNet : none, FDeviceType, Values(), &FChecked);
  for (const TCheck_Message& m : r) MessageDlg(m.Message, mtError, TMsgDlgButtons{mbOK});
  if (r.empty()) SetModalResult(mrOk);
}
