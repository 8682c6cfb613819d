#pragma once
// A package of parts (a zip archive), the container of the office documents the grid exchanges.
//
// Reading is bounded: a part that claims or inflates past MaxPartSize, a part that inflates past MaxRatio times
// its stored size (a zip bomb), or parts that together pass MaxTotalSize are refused with EExtGridError naming
// the part; reading stops at the limit whatever the archive claims, so memory stays bounded.
// Writing is whole and atomic: SaveAs writes every part to a temporary file beside the target, which then
// replaces the target, so a failed save leaves the old file as it was. Parts that were not changed are copied
// from the opened archive as they are.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>

struct zip;

namespace grid::office {

// One part read piece by piece, inflated as it is read, under the package's limits.
class TPartReader {
 public:
  virtual ~TPartReader() = default;
  // Fills Out with up to Max bytes of the part (fewer only at its end); 0 at the end. EExtGridError when the
  // part is damaged or passes a limit.
  virtual qsizetype Read(char* Out, qsizetype Max) = 0;
  // The size the package claims for the part (0 when it claims none); a hint only.
  virtual qint64 ClaimedSize() const = 0;
};

// A part held in memory.
class TBytesPartReader final : public TPartReader {
 public:
  explicit TBytesPartReader(QByteArray Data) : FData(std::move(Data)) {}
  qsizetype Read(char* Out, qsizetype Max) override;
  qint64 ClaimedSize() const override { return FData.size(); }

 private:
  QByteArray FData;
  qsizetype FAt = 0;
};

struct TZipLimits {
  qint64 MaxPartSize = qint64(256) << 20;
  qint64 MaxTotalSize = qint64(1) << 30;
  // Deflate packs real documents at most a few hundred to one; far beyond that is a bomb. Small parts (below
  // RatioFloor) are left alone: a few kilobytes of repeated bytes legitimately pack to almost nothing.
  qint64 MaxRatio = 250;
  qint64 RatioFloor = qint64(1) << 20;
};

class TZipPackage {
 public:
  TZipPackage();
  ~TZipPackage();
  TZipPackage(const TZipPackage&) = delete;
  TZipPackage& operator=(const TZipPackage&) = delete;

  // Opens a package file (or one held in memory) for reading and changing; EExtGridError naming the file and
  // the cause when it is missing or not a zip archive.
  void Open(const QString& FileName);
  void OpenBytes(const QByteArray& Data, const QString& Name = QStringLiteral("package"));

  bool Contains(const QString& Part) const;
  // The part names in archive order (changed parts where they were, added parts at the end).
  QStringList Parts() const;
  // The part's bytes; EExtGridError when it is missing, too large or packed past the ratio.
  QByteArray Read(const QString& Part);
  // The same part as a reader that inflates it piece by piece, so that a large part is never held whole. The
  // reader must not outlive the package.
  std::unique_ptr<TPartReader> OpenPart(const QString& Part);
  // Adds the part or replaces its bytes.
  void Write(const QString& Part, const QByteArray& Data);
  void Remove(const QString& Part);
  // Writes the whole package to FileName atomically; EExtGridError naming the file and the cause.
  void SaveAs(const QString& FileName);

  TZipLimits Limits;
  // Deflate level of written parts (1 fastest .. 9 smallest; 0 the zip library's default, which is 9). The
  // usual level 6 packs a sheet nearly as small at a fraction of the time.
  int CompressionLevel = 6;

 private:
  void OpenSource(struct zip* Archive, const QString& Name);
  void Close();

  struct zip* FSource = nullptr;
  QByteArray FSourceBytes;  // an archive opened from memory reads from here
  QString FName;
  QStringList FOrder;
  // Parts written since opening (nullopt: removed).
  std::map<QString, std::optional<QByteArray>> FChanged;
  qint64 FTotalRead = 0;
};

}  // namespace grid::office
