#pragma once
// Walking the XML parts of office packages, whose writers may put a prefix on every element name
// ("x:row" for "row"): elements are matched by their local names.

#include <cstring>

#include "platform/xml/xmldocument.h"

namespace grid::office {

inline const char* LocalName(const plat::TXMLNode& Node) {
  const char* name = Node.NameUtf8();
  const char* colon = std::strchr(name, ':');
  return colon ? colon + 1 : name;
}

inline bool IsLocal(const plat::TXMLNode& Node, const char* Local) { return std::strcmp(LocalName(Node), Local) == 0; }

// The prefix of an element's name with its colon ("x:"), empty for none: new elements take their parent's.
inline QString PrefixOf(const plat::TXMLNode& Node) {
  const char* name = Node.NameUtf8();
  const char* colon = std::strchr(name, ':');
  return colon ? QString::fromUtf8(name, static_cast<qsizetype>(colon - name + 1)) : QString();
}

inline plat::TXMLNode ChildByLocal(const plat::TXMLNode& Parent, const char* Local) {
  for (plat::TXMLNode c = Parent.FirstChildElement(); c; c = c.NextSiblingElement())
    if (IsLocal(c, Local)) return c;
  return {};
}

// The value of the attribute whose local name is Local ("r:id" answers "id"); empty when none.
inline QString AttributeByLocal(const plat::TXMLNode& Node, const char* Local) {
  for (plat::TXMLAttribute a = Node.FirstAttribute(); a; a = a.Next()) {
    const char* name = a.NameUtf8();
    const char* colon = std::strchr(name, ':');
    if (std::strcmp(colon ? colon + 1 : name, Local) == 0 && (!colon || std::strncmp(name, "xmlns", 5) != 0))
      return QString::fromUtf8(a.ValueUtf8());
  }
  return {};
}

}  // namespace grid::office
