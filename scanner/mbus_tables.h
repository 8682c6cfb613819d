#pragma once
// Internal to the decoder: the VIF tables and the walk over a record's VIF and VIFE chain.

#include "scanner/mbus_types.h"

#include <QString>

#include <cstdint>

namespace mbus_tables {

// What the VIF and the VIFE chain make of a record.
struct TVif_Outcome {
  int16_t Type_Data = -1;       // primary table category, -1 when no row sets one
  int32_t Type_Data_Vife = 0;   // first code set by the extension table or the chain
  int8_t Exponent = 0;          // power of ten the value is multiplied by
  enum TValue_Text : uint8_t { Number, Time_Point, Date_Suffix, Cleared } Value_Text = Number;
};

// The texts a record's description is made of, in order: the VIF's, then one per VIFE suffix. They are the
// tables' own strings, made once, so that a description of one piece is shared rather than built.
struct TDesc_Pieces {
  static constexpr int Max = 1 + int(sizeof(TVariable_MBus::VIFE_Bytes));
  const QString* Piece[Max];
  int Count = 0;
};

// Walks the VIF tables and the VIFE chain of R. When Desc is given, the pieces of the description with its
// suffixes are put in it; otherwise no text is looked up.
void Walk_VIF(const TVariable_MBus& R, TVif_Outcome& Out, TDesc_Pieces* Desc);

// The description the pieces make, as a text that lives as long as the process: the piece itself for one, an
// empty text for none, and for several their join, made once per distinct sequence of pieces. Null when too many
// distinct joins are kept already (the caller joins the pieces itself).
const QString* Lasting_Description(const TDesc_Pieces& P);

}  // namespace mbus_tables
