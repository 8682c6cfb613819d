// The mini-HTML renderer through the canvas tracer: which runs are drawn, where, in which font and colour.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "controls/mini_html.h"
#include "controls/picture.h"
#include "picture_samples.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"
#include "platform/testing/pixels.h"

using namespace controls;
using namespace plat;

namespace {

struct Outputs {
  QString anchor, stripped, focusAnchor, title, controlID, controlValue, controlType;
  int xSize = 0, ySize = 0, links = 0, mouseLink = 0;
  TRect hoverRect, controlRect;
  bool result = false;
};

class HtmlTest : public ::testing::Test {
 protected:
  HtmlTest() : bmp(300, 120) {
    c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 300, 120));
    c->Font()->SetName("DejaVu Sans");
    c->Font()->SetSize(8);
    c->Font()->SetColor(clBlack);
    c->SetTracer(&trace);
  }

  Outputs Render(const QString& text, TRect r = TRect(0, 0, 300, 120), int x = -1, int y = -1, bool hotSpot = false,
                 bool wordWrap = true, bool calcOnly = false, const QString& controlID = {}, int bidi = 0) {
    Outputs o;
    o.controlID = controlID;
    o.result = RenderHTMLText(*c, text, r, nullptr, x, y, -1, -1, 1, hotSpot, calcOnly, false, false, false, false,
                              wordWrap, false, 1.0, clBlue, clNone, clNone, clGray, o.anchor, o.stripped,
                              o.focusAnchor, o.title, o.xSize, o.ySize, o.links, o.mouseLink, o.hoverRect,
                              o.controlRect, o.controlID, o.controlValue, o.controlType, &cache, &container, nullptr,
                              bidi);
    return o;
  }

  std::vector<TCanvasTraceRecord> Runs() { return trace.OfKind(TraceKind::DrawText); }

  TBitmap bmp;
  TCanvas* c;
  TRecordingTracer trace;
  THTMLPictureCache cache;
  TPictureContainer container{nullptr};
};

TEST_F(HtmlTest, StrippedTextKeepsAmpersands) {
  EXPECT_EQ(Render("a &amp; b<BR>&lt;c&gt;&nbsp;d").stripped, "a & b\r<c> d");
}

TEST_F(HtmlTest, EmptyText) {
  const int th = c->TextHeight("Xy");
  const Outputs o = Render("");
  EXPECT_FALSE(o.result);
  EXPECT_EQ(o.ySize, th);
  EXPECT_EQ(o.xSize, 0);
  EXPECT_EQ(o.links, 0);
  EXPECT_EQ(o.mouseLink, -1);
}

TEST_F(HtmlTest, BoldRunsAndStrippedText) {
  const Outputs o = Render("<B>x</B>y");
  EXPECT_EQ(o.stripped, "xy");
  const auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Text, "x");
  EXPECT_TRUE(runs[0].FontStyle.Contains(fsBold));
  EXPECT_EQ(runs[1].Text, "y");
  EXPECT_FALSE(runs[1].FontStyle.Contains(fsBold));
  EXPECT_EQ(runs[0].Rect.Left, 1);  // one pixel inside the rectangle
  c->Font()->SetStyle({fsBold});
  const int boldX = c->TextWidth("x");
  c->Font()->SetStyle({});
  EXPECT_EQ(runs[1].Rect.Left, 1 + boldX);
  EXPECT_EQ(o.xSize, boldX + c->TextWidth("y"));
  // The canvas font comes back unchanged.
  EXPECT_FALSE(c->Font()->Style().Contains(fsBold));
}

TEST_F(HtmlTest, FontSizesFacesAndColours) {
  Render("<FONT SIZE=\"3\">a</FONT><FONT size=\"20\" color=\"#FF0000\">b</FONT><FONT COLOR=\"clLime\">c</FONT>d");
  const auto runs = Runs();
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].FontSize, 12);
  EXPECT_EQ(runs[1].FontSize, 20);
  EXPECT_EQ(runs[1].FontColor, clRed);
  EXPECT_EQ(runs[2].FontColor, clLime);
  EXPECT_EQ(runs[3].FontColor, clBlack);  // the entry font again
  EXPECT_EQ(runs[3].FontSize, 8);

  // BGCOLOR before COLOR is not taken for COLOR.
  trace.Clear();
  Render("<FONT BGCOLOR=\"#00FF00\" COLOR=\"#0000FF\">x</FONT>");
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0].FontColor, clBlue);
}

TEST_F(HtmlTest, WrappingAndEllipsis) {
  const QString text = "alpha beta gamma delta epsilon zeta eta theta";
  // Word wrap: every line fits, and lines break at blanks.
  Outputs o = Render(text, TRect(0, 0, 80, 120));
  auto runs = Runs();
  std::set<int> tops;
  for (const auto& r : runs) {
    EXPECT_LE(r.Rect.Left + c->TextWidth(r.Text.trimmed()), 80) << r.Text.toStdString();
    tops.insert(r.Rect.Top);
  }
  EXPECT_GT(tops.size(), 2u);
  EXPECT_EQ(o.ySize, int(tops.size()) * c->TextHeight("Xy"));

  // No word wrap: one line that ends with an ellipsis.
  trace.Clear();
  o = Render(text, TRect(0, 0, 80, 120), -1, -1, false, false);
  auto lines = trace.OfKind(TraceKind::DrawTextLine);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].Text.endsWith("...")) << lines[0].Text.toStdString();
  EXPECT_EQ(o.ySize, c->TextHeight("Xy"));
}

TEST_F(HtmlTest, AnchorsHitTestWithoutPainting) {
  const QString text = "go <A href=\"http://one\" title=\"First\">one</A> or <A href=\"http://two\" title=\"Second\">two</A>";
  Outputs o = Render(text);
  EXPECT_EQ(o.links, 2);
  auto runs = Runs();
  TCanvasTraceRecord second;
  for (const auto& r : runs)
    if (r.Text == "two") second = r;
  ASSERT_EQ(second.Text, "two");
  EXPECT_EQ(second.FontColor, clBlue);  // URL colour
  EXPECT_TRUE(second.FontStyle.Contains(fsUnderline));

  trace.Clear();
  const int x = second.Rect.Left + 3, y = second.Rect.Bottom - 3;
  o = Render(text, TRect(0, 0, 300, 120), x, y, true);
  EXPECT_TRUE(o.result);
  EXPECT_EQ(o.mouseLink, 2);
  EXPECT_EQ(o.anchor, "http://two");
  EXPECT_EQ(o.title, "Second");
  EXPECT_EQ(o.hoverRect.Left, second.Rect.Left);
  EXPECT_TRUE(trace.Records.empty());

  // Outside any anchor.
  o = Render(text, TRect(0, 0, 300, 120), 2, y, true);
  EXPECT_FALSE(o.result);
  EXPECT_EQ(o.mouseLink, -1);
  // Measuring only: the outputs of the hit are there, the result is false.
  o = Render(text, TRect(0, 0, 300, 120), x, y, false, true, true);
  EXPECT_FALSE(o.result);
  EXPECT_EQ(o.mouseLink, 2);
  EXPECT_TRUE(trace.Records.empty());
}

TEST_F(HtmlTest, LinesListsAndHiddenText) {
  Outputs o = Render("a<BR>b<Z>hidden</Z><HR>c");
  EXPECT_EQ(o.stripped, "a\rbhiddenc");
  auto runs = Runs();
  std::vector<QString> drawn;
  for (const auto& r : runs) drawn.push_back(r.Text);
  EXPECT_EQ(drawn, (std::vector<QString>{"a", "b", "c"}));
  const int th = c->TextHeight("Xy");
  EXPECT_EQ(runs[1].Rect.Bottom, 2 * th);
  EXPECT_EQ(o.ySize, 3 * th);
  ASSERT_FALSE(trace.OfKind(TraceKind::Line).empty());  // the HR line

  trace.Clear();
  Render("<UL><LI>one<LI>two</UL>");
  runs = Runs();
  std::vector<QString> texts;
  for (const auto& r : runs) texts.push_back(r.Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(runs[0].FontName, "Symbol");
  EXPECT_EQ(texts[0], QString(QChar(0x00B7)));
  EXPECT_EQ(texts[1], "one");
  EXPECT_GT(runs[2].Rect.Top, runs[0].Rect.Top);  // the second item starts a line
}

TEST_F(HtmlTest, ParagraphAlignmentAndBackground) {
  Render("<P align=\"right\" bgcolor=\"#00FF00\">r</P>");
  auto runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Rect.Left, 300 - c->TextWidth("r"));
  c->EndPainting();
  EXPECT_EQ(FromQColor(bmp.Image().pixelColor(5, 2)), clLime);
}

TEST_F(HtmlTest, PicturesFromContainerAndCache) {
  TPictureItem* item = container.Items()->Add();
  item->SetName("dot");
  item->Picture()->LoadFromBytes(samples::WriteWithQt(samples::TestImage(), "png"));
  Outputs o = Render("a<IMG src=\"DOT\">b<IMG src=\"dot\" width=\"12\">");
  auto draws = trace.OfKind(TraceKind::Draw);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].Rect.Width(), 6);
  auto stretched = trace.OfKind(TraceKind::StretchDraw);
  ASSERT_EQ(stretched.size(), 1u);
  EXPECT_EQ(stretched[0].Rect.Width(), 12);
  EXPECT_EQ(stretched[0].Rect.Height(), 8);  // the aspect ratio kept
  EXPECT_EQ(o.xSize, c->TextWidth("a") + 6 + c->TextWidth("b") + 12);

  // A missing picture takes no space.
  trace.Clear();
  o = Render("a<IMG src=\"nothing\">b");
  EXPECT_EQ(o.xSize, c->TextWidth("a") + c->TextWidth("b"));
  // A URL picture is added to the cache once and never fetched.
  Render("<IMG src=\"http://127.0.0.1/p.png\">");
  Render("<IMG src=\"http://127.0.0.1/p.png\">");
  EXPECT_EQ(cache.Count(), 1);
  EXPECT_TRUE(cache.GetPicture(0)->Empty());
  // A program resource through the cache.
  trace.Clear();
  Render("<IMG src=\"res://dot.png\">");
  draws = trace.OfKind(TraceKind::Draw);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].Rect, TRect(1, 0, 4, 2));  // a line of the picture's height, one pixel inside
}

TEST_F(HtmlTest, InTextControls) {
  const QString text = "x <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"60\"> <CONTROL TYPE=\"CHECK\" ID=\"c1\" "
                       "VALUE=\"TRUE\">";
  Outputs o = Render(text);
  auto parts = trace.OfKind(TraceKind::ThemePart);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].Text, "button");
  EXPECT_EQ(parts[0].Flags, unsigned(BP_CHECKBOX | (CBS_CHECKEDNORMAL << 16)));
  const auto texts = trace.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), QString("abc")), texts.end());

  // Hit on the edit control.
  const int editX = 1 + c->TextWidth("x ") + 5;
  o = Render(text, TRect(0, 0, 300, 120), editX, 8, true);
  EXPECT_TRUE(o.result);
  EXPECT_EQ(o.anchor, "ctrl");
  EXPECT_EQ(o.controlID, "e1");
  EXPECT_EQ(o.controlValue, "abc");
  EXPECT_EQ(o.controlType, "EDIT");

  // Locate a control by its ID.
  o = Render(text, TRect(0, 0, 300, 120), -1, -1, true, true, false, "c1");
  EXPECT_TRUE(o.result);
  EXPECT_EQ(o.controlType, "CHECK");
  EXPECT_EQ(o.controlRect.Width(), 16);

  {
    TPlatformFactsScope facts;
    PlatformFacts().ThemesActive = false;
    trace.Clear();
    Render(text);
    EXPECT_EQ(trace.Count(TraceKind::ThemePart), 0);
    EXPECT_EQ(trace.Count(TraceKind::FrameControl), 1);
  }
}

TEST_F(HtmlTest, TagEffectsOnRuns) {
  // Each case: the text, and the font style, colour and orientation of the run "x".
  struct Case {
    const char* text;
    TFontStyles style;
    TColor colour;
    int orientation;
  } cases[] = {
      {"<I>x</I>", {fsItalic}, clBlack, 0},
      {"<U>x</U>", {fsUnderline}, clBlack, 0},
      {"<S>x</S>", {fsStrikeOut}, clBlack, 0},
      {"<B><I>x</I></B>", {fsBold, fsItalic}, clBlack, 0},
      {"<R a=\"90\">x</R>", {}, clBlack, 900},
      {"<BLINK>x</BLINK>", {}, clWhite, 0},  // the canvas background while Blink is off
      {"<HI>x</HI>", {}, clHighlightText, 0},
      {"<A href=\"h\"><U>y</U>x</A>", {}, clBlue, 0},  // the closing U ends the anchor's underline too
  };
  for (const auto& k : cases) {
    trace.Clear();
    Render(k.text);
    TCanvasTraceRecord run;
    for (const auto& r : Runs())
      if (r.Text == "x") run = r;
    ASSERT_EQ(run.Text, "x") << k.text;
    EXPECT_EQ(run.FontStyle, k.style) << k.text;
    EXPECT_EQ(run.FontColor, k.colour) << k.text;
    EXPECT_EQ(run.Orientation, k.orientation) << k.text;
  }
}

TEST_F(HtmlTest, ShadowSubscriptAndErrorUnderline) {
  Render("<SH>x</SH>");
  auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].FontColor, clGray);  // the shadow first, offset by one pixel
  EXPECT_EQ(runs[0].Rect.Left, runs[1].Rect.Left + 1);
  EXPECT_EQ(runs[0].Rect.Top, runs[1].Rect.Top + 1);
  EXPECT_EQ(runs[1].FontColor, clBlack);

  trace.Clear();
  const Outputs o = Render("a<SUB>b</SUB><SUP>c</SUP>");
  runs = Runs();
  ASSERT_EQ(runs.size(), 3u);
  const int th = c->TextHeight("Xy");
  EXPECT_EQ(runs[1].Rect.Bottom - runs[0].Rect.Bottom, th / 4);
  EXPECT_EQ(runs[0].Rect.Bottom - runs[2].Rect.Bottom, th / 4);
  EXPECT_EQ(o.ySize, th + 2 * (th / 4));

  trace.Clear();
  Render("<E>wrong</E>");
  auto lines = trace.OfKind(TraceKind::Line);
  ASSERT_FALSE(lines.empty());
  for (const auto& l : lines) EXPECT_EQ(l.PenColor, clRed);
}

TEST_F(HtmlTest, HoverAndFocus) {
  const QString text = "<A href=\"a\">one</A> <A href=\"b\">two</A>";
  Outputs o;
  o.result = RenderHTMLText(*c, text, TRect(0, 0, 300, 120), nullptr, -1, -1, 1, 2, 1, false, false, false, false,
                            false, true, true, false, 1.0, clBlue, clYellow, clRed, clGray, o.anchor, o.stripped,
                            o.focusAnchor, o.title, o.xSize, o.ySize, o.links, o.mouseLink, o.hoverRect,
                            o.controlRect, o.controlID, o.controlValue, o.controlType, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(o.focusAnchor, "b");
  TCanvasTraceRecord one, two;
  for (const auto& r : Runs()) {
    if (r.Text == "one") one = r;
    if (r.Text == "two") two = r;
  }
  EXPECT_EQ(one.FontColor, clBlue);
  EXPECT_FALSE(one.FontStyle.Contains(fsUnderline));  // hover looks only on the hovered anchor
  EXPECT_EQ(two.FontColor, clRed);
  EXPECT_TRUE(two.FontStyle.Contains(fsUnderline));
  auto focus = trace.OfKind(TraceKind::FocusRect);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(focus[0].Rect.Left, two.Rect.Left - 1);
  c->EndPainting();
  // The hover background lies behind the hovered anchor only.
  EXPECT_GT(plat::testing::CountColour(bmp.Image(), clYellow, TRect(two.Rect.Left, 0, two.Rect.Right, two.Rect.Bottom)), 20);
  EXPECT_EQ(plat::testing::CountColour(bmp.Image(), clYellow, TRect(0, 0, one.Rect.Right, 20)), 0);
}

TEST_F(HtmlTest, RightToLeft) {
  Render("ab<B>cd</B>", TRect(0, 0, 300, 120), -1, -1, false, true, false, {}, 1);
  auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  // Left alignment is mirrored to the right edge, and runs advance from right to left.
  EXPECT_EQ(runs[0].Rect.Right, 300);
  EXPECT_LT(runs[1].Rect.Left, runs[0].Rect.Left);
  EXPECT_TRUE(runs[0].Flags & DT_RTLREADING);
}

TEST_F(HtmlTest, TagSoupNeverFails) {
  // Random mixtures of tags, broken tags, entities and text: every call ends, outputs stay in range, and the
  // conversions agree with the renderer's plain text on tag-free input.
  TPictureItem* item = container.Items()->Add();
  item->SetName("dot");
  item->Picture()->LoadFromBytes(samples::WriteWithQt(samples::TestImage(), "png"));
  const char* tokens[] = {
      "<B>", "</B>", "<I>", "</U>", "<A href=\"x\">", "</A>", "<IMG src=\"dot\">", "<IMG src=\"idx:3\">",
      "<IMG src=\"dot\" height=\"0\">", "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\" WIDTH=\"30\">",
      "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"go\" WIDTH=\"-5\" HEIGHT=\"90\">",
      "<FONT size=\"20\" color=\"#zz\">", "<FONT face=\"Nope\" size=\"-3\">", "</FONT>", "<UL>", "<LI>",
      "</LI>", "</UL>", "<P align=\"center\" indent=\"999\">", "</P>", "<SUB>", "<SUP>", "</SUB>", "<Z>", "</Z>",
      "<E>", "</E>", "<SH>", "<R a=\"45\">", "</R>", "<IND x=\"500\">", "<BR>", "<HR>", "&amp;", "&nbsp;",
      "&lt;", "&euro;", "&", "word ", "x", "<", ">", "\"", "\r\n", "<#x>", "<BODY bgcolor=\"clred\">",
      "<BODY background=\"dot\">", "<HI>", "</HI>", "<BLINK>", "averyveryverylongwordwithoutanyblank ",
      "<A href=\"", "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\">", "\t", "<IMG src=\"SSYS:/tmp\">",
      "<IMG src=\"LSYS:3\">", "<IMG src=\"file:///dev/zero\">",
  };
  std::mt19937 rng(4242);
  const TRect rects[] = {TRect(0, 0, 300, 120), TRect(10, 10, 12, 12), TRect(50, 50, 40, 40), TRect(0, 0, 60, 20)};
  for (int round = 0; round < 600; ++round) {
    QString text;
    const int n = int(rng() % 30);
    for (int i = 0; i < n; ++i) text += QString::fromUtf8(tokens[rng() % std::size(tokens)]);
    const TRect r = rects[rng() % std::size(rects)];
    const int x = int(rng() % 320) - 10, y = int(rng() % 140) - 10;
    Outputs o;
    o.controlID = rng() % 2 ? "e" : "";
    trace.Clear();
    RenderHTMLText(*c, text, r, nullptr, x, y, int(rng() % 3) - 1, int(rng() % 3), 1, rng() % 3 == 0, rng() % 5 == 0,
                   rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0,
                   1.5, clBlue, clYellow, clRed, clGray, o.anchor, o.stripped, o.focusAnchor, o.title, o.xSize,
                   o.ySize, o.links, o.mouseLink, o.hoverRect, o.controlRect, o.controlID, o.controlValue,
                   o.controlType, &cache, &container, nullptr, int(rng() % 3));
    ASSERT_GE(o.ySize, 0) << text.toStdString();
    ASSERT_GE(o.xSize, 0);
    ASSERT_LE(o.mouseLink, o.links);
    QString h;
    HighlightHTMLText(text, "x", "hi", h, rng() % 2 == 0);
    (void)HTMLToPlainText(text);
    QString copy = text;
    WriteControlTagValue(copy, "e", "new \"value\" <&>");
    QString v;
    if (ReadControlTagValue(copy, "e", v)) {
      ASSERT_EQ(v, "new \"value\" <&>");
    }
  }
  EXPECT_FALSE(c->Font()->Style().Contains(fsBold));  // the canvas font restored every time
}

TEST(HtmlText, Conversions) {
  EXPECT_EQ(HTMLToPlainText("a<BR>b"), "a\r\nb");
  EXPECT_EQ(HTMLToPlainText("<b>x</b><hr>y<z"), "x\r\ny<z");
  EXPECT_EQ(CharsToEntities("a & b", false), "a &amp; b");
  EXPECT_EQ(CharsToEntities("&amp;", false), "&amp;amp;");
  EXPECT_EQ(CharsToEntities(QString::fromUtf8("<é\">"), true), "&lt;&eacute;&quot;&gt;");
  EXPECT_EQ(EntitiesToChars("&Eacute;&eacute;&lt;&amp;lt;", true), QString::fromUtf8("Éé<&lt;"));
  EXPECT_EQ(EntitiesToChars("&eacute;", false), "&eacute;");
  EXPECT_EQ(BlanksToNbsp("a b"), "a&nbsp;b");
  QString r;
  RemoveHTMLTagPair("<b>x</B> &lt;y&gt; <i>z</i>", "B", r);
  EXPECT_EQ(r, "x <y> <i>z</i>");

  EXPECT_EQ(HTMLColorValue("cl3ddkshadow"), cl3DDkShadow);
  EXPECT_NE(HTMLColorValue("cl3DDkShadow"), clGrayText);
  EXPECT_EQ(HTMLColorValue("#102030"), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(HTMLColorValue("clunknown"), clBlack);
  EXPECT_EQ(HTMLColorValue("#12"), clBlack);
}

TEST(HtmlText, Highlight) {
  QString r;
  HighlightHTMLText("xx<b>ab</b>AB", "ab", "hi", r, false);
  EXPECT_EQ(r, "xx<b><hi>ab</b></hi><hi>AB</hi>");
  HighlightHTMLText("xx<b>ab</b>AB", "ab", "hi", r, true);
  EXPECT_EQ(r, "xx<b><hi>ab</b></hi>AB");
  // Visible "<" and ">" are escaped; the text is then the escaped visible text.
  HighlightHTMLText("a&lt;b <i>c</i>", "c", "hi", r, true);
  EXPECT_EQ(r, "a&lt;b <i><hi>c</i></hi>");
}

TEST(HtmlText, ControlTags) {
  QString s = "a <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"1\" WIDTH=\"40\" HEIGHT=\"30\" PROP=\"p&amp;q\" MAXLEN=\"5\"> b "
              "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\"><CONTROL TYPE=\"RADIO\" ID=\"r\" VALUE=\"TRUE\">"
              "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"x\">";
  EXPECT_TRUE(ContainsControlTags(s));
  EXPECT_FALSE(ContainsControlTags("<b>"));
  QString v;
  ASSERT_TRUE(ReadControlTagValue(s, "n", v));
  EXPECT_EQ(v, "1");
  EXPECT_FALSE(ReadControlTagValue(s, "N", v));  // exact ID
  QString prop;
  ReadControlTagProp(s, "n", prop);
  EXPECT_EQ(prop, "p&q");
  EXPECT_EQ(ReadControlTagMaxLen(s, "n"), 5);
  EXPECT_EQ(ReadControlTagMaxLen(s, "zz"), 0);
  EXPECT_EQ(NextEditableControlTagID(s, ""), "n");
  EXPECT_EQ(NextEditableControlTagID(s, "n"), "k");
  EXPECT_EQ(NextEditableControlTagID(s, "k"), "");

  ASSERT_TRUE(WriteControlTagValue(s, "n", "<2>"));
  EXPECT_TRUE(s.startsWith("a <CONTROL ID=\"n\" VALUE=\"&lt;2&gt;\" WIDTH=\"40\" TYPE=\"EDIT\" PROP=\"p&amp;q\" "
                           "MAXLEN=\"5\"> b "));
  EXPECT_FALSE(s.contains("HEIGHT"));
  ASSERT_TRUE(ReadControlTagValue(s, "n", v));
  EXPECT_EQ(v, "<2>");
  EXPECT_FALSE(WriteControlTagValue(s, "missing", "x"));

  const QString reset = ResetRadioControlTags(s);
  ASSERT_TRUE(ReadControlTagValue(reset, "r", v));
  EXPECT_EQ(v, "FALSE");
  ASSERT_TRUE(ReadControlTagValue(reset, "c", v));
  EXPECT_EQ(v, "TRUE");
}

TEST(HtmlText, OnlyWebAndMailLinksAreOpened) {
  std::vector<QString> opened;
  auto saved = HTMLLinkOpener();
  HTMLLinkOpener() = [&](const QUrl& u) {
    opened.push_back(u.toString());
    return true;
  };
  struct Case {
    const char* href;
    bool opens;
  } cases[] = {
      {"http://127.0.0.1/a", true},  {"HTTPS://127.0.0.1/b", true}, {"mailto:a@example.invalid", true},
      {"file:///etc/passwd", false}, {"javascript:alert(1)", false}, {"/usr/bin/xterm", false},
      {"ftp://127.0.0.1/x", false},  {"", false},                    {"http://", false},
      {"smb://host/share", false},   {"mailto:", false},            {" http://127.0.0.1/c ", true},
  };
  for (const auto& k : cases) EXPECT_EQ(OpenHTMLLink(k.href), k.opens) << k.href;
  EXPECT_EQ(opened.size(), 4u);
  HTMLLinkOpener() = saved;
}

}  // namespace
