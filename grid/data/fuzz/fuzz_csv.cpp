// libFuzzer target: the CSV reader. The first byte picks the dialect (separator, JavaCSV, first row, insert).

#include <cstddef>
#include <cstdint>

#include "grid/data/csv_format.h"
#include "grid/data/data_grid.h"
#include "grid/data/text_codec.h"
#include "platform/rtl/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const uint8_t mode = Data[0];
  const QByteArray bytes(reinterpret_cast<const char*>(Data + 1), static_cast<qsizetype>(Size - 1));
  grid::TDataGrid g(3, 3);
  g.SetGridCell(2, 2, QStringLiteral("old"));
  g.Options.Delimiter = (mode & 1) ? QChar(u',') : QChar();
  g.Options.JavaCSV = mode & 2;
  g.Options.LoadFirstRow = !(mode & 4);
  g.FixedFooterCount = (mode & 8) ? 1 : 0;
  g.FloatingFooter = mode & 16;
  if (mode & 32) g.OnFileProgress = [](int) {};
  try {
    grid::LoadCSVText(g, grid::DecodeText(bytes), (mode >> 6) * 3, mode & 8);
  } catch (const plat::Exception&) {
  }
  return 0;
}
