#include "grid/data/sort_text.h"

#include <QStringList>

#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

bool ColumnExists(int Col, int ColumnCount) { return Col >= 0 && Col < ColumnCount; }

}  // namespace

QString SortStateToString(const TSortState& State) {
  if (State.IndexShow) {
    QString s = QStringLiteral("i;");
    for (std::size_t i = 0; i < State.Keys.size(); ++i) {
      if (i > 0) s += u';';
      s += (State.Keys[i] & 0x80000000u) ? u'd' : u'u';
      s += QString::number(State.Keys[i] & 0xFFFFu);
    }
    return s;
  }
  return (State.Descending ? QStringLiteral("d") : QStringLiteral("u")) + QString::number(State.Column);
}

TSortTextRequest ParseSortText(const QString& Value, int ColumnCount) {
  TSortTextRequest req;
  if (Value.isEmpty()) return req;
  if (Value.size() < 2) throw plat::Exception(QStringLiteral("Invalid sort settings specifier"));
  if (Value.contains(QStringLiteral("i;"))) {
    req.Kind = stkIndexed;
    const QStringList pieces = Value.mid(2).split(u';');
    for (const QString& piece : pieces) {
      if (piece.size() < 2) continue;
      bool ok = false;
      const int col = piece.mid(1).toInt(&ok);
      if (!ok) continue;
      // A key the grid cannot sort by would leave the grid half sorted by the others: refuse the text.
      if (!ColumnExists(col, ColumnCount)) return TSortTextRequest{stkIgnored, -1, false, false, {}};
      req.Keys.push_back(static_cast<std::uint32_t>(col) | (piece[0] == u'u' ? 0u : 0x80000000u));
    }
    return req;
  }
  bool ok = false;
  const int col = Value.mid(1).toInt(&ok);
  if (ok && col != -1 && !ColumnExists(col, ColumnCount)) return TSortTextRequest{stkIgnored, -1, false, false, {}};
  req.Kind = stkColumn;
  req.HasColumn = ok;
  req.Column = ok ? col : -1;
  req.Descending = !Value.contains(u'u');
  return req;
}

}  // namespace grid
