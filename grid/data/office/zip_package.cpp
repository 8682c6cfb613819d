#include "grid/data/office/zip_package.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "grid/griderror.h"

namespace grid::office {

namespace {

QString ErrorText(int Code) {
  zip_error_t e;
  zip_error_init_with_code(&e, Code);
  const QString text = QString::fromUtf8(zip_error_strerror(&e));
  zip_error_fini(&e);
  return text;
}

QString ErrorText(zip_error_t* E) { return QString::fromUtf8(zip_error_strerror(E)); }

[[noreturn]] void Fail(const QString& Name, const QString& Why) {
  throw EExtGridError(QStringLiteral("%1: %2").arg(Name, Why));
}

// The archive's entry names that are parts (folders are not).
QStringList EntryNames(zip_t* Archive) {
  QStringList names;
  const zip_int64_t n = zip_get_num_entries(Archive, 0);
  for (zip_int64_t i = 0; i < n; ++i) {
    const char* name = zip_get_name(Archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
    if (name && *name && name[std::strlen(name) - 1] != '/') names.append(QString::fromUtf8(name));
  }
  return names;
}

}  // namespace

TZipPackage::TZipPackage() = default;

TZipPackage::~TZipPackage() { Close(); }

void TZipPackage::Close() {
  if (FSource) zip_discard(FSource);
  FSource = nullptr;
  FSourceBytes.clear();
  FOrder.clear();
  FChanged.clear();
  FTotalRead = 0;
}

void TZipPackage::OpenSource(zip_t* Archive, const QString& Name) {
  FSource = Archive;
  FName = Name;
  FOrder = EntryNames(Archive);
}

void TZipPackage::Open(const QString& FileName) {
  Close();
  int code = 0;
  zip_t* archive = zip_open(FileName.toUtf8().constData(), ZIP_RDONLY, &code);
  if (!archive) Fail(FileName, QStringLiteral("cannot be read as a package (%1)").arg(ErrorText(code)));
  OpenSource(archive, FileName);
}

void TZipPackage::OpenBytes(const QByteArray& Data, const QString& Name) {
  Close();
  FSourceBytes = Data;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(FSourceBytes.constData(),
                                                  static_cast<zip_uint64_t>(FSourceBytes.size()), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  if (!archive) {
    const QString why = ErrorText(&error);
    if (source) zip_source_free(source);
    zip_error_fini(&error);
    FSourceBytes.clear();
    Fail(Name, QStringLiteral("cannot be read as a package (%1)").arg(why));
  }
  zip_error_fini(&error);
  OpenSource(archive, Name);
}

bool TZipPackage::Contains(const QString& Part) const {
  const auto it = FChanged.find(Part);
  if (it != FChanged.end()) return it->second.has_value();
  return FOrder.contains(Part);
}

QStringList TZipPackage::Parts() const {
  QStringList parts;
  for (const QString& p : FOrder)
    if (Contains(p)) parts.append(p);
  return parts;
}

namespace {

// A part read from the archive: every piece is checked against the limits as it arrives, so that a part
// claiming less than it holds is stopped at the limit all the same. A deflated part is inflated here in large
// pieces straight into the reader's buffer (the zip library's own inflating goes through small buffers and
// copies), with its checksum checked at its end as the zip library would.
class TZipPartReader final : public TPartReader {
 public:
  struct TRaw {
    bool Deflated = false;
    quint32 Crc = 0;
    bool HasCrc = false;
  };

  TZipPartReader(zip_file_t* File, const TZipLimits& Limits, qint64 Packed, qint64 Claimed, QString Package,
                 QString Part, qint64& TotalRead, TRaw Raw)
      : FFile(File, zip_fclose), FLimits(Limits), FPacked(Packed), FClaimed(Claimed), FPackage(std::move(Package)),
        FPart(std::move(Part)), FTotalRead(TotalRead), FRaw(Raw) {
    Check(Claimed);
    if (FRaw.Deflated) {
      FZ = std::make_unique<z_stream>();
      *FZ = z_stream{};
      if (inflateInit2(FZ.get(), -MAX_WBITS) != Z_OK) Damaged(QStringLiteral("no memory to inflate it"));
      FIn.resize(1 << 16);
    }
  }

  ~TZipPartReader() override {
    if (FZ) inflateEnd(FZ.get());
  }

  qsizetype Read(char* Out, qsizetype Max) override {
    qsizetype done = 0;
    while (done < Max) {
      const qsizetype n = FRaw.Deflated ? Inflate(Out + done, Max - done) : Stored(Out + done, Max - done);
      if (n == 0) break;
      done += n;
      FRead += n;
      FTotalRead += n;
      Check(FRead);
    }
    return done;
  }

  qint64 ClaimedSize() const override { return FClaimed; }

 private:
  [[noreturn]] void Damaged(const QString& Why) const {
    Fail(FPackage, QStringLiteral("the part %1 is damaged (%2)").arg(FPart, Why));
  }

  qsizetype Stored(char* Out, qsizetype Max) {
    const zip_int64_t n = zip_fread(FFile.get(), Out, static_cast<zip_uint64_t>(Max));
    if (n < 0) Damaged(QString::fromUtf8(zip_file_strerror(FFile.get())));
    return static_cast<qsizetype>(n);
  }

  qsizetype Inflate(char* Out, qsizetype Max) {
    if (FEnded) return 0;
    z_stream& z = *FZ;
    z.next_out = reinterpret_cast<Bytef*>(Out);
    z.avail_out = static_cast<uInt>(std::min<qsizetype>(Max, qsizetype(1) << 30));
    const uInt room = z.avail_out;
    while (z.avail_out > 0) {
      if (z.avail_in == 0 && !FInEnded) {
        const zip_int64_t n = zip_fread(FFile.get(), FIn.data(), FIn.size());
        if (n < 0) Damaged(QString::fromUtf8(zip_file_strerror(FFile.get())));
        FInEnded = n == 0;
        z.next_in = reinterpret_cast<Bytef*>(FIn.data());
        z.avail_in = static_cast<uInt>(n);
      }
      const int r = inflate(&z, Z_NO_FLUSH);
      if (r == Z_STREAM_END) {
        FEnded = true;
        break;
      }
      if (r == Z_BUF_ERROR && FInEnded && z.avail_in == 0) Damaged(QStringLiteral("its data ends too early"));
      if (r != Z_OK && r != Z_BUF_ERROR) Damaged(QString::fromUtf8(z.msg ? z.msg : "it does not inflate"));
    }
    const qsizetype produced = static_cast<qsizetype>(room - z.avail_out);
    FCrc = crc32_z(FCrc, reinterpret_cast<const Bytef*>(Out), static_cast<z_size_t>(produced));
    if (FEnded && FRaw.HasCrc && FCrc != FRaw.Crc) Damaged(QStringLiteral("its checksum does not match"));
    return produced;
  }

  void Check(qint64 Size) const {
    if (Size > FLimits.MaxPartSize)
      Fail(FPackage, QStringLiteral("the part %1 is larger than %2 bytes").arg(FPart).arg(FLimits.MaxPartSize));
    if (Size > FLimits.RatioFloor && Size > std::max<qint64>(FPacked, 1) * FLimits.MaxRatio)
      Fail(FPackage, QStringLiteral("the part %1 inflates more than %2 times its packed size").arg(FPart).arg(FLimits.MaxRatio));
    if (FTotalRead + (Size - FRead) > FLimits.MaxTotalSize)
      Fail(FPackage, QStringLiteral("the parts are larger than %1 bytes together").arg(FLimits.MaxTotalSize));
  }

  std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> FFile;
  const TZipLimits FLimits;
  const qint64 FPacked, FClaimed;
  const QString FPackage, FPart;
  qint64& FTotalRead;
  qint64 FRead = 0;
  const TRaw FRaw;
  std::unique_ptr<z_stream> FZ;
  std::vector<char> FIn;
  bool FInEnded = false, FEnded = false;
  uLong FCrc = crc32_z(0, nullptr, 0);
};

}  // namespace

qsizetype TBytesPartReader::Read(char* Out, qsizetype Max) {
  const qsizetype n = std::min<qsizetype>(Max, FData.size() - FAt);
  if (n > 0) std::memcpy(Out, FData.constData() + FAt, static_cast<size_t>(n));
  FAt += n;
  return n;
}

std::unique_ptr<TPartReader> TZipPackage::OpenPart(const QString& Part) {
  const auto it = FChanged.find(Part);
  if (it != FChanged.end() && it->second) return std::make_unique<TBytesPartReader>(*it->second);
  const zip_int64_t index =
      FSource && it == FChanged.end() ? zip_name_locate(FSource, Part.toUtf8().constData(), ZIP_FL_ENC_GUESS) : -1;
  if (index < 0) Fail(FName, QStringLiteral("the part %1 is missing").arg(Part));
  zip_stat_t st;
  if (zip_stat_index(FSource, static_cast<zip_uint64_t>(index), 0, &st) != 0)
    Fail(FName, QStringLiteral("the part %1 cannot be read (%2)").arg(Part, QString::fromUtf8(zip_strerror(FSource))));
  const qint64 packed = (st.valid & ZIP_STAT_COMP_SIZE) ? static_cast<qint64>(st.comp_size) : 0;
  const qint64 claimed = (st.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(st.size) : 0;
  // A deflated part that is not encrypted is inflated by the reader itself; anything else the zip library reads.
  TZipPartReader::TRaw raw;
  const bool plain = !(st.valid & ZIP_STAT_ENCRYPTION_METHOD) || st.encryption_method == ZIP_EM_NONE;
  raw.Deflated = plain && (st.valid & ZIP_STAT_COMP_METHOD) && st.comp_method == ZIP_CM_DEFLATE;
  raw.HasCrc = (st.valid & ZIP_STAT_CRC) != 0;
  raw.Crc = st.crc;
  zip_file_t* file = zip_fopen_index(FSource, static_cast<zip_uint64_t>(index), raw.Deflated ? ZIP_FL_COMPRESSED : 0);
  if (!file)
    Fail(FName, QStringLiteral("the part %1 cannot be read (%2)").arg(Part, QString::fromUtf8(zip_strerror(FSource))));
  return std::make_unique<TZipPartReader>(file, Limits, packed, claimed, FName, Part, FTotalRead, raw);
}

QByteArray TZipPackage::Read(const QString& Part) {
  const auto it = FChanged.find(Part);
  if (it != FChanged.end() && it->second) return *it->second;
  const std::unique_ptr<TPartReader> reader = OpenPart(Part);
  QByteArray data;
  // The claim is only a hint, bounded by the limits the reader checked it against.
  data.reserve(static_cast<qsizetype>(reader->ClaimedSize()));
  constexpr qsizetype chunk = 1 << 16;
  for (;;) {
    const qsizetype at = data.size();
    data.resize(at + chunk);
    const qsizetype n = reader->Read(data.data() + at, chunk);
    data.resize(at + n);
    if (n < chunk) break;
  }
  return data;
}

void TZipPackage::Write(const QString& Part, const QByteArray& Data) {
  if (!FOrder.contains(Part)) FOrder.append(Part);
  FChanged[Part] = Data;
}

void TZipPackage::Remove(const QString& Part) { FChanged[Part] = std::nullopt; }

void TZipPackage::SaveAs(const QString& FileName) {
  int code = 0;
  // libzip writes the archive to a temporary file beside the target at zip_close and renames it over the
  // target only when everything was written.
  zip_t* out = zip_open(FileName.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!out) Fail(FileName, QStringLiteral("cannot be written (%1)").arg(ErrorText(code)));
  auto fail = [&](const QString& Why) {
    zip_discard(out);
    Fail(FileName, QStringLiteral("cannot be written (%1)").arg(Why));
  };
  for (const QString& part : FOrder) {
    const auto it = FChanged.find(part);
    zip_source_t* source = nullptr;
    bool changed = it != FChanged.end();
    if (changed && !it->second) continue;
    if (changed) {
      source = zip_source_buffer(out, it->second->constData(), static_cast<zip_uint64_t>(it->second->size()), 0);
    } else {
      const zip_int64_t index = zip_name_locate(FSource, part.toUtf8().constData(), ZIP_FL_ENC_GUESS);
      if (index < 0) continue;
      source = zip_source_zip(out, FSource, static_cast<zip_uint64_t>(index), 0, 0, -1);
    }
    if (!source) fail(QString::fromUtf8(zip_strerror(out)));
    const zip_int64_t added = zip_file_add(out, part.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (added < 0) {
      zip_source_free(source);
      fail(QString::fromUtf8(zip_strerror(out)));
    }
    if (changed && CompressionLevel > 0)
      zip_set_file_compression(out, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE,
                               static_cast<zip_uint32_t>(CompressionLevel));
  }
  if (zip_close(out) != 0) fail(QString::fromUtf8(zip_strerror(out)));
}

}  // namespace grid::office
