#include "platform/forms/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace plat {

QString MimeTypeOfClipboardFormat(const QString& FormatName) {
  struct Pair {
    const char* name;
    const char* mime;
  };
  static const Pair table[] = {
      {"CF_TEXT", "text/plain"},
      {"CF_UNICODETEXT", "text/plain"},
      {"HTML Format", "text/html"},
      {"Rich Text Format", "text/rtf"},
      {"CF_HDROP", "text/uri-list"},
      {"TExtStringGrid Cells", "application/x-extstringgrid-cells"},
      {"Grid Column", "application/x-grid-column"},
      {"Plain text", "text/plain"},
      {"Unicode text", "text/plain"},
      {"Rich Text Format Without Objects", "text/rtf"},
      {"CSV", "text/csv"},
  };
  for (const Pair& p : table)
    if (FormatName.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) return QString::fromLatin1(p.mime);
  QString n = FormatName.toLower();
  n.replace(u' ', u'-');
  return QStringLiteral("application/x-") + n;
}

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

namespace {
const QMimeData* Current() {
  QClipboard* c = QGuiApplication::clipboard();
  return c ? c->mimeData() : nullptr;
}
}  // namespace

QString TClipboard::AsText() const {
  const QMimeData* m = Current();
  return m && m->hasText() ? m->text() : QString();
}

void TClipboard::SetAsText(const QString& Text) { Put(QStringLiteral("text/plain"), Text.toUtf8()); }

bool TClipboard::HasFormat(const QString& FormatName) const {
  const QMimeData* m = Current();
  return m && m->hasFormat(MimeTypeOfClipboardFormat(FormatName));
}

QByteArray TClipboard::GetData(const QString& FormatName) const {
  const QMimeData* m = Current();
  return m ? m->data(MimeTypeOfClipboardFormat(FormatName)) : QByteArray();
}

void TClipboard::SetData(const QString& FormatName, const QByteArray& Data) {
  Put(MimeTypeOfClipboardFormat(FormatName), Data);
}

void TClipboard::Put(const QString& mime, const QByteArray& data) {
  if (FOpenCount > 0) {
    if (!FPending) FPending = std::make_unique<QMimeData>();
    if (mime == QStringLiteral("text/plain"))
      FPending->setText(QString::fromUtf8(data));
    else
      FPending->setData(mime, data);
    return;
  }
  auto* m = new QMimeData;
  if (mime == QStringLiteral("text/plain"))
    m->setText(QString::fromUtf8(data));
  else
    m->setData(mime, data);
  if (QClipboard* c = QGuiApplication::clipboard())
    c->setMimeData(m);
  else
    delete m;
}

void TClipboard::Open() { ++FOpenCount; }

void TClipboard::Close() {
  if (FOpenCount == 0) return;
  if (--FOpenCount > 0 || !FPending) return;
  if (QClipboard* c = QGuiApplication::clipboard()) c->setMimeData(FPending.release());
  FPending.reset();
}

void TClipboard::Clear() {
  FPending.reset();
  if (QClipboard* c = QGuiApplication::clipboard()) c->clear();
}

TClipboard* Clipboard() {
  static TClipboard c;
  return &c;
}

}  // namespace plat
