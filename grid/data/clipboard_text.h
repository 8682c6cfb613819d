#pragma once
// The text side of the grid's clipboard: reading a tab-separated text line by line, the field quoting of
// multi-line cells, wide-encoded cell texts and the series a smart paste continues. Pure functions over
// strings (and the process's format settings for the series), shared by the clipboard, text drops and the
// payload fuzz target.

#include <QString>
#include <QStringView>

#include <memory>

namespace grid::cliptext {

// Lines of a clipboard text. A line ends at CR (an LF right after it belongs to that end) and, for texts from
// programs that end lines with LF alone, at an LF outside a quoted field (a field that starts with a double
// quote may hold LF characters: the grid's own multi-line cells travel that way).
class TLineReader {
 public:
  explicit TLineReader(const QString& Text) : FText(Text) {}
  // The next line and whether a line break ended it; false after the last line. The text after the last
  // break is a line of its own, even when empty.
  bool Next(QStringView& Line, bool& Break);
  // Whether text follows the line read last.
  bool More() const { return !FDone && FPos < FText.size(); }

 private:
  const QString& FText;
  qsizetype FPos = 0;
  bool FDone = false;
};

// A wide-encoded cell text starts with "|\" and holds each character as two 8-bit halves.
bool IsWideText(const QString& S);
QString DecodeWide(const QString& S);
QString EncodeWide(const QString& S);
// The number of lines of a cell text (1 unless multi-line cells are on).
int LineCount(const QString& S, bool MultiLine);
// A multi-line field for spreadsheets: CR LF becomes character 11, and the field is put in double quotes.
void QuoteMultiLine(QString& S);
// A pasted field that holds a line break (LF or character 11) loses its surrounding double quotes, and
// character 11 becomes CR LF.
void UnquoteField(QString& S);
// The date separator of the format settings at least twice, not side by side and not first.
bool HasTwoDateSeparators(const QString& S);

// A series a smart paste continues from its first two values.
class TSeries {
 public:
  virtual ~TSeries() = default;
  // The text of the next cell; false when the series ends (a value that does not convert).
  virtual bool Next(QString& Text) = 0;
  // Whether a cell the application refused still gets the done and after notifications.
  virtual bool EventsAlways() const { return false; }
};
// The series of A and B: dates and times when both look like them, else numbers with a decimal separator
// (written in FloatFormat), else integers; null when they make no series (the pasted block is repeated then).
// A date or number series whose values do not convert ends at once.
std::unique_ptr<TSeries> MakeSeries(const QString& A, const QString& B, const QString& FloatFormat);

}  // namespace grid::cliptext
