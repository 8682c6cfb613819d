#include "core/com_ports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// A fake tty class folder laid out as the kernel does it: each entry a link to the device's folder, with a
// "device" link for ttys backed by hardware and, for UARTs, the "type" and "uartclk" attributes.
class FakeSysfs {
 public:
  FakeSysfs() {
    EXPECT_TRUE(root_.isValid());
    QDir(root_.path()).mkpath(QStringLiteral("class/tty"));
    QDir(root_.path()).mkpath(QStringLiteral("devices/platform"));
  }
  QString ClassDir() const { return root_.filePath(QStringLiteral("class/tty")); }

  // Adds tty Name; Attributes maps file names to contents.
  void Add(const QString& name, bool deviceLink, const std::map<QString, QByteArray>& attributes = {}) {
    const QString devDir = root_.filePath(QStringLiteral("devices/platform/") + name);
    QDir().mkpath(devDir + QStringLiteral("/tty/") + name);
    const QString ttyDir = devDir + QStringLiteral("/tty/") + name;
    if (deviceLink) {
      EXPECT_TRUE(QFile::link(devDir, ttyDir + QStringLiteral("/device")));
    }
    for (const auto& [file, content] : attributes) {
      QFile f(ttyDir + QLatin1Char('/') + file);
      EXPECT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(content);
    }
    EXPECT_TRUE(QFile::link(ttyDir, ClassDir() + QLatin1Char('/') + name));
  }

 private:
  QTemporaryDir root_;
};

TEST(ComPorts, ListsHardwareSerialPortsInAStableOrder) {
  FakeSysfs sys;
  sys.Add("ttyUSB10", true);
  sys.Add("ttyUSB2", true);
  sys.Add("ttyUSB0", true);
  sys.Add("ttyUSB3", false);                                         // unplugged: no device link
  sys.Add("ttyACM0", true);
  sys.Add("ttyS0", true, {{"type", "4\n"}, {"uartclk", "1843200\n"}});  // a detected 16550A
  sys.Add("ttyS1", true, {{"type", "0\n"}, {"uartclk", "1843200\n"}});  // reserved, no UART behind it
  sys.Add("ttyS2", true, {{"uartclk", "1843200\n"}});                 // no type file: the clock tells
  sys.Add("ttyS3", true, {{"uartclk", "0\n"}});
  sys.Add("ttyS4", true);                                             // neither attribute readable
  sys.Add("ttyS5", true, {{"type", "garbage"}});
  for (const char* other : {"tty0", "tty1", "console", "ptmx", "ttyprintk", "ttyUSB", "ttyUSBx", "ttyS1a"}) {
    sys.Add(other, true);
  }
  EXPECT_EQ(List_COM_Ports(sys.ClassDir()),
            QStringList({"ttyACM0", "ttyS0", "ttyS2", "ttyUSB0", "ttyUSB2", "ttyUSB10"}));
}

TEST(ComPorts, NoPortsGivesAnEmptyList) {
  FakeSysfs sys;
  sys.Add("tty0", true);
  sys.Add("ttyS0", true, {{"type", "0"}});
  EXPECT_TRUE(List_COM_Ports(sys.ClassDir()).isEmpty());
  QTemporaryDir empty;
  EXPECT_TRUE(List_COM_Ports(empty.filePath(QStringLiteral("missing"))).isEmpty());
}

}  // namespace
