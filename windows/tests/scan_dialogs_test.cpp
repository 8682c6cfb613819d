// The three dialogs of the Scan & Decode window check their input on OK: a message and the dialog stays open
// for bad input, the result OK otherwise.

#include <QLineEdit>
#include <QFontMetrics>
#include <QImage>
#include <QTest>

#include "input_helpers.h"
#include "grid/column_grid.h"
#include "windows/insert_key_wireless.h"
#include "windows/modbus_start_add_sd.h"
#include "windows/new_id_node.h"
#include "windows/scan_modbus_start.h"
#include "windows_fixture.h"

using namespace plat;

namespace {

class ScanDialogs : public WindowsTest {
 protected:
  // Shows Form, lets Act type, clicks OK, and returns the modal result (mrNone: OK kept it open).
  static TModalResult Ok_Result(TForm* Form, TControl* Ok, const std::function<void()>& Act) {
    TModalResult result = mrNone;
    OnModal(Form, [&] {
      Act();
      Click(Ok);
      result = Form->ModalResult();
      if (result == mrNone) Form->SetModalResult(mrCancel);
    });
    Form->ShowModal();
    return result;
  }
};

TEST_F(ScanDialogs, KeyDialogTakesOnlyThirtyTwoHexCharacters) {
  Start();
  const QString valid = QStringLiteral("00112233445566778899AABBCCDDEEFF");
  const struct {
    QString Typed;
    int Message;  // 0: closes with OK
  } cases[] = {
      {valid.left(31), 604},
      {valid.left(31) + u'G', 603},
      {QString(), 604},
      {QStringLiteral("0011223344556677 899AABBCCDDEEFF"), 603},
      {valid, 0},
      {valid.toLower(), 0},  // letters are upper-cased as they are typed
  };
  for (const auto& c : cases) {
    boxes_.Clear();
    const TModalResult r =
        Ok_Result(FInsertKeyWireless, FInsertKeyWireless->Btn_OK, [&] { Type(FInsertKeyWireless->E_Key, c.Typed); });
    EXPECT_EQ(r, c.Message == 0 ? mrOk : mrNone) << c.Typed.toStdString();
    if (c.Message == 0) {
      EXPECT_EQ(boxes_.Count(), 0);
      EXPECT_EQ(FInsertKeyWireless->E_Key->Text(), valid);
    } else {
      ASSERT_EQ(boxes_.Count(), 1) << c.Typed.toStdString();
      EXPECT_EQ(boxes_.LastText(), T(c.Message));
      EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
    }
  }
  // Longer input is cut at 32 characters by the field itself.
  Type(FInsertKeyWireless->E_Key, valid + QStringLiteral("AB"));
  EXPECT_EQ(FInsertKeyWireless->E_Key->Text(), valid);
  const QByteArray bytes = TFInsertKeyWireless::Key_Bytes(valid);
  ASSERT_EQ(bytes.size(), 16);
  EXPECT_EQ(uint8_t(bytes[0]), 0x00);
  EXPECT_EQ(uint8_t(bytes[1]), 0x11);
  EXPECT_EQ(uint8_t(bytes[15]), 0xFF);
}

TEST_F(ScanDialogs, StartRegisterDialogTakesOneTo65535) {
  Start();
  const struct {
    const char* Typed;
    int Taken;  // 0: text 506 and the dialog stays open
  } cases[] = {{"0", 0}, {"65536", 0}, {"abc", 0}, {"", 0}, {"-1", 0}, {"65535", 65535}, {"1", 1}, {"$10", 16}};
  for (const auto& c : cases) {
    boxes_.Clear();
    FScanModbusStart->StartModAdd = -7;
    const TModalResult r = Ok_Result(FScanModbusStart, FScanModbusStart->Frame.Btn_OK,
                                     [&] { Type(FScanModbusStart->E_StartModAdd, QString::fromLatin1(c.Typed)); });
    if (c.Taken == 0) {
      EXPECT_EQ(r, mrNone) << c.Typed;
      EXPECT_EQ(boxes_.LastText(), T(506)) << c.Typed;
      EXPECT_EQ(FScanModbusStart->StartModAdd, -7);
    } else {
      EXPECT_EQ(r, mrOk) << c.Typed;
      EXPECT_EQ(boxes_.Count(), 0);
      EXPECT_EQ(FScanModbusStart->StartModAdd, c.Taken);
    }
  }
}

TEST_F(ScanDialogs, StartAddressTableNamesTheFirstBadRow) {
  Start();
  auto msg = [](int row, int text) { return T(708) + QString::number(row) + T(text); };
  EXPECT_EQ(T(708) + "3" + T(709), "Error row 3!! Modbus Start Address cannot be empty");
  const struct {
    QStringList Values;
    QString Message;
  } cases[] = {
      {{"1", "100", ""}, msg(3, 709)},
      {{"1", "60000", ""}, msg(2, 710)},  // the first bad row ends the check
      {{"0"}, msg(1, 710)},
      {{"59999", "1x", "1"}, msg(2, 710)},
      {{"59999", "$10", " 7"}, QString()},
      {{}, QString()},
  };
  for (const auto& c : cases) EXPECT_EQ(TFModbusStartAdd_SD::Check_Values(c.Values), c.Message);

  // Through the dialog: the header row is never checked, a table without devices closes at once.
  TFModbusStartAdd_SD* f = FModbusStartAdd_SD;
  f->Set_Devices({});
  EXPECT_EQ(Ok_Result(f, f->Frame.Btn_OK, [] {}), mrOk);
  f->Set_Devices({"1 - 11111111", "3 - 33333333", "7 - 77777777"});
  EXPECT_EQ(f->sga->Cells(0, 0), T(704));
  EXPECT_EQ(f->Start_Texts(), QStringList({"1", "1", "1"}));
  {
    // The start-address column is the light blue one; the device column keeps the fixed colour.
    f->sga->SetRow(1);
    const QImage grid = f->sga->Widget()->grab().toImage();
    const TRect start = f->sga->CellRect(1, 2), device = f->sga->CellRect(0, 2);
    EXPECT_EQ(grid.pixelColor(start.Right - 10, (start.Top + start.Bottom) / 2), QColor(224, 250, 254));
    EXPECT_NE(grid.pixelColor(device.Right - 10, (device.Top + device.Bottom) / 2), QColor(224, 250, 254));
  }
  f->sga->SetCells(1, 3, QString());
  boxes_.Clear();
  EXPECT_EQ(Ok_Result(f, f->Frame.Btn_OK, [] {}), mrNone);
  EXPECT_EQ(boxes_.LastText(), msg(3, 709));
  // A value still in the cell editor when OK is clicked counts.
  const TModalResult r = Ok_Result(f, f->Frame.Btn_OK, [f] {
    f->sga->SetCol(1);
    f->sga->SetRow(3);
    QTest::keyClick(f->sga->Widget(), Qt::Key_5);
    ASSERT_NE(f->sga->InplaceEditor(), nullptr);
    QTest::keyClicks(f->sga->InplaceEditor()->Widget(), "00");
  });
  EXPECT_EQ(r, mrOk);
  EXPECT_EQ(f->Start_Texts(), QStringList({"1", "1", "500"}));
}

// The two dialogs whose registers are typed into a column grid, as a person sees them (kept beside the test as
// pictures): each header fits its column whole, and only the typed column takes its colour.
TEST_F(ScanDialogs, ColumnGridDialogsShowTheirWholeCaptions) {
  Start();
  FModbusStartAdd_SD->Set_Devices({"1 - 11111111", "2 - 22222222", "3 - 33333333"}, {"1", "14", "27"});
  core::net::TPaste_Input in;
  in.Form_Type = 1;
  in.Pri = "6";
  in.Node_State = in.Ident = in.RSSI = "0";
  in.Node_Description = "Boiler";
  in.Groups = {{{"10", "0", "0"}, "Energy (Wh) (U0S0T0)"}, {{"12", "0", "0"}, "Volume (m3) (U0S0T0)"}};
  const core::net::TNetwork net;
  FNewIDNode->Setup(in, &net, Device_Type);
  const struct {
    TForm* Form;
    grid::TExtColumnGrid* Grid;
    const char* File;
    int Typed;  // the column the user types into
  } dialogs[] = {{FModbusStartAdd_SD, FModbusStartAdd_SD->sga, "start_address_dialog.png", 1},
                 {FNewIDNode, FNewIDNode->ESG_MR_Var, "new_node_id_dialog.png", 1}};
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.File);
    OnModal(d.Form, [&] {
      d.Form->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/") + QLatin1StringView(d.File));
      const QImage shot = d.Grid->Widget()->grab().toImage();
      for (int c = 0; c < d.Grid->ColCount(); ++c) {
        grid::TGridColumnItem* column = d.Grid->Columns()->Items(c);
        const QString header = d.Grid->Cells(c, 0);
        EXPECT_FALSE(header.isEmpty()) << c;
        const int text = QFontMetrics(column->HeaderFont()->QtFont()).horizontalAdvance(header);
        EXPECT_LE(text + 4, d.Grid->ColWidths(c)) << header.toStdString();
        // The device names and register kinds show whole too (the last column holds free descriptions).
        for (int r = 1; c + 1 < d.Grid->ColCount() && r < d.Grid->RowCount(); ++r) {
          const QString cell = d.Grid->Cells(c, r);
          EXPECT_LE(QFontMetrics(column->Font()->QtFont()).horizontalAdvance(cell) + 4, d.Grid->ColWidths(c))
              << cell.toStdString();
        }
        // The typed column's colour shows in its data cells, and only there.
        const TRect cell = d.Grid->CellRect(c, 2);
        const QColor inside = shot.pixelColor(cell.Right - 3, (cell.Top + cell.Bottom) / 2);
        const TColor typed = column->Color();
        if (c == d.Typed)
          EXPECT_EQ(inside, QColor(GetRValue(typed), GetGValue(typed), GetBValue(typed))) << c;
        bool editable = true;
        d.Grid->CheckCellEditable(c, 2, editable);
        EXPECT_EQ(editable, c == d.Typed) << c;
      }
      d.Form->SetModalResult(mrCancel);
    });
    d.Form->ShowModal();
  }
}

}  // namespace
