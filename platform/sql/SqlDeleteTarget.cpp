#include "platform/sql/SqlFromTarget.h"
#include "platform/sqlite/SqlText.h"

// SQLite's DELETE has no FROM of its own: the rows go by a subquery over
// the statement's FROM and WHERE, which keep their names and their scope.
void PlaceDeleteTarget(SqlNodes& nodes, size_t target, size_t from, const SqlObjects& objects) {
  const SqlChain targetChain = ReadChain(nodes, target);
  size_t end = from + 1;
  while (end < nodes.size() && !nodes[end].IsWord(u"OPTION")) ++end;
  size_t where = from + 1;
  while (where < end && !nodes[where].IsWord(u"WHERE")) ++where;
  const std::vector<FromItem> items = FromItemsOf(nodes, from, where);
  const std::optional<size_t> bound = BoundItem(targetChain, items, objects);
  // Not in the FROM, the target is joined to every row of it, as SQL Server joins it.
  QString rows = QStringLiteral(" WHERE EXISTS (SELECT 1 ");
  SqlNodes table;
  if (bound) {
    const FromItem& item = items[*bound];
    const RowIdentity identity = RowIdentity::Of(item, objects);
    const QString instance = SqlText::Quoted(item.ExposedName());
    QStringList selected;
    for (const QString& column : identity.key) selected << instance + u'.' + column;
    if (identity.IsRowId()) selected << instance + u'.' + kRowIdColumn;
    const QString compared = identity.IsRowId() ? identity.rowId : u'(' + identity.key.join(u", ") + u')';
    rows = u" WHERE "_qs + compared + u" IN (SELECT "_qs + selected.join(u", ") + u' ';
    table = item.TableNodes(nodes);
    if (identity.IsRowId()) {
      const size_t removed = ShowRowId(nodes, item, identity, objects);
      if (item.path.empty()) end -= removed;
    }
  }
  nodes.insert(nodes.begin() + qsizetype(end), SqlNode::Clause(QStringLiteral(") ")));
  nodes.insert(nodes.begin() + qsizetype(from), SqlNode::Clause(rows));
  // An alias as the target stands for its table.
  if (!bound) return;
  nodes.erase(nodes.begin() + qsizetype(target), nodes.begin() + qsizetype(targetChain.end));
  nodes.insert(nodes.begin() + qsizetype(target), table.begin(), table.end());
}
