#include "grid/print/print_settings.h"

#include <QDir>
#include <QFileInfo>

#include "grid/data/visual_props.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifile.h"

namespace grid {

void TPrintSettings::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TPrintSettings*>(Source);
  if (!s) throw plat::EInvalidCast(QStringLiteral("Invalid class typecast"));
  const bool fixedCellsAlways = FixedCellsAlways;
  FFont.Assign(&s->FFont);
  FFixedFont.Assign(&s->FFixedFont);
  FHeaderFont.Assign(&s->FHeaderFont);
  FFooterFont.Assign(&s->FFooterFont);
  FTitleLines.Assign(&s->FTitleLines);
  PageNumSep = s->PageNumSep, DateFormat = s->DateFormat, Borders = s->Borders, Centered = s->Centered;
  UseDisplayFont = s->UseDisplayFont, Time = s->Time, Date = s->Date, PageNr = s->PageNr, Title = s->Title;
  TitleText = s->TitleText, BorderStyle = s->BorderStyle, BorderColor = s->BorderColor;
  RepeatFixedRows = s->RepeatFixedRows, RepeatFixedCols = s->RepeatFixedCols, FooterSize = s->FooterSize;
  HeaderSize = s->HeaderSize, LeftSize = s->LeftSize, RightSize = s->RightSize;
  ColumnSpacing = s->ColumnSpacing, RowSpacing = s->RowSpacing, TitleSpacing = s->TitleSpacing;
  Orientation = s->Orientation, PagePrefix = s->PagePrefix, PageSuffix = s->PageSuffix;
  PageNumberOffset = s->PageNumberOffset, MaxPagesOffset = s->MaxPagesOffset, FixedWidth = s->FixedWidth;
  FixedHeight = s->FixedHeight, UseFixedHeight = s->UseFixedHeight, UseFixedWidth = s->UseFixedWidth;
  FitToPage = s->FitToPage, JobName = s->JobName, NoAutoSize = s->NoAutoSize;
  NoAutoSizeRow = s->NoAutoSizeRow, PrintGraphics = s->PrintGraphics;
  UseDefaultOrientation = s->UseDefaultOrientation;
  FixedCellsAlways = fixedCellsAlways;
}

namespace {

// The Y/N settings in writing order; "UseDisplFont" and "UseDefOrientation" are the stored names.
struct TYesNo {
  const char* Key;
  bool TPrintSettings::*Field;
};
const TYesNo kYesNo[] = {
    {"NoAutoSize", &TPrintSettings::NoAutoSize},         {"UseFixedHeight", &TPrintSettings::UseFixedHeight},
    {"UseFixedWidth", &TPrintSettings::UseFixedWidth},   {"RepeatFixedRows", &TPrintSettings::RepeatFixedRows},
    {"RepeatFixedCols", &TPrintSettings::RepeatFixedCols}, {"UseDisplFont", &TPrintSettings::UseDisplayFont},
    {"UseDefOrientation", &TPrintSettings::UseDefaultOrientation},
};

struct TFontKeys {
  const char* Prefix;
  plat::TFont* (TPrintSettings::*Font)();
};
const TFontKeys kFonts[] = {
    {"Font", &TPrintSettings::Font}, {"HeaderFont", &TPrintSettings::HeaderFont},
    {"FooterFont", &TPrintSettings::FooterFont}};

QString K(const char* Key) { return QString::fromLatin1(Key); }

void WriteFont(plat::TCustomIniFile& Ini, const QString& Section, const char* Prefix, plat::TFont& Font) {
  const QString p = K(Prefix);
  Ini.WriteString(Section, p + QStringLiteral("Name"), Font.Name());
  Ini.WriteInteger(Section, p + QStringLiteral("Size"), Font.Size());
  Ini.WriteInteger(Section, p + QStringLiteral("Style"), FontStyleBits(Font.Style()));
  Ini.WriteInteger(Section, p + QStringLiteral("Color"), static_cast<int>(Font.Color()));
}

void ReadFont(const plat::TCustomIniFile& Ini, const QString& Section, const char* Prefix, plat::TFont& Font) {
  const QString p = K(Prefix);
  Font.SetName(Ini.ReadString(Section, p + QStringLiteral("Name"), QStringLiteral("Arial")));
  Font.SetSize(Ini.ReadInteger(Section, p + QStringLiteral("Size"), 10));
  // The stored styles are added to the font's own.
  Font.SetStyle(Font.Style() + BitsFontStyle(Ini.ReadInteger(Section, p + QStringLiteral("Style"), 0)));
  Font.SetColor(static_cast<plat::TColor>(Ini.ReadInteger(Section, p + QStringLiteral("Color"), 0)));
}

// An enumeration value: in range it is taken, otherwise the setting stays as it was.
template <typename E>
void ReadEnum(const plat::TCustomIniFile& Ini, const QString& Section, const char* Key, int Max, E& Field) {
  const int v = Ini.ReadInteger(Section, K(Key), 0);
  if (v >= 0 && v <= Max) Field = static_cast<E>(v);
}

// A print position: out of range reads as none.
TPrintPosition ReadPosition(const plat::TCustomIniFile& Ini, const QString& Section, const char* Key) {
  const int v = Ini.ReadInteger(Section, K(Key), 0);
  return v >= ppNone && v <= ppBottomCenter ? static_cast<TPrintPosition>(v) : ppNone;
}

}  // namespace

void SavePrintSettings(TPrintSettings& S, const QString& FileName, const QString& Section) {
  plat::TMemIniFile ini(FileName);
  ini.WriteInteger(Section, QStringLiteral("ColumnSpacing"), S.ColumnSpacing);
  ini.WriteInteger(Section, QStringLiteral("RowSpacing"), S.RowSpacing);
  ini.WriteInteger(Section, QStringLiteral("TitleSpacing"), S.TitleSpacing);
  ini.WriteInteger(Section, QStringLiteral("FixedHeight"), S.FixedHeight);
  ini.WriteInteger(Section, QStringLiteral("FixedWidth"), S.FixedWidth);
  ini.WriteString(Section, QStringLiteral("Centered"), BoolYN(S.Centered));
  for (const TYesNo& y : kYesNo) ini.WriteString(Section, K(y.Key), BoolYN(S.*y.Field));
  ini.WriteInteger(Section, QStringLiteral("Borders"), S.Borders);
  ini.WriteInteger(Section, QStringLiteral("BorderColor"), static_cast<int>(S.BorderColor));
  ini.WriteInteger(Section, QStringLiteral("BorderStyle"), S.BorderStyle);
  ini.WriteInteger(Section, QStringLiteral("Date"), S.Date);
  ini.WriteInteger(Section, QStringLiteral("PageNr"), S.PageNr);
  ini.WriteInteger(Section, QStringLiteral("Title"), S.Title);
  ini.WriteInteger(Section, QStringLiteral("Time"), S.Time);
  ini.WriteString(Section, QStringLiteral("DateFormat"), S.DateFormat);
  ini.WriteString(Section, QStringLiteral("TitleText"), S.TitleText);
  ini.WriteInteger(Section, QStringLiteral("FooterSize"), S.FooterSize);
  ini.WriteInteger(Section, QStringLiteral("HeaderSize"), S.HeaderSize);
  ini.WriteInteger(Section, QStringLiteral("LeftSize"), S.LeftSize);
  ini.WriteInteger(Section, QStringLiteral("RightSize"), S.RightSize);
  ini.WriteInteger(Section, QStringLiteral("FitToPage"), S.FitToPage);
  for (const TFontKeys& f : kFonts) WriteFont(ini, Section, f.Prefix, *(S.*f.Font)());
  ini.WriteString(Section, QStringLiteral("PageNumSep"), S.PageNumSep);
  ini.WriteString(Section, QStringLiteral("PageSuffix"), S.PageSuffix);
  ini.WriteString(Section, QStringLiteral("PagePrefix"), S.PagePrefix);
  ini.WriteInteger(Section, QStringLiteral("Orientation"), S.Orientation);
  // The lines as one value: each line break becomes the two characters "\n".
  QString lines;
  for (int i = 0; i < S.TitleLines()->Count(); ++i) {
    if (i > 0) lines += QStringLiteral("\\n");
    lines += S.TitleLines()->Strings(i);
  }
  ini.WriteString(Section, QStringLiteral("TitleLines"), lines);
  ini.WriteString(Section, QStringLiteral("PrintGraphics"), BoolYN(S.PrintGraphics));
  const QString dir = QFileInfo(FileName).absolutePath();
  if (!dir.isEmpty()) QDir().mkpath(dir);
  ini.UpdateFile();
}

void LoadPrintSettings(TPrintSettings& S, const QString& FileName, const QString& Section) {
  // Reading only: the file is left as it is (a read-only or missing file loads the defaults).
  const plat::TMemIniFile ini(FileName);
  const auto integer = [&](const char* Key, int Default) { return ini.ReadInteger(Section, K(Key), Default); };
  const auto yes = [&](const char* Key, const char* Default) {
    return YNBool(ini.ReadString(Section, K(Key), K(Default)));
  };
  S.ColumnSpacing = integer("ColumnSpacing", 20);
  S.RowSpacing = integer("RowSpacing", 20);
  S.TitleSpacing = integer("TitleSpacing", 20);
  S.FixedHeight = integer("FixedHeight", 0);
  S.FixedWidth = integer("FixedWidth", 0);
  S.Centered = yes("Centered", "Y");
  for (const TYesNo& y : kYesNo) S.*y.Field = yes(y.Key, "N");
  S.DateFormat = ini.ReadString(Section, QStringLiteral("DateFormat"), QString());
  S.TitleText = ini.ReadString(Section, QStringLiteral("TitleText"), QString());
  S.FooterSize = integer("FooterSize", 100);
  S.HeaderSize = integer("HeaderSize", 100);
  S.LeftSize = integer("LeftSize", 100);
  S.RightSize = integer("RightSize", 100);
  S.PageNumSep = ini.ReadString(Section, QStringLiteral("PageNumSep"), QString());
  S.PageSuffix = ini.ReadString(Section, QStringLiteral("PageSuffix"), QString());
  S.PagePrefix = ini.ReadString(Section, QStringLiteral("PagePrefix"), QString());
  S.PrintGraphics = yes("PrintGraphics", "N");
  ReadEnum(ini, Section, "Borders", pbCustom, S.Borders);
  ReadEnum(ini, Section, "BorderStyle", plat::psInsideFrame, S.BorderStyle);
  S.BorderColor = static_cast<plat::TColor>(integer("BorderColor", 0));
  S.Date = ReadPosition(ini, Section, "Date");
  S.PageNr = ReadPosition(ini, Section, "PageNr");
  S.Title = ReadPosition(ini, Section, "Title");
  S.Time = ReadPosition(ini, Section, "Time");
  ReadEnum(ini, Section, "FitToPage", fpCustom, S.FitToPage);
  for (const TFontKeys& f : kFonts) ReadFont(ini, Section, f.Prefix, *(S.*f.Font)());
  const QString lines = ini.ReadString(Section, QStringLiteral("TitleLines"), QString());
  S.TitleLines()->Clear();
  if (!lines.isEmpty())
    for (const QString& line : lines.split(QStringLiteral("\\n"))) S.TitleLines()->Add(line);
  ReadEnum(ini, Section, "Orientation", poLandscape, S.Orientation);
}

}  // namespace grid
