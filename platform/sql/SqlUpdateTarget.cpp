#include "platform/sql/SqlError.h"
#include "platform/sql/SqlFromTarget.h"
#include "platform/sqlite/SqlText.h"

#include <algorithm>

namespace {

bool HasColumn(const QList<SqlColumn>& columns, const QString& name) {
  for (const SqlColumn& column : columns)
    if (column.name.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

// SQLite sees both the target and its instance in FROM, so a bare column
// of theirs would be ambiguous to it: it is named by the instance. One that
// another table of the FROM has too is ambiguous to SQL Server as well.
class BareColumns {
 public:
  BareColumns(const SqlObjects& objects, const std::vector<FromItem>& items, size_t target, SqlNode qualifier)
      : objects_(objects), items_(items), target_(target), qualifier_(std::move(qualifier)) {}

  void Qualify(SqlNodes& nodes, size_t from, TablePositions positions = {}) {
    size_t skipTo = 0;
    bool assignments = false;  // a SET list, whose columns are the target's as written
    for (size_t i = from; i < nodes.size(); ++i) {
      SqlNode& node = nodes[i];
      if (!node.IsSignificant()) continue;
      const size_t previous = PreviousSignificant(nodes, i);
      const bool table = positions.Next(node);
      if (node.IsWord(u"SET") || node.IsWord(u"FROM")) assignments = node.IsWord(u"SET");
      if (node.IsGroup() && IsSubquery(node)) {
        QualifyCorrelated(node.children);
        continue;
      }
      if (node.IsGroup() || node.kind == SqlNode::Kind::Case) {
        Qualify(node.children, 0, TablePositions::Inside(node, table));
        continue;
      }
      if (table && IsNameNode(node)) skipTo = FromItemAt(nodes, i).end;
      if (i < skipTo || !IsNameNode(node) || (previous != size_t(-1) && nodes[previous].Is(SqlTokenKind::Dot)))
        continue;
      if (assignments && previous != size_t(-1) && (nodes[previous].IsWord(u"SET") || nodes[previous].Is(SqlTokenKind::Comma)))
        continue;
      const size_t next = NextSignificant(nodes, i + 1);
      if (next < nodes.size() && (nodes[next].IsGroup() || nodes[next].Is(SqlTokenKind::Dot))) continue;
      // A subquery's select list names its columns after them.
      if (subqueries_ > 0 && previous != size_t(-1) && !nodes[previous].Is(SqlTokenKind::Symbol) &&
          !nodes[previous].Is(SqlTokenKind::Comma) && (nodes[previous].IsWord(u"AS") || !IsKeyword(nodes[previous])))
        continue;
      const QString name = node.token.Value();
      if (std::any_of(inner_.begin(), inner_.end(),
                      [&](const SqlChain& table) { return HasColumn(objects_.ColumnsOf(table), name); }))
        continue;
      if (!HasColumn(objects_.ColumnsOf(items_[target_].chain), name)) continue;
      for (size_t k = 0; k < items_.size(); ++k)
        if (k != target_ && HasColumn(objects_.ColumnsOf(items_[k].chain), name))
          throw SqlError(QStringLiteral("Ambiguous column name '%1'.").arg(name));
      nodes.insert(nodes.begin() + qsizetype(i), {qualifier_, SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Dot, u"."}, {}, {}}});
      i += 2;
    }
  }

 private:
  // A subquery names its own tables' columns first; a bare column of the
  // target that none of them has is the target's, as SQL Server binds it.
  // One over a table whose columns are not known is left as written.
  void QualifyCorrelated(SqlNodes& children) {
    TablePositions positions;
    for (const SqlNode& node : children)
      if (node.IsSignificant() && positions.Next(node) && IsSubquery(node)) return;
    size_t from = 0;
    while (from < children.size() && !children[from].IsWord(u"FROM")) ++from;
    const size_t outer = inner_.size();
    for (const FromItem& item : FromItemsOf(children, from, children.size())) {
      if (objects_.ColumnsOf(item.chain).isEmpty()) {
        inner_.resize(outer);
        return;
      }
      inner_.push_back(item.chain);
    }
    ++subqueries_;
    Qualify(children, 0);
    --subqueries_;
    inner_.resize(outer);
  }

  const SqlObjects& objects_;
  const std::vector<FromItem>& items_;
  size_t target_;
  SqlNode qualifier_;
  std::vector<SqlChain> inner_;  // the tables of the subqueries being read
  int subqueries_ = 0;
};

// The name the target goes by, so that every name of the statement's own
// (the instance's table name among them) keeps meaning what it meant: one
// the statement does not hold anywhere.
QString TargetAlias(const SqlNodes& nodes) {
  const QString text = RenderSql(nodes);
  QString alias = u"zem_target"_qs;
  for (int n = 1; text.contains(alias, Qt::CaseInsensitive); ++n) alias = u"zem_target"_qs + QString::number(n);
  return alias;
}

bool EndsFrom(const SqlNode& node) { return node.IsWord(u"WHERE") || node.IsWord(u"OPTION"); }

// SET T.column = ...: SQLite names a SET column alone. The columns so
// qualified, whose qualifier must name the target, are given back.
std::vector<SqlChain> UnqualifyAssignedColumns(SqlNodes& nodes, size_t afterTarget) {
  const size_t set = NextSignificant(nodes, afterTarget);
  if (set >= nodes.size() || !nodes[set].IsWord(u"SET")) return {};
  size_t end = set + 1;
  while (end < nodes.size() && !nodes[end].IsWord(u"FROM") && !EndsFrom(nodes[end])) ++end;
  std::vector<SqlChain> qualified;
  for (size_t item = end; item-- > set;) {
    if (!nodes[item].token.IsSymbol(u"=")) continue;
    const std::optional<SqlChain> column = ChainEndingAt(nodes, PreviousSignificant(nodes, item));
    const size_t before = column ? PreviousSignificant(nodes, column->begin) : set;
    if (!column || column->names.size() < 2 || !(before == set || nodes[before].Is(SqlTokenKind::Comma))) continue;
    qualified.push_back(*column);
    nodes.erase(nodes.begin() + qsizetype(column->begin), nodes.begin() + qsizetype(column->end) - 1);
  }
  return qualified;
}

void CheckQualifiers(const std::vector<SqlChain>& columns, const SqlChain& target, const QString& instance) {
  for (const SqlChain& column : columns) {
    const QString& name = column.names[column.names.size() - 2];
    if (name.compare(target.names.last(), Qt::CaseInsensitive) != 0 &&
        name.compare(instance, Qt::CaseInsensitive) != 0)
      throw SqlError(QStringLiteral("The multi-part identifier \"%1\" could not be bound.")
                         .arg(column.written.join(u'.')));
  }
}

}  // namespace

void PlaceUpdateTarget(SqlNodes& nodes, size_t head, SqlObjects& objects) {
  const size_t target = NextSignificant(nodes, head + 1);
  if (target < nodes.size() && nodes[target].IsWord(u"TOP")) Unsupported(QStringLiteral("UPDATE TOP"));
  if (target >= nodes.size() || !IsNameNode(nodes[target])) return;
  const SqlChain targetChain = ReadChain(nodes, target);
  const std::vector<SqlChain> qualified = UnqualifyAssignedColumns(nodes, targetChain.end);
  size_t from = targetChain.end;
  while (from < nodes.size() && !nodes[from].IsWord(u"FROM")) ++from;
  size_t end = from + 1;
  while (end < nodes.size() && !EndsFrom(nodes[end])) ++end;
  const std::vector<FromItem> items = from < nodes.size() ? FromItemsOf(nodes, from, end) : std::vector<FromItem>();
  const std::optional<size_t> bound = BoundItem(targetChain, items, objects);
  CheckQualifiers(qualified, targetChain, bound ? items[*bound].ExposedName() : QString());
  if (!bound) return;  // a table of its own, joined to every row of the FROM, as SQL Server joins it
  const FromItem& item = items[*bound];
  const RowIdentity identity = RowIdentity::Of(item, objects);
  const SqlNodes table = item.TableNodes(nodes);
  const QString instance = SqlText::Quoted(item.ExposedName());
  const QString alias = TargetAlias(nodes);

  if (identity.IsRowId()) {
    const size_t removed = ShowRowId(nodes, item, identity, objects);
    if (item.path.empty()) end -= removed;
  }
  // From the end back, so that what is still to change keeps its place.
  QStringList same;
  for (const QString& column : identity.key) same << alias + u'.' + column + u" = "_qs + instance + u'.' + column;
  if (identity.IsRowId()) same << alias + u'.' + identity.rowId + u" = "_qs + instance + u'.' + kRowIdColumn;
  if (end < nodes.size() && nodes[end].IsWord(u"WHERE")) {
    SqlNode condition;
    condition.kind = SqlNode::Kind::Group;
    condition.children.assign(nodes.begin() + qsizetype(end) + 1, nodes.end());
    nodes.erase(nodes.begin() + qsizetype(end) + 1, nodes.end());
    nodes.push_back(SqlNode::Rewritten(u" "_qs));
    nodes.push_back(std::move(condition));
    nodes.push_back(SqlNode::Clause(u" AND "_qs + same.join(u" AND ")));
  } else {
    nodes.insert(nodes.begin() + qsizetype(end), SqlNode::Clause(u" WHERE "_qs + same.join(u" AND ") + u' '));
  }
  objects.AddTable(item.chain, alias);
  const SqlNode qualifier = item.alias ? *item.alias : table.back();
  BareColumns(objects, items, *bound, qualifier).Qualify(nodes, targetChain.end);
  // The target stands for the instance's table, under a name of its own.
  const SqlNode space{SqlNode::Kind::Token, {SqlTokenKind::Whitespace, u" "}, {}, {}};
  nodes.insert(nodes.begin() + qsizetype(targetChain.end),
               {space, SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Word, u"AS"}, {}, {}}, space,
                SqlNode::Rewritten(alias)});
  nodes.erase(nodes.begin() + qsizetype(target), nodes.begin() + qsizetype(targetChain.end));
  nodes.insert(nodes.begin() + qsizetype(target), table.begin(), table.end());
}
