// Print settings in an INI section: the stored lines, the way back, the load defaults and bad values.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "grid/print/print_settings.h"
#include "platform/rtl/inifile.h"

using namespace grid;

namespace {

QStringList FileLines(const QString& Path) {
  QFile f(Path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

TEST(PrintSettingsIni, SavedLinesReadBackIntoAFreshSettingsObject) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("print.ini"));
  TPrintSettings s;
  s.Centered = false, s.RepeatFixedCols = true, s.UseDisplayFont = false;
  s.Borders = pbAroundVertical, s.BorderStyle = plat::psDot, s.BorderColor = 0x112233;
  s.Date = ppTopLeft, s.PageNr = ppBottomRight, s.Title = ppTopCenter, s.Time = ppBottomLeft;
  s.DateFormat = QStringLiteral("yyyy-mm-dd"), s.TitleText = QStringLiteral("Meters = list");
  s.ColumnSpacing = 7, s.RowSpacing = 8, s.TitleSpacing = 9, s.FixedHeight = 50, s.FixedWidth = 60;
  s.FooterSize = 11, s.HeaderSize = 12, s.LeftSize = 13, s.RightSize = 14;
  s.FitToPage = fpShrink, s.Orientation = poLandscape, s.PrintGraphics = true;
  s.PageNumSep = QStringLiteral("|"), s.PagePrefix = QStringLiteral("Page"), s.PageSuffix = QStringLiteral(".");
  s.TitleLines()->Add(QStringLiteral("first"));
  s.TitleLines()->Add(QStringLiteral("second"));
  s.Font()->SetName(QStringLiteral("DejaVu Serif"));
  s.Font()->SetSize(12);
  s.Font()->SetStyle(plat::TFontStyles{plat::fsBold, plat::fsUnderline});
  s.HeaderFont()->SetColor(0x0000FF);
  SavePrintSettings(s, file, QStringLiteral("Print"));

  const QStringList lines = FileLines(file);
  for (const char* want : {"Centered=N", "RepeatFixedCols=Y", "UseDisplFont=N", "NoAutoSize=N",
                           "TitleLines=first\\nsecond", "Borders=6", "BorderStyle=2", "BorderColor=1122867",
                           "PageNr=5", "FitToPage=2", "Orientation=1", "PrintGraphics=Y", "FontName=DejaVu Serif",
                           "FontSize=12", "FontStyle=5", "HeaderFontColor=255", "PageNumSep=|"})
    EXPECT_TRUE(lines.contains(QString::fromLatin1(want))) << want;

  TPrintSettings t;
  LoadPrintSettings(t, file, QStringLiteral("Print"));
  EXPECT_FALSE(t.Centered);
  EXPECT_TRUE(t.RepeatFixedCols);
  EXPECT_FALSE(t.UseDisplayFont);
  EXPECT_EQ(t.Borders, pbAroundVertical);
  EXPECT_EQ(t.BorderStyle, plat::psDot);
  EXPECT_EQ(t.BorderColor, plat::TColor(0x112233));
  EXPECT_EQ(t.Date, ppTopLeft);
  EXPECT_EQ(t.Time, ppBottomLeft);
  EXPECT_EQ(t.TitleText, QStringLiteral("Meters = list"));
  EXPECT_EQ(t.DateFormat, QStringLiteral("yyyy-mm-dd"));
  EXPECT_EQ(t.ColumnSpacing, 7);
  EXPECT_EQ(t.RightSize, 14);
  EXPECT_EQ(t.FitToPage, fpShrink);
  EXPECT_EQ(t.Orientation, poLandscape);
  EXPECT_TRUE(t.PrintGraphics);
  EXPECT_EQ(t.PageNumSep, QStringLiteral("|"));
  ASSERT_EQ(t.TitleLines()->Count(), 2);
  EXPECT_EQ(t.TitleLines()->Strings(1), QStringLiteral("second"));
  EXPECT_EQ(t.Font()->Name(), QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(t.Font()->Size(), 12);
  EXPECT_EQ(t.Font()->Style(), (plat::TFontStyles{plat::fsBold, plat::fsUnderline}));
  EXPECT_EQ(t.HeaderFont()->Color(), plat::TColor(0x0000FF));
}

TEST(PrintSettingsIni, MissingKeysLoadTheirDefaultsAndBadValuesLeaveOrClearTheSetting) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("print.ini"));
  {
    plat::TMemIniFile ini(file);
    ini.WriteString(QStringLiteral("P"), QStringLiteral("Borders"), QStringLiteral("12"));
    ini.WriteString(QStringLiteral("P"), QStringLiteral("Date"), QStringLiteral("9"));
    ini.WriteString(QStringLiteral("P"), QStringLiteral("Orientation"), QStringLiteral("5"));
    ini.WriteString(QStringLiteral("P"), QStringLiteral("FitToPage"), QStringLiteral("-1"));
    ini.WriteString(QStringLiteral("P"), QStringLiteral("Centered"), QStringLiteral("yes"));
    ini.WriteString(QStringLiteral("P"), QStringLiteral("FontStyle"), QStringLiteral("2"));
    ini.UpdateFile();
  }
  TPrintSettings s;
  s.Borders = pbDouble, s.Date = ppTopLeft, s.Orientation = poLandscape, s.FitToPage = fpAlways;
  s.Font()->SetStyle(plat::TFontStyles{plat::fsBold});
  LoadPrintSettings(s, file, QStringLiteral("P"));
  EXPECT_EQ(s.Borders, pbDouble) << "out of range: the setting stays";
  EXPECT_EQ(s.Date, ppNone) << "out of range: none";
  EXPECT_EQ(s.Orientation, poLandscape);
  EXPECT_EQ(s.FitToPage, fpAlways);
  EXPECT_FALSE(s.Centered) << "only \"Y\" is true";
  EXPECT_EQ(s.Font()->Style(), (plat::TFontStyles{plat::fsBold, plat::fsItalic})) << "styles are added";
  EXPECT_EQ(s.LeftSize, 100);
  EXPECT_EQ(s.FooterSize, 100);
  EXPECT_EQ(s.ColumnSpacing, 20);
  EXPECT_EQ(s.Font()->Size(), 10);
  EXPECT_EQ(s.HeaderFont()->Name(), QStringLiteral("Arial"));
  EXPECT_EQ(s.PageNumSep, QString());
  EXPECT_EQ(s.TitleLines()->Count(), 0);
}

TEST(PrintSettingsIni, LoadingNeverWritesTheFile) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("none.ini"));
  TPrintSettings s;
  LoadPrintSettings(s, missing, QStringLiteral("P"));
  EXPECT_FALSE(QFileInfo::exists(missing)) << "a load creates no file";

  const QString readOnly = dir.filePath(QStringLiteral("ro.ini"));
  SavePrintSettings(s, readOnly, QStringLiteral("P"));
  const QByteArray before = [&] {
    QFile f(readOnly);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadUser);
  EXPECT_NO_THROW(LoadPrintSettings(s, readOnly, QStringLiteral("P")));
  QFile f(readOnly);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
}

}  // namespace
