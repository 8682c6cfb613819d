// Text layout measured against the Qt metrics of the same font; glyph pixels are never compared.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

using namespace plat;

namespace {

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() : bmp(300, 120) {
    c = bmp.Canvas();
    c->Font()->SetName(QStringLiteral("DejaVu Sans"));
    c->Font()->SetSize(10);
    c->Font()->SetColor(clBlack);
    c->SetTracer(&tracer);
  }
  QFontMetrics Fm() const { return QFontMetrics(c->QtFont()); }
  int W(const QString& s) const { return Fm().horizontalAdvance(s); }
  std::vector<TCanvasTraceRecord> Lines() const { return tracer.OfKind(TraceKind::DrawTextLine); }
  std::vector<QString> LineTexts() const {
    std::vector<QString> out;
    for (const auto& r : Lines()) out.push_back(r.Text);
    return out;
  }

  TBitmap bmp;
  TCanvas* c;
  TRecordingTracer tracer;
};

TEST_F(DrawTextTest, FontSizeBecomesPixelHeightAtNinetySixDpi) {
  EXPECT_EQ(c->Font()->Height(), -13);
  EXPECT_EQ(c->QtFont().pixelSize(), 13);
  EXPECT_EQ(c->TextHeight(QStringLiteral("Xg")), Fm().height());
  EXPECT_EQ(c->TextWidth(QStringLiteral("Hello")), W(QStringLiteral("Hello")));
  EXPECT_EQ(c->TextWidth(QString()), 0);
  EXPECT_EQ(c->TextHeight(QString()), Fm().height());
}

TEST_F(DrawTextTest, CalcRectMeasuresTheTextAndKeepsTheTopLeft) {
  struct Case {
    const char* text;
    unsigned flags;
    const char* widest;  // the line that sets the width
    int lines;
  };
  const Case cases[] = {
      {"Hello world", DT_SINGLELINE, "Hello world", 1},
      {"ab\r\nlonger line\nxy", 0, "longer line", 3},
      {"ab\r\nlonger line", DT_SINGLELINE, "ablonger line", 1},  // line breaks dropped on one line
      {"&File", DT_SINGLELINE, "File", 1},
      {"&File", DT_SINGLELINE | DT_NOPREFIX, "&File", 1},
      {"A&&B", DT_SINGLELINE, "A&B", 1},
      {"tail&", DT_SINGLELINE, "tail", 1},
      {"", DT_SINGLELINE, "", 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text);
    TRect r(7, 9, 17, 19);
    int h = c->DrawText(QString::fromUtf8(k.text), r, k.flags | DT_CALCRECT);
    EXPECT_EQ(r.Left, 7);
    EXPECT_EQ(r.Top, 9);
    EXPECT_EQ(r.Width(), W(QString::fromUtf8(k.widest)));
    EXPECT_EQ(r.Height(), k.lines * Fm().height());
    EXPECT_EQ(h, r.Height());
  }
  EXPECT_EQ(tracer.Records.size(), 0u);  // measuring draws nothing
}

TEST_F(DrawTextTest, WordBreakBreaksAtBlanksAndNeverInsideAWord) {
  const QString text = QStringLiteral("hello wonderful world");
  struct Case {
    int width;
    unsigned extra;
    std::vector<QString> lines;
  };
  const int hw = W(QStringLiteral("hello wonderful"));
  const Case cases[] = {
      {W(text), 0, {text}},
      {hw, 0, {QStringLiteral("hello wonderful"), QStringLiteral("world")}},
      {hw - 1, 0, {QStringLiteral("hello"), QStringLiteral("wonderful"), QStringLiteral("world")}},
      // Narrower than one word: the word stays whole and sticks out.
      {W(QStringLiteral("wonder")), 0, {QStringLiteral("hello"), QStringLiteral("wonderful"), QStringLiteral("world")}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.width);
    tracer.Clear();
    TRect r(0, 0, k.width, 100);
    c->DrawText(text, r, DT_WORDBREAK | k.extra);
    EXPECT_EQ(LineTexts(), k.lines);
    TRect calc(0, 0, k.width, 100);
    c->DrawText(text, calc, DT_WORDBREAK | DT_CALCRECT | k.extra);
    EXPECT_EQ(calc.Height(), int(k.lines.size()) * Fm().height());
    int widest = 0;
    for (const auto& l : k.lines) widest = std::max(widest, W(l));
    EXPECT_EQ(calc.Width(), widest);
  }
}

TEST_F(DrawTextTest, EditControlBreaksAWordThatIsTooWide) {
  const QString word = QStringLiteral("extraordinarily");
  const int width = W(QStringLiteral("extra"));
  TRect r(0, 0, width, 200);
  c->DrawText(word, r, DT_WORDBREAK | DT_EDITCONTROL);
  auto lines = LineTexts();
  ASSERT_GE(lines.size(), 2u);
  QString joined;
  for (const auto& l : lines) {
    EXPECT_LE(W(l), width) << l.toStdString();
    EXPECT_FALSE(l.isEmpty());
    joined += l;
  }
  EXPECT_EQ(joined, word);
}

TEST_F(DrawTextTest, AlignmentPlacesEachLine) {
  const QString t = QStringLiteral("Mid");
  const int w = W(t), h = Fm().height();
  const TRect box(10, 10, 110, 50);
  struct Case {
    unsigned flags;
    int x, y;
  };
  const Case cases[] = {
      {DT_SINGLELINE, 10, 10},
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, (10 + 110 - w) / 2, (10 + 50 - h) / 2},
      {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, 110 - w, 50 - h},
      {DT_RIGHT | DT_BOTTOM, 110 - w, 10},   // vertical alignment needs a single line
      {DT_CENTER | DT_VCENTER | DT_WORDBREAK, (10 + 110 - w) / 2, 10},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.flags);
    tracer.Clear();
    TRect r = box;
    int ret = c->DrawText(t, r, k.flags);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].Points[0], TPoint(k.x, k.y));
    EXPECT_EQ(Lines()[0].Rect, TRect(k.x, k.y, k.x + w, k.y + h));
    EXPECT_EQ(r, box);
    EXPECT_EQ(ret, (k.flags & DT_SINGLELINE) && (k.flags & (DT_VCENTER | DT_BOTTOM)) ? k.y + h - box.Top : h);
  }
}

TEST_F(DrawTextTest, EllipsisShortensLinesThatDoNotFit) {
  struct Case {
    const char* text;
    unsigned flag;
    const char* mustEnd;
    const char* mustStart;
  };
  const Case cases[] = {
      {"The quick brown fox jumps", DT_END_ELLIPSIS, "...", "The"},
      {"The quick brown fox jumps", DT_WORD_ELLIPSIS, "...", "The"},
      {"C:\\Program data\\configurations\\device.xml", DT_PATH_ELLIPSIS, "\\device.xml", "C:"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text);
    const QString text = QString::fromUtf8(k.text);
    const int width = W(text) * 2 / 3;
    tracer.Clear();
    TRect r(0, 0, width, 30);
    c->DrawText(text, r, DT_SINGLELINE | k.flag);
    ASSERT_EQ(Lines().size(), 1u);
    QString drawn = Lines()[0].Text;
    EXPECT_TRUE(drawn.endsWith(QString::fromUtf8(k.mustEnd))) << drawn.toStdString();
    EXPECT_TRUE(drawn.startsWith(QString::fromUtf8(k.mustStart))) << drawn.toStdString();
    EXPECT_TRUE(drawn.contains(QStringLiteral("..."))) << drawn.toStdString();
    EXPECT_LE(W(drawn), width);
    if (k.flag == DT_WORD_ELLIPSIS) {
      // Whole words only before the dots.
      QString before = drawn.left(drawn.size() - 3);
      EXPECT_TRUE(text.startsWith(before + QLatin1Char(' '))) << drawn.toStdString();
    }
    // Text that fits is left alone.
    tracer.Clear();
    TRect wide(0, 0, W(text), 30);
    c->DrawText(text, wide, DT_SINGLELINE | k.flag);
    EXPECT_EQ(Lines()[0].Text, text);
  }
}

TEST_F(DrawTextTest, LastVisibleWrappedLineEndsInEllipsisWhenTextContinues) {
  const QString text = QStringLiteral("one two three four five six seven eight nine ten");
  const int h = Fm().height();
  TRect r(0, 0, W(QStringLiteral("one two three")), 2 * h + h / 2);
  c->DrawText(text, r, DT_WORDBREAK | DT_END_ELLIPSIS);
  auto lines = LineTexts();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], QStringLiteral("one two three"));
  EXPECT_TRUE(lines[1].endsWith(QStringLiteral("..."))) << lines[1].toStdString();
  EXPECT_LE(W(lines[1]), r.Width());
  // Without the flag and with the edit-control rule, the partly visible third line is left out.
  tracer.Clear();
  c->DrawText(text, r, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(DrawTextTest, PrefixUnderlinesTheMarkedCharacter) {
  struct Case {
    const char* text;
    unsigned flags;
    const char* drawn;
    unsigned underline;  // 1 + index, 0 none
  };
  const Case cases[] = {
      {"&File", 0, "File", 1},
      {"Sa&ve as", 0, "Save as", 3},
      {"A&&B", 0, "A&B", 0},
      {"&File", DT_HIDEPREFIX, "File", 0},
      {"&File", DT_NOPREFIX, "&File", 0},
      {"a&&&b", 0, "a&b", 3},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text);
    tracer.Clear();
    TRect r(0, 0, 200, 30);
    c->DrawText(QString::fromUtf8(k.text), r, DT_SINGLELINE | k.flags);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].Text, QString::fromUtf8(k.drawn));
    EXPECT_EQ(Lines()[0].Flags, k.underline);
  }
}

TEST_F(DrawTextTest, TabsExpandToEightAverageCharacterWidths) {
  const int stop = 8 * Fm().averageCharWidth();
  TRect r(0, 0, 300, 30);
  c->DrawText(QStringLiteral("a\tb"), r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  EXPECT_EQ(r.Width(), stop + W(QStringLiteral("b")));
  r = TRect(0, 0, 300, 30);
  c->DrawText(QStringLiteral("a\t\tb"), r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  EXPECT_EQ(r.Width(), 2 * stop + W(QStringLiteral("b")));
}

TEST_F(DrawTextTest, OutputIsClippedToTheRectangleUnlessNoClip) {
  const QString text = QStringLiteral("WWWWWWWWWWWWWWWWWWWW");
  TRect r(20, 20, 60, 40);
  c->DrawText(text, r, DT_SINGLELINE);
  TRect box = plat::testing::BoundingBoxExcept(bmp.Image(), clWhite);
  EXPECT_FALSE(box.IsEmpty());
  EXPECT_GE(box.Left, 20);
  EXPECT_LE(box.Right, 60);
  c->DrawText(text, r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(plat::testing::BoundingBoxExcept(bmp.Image(), clWhite).Right, 60);
}

TEST_F(DrawTextTest, TextOutFillsItsBoxWithTheBrushAndMovesThePen) {
  const QString t = QStringLiteral("Ab");
  const int w = W(t), h = Fm().height();
  c->Brush()->SetColor(clYellow);
  c->TextOut(5, 7, t);
  EXPECT_EQ(c->PenPos(), TPoint(5 + w, 7));
  EXPECT_EQ(plat::testing::BoundingBoxExcept(bmp.Image(), clWhite), TRect(5, 7, 5 + w, 7 + h));
  auto out = tracer.OfKind(TraceKind::TextOut);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].Rect, TRect(5, 7, 5 + w, 7 + h));
  EXPECT_EQ(out[0].Text, t);
  EXPECT_EQ(out[0].FontName, QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(out[0].FontColor, clBlack);
  // A clear brush leaves the background alone.
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 300, 120));
  c->Brush()->SetStyle(bsClear);
  c->TextOut(5, 7, t);
  EXPECT_EQ(plat::testing::CountColour(bmp, clYellow), 0);
}

TEST_F(DrawTextTest, TextRectPaintsTheWholeRectangleAndClips) {
  c->Brush()->SetColor(clAqua);
  c->TextRect(Rect(10, 10, 40, 30), 12, 12, QStringLiteral("WWWWWWWWWWWWWWW"));
  TRect box = plat::testing::BoundingBoxExcept(bmp.Image(), clWhite);
  EXPECT_EQ(box, Rect(10, 10, 40, 30));
  EXPECT_TRUE(plat::testing::ExpectPixel(bmp, 10, 10, clAqua));
  EXPECT_TRUE(plat::testing::ExpectPixel(bmp, 39, 29, clAqua));
}

TEST_F(DrawTextTest, SetTextColorHoldsUntilTheFontChanges) {
  SetTextColor(c->Handle(), clRed);
  TRect r(0, 0, 100, 20);
  c->DrawText(QStringLiteral("x"), r, DT_SINGLELINE);
  EXPECT_EQ(tracer.Records.back().FontColor, clRed);
  c->Font()->SetColor(clBlue);
  c->DrawText(QStringLiteral("x"), r, DT_SINGLELINE);
  EXPECT_EQ(tracer.Records.back().FontColor, clBlue);
}

}  // namespace
