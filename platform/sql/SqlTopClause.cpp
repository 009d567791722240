#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"

namespace {

bool IsSetOperator(const SqlNode& node) {
  return node.IsWord(u"UNION") || node.IsWord(u"EXCEPT") || node.IsWord(u"INTERSECT");
}

bool IsQuery(const SqlNode& node) {
  if (!node.IsGroup()) return false;
  const size_t first = NextSignificant(node.children, 0);
  return first < node.children.size() && (node.children[first].IsWord(u"SELECT") || IsQuery(node.children[first]));
}

bool HasPositionalParameter(const SqlNodes& nodes, size_t from = 0) {
  for (size_t i = from; i < nodes.size(); ++i)
    if (nodes[i].token.IsSymbol(u"?") || HasPositionalParameter(nodes[i].children)) return true;
  return false;
}

// The count as LIMIT takes it: a written whole number as it stands; any
// other expression through zem_top_rows, which refuses what SQL Server
// refuses (SQLite reads a negative LIMIT as every row).
bool IsWholeNumber(const SqlNode& node) {
  bool whole = false;
  if (node.Is(SqlTokenKind::Number)) node.token.text.toString().toLongLong(&whole);
  return whole;
}

SqlNodes LimitCount(const SqlNode& count) {
  if (IsWholeNumber(count)) return {SqlNode::Rewritten(count.token.text.toString())};
  if (count.Is(SqlTokenKind::Number))
    return {SqlNode::Rewritten(QStringLiteral("zem_top_rows")), SqlNode::Parenthesised({count})};
  if (!count.IsGroup() || NextSignificant(count.children, 0) == count.children.size())
    Unsupported(QStringLiteral("TOP ") + RenderSql(count));
  const size_t number = NextSignificant(count.children, 0);
  if (IsWholeNumber(count.children[number]) && NextSignificant(count.children, number + 1) == count.children.size())
    return {SqlNode::Rewritten(count.children[number].token.text.toString())};
  // TOP (SELECT ...): the subquery keeps parentheses of its own in the call.
  if (IsQuery(count)) return {SqlNode::Rewritten(QStringLiteral("zem_top_rows")), SqlNode::Parenthesised({count})};
  return {SqlNode::Rewritten(QStringLiteral("zem_top_rows")), count};
}

// TOP n of the SELECT at nodes[select] becomes LIMIT n at end, the end of
// what it selects; SQL Server orders only where the statement asks, so the
// engine may read the rows in the order its index gives them.
void MoveTopToLimit(SqlNodes& nodes, size_t select, size_t end) {
  size_t top = NextSignificant(nodes, select + 1);
  if (top < end && (nodes[top].IsWord(u"DISTINCT") || nodes[top].IsWord(u"ALL"))) top = NextSignificant(nodes, top + 1);
  if (top >= end || !nodes[top].IsWord(u"TOP")) return;
  const size_t before = nodes.size();
  const SqlNodes limit = TakeTop(nodes, top, end);
  end -= before - nodes.size();
  nodes.insert(nodes.begin() + qsizetype(end), limit.begin(), limit.end());
}

}  // namespace

SqlNodes TakeTop(SqlNodes& nodes, size_t top, size_t end) {
  const size_t count = NextSignificant(nodes, top + 1);
  if (count >= end) Unsupported(QStringLiteral("TOP"));
  const size_t after = NextSignificant(nodes, count + 1);
  if (after < end && (nodes[after].IsWord(u"PERCENT") || nodes[after].IsWord(u"WITH")))
    Unsupported(QStringLiteral("TOP ") + RenderSql(nodes[count]) + u' ' + nodes[after].token.text.toString());
  // A positional parameter bound after the count would change places with it.
  if (HasPositionalParameter(nodes[count].children) && HasPositionalParameter(nodes, count + 1))
    Unsupported(QStringLiteral("TOP (?)"));
  SqlNodes limit{SqlNode::Clause(QStringLiteral(" LIMIT "))};
  for (SqlNode& part : LimitCount(nodes[count])) limit.push_back(std::move(part));
  nodes.erase(nodes.begin() + qsizetype(top), nodes.begin() + qsizetype(count) + 1);
  return limit;
}

namespace {

size_t LevelEnd(const SqlNodes& nodes) {
  size_t end = 0;
  while (end < nodes.size() && !nodes[end].Is(SqlTokenKind::Semicolon)) ++end;
  return end;
}

// A branch of a UNION, EXCEPT or INTERSECT that SQLite cannot take as it
// stands (a parenthesised query, or one with a TOP of its own) becomes
// SELECT * FROM (branch), its TOP then that query's own.
void WrapBranch(SqlNodes& nodes, size_t begin, size_t end) {
  const size_t first = NextSignificant(nodes, begin);
  if (first >= end) throw SqlError(QStringLiteral("Incorrect syntax near the keyword 'UNION'."));
  const size_t last = PreviousSignificant(nodes, end);
  if (first == last && IsQuery(nodes[first])) {
    nodes.insert(nodes.begin() + qsizetype(first), SqlNode::Rewritten(QStringLiteral("SELECT * FROM ")));
    return;
  }
  if (!nodes[first].IsWord(u"SELECT")) return;
  size_t top = NextSignificant(nodes, first + 1);
  if (top < end && (nodes[top].IsWord(u"DISTINCT") || nodes[top].IsWord(u"ALL"))) top = NextSignificant(nodes, top + 1);
  if (top >= end || !nodes[top].IsWord(u"TOP")) return;
  SqlNodes branch(std::make_move_iterator(nodes.begin() + qsizetype(first)),
                  std::make_move_iterator(nodes.begin() + qsizetype(last) + 1));
  nodes.erase(nodes.begin() + qsizetype(first) + 1, nodes.begin() + qsizetype(last) + 1);
  nodes[first] = SqlNode::Parenthesised(std::move(branch));
  nodes.insert(nodes.begin() + qsizetype(first), SqlNode::Rewritten(QStringLiteral("SELECT * FROM ")));
}

// The branches of a level joined by set operators, from the last: each
// between two operators; the last one ends where the ORDER BY (or the LIMIT
// it became) of the whole result starts.
void RewriteBranches(SqlNodes& nodes, size_t end) {
  std::vector<size_t> operators;
  for (size_t i = 0; i < end; ++i)
    if (IsSetOperator(nodes[i])) operators.push_back(i);
  size_t lastEnd = operators.back() + 1;
  while (lastEnd < end && !nodes[lastEnd].IsWord(u"ORDER") && !nodes[lastEnd].clause) ++lastEnd;
  size_t branchEnd = lastEnd;
  for (size_t op = operators.size() + 1; op-- > 0;) {
    size_t begin = 0;
    if (op > 0) {
      begin = operators[op - 1] + 1;
      const size_t quantifier = NextSignificant(nodes, begin);
      if (quantifier < branchEnd && (nodes[quantifier].IsWord(u"ALL") || nodes[quantifier].IsWord(u"DISTINCT")))
        begin = quantifier + 1;
    } else {
      // The SELECT that starts the compound (an INSERT's rows start after its column list).
      for (size_t i = 0; i < branchEnd; ++i)
        if (nodes[i].IsWord(u"SELECT") || (IsQuery(nodes[i]) && NextSignificant(nodes, i + 1) == branchEnd)) {
          begin = i;
          break;
        }
    }
    for (size_t i = begin; i < branchEnd && op < operators.size(); ++i)
      if (nodes[i].IsWord(u"ORDER"))
        throw SqlError(QStringLiteral("Incorrect syntax near the keyword '%1'.")
                           .arg(nodes[operators[op]].token.text.toString().toUpper()));
    WrapBranch(nodes, begin, branchEnd);
    if (op > 0) branchEnd = operators[op - 1];
  }
}

}  // namespace

void RewriteTop(SqlNodes& nodes) {
  const size_t end = LevelEnd(nodes);
  for (size_t i = 0; i < end; ++i)
    if (IsSetOperator(nodes[i])) return RewriteBranches(nodes, end);
  for (size_t select = 0; select < end; ++select)
    if (nodes[select].IsWord(u"SELECT")) {
      MoveTopToLimit(nodes, select, end);
      return;
    }
}
