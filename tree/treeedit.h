#pragma once
// In-place editing of a tree cell: the editor interface the tree talks to, and the string tree's default
// editor, a link object with its edit control placed over the cell's text.

#include <QString>

#include <memory>

#include "platform/forms/stdctrls.h"
#include "tree/treecontrol.h"

namespace lazytree {

class TCustomLazyStringTree;
class TStringEditLink;

// An editor of a cell. The tree holds it while an edit runs; every answer false refuses.
class ILTEditLink {
 public:
  virtual ~ILTEditLink() = default;
  // Shows the editor and gives it the input focus.
  virtual bool BeginEdit() = 0;
  // Drops the edit.
  virtual bool CancelEdit() = 0;
  // Hands the edited value to the tree.
  virtual bool EndEdit() = 0;
  // Sets the editor up for the cell.
  virtual bool PrepareEdit(TBaseLazyTreeControl* Tree, PLazyNode Node, TColumnIndex Column) = 0;
  // The editor's bounds in tree client coordinates.
  virtual plat::TRect GetBounds() = 0;
  virtual void ProcessMessage(plat::TMessage& Message) = 0;
  virtual void SetBounds(plat::TRect R) = 0;
};

// The edit control of the string tree's editor: a multi-line edit (a single-line node accepts on Return and
// shows no scroll bars) that keeps its link alive while it is linked.
class TLTEdit : public plat::TMemo {
 public:
  explicit TLTEdit(TStringEditLink* Link);
  ~TLTEdit() override;
  // Sizes the control to its text (single-line nodes without grid extensions).
  virtual void FitToText();
  // Frees the control once the message that ended the edit is done.
  virtual void Release();
  // Takes the node's line mode: wrapping and a vertical bar for a multi-line node.
  void ApplyNodeStyle(bool Multiline);
  bool Linked() const { return FLink != nullptr; }

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void Change() override;
  void DoExit() override;
  plat::LRESULT DefaultDlgCode() const override;

 private:
  friend class TStringEditLink;
  void Forget() {
    FLink = nullptr;
    FRefLink.reset();
  }
  bool KeyDownMessage(plat::TMessage& Message);
  bool SingleLine() const;
  std::shared_ptr<ILTEditLink> FRefLink;  // keeps the link alive while the control is linked
  TStringEditLink* FLink = nullptr;
};

class TStringEditLink : public ILTEditLink, public std::enable_shared_from_this<TStringEditLink> {
 public:
  TStringEditLink();
  ~TStringEditLink() override;

  bool BeginEdit() override;
  bool CancelEdit() override;
  bool EndEdit() override;
  bool PrepareEdit(TBaseLazyTreeControl* Tree, PLazyNode Node, TColumnIndex Column) override;
  plat::TRect GetBounds() override;
  void ProcessMessage(plat::TMessage& Message) override;
  void SetBounds(plat::TRect R) override;

  PLazyNode Node() const { return FNode; }
  TColumnIndex Column() const { return FColumn; }
  TCustomLazyStringTree* Tree() const { return FTree; }
  TLTEdit* Edit() const { return FEdit; }
  // Takes another edit control (the previous one is freed first).
  void SetEdit(TLTEdit* Value);
  plat::TAlignment Alignment() const { return FAlignment; }
  const plat::TRect& TextBounds() const { return FTextBounds; }
  bool Stopping() const { return FStopping; }

 private:
  TLTEdit* FEdit = nullptr;
  TCustomLazyStringTree* FTree = nullptr;
  PLazyNode FNode = nullptr;
  TColumnIndex FColumn = NoColumn;
  plat::TAlignment FAlignment = plat::taLeftJustify;
  plat::TRect FTextBounds;
  bool FStopping = false;
};

}  // namespace lazytree
