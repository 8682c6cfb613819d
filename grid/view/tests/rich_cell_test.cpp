// Rich-text cells: the reader's runs and plain text, the page rectangle in twips, and formatted runs drawn.
#include "grid/view/rich_cell.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

using plat::TRect;

TEST(RichCell, ReaderKeepsFormattingAndDropsTables) {
  const QString rtf = QStringLiteral(
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator x;}"
      "\\b Bold\\b0  plain \\cf1\\i red\\par\\plain next \\'e9\\u8364?\\{\\}}");
  const auto runs = ReadRichText(rtf);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].Text, "Bold");
  EXPECT_TRUE(runs[0].Bold);
  EXPECT_EQ(runs[1].Text, " plain ");  // the blank after a control word ends it
  EXPECT_FALSE(runs[1].Bold);
  EXPECT_EQ(runs[2].Text, "red\n");
  EXPECT_TRUE(runs[2].Italic);
  EXPECT_EQ(plat::ColorToRGB(runs[2].Color), 0x0000FFu);
  EXPECT_EQ(runs[3].Text, QStringLiteral("next \u00e9\u20ac{}"));
  EXPECT_EQ(runs[3].Color, plat::clNone);
  EXPECT_EQ(RichTextToPlain(rtf), QStringLiteral("Bold plain red\nnext \u00e9\u20ac{}"));
}

TEST(RichCell, HTMLOfTheRunsEscapesTextAndCanForceOneColour) {
  const QString rtf = QStringLiteral("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\cf1\\fs28 a<b\\ul &c\\ulnone}");
  EXPECT_EQ(RichTextToHTML(rtf),
            "<FONT color=\"#0000ff\" size=\"14\">a&lt;b</FONT><FONT color=\"#0000ff\" size=\"14\"><U>&amp;c</U></FONT>");
  EXPECT_EQ(RichTextToHTML(QStringLiteral("{\\rtf1 x}"), plat::clRed), "<FONT color=\"#ff0000\">x</FONT>");
}

TEST(RichCell, PageInTwipsLosesTheScaledOffsetOnEverySide) {
  struct {
    TRect cell;
    int offset, dpi;
    TRect twips;
  } cases[] = {
      {TRect(0, 0, 96, 48), 0, 96, TRect(0, 0, 1440, 720)},
      {TRect(10, 20, 90, 44), 2, 96, TRect(180, 330, 1320, 630)},  // 80 x 24 less 2 px a side
      {TRect(10, 20, 90, 44), 2, 144, TRect(130, 230, 870, 410)},  // the offset grows with the resolution
      {TRect(0, 0, 2, 2), 2, 96, TRect(30, 30, 30, 30)},           // narrower than its offsets: empty
  };
  for (const auto& k : cases) {
    const TRect t = RichPageTwips(k.cell, k.offset, k.dpi, k.dpi);
    EXPECT_EQ(t, k.twips) << k.cell.Left << "," << k.dpi;
  }
  EXPECT_EQ(TwipsToPixels(TRect(180, 330, 1320, 630), 96, 96), TRect(12, 22, 88, 42));
}

}  // namespace
}  // namespace grid
