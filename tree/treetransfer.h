#pragma once
// Transfer formats of the trees: the process-wide registry of formats (by name, tree class and priority), the
// list of formats one tree offers, and the data object a tree hands to the clipboard or to a drag. Format names
// become MIME types on this platform ("Lazy Tree Data" is application/x-lazy-tree-data, the text formats are
// text/plain, "HTML Format" text/html, the two RTF formats text/rtf, "CSV" text/csv).

#include <QMimeData>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "tree/lazytree.h"

namespace lazytree {

class TBaseLazyTreeControl;

// Medium kinds a format can travel in.
enum : uint32_t { TYMED_HGLOBAL = 1, TYMED_ISTREAM = 4 };
enum : int32_t { DVASPECT_CONTENT = 1 };

struct TFormatEtc {
  uint16_t Format = 0;  // format id: 1..17 the predefined ones, 0xC000 and above registered names
  int32_t Aspect = DVASPECT_CONTENT;
  int32_t Index = -1;
  uint32_t Tymed = TYMED_HGLOBAL;
  bool operator==(const TFormatEtc&) const = default;
};
using TFormatEtcArray = std::vector<TFormatEtc>;

// A tree class of the registry: a format is for trees of the class and its descendants.
struct TLazyTreeClass {
  const char* Name;
  bool (*IsInstance)(const TBaseLazyTree* Tree);
};
template <class T>
const TLazyTreeClass* TreeClassOf() {
  static const TLazyTreeClass c{typeid(T).name(),
                                [](const TBaseLazyTree* t) { return dynamic_cast<const T*>(t) != nullptr; }};
  return &c;
}

struct TClipboardFormatListEntry {
  QString Description;
  const TLazyTreeClass* TreeClass = nullptr;
  uint32_t Priority = 0;
  TFormatEtc FormatEtc;
};

inline const QString LazyTreeDataFormat = QStringLiteral("Lazy Tree Data");
inline const QString LazyTreeReferenceFormat = QStringLiteral("Lazy Tree Reference");

// Format ids of names (the platform's own registry of clipboard format names): the same name, compared
// without regard to case, always gets the same id; the predefined ids 1..17 answer their fixed names.
uint16_t RegisterClipboardFormat(const QString& Name);
QString ClipboardFormatName(uint16_t FormatId);
// The MIME type a format travels as.
QString MimeTypeOfFormat(uint16_t FormatId);

class TClipboardFormats;

// The registry, sorted by ascending priority. Made on first use with the formats of the trees.
class TClipboardFormatList {
 public:
  static void Add(const QString& Description, const TLazyTreeClass* TreeClass, const TFormatEtc& FormatEtc,
                  uint32_t Priority);
  static void Clear();
  // The formats for Tree's class (or its ancestors'), in list order; with Allowed only the names it holds.
  static void EnumerateFormats(const TBaseLazyTree* Tree, TFormatEtcArray& Formats,
                               const TClipboardFormats* Allowed = nullptr);
  static void EnumerateFormats(const TBaseLazyTree* Tree, QStringList& Formats);
  // The last entry of that name (case ignored), nil when none.
  static const TClipboardFormatListEntry* FindFormat(const QString& Description);
  static const TLazyTreeClass* FindFormat(const QString& Description, uint16_t& FormatId);
  static const TLazyTreeClass* FindFormat(uint16_t FormatId, QString& Description);
  static const std::vector<TClipboardFormatListEntry>& Entries();
};

// Ids 1..17 take their fixed names, higher ids the name registered for them; an unknown id registers nothing.
void RegisterTransferFormatById(uint16_t FormatId, const TLazyTreeClass* TreeClass, uint32_t Priority);
uint16_t RegisterTransferFormatByName(const QString& Description, const TLazyTreeClass* TreeClass, uint32_t Priority,
                                      uint32_t Tymed = TYMED_HGLOBAL, int32_t Aspect = DVASPECT_CONTENT,
                                      int32_t Index = -1);

// The names of the formats one tree offers: sorted, case ignored, no duplicates, only names the registry
// has for the tree's class.
class TClipboardFormats {
 public:
  explicit TClipboardFormats(const TBaseLazyTree* Owner) : FOwner(Owner) {}
  // The sorted position of S, or -1 when the registry has no such format for the owner.
  int Add(const QString& S);
  // A supported name cannot be put at a chosen place of a sorted list (EStringListError).
  void Insert(int Index, const QString& S);
  void Assign(const QStringList& Value);
  void Clear() { FList.clear(); }
  bool Contains(const QString& S) const;
  const QStringList& Strings() const { return FList; }
  int Count() const { return static_cast<int>(FList.size()); }

 private:
  const TBaseLazyTree* FOwner;
  QStringList FList;
};

// The data object of a clipboard operation or a drag: it offers the owner's formats and renders each when
// asked, so nothing is rendered that nobody reads. A clipboard object that goes (the clipboard got other
// content) ends its owner's pending cut or copy.
class TLTDataObject : public QMimeData {
 public:
  TLTDataObject(TBaseLazyTreeControl* Owner, bool ForClipboard);
  ~TLTDataObject() override;

  TBaseLazyTreeControl* Owner() const { return FOwner; }
  // The tree is going: the object renders nothing more.
  void ForgetOwner() { FOwner = nullptr; }
  bool ForClipboard() const { return FForClipboard; }
  const TFormatEtcArray& FormatEtcArray() const { return FFormatEtcArray; }

  QStringList formats() const override;
  bool hasFormat(const QString& MimeType) const override;

 protected:
  QVariant retrieveData(const QString& MimeType, QMetaType Type) const override;

 private:
  TBaseLazyTreeControl* FOwner;
  bool FForClipboard;
  TFormatEtcArray FFormatEtcArray;
};

// The tree of this process a data object came from, nil for data of other programs (or of a tree that is
// gone). Only objects this process made are trusted; no address is ever read from the data.
TBaseLazyTreeControl* SourceTreeOfDataObject(const QMimeData* DataObject);

}  // namespace lazytree
