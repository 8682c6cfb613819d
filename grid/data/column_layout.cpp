#include "grid/data/column_layout.h"

#include <QStringList>

#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

int StrictInt(const QString& S) {
  bool ok = false;
  const int v = S.trimmed().toInt(&ok);
  if (!ok) throw plat::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
  return v;
}

std::vector<int> IntList(const QString& S) {
  std::vector<int> out;
  if (S.isEmpty()) return out;
  for (const QString& item : S.split(u',')) out.push_back(StrictInt(item));
  return out;
}

QString JoinInts(const std::vector<int>& V) {
  QStringList parts;
  for (int v : V) parts << QString::number(v);
  return parts.join(u',');
}

std::vector<int> WithoutUnset(const std::vector<int>& V) {
  std::vector<int> out;
  for (int v : V)
    if (v != -1) out.push_back(v);
  return out;
}

// The order list becomes Order: the columns are moved into it with hidden ones shown for the moves, then
// the list records the order again.
void ApplyOrder(TLayoutHost& Host, const std::vector<int>& Order) {
  Host.SetColumnOrderList(InverseOrder(Order, static_cast<int>(Order.size())));
  if (!Order.empty()) Host.ResetColumnOrder();
  Host.SetColumnOrderList(Order);
}

}  // namespace

std::vector<int> InverseOrder(const std::vector<int>& Order, int Count) {
  std::vector<int> inv(static_cast<std::size_t>(std::max(Count, 0)), -1);
  for (std::size_t i = 0; i < Order.size(); ++i)
    if (Order[i] >= 0 && Order[i] < Count) inv[static_cast<std::size_t>(Order[i])] = static_cast<int>(i);
  return inv;
}

bool IsColumnPermutation(const std::vector<int>& Order, int Count) {
  if (static_cast<int>(Order.size()) != Count) return false;
  std::vector<bool> seen(static_cast<std::size_t>(Count), false);
  for (int v : Order) {
    if (v < 0 || v >= Count || seen[static_cast<std::size_t>(v)]) return false;
    seen[static_cast<std::size_t>(v)] = true;
  }
  return true;
}

TColumnStates ReadColumnStates(TLayoutHost& Host) {
  TColumnStates s;
  s.Count = Host.AllColCount();
  const int shown = Host.ColCount();
  for (int c = 0; c < s.Count; ++c) s.Widths.push_back(c < shown ? Host.ColWidth(c) : Host.DefaultColWidth());
  s.Order = Host.ColumnOrder();
  if (s.Order.empty())
    for (int c = 0; c < s.Count; ++c) s.Order.push_back(c);
  for (int c = 0; c < s.Count; ++c) s.Visible.push_back(!Host.IsHiddenColumn(c));
  return s;
}

QString ColumnStatesText(const TColumnStates& States) {
  QStringList vis;
  for (bool v : States.Visible) vis << (v ? QStringLiteral("1") : QStringLiteral("0"));
  return QString::number(States.Count) + u'#' + JoinInts(States.Widths) + u'#' + JoinInts(States.Order) + u'#' +
         vis.join(u',');
}

TColumnStates ParseColumnStates(const QString& Value) {
  const QStringList parts = Value.split(u'#');
  TColumnStates s;
  s.Count = StrictInt(parts.value(0));
  if (s.Count < 0) throw plat::EConvertError(QStringLiteral("Invalid column count %1").arg(s.Count));
  s.Widths = IntList(parts.value(1));
  s.Order = IntList(parts.value(2));
  if (!s.Order.empty()) {
    std::vector<int> order = WithoutUnset(s.Order);
    if (static_cast<int>(order.size()) > s.Count) order.resize(static_cast<std::size_t>(s.Count));
    if (!IsColumnPermutation(order, s.Count))
      throw plat::EConvertError(QStringLiteral("Column order is not an order of the %1 columns").arg(s.Count));
    s.Order = order;
  }
  for (const QString& v : parts.value(3).split(u',', Qt::SkipEmptyParts)) {
    if (v != QStringLiteral("0") && v != QStringLiteral("1"))
      throw plat::EConvertError(QStringLiteral("'%1' is not a column state").arg(v));
    s.Visible.push_back(v == QStringLiteral("1"));
  }
  return s;
}

void ApplyColumnStates(TLayoutHost& Host, const QString& Value) {
  if (!Value.contains(u'#')) return;
  const TColumnStates s = ParseColumnStates(Value);
  Host.SetColumnOrderList({});
  Host.UnHideColumnsAll();
  Host.SetColCount(s.Count);
  if (!s.Order.empty()) ApplyOrder(Host, s.Order);
  for (int c = Host.ColCount() - 1; c >= 0; --c)
    if (c < static_cast<int>(s.Visible.size()) && !s.Visible[static_cast<std::size_t>(c)]) Host.HideColumn(c);
  const bool stretch = Host.Stretch();
  Host.SetStretch(false);
  if (stretch) {
    const int sc = Host.StretchColumn() < 0 ? Host.ColCount() - 1 : Host.StretchColumn();
    if (sc >= 0 && sc < Host.ColCount()) Host.SetDefaultColWidth(Host.ColWidth(sc));
  }
  for (int c = 0; c < Host.ColCount() && c < static_cast<int>(s.Widths.size()); ++c)
    Host.SetColWidth(c, s.Widths[static_cast<std::size_t>(c)]);
  Host.SetStretch(stretch);
}

void SaveColSizes(TLayoutHost& Host, TSettingsStore& Store, const QString& Section) {
  for (int c = 0; c < Host.ColCount(); ++c) Store.WriteInteger(Section, QStringLiteral("Col%1").arg(c), Host.ColWidth(c));
  Store.Flush();
}

void LoadColSizes(TLayoutHost& Host, const TSettingsStore& Store, const QString& Section) {
  for (int c = 0; c < Host.ColCount(); ++c) {
    const int w = Store.ReadInteger(Section, QStringLiteral("Col%1").arg(c), Host.ColWidth(c));
    if (w != Host.ColWidth(c)) Host.SetColWidth(c, w);
  }
}

void SaveColPositions(TLayoutHost& Host, TSettingsStore& Store, const QString& Section) {
  const std::vector<int> order = Host.ColumnOrder();
  for (std::size_t i = 0; i < order.size(); ++i)
    Store.WriteInteger(Section, QStringLiteral("Pos%1").arg(i), order[i]);
  Store.Flush();
}

void LoadColPositions(TLayoutHost& Host, const TSettingsStore& Store, const QString& Section) {
  if (Store.ReadInteger(Section, QStringLiteral("Pos0"), -1) == -1) return;
  std::vector<int> order;
  const int all = Host.AllColCount();
  for (int i = 0; i < all; ++i) {
    const int v = Store.ReadInteger(Section, QStringLiteral("Pos%1").arg(i), -1);
    if (v != -1) order.push_back(v);
  }
  // Stored for another set of columns: applying it would lose or double columns.
  if (!IsColumnPermutation(order, all)) return;
  std::vector<int> hidden;
  for (int c = 0; c < all; ++c)
    if (Host.IsHiddenColumn(c)) hidden.push_back(c);
  Host.UnHideColumnsAll();
  ApplyOrder(Host, order);
  for (int c : hidden) Host.HideColumn(c);
}

}  // namespace grid
