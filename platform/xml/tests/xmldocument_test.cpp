#include "platform/xml/xmldocument.h"

#include "platform/io/files.h"

#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

using namespace plat;

namespace {

std::string S(const QByteArray& b) { return b.toStdString(); }
std::string S(const QString& s) { return s.toStdString(); }

// Files as the program writes them, and as older installations may hold them.
const char* const kParGen =
    "<GeneralParameter>\n"
    "  <Sel_Dev>0</Sel_Dev>\n"
    "  <Sel_Dev_MBus_Present>1</Sel_Dev_MBus_Present>\n"
    "  <Node_State>0xFF</Node_State>\n"
    "  <IP_1>192</IP_1>\n"
    "</GeneralParameter>\n"
    "<!--SW_VERSION = 2.012-->\n";

const char* const kMBus =
    "<M-Bus_Network>\n"
    "  <Nodo Node_Enable=\"1\" Desc=\"Heat &amp; &lt;cold&gt; &quot;A&quot; 'b'\" Primary_Address=\"5\">\n"
    "    <Variabile Enable=\"1\" Desc=\"Energy\" Type=\"0\" StoNumber=\"4294967295\"/>\n"
    "    <Variabile Enable=\"0\" Desc=\"\" Type=\"3\"/>\n"
    "  </Nodo>\n"
    "  <Nodo Node_Enable=\"0\" Desc=\"Empty\"/>\n"
    "</M-Bus_Network>\n"
    "<!--SW_VERSION = 2.012-->\n";

const char* const kTessaron =
    "<Conf_Settings>\n"
    "  <lastproj>\n"
    "    <projectname>Plant 7</projectname>\n"
    "  </lastproj>\n"
    "  <lastipadd>\n"
    "    <ipaddress>192.168.2.205</ipaddress>\n"
    "  </lastipadd>\n"
    "  <lastlang>\n"
    "    <language>English</language>\n"
    "  </lastlang>\n"
    "  <lastinternet>\n"
    "    <enable_internet>0</enable_internet>\n"
    "    <enable_update>1</enable_update>\n"
    "  </lastinternet>\n"
    "</Conf_Settings>\n";

class XmlFiles : public ::testing::Test {
 protected:
  void TearDown() override { SetFileWriteFaultHook({}); }
  QString Path(const QString& name) const { return dir_.path() + u'/' + name; }
  QByteArray Read(const QString& name) const {
    QByteArray b;
    ReadFileBytes(Path(name), b);
    return b;
  }
  QTemporaryDir dir_;
};

}  // namespace

TEST(XmlDocument, UnchangedDocumentsSaveBackToTheSameBytes) {
  const QByteArray cases[] = {
      kParGen,
      kMBus,
      kTessaron,
      // one line, no line break at all
      "<M-Bus_Network><Nodo a=\"1\"><Variabile b=\"2\"/></Nodo></M-Bus_Network><!--SW_VERSION = 2.012-->",
      // declaration, byte-order mark, CR LF line breaks, tab indentation, comment ahead of the root
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- settings -->\r\n<a>\r\n\t<b>x</b>\r\n"
      "\t<c>\r\n\t\t<d/>\r\n\t</c>\r\n</a>\r\n",
      // ISO-8859-1 text
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a t=\"caf\xE9\">\xE0 la carte</a>\n",
      // texts kept exactly: blanks, escapes, an empty comment, CDATA, a processing instruction
      "<a>\n  <b>  two  spaces  </b>\n  <c>a &amp; b &lt; c &gt; d</c>\n  <!---->\n  <d><![CDATA[<raw>]]></d>\n"
      "  <?pi data?>\n</a>",
      // a non-ASCII name and text
      "<Größe Einheit=\"m³\">Wärme</Größe>\n",
  };
  for (const QByteArray& xml : cases) {
    TXMLDocument doc;
    QString error;
    ASSERT_TRUE(doc.LoadFromBytes(xml, &error)) << S(error) << "\n" << S(xml);
    EXPECT_EQ(S(doc.SaveToBytes()), S(xml));
  }
}

TEST_F(XmlFiles, LoadAndSaveOfAFileKeepsItsBytes) {
  for (const char* xml : {kParGen, kMBus, kTessaron}) {
    ASSERT_TRUE(WriteFileAtomic(Path("f.xml"), xml));
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(Path("f.xml")));
    EXPECT_EQ(doc.FileName(), Path("f.xml"));
    ASSERT_TRUE(doc.SaveToFile(Path("g.xml")));
    EXPECT_EQ(S(Read("g.xml")), xml);
  }
}

TEST(XmlDocument, BuiltDocumentsFollowTheLayoutOptions) {
  struct Case {
    bool indent;
    const char* indentText;
    const char* lineBreak;
    const char* declaration;  // nullptr: none
    const char* want;
  };
  const Case cases[] = {
      {true, "  ", "\n", nullptr,
       "<GeneralParameter>\n  <Sel_Dev>0</Sel_Dev>\n  <Group>\n    <Empty/>\n  </Group>\n</GeneralParameter>\n"
       "<!--SW_VERSION = 2.012-->\n"},
      {true, "\t", "\r\n", nullptr,
       "<GeneralParameter>\r\n\t<Sel_Dev>0</Sel_Dev>\r\n\t<Group>\r\n\t\t<Empty/>\r\n\t</Group>\r\n"
       "</GeneralParameter>\r\n<!--SW_VERSION = 2.012-->\r\n"},
      {true, "", "\n", "UTF-8",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GeneralParameter>\n<Sel_Dev>0</Sel_Dev>\n<Group>\n<Empty/>\n"
       "</Group>\n</GeneralParameter>\n<!--SW_VERSION = 2.012-->\n"},
      {false, "  ", "\n", "",
       "<?xml version=\"1.0\"?><GeneralParameter><Sel_Dev>0</Sel_Dev><Group><Empty/></Group></GeneralParameter>"
       "<!--SW_VERSION = 2.012-->"},
  };
  for (const Case& c : cases) {
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromString("<old><x/></old>"));  // the writers clear whatever was read before
    doc.Clear();
    EXPECT_TRUE(doc.IsEmpty());
    doc.Options().Indent = c.indent;
    doc.Options().IndentText = c.indentText;
    doc.Options().LineBreak = c.lineBreak;
    TXMLNode root = doc.AddChild("GeneralParameter");
    doc.AddComment("SW_VERSION = 2.012");
    root.AddChild("Sel_Dev").SetText("0");
    root.AddChild("Group").AddChild("Empty");
    if (c.declaration) doc.SetDeclaration(c.declaration);
    const QByteArray saved = doc.SaveToBytes();
    EXPECT_EQ(S(saved), c.want);
    // What the program wrote reads back as the same document and saves to the same bytes.
    TXMLDocument again;
    ASSERT_TRUE(again.LoadFromBytes(saved));
    EXPECT_EQ(again.DocumentElement().NodeName(), "GeneralParameter");
    EXPECT_EQ(again.DocumentElement().FindNode("Sel_Dev").Text(), "0");
    EXPECT_EQ(S(again.SaveToBytes()), c.want);
  }
}

TEST(XmlDocument, MalformedTextIsRefusedWithItsLineAndLeavesTheDocumentAlone) {
  struct Case { QByteArray xml; const char* where; };
  QByteArray deep;
  for (int i = 0; i < 1200; ++i) deep += "<a>";
  const Case cases[] = {
      {"<a>\n  <b>\n</a>\n", "line 3"},                  // mismatched end tag
      {"<a>\n  <b>\n  </b>\n", "line 3"},                // root never closed
      {"<a>\n<b x=\"1\" x=\"2\"/>\n</a>", "line 2"},     // attribute twice
      {"<a>\n<b x=1/>\n</a>", "line 2"},                 // unquoted attribute
      {"<a/>\n<b/>\n", "line 2"},                        // two roots
      {"<a/>\ntext\n", "line 2"},                        // text outside the root
      {"", "line 1"},                                    // nothing at all
      {"  \n<!-- only a comment -->\n", "line 3"},       // no root element
      {"<a>\n<!-- open comment\n</a>", "line 2"},        // comment never closed
      {deep, "line 1"},                                  // nesting beyond any configuration file
  };
  for (const Case& c : cases) {
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromString(kParGen));
    QString error;
    EXPECT_FALSE(doc.LoadFromBytes(c.xml, &error)) << S(c.xml.left(60));
    EXPECT_TRUE(error.contains(c.where)) << S(error) << " for " << S(c.xml.left(60));
    EXPECT_EQ(doc.LastError(), error);
    EXPECT_EQ(S(doc.SaveToBytes()), kParGen);
    EXPECT_EQ(doc.DocumentElement().FindNode("Node_State").Text(), "0xFF");
  }
}

// Text the parser would take but that is no XML: bytes that are not UTF-8 in a UTF-8 file (they would come back
// as U+FFFD on the next save), references to characters XML does not allow, entities nobody declared, and a
// bare '&'. Each is refused where it stands; what is sound around them still loads.
TEST(XmlDocument, TextThatIsNotWellFormedIsRefusedWhereItStands) {
  struct Case { QByteArray xml; const char* where; const char* what; };
  const QByteArray decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  const Case refused[] = {
      {decl + "<a>\n  ab\xFF</a>", "line 3, column 5", "not UTF-8"},
      {decl + "<a>\xC0\xAF</a>", "line 2, column 4", "not UTF-8"},           // overlong '/'
      {decl + "<a>\xED\xA0\x80</a>", "line 2, column 4", "not UTF-8"},       // a surrogate
      {decl + "<a>\xF4\x90\x80\x80</a>", "line 2, column 4", "not UTF-8"},  // above U+10FFFF
      {"<a x=\"\xC3\xA9\xE2\x82\">\n</a>", "line 1, column 8", "not UTF-8"},  // cut short, no declaration
      {"\xEF\xBB\xBF<a>\n<!-- \x80 --></a>", "line 2, column 6", "not UTF-8"},  // in a comment too
      {"<a>\n<b>x&#0;</b></a>", "line 2, column 5", "\"&#0;\""},
      {"<a>\n<b v=\"&#xD800;\"/></a>", "line 2, column 7", "\"&#xD800;\""},
      {"<a>&#xFFFE;</a>", "line 1, column 4", "\"&#xFFFE;\""},
      {"<a>&#1114112;</a>", "line 1, column 4", "\"&#1114112;\""},
      {"<a>&#x;</a>", "line 1, column 4", "Malformed character reference"},
      {"<a>&#12</a>", "line 1, column 4", "Malformed character reference"},
      {"<a>\n  caf&eacute;</a>", "line 2, column 6", "Undeclared entity \"&eacute;\""},
      {"<a>\n<b v='x &nbsp;'/></a>", "line 2, column 9", "Undeclared entity \"&nbsp;\""},
      {"<!DOCTYPE a [<!ENTITY e \"x\">]>\n<a>&e;</a>", "line 2, column 4", "Undeclared entity \"&e;\""},
      {"<a>\nHeat & cold</a>", "line 2, column 6", "&amp;"},
      {"<a v=\"&amp\"/>", "line 1, column 7", "&amp;"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(S(c.xml));
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromString(kParGen));
    QString error;
    EXPECT_FALSE(doc.LoadFromBytes(c.xml, &error));
    EXPECT_TRUE(error.contains(c.where) && error.contains(c.what)) << S(error);
    EXPECT_EQ(S(doc.SaveToBytes()), kParGen);
  }
  // A text already decoded is held to the same references.
  TXMLDocument decoded;
  QString error;
  EXPECT_FALSE(decoded.LoadFromString(QStringLiteral("<a>\n&#0;</a>"), &error));
  EXPECT_TRUE(error.contains("line 2, column 1")) << S(error);

  struct Sound { QByteArray xml; QString text; };
  const Sound accepted[] = {
      {decl + "<a>caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E</a>", QString::fromUtf8("café € 𝄞")},
      {"<a>&#x10FFFF;&#9;&#233;&#xe9;</a>", QString::fromUtf8("\U0010FFFF\t\u00e9\u00e9")},
      {"<a>&amp;&lt;&gt;&quot;&apos;</a>", QStringLiteral("&<>\"'")},
      {"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a>caf\xE9</a>", QString::fromUtf8("café")},
      {"<a><!-- & &x; \x3C --><![CDATA[& &#0;]]><?pi & ?>t</a>", QStringLiteral("& &#0;t")},
      {"<!DOCTYPE a [<!ENTITY e \"&#0; > &\">]><a v=\"1>0\">t</a>", QStringLiteral("t")},
  };
  for (const Sound& c : accepted) {
    TXMLDocument doc;
    EXPECT_TRUE(doc.LoadFromBytes(c.xml, &error)) << S(error) << " for " << S(c.xml);
    EXPECT_EQ(doc.DocumentElement().Text(), c.text) << S(c.xml);
  }
  // A control character is saved as a reference, and what the writer writes loads again.
  TXMLDocument doc;
  doc.AddChild("a").SetText(QStringLiteral("x\x01y\x1Fz\r"));
  doc.DocumentElement().SetAttribute("v", QStringLiteral("\t\x02"));
  TXMLDocument again;
  ASSERT_TRUE(again.LoadFromBytes(doc.SaveToBytes(), &error)) << S(error) << " for " << S(doc.SaveToBytes());
  EXPECT_EQ(again.DocumentElement().Text(), QStringLiteral("x\x01y\x1Fz\r"));
  EXPECT_EQ(again.DocumentElement().Attribute("v"), QStringLiteral("\t\x02"));
}

// The repeated name reported is the one whose first occurrence comes first, however many attributes the
// element holds.
TEST(XmlDocument, RepeatedAttributeIsNamedByItsFirstOccurrence) {
  auto element = [](int distinct, const QByteArray& tail) {
    QByteArray xml = "<r>\n<e";
    for (int i = 0; i < distinct; ++i) xml += " n" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + "\"";
    return xml + tail + "/>\n</r>";
  };
  struct Case { QByteArray xml; const char* repeated; };
  const Case cases[] = {
      {element(0, " x=\"1\" y=\"2\" y=\"3\" x=\"4\""), "x"},
      {element(30, " x=\"1\" y=\"2\" y=\"3\" x=\"4\""), "x"},
      {element(30, " n29=\"again\" n3=\"again\""), "n3"},
      {element(200, " n199=\"again\""), "n199"},
      {element(40, ""), nullptr},
  };
  for (const Case& c : cases) {
    TXMLDocument doc;
    QString error;
    const bool loaded = doc.LoadFromBytes(c.xml, &error);
    if (!c.repeated) {
      EXPECT_TRUE(loaded) << S(error);
      EXPECT_EQ(doc.DocumentElement().FindNode("e").AttributeCount(), 40);
      continue;
    }
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(error.contains(QStringLiteral("line 2"))) << S(error);
    EXPECT_TRUE(error.contains(QStringLiteral("Attribute \"%1\" repeated").arg(c.repeated))) << S(error);
  }
}

TEST_F(XmlFiles, MalformedFileNamesTheFileAndStaysUntouched) {
  const QByteArray bad = "<M-Bus_Network>\n  <Nodo a=\"1\">\n</M-Bus_Network>\n";
  ASSERT_TRUE(WriteFileAtomic(Path("M_Bus.xml"), bad));
  ASSERT_TRUE(WriteFileAtomic(Path("ParGen.xml"), kParGen));
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromFile(Path("ParGen.xml")));
  QString error;
  EXPECT_FALSE(doc.LoadFromFile(Path("M_Bus.xml"), &error));
  EXPECT_TRUE(error.contains(Path("M_Bus.xml"))) << S(error);
  EXPECT_TRUE(error.contains("line 3")) << S(error);
  EXPECT_EQ(doc.FileName(), Path("ParGen.xml"));
  EXPECT_EQ(doc.DocumentElement().NodeName(), "GeneralParameter");
  EXPECT_EQ(Read("M_Bus.xml"), bad);
  EXPECT_FALSE(doc.LoadFromFile(Path("missing.xml"), &error));
  EXPECT_TRUE(error.contains(Path("missing.xml"))) << S(error);
}

TEST_F(XmlFiles, FailedSaveLeavesTheOldFileWhole) {
  ASSERT_TRUE(WriteFileAtomic(Path("ParGen.xml"), kParGen));
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromFile(Path("ParGen.xml")));
  doc.DocumentElement().FindNode("IP_1").SetText("10");
  for (FileWriteStep step : {FileWriteStep::CreateTemp, FileWriteStep::Write, FileWriteStep::Rename}) {
    SetFileWriteFaultHook([step](FileWriteStep s, const QString&) { return s == step; });
    QString error;
    EXPECT_FALSE(doc.SaveToFile(Path("ParGen.xml"), &error));
    EXPECT_TRUE(error.contains(Path("ParGen.xml"))) << S(error);
    EXPECT_EQ(S(Read("ParGen.xml")), kParGen);
  }
  SetFileWriteFaultHook({});
  ASSERT_TRUE(doc.SaveToFile(Path("ParGen.xml")));
  EXPECT_TRUE(Read("ParGen.xml").contains("<IP_1>10</IP_1>"));
}

TEST_F(XmlFiles, RaisingVariantsCarryTheMessage) {
  ASSERT_TRUE(WriteFileAtomic(Path("bad.xml"), "<a>\n<b></a>"));
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString(kParGen));
  struct Case { QString file; const char* part; };
  const Case cases[] = {{Path("bad.xml"), "line 2"}, {Path("missing.xml"), "missing.xml"}};
  for (const Case& c : cases) {
    try {
      doc.LoadFromFileOrRaise(c.file);
      ADD_FAILURE() << "no exception for " << S(c.file);
    } catch (const Exception& e) {
      EXPECT_TRUE(e.Message().contains(c.part)) << S(e.Message());
      EXPECT_EQ(e.Message(), doc.LastError());
    }
  }
  EXPECT_EQ(S(doc.SaveToString()), kParGen);
  EXPECT_THROW(doc.SaveToFileOrRaise(Path("missing/ParGen.xml")), EXMLError);
  doc.SaveToFileOrRaise(Path("ParGen.xml"));
  EXPECT_EQ(S(Read("ParGen.xml")), kParGen);
}

TEST(XmlDocument, AttributesKeepTheirOrder) {
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString("<Nodo b=\"1\" a=\"2\" c=\"&amp;\"/>"));
  TXMLNode n = doc.DocumentElement();
  EXPECT_EQ(n.AttributeNames(), (QStringList{"b", "a", "c"}));
  EXPECT_EQ(n.AttributeCount(), 3);
  EXPECT_EQ(n.AttributeName(1), "a");
  EXPECT_EQ(n.AttributeValue(2), "&");
  EXPECT_EQ(n.AttributeValue(3), "");
  EXPECT_TRUE(n.HasAttribute("a"));
  EXPECT_FALSE(n.HasAttribute("A"));
  EXPECT_EQ(n.Attribute("a"), "2");
  EXPECT_EQ(n.Attribute("zz", "dflt"), "dflt");
  EXPECT_EQ(n.Attribute("zz"), "");

  EXPECT_TRUE(n.SetAttribute("a", "x\"<\n"));
  EXPECT_TRUE(n.SetAttribute("d", ""));
  EXPECT_TRUE(n.RemoveAttribute("b"));
  EXPECT_FALSE(n.RemoveAttribute("b"));
  for (const char* bad : {"", "1a", "a b", "a=", "<a"}) EXPECT_FALSE(n.SetAttribute(bad, "v")) << bad;
  EXPECT_EQ(S(doc.SaveToString()), "<Nodo a=\"x&quot;&lt;&#10;\" c=\"&amp;\" d=\"\"/>");
  TXMLDocument again;
  ASSERT_TRUE(again.LoadFromString(doc.SaveToString()));
  EXPECT_EQ(again.DocumentElement().Attribute("a"), "x\"<\n");
}

TEST(XmlDocument, WalkAndFindSkipLayoutWhitespace) {
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString("<?xml version=\"1.0\"?>\n<!--first-->\n<root>\n  <a>1</a>\n  <!--note-->\n"
                                 "  <?p x?>\n  <b> </b>\n  <a>2</a>\n</root>\n<!--last-->\n"));
  const TXMLNodeList top = doc.ChildNodes();
  ASSERT_EQ(top.Count(), 4);
  EXPECT_EQ(top[0].NodeType(), TXMLNodeType::Declaration);
  EXPECT_EQ(top[1].Text(), "first");
  EXPECT_EQ(top[2], doc.DocumentElement());
  EXPECT_EQ(top[3].NodeType(), TXMLNodeType::Comment);
  EXPECT_TRUE(top[4].IsNull());
  EXPECT_TRUE(top[-1].IsNull());

  const TXMLNode root = doc.DocumentElement();
  EXPECT_EQ(root.NodeName(), "root");
  QStringList kinds;
  for (const TXMLNode& c : root.ChildNodes()) kinds << QString::number(int(c.NodeType())) + ":" + c.NodeName();
  EXPECT_EQ(kinds, (QStringList{"2:a", "5:", "6:p", "2:b", "2:a"}));
  EXPECT_EQ(root.ChildElements().Count(), 3);
  EXPECT_EQ(root.FindNode("a").Text(), "1");
  EXPECT_EQ(root.FindNode("p").IsNull(), true);  // a processing instruction is no element
  EXPECT_EQ(root.ChildNodes().FindNode("a").Text(), "1");
  EXPECT_EQ(root.FindNode("b").Text(), " ");  // blank text of its own is kept
  EXPECT_TRUE(root.FindNode("none").IsNull());
  EXPECT_EQ(root.FirstChild().NextSibling().Text(), "note");
  EXPECT_EQ(root.FirstChild().NextSibling().PreviousSibling(), root.FirstChild());
  EXPECT_EQ(root.FirstChildElement().NextSiblingElement().NodeName(), "b");
  EXPECT_EQ(root.FindNode("b").ParentNode(), root);
  EXPECT_EQ(root.ParentNode(), doc.Node());
  EXPECT_EQ(root.DescendantText(), "1 2");
}

TEST(XmlDocument, TextsAreReadAndSetExactly) {
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString("<r><t> a &amp; b </t><m>x<i>y</i>z</m><c><![CDATA[<&>]]></c></r>"));
  const TXMLNode r = doc.DocumentElement();
  EXPECT_EQ(r.FindNode("t").Text(), " a & b ");
  EXPECT_EQ(r.FindNode("m").Text(), "xz");
  EXPECT_EQ(r.FindNode("m").DescendantText(), "xyz");
  EXPECT_EQ(r.FindNode("c").Text(), "<&>");

  r.FindNode("t").SetText("<1> & \"2\"\r");
  r.FindNode("c").SetText("");
  r.FindNode("m").SetText("new");
  EXPECT_EQ(S(doc.SaveToString()),
            "<r><t>&lt;1&gt; &amp; \"2\"&#13;</t><m>new<i>y</i></m><c/></r>");
  TXMLDocument again;
  ASSERT_TRUE(again.LoadFromString(doc.SaveToString()));
  EXPECT_EQ(again.DocumentElement().FindNode("t").Text(), "<1> & \"2\"\r");
}

TEST(XmlDocument, ElementsAddedToAFileTakeItsLayout) {
  struct Case { const char* file; const char* want; };
  const Case cases[] = {
      {"<M-Bus_Network>\n  <Nodo a=\"1\"/>\n</M-Bus_Network>\n<!--SW_VERSION = 2.012-->\n",
       "<M-Bus_Network>\n  <Nodo a=\"1\"/>\n  <Nodo a=\"2\">\n    <Variabile v=\"1\"/>\n    <Variabile v=\"2\"/>\n"
       "  </Nodo>\n</M-Bus_Network>\n<!--SW_VERSION = 2.012-->\n"},
      {"<M-Bus_Network>\r\n    <Nodo a=\"1\"/>\r\n</M-Bus_Network>",
       "<M-Bus_Network>\r\n    <Nodo a=\"1\"/>\r\n    <Nodo a=\"2\">\r\n        <Variabile v=\"1\"/>\r\n"
       "        <Variabile v=\"2\"/>\r\n    </Nodo>\r\n</M-Bus_Network>"},
      {"<M-Bus_Network><Nodo a=\"1\"/></M-Bus_Network><!--SW_VERSION = 2.012-->",
       "<M-Bus_Network><Nodo a=\"1\"/><Nodo a=\"2\"><Variabile v=\"1\"/><Variabile v=\"2\"/></Nodo></M-Bus_Network>"
       "<!--SW_VERSION = 2.012-->"},
      {"<M-Bus_Network/>\n", "<M-Bus_Network>\n  <Nodo a=\"2\">\n    <Variabile v=\"1\"/>\n    <Variabile v=\"2\"/>\n"
                             "  </Nodo>\n</M-Bus_Network>\n"},
  };
  for (const Case& c : cases) {
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromString(c.file));
    TXMLNode nodo = doc.DocumentElement().AddChild("Nodo");
    nodo.SetAttribute("a", "2");
    nodo.AddChild("Variabile").SetAttribute("v", "1");
    nodo.AddChild("Variabile").SetAttribute("v", "2");
    EXPECT_EQ(S(doc.SaveToString()), c.want) << c.file;
    EXPECT_EQ(doc.DocumentElement().ChildElements().Count(), c.file == cases[3].file ? 1 : 2);
  }
}

TEST(XmlDocument, RemovedChildrenTakeTheirLayoutAlong) {
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString("<r>\n  <a/>\n  <b/>\n  <c/>\n</r>\n"));
  TXMLNode r = doc.DocumentElement();
  EXPECT_TRUE(r.RemoveChild(r.FindNode("b")));
  EXPECT_EQ(S(doc.SaveToString()), "<r>\n  <a/>\n  <c/>\n</r>\n");
  TXMLDocument noClosingBreak;
  ASSERT_TRUE(noClosingBreak.LoadFromString("<r>\n  <a/>\n  <b/></r>"));
  noClosingBreak.DocumentElement().RemoveChild(noClosingBreak.DocumentElement().FindNode("b"));
  EXPECT_EQ(S(noClosingBreak.SaveToString()), "<r>\n  <a/></r>");
  EXPECT_TRUE(r.RemoveChild(r.FindNode("a")));
  EXPECT_TRUE(r.RemoveChild(r.FindNode("c")));
  EXPECT_FALSE(r.RemoveChild(r.FindNode("c")));
  EXPECT_FALSE(r.RemoveChild(doc.DocumentElement()));  // not a child of itself
  r.AddChild("d");
  EXPECT_EQ(S(doc.SaveToString()), "<r>\n  <d/>\n</r>\n");
  r.ClearChildNodes();
  EXPECT_FALSE(r.HasChildNodes());
  EXPECT_EQ(S(doc.SaveToString()), "<r/>\n");
}

TEST(XmlDocument, RefusedAndNullOperationsChangeNothing) {
  TXMLDocument doc;
  EXPECT_TRUE(doc.DocumentElement().IsNull());
  EXPECT_EQ(S(doc.SaveToString()), "");
  TXMLNode root = doc.AddChild("root");
  ASSERT_FALSE(root.IsNull());
  EXPECT_TRUE(doc.AddChild("second").IsNull());  // one root element only
  EXPECT_TRUE(root.AddChild("bad name").IsNull());
  EXPECT_TRUE(root.AddChild("").IsNull());
  TXMLNode comment = root.AddComment("c");
  EXPECT_TRUE(comment.AddChild("x").IsNull());

  TXMLNode null;
  EXPECT_FALSE(null);
  EXPECT_EQ(null.NodeType(), TXMLNodeType::Null);
  EXPECT_EQ(null.Text(), "");
  EXPECT_EQ(null.Attribute("a", "d"), "d");
  EXPECT_FALSE(null.SetAttribute("a", "1"));
  EXPECT_TRUE(null.AddChild("a").IsNull());
  EXPECT_TRUE(null.FindNode("a").IsNull());
  EXPECT_TRUE(null.NextSibling().IsNull());
  EXPECT_EQ(null.ChildNodes().Count(), 0);
  EXPECT_FALSE(root.RemoveChild(null));
  null.SetText("x");
  null.ClearChildNodes();
  EXPECT_EQ(S(doc.SaveToString()), "<root>\n  <!--c-->\n</root>\n");
}

TEST(XmlDocument, CommentsAndCDataStayWellFormed) {
  TXMLDocument doc;
  TXMLNode root = doc.AddChild("r");
  root.AddComment("a--b-");
  TXMLNode cdata;
  ASSERT_TRUE(doc.LoadFromString(doc.SaveToString()));
  EXPECT_EQ(doc.DocumentElement().FirstChild().NodeType(), TXMLNodeType::Comment);
  ASSERT_TRUE(doc.LoadFromString("<r><![CDATA[a]]]]><![CDATA[>b]]></r>"));
  EXPECT_EQ(doc.DocumentElement().Text(), "a]]>b");
  ASSERT_TRUE(doc.LoadFromString(doc.SaveToString()));
  EXPECT_EQ(doc.DocumentElement().Text(), "a]]>b");
}

TEST(XmlDocument, Latin1FilesStayLatin1) {
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xE9</a>"));
  EXPECT_EQ(doc.DocumentElement().Text(), QString::fromUtf8("café"));
  doc.DocumentElement().SetText(QString::fromUtf8("é €"));
  doc.DocumentElement().SetAttribute("u", QString::fromUtf8("€"));
  const QByteArray saved = doc.SaveToBytes();
  EXPECT_EQ(S(saved), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a u=\"&#8364;\">\xE9 &#8364;</a>");
  TXMLDocument again;
  ASSERT_TRUE(again.LoadFromBytes(saved));
  EXPECT_EQ(again.DocumentElement().Text(), QString::fromUtf8("é €"));

  // A declaration naming an encoding the writer does not produce is written as UTF-8.
  ASSERT_TRUE(doc.LoadFromString("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>\u00e9</a>"));
  EXPECT_EQ(S(doc.SaveToBytes()), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>");
}

TEST(XmlDocument, DeclarationCanBeAddedAndRemoved) {
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString(kParGen));
  EXPECT_FALSE(doc.HasDeclaration());
  doc.SetDeclaration();
  EXPECT_TRUE(doc.HasDeclaration());
  EXPECT_EQ(S(doc.SaveToString()), std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + kParGen);
  doc.SetDeclaration("ISO-8859-1");
  EXPECT_EQ(S(doc.SaveToString()), std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n") + kParGen);
  doc.RemoveDeclaration();
  EXPECT_EQ(S(doc.SaveToString()), kParGen);
}

TEST(XmlDocument, ElementsInsertedBeforeASiblingKeepTheOrder) {
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString("<r><a/><c/></r>"));
  TXMLNode root = doc.DocumentElement();
  TXMLNode c = root.FindNode("c");
  EXPECT_FALSE(root.InsertChildBefore("b", c).IsNull());
  EXPECT_FALSE(root.InsertChildBefore("d", TXMLNode()).IsNull());  // no sibling: at the end
  EXPECT_TRUE(root.InsertChildBefore("x", root).IsNull());         // not a child
  EXPECT_TRUE(root.InsertChildBefore("bad name", c).IsNull());
  EXPECT_STREQ(root.FindNode("b").NameUtf8(), "b");
  EXPECT_EQ(S(doc.SaveToString()), "<r><a/><b/><c/><d/></r>");
}

// Readers of many alike elements take the attributes by a table of names in one walk: whatever order, repeats,
// unknown names or missing names an element has, each entry is the value of the first attribute of its name.
TEST(XmlDocument, AttributeValuesByNameTable) {
  static const char* const kNames[] = {"Enable", "Desc", "Type", "ModReg", "Position", "E", ""};
  const TXMLNameTable table(kNames, 6);
  EXPECT_EQ(table.Count(), 6);
  EXPECT_EQ(table.Find("Type"), 2);
  EXPECT_EQ(table.Find("Type", 2), 2);
  EXPECT_EQ(table.Find("Type", 0), 2);   // a wrong guess still finds it
  EXPECT_EQ(table.Find("Typ", 2), -1);   // a prefix of the guessed name is not it
  EXPECT_EQ(table.Find("TypeX", 2), -1);
  EXPECT_EQ(table.Find("Enabl"), -1);
  EXPECT_EQ(table.Find("E"), 5);
  EXPECT_EQ(table.Find("", 99), -1);     // names outside the count are not in the table

  struct Case {
    const char* xml;
    std::vector<const char*> values;  // by table index; nullptr: none
  } cases[] = {
      {"<V Enable=\"1\" Desc=\"a &amp; b\" Type=\"3\" ModReg=\"10\" Position=\"2\" E=\"\"/>",
       {"1", "a & b", "3", "10", "2", ""}},
      {"<V Position=\"2\" ModReg=\"10\" Type=\"3\" Desc=\"d\" Enable=\"0\"/>", {"0", "d", "3", "10", "2", nullptr}},
      {"<V Other=\"x\" Type=\"3\" type=\"4\" Types=\"5\"/>", {nullptr, nullptr, "3", nullptr, nullptr, nullptr}},
      {"<V/>", {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromString(c.xml));
    std::vector<const char*> values(6, "junk");
    doc.DocumentElement().AttributeValues(table, values.data());
    for (size_t i = 0; i < values.size(); ++i) {
      if (!c.values[i]) EXPECT_EQ(values[i], nullptr) << i;
      else EXPECT_STREQ(values[i], c.values[i]) << i;
    }
  }

  // Not an element: nothing, and every entry cleared.
  TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromString("<a><!--Enable--></a>"));
  std::vector<const char*> values(6, "junk");
  doc.DocumentElement().FirstChild().AttributeValues(table, values.data());
  EXPECT_EQ(std::count(values.begin(), values.end(), nullptr), 6);
  TXMLNode().AttributeValues(table, values.data());
  EXPECT_EQ(std::count(values.begin(), values.end(), nullptr), 6);
}


namespace {

// Takes the values of the elements at depths 1 and 2 as they load, one line per element: "depth: v0|v1|-".
class Recording_Reader : public TXMLElementReader {
 public:
  explicit Recording_Reader(const TXMLNameTable& table) : table_(table) {}
  const TXMLNameTable* Names(int Depth) override { return Depth == 1 || Depth == 2 ? &table_ : nullptr; }
  void Element(int Depth, const char* const* Values) override { lines.push_back(Line(Depth, Values)); }
  std::string Line(int depth, const char* const* values) const {
    std::string s = std::to_string(depth) + ":";
    for (int i = 0; i < table_.Count(); ++i) s += std::string(i ? "|" : " ") + (values[i] ? values[i] : "-");
    return s;
  }
  std::vector<std::string> lines;

 private:
  const TXMLNameTable& table_;
};

}  // namespace

// A reader given the elements while a file loads sees what a walk over the loaded document reads, and the load
// refuses what it refuses without a reader, with the same message.
TEST_F(XmlFiles, ElementReaderSeesWhatTheLoadedDocumentHolds) {
  static const char* const kNames[] = {"Enable", "Type", "ModReg"};
  const TXMLNameTable table(kNames, 3);
  const char* const loads[] = {
      kMBus,
      "<r><n Type=\"1\" Enable=\"0\"><v ModReg=\"7\" Other=\"x\" Type=\"&lt;2&gt;\"/><!--c--><v/>"
      "<v Enable=\"1\"><deeper Type=\"9\"/></v></n>text<n/><n Type=\"\" ModReg=\"3\" Enable=\"1\"/></r><!--after-->",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r>\n <n Type=\"\xE4\"/>\n</r>",
  };
  for (const char* text : loads) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(WriteFileAtomic(Path("f.xml"), QByteArray(text)));
    TXMLDocument doc;
    Recording_Reader reader(table);
    QString error;
    ASSERT_TRUE(doc.LoadFromFile(Path("f.xml"), reader, &error)) << S(error);
    std::vector<std::string> walked;
    const char* values[3];
    for (TXMLNode n = doc.DocumentElement().FirstChildElement(); n; n = n.NextSiblingElement()) {
      n.AttributeValues(table, values);
      walked.push_back(reader.Line(1, values));
      for (TXMLNode v = n.FirstChildElement(); v; v = v.NextSiblingElement()) {
        v.AttributeValues(table, values);
        walked.push_back(reader.Line(2, values));
      }
    }
    EXPECT_EQ(reader.lines, walked);
    EXPECT_EQ(doc.SaveToBytes(), QByteArray(text));
  }

  const QByteArray refused[] = {
      "<r><n Type=\"1\" Enable=\"0\" Type=\"2\"/></r>",                          // a name of the table twice
      "<r><n><v Enable=\"1\" ModReg=\"2\" ModReg=\"3\" Enable=\"4\"/></n></r>",  // the first repeated is named
      "<r><n X=\"1\" Type=\"1\" X=\"2\"/></r>",                                 // a name the table lacks
      "<r><n><v><w Type=\"1\" Type=\"2\"/></v></n></r>",                        // below the depths read
      "<r Type=\"1\" Type=\"2\"><n/></r>",
      "<r><n Type=\"1\"/><n Type=\"2\"></r>",                                   // not closed, after elements read
      "<r><n/></r><r/>",
  };
  for (const QByteArray& text : refused) {
    SCOPED_TRACE(text.toStdString());
    ASSERT_TRUE(WriteFileAtomic(Path("bad.xml"), text));
    TXMLDocument plain, read;
    ASSERT_TRUE(read.LoadFromString(QString::fromLatin1(kParGen)));
    QString expected, error;
    EXPECT_FALSE(plain.LoadFromFile(Path("bad.xml"), &expected));
    Recording_Reader reader(table);
    EXPECT_FALSE(read.LoadFromFile(Path("bad.xml"), reader, &error));
    EXPECT_EQ(S(error), S(expected));
    EXPECT_EQ(S(read.LastError()), S(expected));
    EXPECT_EQ(read.DocumentElement().NodeName(), "GeneralParameter");
  }
}
