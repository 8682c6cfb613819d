#include "windows/meter_bus.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QStyle>

#include "windows/meter_bus_lists.h"
#include "windows/window_frame.h"

using namespace plat;
using namespace core::net;

TFMeter_Bus* FMeter_Bus = nullptr;

namespace {

constexpr int Pitch = 24;    // rows of a page
constexpr int Page_Top = 8;  // first row of a page
constexpr int Label_Left = 10;
constexpr int Field_Left = 200;
constexpr int Field_Width = 140;
constexpr int List_Width = 290;
constexpr int Panel_Height = 12 * 24;  // the wireless panel: twelve rows
constexpr int TP_Height = 74;          // the Time Point group

}  // namespace

// ---- rows ------------------------------------------------------------------------------------------------------

void TFMeter_Bus::TRow::SetVisible(bool V) const {
  for (TControl* c : Parts) c->SetVisible(V);
}

void TFMeter_Bus::TRow::Place(int Top) const {
  // Labels and check boxes sit three pixels lower than the fields beside them.
  for (TControl* c : Parts) c->SetTop(dynamic_cast<TLabel*>(c) ? Top + 3 : Top);
}

void TFMeter_Bus::Stack(const std::vector<std::pair<const TRow*, bool>>& Rows, int Top) {
  for (const auto& [row, shown] : Rows) {
    row->SetVisible(shown);
    if (!shown) continue;
    row->Place(Top);
    Top += std::max(Pitch, row->Height + 6);
  }
}

// ---- creation ---------------------------------------------------------------------------------------------------

TFMeter_Bus::TFMeter_Bus(TComponent* AOwner, int DeviceType) : TForm(AOwner), FDeviceType(DeviceType) {
  SetName(QStringLiteral("FMeter_Bus"));
  Setup_Window(this);
  Build_Frame();
  Build_Tree();
  Build_Node_Page();
  Build_Wireless_Panel();
  Build_Var_Page();
  OnShow = [this](TObject* s) { FormShow(s); };
}

TFMeter_Bus::~TFMeter_Bus() {
  if (FMeter_Bus == this) FMeter_Bus = nullptr;
}

void TFMeter_Bus::Build_Frame() {
  Frame = Make_Dialog_Frame(this);
  // Cancel decides in its handler whether the window closes.
  Frame.Btn_Cancel->SetModalResult(mrNone);
  Frame.Btn_OK->OnClick = [this](TObject* s) { LbButton2Click(s); };
  Frame.Btn_Cancel->OnClick = [this](TObject* s) { LbButton4Click(s); };
  // Escape is Cancel, with its question about unsaved changes, wherever the focus is.
  SetKeyPreview(true);
  OnKeyDown = [this](TObject* s, std::uint16_t& Key, TShiftState Shift) {
    if (Key != VK_ESCAPE || !Shift.Empty()) return;
    Key = 0;
    LbButton4Click(s);
  };
  Btn_ImportNet = Make_Control<controls::TLbButton>(Frame.P_Button, "Btn_ImportNet", 8, 9, 140, 26);
  Btn_ImportNet->OnClick = [this](TObject* s) { Btn_ImportNetClick(s); };
  OD_Import_Net = new TOpenDialog(this);
  OD_Import_Net->SetName(QStringLiteral("OD_Import_Net"));
  OD_Import_Net->Filter = QStringLiteral("XML File (*.xml)|*.xml");
  SetClientWidth(834);
  SetClientHeight(700);
  Place_Dialog_Buttons(Frame);
}

void TFMeter_Bus::Build_Tree() {
  TW = Make_Control<TTreeView>(this, "TW", 8, 68, 296, 580);
  TW->SetReadOnly(true);
  TW->SetHideSelection(false);
  TW->SetShowRoot(false);
  TW->SetRightClickSelect(false);
  TW->OnChange = [this](TObject* s, TTreeNode*) { TWClick(s); };
  TW->OnExpanded = [this](TObject*, TTreeNode* n) { Ensure_Var_Entries(n); };
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName(QStringLiteral("PopupMenu1"));
  auto item = [this](const char* name, std::function<void(TObject*)> click) {
    auto* m = new TMenuItem(this);
    m->SetName(QString::fromLatin1(name));
    if (click)
      m->OnClick = std::move(click);
    else
      m->SetCaption(QStringLiteral("-"));
    PopupMenu1->Items()->Add(m);
    return m;
  };
  CopyVariable1 = item("CopyVariable1", [this](TObject* s) { CopyVariable1Click(s); });
  PasteVariable1 = item("PasteVariable1", [this](TObject* s) { PasteVariable1Click(s); });
  item("N1", nullptr);
  CopyNode1 = item("CopyNode1", [this](TObject* s) { CopyNode1Click(s); });
  PasteNode1 = item("PasteNode1", [this](TObject* s) { PasteNode1Click(s); });
  item("N2", nullptr);
  DeleteItem1 = item("DeleteItem1", [this](TObject* s) { btn_Delete_ItemClick(s); });
  TW->SetPopupMenu(PopupMenu1);

  PageControl = Make_Control<controls::TExtPageControl>(this, "PageControl", 312, 68, 514, 580);
  auto sheet = [this](const char* name) {
    auto* s = new controls::TExtTabSheet(this);
    s->SetName(QString::fromLatin1(name));
    s->SetExtPageControl(PageControl);
    s->SetColor(Window_Background);
    return s;
  };
  TS_Nodes = sheet("TS_Nodes");
  TS_Variables = sheet("TS_Variables");
}

void TFMeter_Bus::Build_Node_Page() {
  TWinControl* p = TS_Nodes;
  auto label = [p](const char* name) { return Make_Label(p, name, Label_Left, 0); };
  auto edit = [this, p](const char* name, int width = Field_Width) {
    TEdit* e = Make_Control<TEdit>(p, name, Field_Left, 0, width, 21);
    e->SetText(QStringLiteral("1"));
    return e;
  };
  auto list = [p](const char* name, const QStringList& items) {
    TComboBox* c = Make_Control<TComboBox>(p, name, Field_Left, 0, List_Width, 21);
    c->SetStyle(csDropDownList);
    c->Items()->SetText(items.join(u'\n'));
    c->SetItemIndex(0);
    return c;
  };
  auto check = [p](const char* name) { return Make_Control<TCheckBox>(p, name, Label_Left, 0, 400, 19); };

  CB_Node_En = check("CB_Node_En");
  FNode_Rows_En = {{CB_Node_En}};
  L_Node_Desc = label("L_Node_Desc");
  E_New_Node_Desc = edit("E_New_Node_Desc", List_Width);
  E_New_Node_Desc->SetText(QString());
  FNode_Rows_Desc = {{L_Node_Desc, E_New_Node_Desc}};
  L_MBus_Type = label("L_MBus_Type");
  CB_MBus_Type = list("CB_MBus_Type", {});
  CB_MBus_Type->OnChange = [this](TObject* s) { CB_MBus_TypeChange(s); };
  FNode_Rows_Type = {{L_MBus_Type, CB_MBus_Type}};
  RB_ID_Primary = Make_Control<TRadioButton>(p, "RB_ID_Primary", Label_Left, 0, 180, 19);
  RB_ID_Primary->SetChecked(true);
  E_New_Node_ID_Pri = edit("E_New_Node_ID_Pri");
  FNode_Rows_Pri = {{RB_ID_Primary, E_New_Node_ID_Pri}};
  RB_ID_Secondary = Make_Control<TRadioButton>(p, "RB_ID_Secondary", Label_Left, 0, 180, 19);
  E_New_Node_ID_Sec = edit("E_New_Node_ID_Sec");
  FNode_Rows_Sec = {{RB_ID_Secondary, E_New_Node_ID_Sec}};
  L_Node_State = label("L_Node_State");
  E_Node_State = edit("E_Node_State");
  FNode_Rows_State = {{L_Node_State, E_Node_State}};
  L_Iden = label("L_Iden");
  E_Iden = edit("E_Iden");
  FNode_Rows_Iden = {{L_Iden, E_Iden}};
  CB_BCDtoINT_IN = check("CB_BCDtoINT_IN");
  FNode_Rows_BCD = {{CB_BCDtoINT_IN}};
  L_Swap_IN = label("L_Swap_IN");
  CB_Swap_IN = list("CB_Swap_IN", {QStringLiteral("None"), QStringLiteral("Type 1")});
  FNode_Rows_Swap = {{L_Swap_IN, CB_Swap_IN}};
  CB_SND_NKE = check("CB_SND_NKE");
  FNode_Rows_SND = {{CB_SND_NKE}};
  CB_Reset_App = check("CB_Reset_App");
  FNode_Rows_Reset = {{CB_Reset_App}};
  L_Var_Type = label("L_Var_Type");
  CB_Var_Type = list("CB_Var_Type", {QStringLiteral("By Type"), QStringLiteral("By Position")});
  FNode_Rows_VarType = {{L_Var_Type, CB_Var_Type}};
  L_Cut_After = label("L_Cut_After");
  CB_Cut_After = list("CB_Cut_After", Network_List(TNetwork_List::Cut_After));
  CB_Cut_After->SetWidth(70);
  L_Frames = Make_Label(p, "L_Frames", Field_Left + 78, 0);
  FNode_Rows_Cut = {{L_Cut_After, CB_Cut_After, L_Frames}};
  L_Manu_Spec_Data = label("L_Manu_Spec_Data");
  E_Manu_Spec_Data = edit("E_Manu_Spec_Data");
  FNode_Rows_MSD = {{L_Manu_Spec_Data, E_Manu_Spec_Data}};
  L_MSD_Length = label("L_MSD_Length");
  E_MSD_Length = edit("E_MSD_Length");
  FNode_Rows_MSD_Len = {{L_MSD_Length, E_MSD_Length}};
  L_MSD_Offset = label("L_MSD_Offset");
  E_MSD_Offset = edit("E_MSD_Offset");
  FNode_Rows_MSD_Off = {{L_MSD_Offset, E_MSD_Offset}};
  L_Access_Number = label("L_Access_Number");
  E_Access_Number = edit("E_Access_Number");
  FNode_Rows_Access = {{L_Access_Number, E_Access_Number}};
  btn_Add_Node = Make_Control<controls::TLbButton>(p, "btn_Add_Node", Field_Left, 0, 160, 26);
  btn_Add_Node->OnClick = [this](TObject* s) { btn_Add_NodeClick(s); };
  FNode_Rows_Button = {{btn_Add_Node}, 26};
}

void TFMeter_Bus::Build_Wireless_Panel() {
  P_wMBus_Node = Make_Control<TPanel>(TS_Nodes, "P_wMBus_Node", 4, 0, 500, Panel_Height);
  P_wMBus_Node->SetBevelOuter(bvNone);
  P_wMBus_Node->SetShowCaption(false);
  P_wMBus_Node->SetParentColor(true);
  P_wMBus_Node->SetVisible(false);
  TWinControl* p = P_wMBus_Node;
  // Two fields a row: a left and a right column.
  auto field = [p](TLabel*& l, const char* lname, TEdit*& e, const char* ename, int row, bool right) {
    const int x = right ? 258 : 6, y = row * Pitch;
    l = Make_Label(p, lname, x, y + 3);
    e = Make_Control<TEdit>(p, ename, x + (right ? 116 : 154), y, 90, 21);
  };
  field(L_wMBus_ManID, "L_wMBus_ManID", E_wMBus_ManID, "E_wMBus_ManID", 0, false);
  field(L_wMBus_Add, "L_wMBus_Add", E_wMBus_Add, "E_wMBus_Add", 0, true);
  field(L_wMBus_Ver, "L_wMBus_Ver", E_wMBus_Ver, "E_wMBus_Ver", 1, false);
  field(L_wMBus_DevType, "L_wMBus_DevType", E_wMBus_DevType, "E_wMBus_DevType", 1, true);
  CB_wMBus_EnKey = Make_Control<TCheckBox>(p, "CB_wMBus_EnKey", 6, 2 * Pitch, 200, 19);
  // Sixteen key bytes, four per row, numbered 1 to 16.
  for (int k = 0; k < 16; ++k) {
    const int x = 6 + (k % 4) * 120, y = (3 + k / 4) * Pitch;
    const QByteArray ln = "L_wMBus_K" + QByteArray::number(k + 1), en = "E_wMBus_K" + QByteArray::number(k + 1);
    L_wMBus_K[std::size_t(k)] = Make_Label(p, ln.constData(), x, y + 3);
    E_wMBus_K[std::size_t(k)] = Make_Control<TEdit>(p, en.constData(), x + 26, y, 70, 21);
  }
  field(L_wMBus_NodeState, "L_wMBus_NodeState", E_wMBus_NodeState, "E_wMBus_NodeState", 7, false);
  field(L_wMBus_RSSI, "L_wMBus_RSSI", E_wMBus_RSSI, "E_wMBus_RSSI", 7, true);
  field(L_wMBus_Ident, "L_wMBus_Ident", E_wMBus_Ident, "E_wMBus_Ident", 8, false);
  field(L_wMBus_Access_Number, "L_wMBus_Access_Number", E_wMBus_Access_Number, "E_wMBus_Access_Number", 8, true);
  CB_wMBus_Conv_BCD = Make_Control<TCheckBox>(p, "CB_wMBus_Conv_BCD", 6, 9 * Pitch, 400, 19);
  auto list = [p](TLabel*& l, const char* lname, TComboBox*& c, const char* cname, int row, const QStringList& items) {
    l = Make_Label(p, lname, 6, row * Pitch + 3);
    c = Make_Control<TComboBox>(p, cname, Field_Left - 4, row * Pitch, List_Width, 21);
    c->SetStyle(csDropDownList);
    c->Items()->SetText(items.join(u'\n'));
    c->SetItemIndex(0);
  };
  list(L_wMBus_Swap_Ident, "L_wMBus_Swap_Ident", CB_wMBus_Swap_Ident, "CB_wMBus_Swap_Ident", 10,
       {QStringLiteral("None"), QStringLiteral("Type 1")});
  list(L_wMBus_VarList, "L_wMBus_VarList", CB_wMBus_VarList, "CB_wMBus_VarList", 11,
       {QStringLiteral("By Type"), QStringLiteral("By Position")});
}

void TFMeter_Bus::Build_Var_Page() {
  TWinControl* p = TS_Variables;
  auto label = [p](const char* name) { return Make_Label(p, name, Label_Left, 0); };
  auto edit = [p](const char* name, int width = Field_Width) {
    return Make_Control<TEdit>(p, name, Field_Left, 0, width, 21);
  };
  auto list = [p](const char* name, TNetwork_List items) {
    TComboBox* c = Make_Control<TComboBox>(p, name, Field_Left, 0, List_Width, 21);
    c->SetStyle(csDropDownList);
    c->Items()->SetText(Network_List(items).join(u'\n'));
    c->SetItemIndex(0);
    return c;
  };
  auto check = [p](const char* name, int left = Label_Left, int width = 180) {
    return Make_Control<TCheckBox>(p, name, left, 0, width, 19);
  };
  CB_Var_En = check("CB_Var_En");
  FVar_Rows_En = {{CB_Var_En}};
  L_Var_Desc = label("L_Var_Desc");
  E_New_Var_Desc = edit("E_New_Var_Desc", List_Width);
  FVar_Rows_Desc = {{L_Var_Desc, E_New_Var_Desc}};
  L_Var_ToD = label("L_Var_ToD");
  CB_Var_ToD = list("CB_Var_ToD", TNetwork_List::Data_Types);
  CB_Var_ToD->OnChange = [this](TObject* s) { CB_Var_ToDChange(s); };
  FVar_Rows_ToD = {{L_Var_ToD, CB_Var_ToD}};
  L_VIF_ASCII = label("L_VIF_ASCII");
  E_VIF_ASCII = edit("E_VIF_ASCII", List_Width);
  FVar_Rows_VIF = {{L_VIF_ASCII, E_VIF_ASCII}};
  L_Var_FF = label("L_Var_FF");
  CB_Var_FF = list("CB_Var_FF", TNetwork_List::Function_Fields);
  FVar_Rows_FF = {{L_Var_FF, CB_Var_FF}};
  L_Var_Dim = label("L_Var_Dim");
  CB_Var_Dim = list("CB_Var_Dim", TNetwork_List::Dimensions);
  CB_Var_Dim->OnChange = [this](TObject* s) { CB_Var_DimChange(s); };
  FVar_Rows_Dim = {{L_Var_Dim, CB_Var_Dim}};
  L_Length = label("L_Length");
  E_Length = edit("E_Length");
  FVar_Rows_Len = {{L_Length, E_Length}};
  L_Var_Unit = label("L_Var_Unit");
  CB_Var_Unit = list("CB_Var_Unit", TNetwork_List::Units);
  CB_Var_Unit->SetWidth(70);
  FVar_Rows_Unit = {{L_Var_Unit, CB_Var_Unit}};
  L_Var_MR = label("L_Var_MR");
  E_Var_MR = edit("E_Var_MR");
  FVar_Rows_MR = {{L_Var_MR, E_Var_MR}};
  L_Scale_MB = label("L_Scale_MB");
  E_Scale_MB = edit("E_Scale_MB");
  FVar_Rows_Scale = {{L_Scale_MB, E_Scale_MB}};
  L_Sto_Num = label("L_Sto_Num");
  E_Sto_Num = edit("E_Sto_Num");
  FVar_Rows_Sto = {{L_Sto_Num, E_Sto_Num}};
  L_Tariff = label("L_Tariff");
  E_Tariff = edit("E_Tariff");
  FVar_Rows_Tariff = {{L_Tariff, E_Tariff}};
  L_VIFE = label("L_VIFE");
  CB_VIFE = list("CB_VIFE", TNetwork_List::VIFEs);
  CB_VIFE->OnChange = [this](TObject* s) { CB_Var_ToDChange(s); };
  FVar_Rows_VIFE = {{L_VIFE, CB_VIFE}};

  GroupBox4 = Make_Control<TGroupBox>(p, "GroupBox4", Label_Left, 0, 480, TP_Height);
  CB_TP_MR = Make_Control<TCheckBox>(GroupBox4, "CB_TP_MR", 10, 18, 300, 19);
  const char* names[6] = {"L_TP_Year", "L_TP_Month", "L_TP_Day", "L_TP_Hour", "L_TP_Min", "L_TP_Sec"};
  const char* edits[6] = {"E_TP_Year", "ST_TP_Month", "ST_TP_Day", "ST_TP_Hour", "ST_TP_Min", "ST_TP_Sec"};
  std::array<TEdit*, 6> tp{};
  for (int i = 0; i < 6; ++i) {
    L_TP[std::size_t(i)] = Make_Label(GroupBox4, names[i], 10 + 78 * i, 47);
    tp[std::size_t(i)] = Make_Control<TEdit>(GroupBox4, edits[i], 34 + 78 * i, 44, i == 0 ? 50 : 44, 21);
    if (i > 0) tp[std::size_t(i)]->SetReadOnly(true);
  }
  E_TP_Year = tp[0];
  ST_TP_Month = tp[1];
  ST_TP_Day = tp[2];
  ST_TP_Hour = tp[3];
  ST_TP_Min = tp[4];
  ST_TP_Sec = tp[5];
  E_TP_Year->OnChange = [this](TObject* s) { E_TP_YearChange(s); };
  FVar_Rows_TP = {{GroupBox4}, TP_Height};

  CB_BCDtoINT = check("CB_BCDtoINT", Label_Left, 300);
  FVar_Rows_BCD = {{CB_BCDtoINT}};
  CB_Float = check("CB_Float");
  CB_Force_Int32 = check("CB_Force_Int32", Field_Left, 200);
  FVar_Rows_Float = {{CB_Float, CB_Force_Int32}};
  L_PostOpe = label("L_PostOpe");
  CB_PostOpe = list("CB_PostOpe", TNetwork_List::Post_Operations);
  FVar_Rows_Post = {{L_PostOpe, CB_PostOpe}};
  L_Position = label("L_Position");
  E_Position = edit("E_Position");
  FVar_Rows_Position = {{L_Position, E_Position}};
  btn_Add_Var = Make_Control<controls::TLbButton>(p, "btn_Add_Var", Field_Left, 0, 160, 26);
  btn_Add_Var->OnClick = [this](TObject* s) { btn_Add_VarClick(s); };
  FVar_Rows_Button = {{btn_Add_Var}, 26};
  Set_Var_Page(TVar_Input{});
}

void TFMeter_Bus::Select_Width_ComboBox(TComboBox* CB) {
  QComboBox* box = CB->ComboBox();
  const QFontMetrics metrics(box->font());
  int width = 0;
  for (int i = 0; i < box->count(); ++i) width = std::max(width, metrics.horizontalAdvance(box->itemText(i)));
  width += 12 + (CB == CB_VIFE ? 65 : 30);
  const int scrollBar = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  if (CB->Width() - scrollBar >= width) return;
  if (box->count() > CB->DropDownCount()) width += scrollBar;
  box->view()->setMinimumWidth(width);
}

void TFMeter_Bus::DoCreate() {
  FMeter_Bus = this;
  Select_Width_ComboBox(CB_Var_ToD);
  Select_Width_ComboBox(CB_VIFE);
  Frame.L_SW_Code->SetCaption(SW_Code_Type(FDeviceType));
  Nodes_Move_Elements();
  Sposta_Oggetti_Var(0);
  Set_Lang();
  TForm::DoCreate();
}

void TFMeter_Bus::Set_Lang() {
  SetCaption(Lang_Text(127));
  Frame.L_SW_Desc->SetCaption(Lang_Text(128));
  Frame.Btn_OK->SetCaption(Lang_Text(129));
  Frame.Btn_Cancel->SetCaption(Lang_Text(130));
  Btn_ImportNet->SetCaption(Lang_Text(131));
  TS_Nodes->SetCaption(Lang_Text(132));
  TS_Variables->SetCaption(Lang_Text(133));
  CB_Node_En->SetCaption(Lang_Text(134));
  L_Node_Desc->SetCaption(Lang_Text(135));
  RB_ID_Primary->SetCaption(Lang_Text(136));
  RB_ID_Secondary->SetCaption(Lang_Text(137));
  L_Node_State->SetCaption(Lang_Text(138));
  L_wMBus_NodeState->SetCaption(Lang_Text(138));
  L_Iden->SetCaption(Lang_Text(139));
  L_wMBus_Ident->SetCaption(Lang_Text(139));
  CB_BCDtoINT_IN->SetCaption(Lang_Text(140));
  CB_wMBus_Conv_BCD->SetCaption(Lang_Text(140));
  L_Swap_IN->SetCaption(Lang_Text(141));
  L_wMBus_Swap_Ident->SetCaption(Lang_Text(141));
  CB_SND_NKE->SetCaption(Lang_Text(142));
  CB_Reset_App->SetCaption(Lang_Text(143));
  L_Var_Type->SetCaption(Lang_Text(144));
  L_wMBus_VarList->SetCaption(Lang_Text(144));
  L_Cut_After->SetCaption(Lang_Text(145));
  L_Frames->SetCaption(Lang_Text(146));
  L_Manu_Spec_Data->SetCaption(Lang_Text(147));
  L_MSD_Length->SetCaption(Lang_Text(148));
  L_MSD_Offset->SetCaption(Lang_Text(149));
  btn_Add_Node->SetCaption(Lang_Text(150));
  btn_Add_Var->SetCaption(Lang_Text(175));
  CB_Var_En->SetCaption(Lang_Text(152));
  L_Var_Desc->SetCaption(Lang_Text(153));
  const std::pair<TLabel*, int> varLabels[] = {{L_Var_ToD, 154}, {L_VIF_ASCII, 155}, {L_Var_FF, 156}, {L_Var_Dim, 157},
                                               {L_Length, 158},  {L_Var_Unit, 159},  {L_Var_MR, 160}, {L_Scale_MB, 161},
                                               {L_Sto_Num, 162}, {L_Tariff, 163},    {L_VIFE, 164},   {L_Position, 174},
                                               {L_PostOpe, 345}};
  for (const auto& [l, t] : varLabels) l->SetCaption(Lang_Text(t));
  GroupBox4->SetCaption(Lang_Text(165));
  CB_TP_MR->SetCaption(Lang_Text(166));
  for (int i = 0; i < 5; ++i) L_TP[std::size_t(i)]->SetCaption(Lang_Text(167 + i));
  L_TP[5]->SetCaption(QStringLiteral("SS"));
  CB_BCDtoINT->SetCaption(Lang_Text(172));
  CB_Float->SetCaption(Lang_Text(173));
  CB_Force_Int32->SetCaption(QStringLiteral("Force Integer 32"));
  L_MBus_Type->SetCaption(Lang_Text(298));
  CB_MBus_Type->Items()->Clear();
  CB_MBus_Type->Items()->Add(Lang_Text(299));
  CB_MBus_Type->Items()->Add(Lang_Text(300));
  CB_MBus_Type->SetItemIndex(0);
  L_wMBus_ManID->SetCaption(Lang_Text(301));
  L_wMBus_Add->SetCaption(Lang_Text(302));
  L_wMBus_Ver->SetCaption(Lang_Text(303));
  L_wMBus_DevType->SetCaption(Lang_Text(304));
  CB_wMBus_EnKey->SetCaption(Lang_Text(305));
  for (int k = 0; k < 16; ++k) L_wMBus_K[std::size_t(k)]->SetCaption(Lang_Text(306 + k));
  L_wMBus_RSSI->SetCaption(QStringLiteral("RSSI"));
  CopyVariable1->SetCaption(Lang_Text(346));
  PasteVariable1->SetCaption(Lang_Text(347));
  CopyNode1->SetCaption(Lang_Text(348));
  PasteNode1->SetCaption(Lang_Text(349));
  DeleteItem1->SetCaption(Lang_Text(350));
  L_Access_Number->SetCaption(Lang_Text(378));
  L_wMBus_Access_Number->SetCaption(Lang_Text(379));
}

// ---- layouts ----------------------------------------------------------------------------------------------------

TNode_Layout TFMeter_Bus::Layout() const { return Layout_For(FDeviceType, App_Serie_B2_645); }

void TFMeter_Bus::Nodes_Move_Elements() { CB_MBus_TypeChange(this); }

void TFMeter_Bus::CB_MBus_TypeChange(TObject*) {
  const TNode_Layout layout = Layout();
  const bool wireless = layout.Wireless_Side() && CB_MBus_Type->ItemIndex() == 0;
  const bool wired = !wireless;
  const bool extras = layout.Extras;
  P_wMBus_Node->SetVisible(wireless);
  std::vector<std::pair<const TRow*, bool>> rows = {
      {&FNode_Rows_En, true}, {&FNode_Rows_Desc, true}, {&FNode_Rows_Type, layout.Wireless_Side()}};
  int top = Page_Top;
  if (wireless) {
    // The panel stands under the M-Bus type row; the manufacturer-specific rows follow it.
    Stack(rows, top);
    P_wMBus_Node->SetTop(Page_Top + 3 * Pitch + 4);
    rows = {{&FNode_Rows_Pri, false},      {&FNode_Rows_Sec, false},      {&FNode_Rows_State, false},
            {&FNode_Rows_Iden, false},     {&FNode_Rows_BCD, false},      {&FNode_Rows_Swap, false},
            {&FNode_Rows_SND, false},      {&FNode_Rows_Reset, false},    {&FNode_Rows_VarType, false},
            {&FNode_Rows_Cut, false},      {&FNode_Rows_Access, false},   {&FNode_Rows_MSD, extras},
            {&FNode_Rows_MSD_Len, extras}, {&FNode_Rows_MSD_Off, extras}, {&FNode_Rows_Button, true}};
    Stack(rows, Page_Top + 3 * Pitch + Panel_Height + 8);
    return;
  }
  rows.insert(rows.end(), {{&FNode_Rows_Pri, wired},
                           {&FNode_Rows_Sec, wired},
                           {&FNode_Rows_State, wired},
                           {&FNode_Rows_Iden, wired},
                           {&FNode_Rows_BCD, wired},
                           {&FNode_Rows_Swap, wired},
                           {&FNode_Rows_SND, wired},
                           {&FNode_Rows_Reset, wired},
                           {&FNode_Rows_VarType, wired},
                           {&FNode_Rows_Cut, extras},
                           {&FNode_Rows_MSD, extras},
                           {&FNode_Rows_MSD_Len, extras},
                           {&FNode_Rows_MSD_Off, extras},
                           {&FNode_Rows_Access, extras},
                           {&FNode_Rows_Button, true}});
  Stack(rows, top);
}

void TFMeter_Bus::Sposta_Oggetti_Var(int Var_type) {
  const bool byType = Var_type == 0;
  const bool post = Has_Post_Operation(FDeviceType, App_Serie_B2_645);
  CB_PostOpe->SetEnabled(post);
  if (!byType) GroupBox4->SetEnabled(true);
  Stack({{&FVar_Rows_En, true},
         {&FVar_Rows_Desc, true},
         {&FVar_Rows_ToD, byType},
         {&FVar_Rows_VIF, byType},
         {&FVar_Rows_FF, byType},
         {&FVar_Rows_Dim, true},
         {&FVar_Rows_Len, true},
         {&FVar_Rows_Unit, byType},
         {&FVar_Rows_MR, true},
         {&FVar_Rows_Scale, true},
         {&FVar_Rows_Sto, byType},
         {&FVar_Rows_Tariff, byType},
         {&FVar_Rows_VIFE, byType},
         {&FVar_Rows_TP, true},
         {&FVar_Rows_BCD, true},
         {&FVar_Rows_Float, true},
         {&FVar_Rows_Post, post},
         {&FVar_Rows_Position, !byType},
         {&FVar_Rows_Button, true}},
        Page_Top);
}

// ---- the pages as typed -----------------------------------------------------------------------------------------

TNode_Input TFMeter_Bus::Node_Page() const {
  TNode_Input in;
  in.Enable = CB_Node_En->Checked();
  in.Description = E_New_Node_Desc->Text();
  in.MBus_Type = CB_MBus_Type->ItemIndex();
  in.Primary = RB_ID_Primary->Checked();
  in.Pri = E_New_Node_ID_Pri->Text();
  in.Sec = E_New_Node_ID_Sec->Text();
  in.Node_State = E_Node_State->Text();
  in.Ident = E_Iden->Text();
  in.BCDtoINT_IN = CB_BCDtoINT_IN->Checked();
  in.Swap = CB_Swap_IN->ItemIndex();
  in.SND_NKE = CB_SND_NKE->Checked();
  in.Reset_App = CB_Reset_App->Checked();
  in.Var_Type = CB_Var_Type->ItemIndex();
  in.Cut_After = CB_Cut_After->ItemIndex();
  in.MSD = E_Manu_Spec_Data->Text();
  in.MSD_Length = E_MSD_Length->Text();
  in.MSD_Offset = E_MSD_Offset->Text();
  in.Access = E_Access_Number->Text();
  in.wManID = E_wMBus_ManID->Text();
  in.wAdd = E_wMBus_Add->Text();
  in.wVer = E_wMBus_Ver->Text();
  in.wDevType = E_wMBus_DevType->Text();
  in.wKey_Enable = CB_wMBus_EnKey->Checked();
  for (std::size_t k = 0; k < 16; ++k) in.wKey[k] = E_wMBus_K[k]->Text();
  in.wNode_State = E_wMBus_NodeState->Text();
  in.wIdent = E_wMBus_Ident->Text();
  in.wRSSI = E_wMBus_RSSI->Text();
  in.wAccess = E_wMBus_Access_Number->Text();
  in.wBCD = CB_wMBus_Conv_BCD->Checked();
  in.wSwap = CB_wMBus_Swap_Ident->ItemIndex();
  in.wVar_Type = CB_wMBus_VarList->ItemIndex();
  return in;
}

void TFMeter_Bus::Set_Node_Page(const TNode_Input& in) {
  const bool loading = FLoading;
  FLoading = true;
  CB_Node_En->SetChecked(in.Enable);
  E_New_Node_Desc->SetText(in.Description);
  if (Layout().Wireless_Side()) CB_MBus_Type->SetItemIndex(in.MBus_Type);
  (in.Primary ? RB_ID_Primary : RB_ID_Secondary)->SetChecked(true);
  E_New_Node_ID_Pri->SetText(in.Pri);
  E_New_Node_ID_Sec->SetText(in.Sec);
  E_Node_State->SetText(in.Node_State);
  E_Iden->SetText(in.Ident);
  CB_BCDtoINT_IN->SetChecked(in.BCDtoINT_IN);
  CB_Swap_IN->SetItemIndex(in.Swap);
  CB_SND_NKE->SetChecked(in.SND_NKE);
  CB_Reset_App->SetChecked(in.Reset_App);
  CB_Var_Type->SetItemIndex(in.Var_Type);
  CB_Cut_After->SetItemIndex(in.Cut_After);
  E_Manu_Spec_Data->SetText(in.MSD);
  E_MSD_Length->SetText(in.MSD_Length);
  E_MSD_Offset->SetText(in.MSD_Offset);
  E_Access_Number->SetText(in.Access);
  if (Layout().Wireless_Side()) {
    E_wMBus_ManID->SetText(in.wManID);
    E_wMBus_Add->SetText(in.wAdd);
    E_wMBus_Ver->SetText(in.wVer);
    E_wMBus_DevType->SetText(in.wDevType);
    CB_wMBus_EnKey->SetChecked(in.wKey_Enable);
    for (std::size_t k = 0; k < 16; ++k) E_wMBus_K[k]->SetText(in.wKey[k]);
    E_wMBus_NodeState->SetText(in.wNode_State);
    E_wMBus_Ident->SetText(in.wIdent);
    E_wMBus_RSSI->SetText(in.wRSSI);
    E_wMBus_Access_Number->SetText(in.wAccess);
    CB_wMBus_Conv_BCD->SetChecked(in.wBCD);
    CB_wMBus_Swap_Ident->SetItemIndex(in.wSwap);
    CB_wMBus_VarList->SetItemIndex(in.wVar_Type);
  }
  FLoading = loading;
}

TVar_Input TFMeter_Bus::Var_Page() const {
  TVar_Input in;
  in.Enable = CB_Var_En->Checked();
  in.Description = E_New_Var_Desc->Text();
  in.Type_Of_Data = CB_Var_ToD->ItemIndex();
  in.VIF_ASCII = E_VIF_ASCII->Text();
  in.Function_Field = CB_Var_FF->ItemIndex();
  in.Dimension = CB_Var_Dim->ItemIndex();
  in.Length = E_Length->Text();
  in.Unit = CB_Var_Unit->ItemIndex();
  in.Register = E_Var_MR->Text();
  in.Scale = E_Scale_MB->Text();
  in.Storage = E_Sto_Num->Text();
  in.Tariff = E_Tariff->Text();
  in.VIFE = CB_VIFE->ItemIndex();
  in.TP_Box = CB_TP_MR->Checked();
  in.TP_Year = E_TP_Year->Text();
  in.BCDtoINT = CB_BCDtoINT->Checked();
  in.Conv_Float = CB_Float->Checked();
  in.Force_Int32 = CB_Force_Int32->Checked();
  in.Post_Operation = CB_PostOpe->Visible() ? CB_PostOpe->ItemIndex() : 0;
  in.Position = E_Position->Text();
  return in;
}

void TFMeter_Bus::Set_Var_Page(const TVar_Input& in) {
  const bool loading = FLoading;
  FLoading = true;
  CB_Var_En->SetChecked(in.Enable);
  E_New_Var_Desc->SetText(in.Description);
  CB_Var_ToD->SetItemIndex(in.Type_Of_Data);
  E_VIF_ASCII->SetText(in.VIF_ASCII);
  CB_Var_FF->SetItemIndex(in.Function_Field);
  CB_Var_Dim->SetItemIndex(in.Dimension);
  E_Length->SetText(in.Length);
  CB_Var_Unit->SetItemIndex(in.Unit);
  E_Var_MR->SetText(in.Register);
  E_Scale_MB->SetText(in.Scale);
  E_Sto_Num->SetText(in.Storage);
  E_Tariff->SetText(in.Tariff);
  CB_VIFE->SetItemIndex(in.VIFE);
  CB_TP_MR->SetChecked(in.TP_Box);
  E_TP_Year->SetText(in.TP_Year);
  CB_BCDtoINT->SetChecked(in.BCDtoINT);
  CB_Float->SetChecked(in.Conv_Float);
  CB_Force_Int32->SetChecked(in.Force_Int32);
  CB_PostOpe->SetItemIndex(in.Post_Operation);
  E_Position->SetText(in.Position);
  FLoading = loading;
  E_TP_YearChange(this);
}
