#include "platform/sql/SqlRewrite.h"

#include <algorithm>

namespace {

bool IsSetOperator(const SqlNode& node) {
  return node.IsWord(u"UNION") || node.IsWord(u"EXCEPT") || node.IsWord(u"INTERSECT");
}

bool EndsSelectList(const SqlNode& node) {
  static constexpr QStringView kWords[] = {u"FROM", u"INTO", u"WHERE", u"GROUP", u"HAVING", u"ORDER"};
  return std::any_of(std::begin(kWords), std::end(kWords), [&](QStringView word) { return node.IsWord(word); });
}

// The expressions of a branch's select list, without their aliases; none
// when the branch is not a plain SELECT.
std::optional<std::vector<std::pair<size_t, size_t>>> SelectItems(const SqlNodes& nodes, size_t begin, size_t end) {
  size_t at = NextSignificant(nodes, begin);
  if (at >= end || !nodes[at].IsWord(u"SELECT")) return std::nullopt;
  at = NextSignificant(nodes, at + 1);
  if (at < end && (nodes[at].IsWord(u"DISTINCT") || nodes[at].IsWord(u"ALL"))) at = NextSignificant(nodes, at + 1);
  if (at < end && nodes[at].IsWord(u"TOP")) at = NextSignificant(nodes, NextSignificant(nodes, at + 1) + 1);
  std::vector<std::pair<size_t, size_t>> items;
  size_t item = at, expressionEnd = size_t(-1);
  for (; at <= end; ++at) {
    const bool last = at == end || EndsSelectList(nodes[at]);
    if (last || nodes[at].Is(SqlTokenKind::Comma)) {
      items.emplace_back(item, std::min(at, expressionEnd));
      if (last) return items;
      item = at + 1;
      expressionEnd = size_t(-1);
    } else if (nodes[at].IsWord(u"AS")) {
      expressionEnd = at;
    }
  }
  return items;
}

bool IsNullConstant(const SqlNodes& nodes, const std::pair<size_t, size_t>& item) {
  const size_t first = NextSignificant(nodes, item.first);
  return first < item.second && nodes[first].IsWord(u"NULL") && NextSignificant(nodes, first + 1) >= item.second;
}

}  // namespace

void RewriteSetOperationTypes(SqlNodes& nodes, const SqlObjects& objects) {
  std::vector<size_t> operators;
  for (size_t i = 0; i < nodes.size(); ++i)
    if (IsSetOperator(nodes[i])) operators.push_back(i);
  if (operators.empty()) return;
  // The branches: the first from the SELECT that starts it (an INSERT's
  // rows start after its column list), the last up to the ORDER BY of the
  // whole result.
  size_t begin = 0;
  while (begin < operators[0] && !nodes[begin].IsWord(u"SELECT")) ++begin;
  std::vector<std::vector<std::pair<size_t, size_t>>> branches;
  for (size_t k = 0; k <= operators.size(); ++k) {
    size_t end = k < operators.size() ? operators[k] : begin;
    if (k == operators.size())
      while (end < nodes.size() && !nodes[end].IsWord(u"ORDER")) ++end;
    const size_t first = NextSignificant(nodes, begin);
    if (first < end && (nodes[first].IsWord(u"ALL") || nodes[first].IsWord(u"DISTINCT"))) begin = first + 1;
    const auto items = SelectItems(nodes, begin, end);
    if (!items || (!branches.empty() && items->size() != branches[0].size())) return;
    branches.push_back(*items);
    if (k < operators.size()) begin = operators[k] + 1;
  }
  // Each column's type, where every branch's is known (a NULL takes any).
  std::vector<std::optional<SqlType>> columns;
  for (size_t column = 0; column < branches[0].size(); ++column) {
    std::vector<std::optional<SqlType>> types;
    for (const auto& items : branches) {
      if (IsNullConstant(nodes, items[column])) continue;
      types.push_back(ExpressionType(nodes, items[column].first, items[column].second, objects));
      if (!types.back()) break;
    }
    const bool known = std::all_of(types.begin(), types.end(), [](const auto& type) { return type.has_value(); });
    columns.push_back(known ? HighestType(types) : std::nullopt);
  }
  // A value of a lower type is converted to its column's, after its own
  // branch has worked it out; from the last, so the earlier keep their places.
  constexpr QStringView kValue = u"\x01";
  for (size_t b = branches.size(); b-- > 0;)
    for (size_t column = branches[b].size(); column-- > 0;) {
      const auto [first, end] = branches[b][column];
      if (!columns[column] || IsNullConstant(nodes, branches[b][column])) continue;
      const std::optional<SqlType> own = ExpressionType(nodes, first, end, objects);
      if (!own || !TakesHigherType(*own, *columns[column])) continue;
      const QString call = ConversionCall(*columns[column], kValue.toString(), objects);
      const qsizetype value = call.indexOf(kValue);
      // Before a bare alias, where the expression ends.
      const size_t expressionEnd = ReadArithmetic(nodes, first, end)->end;
      nodes.insert(nodes.begin() + qsizetype(expressionEnd), SqlNode::Clause(call.mid(value + 1)));
      nodes.insert(nodes.begin() + qsizetype(NextSignificant(nodes, first)), SqlNode::Clause(call.left(value)));
    }
}
