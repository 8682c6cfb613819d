#include "platform/xml/xmldocument.h"

#include "platform/io/files.h"
#include "platform/xml/xml_text_check.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace plat {

namespace {

using pugi::xml_node;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

bool IsBlank(const char* s) {
  for (; *s; ++s)
    if (*s != ' ' && *s != '\t' && *s != '\n' && *s != '\r') return false;
  return true;
}

bool IsStructural(xml_node n) {
  const auto t = n.type();
  return t == pugi::node_element || t == pugi::node_comment || t == pugi::node_pi;
}

bool HasStructuralChild(xml_node parent) {
  for (xml_node c = parent.first_child(); c; c = c.next_sibling())
    if (IsStructural(c)) return true;
  return false;
}

// Whitespace that only lays out the file: blank text at the top level or beside child elements, comments or
// processing instructions. Blank text as the whole content of an element is that element's text.
bool IsLayout(xml_node n, bool parentHasStructure) {
  return n.type() == pugi::node_pcdata && IsBlank(n.value()) &&
         (n.parent().type() == pugi::node_document || parentHasStructure);
}

bool IsLayout(xml_node n) { return IsLayout(n, HasStructuralChild(n.parent())); }

bool IsValidName(const QString& name) {
  if (name.isEmpty()) return false;
  for (int i = 0; i < name.size(); ++i) {
    const QChar c = name[i];
    const bool start = c.isLetter() || c == u'_' || c == u':' || (c.unicode() >= 0x80 && !c.isSpace());
    const bool rest = start || c.isDigit() || c == u'.' || c == u'-';
    if (i == 0 ? !start : !rest) return false;
  }
  return true;
}

// Inserts a node of the given type after the last child; in a formatted parent it first inserts the same layout
// whitespace that stands in front of the last child, keeping the closing whitespace at the end.
xml_node InsertLaidOut(xml_node parent, pugi::xml_node_type type) {
  bool formatted = false;  // blank text with a line break becomes layout once the parent holds an element
  for (xml_node c = parent.first_child(); c && !formatted; c = c.next_sibling())
    formatted = c.type() == pugi::node_pcdata && IsBlank(c.value()) && std::strchr(c.value(), '\n');
  if (!formatted) return parent.append_child(type);
  xml_node last = parent.last_child();
  xml_node closing = last.type() == pugi::node_pcdata && IsBlank(last.value()) ? last : xml_node();
  xml_node lastContent = closing ? closing.previous_sibling() : last;
  std::string indent;
  if (lastContent && lastContent.previous_sibling() && IsLayout(lastContent.previous_sibling())) {
    indent = lastContent.previous_sibling().value();
  } else if (closing) {
    indent = closing.value();
    indent += std::string(closing.value()).find('\t') != std::string::npos ? "\t" : "  ";
    if (parent.type() == pugi::node_document) indent = "\n";
  } else {
    indent = "\n";
  }
  xml_node ws = closing ? parent.insert_child_before(pugi::node_pcdata, closing) : parent.append_child(pugi::node_pcdata);
  ws.set_value(indent.c_str());
  return closing ? parent.insert_child_before(type, closing) : parent.append_child(type);
}

void AppendDescendantText(xml_node n, QString& out) {
  for (xml_node c = n.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element) AppendDescendantText(c, out);
    else if ((c.type() == pugi::node_pcdata && !IsLayout(c)) || c.type() == pugi::node_cdata) out += Q(c.value());
  }
}

// --- writing ----------------------------------------------------------------------------------------------------

bool IsLatin1Name(const char* encoding) {
  const QString e = Q(encoding).trimmed().toLower();
  return e == QLatin1String("iso-8859-1") || e == QLatin1String("latin1") || e == QLatin1String("latin-1") ||
         e == QLatin1String("iso_8859-1") || e == QLatin1String("iso8859-1");
}

bool IsUtf8Name(const char* encoding) {
  const QString e = Q(encoding).trimmed().toLower();
  return e == QLatin1String("utf-8") || e == QLatin1String("utf8");
}

class Writer {
 public:
  // Latin1: the text becomes ISO-8859-1 bytes, so characters beyond it are written as references.
  // KeepTopLevel: write the top-level nodes as they stand, without line breaks of the writer's own.
  Writer(const TXMLSaveOptions& options, bool latin1, bool keepTopLevel)
      : o_(options), latin1_(latin1), keepTopLevel_(keepTopLevel) {
    indent_ = o_.IndentText.toStdString();
  }

  std::string Document(xml_node doc) {
    bool verbatim = keepTopLevel_;
    for (xml_node c = doc.first_child(); c; c = c.next_sibling())
      if (c.type() == pugi::node_pcdata) verbatim = true;
    for (xml_node c = doc.first_child(); c; c = c.next_sibling()) {
      Node(c, 0);
      if (!verbatim && o_.Indent) out_ += '\n';
    }
    if (o_.LineBreak != QLatin1String("\n")) {
      const std::string lb = o_.LineBreak.toStdString();
      std::string converted;
      converted.reserve(out_.size() + out_.size() / 16);
      for (char ch : out_) {
        if (ch == '\n') converted += lb;
        else converted += ch;
      }
      out_.swap(converted);
    }
    return std::move(out_);
  }

 private:
  void Node(xml_node n, int depth) {
    switch (n.type()) {
      case pugi::node_element: Element(n, depth); break;
      case pugi::node_pcdata: Escaped(n.value(), false); break;
      case pugi::node_cdata: {
        out_ += "<![CDATA[";
        // "]]>" cannot stand inside a section: end the section between "]]" and ">".
        const std::string v = n.value();
        size_t from = 0, at;
        while ((at = v.find("]]>", from)) != std::string::npos) {
          out_.append(v, from, at + 2 - from);
          out_ += "]]><![CDATA[";
          from = at + 2;
        }
        out_.append(v, from, std::string::npos);
        out_ += "]]>";
        break;
      }
      case pugi::node_comment: {
        out_ += "<!--";
        // "--" and a final "-" would end the comment early.
        const char* v = n.value();
        for (const char* p = v; *p; ++p) {
          out_ += *p;
          if (*p == '-' && (p[1] == '-' || p[1] == 0)) out_ += ' ';
        }
        out_ += "-->";
        break;
      }
      case pugi::node_pi:
        out_ += "<?";
        out_ += n.name();
        if (*n.value()) {
          out_ += ' ';
          out_ += n.value();
        }
        out_ += "?>";
        break;
      case pugi::node_declaration:
        out_ += "<?xml";
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
          out_ += ' ';
          out_ += a.name();
          out_ += "=\"";
          // The file is written in UTF-8 unless the declaration names ISO-8859-1.
          if (QByteArray(a.name()) == "encoding" && !IsLatin1Name(a.value()) && !IsUtf8Name(a.value()))
            out_ += "UTF-8";
          else Escaped(a.value(), true);
          out_ += '"';
        }
        out_ += "?>";
        break;
      case pugi::node_doctype:
        out_ += "<!DOCTYPE ";
        out_ += n.value();
        out_ += '>';
        break;
      default: break;
    }
  }

  void Element(xml_node n, int depth) {
    out_ += '<';
    out_ += n.name();
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
      out_ += ' ';
      out_ += a.name();
      out_ += "=\"";
      Escaped(a.value(), true);
      out_ += '"';
    }
    if (!n.first_child()) {
      out_ += "/>";
      return;
    }
    out_ += '>';
    bool text = false;
    for (xml_node c = n.first_child(); c; c = c.next_sibling())
      if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) text = true;
    // Content with text of its own (layout whitespace included) is written as it stands.
    if (text || !o_.Indent) {
      for (xml_node c = n.first_child(); c; c = c.next_sibling()) Node(c, depth + 1);
    } else {
      for (xml_node c = n.first_child(); c; c = c.next_sibling()) {
        NewLine(depth + 1);
        Node(c, depth + 1);
      }
      NewLine(depth);
    }
    out_ += "</";
    out_ += n.name();
    out_ += '>';
  }

  void NewLine(int depth) {
    out_ += '\n';
    for (int i = 0; i < depth; ++i) out_ += indent_;
  }

  void CharRef(unsigned code) {
    out_ += "&#";
    out_ += std::to_string(code);
    out_ += ';';
  }

  void Escaped(const char* s, bool attribute) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p) {
      const unsigned char c = *p;
      if (c == '&') out_ += "&amp;";
      else if (c == '<') out_ += "&lt;";
      else if (c == '>') out_ += "&gt;";
      else if (c == '"' && attribute) out_ += "&quot;";
      else if (c == '\r' || (c < 0x20 && c != '\n' && c != '\t') || (attribute && (c == '\n' || c == '\t'))) CharRef(c);
      else if (latin1_ && c >= 0xC4) {
        // A character beyond ISO-8859-1: write it as a reference, which that encoding can carry.
        unsigned code = 0;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
        code = c & (0x3F >> more);
        ++p;
        for (; more > 0 && (*p & 0xC0) == 0x80; --more, ++p) code = (code << 6) | (*p & 0x3F);
        CharRef(code);
        continue;
      } else out_ += static_cast<char>(c);
      ++p;
    }
  }

  const TXMLSaveOptions& o_;
  bool latin1_;
  bool keepTopLevel_;
  std::string indent_;
  std::string out_;
};

pugi::xml_node DeclarationOf(const pugi::xml_document& doc) {
  for (xml_node c = doc.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_declaration) return c;
  return xml_node();
}

// Finds what the parser lets through but a document may not hold, and whether any element is laid out on
// several lines.
// Hands the elements to a reader on the way, when there is one.
struct ContentCheck : pugi::xml_tree_walker {
  static constexpr int kMaxDepth = 1000;  // deeper nesting is no configuration file; it would only exhaust the stack
  QString problem;
  ptrdiff_t offset = 0;
  bool layoutBreak = false;

  explicit ContentCheck(TXMLElementReader* reader) : reader_(reader) {}

  bool for_each(xml_node& n) override {
    if (n.type() == pugi::node_pcdata) {
      if (!layoutBreak && std::strchr(n.value(), '\n') && IsLayout(n)) layoutBreak = true;
      return true;
    }
    if (n.type() != pugi::node_element) return true;
    if (depth() >= kMaxDepth) return Problem(QStringLiteral("Elements nested too deeply"), n);
    const TXMLNameTable* table = reader_ ? reader_->Names(depth()) : nullptr;
    if (!table) return NoRepeatedName(n);
    // One walk takes the values and shows that no name stands twice, as long as every name is in the table;
    // otherwise the names are compared as for any element.
    values_.assign(size_t(table->Count()), nullptr);
    bool allKnownOnce = true;
    int guess = 0;
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
      const int id = table->Find(a.name(), guess);
      if (id < 0 || values_[size_t(id)]) allKnownOnce = false;
      else values_[size_t(id)] = a.value();
      guess = id + 1;
    }
    if (!allKnownOnce && !NoRepeatedName(n)) return false;
    reader_->Element(depth(), values_.data());
    return true;
  }

  bool Problem(const QString& what, xml_node n) {
    problem = what;
    offset = n.offset_debug();
    return false;
  }

 private:
  bool NoRepeatedName(xml_node n) {
    names_.clear();
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) names_.push_back(a.name());
    if (const char* repeated = RepeatedName())
      return Problem(QStringLiteral("Attribute \"%1\" repeated").arg(Q(repeated)), n);
    return true;
  }

  // The first attribute name (in document order) that stands again further on, or null. A network file holds
  // thousands of elements with some twenty attributes each, so beyond a few names a hash table of the first
  // occurrences replaces the pairwise comparison.
  const char* RepeatedName() {
    const size_t count = names_.size();
    if (count <= kPairwiseMax) {
      for (size_t a = 0; a < count; ++a)
        for (size_t b = a + 1; b < count; ++b)
          if (std::strcmp(names_[a], names_[b]) == 0) return names_[a];
      return nullptr;
    }
    size_t size = 32;
    while (size < 2 * count) size *= 2;
    slots_.assign(size, 0);  // index + 1 of a name's first occurrence; 0 is a free slot
    size_t first = count;
    for (size_t k = 0; k < count; ++k) {
      size_t i = Hash(names_[k]) & (size - 1);
      while (slots_[i] && std::strcmp(names_[slots_[i] - 1], names_[k]) != 0) i = (i + 1) & (size - 1);
      if (slots_[i])
        first = std::min(first, slots_[i] - 1);
      else
        slots_[i] = k + 1;
    }
    return first < count ? names_[first] : nullptr;
  }

  static size_t Hash(const char* s) {
    size_t h = 14695981039346656037ull;
    for (; *s; ++s) h = (h ^ static_cast<unsigned char>(*s)) * 1099511628211ull;
    return h;
  }

  static constexpr size_t kPairwiseMax = 8;
  std::vector<const char*> names_;  // both kept between elements, so that the walk allocates only at the start
  std::vector<size_t> slots_;
  TXMLElementReader* reader_;
  std::vector<const char*> values_;
};

}  // namespace

// --- TXMLNode -----------------------------------------------------------------------------------------------------

TXMLNodeType TXMLNode::NodeType() const {
  switch (xml_node(node_).type()) {
    case pugi::node_document: return TXMLNodeType::Document;
    case pugi::node_element: return TXMLNodeType::Element;
    case pugi::node_pcdata: return TXMLNodeType::Text;
    case pugi::node_cdata: return TXMLNodeType::CData;
    case pugi::node_comment: return TXMLNodeType::Comment;
    case pugi::node_pi: return TXMLNodeType::ProcessingInstruction;
    case pugi::node_declaration: return TXMLNodeType::Declaration;
    case pugi::node_doctype: return TXMLNodeType::Doctype;
    default: return TXMLNodeType::Null;
  }
}

QString TXMLNode::NodeName() const {
  const xml_node n(node_);
  return n.type() == pugi::node_element || n.type() == pugi::node_pi ? Q(n.name()) : QString();
}

const char* TXMLNode::NameUtf8() const {
  const xml_node n(node_);
  return n.type() == pugi::node_element || n.type() == pugi::node_pi ? n.name() : "";
}

QString TXMLNode::Text() const {
  const xml_node n(node_);
  switch (n.type()) {
    case pugi::node_element: {
      const bool structure = HasStructuralChild(n);
      QString text;
      for (xml_node c = n.first_child(); c; c = c.next_sibling())
        if ((c.type() == pugi::node_pcdata && !IsLayout(c, structure)) || c.type() == pugi::node_cdata)
          text += Q(c.value());
      return text;
    }
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
    case pugi::node_doctype: return Q(n.value());
    default: return QString();
  }
}

QString TXMLNode::DescendantText() const {
  const xml_node n(node_);
  if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) return Q(n.value());
  QString out;
  AppendDescendantText(n, out);
  return out;
}

void TXMLNode::SetText(const QString& Value) {
  xml_node n(node_);
  const QByteArray v = Value.toUtf8();
  switch (n.type()) {
    case pugi::node_element: {
      const bool structure = HasStructuralChild(n);
      for (xml_node c = n.first_child(); c;) {
        const xml_node next = c.next_sibling();
        if ((c.type() == pugi::node_pcdata && !IsLayout(c, structure)) || c.type() == pugi::node_cdata)
          n.remove_child(c);
        c = next;
      }
      if (!v.isEmpty()) n.prepend_child(pugi::node_pcdata).set_value(v.constData());
      break;
    }
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi: n.set_value(v.constData()); break;
    default: break;
  }
}

int TXMLNode::AttributeCount() const {
  int count = 0;
  for (pugi::xml_attribute a = xml_node(node_).first_attribute(); a; a = a.next_attribute()) ++count;
  return count;
}

QStringList TXMLNode::AttributeNames() const {
  QStringList names;
  if (xml_node(node_).type() != pugi::node_element) return names;
  for (pugi::xml_attribute a = xml_node(node_).first_attribute(); a; a = a.next_attribute()) names << Q(a.name());
  return names;
}

namespace {
pugi::xml_attribute AttributeAt(xml_node n, int index) {
  if (n.type() != pugi::node_element || index < 0) return pugi::xml_attribute();
  pugi::xml_attribute a = n.first_attribute();
  for (; a && index > 0; --index) a = a.next_attribute();
  return a;
}
}  // namespace

QString TXMLNode::AttributeName(int Index) const { return Q(AttributeAt(xml_node(node_), Index).name()); }

QString TXMLNode::AttributeValue(int Index) const { return Q(AttributeAt(xml_node(node_), Index).value()); }

TXMLAttribute TXMLNode::FirstAttribute() const {
  const xml_node n(node_);
  return TXMLAttribute(n.type() == pugi::node_element ? n.first_attribute().internal_object() : nullptr);
}

const char* TXMLAttribute::NameUtf8() const { return pugi::xml_attribute(attr_).name(); }
const char* TXMLAttribute::ValueUtf8() const { return pugi::xml_attribute(attr_).value(); }
TXMLAttribute TXMLAttribute::Next() const { return TXMLAttribute(pugi::xml_attribute(attr_).next_attribute().internal_object()); }

// --- TXMLNameTable -------------------------------------------------------------------------------------------------

TXMLNameTable::TXMLNameTable(const char* const* Names, int Count) : names_(Names), lengths_(size_t(std::max(Count, 0))) {
  std::fill(std::begin(slots_), std::end(slots_), int16_t(-1));
  for (int i = 0; i < Count && i < int(kSlots); ++i) {
    size_t h = Hash(Names[i], lengths_[size_t(i)]);
    while (slots_[h] >= 0) h = (h + 1) & (kSlots - 1);
    slots_[h] = int16_t(i);
  }
}

namespace {
// Names are short: a loop beats a call.
inline bool SameBytes(const char* a, const char* b, size_t len) {
  for (size_t k = 0; k < len; ++k)
    if (a[k] != b[k]) return false;
  return true;
}
}  // namespace

// The length and three of the characters: enough to tell the names apart mostly, without a multiply per byte.
inline size_t TXMLNameTable::Hash(const char* s, size_t& len) {
  len = std::strlen(s);
  if (len == 0) return 0;
  const uint32_t h = uint32_t(len) * 61u + uint8_t(s[0]) * 7u + uint8_t(s[len - 1]) * 131u + uint8_t(s[len / 2]) * 17u;
  return (h ^ (h >> 7)) & (kSlots - 1);
}

int TXMLNameTable::Find(const char* Name, int Guess) const {
  if (Guess >= 0 && Guess < Count()) {
    const char* expected = names_[Guess];
    const size_t len = lengths_[size_t(Guess)];
    if (Name[0] == expected[0] && SameBytes(Name, expected, len) && Name[len] == 0) return Guess;
  }
  size_t len = 0;
  for (size_t h = Hash(Name, len); slots_[h] >= 0; h = (h + 1) & (kSlots - 1)) {
    const size_t i = size_t(slots_[h]);
    if (lengths_[i] == len && SameBytes(Name, names_[i], len)) return int(i);
  }
  return -1;
}

void TXMLNode::AttributeValues(const TXMLNameTable& Table, const char** Values) const {
  std::fill(Values, Values + Table.Count(), nullptr);
  const xml_node n(node_);
  if (n.type() != pugi::node_element) return;
  int guess = 0;
  for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
    const int id = Table.Find(a.name(), guess);
    if (id >= 0 && !Values[id]) Values[id] = a.value();
    guess = id + 1;
  }
}

bool TXMLNode::HasAttribute(const QString& Name) const {
  const xml_node n(node_);
  return n.type() == pugi::node_element && n.attribute(Name.toUtf8().constData());
}

QString TXMLNode::Attribute(const QString& Name, const QString& Default) const {
  const xml_node n(node_);
  if (n.type() != pugi::node_element) return Default;
  const pugi::xml_attribute a = n.attribute(Name.toUtf8().constData());
  return a ? Q(a.value()) : Default;
}

bool TXMLNode::SetAttribute(const QString& Name, const QString& Value) {
  xml_node n(node_);
  if (n.type() != pugi::node_element || !IsValidName(Name)) return false;
  const QByteArray name = Name.toUtf8();
  pugi::xml_attribute a = n.attribute(name.constData());
  if (!a) a = n.append_attribute(name.constData());
  return a.set_value(Value.toUtf8().constData());
}

bool TXMLNode::AppendAttribute(const char* NameUtf8, const char* ValueUtf8) {
  xml_node n(node_);
  return n.type() == pugi::node_element && n.append_attribute(NameUtf8).set_value(ValueUtf8);
}

bool TXMLNode::RemoveAttribute(const QString& Name) {
  xml_node n(node_);
  return n.type() == pugi::node_element && n.remove_attribute(Name.toUtf8().constData());
}

TXMLNode TXMLNode::ParentNode() const { return TXMLNode(xml_node(node_).parent().internal_object()); }

TXMLNodeList TXMLNode::ChildNodes() const {
  TXMLNodeList list;
  const xml_node n(node_);
  const bool structure = HasStructuralChild(n);
  for (xml_node c = n.first_child(); c; c = c.next_sibling())
    if (!IsLayout(c, structure)) list.items_.append(TXMLNode(c.internal_object()));
  return list;
}

TXMLNodeList TXMLNode::ChildElements() const {
  TXMLNodeList list;
  for (xml_node c = xml_node(node_).first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element) list.items_.append(TXMLNode(c.internal_object()));
  return list;
}

bool TXMLNode::HasChildNodes() const { return !FirstChild().IsNull(); }

TXMLNode TXMLNode::FindNode(const QString& Name) const {
  const QByteArray name = Name.toUtf8();
  for (xml_node c = xml_node(node_).first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && name == c.name()) return TXMLNode(c.internal_object());
  return TXMLNode();
}

TXMLNode TXMLNode::FirstChild() const {
  const xml_node n(node_);
  const bool structure = HasStructuralChild(n);
  for (xml_node c = n.first_child(); c; c = c.next_sibling())
    if (!IsLayout(c, structure)) return TXMLNode(c.internal_object());
  return TXMLNode();
}

TXMLNode TXMLNode::NextSibling() const {
  const xml_node n(node_);
  if (!n) return TXMLNode();
  const bool structure = HasStructuralChild(n.parent());
  for (xml_node c = n.next_sibling(); c; c = c.next_sibling())
    if (!IsLayout(c, structure)) return TXMLNode(c.internal_object());
  return TXMLNode();
}

TXMLNode TXMLNode::PreviousSibling() const {
  const xml_node n(node_);
  if (!n) return TXMLNode();
  const bool structure = HasStructuralChild(n.parent());
  for (xml_node c = n.previous_sibling(); c; c = c.previous_sibling())
    if (!IsLayout(c, structure)) return TXMLNode(c.internal_object());
  return TXMLNode();
}

TXMLNode TXMLNode::FirstChildElement() const {
  for (xml_node c = xml_node(node_).first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element) return TXMLNode(c.internal_object());
  return TXMLNode();
}

TXMLNode TXMLNode::NextSiblingElement() const {
  const xml_node n(node_);
  if (!n) return TXMLNode();
  for (xml_node c = n.next_sibling(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element) return TXMLNode(c.internal_object());
  return TXMLNode();
}

TXMLNode TXMLNode::AddChild(const QString& Name) {
  xml_node n(node_);
  if (!IsValidName(Name)) return TXMLNode();
  if (n.type() == pugi::node_document) {
    for (xml_node c = n.first_child(); c; c = c.next_sibling())
      if (c.type() == pugi::node_element) return TXMLNode();  // one root element only
  } else if (n.type() != pugi::node_element) {
    return TXMLNode();
  }
  xml_node child = InsertLaidOut(n, pugi::node_element);
  child.set_name(Name.toUtf8().constData());
  return TXMLNode(child.internal_object());
}

TXMLNode TXMLNode::InsertChildBefore(const QString& Name, const TXMLNode& Before) {
  xml_node n(node_);
  const xml_node before(Before.node_);
  if (!before) return AddChild(Name);
  if (!IsValidName(Name) || n.type() != pugi::node_element || before.parent() != n) return TXMLNode();
  xml_node child = n.insert_child_before(pugi::node_element, before);
  child.set_name(Name.toUtf8().constData());
  return TXMLNode(child.internal_object());
}

TXMLNode TXMLNode::AddComment(const QString& Text) {
  xml_node n(node_);
  if (n.type() != pugi::node_document && n.type() != pugi::node_element) return TXMLNode();
  xml_node child = InsertLaidOut(n, pugi::node_comment);
  child.set_value(Text.toUtf8().constData());
  return TXMLNode(child.internal_object());
}

bool TXMLNode::RemoveChild(const TXMLNode& Child) {
  xml_node n(node_);
  const xml_node c(Child.node_);
  if (!n || !c || c.parent() != n) return false;
  const xml_node before = c.previous_sibling();
  if (!IsLayout(c) && before && IsLayout(before)) n.remove_child(before);
  return n.remove_child(c);
}

void TXMLNode::ClearChildNodes() { xml_node(node_).remove_children(); }

TXMLNode TXMLNodeList::FindNode(const QString& Name) const {
  for (const TXMLNode& n : items_)
    if (n.IsElement() && n.NodeName() == Name) return n;
  return TXMLNode();
}

// --- TXMLDocument -------------------------------------------------------------------------------------------------

TXMLDocument::TXMLDocument() : doc_(std::make_unique<pugi::xml_document>()) {}

TXMLDocument::~TXMLDocument() = default;

bool TXMLDocument::LoadFromFile(const QString& FileName, QString* Error, qint64 MaxSize) {
  return LoadFile(FileName, Error, MaxSize, nullptr);
}

bool TXMLDocument::LoadFromFile(const QString& FileName, TXMLElementReader& Reader, QString* Error, qint64 MaxSize) {
  return LoadFile(FileName, Error, MaxSize, &Reader);
}

bool TXMLDocument::LoadFile(const QString& FileName, QString* Error, qint64 MaxSize, TXMLElementReader* reader) {
  QByteArray data;
  QString error;
  if (!ReadFileBytes(FileName, data, &error, MaxSize)) {
    lastError_ = error;
    if (Error) *Error = error;
    return false;
  }
  // The file is read again only to place an error: keeping a second copy of every file loaded costs more.
  auto original = [&FileName, MaxSize] {
    QByteArray again;
    ReadFileBytes(FileName, again, nullptr, MaxSize);
    return again;
  };
  if (!Load(std::move(data), false, original, &error, reader)) {
    lastError_ = QStringLiteral("Error in XML file \"%1\": %2").arg(FileName, error);
    if (Error) *Error = lastError_;
    return false;
  }
  fileName_ = FileName;
  return true;
}

bool TXMLDocument::LoadFromBytes(const QByteArray& Data, QString* Error) {
  QString error;
  if (!Load(Data, false, [&Data] { return Data; }, &error)) {
    lastError_ = QStringLiteral("Error in XML text: %1").arg(error);
    if (Error) *Error = lastError_;
    return false;
  }
  return true;
}

bool TXMLDocument::LoadFromString(const QString& Xml, QString* Error) {
  QString error;
  if (!Load(Xml.toUtf8(), true, [&Xml] { return Xml.toUtf8(); }, &error)) {
    lastError_ = QStringLiteral("Error in XML text: %1").arg(error);
    if (Error) *Error = lastError_;
    return false;
  }
  return true;
}

bool TXMLDocument::Load(QByteArray data, bool decoded, const std::function<QByteArray()>& original,
                        QString* error, TXMLElementReader* reader) {
  // The layout is read before parsing, which rewrites the buffer.
  TXMLSaveOptions layout = options_;
  layout.ByteOrderMark = !decoded && data.startsWith("\xEF\xBB\xBF");
  const qsizetype firstBreak = data.indexOf('\n');
  if (firstBreak >= 0) layout.LineBreak = firstBreak > 0 && data[firstBreak - 1] == '\r' ? "\r\n" : "\n";

  // What the parser would let through is refused first, on the text as it stands.
  const xmltext::TTextFault fault =
      xmltext::CheckText(data, decoded ? xmltext::TTextEncoding::Utf8 : xmltext::EncodingOf(data));
  if (fault.Offset >= 0) {
    *error = QStringLiteral("%1: %2").arg(xmltext::Position(data, fault.Offset), fault.What);
    return false;
  }

  auto doc = std::make_unique<pugi::xml_document>();
  const unsigned flags = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_eol |
                         pugi::parse_comments | pugi::parse_ws_pcdata | pugi::parse_declaration |
                         pugi::parse_doctype | pugi::parse_pi | pugi::parse_fragment;
  const pugi::xml_encoding encoding = decoded ? pugi::encoding_utf8 : pugi::encoding_auto;
  // The text is parsed with its terminating zero, as the parser's own copy would end: without it the last
  // character would be lost. Below four bytes the zero would take part in guessing the encoding.
  const pugi::xml_parse_result result =
      decoded || data.size() >= 4
          ? doc->load_buffer_inplace(data.data(), static_cast<size_t>(data.size()) + 1, flags, encoding)
          : doc->load_buffer(data.constData(), static_cast<size_t>(data.size()), flags, encoding);
  const bool utf8 = decoded || result.encoding == pugi::encoding_utf8;
  auto fail = [&](const QString& what, qsizetype offset) {
    // Offsets count in the parsed (UTF-8) text; for other encodings they are measured against a UTF-8 copy.
    const QByteArray text = utf8 ? original()
                                 : result.encoding == pugi::encoding_latin1 ? QString::fromLatin1(original()).toUtf8()
                                                                            : QByteArray();
    *error = text.isNull() ? what : QStringLiteral("%1: %2").arg(xmltext::Position(text, offset), what);
    return false;
  };
  if (!result) return fail(Q(result.description()), static_cast<qsizetype>(result.offset));

  // The parser accepts fragments so that the whitespace between top-level nodes is kept; what a document may
  // not hold is checked here.
  int roots = 0;
  for (xml_node c = doc->first_child(); c; c = c.next_sibling()) {
    if ((c.type() == pugi::node_pcdata && !IsBlank(c.value())) || c.type() == pugi::node_cdata) {
      const char* v = c.value();
      const ptrdiff_t blanks = static_cast<ptrdiff_t>(std::strspn(v, " \t\r\n"));
      return fail(QStringLiteral("Text outside the root element"), c.offset_debug() + blanks);
    }
    if (c.type() == pugi::node_element && ++roots > 1)
      return fail(QStringLiteral("More than one root element"), c.offset_debug());
  }
  if (roots == 0) return fail(QStringLiteral("No root element"), std::numeric_limits<qsizetype>::max());  // at the end
  ContentCheck check(reader);
  doc->traverse(check);
  if (!check.problem.isEmpty()) return fail(check.problem, check.offset);

  // Take over the file's layout, so that saving it unchanged gives the same bytes.
  layout.Indent = false;
  const xml_node root = doc->document_element();
  const bool rootStructure = HasStructuralChild(root);
  bool indentFound = false;
  for (xml_node c = root.first_child(); c; c = c.next_sibling()) {
    const char* v = c.value();
    const char* lastBreak = std::strrchr(v, '\n');
    if (lastBreak && c.next_sibling() && IsLayout(c, rootStructure)) {
      layout.Indent = true;
      layout.IndentText = Q(lastBreak + 1);
      indentFound = true;
      break;
    }
  }
  if (!indentFound) layout.Indent = check.layoutBreak;  // laid out below the root only
  options_ = layout;
  keepTopLevel_ = true;
  doc_ = std::move(doc);
  buffer_ = std::move(data);
  lastError_.clear();
  return true;
}

QByteArray TXMLDocument::SaveToBytes() const {
  const xml_node decl = DeclarationOf(*doc_);
  const bool latin1 = decl && IsLatin1Name(decl.attribute("encoding").value());
  const std::string text = Writer(options_, latin1, keepTopLevel_).Document(*doc_);
  if (latin1) return QString::fromStdString(text).toLatin1();
  QByteArray bytes;
  if (options_.ByteOrderMark) bytes = "\xEF\xBB\xBF";
  bytes.append(text.data(), static_cast<qsizetype>(text.size()));
  return bytes;
}

QString TXMLDocument::SaveToString() const {
  return QString::fromStdString(Writer(options_, false, keepTopLevel_).Document(*doc_));
}

bool TXMLDocument::SaveToFile(const QString& FileName, QString* Error) const {
  QString error;
  if (!WriteFileAtomic(FileName, SaveToBytes(), &error)) {
    lastError_ = error;
    if (Error) *Error = error;
    return false;
  }
  const_cast<TXMLDocument*>(this)->fileName_ = FileName;
  return true;
}

void TXMLDocument::LoadFromFileOrRaise(const QString& FileName) {
  QString error;
  if (!LoadFromFile(FileName, &error)) throw EXMLError(error);
}

void TXMLDocument::SaveToFileOrRaise(const QString& FileName) const {
  QString error;
  if (!SaveToFile(FileName, &error)) throw EXMLError(error);
}

void TXMLDocument::Clear() {
  doc_->reset();
  buffer_.clear();
  keepTopLevel_ = false;
}

bool TXMLDocument::IsEmpty() const { return !doc_->first_child(); }

TXMLNode TXMLDocument::Node() const { return TXMLNode(doc_->internal_object()); }

TXMLNode TXMLDocument::DocumentElement() const { return TXMLNode(doc_->document_element().internal_object()); }

void TXMLDocument::SetDeclaration(const QString& Encoding) {
  RemoveDeclaration();
  bool formatted = false;
  for (xml_node c = doc_->first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_pcdata) formatted = true;
  if (formatted) doc_->prepend_child(pugi::node_pcdata).set_value("\n");
  xml_node decl = doc_->prepend_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  if (!Encoding.isEmpty()) decl.append_attribute("encoding") = Encoding.toUtf8().constData();
}

void TXMLDocument::RemoveDeclaration() {
  for (xml_node c = doc_->first_child(); c;) {
    xml_node next = c.next_sibling();
    if (c.type() == pugi::node_declaration) {
      if (next && next.type() == pugi::node_pcdata) {
        xml_node after = next.next_sibling();
        doc_->remove_child(next);
        next = after;
      }
      doc_->remove_child(c);
    }
    c = next;
  }
}

bool TXMLDocument::HasDeclaration() const { return DeclarationOf(*doc_); }

}  // namespace plat
