#pragma once
// Rich-text cells (texts starting "{\"): a small reader of the rich-text words a cell carries (bold, italic,
// underline, strike-out, colour table colours, font sizes, paragraphs, escapes), the cell's page rectangle in
// twips, and drawing of the formatted runs through the mini-HTML renderer inside that page.

#include <QString>

#include <vector>

#include "platform/graphics/canvas.h"

namespace grid {

struct TRichRun {
  QString Text;  // "\n" between paragraphs
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  plat::TColor Color = plat::clNone;  // clNone: the cell's font colour
  int Size = 0;                       // points, 0: the cell's font size
};

// The text's runs; destinations (font and colour tables, stylesheets, "{\*" groups) give no text.
std::vector<TRichRun> ReadRichText(const QString& Rtf);
QString RichTextToPlain(const QString& Rtf);
// The runs as mini-HTML, with ForceColor (not clNone) in place of every run colour.
QString RichTextToHTML(const QString& Rtf, plat::TColor ForceColor = plat::clNone);

// The page of a cell in twips (1440 per inch): the rectangle R in device pixels less the horizontal offset
// OffsetX (logical units, scaled by DpiX / 96) on every side.
plat::TRect RichPageTwips(plat::TRect R, int OffsetX, int DpiX, int DpiY);
// A twips rectangle back in pixels of a device with the given resolution.
plat::TRect TwipsToPixels(plat::TRect Twips, int DpiX, int DpiY);

// Draws the cell's rich text on its page; returns the laid-out width.
int DrawRichCellText(plat::TCanvas& C, const QString& Rtf, plat::TRect R, int OffsetX, plat::TColor ForceColor,
                     bool WordWrap);

}  // namespace grid
