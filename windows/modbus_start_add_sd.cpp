#include "windows/modbus_start_add_sd.h"

#include <algorithm>

#include "core/device_model.h"
#include "grid/column_grid.h"
#include "platform/forms/dialogs.h"
#include "platform/rtl/strutils.h"

using namespace plat;

TFModbusStartAdd_SD* FModbusStartAdd_SD = nullptr;

namespace {

constexpr TColor Start_Column_Colour = TColor(16710368);  // light blue: the column the user types into

}  // namespace

TFModbusStartAdd_SD::TFModbusStartAdd_SD(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FModbusStartAdd_SD"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  SetClientWidth(511);
  SetClientHeight(336);
  Place_Dialog_Buttons(Frame);
  CB_En_NodeState = Make_Control<TCheckBox>(this, "CB_En_NodeState", 14, 68, 240, 19);
  CB_En_IndNum = Make_Control<TCheckBox>(this, "CB_En_IndNum", 260, 68, 240, 19);
  sga = Make_Control<grid::TExtColumnGrid>(this, "sga", 14, 94, 483, 336 - 44 - 8 - 94);
  sga->SetColCount(2);
  sga->SetFixedCols(1);
  sga->SetRowCount(2);
  sga->SetFixedRows(1);
  sga->SetOptions(sga->Options().Include(goEditing));
  sga->Columns()->Items(0)->SetWidth(200);
  sga->Columns()->Items(1)->SetWidth(200);
  sga->Columns()->Items(1)->SetColor(Start_Column_Colour);
  Frame.Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
}

TFModbusStartAdd_SD::~TFModbusStartAdd_SD() {
  if (FModbusStartAdd_SD == this) FModbusStartAdd_SD = nullptr;
}

void TFModbusStartAdd_SD::DoCreate() {
  FModbusStartAdd_SD = this;
  Frame.L_SW_Code->SetCaption(SW_Code);
  Set_Lang();
  TForm::DoCreate();
}

void TFModbusStartAdd_SD::Set_Lang() {
  SetCaption(Lang_Text(700));
  Frame.L_SW_Desc->SetCaption(Lang_Text(701));
  CB_En_NodeState->SetCaption(Lang_Text(702));
  CB_En_IndNum->SetCaption(Lang_Text(703));
  sga->Columns()->Items(0)->SetHeader(Lang_Text(704));
  sga->Columns()->Items(1)->SetHeader(Lang_Text(705));
  Frame.Btn_OK->SetCaption(Lang_Text(706));
  Frame.Btn_Cancel->SetCaption(Lang_Text(707));
}

QString TFModbusStartAdd_SD::Check_Values(const QStringList& Values) {
  for (int i = 0; i < Values.size(); ++i) {
    const QString row = Lang_Text(708) + QString::number(i + 1);
    if (Values[i].isEmpty()) return row + Lang_Text(709);
    int v = 0;
    if (!TryStrToInt(Values[i], v) || v < 1 || v > 59999) return row + Lang_Text(710);
  }
  return QString();
}

QStringList TFModbusStartAdd_SD::Start_Texts() const {
  QStringList out;
  for (int r = 1; r <= Data_Rows && r < sga->RowCount(); ++r) out << sga->Cells(1, r);
  return out;
}

bool TFModbusStartAdd_SD::Check_Data() {
  const QString message = Check_Values(Start_Texts());
  if (message.isEmpty()) return true;
  MessageDlg(message, mtError, TMsgDlgButtons{mbOK});
  return false;
}

void TFModbusStartAdd_SD::Set_Devices(const QStringList& Ids, const QStringList& Starts) {
  sga->SetEditorMode(false);
  // The grid keeps one row below its header even when no device was found; that row is no data row.
  sga->SetRowCount(std::max<int>(2, int(Ids.size()) + 1));
  sga->SetFixedRows(1);
  Data_Rows = int(Ids.size());
  sga->SetCells(0, 1, QString());
  sga->SetCells(1, 1, QString());
  for (int i = 0; i < Ids.size(); ++i) {
    sga->SetCells(0, i + 1, Ids[i]);
    sga->SetCells(1, i + 1, i < Starts.size() ? Starts[i] : QStringLiteral("1"));
  }
}

void TFModbusStartAdd_SD::Btn_OKClick(TObject*) {
  // A value still in the cell editor counts.
  sga->SetEditorMode(false);
  if (!Check_Data()) return;
  if (Check_Starts) {
    const QString collision = Check_Starts();
    if (!collision.isEmpty()) {
      MessageDlg(collision, mtError, TMsgDlgButtons{mbOK});
      return;
    }
  }
  SetModalResult(mrOk);
}
