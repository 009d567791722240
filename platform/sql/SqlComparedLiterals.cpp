#include "platform/sql/ColumnConversion.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"

bool IsComparison(const SqlNode& node) {
  if (!node.Is(SqlTokenKind::Symbol)) return false;
  static constexpr QStringView kComparisons[] = {u"=", u"<", u">", u"<=", u">=", u"<>", u"!=", u"!<", u"!>"};
  for (QStringView symbol : kComparisons)
    if (node.token.text == symbol) return true;
  return false;
}

namespace {

bool TakesFirstArgumentsType(const SqlNode& node) { return node.IsWord(u"ISNULL") || node.IsWord(u"COALESCE"); }

// The column whose type an ISNULL or COALESCE call takes: its first argument.
std::optional<SqlChain> FirstArgumentColumn(const SqlNode& group) {
  const SqlNodes first = SplitAtCommas(group.children).front();
  const size_t name = NextSignificant(first, 0);
  if (name >= first.size() || !IsNameNode(first[name])) return std::nullopt;
  const std::optional<SqlChain> chain = ChainEndingAt(first, PreviousSignificant(first, first.size()));
  return chain && chain->begin == name ? chain : std::nullopt;
}

// The column an operand ending at nodes[last] stands for: a column, or
// ISNULL/COALESCE(column, ...).
std::optional<SqlChain> OperandEndingAt(const SqlNodes& nodes, size_t last) {
  if (last == size_t(-1) || last >= nodes.size()) return std::nullopt;
  if (!nodes[last].IsGroup()) return ChainEndingAt(nodes, last);
  const size_t function = PreviousSignificant(nodes, last);
  if (function == size_t(-1) || !TakesFirstArgumentsType(nodes[function])) return std::nullopt;
  return FirstArgumentColumn(nodes[last]);
}

// The column before a word (BETWEEN, IN), past a NOT.
std::optional<SqlChain> ColumnBefore(const SqlNodes& nodes, size_t word) {
  size_t before = PreviousSignificant(nodes, word);
  if (before != size_t(-1) && nodes[before].IsWord(u"NOT")) before = PreviousSignificant(nodes, before);
  return OperandEndingAt(nodes, before);
}

bool IsArithmetic(const SqlNode& node) {
  static constexpr QStringView kOperators[] = {u"+", u"-", u"*", u"/", u"%"};
  for (QStringView symbol : kOperators)
    if (node.token.IsSymbol(symbol)) return true;
  return false;
}

// The column a string at nodes[i] is compared with: col = 'x', 'x' = col,
// col BETWEEN 'x' AND 'y'. A string that is only part of an operand
// ('1' + '2') is converted with the whole of it, by SQLite.
std::optional<SqlChain> ComparedColumn(const SqlNodes& nodes, size_t i) {
  const size_t previous = PreviousSignificant(nodes, i);
  const size_t following = NextSignificant(nodes, i + 1);
  if ((previous != size_t(-1) && IsArithmetic(nodes[previous])) ||
      (following < nodes.size() && IsArithmetic(nodes[following])))
    return std::nullopt;
  if (previous != size_t(-1)) {
    if (IsComparison(nodes[previous])) return OperandEndingAt(nodes, PreviousSignificant(nodes, previous));
    if (nodes[previous].IsWord(u"BETWEEN")) return ColumnBefore(nodes, previous);
    const size_t low = PreviousSignificant(nodes, previous);
    const size_t between = low == size_t(-1) ? low : PreviousSignificant(nodes, low);
    if (nodes[previous].IsWord(u"AND") && between != size_t(-1) && nodes[between].IsWord(u"BETWEEN"))
      return ColumnBefore(nodes, between);
  }
  const size_t next = NextSignificant(nodes, i + 1);
  if (next >= nodes.size() || !IsComparison(nodes[next])) return std::nullopt;
  const size_t column = NextSignificant(nodes, next + 1);
  const size_t call = NextSignificant(nodes, column + 1);
  if (column < nodes.size() && TakesFirstArgumentsType(nodes[column]) && call < nodes.size() && nodes[call].IsGroup())
    return FirstArgumentColumn(nodes[call]);
  if (column >= nodes.size() || !IsNameNode(nodes[column])) return std::nullopt;
  const SqlChain chain = ReadChain(nodes, column);
  const size_t after = NextSignificant(nodes, chain.end);
  if (after < nodes.size() && (nodes[after].IsGroup() || nodes[after].Is(SqlTokenKind::Dot))) return std::nullopt;
  return chain;
}

void Convert(SqlNode& literal, const SqlType& type, const SqlObjects& objects) {
  if (!literal.Is(SqlTokenKind::String) || !(type.IsInteger() || type.IsDecimal() || type.IsDate())) return;
  const ColumnValue converted =
      ToColumnType(literal.token.Value(), type, DateOrderOf(objects.Context().dateFormat));
  if (!converted.error.isEmpty()) throw SqlError(converted.error);
  literal = SqlNode::Rewritten(SqlLiteral(converted.value));
}

}  // namespace

void RewriteComparedLiterals(SqlNodes& nodes, const SqlObjects& objects) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].Is(SqlTokenKind::String)) {
      const std::optional<SqlChain> chain = ComparedColumn(nodes, i);
      if (const std::optional<SqlColumn> column = chain ? objects.ColumnOf(*chain) : std::nullopt)
        Convert(nodes[i], column->type, objects);
    } else if (nodes[i].IsGroup()) {
      const size_t in = PreviousSignificant(nodes, i);
      if (in == size_t(-1) || !(nodes[in].IsWord(u"IN") || TakesFirstArgumentsType(nodes[in]))) continue;
      // IN (...) against the column before it; ISNULL(column, ...) in the column's type.
      const std::optional<SqlChain> chain =
          nodes[in].IsWord(u"IN") ? ColumnBefore(nodes, in) : FirstArgumentColumn(nodes[i]);
      const std::optional<SqlColumn> column = chain ? objects.ColumnOf(*chain) : std::nullopt;
      if (!column) continue;
      SqlNodes& items = nodes[i].children;
      for (size_t k = 0; k < items.size(); ++k) {
        const size_t before = PreviousSignificant(items, k), after = NextSignificant(items, k + 1);
        if ((before == size_t(-1) || items[before].Is(SqlTokenKind::Comma)) &&
            (after == items.size() || items[after].Is(SqlTokenKind::Comma)))
          Convert(items[k], column->type, objects);
      }
    }
  }
}
