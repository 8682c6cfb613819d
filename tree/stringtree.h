#pragma once
// The string tree: every cell shows a text that the application gives per node and column (it stores none),
// plus an optional static text drawn behind it. It measures the texts for node widths (the main column's
// width is kept per node), draws and shortens them, builds node paths and saves its content as CSV.

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>

#include "tree/treecontrol.h"

namespace lazytree {

class TCustomLazyStringTree;

enum TLSTTextType : uint8_t { ttNormal, ttStatic };
enum TLTStringOption : uint8_t { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
using TLTStringOptions = TEnumSet<TLTStringOption, uint8_t>;
// Why a text is asked for: display, or one of the export formats.
enum TLTExportType : uint8_t { etNone, etRTF, etHTML, etText, etExcel, etWord, etPrinter, etCSV, etCustom };

// The nodes an export walks over.
enum TLSTTextSourceType : uint8_t { tstAll, tstInitialized, tstSelected, tstCutCopySet, tstVisible, tstChecked };
using TLTTreeExportEvent = std::function<void(TBaseLazyTree* Sender, TLTExportType aExportType)>;
using TLTColumnExportEvent =
    std::function<void(TBaseLazyTree* Sender, TLTExportType aExportType, TLazyTreeColumn* Column)>;
using TLTNodeExportEvent = std::function<bool(TBaseLazyTree* Sender, TLTExportType aExportType, PLazyNode Node)>;

struct TLSTGetCellTextEventArgs {
  PLazyNode Node = nullptr;
  TColumnIndex Column = NoColumn;
  QString CellText;
  QString StaticText;
  TLTExportType ExportType = etNone;
};

class TCustomLazyStringTree : public TBaseLazyTreeControl {
 public:
  explicit TCustomLazyStringTree(plat::TComponent* AOwner);

  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, TColumnIndex Column, TLSTTextType TextType,
                     QString& CellText)> OnGetText;
  std::function<void(TCustomLazyStringTree* Sender, TLSTGetCellTextEventArgs& E)> OnGetCellText;
  std::function<void(TBaseLazyTree* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node, TColumnIndex Column,
                     TLSTTextType TextType)> OnPaintText;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, TColumnIndex Column, const QString& NewText)>
      OnNewText;
  std::function<void(TBaseLazyTree* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node, TColumnIndex Column,
                     const QString& S, int TextSpace, QString& Result, bool& Done)> OnShortenString;
  std::function<void(TBaseLazyTree* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node, TColumnIndex Column,
                     const QString& Text, int& Extent)> OnMeasureTextWidth;
  std::function<void(TBaseLazyTree* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node, TColumnIndex Column,
                     const QString& Text, int& Extent)> OnMeasureTextHeight;
  std::function<void(TBaseLazyTree* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node, TColumnIndex Column,
                     const QString& Text, const plat::TRect& CellRect, bool& DefaultDraw)> OnDrawText;

  // Text of node hints and tooltips (a tooltip without a handler shows the cell text).
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, TColumnIndex Column,
                     TLTTooltipLineBreakStyle& LineBreakStyle, QString& HintText)>
      OnGetHint;
  void GetTextInfo(PLazyNode Node, TColumnIndex Column, plat::TFont* AFont, plat::TRect& R, QString& Text) override;
  QString NodeHintText(PLazyNode Node, TColumnIndex Column, TLTTooltipLineBreakStyle& LineBreakStyle) override;
  QString NodeTooltipText(PLazyNode Node, TColumnIndex Column, TLTTooltipLineBreakStyle& LineBreakStyle) override;

  QString DefaultText() const { return FDefaultText; }
  void SetDefaultText(const QString& Value);
  TLTStringOptions StringOptions() const { return FStringOptions; }
  void SetStringOptions(TLTStringOptions Value);
  // Form properties kept beside the published ones: DefaultText as "WideDefaultText" when it is not "Node".
  void WriteFormProperties(QVariantMap& Properties) const;
  // Reads "WideDefaultText" as a string, and the old "StringOptions" (a list of option names) into the string
  // options. False for a name it does not know.
  bool ReadFormProperty(const QString& Name, const QVariant& Value);

  QString GetText(PLazyNode Node, TColumnIndex Column);
  QString GetStaticText(PLazyNode Node, TColumnIndex Column);
  // The text of a node's image (for readers of the image); empty unless OnGetImageText gives one.
  QString GetImageText(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column);
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, TLTImageKind Kind, TColumnIndex Column,
                     QString& ImageText)>
      OnGetImageText;
  void SetText(PLazyNode Node, TColumnIndex Column, const QString& Value);
  // The texts from Node's top-level ancestor down to Node, each followed by Delimiter.
  QString Path(PLazyNode Node, TColumnIndex Column, QChar Delimiter);
  virtual int ComputeNodeHeight(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, QString S = {});
  // One line per top-level node (with IncludeHeading first the column captions), every cell quoted; written
  // through a temporary file that replaces the old one only when complete. False for an empty name.
  bool SaveToCSVFile(const QString& FileNameWithPath, bool IncludeHeading);
  // The measured width of a node's main-column text (0: not measured).
  int32_t TextWidthCache(PLazyNode Node);
  int TextHeight() const { return FTextHeight; }

  void InvalidateNode(PLazyNode Node) override;
  void ReinitNode(PLazyNode Node, bool Recursive) override;
  // With toRestoreSelection the texts of the selected nodes are remembered, and a node added later with one
  // of those texts is selected again.
  using TBaseLazyTreeControl::AddToSelection;
  void AddToSelection(PLazyNode Node) override;
  void RemoveFromSelection(PLazyNode Node) override;
  using TBaseLazyTreeControl::AddChild;
  PLazyNode AddChild(PLazyNode Parent, void* UserData = nullptr) override;
  // --- Exports (treeexport.cpp) ----------------------------------------------------------------------------
  // The nodes of Source as an HTML table (texts escaped), an RTF table, or lines of Separator-separated fields.
  QString ContentToHTML(TLSTTextSourceType Source, const QString& Caption = {});
  QByteArray ContentToRTF(TLSTTextSourceType Source);
  QString ContentToText(TLSTTextSourceType Source, const QString& Separator);
  QString ContentToText(TLSTTextSourceType Source, QChar Separator) { return ContentToText(Source, QString(Separator)); }
  QString ContentToUnicode(TLSTTextSourceType Source, QChar Separator) { return ContentToText(Source, Separator); }
  // The bytes of one transfer format, by its registered name ("Plain text", "Unicode text", "CSV",
  // "Rich Text Format", "Rich Text Format Without Objects", "HTML Format"; case ignored), each ending in a
  // zero character; empty for any other name.
  QByteArray ContentToClipboard(const QString& Format, TLSTTextSourceType Source);
  // Fires the export events over Source; the handlers write the output.
  void ContentToCustom(TLSTTextSourceType Source);
  // Whether a node passes the tree's ExportMode.
  bool NodeMatchesExportMode(PLazyNode Node) const;
  // The next node of a source's walk after Node (the first for nil).
  PLazyNode NextOfTextSource(TLSTTextSourceType Source, PLazyNode Node);
  TLTTreeExportEvent OnBeforeTreeExport, OnAfterTreeExport, OnBeforeHeaderExport, OnAfterHeaderExport;
  TLTColumnExportEvent OnBeforeColumnExport, OnColumnExport, OnAfterColumnExport;
  TLTNodeExportEvent OnBeforeNodeExport, OnNodeExport, OnAfterNodeExport;

  // The remembered texts (nil until the first is kept).
  const std::set<QString, bool (*)(const QString&, const QString&)>* PreviouslySelected() const {
    return FPreviouslySelected.get();
  }

 protected:
  virtual void DoGetText(TLSTGetCellTextEventArgs& Args);
  virtual void DoNewText(PLazyNode Node, TColumnIndex Column, const QString& Text);
  virtual void DoPaintText(PLazyNode Node, plat::TCanvas* Canvas, TColumnIndex Column, TLSTTextType TextType);
  virtual QString DoShortenString(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const QString& S,
                                  int Width, int EllipsisWidth = 0);
  virtual int TextWidth(plat::TCanvas* Canvas, PLazyNode Node, const QString& Text, TColumnIndex Column);
  virtual int StaticTextWidth(plat::TCanvas* Canvas, PLazyNode Node, const QString& Text, TColumnIndex Column);
  virtual plat::TSize MeasureTextExtent(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column,
                                        const QString& Text);
  virtual void DrawMainText(const TLTPaintInfo& PaintInfo, int Flags, const QString& Text);
  virtual void DrawStaticText(const TLTPaintInfo& PaintInfo, int Flags, const QString& Text);
  virtual void RenderText(const TLTPaintInfo& PaintInfo, const QString& Text, unsigned Flags, plat::TRect R);
  // Tree streams carry each node's main-column text (with toSaveCaptions), read back through OnNewText.
  void WriteNodeBody(plat::TStream& Stream, PLazyNode Node) override;
  bool ReadInnerChunk(plat::TStream& Stream, int Version, int ChunkSize, int ChunkType, PLazyNode Node) override;
  // The text formats, of the cut or copy set (clipboard) or of the selection (drag).
  bool RenderTransferData(const TFormatEtc& FormatEtc, bool ForClipboard, QByteArray& Data) override;
  void PaintNodeContent(const TLTPaintInfo& PaintInfo) override;
  // With toAutoSpanColumns a text runs on over the empty cells after its own.
  TColumnIndex NextPaintColumn(PLazyNode Node, TColumnIndex Column, plat::TRect& CellRect) override;
  // The kept widths belong to the old main column.
  void NotifyEditCancelled() override;
  int DoGetNodeWidth(PLazyNode Node, TColumnIndex Column) override;
  int DoGetNodeExtraWidth(PLazyNode Node, TColumnIndex Column) override;
  bool CellIsEmpty(PLazyNode Node, TColumnIndex Column) override;
  // Incremental search, in-place editing and hints of the texts (treekeys_search.cpp, treeedit*.cpp,
  // treehints.cpp).
  int DoIncrementalSearch(PLazyNode Node, const QString& Text) override;
  void ObtainEditor(PLazyNode Node, TColumnIndex Column, std::shared_ptr<ILTEditLink>& EditLink) override;
  // A new font: its text height and ellipsis width are measured again and every cached width is dropped.
  void Dispatch(plat::TMessage& Message) override;
  void SetTextWidthCache(PLazyNode Node, int32_t Value);
  // Zeroes every node's measured width (a new font or main column).
  void ClearTextWidthCaches();

 private:
  friend class TStringTreeExporter;
  void PrepareTextFont(const TLTPaintInfo& PaintInfo);
  plat::TCanvas* MeasureCanvas(plat::TCanvas* Canvas);
  int CellAlignmentFlag(TColumnIndex Column) const;
  bool CellIsRightToLeft(TColumnIndex Column) const;

  QString FDefaultText = QStringLiteral("Node");
  TLTStringOptions FStringOptions{toSaveCaptions, toAutoAcceptEditChange};
  std::size_t FTextWidthCacheOffset = 0;
  int FTextHeight = 0;
  std::unique_ptr<std::set<QString, bool (*)(const QString&, const QString&)>> FPreviouslySelected;
  QString SelectionText(PLazyNode Node);
  int FEllipsisWidth = 0;
};

// The published form.
class TLazyStringTree : public TCustomLazyStringTree {
 public:
  using TCustomLazyStringTree::TCustomLazyStringTree;
};

}  // namespace lazytree
