#pragma once
// Reading printed PDF files back with poppler's tools (pdfinfo, pdftotext) for the print tests. A missing or
// failing tool fails the calling test.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace grid::testing {

inline QString RunPdfPeer(const QString& Program, const QStringList& Args) {
  const QString path = QStandardPaths::findExecutable(Program);
  if (path.isEmpty()) {
    ADD_FAILURE() << Program.toStdString() << " is missing (poppler-utils)";
    return {};
  }
  QProcess p;
  p.start(path, Args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) {
    ADD_FAILURE() << Program.toStdString() << " failed: " << p.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The value pdfinfo gives for Key ("Pages", "Page size"), trimmed; empty when it gives none.
inline QString PdfInfo(const QString& File, const QString& Key) {
  for (const QString& line : RunPdfPeer(QStringLiteral("pdfinfo"), {File}).split(u'\n'))
    if (line.startsWith(Key + u':')) return line.mid(Key.size() + 1).trimmed();
  return {};
}

inline int PdfPages(const QString& File) {
  const QString pages = PdfInfo(File, QStringLiteral("Pages"));
  return pages.isEmpty() ? -1 : pages.toInt();
}

// The text of one page (Page >= 1) in its layout, or of every page (Page 0) with a form feed after each.
inline QString PdfText(const QString& File, int Page = 0) {
  QStringList args{QStringLiteral("-layout")};
  if (Page > 0) args << QStringLiteral("-f") << QString::number(Page) << QStringLiteral("-l") << QString::number(Page);
  return RunPdfPeer(QStringLiteral("pdftotext"), args << File << QStringLiteral("-"));
}

}  // namespace grid::testing
