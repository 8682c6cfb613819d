#include "platform/rtl/streams.h"

#include <QSaveFile>

#include <algorithm>
#include <cstring>

#include "platform/rtl/exceptions.h"

namespace plat {

// ---- TStream -------------------------------------------------------------------------------------------------

TStream::~TStream() = default;

void TStream::SeekError() { throw EStreamError(QStringLiteral("Stream seek error")); }

int64_t TStream::Size() {
  const int64_t pos = Seek(0, soFromCurrent);
  const int64_t size = Seek(0, soFromEnd);
  Seek(pos, soFromBeginning);
  return size;
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(QStringLiteral("Stream write error"));
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  const int64_t total = Count;
  char buf[64 * 1024];
  while (Count > 0) {
    const int64_t n = std::min<int64_t>(Count, sizeof buf);
    Source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    Count -= n;
  }
  return total;
}

namespace {

template <class U>
U ReadLE(TStream& S) {
  unsigned char b[sizeof(U)];
  S.ReadBuffer(b, sizeof(U));
  U v = 0;
  for (std::size_t i = sizeof(U); i-- > 0;) v = static_cast<U>((v << 8) | b[i]);
  return v;
}

template <class U>
void WriteLE(TStream& S, U V) {
  unsigned char b[sizeof(U)];
  for (std::size_t i = 0; i < sizeof(U); ++i) b[i] = static_cast<unsigned char>(V >> (8 * i));
  S.WriteBuffer(b, sizeof(U));
}

}  // namespace

uint8_t TStream::ReadU8() { return ReadLE<uint8_t>(*this); }
int8_t TStream::ReadI8() { return static_cast<int8_t>(ReadU8()); }
uint16_t TStream::ReadU16LE() { return ReadLE<uint16_t>(*this); }
int16_t TStream::ReadI16LE() { return static_cast<int16_t>(ReadU16LE()); }
uint32_t TStream::ReadU32LE() { return ReadLE<uint32_t>(*this); }
int32_t TStream::ReadI32LE() { return static_cast<int32_t>(ReadU32LE()); }
uint64_t TStream::ReadU64LE() { return ReadLE<uint64_t>(*this); }
int64_t TStream::ReadI64LE() { return static_cast<int64_t>(ReadU64LE()); }
void TStream::WriteU8(uint8_t V) { WriteLE(*this, V); }
void TStream::WriteU16LE(uint16_t V) { WriteLE(*this, V); }
void TStream::WriteU32LE(uint32_t V) { WriteLE(*this, V); }
void TStream::WriteU64LE(uint64_t V) { WriteLE(*this, V); }

QByteArray TStream::ReadBytes(int64_t Count) {
  if (Count <= 0) return {};
  // Never allocate more than the data can hold: a corrupt length field must not exhaust memory.
  const int64_t avail = Size() - Position();
  if (Count > avail) throw EReadError(QStringLiteral("Stream read error"));
  QByteArray b(static_cast<qsizetype>(Count), Qt::Uninitialized);
  ReadBuffer(b.data(), Count);
  return b;
}

// ---- TMemoryStream -------------------------------------------------------------------------------------------

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0 || FPosition >= FData.size()) return 0;
  const int64_t n = std::min<int64_t>(Count, FData.size() - FPosition);
  std::memcpy(Buffer, FData.constData() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  const int64_t end = FPosition + Count;
  if (end > FData.size()) SetSize(end);
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int64_t base = Origin == soFromBeginning ? 0 : Origin == soFromCurrent ? FPosition : FData.size();
  if (base + Offset < 0) SeekError();
  FPosition = base + Offset;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  const qsizetype old = FData.size();
  FData.resize(static_cast<qsizetype>(NewSize));
  if (NewSize > old) std::memset(FData.data() + old, 0, static_cast<size_t>(NewSize - old));
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  const int64_t n = Stream.Size();
  QByteArray data(static_cast<qsizetype>(n), Qt::Uninitialized);
  Stream.ReadBuffer(data.data(), n);
  FData = data;
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream) const { Stream.WriteBuffer(FData.constData(), FData.size()); }

void TMemoryStream::LoadFromFile(const QString& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const QString& FileName) const {
  QSaveFile f(FileName);
  // Flushed before the commit: a write the disk refuses shows here, where the commit could publish a short file.
  if (!f.open(QIODevice::WriteOnly) || f.write(FData) != FData.size() || !f.flush() || !f.commit())
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

// ---- TFileStream ---------------------------------------------------------------------------------------------

TFileStream::TFileStream(const QString& FileName, uint16_t Mode) : FFileName(FileName), FFile(FileName) {
  if (Mode == fmCreate) {
    if (!FFile.open(QIODevice::ReadWrite | QIODevice::Truncate))
      throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, FFile.errorString()));
    return;
  }
  QIODevice::OpenMode m;
  switch (Mode & 0x000F) {
    case fmOpenWrite: m = QIODevice::WriteOnly | QIODevice::ExistingOnly; break;
    case fmOpenReadWrite: m = QIODevice::ReadWrite | QIODevice::ExistingOnly; break;
    default: m = QIODevice::ReadOnly; break;
  }
  if (!FFile.open(m))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, FFile.errorString()));
}

TFileStream::~TFileStream() = default;

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  const qint64 n = FFile.read(static_cast<char*>(Buffer), Count);
  return n < 0 ? 0 : n;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  const qint64 n = FFile.write(static_cast<const char*>(Buffer), Count);
  return n < 0 ? 0 : n;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int64_t base = Origin == soFromBeginning ? 0 : Origin == soFromCurrent ? FFile.pos() : FFile.size();
  if (base + Offset < 0 || !FFile.seek(base + Offset)) SeekError();
  return FFile.pos();
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0 || !FFile.resize(NewSize))
    throw EWriteError(QStringLiteral("Stream write error"));
  if (FFile.pos() > NewSize) FFile.seek(NewSize);
}

// ---- TStringStream -------------------------------------------------------------------------------------------

QString TStringStream::ReadString(int64_t Count) {
  const int64_t n = std::clamp<int64_t>(Count, 0, std::max<int64_t>(0, FData.size() - FPosition));
  if (n == 0) return QString();
  const QString s = QString::fromUtf8(FData.constData() + FPosition, static_cast<qsizetype>(n));
  FPosition += n;
  return s;
}

void TStringStream::WriteString(const QString& S) { WriteBytes(S.toUtf8()); }

}  // namespace plat
