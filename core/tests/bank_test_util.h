#pragma once
// Fixtures for the compiler tests: configuration files written into a temporary folder, and hex helpers.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <string>
#include <utility>

namespace bank_test {

// Bytes from hex text; blanks and line breaks are ignored.
inline QByteArray Hex(const char* text) { return QByteArray::fromHex(QByteArray(text)); }

// "0a 00 ff" form, for readable failure messages.
inline std::string Spaced(const QByteArray& b) {
  std::string s;
  static const char* digits = "0123456789ABCDEF";
  for (qsizetype i = 0; i < b.size(); ++i) {
    if (i) s += ' ';
    s += digits[(uint8_t(b[i]) >> 4) & 0xF];
    s += digits[uint8_t(b[i]) & 0xF];
  }
  return s;
}

inline QByteArray LE32(uint32_t v) {
  QByteArray b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = char(v >> (8 * i));
  return b;
}

using Elements = std::initializer_list<std::pair<const char*, const char*>>;

// A configuration folder with its bin sub-folder.
class Config_Dir {
 public:
  Config_Dir() { QDir(dir_.path()).mkpath(QStringLiteral("bin")); }
  QString Path() const { return dir_.path(); }
  QString ParGen() const { return dir_.filePath(QStringLiteral("ParGen.xml")); }
  QString MBus() const { return dir_.filePath(QStringLiteral("M_Bus.xml")); }
  QString Bin() const { return dir_.filePath(QStringLiteral("bin")); }

  void Write(const QString& path, const QByteArray& text) const {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text);
  }
  // ParGen.xml as the settings window writes it: the root, one element per value, the comment after the root.
  void Write_ParGen(Elements elems) const {
    QByteArray x = "<GeneralParameter>";
    for (const auto& [name, text] : elems) x += QByteArray("<") + name + ">" + text + "</" + name + ">";
    x += "</GeneralParameter><!--SW_VERSION = 2.012-->";
    Write(ParGen(), x);
  }
  void Write_MBus(const QByteArray& nodes) const {
    Write(MBus(), "<M-Bus_Network>" + nodes + "</M-Bus_Network><!--SW_VERSION = 2.012-->");
  }

 private:
  QTemporaryDir dir_;
};

}  // namespace bank_test
