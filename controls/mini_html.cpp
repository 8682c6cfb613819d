#include "controls/mini_html.h"

#include <QDesktopServices>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

#include <algorithm>
#include <vector>

#include "controls/draw_utils.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/math.h"
#include "platform/rtl/strutils.h"

using namespace plat;

namespace controls {

namespace {

TColor gHighlightBrush = clHighlight;
TColor gHighlightFont = clHighlightText;

// ---- entity tables -----------------------------------------------------------------------------------------

struct Entity {
  const char* name;
  char16_t ch;
};

const Entity kEntities[51] = {
    {"eacute", u'é'}, {"egrave", u'è'}, {"euml", u'ë'}, {"ecirc", u'ê'}, {"oacute", u'ó'}, {"ograve", u'ò'},
    {"ouml", u'ö'},   {"ocirc", u'ô'},  {"iacute", u'í'}, {"igrave", u'ì'}, {"iuml", u'ï'}, {"icirc", u'î'},
    {"uacute", u'ú'}, {"ugrave", u'ù'}, {"uuml", u'ü'},   {"ucirc", u'û'},  {"aacute", u'á'}, {"agrave", u'à'},
    {"auml", u'ä'},   {"acirc", u'â'},  {"Eacute", u'É'}, {"Egrave", u'È'}, {"Euml", u'Ë'},   {"Ecirc", u'Ê'},
    {"Oacute", u'Ó'}, {"Ograve", u'Ò'}, {"Ouml", u'Ö'},   {"Ocirc", u'Ô'},  {"Iacute", u'Í'}, {"Igrave", u'Ì'},
    {"Iuml", u'Ï'},   {"Icirc", u'Î'},  {"Uacute", u'Ú'}, {"Ugrave", u'Ù'}, {"Uuml", u'Ü'},   {"Ucirc", u'Û'},
    {"Aacute", u'Á'}, {"Agrave", u'À'}, {"Auml", u'Ä'},   {"Acirc", u'Â'},  {"ccedil", u'ç'}, {"Ccedil", u'Ç'},
    {"oslash", u'ø'}, {"Oslash", u'Ø'}, {"aring", u'å'},  {"Aring", u'Å'},  {"copy", u'©'},   {"reg", u'®'},
    {"euro", u'€'},   {"laquo", u'«'},  {"raquo", u'»'},
};

struct NamedColour {
  const char* name;
  TColor value;
};

const NamedColour kColourNames[] = {
    {"clred", TColor(0x0000FF)},        {"clblack", TColor(0x000000)},      {"clblue", TColor(0xFF0000)},
    {"clgreen", TColor(0x008000)},      {"claqua", TColor(0xFFFF00)},       {"clyellow", TColor(0x00FFFF)},
    {"clfuchsia", TColor(0xFF00FF)},    {"clwhite", TColor(0xFFFFFF)},      {"cllime", TColor(0x00FF00)},
    {"clsilver", TColor(0xC0C0C0)},     {"clgray", TColor(0x808080)},       {"clolive", TColor(0x008080)},
    {"clnavy", TColor(0x800000)},       {"clpurple", TColor(0x800080)},     {"clteal", TColor(0x808000)},
    {"clmaroon", TColor(0x000080)},     {"clbackground", clBackground},     {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption}, {"clmenu", clMenu},          {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},   {"clmenutext", clMenuText},         {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},   {"clactiveborder", clActiveBorder}, {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace}, {"clhighlight", clHighlight},       {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},           {"clbtnshadow", clBtnShadow},       {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},           {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight}, {"cl3ddkshadow", cl3DDkShadow},     {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},         {"clinfobk", clInfoBk},
};

// ---- tags and attributes -----------------------------------------------------------------------------------

bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The value of attribute Name in the inside of a tag: the text between the first and the second double quote
// after the name. The name must stand on its own (so COLOR is not found inside BGCOLOR).
bool Attribute(const QString& tag, const QString& name, QString& value) {
  const QString upper = UpperCase(tag);
  const QString key = UpperCase(name);
  qsizetype at = 0;
  while ((at = upper.indexOf(key, at)) >= 0) {
    const qsizetype end = at + key.size();
    const bool startOk = at == 0 || !IsNameChar(upper[at - 1]);
    const bool endOk = end >= upper.size() || !IsNameChar(upper[end]);
    if (startOk && endOk) {
      const qsizetype q1 = tag.indexOf(u'"', end);
      if (q1 < 0) return false;
      const qsizetype q2 = tag.indexOf(u'"', q1 + 1);
      if (q2 < 0) return false;
      value = tag.mid(q1 + 1, q2 - q1 - 1);
      return true;
    }
    at = end;
  }
  return false;
}

QString AttrUpper(const QString& tag, const char* name) {
  QString v;
  Attribute(tag, QString::fromLatin1(name), v);
  return UpperCase(v);
}

QString AttrRaw(const QString& tag, const char* name) {
  QString v;
  Attribute(tag, QString::fromLatin1(name), v);
  return v;
}

int AttrInt(const QString& tag, const char* name, bool* present = nullptr) {
  QString v;
  const bool has = Attribute(tag, QString::fromLatin1(name), v);
  if (present) *present = has;
  return StrToIntDef(Trim(v), 0);
}

// The tag's name: the letters after "<" (and "/"), upper case.
QString TagName(const QString& inside, bool& closing) {
  qsizetype i = 0;
  closing = inside.startsWith(u'/');
  if (closing) i = 1;
  qsizetype j = i;
  while (j < inside.size() && inside[j].isLetter()) ++j;
  return UpperCase(inside.mid(i, j - i));
}

QString PreprocessText(const QString& text) {
  QString s = text;
  s.replace(QStringLiteral("\r"), QStringLiteral("<BR>"));
  s.remove(u'\n');
  // "<#name>" shows "#name".
  qsizetype at = 0;
  while ((at = s.indexOf(QStringLiteral("<#"), at)) >= 0) {
    const qsizetype close = s.indexOf(u'>', at);
    if (close < 0) break;
    s.remove(close, 1);
    s.remove(at, 1);
  }
  static const std::pair<const char*, QString> entities[] = {
      {"&amp;", QStringLiteral("&&")},          {"&quot;", QStringLiteral("\"")},
      {"&sect;", QString(QChar(0x00A7))},       {"&permil;", QString(QChar(0x2030))},
      {"&reg;", QString(QChar(0x00AE))},        {"&copy;", QString(QChar(0x00A9))},
      {"&para;", QString(QChar(0x00B6))},       {"&trade;", QString(QChar(0x2122))},
      {"&euro;", QString(QChar(0x20AC))},
  };
  bool replaced = true;
  while (replaced && s.contains(u'&')) {
    replaced = false;
    for (const auto& [name, ch] : entities) {
      const qsizetype p = s.indexOf(QLatin1String(name));
      if (p >= 0) {
        s.replace(p, qsizetype(strlen(name)), ch);
        replaced = true;
      }
    }
  }
  return s;
}

QString RunText(const QString& raw) {
  QString s = raw;
  s.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
  s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  return s;
}

// ---- layout ------------------------------------------------------------------------------------------------

struct FontSnap {
  QString name;
  int height = -11;
  TFontStyles style;
  TColor colour = clBlack;
  int orientation = 0;

  static FontSnap Of(const TFont& f) { return {f.Name(), f.Height(), f.Style(), f.Color(), f.Orientation()}; }
  void ApplyTo(TFont& f) const {
    f.SetName(name);
    f.SetHeight(height);
    f.SetStyle(style);
    f.SetColor(colour);
    f.SetOrientation(orientation);
  }
  void SetPoints(int points) { height = -MulDiv(points, 96, 72); }
};

enum class ItemKind { Text, Image, Control, Bullet };

struct Item {
  ItemKind kind = ItemKind::Text;
  QString text;  // as handed to DrawText
  int x = 0, w = 0, h = 0;
  int textHeight = 0;
  FontSnap font;
  TColor bg = clNone;
  bool shadow = false, error = false, hidden = false;
  int vshift = 0;  // 1 subscript, 2 superscript
  int anchor = 0;
  QString href, title;
  // images
  THTMLPicture* picture = nullptr;
  THTMLPicture* altPicture = nullptr;
  int imageIndex = -1;
  QImage icon;
  bool stretch = false;
  int imageAlign = 0;  // 0 bottom, 1 top, 2 middle
  // controls
  THTMLControlTag control;
};

struct Line {
  std::vector<Item> items;
  int width = 0, height = 0, subReserve = 0;
  int align = 0;  // 0 left, 1 right, 2 centre
  int indent = 0;
  TColor pbg = clNone;
  bool hr = false;
  int liCount = 0;
  // placement
  int left = 0, top = 0;
};

struct State {
  FontSnap font;
  TColor bg = clNone;
  int anchor = 0;
  QString href, title;
  bool shadow = false, error = false, hidden = false;
  int vshift = 0;
  int listLevel = 0;
  int align = 0, indent = 0;
  TColor pbg = clNone;
  TColor hiColour = clNone, hiBg = clNone;
  TColor anchorBgSaved = clNone;
};

struct Env {
  TCanvas& canvas;
  TRect rect;
  TCustomImageList* images;
  THTMLPictureCache* cache;
  TPictureContainer* container;
  bool wordWrap, keepColors, blink, hoverEnabled, stretchImages;
  double imageFactor;
  int hoverLink;
  TColor urlColour, hoverColour, hoverFontColour;
  FontSnap entryFont;
  TColor entryBrush;
  int xPos, yPos;
  TColor bodyColour = clNone;
  THTMLPicture* bodyPicture = nullptr;
};

int MeasureWidth(TCanvas& c, const FontSnap& f, const QString& text) {
  f.ApplyTo(*c.Font());
  return c.TextWidth(StripPrefixes(text));
}

int MeasureHeight(TCanvas& c, const FontSnap& f) {
  f.ApplyTo(*c.Font());
  return c.TextHeight(QStringLiteral("Xy"));
}

THTMLPicture* FindNamedPicture(Env& env, const QString& src) {
  if (src.isEmpty()) return nullptr;
  if (src.contains(QStringLiteral("://"))) {
    if (!env.cache) return nullptr;
    THTMLPicture* p = env.cache->FindPicture(src);
    if (!p) {
      p = env.cache->AddPicture();
      p->SetAsynch(false);
      p->LoadFromURL(src);
      p->SetID(src);
    }
    return p;
  }
  if (!src.contains(u':') && env.container) return env.container->FindPicture(src);
  return nullptr;
}

QImage SystemIcon(const QString& name, bool large) {
  const int size = large ? 32 : 16;
  QIcon icon;
  bool isNumber = false;
  name.toInt(&isNumber);
  QFileIconProvider provider;
  if (isNumber || name.isEmpty())
    icon = provider.icon(QAbstractFileIconProvider::File);
  else
    icon = provider.icon(QFileInfo(name));
  if (icon.isNull()) icon = provider.icon(QAbstractFileIconProvider::File);
  return icon.pixmap(size, size).toImage();
}

class Layout {
 public:
  explicit Layout(Env& env) : env_(env) {
    st_.font = env.entryFont;
    avail_ = std::max(0, env.rect.Right - (env.rect.Left + 1));
    lines_.emplace_back();
  }

  void Run(const QString& text) {
    qsizetype i = 0;
    while (i < text.size()) {
      if (text[i] == u'<') {
        const qsizetype close = text.indexOf(u'>', i);
        if (close < 0) break;  // a tag without ">" ends the text
        Tag(text.mid(i + 1, close - i - 1));
        i = close + 1;
      } else {
        qsizetype next = text.indexOf(u'<', i);
        if (next < 0) next = text.size();
        Text(text.mid(i, next - i));
        i = next;
      }
    }
    FinishLine();
    if (!lines_.empty() && lines_.back().items.empty() && lines_.size() > 1 && !lines_.back().hr) lines_.pop_back();
  }

  std::vector<Line>& Lines() { return lines_; }
  int HyperLinks() const { return anchors_; }
  QString& Stripped() { return stripped_; }

 private:
  Line& Cur() { return lines_.back(); }
  int CurX() const {
    const Line& l = lines_.back();
    return l.items.empty() ? 0 : l.items.back().x + l.items.back().w;
  }

  void NewLine() {
    FinishLine();
    lines_.emplace_back();
    Cur().align = st_.align;
    Cur().indent = st_.indent;
    Cur().pbg = st_.pbg;
  }

  void FinishLine() {
    Line& l = Cur();
    int width = 0, height = 0, sub = 0;
    for (const Item& it : l.items) {
      int right = it.x + it.w;
      if (it.kind == ItemKind::Text && it.text.endsWith(u' ') && &it == &l.items.back())
        right -= MeasureWidth(env_.canvas, it.font, QStringLiteral(" "));
      width = std::max(width, right);
      const int q = it.textHeight / 4;
      height = std::max(height, it.h + (it.vshift == 2 ? q : 0));
      if (it.vshift == 1) sub = std::max(sub, q);
    }
    if (l.items.empty()) height = MeasureHeight(env_.canvas, st_.font);
    l.width = width;
    l.subReserve = sub;
    l.height = height + sub;
  }

  Item Base(ItemKind kind) const {
    Item it;
    it.kind = kind;
    it.font = st_.font;
    it.bg = st_.bg;
    it.shadow = st_.shadow;
    it.error = st_.error;
    it.hidden = st_.hidden;
    it.vshift = st_.vshift;
    it.anchor = st_.anchor;
    it.href = st_.href;
    it.title = st_.title;
    return it;
  }

  void Place(Item it, bool breakable) {
    const int x = CurX();
    if (breakable && !Cur().items.empty() && x + it.w > avail_ && it.w <= avail_) {
      // A text run that continues a word stays with it; pictures and controls always move on.
      const Item& last = Cur().items.back();
      const bool continuesWord =
          it.kind == ItemKind::Text && last.kind == ItemKind::Text && !last.text.endsWith(u' ');
      if (!continuesWord) NewLine();
    }
    it.x = CurX();
    Cur().items.push_back(std::move(it));
  }

  void Text(const QString& raw) {
    const QString text = RunText(raw);
    stripped_ += QString(text).replace(QStringLiteral("&&"), QStringLiteral("&"));
    const int th = MeasureHeight(env_.canvas, st_.font);
    std::vector<QString> runs;
    if (env_.wordWrap) {
      qsizetype start = 0;
      while (start < text.size()) {
        qsizetype blank = text.indexOf(u' ', start);
        const qsizetype end = blank < 0 ? text.size() : blank + 1;
        runs.push_back(text.mid(start, end - start));
        start = end;
      }
    } else {
      runs.push_back(text);
    }
    for (const QString& r : runs) {
      Item it = Base(ItemKind::Text);
      it.text = r;
      it.textHeight = th;
      it.h = th;
      it.w = st_.hidden ? 0 : MeasureWidth(env_.canvas, st_.font, r);
      Place(std::move(it), env_.wordWrap);
    }
  }

  void Tag(const QString& inside) {
    bool closing = false;
    const QString name = TagName(inside, closing);
    FontSnap& f = st_.font;
    if (name == QLatin1String("A")) {
      if (!closing) {
        st_.anchor = ++anchors_;
        st_.href = AttrRaw(inside, "HREF");
        st_.title = AttrRaw(inside, "TITLE");
        const bool hover = !env_.hoverEnabled || st_.anchor == env_.hoverLink;
        if (!env_.keepColors) f.colour = env_.urlColour;
        st_.anchorBgSaved = st_.bg;
        if (hover) {
          f.style.Include(fsUnderline);
          if (env_.hoverColour != clNone) st_.bg = env_.hoverColour;
          if (env_.hoverFontColour != clNone && !env_.keepColors) f.colour = env_.hoverFontColour;
        }
      } else {
        f.style.Exclude(fsUnderline);
        st_.bg = st_.anchorBgSaved;
        if (!env_.keepColors) f.colour = env_.entryFont.colour;
        st_.anchor = 0;
        st_.href.clear();
        st_.title.clear();
      }
    } else if (name == QLatin1String("B")) {
      closing ? f.style.Exclude(fsBold) : f.style.Include(fsBold);
    } else if (name == QLatin1String("I")) {
      closing ? f.style.Exclude(fsItalic) : f.style.Include(fsItalic);
    } else if (name == QLatin1String("U")) {
      closing ? f.style.Exclude(fsUnderline) : f.style.Include(fsUnderline);
    } else if (name == QLatin1String("S")) {
      closing ? f.style.Exclude(fsStrikeOut) : f.style.Include(fsStrikeOut);
    } else if (name == QLatin1String("BR")) {
      stripped_ += u'\r';
      NewLine();
    } else if (name == QLatin1String("HR")) {
      Cur().hr = true;
      NewLine();
    } else if (name == QLatin1String("BLINK")) {
      if (!closing && !env_.blink) f.colour = env_.entryBrush;
      if (closing) f.colour = env_.entryFont.colour;
    } else if (name == QLatin1String("BODY")) {
      if (!closing) {
        const QString bg = AttrUpper(inside, "BGCOLOR");
        if (!bg.isEmpty()) env_.bodyColour = HTMLColorValue(bg);
        const QString pic = AttrRaw(inside, "BACKGROUND");
        if (!pic.isEmpty()) env_.bodyPicture = FindNamedPicture(env_, pic);
      }
    } else if (name == QLatin1String("E")) {
      st_.error = !closing;
    } else if (name == QLatin1String("FONT")) {
      if (closing) {
        f.name = env_.entryFont.name;
        f.height = env_.entryFont.height;
        if (!env_.keepColors) f.colour = env_.entryFont.colour;
        st_.bg = clNone;
      } else {
        const QString face = AttrRaw(inside, "FACE");
        if (!face.isEmpty()) f.name = face;
        bool hasSize = false;
        const int size = AttrInt(inside, "SIZE", &hasSize);
        if (hasSize && size > 0) {
          static const int points[5] = {8, 10, 12, 14, 16};
          f.SetPoints(size <= 5 ? points[size - 1] : size);
        }
        if (!env_.keepColors) {
          const QString colour = AttrUpper(inside, "COLOR");
          if (!colour.isEmpty()) f.colour = HTMLColorValue(colour);
          const QString bg = AttrUpper(inside, "BGCOLOR");
          if (!bg.isEmpty()) st_.bg = HTMLColorValue(bg);
        }
      }
    } else if (name == QLatin1String("HI")) {
      if (!closing) {
        st_.hiColour = f.colour;
        st_.hiBg = st_.bg;
        f.colour = gHighlightFont;
        st_.bg = gHighlightBrush;
      } else {
        f.colour = st_.hiColour;
        st_.bg = st_.hiBg;
      }
    } else if (name == QLatin1String("IMG")) {
      if (!closing) Image(inside);
    } else if (name == QLatin1String("IND")) {
      const int x = AttrInt(inside, "X");
      if (x > CurX()) {
        Item spacer = Base(ItemKind::Text);
        spacer.hidden = true;
        spacer.w = x - CurX();
        spacer.h = 0;
        spacer.x = CurX();
        Cur().items.push_back(spacer);
      }
    } else if (name == QLatin1String("LI")) {
      if (closing) {
        NewLine();
      } else {
        if (Cur().liCount > 0) NewLine();
        ++Cur().liCount;
        Item bullet = Base(ItemKind::Bullet);
        bullet.font.name = QStringLiteral("Symbol");
        bullet.text = st_.listLevel % 2 == 1 ? QString(QChar(0x00B7)) : QStringLiteral("o");
        const int indent = 12 * std::max(1, st_.listLevel);
        bullet.x = std::max(CurX(), indent - 12);
        bullet.textHeight = MeasureHeight(env_.canvas, bullet.font);
        bullet.h = bullet.textHeight;
        bullet.w = indent - bullet.x + 0;
        if (bullet.w < MeasureWidth(env_.canvas, bullet.font, bullet.text) + 4)
          bullet.w = MeasureWidth(env_.canvas, bullet.font, bullet.text) + 4;
        bullet.hidden = st_.hidden;
        Cur().items.push_back(bullet);
      }
    } else if (name == QLatin1String("UL")) {
      if (!closing) {
        ++st_.listLevel;
        NewLine();
      } else {
        if (st_.listLevel == 0) f.style.Exclude(fsUnderline);
        st_.listLevel = std::max(0, st_.listLevel - 1);
      }
    } else if (name == QLatin1String("P")) {
      if (!closing) {
        const QString align = AttrUpper(inside, "ALIGN");
        st_.align = align == QLatin1String("RIGHT") ? 1 : align == QLatin1String("CENTER") ? 2 : 0;
        st_.indent = AttrInt(inside, "INDENT");
        if (!env_.keepColors) {
          const QString bg = AttrUpper(inside, "BGCOLOR");
          if (!bg.isEmpty()) st_.pbg = HTMLColorValue(bg);
        }
        Cur().align = st_.align;
        Cur().indent = st_.indent;
        Cur().pbg = st_.pbg;
      } else {
        st_.align = 0;
        st_.indent = 0;
        st_.pbg = clNone;
        NewLine();
      }
    } else if (name == QLatin1String("R")) {
      f.orientation = closing ? 0 : AttrInt(inside, "A") * 10;
    } else if (name == QLatin1String("SH")) {
      st_.shadow = !closing;
    } else if (name == QLatin1String("SUB")) {
      st_.vshift = closing ? 0 : 1;
    } else if (name == QLatin1String("SUP")) {
      st_.vshift = closing ? 0 : 2;
    } else if (name == QLatin1String("Z")) {
      st_.hidden = !closing;
    } else if (name == QLatin1String("CONTROL")) {
      if (!closing) Control(inside);
    }
  }

  void Image(const QString& inside) {
    Item it = Base(ItemKind::Image);
    const QString src = AttrRaw(inside, "SRC");
    const QString upper = UpperCase(src);
    int w = 0, h = 0;
    bool animated = false;
    if (upper.startsWith(QStringLiteral("IDX:"))) {
      const int n = StrToIntDef(src.mid(4), -1);
      if (env_.images && n >= 0 && n < env_.images->Count()) {
        it.imageIndex = n;
        w = env_.images->Width();
        h = env_.images->Height();
        if (env_.stretchImages) {
          w = int(Round(w * env_.imageFactor));
          h = int(Round(h * env_.imageFactor));
          it.stretch = true;
        }
      }
    } else if (upper.startsWith(QStringLiteral("SSYS:")) || upper.startsWith(QStringLiteral("LSYS:"))) {
      it.icon = SystemIcon(src.mid(5), upper.startsWith(u'L'));
      w = it.icon.width();
      h = it.icon.height();
    } else {
      it.picture = FindNamedPicture(env_, src);
      if (it.picture && !it.picture->Empty()) {
        animated = it.picture->FrameCount() > 1;
        w = animated ? it.picture->GetMaxWidth() : it.picture->Width();
        h = animated ? it.picture->GetMaxHeight() : it.picture->Height();
      } else {
        it.picture = nullptr;
      }
      const QString alt = AttrRaw(inside, "ALT");
      if (!alt.isEmpty()) it.altPicture = FindNamedPicture(env_, alt);
    }
    bool hasW = false, hasH = false;
    const int aw = AttrInt(inside, "WIDTH", &hasW), ah = AttrInt(inside, "HEIGHT", &hasH);
    if (w > 0 && h > 0) {
      if (hasW && hasH) {
        w = aw;
        h = ah;
        it.stretch = true;
      } else if (hasW) {
        h = MulDiv(h, aw, w);
        w = aw;
        it.stretch = true;
      } else if (hasH) {
        w = MulDiv(w, ah, h);
        h = ah;
        it.stretch = true;
      }
    }
    if (w <= 0 || h <= 0) return;  // missing, empty or zero-size pictures take no space
    const QString align = AttrUpper(inside, "ALIGN");
    it.imageAlign = align == QLatin1String("TOP") ? 1 : align == QLatin1String("MIDDLE") ? 2 : 0;
    it.w = w;
    it.h = h;
    it.textHeight = MeasureHeight(env_.canvas, st_.font);
    Place(std::move(it), true);
  }

  void Control(const QString& inside) {
    Item it = Base(ItemKind::Control);
    it.control = ParseControlTag(inside);
    const QString& type = it.control.Type;
    const bool box = type == QLatin1String("CHECK") || type == QLatin1String("RADIO");
    it.w = it.control.Width > 0 ? it.control.Width : (box ? 16 : 0);
    it.h = box ? 16 : (it.control.Height > 25 ? it.control.Height - 2 : 23);
    it.textHeight = MeasureHeight(env_.canvas, st_.font);
    Place(std::move(it), true);
  }

  Env& env_;
  State st_;
  int avail_ = 0;
  int anchors_ = 0;
  std::vector<Line> lines_;
  QString stripped_;
};

bool ThemedControls() {
  return IsWindowsXPOrLater() && XPVS().Loaded && XPVS().IsThemeActive && XPVS().IsThemeActive();
}

bool DrawThemePart(TCanvas& c, TThemeWindow wnd, const char* cls, int part, int state, const TRect& r) {
  const HTHEME theme = XPVS().OpenThemeData(wnd, QString::fromLatin1(cls));
  if (theme == 0) return false;
  XPVS().DrawThemeBackground(theme, &c, part, state, r, nullptr);
  XPVS().CloseThemeData(theme);
  return true;
}

}  // namespace

// ---- rendering ---------------------------------------------------------------------------------------------

bool RenderHTMLText(TCanvas& Canvas, const QString& Text, TRect Rect, TCustomImageList* Images, int XPos, int YPos,
                    int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot, bool CalcOnly,
                    bool StretchImages, bool KeepColors, bool Blink, bool HoverEnabled, bool WordWrap,
                    bool MouseDown, double ImageFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor,
                    TColor ShadowColor, QString& AnchorVal, QString& StrippedText, QString& FocusAnchor,
                    QString& AnchorTitle, int& XSize, int& YSize, int& HyperLinks, int& MouseLink, TRect& HoverRect,
                    TRect& ControlRect, QString& ControlID, QString& ControlValue, QString& ControlType,
                    THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, TThemeWindow ThemeWindow,
                    int BiDiMode) {
  // The canvas state at entry, restored at the end.
  TFont savedFont;
  savedFont.Assign(*Canvas.Font());
  const TColor savedPenColour = Canvas.Pen()->Color();
  const int savedPenWidth = Canvas.Pen()->Width();
  const TPenStyle savedPenStyle = Canvas.Pen()->Style();
  const TColor savedBrushColour = Canvas.Brush()->Color();
  const TBrushStyle savedBrushStyle = Canvas.Brush()->Style();

  AnchorVal.clear();
  StrippedText.clear();
  FocusAnchor.clear();
  AnchorTitle.clear();
  XSize = YSize = HyperLinks = 0;
  MouseLink = -1;
  HoverRect = TRect();
  ControlRect = TRect();
  const QString wantedControl = CheckHotSpot ? ControlID : QString();
  if (!CheckHotSpot) ControlID.clear();
  ControlValue.clear();
  ControlType.clear();

  Env env{Canvas, Rect, Images, PictureCache, PictureContainer, WordWrap, KeepColors, Blink, HoverEnabled,
          StretchImages, ImageFactor, HoverLink, URLColor, HoverColor, HoverFontColor, FontSnap::Of(savedFont),
          savedBrushColour, XPos, YPos};
  Layout layout(env);
  layout.Run(PreprocessText(Text));
  std::vector<Line>& lines = layout.Lines();
  HyperLinks = layout.HyperLinks();
  StrippedText = layout.Stripped();

  // Place the lines.
  const int left = Rect.Left + 1;
  const int available = std::max(0, Rect.Right - left);
  int top = Rect.Top;
  for (Line& l : lines) {
    int align = l.align;
    if (BiDiMode == 1 && align != 2) align = align == 1 ? 0 : 1;
    const int w = std::min(l.width, available);
    if (align == 1)
      l.left = Rect.Right - w;
    else if (align == 2)
      l.left = left + (available - w) / 2;
    else
      l.left = left;
    l.left += l.indent;
    l.top = top;
    top += l.height;
    XSize = std::max(XSize, l.width);
  }
  YSize = top - Rect.Top;

  auto itemBox = [&](const Line& l, const Item& it) {
    int x = l.left + it.x;
    if (BiDiMode != 0) x = l.left + l.width - it.x - it.w;  // runs advance from right to left
    return TRect(x, l.top, x + it.w, l.top + l.height);
  };

  // Hit testing over the laid-out items.
  bool result = false;
  const bool hitTest = XPos != -1 && YPos != -1;
  const TPoint point(XPos, YPos);
  for (const Line& l : lines) {
    for (const Item& it : l.items) {
      const TRect box = itemBox(l, it);
      if (it.kind == ItemKind::Control) {
        const bool small = it.control.Type == QLatin1String("CHECK") || it.control.Type == QLatin1String("RADIO");
        const TRect hit(box.Left, l.top, box.Left + (small ? 16 : it.w), l.top + (small ? 16 : it.textHeight + 10));
        const bool named = !wantedControl.isEmpty() && it.control.ID == wantedControl;
        if ((hitTest && hit.Contains(point)) || named) {
          AnchorVal = QStringLiteral("ctrl");
          ControlRect = hit;
          ControlID = it.control.ID;
          ControlValue = it.control.Value;
          ControlType = it.control.Type;
          result = true;
        }
        continue;
      }
      if (!hitTest || it.anchor == 0) continue;
      TRect hit = box;
      if (it.kind == ItemKind::Text) hit.Top = l.top + l.height - it.textHeight;
      if (!hit.Contains(point)) continue;
      AnchorVal = it.href;
      AnchorTitle = it.title;
      MouseLink = it.anchor;
      if (it.kind == ItemKind::Image || CheckHotSpot) result = true;
    }
  }
  // The hovered anchor's box: every piece of it.
  for (const Line& l : lines)
    for (const Item& it : l.items)
      if (MouseLink > 0 && it.anchor == MouseLink) UnionRect(HoverRect, HoverRect, itemBox(l, it));
  for (const Line& l : lines)
    for (const Item& it : l.items)
      if (FocusLink >= 0 && it.anchor == FocusLink + 1 && FocusAnchor.isEmpty()) FocusAnchor = it.href;

  if (CalcOnly) {
    result = false;
  } else if (!CheckHotSpot) {
    // Paint.
    unsigned flags = DT_EXTERNALLEADING | DT_EXPANDTABS | DT_SINGLELINE | DT_BOTTOM;
    if (BiDiMode != 0) flags |= DT_RTLREADING;
    if (!WordWrap) flags |= DT_END_ELLIPSIS;
    Canvas.SetBkMode(TRANSPARENT);
    if (env.bodyColour != clNone) {
      Canvas.Brush()->SetStyle(bsSolid);
      Canvas.Brush()->SetColor(env.bodyColour);
      Canvas.FillRect(Rect);
    }
    if (env.bodyPicture && !env.bodyPicture->Empty()) {
      const int pw = env.bodyPicture->Width(), ph = env.bodyPicture->Height();
      Canvas.SaveDC();
      Canvas.IntersectClipRect(Rect);
      for (int y = Rect.Top; y < Rect.Bottom; y += ph)
        for (int x = Rect.Left; x < Rect.Right; x += pw) Canvas.Draw(x, y, env.bodyPicture);
      Canvas.RestoreDC(-1);
    }
    TRect focusBox;
    for (const Line& l : lines) {
      if (l.top > Rect.Bottom) break;
      const int bottom = l.top + l.height;
      if (l.pbg != clNone) {
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(l.pbg);
        Canvas.FillRect(TRect(Rect.Left, l.top, Rect.Right, bottom));
      }
      for (const Item& it : l.items) {
        const TRect box = itemBox(l, it);
        if (FocusLink >= 0 && it.anchor == FocusLink + 1) UnionRect(focusBox, focusBox, box);
        if (it.hidden) continue;
        const int q = it.textHeight / 4;
        const int base = bottom - l.subReserve + (it.vshift == 1 ? q : 0) - (it.vshift == 2 ? q : 0);
        switch (it.kind) {
          case ItemKind::Text:
          case ItemKind::Bullet: {
            if (it.text.isEmpty()) break;
            TRect r(box.Left, base - it.h, WordWrap ? box.Right : Rect.Right, base);
            if (it.bg != clNone) {
              Canvas.Brush()->SetStyle(bsSolid);
              Canvas.Brush()->SetColor(it.bg);
              Canvas.FillRect(TRect(box.Left, l.top, box.Right, bottom));
            }
            Canvas.Brush()->SetStyle(bsClear);
            it.font.ApplyTo(*Canvas.Font());
            if (it.shadow) {
              Canvas.Font()->SetColor(ShadowColor);
              TRect sr = r;
              OffsetRect(sr, ShadowOffset, ShadowOffset);
              Canvas.DrawText(it.text, sr, flags);
              Canvas.Font()->SetColor(it.font.colour);
            }
            Canvas.DrawText(it.text, r, flags);
            if (it.error) {
              Canvas.Pen()->SetStyle(psSolid);
              Canvas.Pen()->SetWidth(1);
              Canvas.Pen()->SetColor(TColor(0x0000FF));
              const int y = bottom - 1;
              int x = box.Left & ~1;
              Canvas.MoveTo(x, y);
              bool up = true;
              while (x < box.Right) {
                x += 2;
                Canvas.LineTo(x, up ? y - 2 : y);
                up = !up;
              }
            }
            break;
          }
          case ItemKind::Image: {
            int y = base - it.h;
            if (it.imageAlign == 1) y = l.top;
            if (it.imageAlign == 2) y = l.top + (l.height - it.h) / 2;
            const TRect r(box.Left, y, box.Left + it.w, y + it.h);
            THTMLPicture* pic = it.picture;
            if (it.altPicture && !it.altPicture->Empty() && XPos != -1 && r.Contains(point)) pic = it.altPicture;
            if (it.imageIndex >= 0 && Images) {
              if (it.stretch) {
                TBitmap bmp;
                if (Images->GetBitmap(it.imageIndex, &bmp)) Canvas.StretchDraw(r, &bmp);
              } else {
                Images->Draw(&Canvas, r.Left, r.Top, it.imageIndex);
              }
            } else if (!it.icon.isNull()) {
              TIcon icon;
              icon.SetImage(it.icon);
              Canvas.Draw(r.Left, r.Top, &icon);
            } else if (pic) {
              if (it.stretch) {
                Canvas.StretchDraw(r, pic);
              } else if (pic->FrameCount() > 1) {
                // The logical screen in the background colour, then the frame at its offset.
                if (env.entryBrush != clNone) {
                  Canvas.Brush()->SetStyle(bsSolid);
                  Canvas.Brush()->SetColor(env.entryBrush);
                  Canvas.FillRect(r);
                }
                Canvas.Draw(r.Left + pic->FrameXPos(), r.Top + pic->FrameYPos(), pic);
              } else {
                Canvas.Draw(r.Left, r.Top, pic);
              }
            }
            break;
          }
          case ItemKind::Control: {
            const THTMLControlTag& ct = it.control;
            const bool themed = ThemedControls();
            const bool small = ct.Type == QLatin1String("CHECK") || ct.Type == QLatin1String("RADIO");
            const TRect hit(box.Left, l.top, box.Left + (small ? 16 : it.w), l.top + (small ? 16 : it.textHeight + 10));
            const bool hot = XPos != -1 && hit.Contains(point);
            const TColor frame = themed ? TColor(0xB99D7F) : TColor(0x808080);
            FontSnap::Of(savedFont).ApplyTo(*Canvas.Font());
            if (ct.Type == QLatin1String("EDIT") || ct.Type == QLatin1String("MASK") ||
                ct.Type == QLatin1String("PASSWORD") || ct.Type == QLatin1String("COMBO")) {
              const TRect fr(box.Left, l.top + 4, box.Left + ct.Width, bottom - 2);
              Canvas.Brush()->SetStyle(bsSolid);
              Canvas.Brush()->SetColor(clWhite);
              Canvas.Pen()->SetStyle(psSolid);
              Canvas.Pen()->SetWidth(1);
              Canvas.Pen()->SetColor(frame);
              Canvas.Rectangle(fr);
              const bool combo = ct.Type == QLatin1String("COMBO");
              QString shown = ct.Type == QLatin1String("PASSWORD") ? QString(ct.Value.size(), u'*') : ct.Value;
              TRect tr(fr.Left + (combo ? 4 : 2), fr.Top + 1, fr.Right - (combo ? 18 : 2), fr.Bottom - 1);
              Canvas.Brush()->SetStyle(bsClear);
              Canvas.DrawText(shown, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
              if (combo) {
                const TRect br(fr.Right - 18, fr.Top + 1, fr.Right - 1, fr.Bottom - 1);
                if (!(themed && DrawThemePart(Canvas, ThemeWindow, "combobox", CP_DROPDOWNBUTTON,
                                              hot ? CBXS_HOT : CBXS_NORMAL, br)))
                  DrawFrameControl(&Canvas, br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
              }
            } else if (small) {
              const bool checked = UpperCase(ct.Value) == QLatin1String("TRUE");
              const bool radio = ct.Type == QLatin1String("RADIO");
              const int size = radio ? 12 : 13;
              const TRect gr(box.Left + 2, l.top + (l.height - size) / 2, box.Left + 2 + size,
                             l.top + (l.height - size) / 2 + size);
              const int part = radio ? BP_RADIOBUTTON : BP_CHECKBOX;
              const int state = radio ? (checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL)
                                      : (checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL);
              if (!(themed && DrawThemePart(Canvas, ThemeWindow, "button", part, state, gr)))
                DrawFrameControl(&Canvas, gr, DFC_BUTTON,
                                 (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | DFCS_FLAT |
                                     (checked ? DFCS_CHECKED : 0u));
            } else if (ct.Type == QLatin1String("BUTTON")) {
              const TRect br(box.Left + 2, l.top, box.Left + 2 + std::max(0, ct.Width - 4),
                             l.top + std::min(ct.Height, l.height));
              const int state = MouseDown && hot ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL;
              if (!(themed && DrawThemePart(Canvas, ThemeWindow, "button", BP_PUSHBUTTON, state, br)))
                DrawFrameControl(&Canvas, br, DFC_BUTTON, DFCS_BUTTONPUSH | (hot && MouseDown ? DFCS_PUSHED : 0u));
              TRect tr = br;
              InflateRect(tr, -2, -2);
              Canvas.Brush()->SetStyle(bsClear);
              Canvas.DrawText(ct.Value, tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
            }
            break;
          }
        }
      }
      if (l.hr) {
        Canvas.Pen()->SetStyle(psSolid);
        Canvas.Pen()->SetWidth(1);
        Canvas.Pen()->SetColor(clBlack);
        Canvas.MoveTo(Rect.Left, bottom + 1);
        Canvas.LineTo(Rect.Right, bottom + 1);
      }
    }
    if (!focusBox.IsEmpty()) {
      InflateRect(focusBox, 1, 0);
      Canvas.DrawFocusRect(focusBox);
    }
  }

  Canvas.Font()->Assign(savedFont);
  Canvas.Pen()->SetColor(savedPenColour);
  Canvas.Pen()->SetWidth(savedPenWidth);
  Canvas.Pen()->SetStyle(savedPenStyle);
  Canvas.Brush()->SetColor(savedBrushColour);
  Canvas.Brush()->SetStyle(savedBrushStyle);
  return result;
}

// ---- companion routines ------------------------------------------------------------------------------------

namespace {

// Drops every tag; an unclosed '<' and what follows it stay as text.
QString StripTags(const QString& s) {
  QString out;
  qsizetype i = 0;
  while (i < s.size()) {
    if (s[i] == u'<') {
      const qsizetype close = s.indexOf(u'>', i);
      if (close < 0) {
        out += s.mid(i);
        break;
      }
      i = close + 1;
    } else {
      out += s[i++];
    }
  }
  return out;
}

}  // namespace

QString HTMLToPlainText(const QString& S) {
  QString s = S;
  s.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
  s.replace(QStringLiteral("<HR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
  return StripTags(s);
}

namespace {

// 0-based raw index of visible character n (0-based); the text's length when n is past the visible end.
qsizetype VisibleToRawIndex(const QString& s, qsizetype n) {
  qsizetype visible = 0, i = 0;
  while (i < s.size()) {
    if (s[i] == u'<') {
      const qsizetype close = s.indexOf(u'>', i);
      if (close >= 0) {
        i = close + 1;
        continue;
      }
    }
    if (visible == n) return i;
    ++visible;
    ++i;
  }
  return s.size();
}

}  // namespace

void HighlightHTMLText(const QString& S, const QString& Search, const QString& Tag, QString& Result,
                       bool CaseSensitive) {
  QString s = S;
  QString visible = StripTags(s);
  QString search = Search;
  if (s.contains(search) && (visible.contains(u'<') || visible.contains(u'>'))) {
    auto escape = [](QString t) { return t.replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;")); };
    visible = escape(visible);
    search = escape(search);
    s = visible;
  }
  Result = s;
  if (search.isEmpty()) return;
  const QString hay = CaseSensitive ? visible : AnsiUpperCase(visible);
  const QString needle = CaseSensitive ? search : AnsiUpperCase(search);
  const QString open = u'<' + Tag + u'>';
  const QString close = QStringLiteral("</") + Tag + u'>';
  qsizetype from = 0;
  while (true) {
    const qsizetype p = hay.indexOf(needle, from);
    if (p < 0) break;
    Result.insert(VisibleToRawIndex(Result, p), open);
    Result.insert(VisibleToRawIndex(Result, p + needle.size()), close);
    from = p + needle.size();
  }
}

void RemoveHTMLTagPair(const QString& S, const QString& Tag, QString& Result) {
  QString s = S;
  const QString upperTag = UpperCase(Tag);
  qsizetype i = 0;
  while ((i = s.indexOf(u'<', i)) >= 0) {
    const qsizetype close = s.indexOf(u'>', i);
    if (close < 0) break;
    bool closing = false;
    const QString name = TagName(s.mid(i + 1, close - i - 1), closing);
    if (name == upperTag)
      s.remove(i, close - i + 1);
    else
      i = close + 1;
  }
  s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  Result = s;
}

QString EntitiesToChars(const QString& S, bool Extended) {
  QString s = S;
  s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
  if (Extended) {
    for (const Entity& e : kEntities)
      s.replace(u'&' + QString::fromLatin1(e.name) + u';', QString(QChar(e.ch)));
  }
  return s;
}

QString CharsToEntities(const QString& S, bool Extended) {
  QString s = S;
  s.replace(u'&', QStringLiteral("*amp;"));
  s.replace(QStringLiteral("*amp;"), QStringLiteral("&amp;"));
  s.replace(u'"', QStringLiteral("&quot;"));
  s.replace(u'<', QStringLiteral("&lt;"));
  s.replace(u'>', QStringLiteral("&gt;"));
  if (Extended) {
    for (const Entity& e : kEntities)
      s.replace(QChar(e.ch), u'&' + QString::fromLatin1(e.name) + u';');
  }
  return s;
}

QString BlanksToNbsp(const QString& S) {
  QString s = S;
  return s.replace(u' ', QStringLiteral("&nbsp;"));
}

void SetHighlightTagColors(TColor BrushColor, TColor FontColor) {
  gHighlightBrush = BrushColor;
  gHighlightFont = FontColor;
}

TColor HTMLColorValue(const QString& Value) {
  const QString v = Value.trimmed();
  if (v.startsWith(u'#')) {
    bool ok = false;
    const uint rgb = v.mid(1, 6).toUInt(&ok, 16);
    if (!ok || v.size() < 7) return clBlack;
    return RGB(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
  }
  if (UpperCase(v).contains(QStringLiteral("CL"))) {
    const QString lower = v.toLower();
    for (const NamedColour& c : kColourNames)
      if (lower == QLatin1String(c.name)) return c.value;
  }
  return clBlack;
}

// ---- control tags ------------------------------------------------------------------------------------------

THTMLControlTag ParseControlTag(const QString& Tag) {
  THTMLControlTag t;
  t.Type = AttrUpper(Tag, "TYPE");
  t.ID = AttrRaw(Tag, "ID");
  t.Value = EntitiesToChars(AttrRaw(Tag, "VALUE"), true);
  t.HasProp = Attribute(Tag, QStringLiteral("PROP"), t.Prop);
  t.Prop = EntitiesToChars(t.Prop, true);
  t.Width = AttrInt(Tag, "WIDTH");
  bool hasHeight = false;
  const int h = AttrInt(Tag, "HEIGHT", &hasHeight);
  t.Height = hasHeight ? h : 25;
  t.MaxLen = AttrInt(Tag, "MAXLEN", &t.HasMaxLen);
  return t;
}

namespace {

// Start (at "<") and end (at ">") of each "<CONTROL " tag.
std::vector<std::pair<qsizetype, qsizetype>> ControlTags(const QString& s) {
  std::vector<std::pair<qsizetype, qsizetype>> tags;
  qsizetype at = 0;
  while ((at = s.indexOf(QStringLiteral("<CONTROL "), at, Qt::CaseInsensitive)) >= 0) {
    const qsizetype close = s.indexOf(u'>', at);
    if (close < 0) break;
    tags.emplace_back(at, close);
    at = close + 1;
  }
  return tags;
}

bool FindControl(const QString& s, const QString& id, std::pair<qsizetype, qsizetype>& where, THTMLControlTag& tag) {
  for (const auto& t : ControlTags(s)) {
    THTMLControlTag parsed = ParseControlTag(s.mid(t.first + 1, t.second - t.first - 1));
    if (parsed.ID == id) {
      where = t;
      tag = parsed;
      return true;
    }
  }
  return false;
}

}  // namespace

bool ContainsControlTags(const QString& S) { return S.contains(QStringLiteral("<CONTROL"), Qt::CaseInsensitive); }

QString NextEditableControlTagID(const QString& S, const QString& AfterID) {
  bool searching = AfterID.isEmpty();
  for (const auto& t : ControlTags(S)) {
    const THTMLControlTag tag = ParseControlTag(S.mid(t.first + 1, t.second - t.first - 1));
    if (!searching) {
      if (tag.ID == AfterID) searching = true;
      continue;
    }
    if (tag.Type != QLatin1String("BUTTON") && tag.Type != QLatin1String("CHECK") && tag.Type != QLatin1String("RADIO"))
      return tag.ID;
  }
  return QString();
}

QString ResetRadioControlTags(const QString& S) {
  QString s = S;
  for (const auto& t : ControlTags(S)) {
    const THTMLControlTag tag = ParseControlTag(S.mid(t.first + 1, t.second - t.first - 1));
    if (tag.Type == QLatin1String("RADIO")) WriteControlTagValue(s, tag.ID, QStringLiteral("FALSE"));
  }
  return s;
}

bool ReadControlTagValue(const QString& S, const QString& ID, QString& Value) {
  std::pair<qsizetype, qsizetype> where;
  THTMLControlTag tag;
  if (!FindControl(S, ID, where, tag)) return false;
  Value = tag.Value;
  return true;
}

void ReadControlTagProp(const QString& S, const QString& ID, QString& Prop) {
  std::pair<qsizetype, qsizetype> where;
  THTMLControlTag tag;
  Prop = FindControl(S, ID, where, tag) ? tag.Prop : QString();
}

int ReadControlTagMaxLen(const QString& S, const QString& ID) {
  std::pair<qsizetype, qsizetype> where;
  THTMLControlTag tag;
  return FindControl(S, ID, where, tag) ? tag.MaxLen : 0;
}

bool WriteControlTagValue(QString& S, const QString& ID, const QString& Value) {
  std::pair<qsizetype, qsizetype> where;
  THTMLControlTag tag;
  if (!FindControl(S, ID, where, tag)) return false;
  auto quoted = [](const QString& v) { return u'"' + v + u'"'; };
  QString inside = QStringLiteral("CONTROL ID=") + quoted(tag.ID) + QStringLiteral(" VALUE=") +
                   quoted(CharsToEntities(Value, true)) + QStringLiteral(" WIDTH=") + quoted(QString::number(tag.Width)) +
                   QStringLiteral(" TYPE=") + quoted(tag.Type);
  if (tag.HasProp) inside += QStringLiteral(" PROP=") + quoted(CharsToEntities(tag.Prop, true));
  if (tag.HasMaxLen) inside += QStringLiteral(" MAXLEN=") + quoted(QString::number(tag.MaxLen));
  S.replace(where.first + 1, where.second - where.first - 1, inside);
  return true;
}

// ---- links -------------------------------------------------------------------------------------------------

std::function<bool(const QUrl&)>& HTMLLinkOpener() {
  static std::function<bool(const QUrl&)> opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return opener;
}

bool OpenHTMLLink(const QString& Href) {
  const QUrl url(Href.trimmed(), QUrl::StrictMode);
  if (!url.isValid()) return false;
  const QString scheme = url.scheme().toLower();
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https") && scheme != QLatin1String("mailto"))
    return false;
  if (scheme == QLatin1String("mailto") ? url.path().isEmpty() : url.host().isEmpty()) return false;
  return HTMLLinkOpener() ? HTMLLinkOpener()(url) : false;
}

}  // namespace controls
