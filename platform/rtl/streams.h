#pragma once
// Byte streams: TStream (abstract), TMemoryStream, TFileStream (over QFile) and TStringStream (UTF-8 text),
// with little-endian readers and writers for the binary formats. ReadBuffer/WriteBuffer and the typed
// readers raise EReadError "Stream read error" / EWriteError "Stream write error" when fewer bytes move.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>

namespace plat {

enum class TSeekOrigin { soFromBeginning, soFromCurrent, soFromEnd };
using enum TSeekOrigin;

class TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream();

  // Bytes actually moved (fewer at the end of the data, 0 for Count <= 0).
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // New position. A position before the start raises EStreamError "Stream seek error"; past the end is allowed
  // (a write there fills the gap with zeros).
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soFromBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize) = 0;

  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source's position; Count 0 copies all of Source from its start. Returns the count.
  int64_t CopyFrom(TStream& Source, int64_t Count);

  uint8_t ReadU8();
  int8_t ReadI8();
  uint16_t ReadU16LE();
  int16_t ReadI16LE();
  uint32_t ReadU32LE();
  int32_t ReadI32LE();
  uint64_t ReadU64LE();
  int64_t ReadI64LE();
  QByteArray ReadBytes(int64_t Count);
  void WriteU8(uint8_t V);
  void WriteI8(int8_t V) { WriteU8(static_cast<uint8_t>(V)); }
  void WriteU16LE(uint16_t V);
  void WriteI16LE(int16_t V) { WriteU16LE(static_cast<uint16_t>(V)); }
  void WriteU32LE(uint32_t V);
  void WriteI32LE(int32_t V) { WriteU32LE(static_cast<uint32_t>(V)); }
  void WriteU64LE(uint64_t V);
  void WriteI64LE(int64_t V) { WriteU64LE(static_cast<uint64_t>(V)); }
  void WriteBytes(const QByteArray& Bytes) { WriteBuffer(Bytes.constData(), Bytes.size()); }

 protected:
  [[noreturn]] static void SeekError();
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(const QByteArray& Data) : FData(Data) {}

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return FData.size(); }
  void SetSize(int64_t NewSize) override;
  void Clear();

  const QByteArray& Bytes() const { return FData; }
  const char* Memory() const { return FData.constData(); }
  // Replaces the content with the whole of Stream (from its start), position 0.
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  // EFOpenError when the file cannot be read.
  void LoadFromFile(const QString& FileName);
  // Written atomically; EFCreateError when it cannot be written.
  void SaveToFile(const QString& FileName) const;

 protected:
  QByteArray FData;
  int64_t FPosition = 0;
};

// Open modes. fmCreate creates or truncates the file and opens it for reading and writing. The share flags
// are accepted and ignored.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

class TFileStream : public TStream {
 public:
  // EFCreateError "Cannot create file "name". reason" / EFOpenError "Cannot open file "name". reason".
  TFileStream(const QString& FileName, uint16_t Mode);
  ~TFileStream() override;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return FFile.size(); }
  void SetSize(int64_t NewSize) override;
  const QString& FileName() const { return FFileName; }

 private:
  QString FFileName;
  QFile FFile;
};

// A memory stream holding text as UTF-8.
class TStringStream : public TMemoryStream {
 public:
  explicit TStringStream(const QString& Data = QString()) : TMemoryStream(Data.toUtf8()) {}
  QString DataString() const { return QString::fromUtf8(FData); }
  // Count bytes from the position, decoded as UTF-8.
  QString ReadString(int64_t Count);
  void WriteString(const QString& S);
};

}  // namespace plat
