#pragma once
// The check image lists: strips cut into square masked images, and the lists drawn with the frame-control
// drawing. Every list has the layout CheckImageIndex expects: the empty image, then groups of four.

#include <QImage>
#include <QString>

#include <memory>

#include "platform/graphics/imagelist.h"

namespace lazytree {

// Clears List and fills it with the squares of Strip (as high as it is, cut left to right), transparent where
// the top-left pixel's colour is. With MapColours white, silver, grey and black become the window, button face,
// button shadow and button text colours first. A strip less than one pixel high raises
// "Internal image "Name" is missing or corrupt.".
void LoadCheckImageStrip(plat::TCustomImageList* List, QImage Strip, const QString& ResourceName, bool MapColours);

// 25 images of the check size: empty; radio buttons, check boxes (unchecked and checked) and the mixed box, each
// normal, hot, pushed and inactive; then the four button images of the flat strip (Flat) or the dark check strip.
std::unique_ptr<plat::TImageList> CreateSystemCheckImages(bool Flat);

// The named check image strip ("LT_CHECK_LIGHT", "LT_CHECK_DARK", "LT_TICK_LIGHT", "LT_TICK_DARK", "LT_FLAT",
// "LT_XP": 25 squares in the check image layout; "LT_UTILITIES": 9 squares), drawn in the classic colours on a
// transparent colour in the top-left pixel. Any other name gives a null image.
QImage CheckImageStrip(const QString& ResourceName);

// The shared lists of the tree unit, in the order they are made.
enum TTreeUnitList : int {
  tlLightCheck, tlDarkCheck, tlLightTick, tlDarkTick, tlFlat, tlXP, tlUtilities, tlSystem, tlSystemFlat, tlCount
};

// One-time set-up of the tree unit, run by the first tree made: the unit's lock, the processor and system
// flags, and the nine shared image lists. Only the first call of a process does anything; FinalizeTreeUnit
// (run when the application object goes away, or called directly) frees the lists and lets a later tree set
// the unit up again.
void InitializeTreeUnit();
void FinalizeTreeUnit();
bool TreeUnitInitialized();
// The system colours changed: the strips with mapped colours and the system lists are made again in the new
// colours (the lists keep their identity).
void ReloadCheckImageStrips();
bool TreeUnitHasMMX();
bool TreeUnitIsModernSystem();

// A shared list of the unit, setting the unit up when needed.
plat::TCustomImageList* TreeUnitImages(TTreeUnitList Which);

// The process-wide system lists.
plat::TCustomImageList* SystemCheckImages(bool Flat);

constexpr int CheckImageSize = 16;

// The application's cursor slots the tree unit fills: the vertical split over node and header heights, the
// horizontal split over column dividers.
constexpr int crVertSplit = 62;
constexpr int crHeaderSplit = 63;

// The images of the utilities list (the rest of its nine are empty).
enum TUtilityGlyph : int {
  UtilityDropLeft, UtilityDropRight, UtilitySortDescending, UtilitySortAscending, UtilityThemedSortDescending,
  UtilityThemedSortAscending
};
// The arrow a button-type check image shows over its push button.
constexpr int UtilityButtonArrow = UtilityThemedSortDescending;

}  // namespace lazytree
