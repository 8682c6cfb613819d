// Stand-in for the external updater programs, for tests only. Copied into a test's program folder under an
// updater's name, it appends one JSON line per run to its record file: the name it was started by, its
// arguments, its working folder, its process id and the job file "Ethernet_Update.xml" of the working folder
// as it found it at start (null when there is none).
//
// Record file: $STAND_IN_UPDATER_RECORD, else "stand_in_updater.jsonl" beside the program.
// Behaviour: $STAND_IN_UPDATER_SLEEP_MS and $STAND_IN_UPDATER_EXIT, or the lines "sleep_ms=N" and "exit=K" of
// a file "stand_in_updater.control" beside the program (the environment wins). The record is written before
// the sleep, so a test can see a running stand-in.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace {

QString Own_Folder(const char* argv0) {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) {
    buf[n] = 0;
    return QFileInfo(QString::fromLocal8Bit(buf)).absolutePath();
  }
  return QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
}

bool Setting(const char* env, const QString& key, const QString& controlFile, int& value) {
  if (const char* v = std::getenv(env)) {
    value = std::atoi(v);
    return true;
  }
  QFile f(controlFile);
  if (!f.open(QIODevice::ReadOnly)) return false;
  for (const QByteArray& raw : f.readAll().split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.startsWith(key + QLatin1Char('='))) {
      value = line.mid(key.size() + 1).toInt();
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const QString folder = Own_Folder(argv[0]);
  QString record = QString::fromLocal8Bit(qgetenv("STAND_IN_UPDATER_RECORD"));
  if (record.isEmpty()) record = folder + QStringLiteral("/stand_in_updater.jsonl");
  const QString control = folder + QStringLiteral("/stand_in_updater.control");

  QJsonObject o;
  o.insert(QStringLiteral("program"), QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
  QJsonArray args;
  for (int i = 1; i < argc; ++i) args.append(QString::fromLocal8Bit(argv[i]));
  o.insert(QStringLiteral("args"), args);
  o.insert(QStringLiteral("cwd"), QDir::currentPath());
  o.insert(QStringLiteral("pid"), static_cast<qint64>(getpid()));
  QFile job(QStringLiteral("Ethernet_Update.xml"));
  if (job.open(QIODevice::ReadOnly)) o.insert(QStringLiteral("job_file"), QString::fromUtf8(job.readAll()));
  else o.insert(QStringLiteral("job_file"), QJsonValue());

  QFile out(record);
  if (!out.open(QIODevice::Append)) return 90;
  out.write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
  out.close();

  int sleepMs = 0, exitCode = 0;
  Setting("STAND_IN_UPDATER_SLEEP_MS", QStringLiteral("sleep_ms"), control, sleepMs);
  Setting("STAND_IN_UPDATER_EXIT", QStringLiteral("exit"), control, exitCode);
  if (sleepMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
  return exitCode;
}
