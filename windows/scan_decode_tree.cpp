#include "windows/scan_decode_tree.h"

#include "platform/graphics/canvas.h"

using namespace lazytree;
using namespace plat;

TScan_Tree::TScan_Tree(TComponent* AOwner) : TBaseLazyTreeControl(AOwner) {
  SetNodeDataType<TMyRec>();
  SetColor(clWhite);
  OnInitNode = [this](TBaseLazyTree*, PLazyNode, PLazyNode Node, TLazyNodeInitStates&) {
    if (OnCaption) OnCaption(this, Node, *GetNodeData<TMyRec>(Node));
  };
  OnFreeNode = [this](TBaseLazyTree*, PLazyNode Node) { GetNodeData<TMyRec>(Node)->Caption.clear(); };
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
  if (!Node->Has(vsInitialized) && OnCaption) OnCaption(this, Node, *GetNodeData<TMyRec>(Node));
  return GetNodeData<TMyRec>(Node)->Caption;
}

void TScan_Tree::Click_Check(PLazyNode Node) {
  if (!Node || Node->CheckType != ctCheckBox) return;
  Node->CheckState = Node->CheckState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal;
  if (OnChecked) OnChecked(this, Node);
  Invalidate();
}

PLazyNode TScan_Tree::Line_At(int Y, int& Line_Top) {
  const int h = int(DefaultNodeHeight());
  int top = 0;
  for (PLazyNode n = GetFirstVisible(); n; n = GetNextVisible(n), top += h) {
    if (Y >= top && Y < top + h) {
      Line_Top = top;
      return n;
    }
  }
  return nullptr;
}

void TScan_Tree::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, 0, Width(), Height()));
  c->Font()->Assign(*Font());
  const int h = int(DefaultNodeHeight());
  int top = 0;
  for (PLazyNode n = GetFirstVisible(); n && top < Height(); n = GetNextVisible(n), top += h) {
    int x = 4 + Indent * int(GetNodeLevel(n));
    c->Pen()->SetColor(clGray);
    c->Brush()->SetColor(clWhite);
    if (n->ChildCount > 0) {  // the expand button
      c->Rectangle(x, top + h / 2 - 5, x + 9, top + h / 2 + 4);
      c->MoveTo(x + 2, top + h / 2 - 1);
      c->LineTo(x + 7, top + h / 2 - 1);
      if (!GetExpanded(n)) {
        c->MoveTo(x + 4, top + h / 2 - 3);
        c->LineTo(x + 4, top + h / 2 + 2);
      }
    }
    x += 13;
    if (n->CheckType == ctCheckBox) {
      c->Pen()->SetColor(clBlack);
      c->Rectangle(x, top + h / 2 - 6, x + 13, top + h / 2 + 7);
      if (n->CheckState == csCheckedNormal) {
        c->MoveTo(x + 3, top + h / 2);
        c->LineTo(x + 5, top + h / 2 + 3);
        c->LineTo(x + 10, top + h / 2 - 3);
      }
      x += 17;
    }
    c->Brush()->SetStyle(bsClear);
    c->TextOut(x, top + 2, Caption(n));
    c->Brush()->SetStyle(bsSolid);
  }
}

void TScan_Tree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TBaseLazyTreeControl::MouseDown(Button, Shift, X, Y);
  int top = 0;
  PLazyNode n = Line_At(Y, top);
  if (!n) return;
  const int x = 4 + Indent * int(GetNodeLevel(n));
  if (X >= x && X < x + 12 && n->ChildCount > 0) {
    ToggleNode(n);
    Invalidate();
  } else if (X >= x + 13 && X < x + 28) {
    Click_Check(n);
  }
}
