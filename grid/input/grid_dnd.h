#pragma once
// Drag and drop of texts, cells and columns between grids and other programs, on Qt's drag and drop.
//
// The formats keep their names and byte layouts and travel as MIME types (plat::MimeTypeOfClipboardFormat):
// plain and Unicode text as text/plain, "Rich Text Format" as text/rtf, "Grid Column" as 4 bytes (the column
// index, signed 32-bit little-endian), "TExtStringGrid Cells" as a 32-bit little-endian payload length N, four
// zero bytes and N bytes of cells; files and URLs as text/uri-list. Everything dropped is read with bounds
// checks: a block too short for its layout, or a length beyond its block, counts as absent.
//
// TEnumFormats reads what a drag offers; TESGDropTarget decides whether a drag may drop and hands each
// offered payload to its virtuals; TESGDropSource follows the drag loop; TSourceDataObject is what a drag
// offers, and RunTextDragDrop / RunColumnDragDrop run the drag loop through a seam that tests replace.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

#include "platform/rtl/sets.h"

class QMimeData;
class QObject;
class QWidget;

namespace grid {

// Clipboard format names.
inline constexpr const char* kFormatText = "CF_TEXT";
inline constexpr const char* kFormatUnicodeText = "CF_UNICODETEXT";
inline constexpr const char* kFormatRTF = "Rich Text Format";
inline constexpr const char* kFormatColumn = "Grid Column";
inline constexpr const char* kFormatCells = "TExtStringGrid Cells";
inline constexpr const char* kFormatURL = "UniformResourceLocator";

// Drop effects.
inline constexpr int DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4;
// Answers of the protocol.
enum class TDragResult { S_OK, S_FALSE, DV_E_FORMATETC, E_NOTIMPL, OLE_E_ADVISENOTSUPPORTED, DRAGDROP_S_DROP,
                         DRAGDROP_S_CANCEL, DRAGDROP_S_USEDEFAULTCURSORS };

enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
using TDropFormats = plat::TSet<TDropFormat, 7>;

// RTF is neither accepted nor offered while this is off (the start); one switch for the whole program.
void SetRTFDropEnabled(bool Value);
bool RTFDropEnabled();
// Copy with Ctrl held; otherwise move when allowed; otherwise copy.
int DropEffectFromKeys(bool CtrlHeld, int Allowed);

// The block of a cells drag: length, four zero bytes, payload.
QByteArray CellsBlock(const QByteArray& Payload);
// The payload of a cells block; nothing when the block is shorter than its header or its length says more
// than it holds.
std::optional<QByteArray> CellsPayload(const QByteArray& Block);

class TEnumFormats {
 public:
  explicit TEnumFormats(const QMimeData* Data) : FData(Data) {}

  bool HasText() const;
  bool HasRTF() const;
  bool HasCol() const;
  bool HasURL() const;
  bool HasGridCells() const;
  bool HasFile() const;
  QString Text() const;
  QString RTF() const;
  // The link: the first offered link that is no local file, else the offered text.
  QString URL() const;
  // -1 when absent or shorter than 4 bytes.
  int Col() const;
  std::optional<QByteArray> Stream() const;
  // The local files offered; true when there was at least one.
  bool GetDroppedFiles();
  const QStringList& Files() const { return FFiles; }

 private:
  const QMimeData* FData;
  QStringList FFiles;
};

// What a drag offers: a text (with its RTF form), a stream of cells (not owned) or a column.
class TSourceDataObject {
 public:
  TSourceDataObject(const QString& Text, const QByteArray* Stream, int Column, const QString& RTF)
      : textdata(Text), rtfdata(RTF), scolidx(Column), memstr(Stream) {}

  // S_OK for the formats there is data for, DV_E_FORMATETC otherwise.
  TDragResult QueryGetData(const QString& Format) const;
  // The block of a format in its layout (CF_TEXT: the ANSI text and a zero byte; CF_UNICODETEXT: UTF-16 and
  // a zero character; RTF: ANSI and a zero byte; column: 4 bytes; cells: N + 8 bytes).
  TDragResult GetData(const QString& Format, QByteArray& Medium) const;
  // The formats in their order: CF_TEXT, CF_UNICODETEXT, RTF, then the column and the cells when present.
  QStringList Formats() const;
  // The same as MIME data for Qt's drag.
  std::unique_ptr<QMimeData> ToMimeData() const;

  QString textdata, rtfdata;
  int scolidx = -1;
  const QByteArray* memstr = nullptr;
};

class TSourceEnumFormatEtc {
 public:
  TSourceEnumFormatEtc(bool HasCol, bool HasGridCells) : FHasCol(HasCol), FHasGridCells(HasGridCells) {}
  // Up to Count entries from the current place; S_OK when all came, else S_FALSE.
  TDragResult Next(int Count, QStringList& Out, int* Fetched);
  TDragResult Skip(int Count);
  TDragResult Reset();
  std::unique_ptr<TSourceEnumFormatEtc> Clone() const;

 private:
  QStringList List() const;
  int FIndex = 0;
  bool FHasCol, FHasGridCells;
};

class TESGDropTarget {
 public:
  virtual ~TESGDropTarget();

  // pt: the point in the target's client coordinates; Effect in: the allowed effects, out: the answer.
  TDragResult DragEnter(const QMimeData* Data, bool CtrlHeld, QPoint pt, int& Effect);
  TDragResult DragOver(bool CtrlHeld, QPoint pt, int& Effect);
  TDragResult DragLeave();
  TDragResult Drop(const QMimeData* Data, bool CtrlHeld, QPoint pt, int& Effect);

  // Takes the drag events of a widget (the grid's window) while it lives.
  void Attach(QWidget* Widget);

  bool AcceptText = true, AcceptFiles = true, AcceptCols = false, AcceptURLs = true;
  TDropFormats DropFormats() const { return FDropFormats; }
  bool Ok() const { return FOk; }

 protected:
  virtual void DropText(QPoint pt, const QString& Text) { (void)pt, (void)Text; }
  virtual void DropStream(QPoint pt, const QByteArray& Stream) { (void)pt, (void)Stream; }
  virtual void DropCol(QPoint pt, int Col) { (void)pt, (void)Col; }
  virtual void DropRTF(QPoint pt, const QString& RTF) { (void)pt, (void)RTF; }
  virtual void DropFiles(QPoint pt, const QStringList& Files) { (void)pt, (void)Files; }
  virtual void DropURL(QPoint pt, const QString& URL) { (void)pt, (void)URL; }
  virtual void DragMouseMove(QPoint pt, bool& Allow, TDropFormats DropFormats) { (void)pt, (void)Allow, (void)DropFormats; }
  virtual void DragMouseEnter() {}
  virtual void DragMouseLeave() {}
  // A drop handler that took nothing calls this: the drop then answers no effect, so that a source does not
  // take a refused move for done and remove what it dragged.
  void RefuseDrop() { FRefused = true; }

 private:
  void ReadOffer(const TEnumFormats& Formats);
  bool FOk = false, FRefused = false;
  TDropFormats FDropFormats;
  QObject* FFilter = nullptr;
};

class TESGDropSource {
 public:
  virtual ~TESGDropSource() = default;
  TDragResult QueryContinueDrag(bool EscapePressed, bool LeftButtonDown);
  TDragResult GiveFeedback(int Effect);
  bool NoAccept() const { return FNoAccept; }
  // The picture that follows the pointer while the drag runs (none when null); HotSpot is the pointer's place
  // in it.
  void SetDragImage(const QImage& Image, QPoint HotSpot) { FDragImage = Image, FHotSpot = HotSpot; }
  const QImage& DragImage() const { return FDragImage; }
  QPoint DragHotSpot() const { return FHotSpot; }

 protected:
  virtual void DragStopped() {}
  virtual void CurrentEffect(int Effect) { (void)Effect; }
  virtual void QueryDrag() {}

 private:
  bool FNoAccept = false;
  QImage FDragImage;
  QPoint FHotSpot;
};

// Runs one drag of Data: shows the source's drag image, calls the source's QueryContinueDrag (every 30 ms) and
// GiveFeedback as the drag goes and answers
// DRAGDROP_S_DROP or DRAGDROP_S_CANCEL with the performed effect.
class IDragLoop {
 public:
  virtual ~IDragLoop() = default;
  virtual TDragResult Run(const TSourceDataObject& Data, TESGDropSource& Source, int OkEffects, int& Effect) = 0;
};
// The loop in force (Qt's drag by default); tests set their own and put back nullptr.
void SetDragLoop(IDragLoop* Loop);

TDragResult RunTextDragDrop(TESGDropSource& DropSource, const QString& Text, const QString& RTF, int& Effect,
                            int OkEffects, const QByteArray* Stream);
TDragResult RunColumnDragDrop(TESGDropSource& DropSource, int Column, int OkEffects, int& Effect);

}  // namespace grid
