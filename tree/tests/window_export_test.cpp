// The string tree's exports: HTML, RTF and text of a small tree with columns against files in export/, the
// escapes of each format, the export filter, cancelling and errors inside the operation bracket, the transfer
// renderings and their envelope.
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/formatsettings.h"
#include "tree/stringtree.h"
#include "tree/treecolumns.h"
#include "tree/treeexport.h"

namespace lazytree {
namespace {

QByteArray ReadExpected(const char* Name) {
  QFile f(QStringLiteral(TEST_SOURCE_DIR "/export/") + QLatin1String(Name));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << Name;
  return f.readAll();
}

// A string tree whose texts per node and column live in a map (static texts with a marker in front).
struct Fixture {
  plat::TForm form{nullptr};
  TLazyStringTree* tree;
  std::map<std::pair<PLazyNode, int>, QString> texts;
  std::map<std::pair<PLazyNode, int>, QString> statics;
  Fixture() {
    form.SetBounds(0, 0, 500, 400);
    tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
    tree->Font()->SetName(QStringLiteral("DejaVu Sans"));
    tree->Font()->SetSize(10);
    tree->OnGetText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex c, TLSTTextType type, QString& text) {
      auto& from = type == ttNormal ? texts : statics;
      auto it = from.find({n, c});
      if (it != from.end()) text = it->second;
    };
  }
  // Two columns: "Name" (main) and "Value".
  void UseColumns() {
    TLazyTreeColumns& cols = tree->Header().Columns();
    TLazyTreeColumn* a = cols.Add();
    a->SetText(QStringLiteral("Name"));
    a->SetWidth(120);
    TLazyTreeColumn* b = cols.Add();
    b->SetText(QStringLiteral("Value"));
    b->SetWidth(80);
    b->SetAlignment(plat::taRightJustify);
  }
  PLazyNode Add(PLazyNode parent, std::initializer_list<QString> cells) {
    PLazyNode n = tree->AddChild(parent);
    int c = 0;
    for (const QString& s : cells) texts[{n, c++}] = s;
    texts[{n, NoColumn}] = *cells.begin();
    return n;
  }
  // Slave 1 with two records (one holding markup and a quote), and slave 2.
  void SmallTree() {
    PLazyNode s1 = Add(nullptr, {"Slave 1", "12"});
    Add(s1, {"Volume", "3,5 m\xC2\xB3"});
    Add(s1, {"<Flow> & \"rate\"", "-"});
    tree->SetExpanded(s1, true);
    Add(nullptr, {"Slave 2", ""});
  }
};

TEST(TreeExport, SmallTreeWithColumnsMatchesTheExpectedFiles) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  Fixture f;
  f.UseColumns();
  f.SmallTree();
  EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral(",")).toUtf8(), ReadExpected("small.csv"));
  EXPECT_EQ(f.tree->ContentToHTML(tstAll, QStringLiteral("Scan")).toUtf8(), ReadExpected("small.html"));
  EXPECT_EQ(f.tree->ContentToRTF(tstAll), ReadExpected("small.rtf"));
  QLocale::setDefault(QLocale::c());
}

// Each row: a text, then what each format makes of it.
TEST(TreeExport, TextsAreEscapedForEachFormat) {
  struct Case {
    QString text;
    QString html;
    QByteArray rtf;
    QString field;  // with the separator ","
  };
  const std::vector<Case> cases = {
      {"plain", "plain", "\\u112\\'3f\\u108\\'3f\\u97\\'3f\\u105\\'3f\\u110\\'3f", "plain"},
      {"a<b&c>", "a&lt;b&amp;c&gt;", "\\u97\\'3f\\u60\\'3f\\u98\\'3f\\u38\\'3f\\u99\\'3f\\u62\\'3f", "a<b&c>"},
      {"say \"hi\"", "say &quot;hi&quot;", "\\u115\\'3f\\u97\\'3f\\u121\\'3f\\u32\\'3f\\u34\\'3f\\u104\\'3f\\u105\\'3f\\u34\\'3f",
       "say \"hi\""},
      {"\"lead", "&quot;lead", "\\u34\\'3f\\u108\\'3f\\u101\\'3f\\u97\\'3f\\u100\\'3f", "\"\"\"lead\""},
      {"1,5", "1,5", "\\u49\\'3f\\u44\\'3f\\u53\\'3f", "\"1,5\""},
      {"A\r\n", "A<br>", "\\u65\\'3f{\\par}", "\"A\r\n\""},
      {"x\ny", "x<br>y", "\\u120\\'3f{\\par}\\u121\\'3f", "\"x\ny\""},
      {"{\\}", "{\\}", "\\u123\\'3f\\u92\\'3f\\u125\\'3f", "{\\}"},
      {QString::fromUtf8("\xC3\xBC\xE2\x82\xAC"), QString::fromUtf8("\xC3\xBC\xE2\x82\xAC"),
       "\\u252\\'3f\\u8364\\'3f", QString::fromUtf8("\xC3\xBC\xE2\x82\xAC")},
      {QString(QChar(0x8000)) + QChar(0xFFFF), QString(QChar(0x8000)) + QChar(0xFFFF), "\\u-32768\\'3f\\u-1\\'3f",
       QString(QChar(0x8000)) + QChar(0xFFFF)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(HtmlEscaped(c.text), c.html);
    EXPECT_EQ(RtfEscapedText(c.text), c.rtf);
    EXPECT_EQ(TextField(c.text, QStringLiteral(",")), c.field);
  }
  // The same texts reach each export through the tree.
  Fixture f;
  f.UseColumns();
  PLazyNode n = f.Add(nullptr, {"<b>\"x\"", "1,5"});
  (void)n;
  const QString html = f.tree->ContentToHTML(tstAll);
  EXPECT_TRUE(html.contains(QStringLiteral(">&lt;b&gt;&quot;x&quot;</td>"))) << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("<b>")));
  const QString text = f.tree->ContentToText(tstAll, QStringLiteral(","));
  EXPECT_EQ(text, QStringLiteral("Name,Value\r\n<b>\"x\",\"1,5\"\r\n"));
  // An RTF font name cannot break the font table.
  EXPECT_EQ(RtfEscapedName(QStringLiteral("Odd{Font}\\;")), QByteArray("Odd\\{Font\\}\\\\\\u59\\'3f"));
}

TEST(TreeExport, TextExportLayout) {
  // The staircase of the main column: A, an empty field for the deepest level, then B.
  Fixture f;
  f.UseColumns();
  EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral(",")), QStringLiteral("Name,Value\r\n"));
  PLazyNode x = f.Add(nullptr, {"x", "y"});
  f.Add(x, {"x", "y"});
  EXPECT_EQ(f.tree->ContentToText(tstAll, QChar(u',')), QStringLiteral("Name,,Value\r\nx,,y\r\n,x,y\r\n"));
  // Static texts join the cell with a blank when they are shown.
  f.statics[{x, 1}] = QStringLiteral("kWh");
  EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral(";")), QStringLiteral("Name;;Value\r\nx;;y\r\n;x;y\r\n"));
  f.tree->SetStringOptions(f.tree->StringOptions() + TLTStringOptions{toShowStaticText});
  EXPECT_EQ(f.tree->ContentToUnicode(tstAll, QChar(u';')), QStringLiteral("Name;;Value\r\nx;;y kWh\r\n;x;y\r\n"));

  // Without columns the levels still indent, texts are never quoted, and an empty tree gives nothing.
  Fixture g;
  EXPECT_EQ(g.tree->ContentToText(tstAll, QStringLiteral(",")), QString());
  PLazyNode a = g.Add(nullptr, {"a,b"});
  g.Add(a, {"c"});
  EXPECT_EQ(g.tree->ContentToText(tstAll, QStringLiteral(",")), QStringLiteral("a,b\r\n,c\r\n"));
  EXPECT_EQ(g.tree->ContentToText(tstAll, QStringLiteral("\t")), QStringLiteral("a,b\r\n\tc\r\n"));
}

TEST(TreeExport, SourcesAndTheExportModeChooseTheNodes) {
  Fixture f;
  PLazyNode a = f.Add(nullptr, {"a"});
  PLazyNode a1 = f.Add(a, {"a1"});
  PLazyNode b = f.Add(nullptr, {"b"});
  for (PLazyNode n : {a, a1, b}) f.tree->SetCheckType(n, ctCheckBox);
  f.tree->SetCheckState(b, csCheckedNormal);
  f.tree->AddToSelection(a1);
  auto names = [&](TLSTTextSourceType source) {
    std::vector<QString> got;
    f.tree->OnNodeExport = [&](TBaseLazyTree*, TLTExportType type, PLazyNode n) {
      EXPECT_EQ(type, etCustom);
      got.push_back(f.texts[{n, NoColumn}]);
      return true;
    };
    f.tree->ContentToCustom(source);
    return got;
  };
  using V = std::vector<QString>;
  EXPECT_EQ(names(tstAll), (V{"a", "a1", "b"}));
  EXPECT_EQ(names(tstVisible), (V{"a", "b"}));  // a is collapsed
  EXPECT_EQ(names(tstSelected), (V{"a1"}));
  EXPECT_EQ(names(tstChecked), (V{"b"}));
  const std::vector<std::pair<TLTExportMode, V>> modes = {
      {emAll, {"a", "a1", "b"}},
      {emChecked, {"b"}},
      {emUnchecked, {"a", "a1"}},
      {emVisibleDueToExpansion, {"a", "b"}},
      {emSelected, {"a1"}},
  };
  for (const auto& [mode, expected] : modes) {
    f.tree->TreeOptions().ExportMode = mode;
    EXPECT_EQ(names(tstAll), expected) << int(mode);
  }
  // The text export takes every node of the source, whatever the mode.
  f.tree->TreeOptions().ExportMode = emChecked;
  EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral(",")), QStringLiteral("a\r\n,a1\r\nb\r\n"));
  // The HTML and RTF exports skip what the mode or OnBeforeNodeExport refuses.
  f.tree->OnBeforeNodeExport = [&](TBaseLazyTree*, TLTExportType, PLazyNode n) { return n != b; };
  EXPECT_FALSE(f.tree->ContentToHTML(tstAll).contains(QStringLiteral(">b</td>")));
  EXPECT_EQ(f.tree->ContentToRTF(tstAll).count("\\row"), 0);
  f.tree->TreeOptions().ExportMode = emAll;
  EXPECT_EQ(f.tree->ContentToRTF(tstAll).count("\\row"), 2);
}

TEST(TreeExport, HtmlTableEdges) {
  Fixture f;
  f.UseColumns();
  f.tree->TreeOptions().ExportMode = emChecked;
  // No matching node: style sheet, table start, header row and the table end, without spans.
  f.Add(nullptr, {"x", "y"});
  QString html = f.tree->ContentToHTML(tstAll);
  EXPECT_TRUE(html.startsWith(QStringLiteral("<META http-equiv=\"Content-Type\"")));
  EXPECT_TRUE(html.contains(QStringLiteral(
      ".default{font-family: 'DejaVu Sans'; font-size: 10pt; font-style: normal; font-weight: normal; "
      "text-decoration: none; color: #000000;}\r\n")));
  EXPECT_TRUE(html.contains(QStringLiteral(">Name</th>")));
  EXPECT_FALSE(html.contains(QStringLiteral("<td")));
  EXPECT_FALSE(html.contains(QStringLiteral("colspan")));
  EXPECT_TRUE(html.endsWith(QStringLiteral("</tr>\r\n</table>")));

  // A handler that makes the font bold gives its cells an inline style; the others keep the class alone.
  f.tree->TreeOptions().ExportMode = emAll;
  f.tree->OnPaintText = [](TBaseLazyTree*, plat::TCanvas* canvas, PLazyNode, TColumnIndex column, TLSTTextType) {
    if (column == 1) canvas->Font()->SetStyle(plat::TFontStyles{plat::fsBold});
  };
  html = f.tree->ContentToHTML(tstAll);
  EXPECT_TRUE(html.contains(QStringLiteral(" <td class=\"normalborder\"  height=\"")));
  EXPECT_TRUE(html.contains(QStringLiteral(
      " <td class=\"normalborder\" style=\"font-family: 'DejaVu Sans'; font-size: 10pt; font-style: normal; "
      "font-weight: bold; text-decoration: none; color: #000000;\" height=\"")));
  EXPECT_EQ(html.count(QStringLiteral("font-weight: bold")), 1);
  // A caption cannot leave its attribute.
  EXPECT_TRUE(f.tree->ContentToHTML(tstAll, QStringLiteral("a\"><script>"))
                  .contains(QStringLiteral("caption=\"a&quot;&gt;&lt;script&gt;\"")));
}

TEST(TreeExport, RtfWordsAreWrittenOnlyWhenTheyChange) {
  Fixture f;
  f.UseColumns();
  f.Add(nullptr, {"A", ""});
  f.Add(nullptr, {"B", "x"});
  const QByteArray rtf = f.tree->ContentToRTF(tstAll);
  // The empty cell: paragraph start, the right alignment and the cell end, no font words.
  EXPECT_TRUE(rtf.contains("\\pard\\intbl\\qr\\cell\\row")) << rtf.constData();
  // The 10-point tree font writes its size once; the header font (another size) is written before it.
  EXPECT_EQ(rtf.count("\\fs20"), 1);
  EXPECT_TRUE(rtf.contains("\\fs20 \\u65\\'3f\\cell"));
  EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0 Tahoma;}{\\f1 DejaVu Sans;}}"));  // header font first
  EXPECT_EQ(rtf.count("\\f1"), 2);  // the table entry and the one select
  EXPECT_TRUE(rtf.endsWith("\\pard\\par}"));
  // Twips of the column rights: 120 and 200 pixels at 96 per inch.
  EXPECT_TRUE(rtf.contains("\\uc1\\trowd\\trgaph70\\cellx1800\\cellx3000"));

  const std::vector<std::pair<QLocale, QByteArray>> papers = {
      {QLocale(QLocale::German, QLocale::Germany), "\\paperw16840\\paperh11907"},
      {QLocale(QLocale::English, QLocale::UnitedStates), "\\paperw15840\\paperh12240"},
  };
  for (const auto& [locale, paper] : papers) {
    QLocale::setDefault(locale);
    EXPECT_TRUE(f.tree->ContentToRTF(tstAll).contains(paper + "\\margl720\\margr720\\margt720\\margb720"));
  }
  QLocale::setDefault(QLocale::c());
}

TEST(TreeExport, CancelAndErrorsEndTheOperation) {
  Fixture f;
  f.UseColumns();
  for (const char* name : {"a", "b", "c"}) f.Add(nullptr, {name, name});
  std::vector<TLTOperationKind> started, ended;
  f.tree->OnStartOperation = [&](TBaseLazyTree*, TLTOperationKind k) { started.push_back(k); };
  f.tree->OnEndOperation = [&](TBaseLazyTree*, TLTOperationKind k) { ended.push_back(k); };
  f.tree->OnAfterNodeExport = [&](TBaseLazyTree* t, TLTExportType, PLazyNode) {
    t->CancelOperation();
    return true;
  };
  // What was written stays, closed as usual.
  const QString html = f.tree->ContentToHTML(tstAll);
  EXPECT_EQ(html.count(QStringLiteral("<tr class=\"default\">")), 1);
  EXPECT_TRUE(html.endsWith(QStringLiteral("</table>")));
  const QByteArray rtf = f.tree->ContentToRTF(tstAll);
  EXPECT_EQ(rtf.count("\\row"), 2);  // the header and one node
  EXPECT_TRUE(rtf.startsWith("{\\rtf1") && rtf.endsWith("}"));
  EXPECT_EQ(started, (std::vector<TLTOperationKind>{okExport, okExport}));
  EXPECT_EQ(ended, started);
  // An error from a handler reaches the caller after the bracket closed.
  f.tree->OnAfterNodeExport = nullptr;
  f.tree->OnBeforeNodeExport = [](TBaseLazyTree*, TLTExportType, PLazyNode) -> bool {
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(f.tree->ContentToHTML(tstAll), std::runtime_error);
  EXPECT_EQ(f.tree->OperationCount(), 0u);
  EXPECT_EQ(ended.size(), 3u);
}

TEST(TreeExport, CustomExportFiresTheEventsInOrder) {
  Fixture f;
  f.UseColumns();
  f.Add(nullptr, {"a", "1"});
  std::vector<QString> log;
  auto tree = [&](const char* what) {
    return [&log, what](TBaseLazyTree*, TLTExportType) { log.push_back(QLatin1String(what)); };
  };
  auto column = [&](const char* what) {
    return [&log, what](TBaseLazyTree*, TLTExportType, TLazyTreeColumn* c) {
      log.push_back(QLatin1String(what) + c->Text());
    };
  };
  auto node = [&](const char* what) {
    return [&log, what](TBaseLazyTree*, TLTExportType, PLazyNode) {
      log.push_back(QLatin1String(what));
      return false;  // ignored by this export
    };
  };
  f.tree->OnBeforeTreeExport = tree("tree(");
  f.tree->OnAfterTreeExport = tree(")tree");
  f.tree->OnBeforeHeaderExport = tree("header(");
  f.tree->OnAfterHeaderExport = tree(")header");
  f.tree->OnBeforeColumnExport = column("<");
  f.tree->OnColumnExport = column("=");
  f.tree->OnAfterColumnExport = column(">");
  f.tree->OnBeforeNodeExport = node("node(");
  f.tree->OnNodeExport = node("node");
  f.tree->OnAfterNodeExport = node(")node");
  f.tree->ContentToCustom(tstAll);
  using V = std::vector<QString>;
  EXPECT_EQ(log, (V{"tree(", "node(", "node", ")node", ")tree"}));  // the header is hidden
  log.clear();
  f.tree->Header().SetOptions(f.tree->Header().Options() + TLTHeaderOptions{hoVisible});
  f.tree->ContentToCustom(tstAll);
  EXPECT_EQ(log, (V{"tree(", "header(", "<Name", "=Name", ">Name", "<Value", "=Value", ">Value", ")header",
                    "node(", "node", ")node", ")tree"}));
}

TEST(TreeExport, TransferRenderings) {
  Fixture f;
  PLazyNode n = f.Add(nullptr, {"ab"});
  const QByteArray unicode = f.tree->ContentToClipboard(QStringLiteral("Unicode text"), tstAll);
  EXPECT_EQ(unicode.size(), 10);
  EXPECT_EQ(unicode, QByteArray("a\0b\0\r\0\n\0\0\0", 10));
  EXPECT_EQ(f.tree->ContentToClipboard(QStringLiteral("plain TEXT"), tstAll), QByteArray("ab\r\n\0", 5));
  EXPECT_TRUE(f.tree->ContentToClipboard(QStringLiteral("Windows bitmap"), tstAll).isEmpty());
  const QByteArray rtf = f.tree->ContentToClipboard(QStringLiteral("Rich Text Format Without Objects"), tstAll);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1") && rtf.endsWith(QByteArray("}\0", 2)));
  // CSV with the list separator of the format settings; a text holding it is quoted even without columns.
  f.texts[{n, NoColumn}] = QStringLiteral("a,b;c");
  EXPECT_EQ(f.tree->ContentToClipboard(QStringLiteral("CSV"), tstAll), QByteArray("\"a,b;c\"\r\n\0", 10));
  plat::FormatSettings.DecimalSeparator = u',';
  EXPECT_EQ(f.tree->ContentToClipboard(QStringLiteral("csv"), tstAll), QByteArray("\"a,b;c\"\r\n\0", 10));
  f.texts[{n, NoColumn}] = QStringLiteral("a,b");
  EXPECT_EQ(f.tree->ContentToClipboard(QStringLiteral("csv"), tstAll), QByteArray("a,b\r\n\0", 6));
  plat::ResetFormatSettings();
  // The HTML envelope holds the UTF-8 export.
  f.texts[{n, NoColumn}] = QString::fromUtf8("\xC3\xBC");
  const QByteArray html = f.tree->ContentToClipboard(QStringLiteral("HTML Format"), tstAll);
  EXPECT_TRUE(html.contains(">\xC3\xBC</td>"));
  EXPECT_TRUE(html.endsWith(QByteArray("</table><!--EndFragment--></body></html>\0", 41)));
}

TEST(TreeExport, HtmlEnvelopeOffsets) {
  const QByteArray fragment(1000, 'x');
  const QByteArray block = WrapClipboardHTML(fragment);
  EXPECT_TRUE(block.startsWith("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00001301\r\n"
                               "StartFragment:00000269\r\nEndFragment:00001269\r\n"));
  EXPECT_EQ(block.size(), 1302);
  EXPECT_EQ(block.indexOf("<!DOCTYPE"), 97);
  EXPECT_EQ(block.mid(269, 1000), fragment);
  EXPECT_EQ(block.mid(1269, 32), QByteArray("<!--EndFragment--></body></html>"));
  EXPECT_EQ(block.back(), '\0');
}

TEST(TreeExport, BuffersGrowWithoutLosingText) {
  TBufferedString s;
  TBufferedRawByteString b;
  QString expected;
  for (int i = 0; i < 3000; ++i) {
    const QString piece = QString::number(i);
    s.Add(piece);
    b.Add(piece.toLatin1());
    expected += piece;
    if (i % 100 == 0) {
      s.AddNewLine();
      b.AddNewLine();
      expected += QStringLiteral("\r\n");
    }
  }
  s.Add(QString());
  EXPECT_EQ(s.AsString(), expected);
  EXPECT_EQ(b.AsString(), expected.toLatin1());
}

}  // namespace
}  // namespace lazytree
