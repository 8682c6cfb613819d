// libFuzzer target: the binary grid stream reader, whole grids and partial streams placed at a point.

#include <cstddef>
#include <cstdint>

#include "grid/data/bin_stream.h"
#include "grid/data/data_grid.h"
#include "platform/rtl/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const QByteArray bytes(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
  grid::TDataGrid g(4, 4);
  try {
    grid::LoadBinBytesAtPoint(g, plat::TPoint(Size % 3, Size % 5), bytes);
  } catch (const plat::Exception&) {
    // A stream the reader refuses raises the grid's error: that is the expected way out.
  }
  return 0;
}
