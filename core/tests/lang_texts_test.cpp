#include "core/device_model.h"
#include "core/lang_texts.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <random>

namespace {

TEST(DefaultTexts, TableHasEveryEntryAndBlankReserves) {
  Lang_Texts = QStringList{QStringLiteral("left over")};
  Load_Default_Texts();
  ASSERT_EQ(Lang_Texts.size(), 800);
  ASSERT_EQ(Lang_Max, 800);
  const std::pair<int, int> reserves[] = {{22, 24}, {388, 399}, {440, 499}, {507, 599}, {605, 699}, {711, 799}};
  int reserveCount = 0;
  for (int i = 0; i < Lang_Max; ++i) {
    bool reserve = false;
    for (auto [lo, hi] : reserves) reserve = reserve || (i >= lo && i <= hi);
    if (reserve) {
      ++reserveCount;
      EXPECT_EQ(Lang_Texts[i], QStringLiteral(" ")) << i;
    } else {
      EXPECT_FALSE(Lang_Texts[i].trimmed().isEmpty()) << i;
    }
  }
  EXPECT_EQ(reserveCount, 352);
}

TEST(DefaultTexts, SampleEntriesKeepEveryCharacter) {
  Load_Default_Texts();
  const std::map<int, const char*> samples = {
      {0, "Begin"},
      {9, "None Configuration Opened "},
      {18, "Error! Project not Valid"},
      {44, " / "},
      {57, "Update Firmware from Etherner (UDP)"},
      {94, " Select Device "},
      {110, "Error Modbus TCP Slave!! IP Address 1 must be between 0 and 255"},
      {113, "Error Modbus TCP Slave!! IP Address 4 must be between 0 and 255"},
      {119, "Error Modbus TCP Slave!! Gateway 2 must be between 0 and 255"},
      {125, "M-Bus!!  Node State value must be between 0 and 255"},
      {132, "Nodes     "},
      {177, "Error!! ModBus Register already use in the Node \""},
      {178, "\" (Node State)"},
      {190, "\", Variable \""},
      {218, "\" (Time Point)"},
      {256, "Do you really want to overwrite the existing M-Bus Network?"},
      {267, "Select the new  Registers for the Variables"},
      {297, "Error Ethernet!! Gateway 4 must be between 0 and 255"},
      {306, "1"},
      {321, "16"},
      {326, "Error!! Key (Byte 1) must be between 0x00 and 0xFF"},
      {341, "Error!! Key (Byte 16) must be between 0x00 and 0xFF"},
      {353, "M_Bus network configuration already exists for this configuration. Do you want to continue?"},
      {387, "Error!! Access Number Register must be different from the Manufacturer Specific Data Register"},
      {401, "SCAN && DECODE"},
      {427, "Start Scan By Secondary Address"},
      {428, "Finish Scan By Secondary Address"},
      {430, "Configuration saved! To do a new Scan press \"New Scan\" button otherwise press top-right \"X\" to "
            "close the page"},
      {506, "Error!! The Star Modbus Address must be between 1 and 65535"},
      {604, "Error!! The Key must contain 16 bytes (32 characters in HEX)"},
      {710, "!! Modbus Start Address must be between 1 and 59999"},
  };
  for (const auto& [index, text] : samples) EXPECT_EQ(Lang_Texts[index], QString::fromUtf8(text)) << index;
}

// Saves and restores the shared state the loader reads and writes, and gives each test a language folder.
class LangFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    savedDir_ = Dir_Language;
    savedSelected_ = Lang_Selected;
    Dir_Language = dir_.path();
    Load_Default_Texts();
    defaults_ = Lang_Texts;
  }
  void TearDown() override {
    Dir_Language = savedDir_;
    Lang_Selected = savedSelected_;
    Load_Default_Texts();
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  // The table must equal the built-in texts except for the entries in Changed.
  void ExpectTable(const std::map<int, QString>& changed) {
    ASSERT_EQ(Lang_Texts.size(), Lang_Max);
    for (int i = 0; i < Lang_Max; ++i) {
      const auto it = changed.find(i);
      EXPECT_EQ(Lang_Texts[i], it == changed.end() ? defaults_[i] : it->second) << "entry " << i;
    }
  }

  QTemporaryDir dir_;
  QString savedDir_;
  QString savedSelected_;
  QStringList defaults_;
};

struct LineCase {
  const char* line;  // UTF-8, written with a UTF-8 byte-order mark
  std::map<int, QString> changed;
};

TEST_F(LangFiles, LinesAreParsedByTheirKeyAndText) {
  const LineCase cases[] = {
      {"STR18 = Project missing", {{18, "Project missing"}}},
      {"   STR18 = x", {{18, "x"}}},
      {"\t\x01STR18 = x\t", {{18, "x"}}},
      {"str18 = x", {}},
      {"# STR18 = x", {}},
      {"/#/ STR18 = x", {}},
      // The key is everything between "STR" and "=": a missing blank before "=" changes no other entry.
      {"STR12=Text", {{12, "Text"}}},
      {"STR5=Text", {{5, "Text"}}},
      {"STR 7 = y", {{7, "y"}}},
      {"STR+7 = y", {{7, "y"}}},
      {"STR$12 = hex", {{18, "hex"}}},
      {"STR0x1F = hex", {{31, "hex"}}},
      {"STR010 = ten", {{10, "ten"}}},
      {"STR1 2 = y", {}},
      {"STR800 = x", {}},
      {"STR-1 = x", {}},
      {"STR4294967301 = x", {}},
      {"STR799 = x", {{799, "x"}}},
      {"STR0 = first", {{0, "first"}}},
      {"STRx = y", {}},
      {"STR = y", {}},
      {"STR5 y", {}},
      {"STR5 =", {}},
      {"STR5 =   ", {}},
      {"STR5 = /#/ note", {}},
      {"STR5 = Hello /#/ note", {{5, "Hello"}}},
      {"STR5 = \xC2\xB6  Hello  \xC2\xB6", {{5, "  Hello  "}}},
      {"STR5 = \xC2\xB6  Hello", {{5, "  Hello"}}},
      {"STR5 = abc\xC2\xB6" "def", {{5, "abc"}}},
      {"STR5 = \xC2\xB6", {{5, ""}}},
      {"STR5 = \xC2\xB6\xC2\xB6 tail", {{5, ""}}},
      {"STR5 = A = B", {{5, "A = B"}}},
      {"STR5 = first\nSTR5 = second", {{5, "second"}}},
      {"STR5 = a\nSTR6 = b\n\n  \nSTR7 = c", {{5, "a"}, {6, "b"}, {7, "c"}}},
      {"STR23 = fills a reserve", {{23, "fills a reserve"}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    Load_Default_Texts();
    EXPECT_TRUE(Load_Lng_File(Write("Test.lng", QByteArray("\xEF\xBB\xBF") + c.line + "\r\n")));
    ExpectTable(c.changed);
  }
}

QByteArray Utf16(const QString& s, QStringConverter::Encoding e) {
  QStringEncoder enc(e, QStringConverter::Flag::WriteBom);
  return enc.encode(s);
}

TEST_F(LangFiles, EveryEncodingAndLineEnd) {
  // Entries 5 to 8, with a pilcrow-quoted text, a comment and a last line without an end.
  const QString text = QStringLiteral("STR5 = Schlie\u00DFen \u20AC%1STR6 = \u00B6  \u00E8  \u00B6%1"
                                      "; comment line%1STR7 = Fin /#/ note%1STR8 = last");
  const std::map<int, QString> expected = {{5, QStringLiteral("Schlie\u00DFen \u20AC")},
                                           {6, QStringLiteral("  \u00E8  ")},
                                           {7, QStringLiteral("Fin")},
                                           {8, QStringLiteral("last")}};
  // The same file as a windows-1252 editor writes it.
  const QByteArray cp1252 =
      "STR5 = Schlie\xDF" "en \x80%1STR6 = \xB6  \xE8  \xB6%1; comment line%1STR7 = Fin /#/ note%1STR8 = last";
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    const QString t = text.arg(QString::fromLatin1(eol));
    const struct {
      const char* name;
      QByteArray bytes;
    } files[] = {
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + t.toUtf8()},
        {"UTF-8 without BOM", t.toUtf8()},
        {"UTF-16 LE", Utf16(t, QStringConverter::Utf16LE)},
        {"UTF-16 BE", Utf16(t, QStringConverter::Utf16BE)},
        {"windows-1252", QByteArray(cp1252).replace("%1", eol)},
    };
    for (const auto& f : files) {
      SCOPED_TRACE(std::string(f.name) + " eol " + QByteArray(eol).toHex().toStdString());
      Load_Default_Texts();
      EXPECT_TRUE(Load_Lng_File(Write("Enc.lng", f.bytes)));
      ExpectTable(expected);
    }
  }
  // The byte-order marks are what selects UTF-16: the first bytes really are the marks.
  EXPECT_TRUE(Utf16(text, QStringConverter::Utf16LE).startsWith("\xFF\xFE"));
  EXPECT_TRUE(Utf16(text, QStringConverter::Utf16BE).startsWith("\xFE\xFF"));
}

TEST_F(LangFiles, Windows1252BytesThatAreNotUtf8) {
  // 0x93/0x94 are curly quotes in windows-1252 and invalid on their own in UTF-8.
  Load_Default_Texts();
  EXPECT_TRUE(Load_Lng_File(Write("Q.lng", "STR40 = \x93Lingua\x94\nSTR41 = caf\xE9")));
  ExpectTable({{40, QStringLiteral("\u201CLingua\u201D")}, {41, QStringLiteral("caf\u00E9")}});
}

TEST_F(LangFiles, SelectedLanguageIsLoadedAndEnglishIsTheFallback) {
  Write("Deutsch.lng", "STR5 = Schritt 5\nSTR6 = Schritt 6");
  Write("Italiano.lng", "STR6 = Passo 6");

  Lang_Selected = QStringLiteral("Deutsch");
  Load_Language();
  EXPECT_EQ(Lang_Selected, QStringLiteral("Deutsch"));
  ExpectTable({{5, "Schritt 5"}, {6, "Schritt 6"}});

  // Each load starts again from the built-in texts: entry 5 is English again.
  Lang_Selected = QStringLiteral("Italiano");
  Load_Language();
  ExpectTable({{6, "Passo 6"}});

  // A missing file without English.lng: the built-in texts, and the selection becomes English.
  Lang_Selected = QStringLiteral("Klingon");
  Load_Language();
  EXPECT_EQ(Lang_Selected, QStringLiteral("English"));
  ExpectTable({});

  // With English.lng, that file is read instead.
  Write("English.lng", "STR18 = Project missing");
  Lang_Selected = QStringLiteral("Klingon");
  Load_Language();
  EXPECT_EQ(Lang_Selected, QStringLiteral("English"));
  ExpectTable({{18, "Project missing"}});
}

TEST_F(LangFiles, FileNamesMatchWhateverTheirCase) {
  Write("deutsch.LNG", "STR5 = Schritt 5");
  Lang_Selected = QStringLiteral("Deutsch");
  Load_Language();
  EXPECT_EQ(Lang_Selected, QStringLiteral("Deutsch"));
  ExpectTable({{5, "Schritt 5"}});
}

TEST_F(LangFiles, SelectionThatIsNotAFileNameIsRefused) {
  // A language file outside the language folder is never read, whatever the settings file says.
  QDir(dir_.path()).mkdir(QStringLiteral("LANGUAGE"));
  Dir_Language = dir_.filePath(QStringLiteral("LANGUAGE"));
  Write("Outside.lng", "STR5 = outside");
  Write("LANGUAGE/English.lng", "STR6 = english file");
  for (const char* name : {"../Outside", "..\\Outside", "", ".", "..", "C:Outside", "Out\nside"}) {
    SCOPED_TRACE(name);
    Lang_Selected = QString::fromUtf8(name);
    Load_Language();
    EXPECT_EQ(Lang_Selected, QStringLiteral("English"));
    ExpectTable({{6, "english file"}});
  }
  Lang_Selected = dir_.filePath(QStringLiteral("Outside"));
  Load_Language();
  ExpectTable({{6, "english file"}});
}

TEST_F(LangFiles, UnreadableOrHugeFileKeepsTheBuiltInTexts) {
  Write("English.lng", "STR6 = english file");
  // Larger than any language file: refused without reading it (the file is sparse, nothing is written).
  {
    QFile huge(dir_.filePath(QStringLiteral("Huge.lng")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write("STR5 = huge\n");
    ASSERT_TRUE(huge.resize(qint64(40) * 1024 * 1024));
  }
  Load_Default_Texts();
  EXPECT_FALSE(Load_Lng_File(dir_.filePath(QStringLiteral("Huge.lng"))));
  ExpectTable({});
  Lang_Selected = QStringLiteral("Huge");
  Load_Language();
  EXPECT_EQ(Lang_Selected, QStringLiteral("English"));
  ExpectTable({{6, "english file"}});

  // A file whose read fails: the memory file of this process reads with an I/O error at offset 0.
  if (QFile::exists(QStringLiteral("/proc/self/mem"))) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), dir_.filePath(QStringLiteral("Broken.lng"))));
    Lang_Selected = QStringLiteral("Broken");
    Load_Language();
    EXPECT_EQ(Lang_Selected, QStringLiteral("English"));
    ExpectTable({{6, "english file"}});
  }

  // A pipe is refused at once instead of waiting for a writer; a link to an endless device is not read.
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir_.filePath(QStringLiteral("Pipe.lng"))).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir_.filePath(QStringLiteral("Zero.lng"))));
  for (const char* name : {"Pipe", "Zero"}) {
    Lang_Selected = QString::fromLatin1(name);
    Load_Language();
    EXPECT_EQ(Lang_Selected, QStringLiteral("English")) << name;
    ExpectTable({{6, "english file"}});
  }

  // A folder with a language's name is no language file.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Folder.lng")));
  Lang_Selected = QStringLiteral("Folder");
  Load_Language();
  EXPECT_EQ(Lang_Selected, QStringLiteral("English"));
  ExpectTable({{6, "english file"}});

  Load_Default_Texts();
  EXPECT_FALSE(Load_Lng_File(dir_.filePath(QStringLiteral("Missing.lng"))));
  ExpectTable({});
}

TEST_F(LangFiles, GarbageNeverLeavesTheTable) {
  // Random bytes with keys and signs of the format mixed in: whatever the lines hold, the table keeps its
  // 800 entries and only keys of the table change.
  std::mt19937 rng(12345);
  const char* pieces[] = {"STR", "=", "\xC2\xB6", "\xB6", "/#/", "\r", "\n", "-", "799", "800", "12", " "};
  QByteArray data;
  while (data.size() < 256 * 1024) {
    if (rng() % 3 == 0) {
      data += pieces[rng() % std::size(pieces)];
    } else {
      data += char(rng() & 0xFF);
    }
  }
  for (QByteArray bytes : {data, "\xEF\xBB\xBF" + data, "\xFF\xFE" + data, "\xFE\xFF" + data}) {
    Load_Default_Texts();
    EXPECT_TRUE(Load_Lng_File(Write("Garbage.lng", bytes)));
    EXPECT_EQ(Lang_Texts.size(), Lang_Max);
  }
  // Before the table is filled a file changes nothing.
  Lang_Texts.clear();
  EXPECT_TRUE(Load_Lng_File(Write("Early.lng", "STR5 = early")));
  EXPECT_TRUE(Lang_Texts.isEmpty());
}

}  // namespace
