#include "platform/sql/SqlRewrite.h"

#include <algorithm>

namespace {

bool IsMultiplicative(const SqlNode& node) {
  return node.token.IsSymbol(u"*") || node.token.IsSymbol(u"/") || node.token.IsSymbol(u"%");
}

// The "/" of the terms whose operands are a decimal or a float: the
// operands on its left bound to it (a * b / c), and the one after it.
std::vector<size_t> DecimalDivisions(const SqlNodes& nodes, const ArithmeticTerms& terms,
                                     const std::vector<std::optional<SqlType>>& types) {
  std::vector<size_t> divisions;
  for (size_t k = 0; k < terms.operators.size(); ++k) {
    if (!nodes[terms.operators[k]].token.IsSymbol(u"/")) continue;
    size_t first = k;
    while (first > 0 && IsMultiplicative(nodes[terms.operators[first - 1]])) --first;
    const std::vector<std::optional<SqlType>> operands(types.begin() + qsizetype(first), types.begin() + qsizetype(k) + 2);
    if (std::any_of(operands.begin(), operands.end(), [](const auto& type) { return !type; })) continue;
    const int family = TypeFamily(*HighestType(operands));
    if (family == 3 || family == 4) divisions.push_back(terms.operators[k]);
  }
  return divisions;
}

SqlNode Token(SqlTokenKind kind, QStringView text) { return SqlNode{SqlNode::Kind::Token, {kind, text}, {}, {}}; }

void RewriteSegment(SqlNodes& nodes, size_t begin, size_t end, const SqlObjects& objects) {
  const std::optional<ArithmeticTerms> terms = ReadArithmetic(nodes, begin, end);
  if (!terms || terms->operators.empty()) return;
  const std::vector<std::optional<SqlType>> types = OperandTypes(nodes, *terms, objects);
  const bool known = std::none_of(types.begin(), types.end(), [](const auto& type) { return !type; });
  const std::optional<SqlType> result = known ? HighestType(types) : std::nullopt;
  // Inserted from the last place to the first, so the earlier keep theirs.
  if (result && result->IsInteger() && result->name != u"BIT") {
    nodes.insert(nodes.begin() + qsizetype(terms->end), SqlNode::Clause(u")"_qs));
    nodes.insert(nodes.begin() + qsizetype(NextSignificant(nodes, begin)),
                 SqlNode::Clause(QStringLiteral("zem_arithmetic(%1, ").arg(QuoteSqlString(TypeText(*result)))));
    return;
  }
  // SQLite divides whole numbers as whole numbers, and keeps a decimal
  // column's whole values as integers: the left side is made a float.
  const std::vector<size_t> divisions = DecimalDivisions(nodes, *terms, types);
  for (auto at = divisions.rbegin(); at != divisions.rend(); ++at)
    nodes.insert(nodes.begin() + qsizetype(*at), {Token(SqlTokenKind::Symbol, u"*"), Token(SqlTokenKind::Whitespace, u" "),
                                                  Token(SqlTokenKind::Number, u"1.0"), Token(SqlTokenKind::Whitespace, u" ")});
}

}  // namespace

void RewriteArithmeticTypes(SqlNodes& nodes, const SqlObjects& objects) {
  if (std::none_of(nodes.begin(), nodes.end(), IsArithmeticOperator)) return;
  const std::vector<std::pair<size_t, size_t>> segments = OperandSegments(nodes);
  for (auto it = segments.rbegin(); it != segments.rend(); ++it) RewriteSegment(nodes, it->first, it->second, objects);
}
