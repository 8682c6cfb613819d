#include "windows/window_frame.h"

#include <QDesktopServices>
#include <QImage>
#include <QPainter>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"

using namespace plat;

QString Lang_Text(int Index) { return Lang_Texts.value(Index); }

void Setup_Window(TForm* F, int FontPixels) {
  F->SetBorderStyle(bsSingle);
  F->SetBorderIcons(TBorderIcons{biSystemMenu});
  F->SetPosition(poScreenCenter);
  F->SetColor(Window_Background);
  F->Font()->SetName(QStringLiteral("Verdana"));
  F->Font()->SetHeight(-FontPixels);
}

TLabel* Make_Label(TWinControl* Parent, const char* Name, int Left, int Top) {
  TLabel* l = Make_Control<TLabel>(Parent, Name, Left, Top, 100, 14);
  l->SetAutoSize(true);
  l->SetTransparent(true);
  return l;
}

TDialogFrame Make_Dialog_Frame(TForm* F) {
  TDialogFrame d;
  d.P_Title = Make_Control<TPanel>(F, "P_Title", 0, 0, 300, 60);
  d.P_Title->SetAlign(alTop);
  d.P_Title->SetBevelOuter(bvNone);
  d.P_Title->SetShowCaption(false);
  d.P_Title->SetColor(clWhite);
  d.L_SW_Code = Make_Label(d.P_Title, "L_SW_Code", 12, 4);
  d.L_SW_Code->Font()->SetHeight(-32);
  d.L_SW_Code->Font()->SetColor(clGray);
  d.L_SW_Desc = Make_Label(d.P_Title, "L_SW_Desc", 14, 40);
  d.L_SW_Desc->Font()->SetStyle(TFontStyles{fsBold});
  d.L_SW_Desc->Font()->SetColor(clGray);
  d.L_SW_Code->SetCaption(SW_Code);

  d.P_Button = Make_Control<TPanel>(F, "P_Button", 0, 0, 300, 44);
  d.P_Button->SetAlign(alBottom);
  d.P_Button->SetBevelOuter(bvNone);
  d.P_Button->SetShowCaption(false);
  d.P_Button->SetParentColor(true);
  d.Btn_OK = Make_Control<controls::TLbButton>(d.P_Button, "Btn_OK", 0, 9, 100, 26);
  d.Btn_Cancel = Make_Control<controls::TLbButton>(d.P_Button, "Btn_Cancel", 0, 9, 100, 26);
  d.Btn_Cancel->SetModalResult(mrCancel);
  return d;
}

void Place_Dialog_Buttons(const TDialogFrame& d) {
  const int w = d.P_Button->ClientWidth();
  d.Btn_Cancel->SetLeft(w - 8 - d.Btn_Cancel->Width());
  d.Btn_OK->SetLeft(d.Btn_Cancel->Left() - 8 - d.Btn_OK->Width());
}

TLinkLabel::TLinkLabel(TComponent* AOwner) : TLabel(AOwner) { SetCursor(crHandPoint); }

void TLinkLabel::SetParent(TWinControl* AParent) {
  TLabel::SetParent(AParent);
  // The window's font, blue and underlined.
  if (AParent) {
    TFont f;
    f.Assign(*AParent->Font());
    f.SetColor(clBlue);
    f.SetStyle(TFontStyles{fsUnderline});
    SetFont(f);
  }
}

void TLinkLabel::Click() {
  TLabel::Click();
  if (OnLinkClick && !FLink.isEmpty()) OnLinkClick(FLink);
}

void Open_Link(const QUrl& Link) {
  if (!Link.isEmpty()) QDesktopServices::openUrl(Link);
}

void Set_Drawn_Glyph(controls::TLbButton* Button, int Size, const std::function<void(QPainter& P)>& Draw) {
  const QRgb Ground = qRgb(255, 0, 255);
  QImage Img(Size, Size, QImage::Format_RGB32);
  Img.fill(Ground);
  {
    QPainter P(&Img);  // no smoothing: an edge pixel mixed with the ground would show as a purple fringe
    Draw(P);
  }
  Img.setPixel(0, Size - 1, Ground);  // the corner pixel names the colour that the button shows through
  plat::TBitmap Bmp;
  Bmp.SetImage(Img);
  Button->SetGlyph(&Bmp);
}
