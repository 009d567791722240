#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"

#include <optional>

namespace {

bool IsRows(const SqlNode& node) { return node.IsWord(u"ROW") || node.IsWord(u"ROWS"); }

// Whether the node can end the last term of an ORDER BY, so that an OFFSET
// after it starts the clause and is not itself a name (ORDER BY Offset).
bool EndsOrderTerm(const SqlNode& node) {
  if (node.kind != SqlNode::Kind::Token) return true;
  switch (node.token.kind) {
    case SqlTokenKind::Word:
      return !IsKeyword(node) || node.IsWord(u"ASC") || node.IsWord(u"DESC");
    case SqlTokenKind::QuotedName:
    case SqlTokenKind::String:
    case SqlTokenKind::Number:
    case SqlTokenKind::Variable:
      return true;
    default:
      return false;
  }
}

size_t NextWordAt(const SqlNodes& nodes, size_t from, bool (*matches)(const SqlNode&)) {
  while (from < nodes.size() && !matches(nodes[from])) ++from;
  return from;
}

// A count written as a whole number, with its sign; nothing for anything
// else (an expression, a parameter), which is checked as it runs.
std::optional<qlonglong> WrittenCount(const SqlNodes& count) {
  size_t at = NextSignificant(count, 0);
  bool negative = false;
  if (at < count.size() && (count[at].token.IsSymbol(u"-") || count[at].token.IsSymbol(u"+"))) {
    negative = count[at].token.IsSymbol(u"-");
    at = NextSignificant(count, at + 1);
  }
  if (at >= count.size() || !count[at].Is(SqlTokenKind::Number) || NextSignificant(count, at + 1) != count.size())
    return std::nullopt;
  bool whole = false;
  const qlonglong value = count[at].token.text.toString().toLongLong(&whole);
  if (!whole) return std::nullopt;
  return negative ? -value : value;
}

// The count as SQLite's LIMIT and OFFSET take it: a checked whole number as
// written, else the expression given to the function that checks it as SQL
// Server does (a negative count would read every row in SQLite).
void AppendCount(SqlNodes& out, const SqlNodes& count, const QString& clause, const QString& checker) {
  if (NextSignificant(count, 0) == count.size()) throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(clause));
  if (const std::optional<qlonglong> written = WrittenCount(count)) {
    if (clause == u"OFFSET" && *written < 0)
      throw SqlError(QStringLiteral("The offset specified in a OFFSET clause may not be negative."));
    if (clause == u"FETCH" && *written <= 0)
      throw SqlError(QStringLiteral("The number of rows provided for a FETCH clause must be greater then zero."));
    out.push_back(SqlNode::Rewritten(QString::number(*written)));
    return;
  }
  SqlNode group;
  group.kind = SqlNode::Kind::Group;
  group.token = {SqlTokenKind::Open, u"("};
  group.children = count;
  out.push_back(SqlNode::Rewritten(checker));
  out.push_back(std::move(group));
}

// Whether the nodes hold a parameter marker (? or :name), at any level.
bool HasParameter(const SqlNodes& nodes) {
  for (const SqlNode& node : nodes)
    if (node.token.IsSymbol(u"?") || node.token.IsSymbol(u":") || HasParameter(node.children)) return true;
  return false;
}

// Whether a SELECT at this level takes a TOP.
bool HasTop(const SqlNodes& nodes) {
  for (size_t select = 0; select < nodes.size(); ++select) {
    if (!nodes[select].IsWord(u"SELECT")) continue;
    size_t top = NextSignificant(nodes, select + 1);
    if (top < nodes.size() && (nodes[top].IsWord(u"DISTINCT") || nodes[top].IsWord(u"ALL")))
      top = NextSignificant(nodes, top + 1);
    if (top < nodes.size() && nodes[top].IsWord(u"TOP")) return true;
  }
  return false;
}

}  // namespace

void RewriteOffset(SqlNodes& nodes) {
  bool ordered = false;
  for (size_t offset = 0; offset < nodes.size(); ++offset) {
    if (nodes[offset].IsWord(u"ORDER")) ordered = true;
    if (!nodes[offset].IsWord(u"OFFSET")) continue;
    const size_t before = PreviousSignificant(nodes, offset);
    const size_t rows = NextWordAt(nodes, offset + 1, IsRows);
    if (before == size_t(-1) || !EndsOrderTerm(nodes[before]) || rows == nodes.size()) continue;
    if (!ordered) throw SqlError(QStringLiteral("Incorrect syntax near 'OFFSET'."));
    if (HasTop(nodes)) throw SqlError(QStringLiteral("A TOP can not be used in the same query or sub-query as a OFFSET."));
    const SqlNodes skipped(nodes.begin() + qsizetype(offset) + 1, nodes.begin() + qsizetype(rows));
    SqlNodes taken;
    size_t end = rows + 1;
    const size_t fetch = NextSignificant(nodes, end);
    const bool fetched = fetch < nodes.size() && nodes[fetch].IsWord(u"FETCH");
    if (fetched) {
      const size_t next = NextSignificant(nodes, fetch + 1);
      if (next == nodes.size() || !(nodes[next].IsWord(u"NEXT") || nodes[next].IsWord(u"FIRST")))
        throw SqlError(QStringLiteral("Incorrect syntax near 'FETCH'."));
      const size_t fetchedRows = NextWordAt(nodes, next + 1, IsRows);
      const size_t only = fetchedRows < nodes.size() ? NextSignificant(nodes, fetchedRows + 1) : nodes.size();
      if (only == nodes.size() || !nodes[only].IsWord(u"ONLY"))
        throw SqlError(QStringLiteral("Incorrect syntax near '%1'.")
                           .arg(fetchedRows < nodes.size() ? nodes[fetchedRows].token.text.toString()
                                                           : nodes[next].token.text.toString()));
      taken.assign(nodes.begin() + qsizetype(next) + 1, nodes.begin() + qsizetype(fetchedRows));
      end = only + 1;
    }
    SqlNodes clause{SqlNode::Clause(QStringLiteral(" LIMIT "))};
    if (fetched && (HasParameter(skipped) || HasParameter(taken))) {
      // Parameters bound in order keep it: LIMIT offset, count.
      AppendCount(clause, skipped, u"OFFSET"_qs, u"zem_offset_rows"_qs);
      clause.push_back(SqlNode::Clause(QStringLiteral(", ")));
      AppendCount(clause, taken, u"FETCH"_qs, u"zem_fetch_rows"_qs);
    } else {
      if (fetched) AppendCount(clause, taken, u"FETCH"_qs, u"zem_fetch_rows"_qs);
      else clause.push_back(SqlNode::Rewritten(QStringLiteral("-1")));
      clause.push_back(SqlNode::Clause(QStringLiteral(" OFFSET ")));
      AppendCount(clause, skipped, u"OFFSET"_qs, u"zem_offset_rows"_qs);
    }
    nodes.erase(nodes.begin() + qsizetype(offset), nodes.begin() + qsizetype(end));
    nodes.insert(nodes.begin() + qsizetype(offset), clause.begin(), clause.end());
    offset += clause.size() - 1;
  }
}
