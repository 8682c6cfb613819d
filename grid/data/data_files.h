#pragma once
// Whole-file reads and writes of the grid's file formats. Every write is atomic (a temporary file beside the
// target, then a rename), so a failed save, or a failed append, leaves the old file whole.

#include <QByteArray>
#include <QString>

namespace grid {

// The whole file; the platform's file error (EFOpenError naming the file and the cause) when it cannot be read.
QByteArray ReadWholeFile(const QString& FileName);
// Replaces the file with Data; EFCreateError naming the file and the cause when it cannot be written.
void WriteWholeFile(const QString& FileName, const QByteArray& Data);

}  // namespace grid
