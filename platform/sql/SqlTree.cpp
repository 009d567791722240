#include "platform/sql/SqlTree.h"

#include "platform/sql/SqlError.h"

#include <QSet>

namespace {

// Deeper statements are refused rather than walked: every pass over the
// tree recurses into its groups.
constexpr int kMaxNesting = 100;

SqlNodes Build(const std::vector<SqlToken>& tokens, size_t& i, bool inGroup, bool inCase, int depth) {
  if (depth > kMaxNesting)
    throw SqlError(QStringLiteral("Some part of your SQL statement is nested too deeply. Rewrite the query or break "
                                  "it up into smaller queries."));
  SqlNodes nodes;
  while (i < tokens.size()) {
    const SqlToken& token = tokens[i];
    if (token.kind == SqlTokenKind::Close) {
      if (!inGroup || inCase) throw SqlError(QStringLiteral("Incorrect syntax near ')'."));
      return nodes;
    }
    ++i;
    if (token.kind == SqlTokenKind::Open) {
      SqlNode group;
      group.kind = SqlNode::Kind::Group;
      group.token = token;
      group.children = Build(tokens, i, true, false, depth + 1);
      if (i >= tokens.size()) throw SqlError(QStringLiteral("Incorrect syntax near '('."));
      ++i;  // the closing parenthesis
      nodes.push_back(std::move(group));
    } else if (token.IsWord(u"CASE")) {
      SqlNode block;
      block.kind = SqlNode::Kind::Case;
      block.children.push_back(SqlNode{SqlNode::Kind::Token, token, {}, {}});
      SqlNodes inner = Build(tokens, i, inGroup, true, depth + 1);
      if (i >= tokens.size() || !tokens[i].IsWord(u"END"))
        throw SqlError(QStringLiteral("Incorrect syntax near the keyword 'CASE'."));
      block.children.insert(block.children.end(), inner.begin(), inner.end());
      block.children.push_back(SqlNode{SqlNode::Kind::Token, tokens[i], {}, {}});
      ++i;
      nodes.push_back(std::move(block));
    } else if (token.IsWord(u"END") && inCase) {
      --i;
      return nodes;
    } else {
      nodes.push_back(SqlNode{SqlNode::Kind::Token, token, {}, {}});
    }
  }
  return nodes;
}

}  // namespace

SqlNode SqlNode::Rewritten(QString text) {
  SqlNode node;
  node.kind = Kind::Text;
  node.text = std::move(text);
  return node;
}

SqlNodes BuildSqlTree(const std::vector<SqlToken>& tokens) {
  size_t i = 0;
  SqlNodes nodes = Build(tokens, i, false, false, 0);
  if (i < tokens.size()) throw SqlError(QStringLiteral("Incorrect syntax near ')'."));
  return nodes;
}

QString RenderSql(const SqlNode& node) {
  switch (node.kind) {
    case SqlNode::Kind::Token: return node.token.text;
    case SqlNode::Kind::Text: return node.text;
    case SqlNode::Kind::Group: return u'(' + RenderSql(node.children) + u')';
    case SqlNode::Kind::Case: return RenderSql(node.children);
  }
  return {};
}

QString RenderSql(const SqlNodes& nodes, size_t from, size_t to) {
  QString text;
  for (size_t i = from; i < std::min(to, nodes.size()); ++i) text += RenderSql(nodes[i]);
  return text;
}

size_t NextSignificant(const SqlNodes& nodes, size_t from) {
  while (from < nodes.size() && !nodes[from].IsSignificant()) ++from;
  return from;
}

size_t PreviousSignificant(const SqlNodes& nodes, size_t before) {
  while (before > 0) {
    --before;
    if (nodes[before].IsSignificant()) return before;
  }
  return size_t(-1);
}

std::vector<SqlNodes> SplitAtCommas(const SqlNodes& nodes) {
  std::vector<SqlNodes> parts(1);
  for (const SqlNode& node : nodes) {
    if (node.Is(SqlTokenKind::Comma)) parts.emplace_back();
    else parts.back().push_back(node);
  }
  return parts;
}

bool IsKeyword(const SqlNode& node) {
  static const QSet<QString> keywords = {
      u"ADD"_qs,     u"ALL"_qs,       u"ALTER"_qs,    u"AND"_qs,      u"ANY"_qs,     u"AS"_qs,
      u"ASC"_qs,     u"BETWEEN"_qs,   u"BY"_qs,       u"CASE"_qs,     u"CHECK"_qs,   u"COLLATE"_qs,
      u"COLUMN"_qs,  u"CONSTRAINT"_qs, u"CREATE"_qs,  u"CROSS"_qs,    u"DEFAULT"_qs, u"DELETE"_qs,
      u"DESC"_qs,    u"DISTINCT"_qs,  u"DROP"_qs,     u"ELSE"_qs,     u"END"_qs,     u"ESCAPE"_qs,
      u"EXCEPT"_qs,  u"EXEC"_qs,      u"EXECUTE"_qs,  u"EXISTS"_qs,   u"FOREIGN"_qs, u"FROM"_qs,
      u"FULL"_qs,    u"GROUP"_qs,     u"HAVING"_qs,   u"IN"_qs,       u"INDEX"_qs,   u"INNER"_qs,
      u"INSERT"_qs,  u"INTERSECT"_qs, u"INTO"_qs,     u"IS"_qs,       u"JOIN"_qs,    u"KEY"_qs,
      u"LEFT"_qs,    u"LIKE"_qs,      u"LIMIT"_qs,    u"NOT"_qs,      u"ON"_qs,      u"OR"_qs,
      u"ORDER"_qs,   u"OUTER"_qs,     u"PRIMARY"_qs,  u"REFERENCES"_qs, u"RIGHT"_qs, u"SELECT"_qs,
      u"SET"_qs,     u"TABLE"_qs,     u"THEN"_qs,     u"TOP"_qs,      u"UNION"_qs,   u"UNIQUE"_qs,
      u"UPDATE"_qs,  u"VALUES"_qs,    u"WHEN"_qs,     u"WHERE"_qs,    u"WITH"_qs,
  };
  return node.kind == SqlNode::Kind::Token && node.token.kind == SqlTokenKind::Word &&
         keywords.contains(node.token.text.toUpper());
}
