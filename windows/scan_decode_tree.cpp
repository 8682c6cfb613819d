#include "windows/scan_decode_tree.h"

using namespace lazytree;
using namespace plat;

TScan_Tree::TScan_Tree(TComponent* AOwner) : TLazyStringTree(AOwner) {
  SetNodeDataType<TMyRec>();
  SetColor(clWhite);
  SetAnimationOptions(uint8_t(1u << toAnimatedToggle));
  SetAutoOptions({toAutoDropExpand, toAutoTristateTracking});
  SetMiscOptions({toCheckSupport, toFullRepaintOnResize, toInitOnSave, toToggleOnDblClick, toWheelPanning});
  SetPaintOptions({toShowButtons, toShowRoot, toShowTreeLines, toThemeAware, toUseBlendedImages});
  SetSelectionOptions({toMultiSelect, toCenterScrollIntoView});
  OnInitNode = [this](TBaseLazyTree*, PLazyNode, PLazyNode Node, TLazyNodeInitStates&) {
    if (OnCaption) OnCaption(this, Node, *GetNodeData<TMyRec>(Node));
  };
  OnFreeNode = [this](TBaseLazyTree*, PLazyNode Node) { GetNodeData<TMyRec>(Node)->Caption.clear(); };
  OnGetText = [this](TBaseLazyTree*, PLazyNode Node, TColumnIndex, TLSTTextType Type, QString& Text) {
    if (Type == ttNormal) Text = GetNodeData<TMyRec>(Node)->Caption;
  };
  TBaseLazyTree::OnChecked = [this](TBaseLazyTree*, PLazyNode Node) {
    if (OnChecked) OnChecked(this, Node);
  };
  // A node's picture tells its level: slave or device, record, detail of a record.
  OnGetImageIndex = [this](TBaseLazyTreeControl*, PLazyNode Node, TLTImageKind Kind, TColumnIndex, bool&,
                           int& Index) {
    if (Kind == ikNormal || Kind == ikSelected) Index = int(GetNodeLevel(Node));
  };
}

PLazyNode TScan_Tree::Add(PLazyNode Parent, bool Checked) {
  PLazyNode n = AddChild(Parent);
  if (Checked) {
    n->CheckType = ctCheckBox;
    n->CheckState = csCheckedNormal;
  }
  return n;
}

QString TScan_Tree::Caption(PLazyNode Node) {
  if (!Node) return QString();
  if (!Node->Has(vsInitialized)) InitNode(Node);
  return GetNodeData<TMyRec>(Node)->Caption;
}

void TScan_Tree::Click_Check(PLazyNode Node) {
  if (!Node || Node->CheckType != ctCheckBox) return;
  TCheckState next = NextCheckState(Node->CheckType, Node->CheckState);
  if (DoChecking(Node, next)) DoSetCheckState(Node, next);
  InvalidateNode(Node);
}
