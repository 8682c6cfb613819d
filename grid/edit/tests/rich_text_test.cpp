// RTF cells: reading and writing the RTF subset, the round trip through a cell, and the rich editor kind.
#include "grid/edit/rich_text.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include "grid/edit/tests/edit_test_fixture.h"

namespace grid {
namespace {

TEST(RichText, ReadsTextFormatsAndEscapes) {
  QTextDocument doc;
  RtfToDocument(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                               "\\f0\\fs20 Plain {\\b Bold} {\\cf1 red}\\par caf\\'e9 \\u937?x\\tab y{\\*\\gen skip me}}"),
                doc);
  EXPECT_EQ(doc.blockCount(), 2);
  EXPECT_EQ(doc.firstBlock().text(), "Plain Bold red");
  EXPECT_EQ(doc.lastBlock().text(), QString::fromUtf8("café Ωx\ty"));
  QTextCursor c(&doc);
  c.setPosition(7);  // inside "Bold"
  EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
  c.setPosition(13);  // inside "red"
  EXPECT_EQ(c.charFormat().foreground().color(), QColor(255, 0, 0));
  EXPECT_DOUBLE_EQ(c.charFormat().fontPointSize(), 10.0);
}

TEST(RichText, RoundTripKeepsEveryCharacterAndWritesAscii) {
  QTextDocument doc;
  const QString text = QString::fromUtf8("Grüße {x} \\ Ω ✓");
  QTextCursor c(&doc);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  c.insertText("start ", bold);
  c.insertText(text, QTextCharFormat());
  const QString rtf = DocumentToRtf(doc);
  EXPECT_TRUE(IsRtfText(rtf));
  for (QChar ch : rtf) ASSERT_LT(ch.unicode(), 128) << rtf.toStdString();
  QTextDocument back;
  RtfToDocument(rtf, back);
  EXPECT_EQ(back.toPlainText(), "start " + text);
  QTextCursor b(&back);
  b.setPosition(2);
  EXPECT_EQ(b.charFormat().fontWeight(), QFont::Bold);
  b.setPosition(8);
  EXPECT_NE(b.charFormat().fontWeight(), QFont::Bold);
}

using RichEditing = edittest::EditFixture;

TEST_F(RichEditing, RichCellIsEditedAndStoredAsRtf) {
  g->SetCells(1, 1, QStringLiteral("{\\rtf1 Hello {\\b World}}"));
  g->DefaultEditor = edRichEdit;
  Key(Qt::Key_F2);
  TExtRichEdit* e = g->InplaceRichEdit();
  ASSERT_TRUE(e->Visible());
  EXPECT_EQ(e->PlainTextEdit()->toPlainText(), "Hello World");
  Key(Qt::Key_End);
  Type("!");
  g->HideInplaceEdit();
  EXPECT_FALSE(e->Visible());
  const QString stored = g->Cells(1, 1);
  EXPECT_TRUE(IsRtfText(stored));
  QTextDocument doc;
  RtfToDocument(stored, doc);
  EXPECT_EQ(doc.toPlainText(), "Hello World!");
  // The hidden converter gives the same text back for the cell.
  g->CellToRich(1, 1, g->RichEdit());
  EXPECT_EQ(g->RichEdit()->PlainTextEdit()->toPlainText(), "Hello World!");
  g->SetCells(2, 2, "");
  g->CellToRich(2, 2, g->RichEdit());
  EXPECT_EQ(g->RichEdit()->PlainTextEdit()->toPlainText(), "");
}

TEST_F(RichEditing, RowGrowsWithTheRichTextWhileTyping) {
  g->DefaultEditor = edRichEdit;
  g->SizeWhileTyping()->Height = true;
  std::vector<int> sized;
  g->OnEndRowSize = [&](plat::TObject*, int r) { sized.push_back(r); };
  g->SetCells(1, 1, "");
  const int before = g->RowHeights(1);
  Key(Qt::Key_F2);
  TExtRichEdit* e = g->InplaceRichEdit();
  ASSERT_TRUE(e->Visible());
  EXPECT_TRUE(sized.empty());  // loading the cell does not size the row
  Type("one");
  Key(Qt::Key_Return);
  Type("two");
  Key(Qt::Key_Return);
  Type("three");
  EXPECT_GT(g->RowHeights(1), before);
  EXPECT_EQ(g->RowHeights(1), e->ReqHeight() + 10);
  EXPECT_EQ(e->Height(), e->ReqHeight() + 9);
  ASSERT_FALSE(sized.empty());
  EXPECT_EQ(sized.back(), 1);
  g->HideInplaceEdit();
  QTextDocument doc;
  RtfToDocument(g->Cells(1, 1), doc);
  EXPECT_EQ(doc.toPlainText(), "one\ntwo\nthree");
}

}  // namespace
}  // namespace grid
