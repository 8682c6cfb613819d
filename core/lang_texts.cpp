#include "core/lang_texts.h"

#include "core/device_model.h"
#include "core/lang_texts_builtin.h"
#include "platform/io/files.h"
#include "platform/rtl/strutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtDebug>

QStringList Lang_Texts;

namespace {

// A language file holds 800 short lines; anything this large is not one, and reading it whole would only
// hold up the start of the program.
constexpr qint64 Max_Lng_File_Size = 32 * 1024 * 1024;

constexpr char16_t Pilcrow = u'\u00B6';

// Removes from both ends every character up to U+0020 (blanks and control characters), and nothing else.
QStringView TrimBlanks(QStringView s) {
  qsizetype b = 0;
  qsizetype e = s.size();
  while (b < e && s[b].unicode() <= 0x20) ++b;
  while (e > b && s[e - 1].unicode() <= 0x20) --e;
  return s.mid(b, e - b);
}

// windows-1252 where it differs from Latin-1 (0x80..0x9F); the five unassigned bytes keep their Latin-1 value.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeWindows1252(QByteArrayView bytes) {
  QStringDecoder decoder("windows-1252");
  if (decoder.isValid()) return decoder.decode(bytes);
  QString s(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    s[i] = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
  }
  return s;
}

// The text of a language file: a byte-order mark selects UTF-8 or UTF-16; without one the bytes are UTF-8 when
// they are valid UTF-8 (files written on this system) and windows-1252 otherwise (files written as ANSI text).
QString DecodeLngFile(const QByteArray& data) {
  const QByteArrayView bytes(data);
  if (bytes.startsWith("\xEF\xBB\xBF")) return QStringDecoder(QStringDecoder::Utf8).decode(bytes.sliced(3));
  if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2));
  if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2));
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return DecodeWindows1252(bytes);
}

// One line of a language file: stores its text in Texts when the line names an entry.
void ApplyLine(QStringView line, QStringList& texts) {
  const QStringView l = TrimBlanks(line);
  if (!l.startsWith(u"STR")) return;
  const qsizetype eq = l.indexOf(u'=');
  if (eq < 0) return;
  // The key is everything between "STR" and the first "=", so "STR12=Text" names entry 12 as it reads.
  int key = 0;
  if (!plat::TryStrToInt(TrimBlanks(l.mid(3, eq - 3)).toString(), key)) return;
  if (key < 0 || key >= Lang_Max || key >= texts.size()) return;
  QStringView text = TrimBlanks(l.mid(eq + 1));
  if (text.isEmpty()) return;
  const qsizetype comment = text.indexOf(u"/#/");
  if (comment >= 0) {
    text = TrimBlanks(text.left(comment));
    if (text.isEmpty()) return;
  }
  // A leading pilcrow quotes the text, keeping its blanks up to the next pilcrow; any pilcrow ends the text.
  if (text.startsWith(Pilcrow)) text = text.mid(1);
  const qsizetype close = text.indexOf(Pilcrow);
  if (close >= 0) text = text.left(close);
  texts[key] = text.toString();
}

// The file Name in Folder, also when its case differs (files copied from a system that ignores case);
// an empty text when there is none.
QString FindFile(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return {};
  const QDir dir(folder);
  const QString exact = dir.filePath(name);
  if (QFileInfo(exact).isFile()) return exact;
  const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  }
  return {};
}

}  // namespace

void Load_Default_Texts() {
  Lang_Texts.clear();
  Lang_Texts.reserve(Lang_Max);
  for (const char16_t* text : Lang_Builtin_Texts) Lang_Texts.append(QString::fromUtf16(text));
}

bool Load_Lng_File(const QString& FileName) {
  QByteArray data;
  QString error;
  if (!plat::ReadFileBytes(FileName, data, &error, Max_Lng_File_Size)) {
    qWarning().noquote() << "Language file cannot be used:" << error;
    return false;
  }
  const QString text = DecodeLngFile(data);
  const QStringView all(text);
  qsizetype start = 0;
  while (start <= all.size()) {
    qsizetype end = start;
    while (end < all.size() && all[end] != u'\r' && all[end] != u'\n') ++end;
    ApplyLine(all.mid(start, end - start), Lang_Texts);
    if (end >= all.size()) break;
    // CR LF, CR and LF each end one line.
    start = end + ((all[end] == u'\r' && end + 1 < all.size() && all[end + 1] == u'\n') ? 2 : 1);
  }
  return true;
}

void Load_Language() {
  Load_Default_Texts();
  if (Is_Plain_File_Name(Lang_Selected)) {
    const QString selected = FindFile(Dir_Language, Lang_Selected + QStringLiteral(".lng"));
    if (!selected.isEmpty() && Load_Lng_File(selected)) return;
  } else {
    qWarning().noquote() << "Language name" << Lang_Selected << "is not a file name; using English";
  }
  // A missing or unreadable file: English, from its file when there is one, else the built-in texts.
  Lang_Selected = QStringLiteral("English");
  const QString english = FindFile(Dir_Language, QStringLiteral("English.lng"));
  if (!english.isEmpty()) Load_Lng_File(english);
}
