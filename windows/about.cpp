#include "windows/about.h"

#include <QImage>
#include <QPainter>

#include "core/device_model.h"
#include "platform/graphics/graphic.h"
#include "windows/version_check.h"

using namespace plat;

TFAbout* FAbout = nullptr;

namespace {

// A plain logo: the brand name in a frame.
void Draw_Logo(TImage* Image, const QString& Brand, QColor Colour) {
  QImage img(96, 96, QImage::Format_RGB32);
  img.fill(QColor(248, 247, 237));
  QPainter p(&img);
  p.setPen(QPen(Colour, 3));
  p.drawRoundedRect(QRectF(4, 4, 88, 88), 12, 12);
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(14);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(4, 4, 88, 88), Qt::AlignCenter, Brand);
  p.end();
  TBitmap bmp;
  bmp.SetImage(img);
  Image->Picture()->SetGraphic(&bmp);
}

}  // namespace

TFAbout::TFAbout(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FAbout"));
  Setup_Window(this);
  SetCaption(QStringLiteral("About"));
  Image2 = Make_Control<TImage>(this, "Image2", 12, 12, 96, 96);
  Image2->SetCursor(crHandPoint);
  Image2->OnClick = [this](TObject*) { Label4Click(); };
  Draw_Logo(Image2, QStringLiteral("Veltrum"), QColor(0, 90, 160));
  I_Dastrell = Make_Control<TImage>(this, "I_Dastrell", 12, 12, 96, 96);
  Draw_Logo(I_Dastrell, QStringLiteral("Dastrell"), QColor(160, 60, 0));
  Label1 = Make_Label(this, "Label1", 124, 12);
  Label1->SetCaption(QStringLiteral("Software Tessaron "));
  Label1->Font()->SetStyle(TFontStyles{fsBold});
  Label2 = Make_Label(this, "Label2", 124, 30);
  Label6 = Make_Label(this, "Label6", 124, 54);
  Label6->SetCaption(QStringLiteral("Software Code : "));
  Label9 = Make_Label(this, "Label9", 250, 54);
  Label3 = Make_Label(this, "Label3", 124, 70);
  Label3->SetCaption(QStringLiteral("Version :"));
  Label10 = Make_Label(this, "Label10", 250, 70);
  Label8 = Make_Label(this, "Label8", 124, 86);
  Label8->SetCaption(QStringLiteral("Document Code :"));
  Label12 = Make_Label(this, "Label12", 250, 86);
  Label4 = Make_Control<TLinkLabel>(this, "Label4", 124, 118, 150, 14);
  Label4->SetAutoSize(true);
  Label4->SetCaption(QUrl(Web_Server_Base()).host());
  Label4->OnClick = [this](TObject*) { Label4Click(); };
  LbButton1 = Make_Control<controls::TLbButton>(this, "LbButton1", 310, 112, 84, 26);
  LbButton1->SetCaption(QStringLiteral("OK"));
  LbButton1->SetModalResult(mrOk);
  LbButton1->SetCancel(true);
  // Escape closes the window wherever the focus is, as the dialog keys of its only button cannot when that
  // button itself has the focus.
  SetKeyPreview(true);
  OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) {
    if (Key != VK_ESCAPE || !Shift.Empty()) return;
    Key = 0;
    SetModalResult(mrOk);
  };
}

void TFAbout::DoCreate() {
  FAbout = this;
  TForm::DoCreate();
}

void TFAbout::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TFAbout::FormShow() {
  const int32_t model = Device_Model().Model;
  const bool oem = Device_Model().Is_Rebrand();
  I_Dastrell->SetVisible(oem);
  Image2->SetVisible(!oem);
  Label4->SetVisible(!oem);
  // The OEM types show the model they re-brand.
  Label2->SetCaption(SW_Desc_Type(Device_Type));
  Label9->SetCaption(SW_Code_Type(model));
  Label10->SetCaption(Built_In_Version(model));
  Label12->SetCaption(Document_Code(model));
  SetClientWidth(406);
  SetClientHeight(148);
}

void TFAbout::Label4Click() { Open_Link(Home_Page_Url()); }
