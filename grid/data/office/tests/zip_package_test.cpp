// The package layer: bounded reading of hostile archives, whole and atomic saving, unchanged parts kept.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "grid/data/office/zip_package.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"

namespace grid::office {
namespace {

using testing::ReadAll;
using testing::TScratch;
using testing::WriteAll;

QString Raised(const std::function<void()>& F) {
  try {
    F();
  } catch (const EExtGridError& e) {
    return e.Message();
  }
  return QStringLiteral("(nothing raised)");
}

TEST(ZipPackage, PartsRoundTripAndUnchangedPartsStayAsTheyWere) {
  TScratch dir;
  const QString path = dir.Path("p.zip");
  QByteArray big(300000, 'x');
  for (int i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 26);
  {
    TZipPackage p;
    p.Write("a.xml", "<a/>");
    p.Write("dir/b.bin", big);
    p.SaveAs(path);
  }
  TZipPackage p;
  p.Open(path);
  EXPECT_EQ(p.Parts(), (QStringList{"a.xml", "dir/b.bin"}));
  EXPECT_EQ(p.Read("dir/b.bin"), big);
  p.Write("a.xml", "<changed/>");
  p.Write("c.xml", "<c/>");
  p.Remove("dir/b.bin");
  p.Write("dir/b.bin", big);  // written again after removal
  p.SaveAs(path);
  TZipPackage q;
  q.Open(path);
  EXPECT_EQ(q.Read("a.xml"), "<changed/>");
  EXPECT_EQ(q.Read("c.xml"), "<c/>");
  EXPECT_EQ(q.Read("dir/b.bin"), big);
  EXPECT_FALSE(q.Contains("nope"));
}

TEST(ZipPackage, HostileOrBrokenPackagesAreRefusedWithTheirCause) {
  TScratch dir;
  // A part of 64 MiB of zeros packs to about 64 KiB: far past any document's ratio.
  const QString bomb = dir.Path("bomb.zip");
  {
    TZipPackage p;
    p.Write("zeros.xml", QByteArray(64 << 20, '\0'));
    p.SaveAs(bomb);
  }
  // A part above the size limit, and parts that pass the total limit together.
  const QString plain = dir.Path("plain.zip");
  {
    TZipPackage p;
    QByteArray noise(3 << 20, '\0');
    quint32 x = 1;
    for (char& c : noise) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    p.Write("one.bin", noise);
    p.Write("two.bin", noise);
    p.SaveAs(plain);
  }
  WriteAll(dir.Path("text.zip"), "this is no archive");
  const struct { const char* Name; QString File; TZipLimits Limits; const char* Part; const char* Says; } cases[] = {
      {"zip bomb", bomb, {}, "zeros.xml", "inflates more than 250 times"},
      {"part too large", plain, {qint64(2) << 20, qint64(1) << 30, 250, qint64(1) << 20}, "one.bin", "larger than 2097152"},
      {"parts too large together", plain, {qint64(4) << 20, qint64(5) << 20, 250, qint64(1) << 20}, "two.bin",
       "larger than 5242880 bytes together"},
      {"missing part", plain, {}, "three.bin", "the part three.bin is missing"},
      {"not an archive", dir.Path("text.zip"), {}, "x", "cannot be read as a package"},
      {"no file", dir.Path("none.zip"), {}, "x", "cannot be read as a package"},
  };
  for (const auto& c : cases) {
    const QString message = Raised([&] {
      TZipPackage p;
      p.Limits = c.Limits;
      p.Open(c.File);
      if (QLatin1String(c.Part) == QLatin1String("two.bin")) p.Read("one.bin");
      p.Read(c.Part);
    });
    EXPECT_TRUE(message.contains(QLatin1String(c.Says))) << c.Name << ": " << message.toStdString();
    EXPECT_TRUE(message.startsWith(c.File)) << c.Name << ": the message names the file";
  }
}

// A part whose packed bytes were changed is refused as damaged, whether read whole or piece by piece, and never
// handed out as other bytes: a changed byte that still inflates is caught by the checksum.
TEST(ZipPackage, DamagedPartsAreRefusedNotReadAsOtherBytes) {
  TScratch dir;
  QByteArray text;
  for (int i = 0; i < 20000; ++i) text += "<row r=\"" + QByteArray::number(i * 7919 % 100003) + "\"/>\n";
  {
    TZipPackage p;
    p.Write("sheet.xml", text);
    p.SaveAs(dir.Path("good.zip"));
  }
  const QByteArray good = ReadAll(dir.Path("good.zip"));
  // The checksum stands in the local header (offset 14) and in the central directory entry (offset 16).
  const qsizetype local = good.indexOf("PK\x03\x04"), central = good.indexOf("PK\x01\x02");
  ASSERT_TRUE(local >= 0 && central > local);
  QByteArray badSum = good;
  for (qsizetype at : {local + 14, central + 16}) badSum[at] = static_cast<char>(badSum[at] ^ 0x5A);
  QByteArray badData = good;
  const qsizetype data = local + 30 + 9;  // past the header and the part's name
  for (qsizetype at = data + 200; at < data + 220; ++at) badData[at] = static_cast<char>(badData[at] ^ 0x21);
  auto streamed = [](TZipPackage& P) {
    const std::unique_ptr<TPartReader> r = P.OpenPart("sheet.xml");
    QByteArray out(1 << 12, '\0');
    while (r->Read(out.data(), out.size()) > 0) {
    }
  };
  for (const auto& [name, bytes] : {std::pair{"checksum", badSum}, std::pair{"data", badData}}) {
    WriteAll(dir.Path("bad.zip"), bytes);
    for (bool whole : {true, false}) {
      const QString message = Raised([&] {
        TZipPackage p;
        p.Open(dir.Path("bad.zip"));
        whole ? void(p.Read("sheet.xml")) : streamed(p);
      });
      EXPECT_TRUE(message.contains(QLatin1String("the part sheet.xml is damaged"))) << name << ": " << message.toStdString();
    }
  }
  TZipPackage p;
  p.Open(dir.Path("good.zip"));
  EXPECT_EQ(p.Read("sheet.xml"), text);
}

TEST(ZipPackage, FailedSaveRaisesAndLeavesTheOldFileWhole) {
  TScratch dir;
  TZipPackage p;
  p.Write("a.xml", "<a/>");
  const QString message = Raised([&] { p.SaveAs(dir.Path("missing/folder/p.zip")); });
  EXPECT_TRUE(message.contains(QLatin1String("cannot be written"))) << message.toStdString();

  // A folder standing where the file should go cannot be replaced; it stays, and nothing is left beside it.
  QDir(dir.Path("")).mkpath("taken.zip/inside");
  EXPECT_TRUE(Raised([&] { p.SaveAs(dir.Path("taken.zip")); }).contains(QLatin1String("cannot be written")));
  EXPECT_TRUE(QFileInfo(dir.Path("taken.zip/inside")).isDir());
  EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"taken.zip"});
}

}  // namespace
}  // namespace grid::office
