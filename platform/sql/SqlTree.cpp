#include "platform/sql/SqlTree.h"

#include "platform/sql/SqlError.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace {

// Deeper statements are refused rather than walked: every pass over the
// tree recurses into its groups.
constexpr int kMaxNesting = 100;

SqlNodes Build(const std::vector<SqlToken>& tokens, size_t& i, bool inGroup, bool inCase, int depth) {
  if (depth > kMaxNesting)
    throw SqlError(QStringLiteral("Some part of your SQL statement is nested too deeply. Rewrite the query or break "
                                  "it up into smaller queries."));
  SqlNodes nodes;
  if (depth == 0) nodes.reserve(tokens.size());
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
    } else if (token.kind == SqlTokenKind::Dot) {
      // The parts of a name may stand apart around its dots: dbo . T.
      auto blank = [](const SqlNode& node) { return node.kind == SqlNode::Kind::Token && !node.token.IsSignificant(); };
      while (!nodes.empty() && blank(nodes.back())) nodes.pop_back();
      nodes.push_back(SqlNode{SqlNode::Kind::Token, token, {}, {}});
      while (i < tokens.size() && !tokens[i].IsSignificant()) ++i;
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

SqlNode SqlNode::Clause(QString text) {
  SqlNode node = Rewritten(std::move(text));
  node.clause = true;
  return node;
}

SqlNode SqlNode::Parenthesised(SqlNodes children) {
  SqlNode group;
  group.kind = Kind::Group;
  group.token = {SqlTokenKind::Open, u"("};
  group.children = std::move(children);
  return group;
}

SqlNodes BuildSqlTree(const std::vector<SqlToken>& tokens) {
  size_t i = 0;
  SqlNodes nodes = Build(tokens, i, false, false, 0);
  if (i < tokens.size()) throw SqlError(QStringLiteral("Incorrect syntax near ')'."));
  return nodes;
}

namespace {

// Appended in place: a statement is rendered into one text.
void AppendSql(QString& text, const SqlNode& node);

void AppendSql(QString& text, const SqlNodes& nodes, size_t from, size_t to) {
  for (size_t i = from; i < std::min(to, nodes.size()); ++i) AppendSql(text, nodes[i]);
}

void AppendSql(QString& text, const SqlNode& node) {
  switch (node.kind) {
    case SqlNode::Kind::Token: text += node.token.text; break;
    case SqlNode::Kind::Text: text += node.text; break;
    case SqlNode::Kind::Group:
      text += u'(';
      AppendSql(text, node.children, 0, size_t(-1));
      text += u')';
      break;
    case SqlNode::Kind::Case: AppendSql(text, node.children, 0, size_t(-1)); break;
  }
}

}  // namespace

QString RenderSql(const SqlNode& node) {
  QString text;
  AppendSql(text, node);
  return text;
}

QString RenderSql(const SqlNodes& nodes, size_t from, size_t to) {
  QString text;
  AppendSql(text, nodes, from, to);
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
  static constexpr std::u16string_view written[] = {
      u"ADD",     u"ALL",       u"ALTER",  u"AND",     u"ANY",        u"AS",      u"ASC",     u"BETWEEN",
      u"BY",      u"CASE",      u"CHECK",  u"COLLATE", u"COLUMN",     u"CONSTRAINT", u"CREATE", u"CROSS",
      u"DEFAULT", u"DELETE",    u"DESC",   u"DISTINCT", u"DROP",      u"ELSE",    u"END",     u"ESCAPE",
      u"EXCEPT",  u"EXEC",      u"EXECUTE", u"EXISTS", u"FOREIGN",    u"FROM",    u"FULL",    u"GROUP",
      u"HAVING",  u"IN",        u"INDEX",  u"INNER",   u"INSERT",     u"INTERSECT", u"INTO",  u"IS",
      u"JOIN",    u"KEY",       u"LEFT",   u"LIKE",    u"LIMIT",      u"NOT",     u"ON",      u"OR",
      u"ORDER",   u"OUTER",     u"PRIMARY", u"REFERENCES", u"RIGHT",  u"SELECT",  u"SET",     u"TABLE",
      u"THEN",    u"TOP",       u"UNION",  u"UNIQUE",  u"UPDATE",     u"VALUES",  u"WHEN",    u"WHERE",
      u"WITH",
  };
  // Shorter first, so that most comparisons end at the length.
  static constexpr auto before = [](std::u16string_view a, std::u16string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  };
  static const std::array keywords = [] {
    std::array<std::u16string_view, std::size(written)> sorted;
    std::copy(std::begin(written), std::end(written), sorted.begin());
    std::sort(sorted.begin(), sorted.end(), before);
    return sorted;
  }();
  static constexpr qsizetype kLongest = qsizetype(
      std::ranges::max(written, {}, [](std::u16string_view word) { return word.size(); }).size());
  if (node.kind != SqlNode::Kind::Token || node.token.kind != SqlTokenKind::Word) return false;
  const QStringView text = node.token.text;
  if (text.size() > kLongest) return false;
  char16_t upper[kLongest];
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    upper[i] = c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
  }
  const std::u16string_view word(upper, size_t(text.size()));
  return std::binary_search(keywords.begin(), keywords.end(), word, before);
}
