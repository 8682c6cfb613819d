// Fuzzes the readers of what the clipboard (or a drop) hands the grid: the text paste with its line and quote
// rules and the growth of the grid, the smart paste's series and block repeat, the raw text form, and the cell
// format. The first byte picks the options and the grid's size; the rest is the payload, as text and as cells.

#include <cstddef>
#include <cstdint>

#include "grid/data/clipboard.h"
#include "grid/data/clipboard_text.h"
#include "grid/data/data_grid.h"
#include "platform/rtl/exceptions.h"

namespace {

class TFuzzHost : public grid::TClipboardHost {
 public:
  TFuzzHost() : G(4, 4) {}
  grid::TGridDataHost& Data() override { return G; }
  grid::TClipboardOptions ClipOptions() const override { return O; }
  plat::TRect Selection() const override { return Sel; }
  void SetSelection(plat::TRect R) override { Sel = R; }
  QString CellText(int ACol, int ARow) override { return G.GetGridCell(ACol, ARow); }
  void SetCellText(int ACol, int ARow, const QString& Value) override { G.SetGridCell(ACol, ARow, Value); }
  bool IsEditable(int ACol, int ARow) override { return (ACol + ARow) % 5 != 4; }
  void InsertRows(int ARow, int Count) override {
    if (G.RowCount() + Count > 2000) return;
    G.SetRowCount(G.RowCount() + Count);
    G.InsertStoreRows(ARow, Count);
  }
  void PasteCell(int ACol, int ARow, const QString& Value) override { Clip.StorePastedCell(ACol, ARow, Value); }
  void PasteDone(plat::TPoint, plat::TRect, grid::TClipOperation) override {}
  grid::TClipboardContent ReadClipboard() override { return Board; }
  void WriteClipboard(const grid::TClipboardContent& Content) override { Board = Content; }
  grid::THTMLOptions HTMLOptions() override { return {}; }

  grid::TDataGrid G;
  grid::TClipboardOptions O;
  plat::TRect Sel;
  grid::TClipboardContent Board;
  grid::TGridClipboard Clip{*this};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1 || Size > 1 << 16) return 0;
  const uint8_t mode = Data[0];
  const QByteArray bytes(reinterpret_cast<const char*>(Data + 1), static_cast<qsizetype>(Size - 1));
  TFuzzHost h;
  h.O.Editing = true;
  h.O.AllowSmartClipboard = mode & 1;
  // Growth stays bounded: a pasted text grows the grid by one row per line at most.
  h.O.AllowClipboardRowGrow = h.O.AllowClipboardColGrow = (mode & 2) && bytes.size() < 4096;
  h.O.ClipboardPasteAction = (mode & 4) ? grid::paInsert : grid::paReplace;
  h.O.AllowFmtClipboard = mode & 8;
  h.O.FloatFormat = QStringLiteral("%.2f");
  const int left = (mode >> 4) & 3, top = (mode >> 6) & 3;
  h.Sel = plat::TRect(left, top, 3, 3);
  const QString text = QString::fromUtf8(bytes);
  try {
    (void)grid::TextSize(text);
    h.Board.HasText = true;
    h.Board.Text = text;
    h.Board.HasCells = h.O.AllowFmtClipboard;
    h.Board.Cells = bytes;
    h.Board.HasRTF = true;
    h.Board.RTF = bytes;
    h.Clip.PasteSelectionFromClipboard();
    h.O.AllowRTFClipboard = true;
    h.O.AllowFmtClipboard = false;
    h.Clip.PasteFromClipboard();
    h.Clip.SetSelectionAsText(text.left(512));
    const qsizetype cut = text.indexOf(u'\n');
    if (cut > 0) {
      std::unique_ptr<grid::cliptext::TSeries> s = grid::cliptext::MakeSeries(text.left(cut), text.mid(cut + 1), h.O.FloatFormat);
      QString v;
      for (int i = 0; s && i < 64 && s->Next(v); ++i) {
      }
    }
  } catch (const plat::Exception&) {
    // A stream that does not read fails as a whole: that is the reader's answer, not a fault.
  }
  return 0;
}
