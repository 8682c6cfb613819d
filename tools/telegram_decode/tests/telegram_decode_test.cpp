// Runs the decoding tool on real telegram files and on standard input and reads back its JSON.

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QString Corpus(const QString& Rel) { return QStringLiteral(TEST_CORPUS_DIR "/") + Rel; }

struct TRun {
  int Exit = -1;
  QList<QJsonObject> Objects;
};

TRun Run_Tool(const QStringList& Args, const QByteArray& Input = {}) {
  QProcess P;
  P.start(QStringLiteral(TELEGRAM_DECODE), Args);
  EXPECT_TRUE(P.waitForStarted());
  P.write(Input);
  P.closeWriteChannel();
  EXPECT_TRUE(P.waitForFinished(30000));
  TRun R;
  R.Exit = P.exitCode();
  for (const QByteArray& Line : P.readAllStandardOutput().split('\n')) {
    if (Line.trimmed().isEmpty()) continue;
    QJsonParseError E;
    const QJsonDocument D = QJsonDocument::fromJson(Line, &E);
    EXPECT_EQ(E.error, QJsonParseError::NoError) << Line.toStdString();
    R.Objects.push_back(D.object());
  }
  return R;
}

TEST(TelegramDecodeTool, DecodesCorpusFilesIntoSlaveAndRecordFields) {
  const TRun R = Run_Tool({Corpus(QStringLiteral("test-frames/ACW_Itron-BM-plus-m.hex")),
                      Corpus(QStringLiteral("error-frames/application_busy.hex"))});
  EXPECT_EQ(R.Exit, 0);
  ASSERT_EQ(R.Objects.size(), 2);
  const QJsonObject S = R.Objects[0];
  EXPECT_EQ(S[QStringLiteral("Primary_Addresss")].toInt(), 8);
  EXPECT_EQ(S[QStringLiteral("Secondary_Addresss")].toString(), QStringLiteral("11490378"));
  EXPECT_EQ(S[QStringLiteral("descManufacture")].toString(), QStringLiteral("ACW"));
  EXPECT_EQ(S[QStringLiteral("Medium")].toInt(), 22);
  const QJsonArray L = S[QStringLiteral("List_Var")].toArray();
  ASSERT_EQ(L.size(), 8);
  const QJsonObject Volume = L[1].toObject();
  EXPECT_EQ(Volume[QStringLiteral("Desc_Type_Data")].toString(), QStringLiteral("Volume m3"));
  ASSERT_TRUE(Volume[QStringLiteral("ValueStr")].isDouble());  // numbers are JSON numbers
  EXPECT_DOUBLE_EQ(Volume[QStringLiteral("ValueStr")].toDouble(), 54.321);
  EXPECT_EQ(Volume[QStringLiteral("type_data")].toInt(), 2);
  EXPECT_EQ(Volume[QStringLiteral("DIF")].toString(), QStringLiteral("$04"));
  const QJsonObject Date = L[4].toObject();
  EXPECT_EQ(Date[QStringLiteral("ValueStr")].toString(), QStringLiteral("13/03/14 11:11"));  // texts are strings
  EXPECT_EQ(Date[QStringLiteral("storage_number")].toInt(), 0);
  EXPECT_EQ(L[2].toObject()[QStringLiteral("storage_number")].toInt(), 1);
  EXPECT_EQ(R.Objects[1].keys(), QStringList{QStringLiteral("error")});
}

TEST(TelegramDecodeTool, ReadsOneTelegramPerLineAndReportsBadInput) {
  const QByteArray In =
      "68 08 08 68 08 05 72 78 56 34 12 16\n"  // L does not match
      "\n"
      "E5\n"
      "68 zz\n";
  const TRun R = Run_Tool({}, In);
  EXPECT_EQ(R.Exit, 0);
  ASSERT_EQ(R.Objects.size(), 3);
  for (const QJsonObject& O : R.Objects) EXPECT_TRUE(O.contains(QStringLiteral("error")));
  EXPECT_EQ(R.Objects[0][QStringLiteral("error")].toString(), QStringLiteral("length does not match the L field"));
  EXPECT_EQ(R.Objects[1][QStringLiteral("error")].toString(), QStringLiteral("not a long frame"));

  EXPECT_NE(Run_Tool({QStringLiteral("/nonexistent/telegram.hex")}).Exit, 0);
}

}  // namespace
