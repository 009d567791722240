#include "platform/sql/SqlRewrite.h"

#include "platform/sqlite/SqlText.h"

namespace {

QString TopCount(const SqlNodes& nodes, size_t at) {
  if (at < nodes.size() && nodes[at].Is(SqlTokenKind::Number)) return nodes[at].token.text.toString();
  if (at < nodes.size() && nodes[at].IsGroup()) {
    const SqlNodes& inner = nodes[at].children;
    const size_t number = NextSignificant(inner, 0);
    if (number < inner.size() && inner[number].Is(SqlTokenKind::Number) &&
        NextSignificant(inner, number + 1) == inner.size())
      return inner[number].token.text.toString();
  }
  Unsupported(QStringLiteral("TOP ") + (at < nodes.size() ? RenderSql(nodes[at]) : QString()));
}

// Without ORDER BY SQL Server reads a table in its clustered (primary key)
// order; SQLite promises no order, so the key's order is written out.
QString PrimaryKeyOrder(const SqlNodes& nodes, size_t from, size_t end, const SqlObjects& objects) {
  size_t at = from;
  while (at < end && !nodes[at].IsWord(u"FROM")) ++at;
  const size_t table = NextSignificant(nodes, at + 1);
  if (at >= end || table >= end ||
      !(nodes[table].Is(SqlTokenKind::Word) || nodes[table].Is(SqlTokenKind::QuotedName)))
    return {};
  const SqlChain chain = ReadChain(nodes, table);
  const auto [schema, name] = TableOfChain(chain, objects);
  const QStringList key = objects.PrimaryKeyOf(schema, name);
  if (key.isEmpty()) return {};
  size_t alias = NextSignificant(nodes, chain.end);
  if (alias < end && nodes[alias].IsWord(u"AS")) alias = NextSignificant(nodes, alias + 1);
  const bool aliased = alias < end && (nodes[alias].Is(SqlTokenKind::QuotedName) ||
                                       (nodes[alias].Is(SqlTokenKind::Word) && !IsKeyword(nodes[alias])));
  const QString qualifier = aliased ? nodes[alias].token.text.toString() : chain.written.last();
  QStringList columns;
  for (const QString& column : key) columns << qualifier + u'.' + SqlText::Quoted(column);
  return QStringLiteral(" ORDER BY ") + columns.join(QStringLiteral(", "));
}

}  // namespace

void RewriteTop(SqlNodes& nodes, const SqlObjects& objects) {
  for (size_t select = 0; select < nodes.size(); ++select) {
    if (!nodes[select].IsWord(u"SELECT")) continue;
    size_t top = NextSignificant(nodes, select + 1);
    if (top < nodes.size() && (nodes[top].IsWord(u"DISTINCT") || nodes[top].IsWord(u"ALL")))
      top = NextSignificant(nodes, top + 1);
    if (top >= nodes.size() || !nodes[top].IsWord(u"TOP")) continue;
    const size_t count = NextSignificant(nodes, top + 1);
    const QString limit = TopCount(nodes, count);
    const size_t after = NextSignificant(nodes, count + 1);
    if (after < nodes.size() && (nodes[after].IsWord(u"PERCENT") || nodes[after].IsWord(u"WITH")))
      Unsupported(QStringLiteral("TOP ") + limit + u' ' + nodes[after].token.text.toString());
    size_t end = count + 1;
    bool ordered = false;
    for (; end < nodes.size() && !nodes[end].Is(SqlTokenKind::Semicolon); ++end) {
      if (nodes[end].IsWord(u"UNION") || nodes[end].IsWord(u"EXCEPT") || nodes[end].IsWord(u"INTERSECT"))
        Unsupported(QStringLiteral("TOP in a ") + nodes[end].token.text.toString().toUpper());
      if (nodes[end].IsWord(u"ORDER")) ordered = true;
    }
    const QString order = ordered ? QString() : PrimaryKeyOrder(nodes, count + 1, end, objects);
    nodes.insert(nodes.begin() + qsizetype(end), SqlNode::Clause(order + QStringLiteral(" LIMIT ") + limit));
    nodes.erase(nodes.begin() + qsizetype(top), nodes.begin() + qsizetype(count) + 1);
  }
}
