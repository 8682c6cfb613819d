// The Scan & Decode window's report of how the last scan ended.

#include <QImage>
#include <QWidget>

#include "platform/io/udp_socket.h"
#include "scanner/mbus_scan.h"
#include "scanner/wmbus_decode.h"
#include "windows/scan_decode.h"
#include "windows/tests/windows_fixture.h"

namespace {

// A scan whose local port another socket holds: the window says why the scan could not run, in the system's
// words, not that the converter was not found (kept beside the test as a picture).
TEST_F(WindowsTest, ScanWindowSaysThatThePortIsInUse) {
  Start();
  plat::TUdpSocket Holder;
  QString Error;
  ASSERT_TRUE(Holder.Open(QStringLiteral("127.0.0.1"), 0, [](const plat::TUdpDatagram&) {}, &Error))
      << Error.toStdString();
  TScanNetConfig Net;
  Net.Bind_Address = QStringLiteral("127.0.0.1");
  Net.Local_Port = Holder.Local_Port();
  TScanEnvironment Env;
  Env.Transport = std::make_unique<TUdpScanTransport>(Net);
  Env.Start_Thread = false;
  TMBusScanDecode Engine(std::move(Env));
  ASSERT_TRUE(Engine.Start_Scan(saPrimaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 0,
                                nullptr));
  for (int I = 0; I < 20 && Engine.FInScan; ++I) Engine.Run_Pass();
  ASSERT_FALSE(Engine.FInScan);
  EXPECT_FALSE(FScanDecode->L_Scan_Report->Visible());
  FScanDecode->Show_Scan_Report(Engine);
  EXPECT_TRUE(FScanDecode->L_Scan_Report->Visible());
  EXPECT_TRUE(FScanDecode->L_Scan_Report->Caption().contains(QStringLiteral("Address already in use")))
      << FScanDecode->L_Scan_Report->Caption().toStdString();
  EXPECT_NE(FScanDecode->L_Scan_Report->Caption(), T(429));
  QImage Shot;
  OnModal(FScanDecode, [&] {
    Shot = FScanDecode->Widget()->grab().toImage();
    FScanDecode->Close();
  });
  FScanDecode->ShowModal();
  Shot.save(QStringLiteral(TEST_BINARY_DIR "/scan_decode_report.png"));
}

TEST_F(WindowsTest, ScanWindowReportsTheEndOfEachKindOfScan) {
  Start();
  const QString Full = QStringLiteral("The list of devices is full (%1): 12 telegrams of further devices were ignored")
                           .arg(Max_Wireless_Devices);
  const struct {
    int32_t Result;
    uint64_t Ignored;
    QString Shown;  // empty: the report stays hidden
  } Cases[] = {
      {Result_Not_Confirmed, 0, T(429)},
      {Result_Scanned, 12, Full},
      {Result_Scanned, 0, QString()},
      {Result_None, 0, QString()},
  };
  for (const auto& C : Cases) {
    FScanDecode->Show_Scan_Report(C.Result, QString(), C.Ignored);
    EXPECT_EQ(FScanDecode->L_Scan_Report->Visible(), !C.Shown.isEmpty()) << C.Result;
    if (!C.Shown.isEmpty()) {
      EXPECT_EQ(FScanDecode->L_Scan_Report->Caption(), C.Shown);
    }
    // The whole report lies inside the window.
    EXPECT_LE(FScanDecode->L_Scan_Report->Left() + FScanDecode->L_Scan_Report->Width(), FScanDecode->ClientWidth());
  }
  FScanDecode->Show_Scan_Report(Result_Scanned, QString(), 12);
  QImage Shot;
  OnModal(FScanDecode, [&] {
    Shot = FScanDecode->Widget()->grab().toImage();
    FScanDecode->Close();
  });
  FScanDecode->ShowModal();
  Shot.save(QStringLiteral(TEST_BINARY_DIR "/scan_decode_full_list.png"));
}

}  // namespace
