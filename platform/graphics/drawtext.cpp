#include "platform/graphics/drawtext.h"

#include "platform/graphics/canvas.h"

namespace plat {

QString StripPrefixes(const QString& text, int* underline) {
  QString out;
  out.reserve(text.size());
  int u = -1;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
        continue;
      }
      if (i + 1 < text.size()) u = int(out.size());
      continue;
    }
    out += text[i];
  }
  if (underline) *underline = u;
  return out;
}

int DrawTextOnCanvas(TCanvas& canvas, const QString& text, TRect& r, unsigned flags, DRAWTEXTPARAMS*) {
  QString t = (flags & DT_NOPREFIX) ? text : StripPrefixes(text);
  TSize ext = canvas.TextExtent(t);
  if (flags & DT_CALCRECT) {
    r.Right = r.Left + ext.cx;
    r.Bottom = r.Top + ext.cy;
    return ext.cy;
  }
  canvas.TextRect(r, r.Left, r.Top, t);
  return ext.cy;
}

}  // namespace plat
