#include "controls/lb_button.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"

namespace controls {

using namespace plat;

namespace {

constexpr TColor Magenta = TColor(0xFF00FF);

struct KindEntry {
  TModalResult result;
  const char* resource;
  const char16_t* caption;
};

const KindEntry& KindOf(TLbButtonKind k) {
  static const KindEntry kinds[] = {
      {mrNone, "", u""},
      {mrOk, "LBOK", u"OK"},
      {mrCancel, "LBCANCEL", u"Abbrechen"},
      {mrNone, "LBHELP", u"Hilfe"},
      {mrYes, "LBYES", u"Ja"},
      {mrNo, "LBNO", u"Nein"},
      {mrNone, "LBCLOSE", u"Schließen"},
      {mrAbort, "LBABORT", u"Abbrechen"},
      {mrRetry, "LBRETRY", u"Wiederholen"},
      {mrIgnore, "LBIGNORE", u"Ignorieren"},
      {12, "LBALL", u"Alle"},
  };
  return kinds[k];
}

struct Preset {
  TColor color, light, shadow, whenDown, hot;
  bool flat;
  TColor font;
  TLbButtonStyle style;
};

// Colours as 0xBBGGRR.
const Preset& PresetOf(TLbColorStyle s) {
  static const Preset presets[] = {
      {},
      {TColor(0x00C0C0), TColor(0x00FFFF), TColor(0x008080), clNone, TColor(0x00DFDF), false, clBlack, bsModern},
      {TColor(0xC0C0C0), TColor(0xFFFFFF), TColor(0x808080), clNone, clNone, false, clBlack, bsModern},
      {TColor(0xFF8000), TColor(0xFFFF00), TColor(0xFF0000), clNone, clNone, false, clBlack, bsModern},
      {TColor(0x0000FF), TColor(0xC0C0FF), TColor(0x0000C0), clNone, clNone, false, clBlack, bsModern},
      {clBtnFace, TColor(0xB59284), TColor(0xB59284), TColor(0xB59284), TColor(0xDED3D6), true, clBlack, bsNormal},
      {clBtnFace, TColor(0x000000), TColor(0x000000), TColor(0x24DABC), TColor(0x8CF6E4), true, clBlack, bsNormal},
      {TColor(0xD1D8DB), TColor(0xB59284), TColor(0xB59285), TColor(0xB59285), TColor(0xD2BDB6), true, clBlack,
       bsNormal},
      {TColor(0xECCE94), TColor(0xFCE6D4), TColor(0x000000), clNone, clNone, false, clBlack, bsModern},
      {clBtnFace, TColor(0xFFFFFF), TColor(0x808080), clNone, clNone, false, clBlack, bsNormal},
      {TColor(0x603000), TColor(0xC0C0C0), TColor(0xC0C0C0), TColor(0xAD6529), TColor(0xCEAE9C), false, clWhite,
       bsQuicken},
  };
  return presets[s];
}

int Channel(TColor c, int shift) { return (ColorToRGB(c) >> shift) & 0xFF; }

TColor Blend(TColor from, TColor to, int num, int den) {
  const int r = Channel(from, 0) + (Channel(to, 0) - Channel(from, 0)) * num / den;
  const int g = Channel(from, 8) + (Channel(to, 8) - Channel(from, 8)) * num / den;
  const int b = Channel(from, 16) + (Channel(to, 16) - Channel(from, 16)) * num / den;
  return RGB(r, g, b);
}

// One vertical gradient of 32 bands from row t (colour a) to row b (colour z) inside columns l..r.
void Gradient(TCanvas* C, int l, int r, int t, int b, TColor a, TColor z) {
  if (b <= t) return;
  const int step = (b - t) / 31 + 1;
  for (int i = 0; i < 32; ++i) {
    const int top = t + i * (b - t) / 31;
    if (top >= b) break;
    C->Brush()->SetColor(Blend(a, z, i, 31));
    C->FillRect(TRect(l, top, r, std::min(top + step, b)));
  }
}

// Draws image Index of a strip of images of width GW, with its own transparent colour.
void DrawGlyph(TCanvas* C, const TBitmap& strip, int index, int gw, int x, int y) {
  if (gw <= 0) return;
  QImage img = strip.Image().copy(index * gw, 0, gw, strip.Height()).convertToFormat(QImage::Format_ARGB32);
  const QRgb key = img.pixel(0, img.height() - 1);  // the bottom-left pixel is the transparent colour
  for (int yy = 0; yy < img.height(); ++yy) {
    for (int xx = 0; xx < img.width(); ++xx) {
      if (img.pixel(xx, yy) == key) img.setPixel(xx, yy, 0);
    }
  }
  // Blended, so that the transparent pixels keep what is below them.
  C->Painter()->drawImage(QPoint(x, y), img);
}

void PaintPicture(QImage& img, const QString& name) {
  QPainter p(&img);
  // No smoothing: the edges must not mix with the transparent colour.
  const int n = 2;
  const int w = img.width() / n;
  for (int i = 0; i < n; ++i) {
    const bool disabled = i == 1;
    p.save();
    p.translate(i * w, 0);
    auto pen = [&](QColor c) { p.setPen(QPen(disabled ? QColor(128, 128, 128) : c, 2.2, Qt::SolidLine, Qt::RoundCap)); };
    if (name == u"LBOK" || name == u"LBYES") {
      pen(name == u"LBOK" ? QColor(0, 128, 0) : QColor(0, 100, 200));
      p.drawPolyline(QPolygonF({QPointF(3, 9), QPointF(7, 13), QPointF(15, 4)}));
    } else if (name == u"LBCANCEL" || name == u"LBNO" || name == u"LBABORT") {
      pen(QColor(192, 0, 0));
      p.drawLine(QPointF(4, 4), QPointF(14, 14));
      p.drawLine(QPointF(14, 4), QPointF(4, 14));
    } else if (name == u"LBHELP") {
      pen(QColor(0, 0, 160));
      p.drawArc(QRectF(5, 2, 8, 7), 180 * 16, -270 * 16);
      p.drawLine(QPointF(9, 9), QPointF(9, 11));
      p.drawPoint(QPointF(9, 15));
    } else if (name == u"LBCLOSE") {
      pen(QColor(128, 96, 0));
      p.drawRect(QRectF(4, 3, 8, 12));
      p.drawLine(QPointF(12, 9), QPointF(16, 9));
    } else if (name == u"LBRETRY") {
      pen(QColor(0, 128, 128));
      p.drawArc(QRectF(3, 3, 12, 12), 30 * 16, 300 * 16);
      p.drawLine(QPointF(14, 3), QPointF(14, 7));
    } else if (name == u"LBIGNORE") {
      pen(QColor(96, 96, 96));
      p.drawLine(QPointF(3, 9), QPointF(15, 9));
    } else if (name == u"LBALL") {
      pen(QColor(0, 128, 0));
      p.drawPolyline(QPolygonF({QPointF(2, 8), QPointF(5, 11), QPointF(10, 4)}));
      p.drawPolyline(QPolygonF({QPointF(7, 13), QPointF(10, 16), QPointF(16, 8)}));
    }
    p.restore();
  }
}

}  // namespace

std::unique_ptr<TBitmap> LbButton_Resource(const QString& Name) {
  static const QStringList two18 = {"LBOK",  "LBCANCEL", "LBHELP",  "LBYES",    "LBNO",
                                    "LBCLOSE", "LBABORT", "LBRETRY", "LBIGNORE"};
  auto bmp = std::make_unique<TBitmap>();
  QImage img;
  if (two18.contains(Name)) {
    img = QImage(36, 18, QImage::Format_RGB32);
  } else if (Name == u"LBALL") {
    img = QImage(36, 19, QImage::Format_RGB32);
  } else if (Name == u"LBARROW") {
    img = QImage(5, 3, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    for (int y = 0; y < 3; ++y) {
      for (int x = y; x < 5 - y; ++x) img.setPixel(x, y, qRgb(0, 0, 0));
    }
    // The bottom-left pixel is the transparent colour.
    bmp->SetImage(img);
    return bmp;
  } else {
    return bmp;
  }
  img.fill(QColor(255, 0, 255));
  PaintPicture(img, Name);
  // Keep the transparent key in the bottom-left pixel of each image.
  img.setPixel(0, img.height() - 1, qRgb(255, 0, 255));
  img.setPixel(img.width() / 2, img.height() - 1, qRgb(255, 0, 255));
  bmp->SetImage(img);
  return bmp;
}

TLbButtonThread::TLbButtonThread(std::function<void()> Notify) : FNotify(std::move(Notify)), FTimer(new QTimer) {
  FTimer->setInterval(30);
  QObject::connect(FTimer.get(), &QTimer::timeout, [this] {
    if (FNotify) FNotify();
  });
}

TLbButtonThread::~TLbButtonThread() { FTimer->stop(); }
void TLbButtonThread::Resume() { FTimer->start(); }
void TLbButtonThread::Suspend() { FTimer->stop(); }
bool TLbButtonThread::Suspended() const { return !FTimer->isActive(); }

TLbButton::TLbButton(TComponent* AOwner)
    : TCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()), FHTFont(std::make_unique<TFont>()) {
  SetBounds(Left(), Top(), 100, 23);
  FControlStyle = TControlStyle{csCaptureMouse, csSetCaption};
  SetTabStop(true);
  SetColor(clBtnFace);
  // Created for every button, suspended: it runs only during a fade.
  FThread = std::make_unique<TLbButtonThread>([this] { FadeStep(); });
  if (auto* form = dynamic_cast<TCustomForm*>(AOwner)) FHTFont->Assign(*form->Font());
}

TLbButton::~TLbButton() {
  FDestroying = true;
  FThread.reset();
}

void TLbButton::SetAlignment(TAlignment v) { Change(FAlignment, v); }
void TLbButton::SetShadowColor(TColor v) { Change(FShadowColor, v); }
void TLbButton::SetLightColor(TColor v) { Change(FLightColor, v); }
void TLbButton::SetColorWhenDown(TColor v) {
  FColorWhenDown = v;
  Changed();
}
void TLbButton::SetHotTrackColor(TColor v) {
  FHotTrackColor = v;
  Changed();
}
void TLbButton::SetFlat(bool v) { Change(FFlat, v); }
void TLbButton::SetWordWrap(bool v) { Change(FWordWrap, v); }
void TLbButton::SetLayout(TLbButtonLayout v) { Change(FLayout, v); }
void TLbButton::SetNumGlyphs(int v) {
  FNumGlyphs = v;
  Invalidate();
}
void TLbButton::SetHotTrackFont(const TFont& v) { FHTFont->Assign(v); }
void TLbButton::SetUseHotTrackFont(bool v) {
  FUseHTFont = v;
  Changed();
}

void TLbButton::SetGlyph(const TBitmap* v) {
  if (v == nullptr || v->Width() == 0 || v->Height() == 0) {
    FGlyph = std::make_unique<TBitmap>();
  } else {
    FGlyph->Assign(*v);
  }
  FNumGlyphs = FGlyph->Height() == 0 ? 0 : FGlyph->Width() / FGlyph->Height();
  FKind = bkCustom;
  Changed();
}

void TLbButton::SetModalResult(TModalResult v) {
  FModalResult = v;
  FKind = bkCustom;
}

void TLbButton::SetKind(TLbButtonKind v) {
  if (v != bkCustom) {
    const KindEntry& k = KindOf(v);
    FModalResult = k.result;
    FGlyph = LbButton_Resource(QString::fromLatin1(k.resource));
    FNumGlyphs = 2;
    SetCaption(QString::fromUtf16(k.caption));
  }
  FKind = v;
  Changed();
}

void TLbButton::SetColorStyle(TLbColorStyle v) {
  if (v == lcsCustom) return;
  const Preset& p = PresetOf(v);
  SetColor(p.color);
  FLightColor = p.light;
  FShadowColor = p.shadow;
  FColorWhenDown = p.whenDown;
  FHotTrackColor = p.hot;
  FFlat = p.flat;
  Font()->SetColor(p.font);
  SetStyle(p.style);
  Changed();
}

void TLbButton::SetStyle(TLbButtonStyle v) {
  FStyle = v;
  FTransparent = v == bsModern || v == bsShape || v == bsQuicken;
  // The window's transparent style: the parent is painted below the button.
  Widget()->setAttribute(Qt::WA_OpaquePaintEvent, !FTransparent);
  Changed();
}

void TLbButton::SetSlowDecease(bool v) {
  FSlowDecease = v;
  if (v) {
    if (!FThread) FThread = std::make_unique<TLbButtonThread>([this] { FadeStep(); });
  } else if (FThread) {
    FThread.reset();
    FHotTrackStep = 0;
  }
  Changed();
}

void TLbButton::SetEnabled(bool v) {
  TCustomControl::SetEnabled(v);
  FEnabled = v;
  bDown = false;
  Changed();
}

bool TLbButton::ParentShowing() const { return Parent() != nullptr && Parent()->Showing(); }

// The button's click event is the control's OnClick, which the click action runs; the inherited click would
// run it a second time.
void TLbButton::Click() {
  bDown = true;
  ClickAction();
}

void TLbButton::ClickAction() {
  if (!Visible() || !Enabled() || !bDown) return;
  bDown = false;
  if (OnClick) OnClick(this);
  if (FModalResult != mrNone) {
    if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
  }
  if (PopupMenu()) {
    const TPoint p = ClientToScreen(TPoint(0, Height()));
    PopupMenu()->SetPopupComponent(this);
    PopupMenu()->Popup(p.X, p.Y);
  }
}

void TLbButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && Enabled()) {
    bDown = true;
    if (CanFocus()) SetFocus();
    Repaint();
  }
}

void TLbButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (bDown) Click();
  bDown = false;
  Invalidate();
}

void TLbButton::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if ((Key == VK_RETURN || Key == VK_SPACE) && Enabled()) {
    bDown = true;
    Invalidate();
  }
}

void TLbButton::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key == VK_RETURN || Key == VK_SPACE) {
    if (bDown) Click();
    Invalidate();
  }
}

LRESULT TLbButton::DefaultDlgCode() const {
  return DLGC_BUTTON | (FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TLbButton::FadeStep() {
  if (FDestroying) return;
  --FHotTrackStep;
  if (FHotTrackStep <= 0) {
    if (FThread) FThread->Suspend();
    FHotTrackStep = 0;
  }
  Repaint();
}

namespace {

// The active control is a push-like button that handles Enter itself (not a radio button).
bool IsOtherButton(TWinControl* c) {
  if (c == nullptr) return false;
  if (dynamic_cast<TRadioButton*>(c)) return false;
  if (dynamic_cast<TButton*>(c) || dynamic_cast<TLbButton*>(c)) return true;
  const QString n = c->ClassName().toUpper();
  return n.contains(u"BUTTON") && !n.contains(u"RADIOBUTTON");
}

// The accelerator character of a caption ("&x"), or 0.
QChar AccelChar(const QString& caption) {
  for (int i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (caption[i + 1] != u'&') return caption[i + 1];
      ++i;
    }
  }
  return QChar();
}

}  // namespace

void TLbButton::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT:
      if (FTransparent && Widget()) {
        // The control's usual buffer starts filled with its colour; a transparent button starts from nothing,
        // so that the parent, painted below it, shows where the button leaves its key colour.
        QImage buffer(Widget()->size(), QImage::Format_ARGB32_Premultiplied);
        buffer.fill(Qt::transparent);
        Canvas()->SetDevice(&buffer);
        Canvas()->Font()->Assign(*Font());
        Paint();
        Canvas()->SetDevice(nullptr);
        QPainter p(Widget());
        p.drawImage(0, 0, buffer);
        return;
      }
      TCustomControl::Dispatch(M);
      return;
    case CM_MOUSEENTER:
      if (Enabled() && Visible() && ParentShowing()) {
        bCursorOnButton = true;
        FHotTrackStep = 8;
        if (FThread) FThread->Suspend();
        Repaint();
      }
      TCustomControl::Dispatch(M);  // OnMouseEnter
      return;
    case CM_MOUSELEAVE:
      bCursorOnButton = false;
      if (FSlowDecease && FThread) {
        FThread->Resume();
      } else {
        FHotTrackStep = 0;
        Repaint();
      }
      if (Enabled() && Visible() && ParentShowing() && OnMouseExit) OnMouseExit(this);
      TCustomControl::Dispatch(M);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(M);
      Invalidate();
      return;
    case CM_DIALOGCHAR: {
      const QChar a = AccelChar(Caption());
      const QChar k(static_cast<char16_t>(M.WParam));
      if (!a.isNull() && a.toUpper() == k.toUpper() && Visible() && Enabled() && ParentShowing()) {
        bDown = true;
        Click();
        M.Result = 1;
        return;
      }
      TCustomControl::Dispatch(M);
      return;
    }
    case CM_DIALOGKEY: {
      const auto key = static_cast<std::uint16_t>(M.WParam);
      const bool noShift = KeyDataToShiftState(M.LParam).Empty();
      if (((key == VK_RETURN && FDefault) || (key == VK_ESCAPE && FCancel && noShift)) && Visible() &&
          Enabled()) {
        TCustomForm* f = nullptr;
        for (TComponent* o = Owner(); o && !f; o = o->Owner()) f = dynamic_cast<TCustomForm*>(o);
        if (!f) f = GetParentForm(this);
        if (f && IsOtherButton(f->ActiveControl())) {
          TCustomControl::Dispatch(M);  // that button reacts itself
          return;
        }
        bDown = true;
        Click();
        M.Result = 1;
        return;
      }
      TCustomControl::Dispatch(M);
      return;
    }
    default:
      TCustomControl::Dispatch(M);
      return;
  }
}

TColor TLbButton::FaceColor() const {
  const bool down = bDown && Enabled();
  TColor face = Color();
  if (Enabled() && FHotTrackColor != clNone) face = Blend(face, FHotTrackColor, FHotTrackStep, 8);
  if (down && FColorWhenDown != clNone) face = FColorWhenDown;
  return face;
}

int TLbButton::GlyphIndex() const {
  if (FNumGlyphs <= 0 || FGlyph->Width() == 0) return -1;
  if (!Enabled()) return 1;
  const bool hot = bCursorOnButton || Focused();
  const bool down = bDown && Enabled();
  if (down && FNumGlyphs > 2) return 2;
  if (hot && FNumGlyphs > 3) return 3;
  return 0;
}

QString TLbButton::DrawnCaption() {
  QString text = Caption();
  if (FWordWrap) return text;
  const int gw = FNumGlyphs > 0 ? FGlyph->Width() / FNumGlyphs : 0;
  const int v = (FLayout == blGlyphLeft || FLayout == blGlyphRight) && gw > 0 ? Width() - gw - 12 : Width() - 8;
  TBitmap probe(1, 1);
  probe.Canvas()->SetFont(*Font());
  while (!text.isEmpty() && probe.Canvas()->TextWidth(StripAccelChars(text)) > v) text.chop(1);
  return text;
}

void TLbButton::Paint() {
  if (!Visible() || FDestroying) return;
  const int W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  TBitmap bmp(W, H, pf32bit);
  TCanvas* C = bmp.Canvas();
  const bool focused = Focused();
  if (FTransparent) {
    C->Brush()->SetColor(Magenta);
    C->FillRect(TRect(0, 0, W, H));
  }
  if (FStyle == bsOld && focused) {
    PaintFace(C, W - 2, H - 2, focused);
    C->CopyRect(TRect(1, 1, W, H), C, TRect(0, 0, W - 1, H - 1));
    C->Brush()->SetColor(clBlack);
    C->FrameRect(TRect(0, 0, W, H));
  } else {
    PaintFace(C, W, H, focused);
  }
  QImage img = bmp.Image().convertToFormat(QImage::Format_ARGB32);
  if (FTransparent) {
    const QRgb key = qRgb(255, 0, 255);
    for (int y = 0; y < img.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) {
        if ((line[x] | 0xFF000000u) == key) line[x] = 0;
      }
    }
  }
  if (FTransparent) {
    QPainter* p = Canvas()->Painter();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QPoint(0, 0), img);  // the parent shows in the corners
  } else {
    Canvas()->DrawImage(TRect(0, 0, W, H), img, TRect(0, 0, W, H), cmSrcCopy);
  }
  if (focused && Enabled() && FStyle != bsShape) Canvas()->DrawFocusRect(TRect(4, 4, W - 4, H - 4));
}

void TLbButton::PaintFace(TCanvas* C, int W, int H, bool Focused) {
  const bool hot = bCursorOnButton || Focused;
  const bool down = bDown && Enabled();
  const int o = down && FStyle != bsEncarta ? 1 : 0;
  const TColor face = FaceColor();

  // Background.
  C->Pen()->SetColor(face);
  C->Brush()->SetColor(face);
  switch (FStyle) {
    case bsShape: C->Brush()->SetColor(Magenta); C->FillRect(TRect(0, 0, W, H)); break;
    case bsNormal:
    case bsEncarta:
    case bsOld: C->FillRect(TRect(0, 0, W, H)); break;
    case bsModern:
      Gradient(C, 2, W - 2, 2, H / 4 + o, FLightColor, face);
      Gradient(C, 2, W - 2, H / 4 + o, H - 1, face, FLightColor);
      break;
    case bsQuicken: C->RoundRect(0, 0, W, H, 4, 4); break;
  }

  // Edges.
  const bool edges = Enabled() ? (!FFlat || hot || down) : !FFlat;
  auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
    C->Pen()->SetColor(c);
    C->MoveTo(x1, y1);
    C->LineTo(x2, y2);
  };
  // The outer bevel: top and left in lt, right and bottom in rb.
  auto bevel = [&](TColor lt, TColor rb) {
    line(lt, 0, H - 1, 0, 0);
    line(lt, 0, 0, W - 1, 0);
    line(rb, W - 1, 0, W - 1, H - 1);
    line(rb, W - 1, H - 1, -1, H - 1);
  };
  switch (FStyle) {
    case bsNormal:
    case bsEncarta:
      if (edges) bevel(down ? FShadowColor : FLightColor, down ? FLightColor : FShadowColor);
      break;
    case bsOld:
      if (edges) {
        if (!down) {
          line(FShadowColor, W - 2, 1, W - 2, H - 2);
          line(FShadowColor, W - 2, H - 2, 0, H - 2);
        } else {
          line(FShadowColor, 1, H - 2, 1, 1);
          line(FShadowColor, 1, 1, W - 1, 1);
        }
        bevel(down ? cl3DDkShadow : FLightColor, down ? FLightColor : cl3DDkShadow);
      }
      break;
    case bsModern:
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(down ? FShadowColor : face);
      C->Rectangle(1, 1, W - 1, H - 1);
      C->Pen()->SetColor(FShadowColor);
      C->RoundRect(0, 0, W, H, 6, 6);
      C->Brush()->SetStyle(bsSolid);
      break;
    case bsQuicken:
      line(FShadowColor, 4, 0, W - 4, 0);
      line(FShadowColor, 4, H - 1, W - 4, H - 1);
      break;
    case bsShape: break;
  }

  // Font.
  TFont font;
  font.Assign(FUseHTFont && hot ? *FHTFont : *Font());
  if (FStyle == bsEncarta && down) {
    TFontStyles st = font.Style();
    st.Include(fsBold);
    font.SetStyle(st);
  }
  if (!Enabled()) font.SetColor(clGray);
  C->SetFont(font);
  C->Brush()->SetStyle(bsClear);

  // Glyph and caption.
  const int gi = GlyphIndex();
  const int gw = gi >= 0 ? FGlyph->Width() / FNumGlyphs : 0;
  const int gh = gi >= 0 ? FGlyph->Height() : 0;
  const bool side = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  const int v = side && gw > 0 ? W - gw - 12 : W - 8;
  QString text = Caption();
  if (!FWordWrap) {
    while (!text.isEmpty() && C->TextWidth(StripAccelChars(text)) > v) text.chop(1);
  }
  TRect measure(0, 0, std::max(v, 0), 0);
  C->DrawText(text, measure, DT_WORDBREAK | DT_CALCRECT);
  const int th = text.isEmpty() ? 0 : measure.Height();
  const int tw = text.isEmpty() ? 0 : measure.Width();
  const unsigned align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;

  int gx = 0, gy = 0;
  TRect tr;
  if (FStyle == bsShape) {
    gx = (W - gw) / 2;
    gy = (H - gh) / 2;
    tr = TRect(4, (H - th) / 2 + o, W - 4, (H - th) / 2 + o + th);
  } else if (side) {
    gy = (H - gh) / 2 + o;
    const int tx = o + 4 + (FLayout == blGlyphLeft && gw > 0 ? gw + 4 : 0);
    tr = TRect(tx, (H - th) / 2 + o, tx + v, (H - th) / 2 + o + th);
    if (FLayout == blGlyphLeft) {
      gx = o + 4;
    } else {
      gx = tx + tw + 4;
    }
    if (!FWordWrap && gw > 0) {
      if (FAlignment == taRightJustify) {
        gx = W + o - gw - 4;
        if (FLayout == blGlyphLeft) gx -= tw + 4;
      } else if (FAlignment == taCenter) {
        gx = (W - gw) / 2 + o + (FLayout == blGlyphLeft ? -(tw / 2 + 4) : tw / 2 + 4);
      }
    }
  } else {
    const int block = gh + th + 4;
    const int top = (H - block) / 2 + o;
    gx = FAlignment == taLeftJustify ? o + 4 : FAlignment == taRightJustify ? W + o - gw - 4 : (W - gw) / 2 + o;
    if (FLayout == blGlyphTop) {
      gy = top;
      tr = TRect(o + 4, top + gh + 4, o + 4 + v, top + gh + 4 + th);
    } else {
      tr = TRect(o + 4, top, o + 4 + v, top + th);
      gy = top + th + 4;
    }
  }
  if (gi >= 0) DrawGlyph(C, *FGlyph, gi, gw, gx, gy);
  if (!text.isEmpty()) C->DrawText(text, tr, DT_WORDBREAK | align);

  if (PopupMenu()) {
    auto arrow = LbButton_Resource(QStringLiteral("LBARROW"));
    DrawGlyph(C, *arrow, 0, arrow->Width(), W - 11, H / 2 - 1);
  }
}

}  // namespace controls
