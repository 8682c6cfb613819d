// The grid as an HTML page (html_export.h).

#include "grid/data/html_export.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include <algorithm>

#include "grid/data/data_files.h"
#include "grid/data/text_codec.h"
#include "grid/model/cellgrid.h"
#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

const QString kCRLF = QStringLiteral("\r\n");

QString Q(const QString& S) { return u'"' + S + u'"'; }

// Named entities of Latin-1 from 160 on (the letters a page writer turns into entities on request).
const char* const kLatin1Entities[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// A link only for these schemes: anything else in a cell stays text.
bool LinkScheme(const QString& T, QString& Label, bool Full) {
  static const char* const schemes[] = {"http://", "https://", "ftp://", "file://"};
  const QString t = T.trimmed();
  for (const char* s : schemes)
    if (t.startsWith(QLatin1String(s), Qt::CaseInsensitive)) {
      Label = Full ? t : t.mid(t.indexOf(QLatin1String("://")) + 3, 255);
      return true;
    }
  if (t.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
    Label = Full ? t : t.mid(7, 255);
    return true;
  }
  return false;
}

class TPageWriter {
 public:
  TPageWriter(TGridDataHost& Host, const THTMLOptions& Options, const QString& Dir)
      : FHost(Host), FOptions(Options), FDir(Dir) {}
  QString Page();

 private:
  void Cell(int ACol, int ARow, bool Header, bool HeaderWritten, int C0);
  QString Text(const QString& Raw, bool Header) const;
  QString Style(const TExportLook& Look);
  QString Content(int RCol, int ARow, QString Text);
  QString PictureTag(const QByteArray& Jpeg);

  TGridDataHost& FHost;
  const THTMLOptions& FOptions;
  QString FDir;
  QStringList FBody, FStyles;
  QString FLine;
  int FPicture = 0;
  bool FImagesMade = false;
};

QString TPageWriter::Page() {
  const TGridDataOptions o = FHost.DataOptions();
  const int c0 = o.SavesFixedCols() ? 0 : FHost.FixedCols();
  const int r0 = o.SavesFixedRows() ? 0 : FHost.FixedRows();
  QString prefix;
  if (FOptions.XHTML)
    prefix = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n"
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
        "<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n");
  if (!FOptions.PrefixTag.isEmpty()) prefix += FOptions.PrefixTag;

  QString table = QStringLiteral("<TABLE BORDER=") + Q(QString::number(FOptions.BorderSize)) +
                  QStringLiteral(" CELLSPACING=") + Q(QString::number(FOptions.CellSpacing)) +
                  QStringLiteral(" CELLPADDING=") + Q(QString::number(FOptions.CellPadding)) + u' ';
  if (!FOptions.Summary.isEmpty()) table += QStringLiteral("SUMMARY=") + Q(FOptions.Summary) + u' ';
  if (!FOptions.TableStyle.isEmpty()) table += u' ' + FOptions.TableStyle + u' ';
  table += QStringLiteral(" WIDTH=") + Q(QString::number(FOptions.Width) + u'%') + u'>';
  FBody << table;

  TExportRun run(FHost, r0);
  const bool header = FHost.FixedRows() > 0 && o.SavesFixedRows();
  int start = r0;
  if (header) {
    run.NextRow(0);
    FLine = QStringLiteral("<TR>");
    for (int c = c0; c < FHost.ColCount(); ++c) Cell(c, 0, true, true, c0);
    FBody << FLine + QStringLiteral("</TR>");
    start = 1;
  }
  // The body's pictures are numbered from 1; pictures of the header row keep their own numbers.
  FPicture = std::max(FPicture, 1);
  for (int r = start; r < FHost.RowCount(); ++r) {
    run.NextRow(r);
    FLine = QStringLiteral("<TR>");
    for (int c = c0; c < FHost.ColCount(); ++c) Cell(c, r, false, header, c0);
    FBody << FLine + QStringLiteral("</TR>");
  }
  FBody << QStringLiteral("</TABLE>");
  if (!FOptions.SuffixTag.isEmpty()) FBody << FOptions.SuffixTag;
  if (FOptions.XHTML) FBody << QStringLiteral("</HTML>");
  run.Finish();

  QString styles = QStringLiteral("<style>") + kCRLF;
  for (int i = 0; i < FStyles.size(); ++i)
    styles += QStringLiteral(".c") + QString::number(i) + QStringLiteral(" {") + FStyles[i] + u'}' + kCRLF;
  styles += QStringLiteral("</style>") + kCRLF;
  return prefix + styles + FBody.join(kCRLF) + kCRLF;
}

QString TPageWriter::Text(const QString& Raw, bool Header) const {
  QString t = Raw;
  if (!Header) {
    if (FOptions.ConvertSpecialChars) t = HTMLEntities(t, true);
    if (FOptions.NonBreakingText) t = HTMLBlanksToNbsp(t);
  }
  t.replace(u'\r', QStringLiteral("<br>"));
  if (FOptions.URLShow && !Raw.contains(QLatin1String("</"))) {
    QString label;
    if (LinkScheme(Raw, label, FOptions.URLFull))
      t = QStringLiteral("<a href=") + Q(HTMLEntities(Raw.trimmed(), false)) + u'>' +
          (FOptions.ConvertSpecialChars ? HTMLEntities(label, true) : label) + QStringLiteral("</a>");
  }
  if (Header ? t.isEmpty() : t.trimmed().isEmpty()) t = QStringLiteral("&nbsp;");
  return t;
}

QString TPageWriter::Style(const TExportLook& Look) {
  QStringList parts;
  if (Look.Background != plat::clNone && FOptions.SaveColor)
    parts << QStringLiteral("background-color: #") + HTMLHexColor(Look.Background);
  if (Look.FontColor != plat::clNone && FOptions.SaveColor)
    parts << QStringLiteral("color: #") + HTMLHexColor(Look.FontColor);
  parts << QStringLiteral("font-size:") + QString::number(Look.FontSize) + QStringLiteral("pt");
  if (Look.Italic) parts << QStringLiteral("font-style: italic");
  if (Look.Bold) parts << QStringLiteral("font-weight: bold");
  parts << QStringLiteral("font-family: ") + Look.FontName;
  if (Look.Alignment == plat::taRightJustify) parts << QStringLiteral("text-align: right");
  else if (Look.Alignment == plat::taCenter) parts << QStringLiteral("text-align: center");
  static const char* const valign[] = {"vertical-align: top", "vertical-align: middle", "vertical-align: bottom"};
  parts << QLatin1String(valign[std::clamp(int(Look.VAlignment), 0, 2)]);
  const QString style = parts.join(u';');
  qsizetype i = FStyles.indexOf(style);
  if (i < 0) {
    i = FStyles.size();
    FStyles << style;
  }
  return QString::number(i);
}

QString TPageWriter::PictureTag(const QByteArray& Jpeg) {
  const QString folder = FDir + QStringLiteral("images");
  if (!FImagesMade && !QDir().mkpath(folder))
    throw plat::Exception(QStringLiteral("Cannot create ") + folder);
  FImagesMade = true;
  const QString file = folder + QStringLiteral("/img") + QString::number(FPicture++) + QStringLiteral(".jpg");
  WriteWholeFile(file, Jpeg);
  // A proper file URL: "file://images/..." would name a host.
  const QString url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded);
  return QStringLiteral("<img src= ") + Q(url) + u'>';
}

QString TPageWriter::Content(int RCol, int ARow, QString Text) {
  if (!FOptions.ExportImages) return Text;
  TExportPictures pictures;
  FHost.ExportCellPictures(RCol, ARow, Text, pictures);
  QString tags;
  for (const QByteArray& jpeg : pictures.Jpegs) tags += PictureTag(jpeg);
  return pictures.BeforeText ? tags + Text : Text + tags;
}

void TPageWriter::Cell(int ACol, int ARow, bool Header, bool HeaderWritten, int C0) {
  const int k = FHost.DisplToRealCol(ACol);
  const TCellGrid& store = FHost.CellStore();
  if (store.IsMergedNonBaseCell(k, ARow)) return;
  QString span;
  if (store.IsMergedCell(k, ARow)) {
    const plat::TPoint s = store.CellSpan(k, ARow);
    if (s.X > 0) span += QStringLiteral(" COLSPAN=") + Q(QString::number(s.X + 1));
    if (s.Y > 0) span += QStringLiteral(" ROWSPAN=") + Q(QString::number(s.Y + 1));
  }
  QString raw;
  FHost.SaveCell(k, ARow, raw);
  const QString t = Text(raw, Header);

  QString width;
  if (Header && ACol < FOptions.ColWidths.size())
    width = QStringLiteral(" WIDTH=") + QString::number(FOptions.ColWidths[ACol]);
  else if (!Header && !HeaderWritten && ACol - C0 < FOptions.ColWidths.size())
    width = QStringLiteral(" width=") + QString::number(FOptions.ColWidths[ACol - C0]);

  TExportLook look;
  FHost.ExportCellLook(k, ARow, look);
  if (Header || FHost.IsFixedCell(ACol, ARow)) look.Background = FOptions.FixedColor;
  const QString nowrap = look.WordWrap ? QString() : QStringLiteral(" nowrap");
  FLine += QStringLiteral("<TD class=") + Q(u'c' + Style(look)) + span + nowrap + width + u'>' +
           Content(k, ARow, t) + QStringLiteral("</td>");
}

QStringList FileLines(const QString& FileName) { return SplitLines(DecodeText(ReadWholeFile(FileName))); }

}  // namespace

QString HTMLEntities(const QString& S, bool Extended) {
  QString r;
  r.reserve(S.size() + 16);
  for (QChar c : S) {
    switch (c.unicode()) {
      case u'&': r += QLatin1String("&amp;"); break;
      case u'<': r += QLatin1String("&lt;"); break;
      case u'>': r += QLatin1String("&gt;"); break;
      case u'"': r += QLatin1String("&quot;"); break;
      default:
        if (Extended && c.unicode() >= 160 && c.unicode() <= 255)
          r += u'&' + QLatin1String(kLatin1Entities[c.unicode() - 160]) + u';';
        else
          r += c;
    }
  }
  return r;
}

QString HTMLBlanksToNbsp(const QString& S) {
  QString r = S;
  return r.replace(u' ', QStringLiteral("&nbsp;"));
}

QString HTMLHexColor(plat::TColor Color) {
  return QStringLiteral("%1%2%3")
      .arg(plat::GetRValue(Color), 2, 16, QChar(u'0'))
      .arg(plat::GetGValue(Color), 2, 16, QChar(u'0'))
      .arg(plat::GetBValue(Color), 2, 16, QChar(u'0'))
      .toUpper();
}

QString AsciiWithReferences(const QString& S) {
  QString r;
  r.reserve(S.size());
  for (qsizetype i = 0; i < S.size(); ++i) {
    const QChar c = S[i];
    if (c.unicode() < 128) {
      r += c;
      continue;
    }
    char32_t code = c.unicode();
    if (c.isHighSurrogate() && i + 1 < S.size() && S[i + 1].isLowSurrogate())
      code = QChar::surrogateToUcs4(c, S[++i]);
    r += QStringLiteral("&#") + QString::number(quint32(code)) + u';';
  }
  return r;
}

QString SaveToHTMLString(TGridDataHost& Host, const THTMLOptions& Options, const QString& Dir) {
  return TPageWriter(Host, Options, Dir).Page();
}

void SaveToHTML(TGridDataHost& Host, const THTMLOptions& Options, const QString& FileName, bool Unicode,
                bool Append) {
  QStringList lines;
  if (Append) {
    try {
      lines = FileLines(FileName);
    } catch (const plat::Exception&) {
      // A page that cannot be read is started anew.
    }
  }
  if (!Options.HeaderFile.isEmpty()) lines << FileLines(Options.HeaderFile);
  QString dir = QFileInfo(FileName).path();
  dir.replace(u'\\', u'/');
  if (!dir.endsWith(u'/')) dir += u'/';
  lines << SplitLines(SaveToHTMLString(Host, Options, dir));
  if (!Options.FooterFile.isEmpty()) lines << FileLines(Options.FooterFile);
  const QString text = lines.join(kCRLF) + kCRLF;
  WriteWholeFile(FileName, Unicode ? EncodeText(text, TTextEncoding::Utf16LE) : AsciiWithReferences(text).toLatin1());
}

}  // namespace grid
