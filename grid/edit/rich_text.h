#pragma once
// Rich text in grid cells: an RTF document held as the cell's text, and the rich editor that edits it. The
// codec reads the common RTF subset (text, paragraphs, line breaks, tabs, bold, italic, underline, strike-out,
// font, size, colour, super- and subscript, \'hh and \uN characters; other destinations are skipped) and
// writes plain ASCII RTF with \uN escapes, so that no character is lost on the way through a cell.

#include <QString>

#include "platform/forms/stdctrls.h"

class QTextDocument;

namespace grid {

class TExtStringGrid;

bool IsRtfText(const QString& Text);
// Replaces the document's content with the RTF text (plain text when it is no RTF).
void RtfToDocument(const QString& Rtf, QTextDocument& Doc);
QString DocumentToRtf(const QTextDocument& Doc);

// The rich editor: the in-place editor of edRichEdit cells, and the hidden editor that measures and
// converts RTF cells.
class TExtRichEdit : public plat::TMemo {
 public:
  explicit TExtRichEdit(plat::TComponent* AOwner);
  TExtStringGrid* Grid() const { return FGrid; }
  // The size the content asks for.
  int ReqWidth() const;
  int ReqHeight() const;
  // Automatic row growth suspended (while the grid loads the editor).
  bool Locked = false;
  // Vertical offset of the selected characters: subscript, superscript or normal.
  void SelSubscript();
  void SelSuperscript();
  void SelNormal();
  bool IsSelSubscript() const;
  bool IsSelSuperscript() const;
  bool IsSelNormal() const;
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void Change() override;
  plat::LRESULT DefaultDlgCode() const override;

 private:
  void SetSelOffset(int Alignment);
  // The in-place editor grows its row to the height its content asks for while SizeWhileTyping.Height.
  void GrowRow();
  int SelOffset() const;
  TExtStringGrid* FGrid;
};

}  // namespace grid
