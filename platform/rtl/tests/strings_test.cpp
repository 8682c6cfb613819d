#include "platform/rtl/strings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/rtl/exceptions.h"
#include "printers.h"

using namespace plat;

namespace {

QStringList Lines(const TStrings& L) {
  QStringList r;
  for (int i = 0; i < L.Count(); ++i) r << L[i];
  return r;
}

// Records the change events of a list.
struct EventLog {
  explicit EventLog(TStringList& L) {
    L.OnChanging = [this](TObject*) { Log += "<"; };
    L.OnChange = [this](TObject*) { Log += ">"; };
  }
  std::string Log;
};

class Tag : public TObject {};

}  // namespace

TEST(StringList, SortedListsAndDuplicates) {
  struct Case {
    TDuplicates dup;
    bool caseSensitive;
    QStringList want;
    bool raises;
  };
  const Case cases[] = {
      {dupIgnore, false, {"a", "b", "c"}, false},
      {dupAccept, false, {"a", "b", "B", "b", "c"}, false},
      {dupError, false, {}, true},
      {dupIgnore, true, {"B", "a", "b", "c"}, false},  // ordinal: upper case first
  };
  for (const auto& c : cases) {
    TStringList L;
    L.SetDuplicates(c.dup);
    L.SetCaseSensitive(c.caseSensitive);
    L.SetSorted(true);
    bool raised = false;
    try {
      for (const char* s : {"c", "b", "a", "B", "b"}) L.Add(s);
    } catch (const EStringListError& e) {
      raised = true;
      EXPECT_EQ(e.Message(), QString("String list does not allow duplicates"));
    }
    EXPECT_EQ(raised, c.raises);
    if (!c.raises) {
      EXPECT_EQ(Lines(L), c.want) << int(c.dup);
    }
  }
  TStringList L;
  L.SetSorted(true);
  EXPECT_EQ(L.Add("m"), 0);
  EXPECT_EQ(L.Add("z"), 1);
  EXPECT_EQ(L.Add("a"), 0);
  EXPECT_EQ(L.Add("M"), 1);  // dupIgnore returns the existing line
  int at = -1;
  EXPECT_FALSE(L.Find("n", at));
  EXPECT_EQ(at, 2);
  EXPECT_TRUE(L.Find("Z", at));
  EXPECT_EQ(at, 2);
  EXPECT_EQ(L.IndexOf("A"), 0);
  EXPECT_EQ(L.IndexOf("q"), -1);
  EXPECT_THROW(L.Insert(0, "x"), EStringListError);
  EXPECT_THROW(L.SetStrings(0, "x"), EStringListError);
  // Turning on case sensitivity re-sorts: upper case first.
  L.SetDuplicates(dupAccept);
  L.Add("B");
  L.SetCaseSensitive(true);
  EXPECT_EQ(Lines(L), QStringList({"B", "a", "m", "z"}));
}

TEST(StringList, SortAndCustomSortOnUnsortedList) {
  TStringList L;
  Tag t1, t2;
  L.AddObject("pear", &t1);
  L.Add("Apple");
  L.AddObject("fig", &t2);
  L.Add("banana");
  L.Sort();
  EXPECT_EQ(Lines(L), QStringList({"Apple", "banana", "fig", "pear"}));
  EXPECT_EQ(L.Objects(2), &t2);  // objects travel with their lines
  EXPECT_EQ(L.Objects(3), &t1);
  L.CustomSort([](TStringList* List, int a, int b) { return int(List->Strings(a).size() - List->Strings(b).size()); });
  EXPECT_EQ(L[0], QString("fig"));
  EXPECT_EQ(L[3], QString("banana"));
  TStringList big;
  for (int i = 0; i < 500; ++i) big.Add(QString::number((i * 7919) % 500).rightJustified(3, u'0'));
  big.Sort();
  for (int i = 0; i < 500; ++i) ASSERT_EQ(big[i], QString::number(i).rightJustified(3, u'0'));
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList L;
  L.Add("a");
  struct Case {
    std::function<void()> op;
    const char* message;
  };
  const Case cases[] = {
      {[&] { (void)L[1]; }, "List index out of bounds (1)"},
      {[&] { (void)L.Strings(-1); }, "List index out of bounds (-1)"},
      {[&] { L.Delete(5); }, "List index out of bounds (5)"},
      {[&] { L.Insert(2, "x"); }, "List index out of bounds (2)"},
      {[&] { L.SetObjects(1, nullptr); }, "List index out of bounds (1)"},
      {[&] { L.Exchange(0, 3); }, "List index out of bounds (3)"},
      {[&] { (void)L.Names(1); }, "List index out of bounds (1)"},
  };
  for (const auto& c : cases) {
    try {
      c.op();
      ADD_FAILURE() << c.message;
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), QString(c.message));
    }
  }
  L.Insert(1, "b");  // Insert at Count appends
  EXPECT_EQ(Lines(L), QStringList({"a", "b"}));
}

TEST(StringList, CommaTextQuoting) {
  struct Case {
    QStringList lines;
    const char* text;
  };
  const Case cases[] = {
      {{"a", "b c", "d,e", "say \"hi\"", ""}, "a,\"b c\",\"d,e\",\"say \"\"hi\"\"\","},
      {{""}, "\"\""},
      {{}, ""},
      {{"tab\there"}, "\"tab\there\""},
  };
  for (const auto& c : cases) {
    TStringList L;
    for (const auto& s : c.lines) L.Add(s);
    EXPECT_EQ(L.CommaText(), QString(c.text));
    TStringList back;
    back.SetCommaText(c.text);
    EXPECT_EQ(Lines(back), c.lines) << c.text;
  }
  struct Parse {
    const char* text;
    QStringList want;
  };
  const Parse parses[] = {
      {"a b,c", {"a", "b", "c"}},         // a blank separates lines too
      {"  a ,  b  ", {"a", "b"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"\"unclosed, text", {"unclosed, text"}},
      {"\"a\"b,c", {"a", "b", "c"}},
      {"", {}},
  };
  for (const auto& p : parses) {
    TStringList L;
    L.Add("old");
    L.SetCommaText(p.text);
    EXPECT_EQ(Lines(L), p.want) << p.text;
  }
}

TEST(StringList, DelimitedTextWithOwnDelimiterAndStrictMode) {
  TStringList L;
  L.SetDelimiter(u';');
  L.SetQuoteChar(u'\'');
  L.SetDelimitedText("a b;'c;d';x'y");
  EXPECT_EQ(Lines(L), QStringList({"a", "b", "c;d", "x'y"}));
  EXPECT_EQ(L.DelimitedText(), QString("a;b;'c;d';'x''y'"));
  L.SetStrictDelimiter(true);
  L.SetDelimitedText(" a b ;c");
  EXPECT_EQ(Lines(L), QStringList({" a b ", "c"}));
  EXPECT_EQ(L.DelimitedText(), QString(" a b ;c"));
  EXPECT_EQ(L.CommaText(), QString("\" a b \",c"));  // CommaText keeps its own rules
}

TEST(StringList, TextLineBreaks) {
  struct Case {
    const char* text;
    QStringList want;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}}, {"\r\n", {""}}, {"", {}},
  };
  for (const auto& c : cases) {
    TStringList L;
    L.SetText(c.text);
    EXPECT_EQ(Lines(L), c.want) << c.text;
  }
  TStringList L;
  L.SetText("x\ny");
  EXPECT_EQ(L.Text(), QString("x\r\ny\r\n"));
}

TEST(StringList, NamesAndValues) {
  TStringList L;
  L.SetText("Port=502\nName = main\nplain\n=empty\nip=a=b");
  EXPECT_EQ(L.Names(0), QString("Port"));
  EXPECT_EQ(L.Names(1), QString("Name "));
  EXPECT_EQ(L.Names(2), QString());
  EXPECT_EQ(L.Values("port"), QString("502"));  // names ignore letter case
  EXPECT_EQ(L.Values("Name "), QString(" main"));
  EXPECT_EQ(L.Values("missing"), QString());
  EXPECT_EQ(L.Values("ip"), QString("a=b"));
  EXPECT_EQ(L.ValueFromIndex(2), QString());  // no separator: no value, not the line minus one character
  EXPECT_EQ(L.ValueFromIndex(3), QString("empty"));
  EXPECT_EQ(L.IndexOfName("IP"), 4);
  EXPECT_EQ(L.IndexOfName("plain"), -1);
  L.SetValues("Port", "503");
  L.SetValues("New", "1");
  L.SetValues("ip", "");
  EXPECT_EQ(Lines(L), QStringList({"Port=503", "Name = main", "plain", "=empty", "New=1"}));
  L.SetValueFromIndex(4, "2");
  EXPECT_EQ(L[4], QString("New=2"));
}

TEST(StringList, ChangeEventsAndUpdateBatches) {
  TStringList L;
  EventLog ev(L);
  L.Add("a");
  L.Add("b");
  EXPECT_EQ(ev.Log, "<><>");
  ev.Log.clear();
  L.BeginUpdate();
  L.BeginUpdate();
  L.Add("c");
  L.Delete(0);
  L.EndUpdate();
  EXPECT_EQ(ev.Log, "<");
  L.EndUpdate();
  EXPECT_EQ(ev.Log, "<>");
  ev.Log.clear();
  L.SetText("x\ny\nz");
  EXPECT_EQ(ev.Log, "<>");
  ev.Log.clear();
  L.Clear();
  L.Clear();  // nothing to clear: no events
  EXPECT_EQ(ev.Log, "<>");
  ev.Log.clear();
  L.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(ev.Log, "");
}

TEST(StringList, MoveExchangeAssign) {
  TStringList L;
  Tag t;
  L.SetText("a\nb\nc\nd");
  L.SetObjects(0, &t);
  L.Move(0, 2);
  EXPECT_EQ(Lines(L), QStringList({"b", "c", "a", "d"}));
  EXPECT_EQ(L.Objects(2), &t);
  EXPECT_EQ(L.IndexOfObject(&t), 2);
  L.Exchange(0, 3);
  EXPECT_EQ(Lines(L), QStringList({"d", "c", "a", "b"}));
  // A move that cannot be done loses no line.
  EXPECT_THROW(L.Move(0, 4), EStringListError);
  EXPECT_EQ(Lines(L), QStringList({"d", "c", "a", "b"}));
  TStringList sorted;
  sorted.SetText("b\na");
  sorted.SetSorted(true);
  EXPECT_THROW(sorted.Move(0, 1), EStringListError);
  EXPECT_EQ(Lines(sorted), QStringList({"a", "b"}));

  TStringList copy;
  copy.Add("old");
  copy.Assign(&L);
  EXPECT_EQ(Lines(copy), Lines(L));
  EXPECT_EQ(copy.Objects(2), &t);
  copy.Assign(&copy);  // assigning a list to itself keeps it
  EXPECT_EQ(Lines(copy), Lines(L));
  try {
    copy.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QString("Cannot assign a nil to a TStringList"));
  }
}

TEST(StringList, FilesRoundTripInUtf8) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("lines.txt");
  TStringList L;
  L.SetText(QString::fromUtf8("für\n¶ Größe\n\nend"));
  L.SaveToFile(path);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("f\xc3\xbcr\r\n\xc2\xb6 Gr\xc3\xb6\xc3\x9f" "e\r\n\r\nend\r\n"));
  f.close();
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_EQ(Lines(back), Lines(L));

  // A byte-order mark is not part of the first line.
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\xef\xbb\xbfone\ntwo");
  f.close();
  back.LoadFromFile(path);
  EXPECT_EQ(Lines(back), QStringList({"one", "two"}));

  EXPECT_THROW(back.LoadFromFile(dir.filePath("missing.txt")), EFOpenError);
  EXPECT_THROW(L.SaveToFile(dir.filePath("no/such/dir/x.txt")), EFCreateError);
  EXPECT_EQ(Lines(back), QStringList({"one", "two"}));  // a failed load leaves the list alone
}
