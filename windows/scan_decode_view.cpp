// The Scan & Decode window's results: the texts of its lines, the two trees, the wireless grid, the key of an
// encrypted device, and saving the chosen result as M_Bus.xml.
#include <QCursor>
#include <QFileInfo>

#include "core/device_model.h"
#include "core/network_checks.h"
#include "scanner/scan_export.h"
#include "platform/forms/dialogs.h"
#include "platform/rtl/strutils.h"
#include "windows/insert_key_wireless.h"
#include "windows/modbus_start_add_sd.h"
#include "windows/scan_decode.h"
#include "windows/scan_modbus_start.h"

using namespace plat;
using lazytree::PLazyNode;

namespace scan_text {

namespace {
QString Hex(uint32_t V, int Digits) { return QStringLiteral("%1").arg(V, Digits, 16, QChar(u'0')).toUpper(); }
QString Dec_Hex(uint8_t V) { return QString::number(V) + QStringLiteral(" (") + Hex(V, 2) + u')'; }
}  // namespace

QString Progress_Line(TScan_Report MsgType, int32_t Address, int32_t Found, TScan_Kind ScanKind) {
  const bool secondary = ScanKind == TScan_Kind::Secondary;
  if (MsgType == TScan_Report::Started && secondary) return Lang_Text(427);
  if (MsgType == TScan_Report::Ended && secondary) return Lang_Text(428);
  if (MsgType != TScan_Report::Address) return QString();
  if (secondary) return QStringLiteral("ID = ") + Hex(uint32_t(Address), 8);
  QString line = QStringLiteral("ID = ") + QString::number(Address) + u'\t';
  if (Found == 0) line += QStringLiteral("[NOT FOUND]");
  return line;
}

QString Slave(const TSlave_MBus& S) {
  return QStringLiteral("Primary Address = %1 - Secondary Address = %2 - Manufacturer = %3(%4) - Version = %5 - "
                        "Type = %6")
      .arg(S.Primary_Addresss)
      .arg(S.Secondary_Addresss, S.descManufacture)
      .arg(S.Manufacture)
      .arg(S.Version)
      .arg(S.Medium);
}

QString Record(const TVariable_MBus& V) {
  return QStringLiteral("Value = %1 - Type = %2 (U%3S%4T%5)")
      .arg(V.ValueStr(), V.Desc_Type_Data())
      .arg(V.device)
      .arg(V.storage_number)
      .arg(V.tarif);
}

QString Detail(const TVariable_MBus& V, int Position) {
  switch (Position) {
    case 0: return QStringLiteral("Storage Number = ") + QString::number(V.storage_number);
    case 1: return QStringLiteral("Tariff = ") + QString::number(V.tarif);
    case 2: return QStringLiteral("Unit = ") + QString::number(V.device);
    case 3: return QStringLiteral("Data Field = ") + V.DataFieldStr();
    case 4: return QStringLiteral("Function Field = ") + V.FunctionFieldStr();
    case 5: return QStringLiteral("Type = ") + V.Desc_Type_Data();
    case 6: return QStringLiteral("Value = ") + V.ValueStr();
    case 7: return QStringLiteral("DIF = ") + V.DIF();
    case 8: return QStringLiteral("VIF = $") + Hex(V.VIF, 2);
    case 9: return QStringLiteral("DIFE = ") + V.DIFE();
    case 10: return QStringLiteral("VIFE = ") + V.VIFE();
    case 11: return QStringLiteral("DATA = $") + V.totdati();
    default: return QString();
  }
}

QString Wireless_Device(const TSlave_wMBus& D) {
  QString t = QStringLiteral("Manufacturer = %1 - Address = %2 - Version = %3 - Device Type = %4")
                  .arg(D.ALA_Manu_str, Hex(uint32_t(D.ALA_Address), 8))
                  .arg(D.ALA_Version)
                  .arg(D.ALA_DeviceType);
  if (D.Cripted) t += QStringLiteral(" - CRIPTED!!");
  return t;
}

QString Wireless_Record(const TVariable_MBus& V) {
  return V.Real_Wireless_Var ? Record(V) : QStringLiteral("Idle Filler");
}

QStringList Wireless_Row(int Index, const TSlave_wMBus& D) {
  return {QString::number(Index + 1),
          D.DateTime.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")),
          QStringLiteral("0x") + Hex(D.Message_Type, 2),
          D.LLA_Manu_str + u'(' + Hex(D.LLA_Manufacturer, 4) + u')',
          Hex(D.LLA_Address, 8),
          Dec_Hex(D.LLA_Version),
          Dec_Hex(D.LLA_DeviceType),
          D.ALA_Manu_str + u'(' + Hex(D.ALA_Manufacturer, 4) + u')',
          Hex(uint32_t(D.ALA_Address), 8),
          Dec_Hex(D.ALA_Version),
          Dec_Hex(D.ALA_DeviceType),
          QString::number(D.RSSI)};
}

int Mode_Code(int Item) {
  static const int codes[5] = {1, 5, 15, 17, 11};
  return Item >= 0 && Item < 5 ? codes[Item] : 1;
}

}  // namespace scan_text

void TFScanDecode::Cancel_Device_List() {
  FWired_Nodes.clear();
  LST->Clear();
  std::lock_guard<std::mutex> l(List_Dev_Lock);
  qDeleteAll(List_Dev_MBus);
  List_Dev_MBus.clear();
}

void TFScanDecode::Cancel_Device_List_Wireless() {
  LST_Wireless->Clear();
  FShown_Device = -1;
  std::lock_guard<std::mutex> l(List_Dev_Lock);
  for (TSlave_wMBus* d : List_Dev_Wireless) {
    d->Cancel_Var();
    delete d;
  }
  List_Dev_Wireless.clear();
}

void TFScanDecode::Cancel_Grid_Wireless() {
  ESG_Wireless->Clear_Looks();
  ESG_Wireless->SetRowCount(2);
  for (int c = 0; c < 13; ++c) ESG_Wireless->SetCells(c, 1, QString());
  ESG_Wireless->SetLeftCol(0);
}

namespace {

// Adds a device's nodes: the device (ticked or not), a ticked-or-not node per record, twelve detail lines under
// each. The tree asks for captions (under List_Dev_Lock) while nodes are added, so the lock is not held here.
using TDevice_Nodes = TFScanDecode::TSlave_Nodes;

TDevice_Nodes Add_Device(TScan_Tree* Tree, bool Enabled, const std::vector<bool>& Records_Enabled) {
  TDevice_Nodes out;
  out.Device = Tree->Add(nullptr, true);
  if (!Enabled) out.Device->CheckState = lazytree::csUncheckedNormal;
  for (const bool on : Records_Enabled) {
    PLazyNode r = Tree->Add(out.Device, true);
    if (!on) r->CheckState = lazytree::csUncheckedNormal;
    for (int k = 0; k < 12; ++k) Tree->Add(r, false);
    out.Records.push_back(r);
  }
  return out;
}

}  // namespace

void TFScanDecode::Show_Slave_in_Tree() {
  FWired_Nodes.clear();
  LST->Clear();
  std::vector<std::size_t> counts;
  {
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    for (const TSlave_MBus* s : List_Dev_MBus) counts.push_back(s->List_Var.size());
  }
  L_Num_Slave->SetCaption(QString::number(counts.size()));
  for (const std::size_t n : counts) FWired_Nodes.push_back(Add_Device(LST, true, std::vector<bool>(n, true)));
}

void TFScanDecode::Show_Slave_in_Tree_Wireless(int Index) {
  LST_Wireless->Clear();
  bool enabled = true;
  std::vector<bool> records;
  {
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    if (Index < 0 || Index >= List_Dev_Wireless.size()) return;
    const TSlave_wMBus* d = List_Dev_Wireless[Index];
    enabled = d->Enable;
    for (const TVariable_MBus& v : d->List_Var) records.push_back(v.Enable);
  }
  FShown_Device = Index;
  // The ticks go straight to the device's and records' Enable fields (OnChecked), which the export reads.
  Add_Device(LST_Wireless, enabled, records);
}

void TFScanDecode::ESG_WirelessClickCell(int ARow) {
  int count = 0;
  {
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    count = int(List_Dev_Wireless.size());
  }
  if (ARow >= 1 && ARow - 1 < count) Show_Slave_in_Tree_Wireless(ARow - 1);
}

void TFScanDecode::ESG_WirelessDblClickCell(int ARow) {
  bool cripted = false;
  {
    std::lock_guard<std::mutex> l(List_Dev_Lock);
    cripted = ARow >= 1 && ARow - 1 < List_Dev_Wireless.size() && List_Dev_Wireless[ARow - 1]->Cripted;
  }
  if (!cripted) return;
  // At the mouse, moved back inside this window's client area where it would stick out.
  TPoint at = ScreenToClient(TPoint{QCursor::pos().x(), QCursor::pos().y()});
  at.X = std::max(0, std::min(at.X, ClientWidth() - FInsertKeyWireless->Width()));
  at.Y = std::max(0, std::min(at.Y, ClientHeight() - FInsertKeyWireless->Height()));
  const TPoint screen = ClientToScreen(at);
  FInsertKeyWireless->SetLeft(screen.X);
  FInsertKeyWireless->SetTop(screen.Y);
  if (FInsertKeyWireless->ShowModal() != mrOk) return;
  const QByteArray key = TFInsertKeyWireless::Key_Bytes(FInsertKeyWireless->E_Key->Text());
  const auto* bytes = reinterpret_cast<const uint8_t*>(key.constData());
  if (!TR_ScanDecode->Insert_Wireless_Key(ARow - 1, std::span<const uint8_t>(bytes, std::size_t(key.size())))) {
    // Neither a stopped listening nor a full key table passes in silence.
    Application->ShowException(Exception(QStringLiteral(
        "The key was not given to the device: the converter is not listening, or its radio module has no free "
        "key slot left.")));
  }
}

namespace {

// The Modbus registers a device's node and records may take: the node-state and identification registers and
// every record counted.
int Device_Registers(const std::vector<TVariable_MBus>& Records, bool Wireless) {
  int n = 3;
  for (const TVariable_MBus& v : Records)
    if (!Wireless || v.Real_Wireless_Var) n += Export_Registers(v.dimension, v.nbyte);
  return n;
}

}  // namespace

void TFScanDecode::Carica_Dati_Modbus_Start_Add(int64_t First) {
  QStringList ids;
  std::vector<int> sizes;
  std::lock_guard<std::mutex> l(List_Dev_Lock);
  if (Wireless_Chosen()) {
    for (const TSlave_wMBus* d : List_Dev_Wireless) {
      ids << QString::number(d->ALA_Address);
      sizes.push_back(Device_Registers(d->List_Var, true));
    }
  } else {
    for (const TSlave_MBus* s : List_Dev_MBus) {
      ids << QString::number(s->Primary_Addresss) + QStringLiteral(" - ") + s->Secondary_Addresss;
      sizes.push_back(Device_Registers(s->List_Var, false));
    }
  }
  // Each device is proposed the register after those of the network and of the devices above it, so that the
  // proposal never gives a register to two values.
  QStringList starts;
  int64_t next = std::max<int64_t>(First, 1);
  for (const int n : sizes) {
    starts << QString::number(std::min<int64_t>(next, core::net::Max_Register));
    next += n;
  }
  FModbusStartAdd_SD->Set_Devices(ids, starts);
}

core::net::TNetwork TFScanDecode::Network_To_Append() const {
  const core::net::TRead_Result r = core::net::Load_Network(FileName_MBus, Device_Type);
  // A file that does not read is reported by the export itself.
  return r.Network;
}

QString TFScanDecode::Save_Collision(const TSaveConfXML& D, const core::net::TNetwork& Existing) {
  try {
    core::net::TNetwork added;
    {
      std::lock_guard<std::mutex> l(List_Dev_Lock);
      added = Wireless_Chosen() ? Wireless_Records(D, List_Dev_Wireless) : Wired_Records(D, List_Dev_MBus, Ticks());
    }
    const core::net::TNetwork none;
    if (auto hit = core::net::Check_Added_Nodes(D.Append == 1 ? Existing : none, added, Device_Type))
      return hit->Message;
  } catch (const EScanExportError& e) {
    return e.Message();
  }
  return QString();
}

void TFScanDecode::Select_SaveXML(int Type_SaveXML) {
  bool append = false;
  if (QFileInfo(FileName_MBus).isFile()) {
    const TModalResult r = MessageDlg(Lang_Text(437), mtConfirmation, mbYesNoCancel);
    if (r != mrYes && r != mrNo) return;
    append = r == mrYes;
  }
  const core::net::TNetwork existing = append ? Network_To_Append() : core::net::TNetwork{};
  // A scan added to a network starts after the registers the network uses.
  const int64_t first = append ? core::net::First_Free_Register(existing, Device_Type) : 1;
  int start = int(std::min<int64_t>(first, core::net::Max_Register));
  static const int with_dialogs[] = {0, 1, 9, 13, 14};
  const bool dialogs = std::find(std::begin(with_dialogs), std::end(with_dialogs), XML_Code_Dev) !=
                       std::end(with_dialogs);
  if (Type_SaveXML == 1) {
    Carica_Dati_Modbus_Start_Add(first);
    FModbusStartAdd_SD->Check_Starts = [this, append, &existing] {
      return Save_Collision(Save_Data(append, 1, 1), existing);
    };
    const bool ok = !dialogs || FModbusStartAdd_SD->ShowModal() == mrOk;
    FModbusStartAdd_SD->Check_Starts = nullptr;
    if (!ok) return;
  } else if (dialogs && append) {
    FScanModbusStart->E_StartModAdd->SetText(QString::number(start));
    FScanModbusStart->Check_Start = [this, &existing](int Start) {
      return Save_Collision(Save_Data(true, Start, 0), existing);
    };
    const bool ok = FScanModbusStart->ShowModal() == mrOk;
    FScanModbusStart->Check_Start = nullptr;
    if (!ok) return;
    start = FScanModbusStart->StartModAdd;
  }
  // Also without a dialog nothing is written that would give a register to two values.
  const QString collision = Save_Collision(Save_Data(append, start, Type_SaveXML), existing);
  if (!collision.isEmpty()) {
    MessageDlg(collision, mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Make_Save(Type_SaveXML, append, start);
}

void TFScanDecode::Make_Save(int Type_SaveXML, bool Append, int Start) {
  bool saved = false;
  try {
    saved = Wireless_Chosen() ? SaveXMLWireless(Append, Start, Type_SaveXML) : SaveXML(Append, Start, Type_SaveXML);
  } catch (const std::exception& e) {
    Application->ShowException(e);
    return;
  }
  if (saved) MessageDlg(Lang_Text(430), mtInformation, TMsgDlgButtons{mbOK});
}

namespace {

bool Checked(const lazytree::TLazyNode* Node) {
  return !Node || Node->CheckState == lazytree::csCheckedNormal;
}

}  // namespace

TSaveConfXML TFScanDecode::Save_Data(bool Append, int Start_Modbus, int Start_Modbus_node) const {
  TSaveConfXML d;
  d.Append = Append ? 1 : 0;
  d.XML_Code_Dev = XML_Code_Dev;
  d.Mod_Start = Start_Modbus;
  d.StartModnode = Start_Modbus_node;
  for (const QString& t : FModbusStartAdd_SD->Start_Texts()) {
    int v = 1;
    if (!TryStrToInt(t, v)) v = 1;
    d.SMN_Array.push_back(v);
  }
  d.En_NodeState = FModbusStartAdd_SD->CB_En_NodeState->Checked();
  d.En_IdeNum = FModbusStartAdd_SD->CB_En_IndNum->Checked();
  d.File_Name = FileName_MBus;
  d.Node_ID_Type = CB_ScanBy->ItemIndex();
  if (Wireless_Chosen()) {
    d.Cut_After = 3;
    return d;
  }
  d.Index_Baud = CB_MBus_Baud->ItemIndex();
  d.Index_Par = CB_MBus_Parity->ItemIndex();
  d.SND_NKE = CB_Opt_SND_NKE->Checked() ? 1 : 0;
  d.Reset_App = CB_Opt_App_Reset->Checked() ? 1 : 0;
  if (!TryStrToInt(E_Opt_Cut_After->Text(), d.Cut_After)) d.Cut_After = 3;
  return d;
}

TScan_Check_State TFScanDecode::Ticks() const {
  TScan_Check_State checks;
  checks.Slave_Checked = [this](int I, const TSlave_MBus&) {
    return std::size_t(I) >= FWired_Nodes.size() || Checked(FWired_Nodes[std::size_t(I)].Device);
  };
  checks.Record_Checked = [this](int I, int R, const TVariable_MBus&) {
    if (std::size_t(I) >= FWired_Nodes.size()) return true;
    const std::vector<PLazyNode>& recs = FWired_Nodes[std::size_t(I)].Records;
    return std::size_t(R) >= recs.size() || Checked(recs[std::size_t(R)]);
  };
  return checks;
}

bool TFScanDecode::SaveXML(bool Append, int Start_Modbus, int Start_Modbus_node) {
  return TR_ScanDecode->Save_XML_Conf_Wired(Save_Data(Append, Start_Modbus, Start_Modbus_node), Ticks());
}

bool TFScanDecode::SaveXMLWireless(bool Append, int Start_Modbus, int Start_Modbus_node) {
  return TR_ScanDecode->Save_XML_Conf_Wireless(Save_Data(Append, Start_Modbus, Start_Modbus_node));
}
