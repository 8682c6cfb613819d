#pragma once
// In-place editing of the string grid: whether a cell may be edited, which editor it gets, the text road
// (the platform's text editor, filled through get-edit-text and written through set-edit-text), the special
// road (editor controls set up and written back per kind through the editor registry), the validation when
// the user leaves a cell, the write-back, and the end-of-edit notice "GridEditDone" that the grid posts to
// itself so that OnEditCellDone runs after the handler that ended the edit.
//
// Columns: the entry points take display columns; events and the cell store get real columns.

#include <QString>

#include <map>
#include <memory>
#include <vector>

#include "grid/model/gridtypes.h"
#include "platform/forms/controls.h"
#include "platform/forms/messages.h"
#include "platform/rtl/strings.h"

namespace grid {

class TExtStringGrid;
class TEditHost;
class TEditLink;
class TCellEditorKind;

// The registered message the grid posts to itself when a special edit (or the text editor's focus) ends:
// wParam = real column, lParam = row.
plat::UINT GridEditDoneMessage();

// Set while an edit is in progress; see the state table of the editing code.
struct TEditState {
  bool EditMode = false;        // an edit is open (text or special)
  bool Editing = false;         // the cell text may have changed and needs validation
  bool SpecialEditor = false;   // a special editor is in use
  bool EditActive = false;      // a special editor was shown and has not been written back
  bool Validating = false;      // a validation runs
  bool BlockKill = false;       // set while a special editor is written back
  char16_t StartEditChar = 0;   // the character typed on the grid that started the edit
  int ComboIdx = -1;            // item the combo editor preselects when the text matches none
  plat::TWinControl* EditCtrl = nullptr;  // the control that edits (null for the text editor)
  QString NewCellText;          // the value under validation, then the validated value
  bool LastValidation = true;   // false after a validation refused a value
  bool Modified = false, OldModifiedValue = false;
  bool GridModified = false;
  QString EditText;             // the current cell's text, refreshed when the text editor opens
  bool NoEditChange = false;    // the grid itself loads text into the text editor
  bool SpinUpClick = false, SpinDnClick = false;
  bool ShowEditProcess = false, Entered = false;
  TEditorType EditControl = edNormal;  // the kind of the open edit; editors set it when they open
  // The select-cell rule switched goEditing off for the current cell (editing stays possible there).
  bool EditDisable = false;
  // Set only while the rule switches the option, so that the grid's repaint of the switch is skipped.
  bool EditChange = false;
  // The cell last entered (display column) and its stored text then: a refused value goes back to it.
  int OldCol = -1, OldRow = -1;
  QString OldCellText;
};

class TEditManager {
 public:
  TEditManager(TExtStringGrid& Grid, TEditHost& Host);
  ~TEditManager();

  TEditState& State() { return FState; }
  // The grid's side of the edit session, for the editors the manager shows.
  TEditHost& Host() { return FHost; }
  const TEditState& State() const { return FState; }

  // ---- the platform's editor steps
  bool CanEditShow(bool PlatformSays);
  QString GetEditText(int ACol, int ARow);
  void SetEditText(int ACol, int ARow, const QString& Value);

  // ---- whether a cell may be edited (display column)
  bool IsCellEditable(int ACol, int ARow);
  bool IsEditable(int ACol, int ARow);
  static bool IsTextKind(TEditorType Kind);
  // Kinds whose editor shows nothing (no registered editor, edDataCheckBox, edCustom without a link).
  bool ShowsNothing(TEditorType Kind) const;

  // ---- the special road
  void SetupCellEditor(int ACol, int ARow);
  void EditorToCell(int ACol, int ARow);
  void EditingDone(int RCol, int ARow);
  // The per-grid editor of a kind family, created on first use (nullptr when no family is registered).
  TCellEditorKind* KindFor(TEditorType Kind);
  // The cell rectangle an editor takes (display column).
  plat::TRect EditorRect(int ACol, int ARow);
  void EditorLooks(int ACol, int ARow, plat::TColor& Color, plat::TFont& Font);
  void PostStartChar(plat::TWinControl* Target);

  // ---- validation
  bool ValidateCell(const QString& NewValue);
  bool ValidateCellWide(const QString& NewValue);

  // ---- closing and opening
  void HideInplaceEdit();
  void HideCellEdit();
  void ShowInplaceEdit();
  void DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift);
  void RestoreCellCache();
  void WriteEditorText(int ACol, int ARow, const QString& Value);
  bool WantsTabKey() const;
  // Handles the posted end-of-edit notice; false for any other message.
  bool HandleMessage(plat::TMessage& Message);

  // ---- the combo editor's item list, shared by every cell
  plat::TStringList& ComboItems() { return FComboItems; }
  void ClearComboString() { FComboItems.Clear(); }
  void AddComboString(const QString& s) { FComboItems.Add(s); }
  void AddComboStringObject(const QString& s, plat::TObject* AObject) { FComboItems.AddObject(s, AObject); }
  bool RemoveComboString(const QString& s);
  bool SetComboSelectionString(const QString& s);
  void SetComboSelection(int idx) { FState.ComboIdx = idx; }
  int GetComboCount() const { return FComboItems.Count(); }
  int GetComboIndex(int ACol, int ARow);
  void SetComboIndex(int ACol, int ARow, int Value);

  // Frees the editor controls before the grid goes, so that none of them reaches the grid while it is
  // being taken apart, and gives an edit link's control its own window procedure back.
  void ReleaseEditors();

  TEditLink* EditLink() const { return FEditLink; }
  void SetEditLink(TEditLink* Value) { FEditLink = Value; }

 private:
  void ShowFocusFrame();
  bool Validate(const QString& NewValue, bool Wide);
  void RefusedValue(const QString& NewValue, const QString& Value, bool Wide);
  void MarkModified(bool Wide, int Row);
  void ShowBalloon();
  void MoveBackToOldCell();

  TExtStringGrid& FGrid;
  TEditHost& FHost;
  TEditState FState;
  plat::TStringList FComboItems;
  TEditLink* FEditLink = nullptr;
  std::map<int, std::unique_ptr<TCellEditorKind>> FKinds;
};

}  // namespace grid
