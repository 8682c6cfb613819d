#include "grid/view/options_look.h"

#include <typeinfo>

#include "platform/rtl/exceptions.h"

namespace grid {

// ---- TSearchFooter -------------------------------------------------------------------------------------

TSearchFooter::TSearchFooter(plat::TComponent*, bool InitDesign) {
  if (!InitDesign) return;
  FFindNextCaption = QStringLiteral("Find &next");
  FFindPrevCaption = QStringLiteral("Find &previous");
  FMatchCaseCaption = QStringLiteral("Match case");
  FHighLightCaption = QStringLiteral("Highlight");
  FHintClose = QStringLiteral("Close");
  FHintFindNext = QStringLiteral("Find next occurrence");
  FHintFindPrev = QStringLiteral("Find previous occurrence");
  FHintHighlight = QStringLiteral("Highlight occurrences");
}

void TSearchFooter::SetFont(plat::TFont* Value) {
  FFont.Assign(Value);
  Changed();
}

void TSearchFooter::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TSearchFooter*>(Source);
  if (!s) return;
  FVisible = s->FVisible, FColor = s->FColor, FColorTo = s->FColorTo;
  FFont.Assign(&s->FFont);
  FFindNextCaption = s->FFindNextCaption, FFindPrevCaption = s->FFindPrevCaption;
  FMatchCaseCaption = s->FMatchCaseCaption, FHighLightCaption = s->FHighLightCaption;
  FHintClose = s->FHintClose, FHintFindNext = s->FHintFindNext, FHintFindPrev = s->FHintFindPrev;
  FHintHighlight = s->FHintHighlight, FShowFindNext = s->FShowFindNext, FShowFindPrev = s->FShowFindPrev;
  FShowMatchCase = s->FShowMatchCase, FShowHighLight = s->FShowHighLight, FShowClose = s->FShowClose;
  SearchColumn = s->SearchColumn, SearchDirection = s->SearchDirection, AlwaysHighLight = s->AlwaysHighLight;
  SearchActiveColumnOnly = s->SearchActiveColumnOnly, SearchMatchStart = s->SearchMatchStart;
  SearchHiddenRows = s->SearchHiddenRows;
}

// ---- node looks, background ------------------------------------------------------------------

void TCellNode::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TCellNode*>(Source);
  if (!s) return;
  FNodeType = s->FNodeType, FShowTree = s->FShowTree, FShowTreeFull = s->FShowTreeFull;
  FTreeColor = s->FTreeColor, FNodeIndent = s->FNodeIndent, Color = s->Color, NodeColor = s->NodeColor;
  ExpandOne = s->ExpandOne;
  FExpandGlyph.Assign(&s->FExpandGlyph);
  FContractGlyph.Assign(&s->FContractGlyph);
}

void TBackGround::SetBitmap(plat::TBitmap* Value) {
  FBitmap.Assign(Value);
  Changed();
}

void TDropDownBarAppearance::AssignBar(const TDropDownBarAppearance& s) {
  ColorTo = s.ColorTo;
  Color = s.Color;
  BorderColor = s.BorderColor;
  Caption = s.Caption;
  FFont.Assign(s.FFont);
  ImageIndex = s.ImageIndex;
  BorderWidth = s.BorderWidth;
  GradientDirection = s.GradientDirection;
  Height = s.Height;
  SetVisible(s.Visible());
  ButtonAlignment = s.ButtonAlignment;
}

void TDropDownBarAppearance::AssignColors(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TDropDownBarAppearance*>(Source);
  // A header takes only a header's colours, a footer only a footer's.
  if (!s || typeid(*s) != typeid(*this)) return;
  Color = s->Color;
  ColorTo = s->ColorTo;
  BorderColor = s->BorderColor;
  FFont.Assign(s->FFont);
  GradientDirection = s->GradientDirection;
}

THeaderAppearance::THeaderAppearance(plat::TComponent* AOwner) : TDropDownBarAppearance(AOwner), FButtons(AOwner) {
  FFont.SetName("Tahoma");
  FButtons.OnChange = [this](plat::TObject*) { ButtonsChanged(); };
}

void THeaderAppearance::Assign(plat::TPersistent* Source) {
  if (auto* s = dynamic_cast<THeaderAppearance*>(Source)) {
    AssignBar(*s);
    FButtons.Assign(&s->FButtons);
  }
}

TFooterAppearance::TFooterAppearance(plat::TComponent* AOwner) : TDropDownBarAppearance(AOwner), FButtons(AOwner) {
  FButtons.OnChange = [this](plat::TObject*) { ButtonsChanged(); };
}

void TFooterAppearance::Assign(plat::TPersistent* Source) {
  if (auto* s = dynamic_cast<TFooterAppearance*>(Source)) {
    AssignBar(*s);
    FButtons.Assign(&s->FButtons);
    SizeGrip = s->SizeGrip;
  }
}

// ---- TControlLook --------------------------------------------------------------------------------------

TControlLook::TControlLook(plat::TComponent* AOwner) : FDropDownHeader(AOwner), FDropDownFooter(AOwner) {
  Init();
}

void TControlLook::Init() {
  FColor = plat::clBlack;
  FCommentColor = plat::clRed;
  ProgressBorderColor = plat::clGray;
  for (TColor& c : FGradient) c = plat::clNone;
  FGradient[fgHoverFrom] = plat::clGray;
  FGradient[fgHoverTo] = plat::clWhite;
  FGradient[fgHoverBorder] = plat::clSilver;
  FGradient[fgDownFrom] = plat::clGray;
  FGradient[fgDownTo] = plat::clSilver;
  FGradient[fgDownBorder] = plat::clGray;
}

void TControlLook::SetGradient(TFixedGradientRole Role, TColor Value) {
  FGradient[Role] = Value;
  const bool mirror = Role == fgMirrorFrom || Role == fgMirrorTo || Role == fgHoverMirrorFrom ||
                      Role == fgHoverMirrorTo || Role == fgDownMirrorFrom || Role == fgDownMirrorTo;
  if ((mirror || Value != plat::clNone) && OnGradientCopy) OnGradientCopy(Role, Value);
}

void TControlLook::SetCheckedGlyph(plat::TBitmap* Value) {
  FCheckedGlyph.Assign(Value);
  Changed();
}

void TControlLook::SetUnCheckedGlyph(plat::TBitmap* Value) {
  FUnCheckedGlyph.Assign(Value);
  Changed();
}

void TControlLook::SetRadioOnGlyph(plat::TBitmap* Value) {
  FRadioOnGlyph.Assign(Value);
  Changed();
}

void TControlLook::SetRadioOffGlyph(plat::TBitmap* Value) {
  FRadioOffGlyph.Assign(Value);
  Changed();
}

void TControlLook::Assign(plat::TPersistent* Source) {
  auto* s = dynamic_cast<TControlLook*>(Source);
  if (!s) return;
  FCheckSize = s->FCheckSize, FRadioSize = s->FRadioSize, FControlStyle = s->FControlStyle;
  FCheckedGlyph.Assign(&s->FCheckedGlyph);
  FUnCheckedGlyph.Assign(&s->FUnCheckedGlyph);
  FRadioOnGlyph.Assign(&s->FRadioOnGlyph);
  FRadioOffGlyph.Assign(&s->FRadioOffGlyph);
  FProgressMarginX = s->FProgressMarginX, FProgressMarginY = s->FProgressMarginY;
  FCommentColor = s->FCommentColor, FColor = s->FColor, ProgressBorderColor = s->ProgressBorderColor;
  CheckAlwaysActive = s->CheckAlwaysActive, RadioAlwaysActive = s->RadioAlwaysActive;
  for (int i = 0; i <= fgDownBorder; ++i) FGradient[i] = s->FGradient[i];
  FDropDownAlwaysVisible = s->FDropDownAlwaysVisible, FSpinButtonsAlwaysVisible = s->FSpinButtonsAlwaysVisible;
  DropDownCount = s->DropDownCount;
  FDropDownFooter.Assign(&s->FDropDownFooter);
  FDropDownHeader.Assign(&s->FDropDownHeader);
  HintMaxWidth = s->HintMaxWidth;
}

}  // namespace grid
