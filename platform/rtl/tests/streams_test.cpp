#include "platform/rtl/streams.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/rtl/exceptions.h"
#include "printers.h"

using namespace plat;

TEST(Stream, LittleEndianRoundTrip) {
  TMemoryStream m;
  m.WriteU8(0xAB);
  m.WriteU16LE(0x1234);
  m.WriteU32LE(0xDEADBEEF);
  m.WriteI32LE(-2);
  m.WriteI16LE(-300);
  m.WriteU64LE(0x0102030405060708ull);
  EXPECT_EQ(m.Bytes(), QByteArray::fromHex("ab" "3412" "efbeadde" "feffffff" "d4fe" "0807060504030201"));
  m.SetPosition(0);
  EXPECT_EQ(m.ReadU8(), 0xAB);
  EXPECT_EQ(m.ReadU16LE(), 0x1234);
  EXPECT_EQ(m.ReadU32LE(), 0xDEADBEEFu);
  EXPECT_EQ(m.ReadI32LE(), -2);
  EXPECT_EQ(m.ReadI16LE(), -300);
  EXPECT_EQ(m.ReadI64LE(), 0x0102030405060708LL);
  EXPECT_EQ(m.Position(), m.Size());
}

TEST(Stream, ReadingPastTheEnd) {
  TMemoryStream m(QByteArray("\x01\x02\x03", 3));
  char buf[8];
  m.SetPosition(1);
  EXPECT_EQ(m.Read(buf, 8), 2);  // a plain read stops at the end
  EXPECT_EQ(m.Read(buf, 8), 0);
  m.SetPosition(2);
  try {
    m.ReadU16LE();
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), QString("Stream read error"));
  }
  m.SetPosition(10);
  EXPECT_EQ(m.Read(buf, 1), 0);
  EXPECT_THROW(m.ReadU8(), EReadError);
  m.SetPosition(0);
  EXPECT_THROW(m.ReadBytes(1LL << 40), EReadError);  // a corrupt length does not allocate
  EXPECT_EQ(m.ReadBytes(3), QByteArray("\x01\x02\x03", 3));
  EXPECT_THROW(m.Seek(-1, soFromBeginning), EStreamError);
  EXPECT_EQ(m.Seek(-1, soFromEnd), 2);
  EXPECT_EQ(m.Seek(-1, soFromCurrent), 1);
}

TEST(Stream, WritingPastTheEndFillsZerosAndSizeTruncates) {
  TMemoryStream m;
  m.SetPosition(3);
  m.WriteU8(9);
  EXPECT_EQ(m.Bytes(), QByteArray("\0\0\0\x09", 4));
  m.SetSize(2);
  EXPECT_EQ(m.Size(), 2);
  EXPECT_EQ(m.Position(), 2);
  TMemoryStream copy;
  m.SetPosition(1);
  EXPECT_EQ(copy.CopyFrom(m, 0), 2);  // 0 = all of it from the start
  EXPECT_EQ(copy.Size(), 2);
  m.SetPosition(0);
  EXPECT_THROW(copy.CopyFrom(m, 5), EReadError);
}

TEST(Stream, FilesAndModes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("data.bin");
  {
    TFileStream f(path, fmCreate);
    f.WriteU32LE(0x01020304);
    f.WriteBytes("tail");
    EXPECT_EQ(f.Size(), 8);
  }
  {
    TFileStream f(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(f.ReadU32LE(), 0x01020304u);
    EXPECT_EQ(f.ReadBytes(4), QByteArray("tail"));
    EXPECT_THROW(f.ReadU8(), EReadError);
    EXPECT_THROW(f.WriteU8(1), EWriteError);  // opened for reading only
  }
  {
    TFileStream f(path, fmOpenReadWrite);
    f.Seek(0, soFromEnd);
    f.WriteU8(0x21);
    f.SetSize(6);
  }
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(m.Bytes(), QByteArray("\x04\x03\x02\x01ta", 6));
  m.WriteU8(7);
  m.SaveToFile(path);
  TMemoryStream back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.Bytes(), QByteArray("\x07\x03\x02\x01ta", 6));

  try {
    TFileStream f(dir.filePath("missing.bin"), fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_TRUE(e.Message().startsWith("Cannot open file \"" + dir.filePath("missing.bin") + "\". "));
  }
  EXPECT_THROW(TFileStream(dir.filePath("missing.bin"), fmOpenWrite), EFOpenError);  // does not create
  EXPECT_THROW(TFileStream(dir.filePath("no/dir/x.bin"), fmCreate), EFCreateError);
  EXPECT_THROW(m.SaveToFile(dir.filePath("no/dir/x.bin")), EFCreateError);
}

TEST(Stream, StringStreamIsUtf8) {
  TStringStream s(QString::fromUtf8("Größe"));
  EXPECT_EQ(s.Size(), 7);
  EXPECT_EQ(s.ReadString(4), QString::fromUtf8("Gr\u00f6"));  // bytes, not characters
  s.Seek(0, soFromEnd);
  s.WriteString(" ok");
  EXPECT_EQ(s.DataString(), QString::fromUtf8("Größe ok"));
  EXPECT_EQ(s.ReadString(100), QString());
}
