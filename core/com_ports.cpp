#include "core/com_ports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// Kinds of tty that are serial ports; any other tty (consoles, pseudo terminals, virtual terminals) is not.
constexpr const char* SerialPrefixes[] = {"ttyACM", "ttyS", "ttyUSB"};
constexpr int KindUart = 1;  // ttyS

// The value of a one-line sysfs attribute as an integer; -1 when the file is missing or holds no number.
long ReadSysfsNumber(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray line = f.read(64).trimmed();
  bool ok = false;
  const long v = line.toLong(&ok, 10);
  return ok ? v : -1;
}

// An 8250/16550 entry exists for every UART the kernel reserves, present or not; only one whose UART type was
// detected (type 0 is "unknown") is a real port. Without a type file the UART clock tells the same.
bool IsRealUart(const QString& entry) {
  const long type = ReadSysfsNumber(entry + QStringLiteral("/type"));
  if (type >= 0) return type != 0;
  return ReadSysfsNumber(entry + QStringLiteral("/uartclk")) > 0;
}

// Splits "ttyUSB10" into its kind index and number; false when the name is not a serial port name.
bool ParsePortName(const QString& name, int& kind, int& number) {
  for (int k = 0; k < int(std::size(SerialPrefixes)); ++k) {
    const QLatin1StringView prefix(SerialPrefixes[k]);
    if (!name.startsWith(prefix)) continue;
    const QStringView digits = QStringView(name).mid(prefix.size());
    if (digits.isEmpty() || digits.size() > 6) return false;
    for (QChar c : digits) {
      if (c < u'0' || c > u'9') return false;
    }
    kind = k;
    number = digits.toInt();
    return true;
  }
  return false;
}

}  // namespace

QStringList List_COM_Ports(const QString& ttyClassDir) {
  struct Port {
    int kind;
    int number;
    QString name;
  };
  std::vector<Port> ports;
  const QDir dir(ttyClassDir);
  const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
  for (const QString& name : names) {
    int kind = 0;
    int number = 0;
    if (!ParsePortName(name, kind, number)) continue;
    const QString entry = dir.filePath(name);
    // Only a tty backed by hardware has a device link; this leaves out what is left of unplugged devices.
    if (!QFileInfo(entry + QStringLiteral("/device")).exists()) continue;
    if (kind == KindUart && !IsRealUart(entry)) continue;
    ports.push_back({kind, number, name});
  }
  std::sort(ports.begin(), ports.end(),
            [](const Port& a, const Port& b) { return std::tie(a.kind, a.number) < std::tie(b.kind, b.number); });
  QStringList result;
  for (const Port& p : ports) result.append(p.name);
  return result;
}
