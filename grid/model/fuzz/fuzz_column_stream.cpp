// Fuzz entry for the column collection's stream reader: any input is either refused with a message or read
// into columns that the writer turns back into exactly the bytes the reader took.

#include "grid/model/column_grid_stream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const QByteArray bytes(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
  std::vector<grid::TColumnRecord> columns;
  qsizetype used = 0;
  QString error;
  if (!grid::ReadColumnStream(bytes, columns, used, error)) {
    if (error.isEmpty() || !columns.empty()) std::abort();
    return 0;
  }
  if (grid::WriteColumnStream(columns) != bytes.left(used)) std::abort();
  return 0;
}
