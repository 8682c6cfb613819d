// Check image lists: strips from images, and the lists drawn with the frame-control drawing.

#include "tree/checkimages.h"

#include <QCoreApplication>
#include <QPainter>

#include <atomic>
#include <mutex>

#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/exceptions.h"
#include "platform/forms/controls.h"
#include "tree/treetransfer.h"

namespace lazytree {

namespace {

void MapStripColours(QImage& Image) {
  struct Pair {
    QRgb from;
    plat::TColor to;
  };
  const Pair pairs[] = {{0xFFFFFF, plat::clWindow}, {0xC0C0C0, plat::clBtnFace}, {0x808080, plat::clBtnShadow},
                        {0x000000, plat::clBtnText}};
  for (int y = 0; y < Image.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(Image.scanLine(y));
    for (int x = 0; x < Image.width(); ++x)
      for (const Pair& p : pairs)
        if ((row[x] & 0xFFFFFF) == p.from) {
          row[x] = plat::ToQColor(p.to).rgb();
          break;
        }
  }
}

}  // namespace

void LoadCheckImageStrip(plat::TCustomImageList* List, QImage Strip, const QString& ResourceName, bool MapColours) {
  if (Strip.height() < 1)
    throw plat::EAssertionFailed(QStringLiteral("Internal image \"%1\" is missing or corrupt.").arg(ResourceName));
  Strip = Strip.convertToFormat(QImage::Format_RGB32);
  if (MapColours) MapStripColours(Strip);
  List->Clear();
  List->SetSize(Strip.height(), Strip.height());
  const int squares = Strip.width() / Strip.height();
  plat::TBitmap bitmap;
  bitmap.SetImage(Strip.copy(0, 0, squares * Strip.height(), Strip.height()));
  List->AddMasked(&bitmap, plat::FromQColor(QColor::fromRgb(Strip.pixel(0, 0))));
}

std::unique_ptr<plat::TImageList> CreateSystemCheckImages(bool Flat) {
  auto list = std::make_unique<plat::TImageList>(nullptr);
  list->SetSize(CheckImageSize, CheckImageSize);
  QImage empty(CheckImageSize, CheckImageSize, QImage::Format_ARGB32);
  empty.fill(Qt::transparent);
  list->AddImage(empty);
  for (int n = 0; n < 20; ++n) {
    unsigned state = n < 8 ? plat::DFCS_BUTTONRADIO : n < 16 ? plat::DFCS_BUTTONCHECK : plat::DFCS_BUTTON3STATE;
    static constexpr unsigned kinds[] = {0, plat::DFCS_HOT, plat::DFCS_PUSHED, plat::DFCS_INACTIVE};
    state |= kinds[n % 4];
    if ((n >= 4 && n <= 7) || n >= 12) state |= plat::DFCS_CHECKED;
    if (Flat) state |= plat::DFCS_FLAT;
    QImage image(CheckImageSize, CheckImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
      plat::TCanvas canvas(&image);
      plat::DrawFrameControl(&canvas, plat::TRect(0, 0, CheckImageSize, CheckImageSize), plat::DFC_BUTTON, state);
    }
    list->AddImage(image);
  }
  // The button images come from a strip list, centred in the cell.
  plat::TImageList strip(nullptr);
  LoadCheckImageStrip(&strip, CheckImageStrip(Flat ? "LT_FLAT" : "LT_CHECK_DARK"), Flat ? "LT_FLAT" : "LT_CHECK_DARK",
                      true);
  for (int n = 21; n < 25; ++n) {
    QImage image = empty;
    const QImage button = strip.GetImage(n);
    QPainter painter(&image);
    painter.drawImage((CheckImageSize - button.width()) / 2, (CheckImageSize - button.height()) / 2, button);
    painter.end();
    list->AddImage(image);
  }
  return list;
}

namespace {

struct TTreeUnit {
  std::atomic<int> setups{0};
  std::unique_ptr<std::mutex> lock;
  bool mmx = false;
  bool modernSystem = false;
  QString mappedColours;  // the system colours the mapped strips were last made in
  std::unique_ptr<plat::TImageList> lists[tlCount];
};

TTreeUnit& Unit() {
  static TTreeUnit unit;
  return unit;
}

bool ProcessorHasMMX() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("mmx");
#else
  return false;
#endif
}

std::unique_ptr<plat::TImageList> LoadedStrip(const char* Name, bool MapColours) {
  auto list = std::make_unique<plat::TImageList>(nullptr);
  std::lock_guard<std::mutex> guard(*Unit().lock);
  LoadCheckImageStrip(list.get(), CheckImageStrip(Name), Name, MapColours);
  return list;
}

}  // namespace

void InitializeTreeUnit() {
  TTreeUnit& unit = Unit();
  if (unit.setups.exchange(1) != 0) return;
  unit.lock = std::make_unique<std::mutex>();
  unit.mmx = ProcessorHasMMX();
  unit.modernSystem = true;  // every system this runs on is past the old drawing limits
  // Process-wide OLE has no counterpart here; the reference format, the splitter cursors and the transfer
  // formats do.
  RegisterClipboardFormat(LazyTreeReferenceFormat);
  plat::SetCursorSlot(crVertSplit, Qt::SplitVCursor);
  plat::SetCursorSlot(crHeaderSplit, Qt::SplitHCursor);
  TClipboardFormatList::Entries();
  static const char* const strips[] = {"LT_CHECK_LIGHT", "LT_CHECK_DARK", "LT_TICK_LIGHT", "LT_TICK_DARK",
                                       "LT_FLAT",        "LT_XP",         "LT_UTILITIES"};
  for (int i = tlLightCheck; i <= tlUtilities; ++i) unit.lists[i] = LoadedStrip(strips[i], i != tlXP);
  for (plat::TColor c : {plat::clWindow, plat::clBtnFace, plat::clBtnShadow, plat::clBtnText})
    unit.mappedColours += plat::ToQColor(c).name();
  unit.lists[tlSystem] = CreateSystemCheckImages(false);
  unit.lists[tlSystemFlat] = CreateSystemCheckImages(true);
  if (QCoreApplication::instance()) qAddPostRoutine(FinalizeTreeUnit);
}

void FinalizeTreeUnit() {
  TTreeUnit& unit = Unit();
  if (unit.setups.load() == 0) return;
  for (auto& list : unit.lists) list.reset();
  unit.lock.reset();
  unit.setups.store(0);
}

void ReloadCheckImageStrips() {
  TTreeUnit& unit = Unit();
  if (unit.setups.load() == 0) return;
  // Every tree hears of a colour change; the shared lists are made again only once per change of colours.
  QString colours;
  for (plat::TColor c : {plat::clWindow, plat::clBtnFace, plat::clBtnShadow, plat::clBtnText})
    colours += plat::ToQColor(c).name();
  if (colours == unit.mappedColours) return;
  unit.mappedColours = colours;
  static const char* const strips[] = {"LT_CHECK_LIGHT", "LT_CHECK_DARK", "LT_TICK_LIGHT", "LT_TICK_DARK",
                                       "LT_FLAT",        "LT_XP",         "LT_UTILITIES"};
  std::lock_guard<std::mutex> guard(*unit.lock);
  // The lists stay the same objects, so trees keep the pointers they hold.
  for (int i = tlLightCheck; i <= tlUtilities; ++i)
    if (i != tlXP) LoadCheckImageStrip(unit.lists[i].get(), CheckImageStrip(strips[i]), strips[i], true);
  for (bool flat : {false, true}) {
    plat::TImageList* list = unit.lists[flat ? tlSystemFlat : tlSystem].get();
    const std::unique_ptr<plat::TImageList> fresh = CreateSystemCheckImages(flat);
    list->Clear();
    for (int i = 0; i < fresh->Count(); ++i) list->AddImage(fresh->GetImage(i));
  }
}

bool TreeUnitInitialized() { return Unit().setups.load() != 0; }
bool TreeUnitHasMMX() { return Unit().mmx; }
bool TreeUnitIsModernSystem() { return Unit().modernSystem; }

plat::TCustomImageList* TreeUnitImages(TTreeUnitList Which) {
  if (Which < 0 || Which >= tlCount) return nullptr;
  InitializeTreeUnit();
  return Unit().lists[Which].get();
}

plat::TCustomImageList* SystemCheckImages(bool Flat) { return TreeUnitImages(Flat ? tlSystemFlat : tlSystem); }

}  // namespace lazytree
