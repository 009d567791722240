#include "platform/sql/Collation.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sqlite/SqlText.h"

namespace {

QString CanonicalAt(const SqlNodes& nodes, size_t name) {
  if (name >= nodes.size() || !(nodes[name].Is(SqlTokenKind::Word) || nodes[name].Is(SqlTokenKind::QuotedName)))
    throw SqlError(QStringLiteral("Incorrect syntax near 'COLLATE'."));
  const QString canonical = Collation::CanonicalName(nodes[name].token.Value());
  if (canonical.isEmpty()) throw SqlError(QStringLiteral("Invalid collation '%1'.").arg(nodes[name].token.Value()));
  return canonical;
}

}  // namespace

void RewriteCollation(SqlNodes& nodes, size_t collate) {
  const size_t name = NextSignificant(nodes, collate + 1);
  nodes[name] = SqlNode::Rewritten(SqlText::Quoted(CanonicalAt(nodes, name)));
}

QString TakeCollation(SqlNodes& nodes) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!nodes[i].IsWord(u"COLLATE")) continue;
    const size_t name = NextSignificant(nodes, i + 1);
    const QString canonical = CanonicalAt(nodes, name);
    nodes.erase(nodes.begin() + qsizetype(i), nodes.begin() + qsizetype(name) + 1);
    return canonical;
  }
  return {};
}

// SQLite gives LIKE no collation; the operands and the collation go to
// zem_like(pattern, text, collation) instead.
void RewriteCollatedLike(SqlNodes& nodes) {
  for (size_t like = 0; like < nodes.size(); ++like) {
    if (!nodes[like].IsWord(u"LIKE")) continue;
    const size_t pattern = NextSignificant(nodes, like + 1);
    const size_t collate = NextSignificant(nodes, pattern + 1);
    if (collate >= nodes.size() || !nodes[collate].IsWord(u"COLLATE")) continue;
    const size_t name = NextSignificant(nodes, collate + 1);
    const QString collation = CanonicalAt(nodes, name);
    if (NextSignificant(nodes, name + 1) < nodes.size() && nodes[NextSignificant(nodes, name + 1)].IsWord(u"ESCAPE"))
      Unsupported(QStringLiteral("LIKE ... COLLATE ... ESCAPE"));
    size_t operand = PreviousSignificant(nodes, like);
    const bool negated = operand != size_t(-1) && nodes[operand].IsWord(u"NOT");
    if (negated) operand = PreviousSignificant(nodes, operand);
    if (operand == size_t(-1)) throw SqlError(QStringLiteral("Incorrect syntax near 'LIKE'."));
    const std::optional<SqlChain> chain = ChainEndingAt(nodes, operand);
    const size_t begin = chain ? chain->begin : operand;
    auto grouped = [&](size_t from, size_t to) {
      SqlNode group;
      group.kind = SqlNode::Kind::Group;
      group.children.assign(nodes.begin() + qsizetype(from), nodes.begin() + qsizetype(to));
      return group;
    };
    const SqlNodes call = {SqlNode::Rewritten(negated ? u"NOT zem_like("_qs : u"zem_like("_qs),
                           grouped(pattern, pattern + 1), SqlNode::Rewritten(u", "_qs), grouped(begin, operand + 1),
                           SqlNode::Rewritten(u", "_qs + QuoteSqlString(collation) + u')')};
    nodes.erase(nodes.begin() + qsizetype(begin), nodes.begin() + qsizetype(name) + 1);
    nodes.insert(nodes.begin() + qsizetype(begin), call.begin(), call.end());
    like = begin + call.size() - 1;
  }
}
