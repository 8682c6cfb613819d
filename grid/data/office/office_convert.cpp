#include "grid/data/office/office_convert.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "grid/griderror.h"

namespace grid::office {

bool IsLegacySpreadsheet(const QString& FileName) { return FileName.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive); }

bool IsLegacyDocument(const QString& FileName) { return FileName.endsWith(QLatin1String(".doc"), Qt::CaseInsensitive); }

QString ConvertOfficeFile(const QString& Input, const QString& Format, const QString& OutDir, int TimeoutMs) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (program.isEmpty())
    throw EExtGridError(QStringLiteral("%1: the .%2 format needs the office suite's converter (soffice), which is "
                                       "not installed").arg(Input, Format));
  const QFileInfo in(Input);
  const QString profile = QDir(OutDir).filePath(QStringLiteral("profile"));
  // The absolute path starts with "/", so no file name can pass for an option.
  const QStringList args = {QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"),
                            QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                            QStringLiteral("--convert-to"), Format, QStringLiteral("--outdir"), OutDir,
                            in.absoluteFilePath()};
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  const bool finished = p.waitForStarted() && p.waitForFinished(TimeoutMs);
  if (!finished) p.kill(), p.waitForFinished(5000);
  const QString out = QDir(OutDir).filePath(in.completeBaseName() + u'.' + Format);
  if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !QFileInfo::exists(out))
    throw EExtGridError(QStringLiteral("%1: the conversion to .%2 failed (%3)")
                            .arg(Input, Format,
                                 finished ? QString::fromLocal8Bit(p.readAll()).trimmed() : QStringLiteral("no answer")));
  return out;
}

}  // namespace grid::office
