#include "grid/view/rich_cell.h"

#include <algorithm>
#include <cmath>

#include "grid/view/html_cell.h"

namespace grid {

using plat::TRect;

namespace {

// One group level of the reader: the character formatting and whether its text is shown.
struct TRichState {
  TRichRun Format;
  bool Skip = false;
  bool ColorTable = false;
};

class TRichReader {
 public:
  explicit TRichReader(const QString& S) : s(S) {}

  std::vector<TRichRun> Read() {
    stack.push_back({});
    while (i < s.size() && !stack.empty()) {
      const QChar c = s[i];
      if (c == u'{') {
        stack.push_back(stack.back());
        ++i;
        if (s.mid(i, 2) == QStringLiteral("\\*")) stack.back().Skip = true;
      } else if (c == u'}') {
        stack.pop_back();
        ++i;
      } else if (c == u'\\') {
        ControlWord();
      } else if (c == u'\r' || c == u'\n') {
        ++i;
      } else {
        Text(QString(c));
        ++i;
      }
    }
    return runs;
  }

 private:
  void ControlWord() {
    ++i;
    if (i >= s.size()) return;
    const QChar c = s[i];
    if (!c.isLetter()) {
      ++i;
      if (c == u'\'' && i + 1 < s.size()) {
        bool ok = false;
        const int code = s.mid(i, 2).toInt(&ok, 16);
        i += 2;
        if (ok) Text(QString(QChar(code)));
      } else if (c == u'\\' || c == u'{' || c == u'}') {
        Text(QString(c));
      } else if (c == u'~') {
        Text(QStringLiteral(" "));
      }
      return;
    }
    const qsizetype start = i;
    while (i < s.size() && s[i].isLetter()) ++i;
    const QString word = s.mid(start, i - start);
    const qsizetype num = i;
    if (i < s.size() && s[i] == u'-') ++i;
    while (i < s.size() && s[i].isDigit()) ++i;
    bool has = i > num;
    const int value = has ? s.mid(num, i - num).toInt() : 1;
    if (i < s.size() && s[i] == u' ') ++i;
    Apply(word, value, has);
  }

  void Apply(const QString& w, int v, bool has) {
    TRichState& st = stack.back();
    TRichRun& f = st.Format;
    if (w == u"fonttbl" || w == u"stylesheet" || w == u"info" || w == u"pict" || w == u"header" ||
        w == u"footer") {
      st.Skip = true;
    } else if (w == u"colortbl") {
      st.Skip = st.ColorTable = true;
      colors.push_back(plat::clNone);
    } else if (st.ColorTable && (w == u"red" || w == u"green" || w == u"blue")) {
      const int shift = w == u"red" ? 0 : w == u"green" ? 8 : 16;
      plat::TColor& c = colors.back();
      c = plat::TColor(((c == plat::clNone ? 0 : int(c)) & ~(0xFF << shift)) | ((v & 0xFF) << shift));
    } else if (w == u"b") {
      f.Bold = v != 0;
    } else if (w == u"i") {
      f.Italic = v != 0;
    } else if (w == u"ul") {
      f.Underline = v != 0;
    } else if (w == u"ulnone") {
      f.Underline = false;
    } else if (w == u"strike") {
      f.StrikeOut = v != 0;
    } else if (w == u"fs") {
      f.Size = has ? v / 2 : 0;
    } else if (w == u"cf") {
      f.Color = v > 0 && v < int(colors.size()) ? colors[v] : plat::clNone;
    } else if (w == u"plain") {
      f = TRichRun{};
    } else if (w == u"par" || w == u"line") {
      Text(QStringLiteral("\n"));
    } else if (w == u"tab") {
      Text(QStringLiteral("\t"));
    } else if (w == u"u" && has) {
      Text(QString(QChar(char16_t(v < 0 ? v + 65536 : v))));
      if (i < s.size() && s[i] != u'\\' && s[i] != u'{' && s[i] != u'}') ++i;  // the stand-in character
    }
  }

  void Text(const QString& t) {
    TRichState& st = stack.back();
    if (st.ColorTable && t == u";") {
      colors.push_back(plat::clNone);
      return;
    }
    if (st.Skip) return;
    const TRichRun& f = st.Format;
    if (!runs.empty()) {
      TRichRun& last = runs.back();
      if (last.Bold == f.Bold && last.Italic == f.Italic && last.Underline == f.Underline &&
          last.StrikeOut == f.StrikeOut && last.Color == f.Color && last.Size == f.Size) {
        last.Text += t;
        return;
      }
    }
    TRichRun run = f;
    run.Text = t;
    runs.push_back(run);
  }

  const QString& s;
  qsizetype i = 0;
  std::vector<TRichState> stack;
  std::vector<plat::TColor> colors;
  std::vector<TRichRun> runs;
};

QString HexColor(plat::TColor C) {
  const int rgb = int(plat::ColorToRGB(C));
  return QStringLiteral("#%1%2%3")
      .arg(rgb & 0xFF, 2, 16, QChar(u'0'))
      .arg((rgb >> 8) & 0xFF, 2, 16, QChar(u'0'))
      .arg((rgb >> 16) & 0xFF, 2, 16, QChar(u'0'));
}

QString Escaped(QString t) {
  t.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
  return t.replace(u'\n', QStringLiteral("<BR>"));
}

}  // namespace

std::vector<TRichRun> ReadRichText(const QString& Rtf) { return TRichReader(Rtf).Read(); }

QString RichTextToPlain(const QString& Rtf) {
  QString out;
  for (const TRichRun& r : ReadRichText(Rtf)) out += r.Text;
  return out.trimmed();
}

QString RichTextToHTML(const QString& Rtf, plat::TColor ForceColor) {
  QString out;
  for (const TRichRun& r : ReadRichText(Rtf)) {
    QString t = Escaped(r.Text);
    if (r.Bold) t = QStringLiteral("<B>") + t + QStringLiteral("</B>");
    if (r.Italic) t = QStringLiteral("<I>") + t + QStringLiteral("</I>");
    if (r.Underline) t = QStringLiteral("<U>") + t + QStringLiteral("</U>");
    if (r.StrikeOut) t = QStringLiteral("<S>") + t + QStringLiteral("</S>");
    const plat::TColor color = ForceColor != plat::clNone ? ForceColor : r.Color;
    QString attrs;
    if (color != plat::clNone) attrs += QStringLiteral(" color=\"%1\"").arg(HexColor(color));
    if (r.Size > 5) attrs += QStringLiteral(" size=\"%1\"").arg(r.Size);
    if (!attrs.isEmpty()) t = QStringLiteral("<FONT") + attrs + QStringLiteral(">") + t + QStringLiteral("</FONT>");
    out += t;
  }
  return out;
}

TRect RichPageTwips(TRect R, int OffsetX, int DpiX, int DpiY) {
  const double offset = double(OffsetX) * DpiX / 96.0;
  const auto twips = [](double pixels, int dpi) { return int(std::lround(pixels / dpi * 1440.0)); };
  const int left = twips(R.Left + offset, DpiX);
  const int top = twips(R.Top + offset, DpiY);
  // A cell narrower than its offsets gets an empty page, not a reversed one.
  return TRect(left, top, left + twips(std::max(0.0, R.Width() - 2 * offset), DpiX),
               top + twips(std::max(0.0, R.Height() - 2 * offset), DpiY));
}

TRect TwipsToPixels(TRect Twips, int DpiX, int DpiY) {
  const auto px = [](int twips, int dpi) { return int(std::lround(double(twips) * dpi / 1440.0)); };
  return TRect(px(Twips.Left, DpiX), px(Twips.Top, DpiY), px(Twips.Right, DpiX), px(Twips.Bottom, DpiY));
}

int DrawRichCellText(plat::TCanvas& C, const QString& Rtf, TRect R, int OffsetX, plat::TColor ForceColor,
                     bool WordWrap) {
  const int dpiX = C.Font()->PixelsPerInch() > 0 ? C.Font()->PixelsPerInch() : 96;
  const TRect page = TwipsToPixels(RichPageTwips(R, OffsetX, dpiX, dpiX), dpiX, dpiX);
  THTMLCell html;
  html.Text = RichTextToHTML(Rtf, ForceColor);
  html.Rect = page;
  html.WordWrap = WordWrap;
  html.Render(C);
  return html.Width;
}

}  // namespace grid
