#include "platform/sql/SqlError.h"
#include "platform/sql/SqlFromTarget.h"
#include "platform/sqlite/SqlText.h"

#include <iterator>

namespace {

// Not in the FROM, the target is joined to every row of it, as SQL Server
// joins it: it becomes the FROM's first item, so the engine joins it by its
// indexes (a chain of joins after it is grouped on its own, GroupJoinChains).
// Returns how many nodes the FROM gained.
size_t JoinTarget(SqlNodes& nodes, const SqlChain& target, size_t from) {
  SqlNodes joined{SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Whitespace, u" "}, {}, {}}};
  joined.insert(joined.end(), nodes.begin() + qsizetype(target.begin), nodes.begin() + qsizetype(target.end));
  joined.push_back(SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Comma, u","}, {}, {}});
  nodes.insert(nodes.begin() + qsizetype(from) + 1, joined.begin(), joined.end());
  return joined.size();
}

}  // namespace

// SQLite's DELETE has no FROM of its own: the rows go by a subquery over
// the statement's FROM and WHERE, which keep their names and their scope.
void PlaceDeleteTarget(SqlNodes& nodes, size_t target, size_t from, const SqlObjects& objects, const SqlNodes& limit) {
  const SqlChain targetChain = ReadChain(nodes, target);
  size_t end = from + 1;
  while (end < nodes.size() && !nodes[end].IsWord(u"OPTION")) ++end;
  size_t where = from + 1;
  while (where < end && !nodes[where].IsWord(u"WHERE")) ++where;
  std::vector<FromItem> items = FromItemsOf(nodes, from, where);
  std::optional<size_t> bound = BoundItem(targetChain, items, objects);
  if (!bound) {
    const size_t joined = JoinTarget(nodes, targetChain, from);
    where += joined;
    end += joined;
    items = FromItemsOf(nodes, from, where);
    bound = BoundItem(targetChain, items, objects);
    if (!bound) throw SqlError(QStringLiteral("Invalid object name '%1'.").arg(targetChain.written.join(u'.')));
  }
  const FromItem& item = items[*bound];
  const RowIdentity identity = RowIdentity::Of(item, objects);
  const QString instance = SqlText::Quoted(item.ExposedName());
  QStringList selected;
  for (const QString& column : identity.key) selected << instance + u'.' + column;
  if (identity.IsRowId()) selected << instance + u'.' + kRowIdColumn;
  const QString compared = identity.IsRowId() ? identity.rowId : u'(' + identity.key.join(u", ") + u')';
  const SqlNodes table = item.TableNodes(nodes);
  if (identity.IsRowId()) {
    const size_t removed = ShowRowId(nodes, item, identity, objects);
    if (item.path.empty()) {
      end -= removed;
      where -= removed;
    }
  }
  // DELETE TOP (n): n of the target's rows the FROM brings, each counted
  // once however many rows of the join bring it, and none for a row an
  // outer join brings without one of the target's.
  if (!limit.empty()) {
    const QString present = selected.first() + u" IS NOT NULL"_qs;
    if (where < end) {
      SqlNodes condition(std::make_move_iterator(nodes.begin() + qsizetype(where) + 1),
                         std::make_move_iterator(nodes.begin() + qsizetype(end)));
      nodes.erase(nodes.begin() + qsizetype(where) + 1, nodes.begin() + qsizetype(end));
      nodes.insert(nodes.begin() + qsizetype(where) + 1,
                   {SqlNode::Rewritten(u" "_qs), SqlNode::Parenthesised(std::move(condition)),
                    SqlNode::Clause(u" AND "_qs + present)});
      end = where + 4;
    } else {
      nodes.insert(nodes.begin() + qsizetype(end), SqlNode::Clause(u" WHERE "_qs + present));
      ++end;
    }
  }
  nodes.insert(nodes.begin() + qsizetype(end), SqlNode::Clause(QStringLiteral(") ")));
  nodes.insert(nodes.begin() + qsizetype(end), limit.begin(), limit.end());
  const QString distinct = limit.empty() ? QString() : u"DISTINCT "_qs;
  nodes.insert(nodes.begin() + qsizetype(from), SqlNode::Clause(u" WHERE "_qs + compared + u" IN (SELECT "_qs + distinct +
                                                                selected.join(u", ") + u' '));
  // An alias as the target stands for its table.
  nodes.erase(nodes.begin() + qsizetype(target), nodes.begin() + qsizetype(targetChain.end));
  nodes.insert(nodes.begin() + qsizetype(target), table.begin(), table.end());
}
