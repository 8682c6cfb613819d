#pragma once
// TCellGraphic: the one object a cell may carry in its properties that turns it into a picture, a control
// (check box, radio button, radio group, button, scroll bar, rating), an indicator (progress bar, pie, range
// indicator, shape) or a decoration (comment, balloon, error marker, rotated text). Its kind decides how the
// other fields are read.
//
// Ownership: the object frees exactly what it made or was handed to own (created bitmaps, pictures, icons,
// radio items, image-index lists, balloon strings), once, whatever its kind or fields became later. Objects
// passed in by callers stay theirs. The grid's shared check-box objects are marked Shared and are never
// freed by the cells.

#include <QString>
#include <QVariant>

#include <cstdint>

#include "platform/graphics/gdivalues.h"
#include "platform/graphics/types.h"
#include "platform/rtl/object.h"

namespace grid {

enum TCellType : std::uint8_t {
  ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
  ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
  ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
  ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};
enum TCellHAlign : std::uint8_t { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign : std::uint8_t { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };
enum TCellShape {
  csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond, csLineVert,
  csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp, csArrowDown, csArrowLeft,
  csArrowRight, csHalfStar
};
enum TBalloonIcon { biNone, biInfo, biWarning, biError };
using plat::TCheckBoxState;
using plat::cbUnchecked;
using plat::cbChecked;
using plat::cbGrayed;

struct TScrollProp {
  int PageSize = 0;
  int Range = 0;
};

// A set of cell kinds (one bit per ordinal).
class TCellTypes {
 public:
  constexpr TCellTypes() = default;
  constexpr TCellTypes(std::initializer_list<TCellType> Types) {
    for (TCellType t : Types) FBits |= Bit(t);
  }
  constexpr bool Contains(TCellType t) const { return (FBits & Bit(t)) != 0; }

 private:
  static constexpr std::uint64_t Bit(TCellType t) { return std::uint64_t{1} << t; }
  std::uint64_t FBits = 0;
};

inline constexpr TCellTypes kCheckBoxTypes{ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox,
                                           ctTriStateCheckBox};
inline constexpr TCellTypes kDataCheckBoxTypes{ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox};
// Kinds whose balloon strings hang on the control (CellAngle 1).
inline constexpr TCellTypes kBalloonHostTypes{ctCheckBox, ctDataCheckBox, ctRadioButton};

class TCellGraphic : public plat::TPersistent {
  PLAT_CLASS(TCellGraphic)

  TCellGraphic() = default;
  ~TCellGraphic() override;

  // Copies kind, placement, index, flags, value, angle, marker, text and CellCreated; not the references,
  // the variant value nor the tri-state.
  void Assign(plat::TPersistent* Source) override;

  // ---- setters that give the object its kind
  void SetBitmap(plat::TObject* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
  void SetIcon(plat::TObject* aicon, TCellHAlign hal, TCellVAlign val);
  void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
  void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
  // The list becomes owned.
  void SetMultiImage(plat::TObject* List, int dir, TCellHAlign hal, TCellVAlign val);
  void SetPicture(plat::TObject* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                  TCellHAlign hal, TCellVAlign val);
  void SetFilePicture(plat::TObject* APicture, bool Transparent, TStretchMode stretchmode, int padding,
                      TCellHAlign hal, TCellVAlign val);
  void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
  void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
  void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
  void SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val);
  void SetBitButton(int bw, int bh, const QString& caption, plat::TObject* Glyph, TCellHAlign hal,
                    TCellVAlign val);
  void SetInterfacedCell(plat::TObject* AObject);
  // ctRotated with the angle brought into 0..360 (0 and 360 both stay).
  void SetAngle(int AAngle);

  // Drawn size of a picture of W x H in a cell of cw x rh, after the stretch mode in CellAngle.
  plat::TPoint GetPictureSize(int W, int H, int cw, int rh) const;

  // ---- ownership
  // Hands an object to this graphic to free with it (a created bitmap, picture, icon, list or strings);
  // SetOwnedBitmap also stores it in CellBitmap and frees the bitmap-slot object owned before.
  void SetOwnedBitmap(plat::TObject* Value);
  void SetOwnedIcon(plat::TObject* Value);
  // Frees the owned bitmap-slot object now (CellBitmap is cleared when it held it).
  void FreeOwnedBitmap();
  bool OwnsBitmap() const { return FOwnedBitmap != nullptr; }
  bool Shared() const { return FShared; }
  void SetShared(bool Value) { FShared = Value; }

  // ---- fields, read and written directly
  TCellType CellType = ctNone;
  plat::TObject* CellBitmap = nullptr;
  plat::TObject* CellIcon = nullptr;
  // Colours the described object keeps in the reference fields (progress bars, pies, range indicators,
  // shapes, ratings).
  plat::TColor CellBitmapColor = 0;
  plat::TColor CellIconColor = 0;
  TCellVAlign CellVAlign = vaTop;
  TCellHAlign CellHAlign = haLeft;
  int CellIndex = 0;
  bool CellTransparent = false;
  bool CellCreated = false;
  bool CellBoolean = false;
  int CellAngle = 0;
  double CellValue = 0;
  int CellErrFrom = 0;
  int CellErrLen = 0;
  QString CellText;
  QVariant CellVar;
  TCheckBoxState CellCheckBoxState = cbUnchecked;

 private:
  void Place(TCellType Type, TCellHAlign hal, TCellVAlign val);

  plat::TObject* FOwnedBitmap = nullptr;
  plat::TObject* FOwnedIcon = nullptr;
  bool FShared = false;
};

}  // namespace grid
