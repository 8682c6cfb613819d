// grid_convert IN OUT [options]: loads IN into a string grid without fixed rows or columns and saves it in the format
// OUT's extension names (.csv, .txt grid text, .fix fixed width, .asc aligned text, .grd binary grid stream, .html
// page, .xml flat XML; .xml is read too, .xlsx workbook, .docx document, .pdf the grid printed on A4 pages with the
// default print settings and 10 mm margins; --landscape turns the pages, --fit shrinks columns wider than the page to
// one page width). --sheet NAME reads that sheet of an IN workbook, or writes into that sheet of the workbook OUT,
// keeping its other sheets. --sort COL[:desc] sorts the rows on column COL (0-based; numbers as numbers, dates as
// dates, else text) before saving. --filter COL=TEXT (repeatable) saves only the rows whose column COL (0-based)
// matches the filter condition TEXT (wildcards * and ?, comparisons such as >5 or <=10, & and |, ! to negate). IN "-"
// is standard input (a binary grid stream or CSV). Exit 0 on success; 1 with a one-line message naming the file when a
// file cannot be read or written (OUT is then left as it was); 2 for a wrong call.

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>

#ifdef GRID_CONVERT_PDF
#include <QGuiApplication>
#endif

#include "grid/data/data_grid.h"
#include "platform/rtl/exceptions.h"
#include "tools/grid_convert/convert.h"

namespace {

using gridconvert::TOptions;

int Usage(const QString& Why) {
  std::fprintf(stderr, "grid_convert: %s\nusage: grid_convert IN OUT [--delimiter C] [--quote C] [--always-quote] "
                       "[--positions 0,10,25] [--sort COL[:desc]] [--filter COL=TEXT]... [--sheet NAME] "
                       "[--landscape] [--fit]\n", qPrintable(Why));
  return 2;
}

// Reads the options; false with Why set for a wrong one.
bool ParseOptions(const QStringList& Args, TOptions& O, QString& Why) {
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString& a = Args[i];
    const bool hasValue = i + 1 < Args.size();
    if (a == u"--always-quote") {
      O.AlwaysQuote = true;
    } else if (a == u"--landscape") {
      O.Landscape = true;
    } else if (a == u"--fit") {
      O.Fit = true;
    } else if ((a == u"--delimiter" || a == u"--quote") && hasValue) {
      QString v = Args[++i];
      if (v == u"\\t" || v == u"tab") v = QStringLiteral("\t");
      if (v.size() != 1) return Why = a + QStringLiteral(" takes one character"), false;
      (a == u"--delimiter" ? O.Delimiter : O.Quote) = v[0];
    } else if (a == u"--positions" && hasValue) {
      int last = -1;
      for (const QString& p : Args[++i].split(u',')) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || v <= last) return Why = QStringLiteral("--positions takes rising numbers from 0"), false;
        O.Positions.push_back(last = v);
      }
    } else if (a == u"--sheet" && hasValue) {
      O.Sheet = Args[++i];
    } else if (a == u"--sort" && hasValue) {
      QString v = Args[++i];
      if (v.endsWith(QStringLiteral(":desc"))) O.SortDescending = true, v.chop(5);
      bool ok = false;
      O.SortColumn = v.toInt(&ok);
      if (!ok || O.SortColumn < 0) return Why = QStringLiteral("--sort takes a column number from 0, then :desc"), false;
    } else if (a == u"--filter" && hasValue) {
      const QString v = Args[++i];
      const qsizetype eq = v.indexOf(u'=');
      bool ok = false;
      const int col = eq > 0 ? v.left(eq).toInt(&ok) : -1;
      if (!ok || col < 0) return Why = QStringLiteral("--filter takes COL=TEXT, COL a column number from 0"), false;
      O.Filters.push_back({col, v.mid(eq + 1)});
    } else {
      return Why = QStringLiteral("unknown option ") + a, false;
    }
  }
  return true;
}

// Printing needs fonts and a paint device: a GUI application, without any window, when OUT is a PDF file.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
#ifdef GRID_CONVERT_PDF
  const size_t n = argc > 2 ? std::strlen(argv[2]) : 0;
  if (n >= 4 && QByteArray(argv[2] + n - 4).toLower() == ".pdf") {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The platform's notes (a missing runtime folder and the like) would bury the one-line message.
    qInstallMessageHandler([](QtMsgType Type, const QMessageLogContext&, const QString& Message) {
      if (Type == QtCriticalMsg || Type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(Message));
    });
    return std::make_unique<QGuiApplication>(argc, argv);
  }
#endif
  return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.size() < 2) return Usage(QStringLiteral("IN and OUT are needed"));
  const QString in = args[0], out = args[1];
  TOptions options;
  QString why;
  if (!ParseOptions(args.mid(2), options, why)) return Usage(why);
  const gridconvert::TFormat* to = gridconvert::FormatOf(out);
  if (!to || !to->Save) return Usage(out + QStringLiteral(": no format is written for this extension"));
  if ((options.Landscape || options.Fit) && QString::fromLatin1(to->Extension) != u".pdf")
    return Usage(QStringLiteral("--landscape and --fit apply to printed (.pdf) files only"));
  const gridconvert::TFormat* from = in == u"-" ? nullptr : gridconvert::FormatOf(in);
  if (in != u"-" && (!from || !from->Load)) return Usage(in + QStringLiteral(": no format is read for this extension"));

  grid::TDataGrid g(0, 0);
  try {
    if (from) from->Load(g, in, options);
    else gridconvert::LoadStandardInput(g, options);
  } catch (const plat::Exception& e) {
    std::fprintf(stderr, "grid_convert: %s: %s\n", qPrintable(in), qPrintable(e.Message()));
    return 1;
  }
  try {
    gridconvert::FilterRows(g, options);
    gridconvert::SortRows(g, options);
  } catch (const plat::Exception& e) {
    std::fprintf(stderr, "grid_convert: %s: %s\n", qPrintable(in), qPrintable(e.Message()));
    return 1;
  }
  try {
    to->Save(g, out, options);
  } catch (const plat::Exception& e) {
    std::fprintf(stderr, "grid_convert: %s: %s\n", qPrintable(out), qPrintable(e.Message()));
    return 1;
  }
  return 0;
}
