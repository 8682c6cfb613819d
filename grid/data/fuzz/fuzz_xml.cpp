// libFuzzer target: the XML import. The first byte picks LevelToRow, LoadFieldDescr and the fixed rows.

#include <cstddef>
#include <cstdint>

#include "grid/data/data_grid.h"
#include "grid/data/xml_format.h"
#include "platform/rtl/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const uint8_t mode = Data[0];
  const QByteArray bytes(reinterpret_cast<const char*>(Data + 1), static_cast<qsizetype>(Size - 1));
  grid::TDataGrid g(2, 2);
  g.FixedRowCount = (mode & 4) ? 1 : 0;
  g.Options.SaveFixedCells = mode & 8;
  g.Options.QuoteEmptyCells = mode & 16;
  try {
    grid::LoadXMLBytes(g, bytes, mode & 1, mode & 2);
  } catch (const plat::Exception&) {
  }
  return 0;
}
