// libFuzzer target: the fixed-width reader. The first bytes give the split positions, the rest is the text.

#include <cstddef>
#include <cstdint>

#include "grid/data/data_grid.h"
#include "grid/data/fixed_text.h"
#include "grid/model/intlist.h"
#include "platform/rtl/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  const size_t count = Data[0] % 8;
  if (Size < 1 + count) return 0;
  grid::TIntList positions(-1, -1);
  for (size_t i = 0; i < count; ++i) positions.Add(static_cast<int8_t>(Data[1 + i]));
  const QByteArray bytes(reinterpret_cast<const char*>(Data + 1 + count), static_cast<qsizetype>(Size - 1 - count));
  grid::TDataGrid g(2, 2);
  try {
    grid::LoadFixedBytes(g, bytes, positions, Size % 2, Size % 3 ? -1 : 2);
  } catch (const plat::Exception&) {
  }
  return 0;
}
