#include "grid/data/find_data_host.h"

#include <algorithm>

namespace grid {

namespace {

// The text without its tags: a "<" with a ">" after it starts a tag; the rest stays.
QString StripTags(const QString& S, std::vector<qsizetype>* VisibleToRaw = nullptr) {
  QString out;
  out.reserve(S.size());
  qsizetype i = 0;
  while (i < S.size()) {
    if (S[i] == u'<') {
      const qsizetype close = S.indexOf(u'>', i);
      if (close >= 0) {
        i = close + 1;
        continue;
      }
    }
    if (VisibleToRaw) VisibleToRaw->push_back(i);
    out += S[i++];
  }
  return out;
}

}  // namespace

bool TDataGridFindHost::IsIgnoredColumn(int ACol) const {
  return std::find(IgnoredColumns.begin(), IgnoredColumns.end(), ACol) != IgnoredColumns.end();
}

QString TDataGridFindHost::FindText(int RCol, int ARow, bool RealRow) {
  (void)RealRow;  // a window-free grid hides no rows
  return G.Cells(RCol, ARow);
}

void TDataGridFindHost::WriteText(int RCol, int ARow, const QString& Value, bool RealRow) {
  (void)RealRow;
  G.SetCells(RCol, ARow, Value);
}

QString TDataGridFindHost::HTMLToPlainText(const QString& S) {
  QString s = S;
  s.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
  s.replace(QStringLiteral("<HR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
  return StripTags(s);
}

bool TDataGridFindHost::MatchFilter(const QString& Expression, const QString& Value, bool CaseSensitive) {
  return PatternMatch && PatternMatch(Expression, Value, CaseSensitive);
}

QString TDataGridFindHost::HighlightText(const QString& S, const QString& Search, const QString& Tag,
                                         bool CaseSensitive) {
  if (Search.isEmpty()) return S;
  std::vector<qsizetype> raw;
  const QString visible = StripTags(S, &raw);
  raw.push_back(S.size());
  const Qt::CaseSensitivity cs = CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  QString out = S;
  qsizetype shift = 0, from = 0, p;
  const QString open = u'<' + Tag + u'>', close = QStringLiteral("</") + Tag + u'>';
  while ((p = visible.indexOf(Search, from, cs)) >= 0) {
    out.insert(raw[static_cast<std::size_t>(p)] + shift, open);
    shift += open.size();
    out.insert(raw[static_cast<std::size_t>(p + Search.size() - 1)] + 1 + shift, close);
    shift += close.size();
    from = p + Search.size();
  }
  return out;
}

QString TDataGridFindHost::RemoveTagPair(const QString& S, const QString& Tag) {
  QString s = S;
  s.remove(u'<' + Tag + u'>', Qt::CaseInsensitive);
  s.remove(QStringLiteral("</") + Tag + u'>', Qt::CaseInsensitive);
  s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  return s;
}

QString TDataGridFindHost::EntitiesToChars(const QString& S) {
  QString s = S;
  s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
  s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  return s;
}

QString TDataGridFindHost::CharsToEntities(const QString& S) {
  QString s = S;
  s.replace(u'&', QStringLiteral("&amp;"));
  s.replace(u'"', QStringLiteral("&quot;"));
  s.replace(u'<', QStringLiteral("&lt;"));
  s.replace(u'>', QStringLiteral("&gt;"));
  return s;
}

void TDataGridFindHost::GotoFound(int ACol, int ARow, const TFindParams& Params) {
  (void)Params;
  CurCol = ACol, CurRow = ARow;
}

void TDataGridFindHost::ExportNotification(TGridExportState AState, int ARow) {
  if (OnNotify) OnNotify(AState, ARow);
}

}  // namespace grid
