// The clipboard by format name. Text formats ("CF_TEXT", "CF_UNICODETEXT") are plain text; other names map
// to MIME types ("HTML Format" -> text/html, "Rich Text Format" -> text/rtf, "CF_HDROP" -> text/uri-list,
// "TExtStringGrid Cells" -> application/x-extstringgrid-cells, "Grid Column" -> application/x-grid-column, the
// tree's names "Plain text" and "Unicode text" -> text/plain, "Rich Text Format Without Objects" -> text/rtf,
// "CSV" -> text/csv, any other name -> application/x- followed by the name in lower case with blanks as '-').
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QMimeData;

namespace plat {

QString MimeTypeOfClipboardFormat(const QString& FormatName);

class TClipboard {
 public:
  TClipboard();
  ~TClipboard();

  QString AsText() const;
  void SetAsText(const QString& Text);
  bool HasFormat(const QString& FormatName) const;
  QByteArray GetData(const QString& FormatName) const;
  // Outside Open/Close each call replaces the clipboard's content; between them the formats are collected
  // and put on the clipboard together at Close.
  void SetData(const QString& FormatName, const QByteArray& Data);
  void Open();
  void Close();
  void Clear();

 private:
  void Put(const QString& mime, const QByteArray& data);
  int FOpenCount = 0;
  std::unique_ptr<QMimeData> FPending;
};

// The process's clipboard object.
TClipboard* Clipboard();

}  // namespace plat
