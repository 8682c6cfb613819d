#include "grid/input/grid_dnd.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QStringDecoder>
#include <QPixmap>
#include <QStringEncoder>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstring>

#include "platform/forms/clipboard.h"

namespace grid {

using R = TDragResult;

namespace {

bool GRTFDropEnabled = false;
IDragLoop* GDragLoop = nullptr;

QString Mime(const char* Format) { return plat::MimeTypeOfClipboardFormat(QString::fromLatin1(Format)); }

// The system's ANSI code page of the described platform.
QByteArray Ansi(const QString& S) {
  QStringEncoder enc("windows-1252");
  return enc.isValid() ? QByteArray(enc(S)) : S.toLatin1();
}

QString FromAnsi(const QByteArray& B) {
  QStringDecoder dec("windows-1252");
  return dec.isValid() ? QString(dec(B)) : QString::fromLatin1(B);
}

// Up to the first zero byte (a block need not have one).
QByteArray UpToZero(const QByteArray& B) {
  const qsizetype z = B.indexOf('\0');
  return z < 0 ? B : B.left(z);
}

std::uint32_t U32(const char* p) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(p[i])) << (8 * i);
  return v;
}

QByteArray LE32(std::uint32_t v) {
  QByteArray b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = char(v >> (8 * i));
  return b;
}

bool HasUrls(const QMimeData* D, bool Local) {
  if (!D || !D->hasUrls()) return false;
  for (const QUrl& u : D->urls())
    if (u.isLocalFile() == Local) return true;
  return false;
}

}  // namespace

void SetRTFDropEnabled(bool Value) { GRTFDropEnabled = Value; }
bool RTFDropEnabled() { return GRTFDropEnabled; }

int DropEffectFromKeys(bool CtrlHeld, int Allowed) {
  if (CtrlHeld) return DROPEFFECT_COPY;
  return (Allowed & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

QByteArray CellsBlock(const QByteArray& Payload) {
  return LE32(std::uint32_t(Payload.size())) + QByteArray(4, '\0') + Payload;
}

std::optional<QByteArray> CellsPayload(const QByteArray& Block) {
  if (Block.size() < 8) return std::nullopt;
  const std::uint64_t n = U32(Block.constData());
  if (n > std::uint64_t(Block.size() - 8)) return std::nullopt;
  return Block.mid(8, qsizetype(n));
}

// ---------------------------------------------------------------- reading an offer

bool TEnumFormats::HasText() const { return FData && FData->hasText(); }
bool TEnumFormats::HasRTF() const { return FData && FData->hasFormat(Mime(kFormatRTF)); }
bool TEnumFormats::HasCol() const { return FData && FData->hasFormat(Mime(kFormatColumn)); }
bool TEnumFormats::HasURL() const { return HasUrls(FData, false) || (FData && FData->hasFormat(Mime(kFormatURL))); }
bool TEnumFormats::HasGridCells() const { return FData && FData->hasFormat(Mime(kFormatCells)); }
bool TEnumFormats::HasFile() const { return HasUrls(FData, true); }

QString TEnumFormats::Text() const { return HasText() ? FData->text() : QString(); }

// A link list's text holds the files too, so the link itself comes from the list when there is one.
QString TEnumFormats::URL() const {
  if (FData && FData->hasUrls())
    for (const QUrl& u : FData->urls())
      if (!u.isLocalFile()) return u.toString();
  return Text();
}

QString TEnumFormats::RTF() const { return HasRTF() ? FromAnsi(UpToZero(FData->data(Mime(kFormatRTF)))) : QString(); }

int TEnumFormats::Col() const {
  if (!HasCol()) return -1;
  const QByteArray b = FData->data(Mime(kFormatColumn));
  return b.size() < 4 ? -1 : std::int32_t(U32(b.constData()));
}

std::optional<QByteArray> TEnumFormats::Stream() const {
  if (!HasGridCells()) return std::nullopt;
  return CellsPayload(FData->data(Mime(kFormatCells)));
}

bool TEnumFormats::GetDroppedFiles() {
  FFiles.clear();
  if (FData && FData->hasUrls())
    for (const QUrl& u : FData->urls())
      if (u.isLocalFile() && !u.toLocalFile().isEmpty()) FFiles << u.toLocalFile();
  return !FFiles.isEmpty();
}

// ---------------------------------------------------------------- what a drag offers

TDragResult TSourceDataObject::QueryGetData(const QString& Format) const {
  const bool text = !textdata.isEmpty();
  if ((Format == kFormatText || Format == kFormatUnicodeText) && text) return R::S_OK;
  if (Format == kFormatRTF && text && GRTFDropEnabled) return R::S_OK;
  if (Format == kFormatCells && memstr) return R::S_OK;
  if (Format == kFormatColumn && scolidx != -1) return R::S_OK;
  return R::DV_E_FORMATETC;
}

TDragResult TSourceDataObject::GetData(const QString& Format, QByteArray& Medium) const {
  Medium.clear();
  if (QueryGetData(Format) != R::S_OK) return R::DV_E_FORMATETC;
  if (Format == kFormatText) {
    Medium = Ansi(textdata) + '\0';
  } else if (Format == kFormatUnicodeText) {
    Medium.resize(2 * textdata.size() + 2);
    for (qsizetype i = 0; i < textdata.size(); ++i) {
      Medium[2 * i] = char(textdata[i].unicode() & 0xFF);
      Medium[2 * i + 1] = char(textdata[i].unicode() >> 8);
    }
    Medium[Medium.size() - 2] = Medium[Medium.size() - 1] = '\0';
  } else if (Format == kFormatRTF) {
    Medium = Ansi(rtfdata) + '\0';
  } else if (Format == kFormatColumn) {
    Medium = LE32(std::uint32_t(scolidx));
  } else {
    Medium = CellsBlock(*memstr);
  }
  return R::S_OK;
}

QStringList TSourceDataObject::Formats() const {
  QStringList l{kFormatText, kFormatUnicodeText, kFormatRTF};
  if (scolidx != -1) l << kFormatColumn;
  if (memstr) l << kFormatCells;
  return l;
}

std::unique_ptr<QMimeData> TSourceDataObject::ToMimeData() const {
  auto m = std::make_unique<QMimeData>();
  QByteArray block;
  if (QueryGetData(kFormatUnicodeText) == R::S_OK) m->setText(textdata);
  if (GetData(kFormatRTF, block) == R::S_OK) m->setData(Mime(kFormatRTF), block);
  if (GetData(kFormatColumn, block) == R::S_OK) m->setData(Mime(kFormatColumn), block);
  if (GetData(kFormatCells, block) == R::S_OK) m->setData(Mime(kFormatCells), block);
  return m;
}

QStringList TSourceEnumFormatEtc::List() const {
  QStringList l{kFormatText, kFormatUnicodeText, kFormatRTF};
  if (FHasCol) l << kFormatColumn;
  if (FHasGridCells) l << kFormatCells;
  return l;
}

TDragResult TSourceEnumFormatEtc::Next(int Count, QStringList& Out, int* Fetched) {
  const QStringList l = List();
  int n = 0;
  while (n < Count && FIndex < l.size()) Out << l[FIndex++], ++n;
  if (Fetched) *Fetched = n;
  return n == Count ? R::S_OK : R::S_FALSE;
}

TDragResult TSourceEnumFormatEtc::Skip(int Count) {
  const int size = int(List().size());
  FIndex += Count;
  if (FIndex > size) {
    FIndex = size;
    return R::S_FALSE;
  }
  return R::S_OK;
}

TDragResult TSourceEnumFormatEtc::Reset() {
  FIndex = 0;
  return R::S_OK;
}

std::unique_ptr<TSourceEnumFormatEtc> TSourceEnumFormatEtc::Clone() const {
  auto c = std::make_unique<TSourceEnumFormatEtc>(FHasCol, FHasGridCells);
  c->FIndex = FIndex;
  return c;
}

// ---------------------------------------------------------------- the drop target

namespace {

// Qt's drag events in, the target's protocol calls out.
class TDropFilter : public QObject {
 public:
  TDropFilter(QObject* Parent, TESGDropTarget& Target) : QObject(Parent), FTarget(Target) {}

 protected:
  bool eventFilter(QObject* Watched, QEvent* E) override {
    switch (E->type()) {
      case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(E);
        int effect = Effects(e->possibleActions());
        FTarget.DragEnter(e->mimeData(), e->modifiers() & Qt::ControlModifier, e->position().toPoint(), effect);
        Answer(e, effect);
        return true;
      }
      case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(E);
        int effect = Effects(e->possibleActions());
        FTarget.DragOver(e->modifiers() & Qt::ControlModifier, e->position().toPoint(), effect);
        Answer(e, effect);
        return true;
      }
      case QEvent::DragLeave:
        FTarget.DragLeave();
        return true;
      case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(E);
        int effect = Effects(e->possibleActions());
        FTarget.Drop(e->mimeData(), e->modifiers() & Qt::ControlModifier, e->position().toPoint(), effect);
        Answer(e, effect);
        return true;
      }
      default:
        return QObject::eventFilter(Watched, E);
    }
  }

 private:
  static int Effects(Qt::DropActions A) {
    return (A & Qt::CopyAction ? DROPEFFECT_COPY : 0) | (A & Qt::MoveAction ? DROPEFFECT_MOVE : 0) |
           (A & Qt::LinkAction ? DROPEFFECT_LINK : 0);
  }
  static void Answer(QDropEvent* e, int Effect) {
    if (Effect == DROPEFFECT_NONE) {
      e->ignore();
      return;
    }
    e->setDropAction(Effect & DROPEFFECT_MOVE ? Qt::MoveAction : Effect & DROPEFFECT_LINK ? Qt::LinkAction : Qt::CopyAction);
    e->accept();
  }
  TESGDropTarget& FTarget;
};

}  // namespace

TESGDropTarget::~TESGDropTarget() { delete FFilter; }

void TESGDropTarget::Attach(QWidget* Widget) {
  delete FFilter;
  Widget->setAcceptDrops(true);
  FFilter = new TDropFilter(Widget, *this);
  Widget->installEventFilter(FFilter);
}

void TESGDropTarget::ReadOffer(const TEnumFormats& F) {
  FDropFormats = {};
  const bool text = F.HasText(), files = F.HasFile(), rtf = F.HasRTF(), col = F.HasCol(), url = F.HasURL();
  const bool cells = F.HasGridCells();
  if (text) FDropFormats.Include(dfText);
  if (files) FDropFormats.Include(dfFile);
  if (col) FDropFormats.Include(dfCol);
  if (rtf) FDropFormats.Include(dfRTF);
  if (url) FDropFormats.Include(dfURL);
  if (cells) FDropFormats.Include(dfGridCells);
  FOk = (text && AcceptText) || (files && AcceptFiles) || (rtf && GRTFDropEnabled && AcceptText) ||
        (col && AcceptCols) || (url && AcceptURLs) || cells;
}

TDragResult TESGDropTarget::DragEnter(const QMimeData* Data, bool CtrlHeld, QPoint pt, int& Effect) {
  (void)pt;
  ReadOffer(TEnumFormats(Data));
  Effect = FOk ? DropEffectFromKeys(CtrlHeld, Effect) : DROPEFFECT_NONE;
  DragMouseEnter();
  return R::S_OK;
}

TDragResult TESGDropTarget::DragOver(bool CtrlHeld, QPoint pt, int& Effect) {
  Effect = FOk ? DropEffectFromKeys(CtrlHeld, Effect) : DROPEFFECT_NONE;
  bool allow = Effect != DROPEFFECT_NONE;
  DragMouseMove(pt, allow, FDropFormats);
  if (!allow) Effect = DROPEFFECT_NONE;
  return R::S_OK;
}

TDragResult TESGDropTarget::DragLeave() {
  DragMouseLeave();
  return R::S_OK;
}

TDragResult TESGDropTarget::Drop(const QMimeData* Data, bool CtrlHeld, QPoint pt, int& Effect) {
  if (!FOk) {
    Effect = DROPEFFECT_NONE;
    return R::S_OK;
  }
  TEnumFormats f(Data);
  FRefused = false;
  if (f.HasCol()) {
    const int col = f.Col();
    if (col >= 0) DropCol(pt, col);
  } else {
    const std::optional<QByteArray> cells = f.HasGridCells() ? f.Stream() : std::nullopt;
    if (cells)
      DropStream(pt, *cells);
    else if (f.HasRTF() && GRTFDropEnabled)
      DropRTF(pt, f.RTF());
    else if (f.HasText())
      DropText(pt, f.Text());
    if (f.HasFile() && f.GetDroppedFiles()) DropFiles(pt, f.Files());
    if (f.HasURL()) DropURL(pt, f.URL());
  }
  Effect = FRefused ? DROPEFFECT_NONE : DropEffectFromKeys(CtrlHeld, Effect);
  return R::S_OK;
}

// ---------------------------------------------------------------- the drop source

TDragResult TESGDropSource::QueryContinueDrag(bool EscapePressed, bool LeftButtonDown) {
  QueryDrag();
  if (EscapePressed) {
    DragStopped();
    return R::DRAGDROP_S_CANCEL;
  }
  if (!LeftButtonDown) {
    DragStopped();
    return R::DRAGDROP_S_DROP;
  }
  return R::S_OK;
}

TDragResult TESGDropSource::GiveFeedback(int Effect) {
  FNoAccept = Effect == DROPEFFECT_NONE;
  CurrentEffect(Effect);
  return R::DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------- running a drag

namespace {

// Qt's own drag: the action Qt reports becomes the feedback, and a drag Qt reports as ignored is a cancel.
class TQtDragLoop : public IDragLoop {
 public:
  TDragResult Run(const TSourceDataObject& Data, TESGDropSource& Source, int OkEffects, int& Effect) override {
    auto* drag = new QDrag(static_cast<QObject*>(nullptr));
    drag->setMimeData(Data.ToMimeData().release());
    if (!Source.DragImage().isNull()) {
      drag->setPixmap(QPixmap::fromImage(Source.DragImage()));
      drag->setHotSpot(Source.DragHotSpot());
    }
    // The source follows the loop while it runs; Qt itself ends it on Escape or on the release.
    QTimer follow;
    QObject::connect(&follow, &QTimer::timeout, [&Source] { Source.QueryContinueDrag(false, true); });
    follow.start(30);
    QObject::connect(drag, &QDrag::actionChanged, [&Source](Qt::DropAction a) {
      Source.GiveFeedback(a == Qt::IgnoreAction ? DROPEFFECT_NONE : a == Qt::MoveAction ? DROPEFFECT_MOVE : DROPEFFECT_COPY);
    });
    Qt::DropActions allowed;
    if (OkEffects & DROPEFFECT_COPY) allowed |= Qt::CopyAction;
    if (OkEffects & DROPEFFECT_MOVE) allowed |= Qt::MoveAction;
    if (OkEffects & DROPEFFECT_LINK) allowed |= Qt::LinkAction;
    const Qt::DropAction done = drag->exec(allowed);
    drag->deleteLater();
    Effect = done == Qt::MoveAction ? DROPEFFECT_MOVE : done == Qt::CopyAction ? DROPEFFECT_COPY
             : done == Qt::LinkAction ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    Source.QueryContinueDrag(done == Qt::IgnoreAction, false);
    if (done == Qt::IgnoreAction) Source.GiveFeedback(DROPEFFECT_NONE);
    return done == Qt::IgnoreAction ? R::DRAGDROP_S_CANCEL : R::DRAGDROP_S_DROP;
  }
};

TDragResult RunLoop(const TSourceDataObject& Data, TESGDropSource& Source, int OkEffects, int& Effect) {
  TQtDragLoop qt;
  IDragLoop& loop = GDragLoop ? *GDragLoop : static_cast<IDragLoop&>(qt);
  const TDragResult r = loop.Run(Data, Source, OkEffects, Effect);
  // A drop on a target that refused it counts as cancelled.
  return Source.NoAccept() ? R::DRAGDROP_S_CANCEL : r;
}

}  // namespace

void SetDragLoop(IDragLoop* Loop) { GDragLoop = Loop; }

TDragResult RunTextDragDrop(TESGDropSource& DropSource, const QString& Text, const QString& RTF, int& Effect,
                            int OkEffects, const QByteArray* Stream) {
  const TSourceDataObject data(Text, Stream, -1, RTF);
  return RunLoop(data, DropSource, OkEffects, Effect);
}

TDragResult RunColumnDragDrop(TESGDropSource& DropSource, int Column, int OkEffects, int& Effect) {
  const TSourceDataObject data(QString(), nullptr, Column, QString());
  return RunLoop(data, DropSource, OkEffects, Effect);
}

}  // namespace grid
