#pragma once
// What every window of the configurator shares: the look of the form (fixed single border with only the
// system menu, centred on the screen, the background colour, the font), the title panel with the model code
// and the heading, the button panel with OK and Cancel, a link label, and opening links.

#include <QString>
#include <QUrl>

#include <functional>

class QPainter;

#include "controls/lb_button.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

// RGB 248, 247, 237.
inline constexpr plat::TColor Window_Background = plat::RGB(248, 247, 237);

// The text of the language table at Index; empty when the table has no such entry.
QString Lang_Text(int Index);

// Border, icons, position, colour and font (Verdana, the given character height in pixels).
void Setup_Window(plat::TForm* F, int FontPixels = 11);

// Creates a control of class T owned and parented by Parent's form, named and placed.
template <class T>
T* Make_Control(plat::TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height) {
  plat::TComponent* owner = plat::GetParentForm(Parent) ? static_cast<plat::TComponent*>(plat::GetParentForm(Parent))
                                                         : static_cast<plat::TComponent*>(Parent);
  T* c = new T(owner);
  c->SetName(QString::fromLatin1(Name));
  c->SetParent(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

// Gives Button a drawn picture of Size x Size pixels: Draw paints on a magenta ground, which the button shows
// through.
void Set_Drawn_Glyph(controls::TLbButton* Button, int Size, const std::function<void(QPainter& P)>& Draw);

// A label with its text, the window font unless changed.
plat::TLabel* Make_Label(plat::TWinControl* Parent, const char* Name, int Left, int Top);

// The title panel (P_Title with L_SW_Code and L_SW_Desc) at the top and the button panel (P_Button with
// Btn_OK and Btn_Cancel; Cancel carries the modal result Cancel) at the bottom of a dialog.
struct TDialogFrame {
  plat::TPanel* P_Title = nullptr;
  plat::TLabel* L_SW_Code = nullptr;
  plat::TLabel* L_SW_Desc = nullptr;
  plat::TPanel* P_Button = nullptr;
  controls::TLbButton* Btn_OK = nullptr;
  controls::TLbButton* Btn_Cancel = nullptr;
};
TDialogFrame Make_Dialog_Frame(plat::TForm* F);
// Places the OK and Cancel buttons at the right of the button panel (after the client width is set).
void Place_Dialog_Buttons(const TDialogFrame& Frame);

// A label that shows a link: underlined, hand cursor; a click calls OnLinkClick with the link target.
class TLinkLabel : public plat::TLabel {
 public:
  explicit TLinkLabel(plat::TComponent* AOwner);
  QUrl Link() const { return FLink; }
  void SetLink(const QUrl& v) { FLink = v; }
  std::function<void(const QUrl& Link)> OnLinkClick;
  void Click() override;
  void SetParent(plat::TWinControl* AParent) override;

 private:
  QUrl FLink;
};

// Hands a link to the desktop's default handler; a link that cannot be opened passes without a message.
void Open_Link(const QUrl& Link);
