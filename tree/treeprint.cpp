// Printing a tree: the picture of the whole tree (with the header band on top when asked for) is painted page by
// page into a page-sized image and drawn stretched onto the printer's page, so memory stays that of one page
// however large the tree is.

#include "tree/treeprint.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/graphics/canvas.h"
#include "platform/rtl/exceptions.h"
#include "tree/treecontrol.h"

namespace lazytree {

TPrintLayout ComputePrintLayout(int PictureW, int PictureH, int DeviceW, int DeviceH, double Ratio) {
  TPrintLayout l;
  l.Ratio = Ratio > 0 ? Ratio : 1;
  l.PageW = std::max(1, static_cast<int>(std::lround(DeviceW / l.Ratio)));
  l.PageH = std::max(1, static_cast<int>(std::lround(DeviceH / l.Ratio)));
  l.Columns = std::max(1, (std::max(PictureW, 0) + l.PageW - 1) / l.PageW);
  l.Rows = std::max(1, (std::max(PictureH, 0) + l.PageH - 1) / l.PageH);
  return l;
}

namespace {

// Printer pixels per screen pixel, from the height of "Tj" in the font on both devices.
double PrinterRatio(const plat::TFont& Font, QPaintDevice* Printer) {
  const QFont screen = Font.QtFont();
  QFont printed = screen;
  printed.setPointSizeF(screen.pixelSize() * 72.0 / Font.PixelsPerInch());
  const double onScreen = QFontMetricsF(screen).boundingRect(QStringLiteral("Tj")).height();
  const double onPrinter = QFontMetricsF(printed, Printer).boundingRect(QStringLiteral("Tj")).height();
  return onScreen > 0 && onPrinter > 0 ? onPrinter / onScreen : 1;
}

// A font drawn without antialiasing gets it for the print, and its old form back afterwards.
struct TSmoothFont {
  plat::TFont* Font;
  plat::TFont Saved;
  explicit TSmoothFont(plat::TFont* F) : Font(F) {
    Saved.Assign(*F);
    if (F->Quality() == plat::fqNonAntialiased || F->Quality() == plat::fqDraft) F->SetQuality(plat::fqAntialiased);
  }
  ~TSmoothFont() {
    if (!Font->IsEqual(Saved)) Font->Assign(Saved);
  }
};

}  // namespace

TPrintLayout TBaseLazyTreeControl::Print(QPagedPaintDevice* Printer, bool PrintHeader) {
  if (!Printer) return {0, 0, 0, 0, 0};
  BeginUpdate();
  struct TUpdateBracket {
    TBaseLazyTreeControl* Tree;
    plat::TColor Color;
    ~TUpdateBracket() {
      Tree->SetColor(Color);
      Tree->EndUpdate();
    }
  } bracket{this, Color()};
  TSmoothFont treeFont(Font());
  TSmoothFont headerFont(Header().Font());
  SetColor(plat::clWhite);

  const int headerH = PrintHeader && Header().Options().Has(hoVisible) ? Header().Height() : 0;
  const plat::TRect tree = GetTreeRect();
  const int pictureW = tree.Width();
  const int pictureH = tree.Height() + headerH;
  QPainter painter;
  if (!painter.begin(Printer)) throw plat::Exception(QStringLiteral("The printer could not start the document."));
  const int deviceW = Printer->width();
  const int deviceH = Printer->height();
  const TPrintLayout layout = ComputePrintLayout(pictureW, pictureH, deviceW, deviceH, PrinterRatio(*Font(), Printer));
  QImage page(layout.PageW, layout.PageH, QImage::Format_RGB32);
  for (int row = 0; row < layout.Rows; ++row) {
    for (int column = 0; column < layout.Columns; ++column) {
      const int x0 = column * layout.PageW;
      const int y0 = row * layout.PageH;
      page.fill(Qt::white);
      {
        plat::TCanvas canvas(&page);
        if (y0 < headerH)
          Header().PaintHeader(&canvas, plat::TRect(x0, 0, x0 + layout.PageW, headerH), plat::TPoint(0, -y0));
        const int top = std::max(y0, headerH);
        const int bottom = std::min(y0 + layout.PageH, pictureH);
        const int right = std::min(x0 + layout.PageW, pictureW);
        if (top < bottom && x0 < right)
          PaintTree(&canvas, plat::TRect(x0, top - headerH, right, bottom - headerH), plat::TPoint(0, top - y0),
                    {poGridLines});
      }
      if (row > 0 || column > 0) Printer->newPage();
      painter.drawImage(QRect(0, 0, deviceW, deviceH - 1), page);
    }
  }
  painter.end();
  return layout;
}

}  // namespace lazytree
