#include "corpus_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace corpus {

// The build finds the corpus beside the checkout and passes its folder (the one holding test-frames/).
QString Dir(const char* Sub) { return QStringLiteral(TEST_CORPUS_DIR "/") + QLatin1StringView(Sub); }

std::vector<QString> Files(const char* Sub, const char* Suffix) {
  std::vector<QString> Out;
  const QString S = QLatin1StringView(Suffix);
  for (const QString& F : QDir(Dir(Sub)).entryList({QStringLiteral("*") + S}, QDir::Files, QDir::Name))
    Out.push_back(F.left(F.size() - S.size()));
  return Out;
}

bool Read_Hex(const QString& Path, std::vector<uint8_t>& Bytes) {
  QFile F(Path);
  if (!F.open(QIODevice::ReadOnly)) return false;
  const QString Text = QString::fromLatin1(F.readAll());
  for (const QString& Tok : Text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
    bool Ok = false;
    const uint V = Tok.toUInt(&Ok, 16);
    if (!Ok || Tok.size() != 2) return false;
    Bytes.push_back(uint8_t(V));
  }
  return true;
}

namespace {
std::string Unescape(QString S) {
  S.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  S.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  S.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  return S.toStdString();
}
}  // namespace

bool Read_Expected(const QString& Path, TExpected& Out) {
  QFile F(Path);
  if (!F.open(QIODevice::ReadOnly)) return false;
  static const QRegularExpression Element(QStringLiteral("^\\s*<(\\w+)>(.*)</\\1>\\s*$"));
  bool In_Slave = false;
  for (const QByteArray& Raw : F.readAll().split('\n')) {
    const QString Line = QString::fromUtf8(Raw);  // the files declare Latin-1 but hold UTF-8
    if (Line.contains(QStringLiteral("<SlaveInformation>"))) {
      In_Slave = true;
    } else if (Line.contains(QStringLiteral("</SlaveInformation>"))) {
      In_Slave = false;
    } else if (Line.contains(QStringLiteral("<DataRecord"))) {
      Out.Records.emplace_back();
    } else {
      const auto M = Element.match(Line);
      if (!M.hasMatch()) continue;
      const std::string Name = M.captured(1).toStdString();
      if (In_Slave)
        Out.Slave[Name] = Unescape(M.captured(2));
      else if (!Out.Records.empty())
        Out.Records.back().Fields[Name] = Unescape(M.captured(2));
    }
  }
  return true;
}

}  // namespace corpus
