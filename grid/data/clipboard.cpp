#include "grid/data/clipboard.h"

#include <QTemporaryDir>

#include <algorithm>

#include "grid/data/bin_records.h"
#include "grid/data/bin_stream.h"
#include "grid/data/clipboard_text.h"
#include "grid/griderror.h"
#include "grid/model/cellgrid.h"
#include "grid/model/undoredo.h"

namespace grid {

namespace {

// An undo sequence of the attached undo manager, when there is one, for a scope.
class TUndoSequence {
 public:
  explicit TUndoSequence(TExtGridUndoRedo* U) : FUndo(U) {
    if (FUndo) FUndo->StartSequence();
  }
  ~TUndoSequence() {
    if (FUndo) FUndo->StopSequence();
  }
  TUndoSequence(const TUndoSequence&) = delete;
  TUndoSequence& operator=(const TUndoSequence&) = delete;

 private:
  TExtGridUndoRedo* FUndo;
};

int CellsOf(plat::TRect R) { return (R.Right - R.Left + 1) * (R.Bottom - R.Top + 1); }

// The counts and the origin grid of a binary grid stream; false when its first record is not the grid record.
struct TStreamHeader {
  int Cols = 0, Rows = 0;
  qint32 ID = 0;
};
bool ReadStreamHeader(const QByteArray& Bytes, TStreamHeader& H) {
  try {
    binrec::TRecordReader in(Bytes.constData(), Bytes.size());
    binrec::TRecord rec;
    in.Next(rec);
    if (rec.Id != binrec::rPropIO) return false;
    H.Cols = static_cast<int>(std::clamp<std::int64_t>(rec[binrec::pColCount].Int, 0, MaxBinCount));
    H.Rows = static_cast<int>(std::clamp<std::int64_t>(rec[binrec::pRowCount].Int, 0, MaxBinCount));
    H.ID = rec[binrec::pID].Present ? static_cast<qint32>(rec[binrec::pID].Int) : 0;
    return true;
  } catch (const EExtGridError&) {
    return false;
  }
}

}  // namespace

// ---------------------------------------------------------------- host defaults

void TClipboardHost::ClearRow(int ARow) {
  TGridDataHost& d = Data();
  for (int c = 0; c < d.ColCount(); ++c) SetCellText(d.DisplToRealCol(c), ARow, QString());
}

void TClipboardHost::ClearCol(int ACol) {
  TGridDataHost& d = Data();
  const int k = d.DisplToRealCol(ACol);
  for (int r = 0; r < d.RowCount(); ++r) SetCellText(k, r, QString());
}

// ---------------------------------------------------------------- text size

TTextSize TextSize(const QString& Text) {
  TTextSize size;
  int breaks = 0, empty = 0;
  cliptext::TLineReader lines(Text);
  QStringView line;
  bool brk = false;
  while (lines.Next(line, brk)) {
    size.Cols = std::max(size.Cols, int(line.count(u'\t')) + 1);
    if (brk) ++breaks;
    if (line.isEmpty()) ++empty;
  }
  size.Rows = std::max(0, breaks - empty);
  return size;
}

// ---------------------------------------------------------------- copy

bool TGridClipboard::RowIncluded(int ARow, bool Disjunct, const TClipboardOptions& O) const {
  return !(O.DisjunctRowSelect && Disjunct && !O.DisjunctColSelect && !FHost.RowSelected(ARow));
}

bool TGridClipboard::ColIncluded(int ACol, bool Disjunct, const TClipboardOptions& O) const {
  return !(O.DisjunctColSelect && Disjunct && !FHost.ColSelected(ACol));
}

namespace {

// Most cells hold none of the characters the copy rules look for: one scan lets them pass as they are.
bool CopiesAsItIs(const QString& t) {
  for (const QChar ch : t) {
    const char16_t u = ch.unicode();
    if (u == u'\r' || u == u'<' || u == u'{' || u == u'|') return false;
  }
  return true;
}

}  // namespace

QString TGridClipboard::CopyCellText(int ARealCol, int ARow, const TClipboardOptions& O) {
  const int k = ARealCol;
  QString t;
  FHost.Data().SaveCell(k, ARow, t);
  if (CopiesAsItIs(t)) return t;
  if (cliptext::IsWideText(t)) t = cliptext::DecodeWide(t);
  if (t.contains(u'\r')) t = u'"' + t.replace(u'\r', u'\n') + u'"';
  if (!O.CopyHTMLTagsToClipboard && t.contains(QStringLiteral("</")))
    t = FHost.StrippedCell(k, ARow);
  else if (t.contains(QStringLiteral("{\\")))
    t = FHost.RichToPlain(t);
  if (O.ExcelClipboardFormat && cliptext::LineCount(t, O.Multilinecells) > 1) cliptext::QuoteMultiLine(t);
  return t;
}

QString TGridClipboard::SelectionText(plat::TRect R, bool Disjunct) {
  const TClipboardOptions o = FHost.ClipOptions();
  TGridDataHost& d = FHost.Data();
  const TCellGrid& store = d.CellStore();
  FClipTopLeft = plat::TPoint(R.Left, R.Top);
  d.ExportNotification(esExportStart, -1);
  const bool wholeRows = R.Top == d.FixedRows() && R.Bottom == d.RowCount() - d.FixedFooters() - 1;
  std::vector<int> cols;  // the real columns of the included display columns
  for (int c = R.Left; c <= R.Right; ++c)
    if (ColIncluded(c, Disjunct, o)) cols.push_back(d.DisplToRealCol(c));
  // The measuring pass of the text's first form: the rows are announced before any is written.
  for (int r = R.Top; r <= R.Bottom; ++r) {
    if (!RowIncluded(r, Disjunct, o)) continue;
    d.ExportNotification(esExportSelRow, r);
    if (wholeRows) d.ExportNotification(esExportNewRow, r);
  }
  QString text;
  const bool lineEnds = R.Bottom > R.Top;
  qsizetype guess = 0;
  for (int r = R.Top; r <= R.Bottom; ++r) {
    if (!RowIncluded(r, Disjunct, o)) continue;
    d.ExportNotification(esExportNewRow, r);
    // Rows no save hook can see are read from the store in place; the others cell by cell through SaveCell.
    const bool stored = d.SavesStoredTexts(r);
    for (size_t i = 0; i < cols.size(); ++i) {
      if (i) text += u'\t';
      if (stored) {
        const QString& t = store.GridCellRef(cols[i], r);
        if (CopiesAsItIs(t)) {
          text += t;
          continue;
        }
      }
      text += CopyCellText(cols[i], r, o);
    }
    if (lineEnds) text += QLatin1String("\r\n");
    // After the first row the text's size is known well enough to reserve it once.
    if (guess == 0 && r < R.Bottom) {
      guess = text.size() * (R.Bottom - R.Top + 1) * 5 / 4;
      text.reserve(guess);
    }
  }
  d.ExportNotification(esExportDone, -1);
  return text;
}

void TGridClipboard::CopyRect(plat::TRect R, bool Disjunct) {
  const TClipboardOptions o = FHost.ClipOptions();
  TClipboardContent c;
  c.Text = SelectionText(R, Disjunct);
  c.HasText = true;
  if (o.AllowRTFClipboard) {
    const QString first = FHost.CellText(FHost.Data().DisplToRealCol(R.Left), R.Top);
    if (first.contains(QStringLiteral("{\\"))) {
      c.RTF = first.toLatin1();
      c.HasRTF = true;
    }
  }
  if (o.AllowFmtClipboard) {
    try {
      c.Cells = BinStreamOfRect(FHost.Data(), R);
      c.HasCells = true;
    } catch (const EExtGridError&) {
      // A rectangle beyond what the cell format addresses goes as text only.
    }
  }
  FHost.WriteClipboard(c);
}

void TGridClipboard::CopyToClipBoard() {
  TGridDataHost& d = FHost.Data();
  const TSaveRange s = SaveRangeOf(d, d.DataOptions());
  CopyRect(plat::TRect(s.StartCol, s.StartRow, s.EndCol, s.EndRow), false);
  FClipLastOp = coCopy;
}

plat::TRect TGridClipboard::WidenedSelection() {
  plat::TRect s = FHost.Selection();
  const plat::TRect was = s;
  const plat::TRect a = FHost.MergedArea(s.Left, s.Top);
  s.Left = std::min(s.Left, a.Left);
  s.Top = std::min(s.Top, a.Top);
  const plat::TRect b = FHost.MergedArea(s.Right, s.Bottom);
  s.Right = std::max(s.Right, b.Right);
  s.Bottom = std::max(s.Bottom, b.Bottom);
  if (!(s == was)) FHost.SetSelection(s);
  return s;
}

void TGridClipboard::CopySelectionToClipboard() {
  const TClipboardOptions o = FHost.ClipOptions();
  TGridDataHost& d = FHost.Data();
  const plat::TRect s = WidenedSelection();
  const TSaveRange save = SaveRangeOf(d, d.DataOptions());
  if (o.DisjunctRowSelect && !o.AllowFmtClipboard)
    CopyRect(plat::TRect(d.FixedCols(), save.StartRow, d.ColCount() - d.FixedRightCols() - 1, save.EndRow), true);
  else if (o.DisjunctColSelect && !o.AllowFmtClipboard)
    CopyRect(plat::TRect(save.StartCol, save.StartRow, save.EndCol, save.EndRow), true);
  else
    CopyRect(s, false);
  FClipLastOp = coCopy;
}

void TGridClipboard::CopyToClipBoardAsHTML() {
  TClipboardContent c;
  {
    QTemporaryDir pictures;
    if (!pictures.isValid()) throw EExtGridError(QStringLiteral("Cannot create a temporary folder"));
    c.HTML = SaveToHTMLString(FHost.Data(), FHost.HTMLOptions(), pictures.path() + u'/');
  }
  c.HasHTML = true;
  c.Text = c.HTML;
  c.HasText = true;
  FHost.WriteClipboard(c);
}

// ---------------------------------------------------------------- cut

void TGridClipboard::CutToClipboard() {
  CopyToClipBoard();
  const TClipboardOptions o = FHost.ClipOptions();
  TGridDataHost& d = FHost.Data();
  const TSaveRange s = SaveRangeOf(d, d.DataOptions());
  for (int r = s.StartRow; r <= s.EndRow; ++r) {
    for (int c = s.StartCol; c <= s.EndCol; ++c) {
      const int k = d.DisplToRealCol(c);
      if (o.AllowClipboardAlways || FHost.IsEditable(k, r)) FHost.SetCellText(k, r, QString());
    }
    if (o.ShowModified) FHost.SetRowModified(r);
  }
  FClipLastOp = coCut;
}

void TGridClipboard::CutSelectionToClipboard() {
  const plat::TRect remembered = FHost.Selection();
  CopySelectionToClipboard();
  const TClipboardOptions o = FHost.ClipOptions();
  TGridDataHost& d = FHost.Data();
  if (o.DisjunctRowSelect) {
    for (int r = d.FixedRows(); r < d.RowCount(); ++r) {
      if (!FHost.RowSelected(r)) continue;
      FHost.ClearRow(r);
      if (o.ShowModified) FHost.SetRowModified(r);
    }
  } else if (o.DisjunctColSelect) {
    for (int c = d.FixedCols(); c < d.ColCount(); ++c)
      if (FHost.ColSelected(c)) FHost.ClearCol(c);
  } else {
    const plat::TRect s = FHost.Selection();
    TExtGridUndoRedo* undo = FHost.UndoRedo();
    TUndoSequence sequence(undo);
    for (int r = s.Top; r <= s.Bottom; ++r) {
      for (int c = s.Left; c <= s.Right; ++c) {
        const int k = d.DisplToRealCol(c);
        if (!o.AllowClipboardAlways && !FHost.IsEditable(k, r)) continue;
        if (undo) undo->RegisterChange(k, r, FHost.CellText(k, r), QString());
        FHost.SetCellText(k, r, QString());
      }
      if (o.ShowModified) FHost.SetRowModified(r);
    }
    if (o.AllowFmtClipboard) FHost.FreeCellProperties(s);
  }
  FClipLastOp = coCut;
  FHost.CellsChangedEvent(remembered);
  if (FHost.HasHiddenColumns()) FHost.Repaint();
}

// ---------------------------------------------------------------- paste

void TGridClipboard::StorePastedCell(int ACol, int ARow, const QString& Value) {
  const int k = FHost.Data().DisplToRealCol(ACol);
  if (TExtGridUndoRedo* undo = FHost.UndoRedo()) undo->RegisterChange(k, ARow, FHost.CellText(k, ARow), Value);
  if (FHost.IsCheckCell(k, ARow))
    FHost.SetCheckStateNotify(k, ARow, Value == FHost.ClipOptions().CheckTrue);
  else
    FHost.SetCellText(k, ARow, Value);
  if (k != ACol) FHost.RepaintCell(ACol, ARow);
}

void TGridClipboard::MarkPastedRows(plat::TRect ToRect) {
  if (!FHost.ClipOptions().ShowModified) return;
  for (int r = ToRect.Top; r <= ToRect.Bottom; ++r) FHost.SetRowModified(r);
}

bool TGridClipboard::CellWritable(int ACol, int ARow, const TClipboardOptions& O) {
  TGridDataHost& d = FHost.Data();
  if (ACol < 0 || ARow < 0 || ACol >= d.ColCount() || ARow >= d.RowCount()) return false;
  return O.AllowClipboardAlways || FHost.IsEditable(d.DisplToRealCol(ACol), ARow);
}

void TGridClipboard::PasteOneField(int ACol, int ARow, QStringView Text, bool Breaks, const TClipboardOptions& O,
                                   plat::TPoint& Reached) {
  // Only cells inside the grid take a value: the paste grows the grid first where it may.
  if (!CellWritable(ACol, ARow, O)) return;
  QString Field = Text.toString();
  if (Breaks) cliptext::UnquoteField(Field);
  bool allow = true;
  const bool wide = cliptext::IsWideText(Field);
  if (wide) {
    QString v = cliptext::DecodeWide(Field);
    FHost.BeforePasteCell(ACol, ARow, v, allow, true);
    Field = cliptext::EncodeWide(v);
  } else {
    FHost.BeforePasteCell(ACol, ARow, Field, allow, false);
  }
  if (!allow) return;
  FHost.PasteCell(ACol, ARow, Field);
  Reached.X = std::max(Reached.X, ACol);
  Reached.Y = std::max(Reached.Y, ARow);
  FHost.AfterPasteCell(ACol, ARow, wide ? cliptext::DecodeWide(Field) : Field, wide);
}

int TGridClipboard::TextPaste(int ACol, int ARow, const QString& Text, int& Lines, int& Fields) {
  const TClipboardOptions o = FHost.ClipOptions();
  if (ACol < 0 || ARow < 0) return 0;
  if (!o.Editing && !o.AllowClipboardAlways && !o.RangeSelectAndEdit) return 0;
  TGridDataHost& d = FHost.Data();
  int count = 0, row = ARow;
  Lines = 0;
  Fields = 0;
  plat::TPoint reached(ACol, ARow);
  {
    TUndoSequence sequence(FHost.UndoRedo());
    cliptext::TLineReader lines(Text);
    QStringView line;
    bool brk = false;
    while (lines.Next(line, brk)) {
      ++Lines;
      FHost.ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, row);
      if (o.ClipboardPasteAction == paInsert && !line.isEmpty()) FHost.InsertRows(row, 1);
      Fields = 1;
      int col = ACol;
      qsizetype from = 0;
      // One pass over the line finds the fields and whether a field holds a line break to unquote.
      const QChar* chars = line.data();
      const qsizetype n = line.size();
      bool breaks = false;
      for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = chars[i].unicode();
        if (u == u'\n' || u == 11) breaks = true;
        if (u != u'\t') continue;
        ++Fields;
        if (col >= d.ColCount() && o.AllowClipboardColGrow) d.SetColCount(col + 1);
        PasteOneField(col, row, line.mid(from, i - from), breaks, o, reached);
        ++count;
        ++col;
        from = i + 1;
        breaks = false;
      }
      // The last field; the empty end of the text is no field to store but counts as one.
      const bool emptyEnd = !brk && from >= n;
      if (!emptyEnd) {
        if (col >= d.ColCount() && o.AllowClipboardColGrow) d.SetColCount(col + 1);
        PasteOneField(col, row, line.mid(from), breaks, o, reached);
      }
      ++count;
      if (!brk) break;
      ++row;
      const int limit = FHost.FloatingFooterRow() ? d.RowCount() - 1 : d.RowCount();
      if (row >= limit && lines.More() && o.AllowClipboardRowGrow && o.ClipboardPasteAction != paInsert)
        d.SetRowCount(d.RowCount() + 1);
    }
  }
  FPastedBlock = plat::TRect(ACol, ARow, reached.X, reached.Y);
  FHost.PasteDone(FClipTopLeft, FPastedBlock, FClipLastOp);
  d.CellsChanged(plat::TRect(d.DisplToRealCol(ACol), ARow, d.DisplToRealCol(std::min(reached.X, d.ColCount() - 1)),
                             reached.Y));
  return count;
}

int TGridClipboard::PasteCells(int ACol, int ARow, const QByteArray& Cells, int& Lines, int& Fields,
                               const TClipboardOptions& O) {
  TGridDataHost& d = FHost.Data();
  TStreamHeader h;
  if (!ReadStreamHeader(Cells, h)) throw EExtGridError(QStringLiteral("Corrupt grid stream"));
  if (O.AllowClipboardRowGrow || O.AllowClipboardColGrow || O.ClipboardPasteAction == paInsert) {
    if (O.AllowClipboardColGrow && h.Cols + ACol >= d.ColCount()) d.SetColCount(h.Cols + ACol);
    if (O.AllowClipboardRowGrow && h.Rows + ARow >= d.RowCount()) d.SetRowCount(h.Rows + ARow);
    Fields = d.ColCount();
    Lines = d.RowCount();
    if (O.ClipboardPasteAction == paInsert && h.Rows > 0) FHost.InsertRows(ARow, h.Rows);
  }
  LoadBinBytesAtPoint(d, plat::TPoint(ACol, ARow), Cells);
  FPastedBlock = plat::TRect(ACol, ARow, ACol + h.Cols - 1, ARow + h.Rows - 1);
  const plat::TPoint from = h.ID == d.GridID() ? FClipTopLeft : plat::TPoint(-1, -1);
  FHost.PasteDone(from, FPastedBlock, FClipLastOp);
  return h.Cols * h.Rows;
}

int TGridClipboard::ClipboardPaste(int ACol, int ARow, int& Lines, int& Fields) {
  const TClipboardOptions o = FHost.ClipOptions();
  const TClipboardContent c = FHost.ReadClipboard();
  if (c.HasCells && FHost.CanPasteCells()) {
    FHost.BeginPaste();
    const int n = PasteCells(ACol, ARow, c.Cells, Lines, Fields, o);
    FHost.EndPaste();
    return n;
  }
  if (o.AllowRTFClipboard && c.HasRTF) {
    const qsizetype end = c.RTF.indexOf('\0');
    const QString rtf = QString::fromLatin1(end < 0 ? c.RTF : c.RTF.left(end));
    TGridDataHost& d = FHost.Data();
    if (ACol >= 0 && ARow >= 0 && ACol < d.ColCount() && ARow < d.RowCount() &&
        FHost.IsEditable(d.DisplToRealCol(ACol), ARow))
      FHost.PasteCell(ACol, ARow, rtf);
    Lines = Fields = 1;
    return 0;
  }
  if (c.HasText) return TextPaste(ACol, ARow, c.Text, Lines, Fields);
  return 0;
}

void TGridClipboard::PasteFromClipboard() {
  TGridDataHost& d = FHost.Data();
  const TSaveRange s = SaveRangeOf(d, d.DataOptions());
  FHost.ImportNotification(isImportStart, -1);
  FPasteAll = true;
  int lines = 0, fields = 0;
  try {
    ClipboardPaste(s.StartCol, s.StartRow, lines, fields);
  } catch (...) {
    FPasteAll = false;
    throw;
  }
  FPasteAll = false;
  FHost.ImportNotification(isImportDone, -1);
  d.AllCellsChanged();
}

void TGridClipboard::PasteSelectionFromClipboard() {
  const TClipboardOptions o = FHost.ClipOptions();
  TGridDataHost& d = FHost.Data();
  const plat::TRect s = WidenedSelection();
  FHost.ImportNotification(isImportStart, -1);
  FPasteAll = false;
  int lines = 0, fields = 0;
  const int n = ClipboardPaste(o.RowSelect ? d.FixedCols() : s.Left, s.Top, lines, fields);
  const bool manyRows = s.Bottom > s.Top, manyCols = s.Right > s.Left;
  if (o.AllowSmartClipboard && n != CellsOf(s) + 1) {
    bool done = false;
    if (n == 1 && CellsOf(s) > 1) {
      FHost.BeginPaste();
      FillSelection(s, o);
      FHost.EndPaste();
      done = true;
    } else if (n > 1 && (!manyRows || !manyCols)) {
      FHost.BeginPaste();
      done = ContinueSeries(s, o);
      if (!done) RepeatBlock(s, o);
      FHost.EndPaste();
    }
    if (!done && manyRows && manyCols && lines == 1) {
      for (int r = s.Top + 1; r <= s.Bottom; ++r) {
        FHost.SetCurrentCell(s.Left, r);
        int l = 0, f = 0;
        ClipboardPaste(s.Left, r, l, f);
      }
      FHost.SetSelection(s);
    }
    if (!done && manyRows && manyCols && fields == 1) {
      for (int c = s.Left + 1; c <= s.Right; ++c) {
        FHost.SetCurrentCell(c, s.Top);
        int l = 0, f = 0;
        ClipboardPaste(c, s.Top, l, f);
      }
      FHost.SetSelection(s);
    }
  }
  FHost.ImportNotification(isImportDone, -1);
  d.CellsChanged(plat::TRect(d.DisplToRealCol(s.Left), s.Top, d.DisplToRealCol(s.Right), s.Bottom));
  d.AllCellsChanged();
}

// ---------------------------------------------------------------- smart paste

bool TGridClipboard::SeriesCell(plat::TRect S, int ACol, int ARow, const QString& Value, bool EventsAlways) {
  const TClipboardOptions o = FHost.ClipOptions();
  if (!CellWritable(ACol, ARow, o)) return false;
  const bool topLeft = ACol == S.Left && ARow == S.Top;
  QString v = Value;
  bool allow = true;
  if (!topLeft) FHost.BeforePasteCell(ACol, ARow, v, allow, false);
  if (allow) FHost.PasteCell(ACol, ARow, v);
  if (allow || EventsAlways) {
    FHost.PasteDone(FClipTopLeft, plat::TRect(ACol, ARow, ACol, ARow), coCopy);
    if (!topLeft) FHost.AfterPasteCell(ACol, ARow, v, false);
  }
  return allow;
}

void TGridClipboard::FillSelection(plat::TRect S, const TClipboardOptions& O) {
  TGridDataHost& d = FHost.Data();
  const int k = d.DisplToRealCol(S.Left);
  QString v = FHost.CellText(k, S.Top);
  if (FHost.IsCheckCell(k, S.Top)) v = FHost.CheckState(k, S.Top) ? O.CheckTrue : O.CheckFalse;
  for (int c = S.Left; c <= S.Right; ++c)
    for (int r = S.Top; r <= S.Bottom; ++r) SeriesCell(S, c, r, v, false);
}

bool TGridClipboard::ContinueSeries(plat::TRect S, const TClipboardOptions& O) {
  TGridDataHost& d = FHost.Data();
  const bool singleRow = S.Top == S.Bottom;
  const QString a = FHost.CellText(d.DisplToRealCol(S.Left), S.Top);
  const QString b = singleRow ? FHost.CellText(d.DisplToRealCol(S.Left + 1), S.Top)
                              : FHost.CellText(d.DisplToRealCol(S.Left), S.Top + 1);
  std::unique_ptr<cliptext::TSeries> series = cliptext::MakeSeries(a, b, O.FloatFormat);
  if (!series) return false;
  // The value advances for every cell of the selection, written or not; a value that does not convert ends
  // the series where it stands.
  for (int c = S.Left; c <= S.Right; ++c)
    for (int r = S.Top; r <= S.Bottom; ++r) {
      QString text;
      if (!series->Next(text)) return true;
      SeriesCell(S, c, r, text, series->EventsAlways());
    }
  return true;
}

void TGridClipboard::RepeatBlock(plat::TRect S, const TClipboardOptions& O) {
  (void)O;
  TGridDataHost& d = FHost.Data();
  const bool singleCol = S.Left == S.Right;
  // The period is the pasted block: its rows down a column, its columns along a row.
  const int period = singleCol ? FPastedBlock.Bottom - S.Top + 1 : FPastedBlock.Right - S.Left + 1;
  if (period < 1) return;
  plat::TRect filled(S.Left, S.Top, S.Left, S.Top);
  if (singleCol) {
    for (int r = S.Top + period; r <= S.Bottom; ++r) {
      const QString v = FHost.CellText(d.DisplToRealCol(S.Left), r - period);
      if (SeriesCell(S, S.Left, r, v, false)) filled.Bottom = r;
    }
  } else {
    for (int c = S.Left + period; c <= S.Right; ++c) {
      const QString v = FHost.CellText(d.DisplToRealCol(c - period), S.Top);
      if (SeriesCell(S, c, S.Top, v, false)) filled.Right = c;
    }
  }
  FHost.PasteDone(plat::TPoint(S.Left, S.Top), filled, coCopy);
}

// ---------------------------------------------------------------- raw text

void TGridClipboard::SetSelectionAsText(const QString& Value) {
  TGridDataHost& d = FHost.Data();
  const plat::TRect s = FHost.Selection();
  TCellGrid& store = d.CellStore();
  int row = s.Top, maxCol = s.Left, maxRow = s.Top;
  cliptext::TLineReader lines(Value);
  QStringView line;
  bool brk = false;
  while (lines.Next(line, brk)) {
    if (!brk && line.isEmpty()) break;
    int col = s.Left;
    qsizetype from = 0;
    while (true) {
      const qsizetype tab = line.indexOf(u'\t', from);
      QString field = (tab < 0 ? line.mid(from) : line.mid(from, tab - from)).toString();
      cliptext::UnquoteField(field);
      if (col >= d.ColCount()) d.SetColCount(col + 1);
      if (row < d.RowCount()) {
        store.SetGridCell(d.DisplToRealCol(col), row, field);
        maxCol = std::max(maxCol, col);
        maxRow = std::max(maxRow, row);
      }
      if (tab < 0) break;
      from = tab + 1;
      ++col;
    }
    if (!brk) break;
    ++row;
    const int limit = FHost.FloatingFooterRow() ? d.RowCount() - 1 : d.RowCount();
    if (row >= limit && lines.More()) d.SetRowCount(d.RowCount() + 1);
  }
  d.CellsChanged(plat::TRect(d.DisplToRealCol(s.Left), s.Top, d.DisplToRealCol(maxCol), maxRow));
}

}  // namespace grid
