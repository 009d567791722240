#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sqlite/SqlText.h"

namespace {

// A table of a FROM list: its name, the alias it goes by, and where both end.
struct FromItem {
  SqlChain chain;
  std::optional<SqlNode> alias;
  size_t end = 0;
};

FromItem ItemAt(const SqlNodes& nodes, size_t at) {
  FromItem item{ReadChain(nodes, at), std::nullopt, 0};
  item.end = item.chain.end;
  size_t alias = NextSignificant(nodes, item.chain.end);
  if (alias < nodes.size() && nodes[alias].IsWord(u"AS")) alias = NextSignificant(nodes, alias + 1);
  if (alias < nodes.size() && IsNameNode(nodes[alias]) && !nodes[alias].IsWord(u"WITH")) {
    item.alias = nodes[alias];
    item.end = alias + 1;
  }
  return item;
}

QString AliasOf(const FromItem& item) { return item.alias ? item.alias->token.Value() : QString(); }

bool EndsFrom(const SqlNode& node) { return node.IsWord(u"WHERE") || node.IsWord(u"OPTION"); }

std::vector<FromItem> ItemsOf(const SqlNodes& nodes, size_t from, size_t end) {
  std::vector<FromItem> items;
  TablePositions positions;
  for (size_t i = from; i < end; ++i)
    if (nodes[i].IsSignificant() && positions.Next(nodes[i]) && IsNameNode(nodes[i])) items.push_back(ItemAt(nodes, i));
  return items;
}

bool HasColumn(const QList<SqlColumn>& columns, const QString& name) {
  for (const SqlColumn& column : columns)
    if (column.name.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool IsSubquery(const SqlNode& node) {
  const size_t first = NextSignificant(node.children, 0);
  return first < node.children.size() && node.children[first].IsWord(u"SELECT");
}

// SQLite sees both the target and its instance in FROM, so a bare column
// of theirs would be ambiguous to it: it is named by the instance. One that
// another table of the FROM has too is ambiguous to SQL Server as well.
class BareColumns {
 public:
  BareColumns(const SqlObjects& objects, const std::vector<FromItem>& items, size_t target, SqlNode qualifier)
      : objects_(objects), items_(items), target_(target), qualifier_(std::move(qualifier)) {}

  void Qualify(SqlNodes& nodes, size_t from) {
    TablePositions positions;
    size_t skipTo = 0;
    bool assignments = false;  // a SET list, whose columns are the target's as written
    for (size_t i = from; i < nodes.size(); ++i) {
      SqlNode& node = nodes[i];
      if (!node.IsSignificant()) continue;
      const size_t previous = PreviousSignificant(nodes, i);
      const bool table = positions.Next(node);
      if (node.IsWord(u"SET") || node.IsWord(u"FROM")) assignments = node.IsWord(u"SET");
      if ((node.IsGroup() && !IsSubquery(node)) || node.kind == SqlNode::Kind::Case) {
        Qualify(node.children, 0);
        continue;
      }
      if (table && IsNameNode(node)) skipTo = ItemAt(nodes, i).end;
      if (i < skipTo || !IsNameNode(node) || (previous != size_t(-1) && nodes[previous].Is(SqlTokenKind::Dot)))
        continue;
      if (assignments && previous != size_t(-1) && (nodes[previous].IsWord(u"SET") || nodes[previous].Is(SqlTokenKind::Comma)))
        continue;
      const size_t next = NextSignificant(nodes, i + 1);
      if (next < nodes.size() && (nodes[next].IsGroup() || nodes[next].Is(SqlTokenKind::Dot))) continue;
      const QString name = node.token.Value();
      if (!HasColumn(objects_.ColumnsOf(items_[target_].chain), name)) continue;
      for (size_t k = 0; k < items_.size(); ++k)
        if (k != target_ && HasColumn(objects_.ColumnsOf(items_[k].chain), name))
          throw SqlError(QStringLiteral("Ambiguous column name '%1'.").arg(name));
      nodes.insert(nodes.begin() + qsizetype(i), {qualifier_, SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Dot, u"."}, {}, {}}});
      i += 2;
    }
  }

 private:
  const SqlObjects& objects_;
  const std::vector<FromItem>& items_;
  size_t target_;
  SqlNode qualifier_;
};

// The name the target's instance goes by where the FROM gives it none.
constexpr QStringView kTargetAlias = u"zem_target";

// Names of objects are compared as SQL Server compares them: "stock" is STOCK.
bool SameTable(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Which item of the FROM the target names, as SQL Server binds it: the
// one that shows itself by that name, else the one instance of the
// target's table; none when the table is not in the FROM.
std::optional<size_t> PlacedItem(const SqlChain& target, const std::vector<FromItem>& items, const SqlObjects& objects) {
  const QString table = RenderTableChain(target, objects);
  for (size_t k = 0; k < items.size(); ++k) {
    const bool shown = items[k].alias ? target.names.size() == 1 &&
                                            AliasOf(items[k]).compare(target.names[0], Qt::CaseInsensitive) == 0
                                      : SameTable(RenderTableChain(items[k].chain, objects), table);
    if (shown) return k;
  }
  std::optional<size_t> instance;
  for (size_t k = 0; k < items.size(); ++k) {
    if (!SameTable(RenderTableChain(items[k].chain, objects), table)) continue;
    if (instance) throw SqlError(QStringLiteral("The table '%1' is ambiguous.").arg(target.names.last()));
    instance = k;
  }
  return instance;
}

}  // namespace

void PlaceUpdateTarget(SqlNodes& nodes, size_t head, SqlObjects& objects) {
  const size_t target = NextSignificant(nodes, head + 1);
  if (target >= nodes.size() || !IsNameNode(nodes[target])) return;
  const SqlChain targetChain = ReadChain(nodes, target);
  size_t from = targetChain.end;
  while (from < nodes.size() && !nodes[from].IsWord(u"FROM")) ++from;
  if (from == nodes.size()) return;
  size_t end = from + 1;
  while (end < nodes.size() && !EndsFrom(nodes[end])) ++end;
  const std::vector<FromItem> items = ItemsOf(nodes, from, end);
  const std::optional<size_t> placed = PlacedItem(targetChain, items, objects);
  if (!placed) return;  // a table of its own, joined to every row of the FROM, as SQL Server joins it
  const FromItem& item = items[*placed];
  const SqlNodes table(nodes.begin() + qsizetype(item.chain.begin), nodes.begin() + qsizetype(item.chain.end));
  const auto [schema, name] = TableOfChain(item.chain, objects);
  const QString tableText = RenderTableChain(item.chain, objects);

  // From the end back, so that what is still to change keeps its place.
  const SqlNode qualifier =
      item.alias ? *item.alias : SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Word, kTargetAlias}, {}, {}};
  const QString alias = SqlText::Quoted(item.alias ? AliasOf(item) : kTargetAlias.toString());
  // Each row of the target is its instance's row: the same key, or rowid
  // in a table without one.
  QStringList key = objects.PrimaryKeyOf(schema, name);
  if (key.isEmpty()) key << QStringLiteral("rowid");
  QStringList same;
  for (const QString& column : key)
    same << alias + u'.' + SqlText::Quoted(column) + u" = "_qs + tableText + u'.' + SqlText::Quoted(column);
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
  if (!item.alias) nodes.insert(nodes.begin() + qsizetype(item.end), SqlNode::Clause(u" AS "_qs + alias));
  objects.AddTable(item.chain, item.alias ? AliasOf(item) : kTargetAlias.toString());
  BareColumns(objects, items, *placed, qualifier).Qualify(nodes, targetChain.end);
  // An alias as the target stands for its table.
  nodes.erase(nodes.begin() + qsizetype(target), nodes.begin() + qsizetype(targetChain.end));
  nodes.insert(nodes.begin() + qsizetype(target), table.begin(), table.end());
}
