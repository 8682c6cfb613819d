// What the network editor does: showing, selection, the pages, add and modify, delete, copy and paste, import,
// OK and Cancel.
#include <QFileInfo>
#include <QTreeWidgetItem>

#include "core/device_model.h"
#include "core/network_compiler.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"
#include "platform/xml/xmldocument.h"
#include "windows/meter_bus.h"
#include "windows/new_id_node.h"
#include "windows/window_frame.h"

using namespace plat;
using namespace core::net;

namespace {

void Error_Box(const QString& message) { Application->ShowException(Exception(message)); }

bool Ask(int text) { return MessageDlg(Lang_Text(text), mtConfirmation, mbYesNo) == mrYes; }

void Say(int text) { MessageDlg(Lang_Text(text), mtError, TMsgDlgButtons{mbOK}); }

}  // namespace

bool TFMeter_Bus::Node_Selected() const { return IND_NODO >= 0 && IND_NODO < int(Nodi_List.Nodi_List.size()); }

bool TFMeter_Bus::Var_Selected() const {
  return Node_Selected() && IND_VAR >= 0 && IND_VAR < int(Nodi_List.Nodi_List[std::size_t(IND_NODO)].Var_List.size());
}

void TFMeter_Bus::Show_Message(const TCheck_Message& M) { MessageDlg(M.Message, mtError, TMsgDlgButtons{mbOK}); }

bool TFMeter_Bus::Show_Result(const TCheck_Result& R) {
  for (const TCheck_Message& m : R) Show_Message(m);
  return R.empty();
}

bool TFMeter_Bus::Controllo_Dati_New_Var(bool newvar, TVariabile* Checked) {
  return Show_Result(
      TNetwork_Checks(Nodi_List, FDeviceType).Check_Var(Var_Page(), newvar, {IND_NODO, IND_VAR}, Checked));
}

bool TFMeter_Bus::Controllo_Dati_New_Nodo(TNodo* Checked) {
  return Show_Result(
      TNetwork_Checks(Nodi_List, FDeviceType).Check_Node(Node_Page(), Layout(), {IND_NODO, IND_VAR}, Checked));
}

// ---- showing ----------------------------------------------------------------------------------------------------

void TFMeter_Bus::FormShow(TObject*) {
  CB_Cut_After->SetItemIndex(0);
  App_Serie_B2_645 = core::bank::Read_Sel_Dev(File_ParGen) & 0xFF;
  // The selection always starts empty, so no index points past a shorter network.
  IND_NODO = IND_VAR = -1;
  NODE_ID = SELECT_NODE = nullptr;
  Read_Network();
  Sposta_Oggetti_Var(0);
  Refresh_Paste_Items();
  CB_MBus_TypeChange(this);
  Is_Change = false;
}

void TFMeter_Bus::Read_Network() {
  FLoading = true;
  TW->Items()->BeginUpdate();
  TW->Items()->Clear();
  NODE_ORIG = TW->Items()->AddChild(nullptr, Root_Caption());
  TRead_Result r = Load_Network(File_MBus, FDeviceType);
  Read_Failed = !r.Error.isEmpty();
  // A file that does not read whole shows an empty network; OK then asks before it writes over the file.
  Nodi_List = Read_Failed ? TNetwork{} : std::move(r.Network);
  // The entries of all nodes at once; a node's variables get theirs when it is first opened.
  QStringList captions;
  captions.reserve(qsizetype(Nodi_List.Nodi_List.size()));
  for (const TNodo& n : Nodi_List.Nodi_List) captions << Node_Caption(n, FDeviceType);
  const std::vector<TTreeNode*> entries = TW->Items()->AddChildren(NODE_ORIG, captions);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (!Nodi_List.Nodi_List[i].Var_List.empty())
      entries[i]->Item()->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  NODE_ORIG->Expand(false);
  TW->Items()->EndUpdate();
  TW->SetSelected(nullptr);
  FLoading = false;
  if (Read_Failed) Error_Box(r.Error);
}

void TFMeter_Bus::Ensure_Var_Entries(TTreeNode* Entry) {
  if (!Entry || Entry->Parent() != NODE_ORIG || Entry->Count() > 0) return;
  const int i = Entry->Index();
  if (i < 0 || i >= int(Nodi_List.Nodi_List.size())) return;
  QStringList captions;
  for (const TVariabile& v : Nodi_List.Nodi_List[std::size_t(i)].Var_List) captions << Var_Caption(v);
  const bool loading = FLoading;
  FLoading = true;
  TW->Items()->AddChildren(Entry, captions);
  FLoading = loading;
}

void TFMeter_Bus::Refresh_Paste_Items() {
  PasteVariable1->SetEnabled(Copy_Var.has_value());
  PasteNode1->SetEnabled(Copy_Node.has_value());
}

// ---- selection --------------------------------------------------------------------------------------------------

void TFMeter_Bus::TWClick(TObject*) {
  if (FLoading) return;
  TTreeNode* sel = TW->Selected();
  IND_NODO = IND_VAR = -1;
  NODE_ID = SELECT_NODE = nullptr;
  if (sel && sel->Parent() == NODE_ORIG) {
    IND_NODO = sel->Index();
    NODE_ID = SELECT_NODE = sel;
  } else if (sel && sel->Parent() && sel->Parent()->Parent() == NODE_ORIG) {
    IND_NODO = sel->Parent()->Index();
    IND_VAR = sel->Index();
    NODE_ID = sel->Parent();
    SELECT_NODE = sel;
  }
  Aggiorna_Label();
  CB_Var_ToDChange(this);
  CB_Var_DimChange(this);
  if (Var_Selected())
    PageControl->SetActivePage(TS_Variables);
  else if (Node_Selected())
    PageControl->SetActivePage(TS_Nodes);
}

void TFMeter_Bus::Aggiorna_Label() {
  if (!Node_Selected()) {
    btn_Add_Node->SetCaption(Lang_Text(150));
    btn_Add_Var->SetCaption(Lang_Text(175));
    return;
  }
  const TNodo& n = Nodi_List.Nodi_List[std::size_t(IND_NODO)];
  Set_Node_Page(Node_Input(n, Layout()));
  if (Var_Selected()) {
    btn_Add_Node->SetCaption(Lang_Text(150));
    btn_Add_Var->SetCaption(Lang_Text(176));
    Set_Var_Page(Var_Input(n.Var_List[std::size_t(IND_VAR)]));
  } else {
    btn_Add_Node->SetCaption(Lang_Text(151));
    btn_Add_Var->SetCaption(Lang_Text(175));
    Set_Var_Page(New_Var_Input());
  }
  Sposta_Oggetti_Var(n.Var_List_Type);
  CB_MBus_TypeChange(this);
}

// ---- field dependencies ------------------------------------------------------------------------------------------

void TFMeter_Bus::CB_Var_ToDChange(TObject*) {
  const int type = CB_Var_ToD->ItemIndex();
  E_VIF_ASCII->SetEnabled(type == 21);
  if (Node_Selected())
    GroupBox4->SetEnabled(Nodi_List.Nodi_List[std::size_t(IND_NODO)].Var_List_Type == 1 || type == 20);
}

void TFMeter_Bus::CB_Var_DimChange(TObject*) {
  const bool variable = CB_Var_Dim->ItemIndex() == 7;
  E_Length->SetEnabled(variable);
  if (variable) CB_Float->SetChecked(false);
  CB_Float->SetEnabled(!variable);
}

void TFMeter_Bus::E_TP_YearChange(TObject*) {
  int y = 0;
  const bool ok = TryStrToInt(E_TP_Year->Text(), y) && y >= 1;
  TEdit* rest[5] = {ST_TP_Month, ST_TP_Day, ST_TP_Hour, ST_TP_Min, ST_TP_Sec};
  for (int i = 0; i < 5; ++i) rest[i]->SetText(ok ? QString::number(int64_t(y) + i + 1) : QStringLiteral("0"));
}

// ---- add and modify ----------------------------------------------------------------------------------------------

void TFMeter_Bus::btn_Add_NodeClick(TObject*) {
  if (btn_Add_Node->Caption() != Lang_Text(150)) {
    if (Node_Selected() && IND_VAR < 0) {
      TNodo& n = Nodi_List.Nodi_List[std::size_t(IND_NODO)];
      TNodo checked = n;
      if (Controllo_Dati_New_Nodo(&checked)) {
        n = std::move(checked);
        NODE_ID->SetText(Typed_Node_Caption(Node_Page(), Layout()));
      }
    }
  } else {
    TNodo n;
    if (Controllo_Dati_New_Nodo(&n)) {
      TW->Items()->AddChild(NODE_ORIG, Typed_Node_Caption(Node_Page(), Layout()));
      Nodi_List.Nodi_List.push_back(std::move(n));
    }
  }
  NODE_ORIG->Expand(false);
  Is_Change = true;
}

void TFMeter_Bus::btn_Add_VarClick(TObject*) {
  if (btn_Add_Var->Caption() == Lang_Text(175)) {
    TVariabile v;
    if (NODE_ID && Node_Selected() && Controllo_Dati_New_Var(true, &v)) {
      Ensure_Var_Entries(NODE_ID);
      TW->Items()->AddChild(NODE_ID, Var_Caption(v));
      Nodi_List.Nodi_List[std::size_t(IND_NODO)].Var_List.push_back(std::move(v));
    }
  } else if (SELECT_NODE && Var_Selected()) {
    TVariabile& v = Nodi_List.Nodi_List[std::size_t(IND_NODO)].Var_List[std::size_t(IND_VAR)];
    TVariabile checked = v;
    if (Controllo_Dati_New_Var(false, &checked)) {
      v = std::move(checked);
      SELECT_NODE->SetText(Var_Caption(v));
    }
  }
  NODE_ORIG->Expand(false);
  Is_Change = true;
}

// ---- delete -----------------------------------------------------------------------------------------------------

void TFMeter_Bus::btn_Delete_ItemClick(TObject*) {
  auto& nodes = Nodi_List.Nodi_List;
  if (!Node_Selected()) {
    if (!Ask(243)) return;
    FLoading = true;
    TW->Items()->Clear();
    NODE_ORIG = TW->Items()->AddChild(nullptr, Root_Caption());
    nodes.clear();
    FLoading = false;
  } else if (!Var_Selected()) {
    if (!Ask(244)) return;
    FLoading = true;
    nodes.erase(nodes.begin() + IND_NODO);
    NODE_ID->Delete();
    FLoading = false;
  } else {
    if (!Ask(245)) return;
    FLoading = true;
    auto& vars = nodes[std::size_t(IND_NODO)].Var_List;
    vars.erase(vars.begin() + IND_VAR);
    SELECT_NODE->Delete();
    FLoading = false;
  }
  Is_Change = true;
  TWClick(this);
  TW->Invalidate();
}

// ---- copy and paste ----------------------------------------------------------------------------------------------

void TFMeter_Bus::CopyVariable1Click(TObject*) {
  if (!Node_Selected()) return Say(248);
  if (!Var_Selected()) return Say(247);
  Copy_Var = Nodi_List.Nodi_List[std::size_t(IND_NODO)].Var_List[std::size_t(IND_VAR)];
  Refresh_Paste_Items();
}

void TFMeter_Bus::CopyNode1Click(TObject*) {
  if (IND_NODO >= int(Nodi_List.Nodi_List.size())) return Say(250);
  if (IND_NODO < 0) return Say(249);
  Copy_Node = Nodi_List.Nodi_List[std::size_t(IND_NODO)];
  if (!Has_Wireless_Side(FDeviceType)) Copy_Node->MBus_Type = 1;
  Refresh_Paste_Items();
}

bool TFMeter_Bus::Copy_Node_Wireless() const { return Copy_Node && Is_Wireless(*Copy_Node, FDeviceType); }

bool TFMeter_Bus::Run_Paste_Dialog(const TPaste_Input& In, TPaste_Values& Out) {
  FNewIDNode->Setup(In, &Nodi_List, FDeviceType);
  if (FNewIDNode->ShowModal() != mrOk) return false;
  Out = FNewIDNode->Checked_Values();
  return true;
}

namespace {

TPaste_Group Group_Of(const TVariabile& v) {
  return {{QString::number(v.Modbus_Register), QString::number(v.Modbus_Scale), QString::number(v.TP_Mod_Year)},
          v.Description,
          v.TP_Mod_Regs,
          v.Dimension,
          v.Length,
          v.Conv_Float,
          v.Force_Int32};
}

// The pasted copy with the registers the dialog's checks read.
TVariabile Pasted(TVariabile v, const std::array<int32_t, 3>& r) {
  v.Modbus_Register = r[0];
  v.Modbus_Scale = r[1];
  v.TP_Mod_Year = r[2];
  return v;
}

}  // namespace

void TFMeter_Bus::PasteVariable1Click(TObject*) {
  if (!Copy_Var) return Say(251);
  if (!Node_Selected() || !NODE_ID) return Say(255);
  TPaste_Input in;
  in.Form_Type = 2;
  in.Node_Description = Nodi_List.Nodi_List[std::size_t(IND_NODO)].Description;
  in.Groups = {Group_Of(*Copy_Var)};
  TPaste_Values out;
  if (!Run_Paste_Dialog(in, out) || out.Registers.empty()) return;
  TVariabile v = Pasted(*Copy_Var, out.Registers[0]);
  Ensure_Var_Entries(NODE_ID);
  TW->Items()->AddChild(NODE_ID, Var_Caption(v));
  Nodi_List.Nodi_List[std::size_t(IND_NODO)].Var_List.push_back(std::move(v));
  Is_Change = true;
}

void TFMeter_Bus::PasteNode1Click(TObject*) {
  if (!Copy_Node) return;
  const TNodo& c = *Copy_Node;
  const bool wireless = Copy_Node_Wireless();
  TPaste_Input in;
  in.Form_Type = wireless ? 3 : 1;
  in.Primary = c.Node_ID_Type == 0;
  in.Pri = QString::number(c.Node_Pri);
  in.Sec = QString::number(c.Node_Sec);
  in.wAdd = c.wMBus_Add;
  in.Node_State = QString::number(c.Node_State);
  in.Ident = QString::number(c.Ident_Num);
  in.RSSI = QString::number(c.RSSI);
  in.Node_Description = c.Description;
  for (const TVariabile& v : c.Var_List) in.Groups.push_back(Group_Of(v));
  TPaste_Values out;
  if (!Run_Paste_Dialog(in, out)) return;
  TNodo n = c;
  if (!wireless) {
    n.Node_Pri = out.Pri.value_or(n.Node_Pri);
    n.Node_Sec = out.Sec.value_or(n.Node_Sec);
    n.Node_ID_Type = out.Primary ? 0 : 1;
  }
  n.Node_State = out.Node_State;
  n.Ident_Num = out.Ident;
  if (Has_Wireless_Side(FDeviceType)) n.RSSI = out.RSSI;
  if (wireless) n.wMBus_Add = out.wAdd;
  for (std::size_t i = 0; i < n.Var_List.size() && i < out.Registers.size(); ++i)
    n.Var_List[i] = Pasted(n.Var_List[i], out.Registers[i]);
  const QString caption = Node_Caption(n, FDeviceType);
  TTreeNode* e = TW->Items()->AddChild(NODE_ORIG, caption);
  for (const TVariabile& v : n.Var_List) TW->Items()->AddChild(e, Var_Caption(v));
  Nodi_List.Nodi_List.push_back(std::move(n));
  Is_Change = true;
}

// ---- import, OK, Cancel ------------------------------------------------------------------------------------------

void TFMeter_Bus::Btn_ImportNetClick(TObject*) {
  if (!OD_Import_Net->Execute()) return;
  const QString chosen = OD_Import_Net->FileName;
  if (QFileInfo(chosen) == QFileInfo(File_MBus)) {
    FormShow(this);  // the file itself: read it again
    return;
  }
  // The chosen file must read whole before it takes the place of the network file.
  TXMLDocument doc;
  QString error;
  if (!doc.LoadFromFile(chosen, &error)) return Error_Box(error);
  const TRead_Result r = core::net::Read_Network(doc, FDeviceType);
  if (!r.Error.isEmpty()) return Error_Box(r.Error);
  if (QFileInfo::exists(File_MBus) && !Ask(256)) return;
  if (!doc.SaveToFile(File_MBus, &error)) return Error_Box(error);
  FormShow(this);
}

void TFMeter_Bus::LbButton2Click(TObject*) {
  if (Read_Failed && QFileInfo::exists(File_MBus) && !Ask(256)) return;
  // A network read from a file may give one register to two values; it is not written so, and the editor stays
  // open for the user to move one of them.
  if (auto hit = Find_Overlap(Nodi_List, FDeviceType)) return Show_Message(*hit);
  QString error;
  if (!Save_Network(File_MBus, Nodi_List, FDeviceType, &error)) return Error_Box(error);
  Nodi_List.Nodi_List.clear();
  Read_Failed = false;
  SetModalResult(mrOk);
}

void TFMeter_Bus::LbButton4Click(TObject*) {
  if (Is_Change && !Ask(246)) return;
  SetModalResult(mrCancel);
}
