// The transfer format registry, the formats a tree offers, its data object, and cut, copy and paste through the
// clipboard.
#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <typeinfo>

#include "platform/forms/clipboard.h"
#include "platform/rtl/exceptions.h"
#include "tree/stringtree.h"
#include "tree/treecontrol.h"
#include "tree/treedrag.h"
#include "tree/treetransfer.h"

namespace lazytree {

namespace {

const char* const kPredefinedNames[] = {
    nullptr,           "Plain text",  "Windows bitmap", "Windows metafile", "Symbolic link", "Data interchange format",
    "Tiff image",      "OEM text",    "DIB image",      "Palette data",     "Pen data",      "Riff audio data",
    "Wav audio data",  "Unicode text", "Enhanced metafile image", "File name(s)", "Locale descriptor", "DIB image V5"};
constexpr uint16_t FirstRegisteredId = 0xC000;

std::vector<QString>& RegisteredNames() {
  static std::vector<QString> names;
  return names;
}

void SortByPriority(std::vector<TClipboardFormatListEntry>& list) {
  std::stable_sort(list.begin(), list.end(),
                   [](const TClipboardFormatListEntry& a, const TClipboardFormatListEntry& b) {
                     return a.Priority < b.Priority;
                   });
}

// The registry, filled with the trees' formats when first used.
std::vector<TClipboardFormatListEntry>& List() {
  static std::vector<TClipboardFormatListEntry> list = [] {
    std::vector<TClipboardFormatListEntry> l;
    auto add = [&](const QString& name, uint16_t id, const TLazyTreeClass* cls, uint32_t priority) {
      l.push_back({name, cls, priority, TFormatEtc{id}});
    };
    const TLazyTreeClass* base = TreeClassOf<TBaseLazyTree>();
    const TLazyTreeClass* text = TreeClassOf<TCustomLazyStringTree>();
    add(LazyTreeDataFormat, RegisterClipboardFormat(LazyTreeDataFormat), base, 50);
    for (auto [name, priority] : {std::pair{"HTML Format", 80u}, {"Rich Text Format Without Objects", 84u},
                                  {"Rich Text Format", 85u}, {"CSV", 90u}})
      add(QString::fromLatin1(name), RegisterClipboardFormat(QString::fromLatin1(name)), text, priority);
    add(QString::fromLatin1(kPredefinedNames[13]), 13, text, 95);
    add(QString::fromLatin1(kPredefinedNames[1]), 1, text, 100);
    SortByPriority(l);
    return l;
  }();
  return list;
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QClipboard* SystemClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

// ------------------------------------------------------------------------------------------------------------
// Format names and the registry

uint16_t RegisterClipboardFormat(const QString& Name) {
  std::vector<QString>& names = RegisteredNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (SameName(names[i], Name)) return static_cast<uint16_t>(FirstRegisteredId + i);
  names.push_back(Name);
  return static_cast<uint16_t>(FirstRegisteredId + names.size() - 1);
}

QString ClipboardFormatName(uint16_t FormatId) {
  if (FormatId >= 1 && FormatId <= 17) return QString::fromLatin1(kPredefinedNames[FormatId]);
  const std::vector<QString>& names = RegisteredNames();
  if (FormatId >= FirstRegisteredId && FormatId - FirstRegisteredId < static_cast<int>(names.size()))
    return names[FormatId - FirstRegisteredId];
  return {};
}

QString MimeTypeOfFormat(uint16_t FormatId) { return plat::MimeTypeOfClipboardFormat(ClipboardFormatName(FormatId)); }

void TClipboardFormatList::Add(const QString& Description, const TLazyTreeClass* TreeClass,
                               const TFormatEtc& FormatEtc, uint32_t Priority) {
  List().push_back({Description, TreeClass, Priority, FormatEtc});
  SortByPriority(List());
}

void TClipboardFormatList::Clear() { List().clear(); }

void TClipboardFormatList::EnumerateFormats(const TBaseLazyTree* Tree, TFormatEtcArray& Formats,
                                            const TClipboardFormats* Allowed) {
  Formats.clear();
  for (const TClipboardFormatListEntry& e : List())
    if (e.TreeClass->IsInstance(Tree) && (!Allowed || Allowed->Contains(e.Description))) Formats.push_back(e.FormatEtc);
}

void TClipboardFormatList::EnumerateFormats(const TBaseLazyTree* Tree, QStringList& Formats) {
  for (const TClipboardFormatListEntry& e : List())
    if (e.TreeClass->IsInstance(Tree)) Formats.append(e.Description);
}

const TClipboardFormatListEntry* TClipboardFormatList::FindFormat(const QString& Description) {
  const std::vector<TClipboardFormatListEntry>& list = List();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (SameName(it->Description, Description)) return &*it;
  return nullptr;
}

const TLazyTreeClass* TClipboardFormatList::FindFormat(const QString& Description, uint16_t& FormatId) {
  const TClipboardFormatListEntry* e = FindFormat(Description);
  if (!e) return nullptr;
  FormatId = e->FormatEtc.Format;
  return e->TreeClass;
}

const TLazyTreeClass* TClipboardFormatList::FindFormat(uint16_t FormatId, QString& Description) {
  const std::vector<TClipboardFormatListEntry>& list = List();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (it->FormatEtc.Format == FormatId) {
      Description = it->Description;
      return it->TreeClass;
    }
  return nullptr;
}

const std::vector<TClipboardFormatListEntry>& TClipboardFormatList::Entries() { return List(); }

void RegisterTransferFormatById(uint16_t FormatId, const TLazyTreeClass* TreeClass, uint32_t Priority) {
  if (FormatId == 0 || (FormatId > 17 && FormatId < FirstRegisteredId)) return;
  const QString name = ClipboardFormatName(FormatId);
  if (name.isEmpty()) return;
  TClipboardFormatList::Add(name, TreeClass, TFormatEtc{FormatId}, Priority);
}

uint16_t RegisterTransferFormatByName(const QString& Description, const TLazyTreeClass* TreeClass, uint32_t Priority,
                                      uint32_t Tymed, int32_t Aspect, int32_t Index) {
  const uint16_t id = RegisterClipboardFormat(Description);
  TClipboardFormatList::Add(Description, TreeClass, TFormatEtc{id, Aspect, Index, Tymed}, Priority);
  return id;
}

// ------------------------------------------------------------------------------------------------------------
// The formats one tree offers

int TClipboardFormats::Add(const QString& S) {
  const TClipboardFormatListEntry* e = TClipboardFormatList::FindFormat(S);
  if (!e || !e->TreeClass->IsInstance(FOwner)) return -1;
  const auto less = [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
  auto at = std::lower_bound(FList.begin(), FList.end(), S, less);
  if (at == FList.end() || !SameName(*at, S)) at = FList.insert(at, S);
  return static_cast<int>(at - FList.begin());
}

void TClipboardFormats::Insert(int /*Index*/, const QString& S) {
  const TClipboardFormatListEntry* e = TClipboardFormatList::FindFormat(S);
  if (e && e->TreeClass->IsInstance(FOwner))
    throw plat::EStringListError(QStringLiteral("Operation not allowed on sorted list"));
}

void TClipboardFormats::Assign(const QStringList& Value) {
  FList.clear();
  for (const QString& s : Value) Add(s);
}

bool TClipboardFormats::Contains(const QString& S) const {
  return std::any_of(FList.begin(), FList.end(), [&](const QString& n) { return SameName(n, S); });
}

// ------------------------------------------------------------------------------------------------------------
// The data object

TLTDataObject::TLTDataObject(TBaseLazyTreeControl* Owner, bool ForClipboard)
    : FOwner(Owner), FForClipboard(ForClipboard) {
  if (FOwner) FOwner->CollectTransferFormats(FFormatEtcArray);
}

TLTDataObject::~TLTDataObject() {
  // The clipboard let the object go: the nodes flagged for it are no longer cut or copied. A flush keeps them
  // out of this, as it ends the operation itself.
  if (FOwner && FForClipboard && !FOwner->TreeStates().Has(tsClipboardFlushing)) FOwner->CancelCutOrCopy();
}

QStringList TLTDataObject::formats() const {
  QStringList result;
  for (const TFormatEtc& f : FFormatEtcArray) {
    const QString mime = MimeTypeOfFormat(f.Format);
    if (!result.contains(mime)) result.append(mime);
  }
  for (const QString& stored : QMimeData::formats())
    if (!result.contains(stored)) result.append(stored);
  return result;
}

bool TLTDataObject::hasFormat(const QString& MimeType) const { return formats().contains(MimeType); }

QVariant TLTDataObject::retrieveData(const QString& MimeType, QMetaType Type) const {
  if (FOwner && !QMimeData::formats().contains(MimeType))
    for (const TFormatEtc& f : FFormatEtcArray) {
      if (MimeTypeOfFormat(f.Format) != MimeType) continue;
      QByteArray data;
      if (!FOwner->RenderTransferData(f, FForClipboard, data)) continue;
      if (Type.id() == QMetaType::QString) return QString::fromUtf8(data);
      return data;
    }
  return QMimeData::retrieveData(MimeType, Type);
}

TBaseLazyTreeControl* SourceTreeOfDataObject(const QMimeData* DataObject) {
  const auto* own = dynamic_cast<const TLTDataObject*>(DataObject);
  return own ? own->Owner() : nullptr;
}

// ------------------------------------------------------------------------------------------------------------
// The tree's side

TTreeTransferState& TBaseLazyTreeControl::Transfer() {
  if (!FTransfer) FTransfer = std::make_shared<TTreeTransferState>(this);
  return *FTransfer;
}

TClipboardFormats& TBaseLazyTreeControl::ClipboardFormats() { return *Transfer().ClipboardFormats; }

void TBaseLazyTreeControl::SetClipboardFormats(const QStringList& Value) { ClipboardFormats().Assign(Value); }

void TBaseLazyTreeControl::CollectTransferFormats(TFormatEtcArray& Formats) {
  TClipboardFormatList::EnumerateFormats(this, Formats, &ClipboardFormats());
  if (OnGetUserClipboardFormats) OnGetUserClipboardFormats(this, Formats);
}

bool TBaseLazyTreeControl::RenderTransferData(const TFormatEtc& FormatEtc, bool ForClipboard, QByteArray& Data) {
  if (ClipboardFormatName(FormatEtc.Format) == LazyTreeDataFormat &&
      (FormatEtc.Tymed & (TYMED_HGLOBAL | TYMED_ISTREAM)) != 0) {
    Data = WriteTransferNodes(ForClipboard ? GetSortedCutCopySet(true) : GetSortedSelection(true));
    return !Data.isEmpty();
  }
  bool result = false;
  if (OnRenderOLEData) OnRenderOLEData(this, FormatEtc, Data, ForClipboard, result);
  return result;
}

void TBaseLazyTreeControl::PutOnClipboard(bool Cut) {
  if (SelectedCount() == 0) return;
  QClipboard* clipboard = SystemClipboard();
  if (!clipboard) return;
  auto* object = new TLTDataObject(this, true);
  // The previous object goes now; when it was this tree's, it ends the earlier cut or copy first.
  clipboard->setMimeData(object);
  if (clipboard->mimeData() != object) return;  // the platform did not take it: no flags, no state
  Transfer().ClipboardObject = object;
  FlagCutCopyNodes();
  if (Cut)
    DoStateChange({tsCutPending}, {tsCopyPending});
  else
    DoStateChange({tsCopyPending}, {tsCutPending});
  Invalidate();
}

void TBaseLazyTreeControl::CopyToClipboard() { PutOnClipboard(false); }

void TBaseLazyTreeControl::CutToClipboard() {
  if (!ReadOnly()) PutOnClipboard(true);
}

bool TBaseLazyTreeControl::PasteFromClipboard() {
  if (ReadOnly()) return false;
  QClipboard* clipboard = SystemClipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data) throw ELazyTreeError(QStringLiteral("Clipboard operation failed."), 2007);
  TBaseLazyTreeControl* source = SourceTreeOfDataObject(data);
  const bool result = ProcessOLEData(source, data, FocusedNode(), DefaultPasteMode(),
                                     source && source->TreeStates().Has(tsCutPending));
  if (source) {
    if (source == this)
      DoStateChange({}, {tsCutPending});
    else
      source->FinishCutOrCopy();
  }
  return result;
}

bool TBaseLazyTreeControl::ProcessOLEData(TBaseLazyTreeControl* Source, const QMimeData* DataObject,
                                          PLazyNode TargetNode, TLTNodeAttachMode Mode, bool Optimized) {
  const QString mime = MimeTypeOfFormat(RegisterClipboardFormat(LazyTreeDataFormat));
  if (!DataObject || !DataObject->hasFormat(mime)) return false;
  if (ReadOnly()) return true;
  if (!TargetNode) TargetNode = RootNode();
  if (TargetNode == RootNode()) {
    if (Mode == amInsertBefore) Mode = amAddChildFirst;
    if (Mode == amInsertAfter) Mode = amAddChildLast;
  }
  bool result = false;
  BeginUpdate();
  try {
    if (Optimized && Source) {
      // The nodes come from a tree of this process and move: no copy through the stream.
      const std::vector<PLazyNode> nodes = Source->TreeStates().Has(tsOLEDragging)
                                               ? Source->Transfer().DragSelection
                                               : Source->GetSortedCutCopySet(true);
      const bool forward = Mode == amInsertBefore || Mode == amAddChildLast;
      for (std::size_t k = 0; k < nodes.size(); ++k) {
        PLazyNode node = nodes[forward ? k : nodes.size() - 1 - k];
        if (Source == this && HasAsParent(TargetNode, node)) continue;
        Source->MoveTo(node, TargetNode, Mode, false);
      }
      result = true;
    } else {
      result = InsertTransferNodes(DataObject->data(mime), this, TargetNode, Mode,
                                   Source == this ? crNodeCopied : crNodeAdded);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return result;
}

void TBaseLazyTreeControl::FlushClipboard() {
  if (!TreeStates().Has(tsCutPending) && !TreeStates().Has(tsCopyPending)) return;
  QClipboard* clipboard = SystemClipboard();
  TLTDataObject* object = FTransfer ? FTransfer->ClipboardObject.data() : nullptr;
  DoStateChange({tsClipboardFlushing});
  try {
    if (clipboard && object && clipboard->mimeData() == object) {
      // Every offered format rendered into plain data, which no longer leads back to this tree.
      auto* plain = new QMimeData;
      for (const QString& mime : object->formats()) plain->setData(mime, object->data(mime));
      clipboard->setMimeData(plain);
    }
    CancelCutOrCopy();
  } catch (...) {
    DoStateChange({}, {tsClipboardFlushing});
    throw;
  }
  DoStateChange({}, {tsClipboardFlushing});
}

void TBaseLazyTreeControl::ReleaseClipboardContent() {
  // Only this tree's own object is taken off: newer content of another program stays. The tree is being
  // cleared, which ends the cut or copy itself; the object need not.
  QClipboard* clipboard = SystemClipboard();
  TLTDataObject* object = FTransfer ? FTransfer->ClipboardObject.data() : nullptr;
  if (!clipboard || !object || clipboard->mimeData() != object) return;
  object->ForgetOwner();
  clipboard->clear();
}

TTreeTransferState::TTreeTransferState(TBaseLazyTreeControl* Tree)
    : FTree(Tree), ClipboardFormats(std::make_unique<TClipboardFormats>(Tree)), DragImage(Tree) {}

TTreeTransferState::~TTreeTransferState() {
  if (!ClipboardObject) return;
  // The tree goes: its object can render nothing more, so it leaves the clipboard.
  ClipboardObject->ForgetOwner();
  QClipboard* clipboard = SystemClipboard();
  if (clipboard && clipboard->mimeData() == ClipboardObject) clipboard->clear();
}

// ------------------------------------------------------------------------------------------------------------
// The string tree's text formats

bool TCustomLazyStringTree::RenderTransferData(const TFormatEtc& FormatEtc, bool ForClipboard, QByteArray& Data) {
  if (TBaseLazyTreeControl::RenderTransferData(FormatEtc, ForClipboard, Data)) return true;
  const TLSTTextSourceType source = ForClipboard ? tstCutCopySet : tstSelected;
  QString name = ClipboardFormatName(FormatEtc.Format);
  // MIME data carries bare HTML and UTF-8 text without the terminating zero of a clipboard block; both text
  // formats travel as one text/plain.
  if (SameName(name, QStringLiteral("HTML Format"))) {
    Data = ContentToHTML(source).toUtf8();
    return true;
  }
  if (SameName(name, QStringLiteral("Unicode text"))) name = QStringLiteral("Plain text");
  Data = ContentToClipboard(name, source);
  if (Data.isEmpty()) return false;
  Data.chop(1);
  return true;
}

}  // namespace lazytree
