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
// normal, hot, pushed and inactive; then four empty button slots. Flat: the flat look.
std::unique_ptr<plat::TImageList> CreateSystemCheckImages(bool Flat);

// The process-wide system lists, made on first use.
plat::TCustomImageList* SystemCheckImages(bool Flat);

constexpr int CheckImageSize = 16;

}  // namespace lazytree
