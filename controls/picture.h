#pragma once
// Pictures that HTML-formatted text refers to: THTMLPicture holds the raw bytes of a BMP, JPEG, GIF, ICO or PNG
// file and decodes them (selecting one frame of an animated GIF, with its timing); THTMLPictureCache is the list
// of pictures the renderer loads by URL; TPictureContainer a component with named pictures.
//
// Decoding never reads past the data: a truncated or hostile file is refused and the picture stays empty.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/graphics/graphic.h"
#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"
#include "platform/rtl/events.h"

class QIODevice;

namespace controls {

using TDownloadProgressEvent = std::function<void(plat::TObject* Sender, uint32_t dwSize, uint32_t dwTotSize)>;
using TDownloadCancelEvent = std::function<void(plat::TObject* Sender, bool& Cancel)>;
using TDownloadCompleteEvent = std::function<void(plat::TObject* Sender)>;
using TDownloadErrorEvent = std::function<void(plat::TObject* Sender, const QString& err)>;

// Files larger than this are not loaded as pictures.
constexpr qint64 kMaxPictureFileSize = 16 * 1024 * 1024;

class THTMLPicture : public plat::TGraphic {
  PLAT_CLASS(THTMLPicture)

  THTMLPicture();
  ~THTMLPicture() override;

  // No source: the data is cleared. A THTMLPicture: its data is copied and decoded. Others are ignored.
  void Assign(plat::TPersistent* Source) override;
  std::unique_ptr<plat::TGraphic> Clone() const override;

  bool Empty() const override { return FIsEmpty; }
  // Size of the decoded picture (for a GIF frame: the frame's size); 0 while nothing is decoded.
  int Width() const override { return gpPicture.width(); }
  int Height() const override { return gpPicture.height(); }
  // The GIF logical screen size when it was read, else Width and Height.
  int GetMaxWidth() const;
  int GetMaxHeight() const;

  // Stretch: fills r; otherwise drawn at r's top-left corner in its own size. Nothing while empty.
  void Draw(plat::TCanvas& canvas, const plat::TRect& r) override;
  QImage ToImage() const override { return gpPicture; }
  const QImage& Image() const { return gpPicture; }

  // Loads the bytes and decodes them; raises plat::Exception when they do not decode (the picture is then
  // empty). OnChange fires after a successful load.
  void LoadFromBytes(const QByteArray& data) override;
  QByteArray SaveToBytes() const override { return FDatastream; }
  // Any failure (missing, not a regular file, larger than kMaxPictureFileSize, not a picture) leaves the
  // picture empty without an error.
  void LoadFromFile(const QString& FileName);
  // Nothing for no stream; raises when the bytes do not decode.
  void LoadFromStream(QIODevice* Stream);
  void SaveToStream(QIODevice* Stream) const;
  // Stored-data streaming: like LoadFromStream without the event.
  void ReadData(QIODevice* Stream);
  void WriteData(QIODevice* Stream) const { SaveToStream(Stream); }
  // A resource of the program (":/<ResName>"); nothing when there is none.
  void LoadFromResourceName(const QString& ResName);
  void LoadFromResourceID(int ResID);
  // "RES://name" and "FILE://path" load (prefixes in any letter case); other URLs are never fetched.
  void LoadFromURL(const QString& URL);
  void LoadFromClipboardFormat() {}
  void SaveToClipboardFormat() const {}

  bool IsGIF() const;
  // -1 for data that is not GIF; otherwise the number of frame starts.
  int FrameCount();
  // Delay of frame i (1-based) in 1/100 s; -1 when not GIF or there is no frame i.
  int GetFrameTime(int i) const;
  int Frame() const { return FFrame; }
  // Re-decodes the data for that frame and fires OnFrameChange when there is data.
  void SetFrame(int Value);
  void FrameNext();
  void FramePrev();
  // Advances the animation by one tick of 1/10 s; true when the shown frame changed.
  bool Step();
  int FrameXPos() const { return FFrameXPos; }
  int FrameYPos() const { return FFrameYPos; }

  bool Stretch() const { return FStretched; }
  void SetStretch(bool Value) { FStretched = Value; }
  QString ID() const { return FID; }
  void SetID(const QString& Value) { FID = Value; }
  QString URL() const { return FURL; }
  bool IsDB() const { return FIsDB; }
  void SetIsDB(bool Value) { FIsDB = Value; }
  bool Asynch() const { return FAsynch; }
  void SetAsynch(bool Value) { FAsynch = Value; }
  bool Busy() const { return FThreadBusy; }

  plat::TNotifyEvent OnFrameChange;
  TDownloadProgressEvent OnDownLoadProgress;
  TDownloadCancelEvent OnDownLoadCancel;
  TDownloadCompleteEvent OnDownLoadComplete;
  TDownloadErrorEvent OnDownLoadError;

 private:
  // Offsets of the frame starts: a graphic control extension followed by an image descriptor, whole.
  std::vector<qsizetype> FrameStarts() const;
  void SetData(const QByteArray& data);
  void DecodePictureData();
  void Reset();

  QByteArray FDatastream;
  bool FIsEmpty = true;
  bool FStretched = false;
  QImage gpPicture;
  QString FURL;
  QString FID;
  bool FIsDB = false;
  bool FAsynch = true;
  bool FThreadBusy = false;
  int FFrame = 1;
  int FFrameCount = -1;
  uint16_t FFrameXPos = 0, FFrameYPos = 0, FFrameXSize = 0, FFrameYSize = 0;
  uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
  int FNextCount = -1;
  int FTimerCount = -1;
};

// Owns its pictures.
class THTMLPictureCache {
 public:
  THTMLPictureCache() = default;
  THTMLPictureCache(const THTMLPictureCache&) = delete;
  THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;
  ~THTMLPictureCache() { ClearPictures(); }

  int Count() const { return int(FItems.size()); }
  THTMLPicture* AddPicture();
  // Exact, case-sensitive ID.
  THTMLPicture* FindPicture(const QString& ID) const;
  THTMLPicture* GetPicture(int Index) const;
  // The old item is not freed: the caller takes it back.
  void SetPicture(int Index, THTMLPicture* Picture);
  void ClearPictures();
  bool Animate();

 private:
  std::vector<THTMLPicture*> FItems;
};

class TPictureItem : public plat::TCollectionItem {
  PLAT_CLASS(TPictureItem)

  explicit TPictureItem(plat::TCollection* Collection);
  ~TPictureItem() override;
  // Raises plat::EInvalidCast for anything but a TPictureItem.
  void Assign(plat::TPersistent* Source) override;

  THTMLPicture* Picture() const { return FPicture; }
  void SetPicture(THTMLPicture* Value) { FPicture->Assign(Value); }
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  QString Name() const { return FName; }
  void SetName(const QString& Value) { FName = Value; }

 private:
  THTMLPicture* FPicture;
  int FTag = 0;
  QString FName;
};

class TPictureCollection : public plat::TOwnedCollection {
  PLAT_CLASS(TPictureCollection)

  explicit TPictureCollection(plat::TComponent* AOwner);
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
  TPictureItem* Insert(int Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
  TPictureItem* GetItem(int Index) const { return static_cast<TPictureItem*>(Items(Index)); }
  void SetItem(int Index, TPictureItem* Value) { GetItem(Index)->Assign(Value); }
  bool Animate();
};

class TPictureContainer : public plat::TComponent {
  PLAT_CLASS(TPictureContainer)

  explicit TPictureContainer(plat::TComponent* AOwner);
  ~TPictureContainer() override;

  TPictureCollection* Items() const { return FItems; }
  // Copies the given items; the container keeps its own collection.
  void SetItems(TPictureCollection* Value) { FItems->Assign(Value); }
  // The picture of the first item named Name, letter case ignored; nullptr when none.
  virtual THTMLPicture* FindPicture(const QString& Name) const;

 private:
  TPictureCollection* FItems;
};

}  // namespace controls
