#pragma once
// The XML document every XML file of the program goes through.
//
// - Loading is all or nothing: a file that is not well-formed gives an error with its line and column and leaves
//   the document as it was.
// - Attribute order and texts are kept exactly; setting an existing attribute keeps its place, a new one is added
//   after the others.
// - A loaded file saves back to the same bytes when nothing changed (its line breaks, indentation, declaration,
//   byte-order mark and comments are kept); elements added to a formatted file are indented to match it.
// - A document built anew is written with the layout of Options(): indented by IndentText, or all on one line.
// - Saving to a file is atomic: a failed save leaves the old file whole.
//
// TXMLNode is a cheap handle into a document. A null handle is safe to use: it reads as empty and ignores
// changes. Handles become invalid when their node is removed, when the document is cleared or loaded anew, and
// when the document is destroyed.

#include "platform/rtl/exceptions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace pugi {
struct xml_node_struct;
struct xml_attribute_struct;
class xml_document;
}  // namespace pugi

namespace plat {

// Raised by the *OrRaise operations; the message is the one LastError() gives.
class EXMLError : public Exception {
 public:
  explicit EXMLError(const QString& Msg) : Exception(Msg) {}
};

// The largest XML file loaded unless the caller names a limit of its own: far above the largest network file
// a site could hold (250 nodes of 20 variables take about 1 MiB), far below what would exhaust memory.
inline constexpr qint64 MaxXmlFileSize = qint64(64) << 20;

enum class TXMLNodeType { Null, Document, Element, Text, CData, Comment, ProcessingInstruction, Declaration, Doctype };

class TXMLNodeList;

// A fixed set of attribute names that readers of many alike elements look up by index: the names are UTF-8
// texts, distinct, that live as long as the table (string literals). The lookup hashes the stored name once
// and mostly compares it once; attributes that follow the table's order are found without the hash.
class TXMLNameTable {
 public:
  TXMLNameTable(const char* const* Names, int Count);
  int Count() const { return static_cast<int>(lengths_.size()); }
  // The index of Name, or -1. Guess is tried first (an index, or anything outside the table).
  int Find(const char* Name, int Guess = -1) const;

 private:
  static constexpr size_t kSlots = 256;
  static size_t Hash(const char* s, size_t& len);
  const char* const* names_;
  std::vector<size_t> lengths_;
  int16_t slots_[kSlots];
};

// A cheap handle on one attribute, for readers that walk all attributes of many elements once: the name and
// value are the stored UTF-8 texts, valid while the attribute lives. A null handle ends the walk.
class TXMLAttribute {
 public:
  TXMLAttribute() = default;
  explicit operator bool() const { return attr_ != nullptr; }
  const char* NameUtf8() const;
  const char* ValueUtf8() const;
  TXMLAttribute Next() const;

 private:
  friend class TXMLNode;
  explicit TXMLAttribute(pugi::xml_attribute_struct* attr) : attr_(attr) {}
  pugi::xml_attribute_struct* attr_ = nullptr;
};

class TXMLNode {
 public:
  TXMLNode() = default;

  bool IsNull() const { return node_ == nullptr; }
  explicit operator bool() const { return node_ != nullptr; }
  bool operator==(const TXMLNode& other) const { return node_ == other.node_; }

  TXMLNodeType NodeType() const;
  bool IsElement() const { return NodeType() == TXMLNodeType::Element; }
  // Element name, or the target of a processing instruction; empty for other nodes.
  QString NodeName() const;
  // The same as the stored UTF-8 text (valid while the node lives), for readers that compare the names of many
  // elements; empty for other nodes.
  const char* NameUtf8() const;

  // Element: the concatenated text and CDATA children (not those of deeper elements), exactly as stored.
  // Text, CDATA, comment, processing instruction and doctype nodes: their content. Otherwise empty.
  QString Text() const;
  // The text of this node and all its descendants in document order (comments not included).
  QString DescendantText() const;
  // Element: replaces its text and CDATA children by one text node (none when Value is empty), placed before
  // any child element. Text, CDATA, comment and processing instruction nodes: replaces their content.
  void SetText(const QString& Value);

  // Attributes, in document order.
  int AttributeCount() const;
  QStringList AttributeNames() const;
  QString AttributeName(int Index) const;
  QString AttributeValue(int Index) const;
  // The first attribute in document order (null on other nodes and on an element without attributes).
  TXMLAttribute FirstAttribute() const;
  // The values of the attributes Table names, in one walk over the element's attributes: Values[i] is the
  // stored UTF-8 value of the attribute called Table's name i (of its first occurrence), nullptr when the element
  // has none of that name; Values holds Table.Count() entries. Names the table lacks are passed over. Every
  // entry is nullptr on a node that is not an element. The texts are valid while the attributes live.
  void AttributeValues(const TXMLNameTable& Table, const char** Values) const;
  bool HasAttribute(const QString& Name) const;
  // The value of the attribute, or Default when the element has none of that name.
  QString Attribute(const QString& Name, const QString& Default = QString()) const;
  // Sets the value in place when the attribute exists, else adds it after the others. False (nothing changed)
  // on a node that is not an element or when Name is not a valid XML name.
  bool SetAttribute(const QString& Name, const QString& Value);
  // Adds an attribute after the others without looking for one of the same name, for writers that build an
  // element anew from names they know to be valid and distinct (UTF-8 texts, not checked). False on a node that
  // is not an element.
  bool AppendAttribute(const char* NameUtf8, const char* ValueUtf8);
  bool RemoveAttribute(const QString& Name);

  TXMLNode ParentNode() const;
  // The child nodes in order: elements, comments, text, CDATA, processing instructions (and, on the document,
  // the declaration and doctype). Whitespace that only lays out the file is not listed.
  TXMLNodeList ChildNodes() const;
  // The child elements in order.
  TXMLNodeList ChildElements() const;
  bool HasChildNodes() const;
  // The first child element called Name, or a null node.
  TXMLNode FindNode(const QString& Name) const;
  // Neighbours in the sense of ChildNodes / ChildElements (layout whitespace skipped).
  TXMLNode FirstChild() const;
  TXMLNode NextSibling() const;
  TXMLNode PreviousSibling() const;
  TXMLNode FirstChildElement() const;
  TXMLNode NextSiblingElement() const;

  // Adds an element after the last child; null when Name is not a valid XML name or this node cannot hold
  // elements. In a formatted parent the new element gets the indentation of its siblings.
  TXMLNode AddChild(const QString& Name);
  // Adds an element in front of Before, a child of this node (after the last child when Before is null), with
  // no layout whitespace of its own; null when Name is not a valid XML name, this node cannot hold elements or
  // Before is not its child.
  TXMLNode InsertChildBefore(const QString& Name, const TXMLNode& Before);
  // Adds a comment after the last child (the document or an element), laid out like AddChild.
  TXMLNode AddComment(const QString& Text);
  // Removes Child (and the layout whitespace in front of it); false when Child is not a child of this node.
  bool RemoveChild(const TXMLNode& Child);
  // Removes every child node.
  void ClearChildNodes();

 private:
  friend class TXMLDocument;
  friend class TXMLNodeList;
  explicit TXMLNode(pugi::xml_node_struct* node) : node_(node) {}
  pugi::xml_node_struct* node_ = nullptr;
};

// A snapshot of child nodes; Item/operator[] give a null node outside 0 .. Count - 1.
class TXMLNodeList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.isEmpty(); }
  TXMLNode operator[](int Index) const { return Item(Index); }
  TXMLNode Item(int Index) const { return Index >= 0 && Index < Count() ? items_[Index] : TXMLNode(); }
  TXMLNode First() const { return Item(0); }
  TXMLNode Last() const { return Item(Count() - 1); }
  // The first element of the list called Name, or a null node.
  TXMLNode FindNode(const QString& Name) const;
  QList<TXMLNode>::const_iterator begin() const { return items_.begin(); }
  QList<TXMLNode>::const_iterator end() const { return items_.end(); }

 private:
  friend class TXMLNode;
  QList<TXMLNode> items_;
};

// A reader that takes the elements of a file while it loads, so that a large file is walked once. For each
// element, in document order, the load asks for the names the reader wants of an element at that depth (the root
// element stands at depth 0; null passes the element over), then hands over the element's values as
// TXMLNode::AttributeValues gives them; the texts are valid during the call. The load still checks the whole
// document: when it fails, whatever the reader took is to be dropped.
class TXMLElementReader {
 public:
  virtual ~TXMLElementReader() = default;
  virtual const TXMLNameTable* Names(int Depth) = 0;
  virtual void Element(int Depth, const char* const* Values) = 0;
};

// Layout of the parts of a document that carry no layout of their own (a document built anew, elements added
// to an unformatted file). Loading a file sets these to the file's own layout.
struct TXMLSaveOptions {
  bool Indent = true;                  // one element per line, nested elements indented
  QString IndentText = QStringLiteral("  ");  // one level of indentation
  QString LineBreak = QStringLiteral("\n");   // "\n" or "\r\n"
  bool ByteOrderMark = false;          // UTF-8 files only
};

class TXMLDocument {
 public:
  TXMLDocument();
  ~TXMLDocument();
  TXMLDocument(const TXMLDocument&) = delete;
  TXMLDocument& operator=(const TXMLDocument&) = delete;

  // Loading replaces the document only when the text is well-formed XML with one root element; otherwise the
  // document stays as it was and Error (and LastError) tell what is wrong, with line and column. A file that is
  // not a regular file, or is larger than MaxSize bytes, is refused in the same way without being read.
  bool LoadFromFile(const QString& FileName, QString* Error = nullptr, qint64 MaxSize = MaxXmlFileSize);
  // The same, handing the elements to Reader as the load walks the document.
  bool LoadFromFile(const QString& FileName, TXMLElementReader& Reader, QString* Error = nullptr,
                    qint64 MaxSize = MaxXmlFileSize);
  // Bytes in any encoding the text declares or its byte-order mark shows (UTF-8 when neither does).
  bool LoadFromBytes(const QByteArray& Data, QString* Error = nullptr);
  // A text already decoded: an encoding named in its declaration is kept for saving but not applied here.
  bool LoadFromString(const QString& Xml, QString* Error = nullptr);

  // Writes the whole document atomically. UTF-8, or ISO-8859-1 when the declaration names that encoding
  // (characters it cannot hold are written as character references).
  bool SaveToFile(const QString& FileName, QString* Error = nullptr) const;
  QByteArray SaveToBytes() const;
  QString SaveToString() const;

  // The same, raising EXMLError instead of returning false, for callers that end the operation with the
  // application's error box.
  void LoadFromFileOrRaise(const QString& FileName);
  void SaveToFileOrRaise(const QString& FileName) const;

  // Removes every node (the declaration included); Options stay.
  void Clear();
  bool IsEmpty() const;

  TXMLNode Node() const;             // the document node, parent of the top-level nodes
  TXMLNode DocumentElement() const;  // the root element, wherever it stands among the top-level nodes
  TXMLNodeList ChildNodes() const { return Node().ChildNodes(); }
  TXMLNode AddChild(const QString& Name) { return Node().AddChild(Name); }
  TXMLNode AddComment(const QString& Text) { return Node().AddComment(Text); }

  // Puts an XML declaration (version 1.0, the given encoding; empty Encoding writes none) at the start of the
  // document, replacing one that is there.
  void SetDeclaration(const QString& Encoding = QStringLiteral("UTF-8"));
  void RemoveDeclaration();
  bool HasDeclaration() const;

  TXMLSaveOptions& Options() { return options_; }
  const TXMLSaveOptions& Options() const { return options_; }

  // The file last loaded or saved.
  QString FileName() const { return fileName_; }
  QString LastError() const { return lastError_; }

 private:
  // Parses `data` in place, so the document keeps it; `original` gives the unparsed text again, needed only
  // for the position of an error.
  bool LoadFile(const QString& FileName, QString* Error, qint64 MaxSize, TXMLElementReader* reader);
  bool Load(QByteArray data, bool decoded, const std::function<QByteArray()>& original, QString* error,
            TXMLElementReader* reader = nullptr);

  QByteArray buffer_;  // the loaded text, which the parsed document points into; outlives doc_
  std::unique_ptr<pugi::xml_document> doc_;
  TXMLSaveOptions options_;
  bool keepTopLevel_ = false;  // loaded: the top level keeps the file's own line breaks (or none)
  QString fileName_;
  mutable QString lastError_;
};

}  // namespace plat
