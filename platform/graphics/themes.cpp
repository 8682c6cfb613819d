#include "platform/graphics/themes.h"

#include <QPainter>

#include <map>

#include "platform/graphics/classic.h"

namespace plat {

TPlatformFacts& PlatformFacts() {
  static TPlatformFacts facts;
  return facts;
}

void ResetPlatformFacts() { PlatformFacts() = TPlatformFacts(); }

bool IsThemeActive() { return PlatformFacts().WindowsXPOrLater && PlatformFacts().ThemesActive; }

bool IsAppThemed() { return IsThemeActive() && PlatformFacts().AppThemed; }

bool GetCurrentThemeName(QString* fileName, QString* colorName, QString* sizeName) {
  if (!IsThemeActive()) return false;
  if (fileName) *fileName = PlatformFacts().ThemeFileName;
  if (colorName) *colorName = PlatformFacts().ColorSchemeName;
  if (sizeName) *sizeName = PlatformFacts().SizeName;
  return true;
}

namespace {

const QStringList& KnownClasses() {
  static const QStringList names = {QStringLiteral("button"), QStringLiteral("combobox"), QStringLiteral("spin"),
                                    QStringLiteral("header"), QStringLiteral("progress"), QStringLiteral("edit"),
                                    QStringLiteral("treeview"), QStringLiteral("listview")};
  return names;
}

std::map<HTHEME, QString>& Handles() {
  static std::map<HTHEME, QString> handles;
  return handles;
}

HTHEME& NextHandle() {
  static HTHEME next = 0x7000;
  return next;
}

// Colours of the themed look (0x00BBGGRR).
constexpr TColor kBorder[] = {RGB(0x70, 0x70, 0x70), RGB(0x3C, 0x7F, 0xB1), RGB(0x2C, 0x62, 0x8B),
                              RGB(0xAD, 0xB2, 0xB5), RGB(0x33, 0x99, 0xFF)};
constexpr TColor kFace[] = {RGB(0xE5, 0xE5, 0xE5), RGB(0xE5, 0xF1, 0xFB), RGB(0xCC, 0xE4, 0xF7),
                            RGB(0xF4, 0xF4, 0xF4), RGB(0xE5, 0xE5, 0xE5)};
constexpr TColor kGlyph = RGB(0x20, 0x20, 0x20);
constexpr TColor kGlyphDisabled = RGB(0xA0, 0xA0, 0xA0);

int Index(int state) { return std::clamp(state, 1, 5) - 1; }

void Box(QPainter* p, const TRect& r, TColor border, TColor face) {
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->fillRect(ToQRect(r), ToQColor(face));
  p->setPen(QPen(ToQColor(border), 1));
  p->setBrush(Qt::NoBrush);
  p->drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

bool Paint(TCanvas& c, const QString& cls, int part, int state, const TRect& r) {
  QPainter* p = c.Painter();
  if (!p) return false;
  p->setRenderHint(QPainter::Antialiasing, false);
  if (cls == QLatin1String("button")) {
    if (part == BP_PUSHBUTTON) {
      Box(p, r, kBorder[Index(state)], kFace[Index(state)]);
      return true;
    }
    if (part == BP_CHECKBOX || part == BP_RADIOBUTTON) {
      int kind = (state - 1) / 4;  // 0 unchecked, 1 checked, 2 mixed
      int look = (state - 1) % 4;  // normal, hot, pressed, disabled
      int s = std::min({r.Width(), r.Height(), 13});
      TRect b(r.Left + (r.Width() - s) / 2, r.Top + (r.Height() - s) / 2, 0, 0);
      b.Right = b.Left + s;
      b.Bottom = b.Top + s;
      TColor border = kBorder[look], face = look == 3 ? kFace[3] : clWindow;
      TColor glyph = look == 3 ? kGlyphDisabled : kGlyph;
      if (part == BP_CHECKBOX) {
        Box(p, b, border, face);
        if (kind == 1) {
          static constexpr int kRow[7] = {2, 3, 4, 3, 2, 1, 0};
          int x0 = b.Left + (s - 7) / 2, y0 = b.Top + (s - 7) / 2;
          for (int i = 0; i < 7; ++i) p->fillRect(QRect(x0 + i, y0 + kRow[i], 1, 3), ToQColor(glyph));
        } else if (kind == 2) {
          TRect m = b;
          InflateRect(m, -3, -3);
          p->fillRect(ToQRect(m), ToQColor(glyph));
        }
      } else {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setPen(QPen(ToQColor(border), 1));
        p->setBrush(ToQColor(face));
        p->drawEllipse(QRect(b.Left, b.Top, s - 1, s - 1));
        if (kind >= 1) {
          int d = std::max(2, s / 3);
          p->setPen(Qt::NoPen);
          p->setBrush(ToQColor(glyph));
          p->drawEllipse(QRect(b.Left + (s - d) / 2, b.Top + (s - d) / 2, d, d));
        }
      }
      return true;
    }
    if (part == BP_GROUPBOX) {
      p->setCompositionMode(QPainter::CompositionMode_Source);
      p->setPen(QPen(ToQColor(RGB(0xDC, 0xDC, 0xDC)), 1));
      p->setBrush(Qt::NoBrush);
      p->drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
      return true;
    }
    return false;
  }
  if (cls == QLatin1String("combobox") && part == CP_DROPDOWNBUTTON) {
    Box(p, r, kBorder[Index(state)], kFace[Index(state)]);
    DrawArrowGlyph(c, r, 1, state == CBXS_DISABLED ? kGlyphDisabled : kGlyph);
    return true;
  }
  if (cls == QLatin1String("spin") && part >= SPNP_UP && part <= SPNP_DOWNHORZ) {
    Box(p, r, kBorder[Index(state)], kFace[Index(state)]);
    static constexpr int kDir[] = {0, 1, 3, 2};
    DrawArrowGlyph(c, r, kDir[part - 1], state == UPS_DISABLED ? kGlyphDisabled : kGlyph);
    return true;
  }
  if (cls == QLatin1String("header") && part == HP_HEADERSORTARROW) {
    DrawArrowGlyph(c, r, state == HSAS_SORTEDUP ? 0 : 1, RGB(0x80, 0x80, 0x80));
    return true;
  }
  if (cls == QLatin1String("header") && part >= HP_HEADERITEM && part <= HP_HEADERITEMRIGHT) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    TColor face = state == HIS_HOT ? RGB(0xD9, 0xEB, 0xF9) : state == HIS_PRESSED ? RGB(0xBC, 0xDC, 0xF4) : clWindow;
    p->fillRect(ToQRect(r), ToQColor(face));
    p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), ToQColor(RGB(0xE5, 0xE5, 0xE5)));
    p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), ToQColor(RGB(0xE5, 0xE5, 0xE5)));
    return true;
  }
  if (cls == QLatin1String("progress")) {
    if (part == PP_BAR || part == PP_BARVERT) {
      Box(p, r, RGB(0xBC, 0xBC, 0xBC), RGB(0xE6, 0xE6, 0xE6));
      return true;
    }
    if (part == PP_CHUNK || part == PP_CHUNKVERT) {
      p->setCompositionMode(QPainter::CompositionMode_Source);
      p->fillRect(ToQRect(r), ToQColor(RGB(0x06, 0xB0, 0x25)));
      return true;
    }
    return false;
  }
  if (cls == QLatin1String("edit") && part == EP_EDITTEXT) {
    TColor border = state == ETS_HOT ? kBorder[1] : state == ETS_FOCUSED ? kBorder[4] : RGB(0xAB, 0xAD, 0xB3);
    Box(p, r, border, state == ETS_DISABLED || state == ETS_READONLY ? clBtnFace : clWindow);
    return true;
  }
  if (cls == QLatin1String("treeview") || cls == QLatin1String("listview")) {
    if ((part == TVP_GLYPH || part == TVP_HOTGLYPH) && cls == QLatin1String("treeview")) {
      int s = std::min({r.Width(), r.Height(), 9});
      TRect b(r.Left + (r.Width() - s) / 2, r.Top + (r.Height() - s) / 2, 0, 0);
      b.Right = b.Left + s;
      b.Bottom = b.Top + s;
      Box(p, b, part == TVP_HOTGLYPH ? kBorder[1] : RGB(0x91, 0x91, 0x91), clWindow);
      int cy = b.Top + s / 2, cx = b.Left + s / 2;
      p->fillRect(QRect(b.Left + 2, cy, s - 4, 1), ToQColor(kGlyph));
      if (state == GLPS_CLOSED) p->fillRect(QRect(cx, b.Top + 2, 1, s - 4), ToQColor(kGlyph));
      return true;
    }
    if (part == TVP_TREEITEM) {
      if (state == TREIS_NORMAL || state == TREIS_DISABLED) return true;
      TColor face = state == TREIS_HOT ? RGB(0xE5, 0xF3, 0xFB)
                    : state == TREIS_SELECTEDNOTFOCUS ? RGB(0xD9, 0xD9, 0xD9)
                    : state == TREIS_HOTSELECTED ? RGB(0xCC, 0xE8, 0xFF)
                                                 : RGB(0xCC, 0xE8, 0xFF);
      TColor border = state == TREIS_HOT ? RGB(0xE5, 0xF3, 0xFB)
                      : state == TREIS_SELECTEDNOTFOCUS ? RGB(0xD9, 0xD9, 0xD9)
                                                        : RGB(0x99, 0xD1, 0xFF);
      Box(p, r, border, face);
      return true;
    }
    return false;
  }
  return false;
}

QString Canonical(const QString& name) {
  QString n = name.trimmed().toLower();
  int sep = int(n.lastIndexOf(QLatin1String("::")));
  if (sep >= 0) n = n.mid(sep + 2);
  return n;
}

}  // namespace

HTHEME OpenThemeData(const void*, const QString& classList) {
  if (!IsAppThemed()) return 0;
  for (const QString& part : classList.split(QLatin1Char(';'))) {
    QString n = Canonical(part);
    if (KnownClasses().contains(n)) {
      HTHEME h = NextHandle()++;
      Handles()[h] = n;
      return h;
    }
  }
  return 0;
}

void CloseThemeData(HTHEME theme) { Handles().erase(theme); }

QString ThemeClassName(HTHEME theme) {
  auto it = Handles().find(theme);
  return it == Handles().end() ? QString() : it->second;
}

int DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect& r, const TRect* clip) {
  auto it = Handles().find(theme);
  if (it == Handles().end() || !dc) return E_FAIL;
  int saved = dc->SaveDC();
  if (clip) dc->IntersectClipRect(*clip);
  bool ok = !r.IsEmpty() && Paint(*dc, it->second, part, state, r);
  dc->RestoreDC(saved);
  if (!ok) return r.IsEmpty() ? S_OK : E_FAIL;
  dc->Trace(TraceKind::ThemePart, r, {}, it->second, unsigned(part) | (unsigned(state) << 16));
  return S_OK;
}

bool TThemeServices::DrawElement(HDC dc, const TThemedElementDetails& d, const TRect& r, const TRect* clip) {
  if (!ThemesEnabled()) return false;
  HTHEME h = OpenThemeData(nullptr, d.ClassName);
  if (!h) return false;
  int res = DrawThemeBackground(h, dc, d.Part, d.State, r, clip);
  CloseThemeData(h);
  return res == S_OK;
}

TThemeServices& ThemeServices() {
  static TThemeServices services;
  return services;
}

}  // namespace plat
