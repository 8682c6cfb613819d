// libFuzzer target: the grid text format, the file form's reader and the stream form's reader.

#include <cstddef>
#include <cstdint>

#include "grid/data/data_grid.h"
#include "grid/data/grid_text_format.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const QByteArray bytes(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
  {
    grid::TDataGrid g(2, 2);
    g.Options.Multilinecells = Size % 2;
    try {
      grid::LoadGridTextBytes(g, bytes, QStringLiteral("fuzz.txt"));
    } catch (const plat::Exception&) {
    }
  }
  grid::TDataGrid g(2, 2);
  plat::TMemoryStream ms(bytes);
  try {
    grid::LoadGridTextStream(g, ms);
  } catch (const plat::Exception&) {
  }
  return 0;
}
