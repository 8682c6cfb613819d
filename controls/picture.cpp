#include "controls/picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include "controls/jpeg_codec.h"
#include "controls/png_decoder.h"
#include "platform/graphics/canvas.h"
#include "platform/io/files.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

using namespace plat;

namespace controls {

namespace {

uint16_t Le16(const QByteArray& d, qsizetype at) {
  return uint16_t(uchar(d[at]) | (uchar(d[at + 1]) << 8));
}

// A graphic control extension (21 F9 04, five more bytes) followed by an image descriptor (2C and eight bytes
// of position and size) that lie wholly inside the data.
bool IsFrameStart(const QByteArray& d, qsizetype j) {
  return j + 17 <= d.size() && uchar(d[j]) == 0x21 && uchar(d[j + 1]) == 0xF9 && uchar(d[j + 2]) == 4 &&
         uchar(d[j + 8]) == 0x2C;
}

QImage DecodeWithReader(const QByteArray& data, const char* format) {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
                         qint64(size.width()) * size.height() > kMaxPicturePixels))
    return QImage();
  QImage image;
  if (!reader.read(&image)) return QImage();
  return image;
}

// The icon directory must describe images that lie inside the data.
bool IconDirectoryInside(const QByteArray& d) {
  if (d.size() < 6) return false;
  const int count = Le16(d, 4);
  const qsizetype table = 6 + 16 * qsizetype(count);
  if (count == 0 || table > d.size()) return false;
  for (int i = 0; i < count; ++i) {
    const qsizetype e = 6 + 16 * qsizetype(i);
    const qint64 size = qint64(Le16(d, e + 8)) | (qint64(Le16(d, e + 10)) << 16);
    const qint64 offset = qint64(Le16(d, e + 12)) | (qint64(Le16(d, e + 14)) << 16);
    if (size <= 0 || offset < table || offset + size > d.size()) return false;
  }
  return true;
}

// The bitmap's pixel data must start inside the data, after its headers.
bool BitmapHeadersInside(const QByteArray& d) {
  if (d.size() < 18) return false;
  const qint64 offset = qint64(Le16(d, 10)) | (qint64(Le16(d, 12)) << 16);
  const qint64 info = qint64(Le16(d, 14)) | (qint64(Le16(d, 16)) << 16);
  return info >= 12 && 14 + info <= d.size() && offset >= 14 + info && offset < d.size();
}

QByteArray ReadPictureFile(const QString& path, bool& ok) {
  // Only regular files of a picture's size: a device or a huge file is never read.
  QByteArray data;
  ok = plat::ReadFileBytes(path, data, nullptr, kMaxPictureFileSize);
  return data;
}

}  // namespace

// ---- THTMLPicture ------------------------------------------------------------------------------------------

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Reset() {
  FIsEmpty = true;
  gpPicture = QImage();
  FFrameCount = -1;
  FNextCount = -1;
  FTimerCount = -1;
}

void THTMLPicture::Assign(TPersistent* Source) {
  Reset();
  SetFrame(1);
  if (Source == nullptr) {
    FDatastream.clear();
    return;
  }
  auto* src = dynamic_cast<THTMLPicture*>(Source);
  if (!src) return;
  FDatastream = src->FDatastream;
  FIsEmpty = false;
  try {
    DecodePictureData();
  } catch (const Exception&) {
    Reset();
    return;
  }
  Changed();
}

std::unique_ptr<TGraphic> THTMLPicture::Clone() const {
  auto copy = std::make_unique<THTMLPicture>();
  copy->Assign(const_cast<THTMLPicture*>(this));
  copy->FStretched = FStretched;
  copy->FID = FID;
  return copy;
}

int THTMLPicture::GetMaxWidth() const {
  if (gpPicture.isNull()) return 0;
  return FAnimMaxX != 0 ? FAnimMaxX : Width();
}

int THTMLPicture::GetMaxHeight() const {
  if (gpPicture.isNull()) return 0;
  return FAnimMaxY != 0 ? FAnimMaxY : Height();
}

void THTMLPicture::Draw(TCanvas& canvas, const TRect& r) {
  if (FIsEmpty || gpPicture.isNull()) return;
  QPainter* p = canvas.Painter();
  if (!p) return;
  const TRect dest = FStretched ? r : Bounds(r.Left, r.Top, Width(), Height());
  if (dest.IsEmpty()) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(ToQRect(dest), gpPicture);
}

void THTMLPicture::SetData(const QByteArray& data) {
  Reset();
  FDatastream = data;
  FIsEmpty = false;
  try {
    DecodePictureData();
  } catch (const Exception&) {
    Reset();
    throw;
  }
}

void THTMLPicture::LoadFromBytes(const QByteArray& data) {
  SetData(data);
  Changed();
}

void THTMLPicture::LoadFromFile(const QString& FileName) {
  bool ok = false;
  const QByteArray data = ReadPictureFile(FileName, ok);
  if (!ok) {
    Reset();
    return;
  }
  try {
    LoadFromBytes(data);
  } catch (const Exception&) {
    Reset();
  }
}

void THTMLPicture::LoadFromStream(QIODevice* Stream) {
  if (!Stream) return;
  LoadFromBytes(Stream->readAll());
}

void THTMLPicture::ReadData(QIODevice* Stream) {
  if (!Stream) return;
  SetData(Stream->readAll());
}

void THTMLPicture::SaveToStream(QIODevice* Stream) const {
  if (Stream) Stream->write(FDatastream);
}

void THTMLPicture::LoadFromResourceName(const QString& ResName) {
  const QString path = QStringLiteral(":/") + ResName;
  if (ResName.isEmpty() || !QFile::exists(path)) return;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return;
  LoadFromStream(&f);
}

void THTMLPicture::LoadFromResourceID(int ResID) { LoadFromResourceName(QString::number(ResID)); }

void THTMLPicture::LoadFromURL(const QString& URL) {
  const QString upper = UpperCase(URL);
  if (upper.startsWith(QStringLiteral("RES://"))) {
    FID = URL;
    LoadFromResourceName(URL.mid(6));
  } else if (upper.startsWith(QStringLiteral("FILE://"))) {
    FID = URL;
    LoadFromFile(URL.mid(7));
  } else if (!FAsynch) {
    FURL = URL;
    FID = URL;
  } else if (!FThreadBusy) {
    // Remote pictures are not fetched; the picture stays empty and busy, as a download that never ends.
    FURL = URL;
    FThreadBusy = true;
  }
}

bool THTMLPicture::IsGIF() const { return FDatastream.size() >= 5 && FDatastream.startsWith("GIF8"); }

std::vector<qsizetype> THTMLPicture::FrameStarts() const {
  std::vector<qsizetype> starts;
  for (qsizetype j = 0; j + 17 <= FDatastream.size(); ++j)
    if (IsFrameStart(FDatastream, j)) starts.push_back(j);
  return starts;
}

int THTMLPicture::FrameCount() {
  if (!IsGIF()) return -1;
  if (FFrameCount < 0) FFrameCount = int(FrameStarts().size());
  return FFrameCount;
}

int THTMLPicture::GetFrameTime(int i) const {
  if (!IsGIF() || i < 1) return -1;
  const auto starts = FrameStarts();
  if (i > int(starts.size())) return -1;
  return Le16(FDatastream, starts[i - 1] + 4);
}

void THTMLPicture::SetFrame(int Value) {
  FFrame = Value;
  if (FDatastream.isEmpty()) return;
  try {
    DecodePictureData();
  } catch (const Exception&) {
    Reset();
  }
  if (OnFrameChange) OnFrameChange(this);
}

void THTMLPicture::FrameNext() { FFrame = FFrame < FrameCount() ? FFrame + 1 : 1; }

void THTMLPicture::FramePrev() { FFrame = FFrame > 1 ? FFrame - 1 : FrameCount(); }

bool THTMLPicture::Step() {
  if (FrameCount() < 2 || FIsEmpty) return false;
  bool changed = false;
  if (10 * FTimerCount >= FNextCount) {
    FrameNext();
    try {
      DecodePictureData();
    } catch (const Exception&) {
      Reset();
      return true;
    }
    FNextCount += GetFrameTime(FFrame);
    changed = true;
  }
  ++FTimerCount;
  return changed;
}

void THTMLPicture::DecodePictureData() {
  FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
  FAnimMaxX = FAnimMaxY = 0;
  gpPicture = QImage();
  if (FDatastream.isEmpty()) throw Exception(QStringLiteral("Empty image stream created"));

  QByteArray bytes = FDatastream;
  bool frameSelected = false;
  if (IsGIF() && FrameCount() > 0) {
    if (FDatastream.size() < 10) throw Exception(QStringLiteral("Could not load image. Invalid format"));
    FAnimMaxX = Le16(FDatastream, 6);
    FAnimMaxY = Le16(FDatastream, 8);
    // Copy the header and the frames from the selected one on, so the decoder's first frame is that one.
    const auto starts = FrameStarts();
    QByteArray kept;
    kept.reserve(FDatastream.size());
    kept.append(FDatastream.constData(), starts.front());
    int counter = 1;
    for (size_t k = 0; k < starts.size(); ++k) {
      const qsizetype j = starts[k];
      const qsizetype next = k + 1 < starts.size() ? starts[k + 1] : FDatastream.size();
      if (counter == FFrame) {
        FFrameXPos = Le16(FDatastream, j + 9);
        FFrameYPos = Le16(FDatastream, j + 11);
        FFrameXSize = Le16(FDatastream, j + 13);
        FFrameYSize = Le16(FDatastream, j + 15);
        frameSelected = true;
      }
      ++counter;
      if (FFrame < counter) kept.append(FDatastream.constData() + j, next - j);
    }
    bytes = kept;
  }

  QImage image;
  const QString format = DetectGraphicFormat(bytes);
  if (format == QLatin1String("PNG")) {
    DecodePng(bytes, image);
  } else if (format == QLatin1String("JPEG")) {
    DecodeJpeg(bytes, image);
  } else if (format == QLatin1String("GIF")) {
    image = DecodeWithReader(bytes, "gif");
  } else if (format == QLatin1String("BMP")) {
    if (BitmapHeadersInside(bytes)) image = DecodeWithReader(bytes, "bmp");
  } else if (format == QLatin1String("ICO")) {
    if (IconDirectoryInside(bytes)) image = DecodeWithReader(bytes, "ico");
  }
  if (image.isNull()) throw Exception(QStringLiteral("Could not load image. Invalid format"));
  if (frameSelected) {
    // The decoder paints the frame on the logical screen; the picture is the frame itself.
    const QRect frame = QRect(FFrameXPos, FFrameYPos, FFrameXSize, FFrameYSize).intersected(image.rect());
    if (!frame.isEmpty() && frame != image.rect()) image = image.copy(frame);
  }
  gpPicture = image.format() == QImage::Format_ARGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
}

// ---- THTMLPictureCache -------------------------------------------------------------------------------------

THTMLPicture* THTMLPictureCache::AddPicture() {
  FItems.push_back(new THTMLPicture());
  return FItems.back();
}

THTMLPicture* THTMLPictureCache::FindPicture(const QString& ID) const {
  for (THTMLPicture* p : FItems)
    if (p->ID() == ID) return p;
  return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return FItems[size_t(Index)];
}

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Picture) {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  FItems[size_t(Index)] = Picture;
}

void THTMLPictureCache::ClearPictures() {
  for (THTMLPicture* p : FItems) delete p;
  FItems.clear();
}

bool THTMLPictureCache::Animate() {
  bool any = false;
  for (THTMLPicture* p : FItems)
    if (p && p->Step()) any = true;
  return any;
}

// ---- collection and container ------------------------------------------------------------------------------

TPictureItem::TPictureItem(TCollection* Collection) : TCollectionItem(Collection), FPicture(new THTMLPicture()) {}

TPictureItem::~TPictureItem() { delete FPicture; }

void TPictureItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TPictureItem*>(Source);
  if (!src) throw EInvalidCast(QStringLiteral("Invalid class typecast"));
  FName = src->FName;
  FTag = src->FTag;
  FPicture->Assign(src->FPicture);
}

TPictureCollection::TPictureCollection(TComponent* AOwner) : TOwnedCollection(AOwner, ItemClassOf<TPictureItem>()) {}

bool TPictureCollection::Animate() {
  bool any = false;
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->Picture()->Step()) any = true;
  return any;
}

TPictureContainer::TPictureContainer(TComponent* AOwner) : TComponent(AOwner), FItems(new TPictureCollection(this)) {}

TPictureContainer::~TPictureContainer() { delete FItems; }

THTMLPicture* TPictureContainer::FindPicture(const QString& Name) const {
  const QString wanted = UpperCase(Name);
  for (int i = 0; i < FItems->Count(); ++i)
    if (UpperCase(FItems->GetItem(i)->Name()) == wanted) return FItems->GetItem(i)->Picture();
  return nullptr;
}

}  // namespace controls
